#include "request/ListaPlanos.h"

#include "db/Banco.h"
#include "db/RowSet.h"
#include "db/Valores.h"

namespace {

QHash<int, QString> descricoes(Banco& banco, const char* tabela, const char* codigo, const char* descricao) {
    QHash<int, QString> r;
    for (const auto& l : banco
                             .consulta(QStringLiteral("SELECT %1, %2 FROM %3")
                                           .arg(QLatin1String(codigo), QLatin1String(descricao),
                                                QLatin1String(tabela)))
                             .linhas)
        r.insert(l.at(0).toInt(), l.at(1).toString());
    return r;
}

}  // namespace

ListaPlanos::ListaPlanos(Banco& banco)
    : m_contratos(descricoes(banco, "TA_TIPO_CONTRATO", "CD_TIPO_CONTRATO", "DE_TIPO_CONTRATO")),
      m_abrangencias(descricoes(banco, "TA_TIPO_ABRANGENCIA", "CD_ABRANGENCIA", "DE_ABRANGENCIA")),
      m_segmentacoes(descricoes(banco, "TA_TIPO_SEGMENTACAO", "CD_SEGMENTACAO", "DE_SEGMENTACAO")) {}

void ListaPlanos::PreparaColunas(RowSet& planos) const {
    planos.DefineAtualizacao(QStringLiteral("TB_PLANOS"), {QStringLiteral("CD_OPER"), QStringLiteral("SEQ_PLANO")});
    if (planos.TemCampo(QStringLiteral("lkpContratacao"))) return;
    for (int i = 0; i < planos.Campos().size(); ++i) {
        Campo& c = planos.campo(i);
        c.visivel = c.nome.compare(QLatin1String("NM_PLANO"), Qt::CaseInsensitive) == 0;
        if (c.visivel) c.rotulo = QStringLiteral("Nome Comercial");
    }
    const auto descricao = [&](const char* nome, const char* rotulo, const QHash<int, QString>& lista,
                               const char* coluna) {
        Campo c;
        c.nome = QString::fromLatin1(nome);
        c.rotulo = QString::fromUtf8(rotulo);
        const QString origem = QString::fromLatin1(coluna);
        c.calculo = [lista, origem](const RowSet& rs, int linha) -> QVariant {
            const QVariant v = rs.ValorDaLinha(linha, origem);
            return nulo(v) ? QVariant() : QVariant(lista.value(v.toInt()));
        };
        planos.AdicionaCampo(c);
    };
    descricao("lkpContratacao", "Contratação", m_contratos, "CD_TIPO_CONTRATO");
    descricao("lkpAbrangencia", "Abrangência Geográfica", m_abrangencias, "CD_ABRANGENCIA");
    descricao("lkpSegmentacao", "Segmentação Assistencial", m_segmentacoes, "CD_SEGMENTACAO");
}
