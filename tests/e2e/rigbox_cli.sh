#!/usr/bin/env bash
# Golden-output test of the rigbox tool: runs a fixed session of commands in
# a scratch folder and compares the transcript (stdout, stderr, exit codes,
# byte dumps) with golden/rigbox_cli.txt.
#   rigbox_cli.sh RIGBOX GOLDEN_DIR [WINE]  compare
#   UPDATE_GOLDEN=1 rigbox_cli.sh ...       rewrite the golden file
# With WINE (the loader of a prepared prefix, see scripts/wine-env.sh) RIGBOX
# is rigbox.exe and runs through it; the one golden file serves both, as the
# Windows program must pack, check and print exactly as the Linux one.
set -u
# Wine reads file names in the locale's character set: a UTF-8 one.
export LC_ALL=C.UTF-8

wine=${3:-}
golden="$(realpath "$2")/rigbox_cli.txt"
# shellcheck source=checks.sh
source "$(dirname "$0")/checks.sh"
# rigbox runs from a release bundle's layout, where sfx --for finds stubs.
system=linux
[ -n "$wine" ] && system=windows
mkdir -p "$work/bundle/$system"
rigbox=$work/bundle/$system/$(basename "$1")
cp "$1" "$rigbox" || exit 1
cd "$work" || exit 1

# Output as on Linux: LF line ends, and the scratch folder, in either
# system's spelling, as WORK with slashes below it.
windows_work=$(windows_path "$work")
unmap() {
  tr -d '\r' | sed -e "s|${windows_work//\\/\\\\}|WORK|g; s|$work|WORK|g" -e ':a' -e 's|\(WORK[^" ]*\)\\|\1/|' -e 'ta'
}

# Runs rigbox and records what it printed and how it ended. A usage text
# on stderr that is the one --help printed shows as its first line only;
# warnings=no leaves out warnings another run shows already.
run() {
  echo "\$ rigbox $*"
  ${launcher:-} ${wine:+"$wine"} "$rigbox" "$@" >stdout.txt 2>stderr.txt
  local rc=$?
  unmap <stdout.txt
  unmap <stderr.txt >err.txt
  local n=0
  [ -s usage.txt ] && n=$(wc -l <usage.txt)
  if [ "$n" -gt 0 ] && tail -n "$n" err.txt | cmp -s - usage.txt; then head -n $((1 - n)) err.txt; else cat err.txt; fi |
    if [ "${warnings:-}" = no ]; then grep -v '^rigbox: warning: '; else cat; fi | sed 's/^/stderr: /'
  echo "exit $rc"
  echo
}

show() {
  echo "\$ $*"
  "$@" 2>&1
  echo
}

# Whether each file exists, without the wording of ls's errors.
exists() {
  echo "\$ exists $*"
  for f in "$@"; do if [ -e "$f" ]; then echo "$f: exists"; else echo "$f: absent"; fi; done
  echo
}

le32() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $((($1 >> 8) & 255)))\\x$(printf %02x $((($1 >> 16) & 255)))\\x$(printf %02x $((($1 >> 24) & 255)))"; }
spaces() { printf "%$1s" ""; }
# A directory entry: size, position, folder name, file name.
entry() { le32 "$1"; le32 "$2"; printf '%s\0' "$3"; spaces $((15 - ${#3})); printf '%s' "$4"; spaces $((64 - ${#4})); }

transcript() {
  run --help
  unmap <stdout.txt >usage.txt
  run --version
  run
  run pack --help

  echo "== the example car: 10 bytes in the car's folder, 5 in Parts"
  mkdir -p car/Parts
  printf 0123456789 >car/Cars.scr
  printf abcde >car/Parts/engine.scr
  warnings=no run pack --id ABC -o car.rigbox car
  show od -A d -t x1z car.rigbox
  run list car.rigbox
  run verify car.rigbox

  echo "== self-extracting form"
  printf 'MZ%098d' 0 >stub.exe
  chmod 755 stub.exe
  run sfx --stub stub.exe --allow-missing-scripts -o setup.exe car.rigbox
  show stat -c %s setup.exe
  show sh -c 'tail -c 4 setup.exe | od -A n -t d4'
  run list setup.exe
  run extract setup.exe out
  show find out -type f
  show cat out/Cars.scr out/Parts/engine.scr
  echo
  run sfx --stub stub.exe -o bad.exe stub.exe
  echo "== the car's details, and an installer damaged on its way"
  printf 'ELF%097d' 0 >stub
  run sfx --stub stub --allow-missing-scripts --name 'Żuk "Rally" 2' --version 1.0b --author 'Jan K.' -o named car.rigbox
  show sh -c 'sha256sum named | cut -c1-64'
  run list named
  for at in 140 174 185 300; do  # the record, the header's EndPos, a file, the directory
    cp named damaged && printf 'x' | dd of=damaged bs=1 seek=$at conv=notrunc status=none
    echo "-- byte $at changed"
    run verify damaged
  done
  run list damaged
  run sfx --stub stub --name "$(printf 'a\tb')" -o tab car.rigbox
  run sfx --stub stub --allow-missing-scripts --icon stub -o icon car.rigbox
  warnings=no run sfx --stub stub.exe --allow-missing-scripts -o ./stub.exe car.rigbox

  echo "== installers from the release bundle rigbox runs from"
  mkdir -p bundle/windows && cp stub.exe bundle/windows/rigbox-extract.exe
  warnings=no run sfx --for windows --allow-missing-scripts -o bundled.exe car.rigbox
  show cmp setup.exe bundled.exe
  run sfx --for linux -o bundled car.rigbox
  exists bundled
  warnings=no run sfx --for linux --stub stub.exe --allow-missing-scripts -o bundled car.rigbox

  echo "== empty files, nested folders, sorting"
  mkdir -p tree/b/deeper tree/a
  : >tree/empty.txt
  printf x >tree/b/deeper/z.txt
  printf yy >tree/a/y.txt
  printf 'with space' >"tree/my file.txt"
  run pack --id A9_ --flags 258 -o tree.rigbox tree
  run list tree.rigbox
  show cksum tree.rigbox
  run extract tree.rigbox tree_out
  show find tree_out -type f -size 0

  echo "== names beyond the Windows code page"
  mkdir -p $'\305\201ada' && printf x >$'\305\201ada/a.txt'
  warnings=no run pack --id ABC -o $'\305\201ada.rigbox' $'\305\201ada'

  echo "== car IDs, a car one folder down, what no car needs"
  mkdir -p nest/ABC/.git nest/ABC/.SVN nest/ABC/.hg && touch nest/readme.txt nest/ABC/{cars,Parts,Texts,Icons}.scr
  touch nest/ABC/{THUMBS.db,Desktop.ini,.DS_Store,._Cars.scr,.git/HEAD}
  run pack --id ABC -o nest.rigbox nest
  for id in AB Z12 FOC 'A B' foc; do run pack --id "$id" -o nest.rigbox nest/ABC; done
  run pack --id ABC --keep-junk -o nest.rigbox nest/ABC

  # Each naming rule is the package tests' business: one file and one folder name here.
  echo "== names that cannot be stored, names the installer takes for one: all named in one run"
  mkdir -p bad/SixteenCharsLong bad/Tex bad/tex && printf x >"bad/$(printf 'n%.0s' $(seq 65))" && ln -s . bad/up
  printf x >bad/SixteenCharsLong/x && printf 1 >bad/A.txt && printf 2 >bad/a.txt
  printf 1 >bad/Tex/x.dds && printf 2 >bad/tex/x.dds
  run pack --id ABC -o bad.rigbox bad
  exists bad.rigbox

  echo "== names the installer takes for one"
  {
    printf 'RIGBOX\0\0\0\0\200\77'; le32 2 | head -c 2; le32 28; le32 203; printf ABC
    printf 12
    entry 1 26 'Tex' 'x.dds'; entry 1 27 'TEX' 'x.dds'
  } >cases.rigbox
  run verify cases.rigbox
  {
    printf 'RIGBOX\0\0\0\0\200\77'; le32 2 | head -c 2; le32 28; le32 203; printf ABC
    printf 12
    entry 1 26 '' 'Tex'; entry 1 27 'Tex' 'x.dds'
  } >file_and_folder.rigbox
  run verify file_and_folder.rigbox
  run sfx --stub stub.exe -o cases.exe cases.rigbox
  run extract cases.rigbox cases_out
  show cat cases_out/Tex/x.dds
  echo
  exists cases.exe

  echo "== symbolic links are followed, loops refused"
  mkdir -p real linked/sub && printf t >real/body.dds && printf c >linked/Cars.scr
  ln -s ../real linked/Tex && ln -s Cars.scr linked/PARTS.scr
  run pack --id ABC -o linked.rigbox linked
  run list linked.rigbox
  run sfx --stub stub.exe -o linked.exe linked.rigbox
  ln -s .. linked/sub/up
  run pack --id ABC -o loop.rigbox linked
  exists loop.rigbox

  echo "== outputs that are not regular files, and a car's own file, stay as they were"
  mkfifo odd_pipe && mknod odd_device c 1 3 && mkdir odd_folder
  # Both commands check the output alike: sfx once.
  run pack --id ABC -o odd_pipe car
  warnings=no run sfx --stub stub.exe --allow-missing-scripts -o odd_pipe car.rigbox
  for odd in odd_device odd_folder; do run pack --id ABC -o $odd car; done
  show stat -c '%n: %F' odd_pipe odd_device odd_folder
  run pack --id ABC -o car/Cars.scr car
  show cat car/Cars.scr
  echo
  warnings=no run pack --id ABC -o car/car.rigbox car
  warnings=no run pack --id ABC -o car/car.rigbox car
  rm car/car.rigbox

  echo "== sfx takes only what verify passes"
  { head -c 14 car.rigbox; le32 999; tail -c +19 car.rigbox; } >past_end.rigbox
  run verify past_end.rigbox
  run sfx --stub stub.exe -o past_end.exe past_end.rigbox
  with_id() { head -c 22 car.rigbox && printf %s "$1" && tail -c +26 car.rigbox; }
  with_id Z12 >z12.rigbox && with_id FOC >foc.rigbox
  run verify z12.rigbox
  run sfx --stub stub.exe -o foc.exe foc.rigbox
  exists past_end.exe foc.exe

  echo "== malformed packages write nothing"
  {
    printf 'RIGBOX\0\0\0\0\200\77'; le32 1 | head -c 2; le32 36; le32 123; printf ABC
    printf 0123456789
    entry 10 26 '..' 'evil.txt'
  } >dotdot.rigbox
  run verify dotdot.rigbox
  run extract dotdot.rigbox dotdot_out
  exists dotdot_out
  run list stub.exe
  run list missing.rigbox

  echo "== bad command lines"
  run frobnicate
  run pack --id ABCD -o x.rigbox car
  run pack --id ABC --flags 40000 -o x.rigbox car
  run pack --id ABC car
  run pack --id ABC -o x.rigbox
  run list --verbose car.rigbox
  run extract car.rigbox
  run sfx -o x.exe car.rigbox
  run sfx --for dos -o x.exe car.rigbox
  run pack --id ABC -o x.rigbox no_such_folder
}

# What only POSIX shows: Wine hides a link that leads nowhere and sees other
# links as what they lead to.
posix_transcript() {
  echo "== a link that leads nowhere, a link or a socket as the output"
  ln -s nowhere car/gone
  run pack --id ABC -o gone.rigbox car
  rm car/gone
  ln -s car.rigbox linked_out && python3 -c 'import socket; socket.socket(socket.AF_UNIX).bind("odd_socket")'
  run pack --id ABC -o linked_out car
  warnings=no run sfx --stub stub.exe --allow-missing-scripts -o linked_out car.rigbox
  run pack --id ABC -o odd_socket car
  show stat -c '%N: %F' linked_out odd_socket

  echo "== a failed write leaves the earlier output whole"
  printf 'MZ%04094d' 0 >big.exe && mkdir big_car && cp big.exe big_car/Cars.scr
  cp setup.exe setup_before.exe && cp tree.rigbox tree_before.rigbox
  warnings=no launcher=with_file_limit run sfx --stub big.exe --allow-missing-scripts -o setup.exe car.rigbox
  launcher=with_file_limit run pack --id A9_ -o tree.rigbox big_car
  show cmp setup.exe setup_before.exe
  show cmp tree.rigbox tree_before.rigbox
  exists setup.exe.part tree.rigbox.part
}
# Writes past 1 KiB fail (EFBIG) instead of ending the program.
with_file_limit() { (trap '' XFSZ && ulimit -f 1 && exec "$@"); }

compare() {  # compare TRANSCRIPT GOLDEN
  if [ "${UPDATE_GOLDEN:-}" = 1 ]; then
    "$1" >"$2" && echo "rewrote $2"
  else
    "$1" >"$1.txt"
    diff -u "$2" "$1.txt" || { echo "rigbox transcript differs from $2" >&2 && return 1; }
  fi
}
compare transcript "$golden" || exit 1
if [ -z "$wine" ]; then compare posix_transcript "${golden%.txt}_posix.txt" || exit 1; fi
[ "${UPDATE_GOLDEN:-}" = 1 ] && exit 0
# Only POSIX has an execute permission for the installer to take from its stub.
if [ -z "$wine" ] && [ "$(stat -c %A setup.exe)" != -rwxr-xr-x ]; then
  echo "setup.exe did not get the permissions of stub.exe" >&2
  exit 1
fi
