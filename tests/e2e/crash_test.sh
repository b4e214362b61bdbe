#!/usr/bin/env bash
# The Linux installer killed just before each file-changing system call of
# an install, and of a removal, then run again as the player would: every
# case must end exactly as one uninterrupted run ends, byte for byte. Also
# the order of the flushes that make it so.
# Usage: crash_test.sh RIGBOX_EXTRACT RIGBOX (needs strace)
set -u
stub=$1
rigbox=$2
# shellcheck source=checks.sh
source "$(dirname "$0")/checks.sh"
export LANG=C LC_ALL=C HOME=$work/home WINEPREFIX=$work/no-prefix
calls=write,pwrite64,open,openat,creat,rename,renameat,renameat2,mkdir,mkdirat,rmdir,unlink,unlinkat,chmod
calls+=,fchmod,fchmodat,chown,fchown,fchownat,truncate,ftruncate,fsync,fdatasync,syncfs,copy_file_range,link,symlink

make_installer() {  # make_installer ID [VERSION]: version 2 drops Tex/old.dds and adds Tex/new.dds
  local car=$work/$1${2:-}
  mkdir -p "$car/Tex"
  for kind in Cars Parts Texts Icons; do printf '// %s\r\n' "$1${2:-}" >"$car/$kind.scr"; done
  head -c 300000 /dev/urandom >"$car/Tex/body.dds"
  if [ -n "${2:-}" ]; then printf new >"$car/Tex/new.dds"; else printf old >"$car/Tex/old.dds"; fi
  "$rigbox" pack --id "$1" -o "$car.rigbox" "$car" >"$work/out" &&
    "$rigbox" sfx --stub "$stub" -o "$work/install-$1${2:-}" "$car.rigbox" >"$work/out"
}
# state FROM TO ID ARGS...: a copy of the game folder FROM in TO, as install-ID ARGS leaves it.
state() { cp -a "$1" "$2" && "$work/install-$3" "${@:4}" --game-dir "$2" >"$work/out"; }
# snapshot FOLDER: every entry with its kind, mode and content; the install
# record without the files' times, which each run sets anew.
snapshot() {
  cd "$1" || return
  find . -printf '%y %m %p\n' | sort
  { find . -type f ! -name rigbox-install-record.txt -exec sha1sum {} + &&
    find . -name rigbox-install-record.txt -exec sed 's/^\(file=[0-9]*\) [0-9]*/\1/' {} +; } | sort
  cd - >/dev/null || return
}
# run_crashes NAME FROM EXPECTED "ARGS" "ARGS AGAIN" [INSTALLER]: for each call the clean
# run makes, a copy of FROM, the run killed before that call, the run again;
# each must leave EXPECTED.
run_crashes() {
  local name=$1 from=$2 expected=$3 installer=$work/install-${6:-AAA} cases=0 wrong=0 call count n status
  rm -rf "$work/game" && cp -a "$from" "$work/game"
  strace -f -qq -e trace="$calls" -o "$work/trace" "$installer" $4 --game-dir "$work/game" >"$work/out"
  snapshot "$expected" >"$work/want"
  while read -r count call; do
    for ((n = 1; n <= count; n++)); do
      rm -rf "$work/game" && cp -a "$from" "$work/game"
      # strace dies by the tracee's signal; the shell's notice of it goes aside.
      (strace -f -qq -e trace="$call" -e inject="$call:signal=KILL:when=$n" -o "$work/trace" \
        "$installer" $4 --game-dir "$work/game" >"$work/out" 2>&1; true) 2>"$work/notice"
      grep -q 'killed by SIGKILL' "$work/trace" || { echo "$name: $call #$n was not reached"; wrong=$((wrong + 1)); }
      "$installer" $5 --game-dir "$work/game" >"$work/out" 2>&1
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

make_installer AAA && make_installer AAA v2 && make_installer BBB || exit 1
empty_game "$work/base"
"$work/install-BBB" --silent --game-dir "$work/base" >"$work/out" || exit 1
state "$work/base" "$work/installed" AAA --silent || exit 1
state "$work/installed" "$work/removed" AAA --remove || exit 1

state "$work/installed" "$work/updated" AAAv2 --silent --replace || exit 1
check "an update leaves none of the old version's files" test ! -e "$work/updated/Data/Cars/AAA/Tex/old.dds"
state "$work/updated" "$work/updated-removed" AAAv2 --remove || exit 1
check "an updated car is removed whole" test ! -e "$work/updated-removed/Data/Cars/AAA"

# The car's files reach the disk (one syncfs of its folder) before a script
# is opened for appending; a flush that fails ends the run before any line.
cp -a "$work/base" "$work/flushed" && cp -a "$work/base" "$work/unflushed"
strace -f -qq -y -e trace=openat,syncfs -o "$work/trace" "$work/install-AAA" --silent --game-dir "$work/flushed" >"$work/out"
synced=$(grep -nE "^[0-9]+ +syncfs\([0-9]+<$work/flushed/Data/Cars/AAA>" "$work/trace" | head -n 1)
appended=$(grep -n 'O_APPEND' "$work/trace" | head -n 1)
check "car's files flushed before a script takes its line" test -n "$synced" -a -n "$appended" -a \
  "${synced%%:*}" -lt "${appended%%:*}"
strace -f -qq -e trace=syncfs -e inject=syncfs:error=EIO -o "$work/trace" \
  "$work/install-AAA" --silent --game-dir "$work/unflushed" >"$work/out" 2>"$work/err"
check "a failed flush exits 1" test $? -eq 1
check "and says so" grep -q '^Cannot flush' "$work/err"
check "nothing registered after a failed flush" diff -r -x AAA "$work/base" "$work/unflushed"

# The log reaches its file a line at a time: killed as the profile is
# replaced, the run has logged every file and line before.
cp -a "$work/base" "$work/logged"
(strace -f -qq -e trace=rename -e inject=rename:signal=KILL:when=3 -o "$work/trace" "$work/install-AAA" --silent \
  --game-dir "$work/logged" --log "$work/run.log" >"$work/out" 2>&1; true) 2>"$work/notice"
check "a killed run's log holds all it did" test "$(grep -c '^Written: ' "$work/run.log")" -eq 6 -a \
  "$(tail -n 1 "$work/run.log")" = 'Creating file:Data\Cars\Icons.scr' -a -z "$(grep AAA "$work/logged/Vehiforge.ini")"

run_crashes install "$work/base" "$work/installed" --silent "--silent --replace"
run_crashes update "$work/installed" "$work/updated" "--silent --replace" "--silent --replace" AAAv2
run_crashes removal "$work/installed" "$work/removed" --remove --remove
run_crashes "removal of an update" "$work/updated" "$work/updated-removed" --remove --remove AAAv2
checks_done
