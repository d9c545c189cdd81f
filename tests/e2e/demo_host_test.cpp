// The demo host's own logic: the session it plays, the caption stream, the record format and the
// application catalogue.
#include <functional>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "caption_stream.hpp"
#include "demo_catalog.hpp"
#include "demo_phrases.hpp"
#include "demo_record.hpp"
#include "demo_session.hpp"

namespace {

using Lifecycle = LiveTranslationHelperLifecycle;
using Command = LiveTranslationHelperCommand;

constexpr double kWallStart = 700000000; // 2023-03-08 in seconds since 2001

class SessionTest : public ::testing::Test {
protected:
    void make(DemoScenario scenario)
    {
        DemoSessionSettings settings;
        settings.scenario = scenario;
        settings.sourceLanguage = "es";
        settings.maxCards = 5;
        settings.audioSources = demoAudioSources({{"org.example.Player", "Player", 0}});
        m_session = std::make_unique<DemoHostSession>(
            settings, 0.0, [this] { return kWallStart + m_now; });
    }
    // Runs the session in steps of one tick at 20 snapshots a second, taking every snapshot.
    void run(double seconds)
    {
        for (double end = m_now + seconds; m_now < end; m_now += 0.05) {
            m_session->advance(m_now);
            if (m_session->hasChanges())
                m_snapshots.push_back(m_session->takeSnapshot());
        }
    }
    void runUntil(
        const std::function<bool(const LiveTranslationHelperSnapshot &)> &done, double limit = 120)
    {
        const double end = m_now + limit;
        while (!done(m_session->state()) && m_now < end)
            run(0.05);
        ASSERT_TRUE(done(m_session->state())) << "still " << m_session->state().statusMessage;
    }
    std::string send(const Command &command) { return m_session->handleCommand(command, m_now); }
    const LiveTranslationHelperSnapshot &state() const { return m_session->state(); }

    std::unique_ptr<DemoHostSession> m_session;
    std::vector<LiveTranslationHelperSnapshot> m_snapshots;
    double m_now = 0;
};

bool isPhraseIn(const std::string &text, const std::string &language)
{
    for (std::size_t i = 0; i < phraseCount(); ++i) {
        if (phraseText(i, language) == text)
            return true;
    }
    return false;
}

bool isListening(const LiveTranslationHelperSnapshot &s)
{
    return s.lifecycle == Lifecycle::listening;
}

TEST_F(SessionTest, StartsUpThenGoesThroughASessionWithGrowingGenerations)
{
    make(DemoScenario::normal);
    EXPECT_EQ(state().statusMessage, "Connecting to Tavu");
    EXPECT_FALSE(state().isStartEnabled);
    EXPECT_EQ(state().sourceLanguages.front().id, "multi");
    EXPECT_GE(state().sourceLanguages.size(), 40U);
    EXPECT_EQ(state().audioSources.front().id, "mac-audio");
    EXPECT_EQ(state().audioSources.at(1).id, "bundle:org.example.Player");

    run(1);
    EXPECT_TRUE(state().isStartEnabled);
    EXPECT_EQ(send(Command::start()), "starting a session");
    EXPECT_EQ(state().lifecycle, Lifecycle::preparing);
    EXPECT_TRUE(state().isSessionActive);
    std::vector<Lifecycle> seen;
    runUntil([](const auto &s) { return s.committedCards.size() == 2; });
    for (const auto &snapshot : m_snapshots) {
        if (seen.empty() || seen.back() != snapshot.lifecycle)
            seen.push_back(snapshot.lifecycle);
    }
    EXPECT_EQ(seen,
        (std::vector {Lifecycle::inactive, Lifecycle::preparing, Lifecycle::connecting,
            Lifecycle::listening}));
    for (std::size_t i = 1; i < m_snapshots.size(); ++i)
        ASSERT_GT(m_snapshots[i].generation, m_snapshots[i - 1].generation);

    // The first phrase arrived piece by piece, the translation behind it, then as a card.
    std::vector<std::string> sources;
    for (const auto &snapshot : m_snapshots) {
        if (snapshot.activeSourceText
            && (sources.empty() || sources.back() != *snapshot.activeSourceText))
            sources.push_back(*snapshot.activeSourceText);
        if (!snapshot.committedCards.empty())
            break;
    }
    ASSERT_GE(sources.size(), 4U);
    for (std::size_t i = 1; i < sources.size(); ++i)
        EXPECT_EQ(sources[i].rfind(sources[i - 1], 0), 0U) << sources[i];
    const auto &card = state().committedCards.front();
    EXPECT_EQ(card.sourceText, phraseText(0, "es"));
    EXPECT_EQ(card.translatedText, phraseText(0, "en"));
    EXPECT_GT(card.committedAt, kWallStart);
    EXPECT_LT(card.committedAt, kWallStart + m_now + 0.01);
    EXPECT_NE(state().committedCards[0].id, state().committedCards[1].id);
}

TEST_F(SessionTest, StopKeepsTheHeardPhraseAndCancelDropsIt)
{
    make(DemoScenario::normal);
    run(1);
    send(Command::start());
    runUntil([](const auto &s) { return s.activeTranslatedText.has_value(); });
    const std::string heard = *state().activeTranslatedText;
    send(Command::stop());
    EXPECT_EQ(state().lifecycle, Lifecycle::stopping);
    EXPECT_EQ(send(Command::stop()), "ignored: no session to stop");
    runUntil([](const auto &s) { return !s.isSessionActive; });
    ASSERT_EQ(state().committedCards.size(), 1U);
    EXPECT_EQ(state().committedCards[0].translatedText, heard);
    EXPECT_FALSE(state().activeSourceText);
    EXPECT_EQ(state().captureAudioLevel, 0.0F);

    send(Command::start());
    runUntil([](const auto &s) { return s.activeTranslatedText.has_value(); });
    send(Command::cancel());
    EXPECT_FALSE(state().isSessionActive);
    EXPECT_EQ(state().lifecycle, Lifecycle::inactive);
    EXPECT_FALSE(state().activeSourceText);
    EXPECT_FALSE(state().activeTranslatedText);
    run(3);
    EXPECT_EQ(state().committedCards.size(), 1U);
}

TEST_F(SessionTest, LanguageChoicesRestartARunningSessionWithTheNewPair)
{
    make(DemoScenario::normal);
    run(1);
    EXPECT_EQ(send(Command::setSourceLanguage("xx")), "ignored: no language \"xx\"");
    EXPECT_TRUE(m_session->hasChanges()); // the helper still hears back
    send(Command::setSourceLanguage("de"));
    EXPECT_EQ(state().sourceLanguage, "de");
    EXPECT_FALSE(state().isSessionActive);
    send(Command::start());
    runUntil(isListening);
    send(Command::setTargetLanguage("ja"));
    EXPECT_EQ(state().lifecycle, Lifecycle::stopping);
    EXPECT_TRUE(state().isSessionActive);
    runUntil(isListening);
    runUntil([](const auto &s) { return !s.committedCards.empty(); });
    EXPECT_TRUE(isPhraseIn(state().committedCards[0].sourceText, "de"));
    EXPECT_TRUE(isPhraseIn(state().committedCards[0].translatedText, "ja"));

    send(Command::swapLanguages());
    EXPECT_EQ(state().sourceLanguage, "ja");
    EXPECT_EQ(state().targetLanguage, "de");
    send(Command::setSourceLanguage("multi"));
    runUntil(isListening);
    EXPECT_EQ(
        send(Command::swapLanguages()), "ignored: cannot swap while the language is detected");
    EXPECT_EQ(state().sourceLanguage, "multi");
}

TEST(CaptionStreamTest, PiecesJoinBackAndALongStallLosesNoPhrase)
{
    for (const std::string &language : phraseLanguages()) {
        for (std::size_t i = 0; i < phraseCount(); ++i) {
            const std::string &text = phraseText(i, language);
            const auto pieces = speechPieces(text);
            EXPECT_GT(pieces.size(), 2U) << text;
            EXPECT_EQ(joinPieces(pieces, pieces.size(), isSpaced(text)), text);
            for (const auto &piece : pieces)
                EXPECT_TRUE(QString::fromStdString(piece).toStdString() == piece) << piece;
        }
    }
    EXPECT_TRUE(hasPhrases("ja"));
    EXPECT_FALSE(hasPhrases("pt"));
    CaptionStream stream(7, 1.0);
    stream.setLanguages("multi", "en");
    const auto finished = stream.advance(200);
    ASSERT_GT(finished.size(), 20U);
    for (std::size_t i = 0; i < finished.size(); ++i)
        EXPECT_EQ(finished[i].translatedText, phraseText(i, "en"));
    EXPECT_NE(finished[0].sourceText, finished[1].sourceText);
}

TEST(RecordTest, EntriesRoundTripAndReplayTakesPlainLines)
{
    const RecordEntry text {1.5, "host", R"({"type":"show","x":"é\n"})"};
    const RecordEntry bytes {2.25, "helper", QByteArray("{\"a\":\"\xff\xfe\"}")};
    EXPECT_TRUE(encodeRecordEntry(text).startsWith(R"({"t":1.500000,"from":"host","line":)"));
    EXPECT_EQ(decodeRecordEntry(encodeRecordEntry(text)), text);
    EXPECT_TRUE(encodeRecordEntry(bytes).contains("line_base64"));
    EXPECT_EQ(decodeRecordEntry(encodeRecordEntry(bytes)), bytes);
    EXPECT_FALSE(decodeRecordEntry(R"({"type":"show"})"));

    QTemporaryDir dir;
    QFile file(dir.filePath("stream.jsonl"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(encodeRecordEntry(text) + "\n" + encodeRecordEntry(bytes) + "\n\n"
        + R"({"type":"hide"})" + "\nnot json\n");
    file.close();
    QString error;
    const auto entries = readReplay(file.fileName(), 0.5, &error);
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 3U); // the helper's line is not played
    EXPECT_EQ((*entries)[0], text);
    EXPECT_EQ((*entries)[1].line, R"({"type":"hide"})");
    EXPECT_EQ((*entries)[2].line, "not json");
    EXPECT_EQ((*entries)[2].time, 0.5);
    EXPECT_FALSE(readReplay(dir.filePath("missing"), 0.5, &error));
}

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

TEST(CatalogTest, FindsShownApplicationsWithIconsEarlierDirectoriesFirst)
{
    QTemporaryDir home, system;
    const QByteArray entry = "[Desktop Entry]\nType=Application\nIcon=x\nName=";
    writeFile(home.filePath("applications/org.example.Hidden.desktop"),
        entry + "Hidden\nNoDisplay=true\n");
    writeFile(system.filePath("applications/org.example.Hidden.desktop"), entry + "Shown\n");
    writeFile(system.filePath("applications/kde/player.desktop"),
        entry + "Player\nCategories=AudioVideo;Player;\n[Desktop Action x]\nName=No\n");
    writeFile(system.filePath("applications/editor.desktop"), entry + "Editor\n");
    writeFile(system.filePath("applications/term.desktop"), entry + "Term\nTerminal=true\n");
    writeFile(system.filePath("applications/noicon.desktop"),
        "[Desktop Entry]\nType=Application\nName=No icon\n");
    writeFile(system.filePath("applications/link.desktop"),
        "[Desktop Entry]\nType=Link\nIcon=x\nName=Link\n");

    const auto found = findDesktopApplications({home.path(), system.path()}, 10);
    ASSERT_EQ(found.size(), 2U);
    EXPECT_EQ(found[0], (DesktopApplication {"kde-player", "Player", 0}));
    EXPECT_EQ(found[1].desktopId, "editor");
    EXPECT_EQ(findDesktopApplications({home.path(), system.path()}, 1).size(), 1U);

    const auto sources = demoAudioSources(found);
    EXPECT_EQ(sources[0].id, "mac-audio");
    EXPECT_EQ(sources[1].id, "bundle:kde-player");
    EXPECT_EQ(sources.size(), 4U); // filled up with applications that are not installed
    EXPECT_EQ(demoAudioSources({}).size(), 4U);
}

} // namespace
