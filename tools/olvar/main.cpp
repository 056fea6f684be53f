// qev-olvar: writes the predecessor system's database (Zemlo.mdb) that the import
// "Importar Estabelecimentos de Saúde do Sistema OLVAR" reads, from a CSV file or from
// generated establishments.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <cstdio>

#include "db/Erro.h"
#include "network/BaseOlvar.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qev-olvar"));
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
        "Grava o banco de dados do sistema OLVAR (Zemlo.mdb), cifrado com a senha que a "
        "importação do QEV Operadora usa, com a operadora e os estabelecimentos de saúde "
        "de um arquivo CSV ou gerados.\n\n"
        "CSV: UTF-8; a primeira linha traz os nomes das colunas (veja --colunas), separados "
        "por ';' ou ','; campos entre aspas podem conter separadores e quebras de linha; "
        "campo vazio = nulo; datas como dd/mm/aaaa ou aaaa-mm-dd."));
    p.addHelpOption();
    const QCommandLineOption operadora({QStringLiteral("o"), QStringLiteral("operadora")},
                                       QStringLiteral("Registro ZUB da operadora (6 dígitos)."),
                                       QStringLiteral("código"));
    const QCommandLineOption csv({QStringLiteral("c"), QStringLiteral("csv")},
                                 QStringLiteral("Estabelecimentos lidos deste arquivo CSV."),
                                 QStringLiteral("arquivo"));
    const QCommandLineOption gera({QStringLiteral("g"), QStringLiteral("gera")},
                                  QStringLiteral("Acrescenta n estabelecimentos válidos gerados."),
                                  QStringLiteral("n"));
    const QCommandLineOption colunas(QStringLiteral("colunas"),
                                     QStringLiteral("Lista as colunas aceitas no CSV e termina."));
    p.addOptions({operadora, csv, gera, colunas});
    p.addPositionalArgument(QStringLiteral("destino"),
                            QStringLiteral("Arquivo a gravar (normalmente Zemlo.mdb); é substituído."));
    p.process(app);

    if (p.isSet(colunas)) {
        for (const QString& c : BaseOlvar::Colunas()) std::printf("%s\n", qPrintable(c));
        return 0;
    }
    const auto uso = [&](const char* motivo) {
        std::fprintf(stderr, "qev-olvar: %s\n\n%s", motivo, qPrintable(p.helpText()));
        return 2;
    };
    if (p.positionalArguments().size() != 1) return uso("informe um arquivo de destino");
    if (!p.isSet(csv) && !p.isSet(gera)) return uso("informe --csv ou --gera");
    bool ok = true;
    const int quantos = p.isSet(gera) ? p.value(gera).toInt(&ok) : 0;
    if (!ok || quantos < 0) return uso("--gera espera um número");

    const QString destino = p.positionalArguments().first();
    try {
        BaseOlvar base(destino, p.value(operadora));
        if (p.isSet(csv)) {
            QFile f(p.value(csv));
            if (!f.open(QIODevice::ReadOnly))
                throw ErroQev(QStringLiteral("não foi possível ler %1: %2").arg(f.fileName(), f.errorString()));
            BaseOlvar::LeCsv(f, base);
        }
        for (int i = 1; i <= quantos; ++i) base.Acrescenta(BaseOlvar::Gerada(i));
        const int total = base.Quantidade();
        base.Conclui();
        std::printf("qev-olvar: %s gravado com %d estabelecimento(s)\n", qPrintable(destino), total);
    } catch (const ErroQev& e) {
        std::fprintf(stderr, "qev-olvar: %s\n", e.what());
        return 1;
    }
    return 0;
}
