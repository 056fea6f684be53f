// Alt+letters given at the root: the marker in texts, the choice of a letter, and a window
// whose pages share letters with each other but never with what surrounds them.
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QVBoxLayout>
#include <QApplication>

#include <gtest/gtest.h>

#include "common/Mnemonicos.h"

namespace {

TEST(Mnemonicos, MarcadorLetraETextoVisivel) {
    const struct {
        const char* texto;
        char letra;  // 0: none
        const char* visivel;
    } casos[] = {
        {"&Nome", 'N', "Nome"}, {"Ra&zão", 'Z', "Razão"}, {"P&&D", 0, "P&D"}, {"P&&D &x", 'X', "P&D x"},
        {"Sem", 0, "Sem"},      {"", 0, ""},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.texto);
        const QString t = QString::fromUtf8(c.texto);
        EXPECT_EQ(Mnemonicos::Letra(t), c.letra ? QChar(QLatin1Char(c.letra)) : QChar());
        EXPECT_EQ(Mnemonicos::TextoVisivel(t), QString::fromUtf8(c.visivel));
    }
    // a word's start first, then any letter; accented letters and "&&" never take it
    EXPECT_EQ(Mnemonicos::ComLetra(QStringLiteral("Nome comercial"), {}), QStringLiteral("&Nome comercial"));
    EXPECT_EQ(Mnemonicos::ComLetra(QStringLiteral("Nome comercial"), {QChar('N')}), QStringLiteral("Nome &comercial"));
    EXPECT_EQ(Mnemonicos::ComLetra(QStringLiteral("Nome comercial"), {QChar('N'), QChar('C')}),
              QStringLiteral("N&ome comercial"));
    EXPECT_EQ(Mnemonicos::ComLetra(QStringLiteral("Ú&&É"), {}), QStringLiteral("Ú&&É"));
    EXPECT_EQ(Mnemonicos::ComLetra(QStringLiteral("&Já"), {QChar('J')}), QStringLiteral("&Já"));
}

// A header box, two tab pages and the window's buttons.
struct Janela {
    QDialog d;
    QLineEdit* nome = new QLineEdit;
    QLabel* rotuloNome = new QLabel(QStringLiteral("Nome"));
    QTabWidget* abas = new QTabWidget;
    QLabel* a1 = new QLabel(QStringLiteral("Área"));
    QLabel* b1 = new QLabel(QStringLiteral("Rua"));
    QGroupBox* grupo = new QGroupBox(QStringLiteral("Padrão"));
    QRadioButton* r1 = new QRadioButton(QStringLiteral("Individual"));
    QRadioButton* r2 = new QRadioButton(QStringLiteral("Coletiva"));
    QPushButton* oculto = new QPushButton(QStringLiteral("Marcar"));
    QPushButton* confirmar = new QPushButton(QStringLiteral("Confirmar"));
    Janela() {
        auto* l = new QVBoxLayout(&d);
        rotuloNome->setBuddy(nome);
        l->addWidget(rotuloNome);
        l->addWidget(nome);
        auto* p1 = new QWidget;
        auto* l1 = new QVBoxLayout(p1);
        auto* e1 = new QLineEdit;
        a1->setBuddy(e1);
        l1->addWidget(a1);
        l1->addWidget(e1);
        auto* p2 = new QWidget;
        auto* l2 = new QVBoxLayout(p2);
        auto* e2 = new QLineEdit;
        b1->setBuddy(e2);
        l2->addWidget(b1);
        l2->addWidget(e2);
        auto* lg = new QVBoxLayout(grupo);
        lg->addWidget(r1);
        lg->addWidget(r2);
        l2->addWidget(grupo);
        abas->addTab(p1, QStringLiteral("Um"));
        abas->addTab(p2, QStringLiteral("Dois"));
        l->addWidget(abas);
        l->addWidget(oculto);
        oculto->hide();
        l->addWidget(confirmar);
    }
};

TEST(Mnemonicos, PaginasDividemLetrasMasNaoComOQueAsCerca) {
    Janela j;
    j.d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&j.d));  // the application gives the letters when shown
    const QChar nome = Mnemonicos::Letra(j.rotuloNome->text());
    const QChar confirmar = Mnemonicos::Letra(j.confirmar->text());
    const QChar a1 = Mnemonicos::Letra(j.a1->text());
    const QChar b1 = Mnemonicos::Letra(j.b1->text());
    const QChar grupo = Mnemonicos::Letra(j.grupo->title());
    for (QChar c : {nome, confirmar, a1, b1, grupo}) EXPECT_FALSE(c.isNull());
    EXPECT_EQ(nome, QChar('N'));
    // "Área" and "Rua" are on pages never shown together: one letter does for both, and
    // neither takes the surroundings' ones
    EXPECT_EQ(a1, QChar('R'));
    EXPECT_EQ(b1, QChar('R'));
    for (QChar c : {a1, b1, grupo}) {
        EXPECT_NE(c, nome);
        EXPECT_NE(c, confirmar);
    }
    EXPECT_NE(b1, grupo);
    // the radio buttons of a titled group take letters left over, never one shown with them
    for (QRadioButton* r : {j.r1, j.r2}) {
        const QChar c = Mnemonicos::Letra(r->text());
        if (!c.isNull())
            for (QChar o : {nome, confirmar, b1, grupo}) EXPECT_NE(c, o) << r->text().toStdString();
    }
    EXPECT_EQ(j.a1->text(), QStringLiteral("Á&rea"));  // only the marker is added
    // hidden, it holds no letter; shown, it takes one free beside everything on the screen
    EXPECT_TRUE(Mnemonicos::Letra(j.oculto->text()).isNull());
    j.abas->setCurrentIndex(1);
    j.oculto->show();
    QTest::qWait(1);
    QCoreApplication::processEvents();
    const QChar marcar = Mnemonicos::Letra(j.oculto->text());
    EXPECT_FALSE(marcar.isNull());
    for (QChar c : {nome, confirmar, b1, grupo}) EXPECT_NE(marcar, c);
    // Alt+the letter of a label takes the focus to its box
    QApplication::setActiveWindow(&j.d);
    QTest::keyClick(&j.d, nome.toLower().toLatin1(), Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), j.nome);
}

}  // namespace
