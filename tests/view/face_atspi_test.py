"""The panel's header and limit card as assistive technology sees them over AT-SPI.

Runs the probe (the view in a real window), finds controls by role and label as a screen reader
would, reads their descriptions (where text values live) and states, and presses them through
their AT-SPI actions. Run by face_atspi_run.sh on a private X server and buses, with the system
Python, which has the Atspi bindings.
    face_atspi_test.py PROBE
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
        self.expect("ready 1")

    def _read(self):
        for line in self.process.stdout:
            self.lines.put(line.rstrip("\n"))

    def expect(self, line, timeout=TIMEOUT):
        deadline = time.monotonic() + timeout
        while True:
            remaining = deadline - time.monotonic()
            if remaining <= 0:
                raise Failure(f"the probe never said {line!r}")
            try:
                got = self.lines.get(timeout=remaining)
            except queue.Empty:
                continue
            if got == line:
                return
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
        if app is not None and app.get_name() == "face_atspi_probe":
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


BUTTON = {Atspi.Role.PUSH_BUTTON}
TEXT = {Atspi.Role.LABEL, Atspi.Role.STATIC, Atspi.Role.TEXT}


def control(app, name, roles=BUTTON):
    return wait_for(lambda: find(app, name, roles), f"{name!r}")


def has(node, state):
    return node.get_state_set().contains(state)


def showing(app, name, roles=BUTTON):
    node = find(app, name, roles)
    return node is not None and has(node, Atspi.StateType.SHOWING)


def actions(node):
    """The names of the node's actions, lower-cased; the accessible itself is the Action."""
    count = Atspi.Action.get_n_actions(node)
    return [Atspi.Action.get_action_name(node, i).lower() for i in range(count)]


def press(node):
    names = actions(node)
    if "press" not in names:
        raise Failure(f"{node.get_name()!r} cannot be pressed: {names}")
    Atspi.Action.do_action(node, names.index("press"))


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_description(app, name, expected, roles=BUTTON):
    wait_for(lambda: find(app, name, roles).get_description() == expected,
             f"{name!r} described as {expected!r}")


def run(probe_path):
    probe = Probe(probe_path)
    try:
        app = wait_for(application, "the probe on the accessibility bus")

        # The initial look: a pair and an audio source described by their values.
        wait_description(app, "Languages", "AUTO → EN")
        wait_description(app, "Audio source", "All Mac audio")
        wait_description(app, "Live Translation status", "Ready", TEXT)
        start = control(app, "Start Live Translate")
        check(has(start, Atspi.StateType.SENSITIVE), "Start is enabled by the snapshot")
        check(has(start, Atspi.StateType.FOCUSABLE), "Start takes keyboard focus")
        check(has(control(app, "Audio source"), Atspi.StateType.SENSITIVE),
              "the audio button is enabled outside a session")
        close = control(app, "Close Live Translate")
        check(not showing(app, "Request more Live Translate time"), "no limit card yet")

        # Pressing through assistive technology does what a click does.
        press(start)
        probe.expect("command start")
        press(control(app, "Languages"))
        probe.expect("languages 1")
        press(control(app, "Audio source"))
        probe.expect("audio 1")

        # The limit: Try again and the card's button.
        probe.apply("limit")
        wait_for(lambda: showing(app, "Try Live Translate again"), "Try again")
        wait_for(lambda: showing(app, "Request more Live Translate time"), "the limit card")
        press(control(app, "Request more Live Translate time"))
        probe.expect("command request_more_time")
        press(control(app, "Request more Live Translate time"))
        probe.expect("command request_more_time")

        # A session: status and values follow, the audio button is disabled.
        probe.apply("listening")
        wait_description(app, "Live Translation status", "Listening", TEXT)
        wait_description(app, "Languages", "DE → EN")
        wait_description(app, "Audio source", "Player")
        wait_for(lambda: not has(find(app, "Audio source", BUTTON), Atspi.StateType.SENSITIVE),
                 "the audio button disabled during the session")
        check(not showing(app, "Request more Live Translate time"), "no card in a session")
        press(control(app, "Stop"))
        probe.expect("command stop")
        press(control(app, "Cancel"))
        probe.expect("command cancel")
        # A disabled control offers nothing to press.
        check("press" not in actions(find(app, "Audio source", BUTTON)),
              "the disabled audio button offers no press")
        probe.silent()

        # Host text is text, never markup.
        probe.apply("markup")
        wait_description(app, "Live Translation status", '<b>x</b> <img src="y">', TEXT)

        press(close)
        probe.expect("hide panel")
        probe.expect("command hide")
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
    print("face AT-SPI checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
