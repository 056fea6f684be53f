#pragma once
#include "db/Banco.h"

// Owns a transaction for one writer: begins one unless the connection already has
// one open (the writer then works inside its caller's), commits only what it began,
// and rolls back what it began and did not commit when it goes out of scope, also
// when an exception leaves it.
//
//     TransacaoEscopo t(banco);
//     ... statements, ApplyUpdates ...
//     t.confirma();
class TransacaoEscopo {
public:
    explicit TransacaoEscopo(Banco& banco);
    ~TransacaoEscopo();
    TransacaoEscopo(const TransacaoEscopo&) = delete;
    TransacaoEscopo& operator=(const TransacaoEscopo&) = delete;

    // Commits when this scope began the transaction; inside a caller's transaction the
    // caller commits. A failed COMMIT throws and the destructor rolls back.
    void confirma();
    // Rolls back now when this scope began the transaction.
    void desfaz();
    // Whether this scope began the transaction.
    bool propria() const { return m_propria; }

private:
    Banco& m_banco;
    bool m_propria;
    bool m_terminada = false;
};
