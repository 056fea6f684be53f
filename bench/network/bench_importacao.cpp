// bench_importacao [PASTA] [REPETICOES=3] [PASTA_IMAGENS]
//
// Loading establishments in bulk into the large database (PASTA/base/QEV.mdb, generated
// with 100,000 establishments when missing), each run on a fresh copy of it:
//   arquivo  - the import file: 100,000 lines of which half have some error (generated
//              as PASTA/rede.txt), by the import run alone and by its screen (progress
//              bar, window repainting: paints of the bar and the longest time the event
//              loop waited are reported);
//   OLVAR    - the predecessor database with 100,000 establishments, half refused;
// each against plain SQLite on a copy of the same database inserting the same accepted
// rows (read back from the imported database) with one prepared statement in one
// transaction; for OLVAR, also reading the predecessor's rows and looking each one up,
// committing in batches as the import does. Prints medians and ratios. With PASTA_IMAGENS, also saves images of the
// two screens (the file screen in the middle of its run) for a person to look at.
#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProgressBar>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/Aplicacao.h"
#include "GeraBaseEstab.h"
#include "MedidasBench.h"
#include "platform/LinhaComando.h"
#include "common/ExecucaoModal.h"
#include "common/Identificadores.h"
#include "db/DmConexao.h"
#include "operator/DmZemlo.h"
#include "network/BaseOlvar.h"
#include "network/FrmDlgImportEstabSaudeSistema.h"
#include "network/FrmImportarRedeHosp.h"
#include "network/ImportacaoOlvar.h"
#include "network/ImportacaoRedeHosp.h"
#include "operator/Operadora.h"
#include "platform/Mensagens.h"
#include "platform/Plataforma.h"
#include "request/DmExportacao.h"
#include "common/Win1252.h"

namespace {

constexpr int kLinhas = 100000;
constexpr int kExistentes = 100000;

double mediana(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

QString campo(const QString& s, int n) { return CompletaEspacos(s, n).left(n); }

// Line i of the import file: odd lines carry one of ten kinds of error.
QByteArray linhaArquivo(int i, ConversorWin1252& conv) {
    QString cnpj = CompletaDigitosCnpj(QStringLiteral("%1").arg(40000000 + i, 8, 10, QLatin1Char('0')) +
                                       QStringLiteral("0001"));
    QString cnes = CompletaDigitoCnes(QStringLiteral("%1").arg(i % 900000 + 100000, 6, 10, QLatin1Char('0')));
    QString nome = QStringLiteral("HOSPITAL SÃO JOSÉ D'ÁVILA %1").arg(i);
    QString relacao = i % 4 == 0 ? QStringLiteral("2000") : QStringLiteral("1000");
    QString municipio = QStringLiteral("3550308");
    QString tipo = relacao == QLatin1String("2000") ? QStringLiteral("D") : QString();
    QString contrato = relacao == QLatin1String("2000") ? QStringLiteral("02032015") : QString();
    QString vinculo = QStringLiteral("01042015");
    QString classif = QString::number(1 + i % 3);
    QString disp = QStringLiteral("T");
    QString urg = QStringLiteral("S");
    bool curta = false;
    if (i % 2 == 1) {
        switch ((i / 2) % 10) {
            case 0: nome.clear(); break;
            case 1: cnpj[13] = QChar(u'0' + (cnpj[13].unicode() - u'0' + 1) % 10); break;
            case 2:  // an establishment of the generated database
                cnpj = CompletaDigitosCnpj(QStringLiteral("%1").arg(10000000 + i % kExistentes + 1, 8, 10,
                                                                    QLatin1Char('0')) +
                                           QStringLiteral("0001"));
                cnes = CompletaDigitoCnes(QStringLiteral("%1").arg(100000 + (i % kExistentes + 1) % 900000, 6,
                                                                   10, QLatin1Char('0')));
                break;
            case 3: municipio = QStringLiteral("9999999"); break;
            case 4: classif.clear(); break;
            case 5: vinculo = QStringLiteral("01012099"); break;
            case 6: cnes = QStringLiteral("1234561"); break;
            case 7: relacao = QStringLiteral("3000"); break;
            case 8: nome[3] = QChar(0x2603); break;  // replaced below by an undefined byte
            default: curta = true;
        }
    }
    const QString t = campo(cnpj, 14) + campo(nome, 60) + campo(relacao, 4) + campo(municipio, 7) +
                      campo(tipo, 1) + campo(contrato, 8) + campo(cnes, 7) + campo(vinculo, 8) +
                      campo(classif, 1) + campo(QStringLiteral("000000"), 6) + campo(disp, 1) +
                      campo(urg, 1);
    QString semSimbolo = t;
    semSimbolo.replace(QChar(0x2603), QLatin1Char('?'));
    QByteArray b = *conv.codifica(semSimbolo);
    if (t.contains(QChar(0x2603))) b[17] = '\x81';
    if (curta) b.truncate(100);
    return b;
}

// The accepted rows as the import wrote them (every column, in identifier order).
QVector<QVariantList> linhasNovas(Banco& b, qlonglong depoisDe) {
    return b
        .consulta(QStringLiteral("SELECT * FROM TB_ESTAB_SAUDE WHERE ID_ESTB_SAUD > ? ORDER BY ID_ESTB_SAUD"),
                  {depoisDe})
        .linhas;
}

// Binds a row's values in order: nulls, integers, the rest as text.
void vinculaLinha(sqlite3_stmt* st, const QVariantList& l) {
    for (int c = 0; c < l.size(); ++c) {
        const QVariant& v = l.at(c);
        if (!v.isValid() || v.isNull()) {
            sqlite3_bind_null(st, c + 1);
        } else if (v.typeId() == QMetaType::LongLong) {
            sqlite3_bind_int64(st, c + 1, v.toLongLong());
        } else {
            const QByteArray u = v.toString().toUtf8();
            sqlite3_bind_text(st, c + 1, u.constData(), int(u.size()), SQLITE_TRANSIENT);
        }
    }
}

// A database file opened with plain SQLite and its key.
sqlite3* abreCru(const QString& caminho, const QByteArray& senha, int modo = SQLITE_OPEN_READWRITE) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(caminho.toUtf8().constData(), &db, modo, nullptr);
    sqlite3_key_v2(db, "main", senha.constData(), int(senha.size()));
    return db;
}

// Plain SQLite: the same rows, one prepared INSERT, one transaction.
double insercaoCrua(const QString& caminho, const QVector<QVariantList>& linhas) {
    sqlite3* db = abreCru(caminho, TDmConexao::SenhaBanco());
    QElapsedTimer t;
    t.start();
    sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    const int n = linhas.isEmpty() ? 0 : int(linhas.first().size());
    QByteArray sql = "INSERT INTO TB_ESTAB_SAUDE VALUES (?";
    for (int i = 1; i < n; ++i) sql += ", ?";
    sql += ")";
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr);
    for (const QVariantList& l : linhas) {
        vinculaLinha(st, l);
        if (sqlite3_step(st) != SQLITE_DONE)
            std::fprintf(stderr, "insert: %s\n", sqlite3_errmsg(db));
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    const double ms = t.nsecsElapsed() / 1e6;
    sqlite3_close(db);
    return ms;
}

// Plain SQLite doing the predecessor import's row work: every row of the predecessor's
// establishments read (its columns as text), each looked up by CNES and CNPJ in the
// database, the accepted rows (as the import wrote them) inserted with one prepared
// statement; a commit every 10,000 source rows, as the import commits its batches.
double importacaoCruaOlvar(const QString& caminho, const QString& olvar, const QVector<QVariantList>& aceitas) {
    sqlite3* fonte = abreCru(olvar, TDmConexao::SenhaBancoAnterior(), SQLITE_OPEN_READONLY);
    sqlite3* db = abreCru(caminho, TDmConexao::SenhaBanco());
    QElapsedTimer t;
    t.start();
    sqlite3_stmt* le = nullptr;
    sqlite3_prepare_v2(fonte, ("SELECT " + BaseOlvar::Colunas().join(QStringLiteral(", ")) + " FROM TB_ESTAB_SAUDE").toUtf8(),
                       -1, &le, nullptr);
    sqlite3_stmt* procura = nullptr;
    sqlite3_prepare_v2(db, "SELECT 1 FROM TB_ESTAB_SAUDE WHERE CD_CNES = ? AND CD_CNPJ_ESTB_SAUD = ? LIMIT 1", -1, &procura,
                       nullptr);
    const int n = aceitas.isEmpty() ? 0 : int(aceitas.first().size());
    QByteArray sql = "INSERT INTO TB_ESTAB_SAUDE VALUES (?";
    for (int i = 1; i < n; ++i) sql += ", ?";
    sql += ")";
    sqlite3_stmt* insere = nullptr;
    sqlite3_prepare_v2(db, sql.constData(), -1, &insere, nullptr);
    const int colunas = sqlite3_column_count(le);
    int lidas = 0, inseridas = 0;
    sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    while (sqlite3_step(le) == SQLITE_ROW) {
        for (int c = 0; c < colunas; ++c) sqlite3_column_text(le, c);
        sqlite3_bind_text(procura, 1, reinterpret_cast<const char*>(sqlite3_column_text(le, 1)), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(procura, 2, reinterpret_cast<const char*>(sqlite3_column_text(le, 2)), -1, SQLITE_TRANSIENT);
        sqlite3_step(procura);
        sqlite3_reset(procura);
        // the accepted rows are every other one of the source: one accepted row per two read
        if (inseridas < aceitas.size() && lidas % 2 == 1) {
            vinculaLinha(insere, aceitas.at(inseridas++));
            if (sqlite3_step(insere) != SQLITE_DONE) std::fprintf(stderr, "insert: %s\n", sqlite3_errmsg(db));
            sqlite3_reset(insere);
        }
        if (++lidas % 10000 == 0) {
            sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
            sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        }
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    const double ms = t.nsecsElapsed() / 1e6;
    for (sqlite3_stmt* st : {le, procura, insere}) sqlite3_finalize(st);
    sqlite3_close(db);
    sqlite3_close(fonte);
    return ms;
}

// The module set an import needs, on a fresh copy of the base.
struct Execucao {
    QString pasta;
    std::unique_ptr<TDmConexao> conexao;
    std::unique_ptr<TDMZemlo> zemlo;
    std::unique_ptr<TDmExportacao> exportacao;
    Execucao(const QString& base, const QString& destino) : pasta(destino) {
        QDir().mkpath(destino);
        QFile::remove(destino + QStringLiteral("/QEV.mdb"));
        QFile::copy(base, destino + QStringLiteral("/QEV.mdb"));
        PastaPrograma::define(destino);
        conexao = std::make_unique<TDmConexao>();
        conexao->banco().abre(conexao->CaminhoBanco(), TDmConexao::SenhaBanco());
        zemlo = std::make_unique<TDMZemlo>();
        exportacao = std::make_unique<TDmExportacao>();
    }
};

void linha(const char* nome, double ms, double baseMs, const QString& obs = QString()) {
    std::printf("%s %10.1f ms %10.1f ms %7.2fx  %s\n",
                qPrintable(QString::fromUtf8(nome).leftJustified(44)), ms, baseMs, ms / baseMs,
                qPrintable(obs));
    MedidasBench::resumo(nome, {ms, baseMs}, obs.toUtf8().constData());
}

}  // namespace

int main(int argc, char** argv) {
    GeraBaseEstab::preparaAmbiente();
    AplicacaoQev app(argc, argv);  // as the program runs: letters, translations, clock
    const QStringList args = LeArgumentos(
        app, QStringLiteral("Mede a importação do arquivo de rede e da base OLVAR contra inserções puras "
                            "das mesmas linhas."),
        {{QStringLiteral("PASTA"), QStringLiteral("Pasta de trabalho (a base grande em PASTA/base)."), true},
         {QStringLiteral("REPETICOES"), QStringLiteral("Repetições de cada medida (3)."), true},
         {QStringLiteral("PASTA_IMAGENS"), QStringLiteral("Também salva imagens da tela de importação."), true}});
    const QString pasta = args.size() > 0 ? args[0] : QDir::tempPath() + QStringLiteral("/qev-bench-importacao");
    const int repeticoes = std::max(1, args.size() > 1 ? args[1].toInt() : 3);
    const QString imagens = args.size() > 2 ? args[2] : QString();
    if (!imagens.isEmpty()) QDir().mkpath(imagens);
    const auto salva = [&](QWidget& w, const char* nome) {
        if (imagens.isEmpty()) return;
        const QString arquivo = QDir(imagens).filePath(QString::fromLatin1(nome));
        w.grab().save(arquivo);
        std::printf("%s (%dx%d)\n", qPrintable(arquivo), w.width(), w.height());
    };
    const QString base = pasta + QStringLiteral("/base/QEV.mdb");
    if (!QFileInfo::exists(base)) {
        std::printf("gerando %s com %d estabelecimentos...\n", qPrintable(base), kExistentes);
        GeraBaseEstab::gera(pasta + QStringLiteral("/base"), kExistentes);
    }
    const QString arquivo = pasta + QStringLiteral("/rede.txt");
    {
        ConversorWin1252 conv;
        QFile f(arquivo);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        for (int i = 1; i <= kLinhas; ++i) f.write(linhaArquivo(i, conv) + "\r\n");
    }
    const QString olvar = pasta + QStringLiteral("/Zemlo.mdb");
    {
        BaseOlvar b(olvar, QString::fromLatin1(GeraBaseEstab::kOperadora));
        for (int i = 1; i <= kLinhas; ++i) {
            QVariantMap m = BaseOlvar::Gerada(i);
            if (i % 2 == 1) m.remove(QStringLiteral("RAZAO_SOCIAL_ESTB_SAUD"));
            b.Acrescenta(m);
        }
        b.Conclui();
    }
    // No dialog may wait for a person; the error report is not part of the timing.
    Mensagens::defineTratador(
        [](const Mensagens::Pedido& p) { return Mensagens::respostaPadrao(p.botoes); });
    Modal::define([](QDialog&) { return int(QDialog::Accepted); });

    std::printf("base: %d estabelecimentos; arquivo: %d linhas (metade com erro); OLVAR: %d "
                "(metade recusada); mediana de %d repetições\n\n",
                kExistentes, kLinhas, kLinhas, repeticoes);
    std::printf("%s %13s %13s %8s\n", qPrintable(QStringLiteral("operação").leftJustified(44)),
                "QEV", "SQLite puro", "razão");

    std::vector<double> tLogica, tTela, tCru, tOlvar, tTelaOlvar, tCruOlvar;
    int importados = 0, pinturas = 0, erros = 0, importadosOlvar = 0;
    qint64 maiorEspera = 0;
    for (int r = 0; r < repeticoes; ++r) {
        QVector<QVariantList> novas;
        {  // the import run alone
            Execucao e(base, pasta + QStringLiteral("/logica"));
            QElapsedTimer t;
            t.start();
            ImportacaoRedeHosp imp(e.conexao->banco(), *e.exportacao, OperadoraAtual().CdOper);
            imp.CarregaListas();
            const ImportacaoRedeHosp::Totais tot = imp.Executa(arquivo, false);
            tLogica.push_back(t.nsecsElapsed() / 1e6);
            importados = tot.importados;
            erros = e.exportacao->cdsErrosCarga().RecordCount();
            novas = linhasNovas(e.conexao->banco(), kExistentes);
        }
        {  // plain SQLite, the same rows
            const QString copia = pasta + QStringLiteral("/crua/QEV.mdb");
            QDir().mkpath(pasta + QStringLiteral("/crua"));
            QFile::remove(copia);
            QFile::copy(base, copia);
            tCru.push_back(insercaoCrua(copia, novas));
        }
        {  // the screen, with its progress bar and the window repainting
            Execucao e(base, pasta + QStringLiteral("/tela"));
            TfrmImportarRedeHosp tela;
            tela.show();
            QApplication::processEvents();
            tela.AbreArquivoTxt->setText(arquivo);
            struct ContaPinturas : QObject {
                int n = 0;
                bool eventFilter(QObject*, QEvent* ev) override {
                    if (ev->type() == QEvent::Paint) ++n;
                    return false;
                }
            } conta;
            tela.Gauge1->installEventFilter(&conta);
            if (r == 0) salva(tela, "importar-arquivo.png");
            QElapsedTimer desdeUltimo;
            qint64 maior = 0;
            bool salvou = r > 0;
            QTimer pulso;
            pulso.setInterval(10);
            QObject::connect(&pulso, &QTimer::timeout, [&] {
                if (desdeUltimo.isValid()) maior = std::max(maior, desdeUltimo.elapsed());
                if (!salvou && tela.Gauge1->isVisible() && tela.Gauge1->value() > kLinhas / 2) {
                    salvou = true;
                    salva(tela, "importar-arquivo-andamento.png");
                }
                desdeUltimo.restart();
            });
            pulso.start();
            desdeUltimo.start();
            QElapsedTimer t;
            t.start();
            tela.btnConfirmaProcessoClick();
            tTela.push_back(t.nsecsElapsed() / 1e6);
            pulso.stop();
            pinturas = conta.n;
            maiorEspera = std::max(maiorEspera, maior);
        }
        QVector<QVariantList> novasOlvar;
        {  // the predecessor database
            Execucao e(base, pasta + QStringLiteral("/olvar"));
            if (r == 0 && !imagens.isEmpty()) {
                TfrmDlgImportEstabSaudeSistema dlg;
                dlg.AbreArquivoMbd->setText(olvar);
                dlg.show();
                QApplication::processEvents();
                salva(dlg, "importar-olvar.png");
            }
            QElapsedTimer t;
            t.start();
            ImportacaoOlvar::Reconhece(*e.conexao, olvar);
            ImportacaoOlvar imp(*e.conexao, OperadoraAtual().CdOper);
            const ImportacaoOlvar::Totais tot = imp.Executa();
            tOlvar.push_back(t.nsecsElapsed() / 1e6);
            importadosOlvar = tot.importados;
            e.conexao->FechaBancoAnterior();
            novasOlvar = linhasNovas(e.conexao->banco(), kExistentes);
        }
        {
            const QString copia = pasta + QStringLiteral("/crua/QEV.mdb");
            QFile::remove(copia);
            QFile::copy(base, copia);
            tCruOlvar.push_back(importacaoCruaOlvar(copia, olvar, novasOlvar));
        }
        {  // the predecessor database through its dialog (the error list filled, not shown)
            Execucao e(base, pasta + QStringLiteral("/olvar"));
            TfrmDlgImportEstabSaudeSistema dlg;
            dlg.AbreArquivoMbd->setText(olvar);
            dlg.show();
            QApplication::processEvents();
            QElapsedTimer t;
            t.start();
            dlg.btnConfirmaProcessoClick();
            tTelaOlvar.push_back(t.nsecsElapsed() / 1e6);
        }
    }
    const double cru = mediana(tCru);
    linha("arquivo: importação (listas, leitura, gravação)", mediana(tLogica), cru,
          QStringLiteral("%1 importados, %2 linhas de erro; meta: até 3x").arg(importados).arg(erros));
    linha("arquivo: pela tela (barra e repintura)", mediana(tTela), cru,
          QStringLiteral("%1 pinturas da barra; maior espera do laço de eventos %2 ms")
              .arg(pinturas)
              .arg(maiorEspera));
    linha("OLVAR: importação (leitura, regras, gravação)", mediana(tOlvar), mediana(tCruOlvar),
          QStringLiteral("%1 importados").arg(importadosOlvar));
    linha("OLVAR: pela tela (lista de erros preenchida)", mediana(tTelaOlvar), mediana(tCruOlvar));
    return 0;
}
