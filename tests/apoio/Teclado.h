#pragma once
// What a window offers the keyboard, checked as a person using it would find it: every
// label in front of a box, button and group box shown has its Alt+letter, no two shown at
// once share one, a label's letter takes the focus to its box, and Tab goes through the
// boxes of a page top to bottom and left to right.
#include <QKeySequence>
#include <QStringList>
#include <QTest>

class QWidget;

namespace Apoio::Teclado {

// The problems of the window as it is shown now (the pages now current), one a line.
// `exercita`: each label's letter is also pressed, and its box must take the focus.
QStringList Confere(QWidget* janela, bool exercita = true);
// The same for every page of every tab widget of the window, one page after another
// (each tab widget back on its page afterwards); the lines are not repeated.
QStringList ConfereTodasAsPaginas(QWidget* janela, bool exercita = true);

// A key pressed and released without a text (QTest's own key-to-character table knows no
// Insert or PgUp), and the events it causes handled.
void tecla(QWidget* alvo, int k, Qt::KeyboardModifiers m = Qt::NoModifier);
// A key as a person presses it on the window with the focus (its focus widget).
void tecla(int k, Qt::KeyboardModifiers m = Qt::NoModifier);
// Text typed into the focus widget.
void digita(const QString& texto);
// The widget with the focus, or the active window.
QWidget* foco();

}  // namespace Apoio::Teclado
