// Decodes one arbitrary line as a host message and as a command. Whatever is accepted must be
// valid UTF-8 JSON (simdjson may refuse it only for an integer beyond 64 bits), must re-encode to
// a line that decodes to the same value, and must decode to that value too into a message that
// holds what earlier inputs left.

#include <cstdint>
#include <cstdlib>
#include <simdjson.h>
#include <string>

#include "wire_codec.hpp"

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// What simdjson itself says of the line: a line the decoder accepts parses, or fails only on a
// number.
bool parsesOrOnlyNumbersFail(std::string_view line)
{
    static simdjson::dom::parser parser;
    const auto error = parser.parse(line.data(), line.size(), true).error();
    return error == simdjson::SUCCESS || error == simdjson::NUMBER_ERROR;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static WireDecoder decoder;
    const std::string_view line(reinterpret_cast<const char *>(data), size);

    const auto message = decoder.decodeHostMessage(line);
    // Decoding into storage left by earlier inputs gives the same value as decoding afresh.
    static LiveTranslationHelperHostMessage reused;
    WireDecodeError error;
    check(decoder.decodeHostMessage(line, reused, error) == message.value.has_value());
    if (message.value) {
        check(reused == *message.value);
        check(simdjson::validate_utf8(line.data(), line.size()));
        check(parsesOrOnlyNumbersFail(line));
        const std::string encoded = encodeHostMessage(*message.value);
        check(!encoded.empty());
        const auto again = decoder.decodeHostMessage(encoded);
        check(again.value.has_value() && *again.value == *message.value);
        check(encodeHostMessage(*again.value) == encoded);
    } else {
        check(!message.error.reason.empty());
    }

    const auto command = decoder.decodeCommand(line);
    if (command.value) {
        check(simdjson::validate_utf8(line.data(), line.size()));
        check(parsesOrOnlyNumbersFail(line));
        const auto again = decoder.decodeCommand(encodeCommand(*command.value));
        check(again.value.has_value() && *again.value == *command.value);
    } else {
        check(!command.error.reason.empty());
    }
    return 0;
}
