#include "common/GeometriaJanela.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHash>
#include <QPalette>
#include <QScreen>
#include <QSettings>
#include <QWidget>
#include <memory>

namespace {

std::unique_ptr<QSettings> configuracao() {
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("QEV"),
                                       QStringLiteral("janelas"));
}

QString chave(const QWidget* janela) {
    return QStringLiteral("geometria/") + janela->objectName();
}

// What the settings hold for each window, as this program last read or wrote it: a window
// closed where it opened writes nothing (the settings file is written whole, and flushed
// to the disk, at every change).
QHash<QString, QByteArray>& guardadas() {
    static QHash<QString, QByteArray> g;
    return g;
}

// Keeps the window's geometry when it is hidden (closed).
class GuardaGeometria : public QObject {
public:
    explicit GuardaGeometria(QWidget* janela) : QObject(janela), m_janela(janela) {
        janela->installEventFilter(this);
    }
    bool eventFilter(QObject* alvo, QEvent* e) override {
        if (alvo == m_janela && e->type() == QEvent::Hide && !m_janela->isMinimized()) {
            const QString k = chave(m_janela);
            const QByteArray g = m_janela->saveGeometry();
            auto it = guardadas().find(k);
            if (it == guardadas().end() || *it != g) {
                configuracao()->setValue(k, g);
                guardadas().insert(k, g);
            }
        }
        return false;
    }

private:
    QWidget* m_janela;
};

class PaletaSomenteLeitura : public QObject {
public:
    explicit PaletaSomenteLeitura(QWidget* area) : QObject(area), m_area(area) {
        area->installEventFilter(this);
        aplica();
    }
    bool eventFilter(QObject* alvo, QEvent* e) override {
        if (alvo == m_area && e->type() == QEvent::EnabledChange) aplica();
        return false;
    }

private:
    void aplica() {
        if (m_aplicando) return;
        m_aplicando = true;
        if (!m_area->isEnabled()) {
            if (!m_temOriginal) {
                m_original = m_area->palette();
                m_resolvia = m_area->testAttribute(Qt::WA_SetPalette);
                m_temOriginal = true;
            }
            QPalette p = m_original;
            for (QPalette::ColorRole papel :
                 {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::Base,
                  QPalette::Button, QPalette::HighlightedText, QPalette::PlaceholderText})
                p.setColor(QPalette::Disabled, papel, p.color(QPalette::Active, papel));
            m_area->setPalette(p);
        } else if (m_temOriginal) {
            if (m_resolvia) m_area->setPalette(m_original);
            else m_area->setPalette(QPalette());
            m_temOriginal = false;
        }
        m_aplicando = false;
    }

    QWidget* m_area;
    QPalette m_original;
    bool m_temOriginal = false;
    bool m_resolvia = false;
    bool m_aplicando = false;
};

}  // namespace

void LembraGeometria(QWidget* janela, const QSize& padrao) {
    const QScreen* tela = janela->screen() ? janela->screen() : QGuiApplication::primaryScreen();
    const QRect livre = tela ? tela->availableGeometry() : QRect(0, 0, 1366, 768);
    const QByteArray guardada = configuracao()->value(chave(janela)).toByteArray();
    guardadas().insert(chave(janela), guardada);
    bool restaurada = false;
    if (!guardada.isEmpty() && janela->restoreGeometry(guardada)) {
        // A place kept on a larger or another screen is not used when it no longer fits.
        restaurada = livre.contains(janela->frameGeometry().topLeft()) &&
                     janela->width() <= livre.width() && janela->height() <= livre.height();
    }
    if (!restaurada) {
        const QSize tamanho = padrao.boundedTo(livre.size() - QSize(16, 40));
        janela->resize(tamanho);
        janela->move(livre.center() - QPoint(tamanho.width() / 2, tamanho.height() / 2));
    }
    new GuardaGeometria(janela);
}

void TextoNormalQuandoSomenteLeitura(QWidget* area) { new PaletaSomenteLeitura(area); }
