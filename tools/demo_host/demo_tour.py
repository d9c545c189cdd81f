"""A guided tour of the panel for a machine without a display: runs the demo host on the private
X server that run_desktop.sh provides, drives the panel through AT-SPI like a person would, and
takes a screenshot at each stop.

    demo_tour.py DEMO_HOST HELPER OUTPUT_DIR [demo host options...]
"""

import os
import subprocess
import sys
import time

import pyatspi

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "e2e"))
from atspi_harness import DemoPanel, Failure, wait_for  # noqa: E402

DEMO, HELPER, OUTPUT = sys.argv[1:4]
EXTRA = sys.argv[4:]
MARGIN = 24          # pixels of desktop around the panel in a screenshot
SETTLE = 0.6         # seconds for the panel to redraw before a screenshot
BACKGROUND = "#5d6b78"
PHRASE_WAIT = 8.0    # seconds of listening before the first screenshot
STOPS = 4


class Demo(DemoPanel):
    def __init__(self, *options):
        super().__init__(DEMO, HELPER, *options)

    def shoot(self, name):
        time.sleep(SETTLE)
        boxes = []
        for index in range(self.app().childCount):
            window = self.app().getChildAtIndex(index)
            if window is None or not window.getState().contains(pyatspi.STATE_SHOWING):
                continue
            x, y, w, h = window.queryComponent().getExtents(0)  # desktop coordinates
            if w > 0 and h > 0:
                boxes.append((x, y, x + w, y + h))
        if not boxes:
            raise Failure("no window of the helper is showing")
        left = max(0, min(b[0] for b in boxes) - MARGIN)
        top = max(0, min(b[1] for b in boxes) - MARGIN)
        right = max(b[2] for b in boxes) + MARGIN
        bottom = max(b[3] for b in boxes) + MARGIN
        path = os.path.join(OUTPUT, name)
        subprocess.run(["import", "-window", "root", "-crop",
                        f"{right - left}x{bottom - top}+{left}+{top}", "+repage", path],
                       check=True)
        print(f"demo: screenshot {path}", flush=True)
        return path

    def finish(self):
        code = self.end()
        if code != 0:
            raise Failure(f"the demo ended with code {code}")


def stop(name, action):
    """One stop of the tour; a stop that cannot be reached is reported and skipped."""
    try:
        return [action()]
    except Failure as error:
        print(f"demo: skipped {name}: {error}", file=sys.stderr, flush=True)
        return []


def session_tour():
    demo = Demo("--autostart", "--backlog", "2", "--appearance", "light", "--quiet", *EXTRA)
    shots = []
    try:
        demo.find("push button", "Stop", timeout=30)
        wait_for(lambda: demo.status_text().startswith("Listening"), "a listening session", 30)
        time.sleep(PHRASE_WAIT)  # a phrase or two in, the next one on its way
        shots += stop("the session", lambda: demo.shoot("1-session.png"))

        def languages():
            pair = demo.find("push button", "Languages")
            demo.press(pair)
            demo.find("push button", "Swap source and target languages")
            path = demo.shoot("2-languages.png")
            demo.press(pair)
            demo.absent("push button", "Swap source and target languages")
            return path

        shots += stop("the language picker", languages)

        def audio_sources():
            demo.press(demo.find("push button", "Stop"))
            demo.find("push button", "Start Live Translate", timeout=30)
            wait_for(lambda: demo.is_enabled(demo.find("push button", "Audio source")),
                     "the audio source button to be enabled")
            demo.press(demo.find("push button", "Audio source"))
            demo.find("progress bar", "Audio level")
            path = demo.shoot("3-audio-sources.png")
            demo.press(demo.find("push button", "Audio source"))
            return path

        shots += stop("the audio source picker", audio_sources)
    finally:
        demo.finish()
    return shots


def limit_tour():
    demo = Demo("--scenario", "limit", "--autostart", "--speed", "3", "--appearance", "dark",
                "--quiet")
    try:
        demo.find("push button", "Request more Live Translate time", timeout=60)
        return stop("the limit card", lambda: demo.shoot("4-limit-reached.png"))
    finally:
        demo.finish()


def main():
    os.makedirs(OUTPUT, exist_ok=True)
    subprocess.run(["xsetroot", "-solid", BACKGROUND], check=False)
    try:
        shots = session_tour() + limit_tour()
    except Failure as error:
        print(f"demo: the tour stopped: {error}", file=sys.stderr)
        sys.exit(1)
    print(f"demo: {len(shots)} screenshots in {os.path.abspath(OUTPUT)}")
    sys.exit(0 if len(shots) == STOPS else 1)


main()
