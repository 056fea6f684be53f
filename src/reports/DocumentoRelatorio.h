#pragma once
#include <QFont>
#include <QHash>
#include <QPicture>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QVector>
#include <memory>

class ArquivoPaginas;
class QIODevice;
class QPagedPaintDevice;
class QPainter;
class QPrinter;

// Lengths of a report are in tenths of a millimetre (A4 portrait is 2100 x 2970).
namespace UnidadeRelatorio {
inline constexpr qreal PorMm = 10;
inline constexpr qreal PorPolegada = 254;
// Size in report units of a font of `pontos` typographic points.
inline int Pontos(qreal pontos) { return qRound(pontos * PorPolegada / 72.0); }
}  // namespace UnidadeRelatorio

// Kinds of band, as the exports tell them apart.
enum class TipoBanda : quint8 {
    CabecalhoPagina,
    CabecalhoColuna,
    CabecalhoGrupo,
    Detalhe,
    RodapeGrupo,
    Sumario,
    RodapePagina,
    CabecalhoSub,
    DetalheSub,
    RodapeSub,
    Filha
};

// A text as printed on a page: where it stands, what it says and how it is written.
struct ItemTexto {
    QRectF caixa;                 // on the page, in report units
    QString texto;                // the whole text (also when the box cuts it)
    quint16 fonte = 0;            // index in the document's fonts
    quint16 alinhamento = 0;      // Qt::Alignment, plus Qt::TextWordWrap for texts that wrap
    quint32 banda = 0;            // which printed band holds it (numbered through the document)
    TipoBanda tipoBanda = TipoBanda::Detalhe;  // a child band counts as its parent's kind

    bool operator==(const ItemTexto& o) const {
        return caixa == o.caixa && texto == o.texto && fonte == o.fonte &&
               alinhamento == o.alinhamento && banda == o.banda && tipoBanda == o.tipoBanda;
    }
};

// A generated page: its drawing, recorded once, and the texts it holds.
struct PaginaRelatorio {
    QPicture figura;
    QVector<ItemTexto> textos;
};

// The generated pages of a report. The preview, the printer, the saved file and every
// export read this one representation. Finished pages are not kept in memory: each one
// goes to the document's page file (ArquivoPaginas: a private temporary file, removed
// with the document) and is read back when asked for; the last ones used stay in memory.
class DocumentoRelatorio {
public:
    // Saved-report format: the first four bytes, and the version this program writes.
    static constexpr quint32 kAssinatura = 0x51455652;  // "QEVR"
    static constexpr quint16 kVersaoFormato = 1;
    // Pages used last that stay in memory: the preview's moves back and forth.
    static constexpr int kPaginasEmMemoria = 8;

    // `paginasEmMemoria`: how many of the pages used last stay in memory.
    explicit DocumentoRelatorio(int paginasEmMemoria = kPaginasEmMemoria);
    ~DocumentoRelatorio();
    DocumentoRelatorio(DocumentoRelatorio&&) noexcept;
    DocumentoRelatorio& operator=(DocumentoRelatorio&&) noexcept;

    QString titulo;
    bool paisagem = false;

    QSizeF TamanhoPagina() const;  // report units
    int NumPaginas() const;
    // Page `indice` (0-based), read back from the page file unless it was used lately.
    // Throws ErroQev when the file cannot give it back.
    std::shared_ptr<const PaginaRelatorio> Pagina(int indice) const;
    // Keeps a finished page. Throws ErroQev (the page is not added) when it cannot be
    // written to the page file.
    void AdicionaPagina(PaginaRelatorio pagina);
    // The page file: its path (empty before the first page) and the bytes it holds.
    QString ArquivoDasPaginas() const;
    qint64 BytesDasPaginas() const;
    const QVector<QFont>& Fontes() const { return m_fontes; }
    // Index of a font in the table (added when new).
    quint16 IndiceFonte(const QFont& fonte);

    // Draws a page (0-based) with the painter's current transformation; one report
    // unit is one unit of the painter.
    void Desenha(QPainter& pintor, int indice) const;
    // Prints pages `de` to `ate` (1-based, inclusive; 0 = all) on a device of any
    // resolution, A4 in the report's orientation. Throws ErroQev when it cannot start.
    void Imprime(QPagedPaintDevice& dispositivo, int resolucao, int de = 0, int ate = 0) const;
    void Imprime(QPrinter& impressora) const;

    // Saved report (.QRP): a versioned data stream of the pages.
    void Salva(QIODevice& destino) const;
    // Throws ErroQev with a message for the user when the data is not a complete
    // saved report of a known version. The pages read go to the page file.
    static DocumentoRelatorio Carrega(QIODevice& origem);

    // Files the user keeps: written under a temporary name and renamed when complete.
    // Each throws ErroQev (naming the file) on failure.
    void SalvaArquivo(const QString& caminho) const;
    static DocumentoRelatorio CarregaArquivo(const QString& caminho);
    void ExportaHtml(const QString& caminho) const;
    void ExportaTexto(const QString& caminho) const;
    void ExportaCsv(const QString& caminho) const;
    void ExportaPdf(const QString& caminho) const;

    // The exports written to a device as the pages are read (UTF-8).
    void EscreveHtml(QIODevice& destino) const;
    void EscreveTexto(QIODevice& destino) const;
    void EscreveCsv(QIODevice& destino) const;
    // The same, whole in memory (small reports).
    QByteArray Html() const;
    QString Texto() const;
    QString Csv() const;

    bool operator==(const DocumentoRelatorio& o) const;

private:
    std::unique_ptr<ArquivoPaginas> m_paginas;
    QVector<QFont> m_fontes;
    QHash<QString, quint16> m_indiceFontes;
};
