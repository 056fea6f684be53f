#pragma once
#include <QByteArray>
#include <QString>

// What is handed to the transfer program for one request file.
struct ParametrosVUQ {
    QString cdOper;           // six digits
    QString senha;            // as typed, not trimmed
    QString reservado;        // empty
    QString janela;           // the caller window's handle in decimal, in single quotes
    QString checksum;         // CRC-32 of the request file, eight hexadecimal digits
    QString descricao;        // DescricaoEnvio
    QString versao;           // VersaoSistema with dots
    QString tipoArquivo;      // "QEV"
    QString nomeTransmissao;  // NomeTransmissao
    QString arquivo;          // full path of the request file
};

// The request file name without ".QEV", "_", the plan number and ".QEV"
// (123456310120241405090007.QEV of plan 7 gives 123456310120241405090007_7.QEV).
QString NomeTransmissao(const QString& nomeArquivo, int seqPlano);

// "Solicitação de registro do Plano: <name> - Contratação:<...> - Abrangência
// Geográfica:<...> - Segmentação:<...>."
QString DescricaoEnvio(const QString& nmPlano, const QString& contratacao,
                       const QString& abrangencia, const QString& segmentacao);

// The eleven fields joined by "|": "1", operator, password, request file, name for
// transmission, file type, version, description, checksum, window, reserved.
QString LinhaParametros(const ParametrosVUQ& p);

// The parameter line in Windows-1252 bytes, as the transfer program reads it. Throws
// ErroQev naming the field when a field holds a "|" (which would shift the transfer
// program's fields) or a character that Windows-1252 cannot represent.
QByteArray LinhaParametrosWin1252(const ParametrosVUQ& p);

// Operator code + "-" + tick count + "-" + the fractional part of tick ÷ 7 rounded to a
// whole number, at least five digits, + ".par".
QString NomeArquivoParametros(const QString& cdOper, quint64 tick);

// Milliseconds since the machine started.
quint64 TickSistema();
