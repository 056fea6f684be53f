#include "db/ModeloRowSet.h"

#include <QEvent>

#include <QFont>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPolygonF>
#include <QTableView>

namespace {
// A small triangle pointing up or down in the text colour.
QPixmap seta(bool paraCima) {
    QPixmap p(10, 10);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(Qt::NoPen);
    g.setBrush(QGuiApplication::palette().color(QPalette::WindowText));
    const QPolygonF cima{QPointF(1, 8), QPointF(9, 8), QPointF(5, 2)};
    const QPolygonF baixo{QPointF(1, 2), QPointF(9, 2), QPointF(5, 8)};
    g.drawPolygon(paraCima ? cima : baixo);
    return p;
}
}  // namespace

ModeloRowSet::ModeloRowSet(RowSet* rowSet, QObject* parent)
    : QAbstractTableModel(parent), m_rs(rowSet) {
    refazColunas();
    // A row set that goes before its grid (a screen's members die before its widgets)
    // leaves an empty grid, never a dangling one.
    connect(m_rs, &QObject::destroyed, this, [this] {
        beginResetModel();
        m_rs = nullptr;
        m_colunas.clear();
        endResetModel();
    });
    connect(m_rs, &RowSet::estruturaMudou, this, &ModeloRowSet::Reinicia);
    connect(m_rs, &RowSet::linhaMudou, this, [this](int pos) {
        if (pos >= 0 && pos < rowCount() && columnCount() > 0)
            emit dataChanged(index(pos, 0), index(pos, columnCount() - 1));
    });
    connect(m_rs, &RowSet::estadoMudou, this, [this] {
        const int pos = m_rs->RecNo();
        if (pos >= 0 && pos < rowCount() && columnCount() > 0)
            emit dataChanged(index(pos, 0), index(pos, columnCount() - 1));
    });
}

void ModeloRowSet::refazColunas() {
    m_colunas.clear();
    if (!m_rs) return;
    const auto& campos = m_rs->Campos();
    for (int i = 0; i < campos.size(); ++i)
        if (campos[i].visivel) m_colunas << i;
}

void ModeloRowSet::Reinicia() {
    beginResetModel();
    refazColunas();
    endResetModel();
}

int ModeloRowSet::colunaDoCampo(const QString& nome) const {
    return m_rs ? m_colunas.indexOf(m_rs->IndiceCampo(nome)) : -1;
}

void ModeloRowSet::DefineCorLinha(std::function<QColor(const RowSet&, int)> cor) {
    m_cor = std::move(cor);
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void ModeloRowSet::DefineColunaDestacada(int coluna, Qt::SortOrder ordem) {
    m_destacada = coluna;
    m_ordem = ordem;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

int ModeloRowSet::rowCount(const QModelIndex& pai) const {
    return pai.isValid() || !m_rs ? 0 : m_rs->RecordCount();
}

int ModeloRowSet::columnCount(const QModelIndex& pai) const {
    return pai.isValid() ? 0 : m_colunas.size();
}

QVariant ModeloRowSet::data(const QModelIndex& i, int papel) const {
    if (!i.isValid()) return QVariant();
    const int campo = campoDaColuna(i.column());
    if (campo < 0) return QVariant();
    switch (papel) {
        case Qt::DisplayRole:
            return m_rs->TextoDe(i.row(), campo);
        case Qt::EditRole:
            return m_rs->ValorNaPosicao(i.row(), campo);
        case Qt::TextAlignmentRole:
            return m_rs->Campos()[campo].numerico() ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                    : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        case Qt::ForegroundRole: {
            if (!m_cor) return QVariant();
            const QColor c = m_cor(*m_rs, m_rs->LinhaNaPosicao(i.row()));
            return c.isValid() ? QVariant(c) : QVariant();
        }
        case Qt::ToolTipRole: {
            if (!m_dica) return QVariant();
            const QString d = m_dica(*m_rs, m_rs->LinhaNaPosicao(i.row()));
            return d.isEmpty() ? QVariant() : QVariant(d);
        }
        default:
            return QVariant();
    }
}

QVariant ModeloRowSet::headerData(int secao, Qt::Orientation orientacao, int papel) const {
    if (orientacao != Qt::Horizontal)
        return QAbstractTableModel::headerData(secao, orientacao, papel);
    const int campo = campoDaColuna(secao);
    if (campo < 0) return QVariant();
    if (papel == Qt::DisplayRole) return m_rs->Campos()[campo].legenda();
    if (papel == Qt::FontRole && secao == m_destacada) {
        QFont f;
        f.setBold(true);
        return f;
    }
    if (papel == Qt::DecorationRole && secao == m_destacada)
        return seta(m_ordem == Qt::AscendingOrder);
    return QVariant();
}

Qt::ItemFlags ModeloRowSet::flags(const QModelIndex& i) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(i);
    const int campo = campoDaColuna(i.column());
    if (m_editavel && campo >= 0 && m_rs->Campos()[campo].ehDado()) f |= Qt::ItemIsEditable;
    return f;
}

bool ModeloRowSet::setData(const QModelIndex& i, const QVariant& valor, int papel) {
    if (!m_editavel || papel != Qt::EditRole || !i.isValid()) return false;
    const int campo = campoDaColuna(i.column());
    if (campo < 0 || !m_rs->Campos()[campo].ehDado()) return false;
    // the row being typed stays in its state (moving would post it first)
    if (m_rs->RecNo() != i.row() && !m_rs->Vai(i.row())) return false;
    if (!m_rs->EmEdicao()) m_rs->Edit();
    m_rs->DefineValor(campo, valor);
    return true;
}

namespace {
// Keeps a grid's current row and the row set's current row together.
class Sincronia : public QObject {
public:
    Sincronia(QTableView* grade, ModeloRowSet* modelo)
        : QObject(grade), m_grade(grade), m_modelo(modelo) {
        RowSet* rs = modelo->rowSet();
        connect(rs, &RowSet::registroMudou, this, &Sincronia::paraGrade);
        connect(modelo, &QAbstractItemModel::modelReset, this, &Sincronia::paraGrade);
        connect(grade->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                [this](const QModelIndex& atual) {
                    RowSet* r = m_modelo->rowSet();
                    if (!r || m_movendo || !atual.isValid() || atual.row() == r->RecNo()) return;
                    m_movendo = true;
                    r->Vai(atual.row());
                    m_movendo = false;
                });
        paraGrade();
    }

private:
    void paraGrade() {
        if (m_movendo || !m_modelo->rowSet()) return;
        const int pos = m_modelo->rowSet()->RecNo();
        QItemSelectionModel* sel = m_grade->selectionModel();
        if (pos < 0 || m_modelo->columnCount() == 0) return;
        if (sel->currentIndex().row() == pos) return;
        const int col = std::max(0, sel->currentIndex().column());
        m_movendo = true;
        // In a grid of marked rows moving never marks; otherwise the current row is the selection.
        const auto modo = m_grade->selectionMode();
        const bool marcas = modo == QAbstractItemView::MultiSelection ||
                            modo == QAbstractItemView::ExtendedSelection;
        sel->setCurrentIndex(m_modelo->index(pos, col),
                             marcas
                                 ? QItemSelectionModel::NoUpdate
                                 : QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        // a hidden grid scrolls to its current row when shown (laying its rows out now,
        // for every reading of a set on a tab not shown, is work nobody sees)
        if (m_grade->isVisible()) m_grade->scrollTo(m_modelo->index(pos, col));
        m_movendo = false;
    }

    QTableView* m_grade;
    ModeloRowSet* m_modelo;
    bool m_movendo = false;
};
}  // namespace

namespace {
void entregaModelo(QTableView* grade, ModeloRowSet* modelo) {
    // the rows' height before the rows (after, each of 100,000 rows would be resized)
    grade->verticalHeader()->setDefaultSectionSize(grade->fontMetrics().height() + 6);
    grade->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grade->setModel(modelo);
    new Sincronia(grade, modelo);
}

// Hands the model to its grid at the grid's first show, before it paints.
class LigacaoAoMostrar : public QObject {
public:
    LigacaoAoMostrar(QTableView* grade, ModeloRowSet* modelo) : QObject(grade), m_grade(grade), m_modelo(modelo) {
        grade->installEventFilter(this);
    }
    bool eventFilter(QObject* o, QEvent* e) override {
        if (o == m_grade && e->type() == QEvent::Show) {
            m_grade->removeEventFilter(this);
            entregaModelo(m_grade, m_modelo);
            m_modelo->Reinicia();
            deleteLater();
        }
        return false;
    }

private:
    QTableView* m_grade;
    ModeloRowSet* m_modelo;
};
}  // namespace

ModeloRowSet* LigaGrade(QTableView* grade, RowSet* rowSet, LigacaoGrade quando) {
    auto* modelo = new ModeloRowSet(rowSet, grade);
    grade->setSelectionBehavior(QAbstractItemView::SelectRows);
    if (quando == LigacaoGrade::AoMostrar && !grade->isVisible())
        new LigacaoAoMostrar(grade, modelo);
    else
        entregaModelo(grade, modelo);
    return modelo;
}

ModeloRowSet* ModeloDaGrade(const QTableView* grade) {
    if (auto* m = qobject_cast<ModeloRowSet*>(grade->model())) return m;
    return grade->findChild<ModeloRowSet*>(QString(), Qt::FindDirectChildrenOnly);
}
