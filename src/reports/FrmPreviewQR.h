#pragma once
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <memory>

#include "common/FrmModBase.h"
#include "reports/DocumentoRelatorio.h"

class QLabel;
class QPrinter;
class QScrollArea;
class QToolButton;
class Relatorio;
class VisaoPaginaRelatorio;

// The preview of every report ("Preview de relatórios"): shows the pages as they are
// generated, zooms, moves between pages, and saves, loads, exports and prints the
// generated pages. Opened maximised at zoom 150.
class TfrmPreviewQR : public TfrmModBase {
    Q_OBJECT
public:
    explicit TfrmPreviewQR(QWidget* pai = nullptr);
    ~TfrmPreviewQR() override;

    // Shows a report whose generation has been started (Relatorio::Inicia): its pages
    // appear as they are made; the rest is made while the window answers the user.
    void Exibe(Relatorio& relatorio);
    // Shows pages already made (a loaded report).
    void ExibeDocumento(std::shared_ptr<DocumentoRelatorio> documento);

    std::shared_ptr<DocumentoRelatorio> Documento() const { return m_documento; }
    int Zoom() const { return m_zoom; }
    void DefineZoom(int zoom);
    int PaginaAtual() const { return m_pagina + 1; }  // 1-based; 0 when none
    int NumPaginas() const;
    // Whether the last page is ready.
    bool Completo() const { return m_completo; }
    void IrParaPagina(int numero);  // 1-based
    QPrinter& Impressora() { return *m_impressora; }  // the reports' printer

    // Toolbar, in order.
    QToolButton* TlBtFitVertical;
    QToolButton* TlBtFitHorizontal;
    QToolButton* TlBtZoom;
    QToolButton* TlBtSalvarRelatorio;
    QToolButton* TlBtCarregarRelatorio;
    QToolButton* TlBtExportarHTML;
    QToolButton* TlBtExportarTXT;
    QToolButton* TlBtExportarCSV;
    QToolButton* TlBtExportarPDF;
    QToolButton* TlBtAnterior;
    QToolButton* TlBtProxima;
    QToolButton* TlBtEscolherPagina;
    QToolButton* TlBtConfigurarImpressora;
    QToolButton* TlBtImprimir;
    QToolButton* TlBtSair;
    // Status bar: the page panel and the printer panel.
    QLabel* pnlPagina;
    QLabel* pnlImpressora;

    void FitVerticalClick();
    void FitHorizontalClick();
    void ZoomClick();
    void SalvarRelatorioClick();
    void CarregarRelatorioClick();
    void ExportarHTMLClick();
    void ExportarTXTClick();
    void ExportarCSVClick();
    void ExportarPDFClick();
    void AnteriorClick();
    void ProximaClick();
    void EscolherPaginaClick();
    void ConfigurarImpressoraClick();
    void ImprimirClick();

signals:
    // A page was painted on the screen (1-based).
    void paginaDesenhada(int numero);

protected:
    void done(int resultado) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    friend class VisaoPaginaRelatorio;
    QToolButton* botao(const QString& nome, const QString& dica, const QIcon& icone);
    void geraPaginas();
    void aoPaginaPronta(int numero, bool ultima);
    void paraGeracao();
    void atualizaBotoes();
    void atualizaStatus();
    void atualizaImpressora();
    void atualizaVisao();
    QSizeF tamanhoEmPixels(int zoom) const;  // of a page on this screen
    QString escolheArquivo(bool salvar, const QString& titulo, const QString& filtro,
                           const QString& extensao);
    void exporta(const QString& titulo, const QString& filtro, const QString& extensao,
                 void (DocumentoRelatorio::*exportacao)(const QString&) const);

    std::shared_ptr<DocumentoRelatorio> m_documento;
    QPointer<Relatorio> m_relatorio;
    QTimer m_gerador;
    QPrinter* m_impressora;
    QScrollArea* m_rolagem;
    VisaoPaginaRelatorio* m_visao;
    int m_zoom = 150;
    int m_pagina = -1;
    bool m_completo = false;
};

// Shows a report modally in the preview: generates it page by page while the
// preview is open. Errors opening the report's data reach the caller before any
// window opens.
void ExibeRelatorio(Relatorio& relatorio, QWidget* pai);

// The printer of the reports in this run: the system's default at first, then the one
// chosen in a preview's "Escolher impressora".
QPrinter& ImpressoraRelatorios();
// Puts back what a user chose for one report's printing (pages, copies, a file as
// destination); the printer itself stays. Runs when a preview opens and closes.
void ReiniciaEscolhasImpressao(QPrinter& impressora);
// Prints every page on the reports' printer. Throws ErroQev when no printer is
// available or printing cannot start.
void ImprimeDocumento(const DocumentoRelatorio& documento);
// Generates a report and prints it without preview; errors are shown.
void ImprimeRelatorio(Relatorio& relatorio);
