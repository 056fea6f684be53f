#pragma once
// Drives modal screens opened with exec(): the driver runs inside the screen's own
// event loop, so no test ever waits on a modal loop. When the expected screen does
// not open in time, every modal screen is closed and the test fails.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

#include "common/ExecucaoModal.h"

namespace Apoio {

// Runs `acao` on the next modal screen of type T once it is shown.
template <class T>
void quandoAbrir(std::function<void(T*)> acao, int limiteMs = 10000) {
    auto* timer = new QTimer;
    auto relogio = std::make_shared<QElapsedTimer>();
    relogio->start();
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, relogio, acao, limiteMs] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* alvo = qobject_cast<T*>(modal); alvo && alvo->isVisible()) {
            timer->stop();
            timer->deleteLater();
            QPointer<T> vigiado(alvo);
            acao(alvo);
            // A screen the driver left open is closed later, and the test fails.
            QTimer::singleShot(limiteMs, [vigiado] {
                if (vigiado && vigiado->isVisible()) {
                    ADD_FAILURE() << "a tela " << T::staticMetaObject.className()
                                  << " continuou aberta";
                    vigiado->reject();
                }
            });
            return;
        }
        if (relogio->elapsed() > limiteMs) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "a tela esperada (" << T::staticMetaObject.className()
                          << ") não abriu";
            while (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) d->reject();
        }
    });
    timer->start();
}

// Processes events until `condicao` holds or `limiteMs` pass; answers whether it held.
inline bool espera(const std::function<bool()>& condicao, int limiteMs = 10000) {
    QElapsedTimer relogio;
    relogio.start();
    while (!condicao()) {
        if (relogio.elapsed() > limiteMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Answers every modal opening made through Modal::executa with a function of the
// dialog, instead of its own loop; records their captions.
class Modais {
public:
    explicit Modais(std::function<int(QDialog&)> resposta) {
        m_anterior = Modal::define([this, resposta](QDialog& d) {
            abertos << d.windowTitle();
            return resposta(d);
        });
    }
    ~Modais() { Modal::define(std::move(m_anterior)); }
    QStringList abertos;

private:
    Modal::Tratador m_anterior;
};

}  // namespace Apoio
