// The establishment and contract-device reports, their dialogs and the plans-using
// window, on a small database.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTest>

#include "BaseRelatorios.h"
#include "common/LeitorXlsx.h"
#include "reports/AberturasRelatorios.h"

using namespace BaseRelatorios;
using namespace ApoioRelatorios;

namespace {

// Texts of the detail rows (each row's texts in reading order), one list per row.
QVector<QStringList> linhas(const DocumentoRelatorio& d, TipoBanda tipo = TipoBanda::Detalhe) {
    QVector<QVector<const ItemTexto*>> bandas;
    quint32 banda = 0;
    // Held while their items are sorted.
    QVector<std::shared_ptr<const PaginaRelatorio>> paginas;
    for (int p = 0; p < d.NumPaginas(); ++p) {
        paginas << d.Pagina(p);
        for (const ItemTexto& i : paginas.last()->textos) {
            if (i.tipoBanda != tipo) continue;
            if (bandas.isEmpty() || i.banda != banda) bandas.push_back({});
            banda = i.banda;
            bandas.last() << &i;
        }
    }
    QVector<QStringList> r;
    for (auto& itens : bandas) {
        std::stable_sort(itens.begin(), itens.end(), [](const ItemTexto* a, const ItemTexto* b) {
            if (qAbs(a->caixa.top() - b->caixa.top()) > 10) return a->caixa.top() < b->caixa.top();
            return a->caixa.left() < b->caixa.left();
        });
        r.push_back({});
        for (const ItemTexto* i : itens) r.last() << i->texto;
    }
    return r;
}

// Texts of the detail rows in the column that starts `x` from the left margin.
QStringList colunaEm(const DocumentoRelatorio& d, qreal x) {
    QStringList r;
    for (int p = 0; p < d.NumPaginas(); ++p)
        for (const ItemTexto& i : d.Pagina(p)->textos)
            if (i.tipoBanda == TipoBanda::Detalhe && qAbs(i.caixa.left() - (100 + x)) < 0.5) r << i.texto;
    return r;
}

QStringList primeiraColuna(const QVector<QStringList>& l) {
    QStringList r;
    for (const QStringList& c : l) r << c.value(0);
    return r;
}

// The establishments of the list report.
const Estab kEstabs[] = {
    // complete, own
    {1, "11222333000181", "Beta Hospital"},
    // a CPF, contracted with type and date
    {2, "52998224725", "Ávila Clínica", "", "3", "2000", "D", "2019-03-02"},
    // an odd length: the mask of the row before
    {3, "12345678", "Zeta Laboratório", "", "2"},
    // unknown municipality: never listed
    {4, "11444777000161", "Alfa Sem Município", "", "1", "1000", "", "", "2020-01-01", "9999999"},
    // own (1000) with no contracting type: adequate
    {5, "22333444000172", "Casa Própria", "", "3", "1000", ""},
    // contracted (2000) without contracting type: not adequate
    {6, "33444555000163", "delta contratada", "", "3", "2000", "", "2019-01-01"},
    // included hospital care without CNES, linked to a plan: not adequate
    {7, "44555666000154", "Épsilon Incluído", "", "1", "1000", "", "", "2020-01-01",
     QString::number(kCampinas), "S"},
    // the same, not linked: adequate
    {8, "55666777000145", "Gama Incluído", "", "1", "1000", "", "", "2020-01-01",
     QString::number(kCampinas), "S"},
    // no start date: not adequate
    {9, "66777888000136", "Iota Sem Data", "0012343", "2", "1000", "", "", ""},
    // no classification: not adequate (and listed in both variants)
    {10, "77888999000127", "Kapa Sem Classificação", "0012343", ""},
};

QString sqlEstabs() {
    QString s;
    for (const Estab& e : kEstabs) s += e.sql();
    return s + plano(1, "PLANO A") + vinculo(7, 1);
}

class RelatoriosRede : public Base {};

}  // namespace

TEST_F(RelatoriosRede, EstablishmentListOrdersByNameOrCnpjAndLeavesOutUnknownMunicipalities) {
    inicia(sqlEstabs());
    {
        TqrpEstabSaude r(banco(), TqrpEstabSaude::Ordem::RazaoSocial, false);
        const auto d = gera(r);
        ASSERT_EQ(d->titulo, QStringLiteral("Relação de Estabelecimentos de Saúde"));
        EXPECT_TRUE(d->paisagem);
        const QStringList nomes = colunaEm(*d, 400);
        // pt-BR order: accents and case do not push names to the end.
        EXPECT_EQ(nomes, (QStringList{"Ávila Clínica", "Beta Hospital", "Casa Própria", "delta contratada",
                                      "Épsilon Incluído", "Gama Incluído", "Iota Sem Data",
                                      "Kapa Sem Classificação", "Zeta Laboratório"}));
        EXPECT_EQ(textosDe(*d, TipoBanda::Sumario),
                  QStringList{QStringLiteral("Total de estabelecimentos de saúde cadastrados: 9")});
    }
    TqrpEstabSaude r(banco(), TqrpEstabSaude::Ordem::Cnpj, false);
    const auto d = gera(r);
    const QVector<QStringList> l = linhas(*d);
    // CNPJ 14 digits, CPF 11 digits, and an odd length with the mask of the row before.
    EXPECT_EQ(primeiraColuna(l),
              (QStringList{"11.222.333/0001-81", "12.345.678", "22.333.444/0001-72", "33.444.555/0001-63",
                           "44.555.666/0001-54", "529.982.247-25", "55.666.777/0001-45",
                           "66.777.888/0001-36", "77.888.999/0001-27"}));
    // Every column of a complete contracted row.
    const QStringList avila = l[5];
    EXPECT_EQ(avila.mid(1), (QStringList{"Ávila Clínica", "Contratualizado", "SP", "SAO PAULO", "Direta",
                                         "02/03/2019", "01/01/2020", "Demais Estabelecimentos"}));
    EXPECT_TRUE(l[0].contains(QStringLiteral("Próprio")));
    EXPECT_TRUE(l[0].contains(QStringLiteral("0012343")));
    // The column titles.
    for (const char* t : {"CNPJ/CPF", "CNES", "Nome/Razão Social", "Rel. Entidade Hospitalar", "UF",
                          "Município", "Tipo Contrat.", "Data Contrat.", "Data Início Prest. Serv.",
                          "Classificação do Estabelecimento"})
        EXPECT_TRUE(textosDe(*d, TipoBanda::CabecalhoColuna).contains(QString::fromUtf8(t))) << t;
}

TEST_F(RelatoriosRede, NotAdequateListHoldsOnlyTheEstablishmentsThatBreakARule) {
    inicia(sqlEstabs());
    TqrpEstabSaude r(banco(), TqrpEstabSaude::Ordem::Cnpj, true);
    const auto d = gera(r);
    const QStringList nomes = colunaEm(*d, 400);
    EXPECT_EQ(nomes, (QStringList{"delta contratada", "Épsilon Incluído", "Iota Sem Data",
                                  "Kapa Sem Classificação"}));
    EXPECT_EQ(textosDe(*d, TipoBanda::Sumario),
              QStringList{QStringLiteral("Total de estabelecimentos de saúde cadastrados: 4")});
    // The mask of the first row printed starts from the CNPJ mask.
    EXPECT_EQ(linhas(*d)[0].value(0), QStringLiteral("33.444.555/0001-63"));
}

TEST_F(RelatoriosRede, EstablishmentListDialogPrintsWithTheChosenOptionsAndCloses) {
    inicia(sqlEstabs());
    int resultado = -1;
    PreviewVisto visto([&](QDialog& d) {
        auto* dlg = qobject_cast<TfrmDlgPrintEstabSaude*>(&d);
        EXPECT_NE(dlg, nullptr);
        if (!dlg) return int(QDialog::Rejected);
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Relação de estabelecimentos de saúde"));
        EXPECT_TRUE(dlg->rbRazaoSocial->isChecked());
        EXPECT_FALSE(dlg->chkNaoAdequados->isChecked());
        EXPECT_EQ(dlg->btnImprimir->text(), QStringLiteral("&Imprimir"));
        dlg->rbCnpj->setChecked(true);
        dlg->chkNaoAdequados->setChecked(true);
        dlg->btnImprimir->click();
        resultado = dlg->result();
        return resultado;
    });
    AbreRelacaoEstabelecimentos(nullptr);
    ASSERT_TRUE(visto.documento);
    EXPECT_EQ(resultado, int(QDialog::Accepted));
    EXPECT_EQ(linhas(*visto.documento).size(), 4);
    EXPECT_EQ(colunaEm(*visto.documento, 400).value(0), QStringLiteral("delta contratada"));
}

TEST_F(RelatoriosRede, PlansWithoutEstablishmentsCountWithTheirOwnWords) {
    // One plan without establishments; an odontological one and another operator's do not count.
    inicia(plano(1, "PLANO SEM REDE") + plano(2, "PLANO COM REDE") + plano(3, "ODONTO", 4) +
           plano(4, "DE OUTRA", 2, 2, 1, QString::fromLatin1(kOutraOperadora)) +
           Estab{1, "11222333000181", "Hospital"}.sql() + vinculo(1, 2));
    TqrpPlanosSemEstabSaude um(banco(), oper());
    auto d = gera(um);
    EXPECT_EQ(d->titulo, QStringLiteral("Relação de planos sem vínculo com estabelecimento de saúde"));
    EXPECT_EQ(textosDe(*d, TipoBanda::Detalhe), QStringList{QStringLiteral("PLANO SEM REDE")});
    EXPECT_EQ(textosDe(*d, TipoBanda::Sumario), QStringList{QStringLiteral("1  plano")});
    EXPECT_TRUE(textosDe(*d, TipoBanda::CabecalhoColuna).contains(QStringLiteral("Nome do Plano")));

    banco().executa(QStringLiteral("DELETE FROM TB_PLANOS WHERE SEQ_PLANO = 1"));
    TqrpPlanosSemEstabSaude nenhum(banco(), oper());
    EXPECT_EQ(textosDe(*gera(nenhum), TipoBanda::Sumario), QStringList{QStringLiteral("Nenhum Plano")});

    banco().executa(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 100 UNION ALL SELECT i + 1 FROM n WHERE i < 1333) "
        "INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_SEGMENTACAO) "
        "SELECT ?, i, 'PLANO ' || i, 1 FROM n"),
        {oper()});
    TqrpPlanosSemEstabSaude muitos(banco(), oper());
    d = gera(muitos);
    EXPECT_EQ(textosDe(*d, TipoBanda::Detalhe).size(), 1234);
    EXPECT_EQ(textosDe(*d, TipoBanda::Sumario), QStringList{QStringLiteral("1.234  planos")});
    EXPECT_GT(d->NumPaginas(), 20);
}

TEST_F(RelatoriosRede, EstablishmentsWithTheirPlansByCnpjTypedWithPunctuation) {
    inicia(Estab{1, "11222333000181", "Hospital Um"}.sql() +
           Estab{2, "52998224725", "Consultório Dois", "", "3", "1000", "", "", "2020-01-01", ""}.sql() +
           Estab{3, "11444777000161", "Clínica Três"}.sql() + plano(1, "PLANO B", 2, 1, 1) +
           plano(2, "PLANO A", 7, 2, 2) + plano(3, "PLANO ODONTO", 4) +
           plano(4, "PLANO DE OUTRA", 2, 2, 1, QString::fromLatin1(kOutraOperadora)) + vinculo(1, 1) +
           vinculo(1, 2) + vinculo(1, 3) + vinculo(1, 4, QString::fromLatin1(kOutraOperadora)));
    {
        TqrpEstabSaudePlanos todos(banco(), oper(), QString());
        const auto d = gera(todos);
        EXPECT_EQ(d->titulo, QStringLiteral("Relação de Estabelecimentos de Saúde e seus Planos"));
        EXPECT_TRUE(d->paisagem);
        const QVector<QStringList> estabs = linhas(*d);
        ASSERT_EQ(estabs.size(), 3);
        // By CNPJ; no municipality prints empty; the classification by name.
        EXPECT_EQ(estabs[0], (QStringList{"CNPJ/CPF", "11.222.333/0001-81", "Estabelecimento de Saúde",
                                          "Hospital Um", "SAO PAULO - SP", "Classificação",
                                          "Assistência Hospitalar"}));
        EXPECT_EQ(estabs[2].value(1), QStringLiteral("529.982.247-25"));
        EXPECT_FALSE(estabs[2].contains(QStringLiteral("SAO PAULO - SP")));
        // The plans of the first one, in the order they were linked; the others have none.
        EXPECT_EQ(linhas(*d, TipoBanda::DetalheSub),
                  (QVector<QStringList>{{"PLANO B", "Individual ou Familiar", "Hospitalar com obstetrícia", "Nacional"},
                                        {"PLANO A", "Coletivo Empresarial",
                                         "Ambulatorial + Hospitalar sem obstetrícia", "Grupo de Estados"}}));
        EXPECT_EQ(linhas(*d, TipoBanda::CabecalhoSub).size(), 3) << "every establishment shows its list";
        EXPECT_EQ(linhas(*d, TipoBanda::CabecalhoSub)[0],
                  (QStringList{"Descrição Plano", "Contratação", "Segmentação Assistencial",
                               "Abrangência Geográfica"}));
        EXPECT_TRUE(textosDe(*d, TipoBanda::CabecalhoColuna).isEmpty());
    }
    struct Caso {
        const char* digitado;
        int estabelecimentos;
    } casos[] = {{"11.222.333/0001-81", 1}, {"11222333000181", 1}, {"529.982.247-25", 1},
                 {"11.222.333/0001-8", 0},  {"' OR '1'='1", 0},   {"x') OR 1=1 --", 0}};
    for (const Caso& c : casos) {
        int visto = -1;
        PreviewVisto preview([&](QDialog& d) {
            auto* dlg = qobject_cast<TfrmDlgEstabSaudePlanos*>(&d);
            EXPECT_NE(dlg, nullptr);
            if (!dlg) return int(QDialog::Rejected);
            EXPECT_TRUE(dlg->rbTodos->isChecked());
            EXPECT_FALSE(dlg->edtCnpj->isEnabled());
            dlg->rbCnpj->setChecked(true);
            EXPECT_TRUE(dlg->edtCnpj->isEnabled());
            dlg->edtCnpj->setText(QString::fromUtf8(c.digitado));
            dlg->btnConfirmar()->click();
            return dlg->result();
        });
        AbreRelEstabComPlanos(nullptr);
        ASSERT_TRUE(preview.documento) << c.digitado;
        visto = linhas(*preview.documento).size();
        EXPECT_EQ(visto, c.estabelecimentos) << c.digitado;
    }
    EXPECT_EQ(TfrmDlgEstabSaudePlanos::SomenteNumero(QStringLiteral("11.222.333/0001-81")),
              QStringLiteral("11222333000181"));
}

TEST_F(RelatoriosRede, PlansWithTheirEstablishmentsAllOrTheOneChosen) {
    inicia(Estab{1, "52998224725", "Consultório CPF"}.sql() + Estab{2, "11222333000181", "Hospital Um"}.sql() +
           Estab{3, "11444777000161", "Clínica de Outra", "", "1", "1000", "", "", "2020-01-01",
                 QString::number(kSaoPaulo), "N", QString::fromLatin1(kOutraOperadora)}
               .sql() +
           plano(1, "Zebra Plano") + plano(2, "Ábaco Plano", 1, 3, 5) + plano(3, "Sem Rede Própria") +
           plano(4, "Odonto", 4) + vinculo(1, 1) + vinculo(2, 1) + vinculo(2, 2) + vinculo(2, 4) +
           // a link whose operator differs from the establishment's does not count
           vinculo(3, 3));
    TqrpPlanoEstabSaude todos(banco(), oper(), QVariant());
    const auto d = gera(todos);
    EXPECT_EQ(d->titulo, QStringLiteral("Relação de Planos e seus estabelecimentos de Saúde"));
    const QVector<QStringList> planos = linhas(*d);
    ASSERT_EQ(planos.size(), 2);
    EXPECT_EQ(planos[0], (QStringList{"Descrição Plano", "Contratação", "Segmentação Assistencial",
                                      "Abrangência Geográfica", "Ábaco Plano", "Coletivo por Adesão",
                                      "Ambulatorial", "Municipal"}));
    EXPECT_EQ(planos[1].value(4), QStringLiteral("Zebra Plano"));
    // Establishments by CNPJ, always with the CNPJ mask.
    EXPECT_EQ(linhas(*d, TipoBanda::DetalheSub),
              (QVector<QStringList>{{"11.222.333/0001-81", "Hospital Um", "SAO PAULO - SP", "Assistência Hospitalar"},
                                    {"11.222.333/0001-81", "Hospital Um", "SAO PAULO - SP", "Assistência Hospitalar"},
                                    {"52.998.224/725", "Consultório CPF", "SAO PAULO - SP", "Assistência Hospitalar"}}));
    EXPECT_EQ(linhas(*d, TipoBanda::CabecalhoSub)[0],
              (QStringList{"CNPJ", "Estabelecimento de Saúde - Razão Social", "Municipio - UF", "Classificação"}));

    PreviewVisto visto([&](QDialog& dlgBase) {
        auto* dlg = qobject_cast<TfrmDlgPlanoEstabSaude*>(&dlgBase);
        EXPECT_NE(dlg, nullptr);
        if (!dlg) return int(QDialog::Rejected);
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Relação de Planos e seus Estabelecimentos de Saúde"));
        EXPECT_TRUE(dlg->rbTodos->isChecked());
        EXPECT_FALSE(dlg->grdPlanos->isEnabled());
        EXPECT_EQ(dlg->grdPlanos->model()->headerData(0, Qt::Horizontal).toString(),
                  QStringLiteral("Nome comercial do plano"));
        dlg->rbPlano->setChecked(true);
        EXPECT_TRUE(dlg->grdPlanos->isEnabled());
        // The grid lists every plan of the operator by name; the cursor picks one.
        EXPECT_EQ(dlg->cdsPlanos.RecordCount(), 4);
        dlg->grdPlanos->setCurrentIndex(dlg->grdPlanos->model()->index(3, 0));
        EXPECT_EQ(dlg->cdsPlanos.Valor(QStringLiteral("NM_PLANO")).toString(), QStringLiteral("Zebra Plano"));
        dlg->btnConfirmar()->click();
        return dlg->result();
    });
    AbreRelPlanosComEstab(nullptr);
    ASSERT_TRUE(visto.documento);
    EXPECT_EQ(primeiraColuna(linhas(*visto.documento, TipoBanda::DetalheSub)),
              (QStringList{"11.222.333/0001-81", "52.998.224/725"}));
    EXPECT_EQ(linhas(*visto.documento).size(), 1);
}

TEST_F(RelatoriosRede, ContractDevicesWithThemeSentMarkAndTheValueTheirThemeCallsFor) {
    // Themes: 901 asks for a segmentation, 902 for nothing, 903 for the moderating factor
    // and is no longer in force, 904 for the financing type (not shown by the report).
    const auto tema = [](int cd, const char* nome, int ordem, const char* flag, const char* fim) {
        return QStringLiteral(
                   "INSERT INTO TA_TIPO_CLAUSULA (CD_TIPO_CLAUSULA, DE_TIPO_CLAUSULA, NR_ORDEM_EXIBICAO, "
                   "DT_PUBLICACAO_FIM, LG_TIPO_CONTRATO, LG_SEGMENTACAO, LG_FATOR_MODERADOR, LG_TIPO_FINANC) "
                   "VALUES (%1, '%2', %3, %4, 'N', '%5', '%6', '%7');")
            .arg(cd)
            .arg(QString::fromUtf8(nome))
            .arg(ordem)
            .arg(fim ? QStringLiteral("'%1'").arg(QLatin1String(fim)) : QStringLiteral("NULL"))
            .arg(QLatin1String(qstrcmp(flag, "SEG") ? "N" : "S"), QLatin1String(qstrcmp(flag, "FM") ? "N" : "S"),
                 QLatin1String(qstrcmp(flag, "FIN") ? "N" : "S"));
    };
    const auto disp = [](int cd, int tema, const char* codigo, const char* status, const char* extra) {
        return QStringLiteral(
                   "INSERT INTO TB_CLAUSULA_OPERADORA (CD_CLAUSULA_OPERADORA, CD_OPER, CD_TIPO_CLAUSULA, "
                   "CD_IDENTIFICACAO_TEXTO, DE_CLAUSULA_OPERADORA, TX_CLAUSULA_OPERADORA, CD_STATUS_ENVIO, "
                   "CD_SEGMENTACAO, CD_FATOR_MODERADOR, CD_TIPO_FINANC) VALUES (%1, '123455', %2, '%3', "
                   "'Descrição %3', 'Texto do dispositivo %3.', %4, %5);")
            .arg(cd)
            .arg(tema)
            .arg(QLatin1String(codigo), QLatin1String(status), QLatin1String(extra));
    };
    inicia(QStringLiteral("DELETE FROM TA_TIPO_CLAUSULA;") + tema(901, "SEGMENTAÇÃO", 9, "SEG", nullptr) + tema(902, "CARÊNCIAS", 14, "", nullptr) +
           tema(903, "FATOR", 4, "FM", "2010-01-01") + tema(904, "FINANCIAMENTO", 2, "FIN", nullptr) +
           disp(1, 901, "B-01", "1", "7, NULL, NULL") + disp(2, 902, "A-02", "0", "NULL, NULL, NULL") +
           disp(3, 903, "C-03", "NULL", "NULL, 'C', NULL") + disp(4, 904, "D-04", "2", "NULL, NULL, 1") +
           QStringLiteral("INSERT INTO TB_CLAUSULA_OPERADORA (CD_CLAUSULA_OPERADORA, CD_OPER, CD_TIPO_CLAUSULA, "
                          "CD_IDENTIFICACAO_TEXTO) VALUES (5, '345679', 901, 'OUTRA');"));
    TqrpDispContratuais r(*clausula, oper(), QVariant(), TdmClausula::OrdemRelDisp::CodigoIdentificacao);
    const auto d = gera(r);
    EXPECT_EQ(d->titulo, QStringLiteral("Relação de Dispositivos Contratuais"));
    // The devices, and the complementary lines printed under some of them.
    QVector<QStringList> l, complementos;
    for (const QStringList& x : linhas(*d)) (x.value(0) == QLatin1String("Tema:") ? l : complementos) << x;
    ASSERT_EQ(l.size(), 4);
    EXPECT_EQ(l[0], (QStringList{"Tema:", "XIV - CARÊNCIAS", "Código da Identificação:", "A-02",
                                 "Identificação do Texto:", "Descrição A-02", "Texto do Dispositivo:",
                                 "Texto do dispositivo A-02."}));
    EXPECT_EQ(l[1].mid(0, 6), (QStringList{"Tema:", "IX - SEGMENTAÇÃO", "Código da Identificação:", "B-01",
                                           "Dispositivo Contratual já enviado à ZUB", "Identificação do Texto:"}));
    EXPECT_EQ(l[2].mid(0, 4), (QStringList{"Tema:", "IV - FATOR", "<<< INATIVO >>>", "Código da Identificação:"}));
    EXPECT_FALSE(l[3].contains(QStringLiteral("Dispositivo Contratual já enviado à ZUB")));
    // The complementary lines: only the segmentation and the moderating factor.
    EXPECT_EQ(complementos,
              (QVector<QStringList>{{"Segmentação Assistencial: Ambulatorial + Hospitalar sem obstetrícia"},
                                    {"Fator Moderador: Co-Participação"}}));

    // By the theme's display order, one theme only through the dialog.
    TqrpDispContratuais ordem(*clausula, oper(), QVariant(), TdmClausula::OrdemRelDisp::OrdemTema);
    QStringList codigos;
    for (const QStringList& x : linhas(*gera(ordem)))
        if (x.value(0) == QLatin1String("Tema:"))
            codigos << x.value(x.indexOf(QStringLiteral("Código da Identificação:")) + 1);
    EXPECT_EQ(codigos, (QStringList{"D-04", "C-03", "B-01", "A-02"}));

    PreviewVisto visto([&](QDialog& dlgBase) {
        auto* dlg = qobject_cast<TfrmDlgPrintClausula*>(&dlgBase);
        EXPECT_NE(dlg, nullptr);
        if (!dlg) return int(QDialog::Rejected);
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Relação de Dispositivos Contratuais"));
        EXPECT_TRUE(dlg->rbCodigo->isChecked());
        QStringList temas;
        for (int i = 0; i < dlg->cmbTema->count(); ++i) temas << dlg->cmbTema->itemText(i);
        // Themes in force only, in display order.
        EXPECT_EQ(temas, (QStringList{"TODOS", "II - FINANCIAMENTO", "IX - SEGMENTAÇÃO", "XIV - CARÊNCIAS"}));
        dlg->cmbTema->setCurrentIndex(2);
        dlg->btnImprimir->click();
        return dlg->result();
    });
    AbreRelatorioDispositivos(nullptr);
    ASSERT_TRUE(visto.documento);
    ASSERT_EQ(linhas(*visto.documento).size(), 2) << "the device and its complementary line";
    EXPECT_EQ(linhas(*visto.documento)[0].value(3), QStringLiteral("B-01"));
}

TEST_F(RelatoriosRede, PlansUsingAnEstablishmentPrintsTheWindowAndExportsTheList) {
    inicia(Estab{1, "11222333000181", "Hospital Um"}.sql() + plano(1, "Zebra") + plano(2, "Alfa") +
           plano(3, "Não Vinculado") + vinculo(1, 1) + vinculo(1, 2));
    TfrmDlgConsPlanoEstab tela(1);
    EXPECT_EQ(tela.windowTitle(), QStringLiteral("Planos que utilizam o estabelecimento"));
    EXPECT_EQ(tela.edtCnpj->text(), QStringLiteral("11.222.333/0001-81"));
    EXPECT_EQ(tela.edtNome->text(), QStringLiteral("Hospital Um"));
    EXPECT_TRUE(tela.edtCnpj->isReadOnly());
    EXPECT_EQ(tela.lblQtPlanos->text(), QStringLiteral("2 Planos"));
    EXPECT_EQ(tela.grdPlanos->model()->headerData(0, Qt::Horizontal).toString(),
              QStringLiteral("Nome Comercial do Plano"));
    EXPECT_EQ(tela.grdPlanos->model()->index(0, 0).data().toString(), QStringLiteral("Alfa"));
    EXPECT_FALSE(tela.btnConfirmar()->isVisibleTo(&tela));
    EXPECT_EQ(tela.btnCancelar()->text(), QStringLiteral("Voltar a tela anterior"));

    // Printing the window: on the reports' printer, then the message.
    const QString pdf = pasta.arquivo(QStringLiteral("tela.pdf"));
    ImpressoraRelatorios().setOutputFormat(QPrinter::PdfFormat);
    ImpressoraRelatorios().setOutputFileName(pdf);
    tela.show();
    tela.btnImprimir->click();
    ImpressoraRelatorios().setOutputFileName(QString());
    EXPECT_TRUE(QFileInfo(pdf).size() > 1000);
    EXPECT_EQ(mensagens.textos(), QStringList{QStringLiteral("Tela enviada para impressora.")});

    QString aberto;
    Lancador::Tratador anterior = Lancador::define([&](Lancador::Tipo, const QString& alvo) {
        aberto = alvo;
        return true;
    });
    tela.btnExportar->click();
    Lancador::define(anterior);
    const LeitorXlsx::Planilha p = LeitorXlsx::le(aberto);
    QFile::remove(aberto);
    EXPECT_EQ(p.nomesFolhas, QStringList{QStringLiteral("11.222.333 0001-81")});
    EXPECT_EQ(p.linhas, (QVector<QStringList>{{"Nome Comercial do Plano"}, {"Alfa"}, {"Zebra"}}));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    // Esc closes.
    QTest::keyClick(&tela, Qt::Key_Escape);
    EXPECT_FALSE(tela.isVisible());
}

TEST_F(RelatoriosRede, NameOrderSortedHereMatchesTheDatabasesPortugueseOrderAcrossBatches) {
    // Names that differ by accents, case, spaces and punctuation only; more rows than
    // one batch of keys; two without a name.
    const QStringList bases{"São José", "sao jose", "Sao José", "Ávila", "avila", "d'Ávila", "Éden",
                            "Eden", "Ômega", "omega", "Açaí", "acai", "Casa-Forte", "Casa Forte", "CASA",
                            "Zé", "ze", "Ângela", "angela", "Ílhéus"};
    QString sql;
    for (int i = 0; i < 600; ++i)
        sql += QStringLiteral(
                   "INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, RAZAO_SOCIAL_ESTB_SAUD, ID_MUNC) "
                   "VALUES (%1, %2, %3);")
                   .arg(i + 1)
                   .arg(i % 97 == 5 ? QStringLiteral("NULL")
                                    : q(bases[(i * 7) % bases.size()] + QStringLiteral(" %1").arg(i % 13)))
                   .arg(i % 50 == 3 ? 9999999 : kSaoPaulo);
    inicia(sql);
    FonteOrdenada fonte(banco(), FonteOrdenada::Comparacao::PtBr, QStringLiteral("SELECT ID_ESTB_SAUD, RAZAO_SOCIAL_ESTB_SAUD FROM TB_ESTAB_SAUDE"),
                            QStringLiteral("SELECT ES.ID_ESTB_SAUD FROM TB_ESTAB_SAUDE ES INNER JOIN TB_MUNICIPIOS M "
                                           "ON M.ID_MUNC = ES.ID_MUNC WHERE ES.ID_ESTB_SAUD IN (%1)"),
                            QStringLiteral("ID_ESTB_SAUD"));
    fonte.Abre();
    QStringList aqui;
    QVariantList l;
    while (fonte.Le(l)) aqui << l.value(0).toString();
    const QStringList noBanco = Apoio::coluna(
        banco(), QStringLiteral("SELECT ES.ID_ESTB_SAUD FROM TB_ESTAB_SAUDE ES INNER JOIN TB_MUNICIPIOS M "
                                "ON M.ID_MUNC = ES.ID_MUNC "
                                "ORDER BY ES.RAZAO_SOCIAL_ESTB_SAUD COLLATE PTBR, ES.ID_ESTB_SAUD"));
    EXPECT_EQ(aqui.size(), 588);
    EXPECT_EQ(aqui, noBanco);
}

TEST_F(RelatoriosRede, ALongListLetsAnotherCopyWriteWhileItsPagesAreMade) {
    QString sql;
    for (int i = 1; i <= 300; ++i)
        sql += Estab{i, QStringLiteral("%1").arg(10000000000000LL + i), QStringLiteral("Estab %1").arg(i)}.sql();
    inicia(sql);
    for (const auto ordem : {TqrpEstabSaude::Ordem::Cnpj, TqrpEstabSaude::Ordem::RazaoSocial}) {
        TqrpEstabSaude r(banco(), ordem, false);
        r.Inicia();
        ASSERT_TRUE(r.GeraPagina());
        ASSERT_FALSE(r.Concluido());
        // Another copy of the program writes between two pages; rows not read yet show it.
        const auto outra = Apoio::abreBanco(pasta.arquivo(QStringLiteral("QEV.mdb")));
        outra->defineEsperaBloqueio(200);
        EXPECT_NO_THROW(outra->executa(QStringLiteral("UPDATE TB_ESTAB_SAUDE SET CD_CNES = '7654321'")));
        while (r.GeraPagina()) {
        }
        EXPECT_TRUE(textosDe(*r.Documento(), TipoBanda::Detalhe).contains(QStringLiteral("7654321")));
        EXPECT_EQ(textosDe(*r.Documento(), TipoBanda::Sumario),
                  QStringList{QStringLiteral("Total de estabelecimentos de saúde cadastrados: 300")});
        outra->executa(QStringLiteral("UPDATE TB_ESTAB_SAUDE SET CD_CNES = '0012343'"));
    }
}

TEST_F(RelatoriosRede, EstablishmentListCsvHasItsTenColumnsInEveryRow) {
    // Titles that wrap, an empty CNES, a CPF: every row keeps one field per column.
    inicia(Estab{2, "52998224725", "Ávila, Clínica", "", "3", "2000", "D", "2019-03-02"}.sql() +
           Estab{1, "11222333000181", "Beta Hospital"}.sql());
    TqrpEstabSaude r(banco(), TqrpEstabSaude::Ordem::RazaoSocial, false);
    const QStringList linhasCsv = gera(r)->Csv().split(QStringLiteral("\r\n"));
    ASSERT_EQ(linhasCsv.size(), 5) << linhasCsv.join('|').toStdString();  // titles, 2 rows, total, ""
    EXPECT_EQ(linhasCsv[0], QStringLiteral("CNPJ/CPF,CNES,Nome/Razão Social,Rel. Entidade Hospitalar,UF,"
                                           "Município,Tipo Contrat.,Data Contrat.,Data Início Prest. Serv.,"
                                           "Classificação do Estabelecimento"));
    EXPECT_TRUE(linhasCsv[1].startsWith(
        QStringLiteral("529.982.247-25,,\"Ávila, Clínica\",Contratualizado,SP,")))
        << linhasCsv[1].toStdString();
    EXPECT_TRUE(linhasCsv[1].contains(QStringLiteral(",Direta,02/03/2019,01/01/2020,"))) << linhasCsv[1].toStdString();
    EXPECT_TRUE(linhasCsv[2].startsWith(QStringLiteral("11.222.333/0001-81,0012343,Beta Hospital,Próprio,SP,")));
    EXPECT_TRUE(linhasCsv[2].contains(QStringLiteral(",,,01/01/2020,"))) << "no contract: two empty fields";
    EXPECT_EQ(linhasCsv[3], QStringLiteral("Total de estabelecimentos de saúde cadastrados: 2,,,,,,,,,"));
}

TEST_F(RelatoriosRede, CountsArePrintedWithTheThousandsSeparator) {
    // 1,234 establishments, all linked to the first one's 1,234 plans.
    const QString serie = QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1234) ");
    inicia(serie + QStringLiteral(
                       "INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, CD_OPER, CD_CNPJ_ESTB_SAUD, RAZAO_SOCIAL_ESTB_SAUD, "
                       "CD_CLASSIF_ESTAB_SAUDE, CD_TIPO_ESTB_SAUD, DT_VINCULO_OPER, ID_MUNC) "
                       "SELECT i, '%1', CAST(10000000000000 + i AS TEXT), 'Estab ' || i, 1, 1000, '2020-01-01', %2 FROM n;")
                       .arg(QLatin1String(kOperadora))
                       .arg(kSaoPaulo) +
           serie + QStringLiteral("INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_SEGMENTACAO, "
                                  "CD_TIPO_CONTRATO, CD_ABRANGENCIA, CD_STATUS_ENVIO) "
                                  "SELECT '%1', i, 'Plano ' || i, 2, 2, 1, 0 FROM n;")
                       .arg(QLatin1String(kOperadora)) +
           serie + QStringLiteral("INSERT INTO RL_PLANOS_ESTAB_SAUDE (CD_OPER, SEQ_PLANO, ID_ESTB_SAUD, LG_NOVO) "
                                  "SELECT '%1', i, 1, 'S' FROM n;")
                       .arg(QLatin1String(kOperadora)));
    TqrpEstabSaude r(banco(), TqrpEstabSaude::Ordem::Cnpj, false);
    EXPECT_EQ(textosDe(*gera(r), TipoBanda::Sumario),
              QStringList{QStringLiteral("Total de estabelecimentos de saúde cadastrados: 1.234")});
    TfrmDlgConsPlanoEstab tela(1);
    EXPECT_EQ(tela.lblQtPlanos->text(), QStringLiteral("1.234 Planos"));
}
