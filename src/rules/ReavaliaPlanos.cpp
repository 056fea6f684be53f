#include "rules/ReavaliaPlanos.h"

#include <QMap>

#include "common/CursorEspera.h"
#include "common/MensagemDlg.h"
#include "db/Banco.h"
#include "db/DmConexao.h"
#include "db/Erro.h"
#include "db/Transacao.h"
#include "db/Valores.h"
#include "operator/DmOperadora.h"

namespace {
// Classifications that restrict the plans an operator may keep.
constexpr int kAutogestao = 24;
constexpr int kSoOdontologia1 = 23;
constexpr int kSoOdontologia2 = 26;
constexpr int kOdontologica = 4;
// Plan numbers per UPDATE statement (well under the engine's parameter limit).
constexpr int kPlanosPorComando = 500;
}  // namespace

TipoInconsistencia AvaliaPlano(int classificacao, const PlanoLido& p) {
    const DadosDispositivos& d = p.dispositivos;
    TipoInconsistencia t;
    t.seqPlano = p.seqPlano;
    if (classificacao == kAutogestao) {
        if (!igualA(d.tipoContrato, 2) && !igualA(d.tipoContrato, 3)) t.inconsistente = true;
    } else if (classificacao == kSoOdontologia1 || classificacao == kSoOdontologia2) {
        if (!igualA(d.segmentacao, kOdontologica)) t.inconsistente = true;
    }
    if (!RegrasDispositivos(d).isEmpty()) t.inconsistente = true;
    t.semRede = !p.temRede;
    const auto S = QLatin1String("S");
    if (igualA(d.segmentacao, kOdontologica)) {
        if (p.temNotaTecnica) t.inconsistente = true;
    } else if ((igualA(d.tipoContrato, 2) || igualA(d.tipoContrato, 3)) &&
               (p.vinculoAtivo == S || p.vinculoInativo == S) &&
               p.partcFinancPj == QLatin1String("C")) {
        if (p.temNotaTecnica) t.inconsistente = true;
    } else if (igualA(d.tipoFinanc, 2) && p.temNotaTecnica) {
        t.inconsistente = true;
    }
    return t;
}

namespace {
QVector<TipoInconsistencia> reavalia(Banco& banco, const QString& cdOper) {
    const QVariant classificacao = banco.valor(
        QStringLiteral("SELECT CD_GRUPO_CLASSIFICACAO FROM OPERADORAS WHERE CD_OPER = ?"), {cdOper});
    const LeituraPlanos leitura = LePlanos(banco, cdOper);

    QVector<TipoInconsistencia> resultado;
    resultado.reserve(leitura.planos.size());
    // Plans grouped by the two flags they get ("S"/"N" each).
    QMap<QPair<QString, QString>, QVariantList> porFlags;
    for (const PlanoLido& p : leitura.planos) {
        const TipoInconsistencia t = AvaliaPlano(classificacao.toInt(), p);
        resultado << t;
        porFlags[{t.inconsistente ? QStringLiteral("N") : QStringLiteral("S"),
                  t.semRede ? QStringLiteral("N") : QStringLiteral("S")}]
            << t.seqPlano;
    }
    for (auto it = porFlags.cbegin(); it != porFlags.cend(); ++it) {
        const QVariantList& planos = it.value();
        for (int i = 0; i < planos.size(); i += kPlanosPorComando) {
            const QVariantList parte = planos.mid(i, kPlanosPorComando);
            QString marcas(parte.size() * 2 - 1, QLatin1Char(','));
            for (int k = 0; k < parte.size(); ++k) marcas[k * 2] = QLatin1Char('?');
            banco.executa(QStringLiteral("UPDATE TB_PLANOS SET LG_CONSISTENTE = ?, "
                                         "LG_REDE_VINCULADA = ? WHERE CD_OPER = ? AND "
                                         "SEQ_PLANO IN (") +
                              marcas + QLatin1Char(')'),
                          ParamsPosicionais{it.key().first, it.key().second, cdOper} + parte);
        }
    }
    return resultado;
}
}  // namespace

QVector<TipoInconsistencia> ReavaliaPlanos(Banco& banco, const QString& cdOper) {
    // Reads and writes see one state of the database, and fail as a whole (also inside
    // a caller's transaction, which goes on without them).
    TransacaoEscopo transacao(banco, TransacaoEscopo::PontoSalvo);
    QVector<TipoInconsistencia> resultado = reavalia(banco, cdOper);
    transacao.confirma();
    return resultado;
}

void InstalaReavaliacaoPlanos() {
    TdmOperadora* operadora = TdmOperadora::instancia();
    if (!operadora) return;
    operadora->DefineReavaliacao([](const QString& cdOper) {
        QString erro;
        try {
            CursorEspera espera;
            ReavaliaPlanos(DmConexao()->banco(), cdOper);
        } catch (const ErroQev& e) {
            erro = e.mensagem();
        }
        if (!erro.isEmpty())
            MyMessageDlg(QStringLiteral("Os planos da operadora não foram reavaliados.\n\n") +
                             TraduzErroBanco(erro),
                         Mensagens::Erro, Mensagens::BtOk);
    });
}
