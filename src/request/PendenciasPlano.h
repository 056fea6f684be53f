#pragma once
#include <QVector>

#include "plans/PainelPendencias.h"

class Banco;
class RowSet;
class TDmExportacao;
struct TOperadora;

// "Verificar pendências" of the plan screen: the request screen's checks of one plan
// (steps 6 to 14, with their texts) on the plan current in `planos` (a row set of
// TB_PLANOS with its update table, as the plan screen's), and its flags recorded as the
// request screen's check records them (the row changed and written when they differ).
// The shared error list is left empty.
QVector<PendenciaPlano> VerificaPendenciasPlano(Banco& banco, TDmExportacao& exportacao,
                                                const TOperadora& operadora, RowSet& planos);

// Installs it as the plan screen's check (the plan screen lives below the request screen).
void InstalaVerificacaoPendencias();
