#include "plans/RegrasRede.h"

#include <QSet>

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
