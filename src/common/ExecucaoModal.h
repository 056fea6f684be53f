#pragma once
#include <functional>

class QDialog;

// Seam of every modal opening of a screen: by default the dialog's own event loop
// (exec); tests install a handler that drives the dialog and answers its result.
namespace Modal {
using Tratador = std::function<int(QDialog&)>;
// Installs the handler; returns the one it replaced (empty = exec).
Tratador define(Tratador novo);
// Shows the dialog modally and returns its result (QDialog::Accepted / Rejected).
int executa(QDialog& dialogo);
}  // namespace Modal
