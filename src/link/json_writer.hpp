#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavu_wire_internal {

// A compact JSON writer: no white space, keys in the order they are written, numbers in their
// shortest round-trip form, strings escaped. Bytes that are not well-formed UTF-8 are written as
// U+FFFD, so the output is always valid JSON that any parser reads. Not part of the installed API.
class JsonWriter final {
public:
    explicit JsonWriter(std::string &out)
        : m_out(out)
    {
    }
    JsonWriter(const JsonWriter &) = delete;
    JsonWriter &operator=(const JsonWriter &) = delete;

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    void key(std::string_view name);

    void string(std::string_view value);
    void boolean(bool value);
    void unsignedInteger(std::uint64_t value);
    void signedInteger(std::int64_t value);
    // JSON has no NaN or infinity: such a value makes the writer fail (see failed()).
    void float32(float value);
    void float64(double value);

    // True once a value could not be written; the output is then not valid JSON.
    bool failed() const { return m_failed; }

private:
    void separate();

    std::string &m_out;
    bool m_needsComma = false;
    bool m_failed = false;
};

// Appends value as a quoted JSON string: `"` and `\` escaped, control characters as \u00XX,
// other characters as UTF-8, ill-formed UTF-8 replaced by U+FFFD per maximal subpart.
void appendJsonString(std::string &out, std::string_view value);

} // namespace tavu_wire_internal
