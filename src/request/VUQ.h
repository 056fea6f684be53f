#pragma once
#include <QDateTime>
#include <QString>

#include "db/ProtocoloVUQ.h"
#include "request/ParametrosVUQ.h"

// Drives the regulator's transfer program.
class TVUQ {
public:
    // Full path of the transfer program's executable (registry value PATH of ZUB/VUQ);
    // throws ErroQev(" O VUQ não está instalado ou sua instalação foi danificada!")
    // when the value is missing or names no existing file.
    static QString CaminhoVUQ() { return ::CaminhoVUQ(); }
    // The transfer folder followed by "Protocolos/".
    static QString PastaProtocolos() { return PastaProtocolosVUQ(); }

    // Hands one request file to the transfer program: writes the enciphered parameter
    // file, starts the program in the transfer folder and waits for it while the
    // windows keep painting. 0 = sent (its protocol file, when there is one, has been
    // read); 2 to 6 for the program's exit codes 1 to 5; 1 for any other exit.
    // Throws ErroQev with the message of the failure when it cannot hand the file over.
    int EnviaArquivo(const ParametrosVUQ& parametros);
    // The parameter file written by the last EnviaArquivo.
    QString ArquivoParametros() const { return m_arquivoParametros; }
    // Whether the last EnviaArquivo got as far as starting the transfer program (a
    // failure before that leaves nothing for the program to answer).
    bool Iniciou() const { return m_iniciou; }

    // Reads the protocol file `nomeTransmissao` of the protocol folder.
    void LeProtocolo(const QString& nomeTransmissao);
    // The same, failing with "Arquivo de protocolo não encontrado!" when it is missing.
    void ConfereProtocolo(const QString& nomeTransmissao);

    const ProtocoloVUQ& Protocolo() const { return m_protocolo; }
    QString ProtocoloTX() const { return m_protocolo.protocoloTX; }
    QDateTime DataTransmissao() const { return m_protocolo.DataTransmissao(); }

private:
    ProtocoloVUQ m_protocolo;
    QString m_arquivoParametros;
    bool m_iniciou = false;
};
