#pragma once
#include <QObject>
#include <QString>

class RowSet;
class TdmInfoPlano;

// The plan screen's working list of registration-tax documents (cdsTmpTaxaRegistro):
// loaded from the plan's stored documents, edited on the "Taxa" tab, checked by the
// save and written back into the stored set inside the save's transaction.
class TTaxasTemporarias : public QObject {
    Q_OBJECT
public:
    explicit TTaxasTemporarias(TdmInfoPlano* dm, QObject* parent = nullptr);

    // Fields: cd_oper, seq_plano, id_plano_taxa_Registro, nr_documento_taxa (the one shown).
    RowSet* cdsTmpTaxaRegistro() const { return m_lista; }
    bool Carregada() const;

    // Reopens the plan's stored documents and, unless a row of the list is being typed,
    // rebuilds the list from them; the new-identifier counter starts again.
    void CarregaTaxasTemporarias(const QString& cdOper, qlonglong seqPlano);
    // Empties the list (a new plan); the counter keeps its value.
    void Recria();
    // The identifier of a new document: the table's largest plus one once after a load,
    // then counted.
    qlonglong ProximoIdTaxa();

    // A new row at the current position for the plan, with its identifier.
    void NovaTaxa(const QString& cdOper, qlonglong seqPlano);
    // Posts the row being typed (its number upper-cased; checked with messages after).
    void Grava();
    // Posts the row being typed (the check after the post shows its message) and checks it
    // again silently; false when it fails.
    bool GravaEConfere();
    // Every row passes the tax-document check silently (blank rows fail).
    bool TaxasValidas();
    // Writes the list into the stored set of the plan: documents changed or appended
    // (a new one takes a fresh identifier from `proximoId`, counted up), stored ones no
    // longer in the list deleted. The caller applies the stored set.
    void GravaTaxas(const QString& cdOper, qlonglong seqPlano, qlonglong proximoId);

private:
    TdmInfoPlano* m_dm;
    RowSet* m_lista;
    qlonglong m_contador = 0;
    bool m_silencioso = false;
};
