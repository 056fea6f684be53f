#pragma once
// What the seeded random walks of the record screens share: the walk's length from the
// environment (QEV_PASSEIO_PASSOS, QEV_PASSEIO_SEMENTES, QEV_PASSEIO_PRIMEIRA), the
// random source, the steps taken, the first invariant that failed and its report.
#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QStringList>

namespace Apoio {

class Passeio {
public:
    struct Medidas {
        int passos;
        int sementes;
        quint32 primeira;
    };
    // The walk's length: the defaults unless the environment says otherwise.
    static Medidas medidas(int passos, int sementes) {
        const auto ambiente = [](const char* nome, int padrao) {
            bool ok = false;
            const int v = qEnvironmentVariableIntValue(nome, &ok);
            return ok && v > 0 ? v : padrao;
        };
        return {ambiente("QEV_PASSEIO_PASSOS", passos), ambiente("QEV_PASSEIO_SEMENTES", sementes),
                quint32(ambiente("QEV_PASSEIO_PRIMEIRA", 1))};
    }

    void comeca(quint32 semente) {
        m_semente = semente;
        sorte.seed(semente);
        passos.clear();
        falha.clear();
    }
    int sorteia(int n) { return int(sorte.bounded(n)); }
    void passo(const QString& descricao) { passos << descricao; }
    // The first failure is kept.
    void falhou(const QString& motivo) {
        if (falha.isEmpty()) falha = motivo;
    }
    // An enabled state that differs from the rule's.
    void espera(const char* nome, bool obtido, bool esperado) {
        if (obtido != esperado)
            falhou(QStringLiteral("%1 está %2").arg(QString::fromUtf8(nome),
                                                   obtido ? QStringLiteral("habilitado") : QStringLiteral("desabilitado")));
    }
    bool ok() const { return falha.isEmpty(); }
    // Reports the failure with the seed and every step taken.
    void relata() const {
        if (!falha.isEmpty())
            ADD_FAILURE() << "passeio de semente " << m_semente << " falhou no passo " << passos.size() << ": "
                          << falha.toStdString() << "\npassos:\n  " << passos.join(QStringLiteral("\n  ")).toStdString();
    }

    QRandomGenerator sorte;
    QStringList passos;
    QString falha;

private:
    quint32 m_semente = 0;
};

}  // namespace Apoio
