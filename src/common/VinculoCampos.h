#pragma once
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QVector>
#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QWidget;
class CaixaData;
class RowSet;

// Binds input boxes to fields of a row set: each box shows its field of the
// current row and, while the row is being inserted or edited, writes what the
// user types into it.
class VinculoCampos : public QObject {
    Q_OBJECT
public:
    explicit VinculoCampos(RowSet* rowSet, QObject* pai = nullptr);

    // How a text box shows a value and turns its text back into one.
    struct Conversao {
        std::function<QString(const QVariant&)> paraTexto;
        std::function<QVariant(const QString&)> deTexto;
    };
    // Text box (the field's display text unless a conversion is given).
    void liga(QLineEdit* caixa, const QString& campo, Conversao conversao = {});
    // Date box: empty = null, a complete valid date = that date, anything else = null.
    void liga(CaixaData* caixa, const QString& campo);
    // List whose items carry the field's values as item data; no item = null.
    void liga(QComboBox* lista, const QString& campo);
    void liga(QCheckBox* caixa, const QString& campo, const QVariant& marcado,
              const QVariant& desmarcado);

    // Shows the current row in every box.
    void Atualiza();
    // The box bound to a field (the first one), or nullptr.
    QWidget* caixaDoCampo(const QString& campo) const;

private:
    struct Ligacao {
        QPointer<QWidget> caixa;
        int campo = -1;
        std::function<void()> mostra;
    };
    int indice(const QString& campo) const;
    void grava(QWidget* origem, int campo, const QVariant& valor);
    void mostraCampo(int campo);

    RowSet* m_rs;
    QVector<Ligacao> m_ligacoes;
    QWidget* m_gravando = nullptr;
};
