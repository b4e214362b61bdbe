#!/usr/bin/env bash
# The release bundle as a car author gets it: unpacked anywhere, its tools
# make installers for both systems from the stubs beside them, and each
# installer installs a car unattended, the Windows one through WINE (the
# loader of a prepared prefix, see scripts/wine-env.sh). Its Linux programs
# need glibc 2.31 at most and work in DEBIAN11, a Debian 11 root with only
# the window's libraries added (scripts/debian11-root.sh run).
# Usage: bundle_test.sh BUNDLE.zip WINE [DEBIAN11]
set -u
zip=$(realpath "$1")
wine=$2
debian11=${3:-}
car=$(cd "$(dirname "$0")/../../demo/car" && pwd)
scripts=$(cd "$(dirname "$0")/../../scripts" && pwd)
# shellcheck source=checks.sh
source "$(dirname "$0")/checks.sh"

bundle=$work/bundle
mkdir "$bundle" "$work/elsewhere"
(cd "$bundle" && cmake -E tar xf "$zip") || exit 1
check "the bundle's files" test "$(cd "$bundle" && find . -type f | sort | xargs)" = \
  "./car-authors-guide.txt ./linux/rigbox ./linux/rigbox-extract ./windows/rigbox-extract.exe ./windows/rigbox.exe"

# The C library (whose dlopen and threads have files of their own before
# glibc 2.34), and for the window the X11 client libraries and fontconfig
# (whose FreeType brings libpng16).
allowed=" libc.so.6 libm.so.6 libdl.so.2 libpthread.so.0 ld-linux-x86-64.so.2 libX11.so.6 libXext.so.6 \
libXft.so.2 libXrender.so.1 libXcursor.so.1 libXfixes.so.3 libXinerama.so.1 libfontconfig.so.1 libpng16.so.16 "
for program in "$bundle"/linux/*; do
  for library in $(objdump -p "$program" | awk '$1 == "NEEDED" { print $2 }'); do
    check "${program##*/} needs $library" test "${allowed/ $library /}" != "$allowed"
  done
  check "${program##*/} is stripped" test -z "$(readelf -S "$program" | grep -F .symtab)"
  newest=$(objdump -T "$program" | grep -o 'GLIBC_[0-9.]*' | sort -uV | tail -n1)
  echo "${program##*/} needs $newest"
  check "${program##*/} needs glibc 2.31 at most" test "$(printf '%s\n' "$newest" GLIBC_2.31 | sort -V | tail -n1)" = GLIBC_2.31
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
  check "$system installer wrote the car" diff -r -x rigbox-install-record.txt "$car" "$game/Data/Cars/BND"
  check "$system installer recorded it" test -f "$game/Data/Cars/BND/rigbox-install-record.txt"
  check "$system installer registered it" grep -q 'BND\\\\Cars.scr' "$game/Data/Cars/Cars.scr"
done

# A car packed, made into a Linux installer and installed on Debian 11, all
# in the scratch folder, which the root sees at the same path.
if [ -n "$debian11" ]; then
  old=$work/debian11
  mkdir "$old" && cp -r "$car" "$old/car" && empty_game "$old/game"
  on_debian11() { bash "$scripts/debian11-root.sh" exec "$debian11" "$work" "$@" >>"$old/log" 2>&1; }
  check "rigbox packs on Debian 11" on_debian11 "$bundle/linux/rigbox" pack --id OLD -o "$old/car.rigbox" "$old/car"
  check "rigbox makes an installer on Debian 11" on_debian11 "$bundle/linux/rigbox" sfx --for linux -o "$old/setup" \
    "$old/car.rigbox"
  check "it installs on Debian 11" on_debian11 env HOME="$old" "$old/setup" --silent --game-dir "$old/game/"
  check "it wrote the car on Debian 11" diff -r -x rigbox-install-record.txt "$car" "$old/game/Data/Cars/OLD"
  check "it registered it on Debian 11" grep -q 'OLD\\\\Cars.scr' "$old/game/Data/Cars/Cars.scr"
  [ "$failures" -eq 0 ] || cat "$old/log"
fi

checks_done
