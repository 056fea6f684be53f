// The pre-send checks of the request screen: each step's field label, message and the
// flag it clears, on a plan that passes every check until one thing is changed.
#include "BaseSolicitacao.h"
#include "PlanoPronto.h"
#include "operator/Operadora.h"
#include "platform/Plataforma.h"
#include "request/VerificacaoPlanos.h"

namespace {

const QString kPrefixo = QStringLiteral("Estb. Saúde (\"11444777000161\"/\"0012343\"/\"HOSPITAL CENTRAL\"): ");

class Verificacao : public BaseSolicitacao {
protected:
    TOperadora operadora;

    void SetUp() override {
        Relogio::define([] { return QDateTime(QDate(2024, 1, 31), QTime(14, 5, 9)); });
        operadora.CdOper = QStringLiteral("123456");
        operadora.Cnpj = QStringLiteral("11222333000181");
        operadora.RazaoSocial = QStringLiteral("OPERADORA TESTE");
        operadora.Regiao = 1;
        operadora.Classificacao = 22;
    }
    void TearDown() override { Relogio::define({}); }

    PlanoSolicitacao plano(int seq = 7) {
        const Resultado r = banco().consulta(QStringLiteral("SELECT * FROM TB_PLANOS WHERE SEQ_PLANO = ?"), {seq});
        return PlanoSolicitacao::De([&](const QString& c) { return r.valor(0, c); });
    }
    // "field|message" of every row of the error list.
    QStringList linhas() const {
        QStringList r;
        for (const LinhaErroCarga& l : exportacao->cdsErrosCarga().linhas()) r << l.NomeCampo + '|' + l.NomeErro;
        return r;
    }
};

}  // namespace

TEST_F(Verificacao, EachStepWritesItsRowsAndClearsItsFlag) {
    const struct {
        const char* caso;
        const char* sql;  // applied to the base
        QStringList linhas;
        bool consistente;
        bool rede;
    } casos[] = {
        {"completo", "", {}, true, true},
        // plan table
        {"classificação 23 sem segmentação 4", "UPDATE OPERADORAS SET CD_GRUPO_CLASSIFICACAO = 23",
         {"Tipo de Segmentação|Cadastro de Planos - Tipo de Segmentação inválido para a classificação da Operadora."},
         false, true},
        {"nome em branco", "UPDATE TB_PLANOS SET NM_PLANO = '  '",
         {"Descrição do Plano|Cadastro de Planos - Nome do Plano Inválido."}, false, true},
        {"segmentação 16", "UPDATE TB_PLANOS SET CD_SEGMENTACAO = 16",
         {"Cód.Segmentação|Cadastro de Planos - Segmentação do Plano Inválido."}, false, true},
        {"contrato vazio", "UPDATE TB_PLANOS SET CD_TIPO_CONTRATO = NULL",
         {"Cód.Tipo Contrato|Cadastro de Planos - Tipo Contrato do Plano Inválido."}, false, true},
        // establishments
        {"hospital sem disponibilidade", "UPDATE TB_ESTAB_SAUDE SET CD_DISP_SERVICO = ' '",
         {"Disponibilidade de Serviços|" + kPrefixo + "Disponibilidade de Serviços não informado."}, true, false},
        {"CNPJ sem CNES não é conferido",
         "UPDATE TB_ESTAB_SAUDE SET CD_CNES = NULL, CD_CNPJ_ESTB_SAUD = '11111111111111'", {}, true, true},
        {"clínica sem nada em outro lugar",
         "INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, CD_CLASSIF_ESTAB_SAUDE, CD_TIPO_ESTB_SAUD) VALUES (9, 3, 2000)",
         {"CPF/CNPJ ou CNES|Estabelecimentos de Saúde (9) - precisa ter informado o CPF/CNPJ ou CNES.",
          "Razão Social|Estabelecimentos de Saúde (9) - Razão Social não informada.",
          "UF / Município|Estabelecimentos de Saúde (9) - UF / Município não informados.",
          "Tipo de Contratualização|Estabelecimentos de Saúde (9) - Tipo de Contratualização não informada.",
          "Data de início da prestação do serviço|Estabelecimentos de Saúde (9) - Data de início da prestação do "
          "serviço não informada."},
         true, false},
        {"sem estabelecimento algum", "DELETE FROM RL_PLANOS_ESTAB_SAUDE",
         {"Estabelecimentos de Saúde|Não existem Estabelecimentos de Saúde vinculados ao plano.",
          "Rede Vinculada/Livre Escolha|A rede informada deverá ser composta por pelo menos um estabelecimento, "
          "que possua atendimento Urgência/Emergência, em cada Unidade Federativa informada na Área de Atuação "
          "do produto."},
         true, false},
        // non-hospital link
        {"vinculado a clínica",
         "INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, CD_CNPJ_ESTB_SAUD, RAZAO_SOCIAL_ESTB_SAUD, CD_CLASSIF_ESTAB_SAUDE, "
         "ID_MUNC) VALUES (5, '52998224725', 'CLINICA', 3, 3550308);"
         "INSERT INTO RL_PLANOS_ESTAB_SAUDE (CD_OPER, SEQ_PLANO, ID_ESTB_SAUD) VALUES ('123456', 7, 5)",
         {"Vinculação de Rede|Plano vinculado a estabelecimento com classificação diferente de Assistência "
          "Hospitalar."},
         true, false},
        // attributes
        {"acomodação inválida", "UPDATE TB_PLANOS SET CD_PADRAO_ACOMODACAO = 'X'",
         {"Padrão de Acomodação|Tabela de Planos - Padrão de Acomodação inválido."}, false, true},
        {"pós-estabelecido sem opção", "UPDATE TB_PLANOS SET CD_TIPO_FINANC = 2",
         {"Opções de pós-estabelecido|Tabela de Planos - Opção de pós-estabelecido não informada."}, false, true},
        {"livre escolha vazia", "UPDATE TB_PLANOS SET LG_TOTAL_LIVRE_ESCOLHA = NULL",
         {"Plano opera exclusivamente como Livre Escolha|Não foi informado se o plano opera exclusivamente como "
          "Livre Escolha."},
         false, true},
        {"vínculo para contrato individual", "UPDATE TB_PLANOS SET LG_VB_SEM_VINCULO = 'S'",
         {"Tipo de Contratação|Cadastro de Planos - Vínculo inválido para o Tipo de Contratação selecionado."},
         false, true},
        // area
        {"estadual com dois estados", "INSERT INTO RL_PLANOS_UF (CD_OPER, SEQ_PLANO, CD_UF) VALUES ('123456', 7, 'RJ')",
         {"Área de Atuação|O plano  não pode possuir mais de um estado cadastrado na sua área de atuação.",
          "Rede Vinculada/Livre Escolha|A rede informada deverá ser composta por pelo menos um estabelecimento, "
          "que possua atendimento Urgência/Emergência, em cada Unidade Federativa informada na Área de Atuação "
          "do produto."},
         false, false},
        // notes
        {"sem nota", "DELETE FROM RL_PLANO_NOTA_TECNICA", {"Nota Técnica|Plano não possui Nota Técnica cadastrada."},
         false, true},
        {"sem nota, coletivo empresarial", "DELETE FROM RL_PLANO_NOTA_TECNICA; UPDATE TB_PLANOS SET CD_TIPO_CONTRATO = 2",
         {}, true, true},
        {"primeira nota falha, a última passa",
         "UPDATE RL_PLANO_NOTA_TECNICA SET ID_PLANO_NOTA_TECNICA = 2;"
         "INSERT INTO RL_PLANO_NOTA_TECNICA (CD_OPER, SEQ_PLANO, ID_PLANO_NOTA_TECNICA, NR_PROTOCOLO_NOTA_TECNICA, "
         "DT_PROTOCOLO) VALUES ('123456', 7, 1, '33902000002', '2007-12-31')",
         {}, true, true},
        {"primeira passa, a última falha",
         "INSERT INTO RL_PLANO_NOTA_TECNICA (CD_OPER, SEQ_PLANO, ID_PLANO_NOTA_TECNICA, NR_PROTOCOLO_NOTA_TECNICA, "
         "DT_PROTOCOLO) VALUES ('123456', 7, 2, '33902000002', '2007-12-31')",
         {"Nome Arquivo da Nota Técnica|O nome do arquivo é obrigatório.",
          "Data protocolo da Nota Técnica|Data do Protocolo da Nota Técnica não pode ser anterior a 01/01/2008."},
         true, true},
        {"única nota no futuro", "UPDATE RL_PLANO_NOTA_TECNICA SET DT_PROTOCOLO = '2024-02-01'",
         {"Data protocolo da Nota Técnica|A data de protocolo não é válida, ou é superior à data atual."}, false, true},
        // taxes
        {"taxa com dígito errado", "UPDATE RL_PLANO_TAXA_REGISTRO SET NR_DOCUMENTO_TAXA = '804981234563'",
         {"Número do Documento de Pagamento|Taxa 804981234563: O dígito verificador do valor informado para o "
          "\"Número do Documento\" não confere."},
         false, true},
        {"taxa com x minúsculo", "UPDATE RL_PLANO_TAXA_REGISTRO SET NR_DOCUMENTO_TAXA = '12345678901x'",
         {"Número do Documento de Pagamento|Taxa 12345678901x: O valor informado no campo \"Número do Documento\" "
          "deve ser, no máximo, os 17 dígitos do campo \"Nosso Número\" do boleto bancário."},
         false, true},
        {"taxas repetidas e válidas",
         "INSERT INTO RL_PLANO_TAXA_REGISTRO (CD_OPER, SEQ_PLANO, ID_PLANO_TAXA_REGISTRO, NR_DOCUMENTO_TAXA) "
         "VALUES ('123456', 7, 2, '804981234562')",
         {"Número do Documento de Pagamento|Existem Números do Documento de Pagamento repetidos."}, true, true},
        {"sem taxa", "DELETE FROM RL_PLANO_TAXA_REGISTRO",
         {"Taxa Registro|Plano não possui Taxa de Registro cadastrada."}, false, true},
        // network
        {"hospital sem urgência", "UPDATE TB_ESTAB_SAUDE SET LG_URGENCIA_EMERGENCIA = 'N'",
         {"Rede Vinculada/Livre Escolha|A rede informada deverá ser composta por pelo menos um estabelecimento, "
          "que possua atendimento Urgência/Emergência, em cada Unidade Federativa informada na Área de Atuação "
          "do produto."},
         true, false},
        {"livre escolha com rede", "UPDATE TB_PLANOS SET LG_TOTAL_LIVRE_ESCOLHA = 'S'",
         {"Rede Vinculada/Livre Escolha|Plano opera exclusivamente como Livre Escolha e não pode possuir rede "
          "hospitalar."},
         true, false},
        // odontological
        {"odontológico só com clínica do estado",
         "UPDATE TB_PLANOS SET CD_SEGMENTACAO = 4; DELETE FROM RL_PLANOS_ESTAB_SAUDE;"
         "INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, CD_CNPJ_ESTB_SAUD, RAZAO_SOCIAL_ESTB_SAUD, CD_CLASSIF_ESTAB_SAUDE, "
         "ID_MUNC) VALUES (5, '52998224725', 'CLINICA', 3, 3509502);"
         "INSERT INTO RL_PLANOS_ESTAB_SAUDE (CD_OPER, SEQ_PLANO, ID_ESTB_SAUD) VALUES ('123456', 7, 5)",
         {"Vinculação de Rede|Plano vinculado a estabelecimento com classificação diferente de Assistência "
          "Hospitalar."},
         true, true},
        {"odontológico sem clínica no estado", "UPDATE TB_PLANOS SET CD_SEGMENTACAO = 4",
         {"Rede Operadora Plano Odontológico|Planos odontológicos com abrangência Grupo de Estados ou Estadual, a "
          "operadora deverá apresentar em sua rede, estabelecimentos classificados como Demais Estabelecimentos em "
          "cada estado informado na área de atuação do plano."},
         true, false},
        {"odontológico com abrangência 6 depois de falha de vínculo",
         "UPDATE TB_PLANOS SET CD_SEGMENTACAO = 4, CD_ABRANGENCIA = 6;"
         "UPDATE TB_ESTAB_SAUDE SET CD_CLASSIF_ESTAB_SAUDE = 2",
         {"Vinculação de Rede|Plano vinculado a estabelecimento com classificação diferente de Assistência "
          "Hospitalar.",
          "Rede Operadora Plano Odontológico|Planos odontológicos com abrangência Municipal, a operadora deverá "
          "apresentar em sua rede, estabelecimentos classificados como Demais Estabelecimentos em cada município "
          "da área de atuãção do plano."},
         true, false},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        QFile::remove(programa + QStringLiteral("QEV.mdb"));
        criaBanco(QString::fromUtf8(kPlanoPronto) + QString::fromUtf8(c.sql) + QLatin1Char(';'));
        operadora.Classificacao = valor(QStringLiteral("SELECT CD_GRUPO_CLASSIFICACAO FROM OPERADORAS")).toInt();
        TVerificacaoPlanos v(banco(), *exportacao, operadora);
        v.VerificaPlano(plano());
        EXPECT_EQ(linhas(), c.linhas);
        EXPECT_EQ(v.PlanoConsistente, c.consistente);
        EXPECT_EQ(v.RedeVinculada, c.rede);
        EXPECT_EQ(v.QtdErros, c.linhas.size());
    }
}

TEST_F(Verificacao, OperatorAndCodeTableFailuresCarryThePseudoPlan) {
    criaBanco(QString::fromUtf8(kPlanoPronto) +
              QStringLiteral("UPDATE TA_TIPO_SEGMENTACAO SET DE_SEGMENTACAO = ' ' WHERE CD_SEGMENTACAO = 4;"
                             "INSERT INTO TA_TIPO_CONTRATO VALUES (8, 'Outro');"));
    operadora.CdOper = QStringLiteral("      ");
    operadora.Cnpj = QStringLiteral("11222333000182");
    TVerificacaoPlanos v(banco(), *exportacao, operadora);
    v.VerificaOperadora();
    v.VerificaTabelas();
    EXPECT_TRUE(v.ErroTabela);
    EXPECT_EQ(linhas(), QStringList({
                            "Código Operadora|Tabela Operadora sem Código.",
                            "C.N.P.J|Tabela Operadora com CNPJ inválido.",
                            "Cód.Tipo Contrato|Tabela TipoContrato - Tipo Contrato Inválido.  (Cód. Contrato: 8)",
                            "Desc.Segmentação|Tabela Segmentação  - Descrição Segmentação Inválido.  (Cód. "
                            "Segmentação: 4)",
                        }));
    for (const LinhaErroCarga& l : exportacao->cdsErrosCarga().linhas()) {
        EXPECT_EQ(l.seq_plano.toInt(), -1);
        EXPECT_EQ(l.nm_plano.toString(), QStringLiteral("TODOS OS PLANOS"));
        EXPECT_EQ(l.cd_segmentacao.toInt(), -1);
    }
}

TEST_F(Verificacao, FirstVerificationStopsAtTheFirstFailingEstablishment) {
    criaBanco(QString::fromUtf8(kPlanoPronto) +
              QStringLiteral("UPDATE TB_ESTAB_SAUDE SET LG_URGENCIA_EMERGENCIA = 'N', CD_DISP_SERVICO = NULL;"
                             "INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, CD_CLASSIF_ESTAB_SAUDE) VALUES (9, 2);"
                             "UPDATE TB_PLANOS SET LG_TOTAL_LIVRE_ESCOLHA = NULL;"
                             "INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, LG_CONSISTENTE) VALUES "
                             "('123456', 8, 'NAO CONFERIDO', 'N');"));
    TVerificacaoPlanos v(banco(), *exportacao, operadora);
    // The network rules already failed: the walk ends after the first establishment.
    EXPECT_EQ(v.VerificacaoInicial(plano()), std::make_pair(false, false));
    EXPECT_EQ(linhas().size(), 3) << linhas().join('\n').toStdString();
    EXPECT_TRUE(linhas().at(0).startsWith(QStringLiteral("Rede Vinculada/Livre Escolha|")));
    EXPECT_TRUE(linhas().at(1).startsWith(QStringLiteral("Disponibilidade de Serviços|")));
    EXPECT_TRUE(linhas().at(2).startsWith(QStringLiteral("Plano opera exclusivamente como Livre Escolha|")));
    // A plan not marked consistent is left as it is.
    EXPECT_EQ(v.VerificacaoInicial(plano(8)), std::make_pair(false, false));
    EXPECT_EQ(linhas().size(), 3);
}
