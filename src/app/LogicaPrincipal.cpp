#include "app/LogicaPrincipal.h"

#include "db/DmConexao.h"
#include "db/Transacao.h"

namespace LogicaPrincipal {
namespace {
QString g_autogestao = QStringLiteral("N");
}

void RemoveDadosDeOutrasOperadoras(const QString& cdOper) {
    TDmConexao* c = DmConexao();
    TransacaoEscopo transacao(c->banco());
    c->ExecutaComando(QStringLiteral(
                              "DELETE FROM RL_PLANOS_ESTAB_SAUDE WHERE ID_ESTB_SAUD IN "
                              "(SELECT ID_ESTB_SAUD FROM TB_ESTAB_SAUDE WHERE CD_OPER <> ?)"),
                      {cdOper});
    c->ExecutaComando(QStringLiteral("DELETE FROM TB_ESTAB_SAUDE WHERE CD_OPER <> ?"), {cdOper});
    transacao.confirma();
}

QString Autogestao() { return g_autogestao; }
void DefineAutogestao(int classificacao) { g_autogestao = classificacao == 24 ? QStringLiteral("S") : QStringLiteral("N"); }

}  // namespace LogicaPrincipal
