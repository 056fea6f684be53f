#include "devices/DmClausula.h"

#include "db/DmConexao.h"

namespace {
TdmClausula* g_instancia = nullptr;
}

TdmClausula::TdmClausula(QObject* parent) : QObject(parent) { g_instancia = this; }

TdmClausula::~TdmClausula() {
    if (g_instancia == this) g_instancia = nullptr;
}

TdmClausula* TdmClausula::instancia() { return g_instancia; }

Resultado TdmClausula::qryRelDisp(const QString& cdOper, const QVariant& tema, OrdemRelDisp ordem) {
    QString sql = QStringLiteral(
        "SELECT TA.DE_TIPO_CLAUSULA, TA.NR_ORDEM_EXIBICAO, TA.DT_PUBLICACAO_FIM, TB.* "
        "FROM TB_CLAUSULA_OPERADORA TB INNER JOIN TA_TIPO_CLAUSULA TA "
        "ON TA.CD_TIPO_CLAUSULA = TB.CD_TIPO_CLAUSULA WHERE TB.CD_OPER = ?");
    ParamsPosicionais params{cdOper};
    if (tema.isValid() && !tema.isNull()) {
        sql += QStringLiteral(" AND TA.CD_TIPO_CLAUSULA = ?");
        params << tema;
    }
    // Devices of the same key keep the order they were stored in.
    sql += ordem == OrdemRelDisp::CodigoIdentificacao
               ? QStringLiteral(" ORDER BY TB.CD_IDENTIFICACAO_TEXTO, TB.CD_CLAUSULA_OPERADORA")
               : QStringLiteral(" ORDER BY TA.NR_ORDEM_EXIBICAO, TB.CD_CLAUSULA_OPERADORA");
    return DmConexao()->banco().consulta(sql, params);
}

Resultado TdmClausula::qryDispositivo() {
    return DmConexao()->banco().consulta(QStringLiteral("SELECT * FROM TA_TIPO_CLAUSULA"));
}
