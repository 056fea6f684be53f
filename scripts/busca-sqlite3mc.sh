#!/usr/bin/env bash
# Fetches the pinned npm tarball that carries the SQLite3 Multiple Ciphers
# amalgamation, checks its sha256 and unpacks sqlite3.c/sqlite3.h into
# third_party/sqlite3mc/fonte/. Never commit what it unpacks.
set -euo pipefail
pacote=${1:?package}; versao=${2:?version}; sha=${3:?sha256}
raiz=$(cd "$(dirname "$0")/.." && pwd)
destino="$raiz/third_party/sqlite3mc"
tgz="$destino/$pacote-$versao.tgz"
mkdir -p "$destino"
if [ ! -f "$tgz" ] || ! echo "$sha  $tgz" | sha256sum -c --status; then
  rm -f "$tgz"
  tmp=$(mktemp -d)
  (cd "$tmp" && npm pack --silent "$pacote@$versao" >/dev/null)
  mv "$tmp/$pacote-$versao.tgz" "$tgz"
  rm -rf "$tmp"
fi
if ! echo "$sha  $tgz" | sha256sum -c --status; then
  echo "busca-sqlite3mc: sha256 of $tgz does not match the pinned value" >&2
  rm -f "$tgz"
  exit 1
fi
rm -rf "$destino/fonte" "$destino/extraido"
mkdir -p "$destino/extraido" "$destino/fonte"
tar -xzf "$tgz" -C "$destino/extraido" package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h
mv "$destino/extraido/package/deps/sqlite3/sqlite3.c" "$destino/extraido/package/deps/sqlite3/sqlite3.h" "$destino/fonte/"
rm -rf "$destino/extraido"
echo "busca-sqlite3mc: $pacote@$versao ready in $destino/fonte"
