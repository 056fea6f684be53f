#include "db/Transacao.h"

#include <atomic>

namespace {
QString novoPontoSalvo() {
    static std::atomic<unsigned> contador{0};
    return QStringLiteral("escopo_%1").arg(++contador);
}
}  // namespace

TransacaoEscopo::TransacaoEscopo(Banco& banco, Aninhamento aninhamento)
    : m_banco(banco), m_propria(!banco.emTransacao()) {
    if (m_propria) {
        m_banco.iniciaTransacao();
    } else if (aninhamento == PontoSalvo) {
        const QString nome = novoPontoSalvo();
        m_banco.executa(QStringLiteral("SAVEPOINT ") + nome);
        m_pontoSalvo = nome;
    }
}

TransacaoEscopo::~TransacaoEscopo() {
    if (m_terminada) return;
    try {
        if (m_propria)
            m_banco.desfazTransacao();
        else if (emPontoSalvo())
            voltaAoPontoSalvo();
    } catch (...) {
        // a rollback that fails leaves nothing more to undo from here
    }
}

void TransacaoEscopo::confirma() {
    if (m_terminada) return;
    if (m_propria) {
        m_banco.confirmaTransacao();
        m_terminada = true;
    } else if (emPontoSalvo()) {
        m_banco.executa(QStringLiteral("RELEASE ") + m_pontoSalvo);
        m_terminada = true;
    }
}

void TransacaoEscopo::desfaz() {
    if (m_terminada) return;
    if (m_propria) {
        m_terminada = true;
        m_banco.desfazTransacao();
    } else if (emPontoSalvo()) {
        m_terminada = true;
        voltaAoPontoSalvo();
    }
}

void TransacaoEscopo::voltaAoPontoSalvo() {
    // The engine may have ended the whole transaction itself (a write that fails with
    // a full disk or an interrupt): then the savepoint is gone with it.
    if (!m_banco.emTransacao()) return;
    m_banco.executa(QStringLiteral("ROLLBACK TO ") + m_pontoSalvo);
    m_banco.executa(QStringLiteral("RELEASE ") + m_pontoSalvo);
}
