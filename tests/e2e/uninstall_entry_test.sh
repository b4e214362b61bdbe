#!/usr/bin/env bash
# The Windows installer's uninstall entry under Wine, used as a player
# would: from Wine's list of programs, with the installer deleted.
# Usage: uninstall_entry_test.sh RIGBOX_EXTRACT.EXE RIGBOX WINE (a prepared
# prefix and display, see scripts/wine-env.sh; needs xdotool)
set -u
stub=$1
rigbox=$2
wine=$3
# shellcheck source=checks.sh
source "$(dirname "$0")/checks.sh"
keys='Software\Microsoft\Windows\CurrentVersion\Uninstall'
# entries: each key of ours, with its values, from either root.
entries() {
  for root in HKCU HKLM; do "$wine" reg query "$root\\$keys" /s </dev/null 2>/dev/null; done | tr -d '\r' |
    awk '/^HKEY/ { ours = /\\RigboxCar_/ } ours'
}
value() { entries | sed -n "s/^ *$1 *REG_[A-Z]* *//p"; }  # value NAME

game=$work/Gravelon
empty_game "$game"
mkdir -p "$work/car/Tex"
for kind in Cars Parts Texts Icons; do printf '// %s\r\n' "$kind" >"$work/car/$kind.scr"; done
head -c 5000 /dev/urandom >"$work/car/Tex/body.dds"
for id in BBB ABC; do
  "$rigbox" pack --id $id -o "$work/car.rigbox" "$work/car" >/dev/null &&
    "$rigbox" sfx --stub "$stub" --name 'Rally Coupe 323' --version 1.2 --author 'J. Smith' -o "$work/install-$id.exe" \
      "$work/car.rigbox" >/dev/null || exit 1
done
install() { "$wine" "$work/install-$1.exe" --silent "${@:2}" --game-dir "$(windows_path "$game")" </dev/null >"$work/out" 2>&1; }
# Another car's install adds what a removal keeps: the top-level lines, the list.
# Its entry goes, so that ABC's is the only one.
install BBB && for key in $(entries | grep '^HKEY'); do "$wine" reg delete "$key" /f </dev/null >/dev/null 2>&1; done
tree_state "$game" >"$work/before"

check "install exits 0" install ABC
check "without a warning" test -z "$(grep 'Not written' "$work/out")"
game_dir="$(windows_path "$game")\\"
check "one entry" test "$(entries | grep -c '^HKEY')" -eq 1
check "its name" test "$(value DisplayName)" = 'Gravelon car: Rally Coupe 323 (ABC)'
check "version and publisher" test "$(value DisplayVersion)|$(value Publisher)" = '1.2|J. Smith'
check "location" test "$(value InstallLocation)" = "${game_dir}Data\\Cars\\ABC\\"
uninstaller=$(value DisplayIcon)
check "the commands" test "$(value UninstallString)" = "\"$uninstaller\" --remove --car ABC --game-dir \"$game_dir\\\"" -a \
  "$(value QuietUninstallString)" = "$(value UninstallString) --silent"
check "size in KiB, no modify, no repair" test "$(value EstimatedSize)|$(value NoModify)|$(value NoRepair)" = '0x5|0x1|0x1'
check "a second install keeps one entry" install ABC --replace
check "one entry still" test "$(entries | grep -c '^HKEY')" -eq 1
"$wine" uninstaller --list </dev/null 2>/dev/null | tr -d '\r' >"$work/list"
check "Wine's list shows the car" grep -q '|||Gravelon car: Rally Coupe 323 (ABC)$' "$work/list"

# The plain command asks; No changes nothing.
mv "$work/install-ABC.exe" "$work/kept.exe"
tree_state "$game" >"$work/installed"
# Each command through cmd, exactly as registered, from a batch file (an
# argument holding quotes would reach cmd escaped).
run_command() { printf '@%s\r\n' "$(value "$1")" >"$work/run.bat" && "$wine" cmd /c "$(windows_path "$work/run.bat")" </dev/null >"$work/out" 2>&1; }
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d Y /f </dev/null >/dev/null 2>&1
run_command UninstallString &
asked=$!
box=
for _ in $(seq 1 120); do
  box=$(xdotool search --onlyvisible --name '^RIGBOX Extract$' 2>/dev/null | head -1) && [ -n "$box" ] && break
  sleep 0.25
done
check "the plain command asks" test -n "$box"
[ -n "$box" ] && timeout 10 xdotool windowfocus --sync "$box" && xdotool key Tab Return
wait "$asked"
check "No exits 8" test $? -eq 8
check "and changes nothing" cmp -s <(tree_state "$game") "$work/installed"
check "the entry stays" test "$(entries | grep -c '^HKEY')" -eq 1

# The quiet command, exactly as registered, with the installer gone.
run_command QuietUninstallString
check "the quiet command exits 0" test $? -eq 0
check "the game folder as before the install" cmp -s <(tree_state "$game") "$work/before"
check "the entry is gone" test -z "$(entries)"

# An entry whose car went otherwise deletes itself, with exit 7.
mv "$work/kept.exe" "$work/install-ABC.exe" && install ABC && rm -r "$game/Data/Cars/ABC"
run_command QuietUninstallString
check "a car deleted by hand: exit 7, the entry gone" test $? -eq 7 -a -z "$(entries)"
install ABC --replace && rm -r "$game"
run_command QuietUninstallString
check "a game deleted whole: exit 7, the entry gone" test $? -eq 7 -a -z "$(entries)"
checks_done
