#include "plans/FrmManutencaoRede.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "common/GeometriaJanela.h"
#include "common/ExecucaoModal.h"
#include "common/FrmConsulta.h"
#include "common/Icones.h"
#include "common/MensagemDlg.h"
#include "common/MoveLinhas.h"
#include "db/DmConexao.h"
#include "common/TeclasMover.h"
#include "db/ModeloRowSet.h"
#include "db/RowSet.h"
#include "db/Valores.h"
#include "plans/ManutencaoRede.h"

namespace {
QTableView* grade(QWidget* pai, const QString& nome, RowSet* rs, const QString& dica) {
    auto* g = new QTableView(pai);
    g->setObjectName(nome);
    LigaGrade(g, rs);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setSelectionMode(QAbstractItemView::ExtendedSelection);
    g->setAlternatingRowColors(true);
    g->horizontalHeader()->setStretchLastSection(true);
    g->setToolTip(dica);
    return g;
}

QToolButton* botao(QWidget* pai, const QString& nome, const QString& texto, const QString& dica) {
    auto* b = new QToolButton(pai);
    b->setObjectName(nome);
    b->setText(texto);
    b->setToolTip(dica);
    b->setFixedSize(34, 28);
    QFont f = b->font();
    f.setBold(true);
    b->setFont(f);
    return b;
}

QLabel* contador(QWidget* pai, const QString& nome) {
    auto* l = new QLabel(pai);
    l->setObjectName(nome);
    return l;
}

// One half of the screen: the source list, the 40-pixel button column, the selection.
struct Metade {
    QGroupBox* grupo;
    QHBoxLayout* barraFonte;
    QHBoxLayout* barraSelecao;
};

Metade metade(QWidget* pai, const QString& titulo, QTableView* fonte, QLabel* qtFonte,
              std::initializer_list<QToolButton*> botoes, QTableView* selecao, QLabel* qtSelecao) {
    auto* g = new QGroupBox(titulo, pai);
    auto* l = new QGridLayout(g);
    auto* barraFonte = new QHBoxLayout;
    auto* barraSelecao = new QHBoxLayout;
    l->addLayout(barraFonte, 0, 0);
    l->addLayout(barraSelecao, 0, 2);
    l->addWidget(fonte, 1, 0);
    auto* coluna = new QWidget(g);
    coluna->setFixedWidth(40);
    auto* lc = new QVBoxLayout(coluna);
    lc->setContentsMargins(0, 0, 0, 0);
    lc->addStretch(1);
    for (QToolButton* b : botoes) lc->addWidget(b);
    lc->addStretch(1);
    l->addWidget(coluna, 1, 1);
    l->addWidget(selecao, 1, 2);
    l->addWidget(qtFonte, 2, 0);
    l->addWidget(qtSelecao, 2, 2);
    // the source list shows more columns than the selection: it takes three fifths
    l->setColumnStretch(0, 3);
    l->setColumnStretch(2, 2);
    return {g, barraFonte, barraSelecao};
}
}  // namespace

TfrmManutencaoRede::TfrmManutencaoRede(QWidget* pai) : TfrmModBase(pai), m_logica(new TManutencaoRede(this)) {
    setObjectName(QStringLiteral("frmManutencaoRede"));
    setWindowTitle(QStringLiteral("  Vinculação de Rede em Lote"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setMinimumSize(720, 540);
    // Large enough for every column of both establishment lists on a 1366 x 768 screen;
    // the size and place the user leaves are kept for the next opening.
    LembraGeometria(this, QSize(1340, 730));

    // --- establishments ---
    dbgHospitais = grade(this, QStringLiteral("dbgHospitais"), m_logica->qryEstabManutRede(),
                         QStringLiteral("Somente estabelecimentos classificados como Assistencia Hospitalar"));
    dbgHospSele = grade(this, QStringLiteral("dbgHospSele"), m_logica->cdsHospitais(),
                        QStringLiteral("Relação de Estabelecimentos de Saúde selecionados"));
    lblQtHospitais = contador(this, QStringLiteral("lblQtHospitais"));
    lblQtHospSele = contador(this, QStringLiteral("lblQtHospSele"));
    btnCopiaHosp = botao(this, QStringLiteral("btnCopiaHosp"), QStringLiteral(">>"),
                         QStringLiteral("Seleciona todos os estabelecimentos de saúde"));
    BitBtn9 = botao(this, QStringLiteral("BitBtn9"), QStringLiteral(">"),
                    QStringLiteral("Seleciona um ou mais estabelecimentos de saúde"));
    btnRetiraHosp = botao(this, QStringLiteral("btnRetiraHosp"), QStringLiteral("<"),
                          QStringLiteral("Retira da seleção estabelecimento(s) de saúde marcado(s)"));
    btnLimpaHosp = botao(this, QStringLiteral("btnLimpaHosp"), QStringLiteral("<<"),
                         QStringLiteral("Retira todos os estabelecimentos de saúde da seleção"));
    const Metade hosp = metade(this, QStringLiteral(" Estabelecimentos de Saúde "), dbgHospitais, lblQtHospitais,
                               {btnCopiaHosp, BitBtn9, btnRetiraHosp, btnLimpaHosp}, dbgHospSele, lblQtHospSele);
    DefineTeclaDeMover(btnCopiaHosp, Movimento::IncluiTodos, hosp.grupo);
    DefineTeclaDeMover(BitBtn9, Movimento::IncluiMarcados, hosp.grupo);
    DefineTeclaDeMover(btnRetiraHosp, Movimento::RetiraMarcados, hosp.grupo);
    DefineTeclaDeMover(btnLimpaHosp, Movimento::RetiraTodos, hosp.grupo);
    BitBtn5 = new QToolButton(this);
    BitBtn5->setObjectName(QStringLiteral("BitBtn5"));
    BitBtn5->setText(QStringLiteral("Pesquisar"));
    BitBtn5->setIcon(IconePadrao(QStyle::SP_FileDialogContentsView));
    BitBtn5->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    BitBtn5->setToolTip(QStringLiteral("Pesquisa Estabelecimentos de Saúde."));
    hosp.barraFonte->addWidget(BitBtn5);
    hosp.barraFonte->addStretch(1);
    actHospLimpar = new QAction(IconePadrao(QStyle::SP_DialogResetButton), QStringLiteral("Limpar seleção"), this);
    actHospLimpar->setObjectName(QStringLiteral("actHospLimpar"));
    actHospLimpar->setToolTip(QStringLiteral("Retira todos os estabelecimentos de saúde da seleção"));
    auto* limpaHosp = new QToolButton(this);
    limpaHosp->setDefaultAction(actHospLimpar);
    limpaHosp->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    hosp.barraSelecao->addStretch(1);
    hosp.barraSelecao->addWidget(limpaHosp);

    // --- plans ---
    dbgPlanos = grade(this, QStringLiteral("dbgPlanos"), m_logica->adoPlanosManuRede(),
                      QStringLiteral("Relação dos planos cadastrados na operadora."));
    dbgProdSele = grade(this, QStringLiteral("dbgProdSele"), m_logica->cdsProdutos(),
                        QStringLiteral("Relação de planos selecionados"));
    lblQtPlanos = contador(this, QStringLiteral("lblQtPlanos"));
    lblQtProdSele = contador(this, QStringLiteral("lblQtProdSele"));
    btnCopiaPlanos = botao(this, QStringLiteral("btnCopiaPlanos"), QStringLiteral(">>"),
                           QStringLiteral("Seleciona todos os planos"));
    BitBtn10 = botao(this, QStringLiteral("BitBtn10"), QStringLiteral(">"), QStringLiteral("Seleciona um ou mais planos"));
    btnRetiraPlanos = botao(this, QStringLiteral("btnRetiraPlanos"), QStringLiteral("<"),
                            QStringLiteral("Retira da seleção plano(s) marcado(s)"));
    btnLimpaPlanos = botao(this, QStringLiteral("btnLimpaPlanos"), QStringLiteral("<<"),
                           QStringLiteral("Retira todos os planos da seleção"));
    const Metade planos = metade(this, QStringLiteral(" Planos "), dbgPlanos, lblQtPlanos,
                                 {btnCopiaPlanos, BitBtn10, btnRetiraPlanos, btnLimpaPlanos}, dbgProdSele, lblQtProdSele);
    DefineTeclaDeMover(btnCopiaPlanos, Movimento::IncluiTodos, planos.grupo);
    DefineTeclaDeMover(BitBtn10, Movimento::IncluiMarcados, planos.grupo);
    DefineTeclaDeMover(btnRetiraPlanos, Movimento::RetiraMarcados, planos.grupo);
    DefineTeclaDeMover(btnLimpaPlanos, Movimento::RetiraTodos, planos.grupo);
    BitBtn6 = new QToolButton(this);
    BitBtn6->setObjectName(QStringLiteral("BitBtn6"));
    BitBtn6->setText(QStringLiteral("Pesquisar"));
    BitBtn6->setIcon(IconePadrao(QStyle::SP_FileDialogContentsView));
    BitBtn6->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    BitBtn6->setToolTip(QStringLiteral("Pesquisa Planos."));
    planos.barraFonte->addWidget(BitBtn6);
    planos.barraFonte->addStretch(1);
    actPlanoLimpar = new QAction(IconePadrao(QStyle::SP_DialogResetButton), QStringLiteral("Limpar seleção"), this);
    actPlanoLimpar->setObjectName(QStringLiteral("actPlanoLimpar"));
    actPlanoLimpar->setToolTip(QStringLiteral("Retira todos os planos da seleção"));
    auto* limpaPlanos = new QToolButton(this);
    limpaPlanos->setDefaultAction(actPlanoLimpar);
    limpaPlanos->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    planos.barraSelecao->addStretch(1);
    planos.barraSelecao->addWidget(limpaPlanos);

    // --- the bottom band ---
    pbPlanos = new QProgressBar(this);
    pbPlanos->setObjectName(QStringLiteral("pbPlanos"));
    pbPlanos->setFormat(QStringLiteral("Plano %v de %m"));
    pbEstabelecimentos = new QProgressBar(this);
    pbEstabelecimentos->setObjectName(QStringLiteral("pbEstabelecimentos"));
    pbEstabelecimentos->setFormat(QStringLiteral("Estabelecimento %v de %m"));
    pbPlanos->hide();
    pbEstabelecimentos->hide();
    actAtualizaVinculo = new QAction(QStringLiteral("Vincular"), this);
    actAtualizaVinculo->setObjectName(QStringLiteral("actAtualizaVinculo"));
    actAtualizaVinculo->setToolTip(
        QStringLiteral("Vincula os estabelecimentos de saúde selecionados aos planos selecionados"));
    btnConfirmaVinculos = new QPushButton(IconePadrao(QStyle::SP_DialogApplyButton), QStringLiteral("Vincular"), this);
    btnConfirmaVinculos->setObjectName(QStringLiteral("btnConfirmaVinculos"));
    btnConfirmaVinculos->setToolTip(actAtualizaVinculo->toolTip());
    btnConfirmaVinculos->setAutoDefault(false);
    btnSair = new QPushButton(IconePadrao(QStyle::SP_DialogCloseButton), QStringLiteral("Sair"), this);
    btnSair->setObjectName(QStringLiteral("btnSair"));
    btnSair->setAutoDefault(false);
    auto* rodape = new QHBoxLayout;
    rodape->addWidget(pbPlanos, 1);
    rodape->addWidget(pbEstabelecimentos, 1);
    rodape->addStretch(0);
    rodape->addWidget(btnConfirmaVinculos);
    rodape->addWidget(btnSair);

    auto* raiz = new QVBoxLayout(this);
    raiz->addWidget(hosp.grupo, 1);
    raiz->addWidget(planos.grupo, 1);
    raiz->addLayout(rodape);

    // --- what the buttons do ---
    TManutencaoRede* l = m_logica;
    const auto liga = [this](QToolButton* b, std::function<void()> f) {
        connect(b, &QToolButton::clicked, this, [this, f = std::move(f)] { executa(f); });
    };
    liga(btnCopiaHosp, [l] { l->SelecionaTodosHospitais(); });
    liga(BitBtn9, [this, l] {
        l->SelecionaHospitais(LinhasMarcadas(dbgHospitais));
        dbgHospitais->clearSelection();
    });
    liga(btnRetiraHosp, [this, l] { l->RetiraHospitais(LinhasMarcadas(dbgHospSele)); });
    liga(btnLimpaHosp, [l] { l->LimpaHospitais(); });
    liga(btnCopiaPlanos, [l] { l->SelecionaTodosPlanos(); });
    liga(BitBtn10, [this, l] {
        l->SelecionaPlanos(LinhasMarcadas(dbgPlanos));
        dbgPlanos->clearSelection();
    });
    liga(btnRetiraPlanos, [this, l] { l->RetiraPlanos(LinhasMarcadas(dbgProdSele)); });
    liga(btnLimpaPlanos, [l] { l->LimpaPlanos(); });
    liga(BitBtn5, [this] { BitBtn5Click(); });
    liga(BitBtn6, [this] { BitBtn6Click(); });
    connect(actHospLimpar, &QAction::triggered, this, [this, l] { executa([l] { l->LimpaHospitais(); }); });
    connect(actPlanoLimpar, &QAction::triggered, this, [this, l] { executa([l] { l->LimpaPlanos(); }); });
    connect(actAtualizaVinculo, &QAction::triggered, this, [this] { actAtualizaVinculoExecute(); });
    connect(btnConfirmaVinculos, &QPushButton::clicked, actAtualizaVinculo, &QAction::trigger);
    connect(btnSair, &QPushButton::clicked, this, &TfrmManutencaoRede::reject);
    // a double click chooses the row, as ">" does
    connect(dbgHospitais, &QTableView::doubleClicked, BitBtn9, &QToolButton::click);
    connect(dbgPlanos, &QTableView::doubleClicked, BitBtn10, &QToolButton::click);
    for (RowSet* rs : {m_logica->qryEstabManutRede(), m_logica->cdsHospitais(), m_logica->adoPlanosManuRede(),
                       m_logica->cdsProdutos()})
        connect(rs, &RowSet::estruturaMudou, this, [this] {
            contagens();
            ActionList1Update();
        });
    // column widths: CNPJ and CNES whole, the name takes what is left, the others
    // as wide as their texts
    for (QTableView* g : {dbgHospitais, dbgHospSele})
        connect(g->model(), &QAbstractItemModel::modelReset, g, [g] {
            g->setColumnWidth(0, g->fontMetrics().horizontalAdvance(QStringLiteral("00.000.000/0000-00")) + 16);
            const int colunas = g->model()->columnCount();
            if (colunas > 3) {
                g->setColumnWidth(1, g->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 16);
                QHeaderView* h = g->horizontalHeader();
                h->setStretchLastSection(false);
                h->setSectionResizeMode(2, QHeaderView::Stretch);
                g->setColumnWidth(3, g->fontMetrics().horizontalAdvance(QStringLiteral("São José dos Campos")) + 16);
                // the kind as wide as its longest value: its long title would squeeze the name
                for (int c = 4; c < colunas; ++c)
                    g->setColumnWidth(c, g->fontMetrics().horizontalAdvance(QStringLiteral("Contratualizado")) + 24);
            }
        });
    contagens();
    ActionList1Update();
}

TfrmManutencaoRede::~TfrmManutencaoRede() = default;

void TfrmManutencaoRede::showEvent(QShowEvent* e) {
    TfrmModBase::showEvent(e);
    if (m_exibida) return;
    m_exibida = true;
    executa([this] { m_logica->Abre(); });
}

void TfrmManutencaoRede::executa(const std::function<void()>& acao) {
    try {
        acao();
    } catch (const ErroQev& e) {
        MostraErroSimples(e.mensagem());
    }
    contagens();
    ActionList1Update();
}

void TfrmManutencaoRede::contagens() {
    const auto qt = [](const RowSet* rs) { return rs->Ativo() ? rs->RecordCount() : 0; };
    lblQtHospitais->setText(TManutencaoRede::ContagemEstabelecimentos(qt(m_logica->qryEstabManutRede())));
    lblQtHospSele->setText(TManutencaoRede::ContagemEstabelecimentos(qt(m_logica->cdsHospitais())));
    lblQtPlanos->setText(TManutencaoRede::ContagemPlanos(qt(m_logica->adoPlanosManuRede())));
    lblQtProdSele->setText(TManutencaoRede::ContagemPlanos(qt(m_logica->cdsProdutos())));
}

void TfrmManutencaoRede::ActionList1Update() {
    const auto tem = [](const RowSet* rs) { return rs->Ativo() && !rs->IsEmpty(); };
    const bool livre = !m_vinculando;
    const bool estabs = tem(m_logica->qryEstabManutRede()), planos = tem(m_logica->adoPlanosManuRede());
    const bool hospSele = tem(m_logica->cdsHospitais()), prodSele = tem(m_logica->cdsProdutos());
    for (QToolButton* b : {btnCopiaHosp, BitBtn9}) b->setEnabled(livre && estabs);
    for (QToolButton* b : {btnCopiaPlanos, BitBtn10}) b->setEnabled(livre && planos);
    for (QToolButton* b : {btnRetiraHosp, btnLimpaHosp}) b->setEnabled(livre && hospSele);
    for (QToolButton* b : {btnRetiraPlanos, btnLimpaPlanos}) b->setEnabled(livre && prodSele);
    actHospLimpar->setEnabled(livre && hospSele);
    actPlanoLimpar->setEnabled(livre && prodSele);
    BitBtn5->setEnabled(livre);
    BitBtn6->setEnabled(livre);
    actAtualizaVinculo->setEnabled(livre && m_logica->PodeVincular());
    btnConfirmaVinculos->setEnabled(actAtualizaVinculo->isEnabled());
    btnSair->setEnabled(livre);
}

void TfrmManutencaoRede::BitBtn5Click() {
    TfrmConsulta consulta(this, QStringLiteral("Consulta de Estabelecimentos de Saúde disponíveis para vinculação"),
                          QStringLiteral("CNPJ;Razão Social"), QStringLiteral("CD_CNPJ_ESTB_SAUD"),
                          TManutencaoRede::SqlPesquisaEstabelecimentos(), DmConexao()->banco());
    if (Modal::executa(consulta) != QDialog::Accepted) return;
    if (m_logica->LocalizaCnpj(consulta.Valor(QStringLiteral("CD_CNPJ_ESTB_SAUD")).toString()))
        dbgHospitais->setFocus();
}

void TfrmManutencaoRede::BitBtn6Click() {
    TfrmConsulta consulta(this, QStringLiteral("Consulta de Planos de Saúde"), QStringLiteral("Nome Comercial"),
                          QStringLiteral("NM_PLANO;SEQ_PLANO"), TManutencaoRede::SqlPesquisaPlanos(),
                          DmConexao()->banco());
    consulta.EscondeColuna(QStringLiteral("SEQ_PLANO"));
    if (Modal::executa(consulta) != QDialog::Accepted) return;
    const QVariant seq = consulta.Valor(QStringLiteral("SEQ_PLANO"));
    if (!nulo(seq) && m_logica->LocalizaPlano(seq.toLongLong())) dbgPlanos->setFocus();
}

void TfrmManutencaoRede::actAtualizaVinculoExecute() {
    if (!m_logica->PodeVincular() || m_vinculando) return;
    m_vinculando = true;
    ActionList1Update();
    // the bars and the window are brought up to date at most every 40 ms (a repaint per
    // link would cost more than the link)
    QElapsedTimer relogio;
    relogio.start();
    qint64 ultimo = -100;
    const auto vence = [&relogio, &ultimo] {
        if (relogio.elapsed() - ultimo < 40) return false;
        ultimo = relogio.elapsed();
        return true;
    };
    TManutencaoRede::Progresso progresso;
    progresso.plano = [this, vence](int plano, int planos) {
        if (!vence() && plano != planos) return;
        pbPlanos->setMaximum(planos);
        pbPlanos->setValue(plano);
        pbPlanos->show();
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    progresso.estabelecimento = [this, vence](int estab, int estabs) {
        if (!vence()) return;
        pbEstabelecimentos->setMaximum(estabs);
        pbEstabelecimentos->setValue(estab);
        pbEstabelecimentos->show();
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    progresso.fim = [this] {
        pbPlanos->hide();
        pbEstabelecimentos->hide();
    };
    executa([this, &progresso] { m_logica->Vincula(progresso); });
    m_vinculando = false;
    ActionList1Update();
}

void TfrmManutencaoRede::reject() {
    if (m_vinculando) return;  // the run goes on; the window stays
    executa([this] { m_logica->AvisaAoFechar(); });
    TfrmModBase::reject();
}

void AbreManutencaoRede(QWidget* pai) {
    TfrmManutencaoRede tela(pai);
    Modal::executa(tela);
}
