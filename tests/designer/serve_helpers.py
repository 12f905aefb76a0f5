"""Starts `tagwright serve` for the designer's tests and stops it again."""
import os
import re
import signal
import subprocess
import time
import urllib.error
import urllib.parse
import urllib.request


class Designer:
    """A `tagwright serve` of its own, in `work`, with its profile there.
    `command` starts another program instead (tagwright.exe under Wine: the
    loader, the program and its profile as Windows names them); `output`
    names the file its output goes to, in `work`."""

    def __init__(self, tagwright, work, *arguments, command=None, output="serve.out"):
        self.work = work
        self.output = open(os.path.join(work, output), "w+")
        if command is None:
            command = [tagwright, "serve", "--profile", os.path.join(work, "profile")]
        self.process = subprocess.Popen(
            [*command, *arguments],
            cwd=work, stdout=self.output, stderr=subprocess.STDOUT,
            env=dict(os.environ, HOME=work))
        deadline = time.monotonic() + 20
        self.url = None
        while time.monotonic() < deadline and self.url is None:
            self.output.seek(0)
            found = re.search(r"open (http://\S+)", self.output.read())
            if found:
                self.url = found.group(1)
            elif self.process.poll() is not None:
                break
            else:
                time.sleep(0.05)
        if self.url is None:
            self.output.seek(0)
            raise RuntimeError("tagwright serve did not start: " + self.output.read())
        parts = urllib.parse.urlsplit(self.url)
        self.port = parts.port
        self.token = urllib.parse.parse_qs(parts.query)["token"][0]
        self.base = f"http://127.0.0.1:{self.port}"

    def request(self, path, body=None, headers=None, token=True):
        """(status, headers, body) of one request; the token in its header."""
        sent = dict(headers or {})
        if token is True:
            sent.setdefault("X-Tagwright-Token", self.token)
        elif token:
            sent["X-Tagwright-Token"] = token
        data = body.encode() if isinstance(body, str) else body
        request = urllib.request.Request(self.base + path, data=data, headers=sent,
                                         method="POST" if data is not None else "GET")
        try:
            with urllib.request.urlopen(request, timeout=30) as answer:
                return answer.status, answer.headers, answer.read()
        except urllib.error.HTTPError as refused:
            return refused.code, refused.headers, refused.read()

    def said(self):
        """What the server has printed so far."""
        if not self.output.closed:
            self.output.flush()
        with open(self.output.name) as f:
            return f.read()

    def stop(self, by=signal.SIGTERM):
        self.process.send_signal(by)
        try:
            code = self.process.wait(timeout=20)
        except subprocess.TimeoutExpired:
            self.process.kill()
            code = "still running"
        self.output.close()
        return code


def listening_addresses(port):
    """The local addresses of the sockets listening on `port` (/proc/net/tcp*)."""
    found = []
    for table in ("/proc/net/tcp", "/proc/net/tcp6"):
        try:
            lines = open(table).read().splitlines()[1:]
        except OSError:
            continue
        for line in lines:
            fields = line.split()
            address, hex_port = fields[1].split(":")
            if int(hex_port, 16) == port and fields[3] == "0A":  # LISTEN
                found.append(address)
    return found


def check_refusals(server, refusals, expect):
    """Sends each (what, path, body, headers, with_token, wanted status) request of
    `refusals` to `server` and expects that status, and no CORS header with it."""
    for what, path, body, headers, with_token, wanted in refusals:
        status, answer_headers, answer = server.request(path, body, headers, with_token)
        expect(f"{what}: {wanted}", status == wanted, f"got {status}: {answer[:120]!r}")
        expect(f"{what}: no CORS header", not any(
            name.lower().startswith("access-control-") for name in answer_headers.keys()))
