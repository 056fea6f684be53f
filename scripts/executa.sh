#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine and starts the program.
source "$(dirname "$0")/comum.sh"
instala_dependencias
compila
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "QEV Operadora: nenhuma tela gráfica disponível (DISPLAY não definido)." >&2
  echo "Abra uma sessão gráfica, ou use uma tela virtual: xvfb-run -a $0" >&2
  exit 2
fi
exec "$BUILD/bin/qev"
