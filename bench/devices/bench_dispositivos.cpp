// bench_dispositivos [PASTA] [REPETICOES=7]
//
// On the large generated database (PASTA/QEV.mdb: 100,000 establishments and 2,000 plans
// of the operator with their contract devices; generated when missing, devices added
// when the database has none) times, in the same run and on the same connection:
//   reavaliacao - ReavaliaPlanos of the operator: its unsent plans read with their
//                 devices, items, services, network and notes, the device rules and the
//                 other checks, and every plan's two flags written in one transaction;
// against plain SQLite with the C API running the same three reads (every column of
// every row fetched) and writing the same flags plan by plan with one prepared UPDATE,
// in one transaction. Also counts the statements each runs. Prints medians and the ratio.
#include <sqlite3.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "FixturaDispositivos.h"
#include "GeraBaseEstab.h"
#include "MedidasBench.h"
#include "db/DmConexao.h"
#include "platform/LinhaComando.h"
#include "rules/LeituraPlanos.h"
#include "rules/ReavaliaPlanos.h"

namespace {

using MedidasBench::mede;
using MedidasBench::vinculaCru;


// Steps the statement and fetches every column of every row as text; returns the rows.
int leituraCrua(sqlite3* db, const QString& sql, const QVariantList& params = {}) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr);
    vinculaCru(st, params);
    int n = 0;
    const int colunas = sqlite3_column_count(st);
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int c = 0; c < colunas; ++c) {
            sqlite3_column_text(st, c);
            sqlite3_column_bytes(st, c);
        }
        ++n;
    }
    sqlite3_finalize(st);
    return n;
}

int contaComando(unsigned, void* contador, void*, void*) {
    ++*static_cast<int*>(contador);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = LeArgumentos(
        app, QStringLiteral("Mede a reavaliação dos planos da operadora na base grande, contra o "
                            "SQLite puro fazendo as mesmas leituras e gravações."),
        {{QStringLiteral("PASTA"), QStringLiteral("Pasta da base (gerada se faltar)."), true},
         {QStringLiteral("REPETICOES"), QStringLiteral("Repetições de cada medida (7)."), true}});
    const QString pasta =
        args.size() > 0 ? args[0] : QDir::tempPath() + QStringLiteral("/qev-bench-dispositivos");
    const int repeticoes = args.size() > 1 ? args[1].toInt() : 7;
    const QString caminho = QDir(pasta).filePath(QStringLiteral("QEV.mdb"));
    const QString op = QString::fromLatin1(GeraBaseEstab::kOperadora);
    if (!QFileInfo::exists(caminho)) {
        std::printf("gerando %s com 100000 estabelecimentos e 2000 planos...\n", qPrintable(caminho));
        GeraBaseEstab::gera(pasta, 100000, 2000);
    }

    TDmConexao conexao;
    Banco& banco = conexao.banco();
    banco.abre(caminho, TDmConexao::SenhaBanco());
    if (banco.valor(QStringLiteral("SELECT COUNT(*) FROM RL_PLANO_CLAUSULA")).toLongLong() == 0) {
        const qlonglong ultimo = banco.valor(QStringLiteral("SELECT MAX(SEQ_PLANO) FROM TB_PLANOS")).toLongLong();
        const auto r = FixturaDispositivos::geraParaPlanos(banco, op, 20240615, {ultimo});
        std::printf("dispositivos acrescentados: %d, vínculos: %d\n", r.dispositivos, r.vinculos);
    }
    sqlite3* db = banco.handle();

    const int planos = banco.valor(QStringLiteral("SELECT COUNT(*) FROM TB_PLANOS WHERE CD_OPER = ?"), {op}).toInt();
    const ComandosLeitura comandos = ComandosLePlanos(op);
    const int dispositivos = leituraCrua(db, comandos.dispositivos, comandos.parametros);

    // What ReavaliaPlanos writes, for the baseline to write the same.
    const QVector<TipoInconsistencia> achados = ReavaliaPlanos(banco, op);
    int inconsistentes = 0, semRede = 0;
    for (const TipoInconsistencia& t : achados) {
        inconsistentes += t.inconsistente;
        semRede += t.semRede;
    }

    int comandosNossos = 0;
    sqlite3_trace_v2(db, SQLITE_TRACE_STMT, contaComando, &comandosNossos);
    ReavaliaPlanos(banco, op);
    sqlite3_trace_v2(db, 0, nullptr, nullptr);

    const double ms = mede(repeticoes, [&] { ReavaliaPlanos(banco, op); });

    int comandosBase = 0;
    const auto base = [&] {
        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        sqlite3_stmt* cl = nullptr;
        sqlite3_prepare_v2(db, "SELECT CD_GRUPO_CLASSIFICACAO FROM OPERADORAS WHERE CD_OPER = ?", -1,
                           &cl, nullptr);
        vinculaCru(cl, {op});
        sqlite3_step(cl);
        sqlite3_finalize(cl);
        leituraCrua(db, comandos.temas);
        leituraCrua(db, comandos.planos, comandos.parametros);
        leituraCrua(db, comandos.dispositivos, comandos.parametros);
        sqlite3_stmt* up = nullptr;
        sqlite3_prepare_v2(db,
                           "UPDATE TB_PLANOS SET LG_CONSISTENTE = ?, LG_REDE_VINCULADA = ? "
                           "WHERE CD_OPER = ? AND SEQ_PLANO = ?",
                           -1, &up, nullptr);
        const QByteArray cdOper = op.toUtf8();
        for (const TipoInconsistencia& t : achados) {
            sqlite3_bind_text(up, 1, t.inconsistente ? "N" : "S", 1, SQLITE_STATIC);
            sqlite3_bind_text(up, 2, t.semRede ? "N" : "S", 1, SQLITE_STATIC);
            sqlite3_bind_text(up, 3, cdOper.constData(), cdOper.size(), SQLITE_STATIC);
            sqlite3_bind_int64(up, 4, t.seqPlano);
            sqlite3_step(up);
            sqlite3_reset(up);
        }
        sqlite3_finalize(up);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    };
    sqlite3_trace_v2(db, SQLITE_TRACE_STMT, contaComando, &comandosBase);
    base();
    sqlite3_trace_v2(db, 0, nullptr, nullptr);
    const double msBase = mede(repeticoes, base);

    std::printf("base: %s\n", qPrintable(caminho));
    std::printf("planos da operadora: %d; reavaliados (não enviados): %lld; vínculos a dispositivos "
                "lidos: %d\n",
                planos, qlonglong(achados.size()), dispositivos);
    std::printf("resultado: %d inconsistentes, %d sem rede\n", inconsistentes, semRede);
    std::printf("comandos executados: ReavaliaPlanos %d, SQLite puro %d (com BEGIN/COMMIT)\n",
                comandosNossos, comandosBase);
    std::printf("%-46s %10s %10s %9s\n", "", "QEV", "SQLite", "razão");
    std::printf("%-46s %7.2f ms %7.2f ms %8.1fx  meta: até 5x\n",
                "reavaliacao: ReavaliaPlanos da operadora", ms, msBase, ms / msBase);
    MedidasBench::resumo("reavaliação dos planos da operadora", {ms, msBase}, "até 5x");
    return 0;
}
