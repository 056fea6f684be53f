#pragma once
#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <functional>
#include <memory>

#include "db/RowSet.h"
#include "operator/Operadora.h"
#include "request/ListaPlanos.h"
#include "request/TransmissaoArq.h"

class Banco;
class TDmExportacao;

// What the request screen does, without its window: the list of plans that may be
// sent (never sent or released for rectification), readiness, the first verification,
// the checks of a send or check action and the request files it writes.
class TSolicitaRegPlano : public QObject {
    Q_OBJECT
public:
    TSolicitaRegPlano(Banco& banco, TDmExportacao& exportacao, const TOperadora& operadora,
                      QObject* pai = nullptr);
    ~TSolicitaRegPlano() override;

    // The list: "SELECT P.* FROM TB_PLANOS P" with the status condition and, when given,
    // the filter (the status condition joined to it as one unit).
    RowSet& cdsPlanos() { return m_planos; }
    void AbreLista(const QString& filtro = QString(), const QVariantList& parametros = {});
    static QString CondicaoStatus();

    // A plan is ready when LG_CONSISTENTE and LG_REDE_VINCULADA, trimmed, are "S".
    bool Pronto(int linha) const;
    // True when something is selected and every selected plan is ready, or, with
    // nothing selected, when the current plan is ready.
    bool PodeEnviar(const QSet<int>& selecionadas) const;
    // The current plan when ready, else the first ready plan (-1: none; the list then
    // moves to its first row).
    int SelecionaPronto();
    // " 1 plano  -  Nenhum selecionado" and the like.
    static QString Rodape(int planos, int selecionados);

    // Progress of a long walk: (done, total).
    using Progresso = std::function<void(int, int)>;

    // The first verification of the screen (network checks of the plans marked
    // consistent); the changed flags are written at the end.
    void VerificacaoInicial(const Progresso& progresso = {});

    // The checks of a send or check action on the selected plans (physical rows; none
    // selected: the ready plan SelecionaPronto chooses). The flags of each plan are
    // written as soon as its checks end; unless only checking, each plan that passed
    // gets its request file and is queued.
    struct Acao {
        TListaEnvio ListaEnvio;
        QString IdSolicitacao;
        int QtdErros = 0;
        bool ErroTabela = false;
        QSet<int> selecionadas;  // what was checked (the choice of SelecionaPronto included)
    };
    Acao SolicitaEnvio(QSet<int> selecionadas, bool soVerificar, const Progresso& progresso = {});

    // Writes the flags still pending in the list (a write refused earlier); throws
    // ErroQev when the database refuses them again.
    void GravaPendentes();

    // What the last check of a plan found (the first verification and every check of
    // this opening), as "field: message" lines; empty when its last check found
    // nothing. Verificado tells whether the plan was checked at all.
    QStringList Pendencias(int linha) const;
    bool Verificado(int linha) const;
    // The hint of a plan's row: for a plan not ready, why (or how to find out).
    QString DicaLinha(int linha) const;

    // The descriptions shown in the list.
    QString DeContratacao(int linha) const;
    QString DeAbrangencia(int linha) const;
    QString DeSegmentacao(int linha) const;

private:
    void gravaIndicadores(int linha, bool consistente, bool rede);
    // Keeps, for the plan of `linha`, the error rows appended since row `desde`.
    void guardaPendencias(int linha, int desde);

    Banco& m_banco;
    TDmExportacao& m_exportacao;
    TOperadora m_operadora;
    ListaPlanos m_lista;
    RowSet m_planos;
    QHash<qlonglong, QStringList> m_pendencias;  // by SEQ_PLANO
};
