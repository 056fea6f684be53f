#include "plans/ItensPlano.h"

#include <QSet>

#include "db/DmConexao.h"
#include "db/RowSet.h"
#include "db/Valores.h"
#include "plans/DmInfoPlano.h"

// ---------------------------------------------------------------------------
// The check list
// ---------------------------------------------------------------------------

QVector<int> TListaItens::CodigosMarcados() const {
    QVector<int> r;
    for (const Item& i : m_itens)
        if (i.marcado) r << i.codigo;
    return r;
}

void TListaItens::Limpa() {
    m_itens.clear();
    m_posicoes.clear();
    emit mudou();
}

void TListaItens::Acrescenta(const QString& texto, int codigo, bool marcado) {
    m_posicoes.insert(codigo, m_itens.size());
    m_itens.push_back({texto, marcado, true, codigo});
    emit mudou();
}

void TListaItens::DefineMarcado(int posicao, bool marcado) {
    if (posicao < 0 || posicao >= m_itens.size() || m_itens[posicao].marcado == marcado) return;
    m_itens[posicao].marcado = marcado;
    emit mudou();
}

void TListaItens::DefineHabilitado(int posicao, bool habilitado) {
    if (posicao < 0 || posicao >= m_itens.size() || m_itens[posicao].habilitado == habilitado)
        return;
    m_itens[posicao].habilitado = habilitado;
    emit mudou();
}

void TListaItens::Alterna(int posicao) {
    if (posicao < 0 || posicao >= m_itens.size() || !m_itens[posicao].habilitado) return;
    DefineMarcado(posicao, !m_itens[posicao].marcado);
}

void TListaItens::MarcaHabilitados(bool marcado) {
    for (int p = 0; p < m_itens.size(); ++p)
        if (m_itens[p].habilitado) DefineMarcado(p, marcado);
}

// ---------------------------------------------------------------------------
// The plan's two lists
// ---------------------------------------------------------------------------

namespace {
const QString kCobertura = QStringLiteral("CD_TIPO_COBERTURA");
const QString kServico = QStringLiteral("CD_SERV_OPCIONAL");

QVector<int> intervalo(int de, int ate) {
    QVector<int> r;
    for (int i = de; i <= ate; ++i) r << i;
    return r;
}
}  // namespace

TItensPlano::TItensPlano(TdmInfoPlano* dm, QObject* parent)
    : QObject(parent), m_dm(dm), m_reembolso(new TListaItens(this)), m_servicos(new TListaItens(this)) {
    m_reembolso->setObjectName(QStringLiteral("lstReembolso"));
    m_servicos->setObjectName(QStringLiteral("lstServicos"));
}

QVector<int> TItensPlano::CoberturasHabilitadas(int s) {
    switch (s) {
        case 1:
            return {1, 2, 4, 5, 13};
        case 2:
        case 5:
        case 6:
        case 7:
            return {1, 2, 3, 4, 5, 13};
        case 3:
            return {3, 13};
        case 4:
            return intervalo(6, 13);
        case 8:
            return QVector<int>{1, 2} + intervalo(4, 13);
        case 10:
        case 12:
        case 13:
        case 14:
            return intervalo(1, 13);
        case 11:
            return QVector<int>{3} + intervalo(6, 13);
        default:
            return {};
    }
}

QVector<int> TItensPlano::ServicosDesabilitados(int s) {
    switch (s) {
        case 1:
        case 2:
        case 3:
        case 6:
        case 7:
            return {9};
        case 4:
            return {1, 2, 3, 4, 5, 8};
        case 5:
            return intervalo(1, 14);
        default:
            return {};
    }
}

void TItensPlano::carrega(TListaItens* lista, RowSet* doPlano, RowSet* tabela, const QString& campo,
                          bool semOutros) {
    if (doPlano->Ativo()) return;
    const QString op = m_dm->CdOperAtual();
    const qlonglong seq = m_dm->SeqPlanoAtual();
    m_dm->AbreRelacionado(doPlano, op, seq);
    const QSet<int> marcados = [&] {
        QSet<int> r;
        const int c = doPlano->IndiceCampo(campo);
        for (int p = 0; p < doPlano->RecordCount(); ++p) r.insert(doPlano->ValorNaPosicao(p, c).toInt());
        return r;
    }();
    tabela->Abre(DmConexao()->banco());
    QSignalBlocker bloqueio(lista);
    lista->Limpa();
    const int cCod = tabela->IndiceCampo(campo);
    const int cOrdem = tabela->IndiceCampo(QStringLiteral("NR_ORDEM_EXIBICAO"));
    const int cDesc = tabela->IndiceCampo(semOutros ? QStringLiteral("DE_SERV_OPCIONAL")
                                                    : QStringLiteral("DE_TIPO_COBERTURA"));
    for (int p = 0; p < tabela->RecordCount(); ++p) {
        const QString descricao = tabela->ValorNaPosicao(p, cDesc).toString();
        if (semOutros && descricao.toUpper() == QLatin1String("OUTROS (ESPECIFICAR)")) continue;
        const int codigo = tabela->ValorNaPosicao(p, cCod).toInt();
        const QString texto = QStringLiteral("%1 - %2")
                                  .arg(tabela->ValorNaPosicao(p, cOrdem).toInt(), 2, 10, QLatin1Char('0'))
                                  .arg(descricao);
        lista->Acrescenta(texto, codigo, marcados.contains(codigo));
    }
    bloqueio.unblock();
    emit lista->mudou();
}

void TItensPlano::CarregaLivreEscolha() {
    carrega(m_reembolso, m_dm->cdsPlanoCobertura(), m_dm->cdsCobertura(), kCobertura, false);
}

void TItensPlano::CarregaServicos() {
    carrega(m_servicos, m_dm->cdsPlanoServico(), m_dm->cdsServico(), kServico, true);
}

void TItensPlano::RegrasLivreEscolha(int segmentacao, const QString& resposta) {
    TListaItens& l = *m_reembolso;
    QSignalBlocker bloqueio(&l);
    for (int p = 0; p < l.Count(); ++p) l.DefineHabilitado(p, false);
    for (int codigo : CoberturasHabilitadas(segmentacao)) l.DefineHabilitado(l.PosicaoDoCodigo(codigo), true);
    if (resposta == QLatin1String("S")) {
        for (int p = 0; p <= l.Count() - 2; ++p)
            if (l.item(p).habilitado) l.DefineMarcado(p, true);
        for (int codigo = 1; codigo <= 12; ++codigo) l.DefineHabilitado(l.PosicaoDoCodigo(codigo), false);
    } else {
        for (int p = 0; p < l.Count(); ++p)
            if (!l.item(p).habilitado) l.DefineMarcado(p, false);
    }
    bloqueio.unblock();
    emit l.mudou();
}

void TItensPlano::RegrasServicos(int segmentacao) {
    TListaItens& l = *m_servicos;
    QSignalBlocker bloqueio(&l);
    for (int p = 0; p < l.Count(); ++p) l.DefineHabilitado(p, true);
    for (int codigo : ServicosDesabilitados(segmentacao)) l.DefineHabilitado(l.PosicaoDoCodigo(codigo), false);
    for (int p = 0; p < l.Count(); ++p)
        if (!l.item(p).habilitado) l.DefineMarcado(p, false);
    bloqueio.unblock();
    emit l.mudou();
}

void TItensPlano::grava(TListaItens* lista, RowSet* doPlano, const QString& campo) {
    if (!doPlano->Ativo()) return;
    const QString op = m_dm->CdOperAtual();
    const qlonglong seq = m_dm->SeqPlanoAtual();
    for (int p = 0; p < lista->Count(); ++p) {
        const int codigo = lista->item(p).codigo;
        const bool existe = doPlano->Locate({QStringLiteral("CD_OPER"), QStringLiteral("SEQ_PLANO"), campo},
                                            {op, seq, codigo});
        if (lista->item(p).marcado) {
            if (existe) {
                // an existing row is posted again as it is
                doPlano->Edit();
                doPlano->Post();
            } else {
                doPlano->Append();
                doPlano->DefineValor(QStringLiteral("CD_OPER"), op);
                doPlano->DefineValor(QStringLiteral("SEQ_PLANO"), seq);
                doPlano->DefineValor(campo, codigo);
                doPlano->Post();
            }
        } else if (existe) {
            doPlano->Delete();
        }
    }
}

void TItensPlano::GravaLivreEscolha() {
    grava(m_reembolso, m_dm->cdsPlanoCobertura(), kCobertura);
}

void TItensPlano::GravaServicos() {
    grava(m_servicos, m_dm->cdsPlanoServico(), kServico);
}
