#pragma once
#include <QString>
#include <cstdint>
#include <optional>

// CRC-32 of a whole file as zip and zlib compute it (reflected polynomial EDB88320,
// initial value and final exclusive-or all ones), read in blocks of 16,384 bytes.
// No value when the file cannot be read.
std::optional<std::uint32_t> Crc32Arquivo(const QString& caminho);
// Eight upper-case hexadecimal digits, most significant first.
QString Crc32Hex(std::uint32_t crc);

// The checksum component of the transmission dialog.
class TCrc32 {
public:
    QString NomeArquivo;
    // When on, a missing file is first reported in an error message with an "Abort" button.
    bool JanelaErro = true;
    int PassoProgresso = 0;

    // 0 for a missing file.
    std::uint32_t CalculaCrc() const;
    QString CrcHex() const { return Crc32Hex(CalculaCrc()); }
};
