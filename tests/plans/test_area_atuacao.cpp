// The area-of-coverage rules and the coverage region, over every edge of the 50 % rule,
// the weight of "DF", the large states and the capitals.
#include "apoio/Apoio.h"
#include "plans/AreaAtuacao.h"

using namespace Apoio;

namespace {

QVector<LinhaArea> ufs(const QStringList& l) {
    QVector<LinhaArea> r;
    for (const QString& uf : l) r.push_back({uf, QString()});
    return r;
}

// `n` municipalities of `uf` named "<uf> <i>", plus the named ones given.
QVector<LinhaArea> municipios(const QString& uf, int n, const QStringList& nomes = {}) {
    QVector<LinhaArea> r;
    for (int i = 0; i < n; ++i) r.push_back({uf, QStringLiteral("%1 %2").arg(uf).arg(i)});
    for (const QString& nome : nomes) r.push_back({uf, nome});
    return r;
}

QVector<LinhaArea> operator+(QVector<LinhaArea> a, const QVector<LinhaArea>& b) {
    a += b;
    return a;
}

const QString k50 = QStringLiteral(
    "O plano  possui mais de 50% dos municípios que compõem a sua área de atuação. Neste caso a "
    "abrangência geográfica deve ser Estadual.");

}  // namespace

TEST(RegrasArea, MessagesAndRegionForEveryEdge) {
    // "XX" has 10 municipalities, "YY" 200, "DF" 1, "SP" 645; 27 states in the country.
    const RegrasArea regras(27, {{"XX", 10}, {"YY", 200}, {"DF", 1}, {"SP", 645}, {"RJ", 92}});
    const QStringList todas{"AC", "AL", "AM", "AP", "BA", "CE", "DF", "ES", "GO", "MA", "MG", "MS", "MT", "PA",
                            "PB", "PE", "PI", "PR", "RJ", "RN", "RO", "RR", "RS", "SC", "SE", "SP", "TO"};
    const struct {
        const char* caso;
        int cobertura;
        QVector<LinhaArea> linhas;  // states for 1-3, municipalities for 4-5
        int regiaoOperadora;
        QStringList mensagens;
        int regiao;
    } casos[] = {
        {"municipal, a capital", 5, municipios("SP", 0, {"SAO PAULO"}), 1, {}, 4},
        {"municipal, outro", 5, municipios("SP", 1), 1, {}, 6},
        {"municipal, nenhum", 5, {}, 1, {"O plano  deve possuir pelo menos um município cadastrado."}, 0},
        {"municipal, dois", 5, municipios("SP", 2), 1,
         {"O plano  não pode possuir mais de um município cadastrado."}, 5},
        {"municipal, dois com a capital", 5, municipios("SP", 1, {"sao paulo"}), 1,
         {"O plano  não pode possuir mais de um município cadastrado."}, 4},
        {"grupo, 5 de 10", 4, municipios("XX", 5), 1, {}, 5},
        {"grupo, 6 de 10", 4, municipios("XX", 6), 1, {k50}, 0},
        {"grupo, 101 de 200", 4, municipios("YY", 101), 1, {}, 5},
        {"grupo, 5 de 10 e uma capital", 4, municipios("XX", 4) + municipios("RJ", 0, {"RIO DE JANEIRO"}), 1, {}, 4},
        {"grupo, DF não pesa ao lado de outro estado", 4,
         municipios("DF", 0, {"BRASILIA"}) + municipios("XX", 2), 1, {}, 4},
        {"grupo, DF sozinho", 4, municipios("DF", 0, {"BRASILIA"}), 1,
         {"O plano  deve possuir dois ou mais municípios cadastrados na sua área de atuação."}, 0},
        {"grupo, DF sozinho e G = -1", 4, municipios("DF", 0, {"BRASILIA"}), -1, {}, 0},
        {"grupo, nenhum", 4, {}, 1,
         {"O plano  deve possuir dois ou mais municípios cadastrados na sua área de atuação."}, 0},
        {"estados, todos", 2, ufs(todas), 1,
         {"O plano  não pode abranger todas as UFs.\rNesse caso a abrangência geográfica deve ser Nacional."}, 0},
        {"estados, SP e RJ", 2, ufs({"SP", "RJ"}), 1, {}, 2},
        {"estados, SP, RJ e MG", 2, ufs({"SP", "RJ", "MG"}), 1, {}, 1},
        {"estados, um só", 2, ufs({"SP"}), 1,
         {"O plano  deve possuir dois ou mais estados cadastrados na sua área de atuação."}, 0},
        {"estados, um só e G = -1", 2, ufs({"SP"}), -1, {}, 0},
        {"estadual, SP", 3, ufs({"SP"}), 1, {}, 2},
        {"estadual, AC", 3, ufs({"AC"}), 1, {}, 3},
        {"estadual, nenhum", 3, {}, 1,
         {"O plano  deve possui pelo menos um estado cadastrado na sua área de atuação."}, 0},
        {"estadual, dois", 3, ufs({"AC", "AM"}), 1,
         {"O plano  não pode possuir mais de um estado cadastrado na sua área de atuação."}, 2},
        {"estadual, três grandes", 3, ufs({"RJ", "SP", "MG"}), 1,
         {"O plano  não pode possuir mais de um estado cadastrado na sua área de atuação."}, 1},
        {"nacional", 1, {}, 1, {}, 1},
        {"código desconhecido", 9, ufs({"SP"}), 1, {}, 0},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        QStringList mensagens;
        regras.RegrasAreaAtuacao(c.cobertura, c.linhas, c.regiaoOperadora, mensagens);
        EXPECT_EQ(mensagens, c.mensagens);
        const bool deMunicipios = c.cobertura == 4 || c.cobertura == 5;
        EXPECT_EQ(regras.CalculaRegiaoCobertura(c.cobertura, deMunicipios ? QVector<LinhaArea>() : c.linhas,
                                                deMunicipios ? c.linhas : QVector<LinhaArea>()),
                  c.regiao);
    }
}

TEST(RegrasArea, CountsOfTheCountryComeFromTheDatabase) {
    PastaTeste pasta;
    auto banco = abreBanco(criaBanco(pasta.caminho()));
    const RegrasArea regras(*banco);
    EXPECT_EQ(regras.UfsDoPais(), 27);
    // With the integer division, 328 of São Paulo's 645 municipalities weigh 50 (not more
    // than half); 329 weigh 51.
    QVector<LinhaArea> sp = municipios("SP", 328);
    EXPECT_TRUE(regras.NoMaximoMetadeDeCadaUf(sp));
    sp.push_back({"SP", "MAIS UM"});
    EXPECT_FALSE(regras.NoMaximoMetadeDeCadaUf(sp));
}
