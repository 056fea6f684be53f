#include "network/FrmDlgImportEstabSaudeSistema.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

#include "common/CursorEspera.h"
#include "common/Erro.h"
#include "common/ExecucaoModal.h"
#include "common/MensagemDlg.h"
#include "db/DmConexao.h"
#include "network/ImportacaoOlvar.h"
#include "operator/Operadora.h"
#include "platform/Plataforma.h"

namespace {
void informa(const QString& texto) { MyMessageDlg(texto, Mensagens::Informacao, Mensagens::BtOk); }
const QString kNaoReconhecido =
    QStringLiteral("O arquivo selecionado não corresponde ao Banco de Dados do Sistema OLVAR.");
}  // namespace

TfrmDlgImportEstabSaudeSistema::TfrmDlgImportEstabSaudeSistema(QWidget* pai)
    : TfrmModDialogo(pai) {
    setObjectName(QStringLiteral("frmDlgImportEstabSaudeSistema"));
    setWindowTitle(QStringLiteral("Importar os Estabelecimentos de Saúde do Sistema OLVAR."));
    auto* grade = new QGridLayout(Conteudo());
    grade->setContentsMargins(16, 16, 16, 12);
    auto* rotulo =
        new QLabel(QStringLiteral("Informe o Caminho do Banco de Dados do Sistema OLVAR"), Conteudo());
    AbreArquivoMbd = new QLineEdit(Conteudo());
    AbreArquivoMbd->setObjectName(QStringLiteral("AbreArquivoMbd"));
    AbreArquivoMbd->setToolTip(QStringLiteral("Selecione o arquivo"));
    AbreArquivoMbd->setMinimumWidth(420);
    rotulo->setBuddy(AbreArquivoMbd);
    btnProcuraArquivo = new QToolButton(Conteudo());
    btnProcuraArquivo->setObjectName(QStringLiteral("btnProcuraArquivo"));
    btnProcuraArquivo->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    btnProcuraArquivo->setToolTip(QStringLiteral("Selecione o arquivo"));
    Gauge1 = new QProgressBar(Conteudo());
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setVisible(false);
    // its place is kept while it is hidden: the window does not jump when the run starts
    QSizePolicy politica = Gauge1->sizePolicy();
    politica.setRetainSizeWhenHidden(true);
    Gauge1->setSizePolicy(politica);
    grade->addWidget(rotulo, 0, 0, 1, 2);
    grade->addWidget(AbreArquivoMbd, 1, 0);
    grade->addWidget(btnProcuraArquivo, 1, 1);
    grade->addWidget(Gauge1, 2, 0, 1, 2);
    grade->setRowStretch(3, 1);

    btnConfirmaProcesso = btnConfirmar();
    btnConfirmaProcesso->setObjectName(QStringLiteral("btnConfirmaProcesso"));
    btnConfirmaProcesso->setToolTip(QStringLiteral("Importar arquivo."));
    btnConfirmaProcesso->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    btnLimpaTexto = btnCancelar();
    btnLimpaTexto->setObjectName(QStringLiteral("btnLimpaTexto"));
    btnLimpaTexto->setToolTip(QStringLiteral("Cancelar"));
    btnLimpaTexto->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    connect(btnProcuraArquivo, &QToolButton::clicked, this, [this] { escolheArquivo(); });

    const QString proposto =
        (DmConexao() ? DmConexao()->PastaSistema() : PastaPrograma::caminho()) + ImportacaoOlvar::NomeArquivo();
    if (QFileInfo(proposto).isFile())
        AbreArquivoMbd->setText(proposto);
    else
        informa(QStringLiteral("Informe o Caminho do Banco de Dados do Sistema OLVAR."));
}

TfrmDlgImportEstabSaudeSistema::~TfrmDlgImportEstabSaudeSistema() {
    if (TDmConexao* c = DmConexao()) c->FechaBancoAnterior();
}

void TfrmDlgImportEstabSaudeSistema::showEvent(QShowEvent* e) {
    TfrmModDialogo::showEvent(e);
    // the focus goes to the button panel
    btnConfirmaProcesso->setFocus();
}

void TfrmDlgImportEstabSaudeSistema::escolheArquivo() {
    SeletorArquivo::Pedido pedido;
    pedido.modo = SeletorArquivo::Modo::Abrir;
    pedido.titulo = QStringLiteral("Selecione o arquivo");
    pedido.filtro = QStringLiteral("Arquivos mdb -  (*.mdb *.MDB)");
    pedido.pastaInicial = QFileInfo(AbreArquivoMbd->text()).absolutePath();
    const QString escolhido = SeletorArquivo::escolhe(this, pedido);
    if (!escolhido.isEmpty()) AbreArquivoMbd->setText(escolhido);
}

void TfrmDlgImportEstabSaudeSistema::btnConfirmaProcessoClick() {
    if (m_importando) return;
    TDmConexao* conexao = DmConexao();
    const QString caminho = AbreArquivoMbd->text().trimmed();
    // recognised by its name, then by its password and tables
    if (!ImportacaoOlvar::NomeReconhecido(caminho) || !ImportacaoOlvar::Reconhece(*conexao, caminho)) {
        informa(kNaoReconhecido);
        return;
    }

    ImportacaoOlvar imp(*conexao, OperadoraAtual().CdOper);
    imp.aoIniciar = [this](int total) {
        Gauge1->setMaximum(qMax(total, 1));
        Gauge1->setValue(0);
        Gauge1->setVisible(true);
    };
    imp.aoProgredir = [this](int atual) {
        Gauge1->setValue(qMin(atual, Gauge1->maximum()));
        QCoreApplication::processEvents();
    };
    ImportacaoOlvar::Totais totais;
    QString falha;
    {
        CursorEspera espera;
        m_importando = true;
        btnConfirmaProcesso->parentWidget()->setEnabled(false);
        Conteudo()->setEnabled(false);
        try {
            totais = imp.Executa();
        } catch (const ErroQev& e) {
            // the establishments inserted before the failure stay
            falha = e.mensagem();
        }
        m_importando = false;
        btnConfirmaProcesso->parentWidget()->setEnabled(true);
        Conteudo()->setEnabled(true);
    }
    if (!falha.isEmpty()) {
        MostraErroSimples(falha);
        return;
    }
    if (totais.outraOperadora) {
        informa(QStringLiteral("Não existem Estabelecimentos de Saúde para a Operadora."));
        accept();
        return;
    }
    const QString sucesso = QString::number(totais.importados) +
                            QStringLiteral(" Estabelecimentos de Saúde Importados com Sucesso.");
    if (totais.importados == 0)
        informa(QStringLiteral("Ocorreram Erros durante a importação dos Estabelecimentos de Saúde."));
    else if (!totais.mensagens.isEmpty())
        informa(sucesso + QStringLiteral("\nMas ocorreram erros durante a importação."));
    else
        informa(sucesso);
    if (!totais.mensagens.isEmpty()) mostraErros(totais.mensagens);
    accept();
}

void TfrmDlgImportEstabSaudeSistema::mostraErros(const QStringList& mensagens) {
    // TODO(relatorios): TfrmErrosGenericos with TituloErros(), one line per message.
    (void)mensagens;
}

void TfrmDlgImportEstabSaudeSistema::reject() {
    if (m_importando) return;
    TfrmModDialogo::reject();
}

void TfrmDlgImportEstabSaudeSistema::closeEvent(QCloseEvent* e) {
    if (m_importando) {
        e->ignore();
        return;
    }
    TfrmModDialogo::closeEvent(e);
}

void AbreImportacaoOlvar(QWidget* pai) {
    TfrmDlgImportEstabSaudeSistema dlg(pai);
    Modal::executa(dlg);
}
