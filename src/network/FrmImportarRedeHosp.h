#pragma once
#include "network/FrmModImportacao.h"

class QCheckBox;

// "Importar Estabelecimentos de Saúde": loads establishments from the fixed-width
// import file (the run itself is ImportacaoRedeHosp) and shows its summary and, when
// lines had problems, the error report.
class TfrmImportarRedeHosp : public TfrmModImportacao {
    Q_OBJECT
public:
    explicit TfrmImportarRedeHosp(QWidget* pai = nullptr);

    QLineEdit* AbreArquivoTxt;  // the chosen file (typed or picked)
    QCheckBox* chkBxAtualizaEstab;
    QLabel* lblNota;
    QPushButton* btnImprimeErro;  // never visible: the run presses it

    void btnConfirmaProcessoClick();
    void btnLimpaTextoClick() { reject(); }
    void AbreArquivoTxtChange();
    void btnImprimeErroClick();

protected:
    void ConfirmarClick() override { btnConfirmaProcessoClick(); }
    void CancelarClick() override { btnLimpaTextoClick(); }
    void showEvent(QShowEvent* e) override;
};

// Opens the screen modally (main window's "Importar Estabelecimentos de Saúde").
void AbreImportacaoEstabelecimentos(QWidget* pai);
