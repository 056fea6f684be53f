#pragma once
// What every benchmark and image program shares: medians of repeated runs, and an
// image of a window saved for a person to look at.
#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QTest>
#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace MedidasBench {

inline double medianaMs(std::vector<qint64> ns) {
    std::sort(ns.begin(), ns.end());
    return ns[ns.size() / 2] / 1e6;
}

// The median of `repeticoes` runs, after one run that warms the page cache and the code.
inline double mede(int repeticoes, const std::function<void()>& f) {
    f();
    std::vector<qint64> ns;
    for (int i = 0; i < repeticoes; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        ns.push_back(t.nsecsElapsed());
    }
    return medianaMs(ns);
}

// Medians of the program's work and of its bare counterpart measured interleaved: one
// round runs both (the bare side first in even rounds, second in odd ones), so both
// see the same caches and the same load of the machine. `antes` (not timed) runs
// before each side: what both must start from (a fresh copy, a closed set).
struct Par {
    double ms = 0;      // the program
    double baseMs = 0;  // bare SQLite
    double razao() const { return baseMs > 0 ? ms / baseMs : 0; }
};
inline Par intercala(int repeticoes, const std::function<void()>& qev, const std::function<void()>& cru,
                     const std::function<void()>& antes = {}) {
    std::vector<qint64> a, b;
    const auto roda = [&](const std::function<void()>& f) {
        if (antes) antes();
        QElapsedTimer t;
        t.start();
        f();
        return t.nsecsElapsed();
    };
    roda(qev);  // warms the page cache and the code
    roda(cru);
    for (int i = 0; i < repeticoes; ++i) {
        if (i % 2 == 0) {
            b.push_back(roda(cru));
            a.push_back(roda(qev));
        } else {
            a.push_back(roda(qev));
            b.push_back(roda(cru));
        }
    }
    return {medianaMs(a), medianaMs(b)};
}

// A memory figure of this process from /proc/self/status ("VmHWM:" the peak, "VmRSS:"
// what it holds now), in MiB; -1 when it cannot be read.
inline double memoriaMiB(const char* campo) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& l : f.readAll().split('\n'))
        if (l.startsWith(campo)) return l.mid(int(qstrlen(campo))).trimmed().split(' ').first().toDouble() / 1024;
    return -1;
}

// Machine lines for scripts/bench.sh, printed only when QEV_BENCH_RESUMO is set:
// "RESUMO|figure|program ms|bare ms|ratio|goal or note".
inline bool comResumo() {
    static const bool sim = !qEnvironmentVariableIsEmpty("QEV_BENCH_RESUMO");
    return sim;
}
inline void resumo(const char* figura, const Par& p, const char* meta) {
    if (!comResumo()) return;
    std::printf("RESUMO|%s|%.2f|%.3f|%.2f|%s\n", figura, p.ms, p.baseMs, p.razao(), meta);
    std::fflush(stdout);
}
// A figure with no bare counterpart (a memory peak, a painted step).
inline void resumoValor(const char* figura, double valor, const char* unidade, const char* meta) {
    if (!comResumo()) return;
    std::printf("RESUMO|%s|%.2f %s|||%s\n", figura, valor, unidade, meta);
    std::fflush(stdout);
}

// Binds the values in order: texts as texts, anything else as an integer.
inline void vinculaCru(sqlite3_stmt* st, const QVariantList& params) {
    for (int i = 0; i < params.size(); ++i) {
        if (params[i].typeId() == QMetaType::QString) {
            const QByteArray t = params[i].toString().toUtf8();
            sqlite3_bind_text(st, i + 1, t.constData(), int(t.size()), SQLITE_TRANSIENT);
        } else {
            sqlite3_bind_int64(st, i + 1, params[i].toLongLong());
        }
    }
}

// Plain SQLite, the baseline of every benchmark: steps the statement and fetches every
// column of every row as text. Answers the number of rows.
inline int leituraCrua(sqlite3* db, const QString& sql, const QVariantList& params = {}) {
    sqlite3_stmt* st = nullptr;
    const QByteArray s = sql.toUtf8();
    sqlite3_prepare_v2(db, s.constData(), -1, &st, nullptr);
    vinculaCru(st, params);
    int n = 0;
    const int colunas = sqlite3_column_count(st);
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int c = 0; c < colunas; ++c) sqlite3_column_text(st, c);
        ++n;
    }
    sqlite3_finalize(st);
    return n;
}

// The first column of every row, as integers.
inline std::vector<qint64> inteirosCrus(sqlite3* db, const QString& sql, const QVariantList& params = {}) {
    sqlite3_stmt* st = nullptr;
    const QByteArray s = sql.toUtf8();
    sqlite3_prepare_v2(db, s.constData(), -1, &st, nullptr);
    vinculaCru(st, params);
    std::vector<qint64> r;
    while (sqlite3_step(st) == SQLITE_ROW) r.push_back(sqlite3_column_int64(st, 0));
    sqlite3_finalize(st);
    return r;
}

inline void execCru(sqlite3* db, const char* sql) { sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

// One line of a result table: "operation   QEV ms   SQLite ms   ratio   note".
inline void linha(const char* nome, double ms, double baseMs, const char* obs = "") {
    std::printf("%s %10.2f ms %10.3f ms %8.2fx  %s\n",
                qPrintable(QString::fromUtf8(nome).leftJustified(50)), ms, baseMs, ms / baseMs, obs);
    resumo(nome, {ms, baseMs}, obs);
}

// Shows the window, lets it paint and saves it as `pasta`/`nome`.
inline void salvaImagem(QWidget& w, const QString& pasta, const QString& nome) {
    w.show();
    QApplication::processEvents();
    QTest::qWait(200);
    const QString arquivo = QDir(pasta).filePath(nome);
    w.grab().save(arquivo);
    std::printf("%s (%dx%d)\n", qPrintable(arquivo), w.width(), w.height());
}

}  // namespace MedidasBench
