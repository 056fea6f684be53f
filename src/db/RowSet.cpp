#include "db/RowSet.h"

#include "db/ColacaoPtBr.h"

#include <QCollator>
#include <cstring>
#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QLocale>
#include <QPointer>
#include <QRegularExpression>
#include <QSet>
#include <QTime>
#include <algorithm>
#include <vector>

#include "db/Mascara.h"
#include "db/Transacao.h"
#include "db/Valores.h"

namespace {

// Collation of names as a Brazilian user expects them (accents after the bare letter).
QCollator& colador(bool semCaixa) {
    static thread_local QCollator ci = [] {
        QCollator c(QLocale(QLocale::Portuguese, QLocale::Brazil));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    static thread_local QCollator cs = [] {
        QCollator c(QLocale(QLocale::Portuguese, QLocale::Brazil));
        c.setCaseSensitivity(Qt::CaseSensitive);
        return c;
    }();
    return semCaixa ? ci : cs;
}

bool ehTexto(TipoCampo t) { return t == TipoCampo::Texto || t == TipoCampo::Memo; }

// Type of a declared column type ("TEXT(14)", "INTEGER", "DATE" ...), with its size.
TipoCampo tipoDeclarado(const QString& declarado, int* tamanho) {
    const QString d = declarado.trimmed().toUpper();
    static const QRegularExpression tam(QStringLiteral("\\(\\s*(\\d+)"));
    const auto m = tam.match(d);
    if (m.hasMatch()) *tamanho = m.captured(1).toInt();
    if (d.isEmpty()) return TipoCampo::Desconhecido;
    if (d.contains(QLatin1String("INT"))) return TipoCampo::Inteiro;
    if (d.startsWith(QLatin1String("DATETIME")) || d.startsWith(QLatin1String("TIMESTAMP")))
        return TipoCampo::DataHora;
    if (d.startsWith(QLatin1String("DATE"))) return TipoCampo::Data;
    if (d.startsWith(QLatin1String("TIME"))) return TipoCampo::Hora;
    if (d.contains(QLatin1String("MEMO"))) return TipoCampo::Memo;
    if (d.contains(QLatin1String("CHAR")) || d.contains(QLatin1String("TEXT")) ||
        d.contains(QLatin1String("CLOB")))
        return TipoCampo::Texto;
    if (d.contains(QLatin1String("CURRENCY")) || d.contains(QLatin1String("MONEY")))
        return TipoCampo::Moeda;
    if (d.contains(QLatin1String("REAL")) || d.contains(QLatin1String("FLOA")) ||
        d.contains(QLatin1String("DOUB")) || d.contains(QLatin1String("NUMERIC")) ||
        d.contains(QLatin1String("DECIMAL")))
        return TipoCampo::Real;
    if (d.contains(QLatin1String("BOOL"))) return TipoCampo::Logico;
    if (d.contains(QLatin1String("BLOB"))) return TipoCampo::Blob;
    return TipoCampo::Desconhecido;
}

// Sizes of the text columns of a table, from their length checks.
QHash<QString, int> leTamanhosDaTabela(Banco& banco, const QString& tabela) {
    QHash<QString, int> r;
    const QString sql =
        banco
            .valor(QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'table' "
                                  "AND name = ? COLLATE NOCASE"),
                   {tabela})
            .toString();
    static const QRegularExpression checagem(
        QStringLiteral("length\\s*\\(\\s*\"?(\\w+)\"?\\s*\\)\\s*<=\\s*(\\d+)"),
        QRegularExpression::CaseInsensitiveOption);
    for (auto it = checagem.globalMatch(sql); it.hasNext();) {
        const auto m = it.next();
        r.insert(m.captured(1).toUpper(), m.captured(2).toInt());
    }
    return r;
}

// The same, read once per table and schema: a set that opens again and again (a plan's
// network, at every plan shown) asks the connection only for the schema's version number,
// kept in the file's header. The cache is per connection handle and file; a schema
// change (a column added at start) changes the version and reads the table again.
QHash<QString, int> tamanhosDaTabela(Banco& banco, const QString& tabela) {
    struct Esquema {
        qlonglong versao = -1;
        QHash<QString, QHash<QString, int>> tabelas;  // by table, upper case
    };
    static thread_local QHash<QPair<const void*, QString>, Esquema> cache;
    const qlonglong versao = banco.valor(QStringLiteral("PRAGMA schema_version")).toLongLong();
    if (cache.size() > 16) cache.clear();  // connections come and go (tests, imports)
    Esquema& e = cache[qMakePair(static_cast<const void*>(banco.handle()), banco.caminho())];
    if (e.versao != versao) {
        e.tabelas.clear();
        e.versao = versao;
    }
    const QString chave = tabela.toUpper();
    auto it = e.tabelas.find(chave);
    if (it == e.tabelas.end()) it = e.tabelas.insert(chave, leTamanhosDaTabela(banco, tabela));
    return *it;
}

// Texts made of ASCII digits only (CNPJ, CNES, codes): their collation order is their
// code order, so they are compared as they are instead of through collation keys.
bool soDigitos(const QString& s) {
    for (const QChar c : s)
        if (c.unicode() < u'0' || c.unicode() > u'9') return false;
    return true;
}

// A text of at most 18 digits as a number that sorts as the text does: each digit one
// place of base 11 (1 to 10), the places past the end 0, so a text sorts before the
// longer ones it begins.
constexpr int kMaisDigitos = 18;
quint64 chaveDigitos(const QString& s) {
    quint64 k = 0;
    for (int i = 0; i < kMaisDigitos; ++i) k = k * 11 + (i < s.size() ? quint64(s[i].unicode() - u'0' + 1) : 0);
    return k;
}

QDateTime comoDataHora(const QVariant& v) {
    if (v.typeId() == QMetaType::QDate) return QDateTime(v.toDate(), QTime(0, 0));
    if (v.typeId() == QMetaType::QDateTime) return v.toDateTime();
    if (v.typeId() == QMetaType::QTime) return QDateTime(QDate(1899, 12, 30), v.toTime());
    return Banco::lerDataHora(v);
}

template <typename T>
int sinal(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace

RowSet::RowSet(QObject* parent) : QObject(parent) {}
RowSet::~RowSet() = default;

// ---------------------------------------------------------------------------
// Structure
// ---------------------------------------------------------------------------

void RowSet::DefineCampos(const QVector<Campo>& campos) {
    if (Ativo())
        throw ErroQev(QStringLiteral("Os campos não podem ser redefinidos com o conjunto aberto."));
    m_campos = campos;
    m_indices.clear();
}

void RowSet::AdicionaCampo(const Campo& campo) {
    if (Ativo() && campo.ehDado())
        throw ErroQev(
            QStringLiteral("Um campo de dados não pode ser acrescentado ao conjunto aberto."));
    if (TemCampo(campo.nome)) throw ErroQev(QStringLiteral("Campo '%1' repetido.").arg(campo.nome));
    m_campos.push_back(campo);
    m_indices.clear();
    if (campo.ehLookup()) {
        connect(campo.lookup.lista, &RowSet::estruturaMudou, this,
                [this] { avisaEstrutura(); });
    }
    if (Ativo()) avisaEstrutura();
}

int RowSet::IndiceCampo(const QString& nome) const {
    // names asked for again (every row of a loop asks for its columns) are found by hash
    if (const auto it = m_indices.constFind(nome); it != m_indices.constEnd()) return *it;
    int indice = -1;
    for (int i = 0; i < m_campos.size() && indice < 0; ++i)
        if (m_campos[i].nome.compare(nome, Qt::CaseInsensitive) == 0) indice = i;
    if (m_indices.size() < 256) m_indices.insert(nome, indice);
    return indice;
}

Campo& RowSet::campo(const QString& nome) {
    const int i = IndiceCampo(nome);
    if (i < 0) throw ErroQev(QStringLiteral("Campo '%1' não encontrado.").arg(nome));
    return m_campos[i];
}

const Campo& RowSet::campo(const QString& nome) const {
    return const_cast<RowSet*>(this)->campo(nome);
}

// ---------------------------------------------------------------------------
// Opening
// ---------------------------------------------------------------------------

void RowSet::Abre(Banco& banco, const QString& sql, const ParamsPosicionais& params) {
    Resultado r = banco.consulta(sql, params);
    abreResultado(std::move(r), &banco);
    m_sql = sql;
    m_params.clear();
}

void RowSet::Abre(Banco& banco, const QString& sql, const ParamsNomeados& params) {
    Resultado r = banco.consulta(sql, params);
    abreResultado(std::move(r), &banco);
    m_sql = sql;
    m_params = params;
}

void RowSet::DefineComando(const QString& sql, const ParamsNomeados& params) {
    m_sql = sql;
    m_params = params;
}

void RowSet::DefineParametro(const QString& nome, const QVariant& valor) {
    for (auto it = m_params.begin(); it != m_params.end(); ++it) {
        if (it.key().compare(nome, Qt::CaseInsensitive) == 0) {
            it.value() = valor;
            return;
        }
    }
    m_params.insert(nome, valor);
}

QVariant RowSet::Parametro(const QString& nome) const {
    for (auto it = m_params.constBegin(); it != m_params.constEnd(); ++it)
        if (it.key().compare(nome, Qt::CaseInsensitive) == 0) return it.value();
    return QVariant();
}

void RowSet::Abre(Banco& banco) {
    if (m_sql.isEmpty()) throw ErroQev(QStringLiteral("O conjunto de dados não tem comando."));
    const QString sql = m_sql;
    const ParamsNomeados params = m_params;
    Fecha();
    Abre(banco, sql, params);
}

void RowSet::Carrega(Resultado resultado, Banco* banco) {
    abreResultado(std::move(resultado), banco);
    m_sql.clear();
}

void RowSet::abreResultado(Resultado r, Banco* banco) {
    if (EmEdicao()) Cancel();
    m_logPendente = false;  // the rows a pending log spoke of are gone
    m_logAntes.clear();
    const QVector<Campo> anteriores = m_campos;
    QVector<Campo> campos;
    QHash<QString, QHash<QString, int>> tamanhos;  // by table
    for (int c = 0; c < r.colunas.size(); ++c) {
        Campo f;
        f.nome = r.colunas[c];
        const Resultado::InfoColuna info = r.info.value(c);
        f.tipo = tipoDeclarado(info.tipoDeclarado, &f.tamanho);
        f.tabelaOrigem = info.tabela;
        f.gravavel = !info.tabela.isEmpty();
        if (banco && !info.tabela.isEmpty() && ehTexto(f.tipo) && f.tamanho == 0) {
            auto it = tamanhos.find(info.tabela);
            if (it == tamanhos.end())
                it = tamanhos.insert(info.tabela, tamanhosDaTabela(*banco, info.tabela));
            f.tamanho = it->value(info.origem.toUpper(), 0);
            if (f.tamanho == 0) f.tipo = TipoCampo::Memo;
        }
        for (const Campo& a : anteriores) {
            if (a.ehDado() && a.nome.compare(f.nome, Qt::CaseInsensitive) == 0) {
                f.rotulo = a.rotulo;
                f.mascara = a.mascara;
                f.visivel = a.visivel;
                f.textoExibido = a.textoExibido;
                if (!a.gravavel) f.gravavel = false;
                if (f.tipo == TipoCampo::Desconhecido) f.tipo = a.tipo;
            }
        }
        campos.push_back(f);
    }

    m_linhas.clear();
    m_linhas.reserve(r.linhas.size());
    for (auto& l : r.linhas) m_linhas.push_back({std::move(l), {}, Situacao::Inalterada});

    for (int c = 0; c < campos.size(); ++c) {
        Campo& f = campos[c];
        if (f.tipo == TipoCampo::Desconhecido) {
            // An expression: the values tell the type (and a text's longest value its width).
            f.tipo = TipoCampo::Texto;
            for (const RegLinha& l : m_linhas) {
                const QVariant& v = l.valores.at(c);
                if (nulo(v)) continue;
                switch (v.typeId()) {
                    case QMetaType::LongLong:
                        f.tipo = TipoCampo::Inteiro;
                        break;
                    case QMetaType::Double:
                        f.tipo = TipoCampo::Real;
                        break;
                    case QMetaType::QByteArray:
                        f.tipo = TipoCampo::Blob;
                        break;
                    default:
                        break;
                }
                break;
            }
            if (f.tipo == TipoCampo::Texto)
                for (const RegLinha& l : m_linhas)
                    f.tamanho = std::max<int>(f.tamanho, l.valores.at(c).toString().size());
        }
        if (f.temporal()) {
            // Dates repeat (links made together share their moment): each stored text is
            // converted once and its value shared, instead of one local date-time (and its
            // time-zone look-up) per row.
            QHash<QString, QVariant> convertidos;
            QString ultimo;  // the text converted last (a text read again is one shared string)
            QVariant ultimoValor;
            for (RegLinha& l : m_linhas) {
                QVariant& v = l.valores[c];
                if (v.typeId() != QMetaType::QString) {
                    v = Converte(f.tipo, v);
                    continue;
                }
                const QString texto = v.toString();
                if (!ultimo.isNull() && texto.constData() == ultimo.constData() && texto.size() == ultimo.size()) {
                    v = ultimoValor;
                    continue;
                }
                auto it = convertidos.constFind(texto);
                if (it == convertidos.constEnd()) {
                    if (convertidos.size() > 4096) convertidos.clear();
                    it = convertidos.insert(texto, Converte(f.tipo, v));
                }
                ultimo = texto;
                ultimoValor = *it;
                v = ultimoValor;
            }
        } else if (f.tipo == TipoCampo::Logico) {
            for (RegLinha& l : m_linhas) l.valores[c] = Converte(f.tipo, l.valores.at(c));
        }
    }
    for (const Campo& a : anteriores)
        if (!a.ehDado()) campos.push_back(a);
    m_campos = campos;
    m_indices.clear();

    m_estado = Estado::Consulta;
    m_chavesIndice.erase(
        std::remove_if(m_chavesIndice.begin(), m_chavesIndice.end(),
                       [this](const ChaveIndice& k) { return !TemCampo(k.campo); }),
        m_chavesIndice.end());
    if (m_chavesIndice.isEmpty()) m_nomeIndice.clear();
    if (m_mestre) aoMudarMestre();
    refazOrdem(-1);
    First();
    avisaEstado();
}

void RowSet::CriaVazio() {
    if (EmEdicao()) Cancel();
    m_linhas.clear();
    m_logPendente = false;
    m_logAntes.clear();
    m_estado = Estado::Consulta;
    m_sql.clear();
    refazOrdem(-1);
    First();
    avisaEstado();
}

void RowSet::Fecha() {
    if (!Ativo()) return;
    m_estado = Estado::Inativo;
    m_buffer.clear();
    m_linhas.clear();
    m_logPendente = false;
    m_logAntes.clear();
    m_ordem.clear();
    m_pos = -1;
    m_bof = m_eof = true;
    avisaEstrutura();
    avisaEstado();
    avisaRegistro();
}

void RowSet::verificaAtivo() const {
    if (!Ativo())
        throw ErroQev(QStringLiteral("Operação não permitida com o conjunto de dados fechado."));
}

// Moving while a row is being edited posts it first, as data sets do.
void RowSet::verificaConsulta() const {
    verificaAtivo();
    if (const_cast<RowSet*>(this)->EmEdicao()) const_cast<RowSet*>(this)->Post();
}

// ---------------------------------------------------------------------------
// Order, filter, index
// ---------------------------------------------------------------------------

bool RowSet::passaFiltro(int linha) const {
    const Situacao s = m_linhas[linha].situacao;
    if (s == Situacao::Excluida || s == Situacao::Descartada) return false;
    if (m_mestre) {
        for (int i = 0; i < m_camposDetalhe.size(); ++i) {
            const QVariant v = ValorDaLinha(linha, m_camposDetalhe[i]);
            if (nulo(v) || nulo(m_valoresMestre.value(i)) ||
                v.toString() != m_valoresMestre.value(i).toString())
                return false;
        }
    }
    return !m_filtro || m_filtro(*this, linha);
}

void RowSet::refazOrdem(int linhaPreferida) {
    m_ordemPendente = false;
    const int posAnterior = m_pos;
    m_ordem.clear();
    m_ordem.reserve(m_linhas.size());
    for (int i = 0; i < m_linhas.size(); ++i)
        if (passaFiltro(i)) m_ordem.push_back(i);
    ordena();
    int pos = linhaPreferida >= 0 ? PosicaoDaLinha(linhaPreferida) : -1;
    if (pos < 0) pos = m_ordem.isEmpty() ? -1 : std::clamp(posAnterior, 0, int(m_ordem.size()) - 1);
    m_pos = pos;
    m_bof = m_pos <= 0;
    m_eof = m_ordem.isEmpty();
    avisaEstrutura();
    avisaRegistro();
}

void RowSet::ordena() {
    if (m_chavesIndice.isEmpty() || m_ordem.size() < 2) return;
    struct Chave {
        int campo;
        bool desc;
        bool semCaixa;
        bool texto;
        std::vector<QCollatorSortKey> chaves;  // texts: by position in m_ordem
        std::vector<QString> textos;            // texts of digits only, when no keys
        std::vector<quint64> numeros;           // short texts of digits only: their keys
        // texts of the characters names are written with: their first-level weights, one
        // after the other (`inicio` tells where each row's begin), ties left to the collator
        std::vector<quint8> pesos;
        std::vector<int> inicio;
        std::vector<quint64> prefixos;  // each row's first eight weights, as one number
        std::vector<char> nulos;
    };
    std::vector<Chave> chaves;
    for (const ChaveIndice& k : m_chavesIndice) {
        Chave c{IndiceCampo(k.campo), k.descendente, k.semCaixa, false, {}, {}, {}, {}, {}, {}, {}};
        c.texto = ehTexto(m_campos[c.campo].tipo);
        chaves.push_back(std::move(c));
    }
    // Texts are compared through collation keys computed once per row.
    const int n = m_ordem.size();
    QVector<int> ordemLocal(n);
    for (int i = 0; i < n; ++i) ordemLocal[i] = i;
    for (Chave& c : chaves) {
        if (!c.texto) continue;
        c.nulos.resize(n);
        c.textos.resize(n);
        bool digitos = true, curtos = true;
        for (int i = 0; i < n; ++i) {
            const QVariant v = ValorDaLinha(m_ordem[i], c.campo);
            c.nulos[i] = nulo(v);
            if (c.nulos[i]) continue;
            c.textos[i] = v.toString();
            digitos = digitos && soDigitos(c.textos[i]);
            curtos = curtos && c.textos[i].size() <= kMaisDigitos;
        }
        if (digitos && curtos) {  // CNPJ, CNES, codes: compared as numbers of their own
            c.numeros.resize(n);
            for (int i = 0; i < n; ++i)
                if (!c.nulos[i]) c.numeros[i] = chaveDigitos(c.textos[i]);
            c.textos = {};
            continue;
        }
        if (digitos) continue;  // compared as they are
        c.inicio.resize(n + 1);
        bool conhecidos = true;
        for (int i = 0; i < n && conhecidos; ++i) {
            c.inicio[i] = int(c.pesos.size());
            if (!c.nulos[i]) conhecidos = ColacaoPtBr::Pesos(c.textos[i], c.pesos);
        }
        if (conhecidos) {
            c.inicio[n] = int(c.pesos.size());
            c.prefixos.resize(n);
            for (int i = 0; i < n; ++i) {
                quint64 k = 0;
                for (int j = 0; j < 8; ++j) {
                    const int p = c.inicio[i] + j;
                    k = (k << 8) | (p < c.inicio[i + 1] ? c.pesos[p] : 0);
                }
                c.prefixos[i] = k;
            }
            continue;  // the texts stay for the ties
        }
        c.pesos = {};
        c.inicio = {};
        QCollator& col = colador(c.semCaixa);
        c.chaves.reserve(n);
        for (int i = 0; i < n; ++i) c.chaves.push_back(col.sortKey(c.textos[i]));
        c.textos = {};
    }
    std::stable_sort(ordemLocal.begin(), ordemLocal.end(), [&](int a, int b) {
        for (const Chave& c : chaves) {
            int r;
            if (c.texto) {
                if (c.nulos[a] || c.nulos[b])
                    r = int(!c.nulos[a]) - int(!c.nulos[b]);
                else if (!c.numeros.empty())
                    r = c.numeros[a] < c.numeros[b] ? -1 : c.numeros[a] > c.numeros[b];
                else if (!c.inicio.empty()) {
                    r = c.prefixos[a] < c.prefixos[b] ? -1 : c.prefixos[a] > c.prefixos[b];
                    const int na = c.inicio[a + 1] - c.inicio[a], nb = c.inicio[b + 1] - c.inicio[b];
                    if (r == 0 && (na > 8 || nb > 8)) {
                        const quint8* pa = c.pesos.data() + c.inicio[a];
                        const quint8* pb = c.pesos.data() + c.inicio[b];
                        r = std::memcmp(pa + 8, pb + 8, size_t(std::max(0, std::min(na, nb) - 8)));
                        if (r == 0) r = na - nb;
                    }
                    if (r == 0) r = colador(c.semCaixa).compare(c.textos[a], c.textos[b]);
                } else if (c.chaves.empty())
                    r = c.textos[a].compare(c.textos[b]);
                else
                    r = c.chaves[a].compare(c.chaves[b]);
            } else {
                r = Compara(c.campo, ValorDaLinha(m_ordem[a], c.campo),
                            ValorDaLinha(m_ordem[b], c.campo));
            }
            if (r != 0) return c.desc ? r > 0 : r < 0;
        }
        return false;
    });
    QVector<int> nova(n);
    for (int i = 0; i < n; ++i) nova[i] = m_ordem[ordemLocal[i]];
    m_ordem = std::move(nova);
}

void RowSet::DefineFiltro(Filtro filtro) {
    if (Ativo()) verificaConsulta();
    m_filtro = std::move(filtro);
    if (Ativo()) {
        refazOrdem(Linha());
        if (m_ordem.isEmpty() || m_pos < 0) First();
    }
}

void RowSet::DefineIndice(const QString& nome, const QVector<ChaveIndice>& chaves) {
    // an open set refuses an unknown field; a closed one takes the index for its next
    // opening (keys the statement does not return are dropped then)
    if (Ativo())
        for (const ChaveIndice& k : chaves) campo(k.campo);  // throws for an unknown field
    if (Ativo()) verificaConsulta();
    m_nomeIndice = nome;
    m_chavesIndice = chaves;
    if (Ativo()) refazOrdem(Linha());
}

void RowSet::RemoveIndice() {
    if (Ativo()) verificaConsulta();
    m_nomeIndice.clear();
    m_chavesIndice.clear();
    if (Ativo()) refazOrdem(Linha());
}

int RowSet::Compara(int c, const QVariant& a, const QVariant& b, bool semCaixa) const {
    const bool na = nulo(a), nb = nulo(b);
    if (na || nb) return int(!na) - int(!nb);
    switch (m_campos[c].tipo) {
        case TipoCampo::Texto:
        case TipoCampo::Memo:
            return ColacaoPtBr::Compara(colador(semCaixa), a.toString(), b.toString());
        case TipoCampo::Inteiro:
            return sinal(a.toLongLong(), b.toLongLong());
        case TipoCampo::Real:
        case TipoCampo::Moeda:
            return sinal(a.toDouble(), b.toDouble());
        case TipoCampo::Data:
        case TipoCampo::DataHora:
        case TipoCampo::Hora:
            return sinal(comoDataHora(a), comoDataHora(b));
        case TipoCampo::Logico:
            return sinal(a.toBool(), b.toBool());
        default:
            return sinal(a.toString(), b.toString());
    }
}

bool RowSet::Locate(const QStringList& campos, const QVariantList& valores, OpcoesLocate opcoes) {
    verificaConsulta();
    QVector<int> indices;
    for (const QString& n : campos) {
        const int i = IndiceCampo(n);
        if (i < 0) throw ErroQev(QStringLiteral("Campo '%1' não encontrado.").arg(n));
        indices << i;
    }
    const Qt::CaseSensitivity cs = opcoes.semCaixa ? Qt::CaseInsensitive : Qt::CaseSensitive;
    for (int pos = 0; pos < m_ordem.size(); ++pos) {
        bool igual = true;
        for (int k = 0; k < indices.size() && igual; ++k) {
            const Campo& f = m_campos[indices[k]];
            const QVariant v = ValorDaLinha(m_ordem[pos], indices[k]);
            const QVariant procurado = valores.value(k);
            if (nulo(procurado) || nulo(v)) {
                igual = nulo(procurado) && nulo(v);
            } else if (ehTexto(f.tipo)) {
                const QString t = v.toString(), p = procurado.toString();
                igual = opcoes.parcial ? t.startsWith(p, cs) : t.compare(p, cs) == 0;
            } else {
                igual = Compara(indices[k], v, Converte(f.tipo, procurado)) == 0;
            }
        }
        if (igual) {
            // a move that succeeded: neither before the first row nor past the last
            m_bof = m_eof = false;
            posiciona(pos);
            return true;
        }
    }
    return false;
}

bool RowSet::LocalizaProximo(const QVariant& valor) {
    verificaConsulta();
    if (m_chavesIndice.isEmpty() || m_ordem.isEmpty()) return false;
    const ChaveIndice& k = m_chavesIndice.first();
    const int c = IndiceCampo(k.campo);
    const QVariant alvo =
        ehTexto(m_campos[c].tipo) ? QVariant(valor.toString()) : Converte(m_campos[c].tipo, valor);
    // first position whose key is not before the value in the index's order
    int lo = 0, hi = m_ordem.size();
    while (lo < hi) {
        const int meio = (lo + hi) / 2;
        int r = Compara(c, ValorDaLinha(m_ordem[meio], c), alvo, k.semCaixa);
        if (k.descendente) r = -r;
        if (r < 0)
            lo = meio + 1;
        else
            hi = meio;
    }
    const bool achou = lo < m_ordem.size();
    m_bof = m_eof = false;
    posiciona(achou ? lo : int(m_ordem.size()) - 1);
    return achou;
}

// ---------------------------------------------------------------------------
// Navigation
// ---------------------------------------------------------------------------

void RowSet::posiciona(int pos, bool avisa) {
    const bool mudou = pos != m_pos;
    m_pos = pos;
    if (avisa && mudou) avisaRegistro();
}

void RowSet::First() {
    verificaConsulta();
    posiciona(m_ordem.isEmpty() ? -1 : 0);
    m_bof = true;
    m_eof = m_ordem.isEmpty();
}

void RowSet::Last() {
    verificaConsulta();
    posiciona(int(m_ordem.size()) - 1);
    m_eof = true;
    m_bof = m_ordem.isEmpty();
}

void RowSet::Next() { MoveBy(1); }
void RowSet::Prior() { MoveBy(-1); }

void RowSet::MoveBy(int n) {
    verificaConsulta();
    m_bof = m_eof = false;
    if (m_ordem.isEmpty()) {
        m_bof = m_eof = true;
        return;
    }
    int alvo = m_pos + n;
    if (alvo > m_ordem.size() - 1) {
        alvo = m_ordem.size() - 1;
        m_eof = true;
    }
    if (alvo < 0) {
        alvo = 0;
        m_bof = true;
    }
    posiciona(alvo);
}

bool RowSet::Vai(int posicao) {
    verificaConsulta();
    if (posicao < 0 || posicao >= m_ordem.size()) return false;
    if (posicao != m_pos) MoveBy(posicao - m_pos);
    return true;
}

int RowSet::Linha() const { return m_pos >= 0 && m_pos < m_ordem.size() ? m_ordem[m_pos] : -1; }

int RowSet::PosicaoDaLinha(int linha) const { return linha < 0 ? -1 : int(m_ordem.indexOf(linha)); }

bool RowSet::VaiParaLinha(int linha) { return Vai(PosicaoDaLinha(linha)); }

// ---------------------------------------------------------------------------
// Values
// ---------------------------------------------------------------------------

const QVariantList& RowSet::valoresDaLinha(int linha) const {
    if (EmEdicao() && linha == Linha()) return m_buffer;
    return m_linhas[linha].valores;
}

QVariant RowSet::ValorDaLinha(int linha, int c) const {
    if (linha < 0 || linha >= m_linhas.size() || c < 0 || c >= m_campos.size()) return QVariant();
    const Campo& f = m_campos[c];
    if (f.calculado()) return valorCalculado(linha, c);
    if (f.ehLookup()) return valorLookup(linha, c);
    return valoresDaLinha(linha).value(c);
}

QVariant RowSet::ValorDaLinha(int linha, const QString& c) const {
    return ValorDaLinha(linha, IndiceCampo(c));
}

QVariant RowSet::valorCalculado(int linha, int c) const {
    return m_campos[c].calculo(*this, linha);
}

QVariant RowSet::valorLookup(int linha, int c) const {
    const Campo::Lookup& l = m_campos[c].lookup;
    const QVariant chave = ValorDaLinha(linha, l.chaveLocal);
    if (nulo(chave) || !l.lista->Ativo()) return QVariant();
    const int ic = l.lista->IndiceCampo(l.chaveLista);
    const int ir = l.lista->IndiceCampo(l.resultado);
    const QString procurada = chave.toString();
    for (int i = 0; i < l.lista->m_linhas.size(); ++i) {
        const Situacao s = l.lista->m_linhas[i].situacao;
        if (s == Situacao::Excluida || s == Situacao::Descartada) continue;
        if (l.lista->ValorDaLinha(i, ic).toString() == procurada)
            return l.lista->ValorDaLinha(i, ir);
    }
    return QVariant();
}

QVariant RowSet::Valor(int c) const { return ValorDaLinha(Linha(), c); }

QVariant RowSet::Valor(const QString& nome) const {
    const int c = IndiceCampo(nome);
    if (c < 0) throw ErroQev(QStringLiteral("Campo '%1' não encontrado.").arg(nome));
    return Valor(c);
}

bool RowSet::Nulo(const QString& c) const { return nulo(Valor(c)); }

QVariant RowSet::ValorNaPosicao(int posicao, int c) const {
    return ValorDaLinha(LinhaNaPosicao(posicao), c);
}

QString RowSet::TextoDe(int posicao, int c) const {
    if (c < 0 || c >= m_campos.size()) return QString();
    const Campo& f = m_campos[c];
    if (f.textoExibido) return f.textoExibido(*this, LinhaNaPosicao(posicao));
    const QString t = Formata(f.tipo, ValorNaPosicao(posicao, c));
    return f.mascara.isEmpty() ? t : AplicaMascara(t, f.mascara);
}

QString RowSet::Texto(const QString& nome) const {
    const int c = IndiceCampo(nome);
    if (c < 0) throw ErroQev(QStringLiteral("Campo '%1' não encontrado.").arg(nome));
    return TextoDe(m_pos, c);
}

QVariant RowSet::Converte(TipoCampo tipo, const QVariant& v) {
    if (nulo(v)) return QVariant();
    switch (tipo) {
        case TipoCampo::Texto:
        case TipoCampo::Memo: {
            const QString s = v.toString();
            return s.isEmpty() ? QVariant() : QVariant(s);
        }
        case TipoCampo::Inteiro: {
            if (v.typeId() == QMetaType::QString) {
                const QString s = v.toString().trimmed();
                if (s.isEmpty()) return QVariant();
                bool ok = false;
                const qlonglong n = s.toLongLong(&ok);
                if (!ok)
                    throw ErroQev(QStringLiteral("'%1' não é um número inteiro válido").arg(s));
                return n;
            }
            return v.toLongLong();
        }
        case TipoCampo::Real:
        case TipoCampo::Moeda: {
            if (v.typeId() == QMetaType::QString) {
                const QString s = v.toString().trimmed();
                if (s.isEmpty()) return QVariant();
                bool ok = false;
                double d = s.toDouble(&ok);
                if (!ok) d = ptBr().toDouble(s, &ok);
                if (!ok) throw ErroQev(QStringLiteral("'%1' não é um número válido").arg(s));
                return d;
            }
            return v.toDouble();
        }
        case TipoCampo::Data: {
            if (v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime) return v;
            const QString s = v.toString().trimmed();
            if (s.isEmpty()) return QVariant();
            QDate iso;
            QTime hora;
            if (LeDataHoraIso(s, &iso, &hora)) {  // the stored forms, without the slow parser
                if (s.size() == 10) return iso.isValid() ? QVariant(iso) : QVariant();
                // as Banco::lerDataHora reads it, without parsing the text again
                return iso.isValid() ? QVariant(QDateTime(iso, hora.isValid() ? hora : QTime(0, 0))) : QVariant();
            }
            QDate d = QDate::fromString(s, QStringLiteral("yyyy-MM-dd"));
            if (d.isValid()) return d;
            d = QDate::fromString(s, QStringLiteral("dd/MM/yyyy"));
            if (d.isValid()) return d;
            const QDateTime dt = Banco::lerDataHora(s);
            return dt.isValid() ? QVariant(dt) : QVariant();
        }
        case TipoCampo::DataHora: {
            if (v.typeId() == QMetaType::QDateTime) return v;
            if (v.typeId() == QMetaType::QDate) return QDateTime(v.toDate(), QTime(0, 0));
            const QDateTime dt = Banco::lerDataHora(v);
            return dt.isValid() ? QVariant(dt) : QVariant();
        }
        case TipoCampo::Hora: {
            if (v.typeId() == QMetaType::QTime) return v;
            if (v.typeId() == QMetaType::QDateTime) return v.toDateTime().time();
            QTime t = QTime::fromString(v.toString().trimmed(), QStringLiteral("HH:mm:ss"));
            if (!t.isValid())
                t = QTime::fromString(v.toString().trimmed(), QStringLiteral("HH:mm"));
            return t.isValid() ? QVariant(t) : QVariant();
        }
        case TipoCampo::Logico:
            if (v.typeId() == QMetaType::QString) {
                const QString s = v.toString().trimmed().toUpper();
                return s == QLatin1String("S") || s == QLatin1String("1") ||
                       s == QLatin1String("TRUE");
            }
            return v.toBool();
        default:
            return v;
    }
}

QString RowSet::Formata(TipoCampo tipo, const QVariant& v) {
    if (nulo(v)) return QString();
    switch (tipo) {
        case TipoCampo::Inteiro:
            return QString::number(v.toLongLong());
        case TipoCampo::Real:
            return ptBr().toString(v.toDouble(), 'g', 15).remove(QLatin1Char('.'));
        case TipoCampo::Moeda:
            return ptBr().toString(v.toDouble(), 'f', 2);
        case TipoCampo::Data:
        case TipoCampo::DataHora: {
            if (v.typeId() == QMetaType::QDate)
                return v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
            const QDateTime dt = comoDataHora(v);
            if (!dt.isValid()) return v.toString();
            if (dt.time() == QTime(0, 0)) return dt.toString(QStringLiteral("dd/MM/yyyy"));
            return dt.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
        }
        case TipoCampo::Hora:
            return v.toTime().toString(QStringLiteral("HH:mm:ss"));
        case TipoCampo::Logico:
            return v.toBool() ? QStringLiteral("Sim") : QStringLiteral("Não");
        case TipoCampo::Blob:
            return QStringLiteral("(BLOB)");
        default:
            return v.toString();
    }
}

void RowSet::DefineValor(const QString& nome, const QVariant& valor) {
    const int c = IndiceCampo(nome);
    if (c < 0) throw ErroQev(QStringLiteral("Campo '%1' não encontrado.").arg(nome));
    DefineValor(c, valor);
}

void RowSet::DefineValor(int c, const QVariant& valor) {
    if (!EmEdicao()) throw ErroQev(QStringLiteral("O registro não está em inclusão ou alteração."));
    const Campo& f = m_campos.at(c);
    if (!f.ehDado())
        throw ErroQev(QStringLiteral("O campo '%1' não pode ser alterado.").arg(f.nome));
    const QVariant v = Converte(f.tipo, valor);
    if (m_buffer.size() <= c) m_buffer.resize(c + 1);
    const QVariant& atual = m_buffer.at(c);
    if (nulo(v) && nulo(atual)) return;
    if (!nulo(v) && !nulo(atual) && v == atual && v.typeId() == atual.typeId()) return;
    m_buffer[c] = v;
    emit valorMudou(c);
    avisaLinha(m_pos);
}

// ---------------------------------------------------------------------------
// Editing
// ---------------------------------------------------------------------------

void RowSet::novoRegistro(bool noFim) {
    verificaConsulta();
    m_linhaAntesInsercao = Linha();
    m_linhas.push_back({QVariantList(m_campos.size()), {}, Situacao::Descartada});
    m_linhaInserida = int(m_linhas.size()) - 1;
    const int pos = noFim || m_pos < 0 ? int(m_ordem.size()) : m_pos;
    m_ordem.insert(pos, m_linhaInserida);
    m_pos = pos;
    m_bof = m_eof = false;
    m_buffer = QVariantList(m_campos.size());
    m_estado = Estado::Insercao;
    if (m_mestre)
        for (int i = 0; i < m_camposDetalhe.size(); ++i)
            if (TemCampo(m_camposDetalhe[i]))
                DefineValor(m_camposDetalhe[i], m_valoresMestre.value(i));
    avisaEstrutura();
    avisaEstado();
    avisaRegistro();
    if (AoNovoRegistro) AoNovoRegistro(*this);
}

void RowSet::Insert() { novoRegistro(false); }
void RowSet::Append() { novoRegistro(true); }

void RowSet::Edit() {
    verificaAtivo();
    if (EmEdicao()) return;
    if (m_pos < 0) throw ErroQev(QStringLiteral("Não há registro para alterar."));
    m_buffer = m_linhas[Linha()].valores;
    m_buffer.resize(m_campos.size());
    m_estado = Estado::Edicao;
    avisaEstado();
}

void RowSet::Post() {
    if (!EmEdicao()) return;
    if (AntesDeGravar) AntesDeGravar(*this);
    const int linha = Linha();
    RegLinha& l = m_linhas[linha];
    if (m_estado == Estado::Insercao) {
        l.valores = m_buffer;
        l.situacao = Situacao::Inserida;
    } else {
        bool mudou = false;
        for (int c = 0; c < m_campos.size() && !mudou; ++c) {
            const QVariant a = l.valores.value(c), b = m_buffer.value(c);
            mudou = nulo(a) != nulo(b) || (!nulo(a) && !(a == b && a.typeId() == b.typeId()));
        }
        if (mudou) {
            if (l.situacao == Situacao::Inalterada) {
                l.originais = l.valores;
                l.situacao = Situacao::Modificada;
            }
            l.valores = m_buffer;
        }
    }
    m_buffer.clear();
    m_estado = Estado::Consulta;
    if (m_chavesIndice.isEmpty() && !m_filtro && !m_mestre) {
        // the row keeps its place: no order to rebuild
        m_bof = m_pos <= 0;
        avisaLinha(m_pos);
        avisaRegistro();
    } else if (m_lote > 0) {
        // inside a batch the order is rebuilt once, at its end; a row the filter or the
        // master link hides leaves the view now, so positions stay true meanwhile
        if (!passaFiltro(linha)) {
            m_ordem.removeAt(m_pos);
            if (m_pos >= m_ordem.size()) m_pos = int(m_ordem.size()) - 1;
            m_eof = m_ordem.isEmpty();
        }
        m_bof = m_pos <= 0;
        m_ordemPendente = true;
        avisaEstrutura();
        avisaRegistro();
    } else {
        refazOrdem(linha);
    }
    avisaEstado();
    if (AposGravar) AposGravar(*this);
}

bool RowSet::LinhaInserida(int linha) const {
    return linha >= 0 && linha < m_linhas.size() && m_linhas[linha].situacao == Situacao::Inserida;
}

void RowSet::Cancel() {
    if (!EmEdicao()) return;
    const Estado era = m_estado;
    m_buffer.clear();
    m_estado = Estado::Consulta;
    if (era == Estado::Insercao) {
        m_ordem.removeAll(m_linhaInserida);
        if (m_linhaInserida == m_linhas.size() - 1) m_linhas.removeLast();
        m_linhaInserida = -1;
        m_pos = PosicaoDaLinha(m_linhaAntesInsercao);
        if (m_pos < 0 && !m_ordem.isEmpty()) m_pos = 0;
        m_bof = m_pos <= 0;
        m_eof = m_ordem.isEmpty();
        avisaEstrutura();
    } else {
        avisaLinha(m_pos);
    }
    avisaEstado();
    avisaRegistro();
}

void RowSet::Delete() {
    verificaAtivo();
    if (m_estado == Estado::Insercao) {
        Cancel();
        return;
    }
    if (m_estado == Estado::Edicao) {
        m_buffer.clear();
        m_estado = Estado::Consulta;
        avisaEstado();
    }
    if (m_pos < 0) throw ErroQev(QStringLiteral("Não há registro para excluir."));
    RegLinha& l = m_linhas[Linha()];
    l.situacao = l.situacao == Situacao::Inserida ? Situacao::Descartada : Situacao::Excluida;
    m_ordem.removeAt(m_pos);
    if (m_pos >= m_ordem.size()) m_pos = int(m_ordem.size()) - 1;
    m_bof = m_pos <= 0;
    m_eof = m_ordem.isEmpty();
    avisaEstrutura();
    avisaRegistro();
}

void RowSet::ExcluiLinhas(const QVector<int>& linhas) {
    verificaAtivo();
    if (m_estado == Estado::Insercao) Cancel();
    if (m_estado == Estado::Edicao) {
        m_buffer.clear();
        m_estado = Estado::Consulta;
        avisaEstado();
    }
    const int atual = Linha();
    const int posAtual = m_pos;
    bool alguma = false;
    for (int linha : linhas) {
        if (linha < 0 || linha >= m_linhas.size()) continue;
        RegLinha& l = m_linhas[linha];
        if (l.situacao == Situacao::Excluida || l.situacao == Situacao::Descartada) continue;
        l.situacao = l.situacao == Situacao::Inserida ? Situacao::Descartada : Situacao::Excluida;
        alguma = true;
    }
    if (!alguma) return;
    // one pass keeps the rest in its order
    QVector<int> ordem;
    ordem.reserve(m_ordem.size());
    int novaPos = -1;
    for (int linha : std::as_const(m_ordem)) {
        const Situacao s = m_linhas[linha].situacao;
        if (s == Situacao::Excluida || s == Situacao::Descartada) continue;
        if (linha == atual) novaPos = int(ordem.size());
        ordem.push_back(linha);
    }
    m_ordem = std::move(ordem);
    if (novaPos < 0) novaPos = m_ordem.isEmpty() ? -1 : std::min(posAtual, int(m_ordem.size()) - 1);
    m_pos = novaPos;
    m_bof = m_pos <= 0;
    m_eof = m_ordem.isEmpty();
    avisaEstrutura();
    avisaRegistro();
}

QVector<int> RowSet::LinhasSemFiltro() const {
    QVector<int> r;
    if (!Ativo()) return r;
    r.reserve(m_linhas.size());
    for (int i = 0; i < m_linhas.size(); ++i) {
        const Situacao s = m_linhas[i].situacao;
        if (s != Situacao::Excluida && s != Situacao::Descartada) r.push_back(i);
    }
    return r;
}

// ---------------------------------------------------------------------------
// Batches
// ---------------------------------------------------------------------------

RowSet::Lote::Lote(RowSet& rs) : m_rs(rs) { ++m_rs.m_lote; }

RowSet::Lote::~Lote() {
    if (--m_rs.m_lote == 0) m_rs.terminaLote();
}

void RowSet::terminaLote() {
    bool estrutura = std::exchange(m_avisoEstrutura, false);
    bool registro = std::exchange(m_avisoRegistro, false);
    if (m_ordemPendente && Ativo()) {
        refazOrdem(Linha());  // announces structure and row itself
        estrutura = registro = false;
    }
    m_ordemPendente = false;
    const bool estado = std::exchange(m_avisoEstado, false);
    if (estrutura) emit estruturaMudou();
    if (registro) emit registroMudou();
    if (estado) emit estadoMudou();
}

void RowSet::avisaEstrutura() {
    if (m_lote > 0)
        m_avisoEstrutura = true;
    else
        emit estruturaMudou();
}

void RowSet::avisaRegistro() {
    if (m_lote > 0)
        m_avisoRegistro = true;
    else
        emit registroMudou();
}

void RowSet::avisaEstado() {
    if (m_lote > 0)
        m_avisoEstado = true;
    else
        emit estadoMudou();
}

void RowSet::avisaLinha(int pos) {
    if (m_lote > 0)
        m_avisoEstrutura = true;  // the grid is redrawn whole at the batch's end
    else
        emit linhaMudou(pos);
}

// ---------------------------------------------------------------------------
// Change log
// ---------------------------------------------------------------------------

int RowSet::ChangeCount() const {
    int n = 0;
    for (const RegLinha& l : m_linhas)
        if (l.situacao == Situacao::Modificada || l.situacao == Situacao::Inserida ||
            l.situacao == Situacao::Excluida)
            ++n;
    return n;
}

void RowSet::DefineAtualizacao(const QString& tabela, const QStringList& chaves) {
    m_tabelaAtualizacao = tabela;
    m_chavesAtualizacao = chaves;
}

int RowSet::ApplyUpdates(Banco& banco) {
    if (m_tabelaAtualizacao.isEmpty())
        throw ErroQev(QStringLiteral("O conjunto de dados não tem tabela de atualização."));
    return ApplyUpdates(banco, m_tabelaAtualizacao, m_chavesAtualizacao);
}

int RowSet::ApplyUpdates(Banco& banco, const QString& tabela, const QStringList& chaves) {
    if (EmEdicao()) Post();
    const auto confere = [&](const QString& nome) {
        if (!IdentificadorSimples(nome))
            throw ErroQev(QStringLiteral("Nome inválido: '%1'").arg(nome));
    };
    confere(tabela);
    QVector<int> colunasChave;
    for (const QString& k : chaves) {
        confere(k);
        colunasChave << IndiceCampo(k);
        if (colunasChave.last() < 0)
            throw ErroQev(QStringLiteral("Campo '%1' não encontrado.").arg(k));
    }
    QVector<int> gravaveis;
    for (int c = 0; c < m_campos.size(); ++c) {
        const Campo& f = m_campos[c];
        if (f.ehDado() && f.gravavel &&
            (f.tabelaOrigem.isEmpty() ||
             f.tabelaOrigem.compare(tabela, Qt::CaseInsensitive) == 0)) {
            confere(f.nome);
            gravaveis << c;
        }
    }

    const auto condicaoChave = [&](const QVariantList& valores, QVariantList& params) {
        QStringList partes;
        for (int c : colunasChave) {
            const QVariant v = valores.value(c);
            if (nulo(v)) {
                partes << m_campos[c].nome + QStringLiteral(" IS NULL");
            } else {
                partes << m_campos[c].nome + QStringLiteral(" = ?");
                params << v;
            }
        }
        return partes.join(QStringLiteral(" AND "));
    };
    const auto difere = [](const QVariant& a, const QVariant& b) {
        return nulo(a) != nulo(b) || (!nulo(a) && !(a == b && a.typeId() == b.typeId()));
    };
    // The optimistic check: each column this row changes still holds the value read (a
    // date compared as a date, whatever form the text was stored in; a value read as
    // null matches null or an empty text). Another copy's change is never overwritten.
    const auto condicaoOriginais = [&](const RegLinha& l, QVariantList& params) {
        QString onde;
        if (l.originais.isEmpty()) return onde;
        for (int c : gravaveis) {
            const QVariant a = l.originais.value(c);
            if (!difere(a, l.valores.value(c)) || colunasChave.contains(c)) continue;
            const QString& nome = m_campos[c].nome;
            if (nulo(a)) {
                onde += QStringLiteral(" AND (%1 IS NULL OR %1 = '')").arg(nome);
                continue;
            }
            switch (m_campos[c].tipo) {
                case TipoCampo::Data:
                    onde += QStringLiteral(" AND date(%1) IS date(?)").arg(nome);
                    break;
                case TipoCampo::DataHora:
                    onde += QStringLiteral(" AND datetime(%1) IS datetime(?)").arg(nome);
                    break;
                case TipoCampo::Hora:
                    onde += QStringLiteral(" AND time(%1) IS time(?)").arg(nome);
                    break;
                default:
                    onde += QStringLiteral(" AND %1 IS ?").arg(nome);
                    break;
            }
            params << a;
        }
        return onde;
    };
    const auto exigeUma = [&] {
        if (banco.linhasAlteradas() != 1) throw ErroRegistroAlterado();
    };

    TransacaoEscopo transacao(banco);
    int gravadas = 0;
    {
        for (const RegLinha& l : m_linhas) {  // deletions first: a key may come back in an insert
            if (l.situacao != Situacao::Excluida) continue;
            QVariantList params;
            QString onde = condicaoChave(l.originais.isEmpty() ? l.valores : l.originais, params);
            onde += condicaoOriginais(l, params);
            banco.executa(QStringLiteral("DELETE FROM %1 WHERE %2").arg(tabela, onde), params);
            exigeUma();
            ++gravadas;
        }
        for (const RegLinha& l : m_linhas) {
            if (l.situacao != Situacao::Modificada) continue;
            QStringList sets;
            QVariantList params;
            for (int c : gravaveis) {
                const QVariant b = l.valores.value(c);
                if (!difere(l.originais.value(c), b)) continue;
                sets << m_campos[c].nome + QStringLiteral(" = ?");
                params << b;
            }
            if (sets.isEmpty()) continue;
            QString onde = condicaoChave(l.originais, params);
            onde += condicaoOriginais(l, params);
            banco.executa(QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                              .arg(tabela, sets.join(QStringLiteral(", ")), onde),
                          params);
            exigeUma();
            ++gravadas;
        }
        QString insercao;  // the same statement for every inserted row
        for (const RegLinha& l : m_linhas) {
            if (l.situacao != Situacao::Inserida) continue;
            if (insercao.isEmpty()) {
                QStringList nomes, marcas;
                for (int c : gravaveis) {
                    nomes << m_campos[c].nome;
                    marcas << QStringLiteral("?");
                }
                insercao = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                               .arg(tabela, nomes.join(QStringLiteral(", ")),
                                    marcas.join(QStringLiteral(", ")));
            }
            QVariantList params;
            params.reserve(gravaveis.size());
            for (int c : gravaveis) params << l.valores.value(c);
            banco.executa(insercao, params);
            ++gravadas;
        }
    }
    // The log is merged now, so that a later ApplyUpdates in the same transaction
    // writes only what changed since; the log as it was is kept until the transaction
    // ends, and comes back if it is rolled back.
    if (m_logPendente) {
        // rows first written by this apply: their log as it is now
        for (int i = 0; i < m_linhas.size(); ++i) {
            const RegLinha& l = m_linhas[i];
            if (i >= m_logAntes.size())
                m_logAntes << Registro{l.originais, l.situacao};
            else if (m_logAntes[i].situacao == Situacao::Inalterada)
                m_logAntes[i] = Registro{l.originais, l.situacao};
        }
    } else {
        m_logPendente = true;
        m_logAntes.clear();
        for (const RegLinha& l : std::as_const(m_linhas)) m_logAntes << Registro{l.originais, l.situacao};
        QPointer<RowSet> eu(this);
        banco.aoTerminarTransacao([eu](bool confirmada) {
            if (eu) eu->terminaGravacao(confirmada);
        });
    }
    MergeChangeLog();
    transacao.confirma();
    return gravadas;
}

void RowSet::terminaGravacao(bool confirmada) {
    if (!m_logPendente) return;
    m_logPendente = false;
    const QVector<Registro> antes = std::exchange(m_logAntes, {});
    if (confirmada) return;
    // Nothing was stored: every row goes back to what the log said before the writes,
    // keeping what changed afterwards on top of it.
    const int linhaAtual = Linha();
    for (int i = 0; i < antes.size() && i < m_linhas.size(); ++i) {
        RegLinha& l = m_linhas[i];
        const Registro& a = antes[i];
        switch (a.situacao) {
            case Situacao::Modificada:
                l.originais = a.originais;
                if (l.situacao != Situacao::Excluida) l.situacao = Situacao::Modificada;
                break;
            case Situacao::Excluida:
                l.originais = a.originais;
                l.situacao = Situacao::Excluida;
                break;
            case Situacao::Inserida:
                l.originais.clear();
                l.situacao = l.situacao == Situacao::Excluida ? Situacao::Descartada
                                                                : Situacao::Inserida;
                break;
            default:
                break;
        }
    }
    if (Ativo() && !EmEdicao()) refazOrdem(linhaAtual);
}

void RowSet::MergeChangeLog() {
    for (RegLinha& l : m_linhas) {
        if (l.situacao == Situacao::Excluida) l.situacao = Situacao::Descartada;
        if (l.situacao == Situacao::Modificada || l.situacao == Situacao::Inserida)
            l.situacao = Situacao::Inalterada;
        l.originais.clear();
    }
}

void RowSet::CancelUpdates() {
    if (EmEdicao()) Cancel();
    const int linhaAtual = Linha();
    for (RegLinha& l : m_linhas) {
        switch (l.situacao) {
            case Situacao::Modificada:
            case Situacao::Excluida:
                if (!l.originais.isEmpty()) l.valores = l.originais;
                l.originais.clear();
                l.situacao = Situacao::Inalterada;
                break;
            case Situacao::Inserida:
                l.situacao = Situacao::Descartada;
                break;
            default:
                break;
        }
    }
    if (Ativo()) refazOrdem(linhaAtual);
}

// ---------------------------------------------------------------------------
// Master link
// ---------------------------------------------------------------------------

void RowSet::DefineMestre(RowSet* mestre, const QStringList& camposMestre,
                          const QStringList& camposDetalhe) {
    if (m_conexaoMestre) disconnect(m_conexaoMestre);
    m_mestre = mestre;
    m_camposMestre = camposMestre;
    m_camposDetalhe = camposDetalhe;
    if (m_mestre)
        m_conexaoMestre = connect(m_mestre, &RowSet::registroMudou, this, &RowSet::aoMudarMestre);
    aoMudarMestre();
}

void RowSet::aoMudarMestre() {
    m_valoresMestre.clear();
    if (m_mestre)
        for (const QString& c : m_camposMestre)
            m_valoresMestre << (m_mestre->Ativo() ? m_mestre->Valor(c) : QVariant());
    if (Ativo() && !EmEdicao()) {
        refazOrdem(-1);
        First();
    }
}
