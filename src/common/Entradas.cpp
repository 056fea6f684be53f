#include "common/Entradas.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFontMetricsF>
#include <QLabel>
#include <QVBoxLayout>
#include <QLocale>
#include <QPointer>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTimer>
#include <QtMath>

#include "common/Identificadores.h"
#include "db/Valores.h"

namespace {

const char kCursorNoInicio[] = "qevCursorNoInicio";

// Position of the first character the user types into a mask ("99/99/9999" → 0,
// "(99) 9999" → 1): literals before it are skipped.
int primeiraPosicaoEditavel(const QString& mascara) {
    int posicao = 0;
    const QString m = mascara.section(QLatin1Char(';'), 0, 0);
    for (qsizetype i = 0; i < m.size(); ++i) {
        const QChar c = m.at(i);
        if (c == QLatin1Char('>') || c == QLatin1Char('<') || c == QLatin1Char('!')) continue;
        if (c == QLatin1Char('\\')) {
            ++i;  // an escaped literal
            ++posicao;
            continue;
        }
        if (QStringLiteral("AaNnXx9D0dHhBb#").contains(c)) return posicao;
        ++posicao;
    }
    return 0;
}

bool semConteudo(const QLineEdit* caixa) {
    for (const QChar c : caixa->text())
        if (c.isLetterOrNumber()) return false;
    return true;
}

// A click into, or the focus entering, a box with nothing typed yet puts the cursor
// where typing starts, wherever the mouse was: digits never land at the end.
class CursorDasCaixasVazias : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* o, QEvent* e) override {
        const auto tipo = e->type();
        if (tipo != QEvent::MouseButtonPress && tipo != QEvent::MouseButtonRelease &&
            tipo != QEvent::FocusIn)
            return false;
        auto* caixa = qobject_cast<QLineEdit*>(o);
        if (!caixa || (caixa->inputMask().isEmpty() && !caixa->property(kCursorNoInicio).toBool()))
            return false;
        if (!semConteudo(caixa)) return false;
        const QPointer<QLineEdit> alvo(caixa);
        QTimer::singleShot(0, caixa, [alvo] {
            if (alvo && semConteudo(alvo))
                alvo->setCursorPosition(primeiraPosicaoEditavel(alvo->inputMask()));
        });
        return false;
    }
};

}  // namespace

void InstalaCursorDasCaixasVazias(QCoreApplication* aplicacao) {
    aplicacao->installEventFilter(new CursorDasCaixasVazias(aplicacao));
}

void CursorNoInicioSeVazio(QLineEdit* caixa) { caixa->setProperty(kCursorNoInicio, true); }

ListaLarguraFixa::ListaLarguraFixa(int caracteres, QWidget* pai) : QComboBox(pai), m_caracteres(caracteres) {}

QSize ListaLarguraFixa::sizeHint() const {
    // as the toolkit sizes a list by its minimum contents length with an icon
    const QFontMetrics& fm = fontMetrics();
    QSize sh(m_caracteres * fm.horizontalAdvance(QLatin1Char('X')) + iconSize().width() + 4,
             qMax(qMax(qCeil(QFontMetricsF(fm).height()), 14) + 2, iconSize().height() + 2));
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    return style()->sizeFromContents(QStyle::CT_ComboBox, &opt, sh, this);
}

QSize ListaLarguraFixa::minimumSizeHint() const { return sizeHint(); }

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
