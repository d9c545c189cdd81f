#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include <QAccessible>
#include <QLabel>
#include <QLayout>
#include <QProgressBar>

#include "common/symbols.hpp"
#include "pickers/capture_status.hpp"
#include "pickers/notice_text.hpp"
#include "view_test_support.hpp"

namespace {

using Strings = std::vector<std::string>;

struct CaptureStatusTest : ::testing::Test {
    void show(std::optional<std::string> notice, std::int64_t dropped = 0, float level = 0.1F,
        const LiveTranslationPalette &palette = LiveTranslationPalette::light())
    {
        LiveTranslationHelperSnapshot snapshot;
        snapshot.captureAudioLevel = level;
        snapshot.captureFallbackNotice = std::move(notice);
        snapshot.droppedCaptureBuffers = dropped;
        status.resize(320, 200);
        status.render(snapshot, palette);
        status.show();
        status.layout()->activate();
    }
    Strings rows() const
    {
        Strings result;
        for (QWidget *row : viewtest::visibleNamed(&status, QStringLiteral("liveTranslation.")))
            if (row != &status && row != bar)
                result.push_back(row->objectName().section(QLatin1Char('.'), 1).toStdString());
        return result;
    }
    QWidget *row(const char *name) const
    {
        return viewtest::findNamed(&status, QStringLiteral("liveTranslation.") + name);
    }

    LiveTranslationCaptureStatus status;
    QProgressBar *bar = status.findChild<QProgressBar *>();
    LiveTranslationNoticeText *notice = status.findChild<LiveTranslationNoticeText *>();
};

// How the percentage is rounded is the view logic's; here: the bar, and that it is spoken.
TEST_F(CaptureStatusTest, LevelBarAndItsSpokenPercentage)
{
    EXPECT_EQ(bar->accessibleName(), QStringLiteral("Audio level"));
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<std::tuple<float, int, const char *>> cases {{0.0F, 0, "0 percent"},
        {0.5376F, 538, "53 percent"}, {0.999F, 999, "99 percent"}, {1.0F, 1000, "100 percent"},
        {-0.25F, 0, "-25 percent"}, {std::nanf(""), 0, "0 percent"},
        {inf, 1000, "9223372036854775807 percent"}};
    for (const auto &[level, value, spoken] : cases) {
        show({}, 0, level);
        EXPECT_EQ(bar->value(), value) << level;
        EXPECT_EQ(QAccessible::queryAccessibleInterface(bar)->text(QAccessible::Value),
            QString::fromLatin1(spoken))
            << level;
    }
}

TEST_F(CaptureStatusTest, NoticeAndDroppedBuffersRowsAboveThePrivacyRow)
{
    show({}, 0, 0.1F, LiveTranslationPalette::dark());
    EXPECT_EQ(rows(), Strings {"privacyNotice"});
    auto *privacy = row("privacyNotice")->findChild<QLabel *>();
    EXPECT_EQ(privacy->text(), QStringLiteral("System audio only. Your microphone is never used."));
    EXPECT_EQ(privacy->palette().color(QPalette::WindowText),
        LiveTranslationPalette::dark().tertiaryText);

    show(std::string("Capturing all audio: <b>App</b> stopped"), 1);
    EXPECT_EQ(rows(), (Strings {"captureFallbackNotice", "droppedBuffersNotice", "privacyNotice"}));
    EXPECT_EQ(notice->text(), QStringLiteral("Capturing all audio: <b>App</b> stopped"));
    EXPECT_EQ(notice->textFormat(), Qt::PlainText);
    EXPECT_EQ(
        notice->palette().color(QPalette::WindowText), LiveTranslationPalette::light().warning);
    // An empty notice is a notice: its row shows the symbol alone.
    show(std::string(), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(rows().size(), 3U);
    EXPECT_TRUE(status.showsFallbackNotice());
    EXPECT_FALSE(notice->isVisible());
    EXPECT_EQ(row("captureFallbackNotice")->findChild<LiveTranslationSymbol *>()->x(), 0);
    show({}, std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(rows(), Strings {"privacyNotice"});
}

TEST_F(CaptureStatusTest, ALongNoticeShowsTheLinesThatFitAndIsWholeInItsHelp)
{
    QString whole;
    for (int i = 0; i < 14; ++i)
        whole += QStringLiteral("The player stopped; capturing all audio instead. ");
    show(whole.toStdString());
    const QStringList lines = notice->shownLines();
    EXPECT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines.last().endsWith(QChar(0x2026))) << lines.last().toStdString();
    EXPECT_EQ(notice->accessibleDescription(), whole);
    EXPECT_TRUE(notice->toolTip().contains(QStringLiteral("capturing all audio instead. The")));
    show(std::string("Short notice"));
    EXPECT_EQ(notice->shownLines(), QStringList {QStringLiteral("Short notice")});
    EXPECT_EQ(notice->accessibleDescription(), QString());
    EXPECT_EQ(notice->toolTip(), QString());
}

} // namespace
