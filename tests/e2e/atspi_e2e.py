"""The real helper over real pipes, its panel and pickers driven only through AT-SPI by role and
label.

    atspi_e2e.py HELPER TEST      (run under run_desktop.sh; TEST is one of the functions below)
"""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_harness import (Failure, active_snapshot, base_snapshot, pyatspi,  # noqa: E402
                           run_tests, shown, wait_for)

START = b'{"type":"start"}'
STOP = b'{"type":"stop"}'
CANCEL = b'{"type":"cancel"}'
HIDE = b'{"type":"hide"}'
LIMIT = "Request more Live Translate time"
PLAYER = b'{"type":"set_audio_source","string_value":"bundle:org.example.Player"}'


def cards(pairs):
    """Committed cards from (source, translation) pairs."""
    return [{"id": f"card-{n}", "sourceText": source, "translatedText": translation,
             "committedAt": 700000000 + n} for n, (source, translation) in enumerate(pairs)]


def panel_showing(helper):
    return any(helper.find_all("filler", "Live Translate"))


MALFORMED = [
    b'{"type":"snapshot","snapshot":{"generation":90,"lifecycle":"listen',  # cut off
    b'{"type":"sparkle"}',
    b'null',
    b'',
    b'   ',
    b'{"type":"snapshot"}',
    "{\"type\":\"snapshot\",\"snapshot\":{\"generation\":91,\"statusMessage\":\"\xff\"}}"
    .encode("latin-1"),  # not UTF-8
]


def bad_snapshot(generation, **changes):
    """A snapshot line with one field made invalid; were it taken, it would show BAD."""
    import json
    snapshot = base_snapshot(generation, statusMessage=f"BAD {generation}")
    for key, value in changes.items():
        if value is None:
            del snapshot[key]
        else:
            snapshot[key] = value
    return json.dumps({"type": "snapshot", "snapshot": snapshot}).encode()


def status_follows_newest_snapshot(helper):
    shown(helper, base_snapshot(5, statusMessage="Five"))
    wait_for(lambda: helper.status_text() == "Five", "the status Five")
    helper.snapshot(base_snapshot(3, statusMessage="BAD stale three"))
    for line in MALFORMED:
        helper.send_raw(line + b"\n")
    for line in (bad_snapshot(92, lifecycle="dozing"), bad_snapshot(93, hasFailure="no"),
                 bad_snapshot(94, statusMessage=None), bad_snapshot(-1),
                 bad_snapshot(95, droppedCaptureBuffers=1.5),
                 bad_snapshot(96, captureAudioLevel="loud"),
                 bad_snapshot(2 ** 64),
                 bad_snapshot(97, committedCards=[{"id": "x", "sourceText": "s"}])):
        helper.send_raw(line + b"\n")
    # A line longer than the helper's 2 MiB limit is dropped alone, up to its line feed.
    helper.send_raw(bad_snapshot(98, statusMessage="BAD long " + "x" * (3 << 20)) + b"\n")
    # Lines are handled in order: once the panel is hidden by the next good line, every line
    # before it has been seen.
    helper.send({"type": "hide"})
    wait_for(lambda: not panel_showing(helper), "the panel to hide")
    helper.show()
    text = helper.status_text()
    if text != "Five":
        raise Failure(f"the status became {text!r} from a stale or malformed line")
    helper.snapshot(base_snapshot(5, statusMessage="Five again"))  # an equal generation applies
    wait_for(lambda: helper.status_text() == "Five again", "the status of the equal generation")
    helper.snapshot(base_snapshot(2 ** 64 - 1, statusMessage="Largest"))
    wait_for(lambda: helper.status_text() == "Largest", "the status of the largest generation")
    helper.snapshot(base_snapshot(6, statusMessage="BAD six"))
    helper.send({"type": "hide"})
    wait_for(lambda: not panel_showing(helper), "the panel to hide")
    helper.show()
    if helper.status_text() != "Largest":
        raise Failure("a lower generation replaced the largest one")
    # Host text is text, never markup.
    markup = '<b>x</b> <img src="y">'
    helper.snapshot(base_snapshot(2 ** 64 - 1, statusMessage=markup))
    wait_for(lambda: helper.status_text() == markup, "the status to read the markup as text")
    helper.expect_quiet(0.2)  # the helper never answers the host with an error


def session_buttons_follow_the_session(helper):
    shown(helper, base_snapshot(1, isStartEnabled=False))
    start = helper.find("push button", "Start Live Translate")
    if helper.is_enabled(start):
        raise Failure("Start is enabled although the host does not allow starting")
    if not start.getState().contains(pyatspi.STATE_FOCUSABLE):
        raise Failure("Start takes no keyboard focus")
    helper.snapshot(base_snapshot(2, isStartEnabled=True))
    wait_for(lambda: helper.is_enabled(helper.find("push button", "Start Live Translate")),
             "Start to become enabled")
    helper.press(helper.find("push button", "Start Live Translate"))
    helper.expect_lines(START)
    helper.expect_quiet()
    # Nothing changes until the host answers: Start is still there; Stop, Cancel and the limit
    # card are not.
    helper.find("push button", "Start Live Translate")
    for name in ("Stop", "Cancel", LIMIT):
        if helper.find_all("push button", name):
            raise Failure(f"{name} shows while no session is active")
    helper.snapshot(active_snapshot(3))
    stop = helper.find("push button", "Stop")
    cancel = helper.find("push button", "Cancel")
    helper.absent("push button", "Start Live Translate")
    if helper.find_all("push button", LIMIT):
        raise Failure("the limit card shows during a session")
    # A disabled control offers nothing to press.
    audio = helper.find("push button", "Audio source")
    if helper.is_enabled(audio) or "Press" in helper.actions(audio):
        raise Failure("the audio button can be pressed during a session")
    helper.press(cancel)
    helper.expect_lines(CANCEL)
    helper.press(stop)
    helper.expect_lines(STOP)
    # While the host stops, Stop is disabled and Cancel is not.
    helper.snapshot(active_snapshot(4, lifecycle="stopping", statusMessage="Stopping"))
    wait_for(lambda: not helper.is_enabled(helper.find("push button", "Stop")),
             "Stop to be disabled while stopping")
    if not helper.is_enabled(helper.find("push button", "Cancel")):
        raise Failure("Cancel is disabled while stopping")
    helper.expect_quiet(0.2)
    # At the limit the start button reads "Try again" and the card offers more time.
    helper.snapshot(base_snapshot(5, canRequestMoreTime=True, statusMessage="Limit"))
    helper.find("push button", "Try Live Translate again")
    request = helper.find("push button", LIMIT)
    # Each press sends one more request: the card never disables its button. (Qt animates an
    # accessible press for a tenth of a second, so the second press waits for the first.)
    for _ in range(2):
        helper.press(request)
        helper.expect_lines(b'{"type":"request_more_time"}')
    helper.press(helper.find("push button", "Try Live Translate again"))
    helper.expect_lines(START)


def close_stops_then_hides(helper):
    shown(helper, active_snapshot(1))
    helper.press(helper.find("push button", "Close Live Translate"))
    helper.expect_lines(STOP, HIDE)
    wait_for(lambda: not panel_showing(helper), "the panel to hide")
    if helper.process.poll() is not None:
        raise Failure("the helper ended when its panel was closed")
    # Without a session the close button only hides.
    helper.snapshot(base_snapshot(2))
    helper.show()
    helper.press(helper.find("push button", "Close Live Translate"))
    helper.expect_lines(HIDE)
    helper.expect_quiet()


def language_choice_writes_its_command(helper):
    shown(helper, base_snapshot(1))
    pair = helper.find("push button", "Languages")
    if pair.description != "ES → EN":
        raise Failure(f"the pair button reads {pair.description!r}")
    helper.press(pair)
    source = helper.find("filler", "FROM")
    target = helper.find("filler", "TO")
    if not helper.is_selected(helper.find("list item", "Spanish", within=source)):
        raise Failure("the chosen source language is not marked")
    helper.press(helper.find("list item", "German", within=source))
    helper.expect_lines(b'{"type":"set_source_language","string_value":"de"}')
    helper.press(helper.find("list item", "German", within=target))
    helper.expect_lines(b'{"type":"set_target_language","string_value":"de"}')
    helper.press(helper.find("push button", "Swap source and target languages"))
    helper.expect_lines(b'{"type":"swap_languages"}')
    helper.expect_quiet()
    # The picker stayed open, and the mark follows the host, not the click.
    german = helper.find("list item", "German", within=source)
    if helper.is_selected(german):
        raise Failure("German was marked before the host chose it")
    helper.snapshot(base_snapshot(2, sourceLanguage="de"))
    wait_for(lambda: helper.find("push button", "Languages").description == "DE → EN",
             "the pair to read DE → EN")
    wait_for(lambda: helper.is_selected(helper.find("list item", "German", within=source)),
             "German to be marked in FROM")
    # The search text filters both columns, by name.
    helper.find("text", "Search languages").queryEditableText().setTextContents(" portu ")
    wait_for(lambda: [b.name for b in helper.find_all("list item", within=source)]
             == ["Portuguese (Brazil)"], "the search to leave one row in FROM")
    wait_for(lambda: [b.name for b in helper.find_all("list item", within=target)]
             == ["Portuguese (Brazil)"], "the search to leave one row in TO")
    helper.press(helper.find("list item", "Portuguese (Brazil)", within=target))
    helper.expect_lines(b'{"type":"set_target_language","string_value":"pt-br"}')
    # While the language is detected, swapping is not offered.
    helper.snapshot(base_snapshot(3, sourceLanguage="multi"))
    wait_for(lambda: not helper.is_enabled(
        helper.find("push button", "Swap source and target languages")), "swap to be disabled")
    helper.press(helper.find("push button", "Languages"))
    helper.absent("filler", "FROM")
    helper.expect_quiet()


def copy_latest_puts_the_newest_translation_on_the_clipboard(helper):
    three = cards((f"Fuente {n}", f"  Source {n}\n") for n in range(3))
    shown(helper, active_snapshot(1, committedCards=three, activeTranslatedText="Not this one"))
    helper.press(helper.find("push button", "Copy latest"))

    def clipboard():
        result = subprocess.run(["xclip", "-selection", "clipboard", "-o"], capture_output=True,
                                timeout=5)
        return result.stdout.decode() if result.returncode == 0 else None

    wait_for(lambda: clipboard() == "Source 2", "the newest translation on the clipboard")
    helper.expect_quiet(0.2)


def captions_read_as_a_list(helper):
    """One list, an item per card named by its translation, its source while originals show and
    its time, then the live card named by its state and its texts; each item knows its place."""
    def items():
        lists = helper.find_all("list", "Live translation captions")
        return [item.name for item in
                helper.find_all("list item", showing=False, within=lists[0])] if lists else None

    shown(helper, active_snapshot(1))
    wait_for(lambda: items() == ["Listening, Waiting for the next phrase…, "
                                 "The matching original phrase will appear here."],
             "the live card alone")
    helper.find(None, "Listening for the first phrase…")
    if len(helper.find_all(None, "Live translation captions", showing=False)) != 1:
        raise Failure("the captions list is exposed more than once")
    two = cards([("Guten Morgen", "Good morning"), ("Wie geht es?", "<b>How</b> are you?")])
    helper.snapshot(active_snapshot(2, committedCards=two, activeSourceText="Danke",
                                    activeTranslatedText="Thank you"))
    wait_for(lambda: items() == ["Good morning, Guten Morgen, 20:26",
                                 "<b>How</b> are you?, Wie geht es?, 20:26",
                                 "Live translation, Thank you, Danke"], "the two cards")
    listed = helper.find_all("list item", showing=False)
    places = [(item.getIndexInParent(), item.parent.childCount) for item in listed]
    if places != [(0, 3), (1, 3), (2, 3)]:
        raise Failure(f"the items say they are at {places}")
    helper.snapshot(active_snapshot(3, committedCards=two, showsSourceText=False))
    wait_for(lambda: items() == ["Good morning, 20:26", "<b>How</b> are you?, 20:26",
                                 "Listening, Waiting for translation…"],
             "cards without their sources")

    many = cards((f"Satz {n}", f"Sentence {n}") for n in range(500))
    helper.snapshot(active_snapshot(4, committedCards=many))
    wait_for(lambda: items() and items()[-2] == "Sentence 499, Satz 499, 20:34", "the newest card")
    if len(items()) != 501:
        raise Failure(f"{len(items())} items for 500 cards and the live card")

    # The check box's Toggle action sends one command and shows the host's value.
    helper.press(helper.find("check box", "Original"), "Toggle")
    helper.expect_lines(b'{"type":"set_shows_source_text","bool_value":false}')
    helper.expect_quiet()
    if not helper.is_checked(helper.find("check box", "Original")):
        raise Failure("Original left the snapshot's value")


def audio_choice_writes_one_command_and_closes(helper):
    shown(helper, base_snapshot(1, captureAudioLevel=0.537,
                                captureFallbackNotice="Player is silent; capturing everything",
                                droppedCaptureBuffers=3))
    button = helper.find("push button", "Audio source")
    if button.description != "All Mac audio":
        raise Failure(f"the audio button reads {button.description!r}")
    helper.press(button)
    everything = helper.find("list item", "All Mac audio")
    if not helper.is_selected(everything):
        raise Failure("the chosen source is not marked")
    helper.find("label", "APPLICATIONS")
    level = helper.find("progress bar", "Audio level")
    if level.description != "53 percent":
        raise Failure(f"the level reads {level.description!r}")
    for text in ("Player is silent; capturing everything", "Some system-audio buffers were dropped.",
                 "System audio only. Your microphone is never used."):
        helper.find("label", text)

    helper.press(helper.find("list item", "Player"))
    helper.expect_lines(PLAYER)
    helper.absent("list item", "All Mac audio")
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
    helper.press(helper.find("list item", "Player"))
    helper.expect_lines(PLAYER)
    helper.absent("list item", "All Mac audio")

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
    chosen = helper.find("list item", "Language 0500", within=source)
    if not helper.is_selected(chosen):
        raise Failure("the chosen language is not shown marked when the picker opens")
    # Every language is an item, at its place; only the rows near the view are built (visible).
    rows = helper.find_all("list item", showing=False, within=source)
    built = [row for row in rows if row.getState().contains(pyatspi.STATE_VISIBLE)]
    if len(rows) != 1000 or not 5 <= len(built) < 60:
        raise Failure(f"the FROM column holds {len(rows)} items, {len(built)} built, for 1,000 "
                      "languages")
    helper.press(chosen)
    helper.expect_lines(b'{"type":"set_source_language","string_value":"l500"}')
    # The picker stays open after a choice.
    helper.find("filler", "FROM")
    helper.expect_quiet()


TESTS = [status_follows_newest_snapshot,
         session_buttons_follow_the_session, close_stops_then_hides,
         language_choice_writes_its_command,
         copy_latest_puts_the_newest_translation_on_the_clipboard, captions_read_as_a_list,
         audio_choice_writes_one_command_and_closes, long_language_lists_build_only_what_shows]


if __name__ == "__main__":
    sys.exit(run_tests(TESTS))
