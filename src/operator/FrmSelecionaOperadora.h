#pragma once
#include <QDialog>
#include <QString>

class QListWidget;
class QPushButton;

// "Seleciona Operadora": the operators of the table, the current one chosen. Choosing
// one moves the operators table to it; "Confirmar seleção" answers Accepted with the
// chosen code, "Cancela criação" (or Escape) moves the table back and answers Rejected.
class TfrmSelecionaOperadora : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSelecionaOperadora(QWidget* parent = nullptr);

    // The code of the operator chosen in the list (empty when none).
    QString CodigoEscolhido() const;

    QListWidget* lstOperadora() const { return m_lista; }
    QPushButton* btnIncluir() const { return m_btnIncluir; }
    QPushButton* btnAlterar() const { return m_btnAlterar; }
    QPushButton* btnConfirmar() const { return m_btnConfirmar; }
    QPushButton* btnCancelar() const { return m_btnCancelar; }

    void reject() override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void preencheLista(const QString& escolher);
    void escolheu();
    void incluir();
    void alterar();
    // Opens the operator screen on the row being inserted or edited; on OK chooses
    // the saved row in the list.
    void abreCadastro();

    QString m_codigoAoMostrar;
    QListWidget* m_lista;
    QPushButton* m_btnIncluir;
    QPushButton* m_btnAlterar;
    QPushButton* m_btnConfirmar;
    QPushButton* m_btnCancelar;
};
