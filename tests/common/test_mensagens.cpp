#include <gtest/gtest.h>

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QStringList>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <ostream>

#include "apoio/Apoio.h"
#include "common/FrmMyMessageDlg.h"
#include "common/MensagemDlg.h"
#include "plans/DmInfoPlano.h"

using namespace Mensagens;

namespace {

// ---------------------------------------------------------------- TraduzErroBanco

struct CasoTraducao {
    const char* erro;
    const char* mensagem;
};

void PrintTo(const CasoTraducao& c, std::ostream* os) { *os << '"' << c.erro << '"'; }

class TraduzErroBancoTeste : public ::testing::TestWithParam<CasoTraducao> {};

TEST_P(TraduzErroBancoTeste, PrimeiraRegraQueCasaDaAMensagem) {
    EXPECT_EQ(TraduzErroBanco(QString::fromUtf8(GetParam().erro)),
              QString::fromUtf8(GetParam().mensagem));
}

constexpr const char* kBloqueado = "Registro está sendo alterado por outro usuário";
constexpr const char* kConversao = "Houve um erro de conversão ao tentar gravar os dados.";
constexpr const char* kChave = "Houve violação de chave primária";

INSTANTIATE_TEST_SUITE_P(
    Casos, TraduzErroBancoTeste,
    ::testing::Values(
        // Record held by another user.
        CasoTraducao{"Could not update; currently locked by user 'Admin' on machine 'PC1'.",
                     kBloqueado},
        CasoTraducao{"database is locked", kBloqueado},
        CasoTraducao{"database table is locked: Estabelecimento", kBloqueado},
        // The words are matched with the letter case as written.
        CasoTraducao{"Currently Locked",
                     "Operação não realizada! Ocorreu o erro:  Currently Locked"},
        // Conversion.
        CasoTraducao{"'12a' is not a valid integer value", kConversao},
        CasoTraducao{"datatype mismatch", kConversao},
        CasoTraducao{"'x' não é um número inteiro válido", kConversao},
        // Missing file: everything after the first "file".
        CasoTraducao{"Could not find file 'C:\\QEV\\QEV.mdb'.",
                     "Não foi possível localizar o arquivo  'C:\\QEV\\QEV.mdb'."},
        CasoTraducao{"unable to open database file '/home/op/QEV.mdb'",
                     "Não foi possível localizar o arquivo  '/home/op/QEV.mdb'"},
        CasoTraducao{"COULD NOT FIND FILE X.MDB", "Não foi possível localizar o arquivo  X.MDB"},
        // Duplicate key.
        CasoTraducao{"The changes you requested to the table were not successful because they "
                     "would create duplicate values in the index, primary key, or relationship.",
                     kChave},
        CasoTraducao{"UNIQUE constraint failed: Estabelecimento.CNES", kChave},
        CasoTraducao{"PRIMARY KEY must be unique", kChave},
        // The first rule that matches wins.
        CasoTraducao{"database is locked; UNIQUE constraint failed", kBloqueado},
        // Anything else keeps the engine's words.
        CasoTraducao{"no such table: Operadora",
                     "Operação não realizada! Ocorreu o erro:  no such table: Operadora"},
        CasoTraducao{"", "Operação não realizada! Ocorreu o erro:  "}));

// ---------------------------------------------------------------- MyMessageDlg

TEST(MyMessageDlg, EntregaOPedidoAoTratadorInstaladoEDevolveSuaResposta) {
    Apoio::Mensageiro mensageiro;
    mensageiro.responde({RespNao});
    const QIcon icone = QApplication::style()->standardIcon(QStyle::SP_FileIcon);

    EXPECT_EQ(MyMessageDlg(QStringLiteral("Confirma a exclusão?"), Confirmacao, BtSim | BtNao),
              RespNao);
    EXPECT_EQ(MyMessageDlg(QStringLiteral("Texto"), Livre, BtOk, &icone, QStringLiteral("Título")),
              RespOk);
    MostraErroSimples(QStringLiteral("Falhou"));

    ASSERT_EQ(mensageiro.pedidos().size(), 3);
    const Pedido& p0 = mensageiro.pedidos()[0];
    EXPECT_EQ(p0.texto, QStringLiteral("Confirma a exclusão?"));
    EXPECT_EQ(p0.tipo, Confirmacao);
    EXPECT_EQ(p0.botoes, BtSim | BtNao);
    EXPECT_FALSE(p0.comIcone);
    EXPECT_TRUE(p0.legenda.isEmpty());
    const Pedido& p1 = mensageiro.pedidos()[1];
    EXPECT_EQ(p1.tipo, Livre);
    EXPECT_EQ(p1.botoes, BtOk);
    EXPECT_TRUE(p1.comIcone);
    EXPECT_EQ(p1.legenda, QStringLiteral("Título"));
    const Pedido& p2 = mensageiro.pedidos()[2];
    EXPECT_EQ(p2.tipo, CaixaErroSimples);
    EXPECT_EQ(p2.botoes, BtOk);
    EXPECT_EQ(p2.texto, QStringLiteral("Falhou"));
}

TEST(MyMessageDlg, IconeDoChamadorAlcancaOTratadorSoDuranteAChamada) {
    const QIcon icone = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    QList<const QIcon*> vistos;
    Tratador anterior = defineTratador([&](const Pedido&) {
        vistos << IconeDaMensagemAtual();
        return RespOk;
    });
    MyMessageDlg(QStringLiteral("a"), Livre, BtOk, &icone);
    MyMessageDlg(QStringLiteral("b"), Livre, BtOk);
    defineTratador(std::move(anterior));

    EXPECT_EQ(vistos, (QList<const QIcon*>{&icone, nullptr}));
    EXPECT_EQ(IconeDaMensagemAtual(), nullptr);
}

// ---------------------------------------------------------------- TfrmMyMessageDlg

QStringList legendas(const TfrmMyMessageDlg& dlg) {
    QStringList r;
    for (const QPushButton* b : dlg.botoes()) r << b->text();
    return r;
}

QString linhas(int n) {
    QStringList l;
    for (int i = 1; i <= n; ++i) l << QStringLiteral("Linha %1").arg(i);
    return l.join(QLatin1Char('\n'));
}

TEST(TfrmMyMessageDlg, ConfirmacaoSimNaoCentradaEm400) {
    for (const int clicado : {0, 1}) {
        TfrmMyMessageDlg dlg(QStringLiteral("Confirma?"), Confirmacao, BtSim | BtNao);
        dlg.show();
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Confirme"));
        EXPECT_EQ(dlg.width(), 400);
        EXPECT_EQ(dlg.larguraEscolhida(), 400);
        EXPECT_EQ(dlg.faixaInferior()->width(), 400);
        ASSERT_EQ(legendas(dlg), (QStringList{QStringLiteral("&Sim"), QStringLiteral("&Não")}));

        const QRect primeiro = dlg.botoes()[0]->geometry();
        const QRect segundo = dlg.botoes()[1]->geometry();
        EXPECT_EQ(primeiro, QRect(120, 4, 75, 27));
        EXPECT_EQ(segundo, QRect(205, 4, 75, 27));
        // Same room on both sides of the row.
        EXPECT_EQ(primeiro.left(), 400 - 1 - segundo.right());

        QTest::mouseClick(dlg.botoes()[clicado], Qt::LeftButton);
        const int esperada = clicado == 0 ? RespSim : RespNao;
        EXPECT_EQ(dlg.resposta(), esperada);
        EXPECT_EQ(dlg.result(), esperada);
        EXPECT_FALSE(dlg.isVisible());
    }
}

struct CasoBotao {
    Botao botao;
    const char* legenda;
    int resposta;  // 0: does not close
};

void PrintTo(const CasoBotao& c, std::ostream* os) { *os << "botao " << c.botao; }

class BotaoTeste : public ::testing::TestWithParam<CasoBotao> {};

TEST_P(BotaoTeste, LegendaERespostaDoBotao) {
    const CasoBotao& c = GetParam();
    TfrmMyMessageDlg dlg(QStringLiteral("x"), Informacao, c.botao);
    dlg.show();
    ASSERT_EQ(dlg.botoes().size(), 1);
    QPushButton* b = dlg.botoes().first();
    EXPECT_EQ(b->text(), QString::fromUtf8(c.legenda));
    EXPECT_TRUE(b->font().bold());
    EXPECT_EQ(b->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_EQ(dlg.resposta(), c.resposta);
    EXPECT_EQ(dlg.isVisible(), c.resposta == RespNenhuma);
}

INSTANTIATE_TEST_SUITE_P(
    Tabela, BotaoTeste,
    ::testing::Values(CasoBotao{BtSim, "&Sim", 6}, CasoBotao{BtNao, "&Não", 7},
                      CasoBotao{BtOk, "&Ok", 1}, CasoBotao{BtCancelar, "&Cancelar", 2},
                      CasoBotao{BtAbortar, "&Abortar", 3}, CasoBotao{BtRefazer, "&Refazer", 4},
                      CasoBotao{BtIgnorar, "&Ignorar", 5}, CasoBotao{BtTodos, "&Todos", 8},
                      CasoBotao{BtNaoParaTodos, "&Não", 7}, CasoBotao{BtSimParaTodos, "&Todos", 8},
                      CasoBotao{BtAjuda, "&Ajuda", 0}));

TEST(TfrmMyMessageDlg, BotoesNaOrdemDaTabelaQualquerQueSejaOConjunto) {
    TfrmMyMessageDlg dlg(QStringLiteral("x"), Livre, BtAjuda | BtCancelar | BtOk | BtSim);
    EXPECT_EQ(legendas(dlg), (QStringList{QStringLiteral("&Sim"), QStringLiteral("&Ok"),
                                          QStringLiteral("&Cancelar"), QStringLiteral("&Ajuda")}));
}

TEST(TfrmMyMessageDlg, LarguraPelaQuantidadeDeBotoes) {
    const struct {
        int quantos;
        int linha;
        int largura;
    } casos[] = {{1, 75, 400},
                 {2, 160, 400},
                 {3, 245, 400},
                 {4, 330, 500},
                 {5, 415, 600},
                 {6, 500, 790},
                 {7, 585, 790},
                 {8, 670, 790},
                 // A longer row widens the dialog past the print button.
                 {9, 755, 819}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.quantos);
        const Botoes conjunto = (1u << c.quantos) - 1;  // the first buttons of the order
        TfrmMyMessageDlg dlg(QStringLiteral("x"), Informacao, conjunto);
        dlg.show();
        ASSERT_EQ(dlg.botoes().size(), c.quantos);
        EXPECT_EQ(dlg.larguraLinhaBotoes(), c.linha);
        EXPECT_EQ(dlg.width(), c.largura);
        const int primeiro = qRound((c.largura - c.linha) / 2.0);
        for (int i = 0; i < c.quantos; ++i)
            EXPECT_EQ(dlg.botoes()[i]->geometry(), QRect(primeiro + 85 * i, 4, 75, 27)) << i;
        // The row stays clear of the print button.
        EXPECT_GT(primeiro, dlg.botaoImprimir()->geometry().right());
    }
}

TEST(TfrmMyMessageDlg, AlturaCresceComAsLinhasAte500) {
    const struct {
        int linhas;
        int altura;
        bool barraFixa;
    } casos[] = {{1, 200, false},  {8, 200, false}, {9, 217, false}, {20, 404, false},
                 {25, 489, false}, {26, 500, true}, {40, 500, true}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.linhas);
        TfrmMyMessageDlg dlg(linhas(c.linhas), Informacao, BtOk);
        dlg.show();
        EXPECT_EQ(dlg.linhas(), c.linhas);
        EXPECT_EQ(dlg.alturaEscolhida(), c.altura);
        EXPECT_EQ(dlg.height(), c.altura);
        EXPECT_EQ(dlg.areaTexto()->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn, c.barraFixa);
        // The buttons stay in the bottom band.
        EXPECT_EQ(dlg.faixaInferior()->geometry().bottom(), c.altura - 1);
    }
}

TEST(TfrmMyMessageDlg, QuebrasDeLinhaViramCrLfNaAreaSomenteLeitura) {
    TfrmMyMessageDlg dlg(QStringLiteral("um\rdois\ntrês\r\nquatro\n"), Cuidado, BtOk);
    EXPECT_EQ(dlg.texto(), QStringLiteral("um\r\ndois\r\ntrês\r\nquatro"));
    EXPECT_EQ(dlg.linhas(), 4);
    EXPECT_TRUE(dlg.areaTexto()->isReadOnly());
    EXPECT_EQ(dlg.areaTexto()->blockCount(), 4);
    EXPECT_EQ(dlg.areaTexto()->toPlainText(), QStringLiteral("um\ndois\ntrês\nquatro"));
}

TEST(TfrmMyMessageDlg, LegendaCorEIconePeloTipo) {
    const struct {
        int tipo;
        const char* legenda;
        bool vermelho;
        bool icone;
    } casos[] = {{Cuidado, "CUIDADO", false, true},
                 {Erro, "E R R O", true, true},
                 {Informacao, "Informação", false, true},
                 {Confirmacao, "Confirme", false, true},
                 {Livre, "", false, true},
                 {9, "", false, false}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.tipo);
        TfrmMyMessageDlg dlg(QStringLiteral("Mensagem"), c.tipo, BtOk);
        EXPECT_EQ(dlg.windowTitle(), QString::fromUtf8(c.legenda));
        EXPECT_EQ(dlg.areaTexto()->palette().color(QPalette::Text),
                  c.vermelho ? QColor(Qt::red) : QColor(Qt::black));
        EXPECT_EQ(!dlg.rotuloIcone()->isHidden(), c.icone);
    }
}

TEST(TfrmMyMessageDlg, LegendaEIconeDoChamadorSubstituemOsDoTipo) {
    const QIcon icone = QApplication::style()->standardIcon(QStyle::SP_DriveHDIcon);
    TfrmMyMessageDlg dlg(QStringLiteral("x"), 9, BtOk, &icone, QStringLiteral("Atenção"));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Atenção"));
    EXPECT_FALSE(dlg.rotuloIcone()->isHidden());
    EXPECT_EQ(dlg.rotuloIcone()->pixmap().toImage(), icone.pixmap(32, 32).toImage());
}

TEST(TfrmMyMessageDlg, SemBotaoFecharEscapeSoRespondeCancelar) {
    TfrmMyMessageDlg semCancelar(QStringLiteral("x"), Confirmacao, BtSim | BtNao);
    EXPECT_FALSE(semCancelar.windowFlags() & Qt::WindowCloseButtonHint);
    semCancelar.show();
    QTest::keyClick(&semCancelar, Qt::Key_Escape);
    semCancelar.close();
    EXPECT_TRUE(semCancelar.isVisible());
    EXPECT_EQ(semCancelar.resposta(), RespNenhuma);

    TfrmMyMessageDlg comCancelar(QStringLiteral("x"), Confirmacao, BtOk | BtCancelar);
    comCancelar.show();
    QTest::keyClick(&comCancelar, Qt::Key_Escape);
    EXPECT_FALSE(comCancelar.isVisible());
    EXPECT_EQ(comCancelar.resposta(), RespCancelar);
}

TEST(TfrmMyMessageDlg, ImprimeAJanelaOuAvisaQueNaoPode) {
    Apoio::Mensageiro mensageiro;
    QTemporaryDir pasta;
    TfrmMyMessageDlg dlg(QStringLiteral("Mensagem impressa"), Informacao, BtOk);
    dlg.show();
    EXPECT_EQ(dlg.botaoImprimir()->toolTip(), QStringLiteral("Imprime a tela"));

    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(pasta.filePath(QStringLiteral("tela.pdf")));
    EXPECT_TRUE(dlg.imprimeEm(pdf));
    EXPECT_GT(QFileInfo(pdf.outputFileName()).size(), 0);
    EXPECT_TRUE(mensageiro.pedidos().isEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    QPrinter semDestino(QPrinter::HighResolution);
    semDestino.setOutputFormat(QPrinter::PdfFormat);
    semDestino.setOutputFileName(pasta.filePath(QStringLiteral("nao/existe/tela.pdf")));
    EXPECT_FALSE(dlg.imprimeEm(semDestino));
    ASSERT_EQ(mensageiro.pedidos().size(), 1);
    EXPECT_EQ(mensageiro.pedidos()[0].tipo, CaixaErroSimples);
    EXPECT_EQ(mensageiro.pedidos()[0].botoes, BtOk);
    EXPECT_EQ(mensageiro.pedidos()[0].texto, QStringLiteral("Indisponível para impressão"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// ---------------------------------------------------------------- graphical handler

// Calls `responde` with the first modal window of type T that appears, from the
// event loop of the modal dialog.
template <typename T>
void respondeAoModal(std::function<void(T*)> responde) {
    auto* vigia = new QTimer;
    vigia->setInterval(0);
    QObject::connect(vigia, &QTimer::timeout, [vigia, responde] {
        if (auto* janela = qobject_cast<T*>(QApplication::activeModalWidget())) {
            vigia->stop();
            vigia->deleteLater();
            responde(janela);
        }
    });
    vigia->start();
}

class TratadorGrafico : public ::testing::Test {
protected:
    void SetUp() override {
        m_anterior = defineTratador({});
        InstalaTratadorGrafico();
    }
    void TearDown() override { defineTratador(std::move(m_anterior)); }

private:
    Tratador m_anterior;
};

TEST_F(TratadorGrafico, MostraODialogoDoSistemaERespondeOBotaoClicado) {
    QString legenda;
    QStringList botoes;
    respondeAoModal<TfrmMyMessageDlg>([&](TfrmMyMessageDlg* dlg) {
        legenda = dlg->windowTitle();
        botoes = legendas(*dlg);
        QTest::mouseClick(dlg->botoes().at(1), Qt::LeftButton);
    });
    EXPECT_EQ(MyMessageDlg(QStringLiteral("Excluir?"), Confirmacao, BtSim | BtNao), RespNao);
    EXPECT_EQ(legenda, QStringLiteral("Confirme"));
    EXPECT_EQ(botoes, (QStringList{QStringLiteral("&Sim"), QStringLiteral("&Não")}));
}

TEST_F(TratadorGrafico, ErroSimplesEmCaixaCritica) {
    QString texto;
    QMessageBox::Icon icone = QMessageBox::NoIcon;
    respondeAoModal<QMessageBox>([&](QMessageBox* caixa) {
        texto = caixa->text();
        icone = caixa->icon();
        QTest::mouseClick(caixa->button(QMessageBox::Ok), Qt::LeftButton);
    });
    MostraErroSimples(QStringLiteral("Falha geral"));
    EXPECT_EQ(texto, QStringLiteral("Falha geral"));
    EXPECT_EQ(icone, QMessageBox::Critical);
}

}  // namespace

namespace {
// How many screen lines each paragraph of the dialog's text takes.
QVector<int> linhasNaTela(TfrmMyMessageDlg& dlg) {
    QVector<int> r;
    const QTextDocument* doc = dlg.areaTexto()->document();
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) r << (b.layout() ? b.layout()->lineCount() : 0);
    return r;
}
}  // namespace

TEST(TfrmMyMessageDlg, ALongLineWidensTheDialogInsteadOfWrapping) {
    // The eight-line message about the technical-note file name: as wide as its longest
    // line, every line on one screen line, no scroll bar.
    const QString texto = TdmInfoPlano::MensagemFormatoNomeArquivo();
    TfrmMyMessageDlg dlg(texto, Cuidado, BtOk);
    dlg.show();
    QApplication::processEvents();
    EXPECT_EQ(dlg.linhas(), 8);
    const QFontMetrics m(dlg.areaTexto()->font());
    int maior = 0;
    for (const QString& l : texto.split(QLatin1Char('\r'))) maior = qMax(maior, m.horizontalAdvance(l));
    EXPECT_GT(dlg.width(), 400);
    EXPECT_GE(dlg.areaTexto()->viewport()->width(), maior);
    EXPECT_EQ(linhasNaTela(dlg), QVector<int>(8, 1));
    EXPECT_EQ(dlg.height(), 200) << "eight lines keep the height of the rule";
    EXPECT_EQ(dlg.areaTexto()->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    // The buttons stay centred in the wider band.
    const QPushButton* ok = dlg.botoes().first();
    EXPECT_EQ(ok->geometry().left(), qRound((dlg.width() - 75) / 2.0));

    // A line longer than the screen stops at most of the screen's width and wraps there.
    const int tela = dlg.screen()->availableGeometry().width();
    TfrmMyMessageDlg enorme(QStringLiteral("palavra ").repeated(400), Informacao, BtOk);
    EXPECT_LE(enorme.larguraEscolhida(), tela);
    EXPECT_GE(enorme.larguraEscolhida(), tela * 8 / 10);
}
