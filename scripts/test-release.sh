#!/usr/bin/env bash
# Makes the release bundle from scratch (scripts/release.sh) and checks it
# as a car author uses it (tests/e2e/bundle_test.sh), the Windows installer
# under the 32-bit Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --windows >/dev/null
source scripts/wine-env.sh
trap rigbox_wine_cleanup EXIT
bash scripts/release.sh
rigbox_wine_ready
bash tests/e2e/bundle_test.sh dist/rigbox-*.zip "$RIGBOX_WINE"
