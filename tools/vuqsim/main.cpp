// vuqsim: stands in for the regulator's transfer program on a test machine.
//
//   vuqsim PARAMETER_FILE
//
// Deciphers the parameter file, checks its fields, the request file, its CRC-32 and
// its records, then (outcome chosen by vuqsim.ini beside the executable) writes the
// protocol file Protocolos/<name for transmission> and exits 9.
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSettings>
#include <QStringList>
#include <QThread>
#include <QXmlStreamWriter>
#include <cstdio>

#include "ConfiguracaoBuild.h"
#include "db/Erro.h"
#include "request/BlowfishVUQ.h"
#include "request/Crc32.h"
#include "common/Win1252.h"

namespace {

// Exit codes of a refused hand-over.
enum Saida {
    ParametrosIlegiveis = 1,  // parameter file missing or not deciphered
    CamposInvalidos = 2,      // wrong number of fields or an invalid field
    ArquivoAusente = 3,       // the request file is not there
    CrcDivergente = 4,        // the request file's CRC-32 differs from the one given
    ArquivoMalFormado = 5,    // the request file's records are not as expected
    Enviado = 9,
};

struct Recusa {
    int codigo;
    QString motivo;
};

struct Campos {
    QString linha;
    QStringList f;  // f[0] .. f[10]
    QString cdOper() const { return f[1]; }
    QString arquivo() const { return f[3]; }
    QString nomeTransmissao() const { return f[4]; }
    QString checksum() const { return f[8]; }
};

Campos leParametros(const QString& caminho) {
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly))
        throw Recusa{ParametrosIlegiveis, QStringLiteral("não foi possível ler ") + caminho};
    Campos c;
    try {
        const TBlowfishVUQ cifra{QByteArray(Config::ChaveVUQ)};
        c.linha = DecodificaWin1252(cifra.DecifraParametros(QString::fromLatin1(f.readAll())));
    } catch (const ErroQev& e) {
        throw Recusa{ParametrosIlegiveis, e.mensagem()};
    }
    c.f = c.linha.split(QLatin1Char('|'));
    if (c.f.size() != 11)
        throw Recusa{CamposInvalidos, QStringLiteral("%1 campos em vez de 11").arg(c.f.size())};
    const auto exige = [](bool condicao, const QString& motivo) {
        if (!condicao) throw Recusa{CamposInvalidos, motivo};
    };
    bool numerico = false;
    c.cdOper().toInt(&numerico);
    exige(c.f[0] == QLatin1String("1"), QStringLiteral("versão da linha ") + c.f[0]);
    exige(numerico && c.cdOper().size() == 6, QStringLiteral("operadora ") + c.cdOper());
    exige(!c.f[2].trimmed().isEmpty(), QStringLiteral("senha vazia"));
    exige(c.nomeTransmissao().endsWith(QLatin1String(".QEV")) &&
              !c.nomeTransmissao().contains(QLatin1Char('/')),
          QStringLiteral("nome para transmissão ") + c.nomeTransmissao());
    exige(c.f[5] == QLatin1String("QEV"), QStringLiteral("tipo de arquivo ") + c.f[5]);
    exige(c.f[7].startsWith(QStringLiteral("Solicitação de registro do Plano: ")),
          QStringLiteral("descrição ") + c.f[7]);
    exige(c.f[9].startsWith(QLatin1Char('\'')) && c.f[9].endsWith(QLatin1Char('\'')),
          QStringLiteral("janela ") + c.f[9]);
    return c;
}

// The request file: CRC-32, CR LF after every line, the operator records first, the
// trailer last with the counts of the lines of each type.
void confereArquivo(const Campos& c) {
    const QString caminho = c.arquivo();
    if (!QFileInfo(caminho).isFile())
        throw Recusa{ArquivoAusente, QStringLiteral("arquivo ausente: ") + caminho};
    const auto crc = Crc32Arquivo(caminho);
    if (!crc || Crc32Hex(*crc) != c.checksum())
        throw Recusa{CrcDivergente,
                     QStringLiteral("CRC %1 difere de %2")
                         .arg(crc ? Crc32Hex(*crc) : QStringLiteral("?"), c.checksum())};
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly))
        throw Recusa{ArquivoAusente, QStringLiteral("não foi possível ler ") + caminho};
    const QByteArray conteudo = f.readAll();
    const auto mal = [](const QString& motivo) { return Recusa{ArquivoMalFormado, motivo}; };
    if (!conteudo.endsWith("\r\n")) throw mal(QStringLiteral("última linha sem CR LF"));
    QList<QByteArray> linhas = conteudo.split('\n');
    linhas.removeLast();
    int contagem[12] = {};
    for (int i = 0; i < linhas.size(); ++i) {
        QByteArray& l = linhas[i];
        if (!l.endsWith('\r')) throw mal(QStringLiteral("linha %1 sem CR LF").arg(i + 1));
        l.chop(1);
        const int tipo = l.left(2).toInt();
        if (tipo >= 1 && tipo <= 11 && i < linhas.size() - 1) ++contagem[tipo];
    }
    // the file opens with the operator records, one of them the sender's
    bool operadora = false;
    for (const QByteArray& l : std::as_const(linhas)) {
        if (!l.startsWith("00")) break;
        operadora = operadora || l.startsWith("00" + c.cdOper().toLatin1());
    }
    if (!operadora) throw mal(QStringLiteral("sem o registro \"00\" da operadora ") + c.cdOper());
    const QByteArray& trailer = linhas.last();
    QByteArray esperado = "99";
    for (int tipo = 1; tipo <= 11; ++tipo)
        esperado += QByteArray::number(contagem[tipo]).rightJustified(7, '0');
    if (trailer != esperado)
        throw mal(QStringLiteral("trailer \"%1\" em vez de \"%2\"")
                      .arg(QString::fromLatin1(trailer), QString::fromLatin1(esperado)));
    if (contagem[1] != 1) throw mal(QStringLiteral("%1 registros de plano").arg(contagem[1]));
}

QString protocoloGerado() {
    QRandomGenerator* r = QRandomGenerator::global();
    QString p = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd")) +
                QStringLiteral("%1").arg(r->bounded(1000000), 6, 10, QLatin1Char('0'));
    // the real program sometimes answers with a leading "T" and a "-" suffix
    if (r->bounded(2)) p = QLatin1Char('T') + p;
    if (r->bounded(2)) p += QStringLiteral("-%1").arg(r->bounded(100), 2, 10, QLatin1Char('0'));
    return p;
}

void escreveProtocolo(const QString& pasta, const Campos& c, const QSettings& cfg) {
    QDir().mkpath(pasta);
    QFile f(QDir(pasta).filePath(c.nomeTransmissao()));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw Recusa{ArquivoMalFormado, QStringLiteral("não foi possível gravar ") + f.fileName()};
    const QString data =
        cfg.value(QStringLiteral("dataTransmissao"),
                  QDateTime::currentDateTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")))
            .toString();
    const QString protocolo = cfg.value(QStringLiteral("protocolo"), protocoloGerado()).toString();
    QXmlStreamWriter xml(&f);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("protocolo"));
    xml.writeTextElement(QStringLiteral("operadora"), c.cdOper());
    xml.writeTextElement(QStringLiteral("tipo_Arquivo"), c.f[5]);
    xml.writeTextElement(QStringLiteral("arquivo"), c.nomeTransmissao());
    xml.writeTextElement(QStringLiteral("dataTransmissao"), data);
    xml.writeTextElement(QStringLiteral("protocoloTX"), protocolo);
    xml.writeTextElement(QStringLiteral("aplicativo"), QStringLiteral("VUQ (simulador)"));
    xml.writeTextElement(
        QStringLiteral("informacoesArquivo"),
        QStringLiteral("%1 bytes; CRC %2").arg(QFileInfo(c.arquivo()).size()).arg(c.checksum()));
    xml.writeTextElement(QStringLiteral("clienteTransmissao"), QStringLiteral("vuqsim"));
    xml.writeEndElement();
    xml.writeEndDocument();
}

void registra(const QSettings& cfg, const QString& texto) {
    const QString caminho = cfg.value(QStringLiteral("registro")).toString();
    if (caminho.isEmpty()) return;
    QFile f(caminho);
    if (f.open(QIODevice::WriteOnly | QIODevice::Append)) f.write(texto.toUtf8() + '\n');
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString pasta = QCoreApplication::applicationDirPath();
    const QSettings cfg(pasta + QStringLiteral("/vuqsim.ini"), QSettings::IniFormat);
    const QStringList args = app.arguments();
    try {
        if (args.size() != 2)
            throw Recusa{ParametrosIlegiveis, QStringLiteral("uso: vuqsim ARQUIVO_DE_PARAMETROS")};
        const Campos campos = leParametros(args[1]);
        registra(cfg, campos.linha);
        // the parameter file holds the user's password: gone once read
        if (!cfg.value(QStringLiteral("mantemParametros"), false).toBool()) QFile::remove(args[1]);
        confereArquivo(campos);

        const int espera = cfg.value(QStringLiteral("espera"), 0).toInt();
        if (espera > 0) QThread::msleep(espera);
        // [saidaPlano] <plan number>=<code> overrides the exit code of one plan's file
        const QString plano =
            campos.nomeTransmissao().section(QLatin1Char('_'), -1).section(QLatin1Char('.'), 0, 0);
        const int saida = cfg.value(QStringLiteral("saidaPlano/") + plano,
                                    cfg.value(QStringLiteral("saida"), int(Enviado)))
                              .toInt();
        if (saida == Enviado && !cfg.value(QStringLiteral("semProtocolo"), false).toBool())
            escreveProtocolo(pasta + QStringLiteral("/Protocolos"), campos, cfg);
        std::fprintf(stderr, "vuqsim: %s entregue; saída %d\n",
                     qPrintable(campos.nomeTransmissao()), saida);
        return saida;
    } catch (const Recusa& r) {
        registra(cfg, QStringLiteral("recusa %1: %2").arg(r.codigo).arg(r.motivo));
        std::fprintf(stderr, "vuqsim: %s\n", qPrintable(r.motivo));
        return r.codigo;
    }
}
