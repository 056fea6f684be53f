#pragma once
#include <QObject>
#include <QString>
#include <QStringList>

class RowSet;
class TdmInfoPlano;

// The "Área de atuação" tab's logic: the plan's states (cdsPlanosUF) and municipalities
// (cdsPlanosMunicipio) and the pickers' lists (cdsListaUF, cdsUF with its nested
// cdsMunicipio, cdsFiltroUF) of TdmInfoPlano.
//
// The plan screen and its save call the operations below in their fixed places. The
// area rules, the coverage region and the pickers' moves are the work of the area tab
// itself: RegrasAreaAtuacao appends no message and RecalculaRegiao leaves the column
// as it is until they are built.
class TAreaAtuacaoPlano : public QObject {
    Q_OBJECT
public:
    explicit TAreaAtuacaoPlano(TdmInfoPlano* dm, QObject* parent = nullptr);

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

    // The filter of the chosen municipalities is removed.
    void RemoveFiltroMunicipios();
    // The region choice of both pickers goes back to "Todas" (their state lists unfiltered).
    void ReiniciaRegioes();
    // While the plan is being added or edited, CD_REGIAO_COBERTURA := the region worked
    // out from the coverage and the chosen states or municipalities.
    void RecalculaRegiao();

    // The area rules: appends the regulator's messages for the coverage and the plan's
    // area rows (its municipalities for coverages 4 and 5, its states otherwise).
    void RegrasAreaAtuacao(int abrangencia, RowSet& linhas, QStringList& mensagens) const;
    // The save's area check: the plan's rows loaded, the single-state rule of coverage 3,
    // then the area rules; their messages each followed by "\r"; empty when none.
    QString MensagemGravacao(int abrangencia);

private:
    TdmInfoPlano* m_dm;
};
