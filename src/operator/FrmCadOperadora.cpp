#include "operator/FrmCadOperadora.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "db/Erro.h"
#include "common/Identificadores.h"
#include "common/MensagemDlg.h"
#include "common/Win1252.h"
#include "db/DmLookup.h"
#include "operator/DmZemlo.h"
#include "operator/DmOperadora.h"
#include "operator/Operadora.h"

namespace {
const QString kCdOper = QStringLiteral("CD_OPER");
const QString kRazao = QStringLiteral("NM_RAZAO_SOCIAL");
const QString kCnpj = QStringLiteral("CD_CNPJ");
const QString kClassificacao = QStringLiteral("CD_GRUPO_CLASSIFICACAO");
const QString kRegiao = QStringLiteral("CD_REGIAO_ATUACAO");
constexpr int kRegioes = 6;
}  // namespace

TfrmCadOperadora::TfrmCadOperadora(QWidget* parent)
    : QDialog(parent),
      m_edtCodigo(new QLineEdit(this)),
      m_edtRazaoSocial(new QLineEdit(this)),
      m_edtCnpj(new QLineEdit(this)),
      m_cmbClassificacao(new QComboBox(this)),
      m_cmbRegiao(new QComboBox(this)),
      m_btnConfirmar(new QPushButton(QStringLiteral("Confirmar"), this)),
      m_btnCancelar(new QPushButton(QStringLiteral("Cancelar"), this)) {
    setObjectName(QStringLiteral("frmCadOperadora"));
    setWindowTitle(QStringLiteral("Dados da Operadora"));

    m_edtCodigo->setObjectName(QStringLiteral("edtCodigo"));
    m_edtCodigo->setInputMask(QStringLiteral("00000-0;_"));
    m_edtCodigo->setMaximumWidth(
        m_edtCodigo->fontMetrics().horizontalAdvance(QStringLiteral("99999-99")) + 24);
    m_edtRazaoSocial->setObjectName(QStringLiteral("edtRazaoSocial"));
    m_edtRazaoSocial->setMaxLength(60);
    m_edtRazaoSocial->setMinimumWidth(m_edtRazaoSocial->fontMetrics().averageCharWidth() * 60);
    m_edtCnpj->setObjectName(QStringLiteral("edtCnpj"));
    m_edtCnpj->setInputMask(QStringLiteral("00.000.000/0000-00;_"));
    m_edtCnpj->setMaximumWidth(
        m_edtCnpj->fontMetrics().horizontalAdvance(QStringLiteral("99.999.999/9999-999")) + 24);

    m_cmbClassificacao->setObjectName(QStringLiteral("cmbClassificacao"));
    if (const TdmLookup* lookup = dmLookup()) {
        const Resultado& c = lookup->cdsClassificacaoOperadora;
        for (int i = 0; i < c.numLinhas(); ++i)
            m_cmbClassificacao->addItem(
                c.valor(i, QStringLiteral("DE_GRUPO_CLASSIFICACAO")).toString(),
                c.valor(i, kClassificacao).toInt());
    }
    m_cmbRegiao->setObjectName(QStringLiteral("cmbRegiao"));
    for (int n = 1; n <= kRegioes; ++n) m_cmbRegiao->addItem(QStringLiteral("Região %1").arg(n), n);

    m_btnConfirmar->setObjectName(QStringLiteral("btnConfirmar"));
    m_btnConfirmar->setToolTip(QStringLiteral("Confirma criação da operadora"));
    m_btnConfirmar->setAutoDefault(false);
    m_btnCancelar->setObjectName(QStringLiteral("btnCancelar"));
    m_btnCancelar->setToolTip(QStringLiteral("Cancela criação"));
    m_btnCancelar->setAutoDefault(false);
    connect(m_btnConfirmar, &QPushButton::clicked, this, &TfrmCadOperadora::Confirmar);
    connect(m_btnCancelar, &QPushButton::clicked, this, &TfrmCadOperadora::reject);
    // Ctrl+Enter confirms, as on the record screens
    for (const QKeySequence& k : {QKeySequence(Qt::CTRL | Qt::Key_Enter), QKeySequence(Qt::CTRL | Qt::Key_Return)}) {
        auto* atalho = new QShortcut(k, this);
        connect(atalho, &QShortcut::activated, m_btnConfirmar, &QPushButton::click);
    }
    m_btnConfirmar->setToolTip(m_btnConfirmar->toolTip() + QStringLiteral(" (Ctrl+Enter)"));
    m_btnCancelar->setToolTip(m_btnCancelar->toolTip() + QStringLiteral(" (Esc)"));

    auto* grade = new QGridLayout;
    auto linha = [&](int l, const QString& rotulo, QWidget* campo) {
        auto* r = new QLabel(rotulo, this);
        r->setBuddy(campo);
        grade->addWidget(r, l, 0);
        grade->addWidget(campo, l, 1);
    };
    linha(0, QStringLiteral("Reg. ZUB"), m_edtCodigo);
    linha(1, QStringLiteral("Razão Social:"), m_edtRazaoSocial);
    linha(2, QStringLiteral("CNPJ:"), m_edtCnpj);
    linha(3, QStringLiteral("Classificação"), m_cmbClassificacao);
    linha(4, QStringLiteral("Região de Comercialização"), m_cmbRegiao);
    grade->setColumnStretch(1, 1);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch(1);
    botoes->addWidget(m_btnConfirmar);
    botoes->addWidget(m_btnCancelar);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grade);
    layout->addSpacing(8);
    layout->addLayout(botoes);

    mostraLinha();
}

void TfrmCadOperadora::mostraLinha() {
    const TDMZemlo* z = DMZemlo();
    m_nova = z->EstadoOperadora() == TDMZemlo::Estado::Insercao;
    const QVariant classificacao = z->CampoOperadora(kClassificacao);
    const QVariant lida = z->CampoGravado(kClassificacao);
    m_classificacaoLida = m_nova || lida.isNull() ? -1 : lida.toInt();

    m_edtCodigo->setText(z->CampoOperadora(kCdOper).toString());
    m_edtCodigo->setEnabled(m_nova);
    m_edtRazaoSocial->setText(z->CampoOperadora(kRazao).toString());
    m_edtCnpj->setText(z->CampoOperadora(kCnpj).toString());
    m_cmbClassificacao->setCurrentIndex(
        classificacao.isNull() ? -1 : m_cmbClassificacao->findData(classificacao.toInt()));
    const QVariant regiao = z->CampoOperadora(kRegiao);
    const int n = regiao.toInt();
    m_cmbRegiao->setCurrentIndex(!m_nova && !regiao.isNull() && n >= 1 && n <= kRegioes ? n - 1
                                                                                        : -1);
    (m_nova ? m_edtCodigo : m_edtRazaoSocial)->setFocus();
}

bool TfrmCadOperadora::falha(const QString& texto, QWidget* campo) {
    MyMessageDlg(texto, Mensagens::Erro, Mensagens::BtOk);
    campo->setFocus();
    return false;
}

void TfrmCadOperadora::Confirmar() {
    TDMZemlo* z = DMZemlo();
    // The code and the CNPJ as typed, digits only (the masks' literals are not kept).
    const QString codigo = SomenteDigitos(m_edtCodigo->text());
    const QString cnpj = SomenteDigitos(m_edtCnpj->text());
    const QString codigoGravado = CompletaZeros(codigo, 6);

    if (codigo.isEmpty())
        return void(falha(QStringLiteral("Informe o Código da Operadora"), m_edtCodigo));
    if (!ValidaCodigoOperadora(codigo))
        return void(falha(QStringLiteral("Código da Operadora inválido"), m_edtCodigo));
    if (m_nova && OperadoraExiste(codigoGravado))
        return void(
            falha(QStringLiteral("Código já cadastrado para outra Operadora"), m_edtCodigo));
    if (cnpj.isEmpty())
        return void(falha(QStringLiteral("Informe o CNPJ da Operadora"), m_edtCnpj));
    if (TodosZeros(cnpj)) return void(falha(QStringLiteral("CNPJ inválido"), m_edtCnpj));
    if (!ValidaCnpjCpf(cnpj, 0)) return void(falha(QStringLiteral("CNPJ inválido"), m_edtCnpj));
    if (m_cmbClassificacao->currentIndex() < 0)
        return void(
            falha(QStringLiteral("Informe a Classificação da Operadora"), m_cmbClassificacao));
    if (m_cmbRegiao->currentIndex() < 0)
        return void(falha(QStringLiteral("Informe a Região de Comercialização"), m_cmbRegiao));
    if (m_edtRazaoSocial->text().trimmed().isEmpty())
        return void(falha(QStringLiteral("Informe a Razão Social da Operadora"), m_edtRazaoSocial));
    const QString fora = ConfereTextoArquivo(QStringLiteral("Razão Social"), m_edtRazaoSocial->text());
    if (!fora.isEmpty()) return void(falha(fora, m_edtRazaoSocial));

    const int classificacao = m_cmbClassificacao->currentData().toInt();
    const bool mudouClassificacao = !m_nova && classificacao != m_classificacaoLida;
    if (mudouClassificacao &&
        MyMessageDlg(
            QStringLiteral("Esta operação poderá invalidar planos em função da característica "
                           "da operadora.\n\nConfirma a alteração?"),
            Mensagens::Confirmacao, Mensagens::BtSim | Mensagens::BtNao) != Mensagens::RespSim) {
        // Nothing is saved; the screen shows the classification the row has.
        m_cmbClassificacao->setCurrentIndex(m_cmbClassificacao->findData(m_classificacaoLida));
        return;
    }

    try {
        if (m_nova) z->DefineCampoOperadora(kCdOper, codigoGravado);
        z->DefineCampoOperadora(kRazao, m_edtRazaoSocial->text());
        z->DefineCampoOperadora(kCnpj, CompletaZeros(cnpj, 14));
        z->DefineCampoOperadora(kClassificacao, classificacao);
        z->DefineCampoOperadora(kRegiao, m_cmbRegiao->currentIndex() + 1);
        z->GravaOperadora();
    } catch (const ErroQev& e) {
        // The row stays in edit and the screen open.
        MostraErroSimples(e.mensagem());
        return;
    }
    if (mudouClassificacao && dmOperadora()) dmOperadora()->ClassificacaoAlterada(codigoGravado);
    accept();
}

void TfrmCadOperadora::reject() {
    DMZemlo()->CancelaOperadora();
    QDialog::reject();
}
