#include "network/FrmDlgOpcaoPesqEstb.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

TfrmDlgOpcaoPesqEstb::TfrmDlgOpcaoPesqEstb(QWidget* pai) : TfrmModDialogo(pai) {
    setObjectName(QStringLiteral("frmDlgOpcaoPesqEstb"));
    setWindowTitle(QStringLiteral("Tipo da pesquisa de estabelecimentos"));
    auto* raiz = new QVBoxLayout(Conteudo());
    auto* grupo = new QGroupBox(QStringLiteral("Classificação do estabelecimento"), Conteudo());
    grupo->setObjectName(QStringLiteral("rdgClassificacao"));
    raiz->addWidget(grupo);
    auto* g = new QGridLayout(grupo);
    const char* const textos[] = {"Assistencia hospitalar", "Serviços de alta complexidade",
                                  "Demais estabelecimentos", "CNPJ/CPF:", "TODOS"};
    const char* const nomes[] = {"rbAssistencia", "rbAltaComplexidade", "rbDemais", "rbCnpj",
                                 "rbTodos"};
    for (int i = 0; i < 5; ++i) {
        m_itens[i] = new QRadioButton(QString::fromUtf8(textos[i]), grupo);
        m_itens[i]->setObjectName(QString::fromLatin1(nomes[i]));
        g->addWidget(m_itens[i], i, 0);
    }
    m_cnpj = new QLineEdit(grupo);
    m_cnpj->setObjectName(QStringLiteral("edtCnpj"));
    m_cnpj->setMaxLength(18);
    m_cnpj->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9./-]*")), m_cnpj));
    m_cnpj->setMinimumWidth(
        m_cnpj->fontMetrics().horizontalAdvance(QStringLiteral("00.000.000/0000-000")) + 12);
    g->addWidget(m_cnpj, Cnpj, 1);
    connect(m_itens[Cnpj], &QRadioButton::toggled, this, [this](bool marcado) {
        m_cnpj->setEnabled(marcado);
        if (marcado) m_cnpj->setFocus();
    });
    Seleciona(AssistenciaHospitalar);
    m_cnpj->setEnabled(false);
}

void TfrmDlgOpcaoPesqEstb::Seleciona(Item item) { m_itens[item]->setChecked(true); }

int TfrmDlgOpcaoPesqEstb::Escolha() const {
    static const int escolhas[] = {1, 2, 3, 4, 0};
    for (int i = 0; i < 5; ++i)
        if (m_itens[i]->isChecked()) return escolhas[i];
    return 0;
}
