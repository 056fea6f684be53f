// gera_base_estab PASTA [ESTABELECIMENTOS=100000] [PLANOS=2000]
// Writes PASTA/QEV.mdb, the large database of the benchmarks: establishments, and plans
// with their network, area, notes, taxes, free-choice items and services.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

#include "GeraBaseEstab.h"
#include "db/Erro.h"
#include "platform/LinhaComando.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = LeArgumentos(
        app, QStringLiteral("Grava PASTA/QEV.mdb, a base grande dos benchmarks."),
        {{QStringLiteral("PASTA"), QStringLiteral("Pasta da base gerada.")},
         {QStringLiteral("ESTABELECIMENTOS"), QStringLiteral("Quantos (100000 se omitido)."), true},
         {QStringLiteral("PLANOS"), QStringLiteral("Quantos (2000 se omitido)."), true}});
    const int n = args.size() > 1 ? args[1].toInt() : 100000;
    const int planos = args.size() > 2 ? args[2].toInt() : 2000;
    QElapsedTimer t;
    t.start();
    try {
        GeraBaseEstab::gera(args[0], n, planos);
    } catch (const ErroQev& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::printf("%d estabelecimentos e %d planos gerados em %s/QEV.mdb (%.1f s)\n", n, planos,
                qPrintable(args[0]), t.elapsed() / 1000.0);
    return 0;
}
