// Start-up of the database: compaction, opening, upgrades, fix-ups, the
// municipality merge, stored protocols and pending return files.
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include "apoio/Apoio.h"
#include "apoio/VuqTeste.h"
#include "common/MensagemDlg.h"
#include "db/DmConexao.h"
#include "db/PacoteDados.h"

using namespace Apoio;

namespace {

qlonglong conta(Banco& b, const QString& sql, const QVariantList& p = {}) {
    return b.valor(sql, p).toLongLong();
}

// Every table with every row, as text: what "nothing changed" compares.
QString retrato(Banco& b) {
    QString r;
    const Resultado t = b.consulta(QStringLiteral(
        "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"));
    for (const auto& l : t.linhas) {
        const QString nome = l.first().toString();
        r += nome + QStringLiteral(": ") + b.colunasDaTabela(nome).join(',') + '\n';
        for (const auto& linha : b.consulta(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(nome)).linhas) {
            QStringList v;
            for (const auto& c : linha) v << (c.isNull() ? QStringLiteral("<null>") : c.toString());
            r += v.join('|') + '\n';
        }
    }
    return r;
}

class ConexaoTeste : public ::testing::Test {
protected:
    PastaTeste pasta;
    QString caminho;

    void criaAntigo(const QString& extra = QString()) { caminho = criaBanco(pasta.caminho(), Esquema::Antigo, extra); }
    void criaAtual(const QString& extra = QString()) { caminho = criaBanco(pasta.caminho(), Esquema::Atual, extra); }

    // Runs the whole start-up sequence as the program does, then closes.
    QVector<int> inicia() {
        QVector<int> barra;
        TDmConexao c;
        c.DefineBarraProgresso([&](int v) { barra << v; });
        c.AbreBanco();
        return barra;
    }
};

const char* kDadosAntigos = R"SQL(
INSERT INTO OPERADORAS (CD_OPER, CD_CNPJ, NM_RAZAO_SOCIAL, CD_GRUPO_CLASSIFICACAO) VALUES ('123456', '11222333000181', 'OPERADORA A', 29);
INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_STATUS_ENVIO, NR_PROTOCOLO_REGISTRO) VALUES ('123456', 0, 'PLANO ZERO', 1, 'T99-01');
INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_STATUS_ENVIO, NR_PROTOCOLO_REGISTRO) VALUES ('123456', 1, 'PLANO UM', 0, '   ');
INSERT INTO TB_PLANOS_PROTOCOLOS VALUES ('123456', 0, '567-1', '2020-01-02');
INSERT INTO TB_CLAUSULA_OPERADORA (CD_CLAUSULA_OPERADORA, CD_OPER, CD_TIPO_CLAUSULA, DE_CLAUSULA_OPERADORA) VALUES (1, '123456', 10, 'D1');
INSERT INTO TB_CLAUSULA_OPERADORA (CD_CLAUSULA_OPERADORA, CD_OPER, CD_TIPO_CLAUSULA, DE_CLAUSULA_OPERADORA) VALUES (2, '123456', 11, 'D2');
INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, CD_OPER, RAZAO_SOCIAL_ESTB_SAUD) VALUES (1, '123456', 'HOSPITAL');
INSERT INTO RL_PLANOS_ESTAB_SAUDE (CD_OPER, SEQ_PLANO, ID_ESTB_SAUD) VALUES ('123456', 0, 1);
INSERT INTO RL_PLANOS_ESTAB_SAUDE (CD_OPER, SEQ_PLANO, ID_ESTB_SAUD) VALUES ('123456', 0, 77);
INSERT INTO RL_PLANOS_ESTAB_SAUDE (CD_OPER, SEQ_PLANO, ID_ESTB_SAUD) VALUES ('123456', 0, NULL);
INSERT INTO RL_PLANOS_SERV_OPC (CD_OPER, SEQ_PLANO, CD_SERV_OPCIONAL, DE_SERV_OPCIONAL) VALUES ('123456', 0, 3, 'descrição livre');
UPDATE TA_SERVICOS_OPCIONAIS SET DE_SERV_OPCIONAL = 'OUTRO NOME' WHERE CD_SERV_OPCIONAL = 13;
UPDATE TA_TIPO_CLAUSULA SET LG_FAIXA_ETARIA = 'N', LG_SEGMENTACAO = 'N' WHERE CD_TIPO_CLAUSULA IN (18, 24);
)SQL";

}  // namespace

TEST_F(ConexaoTeste, DatabaseFileIsEncryptedAndNeedsThePassword) {
    criaAtual();
    QFile f(caminho);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_NE(f.read(16), QByteArray("SQLite format 3\0", 16));
    f.close();

    Banco semSenha;
    EXPECT_THROW(semSenha.abre(caminho, QByteArray()), ErroBanco);
    Banco senhaErrada;
    try {
        senhaErrada.abre(caminho, QByteArrayLiteral("outra-senha-1"));
        FAIL() << "opened with the wrong password";
    } catch (const ErroBanco& e) {
        EXPECT_FALSE(e.mensagem().isEmpty());
        EXPECT_EQ(e.codigo() & 0xff, 26 /*SQLITE_NOTADB*/);
    }
    EXPECT_EQ(TDmConexao::SenhaBanco().size(), 13);
}

TEST_F(ConexaoTeste, StartUpFailsWithTheEnginesMessageWhenTheFileIsMissingOrForeign) {
    EXPECT_THROW(inicia(), ErroBanco);  // no QEV.mdb: nothing is created
    EXPECT_FALSE(QFileInfo::exists(pasta.arquivo("QEV.mdb")));

    {
        Banco outro;  // a database with another password
        outro.abre(pasta.arquivo("QEV.mdb"), QByteArrayLiteral("0123456789abc"), true);
        outro.executa(QStringLiteral("CREATE TABLE T (A INTEGER)"));
    }
    try {
        inicia();
        FAIL() << "a foreign database opened";
    } catch (const ErroBanco& e) {
        EXPECT_TRUE(e.mensagem().contains(QStringLiteral("not a database"))) << e.what();
    }
}

TEST_F(ConexaoTeste, OldDatabaseIsUpgradedOnceAndFixUpsRepeatHarmlessly) {
    criaAntigo(QString::fromUtf8(kDadosAntigos));
    const QVector<int> barra = inicia();
    EXPECT_EQ(barra, QVector<int>({80}));

    auto b = abreBanco(caminho);
    // 5. classification 29 folded into 28
    EXPECT_EQ(conta(*b, "SELECT CD_GRUPO_CLASSIFICACAO FROM OPERADORAS"), 28);
    EXPECT_EQ(conta(*b, "SELECT count(*) FROM TA_CLASSIF_OPERADORA WHERE CD_GRUPO_CLASSIFICACAO = 29"), 0);
    // 6. theme columns with their values
    EXPECT_EQ(conta(*b, "SELECT CD_CLASS_CLAUSULA FROM TA_TIPO_CLAUSULA WHERE CD_TIPO_CLAUSULA = 3"), 1);
    EXPECT_EQ(conta(*b, "SELECT CD_CLASS_CLAUSULA FROM TA_TIPO_CLAUSULA WHERE CD_TIPO_CLAUSULA = 32"), 2);
    EXPECT_EQ(conta(*b, "SELECT count(*) FROM TA_TIPO_CLAUSULA WHERE CD_CLASS_CLAUSULA IS NULL AND CD_TIPO_CLAUSULA <= 32"), 0);
    EXPECT_EQ(conta(*b, "SELECT count(*) FROM TA_TIPO_CLAUSULA WHERE NR_ORDEM_EXIBICAO <> CD_TIPO_CLAUSULA"), 0);
    EXPECT_EQ(b->valor("SELECT DT_PUBLICACAO_FIM FROM TA_TIPO_CLAUSULA WHERE CD_TIPO_CLAUSULA = 27").toString(),
              QStringLiteral("2009-10-15"));
    EXPECT_FALSE(b->valor("SELECT DT_PUBLICACAO_FIM FROM TA_TIPO_CLAUSULA WHERE CD_TIPO_CLAUSULA = 10").isValid());
    // 8. plan columns
    for (const char* c : {"LG_TOTAL_LIVRE_ESCOLHA", "NM_ARQ_RETORNO", "LG_TERMO_ASSUNCAO"})
        EXPECT_TRUE(b->colunasDaTabela("TB_PLANOS").contains(QString::fromLatin1(c))) << c;
    // 9. protocols normalised, the all-blank one kept
    EXPECT_EQ(b->valor("SELECT NR_PROTOCOLO_REGISTRO FROM TB_PLANOS WHERE SEQ_PLANO = 0").toString(), "99");
    EXPECT_EQ(b->valor("SELECT NR_PROTOCOLO_REGISTRO FROM TB_PLANOS WHERE SEQ_PLANO = 1").toString(), "   ");
    EXPECT_EQ(b->valor("SELECT NR_PROTOCOLO_REENVIO FROM TB_PLANOS_PROTOCOLOS").toString(), "567");
    // 11. reference fix-ups
    EXPECT_EQ(conta(*b, "SELECT count(*) FROM RL_PLANOS_SERV_OPC WHERE DE_SERV_OPCIONAL IS NOT NULL"), 0);
    EXPECT_EQ(b->valor("SELECT DE_SERV_OPCIONAL FROM TA_SERVICOS_OPCIONAIS WHERE CD_SERV_OPCIONAL = 13").toString(), "Outros");
    EXPECT_EQ(b->valor("SELECT LG_SEGMENTACAO FROM TA_TIPO_CLAUSULA WHERE CD_TIPO_CLAUSULA = 18").toString(), "S");
    EXPECT_EQ(conta(*b, "SELECT count(*) FROM TA_TIPO_CLAUSULA WHERE CD_TIPO_CLAUSULA IN (10,13,14,22,23,28,29) AND LG_TIPO_CONTRATO = 'S'"), 7);
    // 12. every existing device gets 0
    EXPECT_EQ(conta(*b, "SELECT count(*) FROM TB_CLAUSULA_OPERADORA WHERE CD_PUBLICADO = 0"), 2);
    // 13.
    EXPECT_EQ(b->valor("SELECT LG_FAIXA_ETARIA FROM TA_TIPO_CLAUSULA WHERE CD_TIPO_CLAUSULA = 24").toString(), "S");
    // 14. the orphan link is gone, the other one stays
    EXPECT_EQ(conta(*b, "SELECT count(*) FROM RL_PLANOS_ESTAB_SAUDE"), 1);
    EXPECT_EQ(conta(*b, "SELECT ID_ESTB_SAUD FROM RL_PLANOS_ESTAB_SAUDE"), 1);

    // Second start: the columns exist, so nothing is added, and the rest gives the same result.
    const QString depoisDaPrimeira = retrato(*b);
    b.reset();
    inicia();
    b = abreBanco(caminho);
    EXPECT_EQ(retrato(*b), depoisDaPrimeira);
}

TEST_F(ConexaoTeste, UnguardedFixUpsRunOnACurrentDatabaseEveryStart) {
    criaAtual(QStringLiteral(
        "INSERT INTO TB_CLAUSULA_OPERADORA (CD_CLAUSULA_OPERADORA, CD_OPER, CD_TIPO_CLAUSULA, CD_PUBLICADO) VALUES (5, '123456', 10, NULL);"
        "INSERT INTO RL_PLANOS_SERV_OPC (CD_OPER, SEQ_PLANO, CD_SERV_OPCIONAL, DE_SERV_OPCIONAL) VALUES ('123456', 0, 13, 'x');"
        "UPDATE TA_TIPO_CLAUSULA SET NR_ORDEM_EXIBICAO = 99 WHERE CD_TIPO_CLAUSULA = 19;"));
    inicia();
    auto b = abreBanco(caminho);
    // the guarded updates did not run: the columns were there
    EXPECT_FALSE(b->valor("SELECT CD_PUBLICADO FROM TB_CLAUSULA_OPERADORA").isValid());
    EXPECT_EQ(conta(*b, "SELECT NR_ORDEM_EXIBICAO FROM TA_TIPO_CLAUSULA WHERE CD_TIPO_CLAUSULA = 19"), 99);
    // the unguarded ones did
    EXPECT_FALSE(b->valor("SELECT DE_SERV_OPCIONAL FROM RL_PLANOS_SERV_OPC").isValid());
}

TEST_F(ConexaoTeste, ColumnOperationsTranslateTypesAndCompareNamesExactly) {
    criaAtual();
    TDmConexao c;
    c.banco().abre(caminho, TDmConexao::SenhaBanco());
    EXPECT_TRUE(c.ExisteCampo("CD_OPER", "OPERADORAS"));
    EXPECT_FALSE(c.ExisteCampo("cd_oper", "OPERADORAS"));  // letter case counts
    EXPECT_FALSE(c.ExisteCampo("CD_OPER", "TABELA_QUE_NAO_EXISTE"));

    c.CriaCampo("CAMPO_TEXTO", "OPERADORAS", 3, "texto");
    c.CriaCampo("CAMPO_DATA", "OPERADORAS", 0, "DATA");
    c.CriaCampo("CAMPO_NADA", "OPERADORAS", 0, "PALAVRA");  // unknown word: nothing
    EXPECT_TRUE(c.ExisteCampo("CAMPO_TEXTO", "OPERADORAS"));
    EXPECT_TRUE(c.ExisteCampo("CAMPO_DATA", "OPERADORAS"));
    EXPECT_FALSE(c.ExisteCampo("CAMPO_NADA", "OPERADORAS"));
    // a sized text keeps its limit
    c.ExecutaComando("INSERT INTO OPERADORAS (CD_OPER, CAMPO_TEXTO) VALUES ('000001', 'abc')");
    EXPECT_THROW(c.ExecutaComando("INSERT INTO OPERADORAS (CD_OPER, CAMPO_TEXTO) VALUES ('000002', 'abcd')"), ErroBanco);

    EXPECT_FALSE(c.GaranteCampo("OPERADORAS", "NOVO_INT", 5, "INTEGER"));
    EXPECT_TRUE(c.GaranteCampo("OPERADORAS", "NOVO_INT", 5, "INTEGER"));
    // a name that is not a plain identifier never reaches a statement
    EXPECT_THROW(c.CriaCampo("X; DROP TABLE OPERADORAS", "OPERADORAS", 0, "INTEIRO"), ErroQev);
    EXPECT_TRUE(c.ExisteCampo("CD_OPER", "OPERADORAS"));
}

TEST(NormalizaProtocolo, Table) {
    const struct {
        const char* entrada;
        const char* saida;
    } casos[] = {
        {"T123-4", "123"}, {"567-1", "567"}, {"t123", "t123"}, {"T99-01", "99"},
        {"   ", "   "},   {"", ""},         {"123", "123"},   {"T", ""},
        {"TT5", "T5"},     {" T5-1", " T5"}, {"-9", ""},      {"12-3-4", "12"},
    };
    for (const auto& c : casos)
        EXPECT_EQ(TDmConexao::NormalizaProtocolo(QString::fromUtf8(c.entrada)), QString::fromUtf8(c.saida))
            << c.entrada;
}

// ---------------------------------------------------------------------------
// Municipalities
// ---------------------------------------------------------------------------

TEST_F(ConexaoTeste, BuiltInListFillsAnEmptyTableAndNeverRenames) {
    criaAtual(QStringLiteral("DELETE FROM TB_MUNICIPIOS;"
                             "INSERT INTO TB_MUNICIPIOS VALUES (1100015, 'RO', 'NOME PRÓPRIO');"));
    inicia();
    auto b = abreBanco(caminho);
    EXPECT_EQ(conta(*b, "SELECT count(*) FROM TB_MUNICIPIOS"), 5570);
    EXPECT_EQ(b->valor("SELECT NM_MUNC FROM TB_MUNICIPIOS WHERE ID_MUNC = 1100015").toString(), "NOME PRÓPRIO");
    EXPECT_EQ(b->valor("SELECT NM_MUNC FROM TB_MUNICIPIOS WHERE ID_MUNC = 5300108").toString(), "BRASILIA");
    EXPECT_EQ(b->valor("SELECT NM_MUNC FROM TB_MUNICIPIOS WHERE ID_MUNC = 1100023").toString(), "ARIQUEMES");
    EXPECT_EQ(conta(*b, "SELECT count(*) FROM TB_MUNICIPIOS WHERE CD_UF = 'MG'"), 853);
    EXPECT_EQ(conta(*b, "SELECT count(*) FROM TB_MUNICIPIOS WHERE NM_MUNC = ?", {QStringLiteral("ALTA FLORESTA D'OESTE")}), 0);
    EXPECT_EQ(conta(*b, "SELECT count(*) FROM TB_MUNICIPIOS WHERE NM_MUNC = ?", {QStringLiteral("SANTA BARBARA D'OESTE")}), 1);
    EXPECT_FALSE(QFileInfo::exists(pasta.arquivo("Municipio.xml")));
}

TEST_F(ConexaoTeste, UnreadableListAddsNothing) {
    criaAtual(QStringLiteral("DELETE FROM TB_MUNICIPIOS WHERE CD_UF = 'SP';"));
    const QString lixo = pasta.arquivo("lixo.bin");
    {
        QFile f(lixo);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<DATAPACKET Version=\"2.0\"><METADATA><FIELDS><FIELD attrname=\"ID_MUNC\"");  // truncated
    }
    TDmConexao c;
    c.DefineOrigemMunicipios(lixo);
    c.AbreBanco();
    EXPECT_EQ(conta(c.banco(), "SELECT count(*) FROM TB_MUNICIPIOS WHERE CD_UF = 'SP'"), 0);
    EXPECT_EQ(conta(c.banco(), "SELECT count(*) FROM TB_MUNICIPIOS"), 5570 - 645);
    EXPECT_FALSE(QFileInfo::exists(pasta.arquivo("Municipio.xml")));
}

TEST_F(ConexaoTeste, MunicipalityFileThatCannotBeWrittenStopsStartUp) {
    criaAtual();
    // a folder where the file should go: the write fails, even for root
    ASSERT_TRUE(QDir().mkpath(pasta.arquivo("Municipio.xml")));
    try {
        inicia();
        FAIL() << "started without writing the municipality file";
    } catch (const ErroQev& e) {
        EXPECT_TRUE(e.mensagem().contains(QStringLiteral("Municipio.xml"))) << e.what();
    }
}

TEST(PacoteDados, WritesAndReadsBackWithApostrophesAndNulls) {
    PacoteDados p;
    p.campos = {{"ID", "string", 7}, {"NOME", "string", 50}};
    p.linhas = {{"1", "D'OESTE & <CIA> \"X\""}, {"2", QString()}};
    const QByteArray xml = p.escreve();
    EXPECT_TRUE(xml.contains("D&apos;OESTE &amp; &lt;CIA&gt; &quot;X&quot;"));
    const PacoteDados lido = PacoteDados::le(xml);
    ASSERT_EQ(lido.linhas.size(), 2);
    EXPECT_EQ(lido.valor(0, "nome"), QStringLiteral("D'OESTE & <CIA> \"X\""));
    EXPECT_TRUE(lido.valor(1, "NOME").isNull());
    EXPECT_EQ(lido.campos.at(0).largura, 7);
    for (const char* ruim : {"", "<html><body>404</body></html>", "<DATAPACKET><ROWDATA>", "\x01\x02\x03"})
        EXPECT_THROW(PacoteDados::le(QByteArray(ruim)), ErroQev) << ruim;
}

TEST(PacoteDados, BuiltInListHasEveryMunicipality) {
    QFile f(QStringLiteral(":/dados/municipios.xml"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const PacoteDados p = PacoteDados::le(f.readAll());
    ASSERT_EQ(p.linhas.size(), 5570);
    EXPECT_EQ(p.valor(0, "ID_MUNC"), "1100015");
    EXPECT_EQ(p.valor(0, "NM_MUNC"), "ALTA FLORESTA D'OESTE");
    EXPECT_EQ(p.valor(5569, "ID_MUNC"), "5300108");
    EXPECT_EQ(p.valor(5569, "CD_UF"), "DF");
}

// ---------------------------------------------------------------------------
// Pending return files of the transfer program
// ---------------------------------------------------------------------------

class RetornosTeste : public ConexaoTeste {
protected:
    void SetUp() override {
        criaAtual(QStringLiteral(
            "INSERT INTO OPERADORAS (CD_OPER, NM_RAZAO_SOCIAL) VALUES ('123456', 'OP');"
            // never sent, its return file arrives
            "INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_STATUS_ENVIO, NM_ARQ_RETORNO) VALUES ('123456', 1, 'P1', NULL, 'A_1.QEV');"
            // sent, same protocol comes back
            "INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_STATUS_ENVIO, NR_PROTOCOLO_REGISTRO, NM_ARQ_RETORNO) VALUES ('123456', 2, 'P2', 1, '500', 'A_2.QEV');"
            // sent, a re-sending's protocol comes back
            "INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_STATUS_ENVIO, NR_PROTOCOLO_REGISTRO, NM_ARQ_RETORNO) VALUES ('123456', 3, 'P3', 1, '600', 'A_3.QEV');"
            // status 1 without protocol: gets it
            "INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_STATUS_ENVIO, NM_ARQ_RETORNO) VALUES ('123456', 4, 'P4', 1, 'A 4.QEV');"
            // released (2): nothing recorded
            "INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_STATUS_ENVIO, NR_PROTOCOLO_REGISTRO, NM_ARQ_RETORNO) VALUES ('123456', 5, 'P5', 2, '700', 'A_5.QEV');"
            // pending name without a file
            "INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_STATUS_ENVIO, NM_ARQ_RETORNO) VALUES ('123456', 6, 'P6', 0, 'A_6.QEV');"
            // nothing pending
            "INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_STATUS_ENVIO) VALUES ('123456', 7, 'P7', 0);"));
    }
};

TEST_F(RetornosTeste, EachStatusIsRecordedAsItShouldAndFilesAreConsumed) {
    VuqInstalado vuq;
    vuq.escreveProtocolo("A_1.QEV", "T111-2", "31/01/2024 14:05:09");
    vuq.escreveProtocolo("A_2.QEV", "T500-1", "01/02/2024 10:00:00");
    vuq.escreveProtocolo("A_3.QEV", "T601", "02/02/2024 11:00:00");
    vuq.escreveProtocolo("A 4.QEV", "444", "03/02/2024 12:00:00");
    vuq.escreveProtocolo("A_5.QEV", "T777", "04/02/2024 13:00:00");
    vuq.escreveProtocolo("OUTRO.QEV", "1", "04/02/2024 13:00:00");
    inicia();

    auto b = abreBanco(caminho);
    auto linha = [&](int seq) {
        return b->consulta("SELECT CD_STATUS_ENVIO, NR_PROTOCOLO_REGISTRO, DT_PROTOCOLO_REGISTRO, NM_ARQ_RETORNO "
                           "FROM TB_PLANOS WHERE SEQ_PLANO = ?", {seq}).linhas.first();
    };
    EXPECT_EQ(linha(1), QVariantList({1, "111", "2024-01-31 14:05:09", QVariant()}));
    EXPECT_EQ(linha(2), QVariantList({1, "500", QVariant(), QVariant()}));
    EXPECT_EQ(linha(3), QVariantList({1, "600", QVariant(), QVariant()}));
    EXPECT_EQ(linha(4), QVariantList({1, "444", "2024-02-03 12:00:00", QVariant()}));
    EXPECT_EQ(linha(5), QVariantList({2, "700", QVariant(), QVariant()}));
    EXPECT_EQ(linha(6), QVariantList({0, QVariant(), QVariant(), QVariant()}));

    const Resultado p = b->consulta("SELECT * FROM TB_PLANOS_PROTOCOLOS ORDER BY SEQ_PLANO");
    ASSERT_EQ(p.numLinhas(), 1);  // only the re-sending of plan 3
    EXPECT_EQ(p.linhas.first(), QVariantList({"123456", 3, "601", "2024-02-02"}));

    QDir protocolos(vuq.pastaProtocolos());
    EXPECT_EQ(protocolos.entryList(QDir::Files), QStringList({"OUTRO.QEV"}));
}

TEST_F(RetornosTeste, ASecondReSendingWithTheSameProtocolAddsNoRow) {
    VuqInstalado vuq;
    vuq.escreveProtocolo("A_3.QEV", "601", "02/02/2024 11:00:00");
    inicia();
    {
        auto b = abreBanco(caminho);
        b->executa("UPDATE TB_PLANOS SET NM_ARQ_RETORNO = 'B_3.QEV' WHERE SEQ_PLANO = 3");
    }
    vuq.escreveProtocolo("B_3.QEV", "T601-9", "05/02/2024 11:00:00");
    inicia();
    auto b = abreBanco(caminho);
    EXPECT_EQ(conta(*b, "SELECT count(*) FROM TB_PLANOS_PROTOCOLOS WHERE SEQ_PLANO = 3"), 1);
}

// A protocol that cannot be read today never locks the user out: one warning naming
// the plans and files, the pending names and the files kept, and a later start that
// can read them records them.
TEST_F(RetornosTeste, AProtocolThatCannotBeReadWarnsOnceAndIsReadOnALaterStart) {
    const struct {
        const char* caso;
        bool instalado;
        const char* conteudo;  // of A_1.QEV
        const char* motivo;
    } casos[] = {
        {"programa ausente", false, nullptr, "O VUQ não está instalado"},
        {"arquivo ilegível", true, "<protocolo><protocoloTX>1</protocolo", "A_1.QEV"},
        {"data ilegível", true, nullptr, "não é uma data válida"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        QFile::remove(caminho);
        SetUp();
        Mensageiro msgs;
        VuqInstalado vuq;
        const QString arquivo = vuq.pastaProtocolos() + "A_1.QEV";
        if (c.conteudo) {
            QFile f(arquivo);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.conteudo);
        } else {
            vuq.escreveProtocolo("A_1.QEV", "T111-2", c.instalado ? "31/13/2024" : "31/01/2024 14:05:09");
        }
        if (!c.instalado) vuq.desinstala();
        EXPECT_NO_THROW(inicia());

        ASSERT_EQ(msgs.pedidos().size(), 1);
        const Mensagens::Pedido aviso = msgs.pedidos().first();
        EXPECT_EQ(aviso.tipo, Mensagens::Cuidado);
        EXPECT_TRUE(aviso.texto.contains(QStringLiteral("Plano 1 - P1, arquivo \"A_1.QEV\""))) << aviso.texto.toStdString();
        EXPECT_TRUE(aviso.texto.contains(QString::fromUtf8(c.motivo))) << aviso.texto.toStdString();
        EXPECT_TRUE(QFileInfo::exists(arquivo));
        {
            auto b = abreBanco(caminho);
            EXPECT_EQ(Apoio::coluna(*b, "SELECT NM_ARQ_RETORNO FROM TB_PLANOS WHERE SEQ_PLANO = 1"),
                      QStringList({"A_1.QEV"}));
            // without the program every pending name stays; with it only the unreadable one
            EXPECT_EQ(conta(*b, "SELECT count(*) FROM TB_PLANOS WHERE NM_ARQ_RETORNO IS NOT NULL"),
                      c.instalado ? 1 : 6);
        }

        // The next start, once the file can be read, records it and says nothing.
        vuq.instala();
        vuq.escreveProtocolo("A_1.QEV", "T111-2", "31/01/2024 14:05:09");
        msgs.limpa();
        inicia();
        EXPECT_TRUE(msgs.pedidos().isEmpty());
        auto b = abreBanco(caminho);
        EXPECT_EQ(Apoio::coluna(*b, "SELECT CD_STATUS_ENVIO || '|' || NR_PROTOCOLO_REGISTRO FROM TB_PLANOS "
                                    "WHERE SEQ_PLANO = 1"),
                  QStringList({"1|111"}));
        EXPECT_EQ(conta(*b, "SELECT count(*) FROM TB_PLANOS WHERE NM_ARQ_RETORNO IS NOT NULL"), 0);
        EXPECT_FALSE(QFileInfo::exists(arquivo));
    }
}

// A protocol the database cannot hold (a number longer than the column, no number at
// all) is an unreadable one: named in the one warning, kept pending with its file, and
// every other protocol of the same start is recorded.
TEST_F(RetornosTeste, AProtocolTheDatabaseCannotHoldIsKeptPendingAndTheOthersAreRecorded) {
    Mensageiro msgs;
    VuqInstalado vuq;
    const QString longo = QStringLiteral("1234567890123456789012345678901");  // 31
    vuq.escreveProtocolo("A_1.QEV", longo, "31/01/2024 14:05:09");
    vuq.escreveProtocolo("A_2.QEV", "T500-1", "01/02/2024 10:00:00");
    vuq.escreveProtocolo("A_3.QEV", "T601", "02/02/2024 11:00:00");
    {  // no protocoloTX element at all
        QFile f(vuq.pastaProtocolos() + "A 4.QEV");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<protocolo><operadora>123456</operadora>"
                "<dataTransmissao>03/02/2024 12:00:00</dataTransmissao></protocolo>");
    }
    vuq.escreveProtocolo("A_5.QEV", "T-", "04/02/2024 13:00:00");  // nothing left once normalised
    {
        auto b = abreBanco(caminho);  // plan 5 as never sent, so its file would be recorded
        b->executa("UPDATE TB_PLANOS SET CD_STATUS_ENVIO = 0, NR_PROTOCOLO_REGISTRO = NULL WHERE SEQ_PLANO = 5");
    }
    EXPECT_NO_THROW(inicia());

    ASSERT_EQ(msgs.pedidos().size(), 1);
    const QString aviso = msgs.pedidos().first().texto;
    EXPECT_TRUE(aviso.contains(QStringLiteral("Plano 1 - P1, arquivo \"A_1.QEV\""))) << aviso.toStdString();
    EXPECT_TRUE(aviso.contains(longo)) << aviso.toStdString();
    EXPECT_TRUE(aviso.contains(QStringLiteral("Plano 4 - P4, arquivo \"A 4.QEV\""))) << aviso.toStdString();
    EXPECT_TRUE(aviso.contains(QStringLiteral("Plano 5 - P5, arquivo \"A_5.QEV\""))) << aviso.toStdString();
    EXPECT_FALSE(aviso.contains(QStringLiteral("A_2.QEV")));
    EXPECT_FALSE(aviso.contains(QStringLiteral("A_3.QEV")));

    auto b = abreBanco(caminho);
    EXPECT_EQ(Apoio::coluna(*b, "SELECT SEQ_PLANO || '|' || COALESCE(CD_STATUS_ENVIO, '-') || '|' || "
                                "COALESCE(NR_PROTOCOLO_REGISTRO, '-') || '|' || COALESCE(NM_ARQ_RETORNO, '-') "
                                "FROM TB_PLANOS ORDER BY SEQ_PLANO"),
              (QStringList{"1|-|-|A_1.QEV", "2|1|500|-", "3|1|600|-", "4|1|-|A 4.QEV", "5|0|-|A_5.QEV",
                           "6|0|-|-", "7|0|-|-"}));
    EXPECT_EQ(Apoio::coluna(*b, "SELECT NR_PROTOCOLO_REENVIO FROM TB_PLANOS_PROTOCOLOS"), QStringList{"601"});
    QStringList ficaram = QDir(vuq.pastaProtocolos()).entryList(QDir::Files);
    std::sort(ficaram.begin(), ficaram.end());
    EXPECT_EQ(ficaram, (QStringList{"A 4.QEV", "A_1.QEV", "A_5.QEV"}));

    // Once the file holds a protocol that can be stored, a later start records it.
    vuq.escreveProtocolo("A_1.QEV", "T111-2", "31/01/2024 14:05:09");
    QFile::remove(vuq.pastaProtocolos() + "A 4.QEV");
    QFile::remove(vuq.pastaProtocolos() + "A_5.QEV");
    b.reset();
    msgs.limpa();
    inicia();
    EXPECT_TRUE(msgs.pedidos().isEmpty());
    b = abreBanco(caminho);
    EXPECT_EQ(Apoio::coluna(*b, "SELECT CD_STATUS_ENVIO || '|' || NR_PROTOCOLO_REGISTRO FROM TB_PLANOS "
                                "WHERE SEQ_PLANO = 1"),
              QStringList({"1|111"}));
    EXPECT_EQ(conta(*b, "SELECT count(*) FROM TB_PLANOS WHERE NM_ARQ_RETORNO IS NOT NULL"), 0);
}

TEST_F(RetornosTeste, NoPendingFileNeedsNoTransferProgram) {
    {
        auto b = abreBanco(caminho);
        b->executa("UPDATE TB_PLANOS SET NM_ARQ_RETORNO = NULL");
    }
    VuqInstalado vuq;
    vuq.desinstala();
    EXPECT_NO_THROW(inicia());
}

// ---------------------------------------------------------------------------
// Compaction
// ---------------------------------------------------------------------------

TEST_F(ConexaoTeste, CompactionShrinksKeepsEveryRowAndStaysEncrypted) {
    QString muitos = QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 4000) "
                                    "INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, CD_OPER, RAZAO_SOCIAL_ESTB_SAUD) "
                                    "SELECT i, '123456', printf('HOSPITAL %05d COM UM NOME BEM COMPRIDO', i) FROM n;"
                                    "DELETE FROM TB_ESTAB_SAUDE WHERE ID_ESTB_SAUD > 100;");
    criaAtual(muitos);
    const qint64 antes = QFileInfo(caminho).size();
    TDmConexao c;
    EXPECT_TRUE(c.CompactaBanco(caminho));
    EXPECT_LT(QFileInfo(caminho).size(), antes);
    EXPECT_FALSE(QFileInfo::exists(caminho + "x"));
    QFile f(caminho);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_NE(f.read(16), QByteArray("SQLite format 3\0", 16));
    auto b = abreBanco(caminho);
    EXPECT_EQ(conta(*b, "SELECT count(*) FROM TB_ESTAB_SAUDE"), 100);
    EXPECT_EQ(conta(*b, "SELECT count(*) FROM TB_MUNICIPIOS"), 5570);
}

// Under the exclusive lock no other copy runs: a copy left beside the database can only
// be an earlier compaction of ours that did not finish. It never stops compaction for good.
TEST_F(ConexaoTeste, ALeftoverCompactionCopyIsRemovedAndTheDatabaseCompacted) {
    criaAtual(QStringLiteral(
        "INSERT INTO OPERADORAS (CD_OPER) VALUES ('123456');"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
        "INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, CD_OPER, RAZAO_SOCIAL_ESTB_SAUD) "
        "SELECT i, '123456', printf('HOSPITAL %05d COM UM NOME BEM COMPRIDO', i) FROM n;"
        "DELETE FROM TB_ESTAB_SAUDE WHERE ID_ESTB_SAUD > 100;"));
    {
        QFile sobra(caminho + "x");  // an interrupted copy: half a file
        ASSERT_TRUE(sobra.open(QIODevice::WriteOnly));
        sobra.write(QByteArray(1000, 'z'));
    }
    const qint64 antes = QFileInfo(caminho).size();
    {
        TDmConexao c;
        EXPECT_TRUE(c.CompactaBanco(caminho));
    }
    EXPECT_FALSE(QFileInfo::exists(caminho + "x"));
    EXPECT_LT(QFileInfo(caminho).size(), antes);
    EXPECT_NO_THROW(inicia());
    EXPECT_FALSE(QFileInfo::exists(caminho + "x"));
    auto b = abreBanco(caminho);
    EXPECT_EQ(conta(*b, "SELECT count(*) FROM OPERADORAS"), 1);
    EXPECT_EQ(conta(*b, "SELECT count(*) FROM TB_ESTAB_SAUDE"), 100);
}

// A database missing beside a whole copy of it (lost between the removal of the old file
// and the renaming of the copy): the copy is put back when it opens and passes the
// integrity check; a damaged copy is left for a person to look at, and nothing opens.
TEST_F(ConexaoTeste, AWholeCopyStandsInForAMissingDatabase) {
    criaAtual(QStringLiteral("INSERT INTO OPERADORAS (CD_OPER) VALUES ('123456');"));
    ASSERT_TRUE(QFile::rename(caminho, caminho + "x"));
    EXPECT_NO_THROW(inicia());
    EXPECT_FALSE(QFileInfo::exists(caminho + "x"));
    {
        auto b = abreBanco(caminho);
        EXPECT_EQ(conta(*b, "SELECT count(*) FROM OPERADORAS"), 1);
    }

    QFile f(caminho);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray metade = f.read(f.size() / 2);
    f.close();
    ASSERT_TRUE(QFile::remove(caminho));
    {
        QFile sobra(caminho + "x");
        ASSERT_TRUE(sobra.open(QIODevice::WriteOnly));
        sobra.write(metade);
    }
    EXPECT_THROW(inicia(), ErroQev);
    EXPECT_FALSE(QFileInfo::exists(caminho));
    EXPECT_TRUE(QFileInfo::exists(caminho + "x"));
}

TEST_F(ConexaoTeste, CompactionKeepsTheFilesPermissions) {
    criaAtual(QStringLiteral("INSERT INTO OPERADORAS (CD_OPER) VALUES ('123456');"));
    const auto modo = [&] {
        struct stat st {};
        EXPECT_EQ(::stat(QFile::encodeName(caminho).constData(), &st), 0);
        return st.st_mode & 07777;
    };
    for (const mode_t m : {mode_t(0600), mode_t(0660), mode_t(0644)}) {
        ASSERT_EQ(::chmod(QFile::encodeName(caminho).constData(), m), 0);
        const ino_t antes = [&] { struct stat st {}; ::stat(QFile::encodeName(caminho).constData(), &st); return st.st_ino; }();
        EXPECT_NO_THROW(inicia());
        struct stat depois {};
        ASSERT_EQ(::stat(QFile::encodeName(caminho).constData(), &depois), 0);
        EXPECT_NE(depois.st_ino, antes) << "the file was compacted (replaced by its copy)";
        EXPECT_EQ(modo(), m);
    }
}

TEST_F(ConexaoTeste, CompactionIsSkippedWhileAnotherCopyHasTheDatabaseOpen) {
    criaAtual(QStringLiteral("INSERT INTO OPERADORAS (CD_OPER) VALUES ('123456');"));
    TDmConexao primeira;
    primeira.AbreBanco();  // holds the database for its whole run
    primeira.ExecutaComando("INSERT INTO OPERADORAS (CD_OPER) VALUES ('654321')");

    TDmConexao segunda;
    EXPECT_FALSE(segunda.CompactaBanco(caminho));
    EXPECT_NO_THROW(segunda.AbreBanco());
    EXPECT_EQ(conta(segunda.banco(), "SELECT count(*) FROM OPERADORAS"), 2);
    EXPECT_EQ(conta(primeira.banco(), "SELECT count(*) FROM OPERADORAS"), 2);
}

TEST_F(ConexaoTeste, AWriteBlockedByTheOtherCopyWaitsThenReportsTheLock) {
    criaAtual();
    TDmConexao a;
    a.AbreBanco();
    TDmConexao b;
    b.AbreBanco();
    b.banco().defineEsperaBloqueio(200);
    a.IniciaTransacao();
    a.ExecutaComando("INSERT INTO OPERADORAS (CD_OPER) VALUES ('123456')");
    try {
        b.ExecutaComando("INSERT INTO OPERADORAS (CD_OPER) VALUES ('654321')");
        FAIL() << "the write was not blocked";
    } catch (const ErroBanco& e) {
        EXPECT_EQ(TraduzErroBanco(e.mensagem()), QStringLiteral("Registro está sendo alterado por outro usuário"));
    }
    a.ConfirmaTransacao();
    EXPECT_NO_THROW(b.ExecutaComando("INSERT INTO OPERADORAS (CD_OPER) VALUES ('654321')"));
    EXPECT_EQ(conta(a.banco(), "SELECT count(*) FROM OPERADORAS"), 2);
}

TEST_F(ConexaoTeste, TransactionsNestAsOneAndRollBack) {
    criaAtual();
    TDmConexao c;
    c.AbreBanco();
    c.IniciaTransacao();
    c.IniciaTransacao();  // already open: nothing
    c.ExecutaComando("INSERT INTO OPERADORAS (CD_OPER) VALUES ('123456')");
    c.DesfazTransacao();
    c.DesfazTransacao();  // none open: nothing
    c.ConfirmaTransacao();
    EXPECT_EQ(conta(c.banco(), "SELECT count(*) FROM OPERADORAS"), 0);
    // a value with quotes and wildcards is data, never SQL
    const QString nome = QStringLiteral("D'AVILA \"%\" ; DROP TABLE OPERADORAS; --");
    c.ExecutaComando("INSERT INTO OPERADORAS (CD_OPER, NM_RAZAO_SOCIAL) VALUES ('123456', ?)", {nome});
    Consulta& q = c.AbreConsulta("SELECT NM_RAZAO_SOCIAL FROM OPERADORAS WHERE NM_RAZAO_SOCIAL = :NOME",
                                 ParamsNomeados{{"NOME", nome}});
    ASSERT_FALSE(q.Eof());
    EXPECT_EQ(q.campo("nm_razao_social").toString(), nome);
}

// A start-up killed at any moment (compaction included) leaves a database that
// opens with every row.
TEST_F(ConexaoTeste, StartUpKilledAtAnyMomentLosesNothing) {
    criaAtual(QStringLiteral(
        "INSERT INTO OPERADORAS (CD_OPER) VALUES ('123456');"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 30000) "
        "INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, CD_OPER, RAZAO_SOCIAL_ESTB_SAUD) "
        "SELECT i, '123456', printf('HOSPITAL %05d', i) FROM n;"
        "DELETE FROM TB_ESTAB_SAUDE WHERE ID_ESTB_SAUD % 3 = 0;"));
    const QString programa = QStringLiteral(QEV_DIR_BIN "/qev-inicia-banco");
    ASSERT_TRUE(QFileInfo::exists(programa));

    // How long one whole start-up takes here, to spread the kills over it.
    QElapsedTimer relogio;
    relogio.start();
    ASSERT_EQ(QProcess::execute(programa, {pasta.caminho()}), 0);
    const qint64 duracao = qMax<qint64>(relogio.elapsed(), 20);

    for (int i = 0; i < 12; ++i) {
        QProcess p;
        p.start(programa, {pasta.caminho()});
        ASSERT_TRUE(p.waitForStarted());
        QThread::msleep(duracao * i / 10);
        p.kill();
        p.waitForFinished();
        {
            auto b = abreBanco(caminho);
            ASSERT_EQ(b->valor("PRAGMA quick_check").toString(), QStringLiteral("ok")) << "kill " << i;
            ASSERT_EQ(conta(*b, "SELECT count(*) FROM TB_ESTAB_SAUDE"), 20000) << "kill " << i;
            ASSERT_EQ(conta(*b, "SELECT count(*) FROM OPERADORAS"), 1) << "kill " << i;
        }
        QFile::remove(caminho + "x");  // a copy left by a killed compaction: let the next one run
    }
    EXPECT_EQ(QProcess::execute(programa, {pasta.caminho()}), 0);
}
