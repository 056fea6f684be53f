#pragma once
#include <QObject>
#include <QVariant>

#include "db/Banco.h"

// General table bindings: the operators table whose current row is the current
// operator, read in table order.
class TDMZemlo : public QObject {
    Q_OBJECT
public:
    explicit TDMZemlo(QObject* parent = nullptr);
    ~TDMZemlo() override;
    static TDMZemlo* instancia();

    // Closes and reopens the operators table; the first row becomes current.
    void ReabreOperadoras();
    // Moves to the row of that code; false (and no move) when there is none.
    bool LocalizaOperadora(const QString& cdOper);
    bool OperadorasVazia() const { return m_operadoras.vazio(); }
    int NumOperadoras() const { return m_operadoras.numLinhas(); }
    // Value of a column of the current operator row (invalid when there is none).
    QVariant CampoOperadora(const QString& coluna) const;

signals:
    void operadoraMudou();

private:
    Resultado m_operadoras;
    int m_atual = 0;
};

inline TDMZemlo* DMZemlo() { return TDMZemlo::instancia(); }
