#include "logic.hpp"

#include <cmath>

#include <QClipboard>
#include <QDateTime>
#include <QGuiApplication>
#include <QLocale>
#include <QRegularExpression>

#include "common/view_logic.hpp"

namespace {
// Dates before year 1 or after year 9999 are shown without a time: no clock reads them, and their
// milliseconds would not fit the conversion.
constexpr double kEarliestUnixSeconds = -62135596800.0; // 0001-01-01 00:00:00 UTC
constexpr double kLatestUnixSeconds = 253402300799.0; // 9999-12-31 23:59:59 UTC

// The locale's short time format without seconds: some locales (C among them) put them there.
QString hourAndMinuteFormat(const QLocale &locale)
{
    static const QRegularExpression seconds(QStringLiteral("[^HhmAaPp]*s+"));
    QString format = locale.timeFormat(QLocale::ShortFormat);
    format.remove(seconds);
    return format;
}

bool isPresent(const std::optional<std::string> &text)
{
    return text.has_value();
}
bool isPresentAndNotEmpty(const std::optional<std::string> &text)
{
    return text.has_value() && !text->empty();
}

std::optional<QString> nonEmpty(QString text)
{
    if (text.isEmpty())
        return std::nullopt;
    return text;
}
} // namespace

bool hasActiveTranslation(const LiveTranslationHelperSnapshot &snapshot)
{
    return isPresentAndNotEmpty(snapshot.activeTranslatedText);
}

bool hasActiveSource(const LiveTranslationHelperSnapshot &snapshot)
{
    return isPresentAndNotEmpty(snapshot.activeSourceText);
}

bool showsCaptionsEmptyState(const LiveTranslationHelperSnapshot &snapshot)
{
    return snapshot.committedCards.empty() && !isPresent(snapshot.activeSourceText);
}

bool showsActiveSection(const LiveTranslationHelperSnapshot &snapshot)
{
    return snapshot.isSessionActive || isPresent(snapshot.activeSourceText)
        || isPresent(snapshot.activeTranslatedText);
}

bool canCopyLatestCaption(const LiveTranslationHelperSnapshot &snapshot)
{
    return !snapshot.committedCards.empty() || isPresent(snapshot.activeTranslatedText);
}

bool canCopyAllCaptions(const LiveTranslationHelperSnapshot &snapshot)
{
    return !snapshot.committedCards.empty();
}

std::optional<QString> latestCaptionToCopy(const LiveTranslationHelperSnapshot &snapshot)
{
    if (!snapshot.committedCards.empty())
        return nonEmpty(fromWire(snapshot.committedCards.back().translatedText).trimmed());
    if (snapshot.activeTranslatedText)
        return nonEmpty(fromWire(*snapshot.activeTranslatedText).trimmed());
    return std::nullopt;
}

std::optional<QString> allCaptionsToCopy(const LiveTranslationHelperSnapshot &snapshot)
{
    std::string joined;
    std::size_t size = 0;
    for (const auto &card : snapshot.committedCards)
        size += card.translatedText.size() + 1;
    joined.reserve(size);
    for (const auto &card : snapshot.committedCards) {
        if (&card != &snapshot.committedCards.front())
            joined += '\n';
        joined += card.translatedText;
    }
    return nonEmpty(fromWire(joined).trimmed());
}

void writeCaptionsToClipboard(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(text, QClipboard::Clipboard);
    if (clipboard->supportsSelection())
        clipboard->setText(text, QClipboard::Selection);
}

QString captionTimeText(double committedAt, const QLocale &locale)
{
    const double unixSeconds = committedAt + kReferenceDateUnixSeconds;
    if (!std::isfinite(unixSeconds) || unixSeconds < kEarliestUnixSeconds
        || unixSeconds > kLatestUnixSeconds)
        return {};
    const auto milliseconds = static_cast<qint64>(std::floor(unixSeconds * 1000.0));
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(milliseconds, Qt::LocalTime);
    return locale.toString(local.time(), hourAndMinuteFormat(locale));
}

float estimatedTextUnits(const std::string &utf8)
{
    float units = 0;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0U) == 0x80U)
            continue; // continuation byte
        // Lead bytes E3..ED and EF start CJK, kana, hangul and full-width forms.
        const bool wide = (byte >= 0xE3U && byte <= 0xEDU) || byte == 0xEFU || byte >= 0xF0U;
        units += wide ? 2.0F : 1.0F;
    }
    return units;
}
