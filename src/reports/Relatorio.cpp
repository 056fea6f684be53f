#include "reports/Relatorio.h"

#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>
#include <algorithm>

#include "db/Erro.h"
#include "platform/Plataforma.h"

namespace {
constexpr int kMaxLargurasGuardadas = 4096;
}

QFont FonteRelatorio(qreal pontos, bool negrito, bool italico) {
    // One family name (each text of a page records its font): where it is missing, the
    // system's sans-serif face stands in.
    QFont f(QStringLiteral("Liberation Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(UnidadeRelatorio::Pontos(pontos));
    f.setBold(negrito);
    f.setItalic(italico);
    // The same widths on the screen, on paper and in the files, whatever the size drawn.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

// ---------------------------------------------------------------------------

Elemento* Banda::Item(const QString& nome) const {
    for (const auto& e : m_elementos)
        if (e->nome == nome) return e.get();
    return nullptr;
}

Elemento* Banda::adiciona(Elemento::Tipo tipo, const QString& nome, const QRectF& caixa,
                          const QFont& fonte, int alinhamento) {
    auto e = std::make_unique<Elemento>();
    e->tipo = tipo;
    e->nome = nome;
    e->caixa = caixa;
    e->fonte = fonte;
    e->alinhamento = alinhamento;
    m_elementos.push_back(std::move(e));
    return m_elementos.back().get();
}

Elemento* Banda::Rotulo(const QString& nome, const QString& texto, const QRectF& caixa,
                        const QFont& fonte, int alinhamento) {
    Elemento* e = adiciona(Elemento::Tipo::Rotulo, nome, caixa, fonte, alinhamento);
    e->texto = texto;
    return e;
}

Elemento* Banda::Campo(const QString& nome, const QString& coluna, const QRectF& caixa,
                       const QFont& fonte, int alinhamento) {
    Elemento* e = adiciona(Elemento::Tipo::Campo, nome, caixa, fonte, alinhamento);
    e->campo = coluna;
    return e;
}

Elemento* Banda::Sistema(const QString& nome, Elemento::Dado dado, const QString& prefixo,
                         const QRectF& caixa, const QFont& fonte, int alinhamento) {
    Elemento* e = adiciona(Elemento::Tipo::Sistema, nome, caixa, fonte, alinhamento);
    e->dado = dado;
    e->texto = prefixo;
    return e;
}

Elemento* Banda::Expressao(const QString& nome, Elemento::Agregado agregado,
                           const QString& coluna, const QRectF& caixa, const QFont& fonte,
                           int alinhamento) {
    Elemento* e = adiciona(Elemento::Tipo::Expressao, nome, caixa, fonte, alinhamento);
    e->agregado = agregado;
    e->campo = coluna;
    return e;
}

Elemento* Banda::Linha(const QString& nome, const QRectF& caixa, qreal espessura) {
    Elemento* e = adiciona(Elemento::Tipo::Linha, nome, caixa, QFont(), 0);
    e->espessura = espessura;
    return e;
}

Elemento* Banda::Desenho(const QString& nome, const QRectF& caixa,
                         std::function<void(QPainter&, const QRectF&)> desenho) {
    Elemento* e = adiciona(Elemento::Tipo::Desenho, nome, caixa, QFont(), 0);
    e->desenho = std::move(desenho);
    return e;
}

// ---------------------------------------------------------------------------

// A row being printed, with the names of its values.
struct Relatorio::Linha {
    QVariantList valores;
    const FonteDados* fonte = nullptr;
    std::shared_ptr<FonteDados> dono;     // keeps a list's source alive
    std::shared_ptr<const Linha> mestre;  // for a list's row: the detail's row above it
};

struct Relatorio::Grupo {
    Banda* cabecalho = nullptr;
    int indice = -1;  // of the break column in the source
    QVariant chave;
    bool aberto = false;
    std::shared_ptr<const Linha> linha;  // of its header
};

// The lines of a text that wraps, as laid out in its box.
struct Relatorio::LayoutTexto {
    struct L {
        int inicio = 0;
        int comprimento = 0;
        qreal y = 0;
        qreal altura = 0;
        qreal largura = 0;
        qreal ascendente = 0;
    };
    Elemento* elemento = nullptr;
    QString texto;
    QVector<L> linhas;
    qreal ajuste = 0;  // a text shorter than its box keeps the box's vertical alignment
};

// What the generation still has to do, in order.
struct Relatorio::Pendente {
    enum class Tipo { Banda, LeMestre, AbreSub, LeSub, Fim };
    Tipo tipo = Tipo::Banda;
    Banda* banda = nullptr;
    TipoBanda tipoExporta = TipoBanda::Detalhe;
    std::shared_ptr<const Linha> linha;
    SubDetalhe* sub = nullptr;
    std::shared_ptr<FonteDados> fonteSub;
    // Set when the band's event has run.
    bool preparada = false;
    qreal altura = 0;
    qreal jaImpresso = 0;  // height printed on earlier pages (a band taller than a page)
    quint32 numero = 0;
    std::vector<LayoutTexto> layouts;  // of the growing elements, in order
    std::vector<qreal> topos;          // each element's top in the band, after growth above it

    static Pendente DeBanda(Banda* b, std::shared_ptr<const Linha> l) {
        Pendente p;
        p.banda = b;
        p.tipoExporta = b->tipo;
        p.linha = std::move(l);
        return p;
    }
    static Pendente De(Tipo t) {
        Pendente p;
        p.tipo = t;
        return p;
    }
};

Relatorio::Relatorio(QObject* pai) : QObject(pai) {}
Relatorio::~Relatorio() = default;

Banda* Relatorio::CriaBanda(TipoBanda tipo, qreal altura, const QString& nome) {
    m_bandas.push_back(std::make_unique<Banda>(tipo, altura, nome));
    return m_bandas.back().get();
}

Banda* Relatorio::CriaGrupo(const QString& campoQuebra, qreal altura, const QString& nome) {
    Banda* b = CriaBanda(TipoBanda::CabecalhoGrupo, altura, nome);
    b->campoQuebra = campoQuebra;
    Grupo g;
    g.cabecalho = b;
    m_grupos.push_back(g);
    return b;
}

Banda* Relatorio::CriaRodapeGrupo(Banda* cabecalhoGrupo, qreal altura, const QString& nome) {
    Banda* b = CriaBanda(TipoBanda::RodapeGrupo, altura, nome);
    cabecalhoGrupo->rodapeGrupo = b;
    return b;
}

Banda* Relatorio::CriaFilha(Banda* pai, qreal altura, const QString& nome) {
    Banda* b = CriaBanda(TipoBanda::Filha, altura, nome);
    pai->filhas.push_back(b);
    return b;
}

SubDetalhe* Relatorio::CriaSubDetalhe(std::function<std::unique_ptr<FonteDados>()> fonte,
                                      qreal alturaDetalhe, qreal alturaCabecalho,
                                      qreal alturaRodape) {
    Banda* mestre = PrimeiraBanda(TipoBanda::Detalhe);
    if (!mestre) mestre = CriaBanda(TipoBanda::Detalhe, 0);
    auto sub = std::make_unique<SubDetalhe>();
    sub->fonte = std::move(fonte);
    sub->detalhe = CriaBanda(TipoBanda::DetalheSub, alturaDetalhe);
    if (alturaCabecalho > 0) sub->cabecalho = CriaBanda(TipoBanda::CabecalhoSub, alturaCabecalho);
    if (alturaRodape > 0) sub->rodape = CriaBanda(TipoBanda::RodapeSub, alturaRodape);
    mestre->subDetalhes.push_back(sub.get());
    m_subDetalhes.push_back(std::move(sub));
    return m_subDetalhes.back().get();
}

Banda* Relatorio::PrimeiraBanda(TipoBanda tipo) const {
    for (const auto& b : m_bandas)
        if (b->tipo == tipo) return b.get();
    return nullptr;
}

void Relatorio::DefineFonte(std::unique_ptr<FonteDados> fonte) { m_fonte = std::move(fonte); }

// --- values ----------------------------------------------------------------------------

QVariant Relatorio::Valor(const QString& coluna) const {
    for (const Linha* l = m_contexto.get(); l; l = l->mestre.get()) {
        const int i = l->fonte ? l->fonte->Indice(coluna) : -1;
        if (i >= 0) return l->valores.value(i);
    }
    return QVariant();
}

bool Relatorio::TemColuna(const QString& coluna) const {
    for (const Linha* l = m_contexto.get(); l; l = l->mestre.get())
        if (l->fonte && l->fonte->Indice(coluna) >= 0) return true;
    return false;
}

QString Relatorio::FormataValor(const QVariant& v) {
    if (!v.isValid() || v.isNull()) return QString();
    static const QLocale br(QLocale::Portuguese, QLocale::Brazil);
    switch (v.typeId()) {
        case QMetaType::QDate:
            return v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
        case QMetaType::QDateTime: {
            const QDateTime d = v.toDateTime();
            return d.time() == QTime(0, 0) ? d.date().toString(QStringLiteral("dd/MM/yyyy"))
                                           : d.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
        }
        case QMetaType::Double:
        case QMetaType::Float:
            return br.toString(v.toDouble(), 'f', 2);
        default:
            return v.toString();
    }
}

void Relatorio::defineContexto(const std::shared_ptr<const Linha>& linha) { m_contexto = linha; }

QString Relatorio::textoDe(Elemento& e) {
    switch (e.tipo) {
        case Elemento::Tipo::Rotulo:
            return e.texto;
        case Elemento::Tipo::Campo: {
            QVariant v;
            for (const Linha* l = m_contexto.get(); l; l = l->mestre.get()) {
                if (e.fonteCache != l->fonte) {
                    e.fonteCache = l->fonte;
                    e.indiceCache = l->fonte ? l->fonte->Indice(e.campo) : -1;
                }
                if (e.indiceCache >= 0) {
                    v = l->valores.value(e.indiceCache);
                    break;
                }
            }
            return e.texto + (e.formato ? e.formato(v) : FormataValor(v));
        }
        case Elemento::Tipo::Sistema:
            switch (e.dado) {
                case Elemento::Dado::Titulo:
                    return e.texto + Titulo;
                case Elemento::Dado::Data:
                    return e.texto + m_emissao.date().toString(QStringLiteral("dd/MM/yyyy"));
                case Elemento::Dado::Hora:
                    return e.texto + m_emissao.time().toString(QStringLiteral("HH:mm:ss"));
                case Elemento::Dado::NumeroPagina:
                    return e.texto + QString::number(m_numPagina);
            }
            return e.texto;
        case Elemento::Tipo::Expressao: {
            const QVariant v = e.agregado == Elemento::Agregado::Contagem ? QVariant(e.contagem)
                                                                          : QVariant(e.soma);
            return e.texto + (e.formato ? e.formato(v) : FormataValor(v));
        }
        case Elemento::Tipo::Linha:
        case Elemento::Tipo::Desenho:
            break;
    }
    return QString();
}

// --- generation ---------------------------------------------------------------------

void Relatorio::Inicia() {
    m_concluido = true;
    m_pintor.reset();
    m_pagina.reset();
    m_paginaAberta = false;
    m_fila.clear();
    m_documento = std::make_shared<DocumentoRelatorio>();
    m_documento->titulo = Titulo;
    m_documento->paisagem = Paisagem;
    m_emissao = Relogio::agora();
    m_numPagina = 0;
    m_numBanda = 0;
    m_contexto.reset();
    m_ultimoMestre.reset();
    for (Grupo& g : m_grupos) {
        g.chave = QVariant();
        g.aberto = false;
        g.linha.reset();
        g.indice = -1;
    }
    m_expressoes.clear();
    Banda* detalhe = PrimeiraBanda(TipoBanda::Detalhe);
    for (const auto& b : m_bandas)
        for (const auto& e : b->Elementos()) {
            e->fonteCache = nullptr;
            e->larguras.clear();
            if (e->tipo != Elemento::Tipo::Expressao) continue;
            if (!e->contaBanda) e->contaBanda = detalhe;
            e->contagem = 0;
            e->soma = 0;
            m_expressoes << e.get();
        }
    AntesDeGerar();
    if (m_fonte) {
        m_fonte->Abre();
        for (Grupo& g : m_grupos) g.indice = m_fonte->Indice(g.cabecalho->campoQuebra);
    }
    m_fila.push_back(Pendente::De(Pendente::Tipo::LeMestre));
    m_concluido = false;
}

void Relatorio::GeraTudo() {
    Inicia();
    while (GeraPagina()) {
    }
}

int Relatorio::grupoDoCabecalho(const Banda* b) const {
    for (int i = 0; i < int(m_grupos.size()); ++i)
        if (m_grupos[i].cabecalho == b) return i;
    return -1;
}

void Relatorio::leMestre() {
    std::vector<Pendente> novos;
    QVariantList valores;
    const int n = int(m_grupos.size());
    if (m_fonte && m_fonte->Le(valores)) {
        auto linha = std::make_shared<Linha>();
        linha->valores = std::move(valores);
        linha->fonte = m_fonte.get();
        // The outermost group whose break column changed.
        int nivel = n;
        for (int i = 0; i < n; ++i) {
            const QVariant chave = linha->valores.value(m_grupos[i].indice);
            if (!m_ultimoMestre || chave != m_grupos[i].chave) {
                nivel = i;
                break;
            }
        }
        if (m_ultimoMestre)
            for (int i = n - 1; i >= nivel; --i)
                if (Banda* r = m_grupos[i].cabecalho->rodapeGrupo)
                    novos.push_back(Pendente::DeBanda(r, m_ultimoMestre));
        for (int i = nivel; i < n; ++i) {
            m_grupos[i].chave = linha->valores.value(m_grupos[i].indice);
            novos.push_back(Pendente::DeBanda(m_grupos[i].cabecalho, linha));
        }
        if (Banda* d = PrimeiraBanda(TipoBanda::Detalhe))
            novos.push_back(Pendente::DeBanda(d, linha));
        novos.push_back(Pendente::De(Pendente::Tipo::LeMestre));
        m_ultimoMestre = linha;
    } else {
        if (m_ultimoMestre)
            for (int i = n - 1; i >= 0; --i)
                if (Banda* r = m_grupos[i].cabecalho->rodapeGrupo)
                    novos.push_back(Pendente::DeBanda(r, m_ultimoMestre));
        if (Banda* s = PrimeiraBanda(TipoBanda::Sumario))
            novos.push_back(Pendente::DeBanda(s, m_ultimoMestre));
        novos.push_back(Pendente::De(Pendente::Tipo::Fim));
    }
    for (auto it = novos.rbegin(); it != novos.rend(); ++it) m_fila.push_front(std::move(*it));
}

void Relatorio::abreSubDetalhe(Pendente p) {
    defineContexto(p.linha);
    std::shared_ptr<FonteDados> fonte(p.sub->fonte ? p.sub->fonte().release() : nullptr);
    if (!fonte) return;
    fonte->Abre();
    QVariantList valores;
    const bool tem = fonte->Le(valores);
    if (!tem && !p.sub->imprimeSeVazio) {
        fonte->Fecha();
        return;
    }
    std::vector<Pendente> novos;
    if (p.sub->cabecalho) novos.push_back(Pendente::DeBanda(p.sub->cabecalho, p.linha));
    if (tem) {
        auto linha = std::make_shared<Linha>();
        linha->valores = std::move(valores);
        linha->fonte = fonte.get();
        linha->dono = fonte;
        linha->mestre = p.linha;
        novos.push_back(Pendente::DeBanda(p.sub->detalhe, linha));
        Pendente leitura = Pendente::De(Pendente::Tipo::LeSub);
        leitura.sub = p.sub;
        leitura.fonteSub = fonte;
        leitura.linha = p.linha;
        novos.push_back(std::move(leitura));
    } else if (p.sub->rodape) {
        novos.push_back(Pendente::DeBanda(p.sub->rodape, p.linha));
    }
    for (auto it = novos.rbegin(); it != novos.rend(); ++it) m_fila.push_front(std::move(*it));
}

void Relatorio::leSubDetalhe() {
    Pendente& p = m_fila.front();
    QVariantList valores;
    if (p.fonteSub->Le(valores)) {
        auto linha = std::make_shared<Linha>();
        linha->valores = std::move(valores);
        linha->fonte = p.fonteSub.get();
        linha->dono = p.fonteSub;
        linha->mestre = p.linha;
        m_fila.push_front(Pendente::DeBanda(p.sub->detalhe, std::move(linha)));
        return;
    }
    Pendente fim = std::move(p);
    m_fila.pop_front();
    fim.fonteSub->Fecha();
    if (fim.sub->rodape) m_fila.push_front(Pendente::DeBanda(fim.sub->rodape, fim.linha));
}

bool Relatorio::GeraPagina() {
    if (m_concluido) return false;
    try {
        iniciaPagina();
        for (;;) {
            Pendente& p = m_fila.front();
            switch (p.tipo) {
                case Pendente::Tipo::LeMestre:
                    m_fila.pop_front();
                    leMestre();
                    continue;
                case Pendente::Tipo::AbreSub: {
                    Pendente abre = std::move(p);
                    m_fila.pop_front();
                    abreSubDetalhe(std::move(abre));
                    continue;
                }
                case Pendente::Tipo::LeSub:
                    leSubDetalhe();
                    continue;
                case Pendente::Tipo::Fim:
                    m_fila.pop_front();
                    fechaPagina(true);
                    return true;
                case Pendente::Tipo::Banda:
                    break;
            }
            if (!p.preparada && !prepara(p)) {
                m_fila.pop_front();
                continue;
            }
            if (p.banda->tipo == TipoBanda::CabecalhoGrupo && p.banda->novaPagina &&
                !m_corpoVazio && p.jaImpresso == 0) {
                fechaPagina(false);
                return true;
            }
            if (m_y + (p.altura - p.jaImpresso) > m_limite + 0.01) {
                // Does not fit: on the next page; a band taller than a whole page is
                // printed in parts.
                if (m_corpoVazio) imprime(p, m_limite);
                fechaPagina(false);
                return true;
            }
            imprime(p, m_limite);
            Pendente feito = std::move(p);
            m_fila.pop_front();

            Banda* b = feito.banda;
            const int g = b->tipo == TipoBanda::CabecalhoGrupo ? grupoDoCabecalho(b) : -1;
            if (g >= 0) {
                m_grupos[g].aberto = true;
                m_grupos[g].linha = feito.linha;
                for (Elemento* e : m_expressoes)
                    if (e->reiniciaEm == b) {
                        e->contagem = 0;
                        e->soma = 0;
                    }
            }
            if (b->tipo == TipoBanda::RodapeGrupo)
                for (Grupo& gr : m_grupos)
                    if (gr.cabecalho->rodapeGrupo == b) gr.aberto = false;
            contabiliza(b);
            enfileiraFilha(feito);
        }
    } catch (...) {
        m_pintor.reset();
        m_pagina.reset();
        m_paginaAberta = false;
        m_fila.clear();
        m_concluido = true;
        throw;
    }
}

void Relatorio::enfileiraFilha(const Pendente& pai) {
    std::vector<Pendente> novos;
    for (Banda* filha : pai.banda->filhas) {
        Pendente f = Pendente::DeBanda(filha, pai.linha);
        f.tipoExporta = pai.tipoExporta;
        novos.push_back(std::move(f));
    }
    for (SubDetalhe* s : pai.banda->subDetalhes) {
        Pendente a = Pendente::De(Pendente::Tipo::AbreSub);
        a.sub = s;
        a.linha = pai.linha;
        novos.push_back(std::move(a));
    }
    for (auto it = novos.rbegin(); it != novos.rend(); ++it) m_fila.push_front(std::move(*it));
}

void Relatorio::contabiliza(Banda* banda) {
    for (Elemento* e : m_expressoes) {
        if (e->contaBanda != banda) continue;
        ++e->contagem;
        if (e->agregado == Elemento::Agregado::Soma) e->soma += Valor(e->campo).toDouble();
    }
}

void Relatorio::iniciaPagina() {
    m_pagina = std::make_unique<PaginaRelatorio>();
    m_pintor = std::make_unique<QPainter>(&m_pagina->figura);
    m_pintor->setRenderHint(QPainter::Antialiasing);
    m_pintor->setRenderHint(QPainter::TextAntialiasing);
    m_paginaAberta = true;
    m_fonteAtual = QFont();
    m_corAtual = QColor();
    ++m_numPagina;
    m_y = Margem;
    const Banda* rodape = PrimeiraBanda(TipoBanda::RodapePagina);
    m_limite = TamanhoPagina().height() - Margem - (rodape ? rodape->altura : 0);

    // Page and column headers show the row about to be printed.
    const Pendente* proxima = nullptr;
    for (const Pendente& p : m_fila)
        if (p.tipo == Pendente::Tipo::Banda) {
            proxima = &p;
            break;
        }
    const std::shared_ptr<const Linha> linha =
        proxima && proxima->linha ? proxima->linha : m_ultimoMestre;
    if (Banda* b = PrimeiraBanda(TipoBanda::CabecalhoPagina)) imprimeFixa(b, linha);
    if (Banda* b = PrimeiraBanda(TipoBanda::CabecalhoColuna)) imprimeFixa(b, linha);
    // Headers of the groups still open, unless the page starts with a new one.
    int ate = int(m_grupos.size());
    if (proxima && proxima == &m_fila.front() && proxima->jaImpresso == 0) {
        const int g = grupoDoCabecalho(proxima->banda);
        if (g >= 0) ate = g;
    }
    for (int i = 0; i < ate; ++i)
        if (m_grupos[i].aberto && m_grupos[i].cabecalho->repeteNaPagina)
            imprimeFixa(m_grupos[i].cabecalho, m_grupos[i].linha);
    m_corpoVazio = true;
}

void Relatorio::fechaPagina(bool ultima) {
    if (Banda* b = PrimeiraBanda(TipoBanda::RodapePagina)) {
        m_y = TamanhoPagina().height() - Margem - b->altura;
        imprimeFixa(b, m_ultimoMestre);
    }
    m_pintor->end();
    m_pintor.reset();
    m_pagina->figura.setBoundingRect(QRect(QPoint(0, 0), TamanhoPagina().toSize()));
    m_pagina->textos.squeeze();
    m_documento->AdicionaPagina(std::move(*m_pagina));
    m_pagina.reset();
    m_paginaAberta = false;
    if (ultima) {
        m_concluido = true;
        m_fila.clear();
        DepoisDeGerar();
    }
    emit paginaPronta(m_numPagina, ultima);
}

void Relatorio::imprimeFixa(Banda* banda, const std::shared_ptr<const Linha>& linha) {
    Pendente p = Pendente::DeBanda(banda, linha);
    if (!prepara(p)) return;
    const bool vazio = m_corpoVazio;
    imprime(p, TamanhoPagina().height());
    m_corpoVazio = vazio;
    // Children of a page header belong to the page header.
    for (Banda* filha : banda->filhas) {
        Pendente f = Pendente::DeBanda(filha, linha);
        f.tipoExporta = banda->tipo;
        if (prepara(f)) {
            imprime(f, TamanhoPagina().height());
            m_corpoVazio = vazio;
        }
    }
}

bool Relatorio::prepara(Pendente& p) {
    defineContexto(p.linha);
    p.preparada = true;
    if (p.banda->AntesImprimir && !p.banda->AntesImprimir(*p.banda)) return false;
    p.altura = alturaDe(p);
    return true;
}

qreal Relatorio::alturaDe(Pendente& p) {
    const auto& elementos = p.banda->Elementos();
    const size_t n = elementos.size();
    p.layouts.clear();
    p.topos.assign(n, 0);
    std::vector<qreal> crescimento(n, 0);
    for (size_t i = 0; i < n; ++i) {
        Elemento& e = *elementos[i];
        p.topos[i] = e.caixa.top();
        if (!e.visivel || !e.cresce) continue;
        LayoutTexto lt;
        lt.elemento = &e;
        lt.texto = textoDe(e);
        lt.texto.remove(QLatin1Char('\r'));
        lt.texto.replace(QLatin1Char('\n'), QChar::LineSeparator);
        qreal altura = 0;
        const QFontMetricsF medida(e.fonte);
        qreal largura = -1;
        if (!lt.texto.contains(QChar::LineSeparator)) {
            if (e.fonteLarguras != e.fonte) {
                e.larguras.clear();
                e.fonteLarguras = e.fonte;
            }
            auto it = e.larguras.constFind(lt.texto);
            if (it != e.larguras.constEnd()) {
                largura = it.value();
            } else {
                largura = medida.horizontalAdvance(lt.texto);
                if (e.larguras.size() >= kMaxLargurasGuardadas) e.larguras.clear();
                e.larguras.insert(lt.texto, largura);
            }
        }
        if (largura >= 0 && largura <= e.caixa.width()) {
            // One line that fits needs no layout: its width is enough.
            altura = medida.ascent() + medida.descent();
            lt.linhas.push_back({0, int(lt.texto.size()), 0, altura, largura, medida.ascent()});
        } else {
            QTextLayout layout(lt.texto, e.fonte);
            QTextOption opcao;
            opcao.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
            layout.setTextOption(opcao);
            layout.beginLayout();
            for (;;) {
                QTextLine l = layout.createLine();
                if (!l.isValid()) break;
                l.setLineWidth(e.caixa.width());
                l.setPosition(QPointF(0, altura));
                lt.linhas.push_back({l.textStart(), l.textLength(), altura, l.height(),
                                     l.naturalTextWidth(), l.ascent()});
                altura += l.height();
            }
            layout.endLayout();
        }
        if (altura < e.caixa.height()) {
            if (e.alinhamento & Qt::AlignVCenter) lt.ajuste = (e.caixa.height() - altura) / 2;
            else if (e.alinhamento & Qt::AlignBottom) lt.ajuste = e.caixa.height() - altura;
        }
        crescimento[i] = qMax<qreal>(0, altura - e.caixa.height());
        p.layouts.push_back(std::move(lt));
    }
    // What stands below a text that grew moves down with it.
    std::vector<size_t> ordem(n);
    for (size_t i = 0; i < n; ++i) ordem[i] = i;
    std::stable_sort(ordem.begin(), ordem.end(), [&](size_t a, size_t b) {
        return elementos[a]->caixa.top() < elementos[b]->caixa.top();
    });
    std::vector<qreal> deslocamento(n, 0);
    qreal extra = 0;
    for (size_t k = 0; k < n; ++k) {
        const size_t i = ordem[k];
        for (size_t m = 0; m < k; ++m) {
            const size_t j = ordem[m];
            if (crescimento[j] > 0 && elementos[j]->caixa.bottom() <= elementos[i]->caixa.top() + 0.5)
                deslocamento[i] = qMax(deslocamento[i], deslocamento[j] + crescimento[j]);
        }
        p.topos[i] = elementos[i]->caixa.top() + deslocamento[i];
        extra = qMax(extra, deslocamento[i] + crescimento[i]);
    }
    return p.banda->altura + extra;
}

quint16 Relatorio::indiceFonte(Elemento& e) {
    if (e.indiceFonte < 0 || e.fonteIndexada != e.fonte) {
        e.fonteIndexada = e.fonte;
        e.indiceFonte = m_documento->IndiceFonte(e.fonte);
    }
    return quint16(e.indiceFonte);
}

void Relatorio::imprime(Pendente& p, qreal limite) {
    QPainter& g = *m_pintor;
    const auto& elementos = p.banda->Elementos();
    const qreal topo = m_y - p.jaImpresso;  // the band's top on this page
    qreal corte = p.altura;
    if (m_y + (p.altura - p.jaImpresso) > limite) {
        // Only a part fits: cut above the first line of a wrapping text that would not.
        const qreal maximo = p.jaImpresso + (limite - m_y);
        corte = maximo;
        size_t k = 0;
        for (size_t i = 0; i < elementos.size(); ++i) {
            if (!elementos[i]->visivel || !elementos[i]->cresce) continue;
            const LayoutTexto& lt = p.layouts[k++];
            for (const LayoutTexto::L& l : lt.linhas) {
                const qreal cima = p.topos[i] + lt.ajuste + l.y;
                if (cima < corte && cima + l.altura > corte && cima > p.jaImpresso) corte = cima;
            }
        }
        if (corte <= p.jaImpresso) corte = maximo;
    }
    if (p.jaImpresso == 0) p.numero = ++m_numBanda;

    const qreal x0 = Margem;
    if (p.banda->cor.isValid() && p.banda->cor != QColor(Qt::white))
        g.fillRect(QRectF(x0, m_y, LarguraUtil(), corte - p.jaImpresso), p.banda->cor);

    size_t proximoLayout = 0;
    for (size_t i = 0; i < elementos.size(); ++i) {
        Elemento& e = *elementos[i];
        if (!e.visivel) continue;
        const qreal cimaElemento = p.topos[i];
        if (e.cresce) {
            const LayoutTexto& lt = p.layouts[proximoLayout++];
            const qreal base = topo + cimaElemento + lt.ajuste;  // the text's top on this page
            int primeira = -1, ultima = -1;
            for (int k = 0; k < lt.linhas.size(); ++k) {
                const qreal cima = cimaElemento + lt.ajuste + lt.linhas[k].y;
                if (cima < p.jaImpresso || cima >= corte) continue;
                if (primeira < 0) primeira = k;
                ultima = k;
            }
            if (primeira < 0) continue;
            const QRectF caixa(x0 + e.caixa.left(), base + lt.linhas[primeira].y, e.caixa.width(),
                               lt.linhas[ultima].y + lt.linhas[ultima].altura - lt.linhas[primeira].y);
            if (e.fundo.isValid()) g.fillRect(caixa, e.fundo);
            usaFonteECor(e);
            for (int k = primeira; k <= ultima; ++k) {
                const LayoutTexto::L& l = lt.linhas[k];
                QString t = lt.texto.mid(l.inicio, l.comprimento);
                while (!t.isEmpty() && (t.back().isSpace() || t.back() == QChar::LineSeparator))
                    t.chop(1);
                if (t.isEmpty()) continue;
                qreal x = caixa.left();
                if (e.alinhamento & Qt::AlignRight) x = caixa.right() - l.largura;
                else if (e.alinhamento & Qt::AlignHCenter) x = caixa.center().x() - l.largura / 2;
                g.drawText(QPointF(x, base + l.y + l.ascendente), t);
            }
            const int inicio = lt.linhas[primeira].inicio;
            const int fim = lt.linhas[ultima].inicio + lt.linhas[ultima].comprimento;
            QString texto = lt.texto.mid(inicio, fim - inicio).trimmed();
            texto.replace(QChar::LineSeparator, QLatin1Char('\n'));
            if (!texto.isEmpty())
                guardaTexto(e, caixa, texto, e.alinhamento | Qt::TextWordWrap, p.numero, p.tipoExporta);
            continue;
        }
        // Other elements print with the part that holds their top.
        if (cimaElemento < p.jaImpresso || (cimaElemento >= corte && corte < p.altura)) continue;
        desenhaElemento(e, QRectF(x0 + e.caixa.left(), topo + cimaElemento, e.caixa.width(), e.caixa.height()),
                        p.numero, p.tipoExporta);
    }
    m_y += corte - p.jaImpresso;
    p.jaImpresso = corte;
    m_corpoVazio = false;
}

void Relatorio::desenhaElemento(Elemento& e, const QRectF& caixa, quint32 numBanda,
                                TipoBanda tipo) {
    QPainter& g = *m_pintor;
    if (e.fundo.isValid()) g.fillRect(caixa, e.fundo);
    switch (e.tipo) {
        case Elemento::Tipo::Linha: {
            QPen caneta(e.cor, e.espessura);
            caneta.setCapStyle(Qt::FlatCap);
            g.setPen(caneta);
            m_corAtual = QColor();
            const qreal y = caixa.center().y();
            g.drawLine(QPointF(caixa.left(), y), QPointF(caixa.right(), y));
            return;
        }
        case Elemento::Tipo::Desenho:
            if (e.desenho) {
                g.save();
                e.desenho(g, caixa);
                g.restore();
            }
            return;
        default:
            break;
    }
    const QString texto = textoDe(e);
    if (texto.isEmpty()) return;
    usaFonteECor(e);
    g.drawText(caixa, e.alinhamento | Qt::TextSingleLine, texto);
    guardaTexto(e, caixa, texto, e.alinhamento, numBanda, tipo);
}

void Relatorio::usaFonteECor(const Elemento& e) {
    if (m_fonteAtual != e.fonte) {
        m_pintor->setFont(e.fonte);
        m_fonteAtual = e.fonte;
    }
    if (m_corAtual != e.cor) {
        m_pintor->setPen(e.cor);
        m_corAtual = e.cor;
    }
}

void Relatorio::guardaTexto(Elemento& e, const QRectF& caixa, const QString& texto, int alinhamento,
                            quint32 numBanda, TipoBanda tipo) {
    ItemTexto item;
    item.caixa = caixa;
    item.texto = texto;
    item.fonte = indiceFonte(e);
    item.alinhamento = quint16(alinhamento);
    item.banda = numBanda;
    item.tipoBanda = tipo;
    m_pagina->textos.push_back(std::move(item));
}
