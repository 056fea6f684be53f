#include "request/FrmLiberaRetifPlano.h"

#include <QAction>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "common/CursorEspera.h"
#include "common/ExecucaoModal.h"
#include "common/MensagemDlg.h"
#include "db/DmConexao.h"

TfrmLiberaRetifPlano::TfrmLiberaRetifPlano(QWidget* pai)
    : TfrmListaPlanos(QStringLiteral(" Liberar Planos de Saúde para Retificação"), pai),
      m_logica(std::make_unique<TLiberaRetifPlano>(DmConexao()->banco())) {
    setObjectName(QStringLiteral("frmLiberaRetifPlano"));
    setWindowTitle(QStringLiteral("Liberar Planos para Retificação"));
    {
        CursorEspera espera;
        m_logica->AbreLista();
    }
    montaLista(&m_logica->cdsPlanos());

    actMarcaTodos = acao("actMarcaTodos", "Marcar todos");
    actDesmarcaTodos = acao("actDesmarcaTodos", "Desmarcar todos");
    actLiberar = acao("actLiberar", "Liberar");
    actCancelar = acao("actCancelar", "Cancelar");
    connect(actMarcaTodos, &QAction::triggered, this, [this] { selecionaTodas([](int) { return true; }); });
    connect(actDesmarcaTodos, &QAction::triggered, this, [this] {
        dbgPlanos->clearSelection();
        AtualizaAcoes();
    });
    connect(actLiberar, &QAction::triggered, this, &TfrmLiberaRetifPlano::libera);
    connect(actCancelar, &QAction::triggered, this, &QDialog::reject);
    // No button of this screen is the default one: Enter (in the filter, in the list)
    // never releases plans; "Liberar" acts only when it is clicked or pressed itself.
    for (QPushButton* b : {botao(actMarcaTodos), botao(actDesmarcaTodos)}) b->setAutoDefault(false);
    m_botoes->addStretch(1);
    for (QPushButton* b : {botao(actLiberar), botao(actCancelar)}) b->setAutoDefault(false);
    m_layout->addLayout(m_botoes);
    AtualizaAcoes();
}

TfrmLiberaRetifPlano::~TfrmLiberaRetifPlano() = default;

void TfrmLiberaRetifPlano::AtualizaAcoes() {
    const bool temPlanos = !m_logica->cdsPlanos().IsEmpty();
    actMarcaTodos->setEnabled(temPlanos);
    actDesmarcaTodos->setEnabled(temPlanos);
    actLiberar->setEnabled(temPlanos);
}

void TfrmLiberaRetifPlano::abreLista(const QString& filtro, const QVariantList& parametros) {
    m_logica->AbreLista(filtro, parametros);
}

void TfrmLiberaRetifPlano::libera() {
    const QSet<int> selecionadas = Selecionadas();
    try {
        CursorEspera espera;
        m_logica->Libera(selecionadas);
    } catch (const ErroQev& e) {
        // Nothing was released; the list stays as it was.
        MyMessageDlg(TraduzErroBanco(e.mensagem()), Mensagens::Erro, Mensagens::BtOk);
        return;
    }
    dbgPlanos->clearSelection();
    AtualizaAcoes();
}

void AbreLiberacaoRetificacao(QWidget* pai) {
    TfrmLiberaRetifPlano tela(pai);
    Modal::executa(tela);
}
