#include "rules/LeituraPlanos.h"

#include <QCollator>
#include <QHash>
#include <QLocale>
#include <algorithm>

#include "db/Banco.h"
#include "db/Valores.h"

namespace {
// Values of a row of a result by column name (indices found once per result).
class Colunas {
public:
    explicit Colunas(const Resultado& r) : m_r(r) {}
    std::function<QVariant(const QString&)> linha(int i) {
        return [this, i](const QString& coluna) {
            auto it = m_indices.constFind(coluna);
            if (it == m_indices.cend()) it = m_indices.insert(coluna, m_r.indice(coluna));
            return *it < 0 ? QVariant() : m_r.linhas[i].value(*it);
        };
    }

private:
    const Resultado& m_r;
    QHash<QString, int> m_indices;
};

bool sim(const QVariant& v) { return !nulo(v) && v.toLongLong() != 0; }

// The plan filter of both plan statements: the unsent ones, or one plan.
QString filtroPlanos(const std::optional<qlonglong>& seqPlano) {
    return seqPlano ? QStringLiteral(" AND P.SEQ_PLANO = ?")
                    : QStringLiteral(" AND COALESCE(P.CD_STATUS_ENVIO, 0) <> 1");
}
}  // namespace

TemaRegra TemaDaLinha(const std::function<QVariant(const QString&)>& valor) {
    TemaRegra t;
    t.codigo = valor(QStringLiteral("CD_TIPO_CLAUSULA")).toLongLong();
    t.nome = valor(QStringLiteral("DE_TIPO_CLAUSULA")).toString();
    t.ordem = valor(QStringLiteral("NR_ORDEM_EXIBICAO")).toInt();
    t.obrigatorio = valor(QStringLiteral("LG_OBRIGATORIO")).toString() == QLatin1String("S");
    t.ativo = nulo(valor(QStringLiteral("DT_PUBLICACAO_FIM")));
    t.caracteristica = Caracteristicas::DoTema(Caracteristicas::Ordem::TemasPlano, valor);
    return t;
}

DispositivoRegra DispositivoDaLinha(const std::function<QVariant(const QString&)>& valor) {
    DispositivoRegra d;
    d.tema = valor(QStringLiteral("CD_TIPO_CLAUSULA")).toLongLong();
    d.nomeTema = valor(QStringLiteral("DE_TIPO_CLAUSULA")).toString();
    d.temaAtivo = nulo(valor(QStringLiteral("DT_PUBLICACAO_FIM")));
    d.identificacao = valor(QStringLiteral("CD_IDENTIFICACAO_TEXTO")).toString();
    d.descricao = valor(QStringLiteral("DE_CLAUSULA_OPERADORA")).toString();
    for (int c = 0; c < kQtCaracteristicas; ++c) {
        const QVariant v = valor(Caracteristicas::Coluna(Caracteristica(c)));
        // An empty text is no value, as in the plan module's row sets.
        d.valores[size_t(c)] = nulo(v) || (v.typeId() == QMetaType::QString && v.toString().isEmpty())
                                   ? QVariant()
                                   : v;
    }
    return d;
}

void AtributosDoPlano(DadosDispositivos& d, const std::function<QVariant(const QString&)>& valor) {
    d.tipoContrato = valor(QStringLiteral("CD_TIPO_CONTRATO"));
    d.segmentacao = valor(QStringLiteral("CD_SEGMENTACAO"));
    d.abrangencia = valor(QStringLiteral("CD_ABRANGENCIA"));
    d.padraoAcomodacao = valor(QStringLiteral("CD_PADRAO_ACOMODACAO"));
    if (d.padraoAcomodacao.toString().isEmpty()) d.padraoAcomodacao = QVariant();
    d.tipoFinanc = valor(QStringLiteral("CD_TIPO_FINANC"));
    d.coparticipacao = valor(QStringLiteral("LG_FM_COPARTICIPACAO")).toString();
    d.franquia = valor(QStringLiteral("LG_FM_FRANQUIA")).toString();
}

void OrdenaDispositivos(QVector<DispositivoRegra>& dispositivos) {
    static thread_local QCollator colador = [] {
        QCollator c(QLocale(QLocale::Portuguese, QLocale::Brazil));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    std::stable_sort(dispositivos.begin(), dispositivos.end(),
                     [](const DispositivoRegra& a, const DispositivoRegra& b) {
                         if (a.tema != b.tema) return a.tema < b.tema;
                         // no description sorts first
                         if (a.descricao.isEmpty() || b.descricao.isEmpty())
                             return a.descricao.isEmpty() && !b.descricao.isEmpty();
                         return colador.compare(a.descricao, b.descricao) < 0;
                     });
}

ComandosLeitura ComandosLePlanos(const QString& cdOper, std::optional<qlonglong> seqPlano) {
    ComandosLeitura c;
    c.parametros = {cdOper};
    if (seqPlano) c.parametros << *seqPlano;
    c.temas = QStringLiteral("SELECT * FROM TA_TIPO_CLAUSULA");
    const auto existe = [](const char* tabela) {
        return QStringLiteral("EXISTS (SELECT 1 FROM %1 X WHERE X.CD_OPER = P.CD_OPER AND "
                              "X.SEQ_PLANO = P.SEQ_PLANO)")
            .arg(QLatin1String(tabela));
    };
    c.planos = QStringLiteral("SELECT P.SEQ_PLANO, P.CD_TIPO_CONTRATO, P.CD_SEGMENTACAO, "
                              "P.CD_ABRANGENCIA, P.CD_PADRAO_ACOMODACAO, P.CD_TIPO_FINANC, "
                              "P.LG_FM_COPARTICIPACAO, P.LG_FM_FRANQUIA, P.LG_VB_VINCULO_ATIVO, "
                              "P.LG_VB_VINCULO_INATIVO, P.CD_PARTC_FINANC_PJ, ") +
               existe("RL_PLANOS_TIPO_COBERTURA") + QStringLiteral(" AS TEM_LIVRE_ESCOLHA, ") +
               existe("RL_PLANOS_SERV_OPC") + QStringLiteral(" AS TEM_SERVICO, ") +
               existe("RL_PLANOS_ESTAB_SAUDE") + QStringLiteral(" AS TEM_REDE, ") +
               existe("RL_PLANO_NOTA_TECNICA") +
               QStringLiteral(" AS TEM_NOTA FROM TB_PLANOS P WHERE P.CD_OPER = ?") +
               filtroPlanos(seqPlano) + QStringLiteral(" ORDER BY P.SEQ_PLANO");
    c.dispositivos =
        QStringLiteral(
            "SELECT RL.SEQ_PLANO, TB.CD_TIPO_CLAUSULA, TA.DE_TIPO_CLAUSULA, "
            "TA.DT_PUBLICACAO_FIM, TB.CD_IDENTIFICACAO_TEXTO, TB.DE_CLAUSULA_OPERADORA, "
            "TB.CD_TIPO_CONTRATO, TB.CD_SEGMENTACAO, TB.CD_ABRANGENCIA, "
            "TB.CD_PADRAO_ACOMODACAO, TB.CD_FAIXA_ETARIA, TB.CD_COBERTURA_ADICIONAL, "
            "TB.CD_FORMA_ACESSO, TB.CD_FATOR_MODERADOR, TB.CD_TIPO_FINANC "
            "FROM RL_PLANO_CLAUSULA RL "
            "INNER JOIN TB_PLANOS P ON P.CD_OPER = RL.CD_OPER AND P.SEQ_PLANO = RL.SEQ_PLANO "
            "INNER JOIN TB_CLAUSULA_OPERADORA TB "
            "ON TB.CD_CLAUSULA_OPERADORA = RL.CD_CLAUSULA_OPERADORA "
            "INNER JOIN TA_TIPO_CLAUSULA TA ON TA.CD_TIPO_CLAUSULA = TB.CD_TIPO_CLAUSULA "
            "WHERE RL.CD_OPER = ?") +
        filtroPlanos(seqPlano) + QStringLiteral(" ORDER BY RL.SEQ_PLANO, TB.CD_TIPO_CLAUSULA, RL.rowid");
    return c;
}

LeituraPlanos LePlanos(Banco& banco, const QString& cdOper, std::optional<qlonglong> seqPlano) {
    const ComandosLeitura comandos = ComandosLePlanos(cdOper, seqPlano);
    LeituraPlanos leitura;
    {
        const Resultado r = banco.consulta(comandos.temas);
        Colunas col(r);
        QVector<TemaRegra> temas;
        temas.reserve(r.numLinhas());
        for (int i = 0; i < r.numLinhas(); ++i) temas << TemaDaLinha(col.linha(i));
        auto catalogo = std::make_shared<CatalogoTemas>();
        catalogo->define(std::move(temas));
        leitura.temas = std::move(catalogo);
    }

    QHash<qlonglong, int> posicao;  // plan number -> index in leitura.planos
    {
        const Resultado r = banco.consulta(comandos.planos, comandos.parametros);
        Colunas col(r);
        leitura.planos.reserve(r.numLinhas());
        for (int i = 0; i < r.numLinhas(); ++i) {
            const auto valor = col.linha(i);
            PlanoLido p;
            p.seqPlano = valor(QStringLiteral("SEQ_PLANO")).toLongLong();
            AtributosDoPlano(p.dispositivos, valor);
            p.dispositivos.livreEscolha = sim(valor(QStringLiteral("TEM_LIVRE_ESCOLHA")));
            p.dispositivos.servicosOpcionais = sim(valor(QStringLiteral("TEM_SERVICO")));
            p.dispositivos.temas = leitura.temas.get();
            p.vinculoAtivo = valor(QStringLiteral("LG_VB_VINCULO_ATIVO")).toString();
            p.vinculoInativo = valor(QStringLiteral("LG_VB_VINCULO_INATIVO")).toString();
            p.partcFinancPj = valor(QStringLiteral("CD_PARTC_FINANC_PJ")).toString();
            p.temRede = sim(valor(QStringLiteral("TEM_REDE")));
            p.temNotaTecnica = sim(valor(QStringLiteral("TEM_NOTA")));
            posicao.insert(p.seqPlano, leitura.planos.size());
            leitura.planos << p;
        }
    }
    if (leitura.planos.isEmpty()) return leitura;

    {
        const Resultado r = banco.consulta(comandos.dispositivos, comandos.parametros);
        Colunas col(r);
        for (int i = 0; i < r.numLinhas(); ++i) {
            const auto valor = col.linha(i);
            const auto it = posicao.constFind(valor(QStringLiteral("SEQ_PLANO")).toLongLong());
            if (it == posicao.cend()) continue;
            leitura.planos[*it].dispositivos.dispositivos << DispositivoDaLinha(valor);
        }
    }
    for (PlanoLido& p : leitura.planos) OrdenaDispositivos(p.dispositivos.dispositivos);
    return leitura;
}

QStringList RegrasDispositivos(Banco& banco, const QString& cdOper, qlonglong seqPlano) {
    const LeituraPlanos leitura = LePlanos(banco, cdOper, seqPlano);
    return leitura.planos.isEmpty() ? QStringList()
                                    : RegrasDispositivos(leitura.planos.first().dispositivos);
}

bool PlanoTemRede(Banco& banco, const QString& cdOper, qlonglong seqPlano) {
    return banco
               .valor(QStringLiteral("SELECT COUNT(*) AS TOTAL FROM RL_PLANOS_ESTAB_SAUDE RL "
                                     "WHERE RL.CD_OPER = ? AND RL.SEQ_PLANO = ?"),
                      {cdOper, seqPlano})
               .toLongLong() > 0;
}

bool PlanoTemNotaTecnica(Banco& banco, const QString& cdOper, qlonglong seqPlano) {
    return banco
        .valor(QStringLiteral("SELECT 1 FROM RL_PLANO_NOTA_TECNICA WHERE CD_OPER = ? AND "
                              "SEQ_PLANO = ? LIMIT 1"),
               {cdOper, seqPlano})
        .isValid();
}
