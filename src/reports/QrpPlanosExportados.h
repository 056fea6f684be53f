#pragma once
#include <QList>
#include <optional>

#include "reports/ModeloRelatorio.h"

class Banco;
class QWidget;

// "Relação de Planos enviados" / "Relação de Planos não enviados" (A4 landscape): the
// operator's plans by send status, with their protocols (sent ones), shaded rows and
// the count of plans.
class TqrpPlanosExportados : public TqrpModeloRelatorio {
    Q_OBJECT
public:
    // `somente`: only these plans (the ones a send has just sent).
    TqrpPlanosExportados(Banco& banco, const QString& cdOper, bool enviados,
                         const std::optional<QList<int>>& somente = std::nullopt,
                         QObject* pai = nullptr);
    static QString Legenda() { return QStringLiteral("Geração de Arquivo - Planos Exportados"); }
    // "Nenhum Plano", "1  Plano", "1.234  Planos".
    static QString TextoContagem(qlonglong n);
};

// Main window's "Relação de Planos enviados" (true) and "... não enviados" (false); the
// request screen hands over the plans it has just sent.
void AbreRelPlanosExportados(QWidget* pai, bool enviados,
                             const std::optional<QList<int>>& somente = std::nullopt);
