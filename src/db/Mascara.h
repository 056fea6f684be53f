#pragma once
#include <QString>

// Fills a display mask with the characters of a text: each '9' of the mask takes
// the next character of the text, any other character of the mask is written as it
// stands ("99999-9" with "123456" gives "12345-6"). An empty text gives an empty
// text; a short text leaves the rest of the mask out.
QString AplicaMascara(const QString& texto, const QString& mascara);

inline constexpr char MascaraCodigoOperadora[] = "99999-9";
inline constexpr char MascaraCnpj[] = "99.999.999/9999-99";
inline constexpr char MascaraCpf[] = "999.999.999-99";
