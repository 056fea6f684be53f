#pragma once
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>

#include "db/Banco.h"

class RowSet;

// The rows a report band walks through: named columns and, one row at a time, their
// values. A report reads its source once, from the first row to the last.
class FonteDados {
public:
    virtual ~FonteDados() = default;
    // Prepares the first row (runs the statement). Throws ErroQev/ErroBanco.
    virtual void Abre() = 0;
    // Copies the next row into `linha`; false after the last one.
    virtual bool Le(QVariantList& linha) = 0;
    virtual void Fecha() {}
    // Known once the source is open.
    const QStringList& Colunas() const { return m_colunas; }
    // Index of a column, names compared without regard to case; -1 when absent.
    int Indice(const QString& coluna) const { return m_indices.value(coluna.toUpper(), -1); }

protected:
    void defineColunas(const QStringList& colunas);

private:
    QStringList m_colunas;
    QHash<QString, int> m_indices;
};

// A statement read row by row as the pages are made: the first page does not wait
// for the last row.
class FonteConsulta : public FonteDados {
public:
    FonteConsulta(Banco& banco, QString sql, ParamsPosicionais params = {});
    void Abre() override;
    bool Le(QVariantList& linha) override;
    void Fecha() override { m_cursor.reset(); }

private:
    Banco& m_banco;
    QString m_sql;
    ParamsPosicionais m_params;
    std::unique_ptr<CursorConsulta> m_cursor;
};

// The rows of a statement in the order of a text (as ORDER BY text [COLLATE PTBR], key),
// read in batches of keys: the keys and texts are read and sorted here, then the rows are
// read 256 keys at a time. No statement stays open between batches, so a long list
// neither holds the database against another copy's writes while its pages are made,
// nor waits (by name) for the database to sort every whole row before its first page.
class FonteOrdenada : public FonteDados {
public:
    enum class Comparacao {
        PtBr,  // as the PTBR collation (QCollatorSortKey)
        Texto  // as the database's plain text order
    };
    // `sqlChaves`: "SELECT key, text FROM ..." (the rows and the text they sort on).
    // `sqlLinhas`: the rows' statement with "%1" where the list of keys goes (as in
    // "... WHERE ES.ID_ESTB_SAUD IN (%1)"); `colunaChave`: the key's column in it. Keys
    // are integers; the other parameters of both statements come before the keys.
    FonteOrdenada(Banco& banco, Comparacao comparacao, QString sqlChaves, QString sqlLinhas,
                  QString colunaChave, ParamsPosicionais params = {});
    void Abre() override;
    bool Le(QVariantList& linha) override;

private:
    void leLote();

    Banco& m_banco;
    Comparacao m_comparacao;
    QString m_sqlChaves, m_sqlLinhas, m_colunaChave;
    ParamsPosicionais m_params;
    QVector<qlonglong> m_ordem;     // keys in order
    int m_proxima = 0;              // next key of m_ordem to read
    QVector<QVariantList> m_lote;   // rows read, in order
    int m_posLote = 0;
};

// Rows already in memory.
class FonteResultado : public FonteDados {
public:
    explicit FonteResultado(Resultado resultado);
    void Abre() override { m_pos = 0; }
    bool Le(QVariantList& linha) override;

private:
    Resultado m_resultado;
    int m_pos = 0;
};

// The rows of a row set in its current order and filter (every field, calculated and
// look-up ones included). The row set itself does not move.
class FonteRowSet : public FonteDados {
public:
    explicit FonteRowSet(const RowSet& rowSet) : m_rs(rowSet) {}
    void Abre() override;
    bool Le(QVariantList& linha) override;

private:
    const RowSet& m_rs;
    int m_pos = 0;
};
