#!/usr/bin/env bash
# Builds the XML parser's libFuzzer target with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs it on the seed corpus with the XML
# token dictionary for a while (default 60 seconds; the first argument
# overrides). Any crash, leak, sanitizer report or timeout fails the script;
# the input that caused it is left in build-fuzz/ as crash-*, leak-* or
# timeout-*.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
dir=build-fuzz
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"

cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" > /dev/null
cmake --build "$dir" --target xml_parser_fuzz

# The corpus grows in the build folder; the seeds in the source tree stay.
mkdir -p "$dir/corpus/xml"
echo "== fuzzing the XML parser for ${seconds}s"
cd "$dir"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ./tests/fuzz/xml_parser_fuzz corpus/xml ../tests/fuzz/corpus/xml \
  -dict=../tests/fuzz/xml.dict -max_total_time="$seconds" -max_len=4096 -timeout=10 \
  -rss_limit_mb=2048 -print_final_stats=1 2>&1 | tail -n 25
exit "${PIPESTATUS[0]}"
