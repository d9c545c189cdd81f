#!/usr/bin/python3
"""Start-up, memory and idle figures of the helper process on a real X server.

Each run starts the helper on a private Xvfb (no window manager), sends "show" at once, and
measures:
  start to mapped  from just before the process is spawned to the X server's MapNotify of the
                   "Live Translate" window (seen by bench/map_clock)
  resident memory  VmRSS one second after the panel was mapped
  idle wake-ups    voluntary + involuntary context switches of all the helper's threads over
                   10 seconds with the panel shown and nothing happening, per thread name

Prints the median of each over the runs and the targets (150 ms, 45 MB, no wake-ups of its own).
Run it on an optimised build, under its own session bus:

  dbus-run-session -- bench/panel_bench.py --helper build/release/.../Tavu_Live_Translate_Helper \
      --map-clock build/release/bench/map_clock [--runs 10] [--idle 10]
"""

import argparse
import collections
import glob
import os
import select
import statistics
import subprocess
import sys
import time

TARGET_START_MS = 150
TARGET_RSS_MB = 45


def start_xvfb():
    read_end, write_end = os.pipe()
    process = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1920x1080x24", "-nolisten",
         "tcp", "-noreset"], pass_fds=(write_end,), stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    while not number.endswith(b"\n"):
        ready, _, _ = select.select([read_end], [], [], 10)
        chunk = os.read(read_end, 16) if ready else b""
        if not chunk:
            sys.exit("Xvfb did not start")
        number += chunk
    os.close(read_end)
    return process, ":" + number.decode().strip()


def task_switches(pid):
    """Context switches per thread (name, tid) of a process."""
    result = {}
    for status_path in glob.glob("/proc/%d/task/*/status" % pid):
        tid = int(status_path.split("/")[4])
        try:
            with open(status_path) as status:
                fields = dict(line.split(":", 1) for line in status if ":" in line)
        except FileNotFoundError:
            continue
        switches = int(fields["voluntary_ctxt_switches"]) + int(
            fields["nonvoluntary_ctxt_switches"])
        result[(fields["Name"].strip(), tid)] = switches
    return result


def resident_mb(pid):
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024.0
    return float("nan")


def one_run(args, env, idle_seconds):
    watcher = subprocess.Popen([args.map_clock, "Live Translate"], env=env,
                               stdout=subprocess.PIPE, text=True)
    if watcher.stdout.readline().strip() != "ready":
        sys.exit("map_clock did not start")
    started = time.monotonic()
    helper = subprocess.Popen([args.helper], stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, env=env)
    helper.stdin.write(b'{"type":"show"}\n')
    helper.stdin.flush()
    mapped = float(watcher.stdout.readline())
    watcher.wait()
    start_ms = (mapped - started) * 1000.0

    time.sleep(1.0)
    rss = resident_mb(helper.pid)
    before = task_switches(helper.pid)
    time.sleep(idle_seconds)
    after = task_switches(helper.pid)
    wakeups = collections.Counter()
    for key, count in after.items():
        wakeups[key[0]] += count - before.get(key, 0)

    helper.stdin.write(b'{"type":"terminate"}\n')
    helper.stdin.close()
    status = helper.wait(timeout=10)
    if status != 0:
        sys.exit("the helper ended with status %d" % status)
    return start_ms, rss, wakeups


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--helper", required=True)
    parser.add_argument("--map-clock", required=True)
    parser.add_argument("--runs", type=int, default=10)
    parser.add_argument("--idle", type=float, default=10.0)
    args = parser.parse_args()

    xvfb, display = start_xvfb()
    env = dict(os.environ)
    env.pop("QT_QPA_PLATFORM", None)
    env["DISPLAY"] = display
    try:
        starts, memories, idle = [], [], []
        for run in range(args.runs):
            start_ms, rss, wakeups = one_run(args, env, args.idle)
            starts.append(start_ms)
            memories.append(rss)
            idle.append(wakeups)
            threads = ", ".join("%s %d" % item for item in sorted(wakeups.items()))
            print("run %2d: start to mapped %6.1f ms, resident %5.1f MB, idle wake-ups: %s"
                  % (run + 1, start_ms, rss, threads), flush=True)
    finally:
        xvfb.terminate()
        xvfb.wait()

    names = sorted({name for run in idle for name in run})
    print()
    print("median over %d runs" % args.runs)
    print("  start to mapped   %6.1f ms   (target at most %d ms)"
          % (statistics.median(starts), TARGET_START_MS))
    print("  resident memory   %6.1f MB   (target at most %d MB)"
          % (statistics.median(memories), TARGET_RSS_MB))
    total = statistics.median(sum(run.values()) for run in idle)
    print("  idle wake-ups     %6.1f in %gs (target none of its own)" % (total, args.idle))
    for name in names:
        print("    %-16s %6.1f" % (name, statistics.median(run.get(name, 0) for run in idle)))


if __name__ == "__main__":
    main()
