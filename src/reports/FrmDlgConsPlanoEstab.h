#pragma once
#include "common/FrmModBase.h"
#include "db/RowSet.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

// "Planos que utilizam o estabelecimento": the plans linked to one establishment, with
// printing of the window and export of the list to a spreadsheet.
class TfrmDlgConsPlanoEstab : public TfrmModDialogo {
    Q_OBJECT
public:
    TfrmDlgConsPlanoEstab(qlonglong idEstab, QWidget* pai = nullptr);

    QLineEdit* edtCnpj;
    QLineEdit* edtNome;
    QTableView* grdPlanos;
    QLabel* lblQtPlanos;
    QPushButton* btnImprimir;
    QPushButton* btnExportar;
    RowSet cdsPlanos;  // NM_PLANO

    // Prints the window as it looks on the reports' printer, then says so.
    void ImprimirClick();
    // Writes the plans into a new spreadsheet named after the CNPJ/CPF and opens it;
    // the path, or empty when the export failed (the error was shown).
    QString ExportarClick();
};

// The establishment screen's "Planos" button.
void AbrePlanosDoEstabelecimento(QWidget* pai, qlonglong idEstab);
