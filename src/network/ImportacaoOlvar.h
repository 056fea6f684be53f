#pragma once
#include <QDateTime>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

class Banco;
class ComandoPreparado;
class TDmConexao;

// The import of the establishments kept by the predecessor system OLVAR in its own
// database (Zemlo.mdb). The file is recognised by its name and by its tables, opened
// read-only; every source establishment is checked against the registry's rules and
// the valid ones are inserted as new establishments of the current operator. Each
// problem is one message: the source's CNPJ/CPF immediately followed by the text.
class ImportacaoOlvar {
public:
    static QString NomeArquivo() { return QStringLiteral("Zemlo.mdb"); }
    // The file's name, without its folder and whatever its letter case, is Zemlo.mdb.
    static bool NomeReconhecido(const QString& caminho);
    // Opens the file (read-only, with the predecessor's password) on the connection's
    // second database and reads its two tables; false (and the database closed) when
    // it is not such a database.
    static bool Reconhece(TDmConexao& conexao, const QString& caminho);

    // Where the conversion tool the program ships with is and what to do with it (added
    // to the message about a Zemlo.mdb that cannot be read); `pastaPrograma` ends in '/'.
    static QString AjudaConversao(const QString& pastaPrograma);

    struct Totais {
        bool outraOperadora = false;  // the source belongs to another operator: nothing done
        int lidos = 0;
        int importados = 0;
        QStringList mensagens;
    };

    ImportacaoOlvar(TDmConexao& conexao, QString cdOper);
    ~ImportacaoOlvar();

    // When the rows are known (their count) and after each one.
    std::function<void(int total)> aoIniciar;
    std::function<void(int atual)> aoProgredir;
    std::function<void(qlonglong gravados)> aoConfirmarLote;
    void DefineLote(int linhas, int ms);

    // The whole import from the recognised database. A database error raises ErroQev
    // after the establishments already inserted are committed.
    Totais Executa();

    // The checks of one source establishment (by column name): the messages, each
    // beginning with "- " (the CNPJ is put before them by Executa).
    QStringList Verifica(const std::function<QVariant(const QString&)>& valor);

private:
    // The checks over a row read in the order of BaseOlvar::Colunas().
    QStringList verifica(const QVariantList& linha);
    bool existeDuplicado(const QString& cnes, const QString& cnpj);
    void defineAgora();
    TDmConexao& m_conexao;
    QString m_cdOper;
    QDate m_hoje;
    QTime m_hora;
    int m_loteLinhas = 10000;
    int m_loteMs = 1000;
    std::unique_ptr<ComandoPreparado> m_duplicado[4];
    QSet<qlonglong> m_classificacoes;  // TA_CLASSIF_ESTAB_SAUDE, read at the first check
    bool m_classificacoesLidas = false;
};
