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

namespace {
// The number written by `n` digits at `inicio`; -1 when one of them is not a digit.
int digitos(QStringView t, int inicio, int n) {
    int r = 0;
    for (int i = inicio; i < inicio + n; ++i) {
        const char16_t c = t[i].unicode();
        if (c < u'0' || c > u'9') return -1;
        r = r * 10 + (c - u'0');
    }
    return r;
}
}  // namespace

bool LeDataHoraIso(QStringView t, QDate* data, QTime* hora) {
    if ((t.size() != 10 && t.size() != 19) || t[4] != u'-' || t[7] != u'-') return false;
    const int a = digitos(t, 0, 4), m = digitos(t, 5, 2), d = digitos(t, 8, 2);
    if (a < 0 || m < 0 || d < 0) return false;
    int h = -1, mi = -1, s = -1;
    if (t.size() == 19) {
        if ((t[10] != u' ' && t[10] != u'T') || t[13] != u':' || t[16] != u':') return false;
        h = digitos(t, 11, 2);
        mi = digitos(t, 14, 2);
        s = digitos(t, 17, 2);
        if (h < 0 || mi < 0 || s < 0) return false;
    }
    *data = QDate(a, m, d);
    *hora = t.size() == 19 ? QTime(h, mi, s) : QTime();
    return true;
}
