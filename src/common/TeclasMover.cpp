#include "common/TeclasMover.h"

#include <QAbstractButton>
#include <QAction>
#include <QShortcut>
#include <QWidget>

namespace {
QString comTecla(const QString& dica, const QKeySequence& tecla) {
    return dica + QStringLiteral(" (") + tecla.toString(QKeySequence::NativeText) + QLatin1Char(')');
}
}  // namespace

QKeySequence TeclaDeMover(Movimento m) {
    switch (m) {
        case Movimento::IncluiMarcados: return QKeySequence(Qt::CTRL | Qt::Key_Right);
        case Movimento::IncluiTodos: return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Right);
        case Movimento::RetiraMarcados: return QKeySequence(Qt::CTRL | Qt::Key_Left);
        case Movimento::RetiraTodos: return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Left);
    }
    return {};
}

void DefineTeclaDeMover(QAction* acao, Movimento m, QWidget* area) {
    const QKeySequence tecla = TeclaDeMover(m);
    acao->setShortcut(tecla);
    acao->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    area->addAction(acao);
    acao->setToolTip(comTecla(acao->toolTip().isEmpty() ? acao->text() : acao->toolTip(), tecla));
}

void DefineTeclaDeMover(QAbstractButton* botao, Movimento m, QWidget* area) {
    const QKeySequence tecla = TeclaDeMover(m);
    auto* atalho = new QShortcut(tecla, area);
    atalho->setContext(Qt::WidgetWithChildrenShortcut);
    atalho->setObjectName(QStringLiteral("tecla_") + botao->objectName());
    QObject::connect(atalho, &QShortcut::activated, botao, [botao] {
        if (botao->isEnabled() && botao->isVisible()) botao->click();
    });
    botao->setToolTip(comTecla(botao->toolTip().isEmpty() ? botao->text() : botao->toolTip(), tecla));
}
