#pragma once
#include <QChar>
#include <QList>
#include <QString>

class QAbstractButton;
class QCoreApplication;
class QToolButton;
class QMenu;
class QMenuBar;
class QWidget;

// Alt+letter of every screen. A carrier is a label with a buddy (plain text), a push,
// check or radio button with a text, a tool button showing a text that has no key (see
// CarregaLetra; a toolbar's carry their actions' Ctrl keys) or a group
// box with a title. A letter a text already marks with '&' stays; every other carrier
// gets the first free letter that begins one of its words, else its first free letter
// (A–Z, 0–9 only: keys every keyboard has). Letters are matched to carriers so that as
// many as possible get one; radio buttons of a titled group come last. Two carriers that can be on the screen at
// once never share a letter: the pages of a tab or stacked widget are apart from each
// other, not from what is around them.
namespace Mnemonicos {

// A radio button inside a group box with a title: the group's letter and the arrows reach
// it, so it takes a letter only where one is left.
bool RadioDeGrupo(const QAbstractButton* botao);
// A tool button carries a letter when it shows a text and has no key: not on a toolbar (those
// actions have their Ctrl keys), not icon only, its action (if any) without a shortcut.
bool CarregaLetra(const QToolButton* botao);

// The letter a text marks with '&' (upper case), or a null QChar.
QChar Letra(const QString& texto);
// The text as shown: the mnemonic marker gone, "&&" as one '&'.
QString TextoVisivel(const QString& texto);

// Gives every carrier of the window `janela` its letter (windows it owns have their own).
// Also run whenever a page of one of its tab or stacked widgets is shown (pages built
// when first shown get theirs then).
void Atribui(QWidget* janela);
// The same for the entries of a menu bar, each menu and submenu apart.
void AtribuiMenus(QMenuBar* barra);
void AtribuiMenu(QMenu* menu);

// Installed once by the application: every dialog or main window gets its letters
// when shown.
void Instala(QCoreApplication* aplicacao);

// The text with '&' before the letter chosen for it among those not in `tomadas`
// (texts that already have one are handed back as they are; empty: no letter free).
QString ComLetra(const QString& texto, const QList<QChar>& tomadas);

}  // namespace Mnemonicos
