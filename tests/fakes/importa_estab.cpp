// Runs the establishment import of a file into the database of a program folder and
// reports every committed batch on its output: the tests kill it at chosen moments to
// show that a killed import loses at most the batch not yet committed.
//   qev-importa-estab PASTA ARQUIVO LINHAS_POR_LOTE
#include <QCoreApplication>
#include <cstdio>

#include "db/Erro.h"
#include "db/DmConexao.h"
#include "network/ImportacaoRedeHosp.h"
#include "platform/Plataforma.h"
#include "request/DmExportacao.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) return 2;
    PastaPrograma::define(args.at(1));
    try {
        TDmConexao conexao;
        conexao.banco().abre(conexao.CaminhoBanco(), TDmConexao::SenhaBanco());
        // Two of these may import into one database at once (the tests run them so): each
        // waits for the other's batches as long as it takes.
        conexao.banco().defineEsperaBloqueio(120000);
        const QString cdOper =
            conexao.banco().valor(QStringLiteral("SELECT CD_OPER FROM OPERADORAS")).toString();
        TDmExportacao exportacao;
        ImportacaoRedeHosp imp(conexao.banco(), exportacao, cdOper);
        imp.CarregaListas();
        imp.DefineLote(args.at(3).toInt(), 600000);
        imp.aoConfirmarLote = [](qlonglong n) {
            std::printf("lote %lld\n", n);
            std::fflush(stdout);
        };
        const ImportacaoRedeHosp::Totais t = imp.Executa(args.at(2), false);
        std::printf("fim %d\n", t.importados);
    } catch (const ErroQev& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
