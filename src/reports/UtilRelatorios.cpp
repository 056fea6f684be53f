#include "reports/UtilRelatorios.h"

#include <QDateTime>
#include <QLocale>

#include "common/Mascara.h"
#include "db/Banco.h"

namespace UtilRelatorios {

QString Data(const QVariant& valor, bool comHora) {
    if (Vazio(valor)) return QString();
    QDateTime d;
    if (valor.typeId() == QMetaType::QDate) d = QDateTime(valor.toDate(), QTime(0, 0));
    else d = Banco::lerDataHora(valor);
    if (!d.isValid()) return valor.toString();
    if (comHora && d.time() != QTime(0, 0)) return d.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    return d.date().toString(QStringLiteral("dd/MM/yyyy"));
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

QString MascaraDocumento::Aplica(const QString& documento) {
    if (documento.size() == 14) m_cnpj = true;
    else if (documento.size() == 11) m_cnpj = false;
    return AplicaMascara(documento, QString::fromLatin1(m_cnpj ? MascaraCnpj : MascaraCpf));
}

}  // namespace UtilRelatorios
