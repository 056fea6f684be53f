#pragma once
#include <QString>
#include <QStringView>
#include <vector>

class QCollator;

// The Brazilian order of texts (names, cities, plans) without a collation key per text:
// the characters names are written with (letters with or without accents, digits, spaces,
// punctuation of Latin-1) each have their weight at the collation's first level, read
// from the collator itself once; two texts whose weights differ are ordered by them, as
// the collator would order them, and only texts that differ in accents or case alone (or
// that hold another character) are handed to the collator.
namespace ColacaoPtBr {

// The first-level weight of a character (1 to 255), or 0 when the fast order does not
// know it (the text then goes to the collator).
quint8 Peso(char32_t c);

// The weights of a text; false (and `pesos` left as it was) when a character has none.
bool Pesos(QStringView texto, std::vector<quint8>& pesos);

// Compares like `colador.compare(a, b)` (-1, 0 or 1), the collator being pt-BR with no
// numeric mode and punctuation not ignored.
int Compara(const QCollator& colador, QStringView a, QStringView b);
// The same for UTF-8 texts (the database's own collation).
int ComparaUtf8(const QCollator& colador, const char* a, int na, const char* b, int nb);

}  // namespace ColacaoPtBr
