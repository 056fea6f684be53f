#pragma once

class QTableView;

// Moves the marked rows of one grid's row set to another's (both grids bound by
// LigaGrade). `todos` marks every row first; with no row marked the current row
// alone is moved. With `copia` each moved row is appended to the target, every
// target column taking the source column of the same name (which must exist);
// the rows are then deleted from the source. The deletions and insertions stay
// in the row sets' change logs.
void MoveLinhasSelecionadas(QTableView* origem, QTableView* destino, bool copia, bool todos);
