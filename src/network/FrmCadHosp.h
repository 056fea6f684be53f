#pragma once
#include <functional>

#include "common/FrmModeloCadastro.h"
#include "db/Banco.h"
#include "network/DmHospital.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class CaixaData;
class TDmMunicipio;
class TfrmConsulta;
class TfrmDlgOpcaoPesqEstb;

// Maintenance screen of the establishments ("Cadastro de Estabelecimento de
// Saúde"). It holds one establishment at a time and browses by identifier.
class TfrmCadHosp : public TfrmModeloCadastro {
    Q_OBJECT
public:
    // Screens of other parts opened from the toolbar; a button stays disabled
    // while its opener is not installed.
    struct Telas {
        std::function<void(QWidget*)> relatorio;
        std::function<void(QWidget*)> importaOlvar;
        std::function<void(QWidget*, qlonglong idEstb)> planosDoEstab;
    };
    static Telas& TelasRelacionadas();

    explicit TfrmCadHosp(QWidget* pai = nullptr);
    ~TfrmCadHosp() override;

    // An establishment to open on when shown (0 = the first one).
    qlonglong IdEstabInicial = 0;
    // Whether a save passed all its checks since the screen was shown.
    bool GravouDados() const { return m_gravou; }

    // Closes the record and reopens it on that establishment, then redisplays.
    void AbreEstabelecimento(qlonglong idEstb);
    void AtualizaDados() override;
    void DefineHabilitacoes(Habilitacoes& h) override;
    void AbreCadastro() {}

    QAction* actRelatorio;
    QAction* actImportaOLVAR;
    QAction* actPlanosEstab;
    QAction* actCNES;

    QComboBox* lkpClassifHospital;
    QLineEdit* edtCNES;
    QLabel* lblCNPJCPF;
    QLineEdit* MedCNPJ;
    QLineEdit* edRazao;
    QComboBox* cmbTipoHospital;
    QComboBox* dblookcmbUF;
    QComboBox* DblookcmbMunicipios;
    QGroupBox* grpContrato;
    QComboBox* cmbTipoContratacao;
    QLineEdit* edtRegOperIntermed;
    CaixaData* edtDataContratacao;
    CaixaData* edtDataVinculo;
    QComboBox* cmbDispServicos;
    QCheckBox* chkUrgencia;

    // The search dialogs, once created (kept for the life of the screen).
    TfrmDlgOpcaoPesqEstb* dlgOpcaoPesquisa() const { return m_dlgOpcao; }
    TfrmConsulta* frmConsulta() const { return m_consulta; }
    int QuantidadeEstabelecimentos() const { return m_qtEstab; }

    void actCadastrarExecute() override;
    void actPesquisarExecute() override;
    void actAdicionarExecute() override;
    void actAlterarExecute() override;
    void actExcluirExecute() override;
    void actCancelarExecute() override;
    void actSairExecute() override;
    void btnAnteriorClick();
    void btnProximoClick();
    void btnCNESClick();

protected:
    void actAnteriorExecute() override { btnAnteriorClick(); }
    void actProximoExecute() override { btnProximoClick(); }
    QString TextoContador() const override;
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void montaTela();
    void contaEstabelecimentos();
    void lkpClassifHospitalClick();
    void cmbTipoHospitalClick();
    void cmbTipoContratacaoClick();
    void ufEscolhida();
    void mostraUf(const QString& uf, qlonglong municipio);
    void mostraMunicipios(const QString& uf);
    TDmHospital::Escolhas escolhas() const;
    QWidget* campoDaFalha(TDmHospital::CampoEstab campo) const;
    QString textoCnpj(const QVariant& valor) const;

    TDmHospital* m_dm;
    TDmMunicipio* m_municipios;
    bool m_fechaMunicipios = false;
    TfrmDlgOpcaoPesqEstb* m_dlgOpcao = nullptr;
    TfrmConsulta* m_consulta = nullptr;
    ParamsPosicionais m_paramsConsulta;
    int m_qtEstab = 0;
    bool m_gravou = false;
    bool m_exibida = false;
    bool m_mascaraCnpj = true;
    QString m_ufMostrada;
};

// Opens the establishment screen modally (main window's "Cadastro de Estabelecimentos de Saúde").
void AbreCadastroEstabelecimentos(QWidget* pai);
