#include "network/FrmImportarRedeHosp.h"

#include <QCheckBox>
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
#include "network/ImportacaoRedeHosp.h"
#include "operator/Operadora.h"
#include "platform/Plataforma.h"
#include "request/DmExportacao.h"

TfrmImportarRedeHosp::TfrmImportarRedeHosp(QWidget* pai) : TfrmModDialogo(pai) {
    setObjectName(QStringLiteral("frmImportarRedeHosp"));
    setWindowTitle(QStringLiteral("Importar Estabelecimentos de Saúde"));
    auto* grade = new QGridLayout(Conteudo());
    grade->setContentsMargins(16, 16, 16, 12);
    auto* rotulo = new QLabel(QStringLiteral("Origem"), Conteudo());
    AbreArquivoTxt = new QLineEdit(Conteudo());
    AbreArquivoTxt->setObjectName(QStringLiteral("AbreArquivoTxt"));
    AbreArquivoTxt->setToolTip(QStringLiteral("Selecione o arquivo"));
    AbreArquivoTxt->setMinimumWidth(420);
    rotulo->setBuddy(AbreArquivoTxt);
    btnProcuraArquivo = new QToolButton(Conteudo());
    btnProcuraArquivo->setObjectName(QStringLiteral("btnProcuraArquivo"));
    btnProcuraArquivo->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    btnProcuraArquivo->setToolTip(QStringLiteral("Selecione o arquivo"));
    chkBxAtualizaEstab = new QCheckBox(
        QStringLiteral("Se o estabelecimento de saúde já estiver cadastrado, ATUALIZE os dados do "
                       "mesmo."),
        Conteudo());
    chkBxAtualizaEstab->setObjectName(QStringLiteral("chkBxAtualizaEstab"));
    lblNota = new QLabel(QStringLiteral("Para verificar se um estabelecimento já se encontra "
                                        "cadastrado, o sistema compara CNPJ + CNES"),
                         Conteudo());
    lblNota->setObjectName(QStringLiteral("lblNota"));
    lblNota->setStyleSheet(QStringLiteral("color: #1f4e79;"));
    lblNota->setWordWrap(true);
    Gauge1 = new QProgressBar(Conteudo());
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setVisible(false);
    // its place is kept while it is hidden: the window does not jump when the run starts
    QSizePolicy politica = Gauge1->sizePolicy();
    politica.setRetainSizeWhenHidden(true);
    Gauge1->setSizePolicy(politica);
    grade->addWidget(rotulo, 0, 0);
    grade->addWidget(AbreArquivoTxt, 0, 1);
    grade->addWidget(btnProcuraArquivo, 0, 2);
    grade->addWidget(chkBxAtualizaEstab, 1, 0, 1, 3);
    grade->addWidget(lblNota, 2, 0, 1, 3);
    grade->addWidget(Gauge1, 3, 0, 1, 3);
    grade->setRowStretch(4, 1);

    btnConfirmaProcesso = btnConfirmar();
    btnConfirmaProcesso->setObjectName(QStringLiteral("btnConfirmaProcesso"));
    btnConfirmaProcesso->setToolTip(QStringLiteral("Importar arquivo"));
    btnConfirmaProcesso->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    btnLimpaTexto = btnCancelar();
    btnLimpaTexto->setObjectName(QStringLiteral("btnLimpaTexto"));
    btnLimpaTexto->setToolTip(QStringLiteral("Cancelar"));
    btnLimpaTexto->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    btnImprimeErro = new QPushButton(this);
    btnImprimeErro->setObjectName(QStringLiteral("btnImprimeErro"));
    btnImprimeErro->setToolTip(QStringLiteral("Imprimir relatórios de erros."));
    btnImprimeErro->setVisible(false);
    // On creation nothing can be pressed yet; showing enables Cancel, a file Confirm.
    btnConfirmaProcesso->setEnabled(false);
    btnLimpaTexto->setEnabled(false);
    btnImprimeErro->setEnabled(false);

    connect(btnProcuraArquivo, &QToolButton::clicked, this, [this] { escolheArquivo(); });
    connect(AbreArquivoTxt, &QLineEdit::textChanged, this, [this] { AbreArquivoTxtChange(); });
    connect(btnImprimeErro, &QPushButton::clicked, this, [this] { btnImprimeErroClick(); });
    // closing the screen by any means closes the load-error list
    connect(this, &QDialog::finished, this, [] {
        if (TDmExportacao* e = DmExportacao()) e->LimpaErros();
    });
}

TfrmImportarRedeHosp::~TfrmImportarRedeHosp() = default;

void TfrmImportarRedeHosp::showEvent(QShowEvent* e) {
    TfrmModDialogo::showEvent(e);
    btnLimpaTexto->setEnabled(true);
}

void TfrmImportarRedeHosp::escolheArquivo() {
    SeletorArquivo::Pedido pedido;
    pedido.modo = SeletorArquivo::Modo::Abrir;
    pedido.titulo = QStringLiteral("Selecione o arquivo");
    pedido.filtro = QStringLiteral("Arquivos Texto -  (*.TXT *.txt)");
    pedido.pastaInicial = QFileInfo(AbreArquivoTxt->text()).absolutePath();
    const QString escolhido = SeletorArquivo::escolhe(this, pedido);
    if (!escolhido.isEmpty()) AbreArquivoTxt->setText(escolhido);
}

void TfrmImportarRedeHosp::AbreArquivoTxtChange() {
    btnConfirmaProcesso->setEnabled(!AbreArquivoTxt->text().trimmed().isEmpty());
}

void TfrmImportarRedeHosp::btnConfirmaProcessoClick() {
    if (m_importando) return;
    const QString caminho = AbreArquivoTxt->text().trimmed();
    if (caminho.isEmpty()) {
        MyMessageDlg(QStringLiteral("Escolha o caminho e o arquivo antes de confirmar o processamento"),
                     Mensagens::Informacao, Mensagens::BtOk);
        return;
    }
    if (!QFileInfo(caminho).isFile()) {
        MyMessageDlg(QStringLiteral("Arquivo de importação de dados informado não existe.\n\n"
                                    "Informe o arquivo corretamente por favor."),
                     Mensagens::Erro, Mensagens::BtOk);
        AbreArquivoTxt->clear();
        btnConfirmaProcesso->setEnabled(false);
        return;
    }
    importa(caminho);
}

void TfrmImportarRedeHosp::importa(const QString& caminho) {
    TDmExportacao* exportacao = DmExportacao();
    const bool atualiza = chkBxAtualizaEstab->isChecked();
    QWidget* painel = btnConfirmaProcesso->parentWidget();
    std::optional<ImportacaoRedeHosp::Totais> totais;
    QString falha;  // the message of a run that did not reach its end
    {
        // hourglass, nothing to press and no closing until the run ends (also on failure)
        CursorEspera espera;
        m_importando = true;
        painel->setEnabled(false);
        Conteudo()->setEnabled(false);
        struct Restaura {
            TfrmImportarRedeHosp* t;
            QWidget* painel;
            ~Restaura() {
                t->m_importando = false;
                painel->setEnabled(true);
                t->Conteudo()->setEnabled(true);
            }
        } restaura{this, painel};
        std::unique_ptr<ImportacaoRedeHosp> imp;
        try {
            if (!exportacao) throw ErroQev(QStringLiteral("O módulo de exportação não foi criado."));
            imp = std::make_unique<ImportacaoRedeHosp>(DmConexao()->banco(), *exportacao,
                                                       OperadoraAtual().CdOper);
            imp->CarregaListas();
        } catch (const ErroQev&) {
            falha = QStringLiteral("Não foi possível importar o arquivo.\n\n"
                                   "Verifique se o arquivo não está corrompido ou sendo "
                                   "utilizado por outro usuário.");
        }
        if (imp) {
            imp->aoProgredir = [this](int linha, int total) {
                Gauge1->setMaximum(qMax(total, 1));
                Gauge1->setValue(qMin(linha, Gauge1->maximum()));
                if (linha > 0) Gauge1->setVisible(true);
                // the window repaints and stays responsive throughout
                QCoreApplication::processEvents();
            };
            try {
                totais = imp->Executa(caminho, atualiza);
            } catch (const ErroQev& e) {
                // the establishments accepted before the failure are already committed
                falha = QStringLiteral("Ocorreu um erro crítico durante a importação dos "
                                       "Estabelecimentos de Saúde.\nA importação será "
                                       "finalizada.\n") +
                        e.mensagem();
            }
        }
    }
    if (!totais) {
        MyMessageDlg(falha, Mensagens::Erro, Mensagens::BtOk);
        return;
    }
    const QString resumo = ImportacaoRedeHosp::Resumo(*totais, atualiza);
    if (exportacao->TemErros()) {
        MyMessageDlg(QStringLiteral("Arquivo Processado com erro(s).\r\r") + resumo,
                     Mensagens::Informacao, Mensagens::BtOk);
        btnImprimeErro->setEnabled(true);
        btnImprimeErro->click();
    } else {
        MyMessageDlg(QStringLiteral("Arquivo Processado sem erros.\r\r") + resumo,
                     Mensagens::Informacao, Mensagens::BtOk);
    }
    accept();
}

void TfrmImportarRedeHosp::btnImprimeErroClick() {
    // The error report in its establishment-import kind.
    // TODO(relatorios): preview TfrmRelConsiste with DefineTipoRelatorio(0).
}

void TfrmImportarRedeHosp::btnLimpaTextoClick() { reject(); }

void TfrmImportarRedeHosp::reject() {
    if (m_importando) return;
    TfrmModDialogo::reject();
}

void TfrmImportarRedeHosp::closeEvent(QCloseEvent* e) {
    if (m_importando) {
        e->ignore();
        return;
    }
    TfrmModDialogo::closeEvent(e);
}

void AbreImportacaoEstabelecimentos(QWidget* pai) {
    TfrmImportarRedeHosp tela(pai);
    Modal::executa(tela);
}
