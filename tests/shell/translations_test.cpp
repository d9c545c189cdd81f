// The panel's fixed texts in other languages: which catalogue a locale gets, that the panel shows
// it while host texts stay as sent, and that every catalogue in translations/ is complete.
#include <gtest/gtest.h>
#include <map>
#include <set>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include "common/localization.hpp"
#include "model.hpp"
#include "root_view.hpp"

namespace {

const QString kTranslations
    = qEnvironmentVariable("TAVU_SOURCE_DIR") + QStringLiteral("/translations");

using Catalogue = std::map<std::pair<QString, QString>, QString>; // (context, source) → text

Catalogue readCatalogue(const QString &file)
{
    QFile ts(kTranslations + u'/' + file);
    EXPECT_TRUE(ts.open(QIODevice::ReadOnly)) << file.toStdString();
    Catalogue catalogue;
    QXmlStreamReader xml(&ts);
    QString context;
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"name")
            context = xml.readElementText();
        else if (xml.name() == u"source")
            source = xml.readElementText();
        else if (xml.name() == u"translation") { // an unfinished text counts as none
            const bool unfinished = xml.attributes().value(QStringLiteral("type")) == u"unfinished";
            const QString text = xml.readElementText();
            catalogue[{context, source}] = unfinished ? QString() : text;
        }
    }
    EXPECT_FALSE(xml.hasError()) << file.toStdString() << ": " << xml.errorString().toStdString();
    return catalogue;
}

std::multiset<QString> placeholders(const QString &text)
{
    static const QRegularExpression placeholder(QStringLiteral("%L?\\d+"));
    std::multiset<QString> found;
    for (auto it = placeholder.globalMatch(text); it.hasNext();)
        found.insert(it.next().captured());
    return found;
}

class PanelTranslations : public ::testing::Test {
protected:
    void TearDown() override { installPanelTranslations(QLocale(QLocale::English)); }
};

} // namespace

TEST(TranslationCatalogues, EveryLanguageIsBuiltInAndTranslatesEveryTextKeepingPlaceholders)
{
    EXPECT_EQ(panelTranslationLanguages(), QStringList({"de", "es", "fr", "ja"}));
    const Catalogue english = readCatalogue(QStringLiteral("Tavu_Live_Translate_Helper_en.ts"));
    ASSERT_GT(english.size(), 40U);
    for (const QString &file :
        QDir(kTranslations).entryList({QStringLiteral("Tavu_Live_Translate_Helper_*.ts")})) {
        if (file.endsWith(QLatin1String("_en.ts")))
            continue; // the template
        SCOPED_TRACE(file.toStdString());
        const Catalogue catalogue = readCatalogue(file);
        EXPECT_EQ(catalogue.size(), english.size());
        for (const auto &[key, text] : english) {
            const auto found = catalogue.find(key);
            ASSERT_NE(found, catalogue.end()) << key.second.toStdString();
            EXPECT_FALSE(found->second.trimmed().isEmpty()) << key.second.toStdString();
            EXPECT_EQ(placeholders(found->second), placeholders(key.second))
                << key.second.toStdString();
        }
    }
}

TEST_F(PanelTranslations, TheFirstInterfaceLanguageWithACatalogueWinsAndThePanelShowsIt)
{
    EXPECT_EQ(installPanelTranslations(QLocale(QStringLiteral("ja_JP"))), QStringLiteral("ja"));
    // Installing English removes what was there; Welsh has no catalogue: English too.
    EXPECT_EQ(installPanelTranslations(QLocale(QStringLiteral("en_GB"))), QString());
    EXPECT_EQ(QCoreApplication::translate("LiveTranslationTopBar", "Start"), u"Start");
    EXPECT_EQ(installPanelTranslations(QLocale(QStringLiteral("cy_GB"))), QString());
    ASSERT_EQ(installPanelTranslations(QLocale(QStringLiteral("de_AT"))), QStringLiteral("de"));
    LiveTranslationHelperSnapshot limitReached;
    limitReached.generation = 1;
    limitReached.statusMessage = "Time limit reached";
    limitReached.canRequestMoreTime = true;
    limitReached.isStartEnabled = true;
    LiveTranslationHelperModel model;
    model.applySnapshot(limitReached);
    LiveTranslationHelperView view(&model);
    view.resize(520, 760);
    view.show();
    const auto *start
        = view.findChild<QAbstractButton *>(QStringLiteral("liveTranslation.startButton"));
    const auto *status
        = view.findChild<QWidget *>(QStringLiteral("liveTranslation.lifecycleStatus"));
    ASSERT_TRUE(start && status);
    EXPECT_EQ(start->text(), u"Erneut versuchen");
    EXPECT_EQ(start->accessibleName(), u"Live Translate erneut versuchen");
    EXPECT_EQ(status->accessibleDescription(), u"Time limit reached"); // the host's
}
