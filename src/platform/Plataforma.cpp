#include "platform/Plataforma.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

namespace Relogio {
namespace {
std::function<QDateTime()>& atual() {
    static std::function<QDateTime()> r;
    return r;
}
}  // namespace
QDateTime agora() { return atual() ? atual()() : QDateTime::currentDateTime(); }
void define(std::function<QDateTime()> relogio) { atual() = std::move(relogio); }
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

namespace Registro {
QString valorVUQ(const QString& nome) {
    QSettings s(QSettings::IniFormat, QSettings::SystemScope, QStringLiteral("ZUB"),
                QStringLiteral("VUQ"));
    return s.value(nome).toString();
}
}  // namespace Registro

namespace Lancador {
namespace {
Tratador& atual() {
    static Tratador t;
    return t;
}
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
Tratador define(Tratador novo) {
    Tratador antigo = std::move(atual());
    atual() = std::move(novo);
    return antigo;
}
static bool lanca(Tipo tipo, const QString& alvo) {
    return atual() ? atual()(tipo, alvo) : real(tipo, alvo);
}
bool abreEndereco(const QUrl& url) { return lanca(Tipo::Endereco, url.toString()); }
bool abreCalculadora() { return lanca(Tipo::Calculadora, QString()); }
bool abreArquivo(const QString& caminho) { return lanca(Tipo::Arquivo, caminho); }
}  // namespace Lancador

namespace SeletorArquivo {
namespace {
Tratador& atual() {
    static Tratador t;
    return t;
}
}  // namespace
Tratador define(Tratador novo) {
    Tratador antigo = std::move(atual());
    atual() = std::move(novo);
    return antigo;
}
QString escolhe(QWidget* pai, const Pedido& p) {
    if (atual()) return atual()(pai, p);
    if (p.modo == Modo::Abrir)
        return QFileDialog::getOpenFileName(pai, p.titulo, p.pastaInicial, p.filtro);
    return QFileDialog::getSaveFileName(pai, p.titulo, p.pastaInicial, p.filtro);
}
}  // namespace SeletorArquivo
