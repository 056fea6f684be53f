#include "app/FrmPrincipal.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QShowEvent>
#include <QStatusBar>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>
#include <functional>
#include <memory>

#include "app/Aplicacao.h"
#include "app/FrmCopiaSeguranca.h"
#include "app/FrmSobre.h"
#include "app/LogicaPrincipal.h"
#include "common/Mnemonicos.h"
#include "common/Logotipo.h"
#include "app/VerificaVersao.h"
#include "common/ExecucaoModal.h"
#include "db/Mascara.h"
#include "common/MensagemDlg.h"
#include "common/Versao.h"
#include "db/DmConexao.h"
#include "db/Transacao.h"
#include "devices/FrmCadClausula.h"
#include "operator/DmZemlo.h"
#include "network/FrmCadHosp.h"
#include "network/FrmDlgImportEstabSaudeSistema.h"
#include "plans/FrmCadPlano.h"
#include "plans/FrmManutencaoRede.h"
#include "network/FrmDlgLimpaEstab.h"
#include "network/FrmImportarRedeHosp.h"
#include "operator/DmOperadora.h"
#include "operator/FrmCadOperadora.h"
#include "operator/FrmSelecionaOperadora.h"
#include "request/FrmLiberaRetifPlano.h"
#include "request/FrmSolicitaRegPlano.h"
#include "request/PendenciasPlano.h"
#include "operator/Operadora.h"
#include "app/LigacoesRelatorios.h"
#include "reports/AberturasRelatorios.h"

namespace {
// A hint stays visible this long.
constexpr int kDuracaoDica = 100000;

// Shows the hints of the whole program for kDuracaoDica.
class DicasDemoradas : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* alvo, QEvent* e) override {
        if (e->type() != QEvent::ToolTip) return false;
        auto* w = qobject_cast<QWidget*>(alvo);
        if (!w || w->toolTip().isEmpty() || w->toolTipDuration() >= 0) return false;
        QToolTip::showText(static_cast<QHelpEvent*>(e)->globalPos(), w->toolTip(), w, QRect(),
                           kDuracaoDica);
        return true;
    }
};

// The report entries of the menu, with what each opens.
void ligaRelatorios(const QHash<QString, QAction*>& acoes, QWidget* janela) {
    const QList<QPair<const char*, std::function<void()>>> entradas{
        {"actRelacaoEstabSaude", [janela] { AbreRelacaoEstabelecimentos(janela); }},
        {"actRelEstabComPlanos", [janela] { AbreRelEstabComPlanos(janela); }},
        {"actRelPlanosSemVinculoEstabSaude", [janela] { AbreRelPlanosSemEstab(janela); }},
        {"actRelPlanosComEstab", [janela] { AbreRelPlanosComEstab(janela); }},
        {"actRelPlanosExportados", [janela] { AbreRelPlanosExportados(janela, true); }},
        {"actRelPlanosNaoExportados", [janela] { AbreRelPlanosExportados(janela, false); }},
        {"actRelPlanos", [janela] { AbreRelatorioPlanos(janela); }},
        {"actRelDispositivo", [janela] { AbreRelatorioDispositivos(janela); }},
    };
    for (const auto& [nome, abre] : entradas) {
        QAction* a = acoes.value(QString::fromLatin1(nome));
        a->setEnabled(true);
        QObject::connect(a, &QAction::triggered, janela, abre);
    }
    InstalaTelasRelatorios();
}

void instalaDicasDemoradas() {
    static QPointer<DicasDemoradas> dicas;
    if (dicas || !qApp) return;
    dicas = new DicasDemoradas(qApp);
    qApp->installEventFilter(dicas);
}
}  // namespace

TfrmPrincipal::TfrmPrincipal(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmPrincipal"));
    setWindowTitle(AplicacaoQev::NomeCurto() + QStringLiteral(" - ") +
                   AplicacaoQev::TituloSistema());
    setMinimumSize(720, 540);
    criaMenu();
    ligaRelatorios(m_acoes, this);
    InstalaVerificacaoPendencias();  // the plan screen's "Verificar pendências"

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
    connect(DMZemlo(), &TDMZemlo::operadoraMudou, this, &TfrmPrincipal::AtualizaPainel);
    AtualizaPainel();
    criacao();
}

void TfrmPrincipal::criacao() {
    TZubVerificaVersaoSis versao;
    versao.SistemaVersao = VersaoSistema(true);
    if (versao.Execute(this) && !versao.Atualizado()) {
        pedeFinalizacao();
        return;
    }
    instalaDicasDemoradas();
    // Dates are shown and read "dd/MM/yyyy" from here on.
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    // Only the current operator's establishments and their plan links survive.
    const QString cdOper = DMZemlo()->CampoGravado(QStringLiteral("CD_OPER")).toString();
    if (!cdOper.isEmpty()) LogicaPrincipal::RemoveDadosDeOutrasOperadoras(cdOper);
}

void TfrmPrincipal::pedeFinalizacao() {
    m_finalizar = true;
    emit finalizacaoPedida();
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
    QAction* dados =
        acao(QStringLiteral("actSelecionarOperadora"), QStringLiteral("Dados da Operadora"), true);
    connect(dados, &QAction::triggered, this, &TfrmPrincipal::DadosDaOperadora);
    arquivo->addAction(dados);
    QAction* importar = acao(QStringLiteral("actImportarHospitais"),
                             QStringLiteral("Importar Estabelecimentos de Saúde"), false);
    connect(importar, &QAction::triggered, this, [this] { AbreImportacaoEstabelecimentos(this); });
    arquivo->addAction(importar);
    QAction* olvar = acao(QStringLiteral("actImportarEstabOLVAR"),
                          QStringLiteral("Importar Estabelecimentos de Saúde do Sistema OLVAR"), true);
    connect(olvar, &QAction::triggered, this, [this] { AbreImportacaoOlvar(this); });
    arquivo->addAction(olvar);
    QAction* excluir = acao(QStringLiteral("mnuExcluirEstabelecimentos"),
                            QStringLiteral("Excluir Estabelecimentos de Saúde"), true);
    connect(excluir, &QAction::triggered, this, [this] { AbreExclusaoEstabelecimentos(this); });
    arquivo->addAction(excluir);
    QAction* solicitacao = acao(QStringLiteral("actManutencaoSolicitaRegistro"),
                                QStringLiteral("Solicitação de Registro de Planos"), true);
    connect(solicitacao, &QAction::triggered, this, [this] { AbreSolicitacaoRegistro(this); });
    arquivo->addAction(solicitacao);
    arquivo->addSeparator();
    QAction* copia = acao(QStringLiteral("actCopiaSeguranca"), QStringLiteral("Cópia de segurança..."), true);
    connect(copia, &QAction::triggered, this, [this] { AbreCopiaSeguranca(this); });
    arquivo->addAction(copia);
    QAction* restaura = acao(QStringLiteral("actRestauraCopia"), QStringLiteral("Restaurar cópia de segurança..."), true);
    connect(restaura, &QAction::triggered, this, [this] {
        if (AbreRestauracaoCopia(this)) AposRestauracao();
    });
    arquivo->addAction(restaura);
    arquivo->addSeparator();
    QAction* sair = acao(QStringLiteral("actSair"), QStringLiteral("Sair"), true);
    connect(sair, &QAction::triggered, this, &QWidget::close);
    arquivo->addAction(sair);

    m_menuCadastro = menuBar()->addMenu(QStringLiteral("&Cadastro"));
    m_menuCadastro->setObjectName(QStringLiteral("mnuCadastro"));
    QAction* cadastroPlano = acao(QStringLiteral("actCadastroPlano"),
                                  QStringLiteral("Cadastro de Plano de Saúde"), true);
    connect(cadastroPlano, &QAction::triggered, this, [this] { AbreCadastroPlanos(this); });
    m_menuCadastro->addAction(cadastroPlano);
    QAction* estabelecimentos = acao(QStringLiteral("actCadHospital"),
                                     QStringLiteral("Cadastro de Estabelecimentos de Saúde"), true);
    connect(estabelecimentos, &QAction::triggered, this,
            [this] { AbreCadastroEstabelecimentos(this); });
    m_menuCadastro->addAction(estabelecimentos);
    QAction* dispositivos = acao(QStringLiteral("actCadastroClausula"),
                                 QStringLiteral("Cadastro de Dispositivos Contratuais"), true);
    connect(dispositivos, &QAction::triggered, this, [this] { AbreCadastroDispositivos(this); });
    m_menuCadastro->addAction(dispositivos);
    QAction* redeEmLote = acao(QStringLiteral("actMenutencaoRede"), QStringLiteral("Vinculação de Rede em Lote"), true);
    connect(redeEmLote, &QAction::triggered, this, [this] { AbreManutencaoRede(this); });
    m_menuCadastro->addAction(redeEmLote);
    QAction* liberar = acao(QStringLiteral("actLiberarPlanos"),
                            QStringLiteral("Liberar Planos para Retificação"), true);
    connect(liberar, &QAction::triggered, this, [this] { AbreLiberacaoRetificacao(this); });
    m_menuCadastro->addAction(liberar);

    m_menuRelatorios = menuBar()->addMenu(QStringLiteral("Relatórios"));
    m_menuRelatorios->setObjectName(QStringLiteral("mnuRelatorios"));
    QMenu* estab = m_menuRelatorios->addMenu(QStringLiteral("Estabelecimentos de Saúde"));
    estab->addAction(acao(QStringLiteral("actRelacaoEstabSaude"),
                          QStringLiteral("Relação de estabelecimentos de saúde"), false));
    estab->addAction(acao(QStringLiteral("actRelEstabComPlanos"),
                          QStringLiteral("Relação de Estabelecimentos de Saúde e seus Planos"),
                          false));
    QMenu* planos = m_menuRelatorios->addMenu(QStringLiteral("Planos"));
    planos->addAction(acao(QStringLiteral("actRelPlanosSemVinculoEstabSaude"),
                           QStringLiteral("Planos sem vínculo com estabelecimento de saúde"),
                           false));
    planos->addAction(acao(QStringLiteral("actRelPlanosComEstab"),
                           QStringLiteral("Relação de Planos e seus Estabelecimentos de Saúde"),
                           false));
    planos->addAction(acao(QStringLiteral("actRelPlanosExportados"),
                           QStringLiteral("Relação de Planos enviados"), false));
    planos->addAction(acao(QStringLiteral("actRelPlanosNaoExportados"),
                           QStringLiteral("Relação de Planos não enviados"), false));
    planos->addAction(
        acao(QStringLiteral("actRelPlanos"), QStringLiteral("Relação de Planos"), false));
    m_menuRelatorios->addAction(acao(QStringLiteral("actRelDispositivo"),
                                     QStringLiteral("Relação de Dispositivos"), false));

    QAction* sobre = acao(QStringLiteral("actSobre"), QStringLiteral("Sobre"), true);
    connect(sobre, &QAction::triggered, this, &TfrmPrincipal::sobre);
    menuBar()->addAction(sobre);
    Mnemonicos::AtribuiMenus(menuBar());
}

QWidget* TfrmPrincipal::criaPainelOperadora() {
    auto* painel = new QWidget(this);
    painel->setObjectName(QStringLiteral("pnlOperadora"));
    auto* grade = new QGridLayout(painel);
    auto campo = [&](int linha, const QString& rotulo, const QString& nome, const QString& dica,
                     int largura) {
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
    m_edtCnpj = campo(2, QStringLiteral("CNPJ"), QStringLiteral("edtCnpj"),
                      QStringLiteral("CNPJ da operadora"), 180);
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
    if (e->spontaneous()) return;
    // The first showing activates the window: where the windowing system does not
    // (no window manager, focus-stealing prevention), the activation step still runs.
    activateWindow();
    agendaAtivacao();
    const int classificacao =
        DMZemlo()->CampoGravado(QStringLiteral("CD_GRUPO_CLASSIFICACAO")).toInt();
    LogicaPrincipal::DefineAutogestao(classificacao);
    m_lblVersao->setText(QStringLiteral("versão ") + VersaoSistema(true));
    AtualizaMenus();
}

void TfrmPrincipal::AtualizaMenus() {
    const TOperadora& operadora = OperadoraAtual();
    const bool pode = LogicaPrincipal::PodeRegistrarPlanos(operadora.Classificacao);
    if (!pode)
        MyMessageDlg(
            QStringLiteral("A operadora ") + operadora.RazaoSocial + QStringLiteral(" não pode ") +
                QStringLiteral("registrar plano, porque ela é classificada como Administradora"),
            Mensagens::Informacao, Mensagens::BtOk);
    m_menuCadastro->setEnabled(pode);
    m_menuRelatorios->setEnabled(pode);
    // The two actions follow the classification.
    for (const char* nome : {"actImportarHospitais", "actManutencaoSolicitaRegistro"})
        m_acoes.value(QString::fromLatin1(nome))->setEnabled(pode);
}

void TfrmPrincipal::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) agendaAtivacao();
}

void TfrmPrincipal::agendaAtivacao() {
    // The activation step runs once the activation itself is over, once per burst.
    if (m_ativacaoPendente) return;
    m_ativacaoPendente = true;
    QTimer::singleShot(0, this, [this] {
        m_ativacaoPendente = false;
        Ativacao();
    });
}

void TfrmPrincipal::Ativacao() {
    if (m_finalizar || m_registrando) return;
    if (!(windowState() & Qt::WindowMaximized)) setWindowState(windowState() | Qt::WindowMaximized);
    TDMZemlo* z = DMZemlo();
    if (!z->OperadorasVazia()) return;

    // No operator yet: it must be registered now.
    m_registrando = true;
    std::unique_ptr<TfrmCadOperadora> cadastro;
    auto conclui = [&] {
        // In every case, also after a failure.
        const QString codigo = z->CampoGravado(QStringLiteral("CD_OPER")).toString();
        cadastro.reset();
        tornaAtual(codigo);
        AtualizaMenus();
        m_registrando = false;
    };
    try {
        TransacaoEscopo transacao(DmConexao()->banco());
        try {
            z->InsereOperadora();
            cadastro = std::make_unique<TfrmCadOperadora>(this);
            Modal::executa(*cadastro);
            if (z->OperadorasVazia()) {
                transacao.desfaz();
                MyMessageDlg(
                    QStringLiteral("Nenhuma Operadora foi cadastrada.\nO sistema será finalizado!"),
                    Mensagens::Cuidado, Mensagens::BtOk);
                pedeFinalizacao();
            }
        } catch (...) {
            transacao.confirma();  // what the registration stored stays, also after a failure
            throw;
        }
        transacao.confirma();
    } catch (...) {
        conclui();
        throw;
    }
    conclui();
}

void TfrmPrincipal::tornaAtual(const QString& cdOper) {
    TDMZemlo* z = DMZemlo();
    z->ReabreOperadoras();
    z->LocalizaOperadora(cdOper);
    CarregaOperadoraAtual();
    if (TdmOperadora* m = dmOperadora()) m->AnunciaOperadoraSelecionada(OperadoraAtual().CdOper);
}

bool TfrmPrincipal::eventFilter(QObject* alvo, QEvent* e) {
    if (e->type() == QEvent::MouseButtonRelease &&
        (alvo == m_edtCodigo || alvo == m_edtRazaoSocial || alvo == m_edtCnpj)) {
        if (static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) DadosDaOperadora();
        return true;
    }
    return QMainWindow::eventFilter(alvo, e);
}

void TfrmPrincipal::DadosDaOperadora() {
    TfrmSelecionaOperadora selecao(this);
    if (Modal::executa(selecao) == QDialog::Accepted)
        tornaAtual(selecao.CodigoEscolhido());
    else
        CarregaOperadoraAtual();
    AtualizaMenus();
}

void TfrmPrincipal::AposRestauracao() {
    if (m_recargaModulos) {
        m_recargaModulos();
        connect(DMZemlo(), &TDMZemlo::operadoraMudou, this, &TfrmPrincipal::AtualizaPainel,
                Qt::UniqueConnection);
    }
    const QString cdOper = DMZemlo()->CampoGravado(QStringLiteral("CD_OPER")).toString();
    if (!cdOper.isEmpty()) {
        tornaAtual(cdOper);
        LogicaPrincipal::RemoveDadosDeOutrasOperadoras(cdOper);
    }
    LogicaPrincipal::DefineAutogestao(DMZemlo()->CampoGravado(QStringLiteral("CD_GRUPO_CLASSIFICACAO")).toInt());
    AtualizaPainel();
    AtualizaMenus();
    const TOperadora& op = OperadoraAtual();
    MyMessageDlg(op.CdOper.isEmpty()
                     ? QStringLiteral("Cópia de segurança restaurada. Nenhuma operadora está cadastrada nela.")
                     : QStringLiteral("Cópia de segurança restaurada.\nOperadora: %1 - %2")
                           .arg(AplicaMascara(op.CdOper, QString::fromLatin1(MascaraCodigoOperadora)), op.RazaoSocial),
                 Mensagens::Informacao, Mensagens::BtOk);
    agendaAtivacao();  // a copy without an operator asks for one, as at start
}

void TfrmPrincipal::sobre() {
    TfrmSobre dlg(this);
    Modal::executa(dlg);
}
