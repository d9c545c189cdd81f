"""Runs the demo host against the helper for a long time and watches the helper from outside:
resident memory at the start, after the first minute and at the end, CPU time, and whether it ever
crashed or wrote a line that is not a command.

    soak_monitor.py DEMO_HOST HELPER [--minutes N] [--rate N] [--cards N] [--malformed-every S]

Run it on a display (bench/soak starts a private one). Prints a report; exits 1 when the helper
crashed, wrote an undecodable line, or grew by 5 MB or more after its first minute.
"""

import argparse
import os
import re
import signal
import subprocess
import sys
import time

GROWTH_LIMIT_KB = 5 * 1024
SAMPLE_EVERY = 10.0  # seconds
SETTLE = 5.0         # seconds after the start before the first reading
CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


def rss_kb(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    raise RuntimeError("no VmRSS")


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    # utime and stime are fields 14 and 15 of the line; the split above starts at field 3.
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("demo")
    parser.add_argument("helper")
    parser.add_argument("--minutes", type=float, default=10)
    parser.add_argument("--rate", type=float, default=30)
    parser.add_argument("--cards", type=int, default=2000)
    parser.add_argument("--malformed-every", type=float, default=1)
    args = parser.parse_args()

    duration = args.minutes * 60
    command = [args.demo, "--helper", args.helper, "--quiet", "--autostart",
               "--rate", str(args.rate), "--max-cards", str(args.cards),
               "--backlog", str(args.cards), "--speed", "4",
               "--malformed-every", str(args.malformed_every), "--duration", str(duration)]
    print("soak: " + " ".join(command), flush=True)
    demo = subprocess.Popen(command, stdin=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    log = []
    pid = None
    while pid is None:
        line = demo.stderr.readline()
        if not line:
            print("soak: the demo ended before starting the helper:\n" + "".join(log))
            return 1
        log.append(line)
        match = re.search(r"started, pid (\d+)", line)
        if match:
            pid = int(match.group(1))

    started = time.monotonic()
    samples = []  # (seconds, rss kB)
    readings = {}
    marks = [("start", SETTLE), ("after 1 min", 60.0), ("end", duration - 2.0)]
    next_sample = SETTLE
    cpu = None
    try:
        while demo.poll() is None:
            elapsed = time.monotonic() - started
            if elapsed >= next_sample or (marks and elapsed >= marks[0][1]):
                try:
                    rss = rss_kb(pid)
                    cpu = cpu_seconds(pid)
                except (OSError, RuntimeError):
                    break  # the helper is gone; the demo's exit code says why
                samples.append((elapsed, rss))
                while marks and elapsed >= marks[0][1]:
                    readings[marks.pop(0)[0]] = (elapsed, rss, cpu)
                next_sample = elapsed + SAMPLE_EVERY
                print(f"soak: {elapsed:6.0f} s  rss {rss / 1024:7.1f} MB  cpu {cpu:7.1f} s",
                      flush=True)
            time.sleep(0.5)
    except KeyboardInterrupt:
        demo.send_signal(signal.SIGINT)
    log.extend(demo.stderr.readlines())
    code = demo.wait()
    wall = time.monotonic() - started

    summary = next((l.strip() for l in reversed(log) if l.startswith("demo: ") and "snapshots" in l),
                   "")
    print("\nsoak report")
    print(f"  run            {wall:.0f} s, {args.rate:g} snapshots/s at most, {args.cards} cards, "
          f"a malformed line every {args.malformed_every:g} s")
    for name in ("start", "after 1 min", "end"):
        if name in readings:
            at, rss, used = readings[name]
            print(f"  rss {name:<11} {rss / 1024:7.1f} MB  (at {at:.0f} s, cpu {used:.1f} s)")
    peak = max((rss for _, rss in samples), default=0)
    print(f"  rss peak       {peak / 1024:7.1f} MB")
    if cpu is not None:
        print(f"  cpu time       {cpu:.1f} s ({100 * cpu / max(wall, 1):.1f} % of one core)")
    print(f"  demo           {summary}")
    print(f"  demo exit code {code}")

    failed = code != 0
    if code != 0:
        print("  FAILED: the helper crashed, hung or wrote undecodable lines:\n"
              + "".join(log[-10:]))
    if "after 1 min" in readings and "end" in readings:
        growth = readings["end"][1] - readings["after 1 min"][1]
        verdict = "ok" if growth < GROWTH_LIMIT_KB else "FAILED"
        print(f"  growth after the first minute {growth / 1024:+.1f} MB "
              f"(target < 5 MB): {verdict}")
        failed = failed or growth >= GROWTH_LIMIT_KB
    return 1 if failed else 0


sys.exit(main())
