#pragma once
#include <QStringList>
#include <QVariant>

#include "common/FrmModBase.h"
#include "db/Banco.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;
class QToolButton;
class ModeloRowSet;
class RowSet;

// The generic search dialog: shows the result of a SELECT in a grid that sorts on
// a click on a column title, moves while the user types into the search box, and
// hands back the values of the returned columns of the chosen row.
class TfrmConsulta : public TfrmModBase {
    Q_OBJECT
public:
    // Kind of the search box (follows the sort column's type).
    enum class TipoBusca { Texto, Inteiro, Decimal, Data, Hora };

    // `legendas`: column captions separated by ";" (in column order); `retorno`:
    // names of the returned columns separated by ";" (compared ignoring case).
    TfrmConsulta(QWidget* dono, const QString& legenda, const QString& legendas,
                 const QString& retorno, const QString& sql, Banco& banco,
                 const ParamsPosicionais& params = {});
    ~TfrmConsulta() override;

    // Runs another statement (same captions and returned columns).
    void Recarrega(const QString& sql, const ParamsPosicionais& params = {});
    const QString& Sql() const { return m_sql; }

    // Hides a column of the result (its values stay readable).
    void EscondeColuna(const QString& nome);
    // Sorts as a click on the title of that grid column does.
    void OrdenaPor(int coluna);

    // The returned columns (result columns matching the names of the list, in list order).
    QStringList ColunasRetorno() const;
    // Value of a column of the chosen (current) row, name compared ignoring case.
    QVariant Valor(const QString& coluna) const;
    // Values of the returned columns of the chosen row, in order.
    QVariantList ValoresRetorno() const;

    // Writes the list into a spreadsheet and opens it; returns the file's path
    // (empty when the export failed: the error was shown).
    QString ExportaExcel();

    RowSet* cdsConsulta() const { return m_rs; }
    QTableView* grdConsulta() const { return m_grade; }
    QLineEdit* edtPesquisa() const { return m_busca; }
    QLabel* lblLocalizar() const { return m_rotuloBusca; }
    QLabel* lblRegistros() const { return m_registros; }
    QPushButton* btnConfirmar() const { return m_confirmar; }
    QPushButton* btnCancelar() const { return m_cancelar; }
    QToolButton* btnExportar() const { return m_exportar; }
    TipoBusca tipoBusca() const { return m_tipoBusca; }
    int colunaOrdenada() const { return m_colunaOrdem; }
    bool ordemDescendente() const { return m_descendente; }
    // Runs the pending incremental search at once (what the 400 ms timer does).
    void ExecutaBusca();
    QTimer* tmrBusca() const { return m_timer; }

protected:
    void showEvent(QShowEvent* e) override;

private:
    void carrega();
    void aplicaLegendas();
    void ajustaLarguras();
    void configuraBusca(int campo);
    void confirma();

    Banco& m_banco;
    QString m_sql;
    ParamsPosicionais m_params;
    QStringList m_legendas;
    QStringList m_nomesRetorno;
    QStringList m_escondidas;
    RowSet* m_rs;
    ModeloRowSet* m_modelo = nullptr;
    QTableView* m_grade;
    QLabel* m_rotuloBusca;
    QLineEdit* m_busca;
    QLabel* m_registros;
    QPushButton* m_confirmar;
    QPushButton* m_cancelar;
    QToolButton* m_exportar;
    QTimer* m_timer;
    TipoBusca m_tipoBusca = TipoBusca::Texto;
    int m_colunaOrdem = -1;
    bool m_descendente = false;
};
