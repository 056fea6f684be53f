#pragma once
#include <QString>

// Check-digit rules of the Brazilian identifiers the system stores or sends, and
// small text helpers. None of them shows a message: the caller reports problems.

// CNPJ (tipo 0, 14 digits) or CPF (tipo 1, 11 digits), without punctuation. A
// shorter text is checked as if filled with zeros on the left.
bool ValidaCnpjCpf(const QString& texto, int tipo);
// A CNPJ (or CPF) as the registry keeps it: digits only, right check digits, not all zeros.
bool CnpjValido(const QString& texto);
bool CpfValido(const QString& texto);
// Code of a health establishment (check digit in the seventh position).
bool ValidaCnes(const QString& texto);
// Operator's registration code (6 digits). Throws ErroQev on a non-digit.
bool ValidaCodigoOperadora(const QString& texto);
// Whether the digits (as many as the trimmed length, from the start) add up to
// zero; an empty text gives true. Throws ErroQev on a non-digit.
bool TodosZeros(const QString& texto);
// Check digit of a tax payment document whose full length (check digit
// included) is `comprimento`; empty when the text is too short. Throws ErroQev
// on a non-digit in the first comprimento - 1 characters.
QString DigitoVerificadorTaxa(const QString& texto, int comprimento);
// The same identifiers completed with their check digits (the digits given must be
// digits): a CNPJ from its first 12 digits, a CPF from its first 9, a CNES from its
// first 6, an operator code from its first 5. Data generators and converters use them.
QString CompletaDigitosCnpj(const QString& doze);
QString CompletaDigitosCpf(const QString& nove);
QString CompletaDigitoCnes(const QString& seis);
QString CompletaDigitoOperadora(const QString& cinco);
// Only the characters "0" to "9" of the text.
QString SomenteDigitos(const QString& texto);
// Zeros on the left up to `comprimento` characters (a longer text is unchanged).
QString CompletaZeros(QString texto, int comprimento);
// Spaces on the right up to `comprimento` characters (never cuts).
QString CompletaEspacos(QString texto, int comprimento);
// Roman numeral of n; empty for n <= 0.
QString NumeroRomano(int n);
// Caption of a contract-device theme: its display order in Roman numerals, " - ", its name.
QString RotuloTema(int ordem, const QString& nome);
