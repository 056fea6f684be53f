#include "common/Estilo.h"

#include <QGroupBox>
#include <QPainter>
#include <QPixmapCache>
#include <QStyleOption>

namespace {

// Pieces drawn the same whenever their size, state and colours are: worth keeping.
bool guardavel(QStyle::PrimitiveElement e) {
    switch (e) {
        case QStyle::PE_FrameGroupBox:
        case QStyle::PE_PanelLineEdit:
        case QStyle::PE_FrameLineEdit:
        case QStyle::PE_IndicatorCheckBox:
        case QStyle::PE_IndicatorRadioButton:
            return true;
        default:
            return false;
    }
}

// Larger pieces are drawn where they are (an image of each would fill the cache).
constexpr int kMaiorArea = 320 * 1024;

// Scaled or rotated painters (a preview, a print) draw the piece themselves.
bool copiavel(const QStyleOption* opcao, const QPainter* pintor) {
    return opcao && pintor && pintor->device() && !opcao->rect.isEmpty() &&
           opcao->rect.width() * opcao->rect.height() <= kMaiorArea &&
           pintor->worldTransform().type() <= QTransform::TxTranslate;
}

// Everything a piece can depend on: its kind, size, state and metrics, the options of its
// kind, the widget's class and its parent's (a box inside a list draws no panel), a group
// box's title and check, the palette's colours, the device's pixel ratio and the style.
QString chaveDa(const char* tipo, int elemento, const QStyleOption* opcao, const QWidget* widget,
                const QPainter* pintor, const QStyle* base) {
    QString chave = QStringLiteral("qev-%1:%2:%3x%4:%5:%6:%7:%8")
                        .arg(QLatin1String(tipo))
                        .arg(elemento)
                        .arg(opcao->rect.width())
                        .arg(opcao->rect.height())
                        .arg(int(opcao->state))
                        .arg(int(opcao->direction))
                        .arg(opcao->fontMetrics.height())
                        .arg(pintor->device()->devicePixelRatio());
    if (const auto* quadro = qstyleoption_cast<const QStyleOptionFrame*>(opcao))
        chave += QStringLiteral(":q%1/%2/%3/%4")
                     .arg(quadro->lineWidth)
                     .arg(quadro->midLineWidth)
                     .arg(int(quadro->features))
                     .arg(int(quadro->frameShape));
    else if (const auto* botao = qstyleoption_cast<const QStyleOptionButton*>(opcao))
        chave += QStringLiteral(":b%1").arg(int(botao->features));
    else if (const auto* lista = qstyleoption_cast<const QStyleOptionComboBox*>(opcao))
        chave += QStringLiteral(":c%1/%2/%3/%4")
                     .arg(int(lista->editable))
                     .arg(int(lista->frame))
                     .arg(int(lista->subControls))
                     .arg(int(lista->activeSubControls));
    else if (opcao->type != QStyleOption::SO_Default)
        chave += QStringLiteral(":t%1").arg(opcao->type);
    if (widget) {
        chave += QLatin1Char(':') + QLatin1String(widget->metaObject()->className());
        if (const QWidget* pai = widget->parentWidget())
            chave += QLatin1Char('<') + QLatin1String(pai->metaObject()->className());
        if (const auto* grupo = qobject_cast<const QGroupBox*>(widget))
            chave += QStringLiteral(":g%1").arg(int(grupo->title().isEmpty()) * 2 + int(grupo->isCheckable()));
    }
    chave += QLatin1Char(':') + base->name();
    const QPalette::ColorGroup g = opcao->palette.currentColorGroup();
    for (QPalette::ColorRole papel : {QPalette::Window, QPalette::WindowText, QPalette::Base, QPalette::Text,
                                      QPalette::Button, QPalette::ButtonText, QPalette::Light, QPalette::Midlight,
                                      QPalette::Mid, QPalette::Dark, QPalette::Shadow, QPalette::Highlight})
        chave += QLatin1Char(':') + QString::number(opcao->palette.color(g, papel).rgba(), 16);
    return chave;
}

// Draws the piece from the cache, drawing it there first with `desenha` when missing.
template <typename Desenho>
void desenhaGuardado(const QString& chave, const QStyleOption* opcao, QPainter* pintor, Desenho desenha) {
    QPixmap imagem;
    if (!QPixmapCache::find(chave, &imagem)) {
        const qreal razao = pintor->device()->devicePixelRatio();
        imagem = QPixmap(opcao->rect.size() * razao);
        imagem.setDevicePixelRatio(razao);
        imagem.fill(Qt::transparent);
        {
            QPainter p(&imagem);
            p.setRenderHints(pintor->renderHints());
            p.setFont(pintor->font());
            p.translate(-opcao->rect.topLeft());  // the piece drawn where its option says
            desenha(&p);
        }
        QPixmapCache::insert(chave, imagem);
    }
    pintor->drawPixmap(opcao->rect.topLeft(), imagem);
}

}  // namespace

EstiloQev::EstiloQev() : QProxyStyle() {}

void EstiloQev::drawPrimitive(PrimitiveElement elemento, const QStyleOption* opcao, QPainter* pintor,
                              const QWidget* widget) const {
    if (!guardavel(elemento) || !copiavel(opcao, pintor)) {
        QProxyStyle::drawPrimitive(elemento, opcao, pintor, widget);
        return;
    }
    desenhaGuardado(chaveDa("p", int(elemento), opcao, widget, pintor, baseStyle()), opcao, pintor,
                    [&](QPainter* p) { QProxyStyle::drawPrimitive(elemento, opcao, p, widget); });
}

void EstiloQev::drawComplexControl(ComplexControl controle, const QStyleOptionComplex* opcao, QPainter* pintor,
                                   const QWidget* widget) const {
    // a list's button (its text and icon are drawn apart, as a label)
    if (controle != CC_ComboBox || !copiavel(opcao, pintor)) {
        QProxyStyle::drawComplexControl(controle, opcao, pintor, widget);
        return;
    }
    desenhaGuardado(chaveDa("c", int(controle), opcao, widget, pintor, baseStyle()), opcao, pintor,
                    [&](QPainter* p) { QProxyStyle::drawComplexControl(controle, opcao, p, widget); });
}
