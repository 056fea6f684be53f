#include "common/ExecucaoModal.h"

#include <QDialog>

#include "platform/Costura.h"

namespace Modal {
using Seam = Costura<struct MarcaModal, Tratador>;

Tratador define(Tratador novo) { return Seam::define(std::move(novo)); }

int executa(QDialog& dialogo) {
    if (Seam::atual()) return Seam::atual()(dialogo);
    return dialogo.exec();
}
}  // namespace Modal
