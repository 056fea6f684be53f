#include "db/CopiaSeguranca.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QStandardPaths>
#include <QUrl>

#include "ConfiguracaoBuild.h"
#include "db/Banco.h"
#include "db/DmConexao.h"
#include "db/Erro.h"
#include "db/Valores.h"
#include "platform/Plataforma.h"

namespace CopiaSeguranca {
namespace {

void sincroniza(const QString& caminho) {
    const int fd = ::open(QFile::encodeName(caminho).constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void informa(const Progresso& p, int valor) {
    if (p) p(qBound(0, valor, 100));
}

// Calls `passo` now and then while a statement of `banco` runs (the screen repaints,
// the bar moves).
class DuranteComando {
public:
    DuranteComando(Banco& banco, std::function<void()> passo) : m_banco(banco), m_passo(std::move(passo)) {
        if (m_passo) sqlite3_progress_handler(m_banco.handle(), 20000, &DuranteComando::chamada, this);
    }
    ~DuranteComando() {
        if (m_passo && m_banco.handle()) sqlite3_progress_handler(m_banco.handle(), 0, nullptr, nullptr);
    }
    DuranteComando(const DuranteComando&) = delete;
    DuranteComando& operator=(const DuranteComando&) = delete;

private:
    static int chamada(void* p) {
        static_cast<DuranteComando*>(p)->m_passo();
        return 0;
    }
    Banco& m_banco;
    std::function<void()> m_passo;
};


qlonglong tamanhoBanco(Banco& b) {
    return b.valor(QStringLiteral("PRAGMA page_count")).toLongLong() *
           b.valor(QStringLiteral("PRAGMA page_size")).toLongLong();
}

QString outraCopiaAberta(const QString& acao) {
    return QStringLiteral("Outra cópia do QEV está com o banco de dados aberto neste computador.\n"
                          "Feche-a antes de %1.").arg(acao);
}

// A file of ours that goes away unless kept.
struct Temporario {
    QString caminho;
    bool manter = false;
    ~Temporario() {
        if (!manter && !caminho.isEmpty()) QFile::remove(caminho);
    }
};

// The version, the operator and the number of plans a database holds.
Conteudo conteudoAtual(Banco& b) {
    Conteudo c;
    c.versao = b.valor(QStringLiteral("PRAGMA user_version")).toInt();
    const Resultado op = b.consulta(QStringLiteral(
        "SELECT CD_OPER, NM_RAZAO_SOCIAL FROM OPERADORAS ORDER BY rowid LIMIT 1"));
    if (!op.vazio()) {
        c.cdOper = op.linhas.first().at(0).toString();
        c.razaoSocial = op.linhas.first().at(1).toString();
    }
    c.planos = b.valor(QStringLiteral("SELECT count(*) FROM TB_PLANOS")).toLongLong();
    return c;
}

// Both checks of a copy; messages name `nome`, the file the user chose.
Conteudo confere(const QString& arquivo, const QString& nome, const Progresso& progresso, int de, int ate) {
    if (!QFileInfo(arquivo).isFile())
        throw ErroQev(QStringLiteral("O arquivo \"%1\" não foi encontrado.").arg(nome));
    Banco b;
    try {
        b.abreSomenteLeitura(arquivo, TDmConexao::SenhaBanco());
    } catch (const ErroQev&) {
        throw ErroQev(QStringLiteral("O arquivo \"%1\" não é uma cópia de segurança do QEV: ele não abre "
                                     "com a senha do sistema.").arg(nome));
    }
    Conteudo c;
    try {
        const QStringList tabelas = b.colunasDaTabela(QStringLiteral("OPERADORAS"));
        if (tabelas.isEmpty() || b.colunasDaTabela(QStringLiteral("TB_PLANOS")).isEmpty())
            throw ErroQev(QString());
        c.versao = b.valor(QStringLiteral("PRAGMA user_version")).toInt();
    } catch (const ErroQev&) {
        throw ErroQev(QStringLiteral("O arquivo \"%1\" não é um banco de dados do QEV.").arg(nome));
    }
    if (c.versao > VersaoPrograma())
        throw ErroQev(QStringLiteral("O arquivo \"%1\" foi gravado pela versão %2 do QEV, mais nova que esta "
                                     "(%3).\nAtualize o sistema antes de restaurar esta cópia.")
                          .arg(nome,
                               QStringLiteral("%1.%2.%3").arg(c.versao / 10000).arg(c.versao / 100 % 100).arg(c.versao % 100),
                               QStringLiteral("%1.%2.%3").arg(Config::VersaoMaior).arg(Config::VersaoMenor).arg(Config::VersaoRelease)));
    // The integrity check reads every page: each one's authentication tag is checked too.
    QString falha;
    try {
        const qlonglong paginas = qMax<qlonglong>(1, b.valor(QStringLiteral("PRAGMA page_count")).toLongLong());
        qlonglong passos = 0;
        DuranteComando acompanha(b, [&] {
            ++passos;  // about one step per page or two; never past the range
            informa(progresso, de + int((ate - de) * qMin<qlonglong>(passos, paginas) / paginas));
        });
        const Resultado r = b.consulta(QStringLiteral("PRAGMA integrity_check(20)"));
        const QString primeiro = r.vazio() ? QString() : r.linhas.first().first().toString();
        if (primeiro != QLatin1String("ok")) falha = primeiro.isEmpty() ? QStringLiteral("sem resposta") : primeiro;
    } catch (const ErroQev& e) {
        falha = e.mensagem();
    }
    if (!falha.isEmpty())
        throw ErroQev(QStringLiteral("O arquivo \"%1\" está danificado: a verificação de integridade falhou "
                                     "(%2).").arg(nome, falha));
    c = conteudoAtual(b);
    informa(progresso, ate);
    return c;
}

// Copies a file in blocks, flushed to disk; false on any failure.
bool copiaArquivo(const QString& de, const QString& para, const Progresso& progresso, int ini, int fim) {
    QFile origem(de), destino(para);
    if (!origem.open(QIODevice::ReadOnly)) return false;
    if (!destino.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    const qint64 total = qMax<qint64>(1, origem.size());
    qint64 feito = 0;
    QByteArray bloco;
    while (!(bloco = origem.read(1 << 20)).isEmpty()) {
        if (destino.write(bloco) != bloco.size()) return false;
        feito += bloco.size();
        informa(progresso, ini + int((fim - ini) * feito / total));
    }
    if (origem.error() != QFileDevice::NoError || !destino.flush()) return false;
    ::fsync(destino.handle());
    return true;
}

struct LiberaTrava {
    TDmConexao& conexao;
    ~LiberaTrava() { conexao.LiberaExclusiva(); }
};
}  // namespace

int VersaoPrograma() { return Config::VersaoMaior * 10000 + Config::VersaoMenor * 100 + Config::VersaoRelease; }

QString NomePadrao(const QDate& dia) {
    return QStringLiteral("QEV-%1.mdb").arg(dia.toString(QStringLiteral("yyyy-MM-dd")));
}

QString CaminhoPadrao() {
    QString pasta = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (pasta.isEmpty()) pasta = QDir::homePath();
    return QDir(pasta).filePath(NomePadrao(Relogio::agora().date()));
}

void Grava(TDmConexao& conexao, const QString& destino, const Progresso& progresso) {
    if (!conexao.TravaExclusiva()) throw ErroQev(outraCopiaAberta(QStringLiteral("fazer a cópia de segurança")));
    LiberaTrava libera{conexao};
    const QFileInfo alvo(destino);
    if (!alvo.absoluteDir().exists())
        throw ErroQev(QStringLiteral("A pasta \"%1\" não existe.").arg(alvo.absolutePath()));
    if (alvo.absoluteFilePath() == QFileInfo(conexao.CaminhoBanco()).absoluteFilePath() ||
        alvo.absoluteFilePath() == QFileInfo(conexao.CaminhoBanco() + QLatin1Char('x')).absoluteFilePath())
        throw ErroQev(QStringLiteral("Escolha outro arquivo: \"%1\" é o próprio banco de dados do sistema.").arg(destino));

    // Written beside the destination under a name of this run, renamed when checked.
    Temporario temporario{alvo.absolutePath() + QStringLiteral("/.") + alvo.fileName() +
                          QStringLiteral(".%1.gravando").arg(QCoreApplication::applicationPid())};
    QFile::remove(temporario.caminho);
    try {
        Banco& banco = conexao.banco();
        informa(progresso, 0);
        const QMap<QString, qlonglong> origem = TDmConexao::ContagemTabelas(banco);
        const qlonglong total = qMax<qlonglong>(1, tamanhoBanco(banco));
        informa(progresso, 5);
        {
            DuranteComando acompanha(banco, [&] {
                informa(progresso, 5 + int(55 * qMin(total, QFileInfo(temporario.caminho).size()) / total));
            });
            const QString uri = QStringLiteral("file:") +
                                QString::fromUtf8(QUrl::toPercentEncoding(temporario.caminho, "/")) +
                                QStringLiteral("?key=") +
                                QString::fromUtf8(QUrl::toPercentEncoding(QString::fromLatin1(TDmConexao::SenhaBanco())));
            banco.executa(QStringLiteral("VACUUM INTO ?"), {uri});
        }
        informa(progresso, 60);
        {
            Banco copia;
            copia.abre(temporario.caminho, TDmConexao::SenhaBanco());
            copia.executa(QStringLiteral("PRAGMA user_version = %1").arg(VersaoPrograma()));
            if (TDmConexao::ContagemTabelas(copia) != origem) throw ErroQev(QStringLiteral("a cópia não tem as mesmas linhas do banco"));
        }
        confere(temporario.caminho, destino, progresso, 65, 95);
        sincroniza(temporario.caminho);
        if (::rename(QFile::encodeName(temporario.caminho).constData(), QFile::encodeName(alvo.absoluteFilePath()).constData()) != 0)
            throw ErroQev(QString::fromLocal8Bit(strerror(errno)));
        temporario.manter = true;
        sincroniza(alvo.absolutePath());
        informa(progresso, 100);
    } catch (const ErroQev& e) {
        throw ErroQev(QStringLiteral("Não foi possível gravar a cópia de segurança \"%1\":\n%2").arg(destino, e.mensagem()));
    }
}

Conteudo Confere(const QString& arquivo, const Progresso& progresso) {
    return confere(arquivo, arquivo, progresso, 0, 100);
}

Conteudo Restaura(TDmConexao& conexao, const QString& origem, const Progresso& progresso) {
    if (!conexao.TravaExclusiva())
        throw ErroQev(outraCopiaAberta(QStringLiteral("restaurar uma cópia de segurança")));
    LiberaTrava libera{conexao};
    const QString atual = conexao.CaminhoBanco();
    const QString anterior = conexao.PastaSistema() + NomeAnterior();
    if (QFileInfo(origem).absoluteFilePath() == QFileInfo(atual).absoluteFilePath())
        throw ErroQev(QStringLiteral("Escolha outro arquivo: \"%1\" é o próprio banco de dados do sistema.").arg(origem));
    if (!QFileInfo(origem).isFile())
        throw ErroQev(QStringLiteral("O arquivo \"%1\" não foi encontrado.").arg(origem));

    // The copy is brought beside the database and checked there: what is checked is what
    // goes in place.
    Temporario temporario{atual + QStringLiteral(".restaurando")};
    QFile::remove(temporario.caminho);
    informa(progresso, 0);
    if (!copiaArquivo(origem, temporario.caminho, progresso, 0, 30))
        throw ErroQev(QStringLiteral("Não foi possível copiar \"%1\" para a pasta do banco de dados \"%2\".")
                          .arg(origem, conexao.PastaSistema()));
    confere(temporario.caminho, origem, progresso, 30, 80);

    Banco& banco = conexao.banco();
    if (banco.emTransacao()) throw ErroQev(QStringLiteral("Há uma gravação em andamento; conclua-a antes de restaurar."));
    // The connection's start-up, run again here, reports to this run's bar (the start's
    // bar is long gone) and to nothing afterwards.
    struct Barra {
        TDmConexao& c;
        ~Barra() { c.DefineBarraProgresso({}); }
    } barra{conexao};
    conexao.DefineBarraProgresso([&progresso](int v) { informa(progresso, 85 + v * 14 / 100); });
    conexao.qryGeneric().Close();
    banco.fecha();

    // The current database stays beside it: a second name for the same file, so that
    // "QEV.mdb" is never missing; a copy where the file system has no such names.
    QFile::remove(anterior);
    if (::link(QFile::encodeName(atual).constData(), QFile::encodeName(anterior).constData()) != 0 &&
        !copiaArquivo(atual, anterior, {}, 0, 0)) {
        QFile::remove(anterior);
        conexao.AbreBanco();
        throw ErroQev(QStringLiteral("Não foi possível guardar o banco de dados atual como \"%1\"; nada foi restaurado.")
                          .arg(anterior));
    }
    sincroniza(anterior);
    if (::rename(QFile::encodeName(temporario.caminho).constData(), QFile::encodeName(atual).constData()) != 0) {
        const QString motivo = QString::fromLocal8Bit(strerror(errno));
        conexao.AbreBanco();
        throw ErroQev(QStringLiteral("Não foi possível pôr a cópia no lugar do banco de dados: %1").arg(motivo));
    }
    temporario.manter = true;
    sincroniza(conexao.PastaSistema());
    informa(progresso, 85);

    // The start-up's upgrades and fix-ups, on the restored file.
    try {
        conexao.AbreBanco();
    } catch (const ErroQev& e) {
        banco.fecha();
        ::rename(QFile::encodeName(anterior).constData(), QFile::encodeName(atual).constData());
        sincroniza(conexao.PastaSistema());
        conexao.AbreBanco();
        throw ErroQev(QStringLiteral("A cópia \"%1\" não pôde ser preparada para uso:\n%2\n"
                                     "O banco de dados anterior foi mantido.").arg(origem, e.mensagem()));
    }
    informa(progresso, 100);
    return conteudoAtual(conexao.banco());
}

}  // namespace CopiaSeguranca
