#pragma once
// A test database of the request subsystem, open through the connection module.
#include <QFile>
#include <memory>

#include "apoio/Apoio.h"
#include "db/DmConexao.h"
#include "request/DmExportacao.h"

class BaseSolicitacao : public ::testing::Test {
protected:
    Apoio::PastaTeste pasta;
    QString programa = pasta.caminho();  // the program's folder, ending in '/'
    std::unique_ptr<TDmConexao> conexao;
    std::unique_ptr<TDmExportacao> exportacao;

    // Creates the database with `sql` and opens it as the program does (without the
    // start-up sequence).
    void criaBanco(const QString& sql = QString()) {
        const QString caminho = Apoio::criaBanco(programa, Apoio::Esquema::Atual, sql);
        conexao = std::make_unique<TDmConexao>();
        conexao->banco().abre(caminho, TDmConexao::SenhaBanco());
        exportacao = std::make_unique<TDmExportacao>();
    }
    Banco& banco() { return conexao->banco(); }
    QVariant valor(const QString& sql, const QVariantList& p = {}) { return banco().valor(sql, p); }
    QByteArray leArquivo(const QString& nome) const {
        QFile f(programa + nome);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};
