// bench_relatorios [PASTA] [REPETICOES=3]
//
// The establishment list ("Relação de Estabelecimentos de Saúde") of the large
// generated database (PASTA/QEV.mdb, 100,000 establishments, made when missing),
// shown in the preview as a user opens it, by name and by CNPJ. For each it prints:
//   primeira página - from the start until the first page was painted on the screen;
//   última página   - from the start until the last page was ready;
//   laço puro       - a bare loop over the same statement that draws the same column
//                     strings with QPainter on pages of the same size (QPicture), in
//                     the same run;
// with the ratios (first page over the whole generation, whole over the bare loop;
// goals 1/20 and 3x) and the process's peak resident memory after the report.
#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPicture>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "../network/GeraBaseEstab.h"
#include "../network/MedidasBench.h"
#include "db/DmConexao.h"
#include "platform/LinhaComando.h"
#include "operator/DmZemlo.h"
#include "platform/Mensagens.h"
#include "platform/Plataforma.h"
#include "reports/FrmPreviewQR.h"
#include "reports/QrpEstabSaude.h"

namespace {

// Peak and current resident memory of the process, in MiB.
double memoriaMiB(const char* campo) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& l : f.readAll().split('\n'))
        if (l.startsWith(campo)) return l.mid(int(qstrlen(campo))).trimmed().split(' ').first().toDouble() / 1024;
    return -1;
}

struct Medida {
    double abertura = 0;  // ms: the data open (for the name order: the names sorted)
    double primeira = 0;
    double ultima = 0;
    int paginas = 0;
    int linhasPorPagina = 0;
    int linhas = 0;
    double figurasMiB = 0;  // recorded drawings
    qint64 textos = 0;      // text items
};

// Opens the report in the preview as the user does and waits for its last page.
Medida mostra(Banco& banco, TqrpEstabSaude::Ordem ordem) {
    Medida m;
    QElapsedTimer t;
    t.start();
    TqrpEstabSaude relatorio(banco, ordem, false);
    relatorio.Inicia();
    m.abertura = t.nsecsElapsed() / 1e6;
    TfrmPreviewQR preview;
    preview.setWindowState(Qt::WindowNoState);
    preview.resize(1280, 900);
    QObject::connect(&preview, &TfrmPreviewQR::paginaDesenhada, [&](int n) {
        if (n == 1 && m.primeira == 0) m.primeira = t.nsecsElapsed() / 1e6;
    });
    preview.Exibe(relatorio);
    preview.show();
    while (!preview.Completo()) QApplication::processEvents(QEventLoop::AllEvents, 5);
    m.ultima = t.nsecsElapsed() / 1e6;
    const auto doc = preview.Documento();
    m.paginas = doc->NumPaginas();
    QSet<quint32> bandas;
    for (const ItemTexto& i : doc->Pagina(0).textos)
        if (i.tipoBanda == TipoBanda::Detalhe) bandas.insert(i.banda);
    m.linhasPorPagina = bandas.size();
    for (const PaginaRelatorio& p : doc->Paginas()) {
        m.figurasMiB += p.figura.size() / 1048576.0;
        m.textos += p.textos.size();
        for (const ItemTexto& i : p.textos)
            if (i.tipoBanda == TipoBanda::Detalhe && i.caixa.left() < 101) ++m.linhas;
    }
    preview.close();
    return m;
}

// The bare loop: steps the statement and draws the strings of the ten printed
// columns of each row at fixed places, `porPagina` rows a page.
double lacoPuro(sqlite3* db, const QString& sql, int porPagina) {
    QElapsedTimer t;
    t.start();
    sqlite3_stmt* st = nullptr;
    const QByteArray texto = sql.toUtf8();
    sqlite3_prepare_v2(db, texto.constData(), -1, &st, nullptr);
    // CNPJ, CNES, name, relation, state, municipality, contracting, two dates, classification.
    const int colunas[] = {1, 7, 2, 3, 12, 13, 5, 9, 8, 11};
    const qreal xs[] = {100, 375, 500, 1200, 1445, 1510, 1910, 2080, 2255, 2465};
    const QFont fonte = FonteRelatorio(7.5);
    std::vector<QPicture> paginas;
    QPicture* pagina = nullptr;
    QPainter g;
    int n = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        if (n % porPagina == 0) {
            if (g.isActive()) g.end();
            paginas.emplace_back();
            pagina = &paginas.back();
            g.begin(pagina);
            g.setFont(fonte);
        }
        const qreal y = 500 + (n % porPagina) * 38;
        for (int c = 0; c < 10; ++c) {
            const auto* v = reinterpret_cast<const char*>(sqlite3_column_text(st, colunas[c]));
            if (v) g.drawText(QPointF(xs[c], y), QString::fromUtf8(v, sqlite3_column_bytes(st, colunas[c])));
        }
        ++n;
    }
    if (g.isActive()) g.end();
    sqlite3_finalize(st);
    return t.nsecsElapsed() / 1e6;
}

template <typename T>
T mediana(std::vector<T> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& m) {
        if (!m.contains(QLatin1String("propagateSizeHints"))) std::fprintf(stderr, "%s\n", qPrintable(m));
    });
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = LeArgumentos(
        app, QStringLiteral("Mede a relação de estabelecimentos na visualização (primeira e última página, "
                            "memória) contra um laço puro que desenha as mesmas colunas."),
        {{QStringLiteral("PASTA"), QStringLiteral("Pasta da base grande (gerada se faltar)."), true},
         {QStringLiteral("REPETICOES"), QStringLiteral("Repetições de cada medida (3)."), true}});
    const QString pasta = args.size() > 0 ? args[0] : QDir::tempPath() + QStringLiteral("/qev-bench-rede");
    const int repeticoes = std::max(1, args.size() > 1 ? args[1].toInt() : 3);
    const QString caminho = QDir(pasta).filePath(QStringLiteral("QEV.mdb"));
    if (!QFileInfo::exists(caminho)) {
        std::printf("gerando %s com 100000 estabelecimentos...\n", qPrintable(caminho));
        GeraBaseEstab::gera(pasta, 100000);
    }
    Mensagens::defineTratador([](const Mensagens::Pedido& p) { return Mensagens::respostaPadrao(p.botoes); });
    PastaPrograma::define(pasta);
    TDmConexao conexao;
    conexao.banco().abre(caminho, TDmConexao::SenhaBanco());
    TDMZemlo zemlo;
    sqlite3* db = conexao.banco().handle();
    std::printf("base: %s; mediana de %d repetições\n\n", qPrintable(caminho), repeticoes);

    const double memoriaAntes = memoriaMiB("VmRSS:");
    struct Caso {
        const char* nome;
        TqrpEstabSaude::Ordem ordem;
    } casos[] = {{"por Razão Social", TqrpEstabSaude::Ordem::RazaoSocial},
                 {"por CNPJ", TqrpEstabSaude::Ordem::Cnpj}};
    for (const Caso& c : casos) {
        std::vector<double> aberturas, primeiras, ultimas, puros;
        Medida m;
        for (int i = 0; i < repeticoes; ++i) {
            m = mostra(conexao.banco(), c.ordem);
            aberturas.push_back(m.abertura);
            primeiras.push_back(m.primeira);
            ultimas.push_back(m.ultima);
        }
        const double pico = memoriaMiB("VmHWM:");
        for (int i = 0; i < repeticoes; ++i)
            puros.push_back(lacoPuro(db, TqrpEstabSaude::Sql(c.ordem, false), m.linhasPorPagina));
        const double primeira = mediana(primeiras), ultima = mediana(ultimas), puro = mediana(puros);
        std::printf("Relação de Estabelecimentos de Saúde %s: %d linhas, %d páginas (%d linhas/página)\n",
                    c.nome, m.linhas, m.paginas, m.linhasPorPagina);
        std::printf("  dados abertos             %10.1f ms\n", mediana(aberturas));
        std::printf("  primeira página na tela   %10.1f ms   %6.3f da geração inteira (meta: < 0,050)\n",
                    primeira, primeira / ultima);
        std::printf("  última página pronta      %10.1f ms\n", ultima);
        std::printf("  laço puro (mesmas linhas) %10.1f ms   geração/laço puro = %.2fx (meta: <= 3x)\n", puro,
                    ultima / puro);
        std::printf("  memória: pico do processo %.0f MiB (antes dos relatórios: %.0f MiB; meta: < 500 MiB); "
                    "desenhos das páginas %.0f MiB, %lld textos\n\n",
                    pico, memoriaAntes, m.figurasMiB, static_cast<long long>(m.textos));
        const QByteArray nome = QByteArray("relação de estabelecimentos ") + c.nome;
        MedidasBench::resumoValor((nome + ": primeira página").constData(), primeira, "ms", "");
        MedidasBench::resumo((nome + ": última página").constData(), {ultima, puro}, "até 3x o laço puro");
        MedidasBench::resumoValor((nome + ": pico de memória").constData(), pico, "MiB", "< 300 MiB a 300k");
    }
    return 0;
}
