#pragma once
#include <QByteArray>
#include <QString>
#include <QVector>
#include <optional>

// Single-byte Windows-1252 text (what the request file and the transfer program's
// parameter line are written in), converted through iconv.
class ConversorWin1252 {
public:
    ConversorWin1252();
    ~ConversorWin1252();
    ConversorWin1252(const ConversorWin1252&) = delete;
    ConversorWin1252& operator=(const ConversorWin1252&) = delete;

    // Appends the bytes of the text to `destino`; false (and `destino` unchanged) when
    // a character has no Windows-1252 byte.
    bool acrescenta(const QString& texto, QByteArray& destino);
    bool acrescentaUtf8(const char* utf8, qsizetype tamanho, QByteArray& destino);
    std::optional<QByteArray> codifica(const QString& texto);

private:
    bool converte(void* cd, const char* entrada, size_t bytes, size_t maximo, QByteArray& destino);
    void* m_utf16;  // iconv_t
    void* m_utf8;
};

// Windows-1252 text read strictly through iconv (the establishment import file): every
// byte gives one character, so positions are kept; a byte Windows-1252 does not define
// (81, 8D, 8F, 90, 9D) becomes U+FFFD and its position is reported.
class LeitorWin1252 {
public:
    LeitorWin1252();
    ~LeitorWin1252();
    LeitorWin1252(const LeitorWin1252&) = delete;
    LeitorWin1252& operator=(const LeitorWin1252&) = delete;

    // `invalidos` (when given) receives the 0-based positions of undefined bytes.
    QString decodifica(const char* bytes, qsizetype tamanho, QVector<qsizetype>* invalidos = nullptr);

private:
    void* m_cd;  // iconv_t
};

// Windows-1252 bytes read back as text (every byte has a character; the five unused
// bytes 81, 8D, 8F, 90 and 9D are kept as the control characters of the same value).
QString DecodificaWin1252(const QByteArray& bytes);

// The first character of `texto` that has no Windows-1252 byte, the only characters
// the request file and the transfer program carry; empty when every one has.
QString CaractereForaWin1252(const QString& texto);

// The check every box whose text may reach the request file makes where the text
// enters: the message naming the field when the text holds such a character, empty
// when it does not.
QString ConfereTextoArquivo(const QString& campo, const QString& texto);
