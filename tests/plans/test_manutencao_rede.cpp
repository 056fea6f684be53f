// The batch network linking: the lists offered, both selections, the urgency rule and
// its warning, no duplicate links, the first link date kept, the network check and
// LG_REDE_VINCULADA, a database error in the middle of a run, the opening and closing
// warnings and the screen itself.
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include "ApoioPlanos.h"
#include "common/MoveLinhas.h"
#include "plans/FrmManutencaoRede.h"
#include "plans/ManutencaoRede.h"

using namespace ApoioPlanos;

namespace {

const QString kOp = QString::fromLatin1(kOperadora);

// A hospital of the test operator with that urgency flag ("NULL" for none), in `municipio`.
QString estab(int id, const char* urgencia, qlonglong municipio = 3550308) {
    return QStringLiteral(
               "INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, CD_OPER, CD_CNES, CD_CNPJ_ESTB_SAUD, "
               "RAZAO_SOCIAL_ESTB_SAUD, CD_CLASSIF_ESTAB_SAUDE, CD_TIPO_ESTB_SAUD, ID_MUNC, DT_VINCULO_OPER, "
               "CD_DISP_SERVICO, LG_HOSPITAL_INCLUIDO, LG_URGENCIA_EMERGENCIA) VALUES (%1, '%2', '%3', '%4', "
               "'HOSPITAL %1', 1, %5, %6, '2020-01-01', 'T', 'N', %7);")
        .arg(id)
        .arg(kOp)
        .arg(id, 7, 10, QLatin1Char('0'))
        .arg(id, 14, 10, QLatin1Char('0'))
        .arg(id % 2 ? 2000 : 1000)
        .arg(municipio)
        .arg(QString::fromLatin1(urgencia) == QLatin1String("NULL") ? QStringLiteral("NULL")
                                                                    : QStringLiteral("'%1'").arg(QLatin1String(urgencia)));
}

QString uf(int seq, const char* sigla) {
    return relacao("RL_PLANOS_UF", "CD_UF", seq, QStringLiteral("'%1'").arg(QLatin1String(sigla)));
}

const QString kConcluido = QStringLiteral("Processo concluido!");
const QString kComProblemas = QStringLiteral(
    "Processo concluído!\r\rExistem problemas na rede que poderão impossibilitar o envio do(s) plano(s).");
const QString kUrgencia = QStringLiteral(
    "Estabelecimentos que não possuem serviço de Urgência/Emergência não serão vinculados a planos com "
    "Segmentação Ambulatorial ou Ambulatorial + Odontológico");

// Plans 1 (ambulatory) and 2 of São Paulo, 3 of Rio (no hospital there), 4 odontological,
// 5 of free choice; hospitals 10 (urgency), 11 ("N"), 12 (no flag), 14 (a flag that is
// neither); plan 2 has hospital 10 since January.
const QString kBase = plano(1, "AMBULATORIAL", 3, 1) + uf(1, "SP") + plano(2, "HOSPITALAR", 3, 2) + uf(2, "SP") +
                      plano(3, "DO RIO", 3, 2) + uf(3, "RJ") + plano(4, "ODONTO", 3, 4) + plano(5, "LIVRE", 3, 2) +
                      QStringLiteral("UPDATE TB_PLANOS SET LG_TOTAL_LIVRE_ESCOLHA = 'S' WHERE SEQ_PLANO = 5;") +
                      estab(10, "S") + estab(11, "N") + estab(12, "NULL") + estab(14, "X") +
                      vinculo(2, 10);

class ManutencaoRedeTeste : public Base {
public:
    std::unique_ptr<TManutencaoRede> logica;

    void abreLogica() {
        logica = std::make_unique<TManutencaoRede>();
        logica->Abre();
    }
    void TearDown() override {
        logica.reset();
        Base::TearDown();
    }
    static QVector<int> linhasCom(const RowSet& rs, const char* campo, const QList<int>& valores) {
        QVector<int> r;
        for (int p = 0; p < rs.RecordCount(); ++p)
            if (valores.contains(rs.ValorNaPosicao(p, rs.IndiceCampo(QString::fromLatin1(campo))).toInt()))
                r << rs.LinhaNaPosicao(p);
        return r;
    }
    QStringList vinculos() {
        return coluna(QStringLiteral("SELECT SEQ_PLANO || ':' || ID_ESTB_SAUD FROM RL_PLANOS_ESTAB_SAUDE "
                                     "ORDER BY SEQ_PLANO, ID_ESTB_SAUD"));
    }
    QStringList flags() {
        return coluna(QStringLiteral("SELECT SEQ_PLANO || LG_REDE_VINCULADA FROM TB_PLANOS ORDER BY SEQ_PLANO"));
    }
};

TEST_F(ManutencaoRedeTeste, ListsOfferedAndSelectionsWithoutDuplicates) {
    inicia(kBase + estab(20, "S") + QStringLiteral("UPDATE TB_ESTAB_SAUDE SET CD_CLASSIF_ESTAB_SAUDE = 2 "
                                                      "WHERE ID_ESTB_SAUD = 20;"));
    zemlo->cdsHospitais()->CriaVazio();
    zemlo->cdsHospitais()->Append();  // left from an earlier showing
    zemlo->cdsHospitais()->DefineValor(QStringLiteral("IdEstbSaud"), 99);
    zemlo->cdsHospitais()->Post();
    abreLogica();
    EXPECT_TRUE(logica->cdsHospitais()->IsEmpty());  // emptied at every showing
    RowSet& estabs = *logica->qryEstabManutRede();
    RowSet& planos = *logica->adoPlanosManuRede();
    EXPECT_EQ(estabs.RecordCount(), 4);  // hospital care only
    QStringList nomes;
    for (int p = 0; p < planos.RecordCount(); ++p)
        nomes << planos.ValorNaPosicao(p, planos.IndiceCampo(QStringLiteral("NM_PLANO"))).toString();
    EXPECT_EQ(nomes, QStringList({"AMBULATORIAL", "DO RIO", "HOSPITALAR"}));  // no odontological, no free choice
    estabs.Locate(QStringLiteral("ID_ESTB_SAUD"), 11);
    EXPECT_EQ(estabs.Valor(QStringLiteral("calcTipoEstab")).toString(), QStringLiteral("Contratualizado"));
    estabs.Locate(QStringLiteral("ID_ESTB_SAUD"), 10);
    EXPECT_EQ(estabs.Valor(QStringLiteral("calcTipoEstab")).toString(), QStringLiteral("Próprio"));

    logica->SelecionaTodosHospitais();
    logica->SelecionaTodosHospitais();  // ">>" twice: no row twice
    logica->SelecionaHospitais(linhasCom(estabs, "ID_ESTB_SAUD", {10, 11}));
    EXPECT_EQ(logica->cdsHospitais()->RecordCount(), 4);
    logica->SelecionaPlanos(linhasCom(planos, "SEQ_PLANO", {3, 1}));
    logica->SelecionaPlanos(linhasCom(planos, "SEQ_PLANO", {1}));
    RowSet& produtos = *logica->cdsProdutos();
    ASSERT_EQ(produtos.RecordCount(), 2);
    EXPECT_EQ(produtos.ValorNaPosicao(0, produtos.IndiceCampo(QStringLiteral("SeqProduto"))).toInt(), 1);  // by number
    EXPECT_EQ(produtos.ValorNaPosicao(1, produtos.IndiceCampo(QStringLiteral("cd_segmentacao"))).toInt(), 2);
    EXPECT_TRUE(logica->PodeVincular());
    logica->RetiraHospitais(linhasCom(*logica->cdsHospitais(), "IdEstbSaud", {12, 14}));
    EXPECT_EQ(logica->cdsHospitais()->RecordCount(), 2);
    logica->LimpaPlanos();
    EXPECT_FALSE(logica->PodeVincular());
    EXPECT_EQ(TManutencaoRede::ContagemEstabelecimentos(1234), QStringLiteral(" 1.234 estabelecimento(s)"));
    EXPECT_EQ(TManutencaoRede::ContagemPlanos(2), QStringLiteral(" 2 plano(s)"));
    // the searches move the lists
    EXPECT_TRUE(logica->LocalizaCnpj(QStringLiteral("00000000000012")));
    EXPECT_EQ(estabs.Valor(QStringLiteral("ID_ESTB_SAUD")).toInt(), 12);
    EXPECT_FALSE(logica->LocalizaCnpj(QStringLiteral("00000000000020")));  // not hospital care: not listed
    EXPECT_TRUE(logica->LocalizaPlano(3));
    EXPECT_FALSE(logica->LocalizaPlano(4));
}

TEST_F(ManutencaoRedeTeste, TheRunFollowsTheUrgencyRuleKeepsOldLinksAndFlagsTheNetwork) {
    inicia(kBase);
    abreLogica();
    RowSet& estabs = *logica->qryEstabManutRede();
    RowSet& planos = *logica->adoPlanosManuRede();

    // no chosen plan is ambulatory, but the list holds one: the warning still comes
    logica->SelecionaHospitais(linhasCom(estabs, "ID_ESTB_SAUD", {11}));
    logica->SelecionaPlanos(linhasCom(planos, "SEQ_PLANO", {2}));
    TManutencaoRede::Resultado r = logica->Vincula();
    EXPECT_EQ(mensagens.textos(), QStringList({kUrgencia, kConcluido}));
    EXPECT_EQ(r.vinculos, 1);
    EXPECT_EQ(vinculos(), QStringList({"2:10", "2:11"}));

    // everything to three plans, twice
    logica->SelecionaTodosHospitais();
    logica->SelecionaPlanos(linhasCom(planos, "SEQ_PLANO", {1, 3}));
    QVector<int> planosVistos;
    int estabsVistos = 0;
    bool fim = false;
    TManutencaoRede::Progresso progresso;
    progresso.plano = [&](int plano, int total) {
        planosVistos << plano;
        EXPECT_EQ(total, 3);
    };
    progresso.estabelecimento = [&](int, int total) {
        ++estabsVistos;
        EXPECT_EQ(total, 4);
    };
    progresso.fim = [&] { fim = true; };
    for (int vez = 0; vez < 2; ++vez) {
        SCOPED_TRACE(vez);
        mensagens.limpa();
        planosVistos.clear();
        r = logica->Vincula(progresso);
        EXPECT_EQ(mensagens.textos(), QStringList({kUrgencia, kComProblemas}));
        EXPECT_EQ(r.vinculos, vez == 0 ? 1 + 1 + 3 : 0);  // the second run adds nothing
        EXPECT_TRUE(r.problemaRede);
        EXPECT_EQ(planosVistos, QVector<int>({0, 1, 2, 3}));
        EXPECT_TRUE(fim);
        // ambulatory: urgency only; hospital plans: "N" and no flag too, never "X"
        EXPECT_EQ(vinculos(), QStringList({"1:10", "2:10", "2:11", "2:12", "3:10", "3:11", "3:12"}));
        // Rio has no hospital: plan 3's network is not acceptable
        EXPECT_EQ(flags(), QStringList({"1S", "2S", "3N", "4S", "5S"}));
    }
    EXPECT_EQ(estabsVistos, 2 * 3 * 4);
    // the first link keeps its date; the new ones have the run's
    EXPECT_EQ(coluna(QStringLiteral("SELECT DT_VINCULO || LG_NOVO || CD_OPER FROM RL_PLANOS_ESTAB_SAUDE "
                                    "WHERE SEQ_PLANO = 2 ORDER BY ID_ESTB_SAUD")),
              QStringList({"2024-01-02 08:30:00S" + kOp, "2024-06-15 10:00:00S" + kOp, "2024-06-15 10:00:00S" + kOp}));

    // none of the urgency rule's values
    const struct {
        QVariant urgencia;
        int segmentacao;
        bool permitido;
    } casos[] = {{"S", 1, true}, {"S", 2, true}, {"N", 8, false}, {"N", 2, true}, {QVariant(), 1, false},
                 {QVariant(), 5, true}, {" ", 12, true}, {"X", 2, false}, {"s", 2, false}};
    for (const auto& c : casos)
        EXPECT_EQ(TManutencaoRede::VinculoPermitido(c.urgencia, c.segmentacao), c.permitido)
            << c.urgencia.toString().toStdString() << " " << c.segmentacao;
}

TEST_F(ManutencaoRedeTeste, ADatabaseErrorEndsTheRunAndThePlansAlreadyDoneKeepTheirLinksAndFlags) {
    inicia(kBase + QStringLiteral("UPDATE TB_PLANOS SET LG_REDE_VINCULADA = 'N';"
                                  "CREATE TRIGGER recusa BEFORE INSERT ON RL_PLANOS_ESTAB_SAUDE "
                                  "WHEN NEW.SEQ_PLANO = 3 AND NEW.ID_ESTB_SAUD = 12 "
                                  "BEGIN SELECT RAISE(ABORT, 'recusado'); END;"));
    abreLogica();
    logica->SelecionaTodosHospitais();
    logica->SelecionaTodosPlanos();
    bool fim = false;
    TManutencaoRede::Progresso progresso;
    progresso.fim = [&] { fim = true; };
    const TManutencaoRede::Resultado r = logica->Vincula(progresso);
    EXPECT_TRUE(r.erro);
    EXPECT_TRUE(fim);
    // the final message, then the error
    ASSERT_EQ(mensagens.pedidos().size(), 3);
    EXPECT_EQ(mensagens.textos().mid(0, 2), QStringList({kUrgencia, kConcluido}));
    EXPECT_EQ(mensagens.pedidos()[2].tipo, Mensagens::CaixaErroSimples);
    // plans 1 and 2 were done, their flags with their links; plan 3's links went back
    // with its transaction, and its flag stays as it was
    EXPECT_EQ(vinculos(), QStringList({"1:10", "2:10", "2:11", "2:12"}));
    EXPECT_EQ(flags(), QStringList({"1S", "2S", "3N", "4N", "5N"}));
}

TEST_F(ManutencaoRedeTeste, PlansSentAndNotReleasedAreNeitherOfferedNorLinked) {
    inicia(kBase + QStringLiteral("UPDATE TB_PLANOS SET CD_STATUS_ENVIO = 1 WHERE SEQ_PLANO = 1;"
                                  "UPDATE TB_PLANOS SET CD_STATUS_ENVIO = 2 WHERE SEQ_PLANO = 3;"
                                  "UPDATE TB_PLANOS SET CD_STATUS_ENVIO = NULL WHERE SEQ_PLANO = 2;"));
    abreLogica();
    RowSet& planos = *logica->adoPlanosManuRede();
    QStringList nomes;
    for (int p = 0; p < planos.RecordCount(); ++p)
        nomes << planos.ValorNaPosicao(p, planos.IndiceCampo(QStringLiteral("NM_PLANO"))).toString();
    EXPECT_EQ(nomes, QStringList({"DO RIO", "HOSPITALAR"}));  // released (2) and never sent stay
    logica->SelecionaTodosHospitais();
    logica->SelecionaTodosPlanos();
    logica->Vincula();
    EXPECT_TRUE(coluna(QStringLiteral("SELECT ID_ESTB_SAUD FROM RL_PLANOS_ESTAB_SAUDE WHERE SEQ_PLANO = 1"))
                    .isEmpty());
}

TEST_F(ManutencaoRedeTeste, ClosingWarnsWhilePlansWithoutNetworkRemain) {
    inicia(kBase);
    abreLogica();
    logica->AvisaAoFechar();  // plans 1 and 3 have no link (5, of free choice, needs none)
    EXPECT_EQ(mensagens.textos(), QStringList{"Informação incompleta. Persiste plano sem rede credenciada vinculada."});
    banco().executaScript(vinculo(1, 10) + vinculo(3, 10));
    mensagens.limpa();
    logica->AvisaAoFechar();
    EXPECT_TRUE(mensagens.textos().isEmpty());
}

// --- the screen -------------------------------------------------------------------------------

TEST_F(ManutencaoRedeTeste, TheScreenWarnsOnOpeningLinksWithItsButtonsAndWarnsOnClosing) {
    // a linked establishment without its link date: incomplete
    inicia(kBase + QStringLiteral("UPDATE TB_ESTAB_SAUDE SET DT_VINCULO_OPER = NULL WHERE ID_ESTB_SAUD = 10;"));
    TfrmManutencaoRede tela;
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(tela.minimumSize(), QSize(720, 540));
    // Its first size shows both lists' columns on a 1366 x 768 screen, reduced to what this
    // screen holds.
    EXPECT_EQ(tela.size(), QSize(1340, 730).boundedTo(area.size() - QSize(16, 40)).expandedTo(QSize(720, 540)));
    EXPECT_EQ(tela.windowTitle(), QStringLiteral("  Vinculação de Rede em Lote"));
    tela.show();
    QApplication::processEvents();
    EXPECT_EQ(mensagens.textos(), QStringList{"Existem Estabelecimentos de Saúde vinculados a Planos que não tem "
                                              "todos os seus dados informados"});
    EXPECT_EQ(tela.lblQtHospitais->text(), QStringLiteral(" 4 estabelecimento(s)"));
    EXPECT_EQ(tela.lblQtPlanos->text(), QStringLiteral(" 3 plano(s)"));
    EXPECT_EQ(tela.dbgHospitais->model()->headerData(4, Qt::Horizontal).toString(),
              QStringLiteral("Tipo de Estabelecimento de Saúde"));
    EXPECT_FALSE(tela.btnConfirmaVinculos->isEnabled());
    EXPECT_FALSE(tela.btnRetiraHosp->isEnabled());

    QTest::mouseClick(tela.btnCopiaHosp, Qt::LeftButton);
    QTest::mouseClick(tela.btnCopiaHosp, Qt::LeftButton);
    EXPECT_EQ(tela.lblQtHospSele->text(), QStringLiteral(" 4 estabelecimento(s)"));
    EXPECT_FALSE(tela.btnConfirmaVinculos->isEnabled());
    // ">" with no plan marked takes the current one (the first by name: AMBULATORIAL)
    tela.dbgPlanos->setCurrentIndex(tela.dbgPlanos->model()->index(0, 0));
    tela.dbgPlanos->clearSelection();
    QTest::mouseClick(tela.BitBtn10, Qt::LeftButton);
    EXPECT_EQ(tela.lblQtProdSele->text(), QStringLiteral(" 1 plano(s)"));
    EXPECT_TRUE(tela.btnConfirmaVinculos->isEnabled());
    mensagens.limpa();
    QTest::mouseClick(tela.btnConfirmaVinculos, Qt::LeftButton);
    EXPECT_EQ(mensagens.textos(), QStringList({kUrgencia, kConcluido}));
    EXPECT_FALSE(tela.pbPlanos->isVisible());
    EXPECT_FALSE(tela.pbEstabelecimentos->isVisible());
    EXPECT_EQ(vinculos(), QStringList({"1:10", "2:10"}));
    EXPECT_EQ(tela.lblQtHospSele->text(), QStringLiteral(" 4 estabelecimento(s)"));  // the selections stay

    // "<<" empties a selection; "Sair" warns (plans 3 and 5 have no network) and closes
    QTest::mouseClick(tela.btnLimpaHosp, Qt::LeftButton);
    EXPECT_EQ(tela.lblQtHospSele->text(), QStringLiteral(" 0 estabelecimento(s)"));
    mensagens.limpa();
    QTest::mouseClick(tela.btnSair, Qt::LeftButton);
    EXPECT_EQ(mensagens.textos(), QStringList{"Informação incompleta. Persiste plano sem rede credenciada vinculada."});
    EXPECT_FALSE(tela.isVisible());
}

// The move buttons by keyboard: Ctrl+(Shift+)Right/Left act on the half that has the focus,
// and the hints name them (in the language of the toolkit's texts).
TEST_F(ManutencaoRedeTeste, EachHalfsKeysMoveItsOwnRows) {
    inicia(kBase);
    TfrmManutencaoRede tela;
    tela.show();
    QApplication::setActiveWindow(&tela);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&tela));
    const auto tecla = [](QWidget* w, Qt::Key k, Qt::KeyboardModifiers m) {
        QTest::sendKeyEvent(QTest::Click, w, k, QString(), m);
        QCoreApplication::processEvents();
    };
    EXPECT_EQ(tela.btnCopiaHosp->toolTip(), QStringLiteral("Seleciona todos os estabelecimentos de saúde (Ctrl+Shift+Direita)"));
    EXPECT_EQ(tela.BitBtn10->toolTip(), QStringLiteral("Seleciona um ou mais planos (Ctrl+Direita)"));
    EXPECT_EQ(tela.btnRetiraPlanos->toolTip(), QStringLiteral("Retira da seleção plano(s) marcado(s) (Ctrl+Esquerda)"));
    EXPECT_EQ(tela.btnLimpaHosp->toolTip(),
              QStringLiteral("Retira todos os estabelecimentos de saúde da seleção (Ctrl+Shift+Esquerda)"));

    tela.dbgHospitais->setFocus();
    tecla(tela.dbgHospitais, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(tela.lblQtHospSele->text(), QStringLiteral(" 4 estabelecimento(s)"));
    EXPECT_EQ(tela.lblQtProdSele->text(), QStringLiteral(" 0 plano(s)"));  // the other half untouched
    tela.dbgPlanos->setFocus();
    tela.dbgPlanos->setCurrentIndex(tela.dbgPlanos->model()->index(0, 0));
    tecla(tela.dbgPlanos, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(tela.lblQtProdSele->text(), QStringLiteral(" 1 plano(s)"));
    EXPECT_EQ(tela.lblQtHospSele->text(), QStringLiteral(" 4 estabelecimento(s)"));
    tela.dbgProdSele->setFocus();
    tela.dbgProdSele->setCurrentIndex(tela.dbgProdSele->model()->index(0, 0));
    tecla(tela.dbgProdSele, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(tela.lblQtProdSele->text(), QStringLiteral(" 0 plano(s)"));
    tela.dbgHospSele->setFocus();
    tecla(tela.dbgHospSele, Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(tela.lblQtHospSele->text(), QStringLiteral(" 0 estabelecimento(s)"));
    mensagens.limpa();
}

}  // namespace
