#pragma once
#include <QObject>
#include <QString>
#include <QVariant>
#include <QVector>
#include <functional>

class RowSet;

// The batch network linking as logic without widgets: the operator's hospital
// establishments and its plans offered (odontological and free-choice plans never are,
// nor plans sent and not released, which may not be changed), the two selections (kept
// by TDMZemlo, emptied at every showing), and the run that links every chosen
// establishment to every chosen plan, respecting the urgency rule of ambulatory plans,
// then checks each plan's network and records LG_REDE_VINCULADA. Messages go through
// MyMessageDlg.
//
// Each plan's new links, its network check and its flag are written in one transaction
// (its links read once, the missing ones inserted with one prepared statement): a
// database error ends the run and the plans already done keep their links and flags.
class TManutencaoRede : public QObject {
    Q_OBJECT
public:
    explicit TManutencaoRede(QObject* parent = nullptr);
    ~TManutencaoRede() override;

    RowSet* qryEstabManutRede() const { return m_estabelecimentos; }
    RowSet* adoPlanosManuRede() const { return m_planos; }
    RowSet* cdsHospitais() const;
    RowSet* cdsProdutos() const;
    static QString SqlEstabelecimentos();
    static QString SqlPlanos();

    // Showing the screen: the warning about linked establishments with incomplete data,
    // both selections emptied, both lists read for the current operator.
    void Abre();

    // --- choosing -------------------------------------------------------------------
    // Rows of a source list (physical rows) join the selection, each one only once.
    void SelecionaHospitais(const QVector<int>& linhas);
    void SelecionaTodosHospitais();
    void SelecionaPlanos(const QVector<int>& linhas);
    void SelecionaTodosPlanos();
    // Rows of a selection (physical rows) leave it.
    void RetiraHospitais(const QVector<int>& linhas);
    void RetiraPlanos(const QVector<int>& linhas);
    void LimpaHospitais();
    void LimpaPlanos();

    // --- searching --------------------------------------------------------------------
    static QString SqlPesquisaEstabelecimentos();
    static QString SqlPesquisaPlanos();
    // The establishment list moves to the first row with that CNPJ; the plan list to
    // the plan. False when the row is not in the list.
    bool LocalizaCnpj(const QString& cnpj);
    bool LocalizaPlano(qlonglong seqPlano);

    // --- linking ----------------------------------------------------------------------
    // Whether a link of an establishment with that urgency flag is allowed for a plan
    // of that segmentation ("S" always; "N", blank or null only for a plan that is not
    // ambulatory; anything else never).
    static bool VinculoPermitido(const QVariant& urgencia, int segmentacao);
    bool PodeVincular() const;
    struct Progresso {
        // the plan being linked (1-based) of how many, then the establishment of how many
        std::function<void(int plano, int planos)> plano;
        std::function<void(int estab, int estabs)> estabelecimento;
        // the run ended (the screen hides its bars before the messages)
        std::function<void()> fim;
    };
    struct Resultado {
        int vinculos = 0;         // links written
        bool problemaRede = false;
        bool erro = false;        // a database error ended the run
    };
    // The run: urgency warning, links plan by plan, network check and flag, final
    // message (then the error, when one ended the run).
    Resultado Vincula(const Progresso& progresso = {});

    // Closing the screen: warns when some plan still has no network.
    void AvisaAoFechar();

    // " 1.234 estabelecimento(s)" and " 12 plano(s)".
    static QString ContagemEstabelecimentos(int n);
    static QString ContagemPlanos(int n);

private:
    RowSet* m_estabelecimentos;
    RowSet* m_planos;
};
