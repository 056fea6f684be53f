// The connection wrapper's additions for bulk work: a statement prepared once and run
// many times, and a database opened for reading only.
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include "apoio/Apoio.h"
#include "db/CifraBanco.h"
#include "db/DmConexao.h"
#include "db/RowSet.h"
#include "db/Transacao.h"

#include <sqlite3.h>

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

// Texts a column repeats come back as one shared string, each still the text stored: a
// column of few values, one of values that never repeat (past the rows it looks at before
// it stops looking), texts of the same bytes but another length, and empty ones.
TEST_F(BancoTeste, RepeatedTextsReadAsStored) {
    auto b = abreBanco(caminho);
    b->executaScript(QStringLiteral("CREATE TABLE T (ID INTEGER PRIMARY KEY, POUCOS TEXT, UNICOS TEXT, PREFIXOS TEXT);"));
    const QStringList poucos{QStringLiteral("SP"), QStringLiteral("RJ"), QStringLiteral("São Paulo"), QString()};
    QVector<QStringList> esperado;
    b->iniciaTransacao();
    for (int i = 0; i < 1000; ++i) {
        const QString p = poucos[i % poucos.size()];
        const QString u = QStringLiteral("NOME %1").arg(i * 7919 % 100003);
        const QString x = QString(i % 5 + 1, QLatin1Char('A'));  // A, AA, AAA... share their first bytes
        b->executa(QStringLiteral("INSERT INTO T VALUES (?, ?, ?, ?)"),
                   {i, p.isNull() ? QVariant() : QVariant(p), u, x});
        esperado.push_back({p, u, x});
    }
    b->confirmaTransacao();
    const Resultado r = b->consulta(QStringLiteral("SELECT POUCOS, UNICOS, PREFIXOS FROM T ORDER BY ID"));
    ASSERT_EQ(r.numLinhas(), 1000);
    for (int i = 0; i < r.numLinhas(); ++i)
        for (int c = 0; c < 3; ++c)
            ASSERT_EQ(r.linhas[i][c].toString(), esperado[i][c]) << "linha " << i << " coluna " << c;
    // the repeated ones share their string
    EXPECT_EQ(r.linhas[4][0].toString().constData(), r.linhas[8][0].toString().constData());
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

// The cache holds the whole file (deciphered once per connection), within bounds; the
// connection has no per-call mutex (it never leaves the thread that opened it).
TEST_F(BancoTeste, AConnectionCachesTheWholeFileAndTakesNoMutex) {
    struct Caso {
        qint64 bytes;
        int kib;
    };
    const Caso casos[] = {{0, 2048},
                          {1024 * 1024, 2048},
                          {80LL * 1024 * 1024, 100 * 1024},
                          {4LL * 1024 * 1024 * 1024, 256 * 1024}};
    for (const Caso& c : casos) EXPECT_EQ(CifraBanco::cachePaginasKiB(c.bytes), c.kib) << c.bytes;

    // a file larger than the default cache gets a cache that holds it
    {
        auto b = abreBanco(caminho);
        TransacaoEscopo t(*b);
        ComandoPreparado insere(*b, QStringLiteral(
            "INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, RAZAO_SOCIAL_ESTB_SAUD) VALUES (?, ?)"));
        const QString nome = QStringLiteral("ESTABELECIMENTO DE SAÚDE ").repeated(6);
        for (int i = 1; i <= 40000; ++i) insere.executa({i, nome.left(50) + QString::number(i)});
        t.confirma();
    }
    const qint64 tamanho = QFileInfo(caminho).size();
    ASSERT_GT(tamanho, 2 * 1024 * 1024);
    Banco b;
    b.abre(caminho, TDmConexao::SenhaBanco());
    EXPECT_EQ(b.valor(QStringLiteral("PRAGMA cache_size")).toLongLong(), -CifraBanco::cachePaginasKiB(tamanho));
    EXPECT_GE(-b.valor(QStringLiteral("PRAGMA cache_size")).toLongLong() * 1024, tamanho);
    EXPECT_EQ(sqlite3_db_mutex(b.handle()), nullptr);
    Banco l;
    l.abreSomenteLeitura(caminho, TDmConexao::SenhaBanco());
    EXPECT_EQ(l.valor(QStringLiteral("PRAGMA cache_size")).toLongLong(), -CifraBanco::cachePaginasKiB(tamanho));
    EXPECT_EQ(sqlite3_db_mutex(l.handle()), nullptr);
    EXPECT_EQ(l.valor(QStringLiteral("SELECT count(*) FROM TB_ESTAB_SAUDE")).toInt(), 40000);
}

// The key derived once opens the file without the password; a copy written with it keeps
// the salt, so the password opens the copy too (the file format is the same).
TEST_F(BancoTeste, TheDerivedKeyOpensTheFileAndTheCopyItWritesOpensWithThePassword) {
    const QByteArray chave = CifraBanco::chaveDerivada(caminho, TDmConexao::SenhaBanco());
    ASSERT_TRUE(chave.startsWith("raw:"));
    EXPECT_EQ(chave.size(), 4 + 2 * (32 + 16));
    EXPECT_EQ(CifraBanco::chaveDerivada(caminho, TDmConexao::SenhaBanco()), chave);  // same salt: same key
    const QString copia = pasta.arquivo(QStringLiteral("copia.mdb"));
    {
        Banco b;
        b.abre(caminho, chave);
        EXPECT_EQ(b.valor(QStringLiteral("SELECT CD_OPER FROM OPERADORAS")).toString(), QStringLiteral("123455"));
        const QString uri = QStringLiteral("file:") + QString::fromUtf8(QUrl::toPercentEncoding(copia, "/")) +
                            QStringLiteral("?key=") + QString::fromLatin1(chave);
        b.executa(QStringLiteral("VACUUM INTO ?"), {uri});
    }
    QFile a(caminho), c(copia);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly));
    ASSERT_TRUE(c.open(QIODevice::ReadOnly));
    EXPECT_EQ(c.read(16), a.read(16));  // the salt
    for (const QByteArray& k : {TDmConexao::SenhaBanco(), chave}) {
        Banco b;
        b.abre(copia, k);
        EXPECT_EQ(b.valor(QStringLiteral("SELECT count(*) FROM OPERADORAS")).toInt(), 1);
    }
    // another password derives another key, which the file refuses
    const QByteArray outra = CifraBanco::chaveDerivada(caminho, QByteArrayLiteral("outra senha"));
    ASSERT_FALSE(outra.isEmpty());
    EXPECT_NE(outra, chave);
    Banco b;
    EXPECT_THROW(b.abre(caminho, outra), ErroBanco);
    // a file that is not there, or not encrypted, has no derived key
    EXPECT_TRUE(CifraBanco::chaveDerivada(pasta.arquivo(QStringLiteral("nao.mdb")), chave).isEmpty());
    {
        QFile claro(pasta.arquivo(QStringLiteral("claro.db")));  // a plain file's header
        ASSERT_TRUE(claro.open(QIODevice::WriteOnly));
        claro.write(QByteArray("SQLite format 3\0", 16) + QByteArray(4080, '\0'));
    }
    EXPECT_TRUE(CifraBanco::chaveDerivada(pasta.arquivo(QStringLiteral("claro.db")), chave).isEmpty());
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
