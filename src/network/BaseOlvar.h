#pragma once
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <memory>

class Banco;
class QIODevice;

// Writes a database of the predecessor system (Zemlo.mdb) as its import reads it: a
// file of this program's engine encrypted with the predecessor's password, with the
// table OPERADORAS (CD_OPER of its first row) and TB_ESTAB_SAUDE (the establishment
// columns). Used by the conversion tool (users moving their old data, tests). The file
// is written under a temporary name and takes its own name only when complete.
class BaseOlvar {
public:
    // The establishment columns, in the table's order.
    static const QStringList& Colunas();

    // Starts the file `caminho` (replaced when Conclui succeeds). An empty operator code
    // leaves OPERADORAS without rows.
    BaseOlvar(const QString& caminho, const QString& cdOper);
    ~BaseOlvar();  // without Conclui, the temporary file is removed
    BaseOlvar(const BaseOlvar&) = delete;
    BaseOlvar& operator=(const BaseOlvar&) = delete;

    // One establishment: values by column name (names compared without regard to case;
    // a column left out stays null). An unknown column name raises ErroQev. Dates may be
    // QDate or text "dd/mm/yyyy" or "yyyy-mm-dd"; other values are stored as given.
    void Acrescenta(const QVariantMap& valores);
    int Quantidade() const { return m_quantidade; }
    // Commits, closes and puts the file in place.
    void Conclui();

    // Rows of a CSV file (UTF-8, a BOM allowed): a header line with column names, then
    // one establishment per line; ';' or ',' (the one the header uses) between fields;
    // a field in double quotes may hold separators, line breaks and "" for a quote; an
    // empty field is null. Returns how many rows were added; a line with more fields
    // than the header raises ErroQev naming the line.
    static int LeCsv(QIODevice& csv, BaseOlvar& destino);
    // Establishment `i` (from 1) of a generated set: valid, unique CNPJ and CNES,
    // accented names, the three classifications, own and contracted.
    static QVariantMap Gerada(int i);

private:
    QString m_caminho;
    QString m_temporario;
    std::unique_ptr<Banco> m_banco;
    int m_quantidade = 0;
    bool m_concluida = false;
};
