#!/usr/bin/python3
"""tagwright.exe serve under Wine, asked with plain HTTP from Linux, against
the native `tagwright serve`: the page with its token; the same pictures,
findings and element places for the same scripts; the refusals (no token, a
wrong one, a foreign Host, a foreign Origin, a body over the cap), none of
which writes anything; Save over FILE by a rename, refused once FILE changed
on disk; Ctrl+C stopping it; Print through the registered DLL to the native
virtual printer, whose picture is the render's.
Usage: serve_test.py WINE TAGWRIGHT_EXE NATIVE_TAGWRIGHT WORK PRINTER_ADDRESS PRINTED_DIR"""
import base64
import json
import os
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "designer"))
from serve_helpers import Designer, check_refusals, listening_addresses  # noqa: E402

root = os.path.realpath(os.path.join(os.path.dirname(__file__), "..", "..", ".."))
failures = []
passed = 0


def expect(what, condition, detail=""):
    global passed
    print(("ok   " if condition else "FAIL ") + what + (f" ({detail})" if detail and not condition else ""))
    if condition:
        passed += 1
    else:
        failures.append(what)


def windows_path(path):
    return "Z:" + os.path.realpath(path).replace("/", "\\")


def same_pixels(first, second, work):
    """Whether two PNG files hold the same picture (their bytes may differ
    in the compression alone)."""
    if first == second:
        return True
    a, b = os.path.join(work, "a.png"), os.path.join(work, "b.png")
    with open(a, "wb") as f:
        f.write(first)
    with open(b, "wb") as f:
        f.write(second)
    compared = subprocess.run(["compare", "-metric", "AE", a, b, "null:"], capture_output=True, text=True)
    return compared.stderr.strip() == "0"


def rendered(designer, script):
    status, headers, body = designer.request("/api/render", script)
    return status, json.loads(body)


def main():
    wine, exe, native, work, printer, printed = sys.argv[1:7]
    script = os.path.join(work, "label.tws")
    original = "LabelWidth = 40\nLabelHeight = 30\nStartLabel()\nPutText(10, 10, 1, 1, 1, 0, \"A\", \"Hi\")\nPrint(1)\n"
    with open(script, "w") as f:
        f.write(original)
    windows = [wine, exe, "serve", "--profile", windows_path(work) + "\\windows.profile"]
    # FILE by its Windows path: the page and the reader's messages call the
    # script by its name alone, as the native server calls its own.
    served = Designer(None, work, windows_path(script), command=windows, output="windows.out")
    linux = Designer(native, work, output="native.out")
    try:
        port, token = served.port, served.token
        expect("it names 127.0.0.1 and a token of 32 hex digits",
               served.url.startswith(f"http://127.0.0.1:{port}/?token=") and len(token) == 32
               and all(c in "0123456789abcdef" for c in token), served.url)
        expect("its token is not the native server's", token != linux.token)
        expect("it listens on 127.0.0.1 only", listening_addresses(port) == ["0100007F"],
               listening_addresses(port))
        status, _, page = served.request("/?token=" + token, token=False)
        expect("the page loads with the token", status == 200 and b"app.js?token=" + token.encode() in page, status)
        status, _, _ = served.request("/app.js?token=" + token, token=False)
        expect("its script loads with the token", status == 200, status)
        status, _, session = served.request("/api/session")
        session = json.loads(session)
        expect("the session holds FILE's text, Save without Print",
               status == 200 and session["script"] == original and session["canSave"] and not session["canPrint"],
               session)

        # The same script, the same answer: the linked core and the preview
        # are the native program's, built for Windows.
        scripts = {
            "first_label.tws": open(os.path.join(root, "examples", "first_label.tws")).read(),
            "a label with a finding": "LabelWidth = 30\nLabelHeight = 20\nStartLabel()\n"
                                      "PutRectangle(10, 10, 400, 100, 2, 2)\nPrint(1)\n",
            "a script the reader refuses": "StartLabel(\nPrint(1)\n",
            "Cyrillic text": "StartLabel()\nPutText(20, 20, 1, 1, 1, 0, \"C\", \"Привет, мир\")\nPrint(2)\n",
        }
        for name, text in scripts.items():
            windows_status, windows_answer = rendered(served, text)
            native_status, native_answer = rendered(linux, text)
            expect(f"render of {name}: the same status ({native_status})", windows_status == native_status,
                   windows_status)
            for part in ("findings", "scriptError", "elements", "messages"):
                expect(f"render of {name}: the same {part}", windows_answer.get(part) == native_answer.get(part),
                       f"{windows_answer.get(part)} / {native_answer.get(part)}")
            windows_labels = windows_answer.get("labels", [])
            native_labels = native_answer.get("labels", [])
            expect(f"render of {name}: the same {len(native_labels)} labels, sizes and copies",
                   [(l["width"], l["height"], l["copies"]) for l in windows_labels]
                   == [(l["width"], l["height"], l["copies"]) for l in native_labels])
            for i, (w, n) in enumerate(zip(windows_labels, native_labels)):
                expect(f"render of {name}: label {i + 1} is the native PNG's picture",
                       "png" in n and same_pixels(base64.b64decode(w.get("png", "")), base64.b64decode(n["png"]), work))

        hostile = "StartLabel()\n// written by another page\n"
        refusals = [
            ("the page without a token", "/", None, {}, False, 403),
            ("the page with a wrong token", "/?token=" + "0" * 32, None, {}, False, 403),
            ("a save without a token", "/api/save", hostile, {}, False, 403),
            ("a save with a wrong token", "/api/save", hostile, {}, "f" * 32, 403),
            ("a save under a foreign Host", "/api/save", hostile, {"Host": f"attacker.example:{port}"}, True, 403),
            ("a save from a foreign Origin", "/api/save", hostile, {"Origin": "http://attacker.example"}, True, 403),
            ("a render from a foreign Origin", "/api/render", original, {"Origin": "http://attacker.example"},
             True, 403),
            ("a body over the cap", "/api/save", "x" * (256 * 1024 + 1), {}, True, 413),
            ("print without --device", "/api/print", original, {}, True, 404),
        ]
        check_refusals(served, refusals, expect)
        with open(script) as f:
            expect("nothing refused wrote FILE", f.read() == original)

        # Save replaces FILE by renaming a new file over it: a reader holding
        # the old one keeps it whole, and nothing is left beside it.
        before = os.stat(script).st_ino
        saved = "LabelWidth = 40\nStartLabel()\nPrint(3)\n"
        status, _, _ = served.request("/api/save", saved, {"Origin": f"http://127.0.0.1:{port}"})
        with open(script) as f:
            expect("a save from the page writes FILE", status == 200 and f.read() == saved, status)
        expect("by a new file renamed over it", os.stat(script).st_ino != before)
        leftovers = sorted(n for n in os.listdir(work) if n.startswith("label.tws") and n != "label.tws")
        expect("with no temporary file left", not leftovers, leftovers)
        with open(script, "w") as f:
            f.write("// changed by hand\n")
        status, _, _ = served.request("/api/save", "Print(1)\n")
        with open(script) as f:
            kept = f.read()
        expect("a save over a file changed on disk is refused (409)", status == 409, status)
        expect("and leaves the file as it was changed", kept == "// changed by hand\n", kept)
    finally:
        code = served.stop(signal.SIGINT)
        linux.stop()
    expect("Ctrl+C stops it with status 0", code == 0, code)
    expect("and it says so", served.said().rstrip().endswith("tagwright serve: stopped"), served.said()[-200:])

    # Print: through the registered DLL to the device of the command line.
    printing = Designer(None, work, "--device", f"LPT1=tcp://{printer}",
                        command=windows, output="printing.out")
    try:
        expect("another start, another token", printing.token != token)
        label = "LabelWidth = 40\nLabelHeight = 30\nBarcodeWidth = 2\nStartLabel()\n" \
                "PutBarcode(\"Q\", 30, 40, 80, 0, \"TW-000777\")\nPrint(1)\n"
        status, answer = rendered(printing, label)
        picture = base64.b64decode(answer["labels"][0]["png"]) if status == 200 else b""
        status, _, body = printing.request("/api/print", "NumberPort = 3\n" + label)
        expect("Print to a port without --device is refused (422)", status == 422 and b"COM1" in body,
               f"{status} {body[:200]!r}")
        status, _, body = printing.request("/api/print", label)
        reply = json.loads(body)
        expect("Print hands the job to the DLL (200)", status == 200 and reply["sent"], f"{status} {reply}")
        expect("and gives the printer's answer once the DLL's worker has sent it, and where it went",
               "job 1 on LPT1: printed" in reply["answer"] and f"LPT1=tcp://{printer}" in reply["answer"],
               reply["answer"])
        deadline = time.monotonic() + 20
        pictures = []
        while time.monotonic() < deadline and not pictures:
            pictures = sorted(n for n in os.listdir(printed) if n.endswith(".png"))
            time.sleep(0.1)
        expect("the virtual printer printed one label", len(pictures) == 1, pictures)
        if pictures:
            with open(os.path.join(printed, pictures[0]), "rb") as f:
                expect("and its picture is the render's", same_pixels(f.read(), picture, work))
    finally:
        code = printing.stop(signal.SIGINT)
    expect("Ctrl+C stops the printing server with status 0", code == 0, code)
    print(f"serve_test.py: {passed} passed, {len(failures)} failed")
    return 1 if failures else 0


sys.exit(main())
