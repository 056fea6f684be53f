#include "network/DmHospital.h"

#include <memory>

#include <QDate>
#include <QDateTime>

#include "ConfiguracaoBuild.h"
#include "common/Identificadores.h"
#include "db/Erro.h"
#include "db/Mascara.h"
#include "db/DmConexao.h"
#include "operator/DmZemlo.h"
#include "db/RowSet.h"
#include "operator/Operadora.h"
#include "platform/Plataforma.h"
#include "db/Valores.h"
#include "common/Win1252.h"
#include "db/Transacao.h"

namespace {
TDmHospital* g_instancia = nullptr;

const QString kSqlHospital = QStringLiteral(
    "SELECT ID_ESTB_SAUD, CD_CNPJ_ESTB_SAUD, RAZAO_SOCIAL_ESTB_SAUD, CD_TIPO_ESTB_SAUD, ID_MUNC, "
    "CD_TIPO_CONTRATO_ESTB_SAUDE, LG_HOSPITAL_INCLUIDO, CD_CNES, DT_VINCULO_OPER, "
    "DT_CONTRATO_OPER, "
    "CD_CLASSIF_ESTAB_SAUDE, LG_CLASSIFICADO_ZUB, CD_OPER_INTERMEDIADORA, CD_DISP_SERVICO, "
    "LG_URGENCIA_EMERGENCIA, CD_OPER FROM TB_ESTAB_SAUDE WHERE ID_ESTB_SAUD = :IdEstb");

// The linked establishments that may be incomplete: every one whose values could make
// EstabelecimentoIncompleto true (a text with no letter or digit may be blank, a number or
// date not stored as one may read as none); the rule itself decides on these few.
const QString kSqlVinculado = QStringLiteral(
    "SELECT E.ID_ESTB_SAUD, E.CD_CNPJ_ESTB_SAUD, E.RAZAO_SOCIAL_ESTB_SAUD, E.CD_TIPO_ESTB_SAUD, "
    "E.ID_MUNC, "
    "E.CD_TIPO_CONTRATO_ESTB_SAUDE, E.LG_HOSPITAL_INCLUIDO, E.CD_CNES, E.DT_VINCULO_OPER, "
    "E.DT_CONTRATO_OPER, "
    "E.CD_CLASSIF_ESTAB_SAUDE, E.LG_CLASSIFICADO_ZUB "
    "FROM TB_ESTAB_SAUDE E WHERE (%1 OR (CAST(E.LG_HOSPITAL_INCLUIDO AS TEXT) = 'S' AND %2) "
    "OR %3 OR %4 OR %6 "
    "OR ((E.CD_TIPO_ESTB_SAUD = %7 OR typeof(E.CD_TIPO_ESTB_SAUD) <> 'integer') AND (%8 OR %9)) OR %5) "
    "AND EXISTS (SELECT 1 FROM RL_PLANOS_ESTAB_SAUDE R "
    "WHERE R.ID_ESTB_SAUD = E.ID_ESTB_SAUD)");  // one row per establishment, not per link

// A text that may be blank; a number that may read as none; a date that may read as none
// (only the stored forms "yyyy-MM-dd" and "yyyy-MM-dd HH:mm:ss" of a real day surely read).
QString talvezBranco(const char* c) {
    return QStringLiteral("(%1 IS NULL OR %1 NOT GLOB '*[0-9A-Za-z]*')").arg(QLatin1String(c));
}
QString talvezSemNumero(const char* c) {
    return QStringLiteral("(%1 IS NULL OR typeof(%1) NOT IN ('integer', 'real'))").arg(QLatin1String(c));
}
QString talvezSemData(const char* c) {
    return QStringLiteral("(%1 IS NULL OR typeof(%1) <> 'text' OR NOT ((length(%1) = 10 AND date(%1) IS %1) OR "
                          "(length(%1) = 19 AND datetime(%1) IS %1)))")
        .arg(QLatin1String(c));
}
}  // namespace

QString TDmHospital::SqlVinculadoIncompleto() {
    return kSqlVinculado.arg(talvezBranco("E.RAZAO_SOCIAL_ESTB_SAUD"), talvezBranco("E.CD_CNES"),
                             talvezSemNumero("E.CD_TIPO_ESTB_SAUD"), talvezSemNumero("E.ID_MUNC"),
                             talvezSemData("E.DT_VINCULO_OPER"), talvezSemNumero("E.CD_CLASSIF_ESTAB_SAUDE"))
        .arg(TDmHospital::kContratualizado)
        .arg(talvezBranco("E.CD_TIPO_CONTRATO_ESTB_SAUDE"), talvezSemData("E.DT_CONTRATO_OPER"));
}

namespace {

using namespace ColunasEstab;

QDateTime dataHora(const QVariant& v) {
    if (nulo(v)) return QDateTime();
    if (v.typeId() == QMetaType::QDate) return QDateTime(v.toDate(), QTime(0, 0));
    return Banco::lerDataHora(v);
}

Banco& banco() { return DmConexao()->banco(); }
}  // namespace

TDmHospital::TDmHospital(QObject* parent)
    : QObject(parent),
      m_hospital(new RowSet(this)),
      m_classif(new RowSet(this)),
      m_vinculado(new RowSet(this)) {
    g_instancia = this;
    Campo cnes;
    cnes.nome = kCnes;
    cnes.rotulo = QStringLiteral("CNES");
    cnes.mascara = QStringLiteral("9999999");
    Campo intermed;
    intermed.nome = kIntermed;
    intermed.rotulo = QStringLiteral("Registro ZUB da Operadora Intermediária");
    intermed.mascara = QStringLiteral("99999-9");
    m_hospital->DefineCampos({cnes, intermed});
    connect(m_hospital, &RowSet::registroMudou, this, &TDmHospital::AjustaMascaraCnpjCpf);
    connect(m_hospital, &RowSet::estadoMudou, this, [this] {
        if (m_hospital->State() == RowSet::Estado::Consulta) AjustaMascaraCnpjCpf();
    });
    if (DmConexao() && banco().aberto())
        m_classif->Abre(
            banco(),
            QStringLiteral("select * from TA_Classif_Estab_Saude order by CD_CLASSIF_ESTAB_SAUDE"));
}

TDmHospital::~TDmHospital() {
    if (g_instancia == this) g_instancia = nullptr;
}

TDmHospital* TDmHospital::instancia() { return g_instancia; }

QString TDmHospital::OperadoraAtual() { return ::OperadoraAtual().CdOper; }

// ---------------------------------------------------------------------------
// The record
// ---------------------------------------------------------------------------

void TDmHospital::AbreHospital(qlonglong idEstb) {
    m_hospital->Fecha();
    m_idEstb = idEstb;
    m_hospital->Abre(banco(), kSqlHospital, ParamsNomeados{{QStringLiteral("IdEstb"), idEstb}});
    m_leituras += m_hospital->RecordCount();
}

qlonglong TDmHospital::IdAtual() const {
    if (m_hospital->Ativo() && !m_hospital->IsEmpty() && !m_hospital->Nulo(kId))
        return m_hospital->Valor(kId).toLongLong();
    return m_idEstb;
}

QString TDmHospital::AjustaMascaraCnpjCpf() {
    if (!m_hospital->Ativo() || !m_hospital->TemCampo(kCnpj)) return m_mascaraCnpj;
    const QString valor = m_hospital->Valor(kCnpj).toString();
    const QVariant classif = m_hospital->Valor(kClassif);
    if (valor.size() == 14)
        m_mascaraCnpj = QString::fromLatin1(MascaraCnpj);
    else if (valor.size() == 11 && (nulo(classif) || classif.toInt() != kAssistenciaHospitalar))
        m_mascaraCnpj = QString::fromLatin1(MascaraCpf);
    m_hospital->campo(kCnpj).mascara = m_mascaraCnpj;
    return m_mascaraCnpj;
}

QString TDmHospital::NormalizaCnes(const QString& cnes) {
    if (cnes.trimmed().isEmpty()) return cnes;
    QString semEspacos = cnes;
    semEspacos.remove(QLatin1Char(' '));
    bool ok = false;
    const qlonglong n = semEspacos.toLongLong(&ok);
    if (!ok || n < 0) return semEspacos;
    return CompletaZeros(QString::number(n), 7);
}

void TDmHospital::NormalizaRegistro() {
    RowSet& rs = *m_hospital;
    for (const QString& c : {kCnes, kCnpj, kNome, kIntermed}) {
        const QString t = rs.Valor(c).toString().trimmed();
        rs.DefineValor(c, t.isEmpty() ? QVariant() : QVariant(t));
    }
    if (!rs.Nulo(kCnes)) rs.DefineValor(kCnes, NormalizaCnes(rs.Valor(kCnes).toString()));
}

std::optional<TDmHospital::Falha> TDmHospital::ValidaEstabelecimento() const {
    const RowSet& rs = *m_hospital;
    const QVariant classif = rs.Valor(kClassif);
    if (nulo(classif))
        return Falha{QStringLiteral("Selecione a Classificação do Estabelecimento de Saúde"),
                     CampoEstab::Classificacao};
    const bool hospitalar = classif.toInt() == kAssistenciaHospitalar;
    const QString cnes = rs.Valor(kCnes).toString();
    const bool temCnes = !cnes.trimmed().isEmpty();
    if (temCnes && (!ValidaCnes(cnes) || cnes == QLatin1String("0000000")))
        return Falha{QStringLiteral("CNES do Estabelecimento de Saúde inválido"), CampoEstab::Cnes};
    const QString cnpj = rs.Valor(kCnpj).toString().trimmed();
    if (cnpj.isEmpty() && (hospitalar || temCnes))
        return Falha{QStringLiteral("Número do CNPJ deve ser preenchido"), CampoEstab::CnpjCpf};
    const Falha cnpjInvalido{QStringLiteral("CNPJ do Estabelecimento de Saúde inválido"),
                             CampoEstab::CnpjCpf};
    if (!cnpj.isEmpty()) {
        if (hospitalar) {
            // a CPF is never accepted for hospital care
            if (!CnpjValido(cnpj) || cnpj.size() < 14) return cnpjInvalido;
        } else if (cnpj.size() > 11) {
            if (!CnpjValido(cnpj)) return cnpjInvalido;
        } else if (!CpfValido(cnpj)) {
            return Falha{QStringLiteral("CPF inválido"), CampoEstab::CnpjCpf};
        }
    }
    if (!temCnes && cnpj.isEmpty() && !hospitalar)
        return Falha{QStringLiteral("Número CPF/CNPJ ou CNES deve ser Preenchido"),
                     CampoEstab::CnpjCpf};
    if (branco(rs.Valor(kNome)))
        return Falha{QStringLiteral("Informe Nome/Razão Social do Estabelecimento de Saúde"),
                     CampoEstab::Nome};
    // the name travels in every request file of the operator's plans
    const QString fora =
        ConfereTextoArquivo(QStringLiteral("Nome/Razão Social"), rs.Valor(kNome).toString());
    if (!fora.isEmpty()) return Falha{fora, CampoEstab::Nome};
    return std::nullopt;
}

bool TDmHospital::ExisteDuplicidadeEstab(const RowSet& dados) {
    const QString cnes = dados.Valor(kCnes).toString().trimmed();
    const QString cnpj = dados.Valor(kCnpj).toString().trimmed();
    QString sql =
        QStringLiteral("SELECT 1 FROM TB_ESTAB_SAUDE ES WHERE (ES.CD_CNES = ?") +
        (cnes.isEmpty() ? QStringLiteral(" OR ES.CD_CNES IS NULL) ") : QStringLiteral(") ")) +
        QStringLiteral(" AND (ES.CD_CNPJ_ESTB_SAUD = ?") +
        (cnpj.isEmpty() ? QStringLiteral(" OR ES.CD_CNPJ_ESTB_SAUD IS NULL) ")
                        : QStringLiteral(") "));
    QVariantList params{cnes, cnpj};
    if (dados.State() == RowSet::Estado::Edicao) {
        sql += QStringLiteral(" AND ES.ID_ESTB_SAUD <> ?");
        params << dados.Valor(kId);
    }
    sql += QStringLiteral(" LIMIT 1");
    return !DmConexao()->AbreConsulta(sql, params).IsEmpty();
}

std::optional<TDmHospital::Falha> TDmHospital::ValidaEscolhas(const Escolhas& e) const {
    const RowSet& rs = *m_hospital;
    const int classif = rs.Valor(kClassif).toInt();
    const bool temCnes = !branco(rs.Valor(kCnes));
    const bool contratualizado = e.relacao == Escolhas::Contratualizado;
    if (e.relacao == Escolhas::SemRelacao && classif == kAssistenciaHospitalar)
        return Falha{QStringLiteral("Selecione a Relação com Entidade Hospitalar"),
                     CampoEstab::Relacao};
    if (e.uf.isEmpty() && !temCnes)
        return Falha{QStringLiteral("Selecione a Unidade Federativa"), CampoEstab::Uf};
    if (e.municipio < 0 && (!temCnes || !e.uf.isEmpty()))
        return Falha{QStringLiteral("Selecione o Município"), CampoEstab::Municipio};
    if (e.tipoContratacao == Escolhas::SemTipo && contratualizado)
        return Falha{QStringLiteral("Selecione o Tipo de Contratualização"),
                     CampoEstab::TipoContratacao};
    if (e.tipoContratacao == Escolhas::Indireta && contratualizado) {
        const QString codigo = rs.Valor(kIntermed).toString().trimmed();
        if (codigo.isEmpty())
            return Falha{QStringLiteral("Informe o Registro ZUB da Operadora Intermediária."),
                         CampoEstab::RegOperIntermed};
        bool valido = false;
        try {
            valido = ValidaCodigoOperadora(codigo);
        } catch (const ErroQev&) {
            valido = false;
        }
        if (!valido)
            return Falha{QStringLiteral("Registro ZUB da Operadora Intermediária inválido."),
                         CampoEstab::RegOperIntermed};
        if (codigo == OperadoraAtual())
            return Falha{QStringLiteral("O Registro ZUB da Operadora Intermediária não pode ser "
                                        "igual ao da Operadora."),
                         CampoEstab::RegOperIntermed};
    }
    const QDateTime agora = Relogio::agora();
    const QDateTime contrato = dataHora(rs.Valor(QStringLiteral("DT_CONTRATO_OPER")));
    if (contrato.isValid() && contrato > agora)
        return Falha{
            QStringLiteral("A data de contratualização não pode ser superior à data atual"),
            CampoEstab::DataContratacao};
    if (contrato.isValid() && contrato.date() < QDate(2003, 12, 1) &&
        (classif == 2 || classif == 3))
        return Falha{
            QStringLiteral(
                "A data de contratualização não pode ser anterior à data da RN 54 (01/12/2003)"),
            CampoEstab::DataContratacao};
    if (contrato.isValid() && contrato.date() < QDate(2003, 7, 7) &&
        classif == kAssistenciaHospitalar)
        return Falha{
            QStringLiteral(
                "A data de contratualização não pode ser anterior à data da RN 42 (07/07/2003)"),
            CampoEstab::DataContratacao};
    const QDateTime vinculo = dataHora(rs.Valor(QStringLiteral("DT_VINCULO_OPER")));
    if (!vinculo.isValid() && e.relacao != Escolhas::SemRelacao)
        return Falha{QStringLiteral("Informe a data de início de prestação do serviço"),
                     CampoEstab::DataVinculo};
    if (vinculo.isValid() && vinculo > agora)
        return Falha{
            QStringLiteral(
                "A data de início de prestação do serviço não pode ser superior à data atual"),
            CampoEstab::DataVinculo};
    if (e.disponibilidade == Escolhas::SemDisponibilidade && classif == kAssistenciaHospitalar)
        return Falha{
            QStringLiteral("Selecione a Disponibilidade dos Serviços do Estabelecimento de Saúde."),
            CampoEstab::Disponibilidade};
    return std::nullopt;
}

std::optional<TDmHospital::Falha> TDmHospital::Grava(const Escolhas& e) {
    RowSet& rs = *m_hospital;
    if (!rs.EmEdicao())
        throw ErroQev(QStringLiteral("O registro não está em inclusão ou alteração."));
    NormalizaRegistro();
    if (auto f = ValidaEstabelecimento()) return f;
    if (ExisteDuplicidadeEstab(rs))
        return Falha{QStringLiteral("O  Conjunto CNPJ ou CPF/CNES deve ser único."),
                     CampoEstab::Cnes};
    if (auto f = ValidaEscolhas(e)) return f;

    const bool insercao = rs.State() == RowSet::Estado::Insercao;
    const bool indireta =
        e.tipoContratacao == Escolhas::Indireta && e.relacao == Escolhas::Contratualizado;
    // The new identifier is read inside the write's transaction: no other copy can take it
    // meanwhile. Whatever fails (the transaction refused because another copy is writing,
    // a statement, the commit), nothing is stored and the pending change is discarded, so
    // the row set shows what the database holds.
    try {
        TransacaoEscopo transacao(banco());
        if (insercao) {
            rs.DefineValor(kId, ProximoIdEstab());
            rs.DefineValor(QStringLiteral("LG_CLASSIFICADO_ZUB"), QStringLiteral("N"));
            rs.DefineValor(QStringLiteral("CD_OPER"), OperadoraAtual());
        }
        rs.DefineValor(QStringLiteral("LG_HOSPITAL_INCLUIDO"), QStringLiteral("N"));
        rs.DefineValor(QStringLiteral("ID_MUNC"), e.municipio >= 0 ? e.municipio : -1);
        const QString tipo = QStringLiteral("CD_TIPO_ESTB_SAUD");
        const QString contrato = QStringLiteral("CD_TIPO_CONTRATO_ESTB_SAUDE");
        if (e.relacao == Escolhas::Proprio) {
            rs.DefineValor(tipo, kProprio);
            rs.DefineValor(contrato, QVariant());
        } else {
            rs.DefineValor(tipo, e.relacao == Escolhas::Contratualizado ? QVariant(kContratualizado)
                                                                        : QVariant());
            if (e.tipoContratacao != Escolhas::SemTipo)
                rs.DefineValor(contrato, e.tipoContratacao == Escolhas::Direta
                                             ? QStringLiteral("D")
                                             : QStringLiteral("I"));
        }
        if (e.disponibilidade != Escolhas::SemDisponibilidade)
            rs.DefineValor(QStringLiteral("CD_DISP_SERVICO"), e.disponibilidade == Escolhas::Parcial
                                                                  ? QStringLiteral("P")
                                                                  : QStringLiteral("T"));
        rs.DefineValor(QStringLiteral("LG_URGENCIA_EMERGENCIA"),
                       e.urgencia ? QStringLiteral("S") : QStringLiteral("N"));
        if (!indireta) rs.DefineValor(kIntermed, QVariant());
        rs.Post();
        rs.ApplyUpdates(banco(), QStringLiteral("TB_ESTAB_SAUDE"), {kId});
        transacao.confirma();
    } catch (const ErroRegistroAlterado&) {
        // Another copy changed or deleted the row since it was read: nothing is stored,
        // and the row goes back to edit with the user's entries (Cancela shows the other
        // copy's values).
        if (!rs.EmEdicao()) rs.Edit();
        throw;
    } catch (...) {
        rs.Cancel();
        rs.CancelUpdates();
        throw;
    }
    return std::nullopt;
}

void TDmHospital::DescartaPendente() {
    RowSet& rs = *m_hospital;
    rs.Cancel();
    if (rs.ChangeCount() == 0) return;
    // only a save refused because another copy changed the row leaves a pending change:
    // the row is read again as that copy stored it (or, when it deleted it, the next one)
    const qlonglong id = IdAtual();
    rs.CancelUpdates();
    AbreHospital(id);
    if (rs.IsEmpty()) {
        qlonglong vizinho = IdProximo(id);
        if (!vizinho) vizinho = IdAnterior(id);
        if (vizinho) AbreHospital(vizinho);
    }
}

void TDmHospital::ExcluiAtual() {
    RowSet& rs = *m_hospital;
    rs.Delete();
    try {
        rs.ApplyUpdates(banco(), QStringLiteral("TB_ESTAB_SAUDE"), {kId});
    } catch (...) {
        rs.CancelUpdates();
        throw;
    }
}

// ---------------------------------------------------------------------------
// Rules and statements
// ---------------------------------------------------------------------------

qlonglong TDmHospital::ProximoIdEstab() {
    Consulta& q = DmConexao()->AbreConsulta(
        QStringLiteral("SELECT MAX(ID_ESTB_SAUD) AS ID_VAL FROM TB_ESTAB_SAUDE"));
    return q.campo(QStringLiteral("ID_VAL")).toLongLong() + 1;
}

bool TDmHospital::EstabVinculadoPlano(qlonglong idEstb) {
    return !DmConexao()
                ->AbreConsulta(
                    QStringLiteral(
                        "SELECT 1 FROM RL_PLANOS_ESTAB_SAUDE WHERE ID_ESTB_SAUD = ? LIMIT 1"),
                    {idEstb})
                .IsEmpty();
}

bool TDmHospital::EstabelecimentoIncompleto(const std::function<QVariant(const QString&)>& v) {
    const QVariant classif = v(kClassif);
    const QVariant tipo = v(QStringLiteral("CD_TIPO_ESTB_SAUD"));
    if (v(QStringLiteral("LG_HOSPITAL_INCLUIDO")).toString() == QLatin1String("S") &&
        !nulo(classif) && classif.toInt() == kAssistenciaHospitalar && branco(v(kCnes)))
        return true;
    if (branco(v(kNome))) return true;
    if (nulo(tipo)) return true;
    if (nulo(v(QStringLiteral("ID_MUNC")))) return true;
    if (nulo(v(QStringLiteral("DT_VINCULO_OPER")))) return true;
    if (nulo(classif)) return true;
    return tipo.toInt() == kContratualizado &&
           (branco(v(QStringLiteral("CD_TIPO_CONTRATO_ESTB_SAUDE"))) ||
            nulo(v(QStringLiteral("DT_CONTRATO_OPER"))));
}

bool TDmHospital::ExisteVinculadoIncompleto() {
    m_vinculado->Fecha();
    // the rule asks for its columns by name: each name's index found once
    auto indices = std::make_shared<QHash<QString, int>>();
    m_vinculado->DefineFiltro([indices](const RowSet& rs, int linha) {
        return EstabelecimentoIncompleto([&](const QString& c) {
            auto it = indices->constFind(c);
            if (it == indices->constEnd()) it = indices->insert(c, rs.IndiceCampo(c));
            return rs.ValorDaLinha(linha, *it);
        });
    });
    static const QString sql = SqlVinculadoIncompleto();
    m_vinculado->Abre(banco(), sql);
    return !m_vinculado->IsEmpty();
}

int TDmHospital::ContaEstabelecimentos() {
    return DmConexao()
        ->AbreConsulta(QStringLiteral("SELECT COUNT(*) AS QT_ESTB FROM TB_ESTAB_SAUDE"))
        .campo(QStringLiteral("QT_ESTB"))
        .toInt();
}

qlonglong TDmHospital::IdAnterior(qlonglong atual) {
    Consulta& q = DmConexao()->AbreConsulta(
        QStringLiteral("SELECT ID_ESTB_SAUD FROM TB_ESTAB_SAUDE WHERE ID_ESTB_SAUD < ? ORDER BY "
                       "ID_ESTB_SAUD DESC LIMIT 1"),
        {atual});
    return q.IsEmpty() ? 0 : q.campo(kId).toLongLong();
}

qlonglong TDmHospital::IdProximo(qlonglong atual) {
    Consulta& q =
        DmConexao()->AbreConsulta(QStringLiteral("SELECT ID_ESTB_SAUD FROM TB_ESTAB_SAUDE WHERE "
                                                 "ID_ESTB_SAUD > ? ORDER BY ID_ESTB_SAUD LIMIT 1"),
                                  {atual});
    return q.IsEmpty() ? 0 : q.campo(kId).toLongLong();
}

QString TDmHospital::SqlPesquisa(int escolha) {
    QString sql = QStringLiteral(
        "SELECT CD_CNES, CD_CNPJ_ESTB_SAUD, RAZAO_SOCIAL_ESTB_SAUD, ID_ESTB_SAUD FROM "
        "TB_ESTAB_SAUDE");
    if (escolha >= 1 && escolha <= 3) sql += QStringLiteral(" WHERE CD_CLASSIF_ESTAB_SAUDE = ?");
    return sql;
}

QVariantList TDmHospital::ParametrosPesquisa(int escolha) {
    return escolha >= 1 && escolha <= 3 ? QVariantList{escolha} : QVariantList{};
}

QString TDmHospital::LegendaPesquisa(int escolha) {
    static const char* const sufixos[] = {"", " classificados como ASSISTENCIA HOSPITALAR",
                                          " classificados como SERVIÇOS DE ALTA COMPLEXIDADE",
                                          " classificados como DEMAIS ESTABELECIMENTOS"};
    QString legenda = QStringLiteral("Pesquisa de Estabelecimentos de Saúde");
    if (escolha >= 1 && escolha <= 3) legenda += QString::fromUtf8(sufixos[escolha]);
    return legenda;
}

qlonglong TDmHospital::LocalizaCnpj(const QString& texto) {
    const QString digitos = SomenteDigitos(texto);
    Consulta& q = DmConexao()->AbreConsulta(
        QStringLiteral("SELECT ID_ESTB_SAUD FROM TB_ESTAB_SAUDE WHERE CD_CNPJ_ESTB_SAUD = ?"),
        {digitos});
    if (q.IsEmpty())
        throw ErroQev(QStringLiteral("CNPJ ") + digitos + QStringLiteral(" não encontrado"));
    return q.campo(kId).toLongLong();
}

QUrl TDmHospital::EnderecoCadastroPublico(const QString& chave) {
    QUrl url;
    url.setScheme(QStringLiteral("https"));
    url.setHost(QString::fromUtf8(Config::HostCnes));
    url.setPath(QStringLiteral("/Lista_Es_Nome.asp"));
    url.setQuery(QStringLiteral("Vcodigo=") + QString::fromLatin1(QUrl::toPercentEncoding(chave)));
    return url;
}

int TDmHospital::ExcluiNaoVinculados() {
    TDmConexao* c = DmConexao();
    const auto conta = [c] {
        return c->AbreConsulta(QStringLiteral("SELECT count(*) AS QtEstab FROM TB_ESTAB_SAUDE"))
            .campo(QStringLiteral("QtEstab"))
            .toInt();
    };
    TransacaoEscopo transacao(c->banco());
    const int antes = conta();
    c->ExecutaComando(
        QStringLiteral("DELETE FROM TB_ESTAB_SAUDE WHERE NOT EXISTS (SELECT RPE.ID_ESTB_SAUD "
                       "FROM RL_PLANOS_ESTAB_SAUDE RPE "
                       "WHERE RPE.ID_ESTB_SAUD = TB_ESTAB_SAUDE.ID_ESTB_SAUD)"));
    const int depois = conta();
    transacao.confirma();
    return antes - depois;
}
