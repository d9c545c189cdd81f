"""The pickers of the real helper, over real pipes, driven only through AT-SPI.

    pickers_e2e.py HELPER TEST      (run under run_desktop.sh; TEST is one of the functions below)
"""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_harness import (Failure, active_snapshot, base_snapshot, run_tests,  # noqa: E402
                           shown, wait_for)

PLAYER = b'{"type":"set_audio_source","string_value":"bundle:org.example.Player"}'
EVERYTHING = b'{"type":"set_audio_source","string_value":"mac-audio"}'


def audio_choice_writes_one_command_and_closes(helper):
    shown(helper, base_snapshot(1, captureAudioLevel=0.537,
                                captureFallbackNotice="Player is silent; capturing everything",
                                droppedCaptureBuffers=3))
    button = helper.find("push button", "Audio source")
    if button.description != "All Mac audio":
        raise Failure(f"the audio button reads {button.description!r}")
    helper.press(button)
    everything = helper.find("push button", "All Mac audio")
    if everything.description != "Selected":
        raise Failure("the chosen source is not marked")
    helper.find("label", "APPLICATIONS")
    level = helper.find("progress bar", "Audio level")
    if level.description != "53 percent":
        raise Failure(f"the level reads {level.description!r}")
    for text in ("Player is silent; capturing everything", "Some system-audio buffers were dropped.",
                 "System audio only. Your microphone is never used."):
        helper.find("label", text)

    helper.press(helper.find("push button", "Player"))
    helper.expect_lines(PLAYER)
    helper.absent("push button", "All Mac audio")
    helper.expect_quiet()
    # The button shows the host's choice only once the host sends it.
    if helper.find("push button", "Audio source").description != "All Mac audio":
        raise Failure("the audio button changed before the host chose")
    helper.snapshot(base_snapshot(2, selectedAudioSourceID="bundle:org.example.Player"))
    wait_for(lambda: helper.find("push button", "Audio source").description == "Player",
             "the audio button to read Player")

    # The chosen source sends all the same, and the popover closes again.
    helper.press(helper.find("push button", "Audio source"))
    time.sleep(0.2)  # Qt animates an accessible press for a tenth of a second
    helper.press(helper.find("push button", "Player"))
    helper.expect_lines(PLAYER)
    helper.absent("push button", "All Mac audio")

    # While a session runs the button is disabled.
    helper.snapshot(active_snapshot(3))
    wait_for(lambda: not helper.is_enabled(helper.find("push button", "Audio source")),
             "the audio button to be disabled during a session")
    helper.expect_quiet()


def long_language_lists_build_only_what_shows(helper):
    languages = [{"id": f"l{i}", "displayName": f"Language {i:04}"} for i in range(1000)]
    shown(helper, base_snapshot(1, sourceLanguage="l500", targetLanguage="l3",
                                sourceLanguages=languages, targetLanguages=languages))
    helper.press(helper.find("push button", "Languages"))
    source = helper.find("filler", "FROM")
    chosen = helper.find("push button", "Language 0500", within=source)
    if chosen.description != "Selected":
        raise Failure("the chosen language is not shown marked when the picker opens")
    rows = helper.find_all("push button", showing=False, within=source)
    if not 5 <= len(rows) < 60:
        raise Failure(f"the FROM column holds {len(rows)} rows for 1,000 languages")
    helper.press(chosen)
    helper.expect_lines(b'{"type":"set_source_language","string_value":"l500"}')
    # The picker stays open after a choice.
    helper.find("filler", "FROM")
    helper.expect_quiet()


TESTS = [audio_choice_writes_one_command_and_closes, long_language_lists_build_only_what_shows]


if __name__ == "__main__":
    sys.exit(run_tests(TESTS))
