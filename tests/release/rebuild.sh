# A second copy of the sources at another path builds the same programs and installer package,
# byte for byte, and neither program holds a build path, the build date or a link time.
# Then the copy signs its release with a certificate made here: the signed files verify, a byte
# changed does not; the signature removed gives this build's programs, and each published
# signature put onto this build's programs gives the signed ones; the password is in no command.
# Usage: rebuild.sh CMAKE   (the cmake of this build)
source "$(dirname "$0")/common.bash"
cmake=${1:?usage: $0 cmake}

# The sources as they are now: the files git knows of in the working tree (uncommitted edits and
# new files included, deleted files left out), or, outside a git checkout, every file but the
# build trees.
list_sources() {
  if git -C "$src" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git -C "$src" ls-files -z --cached --others --exclude-standard
  else
    (cd "$src" && find . -path ./build -prune -o -type f -print0)
  fi
}

# Copied to a path of another length inside the build tree.
work=$build/rebuild
copy=$work/second-copy-of-the-sources
rm -rf "$work"
mkdir -p "$copy"
list_sources |
  while IFS= read -r -d '' file; do
    [ -f "$src/$file" ] || continue
    mkdir -p "$copy/$(dirname "$file")"
    cp -p "$src/$file" "$copy/$file"
  done
[ -f "$copy/CMakePresets.json" ] || { echo "FAIL the sources were not copied"; exit 1; }

# Built as a user would: the win32 preset in the copy, the two programs and the package only;
# where this build signs, with its signatures put on (as anyone checks a signed release).
signatures=()
if grep -q '^SIGN_PKCS12:FILEPATH=.' "$build/CMakeCache.txt"; then signatures=(-DSIGN_ATTACH="$build"); fi
(cd "$copy" && "$cmake" --preset win32 "${signatures[@]}" >/dev/null &&
  "$cmake" --build --preset win32 --target pathmint quorvel release_msi) >"$work/build.log" 2>&1 ||
  { tail -n 30 "$work/build.log"; echo "FAIL the copy does not build"; exit 1; }
msi=$(basename "$(ls "$build"/pathmint-quorvel-*-win32.msi)")
check "$msi is the same from both copies" cmp -s "$build/$msi" "$copy/build/win32/$msi"

# The link time lives in the PE file header, 8 bytes after its "PE\0\0" signature.
u32_at() { od -An -tu4 -j "$2" -N4 "$1" | tr -d ' '; }
today_iso=$(date -u +%Y-%m-%d) today_c=$(LC_ALL=C date -u '+%b %e %Y')
for exe in "${programs[@]}"; do
  ours=$build/$exe theirs=$copy/build/win32/$exe
  if cmp -s "$ours" "$theirs"; then
    pass "$exe is the same from both copies ($(stat -c %s "$ours") bytes)"
  else
    fail "$exe differs in $(cmp -l "$ours" "$theirs" | wc -l) bytes between $src and $copy"
  fi
  check "$exe has no link time" [ "$(u32_at "$ours" $(($(u32_at "$ours" 60) + 8)))" = 0 ]
  for text in "$src" "$build" "$copy" "$today_iso" "$today_c"; do
    check "$exe does not hold '$text'" bash -c '! grep -aqF -- "$1" "$2"' - "$text" "$ours"
  done
done

# A throwaway code-signing certificate, its password in a file.
keys=$work/keys
mkdir -p "$keys"
password="throwaway-$RANDOM$RANDOM"
printf '%s' "$password" >"$keys/password"
openssl req -x509 -newkey rsa:2048 -noenc -keyout "$keys/key.pem" -out "$keys/cert.pem" -days 2 \
  -subj "/CN=pathmint test signing" -addext extendedKeyUsage=codeSigning >/dev/null 2>&1 &&
  openssl pkcs12 -export -in "$keys/cert.pem" -inkey "$keys/key.pem" -passout "file:$keys/password" \
    -out "$keys/cert.p12" || { echo "FAIL openssl made no certificate"; exit 1; }
# The copy's release, signed: the programs and the package (cpack: the zip without the tests),
# kept as published: the zip, the package and the signatures.
copy_build=$copy/build/win32
published=$work/published
(cd "$copy" && "$cmake" --preset win32 -DSIGN_ATTACH= -DSIGN_PKCS12="$keys/cert.p12" -DSIGN_PASSWORD_FILE="$keys/password" &&
  "$cmake" --build --preset win32 --target release_msi && cd "$copy_build" && "$(dirname "$cmake")/cpack") \
  >"$work/sign.log" 2>&1 || { tail -n 30 "$work/sign.log"; echo "FAIL the copy's signed release"; exit 1; }
check "the password is in no build command, cache or log" \
  bash -c '! grep -rqF -- "$1" "$2"/build.ninja "$2"/CMakeCache.txt "$3"' - "$password" "$copy_build" "$work/sign.log"
mkdir -p "$published"
cp "$copy_build"/pathmint-quorvel-*-win32.zip "$copy_build/$msi" "$copy_build"/*.sig "$published/"
zip=$(ls "$published"/pathmint-quorvel-*-win32.zip)
(cd "$published" && "$cmake" -E tar xf "$zip")
released=$published/$(basename "$zip" .zip)

verify() { osslsigncode verify -CAfile "$keys/cert.pem" -in "$1" >/dev/null 2>&1; }
unverified() { ! verify "$1"; }
check "$msi, signed, verifies" verify "$published/$msi"
check "SHA256SUMS of the signed zip verifies" bash -c 'cd "$1" && sha256sum --strict -c SHA256SUMS >/dev/null' - "$released"
for exe in "${programs[@]}"; do
  check "$exe in the signed zip verifies" verify "$released/$exe"
  cp "$released/$exe" "$work/changed.exe"
  printf '\x5a' | dd of="$work/changed.exe" bs=1 seek=1100 conv=notrunc 2>/dev/null
  check "$exe with one byte changed fails verification" unverified "$work/changed.exe"
  osslsigncode remove-signature -in "$released/$exe" -out "$work/removed.exe" >/dev/null 2>&1 || true
  check "$exe with its signature removed is this build's" cmp -s "$build/$exe" "$work/removed.exe"
  osslsigncode attach-signature -sigin "$published/$exe.sig" -in "$build/$exe" -out "$work/attached.exe" >/dev/null 2>&1 || true
  check "$exe.sig put onto this build's $exe gives the signed $exe" cmp -s "$released/$exe" "$work/attached.exe"
  rm -f "$work/changed.exe" "$work/removed.exe" "$work/attached.exe"
done

# Checked as anyone can check it: the copy built again with the published signatures put on.
(cd "$copy" && "$cmake" --preset win32 -DSIGN_PKCS12= -DSIGN_PASSWORD_FILE= -DSIGN_ATTACH="$published" &&
  "$cmake" --build --preset win32 --target release_msi) >"$work/attach.log" 2>&1 ||
  { tail -n 30 "$work/attach.log"; echo "FAIL the build with the published signatures"; exit 1; }
check "the build with the published signatures gives the signed $msi" cmp -s "$published/$msi" "$copy_build/$msi"
finish
