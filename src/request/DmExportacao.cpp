#include "request/DmExportacao.h"

#include <QDate>

#include "db/Erro.h"
#include "db/DmConexao.h"
#include "db/Transacao.h"

namespace {
TDmExportacao* g_instancia = nullptr;

Banco& banco() { return DmConexao()->banco(); }

QVariant dataHora(const QDateTime& d) { return d.isValid() ? QVariant(d) : QVariant(); }

}  // namespace

// ---------------------------------------------------------------------------

const QStringList& TErrosCarga::Campos() {
    static const QStringList campos{
        QStringLiteral("Sequencia"),      QStringLiteral("NomeCampo"),
        QStringLiteral("NomeErro"),       QStringLiteral("seq_plano"),
        QStringLiteral("nm_plano"),       QStringLiteral("cd_segmentacao"),
        QStringLiteral("cd_abrangencia"), QStringLiteral("cd_contratacao"),
        QStringLiteral("linhaArquivo")};
    return campos;
}

QVariant TErrosCarga::valor(int i, const QString& campo) const {
    const LinhaErroCarga& l = m_linhas.at(i);
    int indice = -1;
    for (int c = 0; c < Campos().size(); ++c)
        if (Campos().at(c).compare(campo, Qt::CaseInsensitive) == 0) indice = c;
    switch (indice) {
        case 0:
            return l.Sequencia;
        case 1:
            return l.NomeCampo;
        case 2:
            return l.NomeErro;
        case 3:
            return l.seq_plano;
        case 4:
            return l.nm_plano;
        case 5:
            return l.cd_segmentacao;
        case 6:
            return l.cd_abrangencia;
        case 7:
            return l.cd_contratacao;
        case 8:
            return l.linhaArquivo;
    }
    throw ErroQev(QStringLiteral("Campo inexistente na lista de erros: %1").arg(campo));
}

// ---------------------------------------------------------------------------

TDmExportacao::TDmExportacao(QObject* parent) : QObject(parent) {
    g_instancia = this;
    LimpaErros();
}

TDmExportacao::~TDmExportacao() {
    if (g_instancia == this) g_instancia = nullptr;
}

TDmExportacao* TDmExportacao::instancia() { return g_instancia; }

void TDmExportacao::LimpaErros() {
    m_erros.Limpa();
    m_temErros = false;
}

void TDmExportacao::AdicionaErro(int& contador, const QString& nomeCampo, int linhaArquivo,
                                 const QString& mensagem) {
    LinhaErroCarga l;
    l.Sequencia = ++contador;
    l.NomeCampo = nomeCampo;
    l.NomeErro = mensagem;
    l.linhaArquivo = linhaArquivo;
    m_erros.Adiciona(std::move(l));
    m_temErros = true;
}

void TDmExportacao::AdicionaErroPlano(int& contador, const QString& nomeCampo, int linhaArquivo,
                                      const QVariant& abrangencia, const QVariant& contratacao,
                                      const QVariant& segmentacao, const QVariant& nmPlano,
                                      const QVariant& seqPlano, const QString& mensagem) {
    LinhaErroCarga l;
    l.Sequencia = ++contador;
    l.NomeCampo = nomeCampo;
    l.NomeErro = mensagem;
    l.seq_plano = seqPlano;
    l.nm_plano = nmPlano;
    l.cd_segmentacao = segmentacao;
    l.cd_abrangencia = abrangencia;
    l.cd_contratacao = contratacao;
    l.linhaArquivo = linhaArquivo;
    m_erros.Adiciona(std::move(l));
    m_temErros = true;
}

bool TDmExportacao::DataValida(const QString& texto) {
    if (!QDate::fromString(texto, QStringLiteral("dd/MM/yyyy")).isValid()) return false;
    bool ok = false;
    const int ano = texto.mid(6, 4).toInt(&ok);
    return ok && ano >= 1900;
}

void TDmExportacao::AtualizaRedeVinculada(int seqPlano, bool vinculada) {
    banco().executa(
        QStringLiteral("UPDATE TB_PLANOS SET LG_REDE_VINCULADA = ? WHERE SEQ_PLANO = ?"),
        {vinculada ? QStringLiteral("S") : QStringLiteral("N"), seqPlano});
}

Resultado TDmExportacao::ConsultaAreaPlano(const QString& cdOper, int seqPlano, int abrangencia) {
    if (abrangencia == 4 || abrangencia == 5)
        return banco().consulta(
            QStringLiteral("SELECT PM.SEQ_PLANO, PM.ID_MUNC, M.CD_UF, M.NM_MUNC "
                           "FROM RL_PLANOS_MUNICIPIO PM, TB_MUNICIPIOS M "
                           "WHERE PM.CD_OPER = ? AND M.ID_MUNC = PM.ID_MUNC AND PM.SEQ_PLANO = ?"),
            {cdOper, seqPlano});
    return banco().consulta(
        QStringLiteral("SELECT PUF.SEQ_PLANO, PUF.CD_UF, M.NM_UF "
                       "FROM RL_PLANOS_UF PUF, TB_UFS M "
                       "WHERE PUF.CD_OPER = ? AND M.CD_UF = PUF.CD_UF AND PUF.SEQ_PLANO = ?"),
        {cdOper, seqPlano});
}

void TDmExportacao::GravaNomeRetorno(int seqPlano, const QString& nome) {
    banco().executa(QStringLiteral("UPDATE TB_PLANOS SET NM_ARQ_RETORNO = ? WHERE SEQ_PLANO = ?"),
                    {nome.isEmpty() ? QVariant() : QVariant(nome), seqPlano});
}

void TDmExportacao::RegistraEnvio(int seqPlano, const QVariant& statusEnvio,
                                  const QString& idSolicitacao, const QDateTime& dataTransmissao,
                                  const QString& protocolo) {
    if (!statusEnvio.isValid() || statusEnvio.isNull()) return;
    const int status = statusEnvio.toInt();
    if (status != 0 && status != 2) return;

    // The plan as stored now decides, read inside the write's transaction: a plan queued
    // as never sent that is sent already (an earlier hand-over of the same list, another
    // copy of the program) keeps the fields of its first send, and this protocol is
    // recorded as a re-send's.
    TransacaoEscopo transacao(banco());
    const Resultado r = banco().consulta(
        QStringLiteral("SELECT CD_OPER, NR_PROTOCOLO_REGISTRO, COALESCE(CD_STATUS_ENVIO, 0) "
                       "FROM TB_PLANOS WHERE SEQ_PLANO = ?"),
        {seqPlano});
    if (r.vazio()) return;
    const int gravadoStatus = r.linhas.first().at(2).toInt();
    if (status == 0 && gravadoStatus == 0) {
        banco().executa(QStringLiteral("UPDATE TB_PLANOS SET CD_STATUS_ENVIO = 1, "
                                       "NR_PROTOCOLO_REGISTRO = :Protocolo, "
                                       "DT_PROTOCOLO_REGISTRO = :DataProtocolo, "
                                       "NR_PROTOCOLO_SOLICITACAO = :Solicitacao "
                                       "WHERE SEQ_PLANO = :Plano"),
                        ParamsNomeados{{QStringLiteral("Protocolo"), protocolo},
                                       {QStringLiteral("DataProtocolo"), dataHora(dataTransmissao)},
                                       {QStringLiteral("Solicitacao"), idSolicitacao},
                                       {QStringLiteral("Plano"), seqPlano}});
        transacao.confirma();
        return;
    }

    const QString cdOper = r.valor(0, QStringLiteral("CD_OPER")).toString();
    const QString gravado = r.valor(0, QStringLiteral("NR_PROTOCOLO_REGISTRO")).toString();
    const bool temProtocolo = !gravado.trimmed().isEmpty();

    if (temProtocolo) {
        banco().executa(
            QStringLiteral("UPDATE TB_PLANOS SET CD_STATUS_ENVIO = 1 WHERE SEQ_PLANO = ?"),
            {seqPlano});
    } else {
        banco().executa(QStringLiteral("UPDATE TB_PLANOS SET CD_STATUS_ENVIO = 1, "
                                       "NR_PROTOCOLO_REGISTRO = ?, DT_PROTOCOLO_REGISTRO = ? "
                                       "WHERE SEQ_PLANO = ?"),
                        {protocolo, dataHora(dataTransmissao), seqPlano});
    }

    if (temProtocolo && gravado != protocolo) {
        const QVariant existe = banco().valor(
            QStringLiteral("SELECT NR_PROTOCOLO_REENVIO FROM TB_PLANOS_PROTOCOLOS "
                           "WHERE SEQ_PLANO = ? AND NR_PROTOCOLO_REENVIO = ?"),
            {seqPlano, protocolo});
        if (!existe.isValid())
            banco().executa(
                QStringLiteral("INSERT INTO TB_PLANOS_PROTOCOLOS (CD_OPER, SEQ_PLANO, "
                               "NR_PROTOCOLO_REENVIO, DT_PROTOCOLO_REENVIO) "
                               "VALUES (?, ?, ?, ?)"),
                {cdOper, seqPlano, protocolo, dataHora(dataTransmissao)});
    }
    transacao.confirma();
}
