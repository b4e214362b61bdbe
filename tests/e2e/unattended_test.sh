#!/usr/bin/env bash
# The installer's unattended mode, run as a player's script would run it:
# real installers made with rigbox, a real game folder, the car's files and
# the profile afterwards, and every exit status. The bytes each script gets
# are the core's tests' business.
# Usage: unattended_test.sh RIGBOX_EXTRACT RIGBOX [WINE]
# With WINE (the loader of a prepared prefix, see scripts/wine-env.sh) both
# are Windows programs: they run through WINE, take Z:\ paths, and the
# installer finds the game folder in Wine's registry. The installers are made
# as an author makes them, by "rigbox sfx --for" from a release bundle.
set -u
stub=$1
rigbox=$2
wine=${3:-}
exe=${wine:+.exe}
# shellcheck source=checks.sh
source "$(dirname "$0")/checks.sh"
export LANG=C LC_ALL=C LANGUAGE=
if [ -z "$wine" ]; then
  export HOME=$work/home WINEPREFIX=$work/no-prefix
  mkdir -p "$HOME"
fi
same_bytes() { printf "$2" | cmp - "$1"; }  # same_bytes FILE EXPECTED-BYTES(printf format)

sep=/
[ -n "$wine" ] && sep=\\
# The first line of every run: the game folder and where it came from.
says_folder() { test "$(head -n1 "$work/out")" = "Game folder: $1"; }  # says_folder TEXT
logged() {  # logged FILE LINE...: each LINE is a whole line of the log FILE
  local line
  for line in "${@:2}"; do grep -qxF -- "$line" "$1" || { echo "not in $1: $line" && return 1; }; done
}

# run INSTALLER ARGS...: output in $work/out and $work/err, line ends as on
# Linux (the Windows program ends its lines with CR LF).
as_player=()  # a command the program runs under, such as another user
run() {
  timeout 120 "${as_player[@]}" ${wine:+"$wine"} "$@" </dev/null >"$work/out.raw" 2>"$work/err.raw"
  local status=$?
  for stream in out err; do tr -d '\r' <"$work/$stream.raw" >"$work/$stream"; done
  return $status
}
runs() {  # runs STATUS NAME ARGS...: run ARGS, then check that they exit with STATUS
  run "${@:3}"
  check "$2" test $? -eq "$1"
}

# The game folder recorded where the installer looks for it: a Wine
# prefix's registry file, or Wine's own registry.
register_game() {  # register_game FOLDER
  if [ -n "$wine" ]; then
    local value="Z:${1//\//\\}\\"
    "$wine" reg add 'HKLM\Software\Brackmoor\Gravelon' /v DestinationDir /t REG_SZ /d "$value" /f /reg:32 \
      </dev/null >"$work/wine.out" 2>&1
  else
    make_prefix "$work/prefix" "$1"
    export WINEPREFIX=$work/prefix
  fi
}

make_prefix() {  # make_prefix PREFIX FOLDER: a Wine prefix recording FOLDER as the game's
  local value="Z:${2//\//\\}\\"
  mkdir -p "$1/dosdevices"
  ln -sfn / "$1/dosdevices/z:"
  printf 'WINE REGISTRY Version 2\n\n[Software\\\\Wow6432Node\\\\Brackmoor\\\\Gravelon] 1700000000\n"DestinationDir"="%s"\n' \
    "${value//\\/\\\\}" >"$1/system.reg"
}

# vdf FILE LIBRARY: a Steam library file in the current format, listing LIBRARY.
vdf() { mkdir -p "$(dirname "$1")" && printf '"libraryfolders"\n{ "1"\n\t{ "path" "%s" }\n}\n' "$2" >"$1"; }

make_bundle "$stub" "$rigbox" || exit 1
author() { timeout 120 ${wine:+"$wine"} "$bundle/rigbox$exe" "$@" </dev/null; }

make_car() {  # make_car ID [NAME]: a car folder and its installer install-NAME (default: the ID)
  local id=$1 name=${2:-$1}
  mkdir -p "$work/src-$name/Textures"
  for kind in Cars Parts Texts Icons; do printf '// %s %s\r\n' "$id" "$kind" >"$work/src-$name/$kind.scr"; done
  head -c 70000 /dev/urandom >"$work/src-$name/Textures/body.dds"
  author pack --id "$id" -o "$(native "$work/$name.rigbox")" "$(native "$work/src-$name")" >/dev/null &&
    author sfx --for $system -o "$(native "$work/install-$name$exe")" "$(native "$work/$name.rigbox")" >/dev/null
}

game=$work/Gravelon
empty_game "$game"
chmod a-w "$game/Data/Cars/Cars.scr"  # shipped read-only: still gets its line

for id in AAA BBB CCC DDD EEE sBi; do make_car "$id" || exit 1; done
# rigbox refuses "AB " and the game's own FOC: the installer's own check
# needs the IDs set in place, in an installer without a checksum.
for id in 'AB ' FOC; do
  make_car ABX "${id% }" && printf '%s' "$id" | dd of="$work/${id% }.rigbox" bs=1 seek=22 conv=notrunc status=none &&
    bare_installer "$stub" "$work/${id% }.rigbox" "$work/install-${id% }$exe" || exit 1
done

# First car.
runs 0 "first install exits 0" "$work/install-AAA$exe" --silent --game-dir "$(native "$game")" \
  --log "$(native "$work/run.log")"
check "status lines printed" grep -qx 'Successfully completed' "$work/out"
check "its log: folder, car, files with sizes, lines, profile, status" logged "$work/run.log" \
  "Game folder: $(native "$game")$sep (given on the command line)" 'Car ID:  AAA' \
  'Written: Data\Cars\AAA\Textures\body.dds (70000 bytes)' 'Line added to Data\Cars\Cars.scr: !include("AAA\\Cars.scr")' \
  'Vehiforge.ini written with AAA, added' 'Successfully completed' 'Exit status 0'
check "nothing on stderr" test ! -s "$work/err"
check "first car's files" cmp -s "$work/src-AAA/Textures/body.dds" "$game/Data/Cars/AAA/Textures/body.dds"
runs 2 "a log that cannot be written exits 2" "$work/install-BBB$exe" --silent --game-dir "$(native "$game")" \
  --log "$(native "$work/no-folder/run.log")"
check "saying so, before installing anything" test "$(cat "$work/err")" = \
  "The log file cannot be written: $(native "$work/no-folder/run.log")" -a ! -e "$game/Data/Cars/BBB"

# Second car, the folder given with a separator.
runs 0 "second install exits 0" "$work/install-BBB$exe" --silent --game-dir "$(native "$game/")"
check "profile after two" same_bytes "$game/Vehiforge.ini" '[Cars]\r\nCarsCount=2\r\nCarID1=AAA\r\nCarID2=BBB\r\n'

# The first car again: refused without --replace, replaced with it.
runs 5 "present car without --replace exits 5" "$work/install-AAA$exe" --silent --game-dir "$(native "$game")"
check "saying what --replace does" grep -qx 'This car is already installed: --replace replaces or repairs it.' "$work/err"

# The game folder the game recorded, found without --game-dir.
register_game "$game"
runs 0 "game folder from the registry exits 0" "$work/install-CCC$exe" --silent
if [ -n "$wine" ]; then whence='recorded in the registry'; else whence="recorded in the registry of the Wine prefix $work/prefix"; fi
check "saying it is the registry's" says_folder "$(native "$game")$sep ($whence)"
LANG=pl_PL.UTF-8 LC_ALL=pl_PL.UTF-8 run "$work/install-CCC$exe" --silent --replace
check "Polish status lines in UTF-8" grep -qx $'Zako\xc5\x84czono pomy\xc5\x9blnie.' "$work/out"

# Failure statuses.
mkdir -p "$work/not-a-game"
runs 3 "folder without the game exits 3" "$work/install-BBB$exe" --silent --game-dir "$(native "$work/not-a-game")"
check "its error text" grep -q 'The selected directory does not contain Gravelon!' "$work/err"
cp "$stub" "$work/bare-stub$exe"
runs 4 "installer without a package exits 4" "$work/bare-stub$exe" --silent --game-dir "$(native "$game")"
check "its error names the file" grep -qF "File:$(native "$work/bare-stub$exe")" "$work/err"
# A two-letter ID is padded to "AB ", a folder Windows would call "AB".
run "$work/install-AB$exe" --silent --game-dir "$(native "$game")"
check "car ID ending in a blank exits 4, writing nothing" test $? -eq 4 -a ! -e "$game/Data/Cars/AB "
mkdir "$game/Data/Cars/FOC" && printf 'game' >"$game/Data/Cars/FOC/Cars.scr"
run "$work/install-FOC$exe" --silent --replace --game-dir "$(native "$game")"
check "one of the game's own car IDs exits 4, its car untouched" test $? -eq 4 -a \
  "$(find "$game/Data/Cars/FOC" -type f)" = "$game/Data/Cars/FOC/Cars.scr"
check "saying why" grep -qx 'ID reserved.' "$work/err"
rm -r "$game/Data/Cars/FOC"
printf 'in the way' >"$game/Data/Cars/DDD"
runs 1 "failed run exits 1" "$work/install-DDD$exe" --silent --game-dir "$(native "$game")"
check "failed run says Error!" grep -qx 'Error!' "$work/out"

# A game script that cannot take its line: the run says which file failed
# instead of success.
rm "$game/Data/Cars/Parts.scr"
runs 6 "unregistered script exits 6" "$work/install-EEE$exe" --silent --game-dir "$(native "$game")" \
  "/LOG=$(native "$work/run.log")"
check "its log: lines there already, the fault, the status" logged "$work/run.log" \
  'Line already in Data\Texts.scr: !include("Cars\\Texts.scr")' 'Data\Cars\Parts.scr: the file is missing' 'Exit status 6'
check "it names the file and why" grep -qx 'Data\\Cars\\Parts.scr: the file is missing' "$work/err"
check "no success claimed" grep -qx 'Installed, but some game files could not be updated' "$work/out"
printf '\r\n' >"$game/Data/Cars/Parts.scr"

# A profile that cannot be written is no success; a closed output does not
# end the run.
empty_game "$work/G2"
mkdir "$work/G2/Vehiforge.ini"
runs 6 "unwritable profile exits 6" "$work/install-AAA$exe" --silent --game-dir "$(native "$work/G2")"
check "it names the profile" grep -qx 'Vehiforge.ini: the file cannot be replaced' "$work/err"
rmdir "$work/G2/Vehiforge.ini"
timeout 120 ${wine:+"$wine"} "$work/install-AAA$exe" --silent --game-dir "$(native "$work/G2")" 2>&1 </dev/null |
  head -c 1 >"$work/out"
check "closed output exits 0" test "${PIPESTATUS[0]}" -eq 0
check "closed output still lists the car" same_bytes "$work/G2/Vehiforge.ini" '[Cars]\r\nCarsCount=1\r\nCarID1=AAA\r\n'

# Removal: the exact inverse of the install, and only of this car's.
run "$work/install-BBB$exe" --silent --game-dir "$(native "$work/G2")"
cp -r "$work/G2/Data" "$work/G2-before"
run "$work/install-CCC$exe" --silent --game-dir "$(native "$work/G2")"
chmod a-w "$work/G2/Data/Cars/Parts.scr"
printf 'mine' >"$work/G2/Data/Cars/CCC/Textures/mine.dds"
runs 0 "removal exits 0" "$work/install-CCC$exe" --remove --game-dir "$(native "$work/G2")" \
  --log="$(native "$work/run.log")"
check "its log: lines removed, files deleted, the profile, the status" logged "$work/run.log" \
  "The car's line removed from Data\Cars\Parts.scr" 'Deleting: Data\Cars\CCC\Textures\body.dds' \
  'Vehiforge.ini written without CCC' 'The car has been removed' 'Exit status 0'
for kind in Cars Parts Texts Icons; do
  check "removal leaves $kind.scr as before" cmp -s "$work/G2-before/Cars/$kind.scr" "$work/G2/Data/Cars/$kind.scr"
done
check "read-only script stays read-only" test ! -w "$work/G2/Data/Cars/Parts.scr" -o "$(id -u)" -eq 0 -a \
  "$(stat -c %a "$work/G2/Data/Cars/Parts.scr")" = 444
check "removed from the list" same_bytes "$work/G2/Vehiforge.ini" '[Cars]\r\nCarsCount=2\r\nCarID1=AAA\r\nCarID2=BBB\r\n'
check "the player's file stays" test "$(find "$work/G2/Data/Cars/CCC" -type f)" = "$work/G2/Data/Cars/CCC/Textures/mine.dds"
check "and is named" same_bytes <(tail -n +2 "$work/out") \
  'Removing car\nLeft in place, not installed by this car:\nData\\Cars\\CCC\\Textures\\mine.dds\nThe car has been removed\n'
rm -r "$work/G2/Data/Cars/CCC"
runs 7 "second removal exits 7" "$work/install-CCC$exe" --remove --game-dir "$(native "$work/G2")"
check "removal of an absent car says so" grep -qx 'This car is not installed in the selected game folder' "$work/err"
# On Windows the folder of an ID such as sBi is the game's own SBI.
mkdir "$work/G2/Data/Cars/sBi"
run "$work/install-sBi$exe" --remove --game-dir "$(native "$work/G2")"
check "a game car's ID in any case is refused" test $? -eq 4 -a -d "$work/G2/Data/Cars/sBi"
# Windows, and the game under Wine, take aaa's folder for AAA's.
make_car aaa lower-aaa || exit 1
runs 4 "an ID differing from an installed car's in letter case alone exits 4" "$work/install-lower-aaa$exe" \
  --silent --game-dir "$(native "$work/G2")"
check "it names the installed car" grep -q 'only in letter case is already installed: AAA$' "$work/err"
run "$work/install-lower-aaa$exe" --remove --game-dir "$(native "$work/G2")"
check "its removal finds it not installed" test $? -eq 7 -a -f "$work/G2/Data/Cars/AAA/Cars.scr"
# An update takes away what the new version no longer has.
mv "$work/src-BBB/Textures/body.dds" "$work/src-BBB/Textures/new.dds"
author pack --id BBB -o "$(native "$work/BBB2.rigbox")" "$(native "$work/src-BBB")" >/dev/null &&
  author sfx --for $system -o "$(native "$work/install-BBB2$exe")" "$(native "$work/BBB2.rigbox")" >/dev/null
run "$work/install-BBB2$exe" --silent --replace --game-dir "$(native "$work/G2")"
check "an update leaves none of the old version's files" test $? -eq 0 -a \
  "$(cd "$work/G2/Data/Cars/BBB/Textures" && echo *)" = new.dds
# The program without a package removes a car by its install record alone.
empty_game "$work/G5"
run "$work/install-BBB$exe" --silent --game-dir "$(native "$work/G5")"
tree_state "$work/G5" >"$work/G5-before"
run "$work/install-CCC$exe" --silent --game-dir "$(native "$work/G5")"
# Without --silent, Windows asks first.
bare=("$work/bare-stub$exe" --remove --silent --game-dir "$(native "$work/G5")" --car)
runs 2 "--car naming another car than the installer's exits 2" "$work/install-BBB$exe" --remove --silent --car CCC \
  --game-dir "$(native "$work/G5")"
runs 0 "the bare program removes a car by its record" "${bare[@]}" CCC
check "exactly" cmp -s <(tree_state "$work/G5") "$work/G5-before"
check "saying what --remove says" same_bytes <(tail -n +2 "$work/out") 'Removing car\nThe car has been removed\n'
runs 7 "a car removed already exits 7" "${bare[@]}" CCC
check "saying so" grep -qx 'This car is not installed in the selected game folder' "$work/err"
rm "$work/G5/Data/Cars/BBB/rigbox-install-record.txt" && tree_state "$work/G5" >"$work/G5-before"
runs 7 "a car without its record exits 7" "${bare[@]}" BBB
check "saying why" grep -qx 'This car has no install record in the selected game folder: nothing was removed' \
  "$work/err"
check "changing nothing" cmp -s <(tree_state "$work/G5") "$work/G5-before"
if [ -z "$wine" ]; then
  # An author's working folder linked into the game stays the author's.
  ln -s "$work/src-DDD" "$work/G2/Data/Cars/DDD"
  run "$work/install-DDD$exe" --remove --game-dir "$(native "$work/G2")"
  check "a linked car folder loses the link alone" test $? -eq 0 -a ! -e "$work/G2/Data/Cars/DDD" -a \
    -f "$work/src-DDD/Textures/body.dds"
  check "and says so" grep -qx "The car's folder is a link: the link was removed, the folder it leads to was kept" "$work/out"
fi

# A game folder the player may not write: the run stops before writing
# anything and says what to do. On Linux an ordinary user runs it against
# root's game; Wine runs as its prefix's owner, so there a read-only mount
# takes the rights away.
empty_game "$work/G3"
run "$work/install-AAA$exe" --silent --game-dir "$(native "$work/G3")"
listing() { find "$work/G3" -printf '%p %s %m\n' | sort; }
if [ -z "$wine" ]; then
  chmod 755 "$work" && as_player=(setpriv --reuid=65534 --regid=65534 --clear-groups)
elif ! mount -t tmpfs -o ro,size=16k tmpfs "$work/G3/Data/Cars"; then
  echo "unwritable game folder: skipped (no read-only mount here)" && as_player=(false)
fi
before=$(listing)
if [ "${as_player[0]:-}" != false ]; then
  runs 1 "unwritable game folder exits 1" "$work/install-BBB$exe" --silent --game-dir "$(native "$work/G3")"
  check "it says access denied and administrator" grep -q 'access denied. Run the installer as administrator' "$work/err"
  runs 1 "removal from an unwritable game folder exits 1" "$work/install-AAA$exe" --remove \
    --game-dir "$(native "$work/G3")"
  check "neither writes anything" test "$(listing)" = "$before"
fi
as_player=()
[ -n "$wine" ] && umount "$work/G3/Data/Cars"

# Linux: a script the player cannot read, or one still including the car's
# files, stops the removal before it deletes anything; a script a mod
# manager keeps as a link stays one.
if [ -z "$wine" ]; then
  empty_game "$work/G4"
  run "$work/install-AAA" --silent --game-dir "$work/G4"
  mkdir "$work/store" && mv "$work/G4/Data/Cars/Texts.scr" "$work/store/"
  ln -s "$work/store/Texts.scr" "$work/G4/Data/Cars/Texts.scr"
  chown -R 65534:65534 "$work/G4" "$work/store" && chmod 000 "$work/G4/Data/Cars/Parts.scr"
  as_player=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  run "$work/install-AAA" --remove --game-dir "$work/G4"
  check "an unreadable script stops the removal with 1" test $? -eq 1 -a -d "$work/G4/Data/Cars/AAA"
  check "naming it and why" grep -qxF 'Data\Cars\Parts.scr: the file cannot be read' "$work/err"
  chmod 644 "$work/G4/Data/Cars/Parts.scr" && printf '!include( "aaa/x.scr")\r\n' >>"$work/G4/Data/Cars/Icons.scr"
  run "$work/install-AAA" --remove --game-dir "$work/G4"
  check "a line still including the car stops it with 1" test $? -eq 1 -a -d "$work/G4/Data/Cars/AAA"
  check "naming the line" grep -qxF 'Data\Cars\Icons.scr: !include( "aaa/x.scr")' "$work/err"
  check "the linked script stays a link" test -L "$work/G4/Data/Cars/Texts.scr"
  check "and its target loses the line" same_bytes "$work/store/Texts.scr" '\r\n'
  as_player=()
fi

# Windows keeps a copy of each game file that a virtualized program (an old
# game) wrote under a protected folder, in the user's VirtualStore, and the
# game reads the copy. Wine does not virtualize: the copies are laid out by
# hand where Windows would keep them.
if [ -n "$wine" ]; then
  local_app=$("$wine" cmd /c echo %LOCALAPPDATA% </dev/null 2>"$work/wine.err" | tr -d '\r')
  vs='C:\Program Files\GravelonVS' vs_game=$WINEPREFIX/drive_c/Program\ Files/GravelonVS
  local_unix=${local_app#[Cc]:}
  store=$WINEPREFIX/drive_c${local_unix//\\//}/VirtualStore/Program\ Files/GravelonVS
  empty_game "$vs_game"
  mkdir -p "$store/Data/Cars"
  printf '\r\n' >"$store/Data/Cars/Cars.scr"
  printf '[Cars]\r\nCarsCount=1\r\nCarID1=BBB\r\n' >"$store/Vehiforge.ini"
  runs 0 "install beside VirtualStore copies exits 0" "$work/install-AAA$exe" --silent --game-dir "$vs"
  for file in "$vs_game" "$store"; do
    check "cars script and its copy get the line" same_bytes "$file/Data/Cars/Cars.scr" '\r\n!include("AAA\\\\Cars.scr")\r\n\r\n'
    check "both profiles list the copy's car and the new one" same_bytes "$file/Vehiforge.ini" \
      '[Cars]\r\nCarsCount=2\r\nCarID1=BBB\r\nCarID2=AAA\r\n'
  done
  check "no copy made where there was none" test ! -e "$store/Data/Cars/Parts.scr"
  check "the output names the copy" grep -qixF \
    "Updated the copy Windows keeps in VirtualStore: $local_app\\VirtualStore\\Program Files\\GravelonVS\\Data\\Cars\\Cars.scr" "$work/out"
  runs 5 "a car listed only in the copy counts as installed" "$work/install-BBB$exe" --silent --game-dir "$vs"
  runs 0 "removal beside the copies exits 0" "$work/install-AAA$exe" --remove --game-dir "$vs"
  check "the copy loses the line" same_bytes "$store/Data/Cars/Cars.scr" '\r\n'
  check "and the car" same_bytes "$store/Vehiforge.ini" '[Cars]\r\nCarsCount=1\r\nCarID1=BBB\r\n'
  # The player may plant a link under VirtualStore without rights; an
  # elevated run must not follow it out of the store.
  mkdir -p "$work/outside/Cars" && printf '\r\n' >"$work/outside/Cars/Cars.scr"
  rm -r "$store/Data" && ln -s "$work/outside" "$store/Data"
  runs 6 "a copy behind a link is not updated, exit 6" "$work/install-AAA$exe" --silent --game-dir "$vs"
  check "the file the link leads to stays" same_bytes "$work/outside/Cars/Cars.scr" '\r\n'
  check "the copy is named, and why" grep -qiF 'GravelonVS\Data\Cars\Cars.scr: the way to it passes through a link' "$work/err"
fi

# The command line.
runs 2 "bad command line exits 2" "$work/install-BBB$exe" --silent --bogus
check "usage on standard error" grep -q '^Usage: install-BBB' "$work/err"
runs 0 "--help exits 0" "$work/install-BBB$exe" --help
check "--help prints usage" grep -qx '  --silent        install without a window' "$work/out"
runs 0 "--version exits 0" "$work/install-BBB$exe" --version
check "--version as rigbox's" test "$(head -n1 "$work/out")" = "RIGBOX Extract $(author --version | tr -d '\r' | cut -d' ' -f2)"

# Other installers' switches, names in any letter case, as scripts pass
# them: /D= last, its folder unquoted across a blank.
empty_game "$work/Game Folder"
run "$work/install-AAA$exe" /s /D="$(native "$work/Game")" Folder
check "/S /D=DIR installs" test $? -eq 0 -a -f "$work/Game Folder/Data/Cars/AAA/Textures/body.dds"
check "saying the folder is the command line's" says_folder "$(native "$work/Game Folder")$sep (given on the command line)"
run "$work/install-BBB$exe" /VerySilent "/DIR=$(native "$work/Game Folder")" "/LOG=$(native "$work/log.txt")"
check "/VERYSILENT /DIR=DIR /LOG=FILE install" test $? -eq 0 -a -f "$work/Game Folder/Data/Cars/BBB/Textures/body.dds"
check "and log" logged "$work/log.txt" "Game folder: $(native "$work/Game Folder")$sep (given on the command line)" 'Exit status 0'

# A renamed installer (on Linux without an extension) still finds its own
# package.
mv "$work/install-BBB$exe" "$work/renamed$exe"
runs 5 "renamed installer exits 5 (car present)" "$work/renamed$exe" --silent --game-dir "$(native "$game")"

# The game installed through each launcher, found without --game-dir. One
# home gains the launchers from the last asked to the first; each records
# the game, then a folder without it, so the next one (asked earlier) must
# win over all those already there.
if [ -z "$wine" ]; then
  export HOME=$work/launchers
  unset WINEPREFIX
  h=$HOME
  launcher() {  # launcher NAME PREFIX [FILE TEXT]: the prefix and the launcher's file, below the home
    make_prefix "$h/$2" "$game"
    if [ $# -gt 2 ]; then mkdir -p "$(dirname "$h/$3")" && printf '%b' "$4" >"$h/$3"; fi
    runs 0 "game found through $1" "$work/install-CCC" --silent --replace
    [ "$1" = "~/.wine" ] || check "saying so: $1" says_folder \
      "$game/ (recorded in the registry of the Wine prefix $h/$2, found through ${1%%[ \']*})"
    make_prefix "$h/$2" "$work/not-a-game"
  }
  launcher Minigalaxy "GOG Games/Gravelon/prefix"
  launcher CrossOver .cxoffice/Gravelon
  launcher PlayOnLinux .PlayOnLinux/wineprefix/Gravelon
  launcher "Heroic Flatpak" Prefixes/flatpak .var/app/com.heroicgameslauncher.hgl/config/heroic/GamesConfig/g.json \
    "{\"g\": {\"winePrefix\": \"$h/Prefixes/flatpak\"}, \"version\": \"v0\"}"
  launcher "Heroic's default folder" Games/Heroic/Prefixes/default/Gravelon
  launcher Heroic Prefixes/native/pfx .config/heroic/GamesConfig/g.json \
    "{\"g\": {\"winePrefix\": \"$h/Prefixes/native\", \"wineVersion\": {\"type\": \"proton\"}}}"
  launcher "Lutris Flatpak" Games/lutris-flatpak .var/app/net.lutris.Lutris/data/lutris/games/gravelon-1.yml \
    "game:\n  prefix: $h/Games/lutris-flatpak\n"
  launcher Lutris Games/lutris .config/lutris/games/gravelon-1.yml \
    "game:\n  exe: $h/Games/lutris/drive_c/Gravelon/Gravelon.exe\n  prefix: $h/Games/lutris\nwine:\n  version: w\n"
  launcher "Bottles Flatpak" .var/app/com.usebottles.bottles/data/bottles/bottles/Gravelon
  launcher Bottles .local/share/bottles/bottles/Gravelon
  launcher "Steam Snap" snap/steam/common/.local/share/Steam/steamapps/compatdata/1/pfx
  # The Flatpak's library file names the library as the sandbox sees it.
  vdf "$h/.var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/libraryfolders.vdf" "$h/Lib"
  launcher "Steam Flatpak" .var/app/com.valvesoftware.Steam/Lib/steamapps/compatdata/1/pfx
  launcher Steam .local/share/Steam/steamapps/compatdata/1/pfx
  launcher "~/.wine" .wine
  make_prefix "$work/first" "$game"
  WINEPREFIX=$work/first run "$work/install-CCC" --silent --replace
  check "game found through \$WINEPREFIX" test $? -eq 0
  export HOME=$work/bare-home
  mkdir -p "$HOME"
  runs 3 "no game recorded anywhere exits 3" "$work/install-CCC" --silent --replace
  check "saying none was found" says_folder "none found"

  # What the core's tests cannot set: the XDG folders, and a launcher's
  # own file naming a non-ASCII prefix, through the whole program.
  ws=$'Wy\xc5\x9bcigi'
  rally="Gry/$ws/Gravelon Rally Championship Edition (wersja pude"$'\xc5\x82'"kowa)"
  home() { h=$work/home-$1 && mkdir -p "$h"; }
  moved() { mkdir -p "$(dirname "$2")" && sed "s|/home/gracz|$h|" "$(dirname "$0")/../discovery/launchers/$1" >"$2"; }
  found() { run env HOME="$h" "${@:2}" "$work/install-CCC" --silent --replace; check "game found: $1" test $? -eq 0; }
  home 2 && make_prefix "$work/data-2/Steam/steamapps/compatdata/1/pfx" "$game"
  found "Steam under XDG_DATA_HOME" XDG_DATA_HOME="$work/data-2"
  home 6 && make_prefix "$h/$rally" "$game"
  moved lutris-gravelon-1700000000.yml "$work/config-6/lutris/games/gravelon-1700000000.yml"
  found "Lutris under XDG_CONFIG_HOME" XDG_CONFIG_HOME="$work/config-6"

  # A Steam copy that records no folder anywhere.
  home 8 && export HOME=$h
  vdf "$h/.local/share/Steam/config/libraryfolders.vdf" "$work/library-8"
  copy=$work/library-8/steamapps/common/Gravelon
else
  # The same on Windows, through Steam's own record; then a GOG copy.
  wine_reg() { "$wine" reg "$@" </dev/null >"$work/wine.out" 2>&1; }
  wine_reg delete 'HKLM\Software\Brackmoor\Gravelon' /f /reg:32
  steam=$(windows_path "$work/steam") library=$(windows_path "$work/library")
  wine_reg add 'HKCU\Software\Valve\Steam' /v SteamPath /t REG_SZ /d "${steam//\\//}" /f
  vdf "$work/steam/config/libraryfolders.vdf" "${library//\\/\\\\}"
  copy=$work/library/steamapps/common/Gravelon
fi
empty_game "$copy"
run "$work/install-CCC$exe" --silent
check "a Steam copy without a registry value is found" test $? -eq 0 -a -f "$copy/Data/Cars/CCC/Textures/body.dds"
check "saying it is Steam's" says_folder "$(native "$copy")$sep (a copy from Steam)"
if [ -n "$wine" ]; then
  wine_reg delete 'HKCU\Software\Valve\Steam' /f
  wine_reg add 'HKLM\Software\GOG.com\Games\1207658930' /v path /t REG_SZ /d "$(windows_path "$work/gog/Gravelon")" /f /reg:32
else  # as Heroic installs from GOG: only GOG's key, in a prefix whose own value is stale
  rm "$h/.local/share/Steam/config/libraryfolders.vdf" && pfx=$h/Games/Heroic/Prefixes/default/Gravelon
  make_prefix "$pfx" "$work/not-a-game" && value="Z:${work//\//\\}\\gog\\Gravelon"
  printf '[Software\\\\Wow6432Node\\\\GOG.com\\\\Games\\\\1207658930] 1\n"path"="%s"\n' "${value//\\/\\\\}" >>"$pfx/system.reg"
fi
empty_game "$work/gog/Gravelon"
run "$work/install-CCC$exe" --silent
check "a GOG copy without a registry value is found" test $? -eq 0 -a -f "$work/gog/Gravelon/Data/Cars/CCC/Textures/body.dds"
check "saying it is GOG's" says_folder "$(native "$work/gog/Gravelon")$sep (a copy from GOG)"

# One byte changed on the way, in the record, the header's EndPos, a file and
# the directory: refused before anything is written. Without the record, an
# installer installs as ever; with details, --version names the car.
make_car DMG || exit 1
installer=$work/install-DMG$exe
header=$(($(tail -c 4 "$installer" | od -A n -t d4) - 1))
snapshot() { find "$game" -type f -exec md5sum {} + | sort; }
before=$(snapshot)
for at in $((header - 12)) $((header + 18)) $((header + 30000)) $(($(stat -c %s "$installer") - 50)); do
  cp "$installer" "$work/damaged$exe" && flip_byte "$work/damaged$exe" $at
  runs 4 "byte $at changed: exits 4" "$work/damaged$exe" --silent --game-dir "$(native "$game")"
  check "byte $at changed: says so" grep -qx 'This installer is damaged: .* Download it again.' "$work/err"
done
check "damaged installers changed nothing" test "$(snapshot)" = "$before"
bare_installer "$stub" "$work/DMG.rigbox" "$work/bare$exe"
run "$work/bare$exe" --silent --game-dir "$(native "$game")"
check "an installer without a checksum installs" test $? -eq 0 -a -f "$game/Data/Cars/DMG/Textures/body.dds"
cp "$installer" "$work/damaged$exe" && flip_byte "$work/damaged$exe" $((header + 24)) 1  # DMG is now DMF
run "$work/damaged$exe" --remove --game-dir "$(native "$game")"
check "a damaged installer removes nothing" test $? -eq 4 -a -f "$game/Data/Cars/DMG/Textures/body.dds"
# Wine reads the arguments in the locale's character set. The Windows
# installer gets the car's icon too, and must still start.
icon=()
[ -n "$wine" ] && convert -size 32x32 xc:red "$work/car.ico" && icon=(--icon "$(native "$work/car.ico")")
LC_ALL=C.UTF-8 author sfx --for $system "${icon[@]}" --name 'Żuk Rally' --version 2.1 --author 'Jan K.' \
  -o "$(native "$work/named$exe")" "$(native "$work/DMG.rigbox")" >/dev/null
run "$work/named$exe" --version
check "--version names the car" test "$(tail -n +2 "$work/out")" = \
  "$(printf 'Car ID:  DMG\nName:    Żuk Rally\nVersion: 2.1\nAuthor:  Jan K.')"

checks_done
