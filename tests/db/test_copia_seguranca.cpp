// The safe copy of the database and its restoration: written whole and checked, put back
// atomically with the previous database kept, and refused for files that would lose data.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <algorithm>
#include <functional>
#include <QFile>
#include <QFileInfo>

#include "apoio/Apoio.h"
#include "db/CopiaSeguranca.h"
#include "db/DmConexao.h"

using namespace Apoio;

namespace {

const char* kDados = R"SQL(
INSERT INTO OPERADORAS (CD_OPER, CD_CNPJ, NM_RAZAO_SOCIAL, CD_GRUPO_CLASSIFICACAO, CD_REGIAO_ATUACAO)
  VALUES ('123456', '11222333000181', 'OPERADORA DA CÓPIA', 22, 1);
INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO) VALUES ('123456', 7, 'PLANO GUARDADO');
)SQL";

// Another running copy of the program: it holds the shared lock on the sidecar file.
class OutraCopia {
public:
    explicit OutraCopia(const QString& banco) {
        m_fd = ::open(QFile::encodeName(banco + QStringLiteral(".lock")).constData(), O_RDWR | O_CREAT, 0644);
        ::flock(m_fd, LOCK_SH);
    }
    ~OutraCopia() { ::close(m_fd); }

private:
    int m_fd = -1;
};

class CopiaSegurancaTeste : public ::testing::Test {
protected:
    PastaTeste pasta;
    Mensageiro mensagens;
    QTemporaryDir documentos;
    std::unique_ptr<TDmConexao> conexao;
    QVector<int> barra;

    void SetUp() override {
        criaBanco(pasta.caminho(), Esquema::Atual, QString::fromUtf8(kDados));
        conexao = std::make_unique<TDmConexao>();
        conexao->AbreBanco();
    }
    Banco& banco() { return conexao->banco(); }
    qlonglong conta(const QString& sql) { return banco().valor(sql).toLongLong(); }
    QString destino(const QString& nome = QStringLiteral("QEV-2026-12-10.mdb")) {
        return documentos.filePath(nome);
    }
    CopiaSeguranca::Progresso progresso() {
        return [this](int v) { barra << v; };
    }
    // Files in the program folder and the documents folder, to show nothing was left.
    QStringList arquivos() {
        return QDir(pasta.caminho()).entryList(QDir::Files | QDir::Hidden) +
               QDir(documentos.path()).entryList(QDir::Files | QDir::Hidden);
    }
    // Whether a third party can take the database for itself (nobody holds the lock).
    bool livre() {
        const int fd = ::open(QFile::encodeName(conexao->CaminhoBanco() + ".lock").constData(), O_RDWR);
        const bool r = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        ::close(fd);
        return r;
    }
};

TEST_F(CopiaSegurancaTeste, NomePadraoTemAData) {
    EXPECT_EQ(CopiaSeguranca::NomePadrao(QDate(2026, 3, 9)), QStringLiteral("QEV-2026-03-09.mdb"));
}

TEST_F(CopiaSegurancaTeste, GravaUmaCopiaConferidaEDeixaSoOArquivo) {
    banco().executa(QStringLiteral("INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO) VALUES ('123456', 8, 'X')"));
    banco().executa(QStringLiteral("DELETE FROM TB_PLANOS WHERE SEQ_PLANO = 8"));
    const QStringList antes = arquivos();
    CopiaSeguranca::Grava(*conexao, destino(), progresso());

    EXPECT_EQ(arquivos(), QStringList(antes) << QStringLiteral("QEV-2026-12-10.mdb"));
    ASSERT_FALSE(barra.isEmpty());
    EXPECT_EQ(barra.last(), 100);
    EXPECT_TRUE(std::is_sorted(barra.begin(), barra.end()));

    const CopiaSeguranca::Conteudo c = CopiaSeguranca::Confere(destino());
    EXPECT_EQ(c.versao, CopiaSeguranca::VersaoPrograma());
    EXPECT_EQ(c.cdOper, QStringLiteral("123456"));
    EXPECT_EQ(c.razaoSocial, QStringLiteral("OPERADORA DA CÓPIA"));
    EXPECT_EQ(c.planos, 1);

    auto copia = abreBanco(destino());  // encrypted with the program's key, every row there
    EXPECT_EQ(copia->valor(QStringLiteral("SELECT count(*) FROM TB_MUNICIPIOS")).toLongLong(),
              conta(QStringLiteral("SELECT count(*) FROM TB_MUNICIPIOS")));
    EXPECT_EQ(copia->valor(QStringLiteral("SELECT NM_PLANO FROM TB_PLANOS")).toString(), QStringLiteral("PLANO GUARDADO"));
    EXPECT_EQ(copia->valor(QStringLiteral("PRAGMA freelist_count")).toLongLong(), 0);  // compacted
    QFile bruto(destino());
    ASSERT_TRUE(bruto.open(QIODevice::ReadOnly));
    EXPECT_FALSE(bruto.readAll().contains("PLANO GUARDADO"));
    EXPECT_FALSE(livre());  // the run's own shared lock is back
}

TEST_F(CopiaSegurancaTeste, FalhaDeixaODestinoComoEstava) {
    // A destination whose folder is missing, and one that is the database itself.
    const QStringList antes = arquivos();
    EXPECT_THROW(CopiaSeguranca::Grava(*conexao, documentos.filePath(QStringLiteral("nao/existe.mdb"))), ErroQev);
    EXPECT_THROW(CopiaSeguranca::Grava(*conexao, conexao->CaminhoBanco()), ErroQev);
    EXPECT_EQ(arquivos(), antes);

    // An existing file under the chosen name stays whole when the copy fails.
    QFile velho(destino());
    ASSERT_TRUE(velho.open(QIODevice::WriteOnly));
    velho.write("cópia antiga");
    velho.close();
    banco().iniciaTransacao();  // the engine refuses to copy inside a transaction
    try {
        CopiaSeguranca::Grava(*conexao, destino());
        ADD_FAILURE() << "a cópia deveria ter falhado";
    } catch (const ErroQev& e) {
        EXPECT_TRUE(e.mensagem().startsWith(QStringLiteral("Não foi possível gravar a cópia de segurança")));
    }
    banco().desfazTransacao();
    ASSERT_TRUE(velho.open(QIODevice::ReadOnly));
    EXPECT_EQ(velho.readAll(), QByteArray("cópia antiga"));
    EXPECT_EQ(arquivos(), QStringList(antes) << QStringLiteral("QEV-2026-12-10.mdb"));
}

TEST_F(CopiaSegurancaTeste, RestauraACopiaGuardandoOAnterior) {
    CopiaSeguranca::Grava(*conexao, destino());
    banco().executa(QStringLiteral("UPDATE TB_PLANOS SET NM_PLANO = 'MUDADO DEPOIS'"));
    banco().executa(QStringLiteral("INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO) VALUES ('123456', 9, 'NOVO')"));
    // the copy lacks a column the start-up adds: the restoration runs the upgrades
    {
        auto copia = abreBanco(destino());
        copia->executa(QStringLiteral("ALTER TABLE TB_CLAUSULA_OPERADORA DROP COLUMN CD_PUBLICADO"));
    }

    const CopiaSeguranca::Conteudo c = CopiaSeguranca::Restaura(*conexao, destino(), progresso());
    EXPECT_EQ(c.razaoSocial, QStringLiteral("OPERADORA DA CÓPIA"));
    EXPECT_EQ(c.planos, 1);
    EXPECT_EQ(barra.last(), 100);

    // the connection works on the restored data, upgraded
    EXPECT_EQ(banco().valor(QStringLiteral("SELECT NM_PLANO FROM TB_PLANOS")).toString(), QStringLiteral("PLANO GUARDADO"));
    EXPECT_TRUE(banco().colunasDaTabela(QStringLiteral("TB_CLAUSULA_OPERADORA")).contains(QStringLiteral("CD_PUBLICADO")));
    banco().executa(QStringLiteral("INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO) VALUES ('123456', 10, 'DEPOIS')"));
    // the previous database is kept beside it, whole
    auto anterior = abreBanco(pasta.arquivo(CopiaSeguranca::NomeAnterior()));
    EXPECT_EQ(coluna(*anterior, QStringLiteral("SELECT NM_PLANO FROM TB_PLANOS ORDER BY SEQ_PLANO")),
              (QStringList{QStringLiteral("MUDADO DEPOIS"), QStringLiteral("NOVO")}));
    EXPECT_FALSE(QFileInfo::exists(conexao->CaminhoBanco() + QStringLiteral(".restaurando")));
    EXPECT_TRUE(QFileInfo::exists(destino()));  // the user's copy is not consumed
    EXPECT_FALSE(livre());
}

// Files a restoration must refuse, each leaving the database as it was.
struct Recusa {
    const char* caso;
    std::function<void(const QString& copia)> estraga;
    const char* mensagem;
};

class RecusaTeste : public CopiaSegurancaTeste, public ::testing::WithParamInterface<Recusa> {};

TEST_P(RecusaTeste, RecusaENadaMuda) {
    CopiaSeguranca::Grava(*conexao, destino());
    GetParam().estraga(destino());
    banco().executa(QStringLiteral("UPDATE TB_PLANOS SET NM_PLANO = 'ATUAL'"));
    const QStringList antes = arquivos();
    try {
        CopiaSeguranca::Restaura(*conexao, destino());
        ADD_FAILURE() << "a restauração deveria ter sido recusada";
    } catch (const ErroQev& e) {
        EXPECT_TRUE(e.mensagem().contains(QString::fromUtf8(GetParam().mensagem))) << e.mensagem().toStdString();
        EXPECT_TRUE(e.mensagem().contains(destino())) << e.mensagem().toStdString();
    }
    EXPECT_EQ(arquivos(), antes);
    EXPECT_EQ(banco().valor(QStringLiteral("SELECT NM_PLANO FROM TB_PLANOS")).toString(), QStringLiteral("ATUAL"));
    EXPECT_FALSE(livre());
}

INSTANTIATE_TEST_SUITE_P(
    Arquivos, RecusaTeste,
    ::testing::Values(
        Recusa{"OutraSenha",
               [](const QString& c) {
                   QFile::remove(c);
                   Banco b;
                   b.abre(c, QByteArrayLiteral("outra senha!!"), true);
                   b.executa(QStringLiteral("CREATE TABLE OPERADORAS (CD_OPER TEXT)"));
               },
               "não abre com a senha do sistema"},
        Recusa{"NaoEBanco",
               [](const QString& c) {
                   QFile f(c);
                   f.open(QIODevice::WriteOnly | QIODevice::Truncate);
                   f.write(QByteArray(8192, 'x'));
               },
               "não abre com a senha do sistema"},
        Recusa{"Danificado",
               [](const QString& c) {
                   QFile f(c);
                   f.open(QIODevice::ReadWrite);
                   f.seek(f.size() / 2);
                   f.write(QByteArray(300, '\x5a'));
               },
               "está danificado"},
        Recusa{"VersaoMaisNova",
               [](const QString& c) {
                   auto b = abreBanco(c);
                   b->executa(QStringLiteral("PRAGMA user_version = %1").arg(CopiaSeguranca::VersaoPrograma() + 1));
               },
               "mais nova que esta"},
        Recusa{"OutroBanco",
               [](const QString& c) {
                   auto b = abreBanco(c);
                   b->executa(QStringLiteral("DROP TABLE TB_PLANOS"));
               },
               "não é um banco de dados do QEV"}),
    [](const auto& info) { return std::string(info.param.caso); });

TEST_F(CopiaSegurancaTeste, CopiaQueNaoSobeDeixaOBancoAnterior) {
    CopiaSeguranca::Grava(*conexao, destino());
    {  // opens and passes the checks, but the start-up cannot work on it
        auto b = abreBanco(destino());
        b->executa(QStringLiteral("DROP TABLE TB_MUNICIPIOS"));
    }
    banco().executa(QStringLiteral("UPDATE TB_PLANOS SET NM_PLANO = 'ATUAL'"));
    try {
        CopiaSeguranca::Restaura(*conexao, destino());
        ADD_FAILURE() << "a restauração deveria ter falhado";
    } catch (const ErroQev& e) {
        EXPECT_TRUE(e.mensagem().contains(QStringLiteral("O banco de dados anterior foi mantido"))) << e.mensagem().toStdString();
    }
    EXPECT_EQ(banco().valor(QStringLiteral("SELECT NM_PLANO FROM TB_PLANOS")).toString(), QStringLiteral("ATUAL"));
    EXPECT_FALSE(QFileInfo::exists(conexao->CaminhoBanco() + QStringLiteral(".restaurando")));
}

TEST_F(CopiaSegurancaTeste, OutraCopiaAbertaRecusaAsDuas) {
    const QString copia = destino();
    CopiaSeguranca::Grava(*conexao, copia);
    const QString outroDestino = destino(QStringLiteral("outra.mdb"));
    {
        OutraCopia aberta(conexao->CaminhoBanco());
        for (const auto& acao : {std::function<void()>([&] { CopiaSeguranca::Grava(*conexao, outroDestino); }),
                                 std::function<void()>([&] { CopiaSeguranca::Restaura(*conexao, copia); })}) {
            try {
                acao();
                ADD_FAILURE() << "deveria ter sido recusada";
            } catch (const ErroQev& e) {
                EXPECT_TRUE(e.mensagem().startsWith(QStringLiteral("Outra cópia do QEV está com o banco de dados aberto")))
                    << e.mensagem().toStdString();
            }
        }
        EXPECT_FALSE(QFileInfo::exists(outroDestino));
        EXPECT_FALSE(QFileInfo::exists(pasta.arquivo(CopiaSeguranca::NomeAnterior())));
    }
    // once the other copy is gone, both run
    EXPECT_NO_THROW(CopiaSeguranca::Grava(*conexao, outroDestino));
    EXPECT_NO_THROW(CopiaSeguranca::Restaura(*conexao, copia));
    EXPECT_FALSE(livre());
}

}  // namespace
