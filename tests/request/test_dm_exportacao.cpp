// Export bookkeeping: the shared error list and the send-status statements.
#include "BaseSolicitacao.h"
#include "db/Erro.h"

namespace {

class DmExportacao : public BaseSolicitacao {};

TEST_F(DmExportacao, ErrorRowsAreNumberedThroughTheCallersCounter) {
    criaBanco();
    TDmExportacao& dm = *exportacao;
    EXPECT_FALSE(dm.TemErros());
    EXPECT_TRUE(dm.cdsErrosCarga().IsEmpty());

    int contador = 4;
    dm.AdicionaErro(contador, QStringLiteral("Envio de Planos"), -1,
                    QStringLiteral("Não foi possível enviar o plano X"));
    dm.AdicionaErroPlano(contador, QStringLiteral("Segmentação"), 12, 1, 2, 4,
                         QStringLiteral("PLANO X"), 7, QStringLiteral("mensagem"));
    dm.AdicionaErroPlano(contador, QStringLiteral("Operadora"), -1, -1, -1, -1,
                         QStringLiteral("TODOS OS PLANOS"), -1, QStringLiteral("outra"));
    EXPECT_EQ(contador, 7);
    EXPECT_TRUE(dm.TemErros());

    const TErrosCarga& e = dm.cdsErrosCarga();
    ASSERT_EQ(e.RecordCount(), 3);
    EXPECT_EQ(e.valor(0, QStringLiteral("Sequencia")).toInt(), 5);
    EXPECT_EQ(e.valor(0, QStringLiteral("NOMECAMPO")).toString(),
              QStringLiteral("Envio de Planos"));
    EXPECT_EQ(e.valor(0, QStringLiteral("linhaArquivo")).toInt(), -1);
    for (const char* campo :
         {"seq_plano", "nm_plano", "cd_segmentacao", "cd_abrangencia", "cd_contratacao"})
        EXPECT_TRUE(e.valor(0, QString::fromLatin1(campo)).isNull()) << campo;

    EXPECT_EQ(e.valor(1, QStringLiteral("Sequencia")).toInt(), 6);
    EXPECT_EQ(e.valor(1, QStringLiteral("cd_abrangencia")).toInt(), 1);
    EXPECT_EQ(e.valor(1, QStringLiteral("cd_contratacao")).toInt(), 2);
    EXPECT_EQ(e.valor(1, QStringLiteral("cd_segmentacao")).toInt(), 4);
    EXPECT_EQ(e.valor(1, QStringLiteral("seq_plano")).toInt(), 7);
    EXPECT_EQ(e.valor(1, QStringLiteral("nm_plano")).toString(), QStringLiteral("PLANO X"));
    EXPECT_EQ(e.valor(1, QStringLiteral("linhaArquivo")).toInt(), 12);
    EXPECT_EQ(e.valor(2, QStringLiteral("seq_plano")).toInt(), -1);
    EXPECT_THROW(e.valor(0, QStringLiteral("inexistente")), ErroQev);

    dm.LimpaErros();
    EXPECT_FALSE(dm.TemErros());
    EXPECT_TRUE(dm.cdsErrosCarga().IsEmpty());
}

TEST(DataValida, DayFirstDatesFrom1900) {
    const struct {
        const char* texto;
        bool valida;
    } casos[] = {
        {"01/01/1900", true}, {"31/12/1899", false}, {"29/02/2023", false}, {"29/02/2024", true},
        {"31/01/2024", true}, {"2024-01-31", false}, {"", false},           {"32/01/2024", false},
        {"1/1/1900", false},  {"01/13/2000", false}, {"ab/cd/efgh", false},
    };
    for (const auto& c : casos)
        EXPECT_EQ(TDmExportacao::DataValida(QString::fromLatin1(c.texto)), c.valida) << c.texto;
}

const char* kPlanos = R"SQL(
INSERT INTO OPERADORAS (CD_OPER) VALUES ('123456');
INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_STATUS_ENVIO, LG_REDE_VINCULADA) VALUES ('123456', 1, 'UM', 0, 'N');
INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_STATUS_ENVIO, LG_REDE_VINCULADA) VALUES ('123456', 2, 'DOIS', 0, 'S');
INSERT INTO RL_PLANOS_UF VALUES ('123456', 1, 'SP'), ('123456', 1, 'RJ'), ('654321', 1, 'MG'), ('123456', 2, 'AC');
INSERT INTO RL_PLANOS_MUNICIPIO VALUES ('123456', 1, 3550308), ('123456', 2, 3304557);
)SQL";

TEST_F(DmExportacao, NetworkFlagAndPendingReturnFileOfOnePlan) {
    criaBanco(QString::fromUtf8(kPlanos));
    exportacao->AtualizaRedeVinculada(1, true);
    exportacao->AtualizaRedeVinculada(2, false);
    EXPECT_EQ(valor(QStringLiteral("SELECT LG_REDE_VINCULADA FROM TB_PLANOS WHERE SEQ_PLANO = 1"))
                  .toString(),
              QStringLiteral("S"));
    EXPECT_EQ(valor(QStringLiteral("SELECT LG_REDE_VINCULADA FROM TB_PLANOS WHERE SEQ_PLANO = 2"))
                  .toString(),
              QStringLiteral("N"));

    const QString nome = QStringLiteral("O'Brien 123456310120241405090001_1.QEV");
    exportacao->GravaNomeRetorno(1, nome);
    EXPECT_EQ(valor(QStringLiteral("SELECT NM_ARQ_RETORNO FROM TB_PLANOS WHERE SEQ_PLANO = 1"))
                  .toString(),
              nome);
    EXPECT_TRUE(
        valor(QStringLiteral("SELECT NM_ARQ_RETORNO FROM TB_PLANOS WHERE SEQ_PLANO = 2")).isNull());
    exportacao->GravaNomeRetorno(1, QString());
    EXPECT_TRUE(
        valor(QStringLiteral("SELECT NM_ARQ_RETORNO FROM TB_PLANOS WHERE SEQ_PLANO = 1")).isNull());
}

TEST_F(DmExportacao, AreaOfAPlanIsItsStatesOrItsMunicipalities) {
    criaBanco(QString::fromUtf8(kPlanos));
    const Resultado ufs = exportacao->ConsultaAreaPlano(QStringLiteral("123456"), 1, 2);
    QStringList siglas;
    for (int i = 0; i < ufs.numLinhas(); ++i) {
        siglas << ufs.valor(i, QStringLiteral("cd_uf")).toString();
        EXPECT_FALSE(ufs.valor(i, QStringLiteral("nm_uf")).toString().isEmpty());
    }
    siglas.sort();
    EXPECT_EQ(siglas, QStringList({QStringLiteral("RJ"), QStringLiteral("SP")}));

    for (int abrangencia : {4, 5}) {
        const Resultado m = exportacao->ConsultaAreaPlano(QStringLiteral("123456"), 1, abrangencia);
        ASSERT_EQ(m.numLinhas(), 1);
        EXPECT_EQ(m.valor(0, QStringLiteral("id_munc")).toInt(), 3550308);
        EXPECT_EQ(m.valor(0, QStringLiteral("cd_uf")).toString(), QStringLiteral("SP"));
        EXPECT_FALSE(m.valor(0, QStringLiteral("nm_munc")).toString().isEmpty());
        EXPECT_EQ(m.valor(0, QStringLiteral("seq_plano")).toInt(), 1);
    }
}

// ---------------------------------------------------------------------------
// RegistraEnvio: every transition

struct Estado {
    QVariant status;
    QVariant protocolo;
    QVariant data;
    QVariant solicitacao;
    QStringList historico;  // NR_PROTOCOLO_REENVIO|DT_PROTOCOLO_REENVIO
};

struct Transicao {
    const char* nome;
    Estado antes;
    QVariant statusNaFila;
    QStringList protocolosDevolvidos;  // one send per protocol
    Estado depois;
};
// Failures and test listings name the case instead of dumping its bytes.
void PrintTo(const Transicao& t, std::ostream* os) { *os << t.nome; }

const QDateTime kData1(QDate(2024, 1, 31), QTime(14, 10, 0));
const QString kId = QStringLiteral("12345620240131140509");

class RegistraEnvio : public BaseSolicitacao, public ::testing::WithParamInterface<Transicao> {
protected:
    Estado le() {
        const Resultado r =
            banco().consulta(QStringLiteral("SELECT CD_STATUS_ENVIO, NR_PROTOCOLO_REGISTRO, "
                                            "DT_PROTOCOLO_REGISTRO, NR_PROTOCOLO_SOLICITACAO "
                                            "FROM TB_PLANOS WHERE SEQ_PLANO = 5"));
        Estado e{r.linhas[0][0], r.linhas[0][1], r.linhas[0][2], r.linhas[0][3], {}};
        for (const auto& l :
             banco()
                 .consulta(QStringLiteral("SELECT CD_OPER, NR_PROTOCOLO_REENVIO, "
                                          "DT_PROTOCOLO_REENVIO FROM TB_PLANOS_PROTOCOLOS "
                                          "WHERE SEQ_PLANO = 5 ORDER BY rowid"))
                 .linhas) {
            EXPECT_EQ(l[0].toString(), QStringLiteral("123456"));
            e.historico << l[1].toString() + QLatin1Char('|') + l[2].toString();
        }
        return e;
    }
};

TEST_P(RegistraEnvio, Transition) {
    const Transicao& t = GetParam();
    criaBanco(QStringLiteral("INSERT INTO OPERADORAS (CD_OPER) VALUES ('123456');"));
    banco().executa(
        QStringLiteral(
            "INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, CD_STATUS_ENVIO, NR_PROTOCOLO_REGISTRO, "
            "DT_PROTOCOLO_REGISTRO, NR_PROTOCOLO_SOLICITACAO) VALUES ('123456', 5, ?, ?, ?, ?)"),
        {t.antes.status, t.antes.protocolo, t.antes.data, t.antes.solicitacao});
    for (const QString& h : t.antes.historico)
        banco().executa(
            QStringLiteral("INSERT INTO TB_PLANOS_PROTOCOLOS VALUES ('123456', 5, ?, ?)"),
            {h.section(QLatin1Char('|'), 0, 0), h.section(QLatin1Char('|'), 1)});

    int n = 0;
    for (const QString& p : t.protocolosDevolvidos)
        exportacao->RegistraEnvio(5, t.statusNaFila, kId, kData1.addDays(n++), p);

    const Estado e = le();
    EXPECT_EQ(e.status, t.depois.status);
    EXPECT_EQ(e.protocolo, t.depois.protocolo);
    EXPECT_EQ(e.data.toString(), t.depois.data.toString());
    EXPECT_EQ(e.solicitacao, t.depois.solicitacao);
    EXPECT_EQ(e.historico, t.depois.historico);
}

const QVariant kNulo;
const QString kAntigo = QStringLiteral("111");
const QString kDataAntiga = QStringLiteral("2023-05-06 07:08:09");
const QString kIdAntigo = QStringLiteral("12345620230506070809");

INSTANTIATE_TEST_SUITE_P(
    Tabela, RegistraEnvio,
    ::testing::Values(
        Transicao{"NuncaEnviadoPassaAEnviado",
                  {0, kNulo, kNulo, kNulo, {}},
                  0,
                  {QStringLiteral("222")},
                  {1, QStringLiteral("222"), QStringLiteral("2024-01-31 14:10:00"), kId, {}}},
        Transicao{
            "RetificacaoComOutroProtocoloGanhaHistorico",
            {2, kAntigo, kDataAntiga, kIdAntigo, {}},
            2,
            {QStringLiteral("333")},
            {1, kAntigo, kDataAntiga, kIdAntigo, {QStringLiteral("333|2024-01-31 14:10:00")}}},
        Transicao{"RetificacaoComOMesmoProtocoloNaoGanhaHistorico",
                  {2, kAntigo, kDataAntiga, kIdAntigo, {}},
                  2,
                  {kAntigo},
                  {1, kAntigo, kDataAntiga, kIdAntigo, {}}},
        Transicao{
            "DuasRetificacoesComOMesmoProtocoloUmaLinha",
            {2, kAntigo, kDataAntiga, kIdAntigo, {}},
            2,
            {QStringLiteral("333"), QStringLiteral("333")},
            {1, kAntigo, kDataAntiga, kIdAntigo, {QStringLiteral("333|2024-01-31 14:10:00")}}},
        Transicao{"ProtocoloJaNoHistoricoNaoSeRepete",
                  {2, kAntigo, kDataAntiga, kIdAntigo, {QStringLiteral("333|2023-12-01")}},
                  2,
                  {QStringLiteral("333")},
                  {1, kAntigo, kDataAntiga, kIdAntigo, {QStringLiteral("333|2023-12-01")}}},
        Transicao{"RetificacaoSemProtocoloGravadoGuardaORegistro",
                  {2, kNulo, kNulo, kIdAntigo, {}},
                  2,
                  {QStringLiteral("444")},
                  {1, QStringLiteral("444"), QStringLiteral("2024-01-31 14:10:00"), kIdAntigo, {}}},
        Transicao{"RetificacaoComProtocoloEmBrancoGuardaORegistro",
                  {2, QStringLiteral(""), kNulo, kIdAntigo, {}},
                  2,
                  {QStringLiteral("444")},
                  {1, QStringLiteral("444"), QStringLiteral("2024-01-31 14:10:00"), kIdAntigo, {}}},
        Transicao{"JaEnviadoNaoMuda",
                  {1, kAntigo, kDataAntiga, kIdAntigo, {}},
                  1,
                  {QStringLiteral("555")},
                  {1, kAntigo, kDataAntiga, kIdAntigo, {}}},
        Transicao{"StatusVazioNaoMuda",
                  {kNulo, kNulo, kNulo, kNulo, {}},
                  kNulo,
                  {QStringLiteral("555")},
                  {kNulo, kNulo, kNulo, kNulo, {}}}),
    [](const ::testing::TestParamInfo<Transicao>& i) { return std::string(i.param.nome); });

}  // namespace

namespace {

// The first send's fields (registration protocol and date, request identifier) are
// written once: a second recording of a plan already sent, queued as never sent (a list
// not read again, another copy of the program), keeps them and files its protocol as a
// re-send's.
TEST_F(DmExportacao, ASecondRecordingNeverOverwritesTheFirstSend) {
    criaBanco(QStringLiteral(
        "INSERT INTO OPERADORAS (CD_OPER) VALUES ('123456');"
        "INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_STATUS_ENVIO) VALUES ('123456', 7, 'P7', 0);"));
    const auto linha = [&] {
        return Apoio::coluna(banco(), QStringLiteral(
                   "SELECT CD_STATUS_ENVIO || '|' || NR_PROTOCOLO_REGISTRO || '|' || DT_PROTOCOLO_REGISTRO "
                   "|| '|' || NR_PROTOCOLO_SOLICITACAO FROM TB_PLANOS WHERE SEQ_PLANO = 7"));
    };
    const auto reenvios = [&] {
        return Apoio::coluna(banco(), QStringLiteral(
                   "SELECT NR_PROTOCOLO_REENVIO || '|' || DT_PROTOCOLO_REENVIO FROM TB_PLANOS_PROTOCOLOS "
                   "WHERE SEQ_PLANO = 7 ORDER BY rowid"));
    };
    const QDateTime primeiro(QDate(2024, 1, 31), QTime(14, 10));
    exportacao->RegistraEnvio(7, 0, QStringLiteral("12345620240131140509"), primeiro, QStringLiteral("111"));
    const QStringList primeiroEnvio{QStringLiteral("1|111|2024-01-31 14:10:00|12345620240131140509")};
    ASSERT_EQ(linha(), primeiroEnvio);

    // queued as never sent, already sent: refused over the first send's fields
    exportacao->RegistraEnvio(7, 0, QStringLiteral("12345620240201090000"),
                              QDateTime(QDate(2024, 2, 1), QTime(9, 0)), QStringLiteral("222"));
    EXPECT_EQ(linha(), primeiroEnvio);
    EXPECT_EQ(reenvios(), QStringList{QStringLiteral("222|2024-02-01 09:00:00")});
    // the same protocol again: nothing more
    exportacao->RegistraEnvio(7, 0, QStringLiteral("12345620240201090000"),
                              QDateTime(QDate(2024, 2, 1), QTime(9, 0)), QStringLiteral("222"));
    exportacao->RegistraEnvio(7, 0, QStringLiteral("12345620240201090000"), primeiro, QStringLiteral("111"));
    EXPECT_EQ(reenvios(), QStringList{QStringLiteral("222|2024-02-01 09:00:00")});

    // released (2) and queued as never sent: returns to 1, the first send's fields kept
    banco().executa(QStringLiteral("UPDATE TB_PLANOS SET CD_STATUS_ENVIO = 2 WHERE SEQ_PLANO = 7"));
    exportacao->RegistraEnvio(7, 0, QStringLiteral("12345620240301090000"),
                              QDateTime(QDate(2024, 3, 1), QTime(9, 0)), QStringLiteral("333"));
    EXPECT_EQ(linha(), primeiroEnvio);
    EXPECT_EQ(reenvios(), (QStringList{"222|2024-02-01 09:00:00", "333|2024-03-01 09:00:00"}));
    EXPECT_FALSE(banco().emTransacao());
}

}  // namespace
