#pragma once
#include <QKeySequence>

class QAbstractButton;
class QAction;
class QWidget;

// The keys of the move buttons between two lists (the area of coverage, the network tab,
// batch linking): Ctrl+Right moves the marked rows to the chosen side, Ctrl+Shift+Right
// all of them, Ctrl+Left takes the marked rows back, Ctrl+Shift+Left all of them. They act
// while the focus is inside the button's area (its page or group), so two pickers of one
// window keep apart; in a text box the same keys keep their word moves (the box takes them
// first). The hint names the key.
enum class Movimento { IncluiMarcados, IncluiTodos, RetiraMarcados, RetiraTodos };

QKeySequence TeclaDeMover(Movimento m);
void DefineTeclaDeMover(QAction* acao, Movimento m, QWidget* area);
void DefineTeclaDeMover(QAbstractButton* botao, Movimento m, QWidget* area);
