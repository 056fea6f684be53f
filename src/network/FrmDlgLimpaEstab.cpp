#include "network/FrmDlgLimpaEstab.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "common/CursorEspera.h"
#include "common/Icones.h"
#include "db/Erro.h"
#include "common/ExecucaoModal.h"
#include "common/MensagemDlg.h"
#include "network/DmHospital.h"

TfrmDlgLimpaEstab::TfrmDlgLimpaEstab(QWidget* pai) : TfrmModDialogo(pai) {
    setObjectName(QStringLiteral("frmDlgLimpaEstab"));
    setWindowTitle(QStringLiteral("Excluir Estabelecimentos de Saúde"));
    auto* raiz = new QHBoxLayout(Conteudo());
    raiz->setContentsMargins(16, 16, 16, 16);
    auto* icone = new QLabel(Conteudo());
    icone->setPixmap(IconePadrao(QStyle::SP_MessageBoxWarning).pixmap(48, 48));
    icone->setAlignment(Qt::AlignTop);
    auto* texto = new QLabel(QStringLiteral("Este procedimento EXCLUI da base \n"
                                            "de dados do aplicativo QEV Operadora \n"
                                            "todos os Estabelecimentos de Saúde \n"
                                            "que NÃO estejam vinculados a plano."),
                             Conteudo());
    texto->setObjectName(QStringLiteral("lblTexto"));
    raiz->addWidget(icone);
    raiz->addWidget(texto, 1);
    btnConfirmar()->setIcon(IconePadrao(QStyle::SP_DialogApplyButton));
    btnCancelar()->setIcon(IconePadrao(QStyle::SP_DialogCancelButton));
}

void TfrmDlgLimpaEstab::ConfirmarClick() {
    if (MyMessageDlg(
            QStringLiteral(
                "Deseja realmente EXCLUIR todos os Estabelecimentos de Saúde que NÃO estejam "
                "vinculados a plano."),
            Mensagens::Confirmacao, Mensagens::BtSim | Mensagens::BtNao) == Mensagens::RespSim) {
        try {
            int excluidos;
            {
                CursorEspera espera;
                excluidos = TDmHospital::instancia()->ExcluiNaoVinculados();
            }
            if (excluidos < 1)
                MyMessageDlg(QStringLiteral("Nenhum estabelecimento foi excluido."),
                             Mensagens::Informacao, Mensagens::BtOk);
            else
                MyMessageDlg(
                    QString::number(excluidos) + QStringLiteral(" estabelecimentos excluidos."),
                    Mensagens::Informacao, Mensagens::BtOk);
        } catch (const ErroQev& e) {
            MyMessageDlg(TraduzErroBanco(e.mensagem()), Mensagens::Erro, Mensagens::BtOk);
        }
    }
    accept();
}

void AbreExclusaoEstabelecimentos(QWidget* pai) {
    TfrmDlgLimpaEstab dlg(pai);
    Modal::executa(dlg);
}
