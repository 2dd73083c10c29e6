# quorvel's resources, read with wrestool and decoded: blocks 7 and 8 of the 27 languages against the per-language sources.
source "$(dirname "$0")/../../../tests/common/static.bash"
need python3 wrestool
python3 "$here/resources.py" strings "$exe" "$res"
