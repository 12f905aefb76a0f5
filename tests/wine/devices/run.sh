#!/usr/bin/env bash
# The DLL's device map under Wine, through tagwright.exe and the registered
# component's COM interfaces, as the host drives them:
#   - LPT1 mapped in the user's registry to the native virtual printer on a
#     loopback port: the labels drawn, their barcodes read back;
#   - a refused connection: the port's prompt with code 10061, and the retry
#     that follows the unanswered prompt printing once the printer listens;
#   - a printer that stops reading: the job fails after the write time-out
#     with a message, and is not sent again;
#   - file:, appending each job, byte for byte what the unmapped port gets;
#     the process map (run --device) winning over the user's entry, which
#     wins over the machine's, and the registry left as it was;
#   - entries that cannot be read (no target, no string) reported by the
#     prompt like a port that cannot be opened, the change of an entry
#     taking effect from the next open;
#   - printer: with a queue that does not exist: the prompt with 1801;
#   - printer: with a raw queue of a private CUPS server (Wine's spooler
#     hands RAW documents to CUPS) whose device is the native virtual
#     printer: one document per job, named after the job, the labels drawn
#     and read back. Reported as not run where cupsd cannot start.
# The prompts are seen in Wine's relay trace of MessageBoxW (the prefix
# traces that one function); without a display each prompt fails at once,
# which the print worker takes as Retry after a pause.
#
#   tests/wine/devices/run.sh BUILD_DIR NATIVE_TAGWRIGHT PICTURE_BARCODES
set -uo pipefail

if [ $# -ne 3 ]; then
  echo "usage: $0 BUILD_DIR NATIVE_TAGWRIGHT PICTURE_BARCODES" >&2
  exit 2
fi
build=$(realpath "$1")
tagwright=$(realpath "$2")
picture_barcodes=$(realpath "$3")
exe=$build/cli/com/tagwright.exe
dll=$build/windows/Tagwright.dll
for file in "$exe" "$dll" "$tagwright" "$picture_barcodes"; do
  [ -f "$file" ] || { echo "devices/run.sh: $file is missing" >&2; exit 2; }
done

unset DISPLAY WAYLAND_DISPLAY
source "$(dirname "$0")/../../test_helpers.sh"
wine_env "$build" devices/run.sh wineprefix-devices || exit 2
"$wine" regsvr32 /s "$(windows_path "$dll")" || { echo "devices/run.sh: regsvr32 failed" >&2; exit 1; }
"$wine" reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /d user32.MessageBoxW /f >/dev/null 2>&1

work=$(mktemp -d "${TMPDIR:-/tmp}/tagwright-wine-devices.XXXXXX")
printer_pid=
cupsd_pid=
run_pid=
trap '[ -n "$printer_pid" ] && kill "$printer_pid" 2>/dev/null
      [ -n "$cupsd_pid" ] && kill "$cupsd_pid" 2>/dev/null
      [ -n "$run_pid" ] && kill "$run_pid" 2>/dev/null
      wineserver -k 2>/dev/null; [ -n "${KEEP_WORK:-}" ] || rm -rf "$work"' EXIT

users='HKCU\Software\Tagwright\Devices'
machines='HKLM\Software\Tagwright\Devices'
set_entry() { "$wine" reg add "$1" /v "$2" /t "${4:-REG_SZ}" /d "$3" /f >/dev/null 2>&1; }
drop_entry() { "$wine" reg delete "$1" /v "$2" /f >/dev/null 2>&1; }
entry_of() { "$wine" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_SZ *//p"; }

# A script of one label for port NUMBER with a barcode of DATA. (No script
# is named like a port: "lpt1.tws" is the device LPT1 on Windows.)
label_script() {  # label_script FILE NUMBER DATA
  cat >"$1" <<SCRIPT
NumberPort = $2
LabelHeight = 30
LabelWidth = 58
GapLenght = 3
BarcodeWidth = 2
StartLabel()
PutText(20, 10, 1, 1, 1, 0, "A", "Молоко")
PutBarcode("Q", 20, 50, 80, 0, "$3")
Print(1)
SCRIPT
}

# Runs tagwright.exe run with the given options and script; the relay trace
# of its message boxes goes to $work/NAME.trace.
run_exe() {  # run_exe NAME ARGS...
  local name=$1
  shift
  WINEDEBUG=+relay "$wine" "$exe" run --profile "$(windows_path "$work")\\$name.profile" "$@" \
    >"$work/$name.out" 2>"$work/$name.trace"
}

# Starts run_exe in the background; $run_pid is its process.
start_run() {
  run_exe "$@" &
  run_pid=$!
}

# Waits (at most SECONDS) for the background run to end; its status.
wait_run() {  # wait_run SECONDS
  local tries=0 limit=$(($1 * 10))
  while kill -0 "$run_pid" 2>/dev/null && [ $tries -lt $limit ]; do
    sleep 0.1
    tries=$((tries + 1))
  done
  if kill -0 "$run_pid" 2>/dev/null; then
    kill "$run_pid" 2>/dev/null
    wineserver -k 2>/dev/null
    wait "$run_pid" 2>/dev/null
    run_pid=
    return 124
  fi
  wait "$run_pid"
  local status=$?
  run_pid=
  wineserver -w
  return $status
}

# The message boxes of a run, one line each: the style, then the text.
boxes() { [ -f "$work/$1.trace" ] && sed -n 's/.*Call user32\.MessageBoxW([^,]*,[0-9a-f]* \(L".*"\),[0-9a-f]* L"[^"]*",\([0-9a-f]*\)).*/\2 \1/p' "$work/$1.trace"; }

# Waits (at most ten seconds) until a run has shown a box matching PATTERN.
wait_box() {  # wait_box NAME PATTERN
  local tries=0
  until boxes "$1" | grep -q "$2"; do
    [ $tries -ge 100 ] && return 1
    sleep 0.1
    tries=$((tries + 1))
  done
}

# Starts the native printer on 127.0.0.1:PORT (0: any); sets $port.
start_printer() {  # start_printer LOG PORT OPTIONS...
  local log=$1 tries=0
  shift
  local want=$1
  shift
  "$tagwright" printer --listen "127.0.0.1:$want" --speed-factor 100 "$@" >"$log" 2>"$log.err" &
  printer_pid=$!
  while ! grep -qs '^listening on' "$log" && [ $tries -lt 200 ]; do sleep 0.01; tries=$((tries + 1)); done
  port=$(sed -n 's/^listening on .*127\.0\.0\.1:\([0-9]*\).*/\1/p' "$log" | head -n 1)
}

stop_printer() {
  kill -TERM "$printer_pid" 2>/dev/null
  wait "$printer_pid" 2>/dev/null
  printer_pid=
}

read_back() { "$picture_barcodes" $(ls "$1"/*.png 2>/dev/null | sort -V) | sed 's/.*: //' | tr '\n' ' '; }

passed=0
failed=0
# A refused connection is the prompt's error 10061 (in the box's text, after
# "Код ошибки: ", which the trace shows escaped).
refused='10061"$'

# LPT1 through the user's map to a network printer.
label_script "$work/to-lpt1.tws" 0 TW-000123
start_printer "$work/net.log" 0 --preview "$work/net"
net_entry="tcp://127.0.0.1:$port"
set_entry "$users" LPT1 "$net_entry"
run_exe net "$(windows_path "$work/to-lpt1.tws")"
status=$?
wineserver -w
stop_printer
expect_ok "LPT1 mapped to tcp:// prints (exit $status)" [ $status -eq 0 ]
expect_ok "no prompt for a printer that takes the job" [ -z "$(boxes net)" ]
expect_ok "the label's barcode reads back ($(read_back "$work/net"))" \
  [ "$(read_back "$work/net")" = "TW-000123 " ]
expect_ok "the printer logged one label" [ "$(grep -c '^job [0-9]*, label ' "$work/net.log")" = 1 ]

# Refused: nobody listens on the port until the prompt has been shown;
# the retry then prints. A short busy time-out from run --device.
start_printer "$work/free.log" 0
free_port=$port
stop_printer
label_script "$work/retry.tws" 0 TW-000777
start_run retry --device "LPT1=tcp://127.0.0.1:$free_port" --busy-timeout 0.3 \
  "$(windows_path "$work/retry.tws")"
expect_ok "a refused connection is asked about with code 10061" wait_box retry "$refused"
expect_ok "the prompt is the port's Abort/Retry/Ignore box" \
  [ "$(boxes retry | head -n 1 | cut -d ' ' -f 1)" = 00000112 ]
start_printer "$work/retry.log" "$free_port" --preview "$work/retry"
wait_run 30
status=$?
stop_printer
expect_ok "the retry prints once the printer listens (exit $status)" [ $status -eq 0 ]
expect_ok "its barcode reads back ($(read_back "$work/retry"))" [ "$(read_back "$work/retry")" = "TW-000777 " ]
expect_ok "the user's entry is left as it was" [ "$(entry_of "$users" LPT1)" = "$net_entry" ]

# A printer that stops reading: a job larger than the connection's buffers
# fails after the write time-out, with a message, and is not sent again.
{
  echo 'NumberPort = 0'
  echo 'StartLabel()'
  for n in $(seq 1 6000); do echo "PutText(20, 10, 1, 1, 1, 0, \"A\", \"line $n of a very long label, to fill the buffers\")"; done
  echo 'Print(1)'
} >"$work/stall.tws"
start_printer "$work/stall.log" 0 --tcp-fault stop-reading
started=$(date +%s)
start_run stall --device "LPT1=tcp://127.0.0.1:$port" --write-timeout 2 \
  "$(windows_path "$work/stall.tws")"
wait_run 60
status=$?
took=$(($(date +%s) - started))
stop_printer
expect_ok "the stalled job ends (exit $status, $took s)" [ $status -eq 0 ]
told=$(boxes stall)
expect_ok "it is told as a failure, once ($told)" [ "$(grep -c 'did not reach the printer whole' <<<"$told")" = 1 ]
expect_ok "the message says why" grep -q 'took no data' <<<"$told"
expect_ok "the message is no prompt (OK only)" [ "$(cut -d ' ' -f 1 <<<"$told")" = 00000010 ]
expect_ok "the job was not sent again (one connection)" \
  [ "$(grep -c 'took the connection' "$work/stall.log")" = 1 ]

# file: appends each job, the bytes the unmapped COM5 gets.
label_script "$work/to-com3.tws" 5 TW-3
label_script "$work/to-com5.tws" 7 TW-3
: >"$work/com5.port"
ln -sfn "$work/com5.port" "$WINEPREFIX/dosdevices/com5"
run_exe plain "$(windows_path "$work/to-com5.tws")"
wineserver -w
set_entry "$users" COM3 "file:$(windows_path "$work")\\user.prn"
set_entry "$machines" COM3 "file:$(windows_path "$work")\\machine.prn"
run_exe file1 "$(windows_path "$work/to-com3.tws")"
run_exe file2 "$(windows_path "$work/to-com3.tws")"
wineserver -w
expect_ok "the unmapped COM5 got a job" [ -s "$work/com5.port" ]
expect_ok "file: holds both jobs, each byte for byte what COM5 got" \
  cmp -s "$work/user.prn" <(cat "$work/com5.port" "$work/com5.port")
expect_ok "the user's entry wins over the machine's" [ ! -e "$work/machine.prn" ]
drop_entry "$users" COM3
run_exe file3 "$(windows_path "$work/to-com3.tws")"
wineserver -w
expect_ok "without the user's entry the machine's is used" cmp -s "$work/machine.prn" "$work/com5.port"
run_exe file4 --device "com3=file:$(windows_path "$work")\\process.prn" "$(windows_path "$work/to-com3.tws")"
wineserver -w
expect_ok "run --device wins over the registry" cmp -s "$work/process.prn" "$work/com5.port"
expect_ok "and leaves it as it was" \
  [ "$(entry_of "$machines" COM3)" = "file:$(windows_path "$work")\\machine.prn" ]
expect_ok "and the machine's file got nothing more" cmp -s "$work/machine.prn" "$work/com5.port"

# Entries that cannot be read: the prompt, like a port that cannot be
# opened; once the entry is fixed the next open prints.
set_entry "$users" LPT2 'garbage \\server'
label_script "$work/to-lpt2.tws" 1 TW-2
start_run garbage "$(windows_path "$work/to-lpt2.tws")"
expect_ok "an entry of no known form is asked about (ERROR_INVALID_NAME)" wait_box garbage '123"$'
set_entry "$users" LPT2 "file:$(windows_path "$work")\\fixed.prn"
wait_run 20
status=$?
expect_ok "the fixed entry is used from the next open (exit $status)" \
  [ "$status" -eq 0 -a -s "$work/fixed.prn" ]
expect_ok "a mapped LPT gets no zero test byte" [ "$(head -c 1 "$work/fixed.prn" | od -An -tx1 | tr -d ' ')" != 00 ]
set_entry "$users" COM4 1 REG_DWORD
label_script "$work/to-com4.tws" 6 TW-4
start_run dword "$(windows_path "$work/to-com4.tws")"
expect_ok "an entry that is no string is asked about (ERROR_UNSUPPORTED_TYPE)" wait_box dword '1630"$'
set_entry "$users" COM4 "file:$(windows_path "$work")\\fourth.prn"
wait_run 20
expect_ok "and the string that replaced it is used" [ -s "$work/fourth.prn" ]

# printer: a queue that does not exist is asked about with 1801.
label_script "$work/to-lpt3.tws" 2 TW-5
start_run queue --device "LPT3=printer:No Such Queue" "$(windows_path "$work/to-lpt3.tws")"
expect_ok "an unknown printer queue is asked about with 1801" wait_box queue '1801"$'
kill "$run_pid" 2>/dev/null
wineserver -k 2>/dev/null
wait "$run_pid" 2>/dev/null
run_pid=

# printer: through Wine's spooler to a raw queue of a CUPS server of our
# own (on a loopback port, its folders in $work), whose device is the native
# virtual printer. Wine's winspool reaches CUPS through libcups, which
# CUPS_SERVER points at this server.
start_cupsd() {  # start_cupsd ROOT QUEUE DEVICE-URI; sets cupsd_pid and cupsd_port
  local root=$1
  mkdir -p "$root"/conf "$root"/spool "$root"/cache "$root"/state "$root"/log "$root"/tmp
  chmod 755 "$work" "$root"  # cupsd's back ends run as lp and read the jobs there
  cupsd_port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  printf '%s\n' "Listen 127.0.0.1:$cupsd_port" 'LogLevel warn' 'WebInterface No' 'Browsing No' \
    'DefaultAuthType None' '<Location />' 'Order allow,deny' 'Allow all' \
    '</Location>' '<Policy default>' 'JobPrivateAccess all' 'JobPrivateValues none' \
    '<Limit All>' 'Order deny,allow' 'Allow all' '</Limit>' \
    '</Policy>' >"$root/conf/cupsd.conf"
  { [ "$(id -u)" = 0 ] && printf 'User lp\nGroup lp\n'
    for entry in "ServerRoot conf" "RequestRoot spool" "CacheDir cache" "StateDir state" \
      "TempDir tmp" "ErrorLog log/error_log" "AccessLog log/access_log" "PageLog log/page_log"; do
      echo "${entry%% *} $root/${entry#* }"
    done
    printf 'ServerBin /usr/lib/cups\nDataDir /usr/share/cups\n'; } >"$root/conf/cups-files.conf"
  # A queue without a PPD is a raw one: the job's bytes go to the device as they are.
  printf '<Printer %s>\nDeviceURI %s\nState Idle\nAccepting Yes\nShared No\nErrorPolicy abort-job\n</Printer>\n' \
    "$2" "$3" >"$root/conf/printers.conf"
  /usr/sbin/cupsd -f -c "$root/conf/cupsd.conf" -s "$root/conf/cups-files.conf" >"$root/log/out" 2>&1 &
  cupsd_pid=$!
  for _ in $(seq 100); do
    kill -0 "$cupsd_pid" 2>/dev/null || return 1
    (exec 3<>"/dev/tcp/127.0.0.1/$cupsd_port") 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}
# The names and states of the queue's jobs, one "NAME|STATE" line each
# (asked as their owner, to whom the names are shown).
cups_jobs() {  # cups_jobs QUEUE
  printf '%s\n' '{' 'OPERATION Get-Jobs' 'GROUP operation-attributes-tag' \
    'ATTR charset attributes-charset utf-8' 'ATTR naturalLanguage attributes-natural-language en' \
    'ATTR uri printer-uri $uri' "ATTR name requesting-user-name $(id -un)" 'ATTR keyword which-jobs all' \
    'ATTR keyword requested-attributes job-name,job-state' 'DISPLAY job-name' 'DISPLAY job-state' '}' \
    >"$work/get-jobs.test"
  ipptool -t -v "ipp://127.0.0.1:$cupsd_port/printers/$1" "$work/get-jobs.test" 2>&1 | tee "$work/get-jobs.out" |
    sed -n 's/^ *job-name (name[^)]*) = \(.*\)$/\1/p; s/^ *job-state (enum) = \(.*\)$/|\1/p' |
    paste -d '' - -
}
if [ ! -x /usr/sbin/cupsd ] || ! command -v ipptool >/dev/null; then
  echo "NOT RUN: printer: through a private CUPS server: cupsd or ipptool is missing (cups, cups-ipp-utils)"
else
  start_printer "$work/spooled.log" 0 --preview "$work/spooled"
  if ! start_cupsd "$work/cups" tagwright-raw "socket://127.0.0.1:$port"; then
    echo "NOT RUN: printer: through a private CUPS server: cupsd did not start ($(tail -n 3 "$work/cups/log/"* 2>/dev/null | tr '\n' ' ' | head -c 300))"
  else
    cat >"$work/to-queue.tws" <<'SCRIPT'
NumberPort = 2
LabelHeight = 30
LabelWidth = 58
BarcodeWidth = 2
StartLabel()
PutBarcode("Q", 20, 50, 80, 0, "TW-Q1")
Print(1)
StartLabel()
PutBarcode("Q", 20, 50, 80, 0, "TW-Q2")
Print(1)
SCRIPT
    export CUPS_SERVER=127.0.0.1:$cupsd_port
    run_exe spooled --device "LPT3=printer:tagwright-raw" \
      "$(windows_path "$work/to-queue.tws")"
    status=$?
    wineserver -w
    for _ in $(seq 150); do
      [ "$(cups_jobs tagwright-raw | grep -c '|completed$')" -ge 2 ] &&
        [ "$(ls "$work/spooled"/*.png 2>/dev/null | wc -l)" -ge 2 ] && break
      sleep 0.2
    done
    jobs=$(cups_jobs tagwright-raw)
    # The server keeps each job's attributes in its control file (c00001...),
    # names included, and one data file per document (d00001-001...): the
    # names come from there, as Get-Jobs hides them once a job has completed.
    jobs=$(paste -d '' <(for control in "$work/cups/spool"/c*; do
      grep -ao 'Tagwright LPT3 job [0-9]*' "$control" | head -n 1
    done) <(sed -n 's/^ *job-state (enum) = \(.*\)$/|\1/p' "$work/get-jobs.out"))
    documents=$(ls "$work/cups/spool" | grep -c '^d')
    unset CUPS_SERVER
    kill "$cupsd_pid" 2>/dev/null
    wait "$cupsd_pid" 2>/dev/null
    cupsd_pid=
    stop_printer
    expect_ok "printer: to a CUPS raw queue prints (exit $status)" [ $status -eq 0 ]
    expect_ok "no prompt for a queue that takes the jobs" [ -z "$(boxes spooled)" ]
    expect_ok "one RAW document per job, named after it, both printed ($(tr '\n' ' ' <<<"$jobs"), $documents documents)" \
      [ "$jobs/$documents" = "$(printf 'Tagwright LPT3 job 1|completed\nTagwright LPT3 job 2|completed')/2" ]
    expect_ok "the printer drew both labels, and their barcodes read back ($(read_back "$work/spooled"))" \
      [ "$(read_back "$work/spooled")" = "TW-Q1 TW-Q2 " ]
  fi
  [ -n "$printer_pid" ] && stop_printer
fi

# tagwright.exe devices keeps the user's map: --map and --unmap change the
# registry key the component reads, and the listing shows the map first.
"$wine" "$exe" devices --map 'com2=tcp://10.0.0.7' --map "LPT3=printer:\\\\server\\labels" --unmap LPT2 \
  >"$work/map.out" 2>"$work/map.err"
status=$?
tr -d '\r' <"$work/map.out" >"$work/map.txt"
expect_ok "devices --map and --unmap exit 0 ($(head -c 300 "$work/map.err"))" [ $status -eq 0 ]
expect_ok "the registry holds the new entries" \
  [ "$(entry_of "$users" COM2)" = tcp://10.0.0.7 -a "$(entry_of "$users" LPT3)" = 'printer:\\server\labels' ]
expect_ok "the unmapped entry is gone" [ -z "$(entry_of "$users" LPT2)" ]
expect_ok "devices shows the map first" \
  bash -c "head -n 1 '$work/map.txt' | grep -q '^Device map (HKEY_CURRENT_USER' &&
           grep -q '^  COM2 = tcp://10.0.0.7:9100\$\|^  COM2 = tcp://10.0.0.7\$' '$work/map.txt'"
"$wine" "$exe" devices --map 'COM1=/dev/ttyS0' >/dev/null 2>"$work/badmap.err"
status=$?
expect_ok "a target of no known form is refused (exit $status)" \
  bash -c "[ $status -eq 2 ] && grep -q 'tcp://HOST\[:PORT\], printer:NAME or file:PATH' '$work/badmap.err'"
expect_ok "and not saved" [ -z "$(entry_of "$users" COM1)" ]

"$wine" regsvr32 /s /u "$(windows_path "$dll")"
wineserver -w
echo "wine devices ($wine_width-bit): $passed checks passed"
[ $failed -eq 0 ]
