#pragma once
#include <QVector>

class QAction;
class QObject;
class QWidget;

// The enabled and visible states a screen wants for its actions and controls, gathered
// from every rule first and set afterwards, each only when it differs from what is shown.
// A later rule may overrule an earlier one (the last word counts), and nothing is switched
// off and on again in one pass: a screen re-evaluated at every idle moment repaints only
// when something really changed.
class Habilitacoes {
public:
    void habilita(QAction* acao, bool sim);
    void habilita(QWidget* controle, bool sim);
    void mostra(QAction* acao, bool sim);
    void mostra(QWidget* controle, bool sim);
    // Sets what differs; returns how many objects changed.
    int aplica() const;

private:
    struct Pedido {
        QObject* objeto;
        bool ehAcao;
        bool visibilidade;
        bool valor;
    };
    void pede(QObject* objeto, bool ehAcao, bool visibilidade, bool valor);
    QVector<Pedido> m_pedidos;
};
