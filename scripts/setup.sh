#!/usr/bin/env bash
# Installs everything the build, the demo and the tests need on Debian 12:
# the compilers, GoogleTest, FLTK for the Linux window, libyaml and
# nlohmann-json for the launchers' files that the Linux installer reads,
# clang-tidy for the static checks, Xvfb and xdotool for driving windows,
# strace for the crash tests,
# debootstrap for the Debian 11 roots that build and run the release's
# Linux programs, MinGW-w64 for the Windows build and Wine to run it.
# With --windows or --all it also makes 32-bit x86 programs runnable where
# the kernel runs none: qemu-i386 from the release's backports suite,
# registered through binfmt_misc (root, until the next reboot).
set -euo pipefail
# shellcheck source=apt-archive.sh
source "$(dirname "$0")/apt-archive.sh"
export DEBIAN_FRONTEND=noninteractive
packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev clang-format clang-tidy googletest libgtest-dev libgmock-dev python3
  libfltk1.3-dev libxft-dev libxinerama-dev libxcursor-dev libxfixes-dev libxext-dev libxrender-dev
  libfontconfig-dev libpng-dev zlib1g-dev libjpeg-dev libyaml-dev nlohmann-json3-dev libmd-dev
  xvfb xauth x11-utils xdotool wmctrl openbox imagemagick fonts-dejavu-core util-linux file locales strace
  debootstrap
)
# wine64 stays for its wineserver: native, while the 32-bit programs may be
# emulated. The x86_64 compiler keeps a 64-bit compile check.
windows_packages=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine32:i386 wine64 fonts-wine osslsigncode openssl)
windows=false
if [ "${1:-}" = "--windows" ] || [ "${1:-}" = "--all" ]; then
  packages+=("${windows_packages[@]}")
  windows=true
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

[ "$windows" = true ] || exit 0

# --- 32-bit x86 programs ----------------------------------------------------

runs_32bit() { /lib/ld-linux.so.2 --version >/dev/null 2>&1; }

# qemu-user 10 from backports: bookworm's 7.2 takes about a minute to start
# each Wine process.
install_qemu() {
  local codename backports archive version
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  backports=$codename-backports
  version=$(dpkg-query -W -f='${Version}' qemu-user 2>/dev/null || true)
  if installed qemu-user && dpkg --compare-versions "$version" ge 1:10; then return 0; fi
  if ! grep -Eqs "^[^#]*[[:space:]]$backports([[:space:]]|$)" /etc/apt/sources.list /etc/apt/sources.list.d/*.list \
    /etc/apt/sources.list.d/*.sources; then
    archive=$(archive_of "$codename" | head -n1)
    if [ -z "$archive" ]; then
      echo "setup: no apt source for $codename found to take the archive address from" >&2
      return 1
    fi
    printf 'Types: deb\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: %s\n' "$archive" "$backports" \
      /usr/share/keyrings/debian-archive-keyring.gpg >"/etc/apt/sources.list.d/$backports.sources"
  fi
  apt-get update && apt-get install -y -t "$backports" --no-install-recommends qemu-user
}

# Every i386 ELF program goes to qemu-i386. "F" opens the interpreter now,
# so the handler works in chroots too.
register_qemu() {
  local dir=/proc/sys/fs/binfmt_misc
  mountpoint -q "$dir" || mount -t binfmt_misc binfmt_misc "$dir" || return 1
  [ -e "$dir/qemu-i386" ] && return 0
  printf '%s\n' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386:PF' \
    >"$dir/register"
}

if ! runs_32bit; then
  echo "setup: this machine runs no 32-bit x86 programs; setting up qemu-i386 to run them"
  problem=
  if ! install_qemu; then
    problem="qemu-user 10 could not be installed from the backports suite"
  elif ! register_qemu; then
    problem="qemu-i386 could not be registered with binfmt_misc (is this root, with binfmt_misc in the kernel?)"
  elif ! runs_32bit; then
    problem="32-bit programs still do not start (/lib/ld-linux.so.2 --version fails)"
  fi
  if [ -z "$problem" ]; then
    echo "setup: 32-bit x86 programs now run through $(/usr/bin/qemu-i386 --version | head -n1)"
  else
    # The other stages can still run; the Windows ones fail and say why.
    echo "setup: FAILED: $problem; the 32-bit Windows build cannot be executed on this machine" >&2
  fi
fi
