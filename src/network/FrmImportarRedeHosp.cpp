#include "network/FrmImportarRedeHosp.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>

#include "db/Erro.h"
#include "common/ExecucaoModal.h"
#include "common/MensagemDlg.h"
#include "db/DmConexao.h"
#include "network/ImportacaoRedeHosp.h"
#include "operator/Operadora.h"
#include "reports/FrmRelConsiste.h"
#include "request/DmExportacao.h"

TfrmImportarRedeHosp::TfrmImportarRedeHosp(QWidget* pai)
    : TfrmModImportacao(pai, QStringLiteral("Origem"), QStringLiteral("Arquivos Texto -  (*.TXT *.txt)")) {
    setObjectName(QStringLiteral("frmImportarRedeHosp"));
    setWindowTitle(QStringLiteral("Importar Estabelecimentos de Saúde"));
    AbreArquivoTxt = edtArquivo;
    AbreArquivoTxt->setObjectName(QStringLiteral("AbreArquivoTxt"));
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
    areaPropria()->addWidget(chkBxAtualizaEstab);
    areaPropria()->addWidget(lblNota);

    btnConfirmaProcesso->setToolTip(QStringLiteral("Importar arquivo"));
    btnImprimeErro = new QPushButton(this);
    btnImprimeErro->setObjectName(QStringLiteral("btnImprimeErro"));
    btnImprimeErro->setToolTip(QStringLiteral("Imprimir relatórios de erros."));
    btnImprimeErro->setVisible(false);
    // On creation nothing can be pressed yet; showing enables Cancel, a file Confirm.
    btnConfirmaProcesso->setEnabled(false);
    btnLimpaTexto->setEnabled(false);
    btnImprimeErro->setEnabled(false);

    connect(AbreArquivoTxt, &QLineEdit::textChanged, this, [this] { AbreArquivoTxtChange(); });
    connect(btnImprimeErro, &QPushButton::clicked, this, [this] { btnImprimeErroClick(); });
    // closing the screen by any means closes the load-error list
    connect(this, &QDialog::finished, this, [] {
        if (TDmExportacao* e = DmExportacao()) e->LimpaErros();
    });
}

void TfrmImportarRedeHosp::showEvent(QShowEvent* e) {
    TfrmModImportacao::showEvent(e);
    btnLimpaTexto->setEnabled(true);
}

void TfrmImportarRedeHosp::AbreArquivoTxtChange() {
    btnConfirmaProcesso->setEnabled(!AbreArquivoTxt->text().trimmed().isEmpty());
}

void TfrmImportarRedeHosp::btnConfirmaProcessoClick() {
    if (Importando()) return;
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

    TDmExportacao* exportacao = DmExportacao();
    const bool atualiza = chkBxAtualizaEstab->isChecked();
    std::optional<ImportacaoRedeHosp::Totais> totais;
    QString falha;  // the message of a run that did not reach its end
    executa([&] {
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
            return;
        }
        // the bar appears with the first line read
        imp->aoProgredir = [this](int linha, int total) {
            if (linha > 0) mostraProgresso(linha, total);
        };
        try {
            totais = imp->Executa(caminho, atualiza);
        } catch (const ErroQev& e) {
            // the establishments accepted before the failure are already committed
            falha = QStringLiteral("Ocorreu um erro crítico durante a importação dos "
                                   "Estabelecimentos de Saúde.\nA importação será finalizada.\n") +
                    e.mensagem();
        }
    });
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
    // the error report in its establishment-import kind
    TfrmRelConsiste relatorio;
    relatorio.DefineTipoRelatorio(0);
    relatorio.Visualiza(this);
}

void AbreImportacaoEstabelecimentos(QWidget* pai) {
    TfrmImportarRedeHosp tela(pai);
    Modal::executa(tela);
}
