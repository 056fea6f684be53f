#include "plans/RedePlano.h"

#include "common/CursorEspera.h"
#include "db/DmConexao.h"
#include "db/RowSet.h"
#include "plans/DmInfoPlano.h"

namespace {
bool soUrgencia(int segmentacao) { return segmentacao == 1 || segmentacao == 8; }
}  // namespace

TRedePlano::TRedePlano(TdmInfoPlano* dm, QObject* parent)
    : QObject(parent), m_dm(dm), m_disponiveis(new RowSet(this)) {
    m_disponiveis->setObjectName(QStringLiteral("qryEstabManutRede"));
}

QString TRedePlano::SqlDisponiveis(int segmentacao) {
    return QStringLiteral(
               "SELECT TB_ESTAB_SAUDE.*, TB_MUNICIPIOS.NM_MUNC, TB_MUNICIPIOS.CD_UF FROM "
               "TB_ESTAB_SAUDE LEFT JOIN TB_MUNICIPIOS ON (TB_ESTAB_SAUDE.ID_MUNC = "
               "TB_MUNICIPIOS.ID_MUNC) WHERE (CD_CLASSIF_ESTAB_SAUDE = 1) and CD_OPER= :CD_OPER ") +
           (soUrgencia(segmentacao) ? QStringLiteral("AND LG_URGENCIA_EMERGENCIA = 'S' ")
                                    : QString()) +
           QStringLiteral("ORDER BY CD_CNPJ_ESTB_SAUD");
}

QString TRedePlano::DicaDisponiveis(int segmentacao) {
    return soUrgencia(segmentacao)
               ? QStringLiteral("Somente estabelecimentos classificados como Assistencia "
                                "Hospitalar \rque possuem URGÊNCIA/EMERGÊNCIA")
               : QStringLiteral("Somente estabelecimentos classificados como Assistencia Hospitalar");
}

void TRedePlano::CarregaRede(bool disponiveis) {
    m_dm->GarantePlano(m_dm->cdsPlanoRede());
    if (disponiveis && !m_disponiveis->Ativo()) {
        CursorEspera espera;
        m_disponiveis->Abre(DmConexao()->banco(), SqlDisponiveis(m_segmentacao),
                            ParamsNomeados{{QStringLiteral("CD_OPER"), m_dm->CdOperAtual()}});
    }
}

void TRedePlano::RecriaDisponiveis(int segmentacao) {
    if (segmentacao != m_segmentacao) {
        m_segmentacao = segmentacao;
        m_disponiveis->Fecha();
    }
    RowSet& rede = *m_dm->cdsPlanoRede();
    if (!soUrgencia(segmentacao) || !rede.Ativo()) return;
    if (rede.EmEdicao()) rede.Post();
    for (rede.First(); !rede.Eof();) {
        if (rede.Valor(QStringLiteral("LG_URGENCIA_EMERGENCIA")).toString() != QLatin1String("S"))
            rede.Delete();
        else
            rede.Next();
    }
}

QString TRedePlano::RegrasRede(const QString&, qlonglong, int) {
    // The network rules are the network tab's own work; until then the network passes.
    return QString();
}
