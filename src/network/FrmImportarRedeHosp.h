#pragma once
#include "common/FrmModBase.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QToolButton;

// "Importar Estabelecimentos de Saúde": loads establishments from the fixed-width
// import file (the run itself is ImportacaoRedeHosp) and shows its summary and, when
// lines had problems, the error report.
class TfrmImportarRedeHosp : public TfrmModDialogo {
    Q_OBJECT
public:
    explicit TfrmImportarRedeHosp(QWidget* pai = nullptr);
    ~TfrmImportarRedeHosp() override;

    QLineEdit* AbreArquivoTxt;      // the chosen file (typed or picked)
    QToolButton* btnProcuraArquivo;  // opens the file chooser
    QCheckBox* chkBxAtualizaEstab;
    QLabel* lblNota;
    QProgressBar* Gauge1;
    QPushButton* btnConfirmaProcesso;
    QPushButton* btnLimpaTexto;
    QPushButton* btnImprimeErro;  // never visible: the run presses it

    // While the run goes on the screen cannot be closed.
    bool Importando() const { return m_importando; }

    void btnConfirmaProcessoClick();
    void btnLimpaTextoClick();
    void AbreArquivoTxtChange();
    void btnImprimeErroClick();

public slots:
    void reject() override;

protected:
    void ConfirmarClick() override { btnConfirmaProcessoClick(); }
    void CancelarClick() override { btnLimpaTextoClick(); }
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void escolheArquivo();
    void importa(const QString& caminho);
    bool m_importando = false;
};

// Opens the screen modally (main window's "Importar Estabelecimentos de Saúde").
void AbreImportacaoEstabelecimentos(QWidget* pai);
