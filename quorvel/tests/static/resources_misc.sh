# quorvel's menu and accelerators, icons and manifest, read with wrestool and decoded.
source "$(dirname "$0")/lib.bash"
need wrestool
for check in menu icons manifest; do
  "$python" "$here/resources.py" "$check" "$exe" "$res_dir" || failures=$((failures + 1))
done
# The manifest as a second reader sees it, against the file the program was built from.
cmp <(wrestool -x --raw --type=24 --name=1 --language=1033 "$exe") "$res_dir/quorvel.manifest" \
  || fail "manifest differs from quorvel.manifest"
[ "$failures" -eq 0 ]
