#include "request/PendenciasPlano.h"

#include "db/DmConexao.h"
#include "db/RowSet.h"
#include "db/Transacao.h"
#include "operator/Operadora.h"
#include "plans/FrmCadPlano.h"
#include "request/DmExportacao.h"
#include "request/VerificacaoPlanos.h"

QVector<PendenciaPlano> VerificaPendenciasPlano(Banco& banco, TDmExportacao& exportacao,
                                                const TOperadora& operadora, RowSet& planos) {
    const PlanoSolicitacao p = PlanoSolicitacao::De([&](const QString& c) { return planos.Valor(c); });
    exportacao.LimpaErros();
    TVerificacaoPlanos v(banco, exportacao, operadora);
    v.VerificaPlano(p);
    QVector<PendenciaPlano> r;
    for (const LinhaErroCarga& e : exportacao.cdsErrosCarga().linhas()) r.push_back({e.NomeCampo, e.NomeErro});
    exportacao.LimpaErros();

    const QString c = v.PlanoConsistente ? QStringLiteral("S") : QStringLiteral("N");
    const QString rede = v.RedeVinculada ? QStringLiteral("S") : QStringLiteral("N");
    if (planos.Valor(QStringLiteral("LG_CONSISTENTE")).toString() != c ||
        planos.Valor(QStringLiteral("LG_REDE_VINCULADA")).toString() != rede) {
        planos.Edit();
        planos.DefineValor(QStringLiteral("LG_CONSISTENTE"), c);
        planos.DefineValor(QStringLiteral("LG_REDE_VINCULADA"), rede);
        planos.Post();
        try {
            TransacaoEscopo t(banco);
            planos.ApplyUpdates(banco);
            t.confirma();
        } catch (...) {
            planos.CancelUpdates();
            throw;
        }
    }
    return r;
}

void InstalaVerificacaoPendencias() {
    TfrmCadPlano::TelasRelacionadas().pendencias = [](RowSet& planos) {
        return VerificaPendenciasPlano(DmConexao()->banco(), *DmExportacao(), OperadoraAtual(), planos);
    };
}
