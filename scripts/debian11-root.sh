#!/usr/bin/env bash
# Debian 11 (bullseye, glibc 2.31) roots for the release's Linux programs,
# made with debootstrap from the archive the machine's apt sources use and
# kept between runs in /var/cache/rigbox-extract (or $RIGBOX_ROOT_CACHE):
#   debian11-root.sh build   the compiler, CMake, Ninja and FLTK of Debian 11,
#                            which the bundle's Linux programs are built with
#   debian11-root.sh run     a minimal system with only the libraries those
#                            programs need added: the oldest one they run on
# Each prints the root's folder. A root is made anew when its recipe below
# or the archive changed, and when it is over 30 days old.
#   debian11-root.sh exec ROOT DIR COMMAND...
# runs COMMAND in ROOT from DIR, which is mounted at the same path there, in
# a mount namespace of its own, so that nothing stays mounted. Needs root.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=apt-archive.sh
source "$here/apt-archive.sh"

# What the window links statically (fltk-config --ldstaticflags), and the
# launcher-file parsers (libyaml 0.2.2's static library, nlohmann-json
# 3.9.1) and the tool's SHA-256 (libmd's static library), as
# scripts/setup.sh installs them on Debian 12.
build_packages=(g++ cmake ninja-build libfltk1.3-dev libxft-dev libxinerama-dev libxcursor-dev libxfixes-dev
  libxext-dev libxrender-dev libfontconfig-dev libpng-dev zlib1g-dev libjpeg-dev libyaml-dev nlohmann-json3-dev libmd-dev)
# The libraries the programs name (NEEDED) besides the C library.
run_packages=(libx11-6 libxext6 libxft2 libxinerama1 libxcursor1 libxrender1 libxfixes3 libfontconfig1 libpng16-16)
cache=${RIGBOX_ROOT_CACHE:-/var/cache/rigbox-extract}

in_root() {  # in_root ROOT DIR COMMAND...: DIR may be empty
  local root=$1 dir=$2 made='' status=0
  shift 2
  # The folders made for the mount go again afterwards: the root stays as made.
  if [ -n "$dir" ] && [ ! -d "$root$dir" ]; then
    made=$dir
    while [ ! -d "$root$(dirname "$made")" ]; do made=$(dirname "$made"); done
    mkdir -p "$root$dir"
  fi
  # A clean environment: the host's compiler or locale settings stay out.
  unshare --mount --propagation private sh -c 'root=$1 dir=$2; shift 2
    { [ -z "$dir" ] || mount --bind "$dir" "$root$dir"; } && mount -t proc proc "$root/proc" &&
      exec chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
        sh -c "cd \"\$0\" && exec \"\$@\"" "${dir:-/}" "$@"' sh "$root" "$dir" "$@" || status=$?
  while [ -n "$made" ]; do
    rmdir "$root$dir"
    [ "$dir" != "$made" ] || break
    dir=$(dirname "$dir")
  done
  return $status
}

make_root() {  # make_root NAME PACKAGES...
  local name=$1 archive key root log
  shift
  archive=$(archive_of "$(. /etc/os-release && echo "$VERSION_CODENAME")" | head -n1)
  if [ -z "$archive" ]; then
    echo "debian11-root: no apt source found to take the archive address from" >&2
    return 1
  fi
  key=$(printf '%s\n' "$archive" "$*" "$(declare -f in_root make_root)" | sha256sum | cut -c1-12)
  root=$cache/debian11-$name-$key
  log=$cache/debian11-$name.log
  mkdir -p "$cache"
  exec 9>"$cache/.lock"
  flock 9
  if [ -f "$root/.made" ] && [ -z "$(find "$root/.made" -mtime +30)" ]; then
    echo "$root"
    return 0
  fi
  # Older recipes and roots left half-made by a run cut short go first.
  rm -rf "$cache/debian11-$name-"*
  echo "debian11-root: making the $name root in $root (log: $log)" >&2
  if ! { debootstrap --variant=minbase bullseye "$root" "$archive" &&
    in_root "$root" "" sh -c 'apt-get update && DEBIAN_FRONTEND=noninteractive \
      apt-get install -y --no-install-recommends "$@" && apt-get clean' sh "$@"; } >"$log" 2>&1; then
    tail -n 20 "$log" >&2
    echo "debian11-root: FAILED to make the $name root (log: $log)" >&2
    return 1
  fi
  touch "$root/.made"
  echo "$root"
}

case ${1:-} in
  build) make_root build "${build_packages[@]}" ;;
  run) make_root run "${run_packages[@]}" ;;
  exec)
    shift
    in_root "$@"
    ;;
  *)
    echo "usage: debian11-root.sh build | run | exec ROOT DIR COMMAND..." >&2
    exit 2
    ;;
esac
