#pragma once
#include <QString>
#include <QVariant>
#include <functional>

// The attributes a theme of contract devices may call for. A device of such a theme
// states one value of the attribute (its column of the same name after "CD"), and
// a plan that carries the device must agree with it.
enum class Caracteristica {
    Nenhuma = -1,
    TipoContrato,
    Segmentacao,
    Abrangencia,
    PadraoAcomodacao,
    FaixaEtaria,
    CoberturaAdicional,
    FormaAcesso,
    FatorModerador,
    TipoFinanc,
};
inline constexpr int kQtCaracteristicas = 9;

namespace Caracteristicas {
// The theme's flag ("LG_SEGMENTACAO"); empty for Nenhuma.
QString Flag(Caracteristica c);
// The device's column ("CD_SEGMENTACAO"); empty for Nenhuma.
QString Coluna(Caracteristica c);
// The caption shown beside the device's value ("Segmentação Assistencial").
QString Legenda(Caracteristica c);
// The look-up field of the device set that shows the value's description ("LkpSegmentacao").
QString CampoLookup(Caracteristica c);
// Whether the value is an integer code (the others are one-letter codes).
bool Numerica(Caracteristica c);
// The characteristic of a device column name ("CD_SEGMENTACAO"), any letter case.
Caracteristica DaColuna(const QString& coluna);

// The order the theme's flags are tested in.
enum class Ordem {
    // The device screen and the device report: ..., LG_FATOR_MODERADOR, LG_TIPO_FINANC.
    Dispositivos,
    // The plan rules, in the column order of the plan module's theme set:
    // ..., LG_TIPO_FINANC, LG_FATOR_MODERADOR.
    TemasPlano,
};
// The first flag of the theme (its value given by `valor`, read by flag name) that
// equals "S" in that order, or Nenhuma. LG_OBRIGATORIO never counts.
Caracteristica DoTema(Ordem ordem, const std::function<QVariant(const QString& flag)>& valor);
}  // namespace Caracteristicas
