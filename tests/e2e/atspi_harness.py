"""Drives the real helper over real pipes and its panel through AT-SPI, as a screen reader or a
test robot would: controls are found by role and label, pressed through their actions, and read
through their names, descriptions and states.

Run under tests/e2e/run_desktop.sh, which provides the X server, the session bus and the
accessibility bus, and with the system Python (/usr/bin/python3), which has pyatspi.
"""

import json
import os
import re
import select
import signal
import subprocess
import threading
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

import pyatspi  # noqa: E402

WAIT_S = 10.0


LANGUAGES = [
    ("de", "German"), ("en", "English"), ("es", "Spanish"), ("fr", "French"),
    ("ja", "Japanese"), ("pt-br", "Portuguese (Brazil)"),
]


def base_snapshot(generation=1, **fields):
    """A complete snapshot as a host would send it; fields override the defaults."""
    snapshot = dict(
        generation=generation, lifecycle="inactive", statusMessage="Ready", hasFailure=False,
        canRequestMoreTime=False, isSessionActive=False, isStartEnabled=True,
        sourceLanguage="es", targetLanguage="en", selectedAudioSourceID="mac-audio",
        sourceLanguages=[{"id": "multi", "displayName": "Detect automatically"}]
        + [{"id": i, "displayName": n} for i, n in LANGUAGES],
        targetLanguages=[{"id": i, "displayName": n} for i, n in LANGUAGES],
        audioSources=[{"id": "mac-audio", "displayName": "All system audio"},
                      {"id": "bundle:org.example.Player", "displayName": "Player"}],
        actualAudioSourceDescription="All system audio", droppedCaptureBuffers=0,
        captureAudioLevel=0.0, appearanceMode="light", showsSourceText=True, committedCards=[])
    snapshot.update(fields)
    return snapshot


def active_snapshot(generation, **fields):
    values = dict(lifecycle="listening", statusMessage="Listening", isSessionActive=True,
                  isStartEnabled=False)
    values.update(fields)
    return base_snapshot(generation, **values)


class Failure(AssertionError):
    pass


class Fatal(Failure):
    """A failure that no amount of waiting mends: the process under test has ended, say."""


def wait_for(predicate, what, timeout=15.0):
    """Polls predicate until it returns a true value, which is returned; errors on the way (the
    tree changes under us while the panel redraws) are retried, but not Fatal ones."""
    deadline, last_error = time.monotonic() + timeout, None
    while True:
        try:
            value = predicate()
            if value:
                return value
        except Fatal:
            raise
        except Exception as error:
            last_error = error
        if time.monotonic() > deadline:
            detail = f" (last error: {last_error})" if last_error else ""
            raise Failure(f"timed out after {timeout:.0f} s waiting for {what}{detail}")
        time.sleep(0.03)


DEFAULT_TIMEOUT = 15.0
# libatspi's words for an application that left the accessibility bus.
APPLICATION_GONE = "no longer exists"


class Panel:
    """The panel of the helper process with this pid, as assistive technology sees it."""

    def __init__(self, pid):
        self.pid = pid
        self._app = None

    def check_alive(self):
        """Raises Fatal when the process under test has ended; the panels of subclasses that
        own the process know how to tell."""

    def app(self):
        self.check_alive()
        if self._app is None:
            def find():
                desktop = pyatspi.Registry.getDesktop(0)
                for index in range(desktop.childCount):
                    candidate = desktop.getChildAtIndex(index)
                    if candidate is not None and candidate.get_process_id() == self.pid:
                        return candidate
                return None
            self._app = wait_for(find, "the helper on the accessibility bus")
            # Read names, descriptions and states afresh every time: the panel redraws itself.
            self._app.set_cache_mask(Atspi.Cache.NONE)
        return self._app

    def find_all(self, role=None, name=None, showing=True, within=None):
        """Every control with this role name and label under the helper's windows (or under the
        control `within`)."""
        found = []

        def visit(node):
            for index in range(node.childCount):
                child = node.getChildAtIndex(index)
                if child is None:
                    continue
                states = child.getState()
                if showing and not states.contains(pyatspi.STATE_SHOWING):
                    continue
                if (role is None or child.getRoleName() == role) and (
                        name is None or child.name == name):
                    found.append(child)
                visit(child)

        try:
            visit(within if within is not None else self.app())
        except Exception as error:
            if APPLICATION_GONE in str(error):
                # The helper left the bus: it ended, or its bridge connected anew under another
                # name. Look it up again on the next try.
                self._app = None
                self.check_alive()
            raise
        return found

    def find(self, role, name, timeout=DEFAULT_TIMEOUT, within=None):
        return wait_for(lambda: (self.find_all(role, name, within=within) or [None])[0],
                        f"a showing {role} labelled {name!r}", timeout)

    def absent(self, role, name, timeout=DEFAULT_TIMEOUT):
        wait_for(lambda: not self.find_all(role, name), f"no showing {role} labelled {name!r}",
                 timeout)

    @staticmethod
    def actions(control):
        actions = control.queryAction()
        return [actions.getName(i) for i in range(actions.nActions)]

    @staticmethod
    def press(control, action="Press"):
        names = Panel.actions(control)
        if action not in names:
            raise Failure(f"{control.name!r} offers {names}, not {action!r}")
        control.queryAction().doAction(names.index(action))

    is_enabled = staticmethod(lambda control: control.getState().contains(pyatspi.STATE_ENABLED))
    is_checked = staticmethod(lambda control: control.getState().contains(pyatspi.STATE_CHECKED))
    is_selected = staticmethod(
        lambda control: control.getState().contains(pyatspi.STATE_SELECTED))

    def status_text(self):
        """The status line as a screen reader reads it: the description of the labelled text."""
        return self.find("label", "Live Translation status").description


class DemoPanel(Panel):
    """The demo host (tools/demo_host) driving a helper it started; AT-SPI finds the helper by the
    pid the demo prints. The demo's log is read all along, so that it never waits on a full pipe
    and a failure can show what it said."""

    def __init__(self, demo, helper, *options):
        self.process = subprocess.Popen([demo, "--helper", helper, *options],
                                        stdin=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                        text=True)
        self.log = []
        self.helper_pid = None
        while self.helper_pid is None:
            line = self.process.stderr.readline()
            if not line:
                raise Failure("the demo ended before starting the helper: " + "".join(self.log))
            self.log.append(line)
            match = re.search(r"started, pid (\d+)", line)
            if match:
                self.helper_pid = int(match.group(1))
        self._reader = threading.Thread(target=self._read_log, daemon=True)
        self._reader.start()
        super().__init__(self.helper_pid)

    def _read_log(self):
        for line in self.process.stderr:
            self.log.append(line)

    def log_tail(self, lines=20):
        return "".join(self.log[-lines:])

    def check_alive(self):
        code = self.process.poll()
        if code is not None:
            self._reader.join(timeout=5)
            raise Fatal(f"the demo ended with code {code}:\n{self.log_tail()}")
        try:
            os.kill(self.helper_pid, 0)
        except ProcessLookupError:
            raise Fatal(f"the helper is gone while the demo runs:\n{self.log_tail()}") from None

    def end(self, interrupt=True):
        """Ends the demo (Ctrl+C unless it ends by itself) and returns its exit status, once its
        whole log is read."""
        if interrupt and self.process.poll() is None:
            self.process.send_signal(signal.SIGINT)
        try:
            code = self.process.wait(timeout=30)
        except subprocess.TimeoutExpired:
            self.process.kill()
            raise Failure("the demo did not end") from None
        self._reader.join(timeout=10)
        return code


class Helper(Panel):
    """The helper process with pipes on its standard input and output (its standard error goes to
    log_path, if given), and its panel through AT-SPI."""

    def __init__(self, program, env=None, log_path=None):
        self.log = open(log_path, "wb") if log_path else None
        self.process = subprocess.Popen([program], stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, stderr=self.log, env=env)
        self.output = b""
        self.taken = 0  # the bytes of output that read_line handed out
        super().__init__(self.process.pid)

    def check_alive(self):
        code = self.process.poll()
        if code is not None:
            raise Fatal(f"the helper ended with code {code}")

    def send_raw(self, data):
        self.process.stdin.write(data)
        self.process.stdin.flush()

    def send(self, message):
        line = message if isinstance(message, str) else json.dumps(message)
        self.send_raw(line.encode() + b"\n")

    def snapshot(self, snapshot):
        self.send({"type": "snapshot", "snapshot": snapshot})

    def show(self):
        self.send({"type": "show"})

    def _read_some(self, wait):
        """Reads what the helper writes within wait seconds; False once its output has ended."""
        ready, _, _ = select.select([self.process.stdout], [], [], max(wait, 0))
        if not ready:
            return True
        chunk = os.read(self.process.stdout.fileno(), 65536)
        self.output += chunk
        return bool(chunk)

    def read_line(self, timeout=WAIT_S):
        """The next line not yet read, with its line feed; None if none comes within timeout, b""
        once the output has ended."""
        deadline = time.monotonic() + timeout
        while (end := self.output.find(b"\n", self.taken)) < 0:
            if deadline <= time.monotonic():
                return None
            if not self._read_some(deadline - time.monotonic()):
                return b""
        line, self.taken = self.output[self.taken:end + 1], end + 1
        return line

    def expect_lines(self, *expected: bytes, timeout=WAIT_S):
        """The next lines must be exactly these bytes, each with its line feed."""
        for want in expected:
            got = self.read_line(timeout)
            if got != want + b"\n":
                raise Failure(f"expected the line {want!r}, the helper wrote {got!r}")

    def rest(self):
        """Once the helper has ended: the lines it wrote that were not read yet."""
        lines = []
        while line := self.read_line():
            lines.append(line)
        return lines

    def close(self):
        """Closes standard input, which ends the helper; it must end with status 0, and must have
        written no command beyond those the test read."""
        try:
            self.process.stdin.close()
        except BrokenPipeError:
            pass
        try:
            code = self.process.wait(timeout=WAIT_S)
        except subprocess.TimeoutExpired:
            raise Failure("the helper did not end when its standard input closed") from None
        if code != 0:
            raise Failure(f"the helper ended with code {code}")
        if self.rest():
            raise Failure(f"the helper wrote unexpected commands: {self.rest()}")

    def wait(self, timeout=WAIT_S):
        return self.process.wait(timeout=timeout)

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        for stream in (self.process.stdin, self.process.stdout):
            try:
                stream.close()
            except BrokenPipeError:
                pass
        if self.log is not None:
            self.log.close()


def shown(helper, snapshot):
    """Sends the snapshot, shows the panel and waits until its status reads."""
    helper.snapshot(snapshot)
    helper.show()
    helper.find("label", "Live Translation status")
    return helper
