// gera_base_estab PASTA [ESTABELECIMENTOS=100000]
// Writes PASTA/QEV.mdb, the large establishment database of the benchmarks.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

#include "GeraBaseEstab.h"
#include "db/Erro.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "uso: gera_base_estab PASTA [ESTABELECIMENTOS]\n");
        return 2;
    }
    const int n = args.size() > 2 ? args[2].toInt() : 100000;
    QElapsedTimer t;
    t.start();
    try {
        GeraBaseEstab::gera(args[1], n);
    } catch (const ErroQev& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::printf("%d estabelecimentos gerados em %s/QEV.mdb (%.1f s)\n", n, qPrintable(args[1]),
                t.elapsed() / 1000.0);
    return 0;
}
