#include "db/PacoteDados.h"

#include <QFile>
#include <QSaveFile>
#include <QXmlStreamReader>

#include "db/Erro.h"

namespace {
[[noreturn]] void invalido(const QString& motivo) {
    throw ErroQev(QStringLiteral("Pacote de dados inválido: %1").arg(motivo));
}

QString escapa(const QString& s) {
    QString r;
    r.reserve(s.size() + 8);
    for (const QChar c : s) {
        switch (c.unicode()) {
            case '&': r += QLatin1String("&amp;"); break;
            case '<': r += QLatin1String("&lt;"); break;
            case '>': r += QLatin1String("&gt;"); break;
            case '"': r += QLatin1String("&quot;"); break;
            case '\'': r += QLatin1String("&apos;"); break;
            case '\n': r += QLatin1String("&#10;"); break;
            case '\r': r += QLatin1String("&#13;"); break;
            case '\t': r += QLatin1String("&#9;"); break;
            default: r += c;
        }
    }
    return r;
}
}  // namespace

PacoteDados PacoteDados::le(const QByteArray& xml) {
    PacoteDados p;
    QXmlStreamReader r(xml);
    if (!r.readNextStartElement() || r.name() != QLatin1String("DATAPACKET"))
        invalido(QStringLiteral("elemento DATAPACKET ausente"));
    bool temMetadados = false;
    while (r.readNextStartElement()) {
        if (r.name() == QLatin1String("METADATA")) {
            temMetadados = true;
            while (r.readNextStartElement()) {
                if (r.name() == QLatin1String("FIELDS")) {
                    while (r.readNextStartElement()) {
                        if (r.name() == QLatin1String("FIELD")) {
                            const auto a = r.attributes();
                            Campo c;
                            c.nome = a.value(QLatin1String("attrname")).toString();
                            if (c.nome.isEmpty()) invalido(QStringLiteral("campo sem nome"));
                            c.tipo = a.value(QLatin1String("fieldtype")).toString();
                            c.largura = a.value(QLatin1String("WIDTH")).toInt();
                            p.campos.push_back(c);
                        }
                        r.skipCurrentElement();
                    }
                } else {
                    r.skipCurrentElement();
                }
            }
        } else if (r.name() == QLatin1String("ROWDATA")) {
            if (!temMetadados) invalido(QStringLiteral("ROWDATA antes de METADATA"));
            while (r.readNextStartElement()) {
                if (r.name() == QLatin1String("ROW")) {
                    const auto a = r.attributes();
                    QStringList linha;
                    linha.reserve(p.campos.size());
                    for (const Campo& c : std::as_const(p.campos))
                        linha << (a.hasAttribute(c.nome) ? a.value(c.nome).toString() : QString());
                    p.linhas.push_back(std::move(linha));
                }
                r.skipCurrentElement();
            }
        } else {
            r.skipCurrentElement();
        }
    }
    if (r.hasError()) invalido(r.errorString());
    if (!temMetadados) invalido(QStringLiteral("elemento METADATA ausente"));
    return p;
}

PacoteDados PacoteDados::leArquivo(const QString& caminho) {
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly))
        throw ErroQev(QStringLiteral("Não foi possível ler o arquivo \"%1\": %2")
                          .arg(caminho, f.errorString()));
    return le(f.readAll());
}

QByteArray PacoteDados::escreve() const {
    QString s = QStringLiteral("<?xml version=\"1.0\" standalone=\"yes\"?>\n"
                               "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS>");
    for (const Campo& c : campos) {
        s += QStringLiteral("<FIELD attrname=\"%1\" fieldtype=\"%2\"").arg(escapa(c.nome), escapa(c.tipo));
        if (c.largura > 0) s += QStringLiteral(" WIDTH=\"%1\"").arg(c.largura);
        s += QStringLiteral("/>");
    }
    s += QStringLiteral("</FIELDS><PARAMS/></METADATA><ROWDATA>\n");
    for (const QStringList& l : linhas) {
        s += QStringLiteral("<ROW");
        for (int i = 0; i < campos.size() && i < l.size(); ++i)
            if (!l[i].isNull()) s += QStringLiteral(" %1=\"%2\"").arg(campos[i].nome, escapa(l[i]));
        s += QStringLiteral("/>\n");
    }
    s += QStringLiteral("</ROWDATA></DATAPACKET>\n");
    return s.toUtf8();
}

void PacoteDados::gravaArquivo(const QString& caminho) const {
    QSaveFile f(caminho);
    if (!f.open(QIODevice::WriteOnly) || f.write(escreve()) < 0 || !f.commit())
        throw ErroQev(QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2")
                          .arg(caminho, f.errorString()));
}

int PacoteDados::indice(const QString& campo) const {
    for (int i = 0; i < campos.size(); ++i)
        if (campos[i].nome.compare(campo, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QString PacoteDados::valor(int linha, const QString& campo) const {
    const int i = indice(campo);
    return i < 0 ? QString() : linhas.at(linha).value(i);
}
