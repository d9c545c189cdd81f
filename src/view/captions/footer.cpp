#include "footer.hpp"

#include <QCheckBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>

#include "captions/logic.hpp"
#include "captions/toggle.hpp"
#include "common/button_styles.hpp"
#include "common/footer_area.hpp"
#include "common/view_support.hpp"
#include "model.hpp"

namespace {
constexpr int kSpacing = 8;
constexpr int kTogglePixelSize = 12;
// The note is 9.5 high; fonts take whole pixels.
constexpr int kNotePixelSize = 10;

QFont noteFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(kNotePixelSize);
    font.setWeight(QFont::Medium);
    return font;
}
} // namespace

LiveTranslationCaptionsFooter::LiveTranslationCaptionsFooter(
    LiveTranslationHelperModel *model, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
    , m_toggle(new LiveTranslationSourceToggle(tr("Original"), this))
    , m_note(new QLabel(this))
    , m_copyLatest(new TavuButton(tr("Copy latest"), this))
    , m_copyAll(new TavuButton(tr("Copy all"), this))
{
    setObjectName(QStringLiteral("liveTranslation.captionsFooter"));
    m_toggle->setObjectName(QStringLiteral("liveTranslation.showSourceToggle"));
    m_toggle->setFont(systemFont(kTogglePixelSize, QFont::Medium));
    m_toggle->setChecked(m_showsSource);
    m_note->setObjectName(QStringLiteral("liveTranslation.showSourceNote"));
    m_note->setTextFormat(Qt::PlainText);
    m_note->setWordWrap(true);
    m_note->setFont(noteFont());
    m_note->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_copyLatest->setObjectName(QStringLiteral("liveTranslation.copyLatestButton"));
    m_copyAll->setObjectName(QStringLiteral("liveTranslation.copyAllButton"));

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(
        LiveTranslationFooter::kHorizontalPadding, 0, LiveTranslationFooter::kHorizontalPadding, 0);
    row->setSpacing(kSpacing);
    // The box, not its focus ring's room, sits on the footer's leading edge.
    addWidgetWithLeadingOverhang(
        row, m_toggle, LiveTranslationSourceToggle::kRingOutset, 0, Qt::AlignVCenter);
    row->addWidget(m_note, 1, Qt::AlignVCenter);
    row->addWidget(m_copyLatest, 0, Qt::AlignVCenter);
    row->addWidget(m_copyAll, 0, Qt::AlignVCenter);

    // Mouse, keyboard and assistive technology all change the state through toggled(); the
    // render pass sets it with signals blocked, so only the user's changes arrive here.
    connect(
        m_toggle, &QCheckBox::toggled, this, &LiveTranslationCaptionsFooter::sendShowsSourceText);
    connect(m_copyLatest, &QPushButton::clicked, this, &LiveTranslationCaptionsFooter::copyLatest);
    connect(m_copyAll, &QPushButton::clicked, this, &LiveTranslationCaptionsFooter::copyAll);
    render(m_model->snapshot(), LiveTranslationPalette::light());
}

void LiveTranslationCaptionsFooter::render(
    const LiveTranslationHelperSnapshot &snapshot, const LiveTranslationPalette &palette)
{
    m_showsSource = snapshot.showsSourceText;
    if (m_toggle->isChecked() != m_showsSource) {
        const QSignalBlocker blocker(m_toggle);
        m_toggle->setChecked(m_showsSource);
    }
    const QString note = m_showsSource
        ? tr("Original and translation remain paired to the same revision.")
        : tr("Showing translations only. Originals remain available when re-enabled.");
    if (m_note->text() != note)
        m_note->setText(note);
    m_toggle->setColors(palette);
    setTextColor(m_note, palette.tertiaryText);

    const TavuSecondaryButtonStyle style {palette};
    m_copyLatest->setButtonStyle(style);
    m_copyAll->setButtonStyle(style);
    m_copyLatest->setEnabled(canCopyLatestCaption(snapshot));
    m_copyAll->setEnabled(canCopyAllCaptions(snapshot));
}

void LiveTranslationCaptionsFooter::sendShowsSourceText(bool shows)
{
    m_model->sendCommand(LiveTranslationHelperCommand::setShowsSourceText(shows));
    // What shows is the host's answer, not the click: back to the snapshot's value until then.
    const QSignalBlocker blocker(m_toggle);
    m_toggle->setChecked(m_showsSource);
}

void LiveTranslationCaptionsFooter::copyLatest()
{
    if (const auto text = latestCaptionToCopy(m_model->snapshot()))
        writeCaptionsToClipboard(*text);
}

void LiveTranslationCaptionsFooter::copyAll()
{
    if (const auto text = allCaptionsToCopy(m_model->snapshot()))
        writeCaptionsToClipboard(*text);
}
