// Every record screen from the main window to a saved record without a mouse event: the
// menus by Alt+letter, Ins, the fields by Tab, typing, arrows and space, Ctrl+Enter, and the
// row in the database; before adding, a seeded walk of the records (Ctrl+PgUp/PgDown, F2,
// Esc) checks that the screen follows the keys wherever the walk stands.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <functional>
#include <iostream>

#include "apoio/Apoio.h"
#include "apoio/Passeio.h"
#include "apoio/Teclado.h"
#include "app/ConduzModal.h"
#include "app/FrmPrincipal.h"
#include "app/ProgramaTeste.h"
#include "common/Entradas.h"
#include "common/ExecucaoModal.h"
#include "common/FrmModeloCadastro.h"
#include "common/Mnemonicos.h"
#include "db/DmConexao.h"
#include "db/RowSet.h"
#include "devices/FrmCadClausula.h"
#include "network/FrmCadHosp.h"
#include "operator/FrmCadOperadora.h"
#include "operator/FrmSelecionaOperadora.h"
#include "plans/FrmCadPlano.h"

using namespace Apoio;
using Teclado::tecla;

namespace {

const char* kDados = R"SQL(
INSERT INTO OPERADORAS (CD_OPER, CD_CNPJ, NM_RAZAO_SOCIAL, CD_GRUPO_CLASSIFICACAO, CD_REGIAO_ATUACAO)
  VALUES ('300012', '06990590000123', 'COOPERATIVA SUL', 22, 6);
INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_SEGMENTACAO, CD_STATUS_ENVIO)
  VALUES ('300012', 1, 'PLANO SUL', 2, 0), ('300012', 2, 'ODONTO SUL', 4, 0), ('300012', 3, 'PLANO NORTE', 2, 0);
INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, CD_OPER, RAZAO_SOCIAL_ESTB_SAUD) VALUES (1, '300012', 'HOSPITAL A');
INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, CD_OPER, RAZAO_SOCIAL_ESTB_SAUD) VALUES (2, '300012', 'CLÍNICA B');
INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, CD_OPER, RAZAO_SOCIAL_ESTB_SAUD) VALUES (3, '300012', 'HOSPITAL C');
INSERT INTO TB_CLAUSULA_OPERADORA (CD_CLAUSULA_OPERADORA, CD_OPER, CD_TIPO_CLAUSULA, CD_IDENTIFICACAO_TEXTO)
  VALUES (1, '300012', 15, 'EXC-1'), (2, '300012', 15, 'EXC-2');
)SQL";

// The mouse is never used: any mouse event reaching a widget fails the test.
class SemMouse : public QObject {
public:
    int eventos = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        switch (e->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
                ++eventos;
                break;
            default:
                break;
        }
        return false;
    }
};

class PasseioTeclado : public ::testing::Test {
protected:
    PastaTeste pasta;
    Mensageiro msgs;
    ProgramaTeste programa;
    Modal::Tratador anterior;
    SemMouse semMouse;
    // what to do on each window, by class; a window with none is left with Esc
    QHash<QString, std::function<void(QDialog&)>> roteiro;
    QStringList abertas;

    void SetUp() override {
        anterior = Modal::define([this](QDialog& d) {
            const QString classe = QString::fromLatin1(d.metaObject()->className());
            abertas << classe;
            d.show();
            QApplication::setActiveWindow(&d);
            QCoreApplication::processEvents();
            if (auto f = roteiro.value(classe)) f(d);
            if (d.isVisible()) tecla(&d, Qt::Key_Escape);
            if (d.isVisible()) d.reject();  // the script left it open: the test says so below
            return d.result();
        });
        qApp->installEventFilter(&semMouse);
    }
    void TearDown() override {
        qApp->removeEventFilter(&semMouse);
        EXPECT_EQ(semMouse.eventos, 0) << "nenhum evento de mouse";
        Modal::define(anterior);
        programa.encerra();
    }
    void inicia(const char* sql = kDados) { programa.inicia(pasta, QString::fromUtf8(sql)); }
    Banco& banco() { return TDmConexao::instancia()->banco(); }
    QStringList coluna(const QString& sql) { return Apoio::coluna(banco(), sql); }

    // The main window shown and active, then an entry opened by its letters.
    static void abrePeloMenu(TfrmPrincipal& w, const char* nomeMenu, const char* nomeEntrada) {
        w.show();
        QApplication::setActiveWindow(&w);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        menu(w, nomeMenu, nomeEntrada);
    }

    // Alt+the menu's letter, then the entry's letter.
    static void menu(TfrmPrincipal& w, const char* nomeMenu, const char* nomeEntrada) {
        QMenu* m = w.findChild<QMenu*>(QString::fromLatin1(nomeMenu));
        ASSERT_NE(m, nullptr) << nomeMenu;
        const QChar letraMenu = Mnemonicos::Letra(m->menuAction()->text());
        ASSERT_FALSE(letraMenu.isNull()) << nomeMenu;
        QTest::keyClick(&w, letraMenu.toLower().toLatin1(), Qt::AltModifier);
        QCoreApplication::processEvents();
        auto* aberto = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_EQ(aberto, m) << "Alt+" << letraMenu.toLatin1() << " não abriu " << nomeMenu;
        QAction* entrada = w.Acao(QString::fromLatin1(nomeEntrada));
        ASSERT_NE(entrada, nullptr);
        const QChar letra = Mnemonicos::Letra(entrada->text());
        ASSERT_FALSE(letra.isNull()) << nomeEntrada;
        QTest::keyClick(aberto, letra.toLower().toLatin1());
        QCoreApplication::processEvents();
    }
    // Tab until `alvo` has the focus (it must be on the way).
    static bool vaiPara(QWidget* alvo) {
        for (int i = 0; i < 60 && QApplication::focusWidget() != alvo; ++i) tecla(Qt::Key_Tab);
        return QApplication::focusWidget() == alvo;
    }
    // Alt+the label's letter.
    static void letra(QWidget* janela, const QString& texto) {
        const QChar c = Mnemonicos::Letra(texto);
        ASSERT_FALSE(c.isNull()) << texto.toStdString();
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : janela, c.toLower().toLatin1(),
                        Qt::AltModifier);
        QCoreApplication::processEvents();
    }
    static void digita(const QString& t) { Teclado::digita(t); }
    // In the list box with the focus: Home, then Down until the entry of code `codigo`.
    static bool setas(const QVariant& codigo) {
        auto* c = qobject_cast<QComboBox*>(QApplication::focusWidget());
        if (!c) return false;
        tecla(Qt::Key_Home);
        for (int i = 0; i < c->count() && c->currentData() != codigo; ++i) tecla(Qt::Key_Down);
        return c->currentData() == codigo;
    }

    // A walk of the records before adding: each key's effect on the record shown (`chaves`:
    // the records' keys in the screen's order; `atual`: the key shown) and on the state; Esc
    // always leaves an edit or an insert on the record it started from.
    static void passeia(TfrmModeloCadastro& t, const QStringList& chaves, const std::function<QString()>& atual,
                        quint32 semente, int passos) {
        Passeio p;
        p.comeca(semente);
        RowSet* rs = t.dtsCadastro();
        for (int i = 0; i < passos && p.ok(); ++i) {
            const QString antes = atual();
            const qsizetype pos = chaves.indexOf(antes);
            if (pos < 0) {
                p.falhou(QStringLiteral("registro %1 fora da lista").arg(antes));
                break;
            }
            switch (p.sorteia(4)) {
                case 0:
                    p.passo(QStringLiteral("Ctrl+PgUp em %1").arg(antes));
                    tecla(Qt::Key_PageUp, Qt::ControlModifier);
                    if (atual() != chaves.at(std::max<qsizetype>(0, pos - 1)))
                        p.falhou(QStringLiteral("Anterior foi a %1").arg(atual()));
                    break;
                case 1:
                    p.passo(QStringLiteral("Ctrl+PgDown em %1").arg(antes));
                    tecla(Qt::Key_PageDown, Qt::ControlModifier);
                    if (atual() != chaves.at(std::min<qsizetype>(chaves.size() - 1, pos + 1)))
                        p.falhou(QStringLiteral("Próximo foi a %1").arg(atual()));
                    break;
                case 2:
                    if (!t.PodeAlterar) break;
                    p.passo(QStringLiteral("F2, Esc em %1").arg(antes));
                    tecla(Qt::Key_F2);
                    if (rs->State() != RowSet::Estado::Edicao) p.falhou(QStringLiteral("F2 não editou"));
                    tecla(Qt::Key_Escape);
                    if (rs->State() != RowSet::Estado::Consulta) p.falhou(QStringLiteral("Esc não cancelou"));
                    if (atual() != antes) p.falhou(QStringLiteral("Esc mudou o registro para %1").arg(atual()));
                    break;
                case 3:
                    if (!t.PodeIncluir) break;
                    p.passo(QStringLiteral("Ins, Esc em %1").arg(antes));
                    tecla(Qt::Key_Insert);
                    if (rs->State() != RowSet::Estado::Insercao) p.falhou(QStringLiteral("Ins não incluiu"));
                    tecla(Qt::Key_Escape);
                    if (rs->State() != RowSet::Estado::Consulta) p.falhou(QStringLiteral("Esc não cancelou a inclusão"));
                    if (atual() != antes) p.falhou(QStringLiteral("Esc mudou o registro para %1").arg(atual()));
                    break;
            }
        }
        p.relata();
    }
    // After saving a new record (the last), Ctrl+PgUp shows the one before it and Ctrl+PgDown
    // comes back.
    static void volta(TfrmModeloCadastro& t, const QString& anterior, const std::function<QString()>& atual) {
        const QString novo = atual();
        // at once, before the program has been idle
        tecla(Qt::Key_PageUp, Qt::ControlModifier);
        EXPECT_EQ(atual(), anterior) << "Ctrl+PgUp depois de gravar " << novo.toStdString();
        tecla(Qt::Key_PageDown, Qt::ControlModifier);
        EXPECT_EQ(atual(), novo);
    }
};

TEST_F(PasseioTeclado, EstabelecimentoDoMenuAoRegistroGravado) {
    inicia();
    const auto medidas = Passeio::medidas(30, 3);
    for (int s = 0; s < medidas.sementes; ++s) {
        const quint32 semente = medidas.primeira + quint32(s);
        SCOPED_TRACE(semente);
        bool gravou = false;
        const QString razao = QStringLiteral("HOSPITAL TECLADO %1").arg(semente);
        roteiro[QStringLiteral("TfrmCadHosp")] = [&](QDialog& d) {
            auto& t = static_cast<TfrmCadHosp&>(d);
            const auto atual = [&t] { return t.dtsCadastro()->Valor(QStringLiteral("ID_ESTB_SAUD")).toString(); };
            passeia(t, coluna(QStringLiteral("SELECT ID_ESTB_SAUD FROM TB_ESTAB_SAUDE ORDER BY ID_ESTB_SAUD")), atual,
                    semente, medidas.passos);
            tecla(Qt::Key_Insert);
            ASSERT_EQ(t.dtsCadastro()->State(), RowSet::Estado::Insercao);
            ASSERT_EQ(QApplication::focusWidget(), t.lkpClassifHospital);
            tecla(Qt::Key_Down);  // the first classification: hospital care
            ASSERT_TRUE(vaiPara(t.edtCNES));
            digita(QStringLiteral("12343"));
            ASSERT_TRUE(vaiPara(t.MedCNPJ));
            digita(QStringLiteral("11444777000161"));
            ASSERT_TRUE(vaiPara(t.edRazao));
            digita(razao);
            ASSERT_TRUE(vaiPara(t.cmbTipoHospital));
            digita(QStringLiteral("Pró"));
            ASSERT_TRUE(vaiPara(t.dblookcmbUF));
            digita(QStringLiteral("SP"));
            ASSERT_TRUE(vaiPara(t.DblookcmbMunicipios));
            digita(QStringLiteral("CAMPINAS"));
            ASSERT_TRUE(vaiPara(t.edtDataVinculo));
            digita(QStringLiteral("01022023"));
            ASSERT_TRUE(vaiPara(t.cmbDispServicos));
            digita(QStringLiteral("Parcial"));
            ASSERT_TRUE(vaiPara(t.chkUrgencia));
            tecla(Qt::Key_Space);
            EXPECT_TRUE(t.chkUrgencia->isChecked());
            // back to the name by its label's letter
            letra(&d, QStringLiteral("&Nome/Razão Social"));
            tecla(Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
            EXPECT_EQ(t.dtsCadastro()->State(), RowSet::Estado::Consulta) << msgs.textos().join("|").toStdString();
            gravou = t.dtsCadastro()->State() == RowSet::Estado::Consulta;
            if (gravou) volta(t, QStringLiteral("3"), atual);
            tecla(Qt::Key_Q, Qt::ControlModifier);
        };
        TfrmPrincipal w;
        ASSERT_NO_FATAL_FAILURE(abrePeloMenu(w, "mnuCadastro", "actCadHospital"));
        ASSERT_TRUE(abertas.contains(QStringLiteral("TfrmCadHosp")));
        EXPECT_TRUE(gravou);
        EXPECT_EQ(coluna(QStringLiteral("SELECT CD_CNES || '|' || CD_CNPJ_ESTB_SAUD || '|' || ID_MUNC || '|' || "
                                        "DT_VINCULO_OPER || '|' || CD_DISP_SERVICO || '|' || LG_URGENCIA_EMERGENCIA "
                                        "FROM TB_ESTAB_SAUDE WHERE RAZAO_SOCIAL_ESTB_SAUD = '") + razao.toUpper() +
                         QStringLiteral("' OR RAZAO_SOCIAL_ESTB_SAUD = '") + razao + QStringLiteral("'")),
                  QStringList{QStringLiteral("0012343|11444777000161|3509502|2023-02-01|P|S")});
        abertas.clear();
        banco().executa(QStringLiteral("DELETE FROM TB_ESTAB_SAUDE WHERE ID_ESTB_SAUD > 3"));
    }
}

TEST_F(PasseioTeclado, PlanoDoMenuAoRegistroGravado) {
    inicia();
    const auto medidas = Passeio::medidas(30, 2);
    for (int s = 0; s < medidas.sementes; ++s) {
        const quint32 semente = medidas.primeira + quint32(s);
        SCOPED_TRACE(semente);
        bool gravou = false;
        const QString nome = QStringLiteral("PLANO TECLADO %1").arg(semente);
        roteiro[QStringLiteral("TfrmCadPlano")] = [&](QDialog& d) {
            auto& t = static_cast<TfrmCadPlano&>(d);
            const auto atual = [&t] { return t.dtsCadastro()->Valor(QStringLiteral("SEQ_PLANO")).toString(); };
            passeia(t, coluna(QStringLiteral("SELECT SEQ_PLANO FROM TB_PLANOS ORDER BY SEQ_PLANO")), atual, semente,
                    medidas.passos);
            tecla(Qt::Key_Insert);
            ASSERT_EQ(QApplication::focusWidget(), t.dbedtNome);
            digita(nome);
            ASSERT_TRUE(vaiPara(t.dblkpContraracao));
            ASSERT_TRUE(setas(1));  // individual
            ASSERT_TRUE(vaiPara(t.dblkpAbrangencia));
            ASSERT_TRUE(setas(1));
            ASSERT_TRUE(vaiPara(t.dblkpSegmentacao));
            ASSERT_TRUE(setas(5));
            ASSERT_TRUE(t.edicao()->AtributosCompletos());
            // the tax: the tab bar by Tab, the arrows to "Taxa", Tab to its "Incluir", space
            ASSERT_TRUE(vaiPara(t.pgcInfoPlano->tabBar()));
            while (t.pgcInfoPlano->currentWidget() != t.Pagina(TEdicaoPlano::Aba::Taxa) &&
                   t.pgcInfoPlano->currentIndex() < t.pgcInfoPlano->count() - 1)
                tecla(Qt::Key_Right);
            ASSERT_EQ(t.pgcInfoPlano->currentWidget(), t.Pagina(TEdicaoPlano::Aba::Taxa));
            QWidget* incluir = nullptr;
            for (auto* b : t.Pagina(TEdicaoPlano::Aba::Taxa)->findChildren<QAbstractButton*>())
                if (b->actions().contains(t.actIncTaxaRegistro) || Mnemonicos::TextoVisivel(b->text()) == "Incluir")
                    incluir = b;
            ASSERT_NE(incluir, nullptr);
            ASSERT_TRUE(vaiPara(incluir)) << "política " << int(incluir->focusPolicy()) << " habilitado "
                                          << incluir->isEnabled() << " visível " << incluir->isVisible() << " foco em "
                                          << QApplication::focusWidget()->metaObject()->className();
            tecla(Qt::Key_Space);
            digita(QStringLiteral("29409990000000015"));
            tecla(Qt::Key_Return);
            tecla(Qt::Key_Return, Qt::ControlModifier);
            EXPECT_EQ(t.dtsCadastro()->State(), RowSet::Estado::Consulta) << msgs.textos().join("|").toStdString();
            gravou = t.dtsCadastro()->State() == RowSet::Estado::Consulta;
            if (gravou) volta(t, QStringLiteral("3"), atual);
            tecla(Qt::Key_Q, Qt::ControlModifier);
        };
        TfrmPrincipal w;
        ASSERT_NO_FATAL_FAILURE(abrePeloMenu(w, "mnuCadastro", "actCadastroPlano"));
        ASSERT_TRUE(abertas.contains(QStringLiteral("TfrmCadPlano")));
        EXPECT_TRUE(gravou);
        EXPECT_EQ(coluna(QStringLiteral("SELECT CD_TIPO_CONTRATO || '|' || (SELECT count(*) FROM RL_PLANO_TAXA_REGISTRO r "
                                        "WHERE r.CD_OPER = p.CD_OPER AND r.SEQ_PLANO = p.SEQ_PLANO) FROM TB_PLANOS p "
                                        "WHERE NM_PLANO = '") + nome + QStringLiteral("'")),
                  QStringList{QStringLiteral("1|1")});
        abertas.clear();
        banco().executa(QStringLiteral("DELETE FROM RL_PLANO_TAXA_REGISTRO WHERE SEQ_PLANO > 3"));
        banco().executa(QStringLiteral("DELETE FROM TB_PLANOS WHERE SEQ_PLANO > 3"));
    }
}

// The operator is added where the program adds it, at the first start (the main window opens
// its screen), and changed from Arquivo > Dados da Operadora > Alterar.
TEST_F(PasseioTeclado, OperadoraIncluidaNoInicioEAlteradaPeloMenu) {
    inicia("");
    int vez = 0;
    roteiro[QStringLiteral("TfrmCadOperadora")] = [&](QDialog& d) {
        auto& f = static_cast<TfrmCadOperadora&>(d);
        if (vez++ == 0) {
            ASSERT_TRUE(vaiPara(f.edtCodigo()));
            digita(QStringLiteral("412341"));
            ASSERT_TRUE(vaiPara(f.edtRazaoSocial()));
            digita(QStringLiteral("OPERADORA DO TECLADO"));
            ASSERT_TRUE(vaiPara(f.edtCnpj()));
            digita(QStringLiteral("11444777000161"));
            ASSERT_TRUE(vaiPara(f.cmbClassificacao()));
            ASSERT_TRUE(setas(22));
            ASSERT_TRUE(vaiPara(f.cmbRegiao()));
            ASSERT_TRUE(setas(2));
        } else {
            // the name's label takes the focus to its box
            const QLabel* rotulo = nullptr;
            for (const QLabel* l : d.findChildren<QLabel*>())
                if (l->buddy() == f.edtRazaoSocial()) rotulo = l;
            ASSERT_NE(rotulo, nullptr);
            letra(&d, rotulo->text());
            ASSERT_EQ(QApplication::focusWidget(), f.edtRazaoSocial());
            tecla(Qt::Key_A, Qt::ControlModifier);
            digita(QStringLiteral("COOPERATIVA DO TECLADO"));
        }
        tecla(Qt::Key_Return, Qt::ControlModifier);
        EXPECT_FALSE(d.isVisible()) << msgs.textos().join("|").toStdString();
    };
    roteiro[QStringLiteral("TfrmSelecionaOperadora")] = [&](QDialog& d) {
        auto& s = static_cast<TfrmSelecionaOperadora&>(d);
        letra(&d, s.btnAlterar()->text());
        QTest::qWait(200);  // a button's letter clicks it as an animated click does
        letra(&d, s.btnConfirmar()->text());
        QTest::qWait(200);
    };
    TfrmPrincipal w;
    w.show();  // its activation opens the operator screen
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(espera([&] { return !w.CampoCodigo()->text().isEmpty(); }));
    EXPECT_EQ(coluna(QStringLiteral("SELECT NM_RAZAO_SOCIAL || '|' || CD_CNPJ || '|' || CD_GRUPO_CLASSIFICACAO || '|' || "
                                    "CD_REGIAO_ATUACAO FROM OPERADORAS WHERE CD_OPER = '412341'")),
              QStringList{QStringLiteral("OPERADORA DO TECLADO|11444777000161|22|2")});
    QCoreApplication::processEvents();
    QApplication::setActiveWindow(&w);
    menu(w, "mnuArquivo", "actSelecionarOperadora");
    EXPECT_EQ(abertas, (QStringList{"TfrmCadOperadora", "TfrmSelecionaOperadora", "TfrmCadOperadora"}));
    EXPECT_EQ(coluna(QStringLiteral("SELECT NM_RAZAO_SOCIAL FROM OPERADORAS WHERE CD_OPER = '412341'")),
              QStringList{QStringLiteral("COOPERATIVA DO TECLADO")});
}

// The devices are read, not typed (they come from the regulator's files): the screen is
// opened by keyboard, walked, and left.
TEST_F(PasseioTeclado, DispositivosDoMenuPercorridosEDeixados) {
    inicia();
    bool percorreu = false;
    roteiro[QStringLiteral("TfrmCadClausula")] = [&](QDialog& d) {
        auto& t = static_cast<TfrmCadClausula&>(d);
        passeia(t, {QStringLiteral("EXC-1"), QStringLiteral("EXC-2")}, [&t] { return t.edtCodigo->text(); }, 1, 12);
        tecla(Qt::Key_PageDown, Qt::ControlModifier);
        EXPECT_EQ(t.edtCodigo->text(), QStringLiteral("EXC-2"));
        tecla(Qt::Key_PageUp, Qt::ControlModifier);
        EXPECT_EQ(t.edtCodigo->text(), QStringLiteral("EXC-1"));
        percorreu = true;
        tecla(Qt::Key_Q, Qt::ControlModifier);
        EXPECT_FALSE(d.isVisible());
    };
    TfrmPrincipal w;
    ASSERT_NO_FATAL_FAILURE(abrePeloMenu(w, "mnuCadastro", "actCadastroClausula"));
    EXPECT_TRUE(percorreu);
}

}  // namespace
