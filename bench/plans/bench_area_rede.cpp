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
// Each against plain SQLite doing the same row work with the C API: the same rows read
// (every column fetched as text) and the same rows inserted or deleted with a prepared
// statement, one transaction per plan. Prints medians and ratios.
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

#include "GeraBaseEstab.h"
#include "MedidasBench.h"
#include "ModulosPlanos.h"
#include "db/RowSet.h"
#include "plans/AreaAtuacaoPlano.h"
#include "plans/FrmCadPlano.h"
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

}  // namespace

int main(int argc, char** argv) {
    GeraBaseEstab::preparaAmbiente();
    QApplication app(argc, argv);
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
    QList<QVariantList> municipiosSp;
    for (qint64 id : MedidasBench::inteirosCrus(db, QStringLiteral("SELECT ID_MUNC FROM TB_MUNICIPIOS WHERE CD_UF = 'SP'")))
        municipiosSp.push_back({op, seq, id});
    const QString leMunicipios = QStringLiteral("SELECT M.ID_MUNC, M.CD_UF, M.NM_MUNC FROM TB_MUNICIPIOS M WHERE CD_UF = 'SP'");
    const double baseInclui = mede(repeticoes, [&] { limpaPlano(); }, [&] {
        leitura(db, leMunicipios);
        exec(db, "BEGIN IMMEDIATE");
        executaLinhas(db, "INSERT INTO RL_PLANOS_MUNICIPIO (CD_OPER, SEQ_PLANO, ID_MUNC) VALUES (?, ?, ?)", municipiosSp);
        exec(db, "COMMIT");
    });
    const double baseRetira = mede(repeticoes, [&] {
        limpaPlano();
        exec(db, "BEGIN IMMEDIATE");
        executaLinhas(db, "INSERT INTO RL_PLANOS_MUNICIPIO (CD_OPER, SEQ_PLANO, ID_MUNC) VALUES (?, ?, ?)", municipiosSp);
        exec(db, "COMMIT");
    }, [&] {
        leitura(db, QStringLiteral("SELECT PM.ID_MUNC, M.NM_MUNC, M.CD_UF FROM RL_PLANOS_MUNICIPIO PM INNER JOIN "
                                   "TB_MUNICIPIOS M ON M.ID_MUNC = PM.ID_MUNC WHERE PM.CD_OPER = ? AND PM.SEQ_PLANO = ?"),
                {op, seq});
        exec(db, "BEGIN IMMEDIATE");
        executaLinhas(db, "DELETE FROM RL_PLANOS_MUNICIPIO WHERE CD_OPER = ? AND SEQ_PLANO = ? AND ID_MUNC = ?",
                      municipiosSp);
        exec(db, "COMMIT");
    });
    limpaPlano();
    std::vector<qint64> inclui, retira;
    for (int i = 0; i <= repeticoes; ++i) {
        QElapsedTimer t;
        t.start();
        aciona(tela.actIncluiTodosMunicipios);
        const qint64 a = t.nsecsElapsed();
        if (dm.cdsPlanosMunicipio()->RecordCount() != sp) {
            std::fprintf(stderr, "a inclusão moveu %d de %d municípios\n", dm.cdsPlanosMunicipio()->RecordCount(), sp);
            return 1;
        }
        t.restart();
        aciona(tela.actRetiraTodosMunicipios);
        const qint64 b = t.nsecsElapsed();
        if (i > 0) {
            inclui.push_back(a);
            retira.push_back(b);
        }
    }
    std::snprintf(obs, sizeof obs, "%d municípios, grades pintadas; cru: lê e insere numa transação", sp);
    linha("área: \">>\" dos municípios de SP", medianaMs(inclui), baseInclui, obs);
    linha("área: \"<<\" de volta", medianaMs(retira), baseRetira, "cru: lê e exclui numa transação");

    // --- the network tab: linking 5,000 hospitals ------------------------------------------------
    tela.pgcInfoPlano->setCurrentWidget(tela.tbsRede);
    QApplication::processEvents();
    RowSet& disponiveis = *e.rede()->qryEstabManutRede();
    RowSet& rede = *dm.cdsPlanoRede();
    const int todos = disponiveis.RecordCount();
    {
        const double baseAba = mede(repeticoes, [] {}, [&] {
            leitura(db, QString(TRedePlano::SqlDisponiveis(2)).replace(QStringLiteral(":CD_OPER"), QStringLiteral("?")), {op});
        });
        const double msAba = mede(repeticoes, [&] { disponiveis.Fecha(); }, [&] {
            e.rede()->CarregaRede();
            QApplication::processEvents();
        });
        std::snprintf(obs, sizeof obs, "%d estabelecimentos oferecidos", todos);
        linha("rede: leitura da lista de disponíveis", msAba, baseAba, obs);
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
    const QString leEstab = QStringLiteral(
        "SELECT ID_ESTB_SAUD, CD_CNES, CD_CNPJ_ESTB_SAUD, E.ID_MUNC, M.CD_UF, RAZAO_SOCIAL_ESTB_SAUD, "
        "LG_URGENCIA_EMERGENCIA FROM TB_ESTAB_SAUDE E LEFT JOIN TB_MUNICIPIOS M ON M.ID_MUNC = E.ID_MUNC "
        "WHERE CD_CLASSIF_ESTAB_SAUDE = 1 AND CD_OPER = ? ORDER BY CD_CNPJ_ESTB_SAUD LIMIT 5000");
    const char* insereVinculo =
        "INSERT INTO RL_PLANOS_ESTAB_SAUDE (CD_OPER, SEQ_PLANO, ID_ESTB_SAUD, DT_VINCULO, LG_NOVO) VALUES (?, ?, ?, ?, 'S')";
    const double baseVincula = mede(repeticoes, [&] { limpaPlano(); }, [&] {
        leitura(db, leEstab, {op});
        exec(db, "BEGIN IMMEDIATE");
        executaLinhas(db, insereVinculo, vinculos5000);
        exec(db, "COMMIT");
    });
    const double baseDesvincula = mede(repeticoes, [&] {
        limpaPlano();
        exec(db, "BEGIN IMMEDIATE");
        executaLinhas(db, insereVinculo, vinculos5000);
        exec(db, "COMMIT");
    }, [&] {
        QList<QVariantList> chaves;
        for (const auto& v : vinculos5000) chaves.push_back({v[0], v[1], v[2]});
        exec(db, "BEGIN IMMEDIATE");
        executaLinhas(db, "DELETE FROM RL_PLANOS_ESTAB_SAUDE WHERE CD_OPER = ? AND SEQ_PLANO = ? AND ID_ESTB_SAUD = ?",
                      chaves);
        exec(db, "COMMIT");
    });
    limpaPlano();
    std::vector<qint64> vincula, desvincula;
    for (int i = 0; i <= repeticoes; ++i) {
        QElapsedTimer t;
        t.start();
        aciona(tela.actRedeVincTodos);
        const qint64 a = t.nsecsElapsed();
        if (rede.RecordCount() != kHospitais) {
            std::fprintf(stderr, "\">>\" vinculou %d\n", rede.RecordCount());
            return 1;
        }
        t.restart();
        aciona(tela.actRedeDesvTodos);  // the question is answered yes
        const qint64 b = t.nsecsElapsed();
        if (i > 0) {
            vincula.push_back(a);
            desvincula.push_back(b);
        }
    }
    linha("rede: \">>\" de 5.000 hospitais", medianaMs(vincula), baseVincula,
          "cru: lê os 5.000 e insere numa transação");
    linha("rede: \"<<\" dos 5.000", medianaMs(desvincula), baseDesvincula, "cru: exclui numa transação");
    // every hospital of the operator, once
    disponiveis.DefineFiltro(nullptr);
    {
        QElapsedTimer t;
        t.start();
        aciona(tela.actRedeVincTodos);
        const double ms = t.nsecsElapsed() / 1e6;
        QList<QVariantList> todosVinculos;
        for (int p = 0; p < disponiveis.RecordCount(); ++p)
            todosVinculos.push_back({op, seq, disponiveis.ValorNaPosicao(p, disponiveis.IndiceCampo(QStringLiteral("ID_ESTB_SAUD"))),
                                     QStringLiteral("2024-06-15 10:00:00")});
        limpaPlano();
        t.restart();
        leitura(db, QString(leEstab).remove(QStringLiteral(" LIMIT 5000")), {op});
        exec(db, "BEGIN IMMEDIATE");
        executaLinhas(db, insereVinculo, todosVinculos);
        exec(db, "COMMIT");
        const double base = t.nsecsElapsed() / 1e6;
        limpaPlano();
        std::snprintf(obs, sizeof obs, "%d hospitais, uma vez", rede.RecordCount());
        linha("rede: \">>\" de todos os hospitais", ms, base, obs);
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
    // of the same statement; the tab hidden, then shown (the grid painted)
    for (const bool mostrada : {false, true}) {
        tela.pgcInfoPlano->setCurrentWidget(mostrada ? tela.tbsRede : tela.tbsDadosGerais);
        QApplication::processEvents();
        const MedidasBench::Par p = MedidasBench::intercala(
            repeticoes,
            [&] {
                dm.GarantePlano(&rede);
                QApplication::processEvents();
            },
            [&] { leitura(db, sqlRede, {op, seq}); }, [&] { rede.Fecha(); });
        std::snprintf(obs, sizeof obs, "%d vínculos, intercalado (meta: até 2,5x)", rede.RecordCount());
        linha(mostrada ? "rede: leitura da rede do plano (aba mostrada)" : "rede: leitura da rede do plano (aba oculta)",
              p.ms, p.baseMs, obs);
    }
    aciona(tela.actCancelar);
    limpaPlano();
    banco.executa(QStringLiteral("UPDATE TB_PLANOS SET CD_ABRANGENCIA = 4 WHERE SEQ_PLANO = ?"), {seq});
    tela.actSair->trigger();

    // --- batch linking: 1,000 hospitals to 100 plans ---------------------------------------------------
    TManutencaoRede lote;
    QElapsedTimer abertura;
    abertura.start();
    lote.Abre();
    const double msAbre = abertura.nsecsElapsed() / 1e6;
    abertura.restart();
    leitura(db, QString(TManutencaoRede::SqlEstabelecimentos()).replace(QStringLiteral(":CD_OPER"), QStringLiteral("?")), {op});
    leitura(db, QString(TManutencaoRede::SqlPlanos()).replace(QStringLiteral(":CD_OPER"), QStringLiteral("?")), {op});
    linha("lote: abertura (as duas listas)", msAbre, abertura.nsecsElapsed() / 1e6, "");
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
