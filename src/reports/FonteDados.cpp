#include "reports/FonteDados.h"

#include "db/RowSet.h"

void FonteDados::defineColunas(const QStringList& colunas) {
    m_colunas = colunas;
    m_indices.clear();
    for (int i = 0; i < colunas.size(); ++i) {
        const QString chave = colunas[i].toUpper();
        if (!m_indices.contains(chave)) m_indices.insert(chave, i);
    }
}

// ---------------------------------------------------------------------------

FonteConsulta::FonteConsulta(Banco& banco, QString sql, ParamsPosicionais params)
    : m_banco(banco), m_sql(std::move(sql)), m_params(std::move(params)) {}

void FonteConsulta::Abre() {
    m_cursor = std::make_unique<CursorConsulta>(m_banco, m_sql, m_params);
    defineColunas(m_cursor->colunas());
}

bool FonteConsulta::Le(QVariantList& linha) { return m_cursor && m_cursor->proxima(linha); }

// ---------------------------------------------------------------------------

FonteResultado::FonteResultado(Resultado resultado) : m_resultado(std::move(resultado)) {
    defineColunas(m_resultado.colunas);
}

bool FonteResultado::Le(QVariantList& linha) {
    if (m_pos >= m_resultado.numLinhas()) return false;
    linha = m_resultado.linhas.at(m_pos++);
    return true;
}

// ---------------------------------------------------------------------------

void FonteRowSet::Abre() {
    QStringList nomes;
    for (const Campo& c : m_rs.Campos()) nomes << c.nome;
    defineColunas(nomes);
    m_pos = 0;
}

bool FonteRowSet::Le(QVariantList& linha) {
    if (m_pos >= m_rs.RecordCount()) return false;
    const int n = m_rs.Campos().size();
    linha.resize(n);
    for (int c = 0; c < n; ++c) linha[c] = m_rs.ValorNaPosicao(m_pos, c);
    ++m_pos;
    return true;
}
