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
apt_get() { $SUDO apt-get -o DPkg::Lock::Timeout=900 "$@"; }
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
updated=no
update_once() {
  [ "$updated" = yes ] || apt_get update -qq
  updated=yes
}
install_missing() {
  local missing=() p
  for p; do installed "$p" || missing+=("$p"); done
  [ ${#missing[@]} -gt 0 ] || return 0
  echo "setup: installing ${missing[*]}"
  update_once
  apt_get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
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
install_missing "${i386_packages[@]}"

# Locales for the tests that start quorvel in other languages: Wine takes the user's language from
# LANG, and only when glibc has that locale (the `locales` package gives localedef).
for loc in en_US de_DE fr_FR ja_JP; do
  if ! locale -a 2>/dev/null | grep -qx "$loc.utf8"; then
    echo "setup: generating locale $loc.UTF-8"
    $SUDO localedef -i "$loc" -c -f UTF-8 "$loc.UTF-8"
  fi
done
