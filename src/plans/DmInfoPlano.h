#pragma once
#include <QObject>

// The plans of the current operator and the cached related rows of the plan under work.
// Created once at start, in its place of the start-up order, and kept for the run.
class TdmInfoPlano : public QObject {
    Q_OBJECT
public:
    explicit TdmInfoPlano(QObject* parent = nullptr);
    ~TdmInfoPlano() override;
    static TdmInfoPlano* instancia();
};
