#include "request/LiberaRetifPlano.h"

#include "db/Banco.h"
#include "db/Transacao.h"

TLiberaRetifPlano::TLiberaRetifPlano(Banco& banco, QObject* pai)
    : QObject(pai), m_banco(banco), m_lista(banco) {}

void TLiberaRetifPlano::AbreLista(const QString& filtro, const QVariantList& parametros) {
    m_filtro = filtro;
    m_parametros = parametros;
    QString sql = QStringLiteral("SELECT *\n  FROM TB_PLANOS\n WHERE CD_STATUS_ENVIO = 1");
    if (!filtro.trimmed().isEmpty()) sql += QStringLiteral(" and (") + filtro + QLatin1Char(')');
    m_planos.Abre(m_banco, sql, parametros);
    m_lista.PreparaColunas(m_planos);
}

void TLiberaRetifPlano::Libera(const QSet<int>& selecionadas) {
    try {
        TransacaoEscopo transacao(m_banco);
        for (int linha : selecionadas) {
            if (!m_planos.VaiParaLinha(linha)) continue;
            m_planos.Edit();
            m_planos.DefineValor(QStringLiteral("CD_STATUS_ENVIO"), 2);
            m_planos.Post();
        }
        m_planos.ApplyUpdates(m_banco);
        transacao.confirma();
    } catch (...) {
        m_planos.CancelUpdates();
        throw;
    }
    AbreLista(m_filtro, m_parametros);
}
