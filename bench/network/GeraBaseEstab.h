#pragma once
#include <QString>

namespace GeraBaseEstab {
// The operator of the generated database.
inline constexpr char kOperadora[] = "123455";
// The plan the benchmarks edit: group of municipalities, no related row.
inline constexpr int kPlanoVazio = 2000;
// Writes `pasta`/QEV.mdb (encrypted, schema and reference rows) with `quantidade`
// establishments: 55 % hospital care, 25 % high complexity, 20 % others; valid
// CNES and CNPJ, accented names, municipalities all over the country; plan 1 linked
// to every hundredth one. Then `planos` plans of the operator (numbers 1 to `planos`)
// with every kind of related row: plans 2 and up get 109 hospital links each (about 200,000 links), the
// states or municipalities their coverage calls for, one to three technical notes,
// one or two valid tax documents, free-choice items and optional services, and the
// operator's contract devices (FixturaDispositivos::geraParaPlanos). The last
// plan (kPlanoVazio when `planos` is 2000) has nothing attached. Replaces a file that
// is already there.
void gera(const QString& pasta, int quantidade, int planos = 2000);
// Before the application object of a benchmark: the offscreen platform unless another
// one was asked for, and the platform's chatter about size hints kept off the output.
void preparaAmbiente();
}  // namespace GeraBaseEstab
