#pragma once
#include "common/FrmModBase.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "Alteração do Protocolo de Solicitação": lets an operator that lost the protocol of a
// plan's first request type it again. Only digits and "." are taken, 30 at most.
// Confirm asks for the protocol when the plan has a request identifier, then asks to
// confirm the change; the typed text (untrimmed) is Protocolo().
class TfrmAlteraProtocolo : public TfrmModBase {
    Q_OBJECT
public:
    TfrmAlteraProtocolo(const QString& protocolo, bool solicitacaoEmBranco, QWidget* pai = nullptr);

    QString Protocolo() const;
    static QString TextoAviso();

    QPlainTextEdit* memAviso;
    QLineEdit* edtProtocolo;
    QPushButton* btnConfirmar;
    QPushButton* btnCancelar;

    void btnConfirmarClick();

private:
    bool m_solicitacaoEmBranco;
};
