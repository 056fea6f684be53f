// The generic error list with the volume an import gives it: filled before it is shown
// (the grid is bound when shown), then shown with every message, and destroyed while
// still on screen.
#include <QTableView>

#include "apoio/Apoio.h"
#include "db/ModeloRowSet.h"
#include "reports/FrmErrosGenericos.h"

TEST(ErrosGenericosVolume, AListFilledBeforeShowingShowsEveryMessageAndGoesAwayWhileShown) {
    auto tela = std::make_unique<TfrmErrosGenericos>();
    for (int i = 1; i <= 5000; ++i)
        tela->AdicionaMensagem(QStringLiteral("11222333000181- mensagem %1").arg(i));
    tela->show();
    ASSERT_NE(ModeloDaGrade(tela->grdErros), nullptr);
    EXPECT_EQ(tela->grdErros->model()->rowCount(), 5000);
    EXPECT_EQ(tela->grdErros->model()->index(4999, 1).data().toString(),
              QStringLiteral("11222333000181- mensagem 5000"));
    EXPECT_EQ(tela->grdErros->currentIndex().row(), 0);
    tela.reset();  // still on screen: the grid must not outlive the list it shows
}
