#pragma once
#include <QString>
#include <QVector>
#include <functional>
#include <memory>
#include <optional>

#include "rules/RegrasDispositivos.h"

class Banco;

// A plan read for its checks: what its device rules need, and what the re-evaluation
// after a change of the operator's classification reads besides.
struct PlanoLido {
    qlonglong seqPlano = 0;
    DadosDispositivos dispositivos;
    QString vinculoAtivo;    // LG_VB_VINCULO_ATIVO
    QString vinculoInativo;  // LG_VB_VINCULO_INATIVO
    QString partcFinancPj;   // CD_PARTC_FINANC_PJ
    bool temRede = false;         // some establishment is linked to it
    bool temNotaTecnica = false;  // it has some technical note
};

// Plans of one operator with their devices and every theme. Reading takes three
// statements (themes, plans with their related flags, the devices of all of them),
// however many plans and devices there are.
struct LeituraPlanos {
    std::shared_ptr<const CatalogoTemas> temas;  // every plan's `dispositivos.temas`
    QVector<PlanoLido> planos;                   // in plan-number order
};

// The operator's plans that are not in the sent state (CD_STATUS_ENVIO other than 1,
// an empty status included), or, when `seqPlano` is given, that plan of the operator
// alone whatever its state (none when it is not the operator's).
LeituraPlanos LePlanos(Banco& banco, const QString& cdOper,
                       std::optional<qlonglong> seqPlano = std::nullopt);

// The three statements LePlanos runs, and the parameters of the last two.
struct ComandosLeitura {
    QString temas;
    QString planos;
    QString dispositivos;
    QVariantList parametros;
};
ComandosLeitura ComandosLePlanos(const QString& cdOper, std::optional<qlonglong> seqPlano = std::nullopt);

// A theme as the rules see it, from its row of TA_TIPO_CLAUSULA (values by column name).
TemaRegra TemaDaLinha(const std::function<QVariant(const QString& coluna)>& valor);
// A device linked to a plan, from a row carrying the device's columns and its theme's
// DE_TIPO_CLAUSULA and DT_PUBLICACAO_FIM.
DispositivoRegra DispositivoDaLinha(const std::function<QVariant(const QString& coluna)>& valor);
// The plan's attributes the device rules read, from its row of TB_PLANOS.
void AtributosDoPlano(DadosDispositivos& dados,
                      const std::function<QVariant(const QString& coluna)>& valor);
// Puts a plan's devices in the order of the plan's device set: by theme code, then by
// description as a Brazilian user sorts names (ties keep their order).
void OrdenaDispositivos(QVector<DispositivoRegra>& dispositivos);

// The device rules of one plan of the operator, read from the database (empty when the
// plan is not the operator's).
QStringList RegrasDispositivos(Banco& banco, const QString& cdOper, qlonglong seqPlano);

// Whether some establishment is linked to the plan.
bool PlanoTemRede(Banco& banco, const QString& cdOper, qlonglong seqPlano);
// Whether the plan has some technical note.
bool PlanoTemNotaTecnica(Banco& banco, const QString& cdOper, qlonglong seqPlano);
