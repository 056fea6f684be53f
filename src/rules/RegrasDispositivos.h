#pragma once
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <array>

#include "devices/Caracteristicas.h"

// A theme of contract devices as the device rules see it.
struct TemaRegra {
    qlonglong codigo = 0;  // CD_TIPO_CLAUSULA
    QString nome;          // DE_TIPO_CLAUSULA
    int ordem = 0;         // NR_ORDEM_EXIBICAO
    bool obrigatorio = false;  // LG_OBRIGATORIO = "S"
    bool ativo = true;         // DT_PUBLICACAO_FIM empty
    // The one characteristic a device of the theme states (first flag "S" in the order
    // of the plan module's theme set), or Nenhuma.
    Caracteristica caracteristica = Caracteristica::Nenhuma;
};

// One device linked to the plan, with its theme's name and end of publication.
struct DispositivoRegra {
    qlonglong tema = 0;  // CD_TIPO_CLAUSULA
    QString nomeTema;    // DE_TIPO_CLAUSULA
    bool temaAtivo = true;  // the theme's DT_PUBLICACAO_FIM is empty
    QString identificacao;  // CD_IDENTIFICACAO_TEXTO
    QString descricao;      // DE_CLAUSULA_OPERADORA
    // The device's characteristic values, by Caracteristica (null = not filled in).
    std::array<QVariant, kQtCaracteristicas> valores;
    const QVariant& valor(Caracteristica c) const { return valores[size_t(c)]; }
};

// Every theme, in display order (NR_ORDEM_EXIBICAO, then as read), found by code.
class CatalogoTemas {
public:
    // Keeps the themes in display order (a stable sort of what is given).
    void define(QVector<TemaRegra> temas);
    const QVector<TemaRegra>& temas() const { return m_temas; }
    const TemaRegra* tema(qlonglong codigo) const;

private:
    QVector<TemaRegra> m_temas;
    QHash<qlonglong, int> m_indice;
};

// A plan and what its devices are checked against: its attributes, its devices in the
// order of the plan's device set, every theme, and whether it has free-choice items
// and optional services.
struct DadosDispositivos {
    QVariant tipoContrato;      // CD_TIPO_CONTRATO
    QVariant segmentacao;       // CD_SEGMENTACAO
    QVariant abrangencia;       // CD_ABRANGENCIA
    QVariant padraoAcomodacao;  // CD_PADRAO_ACOMODACAO
    QVariant tipoFinanc;        // CD_TIPO_FINANC
    QString coparticipacao;     // LG_FM_COPARTICIPACAO
    QString franquia;           // LG_FM_FRANQUIA
    bool livreEscolha = false;  // has rows of RL_PLANOS_TIPO_COBERTURA
    bool servicosOpcionais = false;  // has rows of RL_PLANOS_SERV_OPC
    QVector<DispositivoRegra> dispositivos;
    const CatalogoTemas* temas = nullptr;
};

// The rules of the regulator on a plan's contract devices. Each returns one message per
// problem, in the order the rules are walked; an empty list means the devices are in
// order.
QStringList RegrasTemas(const DadosDispositivos& dados);
QStringList RegrasCaracteristicas(const DadosDispositivos& dados);
// The two lists joined, theme rules first.
QStringList RegrasDispositivos(const DadosDispositivos& dados);

// Whether two characteristic values differ: integer codes as numbers, letter codes as
// text; a null and a value differ, two nulls do not.
bool ValoresDiferem(Caracteristica c, const QVariant& a, const QVariant& b);
// Whether the moderating factor `valor` fits the plan's co-participation and franchise
// flags.
bool FatorModeradorCabe(const QVariant& valor, const QString& coparticipacao,
                        const QString& franquia);

namespace MensagensDispositivos {
QString TemaObrigatorio(const TemaRegra& tema);
QString Tema15SoColetivoEmpresarial();
QString Tema15Obrigatorio();
QString Tema9SemLivreEscolha();
QString Tema9Obrigatorio();
QString TemaInativo(const QString& nomeTema);
QString Tema13SemPosterior();
QString Tema13MaisDeUmPosterior();
QString Tema13MaisDeUmAnterior();
QString SemInformacaoComplementar(const QString& identificacao);
QString Incompativel(const QString& rotulo, const QString& nomeTema);
QString SemPadraoAcomodacao(const QString& nomeTema);
QString SemCoberturaAdicional(const QString& nomeTema);
QString ComCoberturaAdicional(const QString& nomeTema);
QString SemReembolso(const QString& nomeTema);
QString ComReembolso(const QString& nomeTema);
}  // namespace MensagensDispositivos
