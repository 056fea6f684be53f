// capturas_pendencias PASTA_IMAGENS
//
// Images, under a (virtual) display, of what tells the user why a plan is not ready and
// of the safe copy: the request screen with a red row's hint open, the backup dialog
// (before and after the copy), the restoration dialog with its confirmation.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "app/Aplicacao.h"
#include "app/FrmCopiaSeguranca.h"
#include "common/FrmMyMessageDlg.h"
#include "db/CriaBanco.h"
#include "db/DmConexao.h"
#include "app/Inicio.h"
#include "plans/FrmCadPlano.h"
#include "request/PendenciasPlano.h"
#include <QTreeWidget>
#include "platform/LinhaComando.h"
#include "platform/Plataforma.h"
#include "request/FrmSolicitaRegPlano.h"

namespace {
QString g_imagens;

void salvaTela(const QString& nome) {
    QCoreApplication::processEvents();
    QTest::qWait(400);
    const QPixmap p = QGuiApplication::primaryScreen()->grabWindow(0);
    p.save(QDir(g_imagens).filePath(nome));
    std::printf("%s\n", qPrintable(nome));
}

// Grabs the screen once the next modal message is up, then answers it with `botao`.
void respondeMensagem(const QString& nome, const QString& botao) {
    QTimer::singleShot(800, [nome, botao] {
        salvaTela(nome);
        if (QWidget* m = QApplication::activeModalWidget())
            for (QAbstractButton* b : m->findChildren<QAbstractButton*>())
                if (b->text().remove(QLatin1Char('&')).compare(botao, Qt::CaseInsensitive) == 0) {
                    b->click();
                    return;
                }
    });
}
}  // namespace

int main(int argc, char** argv) {
    AplicacaoQev app(argc, argv);  // as the program: its letters, its translations
    const QStringList args = LeArgumentos(
        app, QStringLiteral("Grava imagens da dica das linhas vermelhas e da cópia de segurança."),
        {{QStringLiteral("PASTA_IMAGENS"), QStringLiteral("Pasta das imagens.")}});
    g_imagens = args[0];
    QDir().mkpath(g_imagens);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    InstalaTratadorGrafico();

    QTemporaryDir dir, documentos;
    const QString pasta = dir.path() + QLatin1Char('/');
    PastaPrograma::define(pasta);
    CriaBanco::cria(pasta + QStringLiteral("QEV.mdb"),
                    {CriaBanco::leScript(QStringLiteral(QEV_DIR_FONTES "/data/schema.sql")),
                     CriaBanco::leScript(QStringLiteral(QEV_DIR_FONTES "/data/referencia.sql")),
                     QStringLiteral(
                         "INSERT INTO OPERADORAS (CD_OPER, CD_CNPJ, NM_RAZAO_SOCIAL, CD_GRUPO_CLASSIFICACAO, "
                         "CD_REGIAO_ATUACAO) VALUES ('123456', '11222333000181', 'OPERADORA EXEMPLO', 22, 1);"
                         "INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_ABRANGENCIA, CD_SEGMENTACAO, "
                         "CD_TIPO_CONTRATO, CD_STATUS_ENVIO, LG_CONSISTENTE, LG_REDE_VINCULADA) VALUES "
                         "('123456', 1, 'PLANO OURO', 3, 2, 1, 0, 'N', 'S'), "
                         "('123456', 2, 'PLANO PRATA', 3, 2, 1, 0, 'S', 'S');")});
    Inicio::Modulos modulos;  // the connection and every data module, as at start
    modulos.abreBanco([](int) {});
    modulos.criaModulos([](int) {});
    InstalaVerificacaoPendencias();

    {   // the plan screen: "Verificar pendências" on a plan that misses things
        TfrmCadPlano tela;
        tela.show();
        (void)QTest::qWaitForWindowExposed(&tela);
        QTest::qWait(300);
        QApplication::setActiveWindow(&tela);
        (void)QTest::qWaitForWindowActive(&tela);
        tela.actVerificarPendencias->trigger();
        salvaTela(QStringLiteral("plano-pendencias.png"));
        QTreeWidget* l = tela.pnlPendencias->lista();
        if (l->topLevelItemCount() > 1) {
            l->setCurrentItem(l->topLevelItem(1));
            QTest::keyClick(l, Qt::Key_Return);
            salvaTela(QStringLiteral("plano-pendencias-ir-para.png"));
            if (tela.edicao()->Editando()) tela.actCancelar->trigger();
        }
    }

    {   // the request screen: plan 1 checked by a double click, its hint open
        TfrmSolicitaRegPlano tela;
        tela.resize(900, 480);
        tela.show();
        (void)QTest::qWaitForWindowExposed(&tela);
        QTest::qWait(500);
        QTableView* v = tela.dbgPlanos;
        const QPoint ponto = v->visualRect(v->model()->index(0, 0)).center();
        QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, ponto);
        QTest::mouseDClick(v->viewport(), Qt::LeftButton, {}, ponto);
        QTest::qWait(500);
        v->clearSelection();
        QCursor::setPos(v->viewport()->mapToGlobal(ponto));
        QHelpEvent dica(QEvent::ToolTip, ponto, v->viewport()->mapToGlobal(ponto));
        QCoreApplication::sendEvent(v->viewport(), &dica);
        salvaTela(QStringLiteral("solicitacao-dica-linha-vermelha.png"));
    }

    const QString copia = QDir(documentos.path()).filePath(CopiaSeguranca::NomePadrao(Relogio::agora().date()));
    {   // the backup: the dialog as it opens, then the copy written
        TfrmCopiaSeguranca dlg(TfrmCopiaSeguranca::Modo::Gravar);
        dlg.edtArquivo()->setText(copia);
        dlg.show();
        (void)QTest::qWaitForWindowExposed(&dlg);
        salvaTela(QStringLiteral("copia-seguranca.png"));
        respondeMensagem(QStringLiteral("copia-seguranca-gravada.png"), QStringLiteral("OK"));
        dlg.btnConfirmar()->click();
    }
    {   // the restoration: the dialog, its confirmation, the restored operator
        TfrmCopiaSeguranca dlg(TfrmCopiaSeguranca::Modo::Restaurar);
        dlg.edtArquivo()->setText(copia);
        dlg.show();
        (void)QTest::qWaitForWindowExposed(&dlg);
        salvaTela(QStringLiteral("restaura-copia.png"));
        respondeMensagem(QStringLiteral("restaura-copia-confirmacao.png"), QStringLiteral("Sim"));
        dlg.btnConfirmar()->click();
        std::printf("restaurada: %s\n", qPrintable(dlg.Restaurado().razaoSocial));
    }
    {   // a refused file
        QFile lixo(QDir(documentos.path()).filePath(QStringLiteral("danificado.mdb")));
        lixo.open(QIODevice::WriteOnly);
        lixo.write(QByteArray(4096, 'x'));
        lixo.close();
        TfrmCopiaSeguranca dlg(TfrmCopiaSeguranca::Modo::Restaurar);
        dlg.edtArquivo()->setText(lixo.fileName());
        dlg.show();
        (void)QTest::qWaitForWindowExposed(&dlg);
        respondeMensagem(QStringLiteral("restaura-copia-recusada.png"), QStringLiteral("OK"));
        dlg.btnConfirmar()->click();
    }
    return 0;
}
