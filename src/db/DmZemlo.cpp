#include "db/DmZemlo.h"

#include "db/DmConexao.h"

namespace {
TDMZemlo* g_instancia = nullptr;
}

TDMZemlo::TDMZemlo(QObject* parent) : QObject(parent) {
    g_instancia = this;
    ReabreOperadoras();
}

TDMZemlo::~TDMZemlo() {
    if (g_instancia == this) g_instancia = nullptr;
}

TDMZemlo* TDMZemlo::instancia() { return g_instancia; }

void TDMZemlo::ReabreOperadoras() {
    m_operadoras = DmConexao()->banco().consulta(QStringLiteral("SELECT * FROM OPERADORAS ORDER BY rowid"));
    m_atual = 0;
    emit operadoraMudou();
}

bool TDMZemlo::LocalizaOperadora(const QString& cdOper) {
    for (int i = 0; i < m_operadoras.numLinhas(); ++i) {
        if (m_operadoras.valor(i, QStringLiteral("CD_OPER")).toString() == cdOper) {
            m_atual = i;
            emit operadoraMudou();
            return true;
        }
    }
    return false;
}

QVariant TDMZemlo::CampoOperadora(const QString& coluna) const {
    if (m_atual >= m_operadoras.numLinhas()) return QVariant();
    return m_operadoras.valor(m_atual, coluna);
}
