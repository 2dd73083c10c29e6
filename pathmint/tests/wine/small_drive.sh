#!/usr/bin/env bash
# A small drive for the Wine tests of a build tree: a tmpfs of 64 KiB mounted below its Wine folder
# and mapped as drive T: of its prefix (mount), then removed again (unmount).
#   small_drive.sh mount|unmount BUILD_DIR
# Where mounting is refused there is no drive T:: the tests skip its cases with the reason, and
# this step still passes.
set -u
action=$1
root=$(readlink -f "$2")/wine
point=$root/small-drive
drive=$root/prefix/dosdevices/t:

case $action in
  mount)
    rm -f "$drive"
    mkdir -p "$point"
    if ! mountpoint -q "$point" &&
      ! mount -t tmpfs -o size=64k,mode=0777 pathmint-small "$point"; then
      echo "small drive: the tmpfs could not be mounted; no drive T:"
      exit 0
    fi
    ln -s "$point" "$drive"
    ;;
  unmount)
    rm -f "$drive"
    if mountpoint -q "$point"; then umount "$point"; fi
    rmdir "$point" 2>/dev/null || true
    ;;
  *)
    echo "usage: small_drive.sh mount|unmount BUILD_DIR" >&2
    exit 2
    ;;
esac
