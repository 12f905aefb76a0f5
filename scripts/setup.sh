#!/usr/bin/env bash
# Installs everything Tagwright needs to build and test on Debian 12:
# compilers (native and MinGW-w64 cross), the MSI tools (wixl, msitools),
# test and benchmark libraries,
# 64-bit and 32-bit Wine for the Windows integration tests (the product is
# the 32-bit DLL), Xvfb for the settings page, and the Russian locale that
# gives Wine its 1251/866 code pages, and headless Chromium with its driver
# and Selenium for the designer's browser tests, and the CUPS server and its
# IPP tool for the Windows printer-queue test. At the end it checks that a 32-bit
# Windows program runs, and if it does not, registers qemu's i386
# interpreter with binfmt_misc and checks again.
# Safe to run again: it installs only what is missing.
# Usage: scripts/setup.sh [--native]   (--native: only what the program needs, as the demo builds it)
set -euo pipefail

# What the demo's program needs to build and run, and nothing only the tests use.
native_packages=(
  build-essential g++ cmake ninja-build pkg-config nlohmann-json3-dev libcli11-dev
  libzint-dev libfreetype-dev libfontconfig-dev libpng-dev fonts-liberation2 libcups2-dev
  libcpp-httplib-dev
)
packages=(
  build-essential g++ clang libclang-rt-14-dev clang-format cmake ninja-build pkg-config
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools binutils-mingw-w64 wixl msitools
  wine64 wine32:i386 qemu-user-static xvfb x11-apps imagemagick locales
  libcli11-dev nlohmann-json3-dev libzint-dev libfreetype-dev libfontconfig-dev libpng-dev fonts-liberation2
  libzxing-dev libcups2-dev cups cups-ipp-utils debootstrap
  libcpp-httplib-dev chromium chromium-driver python3-selenium
  dpkg-dev
)

if [ "${1:-}" = "--native" ]; then packages=("${native_packages[@]}"); fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

if [ ${#missing[@]} -gt 0 ]; then
  # wine32 is an i386 package: the architecture must be known before the update.
  if [ "${1:-}" != "--native" ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "setup: adding the i386 architecture (for wine32)"
    "${sudo_cmd[@]}" dpkg --add-architecture i386
  fi
  echo "setup: installing ${missing[*]}"
  # A mirror in the middle of a sync fails one index now and then; try
  # again before giving up, and let the install say what is really missing.
  for attempt in 1 2 3; do
    "${sudo_cmd[@]}" apt-get update -qq && break
    echo "setup: apt-get update failed (attempt $attempt of 3)"
    sleep $((attempt * 10))
  done
  if ! DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null; then
    # 32-bit packages must match their 64-bit twins version for version; a
    # mirror that serves one architecture's index late leaves them unsolvable
    # for a while. Install the rest: the 32-bit Wine stages then say why they
    # did not run.
    rest=()
    for p in "${missing[@]}"; do [[ "$p" == *:i386 ]] || rest+=("$p"); done
    if [ ${#rest[@]} -eq ${#missing[@]} ]; then exit 1; fi
    echo "setup: the 32-bit packages cannot be installed now; installing the rest"
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${rest[@]}" >/dev/null
  fi
fi

if [ "${1:-}" = "--native" ]; then
  echo "setup: all packages present"
  exit 0
fi

# Wine takes its ANSI and OEM code pages from the locale.
if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; then
  echo "setup: generating the ru_RU.UTF-8 locale"
  "${sudo_cmd[@]}" sed -i 's/^# *\(ru_RU.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ru_RU.UTF-8 UTF-8' /etc/locale.gen || echo 'ru_RU.UTF-8 UTF-8' | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
  "${sudo_cmd[@]}" locale-gen >/dev/null
fi
echo "setup: all packages present"

# The 32-bit stages need 32-bit Windows programs to run; find out now.
bash "$(dirname "$0")/wine32_check.sh" --install ||
  echo "setup: 32-bit Windows programs do not run here; the 32-bit test stages will fail with the reason"
