#include "app/FrmSobre.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Aplicacao.h"
#include "common/Logotipo.h"

TfrmSobre::TfrmSobre(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmSobre"));
    setWindowTitle(QStringLiteral("Sobre"));
    auto* layout = new QVBoxLayout(this);
    auto* logo = new QLabel(this);
    logo->setPixmap(Logotipo::pixmap(72));
    logo->setAlignment(Qt::AlignCenter);
    auto* nome = new QLabel(AplicacaoQev::NomeCurto(), this);
    nome->setStyleSheet(QStringLiteral("font-size: 24pt; font-weight: bold; color: #1f4e79;"));
    nome->setAlignment(Qt::AlignCenter);
    auto* titulo = new QLabel(AplicacaoQev::TituloSistema(), this);
    titulo->setAlignment(Qt::AlignCenter);
    auto* descricao = new QLabel(
        QStringLiteral("Este sistema se destina ao cadastramento das informações relativas\n"
                       "aos Planos de Saúde das Operadoras e a vinculação dos\n"
                       "Estabelecimentos de Saúde aos Planos."),
        this);
    descricao->setObjectName(QStringLiteral("lblDescricao"));
    descricao->setAlignment(Qt::AlignCenter);
    auto* sair = new QPushButton(QStringLiteral("Sair"), this);
    sair->setObjectName(QStringLiteral("btnSair"));
    sair->setCursor(Qt::PointingHandCursor);
    connect(sair, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(logo);
    layout->addWidget(nome);
    layout->addWidget(titulo);
    layout->addSpacing(8);
    layout->addWidget(descricao);
    layout->addSpacing(8);
    layout->addWidget(sair, 0, Qt::AlignCenter);
}
