#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "wire_codec.hpp"
#include "wire_types.hpp"

// Cuts a byte stream into lines at line feeds and decodes each line as a host message.
class LiveTranslationHelperLineDecoder final {
public:
    // The longest line taken in, without its line feed: a longer one is dropped alone, whatever
    // comes before or after it and however it is cut into chunks.
    static constexpr std::size_t kMaxLineBytes = 2097151;
    // The most an unfinished line may hold; one byte more and it is dropped, and the input is
    // skipped up to and including its line feed.
    static constexpr std::size_t kMaxBufferedBytes = kMaxLineBytes + 1;

    LiveTranslationHelperLineDecoder() = default;
    LiveTranslationHelperLineDecoder(const LiveTranslationHelperLineDecoder &) = delete;
    LiveTranslationHelperLineDecoder &operator=(const LiveTranslationHelperLineDecoder &) = delete;

    // Consumes one chunk; returns the messages of the lines it completed, in line order.
    std::vector<LiveTranslationHelperHostMessage> append(std::string_view chunk);
    // Takes back messages that append() returned once the caller is done with them, whatever
    // their contents now. The model exchanges each snapshot for the one it held; the first
    // snapshot handed back that has storage is kept as the spare, and the next snapshot line is
    // decoded into its room, so a steady stream of snapshots allocates next to nothing.
    void recycle(std::vector<LiveTranslationHelperHostMessage> &&used);

    std::size_t bufferedBytes() const;

    // Called for each rejected line (tests and the wire checker); the helper itself leaves it
    // unset.
    std::function<void(std::string_view line, const WireDecodeError &error)> onRejected;

private:
    void decodeLine(std::string_view line, std::vector<LiveTranslationHelperHostMessage> &messages);
    // Keeps `tail` as the unfinished line; one too long is dropped and the rest of it skipped.
    void keepTail(std::string_view tail);

    std::string m_buffer;
    bool m_skippingLine = false; // the rest of a dropped line is read up to its line feed
    std::optional<LiveTranslationHelperSnapshot> m_spare; // kept for its storage
    std::vector<std::size_t> m_lineEnds; // offsets of the line feeds in the chunk being cut
    WireDecoder m_decoder;
};
