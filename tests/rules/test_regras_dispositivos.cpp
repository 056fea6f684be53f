// The device rules of a plan: which themes its devices must and may cover, and each
// device's characteristic value against the plan; then the same rules read from the
// database.
#include <functional>

#include "FixturaDispositivos.h"
#include "apoio/Apoio.h"
#include "db/DmConexao.h"
#include "db/RowSet.h"
#include "operator/DmZemlo.h"
#include "plans/DmInfoPlano.h"
#include "rules/LeituraPlanos.h"
#include "rules/RegrasPlanoAberto.h"
#include "rules/RegrasDispositivos.h"

namespace {
using C = Caracteristica;

TemaRegra tema(qlonglong codigo, const char* nome, int ordem, bool obrigatorio = false,
               C c = C::Nenhuma, bool ativo = true) {
    return {codigo, QString::fromUtf8(nome), ordem, obrigatorio, ativo, c};
}

// Themes as the delivered database has them, plus one per remaining characteristic.
CatalogoTemas catalogo(bool faixasObrigatorias = false) {
    CatalogoTemas c;
    c.define({tema(26, "REGRAS PARA INSTRUMENTOS JURÍDICOS DE PLANOS COLETIVOS ", 15),
              tema(10, "ATRIBUTOS DO CONTRATO", 1, true, C::TipoContrato),
              tema(12, "COBERTURAS E PROCEDIMENTOS GARANTIDOS", 3, true, C::Segmentacao),
              tema(19, "ACESSO A LIVRE ESCOLHA DE PRESTADORES ", 9),
              tema(24, "FAIXAS ETÁRIAS", 13, faixasObrigatorias, C::FaixaEtaria),
              tema(25, "MECANISMOS DE REGULAÇÃO", 10, false, C::FatorModerador),
              tema(11, "FORMAÇÃO DO PREÇO E MENSALIDADE", 11, false, C::TipoFinanc),
              tema(5, "CARÊNCIAS", 20, true, C::Segmentacao, false),
              tema(40, "ÁREA DE ABRANGÊNCIA", 33, false, C::Abrangencia),
              tema(41, "PADRÃO DE ACOMODAÇÃO", 34, false, C::PadraoAcomodacao),
              tema(42, "COBERTURAS ADICIONAIS", 35, false, C::CoberturaAdicional),
              tema(43, "FORMA DE ACESSO", 36, false, C::FormaAcesso),
              tema(31, "DURAÇÃO DO CONTRATO", 5, true)});
    return c;
}

DispositivoRegra disp(const CatalogoTemas& cat, qlonglong t, const char* id,
                      C c = C::Nenhuma, const QVariant& v = QVariant()) {
    DispositivoRegra d;
    d.tema = t;
    d.nomeTema = cat.tema(t)->nome;
    d.temaAtivo = cat.tema(t)->ativo;
    d.identificacao = QString::fromLatin1(id);
    if (c != C::Nenhuma) d.valores[size_t(c)] = v;
    return d;
}

// A plan whose devices are in order: individual collective by adhesion, segmentation 2.
struct Plano {
    CatalogoTemas cat;
    DadosDispositivos d;
    explicit Plano(bool faixasObrigatorias = false) : cat(catalogo(faixasObrigatorias)) {
        d.tipoContrato = 3;
        d.segmentacao = 2;
        d.abrangencia = 1;
        d.padraoAcomodacao = QStringLiteral("I");
        d.tipoFinanc = 1;
        d.coparticipacao = QStringLiteral("N");
        d.franquia = QStringLiteral("N");
        d.temas = &cat;
        d.dispositivos = {disp(cat, 10, "ATR-3", C::TipoContrato, 3),
                          disp(cat, 12, "COB-2", C::Segmentacao, 2), disp(cat, 31, "DUR")};
    }
    Plano& com(qlonglong t, const char* id, C c = C::Nenhuma, const QVariant& v = QVariant()) {
        d.dispositivos << disp(cat, t, id, c, v);
        return *this;
    }
};

QStringList linhas(std::initializer_list<const char*> textos) {
    QStringList l;
    for (const char* t : textos) l << QString::fromUtf8(t);
    return l;
}

TEST(RegrasDispositivos, ThemeRules) {
    const struct {
        const char* caso;
        std::function<void(Plano&)> prepara;
        QStringList esperado;
    } casos[] = {
        {"em ordem", [](Plano&) {}, {}},
        {"sem o tema obrigatório III (o obrigatório inativo não conta)",
         [](Plano& p) { p.d.dispositivos.removeAt(1); },
         linhas({"É obrigatório o cadastro de um Dispositivo Contratual do Tema III - COBERTURAS E "
                 "PROCEDIMENTOS GARANTIDOS"})},
        {"sem nenhum dispositivo, na ordem de exibição",
         [](Plano& p) { p.d.dispositivos.clear(); },
         linhas({"É obrigatório o cadastro de um Dispositivo Contratual do Tema I - ATRIBUTOS DO CONTRATO",
                 "É obrigatório o cadastro de um Dispositivo Contratual do Tema III - COBERTURAS E "
                 "PROCEDIMENTOS GARANTIDOS",
                 "É obrigatório o cadastro de um Dispositivo Contratual do Tema V - DURAÇÃO DO CONTRATO"})},
        {"coletivo empresarial sem o tema 26",
         [](Plano& p) {
             p.d.tipoContrato = 2;
             p.d.dispositivos[0].valores[size_t(C::TipoContrato)] = 2;
         },
         linhas({"É obrigatório o cadastro de um Dispositivo Contratual do Tema XV - REGRAS PARA "
                 "INSTRUMENTOS JURÍDICOS DE PLANOS COLETIVOS "})},
        {"coletivo empresarial com o tema 26",
         [](Plano& p) {
             p.d.tipoContrato = 2;
             p.d.dispositivos[0].valores[size_t(C::TipoContrato)] = 2;
             p.com(26, "COL");
         },
         {}},
        {"contratação 3 com o tema 26", [](Plano& p) { p.com(26, "COL"); },
         linhas({"Somente planos com contratação \"Coletivo Empresarial\" devem possuir Dispositivo do "
                 "Tema XV - REGRAS PARA INSTRUMENTOS JURÍDICOS DE PLANOS COLETIVOS "})},
        {"contratação vazia com o tema 26",
         [](Plano& p) {
             p.d.tipoContrato = QVariant();
             p.d.dispositivos[0].valores[size_t(C::TipoContrato)] = 0;
             p.com(26, "COL");
         },
         linhas({"Somente planos com contratação \"Coletivo Empresarial\" devem possuir Dispositivo do "
                 "Tema XV - REGRAS PARA INSTRUMENTOS JURÍDICOS DE PLANOS COLETIVOS "})},
        {"livre escolha sem o tema 19", [](Plano& p) { p.d.livreEscolha = true; },
         linhas({"É obrigatório o cadastro de um Dispositivo Contratual do Tema IX - ACESSO A LIVRE "
                 "ESCOLHA DE PRESTADORES "})},
        {"tema 19 sem livre escolha", [](Plano& p) { p.com(19, "LIV"); },
         linhas({"Um Dispositivo Contratual do Tema IX - ACESSO A LIVRE ESCOLHA DE PRESTADORES  só "
                 "pode ser informado se alguma opção de \"Acesso à Livre Escolha de Prestadores\" for "
                 "selecionada"})},
        {"livre escolha com o tema 19",
         [](Plano& p) {
             p.d.livreEscolha = true;
             p.com(19, "LIV");
         },
         {}},
        {"dispositivo de tema inativo", [](Plano& p) { p.com(5, "CAR", C::Segmentacao, 9); },
         linhas({"Dispositivo de Tema Inativo: CARÊNCIAS"})},
        {"faixas: só anterior", [](Plano& p) { p.com(24, "FX1", C::FaixaEtaria, "1"); },
         linhas({"É obrigatório o cadastro de um Dispositivo Contratual do Tema XIII - FAIXAS ETÁRIAS, "
                 "posterior à vigência da RN 63/03 "})},
        {"faixas: duas posteriores",
         [](Plano& p) { p.com(24, "FX2", C::FaixaEtaria, "2").com(24, "FX2b", C::FaixaEtaria, "2"); },
         linhas({"Não poderá ser cadastrado mais de um Dispositivo Contratual do Tema XIII - FAIXAS "
                 "ETÁRIAS, posterior à vigência da RN 63/03 "})},
        {"faixas: uma posterior e duas anteriores",
         [](Plano& p) {
             p.com(24, "FX1", C::FaixaEtaria, "1")
                 .com(24, "FX2", C::FaixaEtaria, "2")
                 .com(24, "FX1b", C::FaixaEtaria, "1");
         },
         linhas({"Não poderá ser cadastrado mais de um Dispositivo Contratual do Tema XIII - FAIXAS "
                 "ETÁRIAS, anterior à vigência da RN 63/03 "})},
        {"faixas: uma posterior e uma anterior",
         [](Plano& p) { p.com(24, "FX1", C::FaixaEtaria, "1").com(24, "FX2", C::FaixaEtaria, "2"); },
         {}},
        {"faixas: sem faixa informada", [](Plano& p) { p.com(24, "FX"); },
         linhas({"É obrigatório o cadastro de um Dispositivo Contratual do Tema XIII - FAIXAS ETÁRIAS, "
                 "posterior à vigência da RN 63/03 "})},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        Plano p;
        c.prepara(p);
        EXPECT_EQ(RegrasTemas(p.d), c.esperado);
    }

    // Mandatory age bands and no device of theme 24: only the mandatory-theme message.
    Plano obrigatorias(true);
    EXPECT_EQ(RegrasTemas(obrigatorias.d),
              linhas({"É obrigatório o cadastro de um Dispositivo Contratual do Tema XIII - FAIXAS "
                      "ETÁRIAS"}));
}

TEST(RegrasDispositivos, CharacteristicRules) {
    const char* semInfo = "O dispositivo X não pode ser utilizado pois não possui informação "
                          "complementar cadastrada.";
    const auto campo = [](const char* rotulo, const char* tema) {
        return QStringLiteral("O valor cadastrado para o campo %1 deve ser compatível com o "
                              "Dispositivo do Tema %2")
            .arg(QString::fromUtf8(rotulo), QString::fromUtf8(tema));
    };
    const struct {
        const char* caso;
        std::function<void(Plano&)> prepara;
        QStringList esperado;
    } casos[] = {
        {"segmentação 0", [](Plano& p) { p.com(12, "X", C::Segmentacao, 0); }, {}},
        {"segmentação vazia", [](Plano& p) { p.com(12, "X", C::Segmentacao, QVariant()); },
         linhas({semInfo})},
        {"segmentação diferente", [](Plano& p) { p.com(12, "X", C::Segmentacao, 5); },
         {campo("SEGMENTAÇÃO", "COBERTURAS E PROCEDIMENTOS GARANTIDOS")}},
        {"segmentação igual, como texto", [](Plano& p) { p.com(12, "X", C::Segmentacao, "2"); }, {}},
        {"abrangência vazia", [](Plano& p) { p.com(40, "X", C::Abrangencia, QVariant()); },
         {QString::fromUtf8(semInfo), campo("ABRANGÊNCIA", "ÁREA DE ABRANGÊNCIA")}},
        {"abrangência vazia num plano sem abrangência",
         [](Plano& p) {
             p.d.abrangencia = QVariant();
             p.com(40, "X", C::Abrangencia, QVariant());
         },
         linhas({semInfo})},
        {"abrangência diferente", [](Plano& p) { p.com(40, "X", C::Abrangencia, 2); },
         {campo("ABRANGÊNCIA", "ÁREA DE ABRANGÊNCIA")}},
        {"acomodação, segmentação 1 e valor igual",
         [](Plano& p) {
             p.d.segmentacao = 1;
             p.d.dispositivos[1].valores[size_t(C::Segmentacao)] = 1;
             p.com(41, "X", C::PadraoAcomodacao, "I");
         },
         linhas({"O plano não possui Padrão de Acomodação, portanto não deve possuir Dispositivo do Tema "
                 "PADRÃO DE ACOMODAÇÃO"})},
        {"acomodação, segmentação 4",
         [](Plano& p) {
             p.d.segmentacao = 4;
             p.d.dispositivos[1].valores[size_t(C::Segmentacao)] = 4;
             p.com(41, "X", C::PadraoAcomodacao, "C");
         },
         linhas({"O plano não possui Padrão de Acomodação, portanto não deve possuir Dispositivo do Tema "
                 "PADRÃO DE ACOMODAÇÃO"})},
        {"acomodação, segmentação 8 sem padrão",
         [](Plano& p) {
             p.d.segmentacao = 8;
             p.d.padraoAcomodacao = QVariant();
             p.d.dispositivos[1].valores[size_t(C::Segmentacao)] = 8;
             p.com(41, "X", C::PadraoAcomodacao, "C");
         },
         {campo("PADRÃO DE ACOMODAÇÃO", "PADRÃO DE ACOMODAÇÃO")}},
        {"acomodação igual", [](Plano& p) { p.com(41, "X", C::PadraoAcomodacao, "I"); }, {}},
        {"acomodação em minúscula", [](Plano& p) { p.com(41, "X", C::PadraoAcomodacao, "i"); },
         {campo("PADRÃO DE ACOMODAÇÃO", "PADRÃO DE ACOMODAÇÃO")}},
        {"contratação 0", [](Plano& p) { p.d.dispositivos[0].valores[size_t(C::TipoContrato)] = 0; }, {}},
        {"contratação diferente",
         [](Plano& p) { p.d.dispositivos[0].valores[size_t(C::TipoContrato)] = 1; },
         {campo("CONTRATAÇÃO", "ATRIBUTOS DO CONTRATO")}},
        {"formação do preço diferente", [](Plano& p) { p.com(11, "X", C::TipoFinanc, 2); },
         {campo("FORMAÇÃO DO PREÇO", "FORMAÇÃO DO PREÇO E MENSALIDADE")}},
        {"formação do preço igual", [](Plano& p) { p.com(11, "X", C::TipoFinanc, 1); }, {}},
        {"cobertura adicional sem serviços", [](Plano& p) { p.com(42, "X", C::CoberturaAdicional, "S"); },
         linhas({"Não há coberturas adicionais selecionadas, o que é incompatível com a definição do "
                 "Dispositivo do Tema COBERTURAS ADICIONAIS"})},
        {"sem cobertura adicional, com serviços",
         [](Plano& p) {
             p.d.servicosOpcionais = true;
             p.com(42, "X", C::CoberturaAdicional, "N");
         },
         linhas({"Existem coberturas adicionais selecionadas, o que é incompatível com a definição do "
                 "Dispositivo do Tema COBERTURAS ADICIONAIS"})},
        {"cobertura adicional com serviços",
         [](Plano& p) {
             p.d.servicosOpcionais = true;
             p.com(42, "X", C::CoberturaAdicional, "S");
         },
         {}},
        {"reembolso sem livre escolha", [](Plano& p) { p.com(43, "X", C::FormaAcesso, "S"); },
         linhas({"Não há reembolsos selecionados, o que é incompatível com a definição do Dispositivo "
                 "do Tema FORMA DE ACESSO"})},
        {"sem reembolso, com livre escolha",
         [](Plano& p) {
             p.d.livreEscolha = true;
             p.com(19, "LIV").com(43, "X", C::FormaAcesso, "N");
         },
         linhas({"Existem reembolsos selecionados, o que é incompatível com a definição do Dispositivo "
                 "do Tema FORMA DE ACESSO"})},
        {"co-participação que cabe",
         [](Plano& p) {
             p.d.coparticipacao = QStringLiteral("S");
             p.com(25, "X", C::FatorModerador, "C");
         },
         {}},
        {"co-participação com franquia",
         [](Plano& p) {
             p.d.coparticipacao = QStringLiteral("S");
             p.d.franquia = QStringLiteral("S");
             p.com(25, "X", C::FatorModerador, "C");
         },
         {campo("FATOR MODERADOR", "MECANISMOS DE REGULAÇÃO")}},
        {"fator moderador vazio",
         [](Plano& p) { p.com(25, "X", C::FatorModerador, QVariant()); }, linhas({semInfo})},
        {"faixa etária nunca conflita", [](Plano& p) { p.com(24, "X", C::FaixaEtaria, "2"); }, {}},
        {"tema inativo: sem mensagem de característica",
         [](Plano& p) { p.com(5, "X", C::Segmentacao, QVariant()); }, {}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        Plano p;
        c.prepara(p);
        EXPECT_EQ(RegrasCaracteristicas(p.d), c.esperado);
    }

    // The entry point joins both lists, theme rules first.
    Plano p;
    p.com(5, "X", C::Segmentacao, 9).com(40, "Y", C::Abrangencia, 3);
    EXPECT_EQ(RegrasDispositivos(p.d),
              (QStringList{QStringLiteral("Dispositivo de Tema Inativo: CARÊNCIAS"),
                           campo("ABRANGÊNCIA", "ÁREA DE ABRANGÊNCIA")}));
}

TEST(RegrasDispositivos, ModeratingFactorAndValueComparison) {
    // V, co-participation, franchise -> fits
    const struct {
        QVariant v;
        const char* co;
        const char* fr;
        bool cabe;
    } fatores[] = {
        {"N", "N", "N", true},  {"N", "S", "N", false}, {"N", "N", "S", false}, {"N", "", "", true},
        {"C", "S", "N", true},  {"C", "S", "S", false}, {"C", "N", "N", false}, {"C", "", "", true},
        {"F", "N", "S", true},  {"F", "S", "S", false}, {"F", "N", "N", false}, {"F", "", "", true},
        {"A", "S", "S", true},  {"A", "N", "S", false}, {"A", "S", "N", false}, {"A", "", "", true},
        {"X", "N", "N", true},  {QVariant(), "S", "S", true},
    };
    for (const auto& f : fatores) {
        SCOPED_TRACE(QStringLiteral("%1 %2 %3").arg(f.v.toString(), f.co, f.fr).toStdString());
        EXPECT_EQ(FatorModeradorCabe(f.v, QString::fromLatin1(f.co), QString::fromLatin1(f.fr)), f.cabe);
    }

    const struct {
        C c;
        QVariant a, b;
        bool diferem;
    } valores[] = {
        {C::Segmentacao, 2, 2, false},
        {C::Segmentacao, QStringLiteral("2"), 2, false},
        {C::Segmentacao, 2.0, 2, false},
        {C::Segmentacao, 3, 2, true},
        {C::Segmentacao, QVariant(), QVariant(), false},
        {C::Segmentacao, QVariant(), 0, true},
        {C::Abrangencia, 1, QVariant(), true},
        {C::PadraoAcomodacao, QStringLiteral("C"), QStringLiteral("C"), false},
        {C::PadraoAcomodacao, QStringLiteral("C"), QStringLiteral("c"), true},
        {C::PadraoAcomodacao, QStringLiteral("C"), QVariant(), true},
    };
    for (const auto& v : valores) {
        SCOPED_TRACE(QStringLiteral("%1 / %2").arg(v.a.toString(), v.b.toString()).toStdString());
        EXPECT_EQ(ValoresDiferem(v.c, v.a, v.b), v.diferem);
        EXPECT_EQ(ValoresDiferem(v.c, v.b, v.a), v.diferem);
    }
}

// ---------------------------------------------------------------------------
// Read from the database
// ---------------------------------------------------------------------------

namespace F = FixturaDispositivos;
constexpr char kOper[] = "123455";
constexpr char kOutra[] = "345679";

class RegrasNoBanco : public ::testing::Test {
protected:
    Apoio::PastaTeste pasta;
    std::unique_ptr<TDmConexao> conexao;
    Banco* banco = nullptr;
    void TearDown() override { conexao.reset(); }
    void SetUp() override {
        conexao = std::make_unique<TDmConexao>();
        banco = &conexao->banco();
        banco->abre(Apoio::criaBanco(
            pasta.caminho(), Apoio::Esquema::Atual,
            QStringLiteral(
                "INSERT INTO OPERADORAS (CD_OPER, NM_RAZAO_SOCIAL, CD_GRUPO_CLASSIFICACAO) VALUES "
                "('123455', 'OPERADORA', 22);"
                // plan 1: in order but for two age-band devices; plan 2: sent; plan 3: the other
                // operator's; plan 4: no status, free choice, a network and a technical note
                "INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, CD_TIPO_CONTRATO, CD_SEGMENTACAO, "
                "CD_ABRANGENCIA, CD_STATUS_ENVIO) VALUES ('123455', 1, 3, 2, 1, 0), "
                "('123455', 2, 3, 2, 1, 1), ('345679', 3, 3, 2, 1, 0), ('123455', 4, 1, 4, 1, NULL);"
                "INSERT INTO RL_PLANOS_TIPO_COBERTURA (CD_OPER, SEQ_PLANO, CD_TIPO_COBERTURA) "
                "VALUES ('123455', 4, 1);"
                "INSERT INTO RL_PLANOS_ESTAB_SAUDE (CD_OPER, SEQ_PLANO, ID_ESTB_SAUD) VALUES "
                "('123455', 4, 1), ('123455', 4, 2);"
                "INSERT INTO RL_PLANO_NOTA_TECNICA (CD_OPER, SEQ_PLANO, ID_PLANO_NOTA_TECNICA) "
                "VALUES ('123455', 4, 1);")),
                    TDmConexao::SenhaBanco());
        const QString op = QString::fromLatin1(kOper);
        const auto novo = [&](qlonglong cd, qlonglong tema, const char* id, const char* desc,
                              const QVariantMap& v = {}, const char* oper = kOper) {
            F::Dispositivo d;
            d.codigo = cd;
            d.cdOper = QString::fromLatin1(oper);
            d.tema = tema;
            d.identificacao = QString::fromLatin1(id);
            d.descricao = QString::fromUtf8(desc);
            d.valores = v;
            F::insere(*banco, d);
        };
        novo(1, 10, "ATR", "Atributos", {{"CD_TIPO_CONTRATO", 3}});
        novo(2, 12, "COB", "Coberturas", {{"CD_SEGMENTACAO", 2}});
        novo(3, 15, "EXC", "Exclusões");
        novo(4, 31, "DUR", "Duração");
        novo(5, 32, "DIS", "Disposições");
        // theme 24, linked in the reverse order of their descriptions
        novo(6, 24, "FX-B", "beta", {{"CD_FAIXA_ETARIA", "2"}});
        novo(7, 24, "FX-A", "Ábaco", {{"CD_FAIXA_ETARIA", "2"}});
        novo(8, 5, "CAR", "Carências");  // theme no longer in force
        novo(9, 12, "OUT", "Outra", {{"CD_SEGMENTACAO", 7}}, kOutra);
        for (qlonglong cd : {1, 2, 3, 4, 5, 6, 7, 8}) F::vincula(*banco, op, 1, cd);
        for (qlonglong cd : {1, 2, 3, 4, 5}) F::vincula(*banco, op, 2, cd);
        F::vincula(*banco, QString::fromLatin1(kOutra), 3, 9);
    }
};

TEST_F(RegrasNoBanco, OnePlanReadLikeThePlanModuleShowsIt) {
    const QString op = QString::fromLatin1(kOper);
    EXPECT_EQ(RegrasDispositivos(*banco, op, 1),
              linhas({"Dispositivo de Tema Inativo: CARÊNCIAS",
                      "Não poderá ser cadastrado mais de um Dispositivo Contratual do Tema XIII - "
                      "FAIXAS ETÁRIAS, posterior à vigência da RN 63/03 "}));
    EXPECT_TRUE(RegrasDispositivos(*banco, op, 2).isEmpty()) << "a sent plan is still checked";
    EXPECT_TRUE(RegrasDispositivos(*banco, op, 3).isEmpty()) << "not the operator's plan";
    EXPECT_TRUE(RegrasDispositivos(*banco, op, 99).isEmpty()) << "no such plan";
    EXPECT_FALSE(RegrasDispositivos(*banco, QString::fromLatin1(kOutra), 3).isEmpty());

    const LeituraPlanos um = LePlanos(*banco, op, 1);
    ASSERT_EQ(um.planos.size(), 1);
    QStringList ordem;
    for (const DispositivoRegra& d : um.planos[0].dispositivos.dispositivos) ordem << d.identificacao;
    EXPECT_EQ(ordem, (QStringList{"CAR", "ATR", "COB", "EXC", "FX-A", "FX-B", "DUR", "DIS"}))
        << "by theme code, then by description";
}

TEST_F(RegrasNoBanco, UnsentPlansWithWhatHangsOnThem) {
    const QString op = QString::fromLatin1(kOper);
    const LeituraPlanos l = LePlanos(*banco, op);
    QList<qlonglong> planos;
    for (const PlanoLido& p : l.planos) planos << p.seqPlano;
    EXPECT_EQ(planos, (QList<qlonglong>{1, 4})) << "sent plans and other operators' are left out";
    const PlanoLido& quatro = l.planos[1];
    EXPECT_TRUE(quatro.dispositivos.livreEscolha);
    EXPECT_FALSE(quatro.dispositivos.servicosOpcionais);
    EXPECT_TRUE(quatro.temRede);
    EXPECT_TRUE(quatro.temNotaTecnica);
    EXPECT_FALSE(l.planos[0].temRede);
    EXPECT_EQ(l.planos[0].dispositivos.dispositivos.size(), 8);
    EXPECT_EQ(l.temas->temas().size(), 32);
    EXPECT_EQ(l.temas->temas().first().codigo, 10) << "themes in display order";
    EXPECT_EQ(l.temas->tema(24)->caracteristica, C::FaixaEtaria);

    // The single-plan questions agree with the batch read.
    for (const PlanoLido& p : l.planos) {
        EXPECT_EQ(PlanoTemRede(*banco, op, p.seqPlano), p.temRede);
        EXPECT_EQ(PlanoTemNotaTecnica(*banco, op, p.seqPlano), p.temNotaTecnica);
    }
    EXPECT_FALSE(PlanoTemRede(*banco, QString::fromLatin1(kOutra), 4)) << "another operator's key";
}

TEST_F(RegrasNoBanco, ThroughThePlanModuleAsThePlanScreenHoldsThePlan) {
    TDMZemlo zemlo;  // the current operator
    TdmInfoPlano modulo;
    const QString op = QString::fromLatin1(kOper);
    // A plan of the operator with a device that does not fit and optional services.
    banco->executa(QStringLiteral(
        "INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, CD_TIPO_CONTRATO, CD_SEGMENTACAO, CD_STATUS_ENVIO) "
        "VALUES ('123455', 5, 1, 5, 0)"));
    banco->executa(QStringLiteral(
        "INSERT INTO RL_PLANOS_SERV_OPC (CD_OPER, SEQ_PLANO, CD_SERV_OPCIONAL) VALUES ('123455', 5, 1)"));
    for (qlonglong cd : {2, 3, 6}) F::vincula(*banco, op, 5, cd);

    EXPECT_FALSE(modulo.cdsPlano()->Ativo());
    for (qlonglong seq : {1, 2, 4, 5}) {
        SCOPED_TRACE(seq);
        const QStringList pelaTela = RegrasDispositivos(op, seq);
        EXPECT_EQ(pelaTela, RegrasDispositivos(*banco, op, seq));
        EXPECT_EQ(modulo.cdsPlano()->Valor(QStringLiteral("SEQ_PLANO")).toLongLong(), seq);
        EXPECT_TRUE(modulo.AbertoPara(modulo.cdsPlanoDispositivo(), op, seq));
        EXPECT_TRUE(modulo.AbertoPara(modulo.cdsPlanoCobertura(), op, seq));
        EXPECT_EQ(modulo.cdsPlanoDispositivo()->RecNo(), modulo.cdsPlanoDispositivo()->IsEmpty() ? -1 : 0);
    }
    EXPECT_EQ(RegrasDispositivos(op, 5),
              linhas({"É obrigatório o cadastro de um Dispositivo Contratual do Tema I - ATRIBUTOS DO CONTRATO",
                      "É obrigatório o cadastro de um Dispositivo Contratual do Tema V - DURAÇÃO DO CONTRATO",
                      "É obrigatório o cadastro de um Dispositivo Contratual do Tema XIV - DISPOSIÇÕES GERAIS",
                      "O valor cadastrado para o campo SEGMENTAÇÃO deve ser compatível com o Dispositivo "
                      "do Tema COBERTURAS E PROCEDIMENTOS GARANTIDOS"}));
    // Another operator's plan and an unknown number give nothing; the plan set stays put.
    EXPECT_TRUE(RegrasDispositivos(op, 3).isEmpty());
    EXPECT_TRUE(RegrasDispositivos(op, 99).isEmpty());
    EXPECT_EQ(modulo.cdsPlano()->Valor(QStringLiteral("SEQ_PLANO")).toLongLong(), 5);
    // Characteristic rules on devices not loaded: nothing.
    modulo.cdsPlanoDispositivo()->Fecha();
    EXPECT_TRUE(RegrasCaracteristicas().isEmpty());
}

}  // namespace
