#include "devices/Caracteristicas.h"

namespace {
struct Info {
    const char* nome;  // after "LG_" / "CD_"
    const char* lookup;
    const char* legenda;
    bool numerica;
};
// In the order of the enum.
const Info kInfo[kQtCaracteristicas] = {
    {"TIPO_CONTRATO", "LkpTipoContrato", "Tipo Contratação", true},
    {"SEGMENTACAO", "LkpSegmentacao", "Segmentação Assistencial", true},
    {"ABRANGENCIA", "LkpAbrangencia", "Área Geográfica de Abrangência", true},
    {"PADRAO_ACOMODACAO", "LkpPadraoAcomodacao", "Padrão de Acomodação em Internação", false},
    {"FAIXA_ETARIA", "LkpFaixaEtaria", "Faixas Etárias", false},
    {"COBERTURA_ADICIONAL", "LkpCoberturaAdicional", "Serviços e Coberturas Adicionais", false},
    {"FORMA_ACESSO", "LkpFormaAcesso", "Forma de Acesso", false},
    {"FATOR_MODERADOR", "LkpFatorModerador", "Fator Moderador", false},
    {"TIPO_FINANC", "LkpTipoFinanc", "Tipo de Financiamento", true},
};

using C = Caracteristica;
const C kOrdemDispositivos[kQtCaracteristicas] = {
    C::TipoContrato,       C::Segmentacao, C::Abrangencia,    C::PadraoAcomodacao, C::FaixaEtaria,
    C::CoberturaAdicional, C::FormaAcesso, C::FatorModerador, C::TipoFinanc};
const C kOrdemTemasPlano[kQtCaracteristicas] = {
    C::TipoContrato,       C::Segmentacao, C::Abrangencia, C::PadraoAcomodacao, C::FaixaEtaria,
    C::CoberturaAdicional, C::FormaAcesso, C::TipoFinanc,  C::FatorModerador};

const Info* info(Caracteristica c) {
    const int i = int(c);
    return i >= 0 && i < kQtCaracteristicas ? &kInfo[i] : nullptr;
}
}  // namespace

namespace Caracteristicas {

QString Flag(Caracteristica c) {
    const Info* i = info(c);
    return i ? QStringLiteral("LG_") + QLatin1String(i->nome) : QString();
}

QString Coluna(Caracteristica c) {
    const Info* i = info(c);
    return i ? QStringLiteral("CD_") + QLatin1String(i->nome) : QString();
}

QString Legenda(Caracteristica c) {
    const Info* i = info(c);
    return i ? QString::fromUtf8(i->legenda) : QString();
}

QString CampoLookup(Caracteristica c) {
    const Info* i = info(c);
    return i ? QString::fromLatin1(i->lookup) : QString();
}

bool Numerica(Caracteristica c) {
    const Info* i = info(c);
    return i && i->numerica;
}

Caracteristica DaColuna(const QString& coluna) {
    for (int i = 0; i < kQtCaracteristicas; ++i)
        if (coluna.compare(Coluna(Caracteristica(i)), Qt::CaseInsensitive) == 0)
            return Caracteristica(i);
    return Caracteristica::Nenhuma;
}

Caracteristica DoTema(Ordem ordem, const std::function<QVariant(const QString& flag)>& valor) {
    const C* lista = ordem == Ordem::Dispositivos ? kOrdemDispositivos : kOrdemTemasPlano;
    for (int i = 0; i < kQtCaracteristicas; ++i)
        if (valor(Flag(lista[i])).toString() == QLatin1String("S")) return lista[i];
    return Caracteristica::Nenhuma;
}

}  // namespace Caracteristicas
