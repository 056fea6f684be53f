#pragma once
#include <QObject>
#include <QString>
#include <QVariant>

#include "db/Banco.h"

// The contract devices of the current operator.
// Created once at start, in its place of the start-up order, and kept for the run.
class TdmClausula : public QObject {
    Q_OBJECT
public:
    explicit TdmClausula(QObject* parent = nullptr);
    ~TdmClausula() override;
    static TdmClausula* instancia();

    // Order of the device report.
    enum class OrdemRelDisp { CodigoIdentificacao, OrdemTema };
    // qryRelDisp: the operator's devices joined to their themes (DE_TIPO_CLAUSULA,
    // NR_ORDEM_EXIBICAO, DT_PUBLICACAO_FIM, then every column of the device), of one theme
    // when `tema` is given, ordered by identification code or by the theme's display order.
    Resultado qryRelDisp(const QString& cdOper, const QVariant& tema = QVariant(),
                         OrdemRelDisp ordem = OrdemRelDisp::CodigoIdentificacao);
    // qryDispositivo: every theme.
    Resultado qryDispositivo();
};
