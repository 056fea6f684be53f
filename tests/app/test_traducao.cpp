// Qt's own texts (standard buttons, file chooser, print dialog) in Portuguese.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLocale>
#include <QPushButton>

#include "app/Aplicacao.h"

TEST(TraducoesQt, StandardButtonsAndTheFileChooserSpeakPortuguese) {
    // The test program starts as the system does: pt-BR locale, Qt's translations loaded.
    EXPECT_EQ(QLocale().name(), QStringLiteral("pt_BR"));
    auto* app = static_cast<AplicacaoQev*>(QCoreApplication::instance());
    EXPECT_TRUE(app->CarregaTraducoesQt()) << "Qt's pt_BR translations are not installed";
    QDialogButtonBox caixa(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Open);
    EXPECT_EQ(caixa.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')), QStringLiteral("Cancelar"));
    EXPECT_EQ(caixa.button(QDialogButtonBox::Open)->text().remove(QLatin1Char('&')), QStringLiteral("Abrir"));

    // The toolkit's own file chooser: no English label is left.
    QFileDialog escolha(nullptr, QStringLiteral("Carregar relatório"));
    escolha.setOption(QFileDialog::DontUseNativeDialog);
    QStringList rotulos;
    for (const QLabel* l : escolha.findChildren<QLabel*>()) rotulos << l->text();
    ASSERT_FALSE(rotulos.isEmpty());
    for (const char* ingles : {"Look in:", "File &name:", "Files of type:"})
        EXPECT_FALSE(rotulos.contains(QString::fromLatin1(ingles))) << ingles << " in " << rotulos.join('|').toStdString();
}
