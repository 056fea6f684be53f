#include "plans/AreaAtuacao.h"

#include <QSet>

#include "db/Banco.h"

RegrasArea::RegrasArea(Banco& banco) {
    m_ufsDoPais = banco.valor(QStringLiteral("SELECT count(*) AS TOTAL FROM TB_UFS")).toInt();
    const Resultado r = banco.consulta(
        QStringLiteral("SELECT CD_UF, count(*) FROM TB_MUNICIPIOS GROUP BY CD_UF"));
    for (const auto& l : r.linhas) m_municipiosPorUf.insert(l.at(0).toString(), l.at(1).toInt());
}

RegrasArea::RegrasArea(int ufsDoPais, QHash<QString, int> municipiosPorUf)
    : m_ufsDoPais(ufsDoPais), m_municipiosPorUf(std::move(municipiosPorUf)) {}

const QStringList& RegrasArea::UfsGrandes() {
    static const QStringList l{QStringLiteral("RJ"), QStringLiteral("SP"), QStringLiteral("MG"),
                               QStringLiteral("BA"), QStringLiteral("RS"), QStringLiteral("PR")};
    return l;
}

const QStringList& RegrasArea::CapitaisGrupoMunicipios() {
    static const QStringList l{QStringLiteral("PORTO ALEGRE"),   QStringLiteral("RIO DE JANEIRO"),
                               QStringLiteral("SAO PAULO"),      QStringLiteral("BELO HORIZONTE"),
                               QStringLiteral("CURITIBA"),       QStringLiteral("BRASILIA")};
    return l;
}

const QStringList& RegrasArea::CapitaisMunicipal() {
    static const QStringList l{QStringLiteral("RIO DE JANEIRO"), QStringLiteral("SAO PAULO"),
                               QStringLiteral("BELO HORIZONTE"), QStringLiteral("PORTO ALEGRE"),
                               QStringLiteral("CURITIBA"),       QStringLiteral("BRASILIA")};
    return l;
}

QStringList RegrasArea::UfsDistintas(const QVector<LinhaArea>& linhas) {
    QStringList ufs;
    QSet<QString> vistas;
    for (const LinhaArea& l : linhas)
        if (!vistas.contains(l.cdUf)) {
            vistas.insert(l.cdUf);
            ufs << l.cdUf;
        }
    return ufs;
}

int RegrasArea::UfsListadas(const QVector<LinhaArea>& linhas, const QStringList& relacao) {
    int n = 0;
    for (const QString& uf : UfsDistintas(linhas))
        if (relacao.contains(uf)) ++n;
    return n;
}

int RegrasArea::MunicipiosListados(const QVector<LinhaArea>& linhas, const QStringList& relacao) {
    QStringList entradas;
    for (const QString& e : relacao) entradas << e.toUpper();
    int n = 0;
    for (const LinhaArea& l : linhas) {
        const QString nome = l.nmMunc.toUpper();
        for (const QString& e : std::as_const(entradas))
            if (nome == e) ++n;
    }
    return n;
}

bool RegrasArea::NoMaximoMetadeDeCadaUf(const QVector<LinhaArea>& linhas) const {
    QHash<QString, int> porUf;
    for (const LinhaArea& l : linhas) ++porUf[l.cdUf];
    const QStringList ufs = UfsDistintas(linhas);
    for (const QString& uf : ufs) {
        if (uf == QLatin1String("DF") && ufs.size() > 1) continue;
        const int total = m_municipiosPorUf.value(uf);
        if (total > 0 && porUf.value(uf) * 100 / total > 50) return false;
    }
    return true;
}

void RegrasArea::RegrasAreaAtuacao(int c, const QVector<LinhaArea>& r, int g,
                                   QStringList& mensagens) const {
    const auto msg = [&](const QString& texto) { mensagens << QStringLiteral("O plano ") + texto; };
    const int n = r.size();
    if (c == 5 && n == 0)
        msg(QStringLiteral(" deve possuir pelo menos um município cadastrado."));
    else if (c == 5 && n > 1)
        msg(QStringLiteral(" não pode possuir mais de um município cadastrado."));
    else if (g != -1 && c == 4 && n < 2)
        msg(QStringLiteral(" deve possuir dois ou mais municípios cadastrados na sua área de atuação."));
    else if (g != -1 && c == 2 && UfsDistintas(r).size() <= 1)
        msg(QStringLiteral(" deve possuir dois ou mais estados cadastrados na sua área de atuação."));
    else if (c == 3 && n == 0)
        msg(QStringLiteral(" deve possui pelo menos um estado cadastrado na sua área de atuação."));
    else if (c == 3 && n > 1)
        msg(QStringLiteral(" não pode possuir mais de um estado cadastrado na sua área de atuação."));

    if (c == 4 && n > 1 && !NoMaximoMetadeDeCadaUf(r))
        msg(QStringLiteral(" possui mais de 50% dos municípios que compõem a sua área de atuação.") +
            QStringLiteral(" Neste caso a abrangência geográfica deve ser Estadual."));
    if (c == 2 && n >= m_ufsDoPais)
        msg(QStringLiteral(" não pode abranger todas as UFs.\r") +
            QStringLiteral("Nesse caso a abrangência geográfica deve ser Nacional."));
}

int RegrasArea::CalculaRegiaoCobertura(int c, const QVector<LinhaArea>& ufs,
                                       const QVector<LinhaArea>& municipios) const {
    if (((c == 2 || c == 3) && ufs.isEmpty()) || ((c == 4 || c == 5) && municipios.isEmpty()))
        return 0;
    switch (c) {
        case 1:
            return 1;
        case 2: {
            const int n = UfsDistintas(ufs).size();
            if (n > 1 && n < m_ufsDoPais) return UfsListadas(ufs, UfsGrandes()) < 3 ? 2 : 1;
            return 0;
        }
        case 3:
            if (UfsListadas(ufs, UfsGrandes()) >= 3) return 1;
            return UfsListadas(ufs, {QStringLiteral("SP")}) > 0 || UfsDistintas(ufs).size() > 1 ? 2 : 3;
        case 4:
            if (municipios.size() >= 2 && NoMaximoMetadeDeCadaUf(municipios))
                return MunicipiosListados(municipios, CapitaisGrupoMunicipios()) > 0 ? 4 : 5;
            return 0;
        case 5:
            if (MunicipiosListados(municipios, CapitaisMunicipal()) > 0) return 4;
            return municipios.size() == 1 ? 6 : 5;
        default:
            return 0;
    }
}
