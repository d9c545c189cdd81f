#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "pickers/popover.hpp"
#include "view_test_support.hpp"

namespace {

// A popover for a button in a window with another button; its content holds a text field.
class PopoverTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.setGeometry(100, 100, 400, 120);
        anchor->setGeometry(150, 40, 100, 24);
        other->setGeometry(10, 80, 80, 24);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        auto *content = new QWidget;
        content->setFixedSize(300, 200);
        field = new QLineEdit(content);
        content->setFocusProxy(field);
        popover->setContent(content);
    }

    void present()
    {
        popover->present(anchor);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(popover));
    }
    QRect anchorGlobal() const { return {anchor->mapToGlobal(QPoint(0, 0)), anchor->size()}; }

    QWidget window;
    QPushButton *anchor = new QPushButton(QStringLiteral("Anchor"), &window);
    QPushButton *other = new QPushButton(QStringLiteral("Other"), &window);
    LiveTranslationPopover *popover = new LiveTranslationPopover(&window);
    QLineEdit *field = nullptr;
    QSignalSpy dismissed {popover, &LiveTranslationPopover::dismissed};
};

TEST_F(PopoverTest, OpensUnderItsButtonPointingAtItsCentreAndTakesTheFocus)
{
    present();
    // A tool window, not a popup (which assistive technology would not reach).
    EXPECT_EQ(popover->windowType(), Qt::Tool);
    const QRect button = anchorGlobal();
    EXPECT_EQ(popover->arrowTip(), QPoint(button.center().x(), button.bottom() + 3));
    ASSERT_TRUE(viewtest::waitUntilActive(popover));
    EXPECT_EQ(QApplication::focusWidget(), field);
}

TEST_F(PopoverTest, EscapeOrACloseDismissesOnceAndItOpensAgain)
{
    present();
    ASSERT_TRUE(viewtest::waitUntilActive(popover));
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_FALSE(popover->isVisible());
    popover->dismiss();
    QTest::keyClick(popover, Qt::Key_Escape);
    EXPECT_EQ(dismissed.count(), 1);
    // A window-manager close is a dismissal, not a destruction.
    present();
    popover->close();
    EXPECT_FALSE(popover->isVisible());
    EXPECT_EQ(dismissed.count(), 2);
    present();
    EXPECT_TRUE(popover->isVisible());
}

TEST_F(PopoverTest, PressesOutsideDismissButNotOnTheButtonInsideOrInAMenuFromInside)
{
    present();
    QMenu menu(field); // a menu from inside handles its own presses
    menu.addAction(QStringLiteral("Paste"));
    menu.popup(field->mapToGlobal(QPoint(0, 0)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    viewtest::click(&menu);
    viewtest::click(field);
    viewtest::click(anchor); // the button flips the flag itself
    EXPECT_TRUE(popover->isVisible());
    QTest::mousePress(other, Qt::LeftButton);
    EXPECT_FALSE(popover->isVisible());
    EXPECT_EQ(dismissed.count(), 1);
    QTest::mouseRelease(other, Qt::LeftButton);
    viewtest::click(other); // once closed it no longer watches presses
    EXPECT_EQ(dismissed.count(), 1);
}

TEST_F(PopoverTest, FollowsItsWindowAndClosesWithItOrWhenTheApplicationLosesFocus)
{
    present();
    const QPoint moved = popover->pos() + QPoint(30, 20);
    window.move(window.pos() + QPoint(30, 20));
    ASSERT_TRUE(QTest::qWaitFor([&] { return popover->pos() == moved; }));
    window.hide();
    EXPECT_FALSE(popover->isVisible());
    EXPECT_EQ(dismissed.count(), 1);
    window.show();
    present();
    emit qApp->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_FALSE(popover->isVisible());
    EXPECT_EQ(dismissed.count(), 2);
}

} // namespace
