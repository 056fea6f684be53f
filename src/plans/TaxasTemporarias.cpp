#include "plans/TaxasTemporarias.h"

#include <QSet>

#include "db/DmConexao.h"
#include "db/RowSet.h"
#include "db/Valores.h"
#include "plans/DmInfoPlano.h"

namespace {
const QString kOper = QStringLiteral("cd_oper");
const QString kSeq = QStringLiteral("seq_plano");
const QString kId = QStringLiteral("id_plano_taxa_Registro");
const QString kNumero = QStringLiteral("nr_documento_taxa");

Campo campo(const QString& nome, TipoCampo tipo, int tamanho, bool visivel,
            const QString& rotulo = QString()) {
    Campo c;
    c.nome = nome;
    c.tipo = tipo;
    c.tamanho = tamanho;
    c.visivel = visivel;
    c.rotulo = rotulo;
    return c;
}
}  // namespace

TTaxasTemporarias::TTaxasTemporarias(TdmInfoPlano* dm, QObject* parent)
    : QObject(parent), m_dm(dm), m_lista(new RowSet(this)) {
    m_lista->setObjectName(QStringLiteral("cdsTmpTaxaRegistro"));
    m_lista->DefineCampos(
        {campo(kOper, TipoCampo::Texto, 6, false), campo(kSeq, TipoCampo::Inteiro, 0, false),
         campo(kId, TipoCampo::Inteiro, 0, false),
         campo(kNumero, TipoCampo::Texto, 30, true,
               QStringLiteral("Número do Documento de Pagamento (Nosso número)"))});
    m_lista->AntesDeGravar = [](RowSet& rs) {
        rs.DefineValor(kNumero, rs.Valor(kNumero).toString().toUpper());
    };
    m_lista->AposGravar = [this](RowSet& rs) {
        if (!m_silencioso) m_dm->ValidaDocumentoTaxa(rs, true);
    };
}

bool TTaxasTemporarias::Carregada() const { return m_lista->Ativo(); }

void TTaxasTemporarias::CarregaTaxasTemporarias(const QString& cdOper, qlonglong seqPlano) {
    RowSet& stored = *m_dm->cdsTaxaRegistro();
    m_dm->AbreRelacionado(&stored, cdOper, seqPlano);
    m_contador = 0;
    if (m_lista->EmEdicao()) return;
    m_lista->CriaVazio();
    m_silencioso = true;  // the stored rows are not checked again (only upper-cased)
    try {
        for (stored.First(); !stored.Eof(); stored.Next()) {
            m_lista->Append();
            m_lista->DefineValor(kOper, stored.Valor(QStringLiteral("CD_OPER")));
            m_lista->DefineValor(kId, stored.Valor(QStringLiteral("ID_PLANO_TAXA_REGISTRO")));
            m_lista->DefineValor(kNumero, stored.Valor(QStringLiteral("NR_DOCUMENTO_TAXA")));
            m_lista->DefineValor(kSeq, stored.Valor(QStringLiteral("SEQ_PLANO")));
            m_lista->Post();
        }
    } catch (...) {
        m_silencioso = false;
        throw;
    }
    m_silencioso = false;
    m_lista->First();
}

void TTaxasTemporarias::Recria() {
    m_lista->CriaVazio();
}

qlonglong TTaxasTemporarias::ProximoIdTaxa() {
    if (m_contador != 0)
        ++m_contador;
    else
        m_contador = m_dm->ProximaTaxaNoBanco();
    return m_contador;
}

void TTaxasTemporarias::NovaTaxa(const QString& cdOper, qlonglong seqPlano) {
    if (!m_lista->Ativo()) CarregaTaxasTemporarias(cdOper, seqPlano);
    m_lista->Insert();
    m_lista->DefineValor(kOper, cdOper);
    m_lista->DefineValor(kSeq, seqPlano);
    m_lista->DefineValor(kId, ProximoIdTaxa());
}

void TTaxasTemporarias::Grava() {
    if (m_lista->EmEdicao()) m_lista->Post();
}

bool TTaxasTemporarias::GravaEConfere() {
    if (m_lista->EmEdicao()) m_lista->Post();  // the check after the post says what is wrong
    return m_dm->ValidaDocumentoTaxa(*m_lista, false);
}

bool TTaxasTemporarias::TaxasValidas() {
    if (!m_lista->Ativo()) return true;
    if (m_lista->EmEdicao()) Grava();
    const int linha = m_lista->Linha();
    bool validas = true;
    for (m_lista->First(); !m_lista->Eof(); m_lista->Next())
        if (!m_dm->ValidaDocumentoTaxa(*m_lista, false)) validas = false;
    m_lista->VaiParaLinha(linha);
    return validas;
}

void TTaxasTemporarias::GravaTaxas(const QString& cdOper, qlonglong seqPlano, qlonglong proximoId) {
    RowSet& stored = *m_dm->cdsTaxaRegistro();
    if (m_lista->EmEdicao()) Grava();
    // the stored documents no longer in the list go
    QSet<qlonglong> ids;
    const int cId = m_lista->IndiceCampo(kId), cNum = m_lista->IndiceCampo(kNumero);
    for (int p = 0; p < m_lista->RecordCount(); ++p)
        if (!m_lista->ValorNaPosicao(p, cNum).toString().trimmed().isEmpty())
            ids.insert(m_lista->ValorNaPosicao(p, cId).toLongLong());
    for (stored.First(); !stored.Eof();) {
        if (ids.contains(stored.Valor(QStringLiteral("ID_PLANO_TAXA_REGISTRO")).toLongLong()))
            stored.Next();
        else
            stored.Delete();
    }
    // then every document of the list, in order
    for (int p = 0; p < m_lista->RecordCount(); ++p) {
        const QString numero = m_lista->ValorNaPosicao(p, cNum).toString();
        if (numero.trimmed().isEmpty()) continue;
        if (stored.Locate(QStringLiteral("ID_PLANO_TAXA_REGISTRO"), m_lista->ValorNaPosicao(p, cId))) {
            stored.Edit();
        } else {
            stored.Append();
            stored.DefineValor(QStringLiteral("CD_OPER"), cdOper);
            stored.DefineValor(QStringLiteral("ID_PLANO_TAXA_REGISTRO"), proximoId++);
            stored.DefineValor(QStringLiteral("SEQ_PLANO"), seqPlano);
        }
        stored.DefineValor(QStringLiteral("NR_DOCUMENTO_TAXA"), numero);
        stored.Post();
    }
}
