#include "db/Mascara.h"

QString AplicaMascara(const QString& texto, const QString& mascara) {
    QString r;
    int i = 0;
    for (const QChar m : mascara) {
        if (i >= texto.size()) break;
        if (m == QLatin1Char('9'))
            r += texto.at(i++);
        else
            r += m;
    }
    return r;
}
