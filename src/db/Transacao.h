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
//
// A writer that must fail alone also inside a caller's transaction asks for a
// savepoint: inside a caller's transaction the scope then opens a SAVEPOINT,
// `confirma()` releases it and leaving without it (or `desfaz()`) rolls back to it,
// so only this writer's statements are undone and the caller's transaction goes on.
//
//     TransacaoEscopo t(banco, TransacaoEscopo::PontoSalvo);
class TransacaoEscopo {
public:
    enum Aninhamento {
        JuntaSeAoChamador,  // inside a caller's transaction: its statements are the caller's
        PontoSalvo,         // inside a caller's transaction: a savepoint of its own
    };

    explicit TransacaoEscopo(Banco& banco, Aninhamento aninhamento = JuntaSeAoChamador);
    ~TransacaoEscopo();
    TransacaoEscopo(const TransacaoEscopo&) = delete;
    TransacaoEscopo& operator=(const TransacaoEscopo&) = delete;

    // Commits when this scope began the transaction, releases its savepoint when it
    // opened one; otherwise the caller commits. A failed COMMIT throws and the
    // destructor rolls back.
    void confirma();
    // Rolls back now what this scope began (its transaction or its savepoint).
    void desfaz();
    // Whether this scope began the transaction.
    bool propria() const { return m_propria; }
    // Whether this scope opened a savepoint inside a caller's transaction.
    bool emPontoSalvo() const { return !m_pontoSalvo.isEmpty(); }

private:
    void voltaAoPontoSalvo();

    Banco& m_banco;
    bool m_propria;
    QString m_pontoSalvo;  // name of the savepoint opened, empty when none
    bool m_terminada = false;
};
