#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "pickers/popover.hpp"
#include "view_test_support.hpp"

namespace {

constexpr QSize kContentSize(300, 200);

// A window with the popover's button and another one, and a popover with a text field inside.
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
        content->setFixedSize(kContentSize);
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
    EXPECT_TRUE(popover->isWindow());
    // A tool window, not a popup (which assistive technology would not reach).
    EXPECT_EQ(popover->windowType(), Qt::Tool);
    EXPECT_TRUE(popover->windowFlags() & Qt::FramelessWindowHint);
    const QRect button = anchorGlobal();
    EXPECT_EQ(popover->arrowTip().x(), button.center().x());
    EXPECT_GT(popover->arrowTip().y(), button.bottom());
    EXPECT_LE(popover->arrowTip().y(), button.bottom() + 3); // a gap of 2
    // The content keeps its size and lies below the arrow.
    EXPECT_EQ(popover->content()->size(), kContentSize);
    EXPECT_GT(popover->content()->mapToGlobal(QPoint(0, 0)).y(), popover->arrowTip().y());

    ASSERT_TRUE(viewtest::waitUntilActive(popover));
    EXPECT_EQ(QApplication::focusWidget(), field);
}

TEST_F(PopoverTest, StaysOnTheScreenAndOpensAboveWhenThereIsNoRoomBelow)
{
    const QRect screen = window.screen()->availableGeometry();
    window.move(screen.right() - window.width() + 1, screen.bottom() - window.height() + 1);
    anchor->move(window.width() - anchor->width(), window.height() - anchor->height());
    QTest::qWait(10);
    present();
    const QRect button = anchorGlobal();
    EXPECT_LT(popover->arrowTip().y(), button.top());
    EXPECT_LT(popover->content()->mapToGlobal(QPoint(0, kContentSize.height())).y(),
        popover->arrowTip().y());
    const QRect body(popover->content()->mapToGlobal(QPoint(0, 0)), kContentSize);
    EXPECT_TRUE(screen.contains(body)) << body.x() << "," << body.y();
    // Pushed left to stay on the screen, the arrow still points at the button when it can.
    EXPECT_LT(body.right(), button.center().x() + kContentSize.width() / 2);
    EXPECT_EQ(popover->arrowTip().x(),
        std::min(button.center().x(),
            body.right() - 19)); // the corner's radius and half the arrow's width in from the edge
}

TEST_F(PopoverTest, EscapeDismissesOnceAndAClosedPopoverIsNotDismissedAgain)
{
    present();
    ASSERT_TRUE(viewtest::waitUntilActive(popover));
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_FALSE(popover->isVisible());
    EXPECT_EQ(dismissed->count(), 1);
    popover->dismiss();
    QTest::keyClick(popover, Qt::Key_Escape);
    EXPECT_EQ(dismissed->count(), 1);
    // Presenting again works, and a window-manager close is a dismissal, not a destruction.
    present();
    popover->close();
    EXPECT_FALSE(popover->isVisible());
    EXPECT_EQ(dismissed->count(), 2);
    present();
    EXPECT_TRUE(popover->isVisible());
}

TEST_F(PopoverTest, PressesOutsideDismissButNotOnTheButtonOrInside)
{
    present();
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

TEST_F(PopoverTest, AMenuOpenedFromInsideKeepsItOpen)
{
    present();
    QMenu menu(field);
    QAction *paste = menu.addAction(QStringLiteral("Paste"));
    bool triggered = false;
    QObject::connect(paste, &QAction::triggered, [&] { triggered = true; });
    menu.popup(field->mapToGlobal(QPoint(0, 0)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    viewtest::click(&menu);
    EXPECT_TRUE(triggered);
    EXPECT_TRUE(popover->isVisible());
    EXPECT_EQ(dismissed->count(), 0);
}

TEST_F(PopoverTest, FollowsItsWindowAndClosesWithItOrWhenTheApplicationLosesFocus)
{
    present();
    const QPoint before = popover->pos();
    window.move(window.pos() + QPoint(30, 20));
    QTest::qWait(10);
    EXPECT_EQ(popover->pos(), before + QPoint(30, 20));
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
