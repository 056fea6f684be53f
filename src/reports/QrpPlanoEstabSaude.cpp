#include "reports/QrpPlanoEstabSaude.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QRadioButton>
#include <QTableView>

#include "common/ExecucaoModal.h"
#include "db/Mascara.h"
#include "db/DmConexao.h"
#include "db/ModeloRowSet.h"
#include "operator/Operadora.h"
#include "reports/FrmPreviewQR.h"
#include "reports/UtilRelatorios.h"

namespace {
constexpr int kOdontologico = 4;
}

TqrpPlanoEstabSaude::TqrpPlanoEstabSaude(Banco& banco, const QString& cdOper,
                                         const QVariant& seqPlano, QObject* pai)
    : TqrpModeloRelatorio(true, true, pai) {
    setObjectName(QStringLiteral("qrpPlanoEstabSaude"));
    Titulo = QStringLiteral("Relação de Planos e seus estabelecimentos de Saúde");
    const qreal w = LarguraUtil();
    const QFont rotulo = FonteRelatorio(8.5, true);
    const QFont corpo = FonteRelatorio(8.5);

    const struct {
        const char* titulo;
        const char* campo;
        qreal x, largura;
    } plano[] = {{"Descrição Plano", "NM_PLANO", 0, 950},
                 {"Contratação", "DE_TIPO_CONTRATO", 960, 480},
                 {"Segmentação Assistencial", "DE_SEGMENTACAO", 1450, 800},
                 {"Abrangência Geográfica", "DE_ABRANGENCIA", 2260, w - 2260}};
    Banda* d = qrbDetalhe;
    d->altura = 110;
    d->Linha(QStringLiteral("linPlano"), QRectF(0, 0, w, 6), 3);
    for (const auto& c : plano) {
        d->Rotulo(QStringLiteral("lbl") + QString::fromLatin1(c.campo), QString::fromUtf8(c.titulo),
                  QRectF(c.x, 12, c.largura, 45), rotulo);
        d->Campo(QString::fromLatin1(c.campo), QString::fromLatin1(c.campo),
                 QRectF(c.x, 58, c.largura, 45), corpo)
            ->cresce = true;
    }

    SubDetalhe* estabs = CriaSubDetalhe(
        [this, &banco] {
            return std::make_unique<FonteConsulta>(
                banco,
                QStringLiteral(
                    "SELECT ES.CD_CNPJ_ESTB_SAUD, ES.RAZAO_SOCIAL_ESTB_SAUD, M.NM_MUNC, M.CD_UF, "
                    "CES.DE_CLASSIF_ESTAB_SAUDE "
                    "FROM TB_ESTAB_SAUDE ES INNER JOIN RL_PLANOS_ESTAB_SAUDE R "
                    "ON R.ID_ESTB_SAUD = ES.ID_ESTB_SAUD AND R.CD_OPER = ES.CD_OPER "
                    "LEFT JOIN TB_MUNICIPIOS M ON M.ID_MUNC = ES.ID_MUNC "
                    "LEFT JOIN TA_CLASSIF_ESTAB_SAUDE CES "
                    "ON CES.CD_CLASSIF_ESTAB_SAUDE = ES.CD_CLASSIF_ESTAB_SAUDE "
                    "WHERE R.CD_OPER = ? AND R.SEQ_PLANO = ? "
                    "ORDER BY ES.CD_CNPJ_ESTB_SAUD"),
                ParamsPosicionais{Valor(QStringLiteral("CD_OPER")), Valor(QStringLiteral("SEQ_PLANO"))});
        },
        40, 60);
    // CNPJ and municipality are composed before each row; name and classification are fields.
    const struct {
        const char* titulo;
        const char* nome;
        const char* campo;
        qreal x, largura;
    } colunas[] = {{"CNPJ", "qrdCnpj", nullptr, 100, 330},
                   {"Estabelecimento de Saúde - Razão Social", "qrdNome", "RAZAO_SOCIAL_ESTB_SAUD", 440, 1150},
                   {"Municipio - UF", "qrdMunicipio", nullptr, 1600, 580},
                   {"Classificação", "qrdClassif", "DE_CLASSIF_ESTAB_SAUDE", 2190, w - 2190}};
    for (const auto& c : colunas) {
        const QString nome = QString::fromLatin1(c.nome);
        const QRectF caixa(c.x, 0, c.largura, 40);
        estabs->cabecalho->Rotulo(nome, QString::fromUtf8(c.titulo), QRectF(c.x, 10, c.largura, 45),
                                  rotulo);
        if (c.campo) estabs->detalhe->Campo(nome, QString::fromLatin1(c.campo), caixa, corpo)->cresce = true;
        else estabs->detalhe->Rotulo(nome, QString(), caixa, corpo);
    }
    estabs->cabecalho->Linha(QStringLiteral("linEstabs"), QRectF(100, 54, w - 100, 5), 1.5);
    estabs->detalhe->AntesImprimir = [this](Banda& b) {
        b.Item(QStringLiteral("qrdCnpj"))->texto = AplicaMascara(
            Valor(QStringLiteral("CD_CNPJ_ESTB_SAUD")).toString(), QString::fromLatin1(MascaraCnpj));
        b.Item(QStringLiteral("qrdMunicipio"))->texto =
            UtilRelatorios::MunicipioUf(Valor(QStringLiteral("NM_MUNC")), Valor(QStringLiteral("CD_UF")));
        return true;
    };

    QString sql = QStringLiteral(
        "SELECT P.CD_OPER, P.SEQ_PLANO, P.NM_PLANO, TC.DE_TIPO_CONTRATO, TS.DE_SEGMENTACAO, "
        "TA.DE_ABRANGENCIA FROM TB_PLANOS P "
        "LEFT JOIN TA_TIPO_CONTRATO TC ON TC.CD_TIPO_CONTRATO = P.CD_TIPO_CONTRATO "
        "LEFT JOIN TA_TIPO_SEGMENTACAO TS ON TS.CD_SEGMENTACAO = P.CD_SEGMENTACAO "
        "LEFT JOIN TA_TIPO_ABRANGENCIA TA ON TA.CD_ABRANGENCIA = P.CD_ABRANGENCIA "
        "WHERE P.CD_OPER = ? AND P.CD_SEGMENTACAO <> ? ");
    ParamsPosicionais params{cdOper, kOdontologico};
    if (seqPlano.isValid() && !seqPlano.isNull()) {
        sql += QStringLiteral("AND P.SEQ_PLANO = ? ");
        params << seqPlano;
    }
    sql += QStringLiteral(
        "AND EXISTS (SELECT 1 FROM RL_PLANOS_ESTAB_SAUDE R INNER JOIN TB_ESTAB_SAUDE ES "
        "ON ES.ID_ESTB_SAUD = R.ID_ESTB_SAUD AND ES.CD_OPER = R.CD_OPER "
        "WHERE R.CD_OPER = P.CD_OPER AND R.SEQ_PLANO = P.SEQ_PLANO) "
        "ORDER BY P.NM_PLANO COLLATE PTBR, P.SEQ_PLANO");
    DefineFonte(std::make_unique<FonteConsulta>(banco, sql, params));
}

// ---------------------------------------------------------------------------

TfrmDlgPlanoEstabSaude::TfrmDlgPlanoEstabSaude(QWidget* pai) : TfrmModDialogo(pai) {
    setObjectName(QStringLiteral("frmDlgPlanoEstabSaude"));
    setWindowTitle(QStringLiteral("Relação de Planos e seus Estabelecimentos de Saúde"));
    resize(520, 420);
    auto* grade = new QGridLayout(Conteudo());
    rbTodos = new QRadioButton(QStringLiteral("TODOS"), Conteudo());
    rbTodos->setObjectName(QStringLiteral("rbTodos"));
    rbTodos->setChecked(true);
    rbPlano = new QRadioButton(QStringLiteral("Por Plano:"), Conteudo());
    rbPlano->setObjectName(QStringLiteral("rbPlano"));
    grdPlanos = new QTableView(Conteudo());
    grdPlanos->setObjectName(QStringLiteral("grdPlanos"));
    grade->addWidget(rbTodos, 0, 0);
    grade->addWidget(rbPlano, 1, 0);
    grade->addWidget(grdPlanos, 2, 0);
    grade->setRowStretch(2, 1);

    Campo seq;
    seq.nome = QStringLiteral("SEQ_PLANO");
    seq.tipo = TipoCampo::Inteiro;
    seq.visivel = false;
    Campo nome;
    nome.nome = QStringLiteral("NM_PLANO");
    nome.rotulo = QStringLiteral("Nome comercial do plano");
    cdsPlanos.DefineCampos({seq, nome});
    cdsPlanos.Abre(DmConexao()->banco(),
                   QStringLiteral("SELECT SEQ_PLANO, NM_PLANO FROM TB_PLANOS WHERE CD_OPER = ? "
                                  "ORDER BY NM_PLANO COLLATE PTBR"),
                   {OperadoraAtual().CdOper});
    LigaGrade(grdPlanos, &cdsPlanos);
    grdPlanos->horizontalHeader()->setStretchLastSection(true);
    grdPlanos->verticalHeader()->hide();
    grdPlanos->setEnabled(false);
    connect(rbPlano, &QRadioButton::toggled, grdPlanos, &QWidget::setEnabled);
}

void TfrmDlgPlanoEstabSaude::ConfirmarClick() {
    QVariant seq;
    if (rbPlano->isChecked()) {
        if (cdsPlanos.IsEmpty()) return;
        seq = cdsPlanos.Valor(QStringLiteral("SEQ_PLANO"));
    }
    TqrpPlanoEstabSaude relatorio(DmConexao()->banco(), OperadoraAtual().CdOper, seq);
    ExibeRelatorio(relatorio, this);
    accept();
}

void AbreRelPlanosComEstab(QWidget* pai) {
    TfrmDlgPlanoEstabSaude dialogo(pai);
    Modal::executa(dialogo);
}
