// The generated pages as files: saved reports that load back identical, damaged or
// foreign files refused, and the HTML, text, CSV and PDF exports.
#include <QBuffer>
#include <QDataStream>
#include <QPainter>
#include <QPicture>
#include <functional>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include "ApoioRelatorios.h"
#include "db/Erro.h"
#include "reports/ModeloRelatorio.h"

using namespace ApoioRelatorios;

namespace {

// A three-page report with texts that need quoting in CSV and escaping in HTML.
std::shared_ptr<DocumentoRelatorio> documentoExemplo() {
    Relogio::define([] { return QDateTime(QDate(2024, 6, 15), QTime(10, 30, 5)); });
    TqrpModeloRelatorio r(true);
    r.Titulo = QStringLiteral("Relação <de> teste & cia");
    const QFont f = FonteRelatorio(9);
    r.qrbColunaCab->altura = 50;
    r.qrbColunaCab->Rotulo(QStringLiteral("t1"), QStringLiteral("Código"), QRectF(0, 0, 300, 50), f);
    r.qrbColunaCab->Rotulo(QStringLiteral("t2"), QStringLiteral("Nome"), QRectF(320, 0, 900, 50), f);
    r.qrbColunaCab->Rotulo(QStringLiteral("t3"), QStringLiteral("Valor"), QRectF(1300, 0, 500, 50), f,
                           Qt::AlignRight | Qt::AlignVCenter);
    r.qrbDetalhe->Campo(QStringLiteral("c"), QStringLiteral("C"), QRectF(0, 0, 300, 45), f);
    r.qrbDetalhe->Campo(QStringLiteral("n"), QStringLiteral("N"), QRectF(320, 0, 900, 45), f);
    r.qrbDetalhe->Campo(QStringLiteral("v"), QStringLiteral("V"), QRectF(1300, 0, 500, 45), f,
                        Qt::AlignRight | Qt::AlignVCenter);
    QVector<QVariantList> linhas;
    for (int i = 1; i <= 130; ++i)
        linhas.push_back({i, QStringLiteral("Hospital \"São José\", unidade %1 <%2>").arg(i).arg(i % 7),
                          i * 1.5});
    r.DefineFonte(std::make_unique<FonteResultado>(
        tabela({QStringLiteral("C"), QStringLiteral("N"), QStringLiteral("V")}, linhas)));
    r.GeraTudo();
    Relogio::define({});
    return r.Documento();
}

// Fields of a CSV line (quoted fields with doubled quotes).
QStringList camposCsv(const QString& linha) {
    QStringList campos;
    QString atual;
    bool aspas = false;
    for (int i = 0; i < linha.size(); ++i) {
        const QChar c = linha[i];
        if (aspas) {
            if (c == QLatin1Char('"') && i + 1 < linha.size() && linha[i + 1] == QLatin1Char('"')) {
                atual += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                aspas = false;
            } else {
                atual += c;
            }
        } else if (c == QLatin1Char('"')) {
            aspas = true;
        } else if (c == QLatin1Char(',')) {
            campos << atual;
            atual.clear();
        } else {
            atual += c;
        }
    }
    campos << atual;
    return campos;
}

QByteArray le(const QString& caminho) {
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST(DocumentoRelatorio, SavedReportLoadsBackToIdenticalPages) {
    const auto doc = documentoExemplo();
    ASSERT_GE(doc->NumPaginas(), 3);
    Apoio::PastaTeste pasta;
    const QString caminho = pasta.arquivo(QStringLiteral("relatorio.QRP"));
    doc->SalvaArquivo(caminho);
    const DocumentoRelatorio lido = DocumentoRelatorio::CarregaArquivo(caminho);
    EXPECT_TRUE(lido == *doc);
    // Drawn the same as well.
    for (int p = 0; p < doc->NumPaginas(); ++p) EXPECT_EQ(imagem(lido, p, 2), imagem(*doc, p, 2)) << p;
}

TEST(DocumentoRelatorio, TruncatedForeignOrNewerFilesAreRefusedWithAClearMessage) {
    const auto doc = documentoExemplo();
    QBuffer salvo;
    salvo.open(QIODevice::WriteOnly);
    doc->Salva(salvo);
    const QByteArray bytes = salvo.data();

    QByteArray outraVersao = bytes;
    outraVersao[5] = char(2);  // the version follows the four bytes of the signature
    struct Caso {
        const char* nome;
        QByteArray dados;
        const char* mensagem;
    } casos[] = {
        {"vazio", QByteArray(), "não é um relatório"},
        {"texto", QByteArray("nome,cnpj\n1,2\n"), "não é um relatório"},
        {"outra versão", outraVersao, "versão 2 do formato"},
        {"só o começo", bytes.left(9), "incompleto ou danificado"},
        {"metade", bytes.left(bytes.size() / 2), "incompleto ou danificado"},
        {"sem o último byte", bytes.left(bytes.size() - 1), "incompleto ou danificado"},
    };
    for (const Caso& c : casos) {
        QBuffer b;
        b.setData(c.dados);
        b.open(QIODevice::ReadOnly);
        try {
            DocumentoRelatorio::Carrega(b);
            ADD_FAILURE() << c.nome << ": carregou";
        } catch (const ErroQev& e) {
            EXPECT_TRUE(e.mensagem().contains(QString::fromUtf8(c.mensagem)))
                << c.nome << ": " << e.mensagem().toStdString();
        }
    }
}

namespace {
// The start of a saved report as this program writes it, up to the font count.
void inicioSalvo(QDataStream& s, QBuffer& b) {
    b.open(QIODevice::WriteOnly);
    s.setDevice(&b);
    s.setVersion(QDataStream::Qt_6_0);
    s << DocumentoRelatorio::kAssinatura << DocumentoRelatorio::kVersaoFormato << QStringLiteral("Outro")
      << false;
}

QPicture desenho(const QPointF& ate) {
    QPicture figura;
    QPainter g(&figura);
    g.drawLine(QPointF(100, 100), ate);
    g.end();
    return figura;
}
}  // namespace

TEST(DocumentoRelatorio, FilesFromElsewhereAreBoundedBeforeTheToolkitReadsThem) {
    // Each file declares more than a report can hold; each is refused with the usual
    // message, without allocating or drawing what it declares.
    struct Caso {
        const char* nome;
        std::function<void(QDataStream&)> escreve;
    } casos[] = {
        {"desenho declarado de 2 GB",
         [](QDataStream& s) {
             s << qint32(0) << qint32(1) << quint32(0x7FFFFFF0) << QByteArray("QPIC", 4);
         }},
        {"desenho declarado maior que o arquivo",
         [](QDataStream& s) {
             s << qint32(0) << qint32(1) << quint32(1000) << QByteArray("QPIC", 4);
         }},
        {"milhões de páginas num arquivo pequeno",
         [](QDataStream& s) { s << qint32(0) << qint32(5'000'000); }},
        {"fonte de cem mil pixels",
         [](QDataStream& s) {
             QFont f(QStringLiteral("Liberation Sans"));
             f.setPixelSize(100000);
             s << qint32(1) << f << qint32(0) << quint32(0x46494D21);
         }},
        {"desenho que sai da página",
         [](QDataStream& s) {
             s << qint32(0) << qint32(1) << desenho(QPointF(900000, 900000)) << qint32(0)
               << quint32(0x46494D21);
         }},
        {"texto fora da página",
         [](QDataStream& s) {
             s << qint32(1) << FonteRelatorio(9) << qint32(1) << desenho(QPointF(200, 200)) << qint32(1)
               << QRectF(1e7, 1e7, 100, 40) << QStringLiteral("x") << quint16(0) << quint16(0) << quint32(1)
               << quint8(TipoBanda::Detalhe) << quint32(0x46494D21);
         }},
        {"milhões de textos numa página",
         [](QDataStream& s) {
             s << qint32(1) << FonteRelatorio(9) << qint32(1) << desenho(QPointF(200, 200))
               << qint32(900'000);
         }},
    };
    for (const Caso& c : casos) {
        QBuffer b;
        QDataStream s;
        inicioSalvo(s, b);
        c.escreve(s);
        b.close();
        QBuffer leitura;
        leitura.setData(b.data());
        leitura.open(QIODevice::ReadOnly);
        try {
            DocumentoRelatorio::Carrega(leitura);
            ADD_FAILURE() << c.nome << ": carregou";
        } catch (const ErroQev& e) {
            EXPECT_TRUE(e.mensagem().contains(QStringLiteral("incompleto ou danificado")))
                << c.nome << ": " << e.mensagem().toStdString();
        }
    }
    // The same pieces within bounds load.
    QBuffer b;
    QDataStream s;
    inicioSalvo(s, b);
    s << qint32(1) << FonteRelatorio(9) << qint32(1) << desenho(QPointF(2000, 2800)) << qint32(1)
      << QRectF(100, 100, 400, 40) << QStringLiteral("x") << quint16(0) << quint16(0) << quint32(1)
      << quint8(TipoBanda::Detalhe) << quint32(0x46494D21);
    b.close();
    QBuffer leitura;
    leitura.setData(b.data());
    leitura.open(QIODevice::ReadOnly);
    const DocumentoRelatorio d = DocumentoRelatorio::Carrega(leitura);
    EXPECT_EQ(d.NumPaginas(), 1);
    EXPECT_EQ(textos(d), QStringList{QStringLiteral("x")});
}

TEST(DocumentoRelatorio, CsvExportReadsBackAsTheDataRows) {
    const auto doc = documentoExemplo();
    Apoio::PastaTeste pasta;
    const QString caminho = pasta.arquivo(QStringLiteral("dados.csv"));
    doc->ExportaCsv(caminho);
    QStringList linhas = QString::fromUtf8(le(caminho)).split(QStringLiteral("\r\n"));
    ASSERT_EQ(linhas.takeLast(), QString());
    ASSERT_EQ(linhas.size(), 131) << "one title line and 130 rows; the page headers are left out";
    EXPECT_EQ(camposCsv(linhas[0]), (QStringList{"Código", "Nome", "Valor"}));
    for (int i = 1; i <= 130; ++i)
        EXPECT_EQ(camposCsv(linhas[i]),
                  (QStringList{QString::number(i),
                               QStringLiteral("Hospital \"São José\", unidade %1 <%2>").arg(i).arg(i % 7),
                               QLocale(QLocale::Portuguese, QLocale::Brazil).toString(i * 1.5, 'f', 2)}));
}

TEST(DocumentoRelatorio, HtmlExportIsWellFormedAndHoldsEveryText) {
    const auto doc = documentoExemplo();
    Apoio::PastaTeste pasta;
    const QString caminho = pasta.arquivo(QStringLiteral("relatorio.htm"));
    doc->ExportaHtml(caminho);
    QXmlStreamReader x(le(caminho));
    int paginas = 0;
    QStringList textosHtml;
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement() && x.name() == QLatin1String("div")) {
            const QString classe = x.attributes().value(QLatin1String("class")).toString();
            if (classe == QLatin1String("pagina")) ++paginas;
            else textosHtml << x.readElementText();
        }
    }
    ASSERT_FALSE(x.hasError()) << x.errorString().toStdString() << " na linha " << x.lineNumber();
    EXPECT_EQ(paginas, doc->NumPaginas());
    EXPECT_EQ(textosHtml, textos(*doc));
}

TEST(DocumentoRelatorio, TextExportHasOnePagePerFormFeedAndTheRowsInColumns) {
    const auto doc = documentoExemplo();
    const QStringList paginas = doc->Texto().split(QLatin1Char('\f'));
    ASSERT_EQ(paginas.size(), doc->NumPaginas());
    const QStringList linhas = paginas[0].split(QLatin1Char('\n'));
    const int titulo = linhas.indexOf(QRegularExpression(QStringLiteral("^Código +Nome +Valor$")));
    ASSERT_GE(titulo, 0) << paginas[0].toStdString();
    EXPECT_TRUE(linhas[titulo + 1].startsWith(QStringLiteral("1 ")));
    EXPECT_TRUE(linhas[titulo + 1].endsWith(QStringLiteral("1,50")));
    // The columns line up.
    EXPECT_EQ(linhas[titulo + 1].indexOf(QStringLiteral("Hospital")), linhas[titulo].indexOf(QStringLiteral("Nome")));
}

TEST(DocumentoRelatorio, PdfExportHasThePageCountOfThePreview) {
    const auto doc = documentoExemplo();
    Apoio::PastaTeste pasta;
    const QString caminho = pasta.arquivo(QStringLiteral("relatorio.pdf"));
    doc->ExportaPdf(caminho);
    const QByteArray pdf = le(caminho);
    ASSERT_TRUE(pdf.startsWith("%PDF-"));
    const auto paginas = QString::fromLatin1(pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]")));
    EXPECT_EQ(paginas, doc->NumPaginas());
}

TEST(DocumentoRelatorio, AFailedExportLeavesNoFileBehindAndKeepsThePreviousOne) {
    const auto doc = documentoExemplo();
    Apoio::PastaTeste pasta;
    // A folder that does not exist: nothing is written anywhere.
    const QString semPasta = pasta.arquivo(QStringLiteral("nao/existe/dados.csv"));
    EXPECT_THROW(doc->ExportaCsv(semPasta), ErroQev);
    EXPECT_FALSE(QFile::exists(semPasta));
    // A name taken by a folder: the folder stays and no temporary file is left.
    QDir(pasta.caminho()).mkdir(QStringLiteral("ocupado.htm"));
    EXPECT_THROW(doc->ExportaHtml(pasta.arquivo(QStringLiteral("ocupado.htm"))), ErroQev);
    EXPECT_EQ(QDir(pasta.caminho()).entryList(QDir::Files), QStringList());
    // A complete export replaces an older file whole.
    const QString csv = pasta.arquivo(QStringLiteral("dados.csv"));
    QFile antigo(csv);
    ASSERT_TRUE(antigo.open(QIODevice::WriteOnly));
    antigo.write(QByteArray(100000, 'x'));
    antigo.close();
    doc->ExportaCsv(csv);
    EXPECT_EQ(le(csv), doc->Csv().toUtf8());
}
TEST(DocumentoRelatorio, PagesHaveTheSameSizeOnEveryDeviceResolution) {
    const auto doc = documentoExemplo();
    // The logo stands 10 mm from the left and top edges, 17 mm wide.
    for (const int dpi : {96, 300, 600}) {
        const qreal porUnidade = dpi / UnidadeRelatorio::PorPolegada;
        QImage img((doc->TamanhoPagina() * porUnidade).toSize(), QImage::Format_RGB32);
        img.setDotsPerMeterX(qRound(dpi / 0.0254));
        img.setDotsPerMeterY(qRound(dpi / 0.0254));
        img.fill(Qt::white);
        QPainter g(&img);
        g.scale(porUnidade, porUnidade);
        doc->Desenha(g, 0);
        g.end();
        const auto px = [&](qreal unidades) { return int(unidades * porUnidade); };
        EXPECT_EQ(img.pixelColor(px(150), px(150)), QColor(0x1f, 0x4e, 0x79)) << dpi << " dpi";
        EXPECT_EQ(img.pixelColor(px(290), px(150)), QColor(Qt::white)) << dpi << " dpi";
        EXPECT_EQ(img.pixelColor(px(90), px(150)), QColor(Qt::white)) << dpi << " dpi";
    }
}
