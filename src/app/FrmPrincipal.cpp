#include "app/FrmPrincipal.h"

#include <QAction>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolTip>
#include <QVBoxLayout>

#include "app/Aplicacao.h"
#include "app/FrmSobre.h"
#include "app/LogicaPrincipal.h"
#include "app/Logotipo.h"
#include "common/Mascara.h"
#include "common/MensagemDlg.h"
#include "common/Versao.h"
#include "db/DmZemlo.h"

TfrmPrincipal::TfrmPrincipal(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmPrincipal"));
    setWindowTitle(AplicacaoQev::NomeCurto() + QStringLiteral(" - ") + AplicacaoQev::TituloSistema());
    setMinimumSize(720, 540);
    criaMenu();

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(criaPainelOperadora());
    layout->addStretch(1);
    auto* rodape = new QVBoxLayout;
    auto* nome = new QLabel(AplicacaoQev::NomeCurto(), central);
    nome->setStyleSheet(QStringLiteral("font-size: 28pt; font-weight: bold; color: #1f4e79;"));
    auto* titulo = new QLabel(AplicacaoQev::TituloSistema(), central);
    titulo->setStyleSheet(QStringLiteral("font-size: 12pt; color: #1f4e79;"));
    m_lblVersao = new QLabel(central);
    m_lblVersao->setObjectName(QStringLiteral("lblVersao"));
    rodape->addWidget(nome);
    rodape->addWidget(titulo);
    rodape->addWidget(m_lblVersao);
    layout->addLayout(rodape);
    setCentralWidget(central);
    statusBar()->setSizeGripEnabled(true);

    // Creation: version check (comes with its own module), date format, other
    // operators' data.
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    const QString cdOper = DMZemlo()->CampoOperadora(QStringLiteral("CD_OPER")).toString();
    if (!cdOper.isEmpty()) LogicaPrincipal::RemoveDadosDeOutrasOperadoras(cdOper);
    connect(DMZemlo(), &TDMZemlo::operadoraMudou, this, &TfrmPrincipal::AtualizaPainel);
    AtualizaPainel();
}

QAction* TfrmPrincipal::acao(const QString& nome, const QString& legenda, bool habilitada) {
    auto* a = new QAction(legenda, this);
    a->setObjectName(nome);
    a->setEnabled(habilitada);
    m_acoes.insert(nome, a);
    return a;
}

void TfrmPrincipal::criaMenu() {
    // Entries whose screens are not part of this build yet stay disabled.
    QMenu* arquivo = menuBar()->addMenu(QStringLiteral("&Arquivo"));
    arquivo->setObjectName(QStringLiteral("mnuArquivo"));
    arquivo->addAction(acao(QStringLiteral("actSelecionarOperadora"), QStringLiteral("Dados da Operadora"), false));
    arquivo->addAction(acao(QStringLiteral("actImportarHospitais"), QStringLiteral("Importar Estabelecimentos de Saúde"), false));
    arquivo->addAction(acao(QStringLiteral("actImportarEstabOLVAR"),
                            QStringLiteral("Importar Estabelecimentos de Saúde do Sistema OLVAR"), false));
    arquivo->addAction(acao(QStringLiteral("mnuExcluirEstabelecimentos"), QStringLiteral("Excluir Estabelecimentos de Saúde"), false));
    arquivo->addAction(acao(QStringLiteral("actManutencaoSolicitaRegistro"),
                            QStringLiteral("Solicitação de Registro de Planos"), false));
    arquivo->addSeparator();
    QAction* sair = acao(QStringLiteral("actSair"), QStringLiteral("Sair"), true);
    connect(sair, &QAction::triggered, this, &QWidget::close);
    arquivo->addAction(sair);

    m_menuCadastro = menuBar()->addMenu(QStringLiteral("&Cadastro"));
    m_menuCadastro->setObjectName(QStringLiteral("mnuCadastro"));
    m_menuCadastro->addAction(acao(QStringLiteral("actCadastroPlano"), QStringLiteral("Cadastro de Plano de Saúde"), false));
    m_menuCadastro->addAction(acao(QStringLiteral("actCadHospital"), QStringLiteral("Cadastro de Estabelecimentos de Saúde"), false));
    m_menuCadastro->addAction(acao(QStringLiteral("actCadastroClausula"), QStringLiteral("Cadastro de Dispositivos Contratuais"), false));
    m_menuCadastro->addAction(acao(QStringLiteral("actMenutencaoRede"), QStringLiteral("Vinculação de Rede em Lote"), false));
    m_menuCadastro->addAction(acao(QStringLiteral("actLiberarPlanos"), QStringLiteral("Liberar Planos para Retificação"), false));

    m_menuRelatorios = menuBar()->addMenu(QStringLiteral("Relatórios"));
    m_menuRelatorios->setObjectName(QStringLiteral("mnuRelatorios"));
    QMenu* estab = m_menuRelatorios->addMenu(QStringLiteral("Estabelecimentos de Saúde"));
    estab->addAction(acao(QStringLiteral("actRelacaoEstabSaude"), QStringLiteral("Relação de estabelecimentos de saúde"), false));
    estab->addAction(acao(QStringLiteral("actRelEstabComPlanos"),
                          QStringLiteral("Relação de Estabelecimentos de Saúde e seus Planos"), false));
    QMenu* planos = m_menuRelatorios->addMenu(QStringLiteral("Planos"));
    planos->addAction(acao(QStringLiteral("actRelPlanosSemVinculoEstabSaude"),
                           QStringLiteral("Planos sem vínculo com estabelecimento de saúde"), false));
    planos->addAction(acao(QStringLiteral("actRelPlanosComEstab"),
                           QStringLiteral("Relação de Planos e seus Estabelecimentos de Saúde"), false));
    planos->addAction(acao(QStringLiteral("actRelPlanosExportados"), QStringLiteral("Relação de Planos enviados"), false));
    planos->addAction(acao(QStringLiteral("actRelPlanosNaoExportados"), QStringLiteral("Relação de Planos não enviados"), false));
    planos->addAction(acao(QStringLiteral("actRelPlanos"), QStringLiteral("Relação de Planos"), false));
    m_menuRelatorios->addAction(acao(QStringLiteral("actRelDispositivo"), QStringLiteral("Relação de Dispositivos"), false));

    QAction* sobre = acao(QStringLiteral("actSobre"), QStringLiteral("Sobre"), true);
    connect(sobre, &QAction::triggered, this, &TfrmPrincipal::sobre);
    menuBar()->addAction(sobre);
}

QWidget* TfrmPrincipal::criaPainelOperadora() {
    auto* painel = new QWidget(this);
    painel->setObjectName(QStringLiteral("pnlOperadora"));
    auto* grade = new QGridLayout(painel);
    auto campo = [&](int linha, const QString& rotulo, const QString& nome, const QString& dica, int largura) {
        auto* l = new QLabel(rotulo, painel);
        auto* e = new QLineEdit(painel);
        e->setObjectName(nome);
        e->setReadOnly(true);
        e->setToolTip(dica);
        e->setCursor(Qt::PointingHandCursor);
        e->setFocusPolicy(Qt::NoFocus);
        if (largura > 0) e->setMaximumWidth(largura);
        e->installEventFilter(this);
        l->setBuddy(e);
        grade->addWidget(l, linha, 0);
        grade->addWidget(e, linha, 1);
        return e;
    };
    m_edtCodigo = campo(0, QStringLiteral("Registro ZUB"), QStringLiteral("edtCodigo"),
                        QStringLiteral("Número do registro da operadora na ZUB"), 120);
    m_edtRazaoSocial = campo(1, QStringLiteral("Operadora"), QStringLiteral("edtRazaoSocial"),
                             QStringLiteral("Razão/Denominação social da operadora"), 0);
    m_edtCnpj = campo(2, QStringLiteral("CNPJ"), QStringLiteral("edtCnpj"), QStringLiteral("CNPJ da operadora"), 180);
    auto* logo = new QLabel(painel);
    logo->setPixmap(Logotipo::pixmap(64));
    grade->addWidget(logo, 0, 2, 3, 1, Qt::AlignRight | Qt::AlignTop);
    grade->setColumnStretch(1, 1);
    return painel;
}

void TfrmPrincipal::AtualizaPainel() {
    TDMZemlo* z = DMZemlo();
    m_edtCodigo->setText(AplicaMascara(z->CampoOperadora(QStringLiteral("CD_OPER")).toString(),
                                       QString::fromLatin1(MascaraCodigoOperadora)));
    m_edtRazaoSocial->setText(z->CampoOperadora(QStringLiteral("NM_RAZAO_SOCIAL")).toString());
    m_edtCnpj->setText(AplicaMascara(z->CampoOperadora(QStringLiteral("CD_CNPJ")).toString(),
                                     QString::fromLatin1(MascaraCnpj)));
}

void TfrmPrincipal::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    const int classificacao = DMZemlo()->CampoOperadora(QStringLiteral("CD_GRUPO_CLASSIFICACAO")).toInt();
    LogicaPrincipal::DefineAutogestao(classificacao);
    m_lblVersao->setText(QStringLiteral("versão ") + VersaoSistema(true));
    AtualizaMenus();
}

void TfrmPrincipal::AtualizaMenus() {
    TDMZemlo* z = DMZemlo();
    const int classificacao = z->CampoOperadora(QStringLiteral("CD_GRUPO_CLASSIFICACAO")).toInt();
    const bool pode = LogicaPrincipal::PodeRegistrarPlanos(classificacao);
    if (!pode && !z->OperadorasVazia())
        MyMessageDlg(QStringLiteral("A operadora ") + z->CampoOperadora(QStringLiteral("NM_RAZAO_SOCIAL")).toString() +
                         QStringLiteral(" não pode ") +
                         QStringLiteral("registrar plano, porque ela é classificada como Administradora"),
                     Mensagens::Informacao, Mensagens::BtOk);
    m_menuCadastro->setEnabled(pode);
    m_menuRelatorios->setEnabled(pode);
    // The two actions follow the classification once their screens exist.
    for (const char* nome : {"actImportarHospitais", "actManutencaoSolicitaRegistro"}) {
        QAction* a = m_acoes.value(QString::fromLatin1(nome));
        if (a->property("disponivel").toBool()) a->setEnabled(pode);
    }
}

bool TfrmPrincipal::eventFilter(QObject* alvo, QEvent* e) {
    if (e->type() == QEvent::MouseButtonRelease &&
        (alvo == m_edtCodigo || alvo == m_edtRazaoSocial || alvo == m_edtCnpj)) {
        dadosDaOperadora();
        return true;
    }
    return QMainWindow::eventFilter(alvo, e);
}

void TfrmPrincipal::dadosDaOperadora() {
    QAction* a = m_acoes.value(QStringLiteral("actSelecionarOperadora"));
    if (a->isEnabled()) a->trigger();
}

void TfrmPrincipal::sobre() {
    TfrmSobre dlg(this);
    dlg.exec();
}
