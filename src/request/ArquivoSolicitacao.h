#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVariant>

// The registration request file: one fixed-width line per record (operator "00", plan
// "01", establishments "02", the plan's rows "04" to "11" and the trailer "99"),
// Windows-1252, every line ended by CR LF.

// Operator code + "ddMMyyyy" + "HHmmss" + the plan number with at least four digits +
// ".QEV" (123456310120241405090007.QEV for operator 123456, plan 7, 31/01/2024 14:05:09).
QString NomeArquivoSolicitacao(const QString& cdOper, int seqPlano, const QDateTime& quando);
// The request batch identifier: operator code + "yyyyMMddHHmmss".
QString IdentificadorSolicitacao(const QString& cdOper, const QDateTime& quando);

// Writes the request file of plan `seqPlano` as `nomeArquivo` in the program's folder
// (replacing a file of that name), with `idSolicitacao` in the plan record. Throws
// ErroQev on a database or file error, or when a value cannot be written in
// Windows-1252 (the message names the record and the field); the file is closed in
// every case and a partial file stays without its trailer.
bool GeraArquivoSolicitacao(int seqPlano, const QString& nomeArquivo, const QString& idSolicitacao);

namespace LeiauteSolicitacao {

// How a column value becomes text.
enum class Tipo {
    Inteiro,  // digits with "-" for negatives; empty reads as 0
    Texto,    // unchanged; empty or only spaces becomes one space
    Data,     // "ddMMyyyy"; empty, the zero date 30/12/1899 or blank becomes 8 spaces
};
// How the text is laid out.
enum class Regra {
    Z,  // blank: n spaces; otherwise zeros on the left up to n characters
    A,  // spaces on the right up to n characters
    C,  // one character (the text, or a space when blank)
    V,  // the text unchanged
    D,  // the eight characters of the date text
};

// A column value as written in the file (Windows-1252 bytes): its text by the column
// type, laid out by the rule. Throws ErroQev when the value is not of the column's
// type or has a character that Windows-1252 cannot represent.
QByteArray Campo(const QVariant& valor, Tipo tipo, Regra regra, int largura = 0);

}  // namespace LeiauteSolicitacao
