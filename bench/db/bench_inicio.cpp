// bench_inicio [PASTA] [REPETICOES=5]
//
// On the large generated database (PASTA/QEV.mdb, generated when missing) times, in the
// same run:
//   AbreBanco  - the whole start of the connection module: compaction into a verified,
//                encrypted copy put in place of the file, opening, column upgrades, fix-ups,
//                municipality merge, protocol normalisation, pending protocols, orphan links;
//   VACUUM INTO - plain SQLite opening the same file with its key and writing the
//                compacted, encrypted copy beside it, nothing else.
// Each repetition starts from a fresh copy of the generated file (the copy is not timed).
// Prints the medians and their ratio.
#include <sqlite3.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "../network/GeraBaseEstab.h"
#include "../network/MedidasBench.h"
#include "db/CifraBanco.h"
#include "db/DmConexao.h"
#include "db/Erro.h"
#include "platform/LinhaComando.h"
#include "platform/Mensagens.h"
#include "platform/Plataforma.h"

namespace {

double mediana(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Times `f` on a fresh copy of `origem` placed as `pasta`/QEV.mdb.
double medeSobreCopia(const QString& origem, const QString& pasta,
                      const std::function<void(const QString&)>& f) {
    const QString destino = pasta + QStringLiteral("QEV.mdb");
    QFile::remove(destino);
    QFile::remove(destino + QLatin1Char('x'));
    if (!QFile::copy(origem, destino)) throw ErroQev(QStringLiteral("cópia falhou: ") + destino);
    QElapsedTimer t;
    t.start();
    f(destino);
    return t.nsecsElapsed() / 1e6;
}

void vacuumInto(const QString& caminho) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(caminho).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI,
                        nullptr) != SQLITE_OK)
        throw ErroQev(QStringLiteral("não abriu"));
    const QByteArray senha = TDmConexao::SenhaBanco();
    sqlite3_key_v2(db, nullptr, senha.constData(), int(senha.size()));
    // the same page cache as the program's connections
    const QByteArray cache =
        "PRAGMA cache_size = -" + QByteArray::number(CifraBanco::cachePaginasKiB(QFileInfo(caminho).size()));
    sqlite3_exec(db, cache.constData(), nullptr, nullptr, nullptr);
    const QByteArray uri = "file:" + QUrl::toPercentEncoding(caminho + QLatin1Char('x'), "/") + "?key=" +
                           QUrl::toPercentEncoding(QString::fromLatin1(senha));
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "VACUUM INTO ?", -1, &st, nullptr);
    sqlite3_bind_text(st, 1, uri.constData(), int(uri.size()), SQLITE_TRANSIENT);
    const int rc = sqlite3_step(st);
    sqlite3_finalize(st);
    sqlite3_close_v2(db);
    if (rc != SQLITE_DONE) throw ErroQev(QStringLiteral("VACUUM INTO falhou"));
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = LeArgumentos(
        app,
        QStringLiteral("Mede o início do programa (AbreBanco) na base grande contra um VACUUM "
                       "INTO puro do mesmo arquivo."),
        {{QStringLiteral("PASTA"), QStringLiteral("Pasta da base grande (gerada se faltar)."), true},
         {QStringLiteral("REPETICOES"), QStringLiteral("Repetições de cada medida (5)."), true}});
    const QString base = args.size() > 0 ? args[0] : QDir::tempPath() + QStringLiteral("/qev-bench-rede");
    const int repeticoes = std::max(1, args.size() > 1 ? args[1].toInt() : 5);
    const QString origem = QDir(base).filePath(QStringLiteral("QEV.mdb"));
    Mensagens::defineTratador([](const Mensagens::Pedido& p) {
        std::fprintf(stderr, "mensagem: %s\n", qPrintable(p.texto));
        return Mensagens::respostaPadrao(p.botoes);
    });
    try {
        if (!QFileInfo::exists(origem)) {
            std::printf("gerando %s...\n", qPrintable(origem));
            GeraBaseEstab::gera(base, 100000);
        }
        QTemporaryDir dir;
        const QString pasta = dir.path() + QLatin1Char('/');
        PastaPrograma::define(pasta);

        std::vector<double> abre, vacuo;
        for (int i = 0; i < repeticoes + 1; ++i) {  // the first round warms the caches
            const double a = medeSobreCopia(origem, pasta, [](const QString&) {
                TDmConexao c;
                c.AbreBanco();
            });
            const double v = medeSobreCopia(origem, pasta, vacuumInto);
            if (i > 0) {
                abre.push_back(a);
                vacuo.push_back(v);
            }
        }
        const double a = mediana(abre), v = mediana(vacuo);
        std::printf("base: %s (%.1f MB)\n", qPrintable(origem), QFileInfo(origem).size() / 1048576.0);
        std::printf("%-34s %10.1f ms\n", "AbreBanco (início completo)", a);
        std::printf("%-34s %10.1f ms\n", "VACUUM INTO puro", v);
        std::printf("%-34s %10.2fx\n", "razão", a / v);
        MedidasBench::resumo("início: AbreBanco contra VACUUM INTO", {a, v}, "até 1,3x");
    } catch (const ErroQev& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
