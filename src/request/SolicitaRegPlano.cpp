#include "request/SolicitaRegPlano.h"

#include <QFile>

#include "db/Banco.h"
#include "db/DmConexao.h"
#include "db/Transacao.h"
#include "db/Valores.h"
#include "platform/Plataforma.h"
#include "request/ArquivoSolicitacao.h"
#include "request/DmExportacao.h"
#include "request/ListaPlanos.h"
#include "request/VerificacaoPlanos.h"

TSolicitaRegPlano::TSolicitaRegPlano(Banco& banco, TDmExportacao& exportacao,
                                     const TOperadora& operadora, QObject* pai)
    : QObject(pai), m_banco(banco), m_exportacao(exportacao), m_operadora(operadora), m_lista(banco) {}

TSolicitaRegPlano::~TSolicitaRegPlano() = default;

QString TSolicitaRegPlano::CondicaoStatus() {
    return QStringLiteral(" (P.CD_STATUS_ENVIO = 0) or (P.CD_STATUS_ENVIO = 2) ");
}

void TSolicitaRegPlano::AbreLista(const QString& filtro, const QVariantList& parametros) {
    QString sql = QStringLiteral("SELECT P.* FROM TB_PLANOS P WHERE ");
    // The status condition is one unit beside the filter, whatever the filter holds.
    if (!filtro.trimmed().isEmpty()) sql += QLatin1Char('(') + filtro + QStringLiteral(") and ");
    sql += QLatin1Char('(') + CondicaoStatus() + QLatin1Char(')');
    m_planos.Abre(m_banco, sql, parametros);
    m_lista.PreparaColunas(m_planos);
}

bool TSolicitaRegPlano::Pronto(int linha) const {
    if (linha < 0) return false;
    return m_planos.ValorDaLinha(linha, QStringLiteral("LG_CONSISTENTE")).toString().trimmed() ==
               QLatin1String("S") &&
           m_planos.ValorDaLinha(linha, QStringLiteral("LG_REDE_VINCULADA")).toString().trimmed() ==
               QLatin1String("S");
}

bool TSolicitaRegPlano::PodeEnviar(const QSet<int>& selecionadas) const {
    if (selecionadas.isEmpty()) return Pronto(m_planos.Linha());
    for (int l : selecionadas)
        if (!Pronto(l)) return false;
    return true;
}

int TSolicitaRegPlano::SelecionaPronto() {
    if (Pronto(m_planos.Linha())) return m_planos.Linha();
    for (int pos = 0; pos < m_planos.RecordCount(); ++pos)
        if (Pronto(m_planos.LinhaNaPosicao(pos))) {
            m_planos.Vai(pos);
            return m_planos.Linha();
        }
    m_planos.First();
    return -1;
}

QString TSolicitaRegPlano::Rodape(int planos, int selecionados) {
    QString t = planos == 0   ? QStringLiteral(" Nenhum plano")
                : planos == 1 ? QStringLiteral(" 1 plano")
                              : QStringLiteral(" %1 planos").arg(planos);
    t += selecionados == 0   ? QStringLiteral("  -  Nenhum selecionado")
         : selecionados == 1 ? QStringLiteral("  -  1 selecionado")
                             : QStringLiteral("  -  %1 selecionados").arg(selecionados);
    return t;
}

void TSolicitaRegPlano::guardaPendencias(int linha, int desde) {
    const TErrosCarga& erros = m_exportacao.cdsErrosCarga();
    QStringList achados;
    for (int i = desde; i < erros.RecordCount(); ++i) {
        const LinhaErroCarga& e = erros.linha(i);
        achados << (e.NomeCampo.trimmed().isEmpty() ? e.NomeErro.trimmed()
                                                    : e.NomeCampo.trimmed() + QStringLiteral(": ") + e.NomeErro.trimmed());
    }
    m_pendencias.insert(m_planos.ValorDaLinha(linha, QStringLiteral("SEQ_PLANO")).toLongLong(), achados);
}

QStringList TSolicitaRegPlano::Pendencias(int linha) const {
    return m_pendencias.value(m_planos.ValorDaLinha(linha, QStringLiteral("SEQ_PLANO")).toLongLong());
}

bool TSolicitaRegPlano::Verificado(int linha) const {
    return m_pendencias.contains(m_planos.ValorDaLinha(linha, QStringLiteral("SEQ_PLANO")).toLongLong());
}

QString TSolicitaRegPlano::DicaLinha(int linha) const {
    if (Pronto(linha)) return QString();
    const QStringList p = Pendencias(linha);
    if (!p.isEmpty()) return QStringLiteral("Pendências encontradas na última verificação:\n- ") + p.join(QStringLiteral("\n- "));
    if (Verificado(linha))
        return QStringLiteral("A última verificação não encontrou pendências; verifique o plano novamente "
                              "(duplo clique).");
    return QStringLiteral("Plano ainda não verificado: dê um duplo clique para verificar suas pendências.");
}

QString TSolicitaRegPlano::DeContratacao(int linha) const {
    return m_planos.ValorDaLinha(linha, QStringLiteral("lkpContratacao")).toString();
}
QString TSolicitaRegPlano::DeAbrangencia(int linha) const {
    return m_planos.ValorDaLinha(linha, QStringLiteral("lkpAbrangencia")).toString();
}
QString TSolicitaRegPlano::DeSegmentacao(int linha) const {
    return m_planos.ValorDaLinha(linha, QStringLiteral("lkpSegmentacao")).toString();
}

void TSolicitaRegPlano::gravaIndicadores(int linha, bool consistente, bool rede) {
    const QString c = consistente ? QStringLiteral("S") : QStringLiteral("N");
    const QString r = rede ? QStringLiteral("S") : QStringLiteral("N");
    if (!m_planos.VaiParaLinha(linha)) return;
    if (m_planos.Valor(QStringLiteral("LG_CONSISTENTE")).toString() == c &&
        m_planos.Valor(QStringLiteral("LG_REDE_VINCULADA")).toString() == r)
        return;
    m_planos.Edit();
    m_planos.DefineValor(QStringLiteral("LG_CONSISTENTE"), c);
    m_planos.DefineValor(QStringLiteral("LG_REDE_VINCULADA"), r);
    m_planos.Post();
}

void TSolicitaRegPlano::VerificacaoInicial(const Progresso& progresso) {
    m_exportacao.LimpaErros();
    TVerificacaoPlanos v(m_banco, m_exportacao, m_operadora);
    const int total = m_planos.RecordCount();
    const int atual = m_planos.Linha();
    QVector<int> linhas;
    for (int pos = 0; pos < total; ++pos) linhas << m_planos.LinhaNaPosicao(pos);
    for (int i = 0; i < linhas.size(); ++i) {
        const int linha = linhas[i];
        const PlanoSolicitacao p =
            PlanoSolicitacao::De([&](const QString& c) { return m_planos.ValorDaLinha(linha, c); });
        if (p.consistente.toString() == QLatin1String("S")) {
            const int desde = m_exportacao.cdsErrosCarga().RecordCount();
            const auto [consistente, rede] = v.VerificacaoInicial(p);
            gravaIndicadores(linha, consistente, rede);
            guardaPendencias(linha, desde);
        }
        if (progresso) progresso(i + 1, total);
    }
    if (m_planos.ChangeCount() > 0)
        m_planos.ApplyUpdates(m_banco);
    m_planos.VaiParaLinha(atual);
}

TSolicitaRegPlano::Acao TSolicitaRegPlano::SolicitaEnvio(QSet<int> selecionadas, bool soVerificar,
                                                         const Progresso& progresso) {
    Acao acao;
    m_exportacao.LimpaErros();
    TVerificacaoPlanos v(m_banco, m_exportacao, m_operadora);
    v.VerificaOperadora();
    v.VerificaTabelas();
    if (selecionadas.isEmpty()) {
        const int pronto = SelecionaPronto();
        if (pronto >= 0) selecionadas.insert(pronto);
    }
    acao.selecionadas = selecionadas;
    acao.ErroTabela = v.ErroTabela;
    // A failure half-way (another copy holding the database) ends the action: the request
    // files written for it are never handed over, so they go.
    struct Arquivos {
        const TListaEnvio& lista;
        QString pasta;
        bool entregues = false;
        ~Arquivos() {
            if (entregues) return;
            for (const TEnvio& e : lista) QFile::remove(pasta + e.NmArquivo);
        }
    } arquivos{acao.ListaEnvio, DmConexao() ? DmConexao()->PastaSistema() : PastaPrograma::caminho()};
    if (!v.ErroTabela) {
        // In list order, from the first row.
        QVector<int> ordem;
        for (int pos = 0; pos < m_planos.RecordCount(); ++pos)
            if (selecionadas.contains(m_planos.LinhaNaPosicao(pos))) ordem << m_planos.LinhaNaPosicao(pos);
        for (int i = 0; i < ordem.size(); ++i) {
            const int linha = ordem[i];
            const PlanoSolicitacao p =
                PlanoSolicitacao::De([&](const QString& c) { return m_planos.ValorDaLinha(linha, c); });
            const int desde = m_exportacao.cdsErrosCarga().RecordCount();
            v.VerificaPlano(p);
            // The flags are stored as soon as the plan's checks end.
            gravaIndicadores(linha, v.PlanoConsistente, v.RedeVinculada);
            guardaPendencias(linha, desde);
            if (m_planos.ChangeCount() > 0)
                m_planos.ApplyUpdates(m_banco);
            if (v.PlanoConsistente && v.RedeVinculada && !soVerificar) {
                const QDateTime agora = Relogio::agora();
                if (acao.IdSolicitacao.isEmpty()) acao.IdSolicitacao = IdentificadorSolicitacao(m_operadora.CdOper, agora);
                const QString arquivo = NomeArquivoSolicitacao(m_operadora.CdOper, int(p.seq()), agora);
                bool gerado = false;
                try {
                    gerado = GeraArquivoSolicitacao(int(p.seq()), arquivo, acao.IdSolicitacao);
                } catch (const ErroQev& e) {
                    // The plan is not sent; the others go on.
                    m_exportacao.AdicionaErroPlano(v.QtdErros, QStringLiteral("Arquivo de solicitação"), -1,
                                                   p.abrangencia, p.contrato, p.segmentacao, p.nmPlano,
                                                   p.seqPlano, e.mensagem());
                }
                if (gerado) {
                    TEnvio e;
                    e.SeqPlano = int(p.seq());
                    e.NmPlano = p.nmPlano;
                    e.NmArquivo = arquivo;
                    e.CdStatusEnvio = p.statusEnvio;
                    e.DeContratacao = DeContratacao(linha);
                    e.DeAbrangencia = DeAbrangencia(linha);
                    e.DeSegmentacao = DeSegmentacao(linha);
                    acao.ListaEnvio << e;
                }
            }
            if (progresso) progresso(i + 1, ordem.size());
        }
    }
    acao.QtdErros = v.QtdErros;
    arquivos.entregues = true;
    return acao;
}

void TSolicitaRegPlano::GravaPendentes() {
    if (m_planos.Ativo() && m_planos.ChangeCount() > 0) m_planos.ApplyUpdates(m_banco);
}
