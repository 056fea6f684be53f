#include "plans/RegrasRede.h"

#include <QSet>

#include "db/Banco.h"
#include "db/Valores.h"

namespace MensagensRede {
QString LivreEscolha() {
    return QStringLiteral("Plano opera exclusivamente como Livre Escolha e não pode possuir rede "
                          "hospitalar.");
}
QString Nacional() {
    return QStringLiteral("A rede informada deverá ser composta por pelo menos um estabelecimento, "
                          "que possua atendimento Urgência/Emergência, em cada Unidade Federativa "
                          "do país.");
}
QString Estados() {
    return QStringLiteral("A rede informada deverá ser composta por pelo menos um estabelecimento, "
                          "que possua atendimento Urgência/Emergência, em cada Unidade Federativa "
                          "informada na Área de Atuação do produto.");
}
QString GrupoMunicipios() {
    return QStringLiteral("A rede informada deverá ser composta por pelo menos um estabelecimento, "
                          "que possua atendimento Urgência/Emergência, em qualquer município da "
                          "Área de Atuação do produto.");
}
QString Municipal() {
    return QStringLiteral("A rede informada deverá ser composta por pelo menos um estabelecimento, "
                          "que possua atendimento Urgência/Emergência, em cada município informado "
                          "na Área de Atuação do produto.");
}
}  // namespace MensagensRede

QString AvaliaRede(const DadosRede& d) {
    if (d.livreEscolha == QLatin1String("S"))
        return d.rede.isEmpty() ? QString() : MensagensRede::LivreEscolha();

    // What the urgency establishments cover, read once.
    QSet<QString> ufsCobertas;
    QSet<qlonglong> municipiosCobertos;
    for (const DadosRede::Estab& e : d.rede) {
        if (e.urgencia != QLatin1String("S")) continue;
        if (!e.cdUf.isEmpty()) ufsCobertas.insert(e.cdUf);
        municipiosCobertos.insert(e.idMunc);
    }
    const auto todasUfs = [&](const QStringList& ufs) {
        for (const QString& uf : ufs)
            if (!ufsCobertas.contains(uf)) return false;
        return true;
    };
    switch (d.cobertura) {
        case 1:
            return todasUfs(d.ufsPais) ? QString() : MensagensRede::Nacional();
        case 2:
        case 3:
            return todasUfs(d.ufsPlano) ? QString() : MensagensRede::Estados();
        case 4:
            for (qlonglong m : d.municipiosPlano)
                if (municipiosCobertos.contains(m)) return QString();
            return MensagensRede::GrupoMunicipios();
        case 5:
            for (qlonglong m : d.municipiosPlano)
                if (!municipiosCobertos.contains(m)) return MensagensRede::Municipal();
            return QString();
        default:
            return QString();
    }
}

DadosRede LeDadosRede(Banco& banco, const QString& cdOper, qlonglong seqPlano,
                      const QString& livreEscolha, int cobertura, const QStringList& ufsPais) {
    DadosRede d;
    d.livreEscolha = livreEscolha;
    d.cobertura = cobertura;
    const ParamsPosicionais plano{cdOper, seqPlano};
    const auto texto = [](const QVariant& v) { return nulo(v) ? QString() : v.toString(); };
    for (const auto& l : banco
                             .consulta(QStringLiteral(
                                           "SELECT M.CD_UF, E.ID_MUNC, E.LG_URGENCIA_EMERGENCIA FROM "
                                           "RL_PLANOS_ESTAB_SAUDE R JOIN TB_ESTAB_SAUDE E ON E.ID_ESTB_SAUD = "
                                           "R.ID_ESTB_SAUD LEFT JOIN TB_MUNICIPIOS M ON M.ID_MUNC = E.ID_MUNC "
                                           "WHERE R.CD_OPER = ? AND R.SEQ_PLANO = ?"),
                                       plano)
                             .linhas)
        d.rede.push_back({texto(l.at(0)), nulo(l.at(1)) ? -1 : l.at(1).toLongLong(), texto(l.at(2))});
    if (livreEscolha == QLatin1String("S")) return d;
    if (cobertura == 1) {
        d.ufsPais = ufsPais;
    } else if (cobertura == 2 || cobertura == 3) {
        for (const auto& l : banco
                                 .consulta(QStringLiteral("SELECT CD_UF FROM RL_PLANOS_UF WHERE CD_OPER = ? "
                                                          "AND SEQ_PLANO = ?"),
                                           plano)
                                 .linhas)
            d.ufsPlano << texto(l.at(0));
    } else if (cobertura == 4 || cobertura == 5) {
        for (const auto& l : banco
                                 .consulta(QStringLiteral("SELECT ID_MUNC FROM RL_PLANOS_MUNICIPIO WHERE "
                                                          "CD_OPER = ? AND SEQ_PLANO = ?"),
                                           plano)
                                 .linhas)
            d.municipiosPlano << l.at(0).toLongLong();
    }
    return d;
}

QStringList LeUfsPais(Banco& banco) {
    QStringList r;
    for (const auto& l : banco.consulta(QStringLiteral("SELECT CD_UF FROM TB_UFS ORDER BY CD_UF")).linhas)
        r << l.at(0).toString();
    return r;
}
