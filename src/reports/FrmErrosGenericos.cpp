#include "reports/FrmErrosGenericos.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QStatusBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

#include "common/CursorEspera.h"
#include "common/Icones.h"
#include "db/Erro.h"
#include "common/ExportaPlanilha.h"
#include "common/MensagemDlg.h"
#include "db/ModeloRowSet.h"
#include "reports/FrmPreviewQR.h"

namespace {
constexpr int kTamanhoMensagem = 400;

// The sequence number in bold.
class DelegadoNumero : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* opcao, const QModelIndex& indice) const override {
        QStyledItemDelegate::initStyleOption(opcao, indice);
        opcao->font.setBold(true);
        opcao->displayAlignment = Qt::AlignRight | Qt::AlignTop;
    }
};
}  // namespace

// ---------------------------------------------------------------------------

TqrpErrosImportacao::TqrpErrosImportacao(const RowSet& lista, const QString& titulo, QObject* pai)
    : TqrpModeloRelatorio(false, true, pai) {
    setObjectName(QStringLiteral("qrpErrosImportacao"));
    Titulo = titulo;
    const qreal w = LarguraUtil();
    const QFont titulos = FonteRelatorio(9, true);
    qrbColunaCab->altura = 60;
    qrbColunaCab->Rotulo(QStringLiteral("lblSequencial"), QStringLiteral("Seqüencial"),
                         QRectF(0, 5, 180, 50), titulos, Qt::AlignRight | Qt::AlignVCenter);
    qrbColunaCab->Rotulo(QStringLiteral("lblDescricao"), QStringLiteral("Descrição do Erro"),
                         QRectF(220, 5, w - 220, 50), titulos);
    qrbColunaCab->Linha(QStringLiteral("linTitulos"), QRectF(0, 55, w, 5), 2);
    const QFont corpo = FonteRelatorio(9);
    qrbDetalhe->altura = 45;
    qrbDetalhe->Campo(QStringLiteral("qrdNumero"), QStringLiteral("Numero"), QRectF(0, 5, 180, 35),
                      corpo, Qt::AlignRight | Qt::AlignTop);
    Elemento* mensagem = qrbDetalhe->Campo(QStringLiteral("qrdMensagem"), QStringLiteral("Mensagem"),
                                           QRectF(220, 5, w - 220, 35), corpo, Qt::AlignLeft | Qt::AlignTop);
    mensagem->cresce = true;
    DefineFonte(std::make_unique<FonteRowSet>(lista));
}

// ---------------------------------------------------------------------------

TfrmErrosGenericos::TfrmErrosGenericos(QWidget* pai) : TfrmModBase(pai) {
    setObjectName(QStringLiteral("frmErrosGenericos"));
    setAccessibleName(QStringLiteral("Tela de exibição de erros genéricos"));
    setWindowTitle(QString());
    resize(760, 520);

    Campo numero;
    numero.nome = QStringLiteral("Numero");
    numero.tipo = TipoCampo::Inteiro;
    numero.rotulo = QStringLiteral("Sequencial");
    Campo mensagem;
    mensagem.nome = QStringLiteral("Mensagem");
    mensagem.tipo = TipoCampo::Texto;
    mensagem.tamanho = kTamanhoMensagem;
    mensagem.rotulo = QStringLiteral("Mensagem de erro");
    cdsErros.DefineCampos({numero, mensagem});
    cdsErros.CriaVazio();

    auto* raiz = new QVBoxLayout(this);
    raiz->setContentsMargins(0, 0, 0, 0);
    raiz->setSpacing(0);
    pnlTitulo = new QLabel(this);
    pnlTitulo->setObjectName(QStringLiteral("pnlTitulo"));
    pnlTitulo->setStyleSheet(QStringLiteral(
        "QLabel { background: #1f4e79; color: white; font-weight: bold; font-size: 11pt; "
        "padding: 8px 6px; }"));
    raiz->addWidget(pnlTitulo);

    auto* barra = new QToolBar(this);
    barra->setObjectName(QStringLiteral("tbrAcoes"));
    barra->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const auto acao = [&](const QString& nome, const QString& texto, const QString& dica,
                          QStyle::StandardPixmap icone) {
        auto* a = new QAction(IconePadrao(icone), texto, this);
        a->setObjectName(nome);
        a->setToolTip(dica);
        barra->addAction(a);
        return a;
    };
    actPrimeiro = acao(QStringLiteral("actPrimeiro"), QStringLiteral("Primeiro"),
                       QStringLiteral("vai para o primeiro registro"), QStyle::SP_MediaSkipBackward);
    actAnterior = acao(QStringLiteral("actAnterior"), QStringLiteral("Anterior"),
                       QStringLiteral("vai para o registro anterior"), QStyle::SP_MediaSeekBackward);
    actProximo = acao(QStringLiteral("actProximo"), QStringLiteral("Próximo"),
                      QStringLiteral("vai para o próximo registro"), QStyle::SP_MediaSeekForward);
    actUltimo = acao(QStringLiteral("actUltimo"), QStringLiteral("Último"),
                     QStringLiteral("vai para o último registro"), QStyle::SP_MediaSkipForward);
    barra->addSeparator();
    actExportarExcel =
        acao(QStringLiteral("actExportarExcel"), QStringLiteral("Exportar para Excel"),
             QStringLiteral("Exportar o conteúdo da lista para uma planilha excel"),
             QStyle::SP_FileDialogDetailedView);
    actRelatorio = acao(QStringLiteral("actRelatorio"), QStringLiteral("Relatório genérico"),
                        QStringLiteral("Imprime um relatório genérico com o conteúdo atual da lista"),
                        QStyle::SP_FileIcon);
    raiz->addWidget(barra);

    grdErros = new QTableView(this);
    grdErros->setObjectName(QStringLiteral("grdErros"));
    raiz->addWidget(grdErros, 1);

    auto* status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    lblStatus = new QLabel(status);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    QFont negrito = lblStatus->font();
    negrito.setBold(true);
    lblStatus->setFont(negrito);
    status->addWidget(lblStatus, 1);
    raiz->addWidget(status);

    connect(actPrimeiro, &QAction::triggered, this, [this] { cdsErros.First(); });
    connect(actAnterior, &QAction::triggered, this, [this] { cdsErros.Prior(); });
    connect(actProximo, &QAction::triggered, this, [this] { cdsErros.Next(); });
    connect(actUltimo, &QAction::triggered, this, [this] { cdsErros.Last(); });
    connect(actExportarExcel, &QAction::triggered, this, [this] { ExportarExcel(); });
    connect(actRelatorio, &QAction::triggered, this, [this] { RelatorioGenerico(); });
    connect(&cdsErros, &RowSet::registroMudou, this, &TfrmErrosGenericos::atualizaAcoes);
    connect(&cdsErros, &RowSet::estruturaMudou, this, &TfrmErrosGenericos::atualizaAcoes);
    atualizaAcoes();
}

TfrmErrosGenericos::~TfrmErrosGenericos() {
    // the grid and its model go before the list they show
    delete grdErros;
}

// The grid is bound to the list when the window is first shown: a caller adding tens of
// thousands of messages first pays no view update per message.
void TfrmErrosGenericos::ligaGrade() {
    LigaGrade(grdErros, &cdsErros);
    grdErros->setItemDelegateForColumn(0, new DelegadoNumero(grdErros));
    grdErros->setWordWrap(true);
    grdErros->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdErros->verticalHeader()->hide();
    grdErros->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grdErros->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    grdErros->horizontalHeader()->setStretchLastSection(true);
    grdErros->setAlternatingRowColors(true);
}

void TfrmErrosGenericos::AdicionaMensagem(const QString& texto) {
    if (m_somenteLeitura) return;
    const int numero = cdsErros.RecordCount() + 1;
    cdsErros.Append();
    cdsErros.DefineValor(QStringLiteral("Numero"), numero);
    cdsErros.DefineValor(QStringLiteral("Mensagem"), texto.trimmed().left(kTamanhoMensagem));
    cdsErros.Post();
}

void TfrmErrosGenericos::DefineTitulo(const QString& texto) {
    m_titulo = texto.trimmed();
    pnlTitulo->setText(QLatin1Char(' ') + m_titulo);
}

void TfrmErrosGenericos::atualizaAcoes() {
    const bool vazio = cdsErros.IsEmpty();
    actPrimeiro->setEnabled(!vazio && cdsErros.RecNo() > 0);
    actAnterior->setEnabled(!vazio && cdsErros.RecNo() > 0);
    actProximo->setEnabled(!vazio && cdsErros.RecNo() < cdsErros.RecordCount() - 1);
    actUltimo->setEnabled(!vazio && cdsErros.RecNo() < cdsErros.RecordCount() - 1);
    actExportarExcel->setEnabled(!vazio);
}

void TfrmErrosGenericos::showEvent(QShowEvent* e) {
    if (!ModeloDaGrade(grdErros)) ligaGrade();
    TfrmModBase::showEvent(e);
    cdsErros.First();
    m_somenteLeitura = true;
    const int n = cdsErros.RecordCount();
    lblStatus->setText(n == 0   ? QStringLiteral("Nenhum erro encontrado")
                       : n == 1 ? QStringLiteral("1 erro")
                                : QString::number(n) + QStringLiteral(" erros"));
    grdErros->resizeRowsToContents();
    grdErros->setFocus();
    atualizaAcoes();
}

void TfrmErrosGenericos::done(int resultado) {
    // Closed: the list takes messages again, starting empty.
    m_somenteLeitura = false;
    cdsErros.CriaVazio();
    TfrmModBase::done(resultado);
}

QString TfrmErrosGenericos::ExportarExcel() {
    try {
        CursorEspera espera;
        return ExportaEAbrePlanilha(cdsErros, windowTitle());
    } catch (const ErroQev& e) {
        MyMessageDlg(e.mensagem(), Mensagens::Erro, Mensagens::BtOk);
        return QString();
    }
}

void TfrmErrosGenericos::RelatorioGenerico() {
    TqrpErrosImportacao relatorio(cdsErros, m_titulo);
    ExibeRelatorio(relatorio, this);
    cdsErros.First();
}
