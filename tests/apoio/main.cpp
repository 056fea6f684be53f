#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>

#include "app/Aplicacao.h"
#include "platform/Plataforma.h"

#include "apoio/Apoio.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    AplicacaoQev app(argc, argv);  // as the program: uncaught errors go to the error box
    // What the program keeps for the user (window places, spreadsheets) goes into a folder
    // of this run, never into the home folder of whoever runs the tests.
    QTemporaryDir usuario;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, usuario.filePath(QStringLiteral("config")));
    PastaDocumentos::define(usuario.filePath(QStringLiteral("Documentos")));
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new Apoio::Ambiente);
    return RUN_ALL_TESTS();
}
