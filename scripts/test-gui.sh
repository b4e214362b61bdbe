#!/usr/bin/env bash
# The Linux installer's window, tested on a real (virtual) screen: every path
# of the wizard driven with xdotool under openbox, the layout at 96 and 192
# dpi, the Polish texts, and the installer's shared libraries.
# Screenshots of every step go to artifacts/screenshots/linux/.
# Usage: scripts/test-gui.sh [BUILD_DIR]   (default: build)
#        scripts/test-gui.sh --built DIR   the programs of a build made
#   elsewhere as they are, such as the release's (build-release/linux, built
#   on Debian 11); screenshots in artifacts/screenshots/linux-built/
set -euo pipefail
cd "$(dirname "$0")/.."
shots=artifacts/screenshots/linux
built=false
if [ "${1:-}" = --built ]; then
  built=true
  shots=artifacts/screenshots/linux-built
  shift
fi
build=${1:-build}

bash scripts/setup.sh || exit 1

if [ "$built" = false ] && [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -G Ninja
fi
[ "$built" = true ] || cmake --build "$build" --target rigbox rigbox-extract
installer=$build/src/frontends/fltk/rigbox-extract

# The installer needs only the X11 client libraries, fontconfig and what
# they load themselves, besides the C library.
echo "== shared libraries of rigbox-extract"
ldd "$installer"
allowed='^(linux-vdso|ld-linux|libc|libm|libdl|libpthread|librt|libX11|libxcb|libXau|libXdmcp|libXext|libXft|libXrender|libXcursor|libXfixes|libXinerama|libfontconfig|libfreetype|libexpat|libpng16|libz|libbrotli(common|dec)|libbsd|libmd)\b'
unexpected=$(ldd "$installer" | awk '{print $1}' | sed 's|.*/||' | grep -Ev "$allowed" || true)
if [ -n "$unexpected" ]; then
  echo "FAIL: rigbox-extract needs unexpected libraries: $unexpected"
  exit 1
fi
stripped=$(mktemp)
strip -o "$stripped" "$installer"
echo "== size of rigbox-extract: $(stat -c %s "$installer") bytes as built, $(stat -c %s "$stripped") stripped"
rm -f "$stripped"

# Two virtual screens, each on a free display: 96 dpi with a window manager
# (the close box needs one), and 192 dpi without.
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$displays"
}
displays=$(mktemp -d)
trap cleanup EXIT

start_xvfb() {  # start_xvfb NAME SIZE DPI: sets the display in $NAME
  local file=$displays/$1
  Xvfb -displayfd 3 -screen 0 "$2x24" -dpi "$3" -nolisten tcp -noreset 3>"$file" </dev/null >/dev/null 2>&1 &
  pids+=($!)
  local tries=0
  while [ ! -s "$file" ]; do
    tries=$((tries + 1))
    [ $tries -le 100 ] || { echo "test-gui: Xvfb did not start" >&2; exit 1; }
    sleep 0.1
  done
  printf -v "$1" ':%s' "$(head -n1 "$file")"
}
start_xvfb screen96 800x600 96
start_xvfb screen192 1280x800 192

DISPLAY=$screen96 openbox </dev/null >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do
  DISPLAY=$screen96 wmctrl -m >/dev/null 2>&1 && break
  sleep 0.1
done

DISPLAY=$screen96 python3 tests/fltk/gui_test.py --build "$build" --screenshots "$shots" \
  --hidpi-display "$screen192"
