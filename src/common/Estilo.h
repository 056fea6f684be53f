#pragma once
#include <QProxyStyle>

// The look of every screen: the platform's style, with the pieces drawn alike wherever
// they are (group box frames, box panels and frames, check and radio marks, list buttons)
// drawn once per size, state and colours and then copied. Drawing them (antialiased
// curves, a small image stretched into nine pieces) was a third of a screen's first paint;
// the copies are the same pixels.
class EstiloQev : public QProxyStyle {
public:
    EstiloQev();
    void drawPrimitive(PrimitiveElement elemento, const QStyleOption* opcao, QPainter* pintor,
                       const QWidget* widget = nullptr) const override;
    void drawComplexControl(ComplexControl controle, const QStyleOptionComplex* opcao, QPainter* pintor,
                            const QWidget* widget = nullptr) const override;
};
