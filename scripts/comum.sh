# Shared by the set-up scripts: installs what the build needs and builds.
set -euo pipefail
RAIZ=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${QEV_BUILD:-$RAIZ/build}

como_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

PACOTES=(
  build-essential cmake ninja-build pkg-config ca-certificates
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgcrypt20-dev zlib1g-dev libxlsxwriter-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth fonts-dejavu-core fonts-liberation2
  qt6-translations-l10n desktop-file-utils
)

instala_dependencias() {
  local faltam=()
  for p in "${PACOTES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || faltam+=("$p")
  done
  command -v npm >/dev/null 2>&1 || faltam+=(npm)
  if [ ${#faltam[@]} -gt 0 ]; then
    echo "==> Instalando pacotes: ${faltam[*]}"
    como_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    como_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${faltam[@]}"
  fi
}

compila() {
  echo "==> Compilando em $BUILD"
  cmake -S "$RAIZ" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build "$BUILD" --parallel "$(nproc)"
}
