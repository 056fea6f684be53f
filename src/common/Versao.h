#pragma once
#include <QString>

// The program version as three two-digit parts ("02.07.03" with dots, "020703" without).
QString VersaoSistema(bool comPontos);
// The same for any major/minor/release numbers.
QString FormataVersao(int maior, int menor, int release, bool comPontos);

// The short name and the title of the program.
inline QString NomeCurtoSistema() { return QStringLiteral("QEV"); }
inline QString TituloSistema() { return QStringLiteral("Registro de Planos de Saúde da Operadora"); }
