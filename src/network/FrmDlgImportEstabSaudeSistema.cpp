#include "network/FrmDlgImportEstabSaudeSistema.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

#include "db/Erro.h"
#include "common/ExecucaoModal.h"
#include "common/MensagemDlg.h"
#include "db/DmConexao.h"
#include "network/ImportacaoOlvar.h"
#include "operator/Operadora.h"
#include "platform/Plataforma.h"
#include "reports/FrmErrosGenericos.h"

namespace {
void informa(const QString& texto) { MyMessageDlg(texto, Mensagens::Informacao, Mensagens::BtOk); }
}  // namespace

TfrmDlgImportEstabSaudeSistema::TfrmDlgImportEstabSaudeSistema(QWidget* pai)
    : TfrmModImportacao(pai, QStringLiteral("Informe o Caminho do Banco de Dados do Sistema OLVAR"),
                        QStringLiteral("Arquivos mdb -  (*.mdb *.MDB)")) {
    setObjectName(QStringLiteral("frmDlgImportEstabSaudeSistema"));
    setWindowTitle(QStringLiteral("Importar os Estabelecimentos de Saúde do Sistema OLVAR."));
    AbreArquivoMbd = edtArquivo;
    AbreArquivoMbd->setObjectName(QStringLiteral("AbreArquivoMbd"));
    btnConfirmaProcesso->setToolTip(QStringLiteral("Importar arquivo."));

    const QString proposto = (DmConexao() ? DmConexao()->PastaSistema() : PastaPrograma::caminho()) +
                             ImportacaoOlvar::NomeArquivo();
    if (QFileInfo(proposto).isFile())
        AbreArquivoMbd->setText(proposto);
    else
        informa(QStringLiteral("Informe o Caminho do Banco de Dados do Sistema OLVAR."));
}

TfrmDlgImportEstabSaudeSistema::~TfrmDlgImportEstabSaudeSistema() {
    if (TDmConexao* c = DmConexao()) c->FechaBancoAnterior();
}

void TfrmDlgImportEstabSaudeSistema::showEvent(QShowEvent* e) {
    TfrmModImportacao::showEvent(e);
    // the focus goes to the button band
    btnConfirmaProcesso->setFocus();
}

void TfrmDlgImportEstabSaudeSistema::btnConfirmaProcessoClick() {
    if (Importando()) return;
    TDmConexao* conexao = DmConexao();
    const QString caminho = AbreArquivoMbd->text().trimmed();
    // recognised by its name, then by its password and tables
    const bool nome = ImportacaoOlvar::NomeReconhecido(caminho);
    if (!nome || !ImportacaoOlvar::Reconhece(*conexao, caminho)) {
        QString texto =
            QStringLiteral("O arquivo selecionado não corresponde ao Banco de Dados do Sistema OLVAR.");
        // A Zemlo.mdb this program cannot read was most likely written by OLVAR itself:
        // say how to convert it.
        if (nome) texto += ImportacaoOlvar::AjudaConversao(conexao->PastaSistema());
        informa(texto);
        return;
    }

    ImportacaoOlvar imp(*conexao, OperadoraAtual().CdOper);
    int total = 0;
    imp.aoIniciar = [&](int n) {
        total = n;
        mostraProgresso(0, n);
    };
    imp.aoProgredir = [&](int atual) { mostraProgresso(atual, total); };
    ImportacaoOlvar::Totais totais;
    QString falha;
    // the error list is made with the hourglass, before the rows are read
    std::unique_ptr<TfrmErrosGenericos> erros;
    executa([&] {
        erros = std::make_unique<TfrmErrosGenericos>(this);
        erros->DefineTitulo(TituloErros());
        try {
            totais = imp.Executa();
        } catch (const ErroQev& e) {
            // the establishments inserted before the failure stay
            falha = e.mensagem();
        }
    });
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
    for (const QString& m : std::as_const(totais.mensagens)) erros->AdicionaMensagem(m);
    if (erros->TemMensagens()) Modal::executa(*erros);
    erros.reset();
    accept();
}

void AbreImportacaoOlvar(QWidget* pai) {
    TfrmDlgImportEstabSaudeSistema dlg(pai);
    Modal::executa(dlg);
}
