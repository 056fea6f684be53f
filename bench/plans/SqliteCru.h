#pragma once
// Plain SQLite, the baseline of the plan benchmarks: statements stepped with the C API,
// every column of every row fetched as text; and one line of a result table.
#include <sqlite3.h>

#include <QString>
#include <QVariant>
#include <cstdio>
#include <vector>

namespace SqliteCru {

inline void vincula(sqlite3_stmt* st, const std::vector<QVariant>& params) {
    for (size_t i = 0; i < params.size(); ++i) {
        if (params[i].typeId() == QMetaType::QString) {
            const QByteArray t = params[i].toString().toUtf8();
            sqlite3_bind_text(st, int(i + 1), t.constData(), t.size(), SQLITE_TRANSIENT);
        } else {
            sqlite3_bind_int64(st, int(i + 1), params[i].toLongLong());
        }
    }
}

// Steps the statement and fetches every column of every row as text; the row count.
inline int leitura(sqlite3* db, const QString& sql, const std::vector<QVariant>& params = {}) {
    sqlite3_stmt* st = nullptr;
    const QByteArray s = sql.toUtf8();
    sqlite3_prepare_v2(db, s.constData(), -1, &st, nullptr);
    vincula(st, params);
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
inline std::vector<qint64> inteiros(sqlite3* db, const QString& sql, const std::vector<QVariant>& params = {}) {
    sqlite3_stmt* st = nullptr;
    const QByteArray s = sql.toUtf8();
    sqlite3_prepare_v2(db, s.constData(), -1, &st, nullptr);
    vincula(st, params);
    std::vector<qint64> r;
    while (sqlite3_step(st) == SQLITE_ROW) r.push_back(sqlite3_column_int64(st, 0));
    sqlite3_finalize(st);
    return r;
}

inline void exec(sqlite3* db, const char* sql) { sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

// "operation   QEV ms   SQLite ms   ratio   note"
inline void linha(const char* nome, double ms, double baseMs, const char* obs = "") {
    std::printf("%s %10.2f ms %10.3f ms %8.2fx  %s\n",
                qPrintable(QString::fromUtf8(nome).leftJustified(50)), ms, baseMs, ms / baseMs, obs);
}

}  // namespace SqliteCru
