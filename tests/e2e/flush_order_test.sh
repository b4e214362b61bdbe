#!/usr/bin/env bash
# The car's files are flushed before the first game script is opened for
# appending, and a failed flush fails the run before anything is registered.
# Usage: flush_order_test.sh RIGBOX_EXTRACT RIGBOX (needs strace)
set -u
stub=$1
rigbox=$2
# shellcheck source=checks.sh
source "$(dirname "$0")/checks.sh"
export LANG=C LC_ALL=C HOME=$work/home WINEPREFIX=$work/no-prefix
mkdir -p "$work/AAA/Tex" && head -c 100000 /dev/urandom >"$work/AAA/Tex/body.dds"
for kind in Cars Parts Texts Icons; do printf '// AAA\r\n' >"$work/AAA/$kind.scr"; done
"$rigbox" pack --id AAA -o "$work/AAA.rigbox" "$work/AAA" >"$work/out" &&
  "$rigbox" sfx --stub "$stub" -o "$work/install" "$work/AAA.rigbox" >"$work/out" || exit 1
empty_game "$work/game"
cp -a "$work/game" "$work/untouched"

strace -f -qq -y -e trace=open,openat,syncfs,fsync,fdatasync -o "$work/trace" \
  "$work/install" --silent --game-dir "$work/game" >"$work/out"
check "traced install exits 0" test $? -eq 0
# Trace lines: the last flush of the car's folder or a file in it, the first append.
flushed=$(grep -nE "^[0-9]+ +(syncfs|fsync|fdatasync)\([0-9]+<$work/game/Data/Cars/AAA[/>]" "$work/trace" | tail -n 1)
appended=$(grep -n 'O_APPEND' "$work/trace" | head -n 1)
check "car's files flushed before a script takes its line" test -n "$flushed" -a -n "$appended" -a \
  "${flushed%%:*}" -lt "${appended%%:*}"

cp -a "$work/untouched" "$work/failing"
strace -f -qq -e trace=syncfs -e inject=syncfs:error=EIO -o "$work/trace" \
  "$work/install" --silent --game-dir "$work/failing" >"$work/out" 2>"$work/err"
check "failed flush exits 1" test $? -eq 1
check "its own reason" grep -q '^Cannot flush' "$work/err"
check "nothing registered" diff -r "$work/untouched" "$work/failing" -x AAA
checks_done
