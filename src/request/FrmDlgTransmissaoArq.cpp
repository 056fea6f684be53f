#include "request/FrmDlgTransmissaoArq.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "common/GeometriaJanela.h"
#include "common/Icones.h"
#include "db/Erro.h"
#include "common/MensagemDlg.h"

namespace {
QLabel* rotulo(const QString& texto, QWidget* pai, bool negrito = false) {
    auto* l = new QLabel(texto, pai);
    l->setWordWrap(true);
    if (negrito) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    return l;
}
}  // namespace

TfrmDlgTransmissaoArq::TfrmDlgTransmissaoArq(const TListaEnvio& lista, const QString& cdOper,
                                             int qtdErros, const QString& idSolicitacao,
                                             QWidget* parent)
    : QDialog(parent),
      m_logica(std::make_unique<TTransmissaoArq>(cdOper, lista, qtdErros, idSolicitacao)) {
    setWindowTitle(QStringLiteral("Enviar arquivo para a ZUB"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rotulo(
        QStringLiteral("Leia com atenção as instruções a seguir, antes de fazer a Transmissão de "
                       "Dados."),
        this, true));
    layout->addWidget(
        rotulo(QStringLiteral(
                   "1) Certifique-se, junto ao pessoal responsável pela rede da sua empresa, de "
                   "que a porta 80 e as portas 20000 a 20019 estão liberadas para o servidor de "
                   "recepção da ZUB, pelo protocolo TCP/IP."),
               this));
    layout->addWidget(rotulo(
        QStringLiteral("2) Certifique-se de que os programas MS-IIS, MS-PWS, MS-SQL Server (versão "
                       "Servidor) ou qualquer outro software que possa interferir nas conexões via "
                       "socket estejam parados."),
        this));
    layout->addWidget(rotulo(
        QStringLiteral("3) Utilize a senha correta (\"nova senha\"), a mesma utilizada nos demais "
                       "serviços on-line da ZUB."),
        this));
    layout->addSpacing(8);
    layout->addWidget(
        rotulo(QStringLiteral("Informe no quadro abaixo a senha de transmissão:"), this, true));
    layout->addWidget(
        rotulo(QStringLiteral("(Atenção: considerar diferentes maiúsculas e minúsculas)"), this));

    auto* linhaSenha = new QHBoxLayout;
    auto* rotuloSenha = new QLabel(QStringLiteral("Senha: "), this);
    linhaSenha->addWidget(rotuloSenha);
    edSenha = new QLineEdit(this);
    edSenha->setObjectName(QStringLiteral("edSenha"));
    rotuloSenha->setBuddy(edSenha);
    edSenha->setEchoMode(QLineEdit::Password);
    edSenha->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));  // "*"
    linhaSenha->addWidget(edSenha, 1);
    layout->addLayout(linhaSenha);

    actConfirmar = new QAction(IconePadrao(QStyle::SP_DialogOkButton),
                               QStringLiteral("Confirmar"), this);
    actConfirmar->setObjectName(QStringLiteral("actConfirmar"));
    actConfirmar->setToolTip(QStringLiteral("confirmar"));
    actCancelar = new QAction(IconePadrao(QStyle::SP_DialogCancelButton),
                              QStringLiteral("Cancelar"), this);
    actCancelar->setObjectName(QStringLiteral("actCancelar"));
    actCancelar->setToolTip(QStringLiteral("cancelar"));
    connect(actConfirmar, &QAction::triggered, this, &TfrmDlgTransmissaoArq::confirma);
    connect(actCancelar, &QAction::triggered, this, &TfrmDlgTransmissaoArq::reject);

    auto* botoes = new QHBoxLayout;
    botoes->addStretch(1);
    for (QAction* a : {actConfirmar, actCancelar}) {
        auto* b = new QPushButton(a->icon(), a->text(), this);
        b->setToolTip(a->toolTip());
        connect(b, &QPushButton::clicked, a, &QAction::trigger);
        connect(a, &QAction::enabledChanged, b, &QPushButton::setEnabled);
        botoes->addWidget(b);
        (a == actConfirmar ? btnConfirmar : btnCancelar) = b;
    }
    btnConfirmar->setObjectName(QStringLiteral("btnConfirmar"));
    btnCancelar->setObjectName(QStringLiteral("btnCancelar"));
    btnConfirmar->setDefault(true);
    btnConfirmar->setAutoDefault(true);
    btnCancelar->setAutoDefault(false);
    layout->addLayout(botoes);
    mostraPorInteiro();
}

void TfrmDlgTransmissaoArq::mostraPorInteiro() {
    // Wide enough for its caption and its instructions on few lines; the size and place
    // the user leaves are kept for the next opening.
    setObjectName(QStringLiteral("frmDlgTransmissaoArq"));
    setMinimumWidth(480);
    LembraGeometria(this, QSize(580, heightForWidth(580) > 0 ? heightForWidth(580) : 360));
}

TfrmDlgTransmissaoArq::~TfrmDlgTransmissaoArq() = default;

void TfrmDlgTransmissaoArq::showEvent(QShowEvent* evento) {
    m_logica->Mostrado();
    QDialog::showEvent(evento);
}

bool TfrmDlgTransmissaoArq::event(QEvent* evento) {
    if (evento->type() == QEvent::WindowActivate) edSenha->setFocus();
    return QDialog::event(evento);
}

void TfrmDlgTransmissaoArq::habilita(bool sim) {
    actConfirmar->setEnabled(sim);
    actCancelar->setEnabled(sim);
    edSenha->setEnabled(sim);
}

void TfrmDlgTransmissaoArq::reject() {
    // The window keeps painting while the transfer program runs; it cannot be closed
    // before the file in hand has been dealt with.
    if (m_logica->Enviando()) return;
    QDialog::reject();
}

void TfrmDlgTransmissaoArq::confirma() {
    if (m_logica->Enviando()) return;
    setResult(0);
    habilita(false);
    bool enviado = false;
    try {
        enviado = m_logica->Confirma(edSenha->text(), static_cast<quint64>(winId()));
    } catch (const ErroQev& e) {
        // a failure of the database outside the hand-over itself: no Part catches it
        MostraErroSimples(e.mensagem());
    }
    habilita(true);
    if (enviado) accept();
}
