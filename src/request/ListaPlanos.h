#pragma once
#include <QHash>
#include <QString>

class Banco;
class RowSet;

// The plan lists of the request and release screens: the name and the descriptions of
// the plan's contract type, geographic coverage and segmentation (read once from the
// code tables).
class ListaPlanos {
public:
    explicit ListaPlanos(Banco& banco);
    // After the row set's first opening: hides every column but the name and adds the
    // three descriptions ("lkpContratacao", "lkpAbrangencia", "lkpSegmentacao"), which
    // stay across later openings; the set writes its changes to TB_PLANOS by plan.
    void PreparaColunas(RowSet& planos) const;

private:
    QHash<int, QString> m_contratos, m_abrangencias, m_segmentacoes;
};
