#pragma once
#include <QDateTime>
#include <QString>

// The eight values of the protocol file the transfer program leaves for each file it
// sent. Read in one place for both readers: the hand-over, right after the program
// ends, and the start of the program, for protocols left pending.
struct ProtocoloVUQ {
    QString operadora;
    QString tipoArquivo;
    QString arquivo;
    QString dataTransmissao;
    QString protocoloTX;
    QString aplicativo;
    QString informacoesArquivo;
    QString clienteTransmissao;

    // "dataTransmissao" read day first ("dd/MM/yyyy HH:mm:ss", or the date alone).
    // Invalid QDateTime when the text is not such a date.
    QDateTime DataTransmissao() const;

    // The protocol number as stored: "protocoloTX" with a leading "T" and anything from
    // the first "-" on removed.
    QString ProtocoloNormalizado() const;

    // Longest protocol number the plan's columns hold.
    static constexpr int kTamanhoProtocolo = 30;

    // Reads a protocol file. Throws ErroQev when the file cannot be read, is not XML,
    // or holds a protocol that cannot be stored (no number, a number longer than the
    // column, a transmission date that is not a date): such a protocol is never
    // recorded by halves, it stays pending.
    static ProtocoloVUQ Le(const QString& caminho);
};

// Full path of the installed transfer program (registry value PATH of ZUB/VUQ); throws
// ErroQev(" O VUQ não está instalado ou sua instalação foi danificada!") when the value
// is missing or names no existing file.
QString CaminhoVUQ();
// The transfer program's folder followed by "Protocolos/".
QString PastaProtocolosVUQ();
