#pragma once
#include <QStringList>

#include "network/FrmModImportacao.h"

// "Importar os Estabelecimentos de Saúde do Sistema OLVAR.": copies the valid
// establishments of the predecessor system's database (the run is ImportacaoOlvar) and
// lists the problems of the others in the generic error list.
class TfrmDlgImportEstabSaudeSistema : public TfrmModImportacao {
    Q_OBJECT
public:
    static QString TituloErros() {
        return QStringLiteral("Erros na Importação de Estabelecimento de Saúde do Sistema OLVAR.");
    }

    // FormCreate: proposes Zemlo.mdb of the program's folder, or asks for its path.
    explicit TfrmDlgImportEstabSaudeSistema(QWidget* pai = nullptr);
    // FormDestroy: closes the predecessor database.
    ~TfrmDlgImportEstabSaudeSistema() override;

    QLineEdit* AbreArquivoMbd;

    void btnConfirmaProcessoClick();
    void btnLimpaTextoClick() { reject(); }

protected:
    void ConfirmarClick() override { btnConfirmaProcessoClick(); }
    void CancelarClick() override { btnLimpaTextoClick(); }
    void showEvent(QShowEvent* e) override;
};

// Opens the dialog modally (main window's "Importar Estabelecimentos de Saúde do
// Sistema OLVAR" and the establishment screen's import button).
void AbreImportacaoOlvar(QWidget* pai);
