#include "app/Logotipo.h"

#include <QPainter>

namespace Logotipo {
QPixmap pixmap(int lado) {
    QPixmap p(lado, lado);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setBrush(QColor(0x1f, 0x4e, 0x79));
    g.setPen(Qt::NoPen);
    g.drawRoundedRect(QRectF(0, 0, lado, lado), lado * 0.18, lado * 0.18);
    // a white cross: health
    g.setBrush(Qt::white);
    const qreal b = lado * 0.2, c = lado * 0.6, m = (lado - c) / 2;
    g.drawRect(QRectF(m, (lado - b) / 2, c, b));
    g.drawRect(QRectF((lado - b) / 2, m, b, c));
    return p;
}
}  // namespace Logotipo
