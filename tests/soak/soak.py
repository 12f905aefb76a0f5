#!/usr/bin/env python3
"""A soak of `tagwright run --confirm` against the virtual printer.

Sends jobs of 1 to 200 labels over TCP and over a pseudo-terminal, while
printers started for the purpose play faults chosen from the seed, with each
--on-port-error policy. Afterwards the run's report (exit status and lines)
and each printer's log and captured bytes must agree label for label. Prints
labels a second, the faults met and the peak memory of both programs, and
fails when the printers' peak grew with the number of labels.

Standard library only: it drives processes, terminals and JSON logs, which
needs no build, and the programs under test stay the C++ ones.
"""

import argparse
import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

# Every label carries its own name, so that each one can be found in what a
# printer received: "SK<seed>-<job>-<label>".
LABEL_END = b"\rE\r"
TCP_PORT_NAME, TCP_PORT_NUMBER = "LPT1", 0
PTY_PORT_NAME, PTY_PORT_NUMBER = "COM1", 3

# Faults a fresh printer plays, with their weight; "none" goes to the
# long-lived printer of its transport.
TCP_FAULTS = [("none", 40), ("refuse", 8), ("close-mid-job", 8), ("stop-reading", 3),
              ("media-out", 8), ("head-open", 5), ("slow", 5), ("no-answers", 5)]
PTY_FAULTS = [("none", 40), ("media-out", 8), ("head-open", 5), ("slow", 5), ("no-answers", 5)]

RUN_LINE = re.compile(r"^tagwright: job (\d+) on (\w+): (printed|not printed|not confirmed)"
                      r"(?:: (.*)|\s*\(.*\))?$")
FAILED_LINE = re.compile(r"^tagwright: print job (\d+) failed on (\w+) \([^)]*\): (.+)$")
DROPPED_LINE = re.compile(r"^tagwright: (\d+) of (\d+) print jobs? dropped$")


class SoakFailure(Exception):
    pass


def wait_with_usage(process, timeout):
    """Waits for `process`; its peak resident memory in kB.

    The figure is the process's own high-water mark (VmHWM), read while it
    runs: what wait4 reports would include the memory of this script, which
    the child had as a copy until it started the program.
    """
    deadline = time.monotonic() + timeout
    peak = 0
    while True:
        peak = max(peak, peak_kb(process.pid))
        pid, status, _ = os.wait4(process.pid, os.WNOHANG)
        if pid == process.pid:
            process.returncode = os.waitstatus_to_exitcode(status)
            return peak
        if time.monotonic() > deadline:
            process.kill()
            _, status, _ = os.wait4(process.pid, 0)
            process.returncode = os.waitstatus_to_exitcode(status)
            raise SoakFailure(f"{process.args[0]} {' '.join(process.args[1:3])} did not end "
                              f"within {timeout} s (a hang)")
        time.sleep(0.005)


def peak_kb(pid):
    """VmHWM of a live process; 0 once it has ended (a zombie has none)."""
    try:
        with open(f"/proc/{pid}/status") as status:
            for line in status:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


class Printer:
    """One `tagwright printer`, its JSON log and its captured jobs."""

    def __init__(self, tagwright, work, name, transport, extra):
        self.name = name
        self.transport = transport
        self.folder = os.path.join(work, name)
        os.makedirs(self.folder)
        self.log_path = os.path.join(self.folder, "log.jsonl")
        self.capture = os.path.join(self.folder, "capture")
        source = ["--pty"] if transport == "pty" else ["--listen", extra.pop("listen",
                                                                            "127.0.0.1:0")]
        self.args = [tagwright, "printer", *source, "--json", "--capture", self.capture,
                     "--speed-factor", str(extra.pop("speed", 2000)), *extra.pop("args", [])]
        self.log_file = open(self.log_path, "wb")
        self.process = subprocess.Popen(self.args, stdout=self.log_file,
                                        stderr=subprocess.STDOUT)
        self.peak = 0
        self.address = self._listening()

    def _listening(self):
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            with open(self.log_path, "rb") as log:
                first = log.readline()
            if first.endswith(b"\n"):
                event = json.loads(first)
                if event.get("event") != "listening":
                    raise SoakFailure(f"{self.name}: the printer did not start: {first!r}")
                return event["at"]
            if self.process.poll() is not None:
                raise SoakFailure(f"{self.name}: the printer ended at once")
            time.sleep(0.01)
        raise SoakFailure(f"{self.name}: the printer did not say where it listens")

    def device(self):
        return f"tcp://{self.address}" if self.transport == "tcp" else self.address

    def peak_now(self):
        self.peak = max(self.peak, peak_kb(self.process.pid))
        return self.peak

    def stop(self):
        if self.process.returncode is None:
            self.peak_now()
            self.process.send_signal(signal.SIGTERM)
            self.peak = max(self.peak, wait_with_usage(self.process, 30))
        self.log_file.close()
        with open(os.path.join(os.path.dirname(self.folder), "printers.jsonl"), "a") as out:
            out.write(json.dumps({"printer": self.name, "args": self.args[2:],
                                  "peak_kb": self.peak}) + "\n")
        if self.process.returncode != 0:
            raise SoakFailure(f"{self.name}: the printer ended with {self.process.returncode}")

    def events(self):
        with open(self.log_path, "rb") as log:
            return [json.loads(line) for line in log if line.strip()]

    def jobs(self):
        """Each job the printer logged: its number, its bytes and its label events."""
        events = self.events()
        labels = {}
        for event in events:
            if event["event"] == "label":
                labels.setdefault(event["job"], []).append(event)
        jobs = []
        for event in events:
            if event["event"] == "job":
                path = os.path.join(self.capture, f"job{event['job']}.bin")
                data = open(path, "rb").read() if os.path.exists(path) else b""
                jobs.append((event, data, labels.get(event["job"], [])))
        return jobs


def compose_script(seed, invocation, jobs, port_number, rng):
    """A script of `jobs` (a list of label counts); the names of its labels per job."""
    lines = [f"NumberPort = {port_number}", "LabelHeight = 20", "LabelWidth = 40",
             "GapLenght = 2", "LabelType = 0", "Speed = 4", "Darkness = 10"]
    names = []
    for job, count in enumerate(jobs, 1):
        job_names = []
        for label in range(1, count + 1):
            name = f"SK{seed}-{invocation}-{job}-{label}"
            job_names.append(name)
            lines.append("StartLabel()")
            lines.append(f'PutText(10, 10, 1, 1, 1, 0, "A", "{name}")')
            if rng.random() < 0.1:
                lines.append(f'PutBarcode("Q", 10, 40, 40, 0, "{name}")')
            if rng.random() < 0.3:
                lines.append("PutRectangle(2, 2, 300, 150, 2, 2)")
            lines.append("PrintToBuff(1)")
        lines.append("Print(0)")
        names.append(job_names)
    return "\n".join(lines) + "\n", names


def split_labels(data):
    """The label formats of a stream, each with the set-up before it."""
    labels, start = [], 0
    while True:
        end = data.find(LABEL_END, start)
        if end < 0:
            return labels, data[start:]
        labels.append(data[start:end + len(LABEL_END)])
        start = end + len(LABEL_END)


def label_name(label):
    match = re.search(rb"SK\d+-\d+-\d+-\d+", label)
    return match.group(0).decode() if match else None


class Soak:
    def __init__(self, options):
        self.o = options
        self.rng = random.Random(options.seed)
        self.work = options.work
        self.tagwright = options.tagwright
        self.sent_jobs = []  # every job composed: dict of names, bytes, outcome, printer
        self.printers = []
        self.faults = {}
        self.run_peaks = []  # (labels sent before, peak kB) of each run
        self.labels_sent = 0
        self.invocations = 0
        self.profile = os.path.join(self.work, "profile")
        self.compose_profile = os.path.join(self.work, "compose-profile")

    def printer(self, transport, extra=None):
        name = f"printer{len(self.printers) + 1}-{transport}"
        printer = Printer(self.tagwright, self.work, name, transport, dict(extra or {}))
        self.printers.append(printer)
        return printer

    def run_jobs(self, printer, port_name, port_number, policy, jobs, fault, recover=None):
        """Runs one script of `jobs` (label counts) to `printer`; the outcome of each."""
        self.invocations += 1
        script_text, names = compose_script(self.o.seed, self.invocations, jobs, port_number,
                                            self.rng)
        script = os.path.join(self.work, "scripts", f"run{self.invocations}.tws")
        with open(script, "w") as out:
            out.write(script_text)
        composed_path = script[:-4] + ".bin"
        compose = subprocess.run([self.tagwright, "run", "--profile", self.compose_profile,
                                  "--output", composed_path, script],
                                 capture_output=True, timeout=60)
        if compose.returncode != 0:
            raise SoakFailure(f"composing {script} failed: {compose.stderr.decode()}")
        composed, rest = split_labels(open(composed_path, "rb").read())
        if rest or len(composed) != sum(jobs):
            raise SoakFailure(f"{script}: composed {len(composed)} labels, not {sum(jobs)}")
        args = [self.tagwright, "run", "--confirm", "-q", "--profile", self.profile,
                "--on-port-error", policy, "--device", f"{port_name}={printer.device()}",
                "--status-timeout", "1", "--busy-timeout", "0.3", "--write-timeout", "2",
                script]
        started = time.monotonic()
        # The lines go to a file, so that the wait can watch the memory.
        report_path = script[:-4] + ".report"
        with open(report_path, "wb") as report_file:
            process = subprocess.Popen(args, stdout=subprocess.DEVNULL, stderr=report_file)
        if recover:
            recover(process)
        peak = wait_with_usage(process, 120 + 3 * sum(jobs))
        with open(report_path, "rb") as report_file:
            stderr_bytes = report_file.read()
        self.run_peaks.append((sum(jobs), peak))
        report = stderr_bytes.decode("utf-8", "replace")
        with open(os.path.join(self.work, "runs.jsonl"), "a") as runs:
            runs.write(json.dumps({"script": script, "fault": fault, "policy": policy,
                                   "jobs": jobs, "status": process.returncode,
                                   "peak_kb": peak, "printer": printer.name}) + "\n")
        outcomes = self.read_report(report, len(jobs), process.returncode, script)
        at = 0
        for job, count in enumerate(jobs, 1):
            data = b"".join(composed[at:at + count])
            at += count
            self.sent_jobs.append({"script": script, "job": job, "names": names[job - 1],
                                   "bytes": data, "outcome": outcomes[job],
                                   "printer": printer, "fault": fault})
        self.labels_sent += sum(jobs)
        self.faults[fault] = self.faults.get(fault, 0) + 1
        return outcomes, time.monotonic() - started

    def read_report(self, report, count, status, script):
        """Each job's outcome from the run's lines: ("printed"|"failed"|"dropped", why)."""
        outcomes = {}
        dropped_total = None
        for line in report.splitlines():
            if match := RUN_LINE.match(line):
                job = int(match.group(1))
                kind = "printed" if match.group(3) == "printed" else "failed"
                why = match.group(4) or ""
                if job in outcomes:
                    raise SoakFailure(f"{script}: job {job} reported twice:\n{report}")
                if kind == "failed" and not why.strip():
                    raise SoakFailure(f"{script}: job {job} failed without a reason:\n{report}")
                outcomes[job] = (kind, why)
            elif match := FAILED_LINE.match(line):
                job = int(match.group(1))
                if job in outcomes:
                    raise SoakFailure(f"{script}: job {job} reported twice:\n{report}")
                outcomes[job] = ("failed", match.group(3))
            elif match := DROPPED_LINE.match(line):
                dropped_total = (int(match.group(1)), int(match.group(2)))
        for job in range(1, count + 1):
            # A job that met a port that would not open has no line of its
            # own: the question and its answer stand for it.
            outcomes.setdefault(job, ("dropped", "the port could not be opened"))
        if any(job > count for job in outcomes):
            raise SoakFailure(f"{script}: a job reported that was not sent:\n{report}")
        not_printed = sum(1 for kind, _ in outcomes.values() if kind != "printed")
        if not_printed:
            if dropped_total != (not_printed, count):
                raise SoakFailure(f"{script}: {not_printed} of {count} jobs not printed, but the "
                                  f"summary says {dropped_total}:\n{report}")
        elif dropped_total is not None:
            raise SoakFailure(f"{script}: every job printed, yet {dropped_total} dropped:\n"
                              f"{report}")
        expected_status = 4 if not_printed else 0
        if status != expected_status:
            raise SoakFailure(f"{script}: exit status {status}, not {expected_status}:\n{report}")
        return outcomes

    def episode(self, main):
        transport = "tcp" if self.rng.random() < 0.6 else "pty"
        fault = weighted(self.rng, TCP_FAULTS if transport == "tcp" else PTY_FAULTS)
        policy = self.rng.choice(["abort", "retry", "ignore"])
        port_name, port_number = ((TCP_PORT_NAME, TCP_PORT_NUMBER) if transport == "tcp" else
                                  (PTY_PORT_NAME, PTY_PORT_NUMBER))
        left = self.o.labels - self.labels_sent
        jobs = []
        for _ in range(self.rng.randint(1, 1 if fault == "stop-reading" else 3)):
            if left <= 0:
                break
            count = min(self.rng.randint(1, 200), left)
            jobs.append(count)
            left -= count
        if fault == "none":
            self.run_jobs(main[transport], port_name, port_number, policy, jobs, fault)
            return
        extra = {"args": []}
        recover = None
        if fault == "refuse":
            extra["args"] = ["--tcp-fault", "refuse"]
        elif fault == "close-mid-job":
            extra["args"] = ["--tcp-fault", "close-mid-job", "--close-after",
                             str(self.rng.randint(1, 30000))]
        elif fault == "stop-reading":
            extra["args"] = ["--tcp-fault", "stop-reading"]
        elif fault == "media-out":
            extra["after"] = self.rng.randint(0, sum(jobs) + 20)
            extra["args"] = ["--fault", f"after {extra['after']} labels: media-empty"]
        elif fault == "head-open":
            extra["args"] = ["--state", "head-open"]
        elif fault == "slow":
            extra["speed"] = self.rng.choice([20, 50, 100])
        elif fault == "no-answers":
            extra["args"] = ["--no-answers"]
        after = extra.pop("after", None)
        printer = self.printer(transport, extra)
        if fault == "refuse" and policy == "retry":
            # The printer refuses for a while and then takes connections
            # again, on the same port: Retry must get the jobs through.
            address = printer.address

            def recover(process, refusing=printer, address=address):
                time.sleep(0.8)
                refusing.stop()
                self.sent_printer = self.printer("tcp", {"listen": address})

            self.sent_printer = None
        self.run_jobs(printer, port_name, port_number, policy, jobs, fault, recover)
        if fault == "refuse" and policy == "retry":
            for job in self.sent_jobs[-len(jobs):]:
                job["printer"] = self.sent_printer
            self.sent_printer.stop()
        else:
            printer.stop()
        self.expect(fault, policy, jobs, after)

    def expect(self, fault, policy, jobs, after):
        """What the fault must make of the jobs, beyond agreement with the printer."""
        recent = self.sent_jobs[-len(jobs):]
        kinds = [job["outcome"][0] for job in recent]
        where = recent[0]["script"]
        if fault in ("slow",) or (fault == "refuse" and policy == "retry"):
            if kinds != ["printed"] * len(jobs):
                raise SoakFailure(f"{where}: {fault}/{policy}: not every job printed: {kinds}")
        if fault in ("head-open", "no-answers", "stop-reading") or \
                (fault == "refuse" and policy != "retry"):
            if "printed" in kinds:
                raise SoakFailure(f"{where}: {fault}: a job is reported printed: {kinds}")
        if fault == "refuse" and policy == "abort" and kinds != ["dropped"] * len(jobs):
            raise SoakFailure(f"{where}: refuse/abort: every job must be dropped: {kinds}")
        if fault == "media-out":
            total = 0
            for job, count in zip(recent, jobs):
                total += count
                if job["outcome"][0] == "printed" and total > after:
                    raise SoakFailure(f"{where}: job {job['job']} reported printed with label "
                                      f"{total} past media out after {after}")

    def check_agreement(self):
        """Every printer's received labels against every job's report."""
        received = {}  # label name -> [(printer, printer job, label bytes, drawn)]
        whole_jobs = {}  # (printer name) -> list of captured job bytes
        for printer in self.printers:
            for event, data, label_events in printer.jobs():
                labels, rest = split_labels(data)
                drawn = [e for e in label_events]
                whole_jobs.setdefault(printer.name, []).append(data)
                for index, label in enumerate(labels):
                    name = label_name(label)
                    ok = index < len(drawn) and not drawn[index].get("error")
                    received.setdefault(name, []).append((printer.name, event["job"], label, ok))
        problems = []
        for name, where in received.items():
            if name is None:
                problems.append(f"a label without a name reached {where[0][0]}")
            elif len(where) > 1:
                problems.append(f"label {name} was printed {len(where)} times: "
                                f"{[(w[0], w[1]) for w in where]}")
        for job in self.sent_jobs:
            kind, why = job["outcome"]
            printer = job["printer"]
            tag = f"{job['script']} job {job['job']} ({job['fault']})"
            if kind == "printed":
                for name in job["names"]:
                    got = received.get(name)
                    if not got:
                        problems.append(f"{tag}: reported printed, label {name} never arrived")
                    elif not got[0][3]:
                        problems.append(f"{tag}: reported printed, label {name} not drawn")
                    elif got[0][0] != printer.name:
                        problems.append(f"{tag}: label {name} arrived at another printer")
                captured = whole_jobs.get(printer.name, [])
                # Over TCP each job is a connection of its own; a serial
                # printer may see jobs sent close together as one.
                if printer.transport == "tcp":
                    exact = sum(1 for data in captured if data == job["bytes"])
                else:
                    exact = sum(data.count(job["bytes"]) for data in captured)
                if exact != 1:
                    problems.append(f"{tag}: reported printed, its bytes arrived whole "
                                    f"{exact} times")
            elif kind == "dropped":
                for name in job["names"]:
                    if name in received:
                        problems.append(f"{tag}: dropped, yet label {name} arrived")
            elif not why.strip():
                problems.append(f"{tag}: failed without a reason")
            if len(problems) > 20:
                break
        if problems:
            raise SoakFailure("the report and the printers disagree:\n  " +
                              "\n  ".join(problems[:20]))

    def go(self):
        os.makedirs(os.path.join(self.work, "scripts"), exist_ok=True)
        main = {"tcp": self.printer("tcp"), "pty": self.printer("pty")}
        started = time.monotonic()
        early_peak = None
        while self.labels_sent < self.o.labels:
            self.episode(main)
            if early_peak is None and self.labels_sent >= self.o.labels // 10:
                early_peak = (self.labels_sent, main["tcp"].peak_now(), main["pty"].peak_now())
        elapsed = time.monotonic() - started
        late_peak = (self.labels_sent, main["tcp"].peak_now(), main["pty"].peak_now())
        for printer in main.values():
            printer.stop()
        self.check_agreement()
        return self.summary(elapsed, early_peak, late_peak)

    def summary(self, elapsed, early, late):
        outcomes = {}
        for job in self.sent_jobs:
            kind = job["outcome"][0]
            outcomes[kind] = outcomes.get(kind, 0) + len(job["names"])
        run_peak = max(peak for _, peak in self.run_peaks)
        fault_peak = max((p.peak for p in self.printers[2:]), default=0)
        figures = {
            "labels": self.labels_sent, "jobs": len(self.sent_jobs),
            "runs": self.invocations, "printers": len(self.printers),
            "seconds": round(elapsed, 1),
            "labels_per_second": round(self.labels_sent / elapsed, 1),
            "labels_by_outcome": outcomes, "runs_by_fault": self.faults,
            "printer_peak_kb": {"tcp": [early[1], late[1]], "pty": [early[2], late[2]],
                                "at_labels": [early[0], late[0]],
                                "fault_printers": fault_peak},
            "run_peak_kb": run_peak,
        }
        problems = []
        for transport, (before, after) in (("tcp", (early[1], late[1])),
                                           ("pty", (early[2], late[2]))):
            if after > before * (1 + self.o.margin) + self.o.margin_kb:
                problems.append(f"the {transport} printer's peak grew from {before} kB at "
                                f"{early[0]} labels to {after} kB at {late[0]}")
        # Each run is a process of its own: its peak must not grow with the
        # labels it sends (the most in one run against the fewest).
        few = [peak for labels, peak in self.run_peaks if labels <= 100]
        many = [peak for labels, peak in self.run_peaks if labels >= 300]
        if few and many and max(many) > max(few) * (1 + self.o.margin) + self.o.margin_kb:
            problems.append(f"the run's peak grew from {max(few)} kB (runs of at most 100 "
                            f"labels) to {max(many)} kB (runs of 300 or more)")
        figures["run_peak_kb_by_size"] = {"up_to_100": max(few, default=0),
                                          "300_or_more": max(many, default=0)}
        return figures, problems


def weighted(rng, choices):
    total = sum(weight for _, weight in choices)
    pick = rng.uniform(0, total)
    for name, weight in choices:
        pick -= weight
        if pick <= 0:
            return name
    return choices[-1][0]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tagwright", required=True, help="the Linux program")
    parser.add_argument("--labels", type=int, default=10000)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--work", help="where scripts, logs and captures go (kept)")
    parser.add_argument("--margin", type=float, default=0.10,
                        help="how much a peak may grow, as a fraction (0.10)")
    parser.add_argument("--margin-kb", type=int, default=2048,
                        help="and in kB besides (2048)")
    parser.add_argument("--json", action="store_true", help="the figures as one JSON line")
    options = parser.parse_args()
    keep = options.work is not None
    if not keep:
        options.work = os.path.join(tempfile.mkdtemp(prefix="tagwright-soak-"), "work")
    elif os.path.exists(options.work):
        shutil.rmtree(options.work)
    os.makedirs(options.work)
    # A copy of the program: a build that replaces it meanwhile cannot
    # break the soak or mix two versions in one run.
    program = os.path.join(options.work, "tagwright")
    shutil.copy2(options.tagwright, program)
    options.tagwright = program
    soak = Soak(options)
    try:
        figures, problems = soak.go()
    except (SoakFailure, OSError, subprocess.SubprocessError) as failure:
        print(f"soak: FAILED (seed {options.seed}): {failure}", file=sys.stderr)
        print(f"soak: the scripts, logs and captures are in {options.work}", file=sys.stderr)
        return 1
    finally:
        for printer in soak.printers:
            if printer.process.returncode is None:
                printer.process.kill()
                printer.process.wait()
    if options.json:
        print(json.dumps(figures))
    else:
        print_figures(figures, options.seed)
    for problem in problems:
        print(f"soak: FAILED: {problem}", file=sys.stderr)
    if not keep and not problems:
        shutil.rmtree(os.path.dirname(options.work))
    return 1 if problems else 0


def print_figures(f, seed):
    peaks = f["printer_peak_kb"]
    print(f"soak (seed {seed}): {f['labels']} labels in {f['jobs']} jobs, {f['runs']} runs, "
          f"{f['printers']} printers, {f['seconds']} s: {f['labels_per_second']} labels/s")
    print("  labels by outcome: " + ", ".join(f"{k} {v}" for k, v in
                                             sorted(f["labels_by_outcome"].items())))
    print("  runs by fault: " + ", ".join(f"{k} {v}" for k, v in
                                         sorted(f["runs_by_fault"].items())))
    print(f"  peak memory: printer over TCP {peaks['tcp'][0]} kB at {peaks['at_labels'][0]} "
          f"labels, {peaks['tcp'][1]} kB at {peaks['at_labels'][1]}; over the pseudo-terminal "
          f"{peaks['pty'][0]} / {peaks['pty'][1]} kB; printers with faults {peaks['fault_printers']}"
          f" kB; tagwright run {f['run_peak_kb']} kB (runs of up to 100 labels "
          f"{f['run_peak_kb_by_size']['up_to_100']} kB, of 300 or more "
          f"{f['run_peak_kb_by_size']['300_or_more']} kB)")


if __name__ == "__main__":
    sys.exit(main())
