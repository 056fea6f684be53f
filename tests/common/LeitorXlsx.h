#pragma once
// Reads back the cells of an .xlsx file written by the program (tests only): the
// zip entries are inflated with zlib, the sheet and shared strings parsed as XML.
#include <zlib.h>

#include <QFile>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QXmlStreamReader>

namespace LeitorXlsx {

inline quint32 le32(const QByteArray& b, qsizetype i) {
    return quint8(b[i]) | quint8(b[i + 1]) << 8 | quint8(b[i + 2]) << 16 |
           quint32(quint8(b[i + 3])) << 24;
}
inline quint16 le16(const QByteArray& b, qsizetype i) {
    return quint16(quint8(b[i]) | quint8(b[i + 1]) << 8);
}

// Every entry of a zip file, by name.
inline QMap<QString, QByteArray> entradas(const QString& caminho) {
    QMap<QString, QByteArray> r;
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly)) return r;
    const QByteArray z = f.readAll();
    qsizetype fim = z.size() - 22;
    while (fim >= 0 && le32(z, fim) != 0x06054b50) --fim;
    if (fim < 0) return r;
    const int total = le16(z, fim + 10);
    qsizetype p = le32(z, fim + 16);
    for (int i = 0; i < total && le32(z, p) == 0x02014b50; ++i) {
        const int metodo = le16(z, p + 10);
        const quint32 comprimido = le32(z, p + 20), tamanho = le32(z, p + 24);
        const int n = le16(z, p + 28), extra = le16(z, p + 30), comentario = le16(z, p + 32);
        const quint32 local = le32(z, p + 42);
        const QString nome = QString::fromUtf8(z.mid(p + 46, n));
        const qsizetype dados = local + 30 + le16(z, local + 26) + le16(z, local + 28);
        QByteArray saida;
        if (metodo == 0) {
            saida = z.mid(dados, comprimido);
        } else {
            saida.resize(tamanho);
            z_stream s{};
            inflateInit2(&s, -MAX_WBITS);
            s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(z.constData() + dados));
            s.avail_in = comprimido;
            s.next_out = reinterpret_cast<Bytef*>(saida.data());
            s.avail_out = tamanho;
            inflate(&s, Z_FINISH);
            inflateEnd(&s);
        }
        r.insert(nome, saida);
        p += 46 + n + extra + comentario;
    }
    return r;
}

struct Planilha {
    QStringList nomesFolhas;
    QVector<QStringList> linhas;  // cells as text (numbers as written)
};

inline Planilha le(const QString& caminho) {
    Planilha p;
    const auto e = entradas(caminho);
    for (QXmlStreamReader x(e.value(QStringLiteral("xl/workbook.xml"))); !x.atEnd();)
        if (x.readNext() == QXmlStreamReader::StartElement && x.name() == QLatin1String("sheet"))
            p.nomesFolhas << x.attributes().value(QLatin1String("name")).toString();
    QStringList compartilhadas;
    for (QXmlStreamReader x(e.value(QStringLiteral("xl/sharedStrings.xml"))); !x.atEnd();) {
        x.readNext();
        if (x.isStartElement() && x.name() == QLatin1String("si")) compartilhadas << QString();
        if (x.isStartElement() && x.name() == QLatin1String("t"))
            compartilhadas.last() += x.readElementText();
    }
    QXmlStreamReader x(e.value(QStringLiteral("xl/worksheets/sheet1.xml")));
    QString tipo;
    int coluna = 0;
    while (!x.atEnd()) {
        x.readNext();
        if (!x.isStartElement()) continue;
        if (x.name() == QLatin1String("row")) {
            p.linhas.push_back({});
        } else if (x.name() == QLatin1String("c")) {
            tipo = x.attributes().value(QLatin1String("t")).toString();
            const QString ref = x.attributes().value(QLatin1String("r")).toString();
            coluna = 0;
            for (const QChar c : ref)
                if (c.isLetter()) coluna = coluna * 26 + (c.unicode() - 'A' + 1);
            --coluna;
        } else if (x.name() == QLatin1String("v")) {
            const QString v = x.readElementText();
            QStringList& l = p.linhas.last();
            while (l.size() <= coluna) l << QString();
            l[coluna] = tipo == QLatin1String("s") ? compartilhadas.value(v.toInt()) : v;
        }
    }
    return p;
}

}  // namespace LeitorXlsx
