#pragma once
// The common ground of the tests that work through the program's modules: a test
// folder, the messages answered, the database created with the given rows and opened
// through the connection module, and the modules of the test area, created in start-up
// order and destroyed in the reverse order before the connection closes.
#include <functional>
#include <memory>
#include <vector>

#include "apoio/Apoio.h"
#include "db/DmConexao.h"
#include "platform/Plataforma.h"

namespace Apoio {

class BaseModulos : public ::testing::Test {
protected:
    PastaTeste pasta;
    Mensageiro mensagens;
    std::unique_ptr<TDmConexao> conexao;

    // Creates the database (current schema) with `sql` and opens it.
    void abreBanco(const QString& sql) {
        const QString caminho = criaBanco(pasta.caminho(), Esquema::Atual, sql);
        conexao = std::make_unique<TDmConexao>();
        conexao->banco().abre(caminho, TDmConexao::SenhaBanco());
    }
    // Creates a module into `modulo`; it goes before the ones created earlier.
    template <class T>
    void cria(std::unique_ptr<T>& modulo) {
        modulo = std::make_unique<T>();
        m_destroi.push_back([&modulo] { modulo.reset(); });
    }
    void TearDown() override {
        for (auto it = m_destroi.rbegin(); it != m_destroi.rend(); ++it) (*it)();
        m_destroi.clear();
        conexao.reset();
        Relogio::define({});
    }
    Banco& banco() { return conexao->banco(); }
    qlonglong conta(const QString& sql, const QVariantList& p = {}) { return banco().valor(sql, p).toLongLong(); }

private:
    std::vector<std::function<void()>> m_destroi;
};

}  // namespace Apoio
