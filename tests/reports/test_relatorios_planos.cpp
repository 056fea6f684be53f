// The plan reports: the detailed report with its dialog and sections, the plans sent
// and not sent, the request errors by plan, and the template's header and operator band.
#include <QCheckBox>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

#include "BaseRelatorios.h"
#include "common/Versao.h"
#include "reports/AberturasRelatorios.h"
#include "reports/QrpSolicitaRegPlano.h"

using namespace BaseRelatorios;
using namespace ApoioRelatorios;

namespace {

// A plan with its general data, through the columns given ("" = NULL).
QString planoCompleto(int seq, const QString& nome, const QMap<QString, QString>& colunas) {
    QStringList nomes{"CD_OPER", "SEQ_PLANO", "NM_PLANO"};
    QStringList valores{q(QString::fromLatin1(kOperadora)), QString::number(seq), q(nome)};
    for (auto it = colunas.begin(); it != colunas.end(); ++it) {
        nomes << it.key();
        valores << (it.value().isEmpty() ? QStringLiteral("NULL") : it.value());
    }
    return QStringLiteral("INSERT INTO TB_PLANOS (%1) VALUES (%2);").arg(nomes.join(','), valores.join(','));
}

OpcoesRelatorioPlanos nenhuma() {
    OpcoesRelatorioPlanos o;
    o.livreEscolha = o.instrumentoJuridico = o.notasTecnicas = o.areaAtuacao = o.servicosAdicionais =
        o.taxaRegistro = false;
    return o;
}

// The texts of the body of each page (page header and operator band left out).
QVector<QStringList> corpos(const DocumentoRelatorio& d) {
    QVector<QStringList> r;
    for (int p = 0; p < d.NumPaginas(); ++p) {
        r.push_back({});
        for (const ItemTexto& i : d.Pagina(p)->textos)
            if (i.tipoBanda != TipoBanda::CabecalhoPagina) r.last() << i.texto;
    }
    return r;
}

// Three plans: A of individual contracting without links, B individual with one
// link, C corporate with two links.
const QString kTresPlanos =
    planoCompleto(1, "Plano A", {{"CD_TIPO_CONTRATO", "1"}, {"CD_SEGMENTACAO", "1"}, {"CD_ABRANGENCIA", "1"},
                                 {"CD_TIPO_FINANC", "2"}, {"CD_OPCAO_POS_ESTABELECIDO", "'C'"},
                                 {"LG_VB_VINCULO_ATIVO", "'N'"}, {"LG_VB_VINCULO_INATIVO", "'N'"},
                                 {"LG_VB_SEM_VINCULO", "'N'"}, {"CD_PADRAO_ACOMODACAO", "'I'"},
                                 {"LG_FM_COPARTICIPACAO", "'S'"}, {"LG_FM_FRANQUIA", "'S'"},
                                 {"CD_PARTC_FINANC_PJ", "'S'"}, {"LG_TOTAL_LIVRE_ESCOLHA", "'N'"}}) +
    planoCompleto(2, "Plano B", {{"CD_TIPO_CONTRATO", "1"}, {"CD_SEGMENTACAO", "2"}, {"CD_ABRANGENCIA", "3"},
                                 {"LG_VB_VINCULO_ATIVO", "'S'"}, {"LG_FM_COPARTICIPACAO", "'N'"},
                                 {"LG_FM_FRANQUIA", "'N'"}, {"CD_PARTC_FINANC_PJ", "'C'"},
                                 {"LG_TOTAL_LIVRE_ESCOLHA", "'S'"}}) +
    planoCompleto(3, "Plano C", {{"CD_TIPO_CONTRATO", "2"}, {"CD_SEGMENTACAO", "7"}, {"CD_ABRANGENCIA", "2"},
                                 {"CD_TIPO_FINANC", "1"}, {"LG_VB_VINCULO_ATIVO", "'S'"},
                                 {"LG_VB_SEM_VINCULO", "'S'"}});

class RelatoriosPlanos : public Base {};

}  // namespace

TEST_F(RelatoriosPlanos, WithAllBoxesClearedThePlansFollowEachOtherWithTheirGeneralData) {
    inicia(kTresPlanos);
    TqrpPlanos r(banco(), oper(), std::nullopt, nenhuma());
    const auto d = gera(r);
    ASSERT_EQ(d->NumPaginas(), 1);
    const QStringList t = corpos(*d)[0];
    EXPECT_EQ(t.count(QStringLiteral("Dados Gerais")), 3);
    EXPECT_EQ(textosDe(*d, TipoBanda::CabecalhoGrupo),
              (QStringList{"Plano :Plano A", "Plano :Plano B", "Plano :Plano C"}));
    const auto plano = [&](int i) {
        const int de = t.indexOf(QStringLiteral("Plano :Plano %1").arg(QChar('A' + i)));
        const int ate = i < 2 ? t.indexOf(QStringLiteral("Plano :Plano %1").arg(QChar('B' + i))) : t.size();
        return t.mid(de + 1, ate - de - 1);
    };
    EXPECT_EQ(plano(0), (QStringList{"Dados Gerais", "Contratação :", "Individual ou Familiar",
                                     "Abrangência Geográfica :", "Nacional", "Segmentação Assistencial :",
                                     "Ambulatorial", "Formação do Preço :", "Pós-Estabelecido",
                                     "Opção Pós-Estabelecido :", "Custo Operacional", "Padrão de Acomodação :",
                                     "Individual", "Fator moderador :", "Co-participação, Franquia",
                                     "Participação Financeira da Contratante :", "Sem Patrocinio",
                                     "Plano opera exclusivamente como Livre Escolha?", "Não"}));
    // Individual contracting: the beneficiary line without its label.
    EXPECT_EQ(plano(1).mid(7), (QStringList{"Com vínculo empregatício ativo",
                                            "Participação Financeira da Contratante :", "Com Patrocinio",
                                            "Plano opera exclusivamente como Livre Escolha?", "Sim"}));
    EXPECT_EQ(plano(2).mid(7), (QStringList{"Formação do Preço :", "Pré-Estabelecido", "Vínculo do Beneficiário :",
                                            "Com vínculo empregatício ativo, Sem vínculo empregatício"}));
}

TEST_F(RelatoriosPlanos, SectionsFollowTheGeneralDataEachPlanOnItsOwnPages) {
    QString sql = kTresPlanos;
    // Plan C (coverage 2): every section, states for its area, 25 devices to fill pages.
    sql += QStringLiteral(
        "INSERT INTO RL_PLANO_TAXA_REGISTRO (CD_OPER, SEQ_PLANO, ID_PLANO_TAXA_REGISTRO, NR_DOCUMENTO_TAXA) "
        "VALUES ('123455', 3, 1, '12345678901234567890');"
        "INSERT INTO RL_PLANOS_TIPO_COBERTURA (CD_OPER, SEQ_PLANO, CD_TIPO_COBERTURA) VALUES ('123455', 3, 2);"
        "INSERT INTO RL_PLANOS_TIPO_COBERTURA (CD_OPER, SEQ_PLANO, CD_TIPO_COBERTURA) VALUES ('123455', 3, 1);"
        "INSERT INTO RL_PLANOS_SERV_OPC (CD_OPER, SEQ_PLANO, CD_SERV_OPCIONAL, DE_SERV_OPCIONAL) "
        "VALUES ('123455', 3, 3, 'Até 30 dias por ano');"
        "INSERT INTO RL_PLANOS_SERV_OPC (CD_OPER, SEQ_PLANO, CD_SERV_OPCIONAL, DE_SERV_OPCIONAL) "
        "VALUES ('123455', 3, 7, '   ');"
        "INSERT INTO RL_PLANO_NOTA_TECNICA (CD_OPER, SEQ_PLANO, ID_PLANO_NOTA_TECNICA, "
        "NR_PROTOCOLO_NOTA_TECNICA, NM_ARQUIVO_NOTA_TECNICA, DT_PROTOCOLO) "
        "VALUES ('123455', 3, 1, '4455', '123455000000001150624100000.nta', '2024-06-15');"
        "INSERT INTO RL_PLANOS_UF (CD_OPER, SEQ_PLANO, CD_UF) VALUES ('123455', 3, 'SP');"
        "INSERT INTO RL_PLANOS_UF (CD_OPER, SEQ_PLANO, CD_UF) VALUES ('123455', 3, 'MG');"
        "INSERT INTO RL_PLANOS_MUNICIPIO (CD_OPER, SEQ_PLANO, ID_MUNC) VALUES ('123455', 3, 3550308);"
        "INSERT INTO TA_TIPO_CLAUSULA (CD_TIPO_CLAUSULA, DE_TIPO_CLAUSULA, NR_ORDEM_EXIBICAO, "
        "DT_PUBLICACAO_FIM) VALUES (901, 'CARÊNCIAS', 14, '2010-01-01');"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 25) "
        "INSERT INTO TB_CLAUSULA_OPERADORA (CD_CLAUSULA_OPERADORA, CD_OPER, CD_TIPO_CLAUSULA, "
        "CD_IDENTIFICACAO_TEXTO, DE_CLAUSULA_OPERADORA, TX_CLAUSULA_OPERADORA) "
        "SELECT 1000 + i, '123455', 901, 'COD-' || i, 'Descrição ' || i, "
        "'Texto longo do dispositivo ' || i || ' que ocupa algumas linhas do relatório.' FROM n;"
        "INSERT INTO RL_PLANO_CLAUSULA (CD_OPER, SEQ_PLANO, CD_CLAUSULA_OPERADORA) "
        "SELECT '123455', 3, CD_CLAUSULA_OPERADORA FROM TB_CLAUSULA_OPERADORA;"
        // a link to a device that is not the operator's: its values print empty
        "INSERT INTO RL_PLANO_CLAUSULA (CD_OPER, SEQ_PLANO, CD_CLAUSULA_OPERADORA) VALUES ('123455', 3, 777);");
    inicia(sql);
    TqrpPlanos r(banco(), oper(), std::nullopt, OpcoesRelatorioPlanos{});
    const auto d = gera(r);
    const QVector<QStringList> paginas = corpos(*d);
    ASSERT_GE(paginas.size(), 4);
    // A and B have no section rows: one page each, general data only.
    EXPECT_EQ(paginas[0].first(), QStringLiteral("Plano :Plano A"));
    EXPECT_EQ(paginas[1].first(), QStringLiteral("Plano :Plano B"));
    for (const QString& secao : {QStringLiteral("Livre Escolha"), QStringLiteral("Área de atuação")})
        EXPECT_FALSE(paginas[0].contains(secao) || paginas[1].contains(secao));
    // C starts a page and its name heads every page of it.
    for (int p = 2; p < paginas.size(); ++p)
        EXPECT_EQ(paginas[p].first(), QStringLiteral("Plano :Plano C")) << "página " << p + 1;
    QStringList c;
    for (int p = 2; p < paginas.size(); ++p) c << paginas[p];
    // The sections in their order.
    QList<int> posicoes;
    for (const char* s : {"Dados Gerais", "Taxa de Registro", "Livre Escolha", "Serviços e coberturas adicionais",
                          "Instrumento Jurídico", "Notas Técnicas", "Área de atuação"})
        posicoes << c.indexOf(QString::fromUtf8(s));
    EXPECT_FALSE(posicoes.contains(-1));
    EXPECT_TRUE(std::is_sorted(posicoes.begin(), posicoes.end()));
    const auto depois = [&](const char* titulo, int n) {
        return c.mid(c.indexOf(QString::fromUtf8(titulo)) + 1, n);
    };
    EXPECT_EQ(depois("Taxa de Registro", 2),
              (QStringList{"Número do Documento de Pagamento:", "12345678901234567890"}));
    EXPECT_EQ(depois("Livre Escolha", 2), (QStringList{"Consulta Médica", "Exames Complementares"}));
    EXPECT_EQ(depois("Serviços e coberturas adicionais", 3),
              (QStringList{"Atendimento domiciliar (home care)", "Até 30 dias por ano",
                           "Assistência em viagem ao exterior"}));
    EXPECT_EQ(depois("Instrumento Jurídico", 9),
              (QStringList{"Tema:", "XIV - CARÊNCIAS", "<<< INATIVO >>>", "Código da Identificação :", "COD-1",
                           "Identificação do Texto :", "Descrição 1", "Texto do Dispositivo :",
                           "Texto longo do dispositivo 1 que ocupa algumas linhas do relatório."}));
    EXPECT_EQ(depois("Notas Técnicas", 6),
              (QStringList{"Protocolo de Incorporação :", "4455", "Nome do Arquivo :",
                           "123455000000001150624100000.nta", "Data do Protocolo :", "15/06/2024"}));
    // Coverage 2: the states, not the municipality.
    EXPECT_EQ(c.mid(c.indexOf(QStringLiteral("Área de atuação")) + 1),
              (QStringList{"MG-Minas Gerais", "SP-São Paulo"}));
    // The device that is not the operator's: empty values.
    const int ultimo = c.lastIndexOf(QStringLiteral("Tema:"));
    EXPECT_EQ(c.mid(ultimo, 4), (QStringList{"Tema:", "Código da Identificação :", "Identificação do Texto :",
                                             "Texto do Dispositivo :"}));
}

TEST_F(RelatoriosPlanos, DialogReportsOnePlanWithTheSectionsChosenOnScreenOrPrinter) {
    inicia(kTresPlanos +
           QStringLiteral("INSERT INTO RL_PLANOS_TIPO_COBERTURA (CD_OPER, SEQ_PLANO, CD_TIPO_COBERTURA) "
                          "VALUES ('123455', 2, 4);"
                          "INSERT INTO RL_PLANO_TAXA_REGISTRO (CD_OPER, SEQ_PLANO, ID_PLANO_TAXA_REGISTRO, "
                          "NR_DOCUMENTO_TAXA) VALUES ('123455', 2, 1, '999');"));
    PreviewVisto visto([&](QDialog& base) {
        auto* dlg = qobject_cast<TfrmDlgRelatorioPlanos*>(&base);
        EXPECT_NE(dlg, nullptr);
        if (!dlg) return int(QDialog::Rejected);
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Relatório de Planos"));
        EXPECT_EQ(dlg->lblPlano->text(), QStringLiteral("Plano B"));
        for (QCheckBox* c : dlg->findChildren<QCheckBox*>()) EXPECT_TRUE(c->isChecked()) << c->text().toStdString();
        EXPECT_EQ(dlg->findChildren<QCheckBox*>().size(), 6);
        EXPECT_TRUE(dlg->rbVideo->isChecked());
        dlg->chkTaxaRegistro->setChecked(false);
        dlg->btnConfirmar()->click();
        return dlg->result();
    });
    AbreRelatorioPlano(nullptr, 2);
    ASSERT_TRUE(visto.documento);
    const QStringList t = textos(*visto.documento);
    EXPECT_TRUE(t.contains(QStringLiteral("Plano :Plano B")));
    EXPECT_FALSE(t.contains(QStringLiteral("Plano :Plano A")));
    EXPECT_TRUE(t.contains(QStringLiteral("Terapias")));
    EXPECT_FALSE(t.contains(QStringLiteral("Taxa de Registro")));
    EXPECT_EQ(visto.titulo, QStringLiteral("Preview de relatórios")) << "the report has no title of its own";

    // Rows the plan screen has not saved are printed instead of the database's.
    DadosPlanoAbertos abertos;
    abertos.coberturas = [] {
        return std::make_unique<FonteResultado>(
            tabela({QStringLiteral("DE_TIPO_COBERTURA")}, {{"Dentística"}, {"Periodontia"}}));
    };
    OpcoesRelatorioPlanos opcoes = nenhuma();
    opcoes.livreEscolha = true;
    TqrpPlanos comAbertos(banco(), oper(), 2, opcoes, abertos);
    const QStringList ta = textos(*gera(comAbertos));
    EXPECT_TRUE(ta.contains(QStringLiteral("Periodontia")));
    EXPECT_FALSE(ta.contains(QStringLiteral("Terapias")));

    // "impressora": printed at once, no preview.
    const QString pdf = pasta.arquivo(QStringLiteral("planos.pdf"));
    ImpressoraRelatorios().setOutputFormat(QPrinter::PdfFormat);
    ImpressoraRelatorios().setOutputFileName(pdf);
    PreviewVisto impresso([&](QDialog& base) {
        auto* dlg = qobject_cast<TfrmDlgRelatorioPlanos*>(&base);
        if (!dlg) return int(QDialog::Rejected);
        EXPECT_EQ(dlg->lblPlano->text(), QStringLiteral("TODOS"));
        dlg->rbImpressora->setChecked(true);
        dlg->btnConfirmar()->click();
        return dlg->result();
    });
    AbreRelatorioPlanos(nullptr);
    ImpressoraRelatorios().setOutputFileName(QString());
    EXPECT_EQ(impresso.vezes, 0);
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromLatin1(f.readAll()).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))), 3);
    EXPECT_TRUE(mensagens.textos().isEmpty()) << mensagens.textos().join('|').toStdString();
}

TEST_F(RelatoriosPlanos, PlansSentAndNotSentWithTheLatestResendProtocol) {
    const auto p = [](int seq, const char* nome, const char* status, int seg = 2) {
        return plano(seq, QString::fromUtf8(nome), seg, 2, 1, QString::fromLatin1(kOperadora),
                     QString::fromLatin1(status));
    };
    inicia(p(1, "Zebra Enviado", "1") + p(2, "Ávila Retificação", "2") + p(3, "Não Enviado", "0") +
           p(4, "Sem Situação", "") + p(5, "Código Inexistente", "1", 99) +
           plano(6, "De Outra", 2, 2, 1, QString::fromLatin1(kOutraOperadora), QStringLiteral("1")) +
           QStringLiteral(
               "UPDATE TB_PLANOS SET NR_PROTOCOLO_REGISTRO = '4711', "
               "DT_PROTOCOLO_REGISTRO = '2023-12-01 09:30:00' WHERE SEQ_PLANO = 1;"
               "INSERT INTO TB_PLANOS_PROTOCOLOS VALUES ('123455', 1, 'PR1', '2024-01-01 08:00:00');"
               "INSERT INTO TB_PLANOS_PROTOCOLOS VALUES ('123455', 1, 'PR2', '2024-03-01 08:00:00');"
               "INSERT INTO TB_PLANOS_PROTOCOLOS VALUES ('123455', 1, 'PR3', '2024-02-01 08:00:00');"));
    TqrpPlanosExportados enviados(banco(), oper(), true);
    const auto d = gera(enviados);
    EXPECT_EQ(d->titulo, QStringLiteral("Relação de Planos enviados"));
    const QStringList detalhes = textosDe(*d, TipoBanda::Detalhe);
    EXPECT_EQ(detalhes, (QStringList{"Ávila Retificação", "Coletivo Empresarial", "Hospitalar com obstetrícia",
                                     "Nacional", "Zebra Enviado", "Coletivo Empresarial",
                                     "Hospitalar com obstetrícia", "Nacional", "4711", "01/12/2023 09:30:00",
                                     "PR2", "01/03/2024 08:00:00"}));
    EXPECT_EQ(textosDe(*d, TipoBanda::Sumario), QStringList{QStringLiteral("2  Planos")});
    const QStringList titulos = textosDe(*d, TipoBanda::CabecalhoColuna);
    for (const char* t : {"Nome Comercial", "Contratação", "Segmentação Assistencial", "Abrangência Geográfica",
                          "Número do  Protocolo Original", "Data do Protocolo Original",
                          "Número do Protocolo de Reenvio", "Data do Protocolo de Reenvio"})
        EXPECT_TRUE(titulos.contains(QString::fromUtf8(t))) << t;
    const QStringList rodape = textosDe(*d, TipoBanda::RodapePagina);
    ASSERT_EQ(rodape.size(), 1);
    EXPECT_TRUE(rodape[0].startsWith(QStringLiteral("Toda solicitação de Registro de Produto enviada à ZUB")));
    EXPECT_TRUE(rodape[0].endsWith(QStringLiteral("\"Verificação de Incorporação de Dados\", no site da ZUB.")));

    TqrpPlanosExportados naoEnviados(banco(), oper(), false);
    const auto n = gera(naoEnviados);
    EXPECT_EQ(n->titulo, QStringLiteral("Relação de Planos não enviados"));
    EXPECT_EQ(textosDe(*n, TipoBanda::Detalhe).value(0), QStringLiteral("Não Enviado"));
    EXPECT_EQ(textosDe(*n, TipoBanda::Detalhe).size(), 4);
    EXPECT_EQ(textosDe(*n, TipoBanda::Sumario), QStringList{QStringLiteral("1  Plano")});
    EXPECT_TRUE(textosDe(*n, TipoBanda::RodapePagina).isEmpty());
    EXPECT_FALSE(textosDe(*n, TipoBanda::CabecalhoColuna).contains(QStringLiteral("Data do Protocolo Original")));

    // From the request screen: only the plans just sent.
    const struct {
        QList<int> planos;
        const char* resumo;
    } casos[] = {{{1, 3}, "1  Plano"}, {{}, "Nenhum Plano"}, {{1, 2}, "2  Planos"}};
    for (const auto& c : casos) {
        TqrpPlanosExportados r(banco(), oper(), true, c.planos);
        EXPECT_EQ(textosDe(*gera(r), TipoBanda::Sumario), QStringList{QString::fromUtf8(c.resumo)});
    }
}

TEST_F(RelatoriosPlanos, RequestErrorsAreGroupedByPlanWithTheNamesOfItsCodes) {
    inicia();
    int n = 0;
    TDmExportacao& dm = *exportacao;
    dm.AdicionaErroPlano(n, QStringLiteral("Operadora"), -1, -1, -1, -1, QStringLiteral("TODOS OS PLANOS"), -1,
                         QStringLiteral("Operadora sem CNPJ"));
    dm.AdicionaErroPlano(n, QStringLiteral("Rede"), -1, 1, 2, 7, QStringLiteral("PLANO X"), 7,
                         QStringLiteral("Plano sem hospital"));
    dm.AdicionaErroPlano(n, QStringLiteral("Área"), -1, 1, 2, 7, QStringLiteral("PLANO X"), 7,
                         QStringLiteral("Área de atuação vazia"));
    dm.AdicionaErroPlano(n, QStringLiteral("Taxa"), -1, 5, 9, 99, QStringLiteral("PLANO Y"), 8,
                         QStringLiteral("Documento inválido"));
    TqrpSolicitaRegPlano r;
    PreviewVisto visto;
    r.Visualiza(nullptr);
    ASSERT_TRUE(visto.documento);
    const DocumentoRelatorio& d = *visto.documento;
    EXPECT_EQ(d.titulo, QStringLiteral("Relatório de erros ocorridos no envio de planos para a ZUB"));
    EXPECT_EQ(TqrpSolicitaRegPlano::Legenda(), QStringLiteral("Requerimento de Informações de Rede"));
    QStringList grupos = textosDe(d, TipoBanda::CabecalhoGrupo);
    grupos.removeAll(QStringLiteral("Sequência"));
    grupos.removeAll(QStringLiteral("Campo"));
    grupos.removeAll(QStringLiteral("Descrição do Erro"));
    EXPECT_EQ(grupos, (QStringList{"Nome Comercial do Plano:", "TODOS OS PLANOS", "Contratação:",
                                   "Abrangência Geográfica:", "Segmentação Assistencial:",
                                   "Nome Comercial do Plano:", "PLANO X", "Contratação:", "Coletivo Empresarial",
                                   "Abrangência Geográfica:", "Nacional", "Segmentação Assistencial:",
                                   "Ambulatorial + Hospitalar sem obstetrícia", "Nome Comercial do Plano:",
                                   "PLANO Y", "Contratação:", "Abrangência Geográfica:", "Municipal",
                                   "Segmentação Assistencial:"}));
    EXPECT_EQ(textosDe(d, TipoBanda::Detalhe),
              (QStringList{"1", "Operadora", "Operadora sem CNPJ", "2", "Rede", "Plano sem hospital", "3", "Área",
                           "Área de atuação vazia", "4", "Taxa", "Documento inválido"}));
    // No operator band.
    for (const QString& t : textos(d)) EXPECT_FALSE(t.startsWith(QStringLiteral("Registro ZUB")));
}

TEST_F(RelatoriosPlanos, HeaderAndOperatorBandOfTheTemplate) {
    inicia();
    TqrpPlanosSemEstabSaude r(banco(), oper());
    const auto d = gera(r);
    const QStringList cab = textosDe(*d, TipoBanda::CabecalhoPagina);
    EXPECT_EQ(cab, (QStringList{CabecalhoRelatorio::Ministerio(), CabecalhoRelatorio::Diretoria(),
                                QStringLiteral("QEV - Registro de Planos de Saúde da Operadora - v.") +
                                    VersaoSistema(true),
                                "Emissão: 15/06/2024", "Página: 1", "Hora: 10:00:00",
                                "Relação de planos sem vínculo com estabelecimento de saúde",
                                "Registro ZUB: 12345-5", "C.N.P.J: 11.222.333/0001-81",
                                "Razão Social: OPERADORA D'ÁVILA SAÚDE"}));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d\\d$")).match(VersaoSistema(true)).hasMatch());
}

TEST_F(RelatoriosPlanos, OperatorWithoutCodeOrCnpjShowsEmptyValues) {
    inicia(QString(), QStringLiteral("INSERT INTO OPERADORAS (CD_OPER, NM_RAZAO_SOCIAL) VALUES ('', 'SEM CÓDIGO');"));
    TqrpPlanosSemEstabSaude r(banco(), QString());
    const QStringList cab = textosDe(*gera(r), TipoBanda::CabecalhoPagina);
    EXPECT_TRUE(cab.contains(QStringLiteral("Registro ZUB: ")));
    EXPECT_TRUE(cab.contains(QStringLiteral("C.N.P.J: ")));
    EXPECT_TRUE(cab.contains(QStringLiteral("Razão Social: SEM CÓDIGO")));
}
