#!/usr/bin/env bash
# Sets up, builds from scratch and runs every test: the core's suite and the
# end-to-end tests, the formatting check, the Linux window under Xvfb, a
# minute of fuzzing, the Windows build with its tests under Wine, and the
# release bundle for car authors, its Linux programs built and run on Debian 11.
# Needs root: setup installs packages and, where the kernel runs no 32-bit
# code, registers qemu-i386 with binfmt_misc for the 32-bit Windows build;
# the release stage makes Debian 11 roots with debootstrap and uses chroot.
set -uo pipefail
cd "$(dirname "$0")/.."
minutes() { printf '%dm%02ds' $(($1 / 60)) $(($1 % 60)); }
started=$SECONDS
bash scripts/setup.sh --all || exit 1
echo "=== setup: done in $(minutes $((SECONDS - started)))"

# Every stage runs in a known locale, not the caller's: C.UTF-8 is built
# into the C library, so even a bare machine has it.
for variable in $(compgen -e | grep -E '^(LC_[A-Z_]+|LANGUAGE)$'); do unset "$variable"; done
export LANG=C.UTF-8 LC_ALL=C.UTF-8
# Every build of the project's own code, Linux, Windows and release, turns
# its warnings into errors.
export RIGBOX_WERROR=ON

passed=0
failed=0
stage() {  # stage NAME COMMAND...
  local name=$1 start=$SECONDS
  shift
  echo "=== $name"
  if "$@"; then
    passed=$((passed + 1))
    echo "=== $name: passed in $(minutes $((SECONDS - start)))"
  else
    failed=$((failed + 1))
    echo "=== $name: FAILED after $(minutes $((SECONDS - start)))"
  fi
}
linux_suite() {
  rm -rf build &&
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo &&
    cmake --build build &&
    ctest --test-dir build --output-on-failure -j2
}

stage "core and end-to-end tests" linux_suite
stage "formatting" bash scripts/check-format.sh
stage "static checks (clang-tidy)" bash scripts/tidy.sh build
stage "Linux window" bash scripts/test-gui.sh build
stage "fuzzing" bash scripts/fuzz.sh 60
stage "Windows build, suite and unattended installer under Wine" bash scripts/test-windows.sh
stage "Windows installer window under Wine" bash scripts/test-win32-gui.sh
stage "release bundle for car authors" bash scripts/test-release.sh

echo "=== all stages, with the setup, in $(minutes $((SECONDS - started)))"
echo "stages: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
