// The "Área de atuação" tab: both pickers, their filters and search, the moves that keep
// every state and municipality in exactly one list, the region recomputed after every
// move, and the area rules and region plugged into the plan's save.
#include <QAction>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QSet>
#include <QTableView>
#include <QPushButton>
#include <QTest>

#include "ApoioPlanos.h"
#include "plans/AreaAtuacaoPlano.h"
#include "plans/EdicaoPlano.h"

using namespace ApoioPlanos;
using Aba = TEdicaoPlano::Aba;

namespace {

const QString kOp = QString::fromLatin1(kOperadora);

class AreaTeste : public BaseTela {
public:
    std::unique_ptr<TEdicaoPlano> edicao;
    TAreaAtuacaoPlano* area() { return edicao->area(); }

    // The plan screen's logic alone, editing plan `seq`.
    void editaSemTela(int seq) {
        edicao = std::make_unique<TEdicaoPlano>(dm.get());
        edicao->Abre();
        ASSERT_TRUE(edicao->LocalizaPlano(kOp, seq));
        ASSERT_TRUE(edicao->Edita());
    }
    // The values of a column over every row of a set, whatever a filter hides.
    static QStringList todos(const RowSet& rs, const char* campo) {
        QStringList r;
        for (int linha : rs.LinhasSemFiltro()) r << rs.ValorDaLinha(linha, QString::fromLatin1(campo)).toString();
        return r;
    }
    static QStringList mostrados(const RowSet& rs, const char* campo) {
        QStringList r;
        for (int p = 0; p < rs.RecordCount(); ++p)
            r << rs.ValorNaPosicao(p, rs.IndiceCampo(QString::fromLatin1(campo))).toString();
        return r;
    }
    // Physical rows of the shown rows whose column is one of `valores`.
    static QVector<int> linhasCom(const RowSet& rs, const char* campo, const QStringList& valores) {
        QVector<int> r;
        for (int p = 0; p < rs.RecordCount(); ++p)
            if (valores.contains(rs.ValorNaPosicao(p, rs.IndiceCampo(QString::fromLatin1(campo))).toString()))
                r << rs.LinhaNaPosicao(p);
        return r;
    }
    // Every municipality (or state) is in exactly one of the two lists.
    void exatamenteUmaLista(const RowSet& disponiveis, const RowSet& escolhidos, const char* campo, int total) {
        const QStringList a = todos(disponiveis, campo), b = todos(escolhidos, campo);
        QSet<QString> uniao(a.begin(), a.end());
        for (const QString& v : b) uniao.insert(v);
        EXPECT_EQ(a.size() + b.size(), total);
        EXPECT_EQ(uniao.size(), total);
    }
    QVariant regiao() { return dm->cdsPlano()->Valor(QStringLiteral("CD_REGIAO_COBERTURA")); }
    QString regiaoExibida() { return dm->cdsPlano()->Valor(QStringLiteral("DE_REGIAO_COBERTURA")).toString(); }
    qlonglong municipiosDoPais() { return conta(QStringLiteral("SELECT count(*) FROM TB_MUNICIPIOS")); }
};

TEST_F(AreaTeste, MunicipalityMovesKeepEachOneInOneListAndRecomputeTheRegion) {
    inicia(plano(1, "GRUPO", 4) + relacao("RL_PLANOS_MUNICIPIO", "ID_MUNC", 1, QStringLiteral("3304557")));
    editaSemTela(1);
    RowSet& disponiveis = *dm->cdsMunicipio();
    RowSet& escolhidos = *dm->cdsPlanosMunicipio();
    const int total = int(municipiosDoPais());
    ASSERT_TRUE(dm->cdsUF()->Locate(QStringLiteral("CD_UF"), QStringLiteral("SP")));
    EXPECT_EQ(disponiveis.RecordCount(), 645);
    exatamenteUmaLista(disponiveis, escolhidos, "ID_MUNC", total);

    // ">" of two of São Paulo: the region follows (a capital among several: 4)
    area()->IncluiMunicipios(linhasCom(disponiveis, "NM_MUNC", {"SAO PAULO", "CAMPINAS"}));
    EXPECT_EQ(disponiveis.RecordCount(), 643);
    EXPECT_EQ(todos(escolhidos, "NM_MUNC").size(), 3);
    exatamenteUmaLista(disponiveis, escolhidos, "ID_MUNC", total);
    EXPECT_EQ(regiao().toInt(), 4);
    EXPECT_EQ(regiaoExibida(), QStringLiteral("Região 4"));

    // the state filter of the chosen ones hides rows from the grid, never from the rules
    area()->FiltraMunicipiosDaUF(QStringLiteral("RJ"));
    EXPECT_EQ(mostrados(escolhidos, "NM_MUNC"), QStringList{"RIO DE JANEIRO"});
    area()->RecalculaRegiao();
    EXPECT_EQ(regiao().toInt(), 4);
    EXPECT_EQ(area()->MensagemGravacao(4), QString());
    // "<" of Rio (the grid shows only RJ): it goes back to its state's list; the filter
    // is removed before the move
    area()->RetiraMunicipios(linhasCom(escolhidos, "NM_MUNC", {"RIO DE JANEIRO"}));
    EXPECT_TRUE(area()->UfFiltrada().isEmpty());
    EXPECT_EQ(mostrados(escolhidos, "NM_MUNC"), QStringList({"CAMPINAS", "SAO PAULO"}));
    EXPECT_EQ(disponiveis.RecordCount(), 643);  // the rows of SP; Rio waits under RJ
    dm->cdsUF()->Locate(QStringLiteral("CD_UF"), QStringLiteral("RJ"));
    EXPECT_TRUE(mostrados(disponiveis, "NM_MUNC").contains(QStringLiteral("RIO DE JANEIRO")));
    exatamenteUmaLista(disponiveis, escolhidos, "ID_MUNC", total);

    // "<<": all of them back, whatever the filter shows; no municipality, region 0
    area()->FiltraMunicipiosDaUF(QStringLiteral("SP"));
    area()->RetiraTodosMunicipios();
    EXPECT_TRUE(todos(escolhidos, "ID_MUNC").isEmpty());
    exatamenteUmaLista(disponiveis, escolhidos, "ID_MUNC", total);
    EXPECT_EQ(regiao().toInt(), 0);
    EXPECT_TRUE(regiaoExibida().isEmpty());
    // nothing reached the database: cancel brings the stored row back
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM RL_PLANOS_MUNICIPIO")), 1);
    edicao->Cancela();
    dm->GarantePlano(dm->cdsPlanosMunicipio());
    EXPECT_EQ(todos(*dm->cdsPlanosMunicipio(), "NM_MUNC"), QStringList{"RIO DE JANEIRO"});
}

TEST_F(AreaTeste, SearchRegionAndAllMoveOnlyWhatIsShownAndTakeEveryCharacterAsPlain) {
    inicia(plano(1, "GRUPO", 4));
    editaSemTela(1);
    RowSet& disponiveis = *dm->cdsMunicipio();
    RowSet& escolhidos = *dm->cdsPlanosMunicipio();
    // the region choice filters the states of the picker
    area()->FiltraRegiaoMunicipio(3);  // Sudeste
    EXPECT_EQ(mostrados(*dm->cdsUF(), "CD_UF"), QStringList({"ES", "MG", "RJ", "SP"}));
    ASSERT_TRUE(dm->cdsUF()->Locate(QStringLiteral("CD_UF"), QStringLiteral("SP")));

    const struct {
        const char* texto;
        QStringList nomes;  // empty: only checked to be none
        int quantos;
    } buscas[] = {
        {"SANTA BARBARA D'", {"SANTA BARBARA D'OESTE"}, 1},
        {"são josé do r", {"SAO JOSE DO RIO PARDO", "SAO JOSE DO RIO PRETO"}, 2},  // accents and case aside
        {"%", {}, 0},
        {"_", {}, 0},
        {"*", {}, 0},
        {"'", {}, 0},
        {"   ", {}, 645},  // blank: no search
    };
    for (const auto& b : buscas) {
        SCOPED_TRACE(b.texto);
        area()->PesquisaMunicipio(QString::fromUtf8(b.texto));
        EXPECT_EQ(disponiveis.RecordCount(), b.quantos);
        if (!b.nomes.isEmpty()) EXPECT_EQ(mostrados(disponiveis, "NM_MUNC"), b.nomes);
    }

    // ">>" after a search moves only the rows shown
    area()->PesquisaMunicipio(QStringLiteral("SAO JOSE DO R"));
    area()->IncluiTodosMunicipios();
    EXPECT_EQ(mostrados(escolhidos, "NM_MUNC"), QStringList({"SAO JOSE DO RIO PARDO", "SAO JOSE DO RIO PRETO"}));
    EXPECT_EQ(disponiveis.RecordCount(), 0);
    area()->PesquisaMunicipio(QString());
    EXPECT_EQ(disponiveis.RecordCount(), 643);
    EXPECT_EQ(regiao().toInt(), 5);  // two municipalities, no capital

    // ">>" with no search: every municipality of the state; more than half of SP: region 0
    area()->IncluiTodosMunicipios();
    EXPECT_EQ(todos(escolhidos, "ID_MUNC").size(), 645);
    EXPECT_EQ(regiao().toInt(), 0);
    EXPECT_EQ(area()->MensagemGravacao(4),
              QStringLiteral("O plano  possui mais de 50% dos municípios que compõem a sua área de atuação. "
                             "Neste caso a abrangência geográfica deve ser Estadual.\r"));
    area()->ReiniciaRegioes();
    EXPECT_EQ(dm->cdsUF()->RecordCount(), 27);
}

TEST_F(AreaTeste, StateMovesFollowTheRegionChoiceAndTheRegionOfCoverage) {
    inicia(plano(1, "ESTADOS", 2));
    editaSemTela(1);
    RowSet& disponiveis = *dm->cdsListaUF();
    RowSet& escolhidos = *dm->cdsPlanosUF();
    exatamenteUmaLista(disponiveis, escolhidos, "CD_UF", 27);
    area()->FiltraRegiaoUF(3);
    EXPECT_EQ(mostrados(disponiveis, "CD_UF").size(), 4);
    area()->IncluiUFs(linhasCom(disponiveis, "CD_UF", {"SP", "RJ"}));
    EXPECT_EQ(regiao().toInt(), 2);
    EXPECT_EQ(mostrados(disponiveis, "CD_UF"), QStringList({"ES", "MG"}));  // by name, within the region
    area()->IncluiTodasUFs();  // the two the region still shows
    EXPECT_EQ(regiao().toInt(), 1);
    EXPECT_TRUE(disponiveis.IsEmpty());
    exatamenteUmaLista(disponiveis, escolhidos, "CD_UF", 27);
    // "<" of Espírito Santo: back among the available ones, shown under its region
    area()->RetiraUFs(linhasCom(escolhidos, "CD_UF", {"ES"}));
    EXPECT_EQ(mostrados(disponiveis, "CD_UF"), QStringList{"ES"});
    area()->FiltraRegiaoUF(QVariant());
    EXPECT_EQ(disponiveis.RecordCount(), 24);
    // every state: the rules refuse it and the region is 0
    area()->IncluiTodasUFs();
    EXPECT_EQ(regiao().toInt(), 0);
    EXPECT_EQ(area()->MensagemGravacao(2), QStringLiteral("O plano  não pode abranger todas as UFs.\rNesse caso a "
                                                          "abrangência geográfica deve ser Nacional.\r"));
    area()->RetiraTodasUFs();
    exatamenteUmaLista(disponiveis, escolhidos, "CD_UF", 27);
    EXPECT_TRUE(escolhidos.IsEmpty());
    EXPECT_EQ(area()->MensagemGravacao(2),
              QStringLiteral("O plano  deve possuir dois ou mais estados cadastrados na sua área de atuação.\r"));
}

// --- through the screen and its save ------------------------------------------------------

class AreaTelaTeste : public AreaTeste {
public:
    void edita(int seq) {
        ASSERT_TRUE(tela->edicao()->LocalizaPlano(kOp, seq));
        tela->actAlterar->trigger();
        ASSERT_TRUE(dm->cdsPlano()->EmEdicao());
        tela->pgcInfoPlano->setCurrentWidget(tela->tbsAreaAtuacao);
        tela->AtualizaAcoes();
    }
    void marca(QTableView* g, const QStringList& textos, int coluna) {
        g->clearSelection();
        for (int r = 0; r < g->model()->rowCount(); ++r)
            if (textos.contains(g->model()->index(r, coluna).data().toString()))
                g->selectionModel()->select(g->model()->index(r, 0),
                                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    void grava() { QTest::mouseClick(tela->btnConfirmar(), Qt::LeftButton); }
    QString noBanco(const char* coluna) {
        return banco()
            .valor(QStringLiteral("SELECT %1 FROM TB_PLANOS WHERE SEQ_PLANO = 1").arg(QLatin1String(coluna)))
            .toString();
    }
};

TEST_F(AreaTelaTeste, TheSaveWritesTheMovesTheRegionAndWarnsWithTheAreaRules) {
    // a group of municipalities with an urgency hospital in São Paulo, a note and a tax
    inicia(plano(1, "GRUPO", 4) + hospitalSp(10) + vinculo(1, 10) + nota(1, 1, "555") + taxa(1, 5, kTaxa1));
    abre();
    edita(1);
    // the picker shows the first state; SP chosen in the state grid
    ASSERT_TRUE(dm->cdsUF()->Locate(QStringLiteral("CD_UF"), QStringLiteral("SP")));
    tela->AtualizaAcoes();
    EXPECT_TRUE(tela->actIncluiMunicipio->isEnabled());
    EXPECT_FALSE(tela->actRetiraMunicipio->isEnabled());  // nothing chosen yet

    // one municipality: the rules warn, the plan is saved as not consistent
    marca(tela->dbgMunicipio, {"SAO PAULO"}, 0);
    tela->actIncluiMunicipio->trigger();
    EXPECT_EQ(tela->dbtRegiaoCobertura->text(), QString());  // one municipality of coverage 4: 0
    grava();
    EXPECT_EQ(mensagens.textos(),
              QStringList{"O plano  deve possuir dois ou mais municípios cadastrados na sua área de atuação.\r"});
    EXPECT_EQ(mensagens.pedidos().value(0).tipo, Mensagens::Cuidado);
    EXPECT_EQ(noBanco("LG_CONSISTENTE"), QStringLiteral("N"));
    EXPECT_EQ(noBanco("LG_REDE_VINCULADA"), QStringLiteral("S"));
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM RL_PLANOS_MUNICIPIO WHERE SEQ_PLANO = 1")), 1);

    // the search box forces upper case; ">>" moves what it shows; the filter combo
    mensagens.limpa();
    edita(1);
    ASSERT_TRUE(dm->cdsUF()->Locate(QStringLiteral("CD_UF"), QStringLiteral("SP")));
    tela->edtPesqMunicipio->setFocus();
    QTest::keyClicks(tela->edtPesqMunicipio, QStringLiteral("campinas"));
    EXPECT_EQ(tela->edtPesqMunicipio->text(), QStringLiteral("CAMPINAS"));
    EXPECT_EQ(tela->dbgMunicipio->model()->rowCount(), 1);
    tela->actIncluiTodosMunicipios->trigger();
    EXPECT_EQ(tela->dbgMunicipioAtuacao->model()->rowCount(), 2);
    EXPECT_EQ(tela->dbtRegiaoCobertura->text(), QStringLiteral("Região 4"));
    const int sp = tela->cmbFiltroUF->findText(QStringLiteral("SP"));
    ASSERT_GT(sp, 0);
    tela->cmbFiltroUF->setCurrentIndex(sp);
    emit tela->cmbFiltroUF->activated(sp);
    EXPECT_EQ(tela->dbgMunicipioAtuacao->model()->rowCount(), 2);
    const int rj = tela->cmbFiltroUF->findText(QStringLiteral("RJ"));
    tela->cmbFiltroUF->setCurrentIndex(rj);
    emit tela->cmbFiltroUF->activated(rj);
    EXPECT_EQ(tela->dbgMunicipioAtuacao->model()->rowCount(), 0);  // the filter hides them from the grid
    grava();  // ... never from the save
    EXPECT_EQ(mensagens.textos(), QStringList());
    EXPECT_EQ(noBanco("LG_CONSISTENTE"), QStringLiteral("S"));
    EXPECT_EQ(noBanco("CD_REGIAO_COBERTURA"), QStringLiteral("4"));
    EXPECT_EQ(coluna(QStringLiteral("SELECT ID_MUNC FROM RL_PLANOS_MUNICIPIO WHERE SEQ_PLANO = 1 ORDER BY ID_MUNC")),
              QStringList({"3509502", "3550308"}));
    EXPECT_EQ(tela->cmbFiltroUF->currentIndex(), 0);  // "Nenhum": the save removed the filter
}

}  // namespace
