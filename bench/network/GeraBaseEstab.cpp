#include "GeraBaseEstab.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>
#include <cstdio>

#include "common/Identificadores.h"
#include "db/Banco.h"
#include "db/CriaBanco.h"
#include "db/DmConexao.h"

namespace {
QString digitoCnes(const QString& seis) {
    int soma = 0;
    for (int i = 0; i < 6; ++i) soma += (7 - i) * (seis[i].unicode() - '0');
    const int r = soma % 11;
    return seis + QString::number(r <= 1 ? 0 : 11 - r);
}

QString digitosCnpj(const QString& doze) {
    static const int p1[] = {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
    static const int p2[] = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
    QString n = doze;
    for (const int* pesos : {p1, p2}) {
        int soma = 0;
        for (int i = 0; i < n.size(); ++i) soma += pesos[i] * (n[i].unicode() - '0');
        const int r = soma % 11;
        n += QString::number(r < 2 ? 0 : 11 - r);
    }
    return n;
}
}  // namespace

namespace GeraBaseEstab {

void preparaAmbiente() {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& m) {
        if (!m.contains(QLatin1String("propagateSizeHints")))
            std::fprintf(stderr, "%s\n", qPrintable(m));
    });
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
}

void gera(const QString& pasta, int quantidade) {
    QDir().mkpath(pasta);
    const QString caminho = QDir(pasta).filePath(QStringLiteral("QEV.mdb"));
    QFile::remove(caminho);
    const QString fontes = QStringLiteral(QEV_DIR_FONTES "/data/");
    CriaBanco::cria(caminho, {CriaBanco::leScript(fontes + QStringLiteral("schema.sql")),
                              CriaBanco::leScript(fontes + QStringLiteral("referencia.sql"))});
    Banco b;
    b.abre(caminho, TDmConexao::SenhaBanco());
    QVector<qlonglong> municipios;
    for (const auto& l : b.consulta(QStringLiteral("SELECT ID_MUNC FROM TB_MUNICIPIOS")).linhas)
        municipios << l.first().toLongLong();

    const QStringList tipos{"HOSPITAL",       "CLÍNICA",    "LABORATÓRIO", "POLICLÍNICA",
                            "CASA DE SAÚDE",  "Hospital",   "Clínica",     "Centro Médico",
                            "PRONTO-SOCORRO", "Maternidade"};
    const QStringList nomes{"SÃO JOSÉ",
                            "SANTA LÚCIA",
                            "Ávila",
                            "d'Ávila",
                            "NOSSA SENHORA DA CONCEIÇÃO",
                            "São Lucas",
                            "BOM JESUS",
                            "Santa Casa",
                            "IRMÃOS PENTEADO",
                            "Éden",
                            "Ômega",
                            "Coração de Maria",
                            "Beneficência",
                            "São Camilo",
                            "ALBERT",
                            "Moinhos"};
    QRandomGenerator aleatorio(20240615);
    b.iniciaTransacao();
    b.executa(
        QStringLiteral(
            "INSERT INTO OPERADORAS (CD_OPER, CD_CNPJ, NM_RAZAO_SOCIAL, CD_GRUPO_CLASSIFICACAO) "
            "VALUES (?, '11222333000181', 'OPERADORA DE TESTE', 22)"),
        {QString::fromLatin1(kOperadora)});
    b.executa(
        QStringLiteral("INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_STATUS_ENVIO) "
                       "VALUES (?, 1, 'PLANO NACIONAL', 0)"),
        {QString::fromLatin1(kOperadora)});
    for (int i = 1; i <= quantidade; ++i) {
        const int faixa = int(aleatorio.bounded(100));
        const int classif = faixa < 55 ? 1 : faixa < 80 ? 2 : 3;
        const bool contratualizado = aleatorio.bounded(2) == 1;
        const QString nome = tipos[int(aleatorio.bounded(tipos.size()))] + QLatin1Char(' ') +
                             nomes[int(aleatorio.bounded(nomes.size()))] + QLatin1Char(' ') +
                             QString::number(i);
        b.executa(
            QStringLiteral(
                "INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, CD_OPER, CD_CNPJ_ESTB_SAUD, CD_CNES, "
                "RAZAO_SOCIAL_ESTB_SAUD, CD_CLASSIF_ESTAB_SAUDE, CD_TIPO_ESTB_SAUD, "
                "CD_TIPO_CONTRATO_ESTB_SAUDE, "
                "DT_CONTRATO_OPER, DT_VINCULO_OPER, CD_DISP_SERVICO, LG_URGENCIA_EMERGENCIA, "
                "ID_MUNC, "
                "LG_HOSPITAL_INCLUIDO, LG_CLASSIFICADO_ZUB) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, "
                "'2015-04-01', ?, ?, ?, 'N', 'N')"),
            {i, QString::fromLatin1(kOperadora),
             digitosCnpj(QStringLiteral("%1").arg(10000000 + i, 8, 10, QLatin1Char('0')) +
                         QStringLiteral("0001")),
             digitoCnes(QStringLiteral("%1").arg(100000 + i % 900000, 6, 10, QLatin1Char('0'))),
             nome.left(60), classif, contratualizado ? 2000 : 1000,
             contratualizado ? QVariant(QStringLiteral("D")) : QVariant(),
             contratualizado ? QVariant(QStringLiteral("2015-03-02")) : QVariant(),
             classif == 1 ? QVariant(QStringLiteral("T")) : QVariant(),
             classif == 1 ? QStringLiteral("S") : QStringLiteral("N"),
             municipios[int(aleatorio.bounded(municipios.size()))]});
        if (i % 100 == 0)
            b.executa(
                QStringLiteral(
                    "INSERT INTO RL_PLANOS_ESTAB_SAUDE (CD_OPER, SEQ_PLANO, ID_ESTB_SAUD, LG_NOVO) "
                    "VALUES (?, 1, ?, 'S')"),
                {QString::fromLatin1(kOperadora), i});
    }
    b.confirmaTransacao();
}

}  // namespace GeraBaseEstab
