#include "common/Entradas.h"

#include <QEvent>
#include <QLabel>
#include <QVBoxLayout>
#include <QLocale>
#include <QMouseEvent>
#include <QRegularExpressionValidator>
#include <QTimer>

#include "common/Identificadores.h"
#include "db/Valores.h"

namespace {
class InicioSeVazio : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonPress) {
            auto* caixa = static_cast<QLineEdit*>(o);
            if (SomenteDigitos(caixa->text()).isEmpty())
                QTimer::singleShot(0, caixa, [caixa] { caixa->setCursorPosition(0); });
        }
        return false;
    }
};
}  // namespace

void CursorNoInicioSeVazio(QLineEdit* caixa) {
    caixa->installEventFilter(new InicioSeVazio(caixa));
}

QWidget* CelulaRotulada(QWidget* pai, const QString& rotulo, QWidget* campo, QLabel** rotuloCriado) {
    auto* w = new QWidget(pai);
    auto* l = new QVBoxLayout(w);
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(2);
    auto* r = new QLabel(rotulo, w);
    r->setBuddy(campo);
    l->addWidget(r);
    l->addWidget(campo);
    l->addStretch(1);
    if (rotuloCriado) *rotuloCriado = r;
    return w;
}

CaixaData::CaixaData(QWidget* pai) : QLineEdit(pai) {
    setInputMask(QStringLiteral("99/99/9999;_"));
    setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 16);
}

int CaixaData::digitos() const { return SomenteDigitos(text()).size(); }

QDate CaixaData::data() const {
    if (digitos() != 8) return QDate();
    return QDate::fromString(text(), QStringLiteral("dd/MM/yyyy"));
}

void CaixaData::defineData(const QDate& data) {
    if (data.isValid())
        setText(data.toString(QStringLiteral("dd/MM/yyyy")));
    else
        clear();
}

void CaixaData::mousePressEvent(QMouseEvent* e) {
    QLineEdit::mousePressEvent(e);
    if (vazia()) setCursorPosition(0);
}

CaixaNumero::CaixaNumero(int decimais, QWidget* pai) : QLineEdit(pai), m_decimais(decimais) {
    const QString padrao = decimais > 0 ? QStringLiteral("-?[0-9.]*(,[0-9]{0,%1})?").arg(decimais)
                                        : QStringLiteral("-?[0-9]*");
    setValidator(new QRegularExpressionValidator(QRegularExpression(padrao), this));
    setAlignment(Qt::AlignRight);
}

QVariant CaixaNumero::valor() const {
    QString t = text().trimmed();
    if (t.isEmpty()) return QVariant();
    bool ok = false;
    if (m_decimais == 0) {
        const qlonglong n = t.toLongLong(&ok);
        return ok ? QVariant(n) : QVariant();
    }
    t.remove(QLatin1Char('.')).replace(QLatin1Char(','), QLatin1Char('.'));
    const double d = t.toDouble(&ok);
    return ok ? QVariant(d) : QVariant();
}

void CaixaNumero::defineValor(const QVariant& v) {
    if (!v.isValid() || v.isNull()) {
        clear();
        return;
    }
    setText(m_decimais == 0 ? QString::number(v.toLongLong())
                            : ptBr().toString(v.toDouble(), 'f', m_decimais));
}

void CaixaNumero::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    if (m_decimais > 0) {
        const QVariant v = valor();
        if (v.isValid()) defineValor(v);
    }
}
