#include "top_bar.hpp"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <QtMath>

#include "common/accessibility.hpp"
#include "common/button_styles.hpp"
#include "common/view_logic.hpp"
#include "common/view_support.hpp"
#include "face/capsule_button.hpp"
#include "face/plain_button.hpp"
#include "face/status_dot.hpp"
#include "face/status_text.hpp"

namespace {

void setShown(QWidget *widget, bool shown)
{
    if (widget->isHidden() == shown)
        widget->setVisible(shown);
}

void setEnabledIfChanged(QWidget *widget, bool enabled)
{
    if (widget->isEnabled() != enabled)
        widget->setEnabled(enabled);
}

void setToolTipIfChanged(QWidget *widget, const QString &tip)
{
    if (widget->toolTip() != tip)
        widget->setToolTip(tip);
}

void setAccessibleNameIfChanged(QWidget *widget, const QString &name)
{
    if (widget->accessibleName() != name)
        widget->setAccessibleName(name);
}

void setTextIfChanged(QAbstractButton *button, const QString &text)
{
    if (button->text() != text)
        button->setText(text);
}

} // namespace

LiveTranslationTopBar::LiveTranslationTopBar(QWidget *parent)
    : QWidget(parent)
    , m_title(new QLabel(this))
    , m_dot(new LiveTranslationStatusDot(this))
    , m_status(new LiveTranslationStatusText(this))
    , m_pairButton(new LiveTranslationCapsuleButton(QFont::DemiBold, this))
    , m_audioButton(new LiveTranslationCapsuleButton(QFont::Medium, this))
    , m_cancelButton(new LiveTranslationPlainButton(this))
    , m_stopButton(new TavuButton({}, this))
    , m_startButton(new TavuButton({}, this))
    , m_closeButton(new LiveTranslationPlainButton(this))
{
    setObjectName(QStringLiteral("liveTranslation.topBar"));
    m_title->setTextFormat(Qt::PlainText);
    m_title->setFont(systemFont(kTitlePixelSize, QFont::DemiBold));

    // The dot's widget leaves room for its shadow: the dot itself sits on the title's leading
    // edge, and the visible gap to the text stays 6.
    const int shadow = qCeil(LiveTranslationStatusDot::kShadowRadius);
    auto *statusRow = new QHBoxLayout;
    statusRow->setContentsMargins(0, 0, 0, 0);
    statusRow->setSpacing(kStatusSpacing - shadow);
    addWidgetWithLeadingOverhang(statusRow, m_dot, shadow, 0, Qt::AlignVCenter);
    statusRow->addWidget(m_status, 1, Qt::AlignVCenter);

    auto *titleBlock = new QVBoxLayout;
    titleBlock->setSpacing(kTitleSpacing);
    titleBlock->addWidget(m_title, 0, Qt::AlignLeft);
    titleBlock->addLayout(statusRow);

    setAccessibleIdentity(m_status, QStringLiteral("liveTranslation.lifecycleStatus"));
    setAccessibleIdentity(m_pairButton, QStringLiteral("liveTranslation.languagePair"));
    setAccessibleIdentity(m_audioButton, QStringLiteral("liveTranslation.audioSourcePicker"));
    setAccessibleIdentity(m_cancelButton, QStringLiteral("liveTranslation.cancelButton"));
    setAccessibleIdentity(m_stopButton, QStringLiteral("liveTranslation.stopButton"));
    setAccessibleIdentity(m_startButton, QStringLiteral("liveTranslation.startButton"));
    setAccessibleIdentity(m_closeButton, QStringLiteral("liveTranslation.hideButton"));
    m_audioButton->setLeadingSymbol(u"speaker.wave.2");
    // Language ids are short; the audio title and the status give way first.
    m_pairButton->setMinimumTitleWidth(LiveTranslationCapsuleButton::kMaxTitleWidth);
    m_closeButton->setSymbol(
        u"xmark", kClosePixelSize, QFont::DemiBold, QSize(kCloseFrame, kCloseFrame));

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(
        kHorizontalPadding, kVerticalPadding, kHorizontalPadding, kVerticalPadding);
    row->setSpacing(kSpacing);
    // The title block, not the spacer, takes the free width, so the status can use it.
    row->addLayout(titleBlock, 1);
    row->addSpacerItem(
        new QSpacerItem(kMinSpacerLength, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));
    for (QWidget *control : std::initializer_list<QWidget *> {m_pairButton, m_audioButton,
             m_cancelButton, m_stopButton, m_startButton, m_closeButton})
        row->addWidget(control, 0, Qt::AlignVCenter);

    connect(m_startButton, &QAbstractButton::clicked, this, &LiveTranslationTopBar::startPressed);
    connect(m_stopButton, &QAbstractButton::clicked, this, &LiveTranslationTopBar::stopPressed);
    connect(m_cancelButton, &QAbstractButton::clicked, this, &LiveTranslationTopBar::cancelPressed);
    connect(m_closeButton, &QAbstractButton::clicked, this, &LiveTranslationTopBar::closePressed);
    connect(
        m_pairButton, &QAbstractButton::clicked, this, &LiveTranslationTopBar::languagePairPressed);
    connect(
        m_audioButton, &QAbstractButton::clicked, this, &LiveTranslationTopBar::audioSourcePressed);

    retranslate();
}

QAbstractButton *LiveTranslationTopBar::languagePairButton() const
{
    return m_pairButton;
}

QAbstractButton *LiveTranslationTopBar::audioSourceButton() const
{
    return m_audioButton;
}

LiveTranslationTopBar::Inputs LiveTranslationTopBar::inputsFor(
    const LiveTranslationHelperSnapshot &snapshot, const LiveTranslationPalette &palette)
{
    return {
        .palette = palette,
        .statusColor = statusColor(snapshot, palette),
        .statusMessage = fromWire(snapshot.statusMessage),
        .hasFailure = snapshot.hasFailure,
        .pairLabel = languagePairLabel(snapshot),
        .audioTitle = audioSourceTitle(snapshot),
        .isSessionActive = snapshot.isSessionActive,
        .isStopEnabled = snapshot.lifecycle != LiveTranslationHelperLifecycle::stopping,
        .isStartEnabled = snapshot.isStartEnabled,
        .canRequestMoreTime = snapshot.canRequestMoreTime,
    };
}

void LiveTranslationTopBar::render(
    const LiveTranslationHelperSnapshot &snapshot, const LiveTranslationPalette &palette)
{
    Inputs inputs = inputsFor(snapshot, palette);
    if (m_shown == inputs)
        return;
    display(inputs);
    m_shown = std::move(inputs);
}

void LiveTranslationTopBar::display(const Inputs &in)
{
    const LiveTranslationPalette &p = in.palette;
    setTextColor(m_title, p.foreground);

    m_dot->setColor(in.statusColor);
    m_status->setText(in.statusMessage);
    m_status->setColor(in.hasFailure ? p.warning : p.secondaryText);

    const LiveTranslationCapsuleButton::Colors capsule {
        p.secondaryText, p.mutedSurface, p.border, p.focusRingOn(p.mutedSurface)};
    m_pairButton->setTitle(in.pairLabel);
    m_pairButton->setColors(capsule);
    setAccessibleValueText(m_pairButton, in.pairLabel);
    m_audioButton->setTitle(in.audioTitle);
    m_audioButton->setColors(capsule);
    setAccessibleValueText(m_audioButton, in.audioTitle);

    // Only the session decides between Start and Cancel plus Stop. What comes is shown before
    // what goes is hidden, so that the focus can move to it first.
    const bool stopUsable = in.isSessionActive && in.isStopEnabled;
    const bool startUsable = !in.isSessionActive && in.isStartEnabled;
    if (in.isSessionActive) {
        setShown(m_cancelButton, true);
        setShown(m_stopButton, true);
    } else {
        setShown(m_startButton, true);
    }
    if (stopUsable)
        setEnabledIfChanged(m_stopButton, true);
    if (startUsable)
        setEnabledIfChanged(m_startButton, true);
    keepFocus({.audio = !in.isSessionActive,
        .cancel = in.isSessionActive,
        .stop = stopUsable,
        .start = startUsable});
    setEnabledIfChanged(m_audioButton, !in.isSessionActive);
    setShown(m_cancelButton, in.isSessionActive);
    setShown(m_stopButton, in.isSessionActive);
    setShown(m_startButton, !in.isSessionActive);
    setEnabledIfChanged(m_stopButton, in.isStopEnabled);
    setEnabledIfChanged(m_startButton, in.isStartEnabled);
    m_cancelButton->setColor(p.tertiaryText, p.focusRingOn(p.background));
    m_stopButton->setButtonStyle(TavuPrimaryButtonStyle {p});
    m_startButton->setButtonStyle(TavuPrimaryButtonStyle {p});
    setTextIfChanged(m_startButton, in.canRequestMoreTime ? tr("Try again") : tr("Start"));
    setAccessibleNameIfChanged(m_startButton,
        in.canRequestMoreTime ? tr("Try Live Translate again") : tr("Start Live Translate"));

    m_closeButton->setColor(p.tertiaryText, p.focusRingOn(p.background));
    setToolTipIfChanged(m_closeButton,
        in.isSessionActive ? tr("Stop translation and close") : tr("Close Live Translate"));
}

// A control that goes away or turns off would hand the focus to its neighbour, which does
// something else (after Start, Close would stop the session and close the panel). The focus goes
// to the control that takes its place instead, or to the language pair, which only opens a picker.
void LiveTranslationTopBar::keepFocus(const Usable &usable)
{
    QWidget *focused = focusWidget();
    if (!focused || !focused->hasFocus())
        return;
    const bool stays = (focused == m_audioButton && usable.audio)
        || (focused == m_cancelButton && usable.cancel) || (focused == m_stopButton && usable.stop)
        || (focused == m_startButton && usable.start);
    if (stays
        || (focused != m_audioButton && focused != m_cancelButton && focused != m_stopButton
            && focused != m_startButton))
        return;
    QWidget *next = m_pairButton;
    if ((focused == m_startButton || focused == m_cancelButton) && usable.stop)
        next = m_stopButton;
    else if (focused != m_audioButton && usable.start)
        next = m_startButton;
    next->setFocus(Qt::OtherFocusReason);
}

void LiveTranslationTopBar::retranslate()
{
    m_title->setText(tr("Live Translate"));
    setAccessibleNameIfChanged(m_status, tr("Live Translation status"));
    setAccessibleNameIfChanged(m_pairButton, tr("Languages"));
    setAccessibleNameIfChanged(m_audioButton, tr("Audio source"));
    m_cancelButton->setLabel(tr("Cancel"), systemFont(kCancelPixelSize, QFont::Medium));
    setAccessibleNameIfChanged(m_cancelButton, tr("Cancel"));
    setTextIfChanged(m_stopButton, tr("Stop"));
    setAccessibleNameIfChanged(m_closeButton, tr("Close Live Translate"));
    if (m_shown)
        display(*m_shown);
}

void LiveTranslationTopBar::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}
