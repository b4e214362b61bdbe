#!/usr/bin/env bash
# The installer's unattended mode, run as a player's script would run it:
# real installers made with rigbox, a real game folder, exact bytes of the
# six scripts and the profile file afterwards, and every exit status.
# Usage: unattended_test.sh RIGBOX_EXTRACT RIGBOX
set -u
stub=$1
rigbox=$2
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
export HOME=$work/home WINEPREFIX=$work/no-prefix LANG=C LC_ALL=C LANGUAGE=
mkdir -p "$HOME"
failures=0
passes=0

check() {  # check NAME CONDITION...
  local name=$1
  shift
  if "$@"; then
    passes=$((passes + 1))
  else
    echo "FAIL: $name"
    failures=$((failures + 1))
  fi
}

same_bytes() {  # same_bytes FILE EXPECTED-BYTES(printf format)
  printf "$2" >"$work/expected"
  cmp -s "$1" "$work/expected" || {
    echo "--- $1 holds:"; od -c "$1" | head -20; echo "--- expected:"; od -c "$work/expected" | head -20
    return 1
  }
}

make_car() {  # make_car ID: a car folder and its installer
  local id=$1
  mkdir -p "$work/src-$id/Textures"
  printf '// %s cars\r\n' "$id" >"$work/src-$id/Cars.scr"
  printf '// %s parts\r\n' "$id" >"$work/src-$id/Parts.scr"
  printf '// %s texts\r\n' "$id" >"$work/src-$id/Texts.scr"
  printf '// %s icons\r\n' "$id" >"$work/src-$id/Icons.scr"
  head -c 70000 /dev/urandom >"$work/src-$id/Textures/body.dds"
  "$rigbox" pack --id "$id" -o "$work/$id.rigbox" "$work/src-$id" >/dev/null &&
    "$rigbox" sfx --stub "$stub" -o "$work/install-$id" "$work/$id.rigbox" >/dev/null
}

game=$work/Gravelon
mkdir -p "$game/Data/Cars" "$game/Data/Menu/uidef"
printf 'MZ' >"$game/Gravelon.exe"
printf '!include("FOC\\\\Cars.scr")\r\n\r\n' >"$game/Data/Cars/Cars.scr"
printf '!include("FOC\\\\Parts.scr")\r\n\r\n' >"$game/Data/Cars/Parts.scr"
printf '!include("FOC\\\\Texts.scr")\r\n\r\n' >"$game/Data/Cars/Texts.scr"
printf '!include("FOC\\\\Icons.scr")\r\n\r\n' >"$game/Data/Cars/Icons.scr"
printf '!include("Menu\\\\Texts.scr")\r\n' >"$game/Data/Texts.scr"
printf '// textures, last line without its end' >"$game/Data/Menu/uidef/Textures.def"
chmod a-w "$game/Data/Cars/Cars.scr"  # shipped read-only: still gets its line

make_car AAA || exit 1
make_car BBB || exit 1

# First car.
"$work/install-AAA" --silent --game-dir "$game" >"$work/out" 2>"$work/err"
check "first install exits 0" test $? -eq 0
printf 'Extracting RIGBOX...\nCreating file:Data\\Cars\\Cars.scr\nCreating file:Data\\Cars\\Parts.scr\nCreating file:Data\\Cars\\Texts.scr\nCreating file:Data\\Cars\\Icons.scr\nSuccessfully completed\n' >"$work/expected-out"
check "status lines printed" cmp -s "$work/out" "$work/expected-out"
check "nothing on stderr" test ! -s "$work/err"
check "first car's files" cmp -s "$work/src-AAA/Textures/body.dds" "$game/Data/Cars/AAA/Textures/body.dds"
check "top-level texts" same_bytes "$game/Data/Texts.scr" \
  '!include("Menu\\\\Texts.scr")\r\n\r\n// Created by Vehiforge\r\n!include("Cars\\\\Texts.scr")\r\n\r\n'
check "top-level textures" same_bytes "$game/Data/Menu/uidef/Textures.def" \
  '// textures, last line without its end\r\n// --- Created by Vehiforge. Do not modyfy. ---\r\n!include("..\\\\..\\\\Cars\\\\Icons.scr")\r\n\r\n'
check "profile after one" same_bytes "$game/Vehiforge.ini" '[Cars]\r\nCarsCount=1\r\nCarID1=AAA\r\n'

# Second car: one more line in each shared script, none at the top level.
"$work/install-BBB" --silent --game-dir "$game/" >/dev/null 2>&1
check "second install exits 0" test $? -eq 0
for kind in Cars Parts Texts Icons; do
  check "shared $kind after two" same_bytes "$game/Data/Cars/$kind.scr" \
    "!include(\"FOC\\\\\\\\$kind.scr\")\r\n\r\n!include(\"AAA\\\\\\\\$kind.scr\")\r\n\r\n!include(\"BBB\\\\\\\\$kind.scr\")\r\n\r\n"
done
check "top-level texts once" same_bytes "$game/Data/Texts.scr" \
  '!include("Menu\\\\Texts.scr")\r\n\r\n// Created by Vehiforge\r\n!include("Cars\\\\Texts.scr")\r\n\r\n'
check "profile after two" same_bytes "$game/Vehiforge.ini" '[Cars]\r\nCarsCount=2\r\nCarID1=AAA\r\nCarID2=BBB\r\n'

# The first car again: refused without --replace, replaced with it, and
# registered nowhere a second time.
cp -p "$game/Data/Cars/Icons.scr" "$work/icons-before"
printf 'stale' >"$game/Data/Cars/AAA/Cars.scr"
"$work/install-AAA" --silent --game-dir "$game" >/dev/null 2>&1
check "present car without --replace exits 5" test $? -eq 5
check "present car untouched" same_bytes "$game/Data/Cars/AAA/Cars.scr" 'stale'
"$work/install-AAA" --silent --game-dir "$game" --replace >/dev/null 2>&1
check "reinstall with --replace exits 0" test $? -eq 0
check "reinstalled file" same_bytes "$game/Data/Cars/AAA/Cars.scr" '// AAA cars\r\n'
check "no second registration" cmp -s "$game/Data/Cars/Icons.scr" "$work/icons-before"
check "profile after reinstall" same_bytes "$game/Vehiforge.ini" '[Cars]\r\nCarsCount=2\r\nCarID1=AAA\r\nCarID2=BBB\r\n'

# The game folder recorded in a Wine prefix's registry, found without --game-dir.
prefix=$work/prefix
mkdir -p "$prefix/dosdevices"
ln -s / "$prefix/dosdevices/z:"
winpath="Z:$(printf '%s' "$game" | sed 's#/#\\\\#g')\\\\"
printf 'WINE REGISTRY Version 2\n\n[Software\\\\Wow6432Node\\\\Brackmoor\\\\Gravelon] 1700000000\n"DestinationDir"="%s"\n' \
  "$winpath" >"$prefix/system.reg"
make_car CCC || exit 1
WINEPREFIX=$prefix "$work/install-CCC" --silent >"$work/out" 2>"$work/err"
check "game folder from the prefix's registry exits 0" test $? -eq 0
check "third car in the profile" same_bytes "$game/Vehiforge.ini" \
  '[Cars]\r\nCarsCount=3\r\nCarID1=AAA\r\nCarID2=BBB\r\nCarID3=CCC\r\n'

# Failure statuses.
mkdir -p "$work/not-a-game"
"$work/install-BBB" --silent --game-dir "$work/not-a-game" >/dev/null 2>"$work/err"
check "folder without the game exits 3" test $? -eq 3
check "its error text" grep -q 'The selected directory does not contain Gravelon!' "$work/err"
"$work/install-BBB" --silent >/dev/null 2>&1
check "no folder known exits 3" test $? -eq 3
cp "$stub" "$work/bare-stub"
"$work/bare-stub" --silent --game-dir "$game" >/dev/null 2>"$work/err"
check "installer without a package exits 4" test $? -eq 4
check "its error names the file" grep -q "^File:$work/bare-stub" "$work/err"
make_car DDD || exit 1
printf 'in the way' >"$game/Data/Cars/DDD"
"$work/install-DDD" --silent --game-dir "$game" >"$work/out" 2>/dev/null
check "failed run exits 1" test $? -eq 1
check "failed run says Error!" grep -qx 'Error!' "$work/out"
check "failed run writes no profile entry" same_bytes "$game/Vehiforge.ini" \
  '[Cars]\r\nCarsCount=3\r\nCarID1=AAA\r\nCarID2=BBB\r\nCarID3=CCC\r\n'
"$work/install-BBB" --silent --bogus >/dev/null 2>&1
check "bad command line exits 2" test $? -eq 2
"$work/install-BBB" --help >"$work/out" 2>&1
check "--help exits 0" test $? -eq 0
check "--help prints usage" grep -q -- '--game-dir' "$work/out"

# A game script that cannot take its line: the car is installed and listed,
# but the run says which file failed instead of success.
make_car EEE || exit 1
mv "$game/Data/Cars/Parts.scr" "$work/parts-aside"
"$work/install-EEE" --silent --game-dir "$game" >"$work/out" 2>"$work/err"
check "unregistered script exits 6" test $? -eq 6
check "it names the file and why" grep -qx 'Data\\Cars\\Parts.scr: the file is missing' "$work/err"
check "no success claimed" grep -qx 'Installed, but some game files could not be updated' "$work/out"
check "the other scripts took their lines" grep -q 'EEE' "$game/Data/Cars/Icons.scr"
check "the car is listed all the same" grep -q 'CarID4=EEE' "$game/Vehiforge.ini"
mv "$work/parts-aside" "$game/Data/Cars/Parts.scr"

# Renamed installer without an extension still finds its own package.
mv "$work/install-BBB" "$work/renamed"
"$work/renamed" --silent --game-dir "$game" >/dev/null 2>&1
check "renamed installer exits 5 (car present)" test $? -eq 5

echo "$passes passed, $failures failed"
test "$failures" -eq 0
