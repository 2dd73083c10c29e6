# quorvel's resources, read with wrestool and decoded: the templates of the zone dialog (129) and the About box (103).
source "$(dirname "$0")/lib.bash"
need wrestool
"$python" "$here/resources.py" dialogs "$exe" "$res_dir"
