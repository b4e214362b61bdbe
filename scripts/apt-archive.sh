# shellcheck shell=bash
# Sourced by the scripts that fetch from Debian's archive.
# The address of the Debian archive that apt already uses for SUITE, from
# deb822 files or one-line sources, so that no mirror is hard-wired here.
# Prints nothing, with status 0, when no source has it.
archive_of() {  # archive_of SUITE
  local file
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    awk -v suite="$1" '
      function stanza_end() { if (deb && on && hit && uri != "") { print uri; uri = ""; exit } deb = hit = 0; on = 1; uri = "" }
      BEGIN { on = 1 }
      /^[ \t]*$/ { stanza_end(); next }
      tolower($1) == "types:" { for (i = 2; i <= NF; i++) if ($i == "deb") deb = 1 }
      tolower($1) == "uris:" { uri = $2 }
      tolower($1) == "suites:" { for (i = 2; i <= NF; i++) if ($i == suite) hit = 1 }
      tolower($1) == "enabled:" { on = (tolower($2) != "no") }
      END { stanza_end() }' "$file"
  done
  cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
    sed 's/\[[^]]*\]//' | awk -v suite="$1" '$1 == "deb" && $3 == suite { print $2 }' || true
}
