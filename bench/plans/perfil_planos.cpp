// perfil_planos PASTA abertura|rede|lote [VEZES=30]
//
// Repeats one operation of the plan screen on the generated database, for a profiler
// (perf record, valgrind --tool=callgrind) to see it and little else:
//   abertura - opening the plan screen (creation, first show and paint, closing);
//   rede     - reading the network of the plan with most links into the screen with the
//              "Vinculação de rede" tab shown (the set closed before each reading), each
//              reading followed by the bare read of the same statement;
//   lote     - opening the batch-linking screen (creation, first show with both lists
//              read, paint, closing), each followed by the bare reads of its lists.
// Prints the median time of one operation (and of its bare read). Each operation is a
// function of its own (abreTela, leRedeNaTela, leRedeCrua), for a profiler to single out:
//   valgrind --tool=callgrind --toggle-collect='leRedeNaTela*' perfil_planos PASTA rede 10
#include <sqlite3.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTabWidget>
#include <cstdio>
#include <vector>

#include "app/Aplicacao.h"
#include "GeraBaseEstab.h"
#include "MedidasBench.h"
#include "ModulosPlanos.h"
#include "db/RowSet.h"
#include "plans/EdicaoPlano.h"
#include "plans/FrmCadPlano.h"
#include "plans/FrmManutencaoRede.h"
#include "plans/ManutencaoRede.h"
#include "platform/LinhaComando.h"
#include "platform/Mensagens.h"

namespace {
// Kept out of line: the profiler's names for the operations.
[[gnu::noinline]] void abreTela() {
    TfrmCadPlano tela;
    tela.show();
    QApplication::processEvents();
    tela.actSair->trigger();
}
[[gnu::noinline]] void leRedeNaTela(TdmInfoPlano& dm, RowSet& rs) {
    dm.GarantePlano(&rs);
    QApplication::processEvents();
}
[[gnu::noinline]] void abreLote() {
    TfrmManutencaoRede tela;
    tela.show();
    QApplication::processEvents();
    tela.close();
}
[[gnu::noinline]] void leListasLote(sqlite3* db, const QVariantList& params) {
    for (const QString& sql : {TManutencaoRede::SqlEstabelecimentos(), TManutencaoRede::SqlPlanos()})
        MedidasBench::leituraCrua(db, QString(sql).replace(QStringLiteral(":CD_OPER"), QStringLiteral("?")), params);
}
[[gnu::noinline]] int leRedeCrua(sqlite3* db, const QString& sql, const QVariantList& params) {
    return MedidasBench::leituraCrua(db, sql, params);
}
}  // namespace

int main(int argc, char** argv) {
    GeraBaseEstab::preparaAmbiente();
    AplicacaoQev app(argc, argv);  // as the program runs: letters, translations, clock
    const QStringList args = LeArgumentos(
        app, QStringLiteral("Repete uma operação da tela de planos para um perfilador (abertura, leitura da rede, abertura da vinculação em lote)."),
        {{QStringLiteral("PASTA"), QStringLiteral("Pasta da base grande (gerada se faltar).")},
         {QStringLiteral("OPERACAO"), QStringLiteral("abertura, rede ou lote.")},
         {QStringLiteral("VEZES"), QStringLiteral("Quantas vezes (30)."), true}});
    const bool rede = args[1] == QLatin1String("rede");
    const bool lote = args[1] == QLatin1String("lote");
    if (!rede && !lote && args[1] != QLatin1String("abertura")) {
        std::fprintf(stderr, "operação desconhecida: %s\n", qPrintable(args[1]));
        return 2;
    }
    const int vezes = std::max(1, args.size() > 2 ? args[2].toInt() : 30);
    Mensagens::defineTratador([](const Mensagens::Pedido& p) { return Mensagens::respostaPadrao(p.botoes); });
    ModulosPlanos modulos(args[0]);
    TdmInfoPlano& dm = *modulos.dm;
    Banco& banco = modulos.conexao.banco();
    std::vector<qint64> ns;
    if (lote) {
        std::vector<qint64> crus;
        const QVariantList params{QString::fromLatin1(GeraBaseEstab::kOperadora)};
        for (int i = 0; i < vezes; ++i) {
            QElapsedTimer t;
            t.start();
            abreLote();
            ns.push_back(t.nsecsElapsed());
            t.restart();
            leListasLote(banco.handle(), params);
            crus.push_back(t.nsecsElapsed());
        }
        std::printf("leituras cruas das duas listas: %.2f ms (mediana)\n", MedidasBench::medianaMs(crus));
    } else if (!rede) {
        {  // once before, outside the profiled function: fonts, icons and caches loaded once a run
            TfrmCadPlano tela;
            tela.show();
            QApplication::processEvents();
            tela.actSair->trigger();
        }
        for (int i = 0; i < vezes; ++i) {
            QElapsedTimer t;
            t.start();
            abreTela();
            ns.push_back(t.nsecsElapsed());
        }
    } else {
        const Resultado maior = banco.consulta(QStringLiteral(
            "SELECT SEQ_PLANO, count(*) FROM RL_PLANOS_ESTAB_SAUDE WHERE CD_OPER = ? GROUP BY SEQ_PLANO "
            "ORDER BY 2 DESC LIMIT 1"), {QString::fromLatin1(GeraBaseEstab::kOperadora)});
        const qlonglong seq = maior.linhas.value(0).value(0).toLongLong();
        TfrmCadPlano tela;
        tela.resize(1000, 690);
        tela.show();
        QApplication::processEvents();
        tela.edicao()->LocalizaPlano(QString::fromLatin1(GeraBaseEstab::kOperadora), seq);
        tela.pgcInfoPlano->setCurrentWidget(tela.tbsRede);
        QApplication::processEvents();
        RowSet& rs = *dm.cdsPlanoRede();
        const QString sql = QString(rs.Sql())
                                .replace(QStringLiteral(":CD_OPER"), QStringLiteral("?"))
                                .replace(QStringLiteral(":SEQ_PLANO"), QStringLiteral("?"));
        const QVariantList params{QString::fromLatin1(GeraBaseEstab::kOperadora), seq};
        std::vector<qint64> crus;
        for (int i = 0; i < vezes; ++i) {
            rs.Fecha();
            QElapsedTimer t;
            t.start();
            leRedeNaTela(dm, rs);
            ns.push_back(t.nsecsElapsed());
            t.restart();
            leRedeCrua(banco.handle(), sql, params);
            crus.push_back(t.nsecsElapsed());
        }
        std::printf("plano %lld: %d vínculos; leitura crua: %.2f ms (mediana)\n", seq, rs.RecordCount(),
                    MedidasBench::medianaMs(crus));
        tela.actSair->trigger();
    }
    std::printf("%s: %.2f ms (mediana de %d)\n", qPrintable(args[1]), MedidasBench::medianaMs(ns), vezes);
    return 0;
}
