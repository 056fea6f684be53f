// mata_inicio [PASTA] [RODADAS=30] [SEMENTE]
//
// Kills the program's start (compaction, opening, upgrades, municipality merge, pending
// protocols) with SIGKILL at random moments, RODADAS times, always with protocols pending:
// each round adds a plan whose protocol file waits to be read, beside two protocols the
// database cannot hold (a 31-character number, no number) that must stay pending for good.
// After every kill the database is opened and checked: it passes the engine's integrity
// check, keeps every establishment and plan, every plan is either recorded with its own
// protocol (and stays so) or still pending with its file, and no recorded protocol was
// lost. At the end one whole start must record every readable protocol and leave no
// compaction copy behind. Prints one line per round and a summary; exits 1 on a fault.
//
//   mata_inicio --filho PASTA CONFIG   (used by the rounds: one start, then ends)
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <algorithm>
#include <map>

#include "db/Banco.h"
#include "db/CriaBanco.h"
#include "db/DmConexao.h"
#include "db/Erro.h"
#include "platform/LinhaComando.h"
#include "platform/Mensagens.h"
#include "platform/Plataforma.h"

namespace {

constexpr int kEstabelecimentos = 40000;

int filho(const QString& pasta, const QString& config) {
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, config);
    PastaPrograma::define(pasta);
    Mensagens::defineTratador([](const Mensagens::Pedido& p) {
        std::fprintf(stderr, "mensagem: %s\n", qPrintable(p.texto.section(QLatin1Char('\n'), 0, 0)));
        return Mensagens::respostaPadrao(p.botoes);
    });
    try {
        TDmConexao c;
        c.AbreBanco();
    } catch (const ErroQev& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}

void escreve(const QString& caminho, const QByteArray& conteudo) {
    QFile f(caminho);
    if (!f.open(QIODevice::WriteOnly) || f.write(conteudo) != conteudo.size())
        throw ErroQev(QStringLiteral("não gravou ") + caminho);
}

QByteArray protocolo(const QString& nome, const QString& numero) {
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<protocolo><operadora>123456</operadora>"
                          "<tipo_Arquivo>QEV</tipo_Arquivo><arquivo>%1</arquivo>"
                          "<dataTransmissao>31/01/2024 14:10:00</dataTransmissao>%2"
                          "<aplicativo>VUQ</aplicativo></protocolo>\n")
        .arg(nome, numero.isNull() ? QString() : QStringLiteral("<protocoloTX>%1</protocoloTX>").arg(numero))
        .toUtf8();
}

struct Estado {
    QString pasta, config, protocolos;
    std::map<int, QString> esperados;  // plan -> protocol it must get
    QSet<int> gravados;                // plans seen recorded
};

// The checks after a kill; returns the faults found (empty: none).
QStringList confere(Estado& e, bool fim) {
    QStringList faltas;
    const QString caminho = e.pasta + QStringLiteral("QEV.mdb");
    Banco b;
    try {
        b.abre(caminho, TDmConexao::SenhaBanco());
        const QString ok = b.valor(QStringLiteral("PRAGMA quick_check")).toString();
        if (ok != QLatin1String("ok")) faltas << QStringLiteral("quick_check: ") + ok;
        const qlonglong estab = b.valor(QStringLiteral("SELECT count(*) FROM TB_ESTAB_SAUDE")).toLongLong();
        if (estab != kEstabelecimentos - kEstabelecimentos / 3) faltas << QStringLiteral("estabelecimentos: %1").arg(estab);
        const Resultado r = b.consulta(QStringLiteral(
            "SELECT SEQ_PLANO, COALESCE(CD_STATUS_ENVIO, 0), NR_PROTOCOLO_REGISTRO, NM_ARQ_RETORNO FROM TB_PLANOS"));
        QSet<int> vistos;
        for (const auto& l : r.linhas) {
            const int seq = l.at(0).toInt();
            vistos.insert(seq);
            const bool pendente = !l.at(3).isNull();
            if (seq <= 2) {  // the protocols the database cannot hold: pending for good
                if (!pendente || l.at(1).toInt() != 0 || !QFileInfo::exists(e.protocolos + l.at(3).toString()))
                    faltas << QStringLiteral("plano %1 deixou de estar pendente").arg(seq);
                continue;
            }
            if (!e.esperados.count(seq)) continue;
            if (pendente) {
                if (e.gravados.contains(seq)) faltas << QStringLiteral("plano %1 perdeu o protocolo").arg(seq);
                if (l.at(1).toInt() != 0 || !l.at(2).isNull())
                    faltas << QStringLiteral("plano %1 pendente e gravado ao meio").arg(seq);
                if (!QFileInfo::exists(e.protocolos + l.at(3).toString()))
                    faltas << QStringLiteral("plano %1 pendente sem o arquivo").arg(seq);
                if (fim) faltas << QStringLiteral("plano %1 ainda pendente no fim").arg(seq);
            } else {
                if (l.at(1).toInt() != 1 || l.at(2).toString() != e.esperados[seq])
                    faltas << QStringLiteral("plano %1 gravado como %2/%3").arg(seq).arg(l.at(1).toInt()).arg(l.at(2).toString());
                e.gravados.insert(seq);
            }
        }
        for (const auto& [seq, p] : e.esperados)
            if (!vistos.contains(seq)) faltas << QStringLiteral("plano %1 sumiu").arg(seq);
        if (!vistos.contains(1) || !vistos.contains(2)) faltas << QStringLiteral("planos 1/2 sumiram");
    } catch (const ErroQev& erro) {
        faltas << QStringLiteral("não abriu: ") + erro.mensagem();
    }
    return faltas;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc >= 4 && QByteArray(argv[1]) == "--filho")
        return filho(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    const QStringList args = LeArgumentos(
        app,
        QStringLiteral("Mata o início do programa (kill -9) em momentos ao acaso, com protocolos "
                       "pendentes, e confere depois de cada morte que nada gravado se perdeu."),
        {{QStringLiteral("PASTA"), QStringLiteral("Pasta de trabalho (uma temporária quando omitida)."), true},
         {QStringLiteral("RODADAS"), QStringLiteral("Quantas mortes (30)."), true},
         {QStringLiteral("SEMENTE"), QStringLiteral("Semente dos momentos (ao acaso)."), true}});
    QTemporaryDir temporaria;
    const QString raiz = args.size() > 0 ? args[0] : temporaria.path();
    const int rodadas = std::max(1, args.size() > 1 ? args[1].toInt() : 30);
    const quint32 semente = args.size() > 2 ? args[2].toUInt() : QRandomGenerator::global()->generate();
    QRandomGenerator acaso(semente);

    Estado e;
    e.pasta = QDir(raiz).filePath(QStringLiteral("programa")) + QLatin1Char('/');
    e.config = QDir(raiz).filePath(QStringLiteral("config"));
    const QString pastaVuq = QDir(raiz).filePath(QStringLiteral("vuq")) + QLatin1Char('/');
    e.protocolos = pastaVuq + QStringLiteral("Protocolos/");
    try {
        QDir(e.pasta).removeRecursively();
        QDir(pastaVuq).removeRecursively();
        for (const QString& p : {e.pasta, e.config, e.protocolos}) QDir().mkpath(p);
        escreve(pastaVuq + QStringLiteral("VUQ"), QByteArray());
        QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, e.config);
        {
            QSettings s(QSettings::IniFormat, QSettings::SystemScope, QStringLiteral("ZUB"), QStringLiteral("VUQ"));
            s.setValue(QStringLiteral("PATH"), pastaVuq + QStringLiteral("VUQ"));
        }
        const QString caminho = e.pasta + QStringLiteral("QEV.mdb");
        const QString fontes = QStringLiteral(QEV_DIR_FONTES "/data/");
        CriaBanco::cria(caminho, {CriaBanco::leScript(fontes + QStringLiteral("schema.sql")),
                                  CriaBanco::leScript(fontes + QStringLiteral("referencia.sql"))});
        {
            Banco b;
            b.abre(caminho, TDmConexao::SenhaBanco());
            b.executaScript(QStringLiteral(
                "INSERT INTO OPERADORAS (CD_OPER, NM_RAZAO_SOCIAL) VALUES ('123456', 'OPERADORA');"
                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                "INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, CD_OPER, RAZAO_SOCIAL_ESTB_SAUD) "
                "SELECT i, '123456', printf('HOSPITAL %05d COM UM NOME BEM COMPRIDO', i) FROM n;"
                "DELETE FROM TB_ESTAB_SAUDE WHERE ID_ESTB_SAUD % 3 = 0;"
                "INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_STATUS_ENVIO, NM_ARQ_RETORNO) "
                "VALUES ('123456', 1, 'LONGO', 0, 'L_1.QEV');"
                "INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_STATUS_ENVIO, NM_ARQ_RETORNO) "
                "VALUES ('123456', 2, 'SEM NUMERO', 0, 'S_2.QEV');")
                                .arg(kEstabelecimentos));
        }
        escreve(e.protocolos + QStringLiteral("L_1.QEV"),
                protocolo(QStringLiteral("L_1.QEV"), QStringLiteral("1234567890123456789012345678901")));
        escreve(e.protocolos + QStringLiteral("S_2.QEV"), protocolo(QStringLiteral("S_2.QEV"), QString()));
    } catch (const ErroQev& erro) {
        std::fprintf(stderr, "%s\n", erro.what());
        return 1;
    }

    const QString programa = QCoreApplication::applicationFilePath();
    const auto inicia = [&] {
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(programa, {QStringLiteral("--filho"), e.pasta, e.config});
        return p.waitForStarted() && p.waitForFinished(-1) && p.exitStatus() == QProcess::NormalExit
                   ? p.exitCode()
                   : -1;
    };
    // How long a whole start takes here, to spread the kills over it.
    QElapsedTimer relogio;
    relogio.start();
    if (inicia() != 0) {
        std::fprintf(stderr, "o primeiro início falhou\n");
        return 1;
    }
    const qint64 duracao = std::max<qint64>(relogio.elapsed(), 20);
    std::printf("mata_inicio: %d rodadas, semente %u, início completo em %lld ms\n", rodadas, semente,
                qlonglong(duracao));

    int faltasTotais = 0, mortos = 0, copias = 0, gravadosNaMorte = 0;
    for (int r = 1; r <= rodadas; ++r) {
        const int seq = 100 + r;
        const QString nome = QStringLiteral("R_%1.QEV").arg(seq);
        try {
            Banco b;
            b.abre(e.pasta + QStringLiteral("QEV.mdb"), TDmConexao::SenhaBanco());
            b.executa(QStringLiteral("INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_STATUS_ENVIO, "
                                     "NM_ARQ_RETORNO) VALUES ('123456', ?, ?, 0, ?)"),
                      {seq, QStringLiteral("PLANO %1").arg(seq), nome});
            escreve(e.protocolos + nome, protocolo(nome, QStringLiteral("T%1-9").arg(seq * 1000)));
            e.esperados[seq] = QString::number(seq * 1000);
        } catch (const ErroQev& erro) {
            std::printf("rodada %2d: FALHA ao preparar: %s\n", r, qPrintable(erro.mensagem()));
            ++faltasTotais;
            continue;
        }
        const qint64 espera = qint64(acaso.bounded(quint32(duracao * 12 / 10 + 1)));
        QProcess p;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(programa, {QStringLiteral("--filho"), e.pasta, e.config});
        p.waitForStarted();
        QThread::msleep(quint64(espera));
        const bool vivo = p.state() == QProcess::Running;
        p.kill();
        p.waitForFinished(-1);
        const bool morto = vivo && p.exitStatus() == QProcess::CrashExit;
        mortos += morto ? 1 : 0;
        const bool copia = QFileInfo::exists(e.pasta + QStringLiteral("QEV.mdbx"));
        copias += copia ? 1 : 0;
        const QStringList faltas = confere(e, false);
        const bool gravado = e.gravados.contains(seq);
        gravadosNaMorte += gravado ? 1 : 0;
        faltasTotais += int(faltas.size());
        std::printf("rodada %2d: morte aos %4lld ms (%s), cópia deixada: %s, plano %d %s: %s\n", r,
                    qlonglong(espera), morto ? "morto" : "já tinha terminado", copia ? "sim" : "não", seq,
                    gravado ? "gravado" : "pendente", faltas.isEmpty() ? "ok" : qPrintable(faltas.join("; ")));
    }

    // A whole start afterwards records every readable protocol and leaves no copy.
    const int fim = inicia();
    QStringList faltas = confere(e, true);
    if (fim != 0) faltas << QStringLiteral("o início final falhou");
    if (QFileInfo::exists(e.pasta + QStringLiteral("QEV.mdbx"))) faltas << QStringLiteral("cópia de compactação ficou");
    // A kill between the commit and the removal of a protocol file leaves the file of a
    // plan already recorded (nothing reads it again): counted, not a fault.
    int sobras = 0;
    for (const auto& [seq, p] : e.esperados)
        if (QFileInfo::exists(e.protocolos + QStringLiteral("R_%1.QEV").arg(seq))) ++sobras;
    faltasTotais += int(faltas.size());
    std::printf("início final: %s\n", faltas.isEmpty() ? "ok" : qPrintable(faltas.join("; ")));
    std::printf("resumo: %d rodadas, %d mortas durante o início, %d deixaram cópia de compactação, "
                "%d protocolos gravados antes da morte, %d arquivo(s) de protocolo já gravado deixado(s), "
                "%d falha(s)\n",
                rodadas, mortos, copias, gravadosNaMorte, sobras, faltasTotais);
    return faltasTotais == 0 ? 0 : 1;
}
