#include <gtest/gtest.h>

#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "captions/active_card.hpp"
#include "captions/empty_state.hpp"
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
        return empty && empty->isVisible() ? empty->title() : QString();
    }
    QRect lastCardRect() const { return list()->cardRect(list()->cardCount() - 1); }
    // How far the newest card's bottom is from the bottom of the view.
    int newestGap() const { return list()->viewport()->height() - lastCardRect().bottom() - 1; }
    QAccessibleInterface *items() const { return QAccessible::queryAccessibleInterface(list()); }
    std::string itemName(int index) const
    {
        return items()->child(index)->text(QAccessible::Name).toStdString();
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
    s.activeSourceText.reset(); // a translation without its source leaves the slot out
    render(s);
    EXPECT_TRUE(liveCard().startsWith(QStringLiteral("LIVE TRANSLATION | [] | Good morning")));

    // Long words wrap instead of widening the panel.
    const std::string compound(600, 'x');
    s = withCards(0);
    s.committedCards = {card("long", "Donaudampfschifffahrtskapitän" + compound, compound)};
    s.activeTranslatedText = compound;
    render(s);
    EXPECT_TRUE(emptyTitle().isEmpty());
    EXPECT_LE(list()->cardRect(0).right(), list()->viewport()->width());
    EXPECT_GT(list()->cardRect(0).height(), 150);
    EXPECT_LT(shown.view->minimumSizeHint().width(), 300);
    EXPECT_LE(live()->width(), shown.view->width());
    EXPECT_GT(live()->height(), 120);
    render(withCards(1));
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
    // The scroll bar shows over the list's padding: the cards end where the live card ends.
    ASSERT_TRUE(bar()->isVisible());
    EXPECT_EQ(list()->viewport()->mapTo(shown.view, lastCardRect().topRight()).x(),
        live()->mapTo(shown.view, live()->rect().topRight()).x());

    bar()->setValue(0);
    render(withCards(39)); // fewer cards is a change of number too
    EXPECT_EQ(newestGap(), 0);
    bar()->setValue(300);
    render(withCards(39, 100)); // the same number of other cards is not
    EXPECT_EQ(bar()->value(), 300);
    EXPECT_EQ(list()->card(0).id, "card-100");
}

TEST_F(CaptionsViewTest, ThousandsOfCardsLayOutOnlyWhatIsInViewAndKeepThePlaceOnRelayout)
{
    shown.view->setReduceMotion(true);
    render({});
    auto snapshot = withCards(10000);
    render(snapshot);
    EXPECT_EQ(list()->visibleCards().second, 10000u);
    EXPECT_LE(list()->visibleCards().second - list()->visibleCards().first, 12u);
    EXPECT_EQ(newestGap(), 0);
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
    EXPECT_GT(top, 1000u);
    EXPECT_LT(list()->visibleCards().second, 9000u);
    // Every card is an item, though only those in view are laid out.
    EXPECT_EQ(items()->childCount(), 10000);
    EXPECT_FALSE(items()->child(static_cast<int>(top))->state().offscreen);
    EXPECT_TRUE(items()->child(0)->state().offscreen);

    // Elsewhere, the card at the top stays where it is, 5 pixels of it above the view.
    bar()->setValue(bar()->value() + list()->cardRect(top).top() + 5);
    snapshot.showsSourceText = false;
    render(snapshot);
    EXPECT_EQ(list()->visibleCards().first, top);
    EXPECT_EQ(list()->cardRect(top).top(), -5);
    shown.window->resize(380, 420);
    QCoreApplication::processEvents();
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
                       "this\n\nHallo Welt\nBonjour tout le monde")); // a blank line between cards
    snapshot.committedCards.push_back(card("d", "Neu"));
    render(snapshot);
    EXPECT_TRUE(list()->selectedText().endsWith(QStringLiteral("Bonjour tout le monde")))
        << "a new card keeps the selection where it was";
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
    EXPECT_TRUE(list()->hasFocus());
    EXPECT_EQ(list()->currentItem(), 3u);
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
    const struct {
        const char *name;
        QString text;
        int unitsPerCluster; // the shown part ends between clusters
    } cases[] = {
        {"a million letters", QString(1000000, u'x'), 1},
        {"a million right-to-left letters", QString(1000000, QChar(0x0628)), 1},
        {"letters under two marks each", QStringLiteral("a\u0301\u0323").repeated(300000), 3},
        {"one letter under a million marks", u'a' + QString(1000000, QChar(0x0301)), 1},
        {"emoji outside the basic plane", QStringLiteral("\U0001F600").repeated(400000), 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const LiveTranslationCaptionText text(c.text, font, 300, 200);
        EXPECT_EQ(text.text(), c.text); // copied and selected in full
        EXPECT_TRUE(text.isCutShort());
        EXPECT_LE(text.height(), 200);
        EXPECT_LE(text.lineCount(), 9);
        EXPECT_LE(text.shownLength(), 8000);
        EXPECT_EQ(text.shownLength() % c.unitsPerCluster, 0);
    }
    const LiveTranslationCaptionText fits(
        QStringLiteral("Good morning and welcome."), font, 300, 200);
    EXPECT_FALSE(fits.isCutShort());
    EXPECT_EQ(fits.shownLength(), 25);
}

TEST_F(CaptionsViewTest, CardsAreDrawnInThePalettesColours)
{
    for (const auto &palette : {LiveTranslationPalette::light(), LiveTranslationPalette::dark()}) {
        shown.view->render(withCards(3), palette);
        const QImage image = grab(list()->viewport());
        const QRect card = list()->cardRect(1);
        // Inside, away from the texts: the surface; along the left edge: the border's stroke.
        EXPECT_EQ(pixelAt(image, QPointF(card.right() - 4, card.bottom() - 4)), palette.surface);
        EXPECT_LT(closestDistance(image,
                      QRectF(card.left(), card.center().y(), 2, 1 / image.devicePixelRatio()),
                      palette.border),
            40);
    }
}

TEST_F(CaptionsViewTest, AssistiveTechnologyReadsOneListOfTheCardsAndTheLiveCard)
{
    render({});
    QAccessibleInterface *root = items();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->role(), QAccessible::List);
    EXPECT_EQ(root->text(QAccessible::Name), QStringLiteral("Live translation captions"));
    ASSERT_EQ(root->childCount(), 1); // the empty state
    EXPECT_EQ(root->indexOfChild(root->child(0)), 0);

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
    QAccessibleInterface *liveWidget = QAccessible::queryAccessibleInterface(live());
    EXPECT_TRUE(liveWidget->state().invisible);
    EXPECT_TRUE(liveWidget->text(QAccessible::Name).isEmpty());

    // Hidden originals leave every source out.
    snapshot.showsSourceText = false;
    render(snapshot);
    EXPECT_LT(list()->cardRect(0).height(), withSources);
    EXPECT_EQ(itemName(0), "Translated sentence number 0 reads like this, 20:26");
    EXPECT_EQ(itemName(3), "Listening, Waiting for translation…");
    list()->selectAll();
    EXPECT_FALSE(list()->selectedText().contains(QStringLiteral("Originalsatz")));
    EXPECT_EQ(list()->selectedText().count(QStringLiteral("Translated")), 3);

    // A card keeps its interface as it moves; its place follows.
    snapshot.showsSourceText = true;
    snapshot.committedCards.erase(snapshot.committedCards.begin());
    render(snapshot);
    EXPECT_EQ(root->indexOfChild(card), 1);
    EXPECT_EQ(root->indexOfChild(root->child(2)), 2);
    EXPECT_EQ(root->child(2)->role(), QAccessible::ListItem); // the live card

    // Host texts are plain text; of each, what is read ends after 4,096 units with an ellipsis.
    snapshot.committedCards.push_back(viewtest::card("m", "<b>bold</b> &amp;", "<i>source</i>"));
    snapshot.committedCards.push_back(viewtest::card("huge", std::string(1000000, 'y'), "Hallo"));
    snapshot.activeTranslatedText = "<h1>" + std::string(5000, 'z');
    render(snapshot);
    EXPECT_EQ(itemName(2), "<b>bold</b> &amp;, <i>source</i>, 20:26");
    EXPECT_EQ(root->child(3)->text(QAccessible::Name).left(4104),
        QString(4096, u'y') + QStringLiteral("…, Hallo"));
    EXPECT_EQ(root->child(4)->text(QAccessible::Name),
        QStringLiteral("Live translation, <h1>") + QString(4092, u'z')
            + QStringLiteral("…, Quelle"));
}

TEST_F(CaptionsViewTest, KeysMoveTheCurrentCardWhichIsRingedScrolledIntoViewAndFocused)
{
    shown.view->setReduceMotion(true);
    auto snapshot = withCards(30);
    snapshot.isSessionActive = true;
    render(snapshot);
    QSignalSpy moves(list(), &LiveTranslationCaptionList::currentItemChanged);
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
    for (const auto key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_End})
        QTest::keyClick(list(), key);
    EXPECT_TRUE(live()->showsFocusRing()); // the live card, after the newest
    QTest::keyClick(list(), Qt::Key_Up);
    EXPECT_FALSE(live()->showsFocusRing());
    EXPECT_LE(list()->cardRect(29).bottom() + 1, list()->viewport()->height());
    QTest::keyClick(list(), Qt::Key_PageUp);
    const std::size_t current = *list()->currentItem();
    EXPECT_LT(current, 28u);
    EXPECT_GE(list()->cardRect(current).top(), 0);
    // Each move is reported, so that the screen reader reads the card.
    std::vector<std::size_t> reported;
    for (const auto &arguments : moves)
        reported.push_back(arguments.at(0).value<std::size_t>());
    EXPECT_EQ(reported, (std::vector<std::size_t> {0, 1, 2, 1, 30, 29, current}));

    // New cards before and after keep the same card current.
    snapshot.committedCards.front() = card("new", "Neu");
    snapshot.committedCards.push_back(card("newest", "Neueste"));
    render(snapshot);
    EXPECT_EQ(list()->card(*list()->currentItem()).id, "card-" + std::to_string(current));
    // The live card stays current as cards arrive before it.
    QTest::keyClick(list(), Qt::Key_End);
    EXPECT_EQ(list()->currentItem(), 31u);
    snapshot.committedCards.push_back(card("after", "Danach"));
    render(snapshot);
    EXPECT_EQ(list()->currentItem(), 32u);
    EXPECT_TRUE(live()->showsFocusRing());
}

} // namespace
