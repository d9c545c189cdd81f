#include "demo_phrases.hpp"

#include <algorithm>
#include <array>

#include <QString>

namespace {

struct Phrase {
    const char *en;
    const char *es;
    const char *de;
    const char *fr;
    const char *ja;
};

// The team's own writing: a logistics team's weekly call.
constexpr std::array kPhrases {
    Phrase {"Good morning, everyone. Can you all hear me clearly?",
        "Buenos días a todos. ¿Me oís bien?",
        "Guten Morgen zusammen. Könnt ihr mich alle gut hören?",
        "Bonjour à tous. Vous m'entendez bien ?",
        "皆さん、おはようございます。声はよく聞こえていますか？"},
    Phrase {"Let's start with a quick look at last week's numbers.",
        "Empecemos con un vistazo rápido a las cifras de la semana pasada.",
        "Fangen wir mit einem kurzen Blick auf die Zahlen der letzten Woche an.",
        "Commençons par un rapide coup d'œil aux chiffres de la semaine dernière.",
        "まず先週の数字を簡単に見てみましょう。"},
    Phrase {"Sales in the north went up by twelve percent.",
        "Las ventas en el norte subieron un doce por ciento.",
        "Der Umsatz im Norden ist um zwölf Prozent gestiegen.",
        "Les ventes dans le nord ont augmenté de douze pour cent.",
        "北部の売上は12パーセント伸びました。"},
    Phrase {"The new warehouse opens on the first of next month.",
        "El nuevo almacén abre el día uno del mes que viene.",
        "Das neue Lager öffnet am Ersten des nächsten Monats.",
        "Le nouvel entrepôt ouvre le premier du mois prochain.",
        "新しい倉庫は来月一日にオープンします。"},
    Phrase {"We still need two drivers for the night shift.",
        "Todavía necesitamos dos conductores para el turno de noche.",
        "Für die Nachtschicht brauchen wir noch zwei Fahrer.",
        "Il nous manque encore deux chauffeurs pour l'équipe de nuit.",
        "夜勤のドライバーがまだ二人足りません。"},
    Phrase {"Could someone share the schedule in the chat, please?",
        "¿Alguien puede compartir el horario en el chat, por favor?",
        "Kann bitte jemand den Zeitplan im Chat teilen?",
        "Quelqu'un peut partager le planning dans le chat, s'il vous plaît ?",
        "どなたかチャットにスケジュールを共有してもらえますか？"},
    Phrase {"Thanks, I can see it now.", "Gracias, ya lo veo.", "Danke, jetzt sehe ich ihn.",
        "Merci, je le vois maintenant.", "ありがとうございます、今見えました。"},
    Phrase {"The delivery to Valencia was two days late because of the storm.",
        "La entrega a Valencia llegó con dos días de retraso por la tormenta.",
        "Die Lieferung nach Valencia kam wegen des Sturms zwei Tage zu spät.",
        "La livraison à Valence a eu deux jours de retard à cause de la tempête.",
        "バレンシアへの配送は嵐のせいで二日遅れました。"},
    Phrase {"The customer was understanding, but we should call them today.",
        "El cliente lo entendió, pero deberíamos llamarle hoy.",
        "Der Kunde hatte Verständnis, aber wir sollten ihn heute anrufen.",
        "Le client a été compréhensif, mais nous devrions l'appeler aujourd'hui.",
        "お客様は理解してくれましたが、今日電話したほうがいいでしょう。"},
    Phrase {"I will send a summary by email after the meeting.",
        "Después de la reunión enviaré un resumen por correo.",
        "Nach dem Meeting schicke ich eine Zusammenfassung per E-Mail.",
        "J'enverrai un résumé par e-mail après la réunion.",
        "会議の後でメールで要点をお送りします。"},
    Phrase {"Does anyone have questions before we move on?",
        "¿Alguien tiene preguntas antes de seguir?",
        "Hat jemand noch Fragen, bevor wir weitermachen?",
        "Quelqu'un a des questions avant de continuer ?", "次に進む前に、何か質問はありますか？"},
    Phrase {"Great, then let's talk about the budget for the autumn campaign.",
        "Perfecto, entonces hablemos del presupuesto de la campaña de otoño.",
        "Gut, dann sprechen wir über das Budget für die Herbstkampagne.",
        "Parfait, alors parlons du budget de la campagne d'automne.",
        "では、秋のキャンペーンの予算について話しましょう。"},
};

// Characters per piece of a text without blanks.
constexpr qsizetype kUnspacedPieceLength = 3;

struct PhraseTexts {
    std::vector<std::string> en, es, de, fr, ja;
};

const PhraseTexts &texts()
{
    static const PhraseTexts value = [] {
        PhraseTexts t;
        for (const Phrase &p : kPhrases) {
            t.en.emplace_back(p.en);
            t.es.emplace_back(p.es);
            t.de.emplace_back(p.de);
            t.fr.emplace_back(p.fr);
            t.ja.emplace_back(p.ja);
        }
        return t;
    }();
    return value;
}

const std::vector<std::string> &column(const std::string &languageId)
{
    const PhraseTexts &t = texts();
    if (languageId == "es")
        return t.es;
    if (languageId == "de")
        return t.de;
    if (languageId == "fr")
        return t.fr;
    if (languageId == "ja")
        return t.ja;
    return t.en;
}

} // namespace

const std::vector<std::string> &phraseLanguages()
{
    static const std::vector<std::string> value {"en", "es", "de", "fr", "ja"};
    return value;
}

bool hasPhrases(const std::string &languageId)
{
    const auto &languages = phraseLanguages();
    return std::find(languages.begin(), languages.end(), languageId) != languages.end();
}

std::size_t phraseCount()
{
    return kPhrases.size();
}

const std::string &phraseText(std::size_t index, const std::string &languageId)
{
    return column(languageId)[index % kPhrases.size()];
}

bool isSpaced(const std::string &text)
{
    return text.find(' ') != std::string::npos;
}

std::vector<std::string> speechPieces(const std::string &text)
{
    std::vector<std::string> pieces;
    if (isSpaced(text)) {
        std::size_t start = 0;
        while (start < text.size()) {
            const std::size_t blank = text.find(' ', start);
            const std::size_t end = blank == std::string::npos ? text.size() : blank;
            if (end > start)
                pieces.push_back(text.substr(start, end - start));
            start = end + 1;
        }
        return pieces;
    }
    // Cut by characters, not bytes, so that no piece splits a UTF-8 sequence or a surrogate pair.
    const QString whole = QString::fromStdString(text);
    qsizetype begin = 0;
    while (begin < whole.size()) {
        qsizetype end = std::min(whole.size(), begin + kUnspacedPieceLength);
        if (end < whole.size() && whole.at(end).isLowSurrogate())
            ++end;
        pieces.push_back(whole.mid(begin, end - begin).toStdString());
        begin = end;
    }
    return pieces;
}

std::string joinPieces(const std::vector<std::string> &pieces, std::size_t count, bool spaced)
{
    std::string result;
    count = std::min(count, pieces.size());
    for (std::size_t i = 0; i < count; ++i) {
        if (spaced && i > 0)
            result += ' ';
        result += pieces[i];
    }
    return result;
}
