#pragma once
#include <QObject>
#include <QString>
#include <QVector>
#include <optional>

#include "db/Erro.h"
#include "db/RowSet.h"

class Banco;

// A post refused by a row set's check after it showed its own message (or, for a
// blank row, none): the caller abandons what it was doing without another message.
class PostAbandonado : public ErroQev {
public:
    PostAbandonado() : ErroQev(QString()) {}
};

// The plans of the current operator and, for the plan under work, every related
// row set, with the reference lists the plan screen offers. Created once at start,
// in its place of the start-up order, and kept for the run.
//
// The related sets are bound to a plan by their two named parameters (CD_OPER and
// SEQ_PLANO; CDOPER and SEQPLANO for the two device sets) and name their update
// table and key columns, so ApplyUpdates(banco) writes them.
class TdmInfoPlano : public QObject {
    Q_OBJECT
public:
    // A snapshot entry of a technical note or a tax document: identifier and number (trimmed).
    struct EntradaNumero {
        qlonglong id = 0;
        QString numero;
    };

    explicit TdmInfoPlano(QObject* parent = nullptr);
    ~TdmInfoPlano() override;
    static TdmInfoPlano* instancia();

    // --- the plan and its relations ------------------------------------------
    RowSet* cdsPlano() const { return m_plano; }
    RowSet* cdsPlanosUF() const { return m_planosUF; }
    RowSet* cdsPlanosMunicipio() const { return m_planosMunicipio; }
    RowSet* cdsPlanoCobertura() const { return m_planoCobertura; }
    RowSet* cdsPlanoServico() const { return m_planoServico; }
    RowSet* cdsPlanoClausula() const { return m_planoClausula; }
    RowSet* cdsPlanoDispositivo() const { return m_planoDispositivo; }
    RowSet* cdsPlanoRede() const { return m_planoRede; }
    RowSet* cdsNotaTecnica() const { return m_notaTecnica; }
    RowSet* cdsTaxaRegistro() const { return m_taxaRegistro; }

    // --- reference lists ---------------------------------------------------------
    RowSet* cdsUF() const { return m_uf; }
    RowSet* cdsMunicipio() const { return m_municipio; }  // nested in cdsUF (by CD_UF)
    RowSet* cdsListaUF() const { return m_listaUF; }
    RowSet* cdsFiltroUF() const { return m_filtroUF; }
    RowSet* cdsUFRede() const { return m_ufRede; }
    RowSet* cdsRegiaoBrasil() const { return m_regiaoBrasil; }
    RowSet* cdsCobertura() const { return m_cobertura; }
    RowSet* cdsServico() const { return m_servico; }
    RowSet* cdsTiposClausulas() const { return m_tiposClausulas; }
    RowSet* cdsTipoClausula() const { return m_tipoClausula; }
    RowSet* cdsClausulas() const { return m_clausulas; }            // nested in cdsTipoClausula
    RowSet* cdsClausulasFaixa() const { return m_clausulasFaixa; }  // nested in cdsTipoClausula
    // The code lists the plan's look-up fields read.
    RowSet* cdsTipoContrato() const { return m_tipoContrato; }
    RowSet* cdsTipoContratoAutogestao() const { return m_tipoContratoAutogestao; }
    RowSet* cdsSegmentacao() const { return m_segmentacao; }
    RowSet* cdsSegmentacaoOdonto() const { return m_segmentacaoOdonto; }
    RowSet* cdsAbrangencia() const { return m_abrangencia; }

    // The related sets of a plan, in the order the plan's deletion empties them.
    QVector<RowSet*> Relacionados() const;
    // The named index of the device sets: theme display position.
    static QString NomeIndOrdem() { return QStringLiteral("IndOrdem"); }
    static QVector<RowSet::ChaveIndice> IndOrdem();
    // The default order of cdsPlanoDispositivo (theme, then description).
    void IndicePadraoDispositivos();

    // --- opening -----------------------------------------------------------------
    // Reads the current operator's plans (CD_OPER bound to the current operator).
    void AbrePlanos();
    // Reads the plans again when another copy of the program wrote to the database since
    // they were read (what this connection wrote is in them already); true when read.
    bool RelePlanosAlterados();
    // For a screen that opens: the plans as read last time, on their first row, when they
    // are the current operator's, hold no change of their own and nothing at all was
    // written to the database since; read again otherwise. True when read.
    bool GarantePlanos();
    // What this connection wrote so far is in the plans (a save merged it into them).
    void PlanosEmDia();
    // Closes a related set, binds it to the plan and opens it.
    void AbreRelacionado(RowSet* rs, const QString& cdOper, qlonglong seqPlano);
    // Whether a related set is open with exactly these parameters.
    bool AbertoPara(const RowSet* rs, const QString& cdOper, qlonglong seqPlano) const;
    // Opens a related set for the current plan unless it already holds its rows.
    void GarantePlano(RowSet* rs);
    // Closes every related set (pending changes are discarded with them).
    void FechaRelacionados();
    // Opens cdsTiposClausulas unless it is open.
    void AbreTiposClausulas();
    // Opens the themes with their nested device lists.
    void AbreTemasDispositivos();
    // The current plan's CD_OPER and SEQ_PLANO (SEQ_PLANO -1 without a plan).
    QString CdOperAtual() const;
    qlonglong SeqPlanoAtual() const;

    // --- numbering ---------------------------------------------------------------
    // Largest SEQ_PLANO of every operator plus one (0 on an empty table).
    qlonglong ProximoSeqPlano();
    // The last technical-note number handed out (-1: not read since the notes were opened).
    qlonglong UltimaNota() const { return m_ultimaNota; }
    // Largest note identifier of the table plus one (1 on an empty table).
    qlonglong ProximaNotaNoBanco();
    // Largest tax identifier of the table plus one (1 on an empty table).
    qlonglong ProximaTaxaNoBanco();

    // --- device themes ------------------------------------------------------------
    // Applies the current operator's filter to the device lists.
    void FiltraDispositivosOperadora();
    // The one characteristic column a theme calls for ("CD_SEGMENTACAO" ...), empty
    // when none is flagged or the themes are closed; cdsTiposClausulas stays on the theme.
    QString CampoCaracteristicaTema(int cdTipoClausula);
    // Whether the current plan gives free-choice access to some coverage item (loads
    // cdsPlanoCobertura for it unless it holds its rows).
    bool PlanoPossuiLivreEscolha();
    // "XV - Nome": theme position in Roman numerals and the theme's name.
    static QString TemaExibido(const QVariant& ordem, const QVariant& nome);

    // --- notes and tax documents ------------------------------------------------------
    void CarregaListaNotas(RowSet& notas);
    bool NotaRepetida(qlonglong id, const QString& protocolo) const;
    void CarregaListaTaxas(RowSet& taxas);
    bool TaxaRepetida(qlonglong id, const QString& numero) const;
    bool ExisteTaxaRepetida(RowSet& taxas);

    // The check of a tax document number as stored: the message of its first failure
    // (empty text: the number is blank), nothing when it passes.
    static std::optional<QString> ConfereDocumentoTaxa(const QString& numero);
    // The check on the current row of a tax set (NR_DOCUMENTO_TAXA); a blank number
    // cancels the row's pending edit. Messages as error dialogs when asked.
    bool ValidaDocumentoTaxa(RowSet& taxas, bool mostraMensagens);
    // The note file-name check; `mensagem` not empty on entry skips it.
    bool ValidaNomeArquivoNota(const QString& nome, QString& mensagem) const;
    static QString MensagemFormatoNomeArquivo();
    // The note dialog's checks on the note being typed: the message to show (the last
    // failing check of the first four, else the file-name check's), empty when it
    // passes; `anterior2008` tells whether the date asks for the 2008 warning.
    QString ConfereNotaTecnica(const RowSet& notas, const QDateTime& agora, bool* anterior2008) const;

    // --- deletion ---------------------------------------------------------------------
    // Deletes the current plan and every related row of it in one transaction; when any
    // statement fails nothing is deleted and the error is raised.
    void ExcluiPlano();

    // The statements of the sets (the area pickers bind them to a plan).
    static QString SqlPlano();
    static QString SqlMunicipiosDisponiveis();
    static QString SqlUfsDisponiveis();

private:
    RowSet* novo(const QString& nome);
    void defineCampos();
    void carregaListasCodigos();
    void antesDeGravarTaxa(RowSet& rs);
    void antesDeGravarNota(RowSet& rs);
    static void carregaLista(RowSet& rs, const QString& campoId, const QString& campoNumero,
                             QVector<EntradaNumero>& lista);
    static bool repetido(const QVector<EntradaNumero>& lista, qlonglong id, const QString& numero);

    RowSet* m_plano;
    RowSet* m_planosUF;
    RowSet* m_planosMunicipio;
    RowSet* m_planoCobertura;
    RowSet* m_planoServico;
    RowSet* m_planoClausula;
    RowSet* m_planoDispositivo;
    RowSet* m_planoRede;
    RowSet* m_notaTecnica;
    RowSet* m_taxaRegistro;
    RowSet* m_uf;
    RowSet* m_municipio;
    RowSet* m_listaUF;
    RowSet* m_filtroUF;
    RowSet* m_ufRede;
    RowSet* m_regiaoBrasil;
    RowSet* m_cobertura;
    RowSet* m_servico;
    RowSet* m_tiposClausulas;
    RowSet* m_tipoClausula;
    RowSet* m_clausulas;
    RowSet* m_clausulasFaixa;
    RowSet* m_tipoContrato;
    RowSet* m_tipoContratoAutogestao;
    RowSet* m_segmentacao;
    RowSet* m_segmentacaoOdonto;
    RowSet* m_abrangencia;

    qlonglong m_ultimaNota = -1;
    // Whether the plans are closed, or the file was opened again or another copy committed
    // since they were read.
    bool outraCopiaGravou(const Banco::VersaoDados& v) const;
    Banco::VersaoDados m_versaoPlanos;  // the database's version when the plans were read
    bool m_notasAbertas = false;
    QVector<EntradaNumero> m_notas;
    QVector<EntradaNumero> m_taxas;
};

