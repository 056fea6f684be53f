#pragma once
#include <QString>
#include <QStringList>
#include <QVector>

// Reads an XML document and answers the texts of its elements by name.
class TUtilXML {
public:
    // Loads the document; throws ErroQev when the file cannot be read or is not XML.
    void CarregaArquivo(const QString& caminho);
    void CarregaTexto(const QByteArray& conteudo);
    // Every element of that name in document order, every text node of each,
    // trimmed and joined with ";". A missing element gives an empty text.
    QString ValorElemento(const QString& nome) const;

private:
    struct Elemento {
        QString nome;
        QStringList textos;
    };
    QVector<Elemento> m_elementos;
};
