// The road of a plan from the request screen to the protocol, with the transfer-program
// simulator as a real child process: checks, request file, hand-over, protocol read
// back; the release; a rectification that returns another protocol; a plan that fails
// a check; a transfer program that refuses; and a plan typed on the plan screen, every
// tab of it, from its first save to its protocol.
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTest>

#include <QRadioButton>

#include "BaseTransferencia.h"
#include "PlanoPronto.h"
#include "app/ConduzModal.h"
#include "apoio/VuqTeste.h"
#include "common/Entradas.h"
#include "db/DmLookup.h"
#include "db/DmMunicipio.h"
#include "network/DmHospital.h"
#include "operator/DmZemlo.h"
#include "plans/DmInfoPlano.h"
#include "plans/DmPlano.h"
#include "plans/FrmCadNotaTecnica.h"
#include "plans/FrmCadPlano.h"
#include "platform/Plataforma.h"
#include "request/FrmDlgTransmissaoArq.h"
#include "request/FrmLiberaRetifPlano.h"
#include "request/FrmSolicitaRegPlano.h"

using namespace Apoio;

namespace {

// Plan 13 is marked ready but has no registration tax.
const char* kPlano13 = R"SQL(
INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_ABRANGENCIA, CD_SEGMENTACAO, CD_TIPO_CONTRATO,
  CD_TIPO_FINANC, CD_PADRAO_ACOMODACAO, LG_VB_VINCULO_ATIVO, LG_VB_VINCULO_INATIVO, LG_VB_SEM_VINCULO,
  LG_TOTAL_LIVRE_ESCOLHA, LG_CONSISTENTE, LG_REDE_VINCULADA, CD_STATUS_ENVIO)
  VALUES ('123456', 13, 'PLANO TREZE', 3, 2, 1, 1, 'C', 'N', 'N', 'N', 'N', 'S', 'S', 0);
INSERT INTO RL_PLANOS_UF (CD_OPER, SEQ_PLANO, CD_UF) VALUES ('123456', 13, 'SP');
INSERT INTO RL_PLANOS_ESTAB_SAUDE (CD_OPER, SEQ_PLANO, ID_ESTB_SAUD) VALUES ('123456', 13, 1);
INSERT INTO RL_PLANO_NOTA_TECNICA (CD_OPER, SEQ_PLANO, ID_PLANO_NOTA_TECNICA, NR_PROTOCOLO_NOTA_TECNICA,
  NM_ARQUIVO_NOTA_TECNICA, DT_PROTOCOLO) VALUES ('123456', 13, 2, '33902000003', 'treze.nta', '2021-01-01');
)SQL";

class CaminhoPlano : public BaseTransferencia {
protected:
    std::unique_ptr<TDMZemlo> zemlo;
    Mensageiro mensagens;
    QStringList relatorios;

    void SetUp() override {
        instala(QString::fromUtf8(kPlanoPronto) + QString::fromUtf8(kPlano13));
        if (HasFatalFailure()) return;
        zemlo = std::make_unique<TDMZemlo>();
        respostaDoSimulador({});
        TfrmSolicitaRegPlano::RelatoriosInstalados() = {
            [this](QWidget*, const QStringList& planos) { relatorios << "enviados:" + planos.join(','); },
            [this](QWidget*) { relatorios << QStringLiteral("erros"); }};
    }
    void TearDown() override {
        TfrmSolicitaRegPlano::RelatoriosInstalados() = {};
        zemlo.reset();
        BaseTransferencia::TearDown();
    }
    // Selects the plans by number on the request screen and sends them, typing the
    // password in the transmission dialog.
    void envia(const QList<int>& planos) {
        TfrmSolicitaRegPlano tela;
        RowSet& rs = tela.logica().cdsPlanos();
        for (int pos = 0; pos < rs.RecordCount(); ++pos)
            if (planos.contains(rs.ValorNaPosicao(pos, rs.IndiceCampo(QStringLiteral("SEQ_PLANO"))).toInt()))
                tela.dbgPlanos->selectionModel()->select(
                    tela.dbgPlanos->model()->index(pos, 0),
                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
        Modais modais([](QDialog& d) {
            auto* t = qobject_cast<TfrmDlgTransmissaoArq*>(&d);
            EXPECT_NE(t, nullptr);
            if (!t) return int(QDialog::Rejected);
            t->show();
            QTest::keyClicks(t->edSenha, QStringLiteral("segredo"));
            QTest::mouseClick(t->btnConfirmar, Qt::LeftButton);
            return t->result();
        });
        tela.SolicitaEnvio(false);
    }
    QString plano(int seq, const char* colunas) {
        return valor(QStringLiteral("SELECT %1 FROM TB_PLANOS WHERE SEQ_PLANO = ?").arg(QLatin1String(colunas)),
                     {seq})
            .toString();
    }
    void libera(int seq) {
        TfrmLiberaRetifPlano tela;
        RowSet& rs = tela.logica().cdsPlanos();
        rs.Locate(QStringLiteral("SEQ_PLANO"), seq);
        tela.dbgPlanos->selectRow(rs.RecNo());
        tela.actLiberar->trigger();
    }
};

}  // namespace

TEST_F(CaminhoPlano, FromTheChecksToTheProtocolAndThroughARectification) {
    // First send: plan 7 passes and reaches the transfer program; plan 13 fails its checks.
    envia({7, 13});
    EXPECT_EQ(plano(7, "CD_STATUS_ENVIO || '|' || NR_PROTOCOLO_REGISTRO || '|' || DT_PROTOCOLO_REGISTRO || '|' || "
                       "NR_PROTOCOLO_SOLICITACAO"),
              QStringLiteral("1|2024000123|2024-01-31 14:10:00|12345620240131140509"));
    EXPECT_EQ(plano(13, "CD_STATUS_ENVIO || LG_CONSISTENTE || LG_REDE_VINCULADA"), QStringLiteral("0NS"));
    EXPECT_TRUE(QFileInfo::exists(programa + QStringLiteral("123456310120241405090007.QEV")));
    EXPECT_FALSE(QFileInfo::exists(programa + QStringLiteral("123456310120241405090013.QEV")));
    EXPECT_TRUE(QDir(vuq->pastaProtocolos()).entryList(QDir::Files).isEmpty()) << "the protocol was read";
    ASSERT_EQ(mensagens.textos().size(), 2) << mensagens.textos().join('\n').toStdString();
    EXPECT_TRUE(mensagens.textos().at(0).startsWith(QStringLiteral("ARQUIVO ENVIADO COM SUCESSO.")));
    EXPECT_EQ(mensagens.textos().at(1),
              QStringLiteral("Existem planos que não puderam ser enviados em virtude de problemas encontrados.\n"
                             "Será exibido o relatório dos planos enviados com sucesso e em seguida, o relatório "
                             "dos erros encontrados."));
    EXPECT_EQ(relatorios, QStringList({"enviados:7", "erros"}));
    const QVector<LinhaErroCarga>& erros = exportacao->cdsErrosCarga().linhas();
    ASSERT_EQ(erros.size(), 1);
    EXPECT_EQ(erros.first().seq_plano.toInt(), 13);
    EXPECT_EQ(erros.first().NomeErro, QStringLiteral("Plano não possui Taxa de Registro cadastrada."));

    // The release, then a rectification that returns another protocol: a history row.
    libera(7);
    EXPECT_EQ(plano(7, "CD_STATUS_ENVIO"), QStringLiteral("2"));
    mensagens.limpa();
    relatorios.clear();
    respostaDoSimulador({{QStringLiteral("protocolo"), QStringLiteral("T2024000999-1")},
              {QStringLiteral("dataTransmissao"), QStringLiteral("01/02/2024 09:00:00")}});
    envia({7});
    EXPECT_EQ(plano(7, "CD_STATUS_ENVIO || '|' || NR_PROTOCOLO_REGISTRO"), QStringLiteral("1|2024000123"));
    EXPECT_EQ(Apoio::coluna(banco(), QStringLiteral("SELECT SEQ_PLANO || '|' || NR_PROTOCOLO_REENVIO || '|' || "
                                                    "DT_PROTOCOLO_REENVIO FROM TB_PLANOS_PROTOCOLOS")),
              QStringList({"7|2024000999|2024-02-01 09:00:00"}));
    EXPECT_EQ(relatorios, QStringList({"enviados:7"}));

    // A transfer program that refuses: nothing changes, the user is told.
    libera(7);
    mensagens.limpa();
    relatorios.clear();
    respostaDoSimulador({{QStringLiteral("saida"), 3}});
    envia({7});
    EXPECT_EQ(plano(7, "CD_STATUS_ENVIO"), QStringLiteral("2"));
    EXPECT_TRUE(mensagens.textos().contains(QStringLiteral("Os planos selecionados não foram enviados.")))
        << mensagens.textos().join('\n').toStdString();
    EXPECT_EQ(Apoio::coluna(banco(), QStringLiteral("SELECT count(*) FROM TB_PLANOS_PROTOCOLOS")), QStringList({"1"}));
}

TEST_F(CaminhoPlano, APlanTypedOnThePlanScreenReachesTheProtocol) {
    // the modules the plan screen works with, in their start-up order
    auto lookup = std::make_unique<TdmLookup>();
    auto dmPlano = std::make_unique<TDmPlano>();
    auto hospital = std::make_unique<TDmHospital>();
    auto municipios = std::make_unique<TDmMunicipio>();
    auto dm = std::make_unique<TdmInfoPlano>();
    {
        TfrmCadPlano tela;
        tela.show();
        QApplication::setActiveWindow(&tela);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&tela));
        const auto escolhe = [](QComboBox* c, int codigo) {
            const int i = c->findData(codigo);
            ASSERT_GE(i, 0) << c->objectName().toStdString();
            c->setCurrentIndex(i);
            emit c->activated(i);
        };

        // header and general data: an individual hospital plan of one state
        tela.actAdicionar->trigger();
        QTest::keyClicks(tela.dbedtNome, QStringLiteral("PLANO DIGITADO"));
        escolhe(tela.dblkpContraracao, 1);
        escolhe(tela.dblkpAbrangencia, 3);
        escolhe(tela.dblkpSegmentacao, 2);
        tela.pgcInfoPlano->setCurrentWidget(tela.tbsDadosGerais);
        ASSERT_TRUE(tela.rbtPreEstabelecido->isChecked());  // individual: pre-established
        tela.rbtColetiva->click();
        tela.rbtLivreNao->click();
        ASSERT_TRUE(tela.edicao()->AtributosCompletos());

        // area: São Paulo
        tela.pgcInfoPlano->setCurrentWidget(tela.tbsAreaAtuacao);
        ASSERT_TRUE(dm->cdsListaUF()->Locate(QStringLiteral("CD_UF"), QStringLiteral("SP")));
        tela.dbgListaUF->clearSelection();
        tela.actIncluiUF->trigger();
        ASSERT_EQ(dm->cdsPlanosUF()->RecordCount(), 1);
        EXPECT_EQ(tela.dbtRegiaoCobertura->text(), QStringLiteral("Região 2"));

        // network: every hospital offered (the one of São Paulo)
        tela.pgcInfoPlano->setCurrentWidget(tela.tbsRede);
        tela.actRedeVincTodos->trigger();
        ASSERT_EQ(dm->cdsPlanoRede()->RecordCount(), 1);

        // a technical note, through its dialog
        tela.pgcInfoPlano->setCurrentWidget(tela.tbsNotaTecnica);
        {
            Modais nota([](QDialog& d) {
                auto* n = qobject_cast<TfrmCadNotaTecnica*>(&d);
                EXPECT_NE(n, nullptr);
                if (!n) return int(QDialog::Rejected);
                n->show();
                QTest::keyClicks(n->DBEdit1, QStringLiteral("124"));
                n->edtArquivo->setText(QStringLiteral("123456999999999150620101530.nta"));
                emit n->edtArquivo->textEdited(n->edtArquivo->text());
                n->edtDataProtocolo->setFocus();
                QTest::keyClicks(n->edtDataProtocolo, QStringLiteral("15062023"));
                n->btnCadastrarClick();
                return n->result();
            });
            tela.actNovaNota->trigger();
            EXPECT_EQ(nota.abertos.size(), 1);
        }
        ASSERT_EQ(dm->cdsNotaTecnica()->RecordCount(), 1) << mensagens.textos().join(QLatin1Char('\n')).toStdString();

        // the registration tax, typed in its grid
        tela.pgcInfoPlano->setCurrentWidget(tela.tbsTaxaRegistro);
        tela.actIncTaxaRegistro->trigger();
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, QStringLiteral("804981234562"));
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();

        // the first save stores the plan; the first tax makes it consistent from the next save
        QTest::mouseClick(tela.btnConfirmar(), Qt::LeftButton);
        ASSERT_TRUE(tela.Navegando()) << mensagens.textos().join('\n').toStdString();
        EXPECT_EQ(mensagens.textos(), QStringList());
        tela.actAlterar->trigger();
        QTest::mouseClick(tela.btnConfirmar(), Qt::LeftButton);
        ASSERT_TRUE(tela.Navegando()) << mensagens.textos().join('\n').toStdString();
    }
    EXPECT_EQ(plano(14, "NM_PLANO || '|' || CD_REGIAO_COBERTURA || '|' || LG_CONSISTENTE || LG_REDE_VINCULADA || "
                        "CD_STATUS_ENVIO"),
              QStringLiteral("PLANO DIGITADO|2|SS0"));

    // the request: checks, file, hand-over, protocol
    envia({14});
    EXPECT_EQ(plano(14, "CD_STATUS_ENVIO || '|' || NR_PROTOCOLO_REGISTRO || '|' || NR_PROTOCOLO_SOLICITACAO"),
              QStringLiteral("1|2024000123|12345620240131140509"));
    EXPECT_TRUE(QFileInfo::exists(programa + QStringLiteral("123456310120241405090014.QEV")));
    EXPECT_TRUE(exportacao->cdsErrosCarga().linhas().isEmpty());
    EXPECT_EQ(relatorios, QStringList({"enviados:14"}));
    dm.reset();
    municipios.reset();
    hospital.reset();
    dmPlano.reset();
    lookup.reset();
}

namespace {

// Plan 14: plan 7's twin, ready as well.
const char* kPlano14 = R"SQL(
INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_ABRANGENCIA, CD_SEGMENTACAO, CD_TIPO_CONTRATO,
  CD_TIPO_FINANC, CD_PADRAO_ACOMODACAO, LG_VB_VINCULO_ATIVO, LG_VB_VINCULO_INATIVO, LG_VB_SEM_VINCULO,
  LG_TOTAL_LIVRE_ESCOLHA, LG_CONSISTENTE, LG_REDE_VINCULADA, CD_STATUS_ENVIO)
  SELECT CD_OPER, 14, 'PLANO CATORZE', CD_ABRANGENCIA, CD_SEGMENTACAO, CD_TIPO_CONTRATO, CD_TIPO_FINANC,
  CD_PADRAO_ACOMODACAO, LG_VB_VINCULO_ATIVO, LG_VB_VINCULO_INATIVO, LG_VB_SEM_VINCULO, LG_TOTAL_LIVRE_ESCOLHA,
  LG_CONSISTENTE, LG_REDE_VINCULADA, CD_STATUS_ENVIO FROM TB_PLANOS WHERE SEQ_PLANO = 7;
INSERT INTO RL_PLANOS_UF (CD_OPER, SEQ_PLANO, CD_UF) VALUES ('123456', 14, 'SP');
INSERT INTO RL_PLANOS_ESTAB_SAUDE (CD_OPER, SEQ_PLANO, ID_ESTB_SAUD, DT_VINCULO) VALUES ('123456', 14, 1, '2020-01-01');
INSERT INTO RL_PLANO_NOTA_TECNICA (CD_OPER, SEQ_PLANO, ID_PLANO_NOTA_TECNICA, NR_PROTOCOLO_NOTA_TECNICA,
  NM_ARQUIVO_NOTA_TECNICA, DT_PROTOCOLO) VALUES ('123456', 14, 3, '33902000004', 'catorze.nta', '2020-05-05');
INSERT INTO RL_PLANO_TAXA_REGISTRO (CD_OPER, SEQ_PLANO, ID_PLANO_TAXA_REGISTRO, NR_DOCUMENTO_TAXA)
  VALUES ('123456', 14, 2, '804981234562');
)SQL";

// A send that stops half-way (the second file cannot be handed over) and is given up:
// the plan already handed over is shown as sent, leaves the list and can never be chosen
// and sent again over its first protocol.
TEST_F(CaminhoPlano, APartialSendGivenUpShowsWhatWasSent) {
    banco().executaScript(QString::fromUtf8(kPlano14));
    const QString segundo = programa + QStringLiteral("123456310120241405090014.QEV");
    TfrmSolicitaRegPlano tela;
    RowSet& rs = tela.logica().cdsPlanos();
    ASSERT_EQ(rs.RecordCount(), 3);
    tela.actMarcaTodos->trigger();
    tela.dbgPlanos->selectionModel()->select(tela.dbgPlanos->model()->index(1, 0),
                                             QItemSelectionModel::Deselect | QItemSelectionModel::Rows);  // 13
    Modais modais([&](QDialog& d) {
        auto* t = qobject_cast<TfrmDlgTransmissaoArq*>(&d);
        EXPECT_NE(t, nullptr);
        if (!t) return int(QDialog::Rejected);
        t->show();
        EXPECT_TRUE(QFile::remove(segundo));  // the second file is gone before it is handed over
        QTest::keyClicks(t->edSenha, QStringLiteral("segredo"));
        QTest::mouseClick(t->btnConfirmar, Qt::LeftButton);
        EXPECT_TRUE(t->isVisible()) << "the failure keeps the dialog open";
        QTest::mouseClick(t->btnCancelar, Qt::LeftButton);
        return t->result();
    });
    tela.SolicitaEnvio(false);

    EXPECT_EQ(plano(7, "CD_STATUS_ENVIO || '|' || NR_PROTOCOLO_REGISTRO"), QStringLiteral("1|2024000123"));
    EXPECT_EQ(plano(14, "CD_STATUS_ENVIO"), QStringLiteral("0"));
    QStringList nomes;
    for (int pos = 0; pos < rs.RecordCount(); ++pos)
        nomes << rs.ValorNaPosicao(pos, rs.IndiceCampo(QStringLiteral("NM_PLANO"))).toString();
    EXPECT_EQ(nomes, (QStringList{"PLANO TREZE", "PLANO CATORZE"})) << "the list was read again";
    EXPECT_TRUE(tela.Selecionadas().isEmpty());
    const QStringList textos = mensagens.textos();
    ASSERT_EQ(textos.size(), 4) << textos.join('\n').toStdString();
    EXPECT_TRUE(textos[0].startsWith(QStringLiteral("ARQUIVO ENVIADO COM SUCESSO.")));
    EXPECT_EQ(textos[1], QStringLiteral("File ") + segundo + QStringLiteral(" does not exist."));
    EXPECT_TRUE(textos[2].startsWith(QStringLiteral("Houve um erro ao transmitir o arquivo.")));
    EXPECT_EQ(textos[3], QStringLiteral("Nem todos os planos selecionados foram enviados.\n\n"
                                        "Foram enviados:\n7 - PLANO OURO"));
    EXPECT_EQ(relatorios, QStringList{QStringLiteral("enviados:7")});
}

}  // namespace
