#include "reports/FonteDados.h"

#include <QCollator>
#include <QHash>
#include <QLocale>
#include <algorithm>
#include <thread>

#include "db/Erro.h"

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

namespace {
constexpr int kLote = 256;
}

FonteOrdenada::FonteOrdenada(Banco& banco, Comparacao comparacao, QString sqlChaves,
                             QString sqlLinhas, QString colunaChave, ParamsPosicionais params)
    : m_banco(banco),
      m_comparacao(comparacao),
      m_sqlChaves(std::move(sqlChaves)),
      m_sqlLinhas(std::move(sqlLinhas)),
      m_colunaChave(std::move(colunaChave)),
      m_params(std::move(params)) {}

namespace {
struct Chave {
    qlonglong id;
    bool nulo;
    QString texto;
};

// Keys in the order of their texts: empty texts first, ties by key.
QVector<qlonglong> ordemDoTexto(std::vector<Chave>& chaves) {
    std::sort(chaves.begin(), chaves.end(), [](const Chave& a, const Chave& b) {
        if (a.nulo != b.nulo) return a.nulo;
        const int c = a.texto.compare(b.texto);
        return c != 0 ? c < 0 : a.id < b.id;
    });
    QVector<qlonglong> ordem;
    ordem.reserve(int(chaves.size()));
    for (const Chave& c : chaves) ordem.push_back(c.id);
    return ordem;
}

// The same, comparing as the database's PTBR collation. The collation keys are made by
// two threads over the two halves: the list waits for them before its first page.
QVector<qlonglong> ordemPtBr(const std::vector<Chave>& chaves) {
    struct Item {
        QCollatorSortKey chave;
        bool nulo;
        qlonglong id;
    };
    const auto calcula = [&chaves](size_t de, size_t ate, std::vector<Item>& itens) {
        QCollator colacao(QLocale(QLocale::Portuguese, QLocale::Brazil));
        colacao.setCaseSensitivity(Qt::CaseInsensitive);
        colacao.setNumericMode(false);
        itens.reserve(ate - de);
        for (size_t i = de; i < ate; ++i)
            itens.push_back({colacao.sortKey(chaves[i].texto), chaves[i].nulo, chaves[i].id});
    };
    const size_t meio = chaves.size() / 2;
    std::vector<Item> itens, segunda;
    std::thread outra(calcula, meio, chaves.size(), std::ref(segunda));
    calcula(0, meio, itens);
    outra.join();
    std::move(segunda.begin(), segunda.end(), std::back_inserter(itens));
    std::sort(itens.begin(), itens.end(), [](const Item& a, const Item& b) {
        if (a.nulo != b.nulo) return a.nulo;
        const int c = a.chave.compare(b.chave);
        return c != 0 ? c < 0 : a.id < b.id;
    });
    QVector<qlonglong> ordem;
    ordem.reserve(int(itens.size()));
    for (const Item& i : itens) ordem.push_back(i.id);
    return ordem;
}
}  // namespace

void FonteOrdenada::Abre() {
    std::vector<Chave> chaves;
    {
        CursorConsulta cursor(m_banco, m_sqlChaves, m_params);
        QVariantList l;
        while (cursor.proxima(l))
            chaves.push_back({l.value(0).toLongLong(), l.value(1).isNull(), l.value(1).toString()});
    }
    m_ordem = m_comparacao == Comparacao::PtBr ? ordemPtBr(chaves) : ordemDoTexto(chaves);
    m_proxima = 0;
    m_lote.clear();
    m_posLote = 0;
    // The columns, known from the statement without running it.
    const CursorConsulta vazio(m_banco, m_sqlLinhas.arg(QStringLiteral("NULL")), m_params);
    defineColunas(vazio.colunas());
    if (Indice(m_colunaChave) < 0)
        throw ErroQev(QStringLiteral("Coluna %1 ausente da consulta.").arg(m_colunaChave));
}

void FonteOrdenada::leLote() {
    m_lote.clear();
    m_posLote = 0;
    const int n = std::min<int>(kLote, int(m_ordem.size()) - m_proxima);
    if (n <= 0) return;
    QStringList marcas;
    ParamsPosicionais params = m_params;
    for (int i = 0; i < n; ++i) {
        marcas << QStringLiteral("?");
        params << m_ordem[m_proxima + i];
    }
    CursorConsulta cursor(m_banco, m_sqlLinhas.arg(marcas.join(QLatin1Char(','))), params);
    const int chave = Indice(m_colunaChave);
    QHash<qlonglong, QVariantList> lidas;
    QVariantList l;
    while (cursor.proxima(l)) lidas.insert(l.value(chave).toLongLong(), l);
    // In the order of the keys; a row gone since the keys were read is skipped.
    for (int i = 0; i < n; ++i) {
        auto it = lidas.find(m_ordem[m_proxima + i]);
        if (it != lidas.end()) m_lote.push_back(std::move(it.value()));
    }
    m_proxima += n;
}

bool FonteOrdenada::Le(QVariantList& linha) {
    while (m_posLote >= m_lote.size()) {
        if (m_proxima >= m_ordem.size()) return false;
        leLote();
    }
    linha = std::move(m_lote[m_posLote++]);
    return true;
}

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
