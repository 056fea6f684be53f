#include "request/FrmSolicitaRegPlano.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <optional>

#include "common/CursorEspera.h"
#include "common/ExecucaoModal.h"
#include "common/FrameFiltro.h"
#include "common/MensagemDlg.h"
#include "db/DmConexao.h"
#include "db/ModeloRowSet.h"
#include "request/DmExportacao.h"
#include "request/FrmDlgTransmissaoArq.h"

TfrmSolicitaRegPlano::Relatorios& TfrmSolicitaRegPlano::RelatoriosInstalados() {
    static Relatorios r;
    return r;
}

TfrmSolicitaRegPlano::TfrmSolicitaRegPlano(QWidget* pai)
    : TfrmListaPlanos(QStringLiteral("  Solicitar Registro de Planos"), pai),
      m_logica(std::make_unique<TSolicitaRegPlano>(DmConexao()->banco(), *DmExportacao(),
                                                   OperadoraAtual())) {
    setObjectName(QStringLiteral("frmSolicitaRegPlano"));
    setWindowTitle(QStringLiteral("Solicitação de Registro de Planos"));
    {
        CursorEspera espera;
        m_logica->AbreLista();
    }
    montaLista(&m_logica->cdsPlanos());
    // Plans not ready are drawn in red.
    ModeloDaGrade(dbgPlanos)->DefineCorLinha([this](const RowSet&, int linha) {
        return m_logica->Pronto(linha) ? QColor() : QColor(Qt::red);
    });
    // ... and say why.
    ModeloDaGrade(dbgPlanos)->DefineDicaLinha([this](const RowSet&, int linha) { return m_logica->DicaLinha(linha); });
    connect(dbgPlanos, &QTableView::doubleClicked, this, &TfrmSolicitaRegPlano::duploClique);

    pnlRodapePlanos = new QLabel(this);
    pnlRodapePlanos->setObjectName(QStringLiteral("pnlRodapePlanos"));
    m_layout->addWidget(pnlRodapePlanos);

    // Progress of the first verification.
    pnlBarraProgresso = new QWidget(this);
    pnlBarraProgresso->setObjectName(QStringLiteral("pnlBarraProgresso"));
    auto* progresso = new QVBoxLayout(pnlBarraProgresso);
    progresso->addWidget(new QLabel(QStringLiteral("Verificando informações dos Planos..."), pnlBarraProgresso));
    gauge = new QProgressBar(pnlBarraProgresso);
    gauge->setObjectName(QStringLiteral("gauge"));
    progresso->addWidget(gauge);
    pnlBarraProgresso->hide();
    m_layout->addWidget(pnlBarraProgresso);

    actMarcaTodos = acao("actMarcaTodos", "Marcar todos");
    actMarcaDesmarcar = acao("actMarcaDesmarcar", "Desmarcar todos");
    actLstEnviar = acao("actLstEnviar", "Enviar");
    actLstCancelar = acao("actLstCancelar", "Cancelar");
    connect(actMarcaTodos, &QAction::triggered, this,
            [this] { selecionaTodas([this](int linha) { return m_logica->Pronto(linha); }); });
    connect(actMarcaDesmarcar, &QAction::triggered, this, [this] {
        dbgPlanos->clearSelection();
        listaMudou();
    });
    connect(actLstEnviar, &QAction::triggered, this, [this] { SolicitaEnvio(false); });
    connect(actLstCancelar, &QAction::triggered, this, &QDialog::reject);
    botao(actMarcaTodos);
    botao(actMarcaDesmarcar);
    m_botoes->addStretch(1);
    btnEnviar = botao(actLstEnviar);
    btnEnviar->setDefault(true);
    botao(actLstCancelar);
    m_layout->addLayout(m_botoes);

    if (auto* d = QAbstractEventDispatcher::instance())
        m_ocioso = connect(d, &QAbstractEventDispatcher::aboutToBlock, this, [this] {
            if (isVisible()) AtualizaAcoes();
        });
    listaMudou();
}

TfrmSolicitaRegPlano::~TfrmSolicitaRegPlano() { disconnect(m_ocioso); }

void TfrmSolicitaRegPlano::AtualizaAcoes() {
    const bool temPlanos = !m_logica->cdsPlanos().IsEmpty();
    const QSet<int> selecionadas = Selecionadas();
    actMarcaTodos->setEnabled(temPlanos);
    actMarcaDesmarcar->setEnabled(temPlanos && !selecionadas.isEmpty());
    actLstEnviar->setEnabled(m_logica->PodeEnviar(selecionadas));
}

void TfrmSolicitaRegPlano::listaMudou() {
    QString rodape = TSolicitaRegPlano::Rodape(m_logica->cdsPlanos().RecordCount(), int(Selecionadas().size()));
    // The result of a double-click check stays while its plan is the current one.
    if (m_planoSemPendencias.isValid() && !m_logica->cdsPlanos().IsEmpty() &&
        m_logica->cdsPlanos().Valor(QStringLiteral("SEQ_PLANO")) == m_planoSemPendencias)
        rodape += QStringLiteral("  -  Plano sem pendências.");
    else
        m_planoSemPendencias = QVariant();
    pnlRodapePlanos->setText(rodape);
    AtualizaAcoes();
}

void TfrmSolicitaRegPlano::abreLista(const QString& filtro, const QVariantList& parametros) {
    m_logica->AbreLista(filtro, parametros);
}

bool TfrmSolicitaRegPlano::event(QEvent* e) {
    const bool r = TfrmListaPlanos::event(e);
    if (e->type() == QEvent::WindowActivate && !m_verificado) {
        m_verificado = true;
        QTimer::singleShot(0, this, &TfrmSolicitaRegPlano::VerificacaoInicial);
    }
    return r;
}

void TfrmSolicitaRegPlano::VerificacaoInicial() {
    m_verificado = true;
    const int total = m_logica->cdsPlanos().RecordCount();
    if (total == 0) {
        pnlBarraProgresso->hide();
        return;
    }
    pnlBarraProgresso->show();
    gauge->setRange(0, total);
    gauge->setValue(0);
    QString erro;
    try {
        CursorEspera espera;
        m_logica->VerificacaoInicial([this](int feitos, int) {
            gauge->setValue(feitos);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    } catch (const ErroQev& e) {
        erro = e.mensagem();
    }
    dbgPlanos->viewport()->update();
    if (!erro.isEmpty()) {
        // The flags not written stay pending in the list (written on close).
        pnlBarraProgresso->hide();
        MyMessageDlg(TraduzErroBanco(erro), Mensagens::Erro, Mensagens::BtOk);
    } else {
        QTimer::singleShot(100, pnlBarraProgresso, &QWidget::hide);
    }
    AtualizaAcoes();
}

void TfrmSolicitaRegPlano::done(int resultado) {
    // The list's pending changes are written when the screen closes; a refusal is told
    // and the screen closes all the same (the checks compute the flags again).
    try {
        m_logica->GravaPendentes();
    } catch (const ErroQev& e) {
        m_logica->cdsPlanos().CancelUpdates();
        MyMessageDlg(TraduzErroBanco(e.mensagem()), Mensagens::Erro, Mensagens::BtOk);
    }
    TfrmListaPlanos::done(resultado);
}

void TfrmSolicitaRegPlano::duploClique() {
    m_planoLembrado = m_logica->cdsPlanos().Valor(QStringLiteral("SEQ_PLANO"));
    AtualizaAcoes();
    m_planoSemPendencias = QVariant();
    // Only the checks, so that the user sees the plan's problems.
    if (!actLstEnviar->isEnabled()) {
        const int linha = m_logica->cdsPlanos().Linha();
        SolicitaEnvio(true);
        if (m_logica->Verificado(linha) && m_logica->Pendencias(linha).isEmpty() && DmExportacao() &&
            !DmExportacao()->TemErros())
            m_planoSemPendencias = m_planoLembrado;
    }
    QTimer::singleShot(0, this, &TfrmSolicitaRegPlano::reposiciona);
}

void TfrmSolicitaRegPlano::reposiciona() {
    dbgPlanos->clearSelection();
    if (m_planoLembrado.isValid()) m_logica->cdsPlanos().Locate(QStringLiteral("SEQ_PLANO"), m_planoLembrado);
    m_planoLembrado = QVariant();
    listaMudou();
}

void TfrmSolicitaRegPlano::SolicitaEnvio(bool soVerificar) {
    std::optional<CursorEspera> espera(std::in_place);
    dbgPlanos->setUpdatesEnabled(false);
    TSolicitaRegPlano::Acao acao;
    try {
        acao = m_logica->SolicitaEnvio(Selecionadas(), soVerificar, [](int, int) {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    } catch (const ErroQev& e) {
        // Nothing was handed over (the files written for it are gone); what was stored
        // stays, what was not stays pending in the list.
        dbgPlanos->setUpdatesEnabled(true);
        espera.reset();
        MyMessageDlg(TraduzErroBanco(e.mensagem()), Mensagens::Erro, Mensagens::BtOk);
        if (!soVerificar)
            MyMessageDlg(QStringLiteral("Os planos selecionados não foram enviados."), Mensagens::Informacao,
                         Mensagens::BtOk);
        AtualizaAcoes();
        return;
    } catch (...) {
        dbgPlanos->setUpdatesEnabled(true);
        throw;
    }
    dbgPlanos->setUpdatesEnabled(true);
    // What was checked is what is selected.
    if (Selecionadas().isEmpty() && acao.selecionadas.size() == 1) {
        const int pos = m_logica->cdsPlanos().PosicaoDaLinha(*acao.selecionadas.begin());
        dbgPlanos->selectRow(pos);
    }
    espera.reset();

    bool enviado = false;
    QStringList enviados;
    if (!acao.ListaEnvio.isEmpty()) {
        TfrmDlgTransmissaoArq dialogo(acao.ListaEnvio, OperadoraAtual().CdOper, acao.QtdErros,
                                      acao.IdSolicitacao, this);
        enviado = Modal::executa(dialogo) == QDialog::Accepted;
        enviados = dialogo.PlanosEnviados();
    }
    const Relatorios& relatorios = RelatoriosInstalados();
    // Plans handed over are sent even when the dialog closed without its yes (a later
    // file failed and the user gave up): the list is read again whenever one was, so
    // that none of them can be chosen and sent a second time.
    if (!enviados.isEmpty()) {
        try {
            CursorEspera recarga;
            const TFrameFiltro::Condicao c = FrameFiltro1->MontaCondicao();
            m_logica->AbreLista(c.texto, c.parametros);
        } catch (const ErroQev& e) {
            MyMessageDlg(TraduzErroBanco(e.mensagem()), Mensagens::Erro, Mensagens::BtOk);
        }
        dbgPlanos->clearSelection();
        listaMudou();
    }
    if (enviado) {
        if (acao.QtdErros > 0)
            MyMessageDlg(QStringLiteral("Existem planos que não puderam ser enviados em virtude de "
                                        "problemas encontrados.\nSerá exibido o relatório dos planos "
                                        "enviados com sucesso e em seguida, o relatório dos erros "
                                        "encontrados."),
                         Mensagens::Informacao, Mensagens::BtOk);
        if (relatorios.planosEnviados) relatorios.planosEnviados(this, enviados);
    } else if (!enviados.isEmpty()) {
        QStringList nomes;
        for (const TEnvio& e : std::as_const(acao.ListaEnvio))
            if (enviados.contains(QString::number(e.SeqPlano)))
                nomes << QStringLiteral("%1 - %2").arg(e.SeqPlano).arg(e.NmPlano);
        MyMessageDlg(QStringLiteral("Nem todos os planos selecionados foram enviados.\n\n"
                                    "Foram enviados:\n") +
                         nomes.join(QLatin1Char('\n')),
                     Mensagens::Informacao, Mensagens::BtOk);
        if (relatorios.planosEnviados) relatorios.planosEnviados(this, enviados);
    }
    if ((acao.ErroTabela || !enviado) && enviados.isEmpty()) {
        if (!soVerificar)
            MyMessageDlg(QStringLiteral("Os planos selecionados não foram enviados."), Mensagens::Informacao,
                         Mensagens::BtOk);
    }
    if (acao.QtdErros > 0 && relatorios.erros) relatorios.erros(this);
    dbgPlanos->viewport()->update();
    AtualizaAcoes();
}

void AbreSolicitacaoRegistro(QWidget* pai) {
    TfrmSolicitaRegPlano tela(pai);
    Modal::executa(tela);
}
