#!/usr/bin/env bash
# Builds the Windows programs with MinGW-w64 (32-bit, build-win32) and runs
# the test suite under Wine. On a machine that cannot execute 32-bit code at
# all (some kernels lack it) the 32-bit build is still made and its size
# checked, and the suite runs as a 64-bit build (build-win64) under the
# 64-bit Wine instead: same sources, same platform layer.
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
install_missing cmake ninja-build g++-mingw-w64-i686 wine wine32:i386 wine64 fonts-wine xvfb xauth \
  fonts-dejavu-core imagemagick

source scripts/wine-env.sh
trap rigbox_wine_cleanup EXIT

# build DIR TOOLCHAIN [LOADER]: a fresh release build, as shipped; CTest
# runs its programs with LOADER (the toolchain's guess without one).
build() {
  rm -rf "$1"
  cmake -S . -B "$1" -G Ninja -DCMAKE_TOOLCHAIN_FILE="cmake/$2" -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DRIGBOX_BUILD_TOOLS=OFF ${3:+-DRIGBOX_WINE="$3"}
  cmake --build "$1"
}

if [ "$RIGBOX_WINE_BITS" = 32 ]; then
  build build-win32 mingw-i686.cmake "$RIGBOX_WINE"
  ctest --test-dir build-win32 -j "$(nproc)" --output-on-failure
else
  build build-win32 mingw-i686.cmake
  echo "test-windows: this machine runs no 32-bit programs; the suite runs as a 64-bit build" >&2
  ctest --test-dir build-win32/tests/windows -R SizeLimit --output-on-failure
  install_missing g++-mingw-w64-x86-64-win32
  build build-win64 mingw-x86_64.cmake "$RIGBOX_WINE"
  ctest --test-dir build-win64 -j "$(nproc)" --output-on-failure
fi
