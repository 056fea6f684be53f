#include "reports/FrmRelConsiste.h"

#include "reports/FonteErrosCarga.h"
#include "reports/FrmPreviewQR.h"
#include "request/DmExportacao.h"

namespace {
// Columns: "Sequência", "Campo", "Descrição do Erro", "Linha" (x and width).
constexpr qreal kXSequencia = 0, kWSequencia = 170;
constexpr qreal kXCampo = 190;
constexpr qreal kWCampoNormal = 380, kWCampoLargo = 560;
constexpr qreal kWLinha = 140;
}  // namespace

TfrmRelConsiste::TfrmRelConsiste(QObject* pai) : TfrmRelConsiste(ErrosCargaCompartilhados(), pai) {}

TfrmRelConsiste::TfrmRelConsiste(const TErrosCarga& erros, QObject* pai)
    : TqrpModeloRelatorio(false, false, pai) {
    monta(erros);
}

void TfrmRelConsiste::monta(const TErrosCarga& erros) {
    setObjectName(QStringLiteral("frmRelConsiste"));
    const qreal w = LarguraUtil();
    const QFont titulos = FonteRelatorio(9, true);
    qrbColunaCab->altura = 60;
    qrbColunaCab->Rotulo(QStringLiteral("lblSequencia"), QStringLiteral("Sequência"),
                         QRectF(kXSequencia, 5, kWSequencia, 50), titulos,
                         Qt::AlignRight | Qt::AlignVCenter);
    qrbColunaCab->Rotulo(QStringLiteral("lblCampo"), QStringLiteral("Campo"),
                         QRectF(kXCampo, 5, kWCampoNormal, 50), titulos);
    qrbColunaCab->Rotulo(QStringLiteral("lblDescricao"), QStringLiteral("Descrição do Erro"),
                         QRectF(), titulos);
    qrbColunaCab->Rotulo(QStringLiteral("lblLinha"), QStringLiteral("Linha"),
                         QRectF(w - kWLinha, 5, kWLinha, 50), titulos,
                         Qt::AlignRight | Qt::AlignVCenter);
    qrbColunaCab->Linha(QStringLiteral("linTitulos"), QRectF(0, 55, w, 5), 2);

    const QFont corpo = FonteRelatorio(9);
    const int topo = Qt::AlignLeft | Qt::AlignTop;
    qrbDetalhe->altura = 45;
    qrbDetalhe->Campo(QStringLiteral("qrdSequencia"), QStringLiteral("Sequencia"),
                      QRectF(kXSequencia, 5, kWSequencia, 35), corpo, Qt::AlignRight | Qt::AlignTop);
    Elemento* campo = qrbDetalhe->Campo(QStringLiteral("qrdCampo"), QStringLiteral("NomeCampo"),
                                        QRectF(kXCampo, 5, kWCampoNormal, 35), corpo, topo);
    campo->cresce = true;
    Elemento* erro =
        qrbDetalhe->Campo(QStringLiteral("qrdErro"), QStringLiteral("NomeErro"), QRectF(), corpo, topo);
    erro->cresce = true;
    Elemento* linha = qrbDetalhe->Campo(QStringLiteral("qrdLinha"), QStringLiteral("linhaArquivo"),
                                        QRectF(w - kWLinha, 5, kWLinha, 35), corpo,
                                        Qt::AlignRight | Qt::AlignTop);
    // Rows not about a file line carry -1: nothing is printed for them.
    linha->formato = [](const QVariant& v) {
        return v.isNull() || v.toInt() < 0 ? QString() : QString::number(v.toInt());
    };
    DefineFonte(std::make_unique<FonteErrosCarga>(erros));
    DefineTipoRelatorio(-1);
}

void TfrmRelConsiste::DefineTipoRelatorio(int tipo) {
    switch (tipo) {
        case 0:
            Titulo = QStringLiteral(
                "Relatório de Erros de Importação de Arquivo de Estabelecimentos de Saúde");
            break;
        case 1:
            Titulo = QStringLiteral("Relatório de erros ocorridos no envio de planos para a ZUB");
            break;
        default:
            Titulo = QStringLiteral("Relatório de erros");
            break;
    }
    // The import file's field names are long: the field column is wider for them.
    const qreal wCampo = tipo == 0 ? kWCampoLargo : kWCampoNormal;
    const qreal xErro = kXCampo + wCampo + 20;
    const qreal wErro = LarguraUtil() - kWLinha - 20 - xErro;
    qrbColunaCab->Item(QStringLiteral("lblCampo"))->caixa.setWidth(wCampo);
    qrbColunaCab->Item(QStringLiteral("lblDescricao"))->caixa = QRectF(xErro, 5, wErro, 50);
    qrbDetalhe->Item(QStringLiteral("qrdCampo"))->caixa.setWidth(wCampo);
    qrbDetalhe->Item(QStringLiteral("qrdErro"))->caixa = QRectF(xErro, 5, wErro, 35);
}

void TfrmRelConsiste::Visualiza(QWidget* pai) { ExibeRelatorio(*this, pai); }
