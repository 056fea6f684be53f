#include "reports/FrmDlgConsPlanoEstab.h"

#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "common/CursorEspera.h"
#include "db/Erro.h"
#include "common/ExecucaoModal.h"
#include "common/ExportaPlanilha.h"
#include "common/MensagemDlg.h"
#include "db/DmConexao.h"
#include "db/ModeloRowSet.h"
#include "reports/FrmPreviewQR.h"
#include "reports/UtilRelatorios.h"

TfrmDlgConsPlanoEstab::TfrmDlgConsPlanoEstab(qlonglong idEstab, QWidget* pai) : TfrmModDialogo(pai) {
    setObjectName(QStringLiteral("frmDlgConsPlanoEstab"));
    setWindowTitle(QStringLiteral("Planos que utilizam o estabelecimento"));
    resize(620, 460);
    Banco& banco = DmConexao()->banco();

    auto* raiz = new QVBoxLayout(Conteudo());
    auto* form = new QFormLayout;
    edtCnpj = new QLineEdit(Conteudo());
    edtCnpj->setObjectName(QStringLiteral("edtCnpj"));
    edtCnpj->setReadOnly(true);
    edtNome = new QLineEdit(Conteudo());
    edtNome->setObjectName(QStringLiteral("edtNome"));
    edtNome->setReadOnly(true);
    form->addRow(QStringLiteral("CNPJ/CPF"), edtCnpj);
    form->addRow(QStringLiteral("Nome/Razão Social"), edtNome);
    raiz->addLayout(form);
    grdPlanos = new QTableView(Conteudo());
    grdPlanos->setObjectName(QStringLiteral("grdPlanos"));
    raiz->addWidget(grdPlanos, 1);
    lblQtPlanos = new QLabel(Conteudo());
    lblQtPlanos->setObjectName(QStringLiteral("lblQtPlanos"));
    raiz->addWidget(lblQtPlanos);

    const Resultado estab = banco.consulta(
        QStringLiteral("SELECT CD_CNPJ_ESTB_SAUD, RAZAO_SOCIAL_ESTB_SAUD FROM TB_ESTAB_SAUDE "
                       "WHERE ID_ESTB_SAUD = ?"),
        {idEstab});
    if (!estab.vazio()) {
        UtilRelatorios::MascaraDocumento mascara;
        edtCnpj->setText(mascara.Aplica(estab.linhas[0].value(0).toString()));
        edtNome->setText(estab.linhas[0].value(1).toString());
    }
    Campo nome;
    nome.nome = QStringLiteral("NM_PLANO");
    nome.rotulo = QStringLiteral("Nome Comercial do Plano");
    cdsPlanos.DefineCampos({nome});
    cdsPlanos.Abre(banco,
                   QStringLiteral(
                       "SELECT PLN.NM_PLANO FROM RL_PLANOS_ESTAB_SAUDE RPE, TB_PLANOS PLN "
                       "WHERE RPE.ID_ESTB_SAUD = ? AND RPE.CD_OPER = PLN.CD_OPER "
                       "AND RPE.SEQ_PLANO = PLN.SEQ_PLANO ORDER BY PLN.NM_PLANO COLLATE PTBR"),
                   {idEstab});
    LigaGrade(grdPlanos, &cdsPlanos);
    grdPlanos->horizontalHeader()->setStretchLastSection(true);
    grdPlanos->verticalHeader()->hide();
    grdPlanos->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lblQtPlanos->setText(UtilRelatorios::Contagem(cdsPlanos.RecordCount()) + QStringLiteral(" Planos"));

    // No confirmation here: "Voltar a tela anterior" closes (as Esc does).
    btnConfirmar()->hide();
    btnCancelar()->setText(QStringLiteral("Voltar a tela anterior"));
    btnCancelar()->setToolTip(QStringLiteral("Voltar a tela anterior"));
    btnImprimir = new QPushButton(QStringLiteral("Imprime a tela"), btnCancelar()->parentWidget());
    btnImprimir->setObjectName(QStringLiteral("btnImprimir"));
    btnImprimir->setToolTip(QStringLiteral("Imprime a tela"));
    btnExportar = new QPushButton(QStringLiteral("Exportar para Excel"), btnCancelar()->parentWidget());
    btnExportar->setObjectName(QStringLiteral("btnExportar"));
    btnExportar->setToolTip(QStringLiteral("Exportar a lista de planos para uma planilha excel"));
    auto* faixa = qobject_cast<QBoxLayout*>(btnCancelar()->parentWidget()->layout());
    if (faixa) {
        faixa->insertWidget(1, btnImprimir);
        faixa->insertWidget(2, btnExportar);
    }
    connect(btnImprimir, &QPushButton::clicked, this, &TfrmDlgConsPlanoEstab::ImprimirClick);
    connect(btnExportar, &QPushButton::clicked, this, [this] { ExportarClick(); });
}

void TfrmDlgConsPlanoEstab::ImprimirClick() {
    QPrinter& impressora = ImpressoraRelatorios();
    if (impressora.outputFormat() == QPrinter::PdfFormat && impressora.outputFileName().isEmpty()) {
        MyMessageDlg(QStringLiteral("Nenhuma impressora está disponível. Escolha uma impressora "
                                    "em um relatório, em \"Escolher impressora\"."),
                     Mensagens::Cuidado, Mensagens::BtOk);
        return;
    }
    const QPixmap tela = grab();
    {
        CursorEspera espera;
        impressora.setFullPage(false);
        QPainter g;
        if (!g.begin(&impressora)) {
            MyMessageDlg(QStringLiteral("Não foi possível iniciar a impressão."), Mensagens::Erro,
                         Mensagens::BtOk);
            return;
        }
        // The window's width over the page's printable width, never enlarged past 100 %.
        const QRect area = impressora.pageLayout().paintRectPixels(impressora.resolution());
        const qreal escala = qMin<qreal>(area.width() / qreal(tela.width()),
                                         impressora.resolution() / qreal(logicalDpiX()));
        g.scale(escala, escala);
        g.drawPixmap(0, 0, tela);
        g.end();
    }
    MyMessageDlg(QStringLiteral("Tela enviada para impressora."), Mensagens::Informacao, Mensagens::BtOk);
}

QString TfrmDlgConsPlanoEstab::ExportarClick() {
    try {
        CursorEspera espera;
        return ExportaEAbrePlanilha(cdsPlanos, edtCnpj->text());
    } catch (const ErroQev& e) {
        MyMessageDlg(e.mensagem(), Mensagens::Erro, Mensagens::BtOk);
        return QString();
    }
}

void AbrePlanosDoEstabelecimento(QWidget* pai, qlonglong idEstab) {
    TfrmDlgConsPlanoEstab dialogo(idEstab, pai);
    Modal::executa(dialogo);
}
