# shellcheck shell=bash
# Sourced, not run: prepares the 32-bit Wine for the Windows builds and
# their tests.
#
#   source scripts/wine-env.sh      # then: build, rigbox_wine_ready, test,
#                                   # and rigbox_wine_cleanup when done
#
# Starts a virtual display (Xvfb on a free display number) and one
# persistent wineserver, and starts making a fresh 32-bit prefix. Every Wine
# process started before the server would fix the display and leak its
# helpers onto the caller's pipes (each call then takes seconds, and CTest
# can hang), so the order here matters.
#
# Exports WINEARCH, WINEPREFIX, WINEDEBUG, WINEDLLOVERRIDES, DISPLAY, the
# locale (C.UTF-8, whatever the caller's), and
#   RIGBOX_WINE       the 32-bit loader that runs a Windows program: "$RIGBOX_WINE" x.exe
#   RIGBOX_I386_RUN   how this machine runs 32-bit x86 code, for the logs
# Honours RIGBOX_WINE_DIR (where the prefix goes; default a new folder under
# /tmp). Fails, saying so, when this machine cannot run 32-bit programs:
# scripts/setup.sh --windows makes it able to where the kernel cannot.

# True when the machine executes 32-bit x86 programs, as the 32-bit Wine
# loader is one.
rigbox_can_run_32bit() {
  [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

# True when FILE is a Windows program for 32-bit x86 (machine type 0x14c
# in its PE header): the kind players run.
rigbox_is_i386_program() {  # rigbox_is_i386_program FILE
  local header
  header=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ') &&
    [ -n "$header" ] && [ "$(od -An -tx2 -j$((header + 4)) -N2 "$1" 2>/dev/null | tr -d ' ')" = 014c ]
}

rigbox_wine_cleanup() {
  if [ -n "${WINEPREFIX:-}" ] && command -v wineserver >/dev/null 2>&1; then
    wineserver -k </dev/null >/dev/null 2>&1 || true
  fi
  if [ -n "${RIGBOX_XVFB_PID:-}" ]; then
    kill "$RIGBOX_XVFB_PID" 2>/dev/null || true
    wait "$RIGBOX_XVFB_PID" 2>/dev/null || true
    RIGBOX_XVFB_PID=
  fi
  if [ -n "${RIGBOX_WINE_TEMP:-}" ]; then
    rm -rf "$RIGBOX_WINE_TEMP"
    RIGBOX_WINE_TEMP=
  fi
}

rigbox_wine_setup() {
  local dir=${RIGBOX_WINE_DIR:-}
  if [ -z "$dir" ]; then
    RIGBOX_WINE_TEMP=$(mktemp -d /tmp/rigbox-wine.XXXXXX)
    dir=$RIGBOX_WINE_TEMP
  fi
  mkdir -p "$dir"

  if ! rigbox_can_run_32bit; then
    if [ -x /usr/lib/wine/wine ]; then
      echo "wine-env: this machine cannot run 32-bit x86 programs: the 32-bit Windows build is NOT executed" \
        "(as root, bash scripts/setup.sh --windows sets up qemu-i386 for it)" >&2
    else
      echo "wine-env: the 32-bit Wine (wine32:i386) is missing: the 32-bit Windows build is NOT executed" >&2
    fi
    rigbox_wine_cleanup
    return 1
  fi
  if [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ] && grep -qx enabled /proc/sys/fs/binfmt_misc/qemu-i386; then
    RIGBOX_I386_RUN="emulated by qemu-i386 through binfmt_misc"
  else
    RIGBOX_I386_RUN="native"
  fi
  # The loader itself, not the wrapper: that one falls back to the 64-bit
  # loader when the 32-bit Wine is missing.
  export RIGBOX_WINE=/usr/lib/wine/wine RIGBOX_I386_RUN
  export WINEARCH=win32
  export WINEPREFIX="$dir/prefix-$WINEARCH"
  # Wine takes its code pages and the user's language from the locale: a
  # known one, as a root shell on a bare machine has none.
  export LANG=C.UTF-8 LC_ALL=C.UTF-8
  unset LANGUAGE
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="

  # Xvfb picks a free display itself and writes its number to the file.
  local displayFile="$dir/display"
  : >"$displayFile"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset \
    3>"$displayFile" </dev/null >/dev/null 2>&1 &
  RIGBOX_XVFB_PID=$!
  local tries=0
  while [ ! -s "$displayFile" ]; do
    tries=$((tries + 1))
    if [ $tries -gt 100 ] || ! kill -0 "$RIGBOX_XVFB_PID" 2>/dev/null; then
      echo "wine-env: Xvfb did not start" >&2
      rigbox_wine_cleanup
      return 1
    fi
    sleep 0.1
  done
  DISPLAY=":$(head -n1 "$displayFile")"
  export DISPLAY

  mkdir -p "$WINEPREFIX"
  wineserver -p </dev/null >/dev/null 2>&1
  # The prefix is made in the background: half a minute when 32-bit code is
  # emulated, which the caller can spend building.
  "$RIGBOX_WINE" wineboot -i </dev/null >/dev/null 2>&1 &
  RIGBOX_WINEBOOT_PID=$!
}

# Waits until the prefix is made; call it before the first Windows program.
rigbox_wine_ready() {
  [ -n "${RIGBOX_WINEBOOT_PID:-}" ] || return 0
  local pid=$RIGBOX_WINEBOOT_PID
  RIGBOX_WINEBOOT_PID=
  wait "$pid" || {
    echo "wine-env: wineboot failed in $WINEPREFIX" >&2
    return 1
  }
  # Debian's Wine does not look for its own fonts (fonts-wine) where the
  # package puts them; the window's face, MS Sans Serif, is one of them.
  local font
  for font in /usr/share/wine/fonts/sserif*.fon; do
    if [ -e "$font" ]; then ln -sf "$font" "$WINEPREFIX/drive_c/windows/Fonts/"; fi
  done
}

rigbox_wine_setup
