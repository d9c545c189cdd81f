#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>

#include "accessibility.hpp"
#include "header_buttons.hpp"
#include "view_test_support.hpp"

using namespace viewtest;

namespace {

QAccessibleInterface *accessible(QWidget *widget)
{
    return QAccessible::queryAccessibleInterface(widget);
}

TEST(Accessibility, ValueTextIsTheValueAndTheDescriptionAndFollowsChanges)
{
    LiveTranslationCapsuleButton button(QFont::Medium);
    setAccessibleIdentity(
        &button, QStringLiteral("liveTranslation.languagePair"), QStringLiteral("Languages"));
    setAccessibleValueText(&button, QStringLiteral("AUTO → EN"));
    QAccessibleInterface *iface = accessible(&button);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->text(QAccessible::Value), QStringLiteral("AUTO → EN"));
    EXPECT_EQ(iface->text(QAccessible::Description), QStringLiteral("AUTO → EN"));
    EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("Languages"));
    EXPECT_EQ(iface->role(), QAccessible::Button);

    setAccessibleValueText(&button, QStringLiteral("DE → FI"));
    EXPECT_EQ(accessible(&button)->text(QAccessible::Value), QStringLiteral("DE → FI"));
    EXPECT_EQ(button.accessibleDescription(), QStringLiteral("DE → FI"));
    setAccessibleValueText(&button, QString());
    EXPECT_EQ(accessible(&button)->text(QAccessible::Value), QString());
}

TEST(Accessibility, AButtonWithAValueKeepsItsPressActionAndStates)
{
    LiveTranslationCapsuleButton button(QFont::Medium);
    setAccessibleValueText(&button, QStringLiteral("All Mac audio"));
    QSignalSpy clicks(&button, &QAbstractButton::clicked);
    QAccessibleActionInterface *actions = accessible(&button)->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks.count(), 1);

    button.setEnabled(false);
    EXPECT_TRUE(accessible(&button)->state().disabled);
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(accessible(&button)->state().focusable);
}

TEST(Accessibility, AToolkitWidgetThatWasAlreadyQueriedAlsoGetsTheValue)
{
    QLabel label;
    ASSERT_NE(accessible(&label), nullptr); // the toolkit's interface exists first
    setAccessibleIdentity(
        &label, QStringLiteral("liveTranslation.level"), QStringLiteral("Audio level"));
    setAccessibleValueText(&label, QStringLiteral("53 percent"));
    EXPECT_EQ(accessible(&label)->text(QAccessible::Value), QStringLiteral("53 percent"));
    EXPECT_EQ(accessible(&label)->text(QAccessible::Name), QStringLiteral("Audio level"));
    EXPECT_EQ(accessible(&label)->role(), QAccessible::StaticText);
}

TEST(Accessibility, AProgressBarKeepsItsNumericValueBesideTheWords)
{
    QProgressBar bar;
    bar.setRange(0, 1000);
    bar.setValue(537);
    setAccessibleValueText(&bar, QStringLiteral("53 percent"));
    QAccessibleInterface *iface = accessible(&bar);
    EXPECT_EQ(iface->text(QAccessible::Value), QStringLiteral("53 percent"));
    EXPECT_EQ(iface->role(), QAccessible::ProgressBar);
    ASSERT_NE(iface->valueInterface(), nullptr);
    EXPECT_EQ(iface->valueInterface()->currentValue().toInt(), 537);
    EXPECT_EQ(iface->valueInterface()->maximumValue().toInt(), 1000);
}

TEST(Accessibility, AScrollAreaAskedForAChildThatJustWentAwayAnswersNone)
{
    // A screen reader counts the children while the scroll bar shows, then asks for the last one
    // after the content shrank and the bar hid (a session ending empties the list).
    installScrollAreaAccessibility();
    QScrollArea area;
    area.resize(200, 200);
    auto *content = new QWidget;
    content->setMinimumSize(150, 2000);
    area.setWidget(content);
    area.show();
    QApplication::processEvents();
    QAccessibleInterface *iface = accessible(&area);
    ASSERT_NE(iface, nullptr);
    ASSERT_TRUE(area.verticalScrollBar()->isVisible());
    const int shown = iface->childCount();
    ASSERT_EQ(shown, 2); // the viewport and the scroll bar's container
    EXPECT_EQ(iface->child(0)->object(), area.viewport());
    EXPECT_EQ(iface->indexOfChild(iface->child(1)), 1);

    content->setMinimumSize(150, 20);
    content->resize(150, 20);
    QApplication::processEvents();
    ASSERT_FALSE(area.verticalScrollBar()->isVisible());
    EXPECT_EQ(iface->childCount(), 1);
    for (int index : {shown - 1, shown, 1000, -1})
        EXPECT_EQ(iface->child(index), nullptr) << index;
    EXPECT_EQ(iface->indexOfChild(nullptr), -1);
    EXPECT_EQ(iface->child(0)->object(), area.viewport());
}

} // namespace
