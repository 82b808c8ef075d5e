#!/usr/bin/env bash
# Installs what is missing, then configures and builds into build/.
# Usage: scripts/setup.sh [extra cmake arguments]
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-translations-l10n libenchant-2-dev libglib2.0-dev libzip-dev hunspell-nl
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth xdotool xclip x11-utils imagemagick
  desktop-file-utils shared-mime-info fonts-dejavu-core libxml2-utils dpkg-dev
  weston qt6-wayland lintian appstream
  poppler-utils unzip cmark
  libxtst-dev libxdamage-dev openbox python3
)

missing=()
for pkg in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$pkg")
  fi
done

if ((${#missing[@]})); then
  if [[ $(id -u) -eq 0 ]]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
  else
    echo "Some packages are missing. Run this once, then try again:"
    echo "  sudo apt-get install -y ${missing[*]}"
    exit 1
  fi
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build build --parallel "$(nproc)"
