# What the end-to-end scripts share: a scratch folder removed on exit
# ($work), named checks counted and summed up, Windows paths.
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
checks_done() {
  echo "$passes passed, $failures failed"
  test "$failures" -eq 0
}
