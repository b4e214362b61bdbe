#!/usr/bin/env bash
# Links planted at the names the Linux programs write first: the probe and
# every temporary file of an install, a replace and a removal, and rigbox's
# output in another letter case. Run as root, as players run the installer
# with sudo: the files the links lead to keep their bytes and modes.
# Usage: planted_test.sh RIGBOX_EXTRACT RIGBOX
set -u
stub=$1
rigbox=$2
# shellcheck source=checks.sh
source "$(dirname "$0")/checks.sh"
export LANG=C LC_ALL=C HOME=$work/home WINEPREFIX=$work/no-prefix

mkdir -p "$work/car/Tex" "$work/victims"
for kind in Cars Parts Texts Icons; do printf '// AAA\r\n' >"$work/car/$kind.scr"; done
printf body >"$work/car/Tex/body.dds"
"$rigbox" pack --id AAA -o "$work/aaa.rigbox" "$work/car" >"$work/out" &&
  "$rigbox" sfx --stub "$stub" -o "$work/install" "$work/aaa.rigbox" >"$work/out" || exit 1
game=$work/game
empty_game "$game"

install() { "$work/install" "$@" >"$work/out" 2>&1; }
plant() {  # plant NAME...: a link at each name below the game folder, to a victim of its own
  local name victim
  for name in "$@"; do
    victim=$work/victims/${name//\//_}
    printf 'keep' >"$victim" && chmod 444 "$victim"
    ln -sfn "$victim" "$game/$name"
  done
}
victims_kept() {
  local victim
  for victim in "$work/victims"/*; do
    [ "$(cat "$victim")" = keep ] && [ "$(stat -c %a "$victim")" = 444 ] || return 1
  done
}

plant Data/Cars/rigbox-probe.tmp Vehiforge.ini.tmp
check "install beside planted links exits 0" install --silent --game-dir "$game"
plant Data/Cars/rigbox-probe.tmp Vehiforge.ini.tmp Data/Cars/AAA/rigbox-install-record.tmp
check "replace beside planted links exits 0" install --silent --replace --game-dir "$game"
plant Data/Cars/rigbox-probe.tmp Vehiforge.ini.tmp Data/Cars/rigbox-remove.tmp Data/rigbox-remove.tmp \
  Data/Menu/uidef/rigbox-remove.tmp
check "removal beside planted links exits 0" install --remove --game-dir "$game"
check "no file a link leads to changed" victims_kept
check "the car is gone" test ! -e "$game/Data/Cars/AAA" -a "$(cat "$game/Data/Cars/Cars.scr")" = $'\r'

# rigbox writes the name it is given, not one that differs in case alone.
for out in Notes.rigbox SETUP; do printf 'keep' >"$work/$out"; done
"$rigbox" pack --id AAA -o "$work/notes.rigbox" "$work/car" >"$work/out" &&
  "$rigbox" sfx --stub "$stub" -o "$work/setup" "$work/notes.rigbox" >"$work/out"
check "pack and sfx -o in another case exit 0" test $? -eq 0
check "they leave the other names alone" test "$(cat "$work/Notes.rigbox" "$work/SETUP")" = keepkeep
check "and write their own" cmp -s "$work/notes.rigbox" "$work/aaa.rigbox"

checks_done
