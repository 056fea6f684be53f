// bench_relatorios [PASTA] [REPETICOES=3]
//
// The establishment list ("Relação de Estabelecimentos de Saúde") of the generated
// database PASTA/QEV.mdb (100,000 establishments made when missing; scripts/bench.sh
// gives it 10k, 100k or 300k), shown in the preview as a user opens it, by name and by
// CNPJ, against a bare loop in the same run: the same statement stepped with plain
// SQLite, the strings of the ten printed columns drawn with QPainter on pages of the
// same size (QPicture), each page dropped when drawn (the floor of time and memory).
// For each order, medians of the runs, program and bare loop interleaved:
//   primeira página - from the start until the first page was painted on the screen
//                     (bare: until its first page was drawn);
//   última página   - until the last page was ready;
//   pico de memória - the peak resident memory (VmHWM) of a process of its own that
//                     opens the database and makes the report once (this program
//                     started again with QEV_BENCH_PICO=programa|puro:ordem[:rows]),
//                     so that no run before it counts;
// then, once, the finished preview going to the last page and back to the first, and
// every page read back from the page file (what an export reads).
#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPicture>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "../network/GeraBaseEstab.h"
#include "../network/MedidasBench.h"
#include "db/DmConexao.h"
#include "operator/DmZemlo.h"
#include "platform/LinhaComando.h"
#include "platform/Mensagens.h"
#include "platform/Plataforma.h"
#include "reports/FrmPreviewQR.h"
#include "reports/QrpEstabSaude.h"

namespace {

// A field of /proc/self/status, in MiB.
using MedidasBench::memoriaMiB;

struct Medida {
    double abertura = 0;  // ms: the data open (for the name order: the names sorted)
    double primeira = 0;
    double ultima = 0;
};

// Opens the report in the preview as the user does and waits for its last page. With
// `depois`, runs it on the finished preview before closing it.
Medida mostra(Banco& banco, TqrpEstabSaude::Ordem ordem,
              const std::function<void(TfrmPreviewQR&)>& depois = {}) {
    Medida m;
    QElapsedTimer t;
    t.start();
    TqrpEstabSaude relatorio(banco, ordem, false);
    relatorio.Inicia();
    m.abertura = t.nsecsElapsed() / 1e6;
    {
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
        if (depois) depois(preview);
        preview.close();
    }
    return m;
}

// The bare loop: steps the statement and draws the strings of the ten printed columns
// of each row at fixed places, `porPagina` rows a page; each finished page is dropped.
Medida lacoPuro(sqlite3* db, const QString& sql, int porPagina) {
    Medida m;
    QElapsedTimer t;
    t.start();
    sqlite3_stmt* st = nullptr;
    const QByteArray texto = sql.toUtf8();
    sqlite3_prepare_v2(db, texto.constData(), -1, &st, nullptr);
    // CNPJ, CNES, name, relation, state, municipality, contracting, two dates, classification.
    const int colunas[] = {1, 7, 2, 3, 12, 13, 5, 9, 8, 11};
    const qreal xs[] = {100, 375, 500, 1200, 1445, 1510, 1910, 2080, 2255, 2465};
    const QFont fonte = FonteRelatorio(7.5);
    std::unique_ptr<QPicture> pagina;
    QPainter g;
    const auto fecha = [&] {
        if (!g.isActive()) return;
        g.end();
        pagina.reset();
        if (m.primeira == 0) m.primeira = t.nsecsElapsed() / 1e6;
    };
    int n = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        if (n % porPagina == 0) {
            fecha();
            pagina = std::make_unique<QPicture>();
            g.begin(pagina.get());
            g.setFont(fonte);
        }
        const qreal y = 500 + (n % porPagina) * 38;
        for (int c = 0; c < 10; ++c) {
            const auto* v = reinterpret_cast<const char*>(sqlite3_column_text(st, colunas[c]));
            if (v) g.drawText(QPointF(xs[c], y), QString::fromUtf8(v, sqlite3_column_bytes(st, colunas[c])));
        }
        ++n;
    }
    fecha();
    sqlite3_finalize(st);
    m.ultima = t.nsecsElapsed() / 1e6;
    return m;
}

double mediana(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Medianas {
    std::vector<double> abertura, primeira, ultima;
    void soma(const Medida& m) {
        abertura.push_back(m.abertura);
        primeira.push_back(m.primeira);
        ultima.push_back(m.ultima);
    }
};

// What the finished document holds, read back page by page from its file.
struct Conteudo {
    int paginas = 0;
    int linhasPorPagina = 0;
    int linhas = 0;
    double figurasMiB = 0;
    qint64 textos = 0;
    double arquivoMiB = 0;
    double leituraMs = 0;  // every page read back (decoded), in order
    double ultimaNaTelaMs = 0;  // the last page shown, from the first
    double primeiraNaTelaMs = 0;  // and back to the first
};

Conteudo examina(TfrmPreviewQR& preview) {
    Conteudo c;
    const auto doc = preview.Documento();
    c.paginas = doc->NumPaginas();
    c.arquivoMiB = doc->BytesDasPaginas() / 1048576.0;
    const auto mostraPagina = [&](int numero) {
        int desenhada = 0;
        const auto ligacao = QObject::connect(&preview, &TfrmPreviewQR::paginaDesenhada,
                                              [&](int n) { desenhada = n; });
        QElapsedTimer t;
        t.start();
        preview.IrParaPagina(numero);
        while (desenhada != numero) QApplication::processEvents(QEventLoop::AllEvents, 5);
        QObject::disconnect(ligacao);
        return t.nsecsElapsed() / 1e6;
    };
    c.ultimaNaTelaMs = mostraPagina(c.paginas);
    c.primeiraNaTelaMs = mostraPagina(1);
    QElapsedTimer t;
    t.start();
    for (int p = 0; p < c.paginas; ++p) doc->Pagina(p);
    c.leituraMs = t.nsecsElapsed() / 1e6;
    QSet<quint32> bandas;
    for (const ItemTexto& i : doc->Pagina(0)->textos)
        if (i.tipoBanda == TipoBanda::Detalhe) bandas.insert(i.banda);
    c.linhasPorPagina = bandas.size();
    for (int p = 0; p < c.paginas; ++p) {
        const auto pagina = doc->Pagina(p);
        c.figurasMiB += pagina->figura.size() / 1048576.0;
        c.textos += pagina->textos.size();
        for (const ItemTexto& i : pagina->textos)
            if (i.tipoBanda == TipoBanda::Detalhe && i.caixa.left() < 101) ++c.linhas;
    }
    return c;
}

// The peak of a process of its own running one side once (see the top).
double picoEmProcesso(const QString& pasta, const QString& lado) {
    QProcess p;
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert(QStringLiteral("QEV_BENCH_PICO"), lado);
    ambiente.remove(QStringLiteral("QEV_BENCH_RESUMO"));
    p.setProcessEnvironment(ambiente);
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QCoreApplication::applicationFilePath(), {pasta});
    if (!p.waitForFinished(-1)) return -1;
    for (const QByteArray& l : p.readAllStandardOutput().split('\n'))
        if (l.startsWith("PICO ")) return l.mid(5).toDouble();
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    GeraBaseEstab::preparaAmbiente();
    QApplication app(argc, argv);
    const QStringList args = LeArgumentos(
        app, QStringLiteral("Mede a relação de estabelecimentos na visualização (primeira e última página, "
                            "pico de memória) contra um laço puro que desenha as mesmas colunas."),
        {{QStringLiteral("PASTA"), QStringLiteral("Pasta da base (gerada com 100000 estabelecimentos se faltar)."),
          true},
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
    const QStringList pico = qEnvironmentVariable("QEV_BENCH_PICO").split(QLatin1Char(':'));
    if (pico.size() >= 2) {
        const auto ordem = pico[1] == QLatin1String("cnpj") ? TqrpEstabSaude::Ordem::Cnpj
                                                             : TqrpEstabSaude::Ordem::RazaoSocial;
        if (pico[0] == QLatin1String("puro")) lacoPuro(db, TqrpEstabSaude::Sql(ordem, false), pico.value(2).toInt());
        else mostra(conexao.banco(), ordem);
        std::printf("PICO %.1f\n", memoriaMiB("VmHWM:"));
        return 0;
    }
    std::printf("base: %s; mediana de %d repetições, programa e laço puro alternados\n\n", qPrintable(caminho),
                repeticoes);

    struct Caso {
        const char* nome;
        TqrpEstabSaude::Ordem ordem;
        const char* chave;
    } casos[] = {{"por Razão Social", TqrpEstabSaude::Ordem::RazaoSocial, "nome"},
                 {"por CNPJ", TqrpEstabSaude::Ordem::Cnpj, "cnpj"}};
    for (const Caso& c : casos) {
        Conteudo conteudo;
        mostra(conexao.banco(), c.ordem, [&](TfrmPreviewQR& p) { conteudo = examina(p); });
        const QString sql = TqrpEstabSaude::Sql(c.ordem, false);
        lacoPuro(db, sql, conteudo.linhasPorPagina);  // warms the page cache and the code
        const double pico = picoEmProcesso(pasta, QStringLiteral("programa:%1").arg(QLatin1String(c.chave)));
        const double picoPuro = picoEmProcesso(
            pasta, QStringLiteral("puro:%1:%2").arg(QLatin1String(c.chave)).arg(conteudo.linhasPorPagina));
        Medianas qev, puro;
        for (int i = 0; i < repeticoes; ++i) {
            if (i % 2 == 0) puro.soma(lacoPuro(db, sql, conteudo.linhasPorPagina));
            qev.soma(mostra(conexao.banco(), c.ordem));
            if (i % 2 == 1) puro.soma(lacoPuro(db, sql, conteudo.linhasPorPagina));
        }
        const double primeira = mediana(qev.primeira), ultima = mediana(qev.ultima);
        const double primeiraPura = mediana(puro.primeira), ultimaPura = mediana(puro.ultima);
        std::printf("Relação de Estabelecimentos de Saúde %s: %d linhas, %d páginas (%d linhas/página)\n",
                    c.nome, conteudo.linhas, conteudo.paginas, conteudo.linhasPorPagina);
        std::printf("                                   programa       laço puro    razão\n");
        std::printf("  dados abertos                %10.1f ms\n", mediana(qev.abertura));
        std::printf("  primeira página na tela      %10.1f ms   %10.1f ms   %6.2fx   (%.3f da geração inteira)\n",
                    primeira, primeiraPura, primeira / primeiraPura, primeira / ultima);
        std::printf("  última página pronta         %10.1f ms   %10.1f ms   %6.2fx   (meta: <= 3x)\n", ultima,
                    ultimaPura, ultima / ultimaPura);
        std::printf("  pico de memória (processo)   %10.0f MiB  %10.0f MiB  %6.2fx   (meta: < 300 MiB a 300k)\n",
                    pico, picoPuro, pico / picoPuro);
        std::printf("  arquivo das páginas %.1f MiB (desenhos %.0f MiB e %lld textos abertos); todas as páginas "
                    "lidas de volta em %.0f ms;\n  visualização pronta: última página na tela em %.1f ms, a "
                    "primeira de novo em %.1f ms\n\n",
                    conteudo.arquivoMiB, conteudo.figurasMiB, static_cast<long long>(conteudo.textos),
                    conteudo.leituraMs, conteudo.ultimaNaTelaMs, conteudo.primeiraNaTelaMs);
        const QByteArray nome = QByteArray("relação ") + c.nome;
        MedidasBench::resumo((nome + ": primeira página").constData(), {primeira, primeiraPura},
                             "tão rápida quanto antes");
        MedidasBench::resumo((nome + ": última página").constData(), {ultima, ultimaPura}, "até 3x o laço puro");
        if (MedidasBench::comResumo())  // a pair in MiB
            std::printf("RESUMO|%s|%.1f MiB|%.1f MiB|%.2f|%s\n", (nome + ": pico de memória").constData(), pico,
                        picoPuro, pico / picoPuro, "< 300 MiB a 300k");
        MedidasBench::resumoValor((nome + ": ir à última página").constData(),
                                  conteudo.ultimaNaTelaMs, "ms", "instantânea");
        MedidasBench::resumoValor((nome + ": ler todas as páginas").constData(), conteudo.leituraMs,
                                  "ms", "");
        std::fflush(stdout);
    }
    return 0;
}
