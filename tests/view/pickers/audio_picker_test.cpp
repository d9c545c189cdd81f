#include <QLabel>

#include "face_panel_fixture.hpp"

using namespace viewtest;

namespace {

using IconKind = LiveTranslationAudioRow::IconKind;

LiveTranslationHelperSnapshot sources(
    std::vector<LiveTranslationHelperAudioOption> options, std::string selected = "none")
{
    LiveTranslationHelperSnapshot snapshot;
    snapshot.audioSources = std::move(options);
    snapshot.selectedAudioSourceID = std::move(selected);
    return snapshot;
}

class AudioPicker : public Pickers {
protected:
    LiveTranslationAudioRow *audioRow(const std::string &id) const
    {
        return qobject_cast<LiveTranslationAudioRow *>(row(kAudio + QString::fromStdString(id)));
    }
    // The visible "APPLICATIONS" headers, as the id of the row right under each.
    Strings headers() const
    {
        Strings result;
        for (QLabel *label : audioPicker->findChildren<QLabel *>())
            if (label->text() == QStringLiteral("APPLICATIONS") && label->isVisible()) {
                auto *r = label->parentWidget()->findChild<LiveTranslationAudioRow *>();
                result.push_back(r->id().toStdString());
                EXPECT_LT(label->mapTo(view, QPoint()).y(), r->mapTo(view, QPoint()).y());
            }
        return result;
    }
};

TEST_P(AudioPicker, EverythingReadsAllMacAudioWhateverItsNameAndMarksFollowIdsExactly)
{
    open(audio,
        sources({{"mac-audio", "System"}, {"bundle:x", "X"}, {"mac-audio", "M"}}, "mac-audio"));
    LiveTranslationAudioRow *everything = audioRow("mac-audio");
    EXPECT_EQ(everything->accessibleName(), QStringLiteral("All Mac audio"));
    EXPECT_EQ(everything->subtitle(), QStringLiteral("Everything playing on this Mac"));
    EXPECT_EQ(audioRow("bundle:x")->accessibleName(), QStringLiteral("X"));
    EXPECT_EQ(audioRow("bundle:x")->subtitle(), QString());
    EXPECT_EQ(shown(kAudio), (Strings {"mac-audio*", "bundle:x", "mac-audio*"}));
    apply(sources({{"mac-audio", "M"}, {"bundle:x", "X"}}, "MAC-AUDIO"));
    EXPECT_EQ(shown(kAudio), (Strings {"mac-audio", "bundle:x"}));
    apply(sources({{"mac-audio", "M"}, {"bundle:x", "X"}}, "bundle:x"));
    const auto state = QAccessible::queryAccessibleInterface(audioRow("bundle:x"))->state();
    EXPECT_TRUE(state.selectable); // for assistive technology
    EXPECT_TRUE(state.selected);
}

TEST_P(AudioPicker, ApplicationsHeaderSitsAboveTheSecondEntryOnlyAndIsNoItem)
{
    open(audio, sources({{"mac-audio", "A"}}));
    EXPECT_TRUE(headers().empty());
    apply(sources({{"bundle:a", "A"}, {"bundle:b", "B"}, {"c", "C"}}));
    EXPECT_EQ(headers(), Strings {"bundle:b"});
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(audioPicker->list());
    EXPECT_EQ(list->childCount(), 3);
    EXPECT_EQ(list->child(1), QAccessible::queryAccessibleInterface(audioRow("bundle:b")));
    EXPECT_EQ(list->indexOfChild(list->child(1)), 1);
    apply(sources({{"x", "X"}, {"mac-audio", "M"}}));
    EXPECT_EQ(headers(), Strings {"mac-audio"});
    apply(sources({}));
    EXPECT_TRUE(headers().empty());
    EXPECT_EQ(audioPicker->list()->count(), 0);
}

TEST_P(AudioPicker, ChoosingByKeyboardOrMouseSendsOneCommandAndClosesEvenForTheChosen)
{
    open(audio, sources({{"mac-audio", "M"}, {"bundle:a", "A"}, {"bundle:b", "B"}}, "bundle:a"));
    EXPECT_EQ(focused(), audioRow("bundle:a")); // opening puts the focus on the chosen source
    pressKey(Qt::Key_Down);
    pressKey(Qt::Key_Return);
    EXPECT_FALSE(audio->isVisible());
    click(view->audioSourceButton());
    click(audioRow("bundle:a"));
    EXPECT_FALSE(audio->isVisible());
    EXPECT_EQ(
        recorder.sent(), (Strings {"set_audio_source:bundle:b", "set_audio_source:bundle:a"}));
}

TEST_P(AudioPicker, IconsComeFromInstalledApplications)
{
    const std::string installed = testdesktop::kInstalledApp.toStdString();
    const std::string missing = testdesktop::kMissingApp.toStdString();
    open(audio, sources({{"mac-audio", "M"}, {installed, "Installed"}, {missing, "Missing"}}));
    EXPECT_EQ(audioRow("mac-audio")->iconKind(), IconKind::everything);
    EXPECT_EQ(audioRow(installed)->iconKind(), IconKind::application);
    EXPECT_EQ(audioRow(missing)->iconKind(), IconKind::generic);
}

INSTANTIATE_TEST_SUITE_P(Light, AudioPicker, ::testing::Values(LiveTranslationColorScheme::light));

} // namespace
