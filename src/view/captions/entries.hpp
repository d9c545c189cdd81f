#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include <QtGlobal>

#include "captions/card.hpp"
#include "wire_types.hpp"

// The committed cards the list shows, keyed by id, with each card's height at the current width:
// measured once the card has been laid out, estimated until then. Keeps the top of every card as
// running sums that are brought up to date only as far as they are asked for, so that appending a
// card or measuring one near the end costs nothing for the cards before it.
class LiveTranslationCaptionEntries final {
    Q_DISABLE_COPY_MOVE(LiveTranslationCaptionEntries)

public:
    struct Update {
        bool changed = false; // any card added, removed, moved or edited
        bool countChanged = false; // the number of cards differs
        std::size_t firstChanged = 0; // cards before this one are untouched
        // Where each old card went (new index), or nothing when it is gone or was edited; empty
        // when the cards before `firstChanged` kept their places and nothing else moved.
        std::vector<std::optional<std::size_t>> moved = {};
    };

    LiveTranslationCaptionEntries() = default;

    // Takes the host's cards. Untouched cards keep their measured heights; the cost is one
    // comparison per card when nothing changed and one copy per added or edited card.
    Update update(const std::vector<LiveTranslationHelperCommittedCard> &cards);

    // New measures for estimates (width, fonts or source texts changed): every height becomes an
    // estimate again.
    void setEstimate(const LiveTranslationCardEstimate &estimate);
    const LiveTranslationCardEstimate &estimate() const { return m_estimate; }

    std::size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }
    const LiveTranslationHelperCommittedCard &card(std::size_t index) const
    {
        return m_entries[index].card;
    }

    bool isMeasured(std::size_t index) const;
    qreal height(std::size_t index) const;
    // Records a laid-out height; returns whether it differs from what was assumed before.
    bool setMeasuredHeight(std::size_t index, qreal height);

    // Top of a card, relative to the first card's top, with `spacing` between cards.
    qreal top(std::size_t index);
    qreal bottom(std::size_t index) { return top(index) + height(index); }
    // From the first card's top to the last card's bottom; 0 without cards.
    qreal totalHeight();
    // The cards that overlap [from, to), as [first, last); empty when none do.
    std::pair<std::size_t, std::size_t> range(qreal from, qreal to);
    // The card at or nearest to a height.
    std::size_t indexAt(qreal y);

    void setSpacing(qreal spacing);

private:
    struct Entry {
        LiveTranslationHelperCommittedCard card;
        float sourceUnits = 0;
        float translationUnits = 0;
        qreal measuredHeight = 0;
        quint64 measuredFor = 0; // the estimate generation the height was measured for
    };

    static Entry makeEntry(const LiveTranslationHelperCommittedCard &card);
    void invalidateTopsFrom(std::size_t index);
    void ensureTops(std::size_t count);
    std::optional<Update> dropOldest(const std::vector<LiveTranslationHelperCommittedCard> &cards);
    Update rebuild(
        const std::vector<LiveTranslationHelperCommittedCard> &cards, std::size_t firstChanged);

    std::vector<Entry> m_entries;
    std::vector<qreal> m_tops; // valid for the first m_validTops entries
    std::size_t m_validTops = 0;
    LiveTranslationCardEstimate m_estimate;
    quint64 m_generation = 1;
    qreal m_spacing = 0;
};
