// The group box frames the style copies from its cache are the pixels the platform's style
// draws, for every size, state and palette met one after the other.
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QProxyStyle>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include "common/Estilo.h"

namespace {

QImage desenha(QStyle* estilo, const QSize& tamanho, bool habilitado, const QColor& fundo, const QString& titulo) {
    QGroupBox caixa(titulo);
    caixa.setStyle(estilo);
    auto* l = new QVBoxLayout(&caixa);
    auto* marca = new QCheckBox(QStringLiteral("Opção"), &caixa);
    marca->setStyle(estilo);
    l->addWidget(marca);
    QPalette p = caixa.palette();
    p.setColor(QPalette::Window, fundo);
    caixa.setPalette(p);
    caixa.setEnabled(habilitado);
    caixa.resize(tamanho);
    QImage img(tamanho, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    caixa.render(&img);
    return img;
}

// The largest difference of one channel between two images of one size.
int diferenca(const QImage& a, const QImage& b) {
    int maior = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            maior = std::max({maior, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    return maior;
}

TEST(EstiloQev, MolduraDoCacheIgualADaPlataformaEmCadaTamanhoEstadoECor) {
    EstiloQev estilo;
    QProxyStyle plataforma;  // the same base style, nothing kept
    const struct {
        QSize tamanho;
        bool habilitado;
        QColor fundo;
        const char* titulo;
    } casos[] = {
        {{220, 90}, true, QColor(0xef, 0xef, 0xef), " Padrão de Acomodação "},
        {{220, 90}, true, QColor(0xef, 0xef, 0xef), " Padrão de Acomodação "},  // again: from the cache
        {{300, 140}, true, QColor(0xef, 0xef, 0xef), " Padrão de Acomodação "},
        {{220, 90}, false, QColor(0xef, 0xef, 0xef), " Padrão de Acomodação "},
        {{220, 90}, true, QColor(0x30, 0x30, 0x40), " Padrão de Acomodação "},
        {{220, 90}, true, QColor(0xef, 0xef, 0xef), ""},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(QStringLiteral("%1x%2 %3 %4 '%5'")
                         .arg(c.tamanho.width())
                         .arg(c.tamanho.height())
                         .arg(c.habilitado)
                         .arg(c.fundo.name(), QString::fromUtf8(c.titulo))
                         .toStdString());
        const QImage copiada = desenha(&estilo, c.tamanho, c.habilitado, c.fundo, QString::fromUtf8(c.titulo));
        const QImage direta = desenha(&plataforma, c.tamanho, c.habilitado, c.fundo, QString::fromUtf8(c.titulo));
        // one step of rounding from the copy's own blending, no more
        EXPECT_LE(diferenca(copiada, direta), 1);
    }
}

}  // namespace
