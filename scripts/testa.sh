#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine, builds and runs the whole test suite.
source "$(dirname "$0")/comum.sh"
instala_dependencias
compila
echo "==> Testes"
cd "$BUILD"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600 -j "$(nproc)"
