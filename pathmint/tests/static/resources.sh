# pathmint's resources: exactly the icon group 101 with its two 16-colour images, the version
# record and the manifest, all in English (United States), with the values the program ships.
source "$(dirname "$0")/../../../tests/common/static.bash"
need wrestool exiftool od

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The inventory: type, name, language and size of every resource.
inventory=$(wrestool -l "$exe" | sed -E 's/^--type=([0-9]+) --name=([0-9]+) --language=([0-9]+) \[.*size=([0-9]+)\]$/\1 \2 \3 \4/')
check_eq "resource inventory" "$inventory" "3 1 1033 744
3 2 1033 296
14 101 1033 34
16 1 1033 1004
24 1 1033 636"

# Icon images: BITMAPINFOHEADER of 32x32 (height doubled for the mask), 4 bits per pixel.
for id in 1:32:744 2:16:296; do
  IFS=: read -r name side size <<<"$id"
  wrestool -x --raw --type=3 --name="$name" "$exe" >"$tmp/icon$name"
  mapfile -t b < <(bytes_of "$tmp/icon$name")
  width=$((b[4] + 256 * b[5])) height=$((b[8] + 256 * b[9])) bpp=$((b[14] + 256 * b[15]))
  check_eq "icon $name header" "${#b[@]} $width x $height, $bpp bpp" "$size $side x $((2 * side)), 4 bpp"
done

# Icon group 101: two entries, 32x32 and 16x16, 16 colours, 4 bits, sizes and ids 1 and 2.
wrestool -x --raw --type=14 --name=101 "$exe" >"$tmp/group"
mapfile -t g < <(bytes_of "$tmp/group")
entries=""
for ((i = 0; i < g[4]; i++)); do
  o=$((6 + 14 * i))
  entries+="${g[o]}x${g[o + 1]} colours=${g[o + 2]} bpp=$((g[o + 6] + 256 * g[o + 7])) size=$((g[o + 8] + 256 * g[o + 9])) id=$((g[o + 12] + 256 * g[o + 13]));"
done
check_eq "icon group 101" "$entries" "32x32 colours=16 bpp=4 size=744 id=1;16x16 colours=16 bpp=4 size=296 id=2;"

# The icon file in the source tree holds the same two images.
check_eq "icon file images" "$(bytes_of "$res/pathmint.ico" | sed -n '5p;7p;23p')" "2
32
16"

# Manifest: the exact bytes of the source file, 636 bytes, CR LF line ends only.
wrestool -x --raw --type=24 --name=1 "$exe" >"$tmp/manifest"
if cmp -s "$tmp/manifest" "$res/pathmint.manifest"; then echo "ok   manifest bytes"; else fail "manifest bytes differ from res/pathmint.manifest"; fi
check_eq "manifest size" "$(stat -c %s "$tmp/manifest")" "636"
# Every line feed follows a carriage return, and there is no other carriage return.
lf=$(tr -cd '\n' <"$tmp/manifest" | wc -c)
check_eq "manifest CR LF line ends" "$(grep -c $'\r$' "$tmp/manifest") $(tr -cd '\r' <"$tmp/manifest" | wc -c)" "$lf $lf"
manifest=$(tr -d '\r' <"$tmp/manifest")
for want in '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>' \
            '<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">' \
            'version="1.0.0.0"' 'processorArchitecture="X86"' 'name="Pathmint.exe"' 'type="win32"/>' \
            '<description>Pathmint</description>' \
            '<!-- Identify the application security requirements. -->' \
            '<trustInfo xmlns="urn:schemas-microsoft-com:asm.v3">' \
            'level="requireAdministrator"' 'uiAccess="false"/>'; do
  grep -qF -- "$want" <<<"$manifest" && echo "ok   manifest has $want" || fail "manifest lacks $want"
done
# The elements in their order.
check_eq "manifest element order" "$(grep -oE '<(!--|(assembly|assemblyIdentity|description|trustInfo|security|requestedPrivileges|requestedExecutionLevel)\b)' <<<"$manifest" | tr '\n' ' ')" \
  "<assembly <assemblyIdentity <description <!-- <trustInfo <security <requestedPrivileges <requestedExecutionLevel "

# Version record: the fixed part and the string table in its order, read by exiftool.
version=$(exiftool -S -a -G0 -EXE:all "$exe" | sed -n '/^\[EXE\] FileVersionNumber/,$p' | sed 's/^\[EXE\] //')
check_eq "version record" "$version" "FileVersionNumber: 1.10.2007.212
ProductVersionNumber: 5.20.0.0
FileFlagsMask: 0x003f
FileFlags: (none)
FileOS: Win32
ObjectFileType: Executable application
FileSubtype: 0
LanguageCode: English (U.S.)
CharacterSet: Unicode
Author: The Pathmint developers
Comments: Command-line driven shortcut creation utility
CompanyName: Pathmint project
FileDescription: Pathmint
FileVersion: 1.00 C
InternalName: Pathmint
LegalCopyright: Copyright (C) The Pathmint developers
LegalTrademarks: 
OriginalFileName: PATHMINT.EXE
PrivateBuild: 
ProductName: 
ProductVersion: 
SpecialBuild: "

# The fixed part's raw words: signature, file date 0.
wrestool -x --raw --type=16 --name=1 "$exe" >"$tmp/version"
mapfile -t v < <(bytes_of "$tmp/version")
# VS_FIXEDFILEINFO follows the 40-byte header ("VS_VERSION_INFO" in UTF-16 and padding).
f=40
check_eq "fixed info signature" "${v[f]} ${v[f + 1]} ${v[f + 2]} ${v[f + 3]}" "189 4 239 254"
check_eq "fixed info date" "$(printf '%s' "${v[@]:f+44:8}" )" "00000000"
check_eq "fixed info os, type" "$((v[f + 32] + 256 * v[f + 33])) $((v[f + 36]))" "4 1"
finish
