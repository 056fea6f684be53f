#pragma once
// The program's own start-up on a test database, for the tests that drive the main window:
// the version check aimed at an address where no server answers, the database created with
// the given rows and opened, the data modules created in start-up order; undone in the
// reverse order (the modules first, then the version check's address).
#include <QUrl>
#include <memory>

#include "apoio/Apoio.h"
#include "app/Inicio.h"
#include "app/ServidorTeste.h"
#include "app/VerificaVersao.h"

namespace Apoio {

class ProgramaTeste {
public:
    ProgramaTeste() { TZubVerificaVersaoSis::DefineServidor(ServidorTeste::enderecoSemServidor()); }
    ~ProgramaTeste() {
        encerra();
        TZubVerificaVersaoSis::DefineServidor(QUrl());
    }
    ProgramaTeste(const ProgramaTeste&) = delete;
    ProgramaTeste& operator=(const ProgramaTeste&) = delete;

    // Creates the database (current schema) with `sql` in `pasta`, opens it and creates the
    // modules; hands back the database's path.
    QString inicia(const PastaTeste& pasta, const QString& sql) {
        const QString caminho = criaBanco(pasta.caminho(), Esquema::Atual, sql);
        m_modulos = std::make_unique<Inicio::Modulos>();
        m_modulos->abreBanco([](int) {});
        m_modulos->criaModulos([](int) {});
        return caminho;
    }
    // Destroys the modules (and closes the database) now.
    void encerra() { m_modulos.reset(); }

private:
    std::unique_ptr<Inicio::Modulos> m_modulos;
};

}  // namespace Apoio
