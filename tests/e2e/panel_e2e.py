#!/usr/bin/python3
"""The helper as the host sees it: the real binary on a real X server, bare and under a window
manager (--wm), driven through real pipes; run under run_desktop.sh.
  panel_e2e.py --helper PATH --x-tool PATH [--wm openbox|xfwm4|mutter|kwin_x11] [unittest options]
"""

import argparse
import ctypes
import os
import re
import signal
import subprocess
import sys
import unittest

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
from atspi_harness import WAIT_S, Helper, active_snapshot, wait_for  # noqa: E402

ARGS = None

STOP, HIDE = b'{"type":"stop"}', b'{"type":"hide"}'
SCREEN_W, SCREEN_H = 1920, 1080
RIGHT_MARGIN = 18

# Two monitors of different heights on the one Xvfb screen: a left one that takes the screen's
# output, so that the whole-screen monitor goes away, and a shorter one on its right.
LEFT = (0, 0, 1200, 1080)
RIGHT = (1200, 0, 720, 800)

SESSION_RUNNING = {"type": "snapshot", "snapshot": active_snapshot(
    1, sourceLanguage="multi", sourceLanguages=[], targetLanguages=[], audioSources=[],
    actualAudioSourceDescription="Mac Audio", appearanceMode="system")}


# Where the panel goes (no window manager: no frame): 18 from the monitor's right edge, centred.
ON_SCREEN, ON_LEFT, ON_RIGHT = (1382, 160), (662, 160), (1382, 20)


class OnXvfb(unittest.TestCase):
    """On the X server of SCREEN_W × SCREEN_H that run_desktop.sh gave this process; the helpers'
    logs go to its private runtime folder, and the helper chooses X11 by itself."""
    runtime = os.environ["XDG_RUNTIME_DIR"]
    env = {k: v for k, v in os.environ.items() if k != "QT_QPA_PLATFORM"}

    def x(self, *command, check=False):
        return subprocess.run(command, env=self.env, check=check, capture_output=True,
                              text=True).stdout


class PanelTest(OnXvfb):

    def setUp(self):
        self.reset_monitors()
        self.warp(100, 100)
        self.helpers = []

    def tearDown(self):
        for helper in self.helpers:
            helper.stop()
        self.reset_monitors()

    def warp(self, x, y):
        self.x("xdotool", "mousemove", str(x), str(y), check=True)

    def set_monitor(self, name, rect, output):
        x, y, width, height = rect
        self.x("xrandr", "--setmonitor", name,
               "%d/%dx%d/%d+%d+%d" % (width, width // 4, height, height // 4, x, y), output,
               check=True)

    def reset_monitors(self):
        for name in ("tavu-left", "tavu-right"):
            self.x("xrandr", "--delmonitor", name)

    def two_monitors(self):
        self.set_monitor("tavu-left", LEFT, "screen")
        self.set_monitor("tavu-right", RIGHT, "none")

    def panel_window(self):
        def find():
            tree = self.x("xwininfo", "-root", "-tree")
            match = re.search(r"^\s*(0x[0-9a-f]+) \"Live Translate\"", tree, re.MULTILINE)
            return match.group(1) if match else None
        return wait_for(find, "a window titled Live Translate")

    def window_state(self, window):
        info = self.x("xwininfo", "-id", window)
        number = lambda label: int(re.search(label + r":\s+(-?\d+)", info).group(1))
        return {
            "mapped": "IsViewable" in info,
            "origin": (number("Absolute upper-left X"), number("Absolute upper-left Y")),
            "size": (number("Width"), number("Height")),
        }

    def wait_mapped(self, window, mapped=True):
        return wait_for(lambda: (lambda s: s if s["mapped"] == mapped else None)(
            self.window_state(window)), "the panel to be %s" % ("mapped" if mapped else "unmapped"))

    def wait_origin(self, window, origin):
        wait_for(lambda: self.window_state(window)["origin"] == origin, f"the panel at {origin}")

    def start(self):
        helper = Helper(ARGS.helper, self.env, os.path.join(self.runtime, "helper-%d.log" % len(self.helpers)))
        self.helpers.append(helper)
        return helper

    def test_show_maps_the_panel_where_the_rule_says_with_the_desktop_hints(self):
        helper = self.start()
        helper.send({"type": "show"})
        window = self.panel_window()
        state = self.wait_mapped(window)
        self.assertEqual(state["size"], (520, 760))
        self.assertEqual(state["origin"], ON_SCREEN)

        props = self.x("xprop", "-id", window, "_NET_WM_STATE", "_NET_WM_DESKTOP",
                       "_NET_WM_WINDOW_TYPE")
        for state_atom in ("_NET_WM_STATE_ABOVE", "_NET_WM_STATE_STICKY",
                           "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"):
            self.assertIn(state_atom, props)
        self.assertRegex(props, r"_NET_WM_DESKTOP\(CARDINAL\) = (4294967295|0xffffffff)")
        self.assertRegex(props, r"_NET_WM_WINDOW_TYPE\(ATOM\) = _NET_WM_WINDOW_TYPE_UTILITY")
        # Shown without taking the focus, yet able to take it; the content's size limits.
        hints = self.x("xprop", "-id", window, "WM_HINTS", "_NET_WM_USER_TIME", "WM_NORMAL_HINTS")
        self.assertIn("Client accepts input or input focus: True", hints)
        self.assertIn("_NET_WM_USER_TIME(CARDINAL) = 0", hints)
        self.assertIn("minimum size: 460 by 520", hints)
        self.assertIn("maximum size: 660 by 1200", hints)

        helper.send({"type": "hide"})
        self.wait_mapped(window, mapped=False)
        # Shown again: the hints are back on the window, which kept its place.
        helper.send({"type": "toggle"})
        self.assertEqual(self.wait_mapped(window)["origin"], ON_SCREEN)
        self.assertIn("_NET_WM_STATE_STICKY", self.x("xprop", "-id", window, "_NET_WM_STATE"))
        helper.send({"type": "toggle"})
        self.wait_mapped(window, mapped=False)

        helper.send({"type": "terminate"})
        self.assertEqual(helper.wait(), 0)
        self.assertEqual(helper.rest(), [])

    def shown_at(self, origin):
        """A new helper's panel, shown: it must go to origin."""
        helper = self.start()
        helper.send({"type": "show"})
        window = self.panel_window()
        self.assertEqual(self.wait_mapped(window)["origin"], origin)
        return helper, window

    def test_the_panel_follows_the_monitors(self):
        self.two_monitors()
        # It opens on the monitor under the pointer.
        self.warp(300, 900)
        helper, _ = self.shown_at(ON_LEFT)
        helper.send({"type": "terminate"})
        self.assertEqual(helper.wait(), 0)
        self.warp(1500, 300)
        visible, window = self.shown_at(ON_RIGHT)
        # Its monitor goes: the pointer is now on no monitor, and the primary one takes it.
        self.x("xrandr", "--delmonitor", "tavu-right")
        self.wait_origin(window, ON_LEFT)
        self.assertTrue(self.window_state(window)["mapped"])
        visible.stop()

        # Hidden when its monitor goes, it stays put, and is placed like the first time when shown.
        self.set_monitor("tavu-right", RIGHT, "none")
        hidden, window = self.shown_at(ON_RIGHT)
        hidden.send({"type": "hide"})
        self.wait_mapped(window, mapped=False)
        self.x("xrandr", "--delmonitor", "tavu-right")
        self.x(ARGS.x_tool, "ping", window, check=True)  # the helper has seen the change
        self.assertEqual(self.window_state(window)["origin"], ON_RIGHT)
        self.assertFalse(self.window_state(window)["mapped"])
        hidden.send({"type": "show"})
        self.assertEqual(self.wait_mapped(window)["origin"], ON_LEFT)
        hidden.send({"type": "terminate"})
        self.assertEqual(hidden.wait(), 0)

    def test_close_button_hides_and_tells_the_host(self):
        helper = self.start()
        helper.send({"type": "show"})
        window = self.panel_window()
        self.wait_mapped(window)
        self.x(ARGS.x_tool, "close", window)
        self.wait_mapped(window, mapped=False)
        helper.expect_lines(HIDE)

        # With a session running, it is stopped first.
        helper.send(SESSION_RUNNING)
        helper.send({"type": "show"})
        self.wait_mapped(window)
        self.x(ARGS.x_tool, "close", window)
        self.wait_mapped(window, mapped=False)
        helper.expect_lines(STOP, HIDE)
        self.assertIsNone(helper.process.poll())
        helper.send({"type": "terminate"})
        self.assertEqual(helper.wait(), 0)

    def test_started_without_standard_output_it_works_on(self):
        missing = subprocess.Popen([ARGS.helper], env=self.env, stdin=subprocess.PIPE,
                                   stderr=subprocess.DEVNULL, preexec_fn=lambda: os.close(1))
        self.addCleanup(lambda: missing.poll() is None and (missing.kill(), missing.wait()))
        missing.stdin.write(b'{"type":"show"}\n')
        missing.stdin.flush()
        window = self.panel_window()
        self.wait_mapped(window)
        self.x(ARGS.x_tool, "close", window)  # a hide into no pipe
        self.wait_mapped(window, mapped=False)
        missing.stdin.write(b'{"type":"show"}\n{"type":"terminate"}\n')
        missing.stdin.close()
        self.assertEqual(missing.wait(timeout=WAIT_S), 0)

    def flood_unread(self, helper, closes):
        """With a session running, `closes` presses of the close button (a stop and a hide each)
        while the host reads nothing; returns once the helper has taken all of them in."""
        helper.send(SESSION_RUNNING)
        helper.send({"type": "show"})
        window = self.panel_window()
        self.wait_mapped(window)
        self.x(ARGS.x_tool, "close", window, str(closes))
        self.x(ARGS.x_tool, "ping", window, check=True)
        return window

    def test_a_host_that_reads_again_gets_whole_lines_in_order(self):
        helper = self.start()
        window = self.flood_unread(helper, 40000)  # 1.25 MB: the pipe and the queue are full
        # Then the session ends and one more close gives a lone hide, after the rest.
        helper.send(dict(SESSION_RUNNING, snapshot=dict(SESSION_RUNNING["snapshot"], isSessionActive=False)))
        self.x(ARGS.x_tool, "close", window)
        stop, hide = STOP + b"\n", HIDE + b"\n"
        lines = []
        while lines[-2:] != [hide, hide]:
            line = helper.read_line()
            self.assertIn(line, (stop, hide), "after %d lines" % len(lines))
            lines.append(line)
        self.assertEqual(lines[:2], [stop, hide])
        self.assertGreater(len(lines), 4096)  # more than the 64 KiB pipe held
        helper.send({"type": "terminate"})
        self.assertEqual(helper.wait(), 0)

    def test_end_of_input_and_terminate_end_the_process_with_status_zero(self):
        helper = self.start()
        helper.send({"type": "show"})
        self.wait_mapped(self.panel_window())
        helper.process.stdin.close()
        self.assertEqual(helper.wait(), 0)
        self.assertEqual(helper.rest(), [])
        # No standard input at all reads as its end.
        closed = subprocess.Popen([ARGS.helper], env=self.env, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL, preexec_fn=lambda: os.close(0))
        self.assertEqual(closed.wait(timeout=WAIT_S), 0)

    def test_the_death_of_the_host_ends_the_helper(self):
        # The host dies without closing the helper's input (its write end stays open here).
        libc = ctypes.CDLL(None, use_errno=True)
        pr_set_child_subreaper = 36
        self.assertEqual(libc.prctl(pr_set_child_subreaper, 1, 0, 0, 0), 0)
        read_end, write_end = os.pipe()
        host = subprocess.Popen(
            [sys.executable, "-c",
             "import subprocess, sys, time\n"
             "p = subprocess.Popen([sys.argv[1]], stdin=0, stdout=subprocess.DEVNULL)\n"
             "print(p.pid, flush=True)\n"
             "time.sleep(60)\n", ARGS.helper],
            stdin=read_end, stdout=subprocess.PIPE, env=self.env)
        os.close(read_end)
        try:
            helper_pid = int(host.stdout.readline())
            os.write(write_end, b'{"type":"show"}\n')
            self.wait_mapped(self.panel_window())
            host.kill()
            host.wait()
            # We are the helper's reaper now, so its exit status is ours to read.
            reaped = wait_for(lambda: (lambda r: r if r[0] else None)(
                os.waitpid(helper_pid, os.WNOHANG)), "the helper to end with its host")
            status = os.waitstatus_to_exitcode(reaped[1])
            self.assertEqual(status, 0)
        finally:
            os.close(write_end)
            host.stdout.close()
            if "helper_pid" in locals() and os.path.exists(f"/proc/{helper_pid}"):
                os.kill(helper_pid, signal.SIGKILL)


# How each window manager is started on the test's display, with what it needs in the environment.
WINDOW_MANAGERS = {
    "openbox": (["openbox", "--sm-disable"], {}),
    "xfwm4": (["xfwm4", "--compositor=off"], {}),
    "mutter": (["mutter", "--x11", "--replace"], {}),
    "kwin_x11": (["kwin_x11", "--replace"], {"QT_QPA_PLATFORM": "xcb", "KWIN_COMPOSE": "N"}),
}
# kwin_x11 takes several seconds to start on a loaded machine.
WM_START_S = 60.0
# Those that iconify a window asked to (WM_CHANGE_STATE) even when they offer no minimize for it.
ICONIFY_ON_REQUEST = {"openbox", "xfwm4"}


class FramedPanelTest(OnXvfb):
    """The panel under a real window manager (--wm), over an ordinary window that has the focus:
    placed by its frame, kept above on every desktop without taking the focus or asking for
    attention, back where it was after hiding, back from minimized, and its popover out of the
    pager."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        command, extra = WINDOW_MANAGERS[ARGS.wm]
        env = cls.env
        cls.wm = subprocess.Popen(command, env=dict(env, **extra), stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL)
        # The window manager is up once it has set its check window on the root.
        wait_for(lambda: "window id" in subprocess.run(
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=env, capture_output=True,
            text=True).stdout, ARGS.wm + " to start", WM_START_S)

    @classmethod
    def tearDownClass(cls):
        cls.wm.terminate()
        cls.wm.wait(timeout=WAIT_S)
        super().tearDownClass()

    def prop(self, window, name):
        return self.x("xprop", "-id", window, name)

    def root_windows(self, name):
        return re.findall(r"0x[0-9a-f]+", self.x("xprop", "-root", name).partition(":")[2])

    def frame_of(self, window):
        """The panel's frame on the screen: its window with the extents the manager gives it."""
        def framed():
            extents = re.search(r"= (\d+), (\d+), (\d+), (\d+)",
                                self.prop(window, "_NET_FRAME_EXTENTS"))
            info = self.x("xwininfo", "-id", window)
            if not extents or "IsViewable" not in info:
                return None
            left, right, top, bottom = map(int, extents.groups())
            number = lambda label: int(re.search(label + r":\s+(-?\d+)", info).group(1))
            return (number("Absolute upper-left X") - left, number("Absolute upper-left Y") - top,
                    number("Width") + left + right, number("Height") + top + bottom)
        return wait_for(framed, "the window manager to frame the panel")

    def wait_frame_at(self, window, origin):
        wait_for(lambda: self.frame_of(window)[:2] == origin, f"the frame at {origin}")

    def wait_wm_state(self, window, state):
        wait_for(lambda: "window state: " + state in self.prop(window, "WM_STATE"), state)

    def open_ordinary_window(self):
        """An ordinary application window with the focus, as the user's terminal would be."""
        before = set(self.root_windows("_NET_CLIENT_LIST"))
        other = subprocess.Popen(["xmessage", "-geometry", "500x300+100+100", "an application"],
                                 env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(other.kill)
        window = wait_for(lambda: set(self.root_windows("_NET_CLIENT_LIST")) - before,
                          "the ordinary window to be managed").pop()
        self.x("xdotool", "windowactivate", window)
        active = lambda: self.root_windows("_NET_ACTIVE_WINDOW")[:1] == [window]
        wait_for(active, "the ordinary window to get the focus")
        return window

    def test_the_panel_holds_under_the_window_manager(self):
        other = self.open_ordinary_window()
        helper = Helper(ARGS.helper, self.env, os.path.join(self.runtime, ARGS.wm + ".log"))
        self.addCleanup(helper.stop)
        helper.send({"type": "show"})
        window = wait_for(lambda: re.search(r"^\s*(0x[0-9a-f]+) \"Live Translate\"", self.x(
            "xwininfo", "-root", "-tree"), re.MULTILINE), "a window titled Live Translate").group(1)

        # The frame, title bar and borders included, goes 18 from the right edge, centred.
        frame = self.frame_of(window)
        placed = (SCREEN_W - RIGHT_MARGIN - frame[2], (SCREEN_H - frame[3]) // 2)
        self.wait_frame_at(window, placed)

        # Above the ordinary window, which keeps the focus; on all desktops; out of the task
        # lists; asking for no attention; no minimize or maximize asked for.
        stacking = self.root_windows("_NET_CLIENT_LIST_STACKING")
        self.assertGreater(stacking.index(window), stacking.index(other))
        self.assertEqual(self.root_windows("_NET_ACTIVE_WINDOW")[:1], [other])
        self.assertIn("not found", self.prop(window, "WM_TRANSIENT_FOR"))
        self.assertRegex(self.prop(window, "_NET_WM_DESKTOP"), r"= 4294967295$")
        states = self.prop(window, "_NET_WM_STATE")
        for state in ("_NET_WM_STATE_ABOVE", "_NET_WM_STATE_SKIP_TASKBAR",
                      "_NET_WM_STATE_SKIP_PAGER"):
            self.assertIn(state, states)
        self.assertNotIn("_NET_WM_STATE_DEMANDS_ATTENTION", states)
        # Functions: move, resize, close; decorations: border, resize handles, title, menu.
        self.assertIn("= 0x3, 0x26, 0x1e,", self.prop(window, "_MOTIF_WM_HINTS"))
        if ARGS.wm not in ICONIFY_ON_REQUEST:
            self.assertNotIn("MINIMIZE", self.prop(window, "_NET_WM_ALLOWED_ACTIONS"))

        self.x("wmctrl", "-n", "2")
        wait_for(lambda: "= 2" in self.x("xprop", "-root", "_NET_NUMBER_OF_DESKTOPS"), "2 desktops")
        self.x("wmctrl", "-s", "1")
        wait_for(lambda: "= 1" in self.x("xprop", "-root", "_NET_CURRENT_DESKTOP"), "desktop 1")
        self.assertIn("IsViewable", self.x("xwininfo", "-id", window))
        self.assertRegex(self.prop(window, "_NET_WM_DESKTOP"), r"= 4294967295$")
        self.x("wmctrl", "-s", "0")

        # Moved, then hidden and shown twice: the frame comes back exactly where it was.
        self.x("xdotool", "windowmove", window, "300", "150")
        moved = wait_for(lambda: (lambda f: f if f[:2] != placed else None)(self.frame_of(window)),
                         "the panel to move")
        for _ in range(2):
            helper.send({"type": "hide"})
            wait_for(lambda: "IsUnMapped" in self.x("xwininfo", "-id", window), "the panel to hide")
            helper.send({"type": "show"})
            self.wait_frame_at(window, moved[:2])

        # Minimized anyway (a window list can ask for it): show and toggle bring it back.
        if ARGS.wm in ICONIFY_ON_REQUEST:
            for message in ("show", "toggle"):
                self.x("xdotool", "windowminimize", window)
                self.wait_wm_state(window, "Iconic")
                helper.send({"type": message})
                self.wait_wm_state(window, "Normal")
                self.wait_frame_at(window, moved[:2])

        # The language picker's window is left out of the taskbar and the pager too.
        before = set(self.root_windows("_NET_CLIENT_LIST"))
        self.x("xdotool", "mousemove", "--window", window, "250", "30", "click", "1")
        popover = wait_for(lambda: set(self.root_windows("_NET_CLIENT_LIST")) - before,
                           "the popover to open").pop()
        popover_states = self.prop(popover, "_NET_WM_STATE")
        for state in ("_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"):
            self.assertIn(state, popover_states)

        # Closed by Escape, the picker hands the keyboard back to the panel, on the button that
        # opened it (Space opens it again); closed by a press elsewhere on the panel, too.
        active = lambda w: self.root_windows("_NET_ACTIVE_WINDOW")[:1] == [w]
        viewable = lambda w: "IsViewable" in self.x("xwininfo", "-id", w)
        wait_for(lambda: active(popover), "the picker to get the focus")
        self.x("xdotool", "key", "Escape")
        wait_for(lambda: not viewable(popover), "Escape to close the picker")
        wait_for(lambda: active(window), "the focus back on the panel after Escape")
        self.x("xdotool", "key", "space")
        wait_for(lambda: active(popover), "Space to reopen the picker")
        self.x("xdotool", "mousemove", "--window", window, "250", "600", "click", "1")
        wait_for(lambda: not viewable(popover), "a press to close the picker")
        wait_for(lambda: active(window), "the focus back on the panel after a press")

        helper.send({"type": "terminate"})
        self.assertEqual(helper.wait(), 0)
        self.assertEqual(helper.rest(), [])


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("--helper", required=True)
    parser.add_argument("--x-tool", required=True)
    parser.add_argument("--wm", choices=sorted(WINDOW_MANAGERS), default="openbox",
                        help="the window manager of the framed test")
    ARGS, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
