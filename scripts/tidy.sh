#!/usr/bin/env bash
# Runs clang-tidy (the checks in .clang-tidy) over every source of src/ and
# tools/ that the Linux build compiles, and fails on any finding. Uses the
# compile commands of a configured build folder (default: build).
#   scripts/tidy.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
if [ ! -f "$build/compile_commands.json" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
# The string table and version headers are generated: make them first.
cmake --build "$build" --target rigbox_core
run=$(command -v run-clang-tidy || command -v run-clang-tidy-14)
# Only our own sources; the generated string table is data.
"$run" -quiet -p "$build" -j "$(nproc)" "$PWD/(src|tools)/.*\.cpp$" >"$build/tidy.log" 2>&1 || true
# It names each file it checks: a log without them means it checked nothing.
grep -q 'clang-tidy.* /.*\.cpp' "$build/tidy.log" || { echo "tidy: clang-tidy checked no file" >&2; exit 1; }
# run-clang-tidy colours its output whatever it is written to.
sed -i 's/\x1b\[[0-9;]*m//g' "$build/tidy.log"
if grep -E '(warning|error): ' "$build/tidy.log" | sort -u | grep .; then
  echo "tidy: findings above (whole output in $build/tidy.log)" >&2
  exit 1
fi
echo "tidy: no findings in src/ and tools/"
