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
#include <map>

#include "db/Erro.h"
#include "common/Versao.h"

namespace {

constexpr quint32 kMarcaFim = 0x46494D21;  // "FIM!"
// Limits of a saved report that no real one reaches: a damaged count is refused
// before anything is allocated for it.
constexpr qint32 kMaxPaginas = 10'000'000;
constexpr qint32 kMaxItens = 1'000'000;
constexpr qint32 kMaxFontes = 4096;

// Width of one character of the text export (report units): A4 landscape gives
// about 150 columns, portrait about 105.
constexpr qreal kLarguraCaractere = 18;

QString semQuebras(QString t) {
    t.replace(QLatin1String("\r\n"), QLatin1String(" "));
    t.replace(QLatin1Char('\n'), QLatin1Char(' '));
    t.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return t;
}

bool ehCabecalhoOuRodapePagina(TipoBanda t) {
    return t == TipoBanda::CabecalhoPagina || t == TipoBanda::RodapePagina;
}

// Texts of one printed band, in reading order (top to bottom, then left to right).
QVector<const ItemTexto*> emOrdemDeLeitura(QVector<const ItemTexto*> itens) {
    std::stable_sort(itens.begin(), itens.end(), [](const ItemTexto* a, const ItemTexto* b) {
        const qreal dy = a->caixa.top() - b->caixa.top();
        if (qAbs(dy) > qMin(a->caixa.height(), b->caixa.height()) / 2) return dy < 0;
        return a->caixa.left() < b->caixa.left();
    });
    return itens;
}

QString campoCsv(const QString& valor) {
    QString v = semQuebras(valor);
    if (v.contains(QLatin1Char(',')) || v.contains(QLatin1Char('"')) ||
        v.startsWith(QLatin1Char(' ')) || v.endsWith(QLatin1Char(' '))) {
        v.replace(QLatin1String("\""), QLatin1String("\"\""));
        v = QLatin1Char('"') + v + QLatin1Char('"');
    }
    return v;
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

}  // namespace

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
    const QPicture& figura = m_paginas.at(indice).figura;
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
    QDataStream s(&destino);
    s.setVersion(QDataStream::Qt_6_0);
    s << kAssinatura << kVersaoFormato;
    s << titulo << paisagem;
    s << qint32(m_fontes.size());
    for (const QFont& f : m_fontes) s << f;
    s << qint32(m_paginas.size());
    for (const PaginaRelatorio& p : m_paginas) {
        s << p.figura << qint32(p.textos.size());
        for (const ItemTexto& t : p.textos)
            s << t.caixa << t.texto << t.fonte << t.alinhamento << t.banda << quint8(t.tipoBanda);
    }
    s << kMarcaFim;
    if (s.status() != QDataStream::Ok)
        throw ErroQev(QStringLiteral("Não foi possível gravar o relatório."));
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
    if (s.status() != QDataStream::Ok || nFontes < 0 || nFontes > kMaxFontes) throw danificado();
    for (qint32 i = 0; i < nFontes; ++i) {
        QFont f;
        s >> f;
        if (s.status() != QDataStream::Ok) throw danificado();
        d.m_fontes.push_back(f);
        if (!d.m_indiceFontes.contains(f.key())) d.m_indiceFontes.insert(f.key(), quint16(i));
    }
    qint32 nPaginas = 0;
    s >> nPaginas;
    if (s.status() != QDataStream::Ok || nPaginas < 0 || nPaginas > kMaxPaginas) throw danificado();
    for (qint32 p = 0; p < nPaginas; ++p) {
        PaginaRelatorio pagina;
        qint32 nItens = 0;
        s >> pagina.figura >> nItens;
        if (s.status() != QDataStream::Ok || nItens < 0 || nItens > kMaxItens ||
            pagina.figura.isNull())
            throw danificado();
        pagina.textos.reserve(nItens);
        for (qint32 i = 0; i < nItens; ++i) {
            ItemTexto t;
            quint8 tipo = 0;
            s >> t.caixa >> t.texto >> t.fonte >> t.alinhamento >> t.banda >> tipo;
            if (s.status() != QDataStream::Ok || t.fonte >= nFontes ||
                tipo > quint8(TipoBanda::Filha))
                throw danificado();
            t.tipoBanda = TipoBanda(tipo);
            pagina.textos.push_back(std::move(t));
        }
        d.m_paginas.push_back(std::move(pagina));
    }
    quint32 fim = 0;
    s >> fim;
    if (s.status() != QDataStream::Ok || fim != kMarcaFim) throw danificado();
    return d;
}

void DocumentoRelatorio::SalvaArquivo(const QString& caminho) const {
    gravaInteiro(caminho, [&](QIODevice& arquivo) {
        try {
            Salva(arquivo);
        } catch (const ErroQev&) {
            throw ErroQev(QStringLiteral("Não foi possível gravar o relatório em %1.").arg(caminho));
        }
    });
}

DocumentoRelatorio DocumentoRelatorio::CarregaArquivo(const QString& caminho) {
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::ReadOnly))
        throw ErroQev(QStringLiteral("Não foi possível abrir o arquivo %1: %2")
                          .arg(caminho, arquivo.errorString()));
    try {
        return Carrega(arquivo);
    } catch (const ErroQev& e) {
        throw ErroQev(QStringLiteral("Não foi possível carregar o relatório %1.\n%2")
                          .arg(QFileInfo(caminho).fileName(), e.mensagem()));
    }
}

bool DocumentoRelatorio::operator==(const DocumentoRelatorio& o) const {
    if (titulo != o.titulo || paisagem != o.paisagem || m_fontes != o.m_fontes ||
        m_paginas.size() != o.m_paginas.size())
        return false;
    for (int i = 0; i < m_paginas.size(); ++i) {
        const PaginaRelatorio& a = m_paginas[i];
        const PaginaRelatorio& b = o.m_paginas[i];
        if (a.textos != b.textos || a.figura.size() != b.figura.size() ||
            QByteArray(a.figura.data(), a.figura.size()) !=
                QByteArray(b.figura.data(), b.figura.size()))
            return false;
    }
    return true;
}

// --- exports -----------------------------------------------------------------------

QString DocumentoRelatorio::Csv() const {
    QString saida;
    bool titulosEscritos = false;
    for (const PaginaRelatorio& p : m_paginas) {
        // The texts of each printed band, in the order the bands were printed.
        std::map<quint32, QVector<const ItemTexto*>> bandas;
        for (const ItemTexto& t : p.textos) {
            if (ehCabecalhoOuRodapePagina(t.tipoBanda)) continue;
            bandas[t.banda].push_back(&t);
        }
        for (auto& [numero, itens] : bandas) {
            if (itens.first()->tipoBanda == TipoBanda::CabecalhoColuna) {
                // Column titles once, at the top.
                if (titulosEscritos) continue;
                titulosEscritos = true;
            }
            QStringList campos;
            for (const ItemTexto* t : emOrdemDeLeitura(itens)) campos << campoCsv(t->texto);
            saida += campos.join(QLatin1Char(',')) + QStringLiteral("\r\n");
        }
    }
    return saida;
}

QString DocumentoRelatorio::Texto() const {
    QString saida;
    for (int n = 0; n < m_paginas.size(); ++n) {
        if (n > 0) saida += QLatin1Char('\f');
        QVector<const ItemTexto*> itens;
        qreal esquerda = TamanhoPagina().width();  // the page's left margin starts the lines
        for (const ItemTexto& t : m_paginas[n].textos) {
            itens << &t;
            esquerda = qMin(esquerda, t.caixa.left());
        }
        itens = emOrdemDeLeitura(itens);
        // Texts whose tops are close share a line.
        int i = 0;
        while (i < itens.size()) {
            const qreal topo = itens[i]->caixa.top();
            const qreal tolerancia = itens[i]->caixa.height() / 2;
            QVector<const ItemTexto*> linha;
            while (i < itens.size() && qAbs(itens[i]->caixa.top() - topo) <= tolerancia)
                linha << itens[i++];
            std::sort(linha.begin(), linha.end(), [](const ItemTexto* a, const ItemTexto* b) {
                return a->caixa.left() < b->caixa.left();
            });
            QString texto;
            for (const ItemTexto* t : linha) {
                const QString v = semQuebras(t->texto).trimmed();
                if (v.isEmpty()) continue;
                const QRectF c = t->caixa.translated(-esquerda, 0);
                int coluna = qRound(c.left() / kLarguraCaractere);
                if (t->alinhamento & Qt::AlignRight)
                    coluna = qRound(c.right() / kLarguraCaractere) - int(v.size());
                else if (t->alinhamento & Qt::AlignHCenter)
                    coluna = qRound(c.center().x() / kLarguraCaractere) - int(v.size()) / 2;
                if (!texto.isEmpty() && coluna <= texto.size()) coluna = int(texto.size()) + 1;
                texto = texto.leftJustified(qMax(0, coluna)) + v;
            }
            saida += texto + QLatin1Char('\n');
        }
    }
    return saida;
}

QByteArray DocumentoRelatorio::Html() const {
    QByteArray bytes;
    QXmlStreamWriter x(&bytes);
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
    const QSizeF pagina = TamanhoPagina();
    QString estilo = QStringLiteral(
                         "\nbody { background: #808080; margin: 0; padding: 8mm 0; }\n"
                         ".pagina { position: relative; background: #ffffff; margin: 0 auto 8mm "
                         "auto; width: %1; height: %2; overflow: hidden; }\n"
                         ".t { position: absolute; white-space: pre; overflow: hidden; }\n"
                         ".q { white-space: pre-wrap; }\n")
                         .arg(mm(pagina.width()), mm(pagina.height()));
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
    for (int n = 0; n < m_paginas.size(); ++n) {
        x.writeStartElement(QStringLiteral("div"));
        x.writeAttribute(QStringLiteral("class"), QStringLiteral("pagina"));
        x.writeAttribute(QStringLiteral("id"), QStringLiteral("pagina%1").arg(n + 1));
        for (const ItemTexto& t : m_paginas[n].textos) {
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
    x.writeEndDocument();
    return QByteArrayLiteral("<!DOCTYPE html>\n") + bytes.trimmed() + '\n';
}

void DocumentoRelatorio::ExportaHtml(const QString& caminho) const {
    gravaInteiro(caminho, [&](QIODevice& a) { a.write(Html()); });
}

void DocumentoRelatorio::ExportaTexto(const QString& caminho) const {
    gravaInteiro(caminho, [&](QIODevice& a) { a.write(Texto().toUtf8()); });
}

void DocumentoRelatorio::ExportaCsv(const QString& caminho) const {
    gravaInteiro(caminho, [&](QIODevice& a) { a.write(Csv().toUtf8()); });
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
