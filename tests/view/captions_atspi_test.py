"""The captions as assistive technology reads them over AT-SPI.

Runs the probe (the panel in a real window) and checks that the caption list is a list named
"Live translation captions" whose items are the cards in view, named by their translations and
described by their sources while originals show; that the live card reads its texts; and that
the Toggle action of the "Original" check box sends exactly one command. Run under
tests/e2e/run_desktop.sh on a private X server and buses, with the system Python.
    captions_atspi_test.py PROBE
"""

import functools
import os
import sys

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "e2e"))
import atspi_harness  # noqa: E402
from atspi_harness import (Probe, application, check, do_action, find_named,  # noqa: E402
                           probe_main)

TIMEOUT = 20.0
wait_for = functools.partial(atspi_harness.wait_for, timeout=TIMEOUT)


def items(app):
    """(name, description) of each item of the caption list, in order."""
    caption_list = find_named(app, "Live translation captions", {Atspi.Role.LIST})
    if caption_list is None:
        return None
    result = []
    for i in range(caption_list.get_child_count()):
        child = caption_list.get_child_at_index(i)
        if child is not None and child.get_role() == Atspi.Role.LIST_ITEM:
            result.append((child.get_name(), child.get_description()))
    return result


def run(probe_path):
    probe = Probe(probe_path, TIMEOUT)
    try:
        app = wait_for(lambda: application("captions_atspi_probe"),
                       "the probe on the accessibility bus")
        wait_for(lambda: items(app) == [], "an empty caption list")
        wait_for(lambda: find_named(app, "Listening for the first phrase…",
                              {Atspi.Role.LABEL, Atspi.Role.STATIC}), "the empty state's title")

        probe.apply("cards")
        expected = [("Good morning", "Guten Morgen"), ("<b>How</b> are you?", "Wie geht es?")]
        wait_for(lambda: items(app) == expected, f"the cards {expected}")
        live = wait_for(lambda: find_named(app, "Thank you", {Atspi.Role.FILLER, Atspi.Role.PANEL,
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
        toggle = wait_for(lambda: find_named(app, "Original", {Atspi.Role.CHECK_BOX}), "Original")
        check(toggle.get_state_set().contains(Atspi.StateType.CHECKED), "Original is checked")
        do_action(toggle, "toggle")
        probe.expect("command set_shows_source_text false")
        probe.silent()
        toggle = find_named(app, "Original", {Atspi.Role.CHECK_BOX})
        check(toggle.get_state_set().contains(Atspi.StateType.CHECKED),
              "Original stays at the snapshot's value")
    finally:
        probe.close()


if __name__ == "__main__":
    sys.exit(probe_main(run, __doc__, "captions AT-SPI checks passed"))
