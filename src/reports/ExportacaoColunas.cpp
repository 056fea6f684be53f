#include "reports/ExportacaoColunas.h"

#include <QIODevice>
#include <QStringList>
#include <QVector>
#include <algorithm>
#include <functional>
#include <map>

#include "reports/DocumentoRelatorio.h"

namespace ExportacaoColunas {
namespace {

// Width of one character of the text export (report units): A4 landscape gives
// about 150 columns, portrait about 105.
constexpr qreal kLarguraCaractere = 18;
// How far (report units) a text may start left of its column and still belong to it.
constexpr qreal kTolerancia = 5;
constexpr int kEntreColunas = 2;

QString semQuebras(QString t) {
    t.replace(QLatin1String("\r\n"), QLatin1String(" "));
    t.replace(QLatin1Char('\n'), QLatin1Char(' '));
    t.replace(QLatin1Char('\r'), QLatin1Char(' '));
    t.replace(QChar::LineSeparator, QLatin1Char(' '));
    return t.trimmed();
}

QString campoCsv(const QString& valor) {
    QString v = semQuebras(valor);
    if (v.contains(QLatin1Char(',')) || v.contains(QLatin1Char('"'))) {
        v.replace(QLatin1String("\""), QLatin1String("\"\""));
        v = QLatin1Char('"') + v + QLatin1Char('"');
    }
    return v;
}

bool ehPagina(TipoBanda t) {
    return t == TipoBanda::CabecalhoPagina || t == TipoBanda::RodapePagina;
}

// Texts of one printed band, in reading order (top to bottom, then left to right).
QVector<const ItemTexto*> emOrdemDeLeitura(const QVector<ItemTexto>& itens) {
    QVector<const ItemTexto*> r;
    r.reserve(itens.size());
    for (const ItemTexto& t : itens) r << &t;
    std::stable_sort(r.begin(), r.end(), [](const ItemTexto* a, const ItemTexto* b) {
        const qreal dy = a->caixa.top() - b->caixa.top();
        if (qAbs(dy) > qMin(a->caixa.height(), b->caixa.height()) / 2) return dy < 0;
        return a->caixa.left() < b->caixa.left();
    });
    return r;
}

// Text written to a device in UTF-8, a piece at a time.
class Saida {
public:
    explicit Saida(QIODevice& d) : m_d(d) {}
    ~Saida() { descarrega(); }
    Saida& operator+=(const QString& t) {
        m_texto += t;
        if (m_texto.size() >= 32768) descarrega();
        return *this;
    }
    Saida& operator+=(QChar c) { return *this += QString(c); }
    void descarrega() {
        if (m_texto.isEmpty()) return;
        m_d.write(m_texto.toUtf8());
        m_texto.clear();
    }

private:
    QIODevice& m_d;
    QString m_texto;
};

struct Coluna {
    qreal esquerda = 0;
    qreal direita = 0;
    QString titulo;
    bool aDireita = false;
};

// The columns a heading band defines: one per title, stacked titles joined.
QVector<Coluna> colunasDe(const QVector<ItemTexto>& itens) {
    QVector<Coluna> colunas;
    for (const ItemTexto* t : emOrdemDeLeitura(itens)) {
        const QString texto = semQuebras(t->texto);
        Coluna* mesma = nullptr;
        for (Coluna& c : colunas) {
            const qreal comum = qMin(c.direita, t->caixa.right()) - qMax(c.esquerda, t->caixa.left());
            if (comum > qMin(c.direita - c.esquerda, t->caixa.width()) / 2) {
                mesma = &c;
                break;
            }
        }
        if (mesma) {
            if (!texto.isEmpty())
                mesma->titulo += (mesma->titulo.isEmpty() ? QString() : QStringLiteral(" ")) + texto;
            mesma->esquerda = qMin(mesma->esquerda, t->caixa.left());
            mesma->direita = qMax(mesma->direita, t->caixa.right());
            continue;
        }
        Coluna c;
        c.esquerda = t->caixa.left();
        c.direita = t->caixa.right();
        c.titulo = texto;
        c.aDireita = t->alinhamento & Qt::AlignRight;
        colunas << c;
    }
    std::sort(colunas.begin(), colunas.end(),
              [](const Coluna& a, const Coluna& b) { return a.esquerda < b.esquerda; });
    return colunas;
}

// The column of a text: for the rows a heading heads, the column it overlaps most;
// for group and summary lines (and when nothing overlaps), the column where it starts.
int colunaDe(const QVector<Coluna>& colunas, const QRectF& caixa, bool porSobreposicao) {
    if (porSobreposicao) {
        int melhor = -1;
        qreal maior = 0;
        for (int k = 0; k < colunas.size(); ++k) {
            const qreal comum = qMin(colunas[k].direita, caixa.right()) -
                                qMax(colunas[k].esquerda, caixa.left());
            if (comum > maior) {
                maior = comum;
                melhor = k;
            }
        }
        if (melhor >= 0) return melhor;
    }
    int k = 0;
    while (k + 1 < colunas.size() && colunas[k + 1].esquerda <= caixa.left() + kTolerancia) ++k;
    return k;
}

// One printed band, with the page it ended on (a band cut by a page end is whole here).
struct BandaImpressa {
    quint32 numero = 0;
    TipoBanda tipo = TipoBanda::Detalhe;
    int pagina = 0;
    QVector<ItemTexto> itens;
};

// What a band is in the table.
enum class Papel { Pagina, Titulos, Linha, Livre };

// Walks the document's bands in print order, telling each one's role and, for titles
// and rows, the columns that hold it. `fimPagina(p)` runs after the bands of page p.
class Percurso {
public:
    using Visita = std::function<void(const BandaImpressa&, Papel, const QVector<Coluna>*, int layout)>;

    explicit Percurso(const DocumentoRelatorio& d) : m_doc(d) {}

    void executa(const Visita& visita, const std::function<void(int)>& fimPagina) {
        m_visita = visita;
        m_colunas.clear();
        m_sub.clear();
        m_layoutColunas = m_layoutSub = -1;
        m_layouts = 0;
        BandaImpressa pendente;
        bool temPendente = false;
        for (int p = 0; p < m_doc.NumPaginas(); ++p) {
            std::map<quint32, QVector<ItemTexto>> bandas;
            const auto pagina = m_doc.Pagina(p);
            for (const ItemTexto& t : pagina->textos) bandas[t.banda].push_back(t);
            for (auto& [numero, itens] : bandas) {
                if (temPendente && pendente.numero == numero) {
                    pendente.itens += itens;  // the rest of a band cut by the page end
                    continue;
                }
                if (temPendente) trata(pendente);
                pendente = BandaImpressa{numero, itens.first().tipoBanda, p, std::move(itens)};
                temPendente = true;
            }
            // Page headers and footers never continue on the next page.
            if (temPendente && ehPagina(pendente.tipo)) {
                trata(pendente);
                temPendente = false;
            }
            if (temPendente && fimPagina) {
                // The last band may go on: it is told with the page it started on.
                trata(pendente);
                temPendente = false;
            }
            if (fimPagina) fimPagina(p);
        }
        if (temPendente) trata(pendente);
    }

private:
    void trata(const BandaImpressa& b) {
        switch (b.tipo) {
            case TipoBanda::CabecalhoPagina:
            case TipoBanda::RodapePagina:
                m_visita(b, Papel::Pagina, nullptr, -1);
                return;
            case TipoBanda::CabecalhoColuna: {
                QVector<Coluna> novas = colunasDe(b.itens);
                if (!mesmas(novas, m_colunas)) {
                    m_colunas = std::move(novas);
                    m_layoutColunas = m_layouts++;
                }
                m_visita(b, Papel::Titulos, &m_colunas, m_layoutColunas);
                return;
            }
            case TipoBanda::CabecalhoSub: {
                QVector<Coluna> novas = colunasDe(b.itens);
                if (!mesmas(novas, m_sub)) {
                    m_sub = std::move(novas);
                    m_layoutSub = m_layouts++;
                }
                m_visita(b, Papel::Titulos, &m_sub, m_layoutSub);
                return;
            }
            case TipoBanda::DetalheSub:
            case TipoBanda::RodapeSub:
                if (m_layoutSub >= 0) m_visita(b, Papel::Linha, &m_sub, m_layoutSub);
                else m_visita(b, Papel::Livre, nullptr, -1);
                return;
            default:
                if (m_layoutColunas >= 0) m_visita(b, Papel::Linha, &m_colunas, m_layoutColunas);
                else m_visita(b, Papel::Livre, nullptr, -1);
                return;
        }
    }

    static bool mesmas(const QVector<Coluna>& a, const QVector<Coluna>& b) {
        if (a.size() != b.size()) return false;
        for (int i = 0; i < a.size(); ++i)
            if (a[i].titulo != b[i].titulo || qAbs(a[i].esquerda - b[i].esquerda) > kTolerancia)
                return false;
        return true;
    }

    const DocumentoRelatorio& m_doc;
    Visita m_visita;
    QVector<Coluna> m_colunas, m_sub;
    int m_layoutColunas = -1, m_layoutSub = -1, m_layouts = 0;
};

// The fields of a row: one per column, texts of one column joined by a space.
QStringList camposDe(const BandaImpressa& b, const QVector<Coluna>& colunas) {
    QStringList campos;
    for (int k = 0; k < colunas.size(); ++k) campos << QString();
    const bool detalhe = b.tipo == TipoBanda::Detalhe || b.tipo == TipoBanda::DetalheSub ||
                         b.tipo == TipoBanda::Filha;
    for (const ItemTexto* t : emOrdemDeLeitura(b.itens)) {
        const QString v = semQuebras(t->texto);
        if (v.isEmpty()) continue;
        QString& campo = campos[colunaDe(colunas, t->caixa, detalhe)];
        campo += (campo.isEmpty() ? QString() : QStringLiteral(" ")) + v;
    }
    return campos;
}

QStringList titulosDe(const QVector<Coluna>& colunas) {
    QStringList t;
    for (const Coluna& c : colunas) t << c.titulo;
    return t;
}

// Lines of texts laid out by their places on the page (the page header, and bands no
// title heads), starting at `esquerda`.
QString linhasPosicionais(const QVector<ItemTexto>& todos, qreal esquerda) {
    QString saida;
    const QVector<const ItemTexto*> itens = emOrdemDeLeitura(todos);
    int i = 0;
    while (i < itens.size()) {
        const qreal topo = itens[i]->caixa.top();
        const qreal tolerancia = itens[i]->caixa.height() / 2;
        QVector<const ItemTexto*> linha;
        while (i < itens.size() && qAbs(itens[i]->caixa.top() - topo) <= tolerancia) linha << itens[i++];
        std::sort(linha.begin(), linha.end(), [](const ItemTexto* a, const ItemTexto* b) {
            return a->caixa.left() < b->caixa.left();
        });
        QString texto;
        for (const ItemTexto* t : linha) {
            const QString v = semQuebras(t->texto);
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
    return saida;
}

}  // namespace

void Csv(const DocumentoRelatorio& documento, QIODevice& destino) {
    Saida saida(destino);
    QStringList ultimosTitulos;
    bool titulosEscritos = false;
    const auto linha = [&](const QStringList& campos) {
        QStringList q;
        q.reserve(campos.size());
        for (const QString& c : campos) q << campoCsv(c);
        saida += q.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    };
    Percurso(documento).executa(
        [&](const BandaImpressa& b, Papel papel, const QVector<Coluna>* colunas, int) {
            switch (papel) {
                case Papel::Pagina:
                    return;
                case Papel::Titulos: {
                    // A column header repeated on every page is written once; a list's
                    // heading each time it was printed.
                    const QStringList t = titulosDe(*colunas);
                    if (b.tipo == TipoBanda::CabecalhoColuna && titulosEscritos && t == ultimosTitulos)
                        return;
                    if (b.tipo == TipoBanda::CabecalhoColuna) {
                        titulosEscritos = true;
                        ultimosTitulos = t;
                    }
                    linha(t);
                    return;
                }
                case Papel::Linha:
                    linha(camposDe(b, *colunas));
                    return;
                case Papel::Livre: {
                    QStringList campos;
                    for (const ItemTexto* t : emOrdemDeLeitura(b.itens)) campos << semQuebras(t->texto);
                    linha(campos);
                    return;
                }
            }
        },
        {});
}

void Texto(const DocumentoRelatorio& documento, QIODevice& destino) {
    // First pass: the width of every column (titles and the rows they head).
    std::map<int, QVector<int>> larguras;
    std::map<int, QVector<bool>> aDireita;
    const auto mede = [&](int layout, const QStringList& campos) {
        QVector<int>& l = larguras[layout];
        if (l.size() < campos.size()) l.resize(campos.size());
        for (int k = 0; k < campos.size(); ++k) l[k] = qMax(l[k], int(campos[k].size()));
    };
    Percurso(documento).executa(
        [&](const BandaImpressa& b, Papel papel, const QVector<Coluna>* colunas, int layout) {
            if (papel == Papel::Titulos) {
                mede(layout, titulosDe(*colunas));
                QVector<bool>& d = aDireita[layout];
                d.clear();
                for (const Coluna& c : *colunas) d << c.aDireita;
            } else if (papel == Papel::Linha && b.tipo != TipoBanda::CabecalhoGrupo &&
                       b.tipo != TipoBanda::RodapeGrupo && b.tipo != TipoBanda::Sumario &&
                       b.tipo != TipoBanda::RodapeSub) {
                mede(layout, camposDe(b, *colunas));
            }
        },
        {});

    Saida saida(destino);
    QString pagina;
    int paginaMedida = -1;
    qreal esquerda = 0;
    const auto fixa = [&](const QStringList& campos, int layout) {
        const QVector<int>& l = larguras[layout];
        const QVector<bool>& d = aDireita[layout];
        QString texto;
        for (int k = 0; k < campos.size(); ++k) {
            if (k > 0) texto += QString(kEntreColunas, QLatin1Char(' '));
            const int largura = k < l.size() ? l[k] : 0;
            texto += k < d.size() && d[k] ? campos[k].rightJustified(largura)
                                          : campos[k].leftJustified(largura);
        }
        while (texto.endsWith(QLatin1Char(' '))) texto.chop(1);
        return texto + QLatin1Char('\n');
    };
    // The page's left margin starts the laid-out lines.
    const auto esquerdaDa = [&](int p) {
        if (p != paginaMedida) {
            paginaMedida = p;
            esquerda = documento.TamanhoPagina().width();
            const auto lida = documento.Pagina(p);
            for (const ItemTexto& t : lida->textos) esquerda = qMin(esquerda, t.caixa.left());
        }
        return esquerda;
    };
    Percurso(documento).executa(
        [&](const BandaImpressa& b, Papel papel, const QVector<Coluna>* colunas, int layout) {
            switch (papel) {
                case Papel::Pagina:
                case Papel::Livre:
                    pagina += linhasPosicionais(b.itens, esquerdaDa(b.pagina));
                    return;
                case Papel::Titulos:
                    pagina += fixa(titulosDe(*colunas), layout);
                    return;
                case Papel::Linha:
                    pagina += fixa(camposDe(b, *colunas), layout);
                    return;
            }
        },
        [&](int p) {
            if (p > 0) saida += QLatin1Char('\f');
            saida += pagina;
            pagina.clear();
        });
}

}  // namespace ExportacaoColunas
