// The re-evaluation of an operator's unsent plans after a change of its classification:
// what it decides for one plan, what it writes, what it never touches, and the operator
// screen that runs it.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "FixturaDispositivos.h"
#include "apoio/Apoio.h"
#include "db/DmConexao.h"
#include "db/DmLookup.h"
#include "db/Erro.h"
#include "db/Transacao.h"
#include "operator/DmOperadora.h"
#include "operator/DmZemlo.h"
#include "operator/FrmCadOperadora.h"
#include "rules/ReavaliaPlanos.h"

namespace {
namespace F = FixturaDispositivos;

TEST(ReavaliaPlanos, OnePlanAgainstClassificationDevicesNetworkAndNotes) {
    struct Caso {
        const char* caso;
        int classificacao;
        QVariant tipo, segmentacao, financ;
        const char* ativo;
        const char* partc;
        bool nota;
        bool rede;
        bool inconsistente;
    };
    const Caso casos[] = {
        {"autogestão, contratação 1", 24, 1, 2, 1, "N", "", false, true, true},
        {"autogestão, contratação 2", 24, 2, 2, 1, "N", "", false, true, false},
        {"autogestão, contratação 3", 24, 3, 2, 1, "N", "", false, true, false},
        {"autogestão, sem contratação", 24, QVariant(), 2, 1, "N", "", false, true, true},
        {"odontologia de grupo, segmentação 2", 26, 1, 2, 1, "N", "", false, true, true},
        {"odontologia de grupo, segmentação 4", 26, 1, 4, 1, "N", "", false, true, false},
        {"cooperativa odontológica, sem segmentação", 23, 1, QVariant(), 1, "N", "", false, true, true},
        {"odontológico com nota técnica", 22, 1, 4, 1, "N", "", true, true, true},
        {"odontológico sem nota técnica", 22, 1, 4, 2, "N", "", false, true, false},
        {"coletivo com vínculo e patrocínio, com nota", 22, 2, 2, 1, "S", "C", true, true, true},
        {"coletivo com vínculo e patrocínio, sem nota", 22, 3, 2, 2, "S", "C", false, true, false},
        {"coletivo sem patrocínio, pós-estabelecido com nota", 22, 2, 2, 2, "S", "S", true, true, true},
        {"coletivo sem patrocínio, pré-estabelecido com nota", 22, 2, 2, 1, "S", "S", true, true, false},
        {"individual, pós-estabelecido com nota", 22, 1, 2, 2, "N", "", true, true, true},
        {"individual, pré-estabelecido com nota", 22, 1, 2, 1, "N", "", true, true, false},
        {"sem rede", 22, 1, 2, 1, "N", "", false, false, false},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.caso);
        PlanoLido p;
        p.seqPlano = 7;
        p.dispositivos.tipoContrato = c.tipo;
        p.dispositivos.segmentacao = c.segmentacao;
        p.dispositivos.tipoFinanc = c.financ;
        p.vinculoAtivo = QString::fromLatin1(c.ativo);
        p.vinculoInativo = QStringLiteral("N");
        p.partcFinancPj = QString::fromLatin1(c.partc);
        p.temNotaTecnica = c.nota;
        p.temRede = c.rede;
        // A collective plan by employer carries its theme 26 device (the device rules hold).
        if (c.tipo == 2) p.dispositivos.dispositivos << DispositivoRegra{26, QStringLiteral("COLETIVOS")};
        const TipoInconsistencia t = AvaliaPlano(c.classificacao, p);
        EXPECT_EQ(t.seqPlano, 7);
        EXPECT_EQ(t.inconsistente, c.inconsistente);
        EXPECT_EQ(t.semRede, !c.rede);
    }
    // A device rule that fails makes the plan inconsistent, whatever else holds.
    CatalogoTemas temas;
    temas.define({{10, QStringLiteral("ATRIBUTOS DO CONTRATO"), 1, true, true, Caracteristica::TipoContrato}});
    PlanoLido p;
    p.temRede = true;
    p.dispositivos.temas = &temas;
    EXPECT_TRUE(AvaliaPlano(22, p).inconsistente);
}

// Operator 412341 (classification 22) with plans:
//  1 segmentation 2, in order, with network      5 segmentation 2, no send status
//  2 segmentation 4, in order, with network      6 segmentation 4 with a technical note
//  3 segmentation 2, sent                        7 segmentation 4, a mandatory device missing
//  4 segmentation 4, in order, no establishment  8 another operator's, segmentation 2
const char* kPlanos = R"SQL(
INSERT INTO OPERADORAS (CD_OPER, CD_CNPJ, NM_RAZAO_SOCIAL, CD_GRUPO_CLASSIFICACAO, CD_REGIAO_ATUACAO)
  VALUES ('412341', '11444777000161', 'SAÚDE D''OESTE LTDA', 22, 3);
INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_SEGMENTACAO, CD_TIPO_CONTRATO, CD_TIPO_FINANC,
                       CD_STATUS_ENVIO, LG_CONSISTENTE, LG_REDE_VINCULADA) VALUES
  ('412341', 1, 'UM', 2, 3, 1, 0, '?', '?'),
  ('412341', 2, 'DOIS', 4, 3, 1, 2, '?', '?'),
  ('412341', 3, 'TRÊS', 2, 3, 1, 1, '?', '?'),
  ('412341', 4, 'QUATRO', 4, 3, 1, 0, '?', '?'),
  ('412341', 5, 'CINCO', 2, 3, 1, NULL, '?', '?'),
  ('412341', 6, 'SEIS', 4, 3, 1, 0, '?', '?'),
  ('412341', 7, 'SETE', 4, 3, 1, 0, '?', '?'),
  ('300012', 8, 'OITO', 2, 3, 1, 0, '?', '?');
INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, CD_OPER, RAZAO_SOCIAL_ESTB_SAUD) VALUES (1, '412341', 'HOSPITAL');
INSERT INTO RL_PLANOS_ESTAB_SAUDE (CD_OPER, SEQ_PLANO, ID_ESTB_SAUD) VALUES
  ('412341', 1, 1), ('412341', 2, 1), ('412341', 3, 1), ('412341', 5, 1), ('412341', 6, 1),
  ('412341', 7, 1), ('300012', 8, 1);
INSERT INTO RL_PLANO_NOTA_TECNICA (CD_OPER, SEQ_PLANO, ID_PLANO_NOTA_TECNICA) VALUES ('412341', 6, 1);
)SQL";

class Reavaliacao : public ::testing::Test {
protected:
    Apoio::PastaTeste pasta;
    Apoio::Mensageiro msgs;
    std::unique_ptr<TDmConexao> conexao;

    void SetUp() override {
        Apoio::criaBanco(pasta.caminho(), Apoio::Esquema::Atual, QString::fromUtf8(kPlanos));
        conexao = std::make_unique<TDmConexao>();
        conexao->AbreBanco();
        // The mandatory themes in force: 10, 12, 15, 31, 32 (values that fit any plan).
        const QString op = QStringLiteral("412341");
        const qlonglong temas[] = {10, 12, 15, 31, 32};
        for (int i = 0; i < 5; ++i) {
            F::Dispositivo d;
            d.codigo = i + 1;
            d.cdOper = op;
            d.tema = temas[i];
            d.identificacao = QStringLiteral("D%1").arg(i + 1);
            if (temas[i] == 10) d.valores.insert(QStringLiteral("CD_TIPO_CONTRATO"), 0);
            if (temas[i] == 12) d.valores.insert(QStringLiteral("CD_SEGMENTACAO"), 0);
            F::insere(banco(), d);
            for (qlonglong plano : {1, 2, 3, 4, 5, 6}) F::vincula(banco(), op, plano, d.codigo);
        }
        F::vincula(banco(), op, 7, 1);
    }
    void TearDown() override { conexao.reset(); }
    Banco& banco() { return conexao->banco(); }

    void classifica(int c) {
        banco().executa(QStringLiteral("UPDATE OPERADORAS SET CD_GRUPO_CLASSIFICACAO = ?"), {c});
    }
    // "plan:consistent network" of every plan.
    QStringList flags() {
        return Apoio::coluna(banco(), QStringLiteral("SELECT SEQ_PLANO || ':' || LG_CONSISTENTE || "
                                                     "LG_REDE_VINCULADA FROM TB_PLANOS ORDER BY 1"));
    }
};

const QStringList kIntocados{"1:??", "2:??", "3:??", "4:??", "5:??", "6:??", "7:??", "8:??"};

TEST_F(Reavaliacao, ClassificationOdontologicalMarksEveryUnsentPlanNotOdontological) {
    classifica(23);
    const QVector<TipoInconsistencia> r = ReavaliaPlanos(banco(), QStringLiteral("412341"));
    ASSERT_EQ(r.size(), 6);  // 1, 2, 4, 5, 6, 7
    EXPECT_EQ(flags(), (QStringList{"1:NS", "2:SS", "3:??", "4:SN", "5:NS", "6:NS", "7:NS", "8:??"}));

    // Back to a general classification: the same plans read consistent again where they are.
    classifica(22);
    ReavaliaPlanos(banco(), QStringLiteral("412341"));
    EXPECT_EQ(flags(), (QStringList{"1:SS", "2:SS", "3:??", "4:SN", "5:SS", "6:NS", "7:NS", "8:??"}));
    EXPECT_FALSE(banco().emTransacao());
}

TEST_F(Reavaliacao, AFailureLeavesEveryPlanAsItWasAlsoInsideACallersTransaction) {
    // The flags of plan 2 cannot be written: they are written last, after the others.
    banco().executa(QStringLiteral(
        "CREATE TRIGGER recusa BEFORE UPDATE OF LG_CONSISTENTE ON TB_PLANOS WHEN OLD.SEQ_PLANO = 2 "
        "BEGIN SELECT RAISE(ABORT, 'gravação recusada'); END"));
    classifica(23);
    EXPECT_THROW(ReavaliaPlanos(banco(), QStringLiteral("412341")), ErroQev);
    EXPECT_EQ(flags(), kIntocados);
    EXPECT_FALSE(banco().emTransacao());

    TransacaoEscopo externa(banco());
    banco().executa(QStringLiteral("UPDATE TB_PLANOS SET NM_PLANO = 'UM NOVO' WHERE SEQ_PLANO = 1"));
    EXPECT_THROW(ReavaliaPlanos(banco(), QStringLiteral("412341")), ErroQev);
    EXPECT_TRUE(banco().emTransacao()) << "the caller's transaction stays open";
    EXPECT_EQ(flags(), kIntocados);
    EXPECT_EQ(banco().valor(QStringLiteral("SELECT NM_PLANO FROM TB_PLANOS WHERE SEQ_PLANO = 1")),
              QVariant(QStringLiteral("UM NOVO")))
        << "the caller's own writes are kept";
    externa.confirma();

    // Through the operator screen's hook: the error is shown, nothing is written.
    TdmOperadora operadora;
    InstalaReavaliacaoPlanos();
    operadora.ClassificacaoAlterada(QStringLiteral("412341"));
    ASSERT_EQ(msgs.pedidos().size(), 1);
    EXPECT_EQ(msgs.pedidos().first().tipo, Mensagens::Erro);
    EXPECT_TRUE(msgs.pedidos().first().texto.startsWith(
        QStringLiteral("Os planos da operadora não foram reavaliados.")));
    EXPECT_TRUE(msgs.pedidos().first().texto.contains(QStringLiteral("gravação recusada")));
    EXPECT_EQ(flags(), kIntocados);
}

class ReavaliacaoNaTela : public Reavaliacao {
protected:
    std::unique_ptr<TDMZemlo> zemlo;
    std::unique_ptr<TdmLookup> lookup;
    std::unique_ptr<TdmOperadora> operadora;
    void SetUp() override {
        Reavaliacao::SetUp();
        zemlo = std::make_unique<TDMZemlo>();
        lookup = std::make_unique<TdmLookup>();
        operadora = std::make_unique<TdmOperadora>();
        InstalaReavaliacaoPlanos();
    }
    void TearDown() override {
        operadora.reset();
        lookup.reset();
        zemlo.reset();
        Reavaliacao::TearDown();
    }
    // Edits the current operator to classification `c`, answering the question with `resposta`.
    void altera(int c, int resposta) {
        zemlo->EditaOperadora();
        TfrmCadOperadora f;
        f.show();
        f.cmbClassificacao()->setCurrentIndex(f.cmbClassificacao()->findData(c));
        msgs.responde({resposta});
        f.btnConfirmar()->click();
        if (f.isVisible()) f.reject();
    }
};

TEST_F(ReavaliacaoNaTela, TheOperatorScreenRunsItOnlyForAConfirmedChangeOfAnExistingOperator) {
    altera(23, Mensagens::RespNao);
    EXPECT_EQ(flags(), kIntocados) << "answered no: nothing runs";
    altera(22, Mensagens::RespSim);
    EXPECT_EQ(flags(), kIntocados) << "the same classification: nothing runs";
    EXPECT_EQ(msgs.pedidos().size(), 1) << "and nothing is asked";

    altera(23, Mensagens::RespSim);
    EXPECT_EQ(flags(), (QStringList{"1:NS", "2:SS", "3:??", "4:SN", "5:NS", "6:NS", "7:NS", "8:??"}));

    // A new operator whose code already has plans: its classification is never compared.
    banco().executa(QStringLiteral("UPDATE TB_PLANOS SET LG_CONSISTENTE = '?', LG_REDE_VINCULADA = '?'"));
    zemlo->InsereOperadora();
    TfrmCadOperadora nova;
    nova.show();
    nova.edtCodigo()->setText(QStringLiteral("300012"));
    nova.edtCnpj()->setText(QStringLiteral("06990590000123"));
    nova.edtRazaoSocial()->setText(QStringLiteral("COOPERATIVA SUL"));
    nova.cmbClassificacao()->setCurrentIndex(nova.cmbClassificacao()->findData(23));
    nova.cmbRegiao()->setCurrentIndex(0);
    nova.btnConfirmar()->click();
    EXPECT_EQ(nova.result(), QDialog::Accepted) << msgs.textos().join(" / ").toStdString();
    EXPECT_EQ(flags(), kIntocados);
}

}  // namespace
