// Moving the marked rows of one grid to another.
#include <QItemSelectionModel>
#include <QSignalSpy>
#include <QTableView>

#include "apoio/Apoio.h"
#include "common/MoveLinhas.h"
#include "db/ModeloRowSet.h"
#include "db/RowSet.h"

namespace {

Campo campo(const char* nome, TipoCampo tipo) {
    Campo c;
    c.nome = QString::fromLatin1(nome);
    c.tipo = tipo;
    return c;
}

class MoveLinhasTeste : public ::testing::Test {
protected:
    RowSet origem, destino;
    QTableView gradeOrigem, gradeDestino;

    void SetUp() override {
        origem.DefineCampos({campo("ID", TipoCampo::Inteiro), campo("NOME", TipoCampo::Texto),
                             campo("EXTRA", TipoCampo::Texto)});
        origem.CriaVazio();
        for (int i = 1; i <= 5; ++i) {
            origem.Append();
            origem.DefineValor(QStringLiteral("ID"), i);
            origem.DefineValor(QStringLiteral("NOME"), QStringLiteral("n%1").arg(i));
            origem.DefineValor(QStringLiteral("EXTRA"), QStringLiteral("x"));
            origem.Post();
        }
        origem.MergeChangeLog();
        destino.DefineCampos({campo("NOME", TipoCampo::Texto), campo("ID", TipoCampo::Inteiro)});
        destino.CriaVazio();
        LigaGrade(&gradeOrigem, &origem);
        LigaGrade(&gradeDestino, &destino);
        gradeOrigem.setSelectionMode(QAbstractItemView::MultiSelection);
        origem.First();
    }
    static QStringList nomes(RowSet& rs) {
        QStringList r;
        for (int p = 0; p < rs.RecordCount(); ++p)
            r << rs.ValorNaPosicao(p, rs.IndiceCampo(QStringLiteral("NOME"))).toString();
        return r;
    }
    void marca(std::initializer_list<int> linhas) {
        for (int l : linhas)
            gradeOrigem.selectionModel()->select(
                gradeOrigem.model()->index(l, 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
};

TEST_F(MoveLinhasTeste, MarkedRowsAreCopiedByColumnNameAndLeaveTheSource) {
    marca({3, 1});
    MoveLinhasSelecionadas(&gradeOrigem, &gradeDestino, true, false);
    EXPECT_EQ(nomes(origem), QStringList({"n1", "n3", "n5"}));
    EXPECT_EQ(nomes(destino), QStringList({"n2", "n4"}));
    destino.Vai(1);
    EXPECT_EQ(destino.Valor(QStringLiteral("ID")).toInt(), 4);
    EXPECT_TRUE(gradeOrigem.selectionModel()->selectedRows().isEmpty());
    EXPECT_EQ(origem.ChangeCount(), 2);   // deletions waiting to be written
    EXPECT_EQ(destino.ChangeCount(), 2);  // insertions waiting to be written
}

TEST_F(MoveLinhasTeste, AllRowsNoMarksAndMoveWithoutCopy) {
    const struct {
        bool copia;
        bool todos;
        int atual;
        QStringList ficam;
        QStringList chegam;
    } casos[] = {
        {true, true, 0, {}, {"n1", "n2", "n3", "n4", "n5"}},
        {true, false, 2, {"n1", "n2", "n4", "n5"}, {"n3"}},
        {false, false, 4, {"n1", "n2", "n3", "n4"}, {}},
        {false, true, 0, {}, {}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.atual);
        origem.CancelUpdates();
        destino.CancelUpdates();
        gradeOrigem.clearSelection();
        origem.Vai(c.atual);
        MoveLinhasSelecionadas(&gradeOrigem, &gradeDestino, c.copia, c.todos);
        EXPECT_EQ(nomes(origem), c.ficam);
        EXPECT_EQ(nomes(destino), c.chegam);
    }
    // an empty source: nothing happens
    MoveLinhasSelecionadas(&gradeOrigem, &gradeDestino, true, true);
    EXPECT_TRUE(nomes(destino).isEmpty());
}

TEST_F(MoveLinhasTeste, ATargetColumnMissingFromTheSourceIsAnError) {
    RowSet outro;
    outro.DefineCampos({campo("NOME", TipoCampo::Texto), campo("NAO_EXISTE", TipoCampo::Texto)});
    outro.CriaVazio();
    QTableView gradeOutro;
    LigaGrade(&gradeOutro, &outro);
    EXPECT_THROW(MoveLinhasSelecionadas(&gradeOrigem, &gradeOutro, true, false), ErroQev);
    EXPECT_EQ(origem.RecordCount(), 5);
    EXPECT_TRUE(gradeOrigem.updatesEnabled());
}

TEST(MoveLinhasVolume, ThousandsOfRowsRebuildEachGridOnceAndTheTargetKeepsItsOrder) {
    constexpr int n = 5000;
    RowSet origem, destino;
    origem.DefineCampos({campo("ID", TipoCampo::Inteiro), campo("NOME", TipoCampo::Texto)});
    origem.CriaVazio();
    for (int i = 0; i < n; ++i) {
        origem.Append();
        origem.DefineValor(QStringLiteral("ID"), i);
        origem.DefineValor(QStringLiteral("NOME"), QStringLiteral("nome %1").arg(n - i, 5, 10, QLatin1Char('0')));
        origem.Post();
    }
    origem.MergeChangeLog();
    destino.DefineCampos({campo("NOME", TipoCampo::Texto), campo("ID", TipoCampo::Inteiro)});
    destino.DefineIndice(QStringLiteral("IndNome"), {{QStringLiteral("NOME")}});
    destino.CriaVazio();
    QTableView gradeOrigem, gradeDestino;
    LigaGrade(&gradeOrigem, &origem);
    LigaGrade(&gradeDestino, &destino);
    QSignalSpy resetOrigem(gradeOrigem.model(), &QAbstractItemModel::modelReset);
    QSignalSpy resetDestino(gradeDestino.model(), &QAbstractItemModel::modelReset);
    MoveLinhasSelecionadas(&gradeOrigem, &gradeDestino, true, true);
    EXPECT_EQ(resetOrigem.count(), 1);
    EXPECT_EQ(resetDestino.count(), 1);
    EXPECT_TRUE(origem.IsEmpty());
    ASSERT_EQ(destino.RecordCount(), n);
    ASSERT_EQ(gradeDestino.model()->rowCount(), n);
    for (int p = 0; p < n; ++p)  // the index applied: names ascending, IDs descending
        ASSERT_EQ(destino.ValorNaPosicao(p, 1).toInt(), n - 1 - p) << p;
    EXPECT_EQ(destino.ChangeCount(), n);
    EXPECT_EQ(origem.ChangeCount(), n);
}

}  // namespace
