#include "request/BlowfishVUQ.h"

#include <gcrypt.h>

#include "db/Erro.h"

namespace {

void iniciaGcrypt() {
    static const bool iniciado = [] {
        if (!gcry_control(GCRYCTL_INITIALIZATION_FINISHED_P)) {
            gcry_check_version(nullptr);
            gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
            gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
        }
        return true;
    }();
    (void)iniciado;
}

[[noreturn]] void falha(gcry_error_t erro) {
    throw ErroQev(QStringLiteral("Blowfish: ") + QString::fromUtf8(gcry_strerror(erro)));
}

constexpr int kBloco = 8;

}  // namespace

TBlowfishVUQ::TBlowfishVUQ(const QByteArray& chave) : m_hd(nullptr) {
    if (chave.size() < 1 || chave.size() > 56)
        throw ErroQev(QStringLiteral("Blowfish: Key must be between 1 and 56 bytes long"));
    iniciaGcrypt();
    gcry_cipher_hd_t hd = nullptr;
    if (const gcry_error_t e = gcry_cipher_open(&hd, GCRY_CIPHER_BLOWFISH, GCRY_CIPHER_MODE_ECB, 0))
        falha(e);
    if (const gcry_error_t e = gcry_cipher_setkey(hd, chave.constData(), chave.size())) {
        gcry_cipher_close(hd);
        falha(e);
    }
    m_hd = hd;
}

TBlowfishVUQ::~TBlowfishVUQ() { gcry_cipher_close(static_cast<gcry_cipher_hd_t>(m_hd)); }

QByteArray TBlowfishVUQ::processa(const QByteArray& dados, bool cifrar) const {
    QByteArray saida(dados.size(), '\0');
    if (dados.isEmpty()) return saida;
    auto hd = static_cast<gcry_cipher_hd_t>(m_hd);
    const gcry_error_t e =
        cifrar
            ? gcry_cipher_encrypt(hd, saida.data(), saida.size(), dados.constData(), dados.size())
            : gcry_cipher_decrypt(hd, saida.data(), saida.size(), dados.constData(), dados.size());
    if (e) falha(e);
    return saida;
}

QByteArray TBlowfishVUQ::Cifra(const QByteArray& dados) const {
    QByteArray completo = dados;
    if (const qsizetype resto = completo.size() % kBloco) completo.append(kBloco - resto, '\0');
    return processa(completo, true);
}

QByteArray TBlowfishVUQ::Decifra(const QByteArray& dados) const {
    if (dados.size() % kBloco)
        throw ErroQev(QStringLiteral("Blowfish: o texto cifrado não tem blocos completos."));
    return processa(dados, false);
}

QString TBlowfishVUQ::ParaLetras(const QByteArray& bytes) {
    QString letras;
    letras.reserve(bytes.size() * 2);
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        letras += QChar(u'A' + (b & 0x0F));
        letras += QChar(u'A' + (b >> 4));
    }
    return letras;
}

QByteArray TBlowfishVUQ::DeLetras(const QString& letras) {
    if (letras.size() % 2)
        throw ErroQev(QStringLiteral("Parâmetros cifrados com número ímpar de letras."));
    QByteArray bytes;
    bytes.reserve(letras.size() / 2);
    for (qsizetype i = 0; i < letras.size(); i += 2) {
        const int baixo = letras[i].unicode() - u'A';
        const int alto = letras[i + 1].unicode() - u'A';
        if (baixo < 0 || baixo > 15 || alto < 0 || alto > 15)
            throw ErroQev(
                QStringLiteral("Parâmetros cifrados com letra inválida na posição %1.").arg(i + 1));
        bytes += static_cast<char>((alto << 4) | baixo);
    }
    return bytes;
}

QString TBlowfishVUQ::CifraParametros(const QByteArray& linha) const {
    return ParaLetras(Cifra(linha));
}

QByteArray TBlowfishVUQ::DecifraParametros(const QString& letras) const {
    QByteArray linha = Decifra(DeLetras(letras));
    while (linha.endsWith('\0')) linha.chop(1);
    return linha;
}
