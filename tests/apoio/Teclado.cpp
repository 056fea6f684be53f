#include "apoio/Teclado.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMap>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>

#include "common/Mnemonicos.h"

namespace Apoio::Teclado {

namespace {

bool ehCampo(const QWidget* w) {
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QTextEdit*>(w) ||
           qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QAbstractItemView*>(w);
}
bool ehEntrada(const QWidget* w) {
    return ehCampo(w) || qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w);
}
// A box inside another (a combo box's line edit, a spin box's) is part of it.
bool dentroDeCampo(const QWidget* w, const QWidget* janela) {
    for (const QWidget* p = w->parentWidget(); p && p != janela; p = p->parentWidget())
        if (ehCampo(p)) return true;
    return false;
}
bool daJanela(const QWidget* w, const QWidget* janela) { return w->window() == janela; }

QRect naJanela(const QWidget* w, const QWidget* janela) {
    return QRect(w->mapTo(janela, QPoint(0, 0)), w->size());
}

bool textoSimples(const QLabel* l) {
    if (l->textFormat() == Qt::RichText) return false;
    return !(l->textFormat() == Qt::AutoText && Qt::mightBeRichText(l->text()));
}

bool temLetra(const QString& t) {
    for (const QChar c : t)
        if (c.isLetterOrNumber()) return true;
    return false;
}

QString visivel(const QString& t) { return Mnemonicos::TextoVisivel(t).simplified(); }

// How a widget is named in a report: its label's text, else its name, else its class.
QString nome(const QWidget* w, const QWidget* janela) {
    for (const QLabel* l : janela->findChildren<QLabel*>())
        if (l->buddy() == w) return QLatin1Char('"') + visivel(l->text()) + QLatin1Char('"');
    if (const auto* b = qobject_cast<const QAbstractButton*>(w)) return QLatin1Char('"') + visivel(b->text()) + QLatin1Char('"');
    if (!w->objectName().isEmpty()) return w->objectName();
    return QString::fromLatin1(w->metaObject()->className());
}

// A label with no buddy that stands just left of a box or just above it.
const QWidget* campoDiante(const QLabel* l, const QWidget* janela, const QList<QWidget*>& campos) {
    const QRect r = naJanela(l, janela);
    for (const QWidget* c : campos) {
        const QRect q = naJanela(c, janela);
        const bool mesmaLinha = std::abs(q.center().y() - r.center().y()) <= std::max(r.height(), q.height()) / 2;
        const bool aDireita = q.left() >= r.right() - 2 && q.left() - r.right() <= 24 && mesmaLinha;
        const bool abaixo = q.top() >= r.bottom() - 2 && q.top() - r.bottom() <= 10 && std::abs(q.left() - r.left()) <= 12;
        if (aDireita || abaixo) return c;
    }
    return nullptr;
}

}  // namespace

QStringList Confere(QWidget* janela, bool exercita) {
    QStringList problemas;
    QCoreApplication::processEvents();
    const QString titulo = QString::fromLatin1(janela->metaObject()->className());
    const auto relata = [&](const QString& p) { problemas << titulo + QStringLiteral(": ") + p; };

    // the letters shown now
    QMap<QChar, QStringList> letras;
    const auto conta = [&](const QString& texto, bool exigida) {
        const QChar c = Mnemonicos::Letra(texto);
        if (c.isNull()) {
            if (exigida) relata(QStringLiteral("sem letra: \"%1\"").arg(visivel(texto)));
            return;
        }
        letras[c] << visivel(texto);
    };
    if (auto* principal = qobject_cast<QMainWindow*>(janela); principal && principal->menuWidget())
        for (QAction* a : principal->menuBar()->actions()) conta(a->text(), true);
    QList<QWidget*> campos;
    for (QWidget* w : janela->findChildren<QWidget*>()) {
        if (!daJanela(w, janela) || !w->isVisible()) continue;
        if (ehCampo(w) && !dentroDeCampo(w, janela)) campos << w;
        if (auto* tb = qobject_cast<QToolButton*>(w); tb && Mnemonicos::CarregaLetra(tb))
            conta(tb->defaultAction() ? tb->defaultAction()->iconText() : tb->text(), true);
        if (auto* b = qobject_cast<QAbstractButton*>(w); b && !qobject_cast<QToolButton*>(b) && !b->text().isEmpty())
            // ">>" and the like have their keys instead; a titled group's radio buttons, its letter
            conta(b->text(), temLetra(b->text()) && !Mnemonicos::RadioDeGrupo(b));
        if (auto* g = qobject_cast<QGroupBox*>(w); g && !g->title().isEmpty()) conta(g->title(), true);
        if (auto* t = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < t->count(); ++i) conta(t->tabText(i), false);
    }
    QList<QLabel*> rotulos;
    for (QLabel* l : janela->findChildren<QLabel*>()) {
        if (!daJanela(l, janela) || !l->isVisible() || !textoSimples(l) || visivel(l->text()).isEmpty()) continue;
        if (QWidget* b = l->buddy()) {
            conta(l->text(), true);
            if (!b->isVisible()) relata(QStringLiteral("\"%1\" leva a um campo escondido").arg(visivel(l->text())));
            else rotulos << l;
        } else if (const QWidget* c = campoDiante(l, janela, campos)) {
            relata(QStringLiteral("\"%1\" está diante de %2 sem ser seu rótulo").arg(visivel(l->text()), nome(c, janela)));
        }
    }
    for (auto it = letras.cbegin(); it != letras.cend(); ++it)
        if (it.value().size() > 1)
            relata(QStringLiteral("a letra %1 é de %2").arg(it.key()).arg(it.value().join(QStringLiteral(", "))));

    // Tab goes top to bottom and left to right
    QList<QWidget*> ordem;
    for (QWidget* w = janela->nextInFocusChain(); w && w != janela; w = w->nextInFocusChain()) {
        if (ordem.contains(w)) break;
        if (daJanela(w, janela) && w->isVisible() && ehEntrada(w) && (w->focusPolicy() & Qt::TabFocus) &&
            !dentroDeCampo(w, janela))
            ordem << w;
    }
    for (qsizetype i = 1; i < ordem.size(); ++i) {
        const QRect a = naJanela(ordem.at(i - 1), janela);
        const QRect b = naJanela(ordem.at(i), janela);
        const bool sobrepoeEmX = b.left() < a.right() && a.left() < b.right();
        const int sobreposicaoY = std::min(a.bottom(), b.bottom()) - std::max(a.top(), b.top());
        const bool sobe = b.bottom() < a.top() && sobrepoeEmX;
        const bool voltaAEsquerda = sobreposicaoY > std::min(a.height(), b.height()) / 2 && b.right() <= a.left();
        if (sobe || voltaAEsquerda)
            relata(QStringLiteral("Tab vai de %1 para %2, %3")
                       .arg(nome(ordem.at(i - 1), janela), nome(ordem.at(i), janela),
                            sobe ? QStringLiteral("acima") : QStringLiteral("à esquerda")));
    }

    // each label's letter takes the focus to its box
    if (exercita && problemas.isEmpty()) {
        QApplication::setActiveWindow(janela);
        for (QLabel* l : rotulos) {
            QWidget* b = l->buddy();
            if (!b->isEnabled() || !(b->focusPolicy() & Qt::TabFocus) || !b->window()->isActiveWindow()) continue;
            const QChar c = Mnemonicos::Letra(l->text());
            QWidget* alvo = QApplication::focusWidget() ? QApplication::focusWidget() : janela;
            QTest::keyClick(alvo, c.toLower().toLatin1(), Qt::AltModifier);
            QCoreApplication::processEvents();
            QWidget* agora = QApplication::focusWidget();
            QWidget* esperado = b->focusProxy() ? b->focusProxy() : b;
            if (agora != esperado && agora != b && !(agora && b->isAncestorOf(agora)))
                relata(QStringLiteral("Alt+%1 (\"%2\") deixou o foco em %3")
                           .arg(c)
                           .arg(visivel(l->text()), agora ? nome(agora, janela) : QStringLiteral("nenhum")));
        }
    }
    return problemas;
}

QStringList ConfereTodasAsPaginas(QWidget* janela, bool exercita) {
    QStringList problemas = Confere(janela, exercita);
    const auto junta = [&](const QStringList& novos) {
        for (const QString& p : novos)
            if (!problemas.contains(p)) problemas << p;
    };
    for (QTabWidget* t : janela->findChildren<QTabWidget*>()) {
        if (t->window() != janela || !t->isVisible()) continue;
        const int antes = t->currentIndex();
        for (int i = 0; i < t->count(); ++i) {
            if (!t->isTabEnabled(i) || !t->isTabVisible(i) || i == antes) continue;
            t->setCurrentIndex(i);
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
            junta(Confere(janela, exercita));
        }
        t->setCurrentIndex(antes);
        QCoreApplication::processEvents();
    }
    return problemas;
}

void tecla(QWidget* alvo, int k, Qt::KeyboardModifiers m) {
    QTest::sendKeyEvent(QTest::Click, alvo, Qt::Key(k), QString(), m);
    QCoreApplication::processEvents();
}

QWidget* foco() {
    if (QWidget* w = QApplication::focusWidget()) return w;
    if (QWidget* w = QApplication::activeModalWidget()) return w;
    return QApplication::activeWindow();
}

void tecla(int k, Qt::KeyboardModifiers m) { tecla(foco(), k, m); }

void digita(const QString& texto) {
    for (const QChar c : texto) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(foco(), char(c.unicode()));
        } else {
            // beyond ASCII (QTest's table stops there): the key of its capital, with its text
            QTest::sendKeyEvent(QTest::Click, foco(), Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
        }
    }
    QCoreApplication::processEvents();
}

}  // namespace Apoio::Teclado
