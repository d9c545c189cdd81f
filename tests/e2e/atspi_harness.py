"""Drives the real helper over real pipes and its panel through AT-SPI, as a screen reader or a
test robot would: controls are found by role and label, pressed through their actions, and read
through their names, descriptions and states.

Run under tests/e2e/run_desktop.sh, which provides the X server, the session bus and the
accessibility bus, and with the system Python (/usr/bin/python3), which has pyatspi.
"""

import os
import re
import signal
import subprocess
import sys
import threading

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

import pyatspi  # noqa: E402

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import helper_process  # noqa: E402
from helper_process import (Failure, Fatal, active_snapshot, base_snapshot,  # noqa: E402,F401
                            wait_for)

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

    @staticmethod
    def is_enabled(control):
        return control.getState().contains(pyatspi.STATE_ENABLED)

    @staticmethod
    def is_checked(control):
        return control.getState().contains(pyatspi.STATE_CHECKED)

    @staticmethod
    def is_selected(control):
        return control.getState().contains(pyatspi.STATE_SELECTED)

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


class Helper(helper_process.Helper, Panel):
    """The helper process: host messages in, command lines out, its panel through AT-SPI."""

    def __init__(self, path):
        helper_process.Helper.__init__(self, path)
        Panel.__init__(self, self.process.pid)

    def check_alive(self):
        code = self.process.poll()
        if code is not None:
            raise Fatal(f"the helper ended with code {code}")


def shown(helper, snapshot):
    """Sends the snapshot, shows the panel and waits until its status reads."""
    helper.snapshot(snapshot)
    helper.show()
    helper.find("label", "Live Translation status")
    return helper
