#pragma once
#include <QString>

class DocumentoRelatorio;
class QIODevice;

// The CSV and text exports of a generated report, rebuilt from its bands and columns.
//
// The column titles printed in a column header (or in a list's heading) define the
// columns: one per title, two titles stacked in the same place are one column (their
// texts joined). Every band those titles head becomes one row with one field per
// column, in the column whose place it was printed in; a column where nothing was
// printed gives an empty field. Group and summary lines are rows of their own, their
// texts in the column where each one starts. Bands no title heads keep their texts
// in reading order. The page header and footer are left out of the CSV.
namespace ExportacaoColunas {

// RFC 4180: fields separated by commas, lines ended by CR LF, a field holding a comma,
// a quote, a line break or a space at either end quoted with its quotes doubled. The
// column titles are written once, at the top. Written to `destino` in UTF-8 as the
// pages are read.
void Csv(const DocumentoRelatorio& documento, QIODevice& destino);

// Plain text, one page after the other separated by form feeds: the page header as it
// was laid out, then the rows, each column at one fixed width for the whole report
// (the widest of its title and its values; right-aligned columns are filled on the
// left), columns separated by two spaces. The pages are read twice (the widths first).
void Texto(const DocumentoRelatorio& documento, QIODevice& destino);

}  // namespace ExportacaoColunas
