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
// The folder the database lives in, ending in '/': the folder of the program file, as
// in the build folder; for an installed program (its folder holds no database and
// either cannot be written or comes with the delivered database under
// ../share/qev/), the user's data folder $XDG_DATA_HOME/QEV/.
QString caminho();
// Replaces it (empty text restores the real one).
void define(const QString& pasta);
// The delivered database of an installed program (<prefix>/share/qev/QEV.mdb), or an
// empty text when there is none.
QString modeloBanco();
// At start, for an installed program: creates the user's data folder and, when it holds
// no database yet, copies the delivered one into it (under a temporary name renamed
// when whole). Does nothing when a folder was defined or the program runs from its
// build folder. False when the copy could not be made (the start then reports the
// missing database as always).
bool PreparaPastaDados();
}  // namespace PastaPrograma

namespace PastaDocumentos {
// The user's documents folder (the home folder when the desktop names none), without
// a trailing '/'. The spreadsheet exports go into its "QEV" subfolder.
QString caminho();
// Replaces it (empty text restores the real one).
void define(const QString& pasta);
}  // namespace PastaDocumentos

namespace Registro {
// Value of the transfer program's key "ZUB/VUQ" (Linux analogue of
// HKLM\SOFTWARE\ZUB\VUQ): the user's own file first (~/.config/ZUB/VUQ.ini), so a
// user without root can point the program at another transfer program, then the
// machine-wide one (/etc/xdg/ZUB/VUQ.ini). INI files read through QSettings, which tests
// redirect with QSettings::setPath. Empty when neither has the value.
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
