#include "common/Estilo.h"

#include <QGroupBox>
#include <QPainter>
#include <QPixmapCache>
#include <QStyleOption>

EstiloQev::EstiloQev() : QProxyStyle() {}

void EstiloQev::drawPrimitive(PrimitiveElement elemento, const QStyleOption* opcao, QPainter* pintor,
                              const QWidget* widget) const {
    const auto* quadro = qstyleoption_cast<const QStyleOptionFrame*>(opcao);
    // scaled or rotated painters (a preview, a print) draw the frame themselves
    if (elemento != PE_FrameGroupBox || !quadro || !pintor || !pintor->device() || opcao->rect.isEmpty() ||
        pintor->worldTransform().type() > QTransform::TxTranslate) {
        QProxyStyle::drawPrimitive(elemento, opcao, pintor, widget);
        return;
    }
    // everything the frame can depend on: size, state, metrics, the box's title and check,
    // the colours of the palette and the device's pixel ratio
    const qreal razao = pintor->device()->devicePixelRatio();
    const auto* grupo = qobject_cast<const QGroupBox*>(widget);
    QString chave = QStringLiteral("qev-grupo:%1x%2:%3:%4:%5:%6:%7:%8:%9")
                        .arg(opcao->rect.width())
                        .arg(opcao->rect.height())
                        .arg(int(opcao->state))
                        .arg(int(opcao->direction))
                        .arg(opcao->fontMetrics.height())
                        .arg(QString::number(quadro->lineWidth) + QLatin1Char('/') +
                             QString::number(quadro->midLineWidth) + QLatin1Char('/') +
                             QString::number(int(quadro->features)) + QLatin1Char('/') +
                             QString::number(int(quadro->frameShape)))
                        .arg(grupo ? int(grupo->title().isEmpty()) * 2 + int(grupo->isCheckable()) : -1)
                        .arg(razao)
                        .arg(baseStyle()->name());
    const QPalette::ColorGroup g = opcao->palette.currentColorGroup();
    for (QPalette::ColorRole papel : {QPalette::Window, QPalette::WindowText, QPalette::Base, QPalette::Text,
                                      QPalette::Button, QPalette::Light, QPalette::Midlight, QPalette::Mid,
                                      QPalette::Dark, QPalette::Shadow, QPalette::Highlight})
        chave += QLatin1Char(':') + QString::number(opcao->palette.color(g, papel).rgba(), 16);

    QPixmap imagem;
    if (!QPixmapCache::find(chave, &imagem)) {
        imagem = QPixmap(opcao->rect.size() * razao);
        imagem.setDevicePixelRatio(razao);
        imagem.fill(Qt::transparent);
        QStyleOptionFrame naImagem(*quadro);
        naImagem.rect = QRect(QPoint(0, 0), opcao->rect.size());
        {
            QPainter p(&imagem);
            p.setRenderHints(pintor->renderHints());
            QProxyStyle::drawPrimitive(elemento, &naImagem, &p, widget);
        }
        QPixmapCache::insert(chave, imagem);
    }
    pintor->drawPixmap(opcao->rect.topLeft(), imagem);
}
