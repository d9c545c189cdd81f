#include "line_checker.hpp"

#include <utility>

#include "json_writer.hpp"
#include "line_decoder.hpp"

namespace {

// The longest line the helper takes in; a longer one is dropped alone, wherever it stands.
constexpr std::size_t kLongestLine = LiveTranslationHelperLineDecoder::kMaxLineBytes;

std::string quoted(std::string_view text)
{
    std::string out;
    tavu_wire_internal::appendJsonString(out, text);
    return out;
}

} // namespace

std::string describeHostMessage(const LiveTranslationHelperHostMessage &message)
{
    if (!message.snapshot)
        return wireName(message.kind);
    const LiveTranslationHelperSnapshot &s = *message.snapshot;
    return std::string("snapshot generation=") + std::to_string(s.generation)
        + " lifecycle=" + wireName(s.lifecycle) + " source=" + quoted(s.sourceLanguage) + " target="
        + quoted(s.targetLanguage) + " audio=" + quoted(s.selectedAudioSourceID) + " languages="
        + std::to_string(s.sourceLanguages.size()) + "/" + std::to_string(s.targetLanguages.size())
        + " audioSources=" + std::to_string(s.audioSources.size())
        + " cards=" + std::to_string(s.committedCards.size())
        + " active=" + (s.activeSourceText || s.activeTranslatedText ? "yes" : "no");
}

std::string describeCommand(const LiveTranslationHelperCommand &command)
{
    std::string text = wireName(command.kind);
    if (command.carriesString())
        text += " string_value=" + quoted(command.stringValue);
    else if (command.carriesBool())
        text += std::string(" bool_value=") + (command.boolValue ? "true" : "false");
    return text;
}

WireLineChecker::WireLineChecker(
    std::ostream &out, Direction direction, Detail detail, bool quiet, std::string label)
    : m_out(out)
    , m_direction(direction)
    , m_detail(detail)
    , m_quiet(quiet)
    , m_label(std::move(label))
{
}

void WireLineChecker::feed(std::string_view bytes)
{
    while (!bytes.empty()) {
        const std::size_t lineFeed = bytes.find('\n');
        const std::string_view part = bytes.substr(0, lineFeed);
        if (m_pendingLength + part.size() <= kLongestLine)
            m_pending.append(part);
        m_pendingLength += part.size();
        if (lineFeed == std::string_view::npos)
            return;
        bytes.remove_prefix(lineFeed + 1);
        ++m_lineNumber;
        if (m_pendingLength > kLongestLine) {
            ++m_rejected;
            report("rejected: the line is " + std::to_string(m_pendingLength)
                + " bytes long; the helper drops lines longer than " + std::to_string(kLongestLine)
                + " bytes");
        } else {
            checkLine(m_pending);
        }
        m_pending.clear();
        m_pendingLength = 0;
    }
}

void WireLineChecker::finish()
{
    if (m_pendingLength == 0)
        return;
    ++m_lineNumber;
    ++m_rejected;
    report("rejected: no line feed at the end; the helper never decodes an unfinished line");
    m_pending.clear();
    m_pendingLength = 0;
}

void WireLineChecker::checkLine(std::string_view line)
{
    if (line.empty()) {
        ++m_empty;
        if (!m_quiet)
            report("empty, skipped");
        return;
    }
    std::string verdict;
    bool accepted = false;
    if (m_direction == Direction::hostMessages) {
        const auto result = m_decoder.decodeHostMessage(line);
        accepted = result.value.has_value();
        if (!accepted)
            verdict = result.error.message();
        else if (m_detail == Detail::canonical)
            verdict = encodeHostMessage(*result.value);
        else
            verdict = describeHostMessage(*result.value);
    } else {
        const auto result = m_decoder.decodeCommand(line);
        accepted = result.value.has_value();
        if (!accepted)
            verdict = result.error.message();
        else if (m_detail == Detail::canonical)
            verdict = encodeCommand(*result.value);
        else
            verdict = describeCommand(*result.value);
    }
    if (!accepted) {
        ++m_rejected;
        report("rejected: " + verdict);
        return;
    }
    ++m_accepted;
    if (!m_quiet)
        report("ok " + verdict);
}

void WireLineChecker::report(std::string_view verdict)
{
    if (!m_label.empty())
        m_out << m_label << ": ";
    m_out << "line " << m_lineNumber << ": " << verdict << '\n';
}
