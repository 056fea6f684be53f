#pragma once
#include <QObject>
#include <QString>
#include <array>

class RowSet;
class TdmInfoPlano;
class TAreaAtuacaoPlano;
class TItensPlano;
class TRedePlano;
class TTaxasTemporarias;

// The plan screen's logic, without widgets: what the screen shows that is not a column
// (the price buttons, which controls and tabs may be used), the rules that tie the
// choices together, and the life of a plan on the screen (add, edit, cancel, the save
// with its checks and its writing in one transaction, delete). The screen (TfrmCadPlano)
// binds its boxes to cdsPlano, tells this class what the user did, and shows its state.
//
// Messages and questions go through MyMessageDlg; the save's outcome names the tab to
// select and the control to focus.
class TEdicaoPlano : public QObject {
    Q_OBJECT
public:
    enum class Aba { DadosGerais, Taxa, LivreEscolha, Servicos, NotasTecnicas, AreaAtuacao, Rede };
    static constexpr int kAbas = 7;
    enum class Controle {
        Nenhum,
        Nome,
        Contratacao,
        Abrangencia,
        Segmentacao,
        FormacaoPreco,
        OpcaoPos,
        Vinculo,
        Acomodacao,
        LivreEscolha,
        Taxas
    };
    enum class Preco { Nenhum = 0, Pre = 1, Pos = 2, Misto = 3 };
    enum class Vinculo { Ativo, Inativo, Sem };

    // Which controls may be used (the rest of the screen follows the state).
    struct Habilitacao {
        bool pre = true, pos = true, misto = true;
        bool opcaoPos = true;
        bool vinculoAtivo = true, vinculoInativo = true, semVinculo = true;
        bool acomodacao = true, individual = true, coletiva = true;
        bool coparticipacao = true, franquia = true;
    };

    struct Resultado {
        enum Tipo {
            Gravado,    // written; the plan is browsed again
            Bloqueado,  // a check failed; the plan stays in add or edit state
            Desistiu,   // the user said no to a clearing question
            Erro        // the writing failed: nothing was stored; the screen closes
        } tipo = Gravado;
        QString mensagem;
        Aba aba = Aba::DadosGerais;
        bool selecionaAba = false;
        Controle controle = Controle::Nenhum;
    };

    explicit TEdicaoPlano(TdmInfoPlano* dm, QObject* parent = nullptr);
    ~TEdicaoPlano() override;

    TdmInfoPlano* dm() const { return m_dm; }
    RowSet* cdsPlano() const;
    TTaxasTemporarias* taxas() const { return m_taxas; }
    TItensPlano* itens() const { return m_itens; }
    TAreaAtuacaoPlano* area() const { return m_area; }
    TRedePlano* rede() const { return m_rede; }

    // What the current operator's classification implies.
    bool Autogestao() const;    // 24: contract types 2 and 3 only
    bool Odontologico() const;  // 23 and 26: segmentation 4 only
    // The lists the contract and the edit-time segmentation controls offer.
    RowSet* ListaContratacao() const;
    RowSet* ListaSegmentacaoEdicao() const;
    // Whether the control shows a value (the plan's code is in the control's list).
    bool ContratoExibido() const;
    bool AbrangenciaExibida() const;
    bool SegmentacaoExibida() const;

    bool Editando() const;  // adding or editing

    // --- state shown -------------------------------------------------------------
    Preco FormacaoPreco() const { return m_preco; }
    // Computed from the plan shown (contract, segmentation), the price button checked and
    // nothing else: no click on one plan carries over to the next.
    Habilitacao Habilitado() const;
    bool AbaHabilitada(Aba aba) const { return m_abas[int(aba)]; }
    Aba AbaAtual() const { return m_abaAtual; }
    // The area tab shows its state page (coverages 1 to 3) or its municipality page.
    bool PaginaUFs() const { return m_paginaUFs; }
    bool PesquisaDisponiveis() const { return m_pesquisaDisponiveis; }

    // --- what the user does ----------------------------------------------------------
    // Opening the screen: reads the operator's plans and shows the first one.
    void Abre();
    // Closing the screen: the related sets are closed.
    void Fecha();
    // Another plan displayed (after opening, previous, next, search, cancel).
    void AtualizaDados();
    void AjusteContrato();
    void AjusteSegmentacao();
    void ContratoAlterado();
    void AbrangenciaAlterada();
    void SegmentacaoAlterada();
    void NomeDigitado();
    void ClicaPreco(Preco preco);
    // A link box was clicked (its column already holds the new value).
    void ClicaVinculo(Vinculo vinculo);
    void LivreEscolhaAlterada();
    // A tab was shown: loads what it needs.
    void AbaMostrada(Aba aba);
    // Leaving a tab: the tax row being typed is posted when leaving "Taxa".
    void SaiDaAba(Aba aba);
    // Selects a tab (the screen follows through abaSelecionada).
    void SelecionaAba(Aba aba);

    bool AtributosCompletos() const;
    // The first attribute of "Dados gerais" still missing, in the order the save checks them
    // (Nenhum: all given); while one is missing the other tabs stay closed.
    Controle AtributoIncompleto() const;
    void AjustaAbas();
    void RegraAbaNotas();
    // The area tab rule: enabled unless the coverage is 1, its page, the region.
    void RegraAbaArea();

    void Adiciona();
    // False (after its warning) for a sent plan.
    bool Edita();
    void Cancela();
    Resultado Grava();
    // False when nothing was deleted (sent plan, answer "no", or a failure shown).
    bool Exclui();
    bool Anterior();
    bool Proximo();
    // Moves to the plan (of the operator's plans); false when it is not among them.
    bool LocalizaPlano(const QString& cdOper, qlonglong seqPlano);
    void AlteraProtocolo(const QString& protocolo);
    // "Marcar Todos" / "Desmarcar Todos" on the check list of the current tab.
    void MarcaTodos(bool marcado);

    // The tax tab's actions.
    void NovaTaxa();
    void EditaTaxa();
    void ExcluiTaxa();
    bool PodeNovaTaxa() const;
    bool PodeEditarTaxa() const;
    // The notes tab.
    void CarregaNotas();
    bool PodeNovaNota() const;
    bool PodeEditarNota() const;
    // A new note row (numbered, the plan's keys set) for the note dialog.
    void NovaNota();
    void EditaNota();
    void ExcluiNota();

signals:
    // Something the screen shows changed.
    void estadoMudou();
    void abaSelecionada(TEdicaoPlano::Aba aba);

private:
    // Gathers the notices of a compound operation into one, at its end.
    class Lote {
    public:
        explicit Lote(TEdicaoPlano* e);
        ~Lote();

    private:
        TEdicaoPlano* m_e;
    };
    void avisa();
    void aposAjustes();
    // Shows the current plan: AtualizaDados, both adjustments, the tabs, "Dados gerais".
    void exibe();
    void marcaVinculo(Vinculo vinculo, bool marcado);
    bool vinculoMarcado(Vinculo vinculo) const;
    QString texto(const char* campo) const;
    int inteiro(const char* campo) const;
    void define(const char* campo, const QVariant& valor);
    void habilitaAba(Aba aba, bool habilitada);
    Resultado confere();
    // Clears the area rows, notes and links that no longer apply: an edited plan asks
    // first; a new one drops them without a question.
    bool limpaOQueNaoSeAplica(bool insercao);
    void escreve(bool consistente, bool redeFalhou, bool insercao);
    void renumeraPlano(qlonglong de, qlonglong para);
    void relerDepoisDaGravacao(qlonglong seq);
    void descartaPendentes();

    TdmInfoPlano* m_dm;
    TTaxasTemporarias* m_taxas;
    TItensPlano* m_itens;
    TAreaAtuacaoPlano* m_area;
    TRedePlano* m_rede;
    Preco m_preco = Preco::Nenhum;
    std::array<bool, kAbas> m_abas{true, false, false, false, false, false, false};
    Aba m_abaAtual = Aba::DadosGerais;
    bool m_paginaUFs = true;
    bool m_pesquisaDisponiveis = true;
    int m_lote = 0;
    bool m_avisoPendente = false;
};
