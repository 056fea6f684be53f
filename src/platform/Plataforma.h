#pragma once
#include <QDateTime>
#include <QString>
#include <QUrl>
#include <functional>

class QWidget;

// Seams of the platform services other than messages. Each has a default that
// talks to the real platform and can be replaced (tests, simulations).

namespace Relogio {
// The current local date and time.
QDateTime agora();
// Replaces the clock; an empty function restores the real one.
void define(std::function<QDateTime()> relogio);
// Names the system's time zone for the C library once, when the environment does not.
// Without it every local date-time the program builds (thousands per list read) makes
// the C library look the zone file up again on disk.
void FixaFusoHorario();
}  // namespace Relogio

namespace PastaPrograma {
// The folder of the program file, ending in '/'.
QString caminho();
// Replaces it (empty text restores the real one).
void define(const QString& pasta);
}  // namespace PastaPrograma

namespace PastaDocumentos {
// The user's documents folder (the home folder when the desktop names none), without
// a trailing '/'. The spreadsheet exports go into its "QEV" subfolder.
QString caminho();
// Replaces it (empty text restores the real one).
void define(const QString& pasta);
}  // namespace PastaDocumentos

namespace Registro {
// Value of the transfer program's machine-wide key "ZUB/VUQ" (Linux analogue of
// HKLM\SOFTWARE\ZUB\VUQ: a system-scope INI file read through QSettings, which
// tests redirect with QSettings::setPath). Empty when the key or value is absent.
QString valorVUQ(const QString& nome);
}  // namespace Registro

namespace Lancador {
enum class Tipo { Endereco, Calculadora, Arquivo };
using Tratador = std::function<bool(Tipo, const QString&)>;
// Replaces the launcher; returns the one it replaced (empty = the real one).
Tratador define(Tratador novo);
// Opens a web address in the default browser.
bool abreEndereco(const QUrl& url);
// Starts the system calculator (the first one found on PATH).
bool abreCalculadora();
// Opens a file with the desktop's default handler (a spreadsheet, say).
bool abreArquivo(const QString& caminho);
}  // namespace Lancador

namespace SeletorArquivo {
enum class Modo { Abrir, Salvar };
struct Pedido {
    Modo modo = Modo::Abrir;
    QString titulo;
    QString filtro;
    QString pastaInicial;
};
using Tratador = std::function<QString(QWidget*, const Pedido&)>;
Tratador define(Tratador novo);
// The chosen path, or an empty text when the user gave up.
QString escolhe(QWidget* pai, const Pedido& pedido);
}  // namespace SeletorArquivo
