#include "request/VUQ.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <cerrno>

#include "ConfiguracaoBuild.h"
#include "db/Erro.h"
#include "platform/Plataforma.h"
#include "request/BlowfishVUQ.h"

void TVUQ::LeProtocolo(const QString& nomeTransmissao) {
    m_protocolo = ProtocoloVUQ();
    m_protocolo = ProtocoloVUQ::Le(PastaProtocolos() + nomeTransmissao);
}

void TVUQ::ConfereProtocolo(const QString& nomeTransmissao) {
    if (!QFileInfo::exists(PastaProtocolos() + nomeTransmissao))
        throw ErroQev(QStringLiteral("Arquivo de protocolo não encontrado!"));
    LeProtocolo(nomeTransmissao);
}

namespace {

// Why a file could not be written, in the words the user reads.
QString motivo(int erro) {
    switch (erro) {
        case EACCES:
        case EPERM:
        case EROFS:
            return QStringLiteral("O Windows informa que o acesso foi negado.");
        case ENOSPC:
        case EDQUOT:
            return QStringLiteral("O Windows informa que o disco está cheio.");
        default:
            return QStringLiteral("O Windows reportou o erro de número: ") + QString::number(erro);
    }
}

QString aspas(const QString& caminho) {
    return QLatin1Char('"') + QDir::toNativeSeparators(caminho) + QLatin1Char('"');
}

[[noreturn]] void falhaCriacao(const QString& caminho, int erro) {
    throw ErroQev(QStringLiteral("Erro ao criar arquivo temporário ") + aspas(caminho) +
                  QStringLiteral(". \n") + motivo(erro));
}

// The parameter file holds the user's password: it goes into a folder of this user
// alone inside `base` (created 0700; an existing one must be a real folder of this
// user, and is closed to others again), never straight into a shared folder.
QString pastaPrivada(const QString& base, const QString& arquivoParaMensagem) {
    const QString pasta = QDir(base).filePath(QStringLiteral("qev-%1").arg(::geteuid()));
    const QString paraMensagem = QDir(pasta).filePath(arquivoParaMensagem);
    const QByteArray nome = QFile::encodeName(pasta);
    if (::mkdir(nome.constData(), S_IRWXU) != 0 && errno != EEXIST) falhaCriacao(paraMensagem, errno);
    struct stat st {};
    if (::lstat(nome.constData(), &st) != 0) falhaCriacao(paraMensagem, errno);
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) falhaCriacao(paraMensagem, EACCES);
    if ((st.st_mode & 0777) != S_IRWXU && ::chmod(nome.constData(), S_IRWXU) != 0)
        falhaCriacao(paraMensagem, errno);
    return pasta;
}

// Creates a new parameter file in `pasta` (never an existing file, never through a
// symbolic link, readable by its owner only) and writes the enciphered line. A name
// already taken (a file an earlier transfer program left) moves to the next tick.
// Returns the file's path; on a failure nothing is left behind.
QString gravaParametros(const QString& pasta, const QString& cdOper, quint64 tick,
                        const QByteArray& conteudo) {
    QString caminho;
    int fd = -1;
    for (int tentativa = 0; tentativa < 1000 && fd < 0; ++tentativa) {
        caminho = QDir(pasta).filePath(NomeArquivoParametros(cdOper, tick + tentativa));
        fd = ::open(QFile::encodeName(caminho).constData(),
                    O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, S_IRUSR | S_IWUSR);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0 || ::fchmod(fd, S_IRUSR | S_IWUSR) != 0) {
        const int erro = errno;
        if (fd >= 0) {
            ::close(fd);
            QFile::remove(caminho);
        }
        falhaCriacao(caminho, erro);
    }
    const auto falhaGravacao = [&](int erro) {
        QFile::remove(caminho);
        throw ErroQev(QStringLiteral("Erro ao gravar dados no arquivo temporário ") + aspas(caminho) +
                      QStringLiteral(". \n") + motivo(erro));
    };
    qsizetype escritos = 0;
    while (escritos < conteudo.size()) {
        const ssize_t n = ::write(fd, conteudo.constData() + escritos, conteudo.size() - escritos);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const int erro = n < 0 ? errno : ENOSPC;
            ::close(fd);
            falhaGravacao(erro);
        }
        escritos += n;
    }
    if (::close(fd) != 0) falhaGravacao(errno);
    return caminho;
}

// The transfer program's answer: 9 is sent (0); 1 to 5 become 2 to 6; anything else 1.
int resultadoDaSaida(int codigo) {
    if (codigo == 9) return 0;
    if (codigo >= 1 && codigo <= 5) return codigo + 1;
    return 1;
}

}  // namespace

int TVUQ::EnviaArquivo(const ParametrosVUQ& p) {
    // 1.
    m_protocolo = ProtocoloVUQ();
    m_arquivoParametros.clear();
    m_iniciou = false;

    // 2.
    bool numerico = false;
    p.cdOper.toLongLong(&numerico);
    if (!numerico)
        throw ErroQev(
            QStringLiteral("O código da operadora deve conter 6 algarismos numéricos apenas."));

    // 3. the request file must be there, readable and writable
    const int fd = ::open(QFile::encodeName(p.arquivo).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        throw ErroQev(
            QStringLiteral("Erro ao abrir arquivo para envio. Código de erro do Windows: ") +
            QString::number(errno));
    ::close(fd);

    // 4. the parameter file, in this user's folder of the temporary folder (else of the
    // transfer folder)
    const QByteArray linha = LinhaParametrosWin1252(p);
    const TBlowfishVUQ cifra(QByteArray(Config::ChaveVUQ));
    QString base = QDir::tempPath();
    if (!QFileInfo(base).isDir()) base = QFileInfo(CaminhoVUQ()).absolutePath();
    const quint64 tick = TickSistema();
    const QString pasta = pastaPrivada(base, NomeArquivoParametros(p.cdOper, tick));
    m_arquivoParametros = gravaParametros(pasta, p.cdOper, tick, cifra.CifraParametros(linha).toLatin1());
    // Until the transfer program runs the file is ours: it goes whenever the program
    // does not start. Once it runs, the file is the program's to remove.
    struct Descarta {
        QString arquivo;
        ~Descarta() {
            if (!arquivo.isEmpty()) QFile::remove(arquivo);
        }
    } descarta{m_arquivoParametros};

    // 5.
    const QString programa = CaminhoVUQ();

    // 6. the program gets the parameter file as its one argument (a path with spaces
    // stays one argument), in its own folder
    QProcess processo;
    processo.setProgram(programa);
    processo.setArguments({m_arquivoParametros});
    processo.setWorkingDirectory(QFileInfo(programa).absolutePath());
    processo.setStandardInputFile(QProcess::nullDevice());
    processo.setProcessChannelMode(QProcess::ForwardedChannels);
    processo.start();
    if (!processo.waitForStarted(-1)) {
        const int erro =
            ::access(QFile::encodeName(programa).constData(), X_OK) == 0 ? ENOEXEC : errno;
        throw ErroQev(
            QStringLiteral("<VUQ> Erro ao executar o VUQ. Isto pode indicar que o VUQ não "
                           "está instalado \nou que sua instalação foi danificada. "
                           "Verifique o código de erro do windows: ") +
            QString::number(erro));
    }
    descarta.arquivo.clear();
    m_iniciou = true;

    // 7. wait, letting the windows repaint
    if (!processo.waitForFinished(500)) {
        while (processo.state() != QProcess::NotRunning) {
            QCoreApplication::processEvents();
            processo.waitForFinished(200);
        }
    }
    QCoreApplication::processEvents();

    // 8.
    const int codigo = processo.exitStatus() == QProcess::NormalExit ? processo.exitCode() : -1;
    const int resultado = resultadoDaSaida(codigo);
    if (resultado == 0) {
        const QString nome = p.nomeTransmissao;
        if (QFileInfo::exists(PastaProtocolos() + nome)) LeProtocolo(nome);
    }
    return resultado;
}
