#include "db/Banco.h"
#include "db/CifraBanco.h"
#include "db/ColacaoPtBr.h"

#include "db/Valores.h"

#include <QCollator>
#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QUrl>
#include <array>
#include <utility>
#include <vector>
#include <string>
#include <memory>
#include <cstring>

#include "sqlite3.h"

namespace {

// Unicode-aware UPPER/UCASE/LOWER: SQLite's own only folds ASCII.
void funcaoCaixa(sqlite3_context* ctx, int argc, sqlite3_value** argv, bool alta) {
    if (argc != 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto* txt = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const QString s = QString::fromUtf8(txt, sqlite3_value_bytes(argv[0]));
    const QByteArray r = (alta ? s.toUpper() : s.toLower()).toUtf8();
    sqlite3_result_text(ctx, r.constData(), r.size(), SQLITE_TRANSIENT);
}
void funcaoMaiusculas(sqlite3_context* c, int n, sqlite3_value** v) { funcaoCaixa(c, n, v, true); }
void funcaoMinusculas(sqlite3_context* c, int n, sqlite3_value** v) { funcaoCaixa(c, n, v, false); }

// Collation PTBR: how a Brazilian user expects names to sort (case- and accent-aware).
int colacaoPtBr(void* arg, int n1, const void* s1, int n2, const void* s2) {
    return ColacaoPtBr::ComparaUtf8(*static_cast<QCollator*>(arg), static_cast<const char*>(s1), n1,
                                    static_cast<const char*>(s2), n2);
}
void apagaColacao(void* arg) { delete static_cast<QCollator*>(arg); }

// The value of a one-character ASCII text, shared by every row that holds it.
const QVariant& umaLetra(char c) {
    static const auto tabela = [] {
        std::array<QVariant, 128> t;
        for (int i = 0; i < 128; ++i) t[i] = QVariant(QString(QChar(i)));
        return t;
    }();
    return tabela[static_cast<unsigned char>(c)];
}

// The texts a column repeats (codes, states, flags, the moment of links made together)
// share one string: a small table of the texts seen last, by their bytes. A column whose
// texts hardly ever repeat (names, identifiers) stops looking after its first rows.
class TextosRepetidos {
public:
    QVariant texto(const char* t, int n) {
        if (!m_ativo || n > kMaiorTexto) return QVariant(QString::fromUtf8(t, n));
        Entrada& e = m_tabela[espalha(t, n) & (kEntradas - 1)];
        ++m_procurados;
        if (e.usada && e.bytes.size() == size_t(n) && std::memcmp(e.bytes.data(), t, size_t(n)) == 0) {
            ++m_achados;
            return e.valor;
        }
        e.usada = true;
        e.bytes.assign(t, size_t(n));
        e.valor = QVariant(QString::fromUtf8(t, n));
        if (m_procurados == kAmostra && m_achados < kAmostra / 4) m_ativo = false;
        return e.valor;
    }

private:
    static constexpr int kEntradas = 64;
    static constexpr int kMaiorTexto = 48;
    static constexpr int kAmostra = 256;
    struct Entrada {
        bool usada = false;
        std::string bytes;
        QVariant valor;
    };
    static quint32 espalha(const char* t, int n) {
        quint32 h = 2166136261u;
        for (int i = 0; i < n; ++i) h = (h ^ static_cast<unsigned char>(t[i])) * 16777619u;
        return h ^ (h >> 15);
    }
    std::array<Entrada, kEntradas> m_tabela;
    int m_procurados = 0;
    int m_achados = 0;
    bool m_ativo = true;
};

// A column of the current row; with `repetidos`, the texts the column repeats are shared.
QVariant leColuna(sqlite3_stmt* st, int i, std::unique_ptr<TextosRepetidos>* repetidos = nullptr) {
    switch (sqlite3_column_type(st, i)) {
        case SQLITE_INTEGER:
            return QVariant(static_cast<qlonglong>(sqlite3_column_int64(st, i)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(st, i));
        case SQLITE_TEXT: {
            const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
            const int n = sqlite3_column_bytes(st, i);
            // flags and one-letter codes fill most columns: one shared text each
            if (n == 1 && static_cast<unsigned char>(t[0]) < 128) return umaLetra(t[0]);
            if (!repetidos) return QVariant(QString::fromUtf8(t, n));
            if (!*repetidos) *repetidos = std::make_unique<TextosRepetidos>();
            return (*repetidos)->texto(t, n);
        }
        case SQLITE_BLOB:
            return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(st, i)),
                                       sqlite3_column_bytes(st, i)));
        default:
            return QVariant();
    }
}

struct Finaliza {
    sqlite3_stmt* st;
    ~Finaliza() { sqlite3_finalize(st); }
};

}  // namespace

int Resultado::indice(const QString& coluna) const {
    for (int i = 0; i < colunas.size(); ++i)
        if (colunas[i].compare(coluna, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QVariant Resultado::valor(int linha, const QString& coluna) const {
    const int i = indice(coluna);
    if (i < 0) throw ErroQev(QStringLiteral("Campo '%1' não encontrado.").arg(coluna));
    return linhas.at(linha).at(i);
}

Banco::Banco() = default;
Banco::~Banco() { fecha(); }

// A connection belongs to the thread that opened it (nothing in the program shares one),
// so the engine's per-call mutex is left out.
void Banco::abre(const QString& caminho, const QByteArray& senha, bool cria) {
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (cria) flags |= SQLITE_OPEN_CREATE;
    abreCom(caminho.toUtf8(), flags, caminho, senha);
}

void Banco::abreSomenteLeitura(const QString& caminho, const QByteArray& senha) {
    const QByteArray uri = QByteArrayLiteral("file:") +
                           QUrl::toPercentEncoding(QFileInfo(caminho).absoluteFilePath(), "/") +
                           QByteArrayLiteral("?mode=ro");
    abreCom(uri, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, caminho, senha);
}

void Banco::abreCom(const QByteArray& nome, int flags, const QString& caminho,
                    const QByteArray& senha) {
    fecha();
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(nome.constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
        sqlite3_close_v2(db);
        throw ErroBanco(msg + QStringLiteral(" '") + caminho + QLatin1Char('\''), rc);
    }
    m_db = db;
    m_caminho = caminho;
    static qint64 aberturas = 0;
    m_abertura = ++aberturas;
    sqlite3_extended_result_codes(m_db, 1);
    rc = sqlite3_key_v2(m_db, "main", senha.constData(), senha.size());
    if (rc != SQLITE_OK) {
        const QString msg = QString::fromUtf8(sqlite3_errmsg(m_db));
        fecha();
        throw ErroBanco(msg, rc);
    }
    defineEsperaBloqueio(3000);
    // Reading the schema proves the key: a wrong password reads "file is not a database".
    try {
        valor(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    } catch (...) {
        fecha();
        throw;
    }
    registraFuncoes();
    // the deciphered pages of the whole file fit in the cache (see CifraBanco)
    const QByteArray cache =
        "PRAGMA cache_size = -" + QByteArray::number(CifraBanco::cachePaginasKiB(QFileInfo(caminho).size()));
    rc = sqlite3_exec(m_db, cache.constData(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = QString::fromUtf8(sqlite3_errmsg(m_db));
        fecha();
        throw ErroBanco(msg, rc);
    }
}

void Banco::fecha() {
    if (m_db) {
        terminaTransacao(false);  // closing rolls back what was not committed
        liberaGuardados();
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

void Banco::registraFuncoes() {
    const int f = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function_v2(m_db, "UPPER", 1, f, nullptr, funcaoMaiusculas, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(m_db, "UCASE", 1, f, nullptr, funcaoMaiusculas, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(m_db, "LOWER", 1, f, nullptr, funcaoMinusculas, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(m_db, "LCASE", 1, f, nullptr, funcaoMinusculas, nullptr, nullptr, nullptr);
    auto* col = new QCollator(QLocale(QLocale::Portuguese, QLocale::Brazil));
    col->setCaseSensitivity(Qt::CaseInsensitive);
    col->setNumericMode(false);
    sqlite3_create_collation_v2(m_db, "PTBR", SQLITE_UTF8, col, colacaoPtBr, apagaColacao);
}

void Banco::defineEsperaBloqueio(int ms) {
    if (m_db) sqlite3_busy_timeout(m_db, ms);
}

void Banco::falha(int rc, const QString& contexto) const {
    QString msg = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(rc));
    if (!contexto.isEmpty() && (rc & 0xff) == SQLITE_CANTOPEN) msg += QLatin1Char(' ') + contexto;
    throw ErroBanco(msg, rc);
}

sqlite3_stmt* Banco::prepara(const QString& sql) {
    if (!m_db) throw ErroBanco(QStringLiteral("O banco de dados não está aberto."), SQLITE_MISUSE);
    const QByteArray s = sql.toUtf8();
    sqlite3_stmt* st = nullptr;
    const int rc = sqlite3_prepare_v2(m_db, s.constData(), s.size(), &st, nullptr);
    if (rc != SQLITE_OK) falha(rc);
    if (!st) throw ErroBanco(QStringLiteral("Comando vazio."), SQLITE_MISUSE);
    return st;
}

static int vinculaValor(sqlite3_stmt* st, int pos, const QVariant& v) {
    if (!v.isValid() || v.isNull()) return sqlite3_bind_null(st, pos);
    switch (v.typeId()) {
        case QMetaType::Bool:
            return sqlite3_bind_int(st, pos, v.toBool() ? 1 : 0);
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Long:
        case QMetaType::Short:
        case QMetaType::UShort:
            return sqlite3_bind_int64(st, pos, v.toLongLong());
        case QMetaType::Double:
        case QMetaType::Float:
            return sqlite3_bind_double(st, pos, v.toDouble());
        case QMetaType::QDate: {
            const QByteArray t = Banco::textoData(v.toDate()).toUtf8();
            return sqlite3_bind_text(st, pos, t.constData(), t.size(), SQLITE_TRANSIENT);
        }
        case QMetaType::QDateTime: {
            const QByteArray t = Banco::textoDataHora(v.toDateTime()).toUtf8();
            return sqlite3_bind_text(st, pos, t.constData(), t.size(), SQLITE_TRANSIENT);
        }
        case QMetaType::QByteArray: {
            const QByteArray b = v.toByteArray();
            return sqlite3_bind_blob(st, pos, b.constData(), b.size(), SQLITE_TRANSIENT);
        }
        default: {
            const QByteArray t = v.toString().toUtf8();
            return sqlite3_bind_text(st, pos, t.constData(), t.size(), SQLITE_TRANSIENT);
        }
    }
}

void Banco::vincula(sqlite3_stmt* st, const ParamsPosicionais& params) {
    const int n = sqlite3_bind_parameter_count(st);
    if (params.size() != n) {
        sqlite3_finalize(st);
        throw ErroBanco(QStringLiteral("O comando espera %1 parâmetro(s) e recebeu %2.")
                            .arg(n)
                            .arg(params.size()),
                        SQLITE_RANGE);
    }
    for (int i = 0; i < n; ++i) {
        const int rc = vinculaValor(st, i + 1, params[i]);
        if (rc != SQLITE_OK) {
            sqlite3_finalize(st);
            falha(rc);
        }
    }
}

void Banco::vincula(sqlite3_stmt* st, const ParamsNomeados& params) {
    const int n = sqlite3_bind_parameter_count(st);
    for (int i = 1; i <= n; ++i) {
        const char* nome = sqlite3_bind_parameter_name(st, i);
        QString chave = nome ? QString::fromUtf8(nome + 1) : QString();
        auto it = params.constFind(chave);
        if (it == params.constEnd()) {
            // names are matched without regard to case
            for (auto j = params.constBegin(); j != params.constEnd(); ++j)
                if (j.key().compare(chave, Qt::CaseInsensitive) == 0) it = j;
        }
        if (it == params.constEnd()) {
            sqlite3_finalize(st);
            throw ErroBanco(QStringLiteral("Parâmetro '%1' sem valor.").arg(chave), SQLITE_RANGE);
        }
        const int rc = vinculaValor(st, i, it.value());
        if (rc != SQLITE_OK) {
            sqlite3_finalize(st);
            falha(rc);
        }
    }
}

void Banco::executaPreparado(sqlite3_stmt* st, const QString&) {
    Finaliza f{st};
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) falha(rc);
}

// Every row of a prepared statement (the statement is left for the caller to reset or finalize).
static Resultado leLinhas(sqlite3_stmt* st, int& rc) {
    Resultado r;
    const int n = sqlite3_column_count(st);
    r.colunas.reserve(n);
    r.info.reserve(n);
    const auto texto = [](const char* c) { return c ? QString::fromUtf8(c) : QString(); };
    for (int i = 0; i < n; ++i) {
        r.colunas << QString::fromUtf8(sqlite3_column_name(st, i));
        r.info.push_back({texto(sqlite3_column_decltype(st, i)), texto(sqlite3_column_table_name(st, i)),
                          texto(sqlite3_column_origin_name(st, i))});
    }
    std::vector<std::unique_ptr<TextosRepetidos>> repetidos(n);
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        QVariantList linha(n);
        QVariant* v = linha.data();
        // a statement of one row (most of them) looks for no repetition
        const bool varias = !r.linhas.isEmpty();
        for (int i = 0; i < n; ++i) v[i] = leColuna(st, i, varias ? &repetidos[i] : nullptr);
        r.linhas.push_back(std::move(linha));
    }
    return r;
}

Resultado Banco::lePreparado(sqlite3_stmt* st, const QString&) {
    Finaliza f{st};
    int rc;
    Resultado r = leLinhas(st, rc);
    if (rc != SQLITE_DONE) falha(rc);
    return r;
}

sqlite3_stmt* Banco::preparaGuardado(const QString& sql) {
    if (sqlite3_stmt* st = m_guardados.value(sql)) return st;
    sqlite3_stmt* st = prepara(sql);
    constexpr int kGuardados = 32;
    if (m_ordemGuardados.size() >= kGuardados) {
        sqlite3_finalize(m_guardados.take(m_ordemGuardados.takeFirst()));
    }
    m_guardados.insert(sql, st);
    m_ordemGuardados << sql;
    return st;
}

void Banco::liberaGuardados() {
    for (sqlite3_stmt* st : std::as_const(m_guardados)) sqlite3_finalize(st);
    m_guardados.clear();
    m_ordemGuardados.clear();
}

void Banco::executa(const QString& sql, const ParamsPosicionais& params) {
    sqlite3_stmt* st = preparaGuardado(sql);
    // the statement goes back to its kept state whatever happens
    const auto repoe = [st] {
        sqlite3_reset(st);
        sqlite3_clear_bindings(st);
    };
    const int n = sqlite3_bind_parameter_count(st);
    if (params.size() != n)
        throw ErroBanco(QStringLiteral("O comando espera %1 parâmetro(s) e recebeu %2.")
                            .arg(n)
                            .arg(params.size()),
                        SQLITE_RANGE);
    int rc = SQLITE_OK;
    for (int i = 0; i < n && rc == SQLITE_OK; ++i) rc = vinculaValor(st, i + 1, params[i]);
    if (rc == SQLITE_OK)
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        }
    if (rc != SQLITE_OK && rc != SQLITE_DONE) {
        try {
            falha(rc);  // the engine's text is taken before the reset
        } catch (...) {
            repoe();
            throw;
        }
    }
    repoe();
}

void Banco::executa(const QString& sql, const ParamsNomeados& params) {
    sqlite3_stmt* st = prepara(sql);
    vincula(st, params);
    executaPreparado(st, sql);
}

void Banco::executaScript(const QString& sql) {
    if (!m_db) throw ErroBanco(QStringLiteral("O banco de dados não está aberto."), SQLITE_MISUSE);
    char* erro = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &erro);
    if (rc != SQLITE_OK) {
        const QString msg = QString::fromUtf8(erro ? erro : sqlite3_errstr(rc));
        sqlite3_free(erro);
        throw ErroBanco(msg, rc);
    }
}

Resultado Banco::consulta(const QString& sql, const ParamsPosicionais& params) {
    sqlite3_stmt* st = prepara(sql);
    vincula(st, params);
    return lePreparado(st, sql);
}

Resultado Banco::consulta(const QString& sql, const ParamsNomeados& params) {
    sqlite3_stmt* st = prepara(sql);
    vincula(st, params);
    return lePreparado(st, sql);
}

QVariant Banco::valor(const QString& sql, const ParamsPosicionais& params) {
    const Resultado r = consulta(sql, params);
    if (r.vazio() || r.colunas.isEmpty()) return QVariant();
    return r.linhas.first().first();
}

int Banco::linhasAlteradas() const { return m_db ? sqlite3_changes(m_db) : 0; }
qlonglong Banco::ultimoRowId() const { return m_db ? sqlite3_last_insert_rowid(m_db) : 0; }

Banco::VersaoDados Banco::versaoDados() {
    if (!m_db) return {};
    // the pragma looks at the file (what another connection committed meanwhile)
    const qint64 outras = valor(QStringLiteral("PRAGMA data_version")).toLongLong();
    return {m_abertura, outras, qint64(sqlite3_total_changes64(m_db))};
}

bool Banco::emTransacao() const { return m_db && sqlite3_get_autocommit(m_db) == 0; }
void Banco::iniciaTransacao() {
    // Handlers left by a transaction the engine ended on its own (a failed write
    // rolls back by itself) belong to a transaction that did not commit.
    if (!emTransacao()) terminaTransacao(false);
    executa(QStringLiteral("BEGIN IMMEDIATE"));
}

void Banco::confirmaTransacao() {
    executa(QStringLiteral("COMMIT"));
    terminaTransacao(true);
}

void Banco::desfazTransacao() {
    try {
        if (emTransacao()) executa(QStringLiteral("ROLLBACK"));
    } catch (...) {
        terminaTransacao(false);
        throw;
    }
    terminaTransacao(false);
}

void Banco::aoTerminarTransacao(std::function<void(bool)> fim) {
    if (!emTransacao()) {
        fim(true);
        return;
    }
    m_aoTerminar << std::move(fim);
}

void Banco::terminaTransacao(bool confirmada) {
    const auto pendentes = std::exchange(m_aoTerminar, {});
    for (const auto& fim : pendentes) fim(confirmada);
}

QStringList Banco::colunasDaTabela(const QString& tabela) {
    QStringList nomes;
    const Resultado r =
        consulta(QStringLiteral("SELECT name FROM pragma_table_info(?)"), {tabela});
    for (const auto& l : r.linhas) nomes << l.first().toString();
    return nomes;
}

QString Banco::textoData(const QDate& d) { return d.toString(QStringLiteral("yyyy-MM-dd")); }
QString Banco::textoDataHora(const QDateTime& dt) {
    return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}
QDateTime Banco::lerDataHora(const QVariant& v) {
    if (!v.isValid() || v.isNull()) return QDateTime();
    if (v.typeId() == QMetaType::QDateTime) return v.toDateTime();
    if (v.typeId() == QMetaType::QDate) return QDateTime(v.toDate(), QTime(0, 0));
    const QString t = v.toString().trimmed();
    // the stored forms, read by hand (the general parser is a hundred times slower)
    QDate data;
    QTime hora;
    if (LeDataHoraIso(t, &data, &hora) && data.isValid())
        return QDateTime(data, hora.isValid() ? hora : QTime(0, 0));
    QDateTime dt = QDateTime::fromString(t, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!dt.isValid()) dt = QDateTime::fromString(t, QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    if (!dt.isValid()) {
        const QDate d = QDate::fromString(t.left(10), QStringLiteral("yyyy-MM-dd"));
        if (d.isValid()) dt = QDateTime(d, QTime(0, 0));
    }
    return dt;
}

// ---------------------------------------------------------------------------
// Prepared statement run many times
// ---------------------------------------------------------------------------

ComandoPreparado::ComandoPreparado(Banco& banco, const QString& sql)
    : m_banco(banco), m_st(banco.prepara(sql)) {}

ComandoPreparado::~ComandoPreparado() { sqlite3_finalize(m_st); }

void ComandoPreparado::vincula(const ParamsPosicionais& params) {
    sqlite3_reset(m_st);
    sqlite3_clear_bindings(m_st);
    const int n = sqlite3_bind_parameter_count(m_st);
    if (params.size() != n)
        throw ErroBanco(QStringLiteral("O comando espera %1 parâmetro(s) e recebeu %2.")
                            .arg(n)
                            .arg(params.size()),
                        SQLITE_RANGE);
    for (int i = 0; i < n; ++i) {
        const int rc = vinculaValor(m_st, i + 1, params[i]);
        if (rc != SQLITE_OK) falha(rc);
    }
}

void ComandoPreparado::falha(int rc) {
    // the engine's text is taken first; the reset leaves the statement ready for the next run
    try {
        m_banco.falha(rc);
    } catch (...) {
        sqlite3_reset(m_st);
        throw;
    }
}

void ComandoPreparado::executa(const ParamsPosicionais& params) {
    vincula(params);
    int rc;
    while ((rc = sqlite3_step(m_st)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) falha(rc);
    sqlite3_reset(m_st);
}

Resultado ComandoPreparado::consulta(const ParamsPosicionais& params) {
    vincula(params);
    int rc;
    Resultado r = leLinhas(m_st, rc);
    if (rc != SQLITE_DONE) falha(rc);
    sqlite3_reset(m_st);
    return r;
}

QVariant ComandoPreparado::valor(const ParamsPosicionais& params) {
    vincula(params);
    const int rc = sqlite3_step(m_st);
    QVariant v;
    if (rc == SQLITE_ROW) {
        if (sqlite3_column_count(m_st) > 0) v = leColuna(m_st, 0);
    } else if (rc != SQLITE_DONE) {
        falha(rc);
    }
    sqlite3_reset(m_st);
    return v;
}

// ---------------------------------------------------------------------------
// Cursor over a query
// ---------------------------------------------------------------------------

CursorConsulta::CursorConsulta(Banco& banco, const QString& sql, const ParamsPosicionais& params)
    : m_banco(banco) {
    m_st = banco.prepara(sql);
    banco.vincula(m_st, params);  // finalizes the statement itself when it throws
    inicia();
}

CursorConsulta::CursorConsulta(Banco& banco, const QString& sql, const ParamsNomeados& params)
    : m_banco(banco) {
    m_st = banco.prepara(sql);
    banco.vincula(m_st, params);
    inicia();
}

CursorConsulta::~CursorConsulta() {
    if (m_st) sqlite3_finalize(m_st);
}

void CursorConsulta::inicia() {
    const int n = sqlite3_column_count(m_st);
    for (int i = 0; i < n; ++i) m_colunas << QString::fromUtf8(sqlite3_column_name(m_st, i));
}

bool CursorConsulta::proxima(QVariantList& linha) {
    if (m_fim) return false;
    const int rc = sqlite3_step(m_st);
    if (rc == SQLITE_DONE) {
        m_fim = true;
        sqlite3_reset(m_st);
        return false;
    }
    if (rc != SQLITE_ROW) {
        m_fim = true;
        m_banco.falha(rc);
    }
    const int n = m_colunas.size();
    linha.resize(n);
    for (int i = 0; i < n; ++i) linha[i] = leColuna(m_st, i);
    return true;
}
