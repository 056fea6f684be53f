#include "db/Valores.h"

#include <QRegularExpression>

const QLocale& ptBr() {
    static const QLocale l(QLocale::Portuguese, QLocale::Brazil);
    return l;
}

bool IdentificadorSimples(const QString& nome) {
    static const QRegularExpression re(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return re.match(nome).hasMatch();
}
