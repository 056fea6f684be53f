// The generic search dialog.
#include <QFont>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <QDir>

#include "common/Mnemonicos.h"
#include "LeitorXlsx.h"
#include "apoio/Apoio.h"
#include "common/ExportaPlanilha.h"
#include "common/FrmConsulta.h"
#include "db/Erro.h"
#include "db/ModeloRowSet.h"
#include "db/RowSet.h"
#include "platform/Plataforma.h"

using namespace Apoio;

namespace {

const char* kLista = R"SQL(
CREATE TABLE LISTA (
    ID INTEGER PRIMARY KEY NOT NULL,
    NOME TEXT CHECK (NOME IS NULL OR length(NOME) <= 30),
    VALOR REAL,
    DATA DATE,
    HORA TIME
);
INSERT INTO LISTA VALUES (1, 'Hospital São Lucas', 10.5, '2024-03-20', '08:00:00');
INSERT INTO LISTA VALUES (2, 'hospital Alfa', 1234.25, '2024-01-05', '12:30:00');
INSERT INTO LISTA VALUES (3, 'Clínica Beta', NULL, '2024-03-15', NULL);
INSERT INTO LISTA VALUES (4, 'Ávila Centro', 3, NULL, '23:59:59');
INSERT INTO LISTA VALUES (5, 'Zeta', -1, '2023-12-31', '00:00:01');
INSERT INTO LISTA VALUES (6, 'HOSPITAL bravo', 7, '2024-03-16', '09:00:00');
)SQL";

const QString kSql = QStringLiteral("SELECT ID, VALOR, NOME, DATA, HORA FROM LISTA");

class ConsultaTeste : public ::testing::Test {
protected:
    PastaTeste pasta;
    std::unique_ptr<Banco> banco;
    Mensageiro mensagens;

    void SetUp() override {
        banco = abreBanco(criaBanco(pasta.caminho(), Esquema::Atual, QString::fromUtf8(kLista)));
    }

    std::unique_ptr<TfrmConsulta> abre(const QString& legendas = QStringLiteral("Código;;Nome"),
                                       const QString& retorno = QStringLiteral("nome;id;NADA")) {
        auto d = std::make_unique<TfrmConsulta>(nullptr, QStringLiteral("Consulta de Teste"),
                                                legendas, retorno, kSql, *banco);
        d->show();
        return d;
    }
    static QStringList coluna(TfrmConsulta& d, const QString& nome) {
        QStringList r;
        for (int p = 0; p < d.cdsConsulta()->RecordCount(); ++p)
            r << d.cdsConsulta()->ValorNaPosicao(p, d.cdsConsulta()->IndiceCampo(nome)).toString();
        return r;
    }
    static void clicaTitulo(TfrmConsulta& d, int coluna) {
        QHeaderView* h = d.grdConsulta()->horizontalHeader();
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                          QPoint(h->sectionViewportPosition(coluna) + 4, h->height() / 2));
    }
    static QString atual(TfrmConsulta& d) { return d.Valor(QStringLiteral("NOME")).toString(); }
};

TEST_F(ConsultaTeste, OpeningGivesCaptionsWidthsCountSizeAndReturnedColumns) {
    auto d = abre();
    ModeloRowSet* m = ModeloDaGrade(d->grdConsulta());
    ASSERT_EQ(m->columnCount(), 5);
    const QStringList legendas{"Código", "", "Nome", "DATA", "HORA"};
    const int larguras[] = {97, 97, 8 * 30 + 8, 97, 97};
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(m->headerData(c, Qt::Horizontal).toString().trimmed(), legendas[c]) << c;
        EXPECT_EQ(d->grdConsulta()->columnWidth(c), larguras[c]) << c;
    }
    EXPECT_EQ(d->lblRegistros()->text(), QStringLiteral(" 6 registro(s)"));
    const QRect tela = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(d->size(), QSize(int(tela.width() * 0.8), int(tela.height() * 0.8)));
    // returned columns by name regardless of case, in the list's order
    EXPECT_EQ(d->ColunasRetorno(), QStringList({"NOME", "ID"}));
    // sorted by the first column; the search box follows it and has the focus
    EXPECT_EQ(coluna(*d, "ID"), QStringList({"1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(Mnemonicos::TextoVisivel(d->lblLocalizar()->text()), QStringLiteral("Localizar por CÓDIGO"));
    EXPECT_EQ(d->tipoBusca(), TfrmConsulta::TipoBusca::Inteiro);
    EXPECT_EQ(d->edtPesquisa()->width(), 97);
    EXPECT_EQ(d->focusWidget(), d->edtPesquisa());
}

TEST_F(ConsultaTeste, TitleClicksSortAscendingThenDescendingIgnoringCaseAndAccents) {
    auto d = abre();
    ModeloRowSet* m = ModeloDaGrade(d->grdConsulta());
    clicaTitulo(*d, 2);
    const QStringList asc{"Ávila Centro",   "Clínica Beta",       "hospital Alfa",
                          "HOSPITAL bravo", "Hospital São Lucas", "Zeta"};
    EXPECT_EQ(coluna(*d, "NOME"), asc);
    EXPECT_TRUE(m->headerData(2, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(m->headerData(0, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
    EXPECT_EQ(m->ordemDestacada(), Qt::AscendingOrder);  // arrow up
    EXPECT_FALSE(m->headerData(2, Qt::Horizontal, Qt::DecorationRole).isNull());
    EXPECT_TRUE(m->headerData(0, Qt::Horizontal, Qt::DecorationRole).isNull());
    EXPECT_EQ(Mnemonicos::TextoVisivel(d->lblLocalizar()->text()), QStringLiteral("Localizar por NOME"));
    EXPECT_EQ(d->tipoBusca(), TfrmConsulta::TipoBusca::Texto);
    EXPECT_EQ(d->edtPesquisa()->maxLength(), 30);
    EXPECT_EQ(d->edtPesquisa()->width(), 257);

    clicaTitulo(*d, 2);
    QStringList desc = asc;
    std::reverse(desc.begin(), desc.end());
    EXPECT_EQ(coluna(*d, "NOME"), desc);
    EXPECT_EQ(m->ordemDestacada(), Qt::DescendingOrder);  // arrow down
    EXPECT_EQ(d->cdsConsulta()->NomeIndice(), QStringLiteral("INOME"));

    clicaTitulo(*d, 1);  // another title: ascending again, nulls first
    EXPECT_EQ(coluna(*d, "VALOR"), QStringList({"", "-1", "3", "7", "10.5", "1234.25"}));
    EXPECT_EQ(d->tipoBusca(), TfrmConsulta::TipoBusca::Decimal);
    EXPECT_FALSE(m->headerData(2, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
    clicaTitulo(*d, 1);
    EXPECT_EQ(coluna(*d, "VALOR").first(), QStringLiteral("1234.25"));
    clicaTitulo(*d, 3);
    EXPECT_EQ(d->tipoBusca(), TfrmConsulta::TipoBusca::Data);
    EXPECT_EQ(coluna(*d, "ID"), QStringList({"4", "5", "2", "3", "6", "1"}));
    clicaTitulo(*d, 4);
    EXPECT_EQ(d->tipoBusca(), TfrmConsulta::TipoBusca::Hora);
}

TEST_F(ConsultaTeste, TypingMovesToTheFirstRowNotSmallerAndADateWaitsForEightDigits) {
    auto d = abre();
    clicaTitulo(*d, 2);
    d->grdConsulta()->setCurrentIndex(d->grdConsulta()->model()->index(5, 2));
    QTest::keyClicks(d->edtPesquisa(), QStringLiteral("Hosp"));
    EXPECT_TRUE(d->tmrBusca()->isActive());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !d->tmrBusca()->isActive(); }, 5000));
    EXPECT_EQ(atual(*d), QStringLiteral("hospital Alfa"));
    EXPECT_EQ(d->grdConsulta()->currentIndex().row(), 2);
    d->edtPesquisa()->setText(QStringLiteral("hospital s"));
    d->ExecutaBusca();
    EXPECT_EQ(atual(*d), QStringLiteral("Hospital São Lucas"));
    d->edtPesquisa()->setText(QStringLiteral("   "));  // blank: nothing
    d->ExecutaBusca();
    EXPECT_EQ(atual(*d), QStringLiteral("Hospital São Lucas"));

    clicaTitulo(*d, 3);
    d->cdsConsulta()->First();
    QTest::keyClicks(d->edtPesquisa(), QStringLiteral("1503202"));
    d->ExecutaBusca();
    EXPECT_EQ(d->cdsConsulta()->RecNo(), 0);  // seven digits: no move
    QTest::keyClicks(d->edtPesquisa(), QStringLiteral("4"));
    d->ExecutaBusca();
    EXPECT_EQ(d->Valor(QStringLiteral("ID")).toInt(), 3);     // 15/03/2024
    d->edtPesquisa()->setText(QStringLiteral("31/02/2024"));  // impossible date: ignored
    d->ExecutaBusca();
    EXPECT_EQ(d->Valor(QStringLiteral("ID")).toInt(), 3);

    clicaTitulo(*d, 0);
    QTest::keyClicks(d->edtPesquisa(), QStringLiteral("5"));
    d->ExecutaBusca();
    EXPECT_EQ(d->Valor(QStringLiteral("ID")).toInt(), 5);
}

TEST_F(ConsultaTeste, HiddenColumnsStayReadableAndTheAnswerFollowsTheChosenRow) {
    auto d = abre();
    d->EscondeColuna(QStringLiteral("id"));
    ModeloRowSet* m = ModeloDaGrade(d->grdConsulta());
    EXPECT_EQ(m->columnCount(), 4);
    EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString().trimmed(), QString());
    d->cdsConsulta()->Vai(3);
    EXPECT_EQ(d->ValoresRetorno(), QVariantList({"Ávila Centro", 4}));

    // double click on a row answers OK with that row
    QTableView* g = d->grdConsulta();
    const QRect r = g->visualRect(g->model()->index(1, 1));
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(d->Valor(QStringLiteral("Id")).toInt(), 2);

    auto e = abre();
    e->show();
    e->cdsConsulta()->Vai(4);
    QTest::keyClick(e->grdConsulta(), Qt::Key_Return);  // Enter in the list
    EXPECT_EQ(e->result(), QDialog::Accepted);
    EXPECT_EQ(e->Valor(QStringLiteral("ID")).toInt(), 5);

    auto f = abre();
    QTest::keyClick(f->grdConsulta(), Qt::Key_Escape);
    EXPECT_EQ(f->result(), QDialog::Rejected);
    EXPECT_FALSE(f->isVisible());
}

TEST_F(ConsultaTeste, AnEmptyResultCannotBeConfirmedAndAReloadRunsTheNewStatement) {
    auto d = abre();
    d->Recarrega(QStringLiteral("SELECT ID, VALOR, NOME, DATA, HORA FROM LISTA WHERE NOME LIKE ?"),
                 {QStringLiteral("z%")});
    EXPECT_EQ(d->lblRegistros()->text(), QStringLiteral(" 1 registro(s)"));
    d->Recarrega(QStringLiteral("SELECT ID, VALOR, NOME, DATA, HORA FROM LISTA WHERE ID < 0"));
    EXPECT_EQ(d->lblRegistros()->text(), QStringLiteral(" 0 registro(s)"));
    QTest::mouseClick(d->btnConfirmar(), Qt::LeftButton);
    EXPECT_TRUE(d->isVisible());
    QTest::mouseClick(d->btnCancelar(), Qt::LeftButton);
    EXPECT_EQ(d->result(), QDialog::Rejected);
}

TEST_F(ConsultaTeste, ExportWritesASheetWithTheCaptionsAndEveryRowInOrder) {
    QString aberto;
    Lancador::Tratador anterior = Lancador::define([&](Lancador::Tipo t, const QString& alvo) {
        if (t == Lancador::Tipo::Arquivo) aberto = alvo;
        return true;
    });
    auto d = abre(QStringLiteral("Código;Valor;Nome;Data;Hora"));
    d->setWindowTitle(QStringLiteral("Pesquisa de Estabelecimentos de Saúde classificados"));
    d->EscondeColuna(QStringLiteral("HORA"));
    clicaTitulo(*d, 2);
    clicaTitulo(*d, 2);  // descending by name
    QTest::mouseClick(d->btnExportar(), Qt::LeftButton);
    ASSERT_FALSE(aberto.isEmpty());
    EXPECT_TRUE(aberto.endsWith(QStringLiteral(".xlsx")));
    const LeitorXlsx::Planilha p = LeitorXlsx::le(aberto);
    EXPECT_EQ(p.nomesFolhas, QStringList({"Pesquisa de Estabelecimentos d"}));
    ASSERT_EQ(p.linhas.size(), 7);
    EXPECT_EQ(p.linhas[0], QStringList({"Código", "Valor", "Nome", "Data"}));
    EXPECT_EQ(p.linhas[1].mid(0, 3), QStringList({"5", "-1", "Zeta"}));
    EXPECT_EQ(p.linhas[2].mid(0, 3), QStringList({"1", "10.5", "Hospital São Lucas"}));
    EXPECT_EQ(p.linhas[6].mid(0, 3), QStringList({"4", "3", "Ávila Centro"}));
    EXPECT_EQ(p.linhas[2].value(3), QStringLiteral("45371"));  // 20/03/2024 as a spreadsheet date
    EXPECT_TRUE(mensagens.textos().isEmpty());
    QFile::remove(aberto);

    // a file that cannot be written is reported, not opened
    aberto.clear();
    RowSet vazio;
    vazio.Abre(*banco, kSql);
    EXPECT_THROW(ExportaPlanilha(vazio, QStringLiteral("x"),
                                 pasta.arquivo(QStringLiteral("nao/existe.xlsx"))),
                 ErroQev);
    Lancador::define(anterior);
}

TEST(NomePlanilha, FirstThirtyCharactersWithoutForbiddenOnes) {
    EXPECT_EQ(NomePlanilha(QStringLiteral("Pesquisa de Estabelecimentos de Saúde")),
              QStringLiteral("Pesquisa de Estabelecimentos d"));
    EXPECT_EQ(NomePlanilha(QStringLiteral("A/B:C[1]*?\\")), QStringLiteral("A B C 1    "));
    EXPECT_EQ(NomePlanilha(QStringLiteral("'")), QStringLiteral("Planilha1"));
}

}  // namespace

namespace {
// The user's documents folder of one test, the clock fixed, the launcher recorded.
class PlanilhaTeste : public ConsultaTeste {
protected:
    QString documentosAntes = PastaDocumentos::caminho();
    QStringList abertos;
    Lancador::Tratador lancadorAntes;
    void SetUp() override {
        ConsultaTeste::SetUp();
        PastaDocumentos::define(pasta.arquivo(QStringLiteral("Meus Documentos")));
        Relogio::define([] { return QDateTime(QDate(2024, 6, 15), QTime(10, 30, 5)); });
        lancadorAntes = Lancador::define([this](Lancador::Tipo t, const QString& alvo) {
            if (t == Lancador::Tipo::Arquivo) abertos << alvo;
            return true;
        });
    }
    void TearDown() override {
        Lancador::define(lancadorAntes);
        Relogio::define({});
        PastaDocumentos::define(documentosAntes);
    }
    QStringList arquivosQev() const {
        return QDir(pasta.arquivo(QStringLiteral("Meus Documentos/QEV"))).entryList(QDir::Files);
    }
};
}  // namespace

TEST_F(PlanilhaTeste, ExportGoesIntoTheQevFolderOfTheDocumentsNamedFromTheSheetAndTheTime) {
    RowSet rs;
    rs.Abre(*banco, QStringLiteral("SELECT ID, NOME FROM LISTA ORDER BY ID"));
    const QString primeiro = ExportaEAbrePlanilha(rs, QStringLiteral("Planos: hospital/clínica"));
    const QString pastaQev = pasta.arquivo(QStringLiteral("Meus Documentos/QEV"));
    EXPECT_EQ(primeiro, pastaQev + QStringLiteral("/Planos hospital clínica 2024-06-15 10-30-05.xlsx"));
    // Another export in the same second never replaces the first.
    const QString segundo = ExportaEAbrePlanilha(rs, QStringLiteral("Planos: hospital/clínica"));
    EXPECT_EQ(segundo, pastaQev + QStringLiteral("/Planos hospital clínica 2024-06-15 10-30-05 (2).xlsx"));
    EXPECT_EQ(abertos, (QStringList{primeiro, segundo}));
    EXPECT_EQ(arquivosQev().size(), 2) << "no partial file left: " << arquivosQev().join('|').toStdString();
    const LeitorXlsx::Planilha p = LeitorXlsx::le(primeiro);
    ASSERT_EQ(p.linhas.size(), 7);
    EXPECT_EQ(p.linhas[1], (QStringList{"1", "Hospital São Lucas"}));
}

TEST_F(PlanilhaTeste, ACellTheFormatRefusesIsShownAndNothingIsLeft) {
    // A text longer than a cell holds (32,767 characters): the writer refuses the cell.
    auto d = abre();
    d->Recarrega(QStringLiteral("SELECT ID, NOME || printf('%.40000c', 'x') AS NOME FROM LISTA"));
    QTest::mouseClick(d->btnExportar(), Qt::LeftButton);
    ASSERT_EQ(mensagens.pedidos().size(), 1);
    EXPECT_EQ(mensagens.pedidos()[0].tipo, Mensagens::Erro);
    EXPECT_TRUE(mensagens.textos()[0].startsWith(QStringLiteral("Não foi possível gerar a planilha")))
        << mensagens.textos()[0].toStdString();
    EXPECT_TRUE(abertos.isEmpty());
    EXPECT_TRUE(arquivosQev().isEmpty()) << arquivosQev().join('|').toStdString();
}

TEST_F(PlanilhaTeste, AListPastTheFormatsRowLimitIsRefusedWithTheLimit) {
    RowSet rs;
    rs.Abre(*banco, QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                                   "WHERE i < 1048576) SELECT i AS ID FROM n"));
    ASSERT_EQ(rs.RecordCount(), 1048576);  // with the title row, one more than a sheet holds
    try {
        ExportaEAbrePlanilha(rs, QStringLiteral("Tudo"));
        ADD_FAILURE() << "exported";
    } catch (const ErroQev& e) {
        EXPECT_EQ(e.mensagem(), MensagemLimiteLinhas(1048576));
        EXPECT_TRUE(e.mensagem().contains(QStringLiteral("no máximo 1.048.576 linhas")));
    }
    EXPECT_THROW(ExportaPlanilha(rs, QStringLiteral("Tudo"), pasta.arquivo(QStringLiteral("tudo.xlsx"))),
                 ErroQev);
    EXPECT_FALSE(QFile::exists(pasta.arquivo(QStringLiteral("tudo.xlsx"))));
    EXPECT_TRUE(abertos.isEmpty());
    EXPECT_TRUE(arquivosQev().isEmpty());
}
