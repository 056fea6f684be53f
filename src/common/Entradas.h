#pragma once
#include <QComboBox>
#include <QDate>
#include <QLineEdit>

class QCoreApplication;
class QLabel;

// Input boxes shared by the screens.

// Date box "dd/mm/yyyy": only digits can be typed.
class CaixaData : public QLineEdit {
    Q_OBJECT
public:
    explicit CaixaData(QWidget* pai = nullptr);
    // The date typed; invalid while incomplete or impossible.
    QDate data() const;
    void defineData(const QDate& data);
    // How many digits were typed (8 = complete).
    int digitos() const;
    bool vazia() const { return digitos() == 0; }
};

// Number box with a fixed number of decimals: a whole number takes only digits
// (and a leading minus); a decimal is typed with "," and shown "###.###.##0,00"
// when the box is left.
class CaixaNumero : public QLineEdit {
    Q_OBJECT
public:
    explicit CaixaNumero(int decimais, QWidget* pai = nullptr);
    int decimais() const { return m_decimais; }
    bool vazia() const { return text().trimmed().isEmpty(); }
    // The value typed; invalid when empty or not a number.
    QVariant valor() const;
    void defineValor(const QVariant& valor);

protected:
    void focusOutEvent(QFocusEvent* e) override;

private:
    int m_decimais;
};

// A list as wide as `caracteres` characters and an icon, whatever its items hold: the
// size of QComboBox::AdjustToMinimumContentsLengthWithIcon, without that policy building
// the popup (a list view, its model connections and frame) long before it is opened.
class ListaLarguraFixa : public QComboBox {
public:
    explicit ListaLarguraFixa(int caracteres, QWidget* pai = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    int m_caracteres;
};

// Installed once by the application: a click into, or the focus entering, a masked
// box with nothing typed puts the cursor at the first position typing fills.
void InstalaCursorDasCaixasVazias(QCoreApplication* aplicacao);
// The same for a box without a mask.
void CursorNoInicioSeVazio(QLineEdit* caixa);

// A label above its field (the label's buddy), as one widget; the label is handed
// back when asked.
QWidget* CelulaRotulada(QWidget* pai, const QString& rotulo, QWidget* campo,
                        QLabel** rotuloCriado = nullptr);
