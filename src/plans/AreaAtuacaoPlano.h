#pragma once
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>

#include "plans/AreaAtuacao.h"

class RowSet;
class TdmInfoPlano;

// The "Área de atuação" tab's logic: the plan's states (cdsPlanosUF) and municipalities
// (cdsPlanosMunicipio) and the pickers' lists (cdsListaUF, cdsUF with its nested
// cdsMunicipio, cdsFiltroUF) of TdmInfoPlano; the region choices, the search of the
// available municipalities, the state filter of the chosen ones, the moves of both
// pickers, the area rules and the coverage region over the rows as they stand (moves
// not yet saved included, whatever a filter of the view hides).
//
// A move takes the physical rows of the list it starts from (the rows the user marked,
// or every row shown for ">>"/"<<"), changes only the cached rows (the save writes
// them, cancel discards them) and recomputes the region.
class TAreaAtuacaoPlano : public QObject {
    Q_OBJECT
public:
    explicit TAreaAtuacaoPlano(TdmInfoPlano* dm, QObject* parent = nullptr);
    ~TAreaAtuacaoPlano() override;

    // Loading the pickers (when the tab is shown and when a plan enters edit state):
    // the plan's rows and the lists of what is still available, skipped while they are
    // open for this plan.
    void CarregaSeletorUF();
    void CarregaSeletorMunicipio();
    // The plan's states and municipalities, opened for the plan unless they hold its rows.
    void GaranteAreaDoPlano();
    // Closes the pickers' lists (another plan displayed).
    void FechaSeletores();
    // After the save's commit: the pickers' lists take their moves as read (what they
    // show is what the database holds now).
    void AceitaSeletores();

    // --- what the pickers show --------------------------------------------------------
    // The filter of the chosen municipalities is removed ("Nenhum").
    void RemoveFiltroMunicipios();
    // Shows only the chosen municipalities of one state; an empty text shows them all.
    void FiltraMunicipiosDaUF(const QString& uf);
    const QString& UfFiltrada() const { return m_ufFiltrada; }
    // The region choice of both pickers goes back to "Todas" (their state lists unfiltered).
    void ReiniciaRegioes();
    // Region choice of the state picker and of the municipality picker (a code of
    // TB_REGIAO_BRASIL; null = "Todas").
    void FiltraRegiaoUF(const QVariant& regiao);
    void FiltraRegiaoMunicipio(const QVariant& regiao);
    const QVariant& RegiaoUF() const { return m_regiaoUF; }
    const QVariant& RegiaoMunicipio() const { return m_regiaoMunicipio; }
    // The search box: the available municipalities of the selected state whose name
    // begins with the text (upper case, accents ignored, every character plain); a
    // blank text removes the search.
    void PesquisaMunicipio(const QString& texto);
    const QString& Pesquisa() const { return m_pesquisa; }

    // --- moves ----------------------------------------------------------------------------
    // ">" and ">>" of the state picker: rows of cdsListaUF join the plan's states.
    void IncluiUFs(const QVector<int>& linhas);
    void IncluiTodasUFs();
    // "<" and "<<": rows of cdsPlanosUF go back to the available states ("<<" also
    // clears the state filter of the chosen municipalities).
    void RetiraUFs(const QVector<int>& linhas);
    void RetiraTodasUFs();
    // ">" and ">>" of the municipality picker: rows of cdsMunicipio (">>": every one the
    // selected state shows after the search) join the plan's municipalities.
    void IncluiMunicipios(const QVector<int>& linhas);
    void IncluiTodosMunicipios();
    // "<" and "<<": rows of cdsPlanosMunicipio ("<<": all of them) go back to the
    // available municipalities of their state.
    void RetiraMunicipios(const QVector<int>& linhas);
    void RetiraTodosMunicipios();

    // The buttons of a picker: ">" and ">>" need the plan being added or edited, an
    // available row and the tab enabled; "<" and "<<" a chosen row, the tab enabled and
    // the plan being added or edited.
    struct Botoes {
        bool incluiUF = false, retiraUF = false, incluiMunicipio = false, retiraMunicipio = false;
    };
    Botoes Disponiveis(bool editando, bool abaHabilitada) const;

    // --- rules --------------------------------------------------------------------------
    // While the plan is being added or edited, CD_REGIAO_COBERTURA := the region worked
    // out from the coverage and the chosen states or municipalities.
    void RecalculaRegiao();
    // The area rules: appends the regulator's messages for the coverage and the plan's
    // area rows (its municipalities for coverages 4 and 5, its states otherwise).
    void RegrasAreaAtuacao(int abrangencia, RowSet& linhas, QStringList& mensagens);
    // The save's area check: the plan's rows loaded, the single-state rule of coverage 3,
    // then the area rules; their messages each followed by "\r"; empty when none.
    QString MensagemGravacao(int abrangencia);
    // The rows of a state or municipality set as the rules read them: every row not
    // deleted, whatever a filter hides.
    static QVector<LinhaArea> LinhasDaArea(const RowSet& rs);
    // The rules with the country's counts (read once).
    const RegrasArea& Regras();

private:
    void aplicaPesquisa();

    TdmInfoPlano* m_dm;
    std::unique_ptr<RegrasArea> m_regras;
    QString m_ufFiltrada;
    QVariant m_regiaoUF;
    QVariant m_regiaoMunicipio;
    QString m_pesquisa;
};
