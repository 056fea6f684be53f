#pragma once
#include <QVector>

class QTableView;

// The physical rows of the row set a grid shows (bound by LigaGrade) that the user
// marked, in the grid's order; with `todos`, every row the grid shows; with no row
// marked, the current row alone (nothing when the set is empty).
QVector<int> LinhasMarcadas(const QTableView* grade, bool todos = false);

// Moves the marked rows of one grid's row set to another's (both grids bound by
// LigaGrade). `todos` marks every row first; with no row marked the current row
// alone is moved. With `copia` each moved row is appended to the target, every
// target column taking the source column of the same name (which must exist);
// the rows are then deleted from the source. The deletions and insertions stay
// in the row sets' change logs. Each grid is rebuilt once, whatever the number of rows.
void MoveLinhasSelecionadas(QTableView* origem, QTableView* destino, bool copia, bool todos);
