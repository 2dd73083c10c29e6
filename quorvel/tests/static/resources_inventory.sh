# quorvel's resources, read with wrestool and decoded: every type, name and language present and nothing else.
source "$(dirname "$0")/../../../tests/common/static.bash"
need python3 wrestool
python3 "$here/resources.py" inventory "$exe" "$res"
