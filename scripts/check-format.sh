#!/usr/bin/env bash
# Fails when a C++ source differs from what .clang-format makes of it.
# Finds the sources itself, without git: a bare machine may have none.
set -euo pipefail
cd "$(dirname "$0")/.."
find . \( -path './build*' -o -path ./.git -o -path ./artifacts -o -path ./out -o -path ./demo/run \) -prune -o \
  -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 clang-format --dry-run --Werror
