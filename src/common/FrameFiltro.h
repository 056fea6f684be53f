#pragma once
#include <QFrame>
#include <QString>
#include <QVariantList>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QStackedWidget;
class QToolButton;
class CaixaData;
class CaixaNumero;
class RowSet;

// Filter builder: the user picks a column of a list and types a value; the frame
// shows the input that fits the column's kind, checks it and writes the condition
// that the screen adds to the WHERE clause of its statement. Every value the user
// typed travels as a bound parameter of the condition.
class TFrameFiltro : public QFrame {
    Q_OBJECT
public:
    enum class Tipo { Nenhum, Texto, Data, DataHora, Inteiro, Decimal, Lookup };

    // A condition with its parameters (positional, in order).
    struct Condicao {
        QString texto;
        QVariantList parametros;
        bool vazia() const { return texto.isEmpty(); }
    };

    explicit TFrameFiltro(QWidget* pai = nullptr);

    // Offers the captions of the row set's visible columns; no row set disables the list.
    void AssociaDados(RowSet* rowSet);
    // Chooses a column by name as if the user had picked it.
    void SelecionaCampo(const QString& nome);
    // Name of the upper-case function of case-insensitive conditions ("UPPER" unless set).
    void DefineFuncaoMaiusculas(const QString& nome);
    const QString& FuncaoMaiusculas() const { return m_funcao; }
    // Checks the period of the date kinds (shows the error and answers false); other kinds: true.
    bool ValidaFiltro();
    // The condition, or an empty one when the input is empty.
    Condicao MontaCondicao() const;
    void LimpaFiltro();

    // Joins a condition to a statement with " WHERE " (when it has none yet) or " and ".
    static void AcrescentaCondicao(QString& sql, QVariantList& parametros, const Condicao& condicao,
                                   bool temWhere);

    Tipo tipo() const { return m_tipo; }
    QString campoAtual() const;

    QComboBox* cmbCampos() const { return m_campos; }
    QLineEdit* edtTexto() const { return m_texto; }
    QCheckBox* chkMaiusculas() const { return m_maiusculas; }
    QCheckBox* chkQualquerParte() const { return m_qualquerParte; }
    CaixaData* edtDataInicial() const { return m_dataInicial; }
    CaixaData* edtDataFinal() const { return m_dataFinal; }
    QComboBox* cmbOperador() const { return m_operador; }
    CaixaNumero* edtNumero() const { return m_numero; }
    QToolButton* btnCalculadora() const { return m_calculadora; }
    QComboBox* cmbLookup() const { return m_lookup; }

private:
    void escolhe(int indiceLista);
    void conferePeriodo(CaixaData* caixa, const QString& mensagem);
    QString nomeCondicao() const;

    RowSet* m_rs = nullptr;
    QVector<int> m_camposLista;  // field of each item of the list
    int m_campo = -1;
    Tipo m_tipo = Tipo::Nenhum;
    QString m_funcao = QStringLiteral("UPPER");

    QComboBox* m_campos;
    QStackedWidget* m_paginas;
    QWidget* m_pagVazia;
    QWidget* m_pagTexto;
    QWidget* m_pagData;
    QWidget* m_pagNumero;
    QWidget* m_pagLookup;
    QLineEdit* m_texto;
    QCheckBox* m_maiusculas;
    QCheckBox* m_qualquerParte;
    CaixaData* m_dataInicial;
    CaixaData* m_dataFinal;
    QComboBox* m_operador;
    CaixaNumero* m_numero;
    QToolButton* m_calculadora;
    QComboBox* m_lookup = nullptr;
    QLayout* m_layoutLookup;
};
