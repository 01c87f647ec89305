#!/usr/bin/env bash
# Builds the Debian package, checks it with lintian, installs it, converts the
# sample book and text with the installed programs in a clean environment,
# removes the package and checks that only its conffile stays, then purges it.
# Installing needs root (CI runs as root on a fresh machine); without it the
# check says so and does nothing.
#
# Usage: tools/check-package.sh [build-folder]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${1:-build}
conffile=/etc/zef/zef.conf

say() { echo "check-package: $*"; }
# Under pipefail a pipe into grep -q fails whenever grep quits before the
# writer is done (the writer gets SIGPIPE), so outputs are taken whole first.
zef_installed() {
  local status
  status=$(dpkg-query -W -f='${Status}' zef 2>/dev/null || true)
  [ -n "$status" ] && [ "$status" != "unknown ok not-installed" ]
}
fail() { echo "check-package: FAILED: $*" >&2; exit 1; }

if [ "$(id -u)" -ne 0 ]; then
  say "skipped: installing the package needs root"
  exit 0
fi
# Whatever the check installs it purges at the end: it must not start on a
# zef that someone else installed.
if zef_installed; then
  fail "a zef package is on this machine already (dpkg -l zef); remove or purge it first"
fi
[ -f doc/sample.epub ] || fail "doc/sample.epub is missing"

say "building the package in $build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$build"
(cd "$build" && cpack -G DEB > /dev/null)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb=$(realpath "$build")/zef_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "cpack made no $deb"
say "$(basename "$deb")"

status=0
lintian --fail-on error "$deb" > "$build/lintian.log" 2>&1 || status=$?
grep -v '^running with root privileges' "$build/lintian.log" || true
[ $status -eq 0 ] || fail "lintian reports errors"

# The package's files; one already at such a path is not the package's, and
# installing must not overwrite it.
mapfile -t files < <(dpkg-deb --fsys-tarfile "$deb" | tar -tv | awk '$1 !~ /^d/ { print $NF }' | sed 's|^\./|/|')
[ ${#files[@]} -gt 0 ] || fail "the package holds no files"
for file in "${files[@]}"; do
  if [ -e "$file" ] || [ -L "$file" ]; then
    fail "$file exists already and does not come from a zef package; not overwriting it"
  fi
done

tmp=$(mktemp -d)
cleanup() {
  rm -rf "$tmp"
  if zef_installed; then
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq zef > /dev/null 2>&1 || true
  fi
}
trap cleanup EXIT

say "installing"
# Only what the package depends on: what it recommends (UniDic, a 1 GB
# download) would also stay behind and become the machine's default MeCab
# dictionary, under the test suite that runs next.
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$deb" > "$tmp/apt.log" 2>&1 || { cat "$tmp/apt.log" >&2; fail "apt-get install"; }

# The installed programs, with no variable of the caller's environment.
clean() { (cd "$tmp" && env -i PATH=/usr/bin:/bin HOME="$tmp" "$@"); }
ideographic_space=$(printf '\343\200\200')

[ "$(clean sh -c 'command -v zef')" = /usr/bin/zef ] || fail "zef is not /usr/bin/zef"
[ "$(cat "$conffile")" = "InstDir=/usr/share/zef/" ] || fail "$conffile does not name /usr/share/zef/"
[ -s /usr/share/zef/doc/help.pdf ] || fail "the manual is not installed"
clean man -w zef kazenohawakati > /dev/null || fail "man pages not found"

cp doc/sample.epub "$tmp/sample.epub"
clean zef -a sample.epub pre-sample.epub || fail "zef -a on the sample"
pre=$(unzip -p "$tmp/pre-sample.epub" '*.xhtml')
grep -q '《' <<< "$pre" || fail "the pre-processed sample holds no ruby notation"
clean zef pre-sample.epub post-sample.epub || fail "zef on the pre-processed sample"
post=$(unzip -p "$tmp/post-sample.epub" '*.xhtml')
grep -q '<ruby>' <<< "$post" || fail "the post-processed sample holds no ruby element"
grep -q '<wbr' <<< "$post" || fail "the post-processed sample holds no wbr element"
grep -q 'epub:type="pagebreak"' <<< "$post" || fail "the post-processed sample marks no page break"
say "zef -a and zef converted the sample book"

clean kazenohawakati "$root/doc/sample.txt" divided.txt || fail "kazenohawakati on the sample text"
LC_ALL=C grep -qF "$ideographic_space" "$tmp/divided.txt" || fail "kazenohawakati divided nothing"
say "kazenohawakati divided the sample text"

if [ -f /usr/share/applications/zefw32.desktop ]; then
  desktop-file-validate /usr/share/applications/zefw32.desktop || fail "desktop entry"
  [ -x /usr/bin/zefw32 ] || fail "the desktop entry names zefw32, which is not installed"
fi

say "removing"
DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq zef > "$tmp/apt.log" 2>&1 || { cat "$tmp/apt.log" >&2; fail "apt-get remove"; }
for file in "${files[@]}"; do
  if [ "$file" = "$conffile" ]; then
    [ -f "$file" ] || fail "removing the package removed the conffile $file"
  elif [ -e "$file" ] || [ -L "$file" ]; then
    fail "$file is left after removing the package"
  fi
done
for folder in /usr/share/zef /usr/share/doc/zef; do
  [ ! -e "$folder" ] || fail "$folder is left after removing the package"
done
left=$(dpkg -L zef 2>/dev/null | grep -v -x -e /etc -e /etc/zef -e "$conffile" || true)
[ -z "$left" ] || fail "dpkg still lists after removal: $left"
say "removal left only $conffile"

DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq zef > /dev/null 2>&1 || fail "apt-get purge"
[ ! -e /etc/zef ] || fail "/etc/zef is left after purging"
say "passed"
