#pragma once
#include <QAbstractTableModel>
#include <QColor>
#include <QVector>
#include <functional>

#include "db/RowSet.h"

class QTableView;

// Shows a row set in a grid: one column per visible field (captions as header),
// texts as the row set shows them, numbers to the right. The grid's rows are the
// row set's positions. Optionally a colour per row and one highlighted (bold)
// column title.
class ModeloRowSet : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ModeloRowSet(RowSet* rowSet, QObject* parent = nullptr);

    RowSet* rowSet() const { return m_rs; }
    // Field (index in the row set) shown in a grid column, and back; -1 when none.
    int campoDaColuna(int coluna) const { return m_colunas.value(coluna, -1); }
    int colunaDoCampo(const QString& nome) const;

    // Colour of the text of a row (physical row of the row set); invalid = default.
    void DefineCorLinha(std::function<QColor(const RowSet&, int linha)> cor);
    // The hint of a row (every cell of it); an empty text gives none.
    void DefineDicaLinha(std::function<QString(const RowSet&, int linha)> dica) { m_dica = std::move(dica); }
    // The column whose title is drawn bold with an arrow: up for ascending, down
    // for descending (-1 none).
    void DefineColunaDestacada(int coluna, Qt::SortOrder ordem = Qt::AscendingOrder);
    int colunaDestacada() const { return m_destacada; }
    Qt::SortOrder ordemDestacada() const { return m_ordem; }
    // Cells of data fields may be edited in the grid.
    void DefineEditavel(bool editavel) { m_editavel = editavel; }

    int rowCount(const QModelIndex& pai = QModelIndex()) const override;
    int columnCount(const QModelIndex& pai = QModelIndex()) const override;
    QVariant data(const QModelIndex& indice, int papel = Qt::DisplayRole) const override;
    QVariant headerData(int secao, Qt::Orientation orientacao,
                        int papel = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& indice) const override;
    bool setData(const QModelIndex& indice, const QVariant& valor,
                 int papel = Qt::EditRole) override;

    // Recomputes the visible columns (after a field's visibility or caption changed).
    void Reinicia();

private:
    void refazColunas();

    RowSet* m_rs;
    QVector<int> m_colunas;
    std::function<QColor(const RowSet&, int)> m_cor;
    std::function<QString(const RowSet&, int)> m_dica;
    int m_destacada = -1;
    Qt::SortOrder m_ordem = Qt::AscendingOrder;
    bool m_editavel = false;
};

// When a grid bound by LigaGrade takes its model.
enum class LigacaoGrade {
    Imediata,
    // When the grid is first shown: a grid on a tab page the user never opens costs
    // only its creation, and follows none of its row set's changes until then. Its
    // model exists at once (ModeloDaGrade); the grid's own model and selection model
    // are null until then. Taking it resets the model (modelReset), so what adjusts
    // the grid to its columns runs once they are there.
    AoMostrar,
};
// Binds a grid to a row set: creates the model (owned by the grid), selects whole
// rows and keeps the grid's current row and the row set's current row together.
ModeloRowSet* LigaGrade(QTableView* grade, RowSet* rowSet, LigacaoGrade quando = LigacaoGrade::Imediata);
// The model of a grid bound by LigaGrade, also before the grid took it (nullptr
// for a grid not bound so).
ModeloRowSet* ModeloDaGrade(const QTableView* grade);
