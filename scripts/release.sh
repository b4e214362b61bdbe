#!/usr/bin/env bash
# Makes the release bundle for car authors from scratch: the Linux x86_64
# build (build-release/linux) and the 32-bit Windows build
# (build-release/windows), both installed by CPack into one ZIP with the
# guide, dist/rigbox-VERSION.zip:
#   linux/rigbox  linux/rigbox-extract  windows/rigbox.exe
#   windows/rigbox-extract.exe  car-authors-guide.txt
# The Linux programs are built in a Debian 11 root with its own compiler and
# FLTK (scripts/debian11-root.sh), so that they run on glibc 2.31 and newer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --windows >/dev/null
out=$PWD/build-release
rm -rf "$out" dist
root=$(bash scripts/debian11-root.sh build)
# The root's clean environment drops RIGBOX_WERROR: it is passed on here.
bash scripts/debian11-root.sh exec "$root" "$PWD" sh -c 'cmake -S . -B "$0" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DRIGBOX_BUILD_TESTS=OFF -DRIGBOX_WERROR="$1" && cmake --build "$0"' "$out/linux" "${RIGBOX_WERROR:-OFF}"
# MinSizeRel, as the Windows tests build it: the stub players get.
cmake -S . -B "$out/windows" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
  -DCMAKE_BUILD_TYPE=MinSizeRel -DRIGBOX_BUILD_TESTS=OFF
cmake --build "$out/windows"
# CPack reads the configuration of the CMake it comes with, Debian 12's.
cpack --config "$out/windows/CPackConfig.cmake" -B "$out/package" \
  -D "CPACK_INSTALL_CMAKE_PROJECTS=$out/linux;RigboxExtract;ALL;/;$out/windows;RigboxExtract;ALL;/"
mkdir dist
mv "$out"/package/rigbox-*.zip dist/
echo "release: $(ls dist/rigbox-*.zip)"
