# The package target writes the release zip, named with the version; the zip holds exactly the
# programs as built, the licence, the user's README and SHA256SUMS, which verifies and covers
# every other file.
# Usage: package.sh CMAKE RELEASE_NAME PATHMINT_EXE QUORVEL_EXE
source "$(dirname "$0")/common.bash"
cmake=${1:?usage: $0 cmake release-name pathmint.exe quorvel.exe}
name=${2:?} built=("${@:3}")

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
finish
