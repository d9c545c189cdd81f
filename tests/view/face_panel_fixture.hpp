#pragma once

// The panel's view in a 520 × 760 window with a recording model; each test runs in both colour
// schemes.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>
#include <QStackedWidget>
#include <QTest>

#include "face/capsule_button.hpp"
#include "face/limit_card.hpp"
#include "face/status_dot.hpp"
#include "face/status_text.hpp"
#include "root_view.hpp"
#include "view_test_support.hpp"

namespace viewtest {

using Lifecycle = LiveTranslationHelperLifecycle;

class PanelFace : public ::testing::TestWithParam<LiveTranslationColorScheme> {
protected:
    void SetUp() override
    {
        window.resize(520, 760);
        view = new LiveTranslationHelperView(&recorder.model, &window);
        view->resize(window.size());
        view->setColorScheme(GetParam());
        window.show();
        QApplication::processEvents();
    }

    void apply(LiveTranslationHelperSnapshot snapshot)
    {
        snapshot.generation = ++generation;
        recorder.model.applySnapshot(std::move(snapshot));
        QApplication::processEvents();
    }

    template <typename T = QAbstractButton> T *control(const char *identifier)
    {
        T *found = view->findChild<T *>(QString::fromLatin1(identifier));
        EXPECT_NE(found, nullptr) << identifier;
        return found;
    }
    QAbstractButton *button(const char *identifier) { return control(identifier); }
    bool shows(const char *identifier) { return control<QWidget>(identifier)->isVisible(); }
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
            grab(view), rectIn(control<QWidget>("liveTranslation.lifecycleStatus"), view), colour);
    }
    bool showsLimitCard()
    {
        return control<QStackedWidget>("liveTranslation.content")->currentWidget()
            == view->findChild<LiveTranslationLimitCard *>();
    }

    void click(const char *identifier)
    {
        QTest::mouseClick(button(identifier), Qt::LeftButton);
        QApplication::processEvents();
    }

    LiveTranslationHelperSnapshot active(Lifecycle lifecycle)
    {
        LiveTranslationHelperSnapshot s;
        s.isSessionActive = true;
        s.lifecycle = lifecycle;
        s.statusMessage = "Listening";
        return s;
    }

    LiveTranslationPalette palette = LiveTranslationPalette::forScheme(GetParam());
    RecordingModel recorder;
    QWidget window;
    LiveTranslationHelperView *view = nullptr;
    std::uint64_t generation = 0;
};

} // namespace viewtest
