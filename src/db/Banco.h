#pragma once
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>

#include "db/Erro.h"

struct sqlite3;
struct sqlite3_stmt;

// Rows read by a query: column names (as the statement returned them) and values.
// Text columns come back as QString, integers as qlonglong, reals as double, NULL
// as an invalid QVariant.
class Resultado {
public:
    // Where a result column comes from: its declared type and, for a column read
    // straight from a table, the table and the column's own name (empty for an
    // expression).
    struct InfoColuna {
        QString tipoDeclarado;
        QString tabela;
        QString origem;
    };

    QStringList colunas;
    QVector<InfoColuna> info;  // one per column
    QVector<QVariantList> linhas;

    int numLinhas() const { return linhas.size(); }
    bool vazio() const { return linhas.isEmpty(); }
    // Index of a column, names compared without regard to letter case; -1 if absent.
    int indice(const QString& coluna) const;
    // Value of a column in a row (throws ErroQev when the column does not exist).
    QVariant valor(int linha, const QString& coluna) const;
};

// Parameters of a statement: positional ("?", "?1") or named (":NOME").
// QDate is bound as "yyyy-MM-dd", QDateTime as "yyyy-MM-dd HH:mm:ss", bool as 1/0.
using ParamsPosicionais = QVariantList;
using ParamsNomeados = QVariantMap;

// One connection to an encrypted SQLite3 Multiple Ciphers database. Every value
// reaches the engine as a bound parameter.
class Banco {
public:
    Banco();
    ~Banco();
    Banco(const Banco&) = delete;
    Banco& operator=(const Banco&) = delete;

    // Opens an existing file keyed with `senha` (create = false never creates one).
    // Throws ErroBanco with the engine's message when the file is missing, locked or
    // not a database with that password.
    void abre(const QString& caminho, const QByteArray& senha, bool cria = false);
    // Opens an existing file for reading only (URI mode=ro): nothing is ever written to
    // it, not even a journal. Same errors as abre.
    void abreSomenteLeitura(const QString& caminho, const QByteArray& senha);
    void fecha();
    bool aberto() const { return m_db != nullptr; }
    QString caminho() const { return m_caminho; }

    // A statement run with positional parameters is prepared once and kept (the last
    // few distinct texts): a writer running the same statement row after row pays for
    // its preparation once.
    void executa(const QString& sql, const ParamsPosicionais& params = {});
    void executa(const QString& sql, const ParamsNomeados& params);
    // Runs several statements separated by ';' (no parameters): schema scripts.
    void executaScript(const QString& sql);
    Resultado consulta(const QString& sql, const ParamsPosicionais& params = {});
    Resultado consulta(const QString& sql, const ParamsNomeados& params);
    // First column of the first row, or an invalid QVariant when no row.
    QVariant valor(const QString& sql, const ParamsPosicionais& params = {});

    int linhasAlteradas() const;
    qlonglong ultimoRowId() const;

    // Tells whether what is stored may have changed since an earlier reading: another
    // connection committed (the engine's data version), this connection wrote a row
    // (also one rolled back later), or the file was opened again. Equal versions: nothing
    // changed in between.
    struct VersaoDados {
        qint64 abertura = -1;  // which opening of a file (every opening of any Banco differs)
        qint64 outras = 0;     // commits of other connections
        qint64 proprias = 0;   // rows written by this connection
        bool operator==(const VersaoDados&) const = default;
    };
    VersaoDados versaoDados();

    // Transactions: BEGIN IMMEDIATE, so a write blocked by another copy waits
    // (busy timeout) and then fails with the engine's "database is locked". Writers
    // own a transaction through TransacaoEscopo (db/Transacao.h), not these calls.
    bool emTransacao() const;
    void iniciaTransacao();
    // COMMIT; once it succeeded, every pending end handler runs with true. A COMMIT
    // that fails (another copy still reading) leaves the transaction open.
    void confirmaTransacao();
    // ROLLBACK when a transaction is open; every pending end handler runs with false,
    // also when the engine had already ended the transaction itself.
    void desfazTransacao();
    // Runs `fim(true)` when the transaction now open commits, `fim(false)` when it is
    // rolled back; with no transaction open it runs `fim(true)` at once. Row sets keep
    // their change logs this way until the writes they made really are stored.
    void aoTerminarTransacao(std::function<void(bool confirmada)> fim);

    // How long a statement waits for a lock held by another connection.
    void defineEsperaBloqueio(int milissegundos);

    // Column names of a table as declared (exact spelling); empty when the table
    // does not exist.
    QStringList colunasDaTabela(const QString& tabela);

    sqlite3* handle() const { return m_db; }

    friend class CursorConsulta;

    // Text stored for a date / date-time (ISO 8601) and back.
    static QString textoData(const QDate& d);
    static QString textoDataHora(const QDateTime& dt);
    static QDateTime lerDataHora(const QVariant& v);

private:
    friend class ComandoPreparado;
    void abreCom(const QByteArray& nome, int flags, const QString& caminho, const QByteArray& senha);
    sqlite3_stmt* prepara(const QString& sql);
    void vincula(sqlite3_stmt* st, const ParamsPosicionais& params);
    void vincula(sqlite3_stmt* st, const ParamsNomeados& params);
    void executaPreparado(sqlite3_stmt* st, const QString& sql);
    Resultado lePreparado(sqlite3_stmt* st, const QString& sql);
    [[noreturn]] void falha(int rc, const QString& contexto = QString()) const;
    void registraFuncoes();

    void terminaTransacao(bool confirmada);
    sqlite3_stmt* preparaGuardado(const QString& sql);
    void liberaGuardados();

    sqlite3* m_db = nullptr;
    QHash<QString, sqlite3_stmt*> m_guardados;  // prepared statements kept, reset
    QStringList m_ordemGuardados;               // oldest first
    QString m_caminho;
    QVector<std::function<void(bool)>> m_aoTerminar;
    qint64 m_abertura = -1;
};

// One statement prepared once and run many times with new values (bulk work: an
// import checks and writes tens of thousands of rows with the same few statements).
// Every value is bound. Must not outlive the connection's handle being reopened.
class ComandoPreparado {
public:
    ComandoPreparado(Banco& banco, const QString& sql);
    ~ComandoPreparado();
    ComandoPreparado(const ComandoPreparado&) = delete;
    ComandoPreparado& operator=(const ComandoPreparado&) = delete;

    void executa(const ParamsPosicionais& params = {});
    Resultado consulta(const ParamsPosicionais& params = {});
    // First column of the first row, or an invalid QVariant when no row.
    QVariant valor(const ParamsPosicionais& params = {});

private:
    void vincula(const ParamsPosicionais& params);
    [[noreturn]] void falha(int rc);
    Banco& m_banco;
    sqlite3_stmt* m_st = nullptr;
};

// Steps through the rows of a query one at a time, for long reads that are used as
// they come (a report shows its first page before the last row is read). Values come
// as Resultado gives them. The statement stays open until the cursor is destroyed.
class CursorConsulta {
public:
    CursorConsulta(Banco& banco, const QString& sql, const ParamsPosicionais& params = {});
    CursorConsulta(Banco& banco, const QString& sql, const ParamsNomeados& params);
    ~CursorConsulta();
    CursorConsulta(const CursorConsulta&) = delete;
    CursorConsulta& operator=(const CursorConsulta&) = delete;

    const QStringList& colunas() const { return m_colunas; }
    // Moves to the next row and copies its values into `linha`; false after the last row.
    // Throws ErroBanco when the engine fails.
    bool proxima(QVariantList& linha);

private:
    void inicia();

    Banco& m_banco;
    sqlite3_stmt* m_st = nullptr;
    QStringList m_colunas;
    bool m_fim = false;
};
