#include "json_reader.hpp"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <utility>

#include "json_writer.hpp"

namespace tavu_wire_internal {

namespace {

using simdjson::dom::element;
using simdjson::dom::element_type;

// Longest part of an unexpected string that a rejection reason quotes.
constexpr std::size_t kQuotedValueLimit = 64;
// Numbers below this magnitude round to a finite 32-bit float (FLT_MAX plus half an ulp).
constexpr double kFloatRoundingLimit = 0x1.ffffffp127;

std::string renderPath(const PathStep *step)
{
    std::vector<const PathStep *> steps;
    for (; step != nullptr; step = step->parent)
        steps.push_back(step);
    std::reverse(steps.begin(), steps.end());
    std::string path;
    for (const PathStep *outer : steps) {
        if (outer->key.empty()) {
            path += '[' + std::to_string(outer->index) + ']';
        } else {
            if (!path.empty())
                path += '.';
            path += outer->key;
        }
    }
    return path;
}

const char *describeType(element value)
{
    switch (value.type()) {
    case element_type::ARRAY: return "an array";
    case element_type::OBJECT: return "an object";
    case element_type::INT64:
    case element_type::UINT64: return "an integer";
    case element_type::DOUBLE: return "a number with a fraction or exponent";
    case element_type::STRING: return "a string";
    case element_type::BOOL: return "a boolean";
    case element_type::NULL_VALUE: return "null";
    }
    return "an unknown value";
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Whether the digits (no sign, no leading zero) are beyond 64 bits for an integer of that sign.
bool beyond64Bits(std::string_view digits, bool negative)
{
    const std::string_view limit = negative ? "9223372036854775808" : "18446744073709551615";
    return digits.size() > limit.size() || (digits.size() == limit.size() && digits > limit);
}

// A long literal, cut for a rejection reason.
std::string excerpt(std::string_view literal)
{
    if (literal.size() <= kQuotedValueLimit)
        return std::string(literal);
    return std::string(literal.substr(0, kQuotedValueLimit)) + "... ("
        + std::to_string(literal.size()) + " characters)";
}

} // namespace

bool rewriteBigIntegers(std::string_view line, std::string &out, std::vector<BigInteger> &found)
{
    found.clear();
    out.clear();
    std::size_t copied = 0; // line up to here is in out
    int depth = 0;
    for (std::size_t i = 0; i < line.size();) {
        const char c = line[i];
        if (c == '"') {
            for (++i; i < line.size() && line[i] != '"'; ++i)
                i += line[i] == '\\' ? 1 : 0;
            ++i;
            continue;
        }
        depth += c == '{' || c == '[' ? 1 : (c == '}' || c == ']' ? -1 : 0);
        if (c != '-' && !isDigit(c)) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        i += c == '-' ? 1 : 0;
        const std::size_t digitsStart = i;
        while (i < line.size() && isDigit(line[i]))
            ++i;
        const std::string_view digits = line.substr(digitsStart, i - digitsStart);
        if (i < line.size() && (line[i] == '.' || line[i] == 'e' || line[i] == 'E')) {
            // A fraction or an exponent: the parser reads it, or refuses it, as it is.
            while (
                i < line.size() && (isDigit(line[i]) || std::strchr(".eE+-", line[i]) != nullptr))
                ++i;
            continue;
        }
        if (digits.empty() || (digits[0] == '0' && digits.size() > 1)
            || !beyond64Bits(digits, c == '-'))
            continue;
        const std::string_view literal = line.substr(start, i - start);
        if (out.empty())
            out.reserve(line.size() + 64);
        out.append(line.substr(copied, start - copied));
        copied = i;
        if (depth <= 0) {
            out += '0';
            continue;
        }
        BigInteger big {literal};
        big.beyondDouble
            = std::from_chars(literal.data(), literal.data() + literal.size(), big.value).ec
            == std::errc::result_out_of_range;
        if (big.beyondDouble) {
            out += "{}";
        } else {
            out.append(literal);
            out += ".0";
        }
        found.push_back(big);
    }
    if (copied == 0)
        return false;
    out.append(line.substr(copied));
    return true;
}

const char *FieldReader::describe(element value) const
{
    return bigIntegerAt(value) != nullptr ? "an integer" : describeType(value);
}

const BigInteger *FieldReader::bigIntegerAt(element value) const
{
    if (m_bigIntegers.empty())
        return nullptr;
    double number = 0;
    simdjson::dom::object object;
    const bool rewrittenAsDouble = value.type() == element_type::DOUBLE
        && value.get_double().get(number) == simdjson::SUCCESS;
    const bool rewrittenAsObject
        = value.get_object().get(object) == simdjson::SUCCESS && object.begin() == object.end();
    // Matched by value: a double the host wrote with the same value names the same number.
    for (const BigInteger &big : m_bigIntegers) {
        if (big.beyondDouble ? rewrittenAsObject : rewrittenAsDouble && big.value == number)
            return &big;
    }
    return nullptr;
}

const BigInteger *FieldReader::bigIntegerAt(const Field &field) const
{
    return field.count == 1 ? bigIntegerAt(field.value) : nullptr;
}

std::string quotedExcerpt(std::string_view text)
{
    std::string out;
    if (text.size() <= kQuotedValueLimit) {
        appendJsonString(out, text);
        return out;
    }
    std::size_t cut = kQuotedValueLimit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    appendJsonString(out, text.substr(0, cut));
    out += "...";
    return out;
}

std::string syntaxReason(simdjson::error_code code)
{
    using namespace simdjson;
    switch (code) {
    case UTF8_ERROR: return "invalid JSON: not valid UTF-8";
    case STRING_ERROR: return "invalid JSON: bad escape in a string (or a lone surrogate)";
    case UNESCAPED_CHARS: return "invalid JSON: unescaped control character in a string";
    case UNCLOSED_STRING: return "invalid JSON: unclosed string";
    case NUMBER_ERROR:
        return "invalid JSON: malformed number, or a fraction or exponent beyond the double range";
    case T_ATOM_ERROR:
    case F_ATOM_ERROR:
    case N_ATOM_ERROR: return "invalid JSON: misspelt true, false or null";
    case DEPTH_ERROR: return "invalid JSON: nested too deeply";
    case EMPTY: return "invalid JSON: no value on the line";
    case TAPE_ERROR: return "invalid JSON: malformed structure, or content after the value";
    case CAPACITY: return "invalid JSON: the line is too long";
    default: return std::string("invalid JSON: ") + error_message(code);
    }
}

bool FieldReader::fail(const PathStep *at, std::string reason)
{
    m_error.path = renderPath(at);
    m_error.reason = std::move(reason);
    return false;
}

// Reading succeeds on the fast path: the key appears once and its value has the right type.
// Only a failure looks closer, to say exactly what is wrong.

bool FieldReader::refuse(const Field &field, const PathStep &at, const char *expected)
{
    if (field.count == 0)
        return fail(&at, "missing required key");
    if (field.count > 1)
        return fail(&at, "duplicate key");
    return fail(&at, std::string("expected ") + expected + ", found " + describe(field.value));
}

bool FieldReader::string(const Field &field, const PathStep &at, std::string_view &out)
{
    if (field.count == 1 && field.value.get_string().get(out) == simdjson::SUCCESS)
        return true;
    return refuse(field, at, "a string");
}

bool FieldReader::string(const Field &field, const PathStep &at, std::string &out)
{
    std::string_view view;
    if (!string(field, at, view))
        return false;
    out.assign(view);
    return true;
}

bool FieldReader::optionalString(
    const Field &field, const PathStep &at, std::optional<std::string> &out)
{
    std::string_view view;
    if (field.count == 1 && field.value.get_string().get(view) == simdjson::SUCCESS) {
        if (out)
            out->assign(view); // keeps the string's storage
        else
            out.emplace(view);
        return true;
    }
    if (field.count == 0 || (field.count == 1 && field.value.is_null())) {
        out.reset();
        return true;
    }
    return refuse(field, at, "a string or null");
}

bool FieldReader::boolean(const Field &field, const PathStep &at, bool &out)
{
    if (field.count == 1 && field.value.get_bool().get(out) == simdjson::SUCCESS)
        return true;
    return refuse(field, at, "a boolean");
}

bool FieldReader::unsignedInteger(const Field &field, const PathStep &at, std::uint64_t &out)
{
    if (field.count == 1 && field.value.type() == element_type::UINT64)
        return field.value.get_uint64().get(out) == simdjson::SUCCESS;
    std::int64_t signedValue = 0;
    if (field.count == 1 && field.value.get_int64().get(signedValue) == simdjson::SUCCESS) {
        if (signedValue >= 0) {
            out = static_cast<std::uint64_t>(signedValue);
            return true;
        }
        return fail(&at, "expected a non-negative integer, found " + std::to_string(signedValue));
    }
    if (const BigInteger *big = bigIntegerAt(field))
        return fail(&at, "out of the 64-bit unsigned integer range: " + excerpt(big->literal));
    return refuse(field, at, "a non-negative integer");
}

bool FieldReader::signedInteger(const Field &field, const PathStep &at, std::int64_t &out)
{
    if (field.count == 1 && field.value.type() == element_type::INT64)
        return field.value.get_int64().get(out) == simdjson::SUCCESS;
    if (field.count == 1 && field.value.type() == element_type::UINT64) {
        return fail(&at,
            "out of the 64-bit signed integer range: "
                + std::to_string(field.value.get_uint64().value_unsafe()));
    }
    if (const BigInteger *big = bigIntegerAt(field))
        return fail(&at, "out of the 64-bit signed integer range: " + excerpt(big->literal));
    return refuse(field, at, "an integer");
}

bool FieldReader::number(const Field &field, const PathStep &at, double &out)
{
    // simdjson gives integers as doubles too, and so the integers rewritten as fractions.
    if (field.count == 1 && field.value.get_double().get(out) == simdjson::SUCCESS)
        return true;
    if (const BigInteger *big = bigIntegerAt(field))
        return fail(&at, "out of the double range: " + excerpt(big->literal));
    return refuse(field, at, "a number");
}

bool FieldReader::float32(const Field &field, const PathStep &at, float &out)
{
    double value = 0;
    if (!number(field, at, value))
        return false;
    if (!(std::fabs(value) < kFloatRoundingLimit))
        return fail(&at, "out of the 32-bit float range");
    out = std::fabs(value) <= FLT_MAX ? static_cast<float>(value)
                                      : std::copysign(FLT_MAX, static_cast<float>(value));
    return true;
}

bool FieldReader::object(const Field &field, const PathStep &at, simdjson::dom::object &out)
{
    if (field.count == 1 && field.value.get_object().get(out) == simdjson::SUCCESS
        && (m_bigIntegers.empty() || bigIntegerAt(field.value) == nullptr))
        return true;
    return refuse(field, at, "an object");
}

} // namespace tavu_wire_internal
