#pragma once
#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

// The operator screen: edits the operators table's current row (a new row or the
// existing one) with its checks. Answers Accepted when the row was saved.
class TfrmCadOperadora : public QDialog {
    Q_OBJECT
public:
    explicit TfrmCadOperadora(QWidget* parent = nullptr);

    QLineEdit* edtCodigo() const { return m_edtCodigo; }
    QLineEdit* edtRazaoSocial() const { return m_edtRazaoSocial; }
    QLineEdit* edtCnpj() const { return m_edtCnpj; }
    QComboBox* cmbClassificacao() const { return m_cmbClassificacao; }
    QComboBox* cmbRegiao() const { return m_cmbRegiao; }
    QPushButton* btnConfirmar() const { return m_btnConfirmar; }
    QPushButton* btnCancelar() const { return m_btnCancelar; }

    // "Confirmar": checks, asks when the classification changed, saves and closes.
    void Confirmar();
    // "Cancelar" (also Escape and the close box): drops the changes and closes.
    void reject() override;

private:
    void mostraLinha();
    // Shows the error of a failed check and puts the focus on its field.
    bool falha(const QString& texto, QWidget* campo);

    bool m_nova = false;
    int m_classificacaoLida = -1;  // as read from the database (-1 when none)
    QLineEdit* m_edtCodigo;
    QLineEdit* m_edtRazaoSocial;
    QLineEdit* m_edtCnpj;
    QComboBox* m_cmbClassificacao;
    QComboBox* m_cmbRegiao;
    QPushButton* m_btnConfirmar;
    QPushButton* m_btnCancelar;
};
