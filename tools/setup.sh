#!/usr/bin/env bash
# Installs every Debian package the project needs (idempotent), builds the
# programs and runs the text tool on the sample text that the project ships.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake ninja-build pkg-config python3
  libgtest-dev libgmock-dev
  libmecab-dev mecab mecab-ipadic-utf8
  libminizip-dev zlib1g-dev
  libxml2-utils unzip clang-14 libclang-rt-14-dev
  qt6-base-dev fonts-noto-cjk xvfb xauth
  weasyprint desktop-file-utils lintian dpkg-dev man-db groff-base
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build
if [ -x build/kazenohawakati/kazenohawakati ]; then
  build/kazenohawakati/kazenohawakati doc/sample.txt
fi
