#include "db/CifraBanco.h"

#include <gcrypt.h>

#include <QFile>
#include <QHash>
#include <QMutex>
#include <algorithm>

#include "sqlite3.h"

namespace CifraBanco {

int cachePaginasKiB(qint64 bytesArquivo) {
    constexpr qint64 minimo = 2 * 1024, maximo = 256 * 1024;        // KiB
    const qint64 kib = bytesArquivo / 1024 + bytesArquivo / 4096;  // the file and a quarter more
    return int(std::clamp(kib, minimo, maximo));
}

QByteArray chaveDerivada(const QString& caminho, const QByteArray& senha) {
    // Only the engine's default cipher as configured in this build (ChaCha20: the salt is
    // the file's first 16 bytes, the key PBKDF2-HMAC-SHA256 of the password over it).
    constexpr int bytesSal = 16, bytesChave = 32;
    if (sqlite3mc_config(nullptr, "cipher", -1) != sqlite3mc_cipher_index("chacha20") ||
        sqlite3mc_config_cipher(nullptr, "chacha20", "legacy", -1) != 0 ||
        sqlite3mc_config_cipher(nullptr, "chacha20", "plaintext_header_size", -1) != 0)
        return {};
    const int iteracoes = sqlite3mc_config_cipher(nullptr, "chacha20", "kdf_iter", -1);
    if (iteracoes <= 0) return {};
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::ReadOnly)) return {};
    const QByteArray sal = arquivo.read(bytesSal);
    if (sal.size() != bytesSal || sal.startsWith("SQLite format 3")) return {};

    static QMutex trava;
    static QHash<QByteArray, QByteArray> derivadas;  // by salt + password
    const QByteArray chaveCache = sal + senha;
    QMutexLocker guarda(&trava);
    if (const auto it = derivadas.constFind(chaveCache); it != derivadas.constEnd()) return *it;

    static const bool gcryptPronto = [] {
        if (!gcry_control(GCRYCTL_INITIALIZATION_FINISHED_P)) {
            gcry_check_version(nullptr);
            gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
            gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
        }
        return true;
    }();
    (void)gcryptPronto;
    QByteArray chave(bytesChave, '\0');
    if (gcry_kdf_derive(senha.constData(), size_t(senha.size()), GCRY_KDF_PBKDF2, GCRY_MD_SHA256,
                        sal.constData(), size_t(sal.size()), static_cast<unsigned long>(iteracoes),
                        size_t(chave.size()), chave.data()) != 0)
        return {};
    const QByteArray bruta = QByteArrayLiteral("raw:") + chave.toHex() + sal.toHex();
    if (derivadas.size() > 64) derivadas.clear();
    derivadas.insert(chaveCache, bruta);
    return bruta;
}

}  // namespace CifraBanco
