#include "FixturaDispositivos.h"

#include <QHash>
#include <QRandomGenerator>
#include <QVector>

#include "db/Banco.h"
#include "db/Transacao.h"
#include "devices/Caracteristicas.h"

namespace FixturaDispositivos {

namespace {
QVariant ouNulo(const QString& s) { return s.isEmpty() ? QVariant() : QVariant(s); }

QVariantList codigos(Banco& banco, const QString& sql) {
    QVariantList v;
    for (const QVariantList& l : banco.consulta(sql).linhas) v << l.value(0);
    return v;
}

struct TemaLido {
    qlonglong codigo;
    QString nome;
    bool ativo;
    Caracteristica caracteristica;
    QVector<QPair<qlonglong, QVariant>> dispositivos;  // code, characteristic value
};
}  // namespace

void insere(Banco& banco, const Dispositivo& d) {
    QString colunas = QStringLiteral(
        "CD_CLAUSULA_OPERADORA, CD_OPER, CD_TIPO_CLAUSULA, CD_IDENTIFICACAO_TEXTO, "
        "DE_CLAUSULA_OPERADORA, TX_CLAUSULA_OPERADORA, CD_STATUS_ENVIO, CD_PUBLICADO");
    ParamsPosicionais params{d.codigo,          d.cdOper,       d.tema,
                             ouNulo(d.identificacao), ouNulo(d.descricao), ouNulo(d.texto),
                             d.statusEnvio,     d.publicado};
    for (auto it = d.valores.cbegin(); it != d.valores.cend(); ++it) {
        // only the characteristic columns reach the statement as names
        if (Caracteristicas::DaColuna(it.key()) == Caracteristica::Nenhuma) continue;
        colunas += QStringLiteral(", ") + Caracteristicas::Coluna(Caracteristicas::DaColuna(it.key()));
        params << it.value();
    }
    QString marcas = QStringLiteral("?");
    for (int i = 1; i < params.size(); ++i) marcas += QStringLiteral(", ?");
    banco.executa(QStringLiteral("INSERT INTO TB_CLAUSULA_OPERADORA (") + colunas +
                      QStringLiteral(") VALUES (") + marcas + QLatin1Char(')'),
                  params);
}

void vincula(Banco& banco, const QString& cdOper, qlonglong seqPlano, qlonglong cdClausula) {
    banco.executa(QStringLiteral("INSERT INTO RL_PLANO_CLAUSULA (CD_OPER, SEQ_PLANO, "
                                 "CD_CLAUSULA_OPERADORA) VALUES (?, ?, ?)"),
                  {cdOper, seqPlano, cdClausula});
}

void insereTema(Banco& banco, const Tema& t) {
    ParamsPosicionais params{t.codigo, t.nome, ouNulo(t.orientacao),
                             t.obrigatorio ? QStringLiteral("S") : QStringLiteral("N")};
    for (int i = 0; i < kQtCaracteristicas; ++i)
        params << (t.flags.contains(Caracteristicas::Flag(Caracteristica(i))) ? QStringLiteral("S")
                                                                              : QStringLiteral("N"));
    params << t.ordem << (t.fim.isValid() ? QVariant(t.fim) : QVariant());
    banco.executa(
        QStringLiteral("INSERT OR REPLACE INTO TA_TIPO_CLAUSULA (CD_TIPO_CLAUSULA, "
                       "DE_TIPO_CLAUSULA, TX_TIPO_CLAUSULA, LG_OBRIGATORIO, LG_TIPO_CONTRATO, "
                       "LG_SEGMENTACAO, LG_ABRANGENCIA, LG_PADRAO_ACOMODACAO, LG_FAIXA_ETARIA, "
                       "LG_COBERTURA_ADICIONAL, LG_FORMA_ACESSO, LG_FATOR_MODERADOR, LG_TIPO_FINANC, "
                       "NR_ORDEM_EXIBICAO, DT_PUBLICACAO_FIM, LG_CLAUSULAS_MULTIPLAS, "
                       "CD_CLASS_CLAUSULA) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                       "'N', 1)"),
        params);
}

Resumo geraParaPlanos(Banco& banco, const QString& cdOper, quint32 semente,
                      const QList<qlonglong>& semDispositivos) {
    using C = Caracteristica;
    TransacaoEscopo transacao(banco);
    QRandomGenerator aleatorio(semente);
    Resumo resumo;

    // Every value a characteristic may take.
    QHash<int, QVariantList> dominio;
    dominio[int(C::TipoContrato)] =
        codigos(banco, QStringLiteral("SELECT CD_TIPO_CONTRATO FROM TA_TIPO_CONTRATO"));
    dominio[int(C::Segmentacao)] =
        codigos(banco, QStringLiteral("SELECT CD_SEGMENTACAO FROM TA_TIPO_SEGMENTACAO"));
    dominio[int(C::Abrangencia)] =
        codigos(banco, QStringLiteral("SELECT CD_ABRANGENCIA FROM TA_TIPO_ABRANGENCIA"));
    dominio[int(C::TipoFinanc)] =
        codigos(banco, QStringLiteral("SELECT CD_TIPO_FINANC FROM TA_TIPO_FINANCIAMENTO"));
    dominio[int(C::PadraoAcomodacao)] = {QStringLiteral("I"), QStringLiteral("C")};
    dominio[int(C::FaixaEtaria)] = {QStringLiteral("1"), QStringLiteral("2")};
    dominio[int(C::CoberturaAdicional)] = {QStringLiteral("S"), QStringLiteral("N")};
    dominio[int(C::FormaAcesso)] = {QStringLiteral("S"), QStringLiteral("N")};
    dominio[int(C::FatorModerador)] = {QStringLiteral("N"), QStringLiteral("C"),
                                       QStringLiteral("F"), QStringLiteral("A")};

    // The catalogue of the operator's devices, theme by theme.
    QVector<TemaLido> temas;
    {
        const Resultado r = banco.consulta(
            QStringLiteral("SELECT * FROM TA_TIPO_CLAUSULA ORDER BY NR_ORDEM_EXIBICAO"));
        for (int i = 0; i < r.numLinhas(); ++i) {
            const auto valor = [&r, i](const QString& c) { return r.valor(i, c); };
            temas.push_back({valor(QStringLiteral("CD_TIPO_CLAUSULA")).toLongLong(),
                             valor(QStringLiteral("DE_TIPO_CLAUSULA")).toString(),
                             valor(QStringLiteral("DT_PUBLICACAO_FIM")).isNull(),
                             Caracteristicas::DoTema(Caracteristicas::Ordem::TemasPlano, valor),
                             {}});
        }
    }
    qlonglong proximo =
        banco.valor(QStringLiteral("SELECT COALESCE(MAX(CD_CLAUSULA_OPERADORA), 0) + 1 FROM "
                                   "TB_CLAUSULA_OPERADORA"))
            .toLongLong();
    for (TemaLido& t : temas) {
        const QVariantList valores =
            t.caracteristica == C::Nenhuma ? QVariantList{QVariant(), QVariant()}
                                           : dominio.value(int(t.caracteristica));
        for (int k = 0; k < valores.size(); ++k) {
            Dispositivo d;
            d.codigo = proximo++;
            d.cdOper = cdOper;
            d.tema = t.codigo;
            d.identificacao = QStringLiteral("T%1-%2").arg(t.codigo, 2, 10, QLatin1Char('0')).arg(k + 1);
            d.descricao = (t.nome.trimmed() + QStringLiteral(" - redação ") + QString::number(k + 1)).left(100);
            d.texto = QStringLiteral("Cláusula da operadora sobre %1, redação %2.").arg(t.nome.trimmed()).arg(k + 1);
            if (t.caracteristica != C::Nenhuma)
                d.valores.insert(Caracteristicas::Coluna(t.caracteristica), valores[k]);
            d.publicado = aleatorio.bounded(10) == 0 ? 1 : 0;
            insere(banco, d);
            t.dispositivos.push_back({d.codigo, valores[k]});
            ++resumo.dispositivos;
        }
    }

    // Each plan carries the devices of its contract.
    const Resultado planos = banco.consulta(
        QStringLiteral("SELECT P.SEQ_PLANO, P.CD_TIPO_CONTRATO, P.CD_SEGMENTACAO, P.CD_ABRANGENCIA, "
                       "P.CD_TIPO_FINANC, P.CD_PADRAO_ACOMODACAO, P.LG_FM_COPARTICIPACAO, "
                       "P.LG_FM_FRANQUIA, EXISTS (SELECT 1 FROM RL_PLANOS_TIPO_COBERTURA X WHERE "
                       "X.CD_OPER = P.CD_OPER AND X.SEQ_PLANO = P.SEQ_PLANO), EXISTS (SELECT 1 "
                       "FROM RL_PLANOS_SERV_OPC X WHERE X.CD_OPER = P.CD_OPER AND X.SEQ_PLANO = "
                       "P.SEQ_PLANO) FROM TB_PLANOS P WHERE P.CD_OPER = ? ORDER BY P.SEQ_PLANO"),
        {cdOper});
    QVector<const TemaLido*> inativos;
    for (const TemaLido& t : temas)
        if (!t.ativo) inativos << &t;
    for (const QVariantList& p : planos.linhas) {
        const qlonglong seq = p.value(0).toLongLong();
        if (semDispositivos.contains(seq)) continue;
        const bool livreEscolha = p.value(8).toLongLong() != 0;
        const bool servicos = p.value(9).toLongLong() != 0;
        const QString co = p.value(6).toString(), fr = p.value(7).toString();
        const auto S = QLatin1String("S");
        QHash<int, QVariant> doPlano{
            {int(C::TipoContrato), p.value(1)},
            {int(C::Segmentacao), p.value(2)},
            {int(C::Abrangencia), p.value(3)},
            {int(C::TipoFinanc), p.value(4)},
            {int(C::PadraoAcomodacao), p.value(5)},
            {int(C::CoberturaAdicional), servicos ? QStringLiteral("S") : QStringLiteral("N")},
            {int(C::FormaAcesso), livreEscolha ? QStringLiteral("S") : QStringLiteral("N")},
            {int(C::FatorModerador), co == S && fr == S ? QStringLiteral("A")
                                     : co == S          ? QStringLiteral("C")
                                     : fr == S          ? QStringLiteral("F")
                                                        : QStringLiteral("N")},
            {int(C::FaixaEtaria), QStringLiteral("2")}};
        const bool coletivoEmpresarial = p.value(1).toLongLong() == 2;
        for (const TemaLido& t : temas) {
            if (!t.ativo || t.dispositivos.isEmpty()) continue;
            if (t.codigo == 19 && !livreEscolha) continue;
            if (t.codigo == 26 && !coletivoEmpresarial) continue;
            int escolhido = int(aleatorio.bounded(t.dispositivos.size()));
            // Most devices state what the plan is; a few do not.
            if (t.caracteristica != C::Nenhuma && aleatorio.bounded(100) < 94) {
                const QString quer = doPlano.value(int(t.caracteristica)).toString();
                for (int k = 0; k < t.dispositivos.size(); ++k)
                    if (t.dispositivos[k].second.toString() == quer) escolhido = k;
            }
            vincula(banco, cdOper, seq, t.dispositivos[escolhido].first);
            ++resumo.vinculos;
            // Some plans also keep their age bands from before RN 63/03.
            if (t.caracteristica == C::FaixaEtaria && aleatorio.bounded(5) == 0) {
                for (const auto& disp : t.dispositivos)
                    if (disp.second.toString() == QLatin1String("1")) {
                        vincula(banco, cdOper, seq, disp.first);
                        ++resumo.vinculos;
                    }
            }
        }
        if (!inativos.isEmpty() && aleatorio.bounded(100) < 3) {
            const TemaLido* t = inativos[int(aleatorio.bounded(inativos.size()))];
            vincula(banco, cdOper, seq, t->dispositivos.first().first);
            ++resumo.vinculos;
        }
    }
    transacao.confirma();
    return resumo;
}

}  // namespace FixturaDispositivos
