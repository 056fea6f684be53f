// The record-maintenance template and the two window bases.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QDateTime>
#include <QFileInfo>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include "common/Mnemonicos.h"
#include "apoio/Apoio.h"
#include "common/FrmModBase.h"
#include "common/FrmModeloCadastro.h"
#include "common/GeometriaJanela.h"
#include "common/VinculoCampos.h"
#include "db/RowSet.h"
#include "platform/Plataforma.h"

using namespace Apoio;

namespace {

// A screen over the table PESSOA: one name box; saving writes at once.
class TelaPessoas : public TfrmModeloCadastro {
public:
    TelaPessoas(RowSet* rs, Banco* banco) : m_banco(banco) {
        auto* l = new QVBoxLayout(pnlDados());
        edtNome = new QLineEdit(pnlDados());
        l->addWidget(edtNome);
        DefineTabela(banco, QStringLiteral("PESSOA"), {QStringLiteral("ID")});
        DefineCadastro(rs);
        if (rs->TemCampo(QStringLiteral("NOME"))) vinculos()->liga(edtNome, QStringLiteral("NOME"));
    }
    void AtualizaDados() override { ++atualizacoes; }
    QLineEdit* edtNome;
    int atualizacoes = 0;
    using TfrmModeloCadastro::Fecha;

protected:
    void actCadastrarExecute() override {
        RowSet* rs = dtsCadastro();
        if (rs->State() == RowSet::Estado::Insercao)
            rs->DefineValor(
                QStringLiteral("ID"),
                m_banco->valor(QStringLiteral("SELECT coalesce(max(ID), 0) + 1 FROM PESSOA")));
        rs->Post();
        rs->ApplyUpdates(*m_banco, QStringLiteral("PESSOA"), {QStringLiteral("ID")});
    }

private:
    Banco* m_banco;
};

class ModeloCadastroTeste : public ::testing::Test {
protected:
    PastaTeste pasta;
    std::unique_ptr<Banco> banco;
    RowSet rs;
    Mensageiro mensagens;

    void abre(const QString& linhas) {
        rs.Fecha();
        banco.reset();
        QFile::remove(pasta.arquivo(QStringLiteral("QEV.mdb")));
        banco = abreBanco(
            criaBanco(pasta.caminho(), Esquema::Atual,
                      QStringLiteral("CREATE TABLE PESSOA (ID INTEGER PRIMARY KEY, NOME TEXT "
                                     "CHECK (NOME IS NULL OR length(NOME) <= 20));") +
                          linhas));
        rs.Abre(*banco, QStringLiteral("SELECT * FROM PESSOA ORDER BY ID"));
    }
    QStringList nomesNoBanco() {
        return coluna(*banco, QStringLiteral("SELECT NOME FROM PESSOA ORDER BY ID"));
    }
};

const char* kTres =
    "INSERT INTO PESSOA VALUES (1, 'um'); INSERT INTO PESSOA VALUES (2, 'dois'); INSERT INTO "
    "PESSOA VALUES (3, 'três');";

QString habilitados(TelaPessoas& t) {
    t.AtualizaAcoes();
    QStringList r;
    for (QAction* a : {t.actAdicionar, t.actAlterar, t.actExcluir, t.actAnterior, t.actProximo,
                       t.actPesquisar, t.actSair, t.actCadastrar, t.actCancelar})
        if (a->isEnabled()) r << a->objectName().mid(3);
    if (t.pnlDados()->isEnabled()) r << QStringLiteral("dados");
    return r.join(' ');
}

TEST_F(ModeloCadastroTeste, EnablingTableInEachState) {
    const struct {
        const char* linhas;
        std::function<void(TelaPessoas&, RowSet&)> prepara;
        const char* esperado;
        const char* legenda;
    } casos[] = {
        {"", [](TelaPessoas&, RowSet&) {}, "Adicionar Sair", " [Consulta]"},
        {kTres, [](TelaPessoas&, RowSet&) {}, "Adicionar Alterar Excluir Proximo Pesquisar Sair",
         " [Consulta]"},
        {kTres, [](TelaPessoas& t, RowSet&) { t.actProximo->trigger(); },
         "Adicionar Alterar Excluir Anterior Proximo Pesquisar Sair", " [Consulta]"},
        {kTres,
         [](TelaPessoas& t, RowSet&) {
             t.actProximo->trigger();
             t.actProximo->trigger();
             t.actProximo->trigger();
         },
         "Adicionar Alterar Excluir Anterior Pesquisar Sair", " [Consulta]"},
        {kTres, [](TelaPessoas& t, RowSet&) { t.actAdicionar->trigger(); },
         "Cadastrar Cancelar dados", " [Inclusão]"},
        {kTres, [](TelaPessoas& t, RowSet&) { t.actAlterar->trigger(); },
         "Cadastrar Cancelar dados", " [Alteração]"},
        {"", [](TelaPessoas& t, RowSet&) { t.actAdicionar->trigger(); }, "Cadastrar Cancelar dados",
         " [Inclusão]"},
    };
    int n = 0;
    for (const auto& c : casos) {
        SCOPED_TRACE(n++);
        abre(QString::fromUtf8(c.linhas));
        TelaPessoas tela(&rs, banco.get());
        c.prepara(tela, rs);
        EXPECT_EQ(habilitados(tela), QString::fromUtf8(c.esperado));
        EXPECT_EQ(tela.windowTitle(), QString::fromUtf8(c.legenda));
        EXPECT_EQ(tela.btnConfirmar()->isEnabled(), tela.actCadastrar->isEnabled());
        EXPECT_EQ(tela.btnCancelar()->isEnabled(), tela.actCancelar->isEnabled());
        rs.Cancel();
    }
    // the switches
    abre(QString::fromUtf8(kTres));
    TelaPessoas tela(&rs, banco.get());
    tela.PodeIncluir = tela.PodeAlterar = tela.PodeExcluir = false;
    EXPECT_EQ(habilitados(tela), QStringLiteral("Proximo Pesquisar Sair"));
}

TEST_F(ModeloCadastroTeste, CancelReturnsToTheRecordThatWasCurrent) {
    abre(QString::fromUtf8(kTres));
    TelaPessoas tela(&rs, banco.get());
    tela.actProximo->trigger();
    tela.actAdicionar->trigger();
    QTest::keyClicks(tela.edtNome, QStringLiteral("novo"));
    EXPECT_EQ(rs.Valor(QStringLiteral("NOME")).toString(), QStringLiteral("novo"));
    QTest::mouseClick(tela.btnCancelar(), Qt::LeftButton);
    EXPECT_TRUE(tela.Navegando());
    EXPECT_EQ(rs.Valor(QStringLiteral("NOME")).toString(), QStringLiteral("dois"));
    EXPECT_EQ(tela.edtNome->text(), QStringLiteral("dois"));
    EXPECT_EQ(tela.lblQtRegistros()->text(), QStringLiteral("3 Registro(s)"));

    // Escape cancels an edit and does nothing while browsing
    tela.actAlterar->trigger();
    QTest::keyClicks(tela.edtNome, QStringLiteral("X"));
    QTest::keyClick(&tela, Qt::Key_Escape);
    EXPECT_TRUE(tela.Navegando());
    EXPECT_EQ(tela.edtNome->text(), QStringLiteral("dois"));
    tela.show();
    QTest::keyClick(&tela, Qt::Key_Escape);
    EXPECT_TRUE(tela.isVisible());
    EXPECT_EQ(nomesNoBanco(), QStringList({"um", "dois", "três"}));
    // AtualizaDados runs on creation and after each move and cancel
    EXPECT_GE(tela.atualizacoes, 5);
}

TEST_F(ModeloCadastroTeste, ConfirmIsTheDefaultButtonAndTheWindowStaysOpenDuringAnEdit) {
    abre(QString::fromUtf8(kTres));
    TelaPessoas tela(&rs, banco.get());
    tela.show();
    tela.actAdicionar->trigger();
    QTest::keyClicks(tela.edtNome, QStringLiteral("quatro"));
    EXPECT_FALSE(tela.close());  // not in the middle of an insert
    QTest::keyClick(tela.edtNome, Qt::Key_Return);
    EXPECT_TRUE(tela.Navegando());
    EXPECT_EQ(nomesNoBanco(), QStringList({"um", "dois", "três", "quatro"}));
    EXPECT_TRUE(tela.close());
}

TEST_F(ModeloCadastroTeste, DeletingTheLastRecordLeavesTheCounterAtZero) {
    abre(QStringLiteral("INSERT INTO PESSOA VALUES (7, 'único');"));
    TelaPessoas tela(&rs, banco.get());
    EXPECT_EQ(tela.lblQtRegistros()->text(), QStringLiteral("1 Registro(s)"));
    tela.actExcluir->trigger();
    EXPECT_EQ(tela.lblQtRegistros()->text(), QStringLiteral("0 Registro(s)"));
    EXPECT_EQ(habilitados(tela), QStringLiteral("Adicionar Sair"));
    EXPECT_TRUE(nomesNoBanco().isEmpty());
}

TEST_F(ModeloCadastroTeste, ARefusedDeletionIsShownAndTheRecordStays) {
    abre(QString::fromUtf8(kTres) +
         QStringLiteral("CREATE TRIGGER nao_apaga BEFORE DELETE ON PESSOA BEGIN SELECT "
                        "RAISE(ABORT, 'proibido'); END;"));
    TelaPessoas tela(&rs, banco.get());
    tela.actExcluir->trigger();
    EXPECT_EQ(mensagens.textos(), QStringList({"proibido"}));
    EXPECT_EQ(rs.RecordCount(), 3);
    EXPECT_EQ(rs.ChangeCount(), 0);
    EXPECT_EQ(tela.lblQtRegistros()->text(), QStringLiteral("3 Registro(s)"));
}

TEST_F(ModeloCadastroTeste, CounterUsesTheThousandsSeparator) {
    RowSet memoria;
    Campo id;
    id.nome = QStringLiteral("ID");
    id.tipo = TipoCampo::Inteiro;
    memoria.DefineCampos({id});
    memoria.CriaVazio();
    for (int i = 0; i < 1234; ++i) {
        memoria.Append();
        memoria.DefineValor(0, i);
        memoria.Post();
    }
    abre(QString());
    TelaPessoas tela(&memoria, banco.get());
    EXPECT_EQ(tela.lblQtRegistros()->text(), QStringLiteral("1.234 Registro(s)"));
}

TEST(ModBase, ButtonsGetTheHandCursorAndF5OpensTheCalculator) {
    QStringList lancados;
    Lancador::Tratador anterior = Lancador::define([&](Lancador::Tipo t, const QString&) {
        lancados << (t == Lancador::Tipo::Calculadora ? QStringLiteral("calculadora")
                                                      : QStringLiteral("outro"));
        return true;
    });
    TfrmModDialogo dlg;
    auto* extra = new QToolButton(dlg.Conteudo());
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dlg));
    EXPECT_EQ(extra->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(dlg.btnConfirmar()->cursor().shape(), Qt::PointingHandCursor);
    // the texts shown (their Alt+letters given when shown)
    EXPECT_EQ(Mnemonicos::TextoVisivel(dlg.btnConfirmar()->text()), QStringLiteral("Confirmar"));
    EXPECT_EQ(Mnemonicos::TextoVisivel(dlg.btnCancelar()->text()), QStringLiteral("Cancelar"));
    EXPECT_EQ(dlg.btnConfirmar()->text(), QStringLiteral("&Confirmar"));
    QTest::keyClick(extra, Qt::Key_F5);
    EXPECT_EQ(lancados, QStringList({"calculadora"}));
    QTest::mouseClick(dlg.btnConfirmar(), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    Lancador::define(anterior);
}

}  // namespace

TEST_F(ModeloCadastroTeste, BrowsedFieldsAreReadOnlyInTheNormalTextColour) {
    abre(QString::fromUtf8(kTres));
    TelaPessoas tela(&rs, banco.get());
    tela.show();
    tela.AtualizaAcoes();
    const auto cores = [&](QPalette::ColorGroup grupo) {
        const QPalette p = tela.edtNome->palette();
        return QVector<QColor>{p.color(grupo, QPalette::Text), p.color(grupo, QPalette::WindowText),
                               p.color(grupo, QPalette::Base)};
    };
    const QPalette normal = QApplication::palette(tela.edtNome);
    const QVector<QColor> ativas{normal.color(QPalette::Active, QPalette::Text),
                                 normal.color(QPalette::Active, QPalette::WindowText),
                                 normal.color(QPalette::Active, QPalette::Base)};
    // Browsing: the field cannot be typed into, and its text is drawn as an enabled one's.
    ASSERT_TRUE(tela.Navegando());
    EXPECT_FALSE(tela.edtNome->isEnabled());
    EXPECT_EQ(cores(QPalette::Disabled), ativas);
    QTest::keyClicks(tela.edtNome, QStringLiteral("X"));
    EXPECT_EQ(tela.edtNome->text(), QStringLiteral("um"));
    // Editing: the application's palette again (a field disabled on its own looks disabled).
    tela.actAlterar->trigger();
    tela.AtualizaAcoes();
    EXPECT_TRUE(tela.edtNome->isEnabled());
    EXPECT_EQ(tela.edtNome->palette().color(QPalette::Disabled, QPalette::Text),
              normal.color(QPalette::Disabled, QPalette::Text));
    tela.actCancelar->trigger();
    tela.AtualizaAcoes();
    EXPECT_EQ(cores(QPalette::Disabled), ativas);
}

TEST(GeometriaJanela, AScreenOpensAtItsSizeCentredThenWhereTheUserLeftIt) {
    const QRect livre = QGuiApplication::primaryScreen()->availableGeometry();
    const QString nome = QStringLiteral("frmTesteGeometria");
    QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("QEV"), QStringLiteral("janelas"))
        .remove(QStringLiteral("geometria/") + nome);
    {
        QDialog d;
        d.setObjectName(nome);
        LembraGeometria(&d, QSize(500, 300));
        EXPECT_EQ(d.size(), QSize(500, 300));
        EXPECT_EQ(d.pos(), livre.center() - QPoint(250, 150));
        d.show();
        d.setGeometry(QRect(livre.topLeft() + QPoint(20, 30), QSize(420, 260)));
        QApplication::processEvents();
        d.close();
    }
    {
        QDialog d;
        d.setObjectName(nome);
        LembraGeometria(&d, QSize(500, 300));
        EXPECT_EQ(d.size(), QSize(420, 260));
        EXPECT_EQ(d.pos(), livre.topLeft() + QPoint(20, 30));
    }
    // Closed where it opened, nothing is written (the file is written whole and flushed).
    {
        const QString arquivo =
            QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("QEV"), QStringLiteral("janelas"))
                .fileName();
        const QDateTime antiga(QDate(2001, 2, 3), QTime(4, 5, 6));
        {
            QFile f(arquivo);
            ASSERT_TRUE(f.open(QIODevice::ReadWrite));
            ASSERT_TRUE(f.setFileTime(antiga, QFileDevice::FileModificationTime));
        }
        QDialog d;
        d.setObjectName(nome);
        LembraGeometria(&d, QSize(500, 300));
        d.show();
        QApplication::processEvents();
        d.close();
        EXPECT_EQ(QFileInfo(arquivo).lastModified(), antiga);
    }
    // A size larger than the screen is reduced to it.
    QDialog grande;
    grande.setObjectName(QStringLiteral("frmTesteGeometriaGrande"));
    LembraGeometria(&grande, QSize(5000, 4000));
    EXPECT_LE(grande.width(), livre.width());
    EXPECT_LE(grande.height(), livre.height());
}
