// The preview window: pages shown as they are made, zoom and fits, moving between
// pages, the buttons' enabling rules, and saving, loading, exporting and printing.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QPrinter>
#include <QRegularExpression>
#include <QTest>
#include <QThread>
#include <QToolBar>
#include <QToolButton>

#include "ApoioRelatorios.h"
#include "app/ConduzModal.h"
#include "common/CursorEspera.h"
#include "reports/FrmPreviewQR.h"
#include "reports/ModeloRelatorio.h"

using namespace ApoioRelatorios;

namespace {

// Rows that take a while to read: one page per generation slice at most.
class FonteLenta : public FonteDados {
public:
    explicit FonteLenta(int linhas) : m_total(linhas) {}
    void Abre() override {
        defineColunas({QStringLiteral("N")});
        m_lidas = 0;
    }
    bool Le(QVariantList& linha) override {
        if (m_lidas >= m_total) return false;
        QThread::msleep(2);
        linha = {++m_lidas};
        return true;
    }

private:
    int m_total;
    int m_lidas = 0;
};

// A report of numbered rows on the template.
class Numeros : public TqrpModeloRelatorio {
public:
    explicit Numeros(int linhas, bool lenta = false) {
        Titulo = QStringLiteral("Relação de números");
        qrbColunaCab->altura = 50;
        qrbColunaCab->Rotulo(QStringLiteral("t"), QStringLiteral("Número"), QRectF(0, 0, 400, 50),
                             FonteRelatorio(9, true));
        qrbDetalhe->Campo(QStringLiteral("n"), QStringLiteral("N"), QRectF(0, 0, 400, 45), FonteRelatorio(9));
        QVector<QVariantList> l;
        for (int i = 1; i <= linhas; ++i) l.push_back({i});
        if (lenta) DefineFonte(std::make_unique<FonteLenta>(linhas));
        else DefineFonte(std::make_unique<FonteResultado>(tabela({QStringLiteral("N")}, l)));
    }
};

constexpr int kLinhasTresPaginas = 130;  // portrait: about 54 rows a page

class PreviewTeste : public ::testing::Test {
protected:
    Apoio::Mensageiro mensagens;
    Apoio::PastaTeste pasta;
    std::unique_ptr<TfrmPreviewQR> preview;
    std::unique_ptr<Numeros> relatorio;

    void abre(int linhas, bool lenta = false) {
        relatorio = std::make_unique<Numeros>(linhas, lenta);
        relatorio->Inicia();
        preview = std::make_unique<TfrmPreviewQR>();
        preview->Exibe(*relatorio);
    }
    void completa() {
        ASSERT_TRUE(Apoio::espera([&] { return preview->Completo(); }));
    }
    // Answers the go-to-page box with `texto`.
    void irPara(const QString& texto) {
        Modais m([&](QDialog& d) {
            auto* caixa = qobject_cast<QInputDialog*>(&d);
            EXPECT_NE(caixa, nullptr);
            if (!caixa) return int(QDialog::Rejected);
            EXPECT_EQ(caixa->windowTitle(), QStringLiteral("ir para"));
            EXPECT_EQ(caixa->labelText(), QStringLiteral("informe o número da página:"));
            EXPECT_EQ(caixa->textValue(), QString());
            caixa->setTextValue(texto);
            return int(QDialog::Accepted);
        });
        preview->TlBtEscolherPagina->click();
    }
    QVector<QToolButton*> botoesDoRelatorioInteiro() const {
        return {preview->TlBtSalvarRelatorio,      preview->TlBtExportarHTML, preview->TlBtExportarTXT,
                preview->TlBtExportarCSV,          preview->TlBtExportarPDF,  preview->TlBtEscolherPagina,
                preview->TlBtConfigurarImpressora, preview->TlBtImprimir};
    }
};

}  // namespace

TEST_F(PreviewTeste, ToolbarHasEveryButtonInOrderWithItsHint) {
    abre(1);
    EXPECT_EQ(preview->windowTitle(), QStringLiteral("Relação de números"));
    EXPECT_EQ(TfrmPreviewQR().windowTitle(), QStringLiteral("Preview de relatórios"));
    EXPECT_EQ(preview->Zoom(), 150);
    const QList<QPair<QString, QString>> esperado{
        {"TlBtFitVertical", "Visualizar em formato retrato"},
        {"TlBtFitHorizontal", "Visualizar em formato paisagem"},
        {"TlBtZoom", "Zoom"},
        {"TlBtSalvarRelatorio", "Salvar o relatório atual"},
        {"TlBtCarregarRelatorio", "Carregar relatório"},
        {"TlBtExportarHTML", "Exporta o relatório atual para o formato HTML"},
        {"TlBtExportarTXT", "Exporta o relatório atual para o formato TXT"},
        {"TlBtExportarCSV", "Exporta o relatório atual para o formato CVS"},
        {"TlBtExportarPDF", "Exporta o relatório atual para o formato PDF"},
        {"TlBtAnterior", "Página anterior"},
        {"TlBtProxima", "Próxima página"},
        {"TlBtEscolherPagina", "Escolher página"},
        {"TlBtConfigurarImpressora", "Escolher impressora"},
        {"TlBtImprimir", "Emitir relatório"},
        {"TlBtSair", "Sair"}};
    QList<QToolButton*> botoes;
    auto* barra = preview->findChild<QToolBar*>();
    ASSERT_NE(barra, nullptr);
    for (QAction* a : barra->actions())
        if (auto* b = qobject_cast<QToolButton*>(barra->widgetForAction(a))) botoes << b;
    ASSERT_EQ(botoes.size(), esperado.size());
    for (int i = 0; i < botoes.size(); ++i) {
        EXPECT_EQ(botoes[i]->objectName(), esperado[i].first);
        EXPECT_EQ(botoes[i]->toolTip(), esperado[i].second);
    }
}

TEST_F(PreviewTeste, ZoomCyclesFrom150AndLeavesAFittedZoomOutsideTheCycle) {
    abre(1);
    QList<int> vistos;
    for (int i = 0; i < 5; ++i) {
        preview->TlBtZoom->click();
        vistos << preview->Zoom();
    }
    EXPECT_EQ(vistos, (QList<int>{200, 50, 75, 100, 150}));
    const QList<QPair<int, int>> casos{{50, 75},   {74, 75},   {75, 100},  {99, 100}, {100, 150},
                                       {149, 150}, {150, 200}, {199, 200}, {200, 50}, {49, 49},
                                       {201, 201}, {12, 12}};
    for (const auto& [antes, depois] : casos) {
        preview->DefineZoom(antes);
        preview->ZoomClick();
        EXPECT_EQ(preview->Zoom(), depois) << "de " << antes;
    }

    // The fits depend on the window: a small one fits the page below 50 %.
    preview->setWindowState(Qt::WindowNoState);
    preview->resize(700, 560);
    preview->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(preview.get()));
    preview->TlBtFitVertical->click();
    const int retrato = preview->Zoom();
    ASSERT_LT(retrato, 50);
    preview->TlBtZoom->click();
    EXPECT_EQ(preview->Zoom(), retrato);
    preview->TlBtFitHorizontal->click();
    const int paisagem = preview->Zoom();
    ASSERT_GT(paisagem, retrato);
    ASSERT_TRUE(paisagem >= 75 && paisagem < 100) << paisagem;
    preview->TlBtZoom->click();
    EXPECT_EQ(preview->Zoom(), 100);
}

TEST_F(PreviewTeste, GoToPageMovesOrExplainsTheValidRange) {
    abre(kLinhasTresPaginas);
    completa();
    ASSERT_EQ(preview->NumPaginas(), 3);
    struct Caso {
        const char* digitado;
        int pagina;
        const char* mensagem;
    } casos[] = {
        {"2", 2, nullptr},
        {"0", 2, "Digite um valor entre 1 e 3"},
        {"4", 2, "Digite um valor entre 1 e 3"},
        {"-1", 2, "Digite um valor entre 1 e 3"},
        {"abc", 2, "Valor inválido."},
        {"", 2, "Valor inválido."},
        {" 3 ", 3, nullptr},
        {"1", 1, nullptr},
    };
    for (const Caso& c : casos) {
        mensagens.limpa();
        irPara(QString::fromUtf8(c.digitado));
        EXPECT_EQ(preview->PaginaAtual(), c.pagina) << c.digitado;
        EXPECT_EQ(mensagens.textos(),
                  c.mensagem ? QStringList{QString::fromUtf8(c.mensagem)} : QStringList()) << c.digitado;
    }
    // Cancelling the box does nothing.
    Modais cancela([](QDialog&) { return int(QDialog::Rejected); });
    preview->TlBtEscolherPagina->click();
    EXPECT_EQ(preview->PaginaAtual(), 1);
}

TEST_F(PreviewTeste, PageButtonsAndStatusFollowThePageShown) {
    abre(kLinhasTresPaginas);
    completa();
    EXPECT_EQ(preview->pnlPagina->text(), QStringLiteral("Página 1 de 3"));
    EXPECT_FALSE(preview->TlBtAnterior->isEnabled());
    EXPECT_TRUE(preview->TlBtProxima->isEnabled());
    preview->TlBtProxima->click();
    EXPECT_EQ(preview->pnlPagina->text(), QStringLiteral("Página 2 de 3"));
    EXPECT_TRUE(preview->TlBtAnterior->isEnabled());
    preview->TlBtProxima->click();
    EXPECT_EQ(preview->pnlPagina->text(), QStringLiteral("Página 3 de 3"));
    EXPECT_FALSE(preview->TlBtProxima->isEnabled());
    preview->TlBtAnterior->click();
    EXPECT_EQ(preview->PaginaAtual(), 2);
    EXPECT_TRUE(preview->pnlImpressora->text().startsWith(QStringLiteral("Impressora Atual: ")));
}

TEST_F(PreviewTeste, OnePageReportKeepsThePageButtonsDisabled) {
    abre(3);
    completa();
    EXPECT_EQ(preview->pnlPagina->text(), QStringLiteral("Página 1 de 1"));
    EXPECT_FALSE(preview->TlBtEscolherPagina->isEnabled());
    EXPECT_FALSE(preview->TlBtAnterior->isEnabled());
    EXPECT_FALSE(preview->TlBtProxima->isEnabled());
    for (QToolButton* b : {preview->TlBtSalvarRelatorio, preview->TlBtImprimir, preview->TlBtExportarCSV})
        EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
}

TEST_F(PreviewTeste, FirstPageIsShownWhileTheRestIsStillBeingMade) {
    abre(400, true);  // about eight pages, one per slice
    preview->setWindowState(Qt::WindowNoState);
    preview->resize(800, 600);
    bool completoAoDesenhar = true;
    int desenhada = 0;
    QObject::connect(preview.get(), &TfrmPreviewQR::paginaDesenhada, [&](int n) {
        if (!desenhada) completoAoDesenhar = preview->Completo();
        desenhada = n;
    });
    preview->show();
    ASSERT_TRUE(Apoio::espera([&] { return desenhada == 1; }));
    EXPECT_FALSE(completoAoDesenhar);
    EXPECT_FALSE(preview->Completo());
    for (QToolButton* b : botoesDoRelatorioInteiro()) EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    completa();
    EXPECT_GE(preview->NumPaginas(), 7);
    for (QToolButton* b : botoesDoRelatorioInteiro()) EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
    EXPECT_EQ(preview->pnlPagina->text(), QStringLiteral("Página 1 de %1").arg(preview->NumPaginas()));
}

TEST_F(PreviewTeste, ClosingDuringGenerationStopsIt) {
    abre(400, true);
    ASSERT_TRUE(Apoio::espera([&] { return preview->NumPaginas() >= 1; }));
    preview->TlBtSair->click();
    const int feitas = preview->NumPaginas();
    QTest::qWait(100);
    EXPECT_EQ(preview->NumPaginas(), feitas);
    EXPECT_FALSE(relatorio->Concluido());
}

TEST_F(PreviewTeste, SavedReportLoadsBackAndABadFileLeavesThePreviewAsItWas) {
    abre(kLinhasTresPaginas);
    completa();
    const QString semExtensao = pasta.arquivo(QStringLiteral("salvo"));
    {
        Arquivos a({semExtensao});
        preview->TlBtSalvarRelatorio->click();
        ASSERT_EQ(a.pedidos.size(), 1);
        EXPECT_EQ(a.pedidos[0].modo, SeletorArquivo::Modo::Salvar);
        EXPECT_TRUE(a.pedidos[0].filtro.contains(QStringLiteral("*.QRP")));
    }
    const QString salvo = semExtensao + QStringLiteral(".Qrp");
    ASSERT_TRUE(QFile::exists(salvo));

    TfrmPreviewQR outro;
    {
        Arquivos a({salvo});
        outro.TlBtCarregarRelatorio->click();
    }
    ASSERT_TRUE(outro.Documento());
    EXPECT_TRUE(*outro.Documento() == *preview->Documento());
    // The caption names the report loaded and its file.
    EXPECT_EQ(outro.windowTitle(), QStringLiteral("Relação de números (salvo.Qrp)"));
    EXPECT_EQ(outro.pnlPagina->text(), QStringLiteral("Página 1 de 3"));
    EXPECT_TRUE(outro.TlBtImprimir->isEnabled());

    // Damaged, foreign or of another version: a message, and nothing changes.
    QFile original(salvo);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray bytes = original.readAll();
    QByteArray versao = bytes;
    versao[5] = char(9);
    preview->IrParaPagina(2);
    const auto antes = preview->Documento();
    for (const QByteArray& ruim : {bytes.left(bytes.size() / 3), QByteArray("<html></html>"), versao}) {
        const QString caminho = pasta.arquivo(QStringLiteral("ruim.QRP"));
        QFile f(caminho);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(ruim);
        f.close();
        mensagens.limpa();
        Arquivos a({caminho});
        preview->TlBtCarregarRelatorio->click();
        ASSERT_EQ(mensagens.pedidos().size(), 1);
        EXPECT_EQ(mensagens.pedidos()[0].tipo, Mensagens::Erro);
        EXPECT_TRUE(mensagens.textos()[0].contains(QStringLiteral("ruim.QRP")));
        EXPECT_EQ(preview->Documento(), antes);
        EXPECT_EQ(preview->PaginaAtual(), 2);
        EXPECT_EQ(preview->pnlPagina->text(), QStringLiteral("Página 2 de 3"));
    }
}

TEST_F(PreviewTeste, ExportButtonsWriteTheirFilesAndCancellingWritesNothing) {
    abre(kLinhasTresPaginas);
    completa();
    struct Caso {
        QToolButton* botao;
        const char* extensao;
        const char* inicio;
    } casos[] = {{preview->TlBtExportarHTML, "htm", "<!DOCTYPE html>"},
                 {preview->TlBtExportarTXT, "txt", ""},
                 {preview->TlBtExportarCSV, "csv", "Número\r\n1\r\n"},
                 {preview->TlBtExportarPDF, "pdf", "%PDF-"}};
    for (const Caso& c : casos) {
        const QString base = pasta.arquivo(QStringLiteral("exportado_") + QString::fromLatin1(c.extensao));
        {
            Arquivos cancela({});
            c.botao->click();
        }
        EXPECT_TRUE(QDir(pasta.caminho()).entryList({QStringLiteral("exportado_*")}, QDir::Files).isEmpty());
        Arquivos a({base});
        c.botao->click();
        const QString arquivo = base + QLatin1Char('.') + QString::fromLatin1(c.extensao);
        QFile f(arquivo);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << arquivo.toStdString();
        const QByteArray lido = f.readAll();
        EXPECT_TRUE(lido.startsWith(QByteArray(c.inicio))) << c.extensao << ": " << lido.left(40).toStdString();
        QFile::remove(arquivo);
    }
    EXPECT_TRUE(mensagens.textos().isEmpty()) << mensagens.textos().join(QLatin1Char('|')).toStdString();
}

TEST_F(PreviewTeste, PrintsEveryPageOnThePrinterChosen) {
    abre(kLinhasTresPaginas);
    completa();
    const QString pdf = pasta.arquivo(QStringLiteral("impresso.pdf"));
    preview->Impressora().setOutputFormat(QPrinter::PdfFormat);
    preview->Impressora().setOutputFileName(pdf);
    preview->TlBtImprimir->click();
    preview->Impressora().setOutputFileName(QString());
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString conteudo = QString::fromLatin1(f.readAll());
    EXPECT_EQ(conteudo.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))), 3);
    EXPECT_TRUE(mensagens.textos().isEmpty());
}

TEST_F(PreviewTeste, ShowingAReportOpensThePreviewModallyWithItsPages) {
    Numeros r(kLinhasTresPaginas);
    int paginas = 0;
    QString titulo;
    Modais m([&](QDialog& d) {
        auto* p = qobject_cast<TfrmPreviewQR*>(&d);
        EXPECT_NE(p, nullptr);
        if (!p) return int(QDialog::Rejected);
        EXPECT_TRUE(Apoio::espera([&] { return p->Completo(); }));
        paginas = p->NumPaginas();
        titulo = p->windowTitle();
        EXPECT_EQ(QGuiApplication::overrideCursor() ? QGuiApplication::overrideCursor()->shape()
                                                    : Qt::ArrowCursor,
                  Qt::ArrowCursor);
        return int(QDialog::Rejected);
    });
    {
        CursorEspera espera;
        ExibeRelatorio(r, nullptr);
    }
    EXPECT_EQ(paginas, 3);
    EXPECT_EQ(titulo, QStringLiteral("Relação de números"));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(PreviewTeste, PrintChoicesOfOneReportDoNotCarryToTheNext) {
    abre(kLinhasTresPaginas);
    completa();
    // The first report: pages 2 to 3 into a file.
    const QString primeiro = pasta.arquivo(QStringLiteral("primeiro.pdf"));
    QPrinter& impressora = preview->Impressora();
    impressora.setOutputFormat(QPrinter::PdfFormat);
    impressora.setOutputFileName(primeiro);
    impressora.setPrintRange(QPrinter::PageRange);
    impressora.setFromTo(2, 3);
    preview->TlBtImprimir->click();
    const auto paginasPdf = [](const QString& caminho) {
        QFile f(caminho);
        if (!f.open(QIODevice::ReadOnly)) return -1;
        return int(QString::fromLatin1(f.readAll()).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
    };
    EXPECT_EQ(paginasPdf(primeiro), 2);
    preview->reject();
    const QByteArray impressoAntes = [&] {
        QFile f(primeiro);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();

    // The next report starts from every page, and not into the first one's file.
    Numeros outro(kLinhasTresPaginas);
    outro.Inicia();
    TfrmPreviewQR segundo;
    segundo.Exibe(outro);
    ASSERT_TRUE(Apoio::espera([&] { return segundo.Completo(); }));
    EXPECT_EQ(segundo.Impressora().printRange(), QPrinter::AllPages);
    EXPECT_EQ(segundo.Impressora().fromPage(), 0);
    EXPECT_TRUE(segundo.Impressora().outputFileName().isEmpty());
    const QString pdf = pasta.arquivo(QStringLiteral("segundo.pdf"));
    segundo.Impressora().setOutputFormat(QPrinter::PdfFormat);  // the test's printer
    segundo.Impressora().setOutputFileName(pdf);
    segundo.TlBtImprimir->click();
    EXPECT_EQ(paginasPdf(pdf), 3);
    segundo.reject();
    QFile f(primeiro);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), impressoAntes) << "the first report's file was written again";
    EXPECT_TRUE(mensagens.textos().isEmpty()) << mensagens.textos().join('|').toStdString();
}
