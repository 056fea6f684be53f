#include <gtest/gtest.h>

#include <QString>
#include <ostream>

#include "db/Erro.h"
#include "common/Identificadores.h"

namespace {

struct CasoDocumento {
    const char* texto;
    int tipo;
    bool valido;
};

void PrintTo(const CasoDocumento& c, std::ostream* os) {
    *os << '"' << c.texto << "\" tipo " << c.tipo;
}

class ValidaCnpjCpfTeste : public ::testing::TestWithParam<CasoDocumento> {};

TEST_P(ValidaCnpjCpfTeste, AplicaOsDigitosVerificadores) {
    const CasoDocumento& c = GetParam();
    EXPECT_EQ(ValidaCnpjCpf(QString::fromUtf8(c.texto), c.tipo), c.valido)
        << c.texto << " tipo " << c.tipo;
}

INSTANTIATE_TEST_SUITE_P(
    Casos, ValidaCnpjCpfTeste,
    ::testing::Values(
        // CNPJ
        CasoDocumento{"11222333000181", 0, true}, CasoDocumento{"11222333000182", 0, false},
        CasoDocumento{"11222333000191", 0, false},
        // 13 digits are checked with a zero on the left.
        CasoDocumento{"1234567800043", 0, true}, CasoDocumento{"1234567800044", 0, false},
        // Punctuation must be removed first.
        CasoDocumento{"11.222.333/0001-81", 0, false},
        // A character that is not a digit counts as zero, text taken as given.
        CasoDocumento{"11222333x00181", 0, true}, CasoDocumento{" 1234567800043", 0, true},
        CasoDocumento{"1234567800043 ", 0, false},
        // Equal digits are not refused here.
        CasoDocumento{"00000000000000", 0, true},
        // Empty or blank text, unknown kind.
        CasoDocumento{"", 0, false}, CasoDocumento{"   ", 0, false}, CasoDocumento{"", 1, false},
        CasoDocumento{"11222333000181", 2, false}, CasoDocumento{"11144477735", -1, false},
        // CPF
        CasoDocumento{"11144477735", 1, true}, CasoDocumento{"11144477736", 1, false},
        CasoDocumento{"11144477725", 1, false}, CasoDocumento{"11111111111", 1, true},
        CasoDocumento{"111.444.777-35", 1, false}, CasoDocumento{"11222333000181", 1, false}));

struct CasoCodigo {
    const char* texto;
    bool valido;
};

void PrintTo(const CasoCodigo& c, std::ostream* os) { *os << '"' << c.texto << '"'; }

class ValidaCnesTeste : public ::testing::TestWithParam<CasoCodigo> {};

TEST_P(ValidaCnesTeste, ConfereODigitoDaSetimaPosicao) {
    EXPECT_EQ(ValidaCnes(QString::fromUtf8(GetParam().texto)), GetParam().valido)
        << GetParam().texto;
}

INSTANTIATE_TEST_SUITE_P(Casos, ValidaCnesTeste,
                         ::testing::Values(CasoCodigo{"2077485", true},
                                           CasoCodigo{"2077486", false},
                                           // Read as a number: 124 is checked as 0000124.
                                           CasoCodigo{"124", true}, CasoCodigo{"0000124", true},
                                           CasoCodigo{"123", false},
                                           // Remainder 1 and remainder 0: check digit 0.
                                           CasoCodigo{"60", true}, CasoCodigo{"0000310", true},
                                           CasoCodigo{"0000311", false},
                                           // Value zero, not a number, empty, negative.
                                           CasoCodigo{"0000000", false}, CasoCodigo{"0", false},
                                           CasoCodigo{"ABC1234", false},
                                           CasoCodigo{"20774a5", false}, CasoCodigo{"", false},
                                           CasoCodigo{"-124", false}));

class ValidaCodigoOperadoraTeste : public ::testing::TestWithParam<CasoCodigo> {};

TEST_P(ValidaCodigoOperadoraTeste, ConfereODigitoDaSextaPosicao) {
    EXPECT_EQ(ValidaCodigoOperadora(QString::fromUtf8(GetParam().texto)), GetParam().valido)
        << GetParam().texto;
}

INSTANTIATE_TEST_SUITE_P(Casos, ValidaCodigoOperadoraTeste,
                         ::testing::Values(
                             // Weighted sum a multiple of 11: the check digit is 1, not 0.
                             CasoCodigo{"000141", true}, CasoCodigo{"000140", false},
                             CasoCodigo{"000001", true}, CasoCodigo{"000000", false},
                             CasoCodigo{"", false},
                             // Remainder 1: check digit 0.
                             CasoCodigo{"200000", true}, CasoCodigo{"200001", false},
                             // Otherwise 11 - r; shorter codes are filled with zeros on the left.
                             CasoCodigo{"000019", true}, CasoCodigo{"19", true},
                             CasoCodigo{"000018", false},
                             // More than six characters.
                             CasoCodigo{"0000019", false}));

TEST(ValidaCodigoOperadora, CaractereQueNaoEhDigitoEhErroDeConversao) {
    // The message names the offending character.
    const struct {
        const char* texto;
        const char* inicio;
    } casos[] = {{"A00019", "'A'"}, {"00001X", "'X'"}, {"0 0019", "' '"}, {"X", "'X'"}};
    for (const auto& c : casos) {
        try {
            ValidaCodigoOperadora(QString::fromUtf8(c.texto));
            ADD_FAILURE() << "sem erro para " << c.texto;
        } catch (const ErroQev& e) {
            EXPECT_EQ(e.mensagem(), QString::fromUtf8(c.inicio) +
                                        QStringLiteral(" não é um número inteiro válido"));
        }
    }
}

TEST(TodosZeros, SomaOsDigitosAteOComprimentoSemEspacos) {
    const struct {
        const char* texto;
        bool zeros;
    } casos[] = {{"00000000000000", true}, {"", true},   {"   ", true},
                 {"0001", false},          {"9", false}, {"00 ", true}};
    for (const auto& c : casos)
        EXPECT_EQ(TodosZeros(QString::fromUtf8(c.texto)), c.zeros) << '"' << c.texto << '"';
}

TEST(TodosZeros, CaractereQueNaoEhDigitoEhErroDeConversao) {
    // The count comes from the trimmed text, but the characters are read from
    // the text as given: a leading space is read.
    for (const char* texto : {"0a", " 00", "0.0"})
        EXPECT_THROW(TodosZeros(QString::fromUtf8(texto)), ErroQev) << texto;
}

TEST(DigitoVerificadorTaxa, CalculaORestoComOsPesosCiclicos) {
    const struct {
        const char* texto;
        int comprimento;
        const char* digito;
    } casos[] = {
        // Weights 7, 8, 9 then 2..9 repeated.
        {"0001000000", 11, "2"},
        {"00000000001", 12, "9"},
        {"000000000001", 13, "2"},
        {"1000000000", 11, "7"},
        {"0000000000", 11, "0"},
        // Characters beyond the base are not read.
        {"0001000000ZZ", 11, "2"},
        // Remainder 10: "X" only for the 12-character document.
        {"49249319400", 12, "X"},
        {"49249319400", 11, "0"},
        {"12345678901", 12, "X"},
        // Too short: empty.
        {"123", 12, ""},
        {"", 12, ""},
    };
    for (const auto& c : casos)
        EXPECT_EQ(DigitoVerificadorTaxa(QString::fromUtf8(c.texto), c.comprimento),
                  QString::fromUtf8(c.digito))
            << c.texto << " L=" << c.comprimento;
}

TEST(DigitoVerificadorTaxa, CaractereDaBaseQueNaoEhDigitoEhErroDeConversao) {
    EXPECT_THROW(DigitoVerificadorTaxa(QStringLiteral("1234567890A"), 12), ErroQev);
    EXPECT_THROW(DigitoVerificadorTaxa(QStringLiteral("12345 67890"), 12), ErroQev);
}

TEST(TextosAuxiliares, SomenteDigitosCompletaZerosECompletaEspacos) {
    EXPECT_EQ(SomenteDigitos(QStringLiteral("11.222.333/0001-81")),
              QStringLiteral("11222333000181"));
    EXPECT_EQ(SomenteDigitos(QStringLiteral("a1 b2\t3")), QStringLiteral("123"));
    EXPECT_EQ(SomenteDigitos(QStringLiteral("abc")), QString());
    // Digits of other scripts are not "0" to "9".
    EXPECT_EQ(SomenteDigitos(QStringLiteral("١٢3")), QStringLiteral("3"));

    EXPECT_EQ(CompletaZeros(QStringLiteral("123"), 7), QStringLiteral("0000123"));
    EXPECT_EQ(CompletaZeros(QString(), 3), QStringLiteral("000"));
    EXPECT_EQ(CompletaZeros(QStringLiteral("12345678"), 7), QStringLiteral("12345678"));
    EXPECT_EQ(CompletaZeros(QStringLiteral("12"), -1), QStringLiteral("12"));

    EXPECT_EQ(CompletaEspacos(QStringLiteral("ab"), 5), QStringLiteral("ab   "));
    EXPECT_EQ(CompletaEspacos(QStringLiteral("abcdef"), 3), QStringLiteral("abcdef"));
    EXPECT_EQ(CompletaEspacos(QStringLiteral("São"), 4), QStringLiteral("São "));
}

// The generators give exactly the check digits the checks accept, and any other
// last digit is refused.
TEST(CompletaDigitos, GeramOQueAsValidacoesAceitam) {
    EXPECT_EQ(CompletaDigitosCnpj(QStringLiteral("112223330001")), QStringLiteral("11222333000181"));
    EXPECT_EQ(CompletaDigitosCpf(QStringLiteral("529982247")), QStringLiteral("52998224725"));
    EXPECT_EQ(CompletaDigitoCnes(QStringLiteral("001234")), QStringLiteral("0012343"));
    EXPECT_EQ(CompletaDigitoOperadora(QStringLiteral("12345")), QStringLiteral("123455"));
    const auto troca = [](QString s) {
        s[s.size() - 1] = QChar(u'0' + (s.back().unicode() - u'0' + 1) % 10);
        return s;
    };
    quint32 x = 2463534242u;  // xorshift: the same bases on every run
    for (int i = 0; i < 300; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        const QString base = QStringLiteral("%1%2").arg(x % 1000000u, 6, 10, QLatin1Char('0'))
                                 .arg((x >> 8) % 1000000u, 6, 10, QLatin1Char('0'));
        const QString cnpj = CompletaDigitosCnpj(base);
        const QString cpf = CompletaDigitosCpf(base.left(9));
        const QString cnes = CompletaDigitoCnes(base.left(6));
        const QString oper = CompletaDigitoOperadora(base.left(5));
        ASSERT_TRUE(ValidaCnpjCpf(cnpj, 0)) << cnpj.toStdString();
        ASSERT_TRUE(ValidaCnpjCpf(cpf, 1)) << cpf.toStdString();
        ASSERT_EQ(ValidaCnes(cnes), base.left(6) != QLatin1String("000000")) << cnes.toStdString();
        ASSERT_TRUE(ValidaCodigoOperadora(oper)) << oper.toStdString();
        EXPECT_FALSE(ValidaCnpjCpf(troca(cnpj), 0));
        EXPECT_FALSE(ValidaCnpjCpf(troca(cpf), 1));
        EXPECT_FALSE(ValidaCodigoOperadora(troca(oper)));
    }
    EXPECT_THROW(CompletaDigitosCnpj(QStringLiteral("11222333000A")), ErroQev);
}

TEST(NumeroRomano, ConversaoGulosa) {
    const struct {
        int n;
        const char* romano;
    } casos[] = {{1, "I"},         {4, "IV"},           {9, "IX"},   {15, "XV"},
                 {40, "XL"},       {90, "XC"},          {400, "CD"}, {1994, "MCMXCIV"},
                 {2024, "MMXXIV"}, {3999, "MMMCMXCIX"}, {0, ""},     {-5, ""}};
    for (const auto& c : casos) EXPECT_EQ(NumeroRomano(c.n), QString::fromLatin1(c.romano)) << c.n;
}

TEST(RotuloTema, NumeralRomanoTracoENome) {
    EXPECT_EQ(RotuloTema(14, QStringLiteral("Carências")), QStringLiteral("XIV - Carências"));
    EXPECT_EQ(RotuloTema(1, QString()), QStringLiteral("I - "));
}

}  // namespace
