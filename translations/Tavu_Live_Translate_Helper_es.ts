<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="en">
<context>
    <name>LiveTranslationActiveCard</name>
    <message>
        <source>LIVE TRANSLATION</source>
        <translation>TRADUCCIÓN EN DIRECTO</translation>
    </message>
    <message>
        <source>LISTENING</source>
        <translation>ESCUCHANDO</translation>
    </message>
    <message>
        <source>Live translation</source>
        <translation>Traducción en directo</translation>
    </message>
    <message>
        <source>Listening</source>
        <translation>Escuchando</translation>
    </message>
    <message>
        <source>The matching original phrase will appear here.</source>
        <translation>La frase original correspondiente aparecerá aquí.</translation>
    </message>
    <message>
        <source>Waiting for the next phrase…</source>
        <translation>Esperando la siguiente frase…</translation>
    </message>
    <message>
        <source>Waiting for translation…</source>
        <translation>Esperando la traducción…</translation>
    </message>
    <message>
        <source>Hearing more · preparing the next matched update…</source>
        <translation>Escuchando más · preparando la siguiente actualización emparejada…</translation>
    </message>
    <message>
        <source>The next original and translation will stay together here.</source>
        <translation>El siguiente original y su traducción quedarán juntos aquí.</translation>
    </message>
    <message>
        <source>NOW</source>
        <translation>AHORA</translation>
    </message>
</context>
<context>
    <name>LiveTranslationAnnouncer</name>
    <message>
        <source>%1 new captions.</source>
        <translation>%1 subtítulos nuevos.</translation>
    </message>
</context>
<context>
    <name>LiveTranslationAudioPicker</name>
    <message>
        <source>APPLICATIONS</source>
        <translation>APLICACIONES</translation>
    </message>
    <message>
        <source>Audio source</source>
        <translation>Fuente de audio</translation>
    </message>
    <message>
        <source>Everything playing on this Mac</source>
        <translation>Todo lo que suena en este Mac</translation>
    </message>
</context>
<context>
    <name>LiveTranslationCaptionList</name>
    <message>
        <source>Live translation captions</source>
        <translation>Subtítulos de la traducción en directo</translation>
    </message>
</context>
<context>
    <name>LiveTranslationCaptionSelector</name>
    <message>
        <source>Copy</source>
        <translation>Copiar</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Seleccionar todo</translation>
    </message>
</context>
<context>
    <name>LiveTranslationCaptionsEmptyState</name>
    <message>
        <source>Original phrases and translations stay paired here.</source>
        <translation>Las frases originales y sus traducciones quedan emparejadas aquí.</translation>
    </message>
    <message>
        <source>Listening for the first phrase…</source>
        <translation>Esperando la primera frase…</translation>
    </message>
    <message>
        <source>Ready when the conversation starts</source>
        <translation>Listo en cuanto empiece la conversación</translation>
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
        <translation>Copiar la última</translation>
    </message>
    <message>
        <source>Copy all</source>
        <translation>Copiar todo</translation>
    </message>
    <message>
        <source>Original and translation remain paired to the same revision.</source>
        <translation>El original y la traducción siguen emparejados en la misma revisión.</translation>
    </message>
    <message>
        <source>Showing translations only. Originals remain available when re-enabled.</source>
        <translation>Solo se muestran las traducciones. Los originales vuelven al reactivarlos.</translation>
    </message>
</context>
<context>
    <name>LiveTranslationCaptionsView</name>
    <message>
        <source>TRANSLATED</source>
        <translation>TRADUCIDO</translation>
    </message>
</context>
<context>
    <name>LiveTranslationCaptureStatus</name>
    <message>
        <source>Audio level</source>
        <translation>Nivel de audio</translation>
    </message>
    <message>
        <source>%1 percent</source>
        <translation>%1 por ciento</translation>
    </message>
    <message>
        <source>System audio only. Your microphone is never used.</source>
        <translation>Solo audio del sistema. Tu micrófono nunca se usa.</translation>
    </message>
</context>
<context>
    <name>LiveTranslationLanguagePicker</name>
    <message>
        <source>Languages</source>
        <translation>Idiomas</translation>
    </message>
    <message>
        <source>Changing languages starts a new session.</source>
        <translation>Cambiar de idioma inicia una sesión nueva.</translation>
    </message>
    <message>
        <source>Search languages</source>
        <translation>Buscar idiomas</translation>
    </message>
    <message>
        <source>Swap source and target languages</source>
        <translation>Intercambiar el idioma de origen y el de destino</translation>
    </message>
</context>
<context>
    <name>LiveTranslationLimitCard</name>
    <message>
        <source>Live Translate limit reached</source>
        <translation>Se alcanzó el límite de Live Translate</translation>
    </message>
    <message>
        <source>Request more time from your Tavu account.</source>
        <translation>Solicita más tiempo desde tu cuenta de Tavu.</translation>
    </message>
    <message>
        <source>Request more time</source>
        <translation>Solicitar más tiempo</translation>
    </message>
    <message>
        <source>Request more Live Translate time</source>
        <translation>Solicitar más tiempo de Live Translate</translation>
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
        <translation>Reintentar</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Iniciar</translation>
    </message>
    <message>
        <source>Try Live Translate again</source>
        <translation>Reintentar Live Translate</translation>
    </message>
    <message>
        <source>Start Live Translate</source>
        <translation>Iniciar Live Translate</translation>
    </message>
    <message>
        <source>Stop translation and close</source>
        <translation>Detener la traducción y cerrar</translation>
    </message>
    <message>
        <source>Close Live Translate</source>
        <translation>Cerrar Live Translate</translation>
    </message>
    <message>
        <source>Live Translate</source>
        <translation>Live Translate</translation>
    </message>
    <message>
        <source>Live Translation status</source>
        <translation>Estado de la traducción en directo</translation>
    </message>
    <message>
        <source>Languages</source>
        <translation>Idiomas</translation>
    </message>
    <message>
        <source>Audio source</source>
        <translation>Fuente de audio</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Detener</translation>
    </message>
</context>
</TS>
