"""The demo host's limit scenario, malformed lines among its own, with the real helper driven
through AT-SPI: the demo sees only commands, its record holds the user's in order and none after
terminate, and it plays back into a new helper.    demo_e2e.py DEMO_HOST HELPER (run_desktop.sh)
"""

import json
import os
import re
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_harness import DemoPanel, Failure, Fatal, wait_for  # noqa: E402

DEMO, HELPER = sys.argv[1:3]
LIMIT = "Request more Live Translate time"


def commands_in(record):
    """The kinds of the commands the helper wrote, and those it wrote after the host's
    terminate."""
    kinds, after_terminate, ended = [], [], False
    with open(record, encoding="utf-8") as file:
        for entry in map(json.loads, file):
            if entry["from"] == "host":  # its malformed lines too
                ended = ended or entry.get("line") == '{"type":"terminate"}'
            else:
                kind = json.loads(entry["line"])["type"]
                (after_terminate if ended else kinds).append(kind)
    return kinds, after_terminate


def walk(demo):
    def status(pattern, timeout=30):
        def matches():
            text = demo.status_text()
            if "MALFORMED LINE SHOWN" in text or "STALE SNAPSHOT SHOWN" in text:
                raise Fatal(f"the panel shows a line it should have rejected: {text!r}")
            return re.search(pattern, text)
        wait_for(matches, f"a status matching {pattern!r}", timeout)

    # The session runs, the account runs out, the limit card offers more time.
    status(r"^Listening")
    demo.press(demo.find("push button", LIMIT, timeout=60))
    status(r"^More time added")
    demo.absent("push button", LIMIT)
    demo.press(demo.find("push button", "Start Live Translate"))
    status(r"^Listening")
    # The original text toggle goes to the host and comes back checked the other way.
    was_checked = demo.is_checked(demo.find("check box", "Original"))
    demo.press(demo.find("check box", "Original"), "Toggle")
    wait_for(lambda: demo.is_checked(demo.find("check box", "Original")) != was_checked,
             "the toggle to follow the host")
    demo.press(demo.find("push button", "Stop"))
    demo.find("push button", "Start Live Translate")
    status(r"^Ready")


def main():
    started = time.monotonic()
    record = tempfile.NamedTemporaryFile(prefix="tavu-demo-", suffix=".jsonl", delete=False).name
    demo = DemoPanel(DEMO, HELPER, "--record", record, "--scenario", "limit", "--autostart",
                     "--speed", "3", "--rate", "30", "--malformed-every", "0.4",
                     "--appearance", "dark")
    try:
        walk(demo)
        code = demo.end()
        if code != 0 or "undecodable lines 0" not in "".join(demo.log):
            raise Failure(f"the demo ended with code {code}:\n{demo.log_tail()}")
        if os.path.exists(f"/proc/{demo.helper_pid}"):
            raise Failure("the helper is still running after the demo ended")
        kinds, after_terminate = commands_in(record)
        if kinds != ["request_more_time", "start", "set_shows_source_text", "stop"]:
            raise Failure(f"the helper wrote {kinds}")
        if after_terminate:
            raise Failure(f"the helper wrote {after_terminate} after the host's terminate")
        # The record plays back into a new helper, which ends with the recorded terminate.
        replay = subprocess.run([DEMO, "--helper", HELPER, "--replay", record, "--quiet"],
                                capture_output=True, text=True, timeout=90)
        if replay.returncode != 0:
            raise Failure(f"the replay ended with code {replay.returncode}: {replay.stderr}")
    except Failure as error:
        print(f"FAIL demo: {error}", flush=True)
        if demo.process.poll() is None:
            print(f"the demo was still running; it said:\n{demo.log_tail()}", flush=True)
            demo.process.kill()
        return 1
    finally:
        os.unlink(record)
    print(f"PASS demo ({time.monotonic() - started:.1f} s)", flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
