# quorvel's resources, read with wrestool and decoded: the templates of the zone dialog (129) and the About box (103).
source "$(dirname "$0")/../../../tests/common/static.bash"
need python3 wrestool
python3 "$here/resources.py" dialogs "$exe" "$res"
