// Statements run with positional parameters are prepared once and kept: the same text
// run again with other values, after a failure, after the schema changed, beyond the
// number kept, and across closing the connection.
#include "apoio/Apoio.h"

using namespace Apoio;

namespace {

TEST(ComandosGuardados, TheSameStatementRunsAgainWithOtherValuesAfterFailuresAndSchemaChanges) {
    PastaTeste pasta;
    const QString caminho = criaBanco(
        pasta.caminho(), Esquema::Atual,
        QStringLiteral("CREATE TABLE T (ID INTEGER PRIMARY KEY NOT NULL, NOME TEXT NOT NULL);"));
    auto banco = abreBanco(caminho);
    const QString insere = QStringLiteral("INSERT INTO T (ID, NOME) VALUES (?, ?)");
    for (int i = 1; i <= 50; ++i) banco->executa(insere, {i, QStringLiteral("n%1").arg(i)});
    EXPECT_EQ(banco->valor(QStringLiteral("SELECT count(*) || ':' || sum(ID) FROM T")).toString(),
              QStringLiteral("50:1275"));

    // a refused row (repeated key, missing name) leaves the statement ready for the next
    EXPECT_THROW(banco->executa(insere, {7, QStringLiteral("repetido")}), ErroBanco);
    EXPECT_THROW(banco->executa(insere, {51, QVariant()}), ErroBanco);
    EXPECT_THROW(banco->executa(insere, {52}), ErroBanco);  // one value short
    banco->executa(insere, {51, QStringLiteral("depois")});
    EXPECT_EQ(banco->linhasAlteradas(), 1);

    // inside a transaction rolled back, and after the table changed
    banco->iniciaTransacao();
    banco->executa(insere, {60, QStringLiteral("desfeito")});
    banco->desfazTransacao();
    banco->executa(QStringLiteral("ALTER TABLE T ADD COLUMN UF TEXT"));
    banco->executa(insere, {61, QStringLiteral("com UF")});
    banco->executa(QStringLiteral("UPDATE T SET UF = ? WHERE ID = ?"), {QStringLiteral("SP"), 61});
    EXPECT_EQ(banco->valor(QStringLiteral("SELECT count(*) FROM T WHERE ID = 60")).toInt(), 0);
    EXPECT_EQ(banco->valor(QStringLiteral("SELECT UF FROM T WHERE ID = 61")).toString(),
              QStringLiteral("SP"));

    // more distinct statements than are kept
    for (int i = 0; i < 80; ++i)
        banco->executa(QStringLiteral("UPDATE T SET NOME = ? WHERE ID = %1").arg(i + 1),
                       {QStringLiteral("x%1").arg(i)});
    EXPECT_EQ(banco->valor(QStringLiteral("SELECT NOME FROM T WHERE ID = 80")).toString(),
              QStringLiteral(""));  // no row 80
    EXPECT_EQ(banco->valor(QStringLiteral("SELECT NOME FROM T WHERE ID = 50")).toString(),
              QStringLiteral("x49"));

    // closing with statements kept, then the file is whole
    banco->fecha();
    banco = abreBanco(caminho);
    EXPECT_EQ(banco->valor(QStringLiteral("SELECT count(*) FROM T")).toInt(), 52);
    banco->executa(insere, {70, QStringLiteral("reaberto")});
    EXPECT_EQ(banco->valor(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
}

}  // namespace
