// The two check lists of a plan: which items each segmentation enables, the free-choice
// answer "S", "Marcar Todos", the "OUTROS (ESPECIFICAR)" service and what a save writes.
#include <algorithm>

#include "ApoioPlanos.h"
#include "plans/EdicaoPlano.h"
#include "plans/ItensPlano.h"

using namespace ApoioPlanos;

namespace {

QVector<int> habilitados(const TListaItens& l) {
    QVector<int> r;
    for (const auto& i : l.Itens())
        if (i.habilitado) r << i.codigo;
    return r;
}

QVector<int> faixa(int de, int ate) {
    QVector<int> r;
    for (int i = de; i <= ate; ++i) r << i;
    return r;
}

class ItensTeste : public Base {
protected:
    std::unique_ptr<TItensPlano> itens;
    void SetUp() override {
        inicia(plano(1, "P1") + relacao("RL_PLANOS_TIPO_COBERTURA", "CD_TIPO_COBERTURA", 1, "1") +
               relacao("RL_PLANOS_TIPO_COBERTURA", "CD_TIPO_COBERTURA", 1, "2") +
               relacao("RL_PLANOS_SERV_OPC", "CD_SERV_OPCIONAL", 1, "1") +
               relacao("RL_PLANOS_SERV_OPC", "CD_SERV_OPCIONAL", 1, "9"));
        dm->AbrePlanos();
        itens = std::make_unique<TItensPlano>(dm.get());
        itens->CarregaLivreEscolha();
        itens->CarregaServicos();
    }
    void TearDown() override {
        itens.reset();
        Base::TearDown();
    }
    TListaItens& reembolso() { return *itens->lstReembolso(); }
    TListaItens& servicos() { return *itens->lstServicos(); }
};

TEST_F(ItensTeste, ListsAreLoadedFromTheCodeTablesWithThePlansStoredItems) {
    ASSERT_EQ(reembolso().Count(), 13);
    EXPECT_EQ(reembolso().item(0).texto, QStringLiteral("01 - Consulta Médica"));
    EXPECT_EQ(reembolso().CodigosMarcados(), QVector<int>({1, 2}));
    ASSERT_EQ(servicos().Count(), 14);
    EXPECT_EQ(servicos().CodigosMarcados(), QVector<int>({1, 9}));
    EXPECT_EQ(servicos().PosicaoDoCodigo(9), 8);
    // loading again while the plan's set is open keeps the user's unsaved checks
    reembolso().DefineMarcado(4, true);
    itens->CarregaLivreEscolha();
    EXPECT_EQ(reembolso().CodigosMarcados(), QVector<int>({1, 2, 5}));
}

TEST_F(ItensTeste, FreeChoiceItemsEachSegmentationEnables) {
    const struct {
        int seg;
        QVector<int> codigos;
    } casos[] = {{1, {1, 2, 4, 5, 13}},  {2, {1, 2, 3, 4, 5, 13}},
                 {3, {3, 13}},           {4, faixa(6, 13)},
                 {5, {1, 2, 3, 4, 5, 13}}, {6, {1, 2, 3, 4, 5, 13}},
                 {7, {1, 2, 3, 4, 5, 13}}, {8, QVector<int>{1, 2} + faixa(4, 13)},
                 {9, {}},                {0, {}},
                 {10, faixa(1, 13)},     {11, QVector<int>{3} + faixa(6, 13)},
                 {12, faixa(1, 13)},     {14, faixa(1, 13)}};
    for (const auto& c : casos) {
        itens->RegrasLivreEscolha(c.seg, QStringLiteral("N"));
        EXPECT_EQ(habilitados(reembolso()), c.codigos) << c.seg;
        // with "N" a disabled item is unchecked
        for (const auto& i : reembolso().Itens())
            if (!i.habilitado) EXPECT_FALSE(i.marcado) << c.seg << " " << i.codigo;
        // reload the stored state for the next segmentation
        dm->cdsPlanoCobertura()->Fecha();
        itens->CarregaLivreEscolha();
    }
}

TEST_F(ItensTeste, FreeChoiceAnswerYesChecksEveryEnabledItemButTheLastAndLocksOneToTwelve) {
    // segmentation 10: 1 to 12 checked and disabled; 13 (last position) enabled, as stored
    itens->RegrasLivreEscolha(10, QStringLiteral("S"));
    EXPECT_EQ(reembolso().CodigosMarcados(), faixa(1, 12));
    EXPECT_EQ(habilitados(reembolso()), QVector<int>({13}));
    // segmentation 3: 1 and 2 stay as loaded (checked), 3 becomes checked
    dm->cdsPlanoCobertura()->Fecha();
    itens->CarregaLivreEscolha();
    itens->RegrasLivreEscolha(3, QStringLiteral("S"));
    EXPECT_EQ(reembolso().CodigosMarcados(), QVector<int>({1, 2, 3}));
    // "Marcar Todos" changes only the items still enabled
    reembolso().MarcaHabilitados(true);
    EXPECT_EQ(reembolso().CodigosMarcados(), QVector<int>({1, 2, 3, 13}));
    reembolso().MarcaHabilitados(false);
    EXPECT_EQ(reembolso().CodigosMarcados(), QVector<int>({1, 2, 3}));
    reembolso().Alterna(0);  // a disabled item does not toggle
    EXPECT_TRUE(reembolso().Marcado(0));

    // a save keeps 1, 2 and 3
    itens->GravaLivreEscolha();
    dm->cdsPlanoCobertura()->ApplyUpdates(banco());
    EXPECT_EQ(coluna(QStringLiteral("SELECT CD_TIPO_COBERTURA FROM RL_PLANOS_TIPO_COBERTURA "
                                    "ORDER BY 1")),
              QStringList({"1", "2", "3"}));
}

TEST_F(ItensTeste, ServicesEachSegmentationDisablesAreUncheckedAndTheSaveRemovesThem) {
    const struct {
        int seg;
        QVector<int> desabilitados;
    } casos[] = {{1, {9}}, {2, {9}}, {3, {9}}, {6, {9}}, {7, {9}},
                 {4, {1, 2, 3, 4, 5, 8}}, {5, faixa(1, 14)}, {8, {}}, {12, {}}};
    for (const auto& c : casos) {
        itens->RegrasServicos(c.seg);
        QVector<int> fora;
        for (const auto& i : servicos().Itens())
            if (!i.habilitado) {
                fora << i.codigo;
                EXPECT_FALSE(i.marcado) << c.seg << " " << i.codigo;
            }
        EXPECT_EQ(fora, c.desabilitados) << c.seg;
        dm->cdsPlanoServico()->Fecha();
        itens->CarregaServicos();
    }
    itens->RegrasServicos(5);
    itens->GravaServicos();
    dm->cdsPlanoServico()->ApplyUpdates(banco());
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM RL_PLANOS_SERV_OPC")), 0);
}

TEST_F(ItensTeste, TheOtherServiceToSpecifyIsNeverListedAndItsStoredRowsStay) {
    banco().executaScript(
        QStringLiteral("UPDATE TA_SERVICOS_OPCIONAIS SET DE_SERV_OPCIONAL = 'Outros (especificar)' "
                       "WHERE CD_SERV_OPCIONAL = 13;") +
        relacao("RL_PLANOS_SERV_OPC", "CD_SERV_OPCIONAL", 1, "13"));
    dm->cdsPlanoServico()->Fecha();
    itens->CarregaServicos();
    EXPECT_EQ(servicos().Count(), 13);
    EXPECT_EQ(servicos().PosicaoDoCodigo(13), -1);
    itens->RegrasServicos(2);  // 9 is unchecked
    servicos().DefineMarcado(servicos().PosicaoDoCodigo(14), true);
    itens->GravaServicos();
    dm->cdsPlanoServico()->ApplyUpdates(banco());
    EXPECT_EQ(coluna(QStringLiteral("SELECT CD_SERV_OPCIONAL FROM RL_PLANOS_SERV_OPC ORDER BY 1")),
              QStringList({"1", "13", "14"}));
}

TEST_F(ItensTeste, ANewPlanAnsweredYesGetsEveryEnabledItemButTheLastOneAtSave) {
    // the save loads the list and applies its rule when the tab was never shown
    TEdicaoPlano edicao(dm.get());
    edicao.Abre();
    edicao.Adiciona();
    RowSet& p = *dm->cdsPlano();
    p.DefineValor(QStringLiteral("NM_PLANO"), QStringLiteral("LIVRE"));
    p.DefineValor(QStringLiteral("CD_TIPO_CONTRATO"), 1);
    edicao.ContratoAlterado();
    p.DefineValor(QStringLiteral("CD_ABRANGENCIA"), 1);
    p.DefineValor(QStringLiteral("CD_SEGMENTACAO"), 2);
    edicao.SegmentacaoAlterada();
    p.DefineValor(QStringLiteral("CD_PADRAO_ACOMODACAO"), QStringLiteral("C"));
    p.DefineValor(QStringLiteral("LG_TOTAL_LIVRE_ESCOLHA"), QStringLiteral("S"));
    edicao.LivreEscolhaAlterada();
    const TEdicaoPlano::Resultado r = edicao.Grava();
    ASSERT_EQ(r.tipo, TEdicaoPlano::Resultado::Gravado) << r.mensagem.toStdString();
    EXPECT_EQ(coluna(QStringLiteral("SELECT CD_TIPO_COBERTURA FROM RL_PLANOS_TIPO_COBERTURA "
                                    "WHERE SEQ_PLANO = 2 ORDER BY 1")),
              QStringList({"1", "2", "3", "4", "5"}));
    EXPECT_EQ(banco().valor(QStringLiteral("SELECT LG_REDE_VINCULADA FROM TB_PLANOS WHERE SEQ_PLANO = 2"))
                  .toString(),
              QStringLiteral("S"));
}

}  // namespace
