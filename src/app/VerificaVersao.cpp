#include "app/VerificaVersao.h"

#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTimer>
#include <optional>

#include "ConfiguracaoBuild.h"
#include "app/FrmAvisoVersao.h"
#include "common/CursorEspera.h"
#include "db/Erro.h"
#include "common/ExecucaoModal.h"
#include "common/MensagemDlg.h"
#include "db/PacoteDados.h"

namespace {
QUrl& servidorDefinido() {
    static QUrl servidor;
    return servidor;
}

// Removes the file when it goes out of scope.
class ArquivoTemporario {
public:
    explicit ArquivoTemporario(QString caminho) : m_caminho(std::move(caminho)) {}
    ~ArquivoTemporario() { QFile::remove(m_caminho); }
    const QString& caminho() const { return m_caminho; }

private:
    QString m_caminho;
};

// A field of the packet's row; a field the packet does not declare is a failure.
QString campo(const PacoteDados& p, int linha, const QString& nome) {
    if (p.indice(nome) < 0) throw ErroQev(QStringLiteral("Campo %1 ausente").arg(nome));
    return p.valor(linha, nome);
}
}  // namespace

TZubVerificaVersaoSis::TZubVerificaVersaoSis(QObject* parent)
    : QObject(parent), ArquivoXmlWeb(EnderecoPadrao()) {}

void TZubVerificaVersaoSis::DefineServidor(const QUrl& servidor) { servidorDefinido() = servidor; }

QUrl TZubVerificaVersaoSis::EnderecoPadrao() {
    QUrl url;
    const QUrl& s = servidorDefinido();
    if (s.isEmpty()) {
        url.setScheme(QStringLiteral("https"));
        url.setHost(QString::fromLatin1(Config::HostVersao));
    } else {
        url.setScheme(s.scheme());
        url.setHost(s.host());
        url.setPort(s.port());
    }
    url.setPath(QString::fromLatin1(kCaminho));
    return url;
}

QByteArray TZubVerificaVersaoSis::baixa() {
    QNetworkAccessManager rede;
    QNetworkRequest pedido(ArquivoXmlWeb);
    pedido.setTransferTimeout(kEsperaMaximaMs);
    pedido.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    QNetworkReply* resposta = rede.get(pedido);
    resposta->setReadBufferSize(64 * 1024);
    QByteArray dados;
    bool grandeDemais = false;
    QEventLoop laco;
    QTimer prazo;  // also a server that trickles bytes gets no more than this
    prazo.setSingleShot(true);
    QObject::connect(&prazo, &QTimer::timeout, resposta, &QNetworkReply::abort);
    QObject::connect(resposta, &QNetworkReply::readyRead, resposta, [&] {
        dados += resposta->readAll();
        if (dados.size() > kTamanhoMaximo) {
            grandeDemais = true;
            resposta->abort();
        }
    });
    QObject::connect(resposta, &QNetworkReply::metaDataChanged, resposta, [&] {
        const QVariant tamanho = resposta->header(QNetworkRequest::ContentLengthHeader);
        if (tamanho.isValid() && tamanho.toLongLong() > kTamanhoMaximo) {
            grandeDemais = true;
            resposta->abort();
        }
    });
    QObject::connect(resposta, &QNetworkReply::finished, &laco, &QEventLoop::quit);
    prazo.start(kEsperaMaximaMs);
    if (!resposta->isFinished()) laco.exec(QEventLoop::ExcludeUserInputEvents);
    if (!grandeDemais) dados += resposta->readAll();
    const QNetworkReply::NetworkError erro = resposta->error();
    const QString textoErro = resposta->errorString();
    const int status = resposta->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    delete resposta;
    if (grandeDemais) throw ErroQev(QStringLiteral("Arquivo de versão grande demais"));
    if (erro != QNetworkReply::NoError) throw ErroQev(textoErro);
    if (ArquivoXmlWeb.scheme().startsWith(QLatin1String("http")) && (status < 200 || status > 299))
        throw ErroQev(QStringLiteral("Resposta HTTP %1").arg(status));
    return dados;
}

bool TZubVerificaVersaoSis::Execute(QWidget* pai) {
    m_versaoPublicada.clear();
    m_permiteContinuar = true;
    m_link.clear();
    m_atualizado = true;
    m_finalizacaoPedida = false;

    QByteArray documento;
    try {
        const CursorEspera espera;
        documento = baixa();
    } catch (const ErroQev&) {
        return false;  // no network, no server, no file: silent
    }

    PacoteDados pacote;
    {
        std::optional<QTemporaryDir> privada;
        QString pasta = m_pasta;
        if (pasta.isEmpty()) {
            privada.emplace();
            if (!privada->isValid()) return false;
            pasta = privada->path();
        }
        const ArquivoTemporario arquivo(pasta + QStringLiteral("/versis.xml"));
        QSaveFile f(arquivo.caminho());
        if (!f.open(QIODevice::WriteOnly) || f.write(documento) != documento.size() || !f.commit())
            return false;
        try {
            pacote = PacoteDados::leArquivo(arquivo.caminho());
        } catch (const ErroQev& e) {
            // The file came but is not a data packet: said once, and the check ends.
            MostraErroSimples(e.mensagem());
            return false;
        }
    }  // "versis.xml" is gone from here on

    try {
        return compara(pai, pacote);
    } catch (const ErroQev&) {
        return false;  // a field the file does not have: silent
    }
}

bool TZubVerificaVersaoSis::compara(QWidget* pai, const PacoteDados& pacote) {
    const QString sistema = QStringLiteral("Sistema");
    if (pacote.indice(sistema) < 0) throw ErroQev(QStringLiteral("Campo Sistema ausente"));
    int linha = -1;
    for (int i = 0; i < pacote.linhas.size() && linha < 0; ++i)
        if (pacote.valor(i, sistema).compare(SistemaSigla, Qt::CaseInsensitive) == 0) linha = i;
    if (linha < 0) return true;

    const QString publicada = campo(pacote, linha, QStringLiteral("Versao"));
    const bool permite =
        campo(pacote, linha, QStringLiteral("PermiteExecVersaoAntiga")) == QLatin1String("S");
    const QString link = campo(pacote, linha, QStringLiteral("LinkDownload"));
    m_versaoPublicada = publicada;
    // Character by character: both versions are written with two digits per part.
    m_atualizado = SistemaVersao >= publicada;
    m_permiteContinuar = permite;
    m_link = link;

    if (!m_atualizado) {
        TfrmZubAvisoVersao aviso(SistemaSigla, m_versaoPublicada, m_link, m_permiteContinuar, pai);
        Modal::executa(aviso);
        if (!m_permiteContinuar) m_finalizacaoPedida = true;
    }
    return true;
}
