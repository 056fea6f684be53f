#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "app/Aplicacao.h"

#include "app/Inicio.h"

int main(int argc, char** argv) {
    // Without a display the toolkit would abort: say so plainly instead.
    const bool semTela = qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
                         qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (semTela) {
        std::fprintf(stderr, "QEV Operadora: nenhuma tela gráfica disponível (DISPLAY não definido). "
                             "Inicie o programa dentro de uma sessão gráfica.\n");
        return 2;
    }
    AplicacaoQev app(argc, argv);
    return Inicio::executa(app);
}
