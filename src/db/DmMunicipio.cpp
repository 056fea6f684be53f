#include "db/DmMunicipio.h"

#include <QHash>

#include "db/DmConexao.h"

namespace {
TDmMunicipio* g_instancia = nullptr;
}

TDmMunicipio::TDmMunicipio(QObject* parent) : QObject(parent) { g_instancia = this; }

TDmMunicipio::~TDmMunicipio() {
    if (g_instancia == this) g_instancia = nullptr;
}

TDmMunicipio* TDmMunicipio::instancia() { return g_instancia; }

void TDmMunicipio::Abre() {
    Banco& b = DmConexao()->banco();
    m_ufs.clear();
    QHash<QString, int> posicao;
    for (const auto& l : b.consulta(QStringLiteral("SELECT CD_UF, NM_UF FROM TB_UFS ORDER BY CD_UF")).linhas) {
        posicao.insert(l.at(0).toString(), m_ufs.size());
        m_ufs.push_back({l.at(0).toString(), l.at(1).toString(), {}});
    }
    // One read of every municipality instead of one query per state.
    const Resultado m = b.consulta(
        QStringLiteral("SELECT ID_MUNC, CD_UF, NM_MUNC FROM TB_MUNICIPIOS ORDER BY NM_MUNC COLLATE PTBR"));
    for (const auto& l : m.linhas) {
        const auto it = posicao.constFind(l.at(1).toString());
        if (it != posicao.constEnd()) m_ufs[*it].municipios.push_back({l.at(0).toLongLong(), l.at(2).toString()});
    }
    m_aberto = true;
}

void TDmMunicipio::Fecha() {
    m_ufs.clear();
    m_aberto = false;
}

const TDmMunicipio::Uf* TDmMunicipio::LocalizaUf(const QString& cdUf) const {
    for (const Uf& u : m_ufs)
        if (u.codigo == cdUf) return &u;
    return nullptr;
}

QString UfDoMunicipio(qlonglong idMunicipio) {
    Consulta& q = DmConexao()->AbreConsulta(
        QStringLiteral("SELECT * FROM TB_MUNICIPIOS WHERE ID_MUNC = ?"), {idMunicipio});
    return q.Eof() ? QString() : q.campo(QStringLiteral("CD_UF")).toString();
}
