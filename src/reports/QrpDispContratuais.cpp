#include "reports/QrpDispContratuais.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "common/CursorEspera.h"
#include "db/Erro.h"
#include "common/ExecucaoModal.h"
#include "common/Identificadores.h"
#include "db/DmLookup.h"
#include "operator/Operadora.h"
#include "reports/FrmPreviewQR.h"
#include "reports/UtilRelatorios.h"

namespace {
QVariantMap linhaComo(const Resultado& r, int i) {
    QVariantMap m;
    for (int c = 0; c < r.colunas.size(); ++c) m.insert(r.colunas[c].toUpper(), r.linhas[i].value(c));
    return m;
}
}  // namespace

QString TqrpDispContratuais::RotuloTema(const QVariant& ordem, const QVariant& nome) {
    return ::RotuloTema(ordem.toInt(), nome.toString());
}

QString TqrpDispContratuais::CampoCaracteristica(const QVariantMap& tema) {
    return Caracteristicas::Flag(Caracteristicas::DoTema(
        Caracteristicas::Ordem::Dispositivos, [&tema](const QString& flag) { return tema.value(flag); }));
}

QString TqrpDispContratuais::Complemento(const QString& c, const QVariant& valor) const {
    const TdmLookup* l = TdmLookup::instancia();
    if (!l || c.isEmpty()) return QString();
    QString titulo, nome;
    if (c == QLatin1String("LG_TIPO_CONTRATO")) {
        titulo = QStringLiteral("Tipo Contratação");
        nome = UtilRelatorios::Descricao(l->cdsTipoContrato, valor);
    } else if (c == QLatin1String("LG_SEGMENTACAO")) {
        titulo = QStringLiteral("Segmentação Assistencial");
        nome = UtilRelatorios::Descricao(l->cdsSegmentacao, valor);
    } else if (c == QLatin1String("LG_ABRANGENCIA")) {
        titulo = QStringLiteral("Área Geográfica de Abrangência");
        nome = UtilRelatorios::Descricao(l->cdsAbrangencia, valor);
    } else if (c == QLatin1String("LG_PADRAO_ACOMODACAO")) {
        titulo = QStringLiteral("Padrão de Acomodação em Internação");
        nome = l->cdsLkpPadraoAcomodacao.Descricao(valor);
    } else if (c == QLatin1String("LG_FAIXA_ETARIA")) {
        titulo = QStringLiteral("Faixas Etárias");
        nome = l->cdsLkpFaixaEtaria.Descricao(valor);
    } else if (c == QLatin1String("LG_COBERTURA_ADICIONAL")) {
        titulo = QStringLiteral("Serviços e Coberturas Adicionais");
        nome = l->cdsLkpCoberturaAdicional.Descricao(valor);
    } else if (c == QLatin1String("LG_FORMA_ACESSO")) {
        titulo = QStringLiteral("Forma de Acesso");
        nome = l->cdsLkpFormaAcesso.Descricao(valor);
    } else if (c == QLatin1String("LG_FATOR_MODERADOR")) {
        titulo = QStringLiteral("Fator Moderador");
        nome = l->cdsLkpFatorModerador.Descricao(valor);
    } else {
        return QString();  // the financing type is not shown in this report
    }
    return titulo + QStringLiteral(": ") + nome;
}

TqrpDispContratuais::TqrpDispContratuais(TdmClausula& dm, const QString& cdOper,
                                         const QVariant& tema, TdmClausula::OrdemRelDisp ordem,
                                         QObject* pai)
    : TqrpModeloRelatorio(false, true, pai) {
    setObjectName(QStringLiteral("qrpDispContratuais"));
    Titulo = QStringLiteral("Relação de Dispositivos Contratuais");
    if (!TdmLookup::instancia())
        throw ErroQev(QStringLiteral("As tabelas de códigos não foram carregadas."));
    const Resultado temas = dm.qryDispositivo();
    for (int i = 0; i < temas.numLinhas(); ++i) {
        const QVariantMap t = linhaComo(temas, i);
        m_caracteristicas.insert(t.value(QStringLiteral("CD_TIPO_CLAUSULA")).toLongLong(),
                                 CampoCaracteristica(t));
    }

    const qreal w = LarguraUtil();
    const QFont rotulo = FonteRelatorio(9, true);
    const QFont corpo = FonteRelatorio(9);
    Banda* d = qrbDetalhe;
    d->altura = 240;
    d->Linha(QStringLiteral("linDispositivo"), QRectF(0, 0, w, 6), 3);
    d->Rotulo(QStringLiteral("lblTema"), QStringLiteral("Tema:"), QRectF(0, 12, 420, 45), rotulo);
    d->Rotulo(QStringLiteral("qrdTema"), QString(), QRectF(420, 12, w - 420 - 360, 45), corpo);
    Elemento* inativo = d->Rotulo(QStringLiteral("lblInativo"), QStringLiteral("<<< INATIVO >>>"),
                                  QRectF(w - 350, 12, 350, 45), rotulo, Qt::AlignRight | Qt::AlignVCenter);
    inativo->cor = QColor(Qt::red);
    d->Rotulo(QStringLiteral("lblCodigo"), QStringLiteral("Código da Identificação:"),
              QRectF(0, 57, 420, 45), rotulo);
    d->Campo(QStringLiteral("qrdCodigo"), QStringLiteral("CD_IDENTIFICACAO_TEXTO"),
             QRectF(420, 57, 600, 45), corpo);
    Elemento* enviado =
        d->Rotulo(QStringLiteral("lblEnviado"), QStringLiteral("Dispositivo Contratual já enviado à ZUB"),
                  QRectF(w - 900, 57, 900, 45), rotulo, Qt::AlignRight | Qt::AlignVCenter);
    enviado->cor = QColor(0x00, 0x00, 0x80);
    d->Rotulo(QStringLiteral("lblIdentificacao"), QStringLiteral("Identificação do Texto:"),
              QRectF(0, 102, 420, 45), rotulo);
    d->Campo(QStringLiteral("qrdIdentificacao"), QStringLiteral("DE_CLAUSULA_OPERADORA"),
             QRectF(420, 102, w - 420, 45), corpo)
        ->cresce = true;
    d->Rotulo(QStringLiteral("lblTexto"), QStringLiteral("Texto do Dispositivo:"),
              QRectF(0, 147, 420, 45), rotulo);
    d->Campo(QStringLiteral("qrdTexto"), QStringLiteral("TX_CLAUSULA_OPERADORA"),
             QRectF(0, 192, w, 40), corpo, Qt::AlignLeft | Qt::AlignTop)
        ->cresce = true;
    d->AntesImprimir = [this](Banda& b) {
        b.Item(QStringLiteral("qrdTema"))->texto =
            RotuloTema(Valor(QStringLiteral("NR_ORDEM_EXIBICAO")), Valor(QStringLiteral("DE_TIPO_CLAUSULA")));
        b.Item(QStringLiteral("lblInativo"))->visivel =
            !UtilRelatorios::Vazio(Valor(QStringLiteral("DT_PUBLICACAO_FIM")));
        const QVariant status = Valor(QStringLiteral("CD_STATUS_ENVIO"));
        b.Item(QStringLiteral("lblEnviado"))->visivel = !status.isNull() && status.toInt() == 1;
        return true;
    };
    Banda* complemento = CriaFilha(d, 50, QStringLiteral("qrcComplemento"));
    complemento->Rotulo(QStringLiteral("qrdComplemento"), QString(), QRectF(0, 5, w, 40), rotulo)
        ->cresce = true;
    complemento->AntesImprimir = [this](Banda& b) {
        const QString c =
            m_caracteristicas.value(Valor(QStringLiteral("CD_TIPO_CLAUSULA")).toLongLong());
        if (c.isEmpty()) return false;
        const QString texto = Complemento(c, Valor(QStringLiteral("CD") + c.mid(2)));
        b.Item(QStringLiteral("qrdComplemento"))->texto = texto;
        return !texto.isEmpty();
    };
    DefineFonte(std::make_unique<FonteResultado>(dm.qryRelDisp(cdOper, tema, ordem)));
}

// ---------------------------------------------------------------------------

TfrmDlgPrintClausula::TfrmDlgPrintClausula(QWidget* pai) : TfrmModBase(pai) {
    setObjectName(QStringLiteral("frmDlgPrintClausula"));
    setWindowTitle(QStringLiteral("Relação de Dispositivos Contratuais"));
    resize(560, 220);
    auto* raiz = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    cmbTema = new QComboBox(this);
    cmbTema->setObjectName(QStringLiteral("cmbTema"));
    form->addRow(QStringLiteral("Tema"), cmbTema);
    raiz->addLayout(form);
    auto* grupo = new QGroupBox(QStringLiteral("  Ordernar por: "), this);
    grupo->setObjectName(QStringLiteral("rgOrdem"));
    auto* lg = new QVBoxLayout(grupo);
    rbCodigo = new QRadioButton(QStringLiteral("Código da Identificação"), grupo);
    rbCodigo->setObjectName(QStringLiteral("rbCodigo"));
    rbCodigo->setChecked(true);
    rbTexto = new QRadioButton(QStringLiteral("Identificação do Texto"), grupo);
    rbTexto->setObjectName(QStringLiteral("rbTexto"));
    lg->addWidget(rbCodigo);
    lg->addWidget(rbTexto);
    raiz->addWidget(grupo);
    btnImprimir = new QPushButton(QStringLiteral("&Imprimir"), this);
    btnImprimir->setObjectName(QStringLiteral("btnImprimir"));
    btnImprimir->setDefault(true);
    raiz->addWidget(btnImprimir, 0, Qt::AlignRight);
    connect(btnImprimir, &QPushButton::clicked, this, &TfrmDlgPrintClausula::ImprimirClick);

    // Themes still in force, in display order.
    cmbTema->addItem(QStringLiteral("TODOS"));
    const Resultado temas = TdmClausula::instancia()->qryDispositivo();
    QVector<QVariantMap> vigentes;
    for (int i = 0; i < temas.numLinhas(); ++i) {
        const QVariantMap t = linhaComo(temas, i);
        if (UtilRelatorios::Vazio(t.value(QStringLiteral("DT_PUBLICACAO_FIM")))) vigentes << t;
    }
    std::stable_sort(vigentes.begin(), vigentes.end(), [](const QVariantMap& a, const QVariantMap& b) {
        return a.value(QStringLiteral("NR_ORDEM_EXIBICAO")).toInt() <
               b.value(QStringLiteral("NR_ORDEM_EXIBICAO")).toInt();
    });
    for (const QVariantMap& t : vigentes)
        cmbTema->addItem(TqrpDispContratuais::RotuloTema(t.value(QStringLiteral("NR_ORDEM_EXIBICAO")),
                                                         t.value(QStringLiteral("DE_TIPO_CLAUSULA"))),
                         t.value(QStringLiteral("CD_TIPO_CLAUSULA")));
}

void TfrmDlgPrintClausula::ImprimirClick() {
    TqrpDispContratuais relatorio(*TdmClausula::instancia(), OperadoraAtual().CdOper,
                                  cmbTema->currentData(),
                                  rbCodigo->isChecked() ? TdmClausula::OrdemRelDisp::CodigoIdentificacao
                                                        : TdmClausula::OrdemRelDisp::OrdemTema);
    ExibeRelatorio(relatorio, this);
    accept();
}

void AbreRelatorioDispositivos(QWidget* pai) {
    std::unique_ptr<TfrmDlgPrintClausula> dialogo;
    {
        CursorEspera espera;
        dialogo = std::make_unique<TfrmDlgPrintClausula>(pai);
    }
    Modal::executa(*dialogo);
}
