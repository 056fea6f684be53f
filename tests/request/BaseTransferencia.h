#pragma once
// The request tests that hand files to the transfer-program simulator as a real child
// process: the program and the simulator in folders whose names have spaces, the
// parameter files in a temporary folder of the test's own, the clock at 31/01/2024
// 14:05:09.
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include "BaseSolicitacao.h"
#include "apoio/VuqTeste.h"
#include "platform/Plataforma.h"

class BaseTransferencia : public BaseSolicitacao {
protected:
    QTemporaryDir raiz;
    std::unique_ptr<Apoio::VuqInstalado> vuq;

    // The folders, the database with `sql` and the simulator installed.
    void instala(const QString& sql) {
        const QString simulador = QStringLiteral(QEV_DIR_BIN "/vuqsim");
        ASSERT_TRUE(QFileInfo(simulador).isExecutable()) << "build the vuqsim target first";
        QDir().mkpath(raiz.path() + QStringLiteral("/tmp"));
        qputenv("TMPDIR", QFile::encodeName(raiz.path() + QStringLiteral("/tmp")));
        programa = raiz.path() + QStringLiteral("/Pasta do QEV/");
        QDir().mkpath(programa);
        PastaPrograma::define(programa);
        Relogio::define([] { return QDateTime(QDate(2024, 1, 31), QTime(14, 5, 9)); });
        criaBanco(sql);
        const QString pastaVuq = raiz.path() + QStringLiteral("/Programa VUQ/");
        QDir().mkpath(pastaVuq);
        ASSERT_TRUE(QFile::copy(simulador, pastaVuq + QStringLiteral("vuqsim")));
        vuq = std::make_unique<Apoio::VuqInstalado>(pastaVuq + QStringLiteral("vuqsim"));
    }
    void TearDown() override {
        if (m_tmpdirAnterior.isEmpty())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", m_tmpdirAnterior);
    }
    // What the simulator answers next (vuqsim.ini beside it): protocol T2024000123-7 sent
    // on 31/01/2024 14:10:00, unless `valores` say otherwise.
    void respostaDoSimulador(const QVariantMap& valores) {
        const QString ini = vuq->pasta() + QStringLiteral("vuqsim.ini");
        QFile::remove(ini);
        QSettings s(ini, QSettings::IniFormat);
        s.setValue(QStringLiteral("protocolo"), QStringLiteral("T2024000123-7"));
        s.setValue(QStringLiteral("dataTransmissao"), QStringLiteral("31/01/2024 14:10:00"));
        for (auto it = valores.begin(); it != valores.end(); ++it) s.setValue(it.key(), it.value());
    }

private:
    QByteArray m_tmpdirAnterior = qgetenv("TMPDIR");
};
