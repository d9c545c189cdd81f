#include <gtest/gtest.h>

#include <QAccessible>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "captions/active_card.hpp"
#include "captions/empty_state.hpp"
#include "captions/footer.hpp"
#include "captions/list.hpp"
#include "captions/text.hpp"
#include "captions/view.hpp"
#include "view_test_support.hpp"

namespace {

using namespace viewtest;

class CaptionsViewTest : public ::testing::Test {
protected:
    void render(const LiveTranslationHelperSnapshot &snapshot)
    {
        shown.view->render(snapshot, LiveTranslationPalette::light());
        QCoreApplication::processEvents();
    }
    LiveTranslationCaptionList *list() const { return shown.view->list(); }
    LiveTranslationActiveCard *live() const { return shown.view->activeCard(); }
    QScrollBar *bar() const { return list()->verticalScrollBar(); }
    QString emptyTitle() const
    {
        auto *empty = list()->findChild<LiveTranslationCaptionsEmptyState *>();
        return empty->isVisible() ? empty->title() : QString();
    }
    QRect lastCardRect() const { return list()->cardRect(list()->cardCount() - 1); }
    // How far the newest card's bottom is from the bottom of the view.
    int newestGap() const { return list()->viewport()->height() - lastCardRect().bottom() - 1; }
    QAccessibleInterface *items() const { return QAccessible::queryAccessibleInterface(list()); }
    std::string itemName(int i) const
    {
        return items()->child(i)->text(QAccessible::Name).toStdString();
    }
    // The live card's header, source, translation and note; placeholders in brackets.
    QString liveCard() const
    {
        const auto &c = live()->content();
        const auto slot
            = [](const QString &text, bool isText) { return isText ? text : u'[' + text + u']'; };
        return QStringList {c.header, slot(c.source, c.sourceIsText),
            slot(c.translation, c.translationIsText), c.note}
            .join(u" | ");
    }
    static void drag(QWidget *widget, QPoint from, QPoint to)
    {
        QTest::mousePress(widget, Qt::LeftButton, {}, from);
        QTest::mouseMove(widget, to);
        QTest::mouseRelease(widget, Qt::LeftButton, {}, to);
    }
    QString copied() const
    {
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        QTest::keyClick(list(), Qt::Key_C, Qt::ControlModifier);
        return QGuiApplication::clipboard()->text();
    }

    ShownColumn shown;
};

TEST_F(CaptionsViewTest, EmptyStateAndLiveCardFollowTheTextsThatArrived)
{
    LiveTranslationHelperSnapshot s;
    render(s);
    EXPECT_EQ(emptyTitle(), QStringLiteral("Ready when the conversation starts"));
    EXPECT_FALSE(live()->isVisible());
    s.isSessionActive = true;
    s.activeTranslatedText = ""; // present but empty: the card still waits
    render(s);
    EXPECT_EQ(emptyTitle(), QStringLiteral("Listening for the first phrase…"));
    EXPECT_TRUE(live()->isVisible());
    EXPECT_EQ(liveCard(),
        QStringLiteral("LISTENING | [The matching original phrase will appear here.] | [Waiting "
                       "for the next phrase…] | The next original and translation will stay "
                       "together here."));
    s.activeSourceText = "Guten Morgen";
    s.activeTranslatedText = "Good morning";
    render(s);
    EXPECT_TRUE(emptyTitle().isEmpty()) << "a source being recognised replaces the empty state";
    EXPECT_EQ(liveCard(),
        QStringLiteral("LIVE TRANSLATION | Guten Morgen | Good morning | Hearing more · preparing "
                       "the next matched update…"));
    render(withCards(1));
    EXPECT_TRUE(emptyTitle().isEmpty());
    EXPECT_FALSE(live()->isVisible());
}

TEST_F(CaptionsViewTest, AnotherNumberOfCardsScrollsToTheNewestEasedOrAtOnce)
{
    render(withCards(40));
    EXPECT_EQ(bar()->value(), 0) << "the first appearance does not scroll";
    render(withCards(42));
    EXPECT_TRUE(list()->isScrolling());
    QTRY_VERIFY(!list()->isScrolling());
    EXPECT_EQ(newestGap(), 0);

    shown.view->setReduceMotion(true);
    auto snapshot = withCards(43);
    snapshot.isSessionActive = true;
    render(snapshot);
    EXPECT_FALSE(list()->isScrolling());
    EXPECT_EQ(newestGap(), 0);
    bar()->setValue(300);
    render(withCards(43, 100)); // other cards in the same number do not scroll
    EXPECT_EQ(bar()->value(), 300);
}

TEST_F(CaptionsViewTest, ThousandsOfCardsLayOutOnlyWhatIsInViewAndKeepThePlaceOnRelayout)
{
    shown.view->setReduceMotion(true);
    render({});
    auto snapshot = withCards(10000);
    render(snapshot);
    const auto [first, last] = list()->visibleCards();
    EXPECT_TRUE(last == 10000u && last - first <= 12u) << first << "-" << last;
    // At the newest card, the newest card stays in view as the originals go and come back.
    for (const bool shows : {false, true}) {
        snapshot.showsSourceText = shows;
        render(snapshot);
        EXPECT_EQ(newestGap(), 0);
    }
    // Estimated heights settle as cards come into view; the ends stay exact.
    bar()->setValue(0);
    EXPECT_EQ(list()->cardRect(0).top(), 12);
    bar()->setValue(bar()->maximum() / 2);
    const std::size_t top = list()->visibleCards().first;
    EXPECT_TRUE(top > 1000u && list()->visibleCards().second < 9000u) << top;
    EXPECT_FALSE(items()->child(int(top))->state().offscreen);
    EXPECT_TRUE(items()->child(0)->state().offscreen);

    // Elsewhere, the card at the top stays where it is, 5 pixels of it above the view.
    bar()->setValue(bar()->value() + list()->cardRect(top).top() + 5);
    snapshot.showsSourceText = false;
    render(snapshot);
    EXPECT_EQ(list()->visibleCards().first, top);
    EXPECT_EQ(list()->cardRect(top).top(), -5);
}

TEST_F(CaptionsViewTest, DraggingSelectsTheTextsOfCardsAndOfTheLiveCardForTheCopyShortcut)
{
    auto snapshot = withCards(2);
    snapshot.committedCards[1] = card("c", "Bonjour tout le monde", "Hallo Welt");
    render(snapshot);
    shown.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(shown.window.get()));
    const QRect second = list()->cardRect(1);
    const QPoint end = second.bottomRight() - QPoint(4, 4);
    // From the header (the start of the first text) to the bottom corner (the end of the last).
    drag(list()->viewport(), second.topLeft() + QPoint(20, 8), end);
    EXPECT_EQ(copied(), QStringLiteral("Hallo Welt\nBonjour tout le monde"));
    drag(list()->viewport(), list()->cardRect(0).topLeft() + QPoint(20, 8), end);
    EXPECT_EQ(list()->selectedText(),
        QStringLiteral("Originalsatz Nummer 0\nTranslated sentence number 0 reads like "
                       "this\n\nHallo Welt\nBonjour tout le monde"));
    QTest::mouseDClick(
        list()->viewport(), Qt::LeftButton, {}, second.bottomLeft() + QPoint(16, -16));
    EXPECT_EQ(list()->selectedText(), QStringLiteral("Bonjour"));

    snapshot.isSessionActive = true;
    snapshot.activeSourceText = "Wie geht es";
    snapshot.activeTranslatedText = "How are you";
    render(snapshot);
    // A click on a card gives the list the focus with that card current: the card is read.
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, list()->cardRect(0).center());
    EXPECT_TRUE(list()->hasFocus());
    EXPECT_EQ(list()->currentItem(), 0u);
    drag(live(), QPoint(16, 4), QPoint(live()->width() - 4, live()->height() - 4));
    EXPECT_EQ(list()->currentItem(), 2u);
    EXPECT_EQ(copied(), QStringLiteral("Wie geht es\nHow are you"));
    // As the host hears more, the selected words stay selected; a revision drops the selection.
    snapshot.activeTranslatedText = "How are you today";
    render(snapshot);
    EXPECT_EQ(live()->selectedText(), QStringLiteral("Wie geht es\nHow are you"));
    snapshot.activeSourceText = "Wie war es";
    render(snapshot);
    EXPECT_TRUE(live()->selectedText().isEmpty());
}

TEST(CaptionsText, OnlyWhatFitsTheHeightIsLaidOutAndNoClusterIsSplit)
{
    const QFont font = LiveTranslationCaptionFonts::fromApplication().translation;
    const std::pair<QString, int> cases[] = {// the text, and the units of each of its clusters
        {QString(1000000, u'x'), 1}, {QStringLiteral("a\u0301\u0323").repeated(300000), 3},
        {u'a' + QString(1000000, QChar(0x0301)), 1},
        {QStringLiteral("\U0001F600").repeated(400000), 2}};
    for (const auto &[string, unitsPerCluster] : cases) {
        const LiveTranslationCaptionText text(string, font, 300, 200);
        EXPECT_EQ(text.text(), string); // copied and selected in full
        EXPECT_TRUE(text.isCutShort() && text.height() <= 200 && text.lineCount() <= 9)
            << unitsPerCluster;
        EXPECT_LE(text.shownLength(), 8000);
        EXPECT_EQ(text.shownLength() % unitsPerCluster, 0);
    }
    const LiveTranslationCaptionText fits(QStringLiteral("Good morning."), font, 300, 200);
    EXPECT_EQ(fits.shownLength(), 13);
    // A long word wraps instead of widening the card.
    EXPECT_GE(LiveTranslationCaptionText(QString(600, u'x'), font, 300, 1000).lineCount(), 5);
}

TEST_F(CaptionsViewTest, AssistiveTechnologyReadsOneListOfTheCardsAndTheLiveCard)
{
    render({});
    QAccessibleInterface *root = items();
    EXPECT_EQ(root->role(), QAccessible::List);
    EXPECT_EQ(root->text(QAccessible::Name), QStringLiteral("Live translation captions"));
    ASSERT_EQ(root->childCount(), 1); // the empty state

    auto snapshot = withCards(3);
    snapshot.isSessionActive = true;
    snapshot.activeSourceText = "Quelle";
    render(snapshot);
    const int withSources = list()->cardRect(0).height();
    ASSERT_EQ(root->childCount(), 4); // the cards, then the live card
    EXPECT_EQ(
        itemName(0), "Translated sentence number 0 reads like this, Originalsatz Nummer 0, 20:26");
    EXPECT_EQ(itemName(3), "Listening, Waiting for the next phrase…, Quelle");
    QAccessibleInterface *card = root->child(2);
    EXPECT_EQ(card->role(), QAccessible::ListItem);
    EXPECT_EQ(card->parent(), root);
    EXPECT_EQ(root->indexOfChild(card), 2);
    EXPECT_EQ(root->childAt(card->rect().center().x(), card->rect().center().y()), card);
    // The live card's own widget is not a second copy of it.
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(live())->state().invisible);

    // Hidden originals leave every source out.
    snapshot.showsSourceText = false;
    render(snapshot);
    EXPECT_LT(list()->cardRect(0).height(), withSources);
    EXPECT_EQ(itemName(0), "Translated sentence number 0 reads like this, 20:26");
    EXPECT_EQ(itemName(3), "Listening, Waiting for translation…");
    list()->selectAll();
    EXPECT_FALSE(list()->selectedText().contains(QStringLiteral("Originalsatz")));

    // Of each text, what is read ends after 4,096 units with an ellipsis.
    snapshot.showsSourceText = true;
    snapshot.committedCards.push_back(viewtest::card("huge", std::string(1000000, 'y'), "Hallo"));
    snapshot.activeTranslatedText = std::string(5000, 'z');
    render(snapshot);
    EXPECT_EQ(root->child(3)->text(QAccessible::Name).left(4104),
        QString(4096, u'y') + QStringLiteral("…, Hallo"));
    EXPECT_EQ(root->child(4)->text(QAccessible::Name),
        QStringLiteral("Live translation, ") + QString(4096, u'z') + QStringLiteral("…, Quelle"));
}

TEST_F(CaptionsViewTest, KeysMoveTheCurrentCardWhichIsRingedScrolledIntoViewAndFocused)
{
    shown.view->setReduceMotion(true);
    auto snapshot = withCards(30);
    snapshot.isSessionActive = true;
    render(snapshot);
    const QImage unfocused = grab(list()->viewport());
    shown.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(shown.window.get()));
    list()->clearFocus();
    list()->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    EXPECT_NE(grab(list()->viewport()), unfocused) << "a ring shows the list's focus";

    QTest::keyClick(list(), Qt::Key_Home);
    EXPECT_EQ(list()->cardRect(0).top(), 12);
    EXPECT_TRUE(items()->child(0)->state().focused);
    // Assistive technology hears which cards are off the screen: the first below the view is.
    int below = 0;
    while (list()->cardRect(below).top() < list()->viewport()->height())
        ++below;
    EXPECT_FALSE(items()->child(below - 1)->state().offscreen);
    EXPECT_TRUE(items()->child(below)->state().offscreen);
    for (const auto key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up})
        QTest::keyClick(list(), key);
    EXPECT_EQ(list()->currentItem(), 1u);
    QTest::keyClick(list(), Qt::Key_End);
    EXPECT_TRUE(live()->showsFocusRing()); // the live card, after the newest
    QTest::keyClick(list(), Qt::Key_Up);
    EXPECT_FALSE(live()->showsFocusRing());
    EXPECT_EQ(list()->cardRect(29).bottom() + 1, list()->viewport()->height());

    // New cards before and after keep the same card current, and the live card stays current.
    snapshot.committedCards.front() = card("new", "Neu");
    snapshot.committedCards.push_back(card("newest", "Neueste"));
    render(snapshot);
    EXPECT_EQ(list()->card(*list()->currentItem()).id, "card-29");
    QTest::keyClick(list(), Qt::Key_End);
    snapshot.committedCards.push_back(card("after", "Danach"));
    render(snapshot);
    EXPECT_EQ(list()->currentItem(), 32u);
    EXPECT_TRUE(live()->showsFocusRing());
}

class CaptionsFooterTest : public ::testing::Test {
protected:
    CaptionsFooterTest()
        : footer(&recording.model)
    {
        footer.resize(520, 60);
        footer.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&footer));
        QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    }
    void SetUp() override { ASSERT_TRUE(toggle && copyLatest && copyAll); }
    // The host's answer: the model takes the snapshot and the footer renders it.
    void host(const LiveTranslationHelperSnapshot &snapshot)
    {
        recording.model.applySnapshot(snapshot);
        footer.render(recording.model.snapshot(), LiveTranslationPalette::dark());
    }
    QString copy(QPushButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton);
        return QGuiApplication::clipboard()->text();
    }

    RecordingModel recording;
    LiveTranslationCaptionsFooter footer;
    QCheckBox *toggle = footer.findChild<QCheckBox *>("liveTranslation.showSourceToggle");
    QPushButton *copyLatest = footer.findChild<QPushButton *>("liveTranslation.copyLatestButton");
    QPushButton *copyAll = footer.findChild<QPushButton *>("liveTranslation.copyAllButton");
};

TEST_F(CaptionsFooterTest, EachChangeOfTheToggleSendsOneCommandAndTheSnapshotDecidesWhatShows)
{
    EXPECT_EQ(toggle->text(), QStringLiteral("Original"));
    QTest::mouseClick(toggle, Qt::LeftButton);
    QTest::keyClick(toggle, Qt::Key_Space);
    EXPECT_EQ(recording.events,
        (std::vector<std::string> {"set_shows_source_text", "set_shows_source_text"}));
    EXPECT_FALSE(recording.commands[0].boolValue || recording.commands[1].boolValue);
    EXPECT_TRUE(toggle->isChecked()) << "stays at the snapshot's value until the host answers";

    LiveTranslationHelperSnapshot hidden;
    hidden.showsSourceText = false;
    host(hidden);
    EXPECT_FALSE(toggle->isChecked());
    EXPECT_EQ(recording.commands.size(), 2u) << "the host's value sends nothing back";
    QTest::mouseClick(toggle, Qt::LeftButton);
    ASSERT_EQ(recording.commands.size(), 3u);
    EXPECT_TRUE(recording.commands[2].boolValue);
    EXPECT_FALSE(toggle->isChecked());
}

TEST_F(CaptionsFooterTest, CopyButtonsAreEnabledByWhatThereIsToCopyAndCopyOnlyTranslations)
{
    host({});
    EXPECT_FALSE(copyLatest->isEnabled() || copyAll->isEnabled());
    LiveTranslationHelperSnapshot snapshot;
    snapshot.activeTranslatedText = "";
    host(snapshot);
    EXPECT_TRUE(copyLatest->isEnabled());
    EXPECT_FALSE(copyAll->isEnabled());
    EXPECT_EQ(copy(copyLatest), QStringLiteral("kept"))
        << "an empty live translation copies nothing";
    snapshot.committedCards = {card("1", "a", "x"), card("2", " b\n", "y")};
    host(snapshot);
    EXPECT_TRUE(copyAll->isEnabled());
    EXPECT_EQ(copy(copyAll), QStringLiteral("a\n b"));
    EXPECT_EQ(copy(copyLatest), QStringLiteral("b"));
    snapshot.committedCards = {card("1", "    ", "source")};
    host(snapshot);
    EXPECT_EQ(copy(copyAll), QStringLiteral("b")) << "a blank result leaves the clipboard alone";
}

} // namespace
