"""End-to-end runs of the demo host with the real helper: a person drives the panel through
AT-SPI while the demo plays its scenario, and afterwards the record must show that every line the
helper wrote decodes as a command, and the record must play back into a new helper.

    demo_e2e.py DEMO_HOST HELPER RECORD_CHECK      (run under run_desktop.sh)
"""

import os
import re
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_harness import DemoPanel, Failure, Fatal, wait_for  # noqa: E402

DEMO, HELPER, CHECK = sys.argv[1:4]
BAD_TEXTS = ("MALFORMED LINE SHOWN", "STALE SNAPSHOT SHOWN")
RUNS = []


class DemoRun(DemoPanel):
    """A demo run that records what the helper wrote."""

    def __init__(self, *options):
        RUNS.append(self)
        self.record = tempfile.NamedTemporaryFile(prefix="tavu-demo-", suffix=".jsonl",
                                                  delete=False).name
        super().__init__(DEMO, HELPER, "--record", self.record, *options)

    def check_status(self):
        text = self.status_text()
        for bad in BAD_TEXTS:
            if bad in text:
                raise Fatal(f"the panel shows a line it should have rejected: {text!r}")
        return text

    def wait_status(self, pattern, timeout=30):
        return wait_for(lambda: re.search(pattern, self.check_status()),
                        f"a status matching {pattern!r}", timeout)

    def finish(self, interrupt):
        code = self.end(interrupt)
        if code != 0:
            raise Failure(f"the demo ended with code {code}:\n{self.log_tail()}")
        if not re.search(r"undecodable lines 0", "".join(self.log)):
            raise Failure("the demo saw undecodable lines")
        try:
            os.kill(self.helper_pid, 0)
            raise Failure("the helper is still running after the demo ended")
        except ProcessLookupError:
            pass

    def check_record(self, expected):
        result = subprocess.run([CHECK, self.record, "--expect", ",".join(expected)],
                                capture_output=True, text=True)
        print(result.stdout.strip(), flush=True)
        if result.returncode != 0:
            raise Failure("the record check failed:\n" + result.stdout + result.stderr)


def limit_case():
    demo = DemoRun("--scenario", "limit", "--autostart", "--speed", "3", "--rate", "30",
                   "--malformed-every", "0.4", "--appearance", "dark")
    # The session runs, the account runs out, the limit card offers more time.
    demo.wait_status(r"^Listening")
    request = demo.find("push button", "Request more Live Translate time", timeout=60)
    demo.find("push button", "Try Live Translate again")
    demo.press(request)
    demo.wait_status(r"^More time added")
    demo.absent("push button", "Request more Live Translate time")
    demo.press(demo.find("push button", "Start Live Translate"))
    demo.find("push button", "Stop")
    demo.find("push button", "Cancel")
    demo.wait_status(r"^Listening")
    # The original text toggle goes to the host and comes back checked the other way.
    toggle = demo.find("check box", "Original")
    was_checked = demo.is_checked(toggle)
    demo.press(toggle, "Toggle")
    wait_for(lambda: demo.is_checked(demo.find("check box", "Original")) != was_checked,
             "the toggle to follow the host")
    demo.press(demo.find("push button", "Stop"))
    demo.find("push button", "Start Live Translate")
    demo.wait_status(r"^Ready")
    demo.finish(interrupt=True)
    demo.check_record(["request_more_time", "start", "set_shows_source_text", "stop"])
    # The record plays back into a new helper, which ends with the recorded terminate.
    replay = subprocess.run([DEMO, "--helper", HELPER, "--replay", demo.record, "--quiet"],
                            capture_output=True, text=True, timeout=90)
    if replay.returncode != 0:
        raise Failure(f"the replay ended with code {replay.returncode}: {replay.stderr}")
    os.unlink(demo.record)


def main():
    started = time.monotonic()
    try:
        limit_case()
    except Failure as error:
        print(f"FAIL demo: {error}", flush=True)
        for run in RUNS:
            if run.process.poll() is None:
                alive = "alive" if os.path.exists(f"/proc/{run.helper_pid}") else "gone"
                print(f"the demo was still running, its helper {alive}; it said:\n"
                      f"{run.log_tail()}", flush=True)
                run.process.kill()
        sys.exit(1)
    print(f"PASS demo ({time.monotonic() - started:.1f} s)", flush=True)


main()
