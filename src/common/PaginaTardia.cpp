#include "common/PaginaTardia.h"

#include <QLayout>
#include <QVBoxLayout>


PaginaTardia::PaginaTardia(Montagem monta, QWidget* pai) : QWidget(pai), m_monta(std::move(monta)) {
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
}

void PaginaTardia::showEvent(QShowEvent* e) {
    Garante();
    QWidget::showEvent(e);
}

void PaginaTardia::Garante() {
    if (m_conteudo || m_montando) return;
    m_montando = true;
    auto* conteudo = new QWidget(this);
    conteudo->setObjectName(objectName() + QStringLiteral("Conteudo"));
    m_monta(conteudo);
    layout()->addWidget(conteudo);
    m_conteudo = conteudo;
    m_montando = false;

    // A widget created now goes to the end of the window's Tab order: the contents are put
    // back where the page is, after the last widget before it that takes the focus.
    QWidget* antes = this;
    do
        antes = antes->previousInFocusChain();
    while (antes && antes != window() && antes->focusPolicy() == Qt::NoFocus);
    QList<QWidget*> novos;
    for (QWidget* w = conteudo->nextInFocusChain(); w && conteudo->isAncestorOf(w); w = w->nextInFocusChain())
        novos << w;
    if (antes && antes != window())
        for (QWidget* w : novos)
            if (w->focusPolicy() != Qt::NoFocus) {
                QWidget::setTabOrder(antes, w);
                antes = w;
            }

    // children made while the page is on screen stay hidden until shown
    conteudo->show();
    layout()->activate();
}
