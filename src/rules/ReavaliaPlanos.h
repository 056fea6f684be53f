#pragma once
#include <QString>
#include <QVector>

#include "rules/LeituraPlanos.h"

class Banco;

// What the re-evaluation found for one plan.
struct TipoInconsistencia {
    qlonglong seqPlano = 0;
    bool inconsistente = false;
    bool semRede = false;
};

// One plan against the operator's classification, its device rules, its network and
// its technical notes.
TipoInconsistencia AvaliaPlano(int classificacao, const PlanoLido& plano);

// Re-evaluates every plan of the operator that is not in the sent state, against the
// classification the operator has in the database, and rewrites the plans' flags
// LG_CONSISTENTE and LG_REDE_VINCULADA: all of them in one transaction (inside the
// caller's when one is open). Sent plans are never touched. Throws ErroQev when a read
// or a write fails; nothing is written then. Returns what it found, in plan order.
QVector<TipoInconsistencia> ReavaliaPlanos(Banco& banco, const QString& cdOper);

// Installs the re-evaluation the operator screen runs after an existing operator was
// saved with another classification: hourglass while it runs; a failure is shown in an
// error message and leaves every plan as it was.
void InstalaReavaliacaoPlanos();
