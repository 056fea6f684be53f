#pragma once
#include <QObject>
#include <QString>
#include <QVariant>
#include <QVector>

#include "db/Banco.h"

// A two-column list: key and display text.
struct ListaFixa {
    struct Item {
        QVariant Codigo;
        QString Descricao;
    };
    QVector<Item> itens;
    // The description of a code, empty when the code is not in the list.
    QString Descricao(const QVariant& codigo) const;
};

// Code tables read once at start, and the short fixed lists of the program.
class TdmLookup : public QObject {
    Q_OBJECT
public:
    explicit TdmLookup(QObject* parent = nullptr);
    ~TdmLookup() override;
    static TdmLookup* instancia();

    Resultado cdsTipoFinanciamento;
    Resultado cdsTipoContrato;
    Resultado cdsAbrangencia;
    Resultado cdsSegmentacao;
    Resultado cdsTipoContratoAutogestao;
    Resultado cdsSegmentacaoOdonto;
    Resultado cdsClassificacaoOperadora;

    ListaFixa cdsLkpPadraoAcomodacao;
    ListaFixa cdsLkpFaixaEtaria;
    ListaFixa cdsLkpCoberturaAdicional;
    ListaFixa cdsLkpFormaAcesso;
    ListaFixa cdsLkpFatorModerador;
    ListaFixa cdsLkpSetorial;
};

inline TdmLookup* dmLookup() { return TdmLookup::instancia(); }
