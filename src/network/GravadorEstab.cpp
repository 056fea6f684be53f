#include "network/GravadorEstab.h"

#include "db/Banco.h"

GravadorEstab::GravadorEstab(Banco& banco, QString cdOper)
    : m_banco(banco), m_cdOper(std::move(cdOper)) {}

GravadorEstab::~GravadorEstab() = default;

void GravadorEstab::DefineLote(int linhas, int ms) {
    m_limiteLinhas = qMax(1, linhas);
    m_limiteMs = qMax(0, ms);
}

// The only place a batch begins: a transaction already open (the caller's) is joined,
// never committed here.
void GravadorEstab::garante() {
    if (m_lote) return;
    m_lote.emplace(m_banco);
    m_noLote = 0;
    m_proximoId = 0;
    m_inicioLote.start();
}

// The only place a batch ends.
void GravadorEstab::Confirma() {
    if (!m_lote) return;
    const bool propria = m_lote->propria();
    m_lote->confirma();  // a failed commit throws; the scope then rolls back
    m_lote.reset();
    m_proximoId = 0;
    if (!propria || m_gravados == m_confirmados) return;
    m_confirmados = m_gravados;
    if (aoConfirmar) aoConfirmar(m_confirmados);
}

void GravadorEstab::Executa(const std::function<void()>& trabalho) {
    try {
        trabalho();
    } catch (...) {
        try {
            Confirma();
        } catch (const ErroQev&) {
            // the batch is rolled back by the destructor; the first failure is the one reported
        }
        throw;
    }
    Confirma();
}

void GravadorEstab::Marca() {
    if (m_lote && m_lote->propria() &&
        (m_noLote >= m_limiteLinhas || m_inicioLote.elapsed() >= m_limiteMs))
        Confirma();
}

qlonglong GravadorEstab::Insere(const DadosEstab& d) {
    garante();
    if (m_proximoId == 0)
        m_proximoId =
            m_banco.valor(QStringLiteral("SELECT MAX(ID_ESTB_SAUD) FROM TB_ESTAB_SAUDE")).toLongLong() + 1;
    if (!m_insere)
        m_insere = std::make_unique<ComandoPreparado>(
            m_banco,
            QStringLiteral(
                "INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, CD_CNPJ_ESTB_SAUD, RAZAO_SOCIAL_ESTB_SAUD, "
                "CD_TIPO_ESTB_SAUD, ID_MUNC, CD_TIPO_CONTRATO_ESTB_SAUDE, CD_CNES, DT_CONTRATO_OPER, "
                "DT_VINCULO_OPER, CD_CLASSIF_ESTAB_SAUDE, LG_CLASSIFICADO_ZUB, CD_OPER_INTERMEDIADORA, "
                "CD_DISP_SERVICO, LG_URGENCIA_EMERGENCIA, LG_HOSPITAL_INCLUIDO, CD_OPER) "
                "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'N', ?)"));
    const qlonglong id = m_proximoId;
    m_insere->executa({id, d.cnpj, d.nome, d.tipoEstab, d.municipio, d.tipoContrato, d.cnes,
                       d.dataContrato, d.dataVinculo, d.classificacao, d.classificadoZub,
                       d.intermediaria, d.disponibilidade, d.urgencia, m_cdOper});
    ++m_proximoId;
    ++m_noLote;
    ++m_gravados;
    return id;
}

std::optional<qlonglong> GravadorEstab::Localiza(const QString& cnpj, const QString& cnes) {
    garante();
    const QString base = QStringLiteral(
        "SELECT ID_ESTB_SAUD FROM TB_ESTAB_SAUDE WHERE CD_CNPJ_ESTB_SAUD = ?");
    const QString ordem = QStringLiteral(" ORDER BY ID_ESTB_SAUD LIMIT 1");
    QVariant id;
    if (cnes.isEmpty()) {
        if (!m_localiza) m_localiza = std::make_unique<ComandoPreparado>(m_banco, base + ordem);
        id = m_localiza->valor({cnpj});
    } else {
        if (!m_localizaCnes)
            m_localizaCnes = std::make_unique<ComandoPreparado>(
                m_banco, base + QStringLiteral(" AND CD_CNES = ?") + ordem);
        id = m_localizaCnes->valor({cnpj, cnes});
    }
    if (!id.isValid()) return std::nullopt;
    return id.toLongLong();
}

void GravadorEstab::Atualiza(qlonglong id, const DadosEstab& d) {
    garante();
    if (!m_atualiza)
        m_atualiza = std::make_unique<ComandoPreparado>(
            m_banco,
            QStringLiteral(
                "UPDATE TB_ESTAB_SAUDE SET CD_CNPJ_ESTB_SAUD = ?, RAZAO_SOCIAL_ESTB_SAUD = ?, "
                "CD_TIPO_ESTB_SAUD = COALESCE(?, CD_TIPO_ESTB_SAUD), ID_MUNC = COALESCE(?, ID_MUNC), "
                "CD_TIPO_CONTRATO_ESTB_SAUDE = ?, CD_CNES = COALESCE(?, CD_CNES), "
                "DT_CONTRATO_OPER = COALESCE(?, DT_CONTRATO_OPER), "
                "DT_VINCULO_OPER = COALESCE(?, DT_VINCULO_OPER), CD_CLASSIF_ESTAB_SAUDE = ?, "
                "LG_CLASSIFICADO_ZUB = ?, CD_OPER_INTERMEDIADORA = ?, CD_DISP_SERVICO = ?, "
                "LG_URGENCIA_EMERGENCIA = ?, LG_HOSPITAL_INCLUIDO = 'N', CD_OPER = ? "
                "WHERE ID_ESTB_SAUD = ?"));
    m_atualiza->executa({d.cnpj, d.nome, d.tipoEstab, d.municipio, d.tipoContrato, d.cnes,
                         d.dataContrato, d.dataVinculo, d.classificacao, d.classificadoZub,
                         d.intermediaria, d.disponibilidade, d.urgencia, m_cdOper, id});
    ++m_noLote;
    ++m_gravados;
}
