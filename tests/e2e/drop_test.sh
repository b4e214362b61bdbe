#!/usr/bin/env bash
# A car's folder dropped onto rigbox (its path the only argument): the
# installer for the tool's own system appears beside the folder and
# installs; a folder that cannot be a car fails, saying why.
# Usage: drop_test.sh RIGBOX_EXTRACT RIGBOX [WINE]
# With WINE (see scripts/wine-env.sh) both are Windows programs; stdin is
# then no console, so rigbox must not wait for a key: a run that hangs ends
# by the timeout and fails.
set -u
wine=${3:-}
exe=${wine:+.exe}
# shellcheck source=checks.sh
source "$(dirname "$0")/checks.sh"
make_bundle "$1" "$2" || exit 1
mkdir -p "$work/cars/ABC/Textures" "$work/cars/Not a car" "$work/cars/XYZ" "$work/tmp"
# Where the package is made: Wine keeps its temporary folder in the prefix.
temp=$work/tmp
if [ -n "$wine" ]; then temp=$WINEPREFIX/drive_c/users; else export TMPDIR=$temp; fi
drop() { timeout 60 ${wine:+"$wine"} "$bundle/rigbox$exe" "$(native "$1")" </dev/null >"$work/out" 2>"$work/err"; }

for kind in Cars Parts Texts Icons; do printf '// ABC %s\r\n' "$kind" >"$work/cars/ABC/$kind.scr"; done
head -c 5000 /dev/urandom >"$work/cars/ABC/Textures/body.dds"
cp -r "$work/cars/ABC/." "$work/cars/Not a car"
printf x >"$work/cars/XYZ/$(printf '%070d' 0).dds"  # a name the package cannot hold

check "a dropped car folder makes its installer" drop "$work/cars/ABC/"
installer=$work/cars/ABC-setup$exe
[ -z "$wine" ] && check "the installer is executable" test -x "$installer"
check "no package file is left" test -z "$(find "$work/cars" "$temp" -name '*.rigbox*' -o -name 'rigbox-*')"
empty_game "$work/game"
timeout 120 ${wine:+"$wine"} "$installer" --silent --game-dir "$(native "$work/game")" </dev/null >"$work/out" 2>&1
check "the installer installs the car" cmp "$work/cars/ABC/Textures/body.dds" "$work/game/Data/Cars/ABC/Textures/body.dds"

for car in "Not a car" XYZ; do
  drop "$work/cars/$car"
  status=$?
  check "\"$car\" fails" test $status -ne 0 -a $status -ne 124
  check "\"$car\" fails with a message" grep -q '^rigbox: ' "$work/err"
  check "\"$car\" makes no installer" test ! -e "$work/cars/$car-setup$exe"
done
checks_done
