// The establishment screen, its search dialogs and the bulk clean-up dialog,
// driven as a user would.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolBar>

#include "common/Mnemonicos.h"
#include "ApoioRede.h"
#include "app/ConduzModal.h"
#include "common/Entradas.h"
#include "common/ExecucaoModal.h"
#include "common/FrmConsulta.h"
#include "db/RowSet.h"
#include "network/FrmCadHosp.h"
#include "network/FrmDlgLimpaEstab.h"
#include "network/FrmDlgOpcaoPesqEstb.h"

using namespace ApoioRede;
using Apoio::Modais;

namespace {

void escolhe(QComboBox* c, int i) {
    c->setCurrentIndex(i);
    emit c->activated(i);
}

void escolhe(QComboBox* c, const QString& texto) { escolhe(c, c->findText(texto)); }

class CadHospTeste : public Base {
protected:
    std::unique_ptr<TfrmCadHosp> tela;

    void abre(qlonglong inicial = 0) {
        tela = std::make_unique<TfrmCadHosp>();
        tela->IdEstabInicial = inicial;
        tela->show();
        QApplication::setActiveWindow(tela.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(tela.get()));
    }
    void TearDown() override {
        tela.reset();
        Base::TearDown();
    }
    qlonglong idNaTela() { return dm->IdAtual(); }
    QString cnpjNaTela() { return tela->MedCNPJ->text(); }
};

const QString kTres = estab(3, kCnes, kCnpj, "Hospital Três") +
                      estab(8, "", kOutroCnpj, "Clínica Oito", 2) +
                      estab(41, "", kCpf, "Consultório", 3) + vinculo(8);

TEST_F(CadHospTeste, OpeningReadsOneEstablishmentAndShowsIt) {
    inicia(kTres);
    tela = std::make_unique<TfrmCadHosp>();
    EXPECT_EQ(dm->LeiturasEstabelecimento(), 0);
    tela->show();
    EXPECT_EQ(dm->LeiturasEstabelecimento(), 1);
    EXPECT_EQ(idNaTela(), 3);
    EXPECT_EQ(tela->lblTitulo()->text().trimmed(),
              QStringLiteral("Cadastro de Estabelecimento de Saúde"));
    EXPECT_EQ(tela->windowTitle(), QStringLiteral(" [Consulta]"));
    EXPECT_EQ(tela->lblQtRegistros()->text(), QStringLiteral("3 Registro(s)"));
    EXPECT_EQ(tela->edtCNES->text(), QString::fromLatin1(kCnes));
    EXPECT_EQ(cnpjNaTela(), QStringLiteral("11.222.333/0001-81"));
    EXPECT_EQ(Mnemonicos::TextoVisivel(tela->lblCNPJCPF->text()), QStringLiteral("CNPJ"));
    EXPECT_EQ(tela->edRazao->text(), QStringLiteral("Hospital Três"));
    EXPECT_EQ(tela->lkpClassifHospital->currentData().toInt(), 1);
    EXPECT_EQ(tela->cmbTipoHospital->currentText(), QStringLiteral("Próprio"));
    EXPECT_EQ(tela->dblookcmbUF->currentText(), QStringLiteral("SP"));
    EXPECT_EQ(tela->DblookcmbMunicipios->currentText(), QStringLiteral("SAO PAULO"));
    EXPECT_EQ(tela->edtDataVinculo->data(), QDate(2020, 1, 1));
    EXPECT_TRUE(tela->chkUrgencia->isChecked());
    EXPECT_FALSE(tela->pnlDados()->isEnabled());
    // the report and plans buttons wait for their screens; the import is there
    EXPECT_FALSE(tela->actRelatorio->isEnabled());
    EXPECT_TRUE(tela->actImportaOLVAR->isEnabled());
    EXPECT_FALSE(tela->actPlanosEstab->isEnabled());
    EXPECT_EQ(tela->actRelatorio->statusTip(),  // the hint; its tooltip adds the key
              QStringLiteral("Relatório de Estabelecimentos de Saúde"));

    // Opening on a given establishment still reads one.
    tela.reset();
    abre(41);
    EXPECT_EQ(dm->LeiturasEstabelecimento(), 2);
    EXPECT_EQ(idNaTela(), 41);
    EXPECT_EQ(cnpjNaTela(), QStringLiteral("529.982.247-25"));
    EXPECT_EQ(Mnemonicos::TextoVisivel(tela->lblCNPJCPF->text()), QStringLiteral("CNPJ/CPF"));
    EXPECT_FALSE(tela->GravouDados());
}

TEST_F(CadHospTeste, RelatedScreensOpenOnlyWhileBrowsing) {
    inicia(kTres);
    TfrmCadHosp::Telas& telas = TfrmCadHosp::TelasRelacionadas();
    const TfrmCadHosp::Telas antes = telas;
    qlonglong aberto = -1;
    telas.relatorio = [](QWidget*) {};
    telas.importaOlvar = [](QWidget*) {};
    telas.planosDoEstab = [&](QWidget*, qlonglong id) { aberto = id; };
    abre(8);
    const auto habilitadas = [&] {
        tela->AtualizaAcoes();
        return QVector<bool>{tela->actRelatorio->isEnabled(), tela->actImportaOLVAR->isEnabled(),
                             tela->actPlanosEstab->isEnabled()};
    };
    EXPECT_EQ(habilitadas(), QVector<bool>({true, true, true}));
    tela->actPlanosEstab->trigger();
    EXPECT_EQ(aberto, 8);
    for (QAction* a : {tela->actAlterar, tela->actAdicionar}) {
        a->trigger();
        EXPECT_EQ(habilitadas(), QVector<bool>({false, false, false})) << a->objectName().toStdString();
        tela->actCancelar->trigger();
    }
    EXPECT_EQ(habilitadas(), QVector<bool>({true, true, true}));
    tela.reset();
    telas = antes;
}

TEST_F(CadHospTeste, NavigationByIdentifierAndNextOnTheLastOne) {
    inicia(kTres);
    abre();
    tela->actProximo->trigger();
    EXPECT_EQ(idNaTela(), 8);
    EXPECT_EQ(tela->edRazao->text(), QStringLiteral("Clínica Oito"));
    EXPECT_EQ(Mnemonicos::TextoVisivel(tela->lblCNPJCPF->text()), QStringLiteral("CNPJ/CPF"));
    tela->actProximo->trigger();
    EXPECT_EQ(idNaTela(), 41);
    const int leituras = dm->LeiturasEstabelecimento();
    tela->AtualizaAcoes();
    EXPECT_TRUE(tela->actProximo->isEnabled());
    tela->actProximo->trigger();  // the last one: nothing changes
    EXPECT_EQ(idNaTela(), 41);
    EXPECT_EQ(dm->LeiturasEstabelecimento(), leituras);
    EXPECT_EQ(tela->edRazao->text(), QStringLiteral("Consultório"));
    tela->actAnterior->trigger();
    tela->actAnterior->trigger();
    tela->actAnterior->trigger();
    EXPECT_EQ(idNaTela(), 3);
}

TEST_F(CadHospTeste, InsertThroughTheFieldsAndSave) {
    inicia(kTres);
    abre();
    tela->actAdicionar->trigger();
    EXPECT_EQ(tela->windowTitle(), QStringLiteral(" [Inclusão]"));
    EXPECT_TRUE(tela->pnlDados()->isEnabled());
    for (QWidget* w :
         {static_cast<QWidget*>(tela->cmbTipoContratacao),
          static_cast<QWidget*>(tela->edtDataContratacao),
          static_cast<QWidget*>(tela->edtRegOperIntermed),
          static_cast<QWidget*>(tela->edtDataVinculo), static_cast<QWidget*>(tela->chkUrgencia)})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_EQ(tela->cmbTipoHospital->currentIndex(), -1);
    EXPECT_EQ(tela->dblookcmbUF->currentIndex(), -1);
    EXPECT_TRUE(tela->edRazao->text().isEmpty());

    escolhe(tela->lkpClassifHospital, 0);
    EXPECT_TRUE(tela->chkUrgencia->isEnabled());
    tela->edtCNES->setFocus();
    QTest::keyClicks(tela->edtCNES, QStringLiteral("12343"));
    tela->MedCNPJ->setFocus();  // leaving the CNES box normalises it
    EXPECT_EQ(tela->edtCNES->text(), QString::fromLatin1(kCnes));
    QTest::keyClicks(tela->MedCNPJ, QStringLiteral("1144.4777000161x"));  // only digits are taken
    EXPECT_EQ(cnpjNaTela(), QString::fromLatin1(kOutroCnpj));
    tela->edRazao->setFocus();  // leaving: the mask comes back
    EXPECT_EQ(cnpjNaTela(), QStringLiteral("11.444.777/0001-61"));
    QTest::keyClicks(tela->edRazao, QStringLiteral("Hospital Novo"));

    QTest::mouseClick(tela->btnConfirmar(), Qt::LeftButton);  // no relation yet
    EXPECT_EQ(mensagens.textos().value(0),
              QStringLiteral("Selecione a Relação com Entidade Hospitalar"));
    EXPECT_EQ(mensagens.pedidos().value(0).tipo, Mensagens::Erro);
    EXPECT_EQ(tela->focusWidget(), tela->cmbTipoHospital);
    EXPECT_EQ(dm->cdsHospital()->State(), RowSet::Estado::Insercao);

    escolhe(tela->cmbTipoHospital, QStringLiteral("Próprio"));
    escolhe(tela->dblookcmbUF, QStringLiteral("SP"));
    EXPECT_EQ(tela->DblookcmbMunicipios->count(), 645);
    escolhe(tela->DblookcmbMunicipios, QStringLiteral("CAMPINAS"));
    tela->edtDataVinculo->setFocus();
    QTest::keyClicks(tela->edtDataVinculo, QStringLiteral("0102202"));
    QTest::mouseClick(tela->btnConfirmar(),
                      Qt::LeftButton);  // a date typed in part is never dropped
    EXPECT_EQ(mensagens.textos().value(1), QStringLiteral("Data inválida."));
    QTest::keyClicks(tela->edtDataVinculo, QStringLiteral("3"));
    escolhe(tela->cmbDispServicos, QStringLiteral("Parcial"));
    QTest::mouseClick(tela->chkUrgencia, Qt::LeftButton);
    QTest::mouseClick(tela->btnConfirmar(), Qt::LeftButton);
    EXPECT_EQ(mensagens.textos().size(), 2);

    EXPECT_TRUE(tela->Navegando());
    EXPECT_TRUE(tela->GravouDados());
    EXPECT_EQ(tela->lblQtRegistros()->text(), QStringLiteral("4 Registro(s)"));
    const Resultado r = banco().consulta(
        QStringLiteral("SELECT CD_CNES, CD_CNPJ_ESTB_SAUD, RAZAO_SOCIAL_ESTB_SAUD, ID_MUNC, "
                       "CD_TIPO_ESTB_SAUD, DT_VINCULO_OPER, "
                       "CD_DISP_SERVICO, LG_URGENCIA_EMERGENCIA, CD_OPER FROM TB_ESTAB_SAUDE WHERE "
                       "ID_ESTB_SAUD = 42"));
    ASSERT_EQ(r.numLinhas(), 1);
    EXPECT_EQ(r.linhas[0], QVariantList({kCnes, kOutroCnpj, "Hospital Novo", 3509502, 1000,
                                         "2023-02-01", "P", "S", kOperadora}));
}

TEST_F(CadHospTeste, FieldInterplayWhileEditing) {
    inicia(kTres);
    abre(41);
    tela->actAlterar->trigger();
    EXPECT_EQ(tela->windowTitle(), QStringLiteral(" [Alteração]"));
    EXPECT_TRUE(tela->lkpClassifHospital->isEnabled());  // not linked to a plan
    EXPECT_FALSE(tela->chkUrgencia->isEnabled());        // classification 3
    EXPECT_EQ(cnpjNaTela(), QString::fromLatin1(kCpf));  // no mask while editing

    escolhe(tela->cmbTipoHospital, QStringLiteral("Contratualizado"));
    EXPECT_TRUE(tela->cmbTipoContratacao->isEnabled());
    EXPECT_TRUE(tela->edtDataContratacao->isEnabled());
    EXPECT_FALSE(tela->edtRegOperIntermed->isEnabled());
    escolhe(tela->cmbTipoContratacao, QStringLiteral("Indireta"));
    EXPECT_TRUE(tela->edtRegOperIntermed->isEnabled());
    tela->edtRegOperIntermed->setFocus();
    tela->edtRegOperIntermed->setCursorPosition(0);
    QTest::keyClicks(tela->edtRegOperIntermed, QStringLiteral("345679"));
    EXPECT_EQ(dm->cdsHospital()->Valor(QStringLiteral("CD_OPER_INTERMEDIADORA")).toString(),
              QStringLiteral("345679"));
    EXPECT_EQ(tela->edtRegOperIntermed->text(), QStringLiteral("34567-9"));
    tela->edtDataContratacao->setFocus();
    QTest::keyClicks(tela->edtDataContratacao, QStringLiteral("01012010"));
    escolhe(tela->cmbTipoContratacao, QStringLiteral("Direta"));
    EXPECT_FALSE(tela->edtRegOperIntermed->isEnabled());
    EXPECT_TRUE(dm->cdsHospital()->Nulo(QStringLiteral("CD_OPER_INTERMEDIADORA")));
    escolhe(tela->cmbTipoHospital, QStringLiteral("Próprio"));
    EXPECT_EQ(tela->cmbTipoContratacao->currentIndex(), -1);
    EXPECT_FALSE(tela->cmbTipoContratacao->isEnabled());
    EXPECT_FALSE(tela->edtDataContratacao->isEnabled());
    EXPECT_TRUE(dm->cdsHospital()->Nulo(QStringLiteral("DT_CONTRATO_OPER")));
    EXPECT_TRUE(tela->edtDataVinculo->isEnabled());

    escolhe(tela->lkpClassifHospital, 0);
    EXPECT_EQ(Mnemonicos::TextoVisivel(tela->lblCNPJCPF->text()), QStringLiteral("CNPJ"));
    EXPECT_TRUE(tela->chkUrgencia->isEnabled());
    tela->chkUrgencia->setChecked(true);
    escolhe(tela->lkpClassifHospital, 2);
    EXPECT_EQ(Mnemonicos::TextoVisivel(tela->lblCNPJCPF->text()), QStringLiteral("CNPJ/CPF"));
    EXPECT_FALSE(tela->chkUrgencia->isEnabled());
    EXPECT_FALSE(tela->chkUrgencia->isChecked());

    escolhe(tela->dblookcmbUF, QStringLiteral("RJ"));  // another state clears the municipality
    EXPECT_EQ(tela->DblookcmbMunicipios->currentIndex(), -1);
    EXPECT_EQ(tela->DblookcmbMunicipios->count(), 92);

    // Cancel returns to the stored record and its display.
    QTest::keyClick(tela.get(), Qt::Key_Escape);
    EXPECT_TRUE(tela->Navegando());
    EXPECT_EQ(tela->dblookcmbUF->currentText(), QStringLiteral("SP"));
    EXPECT_EQ(tela->cmbTipoHospital->currentText(), QStringLiteral("Próprio"));
    EXPECT_EQ(cnpjNaTela(), QStringLiteral("529.982.247-25"));
    EXPECT_EQ(banco()
                  .valor(QStringLiteral(
                      "SELECT CD_CLASSIF_ESTAB_SAUDE FROM TB_ESTAB_SAUDE WHERE ID_ESTB_SAUD = 41"))
                  .toInt(),
              3);

    // A linked establishment keeps its classification.
    tela->actAnterior->trigger();
    tela->actAlterar->trigger();
    EXPECT_FALSE(tela->lkpClassifHospital->isEnabled());
    tela->actCancelar->trigger();
    EXPECT_FALSE(tela->lkpClassifHospital->testAttribute(
        Qt::WA_ForceDisabled));  // only the data area is off
}

TEST_F(CadHospTeste, DeletionOfALinkedEstablishmentIsRefused) {
    inicia(kTres);
    abre(8);
    tela->actExcluir->trigger();
    EXPECT_EQ(mensagens.textos(),
              QStringList({"Este estabelecimento de saúde está vinculado a um ou mais planos, e "
                           "portanto, não poderá ser excluído."}));
    EXPECT_EQ(mensagens.pedidos()[0].tipo, Mensagens::Informacao);
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM TB_ESTAB_SAUDE")), 3);

    tela->actProximo->trigger();  // 41, not linked
    mensagens.limpa();
    mensagens.responde({Mensagens::RespNao});
    tela->actExcluir->trigger();
    EXPECT_EQ(mensagens.textos(),
              QStringList({"Deseja excluir o Estabelecimento de Saúde selecionado?"}));
    EXPECT_EQ(mensagens.pedidos()[0].botoes, Mensagens::BtSim | Mensagens::BtNao);
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM TB_ESTAB_SAUDE")), 3);
    mensagens.responde({Mensagens::RespSim});
    tela->actExcluir->trigger();
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM TB_ESTAB_SAUDE WHERE ID_ESTB_SAUD = 41")),
              0);
    EXPECT_EQ(tela->lblQtRegistros()->text(), QStringLiteral("2 Registro(s)"));
    EXPECT_TRUE(tela->edRazao->text().isEmpty());
    tela->actAnterior->trigger();  // browsing goes on from the deleted identifier
    EXPECT_EQ(idNaTela(), 8);
}

// Every way a save can fail after its checks passed: another copy writing (the
// transaction is refused), another copy reading (the commit is refused), a statement
// refused. In each the pending change is discarded, the screen stays open on the
// record as the database holds it, the error is shown translated, and the save does
// not count as done.
TEST_F(CadHospTeste, ASaveThatFailsLeavesTheScreenEqualToTheDatabase) {
    enum Falha { TransacaoRecusada, ConfirmacaoRecusada, ComandoRecusado };
    const struct {
        const char* caso;
        Falha falha;
        bool insercao;
        const char* mensagem;
    } casos[] = {
        {"outra cópia gravando, inclusão", TransacaoRecusada, true, "Registro está sendo alterado por outro usuário"},
        {"outra cópia gravando, alteração", TransacaoRecusada, false, "Registro está sendo alterado por outro usuário"},
        {"outra cópia lendo, inclusão", ConfirmacaoRecusada, true, "Registro está sendo alterado por outro usuário"},
        {"outra cópia lendo, alteração", ConfirmacaoRecusada, false, "Registro está sendo alterado por outro usuário"},
        {"comando recusado, inclusão", ComandoRecusado, true, "Operação não realizada! Ocorreu o erro:  falhou"},
        {"comando recusado, alteração", ComandoRecusado, false, "Operação não realizada! Ocorreu o erro:  falhou"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        tela.reset();
        TearDown();
        QFile::remove(pasta.arquivo(QStringLiteral("QEV.mdb")));
        mensagens.limpa();
        inicia(kTres + (c.falha == ComandoRecusado
                            ? QStringLiteral("CREATE TRIGGER r1 BEFORE UPDATE ON TB_ESTAB_SAUDE BEGIN "
                                             "SELECT RAISE(ABORT, 'falhou'); END;"
                                             "CREATE TRIGGER r2 BEFORE INSERT ON TB_ESTAB_SAUDE BEGIN "
                                             "SELECT RAISE(ABORT, 'falhou'); END;")
                            : QString()));
        banco().defineEsperaBloqueio(50);
        abre();
        if (c.insercao) {
            tela->actAdicionar->trigger();
            escolhe(tela->lkpClassifHospital, 0);
            tela->MedCNPJ->setFocus();
            QTest::keyClicks(tela->MedCNPJ, QStringLiteral("06990590000123"));
            tela->edRazao->setFocus();
            QTest::keyClicks(tela->edRazao, QStringLiteral("Hospital Novo"));
            escolhe(tela->cmbTipoHospital, QStringLiteral("Próprio"));
            escolhe(tela->dblookcmbUF, QStringLiteral("SP"));
            escolhe(tela->DblookcmbMunicipios, QStringLiteral("CAMPINAS"));
            tela->edtDataVinculo->setFocus();
            QTest::keyClicks(tela->edtDataVinculo, QStringLiteral("01022023"));
            escolhe(tela->cmbDispServicos, QStringLiteral("Parcial"));
        } else {
            tela->actAlterar->trigger();
            tela->edRazao->setFocus();
            QTest::keyClicks(tela->edRazao, QStringLiteral(" Alterado"));
            escolhe(tela->cmbDispServicos, QStringLiteral("Total"));
        }

        auto outra = Apoio::abreBanco(pasta.arquivo(QStringLiteral("QEV.mdb")));
        outra->defineEsperaBloqueio(0);
        if (c.falha == TransacaoRecusada) outra->executa(QStringLiteral("BEGIN IMMEDIATE"));
        if (c.falha == ConfirmacaoRecusada) {
            outra->executa(QStringLiteral("BEGIN"));
            outra->valor(QStringLiteral("SELECT count(*) FROM TB_ESTAB_SAUDE"));
        }
        QTest::mouseClick(tela->btnConfirmar(), Qt::LeftButton);
        outra->desfazTransacao();

        EXPECT_EQ(mensagens.textos(), QStringList({QString::fromUtf8(c.mensagem)}));
        EXPECT_TRUE(tela->isVisible());
        EXPECT_TRUE(tela->Navegando());
        EXPECT_FALSE(tela->GravouDados());
        EXPECT_FALSE(banco().emTransacao());
        EXPECT_EQ(dm->cdsHospital()->ChangeCount(), 0);
        EXPECT_EQ(idNaTela(), 3);
        EXPECT_EQ(tela->edRazao->text(), QStringLiteral("Hospital Três"));
        EXPECT_EQ(outra->valor(QStringLiteral("SELECT count(*) || '|' || group_concat(n) FROM (SELECT "
                                              "RAZAO_SOCIAL_ESTB_SAUD n FROM TB_ESTAB_SAUDE ORDER BY ID_ESTB_SAUD)")),
                  QVariant(QStringLiteral("3|Hospital Três,Clínica Oito,Consultório")));
        EXPECT_EQ(outra->valor(QStringLiteral("SELECT CD_DISP_SERVICO FROM TB_ESTAB_SAUDE WHERE ID_ESTB_SAUD = 3")),
                  dm->cdsHospital()->Valor(QStringLiteral("CD_DISP_SERVICO")));

        // Once the other copy let go, the same screen saves.
        mensagens.limpa();
        if (c.falha != ComandoRecusado) {
            tela->actAlterar->trigger();
            tela->edRazao->setFocus();
            tela->edRazao->selectAll();
            QTest::keyClicks(tela->edRazao, QStringLiteral("Hospital Tres B"));
            escolhe(tela->cmbDispServicos, QStringLiteral("Total"));
            QTest::mouseClick(tela->btnConfirmar(), Qt::LeftButton);
            EXPECT_TRUE(mensagens.textos().isEmpty()) << mensagens.textos().join('|').toStdString();
            EXPECT_TRUE(tela->GravouDados());
            EXPECT_EQ(outra->valor(QStringLiteral("SELECT RAZAO_SOCIAL_ESTB_SAUD FROM TB_ESTAB_SAUDE WHERE "
                                                  "ID_ESTB_SAUD = 3")),
                      QVariant(QStringLiteral("Hospital Tres B")));
        }
    }
}

TEST_F(CadHospTeste, AnotherCopysChangeIsNeverOverwrittenAndCancelShowsIt) {
    inicia(kTres);
    abre();
    tela->actAlterar->trigger();
    escolhe(tela->cmbDispServicos, QStringLiteral("Total"));
    tela->edRazao->setFocus();
    tela->edRazao->selectAll();
    QTest::keyClicks(tela->edRazao, QStringLiteral("Desta Copia"));
    // copy A (another connection to the same file) stores its own name first
    auto outra = Apoio::abreBanco(pasta.arquivo(QStringLiteral("QEV.mdb")));
    outra->executa(QStringLiteral("UPDATE TB_ESTAB_SAUDE SET RAZAO_SOCIAL_ESTB_SAUD = 'Da Outra Cópia' "
                                  "WHERE ID_ESTB_SAUD = 3"));
    QTest::mouseClick(tela->btnConfirmar(), Qt::LeftButton);
    EXPECT_EQ(mensagens.textos(), QStringList{"Registro não encontrado ou alterado por outro usuário."});
    EXPECT_FALSE(banco().emTransacao());
    EXPECT_FALSE(tela->GravouDados());
    EXPECT_EQ(outra->valor(QStringLiteral("SELECT RAZAO_SOCIAL_ESTB_SAUD FROM TB_ESTAB_SAUDE WHERE ID_ESTB_SAUD = 3")),
              QVariant(QStringLiteral("Da Outra Cópia")));
    // the screen stays in edit with the user's entries
    EXPECT_FALSE(tela->Navegando());
    EXPECT_EQ(tela->edRazao->text(), QStringLiteral("Desta Copia"));
    // cancelling shows what the other copy stored, and the next edit saves
    tela->actCancelar->trigger();
    EXPECT_TRUE(tela->Navegando());
    EXPECT_EQ(tela->edRazao->text(), QStringLiteral("Da Outra Cópia"));
    EXPECT_EQ(dm->cdsHospital()->ChangeCount(), 0);
    mensagens.limpa();
    tela->actAlterar->trigger();
    escolhe(tela->cmbDispServicos, QStringLiteral("Total"));
    tela->edRazao->setFocus();
    tela->edRazao->selectAll();
    QTest::keyClicks(tela->edRazao, QStringLiteral("Enfim"));
    QTest::mouseClick(tela->btnConfirmar(), Qt::LeftButton);
    EXPECT_TRUE(mensagens.textos().isEmpty()) << mensagens.textos().join('|').toStdString();
    EXPECT_EQ(outra->valor(QStringLiteral("SELECT RAZAO_SOCIAL_ESTB_SAUD FROM TB_ESTAB_SAUDE WHERE ID_ESTB_SAUD = 3")),
              QVariant(QStringLiteral("Enfim")));

    // a row another copy deleted: refused the same way; cancelling takes it off the screen
    tela->actAlterar->trigger();
    escolhe(tela->cmbDispServicos, QStringLiteral("Total"));
    tela->edRazao->setFocus();
    QTest::keyClicks(tela->edRazao, QStringLiteral(" B"));
    outra->executa(QStringLiteral("DELETE FROM TB_ESTAB_SAUDE WHERE ID_ESTB_SAUD = 3"));
    mensagens.limpa();
    QTest::mouseClick(tela->btnConfirmar(), Qt::LeftButton);
    EXPECT_EQ(mensagens.textos(), QStringList{"Registro não encontrado ou alterado por outro usuário."});
    EXPECT_EQ(outra->valor(QStringLiteral("SELECT count(*) FROM TB_ESTAB_SAUDE")).toInt(), 2);
    tela->actCancelar->trigger();
    EXPECT_TRUE(tela->Navegando());
    EXPECT_NE(idNaTela(), 3);
}

TEST_F(CadHospTeste, AnIdleScreenSetsNothingTwice) {
    inicia(kTres);
    abre();
    for (bool editando : {false, true}) {
        SCOPED_TRACE(editando);
        if (editando) tela->actAlterar->trigger();
        tela->AtualizaAcoes();
        EXPECT_EQ(tela->AtualizaAcoes(), 0);
    }
}

TEST_F(CadHospTeste, TheOptionDialogComesOnlyAboveTwentyThousand) {
    const QString muitos = QStringLiteral(
        "INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, RAZAO_SOCIAL_ESTB_SAUD, CD_CLASSIF_ESTAB_SAUDE, "
        "CD_CNPJ_ESTB_SAUD) "
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20000) "
        "SELECT i, 'Estab ' || i, 1 + i % 3, printf('%014d', i) FROM n;");
    inicia(muitos);
    int escolha = TfrmDlgOpcaoPesqEstb::AltaComplexidade;
    QString cnpj;
    Modais modais([&](QDialog& d) {
        if (auto* o = qobject_cast<TfrmDlgOpcaoPesqEstb*>(&d)) {
            if (escolha < 0) return int(QDialog::Rejected);
            o->Seleciona(TfrmDlgOpcaoPesqEstb::Item(escolha));
            if (escolha == TfrmDlgOpcaoPesqEstb::Cnpj) {
                EXPECT_TRUE(o->edtCnpj()->isEnabled());
                o->edtCnpj()->setText(cnpj);
            }
            return int(QDialog::Accepted);
        }
        auto* c = qobject_cast<TfrmConsulta*>(&d);
        EXPECT_NE(c, nullptr);
        c->cdsConsulta()->Locate(QStringLiteral("ID_ESTB_SAUD"), 77);
        return int(QDialog::Accepted);
    });

    abre();
    EXPECT_EQ(tela->QuantidadeEstabelecimentos(), 20000);
    tela->actPesquisar->trigger();
    EXPECT_EQ(modais.abertos, QStringList({"Pesquisa de Estabelecimentos de Saúde"}));
    EXPECT_EQ(idNaTela(), 77);
    TfrmConsulta* consulta = tela->frmConsulta();
    EXPECT_EQ(consulta->cdsConsulta()->RecordCount(), 20000);
    EXPECT_FALSE(consulta->cdsConsulta()->campo(QStringLiteral("ID_ESTB_SAUD")).visivel);
    EXPECT_EQ(consulta->ColunasRetorno(), QStringList({"CD_CNES", "CD_CNPJ_ESTB_SAUD",
                                                       "RAZAO_SOCIAL_ESTB_SAUD", "ID_ESTB_SAUD"}));

    // Above the limit: first the option dialog.
    banco().executaScript(estab(20001, "", kCnpj, "O último"));
    abre();
    modais.abertos.clear();
    tela->actPesquisar->trigger();
    EXPECT_EQ(modais.abertos, QStringList({"Tipo da pesquisa de estabelecimentos",
                                           "Pesquisa de Estabelecimentos de Saúde classificados "
                                           "como SERVIÇOS DE ALTA COMPLEXIDADE"}));
    EXPECT_EQ(tela->frmConsulta()->cdsConsulta()->RecordCount(), 6667);
    consulta = tela->frmConsulta();
    banco().executaScript(estab(20002, "", kCpf, "Novo", 2));
    tela->actPesquisar->trigger();  // same choice: the same list, not read again
    EXPECT_EQ(tela->frmConsulta(), consulta);
    EXPECT_EQ(consulta->cdsConsulta()->RecordCount(), 6667);
    escolha = TfrmDlgOpcaoPesqEstb::Todos;
    tela->actPesquisar->trigger();
    EXPECT_EQ(consulta->cdsConsulta()->RecordCount(), 20002);
    EXPECT_EQ(consulta->windowTitle(), QStringLiteral("Pesquisa de Estabelecimentos de Saúde"));

    // CNPJ/CPF typed: straight to it, or an error.
    escolha = TfrmDlgOpcaoPesqEstb::Cnpj;
    cnpj = QStringLiteral("11.222.333/0001-81");
    modais.abertos.clear();
    tela->actPesquisar->trigger();
    EXPECT_EQ(modais.abertos, QStringList({"Tipo da pesquisa de estabelecimentos"}));
    EXPECT_EQ(idNaTela(), 20001);
    cnpj = QStringLiteral("123");
    tela->actPesquisar->trigger();
    EXPECT_EQ(mensagens.textos(), QStringList({"CNPJ 123 não encontrado"}));
    EXPECT_EQ(idNaTela(), 20001);
    escolha = -1;  // cancelled
    modais.abertos.clear();
    tela->actPesquisar->trigger();
    EXPECT_EQ(modais.abertos, QStringList({"Tipo da pesquisa de estabelecimentos"}));
    EXPECT_EQ(idNaTela(), 20001);
}

TEST_F(CadHospTeste, RegistryPageButton) {
    inicia(kTres + estab(50, "", "", "Sem nada", 3));
    QStringList enderecos;
    bool funciona = true;
    Lancador::Tratador anterior = Lancador::define([&](Lancador::Tipo t, const QString& alvo) {
        if (t == Lancador::Tipo::Endereco) enderecos << alvo;
        return funciona;
    });
    abre();
    QTest::mouseClick(tela->tbrAcoes()->widgetForAction(tela->actCNES), Qt::LeftButton);
    tela->actProximo->trigger();  // no CNES: the CNPJ
    tela->actCNES->trigger();
    ASSERT_EQ(enderecos.size(), 2);
    EXPECT_TRUE(enderecos[0].endsWith(QStringLiteral("Lista_Es_Nome.asp?Vcodigo=0012343")));
    EXPECT_TRUE(enderecos[1].endsWith(QStringLiteral("Lista_Es_Nome.asp?Vcodigo=11444777000161")));
    tela->AbreEstabelecimento(50);
    tela->actCNES->trigger();
    funciona = false;
    tela->AbreEstabelecimento(3);
    tela->actCNES->trigger();
    EXPECT_EQ(mensagens.textos(),
              QStringList({"O campo \"CNES\" ou o campo \"CNPJ/CPF\" precisam ser informados",
                           "Não foi possivel realizar a consulta no site do DataSus"}));
    Lancador::define(anterior);
}

TEST_F(CadHospTeste, LeavingCommitsAnOpenTransactionAndClosesTheRecord) {
    inicia(kTres);
    abre();
    conexao->IniciaTransacao();
    banco().executa(QStringLiteral(
        "UPDATE TB_ESTAB_SAUDE SET RAZAO_SOCIAL_ESTB_SAUD = 'x' WHERE ID_ESTB_SAUD = 8"));
    tela->actSair->trigger();
    EXPECT_FALSE(tela->isVisible());
    EXPECT_FALSE(banco().emTransacao());
    EXPECT_FALSE(dm->cdsHospital()->Ativo());
    auto outro = Apoio::abreBanco(banco().caminho());
    EXPECT_EQ(outro
                  ->valor(QStringLiteral(
                      "SELECT RAZAO_SOCIAL_ESTB_SAUD FROM TB_ESTAB_SAUDE WHERE ID_ESTB_SAUD = 8"))
                  .toString(),
              QStringLiteral("x"));
}

TEST_F(CadHospTeste, BulkCleanUpDialog) {
    inicia(kTres);
    const struct {
        int resposta;
        const char* mensagem;
        int restam;
    } passos[] = {
        {Mensagens::RespNao, "", 3},
        {Mensagens::RespSim, "2 estabelecimentos excluidos.", 1},
        {Mensagens::RespSim, "Nenhum estabelecimento foi excluido.", 1},
    };
    for (const auto& p : passos) {
        SCOPED_TRACE(p.mensagem);
        mensagens.limpa();
        mensagens.responde({p.resposta});
        TfrmDlgLimpaEstab dlg;
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Excluir Estabelecimentos de Saúde"));
        dlg.show();
        QTest::mouseClick(dlg.btnConfirmar(), Qt::LeftButton);
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        QStringList esperadas{
            "Deseja realmente EXCLUIR todos os Estabelecimentos de Saúde que NÃO estejam "
            "vinculados a plano."};
        if (*p.mensagem) esperadas << QString::fromUtf8(p.mensagem);
        EXPECT_EQ(mensagens.textos(), esperadas);
        EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM TB_ESTAB_SAUDE")), p.restam);
    }
    TfrmDlgLimpaEstab dlg;
    dlg.show();
    QTest::mouseClick(dlg.btnCancelar(), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_TRUE(dlg.findChild<QLabel*>(QStringLiteral("lblTexto"))
                    ->text()
                    .startsWith(QStringLiteral("Este procedimento EXCLUI")));

    // From the main window's entry: a modal opening.
    Modais modais([](QDialog& d) {
        d.reject();
        return int(QDialog::Rejected);
    });
    AbreExclusaoEstabelecimentos(nullptr);
    AbreCadastroEstabelecimentos(nullptr);
    EXPECT_EQ(modais.abertos, QStringList({"Excluir Estabelecimentos de Saúde", " [Consulta]"}));
}

}  // namespace
