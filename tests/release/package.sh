# The package target writes the release zip, named with the version; the zip holds exactly the
# programs as built, the licence, the user's README and SHA256SUMS, which verifies and covers
# every other file. Beside it the installer package, read back with msiinfo: the same files, per
# machine, the release's upgrade code, the two features, the shortcut in the Startup folder.
# Usage: package.sh CMAKE RELEASE_NAME UPGRADE_CODE PATHMINT_EXE QUORVEL_EXE
source "$(dirname "$0")/common.bash"
cmake=${1:?usage: $0 cmake release-name upgrade-code pathmint.exe quorvel.exe}
name=${2:?} upgrade_code=${3:?} built=("${@:4}")

[[ $name =~ ^pathmint-quorvel-[0-9]+\.[0-9]+\.[0-9]+-win32$ ]] || fail "release name '$name'"
zip=$build/$name.zip
rm -f "$zip"
"$cmake" --build "$build" --target package >"$build/package.log" 2>&1 ||
  { tail -n 30 "$build/package.log"; echo "FAIL the package target"; exit 1; }
[ -f "$zip" ] || { echo "FAIL the package target wrote no $zip"; exit 1; }
pass "the package target wrote $name.zip"

expected=$(printf "$name/%s\n" LICENSE.txt README.txt SHA256SUMS "${programs[@]}" | sort)
check "the zip holds exactly: ${programs[*]} LICENSE.txt README.txt SHA256SUMS" \
  [ "$("$cmake" -E tar tf "$zip" | sort)" = "$expected" ]

work=$build/release-check
rm -rf "$work" && mkdir -p "$work"
(cd "$work" && "$cmake" -E tar xf "$zip")
dir=$work/$name
for exe in "${built[@]}"; do
  check "$(basename "$exe") in the zip is the built file" cmp -s "$exe" "$dir/$(basename "$exe")"
done
# The text files as written, each line ended in CR LF.
crlf() { sed 's/$/\r/' "$1"; }
check "LICENSE.txt is the licence" cmp -s <(crlf "$src/LICENSE") "$dir/LICENSE.txt"
check "README.txt is the user README" cmp -s <(crlf "$src/release/README.txt") "$dir/README.txt"
check "SHA256SUMS ends every line in CR LF" [ "$(grep -c $'\r$' "$dir/SHA256SUMS")" = "$(wc -l <"$dir/SHA256SUMS")" ]

check "sha256sum -c SHA256SUMS passes in the unpacked folder" \
  bash -c 'cd "$1" && sha256sum --strict -c SHA256SUMS' - "$dir"
check "SHA256SUMS names every other file of the folder" \
  [ "$(sed 's/^[0-9a-f]\{64\}  //; s/\r$//' "$dir/SHA256SUMS" | sort)" = "$(cd "$dir" && ls | grep -vx SHA256SUMS | sort)" ]

msi=$build/$name.msi
mkdir -p "$work/msi"
msiextract -C "$work/msi" "$msi" >/dev/null || fail "msiextract cannot unpack $name.msi"
folder=$(echo "$work/msi/Program Files"/*)
for file in "${programs[@]}" README.txt LICENSE.txt; do
  check "$file in the package is the zip's" cmp -s "$dir/$file" "$folder/$file"
done
# table NAME: the rows of one table, a tab between the columns.
table() { msiinfo export "$msi" "$1" | tr -d '\r' | tail -n +4; }
has_row() { table "$1" | grep -qxF "$2"; }
check "installed per machine" has_row Property $'ALLUSERS\t1'
check "the release's upgrade code" has_row Property $'UpgradeCode\t{'"$upgrade_code}"
check "every upgrade row names that code" [ "$(table Upgrade | cut -f1 | sort -u)" = "{$upgrade_code}" ]
version=${name#pathmint-quorvel-} version=${version%-win32}
check "the version is the release's" has_row Property $'ProductVersion\t'"$version"
# Feature, parent, level (1: installed by default), attributes (16: the user cannot leave it out).
features=$(table Feature | cut -f1,2,6,8 | sort)
check "features Programs (always) and StartAtLogon within it, both installed by default" \
  [ "$features" = $'Programs\t\t1\t16\nStartAtLogon\tPrograms\t1\t0' ]
shortcut=$(table Shortcut | grep -P '^\w+\tStartupFolder\t' || true)
check "the shortcut Quorvel in the Startup folder starts the installed quorvel.exe" \
  [ "$(cut -f3,5 <<<"$shortcut")" = $'Quorvel.lnk\t[#quorvel.exe]' ]
check "the shortcut comes with feature StartAtLogon only" \
  [ "$(table FeatureComponents | grep -P "\t$(cut -f4 <<<"$shortcut")$" || true)" = "StartAtLogon	$(cut -f4 <<<"$shortcut")" ]
finish
