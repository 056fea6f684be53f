#pragma once
#include <QObject>

// The establishments of the current operator.
// Created once at start, in its place of the start-up order, and kept for the run.
class TDmHospital : public QObject {
    Q_OBJECT
public:
    explicit TDmHospital(QObject* parent = nullptr);
    ~TDmHospital() override;
    static TDmHospital* instancia();
};
