#include "rules/RegrasDispositivos.h"

#include <QSet>
#include <algorithm>

#include "common/Identificadores.h"
#include "db/Valores.h"

namespace {
// Themes with rules of their own.
constexpr qlonglong kTemaLivreEscolha = 19;
constexpr qlonglong kTemaFaixasEtarias = 24;
constexpr qlonglong kTemaColetivos = 26;
constexpr int kColetivoEmpresarial = 2;

// How those themes are named in the messages.
const QString kNomeTema9 = QStringLiteral("Tema IX - ACESSO A LIVRE ESCOLHA DE PRESTADORES ");
const QString kNomeTema13 = QStringLiteral("Tema XIII - FAIXAS ETÁRIAS");
const QString kNomeTema15 =
    QStringLiteral("Tema XV - REGRAS PARA INSTRUMENTOS JURÍDICOS DE PLANOS COLETIVOS ");
const QString kIncompativelTema =
    QStringLiteral(", o que é incompatível com a definição do Dispositivo do Tema ");
const QString kObrigatorio = QStringLiteral("É obrigatório o cadastro de um Dispositivo Contratual do ");

bool inteiro(const QVariant& v, qlonglong* n) {
    if (nulo(v)) return false;
    bool ok = false;
    *n = v.toLongLong(&ok);
    return ok;
}

// Not null and not 0.
bool informado(const QVariant& v) { return !nulo(v) && !igualA(v, 0); }
}  // namespace

void CatalogoTemas::define(QVector<TemaRegra> temas) {
    std::stable_sort(temas.begin(), temas.end(),
                     [](const TemaRegra& a, const TemaRegra& b) { return a.ordem < b.ordem; });
    m_temas = std::move(temas);
    m_indice.clear();
    for (int i = 0; i < m_temas.size(); ++i)
        if (!m_indice.contains(m_temas[i].codigo)) m_indice.insert(m_temas[i].codigo, i);
}

const TemaRegra* CatalogoTemas::tema(qlonglong codigo) const {
    const auto it = m_indice.constFind(codigo);
    return it == m_indice.cend() ? nullptr : &m_temas[*it];
}

namespace MensagensDispositivos {
QString TemaObrigatorio(const TemaRegra& t) {
    return kObrigatorio + QStringLiteral("Tema ") + RotuloTema(t.ordem, t.nome);
}
QString Tema15SoColetivoEmpresarial() {
    return QStringLiteral("Somente planos com contratação \"Coletivo Empresarial\" devem possuir "
                          "Dispositivo do ") +
           kNomeTema15;
}
QString Tema15Obrigatorio() { return kObrigatorio + kNomeTema15; }
QString Tema9SemLivreEscolha() {
    return QStringLiteral("Um Dispositivo Contratual do ") + kNomeTema9 +
           QStringLiteral(" só pode ser informado se alguma opção de \"Acesso à Livre Escolha de "
                          "Prestadores\" for selecionada");
}
QString Tema9Obrigatorio() { return kObrigatorio + kNomeTema9; }
QString TemaInativo(const QString& nomeTema) {
    return QStringLiteral("Dispositivo de Tema Inativo: ") + nomeTema;
}
QString Tema13SemPosterior() {
    return kObrigatorio + kNomeTema13 + QStringLiteral(", posterior à vigência da RN 63/03 ");
}
QString Tema13MaisDeUmPosterior() {
    return QStringLiteral("Não poderá ser cadastrado mais de um Dispositivo Contratual do ") +
           kNomeTema13 + QStringLiteral(", posterior à vigência da RN 63/03 ");
}
QString Tema13MaisDeUmAnterior() {
    return QStringLiteral("Não poderá ser cadastrado mais de um Dispositivo Contratual do ") +
           kNomeTema13 + QStringLiteral(", anterior à vigência da RN 63/03 ");
}
QString SemInformacaoComplementar(const QString& identificacao) {
    return QStringLiteral("O dispositivo ") + identificacao +
           QStringLiteral(" não pode ser utilizado pois não possui informação complementar "
                          "cadastrada.");
}
QString Incompativel(const QString& rotulo, const QString& nomeTema) {
    return QStringLiteral("O valor cadastrado para o campo ") + rotulo +
           QStringLiteral(" deve ser compatível com o Dispositivo do Tema ") + nomeTema;
}
QString SemPadraoAcomodacao(const QString& nomeTema) {
    return QStringLiteral("O plano não possui Padrão de Acomodação, portanto não deve possuir "
                          "Dispositivo do Tema ") +
           nomeTema;
}
QString SemCoberturaAdicional(const QString& nomeTema) {
    return QStringLiteral("Não há coberturas adicionais selecionadas") + kIncompativelTema + nomeTema;
}
QString ComCoberturaAdicional(const QString& nomeTema) {
    return QStringLiteral("Existem coberturas adicionais selecionadas") + kIncompativelTema + nomeTema;
}
QString SemReembolso(const QString& nomeTema) {
    return QStringLiteral("Não há reembolsos selecionados") + kIncompativelTema + nomeTema;
}
QString ComReembolso(const QString& nomeTema) {
    return QStringLiteral("Existem reembolsos selecionados") + kIncompativelTema + nomeTema;
}
}  // namespace MensagensDispositivos

bool ValoresDiferem(Caracteristica c, const QVariant& a, const QVariant& b) {
    if (nulo(a) || nulo(b)) return nulo(a) != nulo(b);
    qlonglong na, nb;
    if (Caracteristicas::Numerica(c) && inteiro(a, &na) && inteiro(b, &nb)) return na != nb;
    return a.toString() != b.toString();
}

bool FatorModeradorCabe(const QVariant& valor, const QString& co, const QString& franquia) {
    const QString v = nulo(valor) ? QString() : valor.toString();
    const auto S = QLatin1String("S"), N = QLatin1String("N");
    if (v == N) return co != S && franquia != S;
    if (v == QLatin1String("C")) return co != N && franquia != S;
    if (v == QLatin1String("F")) return co != S && franquia != N;
    if (v == QLatin1String("A")) return co != N && franquia != N;
    return true;
}

QStringList RegrasTemas(const DadosDispositivos& d) {
    namespace M = MensagensDispositivos;
    QStringList msgs;
    QSet<qlonglong> temasDoPlano;
    for (const DispositivoRegra& disp : d.dispositivos) temasDoPlano.insert(disp.tema);

    if (d.temas)
        for (const TemaRegra& t : d.temas->temas())
            if (t.ativo && t.obrigatorio && !temasDoPlano.contains(t.codigo))
                msgs << M::TemaObrigatorio(t);

    const bool coletivoEmpresarial = igualA(d.tipoContrato, kColetivoEmpresarial);
    if (temasDoPlano.contains(kTemaColetivos)) {
        if (!coletivoEmpresarial) msgs << M::Tema15SoColetivoEmpresarial();
    } else if (coletivoEmpresarial) {
        msgs << M::Tema15Obrigatorio();
    }

    if (temasDoPlano.contains(kTemaLivreEscolha)) {
        if (!d.livreEscolha) msgs << M::Tema9SemLivreEscolha();
    } else if (d.livreEscolha) {
        msgs << M::Tema9Obrigatorio();
    }

    int posteriores = 0, anteriores = 0;
    bool temFaixas = false;
    for (const DispositivoRegra& disp : d.dispositivos) {
        if (!disp.temaAtivo) msgs << M::TemaInativo(disp.nomeTema);
        if (disp.tema != kTemaFaixasEtarias) continue;
        temFaixas = true;
        const QString faixa = disp.valor(Caracteristica::FaixaEtaria).toString();
        if (faixa == QLatin1String("2"))
            ++posteriores;
        else if (faixa == QLatin1String("1"))
            ++anteriores;
    }
    if (temFaixas) {
        if (posteriores == 0)
            msgs << M::Tema13SemPosterior();
        else if (posteriores > 1)
            msgs << M::Tema13MaisDeUmPosterior();
        else if (anteriores > 1)
            msgs << M::Tema13MaisDeUmAnterior();
    }
    return msgs;
}

QStringList RegrasCaracteristicas(const DadosDispositivos& d) {
    namespace M = MensagensDispositivos;
    using C = Caracteristica;
    QStringList msgs;
    for (const DispositivoRegra& disp : d.dispositivos) {
        if (!disp.temaAtivo) continue;
        const TemaRegra* tema = d.temas ? d.temas->tema(disp.tema) : nullptr;
        const C c = tema ? tema->caracteristica : C::Nenhuma;
        if (c == C::Nenhuma) continue;
        const QVariant& v = disp.valor(c);
        if (nulo(v)) msgs << M::SemInformacaoComplementar(disp.identificacao);

        const QString& nome = tema->nome;
        const QString texto = nulo(v) ? QString() : v.toString();
        switch (c) {
            case C::Segmentacao:
                if (informado(v) && ValoresDiferem(c, v, d.segmentacao))
                    msgs << M::Incompativel(QStringLiteral("SEGMENTAÇÃO"), nome);
                break;
            case C::Abrangencia:
                if (ValoresDiferem(c, v, d.abrangencia))
                    msgs << M::Incompativel(QStringLiteral("ABRANGÊNCIA"), nome);
                break;
            case C::PadraoAcomodacao:
                if (igualA(d.segmentacao, 1) || igualA(d.segmentacao, 4))
                    msgs << M::SemPadraoAcomodacao(nome);
                else if (ValoresDiferem(c, v, d.padraoAcomodacao))
                    msgs << M::Incompativel(QStringLiteral("PADRÃO DE ACOMODAÇÃO"), nome);
                break;
            case C::TipoContrato:
                if (informado(v) && ValoresDiferem(c, v, d.tipoContrato))
                    msgs << M::Incompativel(QStringLiteral("CONTRATAÇÃO"), nome);
                break;
            case C::TipoFinanc:
                if (ValoresDiferem(c, v, d.tipoFinanc))
                    msgs << M::Incompativel(QStringLiteral("FORMAÇÃO DO PREÇO"), nome);
                break;
            case C::CoberturaAdicional:
                if (texto == QLatin1String("S") && !d.servicosOpcionais)
                    msgs << M::SemCoberturaAdicional(nome);
                else if (texto == QLatin1String("N") && d.servicosOpcionais)
                    msgs << M::ComCoberturaAdicional(nome);
                break;
            case C::FormaAcesso:
                if (texto == QLatin1String("S") && !d.livreEscolha)
                    msgs << M::SemReembolso(nome);
                else if (texto == QLatin1String("N") && d.livreEscolha)
                    msgs << M::ComReembolso(nome);
                break;
            case C::FatorModerador:
                if (!FatorModeradorCabe(v, d.coparticipacao, d.franquia))
                    msgs << M::Incompativel(QStringLiteral("FATOR MODERADOR"), nome);
                break;
            case C::FaixaEtaria:
            case C::Nenhuma:
                break;
        }
    }
    return msgs;
}

QStringList RegrasDispositivos(const DadosDispositivos& d) {
    return RegrasTemas(d) + RegrasCaracteristicas(d);
}
