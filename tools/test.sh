#!/usr/bin/env bash
# Builds and runs the whole test suite: "normal" (optimised build), "sanitize"
# (AddressSanitizer and UndefinedBehaviorSanitizer, any report fails),
# "thread" (ThreadSanitizer over the tests of what runs threads: the worker
# pool, the packer's and unpacker's threads, whole conversions on several
# workers), or all three.
# ZEF_CMAKE_ARGS adds options to every configuration (CI: strict warnings and
# the benchmarks).
set -euo pipefail
cd "$(dirname "$0")/.."
modes=("${@:-normal}")
[ "${modes[0]}" = all ] && modes=(normal sanitize thread)

for mode in "${modes[@]}"; do
  targets=()
  tests=()
  case "$mode" in
    normal)   dir=build;          flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
    sanitize) dir=build-sanitize; flags=(-DCMAKE_BUILD_TYPE=Debug -DZEF_SANITIZE=ON) ;;
    thread)   dir=build-thread;   flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEF_THREAD_SANITIZE=ON)
              targets=(--target model_tests kiln_file_tests)
              tests=(-R '^(Workers/WorkerPool|WorkerCount|ZephraModel|EntryDeflater|EntryInflater|EpubPacker|EpubUnpacker|ParallelUnpack|InterruptCleanup)') ;;
    *) echo "usage: tools/test.sh [normal|sanitize|thread|all]" >&2; exit 2 ;;
  esac
  echo "== $mode build"
  # shellcheck disable=SC2206 # options are words
  cmake -S . -B "$dir" -G Ninja "${flags[@]}" ${ZEF_CMAKE_ARGS:-} > /dev/null
  cmake --build "$dir" "${targets[@]}"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
    ctest --test-dir "$dir" --output-on-failure -j2 "${tests[@]}"
done
