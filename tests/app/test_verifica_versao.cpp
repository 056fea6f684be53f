// The version check against a real HTTP server on loopback.
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "apoio/Apoio.h"
#include "app/ConduzModal.h"
#include "app/FrmAvisoVersao.h"
#include "app/ServidorTeste.h"
#include "app/VerificaVersao.h"
#include "db/PacoteDados.h"
#include "platform/Plataforma.h"

using namespace Apoio;

namespace {

const QString kInstalada = QStringLiteral("02.07.03");
const QString kLink = QStringLiteral("https://www.zub.gov.br/qev/download");

// A version file listing another system before this one.
QByteArray arquivoVersao(const QString& sigla, const QString& versao, const QString& permite,
                         const QString& link = kLink) {
    PacoteDados p;
    for (const char* nome : {"Sistema", "Versao", "PermiteExecVersaoAntiga", "LinkDownload"})
        p.campos.push_back({QString::fromLatin1(nome), QStringLiteral("string"), 100});
    p.linhas.push_back({QStringLiteral("OUTRO"), QStringLiteral("09.09.09"), QStringLiteral("N"),
                        QStringLiteral("x")});
    p.linhas.push_back({sigla, versao, permite, link});
    return p.escreve();
}

class VersaoTeste : public ::testing::Test {
protected:
    ServidorTeste servidor;
    Mensageiro msgs;
    QTemporaryDir pasta;

    void SetUp() override { TZubVerificaVersaoSis::DefineServidor(servidor.endereco()); }
    void TearDown() override { TZubVerificaVersaoSis::DefineServidor(QUrl()); }

    void prepara(TZubVerificaVersaoSis& v) {
        v.SistemaVersao = kInstalada;
        v.DefinePastaArquivo(pasta.path());
    }
    bool sobrouArquivo() const { return QDir(pasta.path()).exists(QStringLiteral("versis.xml")); }
};

struct Aviso {
    bool mostrado = false;
    QString titulo, texto, link;
    bool paragrafo = false;
};

// Records the notice when it opens and closes it with OK.
void registraAviso(Aviso& aviso) {
    quandoAbrir<TfrmZubAvisoVersao>([&aviso](TfrmZubAvisoVersao* f) {
        aviso.mostrado = true;
        aviso.titulo = f->lblTitulo()->text();
        aviso.texto = f->lblTexto()->text();
        aviso.link = f->lblLink()->text();
        aviso.paragrafo = f->lblFinalizacao()->isVisible();
        QTest::mouseClick(f->btnOk(), Qt::LeftButton);
    });
}

}  // namespace

TEST(VerificaVersao, AddressIsTheBuildHostWithTheFixedPath) {
    TZubVerificaVersaoSis::DefineServidor(QUrl());
    TZubVerificaVersaoSis v;
    EXPECT_EQ(v.ArquivoXmlWeb.path(), QStringLiteral("/metadados/aplicativos/qev/QEV.xml"));
    EXPECT_FALSE(v.ArquivoXmlWeb.host().isEmpty());
    EXPECT_EQ(v.SistemaSigla, QStringLiteral("QEV"));
}

struct CasoComparacao {
    const char* nome;
    const char* sigla;
    const char* publicada;
    const char* permite;
    bool atualizado;
    bool paragrafo;
    bool finaliza;
};
void PrintTo(const CasoComparacao& c, std::ostream* os) { *os << c.nome; }

class ComparacaoVersao : public VersaoTeste,
                         public ::testing::WithParamInterface<CasoComparacao> {};

TEST_P(ComparacaoVersao, ComparesTheRowOfThisSystem) {
    const CasoComparacao& c = GetParam();
    servidor.respondeCom(
        200, arquivoVersao(QString::fromLatin1(c.sigla), QString::fromLatin1(c.publicada),
                           QString::fromLatin1(c.permite)));
    Aviso aviso;
    if (!c.atualizado) registraAviso(aviso);
    TZubVerificaVersaoSis v;
    prepara(v);
    EXPECT_TRUE(v.Execute());
    EXPECT_TRUE(
        servidor.ultimoPedido().startsWith("GET /metadados/aplicativos/qev/QEV.xml HTTP/1.1"));
    EXPECT_EQ(v.Atualizado(), c.atualizado);
    EXPECT_EQ(v.FinalizacaoPedida(), c.finaliza);
    EXPECT_EQ(aviso.mostrado, !c.atualizado);
    EXPECT_TRUE(msgs.textos().isEmpty());
    EXPECT_FALSE(sobrouArquivo());
    if (!c.atualizado) {
        EXPECT_EQ(v.VersaoPublicada(), QString::fromLatin1(c.publicada));
        EXPECT_EQ(v.LinkDownload(), kLink);
        EXPECT_EQ(aviso.titulo, QStringLiteral("  Atualização do sistema QEV"));
        EXPECT_EQ(aviso.texto,
                  QStringLiteral("Caro usuário, sua versão do sistema QEV esta desatualizada.\n"
                                 "A nova versão %1 já esta disponivel no site da ZUB no endereço: ")
                      .arg(QString::fromLatin1(c.publicada)));
        EXPECT_EQ(aviso.link, kLink);
        EXPECT_EQ(aviso.paragrafo, c.paragrafo);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Casos, ComparacaoVersao,
    ::testing::Values(
        CasoComparacao{"Igual", "QEV", "02.07.03", "N", true, false, false},
        CasoComparacao{"NovaSemPermissao", "QEV", "02.08.00", "N", false, true, true},
        CasoComparacao{"NovaComPermissao", "QEV", "02.08.00", "S", false, false, false},
        CasoComparacao{"PublicadaMaisAntiga", "QEV", "02.07.02", "N", true, false, false},
        CasoComparacao{"ReleaseComDoisDigitos", "QEV", "02.07.10", "N", false, true, true},
        CasoComparacao{"SiglaEmMinusculas", "qev", "02.08.00", "N", false, true, true},
        CasoComparacao{"PermissaoSoComSMaiusculo", "QEV", "02.08.00", "s", false, true, true},
        CasoComparacao{"SistemaAusente", "VQE", "09.00.00", "N", true, false, false}),
    [](const auto& info) { return std::string(info.param.nome); });

TEST_F(VersaoTeste, TheNoticeOpensOnlyWebAddresses) {
    QStringList abertos;
    Lancador::define([&](Lancador::Tipo, const QString& alvo) {
        abertos << alvo;
        return true;
    });
    for (const QString& link :
         {kLink, QStringLiteral("file:///etc/passwd"), QStringLiteral("javascript:alert(1)")}) {
        TfrmZubAvisoVersao f(QStringLiteral("QEV"), QStringLiteral("02.08.00"), link, true);
        f.show();
        QTest::mouseClick(f.lblLink(), Qt::LeftButton);
    }
    Lancador::define([](Lancador::Tipo, const QString&) { return true; });
    EXPECT_EQ(abertos, QStringList({kLink}));
}

struct CasoFalha {
    const char* nome;
    std::function<void(ServidorTeste&)> prepara;
    int mensagens;  // the plain message of a reply that is not a data packet
};
void PrintTo(const CasoFalha& c, std::ostream* os) { *os << c.nome; }

class FalhaVersao : public VersaoTeste, public ::testing::WithParamInterface<CasoFalha> {};

TEST_P(FalhaVersao, TheProgramGoesOnWithAtMostOneMessage) {
    GetParam().prepara(servidor);
    TZubVerificaVersaoSis v;
    prepara(v);
    EXPECT_FALSE(v.Execute());
    EXPECT_FALSE(v.FinalizacaoPedida());
    ASSERT_EQ(msgs.pedidos().size(), GetParam().mensagens)
        << msgs.textos().join(" / ").toStdString();
    if (GetParam().mensagens) EXPECT_EQ(msgs.pedidos().first().tipo, Mensagens::CaixaErroSimples);
    EXPECT_FALSE(sobrouArquivo());
}

INSTANTIATE_TEST_SUITE_P(
    Casos, FalhaVersao,
    ::testing::Values(
        CasoFalha{"ArquivoTruncado",
                  [](ServidorTeste& s) {
                      s.respondeCom(200, arquivoVersao("QEV", "02.08.00", "N").left(150));
                  },
                  1},
        CasoFalha{"PaginaHtml",
                  [](ServidorTeste& s) {
                      s.respondeCom(200, "<html><body><p>Manutenção<br></body></html>",
                                    "text/html");
                  },
                  1},
        CasoFalha{"Binario",
                  [](ServidorTeste& s) {
                      s.respondeCom(200, QByteArray("\x00\xff\xfe\x01PK\x03\x04", 9),
                                    "application/octet-stream");
                  },
                  1},
        CasoFalha{"XmlQueNaoEPacote",
                  [](ServidorTeste& s) { s.respondeCom(200, "<?xml version=\"1.0\"?><versoes/>"); },
                  1},
        CasoFalha{
            "SemCampoSistema",
            [](ServidorTeste& s) {
                s.respondeCom(
                    200,
                    "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS><FIELD attrname=\"Versao\" "
                    "fieldtype=\"string\"/></FIELDS></METADATA><ROWDATA><ROW "
                    "Versao=\"09.00.00\"/></ROWDATA></DATAPACKET>");
            },
            0},
        CasoFalha{
            "SemCampoVersao",
            [](ServidorTeste& s) {
                s.respondeCom(
                    200,
                    "<DATAPACKET Version=\"2.0\"><METADATA><FIELDS><FIELD attrname=\"Sistema\" "
                    "fieldtype=\"string\"/></FIELDS></METADATA><ROWDATA><ROW "
                    "Sistema=\"QEV\"/></ROWDATA></DATAPACKET>");
            },
            0},
        CasoFalha{"ErroHttp",
                  [](ServidorTeste& s) {
                      s.respondeCom(404, "<html><body>Não encontrado</body></html>", "text/html");
                  },
                  0},
        CasoFalha{"EnormeComTamanho",
                  [](ServidorTeste& s) { s.respondeCom(200, QByteArray(3 * 1024 * 1024, '<')); },
                  0},
        CasoFalha{"EnormeSemTamanho",
                  [](ServidorTeste& s) {
                      s.respondeCom(200, QByteArray(3 * 1024 * 1024, '<'), "text/xml", false);
                  },
                  0},
        CasoFalha{"SemServidor",
                  [](ServidorTeste&) {
                      TZubVerificaVersaoSis::DefineServidor(ServidorTeste::enderecoSemServidor());
                  },
                  0},
        CasoFalha{"ServidorCalado", [](ServidorTeste& s) { s.cala(); }, 0},
        CasoFalha{"ServidorGotejando", [](ServidorTeste& s) { s.goteja(); }, 0}),
    [](const auto& info) { return std::string(info.param.nome); });
