#!/usr/bin/env bash
# Makes a demo world for the installer, from scratch each time:
#   OUT/game/        a Gravelon game folder (dummy executable, the six scripts)
#   OUT/prefix/      a Wine-style prefix whose registry records OUT/game/
#   OUT/dmo-installer  the installer of the demo car (demo/car, ID DMO)
# Usage: scripts/make-demo.sh BUILD_DIR OUT
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)

rigbox=$build/tools/rigbox/rigbox
stub=$build/src/frontends/fltk/rigbox-extract
for program in "$rigbox" "$stub"; do
  [ -x "$program" ] || { echo "make-demo: $program is missing; build first" >&2; exit 1; }
done

# Game files are Windows text: CR LF line ends.
crlf() {  # crlf FILE LINE... : writes the lines, each ended by CR LF
  local file=$1
  shift
  mkdir -p "$(dirname "$file")"
  : >"$file"
  local line
  for line in "$@"; do printf '%s\r\n' "$line" >>"$file"; done
}

chmod -R u+w "$out" 2>/dev/null || true
rm -rf "$out/game" "$out/prefix" "$out/dmo.rigbox" "$out/dmo-installer"

game=$out/game
mkdir -p "$game"
printf 'MZ\x90\x00 Gravelon demo stand-in, not a real program\r\n' >"$game/Gravelon.exe"
crlf "$game/Data/Cars/Cars.scr" '// Gravelon: cars' '!include("FOC\\Cars.scr")' '' '!include("RLY\\Cars.scr")' ''
crlf "$game/Data/Cars/Parts.scr" '// Gravelon: car parts' '!include("FOC\\Parts.scr")' '' '!include("RLY\\Parts.scr")' ''
crlf "$game/Data/Cars/Texts.scr" '// Gravelon: car texts' '!include("FOC\\Texts.scr")' '' '!include("RLY\\Texts.scr")' ''
crlf "$game/Data/Cars/Icons.scr" '// Gravelon: car icons' '!include("FOC\\Icons.scr")' '' '!include("RLY\\Icons.scr")' ''
crlf "$game/Data/Texts.scr" '// Gravelon: texts' '!include("Menu\\Texts.scr")' '!include("Stages\\Texts.scr")'
crlf "$game/Data/Menu/uidef/Textures.def" '// Gravelon: menu textures' '!include("Common\\Textures.def")'
mkdir -p "$game/Data/Cars/FOC" "$game/Data/Cars/RLY" "$game/Data/Profiles"

"$rigbox" pack --id DMO -o "$out/dmo.rigbox" "$root/demo/car" >/dev/null
# The installer carries no debugging symbols.
strip -o "$out/dmo-stub" "$stub"
"$rigbox" sfx --stub "$out/dmo-stub" -o "$out/dmo-installer" "$out/dmo.rigbox" >/dev/null
rm -f "$out/dmo-stub"

# The game's installation folder as the game records it under Wine: a
# Z: path (Z: is the root) in the 32-bit registry view.
prefix=$out/prefix
mkdir -p "$prefix/dosdevices"
ln -s / "$prefix/dosdevices/z:"
windowsPath="Z:${game//\//\\}\\"
escaped=${windowsPath//\\/\\\\}
escaped=${escaped//\"/\\\"}
{
  printf 'WINE REGISTRY Version 2\n'
  printf ';; All keys relative to \\\\Machine\n\n'
  printf '#arch=win64\n\n'
  printf '[Software\\\\Wow6432Node\\\\Brackmoor\\\\Gravelon] 1700000000\n'
  printf '#time=1da0000000000000\n'
  printf '"DestinationDir"="%s"\n\n' "$escaped"
} >"$prefix/system.reg"
