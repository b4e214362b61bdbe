#!/usr/bin/env bash
# Signed Windows installers: osslsigncode with a self-signed certificate
# aligns the certificate table to 8 bytes, so 0-7 zero bytes end up between
# the trailer and the table. Eight consecutive package lengths cover every
# padding; each installer must be found by `rigbox verify` and, when a Wine
# loader is given, install unattended.
# Usage: signed_installers.sh STUB.EXE RIGBOX [WINE]
set -u
stub=$1
rigbox=$2
wine=${3:-}
# shellcheck source=checks.sh
source "$(dirname "$0")/checks.sh"

openssl req -x509 -newkey rsa:2048 -nodes -subj "/CN=Test car author" -days 2 \
  -keyout "$work/key.pem" -out "$work/cert.pem" >/dev/null 2>&1 || { echo "openssl failed" >&2; exit 1; }

game=$work/Gravelon
empty_game "$game"

paddings=""
for n in 0 1 2 3 4 5 6 7; do
  id=S0$n
  mkdir -p "$work/car-$n"
  head -c $((1000 + n)) /dev/zero | tr '\0' 'x' >"$work/car-$n/Cars.scr"
  "$rigbox" pack --id "$id" -o "$work/$n.rigbox" "$work/car-$n" >/dev/null &&
    "$rigbox" sfx --stub "$stub" --allow-missing-scripts --name "Car $id" -o "$work/unsigned-$n.exe" \
      "$work/$n.rigbox" >/dev/null || exit 1
  osslsigncode sign -certs "$work/cert.pem" -key "$work/key.pem" -n "Car $id" \
    -in "$work/unsigned-$n.exe" -out "$work/setup-$n.exe" >/dev/null || { echo "signing failed" >&2; exit 1; }
  osslsigncode verify -CAfile "$work/cert.pem" -in "$work/setup-$n.exe" >"$work/err" 2>&1
  check "package length $n: the rebuilt program's signature verifies" test $? -eq 0
  # Zero bytes the signature added before its table: the padding this length got.
  paddings+=" $(($(stat -c %s "$work/setup-$n.exe") - $(stat -c %s "$work/unsigned-$n.exe")))"
  "$rigbox" verify "$work/setup-$n.exe" >/dev/null 2>"$work/err"
  status=$?
  check "package length $n: rigbox verify finds the package $(cat "$work/err")" test $status -eq 0
  if [ -n "$wine" ]; then
    timeout 120 "$wine" "$work/setup-$n.exe" --silent --game-dir "Z:${game//\//\\}" </dev/null >/dev/null 2>&1
    check "package length $n: installs unattended" test $? -eq 0
    check "package length $n: the car's file" cmp -s "$work/car-$n/Cars.scr" "$game/Data/Cars/$id/Cars.scr"
  fi
done
# Eight lengths in a row must have met eight different paddings.
distinct=$(for size in $paddings; do echo $((size % 8)); done | sort -u | wc -l)
check "eight different paddings were met" test "$distinct" -eq 8

checks_done
