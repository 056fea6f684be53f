#pragma once
#include <QString>
#include <QStringList>
#include <QVector>

// A plan's network and area as the network rules see them: the rows as they stand on
// the screen (links and area rows not yet written count as shown).
struct DadosRede {
    struct Estab {
        QString cdUf;       // of the establishment's municipality; empty when unknown
        qlonglong idMunc = -1;
        QString urgencia;   // LG_URGENCIA_EMERGENCIA
    };
    QString livreEscolha;  // LG_TOTAL_LIVRE_ESCOLHA of the plan
    int cobertura = 0;     // CD_ABRANGENCIA
    QVector<Estab> rede;
    QStringList ufsPlano;                // the plan's states, in their order
    QVector<qlonglong> municipiosPlano;  // the plan's municipalities, in their order
    QStringList ufsPais;                 // every state of the country, in CD_UF order
};

class Banco;

// The first problem of the plan's network against its coverage and area, or an empty
// text when the network is acceptable. One pass over the network, whatever its size.
QString AvaliaRede(const DadosRede& dados);

// The same data as stored: the plan's links with their establishments' municipality and
// urgency flag, and the plan's states or municipalities its coverage walks (nothing
// more for a free-choice plan). `ufsPais` is copied into the result for coverage 1.
DadosRede LeDadosRede(Banco& banco, const QString& cdOper, qlonglong seqPlano,
                      const QString& livreEscolha, int cobertura, const QStringList& ufsPais);
// Every state of the country, in CD_UF order.
QStringList LeUfsPais(Banco& banco);

namespace MensagensRede {
QString LivreEscolha();
QString Nacional();
QString Estados();
QString GrupoMunicipios();
QString Municipal();
}  // namespace MensagensRede
