#include "rules/RegrasPlanoAberto.h"

#include "db/DmConexao.h"
#include "db/Erro.h"
#include "db/RowSet.h"
#include "plans/DmInfoPlano.h"
#include "rules/LeituraPlanos.h"

namespace {
TdmInfoPlano& modulo() {
    TdmInfoPlano* m = TdmInfoPlano::instancia();
    if (!m) throw ErroQev(QStringLiteral("O módulo de planos não foi criado."));
    return *m;
}

// Values of a row set's row at a position, by column name.
std::function<QVariant(const QString&)> naPosicao(const RowSet& rs, int pos) {
    return [&rs, pos](const QString& coluna) {
        const int c = rs.IndiceCampo(coluna);
        return c < 0 ? QVariant() : rs.ValorNaPosicao(pos, c);
    };
}

// Every theme, its characteristic as the plan module names it.
CatalogoTemas temas(TdmInfoPlano& m) {
    m.AbreTiposClausulas();
    RowSet& t = *m.cdsTiposClausulas();
    QVector<TemaRegra> lista;
    for (int pos = 0; pos < t.RecordCount(); ++pos) lista << TemaDaLinha(naPosicao(t, pos));
    for (TemaRegra& tema : lista)
        tema.caracteristica = Caracteristicas::DaColuna(m.CampoCaracteristicaTema(int(tema.codigo)));
    CatalogoTemas c;
    c.define(std::move(lista));
    return c;
}

// The current plan and its loaded devices, in the device set's order.
DadosDispositivos dados(TdmInfoPlano& m, const CatalogoTemas& catalogo) {
    DadosDispositivos d;
    d.temas = &catalogo;
    const RowSet& plano = *m.cdsPlano();
    if (plano.Ativo() && !plano.IsEmpty()) AtributosDoPlano(d, naPosicao(plano, plano.RecNo()));
    const RowSet& disp = *m.cdsPlanoDispositivo();
    if (disp.Ativo())
        for (int pos = 0; pos < disp.RecordCount(); ++pos)
            d.dispositivos << DispositivoDaLinha(naPosicao(disp, pos));
    return d;
}
}  // namespace

QStringList RegrasTemas(const QString& cdOper, qlonglong seqPlano) {
    TdmInfoPlano& m = modulo();
    const CatalogoTemas catalogo = temas(m);
    RowSet* disp = m.cdsPlanoDispositivo();
    if (!m.AbertoPara(disp, cdOper, seqPlano)) m.AbreRelacionado(disp, cdOper, seqPlano);
    DadosDispositivos d = dados(m, catalogo);
    d.livreEscolha = m.PlanoPossuiLivreEscolha();
    return RegrasTemas(d);
}

QStringList RegrasCaracteristicas() {
    TdmInfoPlano& m = modulo();
    if (!m.cdsPlanoDispositivo()->Ativo()) return {};
    const CatalogoTemas catalogo = temas(m);
    DadosDispositivos d = dados(m, catalogo);
    m.GarantePlano(m.cdsPlanoServico());
    d.servicosOpcionais = !m.cdsPlanoServico()->IsEmpty();
    d.livreEscolha = m.PlanoPossuiLivreEscolha();
    return RegrasCaracteristicas(d);
}

QStringList RegrasDispositivos(const QString& cdOper, qlonglong seqPlano) {
    TdmInfoPlano& m = modulo();
    RowSet* plano = m.cdsPlano();
    if (!plano->Ativo()) {
        plano->DefineParametro(QStringLiteral("CD_OPER"), cdOper);
        plano->Abre(DmConexao()->banco());
    }
    const QString seq = QStringLiteral("SEQ_PLANO");
    const bool noPlano = !plano->IsEmpty() && plano->Valor(seq).toLongLong() == seqPlano &&
                         plano->Valor(QStringLiteral("CD_OPER")).toString() == cdOper;
    if (!noPlano && !plano->Locate({seq, QStringLiteral("CD_OPER")}, {seqPlano, cdOper}))
        return {};
    // In this order: the theme rules load what the characteristic rules read.
    QStringList msgs = RegrasTemas(cdOper, seqPlano);
    msgs += RegrasCaracteristicas();
    if (m.cdsPlanoDispositivo()->Ativo()) m.cdsPlanoDispositivo()->First();
    return msgs;
}
