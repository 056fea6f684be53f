// The request screen and the release screen, driven as a user would: the list and its
// filter, readiness, the footer, the first verification, the choice of what to send,
// and the release of sent plans.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QDir>

#include "BaseSolicitacao.h"
#include "PlanoPronto.h"
#include "app/ConduzModal.h"
#include "common/FrameFiltro.h"
#include "operator/DmZemlo.h"
#include "request/FrmLiberaRetifPlano.h"
#include "request/FrmSolicitaRegPlano.h"

namespace {

// Besides plan 7 (ready, never sent): 8 released and ready, 9 sent, 10 without status,
// 11 never sent and not ready.
const char* kOutros = R"SQL(
INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_STATUS_ENVIO, LG_CONSISTENTE, LG_REDE_VINCULADA)
  VALUES ('123456', 8, 'PLANO PRATA', 2, 'S', 'S');
INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_STATUS_ENVIO, LG_CONSISTENTE, LG_REDE_VINCULADA)
  VALUES ('123456', 9, 'PLANO BRONZE', 1, 'S', 'S');
INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_STATUS_ENVIO) VALUES ('123456', 10, 'PLANO SEM STATUS', NULL);
INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_STATUS_ENVIO, LG_CONSISTENTE, LG_REDE_VINCULADA)
  VALUES ('123456', 11, 'PLANO AZUL', 0, 'N', 'S');
)SQL";

class TelasSolicitacao : public BaseSolicitacao {
protected:
    Apoio::Mensageiro mensagens;
    std::unique_ptr<TDMZemlo> zemlo;

    void inicia(const QString& extra = QString()) {
        criaBanco(QString::fromUtf8(kPlanoPronto) + QString::fromUtf8(kOutros) + extra);
        zemlo = std::make_unique<TDMZemlo>();  // makes the operator current
    }
    void TearDown() override { zemlo.reset(); }

    static QStringList nomes(RowSet& rs) {
        QStringList r;
        for (int pos = 0; pos < rs.RecordCount(); ++pos)
            r << rs.ValorNaPosicao(pos, rs.IndiceCampo(QStringLiteral("NM_PLANO"))).toString();
        return r;
    }
    static void mostra(QDialog& tela) {
        tela.show();
        QApplication::setActiveWindow(&tela);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&tela));
        QCoreApplication::processEvents();
    }
};

}  // namespace

TEST_F(TelasSolicitacao, TheListHoldsUnsentAndReleasedPlansAndTheFilterKeepsThatCondition) {
    inicia();
    TfrmSolicitaRegPlano tela;
    EXPECT_EQ(tela.pnlTitulo->text(), QStringLiteral("  Solicitar Registro de Planos"));
    EXPECT_EQ(nomes(tela.logica().cdsPlanos()),
              QStringList({"PLANO OURO", "PLANO PRATA", "PLANO AZUL"}));
    EXPECT_EQ(tela.pnlRodapePlanos->text(), QStringLiteral(" 3 planos  -  Nenhum selecionado"));
    // Plan 11 is not ready: red.
    const QModelIndex azul = tela.dbgPlanos->model()->index(2, 0);
    EXPECT_EQ(azul.data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    EXPECT_FALSE(tela.dbgPlanos->model()->index(1, 0).data(Qt::ForegroundRole).isValid());
    EXPECT_EQ(tela.dbgPlanos->model()->index(0, 1).data().toString(),
              QStringLiteral("Individual ou Familiar"));

    tela.FrameFiltro1->chkQualquerParte()->setChecked(true);
    for (const auto& [texto, esperado] :
         {std::pair{"prata", QStringList{"PLANO PRATA"}}, std::pair{"bronze", QStringList{}},
          std::pair{"plano", QStringList{"PLANO OURO", "PLANO PRATA", "PLANO AZUL"}}}) {
        tela.FrameFiltro1->edtTexto()->setText(QString::fromLatin1(texto));
        tela.spbFiltroExec->click();
        EXPECT_EQ(nomes(tela.logica().cdsPlanos()), esperado) << texto;
    }
    tela.spbFiltroLimpar->click();
    EXPECT_EQ(tela.logica().cdsPlanos().RecordCount(), 3);

    tela.actMarcaTodos->trigger();  // only the ready ones
    EXPECT_EQ(tela.Selecionadas().size(), 2);
    EXPECT_EQ(tela.pnlRodapePlanos->text(), QStringLiteral(" 3 planos  -  2 selecionados"));
    EXPECT_TRUE(tela.actLstEnviar->isEnabled());
    tela.dbgPlanos->selectRow(2);  // the red one alone
    tela.AtualizaAcoes();
    EXPECT_FALSE(tela.actLstEnviar->isEnabled());
    EXPECT_EQ(tela.pnlRodapePlanos->text(), QStringLiteral(" 3 planos  -  1 selecionado"));
}

TEST_F(TelasSolicitacao, AnEmptyListDisablesEverythingAndShowsNoProgress) {
    inicia(QStringLiteral("DELETE FROM TB_PLANOS;"));
    TfrmSolicitaRegPlano tela;
    mostra(tela);
    QTest::qWait(50);
    EXPECT_FALSE(tela.pnlBarraProgresso->isVisible());
    EXPECT_EQ(tela.pnlRodapePlanos->text(), QStringLiteral(" Nenhum plano  -  Nenhum selecionado"));
    for (QAction* a : {tela.actMarcaTodos, tela.actMarcaDesmarcar, tela.actLstEnviar})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_TRUE(tela.actLstCancelar->isEnabled());
}

TEST_F(TelasSolicitacao, TheFirstVerificationStoresTheNetworkFlag) {
    inicia(QStringLiteral("UPDATE TB_ESTAB_SAUDE SET LG_URGENCIA_EMERGENCIA = 'N';"));
    TfrmSolicitaRegPlano tela;
    mostra(tela);
    QTRY_COMPARE(valor(QStringLiteral("SELECT LG_REDE_VINCULADA FROM TB_PLANOS WHERE SEQ_PLANO = 7")).toString(),
                 QStringLiteral("N"));
    // The plan not marked consistent is left as it was; so is the released one without rows.
    EXPECT_EQ(valor(QStringLiteral("SELECT LG_REDE_VINCULADA FROM TB_PLANOS WHERE SEQ_PLANO = 11")).toString(),
              QStringLiteral("S"));
    EXPECT_EQ(tela.dbgPlanos->model()->index(0, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    EXPECT_TRUE(mensagens.pedidos().isEmpty());  // its rows are not shown
}

TEST_F(TelasSolicitacao, CheckingWithNothingSelectedTakesTheCurrentPlanWhenReadyElseTheFirstReady) {
    inicia();
    TfrmSolicitaRegPlano tela;
    bool mostrouErros = false;
    TfrmSolicitaRegPlano::RelatoriosInstalados().erros = [&](QWidget*) { mostrouErros = true; };
    RowSet& rs = tela.logica().cdsPlanos();
    rs.Vai(2);  // PLANO AZUL, not ready
    tela.SolicitaEnvio(true);
    EXPECT_EQ(tela.Selecionadas(), QSet<int>({rs.LinhaNaPosicao(0)}));  // PLANO OURO
    EXPECT_TRUE(mensagens.pedidos().isEmpty());  // only checking: no message
    EXPECT_FALSE(mostrouErros);                  // plan 7 has no problem
    EXPECT_EQ(valor(QStringLiteral("SELECT LG_CONSISTENTE || LG_REDE_VINCULADA FROM TB_PLANOS WHERE "
                                   "SEQ_PLANO = 7")).toString(),
              QStringLiteral("SS"));

    // Plan 8 is ready in the list but fails its checks: not sent, flags stored, errors shown.
    tela.dbgPlanos->clearSelection();
    rs.Vai(1);
    tela.SolicitaEnvio(false);
    EXPECT_EQ(mensagens.textos(), QStringList({"Os planos selecionados não foram enviados."}));
    EXPECT_TRUE(mostrouErros);
    EXPECT_EQ(valor(QStringLiteral("SELECT LG_CONSISTENTE FROM TB_PLANOS WHERE SEQ_PLANO = 8")).toString(),
              QStringLiteral("N"));
    EXPECT_TRUE(QDir(programa).entryList({QStringLiteral("*.QEV")}).isEmpty());
    TfrmSolicitaRegPlano::RelatoriosInstalados() = {};
}

TEST_F(TelasSolicitacao, ReleasingSentPlansPutsThemBackInTheRequestList) {
    inicia(QStringLiteral("UPDATE TB_PLANOS SET CD_STATUS_ENVIO = 1 WHERE SEQ_PLANO = 7;"));
    TfrmLiberaRetifPlano libera;
    EXPECT_EQ(libera.pnlTitulo->text(), QStringLiteral(" Liberar Planos de Saúde para Retificação"));
    EXPECT_EQ(nomes(libera.logica().cdsPlanos()), QStringList({"PLANO OURO", "PLANO BRONZE"}));
    libera.actLiberar->trigger();  // nothing selected: nothing changes
    EXPECT_EQ(nomes(libera.logica().cdsPlanos()), QStringList({"PLANO OURO", "PLANO BRONZE"}));
    libera.dbgPlanos->selectRow(1);
    libera.actLiberar->trigger();
    EXPECT_EQ(nomes(libera.logica().cdsPlanos()), QStringList({"PLANO OURO"}));
    EXPECT_EQ(valor(QStringLiteral("SELECT CD_STATUS_ENVIO FROM TB_PLANOS WHERE SEQ_PLANO = 9")).toInt(), 2);
    EXPECT_TRUE(mensagens.pedidos().isEmpty());

    TfrmSolicitaRegPlano tela;
    EXPECT_TRUE(nomes(tela.logica().cdsPlanos()).contains(QStringLiteral("PLANO BRONZE")));
    EXPECT_FALSE(nomes(tela.logica().cdsPlanos()).contains(QStringLiteral("PLANO OURO")));
}

namespace {

// Enter typed in the release screen's filter runs the filter; nothing acts on the
// selected plans without a click on "Liberar" (Enter in the list does nothing either).
TEST_F(TelasSolicitacao, EnterInTheReleaseFilterReleasesNothing) {
    inicia(QStringLiteral("UPDATE TB_PLANOS SET CD_STATUS_ENVIO = 1 WHERE SEQ_PLANO = 7;"));
    TfrmLiberaRetifPlano libera;
    mostra(libera);
    auto* btnLiberar = libera.findChild<QPushButton*>(QStringLiteral("btnLiberar"));
    ASSERT_NE(btnLiberar, nullptr);
    EXPECT_FALSE(btnLiberar->isDefault());
    const auto status = [&] {
        return Apoio::coluna(banco(), QStringLiteral("SELECT SEQ_PLANO || ':' || CD_STATUS_ENVIO FROM TB_PLANOS "
                                                     "WHERE SEQ_PLANO IN (7, 9) ORDER BY SEQ_PLANO"));
    };
    const QStringList enviados{QStringLiteral("7:1"), QStringLiteral("9:1")};

    libera.actMarcaTodos->trigger();
    ASSERT_EQ(libera.Selecionadas().size(), 2);
    QLineEdit* texto = libera.FrameFiltro1->edtTexto();
    texto->setFocus();
    QTest::keyClicks(texto, QStringLiteral("plano o"));
    QTest::keyClick(texto, Qt::Key_Return);
    EXPECT_EQ(nomes(libera.logica().cdsPlanos()), QStringList{QStringLiteral("PLANO OURO")});
    EXPECT_EQ(status(), enviados);
    texto->setFocus();
    QTest::keyClick(texto, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(status(), enviados);

    libera.spbFiltroLimpar->click();
    libera.actMarcaTodos->trigger();
    libera.dbgPlanos->setFocus();
    QTest::keyClick(libera.dbgPlanos, Qt::Key_Return);
    EXPECT_EQ(status(), enviados);
    EXPECT_EQ(libera.logica().cdsPlanos().RecordCount(), 2);

    QTest::mouseClick(btnLiberar, Qt::LeftButton);
    EXPECT_TRUE(libera.logica().cdsPlanos().IsEmpty());
    EXPECT_EQ(status(), (QStringList{"7:2", "9:2"}));
    EXPECT_TRUE(mensagens.pedidos().isEmpty());
}

// Another copy holding the database: the request screen says so in the system's words,
// never leaves its progress panel up, leaves no request file of a plan that was not
// handed over, and writes the flags it could not write when it closes.
TEST_F(TelasSolicitacao, ABusyDatabaseIsToldAndLeavesNothingBehind) {
    inicia(QStringLiteral("UPDATE TB_ESTAB_SAUDE SET LG_URGENCIA_EMERGENCIA = 'N';"));
    banco().defineEsperaBloqueio(100);
    const QString bloqueio = QStringLiteral("Registro está sendo alterado por outro usuário");
    auto outraCopia = Apoio::abreBanco(banco().caminho());
    outraCopia->iniciaTransacao();  // holds the write lock

    {
        TfrmSolicitaRegPlano tela;
        mostra(tela);
        QTRY_VERIFY(!mensagens.pedidos().isEmpty());
        EXPECT_EQ(mensagens.textos(), QStringList{bloqueio});
        EXPECT_EQ(mensagens.pedidos().first().tipo, Mensagens::Erro);
        QTest::qWait(150);
        EXPECT_FALSE(tela.pnlBarraProgresso->isVisible());
        EXPECT_EQ(valor(QStringLiteral("SELECT LG_REDE_VINCULADA FROM TB_PLANOS WHERE SEQ_PLANO = 7")).toString(),
                  QStringLiteral("S"));
        outraCopia->desfazTransacao();
        tela.reject();  // the pending flags are written on close
    }
    EXPECT_EQ(valor(QStringLiteral("SELECT LG_REDE_VINCULADA FROM TB_PLANOS WHERE SEQ_PLANO = 7")).toString(),
              QStringLiteral("N"));

    // The send: plan 7 passes and gets its request file; plan 8 fails and its flags
    // cannot be written.
    banco().executa(QStringLiteral("UPDATE TB_ESTAB_SAUDE SET LG_URGENCIA_EMERGENCIA = 'S'"));
    banco().executa(QStringLiteral("UPDATE TB_PLANOS SET LG_CONSISTENTE = 'S', LG_REDE_VINCULADA = 'S' "
                                   "WHERE SEQ_PLANO IN (7, 8)"));
    mensagens.limpa();
    Apoio::Modais modais([](QDialog& d) {
        ADD_FAILURE() << "opened " << d.windowTitle().toStdString();
        return int(QDialog::Rejected);
    });
    {
        TfrmSolicitaRegPlano tela;
        tela.actMarcaTodos->trigger();
        ASSERT_EQ(tela.Selecionadas().size(), 2);
        outraCopia->iniciaTransacao();
        tela.SolicitaEnvio(false);
        EXPECT_EQ(mensagens.textos(),
                  (QStringList{bloqueio, QStringLiteral("Os planos selecionados não foram enviados.")}));
        EXPECT_TRUE(QDir(programa).entryList({QStringLiteral("*.QEV")}).isEmpty());
        EXPECT_TRUE(modais.abertos.isEmpty());
        outraCopia->desfazTransacao();
        tela.reject();
    }
    EXPECT_EQ(valor(QStringLiteral("SELECT LG_CONSISTENTE FROM TB_PLANOS WHERE SEQ_PLANO = 8")).toString(),
              QStringLiteral("N"));
}

}  // namespace
