#pragma once
#include <QObject>
#include <QVariant>
#include <QVariantMap>

#include "db/Banco.h"

class RowSet;

// General table bindings: the operators table, read in table order, whose current
// row is the current operator. The operator screens edit that row through the
// edit buffer below (insert a new row or edit the current one, then save or cancel).
class TDMZemlo : public QObject {
    Q_OBJECT
public:
    enum class Estado { Navegacao, Insercao, Edicao };

    // Opens the operators table and fills the current-operator object from its
    // first row.
    explicit TDMZemlo(QObject* parent = nullptr);
    ~TDMZemlo() override;
    static TDMZemlo* instancia();

    // Closes and reopens the operators table; the first row becomes current.
    void ReabreOperadoras();
    // Moves to the row of that code; false (and no move) when there is none.
    bool LocalizaOperadora(const QString& cdOper);
    bool OperadorasVazia() const { return m_operadoras.vazio(); }
    int NumOperadoras() const { return m_operadoras.numLinhas(); }
    // The rows as read, in table order, and the index of the current one.
    const Resultado& Operadoras() const { return m_operadoras; }
    int LinhaAtual() const { return m_atual; }

    // Value of a column of the current row: while a row is being inserted or edited,
    // the value in the edit buffer; otherwise the stored one (invalid when none).
    QVariant CampoOperadora(const QString& coluna) const;
    // Value of a column of the current row as stored (ignores the edit buffer).
    QVariant CampoGravado(const QString& coluna) const;

    Estado EstadoOperadora() const { return m_estado; }
    // Starts a new, empty row.
    void InsereOperadora();
    // Puts the current row in edit mode (nothing happens when the table is empty).
    void EditaOperadora();
    // Sets a column of the row being inserted or edited.
    void DefineCampoOperadora(const QString& coluna, const QVariant& valor);
    // Writes the row being inserted or edited, reopens the table and makes that row
    // current. On failure the error reaches the caller and the row stays in edit.
    void GravaOperadora();
    // Discards the changes: a new row is dropped, the current row stays as it was.
    void CancelaOperadora();

    // The selections of the batch network linking, in memory: the chosen establishments
    // (IdEstbSaud, CnpjHospital, NomeHospital, LG_URGENCIA_EMERGENCIA, CNES, CD_UF,
    // ID_MUNC; in CNPJ order) and the chosen plans (CodOperadora, SeqProduto,
    // NomeProduto, CodProduto, cd_segmentacao, cd_abrangencia; in plan-number order).
    RowSet* cdsHospitais() const { return m_hospitais; }
    RowSet* cdsProdutos() const { return m_produtos; }

signals:
    // The current row, or what is known about it, changed.
    void operadoraMudou();

private:
    void leOperadoras();

    Resultado m_operadoras;
    int m_atual = 0;
    Estado m_estado = Estado::Navegacao;
    QVariantMap m_buffer;  // columns set in the edit buffer (upper-case names)
    RowSet* m_hospitais;
    RowSet* m_produtos;
};

inline TDMZemlo* DMZemlo() { return TDMZemlo::instancia(); }
