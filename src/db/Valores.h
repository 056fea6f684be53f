#pragma once
#include <QLocale>
#include <QString>
#include <QVariant>

// Whether a value is missing: an invalid or a null QVariant.
inline bool nulo(const QVariant& v) { return !v.isValid() || v.isNull(); }

// Brazilian Portuguese, the locale of every number and date the user reads, whatever
// the machine's own locale is.
const QLocale& ptBr();

// A plain SQL identifier (letter or underscore, then letters, digits, underscores):
// the only kind of table or column name that may reach a statement as text.
bool IdentificadorSimples(const QString& nome);
