// capturas_relacao BASE IMAGENS
//
// The establishment list of a large database (BASE/QEV.mdb, e.g. one gera_base_estab
// made), by name, as a person looks at it: the preview on its first page and on its last
// page once every page is made (both read back from the page file), saved as PNGs in
// IMAGENS, then the whole list exported to IMAGENS/relacao.pdf and IMAGENS/relacao.csv.
// Prints the number of pages, the time of each export and the process's peak memory
// after each step (for a look at the pages with pdftoppm).
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>

#include "../network/MedidasBench.h"
#include "../network/GeraBaseEstab.h"
#include "db/DmConexao.h"
#include "operator/DmZemlo.h"
#include "platform/LinhaComando.h"
#include "platform/Mensagens.h"
#include "platform/Plataforma.h"
#include "reports/FrmPreviewQR.h"
#include "reports/QrpEstabSaude.h"

namespace {

double picoMiB() { return MedidasBench::memoriaMiB("VmHWM:"); }

}  // namespace

int main(int argc, char** argv) {
    GeraBaseEstab::preparaAmbiente();
    QApplication app(argc, argv);
    const QStringList args = LeArgumentos(
        app,
        QStringLiteral("Grava a visualização da relação de estabelecimentos de uma base grande na primeira e na "
                       "última página, e a exporta para PDF e CSV."),
        {{QStringLiteral("BASE"), QStringLiteral("Pasta da base (QEV.mdb).")},
         {QStringLiteral("IMAGENS"), QStringLiteral("Pasta das imagens e das exportações.")}});
    const QString pasta = args[0], imagens = args[1];
    QDir().mkpath(imagens);
    Mensagens::defineTratador([](const Mensagens::Pedido& p) {
        std::fprintf(stderr, "mensagem: %s\n", qPrintable(p.texto));
        return Mensagens::respostaPadrao(p.botoes);
    });
    PastaPrograma::define(pasta);
    TDmConexao conexao;
    conexao.banco().abre(QDir(pasta).filePath(QStringLiteral("QEV.mdb")), TDmConexao::SenhaBanco());
    TDMZemlo zemlo;

    QElapsedTimer t;
    t.start();
    TqrpEstabSaude relatorio(conexao.banco(), TqrpEstabSaude::Ordem::RazaoSocial, false);
    relatorio.Inicia();
    TfrmPreviewQR preview;
    preview.setWindowState(Qt::WindowNoState);
    preview.resize(1200, 900);
    preview.Exibe(relatorio);
    preview.show();
    while (!preview.Completo()) QApplication::processEvents(QEventLoop::AllEvents, 5);
    const auto doc = preview.Documento();
    std::printf("%d páginas em %.1f s; arquivo das páginas %.1f MiB; pico %.0f MiB\n", doc->NumPaginas(),
                t.elapsed() / 1000.0, doc->BytesDasPaginas() / 1048576.0, picoMiB());
    preview.FitHorizontalClick();
    const auto grava = [&](int pagina, const char* nome) {
        preview.IrParaPagina(pagina);
        QApplication::processEvents();
        const QString arquivo = QDir(imagens).filePath(QString::fromLatin1(nome));
        preview.grab().save(arquivo);
        std::printf("%s: página %d\n", qPrintable(arquivo), pagina);
    };
    grava(1, "relacao-primeira.png");
    grava(doc->NumPaginas(), "relacao-ultima.png");

    const auto exporta = [&](const char* nome, void (DocumentoRelatorio::*exportacao)(const QString&) const) {
        QElapsedTimer e;
        e.start();
        const QString arquivo = QDir(imagens).filePath(QString::fromLatin1(nome));
        ((*doc).*exportacao)(arquivo);
        std::printf("%s: %.1f MiB em %.1f s; pico %.0f MiB\n", qPrintable(arquivo),
                    QFile(arquivo).size() / 1048576.0, e.elapsed() / 1000.0, picoMiB());
    };
    exporta("relacao.csv", &DocumentoRelatorio::ExportaCsv);
    exporta("relacao.pdf", &DocumentoRelatorio::ExportaPdf);
    preview.close();
    return 0;
}
