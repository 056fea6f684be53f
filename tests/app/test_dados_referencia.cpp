// Reference data read at start: the code-table caches and fixed lists, the states
// with their municipalities, the state of a municipality.
#include "apoio/Apoio.h"
#include "db/DmConexao.h"
#include "db/DmLookup.h"
#include "db/DmMunicipio.h"

using namespace Apoio;

namespace {

class ReferenciaTeste : public ::testing::Test {
protected:
    PastaTeste pasta;
    std::unique_ptr<TDmConexao> conexao;

    void SetUp() override {
        criaBanco(pasta.caminho());
        conexao = std::make_unique<TDmConexao>();
        conexao->AbreBanco();
    }
    void TearDown() override { conexao.reset(); }
};

QStringList coluna(const Resultado& r, int indice) {
    QStringList v;
    for (const auto& l : r.linhas) v << l.at(indice).toString();
    return v;
}

}  // namespace

TEST_F(ReferenciaTeste, FixedListsHaveTheirRowsInOrder) {
    TdmLookup lookup;
    using Linhas = QVector<QPair<QVariant, QString>>;
    const struct {
        const ListaFixa& lista;
        Linhas linhas;
    } casos[] = {
        {lookup.cdsLkpPadraoAcomodacao, {{"I", "Individual"}, {"C", "Coletiva"}}},
        {lookup.cdsLkpFaixaEtaria,
         {{"1", "Antes da vigência da RN 63/03"}, {"2", "Depois da vigência da RN 63/03"}}},
        {lookup.cdsLkpCoberturaAdicional, {{"S", "Sim"}, {"N", "Não"}}},
        {lookup.cdsLkpFormaAcesso, {{"S", "Sim"}, {"N", "Não"}}},
        {lookup.cdsLkpFatorModerador,
         {{"N", "Não se aplica"}, {"C", "Co-Participação"}, {"F", "Franquia"}, {"A", "Ambos"}}},
        {lookup.cdsLkpSetorial, {{1, "Setorial"}, {2, "Não Setorial"}}},
    };
    for (const auto& c : casos) {
        Linhas lidas;
        for (const auto& i : c.lista.itens) lidas.push_back({i.Codigo, i.Descricao});
        EXPECT_EQ(lidas, c.linhas);
    }
    EXPECT_EQ(lookup.cdsLkpSetorial.itens.first().Codigo.typeId(), QMetaType::Int);
    EXPECT_EQ(lookup.cdsLkpFatorModerador.Descricao(QStringLiteral("A")), QStringLiteral("Ambos"));
    EXPECT_EQ(lookup.cdsLkpFatorModerador.Descricao(QStringLiteral("X")), QString());
    EXPECT_EQ(lookup.cdsLkpFatorModerador.Descricao(QVariant()), QString());
}

TEST_F(ReferenciaTeste, CachesAreReadOnceAtCreation) {
    TdmLookup lookup;
    EXPECT_EQ(coluna(lookup.cdsTipoContrato, 0), QStringList({"1", "2", "3"}));
    EXPECT_EQ(coluna(lookup.cdsTipoContratoAutogestao, 0), QStringList({"2", "3"}));
    EXPECT_EQ(coluna(lookup.cdsSegmentacaoOdonto, 0), QStringList({"4"}));
    EXPECT_EQ(coluna(lookup.cdsSegmentacao, 0).size(), 12);
    EXPECT_FALSE(lookup.cdsTipoFinanciamento.vazio());
    EXPECT_FALSE(lookup.cdsAbrangencia.vazio());
    // ordered by name, as a Brazilian reader sorts (accents do not push a name to the end)
    const QStringList nomes = coluna(lookup.cdsClassificacaoOperadora, 1);
    EXPECT_EQ(nomes, QStringList({"Administradora", "Autogestão", "Cooperativa Médica",
                                  "Cooperativa Odontológica", "Filantropia", "Medicina de Grupo",
                                  "Odontologia de Grupo", "Seguradora Especializada em Saúde"}));
    // later changes to the code tables are not seen
    conexao->ExecutaComando(
        QStringLiteral("DELETE FROM TA_TIPO_CONTRATO WHERE CD_TIPO_CONTRATO = 3"));
    EXPECT_EQ(coluna(lookup.cdsTipoContrato, 0), QStringList({"1", "2", "3"}));
}

TEST_F(ReferenciaTeste, StatesCarryTheirMunicipalitiesByName) {
    TDmMunicipio municipios;
    EXPECT_FALSE(municipios.Aberto());
    municipios.Abre();
    ASSERT_EQ(municipios.Ufs().size(), 27);
    QStringList ufs;
    int total = 0;
    for (const auto& u : municipios.Ufs()) {
        ufs << u.codigo;
        total += u.municipios.size();
    }
    QStringList ordenadas = ufs;
    ordenadas.sort();
    EXPECT_EQ(ufs, ordenadas);
    EXPECT_EQ(total, 5570);
    const struct {
        const char* uf;
        int n;
    } contagens[] = {{"RO", 52}, {"SP", 645}, {"MG", 853}, {"DF", 1}, {"RR", 15}};
    for (const auto& c : contagens) {
        const TDmMunicipio::Uf* uf = municipios.LocalizaUf(QString::fromLatin1(c.uf));
        ASSERT_NE(uf, nullptr);
        EXPECT_EQ(uf->municipios.size(), c.n) << c.uf;
    }
    const auto& ro = municipios.LocalizaUf(QStringLiteral("RO"))->municipios;
    for (int i = 1; i < ro.size(); ++i) EXPECT_LE(ro[i - 1].nome, ro[i].nome);
    EXPECT_EQ(municipios.LocalizaUf(QStringLiteral("DF"))->municipios.first().nome,
              QStringLiteral("BRASILIA"));
    municipios.Fecha();
    EXPECT_TRUE(municipios.Ufs().isEmpty());
}

TEST_F(ReferenciaTeste, StateOfAMunicipality) {
    EXPECT_EQ(UfDoMunicipio(1100015), QStringLiteral("RO"));
    EXPECT_EQ(UfDoMunicipio(5300108), QStringLiteral("DF"));
    EXPECT_EQ(UfDoMunicipio(9999999), QString());
}
