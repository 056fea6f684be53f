// capturas_area_rede PASTA_BASE PASTA_IMAGENS
// Images of where a plan reaches, on the generated database, for a person to look at:
// both pickers of the "Área de atuação" tab while a plan is edited (states of a group of
// states; the municipalities of São Paulo with a search and a filter), the "Vinculação de
// rede" tab with the operator's 55,000 hospitals offered and thousands linked, and the
// batch linking screen with thousands of rows chosen.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QTableView>
#include <QTest>
#include <cstdio>

#include "app/Aplicacao.h"
#include "GeraBaseEstab.h"
#include "MedidasBench.h"
#include "ModulosPlanos.h"
#include "db/RowSet.h"
#include "plans/AreaAtuacaoPlano.h"
#include "plans/FrmCadPlano.h"
#include "plans/FrmManutencaoRede.h"
#include "plans/ManutencaoRede.h"
#include "plans/RedePlano.h"
#include "platform/Mensagens.h"
#include "platform/LinhaComando.h"
#include "platform/Plataforma.h"

namespace {
// The first plan of the operator with that coverage and segmentation, not sent.
bool vaiParaPlano(TdmInfoPlano& dm, int abrangencia, int segmentacao) {
    RowSet& p = *dm.cdsPlano();
    for (p.First(); !p.Eof(); p.Next())
        if (p.Valor(QStringLiteral("CD_ABRANGENCIA")).toInt() == abrangencia &&
            p.Valor(QStringLiteral("CD_SEGMENTACAO")).toInt() == segmentacao &&
            p.Valor(QStringLiteral("CD_STATUS_ENVIO")).toInt() == 0)
            return true;
    return false;
}
}  // namespace

int main(int argc, char** argv) {
    // without a display (answering --help, or on a build machine) the images are drawn off screen
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    AplicacaoQev app(argc, argv);  // as the program runs: letters, translations, clock
    QStringList args = LeArgumentos(
        app, QStringLiteral("Salva imagens da área de atuação, da vinculação de rede e da vinculação em lote."),
        {{QStringLiteral("PASTA_BASE"), QStringLiteral("Pasta da base grande (gerada se faltar).")},
         {QStringLiteral("PASTA_IMAGENS"), QStringLiteral("Pasta das imagens.")}});
    args.prepend(app.applicationFilePath());
    QDir().mkpath(args[2]);
    Mensagens::defineTratador([](const Mensagens::Pedido& p) { return Mensagens::respostaPadrao(p.botoes); });
    ModulosPlanos modulos(args[1]);
    TdmInfoPlano& dm = *modulos.dm;

    {
        TfrmCadPlano tela;
        tela.resize(1024, 720);
        // the state picker: a group of states, the Southeast chosen in the region list
        if (!vaiParaPlano(dm, 2, 2)) return 1;
        tela.AtualizaDados();
        tela.actAlterar->trigger();
        tela.pgcInfoPlano->setCurrentWidget(tela.tbsAreaAtuacao);
        TAreaAtuacaoPlano* area = tela.edicao()->area();
        area->FiltraRegiaoUF(3);
        tela.Sincroniza();
        tela.AtualizaAcoes();
        MedidasBench::salvaImagem(tela, args[2], QStringLiteral("area-ufs.png"));
        tela.actCancelar->trigger();

        // the municipality picker: São Paulo, a search, half a thousand chosen
        if (!vaiParaPlano(dm, 4, 2)) return 1;
        tela.AtualizaDados();
        tela.actAlterar->trigger();
        tela.pgcInfoPlano->setCurrentWidget(tela.tbsAreaAtuacao);
        dm.cdsUF()->Locate(QStringLiteral("CD_UF"), QStringLiteral("SP"));
        area->IncluiTodosMunicipios();
        dm.cdsUF()->Locate(QStringLiteral("CD_UF"), QStringLiteral("MG"));
        tela.edtPesqMunicipio->setText(QStringLiteral("SAO"));
        area->PesquisaMunicipio(QStringLiteral("SAO"));
        tela.Sincroniza();
        tela.AtualizaAcoes();
        MedidasBench::salvaImagem(tela, args[2], QStringLiteral("area-municipios.png"));
        area->FiltraMunicipiosDaUF(QStringLiteral("SP"));
        tela.Sincroniza();
        MedidasBench::salvaImagem(tela, args[2], QStringLiteral("area-municipios-filtro.png"));
        tela.actCancelar->trigger();

        // the network tab: every hospital offered, thousands linked
        if (!vaiParaPlano(dm, 3, 2)) return 1;
        tela.AtualizaDados();
        tela.actAlterar->trigger();
        tela.pgcInfoPlano->setCurrentWidget(tela.tbsRede);
        QApplication::processEvents();
        RowSet* disponiveis = tela.edicao()->rede()->qryEstabManutRede();
        QVector<int> linhas;
        for (int p = 0; p < disponiveis->RecordCount(); p += 20) linhas << disponiveis->LinhaNaPosicao(p);
        tela.edicao()->rede()->Vincula(linhas);
        tela.edtFiltroEstab->setText(QStringLiteral("SANTA CASA"));
        tela.Sincroniza();
        tela.AtualizaAcoes();
        MedidasBench::salvaImagem(tela, args[2], QStringLiteral("rede.png"));
        tela.actCancelar->trigger();
        tela.actSair->trigger();
    }

    // the batch linking screen: thousands of establishments and a hundred plans chosen
    TfrmManutencaoRede lote;
    lote.resize(1024, 720);
    lote.show();
    QApplication::processEvents();
    TManutencaoRede* l = lote.logica();
    QVector<int> estabs, planos;
    for (int p = 0; p < l->qryEstabManutRede()->RecordCount(); p += 10) estabs << l->qryEstabManutRede()->LinhaNaPosicao(p);
    for (int p = 0; p < 100; ++p) planos << l->adoPlanosManuRede()->LinhaNaPosicao(p);
    l->SelecionaHospitais(estabs);
    l->SelecionaPlanos(planos);
    lote.ActionList1Update();
    MedidasBench::salvaImagem(lote, args[2], QStringLiteral("vinculacao-lote.png"));
    // while a run goes on: its two progress bars
    lote.pbPlanos->setMaximum(100);
    lote.pbPlanos->setValue(37);
    lote.pbPlanos->show();
    lote.pbEstabelecimentos->setMaximum(l->cdsHospitais()->RecordCount());
    lote.pbEstabelecimentos->setValue(l->cdsHospitais()->RecordCount() / 3);
    lote.pbEstabelecimentos->show();
    MedidasBench::salvaImagem(lote, args[2], QStringLiteral("vinculacao-lote-progresso.png"));
    return 0;
}
