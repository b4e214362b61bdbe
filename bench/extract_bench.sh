#!/usr/bin/env bash
# Extraction speed and memory against cp -r of the same files.
#   bench/extract_bench.sh [RIGBOX] [TRIALS]
# Packs (a) one 512 MiB file and (b) 4,000 files of 64 KiB, then times
# "rigbox extract" of each package and "cp -r" of the source folder, both
# from the page cache (everything is read once first), best of TRIALS runs,
# and reports the time ratio and each program's peak resident memory.
# Targets: at most 1.15 x cp's time, peak RSS under 16 MiB.
set -euo pipefail
export LC_ALL=C
here=$(cd "$(dirname "$0")/.." && pwd)
rigbox=$(realpath "${1:-$here/build/tools/rigbox/rigbox}")
trials=${2:-5}
work=$(mktemp -d "${BENCH_DIR:-${TMPDIR:-/tmp}}/rigbox-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"

echo "Preparing in $work ..."
mkdir -p big small
head -c $((512 * 1024 * 1024)) /dev/urandom >big/big.bin
head -c $((4000 * 65536)) /dev/urandom | split -b 65536 -a 4 -d - small/f
"$rigbox" pack --id BIG -o big.rigbox big >/dev/null
"$rigbox" pack --id SML -o small.rigbox small >/dev/null
cat big/big.bin small/* big.rigbox small.rigbox >/dev/null  # warm the page cache
sync

# One timed run: prints "seconds peak_rss_kib".
timed() {
  local out=$1
  shift
  rm -rf "$out"
  sync
  local start end
  start=$(date +%s%N)
  /usr/bin/time -f '%M' -o rss.txt "$@" >/dev/null
  end=$(date +%s%N)
  echo "$(((end - start) / 1000)) $(tail -n 1 rss.txt)"
}

# Best time and highest RSS over the trials, alternating the two programs.
measure() {
  local name=$1 package=$2 source=$3
  local bestX=0 bestC=0 rssX=0 rssC=0 t r
  for ((i = 0; i < trials; i++)); do
    read -r t r < <(timed out_x "$rigbox" extract "$package" out_x)
    ((bestX == 0 || t < bestX)) && bestX=$t
    ((r > rssX)) && rssX=$r
    read -r t r < <(timed out_c cp -r "$source" out_c)
    ((bestC == 0 || t < bestC)) && bestC=$t
    ((r > rssC)) && rssC=$r
  done
  cmp -s "$source/$(ls "$source" | head -n 1)" "out_x/$(ls "$source" | head -n 1)" || {
    echo "extracted bytes differ" >&2
    exit 1
  }
  awk -v n="$name" -v x="$bestX" -v c="$bestC" -v rx="$rssX" -v rc="$rssC" 'BEGIN {
    printf "%-22s %10.3f %10.3f %8.2f %12.1f %12.1f\n", n, x / 1e6, c / 1e6, x / c, rx / 1024, rc / 1024 }'
}

printf "%-22s %10s %10s %8s %12s %12s\n" "case" "rigbox s" "cp -r s" "ratio" "rigbox MiB" "cp MiB"
measure "1 x 512 MiB" big.rigbox big
measure "4000 x 64 KiB" small.rigbox small
rm -rf out_x out_c
