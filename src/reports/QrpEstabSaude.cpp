#include "reports/QrpEstabSaude.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/ExecucaoModal.h"
#include "db/DmConexao.h"
#include "reports/FrmPreviewQR.h"

using UtilRelatorios::Vazio;

namespace {
constexpr int kAssistenciaHospitalar = 1;
constexpr int kProprio = 1000;
constexpr int kContratualizado = 2000;

// Columns: title, x, width, column.
struct Coluna {
    const char* titulo;
    qreal x;
    qreal largura;
    const char* campo;
};
const Coluna kColunas[] = {
    {"CNPJ/CPF", 0, 265, nullptr},
    {"CNES", 275, 115, "CD_CNES"},
    {"Nome/Razão Social", 400, 690, "RAZAO_SOCIAL_ESTB_SAUD"},
    {"Rel. Entidade Hospitalar ", 1100, 235, "CD_TIPO_ESTB_SAUD"},
    {"UF", 1345, 55, "CD_UF"},
    {"Município", 1410, 390, "NM_MUNC"},
    {"Tipo Contrat.", 1810, 160, "CD_TIPO_CONTRATO_ESTB_SAUDE"},
    {"Data Contrat.", 1980, 165, "DT_CONTRATO_OPER"},
    {"Data Início Prest. Serv.", 2155, 200, "DT_VINCULO_OPER"},
    {"Classificação do Estabelecimento", 2365, 405, "DE_CLASSIF_ESTAB_SAUDE"},
};
}  // namespace

bool TqrpEstabSaude::NaoAdequado(const std::function<QVariant(const QString&)>& v) {
    const QVariant classif = v(QStringLiteral("CD_CLASSIF_ESTAB_SAUDE"));
    const QVariant tipo = v(QStringLiteral("CD_TIPO_ESTB_SAUD"));
    if (v(QStringLiteral("LG_HOSPITAL_INCLUIDO")).toString() == QLatin1String("S") &&
        !Vazio(classif) && classif.toInt() == kAssistenciaHospitalar &&
        Vazio(v(QStringLiteral("CD_CNES"))) && v(QStringLiteral("VINCULADO")).toBool())
        return true;
    for (const char* c : {"RAZAO_SOCIAL_ESTB_SAUD", "CD_TIPO_ESTB_SAUD", "ID_MUNC", "DT_VINCULO_OPER",
                          "CD_CLASSIF_ESTAB_SAUDE"})
        if (Vazio(v(QString::fromLatin1(c)))) return true;
    return tipo.toInt() == kContratualizado &&
           (Vazio(v(QStringLiteral("CD_TIPO_CONTRATO_ESTB_SAUDE"))) ||
            Vazio(v(QStringLiteral("DT_CONTRATO_OPER"))));
}

QString TqrpEstabSaude::Relacionamento(const QVariant& tipo) {
    if (Vazio(tipo)) return QString();
    switch (tipo.toInt()) {
        case kProprio:
            return QStringLiteral("Próprio");
        case kContratualizado:
            return QStringLiteral("Contratualizado");
    }
    return QString();
}

QString TqrpEstabSaude::TipoContratacao(const QVariant& tipo) {
    const QString t = tipo.toString();
    if (t == QLatin1String("D")) return QStringLiteral("Direta");
    if (t == QLatin1String("I")) return QStringLiteral("Indireta");
    return QString();
}

namespace {
// The rows of the list, without their order. Establishments whose municipality is
// unknown are left out; an unknown classification prints empty.
QString sqlLinhas(bool somenteNaoAdequados) {
    QString sql = QStringLiteral(
        "SELECT ES.ID_ESTB_SAUD, ES.CD_CNPJ_ESTB_SAUD, ES.RAZAO_SOCIAL_ESTB_SAUD, "
        "ES.CD_TIPO_ESTB_SAUD, ES.ID_MUNC, ES.CD_TIPO_CONTRATO_ESTB_SAUDE, ES.LG_HOSPITAL_INCLUIDO, "
        "ES.CD_CNES, ES.DT_VINCULO_OPER, ES.DT_CONTRATO_OPER, ES.CD_CLASSIF_ESTAB_SAUDE, "
        "CES.DE_CLASSIF_ESTAB_SAUDE, M.CD_UF, M.NM_MUNC");
    if (somenteNaoAdequados)
        sql += QStringLiteral(
            ", EXISTS (SELECT 1 FROM RL_PLANOS_ESTAB_SAUDE R "
            "WHERE R.ID_ESTB_SAUD = ES.ID_ESTB_SAUD) AS VINCULADO");
    return sql + QStringLiteral(
                     " FROM TB_ESTAB_SAUDE ES "
                     "LEFT JOIN TA_CLASSIF_ESTAB_SAUDE CES "
                     "ON CES.CD_CLASSIF_ESTAB_SAUDE = ES.CD_CLASSIF_ESTAB_SAUDE "
                     "INNER JOIN TB_MUNICIPIOS M ON M.ID_MUNC = ES.ID_MUNC");
}
}  // namespace

QString TqrpEstabSaude::Sql(Ordem ordem, bool somenteNaoAdequados) {
    return sqlLinhas(somenteNaoAdequados) +
           (ordem == Ordem::Cnpj
                ? QStringLiteral(" ORDER BY ES.CD_CNPJ_ESTB_SAUD, ES.ID_ESTB_SAUD")
                : QStringLiteral(" ORDER BY ES.RAZAO_SOCIAL_ESTB_SAUD COLLATE PTBR, ES.ID_ESTB_SAUD"));
}

TqrpEstabSaude::TqrpEstabSaude(Banco& banco, Ordem ordem, bool somenteNaoAdequados, QObject* pai)
    : TqrpModeloRelatorio(true, true, pai), m_somenteNaoAdequados(somenteNaoAdequados) {
    setObjectName(QStringLiteral("qrpEstabSaude"));
    Titulo = QStringLiteral("Relação de Estabelecimentos de Saúde");

    const QFont titulos = FonteRelatorio(7.5, true);
    const QFont corpo = FonteRelatorio(7.5);
    qrbColunaCab->altura = 85;
    qrbDetalhe->altura = 38;
    for (const Coluna& c : kColunas) {
        const QString nome = QString::fromUtf8(c.titulo);
        qrbColunaCab->Rotulo(QStringLiteral("lbl") + QString::number(c.x), nome,
                             QRectF(c.x, 5, c.largura, 70), titulos, Qt::AlignLeft | Qt::AlignBottom)
            ->cresce = true;
        if (!c.campo) continue;
        Elemento* e = qrbDetalhe->Campo(QString::fromLatin1(c.campo), QString::fromLatin1(c.campo),
                                        QRectF(c.x, 2, c.largura, 34), corpo);
        const QString campo = QString::fromLatin1(c.campo);
        // Long names wrap in their column instead of being cut.
        e->cresce = campo == QLatin1String("RAZAO_SOCIAL_ESTB_SAUD") || campo == QLatin1String("NM_MUNC") ||
                    campo == QLatin1String("DE_CLASSIF_ESTAB_SAUDE");
        if (campo.startsWith(QLatin1String("DT_")))
            e->formato = [](const QVariant& v) { return UtilRelatorios::Data(v); };
        else if (campo == QLatin1String("CD_TIPO_ESTB_SAUD"))
            e->formato = &TqrpEstabSaude::Relacionamento;
        else if (campo == QLatin1String("CD_TIPO_CONTRATO_ESTB_SAUDE"))
            e->formato = &TqrpEstabSaude::TipoContratacao;
    }
    qrbColunaCab->Linha(QStringLiteral("linTitulos"), QRectF(0, 78, LarguraUtil(), 6), 2);
    qrbDetalhe->Rotulo(QStringLiteral("qrdCnpj"), QString(), QRectF(0, 2, 265, 34), corpo);
    qrbDetalhe->AntesImprimir = [this](Banda& b) {
        if (m_somenteNaoAdequados &&
            !NaoAdequado([this](const QString& c) { return Valor(c); }))
            return false;
        b.Item(QStringLiteral("qrdCnpj"))->texto =
            m_mascara.Aplica(Valor(QStringLiteral("CD_CNPJ_ESTB_SAUD")).toString());
        AlternaCor(b);
        return true;
    };

    Banda* resumo = CriaBanda(TipoBanda::Sumario, 70, QStringLiteral("qrbSumario"));
    resumo->Linha(QStringLiteral("linSumario"), QRectF(0, 5, LarguraUtil(), 6), 2);
    resumo->Expressao(QStringLiteral("qrxTotal"), Elemento::Agregado::Contagem, QString(),
                      QRectF(0, 15, 1500, 45), FonteRelatorio(9, true));
    Elemento* total = resumo->Item(QStringLiteral("qrxTotal"));
    total->texto = QStringLiteral("Total de estabelecimentos de saúde cadastrados: ");
    total->formato = [](const QVariant& v) { return UtilRelatorios::Contagem(v.toLongLong()); };

    // The keys in order (names as pt-BR, CNPJs as text), then the rows in batches of keys:
    // no statement stays open while the pages are made. Rows whose municipality is not
    // known are left out by the rows' statement.
    const bool porCnpj = ordem == Ordem::Cnpj;
    DefineFonte(std::make_unique<FonteOrdenada>(
        banco, porCnpj ? FonteOrdenada::Comparacao::Texto : FonteOrdenada::Comparacao::PtBr,
        porCnpj ? QStringLiteral("SELECT ID_ESTB_SAUD, CD_CNPJ_ESTB_SAUD FROM TB_ESTAB_SAUDE")
                : QStringLiteral("SELECT ID_ESTB_SAUD, RAZAO_SOCIAL_ESTB_SAUD FROM TB_ESTAB_SAUDE"),
        sqlLinhas(somenteNaoAdequados) + QStringLiteral(" WHERE ES.ID_ESTB_SAUD IN (%1)"),
        QStringLiteral("ID_ESTB_SAUD")));
}

void TqrpEstabSaude::AntesDeGerar() {
    TqrpModeloRelatorio::AntesDeGerar();
    m_mascara.Reinicia();
}

// ---------------------------------------------------------------------------

TfrmDlgPrintEstabSaude::TfrmDlgPrintEstabSaude(QWidget* pai) : TfrmModBase(pai) {
    setObjectName(QStringLiteral("frmDlgPrintEstabSaude"));
    setWindowTitle(QStringLiteral("Relação de estabelecimentos de saúde"));
    auto* raiz = new QVBoxLayout(this);
    auto* grupo = new QGroupBox(QStringLiteral("  Ordernar por: "), this);
    grupo->setObjectName(QStringLiteral("rgOrdem"));
    auto* lg = new QVBoxLayout(grupo);
    rbCnpj = new QRadioButton(QStringLiteral("CNPJ"), grupo);
    rbCnpj->setObjectName(QStringLiteral("rbCnpj"));
    rbRazaoSocial = new QRadioButton(QStringLiteral("Razão Social"), grupo);
    rbRazaoSocial->setObjectName(QStringLiteral("rbRazaoSocial"));
    rbRazaoSocial->setChecked(true);
    lg->addWidget(rbCnpj);
    lg->addWidget(rbRazaoSocial);
    raiz->addWidget(grupo);
    chkNaoAdequados =
        new QCheckBox(QStringLiteral("Listar somente estabelecimentos não adequados"), this);
    chkNaoAdequados->setObjectName(QStringLiteral("chkNaoAdequados"));
    raiz->addWidget(chkNaoAdequados);
    btnImprimir = new QPushButton(QStringLiteral("&Imprimir"), this);
    btnImprimir->setObjectName(QStringLiteral("btnImprimir"));
    btnImprimir->setDefault(true);
    raiz->addWidget(btnImprimir, 0, Qt::AlignRight);
    connect(btnImprimir, &QPushButton::clicked, this, &TfrmDlgPrintEstabSaude::ImprimirClick);
}

void TfrmDlgPrintEstabSaude::ImprimirClick() {
    TqrpEstabSaude relatorio(DmConexao()->banco(),
                             rbCnpj->isChecked() ? TqrpEstabSaude::Ordem::Cnpj
                                                 : TqrpEstabSaude::Ordem::RazaoSocial,
                             chkNaoAdequados->isChecked());
    ExibeRelatorio(relatorio, this);
    accept();
}

void AbreRelacaoEstabelecimentos(QWidget* pai) {
    TfrmDlgPrintEstabSaude dialogo(pai);
    Modal::executa(dialogo);
}
