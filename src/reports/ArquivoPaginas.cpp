#include "reports/ArquivoPaginas.h"

#include <signal.h>
#include <unistd.h>
#include <zlib.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cerrno>
#include <climits>
#include <cstring>

#include "db/Erro.h"
#include "reports/DocumentoRelatorio.h"

namespace {

QString& pastaBase() {
    static QString pasta;
    return pasta;
}

const QString kPrefixo = QStringLiteral("qev-paginas-");

// Folders of page files that a copy of the program left behind when it ended without
// removing them (killed, crashed): this user's, named after a process that is gone.
// Looked for once per temporary folder and run.
void removeAbandonadas(const QString& base) {
    static QSet<QString> vistas;
    if (vistas.contains(base)) return;
    vistas.insert(base);
    const QDir dir(base);
    for (const QFileInfo& f : dir.entryInfoList({kPrefixo + QStringLiteral("*")},
                                                QDir::Dirs | QDir::NoSymLinks | QDir::Hidden)) {
        bool numero = false;
        const qint64 pid = f.fileName().mid(kPrefixo.size()).section(QLatin1Char('-'), 0, 0).toLongLong(&numero);
        if (!numero || pid <= 0 || pid > INT_MAX || pid == QCoreApplication::applicationPid() ||
            f.ownerId() != uint(getuid()))
            continue;
        if (::kill(pid_t(pid), 0) == -1 && errno == ESRCH) QDir(f.absoluteFilePath()).removeRecursively();
    }
}

// A page record: the drawing's bytes, then the texts. Numbers are variable-length
// (seven bits a byte); a box whose four sides are multiples of 1/8 unit (every box the
// engine makes) is written as four such numbers, any other as four doubles.
class Escrita {
public:
    explicit Escrita(QByteArray& b) : m_b(b) {}
    void numero(quint64 v) {
        while (v >= 0x80) {
            m_b.append(char(v | 0x80));
            v >>= 7;
        }
        m_b.append(char(v));
    }
    void comSinal(qint64 v) { numero((quint64(v) << 1) ^ quint64(v >> 63)); }
    void byte(quint8 v) { m_b.append(char(v)); }
    void bytes(const char* d, qsizetype n) {
        numero(quint64(n));
        m_b.append(d, n);
    }
    void real(double v) {
        char d[sizeof v];
        std::memcpy(d, &v, sizeof v);
        m_b.append(d, sizeof v);
    }

private:
    QByteArray& m_b;
};

class Leitura {
public:
    explicit Leitura(const QByteArray& b) : m_p(b.constData()), m_fim(b.constData() + b.size()) {}
    bool ok() const { return m_ok; }
    bool noFim() const { return m_p == m_fim; }
    quint64 numero() {
        quint64 v = 0;
        for (int desloca = 0; desloca < 64; desloca += 7) {
            if (m_p == m_fim) return falha();
            const auto c = quint8(*m_p++);
            v |= quint64(c & 0x7F) << desloca;
            if (!(c & 0x80)) return v;
        }
        return falha();
    }
    qint64 comSinal() {
        const quint64 v = numero();
        return qint64(v >> 1) ^ -qint64(v & 1);
    }
    quint8 byte() {
        if (m_p == m_fim) return quint8(falha());
        return quint8(*m_p++);
    }
    // The bytes of a length-prefixed piece (nullptr when it overruns the record).
    const char* bytes(qsizetype& n) {
        const quint64 v = numero();
        if (!m_ok || v > quint64(m_fim - m_p)) return falhaPtr();
        n = qsizetype(v);
        const char* d = m_p;
        m_p += n;
        return d;
    }
    double real() {
        double v = 0;
        if (m_fim - m_p < qsizetype(sizeof v)) return double(falha());
        std::memcpy(&v, m_p, sizeof v);
        m_p += sizeof v;
        return v;
    }

private:
    quint64 falha() {
        m_ok = false;
        m_p = m_fim;
        return 0;
    }
    const char* falhaPtr() {
        falha();
        return nullptr;
    }
    const char* m_p;
    const char* m_fim;
    bool m_ok = true;
};

constexpr double kOitavos = 8;

bool emOitavos(double v) {
    const double o = v * kOitavos;
    return std::isfinite(o) && std::floor(o) == o && std::fabs(o) < 9.0e15;
}

}  // namespace

ArquivoPaginas::ArquivoPaginas(int paginasEmMemoria) : m_paginasEmMemoria(qMax(1, paginasEmMemoria)) {}

ArquivoPaginas::~ArquivoPaginas() {
    m_memoria.clear();
    m_arquivo.reset();  // closed before its folder goes
    m_pasta.reset();
}

QString ArquivoPaginas::DefinePastaBase(const QString& pasta) {
    QString anterior = pastaBase();
    pastaBase() = pasta;
    return anterior;
}

QString ArquivoPaginas::Caminho() const { return m_arquivo ? m_arquivo->fileName() : QString(); }

void ArquivoPaginas::abreArquivo() {
    const QString base = pastaBase().isEmpty() ? QDir::tempPath() : pastaBase();
    removeAbandonadas(base);
    // mkdtemp: a new folder only this user may enter, named after this process.
    auto pasta = std::make_unique<QTemporaryDir>(QDir(base).filePath(
        kPrefixo + QString::number(QCoreApplication::applicationPid()) + QStringLiteral("-XXXXXX")));
    if (!pasta->isValid())
        throw ErroQev(QStringLiteral("Não foi possível criar a pasta temporária das páginas do relatório em "
                                     "%1: %2")
                          .arg(QDir::toNativeSeparators(base), pasta->errorString()));
    auto arquivo = std::make_unique<QFile>(pasta->filePath(QStringLiteral("paginas")));
    // Unbuffered: each page is one write, and a failing write is known at once.
    if (!arquivo->open(QIODevice::ReadWrite | QIODevice::NewOnly | QIODevice::Unbuffered,
                       QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        throw ErroQev(QStringLiteral("Não foi possível criar o arquivo temporário das páginas do relatório "
                                     "%1: %2")
                          .arg(QDir::toNativeSeparators(arquivo->fileName()), arquivo->errorString()));
    m_pasta = std::move(pasta);
    m_arquivo = std::move(arquivo);
}

void ArquivoPaginas::Adiciona(PaginaRelatorio pagina) {
    if (!m_arquivo) abreArquivo();
    const QByteArray aberto = Codifica(pagina);
    uLongf tamanho = compressBound(uLong(aberto.size()));
    QByteArray registro(qsizetype(tamanho), Qt::Uninitialized);
    if (compress2(reinterpret_cast<Bytef*>(registro.data()), &tamanho,
                  reinterpret_cast<const Bytef*>(aberto.constData()), uLong(aberto.size()),
                  Z_BEST_SPEED) != Z_OK)
        throw ErroQev(QStringLiteral("Não foi possível compactar a página %1 do relatório.").arg(Quantas() + 1));
    registro.truncate(qsizetype(tamanho));
    if (!grava(registro)) {
        const QString motivo = m_arquivo->errorString();
        m_arquivo->resize(m_fim);  // what was written of it is given back
        throw ErroQev(QStringLiteral("Não foi possível gravar a página %1 do relatório no arquivo temporário "
                                     "%2: %3. Verifique se há espaço livre no disco.")
                          .arg(Quantas() + 1)
                          .arg(QDir::toNativeSeparators(Caminho()), motivo));
    }
    m_indice.push_back({m_fim, quint32(registro.size()), quint32(aberto.size())});
    m_fim += registro.size();
    guardaNaMemoria(Quantas() - 1, std::make_shared<const PaginaRelatorio>(std::move(pagina)));
}

bool ArquivoPaginas::grava(const QByteArray& registro) {
    m_arquivo->unsetError();
    if (!m_arquivo->seek(m_fim)) return false;
    // A write cut short (the disk filled up in the middle) is tried again for the rest,
    // which then fails with the system's reason.
    for (qsizetype feitos = 0; feitos < registro.size();) {
        const qint64 n = m_arquivo->write(registro.constData() + feitos, registro.size() - feitos);
        if (n <= 0) return false;
        feitos += qsizetype(n);
    }
    return true;
}

std::shared_ptr<const PaginaRelatorio> ArquivoPaginas::Pagina(int indice) const {
    for (auto it = m_memoria.begin(); it != m_memoria.end(); ++it)
        if (it->first == indice) {
            auto pagina = it->second;
            if (it + 1 != m_memoria.end()) {
                m_memoria.erase(it);
                m_memoria.emplace_back(indice, pagina);
            }
            return pagina;
        }
    const Registro& r = m_indice.at(size_t(indice));
    const auto falha = [&](const QString& motivo) {
        return ErroQev(QStringLiteral("Não foi possível ler a página %1 do relatório no arquivo temporário "
                                      "%2: %3.")
                           .arg(indice + 1)
                           .arg(QDir::toNativeSeparators(Caminho()), motivo));
    };
    QByteArray registro(qsizetype(r.bytes), Qt::Uninitialized);
    m_arquivo->unsetError();
    if (!m_arquivo->seek(r.posicao) || m_arquivo->read(registro.data(), registro.size()) != registro.size())
        throw falha(m_arquivo->error() != QFileDevice::NoError ? m_arquivo->errorString()
                                                               : QStringLiteral("o arquivo terminou antes da página"));
    QByteArray aberto(qsizetype(r.bytesAbertos), Qt::Uninitialized);
    uLongf tamanho = r.bytesAbertos;
    if (uncompress(reinterpret_cast<Bytef*>(aberto.data()), &tamanho,
                   reinterpret_cast<const Bytef*>(registro.constData()), uLong(registro.size())) != Z_OK ||
        tamanho != r.bytesAbertos)
        throw falha(QStringLiteral("a página está danificada"));
    std::shared_ptr<const PaginaRelatorio> pagina;
    try {
        pagina = std::make_shared<const PaginaRelatorio>(Decodifica(aberto));
    } catch (const ErroQev&) {
        throw falha(QStringLiteral("a página está danificada"));
    }
    guardaNaMemoria(indice, pagina);
    return pagina;
}

void ArquivoPaginas::guardaNaMemoria(int indice, std::shared_ptr<const PaginaRelatorio> pagina) const {
    if (int(m_memoria.size()) >= m_paginasEmMemoria) m_memoria.erase(m_memoria.begin());
    m_memoria.emplace_back(indice, std::move(pagina));
}

QByteArray ArquivoPaginas::Codifica(const PaginaRelatorio& pagina) {
    QByteArray b;
    qsizetype texto = 0;
    for (const ItemTexto& t : pagina.textos) texto += t.texto.size();
    b.reserve(qsizetype(pagina.figura.size()) + pagina.textos.size() * 16 + texto * 2 + 16);
    Escrita e(b);
    e.bytes(pagina.figura.data(), pagina.figura.size());
    const QRect limites = pagina.figura.boundingRect();
    for (int v : {limites.x(), limites.y(), limites.width(), limites.height()}) e.comSinal(v);
    e.numero(quint64(pagina.textos.size()));
    qint64 bandaAnterior = 0;
    for (const ItemTexto& t : pagina.textos) {
        const double lados[] = {t.caixa.x(), t.caixa.y(), t.caixa.width(), t.caixa.height()};
        const bool oitavos = std::all_of(std::begin(lados), std::end(lados), emOitavos);
        e.byte(oitavos ? 1 : 0);
        for (double v : lados) {
            if (oitavos) e.comSinal(qint64(v * kOitavos));
            else e.real(v);
        }
        const QByteArray utf8 = t.texto.toUtf8();
        e.bytes(utf8.constData(), utf8.size());
        e.numero(t.fonte);
        e.numero(t.alinhamento);
        e.comSinal(qint64(t.banda) - bandaAnterior);
        bandaAnterior = t.banda;
        e.byte(quint8(t.tipoBanda));
    }
    return b;
}

PaginaRelatorio ArquivoPaginas::Decodifica(const QByteArray& registro) {
    const auto danificado = [] { return ErroQev(QStringLiteral("A página está danificada.")); };
    Leitura l(registro);
    PaginaRelatorio p;
    qsizetype n = 0;
    const char* figura = l.bytes(n);
    // A page never drawn on has no bytes; any other starts with the picture's mark.
    if (!figura || (n > 0 && (n < 4 || std::memcmp(figura, "QPIC", 4) != 0))) throw danificado();
    if (n > 0) p.figura.setData(figura, uint(n));
    qint64 limites[4];
    for (qint64& v : limites) v = l.comSinal();
    for (qint64 v : limites)
        if (v < INT_MIN || v > INT_MAX) throw danificado();
    p.figura.setBoundingRect(QRect(int(limites[0]), int(limites[1]), int(limites[2]), int(limites[3])));
    const quint64 itens = l.numero();
    // Each text takes at least 9 bytes: no count beyond what the record can hold.
    if (!l.ok() || itens > quint64(registro.size()) / 9) throw danificado();
    p.textos.reserve(qsizetype(itens));
    qint64 banda = 0;
    for (quint64 i = 0; i < itens && l.ok(); ++i) {
        ItemTexto t;
        const quint8 forma = l.byte();
        double lados[4];
        for (double& v : lados) v = forma == 1 ? double(l.comSinal()) / kOitavos : l.real();
        t.caixa = QRectF(lados[0], lados[1], lados[2], lados[3]);
        const char* utf8 = l.bytes(n);
        if (!utf8) break;
        t.texto = QString::fromUtf8(utf8, n);
        const quint64 fonte = l.numero(), alinhamento = l.numero();
        banda += l.comSinal();
        const quint8 tipo = l.byte();
        if (forma > 1 || fonte > 0xFFFF || alinhamento > 0xFFFF || banda < 0 || banda > 0xFFFFFFFFLL ||
            tipo > quint8(TipoBanda::Filha))
            throw danificado();
        t.fonte = quint16(fonte);
        t.alinhamento = quint16(alinhamento);
        t.banda = quint32(banda);
        t.tipoBanda = TipoBanda(tipo);
        p.textos.push_back(std::move(t));
    }
    if (!l.ok() || !l.noFim()) throw danificado();
    return p;
}
