#include "common/Win1252.h"

#include <iconv.h>

#include <cstring>

#include <QtEndian>

#include "db/Erro.h"

namespace {
void* abre(const char* origem) {
    iconv_t cd = iconv_open("WINDOWS-1252", origem);
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw ErroQev(
            QStringLiteral("A conversão de texto para Windows-1252 não está disponível."));
    return cd;
}

bool soAscii(const char* p, qsizetype n) {
    for (qsizetype i = 0; i < n; ++i)
        if (static_cast<unsigned char>(p[i]) >= 0x80) return false;
    return true;
}
}  // namespace

ConversorWin1252::ConversorWin1252()
    : m_utf16(abre(Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? "UTF-16LE" : "UTF-16BE")), m_utf8(nullptr) {
    try {
        m_utf8 = abre("UTF-8");
    } catch (...) {
        iconv_close(static_cast<iconv_t>(m_utf16));
        throw;
    }
}

ConversorWin1252::~ConversorWin1252() {
    iconv_close(static_cast<iconv_t>(m_utf16));
    iconv_close(static_cast<iconv_t>(m_utf8));
}

bool ConversorWin1252::converte(void* handle, const char* entrada, size_t bytes, size_t maximo,
                                QByteArray& destino) {
    iconv_t cd = static_cast<iconv_t>(handle);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    const qsizetype inicio = destino.size();
    destino.resize(inicio + static_cast<qsizetype>(maximo));
    char* in = const_cast<char*>(entrada);
    char* out = destino.data() + inicio;
    size_t restaSaida = maximo;
    const size_t r = iconv(cd, &in, &bytes, &out, &restaSaida);
    if (r == static_cast<size_t>(-1) || r > 0) {
        // r > 0: an approximated conversion, which would write a wrong byte
        destino.truncate(inicio);
        return false;
    }
    destino.truncate(out - destino.constData());
    return true;
}

bool ConversorWin1252::acrescenta(const QString& texto, QByteArray& destino) {
    bool ascii = true;
    for (QChar c : texto) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) {
        destino += texto.toLatin1();
        return true;
    }
    // one byte per UTF-16 unit at most
    return converte(m_utf16, reinterpret_cast<const char*>(texto.utf16()),
                    static_cast<size_t>(texto.size()) * 2, static_cast<size_t>(texto.size()),
                    destino);
}

bool ConversorWin1252::acrescentaUtf8(const char* utf8, qsizetype tamanho, QByteArray& destino) {
    if (soAscii(utf8, tamanho)) {
        destino.append(utf8, tamanho);
        return true;
    }
    // one byte per character at most, and a character takes at least one UTF-8 byte
    return converte(m_utf8, utf8, static_cast<size_t>(tamanho), static_cast<size_t>(tamanho),
                    destino);
}

std::optional<QByteArray> ConversorWin1252::codifica(const QString& texto) {
    QByteArray b;
    if (!acrescenta(texto, b)) return std::nullopt;
    return b;
}

LeitorWin1252::LeitorWin1252() {
    iconv_t cd = iconv_open(Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? "UTF-16LE" : "UTF-16BE", "WINDOWS-1252");
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw ErroQev(
            QStringLiteral("A conversão de texto de Windows-1252 não está disponível."));
    m_cd = cd;
}

LeitorWin1252::~LeitorWin1252() { iconv_close(static_cast<iconv_t>(m_cd)); }

QString LeitorWin1252::decodifica(const char* bytes, qsizetype tamanho,
                                  QVector<qsizetype>* invalidos) {
    if (soAscii(bytes, tamanho)) return QString::fromLatin1(bytes, tamanho);
    iconv_t cd = static_cast<iconv_t>(m_cd);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    // every Windows-1252 character is one UTF-16 unit
    QString t(tamanho, Qt::Uninitialized);
    char* in = const_cast<char*>(bytes);
    size_t restaEntrada = static_cast<size_t>(tamanho);
    char* out = reinterpret_cast<char*>(t.data());
    size_t restaSaida = static_cast<size_t>(tamanho) * 2;
    while (restaEntrada > 0) {
        if (iconv(cd, &in, &restaEntrada, &out, &restaSaida) != static_cast<size_t>(-1)) break;
        // an undefined byte (EILSEQ): one replacement character in its place
        if (invalidos) invalidos->push_back(in - bytes);
        const char16_t substituto = 0xFFFD;
        std::memcpy(out, &substituto, 2);
        out += 2;
        restaSaida -= 2;
        ++in;
        --restaEntrada;
    }
    t.truncate(static_cast<qsizetype>((out - reinterpret_cast<char*>(t.data())) / 2));
    return t;
}

QString DecodificaWin1252(const QByteArray& bytes) {
    static const char16_t kAlto[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString t;
    t.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        t += QChar(b >= 0x80 && b < 0xA0 ? kAlto[b - 0x80] : char16_t(b));
    }
    return t;
}

QString CaractereForaWin1252(const QString& texto) {
    static thread_local ConversorWin1252 conversor;
    if (conversor.codifica(texto)) return QString();
    for (qsizetype i = 0; i < texto.size();) {
        const qsizetype n = texto.at(i).isHighSurrogate() && i + 1 < texto.size() ? 2 : 1;
        const QString c = texto.mid(i, n);
        if (!conversor.codifica(c)) return c;
        i += n;
    }
    return QString();
}

QString ConfereTextoArquivo(const QString& campo, const QString& texto) {
    const QString c = CaractereForaWin1252(texto);
    if (c.isEmpty()) return QString();
    return QStringLiteral("O campo \"%1\" contém o caractere \"%2\", que não pode ser enviado à "
                          "ZUB. Substitua-o por outro.")
        .arg(campo, c);
}
