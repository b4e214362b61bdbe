#!/usr/bin/env bash
# The Linux installer killed just before each file-changing system call of
# an install, and of a removal, then run again as the player would: every
# case must end exactly as one uninterrupted run ends, byte for byte.
# Usage: crash_test.sh RIGBOX_EXTRACT RIGBOX (needs strace)
set -u
stub=$1
rigbox=$2
# shellcheck source=checks.sh
source "$(dirname "$0")/checks.sh"
export LANG=C LC_ALL=C HOME=$work/home WINEPREFIX=$work/no-prefix
calls=write,pwrite64,open,openat,creat,rename,renameat,renameat2,mkdir,mkdirat,rmdir,unlink,unlinkat,chmod
calls+=,fchmod,fchmodat,chown,fchown,fchownat,truncate,ftruncate,fsync,fdatasync,copy_file_range,link,symlink

make_installer() {  # make_installer ID
  mkdir -p "$work/$1/Tex"
  for kind in Cars Parts Texts Icons; do printf '// %s\r\n' "$1" >"$work/$1/$kind.scr"; done
  head -c 300000 /dev/urandom >"$work/$1/Tex/body.dds"
  "$rigbox" pack --id "$1" -o "$work/$1.rigbox" "$work/$1" >"$work/out" &&
    "$rigbox" sfx --stub "$stub" -o "$work/install-$1" "$work/$1.rigbox" >"$work/out"
}
snapshot() {  # snapshot FOLDER: every entry with its kind, mode and content
  (cd "$1" && find . -printf '%y %m %p\n' | sort && find . -type f -exec sha1sum {} + | sort)
}
# run_crashes NAME FROM EXPECTED "ARGS" "ARGS AGAIN": for each call the clean
# run makes, a copy of FROM, the run killed before that call, the run again;
# each must leave EXPECTED.
run_crashes() {
  local name=$1 from=$2 expected=$3 cases=0 wrong=0 call count n status
  rm -rf "$work/game" && cp -a "$from" "$work/game"
  strace -f -qq -e trace="$calls" -o "$work/trace" "$work/install-AAA" $4 --game-dir "$work/game" >"$work/out"
  snapshot "$expected" >"$work/want"
  while read -r count call; do
    for ((n = 1; n <= count; n++)); do
      rm -rf "$work/game" && cp -a "$from" "$work/game"
      # strace dies by the tracee's signal; the shell's notice of it goes aside.
      (strace -f -qq -e trace="$call" -e inject="$call:signal=KILL:when=$n" -o "$work/trace" \
        "$work/install-AAA" $4 --game-dir "$work/game" >"$work/out" 2>&1; true) 2>"$work/notice"
      grep -q 'killed by SIGKILL' "$work/trace" || { echo "$name: $call #$n was not reached"; wrong=$((wrong + 1)); }
      "$work/install-AAA" $5 --game-dir "$work/game" >"$work/out" 2>&1
      status=$?
      if ! snapshot "$work/game" | cmp -s - "$work/want" || [ "$status" -ne 0 -a "$status" -ne 7 ]; then
        echo "$name: killed before $call #$n, then run again (exit $status): the game differs"
        wrong=$((wrong + 1))
      fi
      cases=$((cases + 1))
    done
  done < <(awk '{ sub(/^[0-9]+ +/, ""); sub(/\(.*/, ""); print }' "$work/trace" | sort | uniq -c)
  echo "$name: $cases crash points, $wrong wrong"
  check "$name: each of many crash points ends as one clean run" test "$wrong" -eq 0 -a "$cases" -gt 20
}

make_installer AAA && make_installer BBB || exit 1
empty_game "$work/base"
"$work/install-BBB" --silent --game-dir "$work/base" >"$work/out" || exit 1
cp -a "$work/base" "$work/installed"
"$work/install-AAA" --silent --game-dir "$work/installed" >"$work/out" || exit 1
cp -a "$work/installed" "$work/removed"
"$work/install-AAA" --remove --game-dir "$work/removed" >"$work/out" || exit 1

run_crashes install "$work/base" "$work/installed" --silent "--silent --replace"
run_crashes removal "$work/installed" "$work/removed" --remove --remove
checks_done
