#include "reports/ModeloRelatorio.h"

#include "common/Logotipo.h"
#include "common/Versao.h"
#include "operator/Operadora.h"

namespace CabecalhoRelatorio {
QString Ministerio() { return QStringLiteral("Ministério da Saúde Suplementar"); }
QString Diretoria() { return QStringLiteral("ZUB - Diretoria de Registro de Produtos"); }
QString LinhaSistema() {
    return NomeCurtoSistema() + QStringLiteral(" - ") + TituloSistema() + QStringLiteral(" - v.") +
           VersaoSistema(true);
}
}  // namespace CabecalhoRelatorio

namespace {
constexpr qreal kAlturaCabecalho = 265;
constexpr qreal kAlturaOperadora = 75;
constexpr qreal kLarguraDireita = 420;
}  // namespace

TqrpModeloRelatorio::TqrpModeloRelatorio(bool paisagem, bool comOperadora, QObject* pai)
    : Relatorio(pai) {
    Paisagem = paisagem;
    qrbPagCab = CriaBanda(TipoBanda::CabecalhoPagina, kAlturaCabecalho, QStringLiteral("qrbPagCab"));
    qrcOperadora = comOperadora ? CriaFilha(qrbPagCab, kAlturaOperadora, QStringLiteral("qrcOperadora"))
                                : nullptr;
    qrbColunaCab = CriaBanda(TipoBanda::CabecalhoColuna, 0, QStringLiteral("qrbColunaCab"));
    qrbDetalhe = CriaBanda(TipoBanda::Detalhe, 45, QStringLiteral("qrbDetalhe"));
    montaCabecalho();
    if (qrcOperadora) montaOperadora();
}

void TqrpModeloRelatorio::montaCabecalho() {
    const qreal w = LarguraUtil();
    Banda* b = qrbPagCab;
    b->Desenho(QStringLiteral("imgLogo"), QRectF(0, 5, 170, 170),
               [](QPainter& g, const QRectF& caixa) { Logotipo::desenha(g, caixa); });
    const QFont corpo = FonteRelatorio(10, true, true);
    const qreal xTexto = 200, wTexto = w - xTexto - kLarguraDireita;
    b->Rotulo(QStringLiteral("lblMinisterio"), CabecalhoRelatorio::Ministerio(),
              QRectF(xTexto, 10, wTexto, 50), corpo);
    b->Rotulo(QStringLiteral("lblDiretoria"), CabecalhoRelatorio::Diretoria(),
              QRectF(xTexto, 60, wTexto, 50), corpo);
    b->Rotulo(QStringLiteral("lblSistema"), QString(), QRectF(xTexto, 110, wTexto, 50),
              FonteRelatorio(9, true, true));
    const QFont pequena = FonteRelatorio(8);
    const int direita = Qt::AlignRight | Qt::AlignVCenter;
    b->Sistema(QStringLiteral("qrsData"), Elemento::Dado::Data, QStringLiteral("Emissão: "),
               QRectF(w - kLarguraDireita, 10, kLarguraDireita, 45), pequena, direita);
    b->Sistema(QStringLiteral("qrsPagina"), Elemento::Dado::NumeroPagina,
               QStringLiteral("Página: "), QRectF(w - kLarguraDireita, 60, kLarguraDireita, 45),
               pequena, direita);
    b->Sistema(QStringLiteral("qrsHora"), Elemento::Dado::Hora, QStringLiteral("Hora: "),
               QRectF(w - kLarguraDireita, 110, kLarguraDireita, 45), pequena, direita);
    b->Sistema(QStringLiteral("qrsTitulo"), Elemento::Dado::Titulo, QString(),
               QRectF(0, 185, w, 60), FonteRelatorio(12, true), Qt::AlignCenter);
    b->Linha(QStringLiteral("linCabecalho"), QRectF(0, 255, w, 10), 4);
    // The system line is written again at the start of every page.
    b->AntesImprimir = [](Banda& banda) {
        banda.Item(QStringLiteral("lblSistema"))->texto = CabecalhoRelatorio::LinhaSistema();
        return true;
    };
}

void TqrpModeloRelatorio::montaOperadora() {
    const qreal w = LarguraUtil();
    Banda* b = qrcOperadora;
    const QFont f = FonteRelatorio(9);
    b->Rotulo(QStringLiteral("lblRegistro"), QString(), QRectF(0, 10, 420, 50), f);
    b->Rotulo(QStringLiteral("lblCnpj"), QString(), QRectF(430, 10, 560, 50), f);
    b->Rotulo(QStringLiteral("lblRazaoSocial"), QString(), QRectF(1000, 10, w - 1000, 50), f);
    b->Linha(QStringLiteral("linOperadora"), QRectF(0, 65, w, 8), 2);
    b->AntesImprimir = [](Banda& banda) {
        const TOperadora& op = OperadoraAtual();
        banda.Item(QStringLiteral("lblRegistro"))->texto =
            QStringLiteral("Registro ZUB: ") + op.CodigoFormatado();
        banda.Item(QStringLiteral("lblCnpj"))->texto =
            QStringLiteral("C.N.P.J: ") + op.CnpjFormatado();
        banda.Item(QStringLiteral("lblRazaoSocial"))->texto =
            QStringLiteral("Razão Social: ") + op.RazaoSocial;
        return true;
    };
}

void TqrpModeloRelatorio::AlternaCor(Banda& banda) {
    m_alternadas.insert(&banda);
    const bool branca = !banda.cor.isValid() || banda.cor == QColor(Qt::white);
    banda.cor = branca ? CorAlternada() : QColor(Qt::white);
}

void TqrpModeloRelatorio::AntesDeGerar() {
    // Every generation starts its shading again from white.
    for (Banda* b : std::as_const(m_alternadas)) b->cor = QColor(Qt::white);
}
