"""The real helper over real pipes, its panel, captions and pickers driven only through AT-SPI by
role and label, in one walk through a session as a screen reader user would take it.

    atspi_e2e.py HELPER      (run under run_desktop.sh, with TZ=UTC for the cards' times)
"""

import json
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_harness import (Failure, Helper, active_snapshot, base_snapshot,  # noqa: E402
                           shown, wait_for)

START = b'{"type":"start"}'
LIMIT = "Request more Live Translate time"
MARKUP = '<b>x</b> <img src="y">'


def cards(pairs):
    return [{"id": f"card-{n}", "sourceText": source, "translatedText": translation,
             "committedAt": 700000000 + n} for n, (source, translation) in enumerate(pairs)]


def bad_snapshot(generation, **changes):
    """A snapshot line with one field made invalid; were it taken, it would show BAD."""
    snapshot = base_snapshot(generation, statusMessage=f"BAD {generation}")
    snapshot.update(changes)
    return json.dumps({"type": "snapshot", "snapshot": snapshot}).encode()


def rejected_lines_never_show(helper):
    shown(helper, base_snapshot(5, statusMessage="Five", isStartEnabled=False))
    wait_for(lambda: helper.status_text() == "Five", "the status Five")
    # Stale, cut off, not UTF-8, invalid, and longer than the 2 MiB limit (dropped alone, up to
    # its line feed); the decoder's own tests go through every way a line can be wrong.
    lines = [bad_snapshot(3), b'{"type":"snapshot","snapshot":{"generation":90,"lifecycle":"l',
             '{"type":"snapshot","snapshot":{"generation":91,"statusMessage":"\xff"}}'
             .encode("latin-1"), bad_snapshot(92, lifecycle="dozing"),
             bad_snapshot(96, statusMessage="BAD long " + "x" * (3 << 20))]
    helper.send_raw(b"".join(line + b"\n" for line in lines))
    # Lines are handled in order: once this one shows, every line before it has been seen. Host
    # text is text, never markup.
    helper.snapshot(base_snapshot(6, statusMessage=MARKUP, isStartEnabled=False))
    wait_for(lambda: helper.status_text() == MARKUP, "the status to read the markup as text")


def session_buttons_and_captions(helper):
    helper.snapshot(base_snapshot(7))
    wait_for(lambda: helper.is_enabled(helper.find("push button", "Start Live Translate")),
             "Start to become enabled")
    helper.press(helper.find("push button", "Start Live Translate"))
    helper.expect_lines(START)

    def items():
        lists = helper.find_all("list", "Live translation captions")
        return [item.name for item in
                helper.find_all("list item", showing=False, within=lists[0])] if lists else None

    two = cards([("Guten Morgen", "Good morning"), ("Wie geht es?", "<b>How</b> are you?")])
    helper.snapshot(active_snapshot(8, committedCards=two, activeSourceText="Danke",
                                    activeTranslatedText="Thank you"))
    stop, cancel = helper.find("push button", "Stop"), helper.find("push button", "Cancel")
    helper.absent("push button", "Start Live Translate")
    audio = helper.find("push button", "Audio source")
    if helper.is_enabled(audio) or "Press" in helper.actions(audio):
        raise Failure("the audio button can be pressed during a session")
    # One list, an item per card named by its translation, its source while originals show and
    # its time, then the live card.
    wait_for(lambda: items() == ["Good morning, Guten Morgen, 20:26",
                                 "<b>How</b> are you?, Wie geht es?, 20:26",
                                 "Live translation, Thank you, Danke"], "the two cards")
    helper.press(helper.find("check box", "Original"), "Toggle")
    helper.expect_lines(b'{"type":"set_shows_source_text","bool_value":false}')
    if not helper.is_checked(helper.find("check box", "Original")):
        raise Failure("Original left the snapshot's value")
    helper.press(helper.find("push button", "Copy latest"))

    def clipboard():
        result = subprocess.run(["xclip", "-selection", "clipboard", "-o"], capture_output=True,
                                timeout=5)
        return result.stdout.decode() if result.returncode == 0 else None

    wait_for(lambda: clipboard() == "<b>How</b> are you?", "the newest translation copied")

    helper.press(cancel)
    helper.expect_lines(b'{"type":"cancel"}')
    helper.press(stop)
    helper.expect_lines(b'{"type":"stop"}')
    # At the limit the start button reads "Try again" and the card asks for more time.
    helper.snapshot(base_snapshot(11, canRequestMoreTime=True, statusMessage="Limit"))
    helper.press(helper.find("push button", LIMIT))
    helper.expect_lines(b'{"type":"request_more_time"}')
    helper.press(helper.find("push button", "Try Live Translate again"))
    helper.expect_lines(START)


def language_picker(helper):
    helper.snapshot(base_snapshot(12))
    pair = wait_for(lambda: (lambda b: b if b.description == "ES → EN" else None)(
        helper.find("push button", "Languages")), "the pair button to read ES → EN")
    helper.press(pair)
    source, target = helper.find("filler", "FROM"), helper.find("filler", "TO")
    if not helper.is_selected(helper.find("list item", "Spanish", within=source)):
        raise Failure("the chosen source language is not marked")
    helper.press(helper.find("list item", "German", within=source))
    helper.expect_lines(b'{"type":"set_source_language","string_value":"de"}')
    helper.press(helper.find("push button", "Swap source and target languages"))
    helper.expect_lines(b'{"type":"swap_languages"}')
    # The picker stayed open, and the mark follows the host.
    helper.snapshot(base_snapshot(13, sourceLanguage="de"))
    wait_for(lambda: helper.find("push button", "Languages").description == "DE → EN",
             "the pair to read DE → EN")
    wait_for(lambda: helper.is_selected(helper.find("list item", "German", within=source)),
             "German to be marked in FROM")
    # The search text filters the columns by name.
    helper.find("text", "Search languages").queryEditableText().setTextContents(" portu ")
    wait_for(lambda: [b.name for b in helper.find_all("list item", within=target)]
             == ["Portuguese (Brazil)"], "the search to leave one row")
    helper.press(helper.find("list item", "Portuguese (Brazil)", within=target))
    helper.expect_lines(b'{"type":"set_target_language","string_value":"pt-br"}')
    helper.press(helper.find("push button", "Languages"))
    helper.absent("filler", "FROM")


def audio_picker(helper):
    helper.snapshot(base_snapshot(16, captureAudioLevel=0.537, droppedCaptureBuffers=3,
                                  captureFallbackNotice="Player is silent; capturing everything"))
    button = helper.find("push button", "Audio source")
    if button.description != "All Mac audio":
        raise Failure(f"the audio button reads {button.description!r}")
    helper.press(button)
    if not helper.is_selected(helper.find("list item", "All Mac audio")):
        raise Failure("the chosen source is not marked")
    level = helper.find("progress bar", "Audio level")
    if level.description != "53 percent":
        raise Failure(f"the level reads {level.description!r}")
    for text in ("APPLICATIONS", "Player is silent; capturing everything",
                 "Some system-audio buffers were dropped.",
                 "System audio only. Your microphone is never used."):
        helper.find("label", text)
    # One command, the popover closes, and the button shows the host's choice.
    helper.press(helper.find("list item", "Player"))
    helper.expect_lines(b'{"type":"set_audio_source","string_value":"bundle:org.example.Player"}')
    helper.absent("list item", "All Mac audio")
    helper.snapshot(base_snapshot(17, selectedAudioSourceID="bundle:org.example.Player"))
    wait_for(lambda: helper.find("push button", "Audio source").description == "Player",
             "the audio button to read Player")


def main():
    helper = Helper(sys.argv[1])
    started = time.monotonic()
    try:
        for step in (rejected_lines_never_show, session_buttons_and_captions, language_picker,
                     audio_picker):
            step(helper)
        helper.close()
    except Failure as error:
        print(f"FAIL {step.__name__}: {error}", flush=True)
        return 1
    finally:
        helper.stop()
    print(f"PASS ({time.monotonic() - started:.1f} s)", flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
