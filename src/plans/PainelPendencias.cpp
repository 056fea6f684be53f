#include "plans/PainelPendencias.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

DestinoPendencia DestinoDaPendencia(const QString& campo) {
    using Aba = TEdicaoPlano::Aba;
    struct Lugar {
        const char* campo;
        Aba aba;
        const char* controle;
    };
    // The labels of the checks, as they write them.
    static const Lugar lugares[] = {
        {"Tipo de Segmentação", Aba::DadosGerais, "dblkpSegmentacao"},
        {"Cód.Segmentação", Aba::DadosGerais, "dblkpSegmentacao"},
        {"Tipo de Contratação", Aba::DadosGerais, "dblkpContraracao"},
        {"Cód.Tipo Contrato", Aba::DadosGerais, "dblkpContraracao"},
        {"Cód.Abrangência", Aba::DadosGerais, "dblkpAbrangencia"},
        {"Código Operadora", Aba::DadosGerais, "dbedtNome"},
        {"Sequencial do Plano", Aba::DadosGerais, "dbedtNome"},
        {"Descrição do Plano", Aba::DadosGerais, "dbedtNome"},
        {"Formação de Preço", Aba::DadosGerais, "rbtPreEstabelecido"},
        {"Opções de pós-estabelecido", Aba::DadosGerais, "rbtRateio"},
        {"Padrão de Acomodação", Aba::DadosGerais, "rbtIndividual"},
        {"Plano Referência", Aba::Servicos, "lstServicos"},
        {"Plano opera exclusivamente como Livre Escolha", Aba::DadosGerais, "rbtLivreSim"},
        {"Livre escolha de prestadores", Aba::LivreEscolha, "lstReembolso"},
        {"Área de Atuação", Aba::AreaAtuacao, "area"},
        {"Nota Técnica", Aba::NotasTecnicas, "dbgNotaTecnica"},
        {"Nome Arquivo da Nota Técnica", Aba::NotasTecnicas, "dbgNotaTecnica"},
        {"Data protocolo da Nota Técnica", Aba::NotasTecnicas, "dbgNotaTecnica"},
        {"Taxa Registro", Aba::Taxa, "dbgTaxaRegistro"},
        {"Número do Documento de Pagamento", Aba::Taxa, "dbgTaxaRegistro"},
        {"Estabelecimentos de Saúde", Aba::Rede, "dbgHospSele"},
        {"Vinculação de Rede", Aba::Rede, "dbgHospSele"},
        {"Rede Vinculada/Livre Escolha", Aba::Rede, "dbgHospSele"},
        {"Rede Operadora Plano Odontológico", Aba::Rede, "dbgHospSele"},
        // an establishment's own fields: the linked establishments' grid
        {"C.N.P.J", Aba::Rede, "dbgHospSele"},
        {"CNES", Aba::Rede, "dbgHospSele"},
        {"CPF", Aba::Rede, "dbgHospSele"},
        {"CPF/CNPJ ou CNES", Aba::Rede, "dbgHospSele"},
        {"CPF/CNPJ", Aba::Rede, "dbgHospSele"},
        {"Data de início da prestação do serviço", Aba::Rede, "dbgHospSele"},
        {"Disponibilidade de Serviços", Aba::Rede, "dbgHospSele"},
        {"Razão Social", Aba::Rede, "dbgHospSele"},
        {"Registro ZUB da Operadora intermediária", Aba::Rede, "dbgHospSele"},
        {"Tipo de Contratualização", Aba::Rede, "dbgHospSele"},
        {"UF / Município", Aba::Rede, "dbgHospSele"},
        {"Vínculo da Rede", Aba::Rede, "dbgHospSele"},
    };
    const QString c = campo.trimmed();
    for (const Lugar& l : lugares)
        if (c == QString::fromUtf8(l.campo)) return {l.aba, QString::fromLatin1(l.controle)};
    // an establishment's rows carry its identification in the label
    if (c.startsWith(QStringLiteral("Estabelecimentos de Saúde (")) || c.startsWith(QStringLiteral("Estb. Saúde (")))
        return {Aba::Rede, QStringLiteral("dbgHospSele")};
    if (c.contains(QStringLiteral("Nota Técnica"))) return {Aba::NotasTecnicas, QStringLiteral("dbgNotaTecnica")};
    return {};
}

TPainelPendencias::TPainelPendencias(QWidget* pai) : QFrame(pai) {
    setObjectName(QStringLiteral("pnlPendencias"));
    setFrameShape(QFrame::StyledPanel);
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(8, 4, 8, 4);
    l->setSpacing(4);
    auto* topo = new QHBoxLayout;
    m_rotulo = new QLabel(this);
    m_rotulo->setObjectName(QStringLiteral("lblPendencias"));
    QFont f = m_rotulo->font();
    f.setBold(true);
    m_rotulo->setFont(f);
    auto* fecha = new QToolButton(this);
    fecha->setObjectName(QStringLiteral("btnFechaPendencias"));
    fecha->setText(QStringLiteral("×"));
    fecha->setToolTip(QStringLiteral("Fechar a lista de pendências (Esc)"));
    fecha->setAutoRaise(true);
    connect(fecha, &QToolButton::clicked, this, &QWidget::hide);
    topo->addWidget(m_rotulo, 1);
    topo->addWidget(fecha);
    l->addLayout(topo);
    m_lista = new QTreeWidget(this);
    m_lista->setObjectName(QStringLiteral("lstPendencias"));
    m_lista->setRootIsDecorated(false);
    m_lista->setUniformRowHeights(true);
    m_lista->setAlternatingRowColors(true);
    m_lista->setHeaderLabels({QStringLiteral("Campo"), QStringLiteral("Pendência")});
    m_lista->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_lista->header()->setStretchLastSection(true);
    m_lista->setMaximumHeight(150);
    m_lista->setToolTip(QStringLiteral("Duplo clique ou Enter: ir ao campo da pendência"));
    m_lista->installEventFilter(this);
    installEventFilter(this);
    connect(m_lista, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* i) {
        if (i) emit irPara(i->text(0));
    });
    l->addWidget(m_lista);
    hide();
}

void TPainelPendencias::Mostra(const QVector<PendenciaPlano>& pendencias) {
    m_lista->clear();
    for (const PendenciaPlano& p : pendencias) {
        auto* i = new QTreeWidgetItem(m_lista, {p.campo.trimmed(), p.mensagem.trimmed()});
        i->setToolTip(1, p.mensagem.trimmed());
    }
    m_rotulo->setText(pendencias.isEmpty()
                          ? TextoSemPendencias()
                          : (pendencias.size() == 1 ? QStringLiteral("1 pendência impede o envio do plano:")
                                                    : QStringLiteral("%1 pendências impedem o envio do plano:")
                                                          .arg(pendencias.size())));
    m_lista->setVisible(!pendencias.isEmpty());
    show();
    ativa();
}

void TPainelPendencias::ativa() {
    if (m_lista->isVisible() && m_lista->topLevelItemCount() > 0) {
        m_lista->setCurrentItem(m_lista->topLevelItem(0));
        m_lista->setFocus();
    } else {
        setFocus();
    }
}

void TPainelPendencias::Limpa() {
    m_lista->clear();
    m_rotulo->clear();
    hide();
}

bool TPainelPendencias::Vazio() const { return m_lista->topLevelItemCount() == 0 && m_rotulo->text().isEmpty(); }

bool TPainelPendencias::eventFilter(QObject* alvo, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Escape && k->modifiers() == Qt::NoModifier) {
            hide();
            return true;  // the screen's own Escape (cancel) is not meant
        }
        if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && alvo == m_lista && m_lista->currentItem()) {
            emit irPara(m_lista->currentItem()->text(0));
            return true;
        }
    }
    return QFrame::eventFilter(alvo, e);
}
