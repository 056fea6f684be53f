// The program as a desktop installs it: `cmake --install` into a prefix, the installed
// program started with a read-only prefix and its own home, the desktop entry, and the
// transfer program's path read from the user's settings before the machine's.
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include "apoio/Apoio.h"
#include "db/DmConexao.h"
#include "platform/Plataforma.h"

namespace {

const QString kId = QStringLiteral("br.gov.zub.qev");

QString pastaBuild() { return QDir::cleanPath(QStringLiteral(QEV_DIR_BIN "/..")); }

// Every file under a folder with its size and time: what "nothing was written" compares.
QStringList retrato(const QString& raiz) {
    QStringList r;
    QDirIterator it(raiz, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo f(it.next());
        r << QStringLiteral("%1 %2 %3").arg(f.filePath()).arg(f.size()).arg(f.lastModified().toMSecsSinceEpoch());
    }
    r.sort();
    return r;
}

void permissoes(const QString& raiz, bool escrita) {
    QDirIterator it(raiz, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    QStringList todos{raiz};
    while (it.hasNext()) todos << it.next();
    for (const QString& c : todos) {
        QFile::Permissions p = QFile::permissions(c);
        const QFile::Permissions w = QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther;
        QFile::setPermissions(c, escrita ? (p | QFile::WriteOwner | QFile::WriteUser) : (p & ~w));
    }
}

class Instalacao : public ::testing::Test {
protected:
    QTemporaryDir prefixo;
    QTemporaryDir casa;

    void TearDown() override { permissoes(prefixo.path(), true); }

    void instala() {
        QProcess cmake;
        cmake.start(QStringLiteral("cmake"), {QStringLiteral("--install"), pastaBuild(), QStringLiteral("--prefix"), prefixo.path()});
        ASSERT_TRUE(cmake.waitForFinished(120000));
        ASSERT_EQ(cmake.exitCode(), 0) << cmake.readAllStandardError().toStdString();
    }
    QString instalado(const QString& relativo) const { return prefixo.filePath(relativo); }
};

TEST_F(Instalacao, ColocaCadaArquivoNoSeuLugar) {
    instala();
    for (const QString& f : {QStringLiteral("bin/qev"), QStringLiteral("share/qev/QEV.mdb"),
                             QStringLiteral("share/applications/%1.desktop").arg(kId),
                             QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg").arg(kId),
                             QStringLiteral("share/metainfo/%1.metainfo.xml").arg(kId)})
        EXPECT_TRUE(QFileInfo(instalado(f)).isFile()) << f.toStdString();
    EXPECT_TRUE(QFileInfo(instalado(QStringLiteral("bin/qev"))).isExecutable());
    for (int lado : {48, 256}) {
        const QImage icone(instalado(QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(lado).arg(kId)));
        EXPECT_EQ(icone.size(), QSize(lado, lado));
    }
    // the template is a database of the program, empty of operators
    auto modelo = Apoio::abreBanco(instalado(QStringLiteral("share/qev/QEV.mdb")));
    EXPECT_EQ(modelo->valor(QStringLiteral("SELECT count(*) FROM OPERADORAS")).toLongLong(), 0);
    EXPECT_GT(modelo->valor(QStringLiteral("SELECT count(*) FROM TB_MUNICIPIOS")).toLongLong(), 5000);
}

TEST_F(Instalacao, EntradaDaAreaDeTrabalhoValida) {
    instala();
    const QString validador = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    ASSERT_FALSE(validador.isEmpty()) << "desktop-file-validate (pacote desktop-file-utils) não encontrado";
    QProcess p;
    p.start(validador, {instalado(QStringLiteral("share/applications/%1.desktop").arg(kId))});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardOutput().toStdString() << p.readAllStandardError().toStdString();
    EXPECT_TRUE(p.readAllStandardOutput().trimmed().isEmpty());  // not even a warning

    const QString appstream = QStandardPaths::findExecutable(QStringLiteral("appstreamcli"));
    if (!appstream.isEmpty()) {
        QProcess a;
        a.start(appstream, {QStringLiteral("validate"), QStringLiteral("--no-net"),
                            instalado(QStringLiteral("share/metainfo/%1.metainfo.xml").arg(kId))});
        ASSERT_TRUE(a.waitForFinished(30000));
        EXPECT_EQ(a.exitCode(), 0) << a.readAllStandardOutput().toStdString();
    }
}

// The installed program, started with a read-only prefix and a home of its own, makes
// its database in the user's data folder from the delivered one and reaches the main
// window (with no operator yet it holds the write of the first registration open).
TEST_F(Instalacao, ProgramaInstaladoCriaOBancoNaPastaDoUsuario) {
    instala();
    permissoes(prefixo.path(), false);
    const QStringList antes = retrato(prefixo.path());

    QProcessEnvironment amb = QProcessEnvironment::systemEnvironment();
    amb.insert(QStringLiteral("HOME"), casa.path());
    amb.insert(QStringLiteral("XDG_DATA_HOME"), casa.filePath(QStringLiteral("dados")));
    amb.insert(QStringLiteral("XDG_CONFIG_HOME"), casa.filePath(QStringLiteral("config")));
    amb.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    amb.remove(QStringLiteral("DISPLAY"));
    QProcess qev;
    qev.setProcessEnvironment(amb);
    qev.setWorkingDirectory(casa.path());
    qev.start(instalado(QStringLiteral("bin/qev")), {});
    ASSERT_TRUE(qev.waitForStarted(10000));

    const QString banco = casa.filePath(QStringLiteral("dados/QEV/QEV.mdb"));
    bool emUso = false;
    QElapsedTimer relogio;
    relogio.start();
    while (!emUso && qev.state() == QProcess::Running && relogio.elapsed() < 60000) {
        QThread::msleep(200);
        if (!QFileInfo::exists(banco)) continue;
        try {
            Banco b;
            b.abre(banco, TDmConexao::SenhaBanco());
            b.defineEsperaBloqueio(0);
            b.iniciaTransacao();
            b.desfazTransacao();
        } catch (const ErroQev&) {
            emUso = true;  // the program holds the write: it is registering the first operator
        }
    }
    const bool rodando = qev.state() == QProcess::Running;
    qev.kill();
    qev.waitForFinished(10000);
    EXPECT_TRUE(rodando) << qev.readAllStandardError().toStdString();
    EXPECT_TRUE(emUso);
    EXPECT_TRUE(QFileInfo(banco).isFile());
    EXPECT_FALSE(QFileInfo::exists(casa.filePath(QStringLiteral("dados/QEV/Municipio.xml"))));
    EXPECT_EQ(retrato(prefixo.path()), antes);  // nothing written under the prefix
    // the user's copy is the user's to write
    EXPECT_TRUE(QFile::permissions(banco) & QFile::WriteOwner);
}

// The transfer program's path: the user's file first, then the machine's.
TEST(ConfiguracaoVuq, UsuarioAntesDaMaquina) {
    QTemporaryDir usuario, maquina;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, usuario.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, maquina.path());
    const auto grava = [](QSettings::Scope escopo, const QString& chave, const QString& valor) {
        QSettings s(QSettings::IniFormat, escopo, QStringLiteral("ZUB"), QStringLiteral("VUQ"));
        s.setValue(chave, valor);
        s.sync();
    };
    EXPECT_EQ(Registro::valorVUQ(QStringLiteral("PATH")), QString());
    grava(QSettings::SystemScope, QStringLiteral("PATH"), QStringLiteral("/opt/zub/VUQ"));
    EXPECT_EQ(Registro::valorVUQ(QStringLiteral("PATH")), QStringLiteral("/opt/zub/VUQ"));
    grava(QSettings::UserScope, QStringLiteral("OUTRA"), QStringLiteral("x"));
    EXPECT_EQ(Registro::valorVUQ(QStringLiteral("PATH")), QStringLiteral("/opt/zub/VUQ"));
    grava(QSettings::UserScope, QStringLiteral("PATH"), QStringLiteral("/home/u/vuqsim"));
    EXPECT_EQ(Registro::valorVUQ(QStringLiteral("PATH")), QStringLiteral("/home/u/vuqsim"));
    EXPECT_TRUE(QFileInfo::exists(usuario.filePath(QStringLiteral("ZUB/VUQ.ini"))));  // ~/.config/ZUB/VUQ.ini
    QTemporaryDir vazio;  // the run's empty user folder again
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, vazio.path());
}

}  // namespace
