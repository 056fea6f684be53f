#include "db/Transacao.h"

TransacaoEscopo::TransacaoEscopo(Banco& banco) : m_banco(banco), m_propria(!banco.emTransacao()) {
    if (m_propria) m_banco.iniciaTransacao();
}

TransacaoEscopo::~TransacaoEscopo() {
    if (!m_propria || m_terminada) return;
    try {
        m_banco.desfazTransacao();
    } catch (...) {
        // a rollback that fails leaves nothing more to undo from here
    }
}

void TransacaoEscopo::confirma() {
    if (!m_propria || m_terminada) return;
    m_banco.confirmaTransacao();
    m_terminada = true;
}

void TransacaoEscopo::desfaz() {
    if (!m_propria || m_terminada) return;
    m_terminada = true;
    m_banco.desfazTransacao();
}
