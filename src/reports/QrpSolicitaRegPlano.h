#pragma once
#include "reports/ModeloRelatorio.h"

class TErrosCarga;
class QWidget;

// "Relatório de erros ocorridos no envio de planos para a ZUB": the errors the request
// screen found, grouped by plan (plan name and the names of its codes heading each group).
class TqrpSolicitaRegPlano : public TqrpModeloRelatorio {
    Q_OBJECT
public:
    // The error list of the export bookkeeping module, or the one given.
    explicit TqrpSolicitaRegPlano(QObject* pai = nullptr);
    explicit TqrpSolicitaRegPlano(const TErrosCarga& erros, QObject* pai = nullptr);
    static QString Legenda() { return QStringLiteral("Requerimento de Informações de Rede"); }
    // Generates the report and shows it in the preview, modally.
    void Visualiza(QWidget* pai);

private:
    void monta(const TErrosCarga& erros);
};
