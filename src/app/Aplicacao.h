#pragma once
#include <QApplication>

#include "common/Versao.h"

// The application object: an error that no screen caught ends the current action,
// is shown in a plain error box, and the program goes on.
class AplicacaoQev : public QApplication {
public:
    AplicacaoQev(int& argc, char** argv);
    bool notify(QObject* receptor, QEvent* evento) override;

    // Sets the pt-BR locale as the default and loads Qt's own pt-BR translations
    // (installed with the system's Qt translations package); false when none is found.
    bool CarregaTraducoesQt();

    // The short name, the title and the version text of the program.
    static QString NomeCurto() { return NomeCurtoSistema(); }
    static QString TituloSistema() { return ::TituloSistema(); }

private:
    class QTranslator* m_traducaoQt = nullptr;
};
