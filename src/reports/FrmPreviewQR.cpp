#include "reports/FrmPreviewQR.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "common/CursorEspera.h"
#include "db/Erro.h"
#include "common/ExecucaoModal.h"
#include "common/Icones.h"
#include "common/MensagemDlg.h"
#include "platform/Plataforma.h"
#include "reports/Relatorio.h"

namespace {

constexpr int kMargemVisao = 16;   // pixels around the page
constexpr int kFatiaGeracaoMs = 30;  // pages are made in slices this long between events

// --- toolbar icons, drawn -----------------------------------------------------------

QPixmap telaIcone() {
    QPixmap p(32, 32);
    p.fill(Qt::transparent);
    return p;
}

void folha(QPainter& g, const QRectF& r) {
    g.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.5));
    g.setBrush(Qt::white);
    g.drawRect(r);
    g.setPen(QPen(QColor(0x90, 0x90, 0x90), 1));
    for (qreal y = r.top() + 5; y < r.bottom() - 3; y += 4)
        g.drawLine(QPointF(r.left() + 3, y), QPointF(r.right() - 3, y));
}

QIcon iconeFolha(bool retrato) {
    QPixmap p = telaIcone();
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    folha(g, retrato ? QRectF(8, 3, 16, 26) : QRectF(3, 8, 26, 16));
    return QIcon(p);
}

QIcon iconeLupa() {
    QPixmap p = telaIcone();
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(0x1f, 0x4e, 0x79), 3));
    g.setBrush(QColor(0xdd, 0xea, 0xf6));
    g.drawEllipse(QRectF(4, 4, 17, 17));
    g.setPen(QPen(QColor(0x40, 0x40, 0x40), 4, Qt::SolidLine, Qt::RoundCap));
    g.drawLine(QPointF(19, 19), QPointF(28, 28));
    g.setPen(QPen(QColor(0x1f, 0x4e, 0x79), 2));
    g.drawLine(QPointF(8.5, 12.5), QPointF(16.5, 12.5));
    g.drawLine(QPointF(12.5, 8.5), QPointF(12.5, 16.5));
    return QIcon(p);
}

QIcon iconeFormato(const QString& sigla, const QColor& cor) {
    QPixmap p = telaIcone();
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    folha(g, QRectF(6, 2, 20, 27));
    g.setPen(Qt::NoPen);
    g.setBrush(cor);
    g.drawRoundedRect(QRectF(1, 15, 30, 12), 2, 2);
    QFont f;
    f.setPixelSize(9);
    f.setBold(true);
    g.setFont(f);
    g.setPen(Qt::white);
    g.drawText(QRectF(1, 15, 30, 12), Qt::AlignCenter, sigla);
    return QIcon(p);
}

QIcon iconeImpressora(bool configura) {
    QPixmap p = telaIcone();
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.5));
    g.setBrush(Qt::white);
    g.drawRect(QRectF(9, 3, 14, 10));
    g.setBrush(QColor(0x70, 0x70, 0x70));
    g.drawRoundedRect(QRectF(3, 12, 26, 11), 2, 2);
    g.setBrush(Qt::white);
    g.drawRect(QRectF(9, 19, 14, 10));
    if (configura) {
        g.setPen(QPen(QColor(0x1f, 0x4e, 0x79), 2));
        g.setBrush(QColor(0xdd, 0xea, 0xf6));
        g.drawEllipse(QRectF(19, 17, 11, 11));
        g.drawPoint(QPointF(24.5, 22.5));
    }
    return QIcon(p);
}

QIcon iconeIrPara() {
    QPixmap p = telaIcone();
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    folha(g, QRectF(4, 3, 18, 26));
    g.setPen(QPen(QColor(0x1f, 0x4e, 0x79), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    g.drawLine(QPointF(16, 16), QPointF(28, 16));
    g.drawLine(QPointF(23, 11), QPointF(28, 16));
    g.drawLine(QPointF(23, 21), QPointF(28, 16));
    return QIcon(p);
}

QString comExtensao(const QString& caminho, const QString& extensao) {
    if (caminho.isEmpty() || !QFileInfo(caminho).suffix().isEmpty()) return caminho;
    return caminho + QLatin1Char('.') + extensao;
}

void mostraFalha(const ErroQev& e) { MyMessageDlg(e.mensagem(), Mensagens::Erro, Mensagens::BtOk); }

}  // namespace

// The page shown, drawn at the preview's zoom on a grey desk.
class VisaoPaginaRelatorio : public QWidget {
public:
    explicit VisaoPaginaRelatorio(TfrmPreviewQR* preview)
        : QWidget(preview), m_preview(preview) {
        setObjectName(QStringLiteral("visaoPagina"));
        setAutoFillBackground(false);
    }
    QSize sizeHint() const override {
        const QSizeF s = m_preview->tamanhoEmPixels(m_preview->m_zoom);
        return QSize(qCeil(s.width()) + 2 * kMargemVisao, qCeil(s.height()) + 2 * kMargemVisao);
    }
    void esquece() { m_cache = QPixmap(); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter g(this);
        g.fillRect(rect(), QColor(0x80, 0x80, 0x80));
        const auto doc = m_preview->m_documento;
        const int pagina = m_preview->m_pagina;
        if (!doc || pagina < 0 || pagina >= doc->NumPaginas()) return;
        const QSizeF s = m_preview->tamanhoEmPixels(m_preview->m_zoom);
        const QRectF folha(qMax<qreal>(kMargemVisao, (width() - s.width()) / 2), kMargemVisao,
                           s.width(), s.height());
        g.fillRect(folha.translated(4, 4), QColor(0x50, 0x50, 0x50));
        const qreal dpr = devicePixelRatioF();
        const QSize px(qCeil(s.width() * dpr), qCeil(s.height() * dpr));
        if (m_cache.isNull() || m_cacheDoc != doc.get() || m_cachePagina != pagina ||
            m_cache.size() != px) {
            m_cache = QPixmap(px);
            m_cache.fill(Qt::white);
            QPainter p(&m_cache);
            p.setRenderHint(QPainter::Antialiasing);
            p.setRenderHint(QPainter::TextAntialiasing);
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            const qreal escala = s.width() * dpr / doc->TamanhoPagina().width();
            p.scale(escala, escala);
            try {
                doc->Desenha(p, pagina);
            } catch (const ErroQev& e) {
                // The page file failed: the page stays blank and the user is told once,
                // after the painting.
                p.end();
                m_cache.setDevicePixelRatio(dpr);
                m_cacheDoc = doc.get();
                m_cachePagina = pagina;
                QMetaObject::invokeMethod(m_preview, [e] { mostraFalha(e); }, Qt::QueuedConnection);
                g.drawPixmap(folha.topLeft(), m_cache);
                return;
            }
            p.end();
            m_cache.setDevicePixelRatio(dpr);
            m_cacheDoc = doc.get();
            m_cachePagina = pagina;
        }
        g.drawPixmap(folha.topLeft(), m_cache);
        g.setPen(QColor(0x30, 0x30, 0x30));
        g.drawRect(folha.adjusted(0, 0, -1, -1));
        emit m_preview->paginaDesenhada(pagina + 1);
    }

private:
    TfrmPreviewQR* m_preview;
    QPixmap m_cache;
    const DocumentoRelatorio* m_cacheDoc = nullptr;
    int m_cachePagina = -1;
};

TfrmPreviewQR::TfrmPreviewQR(QWidget* pai)
    : TfrmModBase(pai), m_impressora(&ImpressoraRelatorios()) {
    // Each report starts from every page, one copy, on the printer itself.
    ReiniciaEscolhasImpressao(*m_impressora);
    setObjectName(QStringLiteral("frmPreviewQR"));
    setWindowTitle(QStringLiteral("Preview de relatórios"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setWindowState(windowState() | Qt::WindowMaximized);
    setMinimumSize(640, 480);
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* raiz = new QVBoxLayout(this);
    raiz->setContentsMargins(0, 0, 0, 0);
    raiz->setSpacing(0);
    auto* barra = new QToolBar(this);
    barra->setObjectName(QStringLiteral("tbrPreview"));
    barra->setIconSize(QSize(32, 32));
    raiz->addWidget(barra);

    TlBtFitVertical = botao(QStringLiteral("TlBtFitVertical"),
                            QStringLiteral("Visualizar em formato retrato"), iconeFolha(true));
    TlBtFitHorizontal = botao(QStringLiteral("TlBtFitHorizontal"),
                              QStringLiteral("Visualizar em formato paisagem"), iconeFolha(false));
    TlBtZoom = botao(QStringLiteral("TlBtZoom"), QStringLiteral("Zoom"), iconeLupa());
    TlBtSalvarRelatorio =
        botao(QStringLiteral("TlBtSalvarRelatorio"), QStringLiteral("Salvar o relatório atual"),
              IconePadrao(QStyle::SP_DialogSaveButton));
    TlBtCarregarRelatorio =
        botao(QStringLiteral("TlBtCarregarRelatorio"), QStringLiteral("Carregar relatório"),
              IconePadrao(QStyle::SP_DialogOpenButton));
    TlBtExportarHTML =
        botao(QStringLiteral("TlBtExportarHTML"),
              QStringLiteral("Exporta o relatório atual para o formato HTML"),
              iconeFormato(QStringLiteral("HTML"), QColor(0xc0, 0x50, 0x20)));
    TlBtExportarTXT = botao(QStringLiteral("TlBtExportarTXT"),
                            QStringLiteral("Exporta o relatório atual para o formato TXT"),
                            iconeFormato(QStringLiteral("TXT"), QColor(0x50, 0x50, 0x50)));
    TlBtExportarCSV = botao(QStringLiteral("TlBtExportarCSV"),
                            QStringLiteral("Exporta o relatório atual para o formato CVS"),
                            iconeFormato(QStringLiteral("CSV"), QColor(0x20, 0x80, 0x40)));
    TlBtExportarPDF = botao(QStringLiteral("TlBtExportarPDF"),
                            QStringLiteral("Exporta o relatório atual para o formato PDF"),
                            iconeFormato(QStringLiteral("PDF"), QColor(0xb0, 0x10, 0x10)));
    TlBtAnterior = botao(QStringLiteral("TlBtAnterior"), QStringLiteral("Página anterior"),
                         IconePadrao(QStyle::SP_ArrowLeft));
    TlBtProxima = botao(QStringLiteral("TlBtProxima"), QStringLiteral("Próxima página"),
                        IconePadrao(QStyle::SP_ArrowRight));
    TlBtEscolherPagina = botao(QStringLiteral("TlBtEscolherPagina"),
                               QStringLiteral("Escolher página"), iconeIrPara());
    TlBtConfigurarImpressora =
        botao(QStringLiteral("TlBtConfigurarImpressora"), QStringLiteral("Escolher impressora"),
              iconeImpressora(true));
    TlBtImprimir = botao(QStringLiteral("TlBtImprimir"), QStringLiteral("Emitir relatório"),
                         iconeImpressora(false));
    TlBtSair = botao(QStringLiteral("TlBtSair"), QStringLiteral("Sair"),
                     IconePadrao(QStyle::SP_DialogCloseButton));
    for (QToolButton* b :
         {TlBtFitVertical, TlBtFitHorizontal, TlBtZoom, TlBtSalvarRelatorio, TlBtCarregarRelatorio,
          TlBtExportarHTML, TlBtExportarTXT, TlBtExportarCSV, TlBtExportarPDF, TlBtAnterior,
          TlBtProxima, TlBtEscolherPagina, TlBtConfigurarImpressora, TlBtImprimir, TlBtSair}) {
        barra->addWidget(b);
        if (b == TlBtZoom || b == TlBtCarregarRelatorio || b == TlBtExportarPDF ||
            b == TlBtEscolherPagina || b == TlBtImprimir)
            barra->addSeparator();
    }
    connect(TlBtFitVertical, &QToolButton::clicked, this, &TfrmPreviewQR::FitVerticalClick);
    connect(TlBtFitHorizontal, &QToolButton::clicked, this, &TfrmPreviewQR::FitHorizontalClick);
    connect(TlBtZoom, &QToolButton::clicked, this, &TfrmPreviewQR::ZoomClick);
    connect(TlBtSalvarRelatorio, &QToolButton::clicked, this,
            &TfrmPreviewQR::SalvarRelatorioClick);
    connect(TlBtCarregarRelatorio, &QToolButton::clicked, this,
            &TfrmPreviewQR::CarregarRelatorioClick);
    connect(TlBtExportarHTML, &QToolButton::clicked, this, &TfrmPreviewQR::ExportarHTMLClick);
    connect(TlBtExportarTXT, &QToolButton::clicked, this, &TfrmPreviewQR::ExportarTXTClick);
    connect(TlBtExportarCSV, &QToolButton::clicked, this, &TfrmPreviewQR::ExportarCSVClick);
    connect(TlBtExportarPDF, &QToolButton::clicked, this, &TfrmPreviewQR::ExportarPDFClick);
    connect(TlBtAnterior, &QToolButton::clicked, this, &TfrmPreviewQR::AnteriorClick);
    connect(TlBtProxima, &QToolButton::clicked, this, &TfrmPreviewQR::ProximaClick);
    connect(TlBtEscolherPagina, &QToolButton::clicked, this, &TfrmPreviewQR::EscolherPaginaClick);
    connect(TlBtConfigurarImpressora, &QToolButton::clicked, this,
            &TfrmPreviewQR::ConfigurarImpressoraClick);
    connect(TlBtImprimir, &QToolButton::clicked, this, &TfrmPreviewQR::ImprimirClick);
    connect(TlBtSair, &QToolButton::clicked, this, &QDialog::reject);

    // Keyboard: pages with Ctrl+PgUp/PgDn, Ctrl+Home/End; zoom with Ctrl+Z.
    const auto atalho = [this](const QKeySequence& k, auto fn) {
        auto* s = new QShortcut(k, this);
        connect(s, &QShortcut::activated, this, fn);
    };
    atalho(QKeySequence(Qt::CTRL | Qt::Key_PageDown), [this] {
        if (TlBtProxima->isEnabled()) ProximaClick();
    });
    atalho(QKeySequence(Qt::CTRL | Qt::Key_PageUp), [this] {
        if (TlBtAnterior->isEnabled()) AnteriorClick();
    });
    atalho(QKeySequence(Qt::CTRL | Qt::Key_Home), [this] { IrParaPagina(1); });
    atalho(QKeySequence(Qt::CTRL | Qt::Key_End), [this] { IrParaPagina(NumPaginas()); });
    atalho(QKeySequence(Qt::CTRL | Qt::Key_Z), [this] { ZoomClick(); });

    m_rolagem = new QScrollArea(this);
    m_rolagem->setObjectName(QStringLiteral("sbxPagina"));
    m_rolagem->setBackgroundRole(QPalette::Dark);
    m_rolagem->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_visao = new VisaoPaginaRelatorio(this);
    m_rolagem->setWidget(m_visao);
    m_rolagem->setWidgetResizable(false);
    raiz->addWidget(m_rolagem, 1);

    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("stbStatus"));
    status->setSizeGripEnabled(false);
    pnlPagina = new QLabel(status);
    pnlPagina->setObjectName(QStringLiteral("pnlPagina"));
    pnlPagina->setMinimumWidth(180);
    pnlImpressora = new QLabel(status);
    pnlImpressora->setObjectName(QStringLiteral("pnlImpressora"));
    status->addWidget(pnlPagina);
    status->addWidget(pnlImpressora, 1);
    raiz->addWidget(status);

    m_gerador.setInterval(0);
    connect(&m_gerador, &QTimer::timeout, this, &TfrmPreviewQR::geraPaginas);
    atualizaImpressora();
    atualizaStatus();
    atualizaBotoes();
    atualizaVisao();
}

TfrmPreviewQR::~TfrmPreviewQR() { paraGeracao(); }

QToolButton* TfrmPreviewQR::botao(const QString& nome, const QString& dica, const QIcon& icone) {
    auto* b = new QToolButton(this);
    b->setObjectName(nome);
    b->setToolTip(dica);
    b->setIcon(icone);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

// --- generation -----------------------------------------------------------------------

void TfrmPreviewQR::Exibe(Relatorio& relatorio) {
    paraGeracao();
    m_relatorio = &relatorio;
    m_documento = relatorio.Documento();
    m_completo = relatorio.Concluido();
    m_pagina = m_documento && m_documento->NumPaginas() > 0 ? 0 : -1;
    if (!relatorio.Titulo.isEmpty()) setWindowTitle(relatorio.Titulo);
    connect(&relatorio, &Relatorio::paginaPronta, this, &TfrmPreviewQR::aoPaginaPronta);
    if (!m_completo) m_gerador.start();
    atualizaStatus();
    atualizaBotoes();
    atualizaVisao();
}

void TfrmPreviewQR::ExibeDocumento(std::shared_ptr<DocumentoRelatorio> documento) {
    paraGeracao();
    m_documento = std::move(documento);
    m_completo = true;
    m_pagina = m_documento && m_documento->NumPaginas() > 0 ? 0 : -1;
    if (m_documento && !m_documento->titulo.isEmpty()) setWindowTitle(m_documento->titulo);
    atualizaStatus();
    atualizaBotoes();
    atualizaVisao();
}

void TfrmPreviewQR::paraGeracao() {
    m_gerador.stop();
    if (m_relatorio) disconnect(m_relatorio, nullptr, this, nullptr);
    m_relatorio = nullptr;
}

void TfrmPreviewQR::geraPaginas() {
    if (!m_relatorio) {
        m_gerador.stop();
        return;
    }
    QElapsedTimer fatia;
    fatia.start();
    // The first page is shown as soon as it is ready; later pages come in slices.
    const bool primeira = NumPaginas() == 0;
    try {
        while (m_relatorio && !m_relatorio->Concluido() && fatia.elapsed() < kFatiaGeracaoMs) {
            m_relatorio->GeraPagina();
            if (primeira) break;
        }
    } catch (const ErroBanco& e) {
        paraGeracao();
        MostraErroSimples(TraduzErroBanco(e.mensagem()));
    } catch (const ErroQev& e) {
        paraGeracao();
        MostraErroSimples(e.mensagem());
    }
    if (!m_relatorio || m_relatorio->Concluido()) m_gerador.stop();
}

void TfrmPreviewQR::aoPaginaPronta(int numero, bool ultima) {
    m_completo = ultima;
    if (m_pagina < 0 && numero >= 1) {
        m_pagina = 0;
        atualizaVisao();
    }
    if (ultima) paraGeracao();
    atualizaImpressora();
    atualizaStatus();
    atualizaBotoes();
}

void TfrmPreviewQR::done(int resultado) {
    // Closing ends the generation; what is left of it is not made. The pages and the
    // file chosen for this report are not the next one's.
    paraGeracao();
    ReiniciaEscolhasImpressao(*m_impressora);
    TfrmModBase::done(resultado);
}

// --- state shown ------------------------------------------------------------------------

int TfrmPreviewQR::NumPaginas() const { return m_documento ? m_documento->NumPaginas() : 0; }

void TfrmPreviewQR::atualizaStatus() {
    pnlPagina->setText(QStringLiteral("Página ") + QString::number(PaginaAtual()) +
                       QStringLiteral(" de ") + QString::number(NumPaginas()));
}

void TfrmPreviewQR::atualizaImpressora() {
    pnlImpressora->setText(QStringLiteral("Impressora Atual: ") + m_impressora->printerName());
}

void TfrmPreviewQR::atualizaBotoes() {
    const int n = NumPaginas();
    const bool tem = m_documento && n > 0;
    for (QToolButton* b : {TlBtSalvarRelatorio, TlBtExportarHTML, TlBtExportarTXT, TlBtExportarCSV,
                           TlBtExportarPDF, TlBtConfigurarImpressora, TlBtImprimir})
        b->setEnabled(m_completo && tem);
    TlBtAnterior->setEnabled(n > 1 && PaginaAtual() > 1);
    TlBtProxima->setEnabled(PaginaAtual() < n);
    TlBtEscolherPagina->setEnabled(m_completo && n > 1);
}

QSizeF TfrmPreviewQR::tamanhoEmPixels(int zoom) const {
    const QSizeF unidades = m_documento ? m_documento->TamanhoPagina() : QSizeF(2100, 2970);
    const qreal porUnidade = logicalDpiX() / UnidadeRelatorio::PorPolegada * zoom / 100.0;
    return unidades * porUnidade;
}

void TfrmPreviewQR::atualizaVisao() {
    m_visao->esquece();
    m_visao->resize(m_visao->sizeHint());
    m_visao->update();
}

void TfrmPreviewQR::resizeEvent(QResizeEvent* e) {
    TfrmModBase::resizeEvent(e);
    m_visao->resize(m_visao->sizeHint().expandedTo(m_rolagem->viewport()->size()));
}

// --- zoom ------------------------------------------------------------------------------------

void TfrmPreviewQR::DefineZoom(int zoom) {
    m_zoom = qMax(1, zoom);
    atualizaVisao();
    m_visao->resize(m_visao->sizeHint().expandedTo(m_rolagem->viewport()->size()));
}

void TfrmPreviewQR::ZoomClick() {
    int z = m_zoom;
    if (z >= 50 && z <= 74) z = 75;
    else if (z >= 75 && z <= 99) z = 100;
    else if (z >= 100 && z <= 149) z = 150;
    else if (z >= 150 && z <= 199) z = 200;
    else if (z == 200) z = 50;
    else return;  // a fitted zoom outside the cycle stays
    DefineZoom(z);
}

void TfrmPreviewQR::FitVerticalClick() {
    const QSizeF pagina = tamanhoEmPixels(100);
    const QSize area = m_rolagem->viewport()->size() - QSize(2 * kMargemVisao, 2 * kMargemVisao);
    const qreal porAltura = area.height() / pagina.height();
    const qreal porLargura = area.width() / pagina.width();
    DefineZoom(qMax(1, int(qMin(porAltura, porLargura) * 100)));
}

void TfrmPreviewQR::FitHorizontalClick() {
    const QSizeF pagina = tamanhoEmPixels(100);
    const int largura = m_rolagem->viewport()->width() - 2 * kMargemVisao -
                        m_rolagem->verticalScrollBar()->sizeHint().width();
    DefineZoom(qMax(1, int(largura / pagina.width() * 100)));
}

// --- pages -----------------------------------------------------------------------------------

void TfrmPreviewQR::IrParaPagina(int numero) {
    if (numero < 1 || numero > NumPaginas()) return;
    m_pagina = numero - 1;
    m_rolagem->verticalScrollBar()->setValue(0);
    atualizaVisao();
    atualizaStatus();
    atualizaBotoes();
}

void TfrmPreviewQR::AnteriorClick() { IrParaPagina(PaginaAtual() - 1); }
void TfrmPreviewQR::ProximaClick() { IrParaPagina(PaginaAtual() + 1); }

void TfrmPreviewQR::EscolherPaginaClick() {
    QInputDialog caixa(this);
    caixa.setObjectName(QStringLiteral("dlgIrPara"));
    caixa.setWindowTitle(QStringLiteral("ir para"));
    caixa.setLabelText(QStringLiteral("informe o número da página:"));
    caixa.setInputMode(QInputDialog::TextInput);
    caixa.setTextValue(QString());
    if (Modal::executa(caixa) != QDialog::Accepted) return;
    const QString texto = caixa.textValue().trimmed();
    bool inteiro = false;
    const int numero = texto.toInt(&inteiro);
    bool numeroQualquer = inteiro;
    if (!inteiro) QLocale(QLocale::Portuguese, QLocale::Brazil).toDouble(texto, &numeroQualquer);
    if (!numeroQualquer) {
        MyMessageDlg(QStringLiteral("Valor inválido."), Mensagens::Informacao, Mensagens::BtOk);
        return;
    }
    if (!inteiro || numero < 1 || numero > NumPaginas()) {
        MyMessageDlg(QStringLiteral("Digite um valor entre 1 e ") + QString::number(NumPaginas()),
                     Mensagens::Informacao, Mensagens::BtOk);
        return;
    }
    IrParaPagina(numero);
}

// --- files -------------------------------------------------------------------------------------

QString TfrmPreviewQR::escolheArquivo(bool salvar, const QString& titulo, const QString& filtro,
                                      const QString& extensao) {
    SeletorArquivo::Pedido pedido;
    pedido.modo = salvar ? SeletorArquivo::Modo::Salvar : SeletorArquivo::Modo::Abrir;
    pedido.titulo = titulo;
    pedido.filtro = filtro;
    const QString escolhido = SeletorArquivo::escolhe(this, pedido);
    return salvar ? comExtensao(escolhido, extensao) : escolhido;
}

void TfrmPreviewQR::SalvarRelatorioClick() {
    const QString caminho =
        escolheArquivo(true, QStringLiteral("Salvar o relatório atual"),
                       QStringLiteral("Relatório QEV (*.QRP *.qrp *.Qrp)"), QStringLiteral("Qrp"));
    if (caminho.isEmpty() || !m_documento) return;
    try {
        CursorEspera espera;
        m_documento->SalvaArquivo(caminho);
    } catch (const ErroQev& e) {
        mostraFalha(e);
    }
}

void TfrmPreviewQR::CarregarRelatorioClick() {
    const QString caminho =
        escolheArquivo(false, QStringLiteral("Carregar relatório"),
                       QStringLiteral("Relatório QEV (*.QRP *.qrp *.Qrp)"), QStringLiteral("QRP"));
    if (caminho.isEmpty()) return;
    std::shared_ptr<DocumentoRelatorio> carregado;
    try {
        CursorEspera espera;
        carregado = std::make_shared<DocumentoRelatorio>(DocumentoRelatorio::CarregaArquivo(caminho));
    } catch (const ErroQev& e) {
        // The pages shown stay as they were.
        mostraFalha(e);
        return;
    }
    // The caption names the report loaded, never the one shown before it.
    const QString arquivo = QFileInfo(caminho).fileName();
    const QString titulo = carregado->titulo.trimmed();
    ExibeDocumento(std::move(carregado));
    setWindowTitle(titulo.isEmpty() ? arquivo : titulo + QStringLiteral(" (") + arquivo + QLatin1Char(')'));
}

void TfrmPreviewQR::exporta(const QString& titulo, const QString& filtro, const QString& extensao,
                            void (DocumentoRelatorio::*exportacao)(const QString&) const) {
    const QString caminho = escolheArquivo(true, titulo, filtro, extensao);
    if (caminho.isEmpty() || !m_documento) return;
    try {
        CursorEspera espera;
        ((*m_documento).*exportacao)(caminho);
    } catch (const ErroQev& e) {
        mostraFalha(e);
    }
}

void TfrmPreviewQR::ExportarHTMLClick() {
    exporta(QStringLiteral("Exportar para HTML"), QStringLiteral("Arquivo html(*.htm *.html)"),
            QStringLiteral("htm"), &DocumentoRelatorio::ExportaHtml);
}

void TfrmPreviewQR::ExportarTXTClick() {
    exporta(QStringLiteral("Exportar para texto"), QStringLiteral("Arquivo texto(*.txt)"),
            QStringLiteral("txt"), &DocumentoRelatorio::ExportaTexto);
}

void TfrmPreviewQR::ExportarCSVClick() {
    exporta(QStringLiteral("Exportar para CSV"),
            QStringLiteral("Arquivo texto separado por vírgulas(*.csv)"), QStringLiteral("csv"),
            &DocumentoRelatorio::ExportaCsv);
}

void TfrmPreviewQR::ExportarPDFClick() {
    exporta(QStringLiteral("Exportar para PDF"), QStringLiteral("Documento PDF(*.pdf)"),
            QStringLiteral("pdf"), &DocumentoRelatorio::ExportaPdf);
}

// --- printer ---------------------------------------------------------------------------------

void TfrmPreviewQR::ConfigurarImpressoraClick() {
    QPrintDialog dialogo(m_impressora, this);
    dialogo.setObjectName(QStringLiteral("dlgImpressora"));
    dialogo.setMinMax(1, qMax(1, NumPaginas()));
    Modal::executa(dialogo);
    atualizaImpressora();
}

void TfrmPreviewQR::ImprimirClick() {
    if (!m_documento) return;
    try {
        CursorEspera espera;
        ImprimeDocumento(*m_documento);
    } catch (const ErroQev& e) {
        mostraFalha(e);
    }
}

// ---------------------------------------------------------------------------------------------

void ExibeRelatorio(Relatorio& relatorio, QWidget* pai) {
    {
        CursorEspera espera;  // while the data is opened
        relatorio.Inicia();
    }
    TfrmPreviewQR preview(pai);
    preview.Exibe(relatorio);
    // The normal cursor while the preview is open, whatever the caller showed.
    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    struct Restaura {
        ~Restaura() { QGuiApplication::restoreOverrideCursor(); }
    } restaura;
    Modal::executa(preview);
}

void ReiniciaEscolhasImpressao(QPrinter& impressora) {
    impressora.setPrintRange(QPrinter::AllPages);
    impressora.setFromTo(0, 0);
    impressora.setCopyCount(1);
    // A file chosen as destination is forgotten: the printer chosen stays (when the
    // system has none, the next print asks for a choice instead of writing the file again).
    if (!impressora.outputFileName().isEmpty()) impressora.setOutputFileName(QString());
}

QPrinter& ImpressoraRelatorios() {
    // Kept to the end of the process: the print system may not outlive the application.
    static QPrinter* impressora = new QPrinter(QPrinter::HighResolution);
    return *impressora;
}

void ImprimeDocumento(const DocumentoRelatorio& documento) {
    QPrinter& impressora = ImpressoraRelatorios();
    if (impressora.outputFormat() == QPrinter::PdfFormat && impressora.outputFileName().isEmpty())
        throw ErroQev(QStringLiteral("Nenhuma impressora está disponível. Escolha uma impressora "
                                     "ou um arquivo em \"Escolher impressora\"."));
    documento.Imprime(impressora);
}

void ImprimeRelatorio(Relatorio& relatorio) {
    try {
        CursorEspera espera;
        relatorio.GeraTudo();
        ImprimeDocumento(*relatorio.Documento());
    } catch (const ErroBanco& e) {
        MostraErroSimples(TraduzErroBanco(e.mensagem()));
    } catch (const ErroQev& e) {
        mostraFalha(e);
    }
}
