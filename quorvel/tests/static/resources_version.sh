# quorvel's version record: decoded from the raw bytes, and read by exiftool.
source "$(dirname "$0")/lib.bash"
need wrestool exiftool
"$python" "$here/resources.py" version "$exe" "$res_dir" || failures=$((failures + 1))

tag() { exiftool -s3 -n "-$1" "$exe"; }
expect_eq "FileVersionNumber" "$(tag FileVersionNumber)" "1.1.0.9"
expect_eq "ProductVersionNumber" "$(tag ProductVersionNumber)" "1.1.0.9"
expect_eq "FileFlagsMask" "$(tag FileFlagsMask)" "23"
expect_eq "FileFlags" "$(tag FileFlags)" "0"
expect_eq "FileOS" "$(tag FileOS)" "4"
expect_eq "ObjectFileType" "$(tag ObjectFileType)" "1"
expect_eq "FileSubtype" "$(tag FileSubtype)" "0"
expect_eq "LanguageCode" "$(tag LanguageCode)" "0409"
expect_eq "CharacterSet" "$(tag CharacterSet)" "04B0"
expect_eq "FileVersion" "$(tag FileVersion)" "1, 1, 0, 9"
expect_eq "ProductVersion" "$(tag ProductVersion)" "1, 1, 0, 9"
expect_eq "OriginalFileName" "$(tag OriginalFileName)" "Quorvel.exe"
expect_eq "ProductName" "$(tag ProductName)" "Quorvel Time Zone Selector"
for t in CompanyName FileDescription InternalName LegalCopyright; do
  [ -n "$(tag "$t")" ] && echo "ok   $t" || fail "$t is empty"
done
[ "$failures" -eq 0 ]
