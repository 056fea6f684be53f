#pragma once
#include <QSet>
#include <QVariantList>
#include <functional>

#include "common/FrmModBase.h"

class QAction;
class QHBoxLayout;
class QKeyEvent;
class QLabel;
class QPushButton;
class QTableView;
class QToolButton;
class QVBoxLayout;
class RowSet;
class TFrameFiltro;

// The common shape of the request and release screens: a heading, the filter frame
// with "Executar Filtro" and "Limpar Filtro", a list of plans in which several rows
// may be selected, and a row of buttons at the bottom.
class TfrmListaPlanos : public TfrmModBase {
    Q_OBJECT
public:
    // Physical rows of the selected plans.
    QSet<int> Selecionadas() const;

    QLabel* pnlTitulo = nullptr;
    TFrameFiltro* FrameFiltro1 = nullptr;
    QToolButton* spbFiltroExec = nullptr;
    QToolButton* spbFiltroLimpar = nullptr;
    QTableView* dbgPlanos = nullptr;

protected:
    TfrmListaPlanos(const QString& titulo, QWidget* pai);
    // Binds the grid and the filter frame to the list (upper case through "UCASE",
    // preset on the plan name) and places them.
    void montaLista(RowSet* planos);
    // Reopens the list with the filter (empty: none).
    virtual void abreLista(const QString& filtro, const QVariantList& parametros) = 0;
    // Called after the list was read again or the selection changed.
    virtual void listaMudou() {}
    // Enter typed in the filter (its boxes and its two buttons) runs the filter and
    // nothing else; elsewhere the dialog's own handling.
    void keyPressEvent(QKeyEvent* e) override;
    QAction* acao(const char* nome, const char* texto);
    // A button of the bottom row (m_botoes, placed by the screen) that triggers the
    // action and follows its state.
    QPushButton* botao(QAction* acao);
    void selecionaTodas(const std::function<bool(int linha)>& escolhe);

    QVBoxLayout* m_layout;
    QHBoxLayout* m_botoes;

private:
    RowSet* m_planos = nullptr;
};
