// The two import screens driven as a user would: their states, the file choosers,
// every message, the run with its progress, failures, and where they are opened from.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "ApoioImportacao.h"
#include "app/ConduzModal.h"
#include "common/ExecucaoModal.h"
#include "network/BaseOlvar.h"
#include "network/FrmCadHosp.h"
#include "network/FrmDlgImportEstabSaudeSistema.h"
#include "network/FrmImportarRedeHosp.h"
#include "network/ImportacaoOlvar.h"
#include "reports/FrmErrosGenericos.h"
#include "reports/FrmPreviewQR.h"

using namespace ApoioRede;

namespace {

// Answers the file chooser with a path and keeps what was asked.
class Seletor {
public:
    explicit Seletor(QString resposta) {
        m_anterior = SeletorArquivo::define([this, resposta](QWidget*, const SeletorArquivo::Pedido& p) {
            pedidos << p;
            return resposta;
        });
    }
    ~Seletor() { SeletorArquivo::define(std::move(m_anterior)); }
    QList<SeletorArquivo::Pedido> pedidos;

private:
    SeletorArquivo::Tratador m_anterior;
};

// Answers every modal screen opened (the error report's preview, the error list) and
// keeps what it showed.
class Modais {
public:
    Modais() {
        m_anterior = Modal::define([this](QDialog& d) {
            abertos << QString::fromLatin1(d.metaObject()->className());
            if (auto* p = qobject_cast<TfrmPreviewQR*>(&d)) {
                EXPECT_TRUE(Apoio::espera([p] { return p->Completo(); }));
                titulo = p->windowTitle();
                const auto& doc = *p->Documento();
                for (int n = 0; n < doc.NumPaginas(); ++n)
                    for (const ItemTexto& t : doc.Pagina(n)->textos) textos << t.texto;
            }
            if (auto* e = qobject_cast<TfrmErrosGenericos*>(&d)) {
                titulo = e->Titulo();
                for (int i = 0; i < e->cdsErros.RecordCount(); ++i)
                    textos << e->cdsErros.ValorNaPosicao(i, 1).toString();
            }
            return int(QDialog::Rejected);
        });
    }
    ~Modais() { Modal::define(std::move(m_anterior)); }
    QStringList abertos;
    QString titulo;
    QStringList textos;

private:
    Modal::Tratador m_anterior;
};

class TelaImportacaoTeste : public BaseImportacao {
protected:
    Modais modais;
    void SetUp() override { inicia(); }
    QString arquivoTxt(const QList<QByteArray>& linhas) {
        const QString caminho = pasta.arquivo(QStringLiteral("rede.TXT"));
        gravaArquivo(caminho, arquivo(linhas));
        return caminho;
    }
};

TEST_F(TelaImportacaoTeste, FileScreenStatesAndChecksBeforeTheRun) {
    TfrmImportarRedeHosp tela;
    EXPECT_EQ(tela.windowTitle(), QStringLiteral("Importar Estabelecimentos de Saúde"));
    EXPECT_FALSE(tela.btnConfirmaProcesso->isEnabled());
    EXPECT_FALSE(tela.btnLimpaTexto->isEnabled());
    EXPECT_FALSE(tela.btnImprimeErro->isEnabled());
    EXPECT_EQ(tela.btnConfirmaProcesso->toolTip(), QStringLiteral("Importar arquivo"));
    EXPECT_EQ(tela.btnLimpaTexto->toolTip(), QStringLiteral("Cancelar"));
    EXPECT_EQ(tela.btnImprimeErro->toolTip(), QStringLiteral("Imprimir relatórios de erros."));
    EXPECT_EQ(tela.AbreArquivoTxt->toolTip(), QStringLiteral("Selecione o arquivo"));
    EXPECT_EQ(tela.chkBxAtualizaEstab->text(),
              QStringLiteral("Se o estabelecimento de saúde já estiver cadastrado, ATUALIZE os "
                             "dados do mesmo."));
    EXPECT_EQ(tela.lblNota->text(), QStringLiteral("Para verificar se um estabelecimento já se "
                                                   "encontra cadastrado, o sistema compara CNPJ + CNES"));
    tela.show();
    EXPECT_TRUE(tela.btnLimpaTexto->isEnabled());
    EXPECT_FALSE(tela.btnImprimeErro->isVisible());
    EXPECT_FALSE(tela.Gauge1->isVisible());

    // the chooser fills the box and enables Confirm
    {
        Seletor seletor(pasta.arquivo(QStringLiteral("escolhido.TXT")));
        QTest::mouseClick(tela.btnProcuraArquivo, Qt::LeftButton);
        ASSERT_EQ(seletor.pedidos.size(), 1);
        EXPECT_EQ(seletor.pedidos.first().filtro, QStringLiteral("Arquivos Texto -  (*.TXT *.txt)"));
        EXPECT_EQ(seletor.pedidos.first().modo, SeletorArquivo::Modo::Abrir);
    }
    EXPECT_EQ(tela.AbreArquivoTxt->text(), pasta.arquivo(QStringLiteral("escolhido.TXT")));
    EXPECT_TRUE(tela.btnConfirmaProcesso->isEnabled());

    // a file that does not exist
    QTest::mouseClick(tela.btnConfirmaProcesso, Qt::LeftButton);
    EXPECT_EQ(mensagens.textos(), QStringList{QStringLiteral(
                                      "Arquivo de importação de dados informado não existe.\n\n"
                                      "Informe o arquivo corretamente por favor.")});
    EXPECT_EQ(mensagens.pedidos().first().tipo, Mensagens::Erro);
    EXPECT_TRUE(tela.AbreArquivoTxt->text().isEmpty());
    EXPECT_FALSE(tela.btnConfirmaProcesso->isEnabled());
    EXPECT_TRUE(tela.isVisible());

    // no file at all
    mensagens.limpa();
    tela.btnConfirmaProcessoClick();
    EXPECT_EQ(mensagens.textos(), QStringList{QStringLiteral(
                                      "Escolha o caminho e o arquivo antes de confirmar o processamento")});
    EXPECT_EQ(mensagens.pedidos().first().tipo, Mensagens::Informacao);
}

TEST_F(TelaImportacaoTeste, FileScreenRunsAndSummarises) {
    LinhaArquivo comErro = linhaValida(2);
    comErro.classif.clear();
    const QString caminho = arquivoTxt({linhaValida(1).bytes(), comErro.bytes(), QByteArray(),
                                        linhaValida(3).bytes()});
    {
        TfrmImportarRedeHosp tela;
        tela.show();
        tela.AbreArquivoTxt->setText(caminho);
        QTest::mouseClick(tela.btnConfirmaProcesso, Qt::LeftButton);
        EXPECT_EQ(mensagens.textos(),
                  QStringList{QStringLiteral("Arquivo Processado com erro(s).\r\r"
                                             "4 Estabelecimento(s) de Saúde processados.\r"
                                             "2 Estabelecimento(s) de Saúde importado(s).")});
        EXPECT_FALSE(tela.isVisible());
        EXPECT_EQ(tela.result(), QDialog::Accepted);
        // the error report, in its establishment-import kind, with the row and its line
        EXPECT_EQ(modais.abertos, QStringList{QStringLiteral("TfrmPreviewQR")});
        EXPECT_TRUE(modais.textos.contains(QStringLiteral(
            "Relatório de Erros de Importação de Arquivo de Estabelecimentos de Saúde")))
            << modais.textos.join('|').toStdString();
        for (const char* t : {"Sequência", "Campo", "Descrição do Erro", "Linha", "1", "2",
                              "Classificação do Estabelecimento não informada.",
                              "Classificação do Estabelecimento inválida."})
            EXPECT_TRUE(modais.textos.contains(QString::fromUtf8(t))) << t;
        EXPECT_TRUE(tela.Gauge1->isVisible() || tela.Gauge1->value() == 4);
        // closing the screen closed the load-error list
        EXPECT_EQ(exportacao->cdsErrosCarga().RecordCount(), 0);
    }
    EXPECT_EQ(conta("SELECT count(*) FROM TB_ESTAB_SAUDE"), 2);

    // the same lines again with the update box: no errors, two updated
    mensagens.limpa();
    const QString semErros = arquivoTxt({linhaValida(1).bytes(), linhaValida(3).bytes()});
    TfrmImportarRedeHosp tela;
    tela.show();
    tela.AbreArquivoTxt->setText(semErros);
    tela.chkBxAtualizaEstab->setChecked(true);
    tela.btnConfirmaProcessoClick();
    EXPECT_EQ(mensagens.textos(),
              QStringList{QStringLiteral("Arquivo Processado sem erros.\r\r"
                                         "2 Estabelecimento(s) de Saúde processados.\r"
                                         "Nenhum Estabelecimento de Saúde foi importado.\r"
                                         "2 Estabelecimento(s) de Saúde atualizado(s).")});
    EXPECT_EQ(modais.abertos.size(), 1);  // no report this time
}

// A failure of the database in the middle: the critical message, the screen stays open,
// what was accepted before stays.
TEST_F(TelaImportacaoTeste, FileScreenCriticalErrorKeepsTheScreenOpen) {
    banco().executa(QStringLiteral(
        "CREATE TRIGGER recusa BEFORE INSERT ON TB_ESTAB_SAUDE WHEN NEW.ID_ESTB_SAUD = 3 "
        "BEGIN SELECT RAISE(ABORT, 'disco cheio'); END"));
    const QString caminho = arquivoTxt(
        {linhaValida(1).bytes(), linhaValida(2).bytes(), linhaValida(3).bytes(), linhaValida(4).bytes()});
    TfrmImportarRedeHosp tela;
    tela.show();
    tela.AbreArquivoTxt->setText(caminho);
    tela.btnConfirmaProcessoClick();
    EXPECT_EQ(mensagens.textos(),
              QStringList{QStringLiteral("Ocorreu um erro crítico durante a importação dos "
                                         "Estabelecimentos de Saúde.\nA importação será finalizada.\n"
                                         "disco cheio")});
    EXPECT_TRUE(tela.isVisible());
    EXPECT_TRUE(tela.btnConfirmaProcesso->isEnabled());
    EXPECT_FALSE(tela.Importando());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(conta("SELECT count(*) FROM TB_ESTAB_SAUDE"), 2);
    EXPECT_FALSE(banco().emTransacao());
}

// The window keeps processing events while a large file is read: timers fire, the bar
// moves, and the screen refuses to close until the run ends.
TEST_F(TelaImportacaoTeste, FileScreenStaysResponsiveAndCannotBeClosedWhileRunning) {
    QList<QByteArray> linhas;
    for (int i = 1; i <= 20000; ++i) linhas << linhaValida(i).bytes();
    const QString caminho = arquivoTxt(linhas);
    TfrmImportarRedeHosp tela;
    tela.show();
    tela.AbreArquivoTxt->setText(caminho);
    int disparos = 0;
    QList<int> valores;
    bool fechouDurante = false;
    QTimer relogio;
    relogio.setInterval(5);
    QObject::connect(&relogio, &QTimer::timeout, [&] {
        if (!tela.Importando()) return;
        ++disparos;
        valores << tela.Gauge1->value();
        tela.close();
        tela.reject();
        QTest::keyClick(&tela, Qt::Key_Escape);
        fechouDurante = fechouDurante || !tela.isVisible();
    });
    relogio.start();
    tela.btnConfirmaProcessoClick();
    EXPECT_GT(disparos, 2);
    EXPECT_FALSE(fechouDurante);
    ASSERT_FALSE(valores.isEmpty());
    EXPECT_GT(valores.last(), valores.first());
    EXPECT_EQ(tela.Gauge1->maximum(), 20000);
    EXPECT_EQ(conta("SELECT count(*) FROM TB_ESTAB_SAUDE"), 20000);
}

class TelaOlvarTeste : public BaseImportacao {
protected:
    Modais modais;
    void SetUp() override { inicia(); }
    QString criaFonte(const QList<QVariantMap>& linhas, const QString& cdOper = kOperadora,
                      const QString& nome = QStringLiteral("Zemlo.mdb")) {
        const QString caminho = pasta.arquivo(nome);
        BaseOlvar b(caminho, cdOper);
        for (const QVariantMap& l : linhas) b.Acrescenta(l);
        b.Conclui();
        return caminho;
    }
    // Opens the dialog on a path and confirms.
    void confirma(const QString& caminho) {
        TfrmDlgImportEstabSaudeSistema dlg;
        dlg.show();
        dlg.AbreArquivoMbd->setText(caminho);
        QTest::mouseClick(dlg.btnConfirmaProcesso, Qt::LeftButton);
        fechou = !dlg.isVisible();
    }
    bool fechou = false;
};

TEST_F(TelaOlvarTeste, TheDialogProposesTheProgramsOwnFileOrAsksForIt) {
    {
        TfrmDlgImportEstabSaudeSistema dlg;
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Importar os Estabelecimentos de Saúde do Sistema OLVAR."));
        EXPECT_TRUE(dlg.AbreArquivoMbd->text().isEmpty());
        EXPECT_EQ(dlg.btnConfirmaProcesso->toolTip(), QStringLiteral("Importar arquivo."));
        EXPECT_EQ(dlg.btnLimpaTexto->toolTip(), QStringLiteral("Cancelar"));
        EXPECT_FALSE(dlg.Gauge1->isVisible());
    }
    EXPECT_EQ(mensagens.textos(),
              QStringList{QStringLiteral("Informe o Caminho do Banco de Dados do Sistema OLVAR.")});
    mensagens.limpa();
    const QString proprio = criaFonte({BaseOlvar::Gerada(1)});
    TfrmDlgImportEstabSaudeSistema dlg;
    EXPECT_EQ(dlg.AbreArquivoMbd->text(), proprio);
    EXPECT_TRUE(mensagens.textos().isEmpty());
    Seletor seletor(QStringLiteral("/outro/lugar/ZEMLO.MDB"));
    QTest::mouseClick(dlg.btnProcuraArquivo, Qt::LeftButton);
    ASSERT_EQ(seletor.pedidos.size(), 1);
    EXPECT_EQ(seletor.pedidos.first().filtro, QStringLiteral("Arquivos mdb -  (*.mdb *.MDB)"));
    EXPECT_EQ(dlg.AbreArquivoMbd->text(), QStringLiteral("/outro/lugar/ZEMLO.MDB"));
}

TEST_F(TelaOlvarTeste, AFileThatIsNotThePredecessorsDatabaseIsRefused) {
    const QString kRecusa =
        QStringLiteral("O arquivo selecionado não corresponde ao Banco de Dados do Sistema OLVAR.");
    // the right database under another name
    confirma(criaFonte({BaseOlvar::Gerada(1)}, kOperadora, QStringLiteral("Antigo.mdb")));
    // the right name, the wrong password
    QDir().mkpath(pasta.arquivo(QStringLiteral("x")));
    QFile::copy(pasta.arquivo(QStringLiteral("QEV.mdb")), pasta.arquivo(QStringLiteral("x/Zemlo.mdb")));
    confirma(pasta.arquivo(QStringLiteral("x/Zemlo.mdb")));
    EXPECT_FALSE(fechou);
    // the right name, a file of another engine (as OLVAR itself writes it)
    QDir().mkpath(pasta.arquivo(QStringLiteral("y")));
    {
        QFile jet(pasta.arquivo(QStringLiteral("y/Zemlo.mdb")));
        ASSERT_TRUE(jet.open(QIODevice::WriteOnly));
        jet.write(QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) + QByteArray(4076, '\0'));
    }
    confirma(pasta.arquivo(QStringLiteral("y/Zemlo.mdb")));
    EXPECT_FALSE(fechou);
    // (no Zemlo.mdb in the program's folder: each opening asks for the path first)
    const QString pede = QStringLiteral("Informe o Caminho do Banco de Dados do Sistema OLVAR.");
    // a file with the predecessor's name is told where the conversion tool is
    const QString ajuda = ImportacaoOlvar::AjudaConversao(DmConexao()->PastaSistema());
    EXPECT_TRUE(ajuda.contains(DmConexao()->PastaSistema() + QStringLiteral("qev-olvar --operadora")))
        << ajuda.toStdString();
    EXPECT_EQ(mensagens.textos(), (QStringList{pede, kRecusa, pede, kRecusa + ajuda, pede, kRecusa + ajuda}));
    EXPECT_EQ(conta("SELECT count(*) FROM TB_ESTAB_SAUDE"), 0);
}

TEST_F(TelaOlvarTeste, TheThreeEndingsAndTheOtherOperator) {
    const QString outra = criaFonte({BaseOlvar::Gerada(1)}, kOutraOperadora);
    confirma(outra);
    EXPECT_TRUE(fechou);
    EXPECT_EQ(mensagens.textos(),
              QStringList{QStringLiteral("Não existem Estabelecimentos de Saúde para a Operadora.")});

    QVariantMap semNome = BaseOlvar::Gerada(9);
    semNome.remove(QStringLiteral("RAZAO_SOCIAL_ESTB_SAUD"));
    const struct {
        QList<QVariantMap> linhas;
        const char* mensagem;
    } casos[] = {
        {{BaseOlvar::Gerada(1), BaseOlvar::Gerada(2)},
         "2 Estabelecimentos de Saúde Importados com Sucesso."},
        {{BaseOlvar::Gerada(3), semNome},
         "1 Estabelecimentos de Saúde Importados com Sucesso.\nMas ocorreram erros durante a "
         "importação."},
        {{BaseOlvar::Gerada(3)}, "Ocorreram Erros durante a importação dos Estabelecimentos de Saúde."},
    };
    for (const auto& c : casos) {
        mensagens.limpa();
        modais.abertos.clear();
        modais.textos.clear();
        confirma(criaFonte(c.linhas));
        EXPECT_TRUE(fechou) << c.mensagem;
        EXPECT_EQ(mensagens.textos(), QStringList{QString::fromUtf8(c.mensagem)});
    }
    // the last run's list: every line of the refused establishment, its CNPJ first
    EXPECT_EQ(modais.abertos, QStringList{QStringLiteral("TfrmErrosGenericos")});
    EXPECT_EQ(modais.titulo, TfrmDlgImportEstabSaudeSistema::TituloErros());
    const QString cnpj3 = BaseOlvar::Gerada(3).value(QStringLiteral("CD_CNPJ_ESTB_SAUD")).toString();
    EXPECT_EQ(modais.textos, QStringList{cnpj3 + QStringLiteral("- O  Conjunto CNPJ ou CPF/CNES deve ser único.")});
    EXPECT_EQ(conta("SELECT count(*) FROM TB_ESTAB_SAUDE"), 3);
    EXPECT_FALSE(conexao->bancoAnterior().aberto());
}

// The establishment screen's import button opens the dialog and shows the new count.
TEST_F(TelaOlvarTeste, TheEstablishmentScreensButtonOpensTheDialog) {
    banco().executaScript(estab(1, kCnes, kCnpj, "Hospital Um"));
    criaFonte({BaseOlvar::Gerada(1), BaseOlvar::Gerada(2)});
    QStringList abertos;
    Modal::Tratador anterior = Modal::define([&](QDialog& d) {  // (inside the fixture's own)
        abertos << d.objectName();
        if (auto* dlg = qobject_cast<TfrmDlgImportEstabSaudeSistema*>(&d)) dlg->btnConfirmaProcessoClick();
        return int(d.result());
    });
    {
        TfrmCadHosp tela;
        tela.show();
        ASSERT_TRUE(tela.actImportaOLVAR->isEnabled());
        tela.actImportaOLVAR->trigger();
        EXPECT_EQ(abertos, QStringList{QStringLiteral("frmDlgImportEstabSaudeSistema")});
        EXPECT_EQ(tela.QuantidadeEstabelecimentos(), 3);
        EXPECT_EQ(tela.edRazao->text(), QStringLiteral("Hospital Um"));
    }
    Modal::define(std::move(anterior));
}

}  // namespace
