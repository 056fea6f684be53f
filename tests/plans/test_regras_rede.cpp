// The network rules: free choice, each coverage's walk and the establishments that
// count (urgency care, a known municipality).
#include "apoio/Apoio.h"
#include "plans/RegrasRede.h"

namespace {
using E = DadosRede::Estab;
const QStringList kPais{"AC", "SP", "RJ"};
}  // namespace

TEST(RegrasRede, EveryCoverageAndFreeChoice) {
    const E urgSp{"SP", 3550308, "S"}, urgRj{"RJ", 3304557, "S"}, semUrgSp{"SP", 3550308, "N"},
        urgAc{"AC", 1200401, "S"}, semMunicipio{"", -1, "S"}, urgCampinas{"SP", 3509502, "S"};
    const struct {
        const char* caso;
        QString livre;
        int cobertura;
        QVector<E> rede;
        QStringList ufs;
        QVector<qlonglong> municipios;
        QString esperado;
    } casos[] = {
        {"livre escolha sem rede", "S", 1, {}, {}, {}, ""},
        {"livre escolha com rede que bastaria", "S", 1, {urgSp, urgRj, urgAc}, {}, {},
         MensagensRede::LivreEscolha()},
        {"nacional, todas", "N", 1, {urgSp, urgRj, urgAc}, {}, {}, ""},
        {"nacional, falta uma", "N", 1, {urgSp, urgRj}, {}, {}, MensagensRede::Nacional()},
        {"nacional, sem rede", "", 1, {}, {}, {}, MensagensRede::Nacional()},
        {"estadual, sem estado", "N", 3, {}, {}, {}, ""},
        {"estadual, só sem urgência", "N", 3, {semUrgSp}, {"SP"}, {}, MensagensRede::Estados()},
        {"grupo de estados, coberto", "N", 2, {urgSp, urgRj}, {"SP", "RJ"}, {}, ""},
        {"grupo de estados, município desconhecido", "N", 2, {urgSp, semMunicipio}, {"SP", "AC"}, {},
         MensagensRede::Estados()},
        {"grupo de municípios, sem município", "N", 4, {urgSp}, {}, {}, MensagensRede::GrupoMunicipios()},
        {"grupo de municípios, um de três", "N", 4, {urgCampinas}, {}, {3550308, 3509502, 3304557}, ""},
        {"grupo de municípios, nenhum com urgência", "N", 4, {semUrgSp}, {}, {3550308, 3509502},
         MensagensRede::GrupoMunicipios()},
        {"municipal, sem município", "N", 5, {}, {}, {}, ""},
        {"municipal, coberto", "N", 5, {urgSp}, {}, {3550308}, ""},
        {"municipal, outro município", "N", 5, {urgCampinas}, {}, {3550308}, MensagensRede::Municipal()},
        {"código desconhecido", "N", 7, {}, {"SP"}, {1}, ""},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        DadosRede d;
        d.livreEscolha = c.livre;
        d.cobertura = c.cobertura;
        d.rede = c.rede;
        d.ufsPlano = c.ufs;
        d.municipiosPlano = c.municipios;
        d.ufsPais = kPais;
        EXPECT_EQ(AvaliaRede(d), c.esperado);
    }
}
