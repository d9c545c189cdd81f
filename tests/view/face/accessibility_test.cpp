#include <gtest/gtest.h>

#include <QAccessible>
#include <QProgressBar>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTest>

#include "common/accessibility.hpp"
#include "face/capsule_button.hpp"
#include "root_view.hpp"
#include "view_test_support.hpp"

using namespace viewtest;

namespace {

QAccessibleInterface *accessible(QWidget *widget)
{
    return QAccessible::queryAccessibleInterface(widget);
}

TEST(Accessibility, AValueTextFollowsChangesAndKeepsTheWidgetsRoleActionsAndNumbers)
{
    LiveTranslationCapsuleButton button(QFont::Medium);
    setAccessibleValueText(&button, QStringLiteral("AUTO → EN"));
    setAccessibleValueText(&button, QStringLiteral("DE → FI"));
    EXPECT_EQ(accessible(&button)->text(QAccessible::Value), QStringLiteral("DE → FI"));
    EXPECT_EQ(accessible(&button)->text(QAccessible::Description), QStringLiteral("DE → FI"));
    setAccessibleValueText(&button, QString());
    EXPECT_EQ(accessible(&button)->text(QAccessible::Value), QString());
    QSignalSpy clicks(&button, &QAbstractButton::clicked);
    QAccessibleActionInterface *actions = accessible(&button)->actionInterface();
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks.count(), 1);
    button.setEnabled(false);
    EXPECT_FALSE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks.count(), 1);

    QProgressBar bar;
    bar.setRange(10, 1000);
    bar.setValue(537);
    ASSERT_NE(accessible(&bar), nullptr); // the toolkit's interface exists first
    setAccessibleValueText(&bar, QStringLiteral("53 percent"));
    EXPECT_EQ(accessible(&bar)->role(), QAccessible::ProgressBar);
    EXPECT_EQ(accessible(&bar)->text(QAccessible::Value), QStringLiteral("53 percent"));
    QAccessibleValueInterface *numbers = accessible(&bar)->valueInterface();
    ASSERT_NE(numbers, nullptr);
    EXPECT_EQ(numbers->currentValue().toInt(), 537);
    EXPECT_EQ(numbers->maximumValue().toInt(), 1000);
    EXPECT_EQ(numbers->minimumValue().toInt(), 10);
}

// A screen reader counted the children while the scroll bar showed, then asks for the last one.
TEST(Accessibility, AScrollAreaAskedForAChildThatJustWentAwayAnswersNone)
{
    installScrollAreaAccessibility();
    QScrollArea area;
    area.resize(200, 200);
    auto *content = new QWidget;
    content->setMinimumSize(150, 2000);
    area.setWidget(content);
    area.show();
    QApplication::processEvents();
    QAccessibleInterface *iface = accessible(&area);
    ASSERT_EQ(iface->childCount(), 2); // the viewport and the scroll bar's container

    content->setMinimumSize(150, 20);
    content->resize(150, 20);
    QApplication::processEvents();
    EXPECT_EQ(iface->childCount(), 1);
    for (int index : {1, 2, 1000, -1})
        EXPECT_EQ(iface->child(index), nullptr) << index;
    EXPECT_EQ(iface->indexOfChild(nullptr), -1);
    EXPECT_EQ(iface->child(0)->object(), area.viewport());
}

// The names of notifications as they show: what a screen reader is told.
class Listener final : public QObject {
public:
    std::vector<QString> heard;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        QAccessibleInterface *iface = event->type() == QEvent::Show
            ? QAccessible::queryAccessibleInterface(watched)
            : nullptr;
        if (iface && iface->role() == QAccessible::Notification)
            heard.push_back(iface->text(QAccessible::Name));
        return false;
    }
};

TEST(Announcements, NewCardsOnceInOrderABurstByItsNewestAFailureOnceNothingWhileHidden)
{
    Listener listener;
    qApp->installEventFilter(&listener);
    RecordingModel recorder;
    QWidget window;
    window.resize(520, 760);
    new LiveTranslationHelperView(&recorder.model, &window);
    window.show();
    LiveTranslationHelperSnapshot snapshot;
    const auto apply = [&](size_t heard = 0) {
        ++snapshot.generation;
        recorder.model.applySnapshot(LiveTranslationHelperSnapshot(snapshot));
        QApplication::processEvents();
        EXPECT_TRUE(QTest::qWaitFor([&] { return listener.heard.size() >= heard; })) << heard;
    };
    snapshot.committedCards = {card("a", "One.")};
    apply(1);
    snapshot.committedCards.push_back(card("b", "Two."));
    apply();
    snapshot.committedCards.push_back(card("c", "  Three.\n"));
    apply(2);
    // Known cards with new texts are no news; an untranslated card is heard by its source.
    snapshot.committedCards
        = {card("a", "One!"), card("b", "Two!"), card("c", "Three!"), card("d", "", "Neljä.")};
    apply(3);
    for (int i = 1; i <= 20; ++i)
        snapshot.committedCards.push_back(
            card("burst-" + std::to_string(i), "Burst " + std::to_string(i) + "."));
    apply(4);
    snapshot.hasFailure = true;
    snapshot.statusMessage = "Microphone unavailable";
    apply(5);
    snapshot.committedCards.push_back(card("e", "Five."));
    apply(6);
    // Nothing while hidden, and nothing of it once shown again.
    window.hide();
    snapshot.hasFailure = false;
    apply();
    snapshot.hasFailure = true;
    snapshot.committedCards.push_back(card("hidden", "Unseen."));
    apply();
    window.show();
    apply();
    snapshot.committedCards.push_back(card("f", "Six."));
    apply(7);
    EXPECT_EQ(listener.heard,
        (std::vector<QString> {"One.", "Two. Three.", "Neljä.", "20 new captions. Burst 20.",
            "Microphone unavailable", "Five.", "Six."}));
}

} // namespace
