#include "plans/FrmCadPlano.h"

#include "common/Habilitacoes.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QCoreApplication>
#include <QHash>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLocale>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QTimer>
#include <QVBoxLayout>

#include "common/CursorEspera.h"
#include "common/Entradas.h"
#include "common/ExecucaoModal.h"
#include "common/GeometriaJanela.h"
#include "common/FrmConsulta.h"
#include "common/Icones.h"
#include "common/MoveLinhas.h"
#include "common/PaginaTardia.h"
#include "common/TeclasMover.h"
#include "common/MensagemDlg.h"
#include "common/VinculoCampos.h"
#include "db/DmConexao.h"
#include "db/Mascara.h"
#include "db/ModeloRowSet.h"
#include "db/RowSet.h"
#include "db/Valores.h"
#include "plans/AreaAtuacaoPlano.h"
#include "plans/DmInfoPlano.h"
#include "plans/FrmAlteraProtocolo.h"
#include "plans/FrmCadNotaTecnica.h"
#include "plans/ItensPlano.h"
#include "plans/RedePlano.h"
#include "plans/TaxasTemporarias.h"
#include "network/FrmCadHosp.h"

namespace {
using Aba = TEdicaoPlano::Aba;
using Controle = TEdicaoPlano::Controle;
using Preco = TEdicaoPlano::Preco;

const QString kSqlPesquisa = QStringLiteral(
    "SELECT TB_Planos.NM_PLANO,   TA_Tipo_Abrangencia.DE_ABRANGENCIA, "
    "TA_Tipo_Segmentacao.DE_SEGMENTACAO,     TA_Tipo_Contrato.DE_TIPO_CONTRATO, "
    "TB_Planos.CD_OPER, TB_Planos.SEQ_PLANO FROM TA_Tipo_Segmentacao   INNER JOIN "
    "(TA_Tipo_Contrato      INNER JOIN (TA_Tipo_Abrangencia   INNER JOIN TB_Planos        "
    "        ON TA_Tipo_Abrangencia.CD_ABRANGENCIA = TB_Planos.CD_ABRANGENCIA)      ON "
    "TA_Tipo_Contrato.CD_TIPO_CONTRATO = TB_Planos.CD_TIPO_CONTRATO)     ON "
    "TA_Tipo_Segmentacao.CD_SEGMENTACAO = TB_Planos.CD_SEGMENTACAO   ");

// A title band of a tab page.
QLabel* faixaTitulo(const QString& texto, QWidget* pai) {
    auto* l = new QLabel(texto, pai);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    l->setAutoFillBackground(true);
    QPalette p = l->palette();
    p.setColor(QPalette::Window, QColor(0xdc, 0xe6, 0xf1));
    l->setPalette(p);
    l->setContentsMargins(6, 4, 6, 4);
    return l;
}

QComboBox* lista(QWidget* pai, const QString& nome, const RowSet* codigos, const QString& campoCodigo,
                 const QString& campoDescricao) {
    auto* c = new ListaLarguraFixa(18, pai);
    c->setObjectName(nome);
    if (codigos->Ativo()) {
        const int cc = codigos->IndiceCampo(campoCodigo), cd = codigos->IndiceCampo(campoDescricao);
        for (int p = 0; p < codigos->RecordCount(); ++p)
            c->addItem(codigos->ValorNaPosicao(p, cd).toString(), codigos->ValorNaPosicao(p, cc));
    }
    c->setCurrentIndex(-1);
    return c;
}

QRadioButton* radio(const QString& texto, const QString& nome, QWidget* pai, QButtonGroup* g, int id) {
    auto* r = new QRadioButton(texto, pai);
    r->setObjectName(nome);
    g->addButton(r, id);
    return r;
}

// Checks the button of an id in a group (-1: none).
void marcaGrupo(QButtonGroup* g, int id) {
    QAbstractButton* b = g->button(id);
    if (b && b->isChecked()) return;
    if (!b && !g->checkedButton()) return;
    g->setExclusive(false);
    for (QAbstractButton* x : g->buttons()) x->setChecked(x == b);
    g->setExclusive(true);
}

// The grids of the tab pages take their rows when their page is first shown.
QTableView* grade(QWidget* pai, const QString& nome, RowSet* rs, bool varias = false) {
    auto* g = new QTableView(pai);
    g->setObjectName(nome);
    LigaGrade(g, rs, LigacaoGrade::AoMostrar);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setSelectionMode(varias ? QAbstractItemView::ExtendedSelection
                               : QAbstractItemView::SingleSelection);
    g->horizontalHeader()->setStretchLastSection(true);
    g->setAlternatingRowColors(true);
    return g;
}

// The column of `campo` takes the grid's spare width (instead of the last one), also
// after the row set is reopened.
void esticaColuna(QTableView* g, const QString& campo) {
    auto aplica = [g, campo] {
        const ModeloRowSet* m = ModeloDaGrade(g);
        const int c = m ? m->colunaDoCampo(campo) : -1;
        if (c < 0 || c >= g->horizontalHeader()->count()) return;  // not shown yet
        g->horizontalHeader()->setStretchLastSection(false);
        g->horizontalHeader()->setSectionResizeMode(c, QHeaderView::Stretch);
    };
    aplica();
    QObject::connect(ModeloDaGrade(g), &QAbstractItemModel::modelReset, g, aplica);
}

// The in-place editor of a tax number: 30 characters at most.
class EditorTaxa : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QObject* filtro = nullptr;
    QWidget* createEditor(QWidget* pai, const QStyleOptionViewItem& o, const QModelIndex& i) const override {
        auto* e = qobject_cast<QLineEdit*>(QStyledItemDelegate::createEditor(pai, o, i));
        if (e) {
            e->setMaxLength(30);
            e->setObjectName(QStringLiteral("edtTaxa"));
            if (filtro) e->installEventFilter(filtro);
        }
        return e;
    }
};
}  // namespace

TfrmCadPlano::Telas& TfrmCadPlano::TelasRelacionadas() {
    static Telas t;
    return t;
}

TfrmCadPlano::TfrmCadPlano(QWidget* pai) : TfrmModeloCadastro(pai), m_dm(TdmInfoPlano::instancia()) {
    if (!m_dm) throw ErroQev(QStringLiteral("O módulo de planos não foi criado."));
    setObjectName(QStringLiteral("frmCadPlano"));
    lblTitulo()->setText(QStringLiteral(" Cadastro de Plano de Saúde"));
    PodeAlterar = true;
    PodeExcluir = true;
    m_edicao = new TEdicaoPlano(m_dm, this);
    montaTela();
    montaPendencias();
    m_edicao->Abre();
    DefineCadastro(m_dm->cdsPlano());
    ligaCampos();
    connect(m_edicao, &TEdicaoPlano::estadoMudou, this, &TfrmCadPlano::Sincroniza);
    connect(m_edicao, &TEdicaoPlano::abaSelecionada, this, &TfrmCadPlano::mostraAba);
    mostraAba(Aba::DadosGerais);
    Sincroniza();
    LembraGeometria(this, QSize(1340, 730));
    TextoNormalQuandoSomenteLeitura(grpPlano);
    TextoNormalQuandoSomenteLeitura(tbsDadosGerais);
}

TfrmCadPlano::~TfrmCadPlano() = default;

QString TfrmCadPlano::LegendaDoEstado() const {
    return QStringLiteral("Cadastro de Plano de Saúde") + TfrmModeloCadastro::LegendaDoEstado();
}

// ---------------------------------------------------------------------------
// Building the screen
// ---------------------------------------------------------------------------

void TfrmCadPlano::montaTela() {
    actImprimir = new QAction(IconePadrao(QStyle::SP_FileDialogDetailedView),
                              QStringLiteral("Imprimir"), this);
    actImprimir->setObjectName(QStringLiteral("actImprimir"));
    actImprimir->setToolTip(QStringLiteral("Imprimir os dados do plano"));
    AdicionaNaBarra(actImprimir);
    connect(actImprimir, &QAction::triggered, this, [this] { Executa([this] { actImprimirExecute(); }); });

    QWidget* d = pnlDados();
    auto* raiz = new QVBoxLayout(d);
    raiz->setContentsMargins(8, 6, 8, 6);
    raiz->setSpacing(6);

    // --- header ---
    grpPlano = new QGroupBox(QStringLiteral(" Plano "), d);
    grpPlano->setObjectName(QStringLiteral("grpPlano"));
    dbedtNome = new QLineEdit(grpPlano);
    dbedtNome->setObjectName(QStringLiteral("dbedtNome"));
    dbedtNome->setMaxLength(60);
    dblkpContraracao = lista(grpPlano, QStringLiteral("dblkpContraracao"), m_edicao->ListaContratacao(),
                             QStringLiteral("CD_TIPO_CONTRATO"), QStringLiteral("DE_TIPO_CONTRATO"));
    dblkpAbrangencia = lista(grpPlano, QStringLiteral("dblkpAbrangencia"), m_dm->cdsAbrangencia(),
                             QStringLiteral("CD_ABRANGENCIA"), QStringLiteral("DE_ABRANGENCIA"));
    dblkpSegmentacao = lista(grpPlano, QStringLiteral("dblkpSegmentacao"),
                             m_edicao->ListaSegmentacaoEdicao(), QStringLiteral("CD_SEGMENTACAO"),
                             QStringLiteral("DE_SEGMENTACAO"));
    dblkpSegmentacaoBrowse = lista(grpPlano, QStringLiteral("dblkpSegmentacaoBrowse"),
                                   m_dm->cdsSegmentacao(), QStringLiteral("CD_SEGMENTACAO"),
                                   QStringLiteral("DE_SEGMENTACAO"));
    auto* segmentacao = new QWidget(grpPlano);
    auto* ls = new QVBoxLayout(segmentacao);
    ls->setContentsMargins(0, 0, 0, 0);
    ls->setSpacing(2);
    auto* rotuloSeg = new QLabel(QStringLiteral("Segmentação Assistencial"), segmentacao);
    rotuloSeg->setObjectName(QStringLiteral("lblSegmentacao"));
    rotuloSeg->setBuddy(dblkpSegmentacao);
    ls->addWidget(rotuloSeg);
    ls->addWidget(dblkpSegmentacao);
    ls->addWidget(dblkpSegmentacaoBrowse);
    auto* gh = new QGridLayout(grpPlano);
    gh->setContentsMargins(8, 4, 8, 6);
    gh->setHorizontalSpacing(12);
    gh->addWidget(CelulaRotulada(grpPlano, QStringLiteral("Nome comercial"), dbedtNome), 0, 0, 1, 3);
    gh->addWidget(CelulaRotulada(grpPlano, QStringLiteral("Contratação"), dblkpContraracao), 1, 0);
    gh->addWidget(CelulaRotulada(grpPlano, QStringLiteral("Abrangência Geográfica"), dblkpAbrangencia), 1, 1);
    gh->addWidget(segmentacao, 1, 2);
    for (int c = 0; c < 3; ++c) gh->setColumnStretch(c, 1);
    raiz->addWidget(grpPlano);

    // --- tabs ---
    pgcInfoPlano = new QTabWidget(d);
    pgcInfoPlano->setObjectName(QStringLiteral("pgcInfoPlano"));
    // "Dados gerais" is built now; the other pages when first shown
    pgcInfoPlano->addTab(montaDadosGerais(), QStringLiteral("Dados gerais"));
    criaAcoes();
    tbsTaxaRegistro = paginaTardia(QStringLiteral("tbsTaxaRegistro"), [this](QWidget* p) { montaTaxa(p); });
    pgcInfoPlano->addTab(tbsTaxaRegistro, QStringLiteral("Taxa"));
    tbsReembolso = paginaTardia(QStringLiteral("tbsReembolso"), [this](QWidget* p) {
        montaLista(p, QStringLiteral(" Acesso à Livre Escolha de Prestadores"), &lstReembolso,
                   QStringLiteral("lstReembolso"));
    });
    pgcInfoPlano->addTab(tbsReembolso, QStringLiteral("Livre Escolha "));
    tbsServOpcionais = paginaTardia(QStringLiteral("tbsServOpcionais"), [this](QWidget* p) {
        montaLista(p, QStringLiteral(" Serviços e coberturas adicionais"), &lstServicos, QStringLiteral("lstServicos"));
    });
    pgcInfoPlano->addTab(tbsServOpcionais, QStringLiteral("Serviços e coberturas"));
    tbsNotaTecnica = paginaTardia(QStringLiteral("tbsNotaTecnica"), [this](QWidget* p) { montaNotas(p); });
    pgcInfoPlano->addTab(tbsNotaTecnica, QStringLiteral("Notas Técnicas"));
    tbsAreaAtuacao = paginaTardia(QStringLiteral("tbsAreaAtuacao"), [this](QWidget* p) { montaArea(p); });
    pgcInfoPlano->addTab(tbsAreaAtuacao, QStringLiteral("Área de atuação"));
    tbsRede = paginaTardia(QStringLiteral("tbsRede"), [this](QWidget* p) { montaRede(p); });
    pgcInfoPlano->addTab(tbsRede, QStringLiteral("Vinculação de rede"));
    tbsInstrumentoJuridico = new QWidget(pgcInfoPlano);
    tbsInstrumentoJuridico->setObjectName(QStringLiteral("tbsInstrumentoJuridico"));
    auto* lij = new QVBoxLayout(tbsInstrumentoJuridico);
    lij->addWidget(faixaTitulo(QStringLiteral(" Vínculo das Cláusulas ao Plano"), tbsInstrumentoJuridico));
    lij->addStretch(1);
    pgcInfoPlano->addTab(tbsInstrumentoJuridico, QStringLiteral("Instrumento Jurídico"));
    pgcInfoPlano->setTabVisible(pgcInfoPlano->indexOf(tbsInstrumentoJuridico), false);
    raiz->addWidget(pgcInfoPlano, 1);
    connect(pgcInfoPlano, &QTabWidget::currentChanged, this, &TfrmCadPlano::abaAlterada);

    // --- "Marcar Todos" / "Desmarcar Todos" on the bottom bar ---
    actMarcar = new QAction(QStringLiteral("Marcar Todos"), this);
    actMarcar->setObjectName(QStringLiteral("actMarcar"));
    actDesmarcar = new QAction(QStringLiteral("Desmarcar Todos"), this);
    actDesmarcar->setObjectName(QStringLiteral("actDesmarcar"));
    btnMarcar = new QPushButton(actMarcar->text(), this);
    btnMarcar->setObjectName(QStringLiteral("btnMarcar"));
    btnMarcar->setAutoDefault(false);
    btnDesmarcar = new QPushButton(actDesmarcar->text(), this);
    btnDesmarcar->setObjectName(QStringLiteral("btnDesmarcar"));
    btnDesmarcar->setAutoDefault(false);
    if (auto* rodape = findChild<QFrame*>(QStringLiteral("pnlRodape")))
        if (auto* lr = qobject_cast<QHBoxLayout*>(rodape->layout())) {
            lr->insertWidget(2, btnMarcar);
            lr->insertWidget(3, btnDesmarcar);
        }
    connect(btnMarcar, &QPushButton::clicked, actMarcar, &QAction::trigger);
    connect(btnDesmarcar, &QPushButton::clicked, actDesmarcar, &QAction::trigger);
    connect(actMarcar, &QAction::triggered, this, [this] { Executa([this] { m_edicao->MarcaTodos(true); }); });
    connect(actDesmarcar, &QAction::triggered, this,
            [this] { Executa([this] { m_edicao->MarcaTodos(false); }); });

    // keyboard order of the header
    setTabOrder(dbedtNome, dblkpContraracao);
    setTabOrder(dblkpContraracao, dblkpAbrangencia);
    setTabOrder(dblkpAbrangencia, dblkpSegmentacao);
    setTabOrder(dblkpSegmentacao, dblkpSegmentacaoBrowse);
    setTabOrder(dblkpSegmentacaoBrowse, pgcInfoPlano);
}

QWidget* TfrmCadPlano::montaDadosGerais() {
    tbsDadosGerais = new QWidget;
    tbsDadosGerais->setObjectName(QStringLiteral("tbsDadosGerais"));
    QWidget* p = tbsDadosGerais;

    grpFormacaoPreco = new QGroupBox(QStringLiteral(" Formação do Preço "), p);
    grpFormacaoPreco->setObjectName(QStringLiteral("grpFormacaoPreco"));
    m_preco = new QButtonGroup(this);
    rbtPreEstabelecido = radio(QStringLiteral("Pré-Estabelecido"), QStringLiteral("rbtPreEstabelecido"),
                               grpFormacaoPreco, m_preco, int(Preco::Pre));
    rbtPosEstabelecido = radio(QStringLiteral("Pós-Estabelecido"), QStringLiteral("rbtPosEstabelecido"),
                               grpFormacaoPreco, m_preco, int(Preco::Pos));
    rbtMisto = radio(QStringLiteral("Misto"), QStringLiteral("rbtMisto"), grpFormacaoPreco, m_preco,
                     int(Preco::Misto));
    auto* lp = new QVBoxLayout(grpFormacaoPreco);
    for (QWidget* w : {rbtPreEstabelecido, rbtPosEstabelecido, rbtMisto}) lp->addWidget(w);

    grpOpcaoPosEstab = new QGroupBox(QStringLiteral(" Opção Pós-Estabelecido "), p);
    grpOpcaoPosEstab->setObjectName(QStringLiteral("grpOpcaoPosEstab"));
    m_opcaoPos = new QButtonGroup(this);
    rbtRateio = radio(QStringLiteral("Rateio"), QStringLiteral("rbtRateio"), grpOpcaoPosEstab, m_opcaoPos, 0);
    rbtCustoOperacional = radio(QStringLiteral("Custo Operacional"), QStringLiteral("rbtCustoOperacional"),
                                grpOpcaoPosEstab, m_opcaoPos, 1);
    auto* lo = new QVBoxLayout(grpOpcaoPosEstab);
    lo->addWidget(rbtRateio);
    lo->addWidget(rbtCustoOperacional);
    lo->addStretch(1);

    grpVinculo = new QGroupBox(QStringLiteral(" Vínculo do Beneficiário "), p);
    grpVinculo->setObjectName(QStringLiteral("grpVinculo"));
    chkVinculoAtivo = new QCheckBox(QStringLiteral("Com vínculo empregatício ativo"), grpVinculo);
    chkVinculoAtivo->setObjectName(QStringLiteral("chkVinculoAtivo"));
    chkVinculoInativo = new QCheckBox(QStringLiteral("Com vínculo empregatício inativo"), grpVinculo);
    chkVinculoInativo->setObjectName(QStringLiteral("chkVinculoInativo"));
    chkSemVinculo = new QCheckBox(QStringLiteral("Sem vínculo empregatício"), grpVinculo);
    chkSemVinculo->setObjectName(QStringLiteral("chkSemVinculo"));
    auto* lv = new QVBoxLayout(grpVinculo);
    for (QWidget* w : {chkVinculoAtivo, chkVinculoInativo, chkSemVinculo}) lv->addWidget(w);

    grpPadraoAcomodacao = new QGroupBox(QStringLiteral(" Padrão de Acomodação "), p);
    grpPadraoAcomodacao->setObjectName(QStringLiteral("grpPadraoAcomodacao"));
    m_acomodacao = new QButtonGroup(this);
    rbtIndividual = radio(QStringLiteral("Individual"), QStringLiteral("rbtIndividual"), grpPadraoAcomodacao,
                          m_acomodacao, 0);
    rbtColetiva = radio(QStringLiteral("Coletiva"), QStringLiteral("rbtColetiva"), grpPadraoAcomodacao,
                        m_acomodacao, 1);
    auto* la = new QVBoxLayout(grpPadraoAcomodacao);
    la->addWidget(rbtIndividual);
    la->addWidget(rbtColetiva);
    la->addStretch(1);

    grpFatorModerador = new QGroupBox(QStringLiteral(" Fator Moderador "), p);
    grpFatorModerador->setObjectName(QStringLiteral("grpFatorModerador"));
    chkCoparticipacao = new QCheckBox(QStringLiteral("Co-participação"), grpFatorModerador);
    chkCoparticipacao->setObjectName(QStringLiteral("chkCoparticipacao"));
    chkFranquia = new QCheckBox(QStringLiteral("Franquia"), grpFatorModerador);
    chkFranquia->setObjectName(QStringLiteral("chkFranquia"));
    auto* lf = new QVBoxLayout(grpFatorModerador);
    lf->addWidget(chkCoparticipacao);
    lf->addWidget(chkFranquia);
    lf->addStretch(1);

    dbrgLivreEscolha = new QGroupBox(QStringLiteral(" Plano opera exclusivamente como Livre Escolha? "), p);
    dbrgLivreEscolha->setObjectName(QStringLiteral("dbrgLivreEscolha"));
    m_livre = new QButtonGroup(this);
    rbtLivreSim = radio(QStringLiteral("Sim"), QStringLiteral("rbtLivreSim"), dbrgLivreEscolha, m_livre, 0);
    rbtLivreNao = radio(QStringLiteral("Não"), QStringLiteral("rbtLivreNao"), dbrgLivreEscolha, m_livre, 1);
    auto* ll = new QHBoxLayout(dbrgLivreEscolha);
    ll->addWidget(rbtLivreSim);
    ll->addWidget(rbtLivreNao);
    ll->addStretch(1);

    dedProtocoloEntrega = new QLineEdit(p);
    dedProtocoloEntrega->setObjectName(QStringLiteral("dedProtocoloEntrega"));
    dedProtocoloEntrega->setReadOnly(true);
    dedProtocoloEntrega->setFocusPolicy(Qt::ClickFocus);
    actAlteraProtocolo = new QAction(IconePadrao(QStyle::SP_FileDialogContentsView),
                                     QStringLiteral("Alterar Protocolo"), this);
    actAlteraProtocolo->setObjectName(QStringLiteral("actAlteraProtocolo"));
    actAlteraProtocolo->setToolTip(QStringLiteral("Alterar Protocolo"));
    btnAlteraProtocolo = new QToolButton(p);
    btnAlteraProtocolo->setObjectName(QStringLiteral("btnAlteraProtocolo"));
    btnAlteraProtocolo->setDefaultAction(actAlteraProtocolo);
    btnAlteraProtocolo->setToolButtonStyle(Qt::ToolButtonIconOnly);
    connect(actAlteraProtocolo, &QAction::triggered, this,
            [this] { Executa([this] { actAlteraProtocoloExecute(); }); });
    auto* protocolo = new QWidget(p);
    auto* lpr = new QHBoxLayout(protocolo);
    lpr->setContentsMargins(0, 0, 0, 0);
    lpr->addWidget(dedProtocoloEntrega, 1);
    lpr->addWidget(btnAlteraProtocolo);
    dedProtocoloEntrega->setMinimumWidth(dedProtocoloEntrega->fontMetrics().horizontalAdvance(QString(32, u'0')));

    auto* g = new QGridLayout(p);
    g->setContentsMargins(8, 8, 8, 8);
    g->setHorizontalSpacing(10);
    g->setVerticalSpacing(8);
    g->addWidget(grpFormacaoPreco, 0, 0);
    g->addWidget(grpOpcaoPosEstab, 0, 1);
    g->addWidget(grpVinculo, 0, 2);
    g->addWidget(grpPadraoAcomodacao, 1, 0);
    g->addWidget(grpFatorModerador, 1, 1);
    g->addWidget(dbrgLivreEscolha, 1, 2);
    g->addWidget(CelulaRotulada(p, QStringLiteral("Nº Protocolo de Solicitação de Registro"), protocolo), 2, 0, 1, 2);
    g->setRowStretch(3, 1);
    for (int c = 0; c < 3; ++c) g->setColumnStretch(c, 1);
    return p;
}

QWidget* TfrmCadPlano::paginaTardia(const QString& nome, std::function<void(QWidget*)> monta) {
    auto* pagina = new PaginaTardia([this, monta = std::move(monta)](QWidget* conteudo) {
        monta(conteudo);
        Sincroniza();  // what the page shows, as the model has it now
    });
    pagina->setObjectName(nome);
    return pagina;
}

void TfrmCadPlano::GarantePagina(Aba aba) {
    if (auto* p = dynamic_cast<PaginaTardia*>(Pagina(aba))) p->Garante();
}

bool TfrmCadPlano::PaginaMontada(Aba aba) const {
    auto* p = dynamic_cast<PaginaTardia*>(Pagina(aba));
    return !p || p->Montada();
}

// The actions of the tab pages exist from the start (their keys and enabled states do not
// wait for the pages); what they do builds their page first. So do the connections that
// keep the pages' data as the screen wants it (the offered list's columns, the counts).
void TfrmCadPlano::criaAcoes() {
    actIncTaxaRegistro = new QAction(IconePadrao(QStyle::SP_FileIcon), QStringLiteral("Incluir"), this);
    actIncTaxaRegistro->setObjectName(QStringLiteral("actIncTaxaRegistro"));
    actIncTaxaRegistro->setToolTip(QStringLiteral("Incluir um documento de pagamento"));
    actEditTaxaRegistro = new QAction(IconePadrao(QStyle::SP_FileDialogDetailedView),
                                      QStringLiteral("Alterar"), this);
    actEditTaxaRegistro->setObjectName(QStringLiteral("actEditTaxaRegistro"));
    actEditTaxaRegistro->setToolTip(QStringLiteral("Alterar o documento de pagamento selecionado"));
    actDelTaxaRegistro = new QAction(IconePadrao(QStyle::SP_TrashIcon), QStringLiteral("Excluir"), this);
    actDelTaxaRegistro->setObjectName(QStringLiteral("actDelTaxaRegistro"));
    actDelTaxaRegistro->setToolTip(QStringLiteral("Excluir o documento de pagamento selecionado"));
    connect(actIncTaxaRegistro, &QAction::triggered, this, [this] {
        Executa([this] {
            m_edicao->NovaTaxa();
            editaTaxaNaGrade();
        });
    });
    connect(actEditTaxaRegistro, &QAction::triggered, this, [this] {
        Executa([this] {
            m_edicao->EditaTaxa();
            editaTaxaNaGrade();
        });
    });
    connect(actDelTaxaRegistro, &QAction::triggered, this, [this] {
        Executa([this] {
            m_edicao->ExcluiTaxa();
            GarantePagina(Aba::Taxa);
            dbgTaxaRegistro->setFocus();
        });
    });
    connect(m_edicao->taxas()->cdsTmpTaxaRegistro(), &RowSet::estadoMudou, this, &TfrmCadPlano::Sincroniza);

    actNovaNota = new QAction(IconePadrao(QStyle::SP_FileIcon), QStringLiteral("Incluir"), this);
    actNovaNota->setObjectName(QStringLiteral("actNovaNota"));
    actNovaNota->setToolTip(QStringLiteral("Incluir uma nota técnica"));
    actEditar = new QAction(IconePadrao(QStyle::SP_FileDialogDetailedView), QStringLiteral("Alterar"), this);
    actEditar->setObjectName(QStringLiteral("actEditar"));
    actEditar->setToolTip(QStringLiteral("Alterar a nota técnica selecionada"));
    actExcluirNota = new QAction(IconePadrao(QStyle::SP_TrashIcon), QStringLiteral("Excluir"), this);
    actExcluirNota->setObjectName(QStringLiteral("actExcluirNota"));
    actExcluirNota->setToolTip(QStringLiteral("Excluir a nota técnica selecionada"));
    connect(actNovaNota, &QAction::triggered, this, [this] { Executa([this] { actNovaNotaExecute(); }); });
    connect(actEditar, &QAction::triggered, this, [this] { Executa([this] { actEditarNotaExecute(); }); });
    connect(actExcluirNota, &QAction::triggered, this, [this] { Executa([this] { m_edicao->ExcluiNota(); }); });

    TAreaAtuacaoPlano* area = m_edicao->area();
    actIncluiTodasUF = acaoTela(Aba::AreaAtuacao, QStringLiteral("actIncluiTodasUF"), QStringLiteral(">>"),
                                QStringLiteral("Inclui todas as UFs disponíveis na área de atuação do plano"),
                                [area] { area->IncluiTodasUFs(); });
    actIncluiUF = acaoTela(Aba::AreaAtuacao, QStringLiteral("actIncluiUF"), QStringLiteral(">"),
                           QStringLiteral("Inclui as UFs selecionadas na área de atuação do plano"),
                           [this, area] { area->IncluiUFs(LinhasMarcadas(dbgListaUF)); });
    actRetiraUF = acaoTela(Aba::AreaAtuacao, QStringLiteral("actRetiraUF"), QStringLiteral("<"),
                           QStringLiteral("Retira as UFs selecionadas da área de atuação do plano"),
                           [this, area] { area->RetiraUFs(LinhasMarcadas(dbgUFSelecionada)); });
    actRetiraTodasUF = acaoTela(Aba::AreaAtuacao, QStringLiteral("actRetiraTodasUF"), QStringLiteral("<<"),
                                QStringLiteral("Retira todas as UFs da área de atuação do plano"),
                                [area] { area->RetiraTodasUFs(); });
    actIncluiMunicipio = acaoTela(Aba::AreaAtuacao, QStringLiteral("actIncluiMunicipio"), QStringLiteral(">"),
                                  QStringLiteral("Inclui os municípios selecionados na área de atuação do plano"),
                                  [this, area] { area->IncluiMunicipios(LinhasMarcadas(dbgMunicipio)); });
    actRetiraMunicipio = acaoTela(Aba::AreaAtuacao, QStringLiteral("actRetiraMunicipio"), QStringLiteral("<"),
                                  QStringLiteral("Retira os municípios selecionados da área de atuação do plano"),
                                  [this, area] { area->RetiraMunicipios(LinhasMarcadas(dbgMunicipioAtuacao)); });
    actIncluiTodosMunicipios = acaoTela(
        Aba::AreaAtuacao, QStringLiteral("actIncluiTodosMunicipios"), QStringLiteral(">>"),
        QStringLiteral("Inclui todos os municípios mostrados na área de atuação do plano"),
        [area] { area->IncluiTodosMunicipios(); });
    actRetiraTodosMunicipios = acaoTela(Aba::AreaAtuacao, QStringLiteral("actRetiraTodosMunicipios"),
                                        QStringLiteral("<<"),
                                        QStringLiteral("Retira todos os municípios da área de atuação do plano"),
                                        [area] { area->RetiraTodosMunicipios(); });

    TRedePlano* rede = m_edicao->rede();
    actRedeProcurar = acaoTela(Aba::Rede, QStringLiteral("actRedeProcurar"), QStringLiteral("Procurar"),
                               QStringLiteral("Encontra um estabelecimento de Saúde disponíveis para vinculação"),
                               [this] { actRedeProcurarExecute(); });
    actCadEstabSaude = acaoTela(Aba::Rede, QStringLiteral("actCadEstabSaude"), QStringLiteral("Cadastro"),
                                QStringLiteral("Cadastro de Estabelecimento de Saúde"),
                                [this] { btnCadEstabSaudeClick(); });
    actRedeVincTodos = acaoTela(Aba::Rede, QStringLiteral("actRedeVincTodos"), QStringLiteral(">>"),
                                QStringLiteral("vincular todos os estabelecimentos ao plano"),
                                [rede] { rede->VinculaTodos(); });
    actRedeVincUm = acaoTela(Aba::Rede, QStringLiteral("actRedeVincUm"), QStringLiteral(">"),
                             QStringLiteral("vincular o estabelecimento selecionado ao plano"), [this, rede] {
                                 // with nothing marked nothing is linked
                                 QVector<int> linhas;
                                 if (dbgHospitais->selectionModel() && dbgHospitais->selectionModel()->hasSelection())
                                     linhas = LinhasMarcadas(dbgHospitais);
                                 rede->Vincula(linhas);
                                 dbgHospitais->clearSelection();
                             });
    actRedeDesvUm = acaoTela(Aba::Rede, QStringLiteral("actRedeDesvUm"), QStringLiteral("<"),
                             QStringLiteral("desvincular o estabelecimento selecionado do plano"), [this, rede] {
                                 rede->Desvincula(LinhasMarcadas(dbgHospSele));
                                 dbgHospSele->setFocus();
                             });
    actRedeDesvTodos = acaoTela(Aba::Rede, QStringLiteral("actRedeDesvTodos"), QStringLiteral("<<"),
                                QStringLiteral("desvincular todos os estabelecimentos do plano"),
                                [rede] { rede->DesvinculaTodos(); });
    actCopiarRede = acaoTela(Aba::Rede, QStringLiteral("actCopiarRede"), QStringLiteral("Copiar"),
                             QStringLiteral("Copiar a rede de outro plano para o plano atual"),
                             [this] { actCopiarRedeExecute(); });
    actRedeProcurarVinc = acaoTela(Aba::Rede, QStringLiteral("actRedeProcurarVinc"), QStringLiteral("Procurar"),
                                   QStringLiteral("Encontra um estabelecimento de Saúde vinculado ao plano"),
                                   [this] { actRedeProcurarVincExecute(); });
    actConsCNES = acaoTela(Aba::Rede, QStringLiteral("actConsCNES"), QStringLiteral("CNES"),
                           QStringLiteral("Consulta os dados do estabelecimento no CNES no site do DataSus"),
                           [rede] { rede->ConsultaCadastroPublico(); });
    actRedeVincExcel = acaoTela(Aba::Rede, QStringLiteral("actRedeVincExcel"), QStringLiteral("Excel"),
                                QStringLiteral("Exporta a rede vinculada ao plano para excel"),
                                [rede] { rede->ExportaRede(); });
    actRedeProcurar->setIcon(IconePadrao(QStyle::SP_FileDialogContentsView));
    actCadEstabSaude->setIcon(IconePadrao(QStyle::SP_FileDialogDetailedView));
    actCopiarRede->setIcon(IconePadrao(QStyle::SP_DialogSaveButton));
    actRedeProcurarVinc->setIcon(IconePadrao(QStyle::SP_FileDialogContentsView));
    actConsCNES->setIcon(IconePadrao(QStyle::SP_DriveNetIcon));
    actRedeVincExcel->setIcon(IconePadrao(QStyle::SP_FileIcon));
    for (RowSet* rs : {rede->qryEstabManutRede(), m_dm->cdsPlanoRede()})
        connect(rs, &RowSet::estruturaMudou, this, &TfrmCadPlano::contaEstabelecimentos);
    connect(rede, &TRedePlano::disponiveisLidos, this, [this] {
        RowSet* d = m_edicao->rede()->qryEstabManutRede();
        if (!d->Ativo()) return;
        // the columns the grid shows
        static const QStringList visiveis{"CD_CNPJ_ESTB_SAUD", "CD_CNES", "RAZAO_SOCIAL_ESTB_SAUD",
                                          "NM_MUNC", "CD_UF"};
        for (int c = 0; c < d->Campos().size(); ++c) {
            Campo& f = d->campo(c);
            f.visivel = visiveis.contains(f.nome, Qt::CaseInsensitive);
        }
        d->campo(QStringLiteral("CD_CNPJ_ESTB_SAUD")).rotulo = QStringLiteral("CNPJ");
        d->campo(QStringLiteral("CD_CNPJ_ESTB_SAUD")).mascara = QString::fromLatin1(MascaraCnpj);
        d->campo(QStringLiteral("CD_CNES")).rotulo = QStringLiteral("CNES");
        d->campo(QStringLiteral("RAZAO_SOCIAL_ESTB_SAUD")).rotulo = QStringLiteral("Razão Social");
        d->campo(QStringLiteral("NM_MUNC")).rotulo = QStringLiteral("Município");
        d->campo(QStringLiteral("CD_UF")).rotulo = QStringLiteral("UF");
        if (!dbgHospitais) return;
        if (auto* m = ModeloDaGrade(dbgHospitais)) m->Reinicia();
        dbgHospitais->setToolTip(TRedePlano::DicaDisponiveis(m_edicao->rede()->SegmentacaoDisponiveis()));
    });
}

void TfrmCadPlano::montaTaxa(QWidget* p) {
    auto* l = new QVBoxLayout(p);
    l->addWidget(faixaTitulo(QStringLiteral(" Taxa de Registro de Plano (TRP)"), p));
    dbgTaxaRegistro = grade(p, QStringLiteral("dbgTaxaRegistro"), m_edicao->taxas()->cdsTmpTaxaRegistro());
    auto* editor = new EditorTaxa(dbgTaxaRegistro);
    editor->filtro = this;
    dbgTaxaRegistro->setItemDelegate(editor);
    dbgTaxaRegistro->installEventFilter(this);
    connect(editor, &QAbstractItemDelegate::closeEditor, this,
            [this](QWidget*, QAbstractItemDelegate::EndEditHint dica) {
                RowSet* tmp = m_edicao->taxas()->cdsTmpTaxaRegistro();
                if (!tmp->EmEdicao()) return;
                if (dica == QAbstractItemDelegate::RevertModelCache)
                    tmp->Cancel();  // Escape abandons the row being typed
                else
                    Executa([this] { m_edicao->taxas()->Grava(); });
                Sincroniza();
            });
    const auto botao = [p](QAction* a) {
        auto* b = new QToolButton(p);
        b->setDefaultAction(a);
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        return b;
    };
    auto* barra = new QHBoxLayout;
    for (QAction* a : {actIncTaxaRegistro, actEditTaxaRegistro, actDelTaxaRegistro}) barra->addWidget(botao(a));
    barra->addStretch(1);
    auto* corpo = new QHBoxLayout;
    dbgTaxaRegistro->setMaximumWidth(460);
    corpo->addWidget(dbgTaxaRegistro, 1);
    corpo->addStretch(1);
    l->addLayout(barra);
    l->addLayout(corpo, 1);
}

void TfrmCadPlano::montaLista(QWidget* p, const QString& titulo, QListWidget** lista, const QString& nome) {
    auto* l = new QVBoxLayout(p);
    QLabel* faixa = faixaTitulo(titulo, p);
    l->addWidget(faixa);
    auto* w = new QListWidget(p);
    w->setObjectName(nome);
    faixa->setBuddy(w);
    l->addWidget(w, 1);
    *lista = w;
    const bool reembolso = nome == QLatin1String("lstReembolso");
    TListaItens* itens = reembolso ? m_edicao->itens()->lstReembolso() : m_edicao->itens()->lstServicos();
    connect(itens, &TListaItens::mudou, this, [this, w, itens] { mostraLista(w, itens); });
    connect(w, &QListWidget::itemChanged, this, [this, itens, w](QListWidgetItem* item) {
        const int pos = w->row(item);
        const bool marcado = item->checkState() == Qt::Checked;
        if (pos >= 0 && pos < itens->Count() && itens->item(pos).habilitado && m_edicao->Editando())
            itens->DefineMarcado(pos, marcado);
        else
            mostraLista(w, itens);
    });
    mostraLista(w, itens);
}

void TfrmCadPlano::mostraLista(QListWidget* w, const TListaItens* lista) {
    const QSignalBlocker bloqueio(w);
    if (w->count() != lista->Count()) {
        w->clear();
        for (int p = 0; p < lista->Count(); ++p) w->addItem(lista->item(p).texto);
    }
    for (int p = 0; p < lista->Count(); ++p) {
        QListWidgetItem* i = w->item(p);
        const TListaItens::Item& it = lista->item(p);
        if (i->text() != it.texto) i->setText(it.texto);
        Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
        if (it.habilitado) f |= Qt::ItemIsEnabled;
        if (i->flags() != f) i->setFlags(f);
        const Qt::CheckState c = it.marcado ? Qt::Checked : Qt::Unchecked;
        if (!i->data(Qt::CheckStateRole).isValid() || i->checkState() != c) i->setCheckState(c);
    }
}

void TfrmCadPlano::montaNotas(QWidget* p) {
    auto* l = new QVBoxLayout(p);
    l->addWidget(faixaTitulo(QStringLiteral(" Notas Técnicas de Registro de Produto (NTRP)"), p));
    auto* barra = new QHBoxLayout;
    for (QAction* a : {actNovaNota, actEditar, actExcluirNota}) {
        auto* b = new QToolButton(p);
        b->setDefaultAction(a);
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        barra->addWidget(b);
    }
    barra->addStretch(1);
    l->addLayout(barra);
    dbgNotaTecnica = grade(p, QStringLiteral("dbgNotaTecnica"), m_dm->cdsNotaTecnica());
    dbgNotaTecnica->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    dbgNotaTecnica->horizontalHeader()->setStretchLastSection(true);
    connect(dbgNotaTecnica, &QTableView::doubleClicked, this, [this] {
        if (m_edicao->PodeEditarNota()) actEditar->trigger();
    });
    l->addWidget(dbgNotaTecnica, 1);
}

QAction* TfrmCadPlano::acaoTela(Aba aba, const QString& nome, const QString& texto, const QString& dica,
                                std::function<void()> executa) {
    auto* a = new QAction(texto, this);
    a->setObjectName(nome);
    a->setToolTip(dica);
    connect(a, &QAction::triggered, this, [this, aba, executa = std::move(executa)] {
        GarantePagina(aba);
        Executa(executa);
        Sincroniza();
        AtualizaAcoes();
    });
    return a;
}

namespace {
// A column of move buttons between two grids.
QWidget* colunaBotoes(QWidget* pai, std::initializer_list<QAction*> acoes) {
    auto* w = new QWidget(pai);
    auto* l = new QVBoxLayout(w);
    l->setContentsMargins(0, 0, 0, 0);
    l->addStretch(1);
    for (QAction* a : acoes) {
        auto* b = new QToolButton(w);
        b->setDefaultAction(a);
        b->setObjectName(QStringLiteral("btn") + a->objectName().mid(3));
        b->setFixedSize(34, 28);
        QFont f = b->font();
        f.setBold(true);
        b->setFont(f);
        l->addWidget(b);
    }
    l->addStretch(1);
    w->setFixedWidth(40);
    return w;
}

QToolButton* botaoTexto(QWidget* pai, QAction* a) {
    auto* b = new QToolButton(pai);
    b->setDefaultAction(a);
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    return b;
}

// A combo of the regions of the country, "Todas" first (no value).
void preencheRegioes(QComboBox* c, const RowSet* regioes) {
    if (c->count() > 0 || !regioes->Ativo()) return;
    c->addItem(QStringLiteral("Todas"), QVariant());
    const int cc = regioes->IndiceCampo(QStringLiteral("CD_REGIAO_BRASIL"));
    const int cd = regioes->IndiceCampo(QStringLiteral("DE_REGIAO_BRASIL"));
    for (int p = 0; p < regioes->RecordCount(); ++p)
        c->addItem(regioes->ValorNaPosicao(p, cd).toString(), regioes->ValorNaPosicao(p, cc));
}

// Shows the item whose value is `valor` (the first, empty one for a null).
void mostraValor(QComboBox* c, const QVariant& valor) {
    int i = 0;
    if (!nulo(valor))
        for (int k = 1; k < c->count(); ++k)
            if (c->itemData(k).toString() == valor.toString()) i = k;
    if (c->currentIndex() != i) c->setCurrentIndex(i);
}
}  // namespace

void TfrmCadPlano::montaArea(QWidget* p) {
    TAreaAtuacaoPlano* area = m_edicao->area();
    auto* l = new QVBoxLayout(p);
    l->setContentsMargins(4, 4, 4, 4);
    dbtRegiaoCobertura = new QLabel(p);
    dbtRegiaoCobertura->setObjectName(QStringLiteral("dbtRegiaoCobertura"));
    dbtRegiaoCobertura->setFrameShape(QFrame::StyledPanel);
    dbtRegiaoCobertura->setMinimumWidth(dbtRegiaoCobertura->fontMetrics().horizontalAdvance(QStringLiteral("Região 00")) + 16);
    auto* regiao = new QHBoxLayout;
    auto* rotuloRegiao = new QLabel(QStringLiteral("Região de cobertura:"), p);
    rotuloRegiao->setBuddy(dbtRegiaoCobertura);
    regiao->addWidget(rotuloRegiao);
    regiao->addWidget(dbtRegiaoCobertura);
    regiao->addStretch(1);
    l->addLayout(regiao);
    pgcAreaAtuacao = new QStackedWidget(p);
    pgcAreaAtuacao->setObjectName(QStringLiteral("pgcAreaAtuacao"));
    l->addWidget(pgcAreaAtuacao, 1);

    // --- the state page ---
    tbsUF = new QWidget(pgcAreaAtuacao);
    tbsUF->setObjectName(QStringLiteral("tbsUF"));
    auto* lu = new QGridLayout(tbsUF);
    lu->addWidget(faixaTitulo(QStringLiteral(" UFs de cobertura e Área de Atuação"), tbsUF), 0, 0, 1, 3);
    dbLkpRegiaoUF = new QComboBox(tbsUF);
    dbLkpRegiaoUF->setObjectName(QStringLiteral("dbLkpRegiaoUF"));
    connect(dbLkpRegiaoUF, &QComboBox::activated, this, [this, area](int i) {
        Executa([&] { area->FiltraRegiaoUF(dbLkpRegiaoUF->itemData(i)); });
        AtualizaAcoes();
    });
    dbgListaUF = grade(tbsUF, QStringLiteral("dbgListaUF"), m_dm->cdsListaUF(), true);
    dbgUFSelecionada = grade(tbsUF, QStringLiteral("dbgUFSelecionada"), m_dm->cdsPlanosUF(), true);
    DefineTeclaDeMover(actIncluiTodasUF, Movimento::IncluiTodos, tbsUF);
    DefineTeclaDeMover(actIncluiUF, Movimento::IncluiMarcados, tbsUF);
    DefineTeclaDeMover(actRetiraUF, Movimento::RetiraMarcados, tbsUF);
    DefineTeclaDeMover(actRetiraTodasUF, Movimento::RetiraTodos, tbsUF);
    lu->addWidget(CelulaRotulada(tbsUF, QStringLiteral("Região"), dbLkpRegiaoUF), 1, 0);
    auto* rotuloUFs = new QLabel(QStringLiteral("UFs da área de atuação do plano"), tbsUF);
    rotuloUFs->setBuddy(dbgUFSelecionada);
    lu->addWidget(rotuloUFs, 1, 2, Qt::AlignBottom);
    lu->addWidget(dbgListaUF, 2, 0);
    lu->addWidget(colunaBotoes(tbsUF, {actIncluiTodasUF, actIncluiUF, actRetiraUF, actRetiraTodasUF}), 2, 1);
    lu->addWidget(dbgUFSelecionada, 2, 2);
    lu->setColumnStretch(0, 1);
    lu->setColumnStretch(2, 1);
    lu->setRowStretch(2, 1);
    pgcAreaAtuacao->addWidget(tbsUF);

    // --- the municipality page ---
    tbsMunicipio = new QWidget(pgcAreaAtuacao);
    tbsMunicipio->setObjectName(QStringLiteral("tbsMunicipio"));
    auto* lm = new QGridLayout(tbsMunicipio);
    lm->addWidget(faixaTitulo(QStringLiteral(" Municípios de cobertura e Área de Atuação"), tbsMunicipio), 0, 0,
                  1, 4);
    dblkpRegiao = new QComboBox(tbsMunicipio);
    dblkpRegiao->setObjectName(QStringLiteral("dblkpRegiao"));
    connect(dblkpRegiao, &QComboBox::activated, this, [this, area](int i) {
        Executa([&] { area->FiltraRegiaoMunicipio(dblkpRegiao->itemData(i)); });
        AtualizaAcoes();
    });
    dbgUF = grade(tbsMunicipio, QStringLiteral("dbgUF"), m_dm->cdsUF());
    // the row number, the state code whole and the scroll bar
    dbgUF->setFixedWidth(dbgUF->fontMetrics().horizontalAdvance(QStringLiteral("00  UF  ")) +
                         dbgUF->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 48);
    edtPesqMunicipio = new QLineEdit(tbsMunicipio);
    edtPesqMunicipio->setObjectName(QStringLiteral("edtPesqMunicipio"));
    edtPesqMunicipio->setMaxLength(40);
    connect(edtPesqMunicipio, &QLineEdit::textEdited, this, [this, area](const QString& texto) {
        const QString maiusculas = texto.toUpper();  // typed text forced to upper case
        if (maiusculas != texto) {
            const int cursor = edtPesqMunicipio->cursorPosition();
            edtPesqMunicipio->setText(maiusculas);
            edtPesqMunicipio->setCursorPosition(cursor);
        }
        Executa([&] { area->PesquisaMunicipio(maiusculas); });
        AtualizaAcoes();
    });
    dbgMunicipio = grade(tbsMunicipio, QStringLiteral("dbgMunicipio"), m_dm->cdsMunicipio(), true);
    cmbFiltroUF = new QComboBox(tbsMunicipio);
    cmbFiltroUF->setObjectName(QStringLiteral("cmbFiltroUF"));
    connect(cmbFiltroUF, &QComboBox::activated, this, [this, area](int i) {
        Executa([&] { area->FiltraMunicipiosDaUF(cmbFiltroUF->itemData(i).toString()); });
        AtualizaAcoes();
    });
    dbgMunicipioAtuacao = grade(tbsMunicipio, QStringLiteral("dbgMunicipioAtuacao"), m_dm->cdsPlanosMunicipio(), true);
    esticaColuna(dbgMunicipioAtuacao, QStringLiteral("NM_MUNC"));
    DefineTeclaDeMover(actIncluiTodosMunicipios, Movimento::IncluiTodos, tbsMunicipio);
    DefineTeclaDeMover(actIncluiMunicipio, Movimento::IncluiMarcados, tbsMunicipio);
    DefineTeclaDeMover(actRetiraMunicipio, Movimento::RetiraMarcados, tbsMunicipio);
    DefineTeclaDeMover(actRetiraTodosMunicipios, Movimento::RetiraTodos, tbsMunicipio);
    auto* buscas = new QHBoxLayout;
    buscas->addWidget(CelulaRotulada(tbsMunicipio, QStringLiteral("Pesquisa"), edtPesqMunicipio), 1);
    auto* filtro = new QHBoxLayout;
    filtro->addWidget(CelulaRotulada(tbsMunicipio, QStringLiteral("Filtro"), cmbFiltroUF));
    filtro->addStretch(1);
    lm->addWidget(CelulaRotulada(tbsMunicipio, QStringLiteral("Região"), dblkpRegiao), 1, 0, 1, 2);
    lm->addLayout(buscas, 2, 1);
    lm->addLayout(filtro, 2, 3);
    lm->addWidget(dbgUF, 3, 0);
    lm->addWidget(dbgMunicipio, 3, 1);
    lm->addWidget(colunaBotoes(tbsMunicipio, {actIncluiMunicipio, actRetiraMunicipio, actIncluiTodosMunicipios,
                                             actRetiraTodosMunicipios}),
                  3, 2);
    lm->addWidget(dbgMunicipioAtuacao, 3, 3);
    lm->setColumnStretch(1, 1);
    lm->setColumnStretch(3, 1);
    lm->setRowStretch(3, 1);
    pgcAreaAtuacao->addWidget(tbsMunicipio);
    // a double click moves the row, as its button does
    connect(dbgListaUF, &QTableView::doubleClicked, actIncluiUF, [this] { if (actIncluiUF->isEnabled()) actIncluiUF->trigger(); });
    connect(dbgUFSelecionada, &QTableView::doubleClicked, actRetiraUF, [this] { if (actRetiraUF->isEnabled()) actRetiraUF->trigger(); });
    connect(dbgMunicipio, &QTableView::doubleClicked, actIncluiMunicipio,
            [this] { if (actIncluiMunicipio->isEnabled()) actIncluiMunicipio->trigger(); });
    connect(dbgMunicipioAtuacao, &QTableView::doubleClicked, actRetiraMunicipio,
            [this] { if (actRetiraMunicipio->isEnabled()) actRetiraMunicipio->trigger(); });
    preencheListasArea();
}

void TfrmCadPlano::preencheListasArea() {
    if (!cmbFiltroUF) return;
    preencheRegioes(dbLkpRegiaoUF, m_dm->cdsRegiaoBrasil());
    preencheRegioes(dblkpRegiao, m_dm->cdsRegiaoBrasil());
    const RowSet* ufs = m_dm->cdsFiltroUF();
    if (cmbFiltroUF->count() == 0 && ufs->Ativo()) {
        cmbFiltroUF->addItem(QStringLiteral("Nenhum"), QString());
        const int c = ufs->IndiceCampo(QStringLiteral("CD_UF"));
        for (int p = 0; p < ufs->RecordCount(); ++p) {
            const QString uf = ufs->ValorNaPosicao(p, c).toString();
            cmbFiltroUF->addItem(uf, uf);
        }
    }
}

void TfrmCadPlano::sincronizaArea() {
    const TAreaAtuacaoPlano* area = m_edicao->area();
    preencheListasArea();
    mostraValor(dbLkpRegiaoUF, area->RegiaoUF());
    mostraValor(dblkpRegiao, area->RegiaoMunicipio());
    mostraValor(cmbFiltroUF, area->UfFiltrada().isEmpty() ? QVariant() : QVariant(area->UfFiltrada()));
    if (edtPesqMunicipio->text() != area->Pesquisa() && !edtPesqMunicipio->hasFocus())
        edtPesqMunicipio->setText(area->Pesquisa());
    const RowSet* p = m_dm->cdsPlano();
    dbtRegiaoCobertura->setText(p->Ativo() && !p->IsEmpty()
                                    ? p->Valor(QStringLiteral("DE_REGIAO_COBERTURA")).toString()
                                    : QString());
}

void TfrmCadPlano::montaRede(QWidget* p) {
    TRedePlano* rede = m_edicao->rede();
    auto* l = new QGridLayout(p);
    l->addWidget(faixaTitulo(QStringLiteral("Estabelecimentos de Saúde disponíveis"), p), 0, 0);
    l->addWidget(faixaTitulo(QStringLiteral("Estabelecimentos de Saúde vinculados ao PLANO"), p), 0, 2);
    dbgHospitais = grade(p, QStringLiteral("dbgHospitais"), rede->qryEstabManutRede(), true);
    dbgHospSele = grade(p, QStringLiteral("dbgHospSele"), m_dm->cdsPlanoRede(), true);

    // --- the available side ---
    edtFiltroEstab = new QLineEdit(p);
    edtFiltroEstab->setObjectName(QStringLiteral("edtFiltroEstab"));
    edtFiltroEstab->setToolTip(QStringLiteral("Pesquisa um estabelecimento pelo nome da razão social"));
    edtFiltroEstab->setMaxLength(60);
    connect(edtFiltroEstab, &QLineEdit::textChanged, this,
            [this, rede](const QString& texto) { Executa([&] { rede->LocalizaNome(texto); }); });
    auto* barraDisponiveis = new QHBoxLayout;
    barraDisponiveis->addWidget(botaoTexto(p, actRedeProcurar));
    btnCadEstabSaude = botaoTexto(p, actCadEstabSaude);
    btnCadEstabSaude->setObjectName(QStringLiteral("btnCadEstabSaude"));
    barraDisponiveis->addWidget(btnCadEstabSaude);
    auto* rotuloNome = new QLabel(QStringLiteral("Razão Social:"), p);
    rotuloNome->setBuddy(edtFiltroEstab);
    barraDisponiveis->addWidget(rotuloNome);
    barraDisponiveis->addWidget(edtFiltroEstab, 1);
    l->addLayout(barraDisponiveis, 1, 0);
    l->addWidget(dbgHospitais, 2, 0);
    connect(dbgHospitais, &QTableView::doubleClicked, this, [this] {
        if (actCadEstabSaude->isEnabled()) actCadEstabSaude->trigger();
    });

    // --- the buttons between ---
    DefineTeclaDeMover(actRedeVincTodos, Movimento::IncluiTodos, p);
    DefineTeclaDeMover(actRedeVincUm, Movimento::IncluiMarcados, p);
    DefineTeclaDeMover(actRedeDesvUm, Movimento::RetiraMarcados, p);
    DefineTeclaDeMover(actRedeDesvTodos, Movimento::RetiraTodos, p);
    l->addWidget(colunaBotoes(p, {actRedeVincTodos, actRedeVincUm, actRedeDesvUm, actRedeDesvTodos}), 2, 1);

    // --- the linked side ---
    auto* barraVinculados = new QHBoxLayout;
    barraVinculados->addWidget(botaoTexto(p, actCopiarRede));
    barraVinculados->addWidget(botaoTexto(p, actRedeProcurarVinc));
    barraVinculados->addWidget(botaoTexto(p, actConsCNES));
    barraVinculados->addWidget(botaoTexto(p, actRedeVincExcel));
    barraVinculados->addStretch(1);
    auto* desvTodos = new QToolButton(p);  // a second unlink-all button
    desvTodos->setObjectName(QStringLiteral("btnDesvTodos2"));
    desvTodos->setDefaultAction(actRedeDesvTodos);
    barraVinculados->addWidget(desvTodos);
    l->addLayout(barraVinculados, 1, 2);
    l->addWidget(dbgHospSele, 2, 2);

    pnlQtEstab = new QLabel(p);
    pnlQtEstab->setObjectName(QStringLiteral("pnlQtEstab"));
    pnlQtEstabVinc = new QLabel(p);
    pnlQtEstabVinc->setObjectName(QStringLiteral("pnlQtEstabVinc"));
    l->addWidget(pnlQtEstab, 3, 0);
    l->addWidget(pnlQtEstabVinc, 3, 2);
    // the offered list has municipality and state besides the name: three fifths of the tab
    l->setColumnStretch(0, 3);
    l->setColumnStretch(2, 2);
    // CNPJ, CNES, municipality and state whole; the name takes what is left
    for (QTableView* g : {dbgHospitais, dbgHospSele}) {
        connect(ModeloDaGrade(g), &QAbstractItemModel::modelReset, g, [g] {
            const QFontMetrics fm = g->fontMetrics();
            g->setColumnWidth(0, fm.horizontalAdvance(QStringLiteral("00.000.000/0000-00")) + 16);
            g->setColumnWidth(1, fm.horizontalAdvance(QStringLiteral("0000000")) + 16);
            if (const ModeloRowSet* m = ModeloDaGrade(g)) {
                const int municipio = m->colunaDoCampo(QStringLiteral("NM_MUNC"));
                const int uf = m->colunaDoCampo(QStringLiteral("CD_UF"));
                if (municipio >= 0) g->setColumnWidth(municipio, fm.horizontalAdvance(QStringLiteral("SAO JOSE DOS CAMPOS")) + 16);
                if (uf >= 0) g->setColumnWidth(uf, fm.horizontalAdvance(QStringLiteral("UF")) + 24);
            }
        });
    }
    esticaColuna(dbgHospitais, QStringLiteral("RAZAO_SOCIAL_ESTB_SAUD"));
    esticaColuna(dbgHospSele, QStringLiteral("RAZAO_SOCIAL_ESTB_SAUD"));
    if (rede->qryEstabManutRede()->Ativo())
        dbgHospitais->setToolTip(TRedePlano::DicaDisponiveis(rede->SegmentacaoDisponiveis()));
    contaEstabelecimentos();
}

void TfrmCadPlano::contaEstabelecimentos() {
    if (!pnlQtEstab) return;
    const QLocale br(QLocale::Portuguese, QLocale::Brazil);
    pnlQtEstab->setText(br.toString(m_edicao->rede()->qryEstabManutRede()->RecordCount()) +
                        QStringLiteral(" estabelecimento(s)"));
    pnlQtEstabVinc->setText(br.toString(m_dm->cdsPlanoRede()->RecordCount()) +
                            QStringLiteral(" estabelecimento(s) vinculado(s)"));
}

void TfrmCadPlano::ligaCampos() {
    VinculoCampos* v = vinculos();
    v->liga(dbedtNome, QStringLiteral("NM_PLANO"));
    v->liga(dblkpContraracao, QStringLiteral("CD_TIPO_CONTRATO"));
    v->liga(dblkpAbrangencia, QStringLiteral("CD_ABRANGENCIA"));
    v->liga(dblkpSegmentacao, QStringLiteral("CD_SEGMENTACAO"));
    v->liga(dblkpSegmentacaoBrowse, QStringLiteral("CD_SEGMENTACAO"));
    const QString s = QStringLiteral("S"), n = QStringLiteral("N");
    v->liga(chkVinculoAtivo, QStringLiteral("LG_VB_VINCULO_ATIVO"), s, n);
    v->liga(chkVinculoInativo, QStringLiteral("LG_VB_VINCULO_INATIVO"), s, n);
    v->liga(chkSemVinculo, QStringLiteral("LG_VB_SEM_VINCULO"), s, n);
    v->liga(chkCoparticipacao, QStringLiteral("LG_FM_COPARTICIPACAO"), s, n);
    v->liga(chkFranquia, QStringLiteral("LG_FM_FRANQUIA"), s, n);
    v->liga(dedProtocoloEntrega, QStringLiteral("NR_PROTOCOLO_REGISTRO"));

    RowSet* p = m_dm->cdsPlano();
    connect(dbedtNome, &QLineEdit::textEdited, this, [this] { m_edicao->NomeDigitado(); });
    connect(dblkpContraracao, &QComboBox::activated, this,
            [this] { Executa([this] { m_edicao->ContratoAlterado(); }); });
    connect(dblkpAbrangencia, &QComboBox::activated, this,
            [this] { Executa([this] { m_edicao->AbrangenciaAlterada(); }); });
    connect(dblkpSegmentacao, &QComboBox::activated, this,
            [this] { Executa([this] { m_edicao->SegmentacaoAlterada(); }); });
    connect(m_preco, &QButtonGroup::idClicked, this,
            [this](int id) { Executa([this, id] { m_edicao->ClicaPreco(Preco(id)); }); });
    connect(chkVinculoAtivo, &QCheckBox::clicked, this,
            [this] { m_edicao->ClicaVinculo(TEdicaoPlano::Vinculo::Ativo); });
    connect(chkVinculoInativo, &QCheckBox::clicked, this,
            [this] { m_edicao->ClicaVinculo(TEdicaoPlano::Vinculo::Inativo); });
    connect(chkSemVinculo, &QCheckBox::clicked, this,
            [this] { m_edicao->ClicaVinculo(TEdicaoPlano::Vinculo::Sem); });
    connect(chkCoparticipacao, &QCheckBox::clicked, this, [this] { m_edicao->AjustaAbas(); });
    connect(chkFranquia, &QCheckBox::clicked, this, [this] { m_edicao->AjustaAbas(); });
    const auto grava = [this, p](const char* campo, const QVariant& valor) {
        if (p->EmEdicao()) p->DefineValor(QString::fromLatin1(campo), valor);
    };
    connect(m_opcaoPos, &QButtonGroup::idClicked, this, [this, grava](int id) {
        grava("CD_OPCAO_POS_ESTABELECIDO", id == 0 ? QStringLiteral("R") : QStringLiteral("C"));
        m_edicao->AjustaAbas();
    });
    connect(m_acomodacao, &QButtonGroup::idClicked, this, [this, grava](int id) {
        grava("CD_PADRAO_ACOMODACAO", id == 0 ? QStringLiteral("I") : QStringLiteral("C"));
        m_edicao->AjustaAbas();
    });
    connect(m_livre, &QButtonGroup::idClicked, this, [this, grava](int id) {
        grava("LG_TOTAL_LIVRE_ESCOLHA", id == 0 ? QStringLiteral("S") : QStringLiteral("N"));
        m_edicao->LivreEscolhaAlterada();
    });
    // the radio groups bound to columns follow the row
    // (another row shown: the model announces it once it has displayed it)
    connect(p, &RowSet::valorMudou, this, [this] { Sincroniza(); });
    connect(p, &RowSet::estadoMudou, this, [this] { Sincroniza(); });
}

// ---------------------------------------------------------------------------
// State shown
// ---------------------------------------------------------------------------

QWidget* TfrmCadPlano::Pagina(Aba aba) const {
    switch (aba) {
        case Aba::DadosGerais:
            return tbsDadosGerais;
        case Aba::Taxa:
            return tbsTaxaRegistro;
        case Aba::LivreEscolha:
            return tbsReembolso;
        case Aba::Servicos:
            return tbsServOpcionais;
        case Aba::NotasTecnicas:
            return tbsNotaTecnica;
        case Aba::AreaAtuacao:
            return tbsAreaAtuacao;
        case Aba::Rede:
            return tbsRede;
    }
    return nullptr;
}

void TfrmCadPlano::Sincroniza() {
    if (m_sincronizando) return;
    m_sincronizando = true;
    const RowSet* p = m_dm->cdsPlano();
    const bool editando = m_edicao->Editando();
    const bool temPlano = p->Ativo() && !p->IsEmpty();
    const auto valor = [p, temPlano](const char* campo) {
        return temPlano ? p->Valor(QString::fromLatin1(campo)).toString() : QString();
    };
    const TEdicaoPlano::Habilitacao h = m_edicao->Habilitado();

    marcaGrupo(m_preco, m_edicao->FormacaoPreco() == Preco::Nenhum ? -1 : int(m_edicao->FormacaoPreco()));
    rbtPreEstabelecido->setEnabled(h.pre);
    rbtPosEstabelecido->setEnabled(h.pos);
    rbtMisto->setEnabled(h.misto);
    const QString opcao = valor("CD_OPCAO_POS_ESTABELECIDO");
    marcaGrupo(m_opcaoPos, opcao == QLatin1String("R") ? 0 : opcao == QLatin1String("C") ? 1 : -1);
    grpOpcaoPosEstab->setEnabled(h.opcaoPos);
    chkVinculoAtivo->setEnabled(h.vinculoAtivo);
    chkVinculoInativo->setEnabled(h.vinculoInativo);
    chkSemVinculo->setEnabled(h.semVinculo);
    const QString acomodacao = h.acomodacao ? valor("CD_PADRAO_ACOMODACAO") : QString();
    marcaGrupo(m_acomodacao, acomodacao == QLatin1String("I") ? 0 : acomodacao == QLatin1String("C") ? 1 : -1);
    grpPadraoAcomodacao->setEnabled(h.acomodacao);
    rbtIndividual->setEnabled(h.individual);
    rbtColetiva->setEnabled(h.coletiva);
    chkCoparticipacao->setEnabled(h.coparticipacao);
    chkFranquia->setEnabled(h.franquia);
    const QString livre = valor("LG_TOTAL_LIVRE_ESCOLHA");
    marcaGrupo(m_livre, livre == QLatin1String("S") ? 0 : livre == QLatin1String("N") ? 1 : -1);

    // the edit-time segmentation control while adding or editing, the browsing one otherwise
    dblkpSegmentacao->setVisible(editando);
    dblkpSegmentacaoBrowse->setVisible(!editando);
    if (auto* r = findChild<QLabel*>(QStringLiteral("lblSegmentacao")))
        r->setBuddy(editando ? dblkpSegmentacao : dblkpSegmentacaoBrowse);

    for (int i = 0; i < TEdicaoPlano::kAbas; ++i) {
        const Aba aba = Aba(i);
        const bool habilitada = m_edicao->AbaHabilitada(aba) && (aba != Aba::DadosGerais || editando);
        QWidget* pagina = Pagina(aba);
        if (pagina->isEnabled() == habilitada && m_abasMostradas[i] == int(habilitada)) continue;
        m_abasMostradas[i] = habilitada;
        pagina->setEnabled(habilitada);
        pgcInfoPlano->tabBar()->setTabTextColor(
            pgcInfoPlano->indexOf(pagina),
            palette().color(habilitada ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    }
    if (pgcAreaAtuacao) {
        pgcAreaAtuacao->setCurrentWidget(m_edicao->PaginaUFs() ? tbsUF : tbsMunicipio);
        sincronizaArea();
    }
    const Aba atual = m_edicao->AbaAtual();
    const bool listas = atual == Aba::LivreEscolha || atual == Aba::Servicos;
    btnMarcar->setVisible(listas);
    btnDesmarcar->setVisible(listas);
    actMarcar->setVisible(listas);
    actDesmarcar->setVisible(listas);
    if (dbgTaxaRegistro)
        ModeloDaGrade(dbgTaxaRegistro)->DefineEditavel(m_edicao->taxas()->cdsTmpTaxaRegistro()->EmEdicao());
    m_sincronizando = false;
}

void TfrmCadPlano::DefineHabilitacoes(Habilitacoes& h) {
    TfrmModeloCadastro::DefineHabilitacoes(h);
    if (!m_edicao) return;
    const bool editando = m_edicao->Editando();
    const bool navegando = Navegando();
    // the tabs may be looked at while browsing; the header and "Dados gerais" are edited only
    h.habilita(pnlDados(), true);
    h.habilita(grpPlano, editando);
    h.habilita(tbsDadosGerais, editando);
    h.habilita(actAlteraProtocolo, editando);
    h.habilita(actMarcar, editando);
    h.habilita(actDesmarcar, editando);
    h.habilita(btnMarcar, editando);
    h.habilita(btnDesmarcar, editando);
    h.habilita(actImprimir, navegando && bool(TelasRelacionadas().relatorio) && !dtsCadastro()->IsEmpty());
    h.habilita(actVerificarPendencias, navegando && bool(TelasRelacionadas().pendencias) && !dtsCadastro()->IsEmpty());
    h.habilita(actAnterior, navegando && dtsCadastro()->RecNo() > 0);
    h.habilita(actProximo, navegando && dtsCadastro()->RecNo() < dtsCadastro()->RecordCount() - 1);
    h.habilita(actIncTaxaRegistro, m_edicao->PodeNovaTaxa());
    h.habilita(actEditTaxaRegistro, m_edicao->PodeEditarTaxa());
    h.habilita(actDelTaxaRegistro, m_edicao->PodeEditarTaxa());
    h.habilita(actNovaNota, m_edicao->PodeNovaNota());
    h.habilita(actEditar, m_edicao->PodeEditarNota());
    h.habilita(actExcluirNota, m_edicao->PodeEditarNota());
    const TAreaAtuacaoPlano::Botoes area =
        m_edicao->area()->Disponiveis(editando, m_edicao->AbaHabilitada(Aba::AreaAtuacao));
    for (QAction* a : {actIncluiTodasUF, actIncluiUF}) h.habilita(a, area.incluiUF);
    for (QAction* a : {actRetiraUF, actRetiraTodasUF}) h.habilita(a, area.retiraUF);
    for (QAction* a : {actIncluiMunicipio, actIncluiTodosMunicipios}) h.habilita(a, area.incluiMunicipio);
    for (QAction* a : {actRetiraMunicipio, actRetiraTodosMunicipios}) h.habilita(a, area.retiraMunicipio);
    const TRedePlano::Botoes rede = m_edicao->rede()->Disponiveis(
        editando, m_edicao->AbaHabilitada(Aba::Rede), m_edicao->PesquisaDisponiveis());
    for (QAction* a : {actRedeVincTodos, actRedeVincUm, actCadEstabSaude}) h.habilita(a, rede.vincula);
    for (QAction* a : {actRedeDesvUm, actRedeDesvTodos}) h.habilita(a, rede.desvincula);
    h.habilita(actCopiarRede, rede.copia);
    h.habilita(actRedeProcurarVinc, rede.pesquisaVinculados);
    h.habilita(actRedeVincExcel, rede.pesquisaVinculados);
    h.habilita(actConsCNES, rede.cnes);
    h.habilita(actRedeProcurar, rede.pesquisaDisponiveis);
}

void TfrmCadPlano::AtualizaDados() {
    if (!m_edicao) return;
    m_edicao->AtualizaDados();
    // the panel speaks of one plan: another one shown empties it
    if (pnlPendencias && m_seqPendencias.isValid() &&
        (dtsCadastro()->IsEmpty() || dtsCadastro()->Valor(QStringLiteral("SEQ_PLANO")) != m_seqPendencias)) {
        pnlPendencias->Limpa();
        m_seqPendencias = QVariant();
    }
    Sincroniza();
}

void TfrmCadPlano::montaPendencias() {
    actVerificarPendencias = NovaAcaoNaBarra(QStringLiteral("actVerificarPendencias"), QStringLiteral("Pendências"),
                                             QStringLiteral("Verificar pendências"), QStyle::SP_MessageBoxWarning);
    connect(actVerificarPendencias, &QAction::triggered, this, [this] { Executa([this] { VerificaPendencias(); }); });
    // the panel speaks of one plan: moving to another empties it
    connect(m_dm->cdsPlano(), &RowSet::registroMudou, this, [this] {
        if (pnlPendencias && m_seqPendencias.isValid() &&
            (dtsCadastro()->IsEmpty() || dtsCadastro()->Valor(QStringLiteral("SEQ_PLANO")) != m_seqPendencias)) {
            pnlPendencias->Limpa();
            m_seqPendencias = QVariant();
        }
    });
}

void TfrmCadPlano::VerificaPendencias() {
    AtualizaAcoes();
    if (!actVerificarPendencias->isEnabled()) return;
    QVector<PendenciaPlano> achadas;
    {
        CursorEspera espera;
        achadas = TelasRelacionadas().pendencias(*dtsCadastro());
    }
    m_seqPendencias = dtsCadastro()->Valor(QStringLiteral("SEQ_PLANO"));
    if (!pnlPendencias) {
        // made at the first check: most openings never ask for one
        pnlPendencias = new TPainelPendencias(this);
        // between the data area and the bottom band of the template
        if (auto* raiz = qobject_cast<QBoxLayout*>(layout())) raiz->insertWidget(raiz->count() - 1, pnlPendencias);
        connect(pnlPendencias, &TPainelPendencias::irPara, this, [this](const QString& campo) {
            Executa([this, campo] { IrParaPendencia(campo); });
        });
    }
    pnlPendencias->Mostra(achadas);
}

void TfrmCadPlano::IrParaPendencia(const QString& campo) {
    const DestinoPendencia d = DestinoDaPendencia(campo);
    if (d.controle.isEmpty()) return;
    GarantePagina(d.aba);
    pgcInfoPlano->setCurrentWidget(Pagina(d.aba));
    QWidget* w = d.controle == QLatin1String("area")
                     ? (pgcAreaAtuacao->currentWidget() == tbsMunicipio ? static_cast<QWidget*>(dbgMunicipioAtuacao)
                                                                        : static_cast<QWidget*>(dbgUFSelecionada))
                     : findChild<QWidget*>(d.controle);
    if (!w) return;
    // the field is reached to be corrected: a stored plan that may be changed is edited
    AtualizaAcoes();
    if (!w->isEnabled() && actAlterar->isEnabled()) {
        actAlterar->trigger();
        AtualizaAcoes();
    }
    // a tab stays closed while an attribute of "Dados gerais" is missing: that attribute is
    // what keeps the control out of reach, so it is the one reached
    if (!w->isEnabled() && d.aba != Aba::DadosGerais)
        if (const auto falta = m_edicao->AtributoIncompleto(); falta != TEdicaoPlano::Controle::Nenhum) {
            pgcInfoPlano->setCurrentWidget(Pagina(Aba::DadosGerais));
            w = ControleDaFalha(falta);
        }
    w->setFocus(Qt::OtherFocusReason);
    // the tab shown may still move the focus while it settles: the control keeps it
    QTimer::singleShot(0, w, [w] { w->setFocus(Qt::OtherFocusReason); });
}

void TfrmCadPlano::mostraAba(Aba aba) {
    QWidget* pagina = Pagina(aba);
    if (pgcInfoPlano->currentWidget() != pagina) pgcInfoPlano->setCurrentWidget(pagina);
    Sincroniza();
}

void TfrmCadPlano::abaAlterada(int indice) {
    const auto abaDe = [this](QWidget* pagina) {
        for (int i = 0; i < TEdicaoPlano::kAbas; ++i)
            if (Pagina(Aba(i)) == pagina) return i;
        return -1;
    };
    const int anterior = abaDe(pgcInfoPlano->widget(m_abaAnterior));
    m_abaAnterior = indice;
    if (anterior >= 0) Executa([this, anterior] { m_edicao->SaiDaAba(Aba(anterior)); });
    const int nova = abaDe(pgcInfoPlano->widget(indice));
    if (nova >= 0) {
        GarantePagina(Aba(nova));  // a window not on screen shows no page
        Executa([this, nova] { m_edicao->AbaMostrada(Aba(nova)); });
    }
    Sincroniza();
}

QWidget* TfrmCadPlano::ControleDaFalha(Controle c) {
    const auto primeiro = [](std::initializer_list<QWidget*> ws) -> QWidget* {
        for (QWidget* w : ws)
            if (w->isEnabled()) return w;
        return *ws.begin();
    };
    switch (c) {
        case Controle::Nome:
            return dbedtNome;
        case Controle::Contratacao:
            return dblkpContraracao;
        case Controle::Abrangencia:
            return dblkpAbrangencia;
        case Controle::Segmentacao:
            return dblkpSegmentacao;
        case Controle::FormacaoPreco:
            return primeiro({rbtPreEstabelecido, rbtPosEstabelecido, rbtMisto});
        case Controle::OpcaoPos:
            return rbtRateio;
        case Controle::Vinculo:
            return primeiro({chkVinculoAtivo, chkVinculoInativo, chkSemVinculo});
        case Controle::Acomodacao:
            return primeiro({rbtIndividual, rbtColetiva});
        case Controle::LivreEscolha:
            return rbtLivreSim;
        case Controle::Taxas:
            GarantePagina(Aba::Taxa);
            return dbgTaxaRegistro;
        case Controle::Nenhum:
            break;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------
// Actions
// ---------------------------------------------------------------------------

void TfrmCadPlano::focaNome() {
    dbedtNome->setFocus();
}

void TfrmCadPlano::actAdicionarExecute() {
    m_edicao->Adiciona();
    AtualizaAcoes();
    Sincroniza();
    focaNome();
}

void TfrmCadPlano::actAlterarExecute() {
    if (!m_edicao->Edita()) return;
    AtualizaAcoes();
    Sincroniza();
    focaNome();
}

void TfrmCadPlano::actCancelarExecute() {
    m_edicao->Cancela();
    Sincroniza();
}

void TfrmCadPlano::actCadastrarExecute() {
    const TEdicaoPlano::Resultado r = m_edicao->Grava();
    switch (r.tipo) {
        case TEdicaoPlano::Resultado::Bloqueado:
            if (QWidget* w = ControleDaFalha(r.controle)) {
                AtualizaAcoes();
                w->setFocus();
            }
            break;
        case TEdicaoPlano::Resultado::Erro:
            m_edicao->Fecha();
            Fecha();
            return;
        case TEdicaoPlano::Resultado::Gravado:
        case TEdicaoPlano::Resultado::Desistiu:
            break;
    }
    Sincroniza();
}

void TfrmCadPlano::actExcluirExecute() {
    m_edicao->Exclui();
    Sincroniza();
}

void TfrmCadPlano::actAnteriorExecute() { m_edicao->Anterior(); }

void TfrmCadPlano::actProximoExecute() { m_edicao->Proximo(); }

void TfrmCadPlano::actPesquisarExecute() {
    TfrmConsulta consulta(this, QStringLiteral("Pesquisa de Plano"),
                          QStringLiteral("Plano;Abrangência Geográfica;Segmentação Assistencial;Contratação"),
                          QStringLiteral("NM_PLANO;DE_ABRANGENCIA;DE_SEGMENTACAO;DE_TIPO_CONTRATO;CD_OPER;SEQ_PLANO"),
                          kSqlPesquisa, DmConexao()->banco());
    consulta.EscondeColuna(QStringLiteral("CD_OPER"));
    consulta.EscondeColuna(QStringLiteral("SEQ_PLANO"));
    const int larguras[] = {350, 170, 170, 170};
    for (int c = 0; c < 4; ++c) consulta.grdConsulta()->setColumnWidth(c, larguras[c]);
    if (Modal::executa(consulta) != QDialog::Accepted) return;
    const QVariant op = consulta.Valor(QStringLiteral("CD_OPER"));
    const QVariant seq = consulta.Valor(QStringLiteral("SEQ_PLANO"));
    if (nulo(seq)) return;
    m_edicao->LocalizaPlano(op.toString(), seq.toLongLong());
}

void TfrmCadPlano::actSairExecute() {
    m_edicao->Fecha();
    Fecha();
}

void TfrmCadPlano::actImprimirExecute() {
    if (TelasRelacionadas().relatorio) TelasRelacionadas().relatorio(this, m_dm->SeqPlanoAtual());
}

void TfrmCadPlano::actAlteraProtocoloExecute() {
    const RowSet* p = m_dm->cdsPlano();
    TfrmAlteraProtocolo dlg(p->Valor(QStringLiteral("NR_PROTOCOLO_REGISTRO")).toString(),
                            p->Valor(QStringLiteral("NR_PROTOCOLO_SOLICITACAO")).toString().trimmed().isEmpty(),
                            this);
    if (Modal::executa(dlg) == QDialog::Accepted) m_edicao->AlteraProtocolo(dlg.Protocolo());
}

void TfrmCadPlano::abreNota() {
    TfrmCadNotaTecnica dlg(m_dm, this);
    Modal::executa(dlg);
    if (m_dm->cdsNotaTecnica()->EmEdicao()) m_dm->cdsNotaTecnica()->Cancel();
    GarantePagina(Aba::NotasTecnicas);
    dbgNotaTecnica->setFocus();
}

void TfrmCadPlano::actNovaNotaExecute() {
    m_edicao->NovaNota();
    abreNota();
}

void TfrmCadPlano::actEditarNotaExecute() {
    m_edicao->EditaNota();
    abreNota();
}

void TfrmCadPlano::editaTaxaNaGrade() {
    GarantePagina(Aba::Taxa);
    Sincroniza();
    RowSet* tmp = m_edicao->taxas()->cdsTmpTaxaRegistro();
    ModeloRowSet* m = ModeloDaGrade(dbgTaxaRegistro);
    const int coluna = m->colunaDoCampo(QStringLiteral("nr_documento_taxa"));
    const QModelIndex i = m->index(tmp->RecNo(), coluna);
    dbgTaxaRegistro->setFocus();
    dbgTaxaRegistro->setCurrentIndex(i);
    dbgTaxaRegistro->edit(i);
}

bool TfrmCadPlano::eventFilter(QObject* o, QEvent* e) {
    TTaxasTemporarias* taxas = m_edicao ? m_edicao->taxas() : nullptr;
    const bool naGrade = o == dbgTaxaRegistro || (o && o->objectName() == QLatin1String("edtTaxa"));
    if (taxas && naGrade && e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        RowSet* tmp = taxas->cdsTmpTaxaRegistro();
        const int tecla = k->key();
        if (o != dbgTaxaRegistro && (tecla == Qt::Key_Return || tecla == Qt::Key_Enter))
            return true;  // the editor commits and posts the row (never the plan's save)
        if (o == dbgTaxaRegistro && (tecla == Qt::Key_Return || tecla == Qt::Key_Enter)) {
            // Enter on the grid posts the row being typed (never the plan's save)
            if (tmp->EmEdicao()) Executa([taxas] { taxas->Grava(); });
            dbgTaxaRegistro->setFocus();
            Sincroniza();
            return true;
        }
        if ((tecla == Qt::Key_Up || tecla == Qt::Key_Down) && tmp->EmEdicao()) {
            if (auto* ed = qobject_cast<QLineEdit*>(o))
                dbgTaxaRegistro->model()->setData(dbgTaxaRegistro->currentIndex(), ed->text(), Qt::EditRole);
            bool valida = false;
            Executa([&] { valida = taxas->GravaEConfere(); });
            dbgTaxaRegistro->setFocus();
            Sincroniza();
            if (!valida) return true;  // the move is cancelled
            tmp->MoveBy(tecla == Qt::Key_Up ? -1 : 1);
            return true;
        }
    }
    if (taxas && naGrade && e->type() == QEvent::FocusOut) {
        // leaving the grid posts the row being typed
        QWidget* foco = QApplication::focusWidget();
        const bool dentro = foco && (foco == dbgTaxaRegistro || dbgTaxaRegistro->isAncestorOf(foco));
        if (!dentro && taxas->cdsTmpTaxaRegistro()->EmEdicao()) {
            if (auto* ed = qobject_cast<QLineEdit*>(o))
                dbgTaxaRegistro->model()->setData(dbgTaxaRegistro->currentIndex(), ed->text(), Qt::EditRole);
            Executa([taxas] { taxas->Grava(); });
            Sincroniza();
        }
    }
    return TfrmModeloCadastro::eventFilter(o, e);
}

namespace {
// The search of establishments of the network tab (the identifier hidden).
qlonglong pesquisaEstabelecimento(QWidget* pai, bool soUrgencia) {
    TfrmConsulta consulta(pai, QStringLiteral("Consulta de Estabelecimentos de Saúde disponíveis para vinculação"),
                          QStringLiteral("CNES;CNPJ;Razão Social;Id;Município;UF"), QStringLiteral("ID_ESTB_SAUD"),
                          TRedePlano::SqlPesquisa(soUrgencia), DmConexao()->banco(),
                          TRedePlano::ParametrosPesquisa(soUrgencia));
    consulta.EscondeColuna(QStringLiteral("ID_ESTB_SAUD"));
    if (Modal::executa(consulta) != QDialog::Accepted) return -1;
    const QVariant id = consulta.Valor(QStringLiteral("ID_ESTB_SAUD"));
    return nulo(id) ? -1 : id.toLongLong();
}
}  // namespace

void TfrmCadPlano::actRedeProcurarExecute() {
    const qlonglong id = pesquisaEstabelecimento(this, m_edicao->rede()->PesquisaSoUrgencia());
    if (id < 0) return;
    m_edicao->rede()->LocalizaDisponivel(id);
    dbgHospitais->setFocus();
}

void TfrmCadPlano::actRedeProcurarVincExecute() {
    const qlonglong id = pesquisaEstabelecimento(this, false);
    if (id < 0) return;
    dbgHospSele->clearSelection();
    if (m_edicao->rede()->LocalizaVinculado(id)) dbgHospSele->setFocus();
}

void TfrmCadPlano::btnCadEstabSaudeClick() {
    const RowSet* d = m_edicao->rede()->qryEstabManutRede();
    if (!d->Ativo() || d->IsEmpty()) return;
    const qlonglong id = d->Valor(QStringLiteral("ID_ESTB_SAUD")).toLongLong();
    TfrmCadHosp cadastro(this);
    cadastro.IdEstabInicial = id;
    Modal::executa(cadastro);
    if (cadastro.GravouDados()) m_edicao->rede()->AtualizaAposCadastro(id);
}

void TfrmCadPlano::actCopiarRedeExecute() {
    TfrmConsulta consulta(this, QStringLiteral("Copiar a Rede de outro plano"),
                          QStringLiteral("Nome do Plano;Contratação;Segmentação Assistencial;Abrangência Geográfica"),
                          QStringLiteral("NM_PLANO;SEQ_PLANO"), TRedePlano::SqlPlanosComRede(), DmConexao()->banco(),
                          TRedePlano::ParametrosPlanosComRede(m_dm->SeqPlanoAtual()));
    consulta.EscondeColuna(QStringLiteral("SEQ_PLANO"));
    const int larguras[] = {250, 200, 200, 200};
    for (int c = 0; c < 4; ++c) consulta.grdConsulta()->setColumnWidth(c, larguras[c]);
    if (Modal::executa(consulta) != QDialog::Accepted) return;
    const QVariant seq = consulta.Valor(QStringLiteral("SEQ_PLANO"));
    if (nulo(seq)) return;
    m_edicao->rede()->CopiaRede(seq.toLongLong(), consulta.Valor(QStringLiteral("NM_PLANO")).toString());
}

void AbreCadastroPlanos(QWidget* pai) {
    TfrmCadPlano tela(pai);
    Modal::executa(tela);
}
