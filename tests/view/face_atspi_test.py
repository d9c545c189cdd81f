"""The panel's header and limit card as assistive technology sees them over AT-SPI.

Runs the probe (the view in a real window), finds controls by role and label as a screen reader
would, reads their descriptions (where text values live) and states, and presses them through
their AT-SPI actions. Run under tests/e2e/run_desktop.sh, on a private X server and buses, with
the system Python, which has the Atspi bindings.
    face_atspi_test.py PROBE
"""

import functools
import os
import sys

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "e2e"))
import atspi_harness  # noqa: E402
from atspi_harness import (Probe, action_names, application, check, do_action,  # noqa: E402
                           find_named, has_state, probe_main)

TIMEOUT = 20.0
wait_for = functools.partial(atspi_harness.wait_for, timeout=TIMEOUT)

BUTTON = {Atspi.Role.PUSH_BUTTON}
TEXT = {Atspi.Role.LABEL, Atspi.Role.STATIC, Atspi.Role.TEXT}


def control(app, name, roles=BUTTON):
    return wait_for(lambda: find_named(app, name, roles), f"{name!r}")


def showing(app, name, roles=BUTTON):
    node = find_named(app, name, roles)
    return node is not None and has_state(node, Atspi.StateType.SHOWING)


def press(node):
    do_action(node, "press")


def wait_description(app, name, expected, roles=BUTTON):
    wait_for(lambda: find_named(app, name, roles).get_description() == expected,
             f"{name!r} described as {expected!r}")


def run(probe_path):
    probe = Probe(probe_path, TIMEOUT)
    try:
        app = wait_for(lambda: application("face_atspi_probe"),
                       "the probe on the accessibility bus")

        # The initial look: a pair and an audio source described by their values.
        wait_description(app, "Languages", "AUTO → EN")
        wait_description(app, "Audio source", "All Mac audio")
        wait_description(app, "Live Translation status", "Ready", TEXT)
        start = control(app, "Start Live Translate")
        check(has_state(start, Atspi.StateType.SENSITIVE), "Start is enabled by the snapshot")
        check(has_state(start, Atspi.StateType.FOCUSABLE), "Start takes keyboard focus")
        check(has_state(control(app, "Audio source"), Atspi.StateType.SENSITIVE),
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
        wait_for(lambda: not has_state(find_named(app, "Audio source", BUTTON), Atspi.StateType.SENSITIVE),
                 "the audio button disabled during the session")
        check(not showing(app, "Request more Live Translate time"), "no card in a session")
        press(control(app, "Stop"))
        probe.expect("command stop")
        press(control(app, "Cancel"))
        probe.expect("command cancel")
        # A disabled control offers nothing to press.
        check("press" not in action_names(find_named(app, "Audio source", BUTTON)),
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


if __name__ == "__main__":
    sys.exit(probe_main(run, __doc__, "face AT-SPI checks passed"))
