#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QSet>
#include <QString>
#include <QVector>
#include <functional>
#include <memory>

#include "network/GravadorEstab.h"

class Banco;
class ComandoPreparado;
class LeitorWin1252;
class TDmExportacao;

// One problem of a line of the import file: the field label and the message of a
// row of the load-error list.
struct ErroLinha {
    QString campo;
    QString mensagem;
    bool operator==(const ErroLinha& o) const { return campo == o.campo && mensagem == o.mensagem; }
};

// A line of the import file after the parse, the checks and the clearing rules.
struct RegistroImportado {
    QString cnpjCpf;            // trimmed; emptied by the parse rule; a CPF's 11 digits
    int tamanhoCnpjCpf = 0;     // length of positions 1-14 after trimming
    bool cpf = false;
    bool cnpjValido = false;
    QString nome;
    int relacao = 0;            // positions 75-78 as a number (blank or not a number: 0)
    QString municipio;          // "0000000" becomes empty
    QString tipoContrato;       // position 86
    QString dataContrato;       // "DD/MM/YYYY", or empty when blank
    QString cnes;               // positions 95-101 as read
    QString dataVinculo;
    int classificacao = -1;     // position 110 as a number (-1: not a number)
    QString intermediaria;      // "000000" becomes empty
    QString disponibilidade;    // position 117
    QString urgencia;           // position 118

    // What an accepted line writes.
    DadosEstab dados() const;
};

// The establishment import file: fixed-width records of 118 single-byte characters
// (Windows-1252), one per line. Every line is parsed and checked in the fixed order of
// the file's rules; each problem becomes a row of the load-error list with its line
// number; the accepted lines are inserted (or, on request, update the establishment
// with the same CNPJ/CPF and CNES). No byte of a file can stop the run: undefined
// bytes, control characters and lines of any length become rows of the list.
class ImportacaoRedeHosp {
public:
    static constexpr int kTamanhoRegistro = 118;

    struct Totais {
        int lidas = 0;        // every line read, blank ones included
        int importados = 0;
        int atualizados = 0;
    };

    ImportacaoRedeHosp(Banco& banco, TDmExportacao& erros, QString cdOper);
    ~ImportacaoRedeHosp();

    // The valid classification codes and every municipality code, read once.
    void CarregaListas();
    // Batch size of the writes (see GravadorEstab).
    void DefineLote(int linhas, int ms);

    // Progress: the line just handled and the file's line count. Called when the run
    // starts and then at most every `intervaloProgressoMs` (and after the last line).
    std::function<void(int linha, int total)> aoProgredir;
    int intervaloProgressoMs = 40;
    // After every committed batch, with the establishments written so far.
    std::function<void(qlonglong gravados)> aoConfirmarLote;

    // The whole run over the file: empties the load-error list, counts the lines,
    // reads, checks and writes. Anything that stops it (file unreadable, database
    // error) raises ErroQev after the establishments already accepted are committed.
    Totais Executa(const QString& caminho, bool atualiza);

    // One line (its bytes, without the line end): the parse and the checks in their
    // order, the duplicate test through the database included. `restoComDados`: the
    // part LeitorLinhas skipped of a line over its limit was not blank.
    QVector<ErroLinha> AnalisaLinha(const QByteArray& bytes, bool atualiza,
                                    RegistroImportado* registro = nullptr,
                                    bool restoComDados = false);

    // The summary shown at the end (line breaks are single carriage returns).
    static QString Resumo(const Totais& t, bool atualiza);
    // A count with the "#,##" pattern: digit groups, zero gives an empty text.
    static QString FormataContagem(qlonglong n);

private:
    bool existeDuplicado(const QString& cnpj, const QString& cnes);

    Banco& m_banco;
    TDmExportacao& m_erros;
    QString m_cdOper;
    QSet<int> m_classificacoes;
    QSet<qlonglong> m_municipios;
    QDateTime m_agora;
    int m_loteLinhas = 10000;
    int m_loteMs = 1000;
    std::unique_ptr<LeitorWin1252> m_win1252;
    std::unique_ptr<ComandoPreparado> m_duplicado;
    std::unique_ptr<ComandoPreparado> m_duplicadoCnes;
};
