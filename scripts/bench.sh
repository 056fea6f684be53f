#!/usr/bin/env bash
# Runs every benchmark on the generated database of the size given and prints one table:
# figure, the program's time, bare SQLite's time, ratio, goal.
#
#   scripts/bench.sh [TAMANHO] [REPETICOES]
#     TAMANHO     establishments: 10k, 100k (default), 300k or a number
#     REPETICOES  rounds of each measurement (default 5)
#
# The database is generated once into $QEV_BENCH_DADOS/<TAMANHO>/base/QEV.mdb (default
# /tmp/qev-bench) and each benchmark works on its own copy of it. The benchmark programs
# are built in $QEV_BUILD (default build/) when missing. Every program's own output goes to
# $QEV_BENCH_DADOS/<TAMANHO>/saida/<program>.txt.
set -euo pipefail
RAIZ=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${QEV_BUILD:-$RAIZ/build}

if [ "${1:-}" = "-h" ] || [ "${1:-}" = "--help" ]; then
  sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//'
  exit 0
fi
TAMANHO=${1:-100k}
REPETICOES=${2:-5}
case "$TAMANHO" in
  *k) N=$(( ${TAMANHO%k} * 1000 )) ;;
  *[!0-9]*|'') echo "tamanho inválido: $TAMANHO" >&2; exit 2 ;;
  *) N=$TAMANHO ;;
esac

PROGRAMAS=(gera_base_estab bench_inicio bench_verificacao bench_planos bench_area_rede bench_rede
           bench_importacao bench_relatorios bench_dispositivos bench_solicitacao)
faltam=()
for p in "${PROGRAMAS[@]}"; do [ -x "$BUILD/bin/$p" ] || faltam+=("$p"); done
if [ ${#faltam[@]} -gt 0 ]; then
  cmake -S "$RAIZ" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$BUILD" --parallel "$(nproc)" --target "${faltam[@]}"
fi

DADOS=${QEV_BENCH_DADOS:-/tmp/qev-bench}/$TAMANHO
mkdir -p "$DADOS/saida"
if [ ! -f "$DADOS/base/QEV.mdb" ]; then
  echo "==> gerando $DADOS/base/QEV.mdb ($N estabelecimentos)"
  "$BUILD/bin/gera_base_estab" "$DADOS/base" "$N"
fi
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

# Each program on a fresh copy: some of them change the plans they measure.
# The import keeps its database under PASTA/base; the request writer makes its own.
roda() {
  local programa=$1; shift
  local pasta="$DADOS/copia-$programa" base
  rm -rf "$pasta"
  base=$pasta
  [ "$programa" = bench_importacao ] && base=$pasta/base
  mkdir -p "$base"
  cp "$DADOS/base/QEV.mdb" "$base/QEV.mdb"
  local args=("$pasta" "$@")
  [ "$programa" = bench_solicitacao ] && args=("$N" "$@")
  echo "==> $programa" >&2
  if ! QEV_BENCH_RESUMO=1 "$BUILD/bin/$programa" "${args[@]}" >"$DADOS/saida/$programa.txt" 2>"$DADOS/saida/$programa.err"; then
    echo "    $programa falhou (veja $DADOS/saida/$programa.err)" >&2
  fi
  rm -rf "$pasta"
}

roda bench_inicio "$REPETICOES"
roda bench_verificacao "$REPETICOES"
roda bench_planos "$REPETICOES"
roda bench_area_rede "$REPETICOES"
roda bench_rede "$REPETICOES"
roda bench_dispositivos "$REPETICOES"
roda bench_solicitacao "$REPETICOES"
roda bench_relatorios "$REPETICOES"
roda bench_importacao "$REPETICOES"

# A figure in milliseconds is a bare number; any other carries its unit ("212.4 MiB").
com_unidade() {
  case "$1" in
    *[!0-9.]*) printf '%s' "$1" ;;
    *) printf '%s ms' "$1" ;;
  esac
}

echo
printf '%-52s %14s %14s %8s  %s\n' "figura ($TAMANHO estabelecimentos)" "QEV" "SQLite puro" "razão" "meta"
for p in "${PROGRAMAS[@]}"; do
  [ -f "$DADOS/saida/$p.txt" ] || continue
  grep '^RESUMO|' "$DADOS/saida/$p.txt" | while IFS='|' read -r _ figura ms base razao meta; do
    if [ -n "$base" ]; then
      printf '%-52s %14s %14s %7sx  %s\n' "$figura" "$(com_unidade "$ms")" "$(com_unidade "$base")" "$razao" "$meta"
    else
      printf '%-52s %14s %14s %8s  %s\n' "$figura" "$ms" "" "" "$meta"
    fi
  done
done
