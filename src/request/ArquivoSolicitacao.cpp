#include "request/ArquivoSolicitacao.h"

#include <sqlite3.h>

#include <QDate>
#include <QFile>
#include <QStringList>
#include <array>
#include <charconv>
#include <cmath>
#include <vector>

#include "db/Erro.h"
#include "common/Versao.h"
#include "db/DmConexao.h"
#include "common/Win1252.h"

using namespace LeiauteSolicitacao;

QString NomeArquivoSolicitacao(const QString& cdOper, int seqPlano, const QDateTime& quando) {
    return cdOper + quando.toString(QStringLiteral("ddMMyyyy")) +
           quando.toString(QStringLiteral("HHmmss")) +
           QStringLiteral("%1").arg(seqPlano, 4, 10, QLatin1Char('0')) + QStringLiteral(".QEV");
}

QString IdentificadorSolicitacao(const QString& cdOper, const QDateTime& quando) {
    return cdOper + quando.toString(QStringLiteral("yyyyMMddHHmmss"));
}

namespace {

// A value as the engine holds it (SQLITE_NULL, SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT);
// texts are UTF-8.
struct Valor {
    int tipo = SQLITE_NULL;
    qint64 inteiro = 0;
    double real = 0;
    const char* texto = nullptr;
    qsizetype tamanho = 0;
};

bool emBranco(const char* p, qsizetype n) {
    for (qsizetype i = 0; i < n; ++i)
        if (p[i] != ' ') return false;
    return true;
}

QString textoDe(const Valor& v) {
    if (v.tipo == SQLITE_INTEGER) return QString::number(v.inteiro);
    if (v.tipo == SQLITE_FLOAT) return QString::number(v.real);
    return QString::fromUtf8(v.texto, v.tamanho);
}

void acrescentaNumero(QByteArray& b, qint64 n) {
    char d[24];
    const auto r = std::to_chars(d, d + sizeof d, n);
    b.append(d, r.ptr - d);
}

// Turns values into the bytes of the file's fields.
class Formatador {
public:
    // Appends the field; throws ErroQev with the reason when the value cannot be written.
    void acrescenta(QByteArray& destino, const Valor& v, Tipo tipo, Regra regra, int largura) {
        m_texto.truncate(0);  // keeps the buffer
        texto(v, tipo);
        const bool branco = emBranco(m_texto.constData(), m_texto.size());
        switch (regra) {
            case Regra::Z:
                if (branco) {
                    destino.append(largura, ' ');
                    return;
                }
                if (m_texto.size() < largura) destino.append(largura - m_texto.size(), '0');
                destino += m_texto;
                return;
            case Regra::A:
                destino += m_texto;
                if (m_texto.size() < largura) destino.append(largura - m_texto.size(), ' ');
                return;
            case Regra::C:
                if (branco)
                    destino += ' ';
                else
                    destino += m_texto;
                return;
            case Regra::V:
            case Regra::D:
                destino += m_texto;
                return;
        }
    }

private:
    // The text of the value by its column type, into m_texto.
    void texto(const Valor& v, Tipo tipo) {
        switch (tipo) {
            case Tipo::Inteiro:
                acrescentaNumero(m_texto, inteiro(v));
                return;
            case Tipo::Texto:
                if (v.tipo != SQLITE_NULL) {
                    const QByteArray utf8 =
                        v.tipo == SQLITE_TEXT ? QByteArray() : textoDe(v).toUtf8();
                    const char* p = v.tipo == SQLITE_TEXT ? v.texto : utf8.constData();
                    const qsizetype n = v.tipo == SQLITE_TEXT ? v.tamanho : utf8.size();
                    if (!m_conversor.acrescentaUtf8(p, n, m_texto))
                        throw ErroQev(QStringLiteral("\"%1\" contém um caractere que não existe no "
                                                     "padrão Windows-1252.")
                                          .arg(textoDe(v)));
                }
                if (emBranco(m_texto.constData(), m_texto.size())) {
                    m_texto.truncate(0);
                    m_texto += ' ';
                }
                return;
            case Tipo::Data:
                data(v);
                return;
        }
    }

    static qint64 inteiro(const Valor& v) {
        switch (v.tipo) {
            case SQLITE_NULL:
                return 0;
            case SQLITE_INTEGER:
                return v.inteiro;
            case SQLITE_FLOAT:
                if (std::trunc(v.real) == v.real && std::fabs(v.real) < 9.0e18)
                    return static_cast<qint64>(v.real);
                break;
            default: {
                qint64 n = 0;
                const auto r = std::from_chars(v.texto, v.texto + v.tamanho, n);
                if (r.ec == std::errc() && r.ptr == v.texto + v.tamanho && v.tamanho > 0) return n;
            }
        }
        throw ErroQev(QStringLiteral("\"%1\" não é um número inteiro.").arg(textoDe(v)));
    }

    void data(const Valor& v) {
        if (v.tipo == SQLITE_NULL) {
            m_texto.append(8, ' ');
            return;
        }
        const char* t = v.texto;
        const qsizetype n = v.tamanho;
        if (v.tipo == SQLITE_TEXT) {
            if (emBranco(t, n) || QByteArray::fromRawData(t, n) == "/  /" ||
                QByteArray::fromRawData(t, n) == "  /  /    ") {
                m_texto.append(8, ' ');
                return;
            }
            // "yyyy-MM-dd", optionally followed by the time of day
            int y = 0, m = 0, d = 0;
            const bool forma = n >= 10 && t[4] == '-' && t[7] == '-' &&
                               std::from_chars(t, t + 4, y).ptr == t + 4 &&
                               std::from_chars(t + 5, t + 7, m).ptr == t + 7 &&
                               std::from_chars(t + 8, t + 10, d).ptr == t + 10 &&
                               (n == 10 || t[10] == ' ' || t[10] == 'T');
            if (forma && QDate(y, m, d).isValid()) {
                if (y == 1899 && m == 12 && d == 30) {  // the zero date
                    m_texto.append(8, ' ');
                    return;
                }
                m_texto.append(t + 8, 2).append(t + 5, 2).append(t, 4);
                return;
            }
        }
        throw ErroQev(QStringLiteral("\"%1\" não é uma data.").arg(textoDe(v)));
    }

    ConversorWin1252 m_conversor;
    QByteArray m_texto;
};

}  // namespace

namespace LeiauteSolicitacao {

QByteArray Campo(const QVariant& valor, Tipo tipo, Regra regra, int largura) {
    Valor v;
    QByteArray utf8;
    if (valor.isValid() && !valor.isNull()) {
        switch (valor.typeId()) {
            case QMetaType::Int:
            case QMetaType::LongLong:
            case QMetaType::UInt:
                v.tipo = SQLITE_INTEGER;
                v.inteiro = valor.toLongLong();
                break;
            case QMetaType::Double:
                v.tipo = SQLITE_FLOAT;
                v.real = valor.toDouble();
                break;
            case QMetaType::QDate:
                utf8 = valor.toDate().toString(Qt::ISODate).toUtf8();
                break;
            case QMetaType::QDateTime:
                utf8 = valor.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8();
                break;
            default:
                utf8 = valor.toString().toUtf8();
        }
        if (v.tipo == SQLITE_NULL) {
            v.tipo = SQLITE_TEXT;
            v.texto = utf8.constData();
            v.tamanho = utf8.size();
        }
    }
    Formatador f;
    QByteArray b;
    f.acrescenta(b, v, tipo, regra, largura);
    return b;
}

}  // namespace LeiauteSolicitacao

namespace {

// One field of a record: a column of the row read, or a value the writer gives.
struct CampoRegistro {
    QByteArray coluna;  // empty: `valor` is written instead
    Tipo tipo;
    Regra regra;
    int largura = 0;
    QByteArray valor;  // UTF-8
    QString rotulo;    // what messages call the field
};

CampoRegistro col(const char* coluna, Tipo tipo, Regra regra, int largura = 0) {
    return {coluna, tipo, regra, largura, {}, QString::fromLatin1(coluna)};
}
CampoRegistro fixo(const char* rotulo, const QString& valor, Regra regra, int largura = 0) {
    return {{}, Tipo::Texto, regra, largura, valor.toUtf8(), QString::fromUtf8(rotulo)};
}

struct Registro {
    int tipo;  // 0 = "00", 1 = "01", ...
    const char* tabela;
    bool doPlano;  // rows of the plan only (SEQ_PLANO = plan number)
    std::vector<CampoRegistro> campos;
};

constexpr auto I = Tipo::Inteiro;
constexpr auto T = Tipo::Texto;
constexpr auto Dt = Tipo::Data;

std::vector<Registro> registros(const QString& idSolicitacao) {
    using enum Regra;
    return {
        {0,
         "OPERADORAS",
         false,
         {col("CD_OPER", T, Z, 6), col("CD_CNPJ", T, Z, 14), col("CD_GRUPO_CLASSIFICACAO", I, Z, 2),
          col("CD_REGIAO_ATUACAO", I, V), fixo("versão do sistema", VersaoSistema(false), V),
          fixo("tipo de solicitação", QStringLiteral("1"), V)}},
        {1,
         "TB_PLANOS",
         true,
         {col("SEQ_PLANO", I, Z, 10),
          col("NM_PLANO", T, A, 60),
          col("CD_ABRANGENCIA", I, Z, 10),
          col("CD_SEGMENTACAO", I, Z, 10),
          col("CD_TIPO_CONTRATO", I, Z, 10),
          col("CD_TIPO_FINANC", I, Z, 10),
          col("CD_PADRAO_ACOMODACAO", T, C),
          col("CD_OPCAO_POS_ESTABELECIDO", T, C),
          fixo("participação financeira", QStringLiteral(" "), C),  // always a space
          col("LG_FM_COPARTICIPACAO", T, C),
          col("LG_FM_FRANQUIA", T, C),
          col("NR_PROTOCOLO_REGISTRO", T, A, 30),
          col("DT_PROTOCOLO_REGISTRO", Dt, Regra::D),
          fixo("identificador da solicitação", idSolicitacao, A, 20),
          col("LG_VB_VINCULO_ATIVO", T, C),
          col("LG_VB_VINCULO_INATIVO", T, C),
          col("LG_VB_SEM_VINCULO", T, C),
          col("CD_REGIAO_COBERTURA", I, V),
          col("LG_TOTAL_LIVRE_ESCOLHA", T, C),
          fixo("termo de assunção", QStringLiteral("0"), V)}},  // always "0"
        {2,
         "TB_ESTAB_SAUDE",
         false,
         {col("ID_ESTB_SAUD", I, Z, 10), col("CD_CNES", T, Z, 7),
          col("CD_CNPJ_ESTB_SAUD", T, Z, 14), col("RAZAO_SOCIAL_ESTB_SAUD", T, A, 60),
          col("CD_TIPO_ESTB_SAUD", I, Z, 10), col("ID_MUNC", I, Z, 10),
          col("CD_TIPO_CONTRATO_ESTB_SAUDE", T, C), col("LG_HOSPITAL_INCLUIDO", T, C),
          col("DT_VINCULO_OPER", Dt, Regra::D), col("DT_CONTRATO_OPER", Dt, Regra::D),
          col("LG_CLASSIFICADO_ZUB", T, C), col("CD_OPER_INTERMEDIADORA", T, Z, 6),
          col("CD_DISP_SERVICO", T, V), col("CD_CLASSIF_ESTAB_SAUDE", I, Z, 10),
          col("LG_URGENCIA_EMERGENCIA", T, C)}},
        {4,
         "RL_PLANO_NOTA_TECNICA",
         true,
         {col("SEQ_PLANO", I, Z, 10), col("ID_PLANO_NOTA_TECNICA", I, Z, 10),
          col("NR_PROTOCOLO_NOTA_TECNICA", T, A, 30), col("NM_ARQUIVO_NOTA_TECNICA", T, A, 150),
          col("DT_PROTOCOLO", Dt, Regra::D)}},
        {5,
         "RL_PLANOS_ESTAB_SAUDE",
         true,
         {col("SEQ_PLANO", I, Z, 10), col("ID_ESTB_SAUD", I, Z, 10),
          col("DT_VINCULO", Dt, Regra::D)}},
        {7,
         "RL_PLANOS_SERV_OPC",
         true,
         {col("SEQ_PLANO", I, Z, 10), col("CD_SERV_OPCIONAL", I, Z, 10),
          col("DE_SERV_OPCIONAL", T, A, 110)}},
        {8,
         "RL_PLANOS_TIPO_COBERTURA",
         true,
         {col("SEQ_PLANO", I, Z, 10), col("CD_TIPO_COBERTURA", I, Z, 10)}},
        {9, "RL_PLANOS_MUNICIPIO", true, {col("SEQ_PLANO", I, Z, 10), col("ID_MUNC", I, Z, 10)}},
        {10, "RL_PLANOS_UF", true, {col("SEQ_PLANO", I, Z, 10), col("CD_UF", T, V)}},
        {11,
         "RL_PLANO_TAXA_REGISTRO",
         true,
         {col("SEQ_PLANO", I, Z, 10), col("ID_PLANO_TAXA_REGISTRO", I, Z, 10),
          col("NR_DOCUMENTO_TAXA", T, A, 30)}},
    };
}

// A prepared statement stepped row by row, finalized when it goes out of scope.
class Comando {
public:
    Comando(sqlite3* db, const QByteArray& sql) : m_db(db) {
        if (!db)
            throw ErroBanco(QStringLiteral("O banco de dados não está aberto."), SQLITE_MISUSE);
        const int rc = sqlite3_prepare_v2(db, sql.constData(), sql.size(), &m_st, nullptr);
        if (rc != SQLITE_OK) falha(rc);
    }
    ~Comando() { sqlite3_finalize(m_st); }
    Comando(const Comando&) = delete;
    Comando& operator=(const Comando&) = delete;

    void vincula(int seqPlano) {
        const int rc = sqlite3_bind_int64(m_st, 1, seqPlano);
        if (rc != SQLITE_OK) falha(rc);
    }
    bool proxima() {
        const int rc = sqlite3_step(m_st);
        if (rc == SQLITE_ROW) return true;
        if (rc != SQLITE_DONE) falha(rc);
        return false;
    }
    Valor valor(int coluna) const {
        Valor v;
        v.tipo = sqlite3_column_type(m_st, coluna);
        if (v.tipo == SQLITE_INTEGER) {
            v.inteiro = sqlite3_column_int64(m_st, coluna);
        } else if (v.tipo == SQLITE_FLOAT) {
            v.real = sqlite3_column_double(m_st, coluna);
        } else if (v.tipo != SQLITE_NULL) {
            v.tipo = SQLITE_TEXT;
            v.texto = reinterpret_cast<const char*>(sqlite3_column_text(m_st, coluna));
            v.tamanho = sqlite3_column_bytes(m_st, coluna);
        }
        return v;
    }

private:
    [[noreturn]] void falha(int rc) const {
        throw ErroBanco(QString::fromUtf8(sqlite3_errmsg(m_db)), rc);
    }
    sqlite3* m_db;
    sqlite3_stmt* m_st = nullptr;
};

// Buffered output to the request file. Closed when it goes out of scope; the lines
// completed before a failure still reach the file.
class Saida {
public:
    explicit Saida(const QString& caminho) : m_arquivo(caminho) {
        if (!m_arquivo.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw ErroQev(
                QStringLiteral("Não foi possível criar o arquivo de solicitação \"%1\": %2")
                    .arg(caminho, m_arquivo.errorString()));
        m_buffer.reserve(kLimite + 4096);
    }
    ~Saida() {
        if (m_arquivo.isOpen()) m_arquivo.write(m_buffer.constData(), m_completo);
    }
    // The line being built goes here.
    QByteArray& buffer() { return m_buffer; }
    void fimDeLinha() {
        m_buffer += "\r\n";
        m_completo = m_buffer.size();
        if (m_completo >= kLimite) descarrega();
    }
    void fecha() {
        descarrega();
        if (!m_arquivo.flush()) falha();
        m_arquivo.close();
    }

private:
    static constexpr qsizetype kLimite = 256 * 1024;
    void descarrega() {
        if (m_completo > 0 && m_arquivo.write(m_buffer.constData(), m_completo) != m_completo)
            falha();
        m_buffer.remove(0, m_completo);
        m_completo = 0;
    }
    [[noreturn]] void falha() {
        m_completo = 0;
        throw ErroQev(QStringLiteral("Erro ao gravar o arquivo de solicitação \"%1\": %2")
                          .arg(m_arquivo.fileName(), m_arquivo.errorString()));
    }
    QFile m_arquivo;
    QByteArray m_buffer;
    qsizetype m_completo = 0;  // bytes of whole lines at the start of the buffer
};

}  // namespace

bool GeraArquivoSolicitacao(int seqPlano, const QString& nomeArquivo,
                            const QString& idSolicitacao) {
    TDmConexao* conexao = DmConexao();
    sqlite3* db = conexao->banco().handle();
    Formatador formatador;
    Saida saida(conexao->PastaSistema() + nomeArquivo);
    std::array<int, 12> contagem{};

    for (const Registro& r : registros(idSolicitacao)) {
        QByteArrayList colunas;
        for (const CampoRegistro& c : r.campos)
            if (!c.coluna.isEmpty()) colunas << c.coluna;
        QByteArray sql = "SELECT " + colunas.join(", ") + " FROM " + r.tabela;
        if (r.doPlano) sql += " WHERE SEQ_PLANO = ?";
        Comando comando(db, sql);
        if (r.doPlano) comando.vincula(seqPlano);

        const QByteArray tipo = QByteArray::number(r.tipo).rightJustified(2, '0');
        int linhas = 0;
        while (comando.proxima()) {
            QByteArray& b = saida.buffer();
            b += tipo;
            int indice = 0;
            for (const CampoRegistro& c : r.campos) {
                Valor v;
                if (c.coluna.isEmpty()) {
                    v.tipo = SQLITE_TEXT;
                    v.texto = c.valor.constData();
                    v.tamanho = c.valor.size();
                } else {
                    v = comando.valor(indice++);
                }
                try {
                    formatador.acrescenta(b, v, c.tipo, c.regra, c.largura);
                } catch (const ErroQev& e) {
                    // Whose field it is: the user must find the record to mend it.
                    QString dono;
                    if (r.tipo == 0)
                        dono = QStringLiteral("operadora ") + textoDe(comando.valor(0));
                    else if (r.tipo == 2)
                        dono = QStringLiteral("estabelecimento %1 - %2")
                                   .arg(textoDe(comando.valor(0)), textoDe(comando.valor(3)));
                    else
                        dono = QStringLiteral("plano ") + QString::number(seqPlano);
                    throw ErroQev(
                        QStringLiteral("Não foi possível gravar o campo %1 do registro %2 (%3) "
                                       "do arquivo de solicitação: %4")
                            .arg(c.rotulo, QString::fromLatin1(tipo), dono, e.mensagem()));
                }
            }
            saida.fimDeLinha();
            ++linhas;
        }
        if (r.tipo == 1 && linhas == 0)
            throw ErroQev(QStringLiteral("O plano %1 não foi encontrado.").arg(seqPlano));
        if (r.tipo > 0) contagem[r.tipo] = linhas;
    }

    QByteArray& b = saida.buffer();
    b += "99";
    for (int tipo = 1; tipo <= 11; ++tipo)
        b += QByteArray::number(contagem[tipo]).rightJustified(7, '0');
    saida.fimDeLinha();
    saida.fecha();
    return true;
}
