#pragma once
#include "common/FrmModBase.h"

class QWidget;

// Deletes every establishment that is not linked to a plan (all operators).
class TfrmDlgLimpaEstab : public TfrmModDialogo {
    Q_OBJECT
public:
    explicit TfrmDlgLimpaEstab(QWidget* pai = nullptr);

protected:
    void ConfirmarClick() override;
};

// Opens the clean-up dialog modally (main window's "Excluir Estabelecimentos de Saúde").
void AbreExclusaoEstabelecimentos(QWidget* pai);
