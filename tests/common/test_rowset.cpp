// The in-memory row set: reading with types, navigation, editing, the change log
// written back to the database, order, filter, locate, calculated and look-up
// fields, the master link, and the grid model over it.
#include <QCollator>
#include <QDate>
#include <QLocale>
#include <algorithm>
#include <QFont>
#include <QSignalSpy>
#include <QTableView>

#include "apoio/Apoio.h"
#include "db/ModeloRowSet.h"
#include "db/RowSet.h"
#include "db/Transacao.h"

using namespace Apoio;

namespace {

const char* kPessoas = R"SQL(
CREATE TABLE PESSOA (
    ID INTEGER PRIMARY KEY NOT NULL,
    NOME TEXT CHECK (NOME IS NULL OR length(NOME) <= 40),
    UF TEXT CHECK (UF IS NULL OR length(UF) <= 2),
    IDADE INTEGER,
    SALDO REAL,
    NASC DATE,
    OBS TEXT
);
INSERT INTO PESSOA VALUES (1, 'bruno', 'SP', 10, 1.5, '2001-02-03', NULL);
INSERT INTO PESSOA VALUES (2, 'Álvaro', 'RJ', 2, NULL, NULL, 'x');
INSERT INTO PESSOA VALUES (3, 'alberto', 'SP', NULL, -3, '1999-12-31 10:20:30', NULL);
INSERT INTO PESSOA VALUES (4, 'Carlos', 'MG', 30, 0, '2010-01-01', NULL);
INSERT INTO PESSOA VALUES (5, 'ana', 'RJ', 7, 2, '2000-06-15', NULL);
)SQL";

class RowSetTeste : public ::testing::Test {
protected:
    PastaTeste pasta;
    std::unique_ptr<Banco> banco;
    RowSet rs;

    void SetUp() override {
        banco = abreBanco(criaBanco(pasta.caminho(), Esquema::Atual, QString::fromUtf8(kPessoas)));
        rs.Abre(*banco, QStringLiteral("SELECT * FROM PESSOA ORDER BY ID"));
    }
    QStringList nomes() {
        QStringList r;
        for (rs.First(); !rs.Eof(); rs.Next()) r << rs.Valor(QStringLiteral("NOME")).toString();
        return r;
    }
    QStringList nomesNoBanco() {
        return coluna(*banco, QStringLiteral("SELECT NOME FROM PESSOA ORDER BY ID"));
    }
};

TEST_F(RowSetTeste, ReadsColumnsWithTheirTypesSizesAndDates) {
    const struct {
        const char* campo;
        TipoCampo tipo;
        int tamanho;
    } esperados[] = {{"ID", TipoCampo::Inteiro, 0}, {"NOME", TipoCampo::Texto, 40},
                     {"UF", TipoCampo::Texto, 2},   {"SALDO", TipoCampo::Real, 0},
                     {"NASC", TipoCampo::Data, 0},  {"OBS", TipoCampo::Memo, 0}};
    for (const auto& e : esperados) {
        const Campo& f = rs.campo(QString::fromLatin1(e.campo));
        EXPECT_EQ(f.tipo, e.tipo) << e.campo;
        EXPECT_EQ(f.tamanho, e.tamanho) << e.campo;
        EXPECT_TRUE(f.gravavel) << e.campo;
    }
    rs.First();
    EXPECT_EQ(rs.Valor(QStringLiteral("nasc")).toDate(), QDate(2001, 2, 3));  // names ignore case
    EXPECT_EQ(rs.Texto(QStringLiteral("NASC")), QStringLiteral("03/02/2001"));
    EXPECT_EQ(rs.Texto(QStringLiteral("SALDO")), QStringLiteral("1,5"));
    rs.Vai(2);
    EXPECT_EQ(rs.Texto(QStringLiteral("NASC")), QStringLiteral("31/12/1999 10:20:30"));

    // Expressions: the values tell the type; they are never written back.
    RowSet calc;
    calc.Abre(
        *banco,
        QStringLiteral("SELECT count(*) AS N, max(SALDO) AS M, 'Sr. ' || NOME AS T FROM PESSOA"));
    EXPECT_EQ(calc.campo(QStringLiteral("N")).tipo, TipoCampo::Inteiro);
    EXPECT_EQ(calc.campo(QStringLiteral("M")).tipo, TipoCampo::Real);
    EXPECT_EQ(calc.campo(QStringLiteral("T")).tipo, TipoCampo::Texto);
    EXPECT_FALSE(calc.campo(QStringLiteral("T")).gravavel);
    EXPECT_EQ(calc.Valor(QStringLiteral("N")).toInt(), 5);
}

TEST_F(RowSetTeste, BofAndEofFollowTheDataSetMeaning) {
    EXPECT_EQ(nomes(), QStringList({"bruno", "Álvaro", "alberto", "Carlos", "ana"}));
    rs.First();
    EXPECT_TRUE(rs.Bof());
    EXPECT_FALSE(rs.Eof());
    rs.Next();
    EXPECT_FALSE(rs.Bof());
    rs.Prior();
    EXPECT_EQ(rs.RecNo(), 0);
    EXPECT_FALSE(rs.Bof());  // reached by a move that succeeded
    rs.Prior();
    EXPECT_TRUE(rs.Bof());
    rs.Last();
    EXPECT_TRUE(rs.Eof());
    EXPECT_EQ(rs.RecNo(), 4);
    rs.Prior();
    rs.Next();
    EXPECT_FALSE(rs.Eof());  // on the last row, not past it
    rs.Next();
    EXPECT_TRUE(rs.Eof());
    EXPECT_EQ(rs.RecNo(), 4);
    // Locating a row moves as well: from past the last row or before the first, both end.
    EXPECT_TRUE(rs.Locate(QStringLiteral("NOME"), QStringLiteral("bruno")));
    EXPECT_FALSE(rs.Bof());
    EXPECT_FALSE(rs.Eof());
    rs.Next();
    EXPECT_EQ(rs.RecNo(), 1);
    rs.First();
    EXPECT_TRUE(rs.Locate(QStringLiteral("NOME"), QStringLiteral("ana")));
    EXPECT_FALSE(rs.Bof());
    rs.Prior();
    EXPECT_EQ(rs.RecNo(), 3);

    RowSet vazio;
    vazio.Abre(*banco, QStringLiteral("SELECT * FROM PESSOA WHERE ID < 0"));
    EXPECT_TRUE(vazio.IsEmpty());
    EXPECT_TRUE(vazio.Bof());
    EXPECT_TRUE(vazio.Eof());
    EXPECT_EQ(vazio.RecNo(), -1);
    EXPECT_FALSE(vazio.Valor(QStringLiteral("NOME")).isValid());
}

TEST_F(RowSetTeste, InsertEditCancelAndPostKeepTheCurrentRow) {
    rs.Vai(1);
    QSignalSpy estados(&rs, &RowSet::estadoMudou);
    rs.Insert();
    EXPECT_EQ(rs.State(), RowSet::Estado::Insercao);
    EXPECT_EQ(rs.RecordCount(), 6);
    rs.DefineValor(QStringLiteral("NOME"), QStringLiteral("novo"));
    rs.Cancel();
    EXPECT_EQ(rs.State(), RowSet::Estado::Consulta);
    EXPECT_EQ(rs.RecordCount(), 5);
    EXPECT_EQ(rs.Valor(QStringLiteral("NOME")).toString(),
              QStringLiteral("Álvaro"));  // the row that was current
    EXPECT_EQ(estados.count(), 2);

    rs.Edit();
    rs.DefineValor(QStringLiteral("IDADE"), QStringLiteral("42"));  // converted to the field's type
    EXPECT_EQ(rs.Valor(QStringLiteral("IDADE")), QVariant(qlonglong(42)));
    rs.Cancel();
    EXPECT_EQ(rs.Valor(QStringLiteral("IDADE")).toInt(), 2);
    EXPECT_EQ(rs.ChangeCount(), 0);

    rs.Edit();
    rs.DefineValor(QStringLiteral("NOME"), QString());  // an empty text is null
    EXPECT_TRUE(rs.Nulo(QStringLiteral("NOME")));
    EXPECT_THROW(rs.DefineValor(QStringLiteral("IDADE"), QStringLiteral("4x")), ErroQev);
    rs.Post();
    EXPECT_EQ(rs.ChangeCount(), 1);
    EXPECT_THROW(rs.DefineValor(QStringLiteral("NOME"), QStringLiteral("y")),
                 ErroQev);  // not editing
}

TEST_F(RowSetTeste, ApplyUpdatesWritesEveryPendingChangeWithBoundValues) {
    rs.Vai(0);
    rs.Edit();
    rs.DefineValor(QStringLiteral("ID"),
                   10);  // the key changed: the row is found by its key as read
    rs.DefineValor(QStringLiteral("NOME"), QStringLiteral("d'Ávila 100% \"x\""));
    rs.Post();
    rs.Vai(rs.PosicaoDaLinha(2));
    rs.Delete();
    rs.Append();
    rs.DefineValor(QStringLiteral("ID"), 3);  // the deleted key comes back in an insert
    rs.DefineValor(QStringLiteral("NOME"), QStringLiteral("reposto"));
    rs.DefineValor(QStringLiteral("NASC"), QDate(2020, 5, 6));
    rs.Post();
    EXPECT_EQ(rs.ChangeCount(), 3);
    EXPECT_EQ(rs.ApplyUpdates(*banco, QStringLiteral("PESSOA"), {QStringLiteral("ID")}), 3);
    EXPECT_EQ(rs.ChangeCount(), 0);

    const Resultado r =
        banco->consulta(QStringLiteral("SELECT ID, NOME, NASC FROM PESSOA ORDER BY ID"));
    ASSERT_EQ(r.numLinhas(), 5);
    EXPECT_EQ(r.linhas[1], QVariantList({3, "reposto", "2020-05-06"}));
    EXPECT_EQ(r.linhas[4], QVariantList({10, QStringLiteral("d'Ávila 100% \"x\""), "2001-02-03"}));
    EXPECT_FALSE(banco->consulta(QStringLiteral("SELECT 1 FROM PESSOA WHERE ID = 1")).numLinhas());
}

TEST_F(RowSetTeste, AFailedApplyKeepsTheLogAndTheDatabaseAndCancelUpdatesRestores) {
    rs.Vai(0);
    rs.Edit();
    rs.DefineValor(QStringLiteral("NOME"), QStringLiteral("mudou"));
    rs.Post();
    rs.Vai(3);
    rs.Edit();
    rs.DefineValor(QStringLiteral("NOME"), QStringLiteral("sumiu"));
    rs.Post();
    banco->executa(QStringLiteral("DELETE FROM PESSOA WHERE ID = 4"));  // another user removed it
    try {
        rs.ApplyUpdates(*banco, QStringLiteral("PESSOA"), {QStringLiteral("ID")});
        FAIL() << "a change that found no row was reported as written";
    } catch (const ErroQev& e) {
        EXPECT_EQ(e.mensagem(),
                  QStringLiteral("Registro não encontrado ou alterado por outro usuário."));
    }
    EXPECT_EQ(rs.ChangeCount(), 2);
    EXPECT_EQ(nomesNoBanco(),
              QStringList({"bruno", "Álvaro", "alberto", "ana"}));  // nothing half-written

    // Inside the caller's transaction the caller decides.
    banco->iniciaTransacao();
    rs.Vai(1);
    rs.Delete();
    EXPECT_THROW(rs.ApplyUpdates(*banco, QStringLiteral("PESSOA"), {QStringLiteral("ID")}),
                 ErroQev);
    EXPECT_TRUE(banco->emTransacao());
    banco->desfazTransacao();

    rs.CancelUpdates();
    EXPECT_EQ(rs.ChangeCount(), 0);
    EXPECT_EQ(nomes(), QStringList({"bruno", "Álvaro", "alberto", "Carlos", "ana"}));
    EXPECT_THROW(
        rs.ApplyUpdates(*banco, QStringLiteral("PESSOA; DROP TABLE X"), {QStringLiteral("ID")}),
        ErroQev);
}

TEST_F(RowSetTeste, TheLogIsKeptUntilTheTransactionHoldingTheWritesCommits) {
    const QStringList lidos{"bruno", "Álvaro", "alberto", "Carlos", "ana"};
    const auto muda = [&] {
        rs.Vai(0);
        rs.Edit();
        rs.DefineValor(QStringLiteral("NOME"), QStringLiteral("mudou"));
        rs.Post();
        rs.Vai(1);
        rs.Delete();
        rs.Append();
        rs.DefineValor(QStringLiteral("ID"), 9);
        rs.DefineValor(QStringLiteral("NOME"), QStringLiteral("novo"));
        rs.Post();
    };

    // Rolled back: the log comes back whole, and CancelUpdates returns the rows as read.
    muda();
    {
        TransacaoEscopo externa(*banco);
        EXPECT_EQ(rs.ApplyUpdates(*banco, QStringLiteral("PESSOA"), {QStringLiteral("ID")}), 3);
        // a second apply in the same transaction writes only what changed since
        EXPECT_EQ(rs.ApplyUpdates(*banco, QStringLiteral("PESSOA"), {QStringLiteral("ID")}), 0);
        rs.Vai(2);
        rs.Edit();
        rs.DefineValor(QStringLiteral("NOME"), QStringLiteral("depois"));
        rs.Post();
        EXPECT_EQ(rs.ApplyUpdates(*banco, QStringLiteral("PESSOA"), {QStringLiteral("ID")}), 1);
    }  // never committed
    EXPECT_FALSE(banco->emTransacao());
    EXPECT_EQ(nomesNoBanco(), lidos);
    EXPECT_EQ(rs.ChangeCount(), 4);
    rs.CancelUpdates();
    EXPECT_EQ(nomes(), lidos);

    // Committed by the caller: merged for good.
    muda();
    {
        TransacaoEscopo externa(*banco);
        rs.ApplyUpdates(*banco, QStringLiteral("PESSOA"), {QStringLiteral("ID")});
        externa.confirma();
    }
    EXPECT_EQ(rs.ChangeCount(), 0);
    rs.CancelUpdates();
    EXPECT_EQ(nomes(), nomesNoBanco());
    EXPECT_EQ(nomes(), QStringList({"mudou", "alberto", "Carlos", "ana", "novo"}));
}

TEST_F(RowSetTeste, ATransactionScopeOwnsOnlyWhatItBegan) {
    const auto conta = [&] {
        return banco->valor(QStringLiteral("SELECT count(*) FROM PESSOA")).toInt();
    };
    {
        TransacaoEscopo externa(*banco);
        EXPECT_TRUE(externa.propria());
        {
            TransacaoEscopo interna(*banco);
            EXPECT_FALSE(interna.propria());
            banco->executa(QStringLiteral("DELETE FROM PESSOA WHERE ID = 1"));
            interna.confirma();  // the caller's transaction: nothing committed here
            EXPECT_TRUE(banco->emTransacao());
        }
        EXPECT_TRUE(banco->emTransacao());  // and nothing rolled back by the inner scope
        EXPECT_EQ(conta(), 4);
    }
    EXPECT_EQ(conta(), 5);  // the outer one began it and never committed

    try {
        TransacaoEscopo t(*banco);
        banco->executa(QStringLiteral("DELETE FROM PESSOA WHERE ID = 2"));
        throw ErroQev(QStringLiteral("falhou"));
    } catch (const ErroQev&) {
    }
    EXPECT_FALSE(banco->emTransacao());
    EXPECT_EQ(conta(), 5);
}

TEST_F(RowSetTeste, IndexSortsNamesAsInPortugueseAndKeepsTheCurrentRow) {
    rs.Vai(3);  // Carlos
    rs.DefineIndice(QStringLiteral("INOME"), {{QStringLiteral("NOME"), false, true}});
    EXPECT_EQ(rs.Valor(QStringLiteral("NOME")).toString(), QStringLiteral("Carlos"));
    EXPECT_EQ(nomes(), QStringList({"alberto", "Álvaro", "ana", "bruno", "Carlos"}));
    rs.DefineIndice(QStringLiteral("INOME"), {{QStringLiteral("NOME"), true, true}});
    EXPECT_EQ(nomes(), QStringList({"Carlos", "bruno", "ana", "Álvaro", "alberto"}));
    // numbers by value, nulls first
    rs.DefineIndice(QStringLiteral("IIDADE"), {{QStringLiteral("IDADE"), false, true}});
    EXPECT_EQ(nomes(), QStringList({"alberto", "Álvaro", "ana", "bruno", "Carlos"}));
    rs.DefineIndice(QStringLiteral("INASC"), {{QStringLiteral("NASC"), false, true}});
    EXPECT_EQ(nomes(), QStringList({"Álvaro", "alberto", "ana", "bruno", "Carlos"}));

    // nearest row not smaller than a value, in the index's order
    rs.DefineIndice(QStringLiteral("INOME"), {{QStringLiteral("NOME"), false, true}});
    EXPECT_TRUE(rs.LocalizaProximo(QStringLiteral("AN")));
    EXPECT_EQ(rs.Valor(QStringLiteral("NOME")).toString(), QStringLiteral("ana"));
    EXPECT_TRUE(rs.LocalizaProximo(QStringLiteral("b")));
    EXPECT_EQ(rs.Valor(QStringLiteral("NOME")).toString(), QStringLiteral("bruno"));
    EXPECT_FALSE(rs.LocalizaProximo(QStringLiteral("zz")));
    EXPECT_EQ(rs.RecNo(), 4);
    rs.DefineIndice(QStringLiteral("IIDADE"), {{QStringLiteral("IDADE"), false, true}});
    EXPECT_TRUE(rs.LocalizaProximo(8));
    EXPECT_EQ(rs.Valor(QStringLiteral("IDADE")).toInt(), 10);

    // a posted row moves to its place
    rs.DefineIndice(QStringLiteral("INOME"), {{QStringLiteral("NOME"), false, true}});
    rs.Append();
    rs.DefineValor(QStringLiteral("ID"), 9);
    rs.DefineValor(QStringLiteral("NOME"), QStringLiteral("Beatriz"));
    rs.Post();
    EXPECT_EQ(rs.RecNo(), 3);
}

// Texts of digits only (CNPJ, CNES) skip the collation keys: the order must stay the
// collation's, lengths and leading zeros included; a column with one other character
// goes through the keys as before.
TEST_F(RowSetTeste, DigitOnlyKeysSortAsTheCollationDoes) {
    banco->executaScript(QStringLiteral(
        "CREATE TABLE DOC (ID INTEGER PRIMARY KEY, NUM TEXT CHECK (NUM IS NULL OR length(NUM) <= 14));"
        "INSERT INTO DOC VALUES (1, '123'), (2, '0999'), (3, '1234'), (4, '12'), (5, NULL), (6, '9'),"
        " (7, '00012345678901'), (8, '12345678000190'), (9, '012');"));
    QCollator colacao(QLocale(QLocale::Portuguese, QLocale::Brazil));
    colacao.setCaseSensitivity(Qt::CaseInsensitive);
    for (const bool comLetra : {false, true}) {
        if (comLetra) banco->executa(QStringLiteral("INSERT INTO DOC VALUES (10, '12a')"));
        RowSet docs;
        docs.Abre(*banco, QStringLiteral("SELECT * FROM DOC ORDER BY ID"));
        QStringList esperado = coluna(*banco, QStringLiteral("SELECT NUM FROM DOC WHERE NUM IS NOT NULL"));
        std::sort(esperado.begin(), esperado.end(),
                  [&](const QString& a, const QString& b) { return colacao.compare(a, b) < 0; });
        esperado.prepend(QString());  // nulls first
        for (const bool desc : {false, true}) {
            docs.DefineIndice(QStringLiteral("INUM"), {{QStringLiteral("NUM"), desc, true}});
            QStringList lidos;
            for (docs.First(); !docs.Eof(); docs.Next()) lidos << docs.Valor(QStringLiteral("NUM")).toString();
            QStringList e = esperado;
            if (desc) std::reverse(e.begin(), e.end());
            EXPECT_EQ(lidos, e) << comLetra << desc;
        }
        docs.DefineIndice(QStringLiteral("INUM"), {{QStringLiteral("NUM"), false, true}});
        EXPECT_TRUE(docs.LocalizaProximo(QStringLiteral("1235")));
        EXPECT_EQ(docs.Valor(QStringLiteral("NUM")).toString(), comLetra ? QStringLiteral("12a") : QStringLiteral("9"));
    }
}

// Text sizes come from the table's checks, read once per schema: a column added to the
// table (as start-up does) is seen by the next opening on the same connection. Dates
// stored alike are read alike.
TEST_F(RowSetTeste, SizesFollowTheSchemaAndEqualDatesReadAlike) {
    EXPECT_EQ(rs.campo(QStringLiteral("NOME")).tamanho, 40);
    banco->executa(QStringLiteral("ALTER TABLE PESSOA ADD COLUMN APELIDO TEXT CHECK (APELIDO IS NULL OR length(APELIDO) <= 7)"));
    banco->executa(QStringLiteral("UPDATE PESSOA SET NASC = '1999-12-31 10:20:30' WHERE ID IN (2, 4)"));
    rs.Abre(*banco, QStringLiteral("SELECT * FROM PESSOA ORDER BY ID"));
    EXPECT_EQ(rs.campo(QStringLiteral("APELIDO")).tamanho, 7);
    EXPECT_EQ(rs.campo(QStringLiteral("APELIDO")).tipo, TipoCampo::Texto);
    EXPECT_EQ(rs.campo(QStringLiteral("NOME")).tamanho, 40);
    const QDateTime esperado(QDate(1999, 12, 31), QTime(10, 20, 30));
    for (int pos : {1, 2, 3}) {
        rs.Vai(pos);
        EXPECT_EQ(rs.Valor(QStringLiteral("NASC")).toDateTime(), esperado) << pos;
        EXPECT_EQ(rs.Texto(QStringLiteral("NASC")), QStringLiteral("31/12/1999 10:20:30")) << pos;
    }
    rs.Vai(0);
    EXPECT_EQ(rs.Valor(QStringLiteral("NASC")).typeId(), QMetaType::QDate);
    // another connection to another file with the same schema version sees its own sizes
    PastaTeste outra;
    auto b2 = abreBanco(criaBanco(outra.caminho(), Esquema::Atual,
                                  QStringLiteral("CREATE TABLE PESSOA (ID INTEGER PRIMARY KEY, "
                                                 "NOME TEXT CHECK (NOME IS NULL OR length(NOME) <= 9));")));
    RowSet r2;
    r2.Abre(*b2, QStringLiteral("SELECT * FROM PESSOA"));
    EXPECT_EQ(r2.campo(QStringLiteral("NOME")).tamanho, 9);
}

TEST_F(RowSetTeste, FilterLocateAndMasterLink) {
    rs.DefineFiltro([](const RowSet& r, int linha) {
        return r.ValorDaLinha(linha, QStringLiteral("UF")) == "SP";
    });
    EXPECT_EQ(nomes(), QStringList({"bruno", "alberto"}));
    rs.DefineFiltro(nullptr);
    EXPECT_EQ(rs.RecordCount(), 5);

    EXPECT_FALSE(rs.Locate(QStringLiteral("NOME"), QStringLiteral("CARLOS")));
    EXPECT_TRUE(rs.Locate(QStringLiteral("NOME"), QStringLiteral("CARLOS"), {true, false}));
    EXPECT_EQ(rs.RecNo(), 3);
    EXPECT_TRUE(rs.Locate(QStringLiteral("NOME"), QStringLiteral("ál"), {true, true}));
    EXPECT_EQ(rs.Valor(QStringLiteral("ID")).toInt(), 2);
    EXPECT_TRUE(rs.Locate({QStringLiteral("UF"), QStringLiteral("IDADE")},
                          {QStringLiteral("RJ"), QStringLiteral("7")}));
    EXPECT_EQ(rs.Valor(QStringLiteral("NOME")).toString(), QStringLiteral("ana"));
    EXPECT_TRUE(rs.Locate(QStringLiteral("SALDO"), QVariant()));
    EXPECT_EQ(rs.Valor(QStringLiteral("ID")).toInt(), 2);

    RowSet ufs;
    ufs.Abre(*banco,
             QStringLiteral(
                 "SELECT CD_UF, NM_UF FROM TB_UFS WHERE CD_UF IN ('SP', 'RJ') ORDER BY CD_UF"));
    RowSet pessoas;
    pessoas.Abre(*banco, QStringLiteral("SELECT * FROM PESSOA ORDER BY ID"));
    pessoas.DefineMestre(&ufs, {QStringLiteral("CD_UF")}, {QStringLiteral("UF")});
    EXPECT_EQ(pessoas.RecordCount(), 2);  // RJ
    ufs.Next();
    EXPECT_EQ(pessoas.RecordCount(), 2);  // SP
    EXPECT_EQ(pessoas.Valor(QStringLiteral("NOME")).toString(), QStringLiteral("bruno"));
    pessoas.Append();
    EXPECT_EQ(pessoas.Valor(QStringLiteral("UF")).toString(),
              QStringLiteral("SP"));  // takes the master's key
    pessoas.DefineValor(QStringLiteral("ID"), 20);
    pessoas.Post();
    EXPECT_EQ(pessoas.RecordCount(), 3);
    ufs.Prior();
    EXPECT_EQ(pessoas.RecordCount(), 2);
}

TEST_F(RowSetTeste, ABatchAppliesTheIndexOnceAndAnnouncesOnceAndRowsLeaveInOnePass) {
    rs.DefineIndice(QStringLiteral("IndNome"), {{QStringLiteral("NOME")}});
    rs.DefineFiltro([](const RowSet& r, int linha) { return r.ValorDaLinha(linha, QStringLiteral("UF")) != "XX"; });
    QSignalSpy estrutura(&rs, &RowSet::estruturaMudou), registro(&rs, &RowSet::registroMudou),
        estado(&rs, &RowSet::estadoMudou);
    {
        const RowSet::Lote lote(rs);
        const RowSet::Lote dentro(rs);  // batches nest
        const struct {
            int id;
            const char* nome;
            const char* uf;
        } novas[] = {{10, "zeca", "SP"}, {11, "aaron", "XX"}, {12, "Beto", "RJ"}};
        for (const auto& n : novas) {
            rs.Append();
            rs.DefineValor(QStringLiteral("ID"), n.id);
            rs.DefineValor(QStringLiteral("NOME"), QString::fromUtf8(n.nome));
            rs.DefineValor(QStringLiteral("UF"), QString::fromUtf8(n.uf));
            rs.Post();
        }
        // the rows stay where they were appended; the one the filter hides left at once
        EXPECT_EQ(rs.RecordCount(), 7);
        EXPECT_EQ(rs.ValorNaPosicao(6, rs.IndiceCampo(QStringLiteral("NOME"))).toString(), QStringLiteral("Beto"));
        EXPECT_EQ(rs.Valor(QStringLiteral("NOME")).toString(), QStringLiteral("Beto"));
        EXPECT_EQ(estrutura.count() + registro.count() + estado.count(), 0);
    }
    EXPECT_EQ(estrutura.count(), 1);
    EXPECT_EQ(registro.count(), 1);
    EXPECT_EQ(estado.count(), 1);
    EXPECT_EQ(rs.Valor(QStringLiteral("NOME")).toString(), QStringLiteral("Beto"));
    EXPECT_EQ(rs.RecNo(), 3);  // the current row kept, in its sorted place
    EXPECT_EQ(nomes(), QStringList({"alberto", "Álvaro", "ana", "Beto", "bruno", "Carlos", "zeca"}));

    // many rows leave in one pass; the current row stays when it is not among them
    estrutura.clear();
    QVector<int> linhas;
    for (const char* n : {"alberto", "zeca", "ana"}) {
        rs.Locate(QStringLiteral("NOME"), QString::fromUtf8(n));
        linhas << rs.Linha();
    }
    rs.Locate(QStringLiteral("NOME"), QStringLiteral("Carlos"));
    rs.ExcluiLinhas(linhas + linhas);  // a row given twice is deleted once
    EXPECT_EQ(estrutura.count(), 1);
    EXPECT_EQ(rs.Valor(QStringLiteral("NOME")).toString(), QStringLiteral("Carlos"));
    EXPECT_EQ(nomes(), QStringList({"Álvaro", "Beto", "bruno", "Carlos"}));
    // the rows without filter: the hidden insertion counts, the deleted rows do not
    EXPECT_EQ(rs.LinhasSemFiltro().size(), 5);
    EXPECT_EQ(rs.ChangeCount(), 2 + 2);  // two stored rows deleted, two insertions left
    rs.ApplyUpdates(*banco, QStringLiteral("PESSOA"), {QStringLiteral("ID")});
    EXPECT_EQ(nomesNoBanco(), QStringList({"bruno", "Álvaro", "Carlos", "aaron", "Beto"}));
}

TEST_F(RowSetTeste, CalculatedAndLookUpFieldsFollowTheRowBeingEdited) {
    RowSet ufs;
    ufs.Abre(*banco, QStringLiteral("SELECT CD_UF, NM_UF FROM TB_UFS"));
    rs.Fecha();
    Campo nomeUf;
    nomeUf.nome = QStringLiteral("NOME_UF");
    nomeUf.lookup = {&ufs, QStringLiteral("UF"), QStringLiteral("CD_UF"), QStringLiteral("NM_UF")};
    Campo dobro;
    dobro.nome = QStringLiteral("DOBRO");
    dobro.tipo = TipoCampo::Inteiro;
    dobro.calculo = [](const RowSet& r, int linha) {
        const QVariant v = r.ValorDaLinha(linha, QStringLiteral("IDADE"));
        return v.isNull() ? QVariant() : QVariant(v.toLongLong() * 2);
    };
    rs.DefineCampos({nomeUf, dobro});
    rs.Abre(*banco, QStringLiteral("SELECT * FROM PESSOA ORDER BY ID"));
    EXPECT_EQ(rs.Valor(QStringLiteral("NOME_UF")).toString().toUpper(),
              QStringLiteral("SÃO PAULO"));
    EXPECT_EQ(rs.Valor(QStringLiteral("DOBRO")).toInt(), 20);
    rs.Edit();
    rs.DefineValor(QStringLiteral("UF"), QStringLiteral("MG"));
    rs.DefineValor(QStringLiteral("IDADE"), 4);
    EXPECT_EQ(rs.Valor(QStringLiteral("NOME_UF")).toString().toUpper(),
              QStringLiteral("MINAS GERAIS"));
    EXPECT_EQ(rs.Valor(QStringLiteral("DOBRO")).toInt(), 8);
    EXPECT_THROW(rs.DefineValor(QStringLiteral("DOBRO"), 1), ErroQev);
    rs.Post();
    EXPECT_EQ(rs.ApplyUpdates(*banco, QStringLiteral("PESSOA"), {QStringLiteral("ID")}),
              1);  // only data fields written
    EXPECT_EQ(
        banco->valor(QStringLiteral("SELECT UF || IDADE FROM PESSOA WHERE ID = 1")).toString(),
        QStringLiteral("MG4"));
}

TEST_F(RowSetTeste, NamedParametersAreBoundAgainOnEachOpeningAndTheUpdateTableIsNamedOnce) {
    RowSet porUf;
    Campo idade;
    idade.nome = QStringLiteral("IDADE");
    idade.tipo = TipoCampo::Inteiro;
    idade.textoExibido = [](const RowSet& r, int linha) {
        const QVariant v = r.ValorDaLinha(linha, QStringLiteral("IDADE"));
        return v.isNull() ? QStringLiteral("?") : v.toString() + QStringLiteral(" anos");
    };
    porUf.DefineCampos({idade});
    porUf.DefineComando(QStringLiteral("SELECT * FROM PESSOA WHERE UF = :uf ORDER BY ID"),
                        {{QStringLiteral("UF"), QStringLiteral("SP")}});
    porUf.DefineAtualizacao(QStringLiteral("PESSOA"), {QStringLiteral("ID")});
    porUf.DefineIndice(QStringLiteral("IndNome"), {{QStringLiteral("NOME")}});  // before opening
    porUf.Abre(*banco);
    EXPECT_EQ(porUf.Valor(QStringLiteral("NOME")).toString(), QStringLiteral("alberto"));
    porUf.RemoveIndice();
    porUf.First();
    EXPECT_EQ(porUf.RecordCount(), 2);
    EXPECT_EQ(porUf.Texto(QStringLiteral("IDADE")), QStringLiteral("10 anos"));
    porUf.Next();
    EXPECT_EQ(porUf.Texto(QStringLiteral("IDADE")), QStringLiteral("?"));

    // a parameter given again (names ignore case) takes effect at the next opening only
    porUf.DefineParametro(QStringLiteral("uf"), QStringLiteral("RJ"));
    EXPECT_EQ(porUf.Parametro(QStringLiteral("Uf")).toString(), QStringLiteral("RJ"));
    EXPECT_EQ(porUf.RecordCount(), 2);
    porUf.Abre(*banco);
    EXPECT_EQ(porUf.Valor(QStringLiteral("NOME")).toString(), QStringLiteral("Álvaro"));
    EXPECT_EQ(porUf.Texto(QStringLiteral("IDADE")), QStringLiteral("2 anos"));  // kept on reopening
    porUf.Edit();
    porUf.DefineValor(QStringLiteral("NOME"), QStringLiteral("Álvaro Reis"));
    porUf.Post();
    EXPECT_EQ(porUf.ApplyUpdates(*banco), 1);
    EXPECT_EQ(banco->valor(QStringLiteral("SELECT NOME FROM PESSOA WHERE ID = 2")).toString(),
              QStringLiteral("Álvaro Reis"));

    RowSet semTabela;
    semTabela.Abre(*banco, QStringLiteral("SELECT * FROM PESSOA"));
    EXPECT_THROW(semTabela.ApplyUpdates(*banco), ErroQev);
    RowSet semComando;
    EXPECT_THROW(semComando.Abre(*banco), ErroQev);
}

TEST_F(RowSetTeste, GridShowsVisibleFieldsAndFollowsTheCurrentRowBothWays) {
    rs.campo(QStringLiteral("OBS")).visivel = false;
    rs.campo(QStringLiteral("NOME")).rotulo = QStringLiteral("Nome");
    rs.campo(QStringLiteral("ID")).mascara = QStringLiteral("9-9");
    QTableView grade;
    ModeloRowSet* m = LigaGrade(&grade, &rs);
    ASSERT_EQ(m->columnCount(), 6);
    EXPECT_EQ(m->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Nome"));
    EXPECT_EQ(m->headerData(2, Qt::Horizontal).toString(), QStringLiteral("UF"));
    EXPECT_EQ(m->index(0, 5).data().toString(), QStringLiteral("03/02/2001"));
    EXPECT_EQ(m->index(1, 4).data().toString(), QString());
    EXPECT_EQ(m->index(2, 3).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight,
              int(Qt::AlignRight));
    m->DefineColunaDestacada(1);
    EXPECT_TRUE(m->headerData(1, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
    m->DefineCorLinha([](const RowSet& r, int linha) {
        return r.ValorDaLinha(linha, QStringLiteral("IDADE")).isNull() ? QColor(Qt::red) : QColor();
    });
    EXPECT_EQ(m->index(2, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    EXPECT_FALSE(m->index(0, 0).data(Qt::ForegroundRole).isValid());

    rs.Vai(3);
    EXPECT_EQ(grade.currentIndex().row(), 3);
    grade.setCurrentIndex(m->index(1, 1));
    EXPECT_EQ(rs.RecNo(), 1);
    rs.Append();  // the new row shows in the grid while it is inserted
    EXPECT_EQ(m->rowCount(), 6);
    // a cell typed in the grid goes into the row being inserted, which stays so
    m->DefineEditavel(true);
    EXPECT_TRUE(m->setData(m->index(5, 1), QStringLiteral("digitado"), Qt::EditRole));
    EXPECT_EQ(rs.State(), RowSet::Estado::Insercao);
    EXPECT_EQ(rs.Valor(QStringLiteral("NOME")).toString(), QStringLiteral("digitado"));
    rs.Cancel();
    EXPECT_EQ(m->rowCount(), 5);
    EXPECT_EQ(grade.currentIndex().row(), 1);
}

}  // namespace

// A grid bound to take its model when shown: the model is there at once (and follows the
// set), the grid gets it at its first show, its columns sized by what listens to the reset,
// and its current row is the set's.
TEST_F(RowSetTeste, AGridBoundWhenShownTakesItsModelAtItsFirstShow) {
    QWidget pagina;
    auto* grade = new QTableView(&pagina);
    ModeloRowSet* m = LigaGrade(grade, &rs, LigacaoGrade::AoMostrar);
    EXPECT_EQ(ModeloDaGrade(grade), m);
    EXPECT_EQ(grade->model(), nullptr);
    EXPECT_EQ(grade->selectionModel(), nullptr);
    int reinicios = 0;
    QObject::connect(m, &QAbstractItemModel::modelReset, grade, [&] { ++reinicios; });
    rs.Vai(2);
    pagina.show();
    ASSERT_EQ(grade->model(), m);
    EXPECT_EQ(reinicios, 1);
    EXPECT_EQ(grade->model()->rowCount(), rs.RecordCount());
    EXPECT_EQ(grade->currentIndex().row(), 2);
    rs.Vai(4);  // and follows the set from then on
    EXPECT_EQ(grade->currentIndex().row(), 4);
    // a grid already shown takes it at once
    auto* outra = new QTableView(&pagina);
    outra->show();
    LigaGrade(outra, &rs, LigacaoGrade::AoMostrar);
    EXPECT_NE(outra->model(), nullptr);
}

TEST_F(RowSetTeste, AGridOutlivingItsRowSetShowsNothingInsteadOfReadingFreedRows) {
    QTableView grade;
    auto proprio = std::make_unique<RowSet>();
    proprio->Abre(*banco, QStringLiteral("SELECT ID, NOME FROM PESSOA ORDER BY ID"));
    LigaGrade(&grade, proprio.get());
    grade.show();
    EXPECT_EQ(grade.model()->rowCount(), 5);
    proprio.reset();  // as a screen's members go before its widgets
    EXPECT_EQ(grade.model()->rowCount(), 0);
    EXPECT_EQ(grade.model()->columnCount(), 0);
    grade.hide();  // hiding and painting read the model again
    grade.show();
    QCoreApplication::processEvents();
}
