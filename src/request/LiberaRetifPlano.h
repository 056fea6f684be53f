#pragma once
#include <QObject>
#include <QSet>
#include <QString>
#include <QVariantList>

#include "db/RowSet.h"
#include "request/ListaPlanos.h"

class Banco;

// What the release screen does, without its window: the sent plans (status 1), and
// their release for rectification (status 2), all selected plans in one transaction.
class TLiberaRetifPlano : public QObject {
    Q_OBJECT
public:
    explicit TLiberaRetifPlano(Banco& banco, QObject* pai = nullptr);

    RowSet& cdsPlanos() { return m_planos; }
    // "SELECT * FROM TB_PLANOS WHERE CD_STATUS_ENVIO = 1", with the filter joined by " and ".
    void AbreLista(const QString& filtro = QString(), const QVariantList& parametros = {});
    // Status 2 for the selected plans (physical rows), written at once, all or nothing;
    // then the list is read again (the released plans leave it). A failure leaves the
    // list as it was and throws.
    void Libera(const QSet<int>& selecionadas);

private:
    Banco& m_banco;
    ListaPlanos m_lista;
    RowSet m_planos;
    QString m_filtro;
    QVariantList m_parametros;
};
