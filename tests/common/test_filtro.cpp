// The filter builder: each (column kind, inputs) gives a condition that is also run
// against a real database to show it selects the right rows.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>

#include "apoio/Apoio.h"
#include "common/Entradas.h"
#include "common/FrameFiltro.h"
#include "db/RowSet.h"

using namespace Apoio;

namespace {

const char* kTabela = R"SQL(
CREATE TABLE T (
    ID INTEGER PRIMARY KEY,
    NOME TEXT CHECK (NOME IS NULL OR length(NOME) <= 40),
    QTD INTEGER,
    VALOR REAL,
    DT DATE,
    DTH DATETIME,
    CD_UF TEXT CHECK (CD_UF IS NULL OR length(CD_UF) <= 2)
);
INSERT INTO T VALUES (1, 'Silva Souza', 5, 1234.5, '2024-03-15', '2024-03-15 00:00:00', 'SP');
INSERT INTO T VALUES (2, 'SILVA Junior', 10, 1234.49, '2024-03-14', '2024-03-15 23:59:59', 'RJ');
INSERT INTO T VALUES (3, 'silvano', 15, 2000, '2024-03-16', '2024-03-16 00:00:00', 'SP');
INSERT INTO T VALUES (4, 'D''Avila Costa', 0, NULL, NULL, '2024-03-14 23:59:59', 'MG');
INSERT INTO T VALUES (5, 'Desconto 50% já', NULL, 0, '2024-03-31', NULL, NULL);
INSERT INTO T VALUES (6, 'Preço 500 reais', 500, -1, '2024-04-01', NULL, 'SP');
INSERT INTO T VALUES (7, 'joão pedro', 1, 1, '2023-01-01', NULL, 'RJ');
INSERT INTO T VALUES (8, 'JOÃO MARIA', 2, 2, '2025-01-01', NULL, 'RJ');
INSERT INTO T VALUES (9, 'Maria Silva', 3, 3, NULL, NULL, 'MG');
INSERT INTO T VALUES (10, 'a_b', 4, 4, NULL, NULL, NULL);
INSERT INTO T VALUES (11, 'axb', 5, 5, NULL, NULL, NULL);
)SQL";

class FiltroTeste : public ::testing::Test {
protected:
    PastaTeste pasta;
    std::unique_ptr<Banco> banco;
    RowSet ufs;
    RowSet lista;
    Mensageiro mensagens;
    TFrameFiltro frame;

    void SetUp() override {
        banco = abreBanco(criaBanco(pasta.caminho(), Esquema::Atual, QString::fromUtf8(kTabela)));
        ufs.Abre(*banco, QStringLiteral("SELECT CD_UF, NM_UF FROM TB_UFS ORDER BY NM_UF"));
        Campo nomeUf;
        nomeUf.nome = QStringLiteral("NOME_UF");
        nomeUf.rotulo = QStringLiteral("Estado");
        nomeUf.lookup = {&ufs, QStringLiteral("CD_UF"), QStringLiteral("CD_UF"),
                         QStringLiteral("NM_UF")};
        Campo uf;
        uf.nome = QStringLiteral("CD_UF");
        uf.visivel = false;
        Campo nome;
        nome.nome = QStringLiteral("NOME");
        nome.rotulo = QStringLiteral("Nome");
        lista.DefineCampos({uf, nome, nomeUf});
        lista.Abre(*banco, QStringLiteral("SELECT ID, NOME, QTD, VALOR, DT, DTH, CD_UF FROM T"));
        frame.AssociaDados(&lista);
    }

    QList<int> executa(const TFrameFiltro::Condicao& c) {
        QString sql = QStringLiteral("SELECT ID FROM T");
        QVariantList params;
        TFrameFiltro::AcrescentaCondicao(sql, params, c, false);
        QList<int> ids;
        for (const auto& l : banco->consulta(sql + QStringLiteral(" ORDER BY ID"), params).linhas)
            ids << l.first().toInt();
        return ids;
    }
};

struct Caso {
    const char* nome;
    const char* campo;
    std::function<void(TFrameFiltro&)> preenche;
    const char* condicao;
    QVariantList parametros;
    QList<int> ids;
};

void texto(TFrameFiltro& f, const char* t, bool maiusculas = false, bool qualquer = false) {
    f.edtTexto()->insert(QString::fromUtf8(t));  // typed (non-ASCII keys cannot be simulated)
    if (maiusculas) QTest::mouseClick(f.chkMaiusculas(), Qt::LeftButton);
    if (qualquer) QTest::mouseClick(f.chkQualquerParte(), Qt::LeftButton);
}

void numero(TFrameFiltro& f, int operador, const char* n) {
    f.cmbOperador()->setCurrentIndex(operador);
    QTest::keyClicks(f.edtNumero(), QString::fromUtf8(n));
}

void periodo(TFrameFiltro& f, const char* de, const char* ate) {
    QTest::keyClicks(f.edtDataInicial(), QString::fromLatin1(de));
    QTest::keyClicks(f.edtDataFinal(), QString::fromLatin1(ate));
}

const char* kLike = "UCASE(NOME) LIKE ? ESCAPE '\\'";

TEST_F(FiltroTeste, EachKindGivesAConditionThatSelectsTheRightRows) {
    const Caso casos[] = {
        {"prefixo sem caixa",
         "NOME",
         [](auto& f) { texto(f, "silva"); },
         kLike,
         {"SILVA%"},
         {1, 2, 3}},
        {"qualquer parte",
         "NOME",
         [](auto& f) { texto(f, "silva", false, true); },
         kLike,
         {"%SILVA%"},
         {1, 2, 3, 9}},
        {"caixa diferenciada",
         "NOME",
         [](auto& f) { texto(f, "Silva", true); },
         "instr(NOME, ?) = 1",
         {"Silva"},
         {1}},
        {"caixa e qualquer parte",
         "NOME",
         [](auto& f) { texto(f, "ilva", true, true); },
         "instr(NOME, ?) > 0",
         {"ilva"},
         {1, 3, 9}},
        {"apóstrofo", "NOME", [](auto& f) { texto(f, "d'avila"); }, kLike, {"D'AVILA%"}, {4}},
        {"por cento do usuário",
         "NOME",
         [](auto& f) { texto(f, "50%", false, true); },
         kLike,
         {"%50\\%%"},
         {5}},
        {"sublinhado do usuário",
         "NOME",
         [](auto& f) { texto(f, "a_b"); },
         kLike,
         {"A\\_B%"},
         {10}},
        {"acentuado maiúsculo",
         "NOME",
         [](auto& f) { texto(f, "JOÃO"); },
         kLike,
         {"JOÃO%"},
         {7, 8}},
        {"acentuado minúsculo",
         "NOME",
         [](auto& f) { texto(f, "joão"); },
         kLike,
         {"JOÃO%"},
         {7, 8}},
        {"acentuado com caixa",
         "NOME",
         [](auto& f) { texto(f, "joão", true); },
         "instr(NOME, ?) = 1",
         {"joão"},
         {7}},
        {"tentativa de injeção",
         "NOME",
         [](auto& f) { texto(f, "x') OR 1=1 --", false, true); },
         kLike,
         {"%X') OR 1=1 --%"},
         {}},
        {"texto em branco",
         "NOME",
         [](auto& f) { texto(f, "   ", true, true); },
         "",
         {},
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
        {"inteiro maior ou igual",
         "QTD",
         [](auto& f) { numero(f, 3, "10"); },
         "QTD >= ?",
         {10},
         {2, 3, 6}},
        {"inteiro diferente",
         "QTD",
         [](auto& f) { numero(f, 5, "5"); },
         "QTD <> ?",
         {5},
         {2, 3, 4, 6, 7, 8, 9, 10}},
        {"decimal com vírgula",
         "VALOR",
         [](auto& f) { numero(f, 3, "1234,5"); },
         "VALOR >= ?",
         {1234.5},
         {1, 3}},
        {"decimal com milhar",
         "VALOR",
         [](auto& f) { numero(f, 0, "1.234,50"); },
         "VALOR = ?",
         {1234.5},
         {1}},
        {"decimal menor", "VALOR", [](auto& f) { numero(f, 2, "0"); }, "VALOR < ?", {0.0}, {6}},
        {"número vazio", "VALOR", [](auto&) {}, "", {}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
        {"um dia",
         "DT",
         [](auto& f) { periodo(f, "15032024", "15032024"); },
         "(DT >= ? AND DT < ?)",
         {QDate(2024, 3, 15), QDate(2024, 3, 16)},
         {1}},
        {"um mês",
         "DT",
         [](auto& f) { periodo(f, "01032024", "31032024"); },
         "(DT >= ? AND DT < ?)",
         {QDate(2024, 3, 1), QDate(2024, 4, 1)},
         {1, 2, 3, 5}},
        {"um dia com horas",
         "DTH",
         [](auto& f) { periodo(f, "15032024", "15032024"); },
         "(DTH >= ? AND DTH < ?)",
         {QDate(2024, 3, 15), QDate(2024, 3, 16)},
         {1, 2}},
        {"lista",
         "NOME_UF",
         [](auto& f) {
             f.cmbLookup()->setCurrentIndex(f.cmbLookup()->findText(QStringLiteral("São Paulo")));
         },
         "CD_UF = ?",
         {"SP"},
         {1, 3, 6}},
        {"lista sem escolha", "NOME_UF", [](auto&) {}, "", {}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}},
    };
    frame.DefineFuncaoMaiusculas(QStringLiteral("ucase"));
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        frame.SelecionaCampo(QString::fromLatin1(c.campo));
        c.preenche(frame);
        ASSERT_TRUE(frame.ValidaFiltro());
        const TFrameFiltro::Condicao cond = frame.MontaCondicao();
        EXPECT_EQ(cond.texto, QString::fromUtf8(c.condicao));
        EXPECT_EQ(cond.parametros, c.parametros);
        EXPECT_EQ(executa(cond), c.ids);
    }
    EXPECT_TRUE(mensagens.textos().isEmpty());
}

TEST_F(FiltroTeste, ChoosingAColumnShowsItsInputsEmptyAndTheListOffersVisibleCaptions) {
    QStringList itens;
    for (int i = 0; i < frame.cmbCampos()->count(); ++i) itens << frame.cmbCampos()->itemText(i);
    EXPECT_EQ(itens, QStringList({"ID", "Nome", "QTD", "VALOR", "DT", "DTH", "Estado"}));
    EXPECT_EQ(frame.cmbCampos()->placeholderText(), QStringLiteral("Filtrar por..."));

    const struct {
        const char* campo;
        TFrameFiltro::Tipo tipo;
        QWidget* (*entrada)(TFrameFiltro&);
    } kinds[] = {
        {"NOME", TFrameFiltro::Tipo::Texto,
         [](TFrameFiltro& f) -> QWidget* { return f.edtTexto(); }},
        {"DT", TFrameFiltro::Tipo::Data,
         [](TFrameFiltro& f) -> QWidget* { return f.edtDataInicial(); }},
        {"DTH", TFrameFiltro::Tipo::DataHora,
         [](TFrameFiltro& f) -> QWidget* { return f.edtDataFinal(); }},
        {"QTD", TFrameFiltro::Tipo::Inteiro,
         [](TFrameFiltro& f) -> QWidget* { return f.edtNumero(); }},
        {"VALOR", TFrameFiltro::Tipo::Decimal,
         [](TFrameFiltro& f) -> QWidget* { return f.btnCalculadora(); }},
        {"NOME_UF", TFrameFiltro::Tipo::Lookup,
         [](TFrameFiltro& f) -> QWidget* { return f.cmbLookup(); }},
    };
    frame.show();
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.campo);
        QTest::keyClicks(frame.edtTexto(), QStringLiteral("resto"));
        frame.chkMaiusculas()->setChecked(true);
        frame.SelecionaCampo(QString::fromLatin1(k.campo));
        EXPECT_EQ(frame.tipo(), k.tipo);
        EXPECT_TRUE(k.entrada(frame)->isVisible());
        EXPECT_TRUE(frame.edtTexto()->text().isEmpty());
        EXPECT_FALSE(frame.chkMaiusculas()->isChecked());
        EXPECT_EQ(frame.cmbOperador()->currentIndex(), 0);
    }
    EXPECT_EQ(frame.cmbLookup()->count(), 27);
    frame.SelecionaCampo(QStringLiteral("NOME"));
    EXPECT_EQ(frame.edtTexto()->maxLength(), 40);
    frame.SelecionaCampo(QStringLiteral("QTD"));
    QTest::keyClicks(frame.edtNumero(), QStringLiteral("1,5"));  // a whole number takes no comma
    EXPECT_EQ(frame.edtNumero()->text(), QStringLiteral("15"));

    frame.AssociaDados(nullptr);
    EXPECT_FALSE(frame.cmbCampos()->isEnabled());
    EXPECT_TRUE(frame.MontaCondicao().vazia());
}

TEST_F(FiltroTeste, PeriodErrorsAreReportedInOrderAndBuildNoCondition) {
    const struct {
        const char* de;
        const char* ate;
        const char* mensagem;
        bool focoNaInicial;
    } casos[] = {
        {"", "15032024", "Data inicial inválida.", true},
        {"15032024", "", "Data final inválida.", false},
        {"1503", "15032024", "Data inicial inválida.", true},
        {"16032024", "15032024", "Período inválido. Data inicial posterior à data final.", true},
    };
    frame.show();
    for (const auto& c : casos) {
        SCOPED_TRACE(c.mensagem);
        mensagens.limpa();
        frame.SelecionaCampo(QStringLiteral("DT"));
        periodo(frame, c.de, c.ate);
        EXPECT_FALSE(frame.ValidaFiltro());
        ASSERT_EQ(mensagens.pedidos().size(), 1);
        EXPECT_EQ(mensagens.pedidos()[0].texto, QString::fromUtf8(c.mensagem));
        EXPECT_EQ(mensagens.pedidos()[0].tipo, Mensagens::Erro);
        EXPECT_EQ(frame.focusWidget(), c.focoNaInicial
                                           ? static_cast<QWidget*>(frame.edtDataInicial())
                                           : static_cast<QWidget*>(frame.edtDataFinal()));
        EXPECT_TRUE(frame.MontaCondicao().vazia());
    }
    // leaving a box with an impossible date
    mensagens.limpa();
    frame.LimpaFiltro();
    QTest::keyClicks(frame.edtDataInicial(), QStringLiteral("31022024"));
    emit frame.edtDataInicial()->editingFinished();
    QTest::keyClicks(frame.edtDataFinal(), QStringLiteral("30022024"));
    emit frame.edtDataFinal()->editingFinished();
    EXPECT_EQ(mensagens.textos(), QStringList({"Data inicial inválida", "Data final inválida"}));
}

TEST_F(FiltroTeste, UpperCaseFunctionIsStoredInCapitalsAndOnlyAPlainName) {
    EXPECT_EQ(frame.FuncaoMaiusculas(), QStringLiteral("UPPER"));
    frame.DefineFuncaoMaiusculas(QStringLiteral("ucase"));
    EXPECT_EQ(frame.FuncaoMaiusculas(), QStringLiteral("UCASE"));
    frame.DefineFuncaoMaiusculas(QStringLiteral("UPPER(NOME)) OR (1"));
    EXPECT_EQ(frame.FuncaoMaiusculas(), QStringLiteral("UCASE"));
    frame.SelecionaCampo(QStringLiteral("NOME"));
    texto(frame, "silva");
    EXPECT_EQ(frame.MontaCondicao().texto, QStringLiteral("UCASE(NOME) LIKE ? ESCAPE '\\'"));

    QString sql = QStringLiteral("SELECT ID FROM T WHERE QTD > 1");
    QVariantList params;
    TFrameFiltro::AcrescentaCondicao(sql, params, frame.MontaCondicao(), true);
    EXPECT_EQ(sql,
              QStringLiteral("SELECT ID FROM T WHERE QTD > 1 and UCASE(NOME) LIKE ? ESCAPE '\\'"));
    EXPECT_EQ(params, QVariantList({"SILVA%"}));
}

}  // namespace
