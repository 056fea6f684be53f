#include "request/VUQ.h"

#include <QDir>
#include <QFileInfo>

#include "common/Erro.h"
#include "platform/Plataforma.h"
#include "request/UtilXML.h"

QDateTime ProtocoloVUQ::DataTransmissao() const {
    const QString t = dataTransmissao.trimmed();
    QDateTime dt = QDateTime::fromString(t, QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    if (!dt.isValid()) dt = QDateTime::fromString(t, QStringLiteral("dd/MM/yyyy HH:mm"));
    if (!dt.isValid()) {
        const QDate d = QDate::fromString(t, QStringLiteral("dd/MM/yyyy"));
        if (d.isValid()) dt = QDateTime(d, QTime(0, 0));
    }
    return dt;
}

QString TVUQ::CaminhoVUQ() {
    const QString caminho = Registro::valorVUQ(QStringLiteral("PATH"));
    const QFileInfo info(caminho);
    if (caminho.isEmpty() || !info.isFile())
        throw ErroQev(QStringLiteral(" O VUQ não está instalado ou sua instalação foi danificada!"));
    return info.absoluteFilePath();
}

QString TVUQ::PastaProtocolos() {
    return QFileInfo(CaminhoVUQ()).absolutePath() + QStringLiteral("/Protocolos/");
}

void TVUQ::LeProtocolo(const QString& nomeTransmissao) {
    m_protocolo = ProtocoloVUQ();
    TUtilXML xml;
    xml.CarregaArquivo(PastaProtocolos() + nomeTransmissao);
    m_protocolo.operadora = xml.ValorElemento(QStringLiteral("operadora"));
    m_protocolo.tipoArquivo = xml.ValorElemento(QStringLiteral("tipo_Arquivo"));
    m_protocolo.arquivo = xml.ValorElemento(QStringLiteral("arquivo"));
    m_protocolo.dataTransmissao = xml.ValorElemento(QStringLiteral("dataTransmissao"));
    m_protocolo.protocoloTX = xml.ValorElemento(QStringLiteral("protocoloTX"));
    m_protocolo.aplicativo = xml.ValorElemento(QStringLiteral("aplicativo"));
    m_protocolo.informacoesArquivo = xml.ValorElemento(QStringLiteral("informacoesArquivo"));
    m_protocolo.clienteTransmissao = xml.ValorElemento(QStringLiteral("clienteTransmissao"));
}

void TVUQ::ConfereProtocolo(const QString& nomeTransmissao) {
    if (!QFileInfo::exists(PastaProtocolos() + nomeTransmissao))
        throw ErroQev(QStringLiteral("Arquivo de protocolo não encontrado!"));
    LeProtocolo(nomeTransmissao);
}
