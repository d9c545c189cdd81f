#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <simdjson.h>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "wire_codec.hpp"

// Reads the known keys of simdjson DOM objects by the wire's value rules and, on the first
// failure, records the path of the value at fault and the reason. Internal to the wire library.

namespace tavu_wire_internal {

// One step of the path to a value, kept on the stack and rendered only when decoding fails.
struct PathStep {
    const PathStep *parent = nullptr;
    std::string_view key; // empty for an array element
    std::size_t index = 0;
};

// A known key of an object: its first value and how often it appeared.
struct Field {
    simdjson::dom::element value;
    unsigned count = 0;
};

template <std::size_t N>
std::array<Field, N> collectFields(
    simdjson::dom::object object, const std::array<std::string_view, N> &keys)
{
    std::array<Field, N> fields {};
    // Hosts usually write the keys in table order: try the key after the last match first.
    std::size_t guess = 0;
    for (const auto member : object) {
        for (std::size_t tried = 0; tried < N; ++tried) {
            const std::size_t i = guess + tried < N ? guess + tried : guess + tried - N;
            if (member.key == keys[i]) {
                if (fields[i].count++ == 0)
                    fields[i].value = member.value;
                guess = i + 1 < N ? i + 1 : 0;
                break;
            }
        }
    }
    return fields;
}

// An integer literal beyond 64 bits, which the parser refuses: any JSON number is valid here, and
// only a field that reads one may refuse it.
struct BigInteger {
    std::string_view literal; // as the line wrote it, sign included
    double value = 0; // the nearest double, unless beyondDouble
    bool beyondDouble = false;
};

// Copies `line` into `out` with every integer literal beyond 64 bits rewritten so that the parser
// takes it: as a fraction (digits ".0") of the same value when it fits a double, as `{}` when it
// does not (a value that no field reads as a number, string or flag), and as `0` when it is the
// whole line (no object either way). Lists those nested in `found`; false when there was none.
bool rewriteBigIntegers(std::string_view line, std::string &out, std::vector<BigInteger> &found);
// The text as a JSON string, cut after a few dozen bytes.
std::string quotedExcerpt(std::string_view text);
// Why simdjson refused a line.
std::string syntaxReason(simdjson::error_code code);

class FieldReader final {
public:
    // `bigIntegers`: those rewritten in the line being read, so that their fields can say so.
    explicit FieldReader(WireDecodeError &error, std::span<const BigInteger> bigIntegers = {})
        : m_error(error)
        , m_bigIntegers(bigIntegers)
    {
    }

    // "an array", "a string", "null", ...: what a value is, for rejection reasons.
    const char *describe(simdjson::dom::element value) const;

    // Records the failure; always returns false.
    bool fail(const PathStep *at, std::string reason);

    bool string(const Field &field, const PathStep &at, std::string_view &out);
    bool string(const Field &field, const PathStep &at, std::string &out);
    bool optionalString(const Field &field, const PathStep &at, std::optional<std::string> &out);
    bool boolean(const Field &field, const PathStep &at, bool &out);
    bool unsignedInteger(const Field &field, const PathStep &at, std::uint64_t &out);
    bool signedInteger(const Field &field, const PathStep &at, std::int64_t &out);
    bool number(const Field &field, const PathStep &at, double &out);
    bool float32(const Field &field, const PathStep &at, float &out);
    bool object(const Field &field, const PathStep &at, simdjson::dom::object &out);

    // Reads an array whose elements are objects; each is handed to read(object, path, item).
    // The items already in `out` are read into again, so their strings keep their storage: read
    // must set every field of the item.
    template <class Item, class ReadItem>
    bool objects(const Field &field, const PathStep &at, std::vector<Item> &out, ReadItem read)
    {
        simdjson::dom::array array;
        if (field.count != 1 || field.value.get_array().get(array) != simdjson::SUCCESS)
            return refuse(field, at, "an array");
        // Room for every element, but an element is only made when it is read: an array of
        // thousands of empty objects that fails at its first costs no thousands of items.
        if (out.size() > array.size())
            out.resize(array.size());
        else
            out.reserve(array.size());
        std::size_t index = 0;
        for (const simdjson::dom::element item : array) {
            const PathStep itemAt {&at, {}, index};
            simdjson::dom::object object;
            if (item.get_object().get(object) != simdjson::SUCCESS)
                return fail(&itemAt, std::string("expected an object, found ") + describe(item));
            if (index == out.size())
                out.emplace_back();
            if (!read(object, itemAt, out[index])) {
                if (bigIntegerAt(item) != nullptr) // the rewritten {} of one beyond a double
                    fail(&itemAt, "expected an object, found an integer");
                return false;
            }
            ++index;
        }
        out.resize(index);
        return true;
    }

private:
    // Records why a value that failed the fast path is wrong: missing, repeated, or of
    // another type than `expected` (null included).
    bool refuse(const Field &field, const PathStep &at, const char *expected);
    // The big integer that the parser read as `value`, if it is one.
    const BigInteger *bigIntegerAt(simdjson::dom::element value) const;
    const BigInteger *bigIntegerAt(const Field &field) const;

    WireDecodeError &m_error;
    std::span<const BigInteger> m_bigIntegers;
};

} // namespace tavu_wire_internal
