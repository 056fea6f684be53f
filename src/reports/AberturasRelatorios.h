#pragma once
// Where the reports are opened from. Each opener shows its dialog (or the preview)
// modally; errors reading the data propagate to the caller's error display.
//
//   Main window:              AbreRelacaoEstabelecimentos, AbreRelEstabComPlanos,
//                             AbreRelPlanosSemEstab, AbreRelPlanosComEstab,
//                             AbreRelPlanosExportados(pai, true|false), AbreRelatorioPlanos,
//                             AbreRelatorioDispositivos
//   Establishment screen:     AbreRelacaoEstabelecimentos, AbrePlanosDoEstabelecimento
//   Device screen:            AbreRelatorioDispositivos(pai)
//   Plan screen:              AbreRelatorioPlano(pai, seqPlano)
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
//
// The screens get their openers from app/LigacoesRelatorios (InstalaTelasRelatorios): this
// folder includes no screen of the subsystems above it.
#include "reports/QrpSolicitaRegPlano.h"
