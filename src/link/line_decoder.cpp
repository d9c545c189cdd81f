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
} // namespace

LiveTranslationHelperLineDecoder::LiveTranslationHelperLineDecoder()
{
    m_spareSnapshots.reserve(kMaxSpareSnapshots);
}

std::vector<LiveTranslationHelperHostMessage> LiveTranslationHelperLineDecoder::append(
    std::string_view chunk)
{
    if (chunk.empty())
        return {};
    // The limit is checked before any line is cut: complete lines in the chunk that crosses it
    // are lost with the rest of the buffer.
    if (chunk.size() > kMaxBufferedBytes - m_buffer.size()) {
        m_buffer.clear();
        return {};
    }

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
        m_buffer.append(chunk);
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
            m_buffer.append(line);
            decodeLine(m_buffer, messages);
        } else {
            decodeLine(line, messages);
        }
        lineStart = lineEnd + 1;
    }
    m_buffer.assign(chunk.substr(lineStart));
    if (m_lineEnds.capacity() > kMaxKeptLineEnds)
        m_lineEnds = {};
    return messages;
}

std::size_t LiveTranslationHelperLineDecoder::bufferedBytes() const
{
    return m_buffer.size();
}

void LiveTranslationHelperLineDecoder::recycle(std::vector<LiveTranslationHelperHostMessage> &&used)
{
    for (LiveTranslationHelperHostMessage &message : used) {
        if (m_spareSnapshots.size() == kMaxSpareSnapshots)
            break;
        if (message.snapshot && hasRoom(*message.snapshot))
            keepSpare(std::move(*message.snapshot));
    }
    used.clear();
    if (used.capacity() <= kMaxReservedMessages && used.capacity() > m_spareList.capacity())
        m_spareList = std::move(used);
}

void LiveTranslationHelperLineDecoder::keepSpare(LiveTranslationHelperSnapshot &&snapshot)
{
    if (m_spareSnapshots.size() < kMaxSpareSnapshots)
        m_spareSnapshots.push_back(std::move(snapshot));
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
    if (m_spareSnapshots.empty()) {
        decoded = m_decoder.decodeHostMessage(line, message, error);
    } else {
        // A snapshot is read into a spare's storage; any other message leaves the spare spare.
        message.snapshot.emplace(std::move(m_spareSnapshots.back()));
        m_spareSnapshots.pop_back();
        decoded = m_decoder.decodeHostMessage(line, message.kind, *message.snapshot, error);
        if (decoded && message.kind != Kind::snapshot) {
            keepSpare(std::move(*message.snapshot));
            message.snapshot.reset();
        }
    }
    if (decoded)
        return;
    // What a rejected line left in the snapshot is overwritten by the next one decoded into it.
    if (message.snapshot && hasRoom(*message.snapshot))
        keepSpare(std::move(*message.snapshot));
    messages.pop_back();
    if (onRejected)
        onRejected(line, error);
}
