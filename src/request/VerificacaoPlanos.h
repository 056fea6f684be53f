#pragma once
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>
#include <optional>

#include "operator/Operadora.h"

class Banco;
class RegrasArea;
class TDmExportacao;

// The columns of a plan the pre-send checks read.
struct PlanoSolicitacao {
    QString cdOper;
    QVariant seqPlano;
    QString nmPlano;
    QVariant segmentacao;   // CD_SEGMENTACAO
    QVariant contrato;      // CD_TIPO_CONTRATO
    QVariant abrangencia;   // CD_ABRANGENCIA
    QVariant financiamento; // CD_TIPO_FINANC
    QVariant acomodacao;    // CD_PADRAO_ACOMODACAO
    QVariant posEstabelecido;  // CD_OPCAO_POS_ESTABELECIDO
    QVariant vinculoAtivo, vinculoInativo, semVinculo;  // LG_VB_...
    QVariant livreEscolha;  // LG_TOTAL_LIVRE_ESCOLHA
    QVariant consistente;   // LG_CONSISTENTE
    QVariant statusEnvio;   // CD_STATUS_ENVIO

    // From any row source: `valor(coluna)` answers a TB_PLANOS column by name.
    static PlanoSolicitacao De(const std::function<QVariant(const QString&)>& valor);
    qlonglong seq() const { return seqPlano.toLongLong(); }
    int seg() const { return segmentacao.toInt(); }
};

// One error the checks found, before it is numbered into the shared error list.
struct AchadoSolicitacao {
    QString campo;
    QString mensagem;
};

// The regulator's pre-send checks of the request screen, as logic without widgets.
// One object serves one action (a send, a check, the first verification): what is the
// same for every plan (the establishments of classifications 2 and 3, the country's
// states and municipality counts) is read once. Every finding becomes a row of the
// shared error list, numbered by `QtdErros`.
class TVerificacaoPlanos {
public:
    TVerificacaoPlanos(Banco& banco, TDmExportacao& exportacao, const TOperadora& operadora);
    ~TVerificacaoPlanos();

    int QtdErros = 0;
    bool ErroTabela = false;
    bool PlanoConsistente = true;
    bool RedeVinculada = true;

    // Operator record and code tables: rows under "TODOS OS PLANOS"; either sets ErroTabela.
    void VerificaOperadora();
    void VerificaTabelas();

    // Every check of one plan, in order; leaves PlanoConsistente and RedeVinculada.
    void VerificaPlano(const PlanoSolicitacao& plano);

    // The first verification of the screen for one plan whose LG_CONSISTENTE is "S":
    // the network checks (establishments in the stop-early form), then the free-choice
    // answer. Returns the flags to store (LG_CONSISTENTE, LG_REDE_VINCULADA).
    std::pair<bool, bool> VerificacaoInicial(const PlanoSolicitacao& plano);

    // The steps, public for the screen's tests.
    void VerificaTabelaPlano(const PlanoSolicitacao& p);                 // 6
    void VerificaEstabelecimentos(const PlanoSolicitacao& p, bool paraNoPrimeiro);  // 7
    void VerificaVinculoNaoHospitalar(const PlanoSolicitacao& p);        // 8
    void VerificaAtributos(const PlanoSolicitacao& p);                   // 9
    void VerificaArea(const PlanoSolicitacao& p);                        // 10
    void VerificaNotasTecnicas(const PlanoSolicitacao& p);               // 11
    void VerificaTaxas(const PlanoSolicitacao& p);                       // 12
    void VerificaRede(const PlanoSolicitacao& p);                        // 13
    void VerificaRedeOdontologica(const PlanoSolicitacao& p);            // 14

    // The establishment prefix and findings of one establishment row (ID_ESTB_SAUD,
    // CD_CNPJ_ESTB_SAUD, CD_CNES, RAZAO_SOCIAL_ESTB_SAUD, CD_CLASSIF_ESTAB_SAUDE,
    // CD_TIPO_ESTB_SAUD, CD_TIPO_CONTRATO_ESTB_SAUDE, DT_VINCULO_OPER, CD_DISP_SERVICO,
    // ID_MUNC, CD_OPER_INTERMEDIADORA, in that order).
    static QVector<AchadoSolicitacao> AchadosEstabelecimento(const QVariantList& estab);
    // The messages of one tax document number (not trimmed).
    static std::optional<QString> MensagemTaxa(const QString& documento);
    // Whether two documents carry the same number, surrounding blanks aside.
    static bool ExisteNumeroRepetido(const QStringList& numeros);

private:
    enum class Limpa { Consistencia, Rede, Nada };
    void erro(const PlanoSolicitacao* p, const QString& campo, const QString& mensagem, Limpa limpa);
    void erroTabela(const QString& campo, const QString& mensagem);
    const QVector<std::pair<qlonglong, QVector<AchadoSolicitacao>>>& estabelecimentosGerais();
    const QVector<AchadoSolicitacao>& julgado(const QVariantList& estabelecimento);

    Banco& m_banco;
    TDmExportacao& m_exportacao;
    TOperadora m_operadora;
    std::unique_ptr<RegrasArea> m_area;
    std::optional<QVector<std::pair<qlonglong, QVector<AchadoSolicitacao>>>> m_gerais;
    std::optional<QStringList> m_ufsPais;
    QHash<qlonglong, QVector<AchadoSolicitacao>> m_julgados;  // linked hospitals, by identifier
    std::optional<int> m_ufsSemDemais;  // states without a class-3 establishment
};
