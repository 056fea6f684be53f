#pragma once
#include <QObject>

// The plan list of the current operator.
// Created once at start, in its place of the start-up order, and kept for the run.
class TDmPlano : public QObject {
    Q_OBJECT
public:
    explicit TDmPlano(QObject* parent = nullptr);
    ~TDmPlano() override;
    static TDmPlano* instancia();
};
