#include "app/Aplicacao.h"

#include "db/Erro.h"
#include "common/Entradas.h"
#include "common/MensagemDlg.h"
#include "platform/Plataforma.h"

AplicacaoQev::AplicacaoQev(int& argc, char** argv) : QApplication(argc, argv) {
    Relogio::FixaFusoHorario();
    setApplicationName(QStringLiteral("QEV Operadora"));
    setApplicationDisplayName(QStringLiteral("QEV Operadora"));
    InstalaCursorDasCaixasVazias(this);
}

bool AplicacaoQev::notify(QObject* receptor, QEvent* evento) {
    try {
        return QApplication::notify(receptor, evento);
    } catch (const ErroQev& e) {
        MostraErroSimples(e.mensagem());
    } catch (const std::exception& e) {
        MostraErroSimples(QString::fromLocal8Bit(e.what()));
    }
    return false;
}
