// The panel's fixed texts in other languages: which catalogue a locale gets, that the panel shows
// it while host texts stay as sent, and that every catalogue in translations/ is complete.
#include <gtest/gtest.h>
#include <map>
#include <set>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include "common/localization.hpp"
#include "model.hpp"
#include "root_view.hpp"

namespace {

struct Catalogue {
    QString language;
    std::map<std::pair<QString, QString>, QString> translations; // (context, source) → text
    int unfinished = 0;
};

Catalogue readCatalogue(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    Catalogue catalogue;
    QXmlStreamReader xml(&file);
    QString context;
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"TS") {
            catalogue.language = xml.attributes().value(QStringLiteral("language")).toString();
        } else if (xml.name() == u"name") {
            context = xml.readElementText();
        } else if (xml.name() == u"source") {
            source = xml.readElementText();
        } else if (xml.name() == u"translation") {
            if (xml.attributes().value(QStringLiteral("type")) == u"unfinished")
                ++catalogue.unfinished;
            catalogue.translations[{context, source}] = xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << path.toStdString() << ": " << xml.errorString().toStdString();
    return catalogue;
}

QString translationsDir()
{
    return QDir(qEnvironmentVariable("TAVU_SOURCE_DIR")).filePath(QStringLiteral("translations"));
}

std::multiset<QString> placeholders(const QString &text)
{
    static const QRegularExpression placeholder(QStringLiteral("%L?\\d+"));
    std::multiset<QString> found;
    for (auto it = placeholder.globalMatch(text); it.hasNext();)
        found.insert(it.next().captured());
    return found;
}

LiveTranslationHelperSnapshot limitReached()
{
    LiveTranslationHelperSnapshot snapshot;
    snapshot.generation = 1;
    snapshot.statusMessage = "Time limit reached";
    snapshot.canRequestMoreTime = true;
    snapshot.isStartEnabled = true;
    return snapshot;
}

QString buttonText(const QWidget &view, const char *objectName)
{
    const auto *button = view.findChild<QAbstractButton *>(QLatin1String(objectName));
    EXPECT_NE(button, nullptr) << objectName;
    return button ? button->text() : QString();
}

class PanelTranslations : public ::testing::Test {
protected:
    void TearDown() override { installPanelTranslations(QLocale(QLocale::English)); }
};

} // namespace

TEST(TranslationCatalogues, EveryLanguageTranslatesEveryTextOfTheTemplateKeepingPlaceholders)
{
    const Catalogue english
        = readCatalogue(QDir(translationsDir()).filePath("Tavu_Live_Translate_Helper_en.ts"));
    ASSERT_GT(english.translations.size(), 40U);
    const QStringList files
        = QDir(translationsDir()).entryList({QStringLiteral("Tavu_Live_Translate_Helper_*.ts")});
    int languages = 0;
    for (const QString &file : files) {
        if (file.endsWith(QLatin1String("_en.ts")))
            continue;
        ++languages;
        SCOPED_TRACE(file.toStdString());
        const Catalogue catalogue = readCatalogue(QDir(translationsDir()).filePath(file));
        EXPECT_TRUE(file.endsWith(u'_' + catalogue.language + QStringLiteral(".ts")));
        EXPECT_EQ(catalogue.unfinished, 0);
        EXPECT_EQ(catalogue.translations.size(), english.translations.size());
        for (const auto &[key, text] : english.translations) {
            const auto found = catalogue.translations.find(key);
            if (found == catalogue.translations.end()) {
                ADD_FAILURE() << "missing " << key.first.toStdString() << ": "
                              << key.second.toStdString();
                continue;
            }
            EXPECT_FALSE(found->second.trimmed().isEmpty()) << key.second.toStdString();
            EXPECT_EQ(placeholders(found->second), placeholders(key.second))
                << key.second.toStdString();
        }
    }
    // Each one is built into the program.
    EXPECT_EQ(panelTranslationLanguages().size(), languages);
    EXPECT_GE(languages, 4);
}

TEST_F(PanelTranslations, TheFirstInterfaceLanguageWithACatalogueWinsAndEnglishNeedsNone)
{
    EXPECT_EQ(installPanelTranslations(QLocale(QStringLiteral("de_DE"))), QStringLiteral("de"));
    EXPECT_EQ(installPanelTranslations(QLocale(QStringLiteral("de_AT"))), QStringLiteral("de"));
    EXPECT_EQ(installPanelTranslations(QLocale(QStringLiteral("ja_JP"))), QStringLiteral("ja"));
    // Installing English removes what was there.
    EXPECT_EQ(installPanelTranslations(QLocale(QStringLiteral("en_GB"))), QString());
    EXPECT_EQ(
        QCoreApplication::translate("LiveTranslationTopBar", "Start"), QStringLiteral("Start"));
    // A language without a catalogue (Welsh) leaves the panel in English.
    EXPECT_EQ(installPanelTranslations(QLocale(QStringLiteral("cy_GB"))), QString());
    EXPECT_EQ(
        QCoreApplication::translate("LiveTranslationTopBar", "Start"), QStringLiteral("Start"));
}

TEST_F(PanelTranslations, ThePanelShowsItsOwnTextsTranslatedAndTheHostsAsSent)
{
    ASSERT_EQ(installPanelTranslations(QLocale(QStringLiteral("de_DE"))), QStringLiteral("de"));
    LiveTranslationHelperModel model;
    model.applySnapshot(limitReached());
    LiveTranslationHelperView view(&model);
    view.resize(520, 760);
    view.show();

    EXPECT_EQ(buttonText(view, "liveTranslation.startButton"), QStringLiteral("Erneut versuchen"));
    EXPECT_EQ(buttonText(view, "liveTranslation.requestMoreTimeButton"),
        QStringLiteral("Mehr Zeit anfordern"));
    const auto *start = view.findChild<QWidget *>(QStringLiteral("liveTranslation.startButton"));
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->accessibleName(), QStringLiteral("Live Translate erneut versuchen"));
    // The status is the host's text: never looked up.
    const auto *status
        = view.findChild<QWidget *>(QStringLiteral("liveTranslation.lifecycleStatus"));
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->accessibleDescription(), QStringLiteral("Time limit reached"));
}
