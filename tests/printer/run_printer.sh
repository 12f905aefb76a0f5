#!/usr/bin/env bash
# The virtual printer as a program of its own: `tagwright printer` started
# in the background on a free TCP port and on a pseudo-terminal, printed to
# and asked by the same program, stopped by SIGTERM and SIGINT; and a job
# file read to its end. Usage: run_printer.sh TAGWRIGHT PICTURE_BARCODES
set -uo pipefail
tagwright=$(realpath "$1")
picture_barcodes=$(realpath "$2")
source "$(dirname "$0")/../test_helpers.sh"
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
cd "$work"

cat > label.tws <<'SCRIPT'
NumberPort = 3
LabelHeight = 30
LabelWidth = 58
BarcodeWidth = 2
StartLabel()
PutBarcode("Q", 20, 50, 80, 0, "TW-000123")
Print(2)
SCRIPT

# Waits (at most two seconds) until FILE has a first line, and prints it.
first_line() {
  local file=$1 tries=0
  while [ ! -s "$file" ] && [ $tries -lt 200 ]; do sleep 0.01; tries=$((tries + 1)); done
  head -n 1 "$file"
}

# Sends SIGNAL to PID and waits (at most two seconds) for it to end; sets
# $stopped to its exit status, or to "still running".
stop_printer() {
  local signal=$1 pid=$2 tries=0
  kill -s "$signal" "$pid"
  while kill -0 "$pid" 2>/dev/null && [ $tries -lt 200 ]; do sleep 0.01; tries=$((tries + 1)); done
  if kill -0 "$pid" 2>/dev/null; then
    stopped="still running"
    kill -KILL "$pid"
    return
  fi
  wait "$pid"
  stopped=$?
}

# A network printer, JSON lines.
"$tagwright" printer --listen 127.0.0.1:0 --json --preview pictures --speed-factor 100 \
  > tcp.log 2> tcp.err &
tcp_pid=$!
listening=$(first_line tcp.log)
address=$(sed -n 's/.*"at":"\([^"]*\)".*/\1/p' <<< "$listening")
expect_ok "the TCP printer says where it listens" grep -q '^127\.0\.0\.1:[0-9][0-9]*$' <<< "$address"
timeout 20 "$tagwright" run --profile profile --quiet --confirm --status-timeout 1 \
  --device "COM1=tcp://$address" label.tws > run.out 2> run.err
expect_ok "run --confirm over tcp:// exits 0" [ $? -eq 0 ]
expect_ok "run --confirm says the job printed" grep -q 'job 1 on COM1: printed (00,00000)' run.err
timeout 10 "$tagwright" status --device "COM1=tcp://$address" > status.out 2>&1
expect_ok "status over tcp:// exits 0" [ $? -eq 0 ]
expect_ok "status says ready" grep -qx "COM1 (tcp://$address): ready (00,00000)" status.out
stop_printer TERM $tcp_pid
expect_ok "SIGTERM stops the TCP printer with status 0" [ "$stopped" = 0 ]
expect_ok "its last line says why" grep -q '{"event":"stopped","reason":"terminated (SIGTERM)"}' tcp.log
expect_ok "one label line with 2 copies" grep -q '{"event":"label","job":1,"label":1,"copies":2,' tcp.log
expect_ok "one job line" grep -q '{"event":"job","job":1,"bytes":[0-9]*,"labels":1,"copies":2,' tcp.log
expect_ok "the picture shows the script's barcode" \
  grep -qx "pictures/job1-1.png: TW-000123" <<< "$("$picture_barcodes" pictures/job1-1.png)"

# A serial printer on a pseudo-terminal, in a fault from the start.
"$tagwright" printer --pty --state paused > pty.log 2> pty.err &
pty_pid=$!
terminal=$(first_line pty.log | sed -n 's/^listening on pseudo-terminal //p')
expect_ok "the pseudo-terminal printer names its terminal" [ -c "$terminal" ]
timeout 10 "$tagwright" status --status-timeout 1 --device "COM2=$terminal" > status.out 2>&1
expect_ok "status of a paused printer exits 4" [ $? -eq 4 ]
expect_ok "status says paused" grep -qx "COM2 ($terminal): paused (20,00000)" status.out
stop_printer INT $pty_pid
expect_ok "SIGINT stops the pseudo-terminal printer with status 0" [ "$stopped" = 0 ]
expect_ok "its last line says why" grep -qx 'stopped: interrupted (SIGINT)' pty.log

# A job file: read to its end, then the printer stops by itself.
"$tagwright" run --profile profile --output job.prn label.tws > /dev/null 2>&1
timeout 10 "$tagwright" printer --input job.prn > file.log 2>&1
expect_ok "a file printer stops at the end of its input" [ $? -eq 0 ]
expect_ok "and logs the job" grep -q '^job 1: [0-9]* bytes, 1 label, 2 copies' file.log
expect_ok "its last line says why" grep -qx 'stopped: the input ended' file.log

# A printer that cannot start.
"$tagwright" printer --listen 127.0.0.1:70000 > /dev/null 2> bad.err
expect_ok "a bad address is a usage error" [ $? -eq 2 ]
expect_ok "and says so" grep -q 'not a port number' bad.err

echo "printer program: $passed checks passed"
exit $failed
