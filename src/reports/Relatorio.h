#pragma once
#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QHash>
#include <QObject>
#include <QRectF>
#include <QString>
#include <QVariant>
#include <QVector>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "reports/DocumentoRelatorio.h"
#include "reports/FonteDados.h"

class Banda;
class QPainter;
class Relatorio;

// Font of the reports: a sans-serif face of `pontos` points.
QFont FonteRelatorio(qreal pontos, bool negrito = false, bool italico = false);

// One thing printed in a band. Positions are inside the band, in report units
// (tenths of a millimetre), measured from the band's top left corner.
struct Elemento {
    enum class Tipo { Rotulo, Campo, Sistema, Expressao, Linha, Desenho };
    enum class Dado { Titulo, Data, Hora, NumeroPagina };
    enum class Agregado { Contagem, Soma };

    Tipo tipo = Tipo::Rotulo;
    QString nome;
    QRectF caixa;
    QFont fonte;
    int alinhamento = Qt::AlignLeft | Qt::AlignVCenter;
    // The text wraps inside the box's width and the band grows to hold it.
    bool cresce = false;
    bool visivel = true;
    QColor cor = Qt::black;
    QColor fundo;  // invalid: none
    // Rotulo: the text. Campo, Sistema, Expressao: written before the value.
    QString texto;
    // Campo: the column shown. Expressao (Soma): the column added up.
    QString campo;
    // Campo, Expressao: how a value is written (default: as the report writes values).
    std::function<QString(const QVariant&)> formato;
    Dado dado = Dado::Titulo;
    Agregado agregado = Agregado::Contagem;
    // Expressao: the band whose printings are counted or summed (the detail when
    // null) and the group header that starts the count again (null: the whole report).
    Banda* contaBanda = nullptr;
    Banda* reiniciaEm = nullptr;
    qreal espessura = 3;  // Linha
    std::function<void(QPainter&, const QRectF&)> desenho;  // Desenho: draws into the box

    // Current total of an expression.
    qlonglong contagem = 0;
    double soma = 0;
    // The column's index in the source last used (kept by the engine).
    const FonteDados* fonteCache = nullptr;
    int indiceCache = -1;
    QFont fonteIndexada;
    int indiceFonte = -1;
    // Widths of texts already measured in `fonteLarguras` (lists repeat their names).
    QHash<QString, qreal> larguras;
    QFont fonteLarguras;
};

class SubDetalhe;

// A horizontal strip of a page: a page header, a column header, a group header or
// footer, a detail (one per row), a summary, or a child printed right after its parent.
class Banda {
public:
    Banda(TipoBanda tipo, qreal altura, QString nome)
        : tipo(tipo), altura(altura), nome(std::move(nome)) {}

    TipoBanda tipo;
    qreal altura;
    QString nome;
    QColor cor;  // background; invalid: none
    // Runs before each printing; may change texts, colours and visibility of the
    // elements or the band's colour; returning false leaves the band out.
    std::function<bool(Banda&)> AntesImprimir;
    // Bands printed right after this one, in order, each with its own event (one
    // left out does not leave out the next); none when this one is left out.
    std::vector<Banda*> filhas;

    // Group headers: the column whose change starts a group, and its options.
    QString campoQuebra;
    bool novaPagina = false;     // each group starts a new page
    bool repeteNaPagina = false; // printed again at the top of every page of the group
    Banda* rodapeGrupo = nullptr;

    // Details: lists printed below each row.
    std::vector<SubDetalhe*> subDetalhes;

    const std::vector<std::unique_ptr<Elemento>>& Elementos() const { return m_elementos; }
    Elemento* Item(const QString& nome) const;  // nullptr when absent

    Elemento* Rotulo(const QString& nome, const QString& texto, const QRectF& caixa,
                     const QFont& fonte, int alinhamento = Qt::AlignLeft | Qt::AlignVCenter);
    Elemento* Campo(const QString& nome, const QString& coluna, const QRectF& caixa,
                    const QFont& fonte, int alinhamento = Qt::AlignLeft | Qt::AlignVCenter);
    Elemento* Sistema(const QString& nome, Elemento::Dado dado, const QString& prefixo,
                      const QRectF& caixa, const QFont& fonte,
                      int alinhamento = Qt::AlignLeft | Qt::AlignVCenter);
    Elemento* Expressao(const QString& nome, Elemento::Agregado agregado, const QString& coluna,
                        const QRectF& caixa, const QFont& fonte,
                        int alinhamento = Qt::AlignLeft | Qt::AlignVCenter);
    // A horizontal line across the box's width, at its vertical centre.
    Elemento* Linha(const QString& nome, const QRectF& caixa, qreal espessura = 3);
    Elemento* Desenho(const QString& nome, const QRectF& caixa,
                      std::function<void(QPainter&, const QRectF&)> desenho);

private:
    Elemento* adiciona(Elemento::Tipo tipo, const QString& nome, const QRectF& caixa,
                       const QFont& fonte, int alinhamento);
    std::vector<std::unique_ptr<Elemento>> m_elementos;
};

// Rows of another source printed under each row of the detail: a heading, one band
// per row and a closing band. The source is asked for again for every row of the
// detail (the report's current row is then that row).
class SubDetalhe {
public:
    std::function<std::unique_ptr<FonteDados>()> fonte;
    Banda* cabecalho = nullptr;
    Banda* detalhe = nullptr;
    Banda* rodape = nullptr;
    // Heading and closing band also when the source has no row.
    bool imprimeSeVazio = false;
};

// A banded report: its definition (bands, their elements, the data source) and its
// generation, page by page, into a DocumentoRelatorio. Each call of GeraPagina makes
// one page and emits paginaPronta, so that a preview can show the first page while
// the rest is being made.
class Relatorio : public QObject {
    Q_OBJECT
public:
    explicit Relatorio(QObject* pai = nullptr);
    ~Relatorio() override;

    QString Titulo;
    bool Paisagem = false;
    qreal Margem = 100;  // on the four sides

    // --- definition --------------------------------------------------------------
    Banda* CriaBanda(TipoBanda tipo, qreal altura, const QString& nome = QString());
    // A group: its header breaks on `campoQuebra`; groups nest in creation order.
    Banda* CriaGrupo(const QString& campoQuebra, qreal altura, const QString& nome = QString());
    Banda* CriaRodapeGrupo(Banda* cabecalhoGrupo, qreal altura, const QString& nome = QString());
    // A band printed after `pai` (after its other children).
    Banda* CriaFilha(Banda* pai, qreal altura, const QString& nome = QString());
    // A list under each row of the detail band.
    SubDetalhe* CriaSubDetalhe(std::function<std::unique_ptr<FonteDados>()> fonte,
                               qreal alturaDetalhe, qreal alturaCabecalho = 0,
                               qreal alturaRodape = 0);
    Banda* PrimeiraBanda(TipoBanda tipo) const;
    void DefineFonte(std::unique_ptr<FonteDados> fonte);
    FonteDados* Fonte() const { return m_fonte.get(); }

    QSizeF TamanhoPagina() const { return Paisagem ? QSizeF(2970, 2100) : QSizeF(2100, 2970); }
    qreal LarguraUtil() const { return TamanhoPagina().width() - 2 * Margem; }

    // --- while pages are made ---------------------------------------------------------
    // A value of the row being printed (a list's row first, then the row of the detail
    // above it); invalid when no such column.
    QVariant Valor(const QString& coluna) const;
    bool TemColuna(const QString& coluna) const;
    int NumeroPagina() const { return m_numPagina; }
    QDateTime Emissao() const { return m_emissao; }
    // How a value is written when the element gives no format: dates "dd/MM/yyyy",
    // numbers in Portuguese, texts as they are.
    static QString FormataValor(const QVariant& valor);

    // --- generation ---------------------------------------------------------------------
    // Opens the data and starts a new document. Throws when the data cannot be read.
    void Inicia();
    // Makes the next page; false when the report was already complete.
    bool GeraPagina();
    bool Concluido() const { return m_concluido; }
    // Inicia, then every page.
    void GeraTudo();
    std::shared_ptr<DocumentoRelatorio> Documento() const { return m_documento; }

signals:
    // Page `numero` (1-based) is ready; `ultima` when it is the report's last.
    void paginaPronta(int numero, bool ultima);

protected:
    // Runs at the start of every generation (before the data is opened).
    virtual void AntesDeGerar() {}
    // Runs after the last page.
    virtual void DepoisDeGerar() {}

private:
    struct Linha;
    struct Grupo;
    struct Pendente;
    struct LayoutTexto;

    void leMestre();
    void abreSubDetalhe(Pendente p);
    void leSubDetalhe();
    void iniciaPagina();
    void fechaPagina(bool ultima);
    void imprimeFixa(Banda* banda, const std::shared_ptr<const Linha>& linha);
    bool prepara(Pendente& p);
    void imprime(Pendente& p, qreal limite);
    qreal alturaDe(Pendente& p);
    QString textoDe(Elemento& e);
    void contabiliza(Banda* banda);
    void desenhaElemento(Elemento& e, const QRectF& caixa, quint32 numBanda, TipoBanda tipo);
    quint16 indiceFonte(Elemento& e);
    // The painter's font and pen for an element (set only when they change).
    void usaFonteECor(const Elemento& e);
    // Keeps a text printed on the page for the exports.
    void guardaTexto(Elemento& e, const QRectF& caixa, const QString& texto, int alinhamento,
                     quint32 numBanda, TipoBanda tipo);
    void defineContexto(const std::shared_ptr<const Linha>& linha);
    int grupoDoCabecalho(const Banda* b) const;
    void enfileiraFilha(const Pendente& pai);

    std::vector<std::unique_ptr<Banda>> m_bandas;
    std::vector<std::unique_ptr<SubDetalhe>> m_subDetalhes;
    std::vector<Grupo> m_grupos;
    std::unique_ptr<FonteDados> m_fonte;

    // generation state
    std::shared_ptr<DocumentoRelatorio> m_documento;
    std::deque<Pendente> m_fila;
    std::unique_ptr<PaginaRelatorio> m_pagina;
    std::unique_ptr<QPainter> m_pintor;
    std::shared_ptr<const Linha> m_contexto;
    std::shared_ptr<const Linha> m_ultimoMestre;
    QVector<Elemento*> m_expressoes;
    QDateTime m_emissao;
    qreal m_y = 0;
    qreal m_limite = 0;
    bool m_corpoVazio = true;
    bool m_concluido = true;
    bool m_paginaAberta = false;
    int m_numPagina = 0;
    quint32 m_numBanda = 0;
    QFont m_fonteAtual;
    QColor m_corAtual;
};
