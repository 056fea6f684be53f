// Every record screen by keyboard: the template's actions have their keys, named in
// their hints, and a record is added, changed, walked and deleted without the mouse.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include "apoio/Apoio.h"
#include "common/FrmModeloCadastro.h"
#include "common/VinculoCampos.h"
#include "db/RowSet.h"

using namespace Apoio;

namespace {

// A screen over the table PESSOA with one name box; saving writes at once.
class TelaTeclado : public TfrmModeloCadastro {
public:
    TelaTeclado(RowSet* rs, Banco* banco) : m_banco(banco) {
        auto* l = new QVBoxLayout(pnlDados());
        edtNome = new QLineEdit(pnlDados());
        l->addWidget(edtNome);
        DefineTabela(banco, QStringLiteral("PESSOA"), {QStringLiteral("ID")});
        DefineCadastro(rs);
        vinculos()->liga(edtNome, QStringLiteral("NOME"));
        actImprimir = new QAction(QStringLiteral("Imprimir"), this);
        actImprimir->setObjectName(QStringLiteral("actImprimir"));
        actImprimir->setToolTip(QStringLiteral("Imprimir os dados"));
        AdicionaNaBarra(actImprimir);
    }
    QLineEdit* edtNome;
    QAction* actImprimir;

protected:
    void actCadastrarExecute() override {
        RowSet* rs = dtsCadastro();
        if (rs->State() == RowSet::Estado::Insercao)
            rs->DefineValor(QStringLiteral("ID"),
                            m_banco->valor(QStringLiteral("SELECT coalesce(max(ID), 0) + 1 FROM PESSOA")));
        rs->Post();
        rs->ApplyUpdates(*m_banco, QStringLiteral("PESSOA"), {QStringLiteral("ID")});
    }

private:
    Banco* m_banco;
};

class AtalhosCadastro : public ::testing::Test {
protected:
    PastaTeste pasta;
    std::unique_ptr<Banco> banco;
    RowSet rs;
    Mensageiro mensagens;
    std::unique_ptr<TelaTeclado> tela;

    void SetUp() override {
        banco = abreBanco(criaBanco(pasta.caminho(), Esquema::Atual,
                                    QStringLiteral("CREATE TABLE PESSOA (ID INTEGER PRIMARY KEY, NOME TEXT);"
                                                   "INSERT INTO PESSOA VALUES (1, 'um'), (2, 'dois');")));
        rs.Abre(*banco, QStringLiteral("SELECT * FROM PESSOA ORDER BY ID"));
        tela = std::make_unique<TelaTeclado>(&rs, banco.get());
        tela->show();
        QApplication::setActiveWindow(tela.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(tela.get()));
    }
    void TearDown() override { tela.reset(); }
    void tecla(QWidget* alvo, int k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        // without a text: QTest's own key-to-character table knows no Insert or PgUp
        QTest::sendKeyEvent(QTest::Click, alvo, Qt::Key(k), QString(), m);
        QCoreApplication::processEvents();
    }
    QWidget* foco() { return QApplication::focusWidget() ? QApplication::focusWidget() : tela.get(); }
    QStringList nomes() { return coluna(*banco, QStringLiteral("SELECT NOME FROM PESSOA ORDER BY ID")); }
};

TEST_F(AtalhosCadastro, CadaAcaoTemSuaTeclaNaDica) {
    const struct {
        QAction* acao;
        QKeySequence tecla;
        const char* dica;
    } casos[] = {
        {tela->actAdicionar, QKeySequence(Qt::Key_Insert), "Incluir (Ins)"},
        {tela->actAlterar, QKeySequence(Qt::Key_F2), "Editar (F2)"},
        {tela->actExcluir, QKeySequence(Qt::CTRL | Qt::Key_Delete), "Excluir (Ctrl+Del)"},
        {tela->actPesquisar, QKeySequence(Qt::CTRL | Qt::Key_F), "Pesquisar (Ctrl+F)"},
        {tela->actImprimir, QKeySequence(Qt::CTRL | Qt::Key_P), "Imprimir os dados (Ctrl+P)"},
        {tela->actCadastrar, QKeySequence(Qt::CTRL | Qt::Key_Enter), "Confirmar (Ctrl+Enter)"},
        {tela->actAnterior, QKeySequence(Qt::CTRL | Qt::Key_PageUp), "Anterior (Ctrl+PgUp)"},
        {tela->actProximo, QKeySequence(Qt::CTRL | Qt::Key_PageDown), "Próximo (Ctrl+PgDown)"},
        {tela->actSair, QKeySequence(Qt::CTRL | Qt::Key_Q), "Sair (Ctrl+Q)"},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(c.acao->shortcut(), c.tecla) << c.acao->objectName().toStdString();
        EXPECT_EQ(c.acao->toolTip(), QString::fromUtf8(c.dica));
    }
    EXPECT_TRUE(tela->actCadastrar->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Return)));
    // Escape cancels through the window itself; the hints of the two buttons name their keys
    EXPECT_TRUE(tela->actCancelar->shortcut().isEmpty());
    EXPECT_EQ(tela->actCancelar->toolTip(), QStringLiteral("Cancelar (Esc)"));
    EXPECT_EQ(tela->btnConfirmar()->toolTip(), tela->actCadastrar->toolTip());
    EXPECT_EQ(tela->btnCancelar()->toolTip(), QStringLiteral("Cancelar (Esc)"));
}

TEST_F(AtalhosCadastro, UmRegistroDoComecoAoFimSemMouse) {
    // walk forward, edit with F2, cancel with Esc, edit again and save with Ctrl+Enter
    tecla(foco(), Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(rs.Valor(QStringLiteral("NOME")).toString(), QStringLiteral("dois"));
    tecla(foco(), Qt::Key_F2);
    ASSERT_EQ(rs.State(), RowSet::Estado::Edicao);
    tela->edtNome->setFocus();
    tela->edtNome->selectAll();
    QTest::keyClicks(tela->edtNome, QStringLiteral("DOIS"));
    tecla(foco(), Qt::Key_Escape);
    EXPECT_EQ(rs.State(), RowSet::Estado::Consulta);
    EXPECT_EQ(nomes(), (QStringList{"um", "dois"}));
    tecla(foco(), Qt::Key_F2);
    tela->edtNome->setFocus();
    tela->edtNome->selectAll();
    QTest::keyClicks(tela->edtNome, QStringLiteral("DOIS"));
    tecla(foco(), Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(rs.State(), RowSet::Estado::Consulta);
    EXPECT_EQ(nomes(), (QStringList{"um", "DOIS"}));
    // and back
    tecla(foco(), Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(rs.Valor(QStringLiteral("NOME")).toString(), QStringLiteral("um"));

    // add: Ins, the first box takes the focus, type, Ctrl+Return
    tecla(foco(), Qt::Key_Insert);
    ASSERT_EQ(rs.State(), RowSet::Estado::Insercao);
    EXPECT_EQ(QApplication::focusWidget(), tela->edtNome);
    QTest::keyClicks(tela->edtNome, QStringLiteral("tres"));
    tecla(foco(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(rs.State(), RowSet::Estado::Consulta);
    EXPECT_EQ(nomes(), (QStringList{"um", "DOIS", "tres"}));

    // delete the one shown with Ctrl+Del
    EXPECT_EQ(rs.Valor(QStringLiteral("NOME")).toString(), QStringLiteral("tres"));
    tecla(foco(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(nomes(), (QStringList{"um", "DOIS"}));

    // Ins does nothing while editing
    tecla(foco(), Qt::Key_F2);
    ASSERT_EQ(rs.State(), RowSet::Estado::Edicao);
    tecla(foco(), Qt::Key_Insert);
    EXPECT_EQ(rs.State(), RowSet::Estado::Edicao);
    tecla(foco(), Qt::Key_Escape);

    // and Ctrl+Q leaves
    tecla(foco(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(tela->isVisible());
}

}  // namespace
