// Every screen by keyboard: each window the main window's menus open, and the dialogs those
// open, has its Alt+letters on its labels, buttons and group boxes (none twice on one page,
// each label's taking the focus to its box) and its Tab order top to bottom, left to right.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMenuBar>
#include <QSet>
#include <QTest>
#include <functional>
#include <iostream>

#include "apoio/Apoio.h"
#include "apoio/Teclado.h"
#include "app/FrmPrincipal.h"
#include "app/ProgramaTeste.h"
#include "common/ExecucaoModal.h"
#include "common/FrmModeloCadastro.h"
#include "common/Mnemonicos.h"
#include "network/FrmDlgOpcaoPesqEstb.h"
#include "reports/FrmErrosGenericos.h"
#include "request/FrmDlgTransmissaoArq.h"

using namespace Apoio;

namespace {

// One operator with plans, establishments, devices and links, so that every screen has rows.
const char* kDados = R"SQL(
INSERT INTO OPERADORAS (CD_OPER, CD_CNPJ, NM_RAZAO_SOCIAL, CD_GRUPO_CLASSIFICACAO, CD_REGIAO_ATUACAO)
  VALUES ('300012', '06990590000123', 'COOPERATIVA SUL', 22, 6);
INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_SEGMENTACAO, CD_STATUS_ENVIO)
  VALUES ('300012', 1, 'PLANO SUL', 2, 0), ('300012', 2, 'ODONTO SUL', 4, 0);
INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, CD_OPER, RAZAO_SOCIAL_ESTB_SAUD) VALUES (1, '300012', 'HOSPITAL A');
INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, CD_OPER, RAZAO_SOCIAL_ESTB_SAUD) VALUES (2, '300012', 'CLÍNICA B');
INSERT INTO RL_PLANOS_ESTAB_SAUDE (CD_OPER, SEQ_PLANO, ID_ESTB_SAUD) VALUES ('300012', 1, 1);
INSERT INTO TB_CLAUSULA_OPERADORA (CD_CLAUSULA_OPERADORA, CD_OPER, CD_TIPO_CLAUSULA, CD_IDENTIFICACAO_TEXTO)
  VALUES (1, '300012', 15, 'EXC-1');
)SQL";

// What each window opens in turn (actions or buttons, by name), when they are enabled.
const QHash<QString, QStringList>& aberturas() {
    static const QHash<QString, QStringList> a{
        {QStringLiteral("TfrmSelecionaOperadora"), {QStringLiteral("btnIncluir"), QStringLiteral("btnAlterar")}},
        {QStringLiteral("TfrmCadHosp"),
         {QStringLiteral("actPesquisar"), QStringLiteral("actPlanosEstab"), QStringLiteral("actRelatorio")}},
        {QStringLiteral("TfrmDlgOpcaoPesqEstb"), {QStringLiteral("btnConfirmar")}},
        {QStringLiteral("TfrmCadClausula"),
         {QStringLiteral("actPesquisar"), QStringLiteral("actRelatorio"), QStringLiteral("actPlanosClausula")}},
        {QStringLiteral("TfrmCadPlano"),
         {QStringLiteral("actPesquisar"), QStringLiteral("actAlteraProtocolo"), QStringLiteral("actNovaNota"),
          QStringLiteral("actImprimir")}},
        {QStringLiteral("TfrmManutencaoRede"), {QStringLiteral("BitBtn5"), QStringLiteral("BitBtn6")}},
    };
    return a;
}

class TecladoTelas : public ::testing::Test {
protected:
    PastaTeste pasta;
    Mensageiro msgs;
    ProgramaTeste programa;
    Modal::Tratador anterior;
    QMap<QString, QStringList> problemas;  // by window class
    QSet<QString> vistas;
    int profundidade = 0;

    void SetUp() override {
        programa.inicia(pasta, QString::fromUtf8(kDados));
        anterior = Modal::define([this](QDialog& d) { return confere(d); });
    }
    void TearDown() override {
        Modal::define(anterior);
        programa.encerra();
    }

    // Shows the dialog, checks it, opens what it opens, and closes it.
    int confere(QDialog& d) {
        const QString classe = QString::fromLatin1(d.metaObject()->className());
        d.show();
        QApplication::setActiveWindow(&d);
        QTest::qWaitForWindowExposed(&d);
        QCoreApplication::processEvents();
        if (vistas.contains(classe) || profundidade > 3) {
            d.hide();
            return QDialog::Rejected;
        }
        vistas << classe;
        problemas[classe] += Teclado::ConfereTodasAsPaginas(&d);
        // a record screen again while editing: its boxes open, each label's letter must reach its box
        if (auto* t = qobject_cast<TfrmModeloCadastro*>(&d)) {
            t->AtualizaAcoes();
            if (t->actAlterar->isEnabled()) {
                t->actAlterar->trigger();
                for (const QString& p : Teclado::ConfereTodasAsPaginas(&d))
                    if (!problemas[classe].contains(p)) problemas[classe] << QStringLiteral("(editando) ") + p;
                t->AtualizaAcoes();
                if (t->actCancelar->isEnabled()) t->actCancelar->trigger();
            }
        }
        ++profundidade;
        for (const QString& nome : aberturas().value(classe)) {
            if (auto* a = d.findChild<QAction*>(nome)) {
                a->setEnabled(true);
                a->trigger();
            } else if (auto* b = d.findChild<QAbstractButton*>(nome); b && b->isEnabled()) {
                b->click();
            }
            QCoreApplication::processEvents();
            if (!d.isVisible()) break;
        }
        --profundidade;
        d.hide();
        return QDialog::Rejected;
    }
};

TEST_F(TecladoTelas, CadaTelaTemSuasLetrasESuaOrdem) {
    TfrmPrincipal w;
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QCoreApplication::processEvents();
    problemas[QStringLiteral("TfrmPrincipal")] += Teclado::Confere(&w, false);

    // every entry of the menus, each menu's letters apart
    const auto entradas = [&](QMenu* menu, auto&& proprias) -> void {
        QMap<QChar, QStringList> letras;
        for (QAction* a : menu->actions()) {
            if (a->isSeparator()) continue;
            const QChar c = Mnemonicos::Letra(a->text());
            if (c.isNull()) problemas[QStringLiteral("menu")] << QStringLiteral("sem letra: ") + a->text();
            else letras[c] << Mnemonicos::TextoVisivel(a->text());
            if (a->menu()) proprias(a->menu(), proprias);
        }
        for (auto it = letras.cbegin(); it != letras.cend(); ++it)
            if (it.value().size() > 1)
                problemas[QStringLiteral("menu")] << QStringLiteral("a letra %1 é de %2").arg(it.key()).arg(it.value().join(", "));
    };
    for (QAction* titulo : w.menuBar()->actions()) {
        if (!titulo->menu()) continue;
        titulo->menu()->popup(QPoint());  // its letters are given as it is shown
        QCoreApplication::processEvents();
        titulo->menu()->hide();
        entradas(titulo->menu(), entradas);
    }
    // every window a menu entry opens
    const QStringList nomes{
        "actSelecionarOperadora", "actImportarHospitais", "actImportarEstabOLVAR", "mnuExcluirEstabelecimentos",
        "actManutencaoSolicitaRegistro", "actCopiaSeguranca", "actRestauraCopia", "actCadHospital",
        "actCadastroClausula", "actMenutencaoRede", "actLiberarPlanos", "actRelacaoEstabSaude",
        "actRelEstabComPlanos", "actRelPlanosSemVinculoEstabSaude", "actRelPlanosComEstab", "actRelPlanosExportados",
        "actRelPlanos", "actRelDispositivo", "actSobre", "actCadastroPlano"};
    for (const QString& nome : nomes) {
        QAction* a = w.Acao(nome);
        ASSERT_NE(a, nullptr) << nome.toStdString();
        if (!a->isEnabled()) {
            problemas[QStringLiteral("menu")] << nome + QStringLiteral(" desabilitada");
            continue;
        }
        a->trigger();
        QCoreApplication::processEvents();
    }
    for (const char* esperada : {"TfrmSelecionaOperadora", "TfrmCadOperadora", "TfrmCadHosp", "TfrmConsulta",
                                 "TfrmCadClausula", "TfrmCadPlano", "TfrmManutencaoRede", "TfrmSolicitaRegPlano",
                                 "TfrmLiberaRetifPlano", "TfrmCopiaSeguranca", "TfrmCadNotaTecnica",
                                 "TfrmAlteraProtocolo", "TfrmDlgLimpaEstab", "TfrmImportarRedeHosp",
                                 "TfrmDlgImportEstabSaudeSistema"})
        EXPECT_TRUE(vistas.contains(QString::fromLatin1(esperada))) << esperada << " não foi aberta";
    for (auto it = problemas.cbegin(); it != problemas.cend(); ++it)
        EXPECT_TRUE(it.value().isEmpty()) << it.key().toStdString() << ":\n  "
                                          << it.value().join("\n  ").toStdString();
    std::cout << "telas vistas: " << QStringList(vistas.values()).join(", ").toStdString() << "\n";
}

// Windows that open from a step the menus' walk does not take: the search options above
// twenty thousand establishments, the transmission dialog, the error list.
TEST_F(TecladoTelas, JanelasDeOutrosCaminhos) {
    const struct {
        const char* nome;
        std::function<std::unique_ptr<QDialog>()> cria;
    } casos[] = {
        {"TfrmDlgOpcaoPesqEstb", [] { return std::make_unique<TfrmDlgOpcaoPesqEstb>(); }},
        {"TfrmDlgTransmissaoArq",
         [] { return std::make_unique<TfrmDlgTransmissaoArq>(TListaEnvio{}, QStringLiteral("300012"), 0, QStringLiteral("1")); }},
        {"TfrmErrosGenericos", [] { return std::make_unique<TfrmErrosGenericos>(); }},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.nome);
        std::unique_ptr<QDialog> d = c.cria();
        d->show();
        QApplication::setActiveWindow(d.get());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(d.get()));
        const QStringList p = Teclado::ConfereTodasAsPaginas(d.get());
        EXPECT_TRUE(p.isEmpty()) << p.join("\n").toStdString();
        d->hide();
    }
}

}  // namespace
