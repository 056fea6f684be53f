#pragma once
#include "common/FrmModBase.h"
#include "db/RowSet.h"
#include "reports/ModeloRelatorio.h"

class Banco;
class QRadioButton;
class QTableView;

// "Relação de Planos e seus estabelecimentos de Saúde" (A4 landscape): the operator's
// plans that have establishments (all, or one), each with its establishments.
class TqrpPlanoEstabSaude : public TqrpModeloRelatorio {
    Q_OBJECT
public:
    // An invalid `seqPlano` lists every plan.
    TqrpPlanoEstabSaude(Banco& banco, const QString& cdOper, const QVariant& seqPlano,
                        QObject* pai = nullptr);
};

// Choice of the plans: all, or the one under the cursor of the plan list.
class TfrmDlgPlanoEstabSaude : public TfrmModDialogo {
    Q_OBJECT
public:
    explicit TfrmDlgPlanoEstabSaude(QWidget* pai = nullptr);
    QRadioButton* rbTodos;
    QRadioButton* rbPlano;
    QTableView* grdPlanos;
    RowSet cdsPlanos;  // SEQ_PLANO, NM_PLANO of the current operator

protected:
    void ConfirmarClick() override;
};

// Main window's "Relação de Planos e seus Estabelecimentos de Saúde".
void AbreRelPlanosComEstab(QWidget* pai);
