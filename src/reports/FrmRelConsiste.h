#pragma once
#include "reports/ModeloRelatorio.h"

class TErrosCarga;
class QWidget;

// Report of the shared error list ("Requerimento de Informações de Rede"): sequence,
// field, description and file line of every error, under the page header without the
// operator band.
//
//     TfrmRelConsiste relatorio;           // the list of TDmExportacao
//     relatorio.DefineTipoRelatorio(0);    // establishment import
//     relatorio.Visualiza(this);
class TfrmRelConsiste : public TqrpModeloRelatorio {
    Q_OBJECT
public:
    // The error list of the export bookkeeping module, or the one given.
    explicit TfrmRelConsiste(QObject* pai = nullptr);
    explicit TfrmRelConsiste(const TErrosCarga& erros, QObject* pai = nullptr);

    // 0: establishment import file (wider "Campo"); 1: plan sending; other: generic.
    void DefineTipoRelatorio(int tipo);
    // Generates the report and shows it in the preview, modally.
    void Visualiza(QWidget* pai);

    static QString Legenda() { return QStringLiteral("Requerimento de Informações de Rede"); }

private:
    void monta(const TErrosCarga& erros);
};
