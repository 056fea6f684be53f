#include "operator/DmOperadora.h"

namespace {
TdmOperadora* g_instancia = nullptr;
}

TdmOperadora::TdmOperadora(QObject* parent) : QObject(parent) { g_instancia = this; }

TdmOperadora::~TdmOperadora() {
    if (g_instancia == this) g_instancia = nullptr;
}

TdmOperadora* TdmOperadora::instancia() { return g_instancia; }

void TdmOperadora::ClassificacaoAlterada(const QString& cdOper) {
    if (m_reavaliacao) m_reavaliacao(cdOper);
}
