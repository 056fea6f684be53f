#include "reports/QrpPlanosSemEstabSaude.h"

#include "db/DmConexao.h"
#include "operator/Operadora.h"
#include "reports/FrmPreviewQR.h"
#include "reports/UtilRelatorios.h"

namespace {
constexpr int kOdontologico = 4;
}

QString TqrpPlanosSemEstabSaude::TextoContagem(qlonglong n) {
    if (n == 0) return QStringLiteral("Nenhum Plano");
    return UtilRelatorios::Contagem(n) + (n < 2 ? QStringLiteral("  plano") : QStringLiteral("  planos"));
}

TqrpPlanosSemEstabSaude::TqrpPlanosSemEstabSaude(Banco& banco, const QString& cdOper, QObject* pai)
    : TqrpModeloRelatorio(false, true, pai) {
    setObjectName(QStringLiteral("qrpPlanosSemEstabSaude"));
    Titulo = QStringLiteral("Relação de planos sem vínculo com estabelecimento de saúde");
    const qreal w = LarguraUtil();
    qrbColunaCab->altura = 60;
    qrbColunaCab->Rotulo(QStringLiteral("lblNomePlano"), QStringLiteral("Nome do Plano"),
                         QRectF(0, 5, w, 50), FonteRelatorio(9, true));
    qrbColunaCab->Linha(QStringLiteral("linTitulos"), QRectF(0, 55, w, 5), 2);
    qrbDetalhe->altura = 45;
    qrbDetalhe->Campo(QStringLiteral("qrdNomePlano"), QStringLiteral("NM_PLANO"), QRectF(0, 5, w, 35),
                      FonteRelatorio(9));
    Banda* resumo = CriaBanda(TipoBanda::Sumario, 70, QStringLiteral("qrbSumario"));
    resumo->Linha(QStringLiteral("linSumario"), QRectF(0, 5, w, 6), 2);
    resumo->Expressao(QStringLiteral("qrxTotal"), Elemento::Agregado::Contagem, QString(),
                      QRectF(0, 15, w, 45), FonteRelatorio(9, true))
        ->formato = [](const QVariant& v) { return TextoContagem(v.toLongLong()); };
    DefineFonte(std::make_unique<FonteConsulta>(
        banco,
        QStringLiteral(
            "SELECT P.CD_OPER, P.SEQ_PLANO, P.NM_PLANO FROM TB_PLANOS P "
            "WHERE P.CD_OPER = ? AND P.CD_SEGMENTACAO <> ? AND NOT EXISTS "
            "(SELECT 1 FROM RL_PLANOS_ESTAB_SAUDE R "
            "WHERE R.CD_OPER = P.CD_OPER AND R.SEQ_PLANO = P.SEQ_PLANO) "
            "ORDER BY P.SEQ_PLANO"),
        ParamsPosicionais{cdOper, kOdontologico}));
}

void AbreRelPlanosSemEstab(QWidget* pai) {
    TqrpPlanosSemEstabSaude relatorio(DmConexao()->banco(), OperadoraAtual().CdOper);
    ExibeRelatorio(relatorio, pai);
}
