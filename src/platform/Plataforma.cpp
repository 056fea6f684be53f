#include "platform/Plataforma.h"

#include "platform/Costura.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QFile>
#include <QFileInfo>
#include <ctime>
#include <cstdio>
#include <unistd.h>

namespace Relogio {
namespace {
using Seam = Costura<struct MarcaRelogio, std::function<QDateTime()>>;
}
QDateTime agora() { return Seam::atual() ? Seam::atual()() : QDateTime::currentDateTime(); }
void define(std::function<QDateTime()> relogio) { Seam::define(std::move(relogio)); }
}  // namespace Relogio

namespace PastaPrograma {
namespace {
QString& definida() {
    static QString p;
    return p;
}
QString comBarra(QString p) {
    if (!p.endsWith('/')) p += '/';
    return p;
}
QString pastaExecutavel() { return comBarra(QCoreApplication::applicationDirPath()); }
QString pastaUsuario() {
    return comBarra(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)) +
           QStringLiteral("QEV/");
}
bool instalado() {
    const QString exe = pastaExecutavel();
    if (QFileInfo::exists(exe + QStringLiteral("QEV.mdb"))) return false;
    return !modeloBanco().isEmpty() || ::access(QFile::encodeName(exe).constData(), W_OK) != 0;
}
}  // namespace
QString caminho() {
    if (!definida().isEmpty()) return comBarra(definida());
    return instalado() ? pastaUsuario() : pastaExecutavel();
}
void define(const QString& pasta) { definida() = pasta; }
QString modeloBanco() {
    const QString m = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                      QStringLiteral("/../share/qev/QEV.mdb"));
    return QFileInfo(m).isFile() ? m : QString();
}
bool PreparaPastaDados() {
    if (!definida().isEmpty() || !instalado()) return true;
    const QString pasta = pastaUsuario();
    const QString banco = pasta + QStringLiteral("QEV.mdb");
    if (QFileInfo::exists(banco)) return true;
    const QString modelo = modeloBanco();
    if (modelo.isEmpty() || !QDir().mkpath(pasta)) return false;
    const QString temporario = banco + QStringLiteral(".novo");
    QFile::remove(temporario);
    if (!QFile::copy(modelo, temporario)) return false;
    // the delivered file is read-only: the copy is the user's to write
    QFile::setPermissions(temporario, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (::rename(QFile::encodeName(temporario).constData(), QFile::encodeName(banco).constData()) != 0) {
        QFile::remove(temporario);
        return false;
    }
    return true;
}
}  // namespace PastaPrograma

namespace PastaDocumentos {
namespace {
QString& definida() {
    static QString p;
    return p;
}
}  // namespace
QString caminho() {
    QString p = definida();
    if (p.isEmpty()) p = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (p.isEmpty()) p = QDir::homePath();
    while (p.size() > 1 && p.endsWith('/')) p.chop(1);
    return p;
}
void define(const QString& pasta) { definida() = pasta; }
}  // namespace PastaDocumentos

namespace Registro {
QString valorVUQ(const QString& nome) {
    for (const auto escopo : {QSettings::UserScope, QSettings::SystemScope}) {
        QSettings s(QSettings::IniFormat, escopo, QStringLiteral("ZUB"), QStringLiteral("VUQ"));
        s.setFallbacksEnabled(false);
        const QString v = s.value(nome).toString();
        if (!v.isEmpty()) return v;
    }
    return QString();
}
}  // namespace Registro

namespace Lancador {
namespace {
using Seam = Costura<struct MarcaLancador, Tratador>;

bool real(Tipo tipo, const QString& alvo) {
    switch (tipo) {
        case Tipo::Endereco:
            return QDesktopServices::openUrl(QUrl(alvo));
        case Tipo::Arquivo:
            return QDesktopServices::openUrl(QUrl::fromLocalFile(alvo));
        case Tipo::Calculadora:
            for (const char* nome :
                 {"gnome-calculator", "kcalc", "galculator", "qalculate-gtk", "xcalc"}) {
                const QString exe = QStandardPaths::findExecutable(QString::fromLatin1(nome));
                if (!exe.isEmpty()) return QProcess::startDetached(exe, {});
            }
            return false;
    }
    return false;
}
}  // namespace
Tratador define(Tratador novo) { return Seam::define(std::move(novo)); }
namespace {
bool lanca(Tipo tipo, const QString& alvo) {
    return Seam::atual() ? Seam::atual()(tipo, alvo) : real(tipo, alvo);
}
}  // namespace
bool abreEndereco(const QUrl& url) { return lanca(Tipo::Endereco, url.toString()); }
bool abreCalculadora() { return lanca(Tipo::Calculadora, QString()); }
bool abreArquivo(const QString& caminho) { return lanca(Tipo::Arquivo, caminho); }
}  // namespace Lancador

namespace SeletorArquivo {
using Seam = Costura<struct MarcaSeletorArquivo, Tratador>;
Tratador define(Tratador novo) { return Seam::define(std::move(novo)); }
QString escolhe(QWidget* pai, const Pedido& p) {
    if (Seam::atual()) return Seam::atual()(pai, p);
    if (p.modo == Modo::Abrir)
        return QFileDialog::getOpenFileName(pai, p.titulo, p.pastaInicial, p.filtro);
    return QFileDialog::getSaveFileName(pai, p.titulo, p.pastaInicial, p.filtro);
}
}  // namespace SeletorArquivo

void Relogio::FixaFusoHorario() {
    if (qEnvironmentVariableIsSet("TZ")) return;
    qputenv("TZ", QByteArrayLiteral(":/etc/localtime"));
    tzset();
}
