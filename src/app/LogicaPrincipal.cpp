#include "app/LogicaPrincipal.h"

#include "db/DmConexao.h"

namespace LogicaPrincipal {
namespace {
QString g_autogestao = QStringLiteral("N");
}

void RemoveDadosDeOutrasOperadoras(const QString& cdOper) {
    TDmConexao* c = DmConexao();
    const bool propria = !c->banco().emTransacao();
    if (propria) c->IniciaTransacao();
    try {
        c->ExecutaComando(QStringLiteral(
                              "DELETE FROM RL_PLANOS_ESTAB_SAUDE WHERE ID_ESTB_SAUD IN "
                              "(SELECT ID_ESTB_SAUD FROM TB_ESTAB_SAUDE WHERE CD_OPER <> ?)"),
                          {cdOper});
        c->ExecutaComando(QStringLiteral("DELETE FROM TB_ESTAB_SAUDE WHERE CD_OPER <> ?"), {cdOper});
        if (propria) c->ConfirmaTransacao();
    } catch (...) {
        if (propria) c->DesfazTransacao();
        throw;
    }
}

QString Autogestao() { return g_autogestao; }
void DefineAutogestao(int classificacao) { g_autogestao = classificacao == 24 ? QStringLiteral("S") : QStringLiteral("N"); }

}  // namespace LogicaPrincipal
