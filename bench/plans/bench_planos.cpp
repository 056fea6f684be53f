// bench_planos [PASTA] [REPETICOES=7]
//
// On the large database (PASTA/QEV.mdb, generated with 100,000 establishments and
// 2,000 plans when missing) times, in the same run and on the same connection:
//   abre     - opening the plan screen (creation, first show and paint, "Dados gerais"),
//              with the plans kept from the last opening and read again after a write;
//   proximo  - "next" on the screen (per move);
//   grava    - saving an edited plan to which 1,000 links, 500 municipalities, 10
//              technical notes and 10 tax documents were added on its tabs;
// each against plain SQLite doing the same row work with the C API: the statements the
// screen reads, every column of every row fetched as text; for the save, the same rows
// written in one transaction with prepared statements. Prints medians and ratios.
#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/Aplicacao.h"
#include "GeraBaseEstab.h"
#include "MedidasBench.h"
#include "ModulosPlanos.h"
#include "common/Identificadores.h"
#include "db/DmConexao.h"
#include "db/DmLookup.h"
#include "db/DmMunicipio.h"
#include "db/RowSet.h"
#include "network/DmHospital.h"
#include "operator/DmZemlo.h"
#include "plans/DmInfoPlano.h"
#include "plans/DmPlano.h"
#include "plans/FrmCadPlano.h"
#include "plans/TaxasTemporarias.h"
#include "platform/Mensagens.h"
#include "platform/LinhaComando.h"
#include "platform/Plataforma.h"

using MedidasBench::mede;
using MedidasBench::leituraCrua;
using MedidasBench::linha;
void exec(sqlite3* db, const char* sql) { MedidasBench::execCru(db, sql); }
using MedidasBench::medianaMs;

namespace {

constexpr int kLinks = 1000;
constexpr int kMunicipios = 500;
constexpr int kNotas = 10;
constexpr int kTaxas = 10;


}  // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& m) {
        if (!m.contains(QLatin1String("propagateSizeHints")))
            std::fprintf(stderr, "%s\n", qPrintable(m));
    });
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    AplicacaoQev app(argc, argv);  // as the program runs: letters, translations, clock
    const QStringList args = LeArgumentos(
        app, QStringLiteral("Mede a tela de planos (abertura, próximo/anterior, edição, gravação) contra o "
                            "SQLite puro fazendo as mesmas leituras e gravações."),
        {{QStringLiteral("PASTA"), QStringLiteral("Pasta da base grande (gerada se faltar)."), true},
         {QStringLiteral("REPETICOES"), QStringLiteral("Repetições de cada medida (7)."), true}});
    const QString pasta = args.size() > 0 ? args[0] : QDir::tempPath() + QStringLiteral("/qev-bench-planos");
    const int repeticoes = std::max(1, args.size() > 1 ? args[1].toInt() : 7);
    int mensagens = 0;
    Mensagens::defineTratador([&mensagens](const Mensagens::Pedido& p) {
        ++mensagens;
        return Mensagens::respostaPadrao(p.botoes);
    });
    ModulosPlanos modulos(pasta);
    TdmInfoPlano& dm = *modulos.dm;
    Banco& banco = modulos.conexao.banco();
    const QString caminho = banco.caminho();
    sqlite3* db = banco.handle();
    const QString op = QString::fromLatin1(GeraBaseEstab::kOperadora);

    std::printf("base: %s; mediana de %d repetições\n", qPrintable(caminho), repeticoes);
    for (const char* t : {"TB_ESTAB_SAUDE", "TB_PLANOS", "RL_PLANOS_ESTAB_SAUDE", "RL_PLANOS_UF",
                          "RL_PLANOS_MUNICIPIO", "RL_PLANO_NOTA_TECNICA", "RL_PLANO_TAXA_REGISTRO",
                          "RL_PLANOS_TIPO_COBERTURA", "RL_PLANOS_SERV_OPC"})
        std::printf("  %-26s %9lld linhas\n", t,
                    banco.valor(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(t))).toLongLong());
    std::printf("\n%s %13s %13s %9s\n", qPrintable(QStringLiteral("operação").leftJustified(50)), "QEV",
                "SQLite puro", "razão");

    // --- opening the screen ----------------------------------------------------------
    // The screen's opening (creation, first show and paint, closing) and the bare read of
    // what it shows, interleaved; once with nothing written between the openings (the
    // screen keeps the plans it read), once with a row written before each (read again).
    QString sqlPlano = TdmInfoPlano::SqlPlano();
    const auto leituraBase = [&] {
        leituraCrua(db, sqlPlano, {op});
        leituraCrua(db, QStringLiteral("SELECT * FROM TB_REGIAO_BRASIL"));
    };
    const auto abreTela = [] {
        TfrmCadPlano tela;
        tela.show();
        QApplication::processEvents();
        tela.actSair->trigger();
    };
    char obs[160];
    const MedidasBench::Par abre = MedidasBench::intercala(repeticoes, abreTela, leituraBase);
    std::snprintf(obs, sizeof obs, "%d planos da operadora, intercalado (meta: até 4x)", dm.cdsPlano()->RecordCount());
    linha("tela: abre (criação, exibição e pintura)", abre.ms, abre.baseMs, obs);
    const MedidasBench::Par abreMudou = MedidasBench::intercala(repeticoes, abreTela, leituraBase, [&] {
        banco.executa(QStringLiteral("UPDATE TB_PLANOS SET NM_PLANO = NM_PLANO WHERE SEQ_PLANO = 100"));
    });
    linha("tela: abre depois de uma gravação (relê os planos)", abreMudou.ms, abreMudou.baseMs, "intercalado");
    const MedidasBench::Par leitura = MedidasBench::intercala(repeticoes, [&] { dm.AbrePlanos(); }, leituraBase);
    linha("  leitura dos planos (cdsPlano)", leitura.ms, leitura.baseMs, "intercalado");

    // --- next ----------------------------------------------------------------------------
    // The screen moves over the plans it holds (no statement); the bare side does the same
    // row work as a cursor: one step of the plan list's statement per move, every column
    // fetched. The painted figure lets the window repaint after each move.
    constexpr int kPassos = 200;
    {
        TfrmCadPlano tela;
        tela.show();
        QApplication::processEvents();
        const auto passos = [&](bool pinta) {
            for (int i = 0; i < kPassos; ++i) {
                tela.actProximo->trigger();
                if (pinta) QApplication::processEvents();
            }
            for (int i = 0; i < kPassos; ++i) {
                tela.actAnterior->trigger();
                if (pinta) QApplication::processEvents();
            }
        };
        sqlite3_stmt* cursor = nullptr;
        const QByteArray sqlCursor = QString(sqlPlano).replace(QStringLiteral(":CD_OPER"), QStringLiteral("?")).toUtf8();
        sqlite3_prepare_v2(db, sqlCursor.constData(), -1, &cursor, nullptr);
        const QByteArray opUtf8 = op.toUtf8();
        const auto passosCrus = [&] {
            // forward and back: the rows again from the start of the list (a cursor goes one way)
            for (int volta = 0; volta < 2; ++volta) {
                sqlite3_reset(cursor);
                sqlite3_bind_text(cursor, 1, opUtf8.constData(), -1, SQLITE_STATIC);
                const int colunas = sqlite3_column_count(cursor);
                for (int i = 0; i < kPassos && sqlite3_step(cursor) == SQLITE_ROW; ++i)
                    for (int c = 0; c < colunas; ++c) sqlite3_column_text(cursor, c);
            }
        };
        // the row work: the plan list's row set moving over its rows, against the cursor
        RowSet& planos = *dm.cdsPlano();
        const MedidasBench::Par dados = MedidasBench::intercala(repeticoes, [&] {
            const QSignalBlocker semTela(planos);  // the set alone, without the screen following it
            for (int i = 0; i < kPassos; ++i) {
                planos.Next();
                for (int c = 0; c < planos.Campos().size(); ++c) planos.Valor(c);
            }
            for (int i = 0; i < kPassos; ++i) {
                planos.Prior();
                for (int c = 0; c < planos.Campos().size(); ++c) planos.Valor(c);
            }
        }, passosCrus);
        planos.First();
        linha("próximo/anterior: a linha do plano (cdsPlano)", dados.ms / (2 * kPassos), dados.baseMs / (2 * kPassos),
              "intercalado; cru: um passo do cursor da lista");
        // what the user waits for: the screen showing the next plan, and painted
        const double ms = MedidasBench::mede(repeticoes, [&] { passos(false); }) / (2 * kPassos);
        MedidasBench::resumoValor("tela: próximo/anterior (campos atualizados)", ms, "ms", "por movimento");
        std::printf("%s %10.3f ms por movimento\n",
                    qPrintable(QStringLiteral("tela: próximo/anterior (campos atualizados)").leftJustified(50)), ms);
        const double msPintado = MedidasBench::mede(repeticoes, [&] { passos(true); }) / (2 * kPassos);
        MedidasBench::resumoValor("tela: próximo/anterior, pintado", msPintado, "ms", "por movimento");
        std::printf("%s %10.3f ms por movimento\n",
                    qPrintable(QStringLiteral("tela: próximo/anterior, pintado").leftJustified(50)), msPintado);
        sqlite3_finalize(cursor);
        tela.actSair->trigger();
    }

    // --- starting to edit (check lists, area pickers, tax list) ------------------------------
    {
        TfrmCadPlano tela;
        tela.show();
        QApplication::processEvents();
        tela.edicao()->LocalizaPlano(op, 103);
        const auto comParametros = [](QString sql) {
            return sql.replace(QRegularExpression(QStringLiteral(":\\w+")), QStringLiteral("?"));
        };
        const double baseEdita = mede(repeticoes, [&] {
            for (RowSet* rs : {dm.cdsPlanoCobertura(), dm.cdsPlanoServico(), dm.cdsPlanosUF(),
                               dm.cdsListaUF(), dm.cdsPlanosMunicipio(), dm.cdsMunicipio(),
                               dm.cdsTaxaRegistro()})
                leituraCrua(db, comParametros(rs->Sql()), {op, qlonglong(103)});
            for (RowSet* rs : {dm.cdsCobertura(), dm.cdsServico(), dm.cdsUF(), dm.cdsFiltroUF()})
                leituraCrua(db, rs->Sql());
        });
        const double msEdita = mede(repeticoes, [&] {
            tela.actAlterar->trigger();
            tela.actCancelar->trigger();
        });
        linha("tela: editar e cancelar", msEdita, baseEdita, "listas, seletores da área, taxas");
        tela.actSair->trigger();
    }

    // --- saving an edited plan -----------------------------------------------------------
    const qlonglong seq = GeraBaseEstab::kPlanoVazio;
    QVector<qlonglong> hospitais, munics;
    for (const auto& l : banco.consulta(QStringLiteral("SELECT ID_ESTB_SAUD FROM TB_ESTAB_SAUDE WHERE "
                                                       "CD_CLASSIF_ESTAB_SAUDE = 1 AND CD_OPER = ? "
                                                       "ORDER BY ID_ESTB_SAUD LIMIT %1")
                                            .arg(kLinks),
                                        {op})
                             .linhas)
        hospitais << l[0].toLongLong();
    for (const auto& l : banco.consulta(QStringLiteral("SELECT ID_MUNC FROM TB_MUNICIPIOS WHERE CD_UF = 'MG' "
                                                       "ORDER BY ID_MUNC LIMIT %1")
                                            .arg(kMunicipios))
                             .linhas)
        munics << l[0].toLongLong();
    const auto limpa = [&] {
        for (const char* t : {"RL_PLANOS_ESTAB_SAUDE", "RL_PLANOS_MUNICIPIO", "RL_PLANO_NOTA_TECNICA",
                              "RL_PLANO_TAXA_REGISTRO", "RL_PLANOS_TIPO_COBERTURA", "RL_PLANOS_SERV_OPC"})
            banco.executa(QStringLiteral("DELETE FROM %1 WHERE SEQ_PLANO = ?").arg(QLatin1String(t)), {seq});
    };
    limpa();

    // plain SQLite: the same rows written in one transaction, then read back
    const auto escritaCrua = [&] {
        exec(db, "BEGIN IMMEDIATE");
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "UPDATE TB_PLANOS SET NM_PLANO = ?, LG_CONSISTENTE = 'S' WHERE CD_OPER = ? "
                               "AND SEQ_PLANO = ?", -1, &st, nullptr);
        sqlite3_bind_text(st, 1, "PLANO EDITADO", -1, SQLITE_STATIC);
        const QByteArray o = op.toUtf8();
        sqlite3_bind_text(st, 2, o.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int64(st, 3, seq);
        sqlite3_step(st);
        sqlite3_finalize(st);
        const auto insere = [&](const char* sql, int n, const std::function<void(sqlite3_stmt*, int)>& vincula) {
            sqlite3_stmt* s = nullptr;
            sqlite3_prepare_v2(db, sql, -1, &s, nullptr);
            for (int i = 0; i < n; ++i) {
                sqlite3_bind_text(s, 1, o.constData(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_int64(s, 2, seq);
                vincula(s, i);
                sqlite3_step(s);
                sqlite3_reset(s);
            }
            sqlite3_finalize(s);
        };
        insere("INSERT INTO RL_PLANOS_ESTAB_SAUDE (CD_OPER, SEQ_PLANO, ID_ESTB_SAUD, DT_VINCULO, LG_NOVO) "
               "VALUES (?, ?, ?, '2024-06-15 10:00:00', 'S')",
               kLinks, [&](sqlite3_stmt* s, int i) { sqlite3_bind_int64(s, 3, hospitais[i]); });
        insere("INSERT INTO RL_PLANOS_MUNICIPIO (CD_OPER, SEQ_PLANO, ID_MUNC) VALUES (?, ?, ?)", kMunicipios,
               [&](sqlite3_stmt* s, int i) { sqlite3_bind_int64(s, 3, munics[i]); });
        insere("INSERT INTO RL_PLANO_NOTA_TECNICA (CD_OPER, SEQ_PLANO, ID_PLANO_NOTA_TECNICA, "
               "NR_PROTOCOLO_NOTA_TECNICA, DT_PROTOCOLO) VALUES (?, ?, ?, ?, '2020-01-01')",
               kNotas, [&](sqlite3_stmt* s, int i) {
                   sqlite3_bind_int64(s, 3, 900000 + i);
                   sqlite3_bind_text(s, 4, QByteArray::number(7770000 + i).constData(), -1, SQLITE_TRANSIENT);
               });
        insere("INSERT INTO RL_PLANO_TAXA_REGISTRO (CD_OPER, SEQ_PLANO, ID_PLANO_TAXA_REGISTRO, "
               "NR_DOCUMENTO_TAXA) VALUES (?, ?, ?, ?)",
               kTaxas, [&](sqlite3_stmt* s, int i) {
                   sqlite3_bind_int64(s, 3, 900000 + i);
                   sqlite3_bind_text(s, 4, "804981234562", -1, SQLITE_STATIC);
               });
        exec(db, "COMMIT");
    };
    std::vector<qint64> crua;
    for (int i = 0; i <= repeticoes; ++i) {
        QElapsedTimer t;
        t.start();
        escritaCrua();
        if (i > 0) crua.push_back(t.nsecsElapsed());
        limpa();
    }

    TfrmCadPlano tela;
    tela.show();
    QApplication::processEvents();
    std::vector<qint64> grava;
    for (int i = 0; i <= repeticoes; ++i) {
        TEdicaoPlano& e = *tela.edicao();
        e.LocalizaPlano(op, seq);
        tela.actAlterar->trigger();
        // what the tabs would add
        dm.GarantePlano(dm.cdsPlanoRede());
        RowSet& rede = *dm.cdsPlanoRede();
        for (qlonglong id : hospitais) {
            rede.Append();
            rede.DefineValor(QStringLiteral("CD_OPER"), op);
            rede.DefineValor(QStringLiteral("SEQ_PLANO"), seq);
            rede.DefineValor(QStringLiteral("ID_ESTB_SAUD"), id);
            rede.DefineValor(QStringLiteral("DT_VINCULO"), QDateTime::currentDateTime());
            rede.DefineValor(QStringLiteral("LG_NOVO"), QStringLiteral("S"));
            rede.DefineValor(QStringLiteral("LG_URGENCIA_EMERGENCIA"), QStringLiteral("S"));
            rede.Post();
        }
        RowSet& mun = *dm.cdsPlanosMunicipio();
        for (qlonglong id : munics) {
            mun.Append();
            mun.DefineValor(QStringLiteral("CD_OPER"), op);
            mun.DefineValor(QStringLiteral("SEQ_PLANO"), seq);
            mun.DefineValor(QStringLiteral("ID_MUNC"), id);
            mun.DefineValor(QStringLiteral("CD_UF"), QStringLiteral("MG"));
            mun.Post();
        }
        for (int k = 0; k < kNotas; ++k) {
            e.NovaNota();
            dm.cdsNotaTecnica()->DefineValor(QStringLiteral("NR_PROTOCOLO_NOTA_TECNICA"), QString::number(7770000 + k));
            dm.cdsNotaTecnica()->DefineValor(QStringLiteral("DT_PROTOCOLO"), QDate(2020, 1, 1));
            dm.cdsNotaTecnica()->Post();
        }
        for (int k = 0; k < kTaxas; ++k) {
            e.NovaTaxa();
            const QString base = QStringLiteral("80498%1").arg(100000 + k);
            e.taxas()->cdsTmpTaxaRegistro()->DefineValor(QStringLiteral("nr_documento_taxa"),
                                                         base + DigitoVerificadorTaxa(base, 12));
            e.taxas()->cdsTmpTaxaRegistro()->Post();
        }
        // the area and network rules warn about this plan (more than half of a state, no
        // urgency hospital in its area): the save goes on and writes everything
        QElapsedTimer t;
        t.start();
        tela.actCadastrar->trigger();
        const qint64 ns = t.nsecsElapsed();
        if (!tela.Navegando()) {
            std::fprintf(stderr, "a gravação não terminou como esperado\n");
            return 1;
        }
        if (i > 0) grava.push_back(ns);
        limpa();
    }
    const qlonglong gravados =
        banco.valor(QStringLiteral("SELECT count(*) FROM RL_PLANOS_ESTAB_SAUDE WHERE SEQ_PLANO = ?"), {seq})
            .toLongLong();
    const double msGrava = medianaMs(grava), msCrua = medianaMs(crua);
    std::snprintf(obs, sizeof obs, "%d vínculos, %d municípios, %d notas, %d taxas", kLinks, kMunicipios, kNotas,
                  kTaxas);
    linha("tela: grava plano editado", msGrava, msCrua, obs);
    (void)gravados;
    tela.actSair->trigger();
    return 0;
}
