# The shell helpers shared by Tagwright's test scripts. Source it from bash.
#
#   step NAME COMMAND...
#       runs one step of a test script, with its name before it and a
#       FAILED line after it when it fails; sets $failed to 1 then.
#   check_scenario NAME STATUS OUTPUT SHOWN ERRORS
#       compares what one scenario of tests/scenarios gave (its exit status,
#       the print jobs in OUTPUT, what it showed in SHOWN, its error output
#       in ERRORS) with NAME.expected and NAME.shown, prints "ok" or "FAIL"
#       with the reason, and counts it in $passed or $failed.
#
# and, for the scripts that run Tagwright's Windows programs under Wine, at
# either width:
#
#   wine_env BUILD_DIR NAME [PREFIX_NAME]
#       finds the width of the build in BUILD_DIR (32 or 64 bits, from its
#       Tagwright.dll, else from its compiler) and sets:
#         $wine        the loader of that width (/usr/lib/wine/wine for 32-bit
#                      programs, wine64 for 64-bit ones),
#         $wine_width  32 or 64,
#         WINEPREFIX   a private prefix BUILD_DIR/PREFIX_NAME (default
#                      "wineprefix"), created on first use with WINEARCH of
#                      that width,
#       quiet Wine output, no Mono or Gecko installers, and the Russian locale
#       that gives Wine its ANSI (1251) and OEM (866) code pages; when the
#       system lacks that locale, one is compiled into BUILD_DIR/locale.
#       Prints which width runs. NAME prefixes the messages.
#   windows_path FILE
#       prints the Windows path (Z:\...) of a file.
#
# Each width gets a prefix of its own (a win32 prefix for the 32-bit build, a
# win64 prefix for the 64-bit one), because that is what each host sees: a
# 32-bit host on 32-bit Windows has one registry view, and a 64-bit prefix
# would test the 32-bit DLL through WOW64's redirected view instead, which a
# registration of the other width could hide. Separate prefixes also let
# both widths' tests run without touching each other's registrations.

failed=${failed:-0}
passed=${passed:-0}

step() {
  local name=$1
  shift
  echo "--- $name"
  if ! "$@"; then
    echo "--- $name: FAILED"
    failed=1
  fi
}

# One check of a test script: prints ok or FAIL with DESCRIPTION, counts it.
expect_ok() {  # expect_ok DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then
    echo "ok   $what"
    passed=$((passed + 1))
  else
    echo "FAIL $what"
    failed=1
  fi
}

scenario_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/scenarios" && pwd)

check_scenario() {
  local name=$1 status=$2 out=$3 shown=$4 errors=$5
  local expected=$scenario_dir/$name.expected expected_shown=$scenario_dir/$name.shown
  local problem=""
  if [ "$status" -ne 0 ]; then
    problem="exit status $status: $(head -c 2000 "$errors")"
  elif [ ! -f "$out" ]; then
    problem="no output written"
  elif ! cmp -s "$out" "$expected"; then
    problem="output differs from $name.expected ($(cmp "$out" "$expected" 2>&1 | head -1))"
  elif [ -f "$expected_shown" ] && ! cmp -s <(tr -d '\r' <"$shown") "$expected_shown"; then
    problem="shown values differ: $(diff <(tr -d '\r' <"$shown") "$expected_shown" | head -5)"
  fi
  if [ -z "$problem" ]; then
    echo "ok    $name"
    passed=$((passed + 1))
  else
    echo "FAIL  $name: $problem"
    failed=$((failed + 1))
  fi
}

windows_path() { printf 'Z:%s' "$(realpath "$1" | sed 's|/|\\|g')"; }

# Prints 32 or 64 for the Windows build in a directory.
wine_build_width() {
  local build=$1 dll=$1/windows/Tagwright.dll
  if [ -f "$dll" ]; then
    case "$(objdump -f "$dll" 2>/dev/null || x86_64-w64-mingw32-objdump -f "$dll" 2>/dev/null)" in
      *pei-i386*) echo 32; return ;;
      *pei-x86-64*) echo 64; return ;;
    esac
  fi
  if grep -q 'CMAKE_CXX_COMPILER:[A-Z]*=.*i686' "$build/CMakeCache.txt" 2>/dev/null; then
    echo 32
  else
    echo 64
  fi
}

wine_env() {
  local build=$1 name=$2 prefix_name=${3:-wineprefix}
  wine_width=$(wine_build_width "$build")
  if [ "$wine_width" = 32 ]; then
    wine=/usr/lib/wine/wine
    export WINEARCH=win32
    if [ ! -x "$wine" ]; then
      echo "$name: no 32-bit Wine loader ($wine): install wine32:i386 (scripts/setup.sh does)" >&2
      return 2
    fi
  else
    wine=/usr/lib/wine/wine64
    [ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
    export WINEARCH=win64
  fi
  export WINEPREFIX=$build/$prefix_name
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export LC_ALL=ru_RU.UTF-8
  if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; then
    if [ ! -d "$build/locale/ru_RU.UTF-8" ]; then
      mkdir -p "$build/locale"
      localedef -i ru_RU -f UTF-8 "$build/locale/ru_RU.UTF-8" 2>/dev/null ||
        { echo "$name: cannot make the ru_RU.UTF-8 locale (install 'locales')" >&2; return 2; }
    fi
    export LOCPATH=$build/locale
  fi
  echo "$name: $wine_width-bit Windows programs, $WINEARCH prefix $WINEPREFIX"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "$name: creating the Wine prefix (takes a few seconds)"
    "$wine" wineboot -i >/dev/null 2>&1
    wineserver -w
  fi
}
