#include "request/FrmListaPlanos.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "common/CursorEspera.h"
#include "common/FrameFiltro.h"
#include "db/ModeloRowSet.h"
#include "db/RowSet.h"

TfrmListaPlanos::TfrmListaPlanos(const QString& titulo, QWidget* pai) : TfrmModBase(pai) {
    resize(900, 600);
    m_layout = new QVBoxLayout(this);
    pnlTitulo = new QLabel(titulo, this);
    pnlTitulo->setObjectName(QStringLiteral("pnlTitulo"));
    QFont fonte = pnlTitulo->font();
    fonte.setBold(true);
    fonte.setPointSizeF(fonte.pointSizeF() * 1.3);
    pnlTitulo->setFont(fonte);
    m_layout->addWidget(pnlTitulo);

    auto* linhaFiltro = new QHBoxLayout;
    FrameFiltro1 = new TFrameFiltro(this);
    FrameFiltro1->setObjectName(QStringLiteral("FrameFiltro1"));
    const auto botaoFiltro = [this](const char* nome, const char* texto) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(nome));
        b->setText(QString::fromUtf8(texto));
        b->setToolTip(b->text());
        return b;
    };
    spbFiltroExec = botaoFiltro("spbFiltroExec", "Executar Filtro");
    spbFiltroLimpar = botaoFiltro("spbFiltroLimpar", "Limpar Filtro");
    linhaFiltro->addWidget(FrameFiltro1, 1);
    linhaFiltro->addWidget(spbFiltroExec);
    linhaFiltro->addWidget(spbFiltroLimpar);
    m_layout->addLayout(linhaFiltro);
    connect(spbFiltroExec, &QToolButton::clicked, this, [this] {
        if (!FrameFiltro1->ValidaFiltro()) return;
        const TFrameFiltro::Condicao c = FrameFiltro1->MontaCondicao();
        {
            CursorEspera espera;
            abreLista(c.texto, c.parametros);
        }
        listaMudou();
        if (dbgPlanos->isEnabled()) dbgPlanos->setFocus();
    });
    connect(spbFiltroLimpar, &QToolButton::clicked, this, [this] {
        FrameFiltro1->LimpaFiltro();
        {
            CursorEspera espera;
            abreLista(QString(), {});
        }
        listaMudou();
    });

    dbgPlanos = new QTableView(this);
    dbgPlanos->setObjectName(QStringLiteral("dbgPlanos"));
    m_layout->addWidget(dbgPlanos, 1);
    m_botoes = new QHBoxLayout;
}

void TfrmListaPlanos::montaLista(RowSet* planos) {
    m_planos = planos;
    LigaGrade(dbgPlanos, planos);
    dbgPlanos->setSelectionMode(QAbstractItemView::ExtendedSelection);
    dbgPlanos->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dbgPlanos->horizontalHeader()->setStretchLastSection(true);
    dbgPlanos->setColumnWidth(0, 300);
    dbgPlanos->setColumnWidth(1, 190);
    dbgPlanos->setColumnWidth(2, 190);
    connect(dbgPlanos->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { listaMudou(); });
    FrameFiltro1->AssociaDados(planos);
    FrameFiltro1->SelecionaCampo(QStringLiteral("NM_PLANO"));
    FrameFiltro1->DefineFuncaoMaiusculas(QStringLiteral("UCASE"));
}

void TfrmListaPlanos::keyPressEvent(QKeyEvent* e) {
    const bool enter = (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) &&
                       (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    QWidget* foco = focusWidget();
    if (enter && foco &&
        (foco == FrameFiltro1 || FrameFiltro1->isAncestorOf(foco) || foco == spbFiltroExec ||
         foco == spbFiltroLimpar)) {
        e->accept();
        if (foco == spbFiltroLimpar)
            spbFiltroLimpar->click();
        else
            spbFiltroExec->click();
        return;
    }
    TfrmModBase::keyPressEvent(e);
}

QSet<int> TfrmListaPlanos::Selecionadas() const {
    QSet<int> r;
    if (!m_planos) return r;
    for (const QModelIndex& i : dbgPlanos->selectionModel()->selectedRows())
        r.insert(m_planos->LinhaNaPosicao(i.row()));
    return r;
}

QAction* TfrmListaPlanos::acao(const char* nome, const char* texto) {
    auto* a = new QAction(QString::fromUtf8(texto), this);
    a->setObjectName(QString::fromLatin1(nome));
    addAction(a);
    return a;
}

QPushButton* TfrmListaPlanos::botao(QAction* acao) {
    auto* b = new QPushButton(acao->text(), this);
    b->setObjectName(QStringLiteral("btn") + acao->objectName().mid(3));
    connect(b, &QPushButton::clicked, acao, &QAction::trigger);
    connect(acao, &QAction::changed, b, [b, acao] { b->setEnabled(acao->isEnabled()); });
    b->setEnabled(acao->isEnabled());
    m_botoes->addWidget(b);
    return b;
}

void TfrmListaPlanos::selecionaTodas(const std::function<bool(int)>& escolhe) {
    QItemSelection selecao;
    for (int pos = 0; pos < m_planos->RecordCount(); ++pos)
        if (escolhe(m_planos->LinhaNaPosicao(pos))) {
            const QModelIndex i = dbgPlanos->model()->index(pos, 0);
            selecao.select(i, i);
        }
    dbgPlanos->selectionModel()->select(selecao,
                                        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    listaMudou();
}
