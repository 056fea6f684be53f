#pragma once
#include <QObject>
#include <QString>

class RowSet;
class TdmInfoPlano;

// The "Vinculação de rede" tab's logic: the plan's network (cdsPlanoRede of
// TdmInfoPlano) and the establishments offered for it (qryEstabManutRede).
//
// The plan screen and its save call the operations below in their fixed places. The
// tab's moves, searches, copy and export, and the network rules, are the work of the
// network tab itself: RegrasRede gives no message until they are built.
class TRedePlano : public QObject {
    Q_OBJECT
public:
    explicit TRedePlano(TdmInfoPlano* dm, QObject* parent = nullptr);

    // The establishments offered (hospital care of the plan's operator; only those with
    // urgency care for segmentations 1 and 8), read when the tab needs them.
    RowSet* qryEstabManutRede() const { return m_disponiveis; }
    // The statement and the grid's hint for a segmentation.
    static QString SqlDisponiveis(int segmentacao);
    static QString DicaDisponiveis(int segmentacao);
    int SegmentacaoDisponiveis() const { return m_segmentacao; }

    // Loading the network: the plan's links unless they are held, and (when asked, as the
    // tab does) the establishments offered unless they are read.
    void CarregaRede(bool disponiveis = true);
    // The segmentation changed: the offered list is read again for it when next needed;
    // for segmentations 1 and 8 the plan's links without urgency care leave the cached
    // network.
    void RecriaDisponiveis(int segmentacao);

    // The network rules of the plan; empty text = acceptable.
    QString RegrasRede(const QString& cdOper, qlonglong seqPlano, int abrangencia);

private:
    TdmInfoPlano* m_dm;
    RowSet* m_disponiveis;
    int m_segmentacao = -1;
};
