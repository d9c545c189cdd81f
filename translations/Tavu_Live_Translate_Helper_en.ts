<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>LiveTranslationActiveCard</name>
    <message>
        <source>LIVE TRANSLATION</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LISTENING</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Live translation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Listening</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The matching original phrase will appear here.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waiting for the next phrase…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waiting for translation…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hearing more · preparing the next matched update…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The next original and translation will stay together here.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NOW</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LiveTranslationAnnouncer</name>
    <message>
        <source>%1 new captions.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LiveTranslationAudioPicker</name>
    <message>
        <source>APPLICATIONS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Audio source</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Everything playing on this Mac</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LiveTranslationCaptionList</name>
    <message>
        <source>Live translation captions</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LiveTranslationCaptionSelector</name>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select All</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LiveTranslationCaptionsEmptyState</name>
    <message>
        <source>Original phrases and translations stay paired here.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Listening for the first phrase…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ready when the conversation starts</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LiveTranslationCaptionsFooter</name>
    <message>
        <source>Original</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy latest</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy all</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Original and translation remain paired to the same revision.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Showing translations only. Originals remain available when re-enabled.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LiveTranslationCaptionsView</name>
    <message>
        <source>TRANSLATED</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LiveTranslationCaptureStatus</name>
    <message>
        <source>Audio level</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 percent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>System audio only. Your microphone is never used.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LiveTranslationLanguagePicker</name>
    <message>
        <source>Languages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Changing languages starts a new session.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search languages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Swap source and target languages</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LiveTranslationLimitCard</name>
    <message>
        <source>Live Translate limit reached</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Request more time from your Tavu account.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Request more time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Request more Live Translate time</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LiveTranslationOverlayPanel</name>
    <message>
        <source>Live Translate</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LiveTranslationTopBar</name>
    <message>
        <source>Try again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Try Live Translate again</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Live Translate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop translation and close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close Live Translate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Live Translate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Live Translation status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Languages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Audio source</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
