# Shared set-up of the scripts that run Tagwright's Windows programs under
# wine64. Source it from bash, then call:
#
#   wine_env BUILD_DIR NAME
#       sets $wine, a private prefix BUILD_DIR/wineprefix (WINEPREFIX), quiet
#       Wine output, no Mono or Gecko installers, and the Russian locale that
#       gives Wine its ANSI (1251) and OEM (866) code pages; when the system
#       lacks that locale, one is compiled into BUILD_DIR/locale. Creates the
#       prefix on first use. NAME prefixes the messages.
#   windows_path FILE
#       prints the Windows path (Z:\...) of a file.

windows_path() { printf 'Z:%s' "$(realpath "$1" | sed 's|/|\\|g')"; }

wine_env() {
  local build=$1 name=$2
  wine=/usr/lib/wine/wine64
  [ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
  export WINEPREFIX=$build/wineprefix
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
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "$name: creating the Wine prefix (takes a few seconds)"
    "$wine" wineboot -i >/dev/null 2>&1
    wineserver -w
  fi
}
