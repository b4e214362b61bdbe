#!/usr/bin/env bash
# Installs everything the build, the demo and the tests need on Debian 12:
# the compilers, GoogleTest, FLTK for the Linux window, Xvfb and xdotool for
# driving windows, MinGW-w64 for the Windows build and Wine to run it.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev clang-format googletest libgtest-dev libgmock-dev python3
  libfltk1.3-dev libxft-dev libxinerama-dev libxcursor-dev libxfixes-dev libxext-dev libxrender-dev
  libfontconfig-dev libpng-dev zlib1g-dev libjpeg-dev
  xvfb xauth x11-utils xdotool wmctrl openbox imagemagick fonts-dejavu-core util-linux file locales
)
windows_packages=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine32:i386 wine64 fonts-wine)
if [ "${1:-}" = "--windows" ] || [ "${1:-}" = "--all" ]; then
  packages+=("${windows_packages[@]}")
fi

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
if [ ${#missing[@]} -gt 0 ]; then
  if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The installer's Polish texts are tested in a Polish locale; a bare
# machine has none but C.UTF-8.
if ! locale -a 2>/dev/null | grep -qix 'pl_PL\.utf8'; then
  sed -i 's/^# *\(pl_PL\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -qx 'pl_PL\.UTF-8 UTF-8' /etc/locale.gen || echo 'pl_PL.UTF-8 UTF-8' >>/etc/locale.gen
  locale-gen
fi
