#include "app/FrmAvisoVersao.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "common/Logotipo.h"
#include "common/CursorEspera.h"
#include "platform/Plataforma.h"

TfrmZubAvisoVersao::TfrmZubAvisoVersao(const QString& sigla, const QString& versaoPublicada,
                                       const QString& link, bool permiteContinuar, QWidget* parent)
    : QDialog(parent),
      m_endereco(link),
      m_titulo(new QLabel(QStringLiteral("  Atualização do sistema ") + sigla, this)),
      m_texto(new QLabel(this)),
      m_link(new QLabel(link, this)),
      m_finalizacao(new QLabel(this)),
      m_ok(new QPushButton(QStringLiteral("OK"), this)) {
    setObjectName(QStringLiteral("frmZubAvisoVersao"));
    setWindowTitle(QStringLiteral("Atualização da versão do sistema"));

    m_titulo->setObjectName(QStringLiteral("lblTitulo"));
    m_titulo->setAutoFillBackground(true);
    m_titulo->setStyleSheet(QStringLiteral(
        "background: #1f4e79; color: white; font-size: 14pt; font-weight: bold; padding: 8px;"));

    m_texto->setObjectName(QStringLiteral("lblTexto"));
    m_texto->setTextFormat(Qt::PlainText);
    m_texto->setText(QStringLiteral("Caro usuário, sua versão do sistema ") + sigla +
                     QStringLiteral(" esta desatualizada.\n") + QStringLiteral("A nova versão ") +
                     versaoPublicada +
                     QStringLiteral(" já esta disponivel no site da ZUB no endereço: "));

    m_link->setObjectName(QStringLiteral("lblLink"));
    m_link->setTextFormat(Qt::PlainText);
    m_link->setStyleSheet(QStringLiteral("color: #0645ad; text-decoration: underline;"));
    m_link->setCursor(Qt::PointingHandCursor);
    m_link->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_link->installEventFilter(this);

    m_finalizacao->setObjectName(QStringLiteral("lblFinalizacao"));
    m_finalizacao->setTextFormat(Qt::PlainText);
    m_finalizacao->setWordWrap(true);
    m_finalizacao->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    m_finalizacao->setText(QStringLiteral(
        "A versão atual da sua aplicação não deve mais ser utilizada, por isso, a mesma "
        "será finalizada. Por favor, atualize a versão do seu aplicativo."));
    m_finalizacao->setVisible(!permiteContinuar);

    m_ok->setObjectName(QStringLiteral("btnOk"));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* logo = new QLabel(this);
    logo->setPixmap(Logotipo::pixmap(48));
    auto* corpo = new QHBoxLayout;
    corpo->addWidget(logo, 0, Qt::AlignTop);
    auto* textos = new QVBoxLayout;
    textos->addWidget(m_texto);
    textos->addWidget(m_link);
    textos->addSpacing(6);
    textos->addWidget(m_finalizacao);
    corpo->addLayout(textos, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 10);
    layout->addWidget(m_titulo);
    auto* meio = new QVBoxLayout;
    meio->setContentsMargins(14, 8, 14, 0);
    meio->addLayout(corpo);
    layout->addLayout(meio);
    layout->addStretch(1);
    layout->addWidget(m_ok, 0, Qt::AlignCenter);
    setMinimumWidth(560);
}

void TfrmZubAvisoVersao::AbreLink() {
    // The address comes from the network: only a web address is handed to the browser.
    const QUrl url = QUrl::fromUserInput(m_endereco.trimmed());
    if (!url.isValid() ||
        (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")))
        return;
    const CursorEspera espera;
    Lancador::abreEndereco(url);
}

bool TfrmZubAvisoVersao::eventFilter(QObject* alvo, QEvent* e) {
    if (alvo == m_link && e->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
        AbreLink();
        return true;
    }
    return QDialog::eventFilter(alvo, e);
}
