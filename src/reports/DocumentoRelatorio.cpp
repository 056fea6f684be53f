#include "reports/DocumentoRelatorio.h"

#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QXmlStreamWriter>
#include <algorithm>
#include <functional>
#include <map>

#include "db/Erro.h"
#include "common/Versao.h"
#include "reports/ArquivoPaginas.h"
#include "reports/ExportacaoColunas.h"

namespace {

constexpr quint32 kMarcaFim = 0x46494D21;  // "FIM!"
// Limits of a saved report that no real one reaches: a damaged count is refused
// before anything is allocated for it.
constexpr qint32 kMaxPaginas = 10'000'000;
constexpr qint32 kMaxItens = 1'000'000;
constexpr qint32 kMaxFontes = 4096;
// What a saved report from elsewhere may declare before the toolkit reads it: the file
// itself, one page's drawing, a font's size and how far a drawing or a text may reach
// outside an A4 page (report units). A count never exceeds what the bytes left can hold.
constexpr qint64 kMaxArquivo = qint64(1) << 30;
constexpr quint32 kMaxFigura = 16u << 20;
constexpr qreal kMaxFonte = 2000;
constexpr qreal kFolgaPagina = 500;
constexpr qint64 kMinBytesPagina = 12;  // picture length, item count, at least a header
constexpr qint64 kMinBytesItem = 40;    // box, text length, font, alignment, band, kind

// Bytes left to read, or -1 when the device cannot tell.
qint64 restante(const QIODevice& d) {
    return d.isSequential() ? -1 : d.size() - d.pos();
}

bool cabe(const QIODevice& d, qint64 quantos, qint64 bytesCada) {
    const qint64 r = restante(d);
    return r < 0 || quantos <= r / bytesCada;
}

bool dentroDaPagina(const QRectF& r) {
    // By coordinates: a line has an empty box, which QRectF::contains never accepts.
    const QRectF n = r.normalized();
    const qreal minimo = -kFolgaPagina, maximo = 2970 + kFolgaPagina;
    return n.left() >= minimo && n.top() >= minimo && n.right() <= maximo && n.bottom() <= maximo;
}

// Reads one page's drawing, its length checked against the limit and the bytes left
// before anything is allocated for it, and its extent against the page.
bool leFigura(QDataStream& s, QIODevice& origem, QPicture& figura) {
    quint32 tamanho = 0;
    s >> tamanho;
    if (s.status() != QDataStream::Ok || tamanho == 0 || tamanho > kMaxFigura ||
        (restante(origem) >= 0 && tamanho > restante(origem)))
        return false;
    QByteArray dados(qsizetype(tamanho), Qt::Uninitialized);
    if (s.readRawData(dados.data(), int(tamanho)) != int(tamanho)) return false;
    if (!dados.startsWith("QPIC")) return false;
    figura.setData(dados.constData(), tamanho);
    return !figura.isNull() && dentroDaPagina(QRectF(figura.boundingRect()));
}

bool fonteAceitavel(const QFont& f) {
    const qreal tamanho = f.pixelSize() > 0 ? f.pixelSize() : f.pointSizeF();
    return tamanho > 0 && tamanho <= kMaxFonte && f.family().size() <= 256;
}

QString mm(qreal unidades) {
    return QString::number(unidades / UnidadeRelatorio::PorMm, 'f', 1) + QStringLiteral("mm");
}

// Writes `dados` whole under `caminho`, or nothing at all.
template <typename F>
void gravaInteiro(const QString& caminho, F&& escreve) {
    QSaveFile arquivo(caminho);
    if (!arquivo.open(QIODevice::WriteOnly))
        throw ErroQev(QStringLiteral("Não foi possível criar o arquivo %1: %2")
                          .arg(caminho, arquivo.errorString()));
    escreve(arquivo);
    if (!arquivo.commit())
        throw ErroQev(QStringLiteral("Não foi possível gravar o arquivo %1: %2")
                          .arg(caminho, arquivo.errorString()));
}

// The saved report's stream; false when the device refused it. A page that cannot be
// read back throws.
bool salvaEm(const DocumentoRelatorio& d, QIODevice& destino) {
    QDataStream s(&destino);
    s.setVersion(QDataStream::Qt_6_0);
    s << DocumentoRelatorio::kAssinatura << DocumentoRelatorio::kVersaoFormato;
    s << d.titulo << d.paisagem;
    s << qint32(d.Fontes().size());
    for (const QFont& f : d.Fontes()) s << f;
    s << qint32(d.NumPaginas());
    for (int i = 0; i < d.NumPaginas() && s.status() == QDataStream::Ok; ++i) {
        const auto p = d.Pagina(i);
        s << p->figura << qint32(p->textos.size());
        for (const ItemTexto& t : p->textos)
            s << t.caixa << t.texto << t.fonte << t.alinhamento << t.banda << quint8(t.tipoBanda);
    }
    s << kMarcaFim;
    return s.status() == QDataStream::Ok;
}

}  // namespace

DocumentoRelatorio::DocumentoRelatorio(int paginasEmMemoria)
    : m_paginas(std::make_unique<ArquivoPaginas>(paginasEmMemoria)) {}

DocumentoRelatorio::~DocumentoRelatorio() = default;
DocumentoRelatorio::DocumentoRelatorio(DocumentoRelatorio&&) noexcept = default;
DocumentoRelatorio& DocumentoRelatorio::operator=(DocumentoRelatorio&&) noexcept = default;

int DocumentoRelatorio::NumPaginas() const { return m_paginas->Quantas(); }

std::shared_ptr<const PaginaRelatorio> DocumentoRelatorio::Pagina(int indice) const {
    return m_paginas->Pagina(indice);
}

void DocumentoRelatorio::AdicionaPagina(PaginaRelatorio pagina) { m_paginas->Adiciona(std::move(pagina)); }

QString DocumentoRelatorio::ArquivoDasPaginas() const { return m_paginas->Caminho(); }

qint64 DocumentoRelatorio::BytesDasPaginas() const { return m_paginas->Bytes(); }

QSizeF DocumentoRelatorio::TamanhoPagina() const {
    return paisagem ? QSizeF(2970, 2100) : QSizeF(2100, 2970);
}

quint16 DocumentoRelatorio::IndiceFonte(const QFont& fonte) {
    const QString chave = fonte.key();
    auto it = m_indiceFontes.constFind(chave);
    if (it != m_indiceFontes.constEnd()) return it.value();
    const auto indice = quint16(m_fontes.size());
    m_fontes.push_back(fonte);
    m_indiceFontes.insert(chave, indice);
    return indice;
}

void DocumentoRelatorio::Desenha(QPainter& pintor, int indice) const {
    const auto pagina = Pagina(indice);
    const QPicture& figura = pagina->figura;
    // A picture plays itself scaled by the device's resolution over the screen's; the
    // painter's own scale alone decides here.
    const QPaintDevice* dispositivo = pintor.device();
    pintor.save();
    pintor.scale(qreal(figura.logicalDpiX()) / dispositivo->logicalDpiX(),
                 qreal(figura.logicalDpiY()) / dispositivo->logicalDpiY());
    pintor.drawPicture(0, 0, figura);
    pintor.restore();
}

void DocumentoRelatorio::Imprime(QPagedPaintDevice& dispositivo, int resolucao, int de,
                                 int ate) const {
    dispositivo.setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                          paisagem ? QPageLayout::Landscape : QPageLayout::Portrait,
                                          QMarginsF(0, 0, 0, 0)));
    if (de <= 0) de = 1;
    if (ate <= 0 || ate > NumPaginas()) ate = NumPaginas();
    QPainter pintor;
    if (!pintor.begin(&dispositivo))
        throw ErroQev(QStringLiteral("Não foi possível iniciar a impressão."));
    const qreal escala = resolucao / UnidadeRelatorio::PorPolegada;
    for (int p = de; p <= ate; ++p) {
        if (p > de) dispositivo.newPage();
        pintor.save();
        pintor.scale(escala, escala);
        Desenha(pintor, p - 1);
        pintor.restore();
    }
    pintor.end();
}

void DocumentoRelatorio::Imprime(QPrinter& impressora) const {
    impressora.setFullPage(true);
    int de = 0, ate = 0;
    if (impressora.printRange() == QPrinter::PageRange) {
        de = impressora.fromPage();
        ate = impressora.toPage();
    }
    Imprime(impressora, impressora.resolution(), de, ate);
}

// --- saved report ----------------------------------------------------------------

void DocumentoRelatorio::Salva(QIODevice& destino) const {
    if (!salvaEm(*this, destino)) throw ErroQev(QStringLiteral("Não foi possível gravar o relatório."));
}

DocumentoRelatorio DocumentoRelatorio::Carrega(QIODevice& origem) {
    const auto danificado = [] {
        return ErroQev(QStringLiteral("O arquivo está incompleto ou danificado."));
    };
    QDataStream s(&origem);
    s.setVersion(QDataStream::Qt_6_0);
    quint32 assinatura = 0;
    quint16 versao = 0;
    s >> assinatura;
    if (s.status() != QDataStream::Ok || assinatura != kAssinatura)
        throw ErroQev(QStringLiteral("O arquivo não é um relatório salvo por este sistema."));
    s >> versao;
    if (s.status() != QDataStream::Ok) throw danificado();
    if (versao != kVersaoFormato)
        throw ErroQev(QStringLiteral("O relatório foi salvo na versão %1 do formato, e este "
                                     "sistema lê somente a versão %2.")
                          .arg(versao)
                          .arg(kVersaoFormato));
    DocumentoRelatorio d;
    qint32 nFontes = 0;
    s >> d.titulo >> d.paisagem >> nFontes;
    if (s.status() != QDataStream::Ok || nFontes < 0 || nFontes > kMaxFontes ||
        !cabe(origem, nFontes, 8))
        throw danificado();
    for (qint32 i = 0; i < nFontes; ++i) {
        QFont f;
        s >> f;
        if (s.status() != QDataStream::Ok || !fonteAceitavel(f)) throw danificado();
        d.m_fontes.push_back(f);
        if (!d.m_indiceFontes.contains(f.key())) d.m_indiceFontes.insert(f.key(), quint16(i));
    }
    qint32 nPaginas = 0;
    s >> nPaginas;
    if (s.status() != QDataStream::Ok || nPaginas < 0 || nPaginas > kMaxPaginas ||
        !cabe(origem, nPaginas, kMinBytesPagina))
        throw danificado();
    for (qint32 p = 0; p < nPaginas; ++p) {
        PaginaRelatorio pagina;
        qint32 nItens = 0;
        if (!leFigura(s, origem, pagina.figura)) throw danificado();
        s >> nItens;
        if (s.status() != QDataStream::Ok || nItens < 0 || nItens > kMaxItens ||
            !cabe(origem, nItens, kMinBytesItem))
            throw danificado();
        pagina.textos.reserve(nItens);
        for (qint32 i = 0; i < nItens; ++i) {
            ItemTexto t;
            quint8 tipo = 0;
            s >> t.caixa >> t.texto >> t.fonte >> t.alinhamento >> t.banda >> tipo;
            if (s.status() != QDataStream::Ok || t.fonte >= nFontes ||
                tipo > quint8(TipoBanda::Filha) || !dentroDaPagina(t.caixa))
                throw danificado();
            t.tipoBanda = TipoBanda(tipo);
            pagina.textos.push_back(std::move(t));
        }
        d.AdicionaPagina(std::move(pagina));
    }
    quint32 fim = 0;
    s >> fim;
    if (s.status() != QDataStream::Ok || fim != kMarcaFim) throw danificado();
    return d;
}

void DocumentoRelatorio::SalvaArquivo(const QString& caminho) const {
    gravaInteiro(caminho, [&](QIODevice& arquivo) {
        if (!salvaEm(*this, arquivo))
            throw ErroQev(QStringLiteral("Não foi possível gravar o relatório em %1.").arg(caminho));
    });
}

DocumentoRelatorio DocumentoRelatorio::CarregaArquivo(const QString& caminho) {
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::ReadOnly))
        throw ErroQev(QStringLiteral("Não foi possível abrir o arquivo %1: %2")
                          .arg(caminho, arquivo.errorString()));
    try {
        if (arquivo.size() > kMaxArquivo)
            throw ErroQev(QStringLiteral("O arquivo está incompleto ou danificado."));
        return Carrega(arquivo);
    } catch (const ErroQev& e) {
        throw ErroQev(QStringLiteral("Não foi possível carregar o relatório %1.\n%2")
                          .arg(QFileInfo(caminho).fileName(), e.mensagem()));
    }
}

bool DocumentoRelatorio::operator==(const DocumentoRelatorio& o) const {
    if (titulo != o.titulo || paisagem != o.paisagem || m_fontes != o.m_fontes ||
        NumPaginas() != o.NumPaginas())
        return false;
    for (int i = 0; i < NumPaginas(); ++i) {
        const auto a = Pagina(i);
        const auto b = o.Pagina(i);
        if (a->textos != b->textos || a->figura.size() != b->figura.size() ||
            QByteArrayView(a->figura.data(), a->figura.size()) !=
                QByteArrayView(b->figura.data(), b->figura.size()))
            return false;
    }
    return true;
}

// --- exports -----------------------------------------------------------------------

void DocumentoRelatorio::EscreveCsv(QIODevice& destino) const { ExportacaoColunas::Csv(*this, destino); }

void DocumentoRelatorio::EscreveTexto(QIODevice& destino) const { ExportacaoColunas::Texto(*this, destino); }

void DocumentoRelatorio::EscreveHtml(QIODevice& destino) const {
    // The writer starts each element on a line of its own, the first one too.
    destino.write("<!DOCTYPE html>");
    QXmlStreamWriter x(&destino);
    x.setAutoFormatting(true);
    x.writeStartElement(QStringLiteral("html"));
    x.writeAttribute(QStringLiteral("lang"), QStringLiteral("pt-BR"));
    x.writeStartElement(QStringLiteral("head"));
    x.writeEmptyElement(QStringLiteral("meta"));
    x.writeAttribute(QStringLiteral("charset"), QStringLiteral("utf-8"));
    x.writeEmptyElement(QStringLiteral("meta"));
    x.writeAttribute(QStringLiteral("name"), QStringLiteral("generator"));
    x.writeAttribute(QStringLiteral("content"), NomeCurtoSistema() + QLatin1Char(' ') +
                                                    TituloSistema());
    x.writeTextElement(QStringLiteral("title"), titulo);
    const QSizeF tamanho = TamanhoPagina();
    QString estilo = QStringLiteral(
                         "\nbody { background: #808080; margin: 0; padding: 8mm 0; }\n"
                         ".pagina { position: relative; background: #ffffff; margin: 0 auto 8mm "
                         "auto; width: %1; height: %2; overflow: hidden; }\n"
                         ".t { position: absolute; white-space: pre; overflow: hidden; }\n"
                         ".q { white-space: pre-wrap; }\n")
                         .arg(mm(tamanho.width()), mm(tamanho.height()));
    for (int i = 0; i < m_fontes.size(); ++i) {
        const QFont& f = m_fontes[i];
        estilo += QStringLiteral(".f%1 { font-family: '%2', sans-serif; font-size: %3; "
                                 "font-weight: %4; font-style: %5; }\n")
                      .arg(i)
                      .arg(f.family())
                      .arg(mm(f.pixelSize() > 0 ? f.pixelSize() : f.pointSizeF() * 254 / 72))
                      .arg(f.bold() ? QStringLiteral("bold") : QStringLiteral("normal"))
                      .arg(f.italic() ? QStringLiteral("italic") : QStringLiteral("normal"));
    }
    x.writeTextElement(QStringLiteral("style"), estilo);
    x.writeEndElement();  // head
    x.writeStartElement(QStringLiteral("body"));
    for (int n = 0; n < NumPaginas(); ++n) {
        const auto pagina = Pagina(n);
        x.writeStartElement(QStringLiteral("div"));
        x.writeAttribute(QStringLiteral("class"), QStringLiteral("pagina"));
        x.writeAttribute(QStringLiteral("id"), QStringLiteral("pagina%1").arg(n + 1));
        for (const ItemTexto& t : pagina->textos) {
            x.writeStartElement(QStringLiteral("div"));
            const bool quebra = t.alinhamento & Qt::TextWordWrap;
            x.writeAttribute(QStringLiteral("class"),
                             QStringLiteral("t f%1%2").arg(t.fonte).arg(quebra ? " q" : ""));
            QString pos = QStringLiteral("left: %1; top: %2; width: %3; height: %4;")
                              .arg(mm(t.caixa.left()), mm(t.caixa.top()), mm(t.caixa.width()),
                                   mm(t.caixa.height()));
            if (t.alinhamento & Qt::AlignRight) pos += QStringLiteral(" text-align: right;");
            else if (t.alinhamento & Qt::AlignHCenter) pos += QStringLiteral(" text-align: center;");
            x.writeAttribute(QStringLiteral("style"), pos);
            x.writeCharacters(t.texto);
            x.writeEndElement();
        }
        x.writeEndElement();  // div.pagina
    }
    x.writeEndElement();  // body
    x.writeEndElement();  // html
    x.writeEndDocument();  // ends the last line
}

namespace {
QByteArray emMemoria(const std::function<void(QIODevice&)>& escreve) {
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    escreve(b);
    return b.data();
}
}  // namespace

QByteArray DocumentoRelatorio::Html() const {
    return emMemoria([this](QIODevice& d) { EscreveHtml(d); });
}

QString DocumentoRelatorio::Texto() const {
    return QString::fromUtf8(emMemoria([this](QIODevice& d) { EscreveTexto(d); }));
}

QString DocumentoRelatorio::Csv() const {
    return QString::fromUtf8(emMemoria([this](QIODevice& d) { EscreveCsv(d); }));
}

void DocumentoRelatorio::ExportaHtml(const QString& caminho) const {
    gravaInteiro(caminho, [&](QIODevice& a) { EscreveHtml(a); });
}

void DocumentoRelatorio::ExportaTexto(const QString& caminho) const {
    gravaInteiro(caminho, [&](QIODevice& a) { EscreveTexto(a); });
}

void DocumentoRelatorio::ExportaCsv(const QString& caminho) const {
    gravaInteiro(caminho, [&](QIODevice& a) { EscreveCsv(a); });
}

void DocumentoRelatorio::ExportaPdf(const QString& caminho) const {
    gravaInteiro(caminho, [&](QIODevice& a) {
        QPdfWriter pdf(&a);
        pdf.setTitle(titulo);
        pdf.setCreator(NomeCurtoSistema() + QStringLiteral(" - ") + TituloSistema());
        pdf.setResolution(600);
        Imprime(pdf, pdf.resolution());
    });
}
