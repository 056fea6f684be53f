#include "common/ExportaPlanilha.h"

#include <xlsxwriter.h>

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include "db/Erro.h"
#include "db/RowSet.h"
#include "platform/Plataforma.h"

QString NomePlanilha(const QString& legenda) {
    QString nome = legenda.left(30);
    for (QChar& c : nome)
        if (QStringLiteral("[]:*?/\\").contains(c)) c = QLatin1Char(' ');
    while (nome.startsWith(QLatin1Char('\''))) nome.remove(0, 1);
    while (nome.endsWith(QLatin1Char('\''))) nome.chop(1);
    if (nome.trimmed().isEmpty()) nome = QStringLiteral("Planilha1");
    return nome;
}

namespace {
lxw_datetime dataHoraXlsx(const QDateTime& dt) {
    return {dt.date().year(), dt.date().month(),  dt.date().day(),
            dt.time().hour(), dt.time().minute(), double(dt.time().second())};
}

QString mensagemFalha(lxw_error e, const QString& caminho) {
    return QStringLiteral("Não foi possível gerar a planilha %1: %2")
        .arg(caminho, QString::fromUtf8(lxw_strerror(e)));
}

void confere(lxw_error e, const QString& caminho) {
    if (e != LXW_NO_ERROR) throw ErroQev(mensagemFalha(e, caminho));
}

// Characters a file name cannot hold (here or on the user's other systems).
QString nomeDeArquivo(const QString& texto) {
    QString nome;
    for (const QChar c : texto.trimmed())
        nome += QStringLiteral("/\\:*?\"<>|").contains(c) || c.unicode() < 32 ? QLatin1Char(' ') : c;
    nome = nome.simplified();
    while (nome.startsWith(QLatin1Char('.'))) nome.remove(0, 1);
    return nome.isEmpty() ? QStringLiteral("Planilha") : nome;
}
}  // namespace

QString PastaPlanilhas() { return PastaDocumentos::caminho() + QStringLiteral("/QEV"); }

QString MensagemLimiteLinhas(qlonglong linhas) {
    const QLocale br(QLocale::Portuguese, QLocale::Brazil);
    return QStringLiteral("A lista tem %1 linhas e não cabe em uma planilha: o formato comporta "
                          "no máximo %2 linhas, %3 delas de dados abaixo da linha de títulos.")
        .arg(br.toString(linhas), br.toString(qlonglong(kMaxLinhasPlanilha)),
             br.toString(qlonglong(kMaxLinhasPlanilha - 1)));
}

void ExportaPlanilha(const RowSet& rs, const QString& planilha, const QString& caminho, bool todas) {
    // Rows past the format's limit would be dropped by the writer: the list is refused whole.
    if (qlonglong(rs.RecordCount()) + 1 > kMaxLinhasPlanilha)
        throw ErroQev(MensagemLimiteLinhas(rs.RecordCount()));
    const QByteArray arquivo = QFile::encodeName(caminho);
    lxw_workbook* livro = workbook_new(arquivo.constData());
    if (!livro) throw ErroQev(QStringLiteral("Não foi possível criar a planilha %1").arg(caminho));
    const QByteArray nome = NomePlanilha(planilha).toUtf8();
    lxw_worksheet* folha = workbook_add_worksheet(livro, nome.constData());
    if (!folha) {
        workbook_close(livro);
        throw ErroQev(QStringLiteral("Não foi possível criar a planilha %1").arg(caminho));
    }
    lxw_format* titulo = workbook_add_format(livro);
    format_set_bold(titulo);
    lxw_format* data = workbook_add_format(livro);
    format_set_num_format(data, "dd/mm/yyyy");
    lxw_format* dataHora = workbook_add_format(livro);
    format_set_num_format(dataHora, "dd/mm/yyyy hh:mm:ss");
    lxw_format* decimal = workbook_add_format(livro);
    format_set_num_format(decimal, "#,##0.00");

    // Every cell written is checked: a refused cell fails the whole export (the
    // workbook is closed so that its temporary files go, and the file is removed).
    const auto escreve = [&](lxw_error e) {
        if (e == LXW_NO_ERROR) return;
        workbook_close(livro);
        QFile::remove(caminho);
        throw ErroQev(mensagemFalha(e, caminho));
    };
    QVector<int> colunas;
    for (int c = 0; c < rs.Campos().size(); ++c)
        if (todas || rs.Campos()[c].visivel) colunas << c;
    for (int k = 0; k < colunas.size(); ++k) {
        const Campo& f = rs.Campos()[colunas[k]];
        escreve(worksheet_write_string(folha, 0, lxw_col_t(k), f.legenda().toUtf8().constData(), titulo));
        const int largura = f.temporal() || f.numerico()
                                ? 12
                                : std::clamp(std::max<int>(f.tamanho, f.legenda().size()), 6, 60);
        escreve(worksheet_set_column(folha, lxw_col_t(k), lxw_col_t(k), largura + 2, nullptr));
    }
    for (int pos = 0; pos < rs.RecordCount(); ++pos) {
        const lxw_row_t linha = lxw_row_t(pos + 1);
        for (int k = 0; k < colunas.size(); ++k) {
            const Campo& f = rs.Campos()[colunas[k]];
            const QVariant v = rs.ValorNaPosicao(pos, colunas[k]);
            if (!v.isValid() || v.isNull()) continue;
            const lxw_col_t col = lxw_col_t(k);
            if (f.numerico() && f.mascara.isEmpty()) {
                escreve(worksheet_write_number(folha, linha, col, v.toDouble(),
                                               f.tipo == TipoCampo::Inteiro ? nullptr : decimal));
            } else if (f.tipo == TipoCampo::Data || f.tipo == TipoCampo::DataHora) {
                const QDateTime dt = v.typeId() == QMetaType::QDate
                                         ? QDateTime(v.toDate(), QTime(0, 0))
                                         : v.toDateTime();
                lxw_datetime x = dataHoraXlsx(dt);
                escreve(worksheet_write_datetime(folha, linha, col, &x,
                                                 dt.time() == QTime(0, 0) ? data : dataHora));
            } else {
                escreve(worksheet_write_string(folha, linha, col,
                                               rs.TextoDe(pos, colunas[k]).toUtf8().constData(), nullptr));
            }
        }
    }
    confere(workbook_close(livro), caminho);
}

QString ExportaEAbrePlanilha(const RowSet& rs, const QString& legenda, bool todas) {
    if (qlonglong(rs.RecordCount()) + 1 > kMaxLinhasPlanilha)
        throw ErroQev(MensagemLimiteLinhas(rs.RecordCount()));
    const QString pasta = PastaPlanilhas();
    if (!QDir().mkpath(pasta))
        throw ErroQev(QStringLiteral("Não foi possível criar a pasta %1.").arg(pasta));
    // Named from the sheet and the time; never over a file already there.
    const QString base = QDir(pasta).filePath(
        nomeDeArquivo(NomePlanilha(legenda)) + QLatin1Char(' ') +
        Relogio::agora().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")));
    QString caminho = base + QStringLiteral(".xlsx");
    for (int n = 2; QFileInfo::exists(caminho); ++n)
        caminho = base + QStringLiteral(" (%1).xlsx").arg(n);
    // Written under a temporary name beside it and renamed when complete.
    const QString parcial = caminho + QStringLiteral(".parcial");
    try {
        ExportaPlanilha(rs, legenda, parcial, todas);
    } catch (...) {
        QFile::remove(parcial);
        throw;
    }
    if (!QFile::rename(parcial, caminho)) {
        QFile::remove(parcial);
        throw ErroQev(QStringLiteral("Não foi possível gravar a planilha %1.").arg(caminho));
    }
    if (!Lancador::abreArquivo(caminho))
        throw ErroQev(QStringLiteral("Não foi possível abrir a planilha %1").arg(caminho));
    return caminho;
}
