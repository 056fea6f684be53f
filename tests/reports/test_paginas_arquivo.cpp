// Finished pages kept in the document's page file: read back as they were made, in the
// preview, the exports and the saved report; the file's place and permissions; a file
// that cannot be made, written or read back is told in words, never a shorter report.
#include <signal.h>
#include <errno.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QToolButton>

#include "ApoioRelatorios.h"
#include "db/Erro.h"
#include "reports/ArquivoPaginas.h"
#include "reports/FrmPreviewQR.h"
#include "reports/ModeloRelatorio.h"

using namespace ApoioRelatorios;

namespace {

constexpr int kLinhas = 700;  // landscape: about 35 rows a page, 20 pages

// Numbered rows with accented names, right-aligned values and shaded rows.
class Linhas : public TqrpModeloRelatorio {
public:
    explicit Linhas(int linhas = kLinhas) : TqrpModeloRelatorio(true) {
        Titulo = QStringLiteral("Relação de linhas");
        const QFont titulo = FonteRelatorio(9, true), f = FonteRelatorio(9);
        qrbColunaCab->altura = 50;
        qrbColunaCab->Rotulo(QStringLiteral("t1"), QStringLiteral("Número"), QRectF(0, 0, 300, 50), titulo);
        qrbColunaCab->Rotulo(QStringLiteral("t2"), QStringLiteral("Nome"), QRectF(320, 0, 900, 50), titulo);
        qrbColunaCab->Rotulo(QStringLiteral("t3"), QStringLiteral("Valor"), QRectF(1300, 0, 500, 50), titulo,
                             Qt::AlignRight | Qt::AlignVCenter);
        qrbDetalhe->Campo(QStringLiteral("n"), QStringLiteral("N"), QRectF(0, 0, 300, 45), f);
        qrbDetalhe->Campo(QStringLiteral("t"), QStringLiteral("T"), QRectF(320, 0, 900, 45), f);
        qrbDetalhe->Campo(QStringLiteral("v"), QStringLiteral("V"), QRectF(1300, 0, 500, 45), f,
                          Qt::AlignRight | Qt::AlignVCenter);
        qrbDetalhe->AntesImprimir = [this](Banda& b) {
            AlternaCor(b);
            return true;
        };
        QVector<QVariantList> l;
        for (int i = 1; i <= linhas; ++i)
            l.push_back({i, QStringLiteral("Hospital \"São José\", unidade %1 — ação <%2>").arg(i).arg(i % 7),
                         i * 1.25});
        DefineFonte(std::make_unique<FonteResultado>(
            tabela({QStringLiteral("N"), QStringLiteral("T"), QStringLiteral("V")}, l)));
    }
};

int modo(const QString& caminho) {
    struct stat s {};
    return ::stat(QFile::encodeName(caminho).constData(), &s) == 0 ? int(s.st_mode & 07777) : -1;
}

// The report's pages as they were made (before any went to the file), in a document
// that keeps all of them in memory; and the report's own document, whose pages are
// read back from its file.
class PaginasNoArquivo : public ::testing::Test {
protected:
    Apoio::Mensageiro mensagens;
    Linhas relatorio;
    DocumentoRelatorio feitas{100000};
    std::shared_ptr<DocumentoRelatorio> lido;
    QVector<qint64> bytesAte;  // the file's length after each page
    bool captura = true;

    void SetUp() override {
        Relogio::define([] { return QDateTime(QDate(2024, 6, 15), QTime(10, 30, 5)); });
        QObject::connect(&relatorio, &Relatorio::paginaPronta, [this](int n, bool) {
            if (!captura) return;
            const auto doc = relatorio.Documento();
            feitas.AdicionaPagina(*doc->Pagina(n - 1));
            bytesAte << doc->BytesDasPaginas();
        });
    }
    void TearDown() override { Relogio::define({}); }
    void gera() {
        relatorio.GeraTudo();
        fixa();
    }
    // The generation is over.
    void fixa() {
        captura = false;
        lido = relatorio.Documento();
        feitas.titulo = lido->titulo;
        feitas.paisagem = lido->paisagem;
        for (const QFont& f : lido->Fontes()) feitas.IndiceFonte(f);
    }
};

}  // namespace

TEST_F(PaginasNoArquivo, PagesReadBackFromTheirPrivateFileAreThePagesAsMade) {
    gera();
    const int n = lido->NumPaginas();
    ASSERT_GE(n, 2 * DocumentoRelatorio::kPaginasEmMemoria);
    // The file: in a folder of its own under the temporary folder, only for this user.
    const QString arquivo = lido->ArquivoDasPaginas();
    const QString pasta = QFileInfo(arquivo).absolutePath();
    EXPECT_EQ(QFileInfo(pasta).absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
    EXPECT_EQ(modo(pasta), 0700);
    EXPECT_EQ(modo(arquivo), 0600);
    EXPECT_EQ(QFileInfo(arquivo).size(), lido->BytesDasPaginas());
    qint64 abertos = 0;
    for (int p = 0; p < n; ++p) abertos += feitas.Pagina(p)->figura.size();
    EXPECT_LT(lido->BytesDasPaginas() * 4, abertos) << "the records are compact";

    // Every page read back (from the last to the first, so none is still in memory):
    // the same texts, the same recorded drawing, drawn the same.
    for (int p = n - 1; p >= 0; --p) {
        const auto a = lido->Pagina(p), b = feitas.Pagina(p);
        EXPECT_EQ(a->textos, b->textos) << "página " << p + 1;
        EXPECT_EQ(QByteArray(a->figura.data(), a->figura.size()), QByteArray(b->figura.data(), b->figura.size()))
            << "página " << p + 1;
        EXPECT_EQ(a->figura.boundingRect(), b->figura.boundingRect());
    }
    for (int p : {0, n / 2, n - 1}) EXPECT_EQ(imagem(*lido, p, 2), imagem(feitas, p, 2)) << "página " << p + 1;
    EXPECT_TRUE(*lido == feitas);

    // Gone with the document.
    relatorio.Inicia();
    lido.reset();
    EXPECT_FALSE(QFileInfo::exists(arquivo));
    EXPECT_FALSE(QFileInfo::exists(pasta));
}

TEST_F(PaginasNoArquivo, ExportsAndTheSavedReportAreThoseOfThePagesKeptInMemory) {
    gera();
    EXPECT_EQ(lido->Html(), feitas.Html());
    EXPECT_EQ(lido->Texto(), feitas.Texto());
    EXPECT_EQ(lido->Csv(), feitas.Csv());
    EXPECT_EQ(lido->Csv().count(QStringLiteral("\r\n")), kLinhas + 1);
    QBuffer salvo, salvoFeitas;
    salvo.open(QIODevice::WriteOnly);
    salvoFeitas.open(QIODevice::WriteOnly);
    lido->Salva(salvo);
    feitas.Salva(salvoFeitas);
    EXPECT_EQ(salvo.data(), salvoFeitas.data());

    // A saved report loads through a page file of its own, and saves the same again.
    Apoio::PastaTeste pasta;
    const QString qrp = pasta.arquivo(QStringLiteral("linhas.QRP"));
    lido->SalvaArquivo(qrp);
    const DocumentoRelatorio carregado = DocumentoRelatorio::CarregaArquivo(qrp);
    EXPECT_NE(carregado.ArquivoDasPaginas(), lido->ArquivoDasPaginas());
    EXPECT_TRUE(carregado == feitas);
    EXPECT_EQ(imagem(carregado, carregado.NumPaginas() - 1, 2), imagem(feitas, feitas.NumPaginas() - 1, 2));
    QBuffer outra;
    outra.open(QIODevice::WriteOnly);
    carregado.Salva(outra);
    EXPECT_EQ(outra.data(), salvo.data());

    const QString pdf = pasta.arquivo(QStringLiteral("linhas.pdf"));
    lido->ExportaPdf(pdf);
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromLatin1(f.readAll()).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))),
              lido->NumPaginas());
}

TEST_F(PaginasNoArquivo, ThePreviewWalksToTheLastPageAndBackShowingEachPageAsMade) {
    relatorio.Inicia();
    TfrmPreviewQR preview;
    preview.DefineZoom(40);
    auto* visao = preview.findChild<QWidget*>(QStringLiteral("visaoPagina"));
    ASSERT_NE(visao, nullptr);
    QVector<int> desenhadas;
    QObject::connect(&preview, &TfrmPreviewQR::paginaDesenhada, [&](int n) { desenhadas << n; });
    preview.Exibe(relatorio);
    // The first and the last page drawn as soon as each was made, from memory.
    QImage primeiraFeita, ultimaFeita;
    QObject::connect(&relatorio, &Relatorio::paginaPronta, [&](int n, bool ultima) {
        if (n == 1) primeiraFeita = visao->grab().toImage();
        if (!ultima) return;
        preview.IrParaPagina(n);
        ultimaFeita = visao->grab().toImage();
        preview.IrParaPagina(1);
    });
    ASSERT_TRUE(Apoio::espera([&] { return preview.Completo(); }));
    fixa();
    const int n = preview.NumPaginas();
    ASSERT_EQ(n, feitas.NumPaginas());
    ASSERT_GE(n, 2 * DocumentoRelatorio::kPaginasEmMemoria);
    ASSERT_FALSE(primeiraFeita.isNull());
    ASSERT_FALSE(ultimaFeita.isNull());
    const auto mostrada = [&](int esperada) {
        desenhadas.clear();
        const QImage img = visao->grab().toImage();
        EXPECT_EQ(desenhadas, QVector<int>{esperada});
        EXPECT_EQ(preview.PaginaAtual(), esperada);
        EXPECT_EQ(preview.pnlPagina->text(), QStringLiteral("Página %1 de %2").arg(esperada).arg(n));
        return img;
    };
    // Read back from the file now.
    const QImage primeira = mostrada(1);
    EXPECT_EQ(primeira, primeiraFeita);
    QVector<QImage> ida{primeira};
    while (preview.TlBtProxima->isEnabled()) {
        preview.TlBtProxima->click();
        ida << mostrada(preview.PaginaAtual());
        EXPECT_NE(ida.last(), ida[ida.size() - 2]) << "página " << ida.size();
    }
    ASSERT_EQ(ida.size(), n);
    EXPECT_EQ(ida.last(), ultimaFeita);
    // Back: every page drawn as on the way there.
    for (int p = n; p > 1; --p) {
        EXPECT_EQ(mostrada(p), ida[p - 1]) << "página " << p;
        preview.TlBtAnterior->click();
    }
    EXPECT_EQ(mostrada(1), primeiraFeita);
    EXPECT_FALSE(preview.TlBtAnterior->isEnabled());
    // The last page, out of memory again.
    preview.IrParaPagina(n);
    EXPECT_EQ(mostrada(n), ultimaFeita);
    EXPECT_TRUE(mensagens.textos().isEmpty()) << mensagens.textos().join('|').toStdString();
}

TEST_F(PaginasNoArquivo, AFolderThatCannotBeMadeStopsTheReportWithAClearMessage) {
    Apoio::PastaTeste pasta;
    const QString ocupado = pasta.arquivo(QStringLiteral("arquivo"));
    QFile f(ocupado);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    // Not a folder: no user, not even the administrator, can make one inside it.
    const QString base = ocupado + QStringLiteral("/temporarios");
    const QString anterior = ArquivoPaginas::DefinePastaBase(base);
    relatorio.Inicia();
    TfrmPreviewQR preview;
    preview.Exibe(relatorio);
    ASSERT_TRUE(Apoio::espera([&] { return !mensagens.textos().isEmpty(); }));
    ArquivoPaginas::DefinePastaBase(anterior);
    ASSERT_EQ(mensagens.textos().size(), 1);
    EXPECT_TRUE(mensagens.textos()[0].startsWith(
        QStringLiteral("Não foi possível criar a pasta temporária das páginas do relatório em %1: ")
            .arg(QDir::toNativeSeparators(base))))
        << mensagens.textos()[0].toStdString();
    EXPECT_FALSE(preview.Completo());
    EXPECT_EQ(preview.NumPaginas(), 0);
    EXPECT_FALSE(preview.TlBtSalvarRelatorio->isEnabled());
    EXPECT_EQ(QDir(pasta.caminho()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"arquivo"});
}

TEST_F(PaginasNoArquivo, FoldersLeftByACopyThatWasKilledGoAndThoseOfRunningOnesStay) {
    Apoio::PastaTeste pasta;
    QProcess terminado;
    terminado.start(QStringLiteral("true"), {});
    ASSERT_TRUE(terminado.waitForStarted());
    const qint64 morto = terminado.processId();
    ASSERT_TRUE(terminado.waitForFinished());
    const QStringList pastas{QStringLiteral("qev-paginas-%1-Ab12Cd").arg(morto),
                             QStringLiteral("qev-paginas-1-Ef34Gh"),  // the system's first process
                             QStringLiteral("qev-paginas-%1-Ij56Kl").arg(QCoreApplication::applicationPid()),
                             QStringLiteral("outra-%1").arg(morto)};
    for (const QString& p : pastas) {
        ASSERT_TRUE(QDir(pasta.caminho()).mkpath(p));
        QFile f(pasta.arquivo(p + QStringLiteral("/paginas")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const QString anterior = ArquivoPaginas::DefinePastaBase(pasta.caminho());
    gera();
    ArquivoPaginas::DefinePastaBase(anterior);
    QStringList esperadas = pastas.mid(1);
    for (const DocumentoRelatorio* d : {lido.get(), &feitas}) {
        const QString nova = QFileInfo(d->ArquivoDasPaginas()).dir().dirName();
        EXPECT_TRUE(nova.startsWith(QStringLiteral("qev-paginas-%1-").arg(QCoreApplication::applicationPid())));
        esperadas << nova;
    }
    esperadas.sort();
    QStringList ficaram = QDir(pasta.caminho()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ficaram.sort();
    EXPECT_EQ(ficaram, esperadas);
}

TEST_F(PaginasNoArquivo, ADiskThatFillsWhileTheReportIsMadeStopsItWithAClearMessage) {
    gera();
    const int total = lido->NumPaginas();
    lido.reset();
    // Room for three pages and part of the fourth: the file may grow no further (a
    // real file refused by the system, as on a full disk).
    const rlim_t limite = rlim_t(bytesAte[2] + (bytesAte[3] - bytesAte[2]) / 2);
    rlimit antes{};
    getrlimit(RLIMIT_FSIZE, &antes);
    const auto sinal = signal(SIGXFSZ, SIG_IGN);
    rlimit novo = antes;
    novo.rlim_cur = limite;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &novo), 0);
    mensagens.limpa();
    relatorio.Inicia();
    TfrmPreviewQR preview;
    preview.Exibe(relatorio);
    const bool parou = Apoio::espera([&] { return !mensagens.textos().isEmpty() || preview.Completo(); });
    setrlimit(RLIMIT_FSIZE, &antes);
    signal(SIGXFSZ, sinal);
    ASSERT_TRUE(parou);

    ASSERT_EQ(mensagens.textos().size(), 1);
    const auto doc = preview.Documento();
    const QRegularExpression esperada(
        QStringLiteral("^Não foi possível gravar a página 4 do relatório no arquivo temporário %1: %2\\. "
                       "Verifique se há espaço livre no disco\\.$")
            .arg(QRegularExpression::escape(QDir::toNativeSeparators(doc->ArquivoDasPaginas())),
                 QRegularExpression::escape(QString::fromLocal8Bit(strerror(EFBIG)))));
    EXPECT_TRUE(esperada.match(mensagens.textos()[0]).hasMatch()) << mensagens.textos()[0].toStdString();
    // Three pages, said to be all there is nowhere: the report stays incomplete.
    EXPECT_GT(total, 3);
    EXPECT_EQ(doc->NumPaginas(), 3);
    EXPECT_FALSE(preview.Completo());
    for (QToolButton* b : {preview.TlBtSalvarRelatorio, preview.TlBtExportarCSV, preview.TlBtExportarPDF,
                           preview.TlBtImprimir})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    EXPECT_EQ(preview.pnlPagina->text(), QStringLiteral("Página 1 de 3"));
    for (int p = 0; p < 3; ++p) EXPECT_EQ(doc->Pagina(p)->textos, feitas.Pagina(p)->textos);
    // What was written of the fourth page was given back.
    EXPECT_EQ(QFileInfo(doc->ArquivoDasPaginas()).size(), bytesAte[2]);
}

TEST_F(PaginasNoArquivo, APageFileDamagedBehindTheDocumentsBackIsToldOnReading) {
    gera();
    // A record cut anywhere is refused, never read past its end.
    const QByteArray registro = ArquivoPaginas::Codifica(*feitas.Pagina(0));
    for (qsizetype corte : {qsizetype(0), qsizetype(3), registro.size() / 2, registro.size() - 1})
        EXPECT_THROW(ArquivoPaginas::Decodifica(registro.left(corte)), ErroQev) << corte;
    EXPECT_EQ(ArquivoPaginas::Decodifica(registro).textos, feitas.Pagina(0)->textos);

    // The file cut inside the first page, long out of memory: it cannot be read back.
    ASSERT_TRUE(QFile::resize(lido->ArquivoDasPaginas(), bytesAte[0] / 2));
    const QString mensagem =
        QStringLiteral("Não foi possível ler a página 1 do relatório no arquivo temporário %1: ")
            .arg(QDir::toNativeSeparators(lido->ArquivoDasPaginas()));
    try {
        lido->Pagina(0);
        ADD_FAILURE() << "leu";
    } catch (const ErroQev& e) {
        EXPECT_TRUE(e.mensagem().startsWith(mensagem)) << e.mensagem().toStdString();
    }
    // An export stops with it and leaves no file.
    Apoio::PastaTeste pasta;
    EXPECT_THROW(lido->ExportaCsv(pasta.arquivo(QStringLiteral("dados.csv"))), ErroQev);
    EXPECT_EQ(QDir(pasta.caminho()).entryList(QDir::Files), QStringList());
    // The preview shows the page blank and says why.
    TfrmPreviewQR preview;
    preview.ExibeDocumento(lido);
    preview.findChild<QWidget*>(QStringLiteral("visaoPagina"))->grab();
    ASSERT_TRUE(Apoio::espera([&] { return !mensagens.textos().isEmpty(); }));
    EXPECT_TRUE(mensagens.textos()[0].startsWith(mensagem)) << mensagens.textos()[0].toStdString();
    // The last pages, still in memory, are shown.
    mensagens.limpa();
    preview.IrParaPagina(lido->NumPaginas());
    preview.findChild<QWidget*>(QStringLiteral("visaoPagina"))->grab();
    QApplication::processEvents();
    EXPECT_TRUE(mensagens.textos().isEmpty()) << mensagens.textos().join('|').toStdString();
}
