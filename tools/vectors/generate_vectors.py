#!/usr/bin/env python3
"""Writes host_messages.jsonl and commands.jsonl beside this script.

Each output line is one case:
  {"name": ..., "input": "<the line as a JSON string>", "expect": {...}}      accepted
  {"name": ..., "input_hex": "<the line's bytes in hex>", "expect": "rejected", "path": "..."}
"input_hex" replaces "input" where the line holds bytes that a JSON string cannot carry (invalid
UTF-8). "expect" is the decoded value in canonical form: every required key, optional strings only
when they have a value. "path" names the field at fault ("" when the line as a whole is bad).

The expected values are written out here by hand from the protocol's rules, independently of the
C++ decoder. Run this script again after editing it; the test reads the .jsonl files only.
"""

import copy
import json
import os

# The vectors live with the tests that read them.
HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "vectors")

INITIAL_LINE = (
    '{"type":"snapshot","snapshot":{"generation":0,"lifecycle":"inactive",'
    '"statusMessage":"Connecting to Tavu","hasFailure":false,"canRequestMoreTime":false,'
    '"isSessionActive":false,"isStartEnabled":false,"sourceLanguage":"multi",'
    '"targetLanguage":"en","selectedAudioSourceID":"mac-audio","sourceLanguages":[],'
    '"targetLanguages":[],"audioSources":[],"actualAudioSourceDescription":"Mac Audio",'
    '"droppedCaptureBuffers":0,"captureAudioLevel":0,"appearanceMode":"system",'
    '"showsSourceText":true,"committedCards":[]}}'
)

INITIAL = json.loads(INITIAL_LINE)["snapshot"]

SNAPSHOT_KEYS = [
    "generation", "lifecycle", "statusMessage", "hasFailure", "canRequestMoreTime",
    "isSessionActive", "isStartEnabled", "sourceLanguage", "targetLanguage",
    "selectedAudioSourceID", "sourceLanguages", "targetLanguages", "audioSources",
    "actualAudioSourceDescription", "captureFallbackNotice", "droppedCaptureBuffers",
    "captureAudioLevel", "appearanceMode", "showsSourceText", "committedCards",
    "activeSourceText", "activeTranslatedText",
]
OPTIONAL_KEYS = {"captureFallbackNotice", "activeSourceText", "activeTranslatedText"}
REQUIRED_KEYS = [k for k in SNAPSHOT_KEYS if k not in OPTIONAL_KEYS]
LIFECYCLES = ["inactive", "preparing", "connecting", "listening", "reconnecting", "stopping"]

FULL = {
    "generation": 42,
    "lifecycle": "listening",
    "statusMessage": "Listening to Safari",
    "hasFailure": False,
    "canRequestMoreTime": False,
    "isSessionActive": True,
    "isStartEnabled": False,
    "sourceLanguage": "auto",
    "targetLanguage": "ja",
    "selectedAudioSourceID": "bundle:org.mozilla.firefox",
    "sourceLanguages": [{"id": "auto", "displayName": "Auto-detect"},
                        {"id": "de", "displayName": "Deutsch"}],
    "targetLanguages": [{"id": "ja", "displayName": "日本語"},
                        {"id": "en", "displayName": "English"}],
    "audioSources": [{"id": "mac-audio", "displayName": "All Mac audio"},
                     {"id": "bundle:org.mozilla.firefox", "displayName": "Firefox"}],
    "actualAudioSourceDescription": "Firefox",
    "captureFallbackNotice": "Capturing all audio instead",
    "droppedCaptureBuffers": 3,
    "captureAudioLevel": 0.5,
    "appearanceMode": "dark",
    "showsSourceText": False,
    "committedCards": [
        {"id": "c1", "sourceText": "Guten Morgen", "translatedText": "おはようございます",
         "committedAt": 700000000},
        {"id": "c2", "sourceText": "Wie geht's?", "translatedText": "お元気ですか？",
         "committedAt": 700000012.25},
    ],
    "activeSourceText": "Und dann",
    "activeTranslatedText": "そして",
}

cases = []
command_cases = []


def dumps(value):
    return json.dumps(value, ensure_ascii=False, separators=(",", ":"))


def canonical_snapshot(raw):
    """The decoded value of an accepted snapshot object: known keys only, no null optionals."""
    out = {}
    for key in SNAPSHOT_KEYS:
        if key in OPTIONAL_KEYS and raw.get(key) is None:
            continue
        value = raw[key]
        if key in ("sourceLanguages", "targetLanguages", "audioSources"):
            value = [{"id": o["id"], "displayName": o["displayName"]} for o in value]
        elif key == "committedCards":
            value = [{k: c[k] for k in ("id", "sourceText", "translatedText", "committedAt")}
                     for c in value]
        out[key] = value
    return out


def accept(name, line, expect):
    cases.append({"name": name, "input": line, "expect": expect})


def reject(name, line, path):
    if isinstance(line, bytes):
        cases.append({"name": name, "input_hex": line.hex(), "expect": "rejected", "path": path})
    else:
        cases.append({"name": name, "input": line, "expect": "rejected", "path": path})


def snapshot_line(snapshot, **outer):
    message = {"type": "snapshot", "snapshot": snapshot}
    message.update(outer)
    return dumps(message)


def accept_snapshot(name, snapshot, expect_overrides=None, line=None):
    expect = canonical_snapshot(snapshot)
    expect.update(expect_overrides or {})
    accept(name, line or snapshot_line(snapshot), {"type": "snapshot", "snapshot": expect})


def with_fields(base=None, **changes):
    value = copy.deepcopy(base if base is not None else INITIAL)
    value.update(changes)
    return value


def without(key, base=None):
    value = copy.deepcopy(base if base is not None else FULL)
    del value[key]
    return value


def raw_snapshot(fragment_for_key, key):
    """A snapshot line whose value for `key` is written verbatim (numbers JSON cannot round-trip)."""
    body = dumps(with_fields(**{key: "@@"})).replace('"@@"', fragment_for_key)
    return '{"type":"snapshot","snapshot":' + body + "}"


# --- Accepted host messages -------------------------------------------------------------------

accept("initial snapshot, the example line", INITIAL_LINE, {"type": "snapshot", "snapshot": INITIAL})
for kind in ("show", "hide", "toggle", "terminate"):
    accept(f"{kind}", dumps({"type": kind}), {"type": kind})
accept("show with a malformed snapshot value is still show",
       '{"type":"show","snapshot":42}', {"type": "show"})
accept("hide with an invalid snapshot object", '{"type":"hide","snapshot":{"generation":"x"}}',
       {"type": "hide"})
accept("toggle with a null snapshot", '{"type":"toggle","snapshot":null}', {"type": "toggle"})
accept("terminate with a repeated snapshot key", '{"type":"terminate","snapshot":1,"snapshot":2}',
       {"type": "terminate"})
accept("keys in any order", '{"snapshot":7,"type":"show"}', {"type": "show"})
accept("escaped type string", '{"type":"sh\\u006fw"}', {"type": "show"})
accept("white space around every token and a trailing carriage return",
       ' \t{ "type" : "toggle" } \t\r', {"type": "toggle"})
accept("unknown keys of every JSON type at the top",
       '{"type":"hide","x":[1,{"y":null}],"z":"\\u00e9","n":-1.5e3,"t":true,"o":{}}',
       {"type": "hide"})
accept("repeated unknown key", '{"type":"show","extra":1,"extra":2}', {"type": "show"})
accept_snapshot("every field set", FULL)
accept_snapshot("optional strings absent",
                {k: v for k, v in FULL.items() if k not in OPTIONAL_KEYS})
accept_snapshot("optional strings null", with_fields(FULL, captureFallbackNotice=None,
                                                     activeSourceText=None,
                                                     activeTranslatedText=None))
accept_snapshot("optional strings empty", with_fields(FULL, captureFallbackNotice="",
                                                      activeSourceText="",
                                                      activeTranslatedText=""))
for lifecycle in LIFECYCLES:
    accept_snapshot(f"lifecycle {lifecycle}", with_fields(lifecycle=lifecycle))
accept_snapshot("generation at the UInt64 maximum", with_fields(generation=18446744073709551615))
accept_snapshot("generation above the Int64 maximum", with_fields(generation=9223372036854775808))
accept("generation minus zero is zero", raw_snapshot("-0", "generation"),
       {"type": "snapshot", "snapshot": canonical_snapshot(INITIAL)})
accept_snapshot("droppedCaptureBuffers at the Int64 minimum",
                with_fields(droppedCaptureBuffers=-9223372036854775808))
accept_snapshot("droppedCaptureBuffers at the Int64 maximum",
                with_fields(droppedCaptureBuffers=9223372036854775807))
accept_snapshot("negative droppedCaptureBuffers", with_fields(droppedCaptureBuffers=-5))
accept_snapshot("captureAudioLevel 0.25", with_fields(captureAudioLevel=0.25))
accept_snapshot("captureAudioLevel 0.1 rounds to the nearest float", with_fields(captureAudioLevel=0.1))
accept_snapshot("captureAudioLevel integer 1", with_fields(captureAudioLevel=1))
accept_snapshot("captureAudioLevel negative", with_fields(captureAudioLevel=-0.75))
accept("captureAudioLevel negative zero", raw_snapshot("-0e39", "captureAudioLevel"),
       {"type": "snapshot", "snapshot": canonical_snapshot(with_fields(captureAudioLevel=-0.0))})
accept("captureAudioLevel underflows to zero", raw_snapshot("1e-50", "captureAudioLevel"),
       {"type": "snapshot", "snapshot": canonical_snapshot(with_fields(captureAudioLevel=0))})
accept("captureAudioLevel at the float maximum", raw_snapshot("3.4028234663852886e38",
                                                              "captureAudioLevel"),
       {"type": "snapshot",
        "snapshot": canonical_snapshot(with_fields(captureAudioLevel=3.4028234663852886e38))})
accept("captureAudioLevel written as the float maximum's shortest form",
       raw_snapshot("3.4028235e+38", "captureAudioLevel"),
       {"type": "snapshot",
        "snapshot": canonical_snapshot(with_fields(captureAudioLevel=3.4028234663852886e38))})
accept("captureAudioLevel just below the float maximum plus half a step",
       raw_snapshot("3.4028235677973362e38", "captureAudioLevel"),
       {"type": "snapshot",
        "snapshot": canonical_snapshot(with_fields(captureAudioLevel=3.4028234663852886e38))})
accept("captureAudioLevel as a large integer", raw_snapshot("18446744073709551615",
                                                            "captureAudioLevel"),
       {"type": "snapshot",
        "snapshot": canonical_snapshot(with_fields(captureAudioLevel=1.8446744073709552e19))})


def card_snapshot(*cards):
    return with_fields(committedCards=list(cards))


def card(committed_at, card_id="c", source="s", translated="t"):
    return {"id": card_id, "sourceText": source, "translatedText": translated,
            "committedAt": committed_at}


accept_snapshot("committedAt 0 is the reference date", card_snapshot(card(0)))
accept_snapshot("committedAt 700000000", card_snapshot(card(700000000)))
accept_snapshot("committedAt with a fraction", card_snapshot(card(700000000.125)))
accept_snapshot("committedAt before the reference date", card_snapshot(card(-86400.5)))
accept_snapshot("committedAt as a huge number", card_snapshot(card(1e300)))
accept("committedAt written with an exponent",
       '{"type":"snapshot","snapshot":' + dumps(card_snapshot(card(0)))
       .replace('"committedAt":0', '"committedAt":7E8') + "}",
       {"type": "snapshot", "snapshot": canonical_snapshot(card_snapshot(card(700000000)))})
accept_snapshot("unknown keys in the snapshot, options and cards",
                with_fields(FULL, futureField={"nested": [1, 2, {"deep": None}]},
                            sourceLanguages=[{"id": "de", "displayName": "Deutsch",
                                              "flag": "DE"}],
                            committedCards=[dict(card(1.5), speaker="A", confidence=0.9)]))
accept("escaped key names match", '{"type":"snapshot","snapshot":'
       + dumps(INITIAL).replace('"generation"', '"gen\\u0065ration"') + "}",
       {"type": "snapshot", "snapshot": INITIAL})
accept("string escapes decode", '{"type":"snapshot","snapshot":'
       + dumps(with_fields(statusMessage="@@")).replace(
           '"@@"', '"a\\"b\\\\c\\/d\\b\\f\\n\\r\\t\\u00e9\\ud83d\\ude00\\u0000end"') + "}",
       {"type": "snapshot",
        "snapshot": canonical_snapshot(with_fields(
            statusMessage='a"b\\c/d\b\f\n\r\t\u00e9\U0001F600\u0000end'))})
accept_snapshot("mixed-language UTF-8 text", card_snapshot(
    card(5, "u1", "Привет, мир — ¿qué tal? مرحبا", "你好，世界 🌍 한국어 ✓")))
accept_snapshot("the highest code point", with_fields(statusMessage="\U0010FFFF"))
accept_snapshot("appearanceMode any string", with_fields(appearanceMode="sepia"))
accept_snapshot("empty strings", with_fields(statusMessage="", sourceLanguage="",
                                             targetLanguage="", selectedAudioSourceID=""))
accept_snapshot("repeated option ids are kept", with_fields(
    audioSources=[{"id": "a", "displayName": "One"}, {"id": "a", "displayName": "Two"}]))
accept("snapshot message with extra command keys",
       snapshot_line(INITIAL, string_value="x", bool_value=True),
       {"type": "snapshot", "snapshot": INITIAL})
accept("unknown top-level key holding a number that only a double can hold",
       '{"type":"show","big":123456789012345678901234.5}', {"type": "show"})
accept("nesting deep but within the limit under an unknown key",
       '{"type":"show","deep":' + "[" * 500 + "]" * 500 + "}", {"type": "show"})

# --- Integers beyond 64 bits: valid JSON numbers that only Int and UInt64 fields refuse -------

BEYOND_DOUBLE = "1" + "0" * 400
accept("integer beyond 64 bits under an unknown key",
       '{"type":"show","x":123456789012345678901234567890}', {"type": "show"})
accept("negative integer beyond 64 bits under an unknown key",
       '{"type":"hide","x":-9223372036854775809}', {"type": "hide"})
accept("integers beyond 64 bits nested under an unknown key",
       '{"type":"toggle","x":[18446744073709551616,{"y":-99999999999999999999}]}',
       {"type": "toggle"})
accept("integer beyond the double range under an unknown key",
       '{"type":"show","x":' + BEYOND_DOUBLE + "}", {"type": "show"})
accept("show whose ignored snapshot is an integer beyond 64 bits",
       '{"type":"show","snapshot":123456789012345678901234567890}', {"type": "show"})
accept("captureAudioLevel 2^64", raw_snapshot("18446744073709551616", "captureAudioLevel"),
       {"type": "snapshot",
        "snapshot": canonical_snapshot(with_fields(captureAudioLevel=1.8446744073709552e19))})
accept("captureAudioLevel -2^65", raw_snapshot("-36893488147419103232", "captureAudioLevel"),
       {"type": "snapshot",
        "snapshot": canonical_snapshot(with_fields(captureAudioLevel=-3.6893488147419103e19))})
accept("committedAt 10^20", '{"type":"snapshot","snapshot":'
       + dumps(card_snapshot(card("@@"))).replace('"@@"', "100000000000000000000") + "}",
       {"type": "snapshot", "snapshot": canonical_snapshot(card_snapshot(card(1e20)))})
accept("committedAt negative beyond 64 bits", '{"type":"snapshot","snapshot":'
       + dumps(card_snapshot(card("@@"))).replace('"@@"', "-123456789012345678901234567890")
       + "}",
       {"type": "snapshot",
        "snapshot": canonical_snapshot(card_snapshot(card(-1.2345678901234568e29)))})
accept("digits in strings stay text beside an integer beyond 64 bits",
       '{"type":"snapshot","x":123456789012345678901234567890,"snapshot":'
       + dumps(with_fields(statusMessage="@@")).replace(
           '"@@"', r'"a\\\"123456789012345678901234567890 -99999999999999999999"') + "}",
       {"type": "snapshot", "snapshot": canonical_snapshot(with_fields(
           statusMessage='a\\"123456789012345678901234567890 -99999999999999999999'))})


def card_line(fragment):
    return ('{"type":"snapshot","snapshot":'
            + dumps(card_snapshot(card("@@"))).replace('"@@"', fragment) + "}")


reject("generation 2^64", raw_snapshot("18446744073709551616", "generation"), "snapshot.generation")
reject("generation negative beyond 64 bits", raw_snapshot("-18446744073709551616", "generation"),
       "snapshot.generation")
reject("droppedCaptureBuffers below the Int64 minimum",
       raw_snapshot("-9223372036854775809", "droppedCaptureBuffers"),
       "snapshot.droppedCaptureBuffers")
reject("droppedCaptureBuffers beyond 64 bits",
       raw_snapshot("99999999999999999999999", "droppedCaptureBuffers"),
       "snapshot.droppedCaptureBuffers")
reject("captureAudioLevel integer beyond the float range",
       raw_snapshot("1" + "0" * 39, "captureAudioLevel"), "snapshot.captureAudioLevel")
reject("committedAt integer beyond the double range", card_line(BEYOND_DOUBLE),
       "snapshot.committedCards[0].committedAt")
reject("statusMessage an integer beyond 64 bits",
       raw_snapshot("123456789012345678901234567890", "statusMessage"), "snapshot.statusMessage")
reject("snapshot an integer beyond the double range",
       '{"type":"snapshot","snapshot":' + BEYOND_DOUBLE + "}", "snapshot")
reject("option an integer beyond the double range",
       raw_snapshot("[" + BEYOND_DOUBLE + "]", "sourceLanguages"), "snapshot.sourceLanguages[0]")
reject("type an integer beyond 64 bits", '{"type":123456789012345678901234567890}', "type")
reject("integer beyond 64 bits as the whole line", "123456789012345678901234567890", "")
reject("integer beyond 64 bits with a leading zero",
       '{"type":"show","x":0123456789012345678901234567890}', "")
reject("integer beyond 64 bits run into a letter",
       '{"type":"show","x":123456789012345678901234567890x}', "")
reject("integer beyond 64 bits beside an unclosed string",
       '{"type":"show","x":123456789012345678901234567890,"y":"open}', "")
reject("integer beyond 64 bits beside a fraction beyond the double range",
       '{"type":"show","x":123456789012345678901234567890,"y":1e400}', "")

# --- Rejected host messages: the line as a whole ----------------------------------------------

reject("not JSON", "hello", "")
reject("white space only", "   ", "")
reject("carriage return only", "\r", "")
reject("unterminated object", '{"type":"show"', "")
reject("extra closing brace", '{"type":"show"}}', "")
reject("two objects on one line", '{"type":"show"} {"type":"hide"}', "")
reject("two objects without space", '{"type":"show"}{"type":"hide"}', "")
reject("text after the object", '{"type":"show"}x', "")
reject("comma after the object", '{"type":"show"},', "")
reject("top-level array", '[{"type":"show"}]', "")
reject("top-level string", '"show"', "")
reject("top-level number", "1", "")
reject("top-level null", "null", "")
reject("trailing comma in the object", '{"type":"show",}', "")
reject("single quotes", "{'type':'show'}", "")
reject("byte order mark", "\ufeff" + '{"type":"show"}', "")
reject("NUL byte after the object", '{"type":"show"}\u0000', "")
reject("invalid UTF-8 in a value", b'{"type":"snapshot","x":"\xff"}', "")
reject("invalid UTF-8 under an ignored key", b'{"type":"show","note":"caf\xe9"}', "")
reject("invalid UTF-8 in a key", b'{"type":"show","\xc3":1}', "")
reject("overlong UTF-8 encoding", b'{"type":"show","x":"\xc0\x80"}', "")
reject("UTF-8 encoded surrogate", b'{"type":"show","x":"\xed\xa0\x80"}', "")
reject("UTF-8 beyond U+10FFFF", b'{"type":"show","x":"\xf4\x90\x80\x80"}', "")
reject("truncated UTF-8 sequence", b'{"type":"show","x":"\xe6\x97"}', "")
reject("lone high surrogate escape", '{"type":"show","x":"\\ud800"}', "")
reject("lone low surrogate escape", '{"type":"show","x":"\\udc00"}', "")
reject("high surrogate before a plain escape", '{"type":"show","x":"\\ud800\\u0041"}', "")
reject("two high surrogates", '{"type":"show","x":"\\ud800\\ud800"}', "")
reject("lone surrogate in statusMessage",
       raw_snapshot('"\\udbff"', "statusMessage"), "")
reject("raw control character in a string", '{"type":"show","x":"a\u0001b"}', "")
reject("raw tab in a string", '{"type":"show","x":"a\tb"}', "")
reject("raw form feed in a string",
       '{"type":"show","x":"a\u000cb"}', "")
reject("unknown escape", '{"type":"show","x":"\\x41"}', "")
reject("short unicode escape", '{"type":"show","x":"\\u12"}', "")
reject("NaN", '{"type":"show","x":NaN}', "")
reject("Infinity", '{"type":"show","x":Infinity}', "")
reject("number beyond the double range", '{"type":"show","x":1e400}', "")
reject("leading zero", '{"type":"show","x":01}', "")
reject("trailing decimal point", '{"type":"show","x":1.}', "")
reject("leading decimal point", '{"type":"show","x":.5}', "")
reject("plus sign", '{"type":"show","x":+1}', "")
reject("misspelt true", '{"type":"show","x":tru}', "")
reject("nesting deeper than 1024 levels",
       '{"type":"show","deep":' + "[" * 1100 + "]" * 1100 + "}", "")

# --- Rejected host messages: a field ----------------------------------------------------------

reject("type missing", '{"snapshot":{}}', "type")
reject("type null", '{"type":null}', "type")
reject("type a number", '{"type":1}', "type")
reject("type unknown", '{"type":"refresh"}', "type")
reject("type is case-sensitive", '{"type":"Show"}', "type")
reject("type repeated", '{"type":"show","type":"hide"}', "type")
reject("snapshot type without a snapshot", '{"type":"snapshot"}', "snapshot")
reject("snapshot null", '{"type":"snapshot","snapshot":null}', "snapshot")
reject("snapshot a number", '{"type":"snapshot","snapshot":42}', "snapshot")
reject("snapshot an array", '{"type":"snapshot","snapshot":[]}', "snapshot")
reject("snapshot repeated", '{"type":"snapshot","snapshot":' + dumps(INITIAL) + ',"snapshot":'
       + dumps(INITIAL) + "}", "snapshot")
for key in REQUIRED_KEYS:
    reject(f"{key} missing", snapshot_line(without(key)), f"snapshot.{key}")
for key in ("generation", "lifecycle", "hasFailure", "sourceLanguages", "captureAudioLevel",
            "committedCards"):
    reject(f"{key} null", snapshot_line(with_fields(FULL, **{key: None})), f"snapshot.{key}")
# One value of the wrong JSON type for every required key.
WRONG_TYPE = {
    "generation": "0", "lifecycle": 1, "statusMessage": True, "hasFailure": "false",
    "canRequestMoreTime": 0, "isSessionActive": "yes", "isStartEnabled": [],
    "sourceLanguage": 7, "targetLanguage": ["en"], "selectedAudioSourceID": {"id": "mac-audio"},
    "sourceLanguages": "de", "targetLanguages": 3, "audioSources": True,
    "actualAudioSourceDescription": 0.5, "droppedCaptureBuffers": [0], "captureAudioLevel": {},
    "appearanceMode": False, "showsSourceText": None, "committedCards": {"0": {}},
}
assert sorted(WRONG_TYPE) == sorted(REQUIRED_KEYS)
for key, value in WRONG_TYPE.items():
    reject(f"{key} of the wrong type", snapshot_line(with_fields(**{key: value})),
           f"snapshot.{key}")
reject("key names are case-sensitive", snapshot_line(
    {("Generation" if k == "generation" else k): v for k, v in INITIAL.items()}),
    "snapshot.generation")
reject("generation repeated", '{"type":"snapshot","snapshot":{"generation":1,'
       + dumps(INITIAL)[1:] + "}", "snapshot.generation")
reject("generation -1", snapshot_line(with_fields(generation=-1)), "snapshot.generation")
reject("generation 1.5", snapshot_line(with_fields(generation=1.5)), "snapshot.generation")
reject("generation 1.0 is not an integer", raw_snapshot("1.0", "generation"), "snapshot.generation")
reject("generation with an exponent", raw_snapshot("1e3", "generation"), "snapshot.generation")
reject("generation as a string", snapshot_line(with_fields(generation="1")), "snapshot.generation")
reject("generation as a boolean", snapshot_line(with_fields(generation=True)), "snapshot.generation")
reject("droppedCaptureBuffers 1.5", snapshot_line(with_fields(droppedCaptureBuffers=1.5)),
       "snapshot.droppedCaptureBuffers")
reject("droppedCaptureBuffers above the Int64 maximum",
       snapshot_line(with_fields(droppedCaptureBuffers=9223372036854775808)),
       "snapshot.droppedCaptureBuffers")
reject("droppedCaptureBuffers as a string", snapshot_line(with_fields(droppedCaptureBuffers="0")),
       "snapshot.droppedCaptureBuffers")
reject("captureAudioLevel beyond the float range", raw_snapshot("3.5e38", "captureAudioLevel"),
       "snapshot.captureAudioLevel")
reject("captureAudioLevel beyond the negative float range",
       raw_snapshot("-1e39", "captureAudioLevel"), "snapshot.captureAudioLevel")
reject("captureAudioLevel exactly between the float maximum and infinity",
       raw_snapshot("3.4028235677973366e38", "captureAudioLevel"),
       "snapshot.captureAudioLevel")
reject("captureAudioLevel as a string", snapshot_line(with_fields(captureAudioLevel="0.5")),
       "snapshot.captureAudioLevel")
reject("captureAudioLevel as a boolean", snapshot_line(with_fields(captureAudioLevel=True)),
       "snapshot.captureAudioLevel")
for bad in ("paused", "Listening", "", 3):
    reject(f"lifecycle {bad!r}", snapshot_line(with_fields(lifecycle=bad)), "snapshot.lifecycle")
reject("hasFailure as a string", snapshot_line(with_fields(hasFailure="true")), "snapshot.hasFailure")
reject("showsSourceText as 1", snapshot_line(with_fields(showsSourceText=1)),
       "snapshot.showsSourceText")
reject("statusMessage a number", snapshot_line(with_fields(statusMessage=5)),
       "snapshot.statusMessage")
reject("sourceLanguages an object", snapshot_line(with_fields(sourceLanguages={})),
       "snapshot.sourceLanguages")
reject("targetLanguages of strings", snapshot_line(with_fields(targetLanguages=["en"])),
       "snapshot.targetLanguages[0]")
reject("null option", snapshot_line(with_fields(FULL, audioSources=[FULL["audioSources"][0], None])),
       "snapshot.audioSources[1]")
reject("option without displayName", snapshot_line(with_fields(sourceLanguages=[{"id": "de"}])),
       "snapshot.sourceLanguages[0].displayName")
reject("option id a number", snapshot_line(with_fields(
    audioSources=[{"id": 1, "displayName": "One"}])), "snapshot.audioSources[0].id")
reject("option id null", snapshot_line(with_fields(
    targetLanguages=[{"id": "en", "displayName": "English"}, {"id": None, "displayName": "x"}])),
    "snapshot.targetLanguages[1].id")
reject("card committedAt a string", snapshot_line(card_snapshot(
    card(1), card(2), card(3), dict(card(4), committedAt="2023-03-08T20:26:40Z"))),
    "snapshot.committedCards[3].committedAt")
reject("card without translatedText", snapshot_line(card_snapshot(
    {"id": "c", "sourceText": "s", "committedAt": 1})), "snapshot.committedCards[0].translatedText")
reject("card id repeated", '{"type":"snapshot","snapshot":' + dumps(card_snapshot(card(1)))
       .replace('{"id":"c"', '{"id":"c","id":"d"') + "}", "snapshot.committedCards[0].id")
reject("captureFallbackNotice a number", snapshot_line(with_fields(captureFallbackNotice=42)),
       "snapshot.captureFallbackNotice")
reject("activeSourceText a boolean", snapshot_line(with_fields(activeSourceText=False)),
       "snapshot.activeSourceText")
reject("activeTranslatedText an object", snapshot_line(with_fields(activeTranslatedText={})),
       "snapshot.activeTranslatedText")
reject("first failure in table order is reported", snapshot_line(with_fields(
    lifecycle="paused", committedCards=7)), "snapshot.lifecycle")

# --- Commands ---------------------------------------------------------------------------------


def accept_command(name, line, expect):
    command_cases.append({"name": name, "input": line, "expect": expect})


def reject_command(name, line, path):
    command_cases.append({"name": name, "input": line, "expect": "rejected", "path": path})


for kind in ("start", "stop", "cancel", "hide", "swap_languages", "request_more_time"):
    accept_command(kind, dumps({"type": kind}), {"type": kind})
accept_command("set_source_language", '{"type":"set_source_language","string_value":"de"}',
               {"type": "set_source_language", "string_value": "de"})
accept_command("set_target_language, the example line",
               '{"type":"set_target_language","string_value":"en"}',
               {"type": "set_target_language", "string_value": "en"})
accept_command("set_audio_source", '{"type":"set_audio_source","string_value":"bundle:com.apple.Music"}',
               {"type": "set_audio_source", "string_value": "bundle:com.apple.Music"})
accept_command("empty language id", '{"type":"set_source_language","string_value":""}',
               {"type": "set_source_language", "string_value": ""})
accept_command("set_shows_source_text false, the example line",
               '{"type":"set_shows_source_text","bool_value":false}',
               {"type": "set_shows_source_text", "bool_value": False})
accept_command("set_shows_source_text true", '{"bool_value":true,"type":"set_shows_source_text"}',
               {"type": "set_shows_source_text", "bool_value": True})
accept_command("value keys of other kinds are ignored",
               '{"type":"stop","string_value":5,"bool_value":null}', {"type": "stop"})
accept_command("bool_value ignored for a string command",
               '{"type":"set_audio_source","string_value":"mac-audio","bool_value":"x"}',
               {"type": "set_audio_source", "string_value": "mac-audio"})
accept_command("unicode string value", '{"type":"set_target_language","string_value":"zh-Hans \\u4e2d"}',
               {"type": "set_target_language", "string_value": "zh-Hans 中"})
accept_command("start with an unknown key beyond 64 bits",
               '{"type":"start","x":18446744073709551616}', {"type": "start"})
reject_command("string_value an integer beyond 64 bits",
               '{"type":"set_audio_source","string_value":123456789012345678901234567890}',
               "string_value")
reject_command("type missing", '{"string_value":"en"}', "type")
reject_command("type in camel case", '{"type":"swapLanguages"}', "type")
reject_command("host message type", '{"type":"toggle"}', "type")
reject_command("string_value missing", '{"type":"set_source_language"}', "string_value")
reject_command("string_value null", '{"type":"set_target_language","string_value":null}',
               "string_value")
reject_command("string_value a number", '{"type":"set_audio_source","string_value":1}',
               "string_value")
reject_command("bool_value missing", '{"type":"set_shows_source_text"}', "bool_value")
reject_command("bool_value a string", '{"type":"set_shows_source_text","bool_value":"false"}',
               "bool_value")
reject_command("string_value repeated",
               '{"type":"set_source_language","string_value":"a","string_value":"b"}',
               "string_value")
reject_command("two commands on one line", '{"type":"start"}{"type":"stop"}', "")


def write(name, rows):
    names = [row["name"] for row in rows]
    duplicates = {n for n in names if names.count(n) > 1}
    if duplicates:
        raise SystemExit(f"duplicate case names in {name}: {sorted(duplicates)}")
    with open(os.path.join(HERE, name), "w", encoding="utf-8") as out:
        for row in rows:
            out.write(json.dumps(row, ensure_ascii=False, separators=(",", ":")) + "\n")
    print(f"{name}: {len(rows)} cases")


write("host_messages.jsonl", cases)
write("commands.jsonl", command_cases)
