#pragma once
#include <QDate>
#include <QLocale>
#include <QStringView>
#include <QTime>
#include <QString>
#include <QVariant>

// Whether a value is missing: an invalid or a null QVariant.
inline bool nulo(const QVariant& v) { return !v.isValid() || v.isNull(); }
// Whether a value is the whole number `n` (stored as a number or as its digits).
inline bool igualA(const QVariant& v, qlonglong n) {
    bool ok = false;
    return !nulo(v) && v.toLongLong(&ok) == n && ok;
}
// Whether a value is missing or only blanks.
inline bool branco(const QVariant& v) { return nulo(v) || v.toString().trimmed().isEmpty(); }

// Brazilian Portuguese, the locale of every number and date the user reads, whatever
// the machine's own locale is.
const QLocale& ptBr();

// A plain SQL identifier (letter or underscore, then letters, digits, underscores):
// the only kind of table or column name that may reach a statement as text.
bool IdentificadorSimples(const QString& nome);

// Reads the forms dates are stored in, "yyyy-MM-dd" and "yyyy-MM-dd HH:mm:ss" (or with a
// "T" between), without the general date parser (which costs tens of microseconds a
// value): true when the text has one of these shapes, with `data` and, for the second,
// `hora` set (either may be invalid, as in "2024-02-30"); false for any other text.
bool LeDataHoraIso(QStringView texto, QDate* data, QTime* hora);
