#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <utility>

#include <QAbstractScrollArea>
#include <QPointer>

#include "captions/entries.hpp"
#include "captions/selection.hpp"
#include "captions/text.hpp"
#include "common/button_styles.hpp"
#include "common/palette.hpp"
#include "wire_types.hpp"

class QVariantAnimation;
class LiveTranslationActiveCard;
class LiveTranslationCaptionsEmptyState;

// The viewport of the caption list, where the list paints its cards.
class LiveTranslationCaptionViewport final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationCaptionViewport)

public:
    explicit LiveTranslationCaptionViewport(QWidget *parent = nullptr);
};

// The scrolling list of committed cards, oldest first, with the empty state when there are none.
// Only the cards in view are laid out and painted; every other card is a height, measured once it
// has been seen at the current width and estimated until then. The texts are selectable with the
// mouse and copied with the keyboard's copy shortcut. When the number of cards changes, the list
// scrolls to the newest card. By keyboard the list is one stop whose arrow, page and Home/End
// keys move a current card, the live card below the list coming after the newest; assistive
// technology reads the cards and the live card as the items of one list.
class LiveTranslationCaptionList final : public QAbstractScrollArea,
                                         private LiveTranslationSelectableTexts {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationCaptionList)

public:
    explicit LiveTranslationCaptionList(QWidget *parent = nullptr);
    ~LiveTranslationCaptionList() override;

    void render(
        const LiveTranslationHelperSnapshot &snapshot, const LiveTranslationPalette &palette);
    void setReduceMotion(bool reduceMotion) { m_reduceMotion = reduceMotion; }

    // The cards in view, as [first, last), and where each is in viewport coordinates.
    std::pair<std::size_t, std::size_t> visibleCards() const { return m_visible; }
    std::size_t cardCount() const { return m_entries.size(); }
    const LiveTranslationHelperCommittedCard &card(std::size_t index) const
    {
        return m_entries.card(index);
    }
    QRect cardRect(std::size_t index);
    bool showsSourceText() const { return m_showsSource; }
    QWidget *emptyState() const;

    QString selectedText() const { return m_selector.selectedText(); }
    void selectAll() { m_selector.selectAll(); }
    bool isScrolling() const;

    // The live card below the list, the list's last item while it shows.
    void setLiveCard(LiveTranslationActiveCard *card);
    LiveTranslationActiveCard *liveCard() const;
    void setLiveCardShown(bool shown);
    bool isLiveCardShown() const { return liveCard() && m_liveCardShown; }
    // The items by keyboard: the cards, then the live card while it shows.
    std::size_t itemCount() const { return cardCount() + (isLiveCardShown() ? 1 : 0); }
    std::optional<std::size_t> currentItem() const { return m_current; }
    void setCurrentItem(std::size_t item);
    // A click on an item: the list takes the focus with that item current.
    void makeCurrentByMouse(std::size_t item);
    bool showsFocusRing() const { return m_focusRing.visible(this); }

signals:
    // The cards changed; assistive technology forgets the ones that are gone.
    void cardsChanged();
    // The current item moved while the list has focus; assistive technology reads it.
    void currentItemChanged(std::size_t item);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    struct CachedLayout {
        LiveTranslationHelperCommittedCard card;
        std::unique_ptr<LiveTranslationCommittedCardLayout> layout;
        quint64 generation = 0;
        quint64 usedInPass = 0;
    };

    const LiveTranslationCommittedCardLayout &layoutFor(std::size_t index);
    void releaseUnusedLayouts();
    void relayout(); // width, fonts or source texts changed
    void layoutVisibleCards();
    void updateScrollRange();
    void overlayScrollBar();
    void placeEmptyState();
    void applyPalette();
    void keepSelection(const LiveTranslationCaptionEntries::Update &update);

    qreal cardWidth() const;
    qreal maxTextHeight() const;
    qreal contentHeight();
    qreal contentTop(std::size_t index) { return kPadding + m_entries.top(index); }
    int newestCardScrollValue();
    bool isAtNewestCard();
    void scrollToNewestCard();
    void stopScrolling();
    void applyScrollProgress(qreal progress);
    void setScrollValue(qreal value);

    std::optional<Position> selectablePositionAt(QPointF viewportPoint) override;
    QString selectableText(std::size_t card, int block) const override;
    std::size_t selectableCardCount() const override;
    void selectionChanged() override;
    bool moveCurrentItem(const QKeyEvent *event);
    void keepCurrentItem(const LiveTranslationCaptionEntries::Update &update, std::size_t oldCount);
    void scrollCardIntoView(std::size_t index);
    void showCurrentItem();
    void paintFocusRings(QPainter &painter);

    static constexpr qreal kPadding = 12;
    static constexpr qreal kSpacing = 9;

    LiveTranslationCaptionEntries m_entries;
    LiveTranslationCaptionFonts m_fonts;
    LiveTranslationPalette m_palette;
    std::unordered_map<std::string, CachedLayout> m_layouts;
    quint64 m_layoutGeneration = 1;
    quint64 m_pass = 0;
    std::pair<std::size_t, std::size_t> m_visible {0, 0};
    LiveTranslationCaptionsEmptyState *m_emptyState = nullptr;
    bool m_showsEmptyState = false;
    bool m_showsSource = true;
    bool m_rendered = false;
    bool m_reduceMotion = false;
    bool m_inLayout = false;
    bool m_atNewestCard = true;

    QVariantAnimation *m_scroll = nullptr;
    qreal m_scrollStart = 0;

    LiveTranslationCaptionSelector m_selector {*this};

    QPointer<LiveTranslationActiveCard> m_liveCard;
    bool m_liveCardShown = false;
    std::optional<std::size_t> m_current;
    buttonlook::FocusRing m_focusRing;
};
