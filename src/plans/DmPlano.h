#pragma once
#include <QObject>

class RowSet;

// The current operator's plans that need a network and have none (every segmentation
// but the odontological one, no linked establishment). Read-only.
// Created once at start, in its place of the start-up order, and kept for the run.
class TDmPlano : public QObject {
    Q_OBJECT
public:
    explicit TDmPlano(QObject* parent = nullptr);
    ~TDmPlano() override;
    static TDmPlano* instancia();

    // CD_OPER, SEQ_PLANO and NM_PLANO of those plans.
    RowSet* cdsSemEstabSaude() const { return m_semEstab; }
    // Reads the list afresh for the current operator.
    void AbreSemEstabSaude();
    // How many of the current operator's plans that need a network (neither odontological
    // nor free-choice) have no link.
    int QtdPlanosSemRede();

private:
    RowSet* m_semEstab;
};
