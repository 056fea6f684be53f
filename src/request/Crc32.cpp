#include "request/Crc32.h"

#include <zlib.h>

#include <QFile>
#include <QFileInfo>

#include "common/MensagemDlg.h"

std::optional<std::uint32_t> Crc32Arquivo(const QString& caminho) {
    QFile f(caminho);
    if (!QFileInfo(caminho).isFile() || !f.open(QIODevice::ReadOnly)) return std::nullopt;
    constexpr qint64 kBloco = 16384;
    char bloco[kBloco];
    uLong crc = crc32(0L, Z_NULL, 0);
    for (;;) {
        const qint64 lidos = f.read(bloco, kBloco);
        if (lidos < 0) return std::nullopt;
        if (lidos == 0) break;
        crc = crc32(crc, reinterpret_cast<const Bytef*>(bloco), static_cast<uInt>(lidos));
    }
    return static_cast<std::uint32_t>(crc);
}

QString Crc32Hex(std::uint32_t crc) {
    return QStringLiteral("%1").arg(crc, 8, 16, QLatin1Char('0')).toUpper();
}

std::uint32_t TCrc32::CalculaCrc() const {
    const auto crc = Crc32Arquivo(NomeArquivo);
    if (crc) return *crc;
    if (JanelaErro && !QFileInfo::exists(NomeArquivo))
        MyMessageDlg(QStringLiteral("File ") + NomeArquivo + QStringLiteral(" does not exist."),
                     Mensagens::Erro, Mensagens::BtAbortar);
    return 0;
}
