#include "common/FrmConsulta.h"

#include <QDate>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QStyle>
#include <QTableView>
#include <QTime>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "common/CursorEspera.h"
#include "common/ExportaPlanilha.h"
#include "common/Icones.h"
#include "common/Identificadores.h"
#include "common/MensagemDlg.h"
#include "db/ModeloRowSet.h"
#include "db/RowSet.h"
#include "db/Valores.h"

namespace {
constexpr int kLarguraTexto = 257;
constexpr int kLarguraNumero = 97;
}  // namespace

TfrmConsulta::TfrmConsulta(QWidget* dono, const QString& legenda, const QString& legendas,
                           const QString& retorno, const QString& sql, Banco& banco,
                           const ParamsPosicionais& params)
    : TfrmModBase(dono),
      m_banco(banco),
      m_sql(sql),
      m_params(params),
      m_legendas(legendas.split(QLatin1Char(';'))),
      m_nomesRetorno(retorno.split(QLatin1Char(';'), Qt::SkipEmptyParts)),
      m_rs(new RowSet(this)) {
    setObjectName(QStringLiteral("frmConsulta"));
    setWindowTitle(legenda);

    auto* raiz = new QVBoxLayout(this);
    auto* topo = new QHBoxLayout;
    m_rotuloBusca = new QLabel(QStringLiteral("&Localizar por"), this);
    m_rotuloBusca->setObjectName(QStringLiteral("lblLocalizar"));
    m_busca = new QLineEdit(this);
    m_busca->setObjectName(QStringLiteral("edtPesquisa"));
    m_rotuloBusca->setBuddy(m_busca);
    m_busca->setFixedWidth(kLarguraTexto);
    m_exportar = new QToolButton(this);
    m_exportar->setObjectName(QStringLiteral("btnExportar"));
    m_exportar->setToolTip(QStringLiteral("Exportar para excel"));
    m_exportar->setText(QStringLiteral("Exportar"));
    m_exportar->setIcon(IconePadrao(QStyle::SP_DialogSaveButton));
    m_exportar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    topo->addWidget(m_rotuloBusca);
    topo->addWidget(m_busca);
    topo->addStretch(1);
    topo->addWidget(m_exportar);
    raiz->addLayout(topo);

    m_grade = new QTableView(this);
    m_grade->setObjectName(QStringLiteral("grdConsulta"));
    m_grade->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grade->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grade->setAlternatingRowColors(true);
    m_grade->setWordWrap(false);
    m_grade->horizontalHeader()->setSectionsClickable(true);
    m_grade->horizontalHeader()->setHighlightSections(false);
    m_grade->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_grade->verticalHeader()->hide();
    raiz->addWidget(m_grade, 1);

    auto* rodape = new QHBoxLayout;
    m_registros = new QLabel(this);
    m_registros->setObjectName(QStringLiteral("lblRegistros"));
    m_confirmar = new QPushButton(IconePadrao(QStyle::SP_DialogApplyButton),
                                  QStringLiteral("Confirmar"), this);
    m_confirmar->setObjectName(QStringLiteral("btnConfirmar"));
    m_confirmar->setDefault(true);
    m_cancelar = new QPushButton(IconePadrao(QStyle::SP_DialogCancelButton),
                                 QStringLiteral("Cancelar"), this);
    m_cancelar->setObjectName(QStringLiteral("btnCancelar"));
    rodape->addWidget(m_registros);
    rodape->addStretch(1);
    rodape->addWidget(m_confirmar);
    rodape->addWidget(m_cancelar);
    raiz->addLayout(rodape);

    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    m_timer->setInterval(400);
    connect(m_timer, &QTimer::timeout, this, &TfrmConsulta::ExecutaBusca);
    connect(m_busca, &QLineEdit::textEdited, this, [this] {
        if (!m_timer->isActive()) m_timer->start();
    });
    connect(m_confirmar, &QPushButton::clicked, this, &TfrmConsulta::confirma);
    connect(m_cancelar, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_grade, &QTableView::doubleClicked, this, &TfrmConsulta::confirma);
    connect(m_grade->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &TfrmConsulta::OrdenaPor);
    connect(m_exportar, &QToolButton::clicked, this, &TfrmConsulta::ExportaExcel);

    // 80 % of the screen, centred.
    const QScreen* tela =
        dono && dono->screen() ? dono->screen() : QGuiApplication::primaryScreen();
    if (tela) {
        const QRect g = tela->geometry();
        resize(int(g.width() * 0.8), int(g.height() * 0.8));
        move(g.x() + (g.width() - width()) / 2, g.y() + (g.height() - height()) / 2);
    }
    carrega();
}

TfrmConsulta::~TfrmConsulta() = default;

void TfrmConsulta::Recarrega(const QString& sql, const ParamsPosicionais& params) {
    m_sql = sql;
    m_params = params;
    carrega();
}

void TfrmConsulta::carrega() {
    {
        CursorEspera espera;
        m_rs->Abre(m_banco, m_sql, m_params);
    }
    for (const QString& n : m_escondidas)
        if (m_rs->TemCampo(n)) m_rs->campo(n).visivel = false;
    aplicaLegendas();
    if (!m_modelo) {
        m_modelo = LigaGrade(m_grade, m_rs);
    } else {
        m_modelo->Reinicia();
    }
    ajustaLarguras();
    m_colunaOrdem = -1;
    m_descendente = false;
    if (m_modelo->columnCount() > 0) OrdenaPor(0);
    m_registros->setText(QLatin1Char(' ') + ptBr().toString(m_rs->RecordCount()) +
                         QStringLiteral(" registro(s)"));
}

void TfrmConsulta::aplicaLegendas() {
    // An empty caption between two ";" leaves the column with an empty caption;
    // columns beyond the list keep their names.
    for (int i = 0; i < m_rs->Campos().size() && i < m_legendas.size(); ++i)
        m_rs->campo(i).rotulo = m_legendas[i].isEmpty() ? QStringLiteral(" ") : m_legendas[i];
}

void TfrmConsulta::ajustaLarguras() {
    for (int col = 0; col < m_modelo->columnCount(); ++col) {
        const Campo& f = m_rs->Campos()[m_modelo->campoDaColuna(col)];
        int largura = kLarguraNumero;
        if (f.tipo == TipoCampo::Texto || f.tipo == TipoCampo::Memo) {
            const int exibicao = f.tipo == TipoCampo::Memo ? 10 : f.tamanho;
            largura = 8 * std::max<int>(f.legenda().trimmed().size(), exibicao) + 8;
        }
        m_grade->setColumnWidth(col, largura);
    }
}

void TfrmConsulta::EscondeColuna(const QString& nome) {
    if (!m_escondidas.contains(nome, Qt::CaseInsensitive)) m_escondidas << nome;
    if (!m_rs->TemCampo(nome)) return;
    const int campoOrdem = m_modelo->campoDaColuna(m_colunaOrdem);
    m_rs->campo(nome).visivel = false;
    m_modelo->Reinicia();
    ajustaLarguras();
    m_colunaOrdem = m_modelo->colunaDoCampo(m_rs->Campos().value(campoOrdem).nome);
    m_modelo->DefineColunaDestacada(m_colunaOrdem,
                                    m_descendente ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void TfrmConsulta::OrdenaPor(int coluna) {
    const int campo = m_modelo->campoDaColuna(coluna);
    if (campo < 0 || !m_rs->Campos()[campo].ehDado()) return;
    const Campo& f = m_rs->Campos()[campo];
    m_descendente = coluna == m_colunaOrdem && !m_descendente;
    m_colunaOrdem = coluna;
    {
        CursorEspera espera;
        m_rs->DefineIndice(QStringLiteral("I") + f.nome, {{f.nome, m_descendente, true}});
    }
    m_modelo->DefineColunaDestacada(coluna,
                                    m_descendente ? Qt::DescendingOrder : Qt::AscendingOrder);
    m_rotuloBusca->setText(QStringLiteral("&Localizar por ") +
                           f.legenda().trimmed().toUpper().replace(QLatin1Char('&'), QStringLiteral("&&")));
    configuraBusca(campo);
}

void TfrmConsulta::configuraBusca(int campo) {
    const Campo& f = m_rs->Campos()[campo];
    const auto prepara = [this](TipoBusca tipo, int largura, const QString& mascara,
                                QValidator* validador) {
        m_tipoBusca = tipo;
        m_busca->setValidator(nullptr);
        m_busca->setInputMask(mascara);
        m_busca->setMaxLength(32767);
        m_busca->clear();
        m_busca->setValidator(validador);
        m_busca->setFixedWidth(largura);
        m_busca->setAlignment(tipo == TipoBusca::Texto ? Qt::AlignLeft : Qt::AlignRight);
    };
    switch (f.tipo) {
        case TipoCampo::Texto:
        case TipoCampo::Memo:
            prepara(TipoBusca::Texto, kLarguraTexto, QString(), nullptr);
            if (f.tamanho > 0) m_busca->setMaxLength(f.tamanho);
            break;
        case TipoCampo::Inteiro:
            prepara(TipoBusca::Inteiro, kLarguraNumero, QString(),
                    new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]*")),
                                                    m_busca));
            break;
        case TipoCampo::Real:
        case TipoCampo::Moeda: {
            prepara(TipoBusca::Decimal, kLarguraNumero, QString(),
                    new QRegularExpressionValidator(
                        QRegularExpression(QStringLiteral("-?[0-9.]*(,[0-9]{0,2})?")), m_busca));
            const QVariant v = m_rs->Valor(campo);
            if (v.isValid() && !v.isNull()) m_busca->setText(ptBr().toString(v.toDouble(), 'f', 2));
            break;
        }
        case TipoCampo::Data:
        case TipoCampo::DataHora:
            prepara(TipoBusca::Data, kLarguraNumero, QStringLiteral("99/99/9999;_"), nullptr);
            break;
        case TipoCampo::Hora:
            prepara(TipoBusca::Hora, kLarguraNumero, QStringLiteral("99:99:99;_"), nullptr);
            break;
        default:
            break;  // other types leave the box as it was
    }
}

void TfrmConsulta::ExecutaBusca() {
    m_timer->stop();
    const QString texto = m_busca->text();
    if (texto.trimmed().isEmpty()) return;
    if (m_tipoBusca == TipoBusca::Data && SomenteDigitos(texto).size() < 8) return;
    try {
        QVariant valor;
        switch (m_tipoBusca) {
            case TipoBusca::Texto:
                valor = texto;
                break;
            case TipoBusca::Inteiro:
                valor = texto.trimmed().toLongLong();
                break;
            case TipoBusca::Decimal:
                valor = ptBr().toDouble(texto.trimmed());
                break;
            case TipoBusca::Data: {
                const QDate d = QDate::fromString(texto, QStringLiteral("dd/MM/yyyy"));
                if (!d.isValid()) return;
                valor = d;
                break;
            }
            case TipoBusca::Hora: {
                const QTime t = QTime::fromString(texto, QStringLiteral("HH:mm:ss"));
                if (!t.isValid()) return;
                valor = t;
                break;
            }
        }
        m_rs->LocalizaProximo(valor);
    } catch (...) {
        // a failed search leaves the list where it was
    }
}

QStringList TfrmConsulta::ColunasRetorno() const {
    QStringList r;
    for (const QString& nome : m_nomesRetorno)
        for (const Campo& f : m_rs->Campos())
            if (f.ehDado() && f.nome.compare(nome.trimmed(), Qt::CaseInsensitive) == 0) r << f.nome;
    return r;
}

QVariant TfrmConsulta::Valor(const QString& coluna) const {
    return m_rs->TemCampo(coluna) ? m_rs->Valor(coluna) : QVariant();
}

QVariantList TfrmConsulta::ValoresRetorno() const {
    QVariantList r;
    for (const QString& c : ColunasRetorno()) r << m_rs->Valor(c);
    return r;
}

void TfrmConsulta::confirma() {
    if (m_rs->IsEmpty() || m_rs->RecNo() < 0) return;
    accept();
}

QString TfrmConsulta::ExportaExcel() {
    try {
        CursorEspera espera;
        return ExportaEAbrePlanilha(*m_rs, windowTitle());
    } catch (const ErroQev& e) {
        MyMessageDlg(e.mensagem(), Mensagens::Erro, Mensagens::BtOk);
        return QString();
    }
}

void TfrmConsulta::showEvent(QShowEvent* e) {
    TfrmModBase::showEvent(e);
    m_busca->setFocus();
}
