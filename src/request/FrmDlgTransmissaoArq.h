#pragma once
#include <QDialog>
#include <memory>

#include "request/TransmissaoArq.h"

class QAction;
class QLineEdit;
class QPushButton;

// "Enviar arquivo para a ZUB": asks for the transmission password and hands the
// queued request files to the transfer program. Accepted (yes) when at least one
// file was sent in the confirmation that closed it.
class TfrmDlgTransmissaoArq : public QDialog {
    Q_OBJECT
public:
    TfrmDlgTransmissaoArq(const TListaEnvio& lista, const QString& cdOper, int qtdErros,
                          const QString& idSolicitacao, QWidget* parent = nullptr);
    ~TfrmDlgTransmissaoArq() override;

    const QStringList& PlanosEnviados() const { return m_logica->PlanosEnviados(); }
    TTransmissaoArq& logica() { return *m_logica; }

    QLineEdit* edSenha = nullptr;
    QAction* actConfirmar = nullptr;
    QAction* actCancelar = nullptr;
    QPushButton* btnConfirmar = nullptr;
    QPushButton* btnCancelar = nullptr;

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* evento) override;
    bool event(QEvent* evento) override;

private slots:
    void confirma();

private:
    void mostraPorInteiro();
    void habilita(bool sim);
    std::unique_ptr<TTransmissaoArq> m_logica;
};
