#!/usr/bin/env bash
# Cross-builds the libraries the label preview needs on Windows (zlib,
# libpng, FreeType and zint) from Debian's own source packages, as static
# libraries for one Windows width or both, and puts beside them the
# designer's HTTP server, cpp-httplib, as the single header its source has
# (Debian's binary package splits it into a header and a Linux library).
#
#   scripts/windows_libs.sh [i686|x86_64|all]   builds what is missing (default: all)
#                                               and prints the folder of each width
#   scripts/windows_libs.sh --prefix i686|x86_64
#                                               prints the folder of that width's
#                                               libraries, built or not
#
# The libraries go to a cache outside the work tree,
#   ${TAGWRIGHT_WINDOWS_LIBS_CACHE:-${XDG_CACHE_HOME:-~/.cache}/tagwright/windows-libs}/ARCH-KEY/
# with include/, lib/, licenses/ and build-times.txt, where KEY is a hash of
# the source versions, the cross compiler's version and this script: a
# later build, or a clean clone on the same machine, finds them there; a new
# version of any of them builds a new folder. The three folders of a width
# used last are kept (work trees of other branches may use older ones).
#
# The sources are the versions of the native libraries installed here when
# the archive still has them (so that the Windows preview draws with the
# same FreeType and zint as the Linux one), else the archive's newest. The
# source entries are made from this machine's own apt configuration: its
# deb entries, as deb-src, in a private apt folder of the cache, so that
# neither the system's apt state nor this repository names a server.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
script=$here/$(basename "$0")
# Without a home folder (some CI runners), the work tree's own .cache/.
user_cache=${XDG_CACHE_HOME:-${HOME:+$HOME/.cache}}
cache=${TAGWRIGHT_WINDOWS_LIBS_CACHE:-${user_cache:-$root/.cache}/tagwright/windows-libs}
jobs=${TAGWRIGHT_JOBS:-2}

# Source package, and the installed binary package whose version it follows.
libraries=(zlib libpng1.6 freetype zint cpp-httplib)
declare -A native_package=(
  [zlib]=zlib1g [libpng1.6]=libpng16-16 [freetype]=libfreetype6
  [zint]=libzint-dev [cpp-httplib]=libcpp-httplib-dev
)

say() { echo "windows-libs: $*" >&2; }
die() {
  say "$*"
  exit 1
}

usage() {
  echo "usage: $0 [i686|x86_64|all] | --prefix i686|x86_64" >&2
  exit 2
}

# --- private apt configuration -------------------------------------------

apt_dir=$cache/apt
apt_options=(
  -o "Dir::Etc::SourceList=$apt_dir/sources.list"
  -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
  -o "Dir::State::Lists=$apt_dir/lists"
  -o "Dir::Cache=$apt_dir/cache"
  -o "APT::Sandbox::User=$(id -un)"
)

# Writes the machine's deb entries as deb-src entries into the private
# folder: deb822 files with their Types changed, one-line entries with
# "deb" turned into "deb-src"; every other field (URIs, suites, components,
# keys) stays as the machine has it.
write_source_entries() {
  local list parts file
  eval "$(apt-config shell list Dir::Etc::SourceList/f parts Dir::Etc::SourceParts/d)"
  rm -rf "$apt_dir/sources.list.d"
  mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
  : >"$apt_dir/sources.list"
  if [ -f "$list" ]; then
    sed -n 's/^[[:space:]]*deb\([[:space:]]\)/deb-src\1/p' "$list" >>"$apt_dir/sources.list"
  fi
  for file in "$parts"/*.list; do
    [ -f "$file" ] || continue
    sed -n 's/^[[:space:]]*deb\([[:space:]]\)/deb-src\1/p' "$file" >>"$apt_dir/sources.list"
  done
  for file in "$parts"/*.sources; do
    [ -f "$file" ] || continue
    # Stanzas are separated by blank lines; keep those whose Types has deb.
    awk 'BEGIN { RS = ""; ORS = "\n\n" }
         {
           n = split($0, lines, "\n"); keep = 0; out = ""
           for (i = 1; i <= n; i++) {
             if (lines[i] ~ /^Types:/) {
               if (lines[i] ~ /[: \t]deb([ \t]|$)/) keep = 1
               lines[i] = "Types: deb-src"
             }
             out = out lines[i] "\n"
           }
           if (keep) printf "%s\n", out
         }' "$file" >"$apt_dir/sources.list.d/$(basename "$file")"
  done
  if ! grep -qs . "$apt_dir/sources.list" "$apt_dir"/sources.list.d/*.sources; then
    die "this machine's apt configuration ($list, $parts) has no deb entries to take sources from"
  fi
}

# The source indexes, fetched once; again when TAGWRIGHT_WINDOWS_LIBS_UPDATE=1.
ensure_source_indexes() {
  if [ -f "$apt_dir/updated" ] && [ "${TAGWRIGHT_WINDOWS_LIBS_UPDATE:-0}" != 1 ]; then return; fi
  write_source_entries
  rm -f "$cache/sources/unavailable"
  say "fetching the source package indexes"
  local attempt
  for attempt in 1 2 3; do
    if apt-get "${apt_options[@]}" -qq update; then
      date -u +%FT%TZ >"$apt_dir/updated"
      return
    fi
    say "apt-get update of the source indexes failed (attempt $attempt of 3)"
    sleep $((attempt * 10))
  done
  die "cannot fetch the source package indexes"
}

# The versions of a source package that the indexes offer, newest first.
offered_versions() {
  apt-cache "${apt_options[@]}" showsrc --only-source "$1" 2>/dev/null |
    sed -n 's/^Version: //p' | sort -u | sort_versions_descending
}

sort_versions_descending() {
  local versions=() v i j
  while read -r v; do versions+=("$v"); done
  for ((i = 1; i < ${#versions[@]}; i++)); do
    v=${versions[i]}
    j=$((i - 1))
    while [ $j -ge 0 ] && dpkg --compare-versions "${versions[j]}" lt "$v"; do
      versions[j + 1]=${versions[j]}
      j=$((j - 1))
    done
    versions[j + 1]=$v
  done
  [ ${#versions[@]} -eq 0 ] || printf '%s\n' "${versions[@]}"
}

# The versions of source package $1 in order of preference: the installed
# native library's, then the archive's from the newest.
preferred_versions() {
  local source=$1 installed offered
  installed=$(dpkg-query -W -f='${source:Version}' "${native_package[$source]}" 2>/dev/null || true)
  offered=$(offered_versions "$source")
  [ -n "$offered" ] || die "the archive offers no source package $source"
  if [ -n "$installed" ] && grep -qxF "$installed" <<<"$offered"; then
    printf '%s\n' "$installed"
    grep -vxF "$installed" <<<"$offered" || true
  else
    printf '%s\n' "$offered"
  fi
}

# Chooses each library's version: the first preferred one whose source is
# unpacked in the cache or can be fetched (an index can name a version that
# the mirror no longer serves).
declare -A version
resolve_versions() {
  local source candidate lock
  mkdir -p "$cache"
  # One run at a time fetches indexes and sources.
  exec {lock}>"$cache/.lock-sources"
  flock "$lock"
  ensure_source_indexes
  for source in "${libraries[@]}"; do
    for candidate in $(preferred_versions "$source"); do
      if fetch_source "$source" "$candidate"; then
        version[$source]=$candidate
        break
      fi
    done
    [ -n "${version[$source]:-}" ] || die "no version of the source package $source can be fetched"
  done
  exec {lock}>&-
}

# --- the cache key ---------------------------------------------------------

triple() { echo "$1-w64-mingw32"; }

prefix_of() {
  local arch=$1 compiler key source
  compiler=$("$(triple "$arch")-g++-posix" --version 2>/dev/null | head -n 1) ||
    die "$(triple "$arch")-g++-posix is missing: install g++-mingw-w64 (scripts/setup.sh does)"
  key=$(
    {
      echo "arch $arch"
      echo "compiler $compiler"
      for source in "${libraries[@]}"; do echo "$source ${version[$source]}"; done
      sha256sum <"$script"
      sha256sum <"$root/cmake/toolchains/mingw-w64.cmake"
    } | sha256sum | cut -c1-16
  )
  echo "$cache/$arch-$key"
}

# --- sources ---------------------------------------------------------------

source_folder() { echo "$cache/sources/${1}_${2//:/%}"; }

# Fetches and unpacks version $2 of source package $1 (Debian's patches
# applied), unless it is unpacked already.
fetch_source() {
  local source=$1 v=$2 folder
  folder=$(source_folder "$source" "$v")
  [ -f "$folder/.unpacked" ] && return 0
  # A version the mirror refused once is not asked for again until the
  # indexes are fetched anew.
  if grep -qxF "$source $v" "$cache/sources/unavailable" 2>/dev/null; then return 1; fi
  rm -rf "$folder"
  mkdir -p "$folder/download"
  say "fetching the source of $source $v"
  if ! (cd "$folder/download" && apt-get "${apt_options[@]}" -qq --download-only source "$source=$v" >&2); then
    say "$source $v cannot be fetched: trying the next version"
    rm -rf "$folder"
    echo "$source $v" >>"$cache/sources/unavailable"
    return 1
  fi
  command -v dpkg-source >/dev/null || die "dpkg-source is missing: install dpkg-dev"
  # apt-get checked the files against the signed index; dpkg-source checks
  # them against the .dsc again, and applies Debian's patches.
  (cd "$folder" && dpkg-source -x download/*.dsc tree >unpack.log 2>&1) ||
    die "dpkg-source could not unpack $source $v (see $folder/unpack.log)"
  : >"$folder/.unpacked"
}

# The unpacked tree of the chosen version of source package $1.
source_tree() { echo "$(source_folder "$1" "${version[$1]}")/tree"; }

# --- the builds --------------------------------------------------------------

# Every library of one width is built with the project's own toolchain file
# and these flags. The 32-bit build does its floating point in SSE2, as the
# 64-bit and the native builds do, rather than in the x87's wider registers.
flags_of() {
  case $1 in
    i686) echo "-O2 -msse2 -mfpmath=sse" ;;
    x86_64) echo "-O2" ;;
  esac
}

cmake_configure() {  # cmake_configure SOURCE BUILD ARCH PREFIX CMAKE-ARGS...
  local src=$1 build=$2 arch=$3 prefix=$4
  shift 4
  cmake -S "$src" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/$(triple "$arch").cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_C_FLAGS_RELEASE="$(flags_of "$arch") -DNDEBUG" \
    -DCMAKE_CXX_FLAGS_RELEASE="$(flags_of "$arch") -DNDEBUG" \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DBUILD_SHARED_LIBS=OFF "$@" >"$build.log" 2>&1
}

cmake_build() {  # cmake_build SOURCE BUILD ARCH PREFIX CMAKE-ARGS...
  local build=$2
  cmake_configure "$@" &&
    cmake --build "$build" -j "$jobs" >>"$build.log" 2>&1 &&
    cmake --install "$build" >>"$build.log" 2>&1
}

# Debian's zlib source has no win32/ folder (its make files and resource
# script are not free of doubt), and the library is a handful of C files:
# they are compiled here directly.
build_zlib() {  # build_zlib ARCH PREFIX WORK
  local arch=$1 prefix=$2 work=$3 src file
  src=$(source_tree zlib)
  mkdir -p "$work/zlib"
  for file in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast \
    inflate inftrees trees uncompr zutil; do
    # shellcheck disable=SC2046
    "$(triple "$arch")-gcc-posix" $(flags_of "$arch") -DNDEBUG -I"$src" -c "$src/$file.c" \
      -o "$work/zlib/$file.o" >>"$work/zlib.log" 2>&1 || return 1
  done
  "$(triple "$arch")-ar" rcs "$prefix/lib/libz.a" "$work"/zlib/*.o &&
    install -m 644 "$src/zlib.h" "$src/zconf.h" "$prefix/include/"
}

build_libpng() {
  local arch=$1 prefix=$2 work=$3
  cmake_build "$(source_tree libpng1.6)" "$work/libpng" "$arch" "$prefix" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON \
    -DZLIB_INCLUDE_DIR="$prefix/include" -DZLIB_LIBRARY="$prefix/lib/libz.a"
}

# Only what the preview needs: TrueType and its hinting as Debian builds
# them, with zlib and libpng; no HarfBuzz, Brotli or bzip2.
build_freetype() {
  local arch=$1 prefix=$2 work=$3
  cmake_build "$(source_tree freetype)" "$work/freetype" "$arch" "$prefix" \
    -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON -DFT_DISABLE_BZIP2=ON \
    -DFT_REQUIRE_ZLIB=ON -DFT_REQUIRE_PNG=ON \
    -DZLIB_INCLUDE_DIR="$prefix/include" -DZLIB_LIBRARY="$prefix/lib/libz.a" \
    -DPNG_PNG_INCLUDE_DIR="$prefix/include" -DPNG_LIBRARY="$prefix/lib/libpng16.a"
}

# The static library alone: no PNG output (the preview draws zint's
# modules itself), no Qt; its shared library and command-line program,
# which its lists always declare, are not built.
build_zint() {
  local arch=$1 prefix=$2 work=$3 src
  src=$(source_tree zint)
  cmake_configure "$src" "$work/zint" "$arch" "$prefix" \
    -DZINT_STATIC=ON -DZINT_USE_PNG=OFF -DZINT_USE_QT=OFF -DZINT_TEST=OFF &&
    cmake --build "$work/zint" -j "$jobs" --target zint-static >>"$work/zint.log" 2>&1 &&
    install -m 644 "$src/backend/zint.h" "$prefix/include/" &&
    install -m 644 "$work/zint/backend/libzint-static.a" "$prefix/lib/libzint.a"
}

# Header-only as its authors ship it: the source's httplib.h, with Debian's
# patches applied, is the whole library. Nothing is compiled here; the
# programs that include it link Winsock themselves.
build_cpp_httplib() {
  local prefix=$2 src
  src=$(source_tree cpp-httplib)
  [ -f "$src/httplib.h" ] || return 1
  install -m 644 "$src/httplib.h" "$prefix/include/"
}

# The license of each library, from its Debian source package.
copy_licenses() {
  local prefix=$1 source
  mkdir -p "$prefix/licenses"
  for source in "${libraries[@]}"; do
    cp "$(source_tree "$source")/debian/copyright" "$prefix/licenses/$source.copyright"
  done
}

remove_old_folders() {
  local arch=$1 folder
  ls -dt "$cache/$arch"-* 2>/dev/null | grep -Ev '\.(work|new)$' | tail -n +4 |
    while read -r folder; do
      say "$arch: removing the unused $folder"
      rm -rf "$folder"
    done
}

build_width() {
  local arch=$1 prefix work total_start start source seconds build
  prefix=$(prefix_of "$arch")
  if [ -f "$prefix/complete" ]; then
    say "$arch: up to date in $prefix"
    touch "$prefix"
    echo "$prefix"
    return
  fi
  mkdir -p "$cache"
  # One build of a width at a time, whoever starts it.
  exec {lock}>"$cache/.lock-$arch"
  flock "$lock"
  if [ -f "$prefix/complete" ]; then
    say "$arch: built meanwhile in $prefix"
    echo "$prefix"
    return
  fi
  work=$prefix.work
  rm -rf "$work" "$prefix.new"
  mkdir -p "$work" "$prefix.new/include" "$prefix.new/lib"
  say "$arch: building ${libraries[*]} into $prefix"
  total_start=$SECONDS
  : >"$prefix.new/build-times.txt"
  for source in "${libraries[@]}"; do
    start=$SECONDS
    say "$arch: $source ${version[$source]}: building"
    build=${source%%[0-9]*}
    if ! "build_${build//-/_}" "$arch" "$prefix.new" "$work"; then
      local log
      log=$(ls -t "$work"/*.log 2>/dev/null | head -n 1)
      [ -z "$log" ] || tail -n 30 "$log" >&2
      die "$arch: $source failed (log: ${log:-none})"
    fi
    seconds=$((SECONDS - start))
    say "$arch: $source ${version[$source]}: built in $seconds s"
    echo "$source ${version[$source]} $seconds s" >>"$prefix.new/build-times.txt"
  done
  copy_licenses "$prefix.new"
  # Headers, static libraries and licenses are all that is kept.
  rm -rf "$prefix.new/bin" "$prefix.new/share" "$prefix.new/lib/pkgconfig" "$prefix.new/lib/cmake" \
    "$prefix.new/lib/libpng" "$prefix.new/lib/libpng.a"
  for source in "${libraries[@]}"; do echo "$source ${version[$source]}"; done >"$prefix.new/versions.txt"
  echo "all $((SECONDS - total_start)) s ($(nproc) cores, -j $jobs)" >>"$prefix.new/build-times.txt"
  : >"$prefix.new/complete"
  rm -rf "$prefix"
  mv "$prefix.new" "$prefix"
  rm -rf "$work"
  say "$arch: all built in $((SECONDS - total_start)) s"
  remove_old_folders "$arch"
  echo "$prefix"
}

case "${1:-all}" in
  --prefix)
    case "${2:-}" in i686 | x86_64) ;; *) usage ;; esac
    resolve_versions
    prefix_of "$2"
    ;;
  i686 | x86_64)
    resolve_versions
    build_width "$1"
    ;;
  all)
    resolve_versions
    build_width i686
    build_width x86_64
    ;;
  *) usage ;;
esac
