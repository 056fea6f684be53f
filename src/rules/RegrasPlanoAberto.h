#pragma once
#include <QString>
#include <QStringList>

// The device rules read through the plan module (TdmInfoPlano), as the plan screen holds
// the plan: its row of cdsPlano, its devices in cdsPlanoDispositivo, the themes of
// cdsTiposClausulas, its free-choice items and its optional services. The re-evaluation
// of many plans reads them in a few statements instead (rules/LeituraPlanos.h).

// Positions cdsPlano on the operator's plan (opening it for that operator when it is
// closed) and joins the two lists below, theme rules first; empty when the plan is not
// among the operator's. Afterwards cdsPlano stays on the plan and cdsPlanoDispositivo
// (moved to its first row) and cdsPlanoCobertura hold the plan's rows.
QStringList RegrasDispositivos(const QString& cdOper, qlonglong seqPlano);
// Which themes the plan's devices cover (loads the themes, the plan's devices and its
// free-choice items, reusing the sets that already hold them).
QStringList RegrasTemas(const QString& cdOper, qlonglong seqPlano);
// Each loaded device's characteristic value against the current plan; empty when the
// plan's devices are not loaded.
QStringList RegrasCaracteristicas();
