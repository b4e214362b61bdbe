#!/usr/bin/env bash
# Builds the package fuzz target with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer over the whole core) and runs it for about a
# minute, starting from the committed corpus. Exits non-zero on a crash.
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
build=build-fuzz
clangxx=$(command -v clang++ || command -v clang++-14)

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER="$clangxx" \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined" \
  -DRIGBOX_BUILD_FUZZ=ON -DRIGBOX_BUILD_TESTS=OFF -DRIGBOX_BUILD_TOOLS=OFF
cmake --build "$build" --target package_fuzz

# New inputs go to a scratch corpus; the committed seeds stay as they are.
work="$build/fuzz-corpus"
mkdir -p "$work" "$build/fuzz-artifacts"
"$build/fuzz/package_fuzz" "$work" fuzz/corpus \
  -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$build/fuzz-artifacts/" -print_final_stats=1
