#pragma once
#include <QString>

class RowSet;

// Name of a sheet made from a caption: its first 30 characters, without the
// characters a sheet name cannot hold.
QString NomePlanilha(const QString& legenda);

// Writes the visible columns of a row set (every column with `todasColunas`; one
// header row of captions, then one row per row of the set, in its current order)
// into a new .xlsx file, on one sheet named `planilha`. Numbers and dates keep their
// kind. Throws ErroQev on failure.
void ExportaPlanilha(const RowSet& rowSet, const QString& planilha, const QString& caminho,
                     bool todasColunas = false);

// Rows a sheet holds (the header row included).
inline constexpr qlonglong kMaxLinhasPlanilha = 1'048'576;
// The message refusing a list of `linhas` rows that does not fit a sheet.
QString MensagemLimiteLinhas(qlonglong linhas);
// Where the exports go: the "QEV" folder in the user's documents.
QString PastaPlanilhas();

// Exports into a new file of PastaPlanilhas() named from the sheet and the time
// ("<sheet> yyyy-MM-dd HH-mm-ss.xlsx"), written whole or not at all, and opens it with
// the desktop's default handler; returns the file's path. Throws ErroQev on failure
// (a list past the row limit is refused before anything is written).
QString ExportaEAbrePlanilha(const RowSet& rowSet, const QString& legenda, bool todasColunas = false);
