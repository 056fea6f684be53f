#include <QFileInfo>
#include <QRegularExpression>
#include <cstdio>

#include "app/Aplicacao.h"
#include "app/Inicio.h"

namespace {
// Whether a graphical display can be reached. Without one the toolkit would abort,
// so the program says so plainly instead.
bool temTela() {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return true;
    const QString display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty()) return false;
    // A local display ":N" has its socket in /tmp/.X11-unix; a remote one is left to the toolkit.
    static const QRegularExpression local(QStringLiteral("^(?:unix)?:(\\d+)(?:\\.\\d+)?$"));
    const auto m = local.match(display);
    return !m.hasMatch() || QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X") + m.captured(1));
}
}  // namespace

int main(int argc, char** argv) {
    if (!temTela()) {
        std::fprintf(stderr,
                     "QEV Operadora: nenhuma tela gráfica disponível (DISPLAY não definido ou "
                     "inacessível). Inicie o programa dentro de uma sessão gráfica.\n");
        return 2;
    }
    AplicacaoQev app(argc, argv);
    return Inicio::executa(app);
}
