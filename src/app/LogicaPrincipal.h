#pragma once
#include <QString>

// What the main window does that is not about widgets.
namespace LogicaPrincipal {

// Deletes, in one transaction, the establishments of every operator but `cdOper`
// and the plan links of those establishments.
void RemoveDadosDeOutrasOperadoras(const QString& cdOper);

// The self-managed flag: "S" when the current operator's classification is 24, else
// "N"; set each time the main window is shown.
QString Autogestao();
void DefineAutogestao(int classificacao);

// Classification 21 ("Administradora") may not register plans.
inline bool PodeRegistrarPlanos(int classificacao) { return classificacao != 21; }

}  // namespace LogicaPrincipal
