"""A storm of host input into the real helper: snapshots with extreme values (thousands of cards
and languages, markup, bidirectional controls, numbers at the edges of their types, generations
going backwards and jumping), the same lines mutated byte by byte, random bytes, deep nesting, and
show/hide/toggle in between, as fast as the helper reads them. The helper must end with status 0
on the final terminate and write nothing that is not a command.

    stdin_storm.py HELPER [--seconds N] [--seed N]       (run by fuzz/stdin_storm)
"""

import argparse
import json
import os
import random
import subprocess
import sys
import threading
import time

TEXT_PIECES = ["<b>bold</b>", "&amp;", "&", "<img src=x>", "\u202e", "\u200f", "日本語", "🙂",
               "e\u0301", "\n", "\t", "\\", "\"", "\ud7ff", "\u2028"]
NUMBERS = [0, -1, 1, 2**63 - 1, -2**63, 2**64 - 1, 1e308, -1e308, 1.5, 0.537, 3.4e38, 1e-45,
           -0.0, 1e16]
INSERTS = [b"{", b"}", b"[", b"\"", b"\\u", b"\xff", b"\xc3", b"1e999", b"null", b",", b"\r"]


def text():
    pieces = TEXT_PIECES + ["a" * random.randint(0, 3000)]
    return "".join(random.choice(pieces) for _ in range(random.randint(0, 6)))


def snapshot(generation):
    cards = [{"id": random.choice([str(i), str(i % 7), "", text()]), "sourceText": text(),
              "translatedText": text(), "committedAt": random.choice(NUMBERS + [1796000000.0])}
             for i in range(random.choice([0, 1, 5, 50, 500, 3000]))]
    languages = [{"id": text() or "x", "displayName": text()}
                 for _ in range(random.choice([0, 2, 30, 1000]))]
    sources = [{"id": random.choice(["mac-audio", "bundle:" + text(), text()]),
                "displayName": text(), **({"iconId": text()} if random.random() < 0.5 else {})}
               for _ in range(random.choice([0, 1, 3, 200]))]
    value = {
        "generation": generation,
        "lifecycle": random.choice(["inactive", "starting", "listening", "stopping", "failed",
                                    "reconnecting", "unknown"]),
        "statusMessage": text(), "hasFailure": random.random() < 0.5,
        "canRequestMoreTime": random.random() < 0.5, "isSessionActive": random.random() < 0.5,
        "isStartEnabled": random.random() < 0.5,
        "sourceLanguage": random.choice(["auto", "multi", "de", text()]),
        "targetLanguage": random.choice(["en", text()]),
        "selectedAudioSourceID": random.choice(["mac-audio", text()]),
        "sourceLanguages": languages, "targetLanguages": languages[::-1], "audioSources": sources,
        "actualAudioSourceDescription": text(),
        "droppedCaptureBuffers": random.choice([0, 1, -5, 2**62]),
        "captureAudioLevel": random.choice([0, 0.5, 1, 1.5, -3, 3.4e38]),
        "appearanceMode": random.choice(["system", "light", "dark", "unknown"]),
        "showsSourceText": random.random() < 0.5, "committedCards": cards,
    }
    for key in ("activeSourceText", "activeTranslatedText", "captureFallbackNotice"):
        if random.random() < 0.4:
            value[key] = text()
    return value


def mutate(line):
    data = bytearray(line)
    for _ in range(random.randint(1, 5)):
        if not data:
            break
        at = random.randrange(len(data))
        choice = random.random()
        if choice < 0.3:
            data[at] = random.randrange(256)
        elif choice < 0.5:
            del data[at:at + random.randint(1, 50)]
        elif choice < 0.7:
            data[at:at] = random.choice(INSERTS)
        else:
            del data[at:]
    return bytes(data)


def next_line(generation):
    choice = random.random()
    if choice < 0.10:
        return json.dumps({"type": random.choice(["show", "hide", "toggle"])}).encode()
    if choice < 0.13:
        return os.urandom(random.randint(1, 5000))
    if choice < 0.15:
        return b"{" * 100000
    line = json.dumps({"type": "snapshot", "snapshot": snapshot(generation)},
                      ensure_ascii=random.random() < 0.5).encode()
    return mutate(line) if choice < 0.45 else line


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("helper")
    parser.add_argument("--seconds", type=float, default=120)
    parser.add_argument("--seed", type=int, default=None)
    args = parser.parse_args()
    seed = args.seed if args.seed is not None else random.randrange(1 << 32)
    random.seed(seed)
    print(f"storm drawn with --seed {seed}", flush=True)

    helper = subprocess.Popen([args.helper], stdin=subprocess.PIPE, stdout=subprocess.PIPE)
    written = []
    reader = threading.Thread(target=lambda: written.extend(helper.stdout), daemon=True)
    reader.start()
    generation = lines = 0
    started = time.monotonic()
    try:
        while time.monotonic() - started < args.seconds and helper.poll() is None:
            generation = max(0, min(generation + random.choice([1, 1, 1, -1, 0, 2**40]),
                                    2**64 - 1))
            helper.stdin.write(next_line(generation).replace(b"\n", b" ") + b"\n")
            lines += 1
            if random.random() < 0.1:
                helper.stdin.flush()
                time.sleep(0.01)
        helper.stdin.write(b'{"type":"terminate"}\n')
        helper.stdin.flush()
    except BrokenPipeError:
        pass
    try:
        code = helper.wait(timeout=30)
    except subprocess.TimeoutExpired:
        helper.kill()
        print("FAIL: the helper did not end on terminate")
        return 1
    reader.join(timeout=5)
    stray = [line for line in written if not line.startswith(b'{"type":"')]
    print(f"{time.monotonic() - started:.0f} s: {lines} lines written, exit status {code}, "
          f"{len(written)} lines back")
    if code != 0 or stray:
        print(f"FAIL: exit status {code}, stray output {stray[:3]}")
        return 1
    print("PASS")
    return 0


if __name__ == "__main__":
    sys.exit(main())
