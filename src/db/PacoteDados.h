#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// The tabular XML data packet of in-memory row sets:
// <DATAPACKET Version="2.0"><METADATA><FIELDS><FIELD attrname=".." fieldtype=".." WIDTH=".."/>
// ...</FIELDS><PARAMS/></METADATA><ROWDATA><ROW F1=".." F2=".."/>...</ROWDATA></DATAPACKET>
class PacoteDados {
public:
    struct Campo {
        QString nome;
        QString tipo = QStringLiteral("string");
        int largura = 0;
    };

    QVector<Campo> campos;
    // One list per row, one value per field in field order; a missing attribute
    // is a null QString.
    QVector<QStringList> linhas;

    // Parses a packet; throws ErroQev when the text is not a well-formed packet.
    static PacoteDados le(const QByteArray& xml);
    static PacoteDados leArquivo(const QString& caminho);
    QByteArray escreve() const;
    // Writes the packet to a file; throws ErroQev when it cannot be written.
    void gravaArquivo(const QString& caminho) const;

    int indice(const QString& campo) const;
    QString valor(int linha, const QString& campo) const;
};
