#include "common/FrmModBase.h"

#include <QAbstractButton>
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "platform/Plataforma.h"

TfrmModBase::TfrmModBase(QWidget* pai) : QDialog(pai) {
    auto* f5 = new QShortcut(QKeySequence(Qt::Key_F5), this);
    f5->setContext(Qt::WindowShortcut);
    f5->setObjectName(QStringLiteral("atalhoCalculadora"));
    connect(f5, &QShortcut::activated, this, [] { Lancador::abreCalculadora(); });
}

void TfrmModBase::AplicaCursorMao(QWidget* raiz) {
    for (QAbstractButton* b : raiz->findChildren<QAbstractButton*>())
        b->setCursor(Qt::PointingHandCursor);
}

void TfrmModBase::showEvent(QShowEvent* e) {
    AplicaCursorMao(this);
    QDialog::showEvent(e);
}

TfrmModDialogo::TfrmModDialogo(QWidget* pai) : TfrmModBase(pai) {
    auto* raiz = new QVBoxLayout(this);
    raiz->setContentsMargins(0, 0, 0, 0);
    raiz->setSpacing(0);
    m_conteudo = new QWidget(this);
    m_conteudo->setObjectName(QStringLiteral("pnlConteudo"));
    raiz->addWidget(m_conteudo, 1);

    auto* faixa = new QFrame(this);
    faixa->setObjectName(QStringLiteral("pnlBotoes"));
    faixa->setFrameShape(QFrame::StyledPanel);
    auto* lb = new QHBoxLayout(faixa);
    lb->setContentsMargins(8, 6, 8, 6);
    lb->addStretch(1);
    m_confirmar = new QPushButton(QStringLiteral("Confirmar"), faixa);
    m_confirmar->setObjectName(QStringLiteral("btnConfirmar"));
    m_confirmar->setToolTip(QStringLiteral("Confirmar"));
    m_confirmar->setDefault(true);
    m_cancelar = new QPushButton(QStringLiteral("Cancelar"), faixa);
    m_cancelar->setObjectName(QStringLiteral("btnCancelar"));
    m_cancelar->setToolTip(QStringLiteral("Cancelar"));
    lb->addWidget(m_confirmar);
    lb->addWidget(m_cancelar);
    raiz->addWidget(faixa);
    connect(m_confirmar, &QPushButton::clicked, this, [this] { ConfirmarClick(); });
    connect(m_cancelar, &QPushButton::clicked, this, [this] { CancelarClick(); });
}
