#include "reports/AberturasRelatorios.h"

#include "devices/FrmCadClausula.h"
#include "network/FrmCadHosp.h"

void InstalaTelasRelatorios() {
    TfrmCadHosp::Telas& telas = TfrmCadHosp::TelasRelacionadas();
    telas.relatorio = &AbreRelacaoEstabelecimentos;
    telas.planosDoEstab = &AbrePlanosDoEstabelecimento;
    TfrmCadClausula::TelasRelacionadas().relatorio = &AbreRelatorioDispositivos;
}
