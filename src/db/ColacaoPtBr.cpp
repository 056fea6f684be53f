#include "db/ColacaoPtBr.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <array>

namespace ColacaoPtBr {
namespace {

// The characters the fast order knows: printable ASCII and the Latin-1 letters of names
// written in Portuguese and its neighbours (no ligature, no letter that expands into two,
// no sign that is not a letter).
bool candidato(char32_t c) {
    if (c >= 0x20 && c <= 0x7e) return true;
    switch (c) {
        case 0xc6: case 0xe6:  // Æ æ
        case 0xd0: case 0xf0:  // Ð ð
        case 0xd7: case 0xf7:  // × ÷
        case 0xd8: case 0xf8:  // Ø ø
        case 0xde: case 0xfe:  // Þ þ
        case 0xdf:             // ß
            return false;
        default:
            return (c >= 0xc0 && c <= 0xff) || c == 0xaa || c == 0xba;  // letters, ª º
    }
}

// The weights, read from the pt-BR collator: characters equal at its first level share a
// weight, and the weights go up as that level orders them.
std::array<quint8, 256> montaPesos() {
    QCollator col(QLocale(QLocale::Portuguese, QLocale::Brazil));
    col.setCaseSensitivity(Qt::CaseInsensitive);
    col.setNumericMode(false);
    col.setIgnorePunctuation(false);
    const auto texto = [](char32_t c, char seguinte) {
        QString s{QChar(char16_t(c))};
        if (seguinte) s += QLatin1Char(seguinte);
        return s;
    };
    // "xB" against "yA": x and y equal at the first level leave it to B and A
    const auto comparaPrimeiro = [&](char32_t x, char32_t y) {
        const int r1 = col.compare(texto(x, 'B'), texto(y, 'A'));
        const int r2 = col.compare(texto(x, 'A'), texto(y, 'B'));
        if (r1 > 0 && r2 < 0) return 0;
        return r1 < 0 ? -1 : 1;
    };
    std::vector<char32_t> cs;
    for (char32_t c = 0; c < 256; ++c) {
        if (!candidato(c)) continue;
        // a character the first level ignores has no weight of its own: "cB" falls between
        // "A" and "C", and "cY" between "X" and "Z" (no character weighs between both)
        const auto entre = [&](char antes, char meio, char depois) {
            return col.compare(texto(c, meio), QString(QLatin1Char(antes))) > 0 &&
                   col.compare(texto(c, meio), QString(QLatin1Char(depois))) < 0;
        };
        if (entre('A', 'B', 'C') && entre('X', 'Y', 'Z')) continue;
        cs.push_back(c);
    }
    std::stable_sort(cs.begin(), cs.end(), [&](char32_t x, char32_t y) { return comparaPrimeiro(x, y) < 0; });
    std::array<quint8, 256> pesos{};
    int peso = 0;
    for (size_t i = 0; i < cs.size(); ++i) {
        if (i == 0 || comparaPrimeiro(cs[i - 1], cs[i]) != 0) ++peso;
        if (peso > 255) break;
        pesos[cs[i]] = quint8(peso);
    }
    return pesos;
}

const std::array<quint8, 256>& tabela() {
    static const std::array<quint8, 256> t = montaPesos();
    return t;
}

int sinal(int r) { return (r > 0) - (r < 0); }

// One character of UTF-8 (its code, and how many bytes it takes); 0x110000 for a byte
// sequence that is not one.
char32_t leUtf8(const unsigned char* s, int n, int& tamanho) {
    const unsigned char c = s[0];
    if (c < 0x80) {
        tamanho = 1;
        return c;
    }
    if ((c & 0xe0) == 0xc0 && n >= 2 && (s[1] & 0xc0) == 0x80) {
        tamanho = 2;
        return (char32_t(c & 0x1f) << 6) | (s[1] & 0x3f);
    }
    tamanho = 1;
    return 0x110000;  // longer sequences carry no character the fast order knows
}

}  // namespace

quint8 Peso(char32_t c) { return c < 256 ? tabela()[c] : 0; }

bool Pesos(QStringView texto, std::vector<quint8>& pesos) {
    const auto& t = tabela();
    const size_t inicio = pesos.size();
    for (const QChar ch : texto) {
        const char16_t c = ch.unicode();
        const quint8 p = c < 256 ? t[c] : 0;
        if (!p) {
            pesos.resize(inicio);
            return false;
        }
        pesos.push_back(p);
    }
    return true;
}

int Compara(const QCollator& colador, QStringView a, QStringView b) {
    const auto& t = tabela();
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t ca = a[i].unicode(), cb = b[i].unicode();
        const quint8 pa = ca < 256 ? t[ca] : 0, pb = cb < 256 ? t[cb] : 0;
        if (!pa || !pb) return sinal(colador.compare(a, b));
        if (pa != pb) return pa < pb ? -1 : 1;
    }
    if (a.size() != b.size()) {
        // the longer one goes after, when what it has more weighs
        const QStringView resto = a.size() > b.size() ? a.mid(n) : b.mid(n);
        for (const QChar ch : resto)
            if (ch.unicode() >= 256 || !t[ch.unicode()]) return sinal(colador.compare(a, b));
        return a.size() < b.size() ? -1 : 1;
    }
    return sinal(colador.compare(a, b));  // equal at the first level: accents and case decide
}

int ComparaUtf8(const QCollator& colador, const char* a, int na, const char* b, int nb) {
    const auto& t = tabela();
    const auto* ua = reinterpret_cast<const unsigned char*>(a);
    const auto* ub = reinterpret_cast<const unsigned char*>(b);
    const auto colacao = [&] {
        return sinal(colador.compare(QString::fromUtf8(a, na), QString::fromUtf8(b, nb)));
    };
    int i = 0, j = 0;
    while (i < na && j < nb) {
        int ta, tb;
        const char32_t ca = leUtf8(ua + i, na - i, ta), cb = leUtf8(ub + j, nb - j, tb);
        const quint8 pa = ca < 256 ? t[ca] : 0, pb = cb < 256 ? t[cb] : 0;
        if (!pa || !pb) return colacao();
        if (pa != pb) return pa < pb ? -1 : 1;
        i += ta;
        j += tb;
    }
    if (i < na || j < nb) {
        const unsigned char* resto = i < na ? ua + i : ub + j;
        const int n = i < na ? na - i : nb - j;
        for (int k = 0; k < n;) {
            int tk;
            const char32_t c = leUtf8(resto + k, n - k, tk);
            if (c >= 256 || !t[c]) return colacao();
            k += tk;
        }
        return i < na ? 1 : -1;
    }
    return colacao();
}

}  // namespace ColacaoPtBr
