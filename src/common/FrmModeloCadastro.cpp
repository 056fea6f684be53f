#include "common/GeometriaJanela.h"
#include "common/FrmModeloCadastro.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QHash>
#include <QKeySequence>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "common/Habilitacoes.h"
#include "common/Icones.h"
#include "common/MensagemDlg.h"
#include "common/VinculoCampos.h"
#include "db/RowSet.h"

TfrmModeloCadastro::TfrmModeloCadastro(QWidget* pai) : TfrmModBase(pai) {
    auto* raiz = new QVBoxLayout(this);
    raiz->setContentsMargins(0, 0, 0, 0);
    raiz->setSpacing(0);

    m_titulo = new QLabel(QStringLiteral(" Cadastrar"), this);
    m_titulo->setObjectName(QStringLiteral("lblTitulo"));
    QFont ft = m_titulo->font();
    ft.setBold(true);
    ft.setPointSizeF(ft.pointSizeF() * 1.3);
    m_titulo->setFont(ft);
    m_titulo->setAutoFillBackground(true);
    QPalette pt = m_titulo->palette();
    pt.setColor(QPalette::Window, QColor(0x1f, 0x4e, 0x79));
    pt.setColor(QPalette::WindowText, Qt::white);
    m_titulo->setPalette(pt);
    m_titulo->setContentsMargins(8, 6, 8, 6);
    raiz->addWidget(m_titulo);

    m_barra = new QToolBar(this);
    m_barra->setObjectName(QStringLiteral("tbrAcoes"));
    m_barra->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_barra->setIconSize(QSize(24, 24));
    raiz->addWidget(m_barra);

    actAdicionar = criaAcao(QStringLiteral("actAdicionar"), QStringLiteral("Incluir"),
                            QStringLiteral("Incluir"), QStyle::SP_FileIcon);
    actAlterar = criaAcao(QStringLiteral("actAlterar"), QStringLiteral("Editar"),
                          QStringLiteral("Editar"), QStyle::SP_FileDialogDetailedView);
    actExcluir = criaAcao(QStringLiteral("actExcluir"), QStringLiteral("Excluir"),
                          QStringLiteral("Excluir"), QStyle::SP_TrashIcon);
    actAnterior = criaAcao(QStringLiteral("actAnterior"), QStringLiteral("Anterior"),
                           QStringLiteral("Anterior"), QStyle::SP_ArrowBack);
    actProximo = criaAcao(QStringLiteral("actProximo"), QStringLiteral("Próximo"),
                          QStringLiteral("Próximo"), QStyle::SP_ArrowForward);
    actPesquisar = criaAcao(QStringLiteral("actPesquisar"), QStringLiteral("Pesquisar"),
                            QStringLiteral("Pesquisar"), QStyle::SP_FileDialogContentsView);
    actSair = criaAcao(QStringLiteral("actSair"), QStringLiteral("Sair"), QStringLiteral("Sair"),
                       QStyle::SP_DialogCloseButton);
    actCadastrar = new QAction(QStringLiteral("Confirmar"), this);
    actCadastrar->setObjectName(QStringLiteral("actCadastrar"));
    actCancelar = new QAction(QStringLiteral("Cancelar"), this);
    actCancelar->setObjectName(QStringLiteral("actCancelar"));
    for (QAction* a : {actAdicionar, actAlterar, actExcluir}) m_barra->addAction(a);
    m_barra->addSeparator();
    for (QAction* a : {actAnterior, actProximo}) m_barra->addAction(a);
    m_barra->addSeparator();
    m_barra->addAction(actPesquisar);
    m_antesDeSair = m_barra->addSeparator();
    m_barra->addAction(actSair);

    connect(actAdicionar, &QAction::triggered, this,
            [this] { Executa([this] { actAdicionarExecute(); }); });
    connect(actAlterar, &QAction::triggered, this,
            [this] { Executa([this] { actAlterarExecute(); }); });
    connect(actExcluir, &QAction::triggered, this,
            [this] { Executa([this] { actExcluirExecute(); }); });
    connect(actCancelar, &QAction::triggered, this,
            [this] { Executa([this] { actCancelarExecute(); }); });
    connect(actCadastrar, &QAction::triggered, this,
            [this] { Executa([this] { actCadastrarExecute(); }); });
    connect(actPesquisar, &QAction::triggered, this,
            [this] { Executa([this] { actPesquisarExecute(); }); });
    connect(actAnterior, &QAction::triggered, this,
            [this] { Executa([this] { actAnteriorExecute(); }); });
    connect(actProximo, &QAction::triggered, this,
            [this] { Executa([this] { actProximoExecute(); }); });
    connect(actSair, &QAction::triggered, this, [this] { Executa([this] { actSairExecute(); }); });

    m_dados = new QWidget(this);
    m_dados->setObjectName(QStringLiteral("pnlDados"));
    raiz->addWidget(m_dados, 1);
    // Browsing shows the fields read-only in the normal text colour.
    TextoNormalQuandoSomenteLeitura(m_dados);

    auto* rodape = new QFrame(this);
    rodape->setObjectName(QStringLiteral("pnlRodape"));
    rodape->setFrameShape(QFrame::StyledPanel);
    auto* lr = new QHBoxLayout(rodape);
    lr->setContentsMargins(8, 6, 8, 6);
    m_contador = new QLabel(rodape);
    m_contador->setObjectName(QStringLiteral("lblQtRegistros"));
    lr->addWidget(m_contador);
    lr->addStretch(1);
    m_confirmar = new QPushButton(QStringLiteral("Confirmar"), rodape);
    m_confirmar->setObjectName(QStringLiteral("btnConfirmar"));
    m_confirmar->setDefault(true);
    m_confirmar->setIcon(IconePadrao(QStyle::SP_DialogApplyButton));
    m_cancelar = new QPushButton(QStringLiteral("Cancelar"), rodape);
    m_cancelar->setObjectName(QStringLiteral("btnCancelar"));
    m_cancelar->setIcon(IconePadrao(QStyle::SP_DialogCancelButton));
    lr->addWidget(m_confirmar);
    lr->addWidget(m_cancelar);
    raiz->addWidget(rodape);
    connect(m_confirmar, &QPushButton::clicked, actCadastrar, &QAction::trigger);
    connect(m_cancelar, &QPushButton::clicked, actCancelar, &QAction::trigger);
    for (QAction* a : {actAdicionar, actAlterar, actExcluir, actAnterior, actProximo, actPesquisar, actSair,
                       actCadastrar, actCancelar})
        aplicaAtalho(a);
    m_confirmar->setToolTip(actCadastrar->toolTip());
    m_cancelar->setToolTip(actCancelar->toolTip());

    // The enabling rules are re-evaluated whenever the program is idle.
    if (auto* d = QAbstractEventDispatcher::instance())
        m_ocioso = connect(d, &QAbstractEventDispatcher::aboutToBlock, this, [this] {
            if (isVisible()) AtualizaAcoes();
        });
    setWindowTitle(LegendaDoEstado());
    AtualizaAcoes();
}

TfrmModeloCadastro::~TfrmModeloCadastro() { disconnect(m_ocioso); }

QAction* TfrmModeloCadastro::criaAcao(const QString& nome, const QString& texto,
                                      const QString& dica, int icone) {
    auto* a =
        new QAction(IconePadrao(static_cast<QStyle::StandardPixmap>(icone)), texto, this);
    a->setObjectName(nome);
    a->setToolTip(dica);
    a->setStatusTip(dica);
    return a;
}

QList<QKeySequence> TfrmModeloCadastro::Atalhos(const QString& nomeAcao) {
    // The keys of every record screen, by action name: the one place they are chosen.
    static const QHash<QString, QList<QKeySequence>> atalhos{
        {QStringLiteral("actAdicionar"), {QKeySequence(Qt::Key_Insert)}},
        {QStringLiteral("actAlterar"), {QKeySequence(Qt::Key_F2)}},
        {QStringLiteral("actExcluir"), {QKeySequence(Qt::CTRL | Qt::Key_Delete)}},
        {QStringLiteral("actPesquisar"), {QKeySequence(Qt::CTRL | Qt::Key_F)}},
        {QStringLiteral("actImprimir"), {QKeySequence(Qt::CTRL | Qt::Key_P)}},
        {QStringLiteral("actRelatorio"), {QKeySequence(Qt::CTRL | Qt::Key_P)}},
        {QStringLiteral("actCadastrar"),
         {QKeySequence(Qt::CTRL | Qt::Key_Enter), QKeySequence(Qt::CTRL | Qt::Key_Return)}},
        {QStringLiteral("actCancelar"), {QKeySequence(Qt::Key_Escape)}},
        {QStringLiteral("actAnterior"), {QKeySequence(Qt::CTRL | Qt::Key_PageUp)}},
        {QStringLiteral("actProximo"), {QKeySequence(Qt::CTRL | Qt::Key_PageDown)}},
        {QStringLiteral("actSair"), {QKeySequence(Qt::CTRL | Qt::Key_Q)}},
        {QStringLiteral("actVerificarPendencias"), {QKeySequence(Qt::Key_F9)}},
        {QStringLiteral("actPlanosEstab"), {QKeySequence(Qt::CTRL | Qt::Key_L)}},
        {QStringLiteral("actPlanosClausula"), {QKeySequence(Qt::CTRL | Qt::Key_L)}},
        {QStringLiteral("actImportaOLVAR"), {QKeySequence(Qt::CTRL | Qt::Key_I)}},
        {QStringLiteral("actImportar"), {QKeySequence(Qt::CTRL | Qt::Key_I)}},
        {QStringLiteral("actCNES"), {QKeySequence(Qt::CTRL | Qt::Key_K)}},
    };
    return atalhos.value(nomeAcao);
}

void TfrmModeloCadastro::aplicaAtalho(QAction* a) {
    const QList<QKeySequence> teclas = Atalhos(a->objectName());
    if (teclas.isEmpty() || a->property("qevAtalho").toBool()) return;
    a->setProperty("qevAtalho", true);
    // Escape already cancels through the window (reject), and a grid's editor must get it
    // first: the key is only named in the hint.
    if (teclas.first() != QKeySequence(Qt::Key_Escape)) {
        a->setShortcuts(teclas);
        a->setShortcutContext(Qt::WindowShortcut);
        if (!actions().contains(a)) addAction(a);  // active also when on no toolbar
    }
    const QString dica = a->toolTip().isEmpty() ? a->text() : a->toolTip();
    a->setToolTip(dica + QStringLiteral(" (") + teclas.first().toString(QKeySequence::NativeText) + QLatin1Char(')'));
}

void TfrmModeloCadastro::AdicionaNaBarra(QAction* acao) {
    m_barra->insertAction(m_antesDeSair, acao);
    aplicaAtalho(acao);
}

QAction* TfrmModeloCadastro::NovaAcaoNaBarra(const QString& nome, const QString& texto,
                                             const QString& dica, int icone) {
    QAction* a = criaAcao(nome, texto, dica, icone);
    AdicionaNaBarra(a);
    return a;
}

void TfrmModeloCadastro::DefineCadastro(RowSet* rowSet) {
    m_rs = rowSet;
    delete m_vinculos;
    m_vinculos = new VinculoCampos(m_rs, this);
    connect(m_rs, &RowSet::estadoMudou, this, &TfrmModeloCadastro::aoMudarEstado);
    connect(m_rs, &RowSet::registroMudou, this, &TfrmModeloCadastro::AtualizaContador);
    connect(m_rs, &RowSet::estruturaMudou, this, &TfrmModeloCadastro::AtualizaContador);
    // Creation: the row set is open; refresh, go to the first row and refresh it.
    if (m_rs->Ativo()) {
        AtualizaDados();
        m_rs->First();
        AtualizaDados();
    }
    aoMudarEstado();
    AtualizaContador();
}

void TfrmModeloCadastro::DefineTabela(Banco* banco, const QString& tabela,
                                      const QStringList& chaves) {
    m_banco = banco;
    m_tabela = tabela;
    m_chaves = chaves;
}

bool TfrmModeloCadastro::Navegando() const { return m_rs && m_rs->Ativo() && !m_rs->EmEdicao(); }

int TfrmModeloCadastro::AtualizaAcoes() {
    Habilitacoes h;
    DefineHabilitacoes(h);
    return h.aplica();
}

void TfrmModeloCadastro::DefineHabilitacoes(Habilitacoes& h) {
    const bool nav = Navegando();
    const bool vazio = !m_rs || m_rs->IsEmpty();
    h.habilita(actAdicionar, PodeIncluir && nav);
    h.habilita(actAnterior, nav && !m_rs->Bof());
    h.habilita(actProximo, nav && !m_rs->Eof());
    h.habilita(actPesquisar, nav && !vazio);
    h.habilita(actSair, nav);
    h.habilita(actAlterar, PodeAlterar && nav && !vazio);
    h.habilita(actExcluir, PodeExcluir && nav && !vazio);
    h.habilita(actCadastrar, !nav);
    h.habilita(actCancelar, !nav);
    h.habilita(m_confirmar, !nav);
    h.habilita(m_cancelar, !nav);
    h.habilita(m_dados, !nav);
}

void TfrmModeloCadastro::aoMudarEstado() {
    setWindowTitle(LegendaDoEstado());
    AtualizaAcoes();
}

QString TfrmModeloCadastro::LegendaDoEstado() const {
    if (m_rs && m_rs->State() == RowSet::Estado::Insercao) return QStringLiteral(" [Inclusão]");
    if (m_rs && m_rs->State() == RowSet::Estado::Edicao) return QStringLiteral(" [Alteração]");
    return QStringLiteral(" [Consulta]");
}

QString TfrmModeloCadastro::TextoContador() const {
    const int n = m_rs && m_rs->Ativo() ? m_rs->RecordCount() : 0;
    return QLocale(QLocale::Portuguese, QLocale::Brazil).toString(n) +
           QStringLiteral(" Registro(s)");
}

void TfrmModeloCadastro::AtualizaContador() { m_contador->setText(TextoContador()); }

void TfrmModeloCadastro::Executa(const std::function<void()>& acao) {
    try {
        acao();
    } catch (const ErroQev& e) {
        MostraErroSimples(e.mensagem());
    }
    AtualizaAcoes();
}

void TfrmModeloCadastro::actAdicionarExecute() {
    m_rs->Insert();
    m_dados->setEnabled(true);
    // the first field that takes the focus
    for (QWidget* w : m_dados->findChildren<QWidget*>())
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(this)) {
            w->setFocus();
            break;
        }
}

void TfrmModeloCadastro::actAlterarExecute() {
    m_rs->Edit();
    m_dados->setEnabled(true);
}

void TfrmModeloCadastro::actExcluirExecute() {
    m_rs->Delete();
    if (m_banco && !m_tabela.isEmpty()) {
        try {
            m_rs->ApplyUpdates(*m_banco, m_tabela, m_chaves);
        } catch (...) {
            m_rs->CancelUpdates();
            throw;
        }
    }
    AtualizaDados();
}

void TfrmModeloCadastro::actCancelarExecute() {
    m_rs->Cancel();
    AtualizaDados();
}

void TfrmModeloCadastro::actAnteriorExecute() {
    m_rs->Prior();
    AtualizaDados();
}

void TfrmModeloCadastro::actProximoExecute() {
    m_rs->Next();
    AtualizaDados();
}

void TfrmModeloCadastro::actSairExecute() { Fecha(); }

void TfrmModeloCadastro::Fecha() {
    m_fechando = true;
    done(QDialog::Rejected);
    m_fechando = false;
}

void TfrmModeloCadastro::reject() {
    AtualizaAcoes();
    if (actCancelar->isEnabled()) actCancelar->trigger();
}

void TfrmModeloCadastro::closeEvent(QCloseEvent* e) {
    if (m_fechando) {
        e->accept();
        return;
    }
    // The window cannot be left in the middle of an insert or edit; otherwise the
    // window's close box leaves as "Sair" does.
    if (m_rs && m_rs->EmEdicao()) {
        e->ignore();
        return;
    }
    Executa([this] { actSairExecute(); });
    if (isVisible())
        e->ignore();
    else
        e->accept();
}
