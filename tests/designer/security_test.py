#!/usr/bin/python3
"""The designer's server refuses every request that does not come from its
own page, with plain HTTP requests: no token, a wrong one, a foreign Host, a
foreign Origin, an oversized body, a label too large, a path outside the
page's files; none of them writes anything. It listens on the loopback
address only and sends no CORS headers.
Usage: security_test.py TAGWRIGHT"""
import json
import os
import shutil
import sys
import tempfile

from serve_helpers import Designer, check_refusals, listening_addresses

failures = []


def expect(what, condition, detail=""):
    print(("ok   " if condition else "FAIL ") + what + (f" ({detail})" if detail and not condition else ""))
    if not condition:
        failures.append(what)


def main():
    tagwright = os.path.realpath(sys.argv[1])
    work = tempfile.mkdtemp(prefix="designer-security-")
    script = os.path.join(work, "label.tws")
    original = "LabelWidth = 40\nLabelHeight = 30\nStartLabel()\nPutText(10, 10, 1, 1, 1, 0, \"A\", \"Hi\")\nPrint(1)\n"
    with open(script, "w") as f:
        f.write(original)
    designer = Designer(tagwright, work, "label.tws")
    try:
        port, token = designer.port, designer.token
        expect("it listens on 127.0.0.1 only", listening_addresses(port) == ["0100007F"],
               listening_addresses(port))

        status, _, page = designer.request("/?token=" + token, token=False)
        expect("the page with the token in its address", status == 200 and b"app.js?token=" + token.encode() in page, status)
        status, _, _ = designer.request("/app.js?token=" + token, token=False)
        expect("its script with the token", status == 200, status)

        hostile_save = "StartLabel()\n// written by another page\n"
        refusals = [
            ("the page without a token", "/", None, {}, False, 403),
            ("the page with a wrong token", "/?token=" + "0" * 32, None, {}, False, 403),
            ("the API without a token", "/api/session", None, {}, False, 403),
            ("the API with a wrong token", "/api/session", None, {}, "f" * 32, 403),
            ("the API with the token in the address only", "/api/session?token=" + token, None, {}, False, 403),
            ("a save without a token", "/api/save", hostile_save, {}, False, 403),
            ("a save with a wrong token", "/api/save", hostile_save, {}, "0" * 32, 403),
            ("a save under a foreign Host (DNS rebinding)", "/api/save", hostile_save,
             {"Host": f"attacker.example:{port}"}, True, 403),
            ("a save under another port's Host", "/api/save", hostile_save,
             {"Host": f"127.0.0.1:{port + 1}"}, True, 403),
            ("a save from a foreign Origin", "/api/save", hostile_save,
             {"Origin": "http://attacker.example"}, True, 403),
            ("a save from an opaque Origin", "/api/save", hostile_save, {"Origin": "null"}, True, 403),
            ("a save from another site", "/api/save", hostile_save, {"Sec-Fetch-Site": "cross-site"}, True, 403),
            ("a render from a foreign Origin", "/api/render", original,
             {"Origin": "http://attacker.example"}, True, 403),
            ("a body over the cap", "/api/save", "x" * (256 * 1024 + 1), {}, True, 413),
            ("a label too large", "/api/render",
             "LabelWidth = 1000\nLabelHeight = 1000\nStartLabel()\nPrint(1)\n", {}, True, 422),
            ("a path outside the page's files", "/../label.tws?token=" + token, None, {}, False, 404),
            ("a file beside the page's", "/label.tws?token=" + token, None, {}, False, 404),
            ("print without --device", "/api/print", original, {}, True, 404),
        ]
        check_refusals(designer, refusals, expect)
        with open(script) as f:
            expect("nothing refused wrote the file", f.read() == original)
        expect("no other file was made", sorted(os.listdir(work)) == ["label.tws", "serve.out"],
               sorted(os.listdir(work)))

        # What the page itself does goes through.
        status, headers, answer = designer.request("/api/render", original,
                                                   {"Origin": f"http://127.0.0.1:{port}"})
        rendering = json.loads(answer)
        expect("a render from the page", status == 200 and len(rendering["labels"]) == 1, status)
        expect("it tells its time", "total;dur=" in (headers.get("Server-Timing") or ""))
        expect("localhost is the page's own too", designer.request(
            "/api/session", headers={"Host": f"localhost:{port}", "Origin": f"http://localhost:{port}"})[0] == 200)
        status, _, _ = designer.request("/api/save", "StartLabel()\n", {"Origin": f"http://127.0.0.1:{port}"})
        with open(script) as f:
            expect("a save from the page writes FILE", status == 200 and f.read() == "StartLabel()\n", status)
        with open(script, "w") as f:
            f.write("// changed by hand\n")
        status, _, answer = designer.request("/api/save", "Print(1)\n")
        with open(script) as f:
            kept = f.read()
        expect("a save over a file changed on disk is refused (409)", status == 409, status)
        expect("and leaves the file as it was changed", kept == "// changed by hand\n", kept)
    finally:
        code = designer.stop()
    expect("SIGTERM stops the server with status 0", code == 0, code)

    # Print goes to the command line's devices only: a script that names
    # another port is refused before anything is sent.
    sent = os.path.join(work, "sent.prn")  # a device file: made by its owner, opened by the port
    printing = Designer(tagwright, work, "--device", f"COM1={sent}")
    try:
        status, _, answer = printing.request("/api/print", "NumberPort = 0\n" + original)
        expect("Print to a port without --device is refused (422)", status == 422, status)
        expect("and says which port", b"LPT1" in answer, answer)
        expect("and sends nothing", not os.path.exists(sent))
        status, _, answer = printing.request("/api/print", original.replace("StartLabel", "NumberPort = 3\nStartLabel"))
        expect("Print to a device that cannot be opened says the job was dropped",
               status == 422 and b"1 of 1 print jobs dropped" in answer, f"{status} {answer}")
        open(sent, "w").close()
        status, _, answer = printing.request("/api/print", original.replace("StartLabel", "NumberPort = 3\nStartLabel"))
        with open(sent, "rb") as f:
            job = f.read()
        expect("Print to a file device sends the job, unconfirmed", status == 200 and
               b"not confirmed" in answer and b"Hi" in job, f"{status} {answer}")
        status, _, answer = printing.request("/api/save", original)
        expect("Save without FILE is refused (404)", status == 404, status)
    finally:
        printing.stop()
    shutil.rmtree(work, ignore_errors=True)
    print(f"{len(failures)} failed" if failures else "all passed")
    return 1 if failures else 0


sys.exit(main())
