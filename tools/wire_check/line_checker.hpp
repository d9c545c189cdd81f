#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

#include "wire_codec.hpp"

// Cuts a byte stream into lines as the helper does and reports, one output line per input line,
// what each decodes to or exactly why the helper would drop it.
class WireLineChecker final {
public:
    enum class Direction { hostMessages, commands };
    enum class Detail { summary, canonical };

    WireLineChecker(
        std::ostream &out, Direction direction, Detail detail, bool quiet, std::string label);
    WireLineChecker(const WireLineChecker &) = delete;
    WireLineChecker &operator=(const WireLineChecker &) = delete;

    void feed(std::string_view bytes);
    // End of input: an unfinished last line is reported, since the helper never decodes it.
    void finish();

    std::size_t accepted() const { return m_accepted; }
    std::size_t rejected() const { return m_rejected; }
    std::size_t empty() const { return m_empty; }

private:
    void checkLine(std::string_view line);
    void report(std::string_view verdict);

    std::ostream &m_out;
    Direction m_direction;
    Detail m_detail;
    bool m_quiet;
    std::string m_label;
    WireDecoder m_decoder;
    std::string m_pending;
    std::size_t m_pendingLength = 0; // counts on past the limit, where m_pending stops growing
    std::size_t m_lineNumber = 0;
    std::size_t m_accepted = 0;
    std::size_t m_rejected = 0;
    std::size_t m_empty = 0;
};

// One-line summaries: `snapshot generation=12 lifecycle=listening ... cards=4`,
// `set_source_language string_value="de"`.
std::string describeHostMessage(const LiveTranslationHelperHostMessage &message);
std::string describeCommand(const LiveTranslationHelperCommand &command);
