// The transaction scope: its own transaction, joining a caller's, and the savepoint a
// writer asks for when it must fail alone inside a caller's transaction.
#include <QTemporaryDir>

#include "apoio/Apoio.h"
#include "db/DmConexao.h"
#include "db/Transacao.h"

using namespace Apoio;

namespace {

class Escopo : public ::testing::Test {
protected:
    QTemporaryDir pasta;
    Banco banco;
    void SetUp() override {
        banco.abre(pasta.filePath(QStringLiteral("t.mdb")), TDmConexao::SenhaBanco(), true);
        banco.executa(QStringLiteral("CREATE TABLE T (V TEXT)"));
    }
    void insere(const QString& v) { banco.executa(QStringLiteral("INSERT INTO T VALUES (?)"), {v}); }
    QStringList valores() { return coluna(banco, QStringLiteral("SELECT V FROM T ORDER BY rowid")); }
};

TEST_F(Escopo, AWriterInsideACallersTransactionEndsAsItsModeSays) {
    struct Caso {
        const char* nome;
        TransacaoEscopo::Aninhamento modo;
        bool confirma;         // the inner writer commits
        QStringList esperado;  // after the caller commits
    };
    const Caso casos[] = {
        {"joined, committed", TransacaoEscopo::JuntaSeAoChamador, true, {"fora", "dentro", "depois"}},
        // joined: its writes are the caller's, which keeps them
        {"joined, left", TransacaoEscopo::JuntaSeAoChamador, false, {"fora", "dentro", "depois"}},
        {"savepoint, released", TransacaoEscopo::PontoSalvo, true, {"fora", "dentro", "depois"}},
        {"savepoint, left", TransacaoEscopo::PontoSalvo, false, {"fora", "depois"}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        banco.executa(QStringLiteral("DELETE FROM T"));
        TransacaoEscopo chamador(banco);
        insere(QStringLiteral("fora"));
        {
            TransacaoEscopo escritor(banco, c.modo);
            EXPECT_FALSE(escritor.propria());
            EXPECT_EQ(escritor.emPontoSalvo(), c.modo == TransacaoEscopo::PontoSalvo);
            insere(QStringLiteral("dentro"));
            if (c.confirma) escritor.confirma();
        }
        EXPECT_TRUE(banco.emTransacao()) << "the caller's transaction goes on";
        insere(QStringLiteral("depois"));
        chamador.confirma();
        EXPECT_FALSE(banco.emTransacao());
        EXPECT_EQ(valores(), c.esperado);
    }
}

TEST_F(Escopo, ASavepointScopeWithoutACallerOwnsItsTransaction) {
    {
        TransacaoEscopo t(banco, TransacaoEscopo::PontoSalvo);
        EXPECT_TRUE(t.propria());
        EXPECT_FALSE(t.emPontoSalvo());
        insere(QStringLiteral("perdido"));
    }
    EXPECT_FALSE(banco.emTransacao());
    EXPECT_TRUE(valores().isEmpty());
    {
        TransacaoEscopo t(banco, TransacaoEscopo::PontoSalvo);
        insere(QStringLiteral("guardado"));
        t.confirma();
    }
    EXPECT_EQ(valores(), QStringList{QStringLiteral("guardado")});
}

TEST_F(Escopo, NestedSavepointsUndoOnlyTheirOwnWrites) {
    TransacaoEscopo chamador(banco);
    insere(QStringLiteral("a"));
    {
        TransacaoEscopo meio(banco, TransacaoEscopo::PontoSalvo);
        insere(QStringLiteral("b"));
        {
            TransacaoEscopo fundo(banco, TransacaoEscopo::PontoSalvo);
            insere(QStringLiteral("c"));
            fundo.desfaz();
            fundo.desfaz();  // a second call does nothing
        }
        insere(QStringLiteral("d"));
        meio.confirma();
    }
    try {
        TransacaoEscopo falha(banco, TransacaoEscopo::PontoSalvo);
        insere(QStringLiteral("e"));
        throw ErroQev(QStringLiteral("falhou"));
    } catch (const ErroQev&) {
    }
    chamador.confirma();
    EXPECT_EQ(valores(), (QStringList{"a", "b", "d"}));
}

}  // namespace
