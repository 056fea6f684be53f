// A tab page built when first shown: nothing before, once only, in its place in the Tab
// order, with its Alt+letters, whether the window is on screen or not.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include "common/Mnemonicos.h"
#include "common/PaginaTardia.h"

namespace {

// A first page built at once, a second one built late, and the window's button after.
struct Janela {
    QDialog d;
    QTabWidget* abas = new QTabWidget;
    QLineEdit* primeiro = new QLineEdit;
    PaginaTardia* tardia;
    QPushButton* confirmar = new QPushButton(QStringLiteral("Confirmar"));
    int montagens = 0;
    QLineEdit* a = nullptr;
    QLineEdit* b = nullptr;
    QLabel* rotulo = nullptr;
    Janela() {
        tardia = new PaginaTardia([this](QWidget* p) {
            ++montagens;
            auto* l = new QVBoxLayout(p);
            rotulo = new QLabel(QStringLiteral("Confirmação"), p);
            a = new QLineEdit(p);
            b = new QLineEdit(p);
            rotulo->setBuddy(a);
            l->addWidget(rotulo);
            l->addWidget(a);
            l->addWidget(b);
        });
        auto* l = new QVBoxLayout(&d);
        abas->addTab(primeiro, QStringLiteral("Primeira"));
        abas->addTab(tardia, QStringLiteral("Segunda"));
        l->addWidget(abas);
        l->addWidget(confirmar);
    }
    // The widgets Tab reaches from the first page's box, up to the window's button.
    QList<QWidget*> ordemDesde(QWidget* w) {
        QList<QWidget*> ordem;
        for (QWidget* x = w->nextInFocusChain(); x && x != w && ordem.size() < 50; x = x->nextInFocusChain()) {
            if (x->focusPolicy() & Qt::TabFocus) ordem << x;
            if (x == confirmar) break;
        }
        return ordem;
    }
};

TEST(PaginaTardia, MontadaAoSerMostradaUmaVezNoLugarDaOrdemDeTabComLetras) {
    Janela j;
    j.d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&j.d));
    EXPECT_FALSE(j.tardia->Montada());
    EXPECT_EQ(j.montagens, 0);

    j.abas->setCurrentWidget(j.tardia);
    ASSERT_TRUE(j.tardia->Montada());
    EXPECT_EQ(j.montagens, 1);
    EXPECT_TRUE(j.a->isVisible()) << "the contents are shown with their page";
    EXPECT_TRUE(j.b->isVisible());
    QCoreApplication::sendPostedEvents();  // the window's pending layout, as before a paint
    EXPECT_GT(j.a->height(), 0) << "laid out";
    EXPECT_GE(j.d.height(), j.d.minimumSizeHint().height()) << "the window makes room for the page";

    // between the tab bar and the window's button, as if built with the window
    const QList<QWidget*> ordem = j.ordemDesde(j.primeiro);
    const qsizetype ia = ordem.indexOf(j.a), ib = ordem.indexOf(j.b), ic = ordem.indexOf(j.confirmar);
    ASSERT_GE(ia, 0);
    EXPECT_LT(ia, ib);
    EXPECT_LT(ib, ic);

    // its label got a letter that clashes with none around it
    const QChar letra = Mnemonicos::Letra(j.rotulo->text());
    EXPECT_FALSE(letra.isNull()) << qPrintable(j.rotulo->text());
    EXPECT_NE(letra, Mnemonicos::Letra(j.confirmar->text()));

    j.abas->setCurrentIndex(0);
    j.abas->setCurrentWidget(j.tardia);
    j.tardia->Garante();
    EXPECT_EQ(j.montagens, 1) << "built once";
}

TEST(PaginaTardia, PedidaAntesDeAJanelaAparecer) {
    Janela j;
    j.tardia->Garante();  // a caller that needs its widgets now
    ASSERT_TRUE(j.tardia->Montada());
    EXPECT_FALSE(j.a->isVisible());
    j.d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&j.d));
    EXPECT_FALSE(j.a->isVisible()) << "its page is not the current one";
    j.abas->setCurrentWidget(j.tardia);
    EXPECT_TRUE(j.a->isVisible());
    EXPECT_EQ(j.montagens, 1);
    const QList<QWidget*> ordem = j.ordemDesde(j.primeiro);
    EXPECT_LT(ordem.indexOf(j.b), ordem.indexOf(j.confirmar));
    EXPECT_GE(ordem.indexOf(j.a), 0);
}

}  // namespace
