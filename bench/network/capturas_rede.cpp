// capturas_rede PASTA_BASE PASTA_IMAGENS
// Shows the establishment screen (browsing and editing) and the search dialog on
// the generated database and saves an image of each window (for a person to look at).
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>
#include <cstdio>

#include "app/Aplicacao.h"
#include "GeraBaseEstab.h"
#include "MedidasBench.h"
#include "common/FrmConsulta.h"
#include "db/DmConexao.h"
#include "db/DmMunicipio.h"
#include "operator/DmZemlo.h"
#include "network/DmHospital.h"
#include "network/FrmCadHosp.h"
#include "network/FrmDlgLimpaEstab.h"
#include "network/FrmDlgOpcaoPesqEstb.h"
#include "platform/Mensagens.h"
#include "platform/Plataforma.h"
#include "platform/LinhaComando.h"

int main(int argc, char** argv) {
    // without a display (answering --help, or on a build machine) the images are drawn off screen
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    AplicacaoQev app(argc, argv);  // as the program runs: letters, translations, clock
    QStringList args = LeArgumentos(
        app, QStringLiteral("Grava imagens das telas de estabelecimentos sobre a base grande."),
        {{QStringLiteral("PASTA_BASE"), QStringLiteral("Pasta da base (gerada se faltar).")},
         {QStringLiteral("PASTA_IMAGENS"), QStringLiteral("Pasta das imagens.")}});
    args.prepend(QString());  // args[1], args[2] as below
    const QString caminho = QDir(args[1]).filePath(QStringLiteral("QEV.mdb"));
    if (!QFileInfo::exists(caminho)) GeraBaseEstab::gera(args[1], 100000);
    QDir().mkpath(args[2]);
    Mensagens::defineTratador(
        [](const Mensagens::Pedido& p) { return Mensagens::respostaPadrao(p.botoes); });

    TDmConexao conexao;
    conexao.banco().abre(caminho, TDmConexao::SenhaBanco());
    TDMZemlo zemlo;
    TDmHospital dm;
    TDmMunicipio municipios;

    TfrmCadHosp tela;
    tela.IdEstabInicial = 50000;
    MedidasBench::salvaImagem(tela, args[2], QStringLiteral("cadhosp-consulta.png"));
    tela.actAlterar->trigger();
    tela.cmbTipoHospital->setCurrentIndex(1);
    emit tela.cmbTipoHospital->activated(1);
    tela.cmbTipoContratacao->setCurrentIndex(1);
    emit tela.cmbTipoContratacao->activated(1);
    tela.edtRegOperIntermed->setText(QStringLiteral("345679"));
    tela.edRazao->setFocus();
    MedidasBench::salvaImagem(tela, args[2], QStringLiteral("cadhosp-alteracao.png"));
    tela.actCancelar->trigger();

    TfrmConsulta consulta(
        nullptr, TDmHospital::LegendaPesquisa(1),
        QStringLiteral("CNES;C.N.P.J;Razão Social;Id Estab. Saúde"),
        QStringLiteral("CD_CNES;CD_CNPJ_ESTB_SAUD;RAZAO_SOCIAL_ESTB_SAUD;ID_ESTB_SAUD"),
        TDmHospital::SqlPesquisa(1), conexao.banco(), TDmHospital::ParametrosPesquisa(1));
    consulta.EscondeColuna(QStringLiteral("ID_ESTB_SAUD"));
    consulta.OrdenaPor(2);
    QTest::keyClicks(consulta.edtPesquisa(), QStringLiteral("Hosp"));
    consulta.ExecutaBusca();
    MedidasBench::salvaImagem(consulta, args[2], QStringLiteral("consulta-estabelecimentos.png"));

    TfrmDlgOpcaoPesqEstb opcao;
    MedidasBench::salvaImagem(opcao, args[2], QStringLiteral("opcao-pesquisa.png"));
    TfrmDlgLimpaEstab limpa;
    MedidasBench::salvaImagem(limpa, args[2], QStringLiteral("limpa-estabelecimentos.png"));
    return 0;
}
