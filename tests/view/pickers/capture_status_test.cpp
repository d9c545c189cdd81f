#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include <QAccessible>
#include <QLabel>
#include <QLayout>
#include <QProgressBar>
#include <QTest>

#include "common/symbols.hpp"
#include "pickers/capture_status.hpp"
#include "pickers/notice_text.hpp"
#include "view_test_support.hpp"

namespace {

class CaptureStatusTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        status.resize(320, 200);
        status.show();
    }

    void show(float level, std::optional<std::string> notice = {}, std::int64_t dropped = 0,
        const LiveTranslationPalette &palette = LiveTranslationPalette::light())
    {
        LiveTranslationHelperSnapshot snapshot;
        snapshot.captureAudioLevel = level;
        snapshot.captureFallbackNotice = std::move(notice);
        snapshot.droppedCaptureBuffers = dropped;
        status.render(snapshot, palette);
    }

    QProgressBar *levelBar() const
    {
        return status.findChild<QProgressBar *>(QStringLiteral("liveTranslation.audioLevel"));
    }
    QString spokenLevel() const
    {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(levelBar());
        return iface ? iface->text(QAccessible::Value) : QString();
    }

    // The visible rows below the bar, top to bottom, by identifier.
    std::vector<std::string> rows() const
    {
        std::vector<std::string> result;
        for (QWidget *row : viewtest::visibleNamed(&status, QStringLiteral("liveTranslation.")))
            if (row != &status && row != levelBar())
                result.push_back(row->objectName().toStdString());
        return result;
    }

    LiveTranslationCaptureStatus status;
};

TEST_F(CaptureStatusTest, LevelBarAndItsSpokenPercentage)
{
    ASSERT_NE(levelBar(), nullptr);
    EXPECT_EQ(levelBar()->accessibleName(), QStringLiteral("Audio level"));
    struct Case {
        float level;
        int bar;
        const char *spoken;
    };
    constexpr float inf = std::numeric_limits<float>::infinity();
    const int full = LiveTranslationCaptureStatus::kBarSteps;
    for (const Case &c : {Case {0.0F, 0, "0 percent"}, Case {0.537F, 537, "53 percent"},
             Case {0.999F, 999, "99 percent"}, Case {1.0F, full, "100 percent"},
             Case {1.5F, full, "150 percent"}, Case {-0.25F, 0, "-25 percent"},
             Case {std::nanf(""), 0, "0 percent"}, Case {inf, full, "9223372036854775807 percent"},
             Case {-inf, 0, "-9223372036854775808 percent"},
             Case {1e30F, full, "9223372036854775807 percent"}}) {
        show(c.level);
        EXPECT_EQ(levelBar()->value(), c.bar) << c.level;
        EXPECT_EQ(spokenLevel(), QString::fromLatin1(c.spoken)) << c.level;
    }
}

TEST_F(CaptureStatusTest, NoticeAndDroppedBuffersRowsAboveThePrivacyRow)
{
    show(0.1F);
    EXPECT_EQ(rows(), std::vector<std::string> {"liveTranslation.privacyNotice"});

    show(0.1F, std::string("Capturing all audio: <b>App</b> stopped"), 1);
    EXPECT_EQ(rows(),
        (std::vector<std::string> {"liveTranslation.captureFallbackNotice",
            "liveTranslation.droppedBuffersNotice", "liveTranslation.privacyNotice"}));
    auto *notice = viewtest::findNamed(&status, "liveTranslation.captureFallbackNotice")
                       ->findChild<QLabel *>();
    EXPECT_EQ(notice->text(), QStringLiteral("Capturing all audio: <b>App</b> stopped"));
    EXPECT_EQ(notice->textFormat(), Qt::PlainText);
    EXPECT_EQ(
        notice->palette().color(QPalette::WindowText), LiveTranslationPalette::light().warning);

    // An empty notice is a notice: its row shows the symbol alone.
    show(0.1F, std::string(), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(rows().size(), 3U);
    EXPECT_TRUE(status.showsFallbackNotice());
    EXPECT_FALSE(notice->isVisible());
    QWidget *fallback = viewtest::findNamed(&status, "liveTranslation.captureFallbackNotice");
    status.layout()->activate();
    EXPECT_EQ(fallback->findChild<LiveTranslationSymbol *>()->x(), 0);

    for (std::int64_t dropped :
        {std::int64_t(0), std::int64_t(-1), std::numeric_limits<std::int64_t>::min()}) {
        show(0.1F, {}, dropped);
        EXPECT_EQ(rows(), std::vector<std::string> {"liveTranslation.privacyNotice"}) << dropped;
    }
    auto *privacy
        = viewtest::findNamed(&status, "liveTranslation.privacyNotice")->findChild<QLabel *>();
    EXPECT_EQ(privacy->text(), QStringLiteral("System audio only. Your microphone is never used."));
    show(0.1F, {}, 0, LiveTranslationPalette::dark());
    EXPECT_EQ(privacy->palette().color(QPalette::WindowText),
        LiveTranslationPalette::dark().tertiaryText);
}

TEST_F(CaptureStatusTest, ALongNoticeShowsTheLinesThatFitAndIsWholeInItsHelp)
{
    const QString sentence = QStringLiteral("The player stopped; capturing all audio instead. ");
    QString whole;
    for (int i = 0; i < 14; ++i)
        whole += sentence;
    show(0.1F, whole.toStdString());
    status.layout()->activate();
    auto *notice = status.findChild<LiveTranslationNoticeText *>();
    const QStringList lines = notice->shownLines();
    EXPECT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines.last().endsWith(QChar(0x2026))) << lines.last().toStdString();
    EXPECT_TRUE(lines.first().startsWith(QStringLiteral("The player stopped;")));
    EXPECT_EQ(notice->accessibleDescription(), whole);
    EXPECT_TRUE(notice->toolTip().contains(QStringLiteral("capturing all audio instead. The")));
    // Every line drawn lies inside the row, whole.
    EXPECT_LE(notice->heightForWidth(notice->width()), notice->height());

    // One unbroken run of any length is laid out only as far as it shows.
    show(0.1F, std::string(2'000'000, 'x'));
    EXPECT_EQ(notice->shownLines().size(), 4);
    EXPECT_EQ(notice->accessibleDescription().size(), 4097);

    show(0.1F, std::string("Short notice"));
    EXPECT_EQ(notice->shownLines(), QStringList {QStringLiteral("Short notice")});
    EXPECT_EQ(notice->accessibleDescription(), QString());
    EXPECT_EQ(notice->toolTip(), QString());
}

} // namespace
