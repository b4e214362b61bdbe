#!/usr/bin/env bash
# Builds the Windows programs with MinGW-w64 for i686, as shipped
# (build-win32), and runs the core's test suite under the 32-bit Wine. Where
# the kernel runs no 32-bit code, scripts/setup.sh --windows has made
# qemu-i386 run it; without either the suite is not run and this fails.
# The same sources are also compiled for x86_64 (build-win64), only to keep
# them building there; that build is not run.
set -euo pipefail
cd "$(dirname "$0")/.."
export DEBIAN_FRONTEND=noninteractive

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

install_missing() {
  local missing=()
  for p in "$@"; do installed "$p" || missing+=("$p"); done
  if [ ${#missing[@]} -gt 0 ]; then
    apt-get update
    apt-get install -y --no-install-recommends "${missing[@]}"
  fi
}

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
install_missing cmake ninja-build g++-mingw-w64-i686 g++-mingw-w64-x86-64-win32 wine wine32:i386 wine64 fonts-wine xvfb \
  xauth fonts-dejavu-core imagemagick

source scripts/wine-env.sh
trap rigbox_wine_cleanup EXIT

# build DIR TOOLCHAIN [LOADER]: a fresh release build, as shipped; CTest
# runs its programs with LOADER.
build() {
  rm -rf "$1"
  cmake -S . -B "$1" -G Ninja -DCMAKE_TOOLCHAIN_FILE="cmake/$2" -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DRIGBOX_BUILD_TOOLS=OFF ${3:+-DRIGBOX_WINE="$3"}
  cmake --build "$1"
}

build build-win32 mingw-i686.cmake "$RIGBOX_WINE"
suite=build-win32/tests/rigbox_tests.exe
if ! rigbox_is_i386_program "$suite"; then
  echo "test-windows: $suite is not a 32-bit x86 program" >&2
  exit 1
fi
rigbox_wine_ready
echo "test-windows: running the i686 suite ($suite) under the 32-bit Wine, 32-bit x86 code $RIGBOX_I386_RUN"
ctest --test-dir build-win32 -j "$(nproc)" --output-on-failure

build build-win64 mingw-x86_64.cmake
