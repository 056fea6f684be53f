// The device module and the device screen: theme captions, the characteristic panel,
// the status labels, the search across operators and the browsing-only toolbar.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "FixturaDispositivos.h"
#include "apoio/Apoio.h"
#include "apoio/BaseModulos.h"
#include "common/ExecucaoModal.h"
#include "common/FrmConsulta.h"
#include "db/DmConexao.h"
#include "db/DmLookup.h"
#include "db/RowSet.h"
#include "devices/DmClausula.h"
#include "devices/FrmCadClausula.h"
#include "operator/DmZemlo.h"

namespace {
namespace F = FixturaDispositivos;

constexpr char kOperadora[] = "123455";
constexpr char kOutraOperadora[] = "345679";

// Themes of the tests besides those delivered with the database.
const F::Tema kTemasTeste[] = {
    {40, QStringLiteral("ÁREA DE ABRANGÊNCIA"), QStringLiteral("Informe a abrangência."), 33, false,
     {QStringLiteral("LG_ABRANGENCIA")}, {}},
    {41, QStringLiteral("PADRÃO DE ACOMODAÇÃO"), QString(), 34, false,
     {QStringLiteral("LG_PADRAO_ACOMODACAO")}, {}},
    {42, QStringLiteral("COBERTURAS ADICIONAIS"), QString(), 35, false,
     {QStringLiteral("LG_COBERTURA_ADICIONAL")}, {}},
    {43, QStringLiteral("FORMA DE ACESSO"), QString(), 36, false, {QStringLiteral("LG_FORMA_ACESSO")}, {}},
    // two flags: the moderating factor is tested before the financing type
    {44, QStringLiteral("FATOR E FINANCIAMENTO"), QString(), 37, false,
     {QStringLiteral("LG_TIPO_FINANC"), QStringLiteral("LG_FATOR_MODERADOR")}, {}},
    // two flags: the segmentation is tested before the coverage
    {45, QStringLiteral("SEGMENTAÇÃO E ABRANGÊNCIA"), QString(), 38, false,
     {QStringLiteral("LG_ABRANGENCIA"), QStringLiteral("LG_SEGMENTACAO")}, {}},
};

F::Dispositivo dispositivo(qlonglong codigo, qlonglong tema, const QString& id,
                           const QVariantMap& valores = {}, const char* oper = kOperadora) {
    F::Dispositivo d;
    d.codigo = codigo;
    d.cdOper = QString::fromLatin1(oper);
    d.tema = tema;
    d.identificacao = id;
    d.descricao = QStringLiteral("Descrição de ") + id;
    d.texto = QStringLiteral("Texto do dispositivo ") + id;
    d.valores = valores;
    return d;
}

class Base : public Apoio::BaseModulos {
protected:
    std::unique_ptr<TDMZemlo> zemlo;
    std::unique_ptr<TdmLookup> lookup;
    std::unique_ptr<TdmClausula> dm;

    // The database with both operators and the test themes, then `dados`, then the modules.
    void inicia(const std::function<void(Banco&)>& dados) {
        abreBanco(QStringLiteral("INSERT INTO OPERADORAS (CD_OPER, NM_RAZAO_SOCIAL, CD_GRUPO_CLASSIFICACAO) "
                                 "VALUES ('%1', 'OPERADORA TESTE', 22), ('%2', 'OUTRA', 22);")
                      .arg(QLatin1String(kOperadora), QLatin1String(kOutraOperadora)));
        for (const F::Tema& t : kTemasTeste) F::insereTema(banco(), t);
        dados(banco());
        cria(zemlo);
        cria(lookup);
        cria(dm);
    }
};

class TelaTeste : public Base {
protected:
    std::unique_ptr<TfrmCadClausula> tela;
    void abre() {
        tela = std::make_unique<TfrmCadClausula>();
        tela->show();
        QApplication::setActiveWindow(tela.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(tela.get()));
    }
    void vaiPara(qlonglong codigo) {
        ASSERT_TRUE(dm->cdsClausula()->Locate(QStringLiteral("CD_CLAUSULA_OPERADORA"), codigo));
        tela->AtualizaAcoes();
    }
    qlonglong atual() {
        return dm->cdsClausula()->Valor(QStringLiteral("CD_CLAUSULA_OPERADORA")).toLongLong();
    }
    bool visivel(QWidget* w) { return w->isVisibleTo(tela.get()); }
    void TearDown() override {
        tela.reset();
        Base::TearDown();
    }
};

TEST_F(TelaTeste, ThemeCaptionsInRomanNumeralsAndTheGuidanceOfEachTheme) {
    // Display orders 4, 9, 14 and 15 of the delivered themes.
    inicia([](Banco& b) {
        F::insere(b, dispositivo(1, 15, QStringLiteral("EXC-1")));
        F::insere(b, dispositivo(2, 19, QStringLiteral("LIV-1")));
        F::insere(b, dispositivo(3, 32, QStringLiteral("DIS-1")));
        F::insere(b, dispositivo(4, 26, QStringLiteral("COL-1")));
        F::insere(b, dispositivo(9, 15, QStringLiteral("OUTRA-1"), {}, kOutraOperadora));
    });
    abre();
    EXPECT_EQ(tela->lblTitulo()->text().trimmed(), QStringLiteral("Cadastro de Dispositivos Contratuais"));
    EXPECT_EQ(tela->lblQtRegistros()->text(), QStringLiteral("4 Registro(s)"));
    const struct {
        QString tema;
        QString orientacao;
    } esperados[] = {
        {QStringLiteral("IV - EXCLUSÕES DE COBERTURA"),
         QStringLiteral("Relacionar somente as exclusões de cobertura admitidas pela legislação, "
                        "de forma clara e destacada.")},
        {QStringLiteral("IX - ACESSO A LIVRE ESCOLHA DE PRESTADORES "),
         QStringLiteral("Informar os procedimentos com acesso à livre escolha de prestadores, a "
                        "forma de reembolso e a tabela utilizada para o seu cálculo.")},
        {QStringLiteral("XIV - DISPOSIÇÕES GERAIS"),
         QStringLiteral("Reunir as disposições gerais do contrato, como os documentos entregues "
                        "ao beneficiário e a definição dos termos utilizados.")},
        {QStringLiteral("XV - REGRAS PARA INSTRUMENTOS JURÍDICOS DE PLANOS COLETIVOS "),
         QStringLiteral("Estabelecer as regras próprias dos contratos coletivos empresariais, "
                        "como a elegibilidade dos beneficiários e a responsabilidade pelo "
                        "pagamento.")},
    };
    const int leiturasAntes = dm->LeiturasTema();
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        if (i > 0) tela->actProximo->trigger();
        EXPECT_EQ(tela->LkpTipoClausula->text(), esperados[i].tema);
        EXPECT_EQ(tela->memOrientacao->toPlainText(), esperados[i].orientacao);
        EXPECT_EQ(tela->edtCodigo->text(), dm->cdsClausula()->Valor(QStringLiteral("CD_IDENTIFICACAO_TEXTO")).toString());
    }
    EXPECT_EQ(dm->LeiturasTema() - leiturasAntes, 3) << "one theme read per device shown";
    tela->actAnterior->trigger();
    EXPECT_EQ(tela->LkpTipoClausula->text(), esperados[2].tema);
    EXPECT_EQ(tela->memOrientacao->toPlainText(), esperados[2].orientacao);
}

TEST_F(TelaTeste, CharacteristicPanelShowsTheOneValueTheThemeCallsFor) {
    const struct {
        qlonglong tema;
        QVariantMap valores;
        QString legenda;  // empty: no panel
        QString valor;
        QString flag;  // CampoCaracteristica of the theme
    } casos[] = {
        {15, {}, QString(), QString(), QString()},
        {10, {{"CD_TIPO_CONTRATO", 2}}, "Tipo Contratação", "Coletivo Empresarial", "LG_TIPO_CONTRATO"},
        {12, {{"CD_SEGMENTACAO", 4}}, "Segmentação Assistencial", "Odontológico", "LG_SEGMENTACAO"},
        {40, {{"CD_ABRANGENCIA", 3}}, "Área Geográfica de Abrangência", "Estadual", "LG_ABRANGENCIA"},
        {41, {{"CD_PADRAO_ACOMODACAO", "C"}}, "Padrão de Acomodação em Internação", "Coletiva",
         "LG_PADRAO_ACOMODACAO"},
        {24, {{"CD_FAIXA_ETARIA", "2"}}, "Faixas Etárias", "Depois da vigência da RN 63/03",
         "LG_FAIXA_ETARIA"},
        {42, {{"CD_COBERTURA_ADICIONAL", "N"}}, "Serviços e Coberturas Adicionais", "Não",
         "LG_COBERTURA_ADICIONAL"},
        {43, {{"CD_FORMA_ACESSO", "S"}}, "Forma de Acesso", "Sim", "LG_FORMA_ACESSO"},
        {25, {{"CD_FATOR_MODERADOR", "F"}}, "Fator Moderador", "Franquia", "LG_FATOR_MODERADOR"},
        {11, {{"CD_TIPO_FINANC", 3}}, "Tipo de Financiamento", "Misto", "LG_TIPO_FINANC"},
        // the first flag wins
        {44, {{"CD_FATOR_MODERADOR", "A"}, {"CD_TIPO_FINANC", 1}}, "Fator Moderador", "Ambos",
         "LG_FATOR_MODERADOR"},
        {45, {{"CD_SEGMENTACAO", 1}, {"CD_ABRANGENCIA", 1}}, "Segmentação Assistencial",
         "Ambulatorial", "LG_SEGMENTACAO"},
        // the theme calls for a value the device lacks: the panel shows it empty
        {12, {}, "Segmentação Assistencial", QString(), "LG_SEGMENTACAO"},
    };
    inicia([&](Banco& b) {
        int n = 0;
        for (const auto& c : casos) {
            ++n;
            F::insere(b, dispositivo(n, c.tema, QStringLiteral("D-%1").arg(n), c.valores));
        }
    });
    abre();
    int n = 0;
    for (const auto& c : casos) {
        ++n;
        SCOPED_TRACE(QStringLiteral("tema %1, dispositivo %2").arg(c.tema).arg(n).toStdString());
        vaiPara(n);
        EXPECT_EQ(visivel(tela->pnlDinamico), !c.legenda.isEmpty());
        if (!c.legenda.isEmpty()) {
            EXPECT_EQ(tela->lblDinamico->text(), c.legenda);
            EXPECT_EQ(tela->lkpDinamico->text(), c.valor);
        }
        EXPECT_EQ(dm->CampoCaracteristica(c.tema), c.flag);
    }
    // Stepping back, the panel follows the theme of the device before.
    tela->actAnterior->trigger();
    EXPECT_EQ(tela->lblDinamico->text(), QStringLiteral("Segmentação Assistencial"));
    EXPECT_EQ(tela->lkpDinamico->text(), QStringLiteral("Ambulatorial"));
    EXPECT_EQ(dm->CampoCaracteristica(999), QString()) << "unknown theme";
}

TEST_F(TelaTeste, StatusLabelsInTheirColours) {
    inicia([](Banco& b) {
        auto enviado = dispositivo(1, 15, QStringLiteral("ENV"));
        enviado.statusEnvio = 1;
        F::insere(b, enviado);
        F::vincula(b, QString::fromLatin1(kOperadora), 7, 1);
        F::insere(b, dispositivo(2, 15, QStringLiteral("VINC")));
        F::vincula(b, QString::fromLatin1(kOperadora), 8, 2);
        F::insere(b, dispositivo(3, 1, QStringLiteral("INAT")));  // theme 1 ended in 2009
        auto publicado = dispositivo(4, 31, QStringLiteral("PUB"));
        publicado.publicado = 1;
        publicado.statusEnvio = 2;
        F::insere(b, publicado);
        auto nada = dispositivo(5, 31, QStringLiteral("NADA"));
        nada.publicado = 0;
        F::insere(b, nada);
    });
    abre();
    const QColor navy(0x00, 0x00, 0x80);
    const struct {
        qlonglong codigo;
        QString status;
        QColor cor;
        bool inativo;
        bool publicado;
    } casos[] = {
        {1, QStringLiteral("Dispositivo já enviado à ZUB"), navy, false, false},
        {2, QStringLiteral("Dispositivo vinculado a plano"), Qt::black, false, false},
        {3, QString(), Qt::black, true, false},
        {4, QString(), Qt::black, false, true},
        {5, QString(), Qt::black, false, false},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.codigo);
        vaiPara(c.codigo);
        EXPECT_EQ(visivel(tela->lblStatus), !c.status.isEmpty());
        if (!c.status.isEmpty()) {
            EXPECT_EQ(tela->lblStatus->text(), c.status);
            EXPECT_EQ(tela->lblStatus->palette().color(QPalette::WindowText), c.cor);
        }
        EXPECT_EQ(visivel(tela->lblInativo), c.inativo);
        EXPECT_EQ(tela->lblInativo->text(), QStringLiteral("<<< INATIVO >>>"));
        EXPECT_EQ(tela->lblInativo->palette().color(QPalette::WindowText), QColor(Qt::red));
        EXPECT_TRUE(tela->lblInativo->font().bold());
        EXPECT_EQ(visivel(tela->lblPublicado), c.publicado);
        if (c.publicado) {
            EXPECT_EQ(tela->lblPublicado->text(), QStringLiteral("DISPOSITIVO PUBLICADO"));
            EXPECT_EQ(tela->lblPublicado->palette().color(QPalette::WindowText), QColor(Qt::blue));
            EXPECT_TRUE(tela->lblPublicado->font().bold());
        }
        EXPECT_EQ(dm->cdsClausula()->Valor(QStringLiteral("CalcTxPublicado")).toString(),
                  c.publicado ? QStringLiteral("DISPOSITIVO PUBLICADO") : QString());
    }
    // The links are read once per opening and released when the screen is left.
    EXPECT_TRUE(dm->DispositivoVinculado(2));
    tela->actSair->trigger();
    EXPECT_FALSE(tela->isVisible());
    EXPECT_FALSE(dm->DispositivoVinculado(2));
}

TEST_F(TelaTeste, SearchSpansOperatorsButMovesOnlyToTheOperatorsOwnDevices) {
    inicia([](Banco& b) {
        F::insere(b, dispositivo(1, 15, QStringLiteral("A-1")));
        F::insere(b, dispositivo(2, 12, QStringLiteral("B-2"), {{"CD_SEGMENTACAO", 2}}));
        auto alheio = dispositivo(3, 10, QStringLiteral("C-3"), {{"CD_TIPO_CONTRATO", 1}}, kOutraOperadora);
        alheio.statusEnvio = 1;
        F::insere(b, alheio);
    });
    abre();
    QString escolher;
    QStringList vistos;
    Modal::Tratador anterior = Modal::define([&](QDialog& d) {
        auto* c = qobject_cast<TfrmConsulta*>(&d);
        EXPECT_NE(c, nullptr);
        if (!c) return int(QDialog::Rejected);
        EXPECT_EQ(c->windowTitle(), QStringLiteral("Consulta de Dispositivo Contratual"));
        QAbstractItemModel* m = c->grdConsulta()->model();
        QStringList titulos;
        for (int i = 0; i < m->columnCount(); ++i)
            titulos << m->headerData(i, Qt::Horizontal).toString().trimmed();
        EXPECT_EQ(titulos, (QStringList{"Código da Identificação", "Descrição",
                                        "Tipo de Dispositivo Contratual", "Enviado"}));
        const int larguras[] = {200, 300, 300, 50};
        for (int i = 0; i < 4; ++i) EXPECT_EQ(c->grdConsulta()->columnWidth(i), larguras[i]);
        RowSet* rs = c->cdsConsulta();
        vistos.clear();
        for (rs->First(); !rs->Eof(); rs->Next())
            vistos << rs->Valor(QStringLiteral("CD_IDENTIFICACAO_TEXTO")).toString() + "|" +
                          rs->Valor(QStringLiteral("Enviado")).toString();
        EXPECT_TRUE(rs->Locate(QStringLiteral("CD_IDENTIFICACAO_TEXTO"), escolher));
        return int(QDialog::Accepted);
    });
    escolher = QStringLiteral("C-3");
    tela->actPesquisar->trigger();
    EXPECT_EQ(vistos, (QStringList{"A-1|", "B-2|", "C-3|Sim"})) << "every operator's devices";
    EXPECT_EQ(atual(), 1) << "another operator's device leaves the screen where it was";
    EXPECT_FALSE(visivel(tela->pnlDinamico));

    escolher = QStringLiteral("B-2");
    tela->actPesquisar->trigger();
    EXPECT_EQ(atual(), 2);
    EXPECT_EQ(tela->edtCodigo->text(), QStringLiteral("B-2"));
    EXPECT_TRUE(visivel(tela->pnlDinamico));
    EXPECT_EQ(tela->lkpDinamico->text(), QStringLiteral("Hospitalar com obstetrícia"));
    Modal::define(std::move(anterior));
    EXPECT_TRUE(mensagens.textos().isEmpty());
}

TEST_F(TelaTeste, BrowsingOnlyAndTheReportButton) {
    inicia([](Banco& b) {
        F::insere(b, dispositivo(1, 15, QStringLiteral("A-1")));
        F::insere(b, dispositivo(2, 31, QStringLiteral("A-2")));
    });
    TfrmCadClausula::Telas& telas = TfrmCadClausula::TelasRelacionadas();
    const TfrmCadClausula::Telas antes = telas;
    telas.relatorio = nullptr;
    abre();
    const auto confere = [&] {
        for (QAction* a : {tela->actAdicionar, tela->actAlterar, tela->actExcluir, tela->actImportar,
                           tela->actPlanosClausula}) {
            SCOPED_TRACE(a->objectName().toStdString());
            EXPECT_FALSE(a->isEnabled());
            EXPECT_FALSE(a->isVisible());
        }
    };
    confere();
    EXPECT_EQ(tela->actImportar->statusTip(), QStringLiteral("Importar Dispositivos Contratuais do OLVAR"));  // the hint; its tooltip adds the key
    EXPECT_EQ(tela->actPlanosClausula->statusTip(), QStringLiteral("Planos que utilizam o dispositivo"));  // the hint; its tooltip adds the key
    EXPECT_EQ(tela->actRelatorio->statusTip(), QStringLiteral("Relação de Dispositivos Contratuais"));  // the hint; its tooltip adds the key
    EXPECT_FALSE(tela->actRelatorio->isEnabled()) << "no report opener installed";
    EXPECT_TRUE(tela->actProximo->isEnabled());
    EXPECT_TRUE(tela->actPesquisar->isEnabled());
    EXPECT_TRUE(tela->actSair->isEnabled());
    EXPECT_FALSE(tela->btnConfirmar()->isVisible());
    // The boxes are read-only but readable: the data area stays enabled.
    EXPECT_TRUE(tela->pnlDados()->isEnabled());
    EXPECT_TRUE(tela->memTexto->isReadOnly());
    EXPECT_TRUE(tela->edtCodigo->isReadOnly());

    // Asking the template to enable them changes nothing at the next update.
    tela->PodeIncluir = tela->PodeAlterar = tela->PodeExcluir = true;
    tela->actAdicionar->setVisible(true);
    tela->actProximo->trigger();
    confere();

    int aberto = 0;
    telas.relatorio = [&](QWidget* pai) {
        EXPECT_EQ(pai, tela.get());
        ++aberto;
    };
    tela->AtualizaAcoes();
    EXPECT_TRUE(tela->actRelatorio->isEnabled());
    tela->actRelatorio->trigger();
    EXPECT_EQ(aberto, 1);
    // the caption names the screen and its state; an idle pass after another sets nothing
    EXPECT_EQ(tela->windowTitle(), QStringLiteral("Cadastro de Dispositivos Contratuais [Consulta]"));
    tela->AtualizaAcoes();
    EXPECT_EQ(tela->AtualizaAcoes(), 0);
    telas = antes;
}

TEST_F(TelaTeste, AnOperatorWithoutDevicesShowsAnEmptyScreen) {
    inicia([](Banco& b) { F::insere(b, dispositivo(1, 12, QStringLiteral("X"), {}, kOutraOperadora)); });
    abre();
    EXPECT_EQ(tela->lblQtRegistros()->text(), QStringLiteral("0 Registro(s)"));
    EXPECT_TRUE(tela->edtCodigo->text().isEmpty());
    EXPECT_TRUE(tela->memOrientacao->toPlainText().isEmpty());
    EXPECT_FALSE(visivel(tela->pnlDinamico));
    EXPECT_FALSE(visivel(tela->lblStatus));
    EXPECT_FALSE(visivel(tela->lblInativo));
    EXPECT_FALSE(tela->actPesquisar->isEnabled());
    EXPECT_TRUE(mensagens.textos().isEmpty());
}

}  // namespace
