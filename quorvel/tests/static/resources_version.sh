# quorvel's version record: decoded from the raw bytes, and read by exiftool.
source "$(dirname "$0")/../../../tests/common/static.bash"
need python3 wrestool exiftool
python3 "$here/resources.py" version "$exe" "$res" || failures=$((failures + 1))

tag() { exiftool -s3 -n "-$1" "$exe"; }
check_eq "FileVersionNumber" "$(tag FileVersionNumber)" "1.1.0.9"
check_eq "ProductVersionNumber" "$(tag ProductVersionNumber)" "1.1.0.9"
check_eq "FileFlagsMask" "$(tag FileFlagsMask)" "23"
check_eq "FileFlags" "$(tag FileFlags)" "0"
check_eq "FileOS" "$(tag FileOS)" "4"
check_eq "ObjectFileType" "$(tag ObjectFileType)" "1"
check_eq "FileSubtype" "$(tag FileSubtype)" "0"
check_eq "LanguageCode" "$(tag LanguageCode)" "0409"
check_eq "CharacterSet" "$(tag CharacterSet)" "04B0"
check_eq "FileVersion" "$(tag FileVersion)" "1, 1, 0, 9"
check_eq "ProductVersion" "$(tag ProductVersion)" "1, 1, 0, 9"
check_eq "OriginalFileName" "$(tag OriginalFileName)" "Quorvel.exe"
check_eq "ProductName" "$(tag ProductName)" "Quorvel Time Zone Selector"
for t in CompanyName FileDescription InternalName LegalCopyright; do
  [ -n "$(tag "$t")" ] && echo "ok   $t" || fail "$t is empty"
done
finish
