// bench_verificacao [PASTA] [REPETICOES=5]
//
// On the large database (PASTA/QEV.mdb: 100,000 establishments and 2,000 plans, generated
// when missing), on a copy in which plans 2 to 101 get 1,000 hospital links each, times in
// the same run:
//   inicial   - the request screen's first verification of the operator's plans;
//   checagem  - a check-only action ("only checking") on plans 2 to 101;
// each against plain SQLite stepping the same statements over the same rows (every
// column of every row fetched as text, no rule applied). Also counts the statements run
// per plan, for plans with 100 links and with 1,000.
#include <sqlite3.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

#include "GeraBaseEstab.h"
#include "MedidasBench.h"
#include "db/DmConexao.h"
#include "operator/DmZemlo.h"
#include "platform/LinhaComando.h"
#include "platform/Mensagens.h"
#include "platform/Plataforma.h"
#include "request/DmExportacao.h"
#include "request/SolicitaRegPlano.h"


namespace {

const QString kOper = QString::fromLatin1(GeraBaseEstab::kOperadora);
int g_comandos = 0;

int contaComando(unsigned, void*, void*, void*) {
    ++g_comandos;
    return 0;
}

int leitura(sqlite3* db, const char* sql, const QVariantList& params = {}) {
    return MedidasBench::leituraCrua(db, QString::fromUtf8(sql), params);
}

const char* kEstab =
    "SELECT ES.ID_ESTB_SAUD, ES.CD_CNPJ_ESTB_SAUD, ES.CD_CNES, ES.RAZAO_SOCIAL_ESTB_SAUD, "
    "ES.CD_CLASSIF_ESTAB_SAUDE, ES.CD_TIPO_ESTB_SAUD, ES.CD_TIPO_CONTRATO_ESTB_SAUDE, ES.DT_VINCULO_OPER, "
    "ES.CD_DISP_SERVICO, ES.ID_MUNC, ES.CD_OPER_INTERMEDIADORA FROM TB_ESTAB_SAUDE ES ";

// The rows the checks of one plan read, stepped bare.
void checagemCrua(sqlite3* db, qlonglong seq, bool completa) {
    const QVariantList p{kOper, seq};
    leitura(db, (QByteArray(kEstab) + "WHERE ES.ID_ESTB_SAUD IN (SELECT PES.ID_ESTB_SAUD FROM "
                 "RL_PLANOS_ESTAB_SAUDE PES WHERE PES.CD_OPER = ? AND PES.SEQ_PLANO = ?) AND "
                 "ES.CD_CLASSIF_ESTAB_SAUDE = 1 ORDER BY ES.ID_ESTB_SAUD").constData(), p);
    leitura(db, "SELECT 1 FROM RL_PLANOS_ESTAB_SAUDE R JOIN TB_ESTAB_SAUDE E ON E.ID_ESTB_SAUD = R.ID_ESTB_SAUD "
                "WHERE R.CD_OPER = ? AND R.SEQ_PLANO = ? AND E.CD_CLASSIF_ESTAB_SAUDE <> 1 LIMIT 1", p);
    leitura(db, "SELECT M.CD_UF, E.ID_MUNC, E.LG_URGENCIA_EMERGENCIA FROM RL_PLANOS_ESTAB_SAUDE R JOIN "
                "TB_ESTAB_SAUDE E ON E.ID_ESTB_SAUD = R.ID_ESTB_SAUD LEFT JOIN TB_MUNICIPIOS M ON "
                "M.ID_MUNC = E.ID_MUNC WHERE R.CD_OPER = ? AND R.SEQ_PLANO = ?", p);
    leitura(db, "SELECT CD_UF FROM RL_PLANOS_UF WHERE CD_OPER = ? AND SEQ_PLANO = ?", p);
    leitura(db, "SELECT ID_MUNC FROM RL_PLANOS_MUNICIPIO WHERE CD_OPER = ? AND SEQ_PLANO = ?", p);
    if (!completa) return;
    leitura(db, "SELECT PM.SEQ_PLANO, PM.ID_MUNC, M.CD_UF, M.NM_MUNC FROM RL_PLANOS_MUNICIPIO PM, "
                "TB_MUNICIPIOS M WHERE PM.CD_OPER = ? AND M.ID_MUNC = PM.ID_MUNC AND PM.SEQ_PLANO = ?", p);
    leitura(db, "SELECT NR_PROTOCOLO_NOTA_TECNICA, NM_ARQUIVO_NOTA_TECNICA, DT_PROTOCOLO FROM "
                "RL_PLANO_NOTA_TECNICA WHERE CD_OPER = ? AND SEQ_PLANO = ?", p);
    leitura(db, "SELECT NR_DOCUMENTO_TAXA FROM RL_PLANO_TAXA_REGISTRO WHERE CD_OPER = ? AND SEQ_PLANO = ?", p);
}

void comumCru(sqlite3* db) {
    leitura(db, (QByteArray(kEstab) + "WHERE ES.CD_CLASSIF_ESTAB_SAUDE IN (2, 3) ORDER BY ES.ID_ESTB_SAUD").constData());
    leitura(db, "SELECT CD_UF FROM TB_UFS ORDER BY CD_UF");
    leitura(db, "SELECT CD_UF, count(*) FROM TB_MUNICIPIOS GROUP BY CD_UF");
}

}  // namespace

int main(int argc, char** argv) {
    GeraBaseEstab::preparaAmbiente();
    QCoreApplication app(argc, argv);
    const QStringList args = LeArgumentos(
        app, QStringLiteral("Mede as verificações da tela de solicitação na base grande contra o SQLite puro."),
        {{QStringLiteral("PASTA"), QStringLiteral("Pasta da base grande (gerada se faltar)."), true},
         {QStringLiteral("REPETICOES"), QStringLiteral("Repetições de cada medida (5)."), true}});
    const QString base = args.size() > 0 ? args[0] : QDir::tempPath() + QStringLiteral("/qev-bench-rede");
    const int repeticoes = std::max(1, args.size() > 1 ? args[1].toInt() : 5);
    Mensagens::defineTratador([](const Mensagens::Pedido& p) { return Mensagens::respostaPadrao(p.botoes); });

    const QString origem = QDir(base).filePath(QStringLiteral("QEV.mdb"));
    {
        bool gera = !QFile::exists(origem);
        if (!gera) {
            Banco b;
            b.abre(origem, TDmConexao::SenhaBanco());
            gera = b.valor(QStringLiteral("SELECT count(*) FROM TB_PLANOS")).toInt() < 2000;
        }
        if (gera) {
            std::printf("gerando %s...\n", qPrintable(origem));
            GeraBaseEstab::gera(base, 100000);
        }
    }
    QTemporaryDir dir;
    const QString pasta = dir.path() + QLatin1Char('/');
    QFile::copy(origem, pasta + QStringLiteral("QEV.mdb"));
    PastaPrograma::define(pasta);

    TDmConexao conexao;
    conexao.banco().abre(pasta + QStringLiteral("QEV.mdb"), TDmConexao::SenhaBanco());
    Banco& banco = conexao.banco();
    sqlite3* db = banco.handle();
    // Plans 2 to 101 get 1,000 hospital links each.
    banco.executa(QStringLiteral("BEGIN"));
    for (int seq = 2; seq <= 101; ++seq)
        banco.executa(QStringLiteral(
                          "INSERT INTO RL_PLANOS_ESTAB_SAUDE (CD_OPER, SEQ_PLANO, ID_ESTB_SAUD, DT_VINCULO) "
                          "SELECT ?, ?, E.ID_ESTB_SAUD, '2024-01-01' FROM TB_ESTAB_SAUDE E WHERE "
                          "E.CD_CLASSIF_ESTAB_SAUDE = 1 AND NOT EXISTS (SELECT 1 FROM RL_PLANOS_ESTAB_SAUDE R "
                          "WHERE R.SEQ_PLANO = ? AND R.ID_ESTB_SAUD = E.ID_ESTB_SAUD) LIMIT 1000 - "
                          "(SELECT count(*) FROM RL_PLANOS_ESTAB_SAUDE WHERE SEQ_PLANO = ?)"),
                      {kOper, seq, seq, seq});
    banco.executa(QStringLiteral("UPDATE TB_PLANOS SET LG_CONSISTENTE = 'S', CD_STATUS_ENVIO = 0"));
    banco.executa(QStringLiteral("COMMIT"));

    TDMZemlo zemlo;
    TDmExportacao exportacao;
    TSolicitaRegPlano logica(banco, exportacao, OperadoraAtual());
    logica.AbreLista();
    RowSet& rs = logica.cdsPlanos();
    const int planos = rs.RecordCount();
    QSet<int> cem, cemPequenos;
    for (int pos = 0; pos < rs.RecordCount(); ++pos) {
        const int seq = rs.ValorNaPosicao(pos, rs.IndiceCampo(QStringLiteral("SEQ_PLANO"))).toInt();
        if (seq >= 2 && seq <= 101) cem.insert(rs.LinhaNaPosicao(pos));
        if (seq >= 1002 && seq <= 1101) cemPequenos.insert(rs.LinhaNaPosicao(pos));
    }

    // Both sides run on the same connection, so the bare side reads through the same page
    // cache the program sets when it opens the file; the two are interleaved.
    const auto verificacaoInicial = [&] {
        return MedidasBench::intercala(
            repeticoes, [&] { logica.VerificacaoInicial(); },
            [&] {
                comumCru(db);
                for (int pos = 0; pos < rs.RecordCount(); ++pos)
                    checagemCrua(db, rs.ValorNaPosicao(pos, rs.IndiceCampo(QStringLiteral("SEQ_PLANO"))).toLongLong(),
                                 false);
            });
    };
    const MedidasBench::Par inicial = verificacaoInicial();
    const MedidasBench::Par checagem = MedidasBench::intercala(
        repeticoes, [&] { logica.SolicitaEnvio(cem, true); },
        [&] {
            comumCru(db);
            for (int seq = 2; seq <= 101; ++seq) checagemCrua(db, seq, true);
        });

    const auto comandosPorPlano = [&](const QSet<int>& selecao) {
        g_comandos = 0;
        sqlite3_trace_v2(db, SQLITE_TRACE_STMT, contaComando, nullptr);
        logica.SolicitaEnvio(selecao, true);
        sqlite3_trace_v2(db, 0, nullptr, nullptr);
        return double(g_comandos) / selecao.size();
    };
    const double grandes = comandosPorPlano(cem), pequenos = comandosPorPlano(cemPequenos);

    std::printf("base: %s; %d planos na lista\n", qPrintable(origem), planos);
    std::printf("%-52s %10.1f ms %10.1f ms %7.2fx\n", "verificação inicial (todos os planos)", inicial.ms,
                inicial.baseMs, inicial.razao());
    std::printf("%-52s %10.1f ms %10.1f ms %7.2fx\n", "só verificar 100 planos com 1.000 vínculos", checagem.ms,
                checagem.baseMs, checagem.razao());
    // The same check with the engine's default 2 MiB cache (as before the cache was sized
    // for the file), on both sides.
    banco.executa(QStringLiteral("PRAGMA cache_size = -2000"));
    const MedidasBench::Par antes = verificacaoInicial();
    std::printf("%-52s %10.1f ms %10.1f ms %7.2fx  (cache de 2 MiB: %.2fx mais lenta)\n",
                "verificação inicial, cache padrão de 2 MiB", antes.ms, antes.baseMs, antes.razao(),
                antes.ms / inicial.ms);
    MedidasBench::resumo("verificação inicial da solicitação", inicial, "metade do tempo com 2 MiB");
    MedidasBench::resumo("  idem com o cache padrão de 2 MiB", antes, "");
    MedidasBench::resumo("só verificar 100 planos", checagem, "");
    std::printf("linhas de erro de uma checagem de 100 planos: %d\n", exportacao.cdsErrosCarga().RecordCount());
    std::printf("comandos por plano: %.1f (1.000 vínculos) e %.1f (100 vínculos)\n", grandes, pequenos);
    return 0;
}
