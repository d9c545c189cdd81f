"""Reads the helper's panel through AT-SPI as fast as it can while the demo host streams a fast
session into it, and presses controls at random. Run on a private desktop: briefly by ctest
(tests/e2e/demo.cmake), for minutes under the sanitizers by bench/atspi_stress.

    screen_reader_stress.py DEMO_HOST HELPER [--seconds N] [--scenario NAME]

Exit status 0 when the helper lived through it and every line it wrote was a command.
"""

import argparse
import os
import random
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
sys.dont_write_bytecode = True
from atspi_harness import DemoPanel, Failure  # noqa: E402

# What gets pressed, and how often: ending the session is rare, so that captions keep streaming.
PRESSABLE = {"Languages": 4, "Audio source": 4, "Original": 3, "Copy latest": 2, "Copy all": 2,
             "Swap source and target languages": 2, "Start Live Translate": 2,
             "Request more Live Translate time": 2, "Try Live Translate again": 2, "Stop": 1,
             "Cancel": 1}
MAX_DEPTH = 14


class Reader:
    """Walks the accessible tree, asking every node for what a screen reader reads, and for
    children one and two past the count it was told (a list that shrank meanwhile)."""

    def __init__(self):
        self.nodes = 0
        self.refused = 0

    def walk(self, node, depth=0):
        try:
            count = node.childCount
        except Exception:
            self.refused += 1
            return
        for index in range(count + 2):
            try:
                child = node.getChildAtIndex(index)
            except Exception:
                self.refused += 1
                continue
            if child is None:
                continue
            self.nodes += 1
            try:
                child.name, child.description, child.getRoleName()
                child.getState()
                child.getIndexInParent()
                child.queryComponent().getExtents(0)
            except Exception:  # the panel changed under us, or the node has no extents
                self.refused += 1
            if depth < MAX_DEPTH:
                self.walk(child, depth + 1)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("demo")
    parser.add_argument("helper")
    parser.add_argument("--seconds", type=float, default=120)
    parser.add_argument("--scenario", default="normal")
    parser.add_argument("--seed", type=int, default=None, help="for the presses")
    args = parser.parse_args()
    seed = args.seed if args.seed is not None else random.randrange(1 << 32)
    random.seed(seed)
    print(f"presses drawn with --seed {seed}", flush=True)

    panel = DemoPanel(args.demo, args.helper, "--scenario", args.scenario, "--autostart",
                      "--speed", "8", "--rate", "60", "--malformed-every", "0.5")
    reader = Reader()
    walks = presses = 0
    started = time.monotonic()
    while time.monotonic() - started < args.seconds and panel.process.poll() is None:
        try:
            reader.walk(panel.app())
            walks += 1
        except Failure:
            break
        except Exception:
            reader.refused += 1
        if random.random() < 0.3:
            try:
                name = random.choices(list(PRESSABLE), weights=list(PRESSABLE.values()))[0]
                found = panel.find_all(None, name)
                if found and found[0].queryAction().nActions:
                    found[0].queryAction().doAction(0)
                    presses += 1
            except Exception:
                reader.refused += 1

    lived = panel.process.poll() is None
    code = panel.end(interrupt=lived)
    summary = "".join(panel.log)
    print(f"{time.monotonic() - started:.0f} s: {walks} walks over the panel, {reader.nodes} "
          f"nodes read, {reader.refused} reads refused while the panel changed, "
          f"{presses} presses")
    print(panel.log_tail(2).strip())
    if not lived or code != 0 or "undecodable lines 0" not in summary:
        print(f"FAIL: the demo ended with code {code}:\n{panel.log_tail(15)}")
        return 1
    print("PASS: the helper lived through it")
    return 0


if __name__ == "__main__":
    sys.exit(main())
