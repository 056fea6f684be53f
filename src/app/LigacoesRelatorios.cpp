#include "app/LigacoesRelatorios.h"

#include "reports/AberturasRelatorios.h"

#include "devices/FrmCadClausula.h"
#include "network/FrmCadHosp.h"
#include "plans/FrmCadPlano.h"
#include "reports/QrpSolicitaRegPlano.h"
#include "request/FrmSolicitaRegPlano.h"

void InstalaTelasRelatorios() {
    TfrmCadHosp::Telas& telas = TfrmCadHosp::TelasRelacionadas();
    telas.relatorio = &AbreRelacaoEstabelecimentos;
    telas.planosDoEstab = &AbrePlanosDoEstabelecimento;
    TfrmCadClausula::TelasRelacionadas().relatorio = &AbreRelatorioDispositivos;
    // the plan screen prints the plan displayed (saved: the button is off while editing)
    TfrmCadPlano::TelasRelacionadas().relatorio = [](QWidget* pai, qlonglong seqPlano) {
        AbreRelatorioPlano(pai, int(seqPlano));
    };

    TfrmSolicitaRegPlano::Relatorios& solicitacao = TfrmSolicitaRegPlano::RelatoriosInstalados();
    solicitacao.planosEnviados = [](QWidget* pai, const QStringList& planos) {
        QList<int> numeros;
        for (const QString& p : planos) numeros << p.toInt();
        AbreRelPlanosExportados(pai, true, numeros);
    };
    solicitacao.erros = [](QWidget* pai) { TqrpSolicitaRegPlano().Visualiza(pai); };
}
