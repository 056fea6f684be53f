#include "request/VerificacaoPlanos.h"

#include <QDate>
#include <QDateTime>
#include <QSet>

#include "common/Identificadores.h"
#include "db/Banco.h"
#include "db/Valores.h"
#include "plans/AreaAtuacao.h"
#include "platform/Plataforma.h"
#include "request/DmExportacao.h"
#include "plans/RegrasRede.h"

namespace {

const QString kTodos = QStringLiteral("TODOS OS PLANOS");
const QDate kDataZero(1899, 12, 30);
const QString kDataZeroIso = kDataZero.toString(Qt::ISODate);

// An empty value: null or an empty text (blanks are a value).
bool vazio(const QVariant& v) { return nulo(v) || v.toString().isEmpty(); }
// The code as an integer; `ok` false when the value is empty or not a number.
int inteiro(const QVariant& v, bool* ok = nullptr) {
    bool certo = false;
    const int n = nulo(v) ? 0 : v.toString().trimmed().toInt(&certo);
    if (ok) *ok = certo;
    return certo ? n : 0;
}
bool sim(const QVariant& v) { return v.toString() == QLatin1String("S"); }

// The identifier checks refuse texts with other characters by throwing: here such a
// text simply fails the check.
template <typename F>
bool confere(F&& f) {
    try {
        return f();
    } catch (const ErroQev&) {
        return false;
    }
}
bool zeros(const QString& t) {
    return confere([&] { return SomenteDigitos(t).size() == t.trimmed().size() && TodosZeros(t); });
}

QString textoDe(const QVariant& v) { return nulo(v) ? QString() : v.toString(); }

}  // namespace

PlanoSolicitacao PlanoSolicitacao::De(const std::function<QVariant(const QString&)>& valor) {
    PlanoSolicitacao p;
    p.cdOper = valor(QStringLiteral("CD_OPER")).toString();
    p.seqPlano = valor(QStringLiteral("SEQ_PLANO"));
    p.nmPlano = valor(QStringLiteral("NM_PLANO")).toString();
    p.segmentacao = valor(QStringLiteral("CD_SEGMENTACAO"));
    p.contrato = valor(QStringLiteral("CD_TIPO_CONTRATO"));
    p.abrangencia = valor(QStringLiteral("CD_ABRANGENCIA"));
    p.financiamento = valor(QStringLiteral("CD_TIPO_FINANC"));
    p.acomodacao = valor(QStringLiteral("CD_PADRAO_ACOMODACAO"));
    p.posEstabelecido = valor(QStringLiteral("CD_OPCAO_POS_ESTABELECIDO"));
    p.vinculoAtivo = valor(QStringLiteral("LG_VB_VINCULO_ATIVO"));
    p.vinculoInativo = valor(QStringLiteral("LG_VB_VINCULO_INATIVO"));
    p.semVinculo = valor(QStringLiteral("LG_VB_SEM_VINCULO"));
    p.livreEscolha = valor(QStringLiteral("LG_TOTAL_LIVRE_ESCOLHA"));
    p.consistente = valor(QStringLiteral("LG_CONSISTENTE"));
    p.statusEnvio = valor(QStringLiteral("CD_STATUS_ENVIO"));
    return p;
}

TVerificacaoPlanos::TVerificacaoPlanos(Banco& banco, TDmExportacao& exportacao,
                                       const TOperadora& operadora)
    : m_banco(banco), m_exportacao(exportacao), m_operadora(operadora) {}

TVerificacaoPlanos::~TVerificacaoPlanos() = default;

void TVerificacaoPlanos::erro(const PlanoSolicitacao* p, const QString& campo,
                              const QString& mensagem, Limpa limpa) {
    m_exportacao.AdicionaErroPlano(QtdErros, campo, -1, p->abrangencia, p->contrato, p->segmentacao,
                                   p->nmPlano, p->seqPlano, mensagem);
    if (limpa == Limpa::Consistencia) PlanoConsistente = false;
    if (limpa == Limpa::Rede) RedeVinculada = false;
}

void TVerificacaoPlanos::erroTabela(const QString& campo, const QString& mensagem) {
    m_exportacao.AdicionaErroPlano(QtdErros, campo, -1, -1, -1, -1, kTodos, -1, mensagem);
    ErroTabela = true;
}

// ---------------------------------------------------------------------------
// Operator and code tables
// ---------------------------------------------------------------------------

void TVerificacaoPlanos::VerificaOperadora() {
    if (m_operadora.CdOper.trimmed().isEmpty())
        erroTabela(QStringLiteral("Código Operadora"), QStringLiteral("Tabela Operadora sem Código."));
    if (!confere([&] { return ValidaCnpjCpf(m_operadora.Cnpj, 0); }))
        erroTabela(QStringLiteral("C.N.P.J"), QStringLiteral("Tabela Operadora com CNPJ inválido."));
    if (m_operadora.RazaoSocial.trimmed().isEmpty())
        erroTabela(QStringLiteral("Razão Social"),
                   QStringLiteral("Tabela Operadora com Razão SocialInválida."));
}

void TVerificacaoPlanos::VerificaTabelas() {
    const struct {
        const char* tabela;
        const char* codigo;
        const char* descricao;
        int minimo, maximo;
        const char* campoCodigo;
        const char* msgCodigo;
        bool sufixoNoCodigo;
        const char* campoDescricao;
        const char* msgDescricao;
        const char* sufixo;
    } tabelas[] = {
        {"TA_TIPO_ABRANGENCIA", "CD_ABRANGENCIA", "DE_ABRANGENCIA", 1, 6, "Cód.Abrangência",
         "Tabela Abrangência - Abrangência Inválido.", false, "Desc.Abrangência",
         "Tabela Abrangência - Descrição Abrangência Inválido.", "  (Cód. Abrangência: "},
        {"TA_TIPO_CONTRATO", "CD_TIPO_CONTRATO", "DE_TIPO_CONTRATO", 1, 7, "Cód.Tipo Contrato",
         "Tabela TipoContrato - Tipo Contrato Inválido.", true, "Desc. Tipo Contrato",
         "Tabela TipoContrato - Descrição do Tipo Contrato Inválido.", "  (Cód. Contrato: "},
        {"TA_TIPO_SEGMENTACAO", "CD_SEGMENTACAO", "DE_SEGMENTACAO", 0, 15, "Cód.Segmentação",
         "Tabela Segmentação  - Código Segmentação Inválido.", true, "Desc.Segmentação",
         "Tabela Segmentação  - Descrição Segmentação Inválido.", "  (Cód. Segmentação: "},
    };
    for (const auto& t : tabelas) {
        const Resultado r = m_banco.consulta(QStringLiteral("SELECT %1, %2 FROM %3")
                                                 .arg(QLatin1String(t.codigo), QLatin1String(t.descricao),
                                                      QLatin1String(t.tabela)));
        for (const auto& l : r.linhas) {
            const QString sufixo = QString::fromUtf8(t.sufixo) + textoDe(l.at(0)) + QLatin1Char(')');
            bool ok = false;
            const int codigo = inteiro(l.at(0), &ok);
            if (!ok || codigo < t.minimo || codigo > t.maximo)
                erroTabela(QString::fromUtf8(t.campoCodigo),
                           QString::fromUtf8(t.msgCodigo) + (t.sufixoNoCodigo ? sufixo : QString()));
            if (branco(l.at(1)))
                erroTabela(QString::fromUtf8(t.campoDescricao), QString::fromUtf8(t.msgDescricao) + sufixo);
        }
    }
}

// ---------------------------------------------------------------------------
// One plan
// ---------------------------------------------------------------------------

void TVerificacaoPlanos::VerificaPlano(const PlanoSolicitacao& p) {
    PlanoConsistente = true;
    RedeVinculada = true;
    VerificaTabelaPlano(p);
    VerificaEstabelecimentos(p, false);
    VerificaVinculoNaoHospitalar(p);
    VerificaAtributos(p);
    VerificaArea(p);
    VerificaNotasTecnicas(p);
    VerificaTaxas(p);
    if (p.seg() != 4)
        VerificaRede(p);
    else
        VerificaRedeOdontologica(p);
}

std::pair<bool, bool> TVerificacaoPlanos::VerificacaoInicial(const PlanoSolicitacao& p) {
    PlanoConsistente = p.consistente.toString() == QLatin1String("S");
    RedeVinculada = true;
    if (!PlanoConsistente) return {false, false};
    if (p.seg() != 4) {
        VerificaRede(p);
        VerificaEstabelecimentos(p, true);
    }
    VerificaVinculoNaoHospitalar(p);
    if (vazio(p.livreEscolha)) {
        erro(&p, QStringLiteral("Plano opera exclusivamente como Livre Escolha"),
             QStringLiteral("Não foi informado se o plano opera exclusivamente como Livre Escolha."),
             Limpa::Consistencia);
    }
    return {PlanoConsistente, RedeVinculada};
}

void TVerificacaoPlanos::VerificaTabelaPlano(const PlanoSolicitacao& p) {
    const auto linha = [&](const char* campo, const char* mensagem) {
        erro(&p, QString::fromUtf8(campo), QString::fromUtf8(mensagem), Limpa::Consistencia);
    };
    const int grupo = m_operadora.Classificacao;
    if ((grupo == 23 || grupo == 26) && inteiro(p.segmentacao) != 4)
        linha("Tipo de Segmentação",
              "Cadastro de Planos - Tipo de Segmentação inválido para a classificação da Operadora.");
    if (grupo == 24 && inteiro(p.contrato) != 2 && inteiro(p.contrato) != 3)
        linha("Tipo de Contratação",
              "Cadastro de Planos - Tipo de Contratação inválido para a classificação da Operadora.");
    if (p.cdOper != m_operadora.CdOper)
        linha("Código Operadora", "Cadastro de Planos - Código Operadora # Tabela Operadora.");
    if (vazio(p.seqPlano))
        linha("Sequencial do Plano", "Cadastro de Planos - Sequencial do Plano deve ser númerico.");
    else if (p.seq() < 0)
        linha("Sequencial do Plano", "Cadastro de Planos - Sequencial do Plano Inválido.");
    if (p.nmPlano.trimmed().isEmpty())
        linha("Descrição do Plano", "Cadastro de Planos - Nome do Plano Inválido.");
    bool ok = false;
    if (vazio(p.abrangencia))
        linha("Cód.Abrangência", "Cadastro de Planos - Abrangência Geográfica do Plano em Branco.");
    else if (const int a = inteiro(p.abrangencia, &ok); !ok || a < 0 || a > 6)
        linha("Cód.Abrangência", "Cadastro de Planos - Abrangência Geográfica do Plano Inválida.");
    if (vazio(p.segmentacao))
        linha("Cód.Segmentação", "Cadastro de Planos - Segmentação Assistencial do Plano em Branco.");
    else if (const int s = inteiro(p.segmentacao, &ok); !ok || s < 0 || s > 15)
        linha("Cód.Segmentação", "Cadastro de Planos - Segmentação do Plano Inválido.");
    if (const int c = inteiro(p.contrato); c < 1 || c > 7)
        linha("Cód.Tipo Contrato", "Cadastro de Planos - Tipo Contrato do Plano Inválido.");
}

QVector<AchadoSolicitacao> TVerificacaoPlanos::AchadosEstabelecimento(const QVariantList& e) {
    const QVariant id = e.value(0);
    const QString cnpjGravado = textoDe(e.value(1));
    const QString cnpj = cnpjGravado.trimmed();
    const QString cnes = textoDe(e.value(2)).trimmed();
    const QString nome = textoDe(e.value(3)).trimmed();
    const int classe = inteiro(e.value(4));
    const QVariant tipo = e.value(5);
    const QString contrato = textoDe(e.value(6));
    const QVariant vinculo = e.value(7);
    const QVariant disponibilidade = e.value(8);
    const QVariant municipio = e.value(9);
    const QVariant intermediaria = e.value(10);

    QStringList partes;
    for (const QString& t : {cnpj, cnes, nome})
        if (!t.isEmpty()) partes << QLatin1Char('"') + t + QLatin1Char('"');
    const QString prefixo =
        partes.isEmpty()
            ? QStringLiteral("Estabelecimentos de Saúde (") + textoDe(id) + QStringLiteral(") - ")
            : QStringLiteral("Estb. Saúde (") + partes.join(QLatin1Char('/')) + QStringLiteral("): ");

    QVector<AchadoSolicitacao> r;
    const auto achado = [&](const char* campo, const char* texto) {
        r.push_back({QString::fromUtf8(campo), prefixo + QString::fromUtf8(texto)});
    };
    const bool classe1 = classe == 1;
    if (!cnes.isEmpty()) {
        if (cnes.size() < 7)
            achado("CNES", "CNES deve possuir sete dígitos.");
        else if (!confere([&] { return ValidaCnes(cnes); }))
            achado("CNES", "CNES inválido.");
        if (cnpjGravado.size() >= 12) {
            if (!confere([&] { return ValidaCnpjCpf(cnpjGravado, 0); }) || zeros(cnpjGravado))
                achado("C.N.P.J", "CNPJ inválido.");
        } else if (cnpj.isEmpty()) {
            achado("CPF/CNPJ", "CPF/CNPJ não informado.");
        } else if (!confere([&] { return ValidaCnpjCpf(cnpjGravado, 1); }) || zeros(cnpjGravado)) {
            achado("CPF", "CPF inválido.");
        }
    } else if (cnpj.isEmpty()) {
        if (classe1)
            achado("CPF/CNPJ", "CPF/CNPJ não informado.");
        else
            achado("CPF/CNPJ ou CNES", "precisa ter informado o CPF/CNPJ ou CNES.");
    }
    if (nome.isEmpty()) achado("Razão Social", "Razão Social não informada.");
    if (classe1 && inteiro(tipo) == 0) achado("Vínculo da Rede", "Vínculo da Rede não informado.");
    if (cnes.isEmpty() && inteiro(municipio) == 0)
        achado("UF / Município", "UF / Município não informados.");
    if (inteiro(tipo) == 2000) {
        if (contrato.trimmed().isEmpty())
            achado("Tipo de Contratualização", "Tipo de Contratualização não informada.");
        else if (contrato.trimmed() != QLatin1String("D") && contrato.trimmed() != QLatin1String("I"))
            achado("Tipo de Contratualização", "Tipo de Contratualização inválido.");
    }
    if (classe1 && inteiro(tipo) == 2000 && contrato == QLatin1String("I") && branco(intermediaria))
        achado("Registro ZUB da Operadora intermediária",
               "Registro ZUB da Operadora intermediária não informado.");
    // (the stored text is compared: no time-zone look-up for each of thousands of rows)
    const bool semVinculo = branco(vinculo) || textoDe(vinculo).startsWith(kDataZeroIso);
    if (!vazio(tipo) && semVinculo)
        achado("Data de início da prestação do serviço",
               "Data de início da prestação do serviço não informada.");
    if (classe1 && branco(disponibilidade))
        achado("Disponibilidade de Serviços", "Disponibilidade de Serviços não informado.");
    return r;
}

namespace {
const char kColunasEstab[] =
    "ES.ID_ESTB_SAUD, ES.CD_CNPJ_ESTB_SAUD, ES.CD_CNES, ES.RAZAO_SOCIAL_ESTB_SAUD, "
    "ES.CD_CLASSIF_ESTAB_SAUDE, ES.CD_TIPO_ESTB_SAUD, ES.CD_TIPO_CONTRATO_ESTB_SAUDE, "
    "ES.DT_VINCULO_OPER, ES.CD_DISP_SERVICO, ES.ID_MUNC, ES.CD_OPER_INTERMEDIADORA";
}

const QVector<std::pair<qlonglong, QVector<AchadoSolicitacao>>>&
TVerificacaoPlanos::estabelecimentosGerais() {
    // The establishments of classifications 2 and 3 are examined for every plan, linked
    // or not: they are read and judged once per action.
    if (!m_gerais) {
        m_gerais.emplace();
        const Resultado r = m_banco.consulta(
            QStringLiteral("SELECT %1 FROM TB_ESTAB_SAUDE ES WHERE ES.CD_CLASSIF_ESTAB_SAUDE IN (2, 3) "
                           "ORDER BY ES.ID_ESTB_SAUD")
                .arg(QLatin1String(kColunasEstab)));
        m_gerais->reserve(r.numLinhas());
        for (const auto& l : r.linhas) m_gerais->push_back({l.at(0).toLongLong(), AchadosEstabelecimento(l)});
    }
    return *m_gerais;
}

const QVector<AchadoSolicitacao>& TVerificacaoPlanos::julgado(const QVariantList& estabelecimento) {
    // A hospital linked to many plans is judged once per action.
    const qlonglong id = estabelecimento.at(0).toLongLong();
    auto it = m_julgados.find(id);
    if (it == m_julgados.end()) it = m_julgados.insert(id, AchadosEstabelecimento(estabelecimento));
    return *it;
}

void TVerificacaoPlanos::VerificaEstabelecimentos(const PlanoSolicitacao& p, bool paraNoPrimeiro) {
    const auto& gerais = estabelecimentosGerais();
    const Resultado vinculados = m_banco.consulta(
        // Driven by the plan's links (an establishment linked twice still counts once).
        QStringLiteral("SELECT %1 FROM TB_ESTAB_SAUDE ES WHERE ES.ID_ESTB_SAUD IN (SELECT "
                       "PES.ID_ESTB_SAUD FROM RL_PLANOS_ESTAB_SAUDE PES WHERE PES.CD_OPER = ? AND "
                       "PES.SEQ_PLANO = ?) AND ES.CD_CLASSIF_ESTAB_SAUDE = 1 ORDER BY ES.ID_ESTB_SAUD")
            .arg(QLatin1String(kColunasEstab)),
        {p.cdOper, p.seqPlano});

    // Both lists in identifier order, walked as one.
    int g = 0, v = 0;
    while (g < gerais.size() || v < vinculados.numLinhas()) {
        const bool daGeral =
            v >= vinculados.numLinhas() ||
            (g < gerais.size() && gerais[g].first < vinculados.linhas[v].at(0).toLongLong());
        const QVector<AchadoSolicitacao>& achados = daGeral ? gerais[g++].second : julgado(vinculados.linhas[v++]);
        for (const AchadoSolicitacao& a : achados) erro(&p, a.campo, a.mensagem, Limpa::Rede);
        if (paraNoPrimeiro && !RedeVinculada) break;
    }
    const bool algum = !gerais.isEmpty() || !vinculados.vazio();
    if (p.seg() != 4 && p.livreEscolha.toString() != QLatin1String("S") && !algum)
        erro(&p, QStringLiteral("Estabelecimentos de Saúde"),
             QStringLiteral("Não existem Estabelecimentos de Saúde vinculados ao plano."), Limpa::Rede);
}

void TVerificacaoPlanos::VerificaVinculoNaoHospitalar(const PlanoSolicitacao& p) {
    const QVariant existe = m_banco.valor(
        QStringLiteral("SELECT 1 FROM RL_PLANOS_ESTAB_SAUDE R JOIN TB_ESTAB_SAUDE E ON "
                       "E.ID_ESTB_SAUD = R.ID_ESTB_SAUD WHERE R.CD_OPER = ? AND R.SEQ_PLANO = ? AND "
                       "E.CD_CLASSIF_ESTAB_SAUDE <> 1 LIMIT 1"),
        {p.cdOper, p.seqPlano});
    if (existe.isValid())
        erro(&p, QStringLiteral("Vinculação de Rede"),
             QStringLiteral("Plano vinculado a estabelecimento com classificação diferente de "
                            "Assistência Hospitalar."),
             Limpa::Rede);
}

void TVerificacaoPlanos::VerificaAtributos(const PlanoSolicitacao& p) {
    const auto linha = [&](const char* campo, const char* mensagem) {
        erro(&p, QString::fromUtf8(campo), QString::fromUtf8(mensagem), Limpa::Consistencia);
    };
    const int seg = inteiro(p.segmentacao);
    const int financ = inteiro(p.financiamento);
    const int contrato = inteiro(p.contrato);
    const auto primeira = [](const QVariant& v) { return textoDe(v).left(1); };

    if (seg != 1 && seg != 4 && seg != 8) {
        if (nulo(p.acomodacao))
            linha("Padrão de Acomodação", "Tabela de Planos - Padrão de Acomodação não informado.");
        else if (primeira(p.acomodacao) != QLatin1String("C") && primeira(p.acomodacao) != QLatin1String("I"))
            linha("Padrão de Acomodação", "Tabela de Planos - Padrão de Acomodação inválido.");
    }
    if (financ == 2) {
        if (nulo(p.posEstabelecido))
            linha("Opções de pós-estabelecido", "Tabela de Planos - Opção de pós-estabelecido não informada.");
        else if (primeira(p.posEstabelecido) != QLatin1String("C") &&
                 primeira(p.posEstabelecido) != QLatin1String("R"))
            linha("Opções de pós-estabelecido", "Tabela de Planos - Opção de pós-estabelecido inválida.");
    }
    if (seg == 5) {
        if (textoDe(p.acomodacao).trimmed() == QLatin1String("I"))
            linha("Padrão de Acomodação", "Plano não pode possuir Padrão de acomodação Individual.");
        if (financ == 3) linha("Formação de Preço", "Plano não pode possuir Formação de Preço misto.");
        if (m_banco.valor(QStringLiteral("SELECT COUNT(*) AS TOTAL FROM RL_PLANOS_SERV_OPC WHERE "
                                         "CD_OPER = ? AND SEQ_PLANO = ?"),
                          {p.cdOper, p.seqPlano})
                .toInt() > 0)
            linha("Plano Referência", "Plano não pode possuir Serviços e Coberturas adicionais.");
    }
    if (seg == 11) {
        if (financ == 3) linha("Formação de Preço", "Plano não pode possuir Formação de Preço misto.");
        if (m_banco.valor(QStringLiteral("SELECT COUNT(*) AS TOTAL FROM RL_PLANOS_TIPO_COBERTURA WHERE "
                                         "CD_OPER = ? AND SEQ_PLANO = ? AND CD_TIPO_COBERTURA IN (1, 2, 4, 5)"),
                          {p.cdOper, p.seqPlano})
                .toInt() > 0)
            linha("Livre escolha de prestadores",
                  "Plano não pode possuir os itens: Consulta Médica, Exames Complementares, Terapias e "
                  "Atendimento Ambulatorial.");
    }
    if (vazio(p.livreEscolha))
        linha("Plano opera exclusivamente como Livre Escolha",
              "Não foi informado se o plano opera exclusivamente como Livre Escolha.");
    else if (const QString l = p.livreEscolha.toString().trimmed();
             l != QLatin1String("S") && l != QLatin1String("N"))
        linha("Plano opera exclusivamente como Livre Escolha",
              "Tabela de Planos - Plano opera exclusivamente como Livre Escolha inválido.");
    const bool invalido = (contrato == 1 && (sim(p.vinculoAtivo) || sim(p.vinculoInativo) || sim(p.semVinculo))) ||
                          (contrato == 2 && sim(p.semVinculo)) ||
                          (contrato == 3 && (sim(p.vinculoAtivo) || sim(p.vinculoInativo)));
    if (invalido)
        linha("Tipo de Contratação", "Cadastro de Planos - Vínculo inválido para o Tipo de Contratação selecionado.");
}

void TVerificacaoPlanos::VerificaArea(const PlanoSolicitacao& p) {
    const int cobertura = inteiro(p.abrangencia);
    const bool municipios = cobertura == 4 || cobertura == 5;
    const Resultado r = m_exportacao.ConsultaAreaPlano(p.cdOper, int(p.seq()), cobertura);
    QVector<LinhaArea> linhas;
    linhas.reserve(r.numLinhas());
    const int iUf = r.indice(QStringLiteral("cd_uf"));
    const int iNome = r.indice(QStringLiteral("nm_munc"));
    for (const auto& l : r.linhas)
        linhas.push_back({l.value(iUf).toString(), iNome >= 0 ? l.value(iNome).toString() : QString()});
    if (!m_area) m_area = std::make_unique<RegrasArea>(m_banco);
    QStringList mensagens;
    m_area->RegrasAreaAtuacao(cobertura, linhas, m_operadora.Regiao, mensagens);
    for (const QString& m : std::as_const(mensagens))
        erro(&p, QStringLiteral("Área de Atuação"), m, Limpa::Consistencia);
    if (municipios && p.seg() != 4 && linhas.isEmpty())
        erro(&p, QStringLiteral("Área de Atuação"),
             QStringLiteral("Não foram definidos os municípios que compõem a área de atuação do Plano."),
             Limpa::Consistencia);
}

void TVerificacaoPlanos::VerificaNotasTecnicas(const PlanoSolicitacao& p) {
    const Resultado notas = m_banco.consulta(
        QStringLiteral("SELECT NR_PROTOCOLO_NOTA_TECNICA, NM_ARQUIVO_NOTA_TECNICA, DT_PROTOCOLO FROM "
                       "RL_PLANO_NOTA_TECNICA WHERE CD_OPER = ? AND SEQ_PLANO = ? ORDER BY ID_PLANO_NOTA_TECNICA"),
        {p.cdOper, p.seqPlano});
    const QDateTime agora = Relogio::agora();
    const auto achados = [&](const QVariantList& n) {
        QVector<AchadoSolicitacao> r;
        const QString campoData = QStringLiteral("Data protocolo da Nota Técnica");
        if (textoDe(n.at(0)).left(5) == QLatin1String("33902") && textoDe(n.at(1)).trimmed().isEmpty())
            r.push_back({QStringLiteral("Nome Arquivo da Nota Técnica"), QStringLiteral("O nome do arquivo é obrigatório.")});
        const QDateTime data = Banco::lerDataHora(n.at(2));
        const QDateTime zero(kDataZero, QTime(0, 0));
        if (!data.isValid() || data == zero)
            r.push_back({campoData, QStringLiteral("A data de protocolo da Nota Técnica é obrigatória.")});
        if (data.isValid() && data > zero && data <= agora && data.date().year() < 2008)
            r.push_back({campoData, QStringLiteral("Data do Protocolo da Nota Técnica não pode ser anterior a 01/01/2008.")});
        if (data.isValid() && data > agora)
            r.push_back({campoData, QStringLiteral("A data de protocolo não é válida, ou é superior à data atual.")});
        return r;
    };
    // The first walk only judges; rows are written only when the last note failed.
    bool algumaPassou = false, ultimaPassou = false;
    for (const auto& n : notas.linhas) {
        ultimaPassou = achados(n).isEmpty();
        algumaPassou = algumaPassou || ultimaPassou;
    }
    if (!notas.vazio() && !ultimaPassou)
        for (const auto& n : notas.linhas)
            for (const AchadoSolicitacao& a : achados(n)) erro(&p, a.campo, a.mensagem, Limpa::Nada);
    if (!notas.vazio() && !algumaPassou) PlanoConsistente = false;

    const int contrato = inteiro(p.contrato);
    const bool dispensada =
        p.seg() == 4 || contrato == 2 || (contrato == 3 && inteiro(p.financiamento) == 2);
    if (!dispensada && notas.vazio())
        erro(&p, QStringLiteral("Nota Técnica"), QStringLiteral("Plano não possui Nota Técnica cadastrada."),
             Limpa::Consistencia);
}

std::optional<QString> TVerificacaoPlanos::MensagemTaxa(const QString& d) {
    if (d.trimmed().isEmpty()) return QStringLiteral("O Número do Documento de Pagamento é obrigatório.");
    // 12 or 17 characters, all digits but the last, which may also be "X"
    bool formato = d.size() == 12 || d.size() == 17;
    for (qsizetype i = 0; formato && i < d.size(); ++i) {
        const QChar c = d.at(i);
        formato = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                  (i == d.size() - 1 && c == QLatin1Char('X'));
    }
    if (!formato)
        return QStringLiteral("Taxa ") + d +
               QStringLiteral(": O valor informado no campo \"Número do Documento\" deve ser, no máximo, "
                              "os 17 dígitos do campo \"Nosso Número\" do boleto bancário.");
    if (DigitoVerificadorTaxa(d, int(d.size())) != d.right(1))
        return QStringLiteral("Taxa ") + d +
               QStringLiteral(": O dígito verificador do valor informado para o \"Número do Documento\" "
                              "não confere.");
    return std::nullopt;
}

bool TVerificacaoPlanos::ExisteNumeroRepetido(const QStringList& numeros) {
    QSet<QString> vistos;
    for (const QString& n : numeros) {
        const QString t = n.trimmed();
        if (vistos.contains(t)) return true;
        vistos.insert(t);
    }
    return false;
}

void TVerificacaoPlanos::VerificaTaxas(const PlanoSolicitacao& p) {
    const Resultado taxas = m_banco.consulta(
        QStringLiteral("SELECT NR_DOCUMENTO_TAXA FROM RL_PLANO_TAXA_REGISTRO WHERE CD_OPER = ? AND "
                       "SEQ_PLANO = ? ORDER BY ID_PLANO_TAXA_REGISTRO"),
        {p.cdOper, p.seqPlano});
    QStringList numeros;
    for (const auto& l : taxas.linhas) numeros << textoDe(l.at(0));
    const QString campo = QStringLiteral("Número do Documento de Pagamento");
    if (ExisteNumeroRepetido(numeros))
        erro(&p, campo, QStringLiteral("Existem Números do Documento de Pagamento repetidos."), Limpa::Nada);
    for (const QString& d : std::as_const(numeros))
        if (const auto m = MensagemTaxa(d)) erro(&p, campo, *m, Limpa::Consistencia);
    if (numeros.isEmpty())
        erro(&p, QStringLiteral("Taxa Registro"), QStringLiteral("Plano não possui Taxa de Registro cadastrada."),
             Limpa::Consistencia);
}

void TVerificacaoPlanos::VerificaRede(const PlanoSolicitacao& p) {
    const QString livreEscolha = textoDe(p.livreEscolha);
    const int cobertura = inteiro(p.abrangencia);
    // the country's states are read once per run, and only for a national plan
    if (cobertura == 1 && livreEscolha != QLatin1String("S") && !m_ufsPais) m_ufsPais = LeUfsPais(m_banco);
    const DadosRede d = LeDadosRede(m_banco, p.cdOper, p.seq(), livreEscolha, cobertura,
                                    m_ufsPais.value_or(QStringList()));
    const QString mensagem = AvaliaRede(d);
    if (!mensagem.trimmed().isEmpty())
        erro(&p, QStringLiteral("Rede Vinculada/Livre Escolha"), mensagem, Limpa::Rede);
}

void TVerificacaoPlanos::VerificaRedeOdontologica(const PlanoSolicitacao& p) {
    const int c = inteiro(p.abrangencia);
    QString sql;
    ParamsPosicionais params{p.seqPlano};
    switch (c) {
        case 1:
            sql = QStringLiteral(
                "SELECT count(1) AS Total FROM TB_UFS UF WHERE NOT EXISTS (SELECT ES.ID_MUNC FROM "
                "TB_ESTAB_SAUDE ES, TB_MUNICIPIOS M WHERE ES.ID_MUNC = M.ID_MUNC AND M.CD_UF = UF.CD_UF "
                "AND ES.CD_CLASSIF_ESTAB_SAUDE = 3)");
            params.clear();
            break;
        case 2:
        case 3:
            sql = QStringLiteral(
                "SELECT count(1) AS Total FROM RL_PLANOS_UF UF WHERE UF.SEQ_PLANO = ? AND NOT EXISTS "
                "(SELECT ES.ID_MUNC FROM TB_ESTAB_SAUDE ES, TB_MUNICIPIOS M WHERE ES.ID_MUNC = M.ID_MUNC "
                "AND M.CD_UF = UF.CD_UF AND ES.CD_CLASSIF_ESTAB_SAUDE = 3)");
            break;
        case 4:
            sql = QStringLiteral(
                "SELECT count(1) AS Total FROM RL_PLANOS_MUNICIPIO UF WHERE UF.SEQ_PLANO = ? AND EXISTS "
                "(SELECT ES.ID_MUNC FROM TB_ESTAB_SAUDE ES WHERE ES.ID_MUNC = UF.ID_MUNC AND "
                "ES.CD_CLASSIF_ESTAB_SAUDE = 3)");
            break;
        default:
            sql = QStringLiteral(
                "SELECT count(1) AS Total FROM RL_PLANOS_MUNICIPIO UF WHERE UF.SEQ_PLANO = ? AND NOT EXISTS "
                "(SELECT ES.ID_MUNC FROM TB_ESTAB_SAUDE ES WHERE ES.ID_MUNC = UF.ID_MUNC AND "
                "ES.CD_CLASSIF_ESTAB_SAUDE = 3)");
    }
    int total;
    if (c == 1) {  // the same count for every national plan: read once per action
        if (!m_ufsSemDemais) m_ufsSemDemais = m_banco.valor(sql, params).toInt();
        total = *m_ufsSemDemais;
    } else {
        total = m_banco.valor(sql, params).toInt();
    }
    if (c >= 1 && c <= 5) RedeVinculada = c == 4 ? total > 0 : total == 0;
    if (RedeVinculada) return;
    QString mensagem;
    if (c == 1)
        mensagem = QStringLiteral(
            "Planos odontológicos com abrangência Nacional, a operadora deverá apresentar em sua rede, "
            "estabelecimentos classificados como Demais Estabelecimentos em cada uma das Unidades "
            "Federativas do país.");
    else if (c == 2 || c == 3)
        mensagem = QStringLiteral(
            "Planos odontológicos com abrangência Grupo de Estados ou Estadual, a operadora deverá "
            "apresentar em sua rede, estabelecimentos classificados como Demais Estabelecimentos em cada "
            "estado informado na área de atuação do plano.");
    else if (c == 4)
        mensagem = QStringLiteral(
            "Planos odontológicos com abrangência Grupo de Municípios, a operadora deverá apresentar em "
            "sua rede, estabelecimentos classificados como Demais Estabelecimentos em pelo menos um "
            "município da área de atuação do plano.");
    else
        mensagem = QStringLiteral(
            "Planos odontológicos com abrangência Municipal, a operadora deverá apresentar em sua rede, "
            "estabelecimentos classificados como Demais Estabelecimentos em cada município da área de "
            "atuãção do plano.");
    erro(&p, QStringLiteral("Rede Operadora Plano Odontológico"), mensagem, Limpa::Rede);
}
