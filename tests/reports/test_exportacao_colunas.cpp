// The CSV and text exports keep the report's columns: one header row from the column
// titles (a title printed on two lines is one field), one field per column in every
// detail row (empty cells kept), group and summary lines as rows of their own.
#include <QRegularExpression>

#include "ApoioRelatorios.h"
#include "reports/ModeloRelatorio.h"

using namespace ApoioRelatorios;

namespace {

// RFC 4180 reader: quoted fields (doubled quotes, commas and line breaks inside), records
// ended by CR LF.
QVector<QStringList> leCsv(const QString& texto) {
    QVector<QStringList> registros;
    QStringList campos;
    QString atual;
    bool aspas = false, temCampo = false;
    for (int i = 0; i < texto.size(); ++i) {
        const QChar c = texto[i];
        if (aspas) {
            if (c == u'"' && i + 1 < texto.size() && texto[i + 1] == u'"') {
                atual += c;
                ++i;
            } else if (c == u'"') {
                aspas = false;
            } else {
                atual += c;
            }
            continue;
        }
        if (c == u'"' && atual.isEmpty()) {
            aspas = true;
            temCampo = true;
        } else if (c == u',') {
            campos << atual;
            atual.clear();
            temCampo = true;
        } else if (c == u'\r' && i + 1 < texto.size() && texto[i + 1] == u'\n') {
            campos << atual;
            registros << campos;
            campos.clear();
            atual.clear();
            temCampo = false;
            ++i;
        } else {
            EXPECT_NE(c, u'\n') << "a bare line feed outside quotes";
            atual += c;
            temCampo = true;
        }
    }
    EXPECT_FALSE(aspas) << "a quote left open";
    if (temCampo || !atual.isEmpty()) registros << (campos << atual);
    return registros;
}

const QStringList kTitulos{"Código", "Nome do estabelecimento", "Data Início Prest. Serv.",
                           "Município sede", "Valor"};

// Landscape template with five columns: the third title wraps onto two lines in its narrow
// box, the fourth is two labels stacked; rows grouped by UF, with a count per group and a
// total at the end. Some cells are empty.
std::shared_ptr<DocumentoRelatorio> geraExemplo(int linhas) {
    Relogio::define([] { return QDateTime(QDate(2024, 6, 15), QTime(10, 30, 5)); });
    TqrpModeloRelatorio r(true);
    r.Titulo = QStringLiteral("Relação de teste");
    const QFont f = FonteRelatorio(8);
    const QFont n = FonteRelatorio(8, true);
    r.qrbColunaCab->altura = 90;
    r.qrbColunaCab->Rotulo("t0", "Código", QRectF(0, 40, 150, 40), n);
    r.qrbColunaCab->Rotulo("t1", "Nome do estabelecimento", QRectF(170, 40, 700, 40), n);
    r.qrbColunaCab->Rotulo("t2", "Data Início Prest. Serv.", QRectF(890, 5, 200, 80), n,
                           Qt::AlignLeft | Qt::AlignBottom)
        ->cresce = true;
    r.qrbColunaCab->Rotulo("t3a", "Município", QRectF(1110, 5, 400, 38), n);
    r.qrbColunaCab->Rotulo("t3b", "sede", QRectF(1110, 45, 400, 38), n);
    r.qrbColunaCab->Rotulo("t4", "Valor", QRectF(1530, 40, 300, 40), n, Qt::AlignRight | Qt::AlignVCenter);
    r.qrbDetalhe->altura = 40;
    r.qrbDetalhe->Campo("c", "C", QRectF(0, 0, 150, 38), f);
    r.qrbDetalhe->Campo("n", "N", QRectF(170, 0, 700, 38), f);
    r.qrbDetalhe->Campo("d", "D", QRectF(890, 0, 200, 38), f);
    r.qrbDetalhe->Campo("m", "M", QRectF(1110, 0, 400, 38), f);
    r.qrbDetalhe->Campo("v", "V", QRectF(1530, 0, 300, 38), f, Qt::AlignRight | Qt::AlignVCenter);
    Banda* grupo = r.CriaGrupo(QStringLiteral("UF"), 45);
    grupo->Campo("uf", "UF", QRectF(0, 0, 800, 40), n)->texto = QStringLiteral("UF: ");
    Banda* rodape = r.CriaRodapeGrupo(grupo, 45);
    Elemento* conta = rodape->Expressao("qtd", Elemento::Agregado::Contagem, QString(),
                                        QRectF(170, 0, 700, 40), f);
    conta->reiniciaEm = grupo;
    conta->texto = QStringLiteral("Estabelecimentos na UF: ");
    Banda* resumo = r.CriaBanda(TipoBanda::Sumario, 50);
    resumo->Expressao("total", Elemento::Agregado::Contagem, QString(), QRectF(0, 5, 1500, 40), n)->texto =
        QStringLiteral("Total de estabelecimentos, todas as UFs: ");
    QVector<QVariantList> dados;
    for (int i = 1; i <= linhas; ++i) {
        const QVariant nome = i % 5 == 0 ? QVariant() : QVariant(QStringLiteral("Hospital \"%1\", Centro").arg(i));
        const QVariant data = i % 3 == 0 ? QVariant() : QVariant(QStringLiteral("0%1/06/2024").arg(i % 9 + 1));
        const QVariant mun = i % 4 == 0 ? QVariant() : QVariant(QStringLiteral("São José %1").arg(i));
        dados.push_back({i <= linhas / 2 ? "MG" : "SP", i, nome, data, mun, i * 2.5});
    }
    r.DefineFonte(std::make_unique<FonteResultado>(
        tabela({"UF", "C", "N", "D", "M", "V"}, dados)));
    r.GeraTudo();
    Relogio::define({});
    return r.Documento();
}

QString valor(int i) { return QLocale(QLocale::Portuguese, QLocale::Brazil).toString(i * 2.5, 'f', 2); }

// The fields of detail row i of geraExemplo.
QStringList esperado(int i) {
    return {QString::number(i), i % 5 == 0 ? QString() : QStringLiteral("Hospital \"%1\", Centro").arg(i),
            i % 3 == 0 ? QString() : QStringLiteral("0%1/06/2024").arg(i % 9 + 1),
            i % 4 == 0 ? QString() : QStringLiteral("São José %1").arg(i), valor(i)};
}

}  // namespace

TEST(ExportacaoColunas, CsvReadsBackOneFieldPerColumnWithGroupAndSummaryRows) {
    const int n = 120;  // more than one page: the column titles are written once
    const auto doc = geraExemplo(n);
    ASSERT_GT(doc->NumPaginas(), 1);
    const QVector<QStringList> linhas = leCsv(doc->Csv());
    QVector<QStringList> esperadas;
    esperadas << kTitulos;
    for (int i = 1; i <= n; ++i) {
        if (i == 1 || i == n / 2 + 1)
            esperadas << QStringList{i == 1 ? "UF: MG" : "UF: SP", "", "", "", ""};
        esperadas << esperado(i);
        if (i == n / 2 || i == n)
            esperadas << QStringList{"", QStringLiteral("Estabelecimentos na UF: %1").arg(n / 2), "", "", ""};
    }
    esperadas << QStringList{QStringLiteral("Total de estabelecimentos, todas as UFs: %1").arg(n), "", "", "", ""};
    ASSERT_EQ(linhas.size(), esperadas.size());
    for (int i = 0; i < linhas.size(); ++i) EXPECT_EQ(linhas[i], esperadas[i]) << "linha " << i;
}

TEST(ExportacaoColunas, TextPutsEveryColumnAtOneFixedWidth) {
    const int n = 30;
    const auto doc = geraExemplo(n);
    const QStringList paginas = doc->Texto().split(QLatin1Char('\f'));
    ASSERT_EQ(paginas.size(), doc->NumPaginas());
    const QStringList linhas = paginas[0].split(QLatin1Char('\n'));
    const int t = linhas.indexOf(QRegularExpression(QStringLiteral("Código  .*")));  // a whole line matches
    ASSERT_GE(t, 0) << paginas[0].toStdString();
    // The widths: the widest of each column's title and values, two spaces between.
    QVector<int> larguras;
    for (const QString& titulo : kTitulos) larguras << int(titulo.size());
    for (int i = 1; i <= n; ++i) {
        const QStringList e = esperado(i);
        for (int k = 0; k < e.size(); ++k) larguras[k] = qMax(larguras[k], int(e[k].size()));
    }
    QVector<int> inicio{0};
    for (int k = 1; k < larguras.size(); ++k) inicio << inicio[k - 1] + larguras[k - 1] + 2;
    const int fimValor = inicio.last() + larguras.last();
    const QString cabecalho = linhas[t];
    for (int k = 0; k < 4; ++k) EXPECT_EQ(cabecalho.indexOf(kTitulos[k]), inicio[k]) << k;
    EXPECT_EQ(cabecalho.size(), fimValor) << "the value column is filled on the left";
    int vistas = 0;
    for (int i = 1; i <= n; ++i) {
        const QStringList e = esperado(i);
        // The row that starts with the code, at the code's column.
        const int l = linhas.indexOf(QRegularExpression(QStringLiteral("%1 +.*").arg(i)), t);  // a whole line matches
        if (l < 0) continue;  // on a later page
        ++vistas;
        const QString& linha = linhas[l];
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(linha.mid(inicio[k], larguras[k]).trimmed(), e[k]) << "linha " << i << " coluna " << k;
        EXPECT_EQ(linha.mid(inicio[4]), e[4].rightJustified(larguras[4])) << i;
    }
    EXPECT_GE(vistas, 10);
    EXPECT_TRUE(paginas[0].contains(QStringLiteral("UF: MG")));
    EXPECT_TRUE(paginas.last().contains(QStringLiteral("Total de estabelecimentos, todas as UFs: 30")));
}
