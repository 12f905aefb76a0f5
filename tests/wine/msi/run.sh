#!/usr/bin/env bash
# The Windows installer under Wine, in a fresh prefix of the given width:
#   1. silent install of Tagwright-VERSION.msi over a stale class entry,
#      which goes, as registration replaces the class key; the files in place
#      (and the same files in the zip); the installed tagwright.exe, found on
#      PATH, tells the version and, as a 32-bit COM client, creates
#      AddIn.Tagwright and prints a scenario's label to COM5 (a file) byte
#      for byte, with no regsvr32 ever run;
#   2. silent uninstall: creating AddIn.Tagwright fails, the files, the class
#      key (with an entry added below it) and the PATH entry are gone, the
#      profile and the user's device map are untouched and the type library
#      stays, as regsvr32 /u leaves it;
#   3. upgrade from the lower-version test package: one product, at the new
#      version, with the new files and one PATH entry;
#   4. the package's registry rows equal what DllRegisterServer writes: the
#      keys exported from the installed package, then from the same files
#      registered by regsvr32 after uninstalling, compared key by key.
#
#   tests/wine/msi/run.sh BUILD_DIR 32|64
#
# BUILD_DIR is the win32 build (with Tagwright-VERSION.msi and
# package-test/Tagwright-LOWER.msi); 32 or 64 is the width of the prefix.
# The package's programs are 32-bit, so both need 32-bit Wine.
set -uo pipefail

if [ $# -ne 2 ] || { [ "$2" != 32 ] && [ "$2" != 64 ]; }; then
  echo "usage: $0 BUILD_DIR 32|64" >&2
  exit 2
fi
build=$(realpath "$1")
width=$2
here=$(cd "$(dirname "$0")" && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
package=$build/Tagwright-$version.msi
lower=$(ls "$build"/package-test/Tagwright-*.msi 2>/dev/null | head -n 1)
stage=$build/package/Tagwright
for file in "$package" "$lower" "$build/Tagwright-$version.zip" "$stage/Tagwright.dll" \
  "$build/cli/com/tagwright.exe"; do
  if [ ! -f "$file" ]; then
    echo "msi/run.sh: ${file:-the lower-version package} is missing; build the win32 tree first" >&2
    exit 2
  fi
done

source "$here/../../test_helpers.sh"
unset DISPLAY WAYLAND_DISPLAY
wine32=/usr/lib/wine/wine
[ -x "$wine32" ] || { echo "msi/run.sh: no 32-bit Wine loader ($wine32)" >&2; exit 2; }
if [ "$width" = 64 ]; then
  export WINEARCH=win64
  msiexec=(/usr/lib/wine/wine64 msiexec)
  program_files="Program Files (x86)"
  uninstall_keys=('HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
    'HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall')
else
  export WINEARCH=win32
  msiexec=("$wine32" msiexec)
  program_files="Program Files"
  uninstall_keys=('HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall')
fi
export WINEPREFIX=$build/msi-prefix-$width WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=ru_RU.UTF-8
if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; then
  mkdir -p "$build/locale"
  [ -d "$build/locale/ru_RU.UTF-8" ] || localedef -i ru_RU -f UTF-8 "$build/locale/ru_RU.UTF-8" 2>/dev/null
  export LOCPATH=$build/locale
fi
work=$build/msi-work-$width
rm -rf "$WINEPREFIX" "$work"
mkdir -p "$work"

started=$SECONDS
timed() {  # timed NAME COMMAND...: a step, with how long it took
  local name=$1 start=$SECONDS
  shift
  step "$name" "$@"
  echo "    ($((SECONDS - start)) s)"
}

echo "msi/run.sh: $WINEARCH prefix $WINEPREFIX, package $(basename "$package"), lower $(basename "$lower")"
timed "fresh $width-bit prefix" bash -c '"$0" wineboot -i >/dev/null 2>&1; wineserver -w' "${msiexec[0]}"

install_dir=$WINEPREFIX/drive_c/$program_files/Tagwright
install_win="C:\\${program_files}\\Tagwright"
port_file=$work/com5
ln -sfn "$port_file" "$WINEPREFIX/dosdevices/com5"
clsid='{C1109BEC-EBD2-49B9-8A9C-B3E2C215828E}'
libid='{223A52CB-E95A-4423-829C-331D6F5EF7F6}'
class_keys=("HKCR\\AddIn.Tagwright" "HKCR\\CLSID\\$clsid")
scenario=price_tag
printf 'NumberPort = 7\n' | cat - "$here/../../scenarios/$scenario.tws" >"$work/label.tws"
profile=$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/AppData/Roaming/Tagwright/profile

msi() {  # msi /i|/x PACKAGE LOG
  "${msiexec[@]}" "$1" "$(windows_path "$2")" /qn /l*v "$(windows_path "$3")"
}
# The 32-bit view of the registry, as the 32-bit host sees it.
reg32() { "$wine32" reg "$@" >/dev/null 2>&1; }
system_path() {
  "$wine32" reg query 'HKLM\System\CurrentControlSet\Control\Session Manager\Environment' /v PATH |
    tr -d '\r' | sed -n 's/^ *PATH *REG_[A-Z_]* *//p'
}

files_in_place() {
  local missing=0 file
  while IFS= read -r file; do
    if ! cmp -s "$stage/$file" "$install_dir/$file"; then
      echo "not installed as built: $file"
      missing=1
    fi
  done < <(cd "$stage" && find . -type f | sed 's|^\./||')
  [ $missing -eq 0 ] && echo "$(cd "$stage" && find . -type f | wc -l) files in $install_win"
}
zip_has_the_files() {
  # The zip for registering by hand carries the package's files, INSTALL.txt
  # among them, under one Tagwright folder.
  diff <(cd "$stage/.." && find Tagwright -type f | sort) \
    <(cmake -E tar tf "$build/Tagwright-$version.zip" | grep -v '/$' | sort) &&
    echo "Tagwright-$version.zip: the same $(cd "$stage" && find . -type f | wc -l) files"
}
no_self_registration() {
  # The registration comes from the package's rows, never from running code.
  ! msiinfo tables "$package" | grep -qx SelfReg && ! grep -qi 'regsvr32\|SelfReg' "$work/install.log"
}
version_from_path() {
  local shown
  # From a folder without one, so that only PATH can find it.
  shown=$(cd "$work" && "$wine32" cmd /c tagwright.exe --version 2>&1 | tr -d '\r')
  echo "tagwright.exe --version: $shown"
  [[ "$shown" == *"$version"* ]]
}
prints_label() {
  : >"$port_file"
  (cd "$work" && "$wine32" cmd /c tagwright.exe run "$(windows_path "$work/label.tws")") \
    >"$work/shown" 2>"$work/errors"
  local status=$? before=$failed
  check_scenario "$scenario" "$status" "$port_file" "$work/shown" "$work/errors"
  [ "$failed" = "$before" ] || return 1
  # What the run saved of the host's settings, to be found unchanged later.
  [ -s "$profile" ] && cp "$profile" "$work/profile.saved"
}
creation_fails() {
  # A client that stays behind: the build's own tagwright.exe.
  : >"$port_file"
  if "$wine32" "$build/cli/com/tagwright.exe" run "$(windows_path "$work/label.tws")" \
    >"$work/shown" 2>"$work/errors"; then
    echo "AddIn.Tagwright was still created"
    return 1
  fi
  echo "as expected: $(tr -d '\r' <"$work/errors" | head -n 1)"
  [ ! -s "$port_file" ]
}
all_gone() {
  local fault=0 key
  [ -e "$install_dir" ] && { echo "left behind: $(cd "$install_dir" && find . | head)"; fault=1; }
  for key in "${class_keys[@]}"; do
    reg32 query "$key" && { echo "left behind: $key"; fault=1; }
  done
  [[ "$(system_path)" == *Tagwright* ]] && { echo "PATH still names Tagwright"; fault=1; }
  cmp -s "$profile" "$work/profile.saved" || { echo "the profile changed or went"; fault=1; }
  "$wine32" reg query 'HKCU\Software\Tagwright\Devices' /v COM1 2>/dev/null | grep -qF 'file:C:\labels.prn' ||
    { echo "the user's device map changed or went"; fault=1; }
  # As DllUnregisterServer, the package leaves the type library registered.
  reg32 query "HKCR\\TypeLib\\$libid\\1.0" || { echo "the type library was removed"; fault=1; }
  return $fault
}
# The version of each installed product named Tagwright, one a line, in
# either registry view.
installed_products() {
  local key
  for key in "${uninstall_keys[@]}"; do
    "${msiexec[0]}" reg query "$key" /s 2>/dev/null | tr -d '\r' |
      awk '/^HKEY/ { k = $0 } /DisplayName +REG_SZ +Tagwright$/ { named[k] = 1 }
           /DisplayVersion +REG_SZ/ { v[k] = $3 } END { for (k in named) print v[k] }'
  done
}
one_product() {
  local products entries_in_path
  products=$(installed_products)
  entries_in_path=$(system_path | tr ';' '\n' | grep -c Tagwright)
  echo "installed products named Tagwright, by version: ${products:-none}; PATH entries: $entries_in_path"
  [ "$products" = "$version" ] && [ "$entries_in_path" = 1 ] &&
    cmp -s "$stage/Tagwright.dll" "$install_dir/Tagwright.dll"
}

# The keys of the class and the type library, one line per key and per value,
# sorted, so that two exports compare key by key whatever their order.
export_registration() {  # export_registration OUT
  local key i=0
  : >"$1"
  for key in "${class_keys[@]}" "HKCR\\TypeLib\\$libid"; do
    i=$((i + 1))
    "$wine32" reg export "$key" "$(windows_path "$work/export$i.reg")" /y >/dev/null 2>&1 ||
      echo "(no key $key)" >>"$1"
    iconv -f UTF-16LE -t UTF-8 "$work/export$i.reg" 2>/dev/null | tr -d '\r' | sed '1s/^\xEF\xBB\xBF//' |
      awk '/^\[/ { key = $0; print key; next } /=/ { print key " " $0 }' >>"$1"
  done
  sort -o "$1" "$1"
}
same_registration() {
  # The installer gives a folder with its closing backslash, RegisterTypeLib
  # without: the one difference between the two, in HELPDIR, is allowed.
  sed -i 's|^\(\[.*\\HELPDIR\] @=".*\)\\\\"$|\1"|' "$work/package.keys"
  if diff -u "$work/regsvr32.keys" "$work/package.keys"; then
    echo "$(wc -l <"$work/package.keys") keys and values the same"
  else
    return 1
  fi
}
register_by_hand() {
  mkdir -p "$install_dir" && cp "$stage/Tagwright.dll" "$install_dir/" &&
    reg32 delete "HKCR\\TypeLib\\$libid" /f &&
    "$wine32" regsvr32 /s "$install_win\\Tagwright.dll"
}

# A leftover of an older copy registered by hand: the package replaces the
# class key whole, as registration does.
timed "a stale class entry of an older copy" \
  reg32 add "HKCR\\CLSID\\$clsid\\LocalServer32" /ve /d 'C:\old\Tagwright.exe' /f
timed "silent install" msi /i "$package" "$work/install.log"
timed "the stale class entry replaced" bash -c '! "$0" reg query "HKCR\\CLSID\\$1\\LocalServer32" >/dev/null 2>&1' "$wine32" "$clsid"
timed "the files in place" files_in_place
timed "the zip carries the same files" zip_has_the_files
timed "no self-registration in the package" no_self_registration
timed "tagwright.exe --version from PATH" version_from_path
timed "AddIn.Tagwright prints a label to COM5" prints_label
# Removal takes the class key whole, as unregistration does.
timed "an entry added below the class key" \
  reg32 add "HKCR\\CLSID\\$clsid\\Implemented Categories" /ve /d '' /f
# The user's device map, set by the installed program, outlives the package.
timed "a device map entry set by the installed tagwright.exe" \
  "$wine32" cmd /c tagwright.exe devices --map 'COM1=file:C:\labels.prn'
timed "silent uninstall" msi /x "$package" "$work/uninstall.log"
timed "AddIn.Tagwright cannot be created" creation_fails
timed "files, keys and PATH entry gone, profile and device map untouched" all_gone
timed "install the lower version $(basename "$lower")" msi /i "$lower" "$work/install-lower.log"
timed "upgrade to $version" msi /i "$package" "$work/upgrade.log"
timed "one product, the new version in place" one_product
timed "export the package's registration" export_registration "$work/package.keys"
timed "uninstall the upgraded package" msi /x "$package" "$work/uninstall-upgraded.log"
timed "regsvr32 the same DLL in the same place" register_by_hand
timed "export DllRegisterServer's registration" export_registration "$work/regsvr32.keys"
timed "the package's rows equal DllRegisterServer's" same_registration
"$wine32" regsvr32 /s /u "$install_win\\Tagwright.dll"
wineserver -w

echo "msi/run.sh: $((SECONDS - started)) s in all"
if [ $failed -ne 0 ]; then
  echo "msi/run.sh: FAILED ($width-bit prefix; logs in $work)"
  exit 1
fi
echo "msi/run.sh: all passed ($width-bit prefix)"
