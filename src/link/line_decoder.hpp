#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "wire_codec.hpp"
#include "wire_types.hpp"

// Cuts a byte stream into lines at line feeds and decodes each line as a host message.
class LiveTranslationHelperLineDecoder final {
public:
    // After an append the buffer may hold at most this many bytes; more discards it whole.
    static constexpr std::size_t kMaxBufferedBytes = 2097152;

    LiveTranslationHelperLineDecoder() = default;
    LiveTranslationHelperLineDecoder(const LiveTranslationHelperLineDecoder &) = delete;
    LiveTranslationHelperLineDecoder &operator=(const LiveTranslationHelperLineDecoder &) = delete;

    // Consumes one chunk; returns the messages of the lines it completed, in line order.
    std::vector<LiveTranslationHelperHostMessage> append(std::string_view chunk);

    std::size_t bufferedBytes() const;

    // Called for each rejected line (tests and the wire checker); the helper itself leaves it
    // unset.
    std::function<void(std::string_view line, const WireDecodeError &error)> onRejected;

private:
    void decodeLine(std::string_view line, std::vector<LiveTranslationHelperHostMessage> &messages);

    std::string m_buffer;
    std::vector<std::size_t> m_lineEnds; // offsets of the line feeds in the chunk being cut
    WireDecoder m_decoder;
};
