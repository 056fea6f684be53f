// Input boxes: typing into an empty masked box starts where typing starts, wherever the
// user clicked, and the date and number boxes read what was typed.
#include <QAbstractItemView>
#include <QCoreApplication>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include "apoio/Apoio.h"
#include "common/Entradas.h"

namespace {

struct CasoMascara {
    const char* caso;
    const char* mascara;  // empty: a date box
    const char* digitos;
    const char* esperado;
};

}  // namespace

TEST(Entradas, AClickOrTheFocusIntoAnEmptyMaskedBoxStartsAtTheFirstPosition) {
    const CasoMascara casos[] = {
        {"data", "", "01022023", "01/02/2023"},
        {"registro da operadora", "00000-0;_", "123455", "12345-5"},
        {"CNPJ", "00.000.000/0000-00;_", "11222333000181", "11.222.333/0001-81"},
        {"literal à frente", "(99) 9999;_", "123456", "(12) 3456"},
    };
    for (const auto& c : casos) {
        for (const bool pelaTecla : {false, true}) {
            SCOPED_TRACE(std::string(c.caso) + (pelaTecla ? ", pelo Tab" : ", pelo clique"));
            QWidget janela;
            auto* layout = new QVBoxLayout(&janela);
            auto* antes = new QLineEdit(&janela);
            QLineEdit* caixa = *c.mascara ? new QLineEdit(&janela) : new CaixaData(&janela);
            if (*c.mascara) caixa->setInputMask(QString::fromLatin1(c.mascara));
            caixa->setMinimumWidth(300);
            layout->addWidget(antes);
            layout->addWidget(caixa);
            janela.show();
            QApplication::setActiveWindow(&janela);
            ASSERT_TRUE(QTest::qWaitForWindowActive(&janela));
            antes->setFocus();
            if (pelaTecla)
                QTest::keyClick(antes, Qt::Key_Tab);
            else  // near the right end, past every blank
                QTest::mouseClick(caixa, Qt::LeftButton, {}, QPoint(caixa->width() - 8, caixa->height() / 2));
            QCoreApplication::processEvents();
            ASSERT_TRUE(caixa->hasFocus());
            QTest::keyClicks(caixa, QString::fromLatin1(c.digitos));
            EXPECT_EQ(caixa->text(), QString::fromLatin1(c.esperado));
        }
    }
}

TEST(Entradas, DateAndNumberBoxesReadWhatWasTyped) {
    CaixaData data;
    data.setText(QStringLiteral("31/02/2024"));
    EXPECT_FALSE(data.data().isValid());
    data.defineData(QDate(2024, 2, 29));
    EXPECT_EQ(data.text(), QStringLiteral("29/02/2024"));
    EXPECT_EQ(data.data(), QDate(2024, 2, 29));
    data.defineData(QDate());
    EXPECT_TRUE(data.vazia());

    CaixaNumero numero(2);
    numero.setText(QStringLiteral("1.234,5"));
    EXPECT_EQ(numero.valor(), QVariant(1234.5));
    numero.defineValor(1234.5);
    EXPECT_EQ(numero.text(), QStringLiteral("1.234,50"));
}

// A list of fixed width measures what the toolkit's minimum-contents policy gives, whatever
// its items, and builds no popup until it is opened.
TEST(ListaLarguraFixa, LarguraDaPoliticaDoToolkitSemMontarOPopup) {
    for (const QStringList& itens : {QStringList{}, QStringList{QStringLiteral("A")},
                                     QStringList{QStringLiteral("Individual ou familiar"),
                                                 QStringLiteral("Coletivo empresarial com uma descrição bem longa")}}) {
        SCOPED_TRACE(itens.join('|').toStdString());
        QComboBox padrao;
        padrao.addItems(itens);
        padrao.setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        padrao.setMinimumContentsLength(18);
        ListaLarguraFixa lista(18);
        lista.addItems(itens);
        EXPECT_EQ(lista.sizeHint(), padrao.sizeHint());
        EXPECT_EQ(lista.minimumSizeHint(), padrao.minimumSizeHint());
        lista.show();
        lista.setCurrentIndex(itens.size() - 1);
        QCoreApplication::processEvents();
        EXPECT_TRUE(lista.findChildren<QAbstractItemView*>().isEmpty()) << "a popup made before it was opened";
    }
}
