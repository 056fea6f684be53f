#include "common/ExecucaoModal.h"

#include <QDialog>

namespace Modal {
namespace {
Tratador& atual() {
    static Tratador t;
    return t;
}
}  // namespace

Tratador define(Tratador novo) {
    Tratador antigo = std::move(atual());
    atual() = std::move(novo);
    return antigo;
}

int executa(QDialog& dialogo) {
    if (atual()) return atual()(dialogo);
    return dialogo.exec();
}
}  // namespace Modal
