// The establishment registry's rules, without a screen: the save in its order of
// checks, what is written, duplicates, numbering, links, completeness, navigation,
// search statements and the bulk clean-up.
#include "ApoioRede.h"
#include "common/Identificadores.h"
#include "db/RowSet.h"

using namespace ApoioRede;
using Escolhas = TDmHospital::Escolhas;
using CampoEstab = TDmHospital::CampoEstab;

namespace {

// The fields typed on the screen, as the record gets them.
struct Registro {
    QVariant classif = 1;
    QVariant cnes = QStringLiteral("12343");
    QVariant cnpj = QString::fromLatin1(kCnpj);
    QVariant nome = QStringLiteral("Hospital Teste");
    QVariant intermed;
    QVariant contrato;
    QVariant vinculo = QDate(2020, 1, 1);
};

Escolhas escolhasCompletas() {
    Escolhas e;
    e.relacao = Escolhas::Proprio;
    e.uf = QStringLiteral("SP");
    e.municipio = kSaoPaulo;
    e.disponibilidade = Escolhas::Total;
    e.urgencia = true;
    return e;
}

class HospitalTeste : public Base {
protected:
    void SetUp() override { inicia(); }

    // Starts an insert (or edits `id`), fills the record and saves.
    std::optional<TDmHospital::Falha> grava(const Registro& r, const Escolhas& e,
                                            qlonglong id = 0) {
        RowSet* rs = dm->cdsHospital();
        dm->AbreHospital(id);
        if (id == 0)
            rs->Insert();
        else
            rs->Edit();
        rs->DefineValor(QStringLiteral("CD_CLASSIF_ESTAB_SAUDE"), r.classif);
        rs->DefineValor(QStringLiteral("CD_CNES"), r.cnes);
        rs->DefineValor(QStringLiteral("CD_CNPJ_ESTB_SAUD"), r.cnpj);
        rs->DefineValor(QStringLiteral("RAZAO_SOCIAL_ESTB_SAUD"), r.nome);
        rs->DefineValor(QStringLiteral("CD_OPER_INTERMEDIADORA"), r.intermed);
        rs->DefineValor(QStringLiteral("DT_CONTRATO_OPER"), r.contrato);
        rs->DefineValor(QStringLiteral("DT_VINCULO_OPER"), r.vinculo);
        return dm->Grava(e);
    }
    QVariantList linha(qlonglong id, const char* colunas) {
        const Resultado r =
            banco().consulta(QStringLiteral("SELECT %1 FROM TB_ESTAB_SAUDE WHERE ID_ESTB_SAUD = ?")
                                 .arg(QLatin1String(colunas)),
                             {id});
        return r.vazio() ? QVariantList() : r.linhas.first();
    }
};

struct CasoGravacao {
    const char* nome;
    std::function<void(Registro&, Escolhas&)> muda;
    const char* mensagem;  // empty: saved
    CampoEstab campo = CampoEstab::Classificacao;
};

TEST_F(HospitalTeste, SaveChecksRunInOrderWithTheirMessagesAndFields) {
    ASSERT_TRUE(ValidaCnes(QString::fromLatin1(kCnes)));
    const CasoGravacao casos[] = {
        {"completo", [](Registro&, Escolhas&) {}, ""},
        {"sem classificação", [](Registro& r, Escolhas&) { r.classif = QVariant(); },
         "Selecione a Classificação do Estabelecimento de Saúde", CampoEstab::Classificacao},
        {"CNES de zeros", [](Registro& r, Escolhas&) { r.cnes = "0000000"; },
         "CNES do Estabelecimento de Saúde inválido", CampoEstab::Cnes},
        {"CNES de zeros curto", [](Registro& r, Escolhas&) { r.cnes = "0"; },
         "CNES do Estabelecimento de Saúde inválido", CampoEstab::Cnes},
        {"CNES com dígito errado", [](Registro& r, Escolhas&) { r.cnes = "1234561"; },
         "CNES do Estabelecimento de Saúde inválido", CampoEstab::Cnes},
        {"CNES sem CNPJ",
         [](Registro& r, Escolhas&) {
             r.classif = 2;
             r.cnpj = QVariant();
         },
         "Número do CNPJ deve ser preenchido", CampoEstab::CnpjCpf},
        {"hospitalar sem CNPJ",
         [](Registro& r, Escolhas&) {
             r.cnes = QVariant();
             r.cnpj = "  ";
         },
         "Número do CNPJ deve ser preenchido", CampoEstab::CnpjCpf},
        {"CPF em hospitalar", [](Registro& r, Escolhas&) { r.cnpj = kCpf; },
         "CNPJ do Estabelecimento de Saúde inválido", CampoEstab::CnpjCpf},
        {"CPF em alta complexidade",
         [](Registro& r, Escolhas&) {
             r.classif = 2;
             r.cnpj = kCpf;
         },
         ""},
        {"CPF em demais",
         [](Registro& r, Escolhas&) {
             r.classif = 3;
             r.cnpj = kCpf;
         },
         ""},
        {"CPF com dígito errado",
         [](Registro& r, Escolhas&) {
             r.classif = 3;
             r.cnpj = "52998224724";
         },
         "CPF inválido", CampoEstab::CnpjCpf},
        {"CPF de zeros",
         [](Registro& r, Escolhas&) {
             r.classif = 3;
             r.cnpj = "00000000000";
         },
         "CPF inválido", CampoEstab::CnpjCpf},
        {"CNPJ de zeros",
         [](Registro& r, Escolhas&) {
             r.classif = 2;
             r.cnpj = "00000000000000";
         },
         "CNPJ do Estabelecimento de Saúde inválido", CampoEstab::CnpjCpf},
        {"CNPJ de zeros em hospitalar", [](Registro& r, Escolhas&) { r.cnpj = "00000000000000"; },
         "CNPJ do Estabelecimento de Saúde inválido", CampoEstab::CnpjCpf},
        {"CNPJ com dígito errado",
         [](Registro& r, Escolhas&) {
             r.classif = 3;
             r.cnpj = "11222333000182";
         },
         "CNPJ do Estabelecimento de Saúde inválido", CampoEstab::CnpjCpf},
        {"sem CNES nem CNPJ",
         [](Registro& r, Escolhas&) {
             r.classif = 3;
             r.cnes = QVariant();
             r.cnpj = QVariant();
         },
         "Número CPF/CNPJ ou CNES deve ser Preenchido", CampoEstab::CnpjCpf},
        {"nome em branco", [](Registro& r, Escolhas&) { r.nome = "   "; },
         "Informe Nome/Razão Social do Estabelecimento de Saúde", CampoEstab::Nome},
        {"nome que o arquivo de solicitação não leva",
         [](Registro& r, Escolhas&) { r.nome = QStringLiteral("Clínica Łódź"); },
         "O campo \"Nome/Razão Social\" contém o caractere \"Ł\", que não pode ser enviado à ZUB. "
         "Substitua-o por outro.",
         CampoEstab::Nome},
        {"nome com acentos do português", [](Registro& r, Escolhas&) { r.nome = QStringLiteral("Ação São João Ñ €"); },
         ""},
        {"hospitalar sem relação", [](Registro&, Escolhas& e) { e.relacao = Escolhas::SemRelacao; },
         "Selecione a Relação com Entidade Hospitalar", CampoEstab::Relacao},
        {"demais sem relação",
         [](Registro& r, Escolhas& e) {
             r.classif = 3;
             e.relacao = Escolhas::SemRelacao;
         },
         ""},
        {"sem UF e sem CNES",
         [](Registro& r, Escolhas& e) {
             r.cnes = QVariant();
             e.uf.clear();
             e.municipio = -1;
         },
         "Selecione a Unidade Federativa", CampoEstab::Uf},
        {"sem município e sem CNES",
         [](Registro& r, Escolhas& e) {
             r.cnes = QVariant();
             e.municipio = -1;
         },
         "Selecione o Município", CampoEstab::Municipio},
        {"UF sem município", [](Registro&, Escolhas& e) { e.municipio = -1; },
         "Selecione o Município", CampoEstab::Municipio},
        {"com CNES sem UF nem município",
         [](Registro&, Escolhas& e) {
             e.uf.clear();
             e.municipio = -1;
         },
         ""},
        {"contratualizado sem tipo",
         [](Registro&, Escolhas& e) { e.relacao = Escolhas::Contratualizado; },
         "Selecione o Tipo de Contratualização", CampoEstab::TipoContratacao},
        {"indireta sem registro",
         [](Registro&, Escolhas& e) {
             e.relacao = Escolhas::Contratualizado;
             e.tipoContratacao = Escolhas::Indireta;
         },
         "Informe o Registro ZUB da Operadora Intermediária.", CampoEstab::RegOperIntermed},
        {"indireta com registro inválido",
         [](Registro& r, Escolhas& e) {
             r.intermed = "123456";
             e.relacao = Escolhas::Contratualizado;
             e.tipoContratacao = Escolhas::Indireta;
         },
         "Registro ZUB da Operadora Intermediária inválido.", CampoEstab::RegOperIntermed},
        {"indireta pela própria operadora",
         [](Registro& r, Escolhas& e) {
             r.intermed = kOperadora;
             e.relacao = Escolhas::Contratualizado;
             e.tipoContratacao = Escolhas::Indireta;
         },
         "O Registro ZUB da Operadora Intermediária não pode ser igual ao da Operadora.",
         CampoEstab::RegOperIntermed},
        {"indireta válida",
         [](Registro& r, Escolhas& e) {
             r.intermed = kOutraOperadora;
             e.relacao = Escolhas::Contratualizado;
             e.tipoContratacao = Escolhas::Indireta;
         },
         ""},
        {"direta com registro inválido (não conferido)",
         [](Registro& r, Escolhas& e) {
             r.intermed = "999999";
             e.relacao = Escolhas::Contratualizado;
             e.tipoContratacao = Escolhas::Direta;
         },
         ""},
        {"contratualização amanhã", [](Registro& r, Escolhas&) { r.contrato = QDate(2024, 6, 16); },
         "A data de contratualização não pode ser superior à data atual",
         CampoEstab::DataContratacao},
        {"contratualização hoje", [](Registro& r, Escolhas&) { r.contrato = QDate(2024, 6, 15); },
         ""},
        {"RN 54 na véspera",
         [](Registro& r, Escolhas&) {
             r.classif = 2;
             r.contrato = QDate(2003, 11, 30);
         },
         "A data de contratualização não pode ser anterior à data da RN 54 (01/12/2003)",
         CampoEstab::DataContratacao},
        {"RN 54 no dia",
         [](Registro& r, Escolhas&) {
             r.classif = 2;
             r.contrato = QDate(2003, 12, 1);
         },
         ""},
        {"RN 54 em demais",
         [](Registro& r, Escolhas&) {
             r.classif = 3;
             r.contrato = QDate(2003, 11, 30);
         },
         "A data de contratualização não pode ser anterior à data da RN 54 (01/12/2003)",
         CampoEstab::DataContratacao},
        {"RN 42 na véspera", [](Registro& r, Escolhas&) { r.contrato = QDate(2003, 7, 6); },
         "A data de contratualização não pode ser anterior à data da RN 42 (07/07/2003)",
         CampoEstab::DataContratacao},
        {"RN 42 no dia", [](Registro& r, Escolhas&) { r.contrato = QDate(2003, 7, 7); }, ""},
        {"hospitalar entre as duas datas",
         [](Registro& r, Escolhas&) { r.contrato = QDate(2003, 8, 1); }, ""},
        {"sem início do serviço", [](Registro& r, Escolhas&) { r.vinculo = QVariant(); },
         "Informe a data de início de prestação do serviço", CampoEstab::DataVinculo},
        {"sem início e sem relação",
         [](Registro& r, Escolhas& e) {
             r.classif = 2;
             r.vinculo = QVariant();
             e.relacao = Escolhas::SemRelacao;
         },
         ""},
        {"início amanhã", [](Registro& r, Escolhas&) { r.vinculo = QDate(2024, 6, 16); },
         "A data de início de prestação do serviço não pode ser superior à data atual",
         CampoEstab::DataVinculo},
        {"hospitalar sem disponibilidade",
         [](Registro&, Escolhas& e) { e.disponibilidade = Escolhas::SemDisponibilidade; },
         "Selecione a Disponibilidade dos Serviços do Estabelecimento de Saúde.",
         CampoEstab::Disponibilidade},
        {"demais sem disponibilidade",
         [](Registro& r, Escolhas& e) {
             r.classif = 3;
             e.disponibilidade = Escolhas::SemDisponibilidade;
         },
         ""},
    };
    for (const CasoGravacao& c : casos) {
        SCOPED_TRACE(c.nome);
        Registro r;
        Escolhas e = escolhasCompletas();
        c.muda(r, e);
        const auto falha = grava(r, e);
        if (QString::fromUtf8(c.mensagem).isEmpty()) {
            EXPECT_FALSE(falha.has_value()) << (falha ? falha->mensagem.toStdString() : "");
            EXPECT_EQ(dm->cdsHospital()->State(), RowSet::Estado::Consulta);
            EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM TB_ESTAB_SAUDE")), 1);
        } else {
            ASSERT_TRUE(falha.has_value());
            EXPECT_EQ(falha->mensagem, QString::fromUtf8(c.mensagem));
            EXPECT_EQ(falha->campo, c.campo);
            EXPECT_EQ(dm->cdsHospital()->State(),
                      RowSet::Estado::Insercao);  // still being inserted
            EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM TB_ESTAB_SAUDE")), 0);
            dm->cdsHospital()->Cancel();
        }
        banco().executa(QStringLiteral("DELETE FROM TB_ESTAB_SAUDE"));
    }
}

TEST_F(HospitalTeste, WhatASaveWrites) {
    banco().executaScript(estab(41, "", kOutroCnpj, "Outro", 2, kOutraOperadora));
    Registro r;
    r.cnes = QStringLiteral(" 12 343 ");  // spaces removed, zeros on the left
    r.nome = QStringLiteral("  Hospital d'Ávila  ");
    r.intermed = QString::fromLatin1(kOutraOperadora);  // emptied: not an indirect contract
    r.contrato = QDate(2010, 5, 4);
    Escolhas e = escolhasCompletas();
    e.uf.clear();
    e.municipio = -1;
    e.urgencia = false;
    ASSERT_FALSE(grava(r, e).has_value());
    EXPECT_EQ(linha(42,
                    "CD_CNES, RAZAO_SOCIAL_ESTB_SAUD, ID_MUNC, CD_TIPO_ESTB_SAUD, "
                    "CD_TIPO_CONTRATO_ESTB_SAUDE, "
                    "CD_OPER_INTERMEDIADORA, LG_CLASSIFICADO_ZUB, LG_HOSPITAL_INCLUIDO, CD_OPER, "
                    "CD_DISP_SERVICO, "
                    "LG_URGENCIA_EMERGENCIA, DT_CONTRATO_OPER, DT_VINCULO_OPER"),
              QVariantList({kCnes, "Hospital d'Ávila", -1, 1000, QVariant(), QVariant(), "N", "N",
                            kOperadora, "T", "N", "2010-05-04", "2020-01-01"}));

    // Editing another operator's establishment: indirect contract, origin back to "N", owner kept.
    banco().executa(QStringLiteral(
        "UPDATE TB_ESTAB_SAUDE SET LG_HOSPITAL_INCLUIDO = 'S', CD_DISP_SERVICO = 'P' "
        "WHERE ID_ESTB_SAUD = 41"));
    Registro r2;
    r2.classif = 2;
    r2.cnes = QVariant();
    r2.cnpj = QString::fromLatin1(kOutroCnpj);  // its own pair: not a duplicate of itself
    r2.nome = QStringLiteral("Outro");
    r2.intermed = QString::fromLatin1(kOutraOperadora);
    r2.contrato = QDate(2005, 1, 1);
    Escolhas e2 = escolhasCompletas();
    e2.relacao = Escolhas::Contratualizado;
    e2.tipoContratacao = Escolhas::Indireta;
    e2.disponibilidade = Escolhas::SemDisponibilidade;  // unchanged
    ASSERT_FALSE(grava(r2, e2, 41).has_value());
    EXPECT_EQ(linha(41,
                    "CD_TIPO_ESTB_SAUD, CD_TIPO_CONTRATO_ESTB_SAUDE, CD_OPER_INTERMEDIADORA, "
                    "LG_HOSPITAL_INCLUIDO, "
                    "CD_OPER, CD_DISP_SERVICO, ID_MUNC"),
              QVariantList({2000, "I", kOutraOperadora, "N", kOutraOperadora, "P", kSaoPaulo}));

    // Contracted with no type chosen keeps the stored type; direct empties the intermediary.
    e2.tipoContratacao = Escolhas::Direta;
    ASSERT_FALSE(grava(r2, e2, 41).has_value());
    EXPECT_EQ(linha(41, "CD_TIPO_CONTRATO_ESTB_SAUDE, CD_OPER_INTERMEDIADORA"),
              QVariantList({"D", QVariant()}));
    e2.relacao = Escolhas::SemRelacao;
    e2.tipoContratacao = Escolhas::SemTipo;
    ASSERT_FALSE(grava(r2, e2, 41).has_value());
    EXPECT_EQ(linha(41, "CD_TIPO_ESTB_SAUD, CD_TIPO_CONTRATO_ESTB_SAUDE"),
              QVariantList({QVariant(), "D"}));
}

TEST_F(HospitalTeste, DuplicatePairsAcrossOperatorsAndTheRecordNotFindingItself) {
    banco().executaScript(estab(1, "", kCnpj, "Sem CNES", 2, kOutraOperadora) +
                          estab(2, kCnes, kOutroCnpj, "Com CNES"));
    const char* kDuplicado = "O  Conjunto CNPJ ou CPF/CNES deve ser único.";
    const struct {
        const char* nome;
        QVariant cnes;
        const char* cnpj;
        qlonglong id;
        const char* mensagem;
    } casos[] = {
        {"mesmo CNPJ, CNES vazio", QVariant(), kCnpj, 0, kDuplicado},
        {"mesmo CNPJ, CNES em branco", QStringLiteral(" "), kCnpj, 0, kDuplicado},
        {"mesmo CNPJ, outro CNES", QString::fromLatin1(kCnes), kCnpj, 0, ""},
        {"mesmo par com CNES", QStringLiteral("12343"), kOutroCnpj, 0, kDuplicado},
        {"editando o próprio", QString::fromLatin1(kCnes), kOutroCnpj, 2, ""},
        {"editando para o par de outro", QVariant(), kCnpj, 2, kDuplicado},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        Registro r;
        r.classif = 2;
        r.cnes = c.cnes;
        r.cnpj = QString::fromLatin1(c.cnpj);
        Escolhas e = escolhasCompletas();
        const auto falha = grava(r, e, c.id);
        EXPECT_EQ(falha ? falha->mensagem : QString(), QString::fromUtf8(c.mensagem));
        if (falha) {
            EXPECT_EQ(falha->campo, CampoEstab::Cnes);
            dm->cdsHospital()->Cancel();
        }
        banco().executa(QStringLiteral("DELETE FROM TB_ESTAB_SAUDE WHERE ID_ESTB_SAUD > 2"));
    }
}

TEST_F(HospitalTeste, AWriteErrorDiscardsThePendingChangeAndLeavesTheDatabase) {
    banco().executaScript(
        estab(5, kCnes, kCnpj, "Existente") +
        QStringLiteral("CREATE TRIGGER recusa BEFORE UPDATE ON TB_ESTAB_SAUDE BEGIN "
                       "SELECT RAISE(ABORT, 'gravação recusada'); END;"));
    Registro r;
    r.nome = QStringLiteral("Novo nome");
    try {
        grava(r, escolhasCompletas(), 5);
        FAIL() << "a refused write was reported as saved";
    } catch (const ErroQev& e) {
        EXPECT_TRUE(e.mensagem().contains(QStringLiteral("gravação recusada"))) << e.what();
    }
    RowSet* rs = dm->cdsHospital();
    EXPECT_EQ(rs->State(), RowSet::Estado::Consulta);
    EXPECT_EQ(rs->ChangeCount(), 0);
    EXPECT_EQ(rs->Valor(QStringLiteral("RAZAO_SOCIAL_ESTB_SAUD")).toString(),
              QStringLiteral("Existente"));
    EXPECT_FALSE(banco().emTransacao());
    EXPECT_EQ(linha(5, "RAZAO_SOCIAL_ESTB_SAUD"), QVariantList({"Existente"}));
}

TEST_F(HospitalTeste, NumberingLinksNavigationAndTheCnpjLookUp) {
    EXPECT_EQ(dm->ProximoIdEstab(), 1);
    banco().executaScript(estab(3, "", kCnpj, "A", 1, kOutraOperadora) +
                          estab(8, "", kOutroCnpj, "B") + estab(41, "", kCpf, "C", 3) + vinculo(8));
    EXPECT_EQ(dm->ProximoIdEstab(), 42);
    EXPECT_TRUE(dm->EstabVinculadoPlano(8));
    EXPECT_FALSE(dm->EstabVinculadoPlano(3));
    EXPECT_EQ(dm->ContaEstabelecimentos(), 3);

    EXPECT_EQ(dm->IdProximo(-1), 3);
    EXPECT_EQ(dm->IdProximo(3), 8);
    EXPECT_EQ(dm->IdProximo(41), 0);  // the last one: nothing
    EXPECT_EQ(dm->IdAnterior(41), 8);
    EXPECT_EQ(dm->IdAnterior(3), 0);

    EXPECT_EQ(dm->LocalizaCnpj(QStringLiteral("11.444.777/0001-61")), 8);
    try {
        dm->LocalizaCnpj(QStringLiteral("99.999.999/0001-99"));
        FAIL();
    } catch (const ErroQev& e) {
        EXPECT_EQ(e.mensagem(), QStringLiteral("CNPJ 99999999000199 não encontrado"));
    }

    dm->AbreHospital(8);
    EXPECT_EQ(dm->IdAtual(), 8);
    dm->AbreHospital(3);
    dm->ExcluiAtual();
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM TB_ESTAB_SAUDE WHERE ID_ESTB_SAUD = 3")),
              0);
    EXPECT_EQ(dm->IdAtual(), 3);  // nothing current: the last one opened
    EXPECT_EQ(dm->LeiturasEstabelecimento(), 2);
}

TEST_F(HospitalTeste, SearchStatementsAndTheRegistryAddress) {
    EXPECT_EQ(TDmHospital::SqlPesquisa(0),
              QStringLiteral("SELECT CD_CNES, CD_CNPJ_ESTB_SAUD, RAZAO_SOCIAL_ESTB_SAUD, "
                             "ID_ESTB_SAUD FROM TB_ESTAB_SAUDE"));
    EXPECT_TRUE(TDmHospital::ParametrosPesquisa(0).isEmpty());
    const char* legendas[] = {
        "Pesquisa de Estabelecimentos de Saúde",
        "Pesquisa de Estabelecimentos de Saúde classificados como ASSISTENCIA HOSPITALAR",
        "Pesquisa de Estabelecimentos de Saúde classificados como SERVIÇOS DE ALTA COMPLEXIDADE",
        "Pesquisa de Estabelecimentos de Saúde classificados como DEMAIS ESTABELECIMENTOS"};
    banco().executaScript(estab(1, "", kCnpj, "A", 1) + estab(2, "", kOutroCnpj, "B", 2) +
                          estab(3, "", kCpf, "C", 2));
    for (int escolha = 0; escolha <= 3; ++escolha) {
        EXPECT_EQ(TDmHospital::LegendaPesquisa(escolha), QString::fromUtf8(legendas[escolha]));
        const Resultado r = banco().consulta(TDmHospital::SqlPesquisa(escolha),
                                             TDmHospital::ParametrosPesquisa(escolha));
        EXPECT_EQ(r.numLinhas(), QList<int>({3, 1, 2, 0})[escolha]) << escolha;
    }
    const QUrl url = TDmHospital::EnderecoCadastroPublico(QString::fromLatin1(kCnes));
    EXPECT_TRUE(url.toString().endsWith(QStringLiteral("/Lista_Es_Nome.asp?Vcodigo=0012343")))
        << url.toString().toStdString();
    EXPECT_EQ(url.host(), QStringLiteral("cnes.zub.gov.br"));
}

TEST(NormalizaCnes, ZerosOnTheLeftAndNoSpaces) {
    const struct {
        const char* entrada;
        const char* saida;
    } casos[] = {{"12345", "0012345"}, {" 1 2 3 ", "0000123"}, {"0012343", "0012343"}, {"", ""},
                 {"   ", "   "},       {"12a", "12a"}};
    for (const auto& c : casos)
        EXPECT_EQ(TDmHospital::NormalizaCnes(QString::fromLatin1(c.entrada)),
                  QString::fromLatin1(c.saida))
            << c.entrada;
}

TEST_F(HospitalTeste, CnpjMaskFollowsTheStoredLengthAndClassification) {
    banco().executaScript(estab(1, "", kCnpj, "A", 1) + estab(2, "", kCpf, "B", 2) +
                          estab(3, "", kCpf, "C", 1) + estab(4, "", "123", "D", 2));
    const struct {
        qlonglong id;
        const char* mascara;
        const char* texto;
    } passos[] = {
        {2, "999.999.999-99", "529.982.247-25"},
        {1, "99.999.999/9999-99", "11.222.333/0001-81"},
        {3, "99.999.999/9999-99", "52.998.224/725"},  // a CPF of hospital care keeps the previous
                                                      // mask
        {4, "99.999.999/9999-99", "12.3"},
        {2, "999.999.999-99", "529.982.247-25"},
    };
    for (const auto& p : passos) {
        dm->AbreHospital(p.id);
        EXPECT_EQ(dm->MascaraCnpjCpf(), QString::fromLatin1(p.mascara)) << p.id;
        EXPECT_EQ(dm->cdsHospital()->Texto(QStringLiteral("CD_CNPJ_ESTB_SAUD")),
                  QString::fromLatin1(p.texto))
            << p.id;
    }
}

TEST_F(HospitalTeste, IncompleteLinkedEstablishments) {
    using Valores = QMap<QString, QVariant>;
    const Valores completo{{"LG_HOSPITAL_INCLUIDO", "S"},
                           {"CD_CLASSIF_ESTAB_SAUDE", 1},
                           {"CD_CNES", kCnes},
                           {"RAZAO_SOCIAL_ESTB_SAUD", "H"},
                           {"CD_TIPO_ESTB_SAUD", 2000},
                           {"ID_MUNC", -1},
                           {"DT_VINCULO_OPER", "2020-01-01"},
                           {"CD_TIPO_CONTRATO_ESTB_SAUDE", "D"},
                           {"DT_CONTRATO_OPER", "2020-01-01"}};
    const struct {
        const char* nome;
        const char* coluna;
        QVariant valor;
        bool incompleto;
        bool comoLido = false;  // the rule sees it only as the row set reads it (a date that is none)
    } casos[] = {
        {"completo (município -1 conta)", "ID_MUNC", -1, false},
        {"da ZUB hospitalar sem CNES", "CD_CNES", " ", true},
        {"nome em branco", "RAZAO_SOCIAL_ESTB_SAUD", "  ", true},
        {"sem relação", "CD_TIPO_ESTB_SAUD", QVariant(), true},
        {"sem município", "ID_MUNC", QVariant(), true},
        {"sem início", "DT_VINCULO_OPER", QVariant(), true},
        {"sem classificação", "CD_CLASSIF_ESTAB_SAUDE", QVariant(), true},
        {"contratualizado sem tipo", "CD_TIPO_CONTRATO_ESTB_SAUDE", " ", true},
        {"contratualizado sem data", "DT_CONTRATO_OPER", QVariant(), true},
        {"próprio sem tipo nem data", "CD_TIPO_ESTB_SAUD", 1000, false},
        {"início com hora", "DT_VINCULO_OPER", "2020-01-01 10:30:00", false},
        {"início entre brancos", "DT_VINCULO_OPER", " 2020-01-01 ", false},
        {"início num dia que não existe", "DT_VINCULO_OPER", "2020-02-30", true, true},
        {"início que não é data", "DT_VINCULO_OPER", "ontem", true, true},
        {"nome só de letras acentuadas", "RAZAO_SOCIAL_ESTB_SAUD", "ÁÊ", false},
        {"nome de tabulações", "RAZAO_SOCIAL_ESTB_SAUD", "\t\t", true},
        {"contratualizado com data e hora", "DT_CONTRATO_OPER", "2021-05-06 00:00:00", false},
    };
    for (const auto& c : casos) {
        if (c.comoLido) continue;
        Valores v = completo;
        v[QString::fromLatin1(c.coluna)] = c.valor;
        if (QString::fromUtf8(c.nome).startsWith(QStringLiteral("próprio"))) {
            v[QStringLiteral("CD_TIPO_CONTRATO_ESTB_SAUDE")] = QVariant();
            v[QStringLiteral("DT_CONTRATO_OPER")] = QVariant();
        }
        EXPECT_EQ(TDmHospital::EstabelecimentoIncompleto(
                      [&](const QString& col) { return v.value(col); }),
                  c.incompleto)
            << c.nome;
    }
    // the same rule over a linked row of the database, as stored
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        banco().executaScript(QStringLiteral("DELETE FROM RL_PLANOS_ESTAB_SAUDE; DELETE FROM TB_ESTAB_SAUDE;") +
                              estab(1, kCnes, kCnpj, "H") + vinculo(1));
        Valores v = completo;
        v[QString::fromLatin1(c.coluna)] = c.valor;
        if (QString::fromUtf8(c.nome).startsWith(QStringLiteral("próprio"))) {
            v[QStringLiteral("CD_TIPO_CONTRATO_ESTB_SAUDE")] = QVariant();
            v[QStringLiteral("DT_CONTRATO_OPER")] = QVariant();
        }
        for (auto it = v.constBegin(); it != v.constEnd(); ++it)
            banco().executa(QStringLiteral("UPDATE TB_ESTAB_SAUDE SET %1 = ? WHERE ID_ESTB_SAUD = 1").arg(it.key()),
                            {it.value()});
        EXPECT_EQ(dm->ExisteVinculadoIncompleto(), c.incompleto);
    }
    banco().executaScript(QStringLiteral("DELETE FROM RL_PLANOS_ESTAB_SAUDE; DELETE FROM TB_ESTAB_SAUDE;"));
    banco().executaScript(estab(1, kCnes, kCnpj, "Completo") + estab(2, "", kOutroCnpj, "Solto") +
                          vinculo(1));
    EXPECT_FALSE(dm->ExisteVinculadoIncompleto());
    banco().executaScript(
        estab(3, "", kCpf, "Sem data", 2) + vinculo(3) + vinculo(3, 2) +
        QStringLiteral(
            "UPDATE TB_ESTAB_SAUDE SET DT_VINCULO_OPER = NULL WHERE ID_ESTB_SAUD IN (2, 3);"));
    EXPECT_TRUE(dm->ExisteVinculadoIncompleto());
    EXPECT_EQ(dm->cdsEstabVinculado()->RecordCount(), 1);  // once, though linked to two plans
}

TEST_F(HospitalTeste, BulkCleanUpDeletesOnlyUnlinkedEstablishmentsOfEveryOperator) {
    EXPECT_EQ(dm->ExcluiNaoVinculados(), 0);
    banco().executaScript(estab(1, "", kCnpj, "A") +
                          estab(2, "", kOutroCnpj, "B", 1, kOutraOperadora) +
                          estab(3, "", kCpf, "C", 2) + vinculo(3));
    EXPECT_EQ(dm->ExcluiNaoVinculados(), 2);
    EXPECT_EQ(conta(QStringLiteral("SELECT group_concat(ID_ESTB_SAUD) FROM TB_ESTAB_SAUDE")), 3);
    EXPECT_FALSE(banco().emTransacao());
}

}  // namespace
