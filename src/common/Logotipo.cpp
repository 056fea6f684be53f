#include "common/Logotipo.h"

#include <QPainter>

namespace Logotipo {
void desenha(QPainter& g, const QRectF& caixa) {
    const qreal lado = qMin(caixa.width(), caixa.height());
    const QRectF q(caixa.center().x() - lado / 2, caixa.center().y() - lado / 2, lado, lado);
    g.save();
    g.setRenderHint(QPainter::Antialiasing);
    g.setBrush(QColor(0x1f, 0x4e, 0x79));
    g.setPen(Qt::NoPen);
    g.drawRoundedRect(q, lado * 0.18, lado * 0.18);
    // a white cross: health
    g.setBrush(Qt::white);
    const qreal b = lado * 0.2, c = lado * 0.6, m = (lado - c) / 2;
    g.drawRect(QRectF(q.left() + m, q.top() + (lado - b) / 2, c, b));
    g.drawRect(QRectF(q.left() + (lado - b) / 2, q.top() + m, b, c));
    g.restore();
}

QPixmap pixmap(int lado) {
    QPixmap p(lado, lado);
    p.fill(Qt::transparent);
    QPainter g(&p);
    desenha(g, QRectF(0, 0, lado, lado));
    return p;
}
}  // namespace Logotipo
