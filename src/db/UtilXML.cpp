#include "db/UtilXML.h"

#include <QFile>
#include <QXmlStreamReader>

#include "db/Erro.h"

void TUtilXML::CarregaArquivo(const QString& caminho) {
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly))
        throw ErroQev(QStringLiteral("Não foi possível ler o arquivo \"%1\": %2")
                          .arg(caminho, f.errorString()));
    CarregaTexto(f.readAll());
}

void TUtilXML::CarregaTexto(const QByteArray& conteudo) {
    QVector<Elemento> elementos;
    QVector<int> abertos;  // indexes into `elementos` of the open elements
    QXmlStreamReader xml(conteudo);
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
            case QXmlStreamReader::StartElement:
                abertos.push_back(elementos.size());
                elementos.push_back({xml.name().toString(), {}});
                break;
            case QXmlStreamReader::EndElement:
                if (!abertos.isEmpty()) abertos.pop_back();
                break;
            case QXmlStreamReader::Characters:
                if (!abertos.isEmpty() && !xml.isWhitespace())
                    elementos[abertos.back()].textos << xml.text().toString().trimmed();
                break;
            default:
                break;
        }
    }
    if (xml.hasError())
        throw ErroQev(QStringLiteral("Documento XML inválido (linha %1): %2")
                          .arg(xml.lineNumber())
                          .arg(xml.errorString()));
    m_elementos = std::move(elementos);
}

QString TUtilXML::ValorElemento(const QString& nome) const {
    QStringList valores;
    for (const Elemento& e : m_elementos)
        if (e.nome == nome) valores << e.textos;
    return valores.join(QLatin1Char(';'));
}
