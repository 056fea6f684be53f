#include "common/VinculoCampos.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "common/Entradas.h"
#include "common/MensagemDlg.h"
#include "db/RowSet.h"

VinculoCampos::VinculoCampos(RowSet* rowSet, QObject* pai) : QObject(pai), m_rs(rowSet) {
    connect(m_rs, &RowSet::registroMudou, this, &VinculoCampos::Atualiza);
    connect(m_rs, &RowSet::estadoMudou, this, &VinculoCampos::Atualiza);
    connect(m_rs, &RowSet::valorMudou, this, &VinculoCampos::mostraCampo);
}

int VinculoCampos::indice(const QString& campo) const {
    const int i = m_rs->IndiceCampo(campo);
    if (i < 0) throw ErroQev(QStringLiteral("Campo '%1' não encontrado.").arg(campo));
    return i;
}

void VinculoCampos::grava(QWidget* origem, int campo, const QVariant& valor) {
    if (!m_rs->EmEdicao()) return;
    m_gravando = origem;
    try {
        m_rs->DefineValor(campo, valor);
    } catch (const ErroQev& e) {
        m_gravando = nullptr;
        MostraErroSimples(e.mensagem());
        return;
    }
    m_gravando = nullptr;
}

void VinculoCampos::liga(QLineEdit* caixa, const QString& nome, Conversao conv) {
    const int c = indice(nome);
    const Campo& f = m_rs->Campos()[c];
    // the field's size, unless the screen chose the box's limit or mask itself
    if (f.tamanho > 0 && caixa->maxLength() == 32767 && caixa->inputMask().isEmpty())
        caixa->setMaxLength(f.tamanho);
    if (!conv.deTexto) conv.deTexto = [](const QString& t) { return QVariant(t); };
    auto mostra = [this, caixa, c, conv] {
        const QVariant v = m_rs->Valor(c);
        const QString t =
            conv.paraTexto ? conv.paraTexto(v) : RowSet::Formata(m_rs->Campos()[c].tipo, v);
        if (caixa->text() != t) caixa->setText(t);
    };
    connect(caixa, &QLineEdit::textEdited, this,
            [this, caixa, c, conv](const QString& t) { grava(caixa, c, conv.deTexto(t)); });
    m_ligacoes.push_back({caixa, c, mostra});
    mostra();
}

void VinculoCampos::liga(CaixaData* caixa, const QString& nome) {
    const int c = indice(nome);
    auto mostra = [this, caixa, c] {
        const QVariant v = m_rs->Valor(c);
        QDate d;
        if (v.typeId() == QMetaType::QDate)
            d = v.toDate();
        else if (v.typeId() == QMetaType::QDateTime)
            d = v.toDateTime().date();
        if (d != caixa->data() || (!d.isValid() && !caixa->vazia())) caixa->defineData(d);
    };
    connect(caixa, &QLineEdit::textEdited, this, [this, caixa, c] {
        const QDate d = caixa->data();
        grava(caixa, c, d.isValid() ? QVariant(d) : QVariant());
    });
    m_ligacoes.push_back({caixa, c, mostra});
    mostra();
}

void VinculoCampos::liga(QComboBox* lista, const QString& nome) {
    const int c = indice(nome);
    auto mostra = [this, lista, c] {
        const QVariant v = m_rs->Valor(c);
        int i = -1;
        if (v.isValid() && !v.isNull())
            for (int k = 0; k < lista->count() && i < 0; ++k)
                if (lista->itemData(k).toString() == v.toString()) i = k;
        if (lista->currentIndex() != i) lista->setCurrentIndex(i);
    };
    connect(lista, &QComboBox::activated, this,
            [this, lista, c](int i) { grava(lista, c, lista->itemData(i)); });
    m_ligacoes.push_back({lista, c, mostra});
    mostra();
}

void VinculoCampos::liga(QCheckBox* caixa, const QString& nome, const QVariant& marcado,
                         const QVariant& desmarcado) {
    const int c = indice(nome);
    auto mostra = [this, caixa, c, marcado] {
        caixa->setChecked(m_rs->Valor(c).toString() == marcado.toString());
    };
    connect(caixa, &QCheckBox::clicked, this, [this, caixa, c, marcado, desmarcado](bool v) {
        grava(caixa, c, v ? marcado : desmarcado);
    });
    m_ligacoes.push_back({caixa, c, mostra});
    mostra();
}

void VinculoCampos::Atualiza() {
    for (const Ligacao& l : m_ligacoes)
        if (l.caixa) l.mostra();
}

void VinculoCampos::mostraCampo(int campo) {
    for (const Ligacao& l : m_ligacoes)
        if (l.caixa && l.campo == campo && l.caixa != m_gravando) l.mostra();
}

QWidget* VinculoCampos::caixaDoCampo(const QString& nome) const {
    const int c = m_rs->IndiceCampo(nome);
    for (const Ligacao& l : m_ligacoes)
        if (l.campo == c) return l.caixa;
    return nullptr;
}
