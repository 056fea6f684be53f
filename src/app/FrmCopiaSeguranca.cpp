#include "app/FrmCopiaSeguranca.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "common/CursorEspera.h"
#include "common/ExecucaoModal.h"
#include "common/MensagemDlg.h"
#include "db/DmConexao.h"
#include "db/Erro.h"
#include "db/Mascara.h"
#include "platform/Plataforma.h"

namespace {
const QString kFiltro = QStringLiteral("Cópia de segurança do QEV (*.mdb);;Todos os arquivos (*)");
}

TfrmCopiaSeguranca::TfrmCopiaSeguranca(Modo modo, QWidget* pai) : TfrmModDialogo(pai), m_modo(modo) {
    const bool gravar = modo == Modo::Gravar;
    setObjectName(gravar ? QStringLiteral("frmCopiaSeguranca") : QStringLiteral("frmRestauraCopia"));
    setWindowTitle(gravar ? QStringLiteral("Cópia de segurança") : QStringLiteral("Restaurar cópia de segurança"));
    auto* grade = new QGridLayout(Conteudo());
    grade->setContentsMargins(12, 12, 12, 12);
    auto* explica = new QLabel(
        gravar ? QStringLiteral("Grava uma cópia compactada de todos os dados do sistema no arquivo indicado.\n"
                                "A cópia é conferida antes de ser gravada com o nome escolhido.")
               : QStringLiteral("Substitui os dados do sistema pelos da cópia de segurança indicada.\n"
                                "O banco de dados atual é guardado como \"%1\" na pasta dos dados.")
                     .arg(CopiaSeguranca::NomeAnterior()),
        Conteudo());
    explica->setObjectName(QStringLiteral("lblExplicacao"));
    explica->setWordWrap(true);
    grade->addWidget(explica, 0, 0, 1, 3);

    auto* rotulo = new QLabel(QStringLiteral("&Arquivo:"), Conteudo());
    m_edtArquivo = new QLineEdit(Conteudo());
    m_edtArquivo->setObjectName(QStringLiteral("edtArquivo"));
    m_edtArquivo->setMinimumWidth(420);
    rotulo->setBuddy(m_edtArquivo);
    m_btnProcurar = new QPushButton(QStringLiteral("&Procurar..."), Conteudo());
    m_btnProcurar->setObjectName(QStringLiteral("btnProcurar"));
    m_btnProcurar->setToolTip(gravar ? QStringLiteral("Escolher onde gravar a cópia")
                                     : QStringLiteral("Escolher a cópia de segurança a restaurar"));
    grade->addWidget(rotulo, 1, 0);
    grade->addWidget(m_edtArquivo, 1, 1);
    grade->addWidget(m_btnProcurar, 1, 2);

    m_progresso = new QProgressBar(Conteudo());
    m_progresso->setObjectName(QStringLiteral("pbProgresso"));
    m_progresso->setRange(0, 100);
    m_progresso->setValue(0);
    grade->addWidget(m_progresso, 2, 0, 1, 3);
    m_lblSituacao = new QLabel(Conteudo());
    m_lblSituacao->setObjectName(QStringLiteral("lblSituacao"));
    grade->addWidget(m_lblSituacao, 3, 0, 1, 3);
    grade->setColumnStretch(1, 1);
    grade->setRowStretch(4, 1);

    if (gravar) m_edtArquivo->setText(CopiaSeguranca::CaminhoPadrao());
    btnConfirmar()->setToolTip(gravar ? QStringLiteral("Gravar a cópia de segurança")
                                      : QStringLiteral("Restaurar a cópia de segurança"));
    connect(m_btnProcurar, &QPushButton::clicked, this, &TfrmCopiaSeguranca::procura);
    setTabOrder(m_edtArquivo, m_btnProcurar);
    setTabOrder(m_btnProcurar, btnConfirmar());
    setTabOrder(btnConfirmar(), btnCancelar());
}

void TfrmCopiaSeguranca::procura() {
    SeletorArquivo::Pedido p;
    p.modo = m_modo == Modo::Gravar ? SeletorArquivo::Modo::Salvar : SeletorArquivo::Modo::Abrir;
    p.titulo = windowTitle();
    p.filtro = kFiltro;
    p.pastaInicial = m_edtArquivo->text().isEmpty() ? QFileInfo(CopiaSeguranca::CaminhoPadrao()).absolutePath()
                                                     : m_edtArquivo->text();
    const QString escolhido = SeletorArquivo::escolhe(this, p);
    if (!escolhido.isEmpty()) m_edtArquivo->setText(escolhido);
}

bool TfrmCopiaSeguranca::executa(const std::function<void(const CopiaSeguranca::Progresso&)>& trabalho) {
    m_rodando = true;
    Conteudo()->setEnabled(false);
    btnConfirmar()->setEnabled(false);
    btnCancelar()->setEnabled(false);
    m_progresso->setValue(0);
    QString falha;
    {
        CursorEspera espera;
        try {
            trabalho([this](int v) {
                m_progresso->setValue(v);
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            });
        } catch (const ErroQev& e) {
            falha = e.mensagem();
        }
    }
    m_rodando = false;
    Conteudo()->setEnabled(true);
    btnConfirmar()->setEnabled(true);
    btnCancelar()->setEnabled(true);
    if (falha.isEmpty()) return true;
    m_progresso->setValue(0);
    m_lblSituacao->clear();
    MyMessageDlg(falha, Mensagens::Erro, Mensagens::BtOk);  // with the normal cursor
    return false;
}

void TfrmCopiaSeguranca::ConfirmarClick() {
    const QString arquivo = m_edtArquivo->text().trimmed();
    if (arquivo.isEmpty()) {
        MyMessageDlg(QStringLiteral("Informe o arquivo."), Mensagens::Erro, Mensagens::BtOk);
        m_edtArquivo->setFocus();
        return;
    }
    TDmConexao* conexao = DmConexao();
    if (m_modo == Modo::Gravar) {
        if (QFileInfo::exists(arquivo) &&
            MyMessageDlg(QStringLiteral("O arquivo \"%1\" já existe. Deseja substituí-lo?").arg(arquivo),
                         Mensagens::Confirmacao, Mensagens::BtSim | Mensagens::BtNao) != Mensagens::RespSim)
            return;
        m_lblSituacao->setText(QStringLiteral("Gravando a cópia de segurança..."));
        if (!executa([&](const CopiaSeguranca::Progresso& p) { CopiaSeguranca::Grava(*conexao, arquivo, p); }))
            return;
        MyMessageDlg(QStringLiteral("Cópia de segurança gravada em \"%1\".").arg(arquivo), Mensagens::Informacao,
                     Mensagens::BtOk);
        accept();
        return;
    }

    CopiaSeguranca::Conteudo c;
    m_lblSituacao->setText(QStringLiteral("Conferindo a cópia de segurança..."));
    if (!executa([&](const CopiaSeguranca::Progresso& p) { c = CopiaSeguranca::Confere(arquivo, p); })) return;
    m_lblSituacao->clear();
    const QString operadora =
        c.cdOper.isEmpty() ? QStringLiteral("nenhuma operadora cadastrada")
                           : AplicaMascara(c.cdOper, QString::fromLatin1(MascaraCodigoOperadora)) +
                                 QStringLiteral(" - ") + c.razaoSocial;
    if (MyMessageDlg(QStringLiteral("A cópia \"%1\" contém:\n  Operadora: %2\n  Planos: %3\n\n"
                                    "Os dados atuais do sistema serão substituídos por ela (o banco atual fica "
                                    "guardado como \"%4\").\nDeseja restaurar esta cópia?")
                         .arg(arquivo, operadora, QString::number(c.planos), CopiaSeguranca::NomeAnterior()),
                     Mensagens::Confirmacao, Mensagens::BtSim | Mensagens::BtNao) != Mensagens::RespSim)
        return;
    m_lblSituacao->setText(QStringLiteral("Restaurando a cópia de segurança..."));
    if (!executa([&](const CopiaSeguranca::Progresso& p) { m_restaurado = CopiaSeguranca::Restaura(*conexao, arquivo, p); }))
        return;
    accept();
}

void TfrmCopiaSeguranca::CancelarClick() {
    if (!m_rodando) reject();
}

void TfrmCopiaSeguranca::closeEvent(QCloseEvent* e) {
    if (m_rodando) e->ignore();
    else TfrmModDialogo::closeEvent(e);
}

void AbreCopiaSeguranca(QWidget* pai) {
    TfrmCopiaSeguranca dlg(TfrmCopiaSeguranca::Modo::Gravar, pai);
    Modal::executa(dlg);
}

bool AbreRestauracaoCopia(QWidget* pai) {
    TfrmCopiaSeguranca dlg(TfrmCopiaSeguranca::Modo::Restaurar, pai);
    return Modal::executa(dlg) == QDialog::Accepted;
}
