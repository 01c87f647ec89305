#!/usr/bin/env bash
# Installs every Debian package the project needs (idempotent), builds the
# programs, runs the text tool on the sample text and the converter on the
# sample book that the project ships.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake ninja-build pkg-config python3
  libgtest-dev libgmock-dev
  libmecab-dev mecab mecab-ipadic-utf8
  libminizip-dev zlib1g-dev libdeflate-dev libmimalloc-dev
  libxml2-utils zip unzip clang-14 libclang-rt-14-dev
  qt6-base-dev fonts-noto-cjk xvfb xauth
  weasyprint poppler-utils desktop-file-utils lintian dpkg-dev man-db groff-base
)
missing=()
for p in "${packages[@]}"; do
  [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)" = "install ok installed" ] || missing+=("$p")
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
if [ -x build/zef/zef ]; then
  mkdir -p build/sample
  build/zef/zef -a doc/sample.epub build/sample/pre-sample.epub
  echo "pre-processed sample book (division marks and ruby notation): build/sample/pre-sample.epub"
  build/zef/zef build/sample/pre-sample.epub build/sample/sample-final.epub
  echo "post-processed sample book (ruby and wbr markup, page list): build/sample/sample-final.epub"
fi
