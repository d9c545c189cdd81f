#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include "pickers/popover.hpp"
#include "view_test_support.hpp"

namespace {

// A window with the popover's button and another one, and a popover with a 300 × 200 content
// holding a text field.
class PopoverTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.setGeometry(100, 100, 400, 120);
        anchor = new QPushButton(QStringLiteral("Anchor"), &window);
        anchor->setGeometry(150, 40, 100, 24);
        other = new QPushButton(QStringLiteral("Other"), &window);
        other->setGeometry(10, 80, 80, 24);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        popover = new LiveTranslationPopover(&window);
        auto *content = new QWidget;
        content->setFixedSize(300, 200);
        field = new QLineEdit(content);
        content->setFocusProxy(field);
        popover->setContent(content);
        dismissed = std::make_unique<QSignalSpy>(popover, &LiveTranslationPopover::dismissed);
    }

    void present()
    {
        popover->present(anchor);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(popover));
    }

    QRect anchorGlobal() const { return {anchor->mapToGlobal(QPoint(0, 0)), anchor->size()}; }

    QWidget window;
    QPushButton *anchor = nullptr;
    QPushButton *other = nullptr;
    LiveTranslationPopover *popover = nullptr;
    QLineEdit *field = nullptr;
    std::unique_ptr<QSignalSpy> dismissed;
};

TEST_F(PopoverTest, OpensUnderItsButtonPointingAtItsCentreAndTakesTheFocus)
{
    present();
    EXPECT_TRUE(popover->isPresented());
    // A tool window, not a popup (which assistive technology would not reach).
    EXPECT_EQ(popover->windowType(), Qt::Tool);
    EXPECT_TRUE(popover->windowFlags() & Qt::FramelessWindowHint);
    const QRect button = anchorGlobal();
    EXPECT_EQ(popover->arrowTip(), QPoint(button.center().x(), button.bottom() + 3));
    EXPECT_EQ(popover->content()->size(), QSize(300, 200));
    EXPECT_GT(popover->content()->mapToGlobal(QPoint(0, 0)).y(), popover->arrowTip().y());
    ASSERT_TRUE(viewtest::waitUntilActive(popover));
    EXPECT_EQ(QApplication::focusWidget(), field);
}

TEST_F(PopoverTest, StaysOnTheScreenAndOpensAboveWhenThereIsNoRoomBelow)
{
    const QRect screen = window.screen()->availableGeometry();
    window.move(screen.right() - window.width() + 1, screen.bottom() - window.height() + 1);
    anchor->move(window.width() - anchor->width(), window.height() - anchor->height());
    ASSERT_TRUE(QTest::qWaitFor([&] { return anchorGlobal().bottom() >= screen.bottom(); }));
    present();
    const QRect button = anchorGlobal();
    const QRect body(popover->content()->mapToGlobal(QPoint(0, 0)), QSize(300, 200));
    EXPECT_LT(body.bottom(), popover->arrowTip().y());
    EXPECT_LT(popover->arrowTip().y(), button.top());
    EXPECT_TRUE(screen.contains(body)) << body.x() << "," << body.y();
    // Pushed left to stay on the screen, the arrow still points at the button.
    EXPECT_EQ(popover->arrowTip().x(), button.center().x());
}

TEST_F(PopoverTest, EscapeOrACloseDismissesOnceAndItOpensAgain)
{
    present();
    ASSERT_TRUE(viewtest::waitUntilActive(popover));
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_FALSE(popover->isVisible());
    EXPECT_EQ(dismissed->count(), 1);
    popover->dismiss();
    QTest::keyClick(popover, Qt::Key_Escape);
    EXPECT_EQ(dismissed->count(), 1);
    // A window-manager close is a dismissal, not a destruction.
    present();
    popover->close();
    EXPECT_FALSE(popover->isVisible());
    EXPECT_EQ(dismissed->count(), 2);
    present();
    EXPECT_TRUE(popover->isVisible());
}

TEST_F(PopoverTest, PressesOutsideDismissButNotOnTheButtonInsideOrInAMenuFromInside)
{
    present();
    QMenu menu(field);
    bool pasted = false;
    QObject::connect(
        menu.addAction(QStringLiteral("Paste")), &QAction::triggered, [&] { pasted = true; });
    menu.popup(field->mapToGlobal(QPoint(0, 0)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    viewtest::click(&menu);
    EXPECT_TRUE(pasted);
    viewtest::click(field);
    viewtest::click(anchor); // the button flips the flag itself
    EXPECT_TRUE(popover->isVisible());
    EXPECT_EQ(dismissed->count(), 0);
    QTest::mousePress(other, Qt::LeftButton);
    EXPECT_FALSE(popover->isVisible());
    EXPECT_EQ(dismissed->count(), 1);
    QTest::mouseRelease(other, Qt::LeftButton);
    // Once closed it no longer watches presses.
    viewtest::click(other);
    EXPECT_EQ(dismissed->count(), 1);
}

TEST_F(PopoverTest, FollowsItsWindowAndClosesWithItOrWhenTheApplicationLosesFocus)
{
    present();
    const QPoint moved = popover->pos() + QPoint(30, 20);
    window.move(window.pos() + QPoint(30, 20));
    ASSERT_TRUE(QTest::qWaitFor([&] { return popover->pos() == moved; }));
    EXPECT_EQ(popover->arrowTip().x(), anchorGlobal().center().x());
    window.hide();
    EXPECT_FALSE(popover->isVisible());
    EXPECT_EQ(dismissed->count(), 1);
    window.show();
    present();
    emit qApp->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_FALSE(popover->isVisible());
    EXPECT_EQ(dismissed->count(), 2);
}

} // namespace
