#pragma once
#include <QElapsedTimer>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>

#include "db/Transacao.h"

class Banco;
class ComandoPreparado;

// The columns an import writes into TB_ESTAB_SAUDE. On insert a null column stays
// empty; on update the columns marked "kept when null" keep their stored value.
struct DadosEstab {
    QVariant cnpj;
    QVariant nome;
    QVariant tipoEstab;        // kept when null
    QVariant municipio;        // kept when null
    QVariant tipoContrato;
    QVariant cnes;             // kept when null
    QVariant dataContrato;     // kept when null
    QVariant dataVinculo;      // kept when null
    QVariant classificacao;
    QVariant classificadoZub;  // "N" unless copied from elsewhere
    QVariant intermediaria;
    QVariant disponibilidade;
    QVariant urgencia;
};

// Writes the establishments an import accepts. Each one is written at once, inside a
// transaction committed in batches (every `linhas` establishments or `ms` of work),
// so a large import touches the disk a few times instead of once per line, and a
// failure or a killed program loses at most the batch not yet committed. The caller
// commits what is open with Confirma() at the end and before reporting a failure.
//
// New identifiers are the table's largest plus one, read inside the batch's
// transaction (no other copy can write meanwhile) and then counted on.
class GravadorEstab {
public:
    GravadorEstab(Banco& banco, QString cdOper);
    ~GravadorEstab();  // a batch left open (Confirma was not reached) is rolled back
    GravadorEstab(const GravadorEstab&) = delete;
    GravadorEstab& operator=(const GravadorEstab&) = delete;

    void DefineLote(int linhas, int ms);
    // Takes the batch's write transaction now (BEGIN IMMEDIATE) unless one is open:
    // called before the checks that decide what a line writes (is it a duplicate? which
    // establishment does it update?), so that no other copy can write between the check
    // and the write.
    void Inicia() { garante(); }
    // Called after every commit with the establishments written so far.
    std::function<void(qlonglong gravados)> aoConfirmar;

    // Inserts a new establishment (LG_HOSPITAL_INCLUIDO = "N", CD_OPER = the operator);
    // returns its identifier.
    qlonglong Insere(const DadosEstab& d);
    // The establishment with that CNPJ/CPF (and CNES, when given) with the smallest
    // identifier, looked up inside the batch's transaction.
    std::optional<qlonglong> Localiza(const QString& cnpj, const QString& cnes);
    void Atualiza(qlonglong id, const DadosEstab& d);
    // Commits the batch when it is full or has lasted long enough (call once per line).
    void Marca();
    // Commits the open batch, if this writer opened it.
    void Confirma();
    // Runs the import's work and commits what it wrote at the end, and also when it fails
    // (what was accepted before the failure stays); the failure is raised again.
    void Executa(const std::function<void()>& trabalho);

    qlonglong Gravados() const { return m_gravados; }
    qlonglong Confirmados() const { return m_confirmados; }

private:
    void garante();
    Banco& m_banco;
    QString m_cdOper;
    int m_limiteLinhas = 10000;
    int m_limiteMs = 1000;
    std::optional<TransacaoEscopo> m_lote;  // the open batch
    int m_noLote = 0;
    qlonglong m_proximoId = 0;  // 0: read it again
    qlonglong m_gravados = 0;
    qlonglong m_confirmados = 0;
    QElapsedTimer m_inicioLote;
    std::unique_ptr<ComandoPreparado> m_insere;
    std::unique_ptr<ComandoPreparado> m_atualiza;
    std::unique_ptr<ComandoPreparado> m_localiza;
    std::unique_ptr<ComandoPreparado> m_localizaCnes;
};
