// bench_solicitacao [ESTABELECIMENTOS=100000] [REPETICOES=5]
//
// Generates an encrypted database with that many establishments and one plan with
// everything attached, then times, in the same run:
//   gerador  - GeraArquivoSolicitacao of the plan;
//   sqlite   - plain SQLite doing the same row work (the same statements stepped with
//              the C API, each column appended to a buffer, written out);
//   escrita  - a raw buffered write of the very bytes the writer produced.
// Prints the medians and the ratios.
#include <sqlite3.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "../network/MedidasBench.h"
#include "db/CriaBanco.h"
#include "db/DmConexao.h"
#include "platform/Plataforma.h"
#include "request/ArquivoSolicitacao.h"
#include "platform/LinhaComando.h"

namespace {

const QString kCdOper = QStringLiteral("123456");
constexpr int kPlano = 1;

void gera(Banco& b, int estabelecimentos) {
    const char* nomes[] = {"HOSPITAL SÃO JOSÉ",      "CLÍNICA SANTA LÚCIA",
                           "LABORATÓRIO CENTRAL",    "HOSPITAL GERAL",
                           "POLICLÍNICA DO CORAÇÃO", "PRONTO-SOCORRO MUNICIPAL"};
    const qlonglong municipios[] = {3550308, 3304557, 5300108, 2927408, 2304400, 3106200};
    b.iniciaTransacao();
    b.executa(QStringLiteral("INSERT INTO OPERADORAS (CD_OPER, CD_CNPJ, NM_RAZAO_SOCIAL, "
                             "CD_GRUPO_CLASSIFICACAO, CD_REGIAO_ATUACAO) VALUES (?, ?, ?, 22, 1)"),
              {kCdOper, QStringLiteral("11222333000181"), QStringLiteral("OPERADORA DE TESTE")});
    b.executa(
        QStringLiteral(
            "INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_ABRANGENCIA, CD_SEGMENTACAO, "
            "CD_TIPO_CONTRATO, CD_TIPO_FINANC, CD_PADRAO_ACOMODACAO, LG_FM_COPARTICIPACAO, "
            "LG_FM_FRANQUIA, LG_VB_VINCULO_ATIVO, LG_VB_VINCULO_INATIVO, LG_VB_SEM_VINCULO, "
            "CD_REGIAO_COBERTURA, LG_TOTAL_LIVRE_ESCOLHA, CD_STATUS_ENVIO) "
            "VALUES (?, ?, 'PLANO EXECUTIVO NACIONAL', 1, 2, 2, 1, 'C', 'N', 'N', 'S', 'N', 'N', "
            "1, 'N', 0)"),
        {kCdOper, kPlano});
    for (int i = 1; i <= estabelecimentos; ++i) {
        b.executa(
            QStringLiteral(
                "INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, CD_OPER, CD_CNPJ_ESTB_SAUD, CD_CNES, "
                "RAZAO_SOCIAL_ESTB_SAUD, CD_CLASSIF_ESTAB_SAUDE, CD_TIPO_ESTB_SAUD, "
                "CD_TIPO_CONTRATO_ESTB_SAUDE, DT_CONTRATO_OPER, DT_VINCULO_OPER, CD_DISP_SERVICO, "
                "LG_URGENCIA_EMERGENCIA, ID_MUNC, LG_HOSPITAL_INCLUIDO, LG_CLASSIFICADO_ZUB) "
                "VALUES (?, ?, ?, ?, ?, ?, ?, 'D', '2015-03-02', '2015-04-01', 'T', ?, ?, 'N', "
                "'S')"),
            {i, kCdOper, QStringLiteral("%1").arg(11222333000000LL + i, 14, 10, QLatin1Char('0')),
             QStringLiteral("%1").arg(1000000 + i, 7, 10, QLatin1Char('0')),
             QStringLiteral("%1 %2").arg(QString::fromUtf8(nomes[i % 6])).arg(i), 1 + i % 3,
             i % 2 ? 1000 : 2000, i % 4 ? QStringLiteral("S") : QStringLiteral("N"),
             municipios[i % 6]});
    }
    for (int i = 1; i <= 500; ++i)
        b.executa(
            QStringLiteral("INSERT INTO RL_PLANOS_ESTAB_SAUDE VALUES (?, ?, ?, '2020-01-01', 'S')"),
            {kCdOper, kPlano, i * 7});
    for (int i = 1; i <= 3; ++i)
        b.executa(QStringLiteral(
                      "INSERT INTO RL_PLANO_NOTA_TECNICA VALUES (?, ?, ?, ?, ?, '2023-01-10')"),
                  {kCdOper, kPlano, i, QStringLiteral("%1/2023").arg(i),
                   QStringLiteral("888888999999999%1.nta").arg(i)});
    for (int i = 1; i <= 4; ++i) {
        b.executa(QStringLiteral("INSERT INTO RL_PLANOS_SERV_OPC VALUES (?, ?, ?, NULL)"),
                  {kCdOper, kPlano, i});
        b.executa(QStringLiteral("INSERT INTO RL_PLANOS_TIPO_COBERTURA VALUES (?, ?, ?)"),
                  {kCdOper, kPlano, i});
        b.executa(QStringLiteral("INSERT INTO RL_PLANO_TAXA_REGISTRO VALUES (?, ?, ?, ?)"),
                  {kCdOper, kPlano, i, QStringLiteral("0001234%1").arg(i)});
    }
    for (const char* uf : {"SP", "RJ", "MG", "BA", "CE", "DF"})
        b.executa(QStringLiteral("INSERT INTO RL_PLANOS_UF VALUES (?, ?, ?)"),
                  {kCdOper, kPlano, QString::fromLatin1(uf)});
    b.confirmaTransacao();
}

// The same statements stepped with the C API; every column's text is appended to a
// buffer written with a plain buffered stream.
qint64 linhaCrua(sqlite3* db, const QString& arquivo) {
    const char* consultas[] = {
        "SELECT CD_OPER, CD_CNPJ, CD_GRUPO_CLASSIFICACAO, CD_REGIAO_ATUACAO FROM OPERADORAS",
        "SELECT SEQ_PLANO, NM_PLANO, CD_ABRANGENCIA, CD_SEGMENTACAO, CD_TIPO_CONTRATO, "
        "CD_TIPO_FINANC, "
        "CD_PADRAO_ACOMODACAO, CD_OPCAO_POS_ESTABELECIDO, LG_FM_COPARTICIPACAO, LG_FM_FRANQUIA, "
        "NR_PROTOCOLO_REGISTRO, DT_PROTOCOLO_REGISTRO, LG_VB_VINCULO_ATIVO, LG_VB_VINCULO_INATIVO, "
        "LG_VB_SEM_VINCULO, CD_REGIAO_COBERTURA, LG_TOTAL_LIVRE_ESCOLHA FROM TB_PLANOS WHERE "
        "SEQ_PLANO = ?",
        "SELECT ID_ESTB_SAUD, CD_CNES, CD_CNPJ_ESTB_SAUD, RAZAO_SOCIAL_ESTB_SAUD, "
        "CD_TIPO_ESTB_SAUD, "
        "ID_MUNC, CD_TIPO_CONTRATO_ESTB_SAUDE, LG_HOSPITAL_INCLUIDO, DT_VINCULO_OPER, "
        "DT_CONTRATO_OPER, "
        "LG_CLASSIFICADO_ZUB, CD_OPER_INTERMEDIADORA, CD_DISP_SERVICO, CD_CLASSIF_ESTAB_SAUDE, "
        "LG_URGENCIA_EMERGENCIA FROM TB_ESTAB_SAUDE",
        "SELECT SEQ_PLANO, ID_PLANO_NOTA_TECNICA, NR_PROTOCOLO_NOTA_TECNICA, "
        "NM_ARQUIVO_NOTA_TECNICA, "
        "DT_PROTOCOLO FROM RL_PLANO_NOTA_TECNICA WHERE SEQ_PLANO = ?",
        "SELECT SEQ_PLANO, ID_ESTB_SAUD, DT_VINCULO FROM RL_PLANOS_ESTAB_SAUDE WHERE SEQ_PLANO = ?",
        "SELECT SEQ_PLANO, CD_SERV_OPCIONAL, DE_SERV_OPCIONAL FROM RL_PLANOS_SERV_OPC WHERE "
        "SEQ_PLANO = ?",
        "SELECT SEQ_PLANO, CD_TIPO_COBERTURA FROM RL_PLANOS_TIPO_COBERTURA WHERE SEQ_PLANO = ?",
        "SELECT SEQ_PLANO, ID_MUNC FROM RL_PLANOS_MUNICIPIO WHERE SEQ_PLANO = ?",
        "SELECT SEQ_PLANO, CD_UF FROM RL_PLANOS_UF WHERE SEQ_PLANO = ?",
        "SELECT SEQ_PLANO, ID_PLANO_TAXA_REGISTRO, NR_DOCUMENTO_TAXA FROM RL_PLANO_TAXA_REGISTRO "
        "WHERE SEQ_PLANO = ?",
    };
    FILE* f = std::fopen(QFile::encodeName(arquivo).constData(), "wb");
    std::vector<char> buf(256 * 1024);
    std::setvbuf(f, buf.data(), _IOFBF, buf.size());
    qint64 total = 0;
    for (const char* sql : consultas) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
        if (sqlite3_bind_parameter_count(st) > 0) sqlite3_bind_int(st, 1, kPlano);
        while (sqlite3_step(st) == SQLITE_ROW) {
            char linha[512];
            int n = 0;
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                const unsigned char* t = sqlite3_column_text(st, c);
                const int tam = sqlite3_column_bytes(st, c);
                if (t) std::memcpy(linha + n, t, std::min(tam, 400 - n));
                n += std::min(tam, 400 - n);
                if (n < 400) linha[n++] = ' ';
            }
            linha[n++] = '\r';
            linha[n++] = '\n';
            std::fwrite(linha, 1, n, f);
            total += n;
        }
        sqlite3_finalize(st);
    }
    std::fclose(f);
    return total;
}

void escritaCrua(const QByteArray& bytes, const QString& arquivo) {
    FILE* f = std::fopen(QFile::encodeName(arquivo).constData(), "wb");
    std::vector<char> buf(256 * 1024);
    std::setvbuf(f, buf.data(), _IOFBF, buf.size());
    for (qsizetype i = 0; i < bytes.size(); i += 16384)
        std::fwrite(bytes.constData() + i, 1, std::min<qsizetype>(16384, bytes.size() - i), f);
    std::fclose(f);
}

double mediana(int repeticoes, const std::function<void()>& passo) {
    std::vector<double> t;
    for (int i = 0; i < repeticoes; ++i) {
        QElapsedTimer r;
        r.start();
        passo();
        t.push_back(r.nsecsElapsed() / 1e6);
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = LeArgumentos(
        app, QStringLiteral("Mede a gravação do arquivo de solicitação contra o SQLite puro."),
        {{QStringLiteral("ESTABELECIMENTOS"), QStringLiteral("Estabelecimentos do plano (100000)."), true},
         {QStringLiteral("REPETICOES"), QStringLiteral("Repetições de cada medida (5)."), true}});
    const int estabelecimentos = args.size() > 0 ? args[0].toInt() : 100000;
    const int repeticoes = args.size() > 1 ? args[1].toInt() : 5;
    QTemporaryDir dir;
    const QString pasta = dir.path() + QLatin1Char('/');
    PastaPrograma::define(pasta);
    try {
        const QString fontes = QStringLiteral(QEV_DIR_FONTES "/data/");
        CriaBanco::cria(pasta + TDmConexao::NomeBanco(),
                        {CriaBanco::leScript(fontes + QStringLiteral("schema.sql")),
                         CriaBanco::leScript(fontes + QStringLiteral("referencia.sql"))});
        TDmConexao conexao;
        conexao.banco().abre(conexao.CaminhoBanco(), TDmConexao::SenhaBanco());
        QElapsedTimer t;
        t.start();
        gera(conexao.banco(), estabelecimentos);
        std::printf("base gerada: %d estabelecimentos em %.0f ms\n", estabelecimentos,
                    t.elapsed() * 1.0);

        const QString nome = QStringLiteral("bench.QEV");
        const QString id = kCdOper + QStringLiteral("20240131140509");
        GeraArquivoSolicitacao(kPlano, nome, id);  // warm-up: pages in the cache
        const double gerador =
            mediana(repeticoes, [&] { GeraArquivoSolicitacao(kPlano, nome, id); });

        QFile f(pasta + nome);
        f.open(QIODevice::ReadOnly);
        const QByteArray bytes = f.readAll();
        qint64 bytesCrus = 0;
        const double sqlite = mediana(repeticoes, [&] {
            bytesCrus = linhaCrua(conexao.banco().handle(), pasta + QStringLiteral("cru.txt"));
        });
        const double escrita =
            mediana(repeticoes, [&] { escritaCrua(bytes, pasta + QStringLiteral("copia.QEV")); });

        std::printf("arquivo: %lld bytes (base crua: %lld bytes)\n",
                    static_cast<long long>(bytes.size()), static_cast<long long>(bytesCrus));
        std::printf("gerador  %9.1f ms\n", gerador);
        std::printf("sqlite   %9.1f ms   gerador/sqlite  = %.2f\n", sqlite, gerador / sqlite);
        std::printf("escrita  %9.1f ms   gerador/escrita = %.2f\n", escrita, gerador / escrita);
        MedidasBench::resumo("arquivo de solicitação de um plano", {gerador, sqlite}, "");
    } catch (const ErroQev& e) {
        std::fprintf(stderr, "bench_solicitacao: %s\n", e.what());
        return 1;
    }
    return 0;
}
