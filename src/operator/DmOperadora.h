#pragma once
#include <QObject>

// Operator records: registration, checks and selection.
// Created once at start, in its place of the start-up order, and kept for the run.
class TdmOperadora : public QObject {
    Q_OBJECT
public:
    explicit TdmOperadora(QObject* parent = nullptr);
    ~TdmOperadora() override;
    static TdmOperadora* instancia();
};
