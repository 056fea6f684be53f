#pragma once
#include <QByteArray>
#include <QString>

// Blowfish as published (64-bit blocks, 16 rounds, big-endian words) in electronic
// codebook mode, as the transfer program expects its parameter file.
class TBlowfishVUQ {
public:
    // Throws ErroQev("Blowfish: Key must be between 1 and 56 bytes long") for any
    // other key length.
    explicit TBlowfishVUQ(const QByteArray& chave);
    ~TBlowfishVUQ();
    TBlowfishVUQ(const TBlowfishVUQ&) = delete;
    TBlowfishVUQ& operator=(const TBlowfishVUQ&) = delete;

    // Zero bytes complete the last 8-byte block (none when the length is already a
    // multiple of 8); each block is enciphered on its own.
    QByteArray Cifra(const QByteArray& dados) const;
    // The inverse of Cifra; the length must be a multiple of 8 (padding is kept).
    QByteArray Decifra(const QByteArray& dados) const;

    // The enciphered bytes of `linha`, each written as two letters: "A" + its low four
    // bits, then "A" + its high four bits.
    QString CifraParametros(const QByteArray& linha) const;
    // The inverse of CifraParametros, with the trailing zero bytes of the padding removed.
    // Throws ErroQev when the text is not such letters.
    QByteArray DecifraParametros(const QString& letras) const;

    static QString ParaLetras(const QByteArray& bytes);
    // Throws ErroQev when the text is not pairs of letters A to P.
    static QByteArray DeLetras(const QString& letras);

private:
    QByteArray processa(const QByteArray& dados, bool cifrar) const;
    void* m_hd;  // gcry_cipher_hd_t
};
