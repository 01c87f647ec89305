#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each on its seed corpus with its token
# dictionary for a while (default 40 seconds each; the first argument
# overrides; further arguments name the targets to run, default all). Any
# crash, leak, sanitizer report or timeout fails the script; the input that
# caused it is left in build-fuzz/ as crash-*, leak-* or timeout-*.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-40}"
shift || true
# target:corpus-and-dictionary-name
all=(xml_parser:xml encoding_detector:detector converter_chain:chain formatter:format)
targets=("${@:-${all[@]}}")
dir=build-fuzz
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"

cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" > /dev/null
cmake --build "$dir" --target "${targets[@]/%:*/_fuzz}"

cd "$dir"
for entry in "${targets[@]}"; do
  target="${entry%%:*}"
  name="${entry#*:}"
  # The corpus grows in the build folder; the seeds in the source tree stay.
  mkdir -p "corpus/$name"
  echo "== fuzzing $target for ${seconds}s"
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "./tests/fuzz/${target}_fuzz" "corpus/$name" "../tests/fuzz/corpus/$name" \
    -dict="../tests/fuzz/$name.dict" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 2>&1 | tail -n 25
  status="${PIPESTATUS[0]}"
  [ "$status" = 0 ] || exit "$status"
done
