#include "plans/AreaAtuacaoPlano.h"

#include <QSet>

#include "common/CursorEspera.h"
#include "db/DmConexao.h"
#include "db/RowSet.h"
#include "db/Valores.h"
#include "operator/Operadora.h"
#include "plans/DmInfoPlano.h"

namespace {
const QString kCdOper = QStringLiteral("CD_OPER");
const QString kSeqPlano = QStringLiteral("SEQ_PLANO");
const QString kCdUf = QStringLiteral("CD_UF");
const QString kNmUf = QStringLiteral("NM_UF");
const QString kRegiao = QStringLiteral("CD_REGIAO_BRASIL");
const QString kIdMunc = QStringLiteral("ID_MUNC");
const QString kNmMunc = QStringLiteral("NM_MUNC");

// Upper case without accents: "São" and "SAO" are the same name here.
QString semAcentos(const QString& texto) {
    QString r;
    const QString decomposto = texto.toUpper().normalized(QString::NormalizationForm_D);
    r.reserve(decomposto.size());
    for (const QChar c : decomposto)
        if (c.category() != QChar::Mark_NonSpacing) r += c;
    return r;
}

// The values of a column over every row of a set (whatever a filter hides).
QSet<QString> valores(const RowSet& rs, const QString& campo) {
    QSet<QString> r;
    const int c = rs.IndiceCampo(campo);
    for (int linha : rs.LinhasSemFiltro()) r.insert(rs.ValorDaLinha(linha, c).toString());
    return r;
}

// Every row a list shows, in its order.
QVector<int> visiveis(const RowSet& rs) {
    QVector<int> r;
    r.reserve(rs.RecordCount());
    for (int p = 0; p < rs.RecordCount(); ++p) r << rs.LinhaNaPosicao(p);
    return r;
}

// Moves rows of `origem` into `destino`: each one whose key is not in `destino` yet is
// appended with `colunas` (taken from the source row; CD_OPER and SEQ_PLANO given when
// asked); every one leaves `origem`.
void move(RowSet& origem, RowSet& destino, const QVector<int>& linhas, const QString& chave,
          const QStringList& colunas, const QVariant& cdOper = QVariant(),
          const QVariant& seqPlano = QVariant()) {
    if (linhas.isEmpty() || !origem.Ativo()) return;
    CursorEspera espera;
    if (!destino.Ativo()) {  // nothing to give the rows back to: they only leave
        origem.ExcluiLinhas(linhas);
        return;
    }
    QSet<QString> presentes = valores(destino, chave);
    QVector<QPair<int, int>> pares;  // destination field, source field
    for (const QString& c : colunas) pares.push_back({destino.IndiceCampo(c), origem.IndiceCampo(c)});
    const int cChave = origem.IndiceCampo(chave);
    const RowSet::Lote loteOrigem(origem), loteDestino(destino);
    for (int linha : linhas) {
        const QString valorChave = origem.ValorDaLinha(linha, cChave).toString();
        if (presentes.contains(valorChave)) continue;
        presentes.insert(valorChave);
        destino.Append();
        if (!nulo(cdOper)) destino.DefineValor(kCdOper, cdOper);
        if (!nulo(seqPlano)) destino.DefineValor(kSeqPlano, seqPlano);
        for (const auto& [d, o] : pares) destino.DefineValor(d, origem.ValorDaLinha(linha, o));
        destino.Post();
    }
    origem.ExcluiLinhas(linhas);
}
}  // namespace

TAreaAtuacaoPlano::TAreaAtuacaoPlano(TdmInfoPlano* dm, QObject* parent)
    : QObject(parent), m_dm(dm) {}

TAreaAtuacaoPlano::~TAreaAtuacaoPlano() = default;

void TAreaAtuacaoPlano::CarregaSeletorUF() {
    const QString op = m_dm->CdOperAtual();
    const qlonglong seq = m_dm->SeqPlanoAtual();
    if (m_dm->AbertoPara(m_dm->cdsListaUF(), op, seq)) return;
    CursorEspera espera;
    m_dm->AbreRelacionado(m_dm->cdsPlanosUF(), op, seq);
    m_dm->cdsListaUF()->DefineFiltro(nullptr);
    m_regiaoUF = QVariant();
    m_dm->AbreRelacionado(m_dm->cdsListaUF(), op, seq);
}

void TAreaAtuacaoPlano::CarregaSeletorMunicipio() {
    const QString op = m_dm->CdOperAtual();
    const qlonglong seq = m_dm->SeqPlanoAtual();
    if (m_dm->cdsUF()->Ativo() && m_dm->AbertoPara(m_dm->cdsMunicipio(), op, seq)) return;
    CursorEspera espera;
    Banco& b = DmConexao()->banco();
    m_dm->AbreRelacionado(m_dm->cdsPlanosMunicipio(), op, seq);
    m_dm->cdsUF()->Abre(b);
    m_pesquisa.clear();
    m_dm->cdsMunicipio()->DefineFiltro(nullptr);
    m_dm->AbreRelacionado(m_dm->cdsMunicipio(), op, seq);
    m_dm->cdsFiltroUF()->Abre(b);
    RemoveFiltroMunicipios();
}

void TAreaAtuacaoPlano::GaranteAreaDoPlano() {
    m_dm->GarantePlano(m_dm->cdsPlanosMunicipio());
    m_dm->GarantePlano(m_dm->cdsPlanosUF());
}

void TAreaAtuacaoPlano::FechaSeletores() {
    for (RowSet* rs : {m_dm->cdsListaUF(), m_dm->cdsUF(), m_dm->cdsMunicipio(), m_dm->cdsFiltroUF()})
        rs->Fecha();
}

void TAreaAtuacaoPlano::AceitaSeletores() {
    for (RowSet* rs : {m_dm->cdsListaUF(), m_dm->cdsMunicipio()})
        if (rs->Ativo()) rs->MergeChangeLog();
}

// ---------------------------------------------------------------------------
// Filters
// ---------------------------------------------------------------------------

void TAreaAtuacaoPlano::RemoveFiltroMunicipios() { FiltraMunicipiosDaUF(QString()); }

void TAreaAtuacaoPlano::FiltraMunicipiosDaUF(const QString& uf) {
    m_ufFiltrada = uf;
    RowSet& rs = *m_dm->cdsPlanosMunicipio();
    if (uf.isEmpty()) {
        if (rs.Filtrado()) rs.DefineFiltro(nullptr);
        return;
    }
    const int c = rs.IndiceCampo(kCdUf);
    rs.DefineFiltro([c, uf](const RowSet& r, int linha) { return r.ValorDaLinha(linha, c).toString() == uf; });
}

void TAreaAtuacaoPlano::ReiniciaRegioes() {
    FiltraRegiaoUF(QVariant());
    FiltraRegiaoMunicipio(QVariant());
}

namespace {
void filtraRegiao(RowSet& rs, const QVariant& regiao) {
    if (nulo(regiao)) {
        if (rs.Filtrado()) rs.DefineFiltro(nullptr);
        return;
    }
    const qlonglong codigo = regiao.toLongLong();
    rs.DefineFiltro([codigo](const RowSet& r, int linha) {
        const QVariant v = r.ValorDaLinha(linha, kRegiao);
        return !nulo(v) && v.toLongLong() == codigo;
    });
}
}  // namespace

void TAreaAtuacaoPlano::FiltraRegiaoUF(const QVariant& regiao) {
    m_regiaoUF = nulo(regiao) ? QVariant() : regiao;
    filtraRegiao(*m_dm->cdsListaUF(), m_regiaoUF);
}

void TAreaAtuacaoPlano::FiltraRegiaoMunicipio(const QVariant& regiao) {
    m_regiaoMunicipio = nulo(regiao) ? QVariant() : regiao;
    filtraRegiao(*m_dm->cdsUF(), m_regiaoMunicipio);
}

void TAreaAtuacaoPlano::PesquisaMunicipio(const QString& texto) {
    m_pesquisa = texto.trimmed().isEmpty() ? QString() : texto.toUpper();
    aplicaPesquisa();
}

void TAreaAtuacaoPlano::aplicaPesquisa() {
    RowSet& rs = *m_dm->cdsMunicipio();
    if (m_pesquisa.isEmpty()) {
        if (rs.Filtrado()) rs.DefineFiltro(nullptr);
        return;
    }
    const QString prefixo = semAcentos(m_pesquisa);
    const int c = rs.IndiceCampo(kNmMunc);
    rs.DefineFiltro([c, prefixo](const RowSet& r, int linha) {
        return semAcentos(r.ValorDaLinha(linha, c).toString()).startsWith(prefixo);
    });
}

// ---------------------------------------------------------------------------
// Moves
// ---------------------------------------------------------------------------

void TAreaAtuacaoPlano::IncluiUFs(const QVector<int>& linhas) {
    RowSet& plano = *m_dm->cdsPlanosUF();
    if (plano.Filtrado()) plano.DefineFiltro(nullptr);
    move(*m_dm->cdsListaUF(), plano, linhas, kCdUf, {kCdUf, kNmUf, kRegiao}, m_dm->CdOperAtual(),
         m_dm->SeqPlanoAtual());
    RecalculaRegiao();
}

void TAreaAtuacaoPlano::IncluiTodasUFs() { IncluiUFs(visiveis(*m_dm->cdsListaUF())); }

void TAreaAtuacaoPlano::RetiraUFs(const QVector<int>& linhas) {
    RowSet& plano = *m_dm->cdsPlanosUF();
    if (plano.Filtrado()) plano.DefineFiltro(nullptr);
    move(plano, *m_dm->cdsListaUF(), linhas, kCdUf, {kCdUf, kNmUf, kRegiao});
    RecalculaRegiao();
}

void TAreaAtuacaoPlano::RetiraTodasUFs() {
    RowSet& plano = *m_dm->cdsPlanosUF();
    if (plano.Filtrado()) plano.DefineFiltro(nullptr);
    RemoveFiltroMunicipios();
    RetiraUFs(plano.LinhasSemFiltro());
}

void TAreaAtuacaoPlano::IncluiMunicipios(const QVector<int>& linhas) {
    RemoveFiltroMunicipios();
    move(*m_dm->cdsMunicipio(), *m_dm->cdsPlanosMunicipio(), linhas, kIdMunc, {kIdMunc, kCdUf, kNmMunc},
         m_dm->CdOperAtual(), m_dm->SeqPlanoAtual());
    RecalculaRegiao();
}

void TAreaAtuacaoPlano::IncluiTodosMunicipios() { IncluiMunicipios(visiveis(*m_dm->cdsMunicipio())); }

void TAreaAtuacaoPlano::RetiraMunicipios(const QVector<int>& linhas) {
    RemoveFiltroMunicipios();
    move(*m_dm->cdsPlanosMunicipio(), *m_dm->cdsMunicipio(), linhas, kIdMunc, {kIdMunc, kCdUf, kNmMunc});
    RecalculaRegiao();
}

void TAreaAtuacaoPlano::RetiraTodosMunicipios() {
    RemoveFiltroMunicipios();
    RetiraMunicipios(m_dm->cdsPlanosMunicipio()->LinhasSemFiltro());
}

TAreaAtuacaoPlano::Botoes TAreaAtuacaoPlano::Disponiveis(bool editando, bool abaHabilitada) const {
    Botoes b;
    if (!editando || !abaHabilitada) return b;
    const auto temLinhas = [](const RowSet* rs) { return rs->Ativo() && !rs->IsEmpty(); };
    b.incluiUF = temLinhas(m_dm->cdsListaUF());
    b.retiraUF = temLinhas(m_dm->cdsPlanosUF());
    b.incluiMunicipio = temLinhas(m_dm->cdsMunicipio());
    b.retiraMunicipio = temLinhas(m_dm->cdsPlanosMunicipio());
    return b;
}

// ---------------------------------------------------------------------------
// Rules
// ---------------------------------------------------------------------------

const RegrasArea& TAreaAtuacaoPlano::Regras() {
    if (!m_regras) m_regras = std::make_unique<RegrasArea>(DmConexao()->banco());
    return *m_regras;
}

QVector<LinhaArea> TAreaAtuacaoPlano::LinhasDaArea(const RowSet& rs) {
    QVector<LinhaArea> r;
    if (!rs.Ativo()) return r;
    const int cUf = rs.IndiceCampo(kCdUf), cNome = rs.IndiceCampo(kNmMunc);
    const QVector<int> linhas = rs.LinhasSemFiltro();
    r.reserve(linhas.size());
    for (int linha : linhas)
        r.push_back({rs.ValorDaLinha(linha, cUf).toString(),
                     cNome >= 0 ? rs.ValorDaLinha(linha, cNome).toString() : QString()});
    return r;
}

void TAreaAtuacaoPlano::RecalculaRegiao() {
    RowSet& p = *m_dm->cdsPlano();
    if (!p.EmEdicao()) return;
    GaranteAreaDoPlano();
    const QVariant abrangencia = p.Valor(QStringLiteral("CD_ABRANGENCIA"));
    const int regiao = Regras().CalculaRegiaoCobertura(nulo(abrangencia) ? 0 : abrangencia.toInt(),
                                                       LinhasDaArea(*m_dm->cdsPlanosUF()),
                                                       LinhasDaArea(*m_dm->cdsPlanosMunicipio()));
    p.DefineValor(QStringLiteral("CD_REGIAO_COBERTURA"), regiao);
}

void TAreaAtuacaoPlano::RegrasAreaAtuacao(int abrangencia, RowSet& linhas, QStringList& mensagens) {
    Regras().RegrasAreaAtuacao(abrangencia, LinhasDaArea(linhas), OperadoraAtual().Regiao, mensagens);
}

QString TAreaAtuacaoPlano::MensagemGravacao(int abrangencia) {
    GaranteAreaDoPlano();
    RowSet& munic = *m_dm->cdsPlanosMunicipio();
    if (abrangencia == 3 && RegrasArea::UfsDistintas(LinhasDaArea(munic)).size() > 1)
        return QStringLiteral("Somente podem ser selecionados municípios de uma única UF.");
    QStringList mensagens;
    RegrasAreaAtuacao(abrangencia,
                      abrangencia == 4 || abrangencia == 5 ? munic : *m_dm->cdsPlanosUF(), mensagens);
    QString m;
    for (const QString& t : mensagens) m += t + QLatin1Char('\r');
    return m;
}
