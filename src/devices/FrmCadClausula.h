#pragma once
#include <functional>

#include "common/FrmModeloCadastro.h"
#include "devices/DmClausula.h"

class QLineEdit;
class QPlainTextEdit;

// "Cadastro de Dispositivos Contratuais": consultation of the current operator's contract
// devices, one at a time. Devices arrive with the database; nothing is added, changed
// or deleted here.
class TfrmCadClausula : public TfrmModeloCadastro, public TelaDispositivo {
    Q_OBJECT
public:
    // Screens of other parts opened from the toolbar; the button stays disabled
    // while its opener is not installed.
    struct Telas {
        std::function<void(QWidget*)> relatorio;
    };
    static Telas& TelasRelacionadas();

    explicit TfrmCadClausula(QWidget* pai = nullptr);
    ~TfrmCadClausula() override;

    void DefineHabilitacoes(Habilitacoes& h) override;
    // "Cadastro de Dispositivos Contratuais" with the state (" [Consulta]").
    QString LegendaDoEstado() const override;
    void AtualizaDados() override {}
    void AbreCadastro() {}
    void MostraOrientacao(const QString& texto) override;
    // Rebuilds the characteristic panel for the device shown.
    void MontaPainelCaracteristica();

    QAction* actRelatorio;
    QAction* actImportar;
    QAction* actPlanosClausula;

    QLineEdit* LkpTipoClausula;
    QLabel* lblInativo;
    QPlainTextEdit* memOrientacao;
    QLineEdit* edtCodigo;
    QLineEdit* edtDescricao;
    QLabel* lblTexto;
    QLabel* lblPublicado;
    QPlainTextEdit* memTexto;
    QWidget* pnlDinamico;
    QLabel* lblDinamico;
    QLineEdit* lkpDinamico;
    QLabel* lblStatus;

    void actPesquisarExecute() override;
    void actRelatorioExecute();

protected:
    void showEvent(QShowEvent* e) override;
    void done(int resultado) override;

private:
    void montaTela();
    void mostraDispositivo();
    void atualizaRotulos();

    TdmClausula* m_dm;
    Caracteristica m_caracteristica = Caracteristica::Nenhuma;
    bool m_exibida = false;
};

// Opens the device screen modally (main window's "Cadastro de Dispositivos Contratuais").
void AbreCadastroDispositivos(QWidget* pai);
