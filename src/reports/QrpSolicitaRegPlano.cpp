#include "reports/QrpSolicitaRegPlano.h"

#include "db/DmLookup.h"
#include "reports/FonteErrosCarga.h"
#include "reports/FrmPreviewQR.h"
#include "reports/UtilRelatorios.h"
#include "request/DmExportacao.h"

TqrpSolicitaRegPlano::TqrpSolicitaRegPlano(QObject* pai) : TqrpSolicitaRegPlano(ErrosCargaCompartilhados(), pai) {}

TqrpSolicitaRegPlano::TqrpSolicitaRegPlano(const TErrosCarga& erros, QObject* pai)
    : TqrpModeloRelatorio(false, false, pai) {
    monta(erros);
}

void TqrpSolicitaRegPlano::monta(const TErrosCarga& erros) {
    setObjectName(QStringLiteral("qrpSolicitaRegPlano"));
    Titulo = QStringLiteral("Relatório de erros ocorridos no envio de planos para a ZUB");
    const qreal w = LarguraUtil();
    const QFont rotulo = FonteRelatorio(9, true);
    const QFont corpo = FonteRelatorio(9);

    Banda* g = CriaGrupo(QStringLiteral("seq_plano"), 215, QStringLiteral("qrgPlano"));
    g->Linha(QStringLiteral("linPlano"), QRectF(0, 2, w, 6), 3);
    g->Rotulo(QStringLiteral("lblPlano"), QStringLiteral("Nome Comercial do Plano:"),
              QRectF(0, 15, 470, 45), rotulo);
    g->Campo(QStringLiteral("qrdPlano"), QStringLiteral("nm_plano"), QRectF(470, 15, w - 470, 45), corpo);
    g->Rotulo(QStringLiteral("lblContratacao"), QStringLiteral("Contratação:"),
              QRectF(0, 60, 470, 45), rotulo);
    g->Rotulo(QStringLiteral("qrdContratacao"), QString(), QRectF(470, 60, 520, 45), corpo);
    g->Rotulo(QStringLiteral("lblAbrangencia"), QStringLiteral("Abrangência Geográfica:"),
              QRectF(1000, 60, 440, 45), rotulo);
    g->Rotulo(QStringLiteral("qrdAbrangencia"), QString(), QRectF(1440, 60, w - 1440, 45), corpo);
    g->Rotulo(QStringLiteral("lblSegmentacao"), QStringLiteral("Segmentação Assistencial:"),
              QRectF(0, 105, 470, 45), rotulo);
    g->Rotulo(QStringLiteral("qrdSegmentacao"), QString(), QRectF(470, 105, w - 470, 45), corpo);
    g->Rotulo(QStringLiteral("lblSequencia"), QStringLiteral("Sequência"), QRectF(0, 160, 170, 45),
              rotulo, Qt::AlignRight | Qt::AlignVCenter);
    g->Rotulo(QStringLiteral("lblCampo"), QStringLiteral("Campo"), QRectF(190, 160, 450, 45), rotulo);
    g->Rotulo(QStringLiteral("lblDescricao"), QStringLiteral("Descrição do Erro"),
              QRectF(660, 160, w - 660, 45), rotulo);
    g->Linha(QStringLiteral("linTitulos"), QRectF(0, 205, w, 5), 1.5);
    g->AntesImprimir = [this](Banda& b) {
        const TdmLookup* l = TdmLookup::instancia();
        const auto nome = [&](const Resultado TdmLookup::*tabela, const char* campo) {
            const QVariant codigo = Valor(QString::fromLatin1(campo));
            // -1 marks operator and code-table rows: no name.
            if (!l || codigo.isNull() || codigo.toInt() < 0) return QString();
            return UtilRelatorios::Descricao(l->*tabela, codigo);
        };
        b.Item(QStringLiteral("qrdContratacao"))->texto =
            nome(&TdmLookup::cdsTipoContrato, "cd_contratacao");
        b.Item(QStringLiteral("qrdAbrangencia"))->texto = nome(&TdmLookup::cdsAbrangencia, "cd_abrangencia");
        b.Item(QStringLiteral("qrdSegmentacao"))->texto = nome(&TdmLookup::cdsSegmentacao, "cd_segmentacao");
        return true;
    };

    qrbDetalhe->altura = 45;
    qrbDetalhe->Campo(QStringLiteral("qrdSequencia"), QStringLiteral("Sequencia"), QRectF(0, 5, 170, 35),
                      corpo, Qt::AlignRight | Qt::AlignTop);
    qrbDetalhe->Campo(QStringLiteral("qrdCampo"), QStringLiteral("NomeCampo"), QRectF(190, 5, 450, 35),
                      corpo, Qt::AlignLeft | Qt::AlignTop)
        ->cresce = true;
    qrbDetalhe->Campo(QStringLiteral("qrdErro"), QStringLiteral("NomeErro"), QRectF(660, 5, w - 660, 35),
                      corpo, Qt::AlignLeft | Qt::AlignTop)
        ->cresce = true;
    DefineFonte(std::make_unique<FonteErrosCarga>(erros));
}

void TqrpSolicitaRegPlano::Visualiza(QWidget* pai) { ExibeRelatorio(*this, pai); }
