#pragma once
#include <QObject>

// The contract devices of the current operator.
// Created once at start, in its place of the start-up order, and kept for the run.
class TdmClausula : public QObject {
    Q_OBJECT
public:
    explicit TdmClausula(QObject* parent = nullptr);
    ~TdmClausula() override;
    static TdmClausula* instancia();
};
