# What the set-up makes of apt's output; sourced by scripts/setup.sh and by its test
# (tests/setup/apt_outcome.sh). Nothing here calls apt: each function reads a log of its output.
#
#   failed_index LOG        the first index or Release file apt could not fetch, and apt's words
#   registry_side LOG       true when that failure is the registry's own (a mirror in mid-sync, or
#                           a Release file dated ahead of this machine's clock)
#   loader_outcome UPDATE INSTALL
#                           when the 32-bit Wine loader could not be installed: "degraded: WORDS"
#                           only where the update failed on the registry's side and the install
#                           never reached dpkg; "failed: WORDS" otherwise

# apt's words for a failure the registry causes and mends by itself once it is whole again.
registry_patterns='File has unexpected size|Mirror sync in progress|Hash Sum mismatch|is not valid yet'

failed_index() {
  local line
  line=$(grep -m1 -E '^(E|W|Err):? ?.*(Failed to fetch|Release file for|is not valid yet)' "$1" || true)
  [ -n "$line" ] || line=$(grep -m1 -E '^E: ' "$1" || true)
  [ -n "$line" ] || return 1
  # "E: Failed to fetch URL  WORDS [IP: …]" or "E: Release file for URL is not valid yet (…). …"
  sed -E -e 's/^(E|W|Err):? ?//' -e 's/ *\[IP: [^]]*\]//' \
      -e 's/^Failed to fetch ([^ ]+) +/\1: /' -e 's/^Release file for ([^ ]+) /\1: /' <<<"$line"
}

registry_side() {
  grep -qE "$registry_patterns" "$1"
}

loader_outcome() {
  local update=$1 install=$2 words
  # dpkg ran, so the packages were there: what failed is the install, not the registry.
  if grep -qE '^dpkg: error|Sub-process /usr/bin/dpkg returned an error' "$install"; then
    echo "failed: $(grep -m1 -E '^dpkg: error|^E: ' "$install")"
    return
  fi
  if [ -s "$update" ] && registry_side "$update"; then
    words=$(failed_index "$update") || words=$(grep -m1 -E "$registry_patterns" "$update")
    echo "degraded: $words"
    return
  fi
  words=$(grep -m1 -E '^E: ' "$install" || true)
  echo "failed: ${words:-the install of the 32-bit Wine loader failed}"
}
