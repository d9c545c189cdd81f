<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="en">
<context>
    <name>LiveTranslationActiveCard</name>
    <message>
        <source>LIVE TRANSLATION</source>
        <translation>LIVE-ÜBERSETZUNG</translation>
    </message>
    <message>
        <source>LISTENING</source>
        <translation>HÖRT ZU</translation>
    </message>
    <message>
        <source>Live translation</source>
        <translation>Live-Übersetzung</translation>
    </message>
    <message>
        <source>Listening</source>
        <translation>Hört zu</translation>
    </message>
    <message>
        <source>The matching original phrase will appear here.</source>
        <translation>Der passende Originalsatz erscheint hier.</translation>
    </message>
    <message>
        <source>Waiting for the next phrase…</source>
        <translation>Warten auf den nächsten Satz…</translation>
    </message>
    <message>
        <source>Waiting for translation…</source>
        <translation>Warten auf die Übersetzung…</translation>
    </message>
    <message>
        <source>Hearing more · preparing the next matched update…</source>
        <translation>Hört weiter zu · bereitet die nächste passende Aktualisierung vor…</translation>
    </message>
    <message>
        <source>The next original and translation will stay together here.</source>
        <translation>Das nächste Original und seine Übersetzung bleiben hier beisammen.</translation>
    </message>
    <message>
        <source>NOW</source>
        <translation>JETZT</translation>
    </message>
</context>
<context>
    <name>LiveTranslationAnnouncer</name>
    <message>
        <source>%1 new captions.</source>
        <translation>%1 neue Untertitel.</translation>
    </message>
</context>
<context>
    <name>LiveTranslationAudioPicker</name>
    <message>
        <source>APPLICATIONS</source>
        <translation>PROGRAMME</translation>
    </message>
    <message>
        <source>Audio source</source>
        <translation>Audioquelle</translation>
    </message>
    <message>
        <source>Everything playing on this Mac</source>
        <translation>Alles, was auf diesem Mac läuft</translation>
    </message>
</context>
<context>
    <name>LiveTranslationCaptionList</name>
    <message>
        <source>Live translation captions</source>
        <translation>Untertitel der Live-Übersetzung</translation>
    </message>
</context>
<context>
    <name>LiveTranslationCaptionSelector</name>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Alles auswählen</translation>
    </message>
</context>
<context>
    <name>LiveTranslationCaptionsEmptyState</name>
    <message>
        <source>Original phrases and translations stay paired here.</source>
        <translation>Originalsätze und Übersetzungen bleiben hier paarweise beisammen.</translation>
    </message>
    <message>
        <source>Listening for the first phrase…</source>
        <translation>Warten auf den ersten Satz…</translation>
    </message>
    <message>
        <source>Ready when the conversation starts</source>
        <translation>Bereit, sobald das Gespräch beginnt</translation>
    </message>
</context>
<context>
    <name>LiveTranslationCaptionsFooter</name>
    <message>
        <source>Original</source>
        <translation>Original</translation>
    </message>
    <message>
        <source>Copy latest</source>
        <translation>Neueste kopieren</translation>
    </message>
    <message>
        <source>Copy all</source>
        <translation>Alle kopieren</translation>
    </message>
    <message>
        <source>Original and translation remain paired to the same revision.</source>
        <translation>Original und Übersetzung bleiben derselben Fassung zugeordnet.</translation>
    </message>
    <message>
        <source>Showing translations only. Originals remain available when re-enabled.</source>
        <translation>Nur Übersetzungen werden angezeigt. Eingeschaltet erscheinen die Originale wieder.</translation>
    </message>
</context>
<context>
    <name>LiveTranslationCaptionsView</name>
    <message>
        <source>TRANSLATED</source>
        <translation>ÜBERSETZT</translation>
    </message>
</context>
<context>
    <name>LiveTranslationCaptureStatus</name>
    <message>
        <source>Audio level</source>
        <translation>Audiopegel</translation>
    </message>
    <message>
        <source>%1 percent</source>
        <translation>%1 Prozent</translation>
    </message>
    <message>
        <source>System audio only. Your microphone is never used.</source>
        <translation>Nur Systemaudio. Ihr Mikrofon wird nie verwendet.</translation>
    </message>
</context>
<context>
    <name>LiveTranslationLanguagePicker</name>
    <message>
        <source>Languages</source>
        <translation>Sprachen</translation>
    </message>
    <message>
        <source>Changing languages starts a new session.</source>
        <translation>Ein Sprachwechsel startet eine neue Sitzung.</translation>
    </message>
    <message>
        <source>Search languages</source>
        <translation>Sprachen suchen</translation>
    </message>
    <message>
        <source>Swap source and target languages</source>
        <translation>Ausgangs- und Zielsprache tauschen</translation>
    </message>
</context>
<context>
    <name>LiveTranslationLimitCard</name>
    <message>
        <source>Live Translate limit reached</source>
        <translation>Limit für Live Translate erreicht</translation>
    </message>
    <message>
        <source>Request more time from your Tavu account.</source>
        <translation>Fordern Sie über Ihr Tavu-Konto mehr Zeit an.</translation>
    </message>
    <message>
        <source>Request more time</source>
        <translation>Mehr Zeit anfordern</translation>
    </message>
    <message>
        <source>Request more Live Translate time</source>
        <translation>Mehr Zeit für Live Translate anfordern</translation>
    </message>
</context>
<context>
    <name>LiveTranslationOverlayPanel</name>
    <message>
        <source>Live Translate</source>
        <translation>Live Translate</translation>
    </message>
</context>
<context>
    <name>LiveTranslationTopBar</name>
    <message>
        <source>Try again</source>
        <translation>Erneut versuchen</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Starten</translation>
    </message>
    <message>
        <source>Try Live Translate again</source>
        <translation>Live Translate erneut versuchen</translation>
    </message>
    <message>
        <source>Start Live Translate</source>
        <translation>Live Translate starten</translation>
    </message>
    <message>
        <source>Stop translation and close</source>
        <translation>Übersetzung beenden und schließen</translation>
    </message>
    <message>
        <source>Close Live Translate</source>
        <translation>Live Translate schließen</translation>
    </message>
    <message>
        <source>Live Translate</source>
        <translation>Live Translate</translation>
    </message>
    <message>
        <source>Live Translation status</source>
        <translation>Status der Live-Übersetzung</translation>
    </message>
    <message>
        <source>Languages</source>
        <translation>Sprachen</translation>
    </message>
    <message>
        <source>Audio source</source>
        <translation>Audioquelle</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
</context>
</TS>
