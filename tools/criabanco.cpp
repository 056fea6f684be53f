// Creates the delivered database from the schema and the reference rows, only
// when the file does not exist yet (a rebuild never touches a user's data).
#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

#include "db/Erro.h"
#include "db/CriaBanco.h"
#include "platform/LinhaComando.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = LeArgumentos(
        app, QStringLiteral("Cria o banco entregue, só quando ele ainda não existe."),
        {{QStringLiteral("DESTINO.mdb"), QStringLiteral("Arquivo do banco a criar.")},
         {QStringLiteral("SCRIPT.sql"), QStringLiteral("Scripts executados em ordem."), false, true}});
    try {
        QStringList scripts;
        for (int i = 1; i < args.size(); ++i) scripts << CriaBanco::leScript(args[i]);
        if (CriaBanco::cria(args[0], scripts))
            std::printf("qev-criabanco: %s criado\n", qPrintable(args[0]));
        else
            std::printf("qev-criabanco: %s já existe; nada foi alterado\n", qPrintable(args[0]));
    } catch (const ErroQev& e) {
        std::fprintf(stderr, "qev-criabanco: %s\n", e.what());
        return 1;
    }
    return 0;
}
