// The current-operator object, the operator screen with its checks, and the
// operator selection dialog.
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "apoio/Apoio.h"
#include "app/ConduzModal.h"
#include "db/DmConexao.h"
#include "db/DmLookup.h"
#include "operator/DmZemlo.h"
#include "operator/DmOperadora.h"
#include "operator/FrmCadOperadora.h"
#include "operator/FrmSelecionaOperadora.h"
#include "operator/Operadora.h"

using namespace Apoio;

namespace {

// Operator 412341 (classification 24, region 3) and 300012 (22, region 6).
const char* kDuasOperadoras = R"SQL(
INSERT INTO OPERADORAS (CD_OPER, CD_CNPJ, NM_RAZAO_SOCIAL, CD_GRUPO_CLASSIFICACAO, CD_REGIAO_ATUACAO)
  VALUES ('412341', '11444777000161', 'SAÚDE D''OESTE LTDA', 24, 3);
INSERT INTO OPERADORAS (CD_OPER, CD_CNPJ, NM_RAZAO_SOCIAL, CD_GRUPO_CLASSIFICACAO, CD_REGIAO_ATUACAO)
  VALUES ('300012', '06990590000123', 'COOPERATIVA SUL', 22, 6);
)SQL";

class OperadoraTeste : public ::testing::Test {
protected:
    PastaTeste pasta;
    Mensageiro msgs;
    QString caminho;
    std::unique_ptr<TDmConexao> conexao;
    std::unique_ptr<TDMZemlo> zemlo;
    std::unique_ptr<TdmLookup> lookup;
    std::unique_ptr<TdmOperadora> operadora;

    void inicia(const QString& sql = QString::fromUtf8(kDuasOperadoras)) {
        caminho = criaBanco(pasta.caminho(), Esquema::Atual, sql);
        conexao = std::make_unique<TDmConexao>();
        conexao->AbreBanco();
        zemlo = std::make_unique<TDMZemlo>();
        lookup = std::make_unique<TdmLookup>();
        operadora = std::make_unique<TdmOperadora>();
    }
    void TearDown() override {
        operadora.reset();
        lookup.reset();
        zemlo.reset();
        conexao.reset();
    }

    // Rows of OPERADORAS as stored, one text per row.
    QStringList linhas() {
        QStringList r;
        for (const auto& l :
             abreBanco(caminho)
                 ->consulta(QStringLiteral(
                     "SELECT CD_OPER, CD_CNPJ, NM_RAZAO_SOCIAL, CD_GRUPO_CLASSIFICACAO, "
                     "CD_REGIAO_ATUACAO FROM OPERADORAS ORDER BY rowid"))
                 .linhas) {
            QStringList v;
            for (const auto& c : l) v << c.toString();
            r << v.join('|');
        }
        return r;
    }
};

// Types into a masked field as a user does.
void digita(QLineEdit* e, const QString& texto) {
    e->clear();
    e->setCursorPosition(0);
    QTest::keyClicks(e, texto);
}

struct Preenchimento {
    QString codigo;
    QString razao;
    QString cnpj;
    int classificacao;  // 0: none chosen
    int regiao;         // 0: none chosen
};

void preenche(TfrmCadOperadora& f, const Preenchimento& p) {
    if (f.edtCodigo()->isEnabled()) digita(f.edtCodigo(), p.codigo);
    f.edtRazaoSocial()->setText(p.razao);
    digita(f.edtCnpj(), p.cnpj);
    f.cmbClassificacao()->setCurrentIndex(
        p.classificacao ? f.cmbClassificacao()->findData(p.classificacao) : -1);
    f.cmbRegiao()->setCurrentIndex(p.regiao - 1);
}

const Preenchimento kValida{QStringLiteral("123455"), QStringLiteral("NOVA OPERADORA"),
                            QStringLiteral("11222333000181"), 27, 2};

}  // namespace

TEST(TOperadora, FormatsCodeAndCnpj) {
    const struct {
        QString codigo, cnpj, codigoFormatado, cnpjFormatado;
    } casos[] = {
        {"123456", "11222333000181", "12345-6", "11.222.333/0001-81"},
        {"012343", "06990590000123", "01234-3", "06.990.590/0001-23"},
        {"", "", "", ""},
    };
    for (const auto& c : casos) {
        TOperadora o;
        o.CdOper = c.codigo;
        o.Cnpj = c.cnpj;
        EXPECT_EQ(o.CodigoFormatado(), c.codigoFormatado);
        EXPECT_EQ(o.CnpjFormatado(), c.cnpjFormatado);
    }
}

TEST_F(OperadoraTeste, CurrentOperatorIsTheFirstRowAndFollowsTheTable) {
    inicia();
    EXPECT_EQ(OperadoraAtual().CdOper, QStringLiteral("412341"));
    EXPECT_EQ(OperadoraAtual().RazaoSocial, QStringLiteral("SAÚDE D'OESTE LTDA"));
    EXPECT_EQ(OperadoraAtual().Cnpj, QStringLiteral("11444777000161"));
    EXPECT_EQ(OperadoraAtual().Classificacao, 24);
    EXPECT_EQ(OperadoraAtual().Regiao, 3);
    ASSERT_TRUE(zemlo->LocalizaOperadora(QStringLiteral("300012")));
    EXPECT_EQ(OperadoraAtual().CdOper, QStringLiteral("412341"));  // only a refill changes it
    CarregaOperadoraAtual();
    EXPECT_EQ(OperadoraAtual().CdOper, QStringLiteral("300012"));
    EXPECT_EQ(OperadoraAtual().Classificacao, 22);
}

TEST_F(OperadoraTeste, OperadoraExisteFindsOnlyStoredCodes) {
    inicia();
    EXPECT_TRUE(OperadoraExiste(QStringLiteral("412341")));
    EXPECT_TRUE(OperadoraExiste(QStringLiteral("300012")));
    EXPECT_FALSE(OperadoraExiste(QStringLiteral("123455")));
    EXPECT_FALSE(OperadoraExiste(QStringLiteral("1' OR '1'='1")));
}

// Each case keeps the earlier fields right and makes this check's field and every
// later one wrong: only this check's message may appear.
struct CasoVerificacao {
    const char* nome;
    Preenchimento dados;
    const char* mensagem;
    const char* foco;
};

void PrintTo(const CasoVerificacao& c, std::ostream* os) { *os << c.nome; }

class VerificacoesOperadora : public OperadoraTeste,
                              public ::testing::WithParamInterface<CasoVerificacao> {};

TEST_P(VerificacoesOperadora, StopAtTheFirstFailureWithItsMessageAndFocus) {
    inicia(QString::fromUtf8(kDuasOperadoras) +
           QStringLiteral(
               "INSERT INTO OPERADORAS (CD_OPER, NM_RAZAO_SOCIAL) VALUES ('012343', 'TERCEIRA');"));
    const QStringList antes = linhas();
    zemlo->InsereOperadora();
    TfrmCadOperadora f;
    f.show();
    preenche(f, GetParam().dados);
    QTest::mouseClick(f.btnConfirmar(), Qt::LeftButton);
    ASSERT_EQ(msgs.pedidos().size(), 1) << msgs.textos().join(" / ").toStdString();
    EXPECT_EQ(msgs.pedidos().first().texto, QString::fromUtf8(GetParam().mensagem));
    EXPECT_EQ(msgs.pedidos().first().tipo, Mensagens::Erro);
    EXPECT_EQ(msgs.pedidos().first().botoes, Mensagens::BtOk);
    ASSERT_NE(f.focusWidget(), nullptr);
    EXPECT_EQ(f.focusWidget()->objectName(), QString::fromLatin1(GetParam().foco));
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(zemlo->EstadoOperadora(), TDMZemlo::Estado::Insercao);
    EXPECT_EQ(linhas(), antes);
}

INSTANTIATE_TEST_SUITE_P(
    Ordem, VerificacoesOperadora,
    ::testing::Values(
        CasoVerificacao{
            "CodigoVazio", {"", "", "", 0, 0}, "Informe o Código da Operadora", "edtCodigo"},
        CasoVerificacao{"CodigoInvalido",
                        {"123456", "", "00000000000000", 0, 0},
                        "Código da Operadora inválido",
                        "edtCodigo"},
        CasoVerificacao{"CincoDigitosSemDigitoCerto",
                        {"12344", "X", "11222333000181", 27, 2},
                        "Código da Operadora inválido",
                        "edtCodigo"},
        CasoVerificacao{"CodigoJaCadastrado",
                        {"412341", "", "", 0, 0},
                        "Código já cadastrado para outra Operadora",
                        "edtCodigo"},
        CasoVerificacao{"CincoDigitosJaCadastrado",
                        {"12343", "", "", 0, 0},
                        "Código já cadastrado para outra Operadora",
                        "edtCodigo"},
        CasoVerificacao{
            "CnpjVazio", {"123455", "", "", 0, 0}, "Informe o CNPJ da Operadora", "edtCnpj"},
        CasoVerificacao{"CnpjQuatorzeZeros",
                        {"123455", "", "00000000000000", 0, 0},
                        "CNPJ inválido",
                        "edtCnpj"},
        CasoVerificacao{
            "CnpjDigitoErrado", {"123455", "", "11222333000182", 0, 0}, "CNPJ inválido", "edtCnpj"},
        CasoVerificacao{"SemClassificacao",
                        {"123455", "", "11222333000181", 0, 0},
                        "Informe a Classificação da Operadora",
                        "cmbClassificacao"},
        CasoVerificacao{"SemRegiao",
                        {"123455", "", "11222333000181", 27, 0},
                        "Informe a Região de Comercialização",
                        "cmbRegiao"},
        CasoVerificacao{"RazaoSocialEmBranco",
                        {"123455", "   ", "11222333000181", 27, 2},
                        "Informe a Razão Social da Operadora",
                        "edtRazaoSocial"},
        CasoVerificacao{"RazaoSocialForaDoArquivo",
                        {"123455", "SAÚDE ŁÓDŹ", "11222333000181", 27, 2},
                        "O campo \"Razão Social\" contém o caractere \"Ł\", que não pode ser "
                        "enviado à ZUB. Substitua-o por outro.",
                        "edtRazaoSocial"}),
    [](const auto& info) { return std::string(info.param.nome); });

TEST_F(OperadoraTeste, ValidNewOperatorIsStoredAsDigitsAndBecomesTheCurrentRow) {
    inicia();
    const struct {
        Preenchimento dados;
        const char* gravado;
    } casos[] = {
        {kValida, "123455|11222333000181|NOVA OPERADORA|27|2"},
        // five digits: the check digit is the sixth after filling with a zero
        {{"12343", "CINCO DÍGITOS", "11222333000181", 21, 6},
         "012343|11222333000181|CINCO DÍGITOS|21|6"},
    };
    int esperadas = 2;
    for (const auto& c : casos) {
        zemlo->InsereOperadora();
        TfrmCadOperadora f;
        f.show();
        preenche(f, c.dados);
        QTest::mouseClick(f.btnConfirmar(), Qt::LeftButton);
        EXPECT_TRUE(msgs.textos().isEmpty()) << msgs.textos().join(" / ").toStdString();
        EXPECT_EQ(f.result(), QDialog::Accepted);
        EXPECT_FALSE(f.isVisible());
        ASSERT_EQ(linhas().size(), ++esperadas);
        EXPECT_EQ(linhas().last(), QString::fromUtf8(c.gravado));
        EXPECT_EQ(zemlo->EstadoOperadora(), TDMZemlo::Estado::Navegacao);
        EXPECT_EQ(zemlo->CampoGravado(QStringLiteral("CD_OPER")).toString(),
                  QString::fromUtf8(c.gravado).section('|', 0, 0));
    }
}

TEST_F(OperadoraTeste, EditingShowsTheRowAndDoesNotRefuseItsOwnCode) {
    inicia();
    zemlo->EditaOperadora();
    TfrmCadOperadora f;
    f.show();
    EXPECT_FALSE(f.edtCodigo()->isEnabled());
    EXPECT_EQ(f.edtCodigo()->text(), QStringLiteral("41234-1"));
    EXPECT_EQ(f.edtCnpj()->text(), QStringLiteral("11.444.777/0001-61"));
    EXPECT_EQ(f.edtRazaoSocial()->text(), QStringLiteral("SAÚDE D'OESTE LTDA"));
    EXPECT_EQ(f.cmbClassificacao()->currentData().toInt(), 24);
    EXPECT_EQ(f.cmbRegiao()->currentIndex(), 2);  // region 3
    f.edtRazaoSocial()->setText(QStringLiteral("SAÚDE D'OESTE S.A."));
    f.cmbRegiao()->setCurrentIndex(4);
    QTest::mouseClick(f.btnConfirmar(), Qt::LeftButton);
    EXPECT_TRUE(msgs.textos().isEmpty()) << msgs.textos().join(" / ").toStdString();
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(linhas(), QStringList({"412341|11444777000161|SAÚDE D'OESTE S.A.|24|5",
                                     "300012|06990590000123|COOPERATIVA SUL|22|6"}));
}

TEST_F(OperadoraTeste, ClassificationChangeAsksAndRunsTheReevaluationOnlyWhenConfirmed) {
    inicia();
    QStringList reavaliadas;
    operadora->DefineReavaliacao([&](const QString& cd) { reavaliadas << cd; });
    const QString pergunta = QStringLiteral(
        "Esta operação poderá invalidar planos em função da característica da "
        "operadora.\n\nConfirma a alteração?");

    {  // "no": nothing saved, the screen stays open with the classification the row has
        const QStringList antes = linhas();
        zemlo->EditaOperadora();
        TfrmCadOperadora f;
        f.show();
        f.cmbClassificacao()->setCurrentIndex(f.cmbClassificacao()->findData(21));
        msgs.responde({Mensagens::RespNao});
        QTest::mouseClick(f.btnConfirmar(), Qt::LeftButton);
        ASSERT_EQ(msgs.pedidos().size(), 1);
        EXPECT_EQ(msgs.pedidos().first().texto, pergunta);
        EXPECT_EQ(msgs.pedidos().first().tipo, Mensagens::Confirmacao);
        EXPECT_EQ(msgs.pedidos().first().botoes, Mensagens::BtSim | Mensagens::BtNao);
        EXPECT_TRUE(f.isVisible());
        EXPECT_EQ(f.cmbClassificacao()->currentData().toInt(), 24);
        EXPECT_EQ(linhas(), antes);
        EXPECT_TRUE(reavaliadas.isEmpty());
        f.reject();
    }
    msgs.limpa();
    {  // "yes": saved, then the re-evaluation of that operator
        zemlo->EditaOperadora();
        TfrmCadOperadora f;
        f.show();
        f.cmbClassificacao()->setCurrentIndex(f.cmbClassificacao()->findData(21));
        msgs.responde({Mensagens::RespSim});
        QTest::mouseClick(f.btnConfirmar(), Qt::LeftButton);
        EXPECT_EQ(msgs.textos(), QStringList({pergunta}));
        EXPECT_EQ(f.result(), QDialog::Accepted);
        EXPECT_EQ(linhas().first(),
                  QStringLiteral("412341|11444777000161|SAÚDE D'OESTE LTDA|21|3"));
        EXPECT_EQ(reavaliadas, QStringList({"412341"}));
    }
    msgs.limpa();
    reavaliadas.clear();
    {  // same classification, and a new operator: no question, no re-evaluation
        zemlo->EditaOperadora();
        TfrmCadOperadora f;
        f.show();
        QTest::mouseClick(f.btnConfirmar(), Qt::LeftButton);
        EXPECT_EQ(f.result(), QDialog::Accepted);
        zemlo->InsereOperadora();
        TfrmCadOperadora nova;
        nova.show();
        preenche(nova, kValida);
        QTest::mouseClick(nova.btnConfirmar(), Qt::LeftButton);
        EXPECT_EQ(nova.result(), QDialog::Accepted);
        EXPECT_TRUE(msgs.textos().isEmpty());
        EXPECT_TRUE(reavaliadas.isEmpty());
    }
}

TEST_F(OperadoraTeste, CancelDropsANewRowAndDiscardsEdits) {
    inicia();
    const QStringList antes = linhas();
    const struct {
        bool nova;
        bool escape;
    } casos[] = {{true, false}, {true, true}, {false, false}, {false, true}};
    for (const auto& c : casos) {
        ASSERT_TRUE(zemlo->LocalizaOperadora(QStringLiteral("300012")));
        c.nova ? zemlo->InsereOperadora() : zemlo->EditaOperadora();
        TfrmCadOperadora f;
        f.show();
        preenche(f, kValida);
        if (c.escape)
            QTest::keyClick(&f, Qt::Key_Escape);
        else
            QTest::mouseClick(f.btnCancelar(), Qt::LeftButton);
        EXPECT_EQ(f.result(), QDialog::Rejected);
        EXPECT_FALSE(f.isVisible());
        EXPECT_EQ(zemlo->EstadoOperadora(), TDMZemlo::Estado::Navegacao);
        EXPECT_EQ(zemlo->CampoOperadora(QStringLiteral("NM_RAZAO_SOCIAL")).toString(),
                  QStringLiteral("COOPERATIVA SUL"));
        EXPECT_EQ(linhas(), antes);
    }
    EXPECT_TRUE(msgs.textos().isEmpty());
}

TEST_F(OperadoraTeste, RefusedSaveKeepsTheScreenOpenWithTheEngineMessage) {
    inicia(QString::fromUtf8(kDuasOperadoras) +
           QStringLiteral("CREATE TRIGGER recusa BEFORE INSERT ON OPERADORAS BEGIN SELECT "
                          "RAISE(ABORT, 'gravação recusada'); END;"));
    const QStringList antes = linhas();
    zemlo->InsereOperadora();
    TfrmCadOperadora f;
    f.show();
    preenche(f, kValida);
    QTest::mouseClick(f.btnConfirmar(), Qt::LeftButton);
    ASSERT_EQ(msgs.pedidos().size(), 1);
    EXPECT_TRUE(msgs.pedidos().first().texto.contains(QStringLiteral("gravação recusada")));
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(zemlo->EstadoOperadora(), TDMZemlo::Estado::Insercao);
    EXPECT_EQ(linhas(), antes);
}

TEST_F(OperadoraTeste, SelectionListsOperatorsInTableOrderWithTheCurrentOneChosen) {
    inicia();
    ASSERT_TRUE(zemlo->LocalizaOperadora(QStringLiteral("300012")));
    TfrmSelecionaOperadora s;
    s.show();
    EXPECT_EQ(s.windowTitle(), QStringLiteral("Seleciona Operadora"));
    ASSERT_EQ(s.lstOperadora()->count(), 2);
    EXPECT_EQ(s.lstOperadora()->item(0)->text(), QStringLiteral("SAÚDE D'OESTE LTDA"));
    EXPECT_EQ(s.lstOperadora()->item(1)->text(), QStringLiteral("COOPERATIVA SUL"));
    EXPECT_EQ(s.CodigoEscolhido(), QStringLiteral("300012"));
    EXPECT_FALSE(s.btnIncluir()->isEnabled());
    EXPECT_TRUE(s.btnAlterar()->isEnabled());
}

TEST_F(OperadoraTeste, SelectionCancelMovesTheTableBackToTheRememberedRow) {
    inicia();
    for (const bool escape : {false, true}) {
        TfrmSelecionaOperadora s;
        s.show();
        s.lstOperadora()->setCurrentRow(1);
        EXPECT_EQ(zemlo->CampoGravado(QStringLiteral("CD_OPER")).toString(),
                  QStringLiteral("300012"));
        if (escape)
            QTest::keyClick(&s, Qt::Key_Escape);
        else
            QTest::mouseClick(s.btnCancelar(), Qt::LeftButton);
        EXPECT_EQ(s.result(), QDialog::Rejected);
        EXPECT_EQ(zemlo->CampoGravado(QStringLiteral("CD_OPER")).toString(),
                  QStringLiteral("412341"));
    }
}

TEST_F(OperadoraTeste, SelectionEditsTheChosenOperatorAndConfirmsIt) {
    inicia();
    TfrmSelecionaOperadora s;
    s.show();
    s.lstOperadora()->setCurrentRow(1);
    quandoAbrir<TfrmCadOperadora>([](TfrmCadOperadora* f) {
        EXPECT_EQ(f->edtCodigo()->text(), QStringLiteral("30001-2"));
        f->edtRazaoSocial()->setText(QStringLiteral("COOPERATIVA SUL E NORTE"));
        QTest::mouseClick(f->btnConfirmar(), Qt::LeftButton);
    });
    QTest::mouseClick(s.btnAlterar(), Qt::LeftButton);
    EXPECT_TRUE(msgs.textos().isEmpty());
    EXPECT_EQ(s.lstOperadora()->currentItem()->text(), QStringLiteral("COOPERATIVA SUL E NORTE"));
    QTest::mouseClick(s.btnConfirmar(), Qt::LeftButton);
    EXPECT_EQ(s.result(), QDialog::Accepted);
    EXPECT_EQ(s.CodigoEscolhido(), QStringLiteral("300012"));
    EXPECT_EQ(linhas().last(),
              QStringLiteral("300012|06990590000123|COOPERATIVA SUL E NORTE|22|6"));
}

TEST_F(OperadoraTeste, SelectionOnAnEmptyTableOnlyOffersANewOperator) {
    inicia(QString());
    TfrmSelecionaOperadora s;
    s.show();
    EXPECT_EQ(s.lstOperadora()->count(), 0);
    EXPECT_TRUE(s.btnIncluir()->isEnabled());
    EXPECT_FALSE(s.btnAlterar()->isEnabled());
    quandoAbrir<TfrmCadOperadora>([](TfrmCadOperadora* f) {
        EXPECT_TRUE(f->edtCodigo()->isEnabled());
        preenche(*f, kValida);
        QTest::mouseClick(f->btnConfirmar(), Qt::LeftButton);
    });
    QTest::mouseClick(s.btnIncluir(), Qt::LeftButton);
    ASSERT_EQ(s.lstOperadora()->count(), 1);
    EXPECT_EQ(s.CodigoEscolhido(), QStringLiteral("123455"));
    EXPECT_EQ(linhas(), QStringList({"123455|11222333000181|NOVA OPERADORA|27|2"}));
}
