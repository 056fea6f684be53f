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
