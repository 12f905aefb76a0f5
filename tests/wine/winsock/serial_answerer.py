#!/usr/bin/env python3
"""A printer behind a pseudo-terminal for the status channel's COM port test.

Prints the terminal's path, then answers each query (up to its LF) with a
status line sent in two pieces. Ends by itself after a few seconds.
"""
import os
import select
import sys
import time
import tty

main, sub = os.openpty()
tty.setraw(main)
tty.setraw(sub)
print(os.ttyname(sub), flush=True)
deadline = time.monotonic() + float(sys.argv[1] if len(sys.argv) > 1 else 20)
query = b""
while time.monotonic() < deadline:
    ready, _, _ = select.select([main], [], [], 0.1)
    if not ready:
        continue
    try:
        query += os.read(main, 256)
    except OSError:
        break
    while b"\n" in query:
        _, query = query.split(b"\n", 1)
        os.write(main, b"00")
        time.sleep(0.05)
        os.write(main, b"1,0\r\n")
