#!/usr/bin/env bash
# Makes the release bundle from scratch (scripts/release.sh) and checks it
# as a car author uses it (tests/e2e/bundle_test.sh), the Windows installer
# under the 32-bit Wine, the Linux programs also in a minimal Debian 11 root
# (scripts/debian11-root.sh run), the oldest system they are made for.
# The bundle's window, built with Debian 11's FLTK, passes the window's tests
# (scripts/test-gui.sh --built).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --windows >/dev/null
source scripts/wine-env.sh
trap rigbox_wine_cleanup EXIT
bash scripts/release.sh
debian11=$(bash scripts/debian11-root.sh run)
rigbox_wine_ready
bash tests/e2e/bundle_test.sh dist/rigbox-*.zip "$RIGBOX_WINE" "$debian11"
bash scripts/test-gui.sh --built build-release/linux
