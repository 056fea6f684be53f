#include "devices/FrmCadClausula.h"

#include "common/Habilitacoes.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

#include "common/GeometriaJanela.h"
#include "common/CursorEspera.h"
#include "common/ExecucaoModal.h"
#include "common/FrmConsulta.h"
#include "db/DmConexao.h"
#include "db/Erro.h"
#include "db/RowSet.h"
#include "db/Valores.h"

namespace {
const QString kChave = QStringLiteral("CD_CLAUSULA_OPERADORA");

QLabel* rotuloForte(const QString& texto, const QColor& cor, QWidget* pai, const QString& nome) {
    auto* l = new QLabel(texto, pai);
    l->setObjectName(nome);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, cor);
    l->setPalette(p);
    return l;
}

QLineEdit* caixa(QWidget* pai, const QString& nome) {
    auto* e = new QLineEdit(pai);
    e->setObjectName(nome);
    e->setReadOnly(true);
    return e;
}

QPlainTextEdit* memo(QWidget* pai, const QString& nome) {
    auto* m = new QPlainTextEdit(pai);
    m->setObjectName(nome);
    m->setReadOnly(true);
    return m;
}

void mostraTexto(QLineEdit* e, const QString& t) {
    if (e->text() != t) {
        e->setText(t);
        e->setCursorPosition(0);
    }
}

void mostraTexto(QPlainTextEdit* m, const QString& t) {
    if (m->toPlainText() != t) m->setPlainText(t);
}
}  // namespace

TfrmCadClausula::Telas& TfrmCadClausula::TelasRelacionadas() {
    static Telas t;
    return t;
}

TfrmCadClausula::TfrmCadClausula(QWidget* pai)
    : TfrmModeloCadastro(pai), m_dm(TdmClausula::instancia()) {
    if (!m_dm) throw ErroQev(QStringLiteral("O módulo de dispositivos contratuais não foi criado."));
    setObjectName(QStringLiteral("frmCadClausula"));
    lblTitulo()->setText(QStringLiteral(" Cadastro de Dispositivos Contratuais"));
    PodeIncluir = false;
    PodeAlterar = false;
    PodeExcluir = false;
    montaTela();

    m_dm->RegistraTelaDispositivo(this);
    connect(m_dm, &TdmClausula::dispositivoMostrado, this, &TfrmCadClausula::mostraDispositivo);
    CursorEspera espera;
    m_dm->AbreClausulas();
    DefineCadastro(m_dm->cdsClausula());
    m_dm->AbreVinculos();
    mostraDispositivo();
    AtualizaAcoes();
}

TfrmCadClausula::~TfrmCadClausula() {
    if (m_dm && TdmClausula::instancia() == m_dm) m_dm->RegistraTelaDispositivo(nullptr);
}

void TfrmCadClausula::montaTela() {
    actImportar = NovaAcaoNaBarra(QStringLiteral("actImportar"), QStringLiteral("Importar"),
                       QStringLiteral("Importar Dispositivos Contratuais do OLVAR"),
                       QStyle::SP_ArrowDown);
    actPlanosClausula = NovaAcaoNaBarra(QStringLiteral("actPlanosClausula"), QStringLiteral("Planos"),
                             QStringLiteral("Planos que utilizam o dispositivo"),
                             QStyle::SP_FileDialogInfoView);
    actRelatorio = NovaAcaoNaBarra(QStringLiteral("actRelatorio"), QStringLiteral("Relatório"),
                        QStringLiteral("Relação de Dispositivos Contratuais"),
                        QStyle::SP_FileDialogListView);
    tbrAcoes()->widgetForAction(actRelatorio)->setObjectName(QStringLiteral("btnRelatorio"));
    connect(actRelatorio, &QAction::triggered, this,
            [this] { Executa([this] { actRelatorioExecute(); }); });

    // Nothing is confirmed or cancelled on a consultation screen.
    btnConfirmar()->hide();
    btnCancelar()->hide();

    QWidget* d = pnlDados();
    lblStatus = new QLabel(d);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont fs = lblStatus->font();
    fs.setBold(true);
    lblStatus->setFont(fs);
    lblStatus->hide();

    LkpTipoClausula = caixa(d, QStringLiteral("LkpTipoClausula"));
    lblInativo = rotuloForte(QStringLiteral("<<< INATIVO >>>"), Qt::red, d, QStringLiteral("lblInativo"));
    lblInativo->hide();
    memOrientacao = memo(d, QStringLiteral("memOrientacao"));
    memOrientacao->setMaximumHeight(memOrientacao->fontMetrics().lineSpacing() * 5 + 12);
    edtCodigo = caixa(d, QStringLiteral("edtCodigo"));
    edtCodigo->setMaximumWidth(edtCodigo->fontMetrics().averageCharWidth() * 24 + 16);
    edtDescricao = caixa(d, QStringLiteral("edtDescricao"));
    memTexto = memo(d, QStringLiteral("memTexto"));
    lblPublicado = rotuloForte(QString(), Qt::blue, d, QStringLiteral("lblPublicado"));
    lblPublicado->hide();

    pnlDinamico = new QWidget(d);
    pnlDinamico->setObjectName(QStringLiteral("pnlDinamico"));
    lblDinamico = new QLabel(pnlDinamico);
    lblDinamico->setObjectName(QStringLiteral("lblDinamico"));
    lkpDinamico = caixa(pnlDinamico, QStringLiteral("lkpDinamico"));
    lkpDinamico->setMinimumWidth(lkpDinamico->fontMetrics().averageCharWidth() * 36);
    lblDinamico->setBuddy(lkpDinamico);
    auto* ld = new QVBoxLayout(pnlDinamico);
    ld->setContentsMargins(0, 0, 0, 0);
    ld->setSpacing(2);
    ld->addWidget(lblDinamico);
    ld->addWidget(lkpDinamico, 0, Qt::AlignLeft);
    pnlDinamico->hide();

    const auto rotulo = [d](const QString& texto, QWidget* campo) {
        auto* l = new QLabel(texto, d);
        l->setBuddy(campo);
        return l;
    };
    auto* g = new QGridLayout(d);
    g->setContentsMargins(12, 6, 12, 12);
    g->setHorizontalSpacing(12);
    g->setVerticalSpacing(4);
    g->addWidget(lblStatus, 0, 0, 1, 3);
    g->addWidget(rotulo(QStringLiteral("Tema"), LkpTipoClausula), 1, 0, 1, 2);
    g->addWidget(LkpTipoClausula, 2, 0, 1, 2);
    g->addWidget(lblInativo, 2, 2);
    g->addWidget(rotulo(QStringLiteral("Entendimento Técnico e Referencial Normativo Legal"),
                        memOrientacao),
                 3, 0, 1, 3);
    g->addWidget(memOrientacao, 4, 0, 1, 3);
    g->addWidget(rotulo(QStringLiteral("Código da Identificação"), edtCodigo), 5, 0);
    g->addWidget(rotulo(QStringLiteral("Identificação do Texto"), edtDescricao), 5, 1, 1, 2);
    g->addWidget(edtCodigo, 6, 0);
    g->addWidget(edtDescricao, 6, 1, 1, 2);
    g->addWidget(pnlDinamico, 7, 0, 1, 3);
    lblTexto = rotulo(QStringLiteral("Texto do Dispositivo"), memTexto);
    lblTexto->setObjectName(QStringLiteral("lblTexto"));
    auto* linhaTexto = new QHBoxLayout;
    linhaTexto->addWidget(lblTexto);
    linhaTexto->addSpacing(16);
    linhaTexto->addWidget(lblPublicado);
    linhaTexto->addStretch(1);
    g->addLayout(linhaTexto, 8, 0, 1, 3);
    g->addWidget(memTexto, 9, 0, 1, 3);
    g->setColumnStretch(1, 1);
    g->setRowStretch(9, 1);
    // the row keeps its height whether a status shows or not
    g->setRowMinimumHeight(0, QFontMetrics(lblStatus->font()).height() + 4);

    QWidget* ordem[] = {LkpTipoClausula, memOrientacao, edtCodigo, edtDescricao, lkpDinamico, memTexto};
    for (size_t i = 1; i < std::size(ordem); ++i) setTabOrder(ordem[i - 1], ordem[i]);
    LembraGeometria(this, QSize(820, 620));
}

void TfrmCadClausula::showEvent(QShowEvent* e) {
    TfrmModeloCadastro::showEvent(e);
    if (m_exibida) return;
    m_exibida = true;
    MontaPainelCaracteristica();
}

void TfrmCadClausula::done(int resultado) {
    m_dm->LiberaVinculos();
    TfrmModeloCadastro::done(resultado);
}

void TfrmCadClausula::MostraOrientacao(const QString& texto) { mostraTexto(memOrientacao, texto); }

void TfrmCadClausula::mostraDispositivo() {
    const RowSet* rs = dtsCadastro();
    if (!rs) return;
    const bool tem = rs->Ativo() && !rs->IsEmpty();
    const auto texto = [rs, tem](const QString& campo) {
        return tem ? rs->Valor(campo).toString() : QString();
    };
    mostraTexto(LkpTipoClausula, texto(QStringLiteral("LkpTipoClausula")));
    mostraTexto(edtCodigo, texto(QStringLiteral("CD_IDENTIFICACAO_TEXTO")));
    mostraTexto(edtDescricao, texto(QStringLiteral("DE_CLAUSULA_OPERADORA")));
    mostraTexto(memTexto, texto(QStringLiteral("TX_CLAUSULA_OPERADORA")));
    if (!tem) MostraOrientacao(QString());
    atualizaRotulos();
    // The theme may have changed: the panel follows it.
    MontaPainelCaracteristica();
}

void TfrmCadClausula::MontaPainelCaracteristica() {
    pnlDinamico->hide();
    lkpDinamico->clear();
    const RowSet* rs = dtsCadastro();
    m_caracteristica = rs && rs->Ativo() && !rs->IsEmpty() ? m_dm->CaracteristicaAtual()
                                                           : Caracteristica::Nenhuma;
    if (m_caracteristica == Caracteristica::Nenhuma) return;
    lblDinamico->setText(Caracteristicas::Legenda(m_caracteristica));
    mostraTexto(lkpDinamico,
                rs->Valor(Caracteristicas::CampoLookup(m_caracteristica)).toString());
    pnlDinamico->show();
}

void TfrmCadClausula::atualizaRotulos() {
    const RowSet* rs = dtsCadastro();
    const bool tem = rs && rs->Ativo() && !rs->IsEmpty();
    const QVariant status = tem ? rs->Valor(QStringLiteral("CD_STATUS_ENVIO")) : QVariant();
    QString texto;
    QColor cor = Qt::black;
    if (!nulo(status) && status.toInt() == 1) {
        texto = QStringLiteral("Dispositivo já enviado à ZUB");
        cor = QColor(0x00, 0x00, 0x80);  // navy
    } else if (tem && m_dm->DispositivoVinculado(rs->Valor(kChave))) {
        texto = QStringLiteral("Dispositivo vinculado a plano");
    }
    if (lblStatus->text() != texto) lblStatus->setText(texto);
    if (lblStatus->palette().color(QPalette::WindowText) != cor) {
        QPalette p = lblStatus->palette();
        p.setColor(QPalette::WindowText, cor);
        lblStatus->setPalette(p);
    }
    lblStatus->setVisible(!texto.isEmpty());
    lblInativo->setVisible(tem && m_dm->TemaAtualInativo());
    const QString publicado = tem ? rs->Valor(QStringLiteral("CalcTxPublicado")).toString() : QString();
    if (lblPublicado->text() != publicado) lblPublicado->setText(publicado);
    lblPublicado->setVisible(!publicado.isEmpty());
}

QString TfrmCadClausula::LegendaDoEstado() const {
    return QStringLiteral("Cadastro de Dispositivos Contratuais") + TfrmModeloCadastro::LegendaDoEstado();
}

void TfrmCadClausula::DefineHabilitacoes(Habilitacoes& h) {
    TfrmModeloCadastro::DefineHabilitacoes(h);
    const bool nav = Navegando();
    if (nav) atualizaRotulos();
    h.habilita(actRelatorio, nav && bool(TelasRelacionadas().relatorio));
    for (QAction* a : {actAdicionar, actAlterar, actExcluir, actImportar, actPlanosClausula}) {
        h.habilita(a, false);
        h.mostra(a, false);
    }
    // Every box is read-only: while browsing they stay readable and their texts scroll.
    h.habilita(pnlDados(), true);
}

void TfrmCadClausula::actPesquisarExecute() {
    std::unique_ptr<TfrmConsulta> consulta;
    {
        CursorEspera espera;
        consulta = std::make_unique<TfrmConsulta>(
            this, QStringLiteral("Consulta de Dispositivo Contratual"),
            QStringLiteral("Código da Identificação;Descrição;Tipo de Dispositivo Contratual;;Enviado"),
            QStringLiteral("DE_CLAUSULA_OPERADORA;DE_TIPO_CLAUSULA;CD_CLAUSULA_OPERADORA;Enviado"),
            QStringLiteral(
                "SELECT CD_IDENTIFICACAO_TEXTO, DE_CLAUSULA_OPERADORA, DE_TIPO_CLAUSULA, "
                "CD_CLAUSULA_OPERADORA, "
                "CASE WHEN CD_STATUS_ENVIO = 1 THEN 'Sim' ELSE '' END AS Enviado "
                "FROM TA_TIPO_CLAUSULA INNER JOIN TB_CLAUSULA_OPERADORA "
                "ON TA_TIPO_CLAUSULA.CD_TIPO_CLAUSULA = TB_CLAUSULA_OPERADORA.CD_TIPO_CLAUSULA"),
            DmConexao()->banco());
        consulta->EscondeColuna(kChave);
        const int larguras[] = {200, 300, 300, 50};
        for (int i = 0; i < 4; ++i) consulta->grdConsulta()->setColumnWidth(i, larguras[i]);
    }
    if (Modal::executa(*consulta) != QDialog::Accepted) return;
    const QVariant escolhido = consulta->Valor(kChave);
    // A device of another operator is not among these: the screen stays where it was.
    if (!nulo(escolhido)) dtsCadastro()->Locate(kChave, escolhido);
    MontaPainelCaracteristica();
}

void TfrmCadClausula::actRelatorioExecute() {
    if (const auto& abre = TelasRelacionadas().relatorio) abre(this);
}

void AbreCadastroDispositivos(QWidget* pai) {
    TfrmCadClausula tela(pai);
    Modal::executa(tela);
}
