#pragma once
#include "common/FrmModBase.h"
#include "reports/ModeloRelatorio.h"
#include "reports/UtilRelatorios.h"

class Banco;
class QLineEdit;
class QRadioButton;

// "Relação de Estabelecimentos de Saúde e seus Planos" (A4 landscape): every
// establishment (or those of one CNPJ/CPF) with the operator's plans linked to it.
class TqrpEstabSaudePlanos : public TqrpModeloRelatorio {
    Q_OBJECT
public:
    // An empty `cnpj` lists every establishment.
    TqrpEstabSaudePlanos(Banco& banco, const QString& cdOper, const QString& cnpj,
                         QObject* pai = nullptr);

protected:
    void AntesDeGerar() override;

private:
    UtilRelatorios::MascaraDocumento m_mascara;
};

// Choice of the establishments: all, or the ones of a CNPJ or CPF typed with or
// without its punctuation.
class TfrmDlgEstabSaudePlanos : public TfrmModDialogo {
    Q_OBJECT
public:
    explicit TfrmDlgEstabSaudePlanos(QWidget* pai = nullptr);
    QRadioButton* rbTodos;
    QRadioButton* rbCnpj;
    QLineEdit* edtCnpj;
    // The typed text without ".", "/" and "-".
    static QString SomenteNumero(const QString& texto);

protected:
    void ConfirmarClick() override;
};

// Main window's "Relação de Estabelecimentos de Saúde e seus Planos".
void AbreRelEstabComPlanos(QWidget* pai);
