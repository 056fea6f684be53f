#pragma once
#include "common/FrmModBase.h"

class QLineEdit;
class QRadioButton;

// How to narrow the establishment search when there are many establishments:
// by classification, by CNPJ/CPF, or all of them.
class TfrmDlgOpcaoPesqEstb : public TfrmModDialogo {
    Q_OBJECT
public:
    enum Item { AssistenciaHospitalar = 0, AltaComplexidade, Demais, Cnpj, Todos };

    explicit TfrmDlgOpcaoPesqEstb(QWidget* pai = nullptr);
    // 1, 2, 3 (a classification), 4 (the CNPJ/CPF typed) or 0 (all).
    int Escolha() const;
    void Seleciona(Item item);
    QRadioButton* item(Item i) const { return m_itens[i]; }
    QLineEdit* edtCnpj() const { return m_cnpj; }

private:
    QRadioButton* m_itens[5];
    QLineEdit* m_cnpj;
};
