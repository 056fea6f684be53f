#include "network/FrmCadHosp.h"

#include "common/Habilitacoes.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include "common/GeometriaJanela.h"
#include "common/CursorEspera.h"
#include "common/Entradas.h"
#include "common/ExecucaoModal.h"
#include "common/FrmConsulta.h"
#include "common/Identificadores.h"
#include "db/Erro.h"
#include "db/Mascara.h"
#include "common/MensagemDlg.h"
#include "common/VinculoCampos.h"
#include "db/DmConexao.h"
#include "db/DmMunicipio.h"
#include "db/RowSet.h"
#include "network/FrmDlgImportEstabSaudeSistema.h"
#include "network/FrmDlgOpcaoPesqEstb.h"
#include "platform/Plataforma.h"
#include "db/Valores.h"

namespace {
using Escolhas = TDmHospital::Escolhas;

using namespace ColunasEstab;

QComboBox* lista(QWidget* pai, const QString& nome, const QStringList& itens = {}) {
    auto* c = new QComboBox(pai);
    c->setObjectName(nome);
    c->addItems(itens);
    c->setCurrentIndex(-1);
    return c;
}
}  // namespace

TfrmCadHosp::Telas& TfrmCadHosp::TelasRelacionadas() {
    static Telas t = [] {
        Telas padrao;
        padrao.importaOlvar = AbreImportacaoOlvar;
        return padrao;
    }();
    return t;
}

TfrmCadHosp::TfrmCadHosp(QWidget* pai) : TfrmModeloCadastro(pai), m_dm(TDmHospital::instancia()) {
    if (!m_dm) throw ErroQev(QStringLiteral("O módulo de estabelecimentos não foi criado."));
    setObjectName(QStringLiteral("frmCadHosp"));
    lblTitulo()->setText(QStringLiteral(" Cadastro de Estabelecimento de Saúde"));
    PodeAlterar = true;
    PodeExcluir = true;

    m_municipios = TDmMunicipio::instancia();
    if (!m_municipios) throw ErroQev(QStringLiteral("O módulo de municípios não foi criado."));
    montaTela();

    CursorEspera espera;
    contaEstabelecimentos();
    // The record is read when the screen is shown (the caller may choose which one first).
    if (!m_dm->cdsHospital()->Ativo()) m_dm->AbreHospital(0);
    DefineCadastro(m_dm->cdsHospital());
    VinculoCampos* v = vinculos();
    v->liga(lkpClassifHospital, kClassif);
    v->liga(edtCNES, kCnes, {[](const QVariant& x) { return x.toString(); }, nullptr});
    v->liga(MedCNPJ, kCnpj,
            {[this](const QVariant& x) { return textoCnpj(x); },
             [](const QString& t) { return QVariant(SomenteDigitos(t)); }});
    v->liga(edRazao, kNome);
    v->liga(edtRegOperIntermed, kIntermed,
            {[](const QVariant& x) { return x.toString(); },
             [](const QString& t) { return QVariant(SomenteDigitos(t)); }});
    v->liga(edtDataContratacao, kDtContrato);
    v->liga(edtDataVinculo, QStringLiteral("DT_VINCULO_OPER"));
    if (!m_municipios->Aberto()) {
        m_municipios->Abre();
        m_fechaMunicipios = true;
    }
    for (const auto& uf : m_municipios->Ufs()) dblookcmbUF->addItem(uf.codigo, uf.codigo);
    dblookcmbUF->setCurrentIndex(-1);
    AtualizaDados();
    AtualizaAcoes();
}

TfrmCadHosp::~TfrmCadHosp() {
    if (m_fechaMunicipios && m_municipios) m_municipios->Fecha();
}

void TfrmCadHosp::montaTela() {
    actRelatorio = NovaAcaoNaBarra(QStringLiteral("actRelatorio"), QStringLiteral("Relatório"),
                        QStringLiteral("Relatório de Estabelecimentos de Saúde"),
                        QStyle::SP_FileDialogListView);
    actImportaOLVAR = NovaAcaoNaBarra(QStringLiteral("actImportaOLVAR"), QStringLiteral("Importar"),
                           QStringLiteral("Importar Estabelecimentos da base de dados do OLVAR"),
                           QStyle::SP_ArrowDown);
    actPlanosEstab = NovaAcaoNaBarra(QStringLiteral("actPlanosEstab"), QStringLiteral("Planos"),
                          QStringLiteral("Planos que utilizam o estabelecimento"),
                          QStyle::SP_FileDialogInfoView);
    actCNES =
        NovaAcaoNaBarra(QStringLiteral("actCNES"), QStringLiteral("CNES"),
             QStringLiteral("Consulta os dados do estabelecimento no CNES no site do DataSus"),
             QStyle::SP_MessageBoxInformation);
    tbrAcoes()->widgetForAction(actRelatorio)->setObjectName(QStringLiteral("btnRelatorio"));
    tbrAcoes()
        ->widgetForAction(actImportaOLVAR)
        ->setObjectName(QStringLiteral("btnImportarEstabelecimentos"));
    tbrAcoes()->widgetForAction(actPlanosEstab)->setObjectName(QStringLiteral("SpeedButton2"));
    tbrAcoes()->widgetForAction(actCNES)->setObjectName(QStringLiteral("btnCNES"));
    connect(actRelatorio, &QAction::triggered, this,
            [this] { Executa([this] { TelasRelacionadas().relatorio(this); }); });
    connect(actImportaOLVAR, &QAction::triggered, this, [this] {
        Executa([this] {
            TelasRelacionadas().importaOlvar(this);
            contaEstabelecimentos();
            AbreEstabelecimento(m_dm->IdAtual());
        });
    });
    connect(actPlanosEstab, &QAction::triggered, this, [this] {
        Executa([this] { TelasRelacionadas().planosDoEstab(this, m_dm->IdAtual()); });
    });
    connect(actCNES, &QAction::triggered, this, [this] { Executa([this] { btnCNESClick(); }); });

    QWidget* d = pnlDados();
    lkpClassifHospital = lista(d, QStringLiteral("lkpClassifHospital"));
    const RowSet* classif = m_dm->cdsClassifHospital();
    if (classif->Ativo())
        for (int p = 0; p < classif->RecordCount(); ++p)
            lkpClassifHospital->addItem(
                classif
                    ->ValorNaPosicao(p,
                                     classif->IndiceCampo(QStringLiteral("DE_CLASSIF_ESTAB_SAUDE")))
                    .toString(),
                classif->ValorNaPosicao(p, classif->IndiceCampo(kClassif)));
    lkpClassifHospital->setCurrentIndex(-1);

    edtCNES = new QLineEdit(d);
    edtCNES->setObjectName(QStringLiteral("edtCNES"));
    edtCNES->setMaxLength(7);
    edtCNES->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9 ]*")), edtCNES));
    edtCNES->setFixedWidth(edtCNES->fontMetrics().horizontalAdvance(QStringLiteral("00000000")) +
                           16);
    CursorNoInicioSeVazio(edtCNES);
    edtCNES->installEventFilter(this);

    MedCNPJ = new QLineEdit(d);
    MedCNPJ->setObjectName(QStringLiteral("MedCNPJ"));
    MedCNPJ->setMaxLength(18);  // shown with its mask; typed as 14 digits at most
    MedCNPJ->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,14}")), MedCNPJ));
    MedCNPJ->setFixedWidth(
        MedCNPJ->fontMetrics().horizontalAdvance(QStringLiteral("00.000.000/0000-000")) + 16);
    MedCNPJ->installEventFilter(this);

    edRazao = new QLineEdit(d);
    edRazao->setObjectName(QStringLiteral("edRazao"));
    edRazao->setMaxLength(60);

    cmbTipoHospital = lista(d, QStringLiteral("cmbTipoHospital"),
                            {QStringLiteral("Próprio"), QStringLiteral("Contratualizado")});
    dblookcmbUF = lista(d, QStringLiteral("dblookcmbUF"));
    dblookcmbUF->setMinimumContentsLength(4);
    DblookcmbMunicipios = lista(d, QStringLiteral("DblookcmbMunicipios"));
    DblookcmbMunicipios->setMinimumContentsLength(28);

    grpContrato = new QGroupBox(QStringLiteral(" Contrato com a operadora "), d);
    grpContrato->setObjectName(QStringLiteral("grpContrato"));
    cmbTipoContratacao = lista(grpContrato, QStringLiteral("cmbTipoContratacao"),
                               {QStringLiteral("Direta"), QStringLiteral("Indireta")});
    edtRegOperIntermed = new QLineEdit(grpContrato);
    edtRegOperIntermed->setObjectName(QStringLiteral("edtRegOperIntermed"));
    edtRegOperIntermed->setInputMask(QStringLiteral("99999-9; "));
    edtRegOperIntermed->setFixedWidth(
        edtRegOperIntermed->fontMetrics().horizontalAdvance(QStringLiteral("00000-00")) + 16);
    CursorNoInicioSeVazio(edtRegOperIntermed);
    edtDataContratacao = new CaixaData(grpContrato);
    edtDataContratacao->setObjectName(QStringLiteral("edtDataContratacao"));
    auto* gc = new QGridLayout(grpContrato);
    gc->addWidget(
        CelulaRotulada(grpContrato, QStringLiteral("Tipo de Contratualização"), cmbTipoContratacao), 0, 0);
    gc->addWidget(CelulaRotulada(grpContrato, QStringLiteral("Registro ZUB da Operadora Intermediária"),
                         edtRegOperIntermed),
                  0, 1);
    gc->addWidget(
        CelulaRotulada(grpContrato, QStringLiteral("Data de Contratualização"), edtDataContratacao), 0, 2);
    gc->setColumnStretch(3, 1);

    edtDataVinculo = new CaixaData(d);
    edtDataVinculo->setObjectName(QStringLiteral("edtDataVinculo"));
    cmbDispServicos = lista(d, QStringLiteral("cmbDispServicos"),
                            {QStringLiteral("Parcial"), QStringLiteral("Total")});
    chkUrgencia = new QCheckBox(QStringLiteral("Urgência / Emergência"), d);
    chkUrgencia->setObjectName(QStringLiteral("chkUrgencia"));

    auto* g = new QGridLayout(d);
    g->setContentsMargins(12, 12, 12, 12);
    g->setHorizontalSpacing(16);
    g->setVerticalSpacing(10);
    g->addWidget(CelulaRotulada(d, QStringLiteral("Classificação do Estabelecimento"), lkpClassifHospital),
                 0, 0, 1, 3);
    g->addWidget(CelulaRotulada(d, QStringLiteral("CNES"), edtCNES), 1, 0);
    g->addWidget(CelulaRotulada(d, QStringLiteral("&CNPJ/CPF"), MedCNPJ, &lblCNPJCPF), 1, 1);
    lblCNPJCPF->setObjectName(QStringLiteral("lblCNPJCPF"));
    g->addWidget(CelulaRotulada(d, QStringLiteral("Nome/Razão Social"), edRazao), 2, 0, 1, 4);
    g->addWidget(CelulaRotulada(d, QStringLiteral("Relação com Entidade Hosp."), cmbTipoHospital), 3, 0);
    g->addWidget(CelulaRotulada(d, QStringLiteral("UF"), dblookcmbUF), 3, 1);
    g->addWidget(CelulaRotulada(d, QStringLiteral("Município"), DblookcmbMunicipios), 3, 2, 1, 2);
    g->addWidget(grpContrato, 4, 0, 1, 4);
    g->addWidget(
        CelulaRotulada(d, QStringLiteral("Data de início da\nPrestação do Serviço"), edtDataVinculo), 5, 0);
    g->addWidget(CelulaRotulada(d, QStringLiteral("Disponibilidade de Serviços"), cmbDispServicos), 5, 1);
    g->addWidget(chkUrgencia, 5, 2, Qt::AlignBottom | Qt::AlignLeft);
    g->setColumnStretch(3, 1);
    g->setRowStretch(6, 1);

    // tab order as the fields are listed
    QWidget* ordem[] = {lkpClassifHospital,
                        edtCNES,
                        MedCNPJ,
                        edRazao,
                        cmbTipoHospital,
                        dblookcmbUF,
                        DblookcmbMunicipios,
                        cmbTipoContratacao,
                        edtRegOperIntermed,
                        edtDataContratacao,
                        edtDataVinculo,
                        cmbDispServicos,
                        chkUrgencia};
    for (size_t i = 1; i < std::size(ordem); ++i) setTabOrder(ordem[i - 1], ordem[i]);

    connect(lkpClassifHospital, &QComboBox::activated, this, [this] { lkpClassifHospitalClick(); });
    connect(cmbTipoHospital, &QComboBox::activated, this, [this] { cmbTipoHospitalClick(); });
    connect(cmbTipoContratacao, &QComboBox::activated, this, [this] { cmbTipoContratacaoClick(); });
    connect(dblookcmbUF, &QComboBox::activated, this, [this] { ufEscolhida(); });
    LembraGeometria(this, QSize(760, 560));
}

// ---------------------------------------------------------------------------
// State
// ---------------------------------------------------------------------------

void TfrmCadHosp::contaEstabelecimentos() {
    m_qtEstab = m_dm->ContaEstabelecimentos();
    AtualizaContador();
}

QString TfrmCadHosp::TextoContador() const {
    return QLocale(QLocale::Portuguese, QLocale::Brazil).toString(m_qtEstab) +
           QStringLiteral(" Registro(s)");
}

void TfrmCadHosp::showEvent(QShowEvent* e) {
    TfrmModeloCadastro::showEvent(e);
    if (m_exibida) return;
    m_exibida = true;
    m_gravou = false;
    Executa([this] {
        CursorEspera espera;
        AbreEstabelecimento(IdEstabInicial != 0 ? IdEstabInicial : m_dm->IdProximo(-1));
    });
}

void TfrmCadHosp::AbreEstabelecimento(qlonglong idEstb) {
    m_dm->AbreHospital(idEstb);
    m_mascaraCnpj = true;
    vinculos()->Atualiza();
    AtualizaDados();
}

void TfrmCadHosp::DefineHabilitacoes(Habilitacoes& h) {
    TfrmModeloCadastro::DefineHabilitacoes(h);
    const bool nav = Navegando();
    const Telas& t = TelasRelacionadas();
    h.habilita(actAnterior, nav);
    h.habilita(actProximo, nav);
    h.habilita(actRelatorio, nav && bool(t.relatorio));
    h.habilita(actImportaOLVAR, nav && bool(t.importaOlvar));
    h.habilita(actPlanosEstab, nav && bool(t.planosDoEstab) && !dtsCadastro()->IsEmpty());
}

QString TfrmCadHosp::textoCnpj(const QVariant& valor) const {
    const QString t = valor.toString();
    const QString mascara = m_dm->MascaraCnpjCpf();
    if (!m_mascaraCnpj || MedCNPJ->hasFocus() || mascara.isEmpty()) return t;
    return AplicaMascara(t, mascara);
}

void TfrmCadHosp::AtualizaDados() {
    const RowSet* rs = dtsCadastro();
    if (!rs || !rs->Ativo()) return;
    const bool editando = rs->EmEdicao();
    const QVariant classif = rs->Valor(kClassif);
    lblCNPJCPF->setText(!nulo(classif) && classif.toInt() == TDmHospital::kAssistenciaHospitalar
                            ? QStringLiteral("&CNPJ")
                            : QStringLiteral("&CNPJ/CPF"));
    if (!editando)
        chkUrgencia->setChecked(rs->Valor(QStringLiteral("LG_URGENCIA_EMERGENCIA")).toString() ==
                                QLatin1String("S"));

    const QVariant municipio = rs->Valor(QStringLiteral("ID_MUNC"));
    const qlonglong idMunc = nulo(municipio) ? -1 : municipio.toLongLong();
    mostraUf(idMunc >= 0 ? UfDoMunicipio(idMunc) : QString(), idMunc);

    const QVariant tipo = rs->Valor(QStringLiteral("CD_TIPO_ESTB_SAUD"));
    cmbTipoHospital->setCurrentIndex(nulo(tipo)                                      ? -1
                                     : tipo.toInt() == TDmHospital::kProprio         ? 0
                                     : tipo.toInt() == TDmHospital::kContratualizado ? 1
                                                                                     : -1);

    const QString contrato =
        rs->Valor(QStringLiteral("CD_TIPO_CONTRATO_ESTB_SAUDE")).toString().trimmed();
    cmbTipoContratacao->setCurrentIndex(contrato == QLatin1String("D")   ? 0
                                        : contrato == QLatin1String("I") ? 1
                                                                         : -1);
    if (editando && contrato.isEmpty()) dtsCadastro()->DefineValor(kDtContrato, QVariant());
    cmbTipoHospitalClick();

    const QString disp = rs->Valor(QStringLiteral("CD_DISP_SERVICO")).toString();
    cmbDispServicos->setCurrentIndex(disp == QLatin1String("P")   ? 0
                                     : disp == QLatin1String("T") ? 1
                                                                  : -1);
}

void TfrmCadHosp::mostraMunicipios(const QString& uf) {
    if (uf == m_ufMostrada && DblookcmbMunicipios->count() > 0) return;
    m_ufMostrada = uf;
    DblookcmbMunicipios->clear();
    if (const TDmMunicipio::Uf* u = m_municipios->LocalizaUf(uf))
        for (const auto& m : u->municipios) DblookcmbMunicipios->addItem(m.nome, m.id);
    DblookcmbMunicipios->setCurrentIndex(-1);
}

void TfrmCadHosp::mostraUf(const QString& uf, qlonglong municipio) {
    dblookcmbUF->setCurrentIndex(dblookcmbUF->findData(uf));
    mostraMunicipios(uf);
    DblookcmbMunicipios->setCurrentIndex(municipio >= 0 ? DblookcmbMunicipios->findData(municipio)
                                                        : -1);
}

// ---------------------------------------------------------------------------
// Field interplay
// ---------------------------------------------------------------------------

void TfrmCadHosp::lkpClassifHospitalClick() {
    const QVariant c = lkpClassifHospital->currentData();
    const bool hospitalar = c.isValid() && c.toInt() == TDmHospital::kAssistenciaHospitalar;
    lblCNPJCPF->setText(hospitalar ? QStringLiteral("&CNPJ") : QStringLiteral("&CNPJ/CPF"));
    chkUrgencia->setEnabled(hospitalar);
    if (!hospitalar) chkUrgencia->setChecked(false);
}

void TfrmCadHosp::cmbTipoHospitalClick() {
    RowSet* rs = dtsCadastro();
    const bool editando = rs->EmEdicao();
    if (cmbTipoHospital->currentIndex() == Escolhas::Proprio) {
        cmbTipoContratacao->setCurrentIndex(-1);
        cmbTipoContratacao->setEnabled(false);
        if (editando) rs->DefineValor(kIntermed, QVariant());
        edtRegOperIntermed->setEnabled(false);
        edtDataVinculo->setEnabled(true);
        edtDataContratacao->setEnabled(false);
        if (editando) rs->DefineValor(kDtContrato, QVariant());
    } else {
        cmbTipoContratacao->setEnabled(true);
        edtDataContratacao->setEnabled(true);
        edtDataVinculo->setEnabled(true);
        edtRegOperIntermed->setEnabled(cmbTipoContratacao->currentIndex() == Escolhas::Indireta);
    }
}

void TfrmCadHosp::cmbTipoContratacaoClick() {
    if (cmbTipoContratacao->currentIndex() == Escolhas::Direta) {
        if (dtsCadastro()->EmEdicao()) dtsCadastro()->DefineValor(kIntermed, QVariant());
        edtRegOperIntermed->setEnabled(false);
    } else {
        edtRegOperIntermed->setEnabled(true);
    }
}

void TfrmCadHosp::ufEscolhida() {
    const QString uf = dblookcmbUF->currentData().toString();
    if (uf != m_ufMostrada) {
        mostraMunicipios(uf);
        DblookcmbMunicipios->setCurrentIndex(-1);
    }
}

bool TfrmCadHosp::eventFilter(QObject* o, QEvent* e) {
    RowSet* rs = dtsCadastro();
    if (o == MedCNPJ && (e->type() == QEvent::FocusIn || e->type() == QEvent::FocusOut)) {
        if (e->type() == QEvent::FocusIn) {
            m_mascaraCnpj = false;
        } else {
            m_dm->AjustaMascaraCnpjCpf();
            m_mascaraCnpj = true;
        }
        if (rs) MedCNPJ->setText(textoCnpj(rs->Valor(kCnpj)));
    } else if (o == edtCNES && e->type() == QEvent::FocusOut && rs && rs->EmEdicao() &&
               !edtCNES->text().trimmed().isEmpty()) {
        rs->DefineValor(kCnes, TDmHospital::NormalizaCnes(edtCNES->text()));
    }
    return TfrmModeloCadastro::eventFilter(o, e);
}

// ---------------------------------------------------------------------------
// Actions
// ---------------------------------------------------------------------------

TDmHospital::Escolhas TfrmCadHosp::escolhas() const {
    Escolhas e;
    e.relacao = cmbTipoHospital->currentIndex();
    e.uf = dblookcmbUF->currentIndex() >= 0 ? dblookcmbUF->currentData().toString() : QString();
    e.municipio = DblookcmbMunicipios->currentIndex() >= 0
                      ? DblookcmbMunicipios->currentData().toLongLong()
                      : -1;
    e.tipoContratacao = cmbTipoContratacao->currentIndex();
    e.disponibilidade = cmbDispServicos->currentIndex();
    e.urgencia = chkUrgencia->isChecked();
    return e;
}

QWidget* TfrmCadHosp::campoDaFalha(TDmHospital::CampoEstab campo) const {
    using C = TDmHospital::CampoEstab;
    switch (campo) {
        case C::Classificacao:
            return lkpClassifHospital;
        case C::Cnes:
            return edtCNES;
        case C::CnpjCpf:
            return MedCNPJ;
        case C::Nome:
            return edRazao;
        case C::Relacao:
            return cmbTipoHospital;
        case C::Uf:
            return dblookcmbUF;
        case C::Municipio:
            return DblookcmbMunicipios;
        case C::TipoContratacao:
            return cmbTipoContratacao;
        case C::RegOperIntermed:
            return edtRegOperIntermed;
        case C::DataContratacao:
            return edtDataContratacao;
        case C::DataVinculo:
            return edtDataVinculo;
        case C::Disponibilidade:
            return cmbDispServicos;
    }
    return nullptr;
}

void TfrmCadHosp::actCadastrarExecute() {
    // A date typed only in part is never dropped in silence.
    for (CaixaData* caixa : {edtDataContratacao, edtDataVinculo}) {
        if (caixa->isEnabled() && !caixa->vazia() && !caixa->data().isValid()) {
            MyMessageDlg(QStringLiteral("Data inválida."), Mensagens::Erro, Mensagens::BtOk);
            caixa->setFocus();
            return;
        }
    }
    std::optional<TDmHospital::Falha> falha;
    try {
        falha = m_dm->Grava(escolhas());
    } catch (const ErroRegistroAlterado& e) {
        // Nothing was stored; the record stays in edit with what the user typed.
        MyMessageDlg(e.mensagem(), Mensagens::Erro, Mensagens::BtOk);
        return;
    } catch (const ErroQev& e) {
        // Nothing was stored and the pending change is gone: the screen shows the
        // record as the database holds it, and the error.
        m_mascaraCnpj = true;
        AtualizaDados();
        vinculos()->Atualiza();
        AtualizaAcoes();
        chkUrgencia->setEnabled(true);
        lkpClassifHospital->setEnabled(true);
        MyMessageDlg(TraduzErroBanco(e.mensagem()), Mensagens::Erro, Mensagens::BtOk);
        return;
    }
    if (falha) {
        MyMessageDlg(falha->mensagem, Mensagens::Erro, Mensagens::BtOk);
        if (QWidget* w = campoDaFalha(falha->campo)) w->setFocus();
        return;
    }
    AtualizaAcoes();
    chkUrgencia->setEnabled(true);
    lkpClassifHospital->setEnabled(true);
    contaEstabelecimentos();
    m_gravou = true;
    m_mascaraCnpj = true;
    vinculos()->Atualiza();
}

void TfrmCadHosp::actAdicionarExecute() {
    TfrmModeloCadastro::actAdicionarExecute();
    m_mascaraCnpj = false;
    RowSet* rs = dtsCadastro();
    rs->DefineValor(QStringLiteral("LG_HOSPITAL_INCLUIDO"), QStringLiteral("N"));
    cmbTipoHospital->setCurrentIndex(-1);
    mostraUf(QString(), -1);
    cmbTipoContratacao->setCurrentIndex(-1);
    cmbTipoContratacao->setEnabled(false);
    edtDataContratacao->setEnabled(false);
    cmbDispServicos->setCurrentIndex(-1);
    edtRegOperIntermed->setEnabled(false);
    edtDataVinculo->setEnabled(false);
    chkUrgencia->setChecked(false);
    chkUrgencia->setEnabled(false);
    lkpClassifHospital->setEnabled(true);
    lblCNPJCPF->setText(QStringLiteral("&CNPJ/CPF"));
    vinculos()->Atualiza();
    lkpClassifHospital->setFocus();
}

void TfrmCadHosp::actAlterarExecute() {
    TfrmModeloCadastro::actAlterarExecute();
    // a linked establishment keeps its classification
    lkpClassifHospital->setEnabled(!m_dm->EstabVinculadoPlano(m_dm->IdAtual()));
    const QVariant c = dtsCadastro()->Valor(kClassif);
    chkUrgencia->setEnabled(!nulo(c) && c.toInt() == TDmHospital::kAssistenciaHospitalar);
    m_mascaraCnpj = false;
    vinculos()->Atualiza();
}

void TfrmCadHosp::actCancelarExecute() {
    m_dm->DescartaPendente();
    TfrmModeloCadastro::actCancelarExecute();
    m_mascaraCnpj = true;
    vinculos()->Atualiza();
    chkUrgencia->setEnabled(true);
    lkpClassifHospital->setEnabled(true);
}

void TfrmCadHosp::actExcluirExecute() {
    if (m_dm->EstabVinculadoPlano(m_dm->IdAtual())) {
        MyMessageDlg(
            QStringLiteral(
                "Este estabelecimento de saúde está vinculado a um ou mais planos, e portanto, "
                "não poderá ser excluído."),
            Mensagens::Informacao, Mensagens::BtOk);
        return;
    }
    if (MyMessageDlg(QStringLiteral("Deseja excluir o Estabelecimento de Saúde selecionado?"),
                     Mensagens::Confirmacao,
                     Mensagens::BtSim | Mensagens::BtNao) != Mensagens::RespSim)
        return;
    try {
        m_dm->ExcluiAtual();
    } catch (const ErroQev& e) {
        MyMessageDlg(e.mensagem(), Mensagens::Erro, Mensagens::BtOk);
    }
    contaEstabelecimentos();
    AtualizaDados();
}

void TfrmCadHosp::btnAnteriorClick() {
    CursorEspera espera;
    const qlonglong atual = m_dm->IdAtual();
    const qlonglong id = m_dm->IdAnterior(atual);
    if (id != 0 && id != atual) AbreEstabelecimento(id);
}

void TfrmCadHosp::btnProximoClick() {
    CursorEspera espera;
    const qlonglong atual = m_dm->IdAtual();
    const qlonglong id = m_dm->IdProximo(atual);
    if (id != 0 && id != atual) AbreEstabelecimento(id);
}

void TfrmCadHosp::actPesquisarExecute() {
    int escolha = 0;
    if (m_qtEstab > TDmHospital::kLimitePesquisa) {
        if (!m_dlgOpcao) m_dlgOpcao = new TfrmDlgOpcaoPesqEstb(this);
        if (Modal::executa(*m_dlgOpcao) != QDialog::Accepted) return;
        escolha = m_dlgOpcao->Escolha();
    }
    if (escolha == 4) {
        qlonglong id;
        try {
            id = m_dm->LocalizaCnpj(m_dlgOpcao->edtCnpj()->text());
        } catch (const ErroQev& e) {
            MyMessageDlg(e.mensagem(), Mensagens::Erro, Mensagens::BtOk);
            return;
        }
        AbreEstabelecimento(id);
        return;
    }
    const QString sql = TDmHospital::SqlPesquisa(escolha);
    const ParamsPosicionais params = TDmHospital::ParametrosPesquisa(escolha);
    const QString legenda = TDmHospital::LegendaPesquisa(escolha);
    if (!m_consulta) {
        CursorEspera espera;
        m_consulta = new TfrmConsulta(
            this, legenda, QStringLiteral("CNES;C.N.P.J;Razão Social;Id Estab. Saúde"),
            QStringLiteral("CD_CNES;CD_CNPJ_ESTB_SAUD;RAZAO_SOCIAL_ESTB_SAUD;ID_ESTB_SAUD"), sql,
            DmConexao()->banco(), params);
    } else if (sql.trimmed() != m_consulta->Sql().trimmed() || params != m_paramsConsulta) {
        m_consulta->setWindowTitle(legenda);
        m_consulta->Recarrega(sql, params);
    }
    m_paramsConsulta = params;
    m_consulta->EscondeColuna(kId);
    if (Modal::executa(*m_consulta) != QDialog::Accepted) return;
    const QVariant id = m_consulta->Valor(kId);
    if (!nulo(id)) AbreEstabelecimento(id.toLongLong());
}

void TfrmCadHosp::btnCNESClick() {
    QString chave;
    if (!edtCNES->text().trimmed().isEmpty())
        chave = edtCNES->text().trimmed();
    else if (!SomenteDigitos(MedCNPJ->text()).isEmpty())
        chave = dtsCadastro()->Valor(kCnpj).toString().trimmed();
    if (chave.isEmpty()) {
        MyMessageDlg(
            QStringLiteral("O campo \"CNES\" ou o campo \"CNPJ/CPF\" precisam ser informados"),
            Mensagens::Erro, Mensagens::BtOk);
        return;
    }
    if (!Lancador::abreEndereco(TDmHospital::EnderecoCadastroPublico(chave)))
        MyMessageDlg(QStringLiteral("Não foi possivel realizar a consulta no site do DataSus"),
                     Mensagens::Erro, Mensagens::BtOk);
}

void TfrmCadHosp::actSairExecute() {
    DmConexao()->ConfirmaTransacao();
    m_dm->cdsHospital()->Fecha();
    Fecha();
}

void AbreCadastroEstabelecimentos(QWidget* pai) {
    TfrmCadHosp tela(pai);
    Modal::executa(tela);
}
