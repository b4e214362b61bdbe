# What the end-to-end scripts share: a scratch folder removed on exit
# ($work), named checks counted and summed up, Windows paths, the programs
# laid out as in the release bundle, a game folder.
work=$(mktemp -d "${TMPDIR:-/tmp}/rigbox-e2e.XXXXXX")
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
passes=0
failures=0
check() {  # check NAME COMMAND...
  local name=$1
  shift
  if "$@"; then passes=$((passes + 1)); else echo "FAIL: $name"; failures=$((failures + 1)); fi
}
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
native() { if [ -n "${wine:-}" ]; then windows_path "$1"; else printf '%s' "$1"; fi; }  # a path as the program takes it
make_bundle() {  # make_bundle STUB RIGBOX: both in $bundle, laid out as the release bundle for $system
  system=linux
  [ -n "${wine:-}" ] && system=windows
  bundle=$work/bundle/$system
  mkdir -p "$bundle" && cp "$1" "$bundle/rigbox-extract${wine:+.exe}" && cp "$2" "$bundle/rigbox${wine:+.exe}"
}
checks_done() {
  echo "$passes passed, $failures failed"
  test "$failures" -eq 0
}
empty_game() {  # empty_game FOLDER: the game's program and its six scripts, each holding an empty line
  mkdir -p "$1/Data/Cars" "$1/Data/Menu/uidef"
  printf 'MZ' >"$1/Gravelon.exe"
  for script in Cars/Cars.scr Cars/Parts.scr Cars/Texts.scr Cars/Icons.scr Texts.scr Menu/uidef/Textures.def; do
    printf '\r\n' >"$1/Data/$script"
  done
}
bare_installer() {  # bare_installer STUB PACKAGE OUT: stub, package and trailer, as made before the checksum record
  { cat "$1" "$2" && python3 -c 'import struct, sys; sys.stdout.buffer.write(struct.pack("<i", int(sys.argv[1])))' \
    $(($(stat -c %s "$1") + 1)); } >"$3" && chmod +x "$3"
}
flip_byte() {  # flip_byte FILE OFFSET [MASK]: the bits of MASK (default all) in one byte inverted, in place
  python3 -c 'import sys
with open(sys.argv[1], "r+b") as f:
    f.seek(int(sys.argv[2])); b = f.read(1); f.seek(-1, 1); f.write(bytes([b[0] ^ int(sys.argv[3])]))' \
    "$1" "$2" "${3:-255}"
}
# tree_state FOLDER: every entry with its kind, mode and content; the install
# record without the files' times, which each run sets anew.
tree_state() {
  cd "$1" || return
  find . -printf '%y %m %p\n' | sort
  { find . -type f ! -name rigbox-install-record.txt -exec sha1sum {} + &&
    find . -name rigbox-install-record.txt -exec sed 's/^\(file=[0-9]*\) [0-9]*/\1/' {} +; } | sort
  cd - >/dev/null || return
}
