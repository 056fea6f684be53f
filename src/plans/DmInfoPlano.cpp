#include "plans/DmInfoPlano.h"

#include <QDate>
#include <QDateTime>

#include "common/Identificadores.h"
#include "common/MensagemDlg.h"
#include "common/Win1252.h"
#include "db/DmConexao.h"
#include "db/DmLookup.h"
#include "db/Mascara.h"
#include "db/Transacao.h"
#include "db/Valores.h"
#include "operator/Operadora.h"

namespace {
TdmInfoPlano* g_instancia = nullptr;

const QString kCdOper = QStringLiteral("CD_OPER");
const QString kSeqPlano = QStringLiteral("SEQ_PLANO");
const QString kNrDocumento = QStringLiteral("NR_DOCUMENTO_TAXA");
const QString kNrProtocolo = QStringLiteral("NR_PROTOCOLO_NOTA_TECNICA");
const QString kNmArquivo = QStringLiteral("NM_ARQUIVO_NOTA_TECNICA");

Banco& banco() { return DmConexao()->banco(); }

// The parameter names of a related set: (operator, plan).
QPair<QString, QString> nomesParametros(const RowSet* rs) {
    for (auto it = rs->Parametros().constBegin(); it != rs->Parametros().constEnd(); ++it)
        if (it.key().compare(QLatin1String("CDOPER"), Qt::CaseInsensitive) == 0)
            return {QStringLiteral("CDOPER"), QStringLiteral("SEQPLANO")};
    return {kCdOper, kSeqPlano};
}

Campo calculado(const QString& nome, TipoCampo tipo, int tamanho,
                std::function<QVariant(const RowSet&, int)> f) {
    Campo c;
    c.nome = nome;
    c.tipo = tipo;
    c.tamanho = tamanho;
    c.calculo = std::move(f);
    return c;
}

Campo lookup(const QString& nome, RowSet* lista, const QString& chave, const QString& resultado) {
    Campo c;
    c.nome = nome;
    c.lookup = {lista, chave, chave, resultado};
    return c;
}

Campo oculto(const QString& nome) {
    Campo c;
    c.nome = nome;
    c.visivel = false;
    return c;
}

Campo rotulado(const QString& nome, const QString& rotulo, const QString& mascara = QString()) {
    Campo c;
    c.nome = nome;
    c.rotulo = rotulo;
    c.mascara = mascara;
    return c;
}

QVariant calcTema(const RowSet& rs, int linha) {
    return TdmInfoPlano::TemaExibido(rs.ValorDaLinha(linha, QStringLiteral("NR_ORDEM_EXIBICAO")),
                                     rs.ValorDaLinha(linha, QStringLiteral("DE_TIPO_CLAUSULA")));
}

QVariant identificacaoDispositivo(const RowSet& rs, int linha) {
    return rs.ValorDaLinha(linha, QStringLiteral("CD_IDENTIFICACAO_TEXTO")).toString() +
           QStringLiteral(" - ") +
           rs.ValorDaLinha(linha, QStringLiteral("DE_CLAUSULA_OPERADORA")).toString();
}

// The device columns a plan's device sets carry.
const char* const kSqlDispositivosPlano =
    "SELECT PC.CD_OPER, PC.SEQ_PLANO, PC.CD_CLAUSULA_OPERADORA, CO.CD_TIPO_CLAUSULA, "
    "CO.CD_FAIXA_ETARIA, CO.CD_SEGMENTACAO, CO.CD_ABRANGENCIA, CO.CD_TIPO_CONTRATO, "
    "CO.CD_TIPO_FINANC, CO.CD_FORMA_ACESSO, CO.CD_COBERTURA_ADICIONAL, CO.CD_PADRAO_ACOMODACAO, "
    "CO.CD_FATOR_MODERADOR, TA.DE_TIPO_CLAUSULA, TA.NR_ORDEM_EXIBICAO, TA.DT_PUBLICACAO_FIM%1 "
    "FROM RL_PLANO_CLAUSULA PC "
    "INNER JOIN TB_CLAUSULA_OPERADORA CO ON CO.CD_CLAUSULA_OPERADORA = PC.CD_CLAUSULA_OPERADORA "
    "INNER JOIN TA_TIPO_CLAUSULA TA ON TA.CD_TIPO_CLAUSULA = CO.CD_TIPO_CLAUSULA "
    "WHERE PC.SEQ_PLANO = :SEQPLANO AND PC.CD_OPER = :CDOPER ORDER BY TA.NR_ORDEM_EXIBICAO";

const ParamsNomeados kParamsPlano{{QStringLiteral("CD_OPER"), QVariant()},
                                  {QStringLiteral("SEQ_PLANO"), QVariant()}};
const ParamsNomeados kParamsDispositivo{{QStringLiteral("CDOPER"), QVariant()},
                                        {QStringLiteral("SEQPLANO"), QVariant()}};
}  // namespace

TdmInfoPlano::TdmInfoPlano(QObject* parent)
    : QObject(parent),
      m_plano(novo(QStringLiteral("cdsPlano"))),
      m_planosUF(novo(QStringLiteral("cdsPlanosUF"))),
      m_planosMunicipio(novo(QStringLiteral("cdsPlanosMunicipio"))),
      m_planoCobertura(novo(QStringLiteral("cdsPlanoCobertura"))),
      m_planoServico(novo(QStringLiteral("cdsPlanoServico"))),
      m_planoClausula(novo(QStringLiteral("cdsPlanoClausula"))),
      m_planoDispositivo(novo(QStringLiteral("cdsPlanoDispositivo"))),
      m_planoRede(novo(QStringLiteral("cdsPlanoRede"))),
      m_notaTecnica(novo(QStringLiteral("cdsNotaTecnica"))),
      m_taxaRegistro(novo(QStringLiteral("cdsTaxaRegistro"))),
      m_uf(novo(QStringLiteral("cdsUF"))),
      m_municipio(novo(QStringLiteral("cdsMunicipio"))),
      m_listaUF(novo(QStringLiteral("cdsListaUF"))),
      m_filtroUF(novo(QStringLiteral("cdsFiltroUF"))),
      m_ufRede(novo(QStringLiteral("cdsUFRede"))),
      m_regiaoBrasil(novo(QStringLiteral("cdsRegiaoBrasil"))),
      m_cobertura(novo(QStringLiteral("cdsCobertura"))),
      m_servico(novo(QStringLiteral("cdsServico"))),
      m_tiposClausulas(novo(QStringLiteral("cdsTiposClausulas"))),
      m_tipoClausula(novo(QStringLiteral("cdsTipoClausula"))),
      m_clausulas(novo(QStringLiteral("cdsClausulas"))),
      m_clausulasFaixa(novo(QStringLiteral("cdsClausulasFaixa"))),
      m_tipoContrato(novo(QStringLiteral("cdsTipoContrato"))),
      m_tipoContratoAutogestao(novo(QStringLiteral("cdsTipoContratoAutogestao"))),
      m_segmentacao(novo(QStringLiteral("cdsSegmentacao"))),
      m_segmentacaoOdonto(novo(QStringLiteral("cdsSegmentacaoOdonto"))),
      m_abrangencia(novo(QStringLiteral("cdsAbrangencia"))) {
    g_instancia = this;
    defineCampos();
    if (DmConexao() && banco().aberto()) carregaListasCodigos();
    FiltraDispositivosOperadora();
}

TdmInfoPlano::~TdmInfoPlano() {
    if (g_instancia == this) g_instancia = nullptr;
}

TdmInfoPlano* TdmInfoPlano::instancia() { return g_instancia; }

RowSet* TdmInfoPlano::novo(const QString& nome) {
    auto* rs = new RowSet(this);
    rs->setObjectName(nome);
    return rs;
}

QString TdmInfoPlano::SqlPlano() {
    return QStringLiteral(
        "SELECT PLN.CD_OPER, PLN.SEQ_PLANO, PLN.NM_PLANO, PLN.CD_ABRANGENCIA, PLN.CD_SEGMENTACAO, "
        "PLN.CD_TIPO_CONTRATO, PLN.CD_SITUACAO, PLN.DT_SITUACAO, PLN.CD_TIPO_FINANC, "
        "PLN.CD_PADRAO_ACOMODACAO, PLN.CD_OPCAO_POS_ESTABELECIDO, PLN.CD_PARTC_FINANC_PJ, "
        "PLN.LG_FM_COPARTICIPACAO, PLN.LG_FM_FRANQUIA, PLN.CD_STATUS_ENVIO, "
        "PLN.NR_PROTOCOLO_REGISTRO, PLN.LG_VB_VINCULO_ATIVO, PLN.LG_VB_VINCULO_INATIVO, "
        "PLN.LG_VB_SEM_VINCULO, PLN.CD_REGIAO_COBERTURA, PLN.LG_CONSISTENTE, "
        "PLN.LG_REDE_VINCULADA, PLN.DT_PROTOCOLO_REGISTRO, PLN.NR_PROTOCOLO_SOLICITACAO, "
        "PLN.LG_TOTAL_LIVRE_ESCOLHA, PLN.LG_TERMO_ASSUNCAO "
        "FROM TB_PLANOS PLN WHERE PLN.CD_OPER = :CD_OPER ORDER BY PLN.SEQ_PLANO");
}

QString TdmInfoPlano::SqlMunicipiosDisponiveis() {
    return QStringLiteral(
        "SELECT M.ID_MUNC, M.CD_UF, M.NM_MUNC FROM TB_MUNICIPIOS M "
        "WHERE NOT EXISTS (SELECT MO.ID_MUNC FROM RL_PLANOS_MUNICIPIO MO "
        "WHERE MO.CD_OPER = :CD_OPER AND MO.SEQ_PLANO = :SEQ_PLANO AND MO.ID_MUNC = M.ID_MUNC)");
}

QString TdmInfoPlano::SqlUfsDisponiveis() {
    return QStringLiteral(
        "SELECT TB.CD_UF, TB.NM_UF, TB.CD_REGIAO_BRASIL FROM TB_UFS TB "
        "WHERE NOT EXISTS (SELECT RL.CD_UF FROM RL_PLANOS_UF RL "
        "WHERE RL.CD_OPER = :CD_OPER AND RL.SEQ_PLANO = :SEQ_PLANO AND RL.CD_UF = TB.CD_UF)");
}

QVector<RowSet::ChaveIndice> TdmInfoPlano::IndOrdem() {
    return {{QStringLiteral("NR_ORDEM_EXIBICAO")}};
}

void TdmInfoPlano::IndicePadraoDispositivos() {
    m_planoDispositivo->DefineIndice(
        QStringLiteral("IndPadrao"),
        {{QStringLiteral("CD_TIPO_CLAUSULA")}, {QStringLiteral("DE_CLAUSULA_OPERADORA")}});
}

void TdmInfoPlano::defineCampos() {
    // --- the plan ---
    m_plano->DefineCampos({
        calculado(QStringLiteral("DE_REGIAO_COBERTURA"), TipoCampo::Texto, 20,
                  [](const RowSet& rs, int linha) -> QVariant {
                      const QVariant r = rs.ValorDaLinha(linha, QStringLiteral("CD_REGIAO_COBERTURA"));
                      if (nulo(r) || r.toLongLong() == 0) return QVariant();
                      return QStringLiteral("Região ") + QString::number(r.toLongLong());
                  }),
        lookup(QStringLiteral("lkpContratacao"), m_tipoContrato, QStringLiteral("CD_TIPO_CONTRATO"),
               QStringLiteral("DE_TIPO_CONTRATO")),
        lookup(QStringLiteral("lkpContratacaoAutogestao"), m_tipoContratoAutogestao,
               QStringLiteral("CD_TIPO_CONTRATO"), QStringLiteral("DE_TIPO_CONTRATO")),
        lookup(QStringLiteral("lkpSegmentacao"), m_segmentacao, QStringLiteral("CD_SEGMENTACAO"),
               QStringLiteral("DE_SEGMENTACAO")),
        lookup(QStringLiteral("lkpSegmentacaoOdonto"), m_segmentacaoOdonto,
               QStringLiteral("CD_SEGMENTACAO"), QStringLiteral("DE_SEGMENTACAO")),
        lookup(QStringLiteral("lkpAbrangencia"), m_abrangencia, QStringLiteral("CD_ABRANGENCIA"),
               QStringLiteral("DE_ABRANGENCIA")),
    });
    m_plano->DefineComando(SqlPlano(), {{kCdOper, QVariant()}});
    m_plano->DefineAtualizacao(QStringLiteral("TB_PLANOS"), {kCdOper, kSeqPlano});
    m_plano->AoNovoRegistro = [this](RowSet& rs) {
        rs.DefineValor(kCdOper, OperadoraAtual().CdOper);
        for (const char* c : {"LG_FM_COPARTICIPACAO", "LG_FM_FRANQUIA", "LG_VB_VINCULO_ATIVO",
                              "LG_VB_VINCULO_INATIVO", "LG_VB_SEM_VINCULO"})
            rs.DefineValor(QString::fromLatin1(c), QStringLiteral("N"));
        rs.DefineValor(kSeqPlano, ProximoSeqPlano());
    };

    // --- the plan's relations ---
    m_planosUF->DefineComando(
        QStringLiteral("SELECT PUF.CD_OPER, PUF.SEQ_PLANO, PUF.CD_UF, U.NM_UF, U.CD_REGIAO_BRASIL "
                       "FROM RL_PLANOS_UF PUF INNER JOIN TB_UFS U ON U.CD_UF = PUF.CD_UF "
                       "WHERE PUF.CD_OPER = :CD_OPER AND PUF.SEQ_PLANO = :SEQ_PLANO"),
        kParamsPlano);
    m_planosUF->DefineAtualizacao(QStringLiteral("RL_PLANOS_UF"),
                                  {kCdOper, kSeqPlano, QStringLiteral("CD_UF")});

    m_planosUF->DefineCampos({oculto(kCdOper), oculto(kSeqPlano), rotulado(QStringLiteral("CD_UF"), QStringLiteral("UF")),
                              rotulado(QStringLiteral("NM_UF"), QStringLiteral("Nome")),
                              oculto(QStringLiteral("CD_REGIAO_BRASIL"))});
    m_planosMunicipio->DefineCampos({oculto(kCdOper), oculto(kSeqPlano), oculto(QStringLiteral("ID_MUNC")),
                                     rotulado(QStringLiteral("NM_MUNC"), QStringLiteral("Município")),
                                     rotulado(QStringLiteral("CD_UF"), QStringLiteral("UF"))});
    m_planosMunicipio->DefineComando(
        QStringLiteral("SELECT PM.CD_OPER, PM.SEQ_PLANO, PM.ID_MUNC, M.NM_MUNC, M.CD_UF "
                       "FROM RL_PLANOS_MUNICIPIO PM INNER JOIN TB_MUNICIPIOS M "
                       "ON M.ID_MUNC = PM.ID_MUNC "
                       "WHERE PM.CD_OPER = :CD_OPER AND PM.SEQ_PLANO = :SEQ_PLANO"),
        kParamsPlano);
    m_planosMunicipio->DefineAtualizacao(QStringLiteral("RL_PLANOS_MUNICIPIO"),
                                         {kCdOper, kSeqPlano, QStringLiteral("ID_MUNC")});
    m_planosMunicipio->DefineIndice(QStringLiteral("IndUfMunicipio"),
                                    {{QStringLiteral("CD_UF")}, {QStringLiteral("NM_MUNC")}});

    m_planoCobertura->DefineComando(
        QStringLiteral("SELECT PC.CD_OPER, PC.SEQ_PLANO, PC.CD_TIPO_COBERTURA, TC.DE_TIPO_COBERTURA "
                       "FROM RL_PLANOS_TIPO_COBERTURA PC INNER JOIN TA_TIPO_COBERTURA TC "
                       "ON TC.CD_TIPO_COBERTURA = PC.CD_TIPO_COBERTURA "
                       "WHERE PC.CD_OPER = :CD_OPER AND PC.SEQ_PLANO = :SEQ_PLANO"),
        kParamsPlano);
    m_planoCobertura->DefineAtualizacao(QStringLiteral("RL_PLANOS_TIPO_COBERTURA"),
                                        {kCdOper, kSeqPlano, QStringLiteral("CD_TIPO_COBERTURA")});

    m_planoServico->DefineComando(
        QStringLiteral("SELECT PS.CD_OPER, PS.SEQ_PLANO, PS.CD_SERV_OPCIONAL, PS.DE_SERV_OPCIONAL "
                       "FROM RL_PLANOS_SERV_OPC PS LEFT JOIN TA_SERVICOS_OPCIONAIS SO "
                       "ON SO.CD_SERV_OPCIONAL = PS.CD_SERV_OPCIONAL "
                       "WHERE PS.CD_OPER = :CD_OPER AND PS.SEQ_PLANO = :SEQ_PLANO "
                       "ORDER BY SO.NR_ORDEM_EXIBICAO"),
        kParamsPlano);
    m_planoServico->DefineAtualizacao(QStringLiteral("RL_PLANOS_SERV_OPC"),
                                      {kCdOper, kSeqPlano, QStringLiteral("CD_SERV_OPCIONAL")});

    const QStringList chavesClausula{kCdOper, kSeqPlano, QStringLiteral("CD_CLAUSULA_OPERADORA")};
    m_planoClausula->DefineCampos(
        {calculado(QStringLiteral("calcTEMA"), TipoCampo::Texto, 0, calcTema)});
    m_planoClausula->DefineComando(QString::fromLatin1(kSqlDispositivosPlano).arg(QString()),
                                   kParamsDispositivo);
    m_planoClausula->DefineAtualizacao(QStringLiteral("RL_PLANO_CLAUSULA"), chavesClausula);

    Campo ordem;
    ordem.nome = QStringLiteral("NR_ORDEM_EXIBICAO");
    ordem.tipo = TipoCampo::Inteiro;
    ordem.textoExibido = [](const RowSet& rs, int linha) {
        if (!nulo(rs.ValorDaLinha(linha, QStringLiteral("DT_PUBLICACAO_FIM")))) return QString();
        return NumeroRomano(rs.ValorDaLinha(linha, QStringLiteral("NR_ORDEM_EXIBICAO")).toInt());
    };
    m_planoDispositivo->DefineCampos({ordem});
    m_planoDispositivo->DefineComando(
        QString::fromLatin1(kSqlDispositivosPlano)
            .arg(QStringLiteral(
                ", TA.LG_CLAUSULAS_MULTIPLAS, CO.DE_CLAUSULA_OPERADORA, CO.CD_IDENTIFICACAO_TEXTO")),
        kParamsDispositivo);
    m_planoDispositivo->DefineAtualizacao(QStringLiteral("RL_PLANO_CLAUSULA"), chavesClausula);

    m_planoRede->DefineCampos({
        oculto(kCdOper), oculto(kSeqPlano), oculto(QStringLiteral("ID_ESTB_SAUD")),
        oculto(QStringLiteral("LG_NOVO")), oculto(QStringLiteral("ID_MUNC")), oculto(QStringLiteral("CD_UF")),
        rotulado(QStringLiteral("CD_CNPJ_ESTB_SAUD"), QStringLiteral("CNPJ"),
                 QString::fromLatin1(MascaraCnpj)),
        rotulado(QStringLiteral("CD_CNES"), QStringLiteral("CNES")),
        rotulado(QStringLiteral("RAZAO_SOCIAL_ESTB_SAUD"), QStringLiteral("Razão Social")),
        [] {
            Campo c = rotulado(QStringLiteral("LG_URGENCIA_EMERGENCIA"),
                               QStringLiteral("Urgência / Emergência"));
            c.visivel = false;
            return c;
        }(),
        [] {
            Campo c = rotulado(QStringLiteral("DT_VINCULO"), QStringLiteral("Data Vínculo"));
            c.visivel = false;
            c.textoExibido = [](const RowSet& rs, int linha) {
                const QVariant v = rs.ValorDaLinha(linha, QStringLiteral("DT_VINCULO"));
                if (v.typeId() == QMetaType::QDateTime)
                    return v.toDateTime().date().toString(QStringLiteral("dd/MM/yyyy"));
                return RowSet::Formata(TipoCampo::Data, v);
            };
            return c;
        }(),
    });
    m_planoRede->DefineComando(
        QStringLiteral(
            "SELECT R.CD_OPER, R.SEQ_PLANO, R.ID_ESTB_SAUD, R.DT_VINCULO, R.LG_NOVO, "
            "E.CD_CNPJ_ESTB_SAUD, E.CD_CNES, E.RAZAO_SOCIAL_ESTB_SAUD, E.ID_MUNC, "
            "E.LG_URGENCIA_EMERGENCIA, M.CD_UF FROM TB_ESTAB_SAUDE E "
            "INNER JOIN RL_PLANOS_ESTAB_SAUDE R "
            "ON R.ID_ESTB_SAUD = E.ID_ESTB_SAUD AND R.CD_OPER = E.CD_OPER "
            "LEFT JOIN TB_MUNICIPIOS M ON M.ID_MUNC = E.ID_MUNC "
            "WHERE R.CD_OPER = :CD_OPER AND R.SEQ_PLANO = :SEQ_PLANO"),
        kParamsPlano);
    m_planoRede->DefineAtualizacao(QStringLiteral("RL_PLANOS_ESTAB_SAUDE"),
                                   {kCdOper, kSeqPlano, QStringLiteral("ID_ESTB_SAUD")});
    m_planoRede->DefineIndice(QStringLiteral("IndCnpj"), {{QStringLiteral("CD_CNPJ_ESTB_SAUD")}});

    m_notaTecnica->DefineCampos({
        oculto(kCdOper), oculto(kSeqPlano), oculto(QStringLiteral("ID_PLANO_NOTA_TECNICA")),
        rotulado(kNrProtocolo, QStringLiteral("Protocolo de Incorporação")),
        rotulado(kNmArquivo, QStringLiteral("Nome do Arquivo")),
        rotulado(QStringLiteral("DT_PROTOCOLO"), QStringLiteral("Data de Protocolo")),
    });
    m_notaTecnica->DefineComando(
        QStringLiteral("SELECT CD_OPER, SEQ_PLANO, ID_PLANO_NOTA_TECNICA, NR_PROTOCOLO_NOTA_TECNICA, "
                       "DT_PROTOCOLO, NM_ARQUIVO_NOTA_TECNICA FROM RL_PLANO_NOTA_TECNICA "
                       "WHERE CD_OPER = :CD_OPER AND SEQ_PLANO = :SEQ_PLANO"),
        kParamsPlano);
    m_notaTecnica->DefineAtualizacao(QStringLiteral("RL_PLANO_NOTA_TECNICA"),
                                     {QStringLiteral("ID_PLANO_NOTA_TECNICA")});
    m_notaTecnica->DefineIndice(QStringLiteral("IndProtocoloArquivo"),
                                {{kNrProtocolo}, {kNmArquivo}});
    m_notaTecnica->AoNovoRegistro = [this](RowSet& rs) {
        if (m_ultimaNota == -1) m_ultimaNota = ProximaNotaNoBanco() - 1;
        ++m_ultimaNota;
        rs.DefineValor(QStringLiteral("ID_PLANO_NOTA_TECNICA"), m_ultimaNota);
    };
    m_notaTecnica->AntesDeGravar = [this](RowSet& rs) { antesDeGravarNota(rs); };
    // every opening of the notes starts the numbering afresh
    connect(m_notaTecnica, &RowSet::estadoMudou, this, [this] {
        if (m_notaTecnica->Ativo() && !m_notasAbertas) m_ultimaNota = -1;
        m_notasAbertas = m_notaTecnica->Ativo();
    });

    m_taxaRegistro->DefineComando(
        QStringLiteral("select * from RL_PLANO_TAXA_REGISTRO where cd_oper = :cd_oper and "
                       "seq_plano= :seq_plano "),
        {{QStringLiteral("cd_oper"), QVariant()}, {QStringLiteral("seq_plano"), QVariant()}});
    m_taxaRegistro->DefineAtualizacao(QStringLiteral("RL_PLANO_TAXA_REGISTRO"),
                                      {QStringLiteral("ID_PLANO_TAXA_REGISTRO")});
    m_taxaRegistro->AntesDeGravar = [this](RowSet& rs) { antesDeGravarTaxa(rs); };

    // --- reference lists ---
    m_uf->DefineCampos({rotulado(QStringLiteral("CD_UF"), QStringLiteral("UF")), oculto(QStringLiteral("NM_UF")),
                        oculto(QStringLiteral("CD_REGIAO_BRASIL"))});
    m_uf->DefineComando(QStringLiteral("SELECT TB_UFS.* FROM TB_UFS"));
    m_uf->DefineIndice(QStringLiteral("IndUf"), {{QStringLiteral("CD_UF")}});
    m_municipio->DefineCampos({oculto(QStringLiteral("ID_MUNC")), oculto(QStringLiteral("CD_UF")),
                               rotulado(QStringLiteral("NM_MUNC"), QStringLiteral("Município do Brasil"))});
    m_listaUF->DefineCampos({rotulado(QStringLiteral("CD_UF"), QStringLiteral("UF")),
                             rotulado(QStringLiteral("NM_UF"), QStringLiteral("Nome")),
                             oculto(QStringLiteral("CD_REGIAO_BRASIL"))});
    m_municipio->DefineComando(SqlMunicipiosDisponiveis(), kParamsPlano);
    m_municipio->DefineIndice(QStringLiteral("IndNome"), {{QStringLiteral("NM_MUNC")}});
    m_municipio->DefineMestre(m_uf, {QStringLiteral("CD_UF")}, {QStringLiteral("CD_UF")});
    m_listaUF->DefineComando(SqlUfsDisponiveis(), kParamsPlano);
    m_listaUF->DefineIndice(QStringLiteral("IndNome"), {{QStringLiteral("NM_UF")}});
    m_filtroUF->DefineComando(QStringLiteral("SELECT TB_UFS.* FROM TB_UFS"));
    m_filtroUF->DefineIndice(QStringLiteral("IndUf"), {{QStringLiteral("CD_UF")}});
    m_ufRede->DefineComando(QStringLiteral("SELECT TB_UFS.* FROM TB_UFS ORDER BY CD_UF"));
    m_regiaoBrasil->DefineComando(QStringLiteral("SELECT * FROM TB_REGIAO_BRASIL"));
    m_cobertura->DefineComando(QStringLiteral(
        "SELECT CD_TIPO_COBERTURA, DE_TIPO_COBERTURA, NR_ORDEM_EXIBICAO FROM TA_Tipo_Cobertura "
        "ORDER BY NR_ORDEM_EXIBICAO"));
    m_servico->DefineComando(QStringLiteral(
        "SELECT CD_SERV_OPCIONAL, DE_SERV_OPCIONAL, NR_ORDEM_EXIBICAO FROM TA_SERVICOS_OPCIONAIS "
        "ORDER BY NR_ORDEM_EXIBICAO"));

    // the column order matters to CampoCaracteristicaTema
    m_tiposClausulas->DefineComando(QStringLiteral(
        "SELECT CD_TIPO_CLAUSULA, DE_TIPO_CLAUSULA, TX_TIPO_CLAUSULA, LG_OBRIGATORIO, "
        "LG_TIPO_CONTRATO, LG_SEGMENTACAO, LG_ABRANGENCIA, LG_PADRAO_ACOMODACAO, LG_FAIXA_ETARIA, "
        "LG_COBERTURA_ADICIONAL, LG_FORMA_ACESSO, LG_TIPO_FINANC, LG_FATOR_MODERADOR, "
        "DT_PUBLICACAO_FIM, NR_ORDEM_EXIBICAO FROM TA_TIPO_CLAUSULA"));

    m_tipoClausula->DefineCampos(
        {calculado(QStringLiteral("calcTEMA"), TipoCampo::Texto, 0, calcTema)});
    m_tipoClausula->DefineComando(QStringLiteral("SELECT * FROM TA_TIPO_CLAUSULA"));
    m_tipoClausula->DefineIndice(NomeIndOrdem(), IndOrdem());
    const QString sqlClausulas = QStringLiteral(
        "SELECT CO.*, TA.DE_TIPO_CLAUSULA, TA.NR_ORDEM_EXIBICAO FROM TB_CLAUSULA_OPERADORA CO "
        "INNER JOIN TA_TIPO_CLAUSULA TA ON TA.CD_TIPO_CLAUSULA = CO.CD_TIPO_CLAUSULA");
    m_clausulas->DefineCampos(
        {calculado(QStringLiteral("calcDispositivo"), TipoCampo::Texto, 0, identificacaoDispositivo),
         calculado(QStringLiteral("calcTEMA"), TipoCampo::Texto, 0, calcTema)});
    m_clausulas->DefineComando(sqlClausulas);
    m_clausulas->DefineIndice(
        QStringLiteral("IndTemaTexto"),
        {{QStringLiteral("CD_TIPO_CLAUSULA")}, {QStringLiteral("CD_IDENTIFICACAO_TEXTO")}});
    m_clausulas->DefineMestre(m_tipoClausula, {QStringLiteral("CD_TIPO_CLAUSULA")},
                              {QStringLiteral("CD_TIPO_CLAUSULA")});
    m_clausulasFaixa->DefineCampos(
        {calculado(QStringLiteral("CalcFaixa"), TipoCampo::Texto, 0, identificacaoDispositivo)});
    m_clausulasFaixa->DefineComando(sqlClausulas + QStringLiteral(" WHERE CO.CD_FAIXA_ETARIA = '2'"));
    m_clausulasFaixa->DefineIndice(QStringLiteral("IndDescricao"),
                                   {{QStringLiteral("DE_CLAUSULA_OPERADORA")}});
    m_clausulasFaixa->DefineMestre(m_tipoClausula, {QStringLiteral("CD_TIPO_CLAUSULA")},
                                   {QStringLiteral("CD_TIPO_CLAUSULA")});
}

void TdmInfoPlano::carregaListasCodigos() {
    // The code lists read at start (TdmLookup) when there; otherwise read here.
    const TdmLookup* l = TdmLookup::instancia();
    Banco& b = banco();
    const auto carrega = [&](RowSet* rs, const Resultado* pronto, const QString& sql) {
        if (pronto && !pronto->colunas.isEmpty())
            rs->Carrega(*pronto, &b);
        else
            rs->Abre(b, sql);
    };
    carrega(m_tipoContrato, l ? &l->cdsTipoContrato : nullptr,
            QStringLiteral("SELECT CD_TIPO_CONTRATO, DE_TIPO_CONTRATO FROM TA_TIPO_CONTRATO"));
    carrega(m_tipoContratoAutogestao, l ? &l->cdsTipoContratoAutogestao : nullptr,
            QStringLiteral("SELECT CD_TIPO_CONTRATO, DE_TIPO_CONTRATO FROM TA_TIPO_CONTRATO "
                           "WHERE CD_TIPO_CONTRATO <> 1"));
    carrega(m_segmentacao, l ? &l->cdsSegmentacao : nullptr,
            QStringLiteral("SELECT CD_SEGMENTACAO, DE_SEGMENTACAO FROM TA_TIPO_SEGMENTACAO"));
    carrega(m_segmentacaoOdonto, l ? &l->cdsSegmentacaoOdonto : nullptr,
            QStringLiteral("SELECT CD_SEGMENTACAO, DE_SEGMENTACAO FROM TA_TIPO_SEGMENTACAO "
                           "WHERE CD_SEGMENTACAO = 4"));
    carrega(m_abrangencia, l ? &l->cdsAbrangencia : nullptr,
            QStringLiteral("SELECT CD_ABRANGENCIA, DE_ABRANGENCIA FROM TA_TIPO_ABRANGENCIA"));
}

QVector<RowSet*> TdmInfoPlano::Relacionados() const {
    return {m_planoCobertura, m_planoServico, m_planoClausula, m_planosMunicipio,
            m_notaTecnica,    m_planoRede,    m_taxaRegistro,  m_planosUF,
            m_planoDispositivo};
}

// ---------------------------------------------------------------------------
// Opening
// ---------------------------------------------------------------------------

void TdmInfoPlano::AbrePlanos() {
    m_plano->DefineParametro(kCdOper, OperadoraAtual().CdOper);
    m_versaoPlanos = banco().versaoDados();
    m_plano->Abre(banco());
}

bool TdmInfoPlano::outraCopiaGravou(const Banco::VersaoDados& v) const {
    return !m_plano->Ativo() || v.abertura != m_versaoPlanos.abertura || v.outras != m_versaoPlanos.outras;
}

bool TdmInfoPlano::RelePlanosAlterados() {
    if (!outraCopiaGravou(banco().versaoDados())) return false;
    AbrePlanos();
    return true;
}

bool TdmInfoPlano::GarantePlanos() {
    RowSet& p = *m_plano;
    if (p.Ativo() && !p.EmEdicao() && p.ChangeCount() == 0 &&
        p.Parametro(kCdOper).toString() == OperadoraAtual().CdOper && banco().versaoDados() == m_versaoPlanos) {
        p.First();
        return false;
    }
    AbrePlanos();
    return true;
}

void TdmInfoPlano::PlanosEmDia() {
    const Banco::VersaoDados v = banco().versaoDados();
    if (!outraCopiaGravou(v)) m_versaoPlanos.proprias = v.proprias;
}

void TdmInfoPlano::AbreRelacionado(RowSet* rs, const QString& cdOper, qlonglong seqPlano) {
    const auto nomes = nomesParametros(rs);
    rs->Fecha();
    rs->DefineParametro(nomes.first, cdOper);
    rs->DefineParametro(nomes.second, seqPlano);
    if (rs == m_notaTecnica) m_ultimaNota = -1;
    rs->Abre(banco());
    if (m_plano->State() == RowSet::Estado::Insercao && seqPlano == SeqPlanoAtual() &&
        !rs->TabelaAtualizacao().isEmpty()) {
        // a plan not stored yet has nothing stored: rows another copy may already have
        // written under the number it shows are not its own. (The pickers' lists of what
        // may still be chosen are read: they hold no rows of the plan.)
        const QString sql = rs->Sql();
        const ParamsNomeados params = rs->Parametros();
        rs->CriaVazio();
        rs->DefineComando(sql, params);
    }
}

bool TdmInfoPlano::AbertoPara(const RowSet* rs, const QString& cdOper, qlonglong seqPlano) const {
    if (!rs->Ativo()) return false;
    const auto nomes = nomesParametros(rs);
    const QVariant op = rs->Parametro(nomes.first), seq = rs->Parametro(nomes.second);
    return !nulo(op) && !nulo(seq) && op.toString() == cdOper && seq.toLongLong() == seqPlano;
}

void TdmInfoPlano::GarantePlano(RowSet* rs) {
    const QString op = CdOperAtual();
    const qlonglong seq = SeqPlanoAtual();
    if (!AbertoPara(rs, op, seq)) AbreRelacionado(rs, op, seq);
}

void TdmInfoPlano::FechaRelacionados() {
    for (RowSet* rs : Relacionados()) rs->Fecha();
}

void TdmInfoPlano::AbreTiposClausulas() {
    if (!m_tiposClausulas->Ativo()) m_tiposClausulas->Abre(banco());
}

void TdmInfoPlano::AbreTemasDispositivos() {
    if (!m_tipoClausula->Ativo()) m_tipoClausula->Abre(banco());
    if (!m_clausulas->Ativo()) m_clausulas->Abre(banco());
    if (!m_clausulasFaixa->Ativo()) m_clausulasFaixa->Abre(banco());
}

QString TdmInfoPlano::CdOperAtual() const {
    if (!m_plano->Ativo() || m_plano->IsEmpty()) return OperadoraAtual().CdOper;
    const QVariant v = m_plano->Valor(kCdOper);
    return nulo(v) ? OperadoraAtual().CdOper : v.toString();
}

qlonglong TdmInfoPlano::SeqPlanoAtual() const {
    if (!m_plano->Ativo() || m_plano->IsEmpty()) return -1;
    const QVariant v = m_plano->Valor(kSeqPlano);
    return nulo(v) ? -1 : v.toLongLong();
}

// ---------------------------------------------------------------------------
// Numbering
// ---------------------------------------------------------------------------

qlonglong TdmInfoPlano::ProximoSeqPlano() {
    Consulta& q = DmConexao()->AbreConsulta(
        QStringLiteral("Select Max(SEQ_PLANO) + 1 as ULTIMASEQ From TB_Planos"));
    return q.campo(QStringLiteral("ULTIMASEQ")).toLongLong();
}

qlonglong TdmInfoPlano::ProximaNotaNoBanco() {
    Consulta& q = DmConexao()->AbreConsulta(QStringLiteral(
        "Select Max(ID_PLANO_NOTA_TECNICA) as ULTIMASEQ From RL_PLANO_NOTA_TECNICA"));
    return q.campo(QStringLiteral("ULTIMASEQ")).toLongLong() + 1;
}

qlonglong TdmInfoPlano::ProximaTaxaNoBanco() {
    Consulta& q = DmConexao()->AbreConsulta(
        QStringLiteral("select max(ID_PLANO_TAXA_REGISTRO) as ULTIMO from RL_PLANO_TAXA_REGISTRO "));
    return q.campo(QStringLiteral("ULTIMO")).toLongLong() + 1;
}

// ---------------------------------------------------------------------------
// Device themes
// ---------------------------------------------------------------------------

void TdmInfoPlano::FiltraDispositivosOperadora() {
    const QString op = OperadoraAtual().CdOper;
    m_clausulas->DefineFiltro([op](const RowSet& rs, int linha) {
        return rs.ValorDaLinha(linha, kCdOper).toString() == op;
    });
}

QString TdmInfoPlano::CampoCaracteristicaTema(int cdTipoClausula) {
    RowSet& t = *m_tiposClausulas;
    if (!t.Ativo()) return QString();
    if (!t.Locate(QStringLiteral("CD_TIPO_CLAUSULA"), cdTipoClausula)) return QString();
    for (const Campo& c : t.Campos()) {
        if (!c.ehDado()) continue;
        if (c.nome.compare(QLatin1String("LG_OBRIGATORIO"), Qt::CaseInsensitive) == 0) continue;
        if (!c.nome.startsWith(QLatin1String("LG"), Qt::CaseInsensitive)) continue;
        if (t.Valor(c.nome).toString() == QLatin1String("S"))
            return QStringLiteral("CD") + c.nome.mid(2);
    }
    return QString();
}

bool TdmInfoPlano::PlanoPossuiLivreEscolha() {
    GarantePlano(m_planoCobertura);
    return !m_planoCobertura->IsEmpty();
}

QString TdmInfoPlano::TemaExibido(const QVariant& ordem, const QVariant& nome) {
    return RotuloTema(ordem.toInt(), nome.toString());
}

// ---------------------------------------------------------------------------
// Notes and tax documents
// ---------------------------------------------------------------------------

void TdmInfoPlano::carregaLista(RowSet& rs, const QString& campoId, const QString& campoNumero,
                                QVector<EntradaNumero>& lista) {
    lista.clear();
    if (!rs.Ativo()) return;
    // the rows as they stand, without moving the set (nor its grid)
    const int cId = rs.IndiceCampo(campoId), cNum = rs.IndiceCampo(campoNumero);
    for (int p = 0; p < rs.RecordCount(); ++p)
        lista.push_back({rs.ValorNaPosicao(p, cId).toLongLong(),
                         rs.ValorNaPosicao(p, cNum).toString().trimmed()});
}

bool TdmInfoPlano::repetido(const QVector<EntradaNumero>& lista, qlonglong id,
                            const QString& numero) {
    const QString t = numero.trimmed();
    for (const EntradaNumero& e : lista)
        if (e.id != id && e.numero == t) return true;
    return false;
}

void TdmInfoPlano::CarregaListaNotas(RowSet& notas) {
    carregaLista(notas, QStringLiteral("ID_PLANO_NOTA_TECNICA"), kNrProtocolo, m_notas);
}

bool TdmInfoPlano::NotaRepetida(qlonglong id, const QString& protocolo) const {
    return repetido(m_notas, id, protocolo);
}

void TdmInfoPlano::CarregaListaTaxas(RowSet& taxas) {
    carregaLista(taxas, QStringLiteral("ID_PLANO_TAXA_REGISTRO"), kNrDocumento, m_taxas);
}

bool TdmInfoPlano::TaxaRepetida(qlonglong id, const QString& numero) const {
    return repetido(m_taxas, id, numero);
}

bool TdmInfoPlano::ExisteTaxaRepetida(RowSet& taxas) {
    CarregaListaTaxas(taxas);
    for (const EntradaNumero& e : std::as_const(m_taxas))
        if (TaxaRepetida(e.id, e.numero)) return true;
    return false;
}

std::optional<QString> TdmInfoPlano::ConfereDocumentoTaxa(const QString& d) {
    const QString t = d.trimmed();
    if (t.isEmpty()) return QString();
    const QString aspas = QStringLiteral("\"");
    bool caracteres = true;
    for (int i = 0; i < t.size() && i < d.size(); ++i) {
        const QChar c = d.at(i);
        const bool digito = c >= u'0' && c <= u'9';
        if (i < t.size() - 1 ? !digito : !(digito || c == u'X')) caracteres = false;
    }
    if ((t.size() != 12 && t.size() != 17) || !caracteres)
        return QStringLiteral("Taxa ") + d + QStringLiteral(": O valor informado no campo ") +
               aspas + QStringLiteral("Número do ") + QStringLiteral("Documento") + aspas +
               QStringLiteral(" deve ser, no máximo, os 17 dígitos do campo ") + aspas +
               QStringLiteral("Nosso Número") + aspas + QStringLiteral(" do ") +
               QStringLiteral("boleto bancário.");
    if (d.size() == 12 || d.size() == 17) {
        QString digito;
        try {
            digito = DigitoVerificadorTaxa(d.left(d.size() - 1), int(d.size()));
        } catch (const ErroQev&) {
            digito.clear();  // blanks inside the number: no digit matches
        }
        if (digito.isEmpty() || d.right(1) != digito)
            return QStringLiteral("Taxa ") + d + QStringLiteral(": O dígito verificador do valor informado ") +
                   QStringLiteral("para o ") + aspas + QStringLiteral("Número do Documento") + aspas +
                   QStringLiteral(" não confere.");
    }
    if (!t.startsWith(QLatin1String("80498")) && !t.startsWith(QLatin1String("2940999")))
        return QStringLiteral("Este número não identifica uma Taxa de Registro de Produtos.");
    return std::nullopt;
}

bool TdmInfoPlano::ValidaDocumentoTaxa(RowSet& taxas, bool mostraMensagens) {
    const QString d = taxas.Valor(kNrDocumento).toString();
    const std::optional<QString> falha = ConfereDocumentoTaxa(d);
    if (!falha) return true;
    if (falha->isEmpty()) {
        if (taxas.EmEdicao()) taxas.Cancel();
        return false;
    }
    if (mostraMensagens) MyMessageDlg(*falha, Mensagens::Erro, Mensagens::BtOk);
    return false;
}

void TdmInfoPlano::antesDeGravarTaxa(RowSet& rs) {
    const QString d = rs.Valor(kNrDocumento).toString().toUpper();
    rs.DefineValor(kNrDocumento, d);
    const std::optional<QString> falha = ConfereDocumentoTaxa(d);
    if (!falha) return;
    if (falha->isEmpty()) {
        rs.Cancel();
        throw PostAbandonado();
    }
    MyMessageDlg(*falha, Mensagens::Erro, Mensagens::BtOk);
    throw PostAbandonado();
}

void TdmInfoPlano::antesDeGravarNota(RowSet& rs) {
    // the unique index on protocol and file name
    const int cProt = rs.IndiceCampo(kNrProtocolo), cArq = rs.IndiceCampo(kNmArquivo);
    const QVariant prot = rs.Valor(cProt), arq = rs.Valor(cArq);
    const int atual = rs.Linha();
    for (int p = 0; p < rs.RecordCount(); ++p) {
        const int linha = rs.LinhaNaPosicao(p);
        if (linha == atual) continue;
        if (rs.ValorDaLinha(linha, cProt).toString() == prot.toString() &&
            rs.ValorDaLinha(linha, cArq).toString() == arq.toString())
            throw ErroQev(QStringLiteral("Já existe uma nota técnica com este protocolo e este "
                                         "nome de arquivo."));
    }
}

QString TdmInfoPlano::MensagemFormatoNomeArquivo() {
    const auto linha = [](int antes, const char* texto, int depois) {
        return QString(antes, u' ') + QString::fromUtf8(texto) + QString(depois, u' ');
    };
    return QStringList{
        linha(0, "Nome do Arquivo possui nº de caracteres diferente do formato padrão.", 0),
        QString(),
        linha(0, "FORMATO PADRÃO:", 30),
        linha(5, "888888999999999ddmmaahhmmss.nta, onde:", 2),
        linha(5, "888888 é o código da operadora na ZUB", 3),
        linha(5, "999999999 é o código do registro do plano na ZUB", 1),
        linha(5, "ddmmaa é a data de geração do arquivo (no próprio formato indicado)", 1),
        linha(5, "hhmmss é a hora de geração do arquivo (no próprio formato indicado)", 1),
    }
        .join(QLatin1Char('\r'));
}

bool TdmInfoPlano::ValidaNomeArquivoNota(const QString& f, QString& m) const {
    if (!m.isEmpty()) return true;
    if (f.left(6) != OperadoraAtual().CdOper) {
        m = QStringLiteral("Nome do Arquivo não corresponde à Operadora atual.");
        return false;
    }
    if (f.mid(6, 9) != QLatin1String("999999999")) {
        m = QStringLiteral(
            "No campo Nome do Arquivo o registro do plano deve ser igual a 999999999, já que se "
            "trata de uma Solicitação de Registro de Plano.");
        return false;
    }
    if (f.right(4).toUpper() != QLatin1String(".NTA")) {
        m = QStringLiteral(
            "Nome do arquivo possui extensão incorreta.\rA extensão do arquivo deve ser \".nta\"");
        return false;
    }
    if (f.size() != 31) {
        m = MensagemFormatoNomeArquivo();
        return false;
    }
    return true;
}

QString TdmInfoPlano::ConfereNotaTecnica(const RowSet& notas, const QDateTime& agora,
                                         bool* anterior2008) const {
    const QString protocolo = notas.Valor(kNrProtocolo).toString();
    const QString arquivo = notas.Valor(kNmArquivo).toString();
    const QVariant data = notas.Valor(QStringLiteral("DT_PROTOCOLO"));
    QString m;
    if (protocolo.trimmed().isEmpty()) m = QStringLiteral("Número do Protocolo é obrigatório");
    QDateTime quando;
    if (data.typeId() == QMetaType::QDate) quando = QDateTime(data.toDate(), QTime(0, 0));
    else if (data.typeId() == QMetaType::QDateTime) quando = data.toDateTime();
    if (!quando.isValid())
        m = QStringLiteral("Data de Protocolo é obrigatória");
    else if (quando > agora)
        m = QStringLiteral("Data de Protocolo deve ser igual ou anterior à data atual");
    const bool inicial = protocolo.left(5) == QLatin1String("33902");
    if (inicial && arquivo.trimmed().isEmpty())
        m = QStringLiteral("Nome do Arquivo é obrigatório para protocolos iniciados com \"33902\"");
    if (!inicial &&
        NotaRepetida(notas.Valor(QStringLiteral("ID_PLANO_NOTA_TECNICA")).toLongLong(), protocolo))
        m = QStringLiteral("Número do Protocolo já consta cadastrado.");
    if (!arquivo.trimmed().isEmpty()) {
        if (m.isEmpty()) m = ConfereTextoArquivo(QStringLiteral("Nome do Arquivo"), arquivo);
        ValidaNomeArquivoNota(arquivo, m);
    }
    if (anterior2008)
        *anterior2008 = quando.isValid() &&
                        QString::number(quando.date().year()).rightJustified(4, QLatin1Char('0')) <
                            QLatin1String("2008");
    return m;
}

// ---------------------------------------------------------------------------
// Deletion
// ---------------------------------------------------------------------------

void TdmInfoPlano::ExcluiPlano() {
    RowSet& p = *m_plano;
    if (!p.Ativo() || p.IsEmpty()) throw ErroQev(QStringLiteral("Não há registro para excluir."));
    const QVariant op = p.Valor(kCdOper), seq = p.Valor(kSeqPlano);
    // the tables the related sets write, each once, in their order
    QStringList tabelas;
    for (const RowSet* rs : Relacionados())
        if (!rs->TabelaAtualizacao().isEmpty() && !tabelas.contains(rs->TabelaAtualizacao()))
            tabelas << rs->TabelaAtualizacao();
    FechaRelacionados();
    try {
        TransacaoEscopo transacao(banco());
        for (const QString& tabela : tabelas)
            banco().executa(QStringLiteral("DELETE FROM %1 WHERE CD_OPER = ? AND SEQ_PLANO = ?").arg(tabela),
                            {op, seq});
        p.Delete();
        p.ApplyUpdates(banco());
        transacao.confirma();
    } catch (...) {
        p.CancelUpdates();
        throw;
    }
}
