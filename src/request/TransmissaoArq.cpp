#include "request/TransmissaoArq.h"

#include <QFile>
#include <QFileInfo>

#include "db/Erro.h"
#include "common/MensagemDlg.h"
#include "common/Versao.h"
#include "db/DmConexao.h"
#include "request/Crc32.h"
#include "request/DmExportacao.h"
#include "request/ParametrosVUQ.h"
#include "request/VUQ.h"
#include "db/Transacao.h"

namespace {

const QString kEnvioPlanos = QStringLiteral("Envio de Planos");

QString mensagemSucesso() {
    return QStringLiteral(
        "ARQUIVO ENVIADO COM SUCESSO.\n\nToda solicitação de Adequação enviada à ZUB pelo sistema "
        "QEV Operadora deverá ter sua condição de recebimento e seu devido processamento pela "
        "agência conferida através do item “Verificação de Incorporação de Dados”, no site da "
        "ZUB.");
}

// Clears the flag when the confirmation ends, also on failure.
class Marca {
public:
    explicit Marca(bool& flag) : m_flag(flag) { m_flag = true; }
    ~Marca() { m_flag = false; }

private:
    bool& m_flag;
};

}  // namespace

TTransmissaoArq::TTransmissaoArq(const QString& cdOper, TListaEnvio lista, int qtdErros,
                                 const QString& idSolicitacao)
    : m_cdOper(cdOper),
      m_lista(std::move(lista)),
      m_qtdErros(qtdErros),
      m_idSolicitacao(idSolicitacao) {}

bool TTransmissaoArq::Confirma(const QString& senha, quint64 janela) {
    if (m_enviando) return false;  // a confirmation is already under way
    Marca enviando(m_enviando);

    // 1. Plans recorded in an earlier confirmation of this opening stay in the list and
    // are never handed over again.
    QStringList anteriores;
    for (int i = 0; i < m_lista.size(); ++i)
        if (m_registrados.contains(i)) anteriores << QString::number(m_lista.at(i).SeqPlano);
    m_planosEnviados = anteriores;
    int enviados = 0;

    // 2.
    if (senha.trimmed().isEmpty()) {
        MyMessageDlg(QStringLiteral("É obrigatório o preenchimento da senha!"), Mensagens::Erro,
                     Mensagens::BtOk);
        return false;
    }

    // 3.
    for (int i = 0; i < m_lista.size(); ++i) {
        if (m_registrados.contains(i)) continue;
        const QString extensao =
            QFileInfo(m_lista.at(i).NmArquivo).suffix().remove(QLatin1Char('"')).toUpper();
        if (extensao != QLatin1String("QEV")) {
            MyMessageDlg(
                QStringLiteral("Somente é permitido transmitir arquivos com extensão .QEV"),
                Mensagens::Erro, Mensagens::BtOk);
            return false;
        }
        try {
            if (envia(i, senha, janela)) ++enviados;
        } catch (const ErroQev& e) {
            MyMessageDlg(
                QStringLiteral("Houve um erro ao transmitir o arquivo. Mensagem do erro: ") +
                    e.mensagem(),
                Mensagens::Erro, Mensagens::BtOk);
            return false;
        }
    }

    // 4.
    return enviados > 0;
}

bool TTransmissaoArq::envia(int indice, const QString& senha, quint64 janela) {
    const TEnvio& envio = m_lista.at(indice);
    TDmExportacao* exportacao = DmExportacao();

    // 3.2, 3.3
    ParametrosVUQ p;
    p.cdOper = m_cdOper;
    p.senha = senha;
    p.janela = QStringLiteral("'%1'").arg(janela);
    p.arquivo = DmConexao()->PastaSistema() + envio.NmArquivo;
    p.nomeTransmissao = NomeTransmissao(envio.NmArquivo, envio.SeqPlano);
    p.descricao = DescricaoEnvio(envio.NmPlano, envio.DeContratacao, envio.DeAbrangencia,
                                 envio.DeSegmentacao);
    p.versao = VersaoSistema(true);
    p.tipoArquivo = QStringLiteral("QEV");
    TCrc32 crc;
    crc.NomeArquivo = p.arquivo;
    p.checksum = crc.CrcHex();
    // A line the transfer program would read with shifted or wrong fields is refused
    // before anything is recorded.
    LinhaParametrosWin1252(p);

    // 3.4 from here until the outcome is handled the plan has a pending return file
    exportacao->GravaNomeRetorno(envio.SeqPlano, p.nomeTransmissao);

    // 3.5
    TVUQ vuq;
    int resultado = 1;
    try {
        resultado = vuq.EnviaArquivo(p);
    } catch (...) {
        // The program never started: no protocol will ever come under that name, and a
        // name left pending would be looked for at every start.
        if (!vuq.Iniciou()) {
            try {
                exportacao->GravaNomeRetorno(envio.SeqPlano, QString());
            } catch (const ErroQev&) {
                // the failure of the hand-over is what the user must read
            }
        }
        throw;
    }
    const QString protocoloArquivo = TVUQ::PastaProtocolos() + p.nomeTransmissao;

    // 3.6
    if (resultado != 0) {
        exportacao->AdicionaErro(
            m_qtdErros, kEnvioPlanos, -1,
            QStringLiteral("Não foi possível enviar o plano ") + envio.NmPlano);
        exportacao->GravaNomeRetorno(envio.SeqPlano, QString());
        if (QFileInfo::exists(protocoloArquivo)) QFile::remove(protocoloArquivo);
        return false;
    }

    // 3.7
    bool registrado = false;
    if (QFileInfo::exists(protocoloArquivo)) {
        const QString protocolo = TDmConexao::NormalizaProtocolo(vuq.ProtocoloTX());
        const QDateTime data = vuq.DataTransmissao();
        // The record and the end of the pending state go together; the protocol file
        // goes only once both are stored.
        TransacaoEscopo transacao(DmConexao()->banco());
        exportacao->RegistraEnvio(envio.SeqPlano, envio.CdStatusEnvio, m_idSolicitacao, data,
                                  protocolo);
        exportacao->GravaNomeRetorno(envio.SeqPlano, QString());
        transacao.confirma();
        QFile::remove(protocoloArquivo);
        m_planosEnviados << QString::number(envio.SeqPlano);
        m_registrados.insert(indice);
        m_ultimoProtocolo = protocolo;
        m_ultimaData = data;
        registrado = true;
    } else {
        exportacao->GravaNomeRetorno(envio.SeqPlano, QString());
    }
    MyMessageDlg(mensagemSucesso(), Mensagens::Informacao, Mensagens::BtOk);
    return registrado;
}
