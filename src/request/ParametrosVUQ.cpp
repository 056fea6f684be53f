#include "request/ParametrosVUQ.h"

#include <time.h>

#include <QStringList>

#include "db/Erro.h"
#include "common/Win1252.h"

QString NomeTransmissao(const QString& nomeArquivo, int seqPlano) {
    return nomeArquivo.left(nomeArquivo.size() - 4) + QLatin1Char('_') + QString::number(seqPlano) +
           QStringLiteral(".QEV");
}

QString DescricaoEnvio(const QString& nmPlano, const QString& contratacao,
                       const QString& abrangencia, const QString& segmentacao) {
    return QStringLiteral("Solicitação de registro do Plano: ") + nmPlano +
           QStringLiteral(" - Contratação:") + contratacao +
           QStringLiteral(" - Abrangência Geográfica:") + abrangencia +
           QStringLiteral(" - Segmentação:") + segmentacao + QLatin1Char('.');
}

QString LinhaParametros(const ParametrosVUQ& p) {
    return QStringList{QStringLiteral("1"), p.cdOper,      p.senha,    p.arquivo,
                       p.nomeTransmissao,   p.tipoArquivo, p.versao,   p.descricao,
                       p.checksum,          p.janela,      p.reservado}
        .join(QLatin1Char('|'));
}

QByteArray LinhaParametrosWin1252(const ParametrosVUQ& p) {
    const struct {
        const QString& valor;
        const char* onde;
    } campos[] = {
        {p.cdOper, "no código da operadora"},
        {p.senha, "na senha"},
        {p.arquivo, "no caminho do arquivo de solicitação"},
        {p.nomeTransmissao, "no nome do arquivo de solicitação"},
        {p.tipoArquivo, "no tipo do arquivo"},
        {p.versao, "na versão do sistema"},
        {p.descricao,
         "no nome do plano ou nas descrições de contratação, abrangência e segmentação"},
        {p.checksum, "no código de verificação do arquivo"},
        {p.janela, "na identificação da janela"},
        {p.reservado, "no campo reservado"},
    };
    ConversorWin1252 conversor;
    for (const auto& c : campos) {
        const QString onde = QString::fromUtf8(c.onde);
        if (c.valor.contains(QLatin1Char('|')))
            throw ErroQev(QStringLiteral("O caractere \"|\" não é aceito %1, pois separa os "
                                         "campos dos parâmetros entregues ao VUQ.")
                              .arg(onde));
        if (!conversor.codifica(c.valor))
            throw ErroQev(QStringLiteral("Há um caractere que não pode ser entregue ao VUQ %1 "
                                         "(fora do padrão Windows-1252).")
                              .arg(onde));
    }
    return *conversor.codifica(LinhaParametros(p));
}

QString NomeArquivoParametros(const QString& cdOper, quint64 tick) {
    // The fractional part of tick / 7 is (tick mod 7) / 7: it rounds to 1 from remainder 4 on.
    const int terceira = tick % 7 >= 4 ? 1 : 0;
    return cdOper + QLatin1Char('-') + QString::number(tick) + QLatin1Char('-') +
           QStringLiteral("%1").arg(terceira, 5, 10, QLatin1Char('0')) + QStringLiteral(".par");
}

quint64 TickSistema() {
    timespec ts{};
    clock_gettime(CLOCK_BOOTTIME, &ts);
    return static_cast<quint64>(ts.tv_sec) * 1000u + static_cast<quint64>(ts.tv_nsec) / 1000000u;
}
