#pragma once
#include <QDateTime>
#include <QString>

// The eight values of a transfer program's protocol file.
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
};

// Drives the regulator's transfer program.
class TVUQ {
public:
    // Full path of the transfer program's executable (registry value PATH of ZUB/VUQ);
    // throws ErroQev(" O VUQ não está instalado ou sua instalação foi danificada!")
    // when the value is missing or names no existing file.
    static QString CaminhoVUQ();
    // The transfer folder followed by "Protocolos/".
    static QString PastaProtocolos();

    // Reads the protocol file `nomeTransmissao` of the protocol folder.
    void LeProtocolo(const QString& nomeTransmissao);
    // The same, failing with "Arquivo de protocolo não encontrado!" when it is missing.
    void ConfereProtocolo(const QString& nomeTransmissao);

    const ProtocoloVUQ& Protocolo() const { return m_protocolo; }
    QString ProtocoloTX() const { return m_protocolo.protocoloTX; }
    QDateTime DataTransmissao() const { return m_protocolo.DataTransmissao(); }

private:
    ProtocoloVUQ m_protocolo;
};
