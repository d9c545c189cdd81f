#include "demo_catalog.hpp"

#include <algorithm>
#include <array>
#include <utility>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSet>
#include <QTextStream>

namespace {

struct Language {
    const char *id;
    const char *name;
};

constexpr std::array kLanguages {
    Language {"ar", "Arabic"},
    Language {"bg", "Bulgarian"},
    Language {"ca", "Catalan"},
    Language {"zh", "Chinese (Simplified)"},
    Language {"zh-hant", "Chinese (Traditional)"},
    Language {"hr", "Croatian"},
    Language {"cs", "Czech"},
    Language {"da", "Danish"},
    Language {"nl", "Dutch"},
    Language {"en", "English"},
    Language {"et", "Estonian"},
    Language {"fi", "Finnish"},
    Language {"fr", "French"},
    Language {"de", "German"},
    Language {"el", "Greek"},
    Language {"he", "Hebrew"},
    Language {"hi", "Hindi"},
    Language {"hu", "Hungarian"},
    Language {"id", "Indonesian"},
    Language {"it", "Italian"},
    Language {"ja", "Japanese"},
    Language {"ko", "Korean"},
    Language {"lv", "Latvian"},
    Language {"lt", "Lithuanian"},
    Language {"ms", "Malay"},
    Language {"nb", "Norwegian Bokmål"},
    Language {"pl", "Polish"},
    Language {"pt", "Portuguese"},
    Language {"pt-br", "Portuguese (Brazil)"},
    Language {"ro", "Romanian"},
    Language {"ru", "Russian"},
    Language {"sk", "Slovak"},
    Language {"sl", "Slovenian"},
    Language {"es", "Spanish"},
    Language {"sv", "Swedish"},
    Language {"th", "Thai"},
    Language {"tr", "Turkish"},
    Language {"uk", "Ukrainian"},
    Language {"vi", "Vietnamese"},
};

constexpr const char *kDetectLanguageName = "Detect automatically";

// Applications offered when the machine has too few desktop entries: their ids resolve to nothing,
// so the picker shows its generic symbol for them.
constexpr std::array<std::pair<const char *, const char *>, 3> kStandInApplications {{
    {"com.example.MeetingRoom", "Meeting Room"},
    {"org.example.Podcasts", "Podcasts"},
    {"net.example.VideoPlayer", "Video Player"},
}};
constexpr std::size_t kMinimumApplications = 3;

// Categories of the desktop entry specification, by how likely such an application plays speech.
int rankOfCategories(const QStringList &categories)
{
    static const QSet<QString> media {"AudioVideo", "Audio", "Video", "Player", "Music", "TV"};
    static const QSet<QString> talk {
        "Network", "WebBrowser", "Chat", "InstantMessaging", "VideoConference", "Telephony"};
    static const QSet<QString> play {"Game", "Education"};
    int rank = 3;
    for (const QString &category : categories) {
        if (media.contains(category))
            rank = std::min(rank, 0);
        else if (talk.contains(category))
            rank = std::min(rank, 1);
        else if (play.contains(category))
            rank = std::min(rank, 2);
    }
    return rank;
}

} // namespace

std::vector<LiveTranslationHelperLanguageOption> demoSourceLanguages()
{
    std::vector<LiveTranslationHelperLanguageOption> result {
        {kDetectLanguageId, kDetectLanguageName}};
    for (const Language &language : kLanguages)
        result.push_back({language.id, language.name});
    return result;
}

std::vector<LiveTranslationHelperLanguageOption> demoTargetLanguages()
{
    std::vector<LiveTranslationHelperLanguageOption> result;
    for (const Language &language : kLanguages)
        result.push_back({language.id, language.name});
    return result;
}

bool isDetectedLanguage(const std::string &id)
{
    return id == kDetectLanguageId || id == "auto";
}

std::string languageName(const std::string &id)
{
    if (id == kDetectLanguageId)
        return kDetectLanguageName;
    for (const Language &language : kLanguages) {
        if (id == language.id)
            return language.name;
    }
    return id;
}

std::optional<DesktopApplication> readDesktopEntry(const QString &path, const QString &desktopId)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    QTextStream in(&file);
    bool inMainGroup = false;
    QString type, name, icon;
    QStringList categories;
    bool hidden = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            if (inMainGroup)
                break; // only the first group matters
            inMainGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!inMainGroup)
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (key == QLatin1String("Type"))
            type = value;
        else if (key == QLatin1String("Name"))
            name = value;
        else if (key == QLatin1String("Icon"))
            icon = value;
        else if (key == QLatin1String("Categories"))
            categories = value.split(QLatin1Char(';'), Qt::SkipEmptyParts);
        else if ((key == QLatin1String("NoDisplay") || key == QLatin1String("Hidden")
                     || key == QLatin1String("Terminal"))
            && value == QLatin1String("true"))
            hidden = true;
    }
    if (hidden || type != QLatin1String("Application") || name.isEmpty() || icon.isEmpty())
        return std::nullopt;
    return DesktopApplication {
        desktopId.toStdString(), name.toStdString(), rankOfCategories(categories)};
}

std::vector<DesktopApplication> findDesktopApplications(
    const QStringList &dataDirs, std::size_t limit)
{
    std::vector<DesktopApplication> found;
    QSet<QString>
        seenIds; // an id found in an earlier directory hides the later ones, hidden or not
    for (const QString &dataDir : dataDirs) {
        const QDir applications(QDir(dataDir).filePath(QStringLiteral("applications")));
        if (!applications.exists())
            continue;
        QStringList paths;
        QDirIterator it(applications.path(), {QStringLiteral("*.desktop")}, QDir::Files,
            QDirIterator::Subdirectories);
        while (it.hasNext())
            paths.push_back(it.next());
        paths.sort();
        for (const QString &path : std::as_const(paths)) {
            QString id = applications.relativeFilePath(path);
            id.chop(int(sizeof(".desktop") - 1));
            id.replace(QLatin1Char('/'), QLatin1Char('-'));
            if (seenIds.contains(id))
                continue;
            seenIds.insert(id);
            if (auto application = readDesktopEntry(path, id))
                found.push_back(std::move(*application));
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const auto &a, const auto &b) {
        return a.rank != b.rank ? a.rank < b.rank : a.name < b.name;
    });
    if (found.size() > limit)
        found.resize(limit);
    return found;
}

QStringList xdgDataDirs()
{
    QStringList dirs;
    const QString home = qEnvironmentVariable("XDG_DATA_HOME");
    dirs.push_back(home.isEmpty() ? QDir::homePath() + QStringLiteral("/.local/share") : home);
    QString system = qEnvironmentVariable("XDG_DATA_DIRS");
    if (system.isEmpty())
        system = QStringLiteral("/usr/local/share:/usr/share");
    dirs.append(system.split(QLatin1Char(':'), Qt::SkipEmptyParts));
    return dirs;
}

std::vector<LiveTranslationHelperAudioOption> demoAudioSources(
    const std::vector<DesktopApplication> &applications)
{
    std::vector<LiveTranslationHelperAudioOption> sources {{kAllAudioSourceId, "All system audio"}};
    for (const DesktopApplication &application : applications)
        sources.push_back({kApplicationSourcePrefix + application.desktopId, application.name});
    for (const auto &[id, name] : kStandInApplications) {
        if (sources.size() > kMinimumApplications)
            break;
        sources.push_back({std::string(kApplicationSourcePrefix) + id, name});
    }
    return sources;
}
