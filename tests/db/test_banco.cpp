// The connection wrapper's additions for bulk work: a statement prepared once and run
// many times, and a database opened for reading only.
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "apoio/Apoio.h"
#include "db/DmConexao.h"
#include "db/RowSet.h"

using namespace Apoio;

namespace {

class BancoTeste : public ::testing::Test {
protected:
    PastaTeste pasta;
    QString caminho;
    void SetUp() override {
        caminho = criaBanco(pasta.caminho(), Esquema::Atual,
                            QStringLiteral("INSERT INTO OPERADORAS (CD_OPER) VALUES ('123455');"));
    }
};

TEST_F(BancoTeste, APreparedStatementRunsManyTimesWithBoundValues) {
    auto b = abreBanco(caminho);
    ComandoPreparado insere(*b, QStringLiteral(
        "INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, RAZAO_SOCIAL_ESTB_SAUD, CD_CNES) VALUES (?, ?, ?)"));
    const QStringList nomes{QStringLiteral("D'ÁVILA"), QStringLiteral("100% \"SAÚDE\""),
                            QStringLiteral("x'); DROP TABLE TB_ESTAB_SAUDE; --")};
    for (int i = 0; i < nomes.size(); ++i) insere.executa({i + 1, nomes[i], QVariant()});
    ComandoPreparado nome(*b, QStringLiteral(
        "SELECT RAZAO_SOCIAL_ESTB_SAUD FROM TB_ESTAB_SAUDE WHERE ID_ESTB_SAUD = ?"));
    for (int i = 0; i < nomes.size(); ++i) EXPECT_EQ(nome.valor({i + 1}).toString(), nomes[i]);
    EXPECT_FALSE(nome.valor({99}).isValid());
    ComandoPreparado todos(*b, QStringLiteral(
        "SELECT ID_ESTB_SAUD, CD_CNES FROM TB_ESTAB_SAUDE WHERE ID_ESTB_SAUD > ? ORDER BY 1"));
    const Resultado r = todos.consulta({1});
    EXPECT_EQ(r.numLinhas(), 2);
    EXPECT_TRUE(r.valor(0, QStringLiteral("cd_cnes")).isNull());

    // a refused run reports the engine's text and leaves the statement usable
    try {
        insere.executa({1, QStringLiteral("repetido"), QVariant()});
        ADD_FAILURE() << "a chave repetida foi aceita";
    } catch (const ErroBanco& e) {
        EXPECT_TRUE(e.mensagem().contains(QStringLiteral("UNIQUE"))) << e.what();
    }
    EXPECT_THROW(insere.executa({5, QStringLiteral("longo"), QStringLiteral("12345678")}), ErroBanco);
    insere.executa({4, QStringLiteral("depois da falha"), QVariant()});
    EXPECT_EQ(nome.valor({4}).toString(), QStringLiteral("depois da falha"));
    EXPECT_THROW(insere.executa({6}), ErroBanco);  // parameters missing
    EXPECT_FALSE(b->emTransacao());
}

TEST_F(BancoTeste, AReadOnlyOpeningNeverWritesTheFile) {
    const auto resumo = [&] {
        QFile f(caminho);
        f.open(QIODevice::ReadOnly);
        return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
    };
    const QByteArray antes = resumo();
    {
        Banco b;
        b.abreSomenteLeitura(caminho, TDmConexao::SenhaBanco());
        EXPECT_EQ(b.valor(QStringLiteral("SELECT CD_OPER FROM OPERADORAS")).toString(),
                  QStringLiteral("123455"));
        EXPECT_THROW(b.executa(QStringLiteral("DELETE FROM OPERADORAS")), ErroBanco);
    }
    EXPECT_EQ(resumo(), antes);
    EXPECT_EQ(QDir(pasta.caminho()).entryList({QStringLiteral("QEV.mdb*")}, QDir::Files),
              QStringList{QStringLiteral("QEV.mdb")});

    // a path with characters that mean something in a URI
    const QString estranho = pasta.arquivo(QStringLiteral("a?b#c%20 d.mdb"));
    QFile::copy(caminho, estranho);
    Banco b;
    b.abreSomenteLeitura(estranho, TDmConexao::SenhaBanco());
    EXPECT_EQ(b.valor(QStringLiteral("SELECT count(*) FROM OPERADORAS")).toInt(), 1);
    b.fecha();
    // wrong password, missing file
    EXPECT_THROW(b.abreSomenteLeitura(caminho, QByteArrayLiteral("outra")), ErroBanco);
    EXPECT_THROW(b.abreSomenteLeitura(pasta.arquivo(QStringLiteral("nao.mdb")), TDmConexao::SenhaBanco()),
                 ErroBanco);
    EXPECT_FALSE(QFileInfo::exists(pasta.arquivo(QStringLiteral("nao.mdb"))));
}

}  // namespace

namespace {
// Stored dates are read by hand in their two forms; anything else goes through the
// general parser, with the same results as before.
TEST(DatasGravadas, TheStoredFormsAndTheOthersReadAsTheyAlwaysDid) {
    const QDate d(2024, 6, 15);
    const struct {
        const char* texto;
        QDateTime dataHora;  // Banco::lerDataHora
        QVariant data;       // RowSet::Converte for a DATE column
    } casos[] = {
        {"2024-06-15 10:20:30", {d, QTime(10, 20, 30)}, QDateTime(d, QTime(10, 20, 30))},
        {"2024-06-15T10:20:30", {d, QTime(10, 20, 30)}, QDateTime(d, QTime(10, 20, 30))},
        {"2024-06-15", {d, QTime(0, 0)}, d},
        {" 2024-06-15 ", {d, QTime(0, 0)}, d},
        {"15/06/2024", {}, d},
        {"2024-02-30", {}, QVariant()},
        {"2024-02-30 10:00:00", {}, QVariant()},
        {"2024-06-15 25:00:00", {d, QTime(0, 0)}, QDateTime(d, QTime(0, 0))},  // the date kept
        {"2024-06-15 10:20", {d, QTime(0, 0)}, QDateTime(d, QTime(0, 0))},
        {"2O24-06-15", {}, QVariant()},
        {"", {}, QVariant()},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.texto);
        EXPECT_EQ(Banco::lerDataHora(QString::fromLatin1(c.texto)), c.dataHora);
        EXPECT_EQ(RowSet::Converte(TipoCampo::Data, QString::fromLatin1(c.texto)), c.data);
    }
}
}  // namespace
