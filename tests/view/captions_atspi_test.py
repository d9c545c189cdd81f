"""The captions as assistive technology reads them over AT-SPI.

Runs the probe (the panel in a real window) and checks that the caption list is a list named
"Live translation captions" whose items are the cards in view, named by their translations and
described by their sources while originals show; that the live card reads its texts; and that
the Toggle action of the "Original" check box sends exactly one command. Run by
captions_atspi_run.sh on a private X server and buses, with the system Python.
    captions_atspi_test.py PROBE
"""

import queue
import subprocess
import sys
import threading
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

TIMEOUT = 20.0


class Failure(AssertionError):
    pass


def wait_for(predicate, what, timeout=TIMEOUT):
    deadline = time.monotonic() + timeout
    last = None
    while True:
        try:
            value = predicate()
            if value:
                return value
        except Exception as error:  # the tree changes while the view redraws
            last = error
        if time.monotonic() > deadline:
            raise Failure(f"timed out waiting for {what}" + (f" ({last})" if last else ""))
        time.sleep(0.05)


class Probe:
    def __init__(self, path):
        self.process = subprocess.Popen([path], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        text=True, bufsize=1)
        self.lines = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()
        self.expect("ready")

    def _read(self):
        for line in self.process.stdout:
            self.lines.put(line.rstrip("\n"))

    def expect(self, line, timeout=TIMEOUT):
        try:
            got = self.lines.get(timeout=timeout)
        except queue.Empty:
            raise Failure(f"the probe never said {line!r}") from None
        if got != line:
            raise Failure(f"expected {line!r} from the probe, got {got!r}")

    def silent(self, wait=0.5):
        time.sleep(wait)
        if not self.lines.empty():
            raise Failure(f"the probe said {self.lines.get()!r} unasked")

    def apply(self, scene):
        self.process.stdin.write(scene + "\n")
        self.process.stdin.flush()
        self.expect(f"applied {scene}")

    def close(self):
        if self.process.poll() is None:
            self.process.stdin.close()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


def application():
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_name() == "captions_atspi_probe":
            return app
    return None


def descendants(node):
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is None:
            continue
        yield child
        yield from descendants(child)


def find(app, name, roles):
    app.clear_cache()
    for node in descendants(app):
        if node.get_name() == name and node.get_role() in roles:
            return node
    return None


def items(app):
    """(name, description) of each item of the caption list, in order."""
    caption_list = find(app, "Live translation captions", {Atspi.Role.LIST})
    if caption_list is None:
        return None
    result = []
    for i in range(caption_list.get_child_count()):
        child = caption_list.get_child_at_index(i)
        if child is not None and child.get_role() == Atspi.Role.LIST_ITEM:
            result.append((child.get_name(), child.get_description()))
    return result


def check(condition, message):
    if not condition:
        raise Failure(message)


def run(probe_path):
    probe = Probe(probe_path)
    try:
        app = wait_for(application, "the probe on the accessibility bus")
        wait_for(lambda: items(app) == [], "an empty caption list")
        wait_for(lambda: find(app, "Listening for the first phrase…",
                              {Atspi.Role.LABEL, Atspi.Role.STATIC}), "the empty state's title")

        probe.apply("cards")
        expected = [("Good morning", "Guten Morgen"), ("<b>How</b> are you?", "Wie geht es?")]
        wait_for(lambda: items(app) == expected, f"the cards {expected}")
        live = wait_for(lambda: find(app, "Thank you", {Atspi.Role.FILLER, Atspi.Role.PANEL,
                                                        Atspi.Role.UNKNOWN}), "the live card")
        check(live.get_description() == "Danke", "the live card describes its source")

        probe.apply("hidden")
        wait_for(lambda: items(app) == [("Good morning", ""), ("<b>How</b> are you?", "")],
                 "cards without their sources")

        # Only the cards in view are items; the newest is among them.
        probe.apply("many")
        wait_for(lambda: items(app) and items(app)[-1][0] == "Sentence 499", "the newest card")
        count = len(items(app))
        check(0 < count < 30, f"{count} cards in view of 500")

        # The check box's Toggle action sends one command and shows the host's value.
        toggle = wait_for(lambda: find(app, "Original", {Atspi.Role.CHECK_BOX}), "Original")
        check(toggle.get_state_set().contains(Atspi.StateType.CHECKED), "Original is checked")
        names = [Atspi.Action.get_action_name(toggle, i).lower()
                 for i in range(Atspi.Action.get_n_actions(toggle))]
        check("toggle" in names, f"Original offers a toggle action: {names}")
        Atspi.Action.do_action(toggle, names.index("toggle"))
        probe.expect("command set_shows_source_text false")
        probe.silent()
        toggle = find(app, "Original", {Atspi.Role.CHECK_BOX})
        check(toggle.get_state_set().contains(Atspi.StateType.CHECKED),
              "Original stays at the snapshot's value")
    finally:
        probe.close()


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    try:
        run(sys.argv[1])
    except Failure as failure:
        print(f"FAIL: {failure}", file=sys.stderr)
        return 1
    print("captions AT-SPI checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
