#include "devices/DmClausula.h"

#include "common/Identificadores.h"
#include "db/DmConexao.h"
#include "db/DmLookup.h"
#include "db/Erro.h"
#include "db/RowSet.h"
#include "db/Valores.h"
#include "operator/Operadora.h"

namespace {
TdmClausula* g_instancia = nullptr;

const QString kCodigo = QStringLiteral("CODIGO");
const QString kDescricao = QStringLiteral("DESCRICAO");
const QString kTema = QStringLiteral("CD_TIPO_CLAUSULA");
const QString kChave = QStringLiteral("CD_CLAUSULA_OPERADORA");

const QString kSqlTema =
    QStringLiteral("SELECT * FROM TA_TIPO_CLAUSULA WHERE CD_TIPO_CLAUSULA = :CD_TIPO_CLAUSULA");

// A code list as two columns, code and description.
Resultado lista(const Resultado& tabela) {
    Resultado r;
    r.colunas = {kCodigo, kDescricao};
    for (const QVariantList& l : tabela.linhas) r.linhas.push_back({l.value(0), l.value(1)});
    return r;
}

Resultado lista(const ListaFixa& fixa) {
    Resultado r;
    r.colunas = {kCodigo, kDescricao};
    for (const ListaFixa::Item& i : fixa.itens) r.linhas.push_back({i.Codigo, i.Descricao});
    return r;
}

QString rotuloTema(const RowSet& rs, int linha) {
    return RotuloTema(rs.ValorDaLinha(linha, QStringLiteral("NR_ORDEM_EXIBICAO")).toInt(),
                      rs.ValorDaLinha(linha, QStringLiteral("DE_TIPO_CLAUSULA")).toString());
}
}  // namespace

TdmClausula::TdmClausula(QObject* parent)
    : QObject(parent), m_cdsClausula(new RowSet(this)), m_cdsLkpTipoClausula(new RowSet(this)) {
    g_instancia = this;
    m_cdsClausula->setObjectName(QStringLiteral("cdsClausula"));
    m_cdsLkpTipoClausula->setObjectName(QStringLiteral("cdsLkpTipoClausula"));

    Campo tema;
    tema.nome = QStringLiteral("calcTEMA");
    tema.calculo = [](const RowSet& rs, int linha) { return QVariant(rotuloTema(rs, linha)); };
    m_cdsLkpTipoClausula->AdicionaCampo(tema);

    Campo lkpTema;
    lkpTema.nome = QStringLiteral("LkpTipoClausula");
    lkpTema.rotulo = QStringLiteral("Tema");
    lkpTema.lookup = {m_cdsLkpTipoClausula, kTema, kTema, QStringLiteral("calcTEMA")};
    m_cdsClausula->AdicionaCampo(lkpTema);
    for (int i = 0; i < kQtCaracteristicas; ++i) {
        const auto c = Caracteristica(i);
        auto* l = new RowSet(this);
        m_listas << l;
        Campo f;
        f.nome = Caracteristicas::CampoLookup(c);
        f.rotulo = Caracteristicas::Legenda(c);
        f.lookup = {l, Caracteristicas::Coluna(c), kCodigo, kDescricao};
        m_cdsClausula->AdicionaCampo(f);
    }
    Campo publicado;
    publicado.nome = QStringLiteral("CalcTxPublicado");
    publicado.calculo = [](const RowSet& rs, int linha) {
        const QVariant v = rs.ValorDaLinha(linha, QStringLiteral("CD_PUBLICADO"));
        return !nulo(v) && v.toInt() == 1 ? QVariant(QStringLiteral("DISPOSITIVO PUBLICADO"))
                                          : QVariant();
    };
    m_cdsClausula->AdicionaCampo(publicado);

    connect(m_cdsClausula, &RowSet::registroMudou, this, &TdmClausula::mostraDispositivo);
}

TdmClausula::~TdmClausula() {
    if (g_instancia == this) g_instancia = nullptr;
}

TdmClausula* TdmClausula::instancia() { return g_instancia; }

void TdmClausula::criaListas() {
    if (m_listasCriadas) return;
    const TdmLookup* l = TdmLookup::instancia();
    if (!l) throw ErroQev(QStringLiteral("As tabelas de códigos não foram carregadas."));
    using C = Caracteristica;
    const auto carrega = [this](C c, Resultado r) { m_listas[int(c)]->Carrega(std::move(r)); };
    carrega(C::TipoContrato, lista(l->cdsTipoContrato));
    carrega(C::Segmentacao, lista(l->cdsSegmentacao));
    carrega(C::Abrangencia, lista(l->cdsAbrangencia));
    carrega(C::PadraoAcomodacao, lista(l->cdsLkpPadraoAcomodacao));
    carrega(C::FaixaEtaria, lista(l->cdsLkpFaixaEtaria));
    carrega(C::CoberturaAdicional, lista(l->cdsLkpCoberturaAdicional));
    carrega(C::FormaAcesso, lista(l->cdsLkpFormaAcesso));
    carrega(C::FatorModerador, lista(l->cdsLkpFatorModerador));
    carrega(C::TipoFinanc, lista(l->cdsTipoFinanciamento));
    m_listasCriadas = true;
}

void TdmClausula::AbreClausulas() {
    criaListas();
    Banco& b = DmConexao()->banco();
    m_cdsLkpTipoClausula->Abre(b, QStringLiteral("SELECT * FROM TA_TIPO_CLAUSULA"));
    m_cdsLkpTipoClausula->DefineIndice(QStringLiteral("IndOrdem"),
                                       {{QStringLiteral("NR_ORDEM_EXIBICAO")}});
    m_temaAtual = Resultado();
    m_temaLido = QVariant();
    m_cdsClausula->Abre(b,
                        QStringLiteral("SELECT * FROM TB_CLAUSULA_OPERADORA WHERE CD_OPER = :CD_OPER"),
                        ParamsNomeados{{QStringLiteral("CD_OPER"), OperadoraAtual().CdOper}});
    mostraDispositivo();
}

void TdmClausula::mostraDispositivo() {
    const RowSet* rs = m_cdsClausula;
    const QVariant tema = rs->Ativo() && !rs->IsEmpty() ? rs->Valor(kTema) : QVariant();
    // The theme is read once per device shown (the set signals a move more than once).
    if (nulo(tema)) {
        m_temaAtual = Resultado();
        m_temaLido = QVariant();
    } else if (nulo(m_temaLido) || m_temaLido.toString() != tema.toString()) {
        ++m_leiturasTema;
        m_temaAtual = DmConexao()->banco().consulta(
            kSqlTema, ParamsNomeados{{QStringLiteral("CD_TIPO_CLAUSULA"), tema}});
        m_temaLido = tema;
        if (m_cdsLkpTipoClausula->Ativo()) m_cdsLkpTipoClausula->Locate(kTema, tema);
    }
    if (m_tela) m_tela->MostraOrientacao(valorTema(QStringLiteral("TX_TIPO_CLAUSULA")).toString());
    emit dispositivoMostrado();
}

QVariant TdmClausula::valorTema(const QString& coluna) const {
    return m_temaAtual.vazio() ? QVariant() : m_temaAtual.valor(0, coluna);
}

Caracteristica TdmClausula::CaracteristicaAtual() const {
    if (m_temaAtual.vazio()) return Caracteristica::Nenhuma;
    return Caracteristicas::DoTema(Caracteristicas::Ordem::Dispositivos,
                                   [this](const QString& flag) { return valorTema(flag); });
}

bool TdmClausula::TemaAtualInativo() const {
    return !nulo(valorTema(QStringLiteral("DT_PUBLICACAO_FIM")));
}

QString TdmClausula::CampoCaracteristica(const QVariant& tema) {
    const Resultado r = DmConexao()->banco().consulta(
        kSqlTema, ParamsNomeados{{QStringLiteral("CD_TIPO_CLAUSULA"), tema}});
    if (r.vazio()) return QString();
    return Caracteristicas::Flag(Caracteristicas::DoTema(
        Caracteristicas::Ordem::Dispositivos, [&r](const QString& flag) { return r.valor(0, flag); }));
}

void TdmClausula::RegistraTelaDispositivo(TelaDispositivo* tela) {
    m_tela = tela;
    if (m_tela && !m_temaAtual.vazio())
        m_tela->MostraOrientacao(valorTema(QStringLiteral("TX_TIPO_CLAUSULA")).toString());
}

void TdmClausula::AbreVinculos() {
    m_vinculos.clear();
    const Resultado r = DmConexao()->banco().consulta(
        QStringLiteral("SELECT DISTINCT CD_CLAUSULA_OPERADORA FROM RL_PLANO_CLAUSULA"));
    for (const QVariantList& l : r.linhas)
        if (!nulo(l.value(0))) m_vinculos.insert(l.value(0).toLongLong());
}

void TdmClausula::LiberaVinculos() { m_vinculos.clear(); }

bool TdmClausula::DispositivoVinculado(const QVariant& cdClausula) const {
    return !nulo(cdClausula) && m_vinculos.contains(cdClausula.toLongLong());
}

Resultado TdmClausula::qryRelDisp(const QString& cdOper, const QVariant& tema, OrdemRelDisp ordem) {
    QString sql = QStringLiteral(
        "SELECT TA.DE_TIPO_CLAUSULA, TA.NR_ORDEM_EXIBICAO, TA.DT_PUBLICACAO_FIM, TB.* "
        "FROM TB_CLAUSULA_OPERADORA TB INNER JOIN TA_TIPO_CLAUSULA TA "
        "ON TA.CD_TIPO_CLAUSULA = TB.CD_TIPO_CLAUSULA WHERE TB.CD_OPER = ?");
    ParamsPosicionais params{cdOper};
    if (tema.isValid() && !tema.isNull()) {
        sql += QStringLiteral(" AND TA.CD_TIPO_CLAUSULA = ?");
        params << tema;
    }
    // Devices of the same key keep the order they were stored in.
    sql += ordem == OrdemRelDisp::CodigoIdentificacao
               ? QStringLiteral(" ORDER BY TB.CD_IDENTIFICACAO_TEXTO, TB.CD_CLAUSULA_OPERADORA")
               : QStringLiteral(" ORDER BY TA.NR_ORDEM_EXIBICAO, TB.CD_CLAUSULA_OPERADORA");
    return DmConexao()->banco().consulta(sql, params);
}

Resultado TdmClausula::qryDispositivo() {
    return DmConexao()->banco().consulta(QStringLiteral("SELECT * FROM TA_TIPO_CLAUSULA"));
}
