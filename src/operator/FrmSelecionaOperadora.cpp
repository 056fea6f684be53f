#include "operator/FrmSelecionaOperadora.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "common/ExecucaoModal.h"
#include "operator/DmZemlo.h"
#include "operator/FrmCadOperadora.h"

namespace {
const QString kCdOper = QStringLiteral("CD_OPER");
}

TfrmSelecionaOperadora::TfrmSelecionaOperadora(QWidget* parent)
    : QDialog(parent),
      m_lista(new QListWidget(this)),
      m_btnIncluir(new QPushButton(QStringLiteral("Incluir nova Operadora"), this)),
      m_btnAlterar(new QPushButton(QStringLiteral("Alterar identificação da Operadora"), this)),
      m_btnConfirmar(new QPushButton(QStringLiteral("Confirmar seleção"), this)),
      m_btnCancelar(new QPushButton(QStringLiteral("Cancela criação"), this)) {
    setObjectName(QStringLiteral("frmSelecionaOperadora"));
    setWindowTitle(QStringLiteral("Seleciona Operadora"));
    m_lista->setObjectName(QStringLiteral("lstOperadora"));
    m_btnIncluir->setObjectName(QStringLiteral("btnIncluir"));
    m_btnAlterar->setObjectName(QStringLiteral("btnAlterar"));
    m_btnConfirmar->setObjectName(QStringLiteral("btnConfirmar"));
    m_btnCancelar->setObjectName(QStringLiteral("btnCancelar"));
    for (QPushButton* b : {m_btnIncluir, m_btnAlterar, m_btnConfirmar, m_btnCancelar})
        b->setAutoDefault(false);

    auto* rotulo = new QLabel(QStringLiteral("Operadora"), this);
    rotulo->setBuddy(m_lista);
    auto* acoes = new QVBoxLayout;
    acoes->addWidget(m_btnIncluir);
    acoes->addWidget(m_btnAlterar);
    acoes->addStretch(1);
    auto* corpo = new QHBoxLayout;
    corpo->addWidget(m_lista, 1);
    corpo->addLayout(acoes);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch(1);
    botoes->addWidget(m_btnConfirmar);
    botoes->addWidget(m_btnCancelar);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rotulo);
    layout->addLayout(corpo, 1);
    layout->addLayout(botoes);
    resize(620, 260);

    const TDMZemlo* z = DMZemlo();
    preencheLista(z->OperadorasVazia() ? QString() : z->CampoGravado(kCdOper).toString());
    // Both set once, here.
    m_btnIncluir->setEnabled(z->OperadorasVazia());
    m_btnAlterar->setEnabled(m_lista->currentRow() >= 0);

    connect(m_lista, &QListWidget::currentRowChanged, this, &TfrmSelecionaOperadora::escolheu);
    connect(m_btnIncluir, &QPushButton::clicked, this, &TfrmSelecionaOperadora::incluir);
    connect(m_btnAlterar, &QPushButton::clicked, this, &TfrmSelecionaOperadora::alterar);
    connect(m_btnConfirmar, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_btnCancelar, &QPushButton::clicked, this, &TfrmSelecionaOperadora::reject);
}

void TfrmSelecionaOperadora::preencheLista(const QString& escolher) {
    const QSignalBlocker bloqueio(m_lista);
    m_lista->clear();
    const Resultado& linhas = DMZemlo()->Operadoras();
    for (int i = 0; i < linhas.numLinhas(); ++i) {
        auto* item = new QListWidgetItem(
            linhas.valor(i, QStringLiteral("NM_RAZAO_SOCIAL")).toString(), m_lista);
        const QString codigo = linhas.valor(i, kCdOper).toString();
        item->setData(Qt::UserRole, codigo);
        if (!escolher.isEmpty() && codigo == escolher) m_lista->setCurrentItem(item);
    }
}

QString TfrmSelecionaOperadora::CodigoEscolhido() const {
    const QListWidgetItem* item = m_lista->currentItem();
    return item ? item->data(Qt::UserRole).toString() : QString();
}

void TfrmSelecionaOperadora::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous()) m_codigoAoMostrar = DMZemlo()->CampoGravado(kCdOper).toString();
}

void TfrmSelecionaOperadora::escolheu() {
    const QString codigo = CodigoEscolhido();
    if (!codigo.isEmpty()) DMZemlo()->LocalizaOperadora(codigo);
}

void TfrmSelecionaOperadora::incluir() {
    DMZemlo()->InsereOperadora();
    abreCadastro();
}

void TfrmSelecionaOperadora::alterar() {
    DMZemlo()->EditaOperadora();
    abreCadastro();
}

void TfrmSelecionaOperadora::abreCadastro() {
    TfrmCadOperadora cadastro(this);
    if (Modal::executa(cadastro) == QDialog::Accepted)
        preencheLista(DMZemlo()->CampoGravado(kCdOper).toString());
}

void TfrmSelecionaOperadora::reject() {
    if (!m_codigoAoMostrar.isEmpty()) DMZemlo()->LocalizaOperadora(m_codigoAoMostrar);
    QDialog::reject();
}
