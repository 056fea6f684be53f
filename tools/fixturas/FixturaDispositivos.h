#pragma once
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

class Banco;

// Contract devices and their links to plans, written into a test or benchmark database.
// The system offers no way to create them: they arrive with the database.
namespace FixturaDispositivos {

// A device of TB_CLAUSULA_OPERADORA; what is left empty is stored as NULL.
struct Dispositivo {
    qlonglong codigo = 0;  // CD_CLAUSULA_OPERADORA
    QString cdOper;
    qlonglong tema = 0;  // CD_TIPO_CLAUSULA
    QString identificacao;  // CD_IDENTIFICACAO_TEXTO
    QString descricao;      // DE_CLAUSULA_OPERADORA
    QString texto;          // TX_CLAUSULA_OPERADORA
    // Characteristic values by column ("CD_SEGMENTACAO" -> 2, "CD_FATOR_MODERADOR" -> "C").
    QVariantMap valores;
    QVariant statusEnvio;  // CD_STATUS_ENVIO
    QVariant publicado;    // CD_PUBLICADO
};
void insere(Banco& banco, const Dispositivo& d);

// Links a device to a plan (RL_PLANO_CLAUSULA).
void vincula(Banco& banco, const QString& cdOper, qlonglong seqPlano, qlonglong cdClausula);

// A theme of TA_TIPO_CLAUSULA; replaces the row of the same code.
struct Tema {
    qlonglong codigo = 0;
    QString nome;
    QString orientacao;  // TX_TIPO_CLAUSULA
    int ordem = 0;       // NR_ORDEM_EXIBICAO
    bool obrigatorio = false;
    QStringList flags;  // the characteristic flags set to "S" ("LG_SEGMENTACAO", ...)
    QDate fim;          // DT_PUBLICACAO_FIM; invalid = in force
};
void insereTema(Banco& banco, const Tema& t);

struct Resumo {
    int dispositivos = 0;
    int vinculos = 0;
};
// Gives the operator a catalogue of devices over the themes of the database (for a theme
// that calls for a characteristic, one device per value of it; two for the others) and
// links each of the operator's plans to the devices its contract would carry: every
// mandatory theme in force and the usual ones, theme 26 for collective plans, theme 19
// when the plan has free-choice items, the age bands. Most devices fit their plan; a
// few, chosen by `semente`, do not, and a few plans also carry a device of a theme no
// longer in force. The plans of `semDispositivos` get none. One transaction.
Resumo geraParaPlanos(Banco& banco, const QString& cdOper, quint32 semente = 20240615,
                      const QList<qlonglong>& semDispositivos = {});

}  // namespace FixturaDispositivos
