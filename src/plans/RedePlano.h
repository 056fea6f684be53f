#pragma once
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QVector>
#include <functional>

#include "db/Banco.h"
#include "plans/RegrasRede.h"

class RowSet;
class TdmInfoPlano;

// The "Vinculação de rede" tab's logic: the plan's network (cdsPlanoRede of
// TdmInfoPlano) and the establishments offered for it (qryEstabManutRede): linking and
// unlinking (one, marked, all), the name box, both searches, the refresh after the
// establishment screen saved, copying the network of another plan, the export, the
// public registry page, and the network rules over the rows as they stand on the
// screen. Links change only the cached network: the plan's save writes them, cancel
// discards them. Messages and questions go through MyMessageDlg.
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
    // For segmentations 1 and 8: the links without urgency care leave the cached network.
    void RetiraSemUrgencia(int segmentacao);

    // --- linking -------------------------------------------------------------------------
    // ">>": every establishment offered that is not linked yet (for segmentations 1 and 8
    // only those with urgency care); the number linked.
    int VinculaTodos();
    // ">": the offered rows given (physical rows), each one not linked yet.
    int Vincula(const QVector<int>& linhasDisponiveis);
    // "<": the linked rows given (physical rows).
    void Desvincula(const QVector<int>& linhasVinculadas);
    // "<<": after the confirmation, every link; false when the user said no.
    bool DesvinculaTodos();

    // --- moving and searching --------------------------------------------------------------
    // The name box: the offered list moves to the first establishment whose name begins
    // with the text, ignoring case; false when none does.
    bool LocalizaNome(const QString& texto);
    // The statement of both searches (with the urgency condition for the available search
    // of a plan of segmentation 1) and its bound values.
    static QString SqlPesquisa(bool soUrgencia);
    static ParamsPosicionais ParametrosPesquisa(bool soUrgencia);
    bool PesquisaSoUrgencia() const;
    // Moves the offered list to the establishment; false when it is not offered.
    bool LocalizaDisponivel(qlonglong idEstab);
    // Moves the network to the establishment; when it is not linked, warns
    // "Estabelecimento não vinculado ao plano !" and returns false.
    bool LocalizaVinculado(qlonglong idEstab);

    // After the establishment screen saved: the offered list is read again, the linked
    // rows of establishments found there take their six shown columns again, the offered
    // list returns to `idAberto` and the network to the row it was on.
    void AtualizaAposCadastro(qlonglong idAberto);

    // --- copying the network of another plan ---------------------------------------------------
    // The plans the copy offers: every other plan that has a network (statement and values).
    static QString SqlPlanosComRede();
    static ParamsPosicionais ParametrosPlanosComRede(qlonglong seqAtual);
    // Reads the other plan's network; with none, warns; otherwise asks, then links each
    // establishment not linked yet (for segmentations 1 and 8 only those with urgency care)
    // and tells how many were copied. The number copied; -1 when nothing was asked or the
    // answer was no.
    int CopiaRede(qlonglong seqOutroPlano, const QString& nomeOutroPlano);

    // --- the rest of the tab -------------------------------------------------------------------
    // Exports the linked establishments (every column of the network) into a new
    // spreadsheet and opens it; the sheet takes the first 30 characters of the plan's name.
    QString ExportaRede();
    // Opens the public registry page of the linked establishment under the cursor (nothing
    // for a blank CNPJ); when it cannot be opened, says so.
    void ConsultaCadastroPublico();

    // The tab's buttons (the tab enabled or not, the plan being added or edited or not).
    struct Botoes {
        bool vincula = false;     // ">>", ">" and the register button
        bool desvincula = false;  // "<" and "<<"
        bool copia = false;
        bool pesquisaVinculados = false;  // and the export
        bool cnes = false;
        bool pesquisaDisponiveis = false;
    };
    Botoes Disponiveis(bool editando, bool abaHabilitada, bool pesquisaHabilitada) const;

    // --- rules -------------------------------------------------------------------------------------
    // The network rules of the plan over the rows as they stand (links, states and
    // municipalities not yet saved included); empty text = acceptable.
    QString RegrasRede(const QString& cdOper, qlonglong seqPlano, int abrangencia);

signals:
    // The offered list was read (again): the screen sets up its grid.
    void disponiveisLidos();

private:
    int segmentacaoDoPlano() const;
    bool soUrgenciaDoPlano() const;
    // Appends a link to the plan's network made at `momento`; `valor` answers the
    // establishment's columns (ID_ESTB_SAUD, CD_CNES, CD_CNPJ_ESTB_SAUD, ID_MUNC, CD_UF,
    // RAZAO_SOCIAL_ESTB_SAUD, LG_URGENCIA_EMERGENCIA) by name.
    void novoVinculo(const std::function<QVariant(const QString&)>& valor, const QDateTime& momento);

    TdmInfoPlano* m_dm;
    RowSet* m_disponiveis;
    int m_segmentacao = -1;
};
