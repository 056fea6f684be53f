#pragma once
#include "reports/ModeloRelatorio.h"

class Banco;
class QWidget;

// "Relação de planos sem vínculo com estabelecimento de saúde": the operator's plans
// (other than odontological ones) without any establishment.
class TqrpPlanosSemEstabSaude : public TqrpModeloRelatorio {
    Q_OBJECT
public:
    TqrpPlanosSemEstabSaude(Banco& banco, const QString& cdOper, QObject* pai = nullptr);
    // "Nenhum Plano", "1  plano", "1.234  planos".
    static QString TextoContagem(qlonglong n);
};

// Main window's "Planos sem vínculo com estabelecimento de saúde".
void AbreRelPlanosSemEstab(QWidget* pai);
