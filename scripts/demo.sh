#!/usr/bin/env bash
# The installer in one command: installs what the build needs (when missing),
# builds into build/, makes a demo game folder, a Wine-style prefix that
# records it and the installer of the demo car (scripts/make-demo.sh), then
# runs the installer: its window when there is a display, otherwise
# unattended. Afterwards it shows what was installed.
# Usage: scripts/demo.sh        (RIGBOX_BUILD_DIR=dir to build elsewhere than build/)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${RIGBOX_BUILD_DIR:-build}

bash scripts/setup.sh || exit 1

echo "== building"
if [ ! -f "$build/CMakeCache.txt" ]; then
  # A fresh build directory: the demo needs no test suite (and no googletest).
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRIGBOX_BUILD_TESTS=OFF
fi
cmake --build "$build" --target rigbox rigbox-extract

echo "== making the demo in demo/run/"
bash scripts/make-demo.sh "$build" demo/run
game=$root/demo/run/game
export WINEPREFIX=$root/demo/run/prefix

if [ -n "${DISPLAY:-}" ]; then
  echo "== running the installer's window (demo/run/dmo-installer)"
  status=0
  demo/run/dmo-installer || status=$?
else
  echo "== no display (DISPLAY is not set): running the installer unattended"
  status=0
  demo/run/dmo-installer --silent || status=$?
fi
echo "== the installer ended with status $status"

echo
echo "The game folder:   $game"
echo "The game's record: $WINEPREFIX/system.reg"
car=$game/Data/Cars/DMO
if [ -d "$car" ]; then
  echo
  echo "The car's folder, $car:"
  (cd "$car" && find . -type f -printf '  %P (%s bytes)\n' | sort)
else
  echo "The car was not installed (no folder $car)."
fi
echo
echo "Lines the installer appended to the game's scripts:"
for script in Data/Cars/Cars.scr Data/Cars/Parts.scr Data/Cars/Texts.scr Data/Cars/Icons.scr \
  Data/Texts.scr Data/Menu/uidef/Textures.def; do
  echo "  $script:"
  grep -a -e 'DMO' -e 'Vehiforge' -e 'Cars\\\\' "$game/$script" | tr -d '\r' | sed 's/^/    /' || echo "    (none)"
done
if [ -f "$game/Vehiforge.ini" ]; then
  echo "  Vehiforge.ini:"
  tr -d '\r' <"$game/Vehiforge.ini" | sed 's/^/    /'
fi
exit "$status"
