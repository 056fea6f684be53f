// The pieces of the hand-over that need no transfer program: names, the parameter
// line and the program version.
#include "apoio/Apoio.h"
#include "db/Erro.h"
#include "common/Versao.h"
#include "request/ParametrosVUQ.h"

namespace {

TEST(NomeTransmissao, PlanNumberWithoutPaddingBeforeTheExtension) {
    const struct {
        const char* arquivo;
        int plano;
        const char* esperado;
    } casos[] = {
        {"123456310120241405090007.QEV", 7, "123456310120241405090007_7.QEV"},
        {"123456310120241405090012.QEV", 12, "123456310120241405090012_12.QEV"},
        {"123456310120241405090000.QEV", 0, "123456310120241405090000_0.QEV"},
        {"1234563101202414050912345.QEV", 12345, "1234563101202414050912345_12345.QEV"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(NomeTransmissao(QString::fromLatin1(c.arquivo), c.plano),
                  QString::fromLatin1(c.esperado));
}

TEST(Versao, ThreeTwoDigitParts) {
    EXPECT_EQ(FormataVersao(3, 1, 5, true), QStringLiteral("03.01.05"));
    EXPECT_EQ(FormataVersao(3, 1, 5, false), QStringLiteral("030105"));
    EXPECT_EQ(FormataVersao(12, 0, 105, true), QStringLiteral("12.00.05"));
    EXPECT_EQ(VersaoSistema(false), QString(VersaoSistema(true)).remove(QLatin1Char('.')));
    EXPECT_EQ(VersaoSistema(false).size(), 6);
}

ParametrosVUQ exemplo() {
    ParametrosVUQ p;
    p.cdOper = QStringLiteral("123456");
    p.senha = QStringLiteral(" s3nha ");
    p.janela = QStringLiteral("'4711'");
    p.checksum = QStringLiteral("CBF43926");
    p.descricao =
        DescricaoEnvio(QStringLiteral("PLANO OURO"), QStringLiteral("Individual ou Familiar"),
                       QStringLiteral("Nacional"), QStringLiteral("Ambulatorial"));
    p.versao = QStringLiteral("02.07.03");
    p.tipoArquivo = QStringLiteral("QEV");
    p.nomeTransmissao = QStringLiteral("123456310120241405090007_7.QEV");
    p.arquivo = QStringLiteral("/opt/QEV Operadora/123456310120241405090007.QEV");
    return p;
}

TEST(LinhaParametros, ElevenFieldsInOrderWithNothingAfterTheLastSeparator) {
    const QString esperado = QStringLiteral(
        "1|123456| s3nha |/opt/QEV Operadora/123456310120241405090007.QEV|"
        "123456310120241405090007_7.QEV|QEV|02.07.03|"
        "Solicitação de registro do Plano: PLANO OURO - Contratação:Individual ou Familiar - "
        "Abrangência Geográfica:Nacional - Segmentação:Ambulatorial.|CBF43926|'4711'|");
    EXPECT_EQ(LinhaParametros(exemplo()), esperado);
    // accented letters become single Windows-1252 bytes
    const QByteArray bytes = LinhaParametrosWin1252(exemplo());
    EXPECT_EQ(bytes.size(), esperado.size());
    EXPECT_TRUE(bytes.contains("Solicita\xE7\xE3o de registro"));
    EXPECT_TRUE(
        bytes.contains("Abrang\xEAncia Geogr\xE1"
                       "fica"));
}

TEST(LinhaParametros, RefusesWhatWouldShiftOrCorruptTheFields) {
    const struct {
        void (*altera)(ParametrosVUQ&);
        const char* trecho;
    } casos[] = {
        {[](ParametrosVUQ& p) { p.senha = QStringLiteral("a|b"); }, "na senha"},
        {[](ParametrosVUQ& p) {
             p.descricao = DescricaoEnvio(QStringLiteral("PLANO A|B"), {}, {}, {});
         },
         "no nome do plano"},
        {[](ParametrosVUQ& p) { p.arquivo = QStringLiteral("/tmp/a|b/x.QEV"); }, "no caminho"},
        {[](ParametrosVUQ& p) {
             p.descricao = DescricaoEnvio(QStringLiteral("PLANO 中"), {}, {}, {});
         },
         "Windows-1252"},
        {[](ParametrosVUQ& p) { p.senha = QStringLiteral("senha✓"); }, "na senha"},
    };
    for (const auto& c : casos) {
        ParametrosVUQ p = exemplo();
        c.altera(p);
        try {
            LinhaParametrosWin1252(p);
            ADD_FAILURE() << c.trecho;
        } catch (const ErroQev& e) {
            EXPECT_TRUE(e.mensagem().contains(QString::fromUtf8(c.trecho)))
                << qPrintable(e.mensagem());
        }
    }
}

TEST(ArquivoParametros, OperatorTickAndRoundedSeventhOfTheTick) {
    // the third part is 00001 when the tick leaves remainder 4 to 6 when divided by 7
    const char* terceira[7] = {"00000", "00000", "00000", "00000", "00001", "00001", "00001"};
    for (quint64 resto = 0; resto < 7; ++resto) {
        const quint64 tick = 7000000 + resto;
        EXPECT_EQ(
            NomeArquivoParametros(QStringLiteral("123456"), tick),
            QStringLiteral("123456-%1-%2.par").arg(tick).arg(QString::fromLatin1(terceira[resto])));
    }
    const quint64 antes = TickSistema();
    EXPECT_GT(antes, 0u);
    EXPECT_GE(TickSistema(), antes);
}

}  // namespace
