// gera_base_estab PASTA [ESTABELECIMENTOS=100000] [PLANOS=2000]
// Writes PASTA/QEV.mdb, the large database of the benchmarks: establishments, and plans
// with their network, area, notes, taxes, free-choice items and services.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

#include "GeraBaseEstab.h"
#include "db/Erro.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "uso: gera_base_estab PASTA [ESTABELECIMENTOS] [PLANOS]\n");
        return 2;
    }
    const int n = args.size() > 2 ? args[2].toInt() : 100000;
    const int planos = args.size() > 3 ? args[3].toInt() : 2000;
    QElapsedTimer t;
    t.start();
    try {
        GeraBaseEstab::gera(args[1], n, planos);
    } catch (const ErroQev& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::printf("%d estabelecimentos e %d planos gerados em %s/QEV.mdb (%.1f s)\n", n, planos,
                qPrintable(args[1]), t.elapsed() / 1000.0);
    return 0;
}
