#pragma once
#include "common/FrmModBase.h"

class QAction;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;
class QToolButton;
class TManutencaoRede;

// "  Vinculação de Rede em Lote": any number of the operator's hospital establishments
// linked to any number of its plans in one run. The upper half chooses establishments,
// the lower half plans (source list, four buttons, selection); the run shows one
// progress bar for the plans and one for the establishments of the plan being linked.
// The logic is TManutencaoRede.
class TfrmManutencaoRede : public TfrmModBase {
    Q_OBJECT
public:
    explicit TfrmManutencaoRede(QWidget* pai = nullptr);
    ~TfrmManutencaoRede() override;

    TManutencaoRede* logica() const { return m_logica; }

    QTableView* dbgHospitais;
    QTableView* dbgHospSele;
    QTableView* dbgPlanos;
    QTableView* dbgProdSele;
    QLabel* lblQtHospitais;
    QLabel* lblQtHospSele;
    QLabel* lblQtPlanos;
    QLabel* lblQtProdSele;
    QToolButton* BitBtn5;  // establishment search
    QToolButton* BitBtn6;  // plan search
    QToolButton* btnCopiaHosp;
    QToolButton* BitBtn9;
    QToolButton* btnRetiraHosp;
    QToolButton* btnLimpaHosp;
    QToolButton* btnCopiaPlanos;
    QToolButton* BitBtn10;
    QToolButton* btnRetiraPlanos;
    QToolButton* btnLimpaPlanos;
    QAction* actHospLimpar;
    QAction* actPlanoLimpar;
    QAction* actAtualizaVinculo;
    QPushButton* btnConfirmaVinculos;
    QPushButton* btnSair;
    QProgressBar* pbPlanos;
    QProgressBar* pbEstabelecimentos;

    void BitBtn5Click();
    void BitBtn6Click();
    void actAtualizaVinculoExecute();
    // Re-evaluates which buttons may be used.
    void ActionList1Update();

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void contagens();
    // Runs a user action; an error is shown in the plain error box.
    void executa(const std::function<void()>& acao);

    TManutencaoRede* m_logica;
    bool m_exibida = false;
    bool m_vinculando = false;
};

// Opens the batch linking screen modally (main window's "Vinculação de Rede em Lote").
void AbreManutencaoRede(QWidget* pai);
