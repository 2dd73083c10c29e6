# quorvel's resources, read with wrestool and decoded: every type, name and language present and nothing else.
source "$(dirname "$0")/lib.bash"
need wrestool
"$python" "$here/resources.py" inventory "$exe" "$res_dir"
