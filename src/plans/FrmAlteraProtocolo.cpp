#include "plans/FrmAlteraProtocolo.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QVBoxLayout>

#include "common/Icones.h"
#include "common/MensagemDlg.h"

TfrmAlteraProtocolo::TfrmAlteraProtocolo(const QString& protocolo, bool solicitacaoEmBranco,
                                         QWidget* pai)
    : TfrmModBase(pai), m_solicitacaoEmBranco(solicitacaoEmBranco) {
    setObjectName(QStringLiteral("frmAlteraProtocolo"));
    setWindowTitle(QStringLiteral("Alteração do Protocolo de Solicitação"));

    memAviso = new QPlainTextEdit(TextoAviso(), this);
    memAviso->setObjectName(QStringLiteral("memAviso"));
    memAviso->setReadOnly(true);
    memAviso->setFocusPolicy(Qt::NoFocus);
    QFont f = memAviso->font();
    f.setBold(true);
    memAviso->setFont(f);
    QPalette p = memAviso->palette();
    p.setColor(QPalette::Text, Qt::red);
    memAviso->setPalette(p);
    memAviso->setFrameShape(QFrame::NoFrame);
    memAviso->setMinimumSize(memAviso->fontMetrics().horizontalAdvance(
                                 QStringLiteral("envio da Solicitação de Registro deste plano à ZUB. ")) +
                                 40,
                             memAviso->fontMetrics().lineSpacing() * 11 + 12);

    auto* rotulo = new QLabel(QStringLiteral("Novo Protocolo"), this);
    edtProtocolo = new QLineEdit(protocolo, this);
    edtProtocolo->setObjectName(QStringLiteral("edtProtocolo"));
    edtProtocolo->setMaxLength(30);
    edtProtocolo->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9.]*")), edtProtocolo));
    rotulo->setBuddy(edtProtocolo);

    btnConfirmar = new QPushButton(this);
    btnConfirmar->setObjectName(QStringLiteral("btnConfirmar"));
    btnConfirmar->setIcon(IconePadrao(QStyle::SP_DialogApplyButton));
    btnConfirmar->setToolTip(QStringLiteral("Confirmar"));
    btnConfirmar->setDefault(true);
    btnCancelar = new QPushButton(this);
    btnCancelar->setObjectName(QStringLiteral("btnCancelar"));
    btnCancelar->setIcon(IconePadrao(QStyle::SP_DialogCancelButton));
    btnCancelar->setToolTip(QStringLiteral("Cancelar"));
    connect(btnConfirmar, &QPushButton::clicked, this, &TfrmAlteraProtocolo::btnConfirmarClick);
    connect(btnCancelar, &QPushButton::clicked, this, &QDialog::reject);

    auto* l = new QVBoxLayout(this);
    l->addWidget(memAviso);
    l->addWidget(rotulo);
    auto* linha = new QHBoxLayout;
    linha->addWidget(edtProtocolo, 1);
    linha->addWidget(btnConfirmar);
    linha->addWidget(btnCancelar);
    l->addLayout(linha);
    edtProtocolo->setFocus();
}

QString TfrmAlteraProtocolo::TextoAviso() {
    return QStringList{QStringLiteral("ATENÇÃO!!! "),
                       QString(),
                       QStringLiteral("O Protocolo de Solicitação identifica o primeiro "),
                       QStringLiteral("envio da Solicitação de Registro deste plano à ZUB. "),
                       QStringLiteral("O objetivo desta funcionalidade é permitir à "),
                       QStringLiteral("Operadora que perdeu a referência deste Protocolo, "),
                       QStringLiteral("devido a problemas em sua base de dados, "),
                       QStringLiteral("recadastrar esta informação, de modo que possa "),
                       QStringLiteral("corrigir os dados de uma Solicitação de Registro "),
                       QStringLiteral("anterior que encontra-se ativa na ZUB.")}
        .join(QLatin1Char('\n'));
}

QString TfrmAlteraProtocolo::Protocolo() const { return edtProtocolo->text(); }

void TfrmAlteraProtocolo::btnConfirmarClick() {
    if (edtProtocolo->text().trimmed().isEmpty() && !m_solicitacaoEmBranco) {
        MyMessageDlg(QStringLiteral("Por favor, digite o Protocolo."), Mensagens::Erro,
                     Mensagens::BtOk);
        edtProtocolo->setFocus();
        return;
    }
    if (MyMessageDlg(QStringLiteral("Um protocolo digitado incorretamente ou que não se refira a "
                                    "este Plano pode causar uma substituição de Solicitação "
                                    "incorreta na ZUB. Confirma a alteração?"),
                     Mensagens::Confirmacao,
                     Mensagens::BtOk | Mensagens::BtCancelar) == Mensagens::RespOk)
        accept();
}
