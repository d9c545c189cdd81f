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

const LiveTranslationPalette kPalette = LiveTranslationPalette::light();

class CaptionsViewTest : public ::testing::Test {
protected:
    void render(const LiveTranslationHelperSnapshot &snapshot)
    {
        shown.view->render(snapshot, kPalette);
        QCoreApplication::processEvents();
    }
    LiveTranslationCaptionList *list() const { return shown.view->list(); }
    LiveTranslationActiveCard *activeCard() const { return shown.view->activeCard(); }
    bool activeSectionShown() const { return activeCard()->isVisible(); }
    QString emptyTitle() const
    {
        auto *empty = list()->findChild<LiveTranslationCaptionsEmptyState *>();
        return empty && empty->isVisible() ? empty->title() : QString();
    }
    int scrollValue() const { return list()->verticalScrollBar()->value(); }
    QRect lastCardRect() const { return list()->cardRect(list()->cardCount() - 1); }
    int viewportHeight() const { return list()->viewport()->height(); }
    QAccessibleInterface *listInterface() const
    {
        return QAccessible::queryAccessibleInterface(list());
    }
    std::string itemName(int index) const
    {
        return listInterface()->child(index)->text(QAccessible::Name).toStdString();
    }

    ShownColumn shown;
};

TEST_F(CaptionsViewTest, EmptyStateAndActiveSectionFollowTheSession)
{
    LiveTranslationHelperSnapshot snapshot;
    render(snapshot);
    EXPECT_EQ(emptyTitle(), QStringLiteral("Ready when the conversation starts"));
    EXPECT_FALSE(activeSectionShown());

    snapshot.isSessionActive = true;
    render(snapshot);
    EXPECT_EQ(emptyTitle(), QStringLiteral("Listening for the first phrase…"));
    EXPECT_TRUE(activeSectionShown());
    EXPECT_EQ(activeCard()->content().header, QStringLiteral("LISTENING"));

    // A source being recognised replaces the empty state, even before it has any text.
    snapshot.isSessionActive = false;
    snapshot.activeSourceText = "";
    render(snapshot);
    EXPECT_TRUE(emptyTitle().isEmpty());
    EXPECT_TRUE(activeSectionShown());

    render(withCards(1));
    EXPECT_TRUE(emptyTitle().isEmpty());
    EXPECT_FALSE(activeSectionShown());
}

TEST_F(CaptionsViewTest, PresentButEmptyTranslationShowsTheWaitingCard)
{
    LiveTranslationHelperSnapshot snapshot;
    snapshot.activeTranslatedText = "";
    render(snapshot);
    EXPECT_TRUE(activeSectionShown());
    const auto &content = activeCard()->content();
    EXPECT_EQ(content.header, QStringLiteral("LISTENING"));
    EXPECT_FALSE(content.translationIsText);
    EXPECT_EQ(content.translation, QStringLiteral("Waiting for the next phrase…"));
    EXPECT_EQ(content.source, QStringLiteral("The matching original phrase will appear here."));
    EXPECT_EQ(
        content.note, QStringLiteral("The next original and translation will stay together here."));
}

TEST_F(CaptionsViewTest, ActiveCardSlotsByTheTextsThatArrived)
{
    LiveTranslationHelperSnapshot snapshot;
    snapshot.isSessionActive = true;
    snapshot.activeSourceText = "Guten Morgen";
    render(snapshot);
    auto content = activeCard()->content();
    EXPECT_EQ(content.source, QStringLiteral("Guten Morgen"));
    EXPECT_TRUE(content.sourceIsText);
    EXPECT_EQ(content.header, QStringLiteral("LISTENING"));

    snapshot.activeTranslatedText = "Good morning";
    render(snapshot);
    content = activeCard()->content();
    EXPECT_EQ(content.header, QStringLiteral("LIVE TRANSLATION"));
    EXPECT_EQ(content.translation, QStringLiteral("Good morning"));
    EXPECT_EQ(content.note, QStringLiteral("Hearing more · preparing the next matched update…"));
    EXPECT_EQ(itemName(0), "Live translation, Good morning, Guten Morgen");

    // A translation without its source leaves the source slot out instead of promising it.
    snapshot.activeSourceText.reset();
    render(snapshot);
    EXPECT_TRUE(activeCard()->content().source.isEmpty());
}

TEST_F(CaptionsViewTest, HiddenOriginalsLeaveEverySourceOut)
{
    auto snapshot = withCards(3);
    snapshot.isSessionActive = true;
    snapshot.activeSourceText = "Quelle";
    render(snapshot);
    const int withSources = list()->cardRect(0).height();
    ASSERT_EQ(listInterface()->childCount(), 4); // the cards, then the live card
    EXPECT_EQ(
        itemName(0), "Translated sentence number 0 reads like this, Originalsatz Nummer 0, 20:26");
    EXPECT_EQ(itemName(3), "Listening, Waiting for the next phrase…, Quelle");

    snapshot.showsSourceText = false;
    render(snapshot);
    EXPECT_LT(list()->cardRect(0).height(), withSources);
    EXPECT_EQ(itemName(0), "Translated sentence number 0 reads like this, 20:26");
    EXPECT_EQ(itemName(3), "Listening, Waiting for translation…");
    EXPECT_TRUE(activeCard()->content().source.isEmpty());
    EXPECT_EQ(activeCard()->content().translation, QStringLiteral("Waiting for translation…"));

    list()->selectAll();
    EXPECT_EQ(list()->selectedText().count(QStringLiteral("Originalsatz")), 0);
    EXPECT_EQ(list()->selectedText().count(QStringLiteral("Translated")), 3);
}

TEST_F(CaptionsViewTest, AnotherNumberOfCardsScrollsToTheNewestAtOnceWithReducedMotion)
{
    shown.view->setReduceMotion(true);
    render(withCards(40));
    EXPECT_EQ(scrollValue(), 0) << "the first appearance does not scroll";

    auto snapshot = withCards(41);
    snapshot.isSessionActive = true;
    render(snapshot);
    EXPECT_FALSE(list()->isScrolling());
    EXPECT_GT(scrollValue(), 0);
    EXPECT_EQ(lastCardRect().bottom() + 1, viewportHeight());
    // The scroll bar shows over the list's padding: the cards end where the live card ends.
    ASSERT_TRUE(list()->verticalScrollBar()->isVisible());
    EXPECT_EQ(list()->viewport()->mapTo(shown.view, lastCardRect().topRight()).x(),
        activeCard()->mapTo(shown.view, activeCard()->rect().topRight()).x());

    // Fewer cards is a change of number too.
    list()->verticalScrollBar()->setValue(0);
    render(withCards(39));
    EXPECT_EQ(lastCardRect().bottom() + 1, viewportHeight());

    // The same number of other cards is not.
    render(withCards(40));
    list()->verticalScrollBar()->setValue(300);
    render(withCards(40, 100));
    EXPECT_EQ(scrollValue(), 300);
    EXPECT_EQ(list()->card(0).id, "card-100");
}

TEST_F(CaptionsViewTest, MoreCardsEaseToTheNewest)
{
    render(withCards(40));
    render(withCards(42));
    EXPECT_TRUE(list()->isScrolling());
    QTRY_VERIFY(!list()->isScrolling());
    EXPECT_EQ(lastCardRect().bottom() + 1, viewportHeight());
}

TEST_F(CaptionsViewTest, ThousandsOfCardsLayOutOnlyWhatIsInView)
{
    shown.view->setReduceMotion(true);
    render({});
    render(withCards(10000));
    const auto [first, last] = list()->visibleCards();
    EXPECT_EQ(last, 10000u);
    EXPECT_LE(last - first, 12u);
    EXPECT_EQ(lastCardRect().bottom() + 1, viewportHeight());

    // Estimated heights settle as cards come into view; the ends stay exact.
    list()->verticalScrollBar()->setValue(0);
    EXPECT_EQ(list()->cardRect(0).top(), 12);
    list()->verticalScrollBar()->setValue(list()->verticalScrollBar()->maximum() / 2);
    const auto middle = list()->visibleCards();
    EXPECT_GT(middle.first, 1000u);
    EXPECT_LT(middle.second, 9000u);
    // Every card is an item, though only those in view are laid out.
    EXPECT_EQ(listInterface()->childCount(), 10000);
    EXPECT_FALSE(listInterface()->child(static_cast<int>(middle.first))->state().offscreen);
    EXPECT_TRUE(listInterface()->child(0)->state().offscreen);
}

TEST_F(CaptionsViewTest, HidingOriginalsOrResizingKeepsThePlaceInTheHistory)
{
    shown.view->setReduceMotion(true);
    render({});
    auto snapshot = withCards(2000);
    render(snapshot);
    // At the newest card, the newest card stays in view.
    snapshot.showsSourceText = false;
    render(snapshot);
    EXPECT_EQ(lastCardRect().bottom() + 1, viewportHeight());
    snapshot.showsSourceText = true;
    render(snapshot);
    EXPECT_EQ(lastCardRect().bottom() + 1, viewportHeight());

    // Elsewhere, the card at the top stays at the top.
    list()->verticalScrollBar()->setValue(list()->verticalScrollBar()->maximum() / 2);
    const std::size_t top = list()->visibleCards().first;
    snapshot.showsSourceText = false;
    render(snapshot);
    EXPECT_EQ(list()->visibleCards().first, top);
    EXPECT_LE(list()->cardRect(top).top(), 12);
    shown.window->resize(380, 420);
    QCoreApplication::processEvents();
    EXPECT_EQ(list()->visibleCards().first, top);
    EXPECT_GT(list()->cardRect(top).bottom(), 0);
}

TEST_F(CaptionsViewTest, DraggingSelectsACardsTextsAndTheCopyShortcutCopiesThem)
{
    auto snapshot = withCards(2);
    snapshot.committedCards[1] = card("c", "Bonjour tout le monde", "Hallo Welt");
    render(snapshot);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    const QRect second = list()->cardRect(1);
    QWidget *viewport = list()->viewport();
    // From the header (the start of the first text) to the bottom corner (the end of the last).
    QTest::mousePress(viewport, Qt::LeftButton, {}, second.topLeft() + QPoint(20, 8));
    QTest::mouseMove(viewport, second.bottomRight() - QPoint(4, 4));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, second.bottomRight() - QPoint(4, 4));
    EXPECT_EQ(list()->selectedText(), QStringLiteral("Hallo Welt\nBonjour tout le monde"));
    QTest::keyClick(list(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(
        QGuiApplication::clipboard()->text(), QStringLiteral("Hallo Welt\nBonjour tout le monde"));

    // Across cards: one blank line between them.
    const QRect first = list()->cardRect(0);
    QTest::mousePress(viewport, Qt::LeftButton, {}, first.topLeft() + QPoint(20, 8));
    QTest::mouseMove(viewport, second.bottomRight() - QPoint(4, 4));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, second.bottomRight() - QPoint(4, 4));
    EXPECT_EQ(list()->selectedText(),
        QStringLiteral("Originalsatz Nummer 0\nTranslated sentence number 0 reads like "
                       "this\n\nHallo Welt\nBonjour tout le monde"));

    // A new card keeps the selection where it was.
    snapshot.committedCards.push_back(card("d", "Neu"));
    render(snapshot);
    EXPECT_TRUE(list()->selectedText().endsWith(QStringLiteral("Bonjour tout le monde")));

    // A double click selects one word.
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, second.bottomLeft() + QPoint(16, -16));
    EXPECT_EQ(list()->selectedText(), QStringLiteral("Bonjour"));
}

TEST_F(CaptionsViewTest, TheLiveCardsTextsAreSelectableToo)
{
    auto snapshot = withCards(1);
    snapshot.isSessionActive = true;
    snapshot.activeSourceText = "Wie geht es";
    snapshot.activeTranslatedText = "How are you";
    render(snapshot);
    shown.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(shown.window.get()));
    // A click on a card gives the list the focus with that card current: the card is read.
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, list()->cardRect(0).center());
    EXPECT_TRUE(list()->hasFocus());
    EXPECT_EQ(list()->currentItem(), 0u);
    LiveTranslationActiveCard *card = activeCard();
    const QPoint end(card->width() - 4, card->height() - 4);
    QTest::mousePress(card, Qt::LeftButton, {}, QPoint(16, 4));
    QTest::mouseMove(card, end);
    QTest::mouseRelease(card, Qt::LeftButton, {}, end);
    EXPECT_TRUE(list()->hasFocus());
    EXPECT_EQ(list()->currentItem(), 1u);
    EXPECT_EQ(card->selectedText(), QStringLiteral("Wie geht es\nHow are you"));
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    QTest::keyClick(list(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Wie geht es\nHow are you"));

    // As the host hears more, the selected words stay selected; a revision drops the selection.
    snapshot.activeTranslatedText = "How are you today";
    render(snapshot);
    EXPECT_EQ(card->selectedText(), QStringLiteral("Wie geht es\nHow are you"));
    snapshot.activeSourceText = "Wie war es";
    render(snapshot);
    EXPECT_TRUE(card->selectedText().isEmpty());
}

TEST_F(CaptionsViewTest, HostTextIsShownAsPlainTextNeverAsMarkup)
{
    const std::string markup = "<b>bold</b> &amp; <a href=\"x\">link</a>";
    auto snapshot = withCards(0);
    snapshot.committedCards.push_back(card("m", markup, "<i>source</i>"));
    snapshot.activeTranslatedText = "<h1>live</h1>";
    render(snapshot);
    ASSERT_EQ(listInterface()->childCount(), 2);
    EXPECT_EQ(itemName(0), markup + ", <i>source</i>, 20:26");
    list()->selectAll();
    EXPECT_EQ(
        list()->selectedText(), QStringLiteral("<i>source</i>\n") + QString::fromStdString(markup));
    EXPECT_EQ(itemName(1), "Live translation, <h1>live</h1>");
}

TEST_F(CaptionsViewTest, LongWordsWrapInsteadOfWideningThePanel)
{
    const std::string compound(600, 'x');
    auto snapshot = withCards(0);
    snapshot.committedCards.push_back(
        card("long", "Donaudampfschifffahrtsgesellschaftskapitän" + compound, compound));
    snapshot.activeTranslatedText = compound;
    render(snapshot);
    EXPECT_LE(list()->cardRect(0).right(), list()->viewport()->width());
    EXPECT_GT(list()->cardRect(0).height(), 150);
    EXPECT_LT(shown.view->minimumSizeHint().width(), 300);
    EXPECT_LE(activeCard()->width(), shown.view->width());
    EXPECT_GT(activeCard()->height(), 120);
}

TEST(CaptionsText, OnlyWhatFitsTheHeightIsLaidOutAndNoClusterIsSplit)
{
    const QFont font = LiveTranslationCaptionFonts::fromApplication().translation;
    const auto repeated = [](const QString &unit, int times) { return unit.repeated(times); };
    struct Case {
        const char *name;
        QString text;
        bool cutShort;
        int unitsPerCluster; // the shown part ends between clusters
    };
    const Case cases[] = {
        {"a million letters", QString(1000000, u'x'), true, 1},
        {"a million right-to-left letters", QString(1000000, QChar(0x0628)), true, 1},
        {"letters under two marks each", repeated(QStringLiteral("a\u0301\u0323"), 300000), true,
            3},
        {"one letter under a million marks", u'a' + QString(1000000, QChar(0x0301)), true, 1},
        {"emoji outside the basic plane", repeated(QStringLiteral("\U0001F600"), 400000), true, 2},
        {"words that fit", QStringLiteral("Good morning and welcome."), false, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const LiveTranslationCaptionText text(c.text, font, 300, 200);
        EXPECT_EQ(text.text(), c.text); // copied and selected in full
        EXPECT_EQ(text.isCutShort(), c.cutShort);
        EXPECT_LE(text.height(), 200);
        EXPECT_LE(text.lineCount(), 9);
        EXPECT_LE(text.shownLength(), c.cutShort ? 8000 : c.text.size());
        EXPECT_EQ(text.shownLength() % c.unitsPerCluster, 0);
    }
}

TEST_F(CaptionsViewTest, CardsAreDrawnInThePalettesColours)
{
    for (const auto &palette : {LiveTranslationPalette::light(), LiveTranslationPalette::dark()}) {
        shown.view->render(withCards(3), palette);
        const QImage image = grab(list()->viewport());
        const QRect card = list()->cardRect(1);
        // Inside, away from the texts: the surface.
        EXPECT_EQ(pixelAt(image, QPointF(card.right() - 4, card.bottom() - 4)), palette.surface);
        // Along the left edge, half way down: the border's stroke.
        EXPECT_LT(closestDistance(image,
                      QRectF(card.left(), card.center().y(), 2, 1 / image.devicePixelRatio()),
                      palette.border),
            40);
    }
}

TEST_F(CaptionsViewTest, AssistiveTechnologyReadsOneListOfTheCardsAndTheLiveCard)
{
    render({});
    QAccessibleInterface *list = listInterface();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::List);
    EXPECT_EQ(list->text(QAccessible::Name), QStringLiteral("Live translation captions"));
    ASSERT_EQ(list->childCount(), 1); // the empty state
    EXPECT_EQ(list->indexOfChild(list->child(0)), 0);

    auto snapshot = withCards(3);
    snapshot.isSessionActive = true;
    render(snapshot);
    ASSERT_EQ(list->childCount(), 4);
    QAccessibleInterface *card = list->child(2);
    EXPECT_EQ(card->role(), QAccessible::ListItem);
    EXPECT_EQ(card->parent(), list);
    EXPECT_EQ(list->indexOfChild(card), 2);
    EXPECT_EQ(list->child(2), card);
    const QRect onScreen = card->rect();
    EXPECT_EQ(list->childAt(onScreen.center().x(), onScreen.center().y()), card);
    // A card keeps its interface as it moves; its place follows.
    snapshot.committedCards.erase(snapshot.committedCards.begin());
    render(snapshot);
    EXPECT_EQ(list->indexOfChild(card), 1);
    EXPECT_EQ(
        card->text(QAccessible::Name).left(29), QStringLiteral("Translated sentence number 2 "));
    QAccessibleInterface *live = list->child(2);
    EXPECT_EQ(live->role(), QAccessible::ListItem);
    EXPECT_EQ(list->indexOfChild(live), 2);
    // The live card's own widget is not a second copy of it.
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(activeCard())->state().invisible);
    EXPECT_TRUE(
        QAccessible::queryAccessibleInterface(activeCard())->text(QAccessible::Name).isEmpty());

    // Of each text, what is read ends after 4,096 units with an ellipsis.
    snapshot.committedCards.push_back(viewtest::card("huge", std::string(1000000, 'y'), "Hallo"));
    snapshot.activeTranslatedText = std::string(5000, 'z');
    render(snapshot);
    EXPECT_EQ(list->child(2)->text(QAccessible::Name).left(4104),
        QString(4096, u'y') + QStringLiteral("…, Hallo"));
    const QString liveName = list->child(3)->text(QAccessible::Name);
    EXPECT_TRUE(liveName.endsWith(QString(4096, u'z') + QStringLiteral("…"))) << liveName.size();
}

TEST_F(CaptionsViewTest, KeysMoveTheCurrentCardWhichIsRingedScrolledIntoViewAndFocused)
{
    shown.view->setReduceMotion(true);
    auto snapshot = withCards(30);
    snapshot.isSessionActive = true;
    render(snapshot);
    QSignalSpy focused(list(), &LiveTranslationCaptionList::currentItemChanged);
    const QImage unfocused = grab(list()->viewport());
    shown.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(shown.window.get()));
    list()->clearFocus();
    list()->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    EXPECT_NE(grab(list()->viewport()), unfocused) << "a ring shows the list's focus";

    QTest::keyClick(list(), Qt::Key_Home);
    EXPECT_EQ(list()->currentItem(), 0u);
    EXPECT_EQ(list()->cardRect(0).top(), 12);
    EXPECT_TRUE(listInterface()->child(0)->state().focused);
    // Assistive technology hears which cards are off the screen: the first below the view is.
    int below = 0;
    while (list()->cardRect(below).top() < viewportHeight())
        ++below;
    EXPECT_FALSE(listInterface()->child(below - 1)->state().offscreen);
    EXPECT_TRUE(listInterface()->child(below)->state().offscreen);
    QTest::keyClick(list(), Qt::Key_Down);
    QTest::keyClick(list(), Qt::Key_Down);
    QTest::keyClick(list(), Qt::Key_Up);
    EXPECT_EQ(list()->currentItem(), 1u);
    QTest::keyClick(list(), Qt::Key_End);
    EXPECT_EQ(list()->currentItem(), 30u); // the live card, after the newest
    EXPECT_TRUE(activeCard()->showsFocusRing());
    QTest::keyClick(list(), Qt::Key_Up);
    EXPECT_EQ(list()->currentItem(), 29u);
    EXPECT_FALSE(activeCard()->showsFocusRing());
    EXPECT_LE(list()->cardRect(29).bottom() + 1, viewportHeight());
    QTest::keyClick(list(), Qt::Key_PageUp);
    EXPECT_LT(*list()->currentItem(), 28u);
    EXPECT_GE(list()->cardRect(*list()->currentItem()).top(), 0);
    // Each move is reported, so that the screen reader reads the card.
    std::vector<std::size_t> moves;
    for (const auto &arguments : focused)
        moves.push_back(arguments.at(0).value<std::size_t>());
    EXPECT_EQ(moves, (std::vector<std::size_t> {0, 1, 2, 1, 30, 29, *list()->currentItem()}));

    // A new card keeps the same card current.
    snapshot.committedCards.insert(snapshot.committedCards.begin(), card("new", "Neu"));
    snapshot.committedCards.erase(snapshot.committedCards.begin() + 1);
    const std::string currentId = list()->card(*list()->currentItem()).id;
    snapshot.committedCards.push_back(card("newest", "Neueste"));
    render(snapshot);
    EXPECT_EQ(list()->card(*list()->currentItem()).id, currentId);

    // The live card stays current as cards arrive before it.
    QTest::keyClick(list(), Qt::Key_End);
    EXPECT_EQ(list()->currentItem(), 31u);
    snapshot.committedCards.push_back(card("after", "Danach"));
    render(snapshot);
    EXPECT_EQ(list()->currentItem(), 32u);
    EXPECT_TRUE(activeCard()->showsFocusRing());
}

} // namespace
