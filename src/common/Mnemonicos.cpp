#include "common/Mnemonicos.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QHash>
#include <QPointer>
#include <QRadioButton>
#include <QSet>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <functional>
#include <vector>

namespace Mnemonicos {

namespace {

const char kLigado[] = "qevMnemonicosLigados";

bool letraDeTecla(QChar c) {
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

// One widget or tab that shows a letter, with the pages it lies in (outermost first).
struct Portador {
    std::function<QString()> texto;
    std::function<void(const QString&)> defineTexto;  // empty: its letter is only kept
    QList<const QWidget*> paginas;
    bool secundario = false;  // a radio button of a titled group: the group's letter and the arrows reach it
    bool escondido = false;   // hidden by the screen (not by the page shown): not on the screen now
    QWidget* widget = nullptr;
};

const char kLetraDada[] = "qevLetraDada";  // the letter was given here, not written in the text

// The text without its mnemonic marker ("&&" stays).
QString semLetra(const QString& texto) {
    for (qsizetype i = 0; i + 1 < texto.size(); ++i) {
        if (texto.at(i) != QLatin1Char('&')) continue;
        if (texto.at(i + 1) == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return texto.left(i) + texto.mid(i + 1);
    }
    return texto;
}

// Hidden by the screen itself or a container, not because another page is shown.
bool escondido(const QWidget* w, const QWidget* janela) {
    for (const QWidget* p = w; p && p != janela; p = p->parentWidget())
        if (p->isHidden() && !(p->parentWidget() && qobject_cast<const QStackedWidget*>(p->parentWidget())))
            return true;
    return false;
}

// The pages of tab and stacked widgets that `w` lies in, up to the window, outermost first.
QList<const QWidget*> paginasDe(const QWidget* w, const QWidget* janela) {
    QList<const QWidget*> r;
    for (const QWidget* p = w; p && p != janela; p = p->parentWidget())
        if (p->parentWidget() && qobject_cast<const QStackedWidget*>(p->parentWidget())) r.prepend(p);
    return r;
}

// Two carriers are on the screen together when one's pages contain the other's.
bool juntos(const QList<const QWidget*>& a, const QList<const QWidget*>& b) {
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i)
        if (a.at(i) != b.at(i)) return false;
    return true;
}

bool textoSimples(const QLabel* l) {
    if (l->textFormat() == Qt::RichText) return false;
    if (l->textFormat() == Qt::AutoText && Qt::mightBeRichText(l->text())) return false;
    return true;
}

// Runs the letters again (once, after the events at hand) when a carrier the screen had
// hidden is shown.
class Vigia : public QObject {
public:
    explicit Vigia(QWidget* janela) : QObject(janela), m_janela(janela) {
        setObjectName(QStringLiteral("qevVigiaMnemonicos"));
    }
    static Vigia* de(QWidget* janela) {
        for (QObject* o : janela->children())
            if (auto* v = dynamic_cast<Vigia*>(o)) return v;
        return new Vigia(janela);
    }
    void vigia(QWidget* w) {
        if (w->property("qevVigiado").toBool()) return;
        w->setProperty("qevVigiado", true);
        w->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Show && !m_agendado) {
            m_agendado = true;
            QTimer::singleShot(0, this, [this] {
                m_agendado = false;
                Atribui(m_janela);
            });
        }
        return false;
    }

private:
    QWidget* m_janela;
    bool m_agendado = false;
};

void coleta(QWidget* w, QWidget* janela, std::vector<Portador>& portadores) {
    for (QObject* o : w->children()) {
        auto* filho = qobject_cast<QWidget*>(o);
        if (!filho || filho->isWindow()) continue;
        const size_t antes = portadores.size();
        if (auto* l = qobject_cast<QLabel*>(filho)) {
            if (l->buddy() && textoSimples(l) && !l->text().isEmpty())
                portadores.push_back({[l] { return l->text(); }, [l](const QString& t) { l->setText(t); },
                                      paginasDe(l, janela)});
        } else if (auto* tb = qobject_cast<QToolButton*>(filho)) {
            // a tool button showing its text, with no key of its own: its action's text, or its own
            if (QAction* a = tb->defaultAction(); a && CarregaLetra(tb))
                portadores.push_back({[a] { return a->iconText(); }, [a](const QString& t) { a->setIconText(t); },
                                      paginasDe(tb, janela)});
            else if (CarregaLetra(tb))
                portadores.push_back({[tb] { return tb->text(); }, [tb](const QString& t) { tb->setText(t); },
                                      paginasDe(tb, janela)});
        } else if (auto* b = qobject_cast<QAbstractButton*>(filho)) {
            if (!b->text().isEmpty())
                portadores.push_back({[b] { return b->text(); }, [b](const QString& t) { b->setText(t); },
                                      paginasDe(b, janela), RadioDeGrupo(b)});
        } else if (auto* g = qobject_cast<QGroupBox*>(filho)) {
            if (!g->title().isEmpty())
                portadores.push_back({[g] { return g->title(); }, [g](const QString& t) { g->setTitle(t); },
                                      paginasDe(g, janela)});
        } else if (auto* t = qobject_cast<QTabWidget*>(filho)) {
            // a tab's own letter (when its text has one) is kept, never given
            const auto paginas = paginasDe(t, janela);
            for (int i = 0; i < t->count(); ++i)
                portadores.push_back({[t, i] { return i < t->count() ? t->tabText(i) : QString(); }, {}, paginas});
        }
        if (auto* pilha = qobject_cast<QStackedWidget*>(filho); pilha && !pilha->property(kLigado).toBool()) {
            // a page built when first shown gets its letters then
            pilha->setProperty(kLigado, true);
            QPointer<QWidget> alvo(janela);
            QObject::connect(pilha, &QStackedWidget::currentChanged, janela, [alvo] {
                QTimer::singleShot(0, alvo, [alvo] {
                    if (alvo) Atribui(alvo);
                });
            });
        }
        for (size_t k = antes; k < portadores.size(); ++k) {
            portadores[k].widget = filho;
            portadores[k].escondido = escondido(filho, janela);
            if (portadores[k].escondido) Vigia::de(janela)->vigia(filho);
        }
        coleta(filho, janela, portadores);
    }
}

void atribuiAcoes(const QList<QAction*>& acoes) {
    QList<QChar> tomadas;
    for (QAction* a : acoes)
        if (const QChar c = Letra(a->text()); !c.isNull()) tomadas << c;
    for (QAction* a : acoes) {
        if (a->isSeparator() || a->text().isEmpty() || !Letra(a->text()).isNull()) continue;
        const QString novo = ComLetra(a->text(), tomadas);
        if (novo == a->text()) continue;
        a->setText(novo);
        tomadas << Letra(novo);
    }
}

class AoMostrar : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() != QEvent::Show) return false;
        if (auto* menu = qobject_cast<QMenu*>(o)) {
            AtribuiMenu(menu);
        } else if (auto* principal = qobject_cast<QMainWindow*>(o)) {
            if (principal->isWindow()) {
                if (principal->menuWidget()) AtribuiMenus(principal->menuBar());
                Atribui(principal);
            }
        } else if (auto* dialogo = qobject_cast<QDialog*>(o)) {
            if (dialogo->isWindow()) Atribui(dialogo);
        }
        return false;
    }
};

}  // namespace

bool CarregaLetra(const QToolButton* botao) {
    if (botao->toolButtonStyle() == Qt::ToolButtonIconOnly && !botao->icon().isNull()) return false;
    if (qobject_cast<const QToolBar*>(botao->parentWidget())) return false;  // the toolbars' keys are Ctrl's
    if (const QAction* a = botao->defaultAction()) {
        if (!a->shortcut().isEmpty()) return false;
        const QString t = a->iconText();
        return std::any_of(t.begin(), t.end(), [](QChar c) { return c.isLetterOrNumber(); });
    }
    const QString t = botao->text();
    return std::any_of(t.begin(), t.end(), [](QChar c) { return c.isLetterOrNumber(); });
}

bool RadioDeGrupo(const QAbstractButton* botao) {
    if (!qobject_cast<const QRadioButton*>(botao)) return false;
    for (const QWidget* p = botao->parentWidget(); p && !p->isWindow(); p = p->parentWidget())
        if (auto* g = qobject_cast<const QGroupBox*>(p)) return !g->title().isEmpty();
    return false;
}

QChar Letra(const QString& texto) {
    for (qsizetype i = 0; i + 1 < texto.size(); ++i) {
        if (texto.at(i) != QLatin1Char('&')) continue;
        if (texto.at(i + 1) == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return texto.at(i + 1).toUpper();
    }
    return QChar();
}

QString TextoVisivel(const QString& texto) {
    QString r;
    r.reserve(texto.size());
    for (qsizetype i = 0; i < texto.size(); ++i) {
        if (texto.at(i) == QLatin1Char('&') && i + 1 < texto.size()) ++i;
        r += texto.at(i);
    }
    return r;
}

namespace {
// The letters ComLetra would give a text one after the other, each taken before the next:
// the free word starts in order, then its other free letters in order.
QList<QChar> letrasPossiveis(const QString& texto, const QList<QChar>& tomadas) {
    QList<QChar> r;
    if (!Letra(texto).isNull()) return r;
    for (const bool soInicioDePalavra : {true, false})
        for (qsizetype i = 0; i < texto.size(); ++i) {
            const QChar c = texto.at(i);
            if (!letraDeTecla(c)) continue;
            if (i > 0 && texto.at(i - 1) == QLatin1Char('&')) continue;
            if (soInicioDePalavra && i > 0 && texto.at(i - 1).isLetterOrNumber()) continue;
            const QChar m = c.toUpper();
            if (!tomadas.contains(m) && !r.contains(m)) r << m;
        }
    return r;
}
}  // namespace

QString ComLetra(const QString& texto, const QList<QChar>& tomadas) {
    if (!Letra(texto).isNull()) return texto;
    const auto escolhe = [&](bool soInicioDePalavra) -> qsizetype {
        for (qsizetype i = 0; i < texto.size(); ++i) {
            const QChar c = texto.at(i);
            if (!letraDeTecla(c) || tomadas.contains(c.toUpper())) continue;
            // a '&' already in the text ("&&") is left alone
            if (i > 0 && texto.at(i - 1) == QLatin1Char('&')) continue;
            if (soInicioDePalavra && i > 0 && texto.at(i - 1).isLetterOrNumber()) continue;
            return i;
        }
        return -1;
    };
    qsizetype i = escolhe(true);
    if (i < 0) i = escolhe(false);
    if (i < 0) return texto;
    return texto.left(i) + QLatin1Char('&') + texto.mid(i);
}

void Atribui(QWidget* janela) {
    if (!janela) return;
    std::vector<Portador> portadores;
    coleta(janela, janela, portadores);
    const int n = int(portadores.size());
    std::vector<QChar> letras(n);
    // what the screen hides now neither takes a letter nor keeps one from the others (its
    // shortcut does not act while hidden); it gets one when shown and the letters run again
    for (int i = 0; i < n; ++i) letras[i] = portadores[i].escondido ? QChar() : Letra(portadores[i].texto());
    // a main window's menu titles are on the screen with everything
    QList<QChar> daJanela;
    if (auto* principal = qobject_cast<QMainWindow*>(janela); principal && principal->menuWidget())
        for (QAction* a : principal->menuBar()->actions())
            if (const QChar c = Letra(a->text()); !c.isNull()) daJanela << c;

    // A carrier hidden when the others took their letters may share one with them once shown:
    // of two on the screen now with one letter, the one given it here and deeper in the pages
    // gives it up and takes another below.
    {
        QHash<QChar, QList<int>> naTela;
        for (int i = 0; i < n; ++i)
            if (!letras[i].isNull() && portadores[i].widget->isVisible()) naTela[letras[i]] << i;
        for (auto it = naTela.begin(); it != naTela.end(); ++it) {
            QList<int> donos = it.value();
            std::stable_sort(donos.begin(), donos.end(), [&](int a, int b) {
                return portadores[a].paginas.size() < portadores[b].paginas.size();
            });
            for (qsizetype k = donos.size() - 1; k >= 1; --k) {
                const int i = donos.at(k);
                if (!portadores[i].defineTexto || !portadores[i].widget->property(kLetraDada).toBool()) continue;
                portadores[i].defineTexto(semLetra(portadores[i].texto()));
                letras[i] = QChar();
            }
        }
    }

    const auto dentro = [&](int i, const QList<const QWidget*>& escopo) {
        const auto& p = portadores[i].paginas;
        return p.size() >= escopo.size() && std::equal(escopo.begin(), escopo.end(), p.begin());
    };
    const auto pendente = [&](int i) {
        return letras[i].isNull() && bool(portadores[i].defineTexto) && !portadores[i].escondido &&
               Letra(portadores[i].texto()).isNull();
    };
    // The carriers of one scope (what is on every one of its pages) are matched to letters
    // together with its fullest page, so that they leave that page the letters it needs; the
    // scope's letters are then fixed and each page gets its own from what is left.
    std::function<void(const QList<const QWidget*>&, QList<QChar>)> resolve =
        [&](const QList<const QWidget*>& escopo, QList<QChar> fixas) {
            std::vector<int> diretos;
            QList<const QWidget*> paginas;
            QHash<const QWidget*, std::vector<int>> daPagina;
            for (int i = 0; i < n; ++i) {
                if (!dentro(i, escopo)) continue;
                if (portadores[i].paginas.size() == escopo.size()) {
                    diretos.push_back(i);
                    continue;
                }
                const QWidget* pg = portadores[i].paginas.at(escopo.size());
                if (!daPagina.contains(pg)) paginas << pg;
                daPagina[pg].push_back(i);
            }
            // the page shown (what is around it is on the screen with it now), else the one with
            // most carriers still without a letter
            const QWidget* maior = nullptr;
            int maiorPeso = -1;
            for (const QWidget* pg : paginas) {
                const int peso = int(std::count_if(daPagina[pg].begin(), daPagina[pg].end(), pendente)) +
                                 (pg->isHidden() ? 0 : 100000);
                if (peso > maiorPeso) maior = pg, maiorPeso = peso;
            }
            std::vector<int> grupo;  // radio buttons of a titled group last: they may go without
            QList<QChar> tomadas = fixas;
            for (int i : diretos) {
                if (pendente(i)) grupo.push_back(i);
                else if (!letras[i].isNull()) tomadas << letras[i];
            }
            if (maior)
                for (int i : daPagina[maior]) {
                    if (pendente(i)) grupo.push_back(i);
                    else if (!letras[i].isNull()) tomadas << letras[i];
                }
            std::stable_sort(grupo.begin(), grupo.end(),
                             [&](int a, int b) { return !portadores[a].secundario && portadores[b].secundario; });
            // each carrier's letters, word starts first (Kuhn's augmenting paths: one matched
            // earlier stays matched, so the ones first in the group are served first)
            std::vector<QList<QChar>> opcoes(grupo.size());
            for (size_t g = 0; g < grupo.size(); ++g) opcoes[g] = letrasPossiveis(portadores[grupo[g]].texto(), tomadas);
            QHash<QChar, int> dono;
            std::function<bool(int, QSet<QChar>&)> tenta = [&](int g, QSet<QChar>& vistas) {
                // a free letter first (one matched earlier keeps its choice), then a path that
                // moves the others along
                for (const QChar c : opcoes[g])
                    if (!vistas.contains(c) && !dono.contains(c)) {
                        vistas << c;
                        dono[c] = g;
                        return true;
                    }
                for (const QChar c : opcoes[g]) {
                    if (vistas.contains(c)) continue;
                    vistas << c;
                    if (!dono.contains(c) || tenta(dono.value(c), vistas)) {
                        dono[c] = g;
                        return true;
                    }
                }
                return false;
            };
            for (size_t g = 0; g < grupo.size(); ++g) {
                QSet<QChar> vistas;
                tenta(int(g), vistas);
            }
            // the scope's own carriers take the letters found (the page's are chosen below)
            for (auto it = dono.cbegin(); it != dono.cend(); ++it) {
                const int i = grupo[it.value()];
                if (portadores[i].paginas.size() != escopo.size()) continue;
                QList<QChar> outras;
                for (const QChar c : opcoes[it.value()])
                    if (c != it.key()) outras << c;
                const QString novo = ComLetra(portadores[i].texto(), tomadas + outras);
                portadores[i].defineTexto(novo);
                portadores[i].widget->setProperty(kLetraDada, true);
                letras[i] = Letra(novo);
            }
            for (int i : diretos)
                if (!letras[i].isNull()) fixas << letras[i];
            for (const QWidget* pg : paginas) resolve(escopo + QList<const QWidget*>{pg}, fixas);
        };
    resolve({}, daJanela);
}

void AtribuiMenus(QMenuBar* barra) {
    if (!barra) return;
    atribuiAcoes(barra->actions());
    for (QAction* a : barra->actions())
        if (a->menu()) AtribuiMenu(a->menu());
}

void AtribuiMenu(QMenu* menu) {
    if (!menu) return;
    atribuiAcoes(menu->actions());
    for (QAction* a : menu->actions())
        if (a->menu()) AtribuiMenu(a->menu());
}

void Instala(QCoreApplication* aplicacao) { aplicacao->installEventFilter(new AoMostrar(aplicacao)); }

}  // namespace Mnemonicos
