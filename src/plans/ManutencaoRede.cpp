#include "plans/ManutencaoRede.h"

#include <QSet>

#include "common/CursorEspera.h"
#include "common/MensagemDlg.h"
#include "db/DmConexao.h"
#include "db/Mascara.h"
#include "db/RowSet.h"
#include "db/Transacao.h"
#include "db/Valores.h"
#include "network/DmHospital.h"
#include "operator/DmZemlo.h"
#include "operator/Operadora.h"
#include "plans/DmPlano.h"
#include "plans/RegrasRede.h"
#include "platform/Plataforma.h"

namespace {
Banco& banco() { return DmConexao()->banco(); }

Campo rotulado(const char* nome, const char* rotulo, bool visivel = true) {
    Campo c;
    c.nome = QString::fromLatin1(nome);
    if (rotulo) c.rotulo = QString::fromUtf8(rotulo);
    c.visivel = visivel;
    return c;
}

bool ambulatorial(int segmentacao) { return segmentacao == 1 || segmentacao == 8; }

// The values of a column over the rows of a set.
QSet<qlonglong> chaves(const RowSet& rs, const QString& campo) {
    QSet<qlonglong> r;
    const int c = rs.IndiceCampo(campo);
    for (int linha : rs.LinhasSemFiltro()) r.insert(rs.ValorDaLinha(linha, c).toLongLong());
    return r;
}

// Every row a list shows, in its order.
QVector<int> todas(const RowSet& rs) {
    QVector<int> r;
    r.reserve(rs.RecordCount());
    for (int p = 0; p < rs.RecordCount(); ++p) r << rs.LinhaNaPosicao(p);
    return r;
}

// Appends the rows of `origem` whose key is not in `selecao` yet: each pair is
// (selection field, source field).
void seleciona(const RowSet& origem, RowSet& selecao, const QVector<int>& linhas, const QString& chaveOrigem,
               const QString& chaveSelecao, const QVector<QPair<QString, QString>>& pares) {
    if (linhas.isEmpty() || !origem.Ativo()) return;
    if (!selecao.Ativo()) selecao.CriaVazio();
    CursorEspera espera;
    QSet<qlonglong> presentes = chaves(selecao, chaveSelecao);
    QVector<QPair<int, int>> indices;
    for (const auto& [s, o] : pares) indices.push_back({selecao.IndiceCampo(s), origem.IndiceCampo(o)});
    const int cChave = origem.IndiceCampo(chaveOrigem);
    const RowSet::Lote lote(selecao);
    for (int linha : linhas) {
        const qlonglong chave = origem.ValorDaLinha(linha, cChave).toLongLong();
        if (presentes.contains(chave)) continue;
        presentes.insert(chave);
        selecao.Append();
        for (const auto& [s, o] : indices) selecao.DefineValor(s, origem.ValorDaLinha(linha, o));
        selecao.Post();
    }
}
}  // namespace

TManutencaoRede::TManutencaoRede(QObject* parent)
    : QObject(parent), m_estabelecimentos(new RowSet(this)), m_planos(new RowSet(this)) {
    if (!TDMZemlo::instancia()) throw ErroQev(QStringLiteral("O módulo de dados gerais não foi criado."));
    m_estabelecimentos->setObjectName(QStringLiteral("qryEstabManutRede"));
    Campo cnpj = rotulado("CD_CNPJ_ESTB_SAUD", "CNPJ");
    cnpj.mascara = QString::fromLatin1(MascaraCnpj);
    Campo tipo = rotulado("calcTipoEstab", "Tipo de Estabelecimento de Saúde");
    tipo.tipo = TipoCampo::Texto;
    tipo.tamanho = 15;
    tipo.calculo = [](const RowSet& rs, int linha) -> QVariant {
        return rs.ValorDaLinha(linha, QStringLiteral("CD_TIPO_ESTB_SAUD")).toLongLong() >= 2000
                   ? QStringLiteral("Contratualizado")
                   : QStringLiteral("Próprio");
    };
    m_estabelecimentos->DefineCampos({cnpj, rotulado("CD_CNES", "CNES"),
                                      rotulado("RAZAO_SOCIAL_ESTB_SAUD", "Razão Social"),
                                      rotulado("NM_MUNC", "Municipio"), rotulado("ID_ESTB_SAUD", nullptr, false),
                                      rotulado("CD_TIPO_ESTB_SAUD", nullptr, false),
                                      rotulado("LG_URGENCIA_EMERGENCIA", nullptr, false),
                                      rotulado("ID_MUNC", nullptr, false), rotulado("CD_UF", nullptr, false),
                                      rotulado("CD_OPER", nullptr, false), tipo});
    m_estabelecimentos->DefineComando(SqlEstabelecimentos(), {{QStringLiteral("CD_OPER"), QVariant()}});
    m_planos->setObjectName(QStringLiteral("adoPlanosManuRede"));
    m_planos->DefineCampos({rotulado("CD_OPER", nullptr, false), rotulado("SEQ_PLANO", nullptr, false),
                            rotulado("NM_PLANO", "Nome Comercial"), rotulado("CD_ABRANGENCIA", nullptr, false),
                            rotulado("CD_SEGMENTACAO", nullptr, false), rotulado("CD_TIPO_CONTRATO", nullptr, false),
                            rotulado("LG_TOTAL_LIVRE_ESCOLHA", nullptr, false)});
    m_planos->DefineComando(SqlPlanos(), {{QStringLiteral("CD_OPER"), QVariant()}});
}

TManutencaoRede::~TManutencaoRede() = default;

RowSet* TManutencaoRede::cdsHospitais() const { return TDMZemlo::instancia()->cdsHospitais(); }
RowSet* TManutencaoRede::cdsProdutos() const { return TDMZemlo::instancia()->cdsProdutos(); }

QString TManutencaoRede::SqlEstabelecimentos() {
    // the columns the screen and the selection use
    return QStringLiteral(
        "SELECT TB_ESTAB_SAUDE.CD_CNPJ_ESTB_SAUD, TB_ESTAB_SAUDE.CD_CNES, "
        "TB_ESTAB_SAUDE.RAZAO_SOCIAL_ESTB_SAUD, TB_MUNICIPIOS.NM_MUNC, TB_ESTAB_SAUDE.ID_ESTB_SAUD, "
        "TB_ESTAB_SAUDE.CD_TIPO_ESTB_SAUD, TB_ESTAB_SAUDE.LG_URGENCIA_EMERGENCIA, TB_ESTAB_SAUDE.ID_MUNC, "
        "TB_MUNICIPIOS.CD_UF, TB_ESTAB_SAUDE.CD_OPER "
        "FROM TB_ESTAB_SAUDE LEFT JOIN TB_MUNICIPIOS ON (TB_ESTAB_SAUDE.ID_MUNC = TB_MUNICIPIOS.ID_MUNC) "
        "WHERE (CD_CLASSIF_ESTAB_SAUDE = 1) AND (CD_OPER = :CD_OPER) ORDER BY RAZAO_SOCIAL_ESTB_SAUD");
}

QString TManutencaoRede::SqlPlanos() {
    return QStringLiteral(
        "SELECT PLN.CD_OPER, PLN.SEQ_PLANO, PLN.NM_PLANO, PLN.CD_ABRANGENCIA, PLN.CD_SEGMENTACAO, "
        "PLN.CD_TIPO_CONTRATO, PLN.LG_TOTAL_LIVRE_ESCOLHA FROM TB_PLANOS PLN "
        "WHERE PLN.CD_SEGMENTACAO <> 4 AND PLN.CD_OPER = :CD_OPER "
        "AND (PLN.LG_TOTAL_LIVRE_ESCOLHA IS NULL OR PLN.LG_TOTAL_LIVRE_ESCOLHA <> 'S') "
        "AND COALESCE(PLN.CD_STATUS_ENVIO, 0) <> 1 "
        "ORDER BY PLN.NM_PLANO COLLATE PTBR");
}

void TManutencaoRede::Abre() {
    bool incompleto = false;
    {
        CursorEspera espera;
        TDmHospital* hospital = TDmHospital::instancia();
        incompleto = hospital && hospital->ExisteVinculadoIncompleto();
    }
    if (incompleto)
        MyMessageDlg(QStringLiteral("Existem Estabelecimentos de Saúde vinculados a Planos que não tem todos os "
                                    "seus dados informados"),
                     Mensagens::Cuidado, Mensagens::BtOk);
    LimpaHospitais();
    LimpaPlanos();
    CursorEspera espera;
    const QString op = OperadoraAtual().CdOper;
    m_planos->DefineParametro(QStringLiteral("CD_OPER"), op);
    m_planos->Abre(banco());
    m_estabelecimentos->DefineParametro(QStringLiteral("CD_OPER"), op);
    m_estabelecimentos->Abre(banco());
}

// ---------------------------------------------------------------------------
// Choosing
// ---------------------------------------------------------------------------

void TManutencaoRede::SelecionaHospitais(const QVector<int>& linhas) {
    seleciona(*m_estabelecimentos, *cdsHospitais(), linhas, QStringLiteral("ID_ESTB_SAUD"),
              QStringLiteral("IdEstbSaud"),
              {{QStringLiteral("IdEstbSaud"), QStringLiteral("ID_ESTB_SAUD")},
               {QStringLiteral("CnpjHospital"), QStringLiteral("CD_CNPJ_ESTB_SAUD")},
               {QStringLiteral("NomeHospital"), QStringLiteral("RAZAO_SOCIAL_ESTB_SAUD")},
               {QStringLiteral("CNES"), QStringLiteral("CD_CNES")},
               {QStringLiteral("LG_URGENCIA_EMERGENCIA"), QStringLiteral("LG_URGENCIA_EMERGENCIA")},
               {QStringLiteral("CD_UF"), QStringLiteral("CD_UF")},
               {QStringLiteral("ID_MUNC"), QStringLiteral("ID_MUNC")}});
}

void TManutencaoRede::SelecionaTodosHospitais() { SelecionaHospitais(todas(*m_estabelecimentos)); }

void TManutencaoRede::SelecionaPlanos(const QVector<int>& linhas) {
    seleciona(*m_planos, *cdsProdutos(), linhas, QStringLiteral("SEQ_PLANO"), QStringLiteral("SeqProduto"),
              {{QStringLiteral("CodOperadora"), QStringLiteral("CD_OPER")},
               {QStringLiteral("SeqProduto"), QStringLiteral("SEQ_PLANO")},
               {QStringLiteral("NomeProduto"), QStringLiteral("NM_PLANO")},
               {QStringLiteral("cd_segmentacao"), QStringLiteral("CD_SEGMENTACAO")},
               {QStringLiteral("cd_abrangencia"), QStringLiteral("CD_ABRANGENCIA")}});
}

void TManutencaoRede::SelecionaTodosPlanos() { SelecionaPlanos(todas(*m_planos)); }

void TManutencaoRede::RetiraHospitais(const QVector<int>& linhas) {
    if (cdsHospitais()->Ativo()) cdsHospitais()->ExcluiLinhas(linhas);
}

void TManutencaoRede::RetiraPlanos(const QVector<int>& linhas) {
    if (cdsProdutos()->Ativo()) cdsProdutos()->ExcluiLinhas(linhas);
}

void TManutencaoRede::LimpaHospitais() { cdsHospitais()->CriaVazio(); }

void TManutencaoRede::LimpaPlanos() { cdsProdutos()->CriaVazio(); }

// ---------------------------------------------------------------------------
// Searching
// ---------------------------------------------------------------------------

QString TManutencaoRede::SqlPesquisaEstabelecimentos() {
    return QStringLiteral(
        "SELECT CD_CNPJ_ESTB_SAUD, RAZAO_SOCIAL_ESTB_SAUD FROM TB_Estab_Saude WHERE (CD_CLASSIF_ESTAB_SAUDE = 1)");
}

QString TManutencaoRede::SqlPesquisaPlanos() {
    return QStringLiteral("SELECT PLN.NM_PLANO,PLN.SEQ_PLANO  FROM TB_PLANOS PLN WHERE PLN.CD_SEGMENTACAO <> 4");
}

bool TManutencaoRede::LocalizaCnpj(const QString& cnpj) {
    return m_estabelecimentos->Ativo() && m_estabelecimentos->Locate(QStringLiteral("CD_CNPJ_ESTB_SAUD"), cnpj);
}

bool TManutencaoRede::LocalizaPlano(qlonglong seqPlano) {
    return m_planos->Ativo() && m_planos->Locate(QStringLiteral("SEQ_PLANO"), seqPlano);
}

// ---------------------------------------------------------------------------
// Linking
// ---------------------------------------------------------------------------

bool TManutencaoRede::VinculoPermitido(const QVariant& urgencia, int segmentacao) {
    const QString u = nulo(urgencia) ? QString() : urgencia.toString();
    if (u == QLatin1String("S")) return true;
    if (u == QLatin1String("N") || u.trimmed().isEmpty()) return !ambulatorial(segmentacao);
    return false;
}

bool TManutencaoRede::PodeVincular() const {
    const RowSet* h = cdsHospitais();
    const RowSet* p = cdsProdutos();
    return h->Ativo() && !h->IsEmpty() && p->Ativo() && !p->IsEmpty();
}

TManutencaoRede::Resultado TManutencaoRede::Vincula(const Progresso& progresso) {
    Resultado r;
    if (!PodeVincular()) return r;
    Banco& b = banco();
    const RowSet& hospitais = *cdsHospitais();
    const RowSet& produtos = *cdsProdutos();
    struct Estab {
        qlonglong id;
        QVariant urgencia;
    };
    struct Plano {
        QString cdOper;
        qlonglong seq;
        int segmentacao;
        int abrangencia;
    };
    // the chosen ones, in CNPJ order and in plan-number order
    QVector<Estab> estabs;
    const int hId = hospitais.IndiceCampo(QStringLiteral("IdEstbSaud"));
    const int hUrg = hospitais.IndiceCampo(QStringLiteral("LG_URGENCIA_EMERGENCIA"));
    for (int p = 0; p < hospitais.RecordCount(); ++p)
        estabs.push_back({hospitais.ValorNaPosicao(p, hId).toLongLong(), hospitais.ValorNaPosicao(p, hUrg)});
    QVector<Plano> planos;
    for (int p = 0; p < produtos.RecordCount(); ++p) {
        const auto v = [&](const char* c) { return produtos.ValorNaPosicao(p, produtos.IndiceCampo(QString::fromLatin1(c))); };
        planos.push_back({v("CodOperadora").toString(), v("SeqProduto").toLongLong(), v("cd_segmentacao").toInt(),
                          v("cd_abrangencia").toInt()});
    }
    const auto termina = [&] {
        if (progresso.fim) progresso.fim();
    };
    if (progresso.plano) progresso.plano(0, planos.size());
    // The urgency warning: an ambulatory plan in the list on the left (chosen or not)
    // and a chosen establishment without urgency care.
    bool haAmbulatorial = false;
    if (m_planos->Ativo()) {
        const int cSeg = m_planos->IndiceCampo(QStringLiteral("CD_SEGMENTACAO"));
        for (int linha : m_planos->LinhasSemFiltro())
            haAmbulatorial = haAmbulatorial || ambulatorial(m_planos->ValorDaLinha(linha, cSeg).toInt());
    }
    bool semUrgencia = false;
    for (const Estab& e : std::as_const(estabs))
        semUrgencia = semUrgencia || e.urgencia.toString() != QLatin1String("S");
    if (haAmbulatorial && semUrgencia)
        MyMessageDlg(QStringLiteral("Estabelecimentos que não possuem serviço de Urgência/Emergência não serão "
                                    "vinculados a planos com Segmentação Ambulatorial ou Ambulatorial + "
                                    "Odontológico"),
                     Mensagens::Informacao, Mensagens::BtOk);
    QString erro;
    {
        CursorEspera espera;
        try {
            // Per plan, one transaction: its new links, its network checked and its flag, so
            // that a plan never keeps new links under its old flag.
            ComandoPreparado existentes(
                b, QStringLiteral("Select ID_ESTB_SAUD From RL_Planos_Estab_Saude Where SEQ_PLANO = ?"));
            ComandoPreparado insere(b, QStringLiteral("INSERT INTO RL_PLANOS_ESTAB_SAUDE (SEQ_PLANO, ID_ESTB_SAUD, "
                                                      "CD_OPER, LG_NOVO, DT_VINCULO) VALUES (?, ?, ?, 'S', ?)"));
            ComandoPreparado flag(b, QStringLiteral("Update TB_PLANOS Set LG_REDE_VINCULADA = ? Where SEQ_PLANO = ?"));
            const QStringList ufsPais = LeUfsPais(b);
            for (int i = 0; i < planos.size(); ++i) {
                const Plano& plano = planos[i];
                if (progresso.plano) progresso.plano(i + 1, planos.size());
                TransacaoEscopo transacao(b);
                QSet<qlonglong> ligados;
                for (const QVariantList& l : existentes.consulta({plano.seq}).linhas) ligados.insert(l.at(0).toLongLong());
                const QDateTime agora = Relogio::agora();
                int novos = 0;
                for (int k = 0; k < estabs.size(); ++k) {
                    if (progresso.estabelecimento) progresso.estabelecimento(k + 1, estabs.size());
                    const Estab& e = estabs[k];
                    if (ligados.contains(e.id) || !VinculoPermitido(e.urgencia, plano.segmentacao)) continue;
                    insere.executa({plano.seq, e.id, plano.cdOper, agora});
                    ligados.insert(e.id);
                    ++novos;
                }
                bool aceita = true;
                if (plano.segmentacao != 4) {
                    const QString m = AvaliaRede(LeDadosRede(b, plano.cdOper, plano.seq, QStringLiteral("N"),
                                                             plano.abrangencia, ufsPais));
                    aceita = m.trimmed().isEmpty();
                }
                flag.executa({aceita ? QStringLiteral("S") : QStringLiteral("N"), plano.seq});
                transacao.confirma();
                r.vinculos += novos;
                if (!aceita) r.problemaRede = true;
            }
        } catch (const ErroQev& e) {
            r.erro = true;
            erro = e.mensagem();
        }
    }
    termina();
    MyMessageDlg(r.problemaRede ? QStringLiteral("Processo concluído!\r\rExistem problemas na rede que poderão "
                                                 "impossibilitar o envio do(s) plano(s).")
                                : QStringLiteral("Processo concluido!"),
                 Mensagens::Informacao, Mensagens::BtOk);
    if (r.erro) MostraErroSimples(TraduzErroBanco(erro));
    return r;
}

void TManutencaoRede::AvisaAoFechar() {
    TDmPlano* planos = TDmPlano::instancia();
    if (planos && planos->QtdPlanosSemRede() > 0)
        MyMessageDlg(QStringLiteral("Informação incompleta. Persiste plano sem rede credenciada vinculada."),
                     Mensagens::Cuidado, Mensagens::BtOk);
}

QString TManutencaoRede::ContagemEstabelecimentos(int n) {
    return QStringLiteral(" ") + ptBr().toString(n) +
           QStringLiteral(" estabelecimento(s)");
}

QString TManutencaoRede::ContagemPlanos(int n) {
    return QStringLiteral(" ") + ptBr().toString(n) +
           QStringLiteral(" plano(s)");
}
