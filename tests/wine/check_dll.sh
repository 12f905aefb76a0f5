#!/usr/bin/env bash
# Checks a built Tagwright.dll (32- or 64-bit) without running it: exactly
# the four COM server exports and the process device map's, imports from system DLLs only (the C and C++
# runtimes are linked in), none of the preview's libraries, and the
# resources the host and regsvr32 need.
# Usage: tests/wine/check_dll.sh PATH/TO/Tagwright.dll
set -uo pipefail

if [ $# -ne 1 ] || [ ! -f "$1" ]; then
  echo "usage: $0 PATH/TO/Tagwright.dll" >&2
  exit 2
fi
dll=$1

case "$(objdump -f "$dll" 2>/dev/null | sed -n 's/.*file format //p')" in
  pei-i386) prefix=i686-w64-mingw32 ;;
  pei-x86-64) prefix=x86_64-w64-mingw32 ;;
  *) echo "check_dll: $dll is not a Windows DLL" >&2; exit 2 ;;
esac
objdump_tool=$prefix-objdump
windres_tool=$prefix-windres
headers=$("$objdump_tool" -p "$dll") || exit 2
resources=$("$windres_tool" -i "$dll" -O rc 2>/dev/null) || exit 2

problems=0
problem() {
  echo "check_dll: $*"
  problems=$((problems + 1))
}

# Exports: the names listed after the name pointer table.
exports=$(printf '%s\n' "$headers" |
  sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*\([A-Za-z_][A-Za-z0-9_@]*\)$/\1/p' | sort)
expected_exports=$(printf '%s\n' DllCanUnloadNow DllGetClassObject DllRegisterServer \
  DllUnregisterServer TagwrightUseProcessDevices TagwrightWatchJobs | sort)
if [ "$exports" != "$expected_exports" ]; then
  problem "exports are not exactly the four COM server functions and the two of the hosting programs:" $exports
fi

# Imports: system DLLs only.
system_dlls='^(kernel32|user32|gdi32|advapi32|ole32|oleaut32|shell32|setupapi|comctl32|version|ws2_32|winspool|msvcrt|shlwapi|uuid|rpcrt4)\.(dll|drv)$'
imports=$(printf '%s\n' "$headers" | sed -n 's/^[[:space:]]*DLL Name: //p' | sort -u)
for name in $imports; do
  if ! printf '%s\n' "$name" | tr 'A-Z' 'a-z' | grep -Eq "$system_dlls"; then
    problem "imports a DLL that is not the system's own: $name"
  fi
done

# The preview's libraries stay out of the DLL: no FreeType, libpng, zint or
# zlib code linked in, by symbol or by the strings each library carries.
symbols=$("$prefix-nm" "$dll" 2>/dev/null)
if grep -Eq ' (_?FT_Init_FreeType|_?png_create_write_struct|_?ZBarcode_Create|_?inflateInit2_)$' \
  <<<"$symbols"; then
  problem "links a library of the preview:" \
    $(grep -Eo '(FT_Init_FreeType|png_create_write_struct|ZBarcode_Create|inflateInit2_)$' <<<"$symbols")
fi
if strings -a "$dll" | grep -Eq 'libpng version|inflate [0-9]|FreeType|Zint Generated Symbol'; then
  problem "holds the strings of a library of the preview"
fi

# Resources.
grep -q '^102 "REGISTRY"' <<<"$resources" || problem "no REGISTRY resource 102"
grep -q '^1 "TYPELIB"' <<<"$resources" || problem "no TYPELIB resource 1"
for id in 100 101 102 103 104 106 107 108 109 110 $(seq 113 135); do
  grep -Eq "^[[:space:]]+$id, " <<<"$resources" || problem "no string $id in the string table"
done
grep -q '^[[:space:]]*FILEVERSION 1, 0, 11, 7$' <<<"$resources" || problem "file version is not 1.0.11.7"
for value in '"InternalName", "AddIn"' '"OriginalFilename", "Tagwright.DLL"' \
  '"ProductName", "Tagwright"'; do
  grep -qF "VALUE $value" <<<"$resources" || problem "version record lacks $value"
done

if [ $problems -ne 0 ]; then
  echo "check_dll: $dll: $problems problem(s)"
  exit 1
fi
echo "check_dll: $dll: the COM server and device map exports, system imports only ($(echo $imports | tr '\n' ' ')), resources present"
