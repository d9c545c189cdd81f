#include "line_decoder.hpp"

#include <cstring>

std::vector<LiveTranslationHelperHostMessage>
LiveTranslationHelperLineDecoder::append(std::string_view chunk)
{
    std::vector<LiveTranslationHelperHostMessage> messages;
    if (chunk.empty())
        return messages;
    // The limit is checked before any line is cut: complete lines in the chunk that crosses it
    // are lost with the rest of the buffer.
    if (chunk.size() > kMaxBufferedBytes - m_buffer.size()) {
        m_buffer.clear();
        return messages;
    }

    // At rest the buffer holds no line feed, so the search starts at the new bytes. When nothing
    // is buffered the chunk is cut in place and only its unfinished tail is kept.
    const bool buffered = !m_buffer.empty();
    std::size_t searchFrom = 0;
    std::string_view pending = chunk;
    if (buffered) {
        searchFrom = m_buffer.size();
        m_buffer.append(chunk);
        pending = m_buffer;
    }

    std::size_t lineStart = 0;
    for (;;) {
        const void *found = std::memchr(pending.data() + searchFrom, '\n',
                                        pending.size() - searchFrom);
        if (found == nullptr)
            break;
        const auto lineEnd = static_cast<std::size_t>(static_cast<const char *>(found)
                                                      - pending.data());
        decodeLine(pending.substr(lineStart, lineEnd - lineStart), messages);
        lineStart = lineEnd + 1;
        searchFrom = lineStart;
    }

    if (buffered)
        m_buffer.erase(0, lineStart);
    else
        m_buffer.assign(pending.substr(lineStart));
    return messages;
}

std::size_t LiveTranslationHelperLineDecoder::bufferedBytes() const
{
    return m_buffer.size();
}

void LiveTranslationHelperLineDecoder::decodeLine(
    std::string_view line, std::vector<LiveTranslationHelperHostMessage> &messages)
{
    if (line.empty())
        return;
    auto result = m_decoder.decodeHostMessage(line);
    if (result.value)
        messages.push_back(std::move(*result.value));
    else if (onRejected)
        onRejected(line, result.error);
}
