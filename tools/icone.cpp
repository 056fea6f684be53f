// Draws the program's icon (the logo of the windows and reports) as a square PNG of
// the given size, for the desktop's icon theme.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

#include "common/Logotipo.h"
#include "platform/LinhaComando.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = LeArgumentos(
        app, QStringLiteral("Desenha o ícone do programa num PNG quadrado."),
        {{QStringLiteral("LADO"), QStringLiteral("Lado em pixels.")},
         {QStringLiteral("DESTINO.png"), QStringLiteral("Arquivo a gravar.")}});
    bool ok = false;
    const int lado = args.value(0).toInt(&ok);
    if (!ok || lado < 16 || lado > 1024) {
        std::fprintf(stderr, "qev-icone: lado inválido\n");
        return 2;
    }
    QImage imagem(lado, lado, QImage::Format_ARGB32_Premultiplied);
    imagem.fill(Qt::transparent);
    {
        QPainter g(&imagem);
        Logotipo::desenha(g, QRectF(0, 0, lado, lado));
    }
    if (!imagem.save(args.value(1), "PNG")) {
        std::fprintf(stderr, "qev-icone: não foi possível gravar %s\n", qPrintable(args.value(1)));
        return 1;
    }
    return 0;
}
