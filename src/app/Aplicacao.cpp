#include "app/Aplicacao.h"

#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "db/Erro.h"
#include "common/Entradas.h"
#include "common/Estilo.h"
#include "common/MensagemDlg.h"
#include "common/Mnemonicos.h"
#include "platform/Plataforma.h"

AplicacaoQev::AplicacaoQev(int& argc, char** argv) : QApplication(argc, argv) {
    Relogio::FixaFusoHorario();
    setApplicationName(QStringLiteral("QEV Operadora"));
    setApplicationDisplayName(QStringLiteral("QEV Operadora"));
    setStyle(new EstiloQev);
    {
        // Latin texts drawn without the shaping engine (it served kerning alone, and was a
        // tenth of opening a screen and half of painting a grid's cells)
        QFont f = font();
        f.setStyleStrategy(QFont::PreferNoShaping);
        setFont(f);
    }
    InstalaCursorDasCaixasVazias(this);
    Mnemonicos::Instala(this);
    CarregaTraducoesQt();
}

bool AplicacaoQev::CarregaTraducoesQt() {
    // The toolkit's own texts (file chooser, print dialog, standard buttons) in the
    // language of the rest of the program, whatever the machine's locale.
    const QLocale br(QLocale::Portuguese, QLocale::Brazil);
    QLocale::setDefault(br);
    if (m_traducaoQt) removeTranslator(m_traducaoQt);
    else m_traducaoQt = new QTranslator(this);
    const QString pasta = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!m_traducaoQt->load(br, QStringLiteral("qtbase"), QStringLiteral("_"), pasta) &&
        !m_traducaoQt->load(br, QStringLiteral("qt"), QStringLiteral("_"), pasta))
        return false;
    return installTranslator(m_traducaoQt);
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
