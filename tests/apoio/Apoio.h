#pragma once
// Shared support of the test suite.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <ostream>
#include <QVector>
#include <deque>
#include <memory>

#include "db/Banco.h"
#include "platform/Mensagens.h"

// Readable values in test failures.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QVariant& v, std::ostream* os) {
    if (v.isNull()) *os << "<null>";
    else *os << v.typeName() << "(" << v.toString().toStdString() << ")";
}

namespace Apoio {

// Installed for the whole run: messages are recorded and never block.
class Ambiente : public ::testing::Environment {
public:
    void SetUp() override;
};

// Records every message and answers from a script (or with the first button).
class Mensageiro {
public:
    Mensageiro();
    ~Mensageiro();
    // Next answers, in order; when they run out, the first button of the set answers.
    void responde(std::initializer_list<int> respostas);
    const QVector<Mensagens::Pedido>& pedidos() const { return m_pedidos; }
    QStringList textos() const;
    void limpa() { m_pedidos.clear(); }

private:
    QVector<Mensagens::Pedido> m_pedidos;
    std::deque<int> m_respostas;
    Mensagens::Tratador m_anterior;
};

// Path of a file of the source tree (e.g. "data/schema.sql").
QString fonte(const QString& relativo);

enum class Esquema { Atual, Antigo };

// Creates `pasta`/QEV.mdb, encrypted, from the schema (current or old) with the
// reference rows (the current one also with every municipality, as delivered),
// then runs `sqlExtra`. Returns the file's path.
QString criaBanco(const QString& pasta, Esquema esquema = Esquema::Atual,
                  const QString& sqlExtra = QString());

// The first column of every row of a query, as texts.
QStringList coluna(Banco& banco, const QString& sql);

// Opens a database file of the tests with the program's password.
std::unique_ptr<Banco> abreBanco(const QString& caminho);

// A temporary program folder set as the program's folder for the test's lifetime,
// with a fixed clock when asked.
class PastaTeste {
public:
    PastaTeste();
    ~PastaTeste();
    QString caminho() const;  // ends in '/'
    QString arquivo(const QString& nome) const { return caminho() + nome; }

private:
    QTemporaryDir m_dir;
};

}  // namespace Apoio
