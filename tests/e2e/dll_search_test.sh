#!/usr/bin/env bash
# Nothing planted beside the Windows programs, or in the folder they are
# started from, is loaded. Windows looks beside a program first for every
# DLL that is not a KnownDLL; Wine does so for the names told to prefer a
# native copy. A marker DLL under each name the system's own DLLs load by
# name must leave no mark: rigbox.exe, and an installer unattended and with
# its window open.
# Usage: dll_search_test.sh RIGBOX_EXTRACT RIGBOX WINE
# (in scripts/wine-env.sh's prefix, on its display; needs xdotool)
set -u
stub=$1 rigbox=$2 wine=$3
# shellcheck source=checks.sh
source "$(dirname "$0")/checks.sh"
# Not version: Wine's own USER32 imports it, so it loads before any program
# code runs; on Windows USER32 is a KnownDLL and imports only KnownDLLs.
names="uxtheme dwmapi cryptbase propsys profapi userenv winmm secur32 apphelp oleacc clbcatq setupapi"
bin=$work/windows marks=$work/marks  # "windows": the release bundle's layout, for sfx --for
mkdir -p "$bin" "$marks" "$work/car"

# Writes a file named after itself into the folder $RIGBOX_MARKS when loaded.
cat >"$work/marker.c" <<'EOF'
#include <string.h>
#include <windows.h>
BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
  char path[MAX_PATH * 2], name[MAX_PATH];
  if (reason == DLL_PROCESS_ATTACH && GetModuleFileNameA(self, name, MAX_PATH) &&
      GetEnvironmentVariableA("RIGBOX_MARKS", path, MAX_PATH)) {
    strcat(path, strrchr(name, '\\'));
    CloseHandle(CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
  }
  return TRUE;
}
void CALLBACK Nothing(HWND window, HINSTANCE instance, LPSTR line, int show) {}
EOF
i686-w64-mingw32-gcc -shared -s -Os -Wl,--kill-at -o "$work/marker.dll" "$work/marker.c" || exit 1
for name in $names; do cp "$work/marker.dll" "$bin/$name.dll"; done
cp "$stub" "$bin/rigbox-extract.exe" && cp "$rigbox" "$bin/rigbox.exe" || exit 1
cd "$bin" || exit 1
RIGBOX_MARKS=$(windows_path "$marks")
export RIGBOX_MARKS WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}${names// /,}=n,b"

unmarked() {  # unmarked RUN: no marker was loaded during RUN
  local found
  found=$(cd "$marks" && echo *.dll)
  rm -f "$marks"/*.dll
  check "$1 loads nothing planted (${found/\*.dll/none})" test "$found" = "*.dll"
}
run() { timeout 120 "$wine" "$@" </dev/null >"$work/out" 2>&1; }

run rundll32 "$(windows_path "$bin/uxtheme.dll"),Nothing"
check "a marker loaded on purpose leaves its mark" rm "$marks/uxtheme.dll"

run rigbox.exe --version
unmarked "rigbox.exe --version"
printf '// car\r\n' >"$work/car/Cars.scr"
run rigbox.exe pack --id AAA -o car.rigbox "$(windows_path "$work/car")" &&
  run rigbox.exe sfx --for windows --allow-missing-scripts -o install.exe car.rigbox && run rigbox.exe list install.exe
check "rigbox.exe packs, makes an installer and lists it" test $? -eq 0
unmarked "rigbox.exe pack, sfx and list"

game=$work/Gravelon
empty_game "$game"
run install.exe --silent --game-dir "$(windows_path "$game")"
check "the installer installs unattended" cmp -s "$work/car/Cars.scr" "$game/Data/Cars/AAA/Cars.scr"
unmarked "the unattended installer"

"$wine" install.exe </dev/null >"$work/out" 2>&1 &
window=$!
shown=false
for _ in $(seq 300); do
  xdotool search --onlyvisible --pid "$window" >"$work/window" 2>&1 && shown=true && break
  sleep 0.2
done
check "the installer's window comes up" $shown
sleep 1
kill "$window"
wait "$window"
unmarked "the installer with its window open"

checks_done
