<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="en">
<context>
    <name>LiveTranslationActiveCard</name>
    <message>
        <source>LIVE TRANSLATION</source>
        <translation>TRADUCTION EN DIRECT</translation>
    </message>
    <message>
        <source>LISTENING</source>
        <translation>À L’ÉCOUTE</translation>
    </message>
    <message>
        <source>Live translation</source>
        <translation>Traduction en direct</translation>
    </message>
    <message>
        <source>Listening</source>
        <translation>À l’écoute</translation>
    </message>
    <message>
        <source>The matching original phrase will appear here.</source>
        <translation>La phrase originale correspondante apparaîtra ici.</translation>
    </message>
    <message>
        <source>Waiting for the next phrase…</source>
        <translation>En attente de la phrase suivante…</translation>
    </message>
    <message>
        <source>Waiting for translation…</source>
        <translation>En attente de la traduction…</translation>
    </message>
    <message>
        <source>Hearing more · preparing the next matched update…</source>
        <translation>Écoute en cours · préparation de la prochaine mise à jour associée…</translation>
    </message>
    <message>
        <source>The next original and translation will stay together here.</source>
        <translation>Le prochain original et sa traduction resteront ensemble ici.</translation>
    </message>
    <message>
        <source>NOW</source>
        <translation>MAINTENANT</translation>
    </message>
</context>
<context>
    <name>LiveTranslationAnnouncer</name>
    <message>
        <source>%1 new captions.</source>
        <translation>%1 nouveaux sous-titres.</translation>
    </message>
</context>
<context>
    <name>LiveTranslationAudioPicker</name>
    <message>
        <source>APPLICATIONS</source>
        <translation>APPLICATIONS</translation>
    </message>
    <message>
        <source>Audio source</source>
        <translation>Source audio</translation>
    </message>
    <message>
        <source>Everything playing on this Mac</source>
        <translation>Tout ce qui est lu sur ce Mac</translation>
    </message>
</context>
<context>
    <name>LiveTranslationCaptionList</name>
    <message>
        <source>Live translation captions</source>
        <translation>Sous-titres de la traduction en direct</translation>
    </message>
</context>
<context>
    <name>LiveTranslationCaptionSelector</name>
    <message>
        <source>Copy</source>
        <translation>Copier</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Tout sélectionner</translation>
    </message>
</context>
<context>
    <name>LiveTranslationCaptionsEmptyState</name>
    <message>
        <source>Original phrases and translations stay paired here.</source>
        <translation>Les phrases originales et leurs traductions restent associées ici.</translation>
    </message>
    <message>
        <source>Listening for the first phrase…</source>
        <translation>À l’écoute de la première phrase…</translation>
    </message>
    <message>
        <source>Ready when the conversation starts</source>
        <translation>Prêt dès que la conversation commence</translation>
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
        <translation>Copier la dernière</translation>
    </message>
    <message>
        <source>Copy all</source>
        <translation>Tout copier</translation>
    </message>
    <message>
        <source>Original and translation remain paired to the same revision.</source>
        <translation>L’original et la traduction restent associés à la même révision.</translation>
    </message>
    <message>
        <source>Showing translations only. Originals remain available when re-enabled.</source>
        <translation>Seules les traductions sont affichées. Les originaux reviennent une fois réactivés.</translation>
    </message>
</context>
<context>
    <name>LiveTranslationCaptionsView</name>
    <message>
        <source>TRANSLATED</source>
        <translation>TRADUIT</translation>
    </message>
</context>
<context>
    <name>LiveTranslationCaptureStatus</name>
    <message>
        <source>Audio level</source>
        <translation>Niveau audio</translation>
    </message>
    <message>
        <source>%1 percent</source>
        <translation>%1 pour cent</translation>
    </message>
    <message>
        <source>System audio only. Your microphone is never used.</source>
        <translation>Audio du système uniquement. Votre micro n’est jamais utilisé.</translation>
    </message>
</context>
<context>
    <name>LiveTranslationLanguagePicker</name>
    <message>
        <source>Languages</source>
        <translation>Langues</translation>
    </message>
    <message>
        <source>Changing languages starts a new session.</source>
        <translation>Changer de langue démarre une nouvelle session.</translation>
    </message>
    <message>
        <source>Search languages</source>
        <translation>Rechercher des langues</translation>
    </message>
    <message>
        <source>Swap source and target languages</source>
        <translation>Intervertir la langue source et la langue cible</translation>
    </message>
</context>
<context>
    <name>LiveTranslationLimitCard</name>
    <message>
        <source>Live Translate limit reached</source>
        <translation>Limite de Live Translate atteinte</translation>
    </message>
    <message>
        <source>Request more time from your Tavu account.</source>
        <translation>Demandez plus de temps depuis votre compte Tavu.</translation>
    </message>
    <message>
        <source>Request more time</source>
        <translation>Demander plus de temps</translation>
    </message>
    <message>
        <source>Request more Live Translate time</source>
        <translation>Demander plus de temps de Live Translate</translation>
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
        <translation>Réessayer</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Démarrer</translation>
    </message>
    <message>
        <source>Try Live Translate again</source>
        <translation>Réessayer Live Translate</translation>
    </message>
    <message>
        <source>Start Live Translate</source>
        <translation>Démarrer Live Translate</translation>
    </message>
    <message>
        <source>Stop translation and close</source>
        <translation>Arrêter la traduction et fermer</translation>
    </message>
    <message>
        <source>Close Live Translate</source>
        <translation>Fermer Live Translate</translation>
    </message>
    <message>
        <source>Live Translate</source>
        <translation>Live Translate</translation>
    </message>
    <message>
        <source>Live Translation status</source>
        <translation>État de la traduction en direct</translation>
    </message>
    <message>
        <source>Languages</source>
        <translation>Langues</translation>
    </message>
    <message>
        <source>Audio source</source>
        <translation>Source audio</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Arrêter</translation>
    </message>
</context>
</TS>
