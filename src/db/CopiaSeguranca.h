#pragma once
#include <QDate>
#include <QString>
#include <functional>

class TDmConexao;

// A safe copy of the database and its restoration (Arquivo > "Cópia de segurança..." and
// "Restaurar cópia de segurança..."). Both need the database to themselves: they refuse
// while another copy of the program has it open.
namespace CopiaSeguranca {

// Progress of a run, 0 to 100; also called often while a long statement runs, so a
// screen can repaint.
using Progresso = std::function<void(int)>;

// The program version a copy records (major * 10000 + minor * 100 + release).
int VersaoPrograma();
// "QEV-AAAA-MM-DD.mdb".
QString NomePadrao(const QDate& dia);
// The documents folder + NomePadrao(today).
QString CaminhoPadrao();

// What a copy holds, read when it was checked.
struct Conteudo {
    int versao = 0;          // version that wrote it (0: not recorded)
    QString cdOper;          // first operator, as stored
    QString razaoSocial;
    qlonglong planos = 0;
};

// Writes the database, compacted, to `destino`: the copy is written beside it under a
// temporary name, checked (opens with the key, integrity check, every table's row count)
// and only then renamed into place. On any failure `destino` is as it was and no
// temporary file is left. Throws ErroQev with the user's message.
void Grava(TDmConexao& conexao, const QString& destino, const Progresso& progresso = {});

// Checks a copy without changing anything: it must open with the program's key, pass
// the integrity check, hold the program's tables and come from this version or an older
// one. Throws ErroQev with the user's message naming the file.
Conteudo Confere(const QString& arquivo, const Progresso& progresso = {});

// Puts the copy in place of the database: it is copied beside the database and checked
// there, the current database is kept as "QEV.mdb.anterior", the copy is renamed over
// "QEV.mdb" (one atomic step), and the connection's start-up (upgrades and fix-ups) runs
// on it. When the start-up fails on the copy, the previous database is put back and
// opened, and the error is raised. Returns what the restored database holds.
Conteudo Restaura(TDmConexao& conexao, const QString& origem, const Progresso& progresso = {});

// Name of the previous database kept by a restoration.
inline QString NomeAnterior() { return QStringLiteral("QEV.mdb.anterior"); }

}  // namespace CopiaSeguranca
