#pragma once
// Shared support of the report tests: rows in memory, the texts of generated pages,
// answers to modal dialogs and file choosers.
#include <QDialog>
#include <QImage>
#include <QPainter>

#include "apoio/Apoio.h"
#include "common/ExecucaoModal.h"
#include "platform/Plataforma.h"
#include "reports/DocumentoRelatorio.h"
#include "reports/FonteDados.h"
#include "app/ConduzModal.h"

namespace ApoioRelatorios {

using Apoio::Modais;

inline Resultado tabela(const QStringList& colunas, const QVector<QVariantList>& linhas) {
    Resultado r;
    r.colunas = colunas;
    r.info.resize(colunas.size());
    r.linhas = linhas;
    return r;
}

// The texts of a page, in the order they were printed.
inline QStringList textos(const PaginaRelatorio& p) {
    QStringList t;
    for (const ItemTexto& i : p.textos) t << i.texto;
    return t;
}

// The texts of every page, in order.
inline QStringList textos(const DocumentoRelatorio& d) {
    QStringList t;
    for (int p = 0; p < d.NumPaginas(); ++p) t << textos(*d.Pagina(p));
    return t;
}

// The texts of the bands of one kind, in order.
inline QStringList textosDe(const DocumentoRelatorio& d, TipoBanda tipo) {
    QStringList t;
    for (int p = 0; p < d.NumPaginas(); ++p)
        for (const ItemTexto& i : d.Pagina(p)->textos)
            if (i.tipoBanda == tipo) t << i.texto;
    return t;
}

// The first item of a page with that text (nullptr when none).
inline const ItemTexto* item(const PaginaRelatorio& p, const QString& texto) {
    for (const ItemTexto& i : p.textos)
        if (i.texto == texto) return &i;
    return nullptr;
}

// One page drawn on an image, `pixelsPorMm` pixels per millimetre.
inline QImage imagem(const DocumentoRelatorio& d, int pagina, qreal pixelsPorMm = 4) {
    const QSizeF s = d.TamanhoPagina() * (pixelsPorMm / UnidadeRelatorio::PorMm);
    QImage img(s.toSize(), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter g(&img);
    g.setRenderHint(QPainter::Antialiasing);
    g.setRenderHint(QPainter::TextAntialiasing);
    g.scale(pixelsPorMm / UnidadeRelatorio::PorMm, pixelsPorMm / UnidadeRelatorio::PorMm);
    d.Desenha(g, pagina);
    g.end();
    return img;
}

// Answers the file choosers with the paths given, in order (then: cancel); records
// what each one asked.
class Arquivos {
public:
    explicit Arquivos(QStringList respostas) : m_respostas(std::move(respostas)) {
        m_anterior = SeletorArquivo::define(
            [this](QWidget*, const SeletorArquivo::Pedido& p) {
                pedidos << p;
                return m_respostas.isEmpty() ? QString() : m_respostas.takeFirst();
            });
    }
    ~Arquivos() { SeletorArquivo::define(std::move(m_anterior)); }
    QVector<SeletorArquivo::Pedido> pedidos;

private:
    QStringList m_respostas;
    SeletorArquivo::Tratador m_anterior;
};

}  // namespace ApoioRelatorios
