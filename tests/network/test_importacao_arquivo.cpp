// The establishment import file without a screen: every check of a line in its order
// with its field label and message, what an accepted line writes, the whole run over
// a file (line numbers, blank lines, duplicates within the file, updates, summary),
// batches and failures, and a fuzz run of random and damaged files.
#include <QBuffer>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <QSet>

#include "ApoioImportacao.h"
#include "network/ImportacaoRedeHosp.h"
#include "network/LeitorLinhas.h"

using namespace ApoioRede;

namespace {

// The rows of the checks, by number (0: the record's size).
const ErroLinha& verificacao(int n) {
    static const QVector<ErroLinha> v = [] {
        const auto e = [](const char* campo, const char* msg) {
            return ErroLinha{QString::fromUtf8(campo), QString::fromUtf8(msg)};
        };
        const char* classif = "Classificação do Estabelecimento";
        const char* cnpj = "CNPJ";
        const char* rel = "Relação com Entidade Hospitalar";
        const char* mun = "Código Município";
        const char* interm = "Registro ZUB da Operadora Intermediária";
        const char* dtc = "Data de Contratualização";
        const char* dtv = "Data de início da prestação do Serviço";
        return QVector<ErroLinha>{
            e("Tamanho do registro", "Tamanho do registro inválido."),
            e(classif, "Classificação do Estabelecimento não informada."),
            e(classif, "Classificação do Estabelecimento inválida."),
            e("CNES", "CNES do Estabelecimento de Saúde deve possuir 7 dígitos."),
            e("CNES", "CNES do Estabelecimento de Saúde inválido."),
            e(cnpj, "CNPJ/CPF do Estabelecimento de Saúde não informado."),
            e(cnpj, "CNPJ/CPF do Estabelecimento de Saúde deve possuir 14 ou 11 dígitos."),
            e(cnpj, "CNPJ/CPF do Estabelecimento de Saúde inválido."),
            e(cnpj, "CNPJ do Estabelecimento de Saúde inválido."),
            e("CNPJ/CPF + CNES", "O Conjunto CNPJ ou CPF + CNES deve ser único."),
            e("Razão Social", "Nome ou Razão Social do Estabelecimento de Saúde não informada."),
            e(rel, "Relação com Entidade Hospitalar não informada."),
            e(rel, "Relação com Entidade Hospitalar inválida. Informe 1000 para Próprio e 2000 "
                   "para Contratualizado."),
            e(mun, "Código do Município não informado."),
            e(mun, "Código do Município deve possuir 7 dígitos."),
            e(mun, "Código do Município inválido."),
            e("Tipo de Contratualização", "Tipo de Contratualização inválido."),
            e(interm, "Registro ZUB da Operadora Intermediária não informado."),
            e(interm, "Registro ZUB da Operadora Intermediária deve possuir 6 dígitos."),
            e(interm, "O Registro ZUB da Operadora Intermediária não pode ser igual ao da "
                      "Operadora."),
            e(interm, "Registro ZUB da Operadora Intermediária inválido."),
            e(dtc, "Data de Contratualização inválida."),
            e(dtc, "Data de Contratualização superior à data atual."),
            e(dtc, "Data de Contratualização anterior à data da RN 54 (01/12/2003)."),
            e(dtc, "Data de Contratualização anterior à data da RN 42 (07/07/2003)."),
            e(dtv, "Data de início da prestação do Serviço não informada."),
            e(dtv, "Data de início da prestação do Serviço inválida."),
            e(dtv, "Data de início da prestação do Serviço superior à data atual."),
            e("Disponibilidade de Serviços", "Disponibilidade de Serviços não informada."),
            e("Disponibilidade de Serviços", "Disponibilidade de Serviços inválida."),
            e("Urgência / Emergência", "Indicador de Urgência / Emergência não informado."),
            e("Urgência / Emergência", "Indicador de Urgência / Emergência inválido."),
        };
    }();
    return v.at(n);
}

QString descreve(const QVector<ErroLinha>& erros) {
    QStringList l;
    for (const ErroLinha& e : erros) l << e.campo + QStringLiteral(" / ") + e.mensagem;
    return l.join(QLatin1Char('\n'));
}

struct CasoLinha {
    const char* nome;
    std::function<void(LinhaArquivo&)> muda;
    QVector<int> verificacoes;  // the rows expected, by number, in order
    QVector<ErroLinha> outras = {};  // rows beyond the numbered ones (after them)
};

class ImportacaoArquivoTeste : public BaseImportacao {
protected:
    std::unique_ptr<ImportacaoRedeHosp> imp;

    void SetUp() override {
        inicia();
        imp = std::make_unique<ImportacaoRedeHosp>(banco(), *exportacao,
                                                   QString::fromLatin1(kOperadora));
        imp->CarregaListas();
    }
    void TearDown() override {
        imp.reset();
        BaseImportacao::TearDown();
    }
    ImportacaoRedeHosp::Totais importa(const QByteArray& conteudo, bool atualiza = false) {
        const QString caminho = pasta.arquivo(QStringLiteral("estab.txt"));
        gravaArquivo(caminho, conteudo);
        return imp->Executa(caminho, atualiza);
    }
    // The establishment written with this CNPJ/CPF: the columns asked, or nothing.
    QVariantList gravado(const QString& cnpj, const char* colunas) {
        const Resultado r = banco().consulta(
            QStringLiteral("SELECT %1 FROM TB_ESTAB_SAUDE WHERE CD_CNPJ_ESTB_SAUD = ?")
                .arg(QLatin1String(colunas)),
            {cnpj});
        return r.vazio() ? QVariantList() : r.linhas.first();
    }
};

TEST_F(ImportacaoArquivoTeste, EachCheckGivesItsRowsInOrder) {
    // An establishment already registered, for the duplicate test.
    banco().executa(QString(estab(7, "0012351", kOutroCnpj, "Já cadastrado")));
    const QString amanha = QStringLiteral("16062024");
    const QString cpf = QString::fromLatin1(kCpf);
    const CasoLinha casos[] = {
        {"hospitalar próprio completo", [](LinhaArquivo&) {}, {}},
        {"contratualizado completo", [](LinhaArquivo& l) { l.contratualizado(); }, {}},
        {"classificação em branco", [](LinhaArquivo& l) { l.classif.clear(); }, {1, 2}},
        {"classificação fora da lista", [](LinhaArquivo& l) { l.classif = "7"; }, {2}},
        {"classificação não numérica",
         [](LinhaArquivo& l) {
             l.classif = "X";
             l.disp.clear();
         },
         {2}},
        {"CNES curto", [](LinhaArquivo& l) { l.cnes = "12345"; }, {3}},
        {"CNES com dígito errado", [](LinhaArquivo& l) { l.cnes = "0012344"; }, {4}},
        {"CNES de zeros", [](LinhaArquivo& l) { l.cnes = "0000000"; }, {4}},
        {"CNES com letra", [](LinhaArquivo& l) { l.cnes = "00A2343"; }, {4}},
        {"sem CNPJ em alta complexidade",
         [](LinhaArquivo& l) {
             l.classif = "2";
             l.cnpj.clear();
         },
         {5}},
        {"sem CNPJ em hospitalar", [](LinhaArquivo& l) { l.cnpj.clear(); }, {5, 8}},
        {"CNPJ de 10 dígitos",
         [](LinhaArquivo& l) {
             l.classif = "3";
             l.cnpj = "1122233300";
         },
         {6}},
        {"CNPJ de 14 zeros", [](LinhaArquivo& l) { l.cnpj = "00000000000000"; }, {7, 8}},
        {"CNPJ com dígito errado", [](LinhaArquivo& l) { l.cnpj = "11222333000182"; }, {7, 8}},
        {"CNPJ com letra",
         [](LinhaArquivo& l) {
             l.classif = "2";
             l.cnpj = "1122233300018A";
         },
         {7}},
        {"CPF com zeros à esquerda",
         [&](LinhaArquivo& l) {
             l.classif = "2";
             l.cnpj = "000" + cpf;
         },
         {}},
        {"CPF com espaços à direita",
         [&](LinhaArquivo& l) {
             l.classif = "3";
             l.cnpj = cpf + "   ";
         },
         {}},
        {"CPF com dígito errado",
         [](LinhaArquivo& l) {
             l.classif = "3";
             l.cnpj = "52998224724";
         },
         {7}},
        {"CPF de onze zeros",
         [](LinhaArquivo& l) {
             l.classif = "3";
             l.cnpj = "00000000000";
         },
         {7}},
        {"CPF em hospitalar", [&](LinhaArquivo& l) { l.cnpj = cpf; }, {8}},
        {"já cadastrado", [](LinhaArquivo& l) { l.cnpj = kOutroCnpj; l.cnes = "0012351"; }, {9}},
        {"já cadastrado, linha sem CNES",
         [](LinhaArquivo& l) {
             l.cnpj = kOutroCnpj;
             l.cnes.clear();
         },
         {9}},
        {"mesmo CNPJ com outro CNES", [](LinhaArquivo& l) { l.cnpj = kOutroCnpj; }, {}},
        {"sem nome", [](LinhaArquivo& l) { l.nome = "   "; }, {10}},
        {"hospitalar sem relação", [](LinhaArquivo& l) { l.relacao.clear(); }, {11}},
        {"hospitalar com relação zero", [](LinhaArquivo& l) { l.relacao = "0000"; }, {11}},
        {"alta complexidade sem relação",
         [](LinhaArquivo& l) {
             l.classif = "2";
             l.relacao.clear();
         },
         {12}},
        {"relação 3000", [](LinhaArquivo& l) { l.relacao = "3000"; }, {12}},
        {"CPF sem relação",
         [&](LinhaArquivo& l) {
             l.classif = "3";
             l.cnpj = cpf;
             l.relacao.clear();
         },
         {}},
        {"CPF com relação fora da lista (aceito, sem a relação)",
         [&](LinhaArquivo& l) {
             l.classif = "3";
             l.cnpj = cpf;
             l.relacao = "5000";
         },
         {}},
        {"sem CNES nem município",
         [](LinhaArquivo& l) {
             l.cnes.clear();
             l.municipio = "0000000";
         },
         {13}},
        {"com CNES sem município", [](LinhaArquivo& l) { l.municipio.clear(); }, {}},
        {"município curto", [](LinhaArquivo& l) { l.municipio = "35503"; }, {14}},
        {"município inexistente", [](LinhaArquivo& l) { l.municipio = "9999999"; }, {15}},
        {"município com letras", [](LinhaArquivo& l) { l.municipio = "35503AB"; }, {15}},
        {"contratualizado sem tipo",
         [](LinhaArquivo& l) {
             l.contratualizado();
             l.tipo = "X";
         },
         {16}},
        {"indireta sem intermediária",
         [](LinhaArquivo& l) {
             l.contratualizado();
             l.tipo = "I";
         },
         {17}},
        {"intermediária curta",
         [](LinhaArquivo& l) {
             l.contratualizado();
             l.tipo = "I";
             l.intermed = "34567";
         },
         {18}},
        {"intermediária é a operadora",
         [](LinhaArquivo& l) {
             l.contratualizado();
             l.tipo = "I";
             l.intermed = kOperadora;
         },
         {19}},
        {"intermediária com dígito errado",
         [](LinhaArquivo& l) {
             l.contratualizado();
             l.tipo = "I";
             l.intermed = "345678";
         },
         {20}},
        {"intermediária com letra",
         [](LinhaArquivo& l) {
             l.contratualizado();
             l.tipo = "I";
             l.intermed = "34567A";
         },
         {20}},
        {"indireta válida",
         [](LinhaArquivo& l) {
             l.contratualizado();
             l.tipo = "I";
             l.intermed = kOutraOperadora;
         },
         {}},
        {"direta com intermediária qualquer (ignorada)",
         [](LinhaArquivo& l) {
             l.contratualizado();
             l.intermed = "12";
         },
         {}},
        {"sem tipo e intermediária curta",
         [&](LinhaArquivo& l) {
             l.classif = "3";
             l.cnpj = cpf;
             l.relacao.clear();
             l.intermed = "12";
         },
         {18}},
        {"contratualização 31/02",
         [](LinhaArquivo& l) {
             l.contratualizado();
             l.contrato = "31022020";
         },
         {21}},
        {"contratualização em 1899",
         [](LinhaArquivo& l) {
             l.contratualizado();
             l.contrato = "01011899";
         },
         {21}},
        {"contratualização amanhã",
         [&](LinhaArquivo& l) {
             l.contratualizado();
             l.contrato = amanha;
         },
         {22}},
        {"contratualização hoje",
         [](LinhaArquivo& l) {
             l.contratualizado();
             l.contrato = "15062024";
         },
         {}},
        {"RN 54 na véspera",
         [](LinhaArquivo& l) {
             l.contratualizado();
             l.classif = "2";
             l.contrato = "30112003";
         },
         {23}},
        {"RN 54 no dia",
         [](LinhaArquivo& l) {
             l.contratualizado();
             l.classif = "3";
             l.contrato = "01122003";
         },
         {}},
        {"RN 42 na véspera",
         [](LinhaArquivo& l) {
             l.contratualizado();
             l.contrato = "06072003";
         },
         {24}},
        {"RN 42 no dia",
         [](LinhaArquivo& l) {
             l.contratualizado();
             l.contrato = "07072003";
         },
         {}},
        {"próprio com dados de contrato (ignorados)",
         [](LinhaArquivo& l) {
             l.tipo = "I";
             l.contrato = "99999999";
             l.intermed = "12";
         },
         {}},
        {"sem início do serviço", [](LinhaArquivo& l) { l.vinculo.clear(); }, {25}},
        {"início inválido", [](LinhaArquivo& l) { l.vinculo = "2020-01-"; }, {26}},
        {"início amanhã", [&](LinhaArquivo& l) { l.vinculo = amanha; }, {27}},
        {"hospitalar sem disponibilidade", [](LinhaArquivo& l) { l.disp.clear(); }, {28}},
        {"disponibilidade inválida",
         [](LinhaArquivo& l) {
             l.classif = "2";
             l.disp = "X";
         },
         {29}},
        {"hospitalar sem urgência", [](LinhaArquivo& l) { l.urgencia.clear(); }, {30}},
        {"urgência inválida", [](LinhaArquivo& l) { l.urgencia = "x"; }, {31}},
        {"urgência inválida fora de hospitalar (ignorada)",
         [](LinhaArquivo& l) {
             l.classif = "2";
             l.urgencia = "x";
         },
         {}},
        {"tudo errado",
         [](LinhaArquivo& l) {
             l = LinhaArquivo{};
             l.cnpj = "123";
             l.nome.clear();
             l.relacao = "ABCD";
             l.municipio = "1";
             l.cnes = "1";
             l.classif = "1";
             l.vinculo = "x";
             l.disp = "Q";
             l.urgencia = "?";
         },
         {3, 6, 8, 10, 11, 14, 29, 31}},
    };
    for (const CasoLinha& c : casos) {
        LinhaArquivo l;
        c.muda(l);
        QVector<ErroLinha> esperado;
        for (int n : c.verificacoes) esperado << verificacao(n);
        esperado << c.outras;
        const QVector<ErroLinha> obtido = imp->AnalisaLinha(l.bytes(), false);
        EXPECT_EQ(obtido, esperado) << c.nome << "\nobtido:\n"
                                    << descreve(obtido).toStdString() << "\nesperado:\n"
                                    << descreve(esperado).toStdString();
    }
}

TEST_F(ImportacaoArquivoTeste, CharactersOutsideTheRecordsTextAreRowsOfTheirField) {
    const struct {
        const char* nome;
        int posicao;  // 1-based
        char byte;
        ErroLinha erro;
    } casos[] = {
        {"byte indefinido no nome", 20, '\x81',
         {"Razão Social", "Caractere inválido na posição 20 (código 81 hexadecimal): o arquivo "
                          "deve estar em Windows-1252."}},
        {"tabulação no nome", 74, '\t',
         {"Razão Social", "Caractere de controle na posição 74 (código 09 hexadecimal)."}},
        {"NUL na urgência", 118, '\0',
         {"Urgência / Emergência", "Caractere de controle na posição 118 (código 00 hexadecimal)."}},
        {"DEL no CNES", 95, '\x7f',
         {"CNES", "Caractere de controle na posição 95 (código 7F hexadecimal)."}},
    };
    for (const auto& c : casos) {
        QByteArray b = LinhaArquivo{}.bytes();
        b[c.posicao - 1] = c.byte;
        const QVector<ErroLinha> obtido = imp->AnalisaLinha(b, false);
        ASSERT_FALSE(obtido.isEmpty()) << c.nome;
        EXPECT_EQ(obtido.first(), c.erro) << c.nome << "\n" << descreve(obtido).toStdString();
    }
    // A line written in UTF-8 (its accents take two bytes each and displace every later
    // field) says so and is refused; so is the first line of a file with a UTF-8 mark.
    const ErroLinha utf8{QStringLiteral("Conteúdo do registro"),
                         QStringLiteral("O registro está gravado em UTF-8; o arquivo deve estar em "
                                        "Windows-1252.")};
    const QByteArray emUtf8 = LinhaArquivo{}.texto().toUtf8();
    EXPECT_TRUE(imp->AnalisaLinha(emUtf8, false).contains(utf8));
    EXPECT_TRUE(imp->AnalisaLinha("\xEF\xBB\xBF" + LinhaArquivo{}.bytes(), false).contains(utf8));
    EXPECT_FALSE(imp->AnalisaLinha(LinhaArquivo{}.bytes(), false).contains(utf8));

    // Every defined character of the single-byte set arrives as it was written.
    LinhaArquivo l;
    l.nome = QStringLiteral("Ação – “Saúde” ŠŽ €ÿ ÇÃÕ ñ ü ª º");
    RegistroImportado r;
    EXPECT_TRUE(imp->AnalisaLinha(l.bytes(), false, &r).isEmpty());
    EXPECT_EQ(r.nome, l.nome);
}

TEST_F(ImportacaoArquivoTeste, TheRecordsSizeAloneDoesNotRefuseALine) {
    LinhaArquivo l;
    const QVector<ErroLinha> soTamanho{verificacao(0)};
    EXPECT_EQ(imp->AnalisaLinha(l.bytes() + "AB", false), soTamanho);
    EXPECT_TRUE(imp->AnalisaLinha(l.bytes() + "  ", false).isEmpty());
    // a short line is read as far as it goes
    EXPECT_EQ(imp->AnalisaLinha(l.bytes().left(116), false),
              (QVector<ErroLinha>{verificacao(28), verificacao(30)}));
    // a line cut by the reader with data in the part it skipped
    EXPECT_EQ(imp->AnalisaLinha(l.bytes() + QByteArray(3000, ' '), false, nullptr, true),
              soTamanho);
}

TEST_F(ImportacaoArquivoTeste, AcceptedLinesWriteTheirValues) {
    const QString cpf = QString::fromLatin1(kCpf);
    LinhaArquivo proprio;  // own, with contracting fields that must be ignored
    proprio.nome = QStringLiteral("  D'ÁVILA 100% SAÚDE; \"Centro\"  ");
    proprio.tipo = "I";
    proprio.contrato = "01012010";
    proprio.intermed = kOutraOperadora;
    LinhaArquivo indireta = linhaValida(1);
    indireta.contratualizado();
    indireta.tipo = "I";
    indireta.intermed = kOutraOperadora;
    indireta.classif = "2";
    indireta.urgencia = "S";  // not kept outside hospital care
    LinhaArquivo cpfZeros = linhaValida(2);
    cpfZeros.cnpj = "000" + cpf;
    cpfZeros.classif = "3";
    cpfZeros.relacao.clear();
    cpfZeros.municipio.clear();  // CNES given: no municipality needed
    cpfZeros.vinculo.clear();
    cpfZeros.disp.clear();
    LinhaArquivo semCnes = linhaValida(3);
    semCnes.cnes.clear();
    const ImportacaoRedeHosp::Totais t =
        importa(arquivo({proprio.bytes(), indireta.bytes(), cpfZeros.bytes(), semCnes.bytes()}));
    EXPECT_EQ(erros(), QStringList());
    EXPECT_EQ(t.importados, 4);
    const char* colunas =
        "RAZAO_SOCIAL_ESTB_SAUD, CD_TIPO_ESTB_SAUD, ID_MUNC, CD_TIPO_CONTRATO_ESTB_SAUDE, CD_CNES, "
        "DT_CONTRATO_OPER, DT_VINCULO_OPER, CD_CLASSIF_ESTAB_SAUDE, CD_OPER_INTERMEDIADORA, "
        "CD_DISP_SERVICO, LG_URGENCIA_EMERGENCIA, LG_HOSPITAL_INCLUIDO, LG_CLASSIFICADO_ZUB, CD_OPER";
    const QVariant nulo;
    const QString oper = QString::fromLatin1(kOperadora);
    EXPECT_EQ(gravado(kCnpj, colunas),
              (QVariantList{QStringLiteral("D'ÁVILA 100% SAÚDE; \"Centro\""), 1000, 3550308, nulo,
                            kCnes, nulo, "2020-01-01", 1, nulo, "T", "S", "N", "N", oper}));
    EXPECT_EQ(gravado(indireta.cnpj, colunas),
              (QVariantList{indireta.nome, 2000, 3550308, "I", indireta.cnes, "2015-03-02",
                            "2020-01-01", 2, kOutraOperadora, "T", nulo, "N", "N", oper}));
    EXPECT_EQ(gravado(cpf, colunas),
              (QVariantList{cpfZeros.nome, nulo, nulo, nulo, cpfZeros.cnes, nulo, nulo, 3, nulo,
                            nulo, nulo, "N", "N", oper}));
    EXPECT_EQ(gravado(semCnes.cnpj, "CD_CNES, ID_MUNC"), (QVariantList{nulo, 3550308}));
    // new identifiers follow the largest one
    EXPECT_EQ(Apoio::coluna(banco(), "SELECT ID_ESTB_SAUD FROM TB_ESTAB_SAUDE ORDER BY 1"),
              (QStringList{"1", "2", "3", "4"}));
}

TEST_F(ImportacaoArquivoTeste, TheRunCountsEveryLineAndNumbersTheRows) {
    LinhaArquivo a = linhaValida(1);
    LinhaArquivo b = linhaValida(2);
    b.nome.clear();
    LinhaArquivo c = linhaValida(3);
    // a valid line; a blank line; a line with an error; the first line again; a
    // 120-character line; a line of spaces; the last line without its end
    const QByteArray conteudo = a.bytes() + "\r\n" + "\r\n" + b.bytes() + "\r\n" + a.bytes() +
                                "\r\n" + c.bytes() + "AB\r\n" + "     \r\n" +
                                linhaValida(4).bytes();
    const ImportacaoRedeHosp::Totais t = importa(conteudo);
    EXPECT_EQ(t.lidas, 7);
    EXPECT_EQ(t.importados, 3);
    EXPECT_EQ(erros(), (QStringList{
                           "3|Razão Social|Nome ou Razão Social do Estabelecimento de Saúde não "
                           "informada.",
                           "4|CNPJ/CPF + CNES|O Conjunto CNPJ ou CPF + CNES deve ser único.",
                           "5|Tamanho do registro|Tamanho do registro inválido.",
                       }));
    EXPECT_EQ(exportacao->cdsErrosCarga().linha(2).Sequencia, 3);
    EXPECT_TRUE(exportacao->TemErros());
    EXPECT_EQ(ImportacaoRedeHosp::Resumo(t, false),
              QStringLiteral("7 Estabelecimento(s) de Saúde processados.\r"
                             "3 Estabelecimento(s) de Saúde importado(s)."));
    EXPECT_FALSE(banco().emTransacao());

    // a second run empties the list first
    const ImportacaoRedeHosp::Totais vazio = importa(QByteArray());
    EXPECT_EQ(vazio.lidas, 0);
    EXPECT_FALSE(exportacao->TemErros());
    EXPECT_EQ(ImportacaoRedeHosp::Resumo(vazio, false),
              QStringLiteral(" Estabelecimento(s) de Saúde processados.\r"
                             "Nenhum Estabelecimento de Saúde foi importado."));
    EXPECT_EQ(ImportacaoRedeHosp::Resumo(vazio, true),
              QStringLiteral(" Estabelecimento(s) de Saúde processados.\r"
                             "Nenhum Estabelecimento de Saúde foi importado.\r"
                             "Nenhum Estabelecimento de Saúde foi atualizado."));
    EXPECT_EQ(ImportacaoRedeHosp::FormataContagem(1234567), QStringLiteral("1.234.567"));
}

TEST_F(ImportacaoArquivoTeste, WithTheUpdateBoxLinesUpdateByCnpjAndCnes) {
    banco().executaScript(estab(5, kCnes, kCnpj, "Antigo") + estab(9, "0012351", kCnpj, "Outro CNES") +
                          estab(12, "", kOutroCnpj, "Sem CNES"));
    LinhaArquivo semCnes;  // the same CNPJ without CNES: the first one with that CNPJ
    semCnes.cnes.clear();
    semCnes.nome = QStringLiteral("Atualizado sem CNES");
    semCnes.vinculo = "01022021";
    LinhaArquivo comCnes;  // CNPJ and CNES of establishment 9
    comCnes.cnes = "0012351";
    comCnes.nome = QStringLiteral("Atualizado com CNES");
    comCnes.contratualizado();
    LinhaArquivo nova = linhaValida(8);
    const ImportacaoRedeHosp::Totais t =
        importa(arquivo({semCnes.bytes(), comCnes.bytes(), nova.bytes(), nova.bytes()}), true);
    EXPECT_EQ(erros(), QStringList());
    EXPECT_EQ(t.importados, 1);
    EXPECT_EQ(t.atualizados, 3);  // the repeated new line updates the one it inserted
    const auto linha = [&](int id) {
        return banco()
            .consulta(QStringLiteral("SELECT RAZAO_SOCIAL_ESTB_SAUD, CD_CNES, DT_VINCULO_OPER, "
                                     "CD_TIPO_ESTB_SAUD FROM TB_ESTAB_SAUDE WHERE ID_ESTB_SAUD = ?"),
                      {id})
            .linhas.value(0);
    };
    // a blank CNES in the file keeps the stored one
    EXPECT_EQ(linha(5), (QVariantList{"Atualizado sem CNES", kCnes, "2021-02-01", 1000}));
    EXPECT_EQ(linha(9), (QVariantList{"Atualizado com CNES", "0012351", "2020-01-01", 2000}));
    EXPECT_EQ(linha(13).value(0), nova.nome);
    EXPECT_EQ(conta("SELECT count(*) FROM TB_ESTAB_SAUDE"), 4);
    EXPECT_EQ(ImportacaoRedeHosp::Resumo(t, true),
              QStringLiteral("4 Estabelecimento(s) de Saúde processados.\r"
                             "1 Estabelecimento(s) de Saúde importado(s).\r"
                             "3 Estabelecimento(s) de Saúde atualizado(s)."));
}

// Accepted lines are committed in batches; a failure keeps every line accepted before
// it and leaves no transaction open.
TEST_F(ImportacaoArquivoTeste, BatchesAreCommittedAndAFailureKeepsWhatWasAccepted) {
    QList<QByteArray> linhas;
    for (int i = 1; i <= 10; ++i) linhas << linhaValida(i).bytes();
    QList<qlonglong> lotes;
    imp->DefineLote(3, 60000);
    imp->aoConfirmarLote = [&](qlonglong n) { lotes << n; };
    importa(arquivo(linhas));
    EXPECT_EQ(lotes, (QList<qlonglong>{3, 6, 9, 10}));

    // The database refuses the seventh establishment of the next run.
    banco().executa(QStringLiteral("DELETE FROM TB_ESTAB_SAUDE"));
    banco().executa(QStringLiteral(
        "CREATE TRIGGER recusa BEFORE INSERT ON TB_ESTAB_SAUDE WHEN NEW.ID_ESTB_SAUD = 7 "
        "BEGIN SELECT RAISE(ABORT, 'recusado pelo teste'); END"));
    lotes.clear();
    try {
        importa(arquivo(linhas));
        ADD_FAILURE() << "a falha não chegou ao chamador";
    } catch (const ErroQev& e) {
        EXPECT_TRUE(e.mensagem().contains(QStringLiteral("recusado pelo teste")));
    }
    EXPECT_FALSE(banco().emTransacao());
    EXPECT_EQ(conta("SELECT count(*) FROM TB_ESTAB_SAUDE"), 6);
    EXPECT_EQ(lotes, (QList<qlonglong>{3, 6}));

    // An unreadable file is a failure of the run too.
    EXPECT_THROW(imp->Executa(pasta.arquivo(QStringLiteral("nao-existe.txt")), false), ErroQev);
}

// An import killed at chosen moments (before its first commit, and a little after each of
// several commits) leaves a database that opens sound, with exactly the establishments
// of the batches committed: whole rows, in the file's order.
TEST_F(ImportacaoArquivoTeste, AKilledImportLosesAtMostTheOpenBatch) {
    const QString programa = QStringLiteral(QEV_DIR_BIN "/qev-importa-estab");
    ASSERT_TRUE(QFileInfo::exists(programa));
    constexpr int kLinhas = 30000;
    constexpr int kLote = 1000;
    QList<QByteArray> linhas;
    QStringList cnpjs;
    for (int i = 1; i <= kLinhas; ++i) {
        const LinhaArquivo l = linhaValida(i);
        linhas << l.bytes();
        cnpjs << l.cnpj;
    }
    const QString caminhoArquivo = pasta.arquivo(QStringLiteral("grande.txt"));
    gravaArquivo(caminhoArquivo, arquivo(linhas));
    const QString caminhoBanco = banco().caminho();
    conexao.reset();  // the child owns the database now

    // kill after the k-th commit report (0: as soon as it started)
    for (int k : {0, 1, 4, 9, 17}) {
        QFile::remove(caminhoBanco);
        Apoio::criaBanco(pasta.caminho(), Apoio::Esquema::Atual,
                         QStringLiteral("INSERT INTO OPERADORAS (CD_OPER) VALUES ('%1');")
                             .arg(QLatin1String(kOperadora)));
        QProcess p;
        p.start(programa, {pasta.caminho(), caminhoArquivo, QString::number(kLote)});
        ASSERT_TRUE(p.waitForStarted());
        qlonglong relatado = 0;
        QElapsedTimer limite;
        limite.start();
        while (k > 0 && relatado < qlonglong(k) * kLote && limite.elapsed() < 60000) {
            if (!p.canReadLine() && !p.waitForReadyRead(1000)) continue;
            while (p.canReadLine()) {
                const QByteArray l = p.readLine().trimmed();
                if (l.startsWith("lote ")) relatado = l.mid(5).toLongLong();
            }
        }
        ASSERT_EQ(relatado, qlonglong(k) * kLote) << "kill " << k;
        QThread::msleep(k % 3);  // into the next batch
        p.kill();
        p.waitForFinished();
        ASSERT_EQ(p.exitStatus(), QProcess::CrashExit) << "kill " << k << ": ended before the kill";

        auto b = Apoio::abreBanco(caminhoBanco);
        ASSERT_EQ(b->valor("PRAGMA quick_check").toString(), QStringLiteral("ok")) << "kill " << k;
        const QStringList gravados = Apoio::coluna(
            *b, "SELECT CD_CNPJ_ESTB_SAUD FROM TB_ESTAB_SAUDE ORDER BY ID_ESTB_SAUD");
        EXPECT_GE(gravados.size(), relatado) << "kill " << k;
        EXPECT_EQ(gravados.size() % kLote, 0) << "kill " << k << ": a batch was cut";
        EXPECT_EQ(gravados, cnpjs.mid(0, gravados.size())) << "kill " << k;
        EXPECT_EQ(b->valor("SELECT count(*) FROM TB_ESTAB_SAUDE WHERE RAZAO_SOCIAL_ESTB_SAUD IS NULL "
                           "OR LG_URGENCIA_EMERGENCIA IS NULL OR CD_OPER IS NULL")
                      .toLongLong(),
                  0);
    }
}

// A CPF's line is never refused for its relation code (that check is for the other
// values), and only a valid code (1000, 2000) is stored: no other enters the table.
TEST_F(ImportacaoArquivoTeste, ACpfLineStoresOnlyAValidRelationCode) {
    const struct {
        const char* relacao;
        QVariant gravada;
    } casos[] = {{"5000", QVariant()}, {"ABCD", QVariant()}, {"", QVariant()}, {"0000", QVariant()},
                 {"1000", 1000}};
    QList<QByteArray> linhas;
    QStringList cpfs;
    int i = 0;
    for (const auto& c : casos) {
        LinhaArquivo l = linhaValida(++i);
        l.classif = "3";
        l.cnpj = CompletaDigitosCpf(QStringLiteral("%1").arg(123456700 + i));
        l.relacao = QString::fromLatin1(c.relacao);
        linhas << l.bytes();
        cpfs << l.cnpj;
    }
    const ImportacaoRedeHosp::Totais t = importa(arquivo(linhas));
    EXPECT_EQ(erros(), QStringList());
    EXPECT_EQ(t.importados, int(std::size(casos)));
    for (int k = 0; k < cpfs.size(); ++k)
        EXPECT_EQ(gravado(cpfs[k], "CD_TIPO_ESTB_SAUD"), QVariantList{casos[k].gravada}) << casos[k].relacao;
    EXPECT_EQ(Apoio::coluna(banco(), "SELECT count(*) FROM TB_ESTAB_SAUDE WHERE CD_TIPO_ESTB_SAUD IS NOT NULL "
                                     "AND CD_TIPO_ESTB_SAUD NOT IN (1000, 2000)"),
              QStringList{QStringLiteral("0")});
}

// Two copies of the program importing the same file into one database at once: the
// duplicate check of every line runs inside the write transaction, so each pair
// CNPJ/CPF + CNES is stored once whoever gets there first.
TEST_F(ImportacaoArquivoTeste, TwoImportsAtOnceStoreNoDuplicatePair) {
    const QString programa = QStringLiteral(QEV_DIR_BIN "/qev-importa-estab");
    ASSERT_TRUE(QFileInfo::exists(programa));
    constexpr int kLinhas = 200;
    QList<QByteArray> linhas;
    for (int i = 1; i <= kLinhas; ++i) linhas << linhaValida(i).bytes();
    const QString caminhoArquivo = pasta.arquivo(QStringLiteral("mesmo.txt"));
    gravaArquivo(caminhoArquivo, arquivo(linhas));
    const QString caminhoBanco = banco().caminho();
    conexao.reset();  // the children own the database now

    for (const int lote : {3, 7}) {
        QFile::remove(caminhoBanco);
        Apoio::criaBanco(pasta.caminho(), Apoio::Esquema::Atual,
                         QStringLiteral("INSERT INTO OPERADORAS (CD_OPER) VALUES ('%1');")
                             .arg(QLatin1String(kOperadora)));
        QProcess a, b;
        for (QProcess* p : {&a, &b}) p->start(programa, {pasta.caminho(), caminhoArquivo, QString::number(lote)});
        int importados = 0;
        for (QProcess* p : {&a, &b}) {
            ASSERT_TRUE(p->waitForFinished(120000)) << "lote " << lote;
            EXPECT_EQ(p->exitCode(), 0) << "lote " << lote << ": " << p->readAllStandardError().toStdString();
            for (const QByteArray& l : p->readAllStandardOutput().split('\n'))
                if (l.startsWith("fim ")) importados += l.mid(4).toInt();
        }
        auto banco = Apoio::abreBanco(caminhoBanco);
        EXPECT_EQ(Apoio::coluna(*banco, "SELECT count(*) FROM (SELECT 1 FROM TB_ESTAB_SAUDE "
                                        "GROUP BY CD_CNPJ_ESTB_SAUD, CD_CNES HAVING count(*) > 1)"),
                  QStringList{QStringLiteral("0")})
            << "lote " << lote;
        EXPECT_EQ(Apoio::coluna(*banco, "SELECT count(*) FROM TB_ESTAB_SAUDE"),
                  QStringList{QString::number(kLinhas)})
            << "lote " << lote;
        EXPECT_EQ(importados, kLinhas) << "lote " << lote << ": each line imported by one of the two";
    }
}

TEST(LeitorLinhas, EndsOfLineAndTheLimit) {
    const struct {
        const char* nome;
        QByteArray conteudo;
        QList<QByteArray> linhas;
    } casos[] = {
        {"vazio", "", {}},
        {"CR LF", "a\r\nb\r\n", {"a", "b"}},
        {"LF", "a\nb", {"a", "b"}},
        {"CR sozinho", "a\rb\r", {"a", "b"}},
        {"linhas vazias", "\r\n\n\r\r\n", {"", "", "", ""}},
        {"CR LF partido", "abc\r", {"abc"}},
        {"sem fim", "abc", {"abc"}},
    };
    for (const auto& c : casos) {
        QByteArray dados = c.conteudo;
        QBuffer buffer(&dados);
        buffer.open(QIODevice::ReadOnly);
        EXPECT_EQ(LeitorLinhas::conta(buffer), c.linhas.size()) << c.nome;
        buffer.seek(0);
        LeitorLinhas leitor(buffer);
        LeitorLinhas::Linha l;
        QList<QByteArray> lidas;
        while (leitor.proxima(l)) lidas << l.bytes;
        EXPECT_EQ(lidas, c.linhas) << c.nome;
    }
    // A CR LF split between two blocks is one line end; an enormous line keeps its
    // first bytes only and says whether the rest held data.
    QByteArray grande = QByteArray(65535, 'x') + "\r\n" + "y" + QByteArray(3 << 20, ' ') + "\n" +
                        "z" + QByteArray(200000, ' ') + "!";
    QBuffer buffer(&grande);
    buffer.open(QIODevice::ReadOnly);
    EXPECT_EQ(LeitorLinhas::conta(buffer), 3);
    buffer.seek(0);
    LeitorLinhas leitor(buffer, 4096);
    LeitorLinhas::Linha l;
    ASSERT_TRUE(leitor.proxima(l));
    EXPECT_EQ(l.bytes.size(), 4096);
    EXPECT_TRUE(l.cortada);
    EXPECT_TRUE(l.restoComDados);
    ASSERT_TRUE(leitor.proxima(l));
    EXPECT_EQ(l.bytes.size(), 4096);
    EXPECT_TRUE(l.cortada);
    EXPECT_FALSE(l.restoComDados);
    ASSERT_TRUE(leitor.proxima(l));
    EXPECT_TRUE(l.restoComDados);
    EXPECT_FALSE(leitor.proxima(l));
}

// Random, damaged and enormous lines with every kind of line end: the run never
// fails, counts every line, and each line that is not blank is either written or has
// at least one row with its own number.
TEST_F(ImportacaoArquivoTeste, FuzzedFilesNeverStopTheRun) {
    QRandomGenerator aleatorio(0x5EED2024u);
    const auto sorteio = [&](int n) { return int(aleatorio.bounded(n)); };
    int proximaValida = 1;
    qlonglong gravadosAntes = 0;
    int totalAceitas = 0;
    int totalRecusadas = 0;
    for (int arquivoN = 0; arquivoN < 40; ++arquivoN) {
        QList<QByteArray> linhas;
        const int quantas = 1 + sorteio(60);
        for (int i = 0; i < quantas; ++i) {
            QByteArray l;
            switch (sorteio(8)) {
                case 0:  // random bytes, any value but the line ends
                    l.resize(sorteio(200));
                    for (char& ch : l) {
                        do ch = char(sorteio(256));
                        while (ch == '\r' || ch == '\n');
                    }
                    break;
                case 1:  // blank
                    l = QByteArray(sorteio(5), sorteio(2) ? ' ' : '\t');
                    break;
                case 2:  // enormous
                    l = linhaValida(proximaValida++).bytes() + QByteArray(100000 + sorteio(300000), 'Z');
                    break;
                default: {  // a valid line, maybe damaged
                    l = linhaValida(proximaValida++).bytes();
                    for (int m = sorteio(4); m > 0; --m) {
                        char ch;
                        do ch = char(sorteio(256));
                        while (ch == '\r' || ch == '\n');
                        const int p = sorteio(int(l.size()) + 1);
                        switch (sorteio(3)) {
                            case 0:
                                if (p < l.size()) l[p] = ch;
                                break;
                            case 1:
                                l.insert(p, ch);
                                break;
                            default:
                                if (p < l.size()) l.remove(p, 1);
                        }
                    }
                }
            }
            linhas << l;
        }
        // Line ends of every kind; an empty line never ends in LF alone, which after
        // a CR would make one CR LF of two ends.
        QByteArray conteudo;
        for (int i = 0; i < linhas.size(); ++i) {
            conteudo += linhas[i];
            const bool ultima = i + 1 == linhas.size();
            // the file ends without a line end (an empty last line without one is no line)
            if (ultima && !linhas[i].isEmpty() && sorteio(2)) break;
            const int fim = sorteio(3);
            conteudo += fim == 0 ? QByteArray("\r\n")
                        : fim == 1 && !linhas[i].isEmpty() ? QByteArray("\n")
                                                           : QByteArray("\r");
        }
        ImportacaoRedeHosp::Totais t;
        ASSERT_NO_THROW(t = importa(conteudo)) << "arquivo " << arquivoN;
        ASSERT_EQ(t.lidas, linhas.size()) << "arquivo " << arquivoN;
        QMap<int, QStringList> porLinha;
        for (const LinhaErroCarga& e : exportacao->cdsErrosCarga().linhas()) {
            ASSERT_GE(e.linhaArquivo, 1);
            ASSERT_LE(e.linhaArquivo, linhas.size());
            porLinha[e.linhaArquivo] << e.NomeCampo;
        }
        int aceitas = 0;
        for (int i = 0; i < linhas.size(); ++i) {
            const bool branca = std::all_of(linhas[i].cbegin(), linhas[i].cend(),
                                            [](char ch) { return static_cast<unsigned char>(ch) <= ' '; });
            const QStringList campos = porLinha.value(i + 1);
            if (branca) {
                EXPECT_TRUE(campos.isEmpty()) << "arquivo " << arquivoN << " linha " << i + 1;
                continue;
            }
            const bool recusada = std::any_of(campos.cbegin(), campos.cend(), [](const QString& c) {
                return c != QLatin1String("Tamanho do registro");
            });
            if (!recusada) ++aceitas;
            else ++totalRecusadas;
            if (linhas[i].size() > ImportacaoRedeHosp::kTamanhoRegistro + 1000)
                EXPECT_TRUE(campos.contains(QStringLiteral("Tamanho do registro")))
                    << "arquivo " << arquivoN << " linha " << i + 1;
        }
        EXPECT_EQ(t.importados, aceitas) << "arquivo " << arquivoN;
        const qlonglong gravados = conta("SELECT count(*) FROM TB_ESTAB_SAUDE");
        EXPECT_EQ(gravados - gravadosAntes, aceitas) << "arquivo " << arquivoN;
        gravadosAntes = gravados;
        totalAceitas += aceitas;
        EXPECT_FALSE(banco().emTransacao());
    }
    // the run met both kinds of line
    EXPECT_GT(totalAceitas, 200);
    EXPECT_GT(totalRecusadas, 200);
    // every name written can travel in the request file
    for (const QString& nome : Apoio::coluna(banco(), "SELECT RAZAO_SOCIAL_ESTB_SAUD FROM TB_ESTAB_SAUDE"))
        EXPECT_TRUE(ConfereTextoArquivo(QStringLiteral("Razão Social"), nome).isEmpty()) << nome.toStdString();
    // every establishment written is whole: the checks' own rules hold for each
    EXPECT_EQ(conta("SELECT count(*) FROM TB_ESTAB_SAUDE WHERE RAZAO_SOCIAL_ESTB_SAUD IS NULL OR "
                    "CD_CLASSIF_ESTAB_SAUDE IS NULL OR CD_OPER IS NULL OR length(CD_CNPJ_ESTB_SAUD) "
                    "NOT IN (11, 14)"),
              0);
}

}  // namespace
