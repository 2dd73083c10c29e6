# quorvel's menu and accelerators, icons and manifest, read with wrestool and decoded.
source "$(dirname "$0")/../../../tests/common/static.bash"
need python3 wrestool
for check in menu icons manifest; do
  python3 "$here/resources.py" "$check" "$exe" "$res" || failures=$((failures + 1))
done
# The manifest as a second reader sees it, against the file the program was built from.
cmp <(wrestool -x --raw --type=24 --name=1 --language=1033 "$exe") "$res/quorvel.manifest" \
  || fail "manifest differs from quorvel.manifest"
finish
