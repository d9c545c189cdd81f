#pragma once

#include <algorithm>
#include <compare>
#include <cstddef>
#include <optional>
#include <utility>

#include <QCoreApplication>
#include <QPointF>
#include <QString>

class QContextMenuEvent;
class QKeyEvent;
class QMouseEvent;
class QWidget;

// A position in a caption's texts: the card (0 for the live card), which text, which character.
struct LiveTranslationCaptionTextPosition {
    enum Block : int { source = 0, translation = 1 };

    std::size_t card = 0;
    int block = source;
    int offset = 0; // UTF-16 position, 0..length

    // NOLINTNEXTLINE(modernize-use-nullptr): a false positive on a defaulted comparison
    auto operator<=>(const LiveTranslationCaptionTextPosition &) const = default;
};

// The text the user selected: from an anchor to where the mouse is.
class LiveTranslationCaptionSelection final {
public:
    using Position = LiveTranslationCaptionTextPosition;

    bool isEmpty() const { return m_anchor == m_focus; }
    void clear() { m_anchor = m_focus = {}; }
    void select(Position anchor, Position focus)
    {
        m_anchor = anchor;
        m_focus = focus;
    }
    void extendTo(Position focus) { m_focus = focus; }
    Position anchor() const { return m_anchor; }
    Position focus() const { return m_focus; }
    Position start() const { return std::min(m_anchor, m_focus); }
    Position end() const { return std::max(m_anchor, m_focus); }

    // The selected part [from, to) of one text of one card, if any.
    std::optional<std::pair<int, int>> rangeIn(std::size_t card, int block, int length) const;

private:
    Position m_anchor;
    Position m_focus;
};

// What a widget with selectable caption texts tells its selector.
class LiveTranslationSelectableTexts {
public:
    using Position = LiveTranslationCaptionTextPosition;

    // The position of the selectable text nearest to a point in the widget, if there is one.
    virtual std::optional<Position> selectablePositionAt(QPointF point) = 0;
    // One text of one card as it can be selected; empty when it is not shown or a placeholder.
    virtual QString selectableText(std::size_t card, int block) const = 0;
    virtual std::size_t selectableCardCount() const = 0;
    // The selection changed: repaint.
    virtual void selectionChanged() = 0;

protected:
    ~LiveTranslationSelectableTexts() = default;
};

// Mouse and keyboard selection of caption texts, shared by the caption list and the live card:
// a press starts it, a drag extends it, a shift-press extends it, a double click takes a word;
// each of those ends by offering the text as the X primary selection. The copy shortcut and the
// context menu copy it to the clipboard as plain text: the texts of one card joined by a line
// break, cards by a blank line.
class LiveTranslationCaptionSelector final {
    Q_DECLARE_TR_FUNCTIONS(LiveTranslationCaptionSelector)

public:
    using Position = LiveTranslationCaptionTextPosition;

    explicit LiveTranslationCaptionSelector(LiveTranslationSelectableTexts &texts);

    LiveTranslationCaptionSelection &selection() { return m_selection; }
    const LiveTranslationCaptionSelection &selection() const { return m_selection; }
    bool isSelecting() const { return m_selecting; }

    QString selectedText() const;
    void selectAll();
    void copy() const;

    void press(const QMouseEvent *event);
    // While a press selects: extends the selection to the point.
    bool move(QPointF point);
    // Ends a selecting press; false when there was none.
    bool release(const QMouseEvent *event);
    bool doubleClick(const QMouseEvent *event);
    // The copy and select-all shortcuts; false for other keys.
    bool handleKey(const QKeyEvent *event);
    void showContextMenu(QWidget *owner, const QContextMenuEvent *event);

private:
    void offerPrimarySelection() const;

    LiveTranslationSelectableTexts &m_texts;
    LiveTranslationCaptionSelection m_selection;
    bool m_selecting = false;
};
