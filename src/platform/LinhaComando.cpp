#include "platform/LinhaComando.h"

#include <QCommandLineParser>
#include <cstdio>
#include <cstdlib>

QStringList LeArgumentos(const QCoreApplication& app, const QString& descricao,
                         const QVector<ArgumentoPosicional>& argumentos) {
    QCommandLineParser parser;
    parser.setApplicationDescription(descricao);
    parser.addHelpOption();
    int minimo = 0;
    bool semLimite = false;
    for (const ArgumentoPosicional& a : argumentos) {
        QString sintaxe = a.nome;
        if (a.repetido) sintaxe += QStringLiteral(" [%1 ...]").arg(a.nome);
        if (a.opcional) sintaxe = QLatin1Char('[') + sintaxe + QLatin1Char(']');
        parser.addPositionalArgument(a.nome, a.descricao, sintaxe);
        if (!a.opcional) ++minimo;
        semLimite = semLimite || a.repetido;
    }
    const auto uso = [&](int codigo) {
        const QByteArray texto = parser.helpText().toLocal8Bit();
        std::fputs(texto.constData(), codigo == 0 ? stdout : stderr);
        std::exit(codigo);
    };
    if (!parser.parse(app.arguments())) {
        std::fprintf(stderr, "%s\n", qPrintable(parser.errorText()));
        uso(2);
    }
    if (parser.isSet(QStringLiteral("help"))) uso(0);
    const QStringList posicionais = parser.positionalArguments();
    if (posicionais.size() < minimo || (!semLimite && posicionais.size() > argumentos.size()))
        uso(2);
    return posicionais;
}
