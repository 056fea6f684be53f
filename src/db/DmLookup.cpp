#include "db/DmLookup.h"

#include "db/DmConexao.h"

namespace {
TdmLookup* g_instancia = nullptr;

ListaFixa lista(std::initializer_list<ListaFixa::Item> itens) { return ListaFixa{QVector<ListaFixa::Item>(itens)}; }
}  // namespace

QString ListaFixa::Descricao(const QVariant& codigo) const {
    for (const Item& i : itens)
        if (i.Codigo.toString() == codigo.toString()) return i.Descricao;
    return QString();
}

TdmLookup::TdmLookup(QObject* parent) : QObject(parent) {
    g_instancia = this;
    Banco& b = DmConexao()->banco();
    cdsTipoFinanciamento = b.consulta(QStringLiteral("SELECT CD_TIPO_FINANC, DE_TIPO_FINANC FROM TA_TIPO_FINANCIAMENTO"));
    cdsTipoContrato = b.consulta(QStringLiteral("SELECT CD_TIPO_CONTRATO, DE_TIPO_CONTRATO FROM TA_TIPO_CONTRATO"));
    cdsAbrangencia = b.consulta(QStringLiteral("SELECT CD_ABRANGENCIA, DE_ABRANGENCIA FROM TA_TIPO_ABRANGENCIA"));
    cdsSegmentacao = b.consulta(QStringLiteral("SELECT CD_SEGMENTACAO, DE_SEGMENTACAO FROM TA_TIPO_SEGMENTACAO"));
    cdsTipoContratoAutogestao = b.consulta(QStringLiteral(
        "SELECT CD_TIPO_CONTRATO, DE_TIPO_CONTRATO FROM TA_TIPO_CONTRATO WHERE CD_TIPO_CONTRATO <> 1"));
    cdsSegmentacaoOdonto = b.consulta(QStringLiteral(
        "SELECT CD_SEGMENTACAO, DE_SEGMENTACAO FROM TA_TIPO_SEGMENTACAO WHERE CD_SEGMENTACAO = 4"));
    cdsClassificacaoOperadora = b.consulta(QStringLiteral(
        "SELECT CD_GRUPO_CLASSIFICACAO, DE_GRUPO_CLASSIFICACAO FROM TA_CLASSIF_OPERADORA "
        "ORDER BY DE_GRUPO_CLASSIFICACAO COLLATE PTBR"));

    const QString s = QStringLiteral("S"), n = QStringLiteral("N");
    cdsLkpPadraoAcomodacao = lista({{QStringLiteral("I"), QStringLiteral("Individual")},
                                    {QStringLiteral("C"), QStringLiteral("Coletiva")}});
    cdsLkpFaixaEtaria = lista({{QStringLiteral("1"), QStringLiteral("Antes da vigência da RN 63/03")},
                               {QStringLiteral("2"), QStringLiteral("Depois da vigência da RN 63/03")}});
    cdsLkpCoberturaAdicional = lista({{s, QStringLiteral("Sim")}, {n, QStringLiteral("Não")}});
    cdsLkpFormaAcesso = lista({{s, QStringLiteral("Sim")}, {n, QStringLiteral("Não")}});
    cdsLkpFatorModerador = lista({{n, QStringLiteral("Não se aplica")},
                                  {QStringLiteral("C"), QStringLiteral("Co-Participação")},
                                  {QStringLiteral("F"), QStringLiteral("Franquia")},
                                  {QStringLiteral("A"), QStringLiteral("Ambos")}});
    cdsLkpSetorial = lista({{1, QStringLiteral("Setorial")}, {2, QStringLiteral("Não Setorial")}});
}

TdmLookup::~TdmLookup() {
    if (g_instancia == this) g_instancia = nullptr;
}

TdmLookup* TdmLookup::instancia() { return g_instancia; }
