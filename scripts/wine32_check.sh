#!/usr/bin/env bash
# Checks that this machine runs 32-bit Windows programs under Wine, which the
# 32-bit test stages need (the product is the 32-bit DLL).
#
# Usage: scripts/wine32_check.sh [--install] [SCRATCH]
#   Builds a tiny 32-bit program into SCRATCH (default build/wine32-check) and
#   runs it with Wine's 32-bit loader. With --install, when the kernel refuses
#   32-bit programs, registers Debian's qemu-user-static i386 interpreter with
#   binfmt_misc (mounting binfmt_misc first when needed, with the fix-binary
#   flag so the interpreter works in every mount namespace) and checks again.
#   When even qemu does not make them run, the registration is taken back, so
#   that the machine is left as it was.
#   Exit status 0 when 32-bit programs run. Otherwise prints the reason and
#   writes it to SCRATCH/reason, which the test stages repeat.
set -uo pipefail
cd "$(dirname "$0")/.."

install=0
if [ "${1:-}" = "--install" ]; then install=1; shift; fi
scratch=${1:-build/wine32-check}
mkdir -p "$scratch"
rm -f "$scratch/reason"

fail() {
  echo "wine32 check: $*" >&2
  echo "$*" >"$scratch/reason"
  exit 1
}

loader=/usr/lib/wine/wine
[ -x "$loader" ] || fail "no 32-bit Wine loader at $loader: run 'dpkg --add-architecture i386 && apt-get update && apt-get install wine32:i386' (scripts/setup.sh does)"
command -v i686-w64-mingw32-gcc >/dev/null || fail "no 32-bit cross compiler: install g++-mingw-w64-i686 (scripts/setup.sh does)"

program=$scratch/hello32.exe
i686-w64-mingw32-gcc -O2 -o "$program" tests/wine/wine32/hello32.c ||
  fail "cannot build the 32-bit check program"

run_once() {
  WINEPREFIX=$(realpath "$scratch")/wineprefix WINEARCH=win32 WINEDEBUG=err+all \
    WINEDLLOVERRIDES="mscoree,mshtml=" timeout 120 "$loader" "$program" 2>"$scratch/stderr"
}

if run_once; then exit 0; fi
first_error=$(tail -n 3 "$scratch/stderr" | tr '\n' ' ')
case "$first_error" in
  *"Syntax error"* | *"Exec format error"* | *"cannot execute binary file"*)
    first_error="the kernel refuses 32-bit programs: its IA-32 emulation is off or missing" ;;
esac

if [ "$install" -eq 0 ]; then
  if [ -s "$scratch/qemu-failed" ]; then
    fail "a 32-bit Windows program does not run here ($first_error), and not through qemu-i386 either when the set-up tried it ($(cat "$scratch/qemu-failed"))"
  fi
  fail "a 32-bit Windows program does not run here ($first_error); scripts/wine32_check.sh --install registers qemu's i386 interpreter"
fi

echo "wine32 check: 32-bit programs refused ($first_error); registering qemu's i386 interpreter"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
qemu=/usr/bin/qemu-i386-static
[ -x "$qemu" ] || fail "32-bit programs are refused and $qemu is missing: install qemu-user-static"
binfmt=/proc/sys/fs/binfmt_misc
if [ ! -e "$binfmt/register" ]; then
  "${sudo_cmd[@]}" mount -t binfmt_misc binfmt_misc "$binfmt" ||
    fail "32-bit programs are refused and binfmt_misc cannot be mounted at $binfmt"
fi
registered=0
if [ ! -e "$binfmt/qemu-i386" ]; then
  registered=1
  # ELF 32-bit little-endian, machine i386 (3) in executables (2) and shared objects (3).
  magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  printf ':qemu-i386:M::%s:%s:%s:F' "$magic" "$mask" "$qemu" |
    "${sudo_cmd[@]}" tee "$binfmt/register" >/dev/null ||
    fail "32-bit programs are refused and the i386 interpreter cannot be registered with binfmt_misc"
fi
if run_once; then
  echo "wine32 check: 32-bit programs run through qemu-i386"
  rm -f "$scratch/qemu-failed"
  exit 0
fi
qemu_error=$(tail -n 3 "$scratch/stderr" | tr '\n' ' ')
[ -n "$qemu_error" ] || qemu_error="exit status without a message"
echo "$qemu_error" >"$scratch/qemu-failed"
if [ "$registered" -eq 1 ]; then
  echo -1 | "${sudo_cmd[@]}" tee "$binfmt/qemu-i386" >/dev/null 2>&1
fi
fail "32-bit Windows programs do not run here ($first_error), and not through qemu-i386 either ($qemu_error)"
