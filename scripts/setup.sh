#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build and the tests need and is not there yet, and
# makes the 32-bit Windows programs runnable under Wine. Safe to run again: each step checks first,
# and the emulator's registration (gone after a reboot) is made again when it is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev googletest
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine64 fonts-wine fonts-vlgothic xvfb xdotool x11-apps imagemagick
  liblnk-utils icoutils libimage-exiftool-perl
  locales file python3 procps
  wixl msitools openssl
)
# From bookworm-backports: bookworm's qemu starts each 32-bit Wine process about 50 s late (its
# loader probes the address space with tens of thousands of mmap calls); 10.0 takes well under 1 s.
# osslsigncode signs the release; 2.x also extracts and attaches a signature alone.
backports=(qemu-user-static osslsigncode)
# The 32-bit Wine loader; it runs under the emulator, as this kernel runs no 32-bit code itself.
i386_packages=(wine32:i386)

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
here=$(cd "$(dirname "$0")" && pwd)
source "$here/apt-outcome.bash"
# Where the 32-bit Wine tests cannot run, the reason, for scripts/test.sh and scripts/wine-run.
record=$here/../build/wine32-unavailable
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
: "${SETUP_RETRY_SECONDS:=60}"

apt_get() { $SUDO apt-get -o DPkg::Lock::Timeout=900 "$@"; }
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
updated=no
# A registry in mid-sync mends itself within minutes: three tries, a minute apart. Then apt goes on
# with the indexes it has kept; $logs/update holds what the last failed try said.
update_once() {
  [ "$updated" = yes ] && return 0
  updated=yes
  local try
  for try in 1 2 3; do
    if apt_get update -qq >"$logs/update" 2>&1 && ! grep -qE '^(E|W): Failed to fetch' "$logs/update"; then
      : >"$logs/update"
      return 0
    fi
    [ "$try" -eq 3 ] || sleep "$SETUP_RETRY_SECONDS"
  done
  echo "setup: apt-get update failed 3 times, going on with the indexes apt kept: $(failed_index "$logs/update" || tail -n 1 "$logs/update")"
}
install_missing() {
  local missing=() p
  for p; do installed "$p" || missing+=("$p"); done
  [ ${#missing[@]} -gt 0 ] || return 0
  echo "setup: installing ${missing[*]}"
  update_once
  apt_get install -y -qq --no-install-recommends "${missing[@]}" >"$logs/install" 2>&1 ||
    { cat "$logs/install" >&2; return 1; }
}

install_missing "${packages[@]}"

list=/etc/apt/sources.list.d/bookworm-backports.sources
if ! grep -rqs 'bookworm-backports' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  echo "setup: adding bookworm-backports"
  $SUDO tee "$list" >/dev/null <<'SOURCES'
Types: deb
URIs: http://deb.debian.org/debian
Suites: bookworm-backports
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
  updated=no
fi
# A backported package is installed over an older one (bookworm's own, say).
for p in "${backports[@]}"; do
  if ! dpkg-query -W -f='${Version}' "$p" 2>/dev/null | grep -q '~bpo12'; then
    echo "setup: installing $p from bookworm-backports"
    update_once
    apt_get install -y -qq --no-install-recommends -t bookworm-backports "$p" >/dev/null
  fi
done

# i386 ELF files run through qemu's user-mode emulator, registered with binfmt_misc. Debian's
# package leaves i386 out on amd64 hosts (such hosts usually run it natively); without systemd the
# registration is lost at each reboot. F: the emulator is opened now, so it works in any root.
binfmt=/proc/sys/fs/binfmt_misc
[ -e "$binfmt/register" ] || $SUDO mount -t binfmt_misc binfmt_misc "$binfmt"
qemu=$(command -v qemu-i386-static || command -v qemu-i386)
if ! grep -qs '^enabled' "$binfmt/qemu-i386"; then
  echo "setup: registering $qemu for i386 programs"
  [ -e "$binfmt/qemu-i386" ] && echo -1 | $SUDO tee "$binfmt/qemu-i386" >/dev/null
  printf '%s' ":qemu-i386:M::\\x7fELF\\x01\\x01\\x01\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x00\\x02\\x00\\x03\\x00:\\xff\\xff\\xff\\xff\\xff\\xfe\\xfe\\x00\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xff\\xfe\\xff\\xff\\xff:$qemu:F" |
    $SUDO tee "$binfmt/register" >/dev/null
fi

# Only now: some i386 packages run i386 programs while they are installed.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "setup: adding the i386 architecture"
  $SUDO dpkg --add-architecture i386
  updated=no
fi
if install_missing "${i386_packages[@]}"; then
  rm -f "$record"
else
  # Everything else is installed by now; a loader that the registry keeps back is the one failure
  # that lets the rest of the tests run, each 32-bit Wine test counted as skipped.
  outcome=$(loader_outcome "$logs/update" "$logs/install")
  case "$outcome" in
    degraded:*)
      mkdir -p "$(dirname "$record")"
      echo "${outcome#degraded: }" >"$record"
      echo "setup: the 32-bit Wine tests cannot run: ${outcome#degraded: }"
      echo "setup: they are skipped until the registry is whole again; run scripts/setup.sh then" ;;
    *) echo "setup: ${outcome#failed: }" >&2; exit 1 ;;
  esac
fi

# Locales for the tests that start quorvel in other languages: Wine takes the user's language from
# LANG, and only when glibc has that locale (the `locales` package gives localedef).
for loc in en_US de_DE fr_FR ja_JP; do
  if ! locale -a 2>/dev/null | grep -qx "$loc.utf8"; then
    echo "setup: generating locale $loc.UTF-8"
    $SUDO localedef -i "$loc" -c -f UTF-8 "$loc.UTF-8"
  fi
done
