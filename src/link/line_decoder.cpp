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
    std::vector<LiveTranslationHelperHostMessage> messages;
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
        if (m_spare)
            break;
        if (message.snapshot && hasRoom(*message.snapshot))
            m_spare = std::move(message.snapshot);
    }
    used.clear();
}

void LiveTranslationHelperLineDecoder::decodeLine(
    std::string_view line, std::vector<LiveTranslationHelperHostMessage> &messages)
{
    if (line.empty())
        return;
    LiveTranslationHelperHostMessage &message = messages.emplace_back();
    // A snapshot line is read into the spare's storage; a line of another kind frees it.
    message.snapshot = std::move(m_spare);
    m_spare.reset();
    WireDecodeError error;
    if (m_decoder.decodeHostMessage(line, message, error))
        return;
    // What a rejected line left in the snapshot is overwritten by the next one decoded into it.
    m_spare = std::move(message.snapshot);
    messages.pop_back();
    if (onRejected)
        onRejected(line, error);
}
