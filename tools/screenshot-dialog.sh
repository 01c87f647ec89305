#!/bin/sh
# Takes the picture of the dialog program for the README: runs zefw32 with
# its first-start settings on a virtual X server and saves doc/zefw32.png.
# Usage: tools/screenshot-dialog.sh [build folder]   (default: build)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
program=$build/zefw32/zefw32
# Never a stale picture: the program is brought up to date first.
cmake --build "$build" --target zefw32
command -v xvfb-run >/dev/null || { echo "ERROR: xvfb-run is missing (Debian package xvfb)" >&2; exit 1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
HOME=$scratch XDG_CONFIG_HOME=$scratch/config ZEF_SYSCONFDIR=$build/etc/zef LANG=C.UTF-8 \
    xvfb-run -a -s "-screen 0 1280x800x24" \
    "$program" --screenshot "$root/doc/zefw32.png" "/home/user/本/草枕.epub"
echo "saved $root/doc/zefw32.png"
