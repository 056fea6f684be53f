// The main window: creation, showing, activation, "Dados da Operadora", the About window.
#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "apoio/Apoio.h"
#include "app/ConduzModal.h"
#include "app/FrmAvisoVersao.h"
#include "app/FrmPrincipal.h"
#include "app/FrmSobre.h"
#include "app/Inicio.h"
#include "app/ProgramaTeste.h"
#include "app/LogicaPrincipal.h"
#include "app/ServidorTeste.h"
#include "app/VerificaVersao.h"
#include "apoio/VuqTeste.h"
#include "common/Mnemonicos.h"
#include "common/Versao.h"
#include "db/DmConexao.h"
#include "db/PacoteDados.h"
#include "devices/FrmCadClausula.h"
#include "operator/DmOperadora.h"
#include "operator/FrmCadOperadora.h"
#include "operator/FrmSelecionaOperadora.h"
#include "operator/Operadora.h"
#include "plans/FrmCadPlano.h"
#include "plans/FrmManutencaoRede.h"

using namespace Apoio;

namespace {

// Operator 412341 ("Administradora", 21) first, then 300012 (22); each with
// establishments; links of both plans to establishments of both operators.
const char* kDuasOperadoras = R"SQL(
INSERT INTO OPERADORAS (CD_OPER, CD_CNPJ, NM_RAZAO_SOCIAL, CD_GRUPO_CLASSIFICACAO, CD_REGIAO_ATUACAO)
  VALUES ('412341', '11444777000161', 'ADMINISTRADORA SÃO JOÃO', 21, 3);
INSERT INTO OPERADORAS (CD_OPER, CD_CNPJ, NM_RAZAO_SOCIAL, CD_GRUPO_CLASSIFICACAO, CD_REGIAO_ATUACAO)
  VALUES ('300012', '06990590000123', 'COOPERATIVA SUL', 22, 6);
INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, CD_OPER, RAZAO_SOCIAL_ESTB_SAUD) VALUES (1, '412341', 'HOSPITAL A');
INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, CD_OPER, RAZAO_SOCIAL_ESTB_SAUD) VALUES (2, '300012', 'HOSPITAL B');
INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, CD_OPER, RAZAO_SOCIAL_ESTB_SAUD) VALUES (3, '300012', 'CLÍNICA B');
INSERT INTO RL_PLANOS_ESTAB_SAUDE (CD_OPER, SEQ_PLANO, ID_ESTB_SAUD) VALUES ('412341', 0, 1);
INSERT INTO RL_PLANOS_ESTAB_SAUDE (CD_OPER, SEQ_PLANO, ID_ESTB_SAUD) VALUES ('412341', 0, 2);
INSERT INTO RL_PLANOS_ESTAB_SAUDE (CD_OPER, SEQ_PLANO, ID_ESTB_SAUD) VALUES ('300012', 1, 3);
INSERT INTO RL_PLANOS_ESTAB_SAUDE (CD_OPER, SEQ_PLANO, ID_ESTB_SAUD) VALUES ('300012', 1, 1);
)SQL";

const QString kMensagem21 = QStringLiteral(
    "A operadora ADMINISTRADORA SÃO JOÃO não pode registrar plano, porque ela é classificada como "
    "Administradora");

class PrincipalTeste : public ::testing::Test {
protected:
    PastaTeste pasta;
    Mensageiro msgs;
    QString caminho;
    ProgramaTeste programa;

    void TearDown() override { programa.encerra(); }

    void inicia(const QString& sql, const PastaTeste* outra = nullptr) {
        caminho = programa.inicia(outra ? *outra : pasta, sql);
    }

    // Rows of a table as text, in rowid order, read by a second connection.
    QStringList linhas(const QString& sql) {
        QStringList r;
        for (const auto& l : abreBanco(caminho)->consulta(sql).linhas) {
            QStringList v;
            for (const auto& c : l) v << c.toString();
            r << v.join('|');
        }
        return r;
    }

    // Shows the window and lets its activation run.
    static void mostra(TfrmPrincipal& w) {
        w.show();
        ASSERT_TRUE(espera([&] { return w.isActiveWindow(); }));
        QCoreApplication::processEvents();
    }

    // "Dados da Operadora": chooses the operator at `linha` of the list and confirms.
    static void seleciona(TfrmPrincipal& w, int linha) {
        quandoAbrir<TfrmSelecionaOperadora>([linha](TfrmSelecionaOperadora* s) {
            s->lstOperadora()->setCurrentRow(linha);
            QTest::mouseClick(s->btnConfirmar(), Qt::LeftButton);
        });
        w.Acao(QStringLiteral("actSelecionarOperadora"))->trigger();
    }
};
}  // namespace

TEST_F(PrincipalTeste, CreationKeepsOnlyTheFirstOperatorsEstablishmentsAndTheirLinks) {
    inicia(QString::fromUtf8(kDuasOperadoras));
    QLocale::setDefault(QLocale::c());
    TfrmPrincipal w;
    EXPECT_FALSE(w.DeveFinalizar());
    EXPECT_EQ(QLocale().toString(QDate(2024, 3, 5), QLocale::ShortFormat),
              QStringLiteral("05/03/2024"));
    EXPECT_EQ(OperadoraAtual().CdOper, QStringLiteral("412341"));
    EXPECT_EQ(linhas(QStringLiteral("SELECT ID_ESTB_SAUD FROM TB_ESTAB_SAUDE ORDER BY rowid")),
              QStringList({"1"}));
    EXPECT_EQ(
        linhas(QStringLiteral(
            "SELECT CD_OPER, SEQ_PLANO, ID_ESTB_SAUD FROM RL_PLANOS_ESTAB_SAUDE ORDER BY rowid")),
        QStringList({"412341|0|1", "300012|1|1"}));
    EXPECT_FALSE(DmConexao()->banco().emTransacao());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("QEV - Registro de Planos de Saúde da Operadora"));
    EXPECT_EQ(w.minimumSize(), QSize(720, 540));
}

TEST_F(PrincipalTeste, APendingProtocolWithoutTheTransferProgramWarnsAndTheWindowOpens) {
    VuqInstalado vuq;
    vuq.desinstala();
    inicia(QStringLiteral(
        "INSERT INTO OPERADORAS (CD_OPER, CD_CNPJ, NM_RAZAO_SOCIAL, CD_GRUPO_CLASSIFICACAO, "
        "CD_REGIAO_ATUACAO) VALUES ('300012', '06990590000123', 'COOPERATIVA SUL', 22, 6);"
        "INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_STATUS_ENVIO, NM_ARQ_RETORNO) "
        "VALUES ('300012', 7, 'PLANO OURO', 0, '300012_7.QEV');"));
    ASSERT_EQ(msgs.pedidos().size(), 1);
    EXPECT_EQ(msgs.pedidos().first().tipo, Mensagens::Cuidado);
    EXPECT_TRUE(msgs.pedidos().first().texto.contains(
        QStringLiteral("Plano 7 - PLANO OURO, arquivo \"300012_7.QEV\"")));
    TfrmPrincipal w;
    EXPECT_FALSE(w.DeveFinalizar());
    mostra(w);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(linhas(QStringLiteral("SELECT NM_ARQ_RETORNO FROM TB_PLANOS")),
              QStringList({"300012_7.QEV"}));
}

TEST_F(PrincipalTeste, ShowingSetsTheSelfManagedFlagTheVersionAndTheMenus) {
    const struct {
        int classificacao;
        const char* autogestao;
        bool menus;
    } casos[] = {{24, "S", true}, {22, "N", true}, {21, "N", false}};
    for (const auto& c : casos) {
        PastaTeste propria;
        msgs.limpa();
        inicia(QStringLiteral("INSERT INTO OPERADORAS (CD_OPER, CD_CNPJ, NM_RAZAO_SOCIAL, "
                              "CD_GRUPO_CLASSIFICACAO, "
                              "CD_REGIAO_ATUACAO) VALUES ('412341', '11444777000161', "
                              "'ADMINISTRADORA SÃO JOÃO', %1, 1);")
                   .arg(c.classificacao),
               &propria);
        {
            TfrmPrincipal w;
            mostra(w);
            EXPECT_EQ(LogicaPrincipal::Autogestao(), QString::fromLatin1(c.autogestao));
            EXPECT_EQ(w.RotuloVersao()->text(), QStringLiteral("versão ") + VersaoSistema(true));
            EXPECT_EQ(w.MenuCadastro()->isEnabled(), c.menus);
            EXPECT_EQ(w.MenuRelatorios()->isEnabled(), c.menus);
            EXPECT_EQ(msgs.textos(), c.menus ? QStringList() : QStringList({kMensagem21}));
            EXPECT_TRUE(w.Acao(QStringLiteral("actSelecionarOperadora"))->isEnabled());
            // loading establishments from a file is not for an administrator
            EXPECT_EQ(w.Acao(QStringLiteral("actImportarHospitais"))->isEnabled(), c.menus);
            EXPECT_TRUE(w.Acao(QStringLiteral("actImportarEstabOLVAR"))->isEnabled());
            EXPECT_TRUE(w.isMaximized());
            EXPECT_EQ(w.CampoCodigo()->text(), QStringLiteral("41234-1"));
            EXPECT_EQ(w.CampoCnpj()->text(), QStringLiteral("11.444.777/0001-61"));
            EXPECT_EQ(w.CampoRazaoSocial()->text(), QStringLiteral("ADMINISTRADORA SÃO JOÃO"));
        }
        programa.encerra();
    }
}

TEST_F(PrincipalTeste, FirstStartGivingUpTheRegistrationWarnsAndEnds) {
    inicia(QString());
    bool abriu = false;
    quandoAbrir<TfrmCadOperadora>([&](TfrmCadOperadora* f) {
        abriu = true;
        EXPECT_TRUE(DmConexao()->banco().emTransacao());
        EXPECT_TRUE(f->edtCodigo()->isEnabled());
        QTest::mouseClick(f->btnCancelar(), Qt::LeftButton);
    });
    TfrmPrincipal w;
    QSignalSpy fim(&w, &TfrmPrincipal::finalizacaoPedida);
    w.show();  // its activation opens the operator screen
    ASSERT_TRUE(espera([&] { return w.DeveFinalizar(); }));
    EXPECT_TRUE(abriu);
    EXPECT_EQ(fim.count(), 1);
    ASSERT_EQ(msgs.pedidos().size(), 1);
    EXPECT_EQ(msgs.pedidos().first().texto,
              QStringLiteral("Nenhuma Operadora foi cadastrada.\nO sistema será finalizado!"));
    EXPECT_EQ(msgs.pedidos().first().tipo, Mensagens::Cuidado);
    EXPECT_EQ(msgs.pedidos().first().botoes, Mensagens::BtOk);
    EXPECT_FALSE(DmConexao()->banco().emTransacao());
    EXPECT_TRUE(linhas(QStringLiteral("SELECT CD_OPER FROM OPERADORAS")).isEmpty());
    // Later activations do not ask again.
    w.Ativacao();
    EXPECT_EQ(msgs.pedidos().size(), 1);
}

TEST_F(PrincipalTeste, FirstStartRegistrationIsCommittedAndShownInThePanel) {
    inicia(QString());
    quandoAbrir<TfrmCadOperadora>([](TfrmCadOperadora* f) {
        for (auto [campo, texto] :
             {std::pair{f->edtCodigo(), "123455"}, std::pair{f->edtCnpj(), "11222333000181"}}) {
            campo->setCursorPosition(0);
            QTest::keyClicks(campo, QString::fromLatin1(texto));
        }
        f->edtRazaoSocial()->setText(QStringLiteral("OPERADORA PIONEIRA"));
        f->cmbClassificacao()->setCurrentIndex(f->cmbClassificacao()->findData(21));
        f->cmbRegiao()->setCurrentIndex(0);
        QTest::mouseClick(f->btnConfirmar(), Qt::LeftButton);
    });
    TfrmPrincipal w;
    w.show();  // its activation opens the operator screen
    ASSERT_TRUE(espera([&] { return !w.CampoCodigo()->text().isEmpty(); }));
    EXPECT_EQ(w.CampoCodigo()->text(), QStringLiteral("12345-5"));
    EXPECT_EQ(w.CampoCnpj()->text(), QStringLiteral("11.222.333/0001-81"));
    EXPECT_EQ(w.CampoRazaoSocial()->text(), QStringLiteral("OPERADORA PIONEIRA"));
    EXPECT_FALSE(w.DeveFinalizar());
    EXPECT_FALSE(DmConexao()->banco().emTransacao());
    EXPECT_EQ(
        linhas(QStringLiteral(
            "SELECT CD_OPER, CD_CNPJ, CD_GRUPO_CLASSIFICACAO, CD_REGIAO_ATUACAO FROM OPERADORAS")),
        QStringList({"123455|11222333000181|21|1"}));
    EXPECT_EQ(OperadoraAtual().CdOper, QStringLiteral("123455"));
    // The menus follow the new operator's classification at once.
    EXPECT_EQ(
        msgs.textos(),
        QStringList({QStringLiteral("A operadora OPERADORA PIONEIRA não pode registrar plano, "
                                    "porque ela é classificada como Administradora")}));
    EXPECT_FALSE(w.MenuCadastro()->isEnabled());
}

TEST_F(PrincipalTeste, SelectingAnotherOperatorMakesItCurrentAndFollowsItsClassification) {
    inicia(QString::fromUtf8(kDuasOperadoras));
    TfrmPrincipal w;
    mostra(w);
    EXPECT_EQ(msgs.textos(), QStringList({kMensagem21}));
    EXPECT_FALSE(w.MenuCadastro()->isEnabled());
    msgs.limpa();

    seleciona(w, 1);
    EXPECT_TRUE(msgs.textos().isEmpty());
    EXPECT_EQ(OperadoraAtual().CdOper, QStringLiteral("300012"));
    EXPECT_EQ(w.CampoCodigo()->text(), QStringLiteral("30001-2"));
    EXPECT_EQ(w.CampoRazaoSocial()->text(), QStringLiteral("COOPERATIVA SUL"));
    EXPECT_TRUE(w.MenuCadastro()->isEnabled());
    EXPECT_TRUE(w.MenuRelatorios()->isEnabled());
    // the self-managed flag is set only when the window is shown
    EXPECT_EQ(LogicaPrincipal::Autogestao(), QStringLiteral("N"));

    seleciona(w, 0);
    EXPECT_EQ(msgs.textos(), QStringList({kMensagem21}));
    EXPECT_EQ(OperadoraAtual().CdOper, QStringLiteral("412341"));
    EXPECT_FALSE(w.MenuCadastro()->isEnabled());
    EXPECT_FALSE(w.MenuRelatorios()->isEnabled());
}

TEST_F(PrincipalTeste, EachPanelFieldOpensTheSelectionAndCancelKeepsTheOperator) {
    inicia(QString::fromUtf8(kDuasOperadoras));
    TfrmPrincipal w;
    mostra(w);
    seleciona(w, 1);
    for (QLineEdit* campo : {w.CampoCodigo(), w.CampoRazaoSocial(), w.CampoCnpj()}) {
        bool abriu = false;
        quandoAbrir<TfrmSelecionaOperadora>([&](TfrmSelecionaOperadora* s) {
            abriu = true;
            s->lstOperadora()->setCurrentRow(0);
            QTest::mouseClick(s->btnCancelar(), Qt::LeftButton);
        });
        QTest::mouseClick(campo, Qt::LeftButton);
        EXPECT_TRUE(abriu) << campo->objectName().toStdString();
        EXPECT_EQ(OperadoraAtual().CdOper, QStringLiteral("300012"));
        EXPECT_EQ(w.CampoCodigo()->text(), QStringLiteral("30001-2"));
        EXPECT_TRUE(w.MenuCadastro()->isEnabled());
    }
}

struct CasoVersaoPrincipal {
    const char* nome;
    const char* publicada;
    const char* permite;
    bool finaliza;
};
void PrintTo(const CasoVersaoPrincipal& c, std::ostream* os) { *os << c.nome; }

class VersaoPrincipal : public PrincipalTeste,
                        public ::testing::WithParamInterface<CasoVersaoPrincipal> {};

TEST_P(VersaoPrincipal, ANewerPublishedVersionEndsTheProgramAfterTheNotice) {
    ServidorTeste servidor;
    PacoteDados p;
    for (const char* nome : {"Sistema", "Versao", "PermiteExecVersaoAntiga", "LinkDownload"})
        p.campos.push_back({QString::fromLatin1(nome), QStringLiteral("string"), 100});
    p.linhas.push_back({QStringLiteral("QEV"), QString::fromLatin1(GetParam().publicada),
                        QString::fromLatin1(GetParam().permite),
                        QStringLiteral("https://www.zub.gov.br/qev")});
    servidor.respondeCom(200, p.escreve());
    TZubVerificaVersaoSis::DefineServidor(servidor.endereco());
    inicia(QString::fromUtf8(kDuasOperadoras));
    bool aviso = false;
    if (GetParam().finaliza)
        quandoAbrir<TfrmZubAvisoVersao>([&](TfrmZubAvisoVersao* f) {
            aviso = true;
            QTest::mouseClick(f->btnOk(), Qt::LeftButton);
        });
    TfrmPrincipal w;
    EXPECT_EQ(servidor.pedidos(), 1);
    EXPECT_EQ(aviso, GetParam().finaliza);
    EXPECT_EQ(w.DeveFinalizar(), GetParam().finaliza);
    // nothing more happens at creation when the program is to end
    EXPECT_EQ(linhas(QStringLiteral("SELECT ID_ESTB_SAUD FROM TB_ESTAB_SAUDE")).size(),
              GetParam().finaliza ? 3 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, VersaoPrincipal,
    ::testing::Values(CasoVersaoPrincipal{"Igual", "02.07.03", "N", false},
                      CasoVersaoPrincipal{"NovaSemPermissao", "02.08.00", "N", true},
                      CasoVersaoPrincipal{"NovaComPermissao", "02.08.00", "S", true}),
    [](const auto& info) { return std::string(info.param.nome); });

TEST_F(PrincipalTeste, AboutWindowShowsTheDescriptionAndCloses) {
    inicia(QString::fromUtf8(kDuasOperadoras));
    TfrmPrincipal w;
    mostra(w);
    bool abriu = false;
    quandoAbrir<TfrmSobre>([&](TfrmSobre* s) {
        abriu = true;
        const QLabel* d = s->findChild<QLabel*>(QStringLiteral("lblDescricao"));
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->text().split('\n').size(), 3);
        EXPECT_EQ(
            QString(d->text()).replace('\n', ' '),
            QStringLiteral(
                "Este sistema se destina ao cadastramento das informações relativas aos Planos de "
                "Saúde das Operadoras e a vinculação dos Estabelecimentos de Saúde aos Planos."));
        QTest::mouseClick(s->findChild<QPushButton*>(QStringLiteral("btnSair")), Qt::LeftButton);
    });
    w.Acao(QStringLiteral("actSobre"))->trigger();
    EXPECT_TRUE(abriu);
}

TEST_F(PrincipalTeste, DeviceEntryOpensTheDeviceScreenAndTheStartInstallsThePlanReevaluation) {
    inicia(QString::fromUtf8(kDuasOperadoras) +
           QStringLiteral(
               "INSERT INTO TB_CLAUSULA_OPERADORA (CD_CLAUSULA_OPERADORA, CD_OPER, CD_TIPO_CLAUSULA, "
               "CD_IDENTIFICACAO_TEXTO) VALUES (1, '412341', 15, 'EXC-1'), (2, '300012', 15, 'EXC-2');"
               "INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, CD_SEGMENTACAO, CD_STATUS_ENVIO, "
               "LG_CONSISTENTE, LG_REDE_VINCULADA) VALUES ('412341', 0, 2, 0, '?', '?');"));
    TfrmPrincipal w;
    mostra(w);
    QAction* entrada = w.Acao(QStringLiteral("actCadastroClausula"));
    ASSERT_NE(entrada, nullptr);
    EXPECT_TRUE(entrada->isEnabled());
    bool abriu = false;
    quandoAbrir<TfrmCadClausula>([&](TfrmCadClausula* t) {
        abriu = true;
        EXPECT_EQ(t->lblQtRegistros()->text(), QStringLiteral("1 Registro(s)"));
        EXPECT_EQ(t->edtCodigo->text(), QStringLiteral("EXC-1"));
        t->AtualizaAcoes();
        EXPECT_TRUE(t->actRelatorio->isEnabled()) << "the report opener is installed";
        t->actSair->trigger();
    });
    entrada->trigger();
    EXPECT_TRUE(abriu);

    // The operator screen's re-evaluation is the real one.
    TdmOperadora::instancia()->ClassificacaoAlterada(QStringLiteral("412341"));
    EXPECT_EQ(linhas(QStringLiteral("SELECT LG_CONSISTENTE || LG_REDE_VINCULADA FROM TB_PLANOS")),
              QStringList{QStringLiteral("NS")});
}

TEST_F(PrincipalTeste, PlanEntryOpensThePlanScreenOnTheCurrentOperatorsPlans) {
    inicia(QStringLiteral(
        "INSERT INTO OPERADORAS (CD_OPER, CD_CNPJ, NM_RAZAO_SOCIAL, CD_GRUPO_CLASSIFICACAO, "
        "CD_REGIAO_ATUACAO) VALUES ('300012', '06990590000123', 'COOPERATIVA SUL', 22, 6);"
        "INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO) VALUES ('300012', 1, 'PLANO SUL'), "
        "('412341', 0, 'PLANO DE OUTRA OPERADORA');"));
    TfrmPrincipal w;
    mostra(w);
    QAction* entrada = w.Acao(QStringLiteral("actCadastroPlano"));
    ASSERT_NE(entrada, nullptr);
    EXPECT_EQ(Mnemonicos::TextoVisivel(entrada->text()), QStringLiteral("Cadastro de Plano de Saúde"));
    EXPECT_TRUE(entrada->isEnabled());
    QString nome;
    quandoAbrir<TfrmCadPlano>([&](TfrmCadPlano* t) {
        nome = t->dbedtNome->text();
        t->actSair->trigger();
    });
    entrada->trigger();
    EXPECT_EQ(nome, QStringLiteral("PLANO SUL"));
}

TEST_F(PrincipalTeste, BatchLinkingEntryOpensItsScreenOnTheCurrentOperatorsLists) {
    inicia(QStringLiteral(
        "INSERT INTO OPERADORAS (CD_OPER, CD_CNPJ, NM_RAZAO_SOCIAL, CD_GRUPO_CLASSIFICACAO, "
        "CD_REGIAO_ATUACAO) VALUES ('300012', '06990590000123', 'COOPERATIVA SUL', 22, 6);"
        "INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_SEGMENTACAO) VALUES ('300012', 1, 'PLANO SUL', 2), "
        "('300012', 2, 'ODONTO SUL', 4), ('412341', 3, 'PLANO DE OUTRA OPERADORA', 2);"));
    TfrmPrincipal w;
    mostra(w);
    QAction* entrada = w.Acao(QStringLiteral("actMenutencaoRede"));
    ASSERT_NE(entrada, nullptr);
    EXPECT_EQ(Mnemonicos::TextoVisivel(entrada->text()), QStringLiteral("Vinculação de Rede em Lote"));
    EXPECT_TRUE(entrada->isEnabled());
    QString planos;
    quandoAbrir<TfrmManutencaoRede>([&](TfrmManutencaoRede* t) {
        planos = t->lblQtPlanos->text();
        t->btnSair->click();
    });
    entrada->trigger();
    EXPECT_EQ(planos, QStringLiteral(" 1 plano(s)"));
}
