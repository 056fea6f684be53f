#include "plans/DmPlano.h"

#include "db/DmConexao.h"
#include "db/RowSet.h"
#include "operator/Operadora.h"

namespace {
TDmPlano* g_instancia = nullptr;
}

TDmPlano::TDmPlano(QObject* parent) : QObject(parent), m_semEstab(new RowSet(this)) {
    g_instancia = this;
    m_semEstab->setObjectName(QStringLiteral("cdsSemEstabSaude"));
    m_semEstab->DefineComando(
        QStringLiteral("SELECT P.CD_OPER, P.SEQ_PLANO, P.NM_PLANO FROM TB_PLANOS P "
                       "WHERE P.CD_SEGMENTACAO <> 4 AND P.CD_OPER = :CD_OPER "
                       "AND NOT EXISTS (SELECT 1 FROM RL_PLANOS_ESTAB_SAUDE R "
                       "WHERE R.CD_OPER = P.CD_OPER AND R.SEQ_PLANO = P.SEQ_PLANO) "
                       "ORDER BY P.SEQ_PLANO"),
        {{QStringLiteral("CD_OPER"), QVariant()}});
}

TDmPlano::~TDmPlano() {
    if (g_instancia == this) g_instancia = nullptr;
}

TDmPlano* TDmPlano::instancia() { return g_instancia; }

void TDmPlano::AbreSemEstabSaude() {
    m_semEstab->DefineParametro(QStringLiteral("CD_OPER"), OperadoraAtual().CdOper);
    m_semEstab->Abre(DmConexao()->banco());
}

int TDmPlano::QtdPlanosSemRede() {
    // only the plans that need a network: neither odontological nor free-choice
    return DmConexao()
        ->banco()
        .valor(QStringLiteral("SELECT COUNT(*) FROM TB_PLANOS P WHERE P.CD_SEGMENTACAO <> 4 "
                              "AND P.CD_OPER = ? AND COALESCE(P.LG_TOTAL_LIVRE_ESCOLHA, 'N') <> 'S' "
                              "AND NOT EXISTS (SELECT 1 FROM RL_PLANOS_ESTAB_SAUDE R "
                              "WHERE R.CD_OPER = P.CD_OPER AND R.SEQ_PLANO = P.SEQ_PLANO)"),
               {OperadoraAtual().CdOper})
        .toInt();
}
