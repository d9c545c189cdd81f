#pragma once

#include <optional>

#include <QString>

#include "wire_types.hpp"

class QLocale;

// The captions column's rules, derived from a snapshot on every render; pure functions, no widgets.

// The caption still being built has a translation: present and not empty.
bool hasActiveTranslation(const LiveTranslationHelperSnapshot &snapshot);
// The caption still being built has a source text: present and not empty.
bool hasActiveSource(const LiveTranslationHelperSnapshot &snapshot);

// The empty state shows while there are no cards and no source text is being recognised.
bool showsCaptionsEmptyState(const LiveTranslationHelperSnapshot &snapshot);
// The active section shows during a session and whenever either active text is present, even
// when it is empty.
bool showsActiveSection(const LiveTranslationHelperSnapshot &snapshot);

bool canCopyLatestCaption(const LiveTranslationHelperSnapshot &snapshot);
bool canCopyAllCaptions(const LiveTranslationHelperSnapshot &snapshot);

// What "Copy latest" puts on the clipboard: the newest card's translation, or the active one when
// there are no cards, trimmed; nothing when that is absent or blank. Never a source text.
std::optional<QString> latestCaptionToCopy(const LiveTranslationHelperSnapshot &snapshot);
// What "Copy all" puts on the clipboard: every card's translation in order, one line feed between
// them, the whole trimmed once; nothing when that is blank.
std::optional<QString> allCaptionsToCopy(const LiveTranslationHelperSnapshot &snapshot);

// Puts plain text on the clipboard, and on the selection clipboard where the desktop has one.
void writeCaptionsToClipboard(const QString &text);

// The hour and minute of a wire date (seconds since 2001-01-01 UTC) in the local time zone, in the
// locale's short time format; empty for a date no clock can show (not finite, or out of range).
QString captionTimeText(double committedAt, const QLocale &locale);

// A rough width of a text in average characters, for estimating heights before a card is laid
// out: wide East Asian characters count twice, UTF-8 continuation bytes not at all.
float estimatedTextUnits(const std::string &utf8);
