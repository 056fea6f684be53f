// The pieces the style copies from its cache are the pixels the platform's style draws, for
// every size, state and palette met one after the other.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QProxyStyle>
#include <QRadioButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include "common/Estilo.h"

namespace {

struct Caso {
    QSize tamanho;
    bool habilitado;
    bool marcado;
    QColor fundo;
    const char* titulo;
    const char* texto;
};

QImage desenha(QStyle* estilo, const Caso& c) {
    QGroupBox caixa(QString::fromUtf8(c.titulo));
    auto* l = new QVBoxLayout(&caixa);
    auto* marca = new QCheckBox(QStringLiteral("Opção"), &caixa);
    auto* radio = new QRadioButton(QStringLiteral("Individual"), &caixa);
    auto* edicao = new QLineEdit(QString::fromUtf8(c.texto), &caixa);
    auto* leitura = new QLineEdit(QString::fromUtf8(c.texto), &caixa);
    leitura->setReadOnly(true);
    auto* lista = new QComboBox(&caixa);
    lista->setEditable(true);  // a box inside a list: the list draws its panel
    lista->addItem(QString::fromUtf8(c.texto));
    auto* escolha = new QComboBox(&caixa);
    escolha->addItems({QString::fromUtf8(c.texto), QStringLiteral("outra")});
    escolha->setCurrentIndex(c.marcado ? 1 : 0);
    marca->setChecked(c.marcado);
    radio->setChecked(c.marcado);
    for (QWidget* w : std::initializer_list<QWidget*>{marca, radio, edicao, leitura, lista, escolha}) l->addWidget(w);
    caixa.setStyle(estilo);
    for (QWidget* w : caixa.findChildren<QWidget*>()) w->setStyle(estilo);
    QPalette p = caixa.palette();
    p.setColor(QPalette::Window, c.fundo);
    caixa.setPalette(p);
    caixa.setEnabled(c.habilitado);
    caixa.resize(c.tamanho);
    QImage img(c.tamanho, QImage::Format_ARGB32_Premultiplied);
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

TEST(EstiloQev, PecasDoCacheIguaisAsDaPlataformaEmCadaTamanhoEstadoECor) {
    EstiloQev estilo;
    QProxyStyle plataforma;  // the same base style, nothing kept
    const QColor claro(0xef, 0xef, 0xef), escuro(0x30, 0x30, 0x40);
    const Caso casos[] = {
        {{220, 230}, true, false, claro, " Padrão de Acomodação ", "texto"},
        {{220, 230}, true, false, claro, " Padrão de Acomodação ", "texto"},  // again: from the cache
        {{300, 270}, true, false, claro, " Padrão de Acomodação ", "outro"},
        {{220, 230}, true, true, claro, " Padrão de Acomodação ", "texto"},
        {{220, 230}, false, true, claro, " Padrão de Acomodação ", "texto"},
        {{220, 230}, false, false, claro, " Padrão de Acomodação ", ""},
        {{220, 230}, true, true, escuro, " Padrão de Acomodação ", "texto"},
        {{220, 230}, true, false, claro, "", "texto"},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(QStringLiteral("%1x%2 habilitado %3 marcado %4 %5 '%6'")
                         .arg(c.tamanho.width())
                         .arg(c.tamanho.height())
                         .arg(c.habilitado)
                         .arg(c.marcado)
                         .arg(c.fundo.name(), QString::fromUtf8(c.titulo))
                         .toStdString());
        // one step of rounding from the copy's own blending, no more
        EXPECT_LE(diferenca(desenha(&estilo, c), desenha(&plataforma, c)), 1);
    }
}

}  // namespace
