#include "capture_status.hpp"

#include <cmath>

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "common/accessibility.hpp"
#include "common/symbols.hpp"
#include "common/view_logic.hpp"
#include "common/view_support.hpp"
#include "pickers/notice_text.hpp"

LiveTranslationCaptureStatus::LiveTranslationCaptureStatus(QWidget *parent)
    : QWidget(parent)
    , m_level(new QProgressBar(this))
    , m_notice(new LiveTranslationNoticeText(this))
{
    setObjectName(QStringLiteral("liveTranslation.captureStatus"));
    m_level->setRange(0, kBarSteps);
    m_level->setValue(0);
    m_level->setTextVisible(false);
    m_level->setFixedHeight(kBarHeight);
    setAccessibleIdentity(m_level, QStringLiteral("liveTranslation.audioLevel"), tr("Audio level"));
    setAccessibleValueText(m_level, tr("%1 percent").arg(qint64(0)));

    // Shown as the host sends it; not looked up for translation.
    m_fallback = makeLabelRow(u"exclamationmark.triangle.fill", QString(),
        QStringLiteral("liveTranslation.captureFallbackNotice"), m_notice);
    m_dropped = makeLabelRow(u"exclamationmark.triangle.fill",
        QStringLiteral("Some system-audio buffers were dropped."),
        QStringLiteral("liveTranslation.droppedBuffersNotice"));
    m_privacy = makeLabelRow(u"lock.fill", tr("System audio only. Your microphone is never used."),
        QStringLiteral("liveTranslation.privacyNotice"));
    m_fallback.row->hide();
    m_dropped.row->hide();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    layout->setSpacing(kSpacing);
    layout->addWidget(m_level);
    layout->addWidget(m_fallback.row);
    layout->addWidget(m_dropped.row);
    layout->addWidget(m_privacy.row);
    layout->addStretch(1);
}

LiveTranslationCaptureStatus::LabelRow LiveTranslationCaptureStatus::makeLabelRow(
    QStringView symbolName, const QString &text, const QString &identifier, QLabel *label)
{
    LabelRow row;
    row.row = new QWidget(this);
    row.row->setObjectName(identifier);
    row.symbol = new LiveTranslationSymbol(symbolName, kSymbolPixelSize, row.row);
    if (label) {
        row.text = label;
        label->setParent(row.row);
    } else {
        row.text = new QLabel(text, row.row);
        row.text->setTextFormat(Qt::PlainText);
        row.text->setWordWrap(true);
    }
    row.text->setFont(systemFont(kCaptionPixelSize));
    row.text->setTextInteractionFlags(Qt::NoTextInteraction);
    auto *layout = new QHBoxLayout(row.row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(kLabelSpacing);
    // Leading even when the row has no text.
    layout->addWidget(row.symbol, 0, Qt::AlignTop | Qt::AlignLeading);
    layout->addWidget(row.text, 1);
    return row;
}

void LiveTranslationCaptureStatus::colorRow(const LabelRow &row, const QColor &color)
{
    row.symbol->setColor(color);
    setTextColor(row.text, color);
}

int LiveTranslationCaptureStatus::barValue(float level)
{
    if (!(level > 0.0F))
        return 0; // also NaN
    if (level >= 1.0F)
        return kBarSteps;
    return int(std::lround(double(level) * kBarSteps));
}

bool LiveTranslationCaptureStatus::showsFallbackNotice() const
{
    return !m_fallback.row->isHidden();
}

bool LiveTranslationCaptureStatus::showsDroppedBuffers() const
{
    return !m_dropped.row->isHidden();
}

void LiveTranslationCaptureStatus::render(
    const LiveTranslationHelperSnapshot &snapshot, const LiveTranslationPalette &palette)
{
    if (m_shownPalette != palette) {
        m_shownPalette = palette;
        colorRow(m_fallback, palette.warning);
        colorRow(m_dropped, palette.warning);
        colorRow(m_privacy, palette.tertiaryText);
        // The toolkit's bar, in the panel's tint, its track in the scheme's colours.
        QPalette colors = m_level->palette();
        for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            colors.setColor(group, QPalette::Highlight, palette.accent);
            colors.setColor(group, QPalette::Base, palette.border);
            colors.setColor(group, QPalette::Window, palette.surface);
        }
        m_level->setPalette(colors);
    }

    const float level = snapshot.captureAudioLevel;
    const bool sameLevel = m_shownLevel
        && (*m_shownLevel == level || (std::isnan(*m_shownLevel) && std::isnan(level)));
    if (!sameLevel) {
        m_shownLevel = level;
        m_level->setValue(barValue(level));
        setAccessibleValueText(m_level, tr("%1 percent").arg(qint64(capturePercent(level))));
    }

    if (m_shownNotice != snapshot.captureFallbackNotice) {
        m_shownNotice = snapshot.captureFallbackNotice;
        const auto &notice = snapshot.captureFallbackNotice;
        m_notice->setNotice(notice ? QString::fromStdString(*notice) : QString());
        // An empty notice is still a notice: the row shows with its symbol alone.
        m_fallback.text->setVisible(notice && !notice->empty());
        m_fallback.row->setVisible(notice.has_value());
    }

    const bool dropped = snapshot.droppedCaptureBuffers >= 1;
    if (m_shownDropped != dropped) {
        m_shownDropped = dropped;
        m_dropped.row->setVisible(dropped);
    }
}
