#include "plans/FrmCadNotaTecnica.h"

#include "db/Valores.h"

#include <QCalendarWidget>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QToolButton>
#include <QWidgetAction>

#include "common/Entradas.h"
#include "common/MensagemDlg.h"
#include "common/VinculoCampos.h"
#include "db/RowSet.h"
#include "plans/DmInfoPlano.h"
#include "platform/Plataforma.h"

TfrmCadNotaTecnica::TfrmCadNotaTecnica(TdmInfoPlano* dm, QWidget* pai)
    : TfrmModDialogo(pai), m_dm(dm), m_notas(dm->cdsNotaTecnica()) {
    setObjectName(QStringLiteral("frmCadNotaTecnica"));
    setWindowTitle(QStringLiteral("Nota Técnica"));
    QWidget* c = Conteudo();

    DBEdit1 = new QLineEdit(c);
    DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
    DBEdit1->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), DBEdit1));
    DBEdit1->setToolTip(QStringLiteral("Informar o protocolo de transmissão do arquivo"));
    edtArquivo = new QLineEdit(c);
    edtArquivo->setObjectName(QStringLiteral("edtArquivo"));
    edtArquivo->setToolTip(QStringLiteral(
        "Preencher somente para arquivos enviados em disquete ou CD diretamente à ZUB.\n"
        "Formato padrão: 888888999999999ddmmaahhmmss.nta, onde:\n"
        "888888 é o código da operadora na ZUB;\n"
        "999999999 é o código do registro do plano na ZUB (999999999 na Solicitação de "
        "Registro);\n"
        "ddmmaa é a data e hhmmss a hora de geração do arquivo."));
    edtDataProtocolo = new CaixaData(c);
    edtDataProtocolo->setObjectName(QStringLiteral("edtDataProtocolo"));
    btnCalendario = new QToolButton(c);
    btnCalendario->setObjectName(QStringLiteral("btnCalendario"));
    btnCalendario->setText(QStringLiteral("..."));
    btnCalendario->setToolTip(QStringLiteral("Calendário"));
    btnCalendario->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(btnCalendario);
    auto* calendario = new QCalendarWidget(menu);
    calendario->setObjectName(QStringLiteral("calendario"));
    calendario->setLocale(ptBr());
    auto* acao = new QWidgetAction(menu);
    acao->setDefaultWidget(calendario);
    menu->addAction(acao);
    btnCalendario->setMenu(menu);
    connect(menu, &QMenu::aboutToShow, this, [this, calendario] {
        const QDate d = edtDataProtocolo->data();
        calendario->setSelectedDate(d.isValid() ? d : Relogio::agora().date());
    });
    connect(calendario, &QCalendarWidget::activated, this, [this, menu](const QDate& d) {
        edtDataProtocolo->defineData(d);
        emit edtDataProtocolo->textEdited(edtDataProtocolo->text());
        menu->close();
    });
    connect(calendario, &QCalendarWidget::clicked, calendario, &QCalendarWidget::activated);

    auto* g = new QGridLayout(c);
    g->setContentsMargins(12, 12, 12, 12);
    g->setVerticalSpacing(8);
    const auto rotulo = [c](const QString& t, QWidget* campo) {
        auto* l = new QLabel(t, c);
        l->setBuddy(campo);
        return l;
    };
    g->addWidget(rotulo(QStringLiteral("Protocolo de Incorporação"), DBEdit1), 0, 0);
    g->addWidget(DBEdit1, 1, 0, 1, 2);
    g->addWidget(rotulo(QStringLiteral("Nome do Arquivo"), edtArquivo), 2, 0);
    g->addWidget(edtArquivo, 3, 0, 1, 2);
    g->addWidget(rotulo(QStringLiteral("Data de Protocolo"), edtDataProtocolo), 4, 0);
    auto* linhaData = new QHBoxLayout;
    linhaData->addWidget(edtDataProtocolo);
    linhaData->addWidget(btnCalendario);
    linhaData->addStretch(1);
    g->addLayout(linhaData, 5, 0, 1, 2);
    g->setColumnStretch(1, 1);
    edtArquivo->setMinimumWidth(edtArquivo->fontMetrics().horizontalAdvance(QString(34, u'0')));

    m_vinculos = new VinculoCampos(m_notas, this);
    m_vinculos->liga(DBEdit1, QStringLiteral("NR_PROTOCOLO_NOTA_TECNICA"));
    m_vinculos->liga(edtArquivo, QStringLiteral("NM_ARQUIVO_NOTA_TECNICA"));
    m_vinculos->liga(edtDataProtocolo, QStringLiteral("DT_PROTOCOLO"));
    setTabOrder(DBEdit1, edtArquivo);
    setTabOrder(edtArquivo, edtDataProtocolo);
    setTabOrder(edtDataProtocolo, btnConfirmar());
    DBEdit1->setFocus();
}

void TfrmCadNotaTecnica::btnCadastrarClick() {
    // a date typed only in part is never taken as no date in silence
    if (!edtDataProtocolo->vazia() && !edtDataProtocolo->data().isValid()) {
        MyMessageDlg(QStringLiteral("Data inválida."), Mensagens::Erro, Mensagens::BtOk);
        edtDataProtocolo->setFocus();
        return;
    }
    bool anterior2008 = false;
    const QString m = m_dm->ConfereNotaTecnica(*m_notas, Relogio::agora(), &anterior2008);
    if (!m.isEmpty()) {
        MyMessageDlg(m, Mensagens::Informacao, Mensagens::BtOk);
        return;
    }
    if (anterior2008)
        MyMessageDlg(QStringLiteral("Data do Protocolo da Nota Técnica não deve ser anterior a 01/01/2008"),
                     Mensagens::Cuidado, Mensagens::BtOk);
    setResult(QDialog::Accepted);
    try {
        m_notas->Post();
    } catch (const ErroQev&) {
        MyMessageDlg(QStringLiteral("Nota Técnica já cadastrada."), Mensagens::Informacao,
                     Mensagens::BtOk);
        m_notas->Cancel();
    }
    done(QDialog::Accepted);
}

void TfrmCadNotaTecnica::btnCancelarClick() {
    m_notas->Cancel();
    done(QDialog::Rejected);
}
