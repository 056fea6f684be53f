#include "common/Habilitacoes.h"

#include <QAction>
#include <QWidget>
#include <algorithm>

void Habilitacoes::pede(QObject* objeto, bool ehAcao, bool visibilidade, bool valor) {
    if (!objeto) return;
    for (Pedido& p : m_pedidos)
        if (p.objeto == objeto && p.visibilidade == visibilidade) {
            p.valor = valor;
            return;
        }
    m_pedidos.push_back({objeto, ehAcao, visibilidade, valor});
}

void Habilitacoes::habilita(QAction* acao, bool sim) { pede(acao, true, false, sim); }
void Habilitacoes::habilita(QWidget* controle, bool sim) { pede(controle, false, false, sim); }
void Habilitacoes::mostra(QAction* acao, bool sim) { pede(acao, true, true, sim); }
void Habilitacoes::mostra(QWidget* controle, bool sim) { pede(controle, false, true, sim); }

int Habilitacoes::aplica() const {
    int mudaram = 0;
    // what shows first, then what may be used
    QVector<Pedido> pedidos = m_pedidos;
    std::stable_partition(pedidos.begin(), pedidos.end(), [](const Pedido& p) { return p.visibilidade; });
    for (const Pedido& p : std::as_const(pedidos)) {
        if (p.ehAcao) {
            auto* a = static_cast<QAction*>(p.objeto);
            if (p.visibilidade) {
                if (a->isVisible() == p.valor) continue;
                a->setVisible(p.valor);
            } else {
                // a hidden action reads as disabled whatever it was told: it is told again
                // once it shows
                if (a->isEnabled() == p.valor || (p.valor && !a->isVisible())) continue;
                a->setEnabled(p.valor);
            }
        } else {
            auto* w = static_cast<QWidget*>(p.objeto);
            if (p.visibilidade) {
                // what the widget itself asks, whatever its window shows
                if (w->isHidden() != p.valor) continue;
                w->setVisible(p.valor);
            } else {
                // its own state, not the one it inherits from a disabled parent
                if (w->testAttribute(Qt::WA_ForceDisabled) != p.valor) continue;
                w->setEnabled(p.valor);
            }
        }
        ++mudaram;
    }
    return mudaram;
}
