#include "plans/RedePlano.h"

#include <QHash>
#include <QSet>

#include "common/CursorEspera.h"
#include "common/ExportaPlanilha.h"
#include "common/MensagemDlg.h"
#include "db/DmConexao.h"
#include "db/RowSet.h"
#include "db/Valores.h"
#include "network/DmHospital.h"
#include "plans/DmInfoPlano.h"
#include "platform/Plataforma.h"

namespace {
const QString kId = QStringLiteral("ID_ESTB_SAUD");
const QString kUrgencia = QStringLiteral("LG_URGENCIA_EMERGENCIA");
const QString kCnpj = QStringLiteral("CD_CNPJ_ESTB_SAUD");
const QString kRazao = QStringLiteral("RAZAO_SOCIAL_ESTB_SAUD");
// The establishment's columns a link shows and the rules read.
const QStringList kColunasEstab{QStringLiteral("CD_CNES"), kCnpj,         QStringLiteral("ID_MUNC"),
                                QStringLiteral("CD_UF"),   kRazao,        kUrgencia};

bool soUrgencia(int segmentacao) { return segmentacao == 1 || segmentacao == 8; }
bool urgente(const QVariant& v) { return v.toString() == QLatin1String("S"); }

Banco& banco() { return DmConexao()->banco(); }

// The establishments a network holds (every row, whatever a filter hides).
QSet<qlonglong> vinculados(const RowSet& rede) {
    QSet<qlonglong> r;
    const int c = rede.IndiceCampo(kId);
    for (int linha : rede.LinhasSemFiltro()) r.insert(rede.ValorDaLinha(linha, c).toLongLong());
    return r;
}
}  // namespace

TRedePlano::TRedePlano(TdmInfoPlano* dm, QObject* parent)
    : QObject(parent), m_dm(dm), m_disponiveis(new RowSet(this)) {
    m_disponiveis->setObjectName(QStringLiteral("qryEstabManutRede"));
}

QString TRedePlano::SqlDisponiveis(int segmentacao) {
    return QStringLiteral(
               "SELECT TB_ESTAB_SAUDE.*, TB_MUNICIPIOS.NM_MUNC, TB_MUNICIPIOS.CD_UF FROM "
               "TB_ESTAB_SAUDE LEFT JOIN TB_MUNICIPIOS ON (TB_ESTAB_SAUDE.ID_MUNC = "
               "TB_MUNICIPIOS.ID_MUNC) WHERE (CD_CLASSIF_ESTAB_SAUDE = 1) and CD_OPER= :CD_OPER ") +
           (soUrgencia(segmentacao) ? QStringLiteral("AND LG_URGENCIA_EMERGENCIA = 'S' ")
                                    : QString()) +
           QStringLiteral("ORDER BY CD_CNPJ_ESTB_SAUD");
}

QString TRedePlano::DicaDisponiveis(int segmentacao) {
    return soUrgencia(segmentacao)
               ? QStringLiteral("Somente estabelecimentos classificados como Assistencia "
                                "Hospitalar \rque possuem URGÊNCIA/EMERGÊNCIA")
               : QStringLiteral("Somente estabelecimentos classificados como Assistencia Hospitalar");
}

void TRedePlano::CarregaRede(bool disponiveis) {
    m_dm->GarantePlano(m_dm->cdsPlanoRede());
    if (disponiveis && !m_disponiveis->Ativo()) {
        CursorEspera espera;
        m_disponiveis->Abre(banco(), SqlDisponiveis(m_segmentacao),
                            ParamsNomeados{{QStringLiteral("CD_OPER"), m_dm->CdOperAtual()}});
        emit disponiveisLidos();
    }
}

void TRedePlano::RecriaDisponiveis(int segmentacao) {
    if (segmentacao != m_segmentacao) {
        m_segmentacao = segmentacao;
        m_disponiveis->Fecha();
    }
    RetiraSemUrgencia(segmentacao);
}

void TRedePlano::RetiraSemUrgencia(int segmentacao) {
    RowSet& rede = *m_dm->cdsPlanoRede();
    if (!soUrgencia(segmentacao) || !rede.Ativo()) return;
    if (rede.EmEdicao()) rede.Post();
    QVector<int> sem;
    const int c = rede.IndiceCampo(kUrgencia);
    for (int linha : rede.LinhasSemFiltro())
        if (!urgente(rede.ValorDaLinha(linha, c))) sem << linha;
    rede.ExcluiLinhas(sem);
}

int TRedePlano::segmentacaoDoPlano() const {
    const RowSet* p = m_dm->cdsPlano();
    if (!p->Ativo() || p->IsEmpty()) return 0;
    const QVariant v = p->Valor(QStringLiteral("CD_SEGMENTACAO"));
    return nulo(v) ? 0 : v.toInt();
}

bool TRedePlano::soUrgenciaDoPlano() const { return soUrgencia(segmentacaoDoPlano()); }

// ---------------------------------------------------------------------------
// Linking
// ---------------------------------------------------------------------------

void TRedePlano::novoVinculo(const std::function<QVariant(const QString&)>& valor, const QDateTime& momento) {
    RowSet& rede = *m_dm->cdsPlanoRede();
    rede.Append();
    rede.DefineValor(QStringLiteral("CD_OPER"), m_dm->CdOperAtual());
    rede.DefineValor(QStringLiteral("SEQ_PLANO"), m_dm->SeqPlanoAtual());
    rede.DefineValor(kId, valor(kId));
    for (const QString& c : kColunasEstab) rede.DefineValor(c, valor(c));
    rede.DefineValor(QStringLiteral("DT_VINCULO"), momento);
    rede.DefineValor(QStringLiteral("LG_NOVO"), QStringLiteral("S"));
    rede.Post();
}

int TRedePlano::Vincula(const QVector<int>& linhas) {
    RowSet& rede = *m_dm->cdsPlanoRede();
    const RowSet& d = *m_disponiveis;
    if (linhas.isEmpty() || !d.Ativo()) return 0;
    m_dm->GarantePlano(&rede);
    CursorEspera espera;
    QSet<qlonglong> presentes = vinculados(rede);
    const int cId = d.IndiceCampo(kId);
    int n = 0;
    const RowSet::Lote lote(rede);
    const QDateTime agora = Relogio::agora();  // the links of one click are made together
    for (int linha : linhas) {
        const qlonglong id = d.ValorDaLinha(linha, cId).toLongLong();
        if (presentes.contains(id)) continue;
        presentes.insert(id);
        novoVinculo([&d, linha](const QString& c) { return d.ValorDaLinha(linha, c); }, agora);
        ++n;
    }
    return n;
}

int TRedePlano::VinculaTodos() {
    const RowSet& d = *m_disponiveis;
    if (!d.Ativo()) return 0;
    QVector<int> linhas;
    linhas.reserve(d.RecordCount());
    const bool filtra = soUrgenciaDoPlano();
    const int cUrg = d.IndiceCampo(kUrgencia);
    for (int p = 0; p < d.RecordCount(); ++p) {
        const int linha = d.LinhaNaPosicao(p);
        if (!filtra || urgente(d.ValorDaLinha(linha, cUrg))) linhas << linha;
    }
    return Vincula(linhas);
}

void TRedePlano::Desvincula(const QVector<int>& linhas) {
    RowSet& rede = *m_dm->cdsPlanoRede();
    if (!rede.Ativo() || linhas.isEmpty()) return;
    rede.ExcluiLinhas(linhas);
}

bool TRedePlano::DesvinculaTodos() {
    RowSet& rede = *m_dm->cdsPlanoRede();
    if (MyMessageDlg(QStringLiteral("Deseja realmente desvincular (excluir) todos os estabelecimentos "
                                    "vinculados ao plano "),
                     Mensagens::Confirmacao, Mensagens::BtSim | Mensagens::BtNao) != Mensagens::RespSim)
        return false;
    if (rede.Ativo()) {
        CursorEspera espera;
        rede.ExcluiLinhas(rede.LinhasSemFiltro());
    }
    return true;
}

// ---------------------------------------------------------------------------
// Moving and searching
// ---------------------------------------------------------------------------

bool TRedePlano::LocalizaNome(const QString& texto) {
    if (!m_disponiveis->Ativo() || texto.isEmpty()) return false;
    return m_disponiveis->Locate(kRazao, texto, {true, true});
}

QString TRedePlano::SqlPesquisa(bool soUrgencia) {
    return QStringLiteral(
               "SELECT CD_CNES, CD_CNPJ_ESTB_SAUD, RAZAO_SOCIAL_ESTB_SAUD, ES.ID_ESTB_SAUD, NM_MUNC, "
               "CD_UF FROM TB_Estab_Saude ES LEFT JOIN TB_MUNICIPIOS MU ON (ES.ID_MUNC = MU.ID_MUNC) "
               "WHERE (ES.CD_CLASSIF_ESTAB_SAUDE = 1)") +
           (soUrgencia ? QStringLiteral(" AND ES.LG_URGENCIA_EMERGENCIA = ?") : QString());
}

ParamsPosicionais TRedePlano::ParametrosPesquisa(bool soUrgencia) {
    return soUrgencia ? ParamsPosicionais{QStringLiteral("S")} : ParamsPosicionais{};
}

bool TRedePlano::PesquisaSoUrgencia() const { return segmentacaoDoPlano() == 1; }

bool TRedePlano::LocalizaDisponivel(qlonglong idEstab) {
    return m_disponiveis->Ativo() && m_disponiveis->Locate(kId, idEstab);
}

bool TRedePlano::LocalizaVinculado(qlonglong idEstab) {
    RowSet& rede = *m_dm->cdsPlanoRede();
    if (rede.Ativo() && rede.Locate(kId, idEstab)) return true;
    MyMessageDlg(QStringLiteral("Estabelecimento não vinculado ao plano !"), Mensagens::Cuidado,
                 Mensagens::BtOk);
    return false;
}

void TRedePlano::AtualizaAposCadastro(qlonglong idAberto) {
    CursorEspera espera;
    RowSet& d = *m_disponiveis;
    RowSet& rede = *m_dm->cdsPlanoRede();
    if (d.Ativo())
        d.Abre(banco());
    else
        CarregaRede(true);
    emit disponiveisLidos();
    if (rede.Ativo()) {
        QHash<qlonglong, int> porId;  // establishment -> physical row of the offered list
        const int cId = d.IndiceCampo(kId);
        for (int linha : d.LinhasSemFiltro()) porId.insert(d.ValorDaLinha(linha, cId).toLongLong(), linha);
        const int linhaAntes = rede.Linha();
        const int rId = rede.IndiceCampo(kId);
        QVector<QPair<int, int>> colunas;  // network field, offered field
        for (const QString& c : kColunasEstab) colunas.push_back({rede.IndiceCampo(c), d.IndiceCampo(c)});
        const RowSet::Lote lote(rede);
        for (int linha : rede.LinhasSemFiltro()) {
            const auto it = porId.constFind(rede.ValorDaLinha(linha, rId).toLongLong());
            if (it == porId.constEnd()) continue;
            bool difere = false;
            for (const auto& [r, o] : colunas) {
                const QVariant a = rede.ValorDaLinha(linha, r), b = d.ValorDaLinha(*it, o);
                difere = difere || nulo(a) != nulo(b) || (!nulo(a) && a.toString() != b.toString());
            }
            if (!difere || !rede.VaiParaLinha(linha)) continue;
            rede.Edit();
            for (const auto& [r, o] : colunas) rede.DefineValor(r, d.ValorDaLinha(*it, o));
            rede.Post();
        }
        rede.VaiParaLinha(linhaAntes);
    }
    LocalizaDisponivel(idAberto);
}

// ---------------------------------------------------------------------------
// Copying the network of another plan
// ---------------------------------------------------------------------------

QString TRedePlano::SqlPlanosComRede() {
    return QStringLiteral(
        "SELECT   TB_PLANOS.NM_PLANO ,TCN.DE_TIPO_CONTRATO, TSG.DE_SEGMENTACAO,   "
        "TAB.DE_ABRANGENCIA,TB_PLANOS.SEQ_PLANO FROM (((TB_PLANOS         INNER JOIN "
        "TA_Tipo_Contrato AS TCN           ON (TB_PLANOS.CD_TIPO_CONTRATO = TCN.CD_TIPO_CONTRATO))   "
        "      INNER JOIN TA_Tipo_Abrangencia AS TAB           ON (TB_PLANOS.CD_ABRANGENCIA = "
        "TAB.CD_ABRANGENCIA))         INNER JOIN TA_Tipo_Segmentacao AS TSG           ON "
        "(TB_PLANOS.CD_SEGMENTACAO = TSG.CD_SEGMENTACAO)) WHERE (TB_PLANOS.SEQ_PLANO <> ?)  AND "
        "EXISTS (SELECT * FROM RL_Planos_Estab_Saude               WHERE "
        "RL_Planos_Estab_Saude.SEQ_PLANO = TB_PLANOS.SEQ_PLANO ) ORDER BY TB_PLANOS.NM_PLANO ");
}

ParamsPosicionais TRedePlano::ParametrosPlanosComRede(qlonglong seqAtual) { return {seqAtual}; }

int TRedePlano::CopiaRede(qlonglong seqOutro, const QString& nomeOutro) {
    Resultado outra;
    {
        CursorEspera espera;
        outra = banco().consulta(
            QStringLiteral("SELECT RPE.CD_OPER, RPE.SEQ_PLANO, EST.ID_ESTB_SAUD, EST.CD_CNPJ_ESTB_SAUD, "
                           "EST.CD_CNES, EST.RAZAO_SOCIAL_ESTB_SAUD, EST.ID_MUNC, "
                           "EST.LG_URGENCIA_EMERGENCIA, MUN.CD_UF FROM RL_PLANOS_ESTAB_SAUDE RPE, "
                           "TB_ESTAB_SAUDE EST, TB_MUNICIPIOS MUN WHERE RPE.SEQ_PLANO = ? "
                           "AND RPE.ID_ESTB_SAUD = EST.ID_ESTB_SAUD AND EST.ID_MUNC = MUN.ID_MUNC"),
            {seqOutro});
    }
    if (outra.vazio()) {
        MyMessageDlg(QStringLiteral("O Plano selecionado não rede cadastradada "), Mensagens::Cuidado,
                     Mensagens::BtOk);
        return -1;
    }
    if (MyMessageDlg(QStringLiteral("Deseja realmente copiar a rede do plano \r") + nomeOutro.toUpper() +
                         QStringLiteral("\r") + QStringLiteral(" para o plano atual ?"),
                     Mensagens::Confirmacao, Mensagens::BtSim | Mensagens::BtNao) != Mensagens::RespSim)
        return -1;
    RowSet& rede = *m_dm->cdsPlanoRede();
    m_dm->GarantePlano(&rede);
    int n = 0;
    {
        CursorEspera espera;
        QSet<qlonglong> presentes = vinculados(rede);
        const bool filtra = soUrgenciaDoPlano();
        const int cId = outra.indice(kId), cUrg = outra.indice(kUrgencia);
        const RowSet::Lote lote(rede);
        const QDateTime agora = Relogio::agora();
        for (const QVariantList& l : std::as_const(outra.linhas)) {
            if (filtra && !urgente(l.at(cUrg))) continue;
            const qlonglong id = l.at(cId).toLongLong();
            if (presentes.contains(id)) continue;
            presentes.insert(id);
            // the link belongs to the plan being edited (its operator, its number)
            novoVinculo([&outra, &l](const QString& c) { return l.value(outra.indice(c)); }, agora);
            ++n;
        }
    }
    MyMessageDlg(QString::number(n) + QStringLiteral(" estabelecimento(s) copiado(s) !"), Mensagens::Informacao,
                 Mensagens::BtOk);
    return n;
}

// ---------------------------------------------------------------------------
// Export, public registry, buttons
// ---------------------------------------------------------------------------

QString TRedePlano::ExportaRede() {
    CursorEspera espera;
    const RowSet* p = m_dm->cdsPlano();
    const QString nome = p->Ativo() && !p->IsEmpty() ? p->Valor(QStringLiteral("NM_PLANO")).toString() : QString();
    return ExportaEAbrePlanilha(*m_dm->cdsPlanoRede(), nome.left(30), true);
}

void TRedePlano::ConsultaCadastroPublico() {
    const RowSet& rede = *m_dm->cdsPlanoRede();
    if (!rede.Ativo() || rede.IsEmpty()) return;
    const QString cnpj = rede.Valor(kCnpj).toString().trimmed();
    if (cnpj.isEmpty()) return;
    if (!Lancador::abreEndereco(TDmHospital::EnderecoCadastroPublico(cnpj)))
        MyMessageDlg(QStringLiteral("Não foi possivel realizar a consulta no site do DataSus"), Mensagens::Erro,
                     Mensagens::BtOk);
}

TRedePlano::Botoes TRedePlano::Disponiveis(bool editando, bool aba, bool pesquisaHabilitada) const {
    const RowSet* rede = m_dm->cdsPlanoRede();
    const bool temRede = rede->Ativo() && !rede->IsEmpty();
    const bool temDisponiveis = m_disponiveis->Ativo() && !m_disponiveis->IsEmpty();
    Botoes b;
    b.vincula = editando && temDisponiveis && aba;
    b.desvincula = editando && temRede && aba;
    b.copia = editando && aba;
    b.pesquisaVinculados = temRede && aba;
    b.cnes = aba;
    b.pesquisaDisponiveis = editando && pesquisaHabilitada;
    return b;
}

// ---------------------------------------------------------------------------
// Rules
// ---------------------------------------------------------------------------

QString TRedePlano::RegrasRede(const QString& cdOper, qlonglong seqPlano, int abrangencia) {
    RowSet& p = *m_dm->cdsPlano();
    if (!p.Ativo()) {
        p.DefineParametro(QStringLiteral("CD_OPER"), cdOper);
        p.Abre(banco());
    }
    if (m_dm->SeqPlanoAtual() != seqPlano &&
        !p.Locate({QStringLiteral("CD_OPER"), QStringLiteral("SEQ_PLANO")}, {cdOper, seqPlano}))
        return QString();
    const auto garante = [this](RowSet* rs, const QString& op, qlonglong seq) {
        if (!m_dm->AbertoPara(rs, op, seq)) m_dm->AbreRelacionado(rs, op, seq);
    };
    RowSet& rede = *m_dm->cdsPlanoRede();
    garante(&rede, cdOper, seqPlano);
    DadosRede d;
    d.livreEscolha = p.Valor(QStringLiteral("LG_TOTAL_LIVRE_ESCOLHA")).toString();
    d.cobertura = abrangencia;
    const int cUf = rede.IndiceCampo(QStringLiteral("CD_UF")), cMun = rede.IndiceCampo(QStringLiteral("ID_MUNC")),
              cUrg = rede.IndiceCampo(kUrgencia);
    for (int linha : rede.LinhasSemFiltro()) {
        const QVariant mun = rede.ValorDaLinha(linha, cMun);
        d.rede.push_back({rede.ValorDaLinha(linha, cUf).toString(), nulo(mun) ? -1 : mun.toLongLong(),
                          rede.ValorDaLinha(linha, cUrg).toString()});
    }
    if (d.livreEscolha != QLatin1String("S")) {
        const QString op = p.Valor(QStringLiteral("CD_OPER")).toString();
        const qlonglong seq = p.Valor(QStringLiteral("SEQ_PLANO")).toLongLong();
        if (abrangencia == 1) {
            RowSet& ufs = *m_dm->cdsUFRede();
            if (!ufs.Ativo()) ufs.Abre(banco());
            const int c = ufs.IndiceCampo(QStringLiteral("CD_UF"));
            for (int linha : ufs.LinhasSemFiltro()) d.ufsPais << ufs.ValorDaLinha(linha, c).toString();
        } else if (abrangencia == 2 || abrangencia == 3) {
            RowSet& ufs = *m_dm->cdsPlanosUF();
            garante(&ufs, op, seq);
            const int c = ufs.IndiceCampo(QStringLiteral("CD_UF"));
            for (int linha : ufs.LinhasSemFiltro()) d.ufsPlano << ufs.ValorDaLinha(linha, c).toString();
        } else if (abrangencia == 4 || abrangencia == 5) {
            RowSet& mun = *m_dm->cdsPlanosMunicipio();
            garante(&mun, op, seq);
            const int c = mun.IndiceCampo(QStringLiteral("ID_MUNC"));
            for (int linha : mun.LinhasSemFiltro()) d.municipiosPlano << mun.ValorDaLinha(linha, c).toLongLong();
        }
    }
    return AvaliaRede(d);
}
