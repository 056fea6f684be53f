// The generic error list screen with its spreadsheet export and generic report, and
// the report of the shared error list.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTableView>
#include <QTest>

#include "ApoioRelatorios.h"
#include "app/ConduzModal.h"
#include "common/LeitorXlsx.h"
#include "reports/FrmErrosGenericos.h"
#include "reports/FrmPreviewQR.h"
#include "reports/FrmRelConsiste.h"
#include "request/DmExportacao.h"

using namespace ApoioRelatorios;

namespace {

// Runs `fn` on the preview of the next report shown, once its last page is ready,
// and closes it.
class PreviewVisto {
public:
    std::shared_ptr<DocumentoRelatorio> documento;
    QString titulo;
    PreviewVisto()
        : m_modais([this](QDialog& d) {
              auto* p = qobject_cast<TfrmPreviewQR*>(&d);
              EXPECT_NE(p, nullptr);
              if (!p) return int(QDialog::Rejected);
              EXPECT_TRUE(Apoio::espera([p] { return p->Completo(); }));
              documento = p->Documento();
              titulo = p->windowTitle();
              return int(QDialog::Rejected);
          }) {}

private:
    Modais m_modais;
};

QStringList itensDetalhe(const DocumentoRelatorio& d) { return textosDe(d, TipoBanda::Detalhe); }

}  // namespace

TEST(ErrosGenericos, MessagesAreNumberedTrimmedAndShownUnderTheTitle) {
    TfrmErrosGenericos tela;
    EXPECT_EQ(tela.windowTitle(), QString());
    EXPECT_FALSE(tela.TemMensagens());
    tela.DefineTitulo(QStringLiteral("   Importação do OLVAR  "));
    EXPECT_EQ(tela.Titulo(), QStringLiteral("Importação do OLVAR"));
    EXPECT_EQ(tela.pnlTitulo->text(), QStringLiteral(" Importação do OLVAR"));
    tela.AdicionaMensagem(QStringLiteral("  primeira  "));
    tela.AdicionaMensagem(QStringLiteral("segunda"));
    tela.AdicionaMensagem(QStringLiteral("x").repeated(450));
    EXPECT_TRUE(tela.TemMensagens());
    ASSERT_EQ(tela.cdsErros.RecordCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(tela.cdsErros.ValorNaPosicao(i, 0).toInt(), i + 1);
    EXPECT_EQ(tela.cdsErros.ValorNaPosicao(0, 1).toString(), QStringLiteral("primeira"));
    EXPECT_EQ(tela.cdsErros.ValorNaPosicao(2, 1).toString().size(), 400);
    const QList<QPair<QAction*, const char*>> dicas{
        {tela.actPrimeiro, "vai para o primeiro registro"},
        {tela.actAnterior, "vai para o registro anterior"},
        {tela.actProximo, "vai para o próximo registro"},
        {tela.actUltimo, "vai para o último registro"},
        {tela.actExportarExcel, "Exportar o conteúdo da lista para uma planilha excel"},
        {tela.actRelatorio, "Imprime um relatório genérico com o conteúdo atual da lista"}};
    for (const auto& [acao, dica] : dicas) EXPECT_EQ(acao->toolTip(), QString::fromUtf8(dica));
}

TEST(ErrosGenericos, ShowingCountsMovesThroughTheListAndClosingEmptiesIt) {
    const struct {
        int mensagens;
        const char* status;
    } casos[] = {{0, "Nenhum erro encontrado"}, {1, "1 erro"}, {3, "3 erros"}};
    for (const auto& c : casos) {
        TfrmErrosGenericos tela;
        for (int i = 0; i < c.mensagens; ++i) tela.AdicionaMensagem(QStringLiteral("erro %1").arg(i + 1));
        tela.show();
        EXPECT_EQ(tela.lblStatus->text(), QString::fromUtf8(c.status));
        EXPECT_TRUE(tela.lblStatus->font().bold());
        EXPECT_EQ(tela.cdsErros.RecNo(), c.mensagens ? 0 : -1);
        if (c.mensagens == 3) {
            EXPECT_FALSE(tela.actAnterior->isEnabled());
            tela.actProximo->trigger();
            EXPECT_EQ(tela.cdsErros.RecNo(), 1);
            EXPECT_EQ(tela.grdErros->currentIndex().row(), 1);
            tela.actUltimo->trigger();
            EXPECT_EQ(tela.cdsErros.RecNo(), 2);
            EXPECT_FALSE(tela.actProximo->isEnabled());
            tela.actAnterior->trigger();
            EXPECT_EQ(tela.cdsErros.RecNo(), 1);
            tela.actPrimeiro->trigger();
            EXPECT_EQ(tela.cdsErros.RecNo(), 0);
            // Read-only while shown.
            tela.AdicionaMensagem(QStringLiteral("tarde demais"));
            EXPECT_EQ(tela.cdsErros.RecordCount(), 3);
        }
        tela.reject();
        EXPECT_FALSE(tela.TemMensagens());
        tela.AdicionaMensagem(QStringLiteral("de novo"));
        EXPECT_EQ(tela.cdsErros.RecordCount(), 1);
        EXPECT_EQ(tela.cdsErros.ValorNaPosicao(0, 0).toInt(), 1);
    }
}

TEST(ErrosGenericos, ExportWritesTheListIntoASpreadsheetAndOpensIt) {
    TfrmErrosGenericos tela;
    tela.AdicionaMensagem(QStringLiteral("CNPJ inválido na linha 3"));
    tela.AdicionaMensagem(QStringLiteral("Município \"desconhecido\""));
    QString aberto;
    Lancador::Tratador anterior = Lancador::define([&](Lancador::Tipo t, const QString& alvo) {
        if (t == Lancador::Tipo::Arquivo) aberto = alvo;
        return true;
    });
    tela.actExportarExcel->trigger();
    Lancador::define(anterior);
    ASSERT_FALSE(aberto.isEmpty());
    const LeitorXlsx::Planilha p = LeitorXlsx::le(aberto);
    QFile::remove(aberto);
    EXPECT_EQ(p.nomesFolhas, QStringList{QStringLiteral("Planilha1")});  // the caption is empty
    ASSERT_EQ(p.linhas.size(), 3);
    EXPECT_EQ(p.linhas[0], (QStringList{"Sequencial", "Mensagem de erro"}));
    EXPECT_EQ(p.linhas[1], (QStringList{"1", "CNPJ inválido na linha 3"}));
    EXPECT_EQ(p.linhas[2], (QStringList{"2", "Município \"desconhecido\""}));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(ErrosGenericos, GenericReportPrintsTheListUnderItsTitleAndGoesBackToTheFirst) {
    Apoio::Mensageiro mensagens;
    TfrmErrosGenericos tela;
    tela.DefineTitulo(QStringLiteral("Erros da importação"));
    const QString longa = QStringLiteral("uma mensagem longa ").repeated(12).trimmed();
    tela.AdicionaMensagem(QStringLiteral("curta"));
    tela.AdicionaMensagem(longa);
    tela.show();
    tela.actUltimo->trigger();
    PreviewVisto visto;
    tela.actRelatorio->trigger();
    ASSERT_TRUE(visto.documento);
    EXPECT_EQ(visto.titulo, QStringLiteral("Erros da importação"));
    const QStringList t = textos(*visto.documento);
    EXPECT_TRUE(t.contains(QStringLiteral("Erros da importação")));
    EXPECT_TRUE(t.contains(QStringLiteral("Seqüencial")));
    EXPECT_TRUE(t.contains(QStringLiteral("Descrição do Erro")));
    EXPECT_EQ(itensDetalhe(*visto.documento), (QStringList{"1", "curta", "2", longa}));
    EXPECT_EQ(tela.cdsErros.RecNo(), 0);
    EXPECT_TRUE(mensagens.textos().isEmpty());
}

TEST(RelConsiste, KindOfReportGivesTheTitleAndEveryKindShowsTheLineColumn) {
    TErrosCarga erros;
    const struct {
        int tipo;
        const char* titulo;
    } casos[] = {
        {0, "Relatório de Erros de Importação de Arquivo de Estabelecimentos de Saúde"},
        {1, "Relatório de erros ocorridos no envio de planos para a ZUB"},
        {2, "Relatório de erros"},
        {-5, "Relatório de erros"},
    };
    QMap<int, qreal> larguraCampo;
    for (const auto& c : casos) {
        TfrmRelConsiste r(erros);
        r.DefineTipoRelatorio(c.tipo);
        EXPECT_EQ(r.Titulo, QString::fromUtf8(c.titulo));
        r.GeraTudo();
        const auto pagina = r.Documento()->Pagina(0);
        const PaginaRelatorio& p = *pagina;
        EXPECT_NE(item(p, QString::fromUtf8(c.titulo)), nullptr);
        for (const char* coluna : {"Sequência", "Campo", "Descrição do Erro", "Linha"})
            EXPECT_NE(item(p, QString::fromUtf8(coluna)), nullptr) << coluna;
        larguraCampo[c.tipo] = item(p, QStringLiteral("Campo"))->caixa.width();
        // No operator band on this report.
        for (const QString& t : textos(p)) EXPECT_FALSE(t.startsWith(QStringLiteral("Registro ZUB")));
    }
    EXPECT_GT(larguraCampo[0], larguraCampo[1]);
    EXPECT_EQ(larguraCampo[1], larguraCampo[2]);
}

TEST(RelConsiste, PrintsEveryErrorOfTheSharedListInItsOrder) {
    TDmExportacao dm;
    int contador = 0;
    dm.AdicionaErro(contador, QStringLiteral("CNES"), 12, QStringLiteral("CNES inválido"));
    dm.AdicionaErro(contador, QStringLiteral("Data"), -1, QStringLiteral("Data inválida"));
    dm.AdicionaErroPlano(contador, QStringLiteral("Plano"), -1, 1, 2, 3, QStringLiteral("PLANO A"), 7,
                         QStringLiteral("Sem rede"));
    TfrmRelConsiste r;
    r.DefineTipoRelatorio(0);
    PreviewVisto visto;
    r.Visualiza(nullptr);
    ASSERT_TRUE(visto.documento);
    EXPECT_EQ(visto.titulo, r.Titulo);
    EXPECT_EQ(itensDetalhe(*visto.documento),
              (QStringList{"1", "CNES", "CNES inválido", "12", "2", "Data", "Data inválida", "3", "Plano",
                           "Sem rede"}));
}
