#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build and the tests need and is not there yet.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev googletest
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine64 fonts-wine xvfb xdotool x11-apps imagemagick
  liblnk-utils icoutils libimage-exiftool-perl
  locales file python3 procps
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Locales for the tests that start quorvel in other languages: Wine takes the user's language from
# LANG, and only when glibc has that locale (the `locales` package gives localedef).
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
for loc in en_US de_DE fr_FR ja_JP; do
  if ! locale -a 2>/dev/null | grep -qx "$loc.utf8"; then
    echo "setup: generating locale $loc.UTF-8"
    $SUDO localedef -i "$loc" -c -f UTF-8 "$loc.UTF-8"
  fi
done
