#include "reports/QrpEstabSaudePlanos.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QRadioButton>

#include "common/ExecucaoModal.h"
#include "db/DmConexao.h"
#include "operator/Operadora.h"
#include "reports/FrmPreviewQR.h"
#include "reports/UtilRelatorios.h"

namespace {
constexpr int kOdontologico = 4;
}

TqrpEstabSaudePlanos::TqrpEstabSaudePlanos(Banco& banco, const QString& cdOper, const QString& cnpj,
                                           QObject* pai)
    : TqrpModeloRelatorio(true, true, pai) {
    setObjectName(QStringLiteral("qrpEstabSaudePlanos"));
    Titulo = QStringLiteral("Relação de Estabelecimentos de Saúde e seus Planos");
    const qreal w = LarguraUtil();
    const QFont rotulo = FonteRelatorio(8.5, true);
    const QFont corpo = FonteRelatorio(8.5);

    Banda* d = qrbDetalhe;
    d->altura = 115;
    d->Linha(QStringLiteral("linEstab"), QRectF(0, 0, w, 6), 3);
    d->Rotulo(QStringLiteral("lblCnpj"), QStringLiteral("CNPJ/CPF"), QRectF(0, 12, 200, 45), rotulo);
    d->Rotulo(QStringLiteral("qrdCnpj"), QString(), QRectF(200, 12, 330, 45), corpo);
    d->Rotulo(QStringLiteral("lblEstab"), QStringLiteral("Estabelecimento de Saúde"),
              QRectF(560, 12, 420, 45), rotulo);
    d->Campo(QStringLiteral("qrdNome"), QStringLiteral("RAZAO_SOCIAL_ESTB_SAUD"),
             QRectF(980, 12, w - 980, 45), corpo);
    d->Rotulo(QStringLiteral("qrdMunicipio"), QString(), QRectF(200, 60, 900, 45), corpo);
    d->Rotulo(QStringLiteral("lblClassif"), QStringLiteral("Classificação"), QRectF(1120, 60, 230, 45),
              rotulo);
    d->Campo(QStringLiteral("qrdClassif"), QStringLiteral("DE_CLASSIF_ESTAB_SAUDE"),
             QRectF(1350, 60, w - 1350, 45), corpo);
    d->AntesImprimir = [this](Banda& b) {
        b.Item(QStringLiteral("qrdCnpj"))->texto =
            m_mascara.Aplica(Valor(QStringLiteral("CD_CNPJ_ESTB_SAUD")).toString());
        b.Item(QStringLiteral("qrdMunicipio"))->texto =
            UtilRelatorios::MunicipioUf(Valor(QStringLiteral("NM_MUNC")), Valor(QStringLiteral("CD_UF")));
        return true;
    };

    // The operator's plans linked to the establishment, in the order they were linked.
    SubDetalhe* planos = CriaSubDetalhe(
        [this, &banco, cdOper] {
            return std::make_unique<FonteConsulta>(
                banco,
                QStringLiteral(
                    "SELECT P.NM_PLANO, TC.DE_TIPO_CONTRATO, TS.DE_SEGMENTACAO, TA.DE_ABRANGENCIA "
                    "FROM RL_PLANOS_ESTAB_SAUDE R INNER JOIN TB_PLANOS P "
                    "ON P.CD_OPER = R.CD_OPER AND P.SEQ_PLANO = R.SEQ_PLANO "
                    "LEFT JOIN TA_TIPO_CONTRATO TC ON TC.CD_TIPO_CONTRATO = P.CD_TIPO_CONTRATO "
                    "LEFT JOIN TA_TIPO_SEGMENTACAO TS ON TS.CD_SEGMENTACAO = P.CD_SEGMENTACAO "
                    "LEFT JOIN TA_TIPO_ABRANGENCIA TA ON TA.CD_ABRANGENCIA = P.CD_ABRANGENCIA "
                    "WHERE R.ID_ESTB_SAUD = ? AND P.CD_OPER = ? AND P.CD_SEGMENTACAO <> ? "
                    "ORDER BY R.rowid"),
                ParamsPosicionais{Valor(QStringLiteral("ID_ESTB_SAUD")), cdOper, kOdontologico});
        },
        40, 60);
    planos->imprimeSeVazio = true;
    const struct {
        const char* titulo;
        const char* campo;
        qreal x, largura;
    } colunas[] = {{"Descrição Plano", "NM_PLANO", 200, 850},
                   {"Contratação", "DE_TIPO_CONTRATO", 1060, 450},
                   {"Segmentação Assistencial", "DE_SEGMENTACAO", 1520, 780},
                   {"Abrangência Geográfica", "DE_ABRANGENCIA", 2310, w - 2310}};
    for (const auto& c : colunas) {
        planos->cabecalho->Rotulo(QString::fromLatin1(c.campo), QString::fromUtf8(c.titulo),
                                  QRectF(c.x, 10, c.largura, 45), rotulo);
        planos->detalhe->Campo(QString::fromLatin1(c.campo), QString::fromLatin1(c.campo),
                               QRectF(c.x, 0, c.largura, 40), corpo)
            ->cresce = true;
    }
    planos->cabecalho->Linha(QStringLiteral("linPlanos"), QRectF(200, 54, w - 200, 5), 1.5);

    // By CNPJ: the keys in order, then the establishments in batches of keys (no
    // statement stays open while the pages are made).
    QString filtro;
    ParamsPosicionais params;
    if (!cnpj.isEmpty()) {
        filtro = QStringLiteral(" AND CD_CNPJ_ESTB_SAUD = ?");
        params << cnpj;
    }
    DefineFonte(std::make_unique<FonteOrdenada>(
        banco, FonteOrdenada::Comparacao::Texto,
        QStringLiteral("SELECT ID_ESTB_SAUD, CD_CNPJ_ESTB_SAUD FROM TB_ESTAB_SAUDE WHERE 1 = 1") + filtro,
        QStringLiteral(
            "SELECT ES.ID_ESTB_SAUD, ES.CD_CNPJ_ESTB_SAUD, ES.RAZAO_SOCIAL_ESTB_SAUD, "
            "ES.CD_CLASSIF_ESTAB_SAUDE, CES.DE_CLASSIF_ESTAB_SAUDE, M.NM_MUNC, M.CD_UF "
            "FROM TB_ESTAB_SAUDE ES "
            "LEFT JOIN TB_MUNICIPIOS M ON M.ID_MUNC = ES.ID_MUNC "
            "LEFT JOIN TA_CLASSIF_ESTAB_SAUDE CES "
            "ON CES.CD_CLASSIF_ESTAB_SAUDE = ES.CD_CLASSIF_ESTAB_SAUDE WHERE 1 = 1") +
            filtro + QStringLiteral(" AND ES.ID_ESTB_SAUD IN (%1)"),
        QStringLiteral("ID_ESTB_SAUD"), params));
}

void TqrpEstabSaudePlanos::AntesDeGerar() {
    TqrpModeloRelatorio::AntesDeGerar();
    m_mascara.Reinicia();
}

// ---------------------------------------------------------------------------

TfrmDlgEstabSaudePlanos::TfrmDlgEstabSaudePlanos(QWidget* pai) : TfrmModDialogo(pai) {
    setObjectName(QStringLiteral("frmDlgEstabSaudePlanos"));
    setWindowTitle(QStringLiteral("Relação de Estabelecimentos de Saúde e seus Planos"));
    resize(460, 160);
    auto* grade = new QGridLayout(Conteudo());
    grade->setContentsMargins(16, 16, 16, 16);
    rbTodos = new QRadioButton(QStringLiteral("TODOS"), Conteudo());
    rbTodos->setObjectName(QStringLiteral("rbTodos"));
    rbTodos->setChecked(true);
    rbCnpj = new QRadioButton(QStringLiteral("Por CNPJ ou CPF:"), Conteudo());
    rbCnpj->setObjectName(QStringLiteral("rbCnpj"));
    edtCnpj = new QLineEdit(Conteudo());
    edtCnpj->setObjectName(QStringLiteral("edtCnpj"));
    edtCnpj->setMaxLength(18);
    edtCnpj->setEnabled(false);
    grade->addWidget(rbTodos, 0, 0, 1, 2);
    grade->addWidget(rbCnpj, 1, 0);
    grade->addWidget(edtCnpj, 1, 1);
    grade->setColumnStretch(1, 1);
    connect(rbCnpj, &QRadioButton::toggled, this, [this](bool marcado) {
        edtCnpj->setEnabled(marcado);
        if (marcado) edtCnpj->setFocus();
    });
}

QString TfrmDlgEstabSaudePlanos::SomenteNumero(const QString& texto) {
    QString t = texto;
    t.remove(QLatin1Char('.')).remove(QLatin1Char('/')).remove(QLatin1Char('-'));
    return t.trimmed();
}

void TfrmDlgEstabSaudePlanos::ConfirmarClick() {
    const QString cnpj = rbCnpj->isChecked() ? SomenteNumero(edtCnpj->text()) : QString();
    if (rbCnpj->isChecked() && cnpj.isEmpty()) {
        edtCnpj->setFocus();
        return;
    }
    TqrpEstabSaudePlanos relatorio(DmConexao()->banco(), OperadoraAtual().CdOper, cnpj);
    ExibeRelatorio(relatorio, this);
    accept();
}

void AbreRelEstabComPlanos(QWidget* pai) {
    TfrmDlgEstabSaudePlanos dialogo(pai);
    Modal::executa(dialogo);
}
