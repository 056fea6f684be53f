// Creates the delivered database from the schema and the reference rows, only
// when the file does not exist yet (a rebuild never touches a user's data).
#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

#include "db/Erro.h"
#include "db/CriaBanco.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "uso: qev-criabanco DESTINO.mdb SCRIPT.sql [SCRIPT.sql ...]\n");
        return 2;
    }
    try {
        QStringList scripts;
        for (int i = 2; i < args.size(); ++i) scripts << CriaBanco::leScript(args[i]);
        if (CriaBanco::cria(args[1], scripts))
            std::printf("qev-criabanco: %s criado\n", qPrintable(args[1]));
        else
            std::printf("qev-criabanco: %s já existe; nada foi alterado\n", qPrintable(args[1]));
    } catch (const ErroQev& e) {
        std::fprintf(stderr, "qev-criabanco: %s\n", e.what());
        return 1;
    }
    return 0;
}
