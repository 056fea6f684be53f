// The plan data modules: numbering of plans and notes, the related sets and what they
// write, the cascade delete, the theme helpers, the note and tax checks, the list of
// plans without network.
#include "ApoioPlanos.h"

using namespace ApoioPlanos;

namespace {

class DmInfoPlanoTeste : public Base {
protected:
    RowSet& planos() { return *dm->cdsPlano(); }
    void abrePlanos() {
        dm->AbrePlanos();
        ASSERT_TRUE(planos().Ativo());
    }
    void vaiPara(int seq) { ASSERT_TRUE(planos().Locate(QStringLiteral("SEQ_PLANO"), seq)); }
};

// --- numbering ------------------------------------------------------------------

TEST_F(DmInfoPlanoTeste, PlanNumbersAreTheLargestOfEveryOperatorPlusOneAndANewPlanHasItsDefaults) {
    inicia();
    const struct {
        const char* nome;
        QString linhas;
        qlonglong esperado;
    } casos[] = {
        {"tabela vazia", QString(), 0},
        {"só o plano 0", plano(0, "P0"), 1},
        {"maior de outra operadora", plano(3, "P3") + plano(7, "OUTRA", 1, 2, 0, kOutraOperadora), 8},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        banco().executa(QStringLiteral("DELETE FROM TB_PLANOS"));
        if (!c.linhas.isEmpty()) banco().executaScript(c.linhas);
        abrePlanos();
        planos().Append();
        EXPECT_EQ(planos().Valor(QStringLiteral("SEQ_PLANO")).toLongLong(), c.esperado);
        EXPECT_EQ(planos().Valor(QStringLiteral("CD_OPER")).toString(),
                  QString::fromLatin1(kOperadora));
        for (const char* f : {"LG_FM_COPARTICIPACAO", "LG_FM_FRANQUIA", "LG_VB_VINCULO_ATIVO",
                              "LG_VB_VINCULO_INATIVO", "LG_VB_SEM_VINCULO"})
            EXPECT_EQ(planos().Valor(QString::fromLatin1(f)).toString(), QStringLiteral("N")) << f;
        EXPECT_TRUE(planos().Nulo(QStringLiteral("CD_STATUS_ENVIO")));
        planos().Cancel();
    }
}

TEST_F(DmInfoPlanoTeste, NoteNumbersAreReadOnceAfterOpeningAndThenCounted) {
    inicia(plano(1, "P1"));
    abrePlanos();
    RowSet& notas = *dm->cdsNotaTecnica();
    dm->AbreRelacionado(&notas, QString::fromLatin1(kOperadora), 1);
    EXPECT_EQ(dm->UltimaNota(), -1);
    notas.Append();
    EXPECT_EQ(notas.Valor(QStringLiteral("ID_PLANO_NOTA_TECNICA")).toLongLong(), 1);  // empty table
    notas.DefineValor(QStringLiteral("NR_PROTOCOLO_NOTA_TECNICA"), QStringLiteral("111"));
    notas.Post();
    // another copy writes a note meanwhile: the second new note is counted, not read again
    banco().executa(nota(9, 40, "999"));
    notas.Append();
    EXPECT_EQ(notas.Valor(QStringLiteral("ID_PLANO_NOTA_TECNICA")).toLongLong(), 2);
    notas.Cancel();
    // opening the notes again reads the table again
    dm->AbreRelacionado(&notas, QString::fromLatin1(kOperadora), 1);
    EXPECT_EQ(dm->UltimaNota(), -1);
    notas.Append();
    EXPECT_EQ(notas.Valor(QStringLiteral("ID_PLANO_NOTA_TECNICA")).toLongLong(), 41);
}

// A screen that opens keeps the plans read before only when nothing could have changed them.
TEST_F(DmInfoPlanoTeste, PlansAreKeptForTheNextScreenOnlyWhenNothingWasWrittenSince) {
    inicia(plano(1, "P1") + plano(2, "P2") + plano(3, "P3"));
    const auto nome = [this](int seq) {
        vaiPara(seq);
        return planos().Valor(QStringLiteral("NM_PLANO")).toString();
    };
    const struct {
        const char* caso;
        std::function<void()> antes;
        bool relidos;
        const char* nomeDo2;
    } casos[] = {
        {"nada mudou", [] {}, false, "P2"},
        {"esta conexão gravou", [this] { banco().executa(QStringLiteral("UPDATE TB_PLANOS SET NM_PLANO = 'DESTA' "
                                                                        "WHERE SEQ_PLANO = 2")); },
         true, "DESTA"},
        {"outra cópia gravou", [this] {
             Apoio::abreBanco(banco().caminho())
                 ->executa(QStringLiteral("UPDATE TB_PLANOS SET NM_PLANO = 'DA OUTRA' WHERE SEQ_PLANO = 2"));
         }, true, "DA OUTRA"},
        {"gravação desfeita", [this] {
             banco().iniciaTransacao();
             banco().executa(QStringLiteral("UPDATE TB_PLANOS SET NM_PLANO = 'DESFEITO' WHERE SEQ_PLANO = 2"));
             banco().desfazTransacao();
         }, true, "DA OUTRA"},
        {"alteração do conjunto não gravada", [this] {
             vaiPara(2);
             planos().Edit();
             planos().DefineValor(QStringLiteral("NM_PLANO"), QStringLiteral("SÓ NA MEMÓRIA"));
             planos().Post();
         }, true, "DA OUTRA"},
        {"em edição", [this] {
             vaiPara(2);
             planos().Edit();
             planos().DefineValor(QStringLiteral("NM_PLANO"), QStringLiteral("DIGITANDO"));
         }, true, "DA OUTRA"},
    };
    abrePlanos();
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        vaiPara(3);
        c.antes();
        EXPECT_EQ(dm->GarantePlanos(), c.relidos);
        EXPECT_EQ(planos().RecNo(), 0);  // on the first plan, as a screen opens
        EXPECT_FALSE(planos().EmEdicao());
        EXPECT_EQ(planos().ChangeCount(), 0);
        EXPECT_EQ(nome(2), QString::fromUtf8(c.nomeDo2));
        EXPECT_FALSE(dm->GarantePlanos()) << "lidos de novo sem que nada mudasse";
    }
}

// --- the related sets ---------------------------------------------------------------

TEST_F(DmInfoPlanoTeste, RelatedSetsHoldThePlansRowsAndWriteOnlyTheirOwnTable) {
    inicia(plano(1, "P1") + plano(2, "P2") + hospitalSp(10) + hospitalSp(11) + vinculo(1, 10) +
           vinculo(2, 11) + relacao("RL_PLANOS_UF", "CD_UF", 1, "'SP'") +
           relacao("RL_PLANOS_MUNICIPIO", "ID_MUNC", 1, "3550308") +
           relacao("RL_PLANOS_MUNICIPIO", "ID_MUNC", 1, "3304557") + taxa(1, 5, kTaxa1) +
           taxa(2, 6, kTaxa2));
    abrePlanos();
    vaiPara(1);
    const QString op = QString::fromLatin1(kOperadora);
    RowSet& rede = *dm->cdsPlanoRede();
    dm->GarantePlano(&rede);
    ASSERT_EQ(rede.RecordCount(), 1);
    EXPECT_EQ(rede.Valor(QStringLiteral("ID_ESTB_SAUD")).toInt(), 10);
    EXPECT_EQ(rede.Valor(QStringLiteral("CD_UF")).toString(), QStringLiteral("SP"));
    EXPECT_EQ(rede.Texto(QStringLiteral("CD_CNPJ_ESTB_SAUD")), QStringLiteral("00.000.000/0000-10"));
    EXPECT_EQ(rede.Texto(QStringLiteral("DT_VINCULO")), QStringLiteral("02/01/2024"));
    EXPECT_EQ(rede.campo(QStringLiteral("DT_VINCULO")).legenda(), QStringLiteral("Data Vínculo"));
    EXPECT_TRUE(dm->AbertoPara(&rede, op, 1));
    EXPECT_FALSE(dm->AbertoPara(&rede, op, 2));

    RowSet& munic = *dm->cdsPlanosMunicipio();
    dm->GarantePlano(&munic);
    ASSERT_EQ(munic.RecordCount(), 2);  // by state, then name
    EXPECT_EQ(munic.Valor(QStringLiteral("NM_MUNC")).toString(), QStringLiteral("RIO DE JANEIRO"));

    // a new state row: only the relation's columns are written
    RowSet& ufs = *dm->cdsPlanosUF();
    dm->GarantePlano(&ufs);
    ufs.Append();
    ufs.DefineValor(QStringLiteral("CD_OPER"), op);
    ufs.DefineValor(QStringLiteral("SEQ_PLANO"), 1);
    ufs.DefineValor(QStringLiteral("CD_UF"), QStringLiteral("RJ"));
    ufs.DefineValor(QStringLiteral("NM_UF"), QStringLiteral("Rio de Janeiro"));
    ufs.Post();
    ufs.First();
    ufs.Delete();  // SP
    EXPECT_EQ(ufs.ApplyUpdates(banco()), 2);
    EXPECT_EQ(coluna(QStringLiteral("SELECT CD_UF FROM RL_PLANOS_UF")), QStringList{"RJ"});

    // the tax set binds its lower-case parameters by the same names
    RowSet& taxas = *dm->cdsTaxaRegistro();
    dm->GarantePlano(&taxas);
    ASSERT_EQ(taxas.RecordCount(), 1);
    EXPECT_EQ(taxas.Valor(QStringLiteral("NR_DOCUMENTO_TAXA")).toString(), QString::fromLatin1(kTaxa1));

    // another plan displayed: the sets are closed and reopened for it
    dm->FechaRelacionados();
    for (RowSet* rs : dm->Relacionados()) EXPECT_FALSE(rs->Ativo()) << rs->objectName().toStdString();
    vaiPara(2);
    dm->GarantePlano(&rede);
    EXPECT_EQ(rede.Valor(QStringLiteral("ID_ESTB_SAUD")).toInt(), 11);
}

TEST_F(DmInfoPlanoTeste, CalculatedFieldsAndLookUpsOfThePlanAndItsDevices) {
    inicia(plano(1, "P1") + plano(2, "P2") + plano(3, "P3") +
           QStringLiteral(
               "UPDATE TB_PLANOS SET CD_REGIAO_COBERTURA = 3 WHERE SEQ_PLANO = 1;"
               "UPDATE TB_PLANOS SET CD_REGIAO_COBERTURA = 0 WHERE SEQ_PLANO = 2;"
               "INSERT INTO TA_TIPO_CLAUSULA (CD_TIPO_CLAUSULA, DE_TIPO_CLAUSULA, "
               "NR_ORDEM_EXIBICAO, DT_PUBLICACAO_FIM) VALUES (901, 'TEMA NOVO', 15, NULL), "
               "(902, 'TEMA VELHO', 20, '2009-10-15');"
               "INSERT INTO TB_CLAUSULA_OPERADORA (CD_CLAUSULA_OPERADORA, CD_OPER, "
               "CD_TIPO_CLAUSULA, CD_IDENTIFICACAO_TEXTO, DE_CLAUSULA_OPERADORA) VALUES "
               "(1, '123455', 901, 'A1', 'Dispositivo A'), (2, '123455', 902, 'B2', 'Dispositivo B'), "
               "(3, '345679', 901, 'C3', 'Outro');"
               "INSERT INTO RL_PLANO_CLAUSULA VALUES ('123455', 1, 1), ('123455', 1, 2);"));
    abrePlanos();
    const struct {
        int seq;
        const char* regiao;
    } regioes[] = {{1, "Região 3"}, {2, ""}, {3, ""}};
    for (const auto& r : regioes) {
        vaiPara(r.seq);
        EXPECT_EQ(planos().Valor(QStringLiteral("DE_REGIAO_COBERTURA")).toString(),
                  QString::fromUtf8(r.regiao))
            << r.seq;
    }
    EXPECT_EQ(planos().Valor(QStringLiteral("lkpSegmentacao")).toString(),
              QStringLiteral("Hospitalar com obstetrícia"));
    EXPECT_EQ(planos().Valor(QStringLiteral("lkpAbrangencia")).toString(), QStringLiteral("Nacional"));
    EXPECT_TRUE(planos().Valor(QStringLiteral("lkpSegmentacaoOdonto")).toString().isEmpty());

    vaiPara(1);
    RowSet& disp = *dm->cdsPlanoDispositivo();
    dm->GarantePlano(&disp);
    ASSERT_EQ(disp.RecordCount(), 2);
    disp.DefineIndice(TdmInfoPlano::NomeIndOrdem(), TdmInfoPlano::IndOrdem());
    disp.First();
    EXPECT_EQ(disp.Texto(QStringLiteral("NR_ORDEM_EXIBICAO")), QStringLiteral("XV"));
    disp.Next();
    EXPECT_EQ(disp.Texto(QStringLiteral("NR_ORDEM_EXIBICAO")), QString());  // theme ended
    RowSet& clausula = *dm->cdsPlanoClausula();
    dm->GarantePlano(&clausula);
    EXPECT_EQ(clausula.Valor(QStringLiteral("calcTEMA")).toString(), QStringLiteral("XV - TEMA NOVO"));

    // the device lists of a theme show only the current operator's devices
    dm->AbreTemasDispositivos();
    ASSERT_TRUE(dm->cdsTipoClausula()->Locate(QStringLiteral("CD_TIPO_CLAUSULA"), 901));
    EXPECT_EQ(dm->cdsClausulas()->RecordCount(), 1);
    EXPECT_EQ(dm->cdsClausulas()->Valor(QStringLiteral("calcDispositivo")).toString(),
              QStringLiteral("A1 - Dispositivo A"));
}

// --- deletion ----------------------------------------------------------------------

const char* const kTabelasRelacionadas[] = {
    "RL_PLANOS_TIPO_COBERTURA", "RL_PLANOS_SERV_OPC",    "RL_PLANO_CLAUSULA",
    "RL_PLANOS_MUNICIPIO",      "RL_PLANO_NOTA_TECNICA", "RL_PLANOS_ESTAB_SAUDE",
    "RL_PLANO_TAXA_REGISTRO",   "RL_PLANOS_UF"};

QString tudoDoPlano(int seq, int base) {
    return relacao("RL_PLANOS_TIPO_COBERTURA", "CD_TIPO_COBERTURA", seq, QStringLiteral("1")) +
           relacao("RL_PLANOS_SERV_OPC", "CD_SERV_OPCIONAL", seq, QStringLiteral("2")) +
           relacao("RL_PLANO_CLAUSULA", "CD_CLAUSULA_OPERADORA", seq, QStringLiteral("77")) +
           relacao("RL_PLANOS_MUNICIPIO", "ID_MUNC", seq, QStringLiteral("3550308")) +
           nota(seq, base, "123") + vinculo(seq, 10) + taxa(seq, base, kTaxa1) +
           relacao("RL_PLANOS_UF", "CD_UF", seq, QStringLiteral("'SP'"));
}

class ExclusaoTeste : public DmInfoPlanoTeste {
protected:
    void SetUp() override {
        inicia(plano(1, "P1") + plano(2, "P2") + hospitalSp(10) + tudoDoPlano(1, 1) +
               tudoDoPlano(2, 2));
        abrePlanos();
        vaiPara(1);
    }
    qlonglong linhas(const char* tabela, int seq) {
        return conta(QStringLiteral("SELECT count(*) FROM %1 WHERE SEQ_PLANO = ?")
                         .arg(QLatin1String(tabela)),
                     {seq});
    }
};

TEST_F(ExclusaoTeste, DeletingAPlanEmptiesEveryRelatedTableForThatPlanOnly) {
    dm->ExcluiPlano();
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM TB_PLANOS WHERE SEQ_PLANO = 1")), 0);
    for (const char* t : kTabelasRelacionadas) {
        EXPECT_EQ(linhas(t, 1), 0) << t;
        EXPECT_EQ(linhas(t, 2), 1) << t;
    }
    EXPECT_EQ(planos().RecordCount(), 1);
    EXPECT_EQ(planos().Valor(QStringLiteral("SEQ_PLANO")).toInt(), 2);
    EXPECT_EQ(planos().ChangeCount(), 0);
}

TEST_F(ExclusaoTeste, AFailingDeletionLeavesThePlanWhole) {
    // the refusal comes late in the cascade, after several tables were emptied
    banco().executa(QStringLiteral(
        "CREATE TRIGGER recusa BEFORE DELETE ON RL_PLANO_TAXA_REGISTRO "
        "BEGIN SELECT RAISE(ABORT, 'exclusão recusada'); END"));
    EXPECT_THROW(dm->ExcluiPlano(), ErroQev);
    EXPECT_EQ(conta(QStringLiteral("SELECT count(*) FROM TB_PLANOS WHERE SEQ_PLANO = 1")), 1);
    for (const char* t : kTabelasRelacionadas) EXPECT_EQ(linhas(t, 1), 1) << t;
    EXPECT_EQ(planos().RecordCount(), 2);
    EXPECT_EQ(planos().ChangeCount(), 0);
    EXPECT_FALSE(banco().emTransacao());
}

// --- theme helpers ------------------------------------------------------------------

TEST_F(DmInfoPlanoTeste, TheFirstFlaggedAttributeOfAThemeNamesItsCharacteristicColumn) {
    const QString temas = QStringLiteral(
        "INSERT INTO TA_TIPO_CLAUSULA (CD_TIPO_CLAUSULA, DE_TIPO_CLAUSULA, LG_OBRIGATORIO, "
        "LG_TIPO_CONTRATO, LG_SEGMENTACAO, LG_ABRANGENCIA, LG_FAIXA_ETARIA, LG_FATOR_MODERADOR, "
        "LG_CLAUSULAS_MULTIPLAS) VALUES "
        "(901, 'OBRIGATÓRIO E ABRANGÊNCIA', 'S', 'N', 'N', 'S', 'N', 'N', 'S'),"
        "(902, 'SÓ OBRIGATÓRIO', 'S', 'N', 'N', 'N', 'N', 'N', 'S'),"
        "(903, 'SEGMENTAÇÃO E FAIXA', 'N', 'N', 'S', 'N', 'S', 'N', 'N'),"
        "(904, 'FATOR', NULL, NULL, NULL, NULL, NULL, 'S', NULL);");
    inicia(temas);
    EXPECT_EQ(dm->CampoCaracteristicaTema(901), QString());  // themes closed
    dm->AbreTiposClausulas();
    const struct {
        int tema;
        const char* campo;
    } casos[] = {{901, "CD_ABRANGENCIA"}, {902, ""}, {903, "CD_SEGMENTACAO"},
                 {904, "CD_FATOR_MODERADOR"}, {999, ""}};
    for (const auto& c : casos) {
        EXPECT_EQ(dm->CampoCaracteristicaTema(c.tema), QString::fromLatin1(c.campo)) << c.tema;
        if (c.tema != 999)
            EXPECT_EQ(dm->cdsTiposClausulas()->Valor(QStringLiteral("CD_TIPO_CLAUSULA")).toInt(),
                      c.tema);
    }
}

TEST_F(DmInfoPlanoTeste, FreeChoiceIsReadForThePlanUnlessItsRowsAreThere) {
    inicia(plano(1, "P1") + plano(2, "P2") +
           relacao("RL_PLANOS_TIPO_COBERTURA", "CD_TIPO_COBERTURA", 2, QStringLiteral("3")));
    abrePlanos();
    vaiPara(1);
    EXPECT_FALSE(dm->PlanoPossuiLivreEscolha());
    vaiPara(2);
    EXPECT_TRUE(dm->PlanoPossuiLivreEscolha());
    // the rows held for the plan count as they stand, unsaved changes included
    dm->cdsPlanoCobertura()->Delete();
    EXPECT_FALSE(dm->PlanoPossuiLivreEscolha());
}

// --- tax documents and notes -----------------------------------------------------------

TEST_F(DmInfoPlanoTeste, TaxDocumentCheck) {
    const QString a = QStringLiteral(
        ": O valor informado no campo \"Número do Documento\" deve ser, no máximo, os 17 dígitos "
        "do campo \"Nosso Número\" do boleto bancário.");
    const QString b = QStringLiteral(
        ": O dígito verificador do valor informado para o \"Número do Documento\" não confere.");
    const QString c = QStringLiteral("Este número não identifica uma Taxa de Registro de Produtos.");
    const struct {
        const char* numero;
        QString mensagem;  // empty = passes
    } casos[] = {
        {"804981234562", {}},
        {"80498000007X", {}},
        {"29409990000000015", {}},
        {"804981234563", QStringLiteral("Taxa 804981234563") + b},
        {"8049812345", QStringLiteral("Taxa 8049812345") + a},
        {"12345678901X", c},
        {"80498000007x", QStringLiteral("Taxa 80498000007x") + a},  // upper-cased before the check
        {"29409990000000000", {}},  // remainder 10: the 17-character form ends in 0
        {"2940999000000000X", QStringLiteral("Taxa 2940999000000000X") + b},
        {"2940999000000001X", QStringLiteral("Taxa 2940999000000001X") + b},
        {"804981234562 ", {}},  // a number followed by a blank skips the check digit
        {" 804981234562", QStringLiteral("Taxa  804981234562") + a},
        {"80498123456X", QStringLiteral("Taxa 80498123456X") + b},
    };
    for (const auto& k : casos) {
        const std::optional<QString> r = TdmInfoPlano::ConfereDocumentoTaxa(QString::fromLatin1(k.numero));
        if (k.mensagem.isEmpty())
            EXPECT_FALSE(r.has_value()) << k.numero << ": " << r.value_or(QString()).toStdString();
        else
            EXPECT_EQ(r.value_or(QStringLiteral("(passou)")), k.mensagem) << k.numero;
    }
    EXPECT_EQ(TdmInfoPlano::ConfereDocumentoTaxa(QString()), QString());
}

TEST_F(DmInfoPlanoTeste, StoredTaxRowsAreUpperCasedCheckedWithMessagesAndBlankOnesDropped) {
    inicia(plano(1, "P1"));
    abrePlanos();
    vaiPara(1);
    RowSet& taxas = *dm->cdsTaxaRegistro();
    dm->GarantePlano(&taxas);
    const auto nova = [&](const char* numero) {
        taxas.Append();
        taxas.DefineValor(QStringLiteral("ID_PLANO_TAXA_REGISTRO"), taxas.RecordCount());
        taxas.DefineValor(QStringLiteral("NR_DOCUMENTO_TAXA"), QString::fromLatin1(numero));
        taxas.Post();
    };
    nova("80498000007x");
    EXPECT_EQ(taxas.Valor(QStringLiteral("NR_DOCUMENTO_TAXA")).toString(), QStringLiteral("80498000007X"));
    EXPECT_TRUE(mensagens.pedidos().isEmpty());
    EXPECT_THROW(nova("804981234563"), PostAbandonado);
    ASSERT_EQ(mensagens.pedidos().size(), 1);
    EXPECT_EQ(mensagens.pedidos()[0].tipo, Mensagens::Erro);
    EXPECT_TRUE(taxas.EmEdicao());
    taxas.Cancel();
    EXPECT_THROW(nova("   "), PostAbandonado);
    EXPECT_FALSE(taxas.EmEdicao());  // the blank row is dropped without a word
    EXPECT_EQ(mensagens.pedidos().size(), 1);
    EXPECT_EQ(taxas.RecordCount(), 1);

    // the check on the current row, silently: a blank row being typed is abandoned
    taxas.Append();
    EXPECT_FALSE(dm->ValidaDocumentoTaxa(taxas, false));
    EXPECT_FALSE(taxas.EmEdicao());
    taxas.First();
    EXPECT_TRUE(dm->ValidaDocumentoTaxa(taxas, true));
    EXPECT_EQ(mensagens.pedidos().size(), 1);
}

TEST_F(DmInfoPlanoTeste, RepeatedTaxNumbersIgnoreSurroundingBlanks) {
    inicia();
    RowSet lista;
    lista.DefineCampos({[] {
                            Campo c;
                            c.nome = QStringLiteral("id_plano_taxa_Registro");
                            c.tipo = TipoCampo::Inteiro;
                            return c;
                        }(),
                        [] {
                            Campo c;
                            c.nome = QStringLiteral("nr_documento_taxa");
                            return c;
                        }()});
    const struct {
        const char* a;
        const char* b;
        bool repetido;
    } casos[] = {{"804981234562", "  804981234562 ", true},
                 {"804981234562", "804981234563", false},
                 {"804981234562", "", false},
                 {"", " ", true}};
    for (const auto& c : casos) {
        lista.CriaVazio();
        int id = 0;
        for (const char* n : {c.a, c.b}) {
            lista.Append();
            lista.DefineValor(0, ++id);
            lista.DefineValor(1, QString::fromLatin1(n));
            lista.Post();
        }
        lista.Last();
        EXPECT_EQ(dm->ExisteTaxaRepetida(lista), c.repetido) << c.a << "|" << c.b;
        EXPECT_EQ(lista.RecNo(), 1);  // the set stays where it was
    }
}

TEST_F(DmInfoPlanoTeste, NoteFileNameCheckAndItsFormatMessage) {
    inicia();
    const QString formato = QString::fromUtf8(
        "Nome do Arquivo possui nº de caracteres diferente do formato padrão.\r"
        "\r"
        "FORMATO PADRÃO:                              \r"
        "     888888999999999ddmmaahhmmss.nta, onde:  \r"
        "     888888 é o código da operadora na ZUB   \r"
        "     999999999 é o código do registro do plano na ZUB \r"
        "     ddmmaa é a data de geração do arquivo (no próprio formato indicado) \r"
        "     hhmmss é a hora de geração do arquivo (no próprio formato indicado) ");
    EXPECT_EQ(TdmInfoPlano::MensagemFormatoNomeArquivo(), formato);
    EXPECT_EQ(TdmInfoPlano::MensagemFormatoNomeArquivo().toUtf8(), formato.toUtf8());

    const QString op = QString::fromLatin1(kOperadora);
    const struct {
        QString nome;
        QString mensagem;
    } casos[] = {
        {op + QStringLiteral("999999999150620101530.NTA"), {}},
        {op + QStringLiteral("999999999150620101530.nta"), {}},
        {QStringLiteral("111111999999999150620101530.nta"),
         QStringLiteral("Nome do Arquivo não corresponde à Operadora atual.")},
        {op + QStringLiteral("123456789150620101530.nta"),
         QStringLiteral("No campo Nome do Arquivo o registro do plano deve ser igual a 999999999, "
                        "já que se trata de uma Solicitação de Registro de Plano.")},
        {op + QStringLiteral("999999999150620101530.NTA "),
         QStringLiteral("Nome do arquivo possui extensão incorreta.\rA extensão do arquivo deve ser "
                        "\".nta\"")},
        {op + QStringLiteral("99999999915062010153.nta"), formato},
    };
    for (const auto& c : casos) {
        QString m;
        EXPECT_EQ(dm->ValidaNomeArquivoNota(c.nome, m), c.mensagem.isEmpty()) << c.nome.toStdString();
        EXPECT_EQ(m, c.mensagem) << c.nome.toStdString();
    }
    QString anterior = QStringLiteral("outra");
    EXPECT_TRUE(dm->ValidaNomeArquivoNota(QStringLiteral("x"), anterior));
    EXPECT_EQ(anterior, QStringLiteral("outra"));
}

TEST_F(DmInfoPlanoTeste, RepeatedNoteProtocolsAndTheUniqueProtocolAndFileName) {
    inicia(plano(1, "P1") + nota(1, 1, "33902000001", "a.nta") + nota(1, 2, "555"));
    abrePlanos();
    vaiPara(1);
    RowSet& notas = *dm->cdsNotaTecnica();
    dm->GarantePlano(&notas);
    dm->CarregaListaNotas(notas);
    EXPECT_TRUE(dm->NotaRepetida(7, QStringLiteral(" 555 ")));
    EXPECT_FALSE(dm->NotaRepetida(2, QStringLiteral("555")));
    EXPECT_FALSE(dm->NotaRepetida(7, QStringLiteral("5555")));
    notas.Append();
    notas.DefineValor(QStringLiteral("NR_PROTOCOLO_NOTA_TECNICA"), QStringLiteral("33902000001"));
    notas.DefineValor(QStringLiteral("NM_ARQUIVO_NOTA_TECNICA"), QStringLiteral("a.nta"));
    EXPECT_THROW(notas.Post(), ErroQev);
    notas.DefineValor(QStringLiteral("NM_ARQUIVO_NOTA_TECNICA"), QStringLiteral("b.nta"));
    notas.Post();
    EXPECT_EQ(notas.RecordCount(), 3);
}

// --- plans without network -------------------------------------------------------------

TEST_F(DmInfoPlanoTeste, PlansWithoutNetworkAreTheOperatorsNonOdontologicalOnesWithNoLink) {
    inicia(plano(1, "COM REDE") + plano(2, "SEM REDE") + plano(3, "ODONTO", 1, 4) +
           plano(4, "OUTRA OPERADORA", 1, 2, 0, kOutraOperadora) + hospitalSp(10) + vinculo(1, 10));
    EXPECT_EQ(dmPlano->QtdPlanosSemRede(), 1);
    EXPECT_FALSE(dmPlano->cdsSemEstabSaude()->Ativo());
    dmPlano->AbreSemEstabSaude();
    EXPECT_EQ(dmPlano->cdsSemEstabSaude()->Valor(QStringLiteral("NM_PLANO")).toString(),
              QStringLiteral("SEM REDE"));
}

}  // namespace
