#include "network/ImportacaoOlvar.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include "common/Identificadores.h"
#include "db/Banco.h"
#include "db/DmConexao.h"
#include "db/Valores.h"
#include "network/BaseOlvar.h"
#include "network/GravadorEstab.h"
#include "platform/Plataforma.h"
#include "common/Win1252.h"

namespace {

QString texto(const QVariant& v) { return nulo(v) ? QString() : v.toString().trimmed(); }

// A whole number (stored as one, or as text of digits); nullopt otherwise.
std::optional<qlonglong> inteiro(const QVariant& v) {
    if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int) return v.toLongLong();
    if (v.typeId() == QMetaType::Double) {
        const double d = v.toDouble();
        if (d == double(qlonglong(d))) return qlonglong(d);
        return std::nullopt;
    }
    bool ok = false;
    const qlonglong n = texto(v).toLongLong(&ok);
    if (ok) return n;
    return std::nullopt;
}

bool soDigitos(const QString& t) { return !t.isEmpty() && SomenteDigitos(t) == t; }
bool cnesValido(const QString& t) { return soDigitos(t) && ValidaCnes(t); }

QVariant textoOuNulo(const QVariant& v) {
    const QString t = texto(v);
    return t.isEmpty() ? QVariant() : QVariant(t);
}

// A date as stored (ISO text "yyyy-MM-dd", maybe with " HH:mm:ss"), read without the
// general date parser, which consults the time zone on every call (it runs for every
// row): an invalid date when the value is no such text.
struct Momento {
    QDate data;
    QTime hora{0, 0};
    bool valido() const { return data.isValid() && hora.isValid(); }
};

Momento momento(const QVariant& v) {
    Momento m;
    if (nulo(v)) return m;
    if (v.typeId() == QMetaType::QDate) {
        m.data = v.toDate();
        return m;
    }
    if (v.typeId() == QMetaType::QDateTime) {
        m.data = v.toDateTime().date();
        m.hora = v.toDateTime().time();
        return m;
    }
    const QString t = v.toString().trimmed();
    QDate d;
    QTime h;
    if (!LeDataHoraIso(t, &d, &h)) return m;
    m.data = d;
    if (t.size() == 19) m.hora = h;
    return m;
}

// Later than the moment `agora` (a day with its time).
bool depois(const Momento& m, const QDate& hoje, const QTime& hora) {
    return m.data > hoje || (m.data == hoje && m.hora > hora);
}

// The value the system stores: a day, or a day and a time.
QVariant dataGravada(const Momento& m) {
    if (!m.valido()) return QVariant();
    if (m.hora == QTime(0, 0)) return m.data;
    return QDateTime(m.data, m.hora);
}

QString listaColunas() { return BaseOlvar::Colunas().join(QStringLiteral(", ")); }

// Positions of the columns in BaseOlvar::Colunas() (the order they are read in).
enum Coluna {
    cId, cCnes, cCnpj, cNome, cRelacao, cMunicipio, cIncluido, cTipoContrato, cVinculo, cContrato,
    cClassif, cClassificadoZub, cIntermed, cDisp, cUrgencia
};

// What an accepted source row writes: texts trimmed, nulls kept.
DadosEstab dados(const QVariantList& l) {
    const auto inteiroOuNulo = [](const QVariant& v) {
        return branco(v) ? QVariant() : QVariant(*inteiro(v));
    };
    DadosEstab d;
    d.cnpj = textoOuNulo(l.at(cCnpj));
    d.nome = textoOuNulo(l.at(cNome));
    d.tipoEstab = inteiroOuNulo(l.at(cRelacao));
    d.municipio = inteiroOuNulo(l.at(cMunicipio));
    d.tipoContrato = textoOuNulo(l.at(cTipoContrato));
    d.cnes = textoOuNulo(l.at(cCnes));
    d.dataContrato = dataGravada(momento(l.at(cContrato)));
    d.dataVinculo = dataGravada(momento(l.at(cVinculo)));
    d.classificacao = inteiroOuNulo(l.at(cClassif));
    d.classificadoZub = textoOuNulo(l.at(cClassificadoZub));
    d.intermediaria = textoOuNulo(l.at(cIntermed));
    d.disponibilidade = textoOuNulo(l.at(cDisp));
    d.urgencia = textoOuNulo(l.at(cUrgencia));
    return d;
}

}  // namespace

bool ImportacaoOlvar::NomeReconhecido(const QString& caminho) {
    return QFileInfo(caminho).fileName().compare(NomeArquivo(), Qt::CaseInsensitive) == 0;
}

bool ImportacaoOlvar::Reconhece(TDmConexao& c, const QString& caminho) {
    try {
        c.FechaBancoAnterior();
        c.AbreBancoAnterior(caminho);
        c.ConsultaBancoAnterior(QStringLiteral("SELECT CD_OPER FROM OPERADORAS LIMIT 1"));
        c.ConsultaBancoAnterior(
            QStringLiteral("SELECT %1 FROM TB_ESTAB_SAUDE LIMIT 1").arg(listaColunas()));
        return true;
    } catch (const ErroQev&) {
        c.FechaBancoAnterior();
        return false;
    }
}

QString ImportacaoOlvar::AjudaConversao(const QString& pastaPrograma) {
    return QStringLiteral(
               "\n\nUm banco gravado pelo próprio Sistema OLVAR precisa antes ser convertido: exporte "
               "dele os Estabelecimentos de Saúde para um arquivo CSV e grave um novo Zemlo.mdb com o "
               "programa de conversão que acompanha o QEV Operadora:\n\n%1 --operadora CÓDIGO "
               "--csv ARQUIVO.csv Zemlo.mdb\n\n(%1 --colunas lista as colunas aceitas no CSV.)")
        .arg(QDir::toNativeSeparators(pastaPrograma + QStringLiteral("qev-olvar")));
}

ImportacaoOlvar::ImportacaoOlvar(TDmConexao& conexao, QString cdOper)
    : m_conexao(conexao), m_cdOper(std::move(cdOper)) {
    defineAgora();
}

void ImportacaoOlvar::defineAgora() {
    const QDateTime agora = Relogio::agora();
    m_hoje = agora.date();
    m_hora = agora.time();
}

ImportacaoOlvar::~ImportacaoOlvar() = default;

void ImportacaoOlvar::DefineLote(int linhas, int ms) {
    m_loteLinhas = linhas;
    m_loteMs = ms;
}

bool ImportacaoOlvar::existeDuplicado(const QString& cnes, const QString& cnpj) {
    const int i = (cnes.isEmpty() ? 1 : 0) + (cnpj.isEmpty() ? 2 : 0);
    if (!m_duplicado[i])
        m_duplicado[i] = std::make_unique<ComandoPreparado>(
            m_conexao.banco(),
            QStringLiteral("SELECT 1 FROM TB_ESTAB_SAUDE ES WHERE (ES.CD_CNES = ?") +
                (cnes.isEmpty() ? QStringLiteral(" OR ES.CD_CNES IS NULL)") : QStringLiteral(")")) +
                QStringLiteral(" AND (ES.CD_CNPJ_ESTB_SAUD = ?") +
                (cnpj.isEmpty() ? QStringLiteral(" OR ES.CD_CNPJ_ESTB_SAUD IS NULL)")
                                : QStringLiteral(")")) +
                QStringLiteral(" LIMIT 1"));
    return m_duplicado[i]->valor({cnes, cnpj}).isValid();
}

QStringList ImportacaoOlvar::Verifica(const std::function<QVariant(const QString&)>& valor) {
    QVariantList linha;
    for (const QString& c : BaseOlvar::Colunas()) linha << valor(c);
    return verifica(linha);
}

QStringList ImportacaoOlvar::verifica(const QVariantList& l) {
    QStringList m;
    const QVariant& vClassif = l.at(cClassif);
    const QVariant& vRelacao = l.at(cRelacao);
    const QVariant& vMunicipio = l.at(cMunicipio);
    const QVariant& vContrato = l.at(cContrato);
    const QVariant& vVinculo = l.at(cVinculo);
    const QString cnes = texto(l.at(cCnes));
    const QString cnpj = texto(l.at(cCnpj));
    const QString nome = texto(l.at(cNome));
    const QString tipo = texto(l.at(cTipoContrato));
    const QString intermed = texto(l.at(cIntermed));
    const auto classif = inteiro(vClassif);
    const auto relacao = inteiro(vRelacao);
    const bool hospitalar = classif && *classif == 1;
    const Momento contrato = momento(vContrato);
    const Momento vinculo = momento(vVinculo);

    if (branco(vClassif))
        m << QStringLiteral("- Classificação do Estabelecimento de Saúde não informado.");
    if (classif) {
        if (!m_classificacoesLidas) {
            for (const auto& c : m_conexao.banco()
                                     .consulta(QStringLiteral(
                                         "SELECT CD_CLASSIF_ESTAB_SAUDE FROM TA_CLASSIF_ESTAB_SAUDE"))
                                     .linhas)
                m_classificacoes.insert(c.first().toLongLong());
            m_classificacoesLidas = true;
        }
        // a code the table does not know would be stored and break every list that names it
        if (!m_classificacoes.contains(*classif))
            m << QStringLiteral("- Classificação do Estabelecimento de Saúde %1 não existe.").arg(*classif);
    }
    if (!cnes.isEmpty() && cnes.size() != 7)
        m << QStringLiteral("- O \"código CNES\" informado deve possuir 7 dígitos.");
    if (!cnes.isEmpty() && !cnesValido(cnes))
        m << QStringLiteral("- O \"código CNES\" informado é inválido.");
    if (cnpj.isEmpty() && hospitalar) m << QStringLiteral("- Número do CNPJ não informado.");
    // a CPF is never accepted for hospital care
    if (hospitalar && !cnpj.isEmpty() && (!CnpjValido(cnpj) || cnpj.size() < 14))
        m << QStringLiteral("- CNPJ do Estabelecimento de Saúde inválido.");
    if (!hospitalar && cnpj.size() > 11 && !CnpjValido(cnpj))
        m << QStringLiteral("- CNPJ do Estabelecimento de Saúde inválido.");
    if (!hospitalar && !cnpj.isEmpty() && cnpj.size() <= 11 && !CpfValido(cnpj))
        m << QStringLiteral("- CPF inválido.");
    if (cnes.isEmpty() && cnpj.isEmpty() && !hospitalar)
        m << QStringLiteral("- Número CPF/CNPJ ou CNES não informado.");
    if (!cnes.isEmpty() && cnpj.isEmpty())
        m << QStringLiteral("- CPF/CNPJ do Estabelecimento de Saúde não informado.");
    if (cnes == QLatin1String("0000000") || (!cnes.isEmpty() && !cnesValido(cnes)))
        m << QStringLiteral("- Valor do CNES inválido.");
    if (existeDuplicado(cnes, cnpj))
        m << QStringLiteral("- O  Conjunto CNPJ ou CPF/CNES deve ser único.");
    if (nome.isEmpty())
        m << QStringLiteral("- Nome/Razão Social do Estabelecimento de Saúde não informado.");
    if (branco(vRelacao) && hospitalar)
        m << QStringLiteral("- Relação com Entidade Hospitalar não informado.");
    if (cnes.isEmpty() && (branco(vMunicipio) || inteiro(vMunicipio) == 0))
        m << QStringLiteral("- UF e Município da Entidade Hospitalar não informados.");
    if (relacao == 2000 && tipo.isEmpty())
        m << QStringLiteral("- Tipo de Contratualização não informado.");
    if (relacao == 2000 && tipo == QLatin1String("I") && intermed.isEmpty())
        m << QStringLiteral("- Registro ZUB da Operadora Intermediária não informado.");
    if (contrato.valido() && depois(contrato, m_hoje, m_hora))
        m << QStringLiteral("- A data de Contratualização não pode ser superior à data atual.");
    if (contrato.valido() && contrato.data < QDate(2003, 7, 7) && hospitalar)
        m << QStringLiteral(
            "- A data de Contratualização não pode ser anterior à data da RN 42 (07/07/2003).");
    if (contrato.valido() && contrato.data < QDate(2003, 12, 1) && classif &&
        (*classif == 2 || *classif == 3))
        m << QStringLiteral(
            "- A data de Contratualização não pode ser anterior à data da RN 54 (01/12/2003).");
    if (branco(vVinculo) && !branco(vRelacao))
        m << QStringLiteral("- Data de início da prestação de Serviço não informado.");
    if (branco(l.at(cDisp)) && hospitalar)
        m << QStringLiteral(
            "- Disponibilidade de Serviços do Estabelecimento de Saúde não informado.");

    // Values the system's own table cannot hold would stop the whole run when written:
    // the establishment is refused with its reason instead.
    struct Texto {
        Coluna coluna;
        int tamanho;
        const char* rotulo;
    };
    static const Texto textos[] = {
        {cNome, 60, "Nome/Razão Social do Estabelecimento de Saúde"},
        {cIntermed, 6, "Registro ZUB da Operadora Intermediária"},
        {cTipoContrato, 1, "Tipo de Contratualização"},
        {cDisp, 1, "Disponibilidade de Serviços do Estabelecimento de Saúde"},
        {cUrgencia, 1, "Indicador de Urgência / Emergência"},
        {cClassificadoZub, 1, "Indicador de classificação pela ZUB"}};
    // the name travels in the request file: what it cannot carry is refused here
    const QString fora = ConfereTextoArquivo(QStringLiteral("Nome/Razão Social"), nome);
    if (!fora.isEmpty()) m << QStringLiteral("- ") + fora;
    if (std::any_of(nome.cbegin(), nome.cend(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; }))
        m << QStringLiteral("- Nome/Razão Social do Estabelecimento de Saúde com caractere de controle.");
    for (const Texto& t : textos)
        if (texto(l.at(t.coluna)).size() > t.tamanho)
            m << QStringLiteral("- %1 com mais de %2 caractere(s).")
                     .arg(QString::fromUtf8(t.rotulo))
                     .arg(t.tamanho);
    const std::pair<const QVariant*, const char*> inteiros[] = {
        {&vClassif, "Classificação do Estabelecimento de Saúde"},
        {&vRelacao, "Relação com Entidade Hospitalar"},
        {&vMunicipio, "Município da Entidade Hospitalar"}};
    for (const auto& [v, rotulo] : inteiros)
        if (!branco(*v) && !inteiro(*v))
            m << QStringLiteral("- %1 não é um número.").arg(QString::fromUtf8(rotulo));
    if (!branco(vContrato) && !contrato.valido())
        m << QStringLiteral("- Data de Contratualização não é uma data válida.");
    if (!branco(vVinculo) && !vinculo.valido())
        m << QStringLiteral("- Data de início da prestação de Serviço não é uma data válida.");
    return m;
}

ImportacaoOlvar::Totais ImportacaoOlvar::Executa() {
    Totais totais;
    defineAgora();
    // The operator the source belongs to; then (only when it is this one) its rows, in
    // the source's own order.
    Consulta& oper = m_conexao.ConsultaBancoAnterior(QStringLiteral("SELECT CD_OPER FROM OPERADORAS"));
    const QString cdOperFonte = oper.IsEmpty() ? QString() : texto(oper.campo(QStringLiteral("CD_OPER")));
    if (cdOperFonte != m_cdOper.trimmed()) {
        totais.outraOperadora = true;
        return totais;
    }
    const Resultado fonte =
        m_conexao.ConsultaBancoAnterior(QStringLiteral("SELECT %1 FROM TB_ESTAB_SAUDE").arg(listaColunas()))
            .resultado;

    if (aoIniciar) aoIniciar(fonte.numLinhas());
    GravadorEstab gravador(m_conexao.banco(), m_cdOper);
    gravador.DefineLote(m_loteLinhas, m_loteMs);
    gravador.aoConfirmar = aoConfirmarLote;
    QElapsedTimer relogio;
    relogio.start();
    gravador.Executa([&] {
        for (int i = 0; i < fonte.numLinhas(); ++i) {
            // the columns were read in the order of BaseOlvar::Colunas()
            const QVariantList& linha = fonte.linhas.at(i);
            ++totais.lidos;
            // the duplicate check and the write see the same database
            gravador.Inicia();
            const QStringList mensagens = verifica(linha);
            if (mensagens.isEmpty()) {
                gravador.Insere(dados(linha));
                ++totais.importados;
            } else {
                // the CNPJ/CPF as stored, immediately followed by each message
                const QVariant& cnpj = linha.at(cCnpj);
                const QString prefixo = nulo(cnpj) ? QString() : cnpj.toString();
                for (const QString& m : mensagens) totais.mensagens << prefixo + m;
            }
            gravador.Marca();
            if (aoProgredir && (relogio.elapsed() >= 40 || i + 1 == fonte.numLinhas())) {
                aoProgredir(i + 1);
                relogio.restart();
            }
        }
    });
    return totais;
}
