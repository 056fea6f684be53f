#pragma once
#include <QString>
#include <QStringList>

// Builds a new encrypted database file from SQL scripts (schema, reference rows).
// The file appears under its name only when complete: it is written beside it
// under a temporary name and renamed. Throws ErroQev on failure; an existing
// file is never touched (returns false).
namespace CriaBanco {
// `comMunicipios`: also fill TB_MUNICIPIOS from the built-in list, as delivered.
bool cria(const QString& caminho, const QStringList& scripts, bool comMunicipios = true);
QString leScript(const QString& caminhoArquivo);
}  // namespace CriaBanco
