#pragma once
#include <QObject>
#include <QSet>
#include <QString>
#include <QVariant>

#include "db/Banco.h"
#include "devices/Caracteristicas.h"

class RowSet;

// What the device module asks of the open device screen.
class TelaDispositivo {
public:
    virtual ~TelaDispositivo() = default;
    // Shows the guidance text of the theme of the device shown.
    virtual void MostraOrientacao(const QString& texto) = 0;
};

// The contract devices of the current operator.
// Created once at start, in its place of the start-up order, and kept for the run.
class TdmClausula : public QObject {
    Q_OBJECT
public:
    explicit TdmClausula(QObject* parent = nullptr);
    ~TdmClausula() override;
    static TdmClausula* instancia();

    // cdsClausula: every column of the current operator's devices, with the theme's
    // caption (LkpTipoClausula), the description of each characteristic value (the
    // look-up fields Caracteristicas::CampoLookup) and CalcTxPublicado
    // ("DISPOSITIVO PUBLICADO" for a published device, else empty).
    RowSet* cdsClausula() const { return m_cdsClausula; }
    // cdsLkpTipoClausula: every theme with calcTEMA, in display order (index IndOrdem).
    RowSet* cdsLkpTipoClausula() const { return m_cdsLkpTipoClausula; }
    // (Re)opens both for the current operator. Needs the code tables (TdmLookup).
    void AbreClausulas();

    // qryClausulaVinculo: the devices linked to some plan, read once per opening of
    // the device screen and searched in memory.
    void AbreVinculos();
    void LiberaVinculos();
    bool DispositivoVinculado(const QVariant& cdClausula) const;

    // The flag column ("LG_SEGMENTACAO") of the one characteristic a theme calls for,
    // or empty; reads the theme.
    QString CampoCaracteristica(const QVariant& tema);
    // Of the device shown (its theme was read when it became current).
    Caracteristica CaracteristicaAtual() const;
    // Whether the theme of the device shown is no longer in force.
    bool TemaAtualInativo() const;

    // The open device screen registers itself (nullptr unregisters), so that the
    // guidance of the theme of each device shown reaches it.
    void RegistraTelaDispositivo(TelaDispositivo* tela);

    // Order of the device report.
    enum class OrdemRelDisp { CodigoIdentificacao, OrdemTema };
    // qryRelDisp: the operator's devices joined to their themes (DE_TIPO_CLAUSULA,
    // NR_ORDEM_EXIBICAO, DT_PUBLICACAO_FIM, then every column of the device), of one theme
    // when `tema` is given, ordered by identification code or by the theme's display order.
    Resultado qryRelDisp(const QString& cdOper, const QVariant& tema = QVariant(),
                         OrdemRelDisp ordem = OrdemRelDisp::CodigoIdentificacao);
    // qryDispositivo: every theme.
    Resultado qryDispositivo();

    // How many times a theme was read for a device shown (one per device).
    int LeiturasTema() const { return m_leiturasTema; }

signals:
    // A device became current and its theme was read (or the set was emptied).
    void dispositivoMostrado();

private:
    void criaListas();
    void mostraDispositivo();

    RowSet* m_cdsClausula;
    RowSet* m_cdsLkpTipoClausula;
    QVector<RowSet*> m_listas;  // one per characteristic
    bool m_listasCriadas = false;
    QSet<qlonglong> m_vinculos;
    QVariant valorTema(const QString& coluna) const;

    Resultado m_temaAtual;  // the theme of the device shown (no row when unknown)
    QVariant m_temaLido;
    TelaDispositivo* m_tela = nullptr;
    int m_leiturasTema = 0;
};

inline TdmClausula* dmClausula() { return TdmClausula::instancia(); }
