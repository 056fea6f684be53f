// The plan screen driven as a user would: the save's checks (message, tab, focus), the
// clearing of what no longer applies, the flags it stores, the all-or-nothing writing,
// sent plans, adding with numbers read inside the write, deleting, the tax grid.
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include "ApoioPlanos.h"
#include "common/ExecucaoModal.h"
#include "plans/FrmCadPlano.h"
#include "plans/RegrasRede.h"
#include "plans/TaxasTemporarias.h"

using namespace ApoioPlanos;
using Aba = TEdicaoPlano::Aba;

namespace {

void escolhe(QComboBox* c, const QVariant& codigo) {
    const int i = c->findData(codigo);
    ASSERT_GE(i, 0) << c->objectName().toStdString() << " " << codigo.toString().toStdString();
    c->setCurrentIndex(i);
    emit c->activated(i);
}

class CadPlanoTeste : public BaseTela {
public:
    using BaseTela::tela;
    RowSet& planos() { return *dm->cdsPlano(); }
    void vaiPara(int seq) {
        ASSERT_TRUE(tela->edicao()->LocalizaPlano(QString::fromLatin1(kOperadora), seq));
        tela->Sincroniza();
    }
    void edita(int seq) {
        vaiPara(seq);
        tela->actAlterar->trigger();
        ASSERT_TRUE(planos().EmEdicao());
    }
    void grava() { QTest::mouseClick(tela->btnConfirmar(), Qt::LeftButton); }
    QString noBanco(const char* coluna, int seq) {
        return banco()
            .valor(QStringLiteral("SELECT %1 FROM TB_PLANOS WHERE SEQ_PLANO = ?").arg(QLatin1String(coluna)),
                   {seq})
            .toString();
    }
    Aba abaNaTela() {
        for (int i = 0; i < TEdicaoPlano::kAbas; ++i)
            if (tela->pgcInfoPlano->currentWidget() == tela->Pagina(Aba(i))) return Aba(i);
        return Aba::DadosGerais;
    }
    void mostra(Aba aba) { tela->pgcInfoPlano->setCurrentWidget(tela->Pagina(aba)); }
    // The open editor of the tax grid (it has the focus).
    QLineEdit* editorTaxa() {
        auto* e = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        return e && e->objectName() == QLatin1String("edtTaxa") ? e : nullptr;
    }
    // Types a tax document into a new row of the "Taxa" tab and posts it with Enter.
    void digitaTaxa(const QString& numero) {
        mostra(Aba::Taxa);
        tela->actIncTaxaRegistro->trigger();
        auto* editor = editorTaxa();
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, numero);
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();
    }
};

// --- the save's checks ---------------------------------------------------------------

TEST_F(CadPlanoTeste, EachCheckOfTheSaveStopsWithItsMessageTabAndFocus) {
    struct Caso {
        const char* nome;
        std::function<void(CadPlanoTeste&)> prepara;
        const char* mensagem;
        Aba aba;
        std::function<QWidget*(TfrmCadPlano&)> foco;
    };
    const auto coluna = [](const char* c, const QVariant& v) {
        return [c, v](CadPlanoTeste& t) { t.planos().DefineValor(QString::fromLatin1(c), v); };
    };
    const Caso casos[] = {
        {"1 nome", [](CadPlanoTeste& t) {
             t.tela->dbedtNome->selectAll();
             QTest::keyClicks(t.tela->dbedtNome, QStringLiteral("   "));
         },
         "Preencher o \"Nome Comercial\".", Aba::Taxa, [](TfrmCadPlano& w) { return w.dbedtNome; }},
        {"1 nome que o arquivo não leva", coluna("NM_PLANO", QStringLiteral("PLANO Ω")),
         "O campo \"Nome Comercial\" contém o caractere \"Ω\", que não pode ser enviado à ZUB. "
         "Substitua-o por outro.",
         Aba::Taxa, [](TfrmCadPlano& w) { return w.dbedtNome; }},
        {"2 contratação", coluna("CD_TIPO_CONTRATO", QVariant()), "Selecione a \"Contratação\".", Aba::Taxa,
         [](TfrmCadPlano& w) { return w.dblkpContraracao; }},
        {"3 abrangência", coluna("CD_ABRANGENCIA", QVariant()),
         "Selecione a \"Abrangência Geográfica\".", Aba::Taxa,
         [](TfrmCadPlano& w) { return w.dblkpAbrangencia; }},
        {"4 segmentação", coluna("CD_SEGMENTACAO", 99), "Selecione a \"Segmentação Assistencial\".",
         Aba::Taxa, [](TfrmCadPlano& w) { return w.dblkpSegmentacao; }},
        {"5 formação do preço", [](CadPlanoTeste& t) { t.tela->edicao()->ClicaPreco(TEdicaoPlano::Preco::Nenhum); },
         "Selecione a \"Formação do Preço\".", Aba::DadosGerais,
         [](TfrmCadPlano& w) { return w.rbtPreEstabelecido; }},
        {"6 opção pós-estabelecido", [](CadPlanoTeste& t) {
             t.mostra(Aba::DadosGerais);
             t.tela->rbtPosEstabelecido->click();
         },
         "Selecione a \"Opção Pós-Estabelecido\".", Aba::DadosGerais,
         [](TfrmCadPlano& w) { return w.rbtRateio; }},
        {"7 vínculo", [](CadPlanoTeste& t) {
             t.mostra(Aba::DadosGerais);
             t.tela->chkVinculoAtivo->click();
         },
         "Selecione pelo menos uma opção de \"Vínculo do Beneficiário\".", Aba::DadosGerais,
         [](TfrmCadPlano& w) { return w.chkVinculoAtivo; }},
        {"8 acomodação", coluna("CD_PADRAO_ACOMODACAO", QVariant()), "Selecione o \"Padrão de Acomodação\".",
         Aba::DadosGerais, [](TfrmCadPlano& w) { return w.rbtIndividual; }},
        {"9 livre escolha", coluna("LG_TOTAL_LIVRE_ESCOLHA", QVariant()),
         "Selecione a opção que indica se o Plano opera exclusivamente como Livre Escolha.",
         Aba::DadosGerais, [](TfrmCadPlano& w) { return w.rbtLivreSim; }},
        {"10 livre escolha com rede", [](CadPlanoTeste& t) {
             t.mostra(Aba::DadosGerais);
             t.tela->rbtLivreSim->click();
         },
         "Planos que operam exclusivamente como Livre Escolha não possuem Vinculação de Rede.",
         Aba::DadosGerais, [](TfrmCadPlano& w) { return w.rbtLivreSim; }},
        {"11 taxas repetidas", [](CadPlanoTeste& t) { t.digitaTaxa(QStringLiteral("804981234562 ")); },
         "Existem Números de Documento de Pagamento repetidos.", Aba::Taxa,
         [](TfrmCadPlano& w) { return w.dbgTaxaRegistro; }},
        {"13 taxa inválida", [](CadPlanoTeste& t) { t.digitaTaxa(QStringLiteral("804981234563")); },
         "Existem taxas com o \"Número do Documento\" inválido.", Aba::Taxa,
         [](TfrmCadPlano& w) { return w.dbgTaxaRegistro; }},
    };
    inicia(plano(1, "PLANO UM") + hospitalSp(10) + vinculo(1, 10) + taxa(1, 5, kTaxa1));
    abre();
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        edita(1);
        mostra(Aba::Taxa);  // the header's checks leave the tab where it is
        c.prepara(*this);
        mensagens.limpa();
        grava();
        ASSERT_FALSE(mensagens.pedidos().isEmpty());
        EXPECT_EQ(mensagens.textos().last(), QString::fromUtf8(c.mensagem));
        EXPECT_EQ(mensagens.pedidos().last().tipo, Mensagens::Erro);
        EXPECT_EQ(abaNaTela(), c.aba);
        EXPECT_EQ(QApplication::focusWidget(), c.foco(*tela)) << qPrintable(QApplication::focusWidget()
                                                                                 ? QApplication::focusWidget()->objectName()
                                                                                 : QStringLiteral("nada"));
        EXPECT_TRUE(planos().EmEdicao());
        tela->actCancelar->trigger();
    }
    // check 10 puts the answer back to "no"
    EXPECT_EQ(noBanco("LG_TOTAL_LIVRE_ESCOLHA", 1), QStringLiteral("N"));
    EXPECT_EQ(noBanco("NM_PLANO", 1), QStringLiteral("PLANO UM"));
}

TEST_F(CadPlanoTeste, OnlyTheInvalidTaxMessageIsShownWhateverFailedBefore) {
    inicia(plano(1, "PLANO UM") + taxa(1, 5, kTaxa1));
    abre();
    edita(1);
    digitaTaxa(QStringLiteral("804981234563"));  // the grid shows its own message on posting
    mensagens.limpa();
    tela->dbedtNome->setFocus();
    tela->dbedtNome->selectAll();
    QTest::keyClick(tela->dbedtNome, Qt::Key_Delete);
    QTest::keyClick(tela->dbedtNome, Qt::Key_Return);  // Enter saves
    EXPECT_EQ(mensagens.textos(),
              QStringList{QStringLiteral("Existem taxas com o \"Número do Documento\" inválido.")});
    EXPECT_EQ(abaNaTela(), Aba::Taxa);

    // a blank document stays in the list without a word and refuses the save too
    tela->actCancelar->trigger();
    edita(1);
    mostra(Aba::Taxa);
    tela->actIncTaxaRegistro->trigger();
    QTest::keyClick(editorTaxa(), Qt::Key_Return);
    mensagens.limpa();
    grava();
    EXPECT_EQ(mensagens.textos(),
              QStringList{QStringLiteral("Existem taxas com o \"Número do Documento\" inválido.")});
    EXPECT_EQ(tela->edicao()->taxas()->cdsTmpTaxaRegistro()->RecordCount(), 2);
}

// --- the writing ------------------------------------------------------------------------

TEST_F(CadPlanoTeste, TheFirstTaxMakesThePlanConsistentOnlyFromTheNextSave) {
    // a state plan whose state has an urgency hospital: area and network pass
    inicia(plano(1, "PLANO UM", 3) + relacao("RL_PLANOS_UF", "CD_UF", 1, QStringLiteral("'SP'")) +
           hospitalSp(10) + vinculo(1, 10) + nota(1, 1, "555") +
           QStringLiteral("UPDATE TB_PLANOS SET CD_STATUS_ENVIO = NULL, LG_CONSISTENTE = NULL, "
                          "LG_REDE_VINCULADA = NULL;"));
    abre();
    edita(1);
    digitaTaxa(QStringLiteral("80498000007x"));
    EXPECT_EQ(mensagens.textos(), QStringList());  // upper-cased, and valid
    grava();
    EXPECT_TRUE(tela->Navegando());
    EXPECT_EQ(noBanco("LG_CONSISTENTE", 1), QStringLiteral("N"));
    EXPECT_EQ(noBanco("LG_REDE_VINCULADA", 1), QStringLiteral("S"));
    EXPECT_EQ(noBanco("CD_STATUS_ENVIO", 1), QStringLiteral("0"));
    EXPECT_EQ(coluna(QStringLiteral("SELECT NR_DOCUMENTO_TAXA FROM RL_PLANO_TAXA_REGISTRO")),
              QStringList{"80498000007X"});
    edita(1);
    grava();
    EXPECT_EQ(noBanco("LG_CONSISTENTE", 1), QStringLiteral("S"));
    EXPECT_EQ(mensagens.textos(), QStringList());
}

TEST_F(CadPlanoTeste, NetworkFlagFollowsSegmentationFreeChoiceAndLinks) {
    const struct {
        const char* nome;
        QString linhas;
        const char* rede;
    } casos[] = {
        {"sem vínculo", plano(1, "P") , "N"},
        {"com vínculo que atende às regras da rede",
         plano(1, "P", 3) + relacao("RL_PLANOS_UF", "CD_UF", 1, QStringLiteral("'SP'")) + vinculo(1, 10), "S"},
        {"com vínculo que não atende (nacional)", plano(1, "P") + vinculo(1, 10), "N"},
        {"odontológico", plano(1, "P", 1, 4), "S"},
        {"livre escolha",
         plano(1, "P") + QStringLiteral("UPDATE TB_PLANOS SET LG_TOTAL_LIVRE_ESCOLHA = 'S';"), "S"},
    };
    inicia(hospitalSp(10));
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        tela.reset();
        banco().executaScript(QStringLiteral("DELETE FROM TB_PLANOS; DELETE FROM RL_PLANOS_ESTAB_SAUDE; "
                                             "DELETE FROM RL_PLANOS_UF;") +
                              QString(c.linhas).remove(hospitalSp(10)));
        abre();
        edita(1);
        grava();
        EXPECT_TRUE(tela->Navegando()) << mensagens.textos().join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(noBanco("LG_REDE_VINCULADA", 1), QString::fromLatin1(c.rede));
        EXPECT_EQ(noBanco("CD_TIPO_FINANC", 1), QStringLiteral("1"));
    }
}

TEST_F(CadPlanoTeste, ChangedCoverageClearsTheAreaThatNoLongerApplies) {
    const QString area = relacao("RL_PLANOS_MUNICIPIO", "ID_MUNC", 1, QStringLiteral("3550308")) +
                         relacao("RL_PLANOS_MUNICIPIO", "ID_MUNC", 1, QStringLiteral("3304557")) +
                         relacao("RL_PLANOS_UF", "CD_UF", 1, QStringLiteral("'SP'")) +
                         relacao("RL_PLANOS_UF", "CD_UF", 1, QStringLiteral("'RJ'"));
    // urgency hospitals in both states: the network rules pass for coverages 2 and 3
    inicia(plano(1, "PLANO UM", 4) + area + taxa(1, 5, kTaxa1) + hospitalSp(10) + hospitalSp(11) +
           QStringLiteral("UPDATE TB_ESTAB_SAUDE SET ID_MUNC = 3304557 WHERE ID_ESTB_SAUD = 11;") +
           vinculo(1, 10) + vinculo(1, 11));
    abre();
    const auto municipios = [&] { return conta(QStringLiteral("SELECT count(*) FROM RL_PLANOS_MUNICIPIO")); };
    const auto ufs = [&] { return conta(QStringLiteral("SELECT count(*) FROM RL_PLANOS_UF")); };

    // 4 -> 2: the municipalities go without a question; the states stay
    edita(1);
    escolhe(tela->dblkpAbrangencia, 2);
    grava();
    EXPECT_EQ(mensagens.textos(), QStringList());
    EXPECT_EQ(municipios(), 0);
    EXPECT_EQ(ufs(), 2);

    // 2 -> 1 (the area tab off): asked; "no" gives the save up and the plan back
    mensagens.responde({Mensagens::RespNao});
    edita(1);
    escolhe(tela->dblkpAbrangencia, 1);
    grava();
    EXPECT_EQ(mensagens.textos(),
              QStringList{"As UFs e Municípios da Área de Atuação serão excluídos. Deseja Continuar?"});
    EXPECT_TRUE(tela->Navegando());
    EXPECT_EQ(noBanco("CD_ABRANGENCIA", 1), QStringLiteral("2"));
    EXPECT_TRUE(tela->edicao()->AbaHabilitada(Aba::AreaAtuacao));
    EXPECT_EQ(ufs(), 2);
    // "yes" deletes them (two states are no national network: its warning follows)
    mensagens.limpa();
    mensagens.responde({Mensagens::RespSim});
    edita(1);
    escolhe(tela->dblkpAbrangencia, 1);
    grava();
    EXPECT_EQ(mensagens.textos(),
              QStringList({"As UFs e Municípios da Área de Atuação serão excluídos. Deseja Continuar?",
                           MensagensRede::Nacional()}));
    EXPECT_EQ(ufs(), 0);
    EXPECT_EQ(noBanco("CD_ABRANGENCIA", 1), QStringLiteral("1"));

    // coverage 3 with municipalities of two states: a warning, saved as not consistent
    banco().executaScript(area);
    mensagens.limpa();
    edita(1);
    escolhe(tela->dblkpAbrangencia, 3);
    grava();
    EXPECT_EQ(mensagens.textos(),
              QStringList{"Somente podem ser selecionados municípios de uma única UF."});
    EXPECT_EQ(mensagens.pedidos().value(0).tipo, Mensagens::Cuidado);
    EXPECT_EQ(noBanco("LG_CONSISTENTE", 1), QStringLiteral("N"));
    EXPECT_EQ(municipios(), 0);
}

TEST_F(CadPlanoTeste, NotesAndNetworkOfATabThatNoLongerAppliesGoOnlyWhenTheUserAgrees) {
    inicia(plano(1, "PLANO UM") + hospitalSp(10) + vinculo(1, 10) + taxa(1, 5, kTaxa1));
    abre();
    // segmentation 4: no network; "no" keeps the plan in edit, "yes" unlinks
    mensagens.responde({Mensagens::RespNao});
    edita(1);
    QTest::mouseClick(tela->rbtPreEstabelecido, Qt::LeftButton);
    escolhe(tela->dblkpSegmentacao, 4);
    EXPECT_FALSE(tela->edicao()->AbaHabilitada(Aba::Rede));
    EXPECT_FALSE(tela->grpPadraoAcomodacao->isEnabled());
    grava();
    EXPECT_EQ(mensagens.textos(),
              QStringList{"Os estabelecimentos de saúde vinculados serão excluídos. Deseja Continuar?"});
    EXPECT_TRUE(planos().EmEdicao());
    mensagens.responde({Mensagens::RespSim});
    grava();
    EXPECT_TRUE(tela->Navegando());
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM RL_PLANOS_ESTAB_SAUDE")), 0);
    EXPECT_EQ(noBanco("CD_SEGMENTACAO", 1), QStringLiteral("4"));
    EXPECT_TRUE(noBanco("CD_PADRAO_ACOMODACAO", 1).isEmpty());  // no accommodation for 1, 4 and 8
}

TEST_F(CadPlanoTeste, AWriteErrorLeavesTheDatabaseAsItWasAndClosesTheScreen) {
    inicia(plano(1, "PLANO UM") + hospitalSp(10) + hospitalSp(11) + vinculo(1, 10) + taxa(1, 5, kTaxa1) +
           QStringLiteral("CREATE TRIGGER recusa BEFORE INSERT ON RL_PLANO_TAXA_REGISTRO "
                          "BEGIN SELECT RAISE(ABORT, 'recusado'); END;"));
    abre();
    edita(1);
    tela->dbedtNome->selectAll();
    QTest::keyClicks(tela->dbedtNome, QStringLiteral("NOVO NOME"));
    // a link added on the network tab, written before the taxes
    mostra(Aba::Rede);
    RowSet& rede = *dm->cdsPlanoRede();
    rede.Append();
    rede.DefineValor(QStringLiteral("CD_OPER"), QString::fromLatin1(kOperadora));
    rede.DefineValor(QStringLiteral("SEQ_PLANO"), 1);
    rede.DefineValor(QStringLiteral("ID_ESTB_SAUD"), 11);
    rede.Post();
    digitaTaxa(QString::fromLatin1(kTaxa2));
    grava();
    EXPECT_EQ(mensagens.textos().last(),
              QStringLiteral("Houve um erro indeterminado na gravação do plano, que impede a "
                             "continuação da operação. Esta tela será fechada."));
    EXPECT_FALSE(tela->isVisible());
    EXPECT_EQ(tela->result(), QDialog::Rejected);
    EXPECT_EQ(noBanco("NM_PLANO", 1), QStringLiteral("PLANO UM"));
    EXPECT_EQ(noBanco("LG_CONSISTENTE", 1), QStringLiteral("S"));
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM RL_PLANOS_ESTAB_SAUDE")), 1);
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM RL_PLANO_TAXA_REGISTRO")), 1);
    EXPECT_FALSE(banco().emTransacao());
}

// --- sent plans, adding, deleting -----------------------------------------------------------

TEST_F(CadPlanoTeste, SentPlansCannotBeEditedAndReleasedOnesCannotBeDeleted) {
    inicia(plano(1, "ENVIADO", 1, 2, 1) + plano(2, "LIBERADO", 1, 2, 2));
    abre();
    vaiPara(1);
    tela->actAlterar->trigger();
    EXPECT_EQ(mensagens.textos().value(0),
              QStringLiteral("Este plano foi enviado para a ZUB e portanto, não poderá ser alterado "
                             "e/ou excluído."));
    EXPECT_TRUE(tela->Navegando());
    for (int seq : {1, 2}) {
        mensagens.limpa();
        vaiPara(seq);
        tela->actExcluir->trigger();
        EXPECT_EQ(mensagens.textos(),
                  QStringList{"Este plano foi enviado para a ZUB e portanto, não poderá ser EXCLUÍDO."});
    }
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM TB_PLANOS")), 2);
    tela->actAlterar->trigger();
    EXPECT_TRUE(planos().EmEdicao());
}

TEST_F(CadPlanoTeste, ANewPlanTakesItsNumberInsideTheWriteEvenWhenAnotherCopyTookTheOneShown) {
    inicia(plano(4, "QUATRO") + taxa(4, 9, kTaxa1));
    abre();
    tela->actAdicionar->trigger();
    EXPECT_EQ(planos().Valor(QStringLiteral("SEQ_PLANO")).toInt(), 5);
    EXPECT_EQ(QApplication::focusWidget(), tela->dbedtNome);
    QTest::keyClicks(tela->dbedtNome, QStringLiteral("PLANO NOVO"));
    escolhe(tela->dblkpContraracao, 1);
    EXPECT_TRUE(tela->rbtPreEstabelecido->isChecked());  // individual: pre-established
    EXPECT_FALSE(tela->chkVinculoAtivo->isEnabled());
    escolhe(tela->dblkpAbrangencia, 1);
    escolhe(tela->dblkpSegmentacao, 5);
    EXPECT_FALSE(tela->rbtIndividual->isEnabled());
    EXPECT_TRUE(tela->rbtColetiva->isChecked());
    EXPECT_TRUE(tela->edicao()->AtributosCompletos());
    digitaTaxa(QString::fromLatin1(kTaxa2));
    // another copy saves plan 5 and a tax document 10 meanwhile
    Apoio::abreBanco(banco().caminho())->executaScript(plano(5, "OUTRA CÓPIA") + taxa(5, 10, kTaxa1));
    mensagens.limpa();
    grava();
    // a national plan without network: saved, with the network warning
    EXPECT_EQ(mensagens.textos(), QStringList{MensagensRede::Nacional()});
    EXPECT_TRUE(tela->Navegando());
    EXPECT_EQ(noBanco("NM_PLANO", 6), QStringLiteral("PLANO NOVO"));
    EXPECT_EQ(noBanco("CD_PADRAO_ACOMODACAO", 6), QStringLiteral("C"));
    EXPECT_EQ(noBanco("LG_TOTAL_LIVRE_ESCOLHA", 6), QStringLiteral("N"));
    EXPECT_EQ(coluna(QStringLiteral(
                  "SELECT ID_PLANO_TAXA_REGISTRO || ':' || NR_DOCUMENTO_TAXA FROM RL_PLANO_TAXA_REGISTRO "
                  "WHERE SEQ_PLANO = 6")),
              QStringList{QStringLiteral("11:") + QString::fromLatin1(kTaxa2)});
    EXPECT_EQ(planos().Valor(QStringLiteral("SEQ_PLANO")).toInt(), 6);  // the screen shows it
    EXPECT_EQ(tela->lblQtRegistros()->text(), QStringLiteral("3 Registro(s)"));
}

TEST_F(CadPlanoTeste, DeletingAsksAndTakesEverythingOfThePlan) {
    inicia(plano(1, "P1") + plano(2, "P2") + hospitalSp(10) + vinculo(1, 10) + taxa(1, 5, kTaxa1));
    abre();
    mensagens.responde({Mensagens::RespNao});
    tela->actExcluir->trigger();
    EXPECT_EQ(mensagens.textos(), QStringList{"Deseja excluir o registro?"});
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM TB_PLANOS")), 2);
    mensagens.responde({Mensagens::RespSim});
    tela->actExcluir->trigger();
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM TB_PLANOS")), 1);
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM RL_PLANOS_ESTAB_SAUDE")), 0);
    EXPECT_EQ(tela->dbedtNome->text(), QStringLiteral("P2"));
}

// --- the tax grid ---------------------------------------------------------------------------

TEST_F(CadPlanoTeste, TaxGridPostsWithEnterAndRefusesToLeaveAnInvalidRowWithTheArrowsSayingWhy) {
    inicia(plano(1, "PLANO UM") + taxa(1, 5, kTaxa1));
    abre();
    edita(1);
    mostra(Aba::Taxa);
    RowSet& lista = *tela->edicao()->taxas()->cdsTmpTaxaRegistro();
    ASSERT_EQ(lista.RecordCount(), 1);
    EXPECT_FALSE(tela->actEditTaxaRegistro->isEnabled() && lista.EmEdicao());
    tela->actIncTaxaRegistro->trigger();
    EXPECT_EQ(lista.Valor(QStringLiteral("id_plano_taxa_Registro")).toInt(), 6);
    auto* editor = editorTaxa();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral("804981234563"));
    QTest::keyClick(editor, Qt::Key_Down);  // posted (the check says why), refused: no move
    ASSERT_EQ(mensagens.pedidos().size(), 1);
    EXPECT_EQ(mensagens.pedidos().first().tipo, Mensagens::Erro);
    EXPECT_TRUE(mensagens.textos().first().startsWith(QStringLiteral("Taxa 804981234563: O dígito verificador")))
        << mensagens.textos().first().toStdString();
    mensagens.limpa();
    EXPECT_EQ(lista.RecNo(), 0);  // the new row was inserted before the current one
    EXPECT_EQ(lista.Valor(QStringLiteral("nr_documento_taxa")).toString(), QStringLiteral("804981234563"));
    tela->actEditTaxaRegistro->trigger();
    editor = editorTaxa();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QString::fromLatin1(kTaxa2));
    QTest::keyClick(editor, Qt::Key_Down);  // valid: posted and moved
    EXPECT_EQ(lista.RecNo(), 1);
    // the second new document is numbered without another query
    banco().executaScript(taxa(9, 40, kTaxa1));
    tela->actIncTaxaRegistro->trigger();
    EXPECT_EQ(lista.Valor(QStringLiteral("id_plano_taxa_Registro")).toInt(), 7);
    QTest::keyClick(editorTaxa(), Qt::Key_Escape);
    EXPECT_EQ(lista.RecordCount(), 2);
    tela->AtualizaAcoes();
    tela->actDelTaxaRegistro->trigger();  // no question
    EXPECT_EQ(lista.RecordCount(), 1);
    EXPECT_EQ(mensagens.textos(), QStringList());
}

// --- what one plan's clicks leave to the next ----------------------------------------------

// A plan of the test operator with the price formation, post-established option and
// contract given (the rest as plano()).
QString planoPreco(int seq, const char* nome, int financ, const char* opcao, int contrato = 2) {
    return plano(seq, nome) +
           QStringLiteral("UPDATE TB_PLANOS SET CD_TIPO_FINANC = %1, CD_OPCAO_POS_ESTABELECIDO = %2, "
                          "CD_TIPO_CONTRATO = %3 WHERE SEQ_PLANO = %4;")
               .arg(financ)
               .arg(opcao ? QStringLiteral("'%1'").arg(QLatin1String(opcao)) : QStringLiteral("NULL"))
               .arg(contrato)
               .arg(seq);
}

TEST_F(CadPlanoTeste, EnabledStatesFollowThePlanShownWhateverWasClickedBefore) {
    inicia(planoPreco(1, "PRÉ", 1, nullptr) + planoPreco(2, "PÓS", 2, "R") + taxa(1, 5, kTaxa1) +
           taxa(2, 6, kTaxa2));
    abre();
    // right after opening, a pre-established plan: no post-established option to choose
    edita(1);
    EXPECT_FALSE(tela->grpOpcaoPosEstab->isEnabled());
    EXPECT_TRUE(tela->chkCoparticipacao->isEnabled());
    tela->actCancelar->trigger();

    const struct {
        const char* nome;
        std::function<void(CadPlanoTeste&)> antes;
    } casos[] = {
        {"incluir e cancelar", [](CadPlanoTeste& t) {
             t.tela->actAdicionar->trigger();
             t.tela->actCancelar->trigger();
         }},
        {"pré-estabelecido noutro plano", [](CadPlanoTeste& t) {
             t.edita(2);
             t.tela->rbtPreEstabelecido->click();
             t.tela->actCancelar->trigger();
         }},
        {"misto e segmentação 4 noutro plano", [](CadPlanoTeste& t) {
             t.edita(1);
             escolhe(t.tela->dblkpSegmentacao, 4);
             t.tela->rbtMisto->click();
             t.tela->actCancelar->trigger();
         }},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        c.antes(*this);
        mensagens.limpa();
        // the post-established plan, untouched: its option stays and the save goes through
        edita(2);
        EXPECT_TRUE(tela->grpOpcaoPosEstab->isEnabled());
        EXPECT_TRUE(tela->rbtRateio->isChecked());
        EXPECT_TRUE(tela->chkCoparticipacao->isEnabled());
        EXPECT_TRUE(tela->chkFranquia->isEnabled());
        EXPECT_TRUE(tela->grpPadraoAcomodacao->isEnabled());
        grava();
        EXPECT_TRUE(tela->Navegando()) << mensagens.textos().join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(noBanco("CD_OPCAO_POS_ESTABELECIDO", 2), QStringLiteral("R"));
        EXPECT_EQ(noBanco("CD_TIPO_FINANC", 2), QStringLiteral("2"));
        // and the pre-established one cannot take an option
        edita(1);
        EXPECT_FALSE(tela->grpOpcaoPosEstab->isEnabled());
        tela->actCancelar->trigger();
    }

    // a new individual plan is pre-established by its contract: its moderating factor is free
    tela->actAdicionar->trigger();
    EXPECT_FALSE(tela->chkCoparticipacao->isEnabled());
    escolhe(tela->dblkpContraracao, 1);
    EXPECT_TRUE(tela->rbtPreEstabelecido->isChecked());
    EXPECT_TRUE(tela->chkCoparticipacao->isEnabled());
    EXPECT_TRUE(tela->chkFranquia->isEnabled());
    EXPECT_FALSE(tela->grpOpcaoPosEstab->isEnabled());
    tela->actCancelar->trigger();
}

TEST_F(CadPlanoTeste, AnIdleScreenSetsNothingTwice) {
    inicia(planoPreco(1, "PRÉ", 1, nullptr) + planoPreco(2, "PÓS", 2, "R"));
    abre();
    // the idle pass the event loop runs: a second one changes nothing, browsing or editing
    struct Contador : QObject {
        int mudancas = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::EnabledChange || e->type() == QEvent::ActionChanged) ++mudancas;
            return false;
        }
    } contador;
    for (int passo = 0; passo < 3; ++passo) {
        SCOPED_TRACE(passo);
        if (passo == 1) edita(2);
        if (passo == 2) tela->actCancelar->trigger();
        tela->AtualizaAcoes();
        EXPECT_EQ(tela->AtualizaAcoes(), 0);
        QApplication::processEvents();
        qApp->installEventFilter(&contador);
        for (int i = 0; i < 5; ++i) QApplication::processEvents();
        qApp->removeEventFilter(&contador);
        EXPECT_EQ(contador.mudancas, 0);
    }
}

TEST_F(CadPlanoTeste, AnotherCopysChangeIsNeverOverwrittenAndCancelShowsIt) {
    inicia(plano(1, "PLANO UM") + taxa(1, 5, kTaxa1));
    abre();
    edita(1);
    tela->dbedtNome->selectAll();
    QTest::keyClicks(tela->dbedtNome, QStringLiteral("DESTA COPIA"));
    // another copy of the program stores its own name meanwhile
    Apoio::abreBanco(banco().caminho())
        ->executa(QStringLiteral("UPDATE TB_PLANOS SET NM_PLANO = 'DA OUTRA CÓPIA' WHERE SEQ_PLANO = 1"));
    mensagens.limpa();
    grava();  // (after the national network's warning)
    EXPECT_EQ(mensagens.textos().value(mensagens.textos().size() - 1),
              QStringLiteral("Registro não encontrado ou alterado por outro usuário."));
    EXPECT_EQ(mensagens.pedidos().last().tipo, Mensagens::Erro);
    EXPECT_EQ(noBanco("NM_PLANO", 1), QStringLiteral("DA OUTRA CÓPIA"));
    EXPECT_FALSE(banco().emTransacao());
    // still in edit, with what the user typed
    EXPECT_TRUE(planos().EmEdicao());
    EXPECT_EQ(tela->dbedtNome->text(), QStringLiteral("DESTA COPIA"));
    EXPECT_TRUE(tela->isVisible());
    // a second try is refused too; cancelling shows the other copy's plan, which then saves
    grava();
    EXPECT_EQ(noBanco("NM_PLANO", 1), QStringLiteral("DA OUTRA CÓPIA"));
    tela->actCancelar->trigger();
    EXPECT_EQ(tela->dbedtNome->text(), QStringLiteral("DA OUTRA CÓPIA"));
    mensagens.limpa();
    edita(1);
    tela->dbedtNome->selectAll();
    QTest::keyClicks(tela->dbedtNome, QStringLiteral("ENFIM"));
    grava();
    EXPECT_TRUE(tela->Navegando()) << mensagens.textos().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(noBanco("NM_PLANO", 1), QStringLiteral("ENFIM"));

    // a related row changed by the other copy: the same refusal, nothing of the save kept
    edita(1);
    mostra(Aba::Taxa);
    tela->edicao()->taxas()->cdsTmpTaxaRegistro()->First();
    tela->actEditTaxaRegistro->trigger();
    auto* editor = editorTaxa();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QString::fromLatin1(kTaxa2));
    QTest::keyClick(editor, Qt::Key_Return);
    tela->dbedtNome->selectAll();
    QTest::keyClicks(tela->dbedtNome, QStringLiteral("OUTRO NOME"));
    Apoio::abreBanco(banco().caminho())
        ->executa(QStringLiteral("UPDATE RL_PLANO_TAXA_REGISTRO SET NR_DOCUMENTO_TAXA = '80498000007X'"));
    mensagens.limpa();
    grava();
    EXPECT_EQ(mensagens.textos().value(mensagens.textos().size() - 1),
              QStringLiteral("Registro não encontrado ou alterado por outro usuário."));
    EXPECT_EQ(noBanco("NM_PLANO", 1), QStringLiteral("ENFIM"));
    EXPECT_EQ(coluna(QStringLiteral("SELECT NR_DOCUMENTO_TAXA FROM RL_PLANO_TAXA_REGISTRO")),
              QStringList{"80498000007X"});
    EXPECT_TRUE(planos().EmEdicao());
}

TEST_F(CadPlanoTeste, AnUrgencyOnlySegmentationDropsLinksWithoutUrgencyEvenWithTheNetworkUnseen) {
    inicia(plano(1, "PLANO UM", 3) + relacao("RL_PLANOS_UF", "CD_UF", 1, QStringLiteral("'SP'")) +
           hospitalSp(10) + hospitalSp(11) +
           QStringLiteral("UPDATE TB_ESTAB_SAUDE SET LG_URGENCIA_EMERGENCIA = 'N' WHERE ID_ESTB_SAUD = 11;") +
           vinculo(1, 10) + vinculo(1, 11) + taxa(1, 5, kTaxa1));
    abre();
    for (int seg : {1, 8}) {
        SCOPED_TRACE(seg);
        edita(1);
        escolhe(tela->dblkpSegmentacao, seg);
        grava();  // the network tab was never shown
        EXPECT_TRUE(tela->Navegando()) << mensagens.textos().join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(coluna(QStringLiteral("SELECT ID_ESTB_SAUD FROM RL_PLANOS_ESTAB_SAUDE")), QStringList{"10"});
        banco().executaScript(vinculo(1, 11));
        tela.reset();
        abre();
    }
}

TEST_F(CadPlanoTeste, ANewPlanStoresOnlyTheAreaRowsItsCoverageUses) {
    inicia(plano(1, "PLANO UM") + hospitalSp(10));
    abre();
    tela->actAdicionar->trigger();
    QTest::keyClicks(tela->dbedtNome, QStringLiteral("PLANO NACIONAL"));
    escolhe(tela->dblkpContraracao, 1);
    escolhe(tela->dblkpAbrangencia, 2);
    escolhe(tela->dblkpSegmentacao, 2);
    tela->rbtColetiva->click();
    mostra(Aba::AreaAtuacao);
    tela->AtualizaAcoes();
    ASSERT_TRUE(tela->actIncluiTodasUF->isEnabled());
    tela->actIncluiTodasUF->trigger();
    ASSERT_EQ(dm->cdsPlanosUF()->RecordCount(), 27);
    mostra(Aba::DadosGerais);
    escolhe(tela->dblkpAbrangencia, 1);
    mensagens.limpa();
    grava();
    EXPECT_TRUE(tela->Navegando());
    // no question about rows never stored; only the national network's warning
    EXPECT_EQ(mensagens.textos(), QStringList{MensagensRede::Nacional()});
    EXPECT_EQ(noBanco("CD_ABRANGENCIA", 2), QStringLiteral("1"));
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM RL_PLANOS_UF")), 0);
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM RL_PLANOS_MUNICIPIO")), 0);
}

}  // namespace
