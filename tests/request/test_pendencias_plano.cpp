// "Verificar pendências" on the plan screen: the request screen's checks of the plan
// shown, in a panel whose rows lead to their tab and control; a ready plan says so.
#include <QAction>
#include <algorithm>
#include <QLabel>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include "plans/ApoioPlanos.h"
#include "request/DmExportacao.h"
#include "operator/Operadora.h"
#include "request/PendenciasPlano.h"

using namespace ApoioPlanos;

namespace {

// A complete urgency hospital of São Paulo (1), a hospital with a wrong CNES and no
// urgency care (2) and a clinic (3).
const char* kEstabelecimentos = R"SQL(
INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, CD_OPER, CD_CNPJ_ESTB_SAUD, CD_CNES, RAZAO_SOCIAL_ESTB_SAUD,
  CD_CLASSIF_ESTAB_SAUDE, CD_TIPO_ESTB_SAUD, DT_VINCULO_OPER, CD_DISP_SERVICO, LG_URGENCIA_EMERGENCIA, ID_MUNC)
  VALUES (1, '123455', '11444777000161', '0012343', 'HOSPITAL CENTRAL', 1, 1000, '2020-01-01', 'T', 'S', 3550308),
         (2, '123455', '11444777000161', '0012340', 'HOSPITAL TORTO', 1, 1000, '2020-01-01', 'T', 'N', 3550308),
         (3, '123455', '11444777000161', '0012343', 'CLÍNICA', 2, 1000, '2020-01-01', 'T', 'N', 3550308);
)SQL";

class PendenciasPlano : public BaseTela {
protected:
    std::unique_ptr<TDmExportacao> exportacao;

    void SetUp() override {
        TfrmCadPlano::TelasRelacionadas().pendencias = [this](RowSet& planos) {
            return VerificaPendenciasPlano(banco(), *exportacao, OperadoraAtual(), planos);
        };
    }
    void TearDown() override {
        BaseTela::TearDown();
        exportacao.reset();
        TfrmCadPlano::TelasRelacionadas().pendencias = {};
    }
    void prepara() {
        // plan 7 ready: state coverage on SP, its hospital, a note and a tax
        inicia(QString::fromUtf8(kEstabelecimentos) + plano(7, "PLANO OURO", 3, 2) +
               QStringLiteral("INSERT INTO RL_PLANOS_UF (CD_OPER, SEQ_PLANO, CD_UF) VALUES ('123455', 7, 'SP');") +
               QStringLiteral("UPDATE TB_PLANOS SET CD_TIPO_CONTRATO = 1, LG_VB_VINCULO_ATIVO = 'N', LG_CONSISTENTE = 'N' "
                              "WHERE SEQ_PLANO = 7;") +
               vinculo(7, 1) + nota(7, 1, "33902000001", "nota.nta") + taxa(7, 1, "804981234562") +
               // plan 8 misses something at nearly every step
               plano(8, "PLANO FALTANDO", 3, 2) +
               QStringLiteral("UPDATE TB_PLANOS SET CD_PADRAO_ACOMODACAO = NULL WHERE SEQ_PLANO = 8;") +
               vinculo(8, 2) + vinculo(8, 3) +
               // plan 9 as 8, with its accommodation
               plano(9, "PLANO QUASE", 3, 2) + vinculo(9, 2) + vinculo(9, 3));
        exportacao = std::make_unique<TDmExportacao>();
        abre();
    }
    void vaiParaPlano(qlonglong seq) {
        while (tela->dtsCadastro()->Valor(QStringLiteral("SEQ_PLANO")).toLongLong() != seq) {
            ASSERT_TRUE(tela->actProximo->isEnabled());
            tela->actProximo->trigger();
        }
    }
    void verifica() {
        tela->AtualizaAcoes();
        ASSERT_TRUE(tela->actVerificarPendencias->isEnabled());
        QTest::keyClick(tela.get(), Qt::Key_F9);
        QCoreApplication::processEvents();
    }
    QStringList linhas() {
        QStringList r;
        QTreeWidget* l = tela->pnlPendencias->lista();
        for (int i = 0; i < l->topLevelItemCount(); ++i) r << l->topLevelItem(i)->text(0);
        return r;
    }
    QString flags(int seq) {
        return banco().valor(QStringLiteral("SELECT LG_CONSISTENTE || LG_REDE_VINCULADA FROM TB_PLANOS WHERE "
                                            "SEQ_PLANO = ?"), {seq}).toString();
    }
};

TEST_F(PendenciasPlano, PlanoProntoDizQueNaoHaPendencias) {
    prepara();
    vaiParaPlano(7);  // complete, but not consistent until checked again (as after its first save)
    verifica();
    ASSERT_TRUE(tela->pnlPendencias->isVisible());
    EXPECT_EQ(tela->pnlPendencias->rotulo()->text(), QStringLiteral("Nenhuma pendência: o plano está pronto para envio."))
        << linhas().join(QStringLiteral(" | ")).toStdString();
    EXPECT_TRUE(linhas().isEmpty());
    EXPECT_EQ(flags(7), QStringLiteral("SS"));  // recorded as the request screen records them
    EXPECT_EQ(tela->dtsCadastro()->Valor(QStringLiteral("LG_CONSISTENTE")).toString(), QStringLiteral("S"));
    EXPECT_TRUE(exportacao->cdsErrosCarga().IsEmpty());
    // Escape hides it
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : tela.get(), Qt::Key_Escape);
    EXPECT_FALSE(tela->pnlPendencias->isVisible());
}

// Each row, by keyboard (the row, then Enter), leads to its tab and puts the focus on its
// control, starting the edit where the control is closed while browsing. While an attribute of
// "Dados gerais" is missing the other tabs stay closed: their rows lead to that attribute.
TEST_F(PendenciasPlano, CadaLinhaLevaASuaAbaEAoControleComFoco) {
    const struct {
        const char* nome;
        int plano;
        std::vector<const char*> esperadas;
        bool abasFechadas;
    } casos[] = {
        // the establishment with a wrong CNES (step 7), the clinic (8), accommodation (9), area (10), tax (12)
        {"sem acomodação", 8, {"CNES", "Vinculação de Rede", "Padrão de Acomodação", "Área de Atuação", "Taxa Registro"},
         true},
        {"com acomodação", 9, {"CNES", "Vinculação de Rede", "Área de Atuação", "Taxa Registro"}, false},
    };
    prepara();
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        vaiParaPlano(c.plano);
        verifica();
        const QStringList campos = linhas();
        ASSERT_FALSE(campos.isEmpty());
        for (const char* esperado : c.esperadas)
            EXPECT_TRUE(campos.contains(QString::fromUtf8(esperado))) << esperado << ": " << campos.join(" | ").toStdString();
        EXPECT_EQ(campos.contains(QStringLiteral("Padrão de Acomodação")), c.abasFechadas);
        EXPECT_EQ(flags(c.plano).left(1), QStringLiteral("N"));

        QTreeWidget* lista = tela->pnlPendencias->lista();
        for (int i = 0; i < lista->topLevelItemCount(); ++i) {
            const QString campo = lista->topLevelItem(i)->text(0);
            SCOPED_TRACE(campo.toStdString());
            const DestinoPendencia d = DestinoDaPendencia(campo);
            ASSERT_FALSE(d.controle.isEmpty());
            // by keyboard: the row, then Enter
            lista->setFocus();
            lista->setCurrentItem(lista->topLevelItem(i));
            QTest::keyClick(lista, Qt::Key_Return);
            QCoreApplication::processEvents();
            QWidget* controle = tela->findChild<QWidget*>(
                d.controle == QLatin1String("area") ? QStringLiteral("dbgUFSelecionada") : d.controle);
            ASSERT_NE(controle, nullptr);
            const bool fechada = c.abasFechadas && d.aba != TEdicaoPlano::Aba::DadosGerais;
            if (fechada) {
                // the missing accommodation keeps the tab closed: it is what is reached
                EXPECT_EQ(tela->edicao()->AtributoIncompleto(), TEdicaoPlano::Controle::Acomodacao);
                EXPECT_FALSE(controle->isEnabled());
                EXPECT_EQ(tela->pgcInfoPlano->currentWidget(), tela->Pagina(TEdicaoPlano::Aba::DadosGerais));
                controle = tela->ControleDaFalha(TEdicaoPlano::Controle::Acomodacao);
            } else {
                EXPECT_EQ(tela->pgcInfoPlano->currentWidget(), tela->Pagina(d.aba));
            }
            EXPECT_EQ(QApplication::focusWidget(), controle)
                << "habilitado " << controle->isEnabled() << " visível " << controle->isVisible() << " foco em "
                << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "nada");
            // a field reached in edit mode: leave it as it was
            if (tela->edicao()->Editando()) tela->actCancelar->trigger();
            EXPECT_TRUE(tela->pnlPendencias->isVisible());
        }
        // another plan shown: the panel is empty again
        tela->actAnterior->trigger();
        EXPECT_FALSE(tela->pnlPendencias->isVisible());
        EXPECT_TRUE(linhas().isEmpty());
    }
}

// Every field label the checks write has its place on the plan screen.
TEST(DestinoPendencias, CadaRotuloTemAbaEControle) {
    using Aba = TEdicaoPlano::Aba;
    const struct {
        const char* campo;
        Aba aba;
        const char* controle;
    } casos[] = {
        {"Tipo de Segmentação", Aba::DadosGerais, "dblkpSegmentacao"},
        {"Cód.Segmentação", Aba::DadosGerais, "dblkpSegmentacao"},
        {"Tipo de Contratação", Aba::DadosGerais, "dblkpContraracao"},
        {"Cód.Tipo Contrato", Aba::DadosGerais, "dblkpContraracao"},
        {"Cód.Abrangência", Aba::DadosGerais, "dblkpAbrangencia"},
        {"Código Operadora", Aba::DadosGerais, "dbedtNome"},
        {"Sequencial do Plano", Aba::DadosGerais, "dbedtNome"},
        {"Descrição do Plano", Aba::DadosGerais, "dbedtNome"},
        {"Formação de Preço", Aba::DadosGerais, "rbtPreEstabelecido"},
        {"Opções de pós-estabelecido", Aba::DadosGerais, "rbtRateio"},
        {"Padrão de Acomodação", Aba::DadosGerais, "rbtIndividual"},
        {"Plano Referência", Aba::Servicos, "lstServicos"},
        {"Plano opera exclusivamente como Livre Escolha", Aba::DadosGerais, "rbtLivreSim"},
        {"Livre escolha de prestadores", Aba::LivreEscolha, "lstReembolso"},
        {"Área de Atuação", Aba::AreaAtuacao, "area"},
        {"Nota Técnica", Aba::NotasTecnicas, "dbgNotaTecnica"},
        {"Nome Arquivo da Nota Técnica", Aba::NotasTecnicas, "dbgNotaTecnica"},
        {"Data protocolo da Nota Técnica", Aba::NotasTecnicas, "dbgNotaTecnica"},
        {"Taxa Registro", Aba::Taxa, "dbgTaxaRegistro"},
        {"Número do Documento de Pagamento", Aba::Taxa, "dbgTaxaRegistro"},
        {"Estabelecimentos de Saúde", Aba::Rede, "dbgHospSele"},
        {"Estabelecimentos de Saúde (12) - HOSPITAL", Aba::Rede, "dbgHospSele"},
        {"Estb. Saúde (11444777000161/0012340): ", Aba::Rede, "dbgHospSele"},
        {"Vinculação de Rede", Aba::Rede, "dbgHospSele"},
        {"Rede Vinculada/Livre Escolha", Aba::Rede, "dbgHospSele"},
        {"Rede Operadora Plano Odontológico", Aba::Rede, "dbgHospSele"},
        {"C.N.P.J", Aba::Rede, "dbgHospSele"},
        {"CNES", Aba::Rede, "dbgHospSele"},
        {"CPF", Aba::Rede, "dbgHospSele"},
        {"CPF/CNPJ ou CNES", Aba::Rede, "dbgHospSele"},
        {"CPF/CNPJ", Aba::Rede, "dbgHospSele"},
        {"Data de início da prestação do serviço", Aba::Rede, "dbgHospSele"},
        {"Disponibilidade de Serviços", Aba::Rede, "dbgHospSele"},
        {"Razão Social", Aba::Rede, "dbgHospSele"},
        {"Registro ZUB da Operadora intermediária", Aba::Rede, "dbgHospSele"},
        {"Tipo de Contratualização", Aba::Rede, "dbgHospSele"},
        {"UF / Município", Aba::Rede, "dbgHospSele"},
        {"Vínculo da Rede", Aba::Rede, "dbgHospSele"},
    };
    for (const auto& c : casos) {
        const DestinoPendencia d = DestinoDaPendencia(QString::fromUtf8(c.campo));
        EXPECT_EQ(d.aba, c.aba) << c.campo;
        EXPECT_EQ(d.controle, QString::fromLatin1(c.controle)) << c.campo;
    }
    EXPECT_TRUE(DestinoDaPendencia(QStringLiteral("TODOS OS PLANOS")).controle.isEmpty());
}

}  // namespace
