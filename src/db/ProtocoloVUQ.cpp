#include "db/ProtocoloVUQ.h"

#include <QFileInfo>

#include "db/DmConexao.h"
#include "db/Erro.h"
#include "db/UtilXML.h"
#include "platform/Plataforma.h"

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

QString ProtocoloVUQ::ProtocoloNormalizado() const {
    return TDmConexao::NormalizaProtocolo(protocoloTX);
}

ProtocoloVUQ ProtocoloVUQ::Le(const QString& caminho) {
    TUtilXML xml;
    xml.CarregaArquivo(caminho);
    ProtocoloVUQ p;
    p.operadora = xml.ValorElemento(QStringLiteral("operadora"));
    p.tipoArquivo = xml.ValorElemento(QStringLiteral("tipo_Arquivo"));
    p.arquivo = xml.ValorElemento(QStringLiteral("arquivo"));
    p.dataTransmissao = xml.ValorElemento(QStringLiteral("dataTransmissao"));
    p.protocoloTX = xml.ValorElemento(QStringLiteral("protocoloTX"));
    p.aplicativo = xml.ValorElemento(QStringLiteral("aplicativo"));
    p.informacoesArquivo = xml.ValorElemento(QStringLiteral("informacoesArquivo"));
    p.clienteTransmissao = xml.ValorElemento(QStringLiteral("clienteTransmissao"));
    const QString numero = p.ProtocoloNormalizado();
    if (numero.trimmed().isEmpty())
        throw ErroQev(QStringLiteral("O arquivo de protocolo não traz o número do protocolo."));
    if (numero.size() > kTamanhoProtocolo)
        throw ErroQev(QStringLiteral("O número de protocolo \"%1\" tem %2 caracteres; o sistema "
                                     "guarda no máximo %3.")
                          .arg(numero)
                          .arg(numero.size())
                          .arg(kTamanhoProtocolo));
    if (!p.DataTransmissao().isValid())
        throw ErroQev(QStringLiteral("A data de transmissão \"%1\" do arquivo de protocolo não "
                                     "é uma data válida.")
                          .arg(p.dataTransmissao));
    return p;
}

QString CaminhoVUQ() {
    const QString caminho = Registro::valorVUQ(QStringLiteral("PATH"));
    const QFileInfo info(caminho);
    if (caminho.isEmpty() || !info.isFile())
        throw ErroQev(
            QStringLiteral(" O VUQ não está instalado ou sua instalação foi danificada!"));
    return info.absoluteFilePath();
}

QString PastaProtocolosVUQ() {
    return QFileInfo(CaminhoVUQ()).absolutePath() + QStringLiteral("/Protocolos/");
}
