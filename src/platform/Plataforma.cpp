#include "platform/Plataforma.h"

#include "platform/Costura.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <ctime>

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
}  // namespace
QString caminho() {
    QString p = definida().isEmpty() ? QCoreApplication::applicationDirPath() : definida();
    if (!p.endsWith('/')) p += '/';
    return p;
}
void define(const QString& pasta) { definida() = pasta; }
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
    QSettings s(QSettings::IniFormat, QSettings::SystemScope, QStringLiteral("ZUB"),
                QStringLiteral("VUQ"));
    return s.value(nome).toString();
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
