#pragma once
#include <QPixmap>
#include <QRectF>

class QPainter;

// The program's logo: a rounded square with a white cross.
namespace Logotipo {
QPixmap pixmap(int lado);
// Draws the logo as shapes into `caixa` (the largest square centred in it), so
// that it stays sharp on paper and in every export.
void desenha(QPainter& pintor, const QRectF& caixa);
}
