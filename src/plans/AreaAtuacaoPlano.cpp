#include "plans/AreaAtuacaoPlano.h"

#include <QSet>

#include "common/CursorEspera.h"
#include "db/DmConexao.h"
#include "db/RowSet.h"
#include "plans/DmInfoPlano.h"

TAreaAtuacaoPlano::TAreaAtuacaoPlano(TdmInfoPlano* dm, QObject* parent)
    : QObject(parent), m_dm(dm) {}

void TAreaAtuacaoPlano::CarregaSeletorUF() {
    const QString op = m_dm->CdOperAtual();
    const qlonglong seq = m_dm->SeqPlanoAtual();
    if (m_dm->AbertoPara(m_dm->cdsListaUF(), op, seq)) return;
    CursorEspera espera;
    m_dm->AbreRelacionado(m_dm->cdsPlanosUF(), op, seq);
    m_dm->cdsListaUF()->DefineFiltro(nullptr);
    m_dm->AbreRelacionado(m_dm->cdsListaUF(), op, seq);
}

void TAreaAtuacaoPlano::CarregaSeletorMunicipio() {
    const QString op = m_dm->CdOperAtual();
    const qlonglong seq = m_dm->SeqPlanoAtual();
    if (m_dm->cdsUF()->Ativo() && m_dm->AbertoPara(m_dm->cdsMunicipio(), op, seq)) return;
    CursorEspera espera;
    Banco& b = DmConexao()->banco();
    m_dm->AbreRelacionado(m_dm->cdsPlanosMunicipio(), op, seq);
    m_dm->cdsUF()->Abre(b);
    m_dm->cdsMunicipio()->DefineFiltro(nullptr);
    m_dm->AbreRelacionado(m_dm->cdsMunicipio(), op, seq);
    m_dm->cdsFiltroUF()->Abre(b);
}

void TAreaAtuacaoPlano::GaranteAreaDoPlano() {
    m_dm->GarantePlano(m_dm->cdsPlanosMunicipio());
    m_dm->GarantePlano(m_dm->cdsPlanosUF());
}

void TAreaAtuacaoPlano::FechaSeletores() {
    for (RowSet* rs : {m_dm->cdsListaUF(), m_dm->cdsUF(), m_dm->cdsMunicipio(), m_dm->cdsFiltroUF()})
        rs->Fecha();
}

void TAreaAtuacaoPlano::AceitaSeletores() {
    for (RowSet* rs : {m_dm->cdsListaUF(), m_dm->cdsMunicipio()})
        if (rs->Ativo()) rs->MergeChangeLog();
}

void TAreaAtuacaoPlano::RemoveFiltroMunicipios() {
    m_dm->cdsPlanosMunicipio()->DefineFiltro(nullptr);
}

void TAreaAtuacaoPlano::ReiniciaRegioes() {
    m_dm->cdsListaUF()->DefineFiltro(nullptr);
    m_dm->cdsUF()->DefineFiltro(nullptr);
}

void TAreaAtuacaoPlano::RecalculaRegiao() {
    // The coverage region is worked out by the area tab's own rules; until then the
    // stored value stays.
}

void TAreaAtuacaoPlano::RegrasAreaAtuacao(int, RowSet&, QStringList&) const {
    // The regulator's area rules are the area tab's own work; until then they add nothing.
}

QString TAreaAtuacaoPlano::MensagemGravacao(int abrangencia) {
    GaranteAreaDoPlano();
    RowSet& munic = *m_dm->cdsPlanosMunicipio();
    if (abrangencia == 3) {
        QSet<QString> ufs;
        const int c = munic.IndiceCampo(QStringLiteral("CD_UF"));
        for (int p = 0; p < munic.RecordCount(); ++p) ufs.insert(munic.ValorNaPosicao(p, c).toString());
        if (ufs.size() > 1) return QStringLiteral("Somente podem ser selecionados municípios de uma única UF.");
    }
    QStringList mensagens;
    RegrasAreaAtuacao(abrangencia,
                      abrangencia == 4 || abrangencia == 5 ? munic : *m_dm->cdsPlanosUF(), mensagens);
    QString m;
    for (const QString& t : mensagens) m += t + QLatin1Char('\r');
    return m;
}
