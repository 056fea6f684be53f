#pragma once
#include <QProxyStyle>

// The look of every screen: the platform's style, with the frames of group boxes drawn
// once per size and colours and then copied. Drawing one (a small image stretched into
// nine pieces) was a tenth of a screen's first paint; the copies are the same pixels.
class EstiloQev : public QProxyStyle {
public:
    EstiloQev();
    void drawPrimitive(PrimitiveElement elemento, const QStyleOption* opcao, QPainter* pintor,
                       const QWidget* widget = nullptr) const override;
};
