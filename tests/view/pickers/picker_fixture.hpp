#pragma once

// The panel's view, 720 × 420, on a recording model, with its language and audio pickers.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QLineEdit>
#include <QTest>

#include "pickers/audio_picker.hpp"
#include "pickers/language_column.hpp"
#include "pickers/language_picker.hpp"
#include "pickers/lazy_list.hpp"
#include "pickers/picker_rows.hpp"
#include "pickers/popover.hpp"
#include "root_view.hpp"
#include "view_test_support.hpp"

namespace viewtest {

using Strings = std::vector<std::string>;

inline const QString kFrom = QStringLiteral("liveTranslation.sourceLanguagePicker.option.");
inline const QString kTo = QStringLiteral("liveTranslation.targetLanguagePicker.option.");
inline const QString kAudio = QStringLiteral("liveTranslation.audioSourcePicker.option.");

class Pickers : public ::testing::Test {
protected:
    void SetUp() override
    {
        view.resize(720, 420);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    void apply(LiveTranslationHelperSnapshot snapshot)
    {
        snapshot.generation = ++generation;
        recorder.model.applySnapshot(std::move(snapshot));
        QApplication::processEvents(); // lays the header out for its new texts
    }
    // Applies the snapshot and opens a picker by a press on its button.
    void open(LiveTranslationPopover *popover, const LiveTranslationHelperSnapshot &snapshot)
    {
        apply(snapshot);
        click(popover == languages ? view.languagePairButton() : view.audioSourceButton());
        ASSERT_TRUE(waitUntilActive(popover));
    }

    LiveTranslationPickerRow *row(const QString &name) const
    {
        return qobject_cast<LiveTranslationPickerRow *>(findNamed(&view, name));
    }
    static QWidget *focused() { return QApplication::focusWidget(); }
    // The ids shown in a list, top to bottom, with a * on the marked ones.
    Strings shown(const QString &prefix) const
    {
        Strings result;
        for (QWidget *widget : visibleNamed(&view, prefix)) {
            auto *r = qobject_cast<LiveTranslationPickerRow *>(widget);
            result.push_back(r->id().toStdString() + (r->isSelected() ? "*" : ""));
        }
        return result;
    }

    RecordingModel recorder;
    std::uint64_t generation = 0;
    LiveTranslationHelperView view {&recorder.model};
    LiveTranslationPopover *languages
        = view.findChild<LiveTranslationPopover *>("liveTranslation.languagePopover");
    LiveTranslationPopover *audio
        = view.findChild<LiveTranslationPopover *>("liveTranslation.audioSourcePopover");
    LiveTranslationLanguagePicker *languagePicker
        = languages->findChild<LiveTranslationLanguagePicker *>();
    LiveTranslationAudioPicker *audioPicker = audio->findChild<LiveTranslationAudioPicker *>();
};

} // namespace viewtest
