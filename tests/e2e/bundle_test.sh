#!/usr/bin/env bash
# The release bundle as a car author gets it: unpacked anywhere, its tools
# make installers for both systems from the stubs beside them, and each
# installer installs a car unattended, the Windows one through WINE (the
# loader of a prepared prefix, see scripts/wine-env.sh). Its Linux programs
# may need only what a Debian 12 desktop has.
# Usage: bundle_test.sh BUNDLE.zip WINE
set -u
zip=$(realpath "$1")
wine=$2
car=$(cd "$(dirname "$0")/../../demo/car" && pwd)
# shellcheck source=checks.sh
source "$(dirname "$0")/checks.sh"

bundle=$work/bundle
mkdir "$bundle" "$work/elsewhere"
(cd "$bundle" && cmake -E tar xf "$zip") || exit 1
check "the bundle's files" test "$(cd "$bundle" && find . -type f | sort | xargs)" = \
  "./car-authors-guide.txt ./linux/rigbox ./linux/rigbox-extract ./windows/rigbox-extract.exe ./windows/rigbox.exe"

# The C library, and for the window the X11 client libraries and fontconfig
# (whose FreeType brings libpng16).
allowed=" libc.so.6 libm.so.6 ld-linux-x86-64.so.2 libX11.so.6 libXext.so.6 libXft.so.2 libXrender.so.1 \
libXcursor.so.1 libXfixes.so.3 libXinerama.so.1 libfontconfig.so.1 libpng16.so.16 "
for program in "$bundle"/linux/*; do
  for library in $(objdump -p "$program" | awk '$1 == "NEEDED" { print $2 }'); do
    check "${program##*/} needs $library" test "${allowed/ $library /}" != "$allowed"
  done
  check "${program##*/} is stripped" test -z "$(readelf -S "$program" | grep -F .symtab)"
done

# Made from another folder: the tool finds the stubs beside itself.
cd "$work/elsewhere" || exit 1
"$bundle/linux/rigbox" pack --id BND -o car.rigbox "$car" >/dev/null || exit 1
check "Linux installer made" "$bundle/linux/rigbox" sfx --for linux -o setup car.rigbox
check "Windows installer made" "$bundle/linux/rigbox" sfx --for windows -o setup.exe car.rigbox
timeout 120 "$wine" "$bundle/windows/rigbox.exe" sfx --for windows -o "$(windows_path "$PWD/setup-win.exe")" \
  "$(windows_path "$PWD/car.rigbox")" </dev/null >/dev/null 2>&1
check "the Windows tool makes the same installer" cmp -s setup.exe setup-win.exe

for system in linux windows; do
  game=$work/game-$system
  empty_game "$game"
  if [ $system = linux ]; then
    HOME=$work WINEPREFIX=$work/no-prefix timeout 120 ./setup --silent --game-dir "$game/" </dev/null >/dev/null
  else
    timeout 120 "$wine" setup.exe --silent --game-dir "$(windows_path "$game/")" </dev/null >/dev/null 2>&1
  fi
  check "$system installer exits 0" test $? -eq 0
  check "$system installer wrote the car" diff -r "$car" "$game/Data/Cars/BND"
  check "$system installer registered it" grep -q 'BND\\\\Cars.scr' "$game/Data/Cars/Cars.scr"
done

checks_done
