#include "reports/UtilRelatorios.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>

#include "db/Mascara.h"
#include "db/Banco.h"

namespace UtilRelatorios {

QString Data(const QVariant& valor, bool comHora) {
    if (Vazio(valor)) return QString();
    if (valor.typeId() == QMetaType::QDate) return valor.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    if (valor.typeId() == QMetaType::QDateTime) {
        const QDateTime d = valor.toDateTime();
        return comHora && d.time() != QTime(0, 0) ? d.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"))
                                                  : d.date().toString(QStringLiteral("dd/MM/yyyy"));
    }
    // Stored text "yyyy-MM-dd", with " HH:mm:ss" (or "T...") for a moment: rearranged as
    // text, without time-zone work (a long list has hundreds of thousands of dates).
    const QString t = valor.toString().trimmed();
    const auto digitos = [&](int de, int n) {
        for (int i = de; i < de + n; ++i)
            if (i >= t.size() || !t[i].isDigit()) return false;
        return true;
    };
    if (!(t.size() >= 10 && digitos(0, 4) && t[4] == QLatin1Char('-') && digitos(5, 2) &&
          t[7] == QLatin1Char('-') && digitos(8, 2)))
        return t;
    QString r = t.mid(8, 2) + QLatin1Char('/') + t.mid(5, 2) + QLatin1Char('/') + t.left(4);
    if (comHora && t.size() >= 19 && digitos(11, 2) && digitos(14, 2) && digitos(17, 2) &&
        QStringView(t).mid(11, 8) != QLatin1String("00:00:00"))
        r += QLatin1Char(' ') + t.mid(11, 8);
    return r;
}

QString Contagem(qlonglong n) { return QLocale(QLocale::Portuguese, QLocale::Brazil).toString(n); }

bool Vazio(const QVariant& valor) {
    return !valor.isValid() || valor.isNull() || valor.toString().trimmed().isEmpty();
}

QString Descricao(const Resultado& tabela, const QVariant& codigo) {
    if (Vazio(codigo)) return QString();
    const QString chave = codigo.toString();
    for (const QVariantList& l : tabela.linhas)
        if (l.value(0).toString() == chave) return l.value(1).toString();
    return QString();
}

QString MunicipioUf(const QVariant& municipio, const QVariant& uf) {
    if (Vazio(municipio) && Vazio(uf)) return QString();
    return municipio.toString() + QStringLiteral(" - ") + uf.toString();
}

QString MascaraDocumento::Aplica(const QString& documento) {
    if (documento.size() == 14) m_cnpj = true;
    else if (documento.size() == 11) m_cnpj = false;
    return AplicaMascara(documento, QString::fromLatin1(m_cnpj ? MascaraCnpj : MascaraCpf));
}

}  // namespace UtilRelatorios
