#!/usr/bin/env bash
# The size of the Windows stub (rigbox-extract.exe without a package)
# against its limit of 136 KiB (128 KiB before the uninstall entry).
#   bench/stub_size.sh [BUILD_DIR]   (default build-win32)
# Builds the 32-bit installer as shipped (MinSizeRel, MinGW-w64 i686), prints
# its size, its sections, the DLLs it imports, the largest contributors to
# it (from a link map) and its largest functions and tables, and exits 1
# when the stub is over the limit.
set -euo pipefail
export LC_ALL=C
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
build=${1:-build-win32}
limit=$((136 * 1024))

if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DRIGBOX_BUILD_TOOLS=OFF >/dev/null
fi
cmake --build "$build" --target rigbox-extract >/dev/null
stub=$build/src/frontends/win32/rigbox-extract.exe
size=$(stat -c %s "$stub")

# Hexadecimal to decimal in any awk (mawk has no strtonum).
hex_awk='function hex(s,   i, n) {
  sub(/^0x/, "", s); n = 0
  for (i = 1; i <= length(s); i++) n = n * 16 + index("0123456789abcdef", substr(tolower(s), i, 1)) - 1
  return n
}'

echo "Sections:"
i686-w64-mingw32-objdump -h "$stub" | awk "$hex_awk"'/^ +[0-9]+ /{printf "  %-8s %7d bytes\n", $2, hex($3)}'
echo "Imports:"
i686-w64-mingw32-objdump -p "$stub" | awk '/DLL Name:/{print "  " $3}'

# The same link once more with a map and the symbols, to see what takes
# the room.
map=$(mktemp)
trap 'rm -f "$map" "$map.exe"' EXIT
link=$(cd "$build" && ninja -t commands src/frontends/win32/rigbox-extract.exe | tail -1)
link=${link/-o src\/frontends\/win32\/rigbox-extract.exe/-o $map.exe -Wl,-Map,$map}
link=${link/ -s / }
if (cd "$build" && eval "$link") >/dev/null 2>&1; then
  echo "Largest contributors (bytes before stripping, per object):"
  awk "$hex_awk"'
    /^Linker script and memory map/ { mapped = 1; next }
    !mapped { next }
    /^\.(stab|debug|zdebug)/ { exit }
    /^ \.[^ ]+ +0x[0-9a-f]+ +0x[0-9a-f]+ / { add($3, $4); next }
    /^ \.[^ ]+$/ { pending = 1; next }
    pending && /^ +0x[0-9a-f]+ +0x[0-9a-f]+ / { add($2, $3) }
    { pending = 0 }
    function add(h, object,   n) {
      n = hex(h); sub(/.*\//, "", object); total[object] += n
    }
    END { for (o in total) if (total[o] >= 1024) printf "%8d  %s\n", total[o], o }
  ' "$map" | sort -rn | head -25
  # The installer is linked as one optimised unit, so the objects say
  # little: its largest functions and tables, from the symbols.
  echo "Largest functions and tables (bytes):"
  i686-w64-mingw32-nm -S --size-sort -C "$map.exe" | awk "$hex_awk"'
    $3 ~ /^[tTrRdDbB]$/ && $4 !~ /^\./ {
      n = hex($2); $1 = $2 = $3 = ""; sub(/^ +/, ""); printf "%8d  %s\n", n, substr($0, 1, 110)
    }' | sort -rn | head -25
fi

percent=$((size * 100 / limit))
echo "rigbox-extract.exe: $size bytes, $percent% of the limit of $limit bytes (136 KiB)"
if [ "$size" -gt "$limit" ]; then
  echo "OVER THE LIMIT by $((size - limit)) bytes"
  exit 1
fi
