#pragma once
#include <QString>

// The program version as three two-digit parts ("02.07.03" with dots, "020703" without).
QString VersaoSistema(bool comPontos);
// The same for any major/minor/release numbers.
QString FormataVersao(int maior, int menor, int release, bool comPontos);
