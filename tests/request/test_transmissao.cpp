// The hand-over to the transfer program, end to end: the simulator runs as a real
// child process in a folder with spaces, fed by request files of a real database.
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "BaseTransferencia.h"
#include "ConfiguracaoBuild.h"
#include "apoio/VuqTeste.h"
#include "db/Erro.h"
#include "common/Versao.h"
#include "platform/Plataforma.h"
#include "request/ArquivoSolicitacao.h"
#include "request/BlowfishVUQ.h"
#include "request/Crc32.h"
#include "request/FrmDlgTransmissaoArq.h"
#include "request/TransmissaoArq.h"
#include "request/VUQ.h"
#include "common/Win1252.h"

using namespace Apoio;

namespace {

const QString kCdOper = QStringLiteral("123456");
const QString kId = QStringLiteral("12345620240131140509");
const QString kSenha = QStringLiteral(" s3nha com espaços ");
const QString kSucesso = QStringLiteral(
    "ARQUIVO ENVIADO COM SUCESSO.\n\nToda solicitação de Adequação enviada à ZUB pelo sistema QEV "
    "Operadora deverá ter sua condição de recebimento e seu devido processamento pela agência "
    "conferida através do item “Verificação de Incorporação de Dados”, no site da ZUB.");
const QString kErroTransmissao =
    QStringLiteral("Houve um erro ao transmitir o arquivo. Mensagem do erro: ");

const char* kDados = R"SQL(
INSERT INTO OPERADORAS (CD_OPER, CD_CNPJ, CD_GRUPO_CLASSIFICACAO, CD_REGIAO_ATUACAO) VALUES ('123456', '11222333000181', 22, 1);
INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_STATUS_ENVIO) VALUES ('123456', 7, 'PLANO SETE', 0);
INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_STATUS_ENVIO, NR_PROTOCOLO_REGISTRO, DT_PROTOCOLO_REGISTRO, NR_PROTOCOLO_SOLICITACAO)
  VALUES ('123456', 12, 'PLANO DOZE', 2, '111', '2023-05-06 07:08:09', '12345620230506070809');
INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, CD_OPER, RAZAO_SOCIAL_ESTB_SAUD) VALUES (1, '123456', 'HOSPITAL ÂNCORA');
INSERT INTO RL_PLANOS_ESTAB_SAUDE (CD_OPER, SEQ_PLANO, ID_ESTB_SAUD) VALUES ('123456', 7, 1);
)SQL";

class Transmissao : public BaseTransferencia {
protected:
    Mensageiro mensagens;

    void SetUp() override {
        instala(QString::fromUtf8(kDados));
        if (HasFatalFailure()) return;
        configura({});
    }

    // vuqsim.ini beside the simulator; it always logs the lines it receives.
    void configura(QVariantMap valores) {
        if (!valores.contains(QStringLiteral("registro"))) valores.insert(QStringLiteral("registro"), registro());
        respostaDoSimulador(valores);
    }
    QString registro() const { return raiz.path() + QStringLiteral("/registro.log"); }
    // The parameter lines the simulator received, split into fields.
    QVector<QStringList> recebidas() const {
        QFile f(registro());
        QVector<QStringList> r;
        if (!f.open(QIODevice::ReadOnly)) return r;
        for (const QByteArray& l : f.readAll().split('\n'))
            if (!l.isEmpty()) r << QString::fromUtf8(l).split(QLatin1Char('|'));
        return r;
    }

    // Writes the plan's request file and queues it as the request screen does.
    TEnvio enfileira(int plano) {
        TEnvio e;
        e.SeqPlano = plano;
        e.NmPlano =
            valor(QStringLiteral("SELECT NM_PLANO FROM TB_PLANOS WHERE SEQ_PLANO = ?"), {plano})
                .toString();
        e.CdStatusEnvio = valor(
            QStringLiteral("SELECT CD_STATUS_ENVIO FROM TB_PLANOS WHERE SEQ_PLANO = ?"), {plano});
        e.NmArquivo = NomeArquivoSolicitacao(kCdOper, plano, Relogio::agora());
        e.DeContratacao = QStringLiteral("Coletivo Empresarial");
        e.DeAbrangencia = QStringLiteral("Nacional");
        e.DeSegmentacao = QStringLiteral("Ambulatorial");
        EXPECT_TRUE(GeraArquivoSolicitacao(plano, e.NmArquivo, kId));
        return e;
    }

    struct Plano {
        QVariant status, protocolo, data, solicitacao, retorno;
    };
    Plano plano(int n) {
        const Resultado r = banco().consulta(
            QStringLiteral(
                "SELECT CD_STATUS_ENVIO, NR_PROTOCOLO_REGISTRO, DT_PROTOCOLO_REGISTRO, "
                "NR_PROTOCOLO_SOLICITACAO, NM_ARQ_RETORNO FROM TB_PLANOS WHERE SEQ_PLANO = ?"),
            {n});
        return {r.linhas[0][0], r.linhas[0][1], r.linhas[0][2], r.linhas[0][3], r.linhas[0][4]};
    }
    QStringList protocolosPendentes() const {
        return QDir(vuq->pastaProtocolos()).entryList(QDir::Files);
    }
    // The dialog's logic, shown.
    std::unique_ptr<TTransmissaoArq> dialogo(const TListaEnvio& lista) {
        auto t = std::make_unique<TTransmissaoArq>(kCdOper, lista, 5, kId);
        t->Mostrado();
        return t;
    }
    QStringList errosEnvio() const {
        QStringList r;
        const TErrosCarga& e = exportacao->cdsErrosCarga();
        for (int i = 0; i < e.RecordCount(); ++i)
            r << QStringLiteral("%1|%2|%3|%4")
                     .arg(e.linha(i).Sequencia)
                     .arg(e.linha(i).NomeCampo, e.linha(i).NomeErro)
                     .arg(e.linha(i).linhaArquivo);
        return r;
    }
};

TEST_F(Transmissao, SentWithProtocolRecordsThePlan) {
    const TEnvio envio = enfileira(7);
    auto t = dialogo({envio});
    ASSERT_TRUE(t->Confirma(kSenha, 4711));

    const Plano p = plano(7);
    EXPECT_EQ(p.status.toInt(), 1);
    EXPECT_EQ(p.protocolo.toString(), QStringLiteral("2024000123"));  // "T" and "-7" removed
    EXPECT_EQ(p.data.toString(), QStringLiteral("2024-01-31 14:10:00"));
    EXPECT_EQ(p.solicitacao.toString(), kId);
    EXPECT_TRUE(p.retorno.isNull());
    EXPECT_TRUE(protocolosPendentes().isEmpty());
    EXPECT_EQ(t->PlanosEnviados(), QStringList{QStringLiteral("7")});
    EXPECT_EQ(t->UltimoProtocolo(), QStringLiteral("2024000123"));
    EXPECT_EQ(mensagens.textos(), QStringList{kSucesso});
    EXPECT_TRUE(errosEnvio().isEmpty());

    // what reached the transfer program: the password with its spaces, paths with
    // spaces intact, the CRC of the file, the version with dots
    const QVector<QStringList> linhas = recebidas();
    ASSERT_EQ(linhas.size(), 1);
    const QStringList& f = linhas[0];
    ASSERT_EQ(f.size(), 11);
    EXPECT_EQ(f[0], QStringLiteral("1"));
    EXPECT_EQ(f[1], kCdOper);
    EXPECT_EQ(f[2], kSenha);
    EXPECT_EQ(f[3], programa + QStringLiteral("123456310120241405090007.QEV"));
    EXPECT_EQ(f[4], QStringLiteral("123456310120241405090007_7.QEV"));
    EXPECT_EQ(f[5], QStringLiteral("QEV"));
    EXPECT_EQ(f[6], VersaoSistema(true));
    EXPECT_EQ(f[7],
              QStringLiteral(
                  "Solicitação de registro do Plano: PLANO SETE - Contratação:Coletivo "
                  "Empresarial - Abrangência Geográfica:Nacional - Segmentação:Ambulatorial."));
    EXPECT_EQ(f[8], Crc32Hex(*Crc32Arquivo(f[3])));
    EXPECT_EQ(f[9], QStringLiteral("'4711'"));
    EXPECT_EQ(f[10], QString());
    EXPECT_TRUE(QFileInfo::exists(f[3])) << "request files stay in the program's folder";
}

TEST_F(Transmissao, RectificationSendKeepsTheRegistrationProtocol) {
    auto t = dialogo({enfileira(12)});
    ASSERT_TRUE(t->Confirma(kSenha, 1));
    const Plano p = plano(12);
    EXPECT_EQ(p.status.toInt(), 1);
    EXPECT_EQ(p.protocolo.toString(), QStringLiteral("111"));
    EXPECT_EQ(p.solicitacao.toString(), QStringLiteral("12345620230506070809"));
    EXPECT_EQ(
        valor(QStringLiteral("SELECT NR_PROTOCOLO_REENVIO || '|' || DT_PROTOCOLO_REENVIO FROM "
                             "TB_PLANOS_PROTOCOLOS WHERE SEQ_PLANO = 12"))
            .toString(),
        QStringLiteral("2024000123|2024-01-31 14:10:00"));
}

TEST_F(Transmissao, AnyExitButNineIsAFailureRow) {
    for (int saida : {0, 3, 5, 7}) {
        SCOPED_TRACE(saida);
        configura({{QStringLiteral("saida"), saida}});
        exportacao->LimpaErros();
        mensagens.limpa();
        auto t = dialogo({enfileira(7)});
        EXPECT_FALSE(t->Confirma(kSenha, 1));
        EXPECT_EQ(errosEnvio(),
                  QStringList{QStringLiteral(
                      "1|Envio de Planos|Não foi possível enviar o plano PLANO SETE|-1")});
        const TErrosCarga& e = exportacao->cdsErrosCarga();
        EXPECT_TRUE(e.linha(0).seq_plano.isNull());
        EXPECT_TRUE(e.linha(0).nm_plano.isNull());
        const Plano p = plano(7);
        EXPECT_EQ(p.status.toInt(), 0);
        EXPECT_TRUE(p.protocolo.isNull());
        EXPECT_TRUE(p.retorno.isNull());
        EXPECT_TRUE(mensagens.textos().isEmpty());
        EXPECT_TRUE(t->PlanosEnviados().isEmpty());
    }
}

TEST_F(Transmissao, SentWithoutProtocolFileShowsSuccessButRecordsNothing) {
    configura({{QStringLiteral("semProtocolo"), true}});
    auto t = dialogo({enfileira(7)});
    EXPECT_FALSE(t->Confirma(kSenha, 1));  // nothing recorded: the dialog stays open
    EXPECT_EQ(mensagens.textos(), QStringList{kSucesso});
    const Plano p = plano(7);
    EXPECT_EQ(p.status.toInt(), 0);
    EXPECT_TRUE(p.protocolo.isNull());
    EXPECT_TRUE(p.retorno.isNull());
    EXPECT_TRUE(t->PlanosEnviados().isEmpty());
    EXPECT_TRUE(errosEnvio().isEmpty());
}

// A hand-over that never started the transfer program leaves no pending name behind:
// nothing will ever answer under it.
TEST_F(Transmissao, AProgramThatNeverStartedStopsTheConfirmationAndLeavesNothingPending) {
    const struct {
        const char* caso;
        bool instalado;
        const char* mensagem;
    } casos[] = {
        {"não instalado", false, " O VUQ não está instalado ou sua instalação foi danificada!"},
        {"não executável", true, "<VUQ> Erro ao executar o VUQ."},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        mensagens.limpa();
        if (c.instalado) {
            QFile::setPermissions(vuq->executavel(), QFile::ReadOwner | QFile::WriteOwner);
            vuq->instala();
        } else {
            vuq->desinstala();
        }
        auto t = dialogo({enfileira(7), enfileira(12)});
        EXPECT_FALSE(t->Confirma(kSenha, 1));
        ASSERT_EQ(mensagens.textos().size(), 1);
        EXPECT_TRUE(mensagens.textos().first().startsWith(kErroTransmissao + QString::fromUtf8(c.mensagem)))
            << mensagens.textos().first().toStdString();
        EXPECT_TRUE(plano(7).retorno.isNull());
        EXPECT_EQ(plano(7).status.toInt(), 0);
        EXPECT_TRUE(plano(12).retorno.isNull()) << "nothing further is sent";
        EXPECT_TRUE(recebidas().isEmpty());
    }
}

// A protocol the database cannot hold is never recorded by halves in the hand-over
// either: the confirmation stops with the reason, and the plan keeps its pending name and
// its protocol file for the start, which names it in its warning.
TEST_F(Transmissao, AProtocolTheDatabaseCannotHoldStaysPending) {
    const struct {
        const char* caso;
        QString protocolo;
        const char* motivo;
    } casos[] = {
        {"longo", QStringLiteral("T1234567890123456789012345678901-7"), "tem 31 caracteres"},
        {"sem número", QStringLiteral("T-7"), "não traz o número do protocolo"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        banco().executa(QStringLiteral("UPDATE TB_PLANOS SET NM_ARQ_RETORNO = NULL"));
        for (const QString& f : protocolosPendentes()) QFile::remove(vuq->pastaProtocolos() + f);
        mensagens.limpa();
        configura({{QStringLiteral("protocolo"), c.protocolo}});
        auto t = dialogo({enfileira(7)});
        EXPECT_FALSE(t->Confirma(kSenha, 1));
        ASSERT_EQ(mensagens.textos().size(), 1);
        EXPECT_TRUE(mensagens.textos()[0].startsWith(kErroTransmissao)) << qPrintable(mensagens.textos()[0]);
        EXPECT_TRUE(mensagens.textos()[0].contains(QString::fromUtf8(c.motivo))) << qPrintable(mensagens.textos()[0]);
        EXPECT_TRUE(t->PlanosEnviados().isEmpty());
        const Plano p = plano(7);
        EXPECT_EQ(p.status.toInt(), 0);
        EXPECT_TRUE(p.protocolo.isNull());
        EXPECT_EQ(p.retorno.toString(), QStringLiteral("123456310120241405090007_7.QEV"));
        EXPECT_EQ(protocolosPendentes(), QStringList{QStringLiteral("123456310120241405090007_7.QEV")});
    }
}

TEST_F(Transmissao, SecondFileFailsFirstIsSent) {
    configura({{QStringLiteral("saidaPlano/12"), 3}});
    auto t = dialogo({enfileira(7), enfileira(12)});
    EXPECT_TRUE(t->Confirma(kSenha, 1));
    EXPECT_EQ(t->PlanosEnviados(), QStringList{QStringLiteral("7")});
    EXPECT_EQ(plano(7).status.toInt(), 1);
    EXPECT_EQ(plano(12).status.toInt(), 2);
    EXPECT_TRUE(plano(12).retorno.isNull());
    EXPECT_EQ(errosEnvio(),
              QStringList{QStringLiteral(
                  "1|Envio de Planos|Não foi possível enviar o plano PLANO DOZE|-1")});
    EXPECT_EQ(recebidas().size(), 2);
}

TEST_F(Transmissao, FirstFileFailsTheLoopGoesOn) {
    configura({{QStringLiteral("saidaPlano/7"), 1}});
    auto t = dialogo({enfileira(7), enfileira(12)});
    EXPECT_TRUE(t->Confirma(kSenha, 1));
    EXPECT_EQ(t->PlanosEnviados(), QStringList{QStringLiteral("12")});
    EXPECT_EQ(plano(7).status.toInt(), 0);
    EXPECT_EQ(plano(12).status.toInt(), 1);
}

TEST_F(Transmissao, PasswordAndExtensionChecksSendNothing) {
    const struct {
        QString senha;
        QString arquivo;  // empty: the real request file
        QString mensagem;
    } casos[] = {
        {QString(), {}, QStringLiteral("É obrigatório o preenchimento da senha!")},
        {QStringLiteral("    "), {}, QStringLiteral("É obrigatório o preenchimento da senha!")},
        {kSenha, QStringLiteral("123456310120241405090007.TXT"),
         QStringLiteral("Somente é permitido transmitir arquivos com extensão .QEV")},
        {QStringLiteral("abc|def"),
         {},
         kErroTransmissao +
             QStringLiteral("O caractere \"|\" não é aceito na senha, pois separa os campos "
                            "dos parâmetros entregues ao VUQ.")},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.mensagem.toStdString());
        mensagens.limpa();
        TEnvio e = enfileira(7);
        if (!c.arquivo.isEmpty()) e.NmArquivo = c.arquivo;
        auto t = dialogo({e});
        EXPECT_FALSE(t->Confirma(c.senha, 1));
        EXPECT_EQ(mensagens.textos(), QStringList{c.mensagem});
        EXPECT_TRUE(plano(7).retorno.isNull());
        EXPECT_EQ(plano(7).status.toInt(), 0);
    }
    EXPECT_TRUE(recebidas().isEmpty());
    // a quoted lower-case extension is still ".QEV"
    TEnvio e = enfileira(7);
    const QString aspas = e.NmArquivo.chopped(4) + QStringLiteral(".\"qev\"");
    QFile::copy(programa + e.NmArquivo, programa + aspas);
    e.NmArquivo = aspas;
    mensagens.limpa();
    auto t = dialogo({e});
    t->Confirma(kSenha, 1);
    EXPECT_FALSE(mensagens.textos().contains(
        QStringLiteral("Somente é permitido transmitir arquivos com extensão .QEV")));
}

TEST_F(Transmissao, ARecordedPlanIsNotHandedOverAgainInTheSameOpening) {
    const TEnvio sete = enfileira(7);
    const TEnvio doze = enfileira(12);
    QFile::rename(programa + doze.NmArquivo, programa + QStringLiteral("guardado"));
    auto t = dialogo({sete, doze});
    // the second request file is missing: an error stops the confirmation after the first
    EXPECT_FALSE(t->Confirma(kSenha, 1));
    ASSERT_EQ(mensagens.textos().size(), 3);  // success, CRC window, error
    EXPECT_TRUE(mensagens.textos()[2].startsWith(kErroTransmissao +
                                                 QStringLiteral("Erro ao abrir arquivo para envio. "
                                                                "Código de erro do Windows: 2")));
    EXPECT_EQ(plano(7).protocolo.toString(), QStringLiteral("2024000123"));

    // the user confirms again once the file is back: only the second file goes
    QFile::rename(programa + QStringLiteral("guardado"), programa + doze.NmArquivo);
    configura({{QStringLiteral("protocolo"), QStringLiteral("999")}});
    EXPECT_TRUE(t->Confirma(kSenha, 1));
    EXPECT_EQ(recebidas().size(), 2);
    EXPECT_EQ(plano(7).protocolo.toString(), QStringLiteral("2024000123"));
    EXPECT_EQ(plano(7).solicitacao.toString(), kId);
    EXPECT_EQ(plano(12).status.toInt(), 1);
    EXPECT_EQ(t->PlanosEnviados(), (QStringList{QStringLiteral("7"), QStringLiteral("12")}));
}

TEST_F(Transmissao, InterruptedHandOverIsPickedUpAtTheNextStart) {
    // While the transfer program runs (the wait keeps processing events), another copy
    // of the program takes the database's write lock: the outcome cannot be recorded.
    configura({{QStringLiteral("espera"), 1500}});
    std::unique_ptr<Banco> outraCopia;
    QTimer::singleShot(300, [&] {
        outraCopia = abreBanco(programa + QStringLiteral("QEV.mdb"));
        outraCopia->iniciaTransacao();
    });
    auto t = dialogo({enfileira(7)});
    EXPECT_FALSE(t->Confirma(kSenha, 1));
    ASSERT_TRUE(outraCopia) << "no event was processed during the wait";
    ASSERT_EQ(mensagens.textos().size(), 1);
    EXPECT_TRUE(mensagens.textos()[0].startsWith(kErroTransmissao));
    outraCopia->desfazTransacao();
    outraCopia.reset();
    EXPECT_EQ(plano(7).retorno.toString(), QStringLiteral("123456310120241405090007_7.QEV"));
    EXPECT_EQ(plano(7).status.toInt(), 0);
    EXPECT_EQ(protocolosPendentes(), QStringList{QStringLiteral("123456310120241405090007_7.QEV")});

    // next start
    exportacao.reset();
    conexao.reset();
    TDmConexao inicio;
    inicio.AbreBanco();
    const Resultado r = inicio.banco().consulta(
        QStringLiteral("SELECT CD_STATUS_ENVIO, NR_PROTOCOLO_REGISTRO, NM_ARQ_RETORNO FROM "
                       "TB_PLANOS WHERE SEQ_PLANO = 7"));
    EXPECT_EQ(r.linhas[0][0].toInt(), 1);
    EXPECT_EQ(r.linhas[0][1].toString(), QStringLiteral("2024000123"));
    EXPECT_TRUE(r.linhas[0][2].isNull());
    EXPECT_TRUE(protocolosPendentes().isEmpty());
}

// ---------------------------------------------------------------------------
// TVUQ alone

// This user's folder for parameter files inside `base`.
QString pastaParametros(const QString& base) {
    return QFileInfo(QDir(base).filePath(QStringLiteral("qev-%1").arg(::geteuid()))).absoluteFilePath();
}

ParametrosVUQ parametros(const QString& arquivo) {
    ParametrosVUQ p;
    p.cdOper = kCdOper;
    p.senha = kSenha;
    p.janela = QStringLiteral("'1'");
    p.checksum = Crc32Hex(Crc32Arquivo(arquivo).value_or(0));
    p.descricao = QStringLiteral(
        "Solicitação de registro do Plano: X - Contratação:A - Abrangência Geográfica:B - "
        "Segmentação:C.");
    p.versao = VersaoSistema(true);
    p.tipoArquivo = QStringLiteral("QEV");
    p.nomeTransmissao = NomeTransmissao(QFileInfo(arquivo).fileName(), 7);
    p.arquivo = arquivo;
    return p;
}

TEST_F(Transmissao, ExitCodesOfTheTransferProgram) {
    const QString arquivo = programa + enfileira(7).NmArquivo;
    const struct {
        int saida, resultado;
    } casos[] = {{9, 0}, {0, 1}, {1, 2}, {3, 4}, {5, 6}, {6, 1}, {8, 1}, {255, 1}};
    for (const auto& c : casos) {
        configura({{QStringLiteral("saida"), c.saida}});
        TVUQ v;
        EXPECT_EQ(v.EnviaArquivo(parametros(arquivo)), c.resultado) << c.saida;
        EXPECT_EQ(v.ProtocoloTX(), c.saida == 9 ? QStringLiteral("T2024000123-7") : QString());
    }
}

TEST_F(Transmissao, ParameterFileIsEncipheredAndReadableByItsOwnerOnly) {
    configura({{QStringLiteral("mantemParametros"), true}});
    const QString arquivo = programa + enfileira(7).NmArquivo;
    TVUQ v;
    ASSERT_EQ(v.EnviaArquivo(parametros(arquivo)), 0);
    const QFileInfo par(v.ArquivoParametros());
    EXPECT_EQ(par.absolutePath(), pastaParametros(QDir::tempPath()));
    EXPECT_TRUE(par.fileName().startsWith(kCdOper + QLatin1Char('-')));
    EXPECT_TRUE(par.fileName().endsWith(QStringLiteral(".par")));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(par.filePath()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    QFile f(par.filePath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray letras = f.readAll();
    EXPECT_EQ(letras.size() % 16, 0);
    const TBlowfishVUQ cifra{QByteArray(Config::ChaveVUQ)};
    EXPECT_EQ(DecodificaWin1252(cifra.DecifraParametros(QString::fromLatin1(letras))),
              LinhaParametros(parametros(arquivo)));
    f.remove();
}

TEST_F(Transmissao, WithoutTemporaryFolderTheParameterFileGoesToTheTransferFolder) {
    configura({{QStringLiteral("mantemParametros"), true}});
    const QString arquivo = programa + enfileira(7).NmArquivo;
    qputenv("TMPDIR", QFile::encodeName(raiz.path() + QStringLiteral("/nao existe")));
    TVUQ v;
    EXPECT_EQ(v.EnviaArquivo(parametros(arquivo)), 0);
    EXPECT_EQ(QFileInfo(v.ArquivoParametros()).absolutePath(), pastaParametros(vuq->pasta()));
}

TEST_F(Transmissao, FailuresOfTheHandOverNameTheirCause) {
    const QString arquivo = programa + enfileira(7).NmArquivo;
    const struct {
        const char* caso;
        std::function<void(ParametrosVUQ&)> prepara;
        QString inicio;
    } casos[] = {
        {"operadora", [](ParametrosVUQ& p) { p.cdOper = QStringLiteral("12a456"); },
         QStringLiteral("O código da operadora deve conter 6 algarismos numéricos apenas.")},
        {"arquivo",
         [&](ParametrosVUQ& p) { p.arquivo = programa + QStringLiteral("nao existe.QEV"); },
         QStringLiteral("Erro ao abrir arquivo para envio. Código de erro do Windows: 2")},
        {"nao instalado", [&](ParametrosVUQ&) { vuq->desinstala(); },
         QStringLiteral(" O VUQ não está instalado ou sua instalação foi danificada!")},
        {"nao executavel",
         [&](ParametrosVUQ&) {
             vuq.reset();
             vuq = std::make_unique<VuqInstalado>();  // an empty file that cannot run
         },
         QStringLiteral("<VUQ> Erro ao executar o VUQ. Isto pode indicar que o VUQ não está "
                        "instalado \nou que "
                        "sua instalação foi danificada. Verifique o código de erro do windows: ")},
    };
    for (const auto& c : casos) {
        ParametrosVUQ p = parametros(arquivo);
        c.prepara(p);
        try {
            TVUQ().EnviaArquivo(p);
            ADD_FAILURE() << c.caso;
        } catch (const ErroQev& e) {
            EXPECT_TRUE(e.mensagem().startsWith(c.inicio))
                << c.caso << ": " << qPrintable(e.mensagem());
        }
    }
}

TEST_F(Transmissao, UnwritableTemporaryFolderIsReportedAsAccessDenied) {
    const QString arquivo = programa + enfileira(7).NmArquivo;
    qputenv("TMPDIR", "/sys");
    try {
        TVUQ().EnviaArquivo(parametros(arquivo));
        ADD_FAILURE() << "no error";
    } catch (const ErroQev& e) {
        EXPECT_TRUE(e.mensagem().startsWith(
            QStringLiteral("Erro ao criar arquivo temporário \"/sys/qev-%1/123456-").arg(::geteuid())))
            << qPrintable(e.mensagem());
        EXPECT_TRUE(e.mensagem().endsWith(
            QStringLiteral(".par\". \nO Windows informa que o acesso foi negado.")))
            << qPrintable(e.mensagem());
    }
}

// The parameter file holds the password: it is created new (never through a link or
// over a file already there) in a folder of this user alone, readable by its owner
// only, and it goes whenever the transfer program did not start; a program that ran
// removes it itself (the simulator does, unless told to keep it).
TEST_F(Transmissao, TheParameterFileLivesInAPrivateFolderAndGoesWhenNothingRan) {
    const QString arquivo = programa + enfileira(7).NmArquivo;
    const QString privada = pastaParametros(QDir::tempPath());
    const auto modo = [](const QString& caminho) {
        struct stat st {};
        return ::lstat(QFile::encodeName(caminho).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
    };

    // A folder of that name opened to others is closed again.
    ASSERT_TRUE(QDir().mkpath(privada));
    ASSERT_EQ(::chmod(QFile::encodeName(privada).constData(), 0777), 0);
    configura({{QStringLiteral("mantemParametros"), true}});
    {
        TVUQ v;
        ASSERT_EQ(v.EnviaArquivo(parametros(arquivo)), 0);
        EXPECT_EQ(QFileInfo(v.ArquivoParametros()).absolutePath(), privada);
        EXPECT_EQ(modo(privada), 0700);
        EXPECT_EQ(modo(v.ArquivoParametros()), 0600);
        QFile::remove(v.ArquivoParametros());
    }
    // A run that removes its file leaves the folder empty.
    configura({});
    EXPECT_EQ(TVUQ().EnviaArquivo(parametros(arquivo)), 0);
    EXPECT_TRUE(QDir(privada).entryList(QDir::Files | QDir::Hidden).isEmpty());

    // Whatever keeps the program from starting, the file is gone.
    const struct {
        const char* caso;
        std::function<void()> prepara;
    } falhas[] = {
        {"não instalado", [&] { vuq->desinstala(); }},
        {"não executável",
         [&] {
             vuq.reset();
             vuq = std::make_unique<VuqInstalado>();  // an empty file that cannot run
         }},
    };
    for (const auto& f : falhas) {
        f.prepara();
        TVUQ v;
        EXPECT_THROW(v.EnviaArquivo(parametros(arquivo)), ErroQev) << f.caso;
        EXPECT_FALSE(v.Iniciou()) << f.caso;
        EXPECT_FALSE(v.ArquivoParametros().isEmpty()) << f.caso;
        EXPECT_FALSE(QFileInfo::exists(v.ArquivoParametros())) << f.caso;
        EXPECT_TRUE(QDir(privada).entryList(QDir::Files | QDir::Hidden).isEmpty()) << f.caso;
    }

    // A folder of that name that is a link (someone else's trap) is refused: nothing is
    // written through it.
    ASSERT_TRUE(QDir(privada).removeRecursively());
    QTemporaryDir alheia;
    ASSERT_EQ(::symlink(QFile::encodeName(alheia.path()).constData(), QFile::encodeName(privada).constData()), 0);
    try {
        TVUQ().EnviaArquivo(parametros(arquivo));
        ADD_FAILURE() << "a linked folder was used";
    } catch (const ErroQev& e) {
        EXPECT_TRUE(e.mensagem().startsWith(QStringLiteral("Erro ao criar arquivo temporário \"") + privada))
            << qPrintable(e.mensagem());
        EXPECT_TRUE(e.mensagem().endsWith(QStringLiteral("O Windows informa que o acesso foi negado.")))
            << qPrintable(e.mensagem());
    }
    EXPECT_TRUE(QDir(alheia.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    QFile::remove(privada);
}

// ---------------------------------------------------------------------------
// The dialog itself

TEST_F(Transmissao, DialogClosesWithYesWhenAFileWasSent) {
    TfrmDlgTransmissaoArq dlg({enfileira(7)}, kCdOper, 3, kId);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Enviar arquivo para a ZUB"));
    EXPECT_EQ(dlg.edSenha->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(dlg.btnConfirmar->isDefault());
    EXPECT_EQ(dlg.btnConfirmar->toolTip(), QStringLiteral("confirmar"));
    EXPECT_EQ(dlg.btnCancelar->toolTip(), QStringLiteral("cancelar"));
    dlg.show();

    // empty password: error, the dialog stays open
    QTest::mouseClick(dlg.btnConfirmar, Qt::LeftButton);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(mensagens.textos(),
              QStringList{QStringLiteral("É obrigatório o preenchimento da senha!")});

    QTest::keyClicks(dlg.edSenha, QStringLiteral("segredo"));
    EXPECT_EQ(dlg.edSenha->displayText(), QStringLiteral("*******"));
    const WId janela = dlg.winId();
    QTest::mouseClick(dlg.btnConfirmar, Qt::LeftButton);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.PlanosEnviados(), QStringList{QStringLiteral("7")});
    EXPECT_EQ(recebidas().value(0).value(2), QStringLiteral("segredo"));
    EXPECT_EQ(recebidas().value(0).value(9), QStringLiteral("'%1'").arg(janela));
}

TEST_F(Transmissao, DialogCancelAnswersNoAndErrorRowsStartFromOne) {
    configura({{QStringLiteral("saida"), 2}});
    TfrmDlgTransmissaoArq dlg({enfileira(7)}, kCdOper, 8, kId);
    dlg.show();
    QTest::keyClicks(dlg.edSenha, QStringLiteral("segredo"));
    QTest::mouseClick(dlg.btnConfirmar, Qt::LeftButton);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(errosEnvio(),
              QStringList{QStringLiteral(
                  "1|Envio de Planos|Não foi possível enviar o plano PLANO SETE|-1")});
    QTest::mouseClick(dlg.btnCancelar, Qt::LeftButton);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
}

}  // namespace
