// capturas_relatorios PASTA IMAGENS
//
// Writes a small example database into PASTA, then an image of the first page of every
// report (and of the preview and the report dialogs) into IMAGENS, plus the
// establishment list printed to IMAGENS/impresso.pdf. For looking at what the user sees.
// Then the windows at the size they open with (run it under a virtual display of the
// size to look at, with QT_QPA_PLATFORM=xcb, to see them on that screen): the plan screen's
// network tab, the batch linking, the transmission dialog, a record screen while browsing,
// a long message and a file chooser.
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTimer>

#include "app/Aplicacao.h"
#include "common/FrmMyMessageDlg.h"
#include "db/CriaBanco.h"
#include "db/DmMunicipio.h"
#include "network/DmHospital.h"
#include "network/FrmCadHosp.h"
#include "plans/DmInfoPlano.h"
#include "plans/DmPlano.h"
#include "plans/FrmCadPlano.h"
#include "plans/FrmManutencaoRede.h"
#include "request/FrmDlgTransmissaoArq.h"
#include "db/DmConexao.h"
#include "platform/LinhaComando.h"
#include "db/DmLookup.h"
#include "operator/DmZemlo.h"
#include "devices/DmClausula.h"
#include "platform/Mensagens.h"
#include "platform/Plataforma.h"
#include "reports/AberturasRelatorios.h"
#include "reports/FrmErrosGenericos.h"
#include "reports/FrmPreviewQR.h"
#include "reports/FrmRelConsiste.h"
#include "reports/QrpSolicitaRegPlano.h"
#include "request/DmExportacao.h"

namespace {

QString exemplo() {
    QString s = QStringLiteral(
        "INSERT INTO OPERADORAS (CD_OPER, CD_CNPJ, NM_RAZAO_SOCIAL, CD_GRUPO_CLASSIFICACAO) "
        "VALUES ('123455', '11222333000181', 'OPERADORA SÃO LUCAS DE SAÚDE LTDA', 22);");
    const char* nomes[] = {"HOSPITAL SÃO JOSÉ", "Clínica Santa Lúcia", "LABORATÓRIO ÁVILA", "Casa de Saúde d'Ávila",
                           "Hospital Nossa Senhora da Conceição", "Policlínica Éden", "PRONTO-SOCORRO ÔMEGA",
                           "Maternidade Coração de Maria", "Centro Médico Beneficência", "Hospital São Camilo"};
    const int municipios[] = {3550308, 3509502, 3304557, 3106200, 4106902, 5300108};
    for (int i = 1; i <= 60; ++i) {
        const bool contratado = i % 3 == 0;
        s += QStringLiteral(
                 "INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, CD_OPER, CD_CNPJ_ESTB_SAUD, CD_CNES, "
                 "RAZAO_SOCIAL_ESTB_SAUD, CD_CLASSIF_ESTAB_SAUDE, CD_TIPO_ESTB_SAUD, "
                 "CD_TIPO_CONTRATO_ESTB_SAUDE, DT_CONTRATO_OPER, DT_VINCULO_OPER, ID_MUNC, "
                 "LG_HOSPITAL_INCLUIDO) VALUES (%1, '123455', '%2', %3, '%4 %1', %5, %6, %7, %8, "
                 "'2018-05-%9', %10, 'N');")
                 .arg(i)
                 .arg(i % 7 == 0 ? QStringLiteral("529982247") + QString::number(10 + i % 90)
                                 : QString::number(11222333 + i * 1111) + QStringLiteral("000181"))
                 .arg(i % 5 == 0 ? QStringLiteral("NULL") : QStringLiteral("'%1'").arg(1000000 + i * 37))
                 .arg(QString::fromUtf8(nomes[i % 10]).replace(QLatin1String("'"), QLatin1String("''")))
                 .arg(1 + i % 3)
                 .arg(contratado ? 2000 : 1000)
                 .arg(contratado ? (i % 2 ? QStringLiteral("'D'") : QStringLiteral("'I'")) : QStringLiteral("NULL"))
                 .arg(contratado ? QStringLiteral("'2019-03-02'") : QStringLiteral("NULL"))
                 .arg(10 + i % 18)
                 .arg(municipios[i % 6]);
    }
    const char* planos[] = {"PLANO ESSENCIAL ENFERMARIA", "Plano Empresarial Apartamento", "Plano Adesão Regional",
                            "Plano Odonto Família", "Plano Sênior Nacional"};
    for (int p = 0; p < 5; ++p)
        s += QStringLiteral(
                 "INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_SEGMENTACAO, CD_TIPO_CONTRATO, "
                 "CD_ABRANGENCIA, CD_TIPO_FINANC, CD_OPCAO_POS_ESTABELECIDO, CD_PADRAO_ACOMODACAO, "
                 "LG_VB_VINCULO_ATIVO, LG_VB_VINCULO_INATIVO, LG_VB_SEM_VINCULO, LG_FM_COPARTICIPACAO, "
                 "LG_FM_FRANQUIA, CD_PARTC_FINANC_PJ, LG_TOTAL_LIVRE_ESCOLHA, CD_STATUS_ENVIO, "
                 "NR_PROTOCOLO_REGISTRO, DT_PROTOCOLO_REGISTRO) VALUES ('123455', %1, '%2', %3, %4, %5, "
                 "%6, 'C', 'I', 'S', 'N', 'S', 'S', 'N', 'C', 'N', %7, %8, %9);")
                 .arg(p)
                 .arg(QString::fromUtf8(planos[p]))
                 .arg(p == 3 ? 4 : 6 + p % 2)
                 .arg(1 + p % 3)
                 .arg(1 + p % 5)
                 .arg(1 + p % 3)
                 .arg(p < 3 ? 1 : 0)
                 .arg(p < 3 ? QStringLiteral("'4471%1'").arg(p) : QStringLiteral("NULL"))
                 .arg(p < 3 ? QStringLiteral("'2023-11-2%1 10:15:00'").arg(p) : QStringLiteral("NULL"));
    for (int i = 1; i <= 60; ++i)
        if (i % 4 != 0) s += QStringLiteral("INSERT INTO RL_PLANOS_ESTAB_SAUDE VALUES ('123455', %1, %2, NULL, 'S');").arg(i % 3).arg(i);
    s += QStringLiteral(
        "INSERT INTO TB_PLANOS_PROTOCOLOS VALUES ('123455', 0, '99887766', '2024-02-01 09:00:00');"
        "INSERT INTO RL_PLANO_TAXA_REGISTRO VALUES ('123455', 0, 1, '03212345678901234567');"
        "INSERT INTO RL_PLANOS_TIPO_COBERTURA VALUES ('123455', 0, 1);"
        "INSERT INTO RL_PLANOS_TIPO_COBERTURA VALUES ('123455', 0, 3);"
        "INSERT INTO RL_PLANOS_SERV_OPC VALUES ('123455', 0, 3, 'Até 30 dias por ano, após alta hospitalar');"
        "INSERT INTO RL_PLANOS_SERV_OPC VALUES ('123455', 0, 11, NULL);"
        "INSERT INTO RL_PLANO_NOTA_TECNICA VALUES ('123455', 0, 1, '445566', '123455000000001150624100000.nta', '2024-06-15');"
        "INSERT INTO RL_PLANOS_MUNICIPIO VALUES ('123455', 0, 3550308);"
        "INSERT INTO RL_PLANOS_MUNICIPIO VALUES ('123455', 0, 3509502);");
    const char* textos[] = {
        "A CONTRATADA garantirá ao BENEFICIÁRIO a cobertura dos procedimentos listados no Rol de Procedimentos "
        "e Eventos em Saúde vigente na data do evento, nos termos da segmentação contratada, inclusive os "
        "procedimentos de urgência e emergência, observados os prazos de carência previstos neste contrato.",
        "Os prazos de carência são de 24 horas para urgência e emergência, 180 dias para os demais casos e 300 "
        "dias para parto a termo.",
        "O presente contrato tem vigência mínima de 12 meses, renovando-se automaticamente por prazo "
        "indeterminado, sem cobrança de taxas ou qualquer outro valor no ato da renovação."};
    const int temas[] = {12, 16, 10};
    for (int d = 0; d < 3; ++d) {
        s += QStringLiteral(
                 "INSERT INTO TB_CLAUSULA_OPERADORA (CD_CLAUSULA_OPERADORA, CD_OPER, CD_TIPO_CLAUSULA, "
                 "CD_IDENTIFICACAO_TEXTO, DE_CLAUSULA_OPERADORA, TX_CLAUSULA_OPERADORA, CD_STATUS_ENVIO, "
                 "CD_SEGMENTACAO, CD_TIPO_CONTRATO) VALUES (%1, '123455', %2, 'CL-%1', 'Cláusula %1', '%3', %4, 6, 2);"
                 "INSERT INTO RL_PLANO_CLAUSULA VALUES ('123455', 0, %1);")
                 .arg(d + 1)
                 .arg(temas[d])
                 .arg(QString::fromUtf8(textos[d]))
                 .arg(d == 0 ? 1 : 0);
    }
    return s;
}

void salvaPagina(const DocumentoRelatorio& d, const QString& arquivo) {
    const qreal porUnidade = 110 / UnidadeRelatorio::PorPolegada;  // 110 dpi
    QImage img((d.TamanhoPagina() * porUnidade).toSize(), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter g(&img);
    g.setRenderHint(QPainter::Antialiasing);
    g.setRenderHint(QPainter::TextAntialiasing);
    g.scale(porUnidade, porUnidade);
    d.Desenha(g, 0);
    g.end();
    img.save(arquivo);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    AplicacaoQev app(argc, argv);  // as the program: Qt's own texts in Portuguese
    const QStringList args = LeArgumentos(
        app, QStringLiteral("Grava uma base pequena de exemplo e a imagem da primeira página de cada relatório."),
        {{QStringLiteral("PASTA"), QStringLiteral("Pasta da base de exemplo.")},
         {QStringLiteral("IMAGENS"), QStringLiteral("Pasta das imagens.")}});
    const QString pasta = args[0], imagens = args[1];
    QDir().mkpath(pasta);
    QDir().mkpath(imagens);
    const QString caminho = QDir(pasta).filePath(QStringLiteral("QEV.mdb"));
    QFile::remove(caminho);
    const QString fontes = QStringLiteral(QEV_DIR_FONTES "/data/");
    CriaBanco::cria(caminho, {CriaBanco::leScript(fontes + QStringLiteral("schema.sql")),
                              CriaBanco::leScript(fontes + QStringLiteral("referencia.sql")), exemplo()});
    Mensagens::defineTratador([](const Mensagens::Pedido& p) { return Mensagens::respostaPadrao(p.botoes); });
    PastaPrograma::define(pasta);
    TDmConexao conexao;
    conexao.banco().abre(caminho, TDmConexao::SenhaBanco());
    TDMZemlo zemlo;
    TdmLookup lookup;
    TdmClausula clausula;
    TDmExportacao exportacao;
    Banco& b = conexao.banco();
    const QString op = QStringLiteral("123455");

    const auto grava = [&](Relatorio& r, const char* nome) {
        r.GeraTudo();
        salvaPagina(*r.Documento(), QDir(imagens).filePath(QString::fromLatin1(nome) + QStringLiteral(".png")));
    };
    TqrpEstabSaude estab(b, TqrpEstabSaude::Ordem::RazaoSocial, false);
    grava(estab, "1-estabelecimentos");
    TqrpPlanosSemEstabSaude semEstab(b, op);
    grava(semEstab, "2-planos-sem-estabelecimento");
    TqrpEstabSaudePlanos estabPlanos(b, op, QString());
    grava(estabPlanos, "3-estabelecimentos-e-planos");
    TqrpPlanoEstabSaude planoEstab(b, op, QVariant());
    grava(planoEstab, "4-planos-e-estabelecimentos");
    TqrpDispContratuais disp(clausula, op, QVariant(), TdmClausula::OrdemRelDisp::CodigoIdentificacao);
    grava(disp, "5-dispositivos");
    TqrpPlanos detalhado(b, op, 0, OpcoesRelatorioPlanos{});
    grava(detalhado, "6-plano-detalhado");
    OpcoesRelatorioPlanos nenhuma;
    nenhuma.livreEscolha = nenhuma.instrumentoJuridico = nenhuma.notasTecnicas = nenhuma.areaAtuacao =
        nenhuma.servicosAdicionais = nenhuma.taxaRegistro = false;
    TqrpPlanos geral(b, op, std::nullopt, nenhuma);
    grava(geral, "7-planos-sem-secoes");
    TqrpPlanosExportados enviados(b, op, true);
    grava(enviados, "8-planos-enviados");
    TqrpPlanosExportados naoEnviados(b, op, false);
    grava(naoEnviados, "9-planos-nao-enviados");
    int n = 0;
    exportacao.AdicionaErroPlano(n, QStringLiteral("Operadora"), -1, -1, -1, -1, QStringLiteral("TODOS OS PLANOS"),
                                 -1, QStringLiteral("A operadora não possui CNPJ válido."));
    exportacao.AdicionaErroPlano(n, QStringLiteral("Rede Hospitalar"), -1, 1, 2, 6,
                                 QStringLiteral("Plano Empresarial Apartamento"), 1,
                                 QStringLiteral("O plano não possui hospital com atendimento de urgência e emergência "
                                                "vinculado em cada município da sua área de atuação."));
    exportacao.AdicionaErroPlano(n, QStringLiteral("Taxa de Registro"), -1, 1, 2, 6,
                                 QStringLiteral("Plano Empresarial Apartamento"), 1,
                                 QStringLiteral("Documento de pagamento da taxa com dígito verificador inválido."));
    TqrpSolicitaRegPlano solicita;
    grava(solicita, "10-erros-envio");
    exportacao.LimpaErros();
    for (int i = 1; i <= 5; ++i)
        exportacao.AdicionaErro(n, QStringLiteral("CNES do Estabelecimento de Saúde"), 10 * i,
                                QStringLiteral("CNES inválido: o dígito verificador não confere."));
    TfrmRelConsiste consiste;
    consiste.DefineTipoRelatorio(0);
    grava(consiste, "11-erros-importacao");

    // The preview and the dialogs, as shown.
    TqrpEstabSaude mostrado(b, TqrpEstabSaude::Ordem::Cnpj, false);
    mostrado.Inicia();
    TfrmPreviewQR preview;
    preview.setWindowState(Qt::WindowNoState);
    preview.resize(1200, 860);
    preview.Exibe(mostrado);
    preview.show();
    while (!preview.Completo()) QApplication::processEvents();
    preview.FitHorizontalClick();
    QApplication::processEvents();
    preview.grab().save(QDir(imagens).filePath(QStringLiteral("12-preview.png")));
    const auto tela = [&](QWidget& w, const char* nome) {
        w.show();
        QApplication::processEvents();
        w.grab().save(QDir(imagens).filePath(QString::fromLatin1(nome) + QStringLiteral(".png")));
        w.close();
    };
    TfrmDlgPrintEstabSaude d1;
    tela(d1, "13-dialogo-estabelecimentos");
    TfrmDlgEstabSaudePlanos d2;
    tela(d2, "14-dialogo-estab-planos");
    TfrmDlgPlanoEstabSaude d3;
    tela(d3, "15-dialogo-planos-estab");
    TfrmDlgPrintClausula d4;
    tela(d4, "16-dialogo-dispositivos");
    TfrmDlgRelatorioPlanos d5(0);
    tela(d5, "17-dialogo-planos");
    TfrmDlgConsPlanoEstab d6(1);
    tela(d6, "18-planos-do-estabelecimento");

    // Printed: the establishment list on a PDF "printer".
    QPrinter& impressora = ImpressoraRelatorios();
    impressora.setOutputFormat(QPrinter::PdfFormat);
    impressora.setOutputFileName(QDir(imagens).filePath(QStringLiteral("impresso.pdf")));
    ImprimeDocumento(*estab.Documento());
    ReiniciaEscolhasImpressao(impressora);

    // The windows as they open, on the whole screen.
    TDmPlano dmPlano;
    TDmHospital hospital;
    TDmMunicipio municipios;
    TdmInfoPlano infoPlano;
    Lancador::define([](Lancador::Tipo, const QString&) { return true; });
    const auto janela = [&](QWidget& w, const QString& nome) {
        w.show();
        w.raise();
        w.activateWindow();
        QApplication::processEvents();
        QTest::qWait(400);
        QScreen* s = w.screen();
        QPixmap img = QGuiApplication::platformName() == QLatin1String("offscreen") || !s ? w.grab()
                                                                                      : s->grabWindow(0);
        img.save(QDir(imagens).filePath(nome + QStringLiteral(".png")));
        std::printf("%s: %dx%d em (%d,%d)\n", qPrintable(nome), w.width(), w.height(), w.x(), w.y());
    };
    {
        TfrmCadPlano plano;
        janela(plano, QStringLiteral("20-plano-consulta"));
        plano.actAlterar->trigger();
        plano.pgcInfoPlano->setCurrentWidget(plano.tbsRede);
        plano.Sincroniza();
        plano.AtualizaAcoes();
        janela(plano, QStringLiteral("21-plano-rede"));
        plano.actCancelar->trigger();
        plano.close();
    }
    {
        TfrmManutencaoRede lote;
        janela(lote, QStringLiteral("22-vinculacao-lote"));
        lote.close();
    }
    {
        TEnvio envio;
        envio.SeqPlano = 1;
        envio.NmPlano = QStringLiteral("Plano Empresarial Apartamento");
        envio.NmArquivo = QStringLiteral("123455310120241405090001.QEV");
        TfrmDlgTransmissaoArq transmissao({envio}, op, 0, QStringLiteral("12345520240131140509"));
        janela(transmissao, QStringLiteral("23-transmissao"));
        transmissao.close();
    }
    {
        TfrmCadHosp hosp;
        hosp.actProximo->trigger();
        janela(hosp, QStringLiteral("24-estabelecimento-consulta"));
        hosp.close();
    }
    {
        TfrmMyMessageDlg msg(TdmInfoPlano::MensagemFormatoNomeArquivo(), Mensagens::Cuidado, Mensagens::BtOk,
                             nullptr, QString(), nullptr);
        janela(msg, QStringLiteral("25-mensagem-longa"));
        msg.close();
    }
    {
        QFileDialog escolha(nullptr, QStringLiteral("Carregar relatório"), pasta,
                            QStringLiteral("Relatório QEV (*.QRP *.qrp *.Qrp)"));
        escolha.setOption(QFileDialog::DontUseNativeDialog);
        janela(escolha, QStringLiteral("26-escolha-arquivo"));
        escolha.close();
    }
    std::printf("imagens em %s\n", qPrintable(imagens));
    return 0;
}
