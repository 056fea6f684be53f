#include "common/FrameFiltro.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "common/Entradas.h"
#include "common/MensagemDlg.h"
#include "db/RowSet.h"
#include "platform/Plataforma.h"
#include "db/Valores.h"

namespace {
// The typed text taken literally by LIKE ... ESCAPE '\'.
QString escapaLike(const QString& texto) {
    QString r;
    r.reserve(texto.size());
    for (const QChar c : texto) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            r += QLatin1Char('\\');
        r += c;
    }
    return r;
}

QWidget* pagina(QWidget* pai, QBoxLayout** layout) {
    auto* w = new QWidget(pai);
    *layout = new QHBoxLayout(w);
    (*layout)->setContentsMargins(0, 0, 0, 0);
    return w;
}
}  // namespace

TFrameFiltro::TFrameFiltro(QWidget* pai) : QFrame(pai) {
    setObjectName(QStringLiteral("FrameFiltro"));
    auto* raiz = new QVBoxLayout(this);
    raiz->setContentsMargins(4, 4, 4, 4);
    m_campos = new QComboBox(this);
    m_campos->setObjectName(QStringLiteral("cmbCampos"));
    m_campos->setPlaceholderText(QStringLiteral("Filtrar por..."));
    m_campos->setEnabled(false);
    raiz->addWidget(m_campos);
    m_paginas = new QStackedWidget(this);
    raiz->addWidget(m_paginas);

    QBoxLayout* l;
    m_pagVazia = new QWidget(m_paginas);

    m_pagTexto = pagina(m_paginas, &l);
    auto* colunaTexto = new QVBoxLayout;
    m_texto = new QLineEdit(m_pagTexto);
    m_texto->setObjectName(QStringLiteral("edtTexto"));
    m_maiusculas = new QCheckBox(QStringLiteral("Maiúsculas e minúsculas"), m_pagTexto);
    m_maiusculas->setObjectName(QStringLiteral("chkMaiusculas"));
    m_maiusculas->setToolTip(QStringLiteral("Diferenciar maiúsculas e minúsculas"));
    m_qualquerParte = new QCheckBox(QStringLiteral("Qualquer parte do registro"), m_pagTexto);
    m_qualquerParte->setObjectName(QStringLiteral("chkQualquerParte"));
    colunaTexto->addWidget(m_texto);
    auto* caixas = new QHBoxLayout;
    caixas->addWidget(m_maiusculas);
    caixas->addWidget(m_qualquerParte);
    colunaTexto->addLayout(caixas);
    l->addLayout(colunaTexto);

    m_pagData = pagina(m_paginas, &l);
    m_dataInicial = new CaixaData(m_pagData);
    m_dataInicial->setObjectName(QStringLiteral("edtDataInicial"));
    m_dataFinal = new CaixaData(m_pagData);
    m_dataFinal->setObjectName(QStringLiteral("edtDataFinal"));
    l->addWidget(m_dataInicial);
    l->addWidget(new QLabel(QStringLiteral("a"), m_pagData));
    l->addWidget(m_dataFinal);
    l->addStretch(1);
    connect(m_dataInicial, &QLineEdit::editingFinished, this,
            [this] { conferePeriodo(m_dataInicial, QStringLiteral("Data inicial inválida")); });
    connect(m_dataFinal, &QLineEdit::editingFinished, this,
            [this] { conferePeriodo(m_dataFinal, QStringLiteral("Data final inválida")); });

    m_pagNumero = pagina(m_paginas, &l);
    m_operador = new QComboBox(m_pagNumero);
    m_operador->setObjectName(QStringLiteral("cmbOperador"));
    m_operador->addItems({QStringLiteral("=  igual"), QStringLiteral(">  maior"),
                          QStringLiteral("<  menor"), QStringLiteral(">= maior ou igual"),
                          QStringLiteral("<= menor ou igual"), QStringLiteral("<> diferente")});
    m_numero = new CaixaNumero(0, m_pagNumero);
    m_numero->setObjectName(QStringLiteral("edtNumero"));
    m_calculadora = new QToolButton(m_pagNumero);
    m_calculadora->setObjectName(QStringLiteral("btnCalculadora"));
    m_calculadora->setText(QStringLiteral("..."));
    m_calculadora->setToolTip(QStringLiteral("Calculadora"));
    connect(m_calculadora, &QToolButton::clicked, this, [] { Lancador::abreCalculadora(); });
    l->addWidget(m_operador);
    l->addWidget(m_numero);
    l->addWidget(m_calculadora);
    l->addStretch(1);

    m_pagLookup = pagina(m_paginas, &l);
    m_layoutLookup = l;

    for (QWidget* p : {m_pagVazia, m_pagTexto, m_pagData, m_pagNumero, m_pagLookup})
        m_paginas->addWidget(p);
    m_paginas->setCurrentWidget(m_pagVazia);
    connect(m_campos, &QComboBox::activated, this, &TFrameFiltro::escolhe);
}

void TFrameFiltro::AssociaDados(RowSet* rowSet) {
    m_rs = rowSet;
    m_campos->clear();
    m_camposLista.clear();
    m_campo = -1;
    m_tipo = Tipo::Nenhum;
    m_paginas->setCurrentWidget(m_pagVazia);
    m_campos->setEnabled(m_rs != nullptr);
    if (!m_rs) return;
    for (int i = 0; i < m_rs->Campos().size(); ++i) {
        const Campo& f = m_rs->Campos()[i];
        if (!f.visivel) continue;
        m_campos->addItem(f.legenda());
        m_camposLista << i;
    }
    m_campos->setCurrentIndex(-1);
}

void TFrameFiltro::SelecionaCampo(const QString& nome) {
    if (!m_rs) return;
    const int campo = m_rs->IndiceCampo(nome);
    const int item = m_camposLista.indexOf(campo);
    if (campo < 0 || item < 0) return;
    m_campos->setCurrentIndex(item);
    escolhe(item);
}

QString TFrameFiltro::campoAtual() const {
    return m_rs && m_campo >= 0 ? m_rs->Campos()[m_campo].nome : QString();
}

void TFrameFiltro::escolhe(int item) {
    m_campo = m_camposLista.value(item, -1);
    if (m_campo < 0) return;
    const Campo& f = m_rs->Campos()[m_campo];
    if (f.ehLookup())
        m_tipo = Tipo::Lookup;
    else
        switch (f.tipo) {
            case TipoCampo::Texto:
            case TipoCampo::Memo:
                m_tipo = Tipo::Texto;
                break;
            case TipoCampo::Data:
                m_tipo = Tipo::Data;
                break;
            case TipoCampo::DataHora:
                m_tipo = Tipo::DataHora;
                break;
            case TipoCampo::Inteiro:
                m_tipo = Tipo::Inteiro;
                break;
            case TipoCampo::Real:
            case TipoCampo::Moeda:
                m_tipo = Tipo::Decimal;
                break;
            default:
                m_tipo = Tipo::Nenhum;
                break;
        }
    LimpaFiltro();
    m_operador->setCurrentIndex(0);
    QWidget* foco = nullptr;
    switch (m_tipo) {
        case Tipo::Texto:
            m_texto->setMaxLength(f.tamanho > 0 ? f.tamanho : 32767);
            m_paginas->setCurrentWidget(m_pagTexto);
            foco = m_texto;
            break;
        case Tipo::Data:
        case Tipo::DataHora:
            m_paginas->setCurrentWidget(m_pagData);
            foco = m_dataInicial;
            break;
        case Tipo::Inteiro:
        case Tipo::Decimal: {
            const int decimais = m_tipo == Tipo::Decimal ? 2 : 0;
            if (m_numero->decimais() != decimais) {
                auto* novo = new CaixaNumero(decimais, m_pagNumero);
                novo->setObjectName(QStringLiteral("edtNumero"));
                m_pagNumero->layout()->replaceWidget(m_numero, novo);
                delete m_numero;
                m_numero = novo;
            }
            m_calculadora->setVisible(m_tipo == Tipo::Decimal);
            m_paginas->setCurrentWidget(m_pagNumero);
            foco = m_operador;
            break;
        }
        case Tipo::Lookup: {
            // A look-up list is created in place with the rows of the column's list.
            delete m_lookup;
            m_lookup = new QComboBox(m_pagLookup);
            m_lookup->setObjectName(QStringLiteral("cmbLookup"));
            const RowSet* lista = f.lookup.lista;
            const int chave = lista->IndiceCampo(f.lookup.chaveLista);
            const int texto = lista->IndiceCampo(f.lookup.resultado);
            for (int p = 0; p < lista->RecordCount(); ++p)
                m_lookup->addItem(lista->ValorNaPosicao(p, texto).toString(),
                                  lista->ValorNaPosicao(p, chave));
            m_lookup->setCurrentIndex(-1);
            m_layoutLookup->addWidget(m_lookup);
            m_paginas->setCurrentWidget(m_pagLookup);
            foco = m_lookup;
            break;
        }
        case Tipo::Nenhum:
            m_paginas->setCurrentWidget(m_pagVazia);
            break;
    }
    if (foco) foco->setFocus();
}

void TFrameFiltro::DefineFuncaoMaiusculas(const QString& nome) {
    // The name reaches the statement as text: only a plain identifier is taken.
    if (IdentificadorSimples(nome)) m_funcao = nome.toUpper();
}

void TFrameFiltro::conferePeriodo(CaixaData* caixa, const QString& mensagem) {
    if (caixa->digitos() == 8 && !caixa->data().isValid())
        MyMessageDlg(mensagem, Mensagens::Erro, Mensagens::BtOk);
}

bool TFrameFiltro::ValidaFiltro() {
    if (m_tipo != Tipo::Data && m_tipo != Tipo::DataHora) return true;
    const auto falha = [](CaixaData* caixa, const QString& texto) {
        MyMessageDlg(texto, Mensagens::Erro, Mensagens::BtOk);
        caixa->setFocus();
        return false;
    };
    const QDate inicio = m_dataInicial->data(), fim = m_dataFinal->data();
    if (!inicio.isValid()) return falha(m_dataInicial, QStringLiteral("Data inicial inválida."));
    if (!fim.isValid()) return falha(m_dataFinal, QStringLiteral("Data final inválida."));
    if (fim < inicio)
        return falha(m_dataInicial,
                     QStringLiteral("Período inválido. Data inicial posterior à data final."));
    return true;
}

QString TFrameFiltro::nomeCondicao() const {
    if (!m_rs || m_campo < 0) return QString();
    const Campo& f = m_rs->Campos()[m_campo];
    const QString nome = f.ehLookup() ? f.lookup.chaveLocal : f.nome;
    return IdentificadorSimples(nome) ? nome : QString();
}

TFrameFiltro::Condicao TFrameFiltro::MontaCondicao() const {
    const QString c = nomeCondicao();
    if (c.isEmpty()) return {};
    switch (m_tipo) {
        case Tipo::Texto: {
            const QString v = m_texto->text();
            if (v.trimmed().isEmpty()) return {};
            const bool qualquer = m_qualquerParte->isChecked();
            // SQLite's LIKE ignores the case of ASCII letters: a case-sensitive
            // condition compares with instr, which takes the text literally.
            if (m_maiusculas->isChecked())
                return {QStringLiteral("instr(%1, ?) %2")
                            .arg(c, qualquer ? QStringLiteral("> 0") : QStringLiteral("= 1")),
                        {v}};
            const QString padrao = (qualquer ? QStringLiteral("%") : QString()) +
                                   escapaLike(v.toUpper()) + QStringLiteral("%");
            return {QStringLiteral("%1(%2) LIKE ? ESCAPE '\\'").arg(m_funcao, c), {padrao}};
        }
        case Tipo::Inteiro:
        case Tipo::Decimal: {
            const QVariant n = m_numero->valor();
            if (!n.isValid()) return {};
            const QString op = m_operador->currentText().section(QLatin1Char(' '), 0, 0);
            return {c + QLatin1Char(' ') + op + QStringLiteral(" ?"), {n}};
        }
        case Tipo::Data:
        case Tipo::DataHora: {
            const QDate inicio = m_dataInicial->data(), fim = m_dataFinal->data();
            if (!inicio.isValid() || !fim.isValid() || fim < inicio) return {};
            // Whole days: from the start of the first day to before the day after the last.
            return {QStringLiteral("(%1 >= ? AND %1 < ?)").arg(c), {inicio, fim.addDays(1)}};
        }
        case Tipo::Lookup: {
            if (!m_lookup || m_lookup->currentIndex() < 0) return {};
            const int chave = m_rs->IndiceCampo(m_rs->Campos()[m_campo].lookup.chaveLocal);
            if (chave < 0) return {};
            const Campo& k = m_rs->Campos()[chave];
            const QVariant v = m_lookup->currentData();
            if (k.tipo == TipoCampo::Texto || k.tipo == TipoCampo::Memo)
                return {c + QStringLiteral(" = ?"), {v.toString()}};
            if (k.tipo == TipoCampo::Inteiro) return {c + QStringLiteral(" = ?"), {v.toLongLong()}};
            if (k.tipo == TipoCampo::Real || k.tipo == TipoCampo::Moeda)
                return {c + QStringLiteral(" = ?"), {v.toDouble()}};
            return {};
        }
        case Tipo::Nenhum:
            break;
    }
    return {};
}

void TFrameFiltro::LimpaFiltro() {
    m_dataInicial->clear();
    m_dataFinal->clear();
    m_texto->clear();
    m_numero->clear();
    m_maiusculas->setChecked(false);
    m_qualquerParte->setChecked(false);
    if (m_lookup) m_lookup->setCurrentIndex(-1);
}

void TFrameFiltro::AcrescentaCondicao(QString& sql, QVariantList& parametros,
                                      const Condicao& condicao, bool temWhere) {
    if (condicao.vazia()) return;
    sql += (temWhere ? QStringLiteral(" and ") : QStringLiteral(" WHERE ")) + condicao.texto;
    parametros += condicao.parametros;
}
