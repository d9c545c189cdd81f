#pragma once

#include <functional>
#include <vector>

#include <QPointer>
#include <QScrollArea>

#include "common/palette.hpp"

// A vertical list that builds only the entries in view (and a little ahead), so that a list of
// thousands costs only the rows on screen: scrolling, binding again and finding an entry look at
// the built entries only. Entries are widgets made by a factory and bound to an
// index; entries that scroll far out of view are hidden and reused.
//
// Keyboard: the list is one Tab stop that hands the focus to an entry, the chosen one (the first
// when none is chosen); the arrow keys, Home, End, Page Up and Page Down move between entries,
// building them as needed, and Tab and Shift+Tab leave the list. Text typed on an entry goes to
// the typing target when there is one. An entry takes focus through its focus proxy when it has
// one.
class LiveTranslationLazyList final : public QScrollArea {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LiveTranslationLazyList)

public:
    using MakeEntry = std::function<QWidget *(QWidget *parent)>;
    using BindEntry = std::function<void(QWidget *entry, int index)>;

    explicit LiveTranslationLazyList(MakeEntry make, BindEntry bind, QWidget *parent = nullptr);

    void setPadding(int horizontal) { m_padding = horizontal; }
    void setSpacing(int spacing) { m_spacing = spacing; }
    // Room below the last entry, so that it does not touch what follows the list.
    void setEndPadding(int padding) { m_endPadding = padding; }
    void setColors(const LiveTranslationPalette &palette);

    // Sets the entries by their heights; built entries are bound again to their new index.
    void setEntries(std::vector<int> heights);
    // Binds every built entry again (for a change of marks that leaves the heights).
    void rebindAll();
    int count() const { return int(m_heights.size()); }

    // The entry at index when it is built, null otherwise.
    QWidget *entryAt(int index) const;
    int builtCount() const;
    int indexOf(const QWidget *widget) const; // of the entry holding widget, -1 when none

    // What assistive technology calls the entry at index while it is not built.
    using NameEntry = std::function<QString(int index)>;
    void setEntryNames(NameEntry name) { m_name = std::move(name); }
    QString entryName(int index) const { return m_name ? m_name(index) : QString(); }

    // The entry Tab-less focus lands on when the list gets it (-1: the first).
    void setPreferredEntry(int index) { m_preferred = index; }
    // Where text typed on an entry goes, with the focus (a search field); none when null.
    void setTypingTarget(QWidget *target) { m_typingTarget = target; }
    enum class ScrollHint { nearest, centre };
    // Scrolls the least that shows the entry, or puts it in the middle; nothing when it shows.
    void scrollToEntry(int index, ScrollHint hint = ScrollHint::nearest);
    void focusEntry(int index, Qt::FocusReason reason);

protected:
    bool focusNextPrevChild(bool next) override;
    void focusInEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void layoutEntries();
    void buildVisible();
    QWidget *buildEntry(int index);
    void releaseEntry(int index);
    int entryTop(int index) const { return m_tops[std::size_t(index)]; }
    int focusedIndex() const;
    bool moveFocus(int from, bool next, Qt::FocusReason reason);
    int pageFrom(int index, bool down) const;
    bool forwardTyping(QKeyEvent *event);
    bool leaveList(bool next);

    MakeEntry m_make;
    BindEntry m_bind;
    NameEntry m_name;
    QWidget *m_canvas;
    std::vector<int> m_heights;
    std::vector<int> m_tops;
    std::vector<QWidget *> m_built; // one slot per index, null when not built
    std::vector<int> m_live; // the indices of the built entries, in no order
    std::vector<QWidget *> m_spare;
    int m_padding = 0;
    int m_spacing = 0;
    int m_endPadding = 0;
    int m_preferred = -1;
    QPointer<QWidget> m_typingTarget;
    bool m_parkingFocus = false;
};
