#include "network/ImportacaoOlvar.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include "common/Identificadores.h"
#include "db/Banco.h"
#include "db/DmConexao.h"
#include "network/BaseOlvar.h"
#include "network/GravadorEstab.h"
#include "platform/Plataforma.h"

namespace {

bool nulo(const QVariant& v) { return !v.isValid() || v.isNull(); }
QString texto(const QVariant& v) { return nulo(v) ? QString() : v.toString().trimmed(); }
bool branco(const QVariant& v) { return texto(v).isEmpty(); }

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
bool soZeros(const QString& t) { return SomenteDigitos(t) == t && TodosZeros(t); }
bool cnpjValido(const QString& t) { return soDigitos(t) && ValidaCnpjCpf(t, 0) && !soZeros(t); }
bool cpfValido(const QString& t) { return soDigitos(t) && ValidaCnpjCpf(t, 1) && !soZeros(t); }
bool cnesValido(const QString& t) { return soDigitos(t) && ValidaCnes(t); }

QVariant textoOuNulo(const QVariant& v) {
    const QString t = texto(v);
    return t.isEmpty() ? QVariant() : QVariant(t);
}

// A stored date as the system keeps it (a day, or a day and a time).
QVariant dataGravada(const QDateTime& d) {
    if (!d.isValid()) return QVariant();
    if (d.time() == QTime(0, 0)) return d.date();
    return d;
}

QString listaColunas() { return BaseOlvar::Colunas().join(QStringLiteral(", ")); }

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

ImportacaoOlvar::ImportacaoOlvar(TDmConexao& conexao, QString cdOper)
    : m_conexao(conexao), m_cdOper(std::move(cdOper)), m_agora(Relogio::agora()) {}

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
    QStringList m;
    const QVariant vClassif = valor(QStringLiteral("CD_CLASSIF_ESTAB_SAUDE"));
    const QVariant vRelacao = valor(QStringLiteral("CD_TIPO_ESTB_SAUD"));
    const QVariant vMunicipio = valor(QStringLiteral("ID_MUNC"));
    const QVariant vContrato = valor(QStringLiteral("DT_CONTRATO_OPER"));
    const QVariant vVinculo = valor(QStringLiteral("DT_VINCULO_OPER"));
    const QString cnes = texto(valor(QStringLiteral("CD_CNES")));
    const QString cnpj = texto(valor(QStringLiteral("CD_CNPJ_ESTB_SAUD")));
    const QString nome = texto(valor(QStringLiteral("RAZAO_SOCIAL_ESTB_SAUD")));
    const QString tipo = texto(valor(QStringLiteral("CD_TIPO_CONTRATO_ESTB_SAUDE")));
    const QString intermed = texto(valor(QStringLiteral("CD_OPER_INTERMEDIADORA")));
    const auto classif = inteiro(vClassif);
    const auto relacao = inteiro(vRelacao);
    const bool hospitalar = classif && *classif == 1;
    const QDateTime contrato = Banco::lerDataHora(vContrato);
    const QDateTime vinculo = Banco::lerDataHora(vVinculo);

    if (branco(vClassif))
        m << QStringLiteral("- Classificação do Estabelecimento de Saúde não informado.");
    if (!cnes.isEmpty() && cnes.size() != 7)
        m << QStringLiteral("- O \"código CNES\" informado deve possuir 7 dígitos.");
    if (!cnes.isEmpty() && !cnesValido(cnes))
        m << QStringLiteral("- O \"código CNES\" informado é inválido.");
    if (cnpj.isEmpty() && hospitalar) m << QStringLiteral("- Número do CNPJ não informado.");
    // a CPF is never accepted for hospital care
    if (hospitalar && !cnpj.isEmpty() && (!cnpjValido(cnpj) || cnpj.size() < 14))
        m << QStringLiteral("- CNPJ do Estabelecimento de Saúde inválido.");
    if (!hospitalar && cnpj.size() > 11 && !cnpjValido(cnpj))
        m << QStringLiteral("- CNPJ do Estabelecimento de Saúde inválido.");
    if (!hospitalar && !cnpj.isEmpty() && cnpj.size() <= 11 && !cpfValido(cnpj))
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
    if (contrato.isValid() && contrato > m_agora)
        m << QStringLiteral("- A data de Contratualização não pode ser superior à data atual.");
    if (contrato.isValid() && contrato.date() < QDate(2003, 7, 7) && hospitalar)
        m << QStringLiteral(
            "- A data de Contratualização não pode ser anterior à data da RN 42 (07/07/2003).");
    if (contrato.isValid() && contrato.date() < QDate(2003, 12, 1) && classif &&
        (*classif == 2 || *classif == 3))
        m << QStringLiteral(
            "- A data de Contratualização não pode ser anterior à data da RN 54 (01/12/2003).");
    if (branco(vVinculo) && !branco(vRelacao))
        m << QStringLiteral("- Data de início da prestação de Serviço não informado.");
    if (branco(valor(QStringLiteral("CD_DISP_SERVICO"))) && hospitalar)
        m << QStringLiteral(
            "- Disponibilidade de Serviços do Estabelecimento de Saúde não informado.");

    // Values the system's own table cannot hold would stop the whole run when written:
    // the establishment is refused with its reason instead.
    struct Texto {
        const char* coluna;
        int tamanho;
        const char* rotulo;
    };
    static const Texto textos[] = {
        {"RAZAO_SOCIAL_ESTB_SAUD", 60, "Nome/Razão Social do Estabelecimento de Saúde"},
        {"CD_OPER_INTERMEDIADORA", 6, "Registro ZUB da Operadora Intermediária"},
        {"CD_TIPO_CONTRATO_ESTB_SAUDE", 1, "Tipo de Contratualização"},
        {"CD_DISP_SERVICO", 1, "Disponibilidade de Serviços do Estabelecimento de Saúde"},
        {"LG_URGENCIA_EMERGENCIA", 1, "Indicador de Urgência / Emergência"},
        {"LG_CLASSIFICADO_ZUB", 1, "Indicador de classificação pela ZUB"}};
    for (const Texto& t : textos)
        if (texto(valor(QString::fromLatin1(t.coluna))).size() > t.tamanho)
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
    if (!branco(vContrato) && !contrato.isValid())
        m << QStringLiteral("- Data de Contratualização não é uma data válida.");
    if (!branco(vVinculo) && !vinculo.isValid())
        m << QStringLiteral("- Data de início da prestação de Serviço não é uma data válida.");
    return m;
}

ImportacaoOlvar::Totais ImportacaoOlvar::Executa() {
    Totais totais;
    m_agora = Relogio::agora();
    // The source's rows, in its own order, then the operator they belong to.
    const Resultado fonte =
        m_conexao.ConsultaBancoAnterior(QStringLiteral("SELECT %1 FROM TB_ESTAB_SAUDE").arg(listaColunas()))
            .resultado;
    Consulta& oper = m_conexao.ConsultaBancoAnterior(QStringLiteral("SELECT CD_OPER FROM OPERADORAS"));
    const QString cdOperFonte = oper.IsEmpty() ? QString() : texto(oper.campo(QStringLiteral("CD_OPER")));
    if (cdOperFonte != m_cdOper.trimmed()) {
        totais.outraOperadora = true;
        return totais;
    }

    if (aoIniciar) aoIniciar(fonte.numLinhas());
    GravadorEstab gravador(m_conexao.banco(), m_cdOper);
    gravador.DefineLote(m_loteLinhas, m_loteMs);
    gravador.aoConfirmar = aoConfirmarLote;
    QElapsedTimer relogio;
    relogio.start();
    QVector<int> indice;
    for (const QString& c : BaseOlvar::Colunas()) indice << fonte.indice(c);
    try {
        for (int i = 0; i < fonte.numLinhas(); ++i) {
            const QVariantList& linha = fonte.linhas.at(i);
            const auto valor = [&](const QString& coluna) {
                return linha.at(indice.at(BaseOlvar::Colunas().indexOf(coluna)));
            };
            ++totais.lidos;
            const QStringList mensagens = Verifica(valor);
            if (mensagens.isEmpty()) {
                DadosEstab d;
                d.cnpj = textoOuNulo(valor(QStringLiteral("CD_CNPJ_ESTB_SAUD")));
                d.nome = textoOuNulo(valor(QStringLiteral("RAZAO_SOCIAL_ESTB_SAUD")));
                d.tipoEstab = branco(valor(QStringLiteral("CD_TIPO_ESTB_SAUD")))
                                  ? QVariant()
                                  : QVariant(*inteiro(valor(QStringLiteral("CD_TIPO_ESTB_SAUD"))));
                d.municipio = branco(valor(QStringLiteral("ID_MUNC")))
                                  ? QVariant()
                                  : QVariant(*inteiro(valor(QStringLiteral("ID_MUNC"))));
                d.tipoContrato = textoOuNulo(valor(QStringLiteral("CD_TIPO_CONTRATO_ESTB_SAUDE")));
                d.cnes = textoOuNulo(valor(QStringLiteral("CD_CNES")));
                d.dataContrato =
                    dataGravada(Banco::lerDataHora(valor(QStringLiteral("DT_CONTRATO_OPER"))));
                d.dataVinculo =
                    dataGravada(Banco::lerDataHora(valor(QStringLiteral("DT_VINCULO_OPER"))));
                d.classificacao = *inteiro(valor(QStringLiteral("CD_CLASSIF_ESTAB_SAUDE")));
                d.classificadoZub = textoOuNulo(valor(QStringLiteral("LG_CLASSIFICADO_ZUB")));
                d.intermediaria = textoOuNulo(valor(QStringLiteral("CD_OPER_INTERMEDIADORA")));
                d.disponibilidade = textoOuNulo(valor(QStringLiteral("CD_DISP_SERVICO")));
                d.urgencia = textoOuNulo(valor(QStringLiteral("LG_URGENCIA_EMERGENCIA")));
                gravador.Insere(d);
                ++totais.importados;
            } else {
                // the CNPJ/CPF as stored, immediately followed by each message
                const QVariant cnpj = valor(QStringLiteral("CD_CNPJ_ESTB_SAUD"));
                const QString prefixo = nulo(cnpj) ? QString() : cnpj.toString();
                for (const QString& m : mensagens) totais.mensagens << prefixo + m;
            }
            gravador.Marca();
            if (aoProgredir && (relogio.elapsed() >= 40 || i + 1 == fonte.numLinhas())) {
                aoProgredir(i + 1);
                relogio.restart();
            }
        }
        gravador.Confirma();
    } catch (...) {
        // the establishments inserted so far stay
        try {
            gravador.Confirma();
        } catch (const ErroQev&) {
        }
        throw;
    }
    return totais;
}
