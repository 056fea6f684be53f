// capturas_planos PASTA_BASE PASTA_IMAGENS
// Shows the plan screen on the generated database, browsing and while a plan is
// edited, and saves an image of every tab and of the note and protocol dialogs
// (for a person to look at; the window is kept at 1024 x 768 at most).
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <cstdio>

#include "app/Aplicacao.h"
#include "GeraBaseEstab.h"
#include "MedidasBench.h"
#include "ModulosPlanos.h"
#include "db/DmConexao.h"
#include "db/DmLookup.h"
#include "db/DmMunicipio.h"
#include "db/RowSet.h"
#include "network/DmHospital.h"
#include "operator/DmZemlo.h"
#include "plans/DmInfoPlano.h"
#include "plans/DmPlano.h"
#include "plans/FrmAlteraProtocolo.h"
#include "plans/FrmCadNotaTecnica.h"
#include "plans/FrmCadPlano.h"
#include "platform/Mensagens.h"
#include "platform/LinhaComando.h"
#include "platform/Plataforma.h"

int main(int argc, char** argv) {
    // without a display (answering --help, or on a build machine) the images are drawn off screen
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    AplicacaoQev app(argc, argv);  // as the program runs: letters, translations, clock
    QStringList args = LeArgumentos(
        app, QStringLiteral("Salva imagens de cada aba da tela de planos e dos seus diálogos."),
        {{QStringLiteral("PASTA_BASE"), QStringLiteral("Pasta da base grande (gerada se faltar).")},
         {QStringLiteral("PASTA_IMAGENS"), QStringLiteral("Pasta das imagens.")}});
    args.prepend(app.applicationFilePath());
    QDir().mkpath(args[2]);
    Mensagens::defineTratador(
        [](const Mensagens::Pedido& p) { return Mensagens::respostaPadrao(p.botoes); });

    ModulosPlanos modulos(args[1]);
    TdmInfoPlano& dm = *modulos.dm;

    TfrmCadPlano tela;  // its own size: it must fit a 1024 x 768 screen
    std::printf("tamanho %dx%d, mínimo %dx%d\n", tela.width(), tela.height(),
                tela.minimumSizeHint().width(), tela.minimumSizeHint().height());
    MedidasBench::salvaImagem(tela, args[2], QStringLiteral("plano-consulta.png"));
    // a plan of group of municipalities, with notes, taxes and a network
    dm.cdsPlano()->First();
    while (!dm.cdsPlano()->Eof() &&
           (dm.cdsPlano()->Valor(QStringLiteral("CD_ABRANGENCIA")).toInt() != 4 ||
            dm.cdsPlano()->Valor(QStringLiteral("CD_SEGMENTACAO")).toInt() != 2 ||
            dm.cdsPlano()->Valor(QStringLiteral("CD_STATUS_ENVIO")).toInt() != 0))
        dm.cdsPlano()->Next();
    tela.AtualizaDados();
    tela.actAlterar->trigger();
    const char* nomes[] = {"dados-gerais", "taxa", "livre-escolha", "servicos",
                           "notas-tecnicas", "area-atuacao", "rede"};
    for (int i = 0; i < 7; ++i) {
        tela.pgcInfoPlano->setCurrentWidget(tela.Pagina(TEdicaoPlano::Aba(i)));
        MedidasBench::salvaImagem(tela, args[2], QStringLiteral("plano-edicao-%1-%2.png").arg(i).arg(QLatin1String(nomes[i])));
    }
    tela.actCancelar->trigger();

    dm.GarantePlano(dm.cdsNotaTecnica());
    dm.cdsNotaTecnica()->First();
    dm.cdsNotaTecnica()->Edit();
    TfrmCadNotaTecnica nota(&dm);
    MedidasBench::salvaImagem(nota, args[2], QStringLiteral("nota-tecnica.png"));
    nota.btnCancelarClick();
    TfrmAlteraProtocolo protocolo(QStringLiteral("33902.123456/2015-11"), false);
    MedidasBench::salvaImagem(protocolo, args[2], QStringLiteral("altera-protocolo.png"));
    return 0;
}
