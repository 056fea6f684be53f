// The report engine: bands, page breaks, groups, lists, growing bands, summaries,
// events, alternate shading and empty data.
#include "ApoioRelatorios.h"
#include "reports/ModeloRelatorio.h"
#include "reports/Relatorio.h"

using namespace ApoioRelatorios;

namespace {

const QFont kFonte = FonteRelatorio(9);

QVector<QVariantList> numeros(int n) {
    QVector<QVariantList> l;
    for (int i = 1; i <= n; ++i) l.push_back({i});
    return l;
}

// A report with a page header, a column header, a detail of one field and a summary
// counting the rows.
struct Simples {
    Relatorio r;
    Banda* cab;
    Banda* col;
    Banda* det;
    Banda* sum;
    explicit Simples(Resultado dados) {
        r.Titulo = QStringLiteral("Teste");
        cab = r.CriaBanda(TipoBanda::CabecalhoPagina, 100);
        cab->Rotulo(QStringLiteral("c"), QStringLiteral("CABEÇALHO"), QRectF(0, 0, 1000, 50), kFonte);
        col = r.CriaBanda(TipoBanda::CabecalhoColuna, 60);
        col->Rotulo(QStringLiteral("t"), QStringLiteral("COLUNA"), QRectF(0, 0, 1000, 50), kFonte);
        det = r.CriaBanda(TipoBanda::Detalhe, 50);
        det->Campo(QStringLiteral("n"), dados.colunas.first(), QRectF(300, 0, 1200, 50), kFonte);
        sum = r.CriaBanda(TipoBanda::Sumario, 60);
        sum->Expressao(QStringLiteral("total"), Elemento::Agregado::Contagem, QString(),
                       QRectF(0, 0, 1000, 50), kFonte)
            ->texto = QStringLiteral("Total: ");
        r.DefineFonte(std::make_unique<FonteResultado>(std::move(dados)));
    }
    const DocumentoRelatorio& gera() {
        r.GeraTudo();
        return *r.Documento();
    }
};

// Every text of the document stays inside the page's printable area.
void confereLimites(const DocumentoRelatorio& d, qreal margem = 100) {
    const QSizeF s = d.TamanhoPagina();
    for (int p = 0; p < d.NumPaginas(); ++p)
        for (const ItemTexto& i : d.Pagina(p)->textos) {
            EXPECT_GE(i.caixa.top(), margem - 0.01) << "página " << p + 1 << ": " << i.texto.toStdString();
            EXPECT_LE(i.caixa.bottom(), s.height() - margem + 0.01)
                << "página " << p + 1 << ": " << i.texto.toStdString();
        }
}

}  // namespace

TEST(MotorRelatorio, DetailThatDoesNotFitStartsANewPageWithBothHeadersAgain) {
    Simples s(tabela({QStringLiteral("N")}, numeros(150)));
    const DocumentoRelatorio& d = s.gera();
    ASSERT_GE(d.NumPaginas(), 3);
    QStringList detalhes;
    for (int p = 0; p < d.NumPaginas(); ++p) {
        const auto pagina = d.Pagina(p);
        const QStringList t = textos(*pagina);
        ASSERT_GE(t.size(), 2);
        EXPECT_EQ(t[0], QStringLiteral("CABEÇALHO")) << "página " << p + 1;
        EXPECT_EQ(t[1], QStringLiteral("COLUNA")) << "página " << p + 1;
        EXPECT_EQ(t.count(QStringLiteral("CABEÇALHO")), 1);
        const int antes = detalhes.size();
        for (const ItemTexto& i : pagina->textos)
            if (i.tipoBanda == TipoBanda::Detalhe) detalhes << i.texto;
        // A page ends only when the next row would not fit on it.
        if (p + 1 < d.NumPaginas()) {
            const ItemTexto& ultimo = pagina->textos.last();
            EXPECT_GT(ultimo.caixa.bottom() + 50, 2970 - 100) << "página " << p + 1;
            EXPECT_GT(detalhes.size(), antes);
        }
    }
    QStringList esperado;
    for (int i = 1; i <= 150; ++i) esperado << QString::number(i);
    EXPECT_EQ(detalhes, esperado);
    confereLimites(d);
}

TEST(MotorRelatorio, SummaryIsOnTheLastPageAfterTheLastRow) {
    Simples s(tabela({QStringLiteral("N")}, numeros(150)));
    const DocumentoRelatorio& d = s.gera();
    for (int p = 0; p + 1 < d.NumPaginas(); ++p)
        EXPECT_FALSE(textos(*d.Pagina(p)).contains(QStringLiteral("Total: 150")));
    const auto pagina = d.Pagina(d.NumPaginas() - 1);
    const PaginaRelatorio& ultima = *pagina;
    const ItemTexto* total = item(ultima, QStringLiteral("Total: 150"));
    ASSERT_NE(total, nullptr);
    EXPECT_GE(total->caixa.top(), item(ultima, QStringLiteral("150"))->caixa.bottom());
}

TEST(MotorRelatorio, EmptyDataStillGivesOnePageWithItsHeaders) {
    Simples s(tabela({QStringLiteral("N")}, {}));
    const DocumentoRelatorio& d = s.gera();
    ASSERT_EQ(d.NumPaginas(), 1);
    EXPECT_EQ(textos(*d.Pagina(0)),
              (QStringList{QStringLiteral("CABEÇALHO"), QStringLiteral("COLUNA"), QStringLiteral("Total: 0")}));
}

TEST(MotorRelatorio, GroupHeadersOnEveryChangeOfTheBreakFieldWithTheirCounts) {
    // Outer group on A, inner on B: a change of A starts B again even when B is the same.
    const Resultado dados = tabela(
        {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("V")},
        {{"x", "1", 10}, {"x", "1", 20}, {"x", "2", 5}, {"y", "2", 1}, {"y", "2", 2}, {"x", "2", 7}});
    Relatorio r;
    Banda* ga = r.CriaGrupo(QStringLiteral("A"), 50);
    ga->Campo(QStringLiteral("a"), QStringLiteral("A"), QRectF(0, 0, 500, 50), kFonte)->texto =
        QStringLiteral("A=");
    Banda* gb = r.CriaGrupo(QStringLiteral("B"), 50);
    gb->Campo(QStringLiteral("b"), QStringLiteral("B"), QRectF(0, 0, 500, 50), kFonte)->texto =
        QStringLiteral("B=");
    Banda* det = r.CriaBanda(TipoBanda::Detalhe, 50);
    det->Campo(QStringLiteral("v"), QStringLiteral("V"), QRectF(0, 0, 500, 50), kFonte);
    Banda* rb = r.CriaRodapeGrupo(gb, 50);
    Elemento* soma = rb->Expressao(QStringLiteral("s"), Elemento::Agregado::Soma, QStringLiteral("V"),
                                   QRectF(0, 0, 500, 50), kFonte);
    soma->reiniciaEm = gb;
    soma->texto = QStringLiteral("soma ");
    soma->formato = [](const QVariant& v) { return QString::number(v.toDouble()); };
    Banda* ra = r.CriaRodapeGrupo(ga, 50);
    Elemento* conta = ra->Expressao(QStringLiteral("c"), Elemento::Agregado::Contagem, QString(),
                                    QRectF(0, 0, 500, 50), kFonte);
    conta->reiniciaEm = ga;
    conta->texto = QStringLiteral("itens ");
    r.DefineFonte(std::make_unique<FonteResultado>(dados));
    r.GeraTudo();
    EXPECT_EQ(textos(*r.Documento()),
              (QStringList{"A=x", "B=1", "10", "20", "soma 30", "B=2", "5", "soma 5", "itens 3",
                           "A=y", "B=2", "1", "2", "soma 3", "itens 2",
                           "A=x", "B=2", "7", "soma 7", "itens 1"}));
}

TEST(MotorRelatorio, GroupOnANewPageRepeatsItsHeaderOnEveryPageOfIt) {
    QVector<QVariantList> linhas;
    for (int i = 0; i < 20; ++i) linhas.push_back({"P1", i});
    for (int i = 0; i < 130; ++i) linhas.push_back({"P2", i});
    Relatorio r;
    Banda* cab = r.CriaBanda(TipoBanda::CabecalhoPagina, 80);
    cab->Rotulo(QStringLiteral("c"), QStringLiteral("CAB"), QRectF(0, 0, 500, 50), kFonte);
    Banda* g = r.CriaGrupo(QStringLiteral("P"), 60);
    g->Campo(QStringLiteral("p"), QStringLiteral("P"), QRectF(0, 0, 500, 50), kFonte)->texto =
        QStringLiteral("Plano ");
    g->novaPagina = true;
    g->repeteNaPagina = true;
    r.CriaBanda(TipoBanda::Detalhe, 50)
        ->Campo(QStringLiteral("i"), QStringLiteral("I"), QRectF(0, 0, 500, 50), kFonte);
    r.DefineFonte(std::make_unique<FonteResultado>(
        tabela({QStringLiteral("P"), QStringLiteral("I")}, linhas)));
    r.GeraTudo();
    const DocumentoRelatorio& d = *r.Documento();
    ASSERT_GE(d.NumPaginas(), 4);
    // Page 1 holds P1 alone; every later page starts with P2's header.
    EXPECT_EQ(textos(*d.Pagina(0)).mid(0, 2), (QStringList{"CAB", "Plano P1"}));
    EXPECT_FALSE(textos(*d.Pagina(0)).contains(QStringLiteral("Plano P2")));
    for (int p = 1; p < d.NumPaginas(); ++p) {
        EXPECT_EQ(textos(*d.Pagina(p)).mid(0, 2), (QStringList{"CAB", "Plano P2"})) << p + 1;
        EXPECT_EQ(textos(*d.Pagina(p)).count(QStringLiteral("Plano P2")), 1) << p + 1;
    }
}

TEST(MotorRelatorio, ListsUnderEachRowPrintTheirHeadingOnlyWhenTheyHaveRows) {
    const Resultado mestres = tabela({QStringLiteral("M")}, {{1}, {2}, {3}});
    const QMap<int, QVector<QVariantList>> filhos{{1, {{"a"}, {"b"}}}, {3, {{"c"}}}};
    for (const bool seVazio : {false, true}) {
        Relatorio r;
        r.CriaBanda(TipoBanda::Detalhe, 50)
            ->Campo(QStringLiteral("m"), QStringLiteral("M"), QRectF(0, 0, 500, 50), kFonte)
            ->texto = QStringLiteral("M");
        SubDetalhe* sub = r.CriaSubDetalhe(
            [&r, &filhos] {
                return std::make_unique<FonteResultado>(
                    tabela({QStringLiteral("F")}, filhos.value(r.Valor(QStringLiteral("M")).toInt())));
            },
            50, 50);
        sub->imprimeSeVazio = seVazio;
        sub->cabecalho->Rotulo(QStringLiteral("h"), QStringLiteral("H"), QRectF(0, 0, 500, 50), kFonte);
        // A list's band also reads the row above it.
        sub->detalhe->Campo(QStringLiteral("f"), QStringLiteral("F"), QRectF(0, 0, 500, 50), kFonte);
        sub->detalhe->Campo(QStringLiteral("fm"), QStringLiteral("M"), QRectF(600, 0, 500, 50), kFonte);
        r.DefineFonte(std::make_unique<FonteResultado>(mestres));
        r.GeraTudo();
        const QStringList esperado =
            seVazio ? QStringList{"M1", "H", "a", "1", "b", "1", "M2", "H", "M3", "H", "c", "3"}
                    : QStringList{"M1", "H", "a", "1", "b", "1", "M2", "M3", "H", "c", "3"};
        EXPECT_EQ(textos(*r.Documento()), esperado) << "imprimeSeVazio " << seVazio;
    }
}

TEST(MotorRelatorio, BandGrowsToHoldALongTextAndTheNextRowFollowsIt) {
    const QString longo = QStringLiteral("palavra ").repeated(120).trimmed();
    Relatorio r;
    Banda* det = r.CriaBanda(TipoBanda::Detalhe, 50);
    det->Campo(QStringLiteral("t"), QStringLiteral("T"), QRectF(200, 0, 600, 50), kFonte)->cresce = true;
    det->Campo(QStringLiteral("n"), QStringLiteral("N"), QRectF(0, 0, 150, 50), kFonte);
    r.DefineFonte(std::make_unique<FonteResultado>(
        tabela({QStringLiteral("N"), QStringLiteral("T")}, {{1, longo}, {2, "curto"}})));
    r.GeraTudo();
    const auto pagina = r.Documento()->Pagina(0);
    const PaginaRelatorio& p = *pagina;
    const ItemTexto* texto = item(p, longo);
    ASSERT_NE(texto, nullptr) << "the whole text is one item";
    EXPECT_TRUE(texto->alinhamento & Qt::TextWordWrap);
    EXPECT_GT(texto->caixa.height(), 200);
    const ItemTexto* seguinte = item(p, QStringLiteral("2"));
    ASSERT_NE(seguinte, nullptr);
    EXPECT_GE(seguinte->caixa.top(), texto->caixa.bottom() - 0.01);
    EXPECT_GE(item(p, QStringLiteral("curto"))->caixa.top(), texto->caixa.bottom() - 0.01);
}

TEST(MotorRelatorio, TextTallerThanAPageContinuesOnTheNextPagesWithoutLosingWords) {
    QStringList palavras;
    for (int i = 0; i < 6000; ++i) palavras << QStringLiteral("p%1").arg(i);
    const QString enorme = palavras.join(QLatin1Char(' '));
    Relatorio r;
    r.CriaBanda(TipoBanda::CabecalhoPagina, 60)
        ->Rotulo(QStringLiteral("c"), QStringLiteral("CAB"), QRectF(0, 0, 500, 50), kFonte);
    r.CriaBanda(TipoBanda::Detalhe, 50)
        ->Campo(QStringLiteral("t"), QStringLiteral("T"), QRectF(0, 0, 1900, 50), kFonte)
        ->cresce = true;
    r.DefineFonte(std::make_unique<FonteResultado>(tabela({QStringLiteral("T")}, {{enorme}, {"fim"}})));
    r.GeraTudo();
    const DocumentoRelatorio& d = *r.Documento();
    ASSERT_GE(d.NumPaginas(), 2);
    QStringList partes;
    for (int n = 0; n < d.NumPaginas(); ++n) {
        const auto p = d.Pagina(n);
        EXPECT_EQ(textos(*p).first(), QStringLiteral("CAB"));
        for (const ItemTexto& i : p->textos)
            if (i.tipoBanda == TipoBanda::Detalhe && i.texto != QStringLiteral("fim")) partes << i.texto;
    }
    EXPECT_EQ(partes.join(QLatin1Char(' ')).simplified(), enorme);
    EXPECT_EQ(textos(*d.Pagina(d.NumPaginas() - 1)).last(), QStringLiteral("fim"));
    confereLimites(d);
}

TEST(MotorRelatorio, EventChangesTextsOrLeavesTheBandOutAndCountsFollowWhatPrinted) {
    Simples s(tabela({QStringLiteral("N")}, numeros(6)));
    Elemento* campo = s.det->Item(QStringLiteral("n"));
    s.det->AntesImprimir = [&](Banda&) {
        const int n = s.r.Valor(QStringLiteral("N")).toInt();
        campo->cor = n == 4 ? QColor(Qt::red) : QColor(Qt::black);
        campo->texto = n == 4 ? QStringLiteral("quatro=") : QString();
        return n % 2 == 0;
    };
    const DocumentoRelatorio& d = s.gera();
    EXPECT_EQ(textosDe(d, TipoBanda::Detalhe), (QStringList{"2", "quatro=4", "6"}));
    EXPECT_EQ(textosDe(d, TipoBanda::Sumario), QStringList{QStringLiteral("Total: 3")});
}

TEST(MotorRelatorio, AlternateShadingStartsWithGreyOnEveryGeneration) {
    TqrpModeloRelatorio r;
    r.Titulo = QStringLiteral("Sombreado");
    r.qrbDetalhe->Campo(QStringLiteral("n"), QStringLiteral("N"), QRectF(300, 0, 500, 45), kFonte);
    r.qrbDetalhe->AntesImprimir = [&r](Banda& b) {
        r.AlternaCor(b);
        return true;
    };
    r.DefineFonte(std::make_unique<FonteResultado>(tabela({QStringLiteral("N")}, numeros(5))));
    for (int vez = 0; vez < 2; ++vez) {
        r.GeraTudo();
        const DocumentoRelatorio& d = *r.Documento();
        const QImage img = imagem(d, 0);
        const qreal px = 4 / UnidadeRelatorio::PorMm;
        const auto primeira = d.Pagina(0);
        for (int n = 1; n <= 5; ++n) {
            const ItemTexto* i = item(*primeira, QString::number(n));
            ASSERT_NE(i, nullptr);
            const QColor cor = img.pixelColor(int((100 + 50) * px), int(i->caixa.center().y() * px));
            EXPECT_EQ(cor, n % 2 ? TqrpModeloRelatorio::CorAlternada() : QColor(Qt::white))
                << "geração " << vez + 1 << ", linha " << n;
        }
    }
}

TEST(MotorRelatorio, ChildBandsFollowTheirParentEachWithItsOwnEvent) {
    Relatorio r;
    Banda* det = r.CriaBanda(TipoBanda::Detalhe, 50);
    det->Campo(QStringLiteral("n"), QStringLiteral("N"), QRectF(0, 0, 300, 50), kFonte);
    det->AntesImprimir = [&r](Banda&) { return r.Valor(QStringLiteral("N")).toInt() != 2; };
    Banda* par = r.CriaFilha(det, 50);
    par->Rotulo(QStringLiteral("p"), QStringLiteral("par"), QRectF(0, 0, 300, 50), kFonte);
    par->AntesImprimir = [&r](Banda&) { return r.Valor(QStringLiteral("N")).toInt() % 2 == 0; };
    r.CriaFilha(det, 50)->Campo(QStringLiteral("f"), QStringLiteral("N"), QRectF(0, 0, 300, 50), kFonte)->texto =
        QStringLiteral("fim ");
    r.DefineFonte(std::make_unique<FonteResultado>(tabela({QStringLiteral("N")}, numeros(4))));
    r.GeraTudo();
    // Row 2 is left out with its children; a child left out does not take the next one along.
    EXPECT_EQ(textos(*r.Documento()),
              (QStringList{"1", "fim 1", "3", "fim 3", "4", "par", "fim 4"}));
}

TEST(MotorRelatorio, WhatStandsBelowAGrowingTextMovesDownWithItAndWhatStandsBesideStays) {
    const QString longo = QStringLiteral("texto que ocupa várias linhas ").repeated(20).trimmed();
    Relatorio r;
    Banda* det = r.CriaBanda(TipoBanda::Detalhe, 100);
    det->Rotulo(QStringLiteral("ao lado"), QStringLiteral("AO LADO"), QRectF(0, 0, 300, 50), kFonte);
    det->Campo(QStringLiteral("t"), QStringLiteral("T"), QRectF(400, 0, 500, 50), kFonte)->cresce = true;
    det->Rotulo(QStringLiteral("abaixo"), QStringLiteral("ABAIXO"), QRectF(400, 50, 300, 50), kFonte);
    r.DefineFonte(std::make_unique<FonteResultado>(tabela({QStringLiteral("T")}, {{longo}, {"x"}})));
    r.GeraTudo();
    const auto pagina = r.Documento()->Pagina(0);
    const PaginaRelatorio& p = *pagina;
    ASSERT_EQ(p.textos[2].texto, QStringLiteral("ABAIXO"));
    EXPECT_GE(p.textos[2].caixa.top(), item(p, longo)->caixa.bottom() - 0.01);
    EXPECT_EQ(p.textos[0].caixa.top(), item(p, longo)->caixa.top());
    // The next row starts below the moved label.
    EXPECT_GE(p.textos[3].caixa.top(), p.textos[2].caixa.bottom() - 0.01);
}
