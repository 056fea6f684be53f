#include "operator/DmZemlo.h"

#include "db/Erro.h"
#include "db/DmConexao.h"
#include "db/Mascara.h"
#include "db/RowSet.h"
#include "operator/Operadora.h"

namespace {
TDMZemlo* g_instancia = nullptr;

Campo campo(const char* nome, TipoCampo tipo, int tamanho, const char* rotulo = nullptr,
            bool visivel = false) {
    Campo c;
    c.nome = QString::fromLatin1(nome);
    c.tipo = tipo;
    c.tamanho = tamanho;
    if (rotulo) c.rotulo = QString::fromUtf8(rotulo);
    c.visivel = visivel;
    return c;
}
}  // namespace

TDMZemlo::TDMZemlo(QObject* parent)
    : QObject(parent), m_hospitais(new RowSet(this)), m_produtos(new RowSet(this)) {
    g_instancia = this;
    m_hospitais->setObjectName(QStringLiteral("cdsHospitais"));
    Campo cnpj = campo("CnpjHospital", TipoCampo::Texto, 14, "CNPJ", true);
    cnpj.mascara = QString::fromLatin1(MascaraCnpj);
    m_hospitais->DefineCampos({campo("IdEstbSaud", TipoCampo::Inteiro, 0), cnpj,
                               campo("NomeHospital", TipoCampo::Texto, 60, "Razão Social", true),
                               campo("LG_URGENCIA_EMERGENCIA", TipoCampo::Texto, 1),
                               campo("CNES", TipoCampo::Texto, 7), campo("CD_UF", TipoCampo::Texto, 2),
                               campo("ID_MUNC", TipoCampo::Inteiro, 0)});
    m_hospitais->DefineIndice(QStringLiteral("cdsHospitaisCnpj"), {{QStringLiteral("CnpjHospital")}});
    m_produtos->setObjectName(QStringLiteral("cdsProdutos"));
    m_produtos->DefineCampos({campo("CodOperadora", TipoCampo::Texto, 6), campo("SeqProduto", TipoCampo::Inteiro, 0),
                              campo("NomeProduto", TipoCampo::Texto, 60, "Nome Comercial", true),
                              campo("CodProduto", TipoCampo::Texto, 9),
                              campo("cd_segmentacao", TipoCampo::Inteiro, 0),
                              campo("cd_abrangencia", TipoCampo::Inteiro, 0)});
    m_produtos->DefineIndice(QStringLiteral("cdsProdutosProduto"), {{QStringLiteral("SeqProduto")}});
    leOperadoras();
    CarregaOperadoraAtual();
}

TDMZemlo::~TDMZemlo() {
    if (g_instancia == this) g_instancia = nullptr;
}

TDMZemlo* TDMZemlo::instancia() { return g_instancia; }

void TDMZemlo::leOperadoras() {
    m_operadoras =
        DmConexao()->banco().consulta(QStringLiteral("SELECT * FROM OPERADORAS ORDER BY rowid"));
    m_atual = 0;
    m_estado = Estado::Navegacao;
    m_buffer.clear();
}

void TDMZemlo::ReabreOperadoras() {
    leOperadoras();
    emit operadoraMudou();
}

bool TDMZemlo::LocalizaOperadora(const QString& cdOper) {
    for (int i = 0; i < m_operadoras.numLinhas(); ++i) {
        if (m_operadoras.valor(i, QStringLiteral("CD_OPER")).toString() == cdOper) {
            m_atual = i;
            emit operadoraMudou();
            return true;
        }
    }
    return false;
}

QVariant TDMZemlo::CampoGravado(const QString& coluna) const {
    if (m_atual >= m_operadoras.numLinhas()) return QVariant();
    return m_operadoras.valor(m_atual, coluna);
}

QVariant TDMZemlo::CampoOperadora(const QString& coluna) const {
    switch (m_estado) {
        case Estado::Navegacao:
            return CampoGravado(coluna);
        case Estado::Insercao:
            return m_buffer.value(coluna.toUpper());
        case Estado::Edicao: {
            const auto it = m_buffer.constFind(coluna.toUpper());
            return it != m_buffer.constEnd() ? *it : CampoGravado(coluna);
        }
    }
    return QVariant();
}

void TDMZemlo::InsereOperadora() {
    m_buffer.clear();
    m_estado = Estado::Insercao;
}

void TDMZemlo::EditaOperadora() {
    if (OperadorasVazia()) return;
    m_buffer.clear();
    m_estado = Estado::Edicao;
}

void TDMZemlo::DefineCampoOperadora(const QString& coluna, const QVariant& valor) {
    if (m_estado == Estado::Navegacao)
        throw ErroQev(QStringLiteral("A operadora não está em inclusão nem em alteração."));
    // Only columns of the table reach a statement as names.
    const QStringList colunas = DmConexao()->banco().colunasDaTabela(QStringLiteral("OPERADORAS"));
    if (!colunas.contains(coluna, Qt::CaseInsensitive))
        throw ErroQev(QStringLiteral("Campo inexistente na tabela de operadoras: %1").arg(coluna));
    m_buffer.insert(coluna.toUpper(), valor);
}

void TDMZemlo::GravaOperadora() {
    if (m_estado == Estado::Navegacao) return;
    QStringList nomes;
    QVariantList valores;
    for (auto it = m_buffer.constBegin(); it != m_buffer.constEnd(); ++it) {
        nomes << it.key();
        valores << it.value();
    }
    Banco& b = DmConexao()->banco();
    if (m_estado == Estado::Insercao && nomes.isEmpty()) {
        b.executa(QStringLiteral("INSERT INTO OPERADORAS DEFAULT VALUES"));
    } else if (m_estado == Estado::Insercao) {
        QStringList marcas;
        for (int i = 0; i < nomes.size(); ++i) marcas << QStringLiteral("?");
        b.executa(QStringLiteral("INSERT INTO OPERADORAS (%1) VALUES (%2)")
                      .arg(nomes.join(QStringLiteral(", ")), marcas.join(QStringLiteral(", "))),
                  valores);
    } else if (!nomes.isEmpty()) {
        QStringList atribuicoes;
        for (const QString& n : nomes) atribuicoes << n + QStringLiteral(" = ?");
        valores << CampoGravado(QStringLiteral("CD_OPER"));
        b.executa(QStringLiteral("UPDATE OPERADORAS SET %1 WHERE CD_OPER = ?")
                      .arg(atribuicoes.join(QStringLiteral(", "))),
                  valores);
    }
    const QString codigo = CampoOperadora(QStringLiteral("CD_OPER")).toString();
    leOperadoras();
    if (!LocalizaOperadora(codigo)) emit operadoraMudou();
}

void TDMZemlo::CancelaOperadora() {
    m_buffer.clear();
    m_estado = Estado::Navegacao;
}
