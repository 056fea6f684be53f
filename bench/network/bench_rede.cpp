// bench_rede [PASTA] [REPETICOES=7]
//
// On the large establishment database (PASTA/QEV.mdb, generated with 100,000
// establishments when missing) times, in the same run and on the same connection:
//   tela      - opening the establishment screen (creation and first show) and the
//               establishment rows it read;
//   consulta  - opening the search dialog on one classification (hospital care) and
//               sorting it by name with a click on the title;
//   navegacao - "next" and "previous" on the screen;
// each against plain SQLite reading the same rows with the C API (every column of
// every row fetched as text). Prints medians and ratios.
#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/Aplicacao.h"
#include "GeraBaseEstab.h"
#include "MedidasBench.h"
#include "common/FrmConsulta.h"
#include "db/DmConexao.h"
#include "db/DmMunicipio.h"
#include "operator/DmZemlo.h"
#include "network/DmHospital.h"
#include "network/FrmCadHosp.h"
#include "platform/Mensagens.h"
#include "platform/Plataforma.h"
#include "platform/LinhaComando.h"

using MedidasBench::mede;
using MedidasBench::medianaMs;

namespace {

// Plain SQLite: steps the statement and fetches every column of every row as text.
qint64 leituraCrua(sqlite3* db, const char* sql, const std::vector<qint64>& params,
                   int* linhas = nullptr) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    for (size_t i = 0; i < params.size(); ++i) sqlite3_bind_int64(st, int(i + 1), params[i]);
    qint64 bytes = 0;
    int n = 0;
    const int colunas = sqlite3_column_count(st);
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int c = 0; c < colunas; ++c) {
            sqlite3_column_text(st, c);
            bytes += sqlite3_column_bytes(st, c);
        }
        ++n;
    }
    sqlite3_finalize(st);
    if (linhas) *linhas = n;
    return bytes;
}

void linha(const char* nome, double ms, double baseMs, const char* obs = "") {
    std::printf("%s %10.2f ms %10.3f ms %9.1fx  %s\n",
                qPrintable(QString::fromUtf8(nome).leftJustified(46)), ms, baseMs, ms / baseMs,
                obs);
    MedidasBench::resumo(nome, {ms, baseMs}, obs);
}

}  // namespace

int main(int argc, char** argv) {
    GeraBaseEstab::preparaAmbiente();
    AplicacaoQev app(argc, argv);  // as the program runs: letters, translations, clock
    const QStringList args = LeArgumentos(
        app, QStringLiteral("Mede a tela de estabelecimentos e a pesquisa na base grande, contra o "
                            "SQLite puro fazendo as mesmas leituras."),
        {{QStringLiteral("PASTA"), QStringLiteral("Pasta da base (gerada se faltar)."), true},
         {QStringLiteral("REPETICOES"), QStringLiteral("Repetições de cada medida (7)."), true}});
    const QString pasta =
        args.size() > 0 ? args[0] : QDir::tempPath() + QStringLiteral("/qev-bench-rede");
    const int repeticoes = args.size() > 1 ? args[1].toInt() : 7;
    const QString caminho = QDir(pasta).filePath(QStringLiteral("QEV.mdb"));
    if (!QFileInfo::exists(caminho)) {
        std::printf("gerando %s com 100000 estabelecimentos...\n", qPrintable(caminho));
        GeraBaseEstab::gera(pasta, 100000);
    }
    // No dialog may wait for a person: messages answer with their first button.
    Mensagens::defineTratador(
        [](const Mensagens::Pedido& p) { return Mensagens::respostaPadrao(p.botoes); });
    Lancador::define([](Lancador::Tipo, const QString&) { return true; });
    PastaPrograma::define(pasta);

    TDmConexao conexao;
    conexao.banco().abre(caminho, TDmConexao::SenhaBanco());
    TDMZemlo zemlo;
    TDmHospital dm;
    TDmMunicipio municipios;
    sqlite3* db = conexao.banco().handle();
    const int total = dm.ContaEstabelecimentos();
    int hospitalares = 0;
    leituraCrua(db, "SELECT 1 FROM TB_ESTAB_SAUDE WHERE CD_CLASSIF_ESTAB_SAUDE = 1", {},
                &hospitalares);
    std::printf(
        "base: %s, %d estabelecimentos, %d de assistência hospitalar; mediana de %d repetições\n\n",
        qPrintable(caminho), total, hospitalares, repeticoes);
    std::printf("%s %13s %13s %10s\n", qPrintable(QStringLiteral("operação").leftJustified(46)),
                "QEV", "SQLite puro", "razão");

    // --- the search dialog on one classification, then sorted by name ------------
    // The dialog reads the rows, shows them in the order of its first column (CNES) and,
    // at the click on the name's title, in the order of the names; the bare side reads the
    // same rows sorted by the engine in the same two columns, interleaved. The names sorted
    // by the engine's own byte order: the engine sorting them in the pt-BR collation (a
    // call of it per comparison) is slower than the program, a ratio that would flatter it.
    const QString sql = TDmHospital::SqlPesquisa(1);
    const QByteArray sqlPorCnes = (sql + QStringLiteral(" ORDER BY CD_CNES")).toUtf8();
    const QByteArray sqlPorNome = (sql + QStringLiteral(" ORDER BY RAZAO_SOCIAL_ESTB_SAUD")).toUtf8();
    const QByteArray sqlPorNomePtBr = (sql + QStringLiteral(" ORDER BY RAZAO_SOCIAL_ESTB_SAUD COLLATE PTBR")).toUtf8();
    qint64 aberto = 0, ordenado = 0;
    std::vector<qint64> abre, ordena;
    const MedidasBench::Par consulta = MedidasBench::intercala(repeticoes, [&] {
        QElapsedTimer t;
        t.start();
        TfrmConsulta dlg(
            nullptr, TDmHospital::LegendaPesquisa(1),
            QStringLiteral("CNES;C.N.P.J;Razão Social;Id Estab. Saúde"),
            QStringLiteral("CD_CNES;CD_CNPJ_ESTB_SAUD;RAZAO_SOCIAL_ESTB_SAUD;ID_ESTB_SAUD"), sql,
            conexao.banco(), TDmHospital::ParametrosPesquisa(1));
        dlg.EscondeColuna(QStringLiteral("ID_ESTB_SAUD"));
        dlg.show();
        QApplication::processEvents();
        aberto = t.nsecsElapsed();
        dlg.OrdenaPor(2);
        QApplication::processEvents();
        ordenado = t.nsecsElapsed() - aberto;
        abre.push_back(aberto);
        ordena.push_back(ordenado);
    }, [&] {
        leituraCrua(db, sqlPorCnes.constData(), {1});
        leituraCrua(db, sqlPorNome.constData(), {1});
    });
    const double baseCnes = mede(repeticoes, [&] { leituraCrua(db, sqlPorCnes.constData(), {1}); });
    const double baseNome = mede(repeticoes, [&] { leituraCrua(db, sqlPorNome.constData(), {1}); });
    char obs[128];
    std::snprintf(obs, sizeof obs, "%d linhas; cru: lê em ordem de CNES", hospitalares);
    linha("consulta: abre (lê, ordena por CNES, mostra)", medianaMs(abre), baseCnes, obs);
    linha("consulta: ordena por nome (clique no título)", medianaMs(ordena), baseNome,
          "cru: lê em ordem de nome (bytes)");
    std::printf("  (o SQLite lendo em ordem de nome na colação PTBR: %.2f ms)\n",
                mede(repeticoes, [&] { leituraCrua(db, sqlPorNomePtBr.constData(), {1}); }));
    linha("consulta: abre + ordena por nome", consulta.ms, consulta.baseMs, "intercalado (meta: até 2,5x)");

    const QString sqlTodos = TDmHospital::SqlPesquisa(0);
    const QByteArray todosPorCnes = (sqlTodos + QStringLiteral(" ORDER BY CD_CNES")).toUtf8();
    const QByteArray todosPorNome = (sqlTodos + QStringLiteral(" ORDER BY RAZAO_SOCIAL_ESTB_SAUD")).toUtf8();
    const MedidasBench::Par todos = MedidasBench::intercala(repeticoes, [&] {
        TfrmConsulta dlg(nullptr, TDmHospital::LegendaPesquisa(0),
                         QStringLiteral("CNES;C.N.P.J;Razão Social;Id Estab. Saúde"),
                         QStringLiteral("ID_ESTB_SAUD"), sqlTodos, conexao.banco());
        dlg.OrdenaPor(2);
    }, [&] {
        leituraCrua(db, todosPorCnes.constData(), {});
        leituraCrua(db, todosPorNome.constData(), {});
    });
    std::snprintf(obs, sizeof obs, "%d linhas (TODOS), intercalado (meta: até 2,5x)", total);
    linha("consulta de todos: abre + ordena por nome", todos.ms, todos.baseMs, obs);

    // --- the establishment screen -------------------------------------------------
    const char* umEstab =
        "SELECT ID_ESTB_SAUD, CD_CNPJ_ESTB_SAUD, RAZAO_SOCIAL_ESTB_SAUD, CD_TIPO_ESTB_SAUD, "
        "ID_MUNC, "
        "CD_TIPO_CONTRATO_ESTB_SAUDE, LG_HOSPITAL_INCLUIDO, CD_CNES, DT_VINCULO_OPER, "
        "DT_CONTRATO_OPER, "
        "CD_CLASSIF_ESTAB_SAUDE, LG_CLASSIFICADO_ZUB, CD_OPER_INTERMEDIADORA, CD_DISP_SERVICO, "
        "LG_URGENCIA_EMERGENCIA, CD_OPER FROM TB_ESTAB_SAUDE WHERE ID_ESTB_SAUD = ?";
    // What the screen reads: the count, the states and municipalities of its lists
    // and the establishment itself.
    const double baseUmEstab = mede(repeticoes, [&] { leituraCrua(db, umEstab, {50000}); });
    const double baseTela = mede(repeticoes, [&] {
        leituraCrua(db, "SELECT COUNT(*) AS QT_ESTB FROM TB_ESTAB_SAUDE", {});
        leituraCrua(db, "SELECT CD_UF, NM_UF FROM TB_UFS ORDER BY CD_UF", {});
        leituraCrua(
            db, "SELECT ID_MUNC, CD_UF, NM_MUNC FROM TB_MUNICIPIOS ORDER BY NM_MUNC COLLATE PTBR",
            {});
        leituraCrua(db, umEstab, {50000});
    });
    int maiorLeitura = 0;
    const double msTela = mede(repeticoes, [&] {
        const int antes = dm.LeiturasEstabelecimento();
        TfrmCadHosp tela;
        tela.IdEstabInicial = 50000;
        tela.show();
        QApplication::processEvents();
        maiorLeitura = std::max(maiorLeitura, dm.LeiturasEstabelecimento() - antes);
        tela.actSair->trigger();
    });
    std::snprintf(obs, sizeof obs, "estabelecimentos lidos: %d (meta: 1); só a linha: %.3f ms",
                  maiorLeitura, baseUmEstab);
    linha("tela: abre (criação e primeira exibição)", msTela, baseTela, obs);

    // --- next and previous ------------------------------------------------------------
    constexpr int kPassos = 200;
    const char* proximo =
        "SELECT ID_ESTB_SAUD FROM TB_ESTAB_SAUDE WHERE ID_ESTB_SAUD > ? ORDER BY ID_ESTB_SAUD "
        "LIMIT 1";
    const double baseNav = mede(repeticoes,
                                [&] {
                                    for (int i = 0; i < kPassos; ++i) {
                                        leituraCrua(db, proximo, {50000 + i});
                                        leituraCrua(db, umEstab, {50001 + i});
                                    }
                                }) /
                           kPassos;
    TfrmCadHosp tela;
    tela.IdEstabInicial = 50000;
    tela.show();
    QApplication::processEvents();
    const double msProximo = mede(repeticoes,
                                  [&] {
                                      for (int i = 0; i < kPassos; ++i) tela.btnProximoClick();
                                      for (int i = 0; i < kPassos; ++i) tela.btnAnteriorClick();
                                  }) /
                             (2 * kPassos);
    linha("tela: próximo/anterior (por movimento)", msProximo, baseNav, "");
    tela.actSair->trigger();
    return 0;
}
