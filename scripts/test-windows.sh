#!/usr/bin/env bash
# Builds the Windows programs with MinGW-w64 for i686, as shipped
# (build-win32), and runs the core's test suite under the 32-bit Wine. Where
# the kernel runs no 32-bit code, scripts/setup.sh --windows has made
# qemu-i386 run it; without either the suite is not run and this fails.
# Then the programs themselves: rigbox.exe against the Linux tool's golden
# transcript, the installer's unattended end-to-end test with installers
# made by rigbox.exe, and signed installers, made with the Linux rigbox tool
# (build-win32-host). The same sources are also compiled for x86_64
# (build-win64), only to keep them building there; that build is not run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --windows >/dev/null
source scripts/wine-env.sh
trap rigbox_wine_cleanup EXIT

# build DIR TOOLCHAIN [LOADER]: a fresh release build, as shipped; CTest
# runs its programs with LOADER.
build() {
  rm -rf "$1"
  cmake -S . -B "$1" -G Ninja -DCMAKE_TOOLCHAIN_FILE="cmake/$2" -DCMAKE_BUILD_TYPE=MinSizeRel \
    ${3:+-DRIGBOX_WINE="$3"}
  cmake --build "$1"
}

build build-win32 mingw-i686.cmake "$RIGBOX_WINE"
suite=build-win32/tests/rigbox_tests.exe
tool=$PWD/build-win32/tools/rigbox/rigbox.exe
for program in "$suite" "$tool"; do
  if ! rigbox_is_i386_program "$program"; then
    echo "test-windows: $program is not a 32-bit x86 program" >&2
    exit 1
  fi
done
rigbox_wine_ready
echo "test-windows: running the i686 suite ($suite) under the 32-bit Wine, 32-bit x86 code $RIGBOX_I386_RUN"
# Every part runs; the stage fails at the end if any did.
failed=0
ctest --test-dir build-win32 -j "$(nproc)" --output-on-failure || failed=1

cmake -S . -B build-win32-host -G Ninja -DCMAKE_BUILD_TYPE=Release -DRIGBOX_BUILD_TESTS=OFF \
  -DRIGBOX_BUILD_INSTALLER=OFF >/dev/null
cmake --build build-win32-host --target rigbox
stub=$PWD/build-win32/src/frontends/win32/rigbox-extract.exe
rigbox=$PWD/build-win32-host/tools/rigbox/rigbox
echo "test-windows: the i686 rigbox tool ($tool) against the Linux tool's transcript"
bash tests/e2e/rigbox_cli.sh "$tool" tests/e2e/golden "$RIGBOX_WINE" || failed=1
echo "test-windows: the i686 installer ($stub), unattended, made by the i686 rigbox tool"
bash tests/e2e/unattended_test.sh "$stub" "$tool" "$RIGBOX_WINE" || failed=1
echo "test-windows: the i686 installer's uninstall entry, used without the installer"
bash tests/e2e/uninstall_entry_test.sh "$stub" "$rigbox" "$RIGBOX_WINE" || failed=1
echo "test-windows: a car folder dropped onto the i686 rigbox tool makes its installer"
bash tests/e2e/drop_test.sh "$stub" "$tool" "$RIGBOX_WINE" || failed=1
echo "test-windows: no DLL planted beside the i686 programs is loaded"
bash tests/e2e/dll_search_test.sh "$stub" "$tool" "$RIGBOX_WINE" || failed=1
echo "test-windows: the window's captions in a plain prefix, without the face it is designed in"
plain=$(mktemp -d "${TMPDIR:-/tmp}/rigbox-plain.XXXXXX")
for locale in C.UTF-8 pl_PL.UTF-8; do
  WINEPREFIX=$plain LC_ALL=$locale RIGBOX_PLAIN_PREFIX=1 "$RIGBOX_WINE" build-win32/tests/win32/rigbox_win32_tests.exe \
    --gtest_filter='*/Win32WindowSteps.*' </dev/null || failed=1
done
WINEPREFIX=$plain wineserver -k </dev/null || true
rm -rf "$plain"
echo "test-windows: signed i686 installers"
bash tests/e2e/signed_installers.sh "$stub" "$rigbox" "$RIGBOX_WINE" || failed=1

build build-win64 mingw-x86_64.cmake
[ "$failed" -eq 0 ]
