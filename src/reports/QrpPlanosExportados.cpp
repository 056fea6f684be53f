#include "reports/QrpPlanosExportados.h"

#include "db/DmConexao.h"
#include "operator/Operadora.h"
#include "reports/FrmPreviewQR.h"
#include "reports/UtilRelatorios.h"

QString TqrpPlanosExportados::TextoContagem(qlonglong n) {
    if (n == 0) return QStringLiteral("Nenhum Plano");
    if (n == 1) return QStringLiteral("1  Plano");
    return UtilRelatorios::Contagem(n) + QStringLiteral("  Planos");
}

TqrpPlanosExportados::TqrpPlanosExportados(Banco& banco, const QString& cdOper, bool enviados,
                                           const std::optional<QList<int>>& somente, QObject* pai)
    : TqrpModeloRelatorio(true, true, pai) {
    setObjectName(QStringLiteral("qrpPlanosExportados"));
    Titulo = enviados ? QStringLiteral("Relação de Planos enviados")
                      : QStringLiteral("Relação de Planos não enviados");
    const qreal w = LarguraUtil();
    const QFont rotulo = FonteRelatorio(8.5, true);
    const QFont corpo = FonteRelatorio(8.5);
    const qreal linha = 45;

    // Line 1 of every plan; lines 2 and 3 only for the sent ones.
    const struct {
        const char* titulo;
        const char* campo;
        int linha;
        qreal x, largura;
        bool data;
    } colunas[] = {
        {"Nome Comercial", "NM_PLANO", 0, 0, 900, false},
        {"Contratação", "DE_TIPO_CONTRATO", 0, 910, 620, false},
        {"Segmentação Assistencial", "DE_SEGMENTACAO", 0, 1540, 620, false},
        {"Abrangência Geográfica", "DE_ABRANGENCIA", 0, 2170, w - 2170, false},
        {"Número do  Protocolo Original", "NR_PROTOCOLO_REGISTRO", 1, 0, 900, false},
        {"Data do Protocolo Original", "DT_PROTOCOLO_REGISTRO", 1, 910, 620, true},
        {"Número do Protocolo de Reenvio", "NR_PROTOCOLO_REENVIO", 2, 0, 900, false},
        {"Data do Protocolo de Reenvio", "DT_PROTOCOLO_REENVIO", 2, 910, 620, true},
    };
    const int linhas = enviados ? 3 : 1;
    qrbColunaCab->altura = linhas * linha + 20;
    qrbDetalhe->altura = linhas * linha + 10;
    for (const auto& c : colunas) {
        if (c.linha >= linhas) continue;
        const QString campo = QString::fromLatin1(c.campo);
        qrbColunaCab->Rotulo(QStringLiteral("lbl") + campo, QString::fromUtf8(c.titulo),
                             QRectF(c.x, 5 + c.linha * linha, c.largura, linha), rotulo);
        Elemento* e = qrbDetalhe->Campo(campo, campo, QRectF(c.x, 5 + c.linha * linha, c.largura, linha),
                                        corpo);
        e->cresce = c.linha == 0;  // names wrap; the lines below keep their places
        if (c.data) e->formato = [](const QVariant& v) { return UtilRelatorios::Data(v, true); };
    }
    qrbColunaCab->Linha(QStringLiteral("linTitulos"), QRectF(0, linhas * linha + 10, w, 6), 2);
    qrbDetalhe->AntesImprimir = [this](Banda& b) {
        AlternaCor(b);
        return true;
    };

    Banda* resumo = CriaBanda(TipoBanda::Sumario, 70, QStringLiteral("qrbSumario"));
    resumo->Linha(QStringLiteral("linSumario"), QRectF(0, 5, w, 6), 2);
    resumo->Expressao(QStringLiteral("qrxTotal"), Elemento::Agregado::Contagem, QString(),
                      QRectF(0, 15, w, 45), FonteRelatorio(9, true))
        ->formato = [](const QVariant& v) { return TextoContagem(v.toLongLong()); };
    if (enviados) {
        Banda* rodape = CriaBanda(TipoBanda::RodapePagina, 110, QStringLiteral("qrbRodape"));
        rodape->Linha(QStringLiteral("linRodape"), QRectF(0, 0, w, 6), 2);
        rodape->Rotulo(
                  QStringLiteral("lblAviso"),
                  QStringLiteral("Toda solicitação de Registro de Produto enviada à ZUB pelo sistema "
                                 "QEV Operadora deverá ter sua condição de recebimento e seu devido "
                                 "processamento pela agência conferida através do item "
                                 "\"Verificação de Incorporação de Dados\", no site da ZUB."),
                  QRectF(0, 12, w, 90), FonteRelatorio(8, false, true), Qt::AlignLeft | Qt::AlignTop)
            ->cresce = true;
    }

    // Plans whose codes are missing from a code table are not listed; the re-send
    // protocol is the plan's row with the latest date.
    const QString ultimoReenvio = QStringLiteral(
        "FROM TB_PLANOS_PROTOCOLOS PP WHERE PP.CD_OPER = P.CD_OPER AND PP.SEQ_PLANO = P.SEQ_PLANO "
        "AND PP.DT_PROTOCOLO_REENVIO = (SELECT MAX(X.DT_PROTOCOLO_REENVIO) FROM TB_PLANOS_PROTOCOLOS X "
        "WHERE X.SEQ_PLANO = P.SEQ_PLANO) ORDER BY PP.rowid DESC LIMIT 1");
    QString sql =
        QStringLiteral(
            "SELECT P.SEQ_PLANO, P.NM_PLANO, P.CD_OPER, P.NR_PROTOCOLO_REGISTRO, "
            "P.DT_PROTOCOLO_REGISTRO, TS.DE_SEGMENTACAO, TC.DE_TIPO_CONTRATO, TA.DE_ABRANGENCIA, ") +
        QStringLiteral("(SELECT PP.NR_PROTOCOLO_REENVIO ") + ultimoReenvio +
        QStringLiteral(") AS NR_PROTOCOLO_REENVIO, (SELECT PP.DT_PROTOCOLO_REENVIO ") + ultimoReenvio +
        QStringLiteral(
            ") AS DT_PROTOCOLO_REENVIO FROM TB_PLANOS P "
            "INNER JOIN TA_TIPO_SEGMENTACAO TS ON TS.CD_SEGMENTACAO = P.CD_SEGMENTACAO "
            "INNER JOIN TA_TIPO_CONTRATO TC ON TC.CD_TIPO_CONTRATO = P.CD_TIPO_CONTRATO "
            "INNER JOIN TA_TIPO_ABRANGENCIA TA ON TA.CD_ABRANGENCIA = P.CD_ABRANGENCIA "
            "WHERE P.CD_OPER = ? AND P.CD_STATUS_ENVIO ");
    sql += enviados ? QStringLiteral(">= 1") : QStringLiteral("< 1");
    ParamsPosicionais params{cdOper};
    if (somente) {
        QStringList marcas;
        for (int seq : *somente) {
            marcas << QStringLiteral("?");
            params << seq;
        }
        sql += marcas.isEmpty() ? QStringLiteral(" AND 0")
                                : QStringLiteral(" AND P.SEQ_PLANO IN (") + marcas.join(QLatin1Char(',')) +
                                      QLatin1Char(')');
    }
    sql += QStringLiteral(" ORDER BY P.NM_PLANO COLLATE PTBR, P.SEQ_PLANO");
    DefineFonte(std::make_unique<FonteConsulta>(banco, sql, params));
}

void AbreRelPlanosExportados(QWidget* pai, bool enviados, const std::optional<QList<int>>& somente) {
    TqrpPlanosExportados relatorio(DmConexao()->banco(), OperadoraAtual().CdOper, enviados, somente);
    ExibeRelatorio(relatorio, pai);
}
