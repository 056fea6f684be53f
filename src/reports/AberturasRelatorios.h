#pragma once
// Where the reports are opened from. Each opener shows its dialog (or the preview)
// modally; errors reading the data propagate to the caller's error display.
//
//   Main window:              AbreRelacaoEstabelecimentos, AbreRelEstabComPlanos,
//                             AbreRelPlanosSemEstab, AbreRelPlanosComEstab,
//                             AbreRelPlanosExportados(pai, true|false), AbreRelatorioPlanos,
//                             AbreRelatorioDispositivos
//   Establishment screen:     installed by InstalaTelasRelatorios (report and plans-using buttons)
//   Device screen:            AbreRelatorioDispositivos(pai), installed by InstalaTelasRelatorios
//   Plan screen:              AbreRelatorioPlano(pai, seqPlano), installed by InstalaTelasRelatorios
//   Request screen:           AbreRelPlanosExportados(pai, true, plans just sent),
//                             TqrpSolicitaRegPlano().Visualiza(pai)
//   Imports:                  TfrmRelConsiste, TfrmErrosGenericos
#include "reports/FrmDlgConsPlanoEstab.h"
#include "reports/QrpDispContratuais.h"
#include "reports/QrpEstabSaude.h"
#include "reports/QrpEstabSaudePlanos.h"
#include "reports/QrpPlanoEstabSaude.h"
#include "reports/QrpPlanos.h"
#include "reports/QrpPlanosExportados.h"
#include "reports/QrpPlanosSemEstabSaude.h"

// Installs the establishment screen's report and plans-using buttons, the device
// screen's and the plan screen's report buttons.
void InstalaTelasRelatorios();
