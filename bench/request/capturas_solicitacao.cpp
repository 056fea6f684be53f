// capturas_solicitacao PASTA_BASE PASTA_IMAGENS
//
// Images of the request screen on the large generated database: the first verification
// with its progress panel, the list with plans ready and not ready, the transmission
// dialog, and the report of the errors found.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProgressBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include "app/Aplicacao.h"
#include "GeraBaseEstab.h"
#include "MedidasBench.h"
#include "common/ExecucaoModal.h"
#include "db/DmConexao.h"
#include "db/DmLookup.h"
#include "operator/DmZemlo.h"
#include "platform/LinhaComando.h"
#include "platform/Mensagens.h"
#include "platform/Plataforma.h"
#include "app/LigacoesRelatorios.h"
#include "request/DmExportacao.h"
#include "request/FrmDlgTransmissaoArq.h"
#include "request/FrmSolicitaRegPlano.h"

int main(int argc, char** argv) {
    GeraBaseEstab::preparaAmbiente();
    AplicacaoQev app(argc, argv);  // as the program runs: letters, translations, clock
    const QStringList args = LeArgumentos(
        app, QStringLiteral("Grava imagens da tela de solicitação de registro sobre a base grande."),
        {{QStringLiteral("PASTA_BASE"), QStringLiteral("Pasta da base grande (gerada se faltar).")},
         {QStringLiteral("PASTA_IMAGENS"), QStringLiteral("Pasta das imagens.")}});
    const QString origem = QDir(args[0]).filePath(QStringLiteral("QEV.mdb"));
    if (!QFile::exists(origem)) GeraBaseEstab::gera(args[0], 100000);
    const QString imagens = args[1];
    QDir().mkpath(imagens);
    Mensagens::defineTratador([](const Mensagens::Pedido& p) { return Mensagens::respostaPadrao(p.botoes); });

    QTemporaryDir dir;
    const QString pasta = dir.path() + QLatin1Char('/');
    QFile::copy(origem, pasta + QStringLiteral("QEV.mdb"));
    PastaPrograma::define(pasta);
    TDmConexao conexao;
    conexao.banco().abre(pasta + QStringLiteral("QEV.mdb"), TDmConexao::SenhaBanco());
    // Half of the plans marked ready, the rest not.
    conexao.banco().executa(QStringLiteral(
        "UPDATE TB_PLANOS SET CD_STATUS_ENVIO = 0, LG_CONSISTENTE = CASE WHEN SEQ_PLANO % 2 = 0 THEN 'S' "
        "ELSE 'N' END, LG_REDE_VINCULADA = 'S'"));
    TDMZemlo zemlo;
    TdmLookup lookup;
    TDmExportacao exportacao;
    InstalaTelasRelatorios();

    TfrmSolicitaRegPlano tela;
    tela.resize(1024, 700);
    bool progresso = false;
    QTimer vigia;
    QObject::connect(&vigia, &QTimer::timeout, [&] {
        if (progresso || !tela.pnlBarraProgresso->isVisible() || tela.gauge->value() < 200) return;
        progresso = true;
        tela.grab().save(QDir(imagens).filePath(QStringLiteral("solicitacao-progresso.png")));
    });
    vigia.start(20);
    MedidasBench::salvaImagem(tela, imagens, QStringLiteral("solicitacao-inicio.png"));
    QTest::qWait(15000);
    while (tela.pnlBarraProgresso->isVisible()) QTest::qWait(200);
    vigia.stop();
    MedidasBench::salvaImagem(tela, imagens, QStringLiteral("solicitacao-lista.png"));

    // A send of plans 2, 4 and 3 (not ready: only 2 and 4 are selected by "Marcar todos" for
    // the image; the send takes 2 and 4).
    tela.dbgPlanos->selectionModel()->select(tela.dbgPlanos->model()->index(1, 0),
                                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
    tela.dbgPlanos->selectionModel()->select(tela.dbgPlanos->model()->index(3, 0),
                                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
    MedidasBench::salvaImagem(tela, imagens, QStringLiteral("solicitacao-selecao.png"));
    int n = 0;
    Modal::define([&](QDialog& d) {
        d.resize(std::max(d.width(), 900), std::max(d.height(), 600));
        if (qobject_cast<TfrmDlgTransmissaoArq*>(&d)) d.resize(520, 420);
        d.show();
        QTest::qWait(1500);
        const QString nome = QStringLiteral("solicitacao-dialogo-%1.png").arg(++n);
        d.grab().save(QDir(imagens).filePath(nome));
        std::printf("%s: %s\n", qPrintable(nome), qPrintable(d.windowTitle()));
        return int(QDialog::Rejected);
    });
    tela.SolicitaEnvio(false);

    // The transmission dialog as the send opens it.
    TEnvio envio;
    envio.SeqPlano = 2;
    envio.NmPlano = QStringLiteral("PLANO PREMIUM 2");
    envio.NmArquivo = QStringLiteral("123455310120241405090002.QEV");
    TfrmDlgTransmissaoArq transmissao({envio}, QString::fromLatin1(GeraBaseEstab::kOperadora), 0,
                                      QStringLiteral("12345520240131140509"));
    MedidasBench::salvaImagem(transmissao, imagens, QStringLiteral("solicitacao-transmissao.png"));
    return 0;
}
