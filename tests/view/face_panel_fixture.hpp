#pragma once

// The panel's view in a 520 × 760 window on a recording model, in the test's colour scheme.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTest>

#include "face/limit_card.hpp"
#include "face/status_dot.hpp"
#include "pickers/audio_picker.hpp"
#include "pickers/language_column.hpp"
#include "pickers/language_picker.hpp"
#include "pickers/lazy_list.hpp"
#include "pickers/picker_rows.hpp"
#include "pickers/popover.hpp"
#include "root_view.hpp"
#include "view_test_support.hpp"

namespace viewtest {

using Lifecycle = LiveTranslationHelperLifecycle;
using Strings = std::vector<std::string>;

inline const QString kFrom = QStringLiteral("liveTranslation.sourceLanguagePicker.option.");
inline const QString kTo = QStringLiteral("liveTranslation.targetLanguagePicker.option.");
inline const QString kAudio = QStringLiteral("liveTranslation.audioSourcePicker.option.");

class PanelFace : public ::testing::TestWithParam<LiveTranslationColorScheme> {
protected:
    void SetUp() override
    {
        window.resize(520, 760);
        view->resize(window.size());
        view->setColorScheme(GetParam());
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    void apply(LiveTranslationHelperSnapshot snapshot)
    {
        snapshot.generation = ++generation;
        recorder.model.applySnapshot(std::move(snapshot));
        QApplication::processEvents(); // lays the header out for its new texts
    }

    // The control named "liveTranslation.<identifier>".
    template <typename T = QAbstractButton> T *control(const char *identifier)
    {
        T *found = view->findChild<T *>(QStringLiteral("liveTranslation.") + identifier);
        EXPECT_NE(found, nullptr) << identifier;
        return found;
    }
    QAbstractButton *button(const char *identifier) { return control(identifier); }
    static void click(QWidget *widget) { viewtest::click(widget); }
    void click(const char *identifier) { click(button(identifier)); }
    QString accessibleText(const char *identifier, QAccessible::Text text)
    {
        return QAccessible::queryAccessibleInterface(control<QWidget>(identifier))->text(text);
    }

    QColor dotColour()
    {
        auto *dot = view->findChild<LiveTranslationStatusDot *>();
        return pixelAt(grab(view), dot->mapTo(view, dot->centre().toPoint()));
    }
    // How close the status text's ink comes to a colour.
    int statusInk(const QColor &colour)
    {
        return closestDistance(
            grab(view), rectIn(control<QWidget>("lifecycleStatus"), view), colour);
    }
    // The shown header buttons, a "-" after the disabled ones.
    std::string buttons()
    {
        std::string shown;
        for (const char *name : {"audioSourcePicker", "cancelButton", "stopButton", "startButton"})
            if (QAbstractButton *b = button(name); b->isVisible())
                shown += name + std::string(b->isEnabled() ? " " : "- ");
        return shown;
    }
    bool showsLimitCard()
    {
        return control<QStackedWidget>("content")->currentWidget()
            == view->findChild<LiveTranslationLimitCard *>();
    }
    static LiveTranslationHelperSnapshot active(Lifecycle lifecycle)
    {
        LiveTranslationHelperSnapshot s;
        s.isSessionActive = true;
        s.lifecycle = lifecycle;
        s.statusMessage = "Listening";
        return s;
    }

    void open(LiveTranslationPopover *popover, const LiveTranslationHelperSnapshot &snapshot)
    {
        apply(snapshot);
        viewtest::click(
            popover == languages ? view->languagePairButton() : view->audioSourceButton());
        ASSERT_TRUE(waitUntilActive(popover));
    }
    LiveTranslationPickerRow *row(const QString &name) const
    {
        return qobject_cast<LiveTranslationPickerRow *>(findNamed(view, name));
    }
    static QWidget *focused() { return QApplication::focusWidget(); }
    // The ids shown in a list, top to bottom, with a * on the marked ones.
    Strings shown(const QString &prefix) const
    {
        Strings result;
        for (QWidget *widget : visibleNamed(view, prefix)) {
            auto *r = qobject_cast<LiveTranslationPickerRow *>(widget);
            result.push_back(r->id().toStdString() + (r->isSelected() ? "*" : ""));
        }
        return result;
    }

    LiveTranslationPalette palette = LiveTranslationPalette::forScheme(GetParam());
    RecordingModel recorder;
    QWidget window;
    LiveTranslationHelperView *view = new LiveTranslationHelperView(&recorder.model, &window);
    std::uint64_t generation = 0;
    LiveTranslationPopover *languages
        = view->findChild<LiveTranslationPopover *>("liveTranslation.languagePopover");
    LiveTranslationPopover *audio
        = view->findChild<LiveTranslationPopover *>("liveTranslation.audioSourcePopover");
    LiveTranslationLanguagePicker *languagePicker
        = languages->findChild<LiveTranslationLanguagePicker *>();
    LiveTranslationAudioPicker *audioPicker = audio->findChild<LiveTranslationAudioPicker *>();
};

using Pickers = PanelFace;

} // namespace viewtest
