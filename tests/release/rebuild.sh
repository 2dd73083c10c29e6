# A second copy of the sources at another path builds the same programs, byte for byte, and
# neither program holds a build path, the build date or a link time.
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

# Built as a user would: the win32 preset in the copy, the two programs only.
(cd "$copy" && "$cmake" --preset win32 >/dev/null && "$cmake" --build --preset win32 --target pathmint quorvel) >"$work/build.log" 2>&1 ||
  { tail -n 30 "$work/build.log"; echo "FAIL the copy does not build"; exit 1; }

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
finish
