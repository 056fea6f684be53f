#include "app/FrmApresentacao.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "app/Aplicacao.h"
#include "common/Versao.h"

TfrmApresentacao::TfrmApresentacao(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_barra(new QProgressBar(this)),
      m_timer(new QTimer(this)) {
    setObjectName(QStringLiteral("frmApresentacao"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral("TfrmApresentacao { background: #f4f7fb; border: 2px solid #1f4e79; }"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 24, 32, 24);
    auto* nome = new QLabel(AplicacaoQev::NomeCurto(), this);
    nome->setStyleSheet(QStringLiteral("font-size: 40pt; font-weight: bold; color: #1f4e79;"));
    nome->setAlignment(Qt::AlignCenter);
    auto* titulo = new QLabel(AplicacaoQev::TituloSistema(), this);
    titulo->setStyleSheet(QStringLiteral("font-size: 13pt; color: #1f4e79;"));
    titulo->setAlignment(Qt::AlignCenter);
    auto* versao = new QLabel(QStringLiteral("versão ") + VersaoSistema(true), this);
    versao->setObjectName(QStringLiteral("lblVersao"));
    versao->setAlignment(Qt::AlignCenter);
    m_barra->setRange(0, 100);
    m_barra->setValue(0);
    m_barra->setTextVisible(false);
    layout->addWidget(nome);
    layout->addWidget(titulo);
    layout->addWidget(versao);
    layout->addSpacing(12);
    layout->addWidget(m_barra);
    resize(460, 240);
    if (QScreen* tela = QGuiApplication::primaryScreen())
        move(tela->availableGeometry().center() - rect().center());
    connect(m_timer, &QTimer::timeout, this, &TfrmApresentacao::verificaBarra);
    m_timer->start(3000);
}

void TfrmApresentacao::DefineProgresso(int valor) {
    m_barra->setValue(valor);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TfrmApresentacao::verificaBarra() {
    if (m_barra->value() >= 100) {
        m_timer->stop();
        close();
    }
}
