#include <gtest/gtest.h>

#include "app/Aplicacao.h"

#include "apoio/Apoio.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    AplicacaoQev app(argc, argv);  // as the program: uncaught errors go to the error box
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new Apoio::Ambiente);
    return RUN_ALL_TESTS();
}
