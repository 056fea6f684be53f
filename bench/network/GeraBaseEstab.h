#pragma once
#include <QString>

namespace GeraBaseEstab {
// The operator of the generated database.
inline constexpr char kOperadora[] = "123455";
// Writes `pasta`/QEV.mdb (encrypted, schema and reference rows) with `quantidade`
// establishments: 55 % hospital care, 25 % high complexity, 20 % others; valid
// CNES and CNPJ, accented names, municipalities all over the country; one plan
// linked to every hundredth one. Replaces a file that is already there.
void gera(const QString& pasta, int quantidade);
// Before the application object of a benchmark: the offscreen platform unless another
// one was asked for, and the platform's chatter about size hints kept off the output.
void preparaAmbiente();
}  // namespace GeraBaseEstab
