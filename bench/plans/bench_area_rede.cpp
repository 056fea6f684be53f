// bench_area_rede [PASTA] [REPETICOES=5]
//
// Where a plan reaches, on the large database (PASTA/QEV.mdb, generated with 100,000
// establishments and 2,000 plans when missing), in the same run and on the same connection:
//   area     - ">>" of the 645 municipalities of São Paulo into a plan on the plan screen
//              (grids shown and painted), and "<<" back;
//   rede     - ">>" linking 5,000 hospitals to a plan on the screen, and "<<" unlinking them
//              (also all 55,000 of the operator once);
//   regras   - the network rules of a national plan with 5,000 links (the network read by
//              the rules, and held by the screen already);
//   lote     - batch linking of 1,000 hospitals to 100 plans.
// Each against plain SQLite doing the same row work with the C API. A move on the screen
// moves rows between two lists held in memory (nothing is written before the plan is
// saved): its bare side moves the same rows, with the same columns, between two tables of
// the engine's memory (temporary tables), in one transaction, interleaved with it; the
// screen's figure is the data (the action, the grids' models told) and, beside it, the
// painted time (the window repainted after it). The batch linking writes: its bare side
// writes the same rows with a prepared statement, one transaction per plan. Prints
// medians and ratios.
#include <sqlite3.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSet>
#include <QTableView>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/Aplicacao.h"
#include "GeraBaseEstab.h"
#include "MedidasBench.h"
#include "ModulosPlanos.h"
#include "db/RowSet.h"
#include "plans/AreaAtuacaoPlano.h"
#include "network/DmHospital.h"
#include "plans/FrmCadPlano.h"
#include "plans/FrmManutencaoRede.h"
#include "plans/ManutencaoRede.h"
#include "plans/RedePlano.h"
#include "plans/RegrasRede.h"
#include "platform/Mensagens.h"
#include "platform/LinhaComando.h"
#include "platform/Plataforma.h"

using MedidasBench::medianaMs;
void exec(sqlite3* db, const char* sql) { MedidasBench::execCru(db, sql); }
int leitura(sqlite3* db, const QString& sql, const QVariantList& p = {}) { return MedidasBench::leituraCrua(db, sql, p); }
using MedidasBench::linha;

namespace {

constexpr int kHospitais = 5000;
constexpr int kPlanosLote = 100;
constexpr int kHospitaisLote = 1000;

// The time of `f`, `repeticoes` times after one warm-up run, each run preceded by
// `prepara` (not timed); the median.
double mede(int repeticoes, const std::function<void()>& prepara, const std::function<void()>& f) {
    std::vector<qint64> ns;
    for (int i = 0; i <= repeticoes; ++i) {
        prepara();
        QElapsedTimer t;
        t.start();
        f();
        if (i > 0) ns.push_back(t.nsecsElapsed());
    }
    return medianaMs(ns);
}

// A statement prepared once, stepped for each row of values.
void executaLinhas(sqlite3* db, const char* sql, const QList<QVariantList>& linhas) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    for (const auto& l : linhas) {
        MedidasBench::vinculaCru(st, l);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
}

// Triggers an action of the screen and lets the window repaint.
void aciona(QAction* a) {
    a->trigger();
    QApplication::processEvents();
}

// A pair of moves on a picker (all in, all back) against the engine moving the same rows:
// the data (the action alone) and the painted time, each side from the state it needs.
struct Movimentos {
    MedidasBench::Par inclui, retira, incluiPintado, retiraPintado;
    int incluidas = 0;  // rows on the chosen side after "all in"
    void escreve(const char* nInclui, const char* nRetira, const char* nIncluiPintado, const char* nRetiraPintado,
                 const char* obs) const {
        MedidasBench::linha(nInclui, inclui.ms, inclui.baseMs, obs);
        MedidasBench::linha(nRetira, retira.ms, retira.baseMs, "intercalado");
        MedidasBench::linha(nIncluiPintado, incluiPintado.ms, incluiPintado.baseMs, "com a pintura das grades");
        MedidasBench::linha(nRetiraPintado, retiraPintado.ms, retiraPintado.baseMs, "com a pintura das grades");
    }
};
Movimentos medeMovimentos(int repeticoes, QAction* incluiTodos, QAction* retiraTodos,
                          const std::function<void()>& incluiCru, const std::function<void()>& retiraCru,
                          const std::function<void()>& oferecida, const std::function<void()>& escolhida,
                          const std::function<int()>& escolhidas) {
    Movimentos m;
    m.inclui = MedidasBench::intercala(repeticoes, [&] { incluiTodos->trigger(); }, incluiCru, oferecida);
    m.incluidas = escolhidas();
    m.retira = MedidasBench::intercala(repeticoes, [&] { retiraTodos->trigger(); }, retiraCru, escolhida);
    m.incluiPintado = MedidasBench::intercala(repeticoes, [&] { aciona(incluiTodos); }, incluiCru, oferecida);
    m.retiraPintado = MedidasBench::intercala(repeticoes, [&] { aciona(retiraTodos); }, retiraCru, escolhida);
    return m;
}

}  // namespace

int main(int argc, char** argv) {
    GeraBaseEstab::preparaAmbiente();
    AplicacaoQev app(argc, argv);  // as the program runs: letters, translations, clock
    const QStringList args = LeArgumentos(
        app, QStringLiteral("Mede a área de atuação, a vinculação de rede, a leitura da rede, as regras da rede "
                            "e a vinculação em lote contra o SQLite puro fazendo o mesmo trabalho."),
        {{QStringLiteral("PASTA"), QStringLiteral("Pasta da base grande (gerada se faltar)."), true},
         {QStringLiteral("REPETICOES"), QStringLiteral("Repetições de cada medida (5)."), true}});
    const QString pasta = args.size() > 0 ? args[0] : QDir::tempPath() + QStringLiteral("/qev-bench-planos");
    const int repeticoes = std::max(1, args.size() > 1 ? args[1].toInt() : 5);
    int mensagens = 0;
    Mensagens::defineTratador([&mensagens](const Mensagens::Pedido& p) {
        ++mensagens;
        if (p.tipo != Mensagens::Confirmacao && p.tipo != Mensagens::Informacao)
            std::fprintf(stderr, "mensagem: %s\n", qPrintable(p.texto));
        return Mensagens::respostaPadrao(p.botoes);
    });
    ModulosPlanos modulos(pasta);
    TdmInfoPlano& dm = *modulos.dm;
    Banco& banco = modulos.conexao.banco();
    sqlite3* db = banco.handle();
    const QString op = QString::fromLatin1(GeraBaseEstab::kOperadora);
    const qlonglong seq = GeraBaseEstab::kPlanoVazio;
    const auto limpaPlano = [&] {
        for (const char* t : {"RL_PLANOS_ESTAB_SAUDE", "RL_PLANOS_MUNICIPIO", "RL_PLANOS_UF"})
            banco.executa(QStringLiteral("DELETE FROM %1 WHERE SEQ_PLANO = ?").arg(QLatin1String(t)), {seq});
    };
    limpaPlano();

    std::printf("base: %s; mediana de %d repetições\n", qPrintable(banco.caminho()), repeticoes);
    std::printf("\n%s %13s %13s %9s\n", qPrintable(QStringLiteral("operação").leftJustified(50)), "QEV",
                "SQLite puro", "razão");

    TfrmCadPlano tela;
    tela.resize(1000, 690);
    tela.show();
    QApplication::processEvents();
    TEdicaoPlano& e = *tela.edicao();
    e.LocalizaPlano(op, seq);
    aciona(tela.actAlterar);
    if (!dm.cdsPlano()->EmEdicao()) {
        std::fprintf(stderr, "o plano %lld não entrou em edição\n", seq);
        return 1;
    }
    char obs[200];

    // --- the area picker: the 645 municipalities of São Paulo ----------------------------------
    tela.pgcInfoPlano->setCurrentWidget(tela.tbsAreaAtuacao);
    QApplication::processEvents();
    dm.cdsUF()->Locate(QStringLiteral("CD_UF"), QStringLiteral("SP"));
    QApplication::processEvents();
    const int sp = dm.cdsMunicipio()->RecordCount();
    // the engine's side: the state's municipalities offered in one memory table, moved to
    // the plan's in another (the columns the screen's two lists hold)
    exec(db, "CREATE TEMP TABLE AREA_OFERTA AS SELECT ID_MUNC, CD_UF, NM_MUNC FROM TB_MUNICIPIOS WHERE CD_UF = 'SP'");
    exec(db, "CREATE TEMP TABLE AREA_PLANO (CD_OPER TEXT, SEQ_PLANO INTEGER, ID_MUNC INTEGER, NM_MUNC TEXT, CD_UF TEXT)");
    const QByteArray opUtf8 = op.toUtf8();
    const auto moveCru = [&](const char* insere, const char* exclui) {
        exec(db, "BEGIN");
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, insere, -1, &st, nullptr);
        sqlite3_bind_text(st, 1, opUtf8.constData(), -1, SQLITE_STATIC);
        sqlite3_bind_int64(st, 2, seq);
        sqlite3_step(st);
        sqlite3_finalize(st);
        exec(db, exclui);
        exec(db, "COMMIT");
    };
    const auto incluiCru = [&] {
        moveCru("INSERT INTO AREA_PLANO SELECT ?, ?, ID_MUNC, NM_MUNC, CD_UF FROM AREA_OFERTA", "DELETE FROM AREA_OFERTA");
    };
    const auto retiraCru = [&] {
        moveCru("INSERT INTO AREA_OFERTA SELECT ID_MUNC + 0 * ? + 0 * ?, CD_UF, NM_MUNC FROM AREA_PLANO",
                "DELETE FROM AREA_PLANO");
    };
    limpaPlano();
    // each side starts from everything offered: the other side's move is undone (not timed)
    const auto areaOferecida = [&] {
        if (dm.cdsPlanosMunicipio()->RecordCount() > 0) aciona(tela.actRetiraTodosMunicipios);
        exec(db, "DELETE FROM AREA_PLANO");
        exec(db, "DELETE FROM AREA_OFERTA");
        exec(db, "INSERT INTO AREA_OFERTA SELECT ID_MUNC, CD_UF, NM_MUNC FROM TB_MUNICIPIOS WHERE CD_UF = 'SP'");
    };
    const auto areaEscolhida = [&] {
        areaOferecida();
        aciona(tela.actIncluiTodosMunicipios);
        incluiCru();
    };
    const Movimentos area = medeMovimentos(repeticoes, tela.actIncluiTodosMunicipios, tela.actRetiraTodosMunicipios,
                                           incluiCru, retiraCru, areaOferecida, areaEscolhida,
                                           [&] { return dm.cdsPlanosMunicipio()->RecordCount(); });
    if (area.incluidas != sp) {
        std::fprintf(stderr, "a inclusão moveu %d de %d municípios\n", area.incluidas, sp);
        return 1;
    }
    std::snprintf(obs, sizeof obs, "%d municípios, intercalado; cru: tabelas em memória", sp);
    area.escreve("área: \">>\" dos municípios de SP", "área: \"<<\" de volta", "área: \">>\", pintado",
                 "área: \"<<\", pintado", obs);
    areaOferecida();
    exec(db, "DROP TABLE AREA_OFERTA");
    exec(db, "DROP TABLE AREA_PLANO");

    // --- the network tab: linking 5,000 hospitals ------------------------------------------------
    tela.pgcInfoPlano->setCurrentWidget(tela.tbsRede);
    QApplication::processEvents();
    RowSet& disponiveis = *e.rede()->qryEstabManutRede();
    RowSet& rede = *dm.cdsPlanoRede();
    const int todos = disponiveis.RecordCount();
    {
        const MedidasBench::Par aba = MedidasBench::intercala(repeticoes, [&] {
            e.rede()->CarregaRede();
            QApplication::processEvents();
        }, [&] {
            leitura(db, QString(TRedePlano::SqlDisponiveis(2)).replace(QStringLiteral(":CD_OPER"), QStringLiteral("?")), {op});
        }, [&] { disponiveis.Fecha(); });
        std::snprintf(obs, sizeof obs, "%d estabelecimentos oferecidos, intercalado", todos);
        linha("rede: leitura da lista de disponíveis", aba.ms, aba.baseMs, obs);
    }
    // the first 5,000 in the list's order
    QSet<int> primeiras;
    QList<QVariantList> vinculos5000;
    QVariantList ids5000;
    for (int p = 0; p < kHospitais && p < disponiveis.RecordCount(); ++p) {
        const int l = disponiveis.LinhaNaPosicao(p);
        primeiras.insert(l);
        const qlonglong id = disponiveis.ValorDaLinha(l, QStringLiteral("ID_ESTB_SAUD")).toLongLong();
        vinculos5000.push_back({op, seq, id, QStringLiteral("2024-06-15 10:00:00")});
        ids5000.push_back(id);
    }
    disponiveis.DefineFiltro([&primeiras](const RowSet&, int l) { return primeiras.contains(l); });
    QApplication::processEvents();
    const char* insereVinculo =
        "INSERT INTO RL_PLANOS_ESTAB_SAUDE (CD_OPER, SEQ_PLANO, ID_ESTB_SAUD, DT_VINCULO, LG_NOVO) VALUES (?, ?, ?, ?, 'S')";
    // the engine's side: the 5,000 offered (the columns the plan's network list holds) in
    // one memory table, moved to the plan's in another
    exec(db, "CREATE TEMP TABLE REDE_OFERTA (ID_ESTB_SAUD INTEGER, CD_CNPJ_ESTB_SAUD TEXT, CD_CNES TEXT, "
             "RAZAO_SOCIAL_ESTB_SAUD TEXT, ID_MUNC INTEGER, CD_UF TEXT, LG_URGENCIA_EMERGENCIA TEXT)");
    exec(db, "CREATE TEMP TABLE REDE_PLANO (CD_OPER TEXT, SEQ_PLANO INTEGER, ID_ESTB_SAUD INTEGER, DT_VINCULO TEXT, "
             "LG_NOVO TEXT, CD_CNPJ_ESTB_SAUD TEXT, CD_CNES TEXT, RAZAO_SOCIAL_ESTB_SAUD TEXT, ID_MUNC INTEGER, "
             "LG_URGENCIA_EMERGENCIA TEXT, CD_UF TEXT)");
    const auto redeOferecidaCru = [&] {
        exec(db, "DELETE FROM REDE_PLANO");
        exec(db, "DELETE FROM REDE_OFERTA");
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO REDE_OFERTA SELECT E.ID_ESTB_SAUD, E.CD_CNPJ_ESTB_SAUD, E.CD_CNES, "
                               "E.RAZAO_SOCIAL_ESTB_SAUD, E.ID_MUNC, M.CD_UF, E.LG_URGENCIA_EMERGENCIA FROM TB_ESTAB_SAUDE E "
                               "LEFT JOIN TB_MUNICIPIOS M ON M.ID_MUNC = E.ID_MUNC WHERE E.ID_ESTB_SAUD = ?",
                           -1, &st, nullptr);
        for (const QVariant& id : ids5000) {
            sqlite3_bind_int64(st, 1, id.toLongLong());
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
    };
    const auto vinculaCru = [&] {
        moveCru("INSERT INTO REDE_PLANO SELECT ?, ?, ID_ESTB_SAUD, '2024-06-15 10:00:00', 'S', CD_CNPJ_ESTB_SAUD, "
                "CD_CNES, RAZAO_SOCIAL_ESTB_SAUD, ID_MUNC, LG_URGENCIA_EMERGENCIA, CD_UF FROM REDE_OFERTA",
                "DELETE FROM REDE_OFERTA");
    };
    const auto desvinculaCru = [&] {
        moveCru("INSERT INTO REDE_OFERTA SELECT ID_ESTB_SAUD + 0 * ? + 0 * ?, CD_CNPJ_ESTB_SAUD, CD_CNES, "
                "RAZAO_SOCIAL_ESTB_SAUD, ID_MUNC, CD_UF, LG_URGENCIA_EMERGENCIA FROM REDE_PLANO",
                "DELETE FROM REDE_PLANO");
    };
    limpaPlano();
    const auto redeOferecida = [&] {
        if (rede.RecordCount() > 0) aciona(tela.actRedeDesvTodos);  // the question is answered yes
        redeOferecidaCru();
    };
    const auto redeEscolhida = [&] {
        redeOferecida();
        aciona(tela.actRedeVincTodos);
        vinculaCru();
    };
    const Movimentos moveRede = medeMovimentos(repeticoes, tela.actRedeVincTodos, tela.actRedeDesvTodos, vinculaCru,
                                               desvinculaCru, redeOferecida, redeEscolhida,
                                               [&] { return rede.RecordCount(); });
    if (moveRede.incluidas != kHospitais) {
        std::fprintf(stderr, "\">>\" vinculou %d\n", moveRede.incluidas);
        return 1;
    }
    moveRede.escreve("rede: \">>\" de 5.000 hospitais", "rede: \"<<\" dos 5.000", "rede: \">>\" de 5.000, pintado",
                     "rede: \"<<\" dos 5.000, pintado", "intercalado; cru: tabelas em memória");
    redeOferecida();
    exec(db, "DROP TABLE REDE_OFERTA");
    exec(db, "DROP TABLE REDE_PLANO");
    // every hospital of the operator, once: what the user waits for, painted
    disponiveis.DefineFiltro(nullptr);
    {
        QElapsedTimer t;
        t.start();
        aciona(tela.actRedeVincTodos);
        const double ms = t.nsecsElapsed() / 1e6;
        std::printf("%s %10.2f ms  (%d hospitais, uma vez, pintado)\n",
                    qPrintable(QStringLiteral("rede: \">>\" de todos os hospitais").leftJustified(50)), ms,
                    rede.RecordCount());
        MedidasBench::resumoValor("rede: \">>\" de todos os hospitais (pintado)", ms, "ms", "uma vez");
        aciona(tela.actRedeDesvTodos);
    }
    aciona(tela.actCancelar);

    // --- the network rules of a national plan with 5,000 links -------------------------------------
    banco.executa(QStringLiteral("UPDATE TB_PLANOS SET CD_ABRANGENCIA = 1 WHERE SEQ_PLANO = ?"), {seq});
    exec(db, "BEGIN IMMEDIATE");
    executaLinhas(db, insereVinculo, vinculos5000);
    exec(db, "COMMIT");
    dm.AbrePlanos();
    e.LocalizaPlano(op, seq);
    aciona(tela.actAlterar);
    const QString leRede = QStringLiteral(
        "SELECT M.CD_UF, E.ID_MUNC, E.LG_URGENCIA_EMERGENCIA FROM RL_PLANOS_ESTAB_SAUDE R JOIN TB_ESTAB_SAUDE E "
        "ON E.ID_ESTB_SAUD = R.ID_ESTB_SAUD LEFT JOIN TB_MUNICIPIOS M ON M.ID_MUNC = E.ID_MUNC "
        "WHERE R.CD_OPER = ? AND R.SEQ_PLANO = ?");
    const double baseRegras = mede(repeticoes, [] {}, [&] {
        leitura(db, leRede, {op, seq});
        leitura(db, QStringLiteral("SELECT TB_UFS.* FROM TB_UFS ORDER BY CD_UF"));
    });
    QString mensagem;
    const double msRegrasLidas = mede(repeticoes, [&] {
        rede.Fecha();
        dm.cdsUFRede()->Fecha();
    }, [&] { mensagem = e.rede()->RegrasRede(op, seq, 1); });
    std::snprintf(obs, sizeof obs, "%d vínculos; %s", rede.RecordCount(),
                  mensagem.isEmpty() ? "rede aceita" : "rede recusada");
    // the screen reads the plan's network with its own statement, every column of it
    QString sqlRede = rede.Sql();
    sqlRede.replace(QStringLiteral(":CD_OPER"), QStringLiteral("?")).replace(QStringLiteral(":SEQ_PLANO"), QStringLiteral("?"));
    const double baseRegrasLidas = mede(repeticoes, [] {}, [&] {
        leitura(db, sqlRede, {op, seq});
        leitura(db, QStringLiteral("SELECT TB_UFS.* FROM TB_UFS ORDER BY CD_UF"));
    });
    linha("regras da rede, nacional (lendo a rede)", msRegrasLidas, baseRegrasLidas, obs);
    const double msRegrasTela = mede(repeticoes, [] {}, [&] { mensagem = e.rede()->RegrasRede(op, seq, 1); });
    linha("regras da rede, nacional (rede já na tela)", msRegrasTela, baseRegras, "sem leitura");
    const QStringList ufs = LeUfsPais(banco);
    const double msRegrasBanco = mede(repeticoes, [] {}, [&] {
        mensagem = AvaliaRede(LeDadosRede(banco, op, seq, QStringLiteral("N"), 1, LeUfsPais(banco)));
    });
    linha("regras da rede, nacional (do banco, lote)", msRegrasBanco, baseRegras, "LeDadosRede + AvaliaRede");

    // --- reading the plan's network (5,000 links) into the screen, interleaved with the bare read
    // of the same statement; the tab hidden, then shown: the data (the set read, the grid's
    // model told) and, beside it, the painted time (the grid repainted after it)
    for (const bool mostrada : {false, true}) {
        tela.pgcInfoPlano->setCurrentWidget(mostrada ? tela.tbsRede : tela.tbsDadosGerais);
        QApplication::processEvents();
        const auto leCru = [&] { leitura(db, sqlRede, {op, seq}); };
        const auto fecha = [&] {
            rede.Fecha();
            QApplication::processEvents();
        };
        const MedidasBench::Par p = MedidasBench::intercala(repeticoes, [&] { dm.GarantePlano(&rede); }, leCru, fecha);
        std::snprintf(obs, sizeof obs, "%d vínculos, intercalado (meta: até 2,5x)", rede.RecordCount());
        linha(mostrada ? "rede: leitura da rede do plano (aba mostrada)" : "rede: leitura da rede do plano (aba oculta)",
              p.ms, p.baseMs, obs);
        if (!mostrada) continue;
        const MedidasBench::Par pintada = MedidasBench::intercala(repeticoes, [&] {
            dm.GarantePlano(&rede);
            QApplication::processEvents();
        }, leCru, fecha);
        linha("rede: leitura da rede do plano, pintada", pintada.ms, pintada.baseMs, "intercalado; com a pintura da grade");
    }
    aciona(tela.actCancelar);
    limpaPlano();
    banco.executa(QStringLiteral("UPDATE TB_PLANOS SET CD_ABRANGENCIA = 4 WHERE SEQ_PLANO = ?"), {seq});
    tela.actSair->trigger();

    // --- batch linking: 1,000 hospitals to 100 plans ---------------------------------------------------
    // Its opening reads both lists and looks for linked establishments with missing data;
    // the bare side reads the same lists and runs the same look-up, interleaved.
    TManutencaoRede lote;
    const QString sqlEstabLote = QString(TManutencaoRede::SqlEstabelecimentos()).replace(QStringLiteral(":CD_OPER"), QStringLiteral("?"));
    const QString sqlPlanosLote = QString(TManutencaoRede::SqlPlanos()).replace(QStringLiteral(":CD_OPER"), QStringLiteral("?"));
    const QString sqlIncompletos = TDmHospital::SqlVinculadoIncompleto();
    const auto abreCru = [&] {
        leitura(db, sqlIncompletos);
        leitura(db, sqlPlanosLote, {op});
        leitura(db, sqlEstabLote, {op});
    };
    const MedidasBench::Par abreLote = MedidasBench::intercala(repeticoes, [&] { lote.Abre(); }, abreCru);
    linha("lote: abertura (as duas listas e os incompletos)", abreLote.ms, abreLote.baseMs,
          "intercalado (meta: até 2,5x)");
    const MedidasBench::Par abreTelaLote = MedidasBench::intercala(repeticoes, [] {
        TfrmManutencaoRede tela;
        tela.show();
        QApplication::processEvents();
        tela.close();
    }, abreCru);
    linha("lote: abertura da tela, pintada", abreTelaLote.ms, abreTelaLote.baseMs, "intercalado");
    RowSet& estabs = *lote.qryEstabManutRede();
    RowSet& planos = *lote.adoPlanosManuRede();
    {
        const double msTodos = mede(repeticoes, [&] { lote.LimpaHospitais(); }, [&] { lote.SelecionaTodosHospitais(); });
        std::printf("%s %10.2f ms  (%d estabelecimentos na seleção, ordenados por CNPJ; só memória)\n",
                    qPrintable(QStringLiteral("lote: \">>\" de todos os estabelecimentos").leftJustified(50)), msTodos,
                    lote.cdsHospitais()->RecordCount());
    }
    lote.LimpaHospitais();
    QVector<int> linhasEstab, linhasPlanos;
    for (int p = 0; p < kHospitaisLote; ++p) linhasEstab << estabs.LinhaNaPosicao(p * 50);  // spread over the list
    for (int p = 0; p < kPlanosLote; ++p) linhasPlanos << planos.LinhaNaPosicao(p * 10);
    lote.SelecionaHospitais(linhasEstab);
    lote.SelecionaPlanos(linhasPlanos);
    std::vector<qint64> idsLote, seqsLote;
    for (int l : linhasEstab) idsLote.push_back(estabs.ValorDaLinha(l, QStringLiteral("ID_ESTB_SAUD")).toLongLong());
    for (int l : linhasPlanos) seqsLote.push_back(planos.ValorDaLinha(l, QStringLiteral("SEQ_PLANO")).toLongLong());
    const qint64 maxAntes = banco.valor(QStringLiteral("SELECT max(rowid) FROM RL_PLANOS_ESTAB_SAUDE")).toLongLong();
    const Resultado flagsAntes = banco.consulta(QStringLiteral("SELECT SEQ_PLANO, LG_REDE_VINCULADA FROM TB_PLANOS"));
    const auto desfazLote = [&] {
        banco.executa(QStringLiteral("DELETE FROM RL_PLANOS_ESTAB_SAUDE WHERE rowid > ?"), {maxAntes});
    };
    int inseridos = 0;
    const double baseLote = mede(repeticoes, desfazLote, [&] {
        inseridos = 0;
        for (qint64 s : seqsLote) {
            exec(db, "BEGIN IMMEDIATE");
            const auto ligados = MedidasBench::inteirosCrus(
                db, QStringLiteral("SELECT ID_ESTB_SAUD FROM RL_PLANOS_ESTAB_SAUDE WHERE SEQ_PLANO = ?"), {s});
            const QSet<qint64> jaLigados(ligados.begin(), ligados.end());
            QList<QVariantList> novos;
            for (qint64 id : idsLote)
                if (!jaLigados.contains(id)) novos.push_back({s, id, op, QStringLiteral("2024-06-15 10:00:00")});
            executaLinhas(db, "INSERT INTO RL_PLANOS_ESTAB_SAUDE (SEQ_PLANO, ID_ESTB_SAUD, CD_OPER, LG_NOVO, DT_VINCULO) "
                              "VALUES (?, ?, ?, 'S', ?)", novos);
            inseridos += int(novos.size());
            exec(db, "COMMIT");
        }
    });
    // the network check's reads, for the second ratio
    const double baseVerificacao = mede(repeticoes, [] {}, [&] {
        for (qint64 s : seqsLote) {
            leitura(db, leRede, {op, s});
            leitura(db, QStringLiteral("SELECT CD_UF FROM RL_PLANOS_UF WHERE CD_OPER = ? AND SEQ_PLANO = ?"), {op, s});
        }
    });
    int vinculados = 0;
    const double msLote = mede(repeticoes, desfazLote, [&] { vinculados = lote.Vincula().vinculos; });
    std::snprintf(obs, sizeof obs, "%d planos x %d hospitais: %d vínculos novos (cru: %d)", kPlanosLote,
                  kHospitaisLote, vinculados, inseridos);
    linha("lote: vinculação (vínculos e verificação)", msLote, baseLote, obs);
    linha("  idem, contra inserções + leituras da verificação", msLote, baseLote + baseVerificacao, "");
    desfazLote();
    for (const auto& l : flagsAntes.linhas)
        banco.executa(QStringLiteral("UPDATE TB_PLANOS SET LG_REDE_VINCULADA = ? WHERE SEQ_PLANO = ?"), {l[1], l[0]});
    std::printf("(%d mensagens respondidas)\n", mensagens);
    return 0;
}
