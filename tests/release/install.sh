# The installer package under Wine, run as a deployment runs it (msiexec /qn): the programs
# installed per machine as the release holds them, the logon shortcut to the installed quorvel
# (not with ADDLOCAL=Programs), the installed-programs entry, a second install, the removal, which
# leaves nothing behind, and the next version's package, which replaces this one, while this one
# is refused over it.
# Usage: install.sh RELEASE_NAME NEXT_MSI PATHMINT_EXE QUORVEL_EXE   (the programs the release holds)
source "$(dirname "$0")/common.bash"
name=${1:?usage: $0 release-name next.msi pathmint.exe quorvel.exe} next=${2:?} released=("${@:3}")
wine() { "${WINE_RUN:?WINE_RUN is not set}" "$build" "$@"; }
wine --can-run "${released[0]}" || exit

msi=$build/$name.msi
[ -f "$msi" ] || { echo "FAIL no $msi (built with the programs)"; exit 1; }
work=$build/install-check
rm -rf "$work" && mkdir -p "$work"

# Windows names for files of this machine, and back (Wine maps Z: to the root).
dos() { printf 'Z:%s' "${1//\//\\}"; }
unix() { wine winepath -u "$1" 2>/dev/null | tr -d '\r'; }
# reg_value KEY NAME [/reg:32]: the value's data as reg prints it.
reg_value() { wine reg query "$1" /v "$2" "${@:3}" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }
# msiexec ARGS... LOG: silent, with a verbose log; the exit code is msiexec's.
msiexec() { wine msiexec "${@:1:$#-1}" /qn "/l*v" "$(dos "$work/${!#}.log")"; }

# property PACKAGE NAME: a value of the package's Property table.
property() { msiinfo export "$1" Property | tr -d '\r' | sed -n "s/^$2\t//p"; }
product=$(property "$msi" ProductCode) version=$(property "$msi" ProductVersion)
next_product=$(property "$next" ProductCode) next_version=$(property "$next" ProductVersion)
uninstall='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
shell_folders='Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders'
# A 32-bit package installs into the 32-bit Program Files folder and the registry's 32-bit view.
program_files=$(reg_value 'HKLM\Software\Microsoft\Windows\CurrentVersion' ProgramFilesDir /reg:32)
folder_name=$(msiinfo export "$msi" Directory | tr -d '\r' | sed -n 's/^INSTALLDIR\tProgramFilesFolder\t//p')
folder=$(unix "$program_files")/$folder_name
common_startup=$(unix "$(reg_value "HKLM\\$shell_folders" 'Common Startup')")
user_startup=$(unix "$(reg_value "HKCU\\$shell_folders" Startup)")
[ -n "$product" ] && [ -n "$folder_name" ] && [ -d "$common_startup" ] && [ -n "$user_startup" ] ||
  { echo "FAIL the package's product code or the prefix's folders: '$product' '$common_startup' '$user_startup'"; exit 1; }
# Entries of the installed-programs list that name this product.
entries() { wine reg query "$uninstall" /s /reg:32 2>/dev/null | tr -d '\r' | grep -c 'DisplayName *REG_SZ *pathmint and quorvel$'; }
# The logon shortcut, in whichever Startup folder holds it.
shortcut() {
  local lnk
  for lnk in "$common_startup/Quorvel.lnk" "$user_startup/Quorvel.lnk"; do
    if [ -f "$lnk" ]; then echo "$lnk" && return; fi
  done
}
# Left over from an interrupted run. The prefix's user Startup folder as Wine makes it (Wine's
# removals delete it, below): put back now and at the end, for this check and every other.
msiexec /x "$product" cleanup >/dev/null 2>&1 || true
msiexec /x "$next_product" cleanup-next >/dev/null 2>&1 || true
mkdir -p "$user_startup"
trap 'mkdir -p "$user_startup"' EXIT

check "msiexec /i /qn ends with 0" msiexec /i "$(dos "$msi")" install
for exe in "${released[@]}"; do
  check "$(basename "$exe") is installed as the release holds it" cmp -s "$exe" "$folder/$(basename "$exe")"
done
# Per machine, the Startup folder is all users' (Windows Installer's StartupFolder with ALLUSERS=1).
# Wine's installer puts the shortcut into the installing user's.
todo_wine "the shortcut is in all users' Startup folder" [ -f "$common_startup/Quorvel.lnk" ]
lnk=$(shortcut)
check "the shortcut starts the installed quorvel" \
  bash -c 'lnkinfo "$1" | tr -d "\r" | grep -qxF "	Local path			: $2"' - "$lnk" \
  "$program_files\\$folder_name\\quorvel.exe"

check "the installed pathmint writes a shortcut and ends with 0" \
  wine "$(dos "$folder/pathmint.exe")" "/L:$(dos "$work/Made")" "/T:$(dos "$folder/quorvel.exe")"
check "the shortcut pathmint wrote is there" [ -f "$work/Made.lnk" ]

key="$uninstall\\$product"
check "the installed-programs entry names version $version" [ "$(reg_value "$key" DisplayVersion /reg:32)" = "$version" ]
check "the entry names the publisher" [ -n "$(reg_value "$key" Publisher /reg:32)" ]
check "the entry's help link is the installed README" [ -f "$(unix "$(reg_value "$key" HelpLink /reg:32)")" ]
check "the entry has no modify button" [ "$(reg_value "$key" NoModify /reg:32)" = 0x1 ]

check "installing the same package again ends with 0" msiexec /i "$(dos "$msi")" again
check "one installed-programs entry after two installs" [ "$(entries)" = 1 ]

check "msiexec /x {product code} /qn ends with 0" msiexec /x "$product" uninstall
check "no program folder after the removal" [ ! -e "$folder" ]
check "no logon shortcut after the removal" [ -z "$(shortcut)" ]
check "no installed-programs entry after the removal" [ "$(entries)" = 0 ]
# Windows Installer removes only the folders it made; Wine's also removes the Startup folder
# that the shortcut emptied.
todo_wine "the removal leaves the Startup folders" [ -d "$common_startup" -a -d "$user_startup" ]
mkdir -p "$user_startup"

check "msiexec /i ADDLOCAL=Programs /qn ends with 0" msiexec /i "$(dos "$msi")" ADDLOCAL=Programs programs-only
check "ADDLOCAL=Programs installs the programs" [ -f "$folder/quorvel.exe" ]
check "ADDLOCAL=Programs installs no logon shortcut" [ -z "$(shortcut)" ]
check "its removal ends with 0" msiexec /x "$product" programs-only-uninstall
check "its removal leaves no program folder" [ ! -e "$folder" ]

check "this version installed again" msiexec /i "$(dos "$msi")" before-upgrade
check "version $next_version over it ends with 0" msiexec /i "$(dos "$next")" upgrade
check "one installed-programs entry after the upgrade" [ "$(entries)" = 1 ]
check "the entry is version $next_version's" [ "$(reg_value "$uninstall\\$next_product" DisplayVersion /reg:32)" = "$next_version" ]
check "the programs and the shortcut are there after the upgrade" [ -f "$folder/quorvel.exe" -a -n "$(shortcut)" ]
refused() { ! msiexec "$@"; }
check "version $version over version $next_version is refused" refused /i "$(dos "$msi")" downgrade
# Windows writes the refused launch condition's message into the log; Wine's installer does not.
todo_wine "the log says why" bash -c 'tr -d "\0" <"$1" | grep -qF "A newer version of pathmint and quorvel is already installed."' - "$work/downgrade.log"
check "version $next_version is still the one installed" [ "$(entries)" = 1 -a -f "$folder/quorvel.exe" ]
check "version $next_version's removal ends with 0" msiexec /x "$next_product" upgrade-uninstall
check "and leaves no installed-programs entry" [ "$(entries)" = 0 ]
finish
