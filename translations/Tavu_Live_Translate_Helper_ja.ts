<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja" sourcelanguage="en">
<context>
    <name>LiveTranslationActiveCard</name>
    <message>
        <source>LIVE TRANSLATION</source>
        <translation>ライブ翻訳</translation>
    </message>
    <message>
        <source>LISTENING</source>
        <translation>聞き取り中</translation>
    </message>
    <message>
        <source>Live translation</source>
        <translation>ライブ翻訳</translation>
    </message>
    <message>
        <source>Listening</source>
        <translation>聞き取り中</translation>
    </message>
    <message>
        <source>The matching original phrase will appear here.</source>
        <translation>対応する原文がここに表示されます。</translation>
    </message>
    <message>
        <source>Waiting for the next phrase…</source>
        <translation>次のフレーズを待っています…</translation>
    </message>
    <message>
        <source>Waiting for translation…</source>
        <translation>翻訳を待っています…</translation>
    </message>
    <message>
        <source>Hearing more · preparing the next matched update…</source>
        <translation>聞き取り中 · 次の対応する更新を準備しています…</translation>
    </message>
    <message>
        <source>The next original and translation will stay together here.</source>
        <translation>次の原文と翻訳はここで対になって表示されます。</translation>
    </message>
    <message>
        <source>NOW</source>
        <translation>現在</translation>
    </message>
</context>
<context>
    <name>LiveTranslationAnnouncer</name>
    <message>
        <source>%1 new captions.</source>
        <translation>新しい字幕 %1 件。</translation>
    </message>
</context>
<context>
    <name>LiveTranslationAudioPicker</name>
    <message>
        <source>APPLICATIONS</source>
        <translation>アプリケーション</translation>
    </message>
    <message>
        <source>Audio source</source>
        <translation>オーディオソース</translation>
    </message>
    <message>
        <source>Everything playing on this Mac</source>
        <translation>このMacで再生中のすべて</translation>
    </message>
</context>
<context>
    <name>LiveTranslationCaptionList</name>
    <message>
        <source>Live translation captions</source>
        <translation>ライブ翻訳の字幕</translation>
    </message>
</context>
<context>
    <name>LiveTranslationCaptionSelector</name>
    <message>
        <source>Copy</source>
        <translation>コピー</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>すべてを選択</translation>
    </message>
</context>
<context>
    <name>LiveTranslationCaptionsEmptyState</name>
    <message>
        <source>Original phrases and translations stay paired here.</source>
        <translation>原文と翻訳はここで対になって表示されます。</translation>
    </message>
    <message>
        <source>Listening for the first phrase…</source>
        <translation>最初のフレーズを聞き取っています…</translation>
    </message>
    <message>
        <source>Ready when the conversation starts</source>
        <translation>会話が始まるとすぐに翻訳します</translation>
    </message>
</context>
<context>
    <name>LiveTranslationCaptionsFooter</name>
    <message>
        <source>Original</source>
        <translation>原文</translation>
    </message>
    <message>
        <source>Copy latest</source>
        <translation>最新をコピー</translation>
    </message>
    <message>
        <source>Copy all</source>
        <translation>すべてコピー</translation>
    </message>
    <message>
        <source>Original and translation remain paired to the same revision.</source>
        <translation>原文と翻訳は同じ版どうしで対になっています。</translation>
    </message>
    <message>
        <source>Showing translations only. Originals remain available when re-enabled.</source>
        <translation>翻訳のみを表示しています。オンに戻すと原文も表示されます。</translation>
    </message>
</context>
<context>
    <name>LiveTranslationCaptionsView</name>
    <message>
        <source>TRANSLATED</source>
        <translation>翻訳済み</translation>
    </message>
</context>
<context>
    <name>LiveTranslationCaptureStatus</name>
    <message>
        <source>Audio level</source>
        <translation>オーディオレベル</translation>
    </message>
    <message>
        <source>%1 percent</source>
        <translation>%1パーセント</translation>
    </message>
    <message>
        <source>System audio only. Your microphone is never used.</source>
        <translation>システムオーディオのみ。マイクは使用されません。</translation>
    </message>
</context>
<context>
    <name>LiveTranslationLanguagePicker</name>
    <message>
        <source>Languages</source>
        <translation>言語</translation>
    </message>
    <message>
        <source>Changing languages starts a new session.</source>
        <translation>言語を変更すると新しいセッションが始まります。</translation>
    </message>
    <message>
        <source>Search languages</source>
        <translation>言語を検索</translation>
    </message>
    <message>
        <source>Swap source and target languages</source>
        <translation>翻訳元と翻訳先の言語を入れ替える</translation>
    </message>
</context>
<context>
    <name>LiveTranslationLimitCard</name>
    <message>
        <source>Live Translate limit reached</source>
        <translation>Live Translateの上限に達しました</translation>
    </message>
    <message>
        <source>Request more time from your Tavu account.</source>
        <translation>Tavuアカウントから追加の時間をリクエストしてください。</translation>
    </message>
    <message>
        <source>Request more time</source>
        <translation>時間を追加リクエスト</translation>
    </message>
    <message>
        <source>Request more Live Translate time</source>
        <translation>Live Translateの時間を追加リクエスト</translation>
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
        <translation>再試行</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>開始</translation>
    </message>
    <message>
        <source>Try Live Translate again</source>
        <translation>Live Translateを再試行</translation>
    </message>
    <message>
        <source>Start Live Translate</source>
        <translation>Live Translateを開始</translation>
    </message>
    <message>
        <source>Stop translation and close</source>
        <translation>翻訳を停止して閉じる</translation>
    </message>
    <message>
        <source>Close Live Translate</source>
        <translation>Live Translateを閉じる</translation>
    </message>
    <message>
        <source>Live Translate</source>
        <translation>Live Translate</translation>
    </message>
    <message>
        <source>Live Translation status</source>
        <translation>ライブ翻訳の状態</translation>
    </message>
    <message>
        <source>Languages</source>
        <translation>言語</translation>
    </message>
    <message>
        <source>Audio source</source>
        <translation>オーディオソース</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
</context>
</TS>
