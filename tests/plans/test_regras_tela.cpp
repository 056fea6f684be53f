// The plan screen's rules between its choices (contract, segmentation, price, tabs),
// the operators that restrict them, search, print and the protocol button; the note
// dialog's checks and the protocol dialog.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include "ApoioPlanos.h"
#include "app/ConduzModal.h"
#include "common/Entradas.h"
#include "common/ExecucaoModal.h"
#include "common/FrmConsulta.h"
#include "plans/FrmAlteraProtocolo.h"
#include "plans/FrmCadNotaTecnica.h"
#include "plans/FrmCadPlano.h"

using namespace ApoioPlanos;
using Apoio::Modais;
using Aba = TEdicaoPlano::Aba;

namespace {

void escolhe(QComboBox* c, const QVariant& codigo) {
    const int i = c->findData(codigo);
    ASSERT_GE(i, 0) << c->objectName().toStdString();
    c->setCurrentIndex(i);
    emit c->activated(i);
}

QVector<int> codigos(const QComboBox* c) {
    QVector<int> r;
    for (int i = 0; i < c->count(); ++i) r << c->itemData(i).toInt();
    return r;
}

class RegrasTelaTeste : public BaseTela {
protected:
    void TearDown() override {
        TfrmCadPlano::TelasRelacionadas() = {};
        BaseTela::TearDown();
    }
    RowSet& planos() { return *dm->cdsPlano(); }
    QString valor(const char* c) { return planos().Valor(QString::fromLatin1(c)).toString(); }
    TEdicaoPlano& edicao() { return *tela->edicao(); }
};

TEST_F(RegrasTelaTeste, ContractTypeSetsAndLocksPriceAndBeneficiaryLinks) {
    inicia(plano(1, "P1"));
    abre();
    tela->actAlterar->trigger();
    // 1: individual
    escolhe(tela->dblkpContraracao, 1);
    EXPECT_TRUE(tela->rbtPreEstabelecido->isChecked());
    EXPECT_FALSE(tela->rbtPosEstabelecido->isEnabled());
    for (QCheckBox* c : {tela->chkVinculoAtivo, tela->chkVinculoInativo, tela->chkSemVinculo}) {
        EXPECT_FALSE(c->isEnabled());
        EXPECT_FALSE(c->isChecked());
    }
    EXPECT_EQ(valor("LG_VB_VINCULO_ATIVO"), QStringLiteral("N"));
    // 3: without employment link, and it stays checked
    escolhe(tela->dblkpContraracao, 3);
    EXPECT_TRUE(tela->rbtPosEstabelecido->isEnabled());
    EXPECT_FALSE(tela->chkVinculoAtivo->isEnabled());
    EXPECT_TRUE(tela->chkSemVinculo->isChecked());
    EXPECT_EQ(valor("LG_VB_SEM_VINCULO"), QStringLiteral("S"));
    tela->chkSemVinculo->click();
    EXPECT_TRUE(tela->chkSemVinculo->isChecked());
    EXPECT_EQ(valor("LG_VB_SEM_VINCULO"), QStringLiteral("S"));
    // 2: the three unchecked, "sem vínculo" locked
    escolhe(tela->dblkpContraracao, 2);
    EXPECT_FALSE(tela->chkSemVinculo->isChecked());
    EXPECT_FALSE(tela->chkSemVinculo->isEnabled());
    EXPECT_TRUE(tela->chkVinculoAtivo->isEnabled());
    EXPECT_FALSE(edicao().AtributosCompletos());  // contract 2 needs a link
    EXPECT_FALSE(edicao().AbaHabilitada(Aba::Taxa));
    tela->chkVinculoAtivo->click();
    EXPECT_TRUE(edicao().AtributosCompletos());
    for (Aba a : {Aba::Taxa, Aba::LivreEscolha, Aba::Servicos, Aba::NotasTecnicas, Aba::Rede})
        EXPECT_TRUE(edicao().AbaHabilitada(a)) << int(a);
    EXPECT_FALSE(edicao().AbaHabilitada(Aba::AreaAtuacao));  // national
    escolhe(tela->dblkpAbrangencia, 4);
    EXPECT_TRUE(edicao().AbaHabilitada(Aba::AreaAtuacao));
    EXPECT_FALSE(edicao().PaginaUFs());
}

TEST_F(RegrasTelaTeste, SegmentationAndPriceDecideAccommodationMixedPriceAndModeratingFactor) {
    inicia(plano(1, "P1"));
    abre();
    tela->actAlterar->trigger();
    const struct {
        int seg;
        bool misto, acomodacao, individual;
        const char* valor;  // accommodation afterwards
    } casos[] = {{1, false, false, false, ""}, {4, true, false, false, ""}, {8, false, false, false, ""},
                 {5, false, true, false, "C"}, {2, false, true, true, "C"}};
    for (const auto& c : casos) {
        escolhe(tela->dblkpSegmentacao, c.seg);
        EXPECT_EQ(tela->rbtMisto->isEnabled(), c.misto) << c.seg;
        EXPECT_EQ(tela->grpPadraoAcomodacao->isEnabled(), c.acomodacao) << c.seg;
        EXPECT_EQ(tela->rbtIndividual->isEnabled(), c.individual) << c.seg;
        EXPECT_EQ(valor("CD_PADRAO_ACOMODACAO"), QString::fromLatin1(c.valor)) << c.seg;
    }
    EXPECT_EQ(tela->pgcInfoPlano->currentWidget(), tela->tbsDadosGerais);
    escolhe(tela->dblkpSegmentacao, 4);
    tela->rbtMisto->click();
    EXPECT_FALSE(tela->grpFatorModerador->findChild<QCheckBox*>(QStringLiteral("chkFranquia"))->isEnabled());
    EXPECT_EQ(valor("LG_FM_COPARTICIPACAO"), QStringLiteral("N"));
    EXPECT_FALSE(tela->grpOpcaoPosEstab->isEnabled());
    EXPECT_FALSE(edicao().AbaHabilitada(Aba::Rede));  // odontological: no network
    // another segmentation: "Misto" is unchecked when it ends disabled
    escolhe(tela->dblkpSegmentacao, 2);
    EXPECT_FALSE(tela->rbtMisto->isChecked());
    EXPECT_EQ(edicao().FormacaoPreco(), TEdicaoPlano::Preco::Nenhum);
    tela->rbtPosEstabelecido->click();
    EXPECT_TRUE(tela->grpOpcaoPosEstab->isEnabled());
    EXPECT_TRUE(tela->chkCoparticipacao->isEnabled());
    tela->rbtCustoOperacional->click();
    EXPECT_EQ(valor("CD_OPCAO_POS_ESTABELECIDO"), QStringLiteral("C"));
    tela->rbtPreEstabelecido->click();
    EXPECT_FALSE(tela->grpOpcaoPosEstab->isEnabled());
    EXPECT_TRUE(valor("CD_OPCAO_POS_ESTABELECIDO").isEmpty());
    // "Sim" to free choice closes the free-choice items and the network tab
    tela->rbtLivreSim->click();
    EXPECT_EQ(valor("LG_TOTAL_LIVRE_ESCOLHA"), QStringLiteral("S"));
    EXPECT_FALSE(edicao().AbaHabilitada(Aba::Rede));
    EXPECT_FALSE(dm->cdsPlanoCobertura()->Ativo());
}

TEST_F(RegrasTelaTeste, SelfManagedAndOdontologicalOperatorsSeeOnlyTheirChoices) {
    const struct {
        int classif;
        QVector<int> contratos;
        QVector<int> segmentacoes;
        int segNova;  // preset of a new plan (0: none)
    } casos[] = {{24, {2, 3}, QVector<int>{}, 0}, {23, {1, 2, 3}, {4}, 4}, {26, {1, 2, 3}, {4}, 4}};
    inicia(plano(1, "P1", 1, 2));
    for (const auto& c : casos) {
        SCOPED_TRACE(c.classif);
        tela.reset();
        banco().executa(QStringLiteral("UPDATE OPERADORAS SET CD_GRUPO_CLASSIFICACAO = ?"), {c.classif});
        zemlo = std::make_unique<TDMZemlo>();  // the current operator is read again
        abre();
        EXPECT_EQ(codigos(tela->dblkpContraracao).mid(0, c.contratos.size()), c.contratos);
        if (c.classif == 24) EXPECT_FALSE(codigos(tela->dblkpContraracao).contains(1));
        if (!c.segmentacoes.isEmpty()) EXPECT_EQ(codigos(tela->dblkpSegmentacao), c.segmentacoes);
        EXPECT_GT(tela->dblkpSegmentacaoBrowse->count(), 10);  // browsing shows every one
        tela->actAdicionar->trigger();
        EXPECT_EQ(planos().Valor(QStringLiteral("CD_SEGMENTACAO")).toInt(), c.segNova);
        EXPECT_TRUE(tela->dblkpSegmentacao->isVisible());
        EXPECT_FALSE(tela->dblkpSegmentacaoBrowse->isVisible());
        tela->actCancelar->trigger();
        EXPECT_FALSE(tela->dblkpSegmentacao->isVisible());
    }
}

TEST_F(RegrasTelaTeste, SearchMovesToTheChosenPlanOfTheOperator) {
    inicia(plano(1, "ALFA") + plano(2, "BETA") + plano(3, "GAMA", 1, 2, 0, kOutraOperadora));
    abre();
    QString escolhido = QStringLiteral("BETA");
    QStringList vistos;
    Modais modais([&](QDialog& d) {
        auto& c = dynamic_cast<TfrmConsulta&>(d);
        for (int p = 0; p < c.cdsConsulta()->RecordCount(); ++p)
            vistos << c.cdsConsulta()->ValorNaPosicao(p, 0).toString();
        c.cdsConsulta()->Locate(QStringLiteral("NM_PLANO"), escolhido);
        return int(QDialog::Accepted);
    });
    tela->actPesquisar->trigger();
    EXPECT_EQ(modais.abertos, QStringList{"Pesquisa de Plano"});
    std::sort(vistos.begin(), vistos.end());
    EXPECT_EQ(vistos, QStringList({"ALFA", "BETA", "GAMA"}));  // every plan of the database
    EXPECT_EQ(tela->dbedtNome->text(), QStringLiteral("BETA"));
    escolhido = QStringLiteral("GAMA");  // another operator's: the screen stays
    tela->actPesquisar->trigger();
    EXPECT_EQ(tela->dbedtNome->text(), QStringLiteral("BETA"));
}

TEST_F(RegrasTelaTeste, PrintOpensThePlanReportOnceItsOpenerIsInstalled) {
    inicia(plano(1, "ALFA") + plano(7, "BETA"));
    abre();
    tela->AtualizaAcoes();
    EXPECT_FALSE(tela->actImprimir->isEnabled());
    EXPECT_EQ(tela->actImprimir->toolTip(), QStringLiteral("Imprimir os dados do plano (Ctrl+P)"));  // the hint and its key
    qlonglong pedido = -1;
    TfrmCadPlano::TelasRelacionadas().relatorio = [&](QWidget*, qlonglong seq) { pedido = seq; };
    tela->actProximo->trigger();
    tela->AtualizaAcoes();
    ASSERT_TRUE(tela->actImprimir->isEnabled());
    tela->actImprimir->trigger();
    EXPECT_EQ(pedido, 7);
    tela->actAlterar->trigger();
    tela->AtualizaAcoes();
    EXPECT_FALSE(tela->actImprimir->isEnabled());  // browsing only
}

TEST_F(RegrasTelaTeste, ProtocolIsChangedOnlyThroughItsDialogWhileEditing) {
    inicia(plano(1, "ALFA") + taxa(1, 1, kTaxa1) +
           QStringLiteral("UPDATE TB_PLANOS SET NR_PROTOCOLO_REGISTRO = '111', "
                          "NR_PROTOCOLO_SOLICITACAO = '12345520240101120000';"));
    abre();
    tela->AtualizaAcoes();
    EXPECT_FALSE(tela->actAlteraProtocolo->isEnabled());
    EXPECT_TRUE(tela->dedProtocoloEntrega->isReadOnly());
    EXPECT_EQ(tela->dedProtocoloEntrega->text(), QStringLiteral("111"));
    tela->actAlterar->trigger();
    tela->AtualizaAcoes();
    ASSERT_TRUE(tela->actAlteraProtocolo->isEnabled());
    Modais modais([&](QDialog& d) {
        auto& p = dynamic_cast<TfrmAlteraProtocolo&>(d);
        EXPECT_EQ(p.edtProtocolo->text(), QStringLiteral("111"));
        p.edtProtocolo->clear();
        QTest::keyClicks(p.edtProtocolo, QStringLiteral("33902.a12-3 "));
        EXPECT_EQ(p.edtProtocolo->text(), QStringLiteral("33902.123"));
        mensagens.responde({Mensagens::RespOk});
        p.btnConfirmarClick();
        return p.result();
    });
    tela->actAlteraProtocolo->trigger();
    EXPECT_EQ(modais.abertos, QStringList{"Alteração do Protocolo de Solicitação"});
    EXPECT_EQ(tela->dedProtocoloEntrega->text(), QStringLiteral("33902.123"));
    QTest::mouseClick(tela->btnConfirmar(), Qt::LeftButton);
    EXPECT_EQ(banco().valor(QStringLiteral("SELECT NR_PROTOCOLO_REGISTRO FROM TB_PLANOS")).toString(),
              QStringLiteral("33902.123"));
}

// --- the protocol dialog ---------------------------------------------------------------

TEST_F(RegrasTelaTeste, ProtocolDialogAsksForTheProtocolOfAPlanAlreadyRequestedAndConfirms) {
    inicia();
    TfrmAlteraProtocolo com(QStringLiteral("123"), false);
    EXPECT_TRUE(com.memAviso->isReadOnly());
    EXPECT_TRUE(com.memAviso->toPlainText().startsWith(QStringLiteral("ATENÇÃO!!! \n\nO Protocolo")));
    EXPECT_EQ(com.edtProtocolo->maxLength(), 30);
    EXPECT_TRUE(com.btnConfirmar->text().isEmpty());
    com.edtProtocolo->setText(QStringLiteral("   "));
    com.btnConfirmarClick();
    EXPECT_EQ(mensagens.textos(), QStringList{"Por favor, digite o Protocolo."});
    EXPECT_NE(com.result(), QDialog::Accepted);
    mensagens.limpa();
    com.edtProtocolo->setText(QStringLiteral("456 "));
    mensagens.responde({Mensagens::RespCancelar});
    com.btnConfirmarClick();
    EXPECT_EQ(mensagens.pedidos().value(0).botoes, Mensagens::BtOk | Mensagens::BtCancelar);
    EXPECT_NE(com.result(), QDialog::Accepted);
    mensagens.responde({Mensagens::RespOk});
    com.btnConfirmarClick();
    EXPECT_EQ(com.result(), QDialog::Accepted);
    EXPECT_EQ(com.Protocolo(), QStringLiteral("456 "));  // untrimmed
    // a plan never requested may clear it
    TfrmAlteraProtocolo sem(QStringLiteral("123"), true);
    sem.edtProtocolo->clear();
    mensagens.limpa();
    mensagens.responde({Mensagens::RespOk});
    sem.btnConfirmarClick();
    EXPECT_EQ(sem.result(), QDialog::Accepted);
    EXPECT_EQ(mensagens.textos().size(), 1);
}

// --- the note dialog ---------------------------------------------------------------------

class NotaTeste : public RegrasTelaTeste {
protected:
    std::unique_ptr<TfrmCadNotaTecnica> dlg;
    void SetUp() override {
        inicia(plano(1, "P1") + nota(1, 1, "777") + nota(1, 2, "33902000001", "x.nta"));
        dm->AbrePlanos();
        abre();
        tela->actAlterar->trigger();
        tela->pgcInfoPlano->setCurrentWidget(tela->tbsNotaTecnica);
    }
    void TearDown() override {
        dlg.reset();
        RegrasTelaTeste::TearDown();
    }
    // A new note with these fields, its dialog confirmed; the messages shown.
    QStringList confirma(const QString& protocolo, const QString& arquivo, const QString& data) {
        edicao().NovaNota();
        dlg = std::make_unique<TfrmCadNotaTecnica>(dm.get());
        QTest::keyClicks(dlg->DBEdit1, protocolo);
        dlg->edtArquivo->setText(arquivo);  // typed (also what a keyboard cannot send as keys)
        emit dlg->edtArquivo->textEdited(arquivo);
        dlg->edtDataProtocolo->setFocus();
        QTest::keyClicks(dlg->edtDataProtocolo, data);
        mensagens.limpa();
        dlg->btnCadastrarClick();
        return mensagens.textos();
    }
};

TEST_F(NotaTeste, TheLastFailingCheckIsShownAndTheDialogStays) {
    const QString op = QString::fromLatin1(kOperadora);
    const QString bom = op + QStringLiteral("999999999150620101530.nta");
    const struct {
        QString protocolo, arquivo, data;
        QString mensagem;
    } casos[] = {
        {"", "", "", "Data de Protocolo é obrigatória"},
        {"", "errado.txt", "01012020", "Número do Protocolo é obrigatório"},
        {"123", "", "16062024", "Data de Protocolo deve ser igual ou anterior à data atual"},
        {"33902123", "", "01012020", "Nome do Arquivo é obrigatório para protocolos iniciados com \"33902\""},
        {"777", "", "01012020", "Número do Protocolo já consta cadastrado."},
        {"888", "111111999999999150620101530.nta", "01012020",
         "Nome do Arquivo não corresponde à Operadora atual."},
        {"888", bom + QStringLiteral(" "), "01012020",
         "Nome do arquivo possui extensão incorreta.\rA extensão do arquivo deve ser \".nta\""},
        {"888", op + QStringLiteral("999999999Ω50620101530.nta"), "01012020",
         "O campo \"Nome do Arquivo\" contém o caractere \"Ω\", que não pode ser enviado à ZUB. "
         "Substitua-o por outro."},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.mensagem.toStdString());
        EXPECT_EQ(confirma(c.protocolo, c.arquivo, c.data), QStringList{c.mensagem});
        EXPECT_EQ(mensagens.pedidos().value(0).tipo, Mensagens::Informacao);
        EXPECT_NE(dlg->result(), QDialog::Accepted);
        EXPECT_TRUE(dm->cdsNotaTecnica()->EmEdicao());
        dlg->btnCancelarClick();
        EXPECT_FALSE(dm->cdsNotaTecnica()->EmEdicao());
        EXPECT_EQ(dm->cdsNotaTecnica()->RecordCount(), 2);
    }
}

TEST_F(NotaTeste, AcceptedNotesWarnBefore2008AndARepeatedProtocolAndFileIsDiscarded) {
    const QString op = QString::fromLatin1(kOperadora);
    EXPECT_EQ(confirma(QStringLiteral("123"), QString(), QStringLiteral("15062024")), QStringList());
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(dm->cdsNotaTecnica()->RecordCount(), 3);
    EXPECT_EQ(confirma(QStringLiteral("124"), op + QStringLiteral("999999999150620101530.NTA"),
                       QStringLiteral("31122007")),
              QStringList{"Data do Protocolo da Nota Técnica não deve ser anterior a 01/01/2008"});
    EXPECT_EQ(mensagens.pedidos().value(0).tipo, Mensagens::Cuidado);
    EXPECT_EQ(dm->cdsNotaTecnica()->RecordCount(), 4);
    // a 33902 protocol may repeat, but not with the same file name
    EXPECT_EQ(confirma(QStringLiteral("33902000001"), QStringLiteral("x.nta"), QStringLiteral("01012020"))
                  .value(0)
                  .left(4),
              QStringLiteral("Nome"));  // the file name is checked first
    dlg->btnCancelarClick();
    banco().executa(QStringLiteral("UPDATE RL_PLANO_NOTA_TECNICA SET NM_ARQUIVO_NOTA_TECNICA = ? WHERE "
                                   "ID_PLANO_NOTA_TECNICA = 2"),
                    {op + QStringLiteral("999999999150620101530.nta")});
    dm->AbreRelacionado(dm->cdsNotaTecnica(), op, 1);
    EXPECT_EQ(confirma(QStringLiteral("33902000001"), op + QStringLiteral("999999999150620101530.nta"),
                       QStringLiteral("01012020")),
              QStringList{"Nota Técnica já cadastrada."});
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_FALSE(dm->cdsNotaTecnica()->EmEdicao());
    EXPECT_EQ(dm->cdsNotaTecnica()->RecordCount(), 2);
}

}  // namespace

namespace {
TEST_F(RegrasTelaTeste, AnOperatorWithoutPlansOpensAnEmptyScreenAndCanAddOne) {
    inicia(plano(1, "DE OUTRA", 1, 2, 0, kOutraOperadora));
    abre();
    tela->AtualizaAcoes();
    EXPECT_TRUE(tela->dbedtNome->text().isEmpty());
    EXPECT_EQ(tela->lblQtRegistros()->text(), QStringLiteral("0 Registro(s)"));
    EXPECT_FALSE(tela->actAlterar->isEnabled());
    EXPECT_FALSE(tela->actExcluir->isEnabled());
    tela->pgcInfoPlano->setCurrentWidget(tela->tbsNotaTecnica);  // nothing to read
    tela->actAdicionar->trigger();
    EXPECT_EQ(planos().Valor(QStringLiteral("SEQ_PLANO")).toInt(), 2);  // after every operator's plans
    tela->actCancelar->trigger();
    EXPECT_TRUE(planos().IsEmpty());
    EXPECT_EQ(mensagens.textos(), QStringList());
}
}  // namespace
