// Runs the database start-up once on the program folder given: the tests kill it
// at chosen moments to show that no moment of start-up can lose the database.
#include <QCoreApplication>
#include <cstdio>

#include "db/Erro.h"
#include "db/DmConexao.h"
#include "platform/Plataforma.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (app.arguments().size() < 2) return 2;
    PastaPrograma::define(app.arguments().at(1));
    try {
        TDmConexao c;
        c.AbreBanco();
    } catch (const ErroQev& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
