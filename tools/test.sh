#!/usr/bin/env bash
# Builds and runs the whole test suite: "normal" (optimised build), "sanitize"
# (AddressSanitizer and UndefinedBehaviorSanitizer, any report fails), or both.
# ZEF_CMAKE_ARGS adds options to both configurations (CI: strict warnings and
# the benchmarks).
set -euo pipefail
cd "$(dirname "$0")/.."
modes=("${@:-normal}")
[ "${modes[0]}" = all ] && modes=(normal sanitize)

for mode in "${modes[@]}"; do
  case "$mode" in
    normal)   dir=build;          flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
    sanitize) dir=build-sanitize; flags=(-DCMAKE_BUILD_TYPE=Debug -DZEF_SANITIZE=ON) ;;
    *) echo "usage: tools/test.sh [normal|sanitize|all]" >&2; exit 2 ;;
  esac
  echo "== $mode build"
  # shellcheck disable=SC2206 # options are words
  cmake -S . -B "$dir" -G Ninja "${flags[@]}" ${ZEF_CMAKE_ARGS:-} > /dev/null
  cmake --build "$dir"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest --test-dir "$dir" --output-on-failure -j2
done
