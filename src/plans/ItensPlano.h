#pragma once
#include <QHash>
#include <QObject>
#include <QString>
#include <QVector>

class RowSet;
class TdmInfoPlano;

// A check list of the plan screen: items with a text, a checked and an enabled state
// (a disabled item cannot be toggled by the user), the code of each position and the
// position of each code.
class TListaItens : public QObject {
    Q_OBJECT
public:
    struct Item {
        QString texto;
        bool marcado = false;
        bool habilitado = true;
        int codigo = 0;
    };
    using QObject::QObject;

    int Count() const { return m_itens.size(); }
    const Item& item(int posicao) const { return m_itens.at(posicao); }
    const QVector<Item>& Itens() const { return m_itens; }
    // Position of an item code, -1 when the list has none.
    int PosicaoDoCodigo(int codigo) const { return m_posicoes.value(codigo, -1); }
    bool Marcado(int posicao) const { return m_itens.at(posicao).marcado; }
    // The checked codes, in list order.
    QVector<int> CodigosMarcados() const;

    void Limpa();
    void Acrescenta(const QString& texto, int codigo, bool marcado);
    void DefineMarcado(int posicao, bool marcado);
    void DefineHabilitado(int posicao, bool habilitado);
    // What the user does: toggles an enabled item; a disabled one is left alone.
    void Alterna(int posicao);
    // "Marcar Todos" / "Desmarcar Todos": every enabled item.
    void MarcaHabilitados(bool marcado);

signals:
    void mudou();

private:
    QVector<Item> m_itens;
    QHash<int, int> m_posicoes;
};

// The two check lists of a plan: free-choice coverage items ("Livre Escolha ") and
// optional services ("Serviços e coberturas"): loading from the plan's rows, the rules
// per segmentation and the writing back into the plan's sets.
class TItensPlano : public QObject {
    Q_OBJECT
public:
    explicit TItensPlano(TdmInfoPlano* dm, QObject* parent = nullptr);

    TListaItens* lstReembolso() const { return m_reembolso; }
    TListaItens* lstServicos() const { return m_servicos; }

    // Loads the list from the code table and the plan's stored items, unless the plan's
    // set is already open (the list then keeps its states).
    void CarregaLivreEscolha();
    void CarregaServicos();
    // Enables the items the segmentation allows; with the answer "S" every enabled item
    // but the last one is checked and codes 1 to 12 disabled, otherwise the disabled
    // items are unchecked.
    void RegrasLivreEscolha(int segmentacao, const QString& respostaLivreEscolha);
    // Disables the services the segmentation forbids and unchecks them.
    void RegrasServicos(int segmentacao);
    // Writes the lists into the plan's sets (only while those sets are open).
    void GravaLivreEscolha();
    void GravaServicos();

    // The item codes each segmentation enables / disables.
    static QVector<int> CoberturasHabilitadas(int segmentacao);
    static QVector<int> ServicosDesabilitados(int segmentacao);

private:
    void carrega(TListaItens* lista, RowSet* doPlano, RowSet* tabela, const QString& campo,
                 bool semOutros);
    void grava(TListaItens* lista, RowSet* doPlano, const QString& campo);

    TdmInfoPlano* m_dm;
    TListaItens* m_reembolso;
    TListaItens* m_servicos;
};
