#pragma once
// How a connection meets the encrypted file: its page cache and the key the engine
// derives from the password.
#include <QByteArray>
#include <QString>

namespace CifraBanco {

// Page cache of a connection to a file of that size, in KiB: the whole file and a quarter
// more (room to grow), at least the engine's 2 MiB, at most 256 MiB. Every page read from
// the file is deciphered (and its tag checked) on its way into the cache: a cache that
// holds the file deciphers each page once per connection instead of at every statement
// that reads past the default 2 MiB. Pages are allocated as they are read.
int cachePaginasKiB(qint64 bytesArquivo);

// The key the engine derives from `senha` for the encrypted file at `caminho`, in the
// engine's raw form ("raw:" + key + the file's salt, in hex). Opening with it skips the
// derivation (deliberately slow: tens of milliseconds), and a copy written with it
// (VACUUM INTO with it as the URI key) keeps the same salt, so the password still opens
// the copy. Derived once per salt and password in a run. Empty when the file cannot be
// read or is not of the cipher this build writes.
QByteArray chaveDerivada(const QString& caminho, const QByteArray& senha);

}  // namespace CifraBanco
