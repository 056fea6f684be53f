#pragma once
#include <functional>

#include "common/FrmModeloCadastro.h"
#include "plans/EdicaoPlano.h"
#include "plans/PainelPendencias.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTabWidget;
class QTableView;
class QToolButton;
class TdmInfoPlano;
class TListaItens;
class RowSet;

// "Cadastro de Plano de Saúde": the current operator's plans, one at a time, with the
// header (name, contract, coverage, segmentation) and the tabs "Dados gerais", "Taxa",
// "Livre Escolha ", "Serviços e coberturas", "Notas Técnicas", "Área de atuação" and
// "Vinculação de rede". The rules live in TEdicaoPlano; this screen shows its state and
// tells it what the user did.
class TfrmCadPlano : public TfrmModeloCadastro {
    Q_OBJECT
public:
    // Screens of other parts opened from here; a button stays disabled while its
    // opener is not installed.
    struct Telas {
        // the plan report dialog, preset to the plan displayed
        std::function<void(QWidget*, qlonglong seqPlano)> relatorio;
        // the request screen's checks of the plan current in the row set, its flags recorded
        std::function<QVector<PendenciaPlano>(RowSet& planos)> pendencias;
    };
    static Telas& TelasRelacionadas();

    explicit TfrmCadPlano(QWidget* pai = nullptr);
    ~TfrmCadPlano() override;

    TEdicaoPlano* edicao() const { return m_edicao; }
    void AtualizaDados() override;
    void DefineHabilitacoes(Habilitacoes& h) override;
    // Shows the model's state in the widgets.
    void Sincroniza();
    // The tab page of a tab of the model.
    QWidget* Pagina(TEdicaoPlano::Aba aba) const;
    // Builds the widgets of a tab page now: all but "Dados gerais" are built when first
    // shown, and their members below stay null until then.
    void GarantePagina(TEdicaoPlano::Aba aba);
    bool PaginaMontada(TEdicaoPlano::Aba aba) const;
    // The widget a save failure puts the focus on (its page built).
    QWidget* ControleDaFalha(TEdicaoPlano::Controle controle);

    // Header " Plano "
    QGroupBox* grpPlano;
    QLineEdit* dbedtNome;
    QComboBox* dblkpContraracao;
    QComboBox* dblkpAbrangencia;
    QComboBox* dblkpSegmentacao;
    QComboBox* dblkpSegmentacaoBrowse;
    QTabWidget* pgcInfoPlano;
    // "Dados gerais"
    QWidget* tbsDadosGerais;
    QGroupBox* grpFormacaoPreco;
    QRadioButton* rbtPreEstabelecido;
    QRadioButton* rbtPosEstabelecido;
    QRadioButton* rbtMisto;
    QGroupBox* grpOpcaoPosEstab;
    QRadioButton* rbtRateio;
    QRadioButton* rbtCustoOperacional;
    QGroupBox* grpVinculo;
    QCheckBox* chkVinculoAtivo;
    QCheckBox* chkVinculoInativo;
    QCheckBox* chkSemVinculo;
    QGroupBox* grpPadraoAcomodacao;
    QRadioButton* rbtIndividual;
    QRadioButton* rbtColetiva;
    QGroupBox* grpFatorModerador;
    QCheckBox* chkCoparticipacao;
    QCheckBox* chkFranquia;
    QGroupBox* dbrgLivreEscolha;
    QRadioButton* rbtLivreSim;
    QRadioButton* rbtLivreNao;
    QLineEdit* dedProtocoloEntrega;
    QToolButton* btnAlteraProtocolo;
    // "Taxa"
    QWidget* tbsTaxaRegistro = nullptr;
    QTableView* dbgTaxaRegistro = nullptr;
    // "Livre Escolha " and "Serviços e coberturas"
    QWidget* tbsReembolso = nullptr;
    QListWidget* lstReembolso = nullptr;
    QWidget* tbsServOpcionais = nullptr;
    QListWidget* lstServicos = nullptr;
    // "Notas Técnicas"
    QWidget* tbsNotaTecnica = nullptr;
    QTableView* dbgNotaTecnica = nullptr;
    // "Área de atuação": the state page and the municipality page
    QWidget* tbsAreaAtuacao = nullptr;
    QLabel* dbtRegiaoCobertura = nullptr;
    QStackedWidget* pgcAreaAtuacao = nullptr;
    QWidget* tbsUF = nullptr;
    QWidget* tbsMunicipio = nullptr;
    QComboBox* dbLkpRegiaoUF = nullptr;
    QTableView* dbgListaUF = nullptr;
    QTableView* dbgUFSelecionada = nullptr;
    QComboBox* dblkpRegiao = nullptr;
    QTableView* dbgUF = nullptr;
    QLineEdit* edtPesqMunicipio = nullptr;
    QTableView* dbgMunicipio = nullptr;
    QComboBox* cmbFiltroUF = nullptr;
    QTableView* dbgMunicipioAtuacao = nullptr;
    QAction* actIncluiTodasUF;
    QAction* actIncluiUF;
    QAction* actRetiraUF;
    QAction* actRetiraTodasUF;
    QAction* actIncluiMunicipio;
    QAction* actRetiraMunicipio;
    QAction* actIncluiTodosMunicipios;
    QAction* actRetiraTodosMunicipios;
    // "Vinculação de rede"
    QWidget* tbsRede = nullptr;
    QLineEdit* edtFiltroEstab = nullptr;
    QTableView* dbgHospitais = nullptr;
    QTableView* dbgHospSele = nullptr;
    QLabel* pnlQtEstab = nullptr;
    QLabel* pnlQtEstabVinc = nullptr;
    QToolButton* btnCadEstabSaude = nullptr;
    QAction* actRedeProcurar;
    QAction* actCadEstabSaude;
    QAction* actRedeVincTodos;
    QAction* actRedeVincUm;
    QAction* actRedeDesvUm;
    QAction* actRedeDesvTodos;
    QAction* actCopiarRede;
    QAction* actRedeProcurarVinc;
    QAction* actConsCNES;
    QAction* actRedeVincExcel;
    // "Instrumento Jurídico" (hidden)
    QWidget* tbsInstrumentoJuridico = nullptr;

    QAction* actImprimir;
    // "Verificar pendências" (F9) and its panel at the bottom of the screen
    QAction* actVerificarPendencias = nullptr;
    TPainelPendencias* pnlPendencias = nullptr;
    void VerificaPendencias();
    // Goes to the tab and the control of a problem's field label.
    void IrParaPendencia(const QString& campo);
    QAction* actAlteraProtocolo;
    QAction* actMarcar;
    QAction* actDesmarcar;
    QPushButton* btnMarcar;
    QPushButton* btnDesmarcar;
    QAction* actIncTaxaRegistro;
    QAction* actEditTaxaRegistro;
    QAction* actDelTaxaRegistro;
    QAction* actNovaNota;
    QAction* actEditar;
    QAction* actExcluirNota;

    void actCadastrarExecute() override;
    void actPesquisarExecute() override;
    void actAdicionarExecute() override;
    void actAlterarExecute() override;
    void actExcluirExecute() override;
    void actCancelarExecute() override;
    void actSairExecute() override;
    void actImprimirExecute();
    void actAlteraProtocoloExecute();
    void actNovaNotaExecute();
    void actEditarNotaExecute();
    // The network tab's searches, register shortcut and copy.
    void actRedeProcurarExecute();
    void actRedeProcurarVincExecute();
    void btnCadEstabSaudeClick();
    void actCopiarRedeExecute();

protected:
    void actAnteriorExecute() override;
    QString LegendaDoEstado() const override;
    void actProximoExecute() override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void montaTela();
    QWidget* montaDadosGerais();
    void criaAcoes();
    void montaTaxa(QWidget* p);
    void montaLista(QWidget* p, const QString& titulo, QListWidget** lista, const QString& nome);
    void montaNotas(QWidget* p);
    void montaArea(QWidget* p);
    void montaRede(QWidget* p);
    // A tab page built by `monta` when first shown.
    QWidget* paginaTardia(const QString& nome, std::function<void(QWidget*)> monta);
    void ligaCampos();
    void mostraLista(QListWidget* w, const TListaItens* lista);
    void abaAlterada(int indice);
    void mostraAba(TEdicaoPlano::Aba aba);
    void abreNota();
    void editaTaxaNaGrade();
    void contaEstabelecimentos();
    // An action of a tab: runs through the template's error handling, then shows the state.
    // Its page is built first: what it does may use the page's widgets.
    QAction* acaoTela(TEdicaoPlano::Aba aba, const QString& nome, const QString& texto, const QString& dica,
                      std::function<void()> executa);
    void preencheListasArea();
    void sincronizaArea();
    void focaNome();
    void montaPendencias();

    TdmInfoPlano* m_dm;
    TEdicaoPlano* m_edicao = nullptr;
    QButtonGroup* m_preco;
    QButtonGroup* m_opcaoPos;
    QButtonGroup* m_acomodacao;
    QButtonGroup* m_livre;
    int m_abaAnterior = 0;
    int m_abasMostradas[TEdicaoPlano::kAbas] = {-1, -1, -1, -1, -1, -1, -1};
    bool m_sincronizando = false;
    QVariant m_seqPendencias;  // the plan the panel speaks of
};

// Opens the plan screen modally (main window's "Cadastro de Plano de Saúde").
void AbreCadastroPlanos(QWidget* pai);
