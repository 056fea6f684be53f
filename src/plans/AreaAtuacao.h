#pragma once
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

class Banco;

// One row of a plan's area of coverage as the rules see it: a state (only `cdUf`) or a
// municipality (its `cdUf` and `nmMunc`).
struct LinhaArea {
    QString cdUf;
    QString nmMunc;
};

// The area-of-coverage rules and the coverage region of a plan. Geographic coverage
// codes: 1 national, 2 group of states, 3 state, 4 group of municipalities, 5 municipal.
// The counts of the country (states, municipalities of each state) are read once.
class RegrasArea {
public:
    explicit RegrasArea(Banco& banco);
    // Counts given directly (tests, callers that hold them already).
    RegrasArea(int ufsDoPais, QHash<QString, int> municipiosPorUf);

    // Appends the regulator's messages for the plan's area rows (its municipalities for
    // coverages 4 and 5, its states otherwise). `regiaoOperadora` is the operator's
    // region-of-operation code (-1 spares it messages 3 and 4).
    void RegrasAreaAtuacao(int cobertura, const QVector<LinhaArea>& linhas, int regiaoOperadora,
                           QStringList& mensagens) const;
    // The coverage region, 0 to 6, from the plan's states and municipalities.
    int CalculaRegiaoCobertura(int cobertura, const QVector<LinhaArea>& ufs,
                               const QVector<LinhaArea>& municipios) const;

    // Counting routines.
    static QStringList UfsDistintas(const QVector<LinhaArea>& linhas);
    static int UfsListadas(const QVector<LinhaArea>& linhas, const QStringList& relacao);
    static int MunicipiosListados(const QVector<LinhaArea>& linhas, const QStringList& relacao);
    // False when some state holds more than half of its municipalities among the rows
    // ("DF" is weighed only when it is the only state).
    bool NoMaximoMetadeDeCadaUf(const QVector<LinhaArea>& linhas) const;
    int UfsDoPais() const { return m_ufsDoPais; }

    static const QStringList& UfsGrandes();
    static const QStringList& CapitaisGrupoMunicipios();
    static const QStringList& CapitaisMunicipal();

private:
    int m_ufsDoPais;
    QHash<QString, int> m_municipiosPorUf;
};
