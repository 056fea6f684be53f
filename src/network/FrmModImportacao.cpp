#include "network/FrmModImportacao.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "common/CursorEspera.h"
#include "common/Icones.h"
#include "platform/Plataforma.h"

TfrmModImportacao::TfrmModImportacao(QWidget* pai, const QString& rotulo, QString filtro)
    : TfrmModDialogo(pai), m_filtro(std::move(filtro)) {
    auto* raiz = new QVBoxLayout(Conteudo());
    raiz->setContentsMargins(16, 16, 16, 12);
    lblArquivo = new QLabel(rotulo, Conteudo());
    edtArquivo = new QLineEdit(Conteudo());
    edtArquivo->setToolTip(QStringLiteral("Selecione o arquivo"));
    edtArquivo->setMinimumWidth(460);
    lblArquivo->setBuddy(edtArquivo);
    btnProcuraArquivo = new QToolButton(Conteudo());
    btnProcuraArquivo->setObjectName(QStringLiteral("btnProcuraArquivo"));
    btnProcuraArquivo->setIcon(IconePadrao(QStyle::SP_DirOpenIcon));
    btnProcuraArquivo->setToolTip(QStringLiteral("Selecione o arquivo"));
    auto* linha = new QHBoxLayout;
    linha->addWidget(edtArquivo, 1);
    linha->addWidget(btnProcuraArquivo);
    raiz->addWidget(lblArquivo);
    raiz->addLayout(linha);
    m_area = new QVBoxLayout;
    raiz->addLayout(m_area);
    Gauge1 = new QProgressBar(Conteudo());
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    // its place is kept while it is hidden: the window does not jump when the run starts
    QSizePolicy politica = Gauge1->sizePolicy();
    politica.setRetainSizeWhenHidden(true);
    Gauge1->setSizePolicy(politica);
    Gauge1->setVisible(false);
    raiz->addWidget(Gauge1);
    raiz->addStretch(1);

    btnConfirmaProcesso = btnConfirmar();
    btnConfirmaProcesso->setObjectName(QStringLiteral("btnConfirmaProcesso"));
    btnConfirmaProcesso->setIcon(IconePadrao(QStyle::SP_DialogApplyButton));
    btnLimpaTexto = btnCancelar();
    btnLimpaTexto->setObjectName(QStringLiteral("btnLimpaTexto"));
    btnLimpaTexto->setToolTip(QStringLiteral("Cancelar"));
    btnLimpaTexto->setIcon(IconePadrao(QStyle::SP_DialogCancelButton));
    connect(btnProcuraArquivo, &QToolButton::clicked, this, [this] { escolheArquivo(); });
}

void TfrmModImportacao::escolheArquivo() {
    SeletorArquivo::Pedido pedido;
    pedido.modo = SeletorArquivo::Modo::Abrir;
    pedido.titulo = QStringLiteral("Selecione o arquivo");
    pedido.filtro = m_filtro;
    pedido.pastaInicial = QFileInfo(edtArquivo->text()).absolutePath();
    const QString escolhido = SeletorArquivo::escolhe(this, pedido);
    if (!escolhido.isEmpty()) edtArquivo->setText(escolhido);
}

void TfrmModImportacao::executa(const std::function<void()>& importacao) {
    CursorEspera espera;
    QWidget* faixa = btnConfirmaProcesso->parentWidget();
    m_importando = true;
    faixa->setEnabled(false);
    Conteudo()->setEnabled(false);
    struct Restaura {
        TfrmModImportacao* t;
        QWidget* faixa;
        ~Restaura() {
            t->m_importando = false;
            faixa->setEnabled(true);
            t->Conteudo()->setEnabled(true);
        }
    } restaura{this, faixa};
    importacao();
}

void TfrmModImportacao::mostraProgresso(int valor, int maximo) {
    Gauge1->setMaximum(qMax(maximo, 1));
    Gauge1->setValue(qBound(0, valor, Gauge1->maximum()));
    Gauge1->setVisible(true);
    QCoreApplication::processEvents();
}

void TfrmModImportacao::reject() {
    if (m_importando) return;
    TfrmModDialogo::reject();
}

void TfrmModImportacao::closeEvent(QCloseEvent* e) {
    if (m_importando) {
        e->ignore();
        return;
    }
    TfrmModDialogo::closeEvent(e);
}
