#pragma once
#include <QDialog>

class QPushButton;

// Plain window base: when shown, every button of the window gets the hand
// cursor; F5 anywhere in the window opens the system calculator.
class TfrmModBase : public QDialog {
    Q_OBJECT
public:
    explicit TfrmModBase(QWidget* pai = nullptr);
    // Gives the hand cursor to every button (plain, tool, radio and check buttons) under `raiz`.
    static void AplicaCursorMao(QWidget* raiz);

protected:
    void showEvent(QShowEvent* e) override;
};

// Plain dialog base: a content area and a bottom band with "Confirmar" and
// "Cancelar" on the right; the dialog decides what they do (by default accept
// and reject).
class TfrmModDialogo : public TfrmModBase {
    Q_OBJECT
public:
    explicit TfrmModDialogo(QWidget* pai = nullptr);
    QWidget* Conteudo() const { return m_conteudo; }
    QPushButton* btnConfirmar() const { return m_confirmar; }
    QPushButton* btnCancelar() const { return m_cancelar; }

protected:
    virtual void ConfirmarClick() { accept(); }
    virtual void CancelarClick() { reject(); }

private:
    QWidget* m_conteudo;
    QPushButton* m_confirmar;
    QPushButton* m_cancelar;
};
