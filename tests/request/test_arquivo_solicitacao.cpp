// The registration request file: name, records, value rendering and encoding.
#include <QFile>

#include "BaseSolicitacao.h"
#include "db/Erro.h"
#include "common/Versao.h"
#include "platform/Plataforma.h"
#include "request/ArquivoSolicitacao.h"

using namespace LeiauteSolicitacao;

namespace {

QByteArray esp(int n) { return QByteArray(n, ' '); }
// A line from its fields.
QByteArray L(std::initializer_list<QByteArray> campos) {
    QByteArray l;
    for (const QByteArray& c : campos) l += c;
    return l;
}

const char* kOperadora = R"SQL(
INSERT INTO OPERADORAS (CD_OPER, CD_CNPJ, NM_RAZAO_SOCIAL, CD_GRUPO_CLASSIFICACAO, CD_REGIAO_ATUACAO)
  VALUES ('123456', '11222333000181', 'OPERADORA TESTE', 5, 3);
)SQL";

// Plan 7 with one row of every kind, two establishments, and rows of plan 8 that must
// stay out of plan 7's file.
const char* kPlanoCompleto = R"SQL(
INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_ABRANGENCIA, CD_SEGMENTACAO, CD_TIPO_CONTRATO,
  CD_TIPO_FINANC, CD_PADRAO_ACOMODACAO, CD_OPCAO_POS_ESTABELECIDO, CD_PARTC_FINANC_PJ,
  LG_FM_COPARTICIPACAO, LG_FM_FRANQUIA, LG_VB_VINCULO_ATIVO, LG_VB_VINCULO_INATIVO, LG_VB_SEM_VINCULO,
  CD_REGIAO_COBERTURA, LG_TOTAL_LIVRE_ESCOLHA, LG_TERMO_ASSUNCAO, CD_STATUS_ENVIO)
  VALUES ('123456', 7, 'PLANO SAÚDE TOTAL', 1, 2, 1, 1, 'I', NULL, 'C', 'N', 'S', 'S', 'N', 'N', 1, 'N', 1, 0);
INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_STATUS_ENVIO) VALUES ('123456', 8, 'OUTRO', 0);
INSERT INTO TB_ESTAB_SAUDE VALUES (1, '123456', '11222333000181', '1234567', 'HOSPITAL SÃO JOSÉ', 1, 1000,
  'D', NULL, '2020-01-02 10:30:00', '2020-05-04', 'T', 'S', 3550308, 'N', 'S');
INSERT INTO TB_ESTAB_SAUDE VALUES (2, '123456', '12345678909', '', '', NULL, 2000,
  'I', '654321', NULL, '1899-12-30', NULL, NULL, -1, 'S', 'N');
INSERT INTO RL_PLANO_NOTA_TECNICA VALUES ('123456', 7, 3, '12.345/2023', '888888999999999010120241200.nta', '2023-03-15');
INSERT INTO RL_PLANOS_ESTAB_SAUDE VALUES ('123456', 7, 1, '2021-06-01', 'S');
INSERT INTO RL_PLANOS_ESTAB_SAUDE VALUES ('123456', 7, 2, NULL, 'S');
INSERT INTO RL_PLANOS_ESTAB_SAUDE VALUES ('123456', 8, 1, '2021-06-01', 'S');
INSERT INTO RL_PLANOS_SERV_OPC VALUES ('123456', 7, 13, NULL);
INSERT INTO RL_PLANOS_TIPO_COBERTURA VALUES ('123456', 7, 1);
INSERT INTO RL_PLANOS_TIPO_COBERTURA VALUES ('123456', 7, 2);
INSERT INTO RL_PLANOS_MUNICIPIO VALUES ('123456', 8, 3304557);
INSERT INTO RL_PLANOS_MUNICIPIO VALUES ('123456', 7, 3550308);
INSERT INTO RL_PLANOS_UF VALUES ('123456', 7, 'SP');
INSERT INTO RL_PLANOS_UF VALUES ('123456', 8, 'RJ');
INSERT INTO RL_PLANO_TAXA_REGISTRO VALUES ('123456', 7, 4, '');
)SQL";

const QString kId = QStringLiteral("12345620240131140509");
const QString kNome = QStringLiteral("123456310120241405090007.QEV");

class ArquivoSolicitacao : public BaseSolicitacao {
protected:
    QList<QByteArray> linhas(const QByteArray& conteudo) {
        QList<QByteArray> l = conteudo.split('\n');
        EXPECT_TRUE(l.last().isEmpty()) << "the last line must end with CR LF";
        l.removeLast();
        for (QByteArray& x : l) {
            EXPECT_TRUE(x.endsWith('\r'));
            x.chop(1);
        }
        return l;
    }
};

TEST_F(ArquivoSolicitacao, NameFromTheClockOperatorAndPlan) {
    Relogio::define([] { return QDateTime(QDate(2024, 1, 31), QTime(14, 5, 9)); });
    EXPECT_EQ(NomeArquivoSolicitacao(QStringLiteral("123456"), 7, Relogio::agora()), kNome);
    EXPECT_EQ(NomeArquivoSolicitacao(QStringLiteral("123456"), 12345, Relogio::agora()),
              QStringLiteral("1234563101202414050912345.QEV"));
    EXPECT_EQ(IdentificadorSolicitacao(QStringLiteral("123456"), Relogio::agora()), kId);
}

TEST_F(ArquivoSolicitacao, EveryRecordOfAFullPlanByteForByte) {
    criaBanco(QString::fromUtf8(kOperadora) + QString::fromUtf8(kPlanoCompleto));
    ASSERT_TRUE(GeraArquivoSolicitacao(7, kNome, kId));

    const QByteArray versao = VersaoSistema(false).toLatin1();
    const QByteArray id = kId.toLatin1();
    const QList<QByteArray> esperado{
        L({"00", "123456", "11222333000181", "05", "3", versao, "1"}),
        L({"01",         "0000000007", "PLANO SA\332DE TOTAL",
           esp(43),      "0000000001", "0000000002",
           "0000000001", "0000000001", "I",
           " ",          " ",          "N",
           "S",          esp(30),      esp(8),
           id,           "S",          "N",
           "N",          "1",          "N",
           "0"}),
        L({"02", "0000000001", "1234567", "11222333000181", "HOSPITAL S\xC3O JOS\xC9", esp(43),
           "0000001000", "0003550308", "D", "N", "04052020", "02012020", "S", esp(6), "T",
           "0000000001", "S"}),
        L({"02", "0000000002", esp(7), "00012345678909", esp(60), "0000002000", "00000000-1", "I",
           "S", esp(8), esp(8), "N", "654321", " ", "0000000000", " "}),
        L({"04", "0000000007", "0000000003", "12.345/2023", esp(19),
           "888888999999999010120241200.nta", esp(119), "15032023"}),
        L({"05", "0000000007", "0000000001", "01062021"}),
        L({"05", "0000000007", "0000000002", esp(8)}),
        L({"07", "0000000007", "0000000013", esp(110)}),
        L({"08", "0000000007", "0000000001"}),
        L({"08", "0000000007", "0000000002"}),
        L({"09", "0000000007", "0003550308"}),
        L({"10", "0000000007", "SP"}),
        L({"11", "0000000007", "0000000004", esp(30)}),
        L({"99", "0000001", "0000002", "0000000", "0000001", "0000002", "0000000", "0000001",
           "0000002", "0000001", "0000001", "0000001"}),
    };

    const QByteArray conteudo = leArquivo(kNome);
    EXPECT_EQ(conteudo, esperado.join("\r\n") + "\r\n");

    // every type at its one length
    const QMap<QByteArray, int> comprimento{{"00", 32}, {"01", 181}, {"02", 150}, {"04", 210},
                                            {"05", 30}, {"07", 132}, {"08", 22},  {"09", 22},
                                            {"10", 14}, {"11", 52},  {"99", 79}};
    const QList<QByteArray> lidas = linhas(conteudo);
    ASSERT_EQ(lidas.size(), esperado.size());
    for (const QByteArray& l : lidas)
        EXPECT_EQ(l.size(), comprimento.value(l.left(2))) << l.constData();
    // record 01: position 115 a space and 181 "0", whatever the plan holds
    EXPECT_EQ(lidas[1].at(114), ' ');
    EXPECT_EQ(lidas[1].at(180), '0');
}

TEST_F(ArquivoSolicitacao, TrailerOfTheExampleAndPlanWithNothingAttached) {
    QString sql =
        QString::fromUtf8(kOperadora) +
        QStringLiteral(
            "INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO) VALUES ('123456', 1, 'A');"
            "INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO) VALUES ('123456', 2, 'B');"
            "INSERT INTO RL_PLANO_NOTA_TECNICA (CD_OPER, SEQ_PLANO, ID_PLANO_NOTA_TECNICA) VALUES "
            "('123456', 1, 1);"
            "INSERT INTO RL_PLANOS_TIPO_COBERTURA VALUES ('123456', 1, 1), ('123456', 1, 4);"
            "INSERT INTO RL_PLANOS_UF VALUES ('123456', 1, 'MG');"
            "INSERT INTO RL_PLANO_TAXA_REGISTRO VALUES ('123456', 1, 1, '123');");
    for (int id = 1; id <= 5; ++id)
        sql += QStringLiteral(
                   "INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, CD_OPER) VALUES (%1, '123456');")
                   .arg(id);
    for (int id = 1; id <= 3; ++id)
        sql += QStringLiteral(
                   "INSERT INTO RL_PLANOS_ESTAB_SAUDE (CD_OPER, SEQ_PLANO, ID_ESTB_SAUD) VALUES "
                   "('123456', 1, %1);")
                   .arg(id);
    criaBanco(sql);

    ASSERT_TRUE(GeraArquivoSolicitacao(1, QStringLiteral("um.QEV"), kId));
    EXPECT_TRUE(
        leArquivo(QStringLiteral("um.QEV"))
            .endsWith(L({"99", "0000001", "0000005", "0000000", "0000001", "0000003", "0000000",
                         "0000000", "0000002", "0000000", "0000001", "0000001", "\r\n"})));

    ASSERT_TRUE(GeraArquivoSolicitacao(2, QStringLiteral("dois.QEV"), kId));
    const QList<QByteArray> l = linhas(leArquivo(QStringLiteral("dois.QEV")));
    ASSERT_EQ(l.size(), 1 + 1 + 5 + 1);
    EXPECT_TRUE(l[0].startsWith("00"));
    EXPECT_TRUE(l[1].startsWith("010000000002B "));
    for (int i = 2; i < 7; ++i) EXPECT_TRUE(l[i].startsWith("02")) << i;
    EXPECT_EQ(l[7], L({"99", "0000001", "0000005", QByteArray(9 * 7, '0')}));
}

TEST_F(ArquivoSolicitacao, EmptyEstablishmentTableAndReplacedFile) {
    criaBanco(
        QString::fromUtf8(kOperadora) +
        QStringLiteral(
            "INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO) VALUES ('123456', 3, '');"));
    {
        QFile antigo(programa + kNome);
        ASSERT_TRUE(antigo.open(QIODevice::WriteOnly));
        antigo.write(QByteArray(5000, 'x'));
    }
    ASSERT_TRUE(GeraArquivoSolicitacao(3, kNome, QString()));
    const QList<QByteArray> l = linhas(leArquivo(kNome));
    ASSERT_EQ(l.size(), 3);
    EXPECT_EQ(l[1].mid(12, 60), esp(60));              // empty name: 60 spaces
    EXPECT_EQ(l[1].mid(155, 20), esp(20));             // empty batch identifier
    EXPECT_EQ(l[1].mid(72, 40), QByteArray(40, '0'));  // empty integers: zeros
    EXPECT_EQ(l[2], L({"99", "0000001", QByteArray(10 * 7, '0')}));
}

TEST_F(ArquivoSolicitacao, EveryOperatorRowGivesARecord00) {
    criaBanco(QString::fromUtf8(kOperadora) +
              QStringLiteral("INSERT INTO OPERADORAS (CD_OPER, CD_CNPJ, CD_GRUPO_CLASSIFICACAO, "
                             "CD_REGIAO_ATUACAO) VALUES ('000019', NULL, NULL, NULL);"
                             "INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO) VALUES ('123456', 0);"));
    ASSERT_TRUE(GeraArquivoSolicitacao(0, kNome, kId));
    const QList<QByteArray> l = linhas(leArquivo(kNome));
    ASSERT_GE(l.size(), 3);
    EXPECT_EQ(l[0].left(25), L({"00", "123456", "11222333000181", "05", "3"}));
    EXPECT_EQ(l[1], L({"00", "000019", esp(14), "00", "0", VersaoSistema(false).toLatin1(), "1"}));
    EXPECT_TRUE(l[2].startsWith("010000000000"));
}

TEST_F(ArquivoSolicitacao, CharacterOutsideWindows1252StopsNamingRecordAndField) {
    criaBanco(
        QString::fromUtf8(kOperadora) +
        QStringLiteral(
            "INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO) VALUES ('123456', 7, 'PLANO');"
            "INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, CD_OPER, RAZAO_SOCIAL_ESTB_SAUD) VALUES (1, "
            "'123456', 'CLÍNICA 中心');"));
    try {
        GeraArquivoSolicitacao(7, kNome, kId);
        FAIL() << "no error";
    } catch (const ErroQev& e) {
        EXPECT_TRUE(e.mensagem().contains(QStringLiteral("RAZAO_SOCIAL_ESTB_SAUD")))
            << qPrintable(e.mensagem());
        EXPECT_TRUE(e.mensagem().contains(QStringLiteral("registro 02 (estabelecimento 1 - CLÍNICA 中心)")))
            << qPrintable(e.mensagem());
    }
    // the partial file stays, without the establishment and without a trailer
    const QByteArray parcial = leArquivo(kNome);
    EXPECT_TRUE(parcial.startsWith("00123456"));
    EXPECT_FALSE(parcial.contains("\r\n02"));
    EXPECT_FALSE(parcial.contains("\r\n99"));
}

TEST_F(ArquivoSolicitacao, MissingPlanOrUnreadableDateIsAnError) {
    criaBanco(QString::fromUtf8(kOperadora) +
              QStringLiteral("INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, DT_PROTOCOLO_REGISTRO) "
                             "VALUES ('123456', 7, '31/01/2024');"));
    EXPECT_THROW(GeraArquivoSolicitacao(99, kNome, kId), ErroQev);
    try {
        GeraArquivoSolicitacao(7, kNome, kId);
        FAIL() << "no error";
    } catch (const ErroQev& e) {
        EXPECT_TRUE(e.mensagem().contains(QStringLiteral("DT_PROTOCOLO_REGISTRO")))
            << qPrintable(e.mensagem());
    }
}

TEST_F(ArquivoSolicitacao, UnwritableFolderIsAnError) {
    criaBanco(QString::fromUtf8(kOperadora) +
              QStringLiteral("INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO) VALUES ('123456', 7);"));
    EXPECT_THROW(GeraArquivoSolicitacao(7, QStringLiteral("nao/existe/x.QEV"), kId), ErroQev);
}

// ---------------------------------------------------------------------------

struct CasoValor {
    QVariant valor;
    Tipo tipo;
    Regra regra;
    int largura;
    const char* esperado;
};

TEST(LeiauteSolicitacao, ValueTextAndLayoutRules) {
    const QVariant nulo;
    const CasoValor casos[] = {
        {nulo, Tipo::Inteiro, Regra::Z, 10, "0000000000"},
        {qlonglong(-1), Tipo::Inteiro, Regra::Z, 10, "00000000-1"},
        {qlonglong(12345678901), Tipo::Inteiro, Regra::Z, 10, "12345678901"},
        {qlonglong(3), Tipo::Inteiro, Regra::V, 0, "3"},
        {QStringLiteral("42"), Tipo::Inteiro, Regra::Z, 4, "0042"},
        {QString(), Tipo::Texto, Regra::Z, 7, "       "},
        {QStringLiteral("123"), Tipo::Texto, Regra::Z, 7, "0000123"},
        {QStringLiteral("   "), Tipo::Texto, Regra::A, 5, "     "},
        {QStringLiteral(" AB"), Tipo::Texto, Regra::A, 5, " AB  "},
        {QStringLiteral("ABCDEFGHIJK"), Tipo::Texto, Regra::A, 5, "ABCDEFGHIJK"},
        {nulo, Tipo::Texto, Regra::C, 0, " "},
        {QStringLiteral("X"), Tipo::Texto, Regra::C, 0, "X"},
        {QString(), Tipo::Texto, Regra::V, 0, " "},
        {nulo, Tipo::Data, Regra::D, 0, "        "},
        {QStringLiteral(""), Tipo::Data, Regra::D, 0, "        "},
        {QStringLiteral("/  /"), Tipo::Data, Regra::D, 0, "        "},
        {QStringLiteral("1899-12-30"), Tipo::Data, Regra::D, 0, "        "},
        {QStringLiteral("1899-12-31"), Tipo::Data, Regra::D, 0, "31121899"},
        {QStringLiteral("2024-01-31 14:05:09"), Tipo::Data, Regra::D, 0, "31012024"},
        {QDate(2024, 2, 29), Tipo::Data, Regra::D, 0, "29022024"},
    };
    for (const CasoValor& c : casos)
        EXPECT_EQ(Campo(c.valor, c.tipo, c.regra, c.largura), QByteArray(c.esperado))
            << qPrintable(c.valor.toString()) << " -> " << c.esperado;

    // accented letters are single Windows-1252 bytes, counted as one character
    EXPECT_EQ(Campo(QStringLiteral("AÇÃO"), Tipo::Texto, Regra::A, 6), QByteArray("A\xC7\xC3O  "));
    EXPECT_EQ(Campo(QStringLiteral("€"), Tipo::Texto, Regra::C), QByteArray("\x80"));

    for (const auto& [valor, tipo] : {std::pair{QVariant(QStringLiteral("2024-13-45")), Tipo::Data},
                                      std::pair{QVariant(QStringLiteral("31/01/2024")), Tipo::Data},
                                      std::pair{QVariant(qlonglong(20240131)), Tipo::Data},
                                      std::pair{QVariant(QStringLiteral("abc")), Tipo::Inteiro},
                                      std::pair{QVariant(2.5), Tipo::Inteiro},
                                      std::pair{QVariant(QStringLiteral("中")), Tipo::Texto}})
        EXPECT_THROW(Campo(valor, tipo, Regra::V), ErroQev) << qPrintable(valor.toString());
}

}  // namespace
