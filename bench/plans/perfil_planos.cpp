// perfil_planos PASTA abertura|rede [VEZES=30]
//
// Repeats one operation of the plan screen on the generated database, for a profiler
// (perf record, valgrind --tool=callgrind) to see it and little else:
//   abertura - opening the plan screen (creation, first show and paint, closing);
//   rede     - reading the network of the plan with most links into the screen with the
//              "Vinculação de rede" tab shown (the set closed before each reading).
// Prints the median time of one operation.
#include <QApplication>
#include <QElapsedTimer>
#include <QTabWidget>
#include <cstdio>
#include <vector>

#include "GeraBaseEstab.h"
#include "MedidasBench.h"
#include "ModulosPlanos.h"
#include "db/RowSet.h"
#include "plans/EdicaoPlano.h"
#include "plans/FrmCadPlano.h"
#include "platform/LinhaComando.h"
#include "platform/Mensagens.h"

int main(int argc, char** argv) {
    GeraBaseEstab::preparaAmbiente();
    QApplication app(argc, argv);
    const QStringList args = LeArgumentos(
        app, QStringLiteral("Repete uma operação da tela de planos para um perfilador (abertura ou leitura da rede)."),
        {{QStringLiteral("PASTA"), QStringLiteral("Pasta da base grande (gerada se faltar).")},
         {QStringLiteral("OPERACAO"), QStringLiteral("abertura ou rede.")},
         {QStringLiteral("VEZES"), QStringLiteral("Quantas vezes (30)."), true}});
    const bool rede = args[1] == QLatin1String("rede");
    if (!rede && args[1] != QLatin1String("abertura")) {
        std::fprintf(stderr, "operação desconhecida: %s\n", qPrintable(args[1]));
        return 2;
    }
    const int vezes = std::max(1, args.size() > 2 ? args[2].toInt() : 30);
    Mensagens::defineTratador([](const Mensagens::Pedido& p) { return Mensagens::respostaPadrao(p.botoes); });
    ModulosPlanos modulos(args[0]);
    TdmInfoPlano& dm = *modulos.dm;
    Banco& banco = modulos.conexao.banco();
    std::vector<qint64> ns;
    if (!rede) {
        for (int i = 0; i < vezes; ++i) {
            QElapsedTimer t;
            t.start();
            TfrmCadPlano tela;
            tela.show();
            QApplication::processEvents();
            tela.actSair->trigger();
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
        for (int i = 0; i < vezes; ++i) {
            rs.Fecha();
            QElapsedTimer t;
            t.start();
            dm.GarantePlano(&rs);
            QApplication::processEvents();
            ns.push_back(t.nsecsElapsed());
        }
        std::printf("plano %lld: %d vínculos\n", seq, rs.RecordCount());
        tela.actSair->trigger();
    }
    std::printf("%s: %.2f ms (mediana de %d)\n", rede ? "rede" : "abertura", MedidasBench::medianaMs(ns), vezes);
    return 0;
}
