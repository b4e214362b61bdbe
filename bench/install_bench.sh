#!/usr/bin/env bash
# The Linux installer end to end against copying the car by hand.
#   bench/install_bench.sh [RIGBOX_EXTRACT] [RIGBOX] [TRIALS]
# A car of 150 MB in 300 files (its four scripts and 296 textures in two
# folders) is installed unattended into a fresh game folder, against
# "cp -r" of the car's folder followed by "sync": both end with the car on
# the disk, the installer having also registered it. Everything is read once
# first, each timed command starts after a sync, and the two take turns going
# first. Prints the median of TRIALS runs of each and the ratio.
# Target: at most 1.05 x.
# The same installer without its checksum record (as made before it) runs
# in turn too: the whole check of the package may cost at most 5 %.
# Measured (2 cores, 11 trials, load 1.5): medians 0.590 s checked against
# 0.566 s unchecked, 4.3 %; in the three trials whose flush was quick
# (0.18-0.19 s) the check's 10-17 ms were 6-10 % of the run.
# Measured (2 cores, ext4, Linux 6.18, load 3-6 from other developers'
# builds; four runs of 5-7 trials): 0.81, 1.02, 1.07 and 0.97 x (medians
# 0.36-0.64 s against 0.36-0.63 s), single trials swinging 2.5x. Traced, the
# flush of the car's files takes 0.13-0.16 s of a run and the eight flushes
# of the registration 0.01 s together: the rest is writing, as for cp.
set -euo pipefail
export LC_ALL=C
here=$(cd "$(dirname "$0")/.." && pwd)
stub=$(realpath "${1:-$here/build/src/frontends/fltk/rigbox-extract}")
rigbox=$(realpath "${2:-$here/build/tools/rigbox/rigbox}")
trials=${3:-5}
work=$(mktemp -d "${BENCH_DIR:-${TMPDIR:-/tmp}}/rigbox-install-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
export HOME=$work/home WINEPREFIX=$work/no-prefix

echo "Preparing in $work ..."
mkdir -p car/Textures car/Models home
for kind in Cars Parts Texts Icons; do printf '// BIG %s\r\n' "$kind" >"car/$kind.scr"; done
head -c $((296 * 506757)) /dev/urandom | split -b 506757 -a 3 -d - car/Textures/t
mv car/Textures/t1?? car/Models/
"$rigbox" pack --id BIG -o big.rigbox car >/dev/null
"$rigbox" sfx --stub "$stub" -o install big.rigbox >/dev/null
{ cat "$stub" big.rigbox && python3 -c 'import struct, sys; sys.stdout.buffer.write(struct.pack("<i", int(sys.argv[1])))' \
  $(($(stat -c %s "$stub") + 1)); } >unchecked && chmod +x unchecked
for ((i = 0; i < trials; i++)); do  # the game's program and its six scripts
  for game in "game$i" "bare$i"; do
    mkdir -p "$game/Data/Cars" "$game/Data/Menu/uidef"
    printf 'MZ' >"$game/Gravelon.exe"
    for script in Cars/Cars.scr Cars/Parts.scr Cars/Texts.scr Cars/Icons.scr Texts.scr Menu/uidef/Textures.def; do
      printf '\r\n' >"$game/Data/$script"
    done
  done
done
cat install unchecked car/*/* >/dev/null  # warm the page cache

timed() {  # timed COMMAND...: microseconds, after everything before is on disk
  sync
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null
  end=$(date +%s%N)
  echo $(((end - start) / 1000))
}
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
copy_and_sync() { cp -r car "$1" && sync; }

timesI=() timesC=() timesU=()
for ((i = 0; i < trials; i++)); do
  for run in $( ((i % 2)) && echo c u i || echo i u c); do
    case $run in
      i) timesI+=("$(timed ./install --silent --game-dir "$work/game$i")") ;;
      u) timesU+=("$(timed ./unchecked --silent --game-dir "$work/bare$i")") ;;
      c) timesC+=("$(timed copy_and_sync "copy$i")") ;;
    esac
  done
done
diff -r -x rigbox-install-record.txt car game0/Data/Cars/BIG >/dev/null || {
  echo "installed files differ" >&2
  exit 1
}
echo "installer: ${timesI[*]} us; without the check: ${timesU[*]} us; cp -r + sync: ${timesC[*]} us"
awk -v x="$(median "${timesI[@]}")" -v u="$(median "${timesU[@]}")" -v c="$(median "${timesC[@]}")" 'BEGIN {
  printf "%-28s %10s %10s %10s %8s %8s\n", "case", "install s", "unchecked", "cp+sync s", "ratio", "check"
  printf "%-28s %10.3f %10.3f %10.3f %8.2f %7.1f%%\n", "300 files, 150 MB", x / 1e6, u / 1e6, c / 1e6, x / c,
    (x / u - 1) * 100 }'
