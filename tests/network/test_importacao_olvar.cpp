// The import from the predecessor system's database without a screen: recognising
// the file (name, password, tables), the operator test, every check with its message,
// what is copied, and that the file itself is never written.
#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include "ApoioImportacao.h"
#include "network/BaseOlvar.h"
#include "network/ImportacaoOlvar.h"

using namespace ApoioRede;

namespace {

QByteArray resumoArquivo(const QString& caminho) {
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256).toHex() + ' ' +
           QByteArray::number(QFileInfo(caminho).lastModified().toMSecsSinceEpoch());
}

class ImportacaoOlvarTeste : public BaseImportacao {
protected:
    QString zemlo;
    void SetUp() override {
        inicia();
        zemlo = pasta.arquivo(QStringLiteral("Zemlo.mdb"));
    }
    // Writes the predecessor database with these establishments.
    void criaFonte(const QList<QVariantMap>& linhas, const QString& cdOper = kOperadora,
                   const QString& caminho = QString()) {
        BaseOlvar b(caminho.isEmpty() ? zemlo : caminho, cdOper);
        for (const QVariantMap& l : linhas) b.Acrescenta(l);
        b.Conclui();
    }
    ImportacaoOlvar::Totais importa() {
        EXPECT_TRUE(ImportacaoOlvar::Reconhece(*conexao, zemlo));
        ImportacaoOlvar imp(*conexao, kOperadora);
        return imp.Executa();
    }
};

TEST_F(ImportacaoOlvarTeste, TheFileIsRecognisedByNamePasswordAndTables) {
    for (const char* nome : {"Zemlo.mdb", "ZEMLO.MDB", "/dados/antigos/zemlo.Mdb"})
        EXPECT_TRUE(ImportacaoOlvar::NomeReconhecido(QString::fromUtf8(nome))) << nome;
    for (const char* nome : {"Zemlo2.mdb", "QEV.mdb", "Zemlo.mdb.bak", "/Zemlo.mdb/x.mdb", ""})
        EXPECT_FALSE(ImportacaoOlvar::NomeReconhecido(QString::fromUtf8(nome))) << nome;

    criaFonte({BaseOlvar::Gerada(1)});
    EXPECT_TRUE(ImportacaoOlvar::Reconhece(*conexao, zemlo));
    EXPECT_TRUE(conexao->bancoAnterior().aberto());

    const auto recusado = [&](const char* caso) {
        EXPECT_FALSE(ImportacaoOlvar::Reconhece(*conexao, zemlo)) << caso;
        EXPECT_FALSE(conexao->bancoAnterior().aberto()) << caso;
    };
    // the system's own database under that name: another password
    QFile::remove(zemlo);
    QFile::copy(pasta.arquivo(QStringLiteral("QEV.mdb")), zemlo);
    recusado("outra senha");
    // a database without encryption
    QFile::remove(zemlo);
    {
        Banco b;
        b.abre(zemlo, QByteArray(), true);
        b.executaScript(QStringLiteral("CREATE TABLE OPERADORAS (CD_OPER TEXT);"));
    }
    recusado("sem senha");
    // the right password, a table without one of the columns read
    QFile::remove(zemlo);
    {
        Banco b;
        b.abre(zemlo, TDmConexao::SenhaBancoAnterior(), true);
        b.executaScript(QStringLiteral("CREATE TABLE OPERADORAS (CD_OPER TEXT);"
                                       "CREATE TABLE TB_ESTAB_SAUDE (ID_ESTB_SAUD INTEGER, CD_CNES TEXT);"));
    }
    recusado("sem as colunas");
    // not a database at all, an empty file, no file
    gravaArquivo(zemlo, QByteArray("Isto é um texto, não um banco de dados.\n").repeated(50));
    recusado("texto");
    gravaArquivo(zemlo, QByteArray());
    recusado("vazio");
    QFile::remove(zemlo);
    recusado("inexistente");
}

TEST_F(ImportacaoOlvarTeste, TheSourceIsNeverWritten) {
    QVariantMap comErro = BaseOlvar::Gerada(2);
    comErro.remove(QStringLiteral("CD_CLASSIF_ESTAB_SAUDE"));
    criaFonte({BaseOlvar::Gerada(1), comErro});
    const QByteArray antes = resumoArquivo(zemlo);
    QFile(zemlo).setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    const ImportacaoOlvar::Totais t = importa();
    EXPECT_EQ(t.importados, 1);
    conexao->FechaBancoAnterior();
    EXPECT_EQ(resumoArquivo(zemlo), antes);
    EXPECT_EQ(QDir(pasta.caminho()).entryList({QStringLiteral("Zemlo*")}, QDir::Files),
              QStringList{QStringLiteral("Zemlo.mdb")});
}

TEST_F(ImportacaoOlvarTeste, AnotherOperatorsDatabaseImportsNothing) {
    criaFonte({BaseOlvar::Gerada(1)}, kOutraOperadora);
    EXPECT_TRUE(importa().outraOperadora);
    criaFonte({BaseOlvar::Gerada(1)}, QString());  // no operator at all
    EXPECT_TRUE(importa().outraOperadora);
    EXPECT_EQ(conta("SELECT count(*) FROM TB_ESTAB_SAUDE"), 0);
}

struct CasoFonte {
    const char* nome;
    std::function<void(QVariantMap&)> muda;
    QStringList mensagens;
};

TEST_F(ImportacaoOlvarTeste, EachCheckGivesItsMessage) {
    banco().executaScript(estab(3, "0012351", kOutroCnpj, "Já cadastrado"));
    const auto poe = [](QVariantMap& m, const char* c, const QVariant& v) {
        m.insert(QString::fromLatin1(c), v);
    };
    const QVariant nulo;
    const CasoFonte casos[] = {
        {"completo", [](QVariantMap&) {}, {}},
        {"sem classificação", [&](QVariantMap& m) { poe(m, "CD_CLASSIF_ESTAB_SAUDE", nulo); },
         {"- Classificação do Estabelecimento de Saúde não informado."}},
        {"CNES de seis dígitos", [&](QVariantMap& m) { poe(m, "CD_CNES", "123456"); },
         {"- O \"código CNES\" informado deve possuir 7 dígitos.",
          "- O \"código CNES\" informado é inválido.", "- Valor do CNES inválido."}},
        {"CNES de zeros", [&](QVariantMap& m) { poe(m, "CD_CNES", "0000000"); },
         {"- O \"código CNES\" informado é inválido.", "- Valor do CNES inválido."}},
        {"CNES com dígito errado", [&](QVariantMap& m) { poe(m, "CD_CNES", "0012344"); },
         {"- O \"código CNES\" informado é inválido.", "- Valor do CNES inválido."}},
        {"hospitalar com CNES sem CNPJ", [&](QVariantMap& m) { poe(m, "CD_CNPJ_ESTB_SAUD", nulo); },
         {"- Número do CNPJ não informado.",
          "- CPF/CNPJ do Estabelecimento de Saúde não informado."}},
        {"hospitalar com CNPJ errado",
         [&](QVariantMap& m) { poe(m, "CD_CNPJ_ESTB_SAUD", "11222333000182"); },
         {"- CNPJ do Estabelecimento de Saúde inválido."}},
        {"hospitalar com CPF", [&](QVariantMap& m) { poe(m, "CD_CNPJ_ESTB_SAUD", kCpf); },
         {"- CNPJ do Estabelecimento de Saúde inválido."}},
        {"hospitalar com CNPJ de zeros",
         [&](QVariantMap& m) { poe(m, "CD_CNPJ_ESTB_SAUD", "00000000000000"); },
         {"- CNPJ do Estabelecimento de Saúde inválido."}},
        {"alta complexidade com CNPJ errado",
         [&](QVariantMap& m) {
             poe(m, "CD_CLASSIF_ESTAB_SAUDE", 2);
             poe(m, "CD_CNPJ_ESTB_SAUD", "11222333000182");
         },
         {"- CNPJ do Estabelecimento de Saúde inválido."}},
        {"demais com CPF errado",
         [&](QVariantMap& m) {
             poe(m, "CD_CLASSIF_ESTAB_SAUDE", 3);
             poe(m, "CD_CNPJ_ESTB_SAUD", "52998224724");
         },
         {"- CPF inválido."}},
        {"demais com CPF",
         [&](QVariantMap& m) {
             poe(m, "CD_CLASSIF_ESTAB_SAUDE", 3);
             poe(m, "CD_CNPJ_ESTB_SAUD", kCpf);
         },
         {}},
        {"demais sem CNES nem CNPJ",
         [&](QVariantMap& m) {
             poe(m, "CD_CLASSIF_ESTAB_SAUDE", 3);
             poe(m, "CD_CNPJ_ESTB_SAUD", "  ");
             poe(m, "CD_CNES", nulo);
         },
         {"- Número CPF/CNPJ ou CNES não informado."}},
        {"já cadastrado",
         [&](QVariantMap& m) {
             poe(m, "CD_CNPJ_ESTB_SAUD", kOutroCnpj);
             poe(m, "CD_CNES", "0012351");
         },
         {"- O  Conjunto CNPJ ou CPF/CNES deve ser único."}},
        {"sem nome", [&](QVariantMap& m) { poe(m, "RAZAO_SOCIAL_ESTB_SAUD", " "); },
         {"- Nome/Razão Social do Estabelecimento de Saúde não informado."}},
        {"hospitalar sem relação", [&](QVariantMap& m) { poe(m, "CD_TIPO_ESTB_SAUD", nulo); },
         {"- Relação com Entidade Hospitalar não informado."}},
        {"sem CNES e município zero",
         [&](QVariantMap& m) {
             poe(m, "CD_CNES", nulo);
             poe(m, "ID_MUNC", 0);
         },
         {"- UF e Município da Entidade Hospitalar não informados."}},
        {"sem CNES nem município",
         [&](QVariantMap& m) {
             poe(m, "CD_CNES", "");
             poe(m, "ID_MUNC", nulo);
         },
         {"- UF e Município da Entidade Hospitalar não informados."}},
        {"com CNES sem município", [&](QVariantMap& m) { poe(m, "ID_MUNC", nulo); }, {}},
        {"contratualizado sem tipo",
         [&](QVariantMap& m) {
             poe(m, "CD_TIPO_ESTB_SAUD", 2000);
             poe(m, "DT_CONTRATO_OPER", "2015-03-02");
         },
         {"- Tipo de Contratualização não informado."}},
        {"indireta sem intermediária",
         [&](QVariantMap& m) {
             poe(m, "CD_TIPO_ESTB_SAUD", 2000);
             poe(m, "CD_TIPO_CONTRATO_ESTB_SAUDE", "I");
         },
         {"- Registro ZUB da Operadora Intermediária não informado."}},
        {"contratualização amanhã", [&](QVariantMap& m) { poe(m, "DT_CONTRATO_OPER", "2024-06-16"); },
         {"- A data de Contratualização não pode ser superior à data atual."}},
        {"RN 42", [&](QVariantMap& m) { poe(m, "DT_CONTRATO_OPER", "2003-07-06"); },
         {"- A data de Contratualização não pode ser anterior à data da RN 42 (07/07/2003)."}},
        {"RN 54",
         [&](QVariantMap& m) {
             poe(m, "CD_CLASSIF_ESTAB_SAUDE", 2);
             poe(m, "DT_CONTRATO_OPER", "2003-11-30");
         },
         {"- A data de Contratualização não pode ser anterior à data da RN 54 (01/12/2003)."}},
        {"sem início do serviço", [&](QVariantMap& m) { poe(m, "DT_VINCULO_OPER", nulo); },
         {"- Data de início da prestação de Serviço não informado."}},
        {"hospitalar sem disponibilidade", [&](QVariantMap& m) { poe(m, "CD_DISP_SERVICO", nulo); },
         {"- Disponibilidade de Serviços do Estabelecimento de Saúde não informado."}},
        // values the system's table cannot hold
        {"nome longo", [&](QVariantMap& m) { poe(m, "RAZAO_SOCIAL_ESTB_SAUD", QString(61, u'Á')); },
         {"- Nome/Razão Social do Estabelecimento de Saúde com mais de 60 caractere(s)."}},
        {"nome fora do Windows-1252",
         [&](QVariantMap& m) { poe(m, "RAZAO_SOCIAL_ESTB_SAUD", QStringLiteral("Clínica 日本 ☃")); },
         {"- O campo \"Nome/Razão Social\" contém o caractere \"日\", que não pode ser enviado à "
          "ZUB. Substitua-o por outro."}},
        {"nome com tabulação",
         [&](QVariantMap& m) { poe(m, "RAZAO_SOCIAL_ESTB_SAUD", QStringLiteral("Clínica\tÁvila")); },
         {"- Nome/Razão Social do Estabelecimento de Saúde com caractere de controle."}},
        {"nome com acentos e sinais do Windows-1252",
         [&](QVariantMap& m) { poe(m, "RAZAO_SOCIAL_ESTB_SAUD", QStringLiteral("Ação – “Saúde” € Œ")); },
         {}},
        {"urgência longa", [&](QVariantMap& m) { poe(m, "LG_URGENCIA_EMERGENCIA", "SIM"); },
         {"- Indicador de Urgência / Emergência com mais de 1 caractere(s)."}},
        // a classification the code table does not hold is never stored
        {"classificação 7", [&](QVariantMap& m) { poe(m, "CD_CLASSIF_ESTAB_SAUDE", 7); },
         {"- Classificação do Estabelecimento de Saúde 7 não existe."}},
        {"classificação 1000", [&](QVariantMap& m) { poe(m, "CD_CLASSIF_ESTAB_SAUDE", 1000); },
         {"- Classificação do Estabelecimento de Saúde 1000 não existe."}},
        {"classificação 0", [&](QVariantMap& m) { poe(m, "CD_CLASSIF_ESTAB_SAUDE", 0); },
         {"- Classificação do Estabelecimento de Saúde 0 não existe."}},
        {"classificação não numérica", [&](QVariantMap& m) { poe(m, "CD_CLASSIF_ESTAB_SAUDE", "um"); },
         {"- Classificação do Estabelecimento de Saúde não é um número."}},
        {"data ilegível", [&](QVariantMap& m) { poe(m, "DT_VINCULO_OPER", "ontem"); },
         {"- Data de início da prestação de Serviço não é uma data válida."}},
    };
    ImportacaoOlvar imp(*conexao, kOperadora);
    for (const CasoFonte& c : casos) {
        QVariantMap m = BaseOlvar::Gerada(1);
        c.muda(m);
        const QStringList obtido = imp.Verifica([&](const QString& col) { return m.value(col); });
        EXPECT_EQ(obtido, c.mensagens) << c.nome << "\n" << obtido.join('\n').toStdString();
    }
}

// Messages carry the CNPJ/CPF as stored immediately before them; the valid rows are
// copied as they are, nulls staying null; a second import adds nothing.
TEST_F(ImportacaoOlvarTeste, ImportsTheValidRowsAndListsTheOthers) {
    banco().executaScript(estab(40, "", kOutroCnpj, "Existente"));
    QVariantMap valida = BaseOlvar::Gerada(2);  // contracted, high complexity
    valida.insert(QStringLiteral("RAZAO_SOCIAL_ESTB_SAUD"), QStringLiteral("  D'ÁVILA 100% \"SAÚDE\"  "));
    valida.insert(QStringLiteral("LG_CLASSIFICADO_ZUB"), QStringLiteral("S"));
    QVariantMap cpf = BaseOlvar::Gerada(3);
    cpf.insert(QStringLiteral("CD_CNPJ_ESTB_SAUD"), QString::fromLatin1(kCpf));
    cpf.insert(QStringLiteral("CD_CLASSIF_ESTAB_SAUDE"), 3);
    cpf.remove(QStringLiteral("CD_TIPO_ESTB_SAUD"));
    cpf.remove(QStringLiteral("DT_VINCULO_OPER"));
    cpf.remove(QStringLiteral("ID_MUNC"));
    QVariantMap cnesSemCnpj = BaseOlvar::Gerada(4);
    cnesSemCnpj.remove(QStringLiteral("CD_CNPJ_ESTB_SAUD"));
    cnesSemCnpj.insert(QStringLiteral("CD_CLASSIF_ESTAB_SAUDE"), 3);
    QVariantMap zeros = BaseOlvar::Gerada(5);
    zeros.insert(QStringLiteral("CD_CNES"), QStringLiteral("0000000"));
    criaFonte({valida, cpf, cnesSemCnpj, zeros});

    const ImportacaoOlvar::Totais t = importa();
    EXPECT_FALSE(t.outraOperadora);
    EXPECT_EQ(t.lidos, 4);
    EXPECT_EQ(t.importados, 2);
    const QString cnpjZeros = zeros.value(QStringLiteral("CD_CNPJ_ESTB_SAUD")).toString();
    EXPECT_EQ(t.mensagens,
              (QStringList{"- CPF/CNPJ do Estabelecimento de Saúde não informado.",
                           cnpjZeros + "- O \"código CNES\" informado é inválido.",
                           cnpjZeros + "- Valor do CNES inválido."}));
    const QVariant nulo;
    const QString oper = QString::fromLatin1(kOperadora);
    const auto linha = [&](const QVariant& doc) {
        return banco()
            .consulta(QStringLiteral(
                          "SELECT ID_ESTB_SAUD, RAZAO_SOCIAL_ESTB_SAUD, CD_TIPO_ESTB_SAUD, ID_MUNC, "
                          "CD_TIPO_CONTRATO_ESTB_SAUDE, CD_CNES, DT_VINCULO_OPER, DT_CONTRATO_OPER, "
                          "CD_CLASSIF_ESTAB_SAUDE, LG_CLASSIFICADO_ZUB, CD_DISP_SERVICO, "
                          "LG_URGENCIA_EMERGENCIA, LG_HOSPITAL_INCLUIDO, CD_OPER FROM TB_ESTAB_SAUDE "
                          "WHERE CD_CNPJ_ESTB_SAUD = ?"),
                      {doc})
            .linhas.value(0);
    };
    EXPECT_EQ(linha(valida.value(QStringLiteral("CD_CNPJ_ESTB_SAUD"))),
              (QVariantList{41, "D'ÁVILA 100% \"SAÚDE\"", 2000, valida.value("ID_MUNC"), "D",
                            valida.value("CD_CNES"), "2015-04-01", "2015-03-02", 2, "S", nulo, nulo,
                            "N", oper}));
    EXPECT_EQ(linha(QString::fromLatin1(kCpf)),
              (QVariantList{42, cpf.value("RAZAO_SOCIAL_ESTB_SAUD"), nulo, nulo, nulo,
                            cpf.value("CD_CNES"), nulo, nulo, 3, "N", nulo, nulo, "N", oper}));

    // the same database again: every row is refused as already registered (or as before)
    const ImportacaoOlvar::Totais de_novo = importa();
    EXPECT_EQ(de_novo.importados, 0);
    EXPECT_EQ(de_novo.mensagens.filter(QStringLiteral("deve ser único")).size(), 2);
    EXPECT_EQ(conta("SELECT count(*) FROM TB_ESTAB_SAUDE"), 3);
}

// A CSV converted by the tool's reader arrives as typed: dates in either form,
// separators and quotes inside fields, empty fields as nulls.
TEST_F(ImportacaoOlvarTeste, CsvRowsBecomeSourceRows) {
    QByteArray csv =
        "\xEF\xBB\xBF" "CD_CNPJ_ESTB_SAUD;RAZAO_SOCIAL_ESTB_SAUD;CD_CLASSIF_ESTAB_SAUDE;CD_CNES;"
        "CD_TIPO_ESTB_SAUD;ID_MUNC;DT_VINCULO_OPER;CD_DISP_SERVICO;LG_URGENCIA_EMERGENCIA\r\n"
        "11222333000181;\"HOSPITAL \"\"SÃO JOSÉ\"\"; ALA 2\";1;0012343;1000;3550308;01/02/2020;T;S\r\n"
        "\r\n"
        "52998224725;Consultório;3;;;3304557;2019-05-06;;\n";
    QBuffer buffer(&csv);
    buffer.open(QIODevice::ReadOnly);
    {
        BaseOlvar b(zemlo, kOperadora);
        EXPECT_EQ(BaseOlvar::LeCsv(buffer, b), 2);
        b.Conclui();
    }
    const ImportacaoOlvar::Totais t = importa();
    EXPECT_EQ(t.mensagens, QStringList());
    EXPECT_EQ(t.importados, 2);
    EXPECT_EQ(Apoio::coluna(banco(), "SELECT RAZAO_SOCIAL_ESTB_SAUD || '|' || DT_VINCULO_OPER || '|' "
                                     "|| coalesce(CD_CNES, '-') FROM TB_ESTAB_SAUDE ORDER BY 1"),
              (QStringList{"Consultório|2019-05-06|-", "HOSPITAL \"SÃO JOSÉ\"; ALA 2|2020-02-01|0012343"}));

    QByteArray demais = "CD_CNES,RAZAO_SOCIAL_ESTB_SAUD\n0012343,A,B\n";
    QBuffer b2(&demais);
    b2.open(QIODevice::ReadOnly);
    BaseOlvar b(pasta.arquivo(QStringLiteral("outro.mdb")), kOperadora);
    EXPECT_THROW(BaseOlvar::LeCsv(b2, b), ErroQev);
}

// The conversion tool: a usage line without its arguments, a CSV turned into a
// database the import recognises.
TEST_F(ImportacaoOlvarTeste, TheToolWritesADatabaseFromACsv) {
    const QString programa = QStringLiteral(QEV_DIR_BIN "/qev-olvar");
    ASSERT_TRUE(QFileInfo::exists(programa));
    QProcess uso;
    uso.start(programa, {});
    ASSERT_TRUE(uso.waitForFinished());
    EXPECT_EQ(uso.exitCode(), 2);
    EXPECT_TRUE(uso.readAllStandardError().contains("qev-olvar [options] destino"));

    const QString csv = pasta.arquivo(QStringLiteral("antigos.csv"));
    gravaArquivo(csv, "CD_CNPJ_ESTB_SAUD,RAZAO_SOCIAL_ESTB_SAUD,CD_CLASSIF_ESTAB_SAUDE,CD_CNES,"
                      "ID_MUNC\n52998224725,Clínica Ávila,3,0012343,3550308\n");
    QProcess p;
    p.start(programa, {QStringLiteral("--operadora"), QString::fromLatin1(kOperadora),
                       QStringLiteral("--csv"), csv, QStringLiteral("--gera"), QStringLiteral("3"), zemlo});
    ASSERT_TRUE(p.waitForFinished());
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const ImportacaoOlvar::Totais t = importa();
    EXPECT_EQ(t.mensagens, QStringList());
    EXPECT_EQ(t.importados, 4);
    EXPECT_EQ(conta("SELECT count(*) FROM TB_ESTAB_SAUDE WHERE RAZAO_SOCIAL_ESTB_SAUD = ?",
                    {QStringLiteral("Clínica Ávila")}),
              1);
}

}  // namespace
