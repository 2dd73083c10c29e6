#!/usr/bin/env bash
# The set-up's reading of apt's output (scripts/apt-outcome.bash), fed with recorded outputs
# (apt/*.log): only a registry in mid-sync, or a Release file dated ahead, lets a missing 32-bit
# Wine loader count as skipped; a package apt cannot find or resolve without such a failure, and
# any install that reached dpkg, fail the set-up.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/apt-outcome.bash"
apt=$here/apt
failures=0

check() {  # label got want
  if [ "$2" == "$3" ]; then echo "ok   $1"; else echo "FAIL $1: got '$2', want '$3'"; failures=$((failures + 1)); fi
}

size='http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz: File has unexpected size (374820 != 376004). Mirror sync in progress?'
hash='http://deb.debian.org/debian/dists/bookworm/main/binary-i386/Packages.xz: Hash Sum mismatch'
early='http://deb.debian.org/debian/dists/bookworm-updates/InRelease: is not valid yet (invalid for another 2h 13min 5s). Updates for this repository will not be applied.'
offline="http://deb.debian.org/debian/dists/bookworm/InRelease: Temporary failure resolving 'deb.debian.org'"

# update log | install log | outcome
while IFS='|' read -r update install want; do
  check "$update + $install" "$(loader_outcome "$apt/$update" "$apt/$install")" "$want"
done <<ROWS
unexpected_size.log|unmet.log|degraded: $size
hash_sum.log|unmet.log|degraded: $hash
not_valid_yet.log|unmet.log|degraded: $early
unexpected_size.log|not_found.log|degraded: $size
unexpected_size.log|dpkg_error.log|failed: dpkg: error processing package libwine:i386 (--configure):
hash_sum.log|dpkg_error.log|failed: dpkg: error processing package libwine:i386 (--configure):
no_network.log|unmet.log|failed: E: Unable to correct problems, you have held broken packages.
empty.log|unmet.log|failed: E: Unable to correct problems, you have held broken packages.
empty.log|not_found.log|failed: E: Unable to locate package wine32:i386
empty.log|dpkg_error.log|failed: dpkg: error processing package libwine:i386 (--configure):
empty.log|empty.log|failed: the install of the 32-bit Wine loader failed
ROWS

# The line the set-up prints for an update that still fails after its tries.
check "failed index: unexpected size" "$(failed_index "$apt/unexpected_size.log")" "$size"
check "failed index: not valid yet" "$(failed_index "$apt/not_valid_yet.log")" "$early"
check "failed index: no network" "$(failed_index "$apt/no_network.log")" "$offline"
failed_index "$apt/empty.log" >/dev/null && check "failed index: a clean update" "some index" "none"

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "all checks passed"
