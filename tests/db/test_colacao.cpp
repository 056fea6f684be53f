// The Brazilian order of texts without collation keys: it must be the collator's, for
// every text, also where two texts differ only in accents or case, or hold a character
// the fast order does not know.
#include <gtest/gtest.h>

#include <QCollator>
#include <QLocale>
#include <QRandomGenerator>

#include "apoio/Apoio.h"
#include "db/ColacaoPtBr.h"
#include "db/RowSet.h"

namespace {

QCollator colador(Qt::CaseSensitivity caixa) {
    QCollator c(QLocale(QLocale::Portuguese, QLocale::Brazil));
    c.setCaseSensitivity(caixa);
    c.setNumericMode(false);
    return c;
}
int sinal(int r) { return (r > 0) - (r < 0); }

// Texts of names as clerks type them, with near-ties: the same letters with other
// accents or case, a space or a sign more, one character of another script.
QString textoAleatorio(QRandomGenerator& g) {
    static const QString letras = QString::fromUtf8("AaÁáÀàÂâÃãÄäBbCcÇçDdEeÉéÊêFfGgHhIiÍíJjKkLlMmNnÑñOoÓóÔôÕõÖöPpQqRrSsTtUuÚúÜüVvWwXxYyZz");
    static const QString outros = QString::fromUtf8("0123456789 -./&(),'ºª_*+:;!?\"#@");
    static const QString estranhos = QString::fromUtf8("ßÆØŁĞЖ€\u0301\u00a0");
    QString s;
    const int n = int(g.bounded(0, 9));
    for (int i = 0; i < n; ++i) {
        const int tipo = int(g.bounded(0, 100));
        if (tipo < 75)
            s += letras[int(g.bounded(letras.size()))];
        else if (tipo < 97)
            s += outros[int(g.bounded(outros.size()))];
        else
            s += estranhos[int(g.bounded(estranhos.size()))];
    }
    return s;
}

// Near-ties: a text against itself with one letter's accent or case changed.
QString vizinho(QRandomGenerator& g, QString s) {
    static const QString pares = QString::fromUtf8("aAáÁãÃcCçÇeEéÉoOôÔõÕuUúÚüÜ");
    if (s.isEmpty()) return s;
    const int i = int(g.bounded(s.size()));
    const int j = int(pares.indexOf(s[i]));
    if (j >= 0) s[i] = pares[(j / 2) * 2 + 1 - j % 2 + (g.bounded(2) ? 0 : 0)];
    if (g.bounded(4) == 0) s.insert(i, QLatin1Char(' '));
    return s;
}

TEST(ColacaoPtBr, OrdenaComoOColador) {
    QRandomGenerator g(20261211);
    for (const Qt::CaseSensitivity caixa : {Qt::CaseInsensitive, Qt::CaseSensitive}) {
        const QCollator col = colador(caixa);
        int diferentes = 0;
        for (int k = 0; k < 40000; ++k) {
            const QString a = textoAleatorio(g);
            const QString b = g.bounded(3) == 0 ? vizinho(g, a) : textoAleatorio(g);
            const int esperado = sinal(col.compare(a, b));
            const QByteArray ua = a.toUtf8(), ub = b.toUtf8();
            ASSERT_EQ(ColacaoPtBr::Compara(col, a, b), esperado)
                << qPrintable(a) << " | " << qPrintable(b) << " caixa " << int(caixa);
            ASSERT_EQ(ColacaoPtBr::ComparaUtf8(col, ua.constData(), int(ua.size()), ub.constData(), int(ub.size())),
                      esperado)
                << qPrintable(a) << " | " << qPrintable(b);
            diferentes += esperado != 0;
        }
        EXPECT_GT(diferentes, 20000);  // not a run of ties
    }
}

TEST(ColacaoPtBr, CasosConhecidos) {
    const QCollator col = colador(Qt::CaseInsensitive);
    const struct {
        const char* a;
        const char* b;
    } menores[] = {
        {"AB", "ÁC"},       {"ÁA", "AB"},         {"JOSE", "JOSÉ"},   {"CASA", "ÇASA"},    {"C", "D"},
        {"Ç", "D"},         {"A B", "AB"},        {"1", "A"},         {"HOSPITAL", "HOSPITAL A"},
        {"", "A"},          {"SÃO JOSÉ", "SAO PAULO"},                {"ÑANDU", "OBA"},   {"A-B", "AB"},
    };
    for (const auto& c : menores) {
        const QString a = QString::fromUtf8(c.a), b = QString::fromUtf8(c.b);
        EXPECT_EQ(ColacaoPtBr::Compara(col, a, b), sinal(col.compare(a, b))) << c.a << " | " << c.b;
        EXPECT_EQ(ColacaoPtBr::Compara(col, b, a), sinal(col.compare(b, a))) << c.b << " | " << c.a;
    }
    EXPECT_EQ(ColacaoPtBr::Compara(col, QStringLiteral("ABC"), QStringLiteral("ABC")), 0);
    // a character outside the fast order's goes to the collator
    EXPECT_EQ(ColacaoPtBr::Peso(U'Ж'), 0);
    EXPECT_EQ(ColacaoPtBr::Peso(U'ß'), 0);
    EXPECT_GT(ColacaoPtBr::Peso(U'A'), 0);
    EXPECT_EQ(ColacaoPtBr::Peso(U'A'), ColacaoPtBr::Peso(U'á'));
    EXPECT_LT(ColacaoPtBr::Peso(U'C'), ColacaoPtBr::Peso(U'D'));
}

// The row set and the database's own collation order names alike, and as the collator.
TEST(ColacaoPtBr, ConjuntoEBancoOrdenamComoOColador) {
    Apoio::PastaTeste pasta;
    auto banco = Apoio::abreBanco(Apoio::criaBanco(pasta.caminho(), Apoio::Esquema::Atual,
                                                   QStringLiteral("CREATE TABLE NOMES (ID INTEGER PRIMARY KEY, NOME TEXT);")));
    QRandomGenerator g(7);
    QStringList nomes;
    banco->iniciaTransacao();
    for (int i = 0; i < 3000; ++i) {
        const QString n = i % 5 == 0 && !nomes.isEmpty() ? vizinho(g, nomes.last()) : textoAleatorio(g);
        nomes << n;
        banco->executa(QStringLiteral("INSERT INTO NOMES VALUES (?, ?)"), {i, n});
    }
    banco->confirmaTransacao();
    const QCollator col = colador(Qt::CaseInsensitive);
    const auto emOrdem = [&](const QStringList& l) {
        for (int i = 1; i < l.size(); ++i)
            if (col.compare(l[i - 1], l[i]) > 0) return testing::AssertionFailure() << qPrintable(l[i - 1]) << " > " << qPrintable(l[i]);
        return testing::AssertionSuccess();
    };
    RowSet rs;
    rs.Abre(*banco, QStringLiteral("SELECT * FROM NOMES"));
    rs.DefineIndice(QStringLiteral("INOME"), {{QStringLiteral("NOME")}});
    QStringList doConjunto;
    for (rs.First(); !rs.Eof(); rs.Next()) doConjunto << rs.Valor(QStringLiteral("NOME")).toString();
    EXPECT_TRUE(emOrdem(doConjunto));
    EXPECT_TRUE(emOrdem(Apoio::coluna(*banco, QStringLiteral("SELECT NOME FROM NOMES ORDER BY NOME COLLATE PTBR"))));
}

}  // namespace
