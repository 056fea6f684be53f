#pragma once
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>

#include "db/Banco.h"

class RowSet;

// How Locate compares texts.
struct OpcoesLocate {
    bool semCaixa = false;
    bool parcial = false;  // the value is a prefix
};

// Kind of value a field holds.
enum class TipoCampo {
    Desconhecido,
    Texto,
    Memo,
    Inteiro,
    Real,
    Moeda,
    Data,
    DataHora,
    Hora,
    Logico,
    Blob
};

// A field of a row set: its name, type and presentation. Data fields hold values;
// a calculated field computes its value from the row; a look-up field shows a
// column of another row set, found by key.
struct Campo {
    QString nome;
    TipoCampo tipo = TipoCampo::Texto;
    int tamanho = 0;  // texts: the most characters the column takes (0 = no limit)
    QString rotulo;   // caption; the name when empty
    QString mascara;  // display mask: each '9' takes a character, the rest is written as is
    bool visivel = true;
    bool gravavel = true;  // written by ApplyUpdates
    QString tabelaOrigem;  // table the column was read from (empty for expressions)

    // Calculated field (computed from the row at its physical index).
    std::function<QVariant(const RowSet&, int linha)> calculo;
    // Text shown for the value of a row, instead of the formatted value (and mask).
    std::function<QString(const RowSet&, int linha)> textoExibido;

    // Look-up field: the value of `resultado` in the row of `lista` whose `chaveLista`
    // equals this row's `chaveLocal`.
    struct Lookup {
        RowSet* lista = nullptr;
        QString chaveLocal;
        QString chaveLista;
        QString resultado;
    } lookup;

    bool calculado() const { return bool(calculo); }
    bool ehLookup() const { return lookup.lista != nullptr; }
    bool ehDado() const { return !calculado() && !ehLookup(); }
    QString legenda() const { return rotulo.isEmpty() ? nome : rotulo; }
    bool numerico() const {
        return tipo == TipoCampo::Inteiro || tipo == TipoCampo::Real || tipo == TipoCampo::Moeda;
    }
    bool temporal() const {
        return tipo == TipoCampo::Data || tipo == TipoCampo::DataHora || tipo == TipoCampo::Hora;
    }
};

// The in-memory row set behind every record screen and grid: rows of values with
// field metadata, a current row and a state (browse, insert, edit), post and
// cancel, a filter and one active index, locate, calculated and look-up fields,
// a master link, and a change log that ApplyUpdates turns into statements.
//
// Positions (RecNo, Vai, the grid's rows) count the rows that pass the filter,
// in the order of the active index. A "linha" is a row's physical number: it
// stays the same while the order changes and serves as a bookmark.
//
// Bof and Eof follow the usual data-set meaning: Bof after First (or a Prior that
// could not move), Eof after Last (or a Next that could not move); a loop
// `First(); while (!Eof()) { ...; Next(); }` visits every row.
class RowSet : public QObject {
    Q_OBJECT
public:
    enum class Estado { Inativo, Consulta, Insercao, Edicao };
    struct ChaveIndice {
        QString campo;
        bool descendente = false;
        bool semCaixa = true;  // texts compared ignoring letter case
    };

    explicit RowSet(QObject* parent = nullptr);
    ~RowSet() override;

    // Gathers many changes into one while it lives: a row posted inside keeps its place
    // (the index is applied once, at the end; a row the filter hides leaves the view at
    // once), and the notices of structure, current row and state are sent once, at the
    // end, so a grid is rebuilt once for a thousand appended or deleted rows. Batches
    // nest; the outermost one ends them.
    class Lote {
    public:
        explicit Lote(RowSet& rs);
        ~Lote();
        Lote(const Lote&) = delete;
        Lote& operator=(const Lote&) = delete;

    private:
        RowSet& m_rs;
    };

    // --- structure ---------------------------------------------------------
    // Fields of a set made in memory (CriaVazio), or the only ones kept from a query.
    void DefineCampos(const QVector<Campo>& campos);
    // Adds a field (calculated and look-up fields may be added to an open set).
    void AdicionaCampo(const Campo& campo);
    const QVector<Campo>& Campos() const { return m_campos; }
    int IndiceCampo(const QString& nome) const;  // names compared ignoring case; -1 when absent
    Campo& campo(const QString& nome);           // throws ErroQev when absent
    const Campo& campo(const QString& nome) const;
    Campo& campo(int indice) { return m_campos[indice]; }
    bool TemCampo(const QString& nome) const { return IndiceCampo(nome) >= 0; }

    // --- opening -----------------------------------------------------------
    // Runs a SELECT and keeps its rows; field types and text sizes come from the
    // tables the columns were read from. Fields defined beforehand (DefineCampos)
    // keep their captions, masks and visibility.
    void Abre(Banco& banco, const QString& sql, const ParamsPosicionais& params = {});
    void Abre(Banco& banco, const QString& sql, const ParamsNomeados& params);
    // The statement and named parameters a later Abre(banco) runs; a parameter may be
    // bound again between openings (DefineParametro), and the open set remembers
    // the values it was read with (Parametro).
    void DefineComando(const QString& sql, const ParamsNomeados& params = {});
    void DefineParametro(const QString& nome, const QVariant& valor);
    QVariant Parametro(const QString& nome) const;  // names compared ignoring case
    const ParamsNomeados& Parametros() const { return m_params; }
    // Opens with the statement and parameters defined (closing first when open).
    void Abre(Banco& banco);
    // Takes rows read elsewhere.
    void Carrega(Resultado resultado, Banco* banco = nullptr);
    // Opens an empty set with the fields already defined.
    void CriaVazio();
    void Fecha();
    bool Ativo() const { return m_estado != Estado::Inativo; }
    const QString& Sql() const { return m_sql; }

    // --- navigation --------------------------------------------------------
    int RecordCount() const { return m_ordem.size(); }
    bool IsEmpty() const { return m_ordem.isEmpty(); }
    int RecNo() const { return m_pos; }  // 0-based; -1 when empty
    void First();
    void Last();
    void Next();
    void Prior();
    void MoveBy(int n);
    bool Vai(int posicao);  // false (and no move) when out of range
    bool Bof() const { return m_bof; }
    bool Eof() const { return m_eof; }

    // --- values --------------------------------------------------------------
    QVariant Valor(const QString& campo) const;
    QVariant Valor(int campo) const;
    bool Nulo(const QString& campo) const;
    // Text as shown: dates "dd/MM/yyyy", numbers in Portuguese, the mask applied.
    QString Texto(const QString& campo) const;
    QString TextoDe(int posicao, int campo) const;
    // Sets a value of the row being inserted or edited (converted to the field's type).
    void DefineValor(const QString& campo, const QVariant& valor);
    void DefineValor(int campo, const QVariant& valor);

    QVariant ValorNaPosicao(int posicao, int campo) const;
    // Physical rows (bookmarks).
    int Linha() const;  // of the current row; -1 when none
    int LinhaNaPosicao(int posicao) const { return m_ordem.value(posicao, -1); }
    int PosicaoDaLinha(int linha) const;
    bool VaiParaLinha(int linha);
    QVariant ValorDaLinha(int linha, int campo) const;
    QVariant ValorDaLinha(int linha, const QString& campo) const;

    // --- editing -------------------------------------------------------------
    Estado State() const { return m_estado; }
    bool EmEdicao() const { return m_estado == Estado::Insercao || m_estado == Estado::Edicao; }
    void Insert();  // a new row before the current one
    void Append();  // a new row at the end
    void Edit();
    void Post();
    void Cancel();
    void Delete();
    // Deletes these physical rows (rows already deleted are skipped) in one pass: the
    // rest keep their order, the current row stays when it is not among them.
    void ExcluiLinhas(const QVector<int>& linhas);
    // The physical rows not deleted, whatever the filter and the master link show, in
    // the order they were read or added (rules that must see every row read these).
    QVector<int> LinhasSemFiltro() const;
    // Fills the defaults of a new row.
    std::function<void(RowSet&)> AoNovoRegistro;
    // Checks a row before it is posted; throws to refuse.
    std::function<void(RowSet&)> AntesDeGravar;
    // Runs after a row was posted (the posted row is the current one).
    std::function<void(RowSet&)> AposGravar;
    // Whether a physical row was inserted since the set was read (not yet written).
    bool LinhaInserida(int linha) const;

    // --- change log ----------------------------------------------------------
    int ChangeCount() const;
    // Writes every pending insert, change and deletion to `tabela`, identifying
    // rows by `chaves` (their values as read). Runs inside the caller's
    // transaction when one is open, else in one of its own. A change or deletion
    // also requires every column it changes to hold the value read: one that finds no
    // such row (another copy changed or deleted it) fails with ErroRegistroAlterado,
    // and the log stays. After the writes the log is
    // merged (a second ApplyUpdates in the same transaction writes only what changed
    // since), but only for good once the transaction commits: when it is rolled
    // back instead, the log comes back as it was, so CancelUpdates still returns
    // the rows to their values as read.
    int ApplyUpdates(Banco& banco, const QString& tabela, const QStringList& chaves);
    // The table and key columns of ApplyUpdates(banco), named once for the set.
    void DefineAtualizacao(const QString& tabela, const QStringList& chaves);
    const QString& TabelaAtualizacao() const { return m_tabelaAtualizacao; }
    const QStringList& ChavesAtualizacao() const { return m_chavesAtualizacao; }
    int ApplyUpdates(Banco& banco);
    // Discards every pending change: rows return to their values as read.
    void CancelUpdates();
    void MergeChangeLog();

    // --- filter, index, locate -------------------------------------------------
    using Filtro = std::function<bool(const RowSet&, int linha)>;
    void DefineFiltro(Filtro filtro);  // empty function: no filter
    bool Filtrado() const { return bool(m_filtro); }
    // On a closed set the index takes effect at the next opening.
    void DefineIndice(const QString& nome, const QVector<ChaveIndice>& chaves);
    void RemoveIndice();
    const QString& NomeIndice() const { return m_nomeIndice; }
    const QVector<ChaveIndice>& ChavesIndice() const { return m_chavesIndice; }
    bool Locate(const QStringList& campos, const QVariantList& valores, OpcoesLocate opcoes = {});
    bool Locate(const QString& campo, const QVariant& valor, OpcoesLocate opcoes = {}) {
        return Locate(QStringList{campo}, QVariantList{valor}, opcoes);
    }
    // Moves to the first row whose first index key is not smaller than `valor`
    // (texts: compared as the index compares them). False when every row is smaller.
    bool LocalizaProximo(const QVariant& valor);

    // --- master link -------------------------------------------------------------
    // Shows only the rows whose `camposDetalhe` equal the master's current
    // `camposMestre`; new rows get those values.
    void DefineMestre(RowSet* mestre, const QStringList& camposMestre,
                      const QStringList& camposDetalhe);

    // Compares two values of a field as the index does (-1, 0, 1); nulls first.
    int Compara(int campo, const QVariant& a, const QVariant& b, bool semCaixa = true) const;
    // Turns a value into the field's type (texts of dates in ISO form become dates).
    static QVariant Converte(TipoCampo tipo, const QVariant& valor);
    // Text of a value as shown in Portuguese (no mask).
    static QString Formata(TipoCampo tipo, const QVariant& valor);

signals:
    void estadoMudou();
    void registroMudou();          // another row became current, or the current one was reloaded
    void valorMudou(int campo);    // a field of the row being edited changed
    void estruturaMudou();         // rows, their order or the fields changed
    void linhaMudou(int posicao);  // the contents of the row at that position changed

private:
    enum class Situacao { Inalterada, Modificada, Inserida, Excluida, Descartada };
    struct RegLinha {
        QVariantList valores;
        QVariantList originais;  // values as read (only while modified)
        Situacao situacao = Situacao::Inalterada;
    };

    // The log of a row before the writes of a transaction not yet ended.
    struct Registro {
        QVariantList originais;
        Situacao situacao;
    };
    void terminaGravacao(bool confirmada);
    void abreResultado(Resultado r, Banco* banco);
    void verificaAtivo() const;
    void verificaConsulta() const;
    void refazOrdem(int linhaPreferida);
    bool passaFiltro(int linha) const;
    void ordena();
    void posiciona(int pos, bool avisa = true);
    void novoRegistro(bool noFim);
    QVariant valorCalculado(int linha, int campo) const;
    QVariant valorLookup(int linha, int campo) const;
    const QVariantList& valoresDaLinha(int linha) const;
    void aoMudarMestre();
    void terminaLote();
    void avisaEstrutura();
    void avisaRegistro();
    void avisaEstado();
    void avisaLinha(int pos);

    QVector<Campo> m_campos;
    mutable QHash<QString, int> m_indices;  // field index by name as asked for (-1: none)
    QVector<RegLinha> m_linhas;
    QVector<int> m_ordem;  // physical rows in view order
    int m_pos = -1;
    bool m_bof = true;
    bool m_eof = true;
    Estado m_estado = Estado::Inativo;
    QVariantList m_buffer;
    int m_linhaAntesInsercao = -1;
    int m_linhaInserida = -1;
    QString m_sql;
    ParamsNomeados m_params;
    QString m_tabelaAtualizacao;
    QStringList m_chavesAtualizacao;
    Filtro m_filtro;
    QString m_nomeIndice;
    QVector<ChaveIndice> m_chavesIndice;

    RowSet* m_mestre = nullptr;
    QStringList m_camposMestre;
    QStringList m_camposDetalhe;
    QVariantList m_valoresMestre;
    QMetaObject::Connection m_conexaoMestre;

    int m_lote = 0;
    bool m_ordemPendente = false;
    bool m_avisoEstrutura = false;
    bool m_avisoRegistro = false;
    bool m_avisoEstado = false;

    bool m_logPendente = false;  // written in a transaction that has not ended yet
    QVector<Registro> m_logAntes;
};
