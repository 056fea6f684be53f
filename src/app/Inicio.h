#pragma once
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

class QApplication;
class TfrmPrincipal;

// Program start: the splash, the connection and the data modules in their fixed
// order, then the main window.
namespace Inicio {

// The data modules of the run, owned in creation order and destroyed in reverse.
class Modulos {
public:
    ~Modulos();
    // Creates the connection and opens the database; `progresso` receives the bar value.
    void abreBanco(const std::function<void(int)>& progresso);
    // Creates the data modules in their order, reporting 88, 92 and 96 in between.
    void criaModulos(const std::function<void(int)>& progresso);
    // Destroys every data module but the connection and creates them again, so they
    // read the database anew (after a restoration replaced it).
    void recriaModulos();
    const std::vector<QObject*>& criados() const { return m_criados; }

private:
    std::vector<QObject*> m_criados;
};

// Runs the program; returns its exit code.
int executa(QApplication& app);

}  // namespace Inicio
