#include "plans/EdicaoPlano.h"

#include "common/CursorEspera.h"
#include "common/MensagemDlg.h"
#include "common/Win1252.h"
#include "db/Erro.h"
#include "db/DmConexao.h"
#include "db/RowSet.h"
#include "db/Transacao.h"
#include "db/Valores.h"
#include "operator/Operadora.h"
#include "plans/AreaAtuacaoPlano.h"
#include "plans/DmInfoPlano.h"
#include "plans/ItensPlano.h"
#include "plans/RedePlano.h"
#include "plans/TaxasTemporarias.h"

namespace {
using Aba = TEdicaoPlano::Aba;
using Controle = TEdicaoPlano::Controle;

const char* const kVinculos[] = {"LG_VB_VINCULO_ATIVO", "LG_VB_VINCULO_INATIVO", "LG_VB_SEM_VINCULO"};

Banco& banco() { return DmConexao()->banco(); }

bool listaTem(const RowSet* lista, const QString& campo, const QVariant& valor) {
    if (nulo(valor) || !lista->Ativo()) return false;
    const int c = lista->IndiceCampo(campo);
    const QString procurado = valor.toString();
    for (int p = 0; p < lista->RecordCount(); ++p)
        if (lista->ValorNaPosicao(p, c).toString() == procurado) return true;
    return false;
}

// Deletes every row of a set, whatever a filter hides (its cached rows; written when
// the set is applied).
void excluiTodos(RowSet& rs) {
    if (rs.EmEdicao()) rs.Cancel();
    rs.ExcluiLinhas(rs.LinhasSemFiltro());
}
}  // namespace

TEdicaoPlano::TEdicaoPlano(TdmInfoPlano* dm, QObject* parent)
    : QObject(parent),
      m_dm(dm),
      m_taxas(new TTaxasTemporarias(dm, this)),
      m_itens(new TItensPlano(dm, this)),
      m_area(new TAreaAtuacaoPlano(dm, this)),
      m_rede(new TRedePlano(dm, this)) {}

TEdicaoPlano::~TEdicaoPlano() = default;

RowSet* TEdicaoPlano::cdsPlano() const { return m_dm->cdsPlano(); }

bool TEdicaoPlano::Autogestao() const { return OperadoraAtual().Classificacao == 24; }

bool TEdicaoPlano::Odontologico() const {
    const int c = OperadoraAtual().Classificacao;
    return c == 23 || c == 26;
}

RowSet* TEdicaoPlano::ListaContratacao() const {
    return Autogestao() ? m_dm->cdsTipoContratoAutogestao() : m_dm->cdsTipoContrato();
}

RowSet* TEdicaoPlano::ListaSegmentacaoEdicao() const {
    return Odontologico() ? m_dm->cdsSegmentacaoOdonto() : m_dm->cdsSegmentacao();
}

bool TEdicaoPlano::ContratoExibido() const {
    return listaTem(ListaContratacao(), QStringLiteral("CD_TIPO_CONTRATO"),
                    cdsPlano()->Valor(QStringLiteral("CD_TIPO_CONTRATO")));
}

bool TEdicaoPlano::AbrangenciaExibida() const {
    return listaTem(m_dm->cdsAbrangencia(), QStringLiteral("CD_ABRANGENCIA"),
                    cdsPlano()->Valor(QStringLiteral("CD_ABRANGENCIA")));
}

bool TEdicaoPlano::SegmentacaoExibida() const {
    // while browsing the full list shows it; while editing the operator's list
    const RowSet* lista = Editando() ? ListaSegmentacaoEdicao() : m_dm->cdsSegmentacao();
    return listaTem(lista, QStringLiteral("CD_SEGMENTACAO"),
                    cdsPlano()->Valor(QStringLiteral("CD_SEGMENTACAO")));
}

bool TEdicaoPlano::Editando() const { return cdsPlano()->EmEdicao(); }


QString TEdicaoPlano::texto(const char* campo) const {
    const RowSet* p = cdsPlano();
    if (!p->Ativo() || p->IsEmpty()) return QString();
    return p->Valor(QString::fromLatin1(campo)).toString();
}

int TEdicaoPlano::inteiro(const char* campo) const {
    const RowSet* p = cdsPlano();
    if (!p->Ativo() || p->IsEmpty()) return 0;
    const QVariant v = p->Valor(QString::fromLatin1(campo));
    return nulo(v) ? 0 : v.toInt();
}

void TEdicaoPlano::define(const char* campo, const QVariant& valor) {
    if (Editando()) cdsPlano()->DefineValor(QString::fromLatin1(campo), valor);
}

void TEdicaoPlano::habilitaAba(Aba aba, bool habilitada) { m_abas[int(aba)] = habilitada; }

bool TEdicaoPlano::vinculoMarcado(Vinculo v) const {
    return texto(kVinculos[int(v)]) == QLatin1String("S");
}

void TEdicaoPlano::marcaVinculo(Vinculo v, bool marcado) {
    define(kVinculos[int(v)], marcado ? QStringLiteral("S") : QStringLiteral("N"));
}

void TEdicaoPlano::avisa() {
    if (m_lote > 0)
        m_avisoPendente = true;
    else
        emit estadoMudou();
}

TEdicaoPlano::Lote::Lote(TEdicaoPlano* e) : m_e(e) { ++m_e->m_lote; }

TEdicaoPlano::Lote::~Lote() {
    if (--m_e->m_lote == 0 && m_e->m_avisoPendente) {
        m_e->m_avisoPendente = false;
        emit m_e->estadoMudou();
    }
}

void TEdicaoPlano::SelecionaAba(Aba aba) {
    m_abaAtual = aba;
    emit abaSelecionada(aba);
}

// ---------------------------------------------------------------------------
// Opening and displaying
// ---------------------------------------------------------------------------

void TEdicaoPlano::Abre() {
    CursorEspera espera;
    m_dm->GarantePlanos();
    if (!m_dm->cdsRegiaoBrasil()->Ativo()) m_dm->cdsRegiaoBrasil()->Abre(banco());
    exibe();
    if (!cdsPlano()->IsEmpty()) RegraAbaNotas();
    if (m_dm->cdsPlanoDispositivo()->Ativo()) {
        m_dm->cdsPlanoDispositivo()->DefineIndice(TdmInfoPlano::NomeIndOrdem(), TdmInfoPlano::IndOrdem());
        m_dm->cdsPlanoDispositivo()->First();
    }
    avisa();
}

void TEdicaoPlano::Fecha() {
    m_dm->IndicePadraoDispositivos();
    m_dm->FechaRelacionados();
    m_area->FechaSeletores();
}

void TEdicaoPlano::AtualizaDados() {
    const int financ = inteiro("CD_TIPO_FINANC");
    m_preco = financ >= 1 && financ <= 3 ? Preco(financ) : Preco::Nenhum;
    const bool temPlano = cdsPlano()->Ativo() && !cdsPlano()->IsEmpty();
    habilitaAba(Aba::AreaAtuacao, temPlano && inteiro("CD_ABRANGENCIA") != 1);
    m_paginaUFs = inteiro("CD_ABRANGENCIA") <= 3;
    m_dm->FechaRelacionados();
    m_area->FechaSeletores();
    if (!Editando()) m_taxas->cdsTmpTaxaRegistro()->Fecha();
    SelecionaAba(Aba::DadosGerais);
    avisa();
}

TEdicaoPlano::Habilitacao TEdicaoPlano::Habilitado() const {
    Habilitacao h;
    switch (inteiro("CD_TIPO_CONTRATO")) {
        case 1:
            h.pos = false;
            h.vinculoAtivo = h.vinculoInativo = h.semVinculo = false;
            break;
        case 2:
            h.semVinculo = false;
            break;
        case 3:
            h.vinculoAtivo = h.vinculoInativo = false;
            break;
        default:
            break;
    }
    const int seg = inteiro("CD_SEGMENTACAO");
    h.misto = seg == 4;
    if (seg == 1 || seg == 4 || seg == 8) {
        h.acomodacao = false;
    } else if (seg == 5) {
        h.individual = false;
    }
    // the price button checked: the moderating factor and the post-established option
    h.coparticipacao = h.franquia = m_preco == Preco::Pre || m_preco == Preco::Pos;
    h.opcaoPos = m_preco == Preco::Pos;
    if (m_preco == Preco::Misto) h.acomodacao = false;
    return h;
}

void TEdicaoPlano::AjusteContrato() {
    if (Editando()) {
        switch (inteiro("CD_TIPO_CONTRATO")) {
            case 1:
                if (m_preco != Preco::Misto) m_preco = Preco::Pre;
                for (Vinculo v : {Vinculo::Ativo, Vinculo::Inativo, Vinculo::Sem}) marcaVinculo(v, false);
                break;
            case 2:
                for (Vinculo v : {Vinculo::Ativo, Vinculo::Inativo, Vinculo::Sem}) marcaVinculo(v, false);
                break;
            case 3:
                marcaVinculo(Vinculo::Ativo, false);
                marcaVinculo(Vinculo::Inativo, false);
                marcaVinculo(Vinculo::Sem, true);
                break;
            default:
                break;
        }
    }
    avisa();
}

void TEdicaoPlano::AjusteSegmentacao() {
    const int seg = inteiro("CD_SEGMENTACAO");
    if (seg == 1 || seg == 4 || seg == 8)
        define("CD_PADRAO_ACOMODACAO", QVariant());
    else if (seg == 5)
        define("CD_PADRAO_ACOMODACAO", QStringLiteral("C"));
    m_rede->RecriaDisponiveis(seg);
    m_pesquisaDisponiveis = true;
    avisa();
}

void TEdicaoPlano::exibe() {
    const Lote lote(this);
    AtualizaDados();
    AjusteContrato();
    AjusteSegmentacao();
    aposAjustes();
    AjustaAbas();
    SelecionaAba(Aba::DadosGerais);
}

void TEdicaoPlano::aposAjustes() {
    if (!Habilitado().misto && m_preco == Preco::Misto) m_preco = Preco::Nenhum;
    m_area->ReiniciaRegioes();
    avisa();
}

void TEdicaoPlano::ContratoAlterado() {
    const Lote lote(this);
    AjusteContrato();
    aposAjustes();
    AjustaAbas();
}

void TEdicaoPlano::AbrangenciaAlterada() {
    const Lote lote(this);
    AjustaAbas();  // with the attributes complete, it runs the area tab rule
}

void TEdicaoPlano::SegmentacaoAlterada() {
    const Lote lote(this);
    AjusteSegmentacao();
    aposAjustes();
    const int seg = inteiro("CD_SEGMENTACAO");
    if (m_itens->lstReembolso()->Count() == 13 && m_itens->lstServicos()->Count() == 13) {
        m_itens->RegrasLivreEscolha(seg, texto("LG_TOTAL_LIVRE_ESCOLHA"));
        m_itens->RegrasServicos(seg);
    }
    RegraAbaNotas();
    m_pesquisaDisponiveis = true;
    AjustaAbas();
    SelecionaAba(Aba::DadosGerais);
}

void TEdicaoPlano::NomeDigitado() { AjustaAbas(); }

void TEdicaoPlano::ClicaPreco(Preco preco) {
    const Lote lote(this);
    m_preco = preco;
    switch (preco) {
        case Preco::Misto:
            define("CD_PADRAO_ACOMODACAO", QVariant());
            define("LG_FM_COPARTICIPACAO", QStringLiteral("N"));
            define("LG_FM_FRANQUIA", QStringLiteral("N"));
            define("CD_OPCAO_POS_ESTABELECIDO", QVariant());
            break;
        case Preco::Pre:
            define("CD_OPCAO_POS_ESTABELECIDO", QVariant());
            RegraAbaNotas();
            break;
        case Preco::Pos:
            RegraAbaNotas();
            break;
        case Preco::Nenhum:
            break;
    }
    AjustaAbas();
}

void TEdicaoPlano::ClicaVinculo(Vinculo v) {
    const Lote lote(this);
    if (v == Vinculo::Sem) {
        if (inteiro("CD_TIPO_CONTRATO") == 3) marcaVinculo(Vinculo::Sem, true);
    } else {
        RegraAbaNotas();
    }
    AjustaAbas();
}

void TEdicaoPlano::LivreEscolhaAlterada() {
    m_dm->cdsPlanoCobertura()->Fecha();
    AjustaAbas();
}

// ---------------------------------------------------------------------------
// Tabs
// ---------------------------------------------------------------------------

bool TEdicaoPlano::AtributosCompletos() const {
    const RowSet* p = cdsPlano();
    if (!p->Ativo() || p->IsEmpty()) return false;
    return AtributoIncompleto() == Controle::Nenhum;
}

TEdicaoPlano::Controle TEdicaoPlano::AtributoIncompleto() const {
    const RowSet* p = cdsPlano();
    if (!p->Ativo() || p->IsEmpty()) return Controle::Nenhum;
    if (texto("NM_PLANO").trimmed().isEmpty()) return Controle::Nome;
    if (!ContratoExibido()) return Controle::Contratacao;
    if (!AbrangenciaExibida()) return Controle::Abrangencia;
    if (!SegmentacaoExibida()) return Controle::Segmentacao;
    if (m_preco == Preco::Nenhum) return Controle::FormacaoPreco;
    if (m_preco == Preco::Pos && texto("CD_OPCAO_POS_ESTABELECIDO").isEmpty()) return Controle::OpcaoPos;
    if (inteiro("CD_TIPO_CONTRATO") > 1 && !vinculoMarcado(Vinculo::Ativo) &&
        !vinculoMarcado(Vinculo::Inativo) && !vinculoMarcado(Vinculo::Sem))
        return Controle::Vinculo;
    if (Habilitado().acomodacao && texto("CD_PADRAO_ACOMODACAO").isEmpty()) return Controle::Acomodacao;
    return Controle::Nenhum;
}

void TEdicaoPlano::RegraAbaNotas() {
    const int seg = inteiro("CD_SEGMENTACAO");
    const int contrato = inteiro("CD_TIPO_CONTRATO");
    const bool pos = m_preco == Preco::Pos;
    habilitaAba(Aba::NotasTecnicas, seg == 4 || ((contrato == 2 || contrato == 3) && pos) ||
                                        (contrato == 2 && vinculoMarcado(Vinculo::Ativo)) ||
                                        AtributosCompletos());
    avisa();
}

void TEdicaoPlano::RegraAbaArea() {
    const int abrangencia = inteiro("CD_ABRANGENCIA");
    habilitaAba(Aba::AreaAtuacao, abrangencia != 1);
    m_paginaUFs = abrangencia <= 3;
    if (Editando()) m_area->RecalculaRegiao();
    avisa();
}

void TEdicaoPlano::AjustaAbas() {
    const bool completos = AtributosCompletos();
    if (!completos)
        habilitaAba(Aba::AreaAtuacao, false);
    else
        RegraAbaArea();
    const bool edicao = Editando() && completos;
    habilitaAba(Aba::LivreEscolha, edicao);
    habilitaAba(Aba::Taxa, edicao);
    habilitaAba(Aba::Servicos, edicao);
    const bool rede = completos && inteiro("CD_SEGMENTACAO") != 4 &&
                      texto("LG_TOTAL_LIVRE_ESCOLHA") != QLatin1String("S");
    habilitaAba(Aba::Rede, rede);
    if (!rede) m_pesquisaDisponiveis = false;
    if (!completos)
        habilitaAba(Aba::NotasTecnicas, false);
    else
        RegraAbaNotas();
    avisa();
}

void TEdicaoPlano::AbaMostrada(Aba aba) {
    const Lote lote(this);
    m_abaAtual = aba;
    const RowSet* p = cdsPlano();
    if (!p->Ativo() || p->IsEmpty()) return;
    const int seg = inteiro("CD_SEGMENTACAO");
    switch (aba) {
        case Aba::DadosGerais:
            return;
        case Aba::Taxa:
            if (!Editando()) m_taxas->CarregaTaxasTemporarias(m_dm->CdOperAtual(), m_dm->SeqPlanoAtual());
            break;
        case Aba::LivreEscolha:
            m_itens->CarregaLivreEscolha();
            m_itens->RegrasLivreEscolha(seg, texto("LG_TOTAL_LIVRE_ESCOLHA"));
            break;
        case Aba::Servicos:
            m_itens->CarregaServicos();
            m_itens->RegrasServicos(seg);
            break;
        case Aba::NotasTecnicas:
            CarregaNotas();
            break;
        case Aba::AreaAtuacao:
            m_area->CarregaSeletorUF();
            m_area->CarregaSeletorMunicipio();
            break;
        case Aba::Rede:
            m_rede->CarregaRede();
            break;
    }
    AjustaAbas();
}

void TEdicaoPlano::SaiDaAba(Aba aba) {
    if (aba == Aba::Taxa && m_taxas->cdsTmpTaxaRegistro()->EmEdicao()) m_taxas->Grava();
}

// ---------------------------------------------------------------------------
// Adding, editing, cancelling
// ---------------------------------------------------------------------------

void TEdicaoPlano::Adiciona() {
    const Lote lote(this);
    RowSet& p = *cdsPlano();
    p.Append();
    if (Odontologico()) p.DefineValor(QStringLiteral("CD_SEGMENTACAO"), 4);
    m_dm->FechaRelacionados();
    m_area->FechaSeletores();
    // the new plan's own adjustments (nothing of the plan shown before stays)
    m_preco = Preco::Nenhum;
    AjusteContrato();
    AjusteSegmentacao();
    aposAjustes();
    define("LG_FM_COPARTICIPACAO", QStringLiteral("N"));
    define("LG_FM_FRANQUIA", QStringLiteral("N"));
    for (Vinculo v : {Vinculo::Ativo, Vinculo::Inativo, Vinculo::Sem}) marcaVinculo(v, false);
    SelecionaAba(Aba::DadosGerais);
    habilitaAba(Aba::AreaAtuacao, false);
    m_paginaUFs = true;
    define("LG_TOTAL_LIVRE_ESCOLHA", QStringLiteral("N"));
    m_taxas->Recria();
    AjustaAbas();
}

bool TEdicaoPlano::Edita() {
    const Lote lote(this);
    if (inteiro("CD_STATUS_ENVIO") == 1) {
        MyMessageDlg(QStringLiteral("Este plano foi enviado para a ZUB e portanto, não poderá ser "
                                    "alterado e/ou excluído."),
                     Mensagens::Cuidado, Mensagens::BtOk);
        return false;
    }
    CursorEspera espera;
    cdsPlano()->Edit();
    m_itens->CarregaServicos();
    m_itens->CarregaLivreEscolha();
    m_area->CarregaSeletorUF();
    m_area->CarregaSeletorMunicipio();
    m_taxas->CarregaTaxasTemporarias(m_dm->CdOperAtual(), m_dm->SeqPlanoAtual());
    AjustaAbas();
    return true;
}

void TEdicaoPlano::descartaPendentes() {
    m_area->RemoveFiltroMunicipios();
    for (RowSet* rs : {m_dm->cdsPlanosMunicipio(), m_dm->cdsPlanosUF(), m_dm->cdsPlanoCobertura(),
                       m_dm->cdsPlanoServico(), m_dm->cdsPlanoDispositivo(), m_dm->cdsPlanoRede()})
        if (rs->Ativo() && (rs->EmEdicao() || rs->ChangeCount() > 0)) rs->CancelUpdates();
    m_taxas->cdsTmpTaxaRegistro()->Cancel();
    cdsPlano()->Cancel();
    cdsPlano()->CancelUpdates();
}

void TEdicaoPlano::Cancela() {
    const Lote lote(this);
    descartaPendentes();
    // what another copy stored meanwhile is shown (the plans are read again only then)
    const QString op = m_dm->CdOperAtual();
    const qlonglong seq = m_dm->SeqPlanoAtual();
    if (m_dm->RelePlanosAlterados() && !cdsPlano()->IsEmpty())
        cdsPlano()->Locate({QStringLiteral("CD_OPER"), QStringLiteral("SEQ_PLANO")}, {op, seq});
    exibe();
}

// ---------------------------------------------------------------------------
// The save
// ---------------------------------------------------------------------------

TEdicaoPlano::Resultado TEdicaoPlano::confere() {
    Resultado r;
    r.tipo = Resultado::Gravado;
    bool bloqueia = false;
    const auto bloqueio = [&](const QString& m, Controle c, bool aba = true, Aba qual = Aba::DadosGerais) {
        r.tipo = Resultado::Bloqueado;
        r.mensagem = m;
        r.controle = c;
        r.selecionaAba = aba;
        r.aba = qual;
        bloqueia = true;
    };
    const int contrato = inteiro("CD_TIPO_CONTRATO");
    if (texto("NM_PLANO").trimmed().isEmpty())
        bloqueio(QStringLiteral("Preencher o \"Nome Comercial\"."), Controle::Nome, false);
    else if (const QString fora = ConfereTextoArquivo(QStringLiteral("Nome Comercial"), texto("NM_PLANO"));
             !fora.isEmpty())
        bloqueio(fora, Controle::Nome, false);  // the name travels in the request file
    else if (!ContratoExibido())
        bloqueio(QStringLiteral("Selecione a \"Contratação\"."), Controle::Contratacao, false);
    else if (!AbrangenciaExibida())
        bloqueio(QStringLiteral("Selecione a \"Abrangência Geográfica\"."), Controle::Abrangencia, false);
    else if (!SegmentacaoExibida())
        bloqueio(QStringLiteral("Selecione a \"Segmentação Assistencial\"."), Controle::Segmentacao,
                 false);
    else if (m_preco == Preco::Nenhum)
        bloqueio(QStringLiteral("Selecione a \"Formação do Preço\"."), Controle::FormacaoPreco);
    else if (m_preco == Preco::Pos && texto("CD_OPCAO_POS_ESTABELECIDO").isEmpty())
        bloqueio(QStringLiteral("Selecione a \"Opção Pós-Estabelecido\"."), Controle::OpcaoPos);
    else if (contrato > 1 && !vinculoMarcado(Vinculo::Ativo) && !vinculoMarcado(Vinculo::Inativo) &&
             !vinculoMarcado(Vinculo::Sem))
        bloqueio(QStringLiteral("Selecione pelo menos uma opção de \"Vínculo do Beneficiário\"."),
                 Controle::Vinculo);
    else if (Habilitado().acomodacao && texto("CD_PADRAO_ACOMODACAO").isEmpty())
        bloqueio(QStringLiteral("Selecione o \"Padrão de Acomodação\"."), Controle::Acomodacao);
    else if (texto("LG_TOTAL_LIVRE_ESCOLHA") != QLatin1String("S") &&
             texto("LG_TOTAL_LIVRE_ESCOLHA") != QLatin1String("N"))
        bloqueio(QStringLiteral("Selecione a opção que indica se o Plano opera exclusivamente como "
                                "Livre Escolha."),
                 Controle::LivreEscolha);
    else if (texto("LG_TOTAL_LIVRE_ESCOLHA") == QLatin1String("S") &&
             !m_dm->cdsPlanoRede()->IsEmpty()) {
        bloqueio(QStringLiteral("Planos que operam exclusivamente como Livre Escolha não possuem "
                                "Vinculação de Rede."),
                 Controle::LivreEscolha);
        define("LG_TOTAL_LIVRE_ESCOLHA", QStringLiteral("N"));
        LivreEscolhaAlterada();
    } else if (m_dm->ExisteTaxaRepetida(*m_taxas->cdsTmpTaxaRegistro()))
        bloqueio(QStringLiteral("Existem Números de Documento de Pagamento repetidos."),
                 Controle::Taxas, true, Aba::Taxa);

    if (!bloqueia && AbaHabilitada(Aba::AreaAtuacao) && inteiro("CD_ABRANGENCIA") != 1) {
        const QString aviso = m_area->MensagemGravacao(inteiro("CD_ABRANGENCIA"));
        if (!aviso.isEmpty()) {
            r.mensagem = aviso;
            r.selecionaAba = true;
            r.aba = Aba::AreaAtuacao;
            r.controle = Controle::Nenhum;
        }
    }
    if (!m_taxas->TaxasValidas())
        bloqueio(QStringLiteral("Existem taxas com o \"Número do Documento\" inválido."),
                 Controle::Taxas, true, Aba::Taxa);
    return r;
}

bool TEdicaoPlano::limpaOQueNaoSeAplica(bool insercao) {
    const int abrangencia = inteiro("CD_ABRANGENCIA");
    // a plan never stored has nothing stored to ask about: what no longer applies goes
    const auto pergunta = [insercao](const char* texto) {
        return insercao || MyMessageDlg(QString::fromUtf8(texto), Mensagens::Confirmacao,
                                        Mensagens::BtSim | Mensagens::BtNao) == Mensagens::RespSim;
    };
    // Area
    m_area->GaranteAreaDoPlano();
    RowSet& munic = *m_dm->cdsPlanosMunicipio();
    RowSet& ufs = *m_dm->cdsPlanosUF();
    if (AbaHabilitada(Aba::AreaAtuacao)) {
        if (abrangencia == 2 || abrangencia == 3) excluiTodos(munic);
        if (abrangencia == 4 || abrangencia == 5) excluiTodos(ufs);
    } else if (!munic.IsEmpty() || !ufs.IsEmpty()) {
        if (!pergunta("As UFs e Municípios da Área de Atuação serão excluídos. Deseja Continuar?")) {
            Cancela();
            habilitaAba(Aba::AreaAtuacao, inteiro("CD_ABRANGENCIA") != 1);
            avisa();
            return false;
        }
        excluiTodos(munic);
        excluiTodos(ufs);
    }
    // Technical notes
    RowSet& notas = *m_dm->cdsNotaTecnica();
    m_dm->GarantePlano(&notas);
    if (!AbaHabilitada(Aba::NotasTecnicas) && !notas.IsEmpty()) {
        if (!pergunta("Os registros de Nota técnica serão excluídos. Deseja Continuar?")) {
            notas.Cancel();
            RegraAbaNotas();
            return false;
        }
        excluiTodos(notas);
    }
    // Network
    RowSet& rede = *m_dm->cdsPlanoRede();
    if (!AbaHabilitada(Aba::Rede)) {
        m_pesquisaDisponiveis = true;
        if (!rede.IsEmpty()) {
            if (!pergunta("Os estabelecimentos de saúde vinculados serão excluídos. Deseja Continuar?")) {
                rede.Cancel();
                AjustaAbas();
                return false;
            }
            excluiTodos(rede);
        }
    }
    return true;
}

void TEdicaoPlano::renumeraPlano(qlonglong de, qlonglong para) {
    cdsPlano()->DefineValor(QStringLiteral("SEQ_PLANO"), para);
    for (RowSet* rs : m_dm->Relacionados()) {
        if (!rs->Ativo()) continue;
        if (rs->EmEdicao()) rs->Post();
        const int c = rs->IndiceCampo(QStringLiteral("SEQ_PLANO"));
        for (int p = 0; p < rs->RecordCount(); ++p) {
            if (rs->ValorNaPosicao(p, c).toLongLong() != de) continue;
            rs->Vai(p);
            rs->Edit();
            rs->DefineValor(c, para);
            rs->Post();
        }
        const QString nomeSeq = rs->Parametros().contains(QStringLiteral("SEQPLANO"))
                                    ? QStringLiteral("SEQPLANO")
                                    : QStringLiteral("SEQ_PLANO");
        rs->DefineParametro(nomeSeq, para);
    }
}

void TEdicaoPlano::escreve(bool consistente, bool redeFalhou, bool insercao) {
    RowSet& p = *cdsPlano();
    Banco& b = banco();
    TransacaoEscopo transacao(b);
    // Numbers handed out inside the write's transaction: no other copy can take them now.
    if (insercao) {
        const qlonglong provisorio = p.Valor(QStringLiteral("SEQ_PLANO")).toLongLong();
        const qlonglong definitivo = m_dm->ProximoSeqPlano();
        if (definitivo != provisorio) renumeraPlano(provisorio, definitivo);
    }
    const QString op = m_dm->CdOperAtual();
    const qlonglong seq = m_dm->SeqPlanoAtual();
    // 1. disabled link boxes unchecked
    const Habilitacao hab = Habilitado();
    if (!hab.vinculoAtivo) marcaVinculo(Vinculo::Ativo, false);
    if (!hab.vinculoInativo) marcaVinculo(Vinculo::Inativo, false);
    if (!hab.semVinculo) marcaVinculo(Vinculo::Sem, false);
    // 2. price formation
    define("CD_TIPO_FINANC", int(m_preco));
    // 3. the check lists
    m_itens->GravaLivreEscolha();
    m_itens->GravaServicos();
    // 4. and 5. what makes the plan inconsistent
    RowSet& notas = *m_dm->cdsNotaTecnica();
    m_dm->GarantePlano(&notas);
    if (AbaHabilitada(Aba::NotasTecnicas) && notas.IsEmpty()) consistente = false;
    RowSet& taxas = *m_dm->cdsTaxaRegistro();
    m_dm->GarantePlano(&taxas);
    if (taxas.IsEmpty()) consistente = false;
    // 6. to 9.
    if (p.Nulo(QStringLiteral("CD_STATUS_ENVIO"))) define("CD_STATUS_ENVIO", 0);
    const int seg = inteiro("CD_SEGMENTACAO");
    QString rede;
    if (seg == 4 || texto("LG_TOTAL_LIVRE_ESCOLHA") == QLatin1String("S"))
        rede = QStringLiteral("S");
    else
        rede = m_dm->cdsPlanoRede()->IsEmpty() || redeFalhou ? QStringLiteral("N") : QStringLiteral("S");
    define("LG_REDE_VINCULADA", rede);
    define("LG_CONSISTENTE", consistente ? QStringLiteral("S") : QStringLiteral("N"));
    for (Vinculo v : {Vinculo::Ativo, Vinculo::Inativo, Vinculo::Sem})
        if (!vinculoMarcado(v)) marcaVinculo(v, false);
    // 10. the plan
    p.Post();
    p.ApplyUpdates(b);
    // 11. the related rows
    for (RowSet* rs : {m_dm->cdsPlanoCobertura(), m_dm->cdsPlanoServico(), m_dm->cdsPlanosMunicipio(),
                       m_dm->cdsPlanosUF()})
        if (rs->Ativo() && (rs->EmEdicao() || rs->ChangeCount() > 0)) rs->ApplyUpdates(b);
    if (notas.EmEdicao()) {
        if (notas.Valor(QStringLiteral("NR_PROTOCOLO_NOTA_TECNICA")).toString().trimmed().isEmpty())
            notas.Cancel();
        else
            notas.Post();
    }
    // new notes take their numbers now
    qlonglong proximaNota = -1;
    for (int pos = 0; pos < notas.RecordCount(); ++pos) {
        if (!notas.LinhaInserida(notas.LinhaNaPosicao(pos))) continue;
        if (proximaNota < 0) proximaNota = m_dm->ProximaNotaNoBanco();
        notas.Vai(pos);
        notas.Edit();
        notas.DefineValor(QStringLiteral("ID_PLANO_NOTA_TECNICA"), proximaNota++);
        notas.Post();
    }
    notas.ApplyUpdates(b);
    if (m_dm->cdsPlanoRede()->Ativo()) m_dm->cdsPlanoRede()->ApplyUpdates(b);
    // 12. the tax documents
    m_taxas->GravaTaxas(op, seq, m_dm->ProximaTaxaNoBanco());
    taxas.ApplyUpdates(b);
    // 13.
    transacao.confirma();
}

void TEdicaoPlano::relerDepoisDaGravacao(qlonglong seq) {
    // The operator's plans are read again when another copy wrote meanwhile (its plans
    // show up); otherwise they hold what the database holds already. The screen stays on
    // the plan saved. Every related set written holds, row for row, what the database now
    // holds (its log was merged when the transaction committed), so none is read again;
    // the pickers' lists take their moves as read.
    const QString op = m_dm->CdOperAtual();
    if (m_dm->RelePlanosAlterados() || m_dm->SeqPlanoAtual() != seq)
        cdsPlano()->Locate({QStringLiteral("CD_OPER"), QStringLiteral("SEQ_PLANO")}, {op, seq});
    else
        m_dm->PlanosEmDia();
    m_area->AceitaSeletores();
}

TEdicaoPlano::Resultado TEdicaoPlano::Grava() {
    const Lote lote(this);
    RowSet& p = *cdsPlano();
    if (!p.EmEdicao()) throw ErroQev(QStringLiteral("O registro não está em inclusão ou alteração."));
    const bool insercao = p.State() == RowSet::Estado::Insercao;
    CursorEspera espera;

    // Preparation
    const Habilitacao hab = Habilitado();
    if (!hab.acomodacao) define("CD_PADRAO_ACOMODACAO", QVariant());
    if (!hab.opcaoPos) define("CD_OPCAO_POS_ESTABELECIDO", QVariant());
    const QString op = m_dm->CdOperAtual();
    const qlonglong seqAntes = m_dm->SeqPlanoAtual();
    // the tax list typed for this plan is never reloaded over (a new plan's list included)
    if (!m_taxas->Carregada())
        m_taxas->CarregaTaxasTemporarias(op, seqAntes);
    else if (!m_dm->AbertoPara(m_dm->cdsTaxaRegistro(), op, seqAntes))
        m_dm->AbreRelacionado(m_dm->cdsTaxaRegistro(), op, seqAntes);
    const int segAntes = inteiro("CD_SEGMENTACAO");
    if (!m_dm->cdsPlanoCobertura()->Ativo()) {
        m_itens->CarregaLivreEscolha();
        m_itens->RegrasLivreEscolha(segAntes, texto("LG_TOTAL_LIVRE_ESCOLHA"));
    }
    if (!m_dm->cdsPlanoServico()->Ativo()) {
        m_itens->CarregaServicos();
        m_itens->RegrasServicos(segAntes);
    }
    m_rede->CarregaRede(false);
    // an ambulatory or urgency-only plan keeps only links with urgency care, whether or not
    // the network was looked at since the segmentation changed
    m_rede->RetiraSemUrgencia(segAntes);
    m_area->RemoveFiltroMunicipios();

    // Checks
    Resultado r = confere();
    if (r.tipo == Resultado::Bloqueado) {
        MyMessageDlg(r.mensagem, Mensagens::Erro, Mensagens::BtOk);
        if (r.selecionaAba) SelecionaAba(r.aba);
        avisa();
        return r;
    }
    bool consistente = true;
    if (!r.mensagem.isEmpty()) {
        MyMessageDlg(r.mensagem, Mensagens::Cuidado, Mensagens::BtOk);
        if (r.selecionaAba) SelecionaAba(r.aba);
        consistente = false;
    }

    // Clearing what no longer applies
    if (!limpaOQueNaoSeAplica(insercao)) {
        r.tipo = Resultado::Desistiu;
        avisa();
        return r;
    }

    // Network rules
    bool redeFalhou = false;
    const int seg = inteiro("CD_SEGMENTACAO");
    if (seg != 4 && texto("LG_TOTAL_LIVRE_ESCOLHA") != QLatin1String("S")) {
        const QString aviso = m_rede->RegrasRede(op, seqAntes, inteiro("CD_ABRANGENCIA"));
        if (!aviso.trimmed().isEmpty()) {
            MyMessageDlg(aviso, Mensagens::Cuidado, Mensagens::BtOk);
            redeFalhou = true;
        }
    }

    // Writing
    try {
        escreve(consistente, redeFalhou, insercao);
    } catch (const ErroRegistroAlterado& e) {
        // Another copy changed or deleted what this one read: nothing was stored (the
        // transaction was rolled back and every log is as before), the plan stays in
        // edit with what the user entered; cancelling shows the other copy's values.
        if (!p.EmEdicao()) p.Edit();
        r.tipo = Resultado::Bloqueado;
        r.mensagem = e.mensagem();
        r.controle = Controle::Nenhum;
        r.selecionaAba = false;
        MyMessageDlg(r.mensagem, Mensagens::Erro, Mensagens::BtOk);
        avisa();
        return r;
    } catch (const std::exception& e) {
        // nothing was stored (the transaction was rolled back)
        p.Cancel();
        p.CancelUpdates();
        r.tipo = Resultado::Erro;
        r.mensagem = QStringLiteral(
            "Houve um erro indeterminado na gravação do plano, que impede a continuação da "
            "operação. Esta tela será fechada.");
        MyMessageDlg(r.mensagem, Mensagens::Erro, Mensagens::BtOk);
        return r;
    }
    relerDepoisDaGravacao(m_dm->SeqPlanoAtual());
    r.tipo = Resultado::Gravado;
    SelecionaAba(Aba::DadosGerais);
    avisa();
    return r;
}

// ---------------------------------------------------------------------------
// Delete, move, search, protocol, lists
// ---------------------------------------------------------------------------

bool TEdicaoPlano::Exclui() {
    if (inteiro("CD_STATUS_ENVIO") > 0) {
        MyMessageDlg(QStringLiteral("Este plano foi enviado para a ZUB e portanto, não poderá ser "
                                    "EXCLUÍDO."),
                     Mensagens::Cuidado, Mensagens::BtOk);
        return false;
    }
    CursorEspera espera;
    if (MyMessageDlg(QStringLiteral("Deseja excluir o registro?"), Mensagens::Confirmacao,
                     Mensagens::BtSim | Mensagens::BtNao) != Mensagens::RespSim)
        return false;
    bool excluido = true;
    try {
        m_dm->ExcluiPlano();
    } catch (const ErroQev& e) {
        MyMessageDlg(TraduzErroBanco(e.mensagem()), Mensagens::Erro, Mensagens::BtOk);
        excluido = false;
    }
    exibe();
    return excluido;
}

bool TEdicaoPlano::Anterior() {
    RowSet& p = *cdsPlano();
    const int antes = p.RecNo();
    p.Prior();
    if (p.RecNo() == antes) return false;
    exibe();
    return true;
}

bool TEdicaoPlano::Proximo() {
    RowSet& p = *cdsPlano();
    const int antes = p.RecNo();
    p.Next();
    if (p.RecNo() == antes) return false;
    exibe();
    return true;
}

bool TEdicaoPlano::LocalizaPlano(const QString& cdOper, qlonglong seqPlano) {
    const bool achou = cdsPlano()->Locate({QStringLiteral("CD_OPER"), QStringLiteral("SEQ_PLANO")},
                                          {cdOper, seqPlano});
    exibe();
    return achou;
}

void TEdicaoPlano::AlteraProtocolo(const QString& protocolo) {
    define("NR_PROTOCOLO_REGISTRO", protocolo);
    avisa();
}

void TEdicaoPlano::MarcaTodos(bool marcado) {
    TListaItens* l = m_abaAtual == Aba::Servicos ? m_itens->lstServicos() : m_itens->lstReembolso();
    l->MarcaHabilitados(marcado);
}

// --- taxes ---

bool TEdicaoPlano::PodeNovaTaxa() const {
    return Editando() && AbaHabilitada(Aba::Taxa) && !m_taxas->cdsTmpTaxaRegistro()->EmEdicao();
}

bool TEdicaoPlano::PodeEditarTaxa() const {
    return PodeNovaTaxa() && m_taxas->Carregada() && !m_taxas->cdsTmpTaxaRegistro()->IsEmpty();
}

void TEdicaoPlano::NovaTaxa() {
    m_taxas->NovaTaxa(m_dm->CdOperAtual(), m_dm->SeqPlanoAtual());
}

void TEdicaoPlano::EditaTaxa() { m_taxas->cdsTmpTaxaRegistro()->Edit(); }

void TEdicaoPlano::ExcluiTaxa() { m_taxas->cdsTmpTaxaRegistro()->Delete(); }

// --- notes ---

void TEdicaoPlano::CarregaNotas() { m_dm->GarantePlano(m_dm->cdsNotaTecnica()); }

bool TEdicaoPlano::PodeNovaNota() const {
    return Editando() && AbaHabilitada(Aba::NotasTecnicas) && m_dm->cdsNotaTecnica()->Ativo();
}

bool TEdicaoPlano::PodeEditarNota() const {
    return PodeNovaNota() && !m_dm->cdsNotaTecnica()->IsEmpty();
}

void TEdicaoPlano::NovaNota() {
    RowSet& notas = *m_dm->cdsNotaTecnica();
    CarregaNotas();
    m_dm->CarregaListaNotas(notas);
    notas.Append();
    notas.DefineValor(QStringLiteral("CD_OPER"), m_dm->CdOperAtual());
    notas.DefineValor(QStringLiteral("SEQ_PLANO"), m_dm->SeqPlanoAtual());
}

void TEdicaoPlano::EditaNota() {
    RowSet& notas = *m_dm->cdsNotaTecnica();
    m_dm->CarregaListaNotas(notas);
    notas.Edit();
}

void TEdicaoPlano::ExcluiNota() { m_dm->cdsNotaTecnica()->Delete(); }
