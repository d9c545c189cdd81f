#include "line_decoder.hpp"

#include <algorithm>
#include <cstring>

namespace {
// No host message is shorter than {"type":"show"}; shorter lines get no room reserved.
constexpr std::size_t kShortestMessageBytes = 15;
// Bounds the room reserved at once (messages are large) and the line-end offsets kept.
constexpr std::size_t kMaxReservedMessages = 256;
constexpr std::size_t kMaxKeptLineEnds = 4096;

// Whether a snapshot has storage worth keeping: one moved from, or never filled, has none.
bool hasRoom(const LiveTranslationHelperSnapshot &snapshot)
{
    return snapshot.committedCards.capacity() + snapshot.sourceLanguages.capacity()
        + snapshot.targetLanguages.capacity() + snapshot.audioSources.capacity()
        > 0;
}

template <class Item> std::size_t listBytes(const std::vector<Item> &items)
{
    return items.capacity() * sizeof(Item);
}

std::size_t stringBytes(const std::string &text)
{
    // A short text lives inside the string object, which the list bytes already count.
    return text.capacity() > std::string().capacity() ? text.capacity() + 1 : 0;
}

// The heap storage a snapshot holds, counted until it passes `limit`: a large snapshot costs no
// more to weigh than a small one.
std::size_t storageBytesUpTo(const LiveTranslationHelperSnapshot &s, std::size_t limit)
{
    std::size_t bytes = listBytes(s.committedCards) + listBytes(s.sourceLanguages)
        + listBytes(s.targetLanguages) + listBytes(s.audioSources);
    for (const std::string *text : {&s.statusMessage, &s.sourceLanguage, &s.targetLanguage,
             &s.selectedAudioSourceID, &s.actualAudioSourceDescription, &s.appearanceMode})
        bytes += stringBytes(*text);
    for (const auto *text :
        {&s.captureFallbackNotice, &s.activeSourceText, &s.activeTranslatedText})
        bytes += *text ? stringBytes(**text) : 0;
    for (const auto *options : {&s.sourceLanguages, &s.targetLanguages}) {
        for (auto option = options->begin(); option != options->end() && bytes <= limit; ++option)
            bytes += stringBytes(option->id) + stringBytes(option->displayName);
    }
    for (auto option = s.audioSources.begin(); option != s.audioSources.end() && bytes <= limit;
         ++option)
        bytes += stringBytes(option->id) + stringBytes(option->displayName);
    for (auto card = s.committedCards.begin(); card != s.committedCards.end() && bytes <= limit;
         ++card) {
        bytes += stringBytes(card->id) + stringBytes(card->sourceText)
            + stringBytes(card->translatedText);
    }
    return bytes;
}
} // namespace

LiveTranslationHelperLineDecoder::LiveTranslationHelperLineDecoder()
{
    m_spareSnapshots.reserve(kMaxSpareSnapshots);
}

std::vector<LiveTranslationHelperHostMessage> LiveTranslationHelperLineDecoder::append(
    std::string_view chunk)
{
    if (m_skippingLine) {
        const void *found = std::memchr(chunk.data(), '\n', chunk.size());
        if (found == nullptr)
            return {};
        chunk.remove_prefix(
            static_cast<std::size_t>(static_cast<const char *>(found) - chunk.data()) + 1);
        m_skippingLine = false;
    }
    if (chunk.empty())
        return {};

    // At rest the buffer holds no line feed. A buffered head only waits for the chunk's first
    // line feed; the rest of the chunk is cut in place and only its unfinished tail is kept.
    // Line ends are found first, so that the messages are reserved once and never moved.
    const bool completesHead = !m_buffer.empty();
    m_lineEnds.clear();
    std::size_t candidates = 0;
    for (std::size_t from = 0;;) {
        const void *found = std::memchr(chunk.data() + from, '\n', chunk.size() - from);
        if (found == nullptr)
            break;
        const auto end = static_cast<std::size_t>(static_cast<const char *>(found) - chunk.data());
        m_lineEnds.push_back(end);
        if (end - from >= kShortestMessageBytes || (from == 0 && completesHead))
            ++candidates;
        from = end + 1;
    }
    if (m_lineEnds.empty()) {
        keepTail(chunk);
        return {};
    }
    std::vector<LiveTranslationHelperHostMessage> messages = std::move(m_spareList);
    m_spareList.clear();
    messages.clear();
    messages.reserve(std::min(candidates, kMaxReservedMessages));

    std::size_t lineStart = 0;
    for (const std::size_t lineEnd : m_lineEnds) {
        const std::string_view line = chunk.substr(lineStart, lineEnd - lineStart);
        if (lineStart == 0 && completesHead) {
            if (m_buffer.size() + line.size() <= kMaxLineBytes) {
                m_buffer.append(line);
                decodeLine(m_buffer, messages);
            }
            m_buffer.clear();
        } else if (line.size() <= kMaxLineBytes) {
            decodeLine(line, messages);
        }
        lineStart = lineEnd + 1;
    }
    keepTail(chunk.substr(lineStart));
    if (m_lineEnds.capacity() > kMaxKeptLineEnds)
        m_lineEnds = {};
    return messages;
}

void LiveTranslationHelperLineDecoder::keepTail(std::string_view tail)
{
    if (tail.size() > kMaxBufferedBytes - m_buffer.size()) {
        m_buffer.clear();
        m_skippingLine = true;
        return;
    }
    // Grown to the cap at most, never to twice what it holds.
    if (m_buffer.size() + tail.size() > m_buffer.capacity()) {
        m_buffer.reserve(std::min(
            std::max(m_buffer.capacity() * 2, m_buffer.size() + tail.size()), kMaxBufferedBytes));
    }
    m_buffer.append(tail);
}

std::size_t LiveTranslationHelperLineDecoder::bufferedBytes() const
{
    return m_buffer.size();
}

void LiveTranslationHelperLineDecoder::recycle(std::vector<LiveTranslationHelperHostMessage> &&used)
{
    for (LiveTranslationHelperHostMessage &message : used) {
        if (m_spareSnapshots.size() == kMaxSpareSnapshots
            && m_smallSpares.size() == kMaxSmallSpareSnapshots)
            break;
        if (message.snapshot)
            keepSpare(std::move(*message.snapshot));
    }
    used.clear();
    if (used.capacity() <= kMaxReservedMessages && used.capacity() > m_spareList.capacity())
        m_spareList = std::move(used);
}

void LiveTranslationHelperLineDecoder::keepSpare(LiveTranslationHelperSnapshot &&snapshot)
{
    if (!hasRoom(snapshot))
        return;
    if (storageBytesUpTo(snapshot, kSmallSpareBytes) <= kSmallSpareBytes
        && m_smallSpares.size() < kMaxSmallSpareSnapshots) {
        if (m_smallSpares.capacity() == 0)
            m_smallSpares.reserve(kMaxSmallSpareSnapshots);
        m_smallSpares.push_back(std::move(snapshot));
    } else if (m_spareSnapshots.size() < kMaxSpareSnapshots) {
        m_spareSnapshots.push_back(std::move(snapshot));
    }
}

std::vector<LiveTranslationHelperSnapshot> *LiveTranslationHelperLineDecoder::sparesFor(
    std::size_t lineBytes)
{
    // A short line most likely fits a small spare; a long one is read into a large spare, not
    // into a small one that would have to grow while the large one waits.
    const bool small = lineBytes <= kSmallSpareBytes;
    auto &first = small ? m_smallSpares : m_spareSnapshots;
    auto &second = small ? m_spareSnapshots : m_smallSpares;
    if (!first.empty())
        return &first;
    return second.empty() ? nullptr : &second;
}

void LiveTranslationHelperLineDecoder::decodeLine(
    std::string_view line, std::vector<LiveTranslationHelperHostMessage> &messages)
{
    using Kind = LiveTranslationHelperHostMessage::Kind;
    if (line.empty())
        return;
    WireDecodeError error;
    LiveTranslationHelperHostMessage &message = messages.emplace_back();
    bool decoded = false;
    if (auto *spares = sparesFor(line.size()); spares == nullptr) {
        decoded = m_decoder.decodeHostMessage(line, message, error);
    } else {
        // A snapshot is read into a spare's storage; any other message leaves the spare spare.
        message.snapshot.emplace(std::move(spares->back()));
        spares->pop_back();
        decoded = m_decoder.decodeHostMessage(line, message.kind, *message.snapshot, error);
        if (decoded && message.kind != Kind::snapshot) {
            keepSpare(std::move(*message.snapshot));
            message.snapshot.reset();
        }
    }
    if (decoded)
        return;
    // What a rejected line left in the snapshot is overwritten by the next one decoded into it.
    if (message.snapshot)
        keepSpare(std::move(*message.snapshot));
    messages.pop_back();
    if (onRejected)
        onRejected(line, error);
}
