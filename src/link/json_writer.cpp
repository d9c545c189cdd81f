#include "json_writer.hpp"

#include <array>
#include <charconv>
#include <cmath>

namespace tavu_wire_internal {

namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";
constexpr std::array<char, 16> kHexDigits
    = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'};
// Integral values below these are written with all their digits ("700000000", not "7e+08").
constexpr double kPlainIntegralDoubleLimit = 1e16;
constexpr float kPlainIntegralFloatLimit = 1e8F;

bool isContinuation(unsigned char byte, unsigned char low = 0x80, unsigned char high = 0xBF)
{
    return byte >= low && byte <= high;
}

// Length of the well-formed UTF-8 sequence that starts at text[at] (a byte >= 0x80), or 0 when it
// is ill-formed; then `skip` is the length of its maximal ill-formed subpart (at least 1).
std::size_t wellFormedLength(std::string_view text, std::size_t at, std::size_t &skip)
{
    const auto byte = [&](std::size_t i) {
        return at + i < text.size() ? static_cast<unsigned char>(text[at + i]) : 0;
    };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned char secondLow = 0x80;
    unsigned char secondHigh = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        secondLow = lead == 0xE0 ? 0xA0 : 0x80;
        secondHigh = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        secondLow = lead == 0xF0 ? 0x90 : 0x80;
        secondHigh = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        skip = 1;
        return 0;
    }
    std::size_t valid = 1;
    if (isContinuation(byte(1), secondLow, secondHigh)) {
        valid = 2;
        while (valid < length && isContinuation(byte(valid)))
            ++valid;
    }
    if (valid == length)
        return length;
    skip = valid;
    return 0;
}

bool needsAttention(unsigned char byte)
{
    return byte < 0x20 || byte == '"' || byte == '\\' || byte >= 0x80;
}

template <class Number> void appendNumber(std::string &out, Number value)
{
    std::array<char, 64> buffer {};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    out.append(buffer.data(), result.ptr);
}

template <class Real> void appendReal(std::string &out, Real value, Real plainIntegralLimit)
{
    std::array<char, 64> buffer {};
    char *const begin = buffer.data();
    char *const end = begin + buffer.size();
    const Real magnitude = std::fabs(value);
    if (magnitude == 0 && std::signbit(value)) {
        out.append("-0.0"); // "-0" would read back as the integer 0, losing the sign
        return;
    }
    std::to_chars_result result {};
    if (magnitude < plainIntegralLimit && std::trunc(value) == value)
        result = std::to_chars(begin, end, value, std::chars_format::fixed);
    else if (magnitude >= static_cast<Real>(kPlainIntegralDoubleLimit))
        // The shortest form of a large number may be a long run of digits, which many JSON
        // parsers (simdjson among them) reject as an integer beyond 64 bits.
        result = std::to_chars(begin, end, value, std::chars_format::scientific);
    else
        result = std::to_chars(begin, end, value);
    out.append(begin, result.ptr);
}

} // namespace

void appendJsonString(std::string &out, std::string_view value)
{
    out.push_back('"');
    std::size_t i = 0;
    while (i < value.size()) {
        std::size_t runEnd = i;
        while (runEnd < value.size() && !needsAttention(static_cast<unsigned char>(value[runEnd])))
            ++runEnd;
        out.append(value.data() + i, runEnd - i);
        i = runEnd;
        if (i == value.size())
            break;
        const auto byte = static_cast<unsigned char>(value[i]);
        if (byte == '"' || byte == '\\') {
            out.push_back('\\');
            out.push_back(static_cast<char>(byte));
            ++i;
        } else if (byte < 0x20) {
            out.append("\\u00");
            out.push_back(kHexDigits[byte >> 4]);
            out.push_back(kHexDigits[byte & 0xF]);
            ++i;
        } else {
            std::size_t skip = 0;
            const std::size_t length = wellFormedLength(value, i, skip);
            if (length > 0) {
                out.append(value.data() + i, length);
                i += length;
            } else {
                out.append(kReplacementCharacter);
                i += skip;
            }
        }
    }
    out.push_back('"');
}

void JsonWriter::separate()
{
    if (m_needsComma)
        m_out.push_back(',');
    m_needsComma = true;
}

void JsonWriter::beginObject()
{
    separate();
    m_out.push_back('{');
    m_needsComma = false;
}

void JsonWriter::endObject()
{
    m_out.push_back('}');
    m_needsComma = true;
}

void JsonWriter::beginArray()
{
    separate();
    m_out.push_back('[');
    m_needsComma = false;
}

void JsonWriter::endArray()
{
    m_out.push_back(']');
    m_needsComma = true;
}

void JsonWriter::key(std::string_view name)
{
    separate();
    appendJsonString(m_out, name);
    m_out.push_back(':');
    m_needsComma = false;
}

void JsonWriter::string(std::string_view value)
{
    separate();
    appendJsonString(m_out, value);
}

void JsonWriter::boolean(bool value)
{
    separate();
    m_out.append(value ? "true" : "false");
}

void JsonWriter::unsignedInteger(std::uint64_t value)
{
    separate();
    appendNumber(m_out, value);
}

void JsonWriter::signedInteger(std::int64_t value)
{
    separate();
    appendNumber(m_out, value);
}

void JsonWriter::float32(float value)
{
    separate();
    if (!std::isfinite(value)) {
        m_failed = true;
        return;
    }
    appendReal(m_out, value, kPlainIntegralFloatLimit);
}

void JsonWriter::float64(double value)
{
    separate();
    if (!std::isfinite(value)) {
        m_failed = true;
        return;
    }
    appendReal(m_out, value, kPlainIntegralDoubleLimit);
}

} // namespace tavu_wire_internal
