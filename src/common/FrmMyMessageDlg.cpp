#include "common/FrmMyMessageDlg.h"

#include <QApplication>
#include <QFontMetrics>
#include <QScreen>
#include <QTextDocument>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <array>

#include "common/Icones.h"
#include "common/MensagemDlg.h"

namespace {

struct DefinicaoBotao {
    Mensagens::Botao botao;
    const char* legenda;  // UTF-8
    int resposta;
    QStyle::StandardPixmap glifo;
};

// The buttons in the order they are laid out.
constexpr std::array<DefinicaoBotao, 11> kBotoes{{
    {Mensagens::BtSim, "&Sim", Mensagens::RespSim, QStyle::SP_DialogYesButton},
    {Mensagens::BtNao, "&Não", Mensagens::RespNao, QStyle::SP_DialogNoButton},
    {Mensagens::BtOk, "&Ok", Mensagens::RespOk, QStyle::SP_DialogOkButton},
    {Mensagens::BtCancelar, "&Cancelar", Mensagens::RespCancelar, QStyle::SP_DialogCancelButton},
    {Mensagens::BtAbortar, "&Abortar", Mensagens::RespAbortar, QStyle::SP_DialogAbortButton},
    {Mensagens::BtRefazer, "&Refazer", Mensagens::RespRefazer, QStyle::SP_DialogRetryButton},
    {Mensagens::BtIgnorar, "&Ignorar", Mensagens::RespIgnorar, QStyle::SP_DialogIgnoreButton},
    {Mensagens::BtTodos, "&Todos", Mensagens::RespTodos, QStyle::SP_DialogYesToAllButton},
    {Mensagens::BtNaoParaTodos, "&Não", Mensagens::RespNao, QStyle::SP_DialogNoToAllButton},
    {Mensagens::BtSimParaTodos, "&Todos", Mensagens::RespTodos, QStyle::SP_DialogYesToAllButton},
    {Mensagens::BtAjuda, "&Ajuda", Mensagens::RespNenhuma, QStyle::SP_DialogHelpButton},
}};

struct DefinicaoTipo {
    const char* legenda;  // UTF-8
    bool vermelho;
    QStyle::StandardPixmap icone;
};

constexpr std::array<DefinicaoTipo, 5> kTipos{{
    {"CUIDADO", false, QStyle::SP_MessageBoxWarning},
    {"E R R O", true, QStyle::SP_MessageBoxCritical},
    {"Informação", false, QStyle::SP_MessageBoxInformation},
    {"Confirme", false, QStyle::SP_MessageBoxQuestion},
    {"", false, QStyle::SP_ComputerIcon},
}};

// The look of a kind; null for a kind outside the table.
const DefinicaoTipo* definicaoTipo(int tipo) {
    return tipo >= 0 && tipo < static_cast<int>(kTipos.size()) ? &kTipos[tipo] : nullptr;
}

constexpr int kTamanhoIcone = 32;
constexpr int kMargem = 8;
// Room kept on each side of the button row so it never covers the print button.
constexpr int kFolgaLateral = 32;

int calculaLarguraLinha(int quantos) {
    return quantos < 2 ? TfrmMyMessageDlg::kLarguraBotao
                       : TfrmMyMessageDlg::kPassoBotoes * quantos - 10;
}

int calculaLarguraDialogo(int linha) {
    if (linha < 300) return 400;
    if (linha < 400) return 500;
    if (linha < 500) return 600;
    // Rows wider than the usual sets (nine buttons or more) widen the dialog so
    // that no button falls outside it.
    return qMax(790, linha + 2 * kFolgaLateral);
}

// Splits the text at any kind of line break (CR LF, CR or LF); a break at the
// very end opens no further line.
QStringList linhasDe(const QString& texto) {
    QString t = texto;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (t.isEmpty()) return {};
    QStringList linhas = t.split(QLatin1Char('\n'));
    if (linhas.size() > 1 && linhas.last().isEmpty()) linhas.removeLast();
    return linhas;
}

class CursorEspera {
public:
    CursorEspera() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CursorEspera() { QApplication::restoreOverrideCursor(); }
    CursorEspera(const CursorEspera&) = delete;
    CursorEspera& operator=(const CursorEspera&) = delete;
};

}  // namespace

TfrmMyMessageDlg::TfrmMyMessageDlg(const QString& texto, int tipo, Mensagens::Botoes botoes,
                                   const QIcon* icone, const QString& legenda, QWidget* pai)
    : QDialog(pai, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    const QStringList linhas = linhasDe(texto);
    m_texto = linhas.join(QStringLiteral("\r\n"));
    m_linhas = static_cast<int>(linhas.size());

    auto* principal = new QVBoxLayout(this);
    principal->setContentsMargins(0, 0, 0, 0);
    principal->setSpacing(0);
    montaTopo(tipo, icone);
    montaFaixa(botoes);

    m_largura = qMax(calculaLarguraDialogo(m_larguraLinha), larguraParaOTexto(linhas));
    const int primeiro = qRound((m_largura - m_larguraLinha) / 2.0);
    for (int i = 0; i < m_botoes.size(); ++i)
        m_botoes[i]->setGeometry(primeiro + i * kPassoBotoes, kTopoBotoes, kLarguraBotao,
                                 kAlturaBotao);

    if (m_linhas > kLinhasSemCrescer)
        m_altura = m_linhas * kAlturaLinha + m_altura - kLinhasSemCrescer * kAlturaLinha;
    if (m_altura > kAlturaMaxima) {
        m_altura = kAlturaMaxima;
        m_areaTexto->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    }
    setFixedSize(m_largura, m_altura);

    if (const DefinicaoTipo* def = definicaoTipo(tipo))
        setWindowTitle(QString::fromUtf8(def->legenda));
    if (!legenda.isEmpty()) setWindowTitle(legenda);
    if (!m_botoes.isEmpty()) {
        m_botoes.first()->setDefault(true);
        m_botoes.first()->setFocus();
    }
}

int TfrmMyMessageDlg::larguraParaOTexto(const QStringList& linhas) const {
    // The longest line fits without wrapping, beside the icon and with room for a
    // scroll bar, up to 90 % of the screen's width; past that, the text wraps.
    const QFontMetrics metrica(m_areaTexto->font());
    int maior = 0;
    for (const QString& l : linhas) maior = qMax(maior, metrica.horizontalAdvance(l));
    const int margensTexto = 2 * int(m_areaTexto->document()->documentMargin()) +
                             2 * m_areaTexto->frameWidth() + 4;
    const int barra = m_areaTexto->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int precisa = kMargem + kTamanhoIcone + kMargem + maior + margensTexto + barra + kMargem;
    const QScreen* tela = screen() ? screen() : QGuiApplication::primaryScreen();
    const int limite = tela ? tela->availableGeometry().width() * 9 / 10 : 1200;
    return qMin(precisa, qMax(limite, 400));
}

void TfrmMyMessageDlg::montaTopo(int tipo, const QIcon* icone) {
    auto* topo = new QWidget(this);
    auto* arranjo = new QHBoxLayout(topo);
    arranjo->setContentsMargins(kMargem, kMargem, kMargem, 0);
    arranjo->setSpacing(kMargem);

    const DefinicaoTipo* def = definicaoTipo(tipo);
    m_icone = new QLabel(topo);
    m_icone->setFixedSize(kTamanhoIcone, kTamanhoIcone);
    QIcon imagem;
    if (icone)
        imagem = *icone;
    else if (def)
        imagem = IconePadrao(def->icone);
    m_icone->setPixmap(imagem.pixmap(kTamanhoIcone, kTamanhoIcone));
    m_icone->setVisible(!imagem.isNull());
    arranjo->addWidget(m_icone, 0, Qt::AlignTop);

    m_areaTexto = new QPlainTextEdit(topo);
    m_areaTexto->setReadOnly(true);
    m_areaTexto->setFrameShape(QFrame::NoFrame);
    m_areaTexto->setFocusPolicy(Qt::ClickFocus);
    QPalette paleta = m_areaTexto->palette();
    paleta.setColor(QPalette::Base, paleta.color(QPalette::Window));
    const bool vermelho = def && def->vermelho;
    paleta.setColor(QPalette::Text, vermelho ? QColor(Qt::red) : QColor(Qt::black));
    m_areaTexto->setPalette(paleta);
    // The area shows one paragraph per line; m_texto keeps the CR LF form.
    m_areaTexto->setPlainText(
        QString(m_texto).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    arranjo->addWidget(m_areaTexto, 1);

    layout()->addWidget(topo);
}

void TfrmMyMessageDlg::montaFaixa(Mensagens::Botoes botoes) {
    m_faixa = new QWidget(this);
    m_faixa->setFixedHeight(kAlturaFaixa);

    for (const DefinicaoBotao& def : kBotoes) {
        if (!(botoes & def.botao)) continue;
        auto* botao = new QPushButton(IconePadrao(def.glifo),
                                      QString::fromUtf8(def.legenda), m_faixa);
        QFont fonte = botao->font();
        fonte.setBold(true);
        botao->setFont(fonte);
        botao->setCursor(Qt::PointingHandCursor);
        const int resposta = def.resposta;
        if (resposta != Mensagens::RespNenhuma) {
            connect(botao, &QPushButton::clicked, this, [this, resposta] {
                m_resposta = resposta;
                done(resposta);
            });
        }
        if (def.botao == Mensagens::BtCancelar) m_temCancelar = true;
        m_botoes.append(botao);
    }
    m_larguraLinha = calculaLarguraLinha(static_cast<int>(m_botoes.size()));

    m_imprimir = new QPushButton(IconePadrao(QStyle::SP_FileIcon),
                                 QString(), m_faixa);
    m_imprimir->setToolTip(QStringLiteral("Imprime a tela"));
    m_imprimir->setAutoDefault(false);
    m_imprimir->setFocusPolicy(Qt::NoFocus);
    m_imprimir->setCursor(Qt::PointingHandCursor);
    m_imprimir->setGeometry(4, kTopoBotoes + 2, 23, 23);
    connect(m_imprimir, &QPushButton::clicked, this, &TfrmMyMessageDlg::imprime);

    layout()->addWidget(m_faixa);
}

void TfrmMyMessageDlg::reject() {
    // Without a cancel button only a button of the row ends the dialog.
    if (!m_temCancelar) return;
    m_resposta = Mensagens::RespCancelar;
    done(Mensagens::RespCancelar);
}

void TfrmMyMessageDlg::imprime() {
    QPrinter impressora(QPrinter::HighResolution);
    QPrintDialog escolha(&impressora, this);
    if (escolha.exec() != QDialog::Accepted) return;
    imprimeEm(impressora);
}

bool TfrmMyMessageDlg::imprimeEm(QPrinter& impressora) {
    bool impresso = false;
    {
        CursorEspera espera;
        const QPixmap tela = grab();
        QPainter pintor;
        if (!tela.isNull() && pintor.begin(&impressora)) {
            // The window at its size on the screen, reduced when the page is smaller.
            const QRectF pagina = impressora.pageLayout().paintRectPixels(impressora.resolution());
            const double escala = double(impressora.resolution()) / logicalDpiX();
            QSizeF alvo = QSizeF(width(), height()) * escala;
            if (alvo.width() > pagina.width() || alvo.height() > pagina.height())
                alvo.scale(pagina.size(), Qt::KeepAspectRatio);
            pintor.drawPixmap(QRectF(QPointF(0, 0), alvo), tela, QRectF(tela.rect()));
            impresso = pintor.end();
        }
    }
    if (!impresso) MostraErroSimples(QStringLiteral("Indisponível para impressão"));
    return impresso;
}

void InstalaTratadorGrafico() {
    Mensagens::defineTratador([](const Mensagens::Pedido& pedido) -> int {
        QWidget* pai = QApplication::activeWindow();
        if (pedido.tipo == Mensagens::CaixaErroSimples) {
            QMessageBox::critical(pai, QGuiApplication::applicationDisplayName(), pedido.texto,
                                  QMessageBox::Ok);
            return Mensagens::RespOk;
        }
        TfrmMyMessageDlg dialogo(pedido.texto, pedido.tipo, pedido.botoes, IconeDaMensagemAtual(),
                                 pedido.legenda, pai);
        dialogo.exec();
        return dialogo.resposta();
    });
}
