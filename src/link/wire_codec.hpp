#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "wire_types.hpp"

// Strict JSON decoding and compact encoding of the wire values. No Qt: hosts link this too.

struct WireDecodeError {
    std::string path; // e.g. "snapshot.committedCards[3].committedAt"; empty for the whole line
    std::string reason; // e.g. "expected a number"

    std::string message() const; // "path: reason", or the reason alone when path is empty
};

template <class T> struct WireDecodeResult {
    std::optional<T> value;
    WireDecodeError error; // meaningful only when value is empty

    explicit operator bool() const { return value.has_value(); }
};

// Decodes one line (one JSON object, without its line feed). Keeps one parser and its buffers for
// every line it decodes; not thread-safe, use one per thread.
class WireDecoder final {
public:
    WireDecoder();
    ~WireDecoder();
    WireDecoder(const WireDecoder &) = delete;
    WireDecoder &operator=(const WireDecoder &) = delete;

    WireDecodeResult<LiveTranslationHelperHostMessage> decodeHostMessage(std::string_view line);
    // The same, decoding into `out` (left unspecified on failure). A snapshot is read into the
    // storage of the snapshot `out` already holds, if any, so that its strings and lists keep
    // their room: a reader that decodes into the same message again and again allocates nothing
    // once the room suffices.
    bool decodeHostMessage(
        std::string_view line, LiveTranslationHelperHostMessage &out, WireDecodeError &error);
    WireDecodeResult<LiveTranslationHelperCommand> decodeCommand(std::string_view line);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// Compact JSON, keys in wire order, optional keys left out, no trailing line feed.
std::string encodeCommand(const LiveTranslationHelperCommand &command);
std::string encodeHostMessage(const LiveTranslationHelperHostMessage &message);
std::string encodeSnapshot(const LiveTranslationHelperSnapshot &snapshot);
