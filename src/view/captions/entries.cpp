#include "entries.hpp"

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "captions/logic.hpp"

namespace {
// How far down the old list the new first card is looked for when the host drops its oldest cards.
constexpr std::size_t kDroppedFrontSearch = 256;
} // namespace

LiveTranslationCaptionEntries::Entry LiveTranslationCaptionEntries::makeEntry(
    const LiveTranslationHelperCommittedCard &card)
{
    return {.card = card,
        .sourceUnits = estimatedTextUnits(card.sourceText),
        .translationUnits = estimatedTextUnits(card.translatedText)};
}

LiveTranslationCaptionEntries::Update LiveTranslationCaptionEntries::update(
    const std::vector<LiveTranslationHelperCommittedCard> &cards)
{
    const std::size_t oldCount = m_entries.size();
    const std::size_t newCount = cards.size();
    std::size_t same = 0;
    while (same < std::min(oldCount, newCount) && m_entries[same].card == cards[same])
        ++same;
    if (same == oldCount && same == newCount)
        return {};

    Update update {.changed = true, .countChanged = oldCount != newCount, .firstChanged = same};
    if (same == oldCount) { // only appended
        m_entries.reserve(newCount);
        for (std::size_t i = same; i < newCount; ++i)
            m_entries.push_back(makeEntry(cards[i]));
        m_tops.resize(newCount);
        return update;
    }
    if (same == newCount) { // only the newest removed
        m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(same), m_entries.end());
        m_tops.resize(newCount);
        m_validTops = std::min(m_validTops, newCount);
        return update;
    }
    if (same == 0) {
        if (auto dropped = dropOldest(cards))
            return *dropped;
    }
    return rebuild(cards, same);
}

std::optional<LiveTranslationCaptionEntries::Update> LiveTranslationCaptionEntries::dropOldest(
    const std::vector<LiveTranslationHelperCommittedCard> &cards)
{
    // A host that keeps a bounded history drops its oldest cards as it appends new ones: the new
    // list is the old one without its first few cards, plus what was appended.
    const std::size_t oldCount = m_entries.size();
    if (cards.empty())
        return std::nullopt;
    const std::size_t searchEnd = std::min(oldCount, kDroppedFrontSearch);
    std::size_t dropped = 1;
    while (dropped < searchEnd && !(m_entries[dropped].card == cards.front()))
        ++dropped;
    if (dropped >= searchEnd)
        return std::nullopt;
    const std::size_t kept = oldCount - dropped;
    if (cards.size() < kept)
        return std::nullopt;
    for (std::size_t i = 1; i < kept; ++i) {
        if (!(m_entries[dropped + i].card == cards[i]))
            return std::nullopt;
    }

    Update update {.changed = true, .countChanged = oldCount != cards.size(), .firstChanged = 0};
    update.moved.assign(oldCount, std::nullopt);
    for (std::size_t i = dropped; i < oldCount; ++i)
        update.moved[i] = i - dropped;
    m_entries.erase(m_entries.begin(), m_entries.begin() + static_cast<std::ptrdiff_t>(dropped));
    for (std::size_t i = kept; i < cards.size(); ++i)
        m_entries.push_back(makeEntry(cards[i]));
    m_tops.assign(m_entries.size(), 0);
    m_validTops = 0;
    return update;
}

LiveTranslationCaptionEntries::Update LiveTranslationCaptionEntries::rebuild(
    const std::vector<LiveTranslationHelperCommittedCard> &cards, std::size_t firstChanged)
{
    Update update {.changed = true,
        .countChanged = m_entries.size() != cards.size(),
        .firstChanged = firstChanged};
    const std::size_t oldCount = m_entries.size();
    update.moved.assign(oldCount, std::nullopt);
    for (std::size_t i = 0; i < firstChanged; ++i)
        update.moved[i] = i;

    // Cards are found again by id; among equal ids, in order.
    std::unordered_multimap<std::string_view, std::size_t> byId;
    byId.reserve(oldCount - firstChanged);
    for (std::size_t i = oldCount; i-- > firstChanged;)
        byId.emplace(m_entries[i].card.id, i);

    std::vector<Entry> entries;
    entries.reserve(cards.size());
    for (std::size_t i = 0; i < firstChanged; ++i)
        entries.push_back(std::move(m_entries[i]));
    for (std::size_t j = firstChanged; j < cards.size(); ++j) {
        const auto &card = cards[j];
        auto [first, last] = byId.equal_range(card.id);
        auto found = last;
        for (auto it = first; it != last; ++it) {
            if (found == last || it->second < found->second)
                found = it;
        }
        if (found != last) {
            const std::size_t oldIndex = found->second;
            byId.erase(found);
            if (m_entries[oldIndex].card == card) {
                entries.push_back(std::move(m_entries[oldIndex]));
                update.moved[oldIndex] = j;
                continue;
            }
        }
        entries.push_back(makeEntry(card));
    }
    m_entries = std::move(entries);
    m_tops.assign(m_entries.size(), 0);
    m_validTops = std::min(m_validTops, firstChanged);
    return update;
}

void LiveTranslationCaptionEntries::setEstimate(const LiveTranslationCardEstimate &estimate)
{
    if (estimate == m_estimate)
        return;
    m_estimate = estimate;
    ++m_generation;
    invalidateTopsFrom(0);
}

bool LiveTranslationCaptionEntries::isMeasured(std::size_t index) const
{
    return m_entries[index].measuredFor == m_generation;
}

qreal LiveTranslationCaptionEntries::height(std::size_t index) const
{
    const Entry &entry = m_entries[index];
    if (entry.measuredFor == m_generation)
        return entry.measuredHeight;
    return m_estimate.height(entry.sourceUnits, entry.translationUnits);
}

bool LiveTranslationCaptionEntries::setMeasuredHeight(std::size_t index, qreal height)
{
    const qreal before = this->height(index);
    Entry &entry = m_entries[index];
    entry.measuredHeight = height;
    entry.measuredFor = m_generation;
    if (before == height)
        return false;
    invalidateTopsFrom(index + 1);
    return true;
}

void LiveTranslationCaptionEntries::setSpacing(qreal spacing)
{
    if (spacing == m_spacing)
        return;
    m_spacing = spacing;
    invalidateTopsFrom(0);
}

void LiveTranslationCaptionEntries::invalidateTopsFrom(std::size_t index)
{
    m_validTops = std::min(m_validTops, index);
}

void LiveTranslationCaptionEntries::ensureTops(std::size_t count)
{
    count = std::min(count, m_entries.size());
    for (std::size_t i = m_validTops; i < count; ++i)
        m_tops[i] = i == 0 ? 0 : m_tops[i - 1] + height(i - 1) + m_spacing;
    m_validTops = std::max(m_validTops, count);
}

qreal LiveTranslationCaptionEntries::top(std::size_t index)
{
    ensureTops(index + 1);
    return m_tops[index];
}

qreal LiveTranslationCaptionEntries::totalHeight()
{
    return m_entries.empty() ? 0 : bottom(m_entries.size() - 1);
}

std::pair<std::size_t, std::size_t> LiveTranslationCaptionEntries::range(qreal from, qreal to)
{
    if (m_entries.empty() || to <= from)
        return {0, 0};
    ensureTops(m_entries.size());
    const auto begin = m_tops.begin();
    const auto end = m_tops.end();
    auto first = static_cast<std::size_t>(std::upper_bound(begin, end, from) - begin);
    first = first == 0 ? 0 : first - 1;
    if (bottom(first) <= from)
        ++first;
    const auto last = static_cast<std::size_t>(std::lower_bound(begin, end, to) - begin);
    return {std::min(first, last), last};
}

std::size_t LiveTranslationCaptionEntries::indexAt(qreal y)
{
    if (m_entries.empty())
        return 0;
    ensureTops(m_entries.size());
    auto index = static_cast<std::size_t>(
        std::upper_bound(m_tops.begin(), m_tops.end(), y) - m_tops.begin());
    index = index == 0 ? 0 : index - 1;
    if (index + 1 < m_entries.size() && y > bottom(index) + m_spacing / 2)
        ++index;
    return index;
}
