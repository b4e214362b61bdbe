#!/usr/bin/env bash
# The Windows installer's window, rigbox-extract.exe under Wine on a virtual
# screen: a screenshot of each step, checked by geometry (from the window's
# model, tests/wizard/golden/main_window.txt) and pixel colour, and
# click-throughs with xdotool that install a car, answer the replace
# question and the close question, the keyboard's Enter and Escape among
# them, and a large car whose bar moves through the extraction. Screenshots go to artifacts/screenshots/windows/. The suite and the
# unattended mode of the same build are scripts/test-windows.sh's.
#
# What runs is the i686 build, as shipped, under the 32-bit Wine (through
# qemu-i386 where the kernel runs no 32-bit code; scripts/setup.sh sets that
# up). When 32-bit programs cannot run, nothing is tested and this fails.
#
# Environment: RIGBOX_WIN32_BUILD (the i686 build, default build-win32-gui,
# a folder of this script's own), RIGBOX_HOST_BUILD (the rigbox tool,
# default build-win32-gui-host).
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash scripts/setup.sh --windows >/dev/null || exit 1

# shellcheck source=wine-env.sh
source scripts/wine-env.sh || exit 1
trap rigbox_wine_cleanup EXIT

# --- Builds -----------------------------------------------------------------

configure_and_build() {  # DIR TOOLCHAIN TARGET...
  local dir=$1 toolchain=$2
  shift 2
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="cmake/$toolchain" -DCMAKE_BUILD_TYPE=MinSizeRel \
      -DRIGBOX_BUILD_TOOLS=OFF -DRIGBOX_WINE="$RIGBOX_WINE" >/dev/null || return 1
  fi
  cmake --build "$dir" --target "$@"
}

win_build=${RIGBOX_WIN32_BUILD:-build-win32-gui}
configure_and_build "$win_build" mingw-i686.cmake rigbox-extract || exit 1
host_build=${RIGBOX_HOST_BUILD:-build-win32-gui-host}
if [ ! -f "$host_build/build.ninja" ]; then
  cmake -S . -B "$host_build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRIGBOX_BUILD_TESTS=OFF \
    -DRIGBOX_BUILD_INSTALLER=OFF >/dev/null || exit 1
fi
cmake --build "$host_build" --target rigbox || exit 1

stub=$root/$win_build/src/frontends/win32/rigbox-extract.exe
rigbox=$root/$host_build/tools/rigbox/rigbox
rigbox_is_i386_program "$stub" || { echo "test-win32-gui: $stub is not a 32-bit x86 program" >&2; exit 1; }
rigbox_wine_ready || exit 1
echo "test-win32-gui: testing the i686 installer ($stub) under the 32-bit Wine, 32-bit x86 code $RIGBOX_I386_RUN"
shots=$root/artifacts/screenshots/windows
mkdir -p "$shots"
rm -f "$shots"/*.png
# shellcheck source=../tests/e2e/checks.sh
source tests/e2e/checks.sh
trap 'chmod -R u+w "$work"; rm -rf "$work"; rigbox_wine_cleanup' EXIT

# --- Fixtures ---------------------------------------------------------------


same_bytes() {  # same_bytes FILE EXPECTED-FILE
  cmp -s "$1" "$2" || {
    echo "--- $1 holds:"; od -c "$1" | head -20; echo "--- expected:"; od -c "$2" | head -20
    return 1
  }
}

# expect NAME LINE...: the expected content of a file, each line ended by
# CR LF, written from the lines as given (no escapes inside them).
expect() {
  local name=$1
  shift
  : >"$work/expect-$name"
  local line
  for line in "$@"; do printf '%s\r\n' "$line" >>"$work/expect-$name"; done
  echo "$work/expect-$name"
}

make_car() {  # make_car ID: the car's files and its installer install-ID.exe
  local id=$1 src=$work/src-${1//./dot}
  mkdir -p "$src/Textures"
  local kind
  for kind in Cars Parts Texts Icons; do printf '// %s %s\r\n' "$id" "$kind" >"$src/$kind.scr"; done
  head -c 40000 /dev/urandom >"$src/Textures/body.dds"
  "$rigbox" pack --id "$id" -o "$work/car.rigbox" "$src" >/dev/null &&
    "$rigbox" sfx --stub "$stub" -o "$work/install-${id//./dot}.exe" "$work/car.rigbox" >/dev/null
}

make_game() {  # make_game DIR: the game as shipped, one car of its own
  local game=$1 kind
  mkdir -p "$game/Data/Cars" "$game/Data/Menu/uidef"
  printf 'MZ' >"$game/Gravelon.exe"
  for kind in Cars Parts Texts Icons; do
    printf '%s\r\n\r\n' "!include(\"FOC\\\\$kind.scr\")" >"$game/Data/Cars/$kind.scr"
  done
  printf '%s\r\n' '!include("Menu\\Texts.scr")' >"$game/Data/Texts.scr"
  printf '%s' '// textures, last line without its end' >"$game/Data/Menu/uidef/Textures.def"
  chmod a-w "$game/Data/Cars/Cars.scr"  # shipped read-only: still gets its line
}

# The game folder the game recorded, in the 32-bit registry view.
register_game() {
  "$RIGBOX_WINE" reg add 'HKLM\Software\Brackmoor\Gravelon' /v DestinationDir /t REG_SZ /d "$1" /f /reg:32 \
    </dev/null >/dev/null 2>&1
}

# Bytes of the six scripts and the profile after cars were registered.
check_registered() {  # check_registered LABEL GAME ID...
  local label=$1 game=$2
  shift 2
  local kind id lines
  for kind in Cars Parts Texts Icons; do
    lines=("!include(\"FOC\\\\$kind.scr\")" "")
    for id in "$@"; do lines+=("!include(\"$id\\\\$kind.scr\")" ""); done
    check "$label: Data\\Cars\\$kind.scr" same_bytes "$game/Data/Cars/$kind.scr" "$(expect "$kind" "${lines[@]}")"
  done
  check "$label: Data\\Texts.scr" same_bytes "$game/Data/Texts.scr" \
    "$(expect texts '!include("Menu\\Texts.scr")' '' '// Created by Vehiforge' '!include("Cars\\Texts.scr")' '')"
  check "$label: Data\\Menu\\uidef\\Textures.def" same_bytes "$game/Data/Menu/uidef/Textures.def" \
    "$(expect textures '// textures, last line without its end' \
      '// --- Created by Vehiforge. Do not modyfy. ---' '!include("..\\..\\Cars\\Icons.scr")' '')"
  lines=("[Cars]" "CarsCount=$#")
  local n=1
  for id in "$@"; do lines+=("CarID$n=$id"); n=$((n + 1)); done
  check "$label: Vehiforge.ini" same_bytes "$game/Vehiforge.ini" "$(expect ini "${lines[@]}")"
}

snapshot() { (cd "$1" && find . -type f -print0 | sort -z | xargs -0 md5sum) >"$2"; }

make_car ABC || { echo "cannot make the installers" >&2; exit 1; }
make_car DEF || exit 1

# --- The window -------------------------------------------------------------

echo "== window"
# Positions at 96 dpi in the client area (15 twips a pixel), from the model.
model=tests/wizard/golden/main_window.txt
twips() {  # twips CONTROL FIELD(at or size) INDEX(1 or 2): a number of the model
  awk -v name="$1" -v field="$2" -v n="$3" '$1 == name {
    for (i = 2; i <= NF; i++) if (index($i, field "=") == 1) { split(substr($i, length(field) + 2), v, /[,x]/); print v[n] } }' "$model"
}
pixels() { echo $((($1 * 2 + 15) / 30)); }  # twips to pixels, halves up
client_width=$(pixels "$(twips frmMain size 1)")
client_height=$(pixels "$(twips frmMain size 2)")
nav_top=$(twips picNav at 2)
declare -A button_left
i=0
for name in Help Cancel Back Next Finish; do
  button_left[$name]=$(pixels "$(twips "cmdNav($i)" at 1)")
  i=$((i + 1))
done
button_width=$(pixels "$(twips "cmdNav(1)" size 1)")
button_top=$(pixels $((nav_top + $(twips "cmdNav(1)" at 2))))
button_bottom=$((button_top + $(pixels "$(twips "cmdNav(1)" size 2)")))  # first row below
strip_bottom=$(pixels $(($(twips picTitle at 2) + $(twips picTitle size 2))))  # first row below the strip
separator_row=$(pixels "$nav_top")  # grey; the white line lies one row below
logo_x=$(pixels $(($(twips picTitle at 1) + $(twips imgGV at 1))))
echo "model at 96 dpi: client ${client_width}x$client_height, buttons at $button_top, separator at $separator_row"

# Colours of a rectangle of an image, one "R,G,B" line per pixel, rows
# top to bottom.
colours() {  # colours IMAGE X Y WIDTH HEIGHT
  convert "$1" -crop "$4x$5+$2+$3" +repage -depth 8 txt:- |
    sed -n 's/^[0-9]*,[0-9]*: *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'
}
px() { colours "$1" "$2" "$3" 1 1; }  # px IMAGE X Y
# Dark pixels (text) inside a button: its caption is black when enabled,
# grey when disabled.
caption_ink() {  # caption_ink IMAGE BUTTON
  local x=$((button_left[$2] + 3))
  convert "$1" -crop "$((button_width - 6))x15+$x+$((button_top + 3))" +repage \
    -fx '(r<0.35&&g<0.35&&b<0.35)?1:0' -format '%[fx:int(mean*w*h+0.5)]' info:
}
enabled() { [ "$(caption_ink "$1" "$2")" -gt 10 ]; }
disabled() { [ "$(caption_ink "$1" "$2")" -eq 0 ]; }

window_id() {  # window_id TITLE-REGEX: the visible window with that title
  xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1
}
wait_window() {  # wait_window TITLE-REGEX: its id once shown (60 s at most)
  local id i
  for i in $(seq 1 240); do
    id=$(window_id "$1")
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.25
  done
  return 1
}
wait_gone() {  # wait_gone TITLE-REGEX
  local i
  for i in $(seq 1 80); do
    [ -z "$(window_id "$1")" ] && return 0
    sleep 0.25
  done
  return 1
}
shoot() {  # shoot WINDOW FILE: the window's client area as on screen
  local X Y WIDTH HEIGHT WINDOW SCREEN
  eval "$(xdotool getwindowgeometry --shell "$1")"
  import -window root "$work/screen.png"
  convert "$work/screen.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$2"
}
# A screenshot the same as one taken just before: while a window is still
# being painted (slow where 32-bit code is emulated) parts of it are black.
shoot_settled() {  # shoot_settled WINDOW FILE
  shoot "$1" "$work/settling.png"
  sleep 0.5
  shoot "$1" "$2"
  [ "$(compare -metric AE "$work/settling.png" "$2" null: 2>&1)" = 0 ]
}
# Takes screenshots until predicate holds for a settled one (a minute at
# most).
wait_state() {  # wait_state WINDOW FILE PREDICATE...
  local window=$1 file=$2 i
  shift 2
  for i in $(seq 1 40); do
    shoot_settled "$window" "$file" && "$@" "$file" && return 0
    sleep 0.5
  done
  return 1
}
step_game_folder() { enabled "$1" Cancel && disabled "$1" Back && enabled "$1" Next && disabled "$1" Finish; }
step_ready() { enabled "$1" Cancel && enabled "$1" Back && enabled "$1" Next && disabled "$1" Finish; }
step_finished() { disabled "$1" Cancel && disabled "$1" Back && disabled "$1" Next && enabled "$1" Finish; }

# The layout seen in a screenshot of the window.
check_geometry() {  # check_geometry IMAGE
  local image=$1 label
  label=$(basename "$1" .png)
  check "$label: client area ${client_width}x$client_height" \
    test "$(identify -format '%wx%h' "$image")" = "${client_width}x$client_height"
  local face edge
  face=$(px "$image" 2 150)
  # Down the column between the subtitle and the logo: white strip, its
  # edge, then the dialog colour from row 65 on.
  edge=$(colours "$image" 345 0 1 120 | grep -n -x -m1 -F "$face" | cut -d: -f1)
  check "$label: title strip ends at $strip_bottom" test "$((edge - 1))" -eq $strip_bottom
  check "$label: title strip is white" test "$(px "$image" 345 0),$(px "$image" 345 60)" = "255,255,255,255,255,255"
  check "$label: logo at its natural size" \
    test "$(convert "$image" -crop "110x60+$logo_x+0" +repage - | compare -metric AE - resources/logo.png null: 2>&1)" = 0
  check "$label: etched separator" test "$(px "$image" 240 $((separator_row - 1)))/$(px "$image" 240 $separator_row)/$(
    px "$image" 240 $((separator_row + 1)))/$(px "$image" 240 $((separator_row + 2)))" = \
    "$face/128,128,128/255,255,255/$face"
  local name left right middle
  for name in Cancel Back Next Finish; do
    left=${button_left[$name]}
    right=$((left + button_width - 1))
    middle=$((left + button_width / 2))
    check "$label: $name's edges" test "$(px "$image" $left 286)" != "$face" -a "$(px "$image" $right 286)" != "$face" \
      -a "$(px "$image" $middle $button_top)" != "$face" -a "$(px "$image" $middle $((button_bottom - 1)))" != "$face"
    check "$label: $name's surroundings" test "$(px "$image" $middle $((button_top - 1)))" = "$face" \
      -a "$(px "$image" $middle $button_bottom)" = "$face"
  done
  # Back and Next touch; Cancel and Finish stand free.
  check "$label: left of Cancel" test "$(px "$image" $((button_left[Cancel] - 1)) 286)" = "$face"
  check "$label: right of Cancel" test "$(px "$image" $((button_left[Cancel] + button_width)) 286)" = "$face"
  check "$label: left of Finish" test "$(px "$image" $((button_left[Finish] - 1)) 286)" = "$face"
  check "$label: right of Finish" test "$(px "$image" $((button_left[Finish] + button_width)) 286)" = "$face"
  check "$label: right of Next" test "$(px "$image" $((button_left[Next] + button_width)) 286)" = "$face"
  check "$label: no Help button" test "$(px "$image" 8 286),$(px "$image" 44 276),$(px "$image" 80 296)" = \
    "$face,$face,$face"
}

title='^RIGBOX Extract \(Vehiforge 0\.96a\)$'
start_window() {  # start_window INSTALLER [ARGS...]: starts it; then wait_window "$title"
  rm -f "$work/gui-status"
  (timeout 300 "$RIGBOX_WINE" "$@" </dev/null >/dev/null 2>&1; echo $? >"$work/gui-status") >/dev/null 2>&1 &
}
wait_exit() {  # wait_exit: the program's exit status once it ended
  local i
  for i in $(seq 1 80); do
    [ -s "$work/gui-status" ] && { cat "$work/gui-status"; return 0; }
    sleep 0.25
  done
  echo timeout
}
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }
click_button() { click "$1" $((button_left[$2] + button_width / 2)) 286; }
press() { timeout 10 xdotool windowfocus --sync "$1" && xdotool key "${@:2}"; }  # press WINDOW KEY...
answer_with_return() {  # answer_with_return TITLE-REGEX [KEY...]: the keys, then Return in the box
  local box
  box=$(wait_window "$1") && timeout 10 xdotool windowfocus --sync "$box" && xdotool key "${@:2}" Return &&
    wait_gone "$1"
}

gui_game=$work/Games/Gui
make_game "$gui_game"
register_game "$(windows_path "$gui_game")\\"

# A new car: Next, Next, Finish.
start_window "$work/install-ABC.exe"
if window=$(wait_window "$title"); then
  check "step 0 shown" wait_state "$window" "$shots/01-game-folder.png" step_game_folder
  check_geometry "$shots/01-game-folder.png"
  click_button "$window" Next
  check "Next leads to the ready step" wait_state "$window" "$shots/02-ready.png" step_ready
  check_geometry "$shots/02-ready.png"
  click_button "$window" Next
  check "Next runs the installation" wait_state "$window" "$shots/03-finished.png" step_finished
  check_geometry "$shots/03-finished.png"
  check "progress bar full" test "$(px "$shots/03-finished.png" 36 228)" = "$(px "$shots/03-finished.png" 444 228)" \
    -a "$(px "$shots/03-finished.png" 36 228)" != "$(px "$shots/03-finished.png" 2 150)"
  click_button "$window" Finish
  check "Finish ends the program with 0" test "$(wait_exit)" = 0
  check_registered "window install" "$gui_game" ABC
  check "window install: car's files" cmp -s "$work/src-ABC/Textures/body.dds" "$gui_game/Data/Cars/ABC/Textures/body.dds"
else
  check "window shown" false
fi

# The same car again, by the keyboard: Enter presses Next, the replace
# question is answered OK, then Enter presses Next and Finish.
printf 'changed' >"$gui_game/Data/Cars/ABC/Cars.scr"
start_window "$work/install-ABC.exe"
if window=$(wait_window "$title"); then
  wait_state "$window" "$work/shot.png" step_game_folder
  press "$window" Return
  if box=$(wait_window '^Warning$'); then
    wait_state "$box" "$shots/04-replace-question.png" true
    check "replace question answered" answer_with_return '^Warning$'
  else
    check "replace question shown" false
  fi
  check "OK leads to the ready step" wait_state "$window" "$shots/05-ready-after-replace.png" step_ready
  press "$window" Return
  check "the run finishes" wait_state "$window" "$shots/06-replaced.png" step_finished
  press "$window" Return
  check "Finish ends the program with 0" test "$(wait_exit)" = 0
  check "replaced car's files" cmp -s "$work/src-ABC/Cars.scr" "$gui_game/Data/Cars/ABC/Cars.scr"
  check_registered "after replacing in the window" "$gui_game" ABC
else
  check "window shown again" false
fi

# Started with a file dropped onto it, the installer opens its window all
# the same. Escape asks "Are you sure?", No keeps it; so does Cancel, and
# Yes (the question's default button) ends it.
snapshot "$gui_game" "$work/before"
start_window "$work/install-DEF.exe" 'C:\Users\player\car.rigbox'
if window=$(wait_window "$title"); then
  wait_state "$window" "$work/shot.png" step_game_folder
  press "$window" Escape
  check "Escape asks the close question, answered No" answer_with_return '^RIGBOX Extract$' Tab
  click_button "$window" Cancel
  if box=$(wait_window '^RIGBOX Extract$'); then
    wait_state "$box" "$shots/07-close-question.png" true
    check "close question answered" answer_with_return '^RIGBOX Extract$'
  else
    check "close question shown" false
  fi
  check "Yes ends the program with 8, nothing installed" test "$(wait_exit)" = 8
  snapshot "$gui_game" "$work/after"
  check "cancelled wizard wrote nothing" cmp -s "$work/before" "$work/after"
else
  check "window shown for cancelling" false
fi

# A large car's extraction moves the bar: while the second of its two large
# files waits to be created (strace holds the wineserver's open for 6 s),
# the bar shows the first one's share of the bytes, two thirds of the bar.
fill_between() {  # fill_between LOW HIGH IMAGE: where the bar's filled part ends, in hundredths of the bar
  local fill ends
  fill=$(px "$3" 36 228)
  ends=$(colours "$3" 36 228 409 1 | awk -v fill="$fill" '$0 == fill { last = NR - 1 } END { print last + 0 }')
  [ $((ends * 100 / 408)) -ge "$1" ] && [ $((ends * 100 / 408)) -le "$2" ]
}
large=$work/src-LRG
mkdir -p "$large/Textures"
for kind in Cars Parts Texts Icons; do printf '// LRG %s\r\n' "$kind" >"$large/$kind.scr"; done
head -c 16777216 /dev/urandom >"$large/Textures/1.dds"
head -c 16777216 /dev/urandom >"$large/Textures/2.dds"
"$rigbox" pack --id LRG -o "$work/large.rigbox" "$large" >/dev/null &&
  "$rigbox" sfx --stub "$stub" -o "$work/install-LRG.exe" "$work/large.rigbox" >/dev/null || exit 1
large_game=$work/Games/Large
make_game "$large_game"
server=
for pid in $(pgrep wineserver); do
  tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && server=$pid
done
held=$large_game/Data/Cars/LRG/Textures/2.dds
# The wineserver opens files for Wine's programs, by way of the drive's link.
strace -p "$server" -qq -o "$work/strace.txt" -e trace=open,openat -e inject=open,openat:delay_enter=6000000:when=1 \
  -P "$WINEPREFIX/dosdevices/z:$held" &
tracer=$!
sleep 1
start_window "$work/install-LRG.exe" --game-dir "$(windows_path "$large_game")"
if window=$(wait_window "$title"); then
  wait_state "$window" "$work/shot.png" step_game_folder
  click_button "$window" Next
  wait_state "$window" "$work/shot.png" step_ready
  click_button "$window" Next
  check "the bar at the first file's share mid-run" wait_state "$window" "$shots/08-extracting.png" fill_between 60 70
  check "the large car's run finishes" wait_state "$window" "$work/shot.png" step_finished
  click_button "$window" Finish
  check "Finish ends the program with 0" test "$(wait_exit)" = 0
else
  check "window shown for the large car" false
fi
kill "$tracer"
wait "$tracer"

echo "test-win32-gui: $passes passed, $failures failed (screenshots in $shots)"
[ $failures -eq 0 ]
