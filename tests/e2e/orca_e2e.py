#!/usr/bin/python3
"""What a blind user hears: Orca reads the real helper under a window manager while a session
streams in; the test listens to what Orca would speak (its debug log).
    orca_e2e.py HELPER      (run under run_desktop.sh, which provides the X server and the buses)
"""

import json
import os
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_harness import Failure, Helper, active_snapshot, base_snapshot, wait_for  # noqa: E402

ORCA_START_S = 120.0  # on a loaded machine it takes a minute
CARDS = [
    ("Hola a todos.", "Hello everyone."),
    ("Empezamos en cinco minutos.", "We start in five minutes."),
    ("¿Me oyes bien?", "Can you hear me well?"),
    ("Vamos a la primera pregunta.", "On to the first question."),
    ("Gracias por venir.", "Thank you for coming."),
]
FAILURE = "Microphone unavailable"
START = b'{"type":"start"}'
# Source languages a list longer than the picker shows, so that most of its rows are not built
# when Orca reads a row's place: Spanish is the 35th of 40.
DEMO_SOURCE_LANGUAGES = ([("multi", "Detect automatically")]
                         + [(f"l{n}", f"Language {n:02}") for n in range(33)]
                         + [("es", "Spanish"), ("sv", "Swedish")]
                         + [(f"z{n}", f"Zulu {n}") for n in range(4)])

# Orca with its debug log written line by line, so that the test hears each utterance when it is
# spoken (Orca buffers the file in blocks).
ORCA_LINE_BY_LINE = """
import builtins, runpy, sys
log, plain_open = sys.argv[1], builtins.open
def line_by_line(file, mode="r", *args, **options):
    if file == log:
        return plain_open(file, mode, buffering=1, encoding="utf-8")
    return plain_open(file, mode, *args, **options)
builtins.open = line_by_line
sys.argv = ["orca", "--debug-file=" + log]
runpy.run_path("/usr/bin/orca", run_name="__main__")
"""


class Orca:
    """Orca on the test's desktop, with settings of its own and its speech logged."""

    def __init__(self, folder):
        self.log_path = os.path.join(folder, "orca.log")
        # Speech-dispatcher, which Orca starts, puts its socket in the runtime folder.
        runtime = os.path.join(folder, "runtime")
        os.mkdir(runtime, 0o700)
        # Orca's own settings, but for list items read with their place ("3 of 12").
        settings = os.path.join(folder, "data", "orca")
        os.makedirs(settings)
        with open(os.path.join(settings, "user-settings.conf"), "w", encoding="utf-8") as file:
            json.dump({"general": {"enablePositionSpeaking": True}, "pronunciations": {},
                       "keybindings": {}, "profiles": {"default": {
                           "profile": ["Default", "default"], "pronunciations": {},
                           "keybindings": {}}}}, file)
        env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(folder, "config"),
                   XDG_DATA_HOME=os.path.join(folder, "data"), XDG_RUNTIME_DIR=runtime)
        self.process = subprocess.Popen(["/usr/bin/python3", "-c", ORCA_LINE_BY_LINE,
                                         self.log_path], env=env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        wait_for(lambda: "Screen reader on." in self.spoken(), "Orca to start", ORCA_START_S)

    def spoken(self):
        """Everything Orca has spoken so far, an utterance each."""
        try:
            with open(self.log_path, encoding="utf-8", errors="replace") as log:
                text = log.read()
        except FileNotFoundError:
            return []
        return re.findall(r"SPEECH OUTPUT: '(.*?)' ?\{'established'", text, re.DOTALL)

    def wait_to_say(self, text, after=0):
        """Waits until an utterance after the first `after` ones contains text; its index."""
        def said():
            for index, utterance in enumerate(self.spoken()[after:], after):
                if text in utterance:
                    return index + 1
            return None
        return wait_for(said, f"Orca to say {text!r}") - 1

    @staticmethod
    def key(name):
        """A key press on the focused window, as the user's keyboard makes it."""
        subprocess.run(["xdotool", "key", name], check=True)

    def press(self, key, text, after):
        """Presses a key and waits until Orca says text; the count of utterances then."""
        self.key(key)
        return self.wait_to_say(text, after) + 1

    def end(self):
        self.process.terminate()
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()


def cards(count):
    return [{"id": f"card-{n}", "sourceText": source, "translatedText": translation,
             "committedAt": 700000000 + n} for n, (source, translation) in enumerate(CARDS[:count])]


def walk_the_pickers(orca, heard):
    """Both pickers by keyboard, from the Languages button: each opens where the user works, says
    which row is the chosen one, and gives the focus back to its button when it closes."""
    walk = len(orca.spoken())
    heard = orca.press("space", "Search languages", heard)
    heard = orca.press("Tab", "Spanish", heard)
    heard = orca.press("Down", "Swedish", heard)
    heard = orca.press("Escape", "Languages push button", heard)
    heard = orca.press("Tab", "Audio source push button", heard)
    heard = orca.press("space", "All Mac audio checked", heard)
    heard = orca.press("Escape", "Audio source push button", heard)
    said = [u for u in orca.spoken()[walk:] if u not in ("space ", "tab ", "down ", "escape ")]
    expected = ["Languages.", "Search languages text.", "FROM.", "List with 40 items.",
                "Spanish checked.", "35 of 40.", "Swedish.", "36 of 40.", "Live Translate.",
                "Languages push button.", "ES → EN.", "Audio source push button.",
                "All Mac audio.", "Audio source.", "List with 2 items.", "All Mac audio checked.",
                "1 of 2.", "Live Translate.", "Audio source push button.",
                "All Mac audio."]
    if said != expected:
        raise Failure(f"the pickers said {said}, expected {expected}")
    return heard


def main():
    folder = tempfile.mkdtemp(prefix="tavu-orca-")
    wm = subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL)
    orca = Orca(folder)
    helper = Helper(sys.argv[1])
    try:
        generation = 1
        helper.snapshot(base_snapshot(generation, sourceLanguages=[
            {"id": i, "displayName": n} for i, n in DEMO_SOURCE_LANGUAGES]))
        helper.show()
        helper.find("label", "Live Translation status")

        # The host asks for the panel again (its global shortcut): the user is taken into it, and
        # walks to Start by Tab; after Start the focus is on Stop, which took its place.
        heard = len(orca.spoken())
        helper.show()
        heard = orca.wait_to_say("Languages push button", heard) + 1
        heard = walk_the_pickers(orca, heard)
        heard = orca.press("Tab", "Start Live Translate push button", heard)
        orca.key("space")
        helper.expect_lines(START)
        generation += 1
        helper.snapshot(active_snapshot(generation))
        heard = orca.wait_to_say("Stop push button", heard) + 1

        # Each card once, in order, though every card comes again in the snapshots after it; the
        # failure once, though it stays.
        failing = {}
        for count in range(1, len(CARDS) + 1):
            for _ in range(2):
                generation += 1
                helper.snapshot(active_snapshot(generation, committedCards=cards(count),
                                                **failing))
            heard = orca.wait_to_say(CARDS[count - 1][1], heard) + 1
            if count == 3:
                failing = dict(hasFailure=True, statusMessage=FAILURE)
                for _ in range(2):
                    generation += 1
                    helper.snapshot(active_snapshot(generation, committedCards=cards(count),
                                                    **failing))
                heard = orca.wait_to_say(FAILURE, heard) + 1
        news = [u for u in orca.spoken() if u.startswith("notification")]
        expected = ["notification Hello everyone.", "notification We start in five minutes.",
                    "notification Can you hear me well?", "notification Microphone unavailable.",
                    "notification On to the first question.",
                    "notification Thank you for coming."]
        if news != expected:
            raise Failure(f"Orca announced {news}, expected {expected}")

        # Every Tab stop says what it is, and nothing but that: no silent stop, no pane.
        walk = len(orca.spoken())
        for name in ("Close Live Translate push button", "Live translation captions",
                     "Original check box checked", "Copy latest push button",
                     "Copy all push button", "Languages push button", "Cancel push button",
                     "Stop push button"):
            heard = orca.press("Tab", name, heard)
        said = [u for u in orca.spoken()[walk:] if u != "tab "]
        expected = ["Close Live Translate push button.", "Stop translation and close.",
                    "Live translation captions.", "List with 6 items.",
                    "Original check box checked.",
                    "Copy latest push button.", "Copy all push button.",
                    "Languages push button.", "ES → EN.", "Cancel push button.",
                    "Stop push button."]
        if said != expected:
            raise Failure(f"the Tab stops said {said}, expected {expected}")

        # In the list, the keys go from card to card, the live card after the newest; each is read
        # with its translation, its source, its time and its place.
        heard = orca.press("Tab", "Close Live Translate push button", heard)
        heard = orca.press("Tab", "List with 6 items", heard)
        segment = heard
        heard = orca.press("Home", "Hello everyone.", heard)
        heard = orca.press("Down", "We start in five minutes.", heard)
        heard = orca.press("Up", "Hello everyone.", heard)
        heard = orca.press("End", "6 of 6", heard)
        said = orca.spoken()[segment:heard]
        expected = ["Hello everyone., Hola a todos., 20:26.", "1 of 6.",
                    "We start in five minutes., Empezamos en cinco minutos., 20:26.", "2 of 6.",
                    "Hello everyone., Hola a todos., 20:26.", "1 of 6.",
                    "Listening, Waiting for the next phrase…, "
                    "The matching original phrase will appear here.", "6 of 6."]
        if said != expected:
            raise Failure(f"the list said {said}, expected {expected}")

        helper.close()
        print("PASS", flush=True)
        return 0
    except Failure as error:
        print("FAIL", error, flush=True)
        return 1
    finally:
        print("Orca said:\n" + "\n".join("  " + u for u in orca.spoken()), flush=True)
        if helper.process.poll() is None:
            helper.process.kill()
        orca.end()
        wm.terminate()


if __name__ == "__main__":
    sys.exit(main())
